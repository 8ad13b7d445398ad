// Workbooks: .xlsx read through libzip and libxml2's streaming reader, written new with
// libxlsxwriter or changed in place with libzip; .ods read and written with libzip and
// libxml2; .xls read with libfreexl.
#include <freexl.h>
#include <libxml/xmlreader.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <set>

#include "platform/exchange/Exchange_p.h"
#include "platform/rtl/SysUtils.h"

namespace exchange {

using namespace detail;

namespace {

constexpr int kMaxRows = 1048576, kMaxCols = 16384;
constexpr size_t kMaxCells = size_t(16) << 20;
const String kRead = u"Incorrect XLS file", kWrite = u"Cannot write workbook";

const char* const kMainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const char* const kRelNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
const char* const kPkgRelNs = "http://schemas.openxmlformats.org/package/2006/relationships";

enum class TKind : uint8_t { Xlsx, Ods, Xls };

TKind KindOf(const String& FileName, bool Writing) {
  std::string e = LowerExt(FileName);
  if (e == ".xlsx" || e == ".xlsm") return TKind::Xlsx;
  if (e == ".ods") return TKind::Ods;
  if (e == ".xls") {
    if (Writing) Fail(kWrite, FileName, ".xls workbooks are read only; save as .xlsx or .ods");
    return TKind::Xls;
  }
  Fail(Writing ? kWrite : kRead, FileName, "not a workbook (.xlsx, .ods or .xls)");
}

// Collects the cells of one sheet, with the range they fill and the limits on their number.
struct TCollector {
  TSheetData Data;
  String FileName;
  void Add(int Row, int Col, String Text) {
    if (Text.empty()) return;
    if (Row < 1 || Col < 1 || Row > kMaxRows || Col > kMaxCols) Fail(kRead, FileName, "a cell lies outside the sheet");
    if (Data.Cells.size() >= kMaxCells) Fail(kRead, FileName, "too many cells");
    if (Data.Cells.empty()) {
      Data.Row1 = Data.Row2 = Row;
      Data.Col1 = Data.Col2 = Col;
    } else {
      Data.Row1 = std::min(Data.Row1, Row), Data.Row2 = std::max(Data.Row2, Row);
      Data.Col1 = std::min(Data.Col1, Col), Data.Col2 = std::max(Data.Col2, Col);
    }
    Data.Cells.push_back({Row, Col, std::move(Text)});
  }
};

struct TReaderFree {
  void operator()(xmlTextReader* R) const { xmlFreeTextReader(R); }
};
using TReaderPtr = std::unique_ptr<xmlTextReader, TReaderFree>;

TReaderPtr OpenReader(const std::string& Bytes, const String& FileName) {
  xmlTextReader* r = xmlReaderForMemory(Bytes.data(), static_cast<int>(Bytes.size()), nullptr, nullptr,
                                        XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  if (!r) Fail(kRead, FileName, "out of memory");
  return TReaderPtr(r);
}

bool LocalIs(xmlTextReader* R, const char* Name) {
  const xmlChar* n = xmlTextReaderConstLocalName(R);
  return n && std::strcmp(reinterpret_cast<const char*>(n), Name) == 0;
}

// Text lines as the grid keeps them (CR LF) from a workbook's LF.
String GridLines(const std::string& Utf8Text) {
  String s = FromUtf8(Utf8Text), out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == u'\r') continue;
    if (s[i] == u'\n') out += u"\r\n";
    else out += s[i];
  }
  return out;
}

std::string WorkbookLines(const String& S) {
  String out;
  out.reserve(S.size());
  for (size_t i = 0; i < S.size(); ++i) {
    if (S[i] == u'\r') {
      out += u'\n';
      if (i + 1 < S.size() && S[i + 1] == u'\n') ++i;
    } else {
      out += S[i];
    }
  }
  return Utf8(out);
}

// ---------------------------------------------------------------- .xlsx reading

struct TXlsxSheet {
  std::string Name, Part;
};

struct TXlsxBook {
  std::vector<TXlsxSheet> Sheets;
  int Active = 0;
};

TXlsxBook ReadXlsxBook(TZipArchive& Zip, const String& FileName) {
  TXmlDocPtr wb = ParseXml(Zip.Read("xl/workbook.xml"), kRead, FileName, "xl/workbook.xml");
  std::map<std::string, std::string> targets;
  if (Zip.Has("xl/_rels/workbook.xml.rels")) {
    TXmlDocPtr rels = ParseXml(Zip.Read("xl/_rels/workbook.xml.rels"), kRead, FileName, "xl/_rels/workbook.xml.rels");
    for (xmlNode* r = xmlDocGetRootElement(rels.get())->children; r; r = r->next)
      if (IsElement(r, "Relationship")) targets[Attr(r, "Id")] = Attr(r, "Target");
  }
  TXlsxBook book;
  xmlNode* root = xmlDocGetRootElement(wb.get());
  if (xmlNode* view = Descendant(Child(root, "bookViews"), "workbookView"))
    book.Active = std::max(0, std::atoi(Attr(view, "activeTab").c_str()));
  for (xmlNode* s = Child(Child(root, "sheets"), "sheet"); s; s = s->next) {
    if (!IsElement(s, "sheet")) continue;
    std::string target = targets[Attr(s, "id")];
    if (!target.empty() && target[0] == '/') target.erase(0, 1);
    else if (!target.empty()) target = "xl/" + target;
    book.Sheets.push_back({Attr(s, "name"), target});
  }
  return book;
}

std::vector<String> ReadSharedStrings(TZipArchive& Zip, const String& FileName) {
  std::vector<String> sst;
  if (!Zip.Has("xl/sharedStrings.xml")) return sst;
  std::string bytes = Zip.Read("xl/sharedStrings.xml");
  TReaderPtr rd = OpenReader(bytes, FileName);
  int ret = xmlTextReaderRead(rd.get());
  while (ret == 1) {
    if (xmlTextReaderNodeType(rd.get()) == XML_READER_TYPE_ELEMENT && LocalIs(rd.get(), "si")) {
      xmlNode* si = xmlTextReaderExpand(rd.get());
      if (!si) Fail(kRead, FileName, "xl/sharedStrings.xml is damaged");
      // The string's text runs, without the phonetic runs (rPh) shown above it.
      std::string text;
      for (xmlNode* c = si->children; c; c = c->next) {
        if (IsElement(c, "t")) text += NodeText(c);
        else if (IsElement(c, "r")) text += NodeText(Child(c, "t"));
      }
      if (sst.size() >= kMaxCells) Fail(kRead, FileName, "too many strings");
      sst.push_back(GridLines(text));
      ret = xmlTextReaderNext(rd.get());
      continue;
    }
    ret = xmlTextReaderRead(rd.get());
  }
  if (ret < 0) Fail(kRead, FileName, "xl/sharedStrings.xml is damaged");
  return sst;
}

// The date formats of the workbook's cell styles: true for each style index showing a date
// or time.
std::vector<bool> ReadDateStyles(TZipArchive& Zip, const String& FileName) {
  std::vector<bool> dates;
  if (!Zip.Has("xl/styles.xml")) return dates;
  TXmlDocPtr st = ParseXml(Zip.Read("xl/styles.xml"), kRead, FileName, "xl/styles.xml");
  xmlNode* root = xmlDocGetRootElement(st.get());
  std::set<int> custom;
  for (xmlNode* f = Child(Child(root, "numFmts"), "numFmt"); f; f = f->next) {
    if (!IsElement(f, "numFmt")) continue;
    std::string code = Attr(f, "formatCode");
    bool inQuote = false, inBracket = false, date = false;
    for (char c : code) {
      if (c == '"') inQuote = !inQuote;
      else if (!inQuote && c == '[') inBracket = true;
      else if (!inQuote && c == ']') inBracket = false;
      else if (!inQuote && !inBracket && std::strchr("dmyhsDMYHS", c)) date = true;
    }
    if (date) custom.insert(std::atoi(Attr(f, "numFmtId").c_str()));
  }
  for (xmlNode* x = Child(Child(root, "cellXfs"), "xf"); x; x = x->next) {
    if (!IsElement(x, "xf")) continue;
    int id = std::atoi(Attr(x, "numFmtId").c_str());
    dates.push_back((id >= 14 && id <= 22) || (id >= 45 && id <= 47) || custom.count(id));
  }
  return dates;
}

String DateText(double Serial) {
  if (!std::isfinite(Serial) || Serial < 0 || Serial > 2958465) return FromUtf8(NumberText(Serial));
  TDateTime dt = Serial;
  if (Serial < 1) return TimeToStr(dt);
  if (Serial == std::floor(Serial)) return DateToStr(dt);
  return DateTimeToStr(dt);
}

// Splits "B12" into column 2 and row 12; false for anything else.
bool ParseRef(const std::string& Ref, int& Col, int& Row) {
  size_t i = 0;
  while (i < Ref.size() && std::isalpha(static_cast<unsigned char>(Ref[i]))) ++i;
  Col = LettersToColumn(FromUtf8(Ref.substr(0, i)));
  if (Col == 0 || i == Ref.size() || Ref.size() - i > 7) return false;
  Row = 0;
  for (size_t j = i; j < Ref.size(); ++j) {
    if (!std::isdigit(static_cast<unsigned char>(Ref[j]))) return false;
    Row = Row * 10 + (Ref[j] - '0');
  }
  return Row >= 1 && Row <= kMaxRows;
}

void ReadXlsxCell(xmlNode* C, int Row, int Col, const std::vector<String>& Sst, const std::vector<bool>& Dates,
                  TCollector& Out) {
  std::string t = Attr(C, "t");
  if (t == "e") return;  // error values are not data
  if (t == "inlineStr") {
    std::string text;
    if (xmlNode* is = Child(C, "is"))
      for (xmlNode* c = is->children; c; c = c->next) {
        if (IsElement(c, "t")) text += NodeText(c);
        else if (IsElement(c, "r")) text += NodeText(Child(c, "t"));
      }
    Out.Add(Row, Col, GridLines(text));
    return;
  }
  xmlNode* v = Child(C, "v");
  if (!v) return;
  std::string value = NodeText(v);
  if (value.empty()) return;  // a formula without a computed value
  if (t == "s") {
    char* end = nullptr;
    long idx = std::strtol(value.c_str(), &end, 10);
    if (value.empty() || *end || idx < 0 || static_cast<size_t>(idx) >= Sst.size())
      Fail(kRead, Out.FileName, "a cell names a shared string that does not exist");
    Out.Add(Row, Col, Sst[static_cast<size_t>(idx)]);
  } else if (t == "b") {
    Out.Add(Row, Col, value == "1" ? u"TRUE" : u"FALSE");
  } else if (t == "str" || t == "d") {
    Out.Add(Row, Col, GridLines(value));
  } else {
    char* end = nullptr;
    double d = std::strtod(value.c_str(), &end);
    if (value.empty() || *end) Fail(kRead, Out.FileName, "a cell holds a number that does not read");
    int style = HasAttr(C, "s") ? std::atoi(Attr(C, "s").c_str()) : 0;
    bool date = style >= 0 && static_cast<size_t>(style) < Dates.size() && Dates[static_cast<size_t>(style)];
    Out.Add(Row, Col, date ? DateText(d) : FromUtf8(NumberText(d)));
  }
}

TSheetData ReadXlsx(const String& FileName, const String& SheetName) {
  TZipArchive zip(FileName, TZipArchive::zmRead, kRead);
  TXlsxBook book = ReadXlsxBook(zip, FileName);
  const TXlsxSheet* sheet = nullptr;
  if (SheetName.empty()) {
    if (!book.Sheets.empty()) sheet = &book.Sheets[static_cast<size_t>(book.Active) < book.Sheets.size() ? book.Active : 0];
  } else {
    for (const TXlsxSheet& s : book.Sheets)
      if (FromUtf8(s.Name) == SheetName) sheet = &s;  // the last of that name
  }
  if (!sheet) {
    if (SheetName.empty()) Fail(kRead, FileName, "the workbook holds no worksheet");
    throw EExchangeError(u"Excel worksheet " + SheetName + u" not found");
  }
  std::vector<String> sst = ReadSharedStrings(zip, FileName);
  std::vector<bool> dates = ReadDateStyles(zip, FileName);
  std::string bytes = zip.Read(sheet->Part);
  TCollector out;
  out.FileName = FileName;
  TReaderPtr rd = OpenReader(bytes, FileName);
  int row = 0, col = 0, ret = xmlTextReaderRead(rd.get());
  while (ret == 1) {
    if (xmlTextReaderNodeType(rd.get()) == XML_READER_TYPE_ELEMENT) {
      if (LocalIs(rd.get(), "row")) {
        xmlChar* r = xmlTextReaderGetAttribute(rd.get(), BAD_CAST "r");
        row = r ? std::atoi(reinterpret_cast<const char*>(r)) : row + 1;
        xmlFree(r);
        if (row < 1 || row > kMaxRows) Fail(kRead, FileName, "a row lies outside the sheet");
        col = 0;
      } else if (LocalIs(rd.get(), "c")) {
        xmlNode* c = xmlTextReaderExpand(rd.get());
        if (!c) break;
        int cc = col + 1, cr = row;
        if (HasAttr(c, "r") && !ParseRef(Attr(c, "r"), cc, cr)) Fail(kRead, FileName, "a cell reference does not read");
        if (cc > kMaxCols || cr < 1) Fail(kRead, FileName, "a cell lies outside the sheet");
        col = cc;
        ReadXlsxCell(c, cr, cc, sst, dates, out);
        ret = xmlTextReaderNext(rd.get());
        continue;
      }
    }
    ret = xmlTextReaderRead(rd.get());
  }
  if (ret < 0) Fail(kRead, FileName, sheet->Part + " is damaged");
  return std::move(out.Data);
}

// ---------------------------------------------------------------- .ods reading

std::string OdsCellText(xmlNode* Cell) {
  std::string type = Attr(Cell, "value-type");
  if (type == "float" || type == "percentage" || type == "currency") {
    std::string v = Attr(Cell, "value");
    char* end = nullptr;
    double d = std::strtod(v.c_str(), &end);
    if (!v.empty() && !*end) return NumberText(d);
  }
  if (type == "boolean") return Attr(Cell, "boolean-value") == "true" ? "TRUE" : "FALSE";
  std::string text;
  bool first = true;
  std::function<void(xmlNode*)> walk = [&](xmlNode* n) {
    for (xmlNode* c = n->children; c; c = c->next) {
      if (c->type == XML_TEXT_NODE) text += reinterpret_cast<const char*>(c->content);
      else if (IsElement(c, "s")) text.append(std::clamp(std::atoi(Attr(c, "c").c_str()), 1, 1024), ' ');
      else if (IsElement(c, "tab")) text += '\t';
      else if (IsElement(c, "line-break")) text += '\n';
      else if (IsElement(c, "annotation")) continue;
      else if (c->type == XML_ELEMENT_NODE) walk(c);
    }
  };
  for (xmlNode* p = Cell->children; p; p = p->next) {
    if (!IsElement(p, "p") && !IsElement(p, "h")) continue;
    if (!first) text += '\n';
    first = false;
    walk(p);
  }
  return text;
}

int Repeat(xmlNode* N, const char* Attr_) {
  std::string v = Attr(N, Attr_);
  if (v.empty()) return 1;
  long n = std::strtol(v.c_str(), nullptr, 10);
  return static_cast<int>(std::clamp<long>(n, 1, kMaxRows));
}

void ReadOdsRow(xmlNode* Row, int RowNo, int Times, TCollector& Out) {
  int col = 1;
  for (xmlNode* c = Row->children; c; c = c->next) {
    if (!IsElement(c, "table-cell") && !IsElement(c, "covered-table-cell")) continue;
    int n = Repeat(c, "number-columns-repeated");
    std::string text = OdsCellText(c);
    if (!text.empty()) {
      if (col + n - 1 > kMaxCols) Fail(kRead, Out.FileName, "a row is longer than a sheet");
      // Repeated values are counted before they are made.
      if (Out.Data.Cells.size() + static_cast<size_t>(Times) * static_cast<size_t>(n) > kMaxCells)
        Fail(kRead, Out.FileName, "too many cells");
      String t = GridLines(text);
      for (int r = 0; r < Times; ++r)
        for (int k = 0; k < n; ++k) Out.Add(RowNo + r, col + k, t);
    }
    col = std::min(col + n, kMaxCols + 1);
  }
}

// The names of the sheets of content.xml; with Wanted (>= 0 index or a name) its cells too.
std::vector<std::string> ReadOdsContent(const std::string& Bytes, const String& FileName, int WantIndex,
                                        const std::string* WantName, TCollector* Out) {
  std::vector<std::string> names;
  TReaderPtr rd = OpenReader(Bytes, FileName);
  int ret = xmlTextReaderRead(rd.get());
  bool inWanted = false;
  int row = 1, tableDepth = -1;
  while (ret == 1) {
    int type = xmlTextReaderNodeType(rd.get());
    if (type == XML_READER_TYPE_END_ELEMENT && inWanted && LocalIs(rd.get(), "table") &&
        xmlTextReaderDepth(rd.get()) == tableDepth)
      inWanted = false;
    if (type == XML_READER_TYPE_ELEMENT) {
      if (LocalIs(rd.get(), "table")) {
        xmlChar* n = xmlTextReaderGetAttribute(rd.get(), BAD_CAST "table:name");
        names.emplace_back(n ? reinterpret_cast<const char*>(n) : "");
        xmlFree(n);
        int index = static_cast<int>(names.size()) - 1;
        bool wanted = Out && (WantName ? names.back() == *WantName : index == WantIndex);
        if (!wanted) {
          ret = xmlTextReaderNext(rd.get());
          continue;
        }
        // A later table of the same name takes the place of the earlier one.
        Out->Data = TSheetData();
        inWanted = !xmlTextReaderIsEmptyElement(rd.get());
        tableDepth = xmlTextReaderDepth(rd.get());
        row = 1;
      } else if (inWanted && LocalIs(rd.get(), "table-row")) {
        xmlNode* r = xmlTextReaderExpand(rd.get());
        if (!r) break;
        int times = Repeat(r, "number-rows-repeated");
        if (row + times - 1 > kMaxRows) times = std::max(0, kMaxRows - row + 1);
        ReadOdsRow(r, row, times, *Out);
        row += times;
        ret = xmlTextReaderNext(rd.get());
        continue;
      }
    }
    ret = xmlTextReaderRead(rd.get());
  }
  if (ret < 0) Fail(kRead, FileName, "content.xml is damaged");
  return names;
}

int OdsActiveSheet(TZipArchive& Zip, const String& FileName, const std::vector<std::string>& Names) {
  if (!Zip.Has("settings.xml")) return 0;
  TXmlDocPtr s = ParseXml(Zip.Read("settings.xml"), kRead, FileName, "settings.xml");
  std::function<int(xmlNode*)> find = [&](xmlNode* n) -> int {
    for (xmlNode* c = n->children; c; c = c->next) {
      if (IsElement(c, "config-item") && Attr(c, "name") == "ActiveTable") {
        auto it = std::find(Names.begin(), Names.end(), NodeText(c));
        return it == Names.end() ? 0 : static_cast<int>(it - Names.begin());
      }
      if (int i = find(c); i >= 0) return i;
    }
    return -1;
  };
  return std::max(0, find(xmlDocGetRootElement(s.get())));
}

TSheetData ReadOds(const String& FileName, const String& SheetName) {
  TZipArchive zip(FileName, TZipArchive::zmRead, kRead);
  std::string content = zip.Read("content.xml");
  TCollector out;
  out.FileName = FileName;
  std::vector<std::string> names;
  if (SheetName.empty()) {
    names = ReadOdsContent(content, FileName, -1, nullptr, nullptr);
    if (names.empty()) Fail(kRead, FileName, "the workbook holds no worksheet");
    ReadOdsContent(content, FileName, OdsActiveSheet(zip, FileName, names), nullptr, &out);
  } else {
    std::string want = Utf8(SheetName);
    names = ReadOdsContent(content, FileName, -1, &want, &out);
    if (std::find(names.begin(), names.end(), want) == names.end())
      throw EExchangeError(u"Excel worksheet " + SheetName + u" not found");
  }
  return std::move(out.Data);
}

// ---------------------------------------------------------------- .xls reading

struct TXls {
  const void* H = nullptr;
  TXls(const String& FileName) {
    if (!FileExists(FileName)) Fail(kRead, FileName, "the file does not exist");
    if (freexl_open(Utf8(FileName).c_str(), &H) != FREEXL_OK) {
      if (H) freexl_close(H);
      H = nullptr;
      Fail(kRead, FileName, "not a readable .xls workbook");
    }
  }
  ~TXls() {
    if (H) freexl_close(H);
  }
  std::vector<String> Names(const String& FileName) {
    unsigned int count = 0;
    if (freexl_get_info(H, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK) Fail(kRead, FileName, "no worksheet list");
    std::vector<String> names;
    for (unsigned short i = 0; i < count; ++i) {
      const char* n = nullptr;
      if (freexl_get_worksheet_name(H, i, &n) != FREEXL_OK) Fail(kRead, FileName, "a worksheet name does not read");
      names.push_back(FromUtf8(n ? n : ""));
    }
    return names;
  }
};

TSheetData ReadXls(const String& FileName, const String& SheetName) {
  TXls x(FileName);
  std::vector<String> names = x.Names(FileName);
  int index = -1;
  for (size_t i = 0; i < names.size(); ++i)
    if (SheetName.empty() ? index < 0 : names[i] == SheetName) index = static_cast<int>(i);
  if (index < 0) {
    if (SheetName.empty()) Fail(kRead, FileName, "the workbook holds no worksheet");
    throw EExchangeError(u"Excel worksheet " + SheetName + u" not found");
  }
  unsigned int rows = 0;
  unsigned short cols = 0;
  if (freexl_select_active_worksheet(x.H, static_cast<unsigned short>(index)) != FREEXL_OK ||
      freexl_worksheet_dimensions(x.H, &rows, &cols) != FREEXL_OK)
    Fail(kRead, FileName, "the worksheet does not read");
  TCollector out;
  out.FileName = FileName;
  for (unsigned int r = 0; r < rows; ++r)
    for (unsigned short c = 0; c < cols; ++c) {
      FreeXL_CellValue v;
      if (freexl_get_cell_value(x.H, r, c, &v) != FREEXL_OK) Fail(kRead, FileName, "a cell does not read");
      String t;
      switch (v.type) {
        case FREEXL_CELL_INT: t = IntToStr(v.value.int_value); break;
        case FREEXL_CELL_DOUBLE: t = FromUtf8(NumberText(v.value.double_value)); break;
        case FREEXL_CELL_TEXT:
        case FREEXL_CELL_SST_TEXT:
        case FREEXL_CELL_DATE:
        case FREEXL_CELL_DATETIME:
        case FREEXL_CELL_TIME: t = GridLines(v.value.text_value ? v.value.text_value : ""); break;
        default: continue;
      }
      out.Add(static_cast<int>(r) + 1, c + 1, std::move(t));
    }
  return std::move(out.Data);
}

// ---------------------------------------------------------------- writing

void CheckSize(const String& FileName, const std::vector<std::vector<String>>& Rows) {
  if (Rows.size() > static_cast<size_t>(kMaxRows)) Fail(kWrite, FileName, "more rows than a worksheet holds");
  for (const auto& r : Rows)
    if (r.size() > static_cast<size_t>(kMaxCols)) Fail(kWrite, FileName, "more columns than a worksheet holds");
}

bool ValidSheetName(const String& Name) {
  if (Name.empty() || Name.size() > 31 || Name.front() == u'\'' || Name.back() == u'\'') return false;
  for (Char c : Name)
    if (c < 32 || String(u"[]:*?/\\").find(c) != String::npos) return false;
  return true;
}

void WriteNewXlsx(const String& FileName, const String& SheetName, const std::vector<std::vector<String>>& Rows) {
  lxw_workbook_options opt{};
  opt.constant_memory = LXW_TRUE;
  opt.use_zip64 = LXW_TRUE;
  std::string tmp = Utf8(FileName + u".tmp~");
  lxw_workbook* wb = workbook_new_opt(tmp.c_str(), &opt);
  if (!wb) Fail(kWrite, FileName, "out of memory");
  std::string name = Utf8(SheetName);
  lxw_worksheet* ws = workbook_add_worksheet(wb, name.c_str());
  if (!ws) {
    workbook_close(wb);
    std::remove(tmp.c_str());
    Fail(kWrite, FileName, "the sheet name is not allowed");
  }
  lxw_error err = LXW_NO_ERROR;
  for (size_t r = 0; r < Rows.size() && err == LXW_NO_ERROR; ++r)
    for (size_t c = 0; c < Rows[r].size() && err == LXW_NO_ERROR; ++c) {
      const String& t = Rows[r][c];
      if (t.empty()) continue;
      double d;
      if (PlainNumber(t, d)) err = worksheet_write_number(ws, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c), d, nullptr);
      else {
        std::string s = WorkbookLines(t);
        if (s.size() > 32767) s.resize(32767);
        err = worksheet_write_string(ws, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c), s.c_str(), nullptr);
      }
    }
  lxw_error closeErr = workbook_close(wb);
  if (err == LXW_NO_ERROR) err = closeErr;
  if (err != LXW_NO_ERROR || std::rename(tmp.c_str(), Utf8(FileName).c_str()) != 0) {
    std::remove(tmp.c_str());
    Fail(kWrite, FileName, err != LXW_NO_ERROR ? lxw_strerror(err) : "the file cannot be replaced");
  }
}

// The worksheet part of rows, with inline strings (the workbook's shared strings stay as they are).
std::string XlsxSheetXml(const std::vector<std::vector<String>>& Rows) {
  std::string x = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<worksheet xmlns=\"";
  x += kMainNs;
  x += "\"><sheetData>";
  for (size_t r = 0; r < Rows.size(); ++r) {
    std::string row = std::to_string(r + 1);
    x += "<row r=\"" + row + "\">";
    for (size_t c = 0; c < Rows[r].size(); ++c) {
      const String& t = Rows[r][c];
      if (t.empty()) continue;
      std::string ref = Utf8(ColumnLetters(static_cast<int>(c) + 1)) + row;
      double d;
      if (PlainNumber(t, d)) x += "<c r=\"" + ref + "\"><v>" + NumberText(d) + "</v></c>";
      else x += "<c r=\"" + ref + "\" t=\"inlineStr\"><is><t xml:space=\"preserve\">" + XmlText(std::string_view(WorkbookLines(t))) + "</t></is></c>";
    }
    x += "</row>";
  }
  return x + "</sheetData></worksheet>";
}

void ChangeXlsx(const String& FileName, const String& SheetName, const std::vector<std::vector<String>>& Rows) {
  TZipArchive zip(FileName, TZipArchive::zmChange, kWrite);
  TXlsxBook book = ReadXlsxBook(zip, FileName);
  std::string name = Utf8(SheetName);
  for (auto it = book.Sheets.rbegin(); it != book.Sheets.rend(); ++it)
    if (it->Name == name) {
      if (it->Part.empty() || !zip.Has(it->Part)) Fail(kWrite, FileName, "the sheet's part is missing");
      zip.Put(it->Part, XlsxSheetXml(Rows));
      zip.Commit();
      return;
    }
  // A new sheet: its part, its relationship, its entry in the workbook and its content type.
  int n = 1;
  while (zip.Has("xl/worksheets/sheet" + std::to_string(n) + ".xml")) ++n;
  std::string part = "worksheets/sheet" + std::to_string(n) + ".xml";
  TXmlDocPtr rels = ParseXml(zip.Read("xl/_rels/workbook.xml.rels"), kWrite, FileName, "xl/_rels/workbook.xml.rels");
  std::set<std::string> ids;
  for (xmlNode* r = xmlDocGetRootElement(rels.get())->children; r; r = r->next)
    if (IsElement(r, "Relationship")) ids.insert(Attr(r, "Id"));
  int k = 1;
  while (ids.count("rId" + std::to_string(k))) ++k;
  std::string rid = "rId" + std::to_string(k);
  InsertFragment(rels.get(), xmlDocGetRootElement(rels.get()), nullptr, nullptr, std::string(" xmlns=\"") + kPkgRelNs + "\"",
                 "<Relationship Id=\"" + rid + "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" Target=\"" + part + "\"/>",
                 kWrite, FileName);
  TXmlDocPtr wb = ParseXml(zip.Read("xl/workbook.xml"), kWrite, FileName, "xl/workbook.xml");
  xmlNode* sheets = Child(xmlDocGetRootElement(wb.get()), "sheets");
  if (!sheets) Fail(kWrite, FileName, "xl/workbook.xml has no sheet list");
  int sheetId = 0;
  for (xmlNode* s = sheets->children; s; s = s->next)
    if (IsElement(s, "sheet")) sheetId = std::max(sheetId, std::atoi(Attr(s, "sheetId").c_str()));
  InsertFragment(wb.get(), sheets, nullptr, nullptr, std::string(" xmlns=\"") + kMainNs + "\" xmlns:r=\"" + kRelNs + "\"",
                 "<sheet name=\"" + XmlText(SheetName) + "\" sheetId=\"" + std::to_string(sheetId + 1) + "\" r:id=\"" + rid + "\"/>",
                 kWrite, FileName);
  TXmlDocPtr types = ParseXml(zip.Read("[Content_Types].xml"), kWrite, FileName, "[Content_Types].xml");
  InsertFragment(types.get(), xmlDocGetRootElement(types.get()), nullptr, nullptr,
                 " xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"",
                 "<Override PartName=\"/xl/" + part + "\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>",
                 kWrite, FileName);
  zip.Put("xl/" + part, XlsxSheetXml(Rows));
  zip.Put("xl/_rels/workbook.xml.rels", SerializeXml(rels.get()));
  zip.Put("xl/workbook.xml", SerializeXml(wb.get()));
  zip.Put("[Content_Types].xml", SerializeXml(types.get()));
  zip.Commit();
}

const char* const kOdsNs =
    " xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
    " xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\""
    " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"";

std::string OdsTableXml(const String& SheetName, const std::vector<std::vector<String>>& Rows) {
  size_t cols = 1;
  for (const auto& r : Rows) cols = std::max(cols, r.size());
  std::string x = "<table:table table:name=\"" + XmlText(SheetName) + "\"><table:table-column table:number-columns-repeated=\"" +
                  std::to_string(cols) + "\"/>";
  for (const auto& r : Rows) {
    x += "<table:table-row>";
    for (const String& t : r) {
      double d;
      if (t.empty()) {
        x += "<table:table-cell/>";
      } else if (PlainNumber(t, d)) {
        std::string v = NumberText(d);
        x += "<table:table-cell office:value-type=\"float\" office:value=\"" + v + "\"><text:p>" + v + "</text:p></table:table-cell>";
      } else {
        x += "<table:table-cell office:value-type=\"string\">";
        std::string lines = WorkbookLines(t);
        size_t start = 0;
        for (;;) {
          size_t e = lines.find('\n', start);
          x += "<text:p>" + XmlText(std::string_view(lines).substr(start, e == std::string::npos ? std::string::npos : e - start)) + "</text:p>";
          if (e == std::string::npos) break;
          start = e + 1;
        }
        x += "</table:table-cell>";
      }
    }
    if (r.empty()) x += "<table:table-cell/>";
    x += "</table:table-row>";
  }
  return x + "</table:table>";
}

void WriteNewOds(const String& FileName, const String& SheetName, const std::vector<std::vector<String>>& Rows) {
  const std::string mime = "application/vnd.oasis.opendocument.spreadsheet";
  std::string content = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<office:document-content") + kOdsNs +
                        " office:version=\"1.2\"><office:body><office:spreadsheet>" + OdsTableXml(SheetName, Rows) +
                        "</office:spreadsheet></office:body></office:document-content>";
  WriteOdfPackage(FileName, mime, content, kWrite);
}

void ChangeOds(const String& FileName, const String& SheetName, const std::vector<std::vector<String>>& Rows) {
  TZipArchive zip(FileName, TZipArchive::zmChange, kWrite);
  TXmlDocPtr doc = ParseXml(zip.Read("content.xml"), kWrite, FileName, "content.xml");
  xmlNode* sheet = Descendant(xmlDocGetRootElement(doc.get()), "spreadsheet");
  if (!sheet) Fail(kWrite, FileName, "not a spreadsheet document");
  std::string name = Utf8(SheetName);
  xmlNode* old = nullptr;
  for (xmlNode* t = sheet->children; t; t = t->next)
    if (IsElement(t, "table") && Attr(t, "name") == name) old = t;
  // The new table goes where the old one stood, else after the last table.
  xmlNode* after = old;
  if (!after)
    for (xmlNode* t = sheet->children; t; t = t->next)
      if (IsElement(t, "table")) after = t;
  InsertFragment(doc.get(), sheet, after, nullptr, kOdsNs, OdsTableXml(SheetName, Rows), kWrite, FileName);
  if (old) {
    xmlUnlinkNode(old);
    xmlFreeNode(old);
  }
  zip.Put("content.xml", SerializeXml(doc.get()));
  zip.Commit();
}

}  // namespace

std::vector<String> WorkbookSheets(const String& FileName) {
  switch (KindOf(FileName, false)) {
    case TKind::Xlsx: {
      TZipArchive zip(FileName, TZipArchive::zmRead, kRead);
      std::vector<String> names;
      for (const TXlsxSheet& s : ReadXlsxBook(zip, FileName).Sheets) names.push_back(FromUtf8(s.Name));
      return names;
    }
    case TKind::Ods: {
      TZipArchive zip(FileName, TZipArchive::zmRead, kRead);
      std::vector<String> names;
      for (const std::string& n : ReadOdsContent(zip.Read("content.xml"), FileName, -1, nullptr, nullptr))
        names.push_back(FromUtf8(n));
      return names;
    }
    case TKind::Xls: return TXls(FileName).Names(FileName);
  }
  return {};
}

TSheetData ReadWorkbookSheet(const String& FileName, const String& SheetName) {
  switch (KindOf(FileName, false)) {
    case TKind::Xlsx: return ReadXlsx(FileName, SheetName);
    case TKind::Ods: return ReadOds(FileName, SheetName);
    case TKind::Xls: return ReadXls(FileName, SheetName);
  }
  return {};
}

void WriteWorkbookSheet(const String& FileName, const String& SheetName, const std::vector<std::vector<String>>& Rows,
                        bool Replace) {
  TKind kind = KindOf(FileName, true);
  if (!ValidSheetName(SheetName)) Fail(kWrite, FileName, "the sheet name \"" + Utf8(SheetName) + "\" is not allowed");
  CheckSize(FileName, Rows);
  if (!DirectoryExists(ExtractFileDir(ExpandFileName(FileName)))) Fail(kWrite, FileName, "the folder does not exist");
  bool fresh = Replace || !FileExists(FileName);
  if (kind == TKind::Xlsx) fresh ? WriteNewXlsx(FileName, SheetName, Rows) : ChangeXlsx(FileName, SheetName, Rows);
  else fresh ? WriteNewOds(FileName, SheetName, Rows) : ChangeOds(FileName, SheetName, Rows);
}

}  // namespace exchange
