// Filtering: levels of hidden rows, narrowing while typing and picks of the filter drop-down.
#include <gtest/gtest.h>

#include <vector>

#include "grid/AdvGrid.h"
#include "platform/rtl/SysUtils.h"

namespace {

// A grid with a header row and rows 1..N holding "row<i>" in column 0 and the given texts in
// column 1.
void Fill(DEreDuzeroVaro& g, const std::vector<String>& Texts) {
  g.SetColCount(3);
  g.SetRowCount(static_cast<int>(Texts.size()) + 1);
  for (size_t i = 0; i < Texts.size(); ++i) {
    g.SetCells(0, static_cast<int>(i) + 1, u"row" + IntToStr(static_cast<int>(i) + 1));
    g.SetCells(1, static_cast<int>(i) + 1, Texts[i]);
  }
}

std::vector<String> Shown(DEreDuzeroVaro& g, int ACol = 1) {
  std::vector<String> v;
  for (int r = g.FixedRows(); r < g.RowCount(); ++r) v.push_back(g.Cells(ACol, r));
  return v;
}

}  // namespace

TEST(AdvGridSortFilter, LevelsStackAndComeOffOneByOne) {
  DEreDuzeroVaro g(nullptr);
  Fill(g, {u"1", u"7", u"3", u"9", u"6"});
  TFilterData* f = g.Filter()->Add();
  f->SetColumn(1);
  f->SetCondition(u">5");
  g.SetFilterActive(true);
  EXPECT_EQ(Shown(g), (std::vector<String>{u"7", u"9", u"6"}));
  EXPECT_EQ(g.FilterLevel(), 1);
  f->SetCondition(u"<8");
  g.ApplyFilter();
  EXPECT_EQ(Shown(g), (std::vector<String>{u"7", u"6"}));
  EXPECT_EQ(g.FilterLevel(), 2);
  EXPECT_FALSE(g.RemoveLastFilter());
  EXPECT_EQ(Shown(g), (std::vector<String>{u"7", u"9", u"6"}));
  g.ApplyFilter();
  g.RemoveAllFilters();
  EXPECT_EQ(Shown(g), (std::vector<String>{u"1", u"7", u"3", u"9", u"6"}));
  EXPECT_EQ(g.FilterLevel(), 0);
  EXPECT_FALSE(g.RemoveLastFilter());
  // With no level, removing all filters empties the conditions.
  EXPECT_EQ(g.Filter()->Count(), 1);
  g.RemoveAllFilters();
  EXPECT_EQ(g.Filter()->Count(), 0);
}

TEST(AdvGridSortFilter, AnEmptyFilterOpensALevelAndHidesNothing) {
  DEreDuzeroVaro g(nullptr);
  Fill(g, {u"a", u"b"});
  g.SetFilterActive(true);
  EXPECT_EQ(g.FilterLevel(), 1);
  EXPECT_EQ(Shown(g).size(), 2u);
  g.SetFilterActive(false);
  EXPECT_EQ(g.FilterLevel(), 0);
  // A condition with an empty text matches every row.
  g.Filter()->Add()->SetColumn(1);
  g.SetFilterActive(true);
  EXPECT_EQ(Shown(g).size(), 2u);
}

TEST(AdvGridSortFilter, FilterRowHidesOneRowByItsRealIndex) {
  DEreDuzeroVaro g(nullptr);
  Fill(g, {u"a", u"b", u"c", u"b"});
  TFilterData* f = g.Filter()->Add();
  f->SetColumn(1);
  f->SetCondition(u"b");
  g.HideRow(2);   // "b"
  g.FilterRow(3);  // "c" fails
  g.FilterRow(4);  // "b" passes
  EXPECT_EQ(Shown(g), (std::vector<String>{u"a", u"b"}));
  EXPECT_TRUE(g.IsHiddenRow(3));
}

TEST(AdvGridSortFilter, ProgressIsReportedUpToTheEnd) {
  DEreDuzeroVaro g(nullptr);
  std::vector<String> texts;
  for (int i = 0; i < 400; ++i) texts.push_back(IntToStr(i));
  Fill(g, texts);
  std::vector<int> seen;
  g.OnFilterProgress = [&seen](TObject*, int16_t p) { seen.push_back(p); };
  g.SetFilterActive(true);
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back(), 100);
  EXPECT_LE(seen.size(), 102u);
  for (size_t i = 1; i < seen.size(); ++i) EXPECT_LE(seen[i - 1], seen[i]);
}

TEST(AdvGridSortFilter, NarrowDownStacksALevelPerTypedCharacter) {
  DEreDuzeroVaro g(nullptr);
  Fill(g, {u"Apple", u"apricot", u"banana", u"grape", u"xa by", u"ab"});
  g.NarrowDown(u"a", 1);
  EXPECT_EQ(g.FilterLevel(), 1);
  g.NarrowDown(u"ap", 1);
  g.NarrowDown(u"apr", 1);
  EXPECT_EQ(g.FilterLevel(), 3);
  EXPECT_EQ(Shown(g), (std::vector<String>{u"apricot"}));
  g.NarrowDown(u"ap", 1);  // erased: only the last level goes
  EXPECT_EQ(g.FilterLevel(), 2);
  EXPECT_EQ(Shown(g), (std::vector<String>{u"Apple", u"apricot", u"grape"}));
  g.NarrowDown(u"", 1);
  EXPECT_EQ(g.FilterLevel(), 0);
  EXPECT_EQ(Shown(g).size(), 6u);
  // A blank is matched as typed.
  g.NarrowDown(u"a b", 1);
  EXPECT_EQ(Shown(g), (std::vector<String>{u"xa by"}));
  // Column -1 searches whole rows.
  g.NarrowDown(u"ROW6", -1);
  EXPECT_EQ(Shown(g), (std::vector<String>{u"ab"}));
  EXPECT_EQ(g.LastFilter(), u"ROW6");
}

TEST(AdvGridSortFilter, NodeRowsStayWithNormalCellsOnly) {
  DEreDuzeroVaro g(nullptr);
  Fill(g, {u"node", u"x", u"y"});
  // Until a cell holds a graphic the filter takes no row for a node without looking.
  g.SetObjects(0, 2, &g);
  EXPECT_FALSE(g.GraphicsHeld());
  g.CreateCellGraphic(0, 1)->SetCellType(ctNode);
  EXPECT_TRUE(g.GraphicsHeld());
  TFilterData* f = g.Filter()->Add();
  f->SetColumn(1);
  f->SetCondition(u"y");
  g.SetFilterActive(true);
  EXPECT_EQ(Shown(g), (std::vector<String>{u"node", u"y"}));
  g.SetFilterActive(false);
  g.SetFilterNormalCellsOnly(false);
  g.SetFilterActive(true);
  EXPECT_EQ(Shown(g), (std::vector<String>{u"y"}));
}

TEST(AdvGridSortFilter, ManyStarsOnLongTextsStayFast) {
  DEreDuzeroVaro g(nullptr);
  const String longText(20000, u'a');
  Fill(g, {longText, longText + u"b", u"ab"});
  TFilterData* f = g.Filter()->Add();
  f->SetColumn(1);
  String stars;
  for (int i = 0; i < 30; ++i) stars += u"*a";
  f->SetCondition(stars + u"*b");
  g.SetFilterActive(true);
  EXPECT_EQ(Shown(g).size(), 1u);
}

TEST(AdvGridSortFilter, APickInTheDropDownBecomesTheColumnsCondition) {
  DEreDuzeroVaro g(nullptr);
  Fill(g, {u"b", u"a", u"b", u"c"});
  g.SetFilterDropDownAuto(true);
  int done = 0;
  g.OnFilterDone = [&done](TObject*) { ++done; };
  String friendly;
  g.OnFilterSelect = [&friendly](TObject*, int Column, int, const String& Name, String& Condition) {
    EXPECT_EQ(Column, 1);
    friendly = Name;
    (void)Condition;
  };
  g.SetFilterCol(1);
  g.FilterSelect(2);  // "(All)", "a", "b", "c"
  EXPECT_EQ(friendly, u"b");
  EXPECT_EQ(Shown(g), (std::vector<String>{u"b", u"b"}));
  EXPECT_EQ(g.FilterCol(), -1);
  EXPECT_EQ(done, 1);
  EXPECT_EQ(g.Filter()->GetColFilter(1)->Condition(), u"b");
  // "(All)" removes the column's condition and shows every row.
  g.SetFilterCol(1);
  g.FilterSelect(0);
  EXPECT_FALSE(g.Filter()->HasFilter(1));
  EXPECT_EQ(Shown(g).size(), 4u);
  // An index past the list changes nothing.
  g.SetFilterCol(1);
  g.FilterSelect(9);
  EXPECT_EQ(done, 2);
  EXPECT_EQ(g.FilterCol(), -1);
}

TEST(AdvGridSortFilter, DropDownRowMustLieInTheFixedRows) {
  DEreDuzeroVaro g(nullptr);
  g.SetFilterDropDownRow(1);
  EXPECT_EQ(g.FilterDropDownRow(), 0);
  g.SetFixedRows(2);
  g.SetFilterDropDownRow(1);
  EXPECT_EQ(g.FilterDropDownRow(), 1);
}
