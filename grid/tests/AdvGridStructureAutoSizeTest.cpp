// The string grid's content sizing: columns to their widest cell, rows to their tallest, the
// bounds, grow-only sizing, merged and hidden columns, fixed cells in their own font, graphics.
#include <gtest/gtest.h>

#include "grid/AdvGrid.h"
#include "grid/tests/GridTestSupport.h"
#include "platform/ui/MeasureCanvas.h"

namespace {

// A grid of 4 columns x 6 rows (one fixed row and column) with short texts and one long text
// per column, so that each column has a known widest text.
struct TSizeGrid : TGridForm {
  TSizeGrid() {
    grid->SetColCount(4);
    grid->SetRowCount(6);
    for (int r = 1; r < 6; ++r)
      for (int c = 1; c < 4; ++c) grid->SetCells(c, r, u"ab");
    grid->SetCells(1, 3, u"a rather long text");
    grid->SetCells(2, 4, u"WWWWWWWW");
    grid->SetCells(3, 2, u"mid text");
  }
  // The text's width in the font (the grid's own font when none).
  int TextW(const String& S, TFont* Font = nullptr) {
    TMeasureCanvas c(grid->Canvas());
    c->Font()->Assign(Font ? Font : grid->Font());
    return c->TextWidth(S);
  }
  int LineH(TFont* Font = nullptr) {
    TMeasureCanvas c(grid->Canvas());
    c->Font()->Assign(Font ? Font : grid->Font());
    return c->TextHeight(u"gh");
  }
  // The width of a column whose widest text is S: margins (2 x XYOffset.X), lines, 2.
  int WidthFor(const String& S, TFont* Font = nullptr) {
    return 2 * grid->XYOffset().X + TextW(S, Font) + 2 * grid->GridLineWidth() + 2;
  }
};

}  // namespace

TEST(AdvGridAutoSize, ColumnTakesItsWidestTextWithMarginsAndBounds) {
  struct Case {
    const char* Name;
    bool GrowOnly;
    int Start, Min, Max, Padding;
    int Expect;  // -1: the content width (+ padding); other: exact
  };
  TSizeGrid probe;
  const int content = probe.WidthFor(u"a rather long text");
  const Case cases[] = {
      {"shrinks a wide column", false, 400, 0, 0, 0, -1},
      {"grows a narrow column", false, 5, 0, 0, 0, -1},
      {"grow-only keeps a wider column", true, 400, 0, 0, 0, 400},
      {"grow-only still grows", true, 5, 0, 0, 0, -1},
      {"bounded above", false, 5, 0, 40, 0, 40},
      {"bounded below", false, 5, content + 30, 0, 0, content + 30},
      {"equal bounds are no bound", false, 5, 50, 50, 0, -1},
      {"padding added", false, 5, 0, 0, 7, -1},
      {"padding bounded", false, 5, 0, content + 3, 7, content + 3},
  };
  for (const Case& c : cases) {
    TSizeGrid f;
    f.grid->SetColWidths(1, c.Start);
    f.grid->SetSizeGrowOnly(c.GrowOnly);
    f.grid->SetMinColWidth(c.Min);
    f.grid->SetMaxColWidth(c.Max);
    f.grid->AutoSizeCol(1, c.Padding);
    EXPECT_EQ(f.grid->ColWidths(1), c.Expect < 0 ? content + c.Padding : c.Expect) << c.Name;
  }
}

TEST(AdvGridAutoSize, ColumnsLeaveFixedColumnsAndAddPaddingToEachSizedOne) {
  TSizeGrid f;
  f.grid->SetColWidths(0, 33);
  f.grid->SetMaxColWidth(f.WidthFor(u"mid text") + 4);
  f.grid->AutoSizeColumns(false, 4);
  EXPECT_EQ(f.grid->ColWidths(0), 33);
  EXPECT_EQ(f.grid->ColWidths(1), f.WidthFor(u"mid text") + 4);  // its own width is above the bound
  EXPECT_EQ(f.grid->ColWidths(3), f.WidthFor(u"mid text") + 4);

  f.grid->SetMaxColWidth(0);
  f.grid->SetCells(0, 2, u"a fixed caption here");
  f.grid->AutoSizeColumns(true, 0);
  EXPECT_EQ(f.grid->ColWidths(0), f.WidthFor(u"a fixed caption here", f.grid->FixedFont()));
}

TEST(AdvGridAutoSize, ColumnMeasuresEachCellInItsFontAndSkipsMergedAreas) {
  TSizeGrid f;
  // Fixed cells are drawn (and measured) in the fixed font.
  f.grid->FixedFont()->SetSize(f.grid->Font()->Size() * 2);
  f.grid->SetCells(2, 0, u"WWWWWWWW");
  f.grid->AutoSizeCol(2);
  EXPECT_EQ(f.grid->ColWidths(2), f.WidthFor(u"WWWWWWWW", f.grid->FixedFont()));

  // A text merged over two columns does not widen the first; a cell's own font size does.
  f.grid->SetCells(1, 5, u"an even longer text than the long one");
  f.grid->MergeCells(1, 5, 2, 1);
  f.grid->AutoSizeCol(1);
  EXPECT_EQ(f.grid->ColWidths(1), f.WidthFor(u"a rather long text"));
  f.grid->SetFontSizes(1, 3, 20);
  f.grid->AutoSizeCol(1);
  TFont big;
  big.Assign(f.grid->Font());
  big.SetSize(20);
  EXPECT_EQ(f.grid->ColWidths(1), f.WidthFor(u"a rather long text", &big));
}

TEST(AdvGridAutoSize, ColumnOfHiddenColumnsMeasuresTheRealColumnShown) {
  TSizeGrid f;
  f.grid->HideColumn(1);
  // Display column 1 now shows real column 2 ("WWWWWWWW").
  f.grid->AutoSizeCol(1);
  EXPECT_EQ(f.grid->ColWidths(1), f.WidthFor(u"WWWWWWWW"));
}

TEST(AdvGridAutoSize, ColumnRoomForSortGlyphCheckBoxAndTheWidthEvent) {
  TSizeGrid f;
  f.grid->SetCells(1, 0, u"a rather long text header");
  f.grid->SortSettings()->SetShow(true);
  f.grid->SortSettings()->SetColumn(1);
  f.grid->AutoSizeCol(1);
  EXPECT_EQ(f.grid->ColWidths(1), f.WidthFor(u"a rather long text header", f.grid->FixedFont()) + 10);

  f.grid->AddCheckBox(3, 2, false, false);
  f.grid->AutoSizeCol(3);
  EXPECT_EQ(f.grid->ColWidths(3), f.WidthFor(u"mid text") + f.grid->ControlLook()->CheckSize());

  int asked = -1;
  f.grid->OnUpdateColumnSize = [&](TObject*, int ACol, int& AWidth) {
    asked = ACol;
    AWidth = 77;
  };
  f.grid->AutoSizeCol(2);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(f.grid->ColWidths(2), 77);
}

TEST(AdvGridAutoSize, RowTakesItsTallestCellWrappedOrCheckedAnywhereInTheGrid) {
  TSizeGrid f;
  f.grid->SetRowCount(200);
  f.grid->SetWordWrap(true);
  f.grid->SetColWidths(2, 400);
  const int line = f.LineH();
  const int frame = f.grid->GetVertMargin() + 2 * f.grid->GridLineWidth();
  // Three lines; the same result for a row far out of view as for one in view.
  for (int row : {2, 150}) {
    f.grid->SetCells(2, row, u"one\ntwo\nthree");
    f.grid->AutoSizeRow(row);
    EXPECT_EQ(f.grid->RowHeights(row), frame + 3 * line) << row;
  }
  // A check box counts the default row height; an ignored column does not count.
  f.grid->AddCheckBox(1, 5, true, false);
  f.grid->AutoSizeRow(5);
  EXPECT_EQ(f.grid->RowHeights(5), frame + f.grid->DefaultRowHeight());
  f.grid->IgnoreColumns()->Add(1);
  f.grid->AutoSizeRow(5);
  EXPECT_EQ(f.grid->RowHeights(5), frame + line);
  // Grow-only keeps a taller row.
  f.grid->SetSizeGrowOnly(true);
  f.grid->SetRowHeights(4, 90);
  f.grid->AutoSizeRow(4);
  EXPECT_EQ(f.grid->RowHeights(4), 90);
}

TEST(AdvGridAutoSize, RowsWithoutWordWrapGoByLineCount) {
  TSizeGrid f;
  f.grid->SetWordWrap(false);
  f.grid->SetMultilinecells(true);
  f.grid->SetCells(1, 2, u"a\r\nb\r\nc");
  f.grid->SetRowHeights(0, 11);
  f.grid->AutoSizeRows(false, 2);
  const int h = f.LineH();
  EXPECT_EQ(f.grid->RowHeights(0), 11);
  EXPECT_EQ(f.grid->RowHeights(2), 3 * (h + h / 8) + 2);
  EXPECT_EQ(f.grid->RowHeights(3), h + h / 8 + 2);
}

TEST(AdvGridAutoSize, CellsGrowColumnsAndRowsButNeverShrinkRows) {
  TSizeGrid f;
  f.grid->SetRowHeights(3, 60);
  f.grid->SetRowHeights(2, 5);
  f.grid->AutoSizeCells(false, 3, 1);
  const int x = f.grid->XYOffset().X, y = f.grid->XYOffset().Y;
  EXPECT_EQ(f.grid->ColWidths(1), f.TextW(u"a rather long text") + 3 + x);
  EXPECT_EQ(f.grid->ColWidths(2), f.TextW(u"WWWWWWWW") + 3 + x);
  EXPECT_EQ(f.grid->RowHeights(3), 60);
  EXPECT_EQ(f.grid->RowHeights(2), f.LineH() + 1 + y);
}
