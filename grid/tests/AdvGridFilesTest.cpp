// The grid's plain text files: text grid file, CSV (read back and written by Python's csv
// module as an independent reader), fixed-width text, and damaged input.
#include <gtest/gtest.h>

#include <random>

#include "grid/tests/GridTestSupport.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"
#include "testing/TempFolder.h"
#include "testing/XSession.h"

namespace {

constexpr char kCRLF[] = "\r\n";

std::string Utf16ToAscii(const std::string& Bytes) {
  std::string out;
  for (size_t i = 0; i + 1 < Bytes.size(); i += 2) out.push_back(Bytes[i]);
  return out;
}

}  // namespace

TEST(GridTextFile, WritesCellsAndReadsThemBack) {
  TGridForm f;
  TempFolder tmp;
  DEreDuzeroVaro* g = f.grid;
  PlainGrid(g, 4, 3);
  g->SetCells(3, 2, u"a,b");
  g->SetCells(0, 0, u"x\r\ny");
  g->SetCells(1, 1, u"lf\nonly");
  g->SaveToFile(tmp.FileS("g.txt"), true);
  std::string bytes = tmp.Read("g.txt");
  ASSERT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  std::string text = Utf16ToAscii(bytes.substr(2));
  EXPECT_EQ(text.substr(0, 5), "4,3\r\n");
  EXPECT_NE(text.find("3,2,a,b\r\n"), std::string::npos);
  EXPECT_NE(text.find(std::string("0,0,x\x09\x08y") + kCRLF), std::string::npos);
  // A text with LF but no CR is encoded too in the file, so that it comes back whole.
  EXPECT_NE(text.find(std::string("1,1,lf\x08only") + kCRLF), std::string::npos);

  TGridForm f2;
  f2.grid->SetMultilinecells(true);
  f2.grid->LoadFromFile(tmp.FileS("g.txt"));
  EXPECT_EQ(f2.grid->ColCount(), 4);
  EXPECT_EQ(f2.grid->RowCount(), 3);
  EXPECT_EQ(f2.grid->Cells(3, 2), u"a,b");
  EXPECT_EQ(f2.grid->Cells(0, 0), u"x\r\ny");
  EXPECT_EQ(f2.grid->Cells(1, 1), u"lf\nonly");
  // Without MultilineCells only the first line of a multi-line text is read.
  TGridForm f3;
  f3.grid->LoadFromFile(tmp.FileS("g.txt"));
  EXPECT_EQ(f3.grid->Cells(0, 0), u"x");
}

TEST(GridTextFile, FixedCellsAreLeftOutAndAddedBackByTheReader) {
  TGridForm f;
  TempFolder tmp;
  DEreDuzeroVaro* g = f.grid;
  g->SetColCount(4);
  g->SetRowCount(3);
  g->SetFixedRows(1);
  g->SetFixedCols(1);
  g->SetSaveFixedCells(false);
  g->SetCells(2, 2, u"v");
  g->SaveToFile(tmp.FileS("g.txt"), false);
  EXPECT_EQ(tmp.Read("g.txt").substr(0, 5), "3,2\r\n");
  TGridForm f2;
  f2.grid->SetFixedRows(1);
  f2.grid->SetFixedCols(1);
  f2.grid->SetSaveFixedCells(false);
  f2.grid->LoadFromFile(tmp.FileS("g.txt"));
  EXPECT_EQ(f2.grid->ColCount(), 4);
  EXPECT_EQ(f2.grid->RowCount(), 3);
  EXPECT_EQ(f2.grid->Cells(2, 2), u"v");
}

TEST(GridTextFile, BadFilesRaiseAndLeaveTheGrid) {
  TGridForm f;
  TempFolder tmp;
  DEreDuzeroVaro* g = f.grid;
  PlainGrid(g, 3, 3);
  g->SetCells(1, 1, u"keep");
  EXPECT_THROW(g->LoadFromFile(tmp.FileS("missing.txt")), EFOpenError);
  EXPECT_EQ(g->Cells(1, 1), u"keep");
  EXPECT_EQ(g->ColCount(), 3);

  tmp.Write("zero.txt", "0,5\r\n1,1,x\r\n");
  try {
    g->LoadFromFile(tmp.FileS("zero.txt"));
    FAIL() << "no error";
  } catch (const VUreReriVorov& e) {
    EXPECT_EQ(e.Message(), u"File contains no data or corrupt file " + tmp.FileS("zero.txt"));
  }
  // A header asking for more than a grid can hold is cut to the largest counts.
  tmp.Write("huge.txt", "99999999999,99999999999\r\n2,2,z\r\n");
  PlainGrid(g, 3, 3);
  g->LoadFromFile(tmp.FileS("huge.txt"));
  EXPECT_EQ(g->ColCount(), DEreDuzeroVaro::GridMaxColCount);
  EXPECT_EQ(g->RowCount(), DEreDuzeroVaro::GridMaxRowCount);
  EXPECT_EQ(g->Cells(2, 2), u"z");
}

TEST(GridTextFile, ALoadDuringALoadIsRefused) {
  TGridForm f;
  TempFolder tmp;
  DEreDuzeroVaro* g = f.grid;
  tmp.Write("a.txt", "2,2\r\n0,0,a\r\n1,1,b\r\n");
  bool refused = false;
  g->OnFileProgress = [&](TObject*, int16_t) {
    try {
      g->LoadFromFile(tmp.FileS("a.txt"));
    } catch (const VUreReriVorov&) {
      refused = true;
    }
  };
  g->LoadFromFile(tmp.FileS("a.txt"));
  EXPECT_TRUE(refused);
  EXPECT_EQ(g->Cells(1, 1), u"b");
  g->OnFileProgress = nullptr;
  g->LoadFromFile(tmp.FileS("a.txt"));  // the guard is released after the load
}

TEST(GridTextFile, StreamKeepsAnLFOnlyTextAndStopsAtTheNextBlock) {
  TGridForm f;
  DEreDuzeroVaro* g = f.grid;
  PlainGrid(g, 2, 2);
  g->SetCells(0, 0, u"a\nb");
  TMemoryStream ms;
  g->SaveToStream(&ms);
  PlainGrid(g, 5, 4);
  g->SetCells(4, 3, u"second");
  g->SaveToStream(&ms);
  ms.SetPosition(0);
  TGridForm f2;
  f2.grid->LoadFromStream(&ms);
  EXPECT_EQ(f2.grid->Cells(0, 0), u"a\nb");
  EXPECT_EQ(f2.grid->ColCount(), 2);
  f2.grid->LoadFromStream(&ms);
  EXPECT_EQ(f2.grid->ColCount(), 5);
  EXPECT_EQ(f2.grid->Cells(4, 3), u"second");
}

TEST(GridTextFile, CellToReal) {
  TGridForm f;
  DEreDuzeroVaro* g = f.grid;
  PlainGrid(g, 2, 2);
  struct Case {
    const char16_t* Text;
    double Value;
  } cases[] = {{u"", 0}, {u"12abc", 12}, {u"-3.5", -3.5}, {u" 7", 7}, {u"1e3", 1000}};
  for (const Case& c : cases) {
    g->SetCells(1, 1, c.Text);
    EXPECT_DOUBLE_EQ(g->CellToReal(1, 1), c.Value) << StringToUTF8(c.Text);
  }
  TFormatSettings saved = FormatSettings;
  FormatSettings.ThousandSeparator = u'.';
  FormatSettings.DecimalSeparator = u',';
  g->SetCells(1, 1, u"(1.234,50)");
  double v = g->CellToReal(1, 1);
  FormatSettings = saved;
  EXPECT_DOUBLE_EQ(v, -1234.5);
  g->SetCells(0, 1, u"abc");
  try {
    g->CellToReal(0, 1);
    FAIL() << "no error";
  } catch (const VUreReriVorov& e) {
    EXPECT_EQ(e.Message(), u"Error at position: 1 in Cell [0, 1].");
  }
}

TEST(GridCSV, WriterQuotesAsTheFormatSays) {
  TGridForm f;
  TempFolder tmp;
  DEreDuzeroVaro* g = f.grid;
  PlainGrid(g, 2, 2);
  g->SetCells(0, 0, u"a");
  g->SetCells(0, 1, u"x,y");
  g->SetCells(1, 1, u"b\"c");
  g->SaveToCSV(tmp.FileS("a.csv"));
  EXPECT_EQ(tmp.Read("a.csv"), "a,\"\"\r\n\"x,y\",\"b\"\"c\"\r\n");
  // Any line break encodes and quotes the field, so the record stays on one line.
  g->SetCells(0, 0, u"l1\r\nl2");
  g->SetCells(1, 0, u"lf\nonly");
  g->SaveToCSV(tmp.FileS("b.csv"));
  EXPECT_EQ(tmp.Read("b.csv").substr(0, 19), "\"l1\x0bl2\",\"lf\nonly\"\r\n");
  // JavaCSV: "~" for line breaks, "^" for empty fields, a field with the delimiter quoted.
  g->SetJavaCSV(true);
  g->SetCells(1, 0, u"");
  g->SaveToCSV(tmp.FileS("c.csv"));
  EXPECT_EQ(tmp.Read("c.csv"), "l1~l2,^\r\n\"x,y\",\"b\"\"c\"\r\n");
  TGridForm f2;
  PlainGrid(f2.grid, 1, 1);
  f2.grid->SetJavaCSV(true);
  f2.grid->LoadFromCSV(tmp.FileS("c.csv"));
  EXPECT_EQ(f2.grid->Cells(0, 0), u"l1\r\nl2");
  EXPECT_EQ(f2.grid->Cells(1, 0), u"");
  EXPECT_EQ(f2.grid->Cells(0, 1), u"x,y");
}

// Each field is quoted and its CR LF encoded by what it holds: quotes alone quote it (CR LF
// becomes LF), a delimiter or a line break encloses it (CR LF becomes character 11); the
// options and another delimiter change which fields that is. The Unicode form is UTF-8 with
// its mark (a lone surrogate as U+FFFD).
TEST(GridCSV, FieldsAreQuotedAndTheirLineBreaksEncodedByWhatTheyHold) {
  struct TCase {
    const char* Name;
    std::vector<String> Cells;
    Char Delimiter;
    bool AlwaysQuotes, QuoteEmpty, Unicode;
    std::string Expected;
  };
  const TCase cases[] = {
      {"defaults",
       {u"a\"b", u"q\"\r\nx", u"d,\r\ne", u"\r\r\n", u"x,\"y\"", u"", u"lf\n"},
       0, false, true, false,
       "\"a\"\"b\",\"q\"\"\nx\",\"d,\x0b" "e\",\"\r\x0b\",\"x,\"\"y\"\"\",\"\",\"lf\n\"\r\n"},
      {"always quotes", {u"p", u"a,\r\nb", u"", u"c\r\nd"}, 0, true, false, false,
       "\"p\",\"a,\nb\",\"\",\"c\nd\"\r\n"},
      {"empty unquoted", {u"", u"v", u""}, 0, false, false, false, ",v,\r\n"},
      {"tab delimiter", {u"a,b", u"a\tb", u"\"", u" "}, u'\t', false, true, false,
       "a,b\t\"a\tb\"\t\"\"\"\"\t \r\n"},
      {"unicode",
       {u"\u00e9", String(u"\U0001F600"), String(1, Char(0xDC00)), u"\u3042,"},
       0, false, true, true,
       "\xEF\xBB\xBF\xC3\xA9,\xF0\x9F\x98\x80,\xEF\xBF\xBD,\"\xE3\x81\x82,\"\r\n"},
  };
  for (const TCase& c : cases) {
    TGridForm f;
    TempFolder tmp;
    DEreDuzeroVaro* g = f.grid;
    PlainGrid(g, static_cast<int>(c.Cells.size()), 1);
    for (size_t i = 0; i < c.Cells.size(); ++i) g->SetCells(static_cast<int>(i), 0, c.Cells[i]);
    g->SetDelimiter(c.Delimiter);
    g->SetAlwaysQuotes(c.AlwaysQuotes);
    g->SetQuoteEmptyCells(c.QuoteEmpty);
    g->SaveToCSV(tmp.FileS("f.csv"), c.Unicode);
    EXPECT_EQ(tmp.Read("f.csv"), c.Expected) << c.Name;
  }
}

TEST(GridCSV, PythonReadsWhatTheGridWritesAndTheGridReadsWhatPythonWrites) {
  TGridForm f;
  TempFolder tmp;
  DEreDuzeroVaro* g = f.grid;
  PlainGrid(g, 3, 3);
  const char16_t* texts[3][3] = {{u"plain", u"with,comma", u"q\"uote"},
                                 {u"", u"日本語ﾃｷｽﾄ", u"end,\"both\""},
                                 {u" lead", u"x;y", u"7"}};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) g->SetCells(c, r, texts[r][c]);
  g->SaveToCSV(tmp.FileS("g.csv"), true);
  std::string out = e2e::Shell("python3 -c \"import csv,json,sys; print(json.dumps(list(csv.reader(open(sys.argv[1], "
                          "encoding='utf-8-sig', newline='')))))\" " + tmp.File("g.csv"));
  EXPECT_EQ(out,
            "[[\"plain\", \"with,comma\", \"q\\\"uote\"], [\"\", \"\\u65e5\\u672c\\u8a9e\\uff83\\uff77\\uff7d\\uff84\", "
            "\"end,\\\"both\\\"\"], [\" lead\", \"x;y\", \"7\"]]\n");

  // Python's own file: a field with CR LF inside quotes runs over two lines.
  e2e::Shell("python3 -c \"import csv,sys; w=csv.writer(open(sys.argv[1],'w',encoding='utf-8-sig',newline='')); "
        "w.writerow(['a','two\\r\\nlines','c']); w.writerow(['x','\\\"q\\\"','']); w.writerow(['1,5','',''])\" " +
        tmp.File("p.csv"));
  TGridForm f2;
  PlainGrid(f2.grid, 1, 1);
  f2.grid->SetDelimiter(u',');
  f2.grid->LoadFromCSV(tmp.FileS("p.csv"));
  EXPECT_EQ(f2.grid->RowCount(), 3);
  EXPECT_EQ(f2.grid->Cells(1, 0), u"two\r\nlines");
  EXPECT_EQ(f2.grid->Cells(2, 0), u"c");
  EXPECT_EQ(f2.grid->Cells(1, 1), u"\"q\"");
  EXPECT_EQ(f2.grid->Cells(0, 2), u"1,5");
}

TEST(GridCSV, ReaderDetectsTheDelimiterAndKeepsUnterminatedFields) {
  TempFolder tmp;
  struct Case {
    const char* File;
    int Col, Row;
    const char16_t* Expected;
  } cases[] = {
      {"a;b;c\r\n1;2;3\r\n", 2, 1, u"3"},
      {"a,b;c;d\r\nx;y;z,w\r\n", 1, 0, u"c"},  // equal semicolon counts in both lines win
      {"one\r\ntwo\r\n", 0, 1, u"two"},        // no candidate: one field per line
      {"\"1,5\",x\r\n", 0, 0, u"1,5"},
      {"\"a\"\"b\",c\r\n", 0, 0, u"a\"b"},
      {"x,\"open field\r\nnext line", 1, 0, u"open field\r\nnext line"},  // kept, not lost
      {"\xEF\xBB\xBFu,\xE6\x97\xA5\r\n", 1, 0, u"日"},
  };
  for (const Case& c : cases) {
    TGridForm f;
    PlainGrid(f.grid, 1, 1);
    tmp.Write("t.csv", c.File);
    f.grid->LoadFromCSV(tmp.FileS("t.csv"));
    EXPECT_EQ(f.grid->Cells(c.Col, c.Row), c.Expected) << c.File;
    EXPECT_EQ(f.grid->Delimiter(), Char(0));  // the detected one is not kept
  }
  TGridForm f;
  PlainGrid(f.grid, 2, 2);
  f.grid->SetCells(1, 1, u"keep");
  tmp.Write("empty.csv", "");
  EXPECT_THROW(f.grid->LoadFromCSV(tmp.FileS("empty.csv")), Exception);
  EXPECT_EQ(f.grid->Cells(1, 1), u"keep");
}

TEST(GridCSV, MaxRowsFirstRowAndInsert) {
  TempFolder tmp;
  tmp.Write("r.csv", "h1,h2\r\n1,2\r\n3,4\r\n5,6\r\n");
  TGridForm f;
  PlainGrid(f.grid, 2, 1);
  f.grid->SetLoadFirstRow(false);
  f.grid->LoadFromCSV(tmp.FileS("r.csv"), 2);
  EXPECT_EQ(f.grid->RowCount(), 2);
  EXPECT_EQ(f.grid->Cells(0, 0), u"1");
  EXPECT_EQ(f.grid->Cells(1, 1), u"4");
  f.grid->InsertFromCSV(tmp.FileS("r.csv"));
  EXPECT_EQ(f.grid->RowCount(), 5);
  EXPECT_EQ(f.grid->Cells(0, 2), u"1");  // the header line is skipped again
  EXPECT_EQ(f.grid->Cells(1, 4), u"6");
}

TEST(GridFixed, WritesAndReadsFieldsAtPositions) {
  TGridForm f;
  TempFolder tmp;
  DEreDuzeroVaro* g = f.grid;
  PlainGrid(g, 2, 2);
  g->SetCells(0, 0, u"abcdef");
  g->SetCells(1, 0, u"x");
  g->SetCells(0, 1, u"ab");
  g->SetCells(1, 1, u"yy");
  TIntList widths(0, 0);
  widths.Add(4);
  g->SaveToFixed(tmp.FileS("f.txt"), &widths);
  EXPECT_EQ(widths.Count(), 2);
  EXPECT_EQ(widths.Items(1), 3);  // longest text of the column + 1
  EXPECT_EQ(tmp.Read("f.txt"), "abcdx  \r\nab  yy \r\n");

  tmp.Write("g.txt", "1234567890\r\nab\r\n");
  TIntList pos(0, 0);
  for (int p : {10, 1, 5}) pos.Add(p);
  TGridForm f2;
  PlainGrid(f2.grid, 1, 1);
  f2.grid->LoadFromFixed(tmp.FileS("g.txt"), &pos);
  EXPECT_EQ(pos.StrValue(), u"1,5,10");
  EXPECT_EQ(f2.grid->Cells(0, 0), u"1234");
  EXPECT_EQ(f2.grid->Cells(1, 0), u"56789");
  EXPECT_EQ(f2.grid->Cells(0, 1), u"ab");
  EXPECT_EQ(f2.grid->Cells(1, 1), u"");
  try {
    f2.grid->LoadFromFixed(tmp.FileS("nope.txt"), &pos);
    FAIL() << "no error";
  } catch (const VUreReriVorov& e) {
    EXPECT_EQ(e.Message(), u"File " + tmp.FileS("nope.txt") + u" not found");
  }
}

// Damaged copies of valid files either load or raise; none crashes or hangs.
TEST(GridTextFiles, DamagedInputLoadsOrRaises) {
  TempFolder tmp;
  TGridForm src;
  PlainGrid(src.grid, 4, 4);
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) src.grid->SetCells(c, r, IntToStr(r * 4 + c) + u",\"q\"\r\nx");
  src.grid->SaveToFile(tmp.FileS("g.txt"), true);
  src.grid->SaveToCSV(tmp.FileS("g.csv"), true);
  std::mt19937 rng(12345);
  for (const char* name : {"g.txt", "g.csv"}) {
    const std::string good = tmp.Read(name);
    for (int round = 0; round < 60; ++round) {
      std::string bad = good;
      if (round % 3 == 0) {
        bad.resize(rng() % bad.size());
      } else {
        for (int k = 0; k < 4; ++k) bad[rng() % bad.size()] = static_cast<char>(rng());
      }
      tmp.Write("bad", bad);
      TGridForm f;
      try {
        if (std::string(name) == "g.txt") f.grid->LoadFromFile(tmp.FileS("bad"));
        else f.grid->LoadFromCSV(tmp.FileS("bad"));
      } catch (const Exception&) {
      }
      EXPECT_LE(f.grid->ColCount(), DEreDuzeroVaro::GridMaxColCount);
    }
  }
}

TEST(GridAligned, ColumnsArePaddedAndAligned) {
  TGridForm f;
  TempFolder tmp;
  DEreDuzeroVaro* g = f.grid;
  PlainGrid(g, 2, 2);
  g->SetCells(0, 0, u"abc");
  g->SetCells(0, 1, u"7");
  g->CellProperties(0, 1)->SetAlignment(taRightJustify);
  g->SetCells(1, 0, u"x");
  g->SetCells(1, 1, u"yy");
  g->SaveToASCII(tmp.FileS("a.txt"));
  // A right-aligned 7 in a column three wide: two spaces, the 7 and one separating space.
  EXPECT_EQ(tmp.Read("a.txt"), "abc x  \r\n  7 yy \r\n");
  // Further lines of a multi-line cell go on continuation lines at the column's place.
  g->SetMultilinecells(true);
  g->SetCells(1, 0, u"x\r\nz");
  g->SaveToASCII(tmp.FileS("b.txt"));
  EXPECT_EQ(tmp.Read("b.txt"), "abc x  \r\n    z\r\n  7 yy \r\n");
}
