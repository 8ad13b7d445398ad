// The string grid's selection interface: marked rows and columns with their events and
// errors, listed cells, the selection as text and the row states.
#include <gtest/gtest.h>

#include <vector>

#include "grid/AdvGrid.h"
#include "grid/tests/GridTestSupport.h"
#include "platform/rtl/SysUtils.h"

namespace {

struct TSelGrid : TGridForm {
  TSelGrid() {
    grid->SetColCount(4);
    grid->SetRowCount(6);
  }
};

template <class F>
String RaisedText(F Call) {
  try {
    Call();
  } catch (const VUreReriVorov& e) {
    return e.Message();
  }
  return u"(nothing raised)";
}

}  // namespace

TEST(AdvGridStructureSelect, OutOfRangeMarksRaiseTheirTexts) {
  TSelGrid f;
  DEreDuzeroVaro* g = f.grid;
  g->HideRow(2);  // 5 shown rows, 6 rows in all
  EXPECT_EQ(RaisedText([&] { g->RowSelect(6); }), u"Invalid row 6 accessed");
  EXPECT_EQ(RaisedText([&] { g->RowSelect(-1); }), u"Invalid row -1 accessed");
  EXPECT_EQ(RaisedText([&] { g->SetRowSelect(6, true); }), u"Invalid row accessed");
  EXPECT_EQ(RaisedText([&] { g->ColSelect(4); }), u"Invalid column accessed");
  EXPECT_EQ(RaisedText([&] { g->SetColSelect(-1, true); }), u"Invalid column accessed");
  // A hidden row counts: its index is still valid.
  EXPECT_EQ(RaisedText([&] { g->SetRowSelect(5, true); }), u"(nothing raised)");
}

TEST(AdvGridStructureSelect, RowMarksAskFirstOnlyWhenTheyChange) {
  TSelGrid f;
  DEreDuzeroVaro* g = f.grid;
  g->MouseActions()->SetDisjunctRowSelect(true);
  std::vector<String> events;
  bool allow = true;
  g->OnRowDisjunctSelect = [&](TObject*, int ARow, bool AState, bool& Allow) {
    events.push_back(u"ask " + IntToStr(ARow) + (AState ? u"+" : u"-"));
    Allow = allow;
  };
  g->OnRowDisjunctSelected = [&](TObject*, int ARow) { events.push_back(u"done " + IntToStr(ARow)); };
  g->SetRowSelect(3, true);
  g->SetRowSelect(3, true);  // already marked: not asked
  g->SetRowSelect(5, false);  // past the list: asked
  allow = false;
  g->SetRowSelect(2, true);  // refused
  EXPECT_EQ(events, (std::vector<String>{u"ask 3+", u"done 3", u"done 3", u"ask 5-", u"done 5", u"ask 2+"}));
  EXPECT_FALSE(g->RowSelect(2));
  EXPECT_EQ(g->SelectedRowCount(), 1);
  EXPECT_EQ(g->SelectedRow(0), 3);
  EXPECT_EQ(g->SelectedRow(1), -1);
  EXPECT_TRUE(g->IsSelected(1, 3));
  EXPECT_FALSE(g->IsSelected(0, 3));  // fixed column
  g->ClearRowSelect();
  EXPECT_EQ(g->RowSelectCount(), 0);
}

TEST(AdvGridStructureSelect, ColumnMarksAndCounts) {
  TSelGrid f;
  DEreDuzeroVaro* g = f.grid;
  g->MouseActions()->SetDisjunctColSelect(true);
  g->SelectCols(1, 2);
  EXPECT_EQ(g->SelectedColCount(), 2);
  EXPECT_TRUE(g->IsSelected(2, 4));
  g->ClearColSelect();
  EXPECT_EQ(g->SelectedColCount(), 0);
  g->MouseActions()->SetDisjunctColSelect(false);
  g->SelectCells(1, 2, 3, 4);
  EXPECT_EQ(g->SelectedColCount(), 3);
  EXPECT_EQ(g->SelectedRowCount(), 3);
  EXPECT_EQ(g->RowSelectCount(), 3);
}

TEST(AdvGridStructureSelect, ListedCellsArePairsAndCountsFollowTheSelection) {
  TSelGrid f;
  DEreDuzeroVaro* g = f.grid;
  g->GotoCell(2, 3);
  ASSERT_EQ(g->SelectedCellsCount(), 1);
  EXPECT_EQ(g->SelectedCell(0), (TGridCoord{2, 3}));
  g->SelectCells(1, 1, 2, 2);
  ASSERT_EQ(g->SelectedCellsCount(), 4);
  EXPECT_EQ(g->SelectedCell(1), (TGridCoord{1, 2}));  // column by column

  // Listed cells keep row numbers past 65535 apart from their columns.
  g->MouseActions()->SetDisjunctCellSelect(true);
  g->SetRowCount(70010);
  g->ClearSelectedCells();
  g->SetSelectedCells(3, 70000, true);
  g->SetSelectedCells(1, 2, true);
  EXPECT_EQ(g->SelectedCellsCount(), 2);
  EXPECT_EQ(g->SelectedCell(0), (TGridCoord{3, 70000}));
  EXPECT_TRUE(g->IsSelected(3, 70000));
  EXPECT_FALSE(g->IsSelected(3, 4464));  // 70000 - 65536
  g->SetSelectedCells(3, 70000, false);
  EXPECT_EQ(g->SelectedCellsCount(), 1);
}

TEST(AdvGridStructureSelect, SelectedText) {
  TSelGrid f;
  DEreDuzeroVaro* g = f.grid;
  g->SetCells(1, 1, u"a");
  g->SetCells(2, 1, u"b");
  g->SetCells(1, 2, u"c");
  g->SetCells(2, 2, u"d\r\ne");
  g->SelectCells(1, 1, 2, 2);
  EXPECT_EQ(g->SelectedText(), u"a\tb\r\nc\td\r\ne");
  g->SetExcelClipboardFormat(true);
  g->SetMultilinecells(true);
  EXPECT_EQ(g->SelectedText(), u"a\tb\r\nc\t\"d\x0B" u"e\"");

  g->MouseActions()->SetDisjunctRowSelect(true);
  g->SetRowSelect(2, true);
  g->SetRowSelect(4, true);
  g->SetCells(1, 4, u"x");
  EXPECT_EQ(g->SelectedText(), u"c\t\"d\x0B" u"e\"\r\nx\t");
}

TEST(AdvGridStructureSelect, RowStates) {
  TSelGrid f;
  DEreDuzeroVaro* g = f.grid;
  g->SetRow(2);
  g->SetRowEnabled(1, false);
  g->SetRowEnabled(2, false);  // the current row: the first other enabled row becomes current
  EXPECT_EQ(g->Row(), 3);
  EXPECT_FALSE(g->RowEnabled(2));
  EXPECT_TRUE(g->RowEnabled(100));
  g->SetRowModified(4, true);
  g->SetRowModified(1, true);
  g->SetRowModified(1, false);
  EXPECT_EQ(g->ModifiedRowCount(), 1);
  EXPECT_TRUE(g->RowModified(4));
  g->ClearModifiedRows();
  EXPECT_FALSE(g->RowModified(4));
}
