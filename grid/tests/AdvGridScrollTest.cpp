// Scrolling: the thin scroll bars and what follows a scroll.
#include <gtest/gtest.h>

#include "grid/AdvGrid.h"
#include "grid/tests/GridTestSupport.h"

namespace {

TEST(AdvGridScroll, ThinBarThumbFollowsTheRowsAndIsNeverShorterThan20Pixels) {
  TGridForm f;
  DEreDuzeroVaro* g = f.grid;
  g->SetRowCount(10000);
  g->SetScrollType(ssMetro);
  ProcessPendingEvents();
  DEreDuzeroVaro::TScrollControl* bar = g->VScrollControl();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->Width(), 6);
  int pos = 0, size = 0;
  bar->Thumb(pos, size);
  EXPECT_EQ(size, 20);
  EXPECT_EQ(pos, g->RowHeights(0));  // the track starts below the fixed row
  g->SetTopRow(g->RowCount() - g->VisibleRowCount());
  bar->Thumb(pos, size);
  EXPECT_EQ(pos + size, bar->Height());  // kept inside the bar at the end
  g->SetScrollType(ssNormal);
  EXPECT_EQ(g->VScrollControl(), nullptr);
}

TEST(AdvGridScroll, ThinBarPagesOnAPressBesideTheThumbAndScrollsWhileTheThumbIsDragged) {
  TGridForm f;
  DEreDuzeroVaro* g = f.grid;
  g->SetRowCount(200);
  g->SetThinScrollBars(true);
  ProcessPendingEvents();
  DEreDuzeroVaro::TScrollControl* bar = g->VScrollControl();
  const int page = g->VisibleRowCount();
  SimulateClick(bar, 3, bar->Height() - 5);
  EXPECT_EQ(g->TopRow(), 1 + page);
  SimulateClick(bar, 3, g->RowHeights(0) + 1);
  EXPECT_EQ(g->TopRow(), 1);

  int pos = 0, size = 0;
  bar->Thumb(pos, size);
  SimulateMouseDown(bar, mbLeft, 3, pos + 2);
  TShiftState held;
  held.Include(ssLeft);
  SimulateMouseMove(bar, 3, pos + 2 + 40, held);
  const int moved = g->TopRow();
  SimulateMouseUp(bar, mbLeft, 3, pos + 2 + 40);
  EXPECT_GT(moved, 1);
  EXPECT_LT(moved, 200);
  // After the release, moving the mouse scrolls no more.
  SimulateMouseMove(bar, 3, pos + 2 + 80);
  EXPECT_EQ(g->TopRow(), moved);
}

TEST(AdvGridScroll, ASynchronisedGridFollowsTheScroll) {
  TGridForm f;
  auto* other = new DEreDuzeroVaro(&f.form);
  other->SetParent(&f.form);
  other->SetBounds(0, 310, 500, 80);
  for (DEreDuzeroVaro* g : {f.grid, other}) {
    g->SetRowCount(100);
    g->SetColCount(30);
  }
  f.grid->SyncGrid()->SetGrid(other);
  f.grid->SyncGrid()->SetScrollVertical(true);
  f.grid->SetTopRow(40);
  f.grid->SetLeftCol(7);
  EXPECT_EQ(other->TopRow(), 40);
  EXPECT_EQ(other->LeftCol(), 1);
  f.grid->SyncGrid()->SetScrollHorizontal(true);
  f.grid->SetLeftCol(8);
  EXPECT_EQ(other->LeftCol(), 8);
}

}  // namespace
