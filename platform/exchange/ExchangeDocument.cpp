// Documents: the grid as a table in a .docx (WordprocessingML) or .odt (OpenDocument text),
// written new or added to an existing one with libzip and libxml2.
#include <algorithm>
#include <functional>
#include <set>

#include "platform/exchange/Exchange_p.h"
#include "platform/rtl/SysUtils.h"

namespace exchange {

using namespace detail;

namespace {

const String kWrite = u"Cannot write document", kAppend = u"Cannot add to document";
const char* const kWNs = " xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"";
const char* const kOdtNs =
    " xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
    " xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\""
    " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\""
    " xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\""
    " xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\"";

bool IsOdt(const String& FileName, const String& What) {
  std::string e = LowerExt(FileName);
  if (e == ".odt") return true;
  if (e == ".docx") return false;
  Fail(What, FileName, "not a document (.docx or .odt)");
}

// The lines of a cell text (CR LF, CR or LF end a line).
std::vector<std::string> Lines(const String& S) {
  std::vector<std::string> out;
  String cur;
  for (size_t i = 0; i < S.size(); ++i) {
    if (S[i] == u'\r' || S[i] == u'\n') {
      out.push_back(Utf8(cur));
      cur.clear();
      if (S[i] == u'\r' && i + 1 < S.size() && S[i + 1] == u'\n') ++i;
    } else {
      cur += S[i];
    }
  }
  out.push_back(Utf8(cur));
  return out;
}

size_t ColumnCount(const TDocTable& T) {
  size_t n = 1;
  for (const auto& r : T.Rows) n = std::max(n, r.size());
  return n;
}

// ---- .docx

std::string DocxRuns(const String& Text) {
  std::string x = "<w:r>";
  std::vector<std::string> lines = Lines(Text);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) x += "<w:br/>";
    x += "<w:t xml:space=\"preserve\">" + XmlText(std::string_view(lines[i])) + "</w:t>";
  }
  return x + "</w:r>";
}

std::string DocxContent(const TDocTable& T) {
  const size_t cols = ColumnCount(T);
  const int width = static_cast<int>(9000 / cols);
  std::string x = "<w:p>" + DocxRuns(T.Caption) + "</w:p><w:tbl><w:tblPr><w:tblW w:w=\"0\" w:type=\"auto\"/><w:tblBorders>";
  for (const char* side : {"top", "left", "bottom", "right", "insideH", "insideV"})
    x += std::string("<w:") + side + " w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"000000\"/>";
  x += "</w:tblBorders></w:tblPr><w:tblGrid>";
  for (size_t c = 0; c < cols; ++c) x += "<w:gridCol w:w=\"" + std::to_string(width) + "\"/>";
  x += "</w:tblGrid>";
  for (const auto& row : T.Rows) {
    x += "<w:tr>";
    for (size_t c = 0; c < cols; ++c) {
      const TDocCell cell = c < row.size() ? row[c] : TDocCell();
      x += "<w:tc><w:tcPr><w:tcW w:w=\"" + std::to_string(width) + "\" w:type=\"dxa\"/></w:tcPr><w:p>";
      if (cell.Align == TDocAlign::Right) x += "<w:pPr><w:jc w:val=\"right\"/></w:pPr>";
      if (cell.Align == TDocAlign::Center) x += "<w:pPr><w:jc w:val=\"center\"/></w:pPr>";
      x += DocxRuns(cell.Text) + "</w:p></w:tc>";
    }
    x += "</w:tr>";
  }
  // A paragraph after the table keeps it apart from whatever follows.
  return x + "</w:tbl><w:p/>";
}

void WriteDocx(const String& FileName, const TDocTable& T) {
  std::string doc = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<w:document") + kWNs +
                    "><w:body>" + DocxContent(T) +
                    "<w:sectPr><w:pgSz w:w=\"11906\" w:h=\"16838\"/><w:pgMar w:top=\"1440\" w:right=\"1440\" "
                    "w:bottom=\"1440\" w:left=\"1440\" w:header=\"708\" w:footer=\"708\" w:gutter=\"0\"/></w:sectPr>"
                    "</w:body></w:document>";
  TZipArchive zip(FileName, TZipArchive::zmCreate, kWrite);
  zip.Put("[Content_Types].xml",
          "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<Types "
          "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
          "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
          "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
          "<Override PartName=\"/word/document.xml\" "
          "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/></Types>");
  zip.Put("_rels/.rels",
          "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<Relationships "
          "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship Id=\"rId1\" "
          "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
          "Target=\"word/document.xml\"/></Relationships>");
  zip.Put("word/document.xml", doc);
  zip.Commit();
}

// The child of Top that holds N (N itself when it is one), nullptr when N is not below Top.
xmlNode* TopLevel(xmlNode* Top, xmlNode* N) {
  while (N && N->parent != Top) N = N->parent;
  return N;
}

xmlNode* FindNamed(xmlNode* Parent, const char* Local, const char* Local2, const std::string& Name) {
  for (xmlNode* c = Parent->children; c; c = c->next) {
    if ((IsElement(c, Local) || (Local2 && IsElement(c, Local2))) && Attr(c, "name") == Name) return c;
    if (xmlNode* d = FindNamed(c, Local, Local2, Name)) return d;
  }
  return nullptr;
}

// The document part of a .docx, from its package relationships.
std::string DocxMainPart(TZipArchive& Zip, const String& FileName) {
  if (!Zip.Has("_rels/.rels")) return "word/document.xml";
  TXmlDocPtr rels = ParseXml(Zip.Read("_rels/.rels"), kAppend, FileName, "_rels/.rels");
  for (xmlNode* r = xmlDocGetRootElement(rels.get())->children; r; r = r->next)
    if (IsElement(r, "Relationship") && Attr(r, "Type").ends_with("/officeDocument")) {
      std::string t = Attr(r, "Target");
      return !t.empty() && t[0] == '/' ? t.substr(1) : t;
    }
  return "word/document.xml";
}

void AppendDocx(const String& FileName, const String& Bookmark, const TDocTable& T) {
  TZipArchive zip(FileName, TZipArchive::zmChange, kAppend);
  std::string part = DocxMainPart(zip, FileName);
  TXmlDocPtr doc = ParseXml(zip.Read(part), kAppend, FileName, part);
  xmlNode* body = Child(xmlDocGetRootElement(doc.get()), "body");
  if (!body) Fail(kAppend, FileName, part + " has no body");
  xmlNode* after = nullptr;
  xmlNode* before = nullptr;
  if (!Bookmark.empty())
    if (xmlNode* b = FindNamed(body, "bookmarkStart", nullptr, Utf8(Bookmark))) after = TopLevel(body, b);
  if (!after) {
    xmlNode* last = xmlGetLastChild(body);
    while (last && last->type != XML_ELEMENT_NODE) last = last->prev;
    if (IsElement(last, "sectPr")) before = last;
  }
  InsertFragment(doc.get(), body, after, before, kWNs, DocxContent(T), kAppend, FileName);
  zip.Put(part, SerializeXml(doc.get()));
  zip.Commit();
}

// ---- .odt

const char* const kOdtStyles =
    "<style:style style:name=\"GridTableCell\" style:family=\"table-cell\"><style:table-cell-properties "
    "fo:padding=\"0.05cm\" fo:border=\"0.5pt solid #000000\"/></style:style>"
    "<style:style style:name=\"GridTableRight\" style:family=\"paragraph\"><style:paragraph-properties "
    "fo:text-align=\"end\"/></style:style>"
    "<style:style style:name=\"GridTableCenter\" style:family=\"paragraph\"><style:paragraph-properties "
    "fo:text-align=\"center\"/></style:style>";

std::string OdtParagraph(const String& Text, const char* Style) {
  std::string x = Style ? std::string("<text:p text:style-name=\"") + Style + "\">" : "<text:p>";
  std::vector<std::string> lines = Lines(Text);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) x += "<text:line-break/>";
    x += XmlText(std::string_view(lines[i]));
  }
  return x + "</text:p>";
}

std::string OdtContent(const TDocTable& T, const std::string& TableName) {
  const size_t cols = ColumnCount(T);
  std::string x = OdtParagraph(T.Caption, nullptr) + "<table:table table:name=\"" + XmlText(std::string_view(TableName)) +
                  "\"><table:table-column table:number-columns-repeated=\"" + std::to_string(cols) + "\"/>";
  for (const auto& row : T.Rows) {
    x += "<table:table-row>";
    for (size_t c = 0; c < cols; ++c) {
      const TDocCell cell = c < row.size() ? row[c] : TDocCell();
      const char* style = cell.Align == TDocAlign::Right ? "GridTableRight" : cell.Align == TDocAlign::Center ? "GridTableCenter" : nullptr;
      x += "<table:table-cell table:style-name=\"GridTableCell\" office:value-type=\"string\">" + OdtParagraph(cell.Text, style) +
           "</table:table-cell>";
    }
    x += "</table:table-row>";
  }
  return x + "</table:table>";
}

void WriteOdt(const String& FileName, const TDocTable& T) {
  const std::string mime = "application/vnd.oasis.opendocument.text";
  std::string content = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document-content") + kOdtNs +
                        " office:version=\"1.2\"><office:automatic-styles>" + kOdtStyles +
                        "</office:automatic-styles><office:body><office:text>" + OdtContent(T, "Grid1") +
                        "</office:text></office:body></office:document-content>";
  WriteOdfPackage(FileName, mime, content, kWrite);
}

void AppendOdt(const String& FileName, const String& Bookmark, const TDocTable& T) {
  TZipArchive zip(FileName, TZipArchive::zmChange, kAppend);
  TXmlDocPtr doc = ParseXml(zip.Read("content.xml"), kAppend, FileName, "content.xml");
  xmlNode* root = xmlDocGetRootElement(doc.get());
  xmlNode* text = Descendant(Child(root, "body"), "text");
  if (!text) Fail(kAppend, FileName, "not a text document");
  // The table's styles, unless an earlier export added them.
  xmlNode* styles = Child(root, "automatic-styles");
  if (!styles) {
    InsertFragment(doc.get(), root, nullptr, Child(root, "body"), kOdtNs, "<office:automatic-styles/>", kAppend, FileName);
    styles = Child(root, "automatic-styles");
  }
  if (!FindNamed(styles, "style", nullptr, "GridTableCell"))
    InsertFragment(doc.get(), styles, nullptr, nullptr, kOdtNs, kOdtStyles, kAppend, FileName);
  std::set<std::string> names;
  std::function<void(xmlNode*)> collect = [&](xmlNode* n) {
    for (xmlNode* c = n->children; c; c = c->next) {
      if (IsElement(c, "table")) names.insert(Attr(c, "name"));
      if (c->type == XML_ELEMENT_NODE) collect(c);
    }
  };
  collect(text);
  int k = 1;
  while (names.count("Grid" + std::to_string(k))) ++k;
  xmlNode* after = nullptr;
  if (!Bookmark.empty())
    if (xmlNode* b = FindNamed(text, "bookmark", "bookmark-start", Utf8(Bookmark))) after = TopLevel(text, b);
  InsertFragment(doc.get(), text, after, nullptr, kOdtNs, OdtContent(T, "Grid" + std::to_string(k)), kAppend, FileName);
  zip.Put("content.xml", SerializeXml(doc.get()));
  zip.Commit();
}

}  // namespace

void WriteDocument(const String& FileName, const TDocTable& Table) {
  IsOdt(FileName, kWrite) ? WriteOdt(FileName, Table) : WriteDocx(FileName, Table);
}

void AppendToDocument(const String& FileName, const String& Bookmark, const TDocTable& Table) {
  IsOdt(FileName, kAppend) ? AppendOdt(FileName, Bookmark, Table) : AppendDocx(FileName, Bookmark, Table);
}

}  // namespace exchange
