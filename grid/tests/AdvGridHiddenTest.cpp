// The string grid's hidden columns and rows, index mapping, moves, scrolling into view and
// the hidden selection.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "grid/AdvGrid.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "testing/TestSupport.h"

namespace {

struct TGridForm {
  TForm form{nullptr};
  DEreDuzeroVaro* grid = new DEreDuzeroVaro(&form);
  TGridForm(int Cols, int Rows) {
    form.SetBounds(50, 50, 600, 400);
    grid->SetParent(&form);
    grid->SetBounds(0, 0, 560, 360);
    grid->SetColCount(Cols);
    grid->SetRowCount(Rows);
    // Every cell names its real position: "c,r".
    for (int r = 0; r < Rows; ++r)
      for (int c = 0; c < Cols; ++c) grid->SetCells(c, r, IntToStr(c) + u"," + IntToStr(r));
    form.Show();
    ProcessPendingEvents();
  }
  // Column 1 of each display row: the real row it shows.
  std::vector<String> Column1() const {
    std::vector<String> v;
    for (int r = 0; r < grid->RowCount(); ++r) v.push_back(grid->Cells(1, r));
    return v;
  }
  std::vector<int> Heights() const {
    std::vector<int> v;
    for (int r = 0; r < grid->RowCount(); ++r) v.push_back(grid->RowHeights(r));
    return v;
  }
};

std::vector<String> Rows(std::initializer_list<int> Real) {
  std::vector<String> v;
  for (int r : Real) v.push_back(u"1," + IntToStr(r));
  return v;
}

}  // namespace

TEST(AdvGridHidden, HiddenColumnsKeepTheirCellsAndIndexesMapBothWays) {
  TGridForm f(6, 4);
  DEreDuzeroVaro* g = f.grid;
  g->HideColumn(1);
  g->HideColumn(3);
  EXPECT_EQ(g->ColCount(), 4);
  EXPECT_EQ(g->NumHiddenColumns(), 2);
  const int real[] = {0, 2, 4, 5};
  for (int d = 0; d < 4; ++d) {
    EXPECT_EQ(g->RealColIndex(d), real[d]) << d;
    EXPECT_EQ(g->DisplColIndex(real[d]), d) << d;
  }
  EXPECT_TRUE(g->IsHiddenColumn(1));
  EXPECT_FALSE(g->IsHiddenColumn(2));
  EXPECT_FALSE(g->IsHiddenColumn(600));
  EXPECT_EQ(g->RealColIndex(600), 600);
  // Cells stay at their real index while hidden.
  EXPECT_EQ(g->Cells(3, 2), u"3,2");
  EXPECT_EQ(g->Cells(5, 2), u"5,2");

  // Hiding a hidden column, or one past 511, changes nothing.
  g->HideColumn(3);
  g->HideColumn(512);
  g->HideColumn(600);
  EXPECT_EQ(g->NumHiddenColumns(), 2);
  EXPECT_EQ(g->ColCount(), 4);

  g->UnHideColumnsAll();
  EXPECT_EQ(g->ColCount(), 6);
  EXPECT_EQ(g->NumHiddenColumns(), 0);
  EXPECT_EQ(g->RealColIndex(3), 3);
}

TEST(AdvGridHidden, AColumnComesBackWithItsWidthAtItsPlaceAndTheLastShownOneStays) {
  TGridForm f(5, 4);
  DEreDuzeroVaro* g = f.grid;
  g->SetColWidths(2, 120);
  g->SetColWidths(3, 77);
  g->HideColumn(2);
  EXPECT_EQ(g->ColWidths(2), 77);  // the next column moved left with its width
  g->UnHideColumn(2);
  EXPECT_EQ(g->ColWidths(2), 120);
  EXPECT_EQ(g->ColWidths(3), 77);

  g->HideColumns(0, 10);  // the last shown column is never hidden
  EXPECT_EQ(g->ColCount(), 1);
  EXPECT_EQ(g->NumHiddenColumns(), 4);
  EXPECT_EQ(g->RealColIndex(0), 4);
  g->UnHideColumnsAll();
  EXPECT_EQ(g->ColCount(), 5);
}

TEST(AdvGridHidden, RowIndexesMapAroundHiddenRows) {
  TGridForm f(3, 10);
  DEreDuzeroVaro* g = f.grid;
  g->HideRows(2, 3);
  EXPECT_EQ(g->RowCount(), 8);
  EXPECT_EQ(g->NumHiddenRows(), 2);
  EXPECT_EQ(g->TotalRowCount(), 10);
  EXPECT_EQ(g->RealRowIndex(2), 4);
  EXPECT_EQ(g->RealRowIndex(1), 1);
  EXPECT_EQ(g->DisplRowIndex(5), 3);
  EXPECT_TRUE(g->IsHiddenRow(3));
  EXPECT_FALSE(g->IsHiddenRow(4));
  std::unique_ptr<TIntList> list;
  EXPECT_TRUE(g->IsHiddenRow(2, list));
  ASSERT_TRUE(list);
  EXPECT_FALSE(g->IsHiddenRow(5, list));
  EXPECT_EQ(f.Column1(), Rows({0, 1, 4, 5, 6, 7, 8, 9}));
  // A stored row is read by its real index.
  EXPECT_EQ(g->GetCellsEx(1, 3), u"1,3");
  EXPECT_EQ(g->GetCellsEx(1, 4), u"1,4");
}

TEST(AdvGridHidden, HidingARangeStoresEachRowFromItsOwnPlaceInOrder) {
  TGridForm f(3, 10);
  DEreDuzeroVaro* g = f.grid;
  g->HideRow(3);
  g->HideRows(2, 5);
  EXPECT_EQ(g->RowCount(), 6);  // three display rows went
  ASSERT_EQ(g->NumHiddenRows(), 4);
  const int order[] = {2, 3, 4, 5};
  for (int i = 0; i < 4; ++i) {
    TStrings* items = g->HiddenRowItems(order[i]);
    ASSERT_NE(items, nullptr);
    EXPECT_EQ(items->Strings(1), u"1," + IntToStr(order[i]));
    EXPECT_EQ(g->DisplRowIndex(order[i]), 2);  // each stored by its own real index
  }
  EXPECT_EQ(f.Column1(), Rows({0, 1, 6, 7, 8, 9}));
  g->HideRows(2, 5);  // all hidden already
  EXPECT_EQ(g->RowCount(), 6);
}

TEST(AdvGridHidden, ShowingRowsRestoresTextsHeightsAndRecords) {
  struct TCase {
    const char* name;
    std::vector<std::pair<int, int>> hide;  // ranges hidden in turn
    std::function<void(DEreDuzeroVaro*)> show;
  };
  const std::vector<TCase> cases = {
      {"all at once", {{2, 3}, {7, 7}}, [](DEreDuzeroVaro* g) { g->UnHideRowsAll(); }},
      {"row by row", {{2, 3}, {7, 7}}, [](DEreDuzeroVaro* g) {
         g->UnHideRow(7);
         g->UnHideRow(3);
         g->UnHideRow(2);
       }},
      // A shown row between hidden ones keeps its place and content.
      {"a range with a shown row inside", {{2, 2}, {4, 5}}, [](DEreDuzeroVaro* g) { g->UnHideRows(2, 5); }},
      {"by the extended hide", {{3, 5}}, [](DEreDuzeroVaro* g) { g->UnHideRows(3, 5); }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    TGridForm f(4, 10);
    DEreDuzeroVaro* g = f.grid;
    for (int r = 0; r < 10; ++r) g->SetRowHeights(r, 20 + r);
    TCellProperties* rec = g->CellProperties(2, 3);
    rec->SetBrushColor(clRed);
    const std::vector<String> texts = f.Column1();
    const std::vector<int> heights = f.Heights();
    for (auto [from, to] : c.hide) {
      if (std::string(c.name) == "by the extended hide") g->HideRowsEx(from, to);
      else g->HideRows(from, to);
    }
    EXPECT_LT(g->RowCount(), 10);
    c.show(g);
    EXPECT_EQ(g->NumHiddenRows(), 0);
    EXPECT_EQ(f.Column1(), texts);
    EXPECT_EQ(f.Heights(), heights);
    EXPECT_EQ(g->GridObjects(2, 3), rec);  // the record came back with its row
    EXPECT_EQ(rec->BrushColor(), clRed);
  }
}

TEST(AdvGridHidden, FilterLevelsHideListedRowsAndShowThemAgain) {
  TGridForm f(3, 12);
  DEreDuzeroVaro* g = f.grid;
  const std::vector<String> all = f.Column1();
  TIntList odd(-1, -1);
  for (int r = 1; r < 12; r += 2) odd.Add(r);
  g->HideRowList(&odd);
  EXPECT_EQ(g->FilterLevel(), 1);
  EXPECT_EQ(f.Column1(), Rows({0, 2, 4, 6, 8, 10}));
  TIntList second(-1, -1);
  second.Add(2);  // display row 2 (real row 4)
  g->HideRowList(&second);
  EXPECT_EQ(f.Column1(), Rows({0, 2, 6, 8, 10}));

  g->UnHideRowList();
  g->SetFilterLevel(g->FilterLevel() - 1);
  EXPECT_EQ(f.Column1(), Rows({0, 2, 4, 6, 8, 10}));
  EXPECT_EQ(g->NumHiddenRows(), 6);
  g->UnHideRowList();
  g->SetFilterLevel(0);
  EXPECT_EQ(f.Column1(), all);
  EXPECT_EQ(g->NumHiddenRows(), 0);
}

TEST(AdvGridHidden, NoRowOrColumnRangeEmptiesTheGrid) {
  TGridForm f(3, 5);
  DEreDuzeroVaro* g = f.grid;
  g->HideRows(0, 4);
  g->HideRows(-5, 100);
  g->HideRowsEx(0, 4);
  EXPECT_EQ(g->RowCount(), 5);
  EXPECT_EQ(g->NumHiddenRows(), 0);
  g->UnHideRow(2);  // not hidden
  g->UnHideRows(7, 9);
  EXPECT_EQ(g->RowCount(), 5);
}

TEST(AdvGridHidden, AClickOnARowBelowHiddenOnesSelectsItsRealRow) {
  TGridForm f(4, 10);
  DEreDuzeroVaro* g = f.grid;
  g->HideRows(2, 4);
  TRect r = g->CellRect(2, 3);
  SimulateClick(g, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  EXPECT_EQ(g->Row(), 3);
  EXPECT_EQ(g->RealRow(), 6);
  EXPECT_EQ(g->Cells(1, g->Row()), u"1,6");
  int c = -1, row = -1;
  g->ScreenToCell(g->ClientToScreen(TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2)), c, row);
  EXPECT_EQ(c, 2);
  EXPECT_EQ(row, 3);
}

TEST(AdvGridHidden, MovesCarryCellsAndEmbeddedControlPositions) {
  TGridForm f(5, 6);
  DEreDuzeroVaro* g = f.grid;
  TButton a(nullptr), b(nullptr);
  g->ControlList()->AddControl(1, 2, &a);
  g->ControlList()->AddControl(3, 4, &b);
  g->MoveColumn(1, 3);
  EXPECT_EQ(g->Cells(3, 0), u"1,0");
  EXPECT_EQ(g->ColumnOrder()->Count(), 5);  // set up by the first move
  EXPECT_EQ(g->ControlList()->Control(0)->X(), 3);
  EXPECT_EQ(g->ControlList()->Control(1)->X(), 2);
  g->MoveRow(4, 1);
  EXPECT_EQ(g->Cells(0, 1), u"0,4");
  EXPECT_EQ(g->ControlList()->Control(0)->Y(), 3);
  EXPECT_EQ(g->ControlList()->Control(1)->Y(), 1);
}

TEST(AdvGridHidden, TopRowRowAndScrollingIntoView) {
  TGridForm f(4, 100);
  DEreDuzeroVaro* g = f.grid;
  g->SetTopRow(0);  // below FixedRows
  EXPECT_EQ(g->TopRow(), 1);
  g->SetTopRow(100);  // past the last row
  EXPECT_EQ(g->TopRow(), 1);
  g->SetTopRow(5);
  EXPECT_EQ(g->TopRow(), 5);

  std::vector<std::pair<int, int>> updates;
  g->OnRowUpdate = [&](TObject*, int OldRow, int NewRow) { updates.emplace_back(OldRow, NewRow); };
  g->SetRow(7);
  g->SetRow(7);
  g->SetRow(9);
  EXPECT_EQ(updates, (std::vector<std::pair<int, int>>{{-1, 7}, {7, 9}}));

  g->ScrollInView(2, 80);
  EXPECT_EQ(g->Row(), 80);
  EXPECT_LE(g->TopRow(), 80);
  EXPECT_GT(g->TopRow() + g->VisibleRowCount(), 80);
  EXPECT_GT(g->TopRow(), 80 - g->VisibleRowCount());
  g->ScrollInView(2, 100);  // out of range: nothing
  EXPECT_EQ(g->Row(), 80);
}

TEST(AdvGridHidden, TheSelectionHidesOutsideTheGridAndComesBack) {
  TGridForm f(4, 6);
  DEreDuzeroVaro* g = f.grid;
  g->SetSelection(TGridRect{1, 2, 2, 3});
  g->HideSelection();
  EXPECT_TRUE(g->SelectionHidden());
  EXPECT_EQ(g->Selection(), (TGridRect{4, 6, 4, 6}));
  g->UnHideSelection();
  EXPECT_EQ(g->Selection(), (TGridRect{1, 2, 2, 3}));
  // A remembered selection that no longer fits gives the first normal cell.
  g->HideSelection();
  g->SetRowCount(2);
  g->UnHideSelection();
  EXPECT_EQ(g->Selection(), (TGridRect{1, 1, 1, 1}));
}

TEST(AdvGridHidden, UsedCellsAndSizingBorders) {
  TGridForm f(4, 6);
  DEreDuzeroVaro* g = f.grid;
  g->ClearRect(0, 0, 3, 5);
  EXPECT_EQ(g->UsedCells(), (TGridRect{0, 0, 0, 0}));
  g->SetCells(2, 5, u"x");
  EXPECT_EQ(g->UsedCells(), (TGridRect{2, 5, 2, 5}));

  g->SetOptions(g->Options() + goColSizing);
  TRect head = g->CellRect(2, 0), body = g->CellRect(2, 3);
  EXPECT_TRUE(g->IsOnSizingBorder(head.Right - 2, (head.Top + head.Bottom) / 2));
  EXPECT_FALSE(g->IsOnSizingBorder((head.Left + head.Right) / 2, (head.Top + head.Bottom) / 2));
  EXPECT_FALSE(g->IsOnSizingBorder(body.Right - 2, (body.Top + body.Bottom) / 2));  // not a header row
  EXPECT_FALSE(g->IsOnSizingBorder(-5, -5));
}

TEST(AdvGridHidden, TenMillionRowsHideAndShowWithoutCostPerEmptyCell) {
  DEreDuzeroVaro g(nullptr);
  g.SetColCount(5);
  g.SetRowCount(10000000);
  g.ClearRect(0, 0, 4, 9);
  g.SetCells(1, 3, u"a");
  g.SetCells(1, 5000000, u"b");
  g.SetCells(2, 9999999, u"c");
  const size_t stored = g.StoredCellCount();

  g.HideRows(4000000, 4000999);
  g.HideRow(3);
  EXPECT_EQ(g.RowCount(), 9998999);
  EXPECT_EQ(g.Cells(1, g.DisplRowIndex(5000000)), u"b");
  TIntList list(-1, -1);
  list.Add(10);
  list.Add(11);
  g.HideRowList(&list);
  g.UnHideRowList();
  g.SetFilterLevel(0);
  g.HideRow(9999999);
  g.UnHideRowsAll();
  EXPECT_EQ(g.RowCount(), 10000000);
  EXPECT_EQ(g.NumHiddenRows(), 0);
  EXPECT_EQ(g.Cells(1, 3), u"a");
  EXPECT_EQ(g.Cells(1, 5000000), u"b");
  EXPECT_EQ(g.Cells(2, 9999999), u"c");
  EXPECT_EQ(g.StoredCellCount(), stored);
}

namespace {

// Every display row maps to the real row it shows and back; every hidden real row answers
// as hidden and is read from the store.
void ExpectIndexesMatchTheCells(TGridForm& f, int Total) {
  DEreDuzeroVaro* g = f.grid;
  std::vector<bool> shown(static_cast<size_t>(Total));
  for (int d = 0; d < g->RowCount(); ++d) {
    const int r = StrToInt(g->Cells(1, d).substr(2));
    shown[static_cast<size_t>(r)] = true;
    ASSERT_EQ(g->RealRowIndex(d), r) << d;
    ASSERT_EQ(g->DisplRowIndex(r), d) << r;
    ASSERT_FALSE(g->IsHiddenRow(r)) << r;
  }
  for (int r = 0; r < Total; ++r) {
    if (shown[static_cast<size_t>(r)]) continue;
    ASSERT_TRUE(g->IsHiddenRow(r)) << r;
    ASSERT_EQ(g->GetCellsEx(1, r), u"1," + IntToStr(r)) << r;
  }
  ASSERT_EQ(g->TotalRowCount(), Total);
}

}  // namespace

// Scattered rows over several filter levels: the rows gathered and put back in one pass keep
// their texts, heights and records, and the indexes stay real ones on every level.
TEST(AdvGridHidden, ScatteredRowsOverSeveralLevelsKeepRealIndexesAndComeBackWhole) {
  for (bool varied : {true, false}) {
    SCOPED_TRACE(varied ? "varied heights" : "one height");
    const int total = 300;
    TGridForm f(4, total);
    DEreDuzeroVaro* g = f.grid;
    // Rows of differing heights move with their heights; rows of one height close up in the
    // walk that fills the store.
    if (varied)
      for (int r = 0; r < total; ++r) g->SetRowHeights(r, 18 + r % 7);
    std::vector<TCellProperties*> records;
    for (int r = 5; r < total; r += 50) {
      records.push_back(g->CellProperties(3, r));
      records.back()->SetBrushColor(TColor(r));
    }
    const std::vector<String> texts = f.Column1();
    const std::vector<int> heights = f.Heights();

    TIntList third(-1, -1);  // a hundred runs of one row
    for (int r = 1; r < total; r += 3) third.Add(r);
    g->HideRowList(&third);
    ExpectIndexesMatchTheCells(f, total);
    TIntList few(-1, -1);  // display rows of the filtered grid
    for (int d : {2, 3, 4, 90, 150}) few.Add(d);
    const std::vector<String> before = f.Column1();
    g->HideRowList(&few);
    ExpectIndexesMatchTheCells(f, total);
    for (int d : {2, 3, 4, 90, 150}) EXPECT_TRUE(g->IsHiddenRow(StrToInt(before[static_cast<size_t>(d)].substr(2))));
    const std::vector<String> filtered = f.Column1();
    g->HideRows(200, 240);  // real rows; those hidden by the filter already stay with their level
    ExpectIndexesMatchTheCells(f, total);

    // The last level comes back alone, at the places the level below shows.
    g->UnHideRowList();
    g->SetFilterLevel(g->FilterLevel() - 1);
    std::vector<String> expected;
    for (const String& s : before) {
      const int r = StrToInt(s.substr(2));
      const bool hiddenByRange = r >= 200 && r <= 240 && std::count(filtered.begin(), filtered.end(), s) > 0;
      if (!hiddenByRange) expected.push_back(s);
    }
    EXPECT_EQ(f.Column1(), expected);
    ExpectIndexesMatchTheCells(f, total);

    g->UnHideRowsAll();
    EXPECT_EQ(g->NumHiddenRows(), 0);
    EXPECT_EQ(f.Column1(), texts);
    EXPECT_EQ(f.Heights(), heights);
    for (size_t i = 0; i < records.size(); ++i) {
      const int r = 5 + 50 * static_cast<int>(i);
      EXPECT_EQ(g->GridObjects(3, r), records[i]) << r;
      EXPECT_EQ(records[i]->BrushColor(), TColor(r));
    }
  }
}

TEST(AdvGridHidden, HiddenRowsKeepTheirCellsAcrossColumnEdits) {
  // Texts and records of a hidden row follow column moves, swaps, inserts and removals as
  // those of the shown rows do.
  TGridForm f(5, 8);
  DEreDuzeroVaro* g = f.grid;
  g->SetColors(1, 4, clRed);
  g->HideRow(4);
  g->MoveColumn(1, 3);  // 0 2 3 1 4
  g->InsertCols(0, 1);  // - 0 2 3 1 4
  g->SwapColumns(2, 3);  // - 0 3 2 1 4
  g->RemoveCols(1, 1);  // - 3 2 1 4
  g->UnHideRow(4);
  for (int r : {3, 4}) {
    EXPECT_EQ(g->Cells(3, r), u"1," + IntToStr(r)) << r;
    EXPECT_EQ(g->Cells(1, r), u"3," + IntToStr(r)) << r;
  }
  EXPECT_EQ(g->Colors(3, 4), clRed);
  EXPECT_NE(g->Colors(2, 4), clRed);
}
