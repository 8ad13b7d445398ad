// Clearing and trimming rectangles of cells.
#include <gtest/gtest.h>

#include "grid/AdvGrid.h"
#include "testing/TestSupport.h"

namespace {

// Objects that tell when they are freed.
struct TWatchedObject : TObject {
  bool* Freed;
  explicit TWatchedObject(bool* F) : Freed(F) {}
  ~TWatchedObject() override { *Freed = true; }
};
struct TWatchedGraphic : TCellGraphic {
  bool* Freed;
  explicit TWatchedGraphic(bool* F) : Freed(F) {}
  ~TWatchedGraphic() override { *Freed = true; }
};

}  // namespace

TEST(AdvGridClear, ClearFreesRecordsAndGraphicsButNeverTheApplicationsObject) {
  DEreDuzeroVaro g(nullptr);
  bool objectFreed = false, graphicFreed = false;
  TWatchedObject userObject(&objectFreed);
  g.SetCells(1, 1, u"text");
  g.SetObjects(1, 1, &userObject);
  g.SetGraphicObjects(2, 2, new TWatchedGraphic(&graphicFreed));
  g.CellProperties(3, 3)->SetBrushColor(clRed);
  TRect changed;
  g.OnCellsChanged = [&](TObject*, TRect R) { changed = R; };
  g.ClearRect(0, 0, g.ColCount() - 1, g.RowCount() - 1);
  EXPECT_EQ(g.Cells(1, 1), u"");
  EXPECT_FALSE(g.HasCellProperties(1, 1));
  EXPECT_FALSE(g.HasCellProperties(3, 3));
  EXPECT_TRUE(graphicFreed);
  EXPECT_FALSE(objectFreed);
  EXPECT_FALSE(g.HasCellProps());
  EXPECT_EQ(changed, TRect(0, 0, g.ColCount() - 1, g.RowCount() - 1));
}

TEST(AdvGridClear, TextOnlyClearKeepsColoursMergesAndTheRecordFlag) {
  DEreDuzeroVaro g(nullptr);
  g.SetCells(1, 1, u"merged");
  g.MergeCells(1, 1, 2, 2);
  g.CellProperties(3, 3)->SetBrushColor(clRed);
  g.SetClearTextOnly(true);
  g.ClearRect(0, 0, g.ColCount() - 1, g.RowCount() - 1);
  EXPECT_EQ(g.Cells(1, 1), u"");
  EXPECT_EQ(g.CellSpan(2, 2), TPoint(1, 1));
  ASSERT_TRUE(g.HasCellProperties(3, 3));
  EXPECT_EQ(g.CellProperties(3, 3)->BrushColor(), clRed);
  EXPECT_TRUE(g.HasCellProps());
}

TEST(AdvGridClear, TrimRectTrimsThroughTheMergedCells) {
  DEreDuzeroVaro g(nullptr);
  g.SetCells(1, 1, u"  a  ");
  g.SetCells(3, 2, u" b");
  g.SetCells(4, 4, u" outside ");
  g.TrimRect(1, 1, 3, 2);
  EXPECT_EQ(g.Cells(1, 1), u"a");
  EXPECT_EQ(g.Cells(3, 2), u"b");
  EXPECT_EQ(g.Cells(4, 4), u" outside ");
}
