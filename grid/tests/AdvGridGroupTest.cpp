// The string grid's grouping: header and summary rows, the grouped column taken out and put
// back, merged headers, sub-groups and ExpandOne.
#include <gtest/gtest.h>

#include <vector>

#include "grid/tests/GridTestSupport.h"
#include "platform/rtl/SysUtils.h"

namespace {

class GroupTest : public ::testing::Test {
protected:
  TGridForm f;
  DEreDuzeroVaro& g = *f.grid;
  // A header row and the rows of Values: column 1 "n<i>", column 2 the value, column 3 "k<i>".
  void Fill(const std::vector<String>& Values) {
    g.SetColCount(4);
    g.SetRowCount(1 + static_cast<int>(Values.size()));
    g.SetCells(1, 0, u"Name");
    g.SetCells(2, 0, u"Kind");
    g.SetCells(3, 0, u"Key");
    for (size_t i = 0; i < Values.size(); ++i) {
      const int r = static_cast<int>(i) + 1;
      g.SetCells(1, r, u"n" + IntToStr(r));
      g.SetCells(2, r, Values[i]);
      g.SetCells(3, r, u"k" + IntToStr(r));
    }
    g.SetColWidths(2, 77);
  }
  // Each row from row 1: "H:" + column 1 for a node row, "S" for a summary row, else columns
  // 1 .. ColCount - 1 joined by "|".
  std::vector<String> Rows() {
    std::vector<String> v;
    for (int r = 1; r < g.RowCount(); ++r) {
      if (g.IsNode(r)) v.push_back(u"H:" + g.Cells(1, r));
      else if (g.IsSummary(r)) v.push_back(u"S");
      else {
        String s;
        for (int c = 1; c < g.ColCount(); ++c) s += (c > 1 ? u"|" : u"") + g.Cells(c, r);
        v.push_back(s);
      }
    }
    return v;
  }
};

TEST_F(GroupTest, GroupPutsHeadersOverRunsAndUnGroupRestores) {
  Fill({u"A", u"A", u"B"});
  g.Group(2);
  EXPECT_EQ(g.GroupColumn(), 2);
  EXPECT_EQ(g.ColCount(), 3);
  EXPECT_EQ(Rows(), (std::vector<String>{u"H:A", u"n1|k1", u"n2|k2", u"H:B", u"n3|k3"}));
  EXPECT_EQ(g.GetNodeSpan(1), 3);
  EXPECT_EQ(g.GetNodeSpan(4), 2);
  EXPECT_EQ(g.GetNodeLevel(1), 1);
  EXPECT_EQ(g.Cells(2, 0), u"Key");
  EXPECT_EQ(g.Row(), 1);
  g.UnGroup();
  EXPECT_EQ(g.GroupColumn(), -1);
  EXPECT_EQ(g.ColCount(), 4);
  EXPECT_EQ(Rows(), (std::vector<String>{u"n1|A|k1", u"n2|A|k2", u"n3|B|k3"}));
  EXPECT_EQ(g.Cells(2, 0), u"Kind");
  EXPECT_EQ(g.ColWidths(2), 77);
  EXPECT_EQ(g.NumNodes(), 0);
}

TEST_F(GroupTest, SummaryRowsFollowEachGroupOutsideItsSpan) {
  Fill({u"A", u"A", u"B"});
  g.Grouping()->SetSummary(true);
  g.Grouping()->SetSummaryColor(clYellow);
  g.Group(2);
  EXPECT_EQ(Rows(), (std::vector<String>{u"H:A", u"n1|k1", u"n2|k2", u"S", u"H:B", u"n3|k3", u"S"}));
  EXPECT_EQ(g.GetNodeSpan(1), 3);
  EXPECT_EQ(g.GetNodeSpan(5), 2);
  EXPECT_EQ(g.Colors(1, 4), clYellow);
  g.UnGroup();
  EXPECT_EQ(Rows(), (std::vector<String>{u"n1|A|k1", u"n2|A|k2", u"n3|B|k3"}));
}

TEST_F(GroupTest, ColumnOneAndLetterCase) {
  // Column 1 as the grouped column: the header texts still end in column 1; "a" and "A" are
  // two groups.
  Fill({u"x", u"y", u"z"});
  g.SetCells(1, 1, u"a");
  g.SetCells(1, 2, u"a");
  g.SetCells(1, 3, u"A");
  g.SortSettings()->SetAutoSortForGrouping(false);
  g.Group(1);
  EXPECT_EQ(Rows(), (std::vector<String>{u"H:a", u"x|k1", u"y|k2", u"H:A", u"z|k3"}));
  g.SetGroupColumn(0);  // changes nothing
  EXPECT_EQ(g.GroupColumn(), 1);
  g.SetGroupColumn(-1);
  EXPECT_EQ(g.GroupColumn(), -1);
  EXPECT_EQ(Rows(), (std::vector<String>{u"a|x|k1", u"a|y|k2", u"A|z|k3"}));
}

TEST_F(GroupTest, AutoSortBringsEqualValuesTogether) {
  Fill({u"B", u"A", u"B"});
  g.Group(2);
  EXPECT_EQ(Rows(), (std::vector<String>{u"H:A", u"n2|k2", u"H:B", u"n1|k1", u"n3|k3"}));
}

TEST_F(GroupTest, WithoutSortingEachRunIsAGroup) {
  Fill({u"A", u"B", u"A"});
  g.SortSettings()->SetAutoSortForGrouping(false);
  g.SetGroupColumn(2);
  EXPECT_EQ(Rows(), (std::vector<String>{u"H:A", u"n1|k1", u"H:B", u"n2|k2", u"H:A", u"n3|k3"}));
}

TEST_F(GroupTest, MergedHeadersSpanTheRow) {
  Fill({u"A", u"B"});
  g.Grouping()->SetMergeHeader(true);
  g.Grouping()->SetHeaderColor(clAqua);
  g.Group(2);
  for (int r : {1, 3}) {
    EXPECT_TRUE(g.IsMergedCell(1, r)) << r;
    EXPECT_EQ(g.CellSpan(1, r).X, g.ColCount() - 2) << r;
    EXPECT_EQ(g.Colors(1, r), clAqua) << r;
  }
  EXPECT_FALSE(g.IsMergedCell(1, 2));
  g.UnGroup();
  EXPECT_FALSE(g.IsMergedCell(1, 1));
  EXPECT_EQ(Rows(), (std::vector<String>{u"n1|A|k1", u"n2|B|k2"}));
}

TEST_F(GroupTest, ExpandOneLeavesTheFirstGroupOpen) {
  Fill({u"A", u"A", u"B", u"C"});
  g.CellNode()->SetExpandOne(true);
  g.Group(2);
  EXPECT_EQ(Rows(), (std::vector<String>{u"H:A", u"n1|k1", u"n2|k2", u"H:B", u"H:C"}));
  g.UnGroup();
  EXPECT_EQ(Rows(), (std::vector<String>{u"n1|A|k1", u"n2|A|k2", u"n3|B|k3", u"n4|C|k4"}));
  EXPECT_TRUE(g.CellNode()->ExpandOne());
}

TEST_F(GroupTest, SubGroupsAndBack) {
  // Grouped by column 2; in the grouped grid column 2 is the former column 3.
  Fill({u"A", u"A", u"A", u"B"});
  g.SetCells(3, 1, u"x");
  g.SetCells(3, 2, u"x");
  g.SetCells(3, 3, u"y");
  g.SetCells(3, 4, u"z");
  g.Group(2);
  g.SubGroup(2);
  // Sub-headers carry the value in column 3; the data rows' column 2 is emptied.
  std::vector<String> rows;
  for (int r = 1; r < g.RowCount(); ++r)
    rows.push_back((g.IsNode(r) ? u"L" + IntToStr(g.GetNodeLevel(r)) + u":" : u"") + g.Cells(1, r) + u"|" +
                   g.Cells(2, r) + u"|" + g.Cells(3, r));
  EXPECT_EQ(rows, (std::vector<String>{u"L1:A||", u"L2:||x", u"n1||", u"n2||", u"L2:||y", u"n3||", u"L1:B||",
                                       u"L2:||z", u"n4||"}));
  EXPECT_EQ(g.GetNodeSpan(1), 6);
  EXPECT_EQ(g.GetSubNodeCount(1), 2);
  EXPECT_EQ(g.GetNodeSpan(2), 3);
  g.Grouping()->SetShowGroupCount(true);
  EXPECT_EQ(g.Cells(1, 1), u"A (3)");
  g.Grouping()->SetShowGroupCount(false);
  g.SubUnGroup(2);
  EXPECT_EQ(Rows(), (std::vector<String>{u"H:A", u"n1|x", u"n2|x", u"n3|y", u"H:B", u"n4|z"}));
  EXPECT_EQ(g.GetNodeSpan(1), 4);
  EXPECT_EQ(g.GetSubNodeCount(1), 0);
  g.UnGroup();
  EXPECT_EQ(Rows(), (std::vector<String>{u"n1|A|x", u"n2|A|x", u"n3|A|y", u"n4|B|z"}));
}

TEST_F(GroupTest, UnGroupKeepsDataRowsWhenSummaryWasSwitchedOnAfterwards) {
  Fill({u"A", u"B"});
  g.Group(2);
  g.Grouping()->SetSummary(true);
  g.UnGroup();
  EXPECT_EQ(Rows(), (std::vector<String>{u"n1|A|k1", u"n2|B|k2"}));
}

TEST_F(GroupTest, NothingToGroup) {
  Fill({u"A"});
  g.SetFixedCols(1);
  g.Group(0);  // a fixed column
  g.Group(9);  // no such column
  EXPECT_EQ(g.GroupColumn(), -1);
  EXPECT_EQ(g.ColCount(), 4);
  g.UnGroup();
  EXPECT_EQ(Rows(), (std::vector<String>{u"n1|A|k1"}));
}

}  // namespace

#include "grid/AdvGridFooterPanel.h"
#include "grid/demo/GridDemo.h"

namespace {

// The demo's Nodes menu, item by item, as the operator picks them.
TEST(GridDemoNodes, EveryItemOfTheMenuWorksOnTheChannelTable) {
  TGridDemoForm form(nullptr);
  form.Show();
  ProcessPendingEvents();
  DEreDuzeroVaro* g = form.Grid();
  TMenuItem* menu = form.DemoMenu(u"Nodes");
  auto pick = [&](const String& Caption) {
    for (int i = 0; i < menu->Count(); ++i)
      if (menu->Items(i)->Caption() == Caption) {
        menu->Items(i)->Click();
        ProcessPendingEvents();
        return;
      }
    ADD_FAILURE() << "no item " << StringToUTF8(Caption);
  };
  pick(u"Group by mode");
  EXPECT_EQ(g->GroupColumn(), 3);
  EXPECT_EQ(g->NumNodes(), 4);
  EXPECT_EQ(g->RowCount(), 1 + 10 + 4 + 4);
  pick(u"Contract all");
  EXPECT_EQ(g->RowCount(), 1 + 4 + 4);
  pick(u"Expand all");
  pick(u"Average level per group");
  EXPECT_FALSE(g->Cells(2, 1 + 1 + g->GetNodeSpan(1) - 1).empty());
  pick(u"Floating footer with totals");
  EXPECT_TRUE(g->FloatingFooter()->Visible());
  EXPECT_EQ(g->Cells(5, g->RowCount() - 1), u"100.00");  // the signal column, left of the taken-out mode
  pick(u"Footer panel: note preview");
  pick(u"Footer panel: channel template");
  RenderControl(g->FooterPanel());
  pick(u"Hide the footer");
  EXPECT_FALSE(g->FloatingFooter()->Visible());
  pick(u"Ungroup");
  EXPECT_EQ(g->GroupColumn(), -1);
  EXPECT_EQ(g->RowCount(), 11);
  // The channels stay in the order grouping sorted them into.
  EXPECT_EQ(g->Cells(3, 1), u"Momentary");
  EXPECT_EQ(g->Cells(1, 1), u"426.0625");
}

}  // namespace

// Rows of one value that the sort finds equal (the columns to the right alike) keep the
// order they had: "n1", "n4", ... under each header, never reversed.
TEST_F(GroupTest, RowsOfAGroupKeepTheirOrder) {
  std::vector<String> values;
  for (int i = 0; i < 30; ++i) values.push_back(String(1, char16_t(u'C' - i % 3)));
  Fill(values);
  for (int r = 1; r <= 30; ++r) g.SetCells(3, r, u"same");
  g.Group(2);
  const std::vector<String> rows = Rows();
  ASSERT_EQ(rows.size(), 33u);
  int last = 0;
  for (const String& row : rows) {
    if (row.rfind(u"H:", 0) == 0) {
      last = 0;
      continue;
    }
    const int n = StrToInt(row.substr(1, row.find(u'|') - 1));
    EXPECT_GT(n, last) << StringToUTF8(row);
    last = n;
  }
  EXPECT_EQ(rows.front(), u"H:A");
}
