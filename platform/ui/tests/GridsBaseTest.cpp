#include <gtest/gtest.h>

#include <algorithm>

#include "GridsTestSupport.h"

namespace {

// A SelectCell that sends one cell elsewhere: it moves the current cell itself through
// MoveColRow and refuses the cell asked for. Clicks, keys and Col writes all end on the
// cell it chose, with the anchor there.
TEST_F(GridFixture, SelectCellMayMoveTheCurrentCellItselfThroughMoveColRow) {
  std::vector<TGridCoord> asked;
  grid->OnSelectCell = [&](TObject*, int c, int r, bool& can) {
    asked.push_back({c, r});
    if (c == 3 && r == 3) {
      grid->MoveColRow(1, 1, true, true);
      can = false;
    }
  };
  struct Case { const char* how; std::function<void()> go; };
  const Case cases[] = {
      {"click", [&] { ClickCell(3, 3); }},
      {"key", [&] { grid->MoveColRow(2, 3, true, true); SimulateKeyStroke(grid, VK_RIGHT); }},
      {"col", [&] { grid->MoveColRow(4, 3, true, true); grid->SetCol(3); }},
  };
  for (const Case& c : cases) {
    grid->MoveColRow(2, 2, true, true);
    asked.clear();
    c.go();
    EXPECT_EQ((TGridCoord{grid->Col(), grid->Row()}), (TGridCoord{1, 1})) << c.how;
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 1, 1})) << c.how;
    ASSERT_GE(asked.size(), 2u) << c.how;
    EXPECT_EQ(asked.back(), (TGridCoord{1, 1})) << c.how;
  }
}

// Ten million rows: the counts and the views follow, a far cell is stored alone, and the
// keys reach the last row.
TEST_F(GridFixture, TenMillionRowsStoreOnlyTheCellsWritten) {
  constexpr int rows = 10'000'000;
  grid->SetRowCount(rows);
  grid->SetCells(2, rows - 1, u"last");
  grid->SetCells(2, 5, u"near");
  EXPECT_EQ(grid->StoredCellCount(), 2u);
  EXPECT_EQ(grid->Cols(2)->Count(), rows);
  EXPECT_EQ(grid->Cols(2)->Get(rows - 1), u"last");
  EXPECT_EQ(grid->StoredCellCount(), 2u);  // reading stores nothing
  SimulateKeyStroke(grid, VK_END, {ssCtrl});
  EXPECT_EQ(grid->Row(), rows - 1);
  EXPECT_EQ(grid->TopRow(), rows - grid->VisibleRowCount());
  EXPECT_GT(InkPixels(Render(grid), grid->CellRect(2, rows - 1)), 5);
  grid->SetRowCount(3);
  EXPECT_EQ(grid->Cells(2, rows - 1), u"last");
}

// Dragging from a cell stretches the selection over the cells passed; held beyond the
// scrollable cells it scrolls on a cell at a time; the release ends the drag.
TEST_F(GridFixture, RangeDragStretchesTheSelectionAndScrollsBeyondTheCells) {
  grid->SetRowCount(30);
  TPoint from = Centre(1, 1), to = Centre(3, 2);
  SimulateMouseDown(grid, mbLeft, from.X, from.Y);
  EXPECT_EQ(grid->GridState(), gsSelecting);
  SimulateMouseMove(grid, to.X, to.Y, {ssLeft});
  EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 3, 2}));
  // Below the grid, the selection runs on down.
  SimulateMouseMove(grid, to.X, grid->ClientHeight() + 15, {ssLeft});
  ASSERT_TRUE(WaitUntil([&] { return grid->TopRow() > 3; }, 5000));
  SimulateMouseUp(grid, mbLeft, to.X, grid->ClientHeight() + 15);
  EXPECT_EQ(grid->GridState(), gsNormal);
  int row = grid->Row(), top = grid->TopRow();
  EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 3, row}));
  EXPECT_GE(row, top + grid->VisibleRowCount() - 1);
  ProcessPendingEvents();
  WaitUntil([] { return false; }, 200);  // the release stopped it
  EXPECT_EQ(grid->Row(), row);
  EXPECT_EQ(grid->TopRow(), top);

  // Without goRangeSelect a drag only moves the current cell.
  grid->SetOptions(grid->Options() - goRangeSelect);
  grid->SetTopRow(1);
  SimulateMouseDown(grid, mbLeft, from.X, from.Y);
  SimulateMouseMove(grid, to.X, to.Y, {ssLeft});
  SimulateMouseUp(grid, mbLeft, to.X, to.Y);
  EXPECT_EQ(grid->Selection(), (TGridRect{3, 2, 3, 2}));
}

// Row edges size in the fixed columns with goRowSizing; CalcSizingState tells what a press
// starts.
TEST_F(GridFixture, RowSizingDragsARowEdgeInTheFixedColumns) {
  grid->SetOptions(grid->Options() + goRowSizing + goColSizing);
  TRect side = grid->CellRect(0, 2), head = grid->CellRect(2, 0), cell = grid->CellRect(2, 2);
  struct Case { int X, Y; TGridState state; int index; };
  const Case cases[] = {
      {side.Left + 5, side.Bottom - 1, gsRowSizing, 2},
      {side.Left + 5, side.Top + 1, gsRowSizing, 1},  // just below row 1's edge
      {side.Left + 5, (side.Top + side.Bottom) / 2, gsNormal, -1},
      {head.Right - 1, head.Top + 5, gsColSizing, 2},
      {cell.Right - 1, cell.Bottom - 1, gsNormal, -1},  // scrollable cells have no edges
  };
  for (const Case& c : cases) {
    TGridState st;
    int index, ofs;
    grid->CalcSizingState(c.X, c.Y, st, index, ofs);
    EXPECT_EQ(st, c.state) << c.X << "," << c.Y;
    EXPECT_EQ(index, c.index) << c.X << "," << c.Y;
  }
  SimulateMouseDown(grid, mbLeft, side.Left + 5, side.Bottom - 1);
  EXPECT_EQ(grid->GridState(), gsRowSizing);
  SimulateMouseMove(grid, side.Left + 5, side.Bottom + 10, {ssLeft});
  SimulateMouseUp(grid, mbLeft, side.Left + 5, side.Bottom + 14);
  EXPECT_EQ(grid->RowHeights(2), 35);
  EXPECT_EQ(grid->GridState(), gsNormal);
}

// Columns and rows move with their sizes, texts and objects; the current cell stays on its
// cell; deleting drops a row's cells and moves the later ones up.
TEST_F(GridFixture, ColumnsAndRowsMoveWithTheirCellsAndDeletedRowsGo) {
  TObject o;
  for (int c = 0; c < 5; ++c) grid->SetCells(c, 0, String(1, char16_t(u'A' + c)));
  grid->SetObjects(1, 3, &o);
  grid->SetColWidths(1, 55);
  grid->MoveColRow(1, 3, true, true);
  std::vector<std::pair<int, int>> moved;
  grid->OnColumnMoved = [&](TObject*, int f, int t) { moved.push_back({f, t}); };
  grid->MoveColumn(1, 3);
  EXPECT_EQ(moved, (std::vector<std::pair<int, int>>{{1, 3}}));
  const char16_t* heads[] = {u"A", u"C", u"D", u"B", u"E"};
  for (int c = 0; c < 5; ++c) EXPECT_EQ(grid->Cells(c, 0), heads[c]);
  EXPECT_EQ(grid->ColWidths(3), 55);
  EXPECT_EQ(grid->ColWidths(1), 40);
  EXPECT_EQ(grid->Objects(3, 3), &o);
  EXPECT_EQ(grid->Col(), 3);
  EXPECT_THROW(grid->MoveColumn(0, 5), EInvalidGridOperation);

  // By the mouse, in the fixed row, with goColMoving.
  grid->SetOptions(grid->Options() + goColMoving);
  TPoint from = Centre(3, 0), to = Centre(1, 0);
  SimulateMouseDown(grid, mbLeft, from.X, from.Y);
  EXPECT_EQ(grid->GridState(), gsColMoving);
  SimulateMouseMove(grid, to.X, to.Y, {ssLeft});
  SimulateMouseUp(grid, mbLeft, to.X, to.Y);
  EXPECT_EQ(grid->Cells(1, 0), u"B");
  EXPECT_EQ(grid->Objects(1, 3), &o);
  EXPECT_EQ(moved.back(), (std::pair<int, int>{3, 1}));

  grid->SetCells(2, 2, u"gone");
  grid->SetCells(2, 4, u"last");
  grid->SetCells(2, 7, u"beyond");
  grid->MoveColRow(1, 4, true, true);
  grid->DeleteRow(2);
  EXPECT_EQ(grid->RowCount(), 4);
  EXPECT_EQ(grid->Cells(2, 3), u"last");
  EXPECT_EQ(grid->Objects(1, 2), &o);
  EXPECT_EQ(grid->Cells(2, 4), u"");
  EXPECT_EQ(grid->Cells(2, 7), u"beyond");
  EXPECT_EQ(grid->Row(), 3);
  grid->DeleteRow(0);  // a fixed row: the fixed count follows
  EXPECT_EQ(grid->FixedRows(), 0);
  EXPECT_EQ(grid->Cells(1, 0), u"");
  EXPECT_THROW(grid->DeleteRow(3), EInvalidGridOperation);
}

// The editor takes the grid's length limit and read-only answer when it opens, and
// InvalidateEditor reloads an open one from its cell.
TEST_F(GridFixture, EditorTakesTheLimitAndReloadsOnInvalidate) {
  struct Limited : TTestGrid {
    using TTestGrid::TTestGrid;
    int limit = 3;
    bool modify = true;
    int GetEditLimit() override { return limit; }
    bool CanEditModify() override { return modify; }
  };
  auto* g = new Limited(&form);
  g->SetParent(&form);
  g->SetBounds(10, 220, 300, 70);
  g->SetOptions(g->Options() + goEditing);
  ProcessPendingEvents();
  g->SetFocus();
  SimulateKeyStroke(g, VK_F2);
  ASSERT_TRUE(g->EditorMode());
  SimulateTyping(g->InplaceEditor(), u"abcdef");
  EXPECT_EQ(g->Cells(1, 1), u"abc");
  g->SetCells(1, 1, u"xy");
  g->InvalidateEditor();
  EXPECT_EQ(g->InplaceEditor()->Text(), u"xy");
  SimulateKeyDown(g->InplaceEditor(), VK_RETURN);
  SimulateKeyUp(g, VK_RETURN);
  g->modify = false;
  SimulateKeyStroke(g, VK_F2);
  SimulateTyping(g->InplaceEditor(), u"q");
  EXPECT_EQ(g->Cells(1, 1), u"xy");
}

// A mask from OnGetEditMask shapes what the editor takes: refused characters change nothing.
TEST_F(GridFixture, EditorFollowsTheCellsMask) {
  grid->SetOptions(grid->Options() + goEditing);
  grid->OnGetEditMask = [](TObject*, int c, int, String& mask) {
    if (c == 1) mask = u"00-00;1;_";
  };
  grid->SetFocus();
  SimulateKeyStroke(grid, VK_F2);
  ASSERT_TRUE(grid->EditorMode());
  SimulateTyping(grid->InplaceEditor(), u"1x234");
  EXPECT_EQ(grid->Cells(1, 1), u"12-34");
  SimulateKeyDown(grid->InplaceEditor(), VK_RETURN);
  SimulateKeyUp(grid, VK_RETURN);
  SimulateKeyStroke(grid, VK_RIGHT);  // column 2 has no mask
  SimulateKeyStroke(grid, VK_F2);
  SimulateTyping(grid->InplaceEditor(), u"free text");
  EXPECT_EQ(grid->Cells(2, 1), u"free text");
}

// A wheel notch moves the current row by one, and never past the first or last row.
TEST_F(GridFixture, TheWheelMovesTheCurrentRowByOne) {
  grid->SetRowCount(8);
  TPoint p = Centre(2, 2);
  grid->SetFocus();
  struct Step { int delta, row; };
  const Step steps[] = {{-120, 2}, {-120, 3}, {120, 2}, {120, 1}, {120, 1}};
  for (const Step& s : steps) {
    SimulateMouseWheel(grid, s.delta, p.X, p.Y);
    EXPECT_EQ(grid->Row(), s.row) << s.delta;
  }
  grid->MoveColRow(1, 7, true, true);
  SimulateMouseWheel(grid, -120, p.X, p.Y);
  EXPECT_EQ(grid->Row(), 7);
}

// The border: 2 pixels of sunken edge, 1 pixel of frame without Ctl3D, none with bsNone.
TEST_F(GridFixture, BordersAreTwoPixelsInThreeDOneFlatAndNoneWithoutStyle) {
  struct Case { TBorderStyle style; bool ctl3d; int origin; };
  const Case cases[] = {{bsSingle, true, 2}, {bsSingle, false, 1}, {bsNone, true, 0}};
  for (const Case& c : cases) {
    grid->SetBorderStyle(c.style);
    grid->SetCtl3D(c.ctl3d);
    EXPECT_EQ(grid->CellRect(0, 0).Left, c.origin);
    EXPECT_EQ(grid->CellRect(0, 0).Top, c.origin);
    QImage img = Render(grid);
    if (c.origin == 1) {
      EXPECT_EQ(CountColor(img, Rect(0, 5, 1, 100), clWindowFrame, 8), 95);
    }
  }
}

// Options change at run time: goRowSelect closes an open editor.
TEST_F(GridFixture, RowSelectSetWhileEditingClosesTheEditor) {
  grid->SetOptions(grid->Options() + goEditing);
  grid->SetFocus();
  SimulateKeyStroke(grid, VK_F2);
  ASSERT_TRUE(grid->EditorMode());
  grid->SetOptions(grid->Options() + goRowSelect);
  EXPECT_FALSE(grid->EditorMode());
  EXPECT_FALSE(grid->InplaceEditor()->Visible());
  EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 4, 1}));
  SimulateKeyStroke(grid, VK_F2);  // no editor in row select
  EXPECT_FALSE(grid->EditorMode());
}

}  // namespace

// Rows live in pages and columns from 4096 on in a map of their row: cells there read,
// write, move and go like any other.
TEST(StringGridStore, FarColumnsAndDistantRowsMoveAndGoLikeNearOnes) {
  TTestGrid grid(nullptr);
  grid.SetColCount(6000);
  grid.SetRowCount(1000);
  TObject a, b;
  struct Cell {
    int c, r;
  } cells[] = {{0, 0}, {5, 0}, {4095, 1}, {4096, 1}, {5000, 300}, {70000, 999}, {2, 70000}};
  for (const Cell& k : cells) grid.SetCells(k.c, k.r, u"t" + IntToStr(k.c) + u"," + IntToStr(k.r));
  grid.SetObjects(5000, 300, &a);
  grid.SetObjects(1, 998, &b);
  for (const Cell& k : cells) EXPECT_EQ(grid.Cells(k.c, k.r), u"t" + IntToStr(k.c) + u"," + IntToStr(k.r));
  EXPECT_EQ(grid.StoredCellCount(), 8u);

  std::vector<std::pair<int, int>> seen;
  grid.ForEachObject(TGridRect{0, 0, 100000, 998}, [&](int c, int r, TObject*) { seen.push_back({c, r}); });
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{1, 998}, {5000, 300}}));

  // Column 5000 to 2: the far cell comes near, columns 2..4999 shift right.
  grid.MoveColumn(5000, 2);
  EXPECT_EQ(grid.Cells(2, 300), u"t5000,300");
  EXPECT_EQ(grid.Objects(2, 300), &a);
  EXPECT_EQ(grid.Cells(6, 0), u"t5,0");
  EXPECT_EQ(grid.Cells(4097, 1), u"t4096,1");
  EXPECT_EQ(grid.Cells(4096, 1), u"t4095,1");
  EXPECT_EQ(grid.Cells(70000, 999), u"t70000,999");  // beyond the count: stays
  grid.MoveColumn(2, 5000);
  EXPECT_EQ(grid.Objects(5000, 300), &a);
  EXPECT_EQ(grid.Cells(4095, 1), u"t4095,1");

  // Rows move across pages; a removed row goes and later counted ones move up.
  grid.MoveRow(999, 1);
  EXPECT_EQ(grid.Cells(70000, 1), u"t70000,999");
  EXPECT_EQ(grid.Cells(4096, 2), u"t4096,1");
  EXPECT_EQ(grid.Objects(1, 999), &b);
  grid.DeleteRow(0);
  EXPECT_EQ(grid.Cells(70000, 0), u"t70000,999");
  EXPECT_EQ(grid.Cells(5000, 300), u"t5000,300");  // was row 301 after the move
  EXPECT_EQ(grid.Cells(2, 70000), u"t2,70000");
  EXPECT_EQ(grid.StoredCellCount(), 6u);
}
