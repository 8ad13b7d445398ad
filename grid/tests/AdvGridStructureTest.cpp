// The string grid's structure: removing and inserting rows and columns with what runs
// parallel to them (hidden rows, embedded controls, row lists), clearing, removal by content
// and by selection.
#include <gtest/gtest.h>

#include <vector>

#include "grid/AdvGrid.h"
#include "grid/tests/GridTestSupport.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/StdCtrls.h"

namespace {

// A grid of Cols x Rows whose column 1 names each row's original index ("r0", "r1", ...)
// and whose other cells hold "c,r".
struct TStructGrid : TGridForm {
  TStructGrid(int Cols, int Rows) {
    grid->SetColCount(Cols);
    grid->SetRowCount(Rows);
    for (int r = 0; r < Rows; ++r)
      for (int c = 0; c < Cols; ++c)
        grid->SetCells(c, r, c == 1 ? u"r" + IntToStr(r) : IntToStr(c) + u"," + IntToStr(r));
  }
  // Column 1 of the shown rows.
  std::vector<String> Shown() const {
    std::vector<String> v;
    for (int r = 0; r < grid->RowCount(); ++r) v.push_back(grid->Cells(1, r));
    return v;
  }
};

std::vector<String> Names(std::initializer_list<int> Rows) {
  std::vector<String> v;
  for (int r : Rows) v.push_back(u"r" + IntToStr(r));
  return v;
}

}  // namespace

TEST(AdvGridStructure, RemoveRowsTakesOnlyTheRowsThereAndIgnoresBadRanges) {
  struct Case {
    int Index, Count;
    std::vector<String> Left;
  };
  const Case cases[] = {
      {2, 2, Names({0, 1, 4, 5})},     // plain
      {4, 10, Names({0, 1, 2, 3})},    // count cut to the rows there
      {6, 1, Names({0, 1, 2, 3, 4, 5})},  // index at RowCount: nothing
      {9, 1, Names({0, 1, 2, 3, 4, 5})},  // index past RowCount: nothing
      {2, 0, Names({0, 1, 2, 3, 4, 5})},  // count 0: nothing
      {2, -3, Names({0, 1, 2, 3, 4, 5})}, // negative count: nothing
      {-1, 2, Names({0, 1, 2, 3, 4, 5})}, // negative index: nothing
  };
  for (const Case& c : cases) {
    for (auto remove : {&DEreDuzeroVaro::RemoveRows, &DEreDuzeroVaro::RemoveRowsEx}) {
      TStructGrid f(3, 6);
      (f.grid->*remove)(c.Index, c.Count);
      EXPECT_EQ(f.Shown(), c.Left) << c.Index << " " << c.Count;
    }
    TStructGrid f(3, 6);
    f.grid->DeleteGridRows(c.Index, c.Count, true);
    EXPECT_EQ(f.Shown(), c.Left) << "DeleteGridRows " << c.Index << " " << c.Count;
  }
}

TEST(AdvGridStructure, RemovedRowsFreeTheirRecordsButNeverAnApplicationObject) {
  TStructGrid f(3, 6);
  bool objectFreed = false;
  auto* object = new TFreeWatch<TObject>(&objectFreed);
  f.grid->SetObjects(2, 3, object);
  f.grid->CellProperties(2, 4)->SetBrushColor(clRed);
  f.grid->CellProperties(2, 5)->SetBrushColor(clBlue);
  f.grid->RemoveRows(3, 2);
  EXPECT_FALSE(objectFreed);
  // The record of old row 5 moved up with its row.
  ASSERT_TRUE(f.grid->HasCellProperties(2, 3));
  EXPECT_EQ(f.grid->CellProperties(2, 3)->BrushColor(), clBlue);
  EXPECT_FALSE(f.grid->HasCellProperties(2, 4));
  delete object;
}

TEST(AdvGridStructure, HiddenRowsModifiedMarksAndControlsFollowTheirRows) {
  TStructGrid f(3, 10);
  DEreDuzeroVaro* g = f.grid;
  g->ShowModified()->SetEnabled(true);
  g->HideRow(5);  // display rows: r0..r4, r6..r9
  g->SetRowModified(5, true);  // r6
  TEdit gone(&f.form), moved(&f.form);
  gone.SetParent(g);
  moved.SetParent(g);
  g->ControlList()->AddControl(2, 2, &gone);   // real row 2, removed below
  g->ControlList()->AddControl(2, 8, &moved);  // real row 8
  g->RemoveRows(1, 2);  // r1, r2
  EXPECT_EQ(f.Shown(), Names({0, 3, 4, 6, 7, 8, 9}));
  EXPECT_EQ(g->ControlList()->Count(), 1);
  EXPECT_FALSE(gone.Visible());
  EXPECT_EQ(g->ControlList()->Control(0)->Control(), &moved);
  EXPECT_EQ(g->ControlList()->Control(0)->Y(), 6);
  // r6 is at display row 3 now and keeps its mark.
  EXPECT_TRUE(g->RowModified(3));
  EXPECT_EQ(g->ModifiedRowCount(), 1);

  // Inserting rows above moves the hidden row (r5, now real row 3), the mark and the control
  // down as well.
  g->InsertRows(1, 2);
  EXPECT_TRUE(g->RowModified(5));
  EXPECT_EQ(g->ControlList()->Control(0)->Y(), 8);
  g->UnHideRowsAll();
  EXPECT_EQ(g->Cells(1, 5), u"r5");
  EXPECT_EQ(g->Cells(1, 1), u"");
}

TEST(AdvGridStructure, HeightsStayWithRowsAndInsertedRowsGetTheDefault) {
  TStructGrid f(3, 6);
  DEreDuzeroVaro* g = f.grid;
  for (int r = 0; r < 6; ++r) g->SetRowHeights(r, 20 + r);
  g->DeleteGridRows(1, 2, true);
  EXPECT_EQ((std::vector<int>{g->RowHeights(0), g->RowHeights(1), g->RowHeights(2), g->RowHeights(3)}),
            (std::vector<int>{20, 23, 24, 25}));
  g->InsertRows(1, 1);
  EXPECT_EQ(g->RowHeights(1), g->DefaultRowHeight());
  EXPECT_EQ(g->RowHeights(2), 23);
  EXPECT_EQ(g->Cells(1, 1), u"");
}

TEST(AdvGridStructure, TheCurrentRowAfterRemoval) {
  {
    TStructGrid f(3, 6);
    f.grid->SetFixedFooters(1);
    f.grid->SetRow(4);
    f.grid->RemoveRows(3, 2);  // the current row and the one above the footer go
    EXPECT_EQ(f.grid->Row(), 2);  // the last row above the footer
  }
  {
    TStructGrid f(3, 6);
    f.grid->SetRow(2);
    f.grid->RemoveRows(4, 1);
    EXPECT_EQ(f.grid->Row(), 2);
    EXPECT_FALSE(f.grid->SelectionHidden());
  }
  {
    TStructGrid f(3, 4);
    f.grid->RemoveRows(1, 3);  // every non-fixed row
    EXPECT_EQ(f.grid->RowCount(), 1);
    EXPECT_TRUE(f.grid->SelectionHidden());
  }
}

TEST(AdvGridStructure, ColumnsComeAndGoWithTheirCellsAndHiddenState) {
  TStructGrid f(6, 3);
  DEreDuzeroVaro* g = f.grid;
  g->SetColWidths(5, 77);
  g->HideColumn(4);
  g->RemoveCols(2, 2);  // real columns 2 and 3
  EXPECT_EQ(g->ColCount(), 3);
  EXPECT_EQ(g->NumHiddenColumns(), 1);
  EXPECT_TRUE(g->IsHiddenColumn(2));  // old column 4
  EXPECT_EQ(g->Cells(2, 1), u"4,1");
  EXPECT_EQ(g->Cells(3, 1), u"5,1");
  EXPECT_EQ(g->ColWidths(2), 77);
  g->InsertCols(1, 1);
  EXPECT_EQ(g->ColCount(), 4);
  EXPECT_EQ(g->Cells(1, 1), u"");
  EXPECT_EQ(g->Cells(2, 1), u"r1");
  EXPECT_TRUE(g->IsHiddenColumn(3));
  g->UnHideColumnsAll();
  EXPECT_EQ(g->Cells(g->RealColIndex(3), 2), u"4,2");
  // A count past the stored columns is cut; nothing happens outside them.
  g->RemoveCols(3, 99);
  EXPECT_EQ(g->ColCount(), 3);
  g->RemoveCols(9, 1);
  EXPECT_EQ(g->ColCount(), 3);
}

TEST(AdvGridStructure, ClearingKeepsWhatItShould) {
  TStructGrid f(5, 6);
  DEreDuzeroVaro* g = f.grid;
  g->SetFixedRightCols(1);
  g->SetFixedFooters(1);
  g->ClearNormalCells();
  for (int r = 0; r < 6; ++r)
    for (int c = 0; c < 5; ++c) {
      const bool normal = r >= 1 && r <= 4 && c >= 1 && c <= 3;
      EXPECT_EQ(g->Cells(c, r).empty(), normal) << c << "," << r;
    }

  // Text-only clearing keeps colours and merges, and the grid still knows it has records.
  g->CellProperties(1, 1)->SetBrushColor(clRed);
  g->MergeCells(2, 2, 2, 2);
  g->SetCells(2, 2, u"merged");
  g->SetClearTextOnly(true);
  g->ClearRect(0, 0, g->ColCount() - 1, g->RowCount() - 1);
  EXPECT_TRUE(g->HasCellProps());
  EXPECT_EQ(g->CellProperties(1, 1)->BrushColor(), clRed);
  EXPECT_TRUE(g->IsMergedCell(3, 3));
  EXPECT_EQ(g->Cells(2, 2), u"");

  // A full clear frees the records but not an application's object.
  g->SetClearTextOnly(false);
  bool freed = false;
  auto* object = new TFreeWatch<TObject>(&freed);
  g->SetObjects(1, 2, object);
  g->Clear();
  EXPECT_FALSE(freed);
  EXPECT_FALSE(g->HasCellProps());
  EXPECT_FALSE(g->HasCellProperties(1, 1));
  delete object;
}

TEST(AdvGridStructure, RemovalByContent) {
  struct Case {
    bool DoCase;
    std::vector<String> Left;
  };
  for (const Case& c : {Case{false, {u"h", u"a", u"b"}}, Case{true, {u"h", u"a", u"A", u"b"}}}) {
    TGridForm f;
    DEreDuzeroVaro* g = f.grid;
    g->SetColCount(2);
    g->SetRowCount(6);
    const char16_t* texts[] = {u"h", u"a", u"A", u"b", u"a", u"b"};
    for (int r = 0; r < 6; ++r) g->SetCells(1, r, texts[r]);
    g->RemoveDuplicates(1, c.DoCase);
    std::vector<String> left;
    for (int r = 0; r < g->RowCount(); ++r) left.push_back(g->Cells(1, r));
    EXPECT_EQ(left, c.Left) << c.DoCase;
  }

  TStructGrid f(3, 6);
  for (int r = 1; r < 6; ++r) f.grid->AddCheckBox(2, r, r % 2 == 0, false);
  f.grid->RemoveCheckedRows(2, true);
  EXPECT_EQ(f.Shown(), Names({0, 1, 3, 5}));

  int col = -1, row = -1;
  EXPECT_TRUE(f.grid->IsCell(u"r0", col, row));  // a fixed cell counts
  EXPECT_EQ(col, 1);
  EXPECT_EQ(row, 0);
  EXPECT_FALSE(f.grid->IsCell(u"R0", col, row));
}

TEST(AdvGridStructure, RemovalBySelection) {
  TStructGrid f(3, 8);
  DEreDuzeroVaro* g = f.grid;
  g->MouseActions()->SetDisjunctRowSelect(true);
  g->SetRowSelect(2, true);
  g->SetRowSelect(5, true);
  g->RemoveSelectedRows();
  EXPECT_EQ(f.Shown(), Names({0, 1, 3, 4, 6, 7}));
  EXPECT_EQ(g->RowSelectCount(), 0);
  EXPECT_EQ(g->SelectedRowCount(), 0);

  g->SetRowSelect(1, true);
  g->SetRowSelect(4, true);
  g->RemoveUnSelectedRows();
  EXPECT_EQ(f.Shown(), Names({0, 1, 6}));

  // Marks follow their rows when rows above them go.
  TStructGrid h(3, 8);
  h.grid->MouseActions()->SetDisjunctRowSelect(true);
  h.grid->SetRowSelect(6, true);
  h.grid->RemoveRows(1, 2);
  EXPECT_TRUE(h.grid->RowSelect(4));
  EXPECT_EQ(h.grid->SelectedRow(0), 4);
}
