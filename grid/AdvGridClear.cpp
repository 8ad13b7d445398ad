// Clearing and trimming cells, finding a cell by its text, and removing or hiding rows and
// columns chosen by their content or by the selection.
#include <algorithm>
#include <set>
#include <unordered_set>
#include <vector>

#include "grid/AdvGrid.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/SysUtils.h"

// ===========================================================================
// Clearing

void DEreDuzeroVaro::ClearRect(int ACol1, int ARow1, int ACol2, int ARow2) {
  const bool destroying = IsDestroying();
  // With SaveHiddenCells the columns are display columns: each is cleared at its real column.
  std::vector<std::pair<int, int>> spans;  // real column ranges
  const bool mapped = FSaveHiddenCells && FNumHidden > 0;
  if (mapped) {
    for (int c = std::max(0, ACol1); c <= ACol2; ++c) spans.emplace_back(RealColIndex(c), RealColIndex(c));
  } else {
    spans.emplace_back(ACol1, ACol2);
  }
  for (auto [c1, c2] : spans) {
    if (!FClearTextOnly && HasCellProps()) {
      if (FNilObjects) {
        // Another row or column holds these records: detach them without freeing.
        std::vector<TPoint> held;
        ForEachObject(TGridRect{std::max(0, c1), std::max(0, ARow1), c2, ARow2}, [&](int c, int r, TObject* Obj) {
          if (dynamic_cast<TCellProperties*>(Obj)) held.push_back(TPoint(c, r));
        });
        for (const TPoint& p : held) ResetCell(p.X, p.Y);
      } else {
        // The records and the graphics the grid made go; an application's object stays its own.
        FreeCellPropertiesRect(c1, ARow1, c2, ARow2);
      }
    }
    if (!destroying) {
      for (int r = std::max(0, ARow1); r <= ARow2; ++r)
        for (int c = std::max(0, c1); c <= c2; ++c)
          if (!GridCells(c, r).empty()) {
            SetGridCells(c, r, String());
            if (mapped && DisplColIndex(c) != c) RepaintCell(DisplColIndex(c), r);
          }
    }
  }
  // A clear of the whole grid leaves no record behind (unless only texts were cleared).
  if (!FClearTextOnly && ACol1 <= 0 && ARow1 <= 0 && ACol2 >= TotalColCount() - 1 && ARow2 >= RowCount() - 1)
    SetHasCellProps(false);
  if (!destroying && !FBlockCellChange) {
    TRect r(ACol1, ARow1, ACol2, ARow2);
    if (mapped) {
      r.Left = RealColIndex(ACol1);
      r.Right = RealColIndex(ACol2);
    }
    CellsChanged(r);
  }
}

void DEreDuzeroVaro::ClearRows(int RowIndex, int RCount) {
  if (RowCount() == 0 || TotalColCount() == 0 || RCount <= 0) return;
  ClearRect(0, RowIndex, TotalColCount() - 1, RowIndex + RCount - 1);
}

void DEreDuzeroVaro::ClearCols(int ColIndex, int CCount) {
  if (RowCount() == 0 || TotalColCount() == 0 || CCount <= 0) return;
  ClearRect(ColIndex, 0, ColIndex + CCount - 1, RowCount() - 1);
}

void DEreDuzeroVaro::ClearNormalRows(int RowIndex, int RCount) {
  if (RowCount() == 0 || TotalColCount() == 0 || RCount <= 0) return;
  ClearRect(FixedCols(), RowIndex, TotalColCount() - 1 - FFixedRightCols, RowIndex + RCount - 1);
}

void DEreDuzeroVaro::ClearNormalCols(int ColIndex, int CCount) {
  if (RowCount() == 0 || TotalColCount() == 0 || CCount <= 0) return;
  ClearRect(ColIndex, TCustomGrid::FixedRows(), ColIndex + CCount - 1, RowCount() - FFixedFooters - 1);
}

void DEreDuzeroVaro::ClearNormalCells() {
  ClearRect(FixedCols(), TCustomGrid::FixedRows(), TotalColCount() - 1 - FFixedRightCols,
            RowCount() - FFixedFooters - 1);
}

void DEreDuzeroVaro::Clear() {
  ClearRect(0, 0, TotalColCount() - 1, RowCount() - 1);
  SearchInc = String();
  if (FNumHidden > 0) Invalidate();
}

void DEreDuzeroVaro::ClearAll() {
  Clear();
  // The hidden rows' texts and objects go too (the records stay the grid's).
  for (TGridItem& h : HiddenRows()) h.Cells() = NewRowCells();
}

void DEreDuzeroVaro::ClearSelection() {
  if (FMouseActions->DisjunctRowSelect()) {
    for (int r = TCustomGrid::FixedRows(); r < RowCount(); ++r)
      if (RowMarked(MarkRow(r))) ClearRows(r, 1);
    return;
  }
  if (FMouseActions->DisjunctColSelect()) {
    for (int c = FixedCols(); c < ColCount(); ++c)
      if (ColMarked(c)) ClearCols(c, 1);
    return;
  }
  TGridRect s = Selection();
  ClearRect(std::min(s.Left, s.Right), std::min(s.Top, s.Bottom), std::max(s.Left, s.Right),
            std::max(s.Top, s.Bottom));
}

// ===========================================================================
// Trimming and finding

void DEreDuzeroVaro::TrimRect(int ACol1, int ARow1, int ACol2, int ARow2) {
  for (int r = ARow1; r <= ARow2; ++r)
    for (int c = ACol1; c <= ACol2; ++c) {
      const int rc = FSaveHiddenCells ? RealColIndex(c) : c;
      String s = Cells(rc, r);
      String t = Trim(s);
      if (t != s) SetCells(rc, r, t);
    }
}

void DEreDuzeroVaro::TrimColumn(int ACol) { TrimRect(ACol, 0, ACol, RowCount() - 1); }
void DEreDuzeroVaro::TrimRow(int ARow) { TrimRect(0, ARow, ColCount() - 1, ARow); }
void DEreDuzeroVaro::TrimAll() { TrimRect(0, 0, ColCount() - 1, RowCount() - 1); }

bool DEreDuzeroVaro::IsCell(const String& SubStr, int& ACol, int& ARow) {
  for (int r = 0; r < RowCount(); ++r)
    for (int c = 0; c < ColCount(); ++c)
      if (GridCells(c, r) == SubStr) {
        ACol = c;
        ARow = r;
        return true;
      }
  return false;
}

bool DEreDuzeroVaro::IsWideCell(int ACol, int ARow) {
  String s = GridCells(ACol, ARow);
  return s.size() >= 2 && s[0] == u'|' && s[1] == u'\\';
}

bool DEreDuzeroVaro::RowIsSelected(int ARow) {
  if (FMouseActions->DisjunctRowSelect()) return RowMarked(MarkRow(ARow));
  TGridRect s = Selection();
  return ARow >= std::min(s.Top, s.Bottom) && ARow <= std::max(s.Top, s.Bottom);
}

// ===========================================================================
// Removal by content or selection: the rows are gathered first and removed in one pass.

void DEreDuzeroVaro::RemoveCheckedRows(int CheckBoxColumn, bool RemoveChecked) {
  std::vector<int> rows;
  for (int r = TCustomGrid::FixedRows(); r < RowCount(); ++r) {
    bool state = false;
    GetCheckBoxState(CheckBoxColumn, r, state);
    if (state == RemoveChecked) rows.push_back(r);
  }
  RemoveRowList(rows, true);
}

void DEreDuzeroVaro::RemoveDuplicates(int ACol, bool DoCase) {
  const int col = RealColIndex(ACol);
  std::unordered_set<String> seen;
  std::vector<int> rows;
  for (int r = TCustomGrid::FixedRows(); r <= RowCount() - FFixedFooters - 1; ++r) {
    String s = Cells(col, r);
    if (!DoCase) s = AnsiUpperCase(s);
    if (!seen.insert(s).second) rows.push_back(r);
  }
  RemoveRowList(rows, true);
}

void DEreDuzeroVaro::RemoveSelectedRows() {
  std::vector<int> rows;
  if (FMouseActions->DisjunctRowSelect()) {
    for (int r = TCustomGrid::FixedRows(); r <= RowCount() - FFixedFooters - 1; ++r)
      if (RowMarked(MarkRow(r))) rows.push_back(r);
    RemoveRowList(rows, true);
    ClearRowSelect();
    return;
  }
  TGridRect s = Selection();
  for (int r = std::min(s.Top, s.Bottom); r <= std::max(s.Top, s.Bottom); ++r) rows.push_back(r);
  RemoveRowList(rows, true);
}

void DEreDuzeroVaro::RemoveUnSelectedRows() {
  std::vector<int> rows;
  for (int r = TCustomGrid::FixedRows(); r <= RowCount() - FFixedFooters - 1; ++r)
    if (!RowIsSelected(r)) rows.push_back(r);
  RemoveRowList(rows, true);
  if (FMouseActions->RowSelectPersistent()) SelectRows(TCustomGrid::FixedRows(), RowCount() - TCustomGrid::FixedRows());
  else ClearRowSelect();
}

void DEreDuzeroVaro::RemoveSelectedCols() {
  if (FMouseActions->DisjunctColSelect()) {
    for (int c = ColCount() - 1; c >= FixedCols(); --c)
      if (ColMarked(c)) {
        RemoveCols(RealColIndex(c), 1);
        if (c < static_cast<int>(FColSelect.size())) FColSelect.erase(FColSelect.begin() + c);
      }
    return;
  }
  TGridRect s = Selection();
  const int l = RealColIndex(std::min(s.Left, s.Right)), r = RealColIndex(std::max(s.Left, s.Right));
  RemoveCols(l, r - l + 1);
}

void DEreDuzeroVaro::RemoveUnSelectedCols() {
  if (FMouseActions->DisjunctColSelect()) {
    for (int c = ColCount() - 1; c >= FixedCols(); --c)
      if (!ColMarked(c)) {
        RemoveCols(RealColIndex(c), 1);
        if (c < static_cast<int>(FColSelect.size())) FColSelect.erase(FColSelect.begin() + c);
      }
  } else {
    TGridRect s = Selection();
    const int l = std::min(s.Left, s.Right), r = std::max(s.Left, s.Right);
    if (r + 1 < ColCount()) RemoveCols(RealColIndex(r + 1), TotalColCount() - RealColIndex(r + 1));
    if (l > FixedCols()) RemoveCols(RealColIndex(FixedCols()), RealColIndex(l) - RealColIndex(FixedCols()));
  }
  ClearColSelect();
}

void DEreDuzeroVaro::HideSelectedRows() {
  TUpdateScope lock(this);
  // From the bottom up, so that the display rows above keep their index.
  for (int r = RowCount() - 1; r >= TCustomGrid::FixedRows(); --r)
    if (RowIsSelected(r)) HideRows(RealRowIndex(r), RealRowIndex(r));
}

void DEreDuzeroVaro::HideUnSelectedRows() {
  TUpdateScope lock(this);
  for (int r = TCustomGrid::FixedRows(); r < RowCount();) {
    const int before = RowCount();
    if (!RowIsSelected(r)) HideRows(RealRowIndex(r), RealRowIndex(r));
    if (RowCount() == before) ++r;  // hidden rows leave the index to the next row
  }
}
