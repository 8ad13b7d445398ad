// The string grid's column, row and group calculations.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "grid/tests/GridTestSupport.h"
#include "platform/rtl/SysUtils.h"

namespace {

class CalcTest : public ::testing::Test {
protected:
  TGridForm f;
  DEreDuzeroVaro& g = *f.grid;
  // Column 1 of rows 1.. holds Values.
  void Column(const std::vector<String>& Values) {
    g.SetColCount(3);
    g.SetRowCount(1 + static_cast<int>(Values.size()));
    for (size_t i = 0; i < Values.size(); ++i) g.SetCells(1, static_cast<int>(i) + 1, Values[i]);
  }
};

TEST_F(CalcTest, ColumnCalculationsSkipTextsThatAreNoNumbers) {
  Column({u"1", u"2", u"x", u"3"});
  EXPECT_DOUBLE_EQ(g.ColumnSum(1, 1, 4), 6);
  EXPECT_DOUBLE_EQ(g.ColumnAvg(1, 1, 4), 1.5);
  EXPECT_DOUBLE_EQ(g.ColumnMax(1, 1, 4), 3);
  EXPECT_DOUBLE_EQ(g.ColumnMin(1, 1, 4), 1);
  try {
    g.ColumnStdDev(1, 1, 4);
    ADD_FAILURE() << "no error";
  } catch (const VUreReriVorov& e) {
    EXPECT_EQ(e.Message(), u"Cell does not contain a float value");
  }
  // The start of a minimum is the first row; its error reaches the caller.
  EXPECT_THROW(g.ColumnMin(1, 3, 4), VUreReriVorov);
}

TEST_F(CalcTest, DeviationDistinctRangesAndEmptyRanges) {
  Column({u"2", u"4", u"4", u"4", u"5", u"5", u"7", u"9"});
  EXPECT_DOUBLE_EQ(g.ColumnStdDev(1, 1, 8), 2);
  EXPECT_DOUBLE_EQ(g.ColumnSum(1, -1, 5), 40);  // -1: the whole column
  EXPECT_DOUBLE_EQ(g.ColumnSum(1, 2, 3), 8);
  EXPECT_DOUBLE_EQ(g.ColumnStdDev(1, 5, 4), 0);
  EXPECT_DOUBLE_EQ(g.ColumnAvg(1, 5, 4), 0);
  Column({u"a", u"A", u"b", u""});
  EXPECT_DOUBLE_EQ(g.ColumnDistinct(1, 1, 4), 3);
}

TEST_F(CalcTest, RowCalculations) {
  g.SetColCount(6);
  g.SetRowCount(2);
  const char16_t* cells[] = {u"", u"4", u"x", u"-2", u"7", u"1"};
  for (int c = 0; c < 6; ++c) g.SetCells(c, 1, cells[c]);
  EXPECT_DOUBLE_EQ(g.RowSum(1, 1, 5), 10);
  EXPECT_DOUBLE_EQ(g.RowAvg(1, 1, 5), 2);
  EXPECT_DOUBLE_EQ(g.RowMin(1, 1, 5), -2);
  EXPECT_DOUBLE_EQ(g.RowMax(1, 1, 5), 7);
  EXPECT_DOUBLE_EQ(g.RowSum(1, 3, 2), 0);
  EXPECT_DOUBLE_EQ(g.RowAvg(1, 3, 2), 0);  // a reversed range divides by nothing
  g.MergeCells(3, 1, 2, 1);                // 7 is covered now
  EXPECT_DOUBLE_EQ(g.RowSum(1, 1, 5), 3);
  EXPECT_THROW(g.RowMin(1, 2, 5), VUreReriVorov);
}

TEST_F(CalcTest, CustomCalculationsAskTheirEvents) {
  Column({u"1", u"2"});
  EXPECT_DOUBLE_EQ(g.ColumnCustomCalc(1, 1, 2), 0);
  g.OnColumnCalc = [](TObject*, int ACol, int From, int To, double& Res) { Res = ACol * 100 + From * 10 + To; };
  EXPECT_DOUBLE_EQ(g.ColumnCustomCalc(1, 1, 2), 112);
}

TEST_F(CalcTest, ProgressIsReportedPerRow) {
  struct TProgressGrid : DEreDuzeroVaro {
    using DEreDuzeroVaro::DEreDuzeroVaro;
    std::vector<int> Seen;
    void ExportNotification(TGridExportState AState, int ARow) override {
      Seen.push_back(AState == esExportStart ? -10 - ARow : AState == esExportDone ? -1 : ARow);
    }
  };
  auto* p = new TProgressGrid(&f.form);
  p->SetColCount(2);
  p->SetRowCount(4);
  p->ColumnSum(1, 1, 3);
  EXPECT_EQ(p->Seen, (std::vector<int>{-11, 1, 2, 3, -1}));
}

// A grouped grid: A (rows 1, 2), B (row 3) in column 2, numbers in column 3 (column 2 once
// grouped).
class GroupCalcTest : public CalcTest {
protected:
  void Grouped(bool Summary) {
    g.SetColCount(4);
    g.SetRowCount(4);
    const char16_t* kinds[] = {u"A", u"A", u"B"};
    const char16_t* nums[] = {u"1.5", u"2", u"4"};
    for (int r = 1; r <= 3; ++r) {
      g.SetCells(2, r, kinds[r - 1]);
      g.SetCells(3, r, nums[r - 1]);
    }
    g.Grouping()->SetSummary(Summary);
    g.Group(2);
  }
};

TEST_F(GroupCalcTest, GroupResultsGoIntoHeaderOrSummaryRows) {
  struct {
    bool Summary;
    int Method;
    std::vector<int> Rows;
    std::vector<String> Texts;
  } cases[] = {
      {false, 1, {1, 4}, {u"3.50", u"4.00"}},
      {false, 2, {1, 4}, {u"1.75", u"4.00"}},
      {false, 3, {1, 4}, {u"1.50", u"4.00"}},
      {false, 4, {1, 4}, {u"2.00", u"4.00"}},
      {false, 5, {1, 4}, {u"2", u"1"}},
      {false, 7, {1, 4}, {u"2.00", u"1.00"}},
      {false, 8, {1, 4}, {u"0.25", u"0.00"}},
      {true, 1, {4, 7}, {u"3.50", u"4.00"}},
  };
  for (auto& c : cases) {
    g.UnGroup();
    Grouped(c.Summary);
    g.GroupCalc(2, c.Method);
    for (size_t i = 0; i < c.Rows.size(); ++i)
      EXPECT_EQ(g.Cells(2, c.Rows[i]), c.Texts[i]) << c.Method << " " << c.Summary << " " << i;
  }
}

TEST_F(GroupCalcTest, ContractedGroupsGetNothingAndColumnSumsSkipHeaders) {
  Grouped(false);
  g.ContractNode(4);
  g.GroupSum(2);
  EXPECT_EQ(g.Cells(2, 1), u"3.50");
  EXPECT_EQ(g.Cells(2, 4), u"");
  g.ExpandNode(4);
  g.SetCells(2, 4, u"100");  // a header row's number does not count while grouped
  EXPECT_DOUBLE_EQ(g.ColumnSum(2, -1, -1), 1.5 + 2 + 4);
  EXPECT_DOUBLE_EQ(g.ColumnMin(2, -1, -1), 1.5);  // headers are no start either
  g.OnGroupCalc = [](TObject*, int, int From, int To, double& Res) { Res = From * 10 + To; };
  g.GroupCustomCalc(2);
  EXPECT_EQ(g.Cells(2, 1), u"23.00");
}

TEST_F(CalcTest, UngroupedNodeRowsCount) {
  Column({u"1", u"2", u"3"});
  g.AddNode(1, 2);
  EXPECT_DOUBLE_EQ(g.ColumnSum(1, 1, 3), 6);
}

TEST_F(CalcTest, RangesPastTheDisplayedRowsCountHiddenRows) {
  Column({u"1", u"2", u"4", u"8"});
  g.HideRow(2);
  // RowCount is 4 now, so ToRow 5 reaches past the displayed rows: real rows 1..4 count.
  EXPECT_DOUBLE_EQ(g.ColumnSum(1, 1, 5), 15);
  EXPECT_DOUBLE_EQ(g.ColumnSum(1, 1, 3), 1 + 4 + 8);
}

}  // namespace
