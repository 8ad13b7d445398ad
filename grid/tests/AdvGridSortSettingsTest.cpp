// The sort settings (their text form, the sort row check, copying) and the filter conditions.
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

TEST(AdvGridFilter, ConditionsCombineAndAreFoundByColumn) {
  DEreDuzeroVaro g(nullptr);
  TFilter* f = g.Filter();
  TFilterData* first = f->Add();
  EXPECT_EQ(first->Operation(), foNONE);
  EXPECT_TRUE(first->CaseSensitive());
  EXPECT_EQ(first->Data(), fcVirtual);
  EXPECT_EQ(f->Add()->Operation(), foAND);
  EXPECT_EQ(f->Insert(0)->Operation(), foSHORT);
  EXPECT_EQ(f->Count(), 3);
  EXPECT_FALSE(f->HasFilter(4));
  TFilterData* c4 = f->GetColFilter(4);
  EXPECT_EQ(c4->Column(), 4);
  EXPECT_EQ(f->GetColFilter(4), c4);
  f->Items(1)->SetColumn(4);
  f->RemoveColumnFilter(4);
  EXPECT_FALSE(f->HasFilter(4));
  EXPECT_EQ(f->Count(), 2);
  // Another grid copies the conditions.
  first->SetCondition(u">5");
  DEreDuzeroVaro h(nullptr);
  h.Assign(&g);
  ASSERT_EQ(h.Filter()->Count(), 2);
  EXPECT_EQ(h.Filter()->Items(0)->Condition(), u">5");
}

TEST(AdvGridFilter, RowsMatchTheConditionsInTheirOrder) {
  DEreDuzeroVaro g(nullptr);
  g.SetRowCount(4);
  g.SetCells(1, 1, u"Alpha");
  g.SetCells(2, 1, u"12");
  g.SetCells(1, 2, u"beta");
  g.SetCells(2, 2, u"3");
  g.SetCells(1, 3, u"<b>Alpha</b>");
  TFilterData* a = g.Filter()->Add();
  a->SetColumn(1);
  a->SetCondition(u"A*");
  EXPECT_TRUE(g.RowMatchesFilter(1));
  EXPECT_FALSE(g.RowMatchesFilter(2));
  a->SetCaseSensitive(false);
  a->SetCondition(u"b*");
  EXPECT_TRUE(g.RowMatchesFilter(2));
  // Tags count unless the stripped text is tested.
  a->SetCondition(u"alpha");
  EXPECT_FALSE(g.RowMatchesFilter(3));
  a->SetData(fcStripHTML);
  EXPECT_TRUE(g.RowMatchesFilter(3));
  // A second condition joined by and, then by or.
  a->SetData(fcVirtual);
  TFilterData* b = g.Filter()->Add();
  b->SetColumn(2);
  b->SetCondition(u">5");
  EXPECT_TRUE(g.RowMatchesFilter(1));
  g.SetCells(2, 1, u"4");
  EXPECT_FALSE(g.RowMatchesFilter(1));
  b->SetOperation(foOR);
  a->SetCondition(u"beta");
  EXPECT_TRUE(g.RowMatchesFilter(2));
  // Whole rows are searched as plain text; the custom event has the last word.
  g.Filter()->Clear();
  TFilterData* r = g.Filter()->Add();
  r->SetData(fcRow);
  r->SetCondition(u"ETA");
  EXPECT_TRUE(g.RowMatchesFilter(2));
  EXPECT_FALSE(g.RowMatchesFilter(1));
  g.OnCustomFilter = [](TObject*, int ARow, bool& Accept) { Accept = Accept || ARow == 1; };
  EXPECT_TRUE(g.RowMatchesFilter(1));
}
