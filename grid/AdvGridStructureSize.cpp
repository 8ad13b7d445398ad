// DEreDuzeroVaro: fitting the columns to the control's width, sizing the control to its
// cells, rows sized by line count, numbering a row or column, and swapping two whole columns
// or rows.

#include <algorithm>
#include <cmath>

#include "controls/VevAzez.h"
#include "grid/AdvGrid.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/MeasureCanvas.h"

// ===========================================================================
// Fitting

void DEreDuzeroVaro::AutoFitColumns(bool DoFixedCells) {
  const bool vertBarAllowed = FScrollBars == ssVertical || FScrollBars == ssBoth;
  const int a = FScrollBarAlways == saVert ||
                        (vertBarAllowed && VisibleRowCount() + TCustomGrid::FixedRows() < RowCount())
                    ? GetSystemMetrics(SM_CXVSCROLL)
                    : 0;
  const int b = BorderStyle() == bsSingle ? (Ctl3D() ? 4 : 2) : 0;
  int first = 0, last = ColCount() - 1, W = Width();
  if (!DoFixedCells) {
    first = FixedCols();
    last = ColCount() - FFixedRightCols - 1;
    for (int c = 0; c < ColCount(); ++c)
      if (c < first || c > last) W -= ColWidths(c);
  }
  int e = 0;
  if (Options().Contains(goVertLine)) e = (ColCount() - FixedCols() - FFixedRightCols) * GridLineWidth();
  if (Options().Contains(goFixedVertLine) && DoFixedCells) e += FixedCols() + FFixedRightCols;
  if (ColCount() < 2) SetColWidths(0, std::max(0, Width() - a - 5));
  if (last < first) return;

  int S = 0, widest = first;
  for (int c = first; c <= last; ++c) S += ColWidths(c);
  // Columns of no width cannot be stretched in proportion.
  if (S == 0 || W - (a + b) == S) return;
  const double m = static_cast<double>(W - a - b - e) / S;
  double T = 0;
  for (int c = first; c <= last; ++c) T += std::round(m * ColWidths(c));
  int sum = 0;
  for (int c = first; c <= last; ++c) {
    SetColWidths(c, std::max(0, static_cast<int>(std::round(ColWidths(c) * T / S))));
    sum += ColWidths(c);
    if (ColWidths(c) > ColWidths(widest)) widest = c;
  }
  int R = W - (a + b) - sum;
  const int n = last - first + 1;
  if (n >= 2 && R > n) {
    for (int c = first; c <= last; ++c) SetColWidths(c, ColWidths(c) + R / n);
    R %= n;
  }
  SetColWidths(widest, std::max(0, ColWidths(widest) + R));
}

void DEreDuzeroVaro::SizeToCols() {
  int w = 0;
  for (int c = 0; c < ColCount(); ++c) w += ColWidths(c);
  SetClientWidth(w);
}

void DEreDuzeroVaro::SizeToRows() {
  int h = 0;
  for (int r = 0; r < RowCount(); ++r) h += RowHeights(r);
  SetClientHeight(h);
}

void DEreDuzeroVaro::SizeToCells() {
  const TScrollStyle bars = FScrollBars;
  SetScrollBars(ssNone);
  SizeToCols();
  SizeToRows();
  SetScrollBars(bars);
}

int DEreDuzeroVaro::MaxLinesInRow(int ARow) {
  if (!FMultilinecells) return 1;
  int lines = 1;
  for (int c = 0; c < ColCount(); ++c) lines = std::max(lines, LineCount(Cells(c, ARow), true));
  return lines;
}

void DEreDuzeroVaro::SizeRowToLines(int ARow, int Lines, int Padding) {
  TMeasureCanvas canvas(Canvas());
  canvas->Font()->Assign(Font());
  GetCellColor(FixedCols(), ARow, TGridDrawState(), canvas->Brush(), canvas->Font());
  const int h = canvas->TextHeight(u"gh");
  SetRowHeights(ARow, std::max(0, ClampToLimits(Lines * (h + h / 8) + Padding, FMinRowHeight, FMaxRowHeight)));
}

// ===========================================================================
// Numbering

void DEreDuzeroVaro::AutoNumberCol(int ACol) {
  if (RowCount() == 0) return;
  const int fr = TCustomGrid::FixedRows(), last = RowCount() - FFixedFooters - 1;
  for (int r = fr + FAutoNumberStart; r <= last; ++r) {
    const int value = r - fr + 1 + FAutoNumberOffset;
    SetInts(ACol, FAutoNumberDirection == sdAscending ? r : last + fr - r, value);
  }
}

void DEreDuzeroVaro::AutoNumberRow(int ARow) {
  const int fc = FixedCols(), last = ColCount() - FFixedRightCols - 1;
  for (int c = fc + FAutoNumberStart; c <= last; ++c) {
    const int value = c - fc + 1 + FAutoNumberOffset;
    SetInts(FAutoNumberDirection == sdAscending ? c : last + fc - c, ARow, value);
  }
}

// ===========================================================================
// Swapping

void DEreDuzeroVaro::SwapColumns(int ACol1, int ACol2) {
  if (ACol1 == ACol2 || ACol1 < 0 || ACol2 < 0) return;
  // Texts and records change places, so that each cell keeps its properties.
  for (int r = 0; r < RowCount(); ++r) SwapCells(TGridCoord{ACol1, r}, TGridCoord{ACol2, r});
  EditHiddenColumns([&](std::vector<TCell>& Cells) {
    if (static_cast<size_t>(std::max(ACol1, ACol2)) < Cells.size()) std::swap(Cells[ACol1], Cells[ACol2]);
  });
  if (!IsHiddenColumn(ACol1) && !IsHiddenColumn(ACol2)) {
    const int d1 = DisplColIndex(ACol1), d2 = DisplColIndex(ACol2);
    if (d1 < ColCount() && d2 < ColCount()) {
      const int w = ColWidths(d1);
      SetColWidths(d1, ColWidths(d2));
      SetColWidths(d2, w);
    }
  }
  if (FSortSettings->Column() == ACol1) FSortSettings->SetColumn(ACol2);
  else if (FSortSettings->Column() == ACol2) FSortSettings->SetColumn(ACol1);
  for (int i = 0; i < FControlList->Count(); ++i) {
    TControlItem* item = FControlList->Control(i);
    if (item->X() == ACol1) item->SetX(ACol2);
    else if (item->X() == ACol2) item->SetX(ACol1);
  }
  if (FControlList->Count() > 0) CellControlsUpdate(false);
  Invalidate();
}

void DEreDuzeroVaro::SwapRows(int ARow1, int ARow2) {
  if (ARow1 == ARow2 || ARow1 < 0 || ARow2 < 0 || ARow1 >= RowCount() || ARow2 >= RowCount()) return;
  for (int c = 0; c < TotalColCount(); ++c) SwapCells(TGridCoord{c, ARow1}, TGridCoord{c, ARow2});
  const int h = RowHeights(ARow1);
  SetRowHeights(ARow1, RowHeights(ARow2));
  SetRowHeights(ARow2, h);
  const int real1 = RealRowIndex(ARow1), real2 = RealRowIndex(ARow2);
  for (int i = 0; i < FControlList->Count(); ++i) {
    TControlItem* item = FControlList->Control(i);
    if (item->Y() == real1) item->SetY(real2);
    else if (item->Y() == real2) item->SetY(real1);
  }
  if (FControlList->Count() > 0) CellControlsUpdate(false);
  Invalidate();
}
