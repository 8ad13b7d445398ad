// DEreDuzeroVaro: removing, inserting and appending rows and columns. Every change keeps what
// runs parallel to the rows and columns aligned with them: the stored hidden rows (their real
// indexes and, for columns, their cells), the embedded cell controls, the modified, enabled
// and row-select lists, and the hidden-column flags and widths.
//
// Rows are removed as a set in one pass: a few runs as blocks of the store (each moves the
// stored rows behind it), many runs by moving the remaining rows up over the removed ones once.
// So removing thousands of scattered rows costs about one pass over the grid.

#include <algorithm>
#include <vector>

#include "grid/AdvGrid.h"
#include "platform/rtl/ScopeGuard.h"

namespace {

// Up to this many runs of removed rows go as blocks.
constexpr size_t MaxBlockRuns = 64;
// Columns 0 to 511 carry a visibility flag.
constexpr int HideableCols = 512;

// How many of the ascending values lie below V.
int CountBelow(const std::vector<int>& Sorted, int V) {
  return static_cast<int>(std::lower_bound(Sorted.begin(), Sorted.end(), V) - Sorted.begin());
}

bool Contains(const std::vector<int>& Sorted, int V) { return std::binary_search(Sorted.begin(), Sorted.end(), V); }

// Drops the entries at the ascending positions from a list of integers in one pass.
void EraseAt(TIntList* List, const std::vector<int>& Positions) {
  if (List->Count() == 0 || Positions.empty() || Positions.front() >= List->Count()) return;
  std::vector<int> kept;
  kept.reserve(List->Count());
  for (int i = 0; i < List->Count(); ++i)
    if (!Contains(Positions, i)) kept.push_back(List->Items(i));
  List->Clear();
  for (int v : kept) List->Add(v);
}

void EraseAt(std::vector<bool>& Flags, const std::vector<int>& Positions) {
  if (Flags.empty() || Positions.empty() || Positions.front() >= static_cast<int>(Flags.size())) return;
  size_t to = 0;
  for (size_t i = 0; i < Flags.size(); ++i)
    if (!Contains(Positions, static_cast<int>(i))) Flags[to++] = Flags[i];
  Flags.resize(to);
}

// Inserts Count entries of Value at Index when the list reaches that far.
void InsertAt(TIntList* List, int Index, int Count, int Value) {
  if (Index < 0 || Index >= List->Count()) return;
  for (int i = 0; i < Count; ++i) List->Insert(Index, Value);
}

}  // namespace

// ===========================================================================
// The core of every row removal

std::vector<int> DEreDuzeroVaro::RealRowsOf(const std::vector<int>& DisplRows) {
  const TGridItems& hidden = HiddenRows();  // ascending real index
  std::vector<int> real;
  real.reserve(DisplRows.size());
  size_t k = 0;
  for (int d : DisplRows) {
    int r = d + static_cast<int>(k);
    while (k < hidden.size() && hidden[k].Idx() <= r) {
      ++k;
      ++r;
    }
    real.push_back(r);
  }
  return real;
}

void DEreDuzeroVaro::RemoveDisplRows(const std::vector<int>& Rows, bool FreeProps, bool MoveHeights) {
  if (Rows.empty()) return;
  const std::vector<int> real = RealRowsOf(Rows);

  // The controls of removed rows are hidden and leave the list; the others follow their rows.
  for (int i = FControlList->Count() - 1; i >= 0; --i) {
    TControlItem* item = FControlList->Control(i);
    if (Contains(real, item->Y())) {
      if (item->Control() != nullptr) item->Control()->SetVisible(false);
      FControlList->RemoveControl(i);
    } else {
      item->SetY(item->Y() - CountBelow(real, item->Y()));
    }
  }
  // Hidden rows keep their place among the remaining rows.
  for (TGridItem& h : HiddenRows()) h.SetIdx(h.Idx() - CountBelow(real, h.Idx()));
  // The row lists: modified and enabled by display row, marks by display or real row.
  EraseAt(FModifiedRows.get(), Rows);
  EraseAt(FEnabledRows.get(), Rows);
  EraseAt(FRowSelect, FMouseActions->RowSelectPersistent() ? real : Rows);
  if (FMouseActions->DisjunctRowSelect() || FSelectedRows->Count() > 0) {
    FSelectedRows->Clear();
    for (int r = 0; r < static_cast<int>(FRowSelect.size()); ++r)
      if (FRowSelect[r]) FSelectedRows->Add(r);
  }

  if (FreeProps) {
    for (size_t i = 0; i < Rows.size();) {
      size_t j = i + 1;
      while (j < Rows.size() && Rows[j] == Rows[j - 1] + 1) ++j;
      FreeCellPropertiesRect(0, Rows[i], TotalColCount() - 1, Rows[j - 1]);
      i = j;
    }
  }

  // The stored rows: the removed ones go, the later ones move up.
  std::vector<int> heights;
  if (!MoveHeights) {
    heights.reserve(RowCount());
    for (int r = 0; r < RowCount(); ++r) heights.push_back(RowHeights(r));
  }
  std::vector<std::pair<int, int>> runs;  // first row, length
  for (int r : Rows) {
    if (!runs.empty() && runs.back().first + runs.back().second == r) ++runs.back().second;
    else runs.emplace_back(r, 1);
  }
  if (runs.size() <= MaxBlockRuns) {
    for (auto it = runs.rbegin(); it != runs.rend(); ++it) DeleteRowsAt(it->first, it->second);
  } else {
    // The cells of the removed rows are dropped first, so that no moved row finds them.
    for (int r : Rows) ResetRow(r);
    int to = Rows.front();
    size_t k = 0;
    for (int from = Rows.front(); from < RowCount(); ++from) {
      if (k < Rows.size() && Rows[k] == from) {
        ++k;
        continue;
      }
      CopyDisplRow(from, to++);
    }
    DeleteRowsAt(RowCount() - static_cast<int>(Rows.size()), static_cast<int>(Rows.size()));
  }
  if (!MoveHeights)
    for (int r = 0; r < RowCount(); ++r) SetRowHeights(r, heights[r]);
  FMaxRowCount = std::max(RowCount(), FMaxRowCount - static_cast<int>(Rows.size()));
  RowsChanged();
  if (FControlList->Count() > 0) CellControlsUpdate(false);
}

std::vector<int> DEreDuzeroVaro::RowRange(int RowIndex, int& RCount) {
  std::vector<int> rows;
  if (RowIndex < 0 || RowIndex >= RowCount() || RCount <= 0) {
    RCount = 0;
    return rows;
  }
  RCount = std::min(RCount, RowCount() - RowIndex);
  // The grid keeps one row at least.
  if (RCount >= RowCount()) RCount = RowCount() - 1;
  for (int r = RowIndex; r < RowIndex + RCount; ++r) rows.push_back(r);
  return rows;
}

void DEreDuzeroVaro::RowsRemoved(int OldRow, int OldTop, int OldFixed) {
  // The fixed rows as they were: a grid left with its header rows alone shows no selection,
  // though the class library then counts fewer fixed rows.
  const int fr = OldFixed;
  const int last = RowCount() - FFixedFooters - 1;
  if (OldRow <= last && OldRow >= fr) {
    SetSelection(TGridRect{std::clamp(Col(), FixedCols(), ColCount() - 1), OldRow, std::clamp(Col(), FixedCols(), ColCount() - 1), OldRow});
    if (OldTop >= TCustomGrid::FixedRows() && OldTop < RowCount()) TCustomGrid::SetTopRow(OldTop);
  } else if (fr <= last) {
    const int c = std::clamp(Col(), FixedCols(), ColCount() - 1);
    SetSelection(TGridRect{c, last, c, last});
    FSelectionHidden = false;
  } else {
    HideSelection();
  }
  const int vis = VisibleRowCount(), fixed = TCustomGrid::FixedRows();
  if (RowCount() - vis > 1 && TopRow() >= RowCount() - vis + fixed - 2) SetTopRow(RowCount() - vis + fixed - 2);
}

void DEreDuzeroVaro::RemoveRowList(const std::vector<int>& Rows, bool FreeProps) {
  std::vector<int> rows;
  for (int r : Rows)
    if (r >= 0 && r < RowCount() && (rows.empty() || r > rows.back())) rows.push_back(r);
  if (rows.empty()) return;
  if (static_cast<int>(rows.size()) >= RowCount()) rows.pop_back();  // one row stays
  if (rows.empty()) return;
  {
    TUpdateScope lock(this);
    const int oldRow = Row(), oldTop = TopRow(), oldFixed = TCustomGrid::FixedRows();
    RemoveDisplRows(rows, FreeProps, true);
    RowsRemoved(oldRow, oldTop, oldFixed);
  }
  CellsChanged(TRect(0, rows.front(), ColCount() - 1, rows.back() + 1));
}

// ===========================================================================
// Row operations

void DEreDuzeroVaro::RemoveRows(int RowIndex, int RCount) {
  std::vector<int> rows = RowRange(RowIndex, RCount);
  if (rows.empty()) return;
  {
    TUpdateScope lock(this);
    const int oldRow = Row(), oldTop = TopRow(), oldFixed = TCustomGrid::FixedRows();
    RemoveDisplRows(rows, true, true);
    RowsRemoved(oldRow, oldTop, oldFixed);
  }
  CellsChanged(TRect(0, RowIndex, ColCount() - 1, RowIndex + RCount));
}

void DEreDuzeroVaro::RemoveRowsEx(int RowIndex, int RCount) {
  std::vector<int> rows = RowRange(RowIndex, RCount);
  if (rows.empty()) return;
  TUpdateScope lock(this);
  const int oldRow = Row(), oldTop = TopRow();
  // The rows' records are not freed (a caller may have moved them elsewhere); the heights
  // stay with their row positions.
  RemoveDisplRows(rows, false, false);
  if (oldRow < RowCount()) {
    const int c = std::clamp(Col(), FixedCols(), ColCount() - 1);
    SetSelection(TGridRect{c, oldRow, c, oldRow});
    if (oldTop >= TCustomGrid::FixedRows() && oldTop < RowCount()) TCustomGrid::SetTopRow(oldTop);
  } else if (TCustomGrid::FixedRows() < RowCount()) {
    const int fr = TCustomGrid::FixedRows(), c = std::clamp(Col(), FixedCols(), ColCount() - 1);
    SetSelection(TGridRect{c, fr, c, fr});
    TCustomGrid::SetTopRow(fr);
  }
  CellsChanged(TRect(0, RowIndex, ColCount() - 1, RowIndex + RCount));
}

void DEreDuzeroVaro::RemoveRowRange(int ARow, int Count) {
  int n = Count;
  if (RowRange(ARow, n).empty()) return;
  FreeCellPropertiesRect(0, ARow, TotalColCount() - 1, ARow + n - 1);
  DeleteGridRows(ARow, n, true);
}

void DEreDuzeroVaro::DeleteGridRows(int ARow, int Count, bool DropControls) {
  (void)DropControls;  // the controls of removed rows always go: nothing may point at a removed row
  std::vector<int> rows = RowRange(ARow, Count);
  if (rows.empty()) return;
  {
    TUpdateScope lock(this);
    const int oldRow = Row(), oldTop = TopRow(), oldFixed = TCustomGrid::FixedRows();
    RemoveDisplRows(rows, false, true);
    RowsRemoved(oldRow, oldTop, oldFixed);
  }
  CellsChanged(TRect(0, ARow, ColCount() - 1, ARow + Count));
}

void DEreDuzeroVaro::InsertRows(int RowIndex, int RCount, bool UpdateCellControls) {
  if (RCount <= 0 || RowIndex < 0 || RowIndex > RowCount()) return;
  // A shown footer row (fsFixedLastRow) stays last: rows added at the very end go in above it.
  if (RowIndex == RowCount() && RowIndex > 0 && FloatingFooter()->Visible() &&
      FloatingFooter()->FooterStyle() == fsFixedLastRow)
    --RowIndex;
  TUpdateScope lock(this);
  if (FSelectionHidden || Col() >= ColCount() || Row() >= RowCount()) UnHideSelection();
  const int real = RealRowsOf({RowIndex}).front();
  InsertRowsAt(RowIndex, RCount);
  // Hidden rows, controls and the row lists below the insertion move down with their rows.
  for (TGridItem& h : HiddenRows())
    if (h.Idx() >= real) h.SetIdx(h.Idx() + RCount);
  InsertAt(FModifiedRows.get(), RowIndex, RCount, 0);
  InsertAt(FEnabledRows.get(), RowIndex, RCount, 0);
  const int mark = FMouseActions->RowSelectPersistent() ? real : RowIndex;
  if (mark < static_cast<int>(FRowSelect.size())) {
    FRowSelect.insert(FRowSelect.begin() + mark, RCount, false);
    for (int i = 0; i < FSelectedRows->Count(); ++i)
      if (FSelectedRows->Items(i) >= mark) FSelectedRows->SetItems(i, FSelectedRows->Items(i) + RCount);
  }
  if (UpdateCellControls)
    for (int i = 0; i < FControlList->Count(); ++i) {
      TControlItem* item = FControlList->Control(i);
      if (item->Y() >= real) item->SetY(item->Y() + RCount);
    }
  if (UpdateCellControls && FControlList->Count() > 0) CellControlsUpdate(false);
  FMaxRowCount = std::max(FMaxRowCount, RowCount());
  RowsChanged();
  if (!IsDestroying()) CellsChanged(TRect(0, RowIndex, ColCount() - 1, RowIndex + RCount));
}

void DEreDuzeroVaro::AddRow() {
  // A visible footer row (fsFixedLastRow) stays last: the new row goes in above it.
  TFloatingFooter* ff = FloatingFooter();
  if (ff->Visible() && ff->FooterStyle() == fsFixedLastRow) {
    InsertRows(RowCount() - 1, 1);
    ClearRows(RowCount() - 2, 1);
    return;
  }
  InsertRows(RowCount(), 1);
  ClearRows(RowCount() - 1, 1);
}

// ===========================================================================
// Column operations (real column indexes)

void DEreDuzeroVaro::RemoveCols(int ColIndex, int CCount) {
  const int total = TotalColCount();
  if (ColIndex < 0 || ColIndex >= total || CCount <= 0) return;
  CCount = std::min(CCount, total - ColIndex);
  // The shown columns of the range; one shown column stays.
  int shown = 0;
  for (int c = ColIndex; c < ColIndex + CCount; ++c)
    if (!IsHiddenColumn(c)) ++shown;
  if (shown >= ColCount()) {
    // One shown column stays: the range ends before the last shown column it would take.
    shown = 0;
    CCount = 0;
    for (int c = ColIndex; c < total; ++c) {
      if (!IsHiddenColumn(c)) {
        if (shown + 1 >= ColCount()) break;
        ++shown;
      }
      ++CCount;
    }
    if (CCount == 0) return;
  }
  const int last = ColIndex + CCount - 1;
  TUpdateScope lock(this);
  ClearCols(ColIndex, CCount);

  // The display widths of the shown columns that go, then the cells and flags move left.
  std::vector<int> widths;
  for (int d = 0; d < ColCount(); ++d)
    if (RealColIndex(d) < ColIndex || RealColIndex(d) > last) widths.push_back(ColWidths(d));
  int hiddenGone = 0;
  for (int c = ColIndex; c <= last; ++c)
    if (IsHiddenColumn(c)) ++hiddenGone;
  for (int r = 0; r < RowCount(); ++r)
    for (int c = ColIndex; c < total; ++c) {
      const int from = c + CCount;
      String s = from < total ? GridCells(from, r) : String();
      TObject* obj = from < total ? GridObjects(from, r) : nullptr;
      if (!s.empty() || !GridCells(c, r).empty()) SetGridCells(c, r, s);
      if (obj != nullptr || GridObjects(c, r) != nullptr) SetGridObjects(c, r, obj);
    }
  EditHiddenColumns([&](std::vector<TCell>& Cells) {
    const size_t from = static_cast<size_t>(ColIndex), to = std::min(static_cast<size_t>(last) + 1, Cells.size());
    if (from < to) Cells.erase(Cells.begin() + from, Cells.begin() + to);
  });
  for (int c = ColIndex; c < HideableCols; ++c) {
    const int from = c + CCount;
    FVisibleCol[c] = from < HideableCols ? FVisibleCol[from] : true;
    FAllColWidths[c] = from < HideableCols ? FAllColWidths[from] : DefaultColWidth();
  }
  FNumHidden -= hiddenGone;
  for (int i = FControlList->Count() - 1; i >= 0; --i) {
    TControlItem* item = FControlList->Control(i);
    if (item->X() >= ColIndex && item->X() <= last) {
      if (item->Control() != nullptr) item->Control()->SetVisible(false);
      FControlList->RemoveControl(i);
    } else if (item->X() > last) {
      item->SetX(item->X() - CCount);
    }
  }
  SetColCount(static_cast<int>(widths.size()));
  for (int d = 0; d < ColCount(); ++d) SetColWidths(d, widths[d]);
  if (FControlList->Count() > 0) CellControlsUpdate(false);
  Invalidate();
  CellsChanged(TRect(ColIndex, 0, ColIndex + CCount, RowCount() - 1));
}

void DEreDuzeroVaro::InsertCols(int ColIndex, int CCount) {
  const int total = TotalColCount();
  if (CCount <= 0 || ColIndex < 0) return;
  ColIndex = std::min(ColIndex, total);
  // The display column the new ones take: that of the first shown column from ColIndex on.
  TUpdateScope lock(this);
  const int d = ColIndex >= total ? ColCount() : DisplColIndex(ColIndex);
  std::vector<int> widths;
  for (int i = 0; i < ColCount(); ++i) widths.push_back(ColWidths(i));
  widths.insert(widths.begin() + d, CCount, DefaultColWidth());
  for (int r = 0; r < RowCount(); ++r)
    for (int c = total - 1 + CCount; c >= ColIndex; --c) {
      const int from = c - CCount;
      String s = from >= ColIndex ? GridCells(from, r) : String();
      TObject* obj = from >= ColIndex ? GridObjects(from, r) : nullptr;
      if (!s.empty() || !GridCells(c, r).empty()) SetGridCells(c, r, s);
      if (obj != nullptr || GridObjects(c, r) != nullptr) SetGridObjects(c, r, obj);
    }
  EditHiddenColumns([&](std::vector<TCell>& Cells) {
    if (static_cast<size_t>(ColIndex) <= Cells.size()) Cells.insert(Cells.begin() + ColIndex, CCount, TCell());
  });
  for (int c = HideableCols - 1; c >= ColIndex + CCount; --c) {
    FVisibleCol[c] = FVisibleCol[c - CCount];
    FAllColWidths[c] = FAllColWidths[c - CCount];
  }
  for (int c = ColIndex; c < std::min(ColIndex + CCount, HideableCols); ++c) {
    FVisibleCol[c] = true;
    FAllColWidths[c] = DefaultColWidth();
  }
  // Hidden columns pushed past the hideable ones show again.
  int hidden = 0;
  for (int c = 0; c < HideableCols; ++c)
    if (!FVisibleCol[c]) ++hidden;
  widths.insert(widths.end(), FNumHidden - hidden, DefaultColWidth());
  FNumHidden = hidden;
  for (int i = 0; i < FControlList->Count(); ++i) {
    TControlItem* item = FControlList->Control(i);
    if (item->X() >= ColIndex) item->SetX(item->X() + CCount);
  }
  SetColCount(static_cast<int>(widths.size()));
  for (int i = 0; i < ColCount(); ++i) SetColWidths(i, widths[i]);
  if (FControlList->Count() > 0) CellControlsUpdate(false);
  Invalidate();
}

void DEreDuzeroVaro::AddColumn() { InsertCols(TotalColCount(), 1); }
