#include <gtest/gtest.h>

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

}  // namespace
