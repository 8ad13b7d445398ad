// Printing and preview: pages written to PDF and read back by pdfinfo and pdftotext (page
// counts, header and footer texts, repeated fixed rows, column bands, fit to page), rendered by
// Ghostscript (a cell colour, a border), and previews drawn on bitmaps.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "grid/AdvGrid.h"
#include "grid/tests/GridTestSupport.h"
#include "platform/ui/Printers.h"
#include "testing/PictureFixtures.h"
#include "testing/TempFolder.h"

namespace {

// Prints into a PDF file of the temp folder; the printer is left on its defaults afterwards.
struct TPdfPrinter {
  TPrinter* P = Printer();
  explicit TPdfPrinter(const String& File) {
    P->SetPrinterIndex(P->Printers()->Count() - 1);
    P->SetFileName(File);
    P->SetOrientation(poPortrait);
  }
  ~TPdfPrinter() { P->SetFileName(String()); }
};

// A channel list: a fixed header row "Channel" / "Level" / "Note" and Rows data rows.
void ChannelGrid(DEreDuzeroVaro& G, int Rows) {
  G.SetFixedCols(0);
  G.SetColCount(3);
  G.SetRowCount(Rows + 1);
  G.SetCells(0, 0, u"Channel");
  G.SetCells(1, 0, u"Level");
  G.SetCells(2, 0, u"Note");
  for (int r = 1; r <= Rows; ++r) {
    G.SetCells(0, r, u"CH" + IntToStr(r));
    G.SetCells(1, r, IntToStr(r * 7));
    G.SetCells(2, r, u"ok");
  }
}

int PdfPages(const TempFolder& Dir, const std::string& Name) {
  std::string info = RunIn(Dir, "pdfinfo " + Name + " | grep '^Pages:'");
  return std::stoi(info.substr(info.find(':') + 1));
}

std::string PdfText(const TempFolder& Dir, const std::string& Name, int Page) {
  return RunIn(Dir, "pdftotext -layout -f " + std::to_string(Page) + " -l " + std::to_string(Page) + " " + Name + " -");
}

int Count(const std::string& S, const std::string& What) {
  int n = 0;
  for (size_t at = S.find(What); at != std::string::npos; at = S.find(What, at + 1)) ++n;
  return n;
}

// Pixels of a bitmap as one comparable string.
std::string Pixels(TBitmap& B) {
  std::string out;
  for (int y = 0; y < B.Height(); y += 2)
    for (int x = 0; x < B.Width(); x += 2) out += std::to_string(B.Canvas()->Pixels(x, y)) + ",";
  return out;
}

}  // namespace

TEST(AdvGridPrint, FontHeightsInTenthsOfMillimetres) {
  DEreDuzeroVaro g(nullptr);
  EXPECT_EQ(g.MapFontHeight(10), -35);
  EXPECT_EQ(g.MapFontHeight(72), -254);
  EXPECT_EQ(g.MapFontSize(-35), -9);
  EXPECT_EQ(g.MapFontSize(35), 9);
}

TEST(AdvGridPrint, RotatedTextOrigins) {
  // The cell (Left 0, Top 100, Right 100, Bottom 50) in the paper's y-up units.
  struct Case {
    int Angle, HA, VA, c, e, f, g, X, Y;
  } cases[] = {
      // Angle 0 (text 30 wide, 10 high) is plain text: right gives Right - w, bottom Bottom - h.
      {0, 1, 2, 10, 0, 0, 30, 70, 40},
      {0, 0, 0, 10, 0, 0, 30, 0, 100},
      {0, 2, 1, 10, 0, 0, 30, 35, 70},
      // Angle 90: cos is 0, so bottom-left is (Left, Bottom).
      {90, 0, 2, 0, 30, 10, 0, 0, 50},
      {180, 0, 0, 10, 0, 0, 30, 30, 110},
      {270, 1, 2, 0, 30, 10, 0, 100, 20},
      {300, 0, 0, 5, 26, 9, 15, 9, 100},
  };
  for (const Case& k : cases) {
    TRect r(0, 100, 100, 50);
    DEreDuzeroVaro::PlaceRotatedText(r, k.HA, k.VA, k.c, k.e, k.f, k.g, k.Angle);
    EXPECT_EQ(r.Left, k.X) << k.Angle << " " << k.HA << " " << k.VA;
    EXPECT_EQ(r.Top, k.Y) << k.Angle << " " << k.HA << " " << k.VA;
  }
}

TEST(AdvGridPrint, PrintsEveryPageWithPageNumbersAndRepeatedHeaderRow) {
  TempFolder dir;
  DEreDuzeroVaro g(nullptr);
  ChannelGrid(g, 150);
  TPrintSettings* ps = g.PrintSettings();
  ps->SetPageNr(ppBottomCenter);
  ps->SetTitle(ppTopLeft);
  ps->SetTitleText(u"Receiver channels");
  ps->SetRepeatFixedRows(true);
  ps->SetJobName(u"channels");
  {
    TPdfPrinter pdf(dir.FileS("grid.pdf"));
    g.Print();
  }
  const int pages = PdfPages(dir, "grid.pdf");
  EXPECT_GE(pages, 3);
  EXPECT_EQ(g.PrintNrOfPages(), pages);
  for (int p = 1; p <= pages; ++p) {
    const std::string text = PdfText(dir, "grid.pdf", p);
    EXPECT_NE(text.find(std::to_string(p) + "/" + std::to_string(pages)), std::string::npos) << p << text;
    EXPECT_NE(text.find("Receiver channels"), std::string::npos) << p;
    EXPECT_EQ(Count(text, "Channel"), 1) << p;  // the fixed row, repeated on every page
  }
  // Every row is printed once, in order (its level is 7 times its number).
  const std::string all = RunIn(dir, "pdftotext -layout grid.pdf -");
  size_t at = 0;
  for (int r = 1; r <= 150; ++r) {
    size_t next = all.find(" " + std::to_string(r * 7) + " ", at);
    ASSERT_NE(next, std::string::npos) << r;
    at = next;
  }

  // Without repeating, the header row shows on the first page only.
  ps->SetRepeatFixedRows(false);
  ps->SetTitleText(String());
  {
    TPdfPrinter pdf(dir.FileS("plain.pdf"));
    g.Print();
  }
  EXPECT_EQ(Count(PdfText(dir, "plain.pdf", 1), "Channel"), 1);
  EXPECT_EQ(Count(PdfText(dir, "plain.pdf", 2), "Channel"), 0);
}

TEST(AdvGridPrint, WideGridsPrintInColumnBandsUnlessFittedToThePage) {
  TempFolder dir;
  DEreDuzeroVaro g(nullptr);
  static const char16_t* const names[] = {u"Alpha", u"Bravo", u"Charlie", u"Delta", u"Echo", u"Foxtrot",
                                          u"Golf", u"Hotel", u"India", u"Juliett", u"Kilo", u"Lima"};
  PlainGrid(&g, 12, 5);
  for (int c = 0; c < 12; ++c)
    for (int r = 0; r < 5; ++r) g.SetCells(c, r, String(names[c]) + u" holds a long text");
  g.PrintSettings()->SetPageNr(ppBottomRight);
  {
    TPdfPrinter pdf(dir.FileS("bands.pdf"));
    g.Print();
  }
  const int pages = PdfPages(dir, "bands.pdf");
  ASSERT_GE(pages, 2);
  EXPECT_NE(PdfText(dir, "bands.pdf", 1).find("1-1"), std::string::npos);
  EXPECT_NE(PdfText(dir, "bands.pdf", 2).find("1-2"), std::string::npos);
  EXPECT_LT(g.PrintColStart(), g.PrintColEnd());
  EXPECT_EQ(g.PrintColEnd(), 11);

  const int wide = g.PrintColWidth(3);
  g.PrintSettings()->SetFitToPage(fpAlways);
  {
    TPdfPrinter pdf(dir.FileS("fit.pdf"));
    g.Print();
  }
  EXPECT_EQ(PdfPages(dir, "fit.pdf"), 1);
  EXPECT_EQ(g.PrintColStart(), 0);
  EXPECT_EQ(g.PrintColEnd(), 11);
  EXPECT_LT(g.PrintColWidth(3), wide);
  // The shrunk columns fill the usable width.
  const int used = g.PrintColOffset(12) - g.PrintColOffset(0);
  EXPECT_LE(used, g.PrintPageRect().Right - g.PrintSettings()->LeftSize() - g.PrintSettings()->RightSize());
  EXPECT_GT(used, (g.PrintPageRect().Right - 200) * 9 / 10);
  const std::string text = PdfText(dir, "fit.pdf", 1);
  EXPECT_NE(text.find("Alpha"), std::string::npos);
  EXPECT_NE(text.find("Lima"), std::string::npos);

  // Shrink never enlarges a narrow grid.
  DEreDuzeroVaro narrow(nullptr);
  PlainGrid(&narrow, 2, 2);
  narrow.SetCells(0, 0, u"a");
  narrow.PrintSettings()->SetFitToPage(fpShrink);
  TBitmap b(300, 400);
  narrow.PrintPreview(b.Canvas(), TRect(0, 0, 300, 400));
  const int kept = narrow.PrintColWidth(0);
  narrow.PrintSettings()->SetFitToPage(fpNever);
  narrow.PrintPreview(b.Canvas(), TRect(0, 0, 300, 400));
  EXPECT_EQ(narrow.PrintColWidth(0), kept);
}

TEST(AdvGridPrint, ScreenWidthsConvertToPaperWithoutAutoSize) {
  DEreDuzeroVaro g(nullptr);
  PlainGrid(&g, 3, 3);
  g.SetColWidths(1, 64);
  g.PrintSettings()->SetNoAutoSize(true);
  TBitmap b(400, 500);
  g.PrintPreview(b.Canvas(), TRect(0, 0, 400, 500));
  EXPECT_EQ(g.PrintColWidth(1), 169);
}

TEST(AdvGridPrint, StartEventChoosesOrCancelsPages) {
  TempFolder dir;
  DEreDuzeroVaro g(nullptr);
  ChannelGrid(g, 150);
  g.PrintSettings()->SetPageNr(ppBottomCenter);
  int offered = 0;
  g.OnPrintStart = [&](TObject*, int Pages, int& From, int& To) {
    offered = Pages;
    From = To = 2;
  };
  {
    TPdfPrinter pdf(dir.FileS("two.pdf"));
    g.Print();
  }
  ASSERT_GE(offered, 3);
  EXPECT_EQ(PdfPages(dir, "two.pdf"), 1);
  // The page keeps its number in the whole print.
  EXPECT_NE(PdfText(dir, "two.pdf", 1).find("2/" + std::to_string(offered)), std::string::npos);

  g.OnPrintStart = [&](TObject*, int, int& From, int&) { From = 0; };
  {
    TPdfPrinter pdf(dir.FileS("none.pdf"));
    g.Print();
  }
  std::ifstream none(dir.File("none.pdf"));
  EXPECT_FALSE(none.good());
}

TEST(AdvGridPrint, ForcedPageBreaksAndCancel) {
  DEreDuzeroVaro g(nullptr);
  ChannelGrid(g, 10);
  g.OnPrintNewPage = [](TObject*, int ARow, bool& NewPage) { NewPage = ARow == 4 || ARow == 11; };
  TBitmap b(400, 600);
  g.PrintPreview(b.Canvas(), TRect(0, 0, 400, 600));
  EXPECT_EQ(g.PrintNrOfPages(), 2);  // the break after the last row makes no empty page

  int cancelledAt = 0;
  g.OnPrintNewPage = [](TObject*, int, bool& NewPage) { NewPage = true; };
  g.OnPrintCancel = [&](TObject*, int Page, bool& Cancel) {
    cancelledAt = Page;
    Cancel = Page == 3;
  };
  int drawnPages = 0;
  g.OnPrintPage = [&](TObject*, TCanvas*, int, int, int) { ++drawnPages; };
  g.SetPreviewPage(1);
  g.PrintPreview(b.Canvas(), TRect(0, 0, 400, 600));
  EXPECT_EQ(g.PrintNrOfPages(), 11);  // the count asks no one
  EXPECT_EQ(cancelledAt, 3);          // the drawing run stops after the page that cancelled
  EXPECT_EQ(drawnPages, 1);           // of which only page 1 is drawn
}

TEST(AdvGridPrint, PreviewDrawsTheChosenPageAndFastPrintCountsOne) {
  DEreDuzeroVaro g(nullptr);
  ChannelGrid(g, 200);
  TBitmap page1(300, 420), page2(300, 420), beyond(300, 420), blank(300, 420);
  g.SetPreviewPage(1);
  g.PrintPreview(page1.Canvas(), TRect(0, 0, 300, 420));
  const int pages = g.PrintNrOfPages();
  ASSERT_GE(pages, 3);
  g.SetPreviewPage(2);
  g.PrintPreview(page2.Canvas(), TRect(0, 0, 300, 420));
  EXPECT_NE(Pixels(page1), Pixels(page2));
  g.SetPreviewPage(pages + 1);
  g.PrintPreview(beyond.Canvas(), TRect(0, 0, 300, 420));
  EXPECT_EQ(Pixels(beyond), Pixels(blank));
  EXPECT_EQ(g.PrintNrOfPages(), pages);

  int offered = 0;
  g.OnPrintStart = [&](TObject*, int Pages, int&, int&) { offered = Pages; };
  g.SetFastPrint(true);
  g.SetRowCount(20);
  g.PrintPreview(page1.Canvas(), TRect(0, 0, 300, 420));
  EXPECT_EQ(offered, 1);
  EXPECT_EQ(g.PrintNrOfPages(), pages);  // kept from the last count
  EXPECT_FALSE(g.IsPrintPreview());
}

TEST(AdvGridPrint, SelectedRowsAndSelectedColsPreviewTheSameCells) {
  DEreDuzeroVaro g(nullptr);
  ChannelGrid(g, 20);
  g.SetSelection(TGridRect{1, 3, 2, 8});
  TBitmap rows(300, 420), cols(300, 420), all(300, 420);
  g.PrintPreviewSelectedRows(rows.Canvas(), TRect(0, 0, 300, 420));
  g.PrintPreviewSelectedCols(cols.Canvas(), TRect(0, 0, 300, 420));
  g.PrintPreview(all.Canvas(), TRect(0, 0, 300, 420));
  EXPECT_EQ(Pixels(rows), Pixels(cols));
  EXPECT_NE(Pixels(rows), Pixels(all));
}

TEST(AdvGridPrint, CellColourAndBordersReachThePaper) {
  TempFolder dir;
  DEreDuzeroVaro g(nullptr);
  PlainGrid(&g, 2, 2);
  g.SetCells(0, 0, u"red cell");
  g.SetColors(0, 0, clRed);
  g.PrintSettings()->SetBorders(pbSingle);
  g.PrintSettings()->SetBorderColor(clBlue);
  {
    TPdfPrinter pdf(dir.FileS("colour.pdf"));
    g.Print();
  }
  // Ghostscript renders the page; count pure red and pure blue pixels.
  RunIn(dir, "gs -q -dNOPAUSE -dBATCH -sDEVICE=ppmraw -r100 -sOutputFile=page.ppm colour.pdf");
  std::ifstream in(dir.File("page.ppm"), std::ios::binary);
  // The header's numbers, with Ghostscript's comment lines skipped.
  auto number = [&in] {
    std::string t;
    while (in >> t && t[0] == '#') std::getline(in, t);
    return std::atoi(t.c_str());
  };
  std::string magic;
  in >> magic;
  const int w = number(), h = number();
  number();
  in.get();
  std::vector<unsigned char> px(static_cast<size_t>(w) * h * 3);
  in.read(reinterpret_cast<char*>(px.data()), static_cast<std::streamsize>(px.size()));
  int red = 0, blue = 0;
  for (size_t i = 0; i + 2 < px.size(); i += 3) {
    if (px[i] > 200 && px[i + 1] < 60 && px[i + 2] < 60) ++red;
    if (px[i] < 100 && px[i + 1] < 100 && px[i + 2] > 150) ++blue;
  }
  EXPECT_GT(red, 20);
  EXPECT_GT(blue, 10);
}

TEST(AdvGridPrint, PageNumberSlotsKeepTheirSpaces) {
  DEreDuzeroVaro g(nullptr);
  ChannelGrid(g, 200);
  g.PrintSettings()->SetPageNr(ppBottomCenter);
  g.PrintSettings()->SetPageNumberOffset(10);
  g.PrintSettings()->SetMaxPagesOffset(5);
  std::vector<String> numbers;
  g.OnPrintGetPageNum = [&](TObject*, int, int, String& Text) { numbers.push_back(Text); };
  TBitmap b(300, 420);
  g.SetPreviewPage(2);
  g.PrintPreview(b.Canvas(), TRect(0, 0, 300, 420));
  ASSERT_EQ(numbers.size(), 1u);
  EXPECT_EQ(numbers[0], u"12/" + IntToStr(g.PrintNrOfPages() + 5));
}

TEST(AdvGridPrint, GridsOfMoreThan512ColumnsPrintEveryColumn) {
  DEreDuzeroVaro g(nullptr);
  PlainGrid(&g, 600, 2);
  g.SetCells(599, 0, u"last");
  g.PrintSettings()->SetPageNr(ppBottomCenter);
  TBitmap b(300, 420);
  g.PrintPreview(b.Canvas(), TRect(0, 0, 300, 420));
  EXPECT_EQ(g.PrintColEnd(), 599);
  EXPECT_GT(g.PrintColWidth(599), g.PrintColWidth(598));
  EXPECT_GT(g.PrintNrOfPages(), 20);  // one page per column band
  EXPECT_THROW(g.PrintColWidth(601), Exception);
}

TEST(AdvGridPrint, CellGraphicsRotatedAndMergedCellsReachThePaper) {
  TempFolder dir;
  DEreDuzeroVaro g(nullptr);
  PlainGrid(&g, 4, 6);
  g.SetCells(0, 0, u"Tower");
  g.AddRotated(1, 0, 90, u"Upward");
  g.AddCheckBox(2, 1, true, false);
  g.SetCells(2, 1, u"Active");
  g.AddCheckBox(2, 2, false, false);
  g.AddProgress(3, 1, clGreen, clWhite);
  g.SetInts(3, 1, 40);
  g.AddProgressPie(3, 2, clRed, 75);
  TBitmap picture(16, 16);
  picture.Canvas()->Brush()->SetColor(clBlue);
  picture.Canvas()->FillRect(TRect(0, 0, 16, 16));
  g.AddBitmap(0, 3, &picture, false, haLeft, vaTop);
  g.MergeCells(0, 4, 3, 2);
  g.SetCells(0, 4, u"Merged note");
  g.PrintSettings()->SetPrintGraphics(true);
  g.PrintSettings()->SetBorders(pbSingle);
  {
    TPdfPrinter pdf(dir.FileS("objects.pdf"));
    g.Print();
  }
  EXPECT_EQ(PdfPages(dir, "objects.pdf"), 1);
  const std::string text = PdfText(dir, "objects.pdf", 1);
  for (const char* word : {"Tower", "Active", "Merged note"}) EXPECT_NE(text.find(word), std::string::npos) << word;
  EXPECT_EQ(Count(text, "Merged note"), 1);  // printed once from its base cell

  // Without graphics the cells keep their texts and the run draws no graphic.
  g.PrintSettings()->SetPrintGraphics(false);
  TBitmap b(400, 500);
  g.PrintPreview(b.Canvas(), TRect(0, 0, 400, 500));
  EXPECT_EQ(g.PrintNrOfPages(), 1);
}

namespace {

// A 16 x 16 icon file: the left half opaque red, the right half transparent.
std::string HalfRedIcon() {
  std::string f;
  auto u16 = [&f](int v) { f += char(v & 0xFF), f += char((v >> 8) & 0xFF); };
  auto u32 = [&](int v) { u16(v & 0xFFFF), u16((v >> 16) & 0xFFFF); };
  const int pixels = 16 * 16 * 4, mask = 16 * 4;
  u16(0), u16(1), u16(1);                                      // directory
  f += char(16), f += char(16), f += char(0), f += char(0);    // entry: 16 x 16
  u16(1), u16(32), u32(40 + pixels + mask), u32(22);
  u32(40), u32(16), u32(32), u16(1), u16(32), u32(0), u32(0), u32(0), u32(0), u32(0), u32(0);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) f += x < 8 ? std::string("\x00\x00\xFF\xFF", 4) : std::string(4, '\0');
  for (int y = 0; y < 16; ++y) f += std::string("\x00\xFF\x00\x00", 4);  // mask bits: the right half
  return f;
}

int CountPixels(TBitmap& B, TColor Colour) {
  int n = 0;
  for (int y = 0; y < B.Height(); ++y)
    for (int x = 0; x < B.Width(); ++x) n += ColorToRGB(B.Canvas()->Pixels(x, y)) == Colour;
  return n;
}

// An application object that draws itself into its cell.
struct TBlueSquare : TPersistent, IGridCellDraw {
  int Drawn = 0;
  void Draw(TCanvas* Canvas, const TRect& R, int, int, bool, TObject*) override {
    ++Drawn;
    Canvas->Brush()->SetColor(clBlue);
    Canvas->FillRect(R);
  }
  int GetWidth() override { return 0; }
  int GetHeight() override { return 0; }
  bool IsBackground() override { return false; }
};

}  // namespace

// An icon prints as its mask copied and its colour bits XOR-ed: where it is transparent the
// paper shows white, not the cell's colour.
TEST(AdvGridPrint, IconsPrintWithTheirMaskAndColourPasses) {
  DEreDuzeroVaro g(nullptr);
  PlainGrid(&g, 2, 2);
  g.SetColWidths(0, 120);
  g.SetRowHeights(0, 60);
  g.SetColors(0, 0, clYellow);
  g.PrintSettings()->SetPrintGraphics(true);
  TStringStream ico;
  const std::string bytes = HalfRedIcon();
  ico.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  ico.SetPosition(0);
  g.CreateIcon(0, 0, haLeft, vaTop)->LoadFromStream(&ico);
  TBitmap page(600, 800);
  g.PrintPreview(page.Canvas(), TRect(0, 0, 600, 800));
  // The red half's box; the transparent half lies right of it, as wide.
  int left = page.Width(), right = -1, top = page.Height(), bottom = -1;
  for (int y = 0; y < page.Height(); ++y)
    for (int x = 0; x < page.Width(); ++x)
      if (ColorToRGB(page.Canvas()->Pixels(x, y)) == clRed) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
  ASSERT_GT(right - left, 2);
  ASSERT_GT(bottom - top, 2);
  int white = 0, yellow = 0;
  for (int y = top + 1; y < bottom; ++y)
    for (int x = right + 2; x < right + (right - left); ++x) {
      const TColor c = ColorToRGB(page.Canvas()->Pixels(x, y));
      white += c == clWhite;
      yellow += c == clYellow;
    }
  EXPECT_GT(white, 0);
  EXPECT_EQ(yellow, 0);
}

// A cell whose object draws itself prints what the object draws, once per printed cell.
TEST(AdvGridPrint, SelfDrawnCellsPrintTheirDrawing) {
  DEreDuzeroVaro g(nullptr);
  PlainGrid(&g, 2, 2);
  TBlueSquare square;
  g.AddInterfacedCell(1, 1, &square);
  TBitmap page(600, 800);
  g.PrintSettings()->SetPrintGraphics(true);
  g.PrintPreview(page.Canvas(), TRect(0, 0, 600, 800));
  EXPECT_EQ(square.Drawn, 1);
  EXPECT_GT(CountPixels(page, clBlue), 50);
  EXPECT_EQ(g.GetCellGraphicSize(1, 1), TPoint(g.ColWidths(1), g.RowHeights(1)));
}
