// The controls' bidirectional modes and the base grid mirrored under right-to-left alignment.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "platform/rtl/SysUtils.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "GridsTestSupport.h"

namespace {

// Makes the process a right-to-left system (or not) for one test.
struct TSysLocaleGuard {
  bool Saved = SysLocale.MiddleEast;
  explicit TSysLocaleGuard(bool MiddleEast) { SysLocale.MiddleEast = MiddleEast; }
  ~TSysLocaleGuard() { SysLocale.MiddleEast = Saved; }
};

TEST(BiDiMode, AnswersFollowTheModeOnlyOnARightToLeftSystem) {
  struct Row {
    TBiDiMode Mode;
    bool Alignment, Reading, ScrollBar;
  };
  const Row rows[] = {{bdLeftToRight, false, false, false},
                      {bdRightToLeft, true, true, true},
                      {bdRightToLeftNoAlign, false, true, true},
                      {bdRightToLeftReadingOnly, false, true, false}};
  TForm form(nullptr);
  for (const Row& row : rows) {
    form.SetBiDiMode(row.Mode);
    {
      TSysLocaleGuard rtl(true);
      EXPECT_EQ(form.UseRightToLeftAlignment(), row.Alignment) << int(row.Mode);
      EXPECT_EQ(form.UseRightToLeftReading(), row.Reading) << int(row.Mode);
      EXPECT_EQ(form.UseRightToLeftScrollBar(), row.ScrollBar) << int(row.Mode);
    }
    TSysLocaleGuard ltr(false);
    EXPECT_FALSE(form.UseRightToLeftAlignment());
    EXPECT_FALSE(form.UseRightToLeftReading());
    EXPECT_FALSE(form.UseRightToLeftScrollBar());
    EXPECT_EQ(form.DrawTextBiDiModeFlags(DT_RIGHT), DT_RIGHT);
  }

  // Under right-to-left alignment left and right alignment swap, centred text stays.
  TSysLocaleGuard rtl(true);
  form.SetBiDiMode(bdRightToLeft);
  EXPECT_EQ(form.DrawTextBiDiModeFlags(DT_LEFT | DT_VCENTER), DT_RIGHT | DT_VCENTER | DT_RTLREADING);
  EXPECT_EQ(form.DrawTextBiDiModeFlags(DT_RIGHT), DT_LEFT | DT_RTLREADING);
  EXPECT_EQ(form.DrawTextBiDiModeFlags(DT_CENTER), DT_CENTER | DT_RTLREADING);
  form.SetBiDiMode(bdRightToLeftReadingOnly);
  EXPECT_EQ(form.DrawTextBiDiModeFlags(DT_LEFT), DT_LEFT | DT_RTLREADING);
  EXPECT_EQ(form.DrawTextBiDiModeFlagsReadingOnly(), DT_RTLREADING);
}

TEST(BiDiMode, ChildrenFollowTheirParentUntilGivenAModeOfTheirOwn) {
  TForm form(nullptr);
  auto* panel = new TPanel(&form);
  panel->SetParent(&form);
  auto* edit = new TEdit(&form);
  edit->SetParent(panel);
  EXPECT_TRUE(edit->ParentBiDiMode());

  // A change passes down through the panel to the edit.
  form.SetBiDiMode(bdRightToLeft);
  EXPECT_EQ(panel->BiDiMode(), bdRightToLeft);
  EXPECT_EQ(edit->BiDiMode(), bdRightToLeft);
  EXPECT_FALSE(form.ParentBiDiMode());

  // A control given its own mode keeps it; going back to the parent's takes the parent's.
  edit->SetBiDiMode(bdLeftToRight);
  EXPECT_FALSE(edit->ParentBiDiMode());
  form.SetBiDiMode(bdRightToLeftNoAlign);
  EXPECT_EQ(panel->BiDiMode(), bdRightToLeftNoAlign);
  EXPECT_EQ(edit->BiDiMode(), bdLeftToRight);
  edit->SetParentBiDiMode(true);
  EXPECT_EQ(edit->BiDiMode(), bdRightToLeftNoAlign);

  // A control put on a parent takes its mode.
  auto* late = new TEdit(&form);
  late->SetParent(panel);
  EXPECT_EQ(late->BiDiMode(), bdRightToLeftNoAlign);
}

// The fixture's grid in the right-to-left mode on a right-to-left system.
struct MirroredGrid : GridFixture {
  TSysLocaleGuard rtl{true};
  void SetUp() override {
    GridFixture::SetUp();
    grid->SetBiDiMode(bdRightToLeft);
    ProcessPendingEvents();
  }
};

TEST_F(MirroredGrid, CellsRunFromTheRightEdgeAndClicksFindThem) {
  // Column 0 ends at the right border; column 1 lies to its left.
  const int b = 2;
  TRect c0 = grid->CellRect(0, 0), c1 = grid->CellRect(1, 0);
  EXPECT_EQ(c0, TRect(300 - b - 40, b, 300 - b, b + 20));
  EXPECT_EQ(c1.Right, c0.Left - 1);
  EXPECT_EQ(c1.Width(), 40);

  int col = -2, row = -2;
  grid->MouseToCell(300 - b - 1, b, col, row);  // the right-most pixel
  EXPECT_EQ(col, 0);
  EXPECT_EQ(row, 0);
  grid->MouseToCell(b, b, col, row);  // left of the last column: no cell
  EXPECT_EQ(col, -1);

  ClickCell(3, 2);
  EXPECT_EQ(grid->Col(), 3);
  EXPECT_EQ(grid->Row(), 2);

  // Left moves to the higher column, which lies to the left; Right back.
  SimulateKeyStroke(grid, VK_LEFT);
  EXPECT_EQ(grid->Col(), 4);
  SimulateKeyStroke(grid, VK_RIGHT);
  SimulateKeyStroke(grid, VK_RIGHT);
  EXPECT_EQ(grid->Col(), 2);
}

TEST_F(MirroredGrid, EditorOpensOverTheMirroredCell) {
  TGridOptions o = grid->Options();
  o += goEditing;
  grid->SetOptions(o);
  ClickCell(2, 3);
  SimulateKeyStroke(grid, VK_F2);
  ASSERT_TRUE(grid->EditorMode());
  EXPECT_EQ(grid->InplaceEditor()->BoundsRect(), grid->CellRect(2, 3));
  EXPECT_GT(grid->InplaceEditor()->Left(), 150);
}

TEST_F(MirroredGrid, ColumnIsSizedAtItsLeftEdge) {
  TGridOptions o = grid->Options();
  o += goColSizing;
  grid->SetOptions(o);
  // Column 1's far edge is its left one on screen: dragging it left widens the column.
  TRect r = grid->CellRect(1, 0);
  TGridState state;
  int index, ofs;
  grid->CalcSizingState(r.Left + 1, r.Top + 5, state, index, ofs);
  EXPECT_EQ(state, gsColSizing);
  EXPECT_EQ(index, 1);
  grid->CalcSizingState(r.Right - 2, r.Top + 5, state, index, ofs);
  EXPECT_EQ(state, gsColSizing);  // column 0's far edge, just right of column 1
  EXPECT_EQ(index, 0);

  SimulateMouseDown(grid, mbLeft, r.Left + 1, r.Top + 5);
  SimulateMouseMove(grid, r.Left - 14, r.Top + 5, {ssLeft});
  SimulateMouseUp(grid, mbLeft, r.Left - 14, r.Top + 5);
  EXPECT_EQ(grid->ColWidths(1), 55);
  EXPECT_EQ(grid->CellRect(1, 0).Right, r.Right);  // the right edge stays
}

TEST_F(MirroredGrid, HorizontalBarRunsFromTheRight) {
  grid->SetColCount(40);
  ProcessPendingEvents();
  ASSERT_NE(grid->HorzScrollBar(), nullptr);
  // Scrolled to the first columns, the thumb sits at the bar's right end: the bar's left half
  // shows only its groove (one colour between the arrow buttons).
  TScrollBar* bar = grid->HorzScrollBar();
  auto image = RenderControl(bar);
  const int y = bar->Height() / 2, w = bar->Width();
  const TColor groove = PixelColor(*image, w / 4, y);
  int thumbLeft = 0;
  for (int x = w / 4; x < w / 2; ++x) thumbLeft += PixelColor(*image, x, y) != groove;
  EXPECT_EQ(thumbLeft, 0);
  int thumbRight = 0;
  for (int x = w / 2; x < w - bar->Height() - 2; ++x) thumbRight += PixelColor(*image, x, y) != groove;
  EXPECT_GT(thumbRight, 0);
}

TEST_F(MirroredGrid, VerticalBarSitsAtTheLeft) {
  grid->SetRowCount(40);
  ProcessPendingEvents();
  ASSERT_NE(grid->VertScrollBar(), nullptr);
  EXPECT_EQ(grid->VertScrollBar()->Left(), 2);
  // The cells keep clear of it: the last column's left edge stays right of the bar.
  TRect last = grid->CellRect(4, 1);
  EXPECT_GE(last.Left, 2 + grid->VertScrollBar()->Width());
  // Rows scrolled by pixels paint at their mirrored places.
  grid->SetTopRow(10);
  ProcessPendingEvents();
  auto image = RenderControl(grid);
  TRect cell = grid->CellRect(1, 10);
  EXPECT_TRUE(PixelNear(*image, cell.Left - 1, cell.Top + 3, clSilver, 8));  // its left line
}

// The pixels of the grid in both directions: a mirrored copy of each other except the text,
// which reads the same way in both.
TEST(MirroredGridPixels, AreTheLeftToRightOnesFlippedWithTextTheRightWayRound) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 420, 300);
  auto* grid = new TStringGrid(&form);
  grid->SetParent(&form);
  grid->SetBounds(10, 10, 300, 200);
  grid->SetDefaultColWidth(50);
  grid->SetCells(2, 2, u"Ab1");
  grid->SetCells(0, 1, u"Fx");
  grid->SetSelection({1, 3, 3, 4});
  // The focus stays off the grid: a focus frame's dots fall on the pixels of its parity.
  auto* edit = new TEdit(&form);
  edit->SetParent(&form);
  edit->SetBounds(10, 220, 80, 24);
  form.Show();
  edit->SetFocus();
  ProcessPendingEvents();
  auto ltr = RenderControl(grid);
  TSysLocaleGuard rtl(true);
  grid->SetBiDiMode(bdRightToLeft);
  auto mirrored = RenderControl(grid);
  const int w = grid->Width(), h = grid->Height();

  // Each text's box (from its left pixel to the width it takes) on the left-to-right grid.
  TBitmap measure;
  measure.Canvas()->Font()->Assign(grid->Font());
  struct Box { int Left, Right, Top, Bottom; };
  std::vector<Box> boxes;
  for (auto [c, r, s] : {std::tuple{2, 2, String(u"Ab1")}, std::tuple{0, 1, String(u"Fx")}}) {
    TRect cell = grid->CellRect(c, r);  // mirrored
    int left = w - cell.Right + 2;
    boxes.push_back({left, left + measure.Canvas()->TextWidth(s), cell.Top, cell.Bottom});
  }
  auto inBox = [&](int x, int y) {
    for (const Box& b : boxes)
      if (x >= b.Left && x < b.Right && y >= b.Top && y < b.Bottom) return &b;
    return static_cast<const Box*>(nullptr);
  };
  int flippedDiff = 0, textDiff = 0, inkPixels = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (const Box* b = inBox(x, y)) {
        // The text keeps its reading order: the mirrored box holds the same pixels unflipped.
        int mx = w - b->Right + (x - b->Left);
        if (PixelColor(*ltr, x, y) != PixelColor(*mirrored, mx, y)) ++textDiff;
        if (PixelColor(*ltr, x, y) != PixelColor(*ltr, b->Left - 1, y)) ++inkPixels;
      } else if (PixelColor(*ltr, x, y) != PixelColor(*mirrored, w - 1 - x, y)) {
        ++flippedDiff;
      }
    }
  EXPECT_EQ(flippedDiff, 0);
  EXPECT_EQ(textDiff, 0);
  EXPECT_GT(inkPixels, 20);  // the boxes do hold text
}

TEST(MirroredGridPixels, NothingMirrorsOnALeftToRightSystem) {
  TSysLocaleGuard ltr(false);
  TForm form(nullptr);
  form.SetBounds(0, 0, 420, 300);
  auto* grid = new TStringGrid(&form);
  grid->SetParent(&form);
  grid->SetBounds(10, 10, 300, 200);
  grid->SetCells(1, 1, u"Ab");
  form.Show();
  ProcessPendingEvents();
  auto before = RenderControl(grid);
  TRect cell = grid->CellRect(1, 1);
  grid->SetBiDiMode(bdRightToLeft);
  auto after = RenderControl(grid);
  EXPECT_EQ(grid->CellRect(1, 1), cell);
  int diff = 0;
  for (int y = 0; y < grid->Height(); ++y)
    for (int x = 0; x < grid->Width(); ++x) diff += PixelColor(*before, x, y) != PixelColor(*after, x, y);
  EXPECT_EQ(diff, 0);
}

}  // namespace
