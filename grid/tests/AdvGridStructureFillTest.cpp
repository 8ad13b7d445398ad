// The string grid's merging and splitting of runs, cell checks through a checker, fills,
// dates and times, column fitting, numbering and swapping.
#include <gtest/gtest.h>

#include <vector>

#include "grid/AdvGrid.h"
#include "grid/asgcheck.h"
#include "grid/tests/GridTestSupport.h"
#include "platform/rtl/SysUtils.h"

namespace {

struct TFillGrid : TGridForm {
  TFillGrid(int Cols, int Rows) {
    grid->SetColCount(Cols);
    grid->SetRowCount(Rows);
  }
  std::vector<String> Column(int ACol) const {
    std::vector<String> v;
    for (int r = 0; r < grid->RowCount(); ++r) v.push_back(grid->Cells(ACol, r));
    return v;
  }
};

// Upper-cases every text it corrects and counts its calls.
class TUpperChecker : public DEreDuzeroVaroCheck {
public:
  using DEreDuzeroVaroCheck::DEreDuzeroVaroCheck;
  String Correct(int, int, const String& s) override {
    ++Corrected;
    return AnsiUpperCase(s);
  }
  void StartCheck() override { ++Starts; }
  void StopCheck() override { ++Stops; }
  int Corrected = 0, Starts = 0, Stops = 0;
};

}  // namespace

TEST(AdvGridStructureFill, ColumnRunsMergeAndSplit) {
  TFillGrid f(3, 7);
  DEreDuzeroVaro* g = f.grid;
  const char16_t* texts[] = {u"h", u"A", u"A", u"B", u"B", u"B", u"b"};
  for (int r = 0; r < 7; ++r) g->SetCells(1, r, texts[r]);
  g->MergeColumnCells(1, false);  // no merges elsewhere: nothing
  EXPECT_FALSE(g->IsMergedCell(1, 1));
  g->MergeColumnCells(1, true);
  EXPECT_EQ(g->CellSpan(1, 2).Y, 1);  // rows 1-2
  EXPECT_EQ(g->CellSpan(1, 5).Y, 2);  // rows 3-5
  EXPECT_FALSE(g->IsMergedCell(1, 6));  // "b" differs in case
  g->SplitColumnCells(1);
  for (int r = 0; r < 7; ++r) EXPECT_FALSE(g->IsMergedCell(1, r)) << r;

  g->SetCells(1, 1, u"x");
  g->SetCells(2, 1, u"x");
  g->MergeRowCells(1, true);
  EXPECT_EQ(g->CellSpan(2, 1).X, 1);
  g->SplitAllCells();
  EXPECT_FALSE(g->IsMergedCell(2, 1));

  g->SetCells(2, 1, u"");
  g->MergeCols(1, 2, u" - ");
  EXPECT_EQ(g->ColCount(), 2);
  EXPECT_EQ(g->Cells(1, 1), u"x -");
  EXPECT_EQ(g->Cells(1, 0), u"h");  // fixed rows are not joined
}

TEST(AdvGridStructureFill, ChecksRunEveryCellAndTellWhetherAnyChanged) {
  TFillGrid f(3, 4);
  DEreDuzeroVaro* g = f.grid;
  g->TextFill(false, u"ok");
  EXPECT_TRUE(g->CheckGrid(false));  // no checker: nothing changes
  EXPECT_EQ(g->Cells(1, 1), u"ok");
  {
    TUpperChecker checker(nullptr);
    checker.SetUseCorrect(true);
    g->SetCellChecker(&checker);
    g->SetCells(2, 3, u"OK");
    EXPECT_FALSE(g->CheckGrid(false));
    EXPECT_EQ(checker.Corrected, 6);
    EXPECT_EQ(checker.Starts, 1);
    EXPECT_EQ(checker.Stops, 1);
    EXPECT_EQ(g->Cells(1, 1), u"OK");
    EXPECT_TRUE(g->CheckCell(2, 3));
  }
  // The checker went: the grid forgot it.
  EXPECT_EQ(g->CellChecker(), nullptr);
  EXPECT_TRUE(g->CheckCell(1, 1));
}

TEST(AdvGridStructureFill, FillsDatesAndTimes) {
  TFillGrid f(3, 3);
  DEreDuzeroVaro* g = f.grid;
  g->LinearFill(false);
  EXPECT_EQ(g->Cells(1, 1), u"1:1");
  EXPECT_EQ(g->Cells(0, 1), u"");
  g->FormatFill(true, u"c%d");
  EXPECT_EQ(g->Cells(2, 1), u"c2");
  g->FormatFill(false, u"%d/%d");
  EXPECT_EQ(g->Cells(2, 1), u"2/1");
  EXPECT_THROW(g->FormatFill(false, u"%s"), Exception);
  EXPECT_EQ(g->Cells(2, 1), u"2/1");  // a refused format changes nothing
  g->RandomFill(false, 1);
  EXPECT_EQ(f.Column(2), (std::vector<String>{u"c2", u"0", u"0"}));

  g->SetDates(1, 1, EncodeDate(2024, 2, 29));
  EXPECT_EQ(g->Dates(1, 1), EncodeDate(2024, 2, 29));
  g->SetShowNullDates(false);
  g->SetDates(1, 1, 0);
  EXPECT_EQ(g->Cells(1, 1), u"");
  g->SetTimes(1, 2, EncodeTime(13, 5, 7, 0));
  EXPECT_EQ(g->Times(1, 2), EncodeTime(13, 5, 7, 0));
  g->SetCells(1, 2, u"no time");
  EXPECT_THROW(g->Times(1, 2), EConvertError);
}

TEST(AdvGridStructureFill, FittingNumberingAndSwapping) {
  TFillGrid f(4, 5);
  DEreDuzeroVaro* g = f.grid;
  // Columns of no width are left alone.
  for (int c = 1; c < 4; ++c) g->SetColWidths(c, 0);
  g->AutoFitColumns(false);
  EXPECT_EQ(g->ColWidths(1) + g->ColWidths(2) + g->ColWidths(3), 0);
  g->SetColWidths(1, 10);
  g->SetColWidths(2, 20);
  g->SetColWidths(3, 10);
  g->AutoFitColumns(false);
  const int filled = g->ColWidths(1) + g->ColWidths(2) + g->ColWidths(3);
  EXPECT_EQ(g->ColWidths(2), std::max({g->ColWidths(1), g->ColWidths(2), g->ColWidths(3)}));
  g->AutoFitColumns(false);  // already filling: unchanged
  EXPECT_EQ(g->ColWidths(1) + g->ColWidths(2) + g->ColWidths(3), filled);

  g->AutoNumberCol(1);
  EXPECT_EQ(f.Column(1), (std::vector<String>{u"", u"1", u"2", u"3", u"4"}));
  g->SetAutoNumberDirection(sdDescending);
  g->AutoNumberCol(2);
  EXPECT_EQ(f.Column(2), (std::vector<String>{u"", u"4", u"3", u"2", u"1"}));

  g->CellProperties(1, 2)->SetBrushColor(clRed);
  g->SwapColumns(1, 2);
  EXPECT_EQ(g->Cells(2, 2), u"2");
  EXPECT_EQ(g->CellProperties(2, 2)->BrushColor(), clRed);
  EXPECT_FALSE(g->HasCellProperties(1, 2));
  g->SetRowHeights(1, 40);
  g->SwapRows(1, 4);
  EXPECT_EQ(g->Cells(2, 4), u"1");
  EXPECT_EQ(g->RowHeights(4), 40);
}
