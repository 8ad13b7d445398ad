// The sort settings: their text form, the sort row check and copying.
#include <gtest/gtest.h>

#include "grid/AdvGrid.h"

TEST(AdvGridSortSettings, TextFormNamesTheColumnDirectionOrIndexes) {
  DEreDuzeroVaro g(nullptr);
  TSortSettings* s = g.SortSettings();
  EXPECT_EQ(s->SaveToString(), u"u-1");
  s->SetColumn(3);
  s->SetDirection(sdDescending);
  EXPECT_EQ(s->SaveToString(), u"d3");
  s->ToggleDirection();
  EXPECT_EQ(s->SaveToString(), u"u3");
  g.SortIndexes()->AddIndex(1, true);
  g.SortIndexes()->AddIndex(3, false);
  s->SetIndexShow(true);
  EXPECT_EQ(s->SaveToString(), u"i;u1;d3");
  s->Remove();
  EXPECT_EQ(s->Column(), -1);
  EXPECT_EQ(g.SortIndexes()->Count(), 0);
}

TEST(AdvGridSortSettings, SortRowMustLieInTheFixedRows) {
  DEreDuzeroVaro g(nullptr);
  EXPECT_THROW(g.SortSettings()->SetRow(1), Exception);
  g.SetFixedRows(2);
  g.SortSettings()->SetRow(1);
  EXPECT_EQ(g.SortSettings()->Row(), 1);
}

TEST(AdvGridSortSettings, AssignKeepsTheTargetsCaseAndVirtualCellChoices) {
  DEreDuzeroVaro a(nullptr), b(nullptr);
  a.SortSettings()->SetColumn(2);
  a.SortSettings()->SetShow(true);
  a.SortSettings()->SetIgnoreCase(true);
  a.SortSettings()->SetSortOnVirtualCells(false);
  a.SortSettings()->SetHeaderColor(clRed);
  b.SortSettings()->Assign(a.SortSettings());
  EXPECT_EQ(b.SortSettings()->Column(), 2);
  EXPECT_TRUE(b.SortSettings()->Show());
  EXPECT_EQ(b.SortSettings()->HeaderColor(), clRed);
  EXPECT_FALSE(b.SortSettings()->IgnoreCase());
  EXPECT_TRUE(b.SortSettings()->SortOnVirtualCells());
}
