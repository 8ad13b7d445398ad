// The string grid's painting: glyph resources, cell objects, text, the pipeline's event order,
// all checked on rendered grids.

#include <gtest/gtest.h>

#include "grid/AdvGrid.h"
#include "grid/tests/GridTestSupport.h"
#include "platform/rtl/Classes.h"
#include "platform/win/Resources.h"

namespace {

// ===========================================================================
// Glyph resources

TEST(AdvGridPaintGlyphs, EveryGlyphLoadsByNameFromTheResourceTable) {
  struct TCase {
    const char16_t* Name;
    int W, H;
  };
  const TCase cases[] = {{u"ASGCHK01", 15, 15}, {u"ASGCHK04", 15, 15}, {u"ASGCHK05", 15, 15}, {u"ASGCHK08", 15, 15},
                         {u"ASGRAD01", 16, 16}, {u"ASGRAD08", 16, 16}, {u"ASGLEAFCLOSE", 12, 12},
                         {u"ASGLEAFOPEN", 12, 12}, {u"XPNODEC", 9, 9},   {u"XPNODEO", 9, 9},
                         {u"ASGFILT", 16, 16},  {u"ASGCLOSE", 14, 14}, {u"ASGCLOSEH", 14, 14},
                         {u"ASGCLOSED", 14, 14}, {u"INTLI1", 32, 32},  {u"INTLI2", 32, 32},
                         {u"INTLI3", 32, 32}};
  DEreDuzeroVaro::RegisterGlyphResources();
  for (const TCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(&c - cases));
    // Through the resource calls, as any bitmap resource is read.
    HRSRC res = FindResourceW(HInstance, c.Name, RT_BITMAP);
    ASSERT_NE(res, nullptr);
    TMemoryStream stream;
    stream.Write(LockResource(LoadResource(HInstance, res)), static_cast<int32_t>(SizeofResource(HInstance, res)));
    stream.Seek(0, soBeginning);
    TBitmap bmp;
    bmp.LoadFromStream(&stream);
    EXPECT_EQ(bmp.Width(), c.W);
    EXPECT_EQ(bmp.Height(), c.H);
    // The corners carry the key colour that transparent drawing removes.
    EXPECT_EQ(bmp.Canvas()->Pixels(0, 0), static_cast<TColor>(0xFF00FF));
    EXPECT_EQ(bmp.Canvas()->Pixels(0, c.H - 1), static_cast<TColor>(0xFF00FF));
    EXPECT_EQ(DEreDuzeroVaro::GlyphBitmap(c.Name)->Width(), c.W);
  }
  EXPECT_EQ(DEreDuzeroVaro::GlyphBitmap(u"NOSUCHGLYPH"), nullptr);
}

TEST(AdvGridPaintGlyphs, CheckedAndUncheckedGlyphsDiffer) {
  TBitmap* on = DEreDuzeroVaro::GlyphBitmap(u"ASGCHK05");
  TBitmap* off = DEreDuzeroVaro::GlyphBitmap(u"ASGCHK06");
  int differing = 0;
  for (int y = 0; y < 15; ++y)
    for (int x = 0; x < 15; ++x) differing += on->Canvas()->Pixels(x, y) != off->Canvas()->Pixels(x, y);
  EXPECT_GT(differing, 10);
}

TEST(AdvGridPaint, LimitPercentClampsToZeroToHundred) {
  const double cases[][2] = {{-5, 0}, {0, 0}, {42.5, 42.5}, {100, 100}, {140, 100}};
  for (auto& c : cases) EXPECT_EQ(DEreDuzeroVaro::LimitPercent(c[0]), c[1]) << c[0];
}

}  // namespace

namespace {

// ===========================================================================
// Rendered grids

// A 6 x 6 grid of 80 x 24 cells with one fixed row and column, rendered to a bitmap.
struct AdvGridPaintFixture : ::testing::Test {
  TGridForm f;
  DEreDuzeroVaro* grid = f.grid;
  std::unique_ptr<TBitmap> shot;
  void SetUp() override {
    grid->SetColCount(6);
    grid->SetRowCount(6);
    grid->SetDefaultColWidth(80);
    grid->SetDefaultRowHeight(24);
    grid->ControlLook()->SetControlStyle(csWinXP);
    grid->SetOptions(grid->Options() + goEditing);  // cell controls look enabled where editing is allowed
  }
  int TextWidth(const String& S) {
    TBitmap b(1, 1);
    b.Canvas()->Font()->Assign(grid->Font());
    return b.Canvas()->TextWidth(S);
  }
  // Pixels that are clearly red (anti-aliased text included).
  int Reddish(const TRect& R) {
    int n = 0;
    for (int y = R.Top; y < R.Bottom; ++y)
      for (int x = R.Left; x < R.Right; ++x) {
        TColor c = Pixel(x, y);
        n += (c & 0xFF) > 150 && ((c >> 8) & 0xFF) < 110 && ((c >> 16) & 0xFF) < 110;
      }
    return n;
  }
  void Render() {
    grid->Invalidate();
    shot = RenderControl(grid);
  }
  TColor Pixel(int X, int Y) { return PixelColor(*shot, X, Y); }
  // How many pixels of colour C the rectangle holds.
  int Count(const TRect& R, TColor C) {
    int n = 0;
    for (int y = R.Top; y < R.Bottom; ++y)
      for (int x = R.Left; x < R.Right; ++x) n += Pixel(x, y) == C;
    return n;
  }
  // The leftmost and rightmost column of colour C in R, or (-1, -1).
  std::pair<int, int> Span(const TRect& R, TColor C) {
    int lo = -1, hi = -1;
    for (int y = R.Top; y < R.Bottom; ++y)
      for (int x = R.Left; x < R.Right; ++x)
        if (Pixel(x, y) == C) {
          if (lo < 0 || x < lo) lo = x;
          hi = std::max(hi, x);
        }
    return {lo, hi};
  }
};

constexpr TColor kTick = 0x21A121;  // the mark of the system-look check box and radio glyphs

TEST_F(AdvGridPaintFixture, CheckBoxShowsItsState) {
  grid->AddCheckBox(1, 1, true, false);
  grid->AddCheckBox(1, 2, false, false);
  Render();
  const TRect c11 = grid->CellRect(1, 1);
  EXPECT_GT(Count(c11, kTick), 5);
  EXPECT_EQ(Count(grid->CellRect(1, 2), kTick), 0);
  // Left-aligned text: the box at the cell's left edge.
  EXPECT_LT(Span(c11, kTick).first - c11.Left, 16);
  // Not editable: the disabled look, a grey mark instead of the green one.
  grid->SetOptions(grid->Options() - goEditing);
  Render();
  EXPECT_EQ(Count(c11, kTick), 0);
  EXPECT_GT(Count(c11, static_cast<TColor>(0xA0A0A0)), 5);
}

TEST_F(AdvGridPaintFixture, RadioButtonShowsItsState) {
  grid->AddRadioButton(1, 1, true);
  grid->AddRadioButton(1, 2, false);
  Render();
  EXPECT_GT(Count(grid->CellRect(1, 1), kTick), 5);
  EXPECT_EQ(Count(grid->CellRect(1, 2), kTick), 0);
}

TEST_F(AdvGridPaintFixture, ProgressBarFillsItsShareAndUnreadableValuesCountAsZero) {
  grid->AddProgress(1, 1, clRed, clBlue);
  grid->SetCells(1, 1, u"50");
  grid->AddProgress(1, 2, clRed, clBlue);
  grid->SetCells(1, 2, u"not a number");
  grid->AddProgress(1, 3, clRed, clBlue);
  grid->SetCells(1, 3, u"250");
  grid->AddAdvProgress(2, 1, 10, 10);  // an empty range
  grid->SetCells(2, 1, u"10");
  ASSERT_NO_THROW(Render());
  const TRect half = grid->CellRect(1, 1);
  const int y = half.Top + half.Height() / 2;
  EXPECT_EQ(Pixel(half.Left + 8, y), clRed);
  EXPECT_EQ(Pixel(half.Right - 8, y), clBlue);
  const TRect none = grid->CellRect(1, 2);
  EXPECT_EQ(Count(none, clRed), 0);
  EXPECT_GT(Count(none, clBlue), 20);
  const TRect full = grid->CellRect(1, 3);
  EXPECT_EQ(Pixel(full.Right - 8, full.Top + full.Height() / 2), clRed);
}

TEST_F(AdvGridPaintFixture, RatingRoundsToHalfStars) {
  grid->SetDefaultColWidth(110);
  grid->AddRating(1, 1, 5, clRed, clSilver);
  grid->SetCells(1, 1, u"3.3");  // 3.5 stars
  grid->AddRating(1, 2, 5, clRed, clSilver);
  grid->SetCells(1, 2, u"abc");  // no stars
  ASSERT_NO_THROW(Render());
  const TRect r = grid->CellRect(1, 1);
  auto starHas = [&](int Row, int Star, TColor C) {
    const TRect cell = grid->CellRect(1, Row);
    const int x = cell.Left + 2 + (Star - 1) * 18;  // stars 16 wide, 18 apart
    return Count(TRect(x + 1, cell.Top + 1, x + 15, cell.Bottom - 2), C);
  };
  for (int i = 1; i <= 3; ++i) {
    EXPECT_GT(starHas(1, i, clRed), 20) << i;
    EXPECT_EQ(starHas(1, i, clSilver), 0) << i;
  }
  EXPECT_GT(starHas(1, 4, clRed), 5);
  EXPECT_GT(starHas(1, 4, clSilver), 5);
  EXPECT_EQ(starHas(1, 5, clRed), 0);
  EXPECT_GT(starHas(1, 5, clSilver), 20);
  EXPECT_EQ(Count(grid->CellRect(1, 2), clRed), 0);
  (void)r;
}

TEST_F(AdvGridPaintFixture, SortIndicatorBesideTheHeaderText) {
  grid->SetCells(2, 0, u"Name");
  grid->SetCells(3, 0, u"Other");
  Render();
  std::unique_ptr<TBitmap> plain = std::move(shot);
  grid->SortSettings()->SetShow(true);
  grid->SortSettings()->SetColumn(2);
  grid->SortSettings()->SetDirection(sdAscending);
  Render();
  // The pixels the indicator changed: after the left-aligned text, in the sorted column only.
  auto changed = [&](const TRect& R) {
    int lo = -1, hi = -1;
    for (int y = R.Top; y < R.Bottom; ++y)
      for (int x = R.Left; x < R.Right; ++x)
        if (Pixel(x, y) != PixelColor(*plain, x, y)) {
          if (lo < 0 || x < lo) lo = x;
          hi = std::max(hi, x);
        }
    return std::pair<int, int>(lo, hi);
  };
  const TRect h = grid->CellRect(2, 0);
  const int text = h.Left + 2 + TextWidth(u"Name");
  auto [lo, hi] = changed(h);
  ASSERT_GE(lo, 0);
  EXPECT_GT(lo, text);
  EXPECT_LE(hi, text + 20);
  EXPECT_EQ(changed(grid->CellRect(3, 0)).first, -1);
  EXPECT_EQ(changed(grid->CellRect(2, 1)).first, -1);
}

TEST_F(AdvGridPaintFixture, MergedAreaPaintsItsContentsOnce) {
  grid->SetCells(1, 1, u"merged");
  grid->MergeCells(1, 1, 2, 2);
  int draws = 0;
  grid->OnCustomCellDraw = [&](TObject*, TCanvas*, int ACol, int ARow, TGridDrawState, TRect R, bool) {
    if (ACol == 1 && ARow == 1) {
      ++draws;
      EXPECT_GE(R.Width(), 150);
      EXPECT_GE(R.Height(), 40);
    }
  };
  Render();
  EXPECT_EQ(draws, 1);
}

TEST_F(AdvGridPaintFixture, EventsOfOneCellComeInPipelineOrder) {
  std::vector<std::string> order;
  auto mine = [](int ACol, int ARow) { return ACol == 2 && ARow == 2; };
  grid->OnGetCellColor = [&](TObject*, int ARow, int ACol, TGridDrawState, TBrush*, TFont*) {
    if (mine(ACol, ARow)) order.push_back("color");
  };
  grid->OnCustomCellBkgDraw = [&](TObject*, TCanvas*, int ACol, int ARow, TGridDrawState, TRect, bool Printing) {
    EXPECT_FALSE(Printing);
    if (mine(ACol, ARow)) order.push_back("bkg");
  };
  grid->OnGetCellBorder = [&](TObject*, int ARow, int ACol, TPen*, TCellBorders&) {
    if (mine(ACol, ARow)) order.push_back("border");
  };
  grid->OnGetCellBorderProp = [&](TObject*, int ARow, int ACol, TPen*, TPen*, TPen*, TPen*) {
    if (mine(ACol, ARow)) order.push_back("borderprop");
  };
  grid->OnDrawCell = [&](TObject*, int ACol, int ARow, const TRect&, const TGridDrawState&) {
    if (mine(ACol, ARow)) order.push_back("drawcell");
  };
  grid->OnCustomCellDraw = [&](TObject*, TCanvas*, int ACol, int ARow, TGridDrawState, TRect, bool) {
    if (mine(ACol, ARow)) order.push_back("custom");
  };
  grid->OnPainted = [&](TObject*) { order.push_back("painted"); };
  Render();
  // The colour event (from the visual properties) may come before, more than once; the rest
  // follow in the painter's order, OnPainted after all cells.
  ASSERT_GE(order.size(), 6u);
  std::vector<std::string> tail(order.end() - 6, order.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"bkg", "border", "borderprop", "drawcell", "custom", "painted"}));
}

TEST_F(AdvGridPaintFixture, NoDefaultDrawLeavesTheTextToTheEventsButKeepsGraphics) {
  grid->SetCells(3, 3, u"WWWWWW");
  grid->AddCheckBox(1, 2, true, false);
  grid->SetNoDefaultDraw(true);
  grid->Font()->SetColor(clRed);
  Render();
  EXPECT_GT(Reddish(grid->CellRect(3, 3)), 10);  // no drawing event: the text is drawn
  grid->OnCustomCellDraw = [](TObject*, TCanvas*, int, int, TGridDrawState, TRect, bool) {};
  Render();
  EXPECT_EQ(Reddish(grid->CellRect(3, 3)), 0);
  EXPECT_GT(Count(grid->CellRect(1, 2), kTick), 5);
}

TEST_F(AdvGridPaintFixture, DisplayColumnShowsItsRealColumnAfterHiding) {
  grid->Font()->SetColor(clRed);
  grid->SetCells(3, 2, u"WWWWWW");
  Render();
  EXPECT_EQ(Reddish(grid->CellRect(2, 2)), 0);
  grid->HideColumn(2);
  Render();
  // Display column 2 now shows real column 3.
  EXPECT_GT(Reddish(grid->CellRect(2, 2)), 10);
}

}  // namespace
