// DEreDuzeroVaro: the selection in all its forms (rectangle, marked rows, marked columns,
// listed cells), the selection as text, the modified and enabled row states and the repaint
// operations for rectangles and columns.

#include <algorithm>
#include <cstdlib>

#include "controls/VevAzez.h"
#include "grid/AdvGrid.h"
#include "platform/rtl/SysUtils.h"

namespace {

// Grows a flag list so that Index is inside it.
void Reach(std::vector<bool>& Flags, int Index) {
  if (Index >= static_cast<int>(Flags.size())) Flags.resize(Index + 1, false);
}

TGridRect Ordered(TGridRect R) {
  if (R.Left > R.Right) std::swap(R.Left, R.Right);
  if (R.Top > R.Bottom) std::swap(R.Top, R.Bottom);
  return R;
}

}  // namespace

// ===========================================================================
// Marked rows and columns

bool DEreDuzeroVaro::RowSelect(int ARow) {
  if (ARow < 0 || ARow >= AllRowCount()) throw VUreReriVorov(u"Invalid row " + IntToStr(ARow) + u" accessed");
  if (FMouseActions->DisjunctRowSelect()) {
    Reach(FRowSelect, ARow);
    return FRowSelect[ARow];
  }
  TGridRect s = Ordered(Selection());
  return ARow >= s.Top && ARow <= s.Bottom;
}

void DEreDuzeroVaro::SetRowSelect(int ARow, bool Value) {
  if (ARow < 0 || (ARow >= AllRowCount() && RowCount() > TCustomGrid::FixedRows()))
    throw VUreReriVorov(u"Invalid row accessed");
  bool allow = true;
  if (ARow >= static_cast<int>(FRowSelect.size()) || FRowSelect[ARow] != Value) {
    if (OnRowDisjunctSelect) OnRowDisjunctSelect(this, ARow, Value, allow);
    if (!allow) return;
  }
  Reach(FRowSelect, ARow);
  const bool was = FRowSelect[ARow];
  if (was != Value) RepaintRow(ARow);
  FRowSelect[ARow] = Value;
  if (Value) {
    if (!FSelectedRows->HasValue(ARow)) FSelectedRows->Add(ARow);
  } else if (FSelectedRows->HasValue(ARow)) {
    FSelectedRows->DeleteValue(ARow);
  }
  if (OnRowDisjunctSelected) OnRowDisjunctSelected(this, ARow);
}

bool DEreDuzeroVaro::ColSelect(int ACol) {
  if (ACol < 0 || ACol >= ColCount()) throw VUreReriVorov(u"Invalid column accessed");
  Reach(FColSelect, ACol);
  return FColSelect[ACol];
}

void DEreDuzeroVaro::SetColSelect(int ACol, bool Value) {
  if (ACol < 0 || ACol >= ColCount()) throw VUreReriVorov(u"Invalid column accessed");
  Reach(FColSelect, ACol);
  if (FColSelect[ACol] == Value) return;
  FColSelect[ACol] = Value;
  RepaintCol(ACol);
}

int DEreDuzeroVaro::RowSelectCount() {
  if (FMouseActions->DisjunctRowSelect()) {
    const int n = std::min(AllRowCount(), static_cast<int>(FRowSelect.size()));
    return static_cast<int>(std::count(FRowSelect.begin(), FRowSelect.begin() + n, true));
  }
  TGridRect s = Ordered(Selection());
  return s.Bottom - s.Top + 1;
}

int DEreDuzeroVaro::ColSelectCount() {
  if (FMouseActions->DisjunctColSelect()) return static_cast<int>(std::count(FColSelect.begin(), FColSelect.end(), true));
  TGridRect s = Ordered(Selection());
  return s.Right - s.Left + 1;
}

void DEreDuzeroVaro::SelectRows(int RowIndex, int RCount) {
  RCount = std::min(RCount, RowCount() - RowIndex);
  if (FMouseActions->DisjunctRowSelect()) {
    for (int r = RowIndex; r < RowIndex + RCount; ++r)
      if (r >= 0 && r < RowCount()) SetRowSelect(MarkRow(r), true);
  } else {
    SetSelection(TGridRect{FixedCols(), RowIndex, ColCount() - 1, RowIndex + RCount - 1});
  }
  if (!FRowIndicator->Empty()) RepaintCol(0);
}

void DEreDuzeroVaro::UnSelectRows(int RowIndex, int RCount) {
  if (!FMouseActions->DisjunctRowSelect()) return;
  for (int r = RowIndex; r < RowIndex + RCount; ++r)
    if (r >= 0 && r < RowCount()) SetRowSelect(MarkRow(r), false);
}

void DEreDuzeroVaro::SelectCols(int ColIndex, int CCount) {
  if (FMouseActions->DisjunctColSelect()) {
    for (int c = ColIndex; c < ColIndex + CCount; ++c)
      if (c >= 0 && c < ColCount()) SetColSelect(c, true);
    return;
  }
  SetSelection(TGridRect{ColIndex, TCustomGrid::FixedRows(), ColIndex + CCount - 1, RowCount() - 1});
}

void DEreDuzeroVaro::UnSelectCols(int ColIndex, int CCount) {
  if (!FMouseActions->DisjunctColSelect()) return;
  for (int c = ColIndex; c < ColIndex + CCount; ++c)
    if (c >= 0 && c < ColCount()) SetColSelect(c, false);
}

void DEreDuzeroVaro::ClearRowSelect() {
  for (int r = 0; r < static_cast<int>(FRowSelect.size()); ++r)
    if (FRowSelect[r]) {
      RepaintRow(r);
      FRowSelect[r] = false;
    }
  FSelectedRows->Clear();
}

void DEreDuzeroVaro::ClearColSelect() {
  for (int c = 0; c < static_cast<int>(FColSelect.size()); ++c)
    if (FColSelect[c]) {
      RepaintCol(c);
      FColSelect[c] = false;
    }
}

void DEreDuzeroVaro::SelectionToRowSelect(bool AllRows) {
  TGridRect s = Ordered(Selection());
  const int from = AllRows ? TCustomGrid::FixedRows() : std::max(s.Top, TCustomGrid::FixedRows());
  const int to = AllRows ? RowCount() - 1 : std::min(s.Bottom, RowCount() - 1);
  for (int r = from; r <= to; ++r) SetRowSelect(MarkRow(r), r >= s.Top && r <= s.Bottom);
  if (NumHiddenRows() > 0) Invalidate();
}

void DEreDuzeroVaro::SelectionToColSelect(bool AllCols) {
  TGridRect s = Ordered(Selection());
  const int from = AllCols ? FixedCols() : std::max(s.Left, FixedCols());
  const int to = AllCols ? ColCount() - 1 : std::min(s.Right, ColCount() - 1);
  for (int c = from; c <= to; ++c) SetColSelect(c, c >= s.Left && c <= s.Right);
}

// ===========================================================================
// The rectangle and single cells

void DEreDuzeroVaro::SelectRange(int FromCol, int ToCol, int FromRow, int ToRow) {
  SetRow(ToRow);
  SetCol(ToCol);
  SetSelection(TGridRect{FromCol, FromRow, ToCol, ToRow});
}

void DEreDuzeroVaro::SelectCells(int FromCol, int FromRow, int ToCol, int ToRow) {
  SetSelection(TGridRect{FromCol, FromRow, ToCol, ToRow});
}

void DEreDuzeroVaro::GotoCell(int ACol, int ARow) {
  SetRow(ARow);
  SetCol(ACol);
}

void DEreDuzeroVaro::MoveCurrentCell(int ACol, int ARow) { MoveColRow(ACol, ARow, true, true); }

bool DEreDuzeroVaro::IsSelected(int ACol, int ARow) {
  if (ACol < FixedCols() || ARow < TCustomGrid::FixedRows()) return false;
  if (FMouseActions->DisjunctCellSelect())
    return std::find(FDisjunctCells.begin(), FDisjunctCells.end(), TGridCoord{ACol, ARow}) != FDisjunctCells.end();
  if (FMouseActions->DisjunctRowSelect()) return RowMarked(MarkRow(ARow));
  if (FMouseActions->DisjunctColSelect()) return ColMarked(ACol);
  TGridRect s = Ordered(Selection());
  return ACol >= s.Left && ACol <= s.Right && ARow >= s.Top && ARow <= s.Bottom;
}

bool DEreDuzeroVaro::SelectedCells(int ACol, int ARow) {
  if (FMouseActions->DisjunctCellSelect())
    return std::find(FDisjunctCells.begin(), FDisjunctCells.end(), TGridCoord{ACol, ARow}) != FDisjunctCells.end();
  TGridRect s = Ordered(Selection());
  return ACol >= s.Left && ACol <= s.Right && ARow >= s.Top && ARow <= s.Bottom;
}

void DEreDuzeroVaro::SetSelectedCells(int ACol, int ARow, bool Value) {
  auto it = std::find(FDisjunctCells.begin(), FDisjunctCells.end(), TGridCoord{ACol, ARow});
  const bool listed = it != FDisjunctCells.end();
  if (listed == Value) return;
  if (Value) FDisjunctCells.push_back(TGridCoord{ACol, ARow});
  else FDisjunctCells.erase(it);
  RepaintCell(ACol, ARow);
}

TGridCoord DEreDuzeroVaro::SelectedCell(int i) const {
  if (i < 0 || i >= static_cast<int>(FDisjunctCells.size())) return TGridCoord{-1, -1};
  return FDisjunctCells[i];
}

int DEreDuzeroVaro::SelectedCellsCount() {
  if (!FMouseActions->DisjunctCellSelect()) {
    FDisjunctCells.clear();
    TGridRect s = Ordered(Selection());
    if (s.Left == s.Right && s.Top == s.Bottom) {
      FDisjunctCells.push_back(TGridCoord{Col(), Row()});
    } else {
      for (int c = s.Left; c <= s.Right; ++c)
        for (int r = s.Top; r <= s.Bottom; ++r) FDisjunctCells.push_back(TGridCoord{c, r});
    }
  }
  return static_cast<int>(FDisjunctCells.size());
}

void DEreDuzeroVaro::ClearSelectedCells() {
  SetSelection(TGridRect{FixedCols(), TCustomGrid::FixedRows(), FixedCols(), TCustomGrid::FixedRows()});
  FDisjunctCells.clear();
  Invalidate();
}

int DEreDuzeroVaro::SelectedRow(int i) {
  if (FMouseActions->DisjunctRowSelect()) return i >= 0 && i < FSelectedRows->Count() ? FSelectedRows->Items(i) : -1;
  TGridRect s = Ordered(Selection());
  return i >= 0 && s.Top + i <= s.Bottom ? s.Top + i : -1;
}

int DEreDuzeroVaro::SelectedRowCount() {
  if (FMouseActions->DisjunctRowSelect()) return FSelectedRows->Count();
  TGridRect s = Selection();
  const int rows = std::abs(s.Top - s.Bottom) + 1;
  if (IsMergedCell(s.Left, s.Top)) {
    const int span = CellSpan(s.Left, s.Top).Y;
    return s.Bottom < s.Top + span ? span + 1 : rows;
  }
  if (IsMergedCell(s.Left, s.Bottom)) return rows + CellSpan(s.Left, s.Bottom).Y;
  return rows;
}

int DEreDuzeroVaro::SelectedColCount() {
  if (FMouseActions->DisjunctColSelect()) return static_cast<int>(std::count(FColSelect.begin(), FColSelect.end(), true));
  TGridRect s = Selection();
  const int cols = std::abs(s.Left - s.Right) + 1;
  if (IsMergedCell(s.Left, s.Top)) {
    const int span = CellSpan(s.Left, s.Top).X;
    return s.Right < s.Left + span ? span + 1 : cols;
  }
  if (IsMergedCell(s.Right, s.Top)) return cols + CellSpan(s.Right, s.Top).X;
  return cols;
}

String DEreDuzeroVaro::SelectedText() {
  TGridRect s = Ordered(Selection());
  std::vector<int> rows;
  if (FMouseActions->DisjunctRowSelect()) {
    for (int r = TCustomGrid::FixedRows(); r < RowCount(); ++r)
      if (RowMarked(MarkRow(r))) rows.push_back(r);
  } else {
    for (int r = std::max(s.Top, 0); r <= std::min(s.Bottom, RowCount() - 1); ++r) rows.push_back(r);
  }
  String text;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (i > 0) text += u"\r\n";
    for (int c = std::max(s.Left, 0); c <= std::min(s.Right, AllColCount() - 1); ++c) {
      String cell = CellPlainText(c, rows[i]);
      if (FExcelClipboardFormat && LineCount(cell, FMultilinecells) > 1) EncodeCellLineBreaks(cell);
      if (c > s.Left) text += u"\t";
      text += cell;
    }
  }
  return text;
}

void DEreDuzeroVaro::SwapCells(TGridCoord FromCell, TGridCoord ToCell) {
  String text = GridCells(FromCell.X, FromCell.Y);
  TObject* obj = GridObjects(FromCell.X, FromCell.Y);
  SetGridCells(FromCell.X, FromCell.Y, GridCells(ToCell.X, ToCell.Y));
  SetGridObjects(FromCell.X, FromCell.Y, GridObjects(ToCell.X, ToCell.Y));
  SetGridCells(ToCell.X, ToCell.Y, text);
  SetGridObjects(ToCell.X, ToCell.Y, obj);
}

// ===========================================================================
// Row states

bool DEreDuzeroVaro::RowModified(int ARow) const {
  return ARow >= 0 && ARow < FModifiedRows->Count() && FModifiedRows->Items(ARow) == 1;
}

void DEreDuzeroVaro::SetRowModified(int ARow, bool Value) {
  if (ARow < 0) return;
  while (FModifiedRows->Count() <= ARow) FModifiedRows->Add(0);
  FModifiedRows->SetItems(ARow, Value ? 1 : 0);
  RepaintCell(0, ARow);
}

int DEreDuzeroVaro::ModifiedRowCount() const {
  int n = 0;
  for (int i = 0; i < FModifiedRows->Count(); ++i)
    if (FModifiedRows->Items(i) == 1) ++n;
  return n;
}

void DEreDuzeroVaro::ClearModifiedRows() {
  FModifiedRows->Clear();
  Invalidate();
}

bool DEreDuzeroVaro::RowEnabled(int ARow) const {
  return ARow < 0 || ARow >= FEnabledRows->Count() || FEnabledRows->Items(ARow) == 0;
}

void DEreDuzeroVaro::SetRowEnabled(int ARow, bool Value) {
  if (ARow < 0) return;
  if (ARow == Row() && !Value) {
    for (int r = TCustomGrid::FixedRows(); r < RowCount(); ++r)
      if (r != ARow && RowEnabled(r)) {
        SetRow(r);
        break;
      }
  }
  FUseEnabledRows = true;
  while (FEnabledRows->Count() <= ARow) FEnabledRows->Add(0);
  FEnabledRows->SetItems(ARow, Value ? 0 : 1);
  RepaintRow(ARow);
}

// ===========================================================================
// Repainting

void DEreDuzeroVaro::RepaintRect(TRect R) {
  if (R.Left < 0 || R.Top < 0 || R.Right < 0 || R.Bottom < 0 || !HandleAllocated()) return;
  TRect r1 = TCustomGrid::CellRect(R.Left, R.Top);
  TRect r2 = TCustomGrid::CellRect(std::min(R.Right, VisibleColCount() + FixedCols()), R.Bottom);
  if (r1.IsEmpty() || r2.IsEmpty()) {
    Invalidate();
    return;
  }
  RECT u = TRect(std::min(r1.Left, r2.Left), std::min(r1.Top, r2.Top), std::max(r1.Right, r2.Right),
                 std::max(r1.Bottom, r2.Bottom));
  InvalidateRect(Handle(), &u, true);
}

void DEreDuzeroVaro::RepaintCol(int ACol) {
  if (ACol < 0 || ACol >= ColCount() || !HandleAllocated()) return;
  TRect top = CalcCellRect(ACol, TopRow());
  TRect bottom = CalcCellRect(ACol, std::min(TopRow() + VisibleRowCount(), RowCount() - 1));
  RECT band = TRect(top.Left, top.Top, top.Right, bottom.Bottom);
  InvalidateRect(Handle(), &band, false);
}
