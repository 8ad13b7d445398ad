// The string grid's nodes: making and removing them, contracting and expanding (nested and
// with rows hidden outside them), the tree queries, child rows and expand cells.
#include <gtest/gtest.h>

#include <vector>

#include "grid/tests/GridTestSupport.h"
#include "platform/rtl/SysUtils.h"

namespace {

class NodesTest : public ::testing::Test {
protected:
  TGridForm f;
  DEreDuzeroVaro& g = *f.grid;
  void SetUp() override {
    g.SetColCount(3);
    g.SetRowCount(10);
    // Column 1 of each row names its real row.
    for (int r = 1; r < 10; ++r) g.SetCells(1, r, u"r" + IntToStr(r));
  }
  // Column 1 of the displayed rows from row 1.
  String Shown() {
    String s;
    for (int r = 1; r < g.RowCount(); ++r) s += (s.empty() ? u"" : u" ") + g.Cells(1, r);
    return s;
  }
};

TEST_F(NodesTest, AddNodeRaisesLevelsAndMovesOffColumnZero) {
  g.SetFixedCols(0);
  g.SetCol(0);
  g.AddNode(2, 3);
  EXPECT_TRUE(g.IsNode(2));
  EXPECT_EQ(g.GetNodeSpan(2), 3);
  EXPECT_FALSE(g.GetNodeState(2));
  EXPECT_EQ(g.NumNodes(), 1);
  EXPECT_TRUE(g.HasNodes());
  EXPECT_EQ(g.Col(), 1);
  for (int r : {2, 3, 4}) EXPECT_EQ(g.CellProperties(0, r)->NodeLevel(), 1) << r;
  EXPECT_FALSE(g.HasCellProperties(0, 5));
  g.AddNode(3, 2);
  EXPECT_EQ(g.GetNodeLevel(3), 2);
  EXPECT_EQ(g.CellProperties(0, 4)->NodeLevel(), 2);
  EXPECT_EQ(g.GetNodeLevel(2), 1);
  EXPECT_EQ(g.GetNodeLevel(5), -1);
  EXPECT_EQ(g.GetNodeSpan(5), -1);
  EXPECT_EQ(g.GetSubNodeCount(5), 0);
  EXPECT_EQ(g.NumNodes(), 2);
}

TEST_F(NodesTest, AClickOnTheGlyphContractsAndExpandsTheNode) {
  g.AddNode(2, 3);
  ProcessPendingEvents();
  const TRect r = g.CellRect(0, 2);
  const int y = (r.Top + r.Bottom) / 2;
  SimulateClick(&g, r.Right - 5, y);  // beside the glyph: nothing
  EXPECT_FALSE(g.GetNodeState(2));
  SimulateClick(&g, r.Left + 8, y);
  EXPECT_TRUE(g.GetNodeState(2));
  EXPECT_EQ(Shown(), u"r1 r2 r5 r6 r7 r8 r9");
  SimulateMouseMove(&g, r.Left + 8, y + 40);
  SimulateClick(&g, r.Left + 9, y);
  EXPECT_FALSE(g.GetNodeState(2));
  EXPECT_EQ(Shown(), u"r1 r2 r3 r4 r5 r6 r7 r8 r9");
}

TEST_F(NodesTest, BadNodeRowOrSpanRaisesAndChangesNothing) {
  EXPECT_THROW(g.AddNode(-1, 1), VUreReriVorov);
  EXPECT_THROW(g.AddNode(10, 1), VUreReriVorov);
  EXPECT_THROW(g.AddNode(8, 3), VUreReriVorov);
  EXPECT_THROW(g.AddNode(2, -1), VUreReriVorov);
  EXPECT_EQ(g.NumNodes(), 0);
  for (int r = 0; r < 10; ++r) EXPECT_FALSE(g.IsNode(r));
}

TEST_F(NodesTest, ContractHidesTheSpanAndExpandPutsItBack) {
  g.AddNode(2, 3);
  g.ContractNode(2);
  EXPECT_TRUE(g.GetNodeState(2));
  EXPECT_EQ(g.RowCount(), 8);
  EXPECT_EQ(Shown(), u"r1 r2 r5 r6 r7 r8 r9");
  g.ExpandNode(2);
  EXPECT_FALSE(g.GetNodeState(2));
  EXPECT_EQ(Shown(), u"r1 r2 r3 r4 r5 r6 r7 r8 r9");
  // Through the state property, by displayed row.
  g.SetNodeState(2, true);
  EXPECT_EQ(g.RowCount(), 8);
  g.ToggleNode(2);
  EXPECT_EQ(g.RowCount(), 10);
  g.SetNodeState(5, true);  // no node: nothing
  EXPECT_EQ(g.RowCount(), 10);
}

TEST_F(NodesTest, SpanZeroReachesTheNextNodeOrTheEnd) {
  g.AddNode(2, 0);
  g.AddNode(6, 0);
  g.ContractNode(2);
  EXPECT_EQ(Shown(), u"r1 r2 r6 r7 r8 r9");
  g.ContractNode(6);
  EXPECT_EQ(Shown(), u"r1 r2 r6");
  g.ExpandNode(6);
  g.ExpandNode(2);
  EXPECT_EQ(Shown(), u"r1 r2 r3 r4 r5 r6 r7 r8 r9");
}

TEST_F(NodesTest, OuterContractionFoldsAContractedInnerNode) {
  g.AddNode(2, 5);  // rows 2..6
  g.AddNode(3, 2);  // rows 3..4
  g.ContractNode(3);
  EXPECT_EQ(Shown(), u"r1 r2 r3 r5 r6 r7 r8 r9");
  g.ContractNode(2);
  EXPECT_EQ(Shown(), u"r1 r2 r7 r8 r9");
  g.ExpandNode(2);
  EXPECT_EQ(Shown(), u"r1 r2 r3 r4 r5 r6 r7 r8 r9");
  EXPECT_FALSE(g.GetNodeState(3));
  EXPECT_EQ(g.NumHiddenRows(), 0);
}

TEST_F(NodesTest, ExpandOneContractsTheOtherNodes) {
  g.CellNode()->SetExpandOne(true);
  g.AddNode(2, 2);
  g.AddNode(5, 2);
  g.ContractNode(2);
  g.ContractNode(5);
  g.ExpandNode(2);
  EXPECT_EQ(Shown(), u"r1 r2 r3 r4 r5 r7 r8 r9");
  g.ExpandNode(5);
  EXPECT_EQ(Shown(), u"r1 r2 r4 r5 r6 r7 r8 r9");
  EXPECT_TRUE(g.GetNodeState(2));
}

TEST_F(NodesTest, ExpandAllAndContractAll) {
  g.AddNode(2, 3);
  g.AddNode(3, 2);
  g.AddNode(6, 2);
  g.ContractAll();
  EXPECT_EQ(Shown(), u"r1 r2 r5 r6 r8 r9");
  EXPECT_TRUE(g.GetNodeState(2));
  EXPECT_TRUE(g.GetNodeState(4));
  g.ExpandAll();
  EXPECT_EQ(Shown(), u"r1 r2 r3 r4 r5 r6 r7 r8 r9");
  EXPECT_FALSE(g.GetNodeState(3));
  // ExpandOne does not keep ExpandAll from showing every node.
  g.ContractAll();
  g.CellNode()->SetExpandOne(true);
  g.ExpandAll();
  EXPECT_EQ(Shown(), u"r1 r2 r3 r4 r5 r6 r7 r8 r9");
  EXPECT_EQ(g.NumHiddenRows(), 0);
}

TEST_F(NodesTest, RowsHiddenOutsideNodesStayPutThroughExpandAllAndRemoveAllNodes) {
  g.AddNode(4, 2);
  g.AddNode(7, 2);
  g.HideRow(2);
  g.ContractNode(4);
  g.ContractNode(7);
  EXPECT_EQ(Shown(), u"r1 r3 r4 r6 r7 r9");
  g.ExpandAll();
  EXPECT_EQ(Shown(), u"r1 r3 r4 r5 r6 r7 r8 r9");
  g.ContractNode(4);
  g.ContractNode(7);
  g.RemoveAllNodes();
  EXPECT_EQ(Shown(), u"r1 r3 r4 r5 r6 r7 r8 r9");
  EXPECT_EQ(g.NumNodes(), 0);
  EXPECT_EQ(g.NumHiddenRows(), 1);
  for (int r = 0; r < g.RowCount(); ++r) EXPECT_FALSE(g.IsNode(r)) << r;
  g.UnHideRow(2);
  EXPECT_EQ(Shown(), u"r1 r2 r3 r4 r5 r6 r7 r8 r9");
}

TEST_F(NodesTest, RemoveNodeExpandsAndLowersTheLevels) {
  g.AddNode(2, 3);
  g.ContractNode(2);
  g.RemoveNode(2);
  EXPECT_EQ(Shown(), u"r1 r2 r3 r4 r5 r6 r7 r8 r9");
  EXPECT_FALSE(g.IsNode(2));
  EXPECT_EQ(g.NumNodes(), 0);
  EXPECT_EQ(g.CellProperties(0, 3)->NodeLevel(), 0);
}

TEST_F(NodesTest, ParentRowsAndSpanTypes) {
  EXPECT_EQ(g.GetParentRow(3), -1);  // no nodes
  g.AddNode(2, 4);  // 2..5
  g.AddNode(3, 2);  // 3..4
  struct {
    int Row, Parent;
  } cases[] = {{1, -1}, {2, 2}, {3, 2}, {4, 3}, {5, 2}, {6, -1}};
  for (auto c : cases) EXPECT_EQ(g.GetParentRow(c.Row), c.Parent) << c.Row;
  g.ContractNode(3);  // real row 4 hidden: displayed 4 is real 5
  EXPECT_EQ(g.GetParentRow(4), 2);
  EXPECT_EQ(g.GetParentRow(5), -1);
  g.ExpandNode(3);
  EXPECT_EQ(g.GetNodeSpanType(2), 0);
  EXPECT_EQ(g.GetNodeSpanType(4), 1);  // level 2 followed by level 1
  EXPECT_EQ(g.GetNodeSpanType(5), 1);  // no record below
  EXPECT_EQ(g.GetNodeSpanType(9), 1);  // the last row
  g.AddNode(6, 3);
  EXPECT_EQ(g.GetNodeSpanType(7), 2);
}

TEST_F(NodesTest, ChildRowsGrowAndShrinkTheirNodes) {
  g.AddNode(2, 4);  // 2..5
  g.AddNode(3, 2);  // 3..4
  g.InsertChildRow(4, 0);  // a row before real row 4, inside the inner node
  EXPECT_EQ(g.RowCount(), 11);
  EXPECT_EQ(g.GetNodeSpan(3), 3);
  EXPECT_EQ(g.GetSubNodeCount(3), 1);
  EXPECT_EQ(g.GetNodeSpan(2), 5);
  EXPECT_EQ(g.GetSubNodeCount(2), 1);
  EXPECT_EQ(g.CellProperties(0, 4)->NodeLevel(), 2);
  EXPECT_EQ(g.Cells(1, 5), u"r4");
  g.RemoveChildRow(4);
  EXPECT_EQ(g.RowCount(), 10);
  EXPECT_EQ(g.GetNodeSpan(3), 2);
  EXPECT_EQ(g.GetSubNodeCount(3), 0);
  EXPECT_EQ(g.GetNodeSpan(2), 4);
  EXPECT_EQ(Shown(), u"r1 r2 r3 r4 r5 r6 r7 r8 r9");
  // On a node row with InsertAt 0 the node's texts move into the new row.
  g.InsertChildRow(3, 0);
  EXPECT_TRUE(g.IsNode(3));
  EXPECT_EQ(g.Cells(1, 3), u"");
  EXPECT_EQ(g.Cells(1, 4), u"r3");
}

TEST_F(NodesTest, InsertNormalRowKeepsHiddenRowsInPlace) {
  g.AddNode(5, 3);
  g.ContractNode(5);
  g.InsertNormalRow(2);
  g.SetCells(1, 2, u"new");
  g.ExpandNode(6);
  EXPECT_EQ(Shown(), u"r1 new r2 r3 r4 r5 r6 r7 r8 r9");
  g.RemoveNormalRow(2);
  EXPECT_EQ(Shown(), u"r1 r2 r3 r4 r5 r6 r7 r8 r9");
}

TEST_F(NodesTest, GlyphHitByNodeType) {
  g.AddNode(2, 2);
  g.AddNode(3, 1);
  g.MouseActions()->SetPreciseNodeClick(false);
  EXPECT_TRUE(g.IsNodeGlyphHit(2, 200));
  g.MouseActions()->SetPreciseNodeClick(true);
  g.CellNode()->SetNodeIndent(12);
  struct {
    TNodeType Type;
    int Row, X;
    bool Hit;
  } cases[] = {
      {cnXP, 2, 4, false},  {cnXP, 2, 5, true},  {cnXP, 2, 15, true},  {cnXP, 2, 16, false},
      {cn3D, 2, 1, true},   {cn3D, 2, 17, true}, {cn3D, 2, 18, false}, {cnLeaf, 2, 2, false},
      {cnLeaf, 2, 19, true}, {cnXP, 3, 16, false}, {cnXP, 3, 17, true}, {cnXP, 3, 27, true},
      {cnGlyph, 2, 1, true}, {cnGlyph, 2, 12, false},
  };
  for (auto c : cases) {
    g.CellNode()->SetNodeType(c.Type);
    EXPECT_EQ(g.IsNodeGlyphHit(c.Row, c.X), c.Hit) << int(c.Type) << " " << c.Row << " " << c.X;
  }
}

TEST_F(NodesTest, ExpandCells) {
  EXPECT_FALSE(g.ToggleExpand(1, 1));
  EXPECT_FALSE(g.GetExpandState(1, 1));
  EXPECT_EQ(g.GetExpandHeight(1, 1, true), g.DefaultRowHeight());
  g.SetRowHeights(1, 20);
  g.AddExpand(1, 1, 60);
  EXPECT_TRUE(g.HasExpand(1, 1));
  EXPECT_EQ(g.GetExpandHeight(1, 1, true), 60);
  EXPECT_EQ(g.GetExpandHeight(1, 1, false), 20);
  EXPECT_TRUE(g.ToggleExpand(1, 1));
  EXPECT_TRUE(g.GetExpandState(1, 1));
  EXPECT_FALSE(g.ToggleExpand(1, 1));
  g.RemoveExpand(1, 1);
  EXPECT_FALSE(g.HasExpand(1, 1));
}

}  // namespace

namespace {

TEST(NodesStreamTest, NodeRowsLoadedFromTheCellStreamAreCounted) {
  TGridForm f1, f2;
  DEreDuzeroVaro& a = *f1.grid;
  a.SetColCount(3);
  a.SetRowCount(8);
  a.AddNode(1, 3);
  a.AddNode(5, 2);
  TMemoryStream stream;
  a.SaveToBinStream(&stream);
  stream.SetPosition(0);
  DEreDuzeroVaro& b = *f2.grid;
  b.LoadFromBinStream(&stream);
  b.RecountNodes();
  EXPECT_EQ(b.NumNodes(), 2);
  EXPECT_TRUE(b.HasNodes());
  EXPECT_EQ(b.GetNodeSpan(5), 2);
}

}  // namespace
