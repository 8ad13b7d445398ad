// DEreDuzeroVaro: hidden columns and rows, real and display indexes, column and row moves,
// scrolling a cell into view and hiding the selection.
//
// Hidden columns stay in the cell store at their real index; only the display leaves them out.
// Hidden rows are taken out of the display into GridItems. Rows are moved in the store in
// blocks (InsertRowsAt/DeleteRowsAt) or row by row in one pass, never shifted one at a time,
// so that hiding and showing many rows costs one pass over the grid. A row's copy takes every
// stored column, hidden ones included, so no temporary widening of the grid is needed.

#include <algorithm>
#include <functional>
#include <vector>

#include "grid/AdvGrid.h"
#include "platform/rtl/ScopeGuard.h"

namespace {

// Columns 0 to 511 can be hidden; FVisibleCol has one more flag that always stays set.
constexpr int MaxHideableCol = 511;
// Up to this many runs of rows are inserted or removed as blocks (each moves the stored rows
// behind it); more runs are moved row by row in one pass over the grid.
constexpr size_t MaxBlockRuns = 64;

}  // namespace

// ===========================================================================
// Index mapping

int DEreDuzeroVaro::RealColIndex(int ACol) {
  if (FNumHidden == 0 || ACol >= MaxHideableCol + 1 || ACol < 0) return ACol;
  int shown = -1;
  for (int c = 0; c <= MaxHideableCol; ++c)
    if (FVisibleCol[c] && ++shown == ACol) return c;
  // The column lies past the hideable ones, where every column shows.
  return MaxHideableCol + (ACol - shown);
}

int DEreDuzeroVaro::DisplColIndex(int ACol) {
  if (FNumHidden == 0 || ACol > MaxHideableCol || ACol < 0) return ACol;
  int hidden = 0;
  for (int c = 0; c < ACol; ++c)
    if (!FVisibleCol[c]) ++hidden;
  return ACol - hidden;
}

int DEreDuzeroVaro::RealRowIndex(int ARow) {
  if (NumHiddenRows() == 0) return ARow;
  std::vector<int> hidden;
  hidden.reserve(NumHiddenRows());
  for (int i = 0; i < FGridItems->Count(); ++i) hidden.push_back(static_cast<TGridItem*>(FGridItems->Items(i))->Idx());
  std::sort(hidden.begin(), hidden.end());
  hidden.erase(std::unique(hidden.begin(), hidden.end()), hidden.end());
  // Each hidden index at or below the candidate pushes it one further.
  int r = ARow;
  for (int h : hidden) {
    if (h <= r) ++r;
    else break;
  }
  return r;
}

int DEreDuzeroVaro::DisplRowIndex(int ARow) {
  int below = 0;
  for (int i = 0; i < FGridItems->Count(); ++i)
    if (static_cast<TGridItem*>(FGridItems->Items(i))->Idx() < ARow) ++below;
  return ARow - below;
}

bool DEreDuzeroVaro::IsHiddenColumn(int Colindex) const {
  if (Colindex < 0 || Colindex > MaxHideableCol) return false;
  return !FVisibleCol[Colindex];
}

bool DEreDuzeroVaro::IsHiddenRow(int Rowindex) {
  for (int i = 0; i < FGridItems->Count(); ++i)
    if (static_cast<TGridItem*>(FGridItems->Items(i))->Idx() == Rowindex) return true;
  return false;
}

bool DEreDuzeroVaro::IsHiddenRow(int Rowindex, std::unique_ptr<TIntList>& ListHidden) {
  if (!ListHidden) {
    ListHidden = std::make_unique<TIntList>(-1, -1);
    for (int i = 0; i < FGridItems->Count(); ++i) ListHidden->Add(static_cast<TGridItem*>(FGridItems->Items(i))->Idx());
  }
  return ListHidden->HasValue(Rowindex);
}

// ===========================================================================
// Columns

void DEreDuzeroVaro::HideColumns(int FromCol, int ToCol) {
  SetEditorMode(false);
  for (int c = std::max(FromCol, 0); c <= std::min(ToCol, MaxHideableCol); ++c) {
    if (!FVisibleCol[c] || c >= ColCount() + FNumHidden || ColCount() <= 1) continue;
    const int d = DisplColIndex(c);
    FAllColWidths[c] = ColWidths(d);
    for (int i = d; i < ColCount() - 1; ++i) SetColWidths(i, ColWidths(i + 1));
    ++FNumHidden;
    FVisibleCol[c] = false;
    if (Col() == ColCount() - 1 && Col() - 1 >= FixedCols()) SetCol(Col() - 1);
    SetColCount(ColCount() - 1);
  }
  Invalidate();
}

void DEreDuzeroVaro::UnHideColumns(int FromCol, int ToCol) {
  SetEditorMode(false);
  for (int c = std::max(FromCol, 0); c <= std::min(ToCol, MaxHideableCol); ++c) {
    if (FVisibleCol[c]) continue;
    --FNumHidden;
    FVisibleCol[c] = true;
    SetColCount(ColCount() + 1);
    const int d = DisplColIndex(c);
    for (int i = ColCount() - 1; i > d; --i) SetColWidths(i, ColWidths(i - 1));
    SetColWidths(d, FAllColWidths[c]);
  }
  Invalidate();
}

// ===========================================================================
// Rows: the moves of one row's content

TGridItem* DEreDuzeroVaro::StoreRow(int Index, int DisplRow, int RealIdx, bool KeepHeight) {
  auto* item = static_cast<TGridItem*>(Index < 0 || Index >= FGridItems->Count() ? FGridItems->Add()
                                                                                  : FGridItems->Insert(Index));
  item->SetIdx(RealIdx);
  if (KeepHeight) item->SetHeight(RowHeights(DisplRow));
  TStringList* cells = item->Items();
  const int n = TotalColCount();
  cells->SetCapacity(n);
  for (int c = 0; c < n; ++c) cells->AddObject(GridCells(c, DisplRow), GridObjects(c, DisplRow));
  ShowRowControls(DisplRow, false);
  return item;
}

void DEreDuzeroVaro::RestoreRow(TGridItem* Item, int DisplRow) {
  TStringList* cells = Item->Items();
  for (int c = 0; c < cells->Count(); ++c) {
    const String& s = cells->Strings(c);
    TObject* obj = cells->Objects(c);
    if (!s.empty() || !GridCells(c, DisplRow).empty()) SetGridCells(c, DisplRow, s);
    if (obj != nullptr || GridObjects(c, DisplRow) != nullptr) SetGridObjects(c, DisplRow, obj);
  }
  SetRowHeights(DisplRow, Item->Height());
  ShowRowControls(DisplRow, true);
}

void DEreDuzeroVaro::CopyDisplRow(int From, int To) {
  const int n = TotalColCount();
  for (int c = 0; c < n; ++c) {
    String s = GridCells(c, From);
    TObject* obj = GridObjects(c, From);
    if (!s.empty() || !GridCells(c, To).empty()) SetGridCells(c, To, s);
    if (obj != nullptr || GridObjects(c, To) != nullptr) SetGridObjects(c, To, obj);
    // The source is vacated, so that the row that lands there later finds it empty.
    if (!s.empty()) SetGridCells(c, From, String());
    if (obj != nullptr) SetGridObjects(c, From, nullptr);
  }
  SetRowHeights(To, RowHeights(From));
}

void DEreDuzeroVaro::ShowRowControls(int DisplRow, bool Visible) {
  const int n = TotalColCount();
  for (int c = 0; c < n; ++c) {
    auto* props = dynamic_cast<TCellProperties*>(GridObjects(c, DisplRow));
    if (props != nullptr && props->Control() != nullptr) props->Control()->SetVisible(Visible);
  }
}

namespace {

// The items taken, sorted by Idx (stable, so equal indexes keep their collection order),
// with their positions in the collection.
struct TTakenItems {
  std::vector<TGridItem*> Items;
  std::vector<int> Positions;
};

TTakenItems TakeItems(TCollection* Items, const std::function<bool(TGridItem*)>& Take) {
  TTakenItems t;
  for (int i = 0; i < Items->Count(); ++i) {
    auto* item = static_cast<TGridItem*>(Items->Items(i));
    if (!Take(item)) continue;
    t.Items.push_back(item);
    t.Positions.push_back(i);
  }
  std::stable_sort(t.Items.begin(), t.Items.end(), [](TGridItem* a, TGridItem* b) { return a->Idx() < b->Idx(); });
  return t;
}

// Frees the taken items from the end of the collection backwards, where taking one out is cheap.
void DeleteItems(TCollection* Items, TTakenItems& Taken) {
  std::sort(Taken.Positions.rbegin(), Taken.Positions.rend());
  Items->BeginUpdate();
  TScopeGuard end([Items] { Items->EndUpdate(); });
  for (int i : Taken.Positions) Items->Delete(i);
  Taken.Items.clear();
}

}  // namespace

// ===========================================================================
// Rows: hiding

void DEreDuzeroVaro::HideRows(int FromRow, int ToRow) {
  FromRow = std::max(FromRow, 0);
  ToRow = std::min(ToRow, TotalRowCount() - 1);
  if (FromRow > ToRow) return;
  // The collection position of FromRow and the rows of the range already hidden.
  int pos = 0;
  std::vector<int> already;
  for (int i = 0; i < FGridItems->Count(); ++i) {
    int idx = static_cast<TGridItem*>(FGridItems->Items(i))->Idx();
    if (idx < FromRow) ++pos;
    else if (idx <= ToRow) already.push_back(idx);
  }
  std::sort(already.begin(), already.end());
  already.erase(std::unique(already.begin(), already.end()), already.end());
  const int shown = ToRow - FromRow + 1 - static_cast<int>(already.size());
  if (shown <= 0 || shown >= RowCount()) return;  // nothing to hide, or no row would be left
  const int D = FromRow - pos;
  FGridItems->BeginUpdate();
  {
    TScopeGuard end([this] { FGridItems->EndUpdate(); });
    // Ascending order is kept: the position also steps over the rows hidden before.
    int disp = D;
    size_t k = 0;
    for (int r = FromRow; r <= ToRow; ++r) {
      if (k < already.size() && already[k] == r) {
        ++k;
        ++pos;
        continue;
      }
      StoreRow(pos++, disp++, r, true);
    }
  }
  DeleteRowsAt(D, shown);
  RowsChanged();
}

void DEreDuzeroVaro::HideRowsEx(int FromRow, int ToRow) {
  if (FromRow < 0 || FromRow > ToRow || IsHiddenRow(FromRow)) return;
  const int D = DisplRowIndex(FromRow);
  if (D >= RowCount()) return;
  ToRow = std::min(ToRow, FromRow + (RowCount() - 1 - D));
  const int count = ToRow - FromRow + 1;
  if (count >= RowCount()) return;  // no row would be left
  FGridItems->BeginUpdate();
  {
    TScopeGuard end([this] { FGridItems->EndUpdate(); });
    // The heights are kept too, so that a row shown again is not restored at height 0.
    for (int r = FromRow; r <= ToRow; ++r) StoreRow(-1, D + (r - FromRow), r, true);
  }
  DeleteRowsAt(D, count);
  RowsChanged();
}

void DEreDuzeroVaro::HideRowList(TIntList* RowList) {
  if (RowList == nullptr) return;
  // Only ascending display rows inside the grid count.
  std::vector<int> rows;
  for (int i = 0; i < RowList->Count(); ++i) {
    int r = RowList->Items(i);
    if (r >= 0 && r < RowCount() && (rows.empty() || r > rows.back())) rows.push_back(r);
  }
  if (rows.empty() || static_cast<int>(rows.size()) >= RowCount()) return;
  FGridItems->BeginUpdate();
  {
    TScopeGuard end([this] { FGridItems->EndUpdate(); });
    for (int r : rows) StoreRow(-1, r, r, true)->SetLevel(FFilterLevel);
  }
  ++FFilterLevel;
  // A few runs go as blocks from the bottom up, so that a long grid moves only its stored rows.
  std::vector<std::pair<int, int>> runs;  // first row, length
  for (int r : rows) {
    if (!runs.empty() && runs.back().first + runs.back().second == r) ++runs.back().second;
    else runs.emplace_back(r, 1);
  }
  if (runs.size() <= MaxBlockRuns) {
    for (auto it = runs.rbegin(); it != runs.rend(); ++it) DeleteRowsAt(it->first, it->second);
    RowsChanged();
    return;
  }
  // Otherwise the other rows move up over the listed ones in one pass; the vacated rows at
  // the bottom go.
  int to = rows.front();
  size_t k = 0;
  for (int from = rows.front(); from < RowCount(); ++from) {
    if (k < rows.size() && rows[k] == from) {
      ++k;
      continue;
    }
    CopyDisplRow(from, to++);
  }
  DeleteRowsAt(RowCount() - static_cast<int>(rows.size()), static_cast<int>(rows.size()));
  RowsChanged();
}

// ===========================================================================
// Rows: showing

void DEreDuzeroVaro::UnHideRow(int Rowindex) {
  UnHideRows(Rowindex, Rowindex);
}

void DEreDuzeroVaro::UnHideRows(int FromRow, int ToRow) {
  if (!IsHiddenRow(FromRow)) return;
  const bool modified = FShowModified->Enabled();
  FShowModified->SetEnabled(false);
  TScopeGuard restore([this, modified] { FShowModified->SetEnabled(modified); });
  TTakenItems taken =
      TakeItems(FGridItems.get(), [&](TGridItem* item) { return item->Idx() >= FromRow && item->Idx() <= ToRow; });
  const std::vector<TGridItem*>& items = taken.Items;
  const int base = FromRow - DisplRowIndex(FromRow);  // hidden rows below the range: they stay
  // Each run of consecutive rows goes back as one block at its own display position, so that
  // shown rows between hidden ones keep their place.
  for (size_t i = 0; i < items.size();) {
    size_t j = i + 1;
    while (j < items.size() && items[j]->Idx() == items[j - 1]->Idx() + 1) ++j;
    const int d = std::min(items[i]->Idx() - base, RowCount());
    InsertRowsAt(d, static_cast<int>(j - i));
    for (size_t k = i; k < j; ++k) RestoreRow(items[k], d + static_cast<int>(k - i));
    i = j;
  }
  DeleteItems(FGridItems.get(), taken);
  RowsChanged();
}

void DEreDuzeroVaro::RestoreItems(const std::vector<TGridItem*>& Items) {
  const int n = static_cast<int>(Items.size());
  if (n == 0) return;
  // A few runs of distinct rows go back as blocks, so that a long grid moves only its stored rows.
  size_t runs = 1;
  bool distinct = true;
  for (int i = 1; i < n; ++i) {
    if (Items[i]->Idx() == Items[i - 1]->Idx()) distinct = false;
    else if (Items[i]->Idx() != Items[i - 1]->Idx() + 1) ++runs;
  }
  if (distinct && runs <= MaxBlockRuns) {
    for (int i = 0; i < n;) {
      int j = i + 1;
      while (j < n && Items[j]->Idx() == Items[j - 1]->Idx() + 1) ++j;
      const int d = std::clamp(Items[i]->Idx(), 0, RowCount());
      InsertRowsAt(d, j - i);
      for (int k = i; k < j; ++k) RestoreRow(Items[k], d + (k - i));
      i = j;
    }
    return;
  }
  const int old = RowCount();
  InsertRowsAt(old, n);
  // From the new bottom upwards each slot takes the item meant for it or the next shown row;
  // once every item is placed the rows above are already where they belong.
  int src = old - 1, k = n - 1;
  for (int t = old + n - 1; t >= 0 && k >= 0; --t) {
    if (src < 0 || Items[k]->Idx() >= t) {
      RestoreRow(Items[k--], t);
    } else {
      if (src != t) CopyDisplRow(src, t);
      --src;
    }
  }
}

void DEreDuzeroVaro::UnHideRowsAll() {
  if (NumHiddenRows() == 0) return;
  const bool modified = FShowModified->Enabled();
  FShowModified->SetEnabled(false);
  TScopeGuard restore([this, modified] { FShowModified->SetEnabled(modified); });
  RestoreItems(TakeItems(FGridItems.get(), [](TGridItem*) { return true; }).Items);
  FGridItems->Clear();
  RowsChanged();
}

void DEreDuzeroVaro::UnHideRowList() {
  const int level = FFilterLevel - 1;
  TTakenItems taken = TakeItems(FGridItems.get(), [level](TGridItem* item) { return item->Level() == level; });
  RestoreItems(taken.Items);
  if (FFilterLevel < 2) FGridItems->Clear();
  else DeleteItems(FGridItems.get(), taken);
  RowsChanged();
}

void DEreDuzeroVaro::RowsChanged() {
  if (FFixedRowAlways && TCustomGrid::FixedRows() < FFixedRowsMin && FFixedRowsMin < RowCount())
    TBaseGrid::SetFixedRows(FFixedRowsMin);
  SetNormalRowCount(RowCount());
  Invalidate();
}

// ===========================================================================
// Moving columns and rows

void DEreDuzeroVaro::MoveColumn(int FromIndex, int ToIndex) {
  if (FColumnOrder->Count() == 0) SetColumnOrder();
  TCustomGrid::MoveColumn(FromIndex, ToIndex);
  for (int i = 0; i < FControlList->Count(); ++i) {
    TControlItem* item = FControlList->Control(i);
    int x = item->X();
    if (x == FromIndex) x = ToIndex;
    else if (ToIndex < FromIndex && x >= ToIndex && x < FromIndex) ++x;
    else if (ToIndex > FromIndex && x > FromIndex && x <= ToIndex) --x;
    item->SetX(x);
  }
}

void DEreDuzeroVaro::MoveRow(int FromIndex, int ToIndex) {
  TCustomGrid::MoveRow(FromIndex, ToIndex);
  for (int i = 0; i < FControlList->Count(); ++i) {
    TControlItem* item = FControlList->Control(i);
    int y = item->Y();
    if (y == FromIndex) y = ToIndex;
    else if (ToIndex < FromIndex && y >= ToIndex && y < FromIndex) ++y;
    else if (ToIndex > FromIndex && y > FromIndex && y <= ToIndex) --y;
    item->SetY(y);
  }
}

// ===========================================================================
// Scrolling, selection and the current row

void DEreDuzeroVaro::ScrollInView(int ColIndex, int RowIndex) {
  if (ColIndex < 0 || RowIndex < 0 || ColIndex >= ColCount() || RowIndex >= RowCount()) return;
  int left = LeftCol(), top = TopRow();
  const int visCols = VisibleColCount(), visRows = VisibleRowCount();
  if (ColIndex < LeftCol() || ColIndex > LeftCol() + visCols - 1) {
    if (ColIndex >= FixedCols()) SetCol(ColIndex);
    left = std::max(ColIndex - visCols / 2, FixedCols());
  }
  if (RowIndex < TopRow() || RowIndex > TopRow() + visRows - 1) {
    if (RowIndex >= TCustomGrid::FixedRows()) TCustomGrid::SetRow(RowIndex);
    top = std::max(RowIndex - visRows / 2, TCustomGrid::FixedRows());
  }
  left = std::min(left, ColCount() - visCols + 1);
  if (visCols < ColCount() - FixedCols()) SetLeftCol(std::max(left, FixedCols()));
  top = std::min(top, RowCount() - visRows + 1);
  if (visRows < RowCount() - TCustomGrid::FixedRows()) TCustomGrid::SetTopRow(std::max(top, TCustomGrid::FixedRows()));
}

void DEreDuzeroVaro::HideSelection() {
  FOldSelection = Selection();
  SetSelection(TGridRect{ColCount(), RowCount(), ColCount(), RowCount()});
  FSelectionHidden = true;
}

void DEreDuzeroVaro::UnHideSelection() {
  FSelectionHidden = false;
  if (FOldSelection.Top < RowCount() && FOldSelection.Left < ColCount()) {
    SetSelection(FOldSelection);
    return;
  }
  const int fr = TCustomGrid::FixedRows(), fc = FixedCols();
  const int r = FFixedRowAlways && fr >= RowCount() ? 0 : fr;
  const int c = FFixedColAlways && fc >= ColCount() ? 0 : fc;
  SetSelection(TGridRect{c, r, c, r});
}

void DEreDuzeroVaro::SetRow(int Value) {
  if (Col() < 0 || Col() >= ColCount()) MoveColRow(FixedCols(), Value, true, true);
  TCustomGrid::SetRow(Value);
  if (Value != FLastReportedRow && OnRowUpdate) {
    OnRowUpdate(this, FLastReportedRow, Value);
    FLastReportedRow = Value;
  }
  TStringGrid* sync = FSyncGrid->Grid();
  if (sync != nullptr && FSyncGrid->SelectionRow() && Value >= sync->FixedRows() && Value < sync->RowCount())
    sync->SetRow(Value);
}

void DEreDuzeroVaro::SetTopRow(int Value) {
  if (Value >= TCustomGrid::FixedRows() && Value <= RowCount() - 1) TCustomGrid::SetTopRow(Value);
}

void DEreDuzeroVaro::FocusCell(int ACol, int ARow) { SetSelection(TGridRect{ACol, ARow, ACol, ARow}); }

TGridRect DEreDuzeroVaro::UsedCells() {
  TGridRect r{ColCount(), RowCount(), -1, -1};
  for (int row = 0; row < RowCount(); ++row)
    for (int col = 0; col < ColCount(); ++col) {
      if (Cells(col, row).empty()) continue;
      r.Left = std::min(r.Left, col);
      r.Top = std::min(r.Top, row);
      r.Right = std::max(r.Right, col);
      r.Bottom = std::max(r.Bottom, row);
    }
  return r.Right < 0 ? TGridRect{} : r;
}

void DEreDuzeroVaro::ScreenToCell(TPoint pt, int& ACol, int& ARow) {
  TPoint p = ScreenToClient(pt);
  MouseToCell(p.X, p.Y, ACol, ARow);
}

bool DEreDuzeroVaro::IsOnSizingBorder(int X, int Y) {
  int c = -1, r = -1;
  MouseToCell(X, Y, c, r);
  if (c < 0 || r < 0) return false;
  TRect rc = TCustomGrid::CellRect(c, r);
  const TGridOptions opts = Options();
  if (r <= TCustomGrid::FixedRows() && opts.Contains(goColSizing) && (X - rc.Left < 4 || rc.Right - X < 4)) return true;
  return c <= FixedCols() && opts.Contains(goRowSizing) && (Y - rc.Top < 4 || rc.Bottom - Y < 4);
}
