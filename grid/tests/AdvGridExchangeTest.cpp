// The grid's HTML, XML, workbook, document and database exchange, checked with independent
// readers: python3's html.parser, openpyxl, odf, docx and xlwt, xmllint and the sqlite3 shell.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "grid/tests/GridTestSupport.h"
#include "platform/exchange/Exchange.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Clipbrd.h"
#include "testing/TempFolder.h"

namespace {

// Runs a command; its standard output and error, and its exit status in Status.
std::string RunCommand(const std::string& Command, int* Status = nullptr) {
  std::string out;
  FILE* p = ::popen((Command + " 2>&1").c_str(), "r");
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  int st = ::pclose(p);
  if (Status) *Status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return out;
}

// A script run by the system's python3 (where the Debian packages put the readers).
std::string Python(const TempFolder& T, const std::string& Script, const std::string& Args = {}) {
  T.Write("script.py", Script);
  int st = 0;
  std::string out = RunCommand("/usr/bin/python3 " + T.File("script.py") + " " + Args, &st);
  EXPECT_EQ(st, 0) << out;
  return out;
}

std::string Q(const TempFolder& T, const std::string& Name) { return "'" + T.File(Name) + "'"; }

size_t Count(const std::string& S, const std::string& Part) {
  size_t n = 0;
  for (size_t p = S.find(Part); p != std::string::npos; p = S.find(Part, p + 1)) ++n;
  return n;
}

// A grid of 3 x 3 without fixed cells holding texts an export must carry whole.
void Fill(DEreDuzeroVaro* G) {
  PlainGrid(G, 3, 3);
  const char16_t* texts[3][3] = {{u"Name", u"Level", u"Note"}, {u"ch1", u"12", u"a&b <c> \"q\""}, {u"ﾁｬﾝﾈﾙ", u"-3.5", u"two\r\nlines"}};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) G->SetCells(c, r, texts[r][c]);
}

}  // namespace

TEST(GridHtml, PlainCellsShareOneStyleAndMergedHeadersSpan) {
  TGridForm f;
  DEreDuzeroVaro* g = f.grid;
  PlainGrid(g, 3, 2);
  g->SetCells(0, 0, u"a");
  g->SetCells(1, 1, u"b");
  std::string h = StringToUTF8(g->SaveToHTMLString(u""));
  EXPECT_NE(h.find("<TABLE BORDER=\"1\" CELLSPACING=\"0\" CELLPADDING=\"0\"  WIDTH=\"100%\">"), std::string::npos) << h;
  EXPECT_EQ(Count(h, "<TD class=\"c0\""), 6u) << h;
  EXPECT_EQ(Count(h, "{"), 1u) << "one style: " << h;
  EXPECT_NE(h.find("<TD class=\"c0\">&nbsp;</td>"), std::string::npos);

  // A fixed row written as the header: a cell merged over two columns is one TD.
  g->SetFixedRows(1);
  g->SetSaveFixedRows(true);
  g->MergeCells(0, 0, 2, 1);
  g->SetAlignments(2, 1, taRightJustify);
  h = StringToUTF8(g->SaveToHTMLString(u""));
  size_t firstRow = h.find("</TR>");
  std::string header = h.substr(0, firstRow);
  EXPECT_EQ(Count(header, "<TD "), 2u) << h;
  EXPECT_NE(header.find("COLSPAN=\"2\""), std::string::npos) << h;
  EXPECT_NE(h.find("text-align: right"), std::string::npos) << h;
}

TEST(GridHtml, XhtmlFilesAreWellFormedAndAttributesQuoted) {
  TGridForm f;
  TempFolder t;
  DEreDuzeroVaro* g = f.grid;
  Fill(g);
  g->SetURLShow(true);
  g->SetCells(0, 1, u"http://x.org/?a=1&b=\"2\"");
  g->HTMLSettings()->SetSummary(u"say \"hi\" & <go>");
  // Plain HTML: read by Python's HTML parser with every attribute value whole.
  g->SaveToHTML(t.FileS("p.html"));
  std::string bytes = t.Read("p.html");
  for (unsigned char c : bytes) ASSERT_LT(c, 128) << "ASCII only";
  EXPECT_NE(bytes.find("&#65409;"), std::string::npos) << "characters above 127 as references";
  std::string out = Python(t, R"(
import sys, html.parser
class P(html.parser.HTMLParser):
    def handle_starttag(self, tag, attrs):
        for k, v in attrs:
            if k in ('href', 'summary'): print(k, v)
    def handle_data(self, d):
        if 'ﾁｬﾝﾈﾙ' in d: print('text', d)
P().feed(open(sys.argv[1], encoding='ascii').read())
)", Q(t, "p.html"));
  EXPECT_EQ(out, "summary say \"hi\" & <go>\nhref http://x.org/?a=1&b=\"2\"\ntext ﾁｬﾝﾈﾙ\n");
  // XHTML, ASCII and UTF-16: both well-formed XML in the encoding they declare.
  g->HTMLSettings()->SetXHTML(true);
  g->SaveToHTML(t.FileS("x.html"));
  g->SaveToHTML(t.FileS("u.html"), false, true);
  for (const char* name : {"x.html", "u.html"}) {
    int st = 0;
    std::string msg = RunCommand("xmllint --noout " + Q(t, name), &st);
    EXPECT_EQ(st, 0) << name << ": " << msg;
  }
  EXPECT_EQ(t.Read("u.html").substr(0, 2), "\xFF\xFE");
}

TEST(GridHtml, PicturesGoToTheImagesFolderAsJpeg) {
  TGridForm f;
  TempFolder t;
  DEreDuzeroVaro* g = f.grid;
  PlainGrid(g, 2, 2);
  g->SetCells(0, 0, u"pic");
  TBitmap* b = g->CreateBitmap(0, 0, false, haLeft, vaTop);
  b->SetWidth(8);
  b->SetHeight(6);
  TBitmap* b2 = g->CreateBitmap(1, 1, false, haLeft, vaTop);
  b2->SetWidth(4);
  b2->SetHeight(4);
  g->SaveToHTML(t.FileS("i.html"));
  std::string h = t.Read("i.html");
  EXPECT_NE(h.find("pic<img src= \"file://" + t.File("images/img1.jpg") + "\">"), std::string::npos) << h;
  EXPECT_NE(h.find("images/img2.jpg"), std::string::npos);
  EXPECT_EQ(t.Read("images/img1.jpg").substr(0, 2), "\xFF\xD8");
  // A folder that cannot be made raises with its name.
  t.Write("blocked", "");
  try {
    g->SaveToHTMLString(t.FileS("blocked/"));
    FAIL();
  } catch (const VUreReriVorov& e) {
    EXPECT_EQ(e.Message(), u"Cannot create " + t.FileS("blocked/images"));
  }
}

TEST(GridXml, WritesInItsEncodingAndReadsBack) {
  TGridForm f;
  TempFolder t;
  DEreDuzeroVaro* g = f.grid;
  Fill(g);
  PlainGrid(g, 4, 3);
  g->SetCells(1, 0, u"a\x01z");
  TStringList names;
  names.Add(u"name");
  names.Add(u"bad name");
  g->SaveToXML(t.FileS("g.xml"), u"list", u"rec", &names, true);
  std::string x = t.Read("g.xml");
  EXPECT_EQ(x.substr(0, 46), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n");
  EXPECT_NE(x.find("<FIELD2>a&amp;b &lt;c&gt; &quot;q&quot;</FIELD2>"), std::string::npos) << x;
  EXPECT_NE(x.find("<FIELD1>az</FIELD1>"), std::string::npos) << "controls XML forbids are dropped";
  EXPECT_NE(x.find("<name>&#65409;&#65388;"), std::string::npos) << x;
  EXPECT_NE(x.find("<FIELD3>&quot;&quot;</FIELD3>"), std::string::npos);
  int st = 0;
  std::string msg = RunCommand("xmllint --noout " + Q(t, "g.xml"), &st);
  EXPECT_EQ(st, 0) << msg;

  TGridForm f2;
  DEreDuzeroVaro* h = f2.grid;
  PlainGrid(h, 1, 1);
  h->SetCells(0, 1, u"");
  h->LoadFromXML(t.FileS("g.xml"));
  EXPECT_EQ(h->ColCount(), 4);
  EXPECT_EQ(h->RowCount(), 3);
  EXPECT_EQ(h->Cells(2, 1), u"a&b <c> \"q\"");
  EXPECT_EQ(h->Cells(0, 2), u"ﾁｬﾝﾈﾙ");
  EXPECT_EQ(h->Cells(3, 0), u"") << "a quoted empty cell reads back empty";
  EXPECT_EQ(h->Cells(2, 2), u"two\r\nlines");

  // Entities are decoded once: a text that shows "&lt;" keeps it.
  g->SetCells(0, 0, u"x&lt;y");
  g->SaveToXML(t.FileS("e.xml"), u"l", u"r", nullptr, false);
  h->LoadFromXML(t.FileS("e.xml"));
  EXPECT_EQ(h->Cells(0, 0), u"x&lt;y");
}

TEST(GridXml, ReadsRecordsOfLeafElementsAndRefusesBadFiles) {
  TGridForm f;
  TempFolder t;
  DEreDuzeroVaro* g = f.grid;
  t.Write("r.xml", "<?xml version=\"1.0\"?>\n<list>\n <rec><a>1</a><b>2</b><c>3</c></rec>\n <rec><a>4</a><b>5</b><c>6</c></rec>\n</list>\n");
  g->SetSaveFixedCells(false);  // data starts after the fixed column and row
  g->LoadFromXML(t.FileS("r.xml"));
  EXPECT_EQ(g->Cells(1, 1), u"1");
  EXPECT_EQ(g->Cells(3, 2), u"6");
  EXPECT_EQ(g->ColCount(), 4);
  EXPECT_EQ(g->RowCount(), 3);
  g->SetCells(1, 1, u"kept");
  t.Write("bad.xml", "<list>\n<rec><a>1</a>\n</list>");
  struct {
    const char* File;
    const char16_t* Start;
  } cases[] = {{"bad.xml", u"XMLDOM Parsing error "}, {"none.xml", u"XML file not found"}};
  for (auto& c : cases) {
    try {
      g->LoadFromXML(t.FileS(c.File));
      ADD_FAILURE() << c.File;
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message().rfind(c.Start, 0), 0u) << e.what();
    }
  }
  EXPECT_EQ(g->Cells(1, 1), u"kept");
  EXPECT_EQ(g->RowCount(), 3);
}

TEST(GridWorkbook, SaveAndLoadXlsxAndOds) {
  TGridForm f;
  TempFolder t;
  DEreDuzeroVaro* g = f.grid;
  PlainGrid(g, 30, 2);
  g->SetCells(0, 0, u"first");
  g->SetCells(29, 1, u"12.5");
  g->SaveToXLS(t.FileS("a.xlsx"));
  EXPECT_EQ(Python(t, R"(
import openpyxl, sys
ws = openpyxl.load_workbook(sys.argv[1]).active
print(ws.title, ws.max_column, ws['A1'].value, ws['AD2'].value)
)", Q(t, "a.xlsx")),
            "Sheet1 30 first 12.5\n");
  // Into a named sheet of that workbook: the sheet is added, Sheet1 stays.
  Fill(g);
  g->SaveToXLSSheet(t.FileS("a.xlsx"), u"Channels");
  std::unique_ptr<TStringList> sheets = g->GetXLSSheets(t.FileS("a.xlsx"));
  ASSERT_EQ(sheets->Count(), 2);
  EXPECT_EQ(sheets->Strings(1), u"Channels");
  for (const char* name : {"a.xlsx", "c.ods"}) {
    if (std::string(name) == "c.ods") g->SaveToXLSSheet(t.FileS(name), u"Channels");
    TGridForm f2;
    PlainGrid(f2.grid, 1, 1);
    f2.grid->LoadFromXLSSheet(t.FileS(name), u"Channels");
    EXPECT_EQ(f2.grid->ColCount(), 3) << name;
    EXPECT_EQ(f2.grid->RowCount(), 3) << name;
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c) EXPECT_EQ(f2.grid->Cells(c, r), g->Cells(c, r)) << name << " " << c << "," << r;
  }
  try {
    g->LoadFromXLSSheet(t.FileS("a.xlsx"), u"Nope");
    FAIL();
  } catch (const VUreReriVorov& e) {
    EXPECT_EQ(e.Message(), u"Excel worksheet Nope not found");
  }
}

TEST(GridWorkbook, UsedRangeFillsTheGridAfterItsFixedCells) {
  TGridForm f;
  TempFolder t;
  Python(t, R"(
import openpyxl, sys
wb = openpyxl.Workbook(); ws = wb.active
for r in range(3, 6):
    for c in range(2, 5): ws.cell(row=r, column=c, value=f'{r},{c}')
wb.save(sys.argv[1])
wb = openpyxl.Workbook(); wb.active['C7'] = 'one'; wb.save(sys.argv[2])
)", Q(t, "r.xlsx") + " " + Q(t, "c.xlsx"));
  DEreDuzeroVaro* g = f.grid;
  g->SetSaveFixedCells(false);
  g->SetFixedRows(1);
  g->SetFixedCols(1);
  g->LoadFromXLS(t.FileS("r.xlsx"));
  EXPECT_EQ(g->ColCount(), 4);
  EXPECT_EQ(g->RowCount(), 4);
  EXPECT_EQ(g->Cells(1, 1), u"3,2");
  EXPECT_EQ(g->Cells(3, 3), u"5,4");
  g->LoadFromXLS(t.FileS("c.xlsx"));
  EXPECT_EQ(g->ColCount(), 2);
  EXPECT_EQ(g->RowCount(), 2);
  EXPECT_EQ(g->Cells(1, 1), u"one");
  // An .xls written by xlwt reads too; a damaged workbook raises naming the file and leaves the grid.
  Python(t, "import xlwt, sys\nwb = xlwt.Workbook(); s = wb.add_sheet('S'); s.write(0, 0, 'x'); s.write(0, 1, 2.5)\nwb.save(sys.argv[1])\n",
         Q(t, "o.xls"));
  g->LoadFromXLS(t.FileS("o.xls"));
  EXPECT_EQ(g->Cells(2, 1), u"2.5");
  std::string bytes = t.Read("r.xlsx");
  t.Write("d.xlsx", bytes.substr(0, bytes.size() / 2));
  try {
    g->LoadFromXLS(t.FileS("d.xlsx"));
    FAIL();
  } catch (const EExchangeError& e) {
    EXPECT_NE(e.Message().find(t.FileS("d.xlsx")), String::npos);
  }
  EXPECT_EQ(g->Cells(2, 1), u"2.5");
}

TEST(GridDocument, TableAfterTheWindowTextAndAppendedAtTheBookmark) {
  TGridForm f;
  TempFolder t;
  DEreDuzeroVaro* g = f.grid;
  Fill(g);
  g->SetText(u"Receiver channels");
  g->SetAlignments(1, 1, taRightJustify);
  g->SetAlignments(1, 2, taCenter);
  const std::string py = R"(
import docx, sys
d = docx.Document(sys.argv[1])
print([p.text for p in d.paragraphs if p.text])
for tb in d.tables:
    print([[c.text for c in r.cells] for r in tb.rows])
    print(str(tb.cell(1, 1).paragraphs[0].alignment), str(tb.cell(2, 1).paragraphs[0].alignment))
)";
  g->SaveToDOC(t.FileS("g.docx"));
  EXPECT_EQ(Python(t, py, Q(t, "g.docx")),
            "['Receiver channels']\n[['Name', 'Level', 'Note'], ['ch1', '12', 'a&b <c> \"q\"'], ['ﾁｬﾝﾈﾙ', '-3.5', "
            "'two\\nlines']]\nRIGHT (2) CENTER (1)\n");
  g->AppendToDoc(t.FileS("g.docx"), u"none");
  EXPECT_EQ(Count(Python(t, py, Q(t, "g.docx")), "RIGHT (2) CENTER (1)"), 2u);
  g->SaveToDOC(t.FileS("g.odt"));
  Python(t, "import sys\nfrom odf.opendocument import load\nfrom odf.table import Table\nassert len(load(sys.argv[1]).text.getElementsByType(Table)) == 1\n",
         Q(t, "g.odt"));
  EXPECT_THROW(g->AppendToDoc(t.FileS("missing.docx"), u""), EExchangeError);
}

TEST(GridDatabase, TableAndQueryFromSqlite) {
  TGridForm f;
  TempFolder t;
  t.Write("make.sql",
          "CREATE TABLE \"ch list\" (name TEXT, level REAL);\nINSERT INTO \"ch list\" VALUES ('a', 1.5), (NULL, 2), ('c', NULL);\n");
  int st = std::system(("sqlite3 " + Q(t, "d.db") + " < " + Q(t, "make.sql")).c_str());
  ASSERT_EQ(st, 0);
  DEreDuzeroVaro* g = f.grid;  // one fixed row and column
  g->LoadFromMDBTable(t.FileS("d.db"), u"ch list");
  EXPECT_EQ(g->ColCount(), 3);
  EXPECT_EQ(g->RowCount(), 4);
  EXPECT_EQ(g->Cells(1, 0), u"name");
  EXPECT_EQ(g->Cells(2, 0), u"level");
  EXPECT_EQ(g->Cells(1, 1), u"a");
  EXPECT_EQ(g->Cells(1, 2), u"");
  EXPECT_EQ(g->Cells(2, 3), u"");
  // A query without records leaves the names and the rows there are.
  g->LoadFromMDBSQL(t.FileS("d.db"), u"SELECT level AS lv FROM \"ch list\" WHERE 0");
  EXPECT_EQ(g->Cells(1, 0), u"lv");
  EXPECT_EQ(g->RowCount(), 4);
  EXPECT_THROW(g->LoadFromMDBSQL(t.FileS("d.db"), u"DELETE FROM \"ch list\""), EExchangeError);
  EXPECT_THROW(g->LoadFromMDBTable(t.FileS("d.db"), u"x\"; DROP TABLE \"ch list"), EExchangeError);
}

TEST(GridHtml, CopyAsHtmlPutsUtf8HtmlAndItsTextOnTheClipboard) {
  TGridForm f;
  DEreDuzeroVaro* g = f.grid;
  Fill(g);
  g->CopyToClipBoardAsHTML();
  const std::string html = StringToUTF8(g->SaveToHTMLString(u""));
  EXPECT_EQ(Clipboard()->GetAsBytes(RegisterClipboardFormat(u"HTML Format")), html);
  EXPECT_NE(html.find("ﾁｬﾝﾈﾙ"), std::string::npos) << "UTF-8, not a single-byte page";
  EXPECT_EQ(html.find("Version:"), std::string::npos) << "no envelope";
  EXPECT_EQ(StringToUTF8(Clipboard()->AsText()), html);
}
