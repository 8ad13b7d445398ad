// The exchange library against the real readers and writers of the formats: python3's
// openpyxl, odf, docx and xlwt, the sqlite3 shell and xmllint.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "platform/exchange/Exchange.h"
#include "platform/rtl/SysUtils.h"
#include "testing/TempFolder.h"

using namespace exchange;

namespace {

// Runs a script with the system's python3 (where the Debian packages put the readers) with arguments; its standard output. A failing script fails the test.
std::string Python(const TempFolder& T, const std::string& Script, const std::string& Args = {}) {
  T.Write("script.py", Script);
  std::string out;
  FILE* p = ::popen(("/usr/bin/python3 " + T.File("script.py") + " " + Args + " 2>&1").c_str(), "r");
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  int st = ::pclose(p);
  EXPECT_EQ(st, 0) << out;
  return out;
}

std::string Q(const TempFolder& T, const std::string& Name) { return "'" + T.File(Name) + "'"; }

std::vector<std::vector<String>> Sample() {
  return {{u"Name", u"Level", u"Note"}, {u"ch1", u"12", u"a&b <c>"}, {u"ﾁｬﾝﾈﾙ", u"-3.5", u"two\r\nlines"}, {u"007", u"", u"1.50"}};
}

// The cells of a sheet as "row,col=text" lines.
std::string Dump(const TSheetData& D) {
  std::string s;
  for (const TSheetCell& c : D.Cells) s += std::to_string(c.Row) + "," + std::to_string(c.Col) + "=" + StringToUTF8(c.Text) + "\n";
  return s;
}

}  // namespace

TEST(ExchangeTest, ColumnLettersGoPastZZ) {
  struct {
    int Col;
    const char16_t* Letters;
  } cases[] = {{1, u"A"}, {26, u"Z"}, {27, u"AA"}, {52, u"AZ"}, {702, u"ZZ"}, {703, u"AAA"}, {16384, u"XFD"}};
  for (auto& c : cases) {
    EXPECT_EQ(ColumnLetters(c.Col), String(c.Letters));
    EXPECT_EQ(LettersToColumn(c.Letters), c.Col);
  }
  for (const char16_t* bad : {u"", u"A1", u"XFE", u"AAAA", u"$A"}) EXPECT_EQ(LettersToColumn(bad), 0) << StringToUTF8(bad);
  EXPECT_EQ(LettersToColumn(u"ad"), 30);
}

TEST(ExchangeTest, NewXlsxReadsInOpenpyxlAndBack) {
  TempFolder t;
  WriteWorkbookSheet(t.FileS("a.xlsx"), u"Grid", Sample(), true);
  std::string out = Python(t, R"(
import openpyxl, sys
wb = openpyxl.load_workbook(sys.argv[1])
print(wb.sheetnames)
for row in wb['Grid'].iter_rows(values_only=True): print(repr(row))
)", Q(t, "a.xlsx"));
  EXPECT_EQ(out,
            "['Grid']\n('Name', 'Level', 'Note')\n('ch1', 12, 'a&b <c>')\n('ﾁｬﾝﾈﾙ', -3.5, 'two\\nlines')\n('007', None, '1.50')\n");
  TSheetData d = ReadWorkbookSheet(t.FileS("a.xlsx"), u"");
  EXPECT_EQ(Dump(d), "1,1=Name\n1,2=Level\n1,3=Note\n2,1=ch1\n2,2=12\n2,3=a&b <c>\n3,1=ﾁｬﾝﾈﾙ\n3,2=-3.5\n3,3=two\r\nlines\n4,1=007\n4,3=1.50\n");
}

TEST(ExchangeTest, ReadsOpenpyxlWorkbooks) {
  TempFolder t;
  Python(t, R"(
import openpyxl, sys, datetime
wb = openpyxl.Workbook()
a = wb.active; a.title = 'First'; a['A1'] = 'x'
b = wb.create_sheet('Data')
b['B3'] = 'top'; b['C3'] = 1.25; b['D3'] = True
b['B4'] = 'shared'; b['C4'] = 'shared'; b['D5'] = datetime.date(2024, 1, 15)
b['C5'] = '=1/0'
wb.active = 1
wb.save(sys.argv[1])
)", Q(t, "o.xlsx"));
  std::vector<String> names = WorkbookSheets(t.FileS("o.xlsx"));
  ASSERT_EQ(names, (std::vector<String>{u"First", u"Data"}));
  TSheetData d = ReadWorkbookSheet(t.FileS("o.xlsx"), u"");  // the active sheet
  EXPECT_EQ(d.Row1, 3);
  EXPECT_EQ(d.Col1, 2);
  EXPECT_EQ(d.Row2, 5);
  EXPECT_EQ(d.Col2, 4);
  std::string dump = Dump(d);
  EXPECT_NE(dump.find("3,3=1.25\n3,4=TRUE\n4,2=shared\n4,3=shared\n"), std::string::npos) << dump;
  EXPECT_NE(dump.find("5,4="), std::string::npos) << dump;
  EXPECT_EQ(dump.find("5,4=45306"), std::string::npos) << "a date cell reads as a date: " << dump;
  EXPECT_EQ(Dump(ReadWorkbookSheet(t.FileS("o.xlsx"), u"First")), "1,1=x\n");
  try {
    ReadWorkbookSheet(t.FileS("o.xlsx"), u"Nope");
    FAIL();
  } catch (const EExchangeError& e) {
    EXPECT_EQ(e.Message(), u"Excel worksheet Nope not found");
  }
}

TEST(ExchangeTest, ChangingAnXlsxKeepsEveryOtherPart) {
  TempFolder t;
  Python(t, R"(
import openpyxl, sys
wb = openpyxl.Workbook()
wb.active.title = 'Keep'; wb.active['A1'] = 'kept'; wb.active['B2'] = 5
d = wb.create_sheet('Data'); d['A1'] = 'old'; d['C9'] = 'old too'
wb.save(sys.argv[1])
)", Q(t, "e.xlsx"));
  std::string before = t.Read("e.xlsx");
  WriteWorkbookSheet(t.FileS("e.xlsx"), u"Data", {{u"new", u"2"}}, false);
  WriteWorkbookSheet(t.FileS("e.xlsx"), u"Added", {{u"x"}, {u"", u"y"}}, false);
  t.Write("before.xlsx", before);
  std::string out = Python(t, R"(
import openpyxl, sys, zipfile
wb = openpyxl.load_workbook(sys.argv[1])
print(wb.sheetnames)
for n in wb.sheetnames: print(n, [r for r in wb[n].iter_rows(values_only=True)])
a, b = zipfile.ZipFile(sys.argv[2]), zipfile.ZipFile(sys.argv[1])
changed = {'xl/workbook.xml', 'xl/_rels/workbook.xml.rels', '[Content_Types].xml', 'xl/worksheets/sheet2.xml'}
for n in a.namelist():
    if n not in changed and a.read(n) != b.read(n): print('differs', n)
)", Q(t, "e.xlsx") + " " + Q(t, "before.xlsx"));
  EXPECT_EQ(out,
            "['Keep', 'Data', 'Added']\nKeep [('kept', None), (None, 5)]\nData [('new', 2)]\nAdded [('x', None), (None, "
            "'y')]\n");
}

TEST(ExchangeTest, OdsBothWays) {
  TempFolder t;
  WriteWorkbookSheet(t.FileS("n.ods"), u"Grid", Sample(), true);
  std::string out = Python(t, R"(
import sys
from odf.opendocument import load
from odf.table import Table, TableRow, TableCell
from odf import teletype
doc = load(sys.argv[1])
for tb in doc.spreadsheet.getElementsByType(Table):
    print(tb.getAttribute('name'))
    for r in tb.getElementsByType(TableRow):
        print([(c.getAttribute('valuetype'), teletype.extractText(c)) for c in r.getElementsByType(TableCell)])
)", Q(t, "n.ods"));
  EXPECT_NE(out.find("Grid\n[('string', 'Name'), ('string', 'Level'), ('string', 'Note')]\n[('string', 'ch1'), ('float', '12'), "
                     "('string', 'a&b <c>')]"),
            std::string::npos)
      << out;
  // A sheet written by odf, with repeated cells and a million empty rows at the end.
  Python(t, R"(
import sys
from odf.opendocument import OpenDocumentSpreadsheet
from odf.table import Table, TableRow, TableCell
from odf.text import P
doc = OpenDocumentSpreadsheet()
for name in ('One', 'Two'):
    tb = Table(name=name)
    r = TableRow(); tb.addElement(r)
    c = TableCell(numbercolumnsrepeated=2); r.addElement(c)
    c = TableCell(valuetype='float', value='2.5', numbercolumnsrepeated=3); c.addElement(P(text='2,50')); r.addElement(c)
    r = TableRow(); tb.addElement(r)
    c = TableCell(valuetype='string'); c.addElement(P(text=name)); c.addElement(P(text='x')); r.addElement(c)
    tb.addElement(TableRow(numberrowsrepeated=1048570))
    doc.spreadsheet.addElement(tb)
doc.save(sys.argv[1])
)", Q(t, "o.ods"));
  EXPECT_EQ(WorkbookSheets(t.FileS("o.ods")), (std::vector<String>{u"One", u"Two"}));
  TSheetData d = ReadWorkbookSheet(t.FileS("o.ods"), u"Two");
  EXPECT_EQ(Dump(d), "1,3=2.5\n1,4=2.5\n1,5=2.5\n2,1=Two\r\nx\n");
  EXPECT_EQ(d.Row2, 2);
  // Changing it replaces one table and adds another; the rest stays.
  WriteWorkbookSheet(t.FileS("o.ods"), u"One", {{u"1"}}, false);
  WriteWorkbookSheet(t.FileS("o.ods"), u"Three", {{u"z"}}, false);
  EXPECT_EQ(WorkbookSheets(t.FileS("o.ods")), (std::vector<String>{u"One", u"Two", u"Three"}));
  EXPECT_EQ(Dump(ReadWorkbookSheet(t.FileS("o.ods"), u"One")), "1,1=1\n");
  EXPECT_EQ(Dump(ReadWorkbookSheet(t.FileS("o.ods"), u"Two")), Dump(d));
  Python(t, "import sys\nfrom odf.opendocument import load\nload(sys.argv[1])\n", Q(t, "o.ods"));
}

TEST(ExchangeTest, XlsIsReadOnly) {
  TempFolder t;
  Python(t, R"(
import xlwt, sys
wb = xlwt.Workbook()
s = wb.add_sheet('Old'); s.write(0, 0, 'a'); s.write(1, 1, 3.5); s.write(2, 2, 7)
wb.add_sheet('Second').write(0, 0, 'b')
wb.save(sys.argv[1])
)", Q(t, "o.xls"));
  EXPECT_EQ(WorkbookSheets(t.FileS("o.xls")), (std::vector<String>{u"Old", u"Second"}));
  EXPECT_EQ(Dump(ReadWorkbookSheet(t.FileS("o.xls"), u"")), "1,1=a\n2,2=3.5\n3,3=7\n");
  EXPECT_EQ(Dump(ReadWorkbookSheet(t.FileS("o.xls"), u"Second")), "1,1=b\n");
  EXPECT_THROW(WriteWorkbookSheet(t.FileS("o.xls"), u"Old", {{u"x"}}, true), EExchangeError);
}

TEST(ExchangeTest, WritingRefusesWhatAWorkbookCannotHold) {
  TempFolder t;
  EXPECT_THROW(WriteWorkbookSheet(t.FileS("a.xlsx"), u"bad/name", {{u"x"}}, true), EExchangeError);
  EXPECT_THROW(WriteWorkbookSheet(t.FileS("a.txt"), u"S", {{u"x"}}, true), EExchangeError);
  EXPECT_THROW(WriteWorkbookSheet(t.FileS("missing/a.xlsx"), u"S", {{u"x"}}, true), EExchangeError);
  EXPECT_THROW(ReadWorkbookSheet(t.FileS("none.xlsx"), u""), EExchangeError);
}

TEST(ExchangeTest, DamagedWorkbooksRaiseAndNeverCrash) {
  TempFolder t;
  WriteWorkbookSheet(t.FileS("v.xlsx"), u"S", Sample(), true);
  WriteWorkbookSheet(t.FileS("v.ods"), u"S", Sample(), true);
  std::mt19937 rng(21);
  for (const char* name : {"v.xlsx", "v.ods"}) {
    const std::string good = t.Read(name);
    const std::string ext = std::string(name).substr(1);
    for (int i = 0; i < 60; ++i) {
      std::string bad = good;
      if (i % 3 == 0) bad.resize(rng() % bad.size());
      else
        for (int k = 0; k < 4; ++k) bad[rng() % bad.size()] ^= static_cast<char>(1 + rng() % 255);
      t.Write("m" + ext, bad);
      try {
        ReadWorkbookSheet(t.FileS("m" + ext), u"");
      } catch (const EExchangeError& e) {
        EXPECT_NE(e.Message().find(t.FileS("m" + ext)), String::npos) << e.what();
      }
    }
  }
  // A shared string index beyond the list, and an entry packed far beyond any real workbook.
  Python(t, R"(
import zipfile, sys
src = zipfile.ZipFile(sys.argv[1]); dst = zipfile.ZipFile(sys.argv[2], 'w', zipfile.ZIP_DEFLATED)
for n in src.namelist():
    data = src.read(n)
    if n == 'xl/worksheets/sheet1.xml': data = data.replace(b'<c r="A1" t="inlineStr"><is><t xml:space="preserve">Name</t></is></c>', b'<c r="A1" t="s"><v>99</v></c>')
    if n == 'xl/workbook.xml': pass
    dst.writestr(n, data)
dst.writestr('xl/sharedStrings.xml', '<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><si><t>a</t></si></sst>')
dst.close()
bomb = zipfile.ZipFile(sys.argv[3], 'w', zipfile.ZIP_DEFLATED)
for n in src.namelist():
    bomb.writestr(n, src.read(n) if n != 'xl/worksheets/sheet1.xml' else b'<worksheet>' + b' ' * (40 << 20) + b'</worksheet>')
bomb.close()
)", Q(t, "v.xlsx") + " " + Q(t, "sst.xlsx") + " " + Q(t, "bomb.xlsx"));
  WriteWorkbookSheet(t.FileS("v.xlsx"), u"S", Sample(), false);  // inline strings: keep them as written
  EXPECT_THROW(ReadWorkbookSheet(t.FileS("bomb.xlsx"), u""), EExchangeError);
}

TEST(ExchangeTest, DocxWithTableAndAppendAtBookmark) {
  TempFolder t;
  TDocTable tab{u"Channels", {{{u"Name"}, {u"Level", TDocAlign::Right}}, {{u"a\r\nb"}, {u"12", TDocAlign::Center}}}};
  WriteDocument(t.FileS("n.docx"), tab);
  std::string py = R"(
import docx, sys
d = docx.Document(sys.argv[1])
for block in d.element.body.iterchildren():
    tag = block.tag.split('}')[1]
    if tag == 'p': print('P', repr(''.join(x.text for x in block.iter() if x.tag.endswith('}t'))))
    if tag == 'tbl': print('T')
for tb in d.tables:
    for r in tb.rows: print([(c.text, str(c.paragraphs[0].alignment)) for c in r.cells])
)";
  EXPECT_EQ(Python(t, py, Q(t, "n.docx")),
            "P 'Channels'\nT\nP ''\n[('Name', 'None'), ('Level', 'RIGHT (2)')]\n[('a\\nb', 'None'), ('12', 'CENTER (1)')]\n");
  Python(t, R"(
import docx, sys
from docx.oxml import OxmlElement
from docx.oxml.ns import qn
d = docx.Document()
d.add_paragraph('first')
p = d.add_paragraph('here')
b = OxmlElement('w:bookmarkStart'); b.set(qn('w:id'), '0'); b.set(qn('w:name'), 'mark'); p._p.append(b)
e = OxmlElement('w:bookmarkEnd'); e.set(qn('w:id'), '0'); p._p.append(e)
d.add_paragraph('last')
d.save(sys.argv[1])
)", Q(t, "b.docx"));
  AppendToDocument(t.FileS("b.docx"), u"mark", tab);
  AppendToDocument(t.FileS("b.docx"), u"nomark", TDocTable{u"end", {{{u"z"}}}});
  std::string out = Python(t, py, Q(t, "b.docx"));
  EXPECT_EQ(out.substr(0, out.find("[")), "P 'first'\nP 'here'\nP 'Channels'\nT\nP ''\nP 'last'\nP 'end'\nT\nP ''\n") << out;
  EXPECT_THROW(AppendToDocument(t.FileS("none.docx"), u"", tab), EExchangeError);
  t.Write("bad.docx", "not a zip");
  EXPECT_THROW(AppendToDocument(t.FileS("bad.docx"), u"", tab), EExchangeError);
}

TEST(ExchangeTest, OdtWithTableAndAppend) {
  TempFolder t;
  TDocTable tab{u"Channels", {{{u"Name"}, {u"Level", TDocAlign::Right}}, {{u"x"}, {u"12", TDocAlign::Center}}}};
  WriteDocument(t.FileS("n.odt"), tab);
  AppendToDocument(t.FileS("n.odt"), u"", TDocTable{u"more", {{{u"y"}}}});
  std::string out = Python(t, R"(
import sys
from odf.opendocument import load
from odf.table import Table, TableCell
from odf.text import P
from odf import teletype
from odf.style import Style, ParagraphProperties
d = load(sys.argv[1])
align = {}
for s in d.automaticstyles.getElementsByType(Style):
    for pp in s.getElementsByType(ParagraphProperties): align[s.getAttribute('name')] = pp.getAttribute('textalign')
for tb in d.text.getElementsByType(Table):
    print(tb.getAttribute('name'), [(teletype.extractText(c), align.get(c.getElementsByType(P)[0].getAttribute('stylename'))) for c in tb.getElementsByType(TableCell)])
)", Q(t, "n.odt"));
  EXPECT_EQ(out, "Grid1 [('Name', None), ('Level', 'end'), ('x', None), ('12', 'center')]\nGrid2 [('y', None)]\n");
}

TEST(ExchangeTest, SqliteReadOnlyOneStatement) {
  TempFolder t;
  t.Write("make.sql", "CREATE TABLE \"my \"\"table\" (id INTEGER, name TEXT, note TEXT);\n"
                      "INSERT INTO \"my \"\"table\" VALUES (1, 'ﾁｬﾝﾈﾙ', NULL), (2, 'b', 'x');\n");
  int st = std::system(("sqlite3 " + Q(t, "d.db") + " < " + Q(t, "make.sql")).c_str());
  ASSERT_EQ(st, 0);
  TQueryResult r = QueryDatabase(t.FileS("d.db"), u"SELECT * FROM " + QuoteIdentifier(u"my \"table"), 100);
  ASSERT_EQ(r.Fields, (std::vector<String>{u"id", u"name", u"note"}));
  ASSERT_EQ(r.Rows.size(), 2u);
  EXPECT_EQ(*r.Rows[0][1], u"ﾁｬﾝﾈﾙ");
  EXPECT_FALSE(r.Rows[0][2].has_value());
  EXPECT_EQ(QueryDatabase(t.FileS("d.db"), u"SELECT 1; -- a comment", 10).Rows.size(), 1u);
  const char16_t* refused[] = {u"SELECT 1; DROP TABLE x", u"DELETE FROM \"my \"\"table\"", u"SELEC", u""};
  for (const char16_t* sql : refused) EXPECT_THROW(QueryDatabase(t.FileS("d.db"), sql, 10), EExchangeError) << StringToUTF8(sql);
  EXPECT_THROW(QueryDatabase(t.FileS("d.db"), u"SELECT * FROM \"my \"\"table\"", 1), EExchangeError);
  t.Write("count.sql", "SELECT count(*) FROM \"my \"\"table\";\n");
  EXPECT_EQ(std::system(("sqlite3 " + Q(t, "d.db") + " < " + Q(t, "count.sql") + " | grep -qx 2").c_str()), 0);
  t.Write("junk.db", std::string(4096, 'j'));
  EXPECT_THROW(QueryDatabase(t.FileS("junk.db"), u"SELECT 1 FROM sqlite_master", 10), EExchangeError);
  EXPECT_THROW(QueryDatabase(t.FileS("none.db"), u"SELECT 1", 10), EExchangeError);
}

TEST(ExchangeTest, XmlLoadsWithoutNetworkOrExternalEntities) {
  TempFolder t;
  t.Write("secret.txt", "SECRET");
  t.Write("x.xml", "<?xml version=\"1.0\"?>\n<!DOCTYPE l [<!ENTITY s SYSTEM \"file://" + t.File("secret.txt") +
                       "\">]>\n<l>\n  <r a=\"1\"><f>a&amp;lt;b</f>  <g>&s;</g></r>\n</l>\n");
  TXmlNode root = LoadXmlDocument(t.FileS("x.xml"));
  ASSERT_EQ(root.Children.size(), 1u);
  const TXmlNode& r = root.Children[0];
  EXPECT_EQ(r.Attributes.size(), 1u);
  ASSERT_EQ(r.Children.size(), 2u);  // blank text between the fields dropped
  EXPECT_EQ(r.Children[0].Text(), u"a&lt;b");
  EXPECT_EQ(r.Children[1].Text().find(u"SECRET"), String::npos);
  t.Write("bad.xml", "<a>\n<b>\n</a>");
  try {
    LoadXmlDocument(t.FileS("bad.xml"));
    FAIL();
  } catch (const EXmlParseError& e) {
    EXPECT_EQ(e.Line, 3);
    EXPECT_EQ(e.Message().rfind(u"XMLDOM Parsing error " + IntToStr(e.Code) + u" on line 3", 0), 0u);
  }
  EXPECT_THROW(LoadXmlDocument(t.FileS("none.xml")), EExchangeError);
  std::string deep;
  for (int i = 0; i < 5000; ++i) deep += "<a>";
  t.Write("deep.xml", deep);
  EXPECT_THROW(LoadXmlDocument(t.FileS("deep.xml")), EXmlParseError);
}

TEST(ExchangeTest, DamagedDocumentsXmlXlsAndDatabasesRaiseAndNeverCrash) {
  TempFolder t;
  const TDocTable tab{u"c", {{{u"x"}}}};
  WriteDocument(t.FileS("v.docx"), tab);
  WriteDocument(t.FileS("v.odt"), tab);
  t.Write("v.xml", "<?xml version=\"1.0\"?>\n<l><r a=\"1\"><f>x&amp;y</f><g>2</g></r><r><f>3</f></r></l>\n");
  Python(t, "import xlwt, sys\nwb = xlwt.Workbook(); s = wb.add_sheet('S')\nfor r in range(20): s.write(r, r % 5, 'v%d' % r)\nwb.save(sys.argv[1])\n",
         Q(t, "v.xls"));
  t.Write("make.sql", "CREATE TABLE t (a, b);\nINSERT INTO t VALUES (1, 'x'), (2, 'y');\n");
  ASSERT_EQ(std::system(("sqlite3 " + Q(t, "v.db") + " < " + Q(t, "make.sql")).c_str()), 0);
  std::mt19937 rng(2126);
  for (const char* name : {"v.docx", "v.odt", "v.xml", "v.xls", "v.db"}) {
    const std::string good = t.Read(name), ext = std::string(name).substr(1);
    for (int i = 0; i < 40; ++i) {
      std::string bad = good;
      if (i % 3 == 0) bad.resize(rng() % bad.size());
      else
        for (int k = 0; k < 4; ++k) bad[rng() % bad.size()] ^= static_cast<char>(1 + rng() % 255);
      const String file = t.FileS("m" + ext);
      t.Write("m" + ext, bad);
      try {
        if (ext == ".xml") LoadXmlDocument(file);
        else if (ext == ".xls") ReadWorkbookSheet(file, u"");
        else if (ext == ".db") QueryDatabase(file, u"SELECT * FROM t", 100);
        else AppendToDocument(file, u"", tab);
      } catch (const EExchangeError&) {
      }
    }
  }
  // Repeated cells of an .ods claiming billions of values are refused before they are made.
  Python(t, R"(
import sys, zipfile
content = ('<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
  'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0">'
  '<office:body><office:spreadsheet><table:table table:name="S"><table:table-row table:number-rows-repeated="1048576">'
  '<table:table-cell table:number-columns-repeated="16384" office:value-type="string"><text:p>x</text:p></table:table-cell>'
  '</table:table-row></table:table></office:spreadsheet></office:body></office:document-content>')
z = zipfile.ZipFile(sys.argv[1], 'w'); z.writestr('mimetype', 'application/vnd.oasis.opendocument.spreadsheet'); z.writestr('content.xml', content); z.close()
)", Q(t, "big.ods"));
  EXPECT_THROW(ReadWorkbookSheet(t.FileS("big.ods"), u""), EExchangeError);
}
