// DEreDuzeroVaro: merging runs of equal neighbouring cells, splitting the merged cells of a
// column, a row or the whole grid, and joining two columns into one.

#include "grid/AdvGrid.h"
#include "platform/rtl/SysUtils.h"

void DEreDuzeroVaro::MergeColumnCells(int ColIndex, bool MainMerge) {
  const int first = TCustomGrid::FixedRows(), last = RowCount() - FFixedFooters - 1;
  int start = first, length = 1;
  for (int r = first + 1; r <= last; ++r) {
    if (Cells(ColIndex, r) == Cells(ColIndex, r - 1) && (MainMerge || RowSpanIdentical(r, r - 1))) {
      ++length;
      continue;
    }
    if (length > 1) MergeCells(ColIndex, start, 1, length);
    start = r;
    length = 1;
  }
  if (length > 1) MergeCells(ColIndex, start, 1, length);
}

void DEreDuzeroVaro::MergeRowCells(int RowIndex, bool MainMerge) {
  const int first = FixedCols(), last = ColCount() - FFixedRightCols - 1;
  int start = first, length = 1;
  for (int c = first + 1; c <= last; ++c) {
    if (Cells(c, RowIndex) == Cells(c - 1, RowIndex) && (MainMerge || ColSpanIdentical(c, c - 1))) {
      ++length;
      continue;
    }
    if (length > 1) MergeCells(start, RowIndex, length, 1);
    start = c;
    length = 1;
  }
  if (length > 1) MergeCells(start, RowIndex, length, 1);
}

void DEreDuzeroVaro::SplitColumnCells(int ACol) {
  // A vertical merge cannot start in the last row above the footers.
  int r = 0;
  while (r < RowCount() - FFixedFooters - 1) {
    if (IsYMergedCell(ACol, r)) {
      const int span = CellSpan(ACol, r).Y;
      SplitCells(ACol, r);
      r += span + 1;
    } else {
      ++r;
    }
  }
}

void DEreDuzeroVaro::SplitRowCells(int ARow) {
  int c = 0;
  while (c < ColCount() - FFixedRightCols - 1) {
    if (IsMergedCell(c, ARow)) {
      const int span = CellSpan(c, ARow).X;
      SplitCells(c, ARow);
      c += span + 1;
    } else {
      ++c;
    }
  }
}

void DEreDuzeroVaro::SplitAllCells() {
  for (int r = 0; r < RowCount(); ++r) {
    const int cols = ColCount();
    for (int c = 0; c < cols; ++c)
      if (IsMergedCell(c, r)) SplitCells(c, r);
  }
}

void DEreDuzeroVaro::MergeCols(int ColIndex1, int ColIndex2, const String& Separator) {
  for (int r = TCustomGrid::FixedRows(); r < RowCount(); ++r)
    SetCells(ColIndex1, r, Trim(Cells(ColIndex1, r) + Separator + Cells(ColIndex2, r)));
  RemoveCols(ColIndex2, 1);
}
