// The string grid's floating footer: its switches on the grid, the footer calculations and the
// footer panel's painting, template, columns and clicks; the footer row staying last through
// row count changes and added rows, and the panel following the grid.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "grid/AdvGridFooterPanel.h"
#include "grid/tests/GridTestSupport.h"
#include "platform/rtl/SysUtils.h"
#include "testing/TempFolder.h"

namespace {

class FooterTest : public ::testing::Test {
protected:
  TGridForm f;
  DEreDuzeroVaro& g = *f.grid;
  TFloatingFooter* ff = g.FloatingFooter();
  // Rows 1..Values in column 2, then the footer row.
  void Numbers(const std::vector<String>& Values) {
    g.SetColCount(4);
    g.SetRowCount(static_cast<int>(Values.size()) + 2);
    for (size_t i = 0; i < Values.size(); ++i) g.SetCells(2, static_cast<int>(i) + 1, Values[i]);
  }
  // Column 2 holds 1..Count in rows 1..Count; the footer row below sums it.
  void SumFooter(int Count) {
    g.SetColCount(4);
    g.SetRowCount(Count + 2);
    for (int r = 1; r <= Count; ++r) g.SetInts(2, r, r);
    ff->SetVisible(true);
    g.SetCells(1, g.RowCount() - 1, u"Total");
    ff->SetColumnCalc(2, acSUM);
  }
};

TEST_F(FooterTest, VisibilitySetsTheFooterRow) {
  Numbers({u"1"});
  ff->SetVisible(true);
  EXPECT_EQ(g.FixedFooters(), 1);
  EXPECT_TRUE(g.HideLastRow());
  ASSERT_NE(g.FooterPanel(), nullptr);
  EXPECT_TRUE(g.FooterPanel()->Visible());
  EXPECT_EQ(g.FooterPanel()->Height(), ff->Height() - 1);
  ff->SetFooterStyle(fsColumnPreview);
  EXPECT_FALSE(g.HideLastRow());
  EXPECT_EQ(g.FixedFooters(), 1);  // the style leaves the fixed footers alone
  ff->SetFooterStyle(fsFixedLastRow);
  ff->SetVisible(false);
  EXPECT_EQ(g.FixedFooters(), 0);
  EXPECT_FALSE(g.HideLastRow());
  EXPECT_FALSE(g.FooterPanel()->Visible());
  ff->SetHeight(30);
  EXPECT_EQ(ff->Height(), 30);
}

TEST_F(FooterTest, ColumnCalculationsWriteTheFooterCell) {
  Numbers({u"2", u"4", u"4", u"4", u"5", u"5", u"7", u"9"});
  ff->SetVisible(true);
  const int R = g.RowCount() - 1;
  struct {
    TColumnCalcType Calc;
    String Text;
  } cases[] = {{acSUM, u"40.00"},   {acAVG, u"5.00"},      {acCOUNT, u"8"},     {acMIN, u"2.00"},
               {acMAX, u"9.00"},    {acDISTINCT, u"5.00"}, {acSTDDEV, u"2.00"}, {acCUSTOM, u""}};
  for (auto& c : cases) {
    g.SetCells(2, R, u"old");
    ff->SetColumnCalc(2, c.Calc);
    EXPECT_EQ(ff->GetColumnCalc(2), c.Calc);
    EXPECT_EQ(g.Cells(2, R), c.Text) << int(c.Calc);
  }
  g.OnFooterCalc = [](TObject*, int ACol, int ARow, String& Value) { Value = IntToStr(ACol) + u"@" + IntToStr(ARow); };
  g.RecalcFooterAll();
  EXPECT_EQ(g.Cells(2, R), u"2@" + IntToStr(R));
  EXPECT_EQ(ff->GetColumnCalc(3), acNONE);
}

TEST_F(FooterTest, NoCalculationWhenSwitchedOffOrInAnotherStyle) {
  Numbers({u"1", u"2"});
  const int R = g.RowCount() - 1;
  g.CellProperties(2, R)->SetCalcType(acSUM);
  g.CalcFooter(-1);  // the footer is not shown
  EXPECT_EQ(g.Cells(2, R), u"");
  ff->SetVisible(true);
  ff->SetEnableCalculation(false);
  g.CalcFooter(2);
  EXPECT_EQ(g.Cells(2, R), u"");
  ff->SetEnableCalculation(true);
  ff->SetFooterStyle(fsCustomPaint);
  g.CalcFooter(2);
  EXPECT_EQ(g.Cells(2, R), u"");
  ff->SetFooterStyle(fsFixedLastRow);
  g.CalcFooter(2);
  EXPECT_EQ(g.Cells(2, R), u"3.00");
}

TEST_F(FooterTest, HiddenRowsCountButNeverTheFooterRow) {
  Numbers({u"1", u"2", u"4", u"8"});
  ff->SetVisible(true);
  ff->SetColumnCalc(1, acCOUNT);
  ff->SetColumnCalc(2, acSUM);
  const int R = g.RowCount() - 1;
  g.SetCells(2, R, u"1000");
  g.AddNode(2, 2);  // rows 2..3
  for (int hidden : {1, 2}) {
    if (hidden == 2) {
      g.ExpandNode(2);
      g.AddNode(1, 3);
    }
    g.ContractNode(hidden == 1 ? 2 : 1);
    const int r = g.RowCount() - 1;
    EXPECT_EQ(g.NumHiddenRows(), hidden);
    EXPECT_EQ(g.Cells(2, r), u"15.00") << hidden;
    EXPECT_EQ(g.Cells(1, r), u"4") << hidden;
    ff->SetCalculateHiddenRows(false);
    g.RecalcFooterAll();
    EXPECT_EQ(g.Cells(1, r), IntToStr(4 - hidden)) << hidden;
    ff->SetCalculateHiddenRows(true);
  }
}

TEST_F(FooterTest, GroupCalculationsSetTheFooterColumn) {
  Numbers({u"1", u"2", u"3"});
  ff->SetVisible(true);
  g.AddNode(1, 3);
  g.GroupSum(2);
  EXPECT_EQ(ff->GetColumnCalc(2), acSUM);
  // Ungrouped, the node row's own result counts too: 5 + 2 + 3.
  EXPECT_EQ(g.Cells(2, g.RowCount() - 1), u"10.00");
  g.GroupCount(2);
  EXPECT_EQ(ff->GetColumnCalc(2), acCOUNT);
  g.GroupStdDev(3);
  EXPECT_EQ(ff->GetColumnCalc(3), acNONE);
}

TEST_F(FooterTest, AssignCopiesTheStylePartOnly) {
  TFloatingFooter other(&g);
  other.SetColor(clRed);
  other.SetBorderColor(clBlue);
  other.SetColumn(2);
  other.SetCustomTemplate(u"t");
  other.SetCalculateHiddenRows(false);
  other.SetEnableCalculation(false);
  ff->Assign(&other);
  EXPECT_EQ(ff->Color(), clRed);
  EXPECT_EQ(ff->Column(), 2);
  EXPECT_EQ(ff->CustomTemplate(), u"t");
  EXPECT_FALSE(ff->CalculateHiddenRows());
  EXPECT_EQ(ff->BorderColor(), clNone);
  EXPECT_TRUE(ff->EnableCalculation());
}

TEST_F(FooterTest, TemplateExpansion) {
  Numbers({u"12"});
  g.SetRow(1);
  g.SetCells(1, 1, u"a");
  struct {
    String Template, Result;
  } cases[] = {
      {u"Total: <#2> items", u"Total: 12 items"},
      {u"<#1><#2>", u"a12"},
      {u"x<#x>y", u"xy"},
      {u"plain", u"plain"},
      {u"<b><#2></b>", u"<b>12</b>"},
      {u"open <#2", u"open <#2"},
      {u"<#2> and <#", u"12 and <#"},
      {u"<#99>!", u"!"},
  };
  for (auto& c : cases) EXPECT_EQ(g.FooterPanel()->ExpandTemplate(c.Template), c.Result) << StringToUTF8(c.Template);
}

TEST_F(FooterTest, PanelCellsFollowTheGridsColumns) {
  g.SetColCount(10);
  g.SetRowCount(30);
  for (int c = 0; c < 10; ++c) g.SetColWidths(c, 60 + c);
  g.MergeCells(5, 29, 2, 1);
  ff->SetVisible(true);
  ProcessPendingEvents();
  g.SetLeftCol(3);
  std::vector<std::pair<int, TRect>> painted;
  g.OnFooterPaint = [&](TObject*, int ACol, TCanvas*, const TRect& R) { painted.emplace_back(ACol, R); };
  g.UpdateFooter();
  RenderControl(g.FooterPanel());
  ASSERT_GE(painted.size(), 4u);
  // Column 0 is fixed and painted by the grid's cell painter; columns 3.. follow it, each where
  // the grid shows its column.
  std::vector<int> cols;
  for (auto& p : painted) cols.push_back(p.first);
  EXPECT_EQ(std::vector<int>(cols.begin(), cols.begin() + 4), (std::vector<int>{3, 4, 5, 7}));
  for (auto& p : painted) EXPECT_EQ(p.second.Left, g.CellRect(p.first, 5).Left) << p.first;
  EXPECT_EQ(painted[0].second.Right, g.CellRect(3, 5).Right);
  // The merged cell over columns 5 and 6 is painted once, over both.
  EXPECT_EQ(painted[2].second.Right, g.CellRect(6, 5).Right);
}

TEST_F(FooterTest, PanelPaintsTheFooterRowAndTheBorder) {
  Numbers({u"1"});
  ff->SetColor(clYellow);
  ff->SetVisible(true);
  ProcessPendingEvents();
  // The application paints the normal cells (here: nothing), so the strip's colour shows.
  g.OnFooterPaint = [](TObject*, int, TCanvas*, const TRect&) {};
  ff->Invalidate();
  auto bmp = RenderControl(g.FooterPanel());
  const int cw = g.FooterPanel()->ColumnsWidth();
  ASSERT_LT(cw, bmp->Width() - 2);
  EXPECT_EQ(PixelColor(*bmp, cw - 10, 3), clYellow);
  EXPECT_EQ(PixelColor(*bmp, cw + 2, 3), ColorToRGB(g.Color()));
  EXPECT_EQ(PixelColor(*bmp, cw + 2, 0), ColorToRGB(g.Color()));
  ff->SetBorderColor(clRed);
  bmp = RenderControl(g.FooterPanel());
  EXPECT_EQ(PixelColor(*bmp, cw - 10, 0), clRed);
  EXPECT_EQ(PixelColor(*bmp, cw + 2, 0), ColorToRGB(g.Color()));
}

TEST_F(FooterTest, ColumnPreviewShowsTheCurrentRow) {
  Numbers({u"1", u"2"});
  ff->SetFooterStyle(fsColumnPreview);
  ff->SetColumn(2);
  ff->SetVisible(true);
  ProcessPendingEvents();
  std::vector<int> columns;
  g.OnFooterPaint = [&](TObject*, int ACol, TCanvas*, const TRect&) { columns.push_back(ACol); };
  ff->Invalidate();
  RenderControl(g.FooterPanel());
  EXPECT_EQ(columns, std::vector<int>{2});
}

TEST_F(FooterTest, ClickOnThePanelIsAClickOfTheGrid) {
  Numbers({u"1"});
  ff->SetVisible(true);
  ProcessPendingEvents();
  int clicks = 0;
  g.OnClick = [&](TObject*) { ++clicks; };
  TFooterPanel* panel = g.FooterPanel();
  SimulateClick(panel, 10, panel->Height() / 2);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(panel->ColumnAt(g.CellRect(1, 1).Left + 1), 1);
  EXPECT_EQ(panel->ColumnAt(panel->ColumnsWidth() + 5), -1);
}

TEST_F(FooterTest, RowCountMovesTheFooterRowToTheNewLastRow) {
  struct Case {
    int NewCount;  // rows 0..NewCount-1 after the change; data 1..NewCount-2
    const char16_t* Sum;
  };
  for (const Case& c : {Case{8, u"6.00"}, Case{4, u"3.00"}, Case{3, u"1.00"}}) {
    SCOPED_TRACE(c.NewCount);
    SumFooter(3);  // rows 0..4: data 1..3, footer 4
    g.SetRowCount(c.NewCount);
    const int last = c.NewCount - 1;
    EXPECT_EQ(g.Cells(1, last), u"Total");
    EXPECT_EQ(ff->GetColumnCalc(2), acSUM);
    EXPECT_EQ(g.Cells(2, last), c.Sum) << "the footer is recalculated over the rows above it";
    // The footer's old place is an empty data row (or gone).
    for (int r = 1; r < last; ++r) EXPECT_NE(g.Cells(1, r), u"Total");
    if (c.NewCount > 5) {
      EXPECT_EQ(g.Cells(2, 4), u"");
      EXPECT_FALSE(g.HasCellProperties(2, 4));
    }
    // The range ends on the row above the footer.
    g.SetInts(2, last - 1, 100);
    g.RecalcFooterAll();
    EXPECT_EQ(g.Floats(2, last), 100 + (c.NewCount == 8 ? 6 : c.NewCount == 4 ? 1 : 0));
  }
}

TEST_F(FooterTest, RowCountLeavesRowsAloneWithoutAFooterRow) {
  g.SetColCount(3);
  g.SetRowCount(4);
  g.SetCells(1, 3, u"last");
  g.SetRowCount(6);  // no footer
  EXPECT_EQ(g.Cells(1, 3), u"last");
  ff->SetFooterStyle(fsColumnPreview);
  ff->SetVisible(true);
  g.SetRowCount(8);  // a preview footer does not own a row
  EXPECT_EQ(g.Cells(1, 3), u"last");
  EXPECT_EQ(g.Cells(1, 7), u"");
}

TEST_F(FooterTest, AddRowAndInsertsKeepTheFooterRowLast) {
  SumFooter(2);  // rows 0..3
  g.AddRow();
  ASSERT_EQ(g.RowCount(), 5);
  EXPECT_EQ(g.Cells(1, 4), u"Total");
  EXPECT_EQ(g.Cells(2, 3), u"");
  g.SetInts(2, 3, 10);
  g.RecalcFooterAll();
  EXPECT_EQ(g.Cells(2, 4), u"13.00");
  // Row inserts and removals move the footer with the rows, never twice.
  g.InsertRows(1, 2);
  EXPECT_EQ(g.Cells(1, 6), u"Total");
  g.RemoveRows(1, 3);
  EXPECT_EQ(g.Cells(1, 3), u"Total");
  EXPECT_EQ(g.Cells(2, 3), u"12.00");
}

// Rows added at the very end, by InsertRows or from a CSV file, go in above the footer row,
// which keeps its texts and its calculation.
TEST_F(FooterTest, RowsAddedAtTheEndGoAboveTheFooterRow) {
  TempFolder tmp;
  tmp.Write("more.csv", "a,b,10\r\nc,d,20\r\n");
  const std::function<void()> adds[] = {
      [&] {
        g.InsertRows(g.RowCount(), 2);
        g.SetInts(2, 3, 10);
        g.SetInts(2, 4, 20);
        g.RecalcFooterAll();
      },
      [&] { g.InsertFromCSV(tmp.FileS("more.csv")); },
  };
  for (size_t i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    SumFooter(2);  // rows 0..3: data 1..2, footer 3
    adds[i]();
    ASSERT_EQ(g.RowCount(), 6);
    EXPECT_EQ(g.Cells(2, 2), u"2");
    EXPECT_EQ(g.Cells(2, 3), u"10");
    EXPECT_EQ(g.Cells(2, 4), u"20");
    EXPECT_EQ(g.Cells(1, 5), u"Total");
    EXPECT_EQ(ff->GetColumnCalc(2), acSUM);
    EXPECT_EQ(g.Cells(2, 5), u"33.00");
  }
}

// Cells written from code keep the totals true: a read of the footer row and the panel's
// painting see the new total. A write into the footer row stays as written.
TEST_F(FooterTest, CellsWrittenFromCodeRecalculateTheTotals) {
  SumFooter(3);  // 1 + 2 + 3
  const int R = g.RowCount() - 1;
  g.SetInts(2, 1, 10);
  EXPECT_EQ(g.Cells(2, R), u"15.00");
  g.SetFloats(2, 2, 0.5);
  g.SetCells(2, 3, u"4");
  ff->SetColumnCalc(3, acMAX);
  g.SetInts(3, 2, 7);
  EXPECT_EQ(g.Cells(3, R), u"7.00");
  EXPECT_EQ(g.Cells(2, R), u"14.50");
  // So does a write into a hidden row.
  g.HideRow(3);
  g.SetAllCells(2, 3, u"6");
  EXPECT_EQ(g.Cells(2, g.RowCount() - 1), u"16.50");
  g.UnHideRow(3);
  g.SetCells(2, 3, u"4");
  // Painting the panel recalculates too.
  g.SetInts(2, 1, 1);
  ProcessPendingEvents();
  RenderControl(g.FooterPanel());
  EXPECT_EQ(g.GridCells(2, R), u"5.50");
  // Writes into the footer row, or with calculation off, are left as they are.
  g.SetCells(2, R, u"by hand");
  EXPECT_EQ(g.Cells(2, R), u"by hand");
  ff->SetEnableCalculation(false);
  g.SetInts(2, 1, 100);
  EXPECT_EQ(g.Cells(2, R), u"by hand");
}

TEST_F(FooterTest, TheGridPaintsTheFooterRowAsBackground) {
  SumFooter(2);
  const int last = g.RowCount() - 1;
  g.CellProperties(1, last)->SetBrushColor(clRed);
  g.CellProperties(2, last)->SetBrushColor(clRed);
  ProcessPendingEvents();
  const TRect r = g.CellRect(1, last);
  auto shown = RenderControl(&g);
  EXPECT_EQ(PixelColor(*shown, r.Left + 3, r.Top + 3), ColorToRGB(g.Color()));
  // Hiding the footer shows the row as a cell again.
  ff->SetVisible(false);
  ProcessPendingEvents();
  auto plain = RenderControl(&g);
  EXPECT_EQ(PixelColor(*plain, r.Left + 3, r.Top + 3), ColorToRGB(clRed));
}

// The panel paints again when the operator moves the current row, scrolls or sizes a column.
TEST_F(FooterTest, ThePanelFollowsTheGrid) {
  g.SetColCount(6);
  g.SetRowCount(40);
  for (int r = 1; r < 40; ++r) g.SetInts(1, r, r);
  ff->SetFooterStyle(fsColumnPreview);
  ff->SetColumn(1);
  ff->SetVisible(true);
  g.SetOptions(g.Options() + TGridOptions{goColSizing});
  g.SetFocus();
  ProcessPendingEvents();
  int paints = 0;
  g.OnFooterPaint = [&](TObject*, int, TCanvas*, const TRect&) { ++paints; };
  auto repainted = [&](const char* What, const std::function<void()>& Act) {
    paints = 0;
    Act();
    // The panel's repaint is asked for while the grid paints: it comes on a later pass.
    EXPECT_TRUE(WaitUntil([&] { return paints > 0; }, 3000)) << What;
  };
  repainted("current row", [&] { SimulateKeyStroke(&g, VK_DOWN); });
  EXPECT_EQ(g.Row(), 2);
  repainted("scrolling", [&] { SimulateKeyStroke(&g, VK_NEXT); });
  EXPECT_GT(g.TopRow(), 1);
  const TRect h = g.CellRect(2, 0);
  repainted("column sizing", [&] {
    SimulateMouseDown(&g, mbLeft, h.Right - 1, h.Top + 5);
    SimulateMouseMove(&g, h.Right + 30, h.Top + 5, {ssLeft});
    SimulateMouseUp(&g, mbLeft, h.Right + 30, h.Top + 5);
  });
  EXPECT_GT(g.ColWidths(2), h.Right - h.Left + 10);
}

}  // namespace
