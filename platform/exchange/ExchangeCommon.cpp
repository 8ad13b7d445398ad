// Shared helpers of the exchange: column letters, UTF-8, zip archives with limits, XML parsing
// and writing, XML documents for the grid's XML import.
#include <libxml/xmlerror.h>

#include <charconv>
#include <cmath>
#include <cstring>

#include "platform/exchange/Exchange_p.h"
#include "platform/rtl/SysUtils.h"

namespace exchange {

using namespace detail;

String ColumnLetters(int Col) {
  String s;
  for (int n = Col; n > 0; n = (n - 1) / 26) s.insert(s.begin(), static_cast<Char>(u'A' + (n - 1) % 26));
  return s;
}

int LettersToColumn(const String& Letters) {
  if (Letters.empty() || Letters.size() > 3) return 0;
  int n = 0;
  for (Char c : Letters) {
    if (c >= u'a' && c <= u'z') c = static_cast<Char>(c - 32);
    if (c < u'A' || c > u'Z') return 0;
    n = n * 26 + (c - u'A' + 1);
  }
  return n <= 16384 ? n : 0;
}

bool IsXmlChar(char32_t C) {
  return C == 9 || C == 10 || C == 13 || (C >= 0x20 && C <= 0xD7FF) || (C >= 0xE000 && C <= 0xFFFD) ||
         (C >= 0x10000 && C <= 0x10FFFF);
}

bool IsXmlName(const String& Name) {
  if (Name.empty()) return false;
  auto letter = [](Char c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_' || (c >= 0xC0 && c != 0xD7 && c != 0xF7 && (c < 0xD800 || c > 0xDFFF) && c < 0xFFFE); };
  if (!letter(Name[0])) return false;
  for (Char c : Name)
    if (!letter(c) && !(c >= u'0' && c <= u'9') && c != u'-' && c != u'.' && c != 0xB7) return false;
  return true;
}

String TXmlNode::Text() const {
  if (IsText) return Value;
  String s;
  for (const TXmlNode& c : Children) s += c.Text();
  return s;
}

namespace {

bool Blank(std::string_view s) {
  for (char c : s)
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return false;
  return true;
}

void Convert(xmlNode* Src, TXmlNode& Dst) {
  Dst.Name = FromUtf8(reinterpret_cast<const char*>(Src->name));
  for (xmlAttr* a = Src->properties; a; a = a->next) {
    xmlChar* v = xmlNodeListGetString(Src->doc, a->children, 1);
    String name = FromUtf8(reinterpret_cast<const char*>(a->name));
    if (a->ns && a->ns->prefix) name = FromUtf8(reinterpret_cast<const char*>(a->ns->prefix)) + u":" + name;
    Dst.Attributes.emplace_back(name, FromUtf8(v ? reinterpret_cast<const char*>(v) : ""));
    xmlFree(v);
  }
  for (xmlNode* c = Src->children; c; c = c->next) {
    if (c->type == XML_ELEMENT_NODE) {
      Dst.Children.emplace_back();
      Convert(c, Dst.Children.back());
    } else if (c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE) {
      std::string_view t = c->content ? reinterpret_cast<const char*>(c->content) : "";
      if (Blank(t)) continue;
      // Neighbouring text and CDATA pieces make one text node.
      if (!Dst.Children.empty() && Dst.Children.back().IsText) {
        Dst.Children.back().Value += FromUtf8(t);
        continue;
      }
      TXmlNode n;
      n.IsText = true;
      n.Value = FromUtf8(t);
      Dst.Children.push_back(std::move(n));
    }
  }
}

}  // namespace

TXmlNode LoadXmlDocument(const String& FileName) {
  if (!FileExists(FileName)) throw EExchangeError(u"XML file not found: " + FileName);
  std::string bytes;
  try {
    bytes = ReadFileBytes(FileName, int64_t(1) << 30);
  } catch (const Exception& e) {
    throw EExchangeError(u"Cannot read XML file " + FileName + u": " + e.Message());
  }
  xmlParserCtxt* ctxt = xmlNewParserCtxt();
  if (!ctxt) throw EExchangeError(u"Cannot read XML file " + FileName + u": out of memory");
  const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
  xmlDoc* doc = xmlCtxtReadMemory(ctxt, bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr, options);
  int code = ctxt->lastError.code, line = ctxt->lastError.line;
  xmlFreeParserCtxt(ctxt);
  TXmlDocPtr owner(doc);
  if (!doc || !xmlDocGetRootElement(doc)) {
    if (code == 0) code = XML_ERR_DOCUMENT_EMPTY;
    throw EXmlParseError(u"XMLDOM Parsing error " + IntToStr(code) + u" on line " + IntToStr(line) + u" (" + FileName + u")",
                         code, line);
  }
  TXmlNode root;
  Convert(xmlDocGetRootElement(doc), root);
  return root;
}

namespace detail {

std::string Utf8(const String& S) { return StringToUTF8(S); }
String FromUtf8(std::string_view S) { return UTF8ToString(S); }

std::string LowerExt(const String& FileName) {
  std::string e = Utf8(ExtractFileExt(FileName));
  for (char& c : e) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return e;
}

void Fail(const String& What, const String& FileName, const std::string& Reason) {
  throw EExchangeError(What + u" " + FileName + (Reason.empty() ? String() : u": " + FromUtf8(Reason)));
}

std::string XmlText(std::string_view s) {
  std::string out;
  out.reserve(s.size() + 8);
  for (size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    size_t len = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
    if (i + len > s.size()) break;
    char32_t cp = c;
    if (len == 2) cp = ((c & 0x1F) << 6) | (s[i + 1] & 0x3F);
    if (len == 3) cp = ((c & 0x0F) << 12) | ((s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F);
    if (len == 4) cp = ((c & 0x07) << 18) | ((s[i + 1] & 0x3F) << 12) | ((s[i + 2] & 0x3F) << 6) | (s[i + 3] & 0x3F);
    if (IsXmlChar(cp)) {
      switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out.append(s.substr(i, len));
      }
    }
    i += len;
  }
  return out;
}

std::string XmlText(const String& S) { return XmlText(std::string_view(Utf8(S))); }

// ---- zip

TZipArchive::TZipArchive(const String& FileName, TMode Mode, const String& What) : FFileName(FileName), FWhat(What) {
  int flags = Mode == zmRead ? ZIP_RDONLY : Mode == zmCreate ? ZIP_CREATE | ZIP_TRUNCATE : 0;
  if (Mode != zmCreate && !FileExists(FileName)) Fail("the file does not exist");
  int err = 0;
  FZip = zip_open(Utf8(FileName).c_str(), flags, &err);
  if (!FZip) {
    zip_error_t e;
    zip_error_init_with_code(&e, err);
    std::string why = zip_error_strerror(&e);
    zip_error_fini(&e);
    Fail(why);
  }
}

TZipArchive::~TZipArchive() {
  if (FZip) zip_discard(FZip);
}

void TZipArchive::Fail(const std::string& Reason) { detail::Fail(FWhat, FFileName, Reason); }

bool TZipArchive::Has(const std::string& Name) { return zip_name_locate(FZip, Name.c_str(), 0) >= 0; }

std::string TZipArchive::Read(const std::string& Name) {
  constexpr zip_uint64_t kMaxEntry = zip_uint64_t(256) << 20, kRatioFrom = zip_uint64_t(1) << 20, kMaxRatio = 200;
  zip_stat_t st;
  zip_stat_init(&st);
  if (zip_stat(FZip, Name.c_str(), 0, &st) != 0) Fail(Name + " is missing");
  if (!(st.valid & ZIP_STAT_SIZE) || st.size > kMaxEntry) Fail(Name + " is too large");
  if ((st.valid & ZIP_STAT_COMP_SIZE) && st.size > kRatioFrom && st.size / std::max<zip_uint64_t>(1, st.comp_size) > kMaxRatio)
    Fail(Name + " is packed beyond any real document");
  zip_file_t* f = zip_fopen(FZip, Name.c_str(), 0);
  if (!f) Fail(Name + ": " + zip_strerror(FZip));
  std::string data(static_cast<size_t>(st.size), '\0');
  zip_int64_t got = data.empty() ? 0 : zip_fread(f, data.data(), data.size());
  char extra;
  bool more = zip_fread(f, &extra, 1) > 0;
  std::string why = got < 0 ? zip_file_strerror(f) : std::string();
  zip_fclose(f);
  if (got < 0 || static_cast<zip_uint64_t>(got) != st.size || more) Fail(Name + " is damaged" + (why.empty() ? "" : ": " + why));
  return data;
}

void TZipArchive::Put(const std::string& Name, std::string Data, bool Store) {
  FBuffers.push_back(std::move(Data));
  const std::string& b = FBuffers.back();
  zip_source_t* src = zip_source_buffer(FZip, b.data(), b.size(), 0);
  if (!src) Fail(zip_strerror(FZip));
  zip_int64_t idx = zip_file_add(FZip, Name.c_str(), src, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
  if (idx < 0) {
    zip_source_free(src);
    Fail(zip_strerror(FZip));
  }
  zip_set_file_compression(FZip, static_cast<zip_uint64_t>(idx), Store ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0);
}

void TZipArchive::Commit() {
  if (zip_close(FZip) != 0) {
    std::string why = zip_strerror(FZip);
    Fail("cannot be written: " + why);
  }
  FZip = nullptr;
  FBuffers.clear();
}

void WriteOdfPackage(const String& FileName, const std::string& MimeType, const std::string& Content, const String& What) {
  std::string manifest =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<manifest:manifest "
      "xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\" manifest:version=\"1.2\">"
      "<manifest:file-entry manifest:full-path=\"/\" manifest:version=\"1.2\" manifest:media-type=\"" + MimeType + "\"/>"
      "<manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/></manifest:manifest>";
  TZipArchive zip(FileName, TZipArchive::zmCreate, What);
  zip.Put("mimetype", MimeType, true);
  zip.Put("META-INF/manifest.xml", manifest);
  zip.Put("content.xml", Content);
  zip.Commit();
}

// ---- XML

TXmlDocPtr ParseXml(const std::string& Bytes, const String& What, const String& FileName, const std::string& Part) {
  const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
  xmlDoc* d = xmlReadMemory(Bytes.data(), static_cast<int>(Bytes.size()), nullptr, nullptr, options);
  if (!d || !xmlDocGetRootElement(d)) {
    if (d) xmlFreeDoc(d);
    detail::Fail(What, FileName, Part + " is damaged");
  }
  return TXmlDocPtr(d);
}

std::string SerializeXml(xmlDoc* Doc) {
  xmlChar* mem = nullptr;
  int size = 0;
  xmlDocDumpMemoryEnc(Doc, &mem, &size, "UTF-8");
  std::string s(reinterpret_cast<const char*>(mem), static_cast<size_t>(size));
  xmlFree(mem);
  return s;
}

std::string Attr(xmlNode* N, const char* LocalName) {
  for (xmlAttr* a = N->properties; a; a = a->next) {
    if (std::strcmp(reinterpret_cast<const char*>(a->name), LocalName) != 0) continue;
    xmlChar* v = xmlNodeListGetString(N->doc, a->children, 1);
    std::string s = v ? reinterpret_cast<const char*>(v) : "";
    xmlFree(v);
    return s;
  }
  return {};
}

bool HasAttr(xmlNode* N, const char* LocalName) {
  for (xmlAttr* a = N->properties; a; a = a->next)
    if (std::strcmp(reinterpret_cast<const char*>(a->name), LocalName) == 0) return true;
  return false;
}

bool IsElement(xmlNode* N, const char* LocalName) {
  return N && N->type == XML_ELEMENT_NODE && std::strcmp(reinterpret_cast<const char*>(N->name), LocalName) == 0;
}

xmlNode* Child(xmlNode* Parent, const char* LocalName) {
  for (xmlNode* c = Parent ? Parent->children : nullptr; c; c = c->next)
    if (IsElement(c, LocalName)) return c;
  return nullptr;
}

xmlNode* Descendant(xmlNode* Parent, const char* LocalName) {
  for (xmlNode* c = Parent ? Parent->children : nullptr; c; c = c->next) {
    if (IsElement(c, LocalName)) return c;
    if (xmlNode* d = Descendant(c, LocalName)) return d;
  }
  return nullptr;
}

std::string NodeText(xmlNode* N) {
  std::string s;
  for (xmlNode* c = N ? N->children : nullptr; c; c = c->next) {
    if (c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE) {
      if (c->content) s += reinterpret_cast<const char*>(c->content);
    } else if (c->type == XML_ELEMENT_NODE) {
      s += NodeText(c);
    }
  }
  return s;
}

void InsertFragment(xmlDoc* Doc, xmlNode* Parent, xmlNode* After, xmlNode* Before, const std::string& Namespaces,
                    const std::string& Fragment, const String& What, const String& FileName) {
  std::string text = "<wrap" + Namespaces + ">" + Fragment + "</wrap>";
  TXmlDocPtr frag = ParseXml(text, What, FileName, "the new content");
  xmlNode* at = After;
  for (xmlNode* c = xmlDocGetRootElement(frag.get())->children; c; c = c->next) {
    if (c->type != XML_ELEMENT_NODE) continue;
    xmlNode* copy = xmlDocCopyNode(c, Doc, 1);
    if (!copy) detail::Fail(What, FileName, "out of memory");
    if (at) at = xmlAddNextSibling(at, copy);
    else if (Before) xmlAddPrevSibling(Before, copy);
    else xmlAddChild(Parent, copy);
    xmlReconciliateNs(Doc, copy);
  }
}

std::string NumberText(double V) {
  char buf[64];
  if (std::isfinite(V) && V == std::trunc(V) && std::fabs(V) < 1e15) {
    auto r = std::to_chars(buf, buf + sizeof buf, static_cast<long long>(V));
    return std::string(buf, r.ptr);
  }
  auto r = std::to_chars(buf, buf + sizeof buf, V, std::chars_format::general, 15);
  return std::string(buf, r.ptr);
}

bool PlainNumber(const String& S, double& V) {
  size_t i = 0, n = S.size();
  if (n == 0 || n > 24) return false;
  if (S[0] == u'-') ++i;
  size_t digits = i;
  while (i < n && S[i] >= u'0' && S[i] <= u'9') ++i;
  size_t intLen = i - digits;
  if (intLen == 0 || (intLen > 1 && S[digits] == u'0')) return false;
  if (i < n && S[i] == u'.') {
    size_t f = ++i;
    while (i < n && S[i] >= u'0' && S[i] <= u'9') ++i;
    if (i == f || S[i - 1] == u'0') return false;  // "1." and "1.50" would not come back the same
  }
  if (i < n && (S[i] == u'E' || S[i] == u'e')) return false;
  if (i != n || intLen > 15) return false;
  std::string a = Utf8(S);
  auto r = std::from_chars(a.data(), a.data() + a.size(), V);
  return r.ec == std::errc() && r.ptr == a.data() + a.size() && NumberText(V) == a;
}

}  // namespace detail
}  // namespace exchange
