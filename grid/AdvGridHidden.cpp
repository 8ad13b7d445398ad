// DEreDuzeroVaro: hidden columns and rows, real and display indexes, column and row moves,
// scrolling a cell into view and hiding the selection.
//
// Hidden columns stay in the cell store at their real index; only the display leaves them out.
// Hidden rows are taken out of the display into GridItems, kept in ascending real index.
// Rows are moved in the cell store in a few blocks (InsertRowsAt/DeleteRowsAt) or by one
// permutation (PermuteRows), never shifted one at a time, so that hiding and showing many
// rows costs one pass over the grid. A row's copy takes every stored column, hidden ones
// included, so no temporary widening of the grid is needed.

#include <algorithm>
#include <functional>
#include <vector>

#include "grid/AdvGrid.h"
#include "platform/rtl/ScopeGuard.h"

namespace {

// Columns 0 to 511 can be hidden; FVisibleCol has one more flag that always stays set.
constexpr int MaxHideableCol = 511;

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

int DEreDuzeroVaro::HiddenLowerBound(int RealRow) const {
  int lo = 0, hi = FGridItems->Count();
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (HiddenItem(mid)->Idx() < RealRow) lo = mid + 1;
    else hi = mid;
  }
  return lo;
}

int DEreDuzeroVaro::RealRowIndex(int ARow) {
  // Item i of the store (ascending real indexes h) lies before display row ARow exactly when
  // h - i <= ARow, and h - i never decreases along the store: the real row is ARow plus the
  // number of such items.
  int lo = 0, hi = FGridItems->Count();
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (HiddenItem(mid)->Idx() - mid <= ARow) lo = mid + 1;
    else hi = mid;
  }
  return ARow + lo;
}

int DEreDuzeroVaro::DisplRowIndex(int ARow) { return ARow - HiddenLowerBound(ARow); }

bool DEreDuzeroVaro::IsHiddenColumn(int Colindex) const {
  if (Colindex < 0 || Colindex > MaxHideableCol) return false;
  return !FVisibleCol[Colindex];
}

bool DEreDuzeroVaro::IsHiddenRow(int Rowindex) { return HiddenItemOf(Rowindex) != nullptr; }

TGridItem* DEreDuzeroVaro::HiddenItemOf(int RealRow) const {
  const int i = HiddenLowerBound(RealRow);
  return i < FGridItems->Count() && HiddenItem(i)->Idx() == RealRow ? HiddenItem(i) : nullptr;
}

TStringList* DEreDuzeroVaro::HiddenRowItems(int RealRow) {
  TGridItem* item = HiddenItemOf(RealRow);
  return item != nullptr ? item->Items() : nullptr;
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
// Rows: the store
//
// The store keeps its items in ascending real index, each real row at most once, so that the
// index mappings are binary searches and rows are hidden and shown in one pass: the rows to
// hide are gathered at the bottom of the grid by one permutation and taken off there, the
// rows to show are put at the bottom and permuted into their places.

TGridItem* DEreDuzeroVaro::StoreRow(int DisplRow, int RealIdx, int Level) {
  auto* item = new TGridItem(nullptr);
  item->SetIdx(RealIdx);
  item->SetHeight(RowHeights(DisplRow));
  item->SetLevel(Level);
  TStringList* cells = item->Items();
  const int n = TotalColCount();
  cells->SetCapacity(n);
  for (int c = 0; c < n; ++c) {
    TObject* obj = GridObjects(c, DisplRow);
    cells->AddObject(GridCells(c, DisplRow), obj);
    // The controls embedded in the row's cells leave with it.
    if (obj != nullptr)
      if (auto* props = dynamic_cast<TCellProperties*>(obj); props != nullptr && props->Control() != nullptr)
        props->Control()->SetVisible(false);
  }
  return item;
}

void DEreDuzeroVaro::RestoreRow(TGridItem* Item, int DisplRow) {
  TStringList* cells = Item->Items();
  for (int c = 0; c < cells->Count(); ++c) {
    TObject* obj = cells->Objects(c);
    const String s = cells->Strings(c);
    if (!s.empty()) SetGridCells(c, DisplRow, s);
    if (obj == nullptr) continue;
    SetGridObjects(c, DisplRow, obj);
    if (auto* props = dynamic_cast<TCellProperties*>(obj); props != nullptr && props->Control() != nullptr)
      props->Control()->SetVisible(true);
  }
  SetRowHeights(DisplRow, Item->Height());
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

namespace {

// Items of a store that are merged or taken out one by one at most this many at a time;
// more go through one rebuild of the store's tail.
constexpr size_t MaxSingleItems = 16;

// Runs of consecutive values in an ascending list: (first value, length).
std::vector<std::pair<int, int>> Runs(const std::vector<int>& Values) {
  std::vector<std::pair<int, int>> runs;
  for (int v : Values) {
    if (!runs.empty() && runs.back().first + runs.back().second == v) ++runs.back().second;
    else runs.emplace_back(v, 1);
  }
  return runs;
}

// Whether runs of rows are cheaper inserted or removed as blocks (each moves the stored rows
// behind it) than moved in one pass over the grid from the first run on: a few blocks keep
// the current row on its row, as a single block move does.
bool BlocksPay(const std::vector<std::pair<int, int>>& Runs, int RowCount) {
  if (Runs.size() > 64) return false;
  long long moved = 0;
  for (const auto& run : Runs) moved += RowCount - run.first;
  return moved <= 4LL * (RowCount - Runs.front().first) + 1024;
}

}  // namespace

std::vector<TGridItem*> DEreDuzeroVaro::TakeItemsFrom(int Index) {
  std::vector<TGridItem*> tail;
  tail.reserve(static_cast<size_t>(std::max(FGridItems->Count() - Index, 0)));
  for (int i = FGridItems->Count() - 1; i >= Index; --i) {
    TGridItem* item = HiddenItem(i);
    item->SetCollection(nullptr);  // taken from the end: no shifting
    tail.push_back(item);
  }
  std::reverse(tail.begin(), tail.end());
  return tail;
}

void DEreDuzeroVaro::AddItems(const std::vector<TGridItem*>& Items) {
  if (Items.empty()) return;
  FGridItems->BeginUpdate();
  TScopeGuard end([this] { FGridItems->EndUpdate(); });
  const int count = FGridItems->Count();
  if (count == 0 || HiddenItem(count - 1)->Idx() < Items.front()->Idx()) {
    for (TGridItem* item : Items) item->SetCollection(FGridItems.get());
    return;
  }
  if (Items.size() <= MaxSingleItems) {
    for (TGridItem* item : Items) {
      const int pos = HiddenLowerBound(item->Idx());
      item->SetCollection(FGridItems.get());
      item->SetIndex(pos);
    }
    return;
  }
  const std::vector<TGridItem*> tail = TakeItemsFrom(HiddenLowerBound(Items.front()->Idx()));
  size_t a = 0, b = 0;
  while (a < tail.size() || b < Items.size()) {
    const bool fromTail = b == Items.size() || (a < tail.size() && tail[a]->Idx() < Items[b]->Idx());
    (fromTail ? tail[a++] : Items[b++])->SetCollection(FGridItems.get());
  }
}

std::vector<TGridItem*> DEreDuzeroVaro::TakeItems(const std::vector<int>& Positions) {
  std::vector<TGridItem*> taken;
  if (Positions.empty()) return taken;
  FGridItems->BeginUpdate();
  TScopeGuard end([this] { FGridItems->EndUpdate(); });
  taken.reserve(Positions.size());
  if (Positions.size() <= MaxSingleItems) {
    for (int p : Positions) taken.push_back(HiddenItem(p));
    for (TGridItem* item : taken) item->SetCollection(nullptr);
    return taken;
  }
  const int first = Positions.front();
  const std::vector<TGridItem*> tail = TakeItemsFrom(first);
  size_t k = 0;
  for (size_t i = 0; i < tail.size(); ++i) {
    if (k < Positions.size() && Positions[k] == first + static_cast<int>(i)) {
      taken.push_back(tail[i]);
      ++k;
    } else {
      tail[i]->SetCollection(FGridItems.get());
    }
  }
  return taken;
}

// ===========================================================================
// Rows: hiding

void DEreDuzeroVaro::HideDisplRows(const std::vector<int>& Rows, int Level) {
  const int n = RowCount(), k = static_cast<int>(Rows.size());
  if (k == 0 || k >= n) return;  // no row would be left
  // The real index of each row, walking the store alongside.
  std::vector<int> real;
  real.reserve(Rows.size());
  const int hidden = FGridItems->Count();
  int h = 0;
  for (int d : Rows) {
    int r = d + h;
    while (h < hidden && HiddenItem(h)->Idx() <= r) {
      ++h;
      ++r;
    }
    real.push_back(r);
  }
  std::vector<TGridItem*> items;
  items.reserve(Rows.size());
  const std::vector<std::pair<int, int>> runs = Runs(Rows);
  if (BlocksPay(runs, n)) {
    for (int j = 0; j < k; ++j) items.push_back(StoreRow(Rows[j], real[j], Level));
    for (auto it = runs.rbegin(); it != runs.rend(); ++it) DeleteRowsAt(it->first, it->second);
  } else if (n - Rows.front() - k < k) {
    // Fewer rows stay than go: the rows are stored where they are and the staying rows copied
    // up over them, then the bottom goes.
    for (int j = 0; j < k; ++j) items.push_back(StoreRow(Rows[j], real[j], Level));
    int to = Rows.front();
    size_t j = 0;
    for (int from = Rows.front(); from < n; ++from) {
      if (j < Rows.size() && Rows[j] == from) ++j;
      else CopyDisplRow(from, to++);
    }
    DeleteRowsAt(n - k, k);
  } else {
    // The other rows move up over the hidden ones and these gather at the bottom, in order.
    std::vector<int> order;
    order.reserve(static_cast<size_t>(n - Rows.front()));
    size_t j = 0;
    for (int r = Rows.front(); r < n; ++r) {
      if (j < Rows.size() && Rows[j] == r) ++j;
      else order.push_back(r);
    }
    order.insert(order.end(), Rows.begin(), Rows.end());
    PermuteRows(Rows.front(), order);
    for (int i = 0; i < k; ++i) items.push_back(StoreRow(n - k + i, real[i], Level));
    DeleteRowsAt(n - k, k);
  }
  AddItems(items);
  RowsChanged();
}

void DEreDuzeroVaro::HideRows(int FromRow, int ToRow) {
  FromRow = std::max(FromRow, 0);
  ToRow = std::min(ToRow, TotalRowCount() - 1);
  if (FromRow > ToRow) return;
  // The shown rows of the range, as display rows.
  std::vector<int> rows;
  int pos = HiddenLowerBound(FromRow);
  const int hidden = FGridItems->Count();
  for (int r = FromRow; r <= ToRow; ++r) {
    if (pos < hidden && HiddenItem(pos)->Idx() == r) ++pos;
    else rows.push_back(r - pos);
  }
  HideDisplRows(rows, 0);
}

void DEreDuzeroVaro::HideRowsEx(int FromRow, int ToRow) {
  if (FromRow < 0 || FromRow > ToRow || IsHiddenRow(FromRow)) return;
  const int D = DisplRowIndex(FromRow);
  if (D >= RowCount()) return;
  // The display rows from FromRow's on, as many as the range is long; the heights are kept
  // too, so that a row shown again is not restored at height 0.
  const int count = std::min(ToRow - FromRow + 1, RowCount() - D);
  std::vector<int> rows(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) rows[static_cast<size_t>(i)] = D + i;
  HideDisplRows(rows, 0);
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
  HideDisplRows(rows, FFilterLevel);
  ++FFilterLevel;
}

// ===========================================================================
// Rows: showing

void DEreDuzeroVaro::ShowItems(const std::vector<int>& Positions) {
  if (Positions.empty()) return;
  // Each item's display row: its real index less the items staying hidden below it.
  std::vector<int> target;
  target.reserve(Positions.size());
  int kept = 0;
  size_t j = 0;
  for (int i = 0; j < Positions.size(); ++i) {
    if (Positions[j] == i) {
      target.push_back(HiddenItem(i)->Idx() - kept);
      ++j;
    } else {
      ++kept;
    }
  }
  std::vector<TGridItem*> items = TakeItems(Positions);
  TScopeGuard free([&items] {
    for (TGridItem* item : items) delete item;
  });
  const int n = RowCount(), k = static_cast<int>(items.size());
  // Indexes beyond the grid (rows taken away meanwhile) go to the end, in order.
  for (int i = k - 1; i >= 0; --i) {
    const int limit = i == k - 1 ? n + k - 1 : target[static_cast<size_t>(i) + 1] - 1;
    target[static_cast<size_t>(i)] = std::min(target[static_cast<size_t>(i)], limit);
  }
  for (int i = 0; i < k; ++i)
    target[static_cast<size_t>(i)] = std::max(target[static_cast<size_t>(i)], i == 0 ? 0 : target[static_cast<size_t>(i) - 1] + 1);
  const std::vector<std::pair<int, int>> runs = Runs(target);
  if (BlocksPay(runs, n + k)) {
    // Each run goes back as one block at its place, the lowest first.
    int i = 0;
    for (const auto& [first, length] : runs) {
      InsertRowsAt(first, length);
      for (int m = 0; m < length; ++m, ++i) RestoreRow(items[static_cast<size_t>(i)], first + m);
    }
    return;
  }
  // The items go below the rows, then every row from the first target on takes its place.
  InsertRowsAt(n, k);
  for (int i = 0; i < k; ++i) RestoreRow(items[static_cast<size_t>(i)], n + i);
  const int first = target.front();
  std::vector<int> order;
  order.reserve(static_cast<size_t>(n + k - first));
  int src = first;
  size_t t = 0;
  for (int p = first; p < n + k; ++p) {
    if (t < target.size() && target[t] == p) order.push_back(n + static_cast<int>(t++));
    else order.push_back(src++);
  }
  PermuteRows(first, order);
}

void DEreDuzeroVaro::UnHideRow(int Rowindex) {
  UnHideRows(Rowindex, Rowindex);
}

void DEreDuzeroVaro::UnHideRows(int FromRow, int ToRow) {
  if (!IsHiddenRow(FromRow)) return;
  const bool modified = FShowModified->Enabled();
  FShowModified->SetEnabled(false);
  TScopeGuard restore([this, modified] { FShowModified->SetEnabled(modified); });
  std::vector<int> positions;
  for (int i = HiddenLowerBound(FromRow); i < FGridItems->Count() && HiddenItem(i)->Idx() <= ToRow; ++i)
    positions.push_back(i);
  ShowItems(positions);
  RowsChanged();
}

void DEreDuzeroVaro::UnHideRowsAll() {
  if (NumHiddenRows() == 0) return;
  const bool modified = FShowModified->Enabled();
  FShowModified->SetEnabled(false);
  TScopeGuard restore([this, modified] { FShowModified->SetEnabled(modified); });
  std::vector<int> positions(static_cast<size_t>(FGridItems->Count()));
  for (int i = 0; i < FGridItems->Count(); ++i) positions[static_cast<size_t>(i)] = i;
  ShowItems(positions);
  RowsChanged();
}

void DEreDuzeroVaro::UnHideRowList() {
  // The last level's rows; with one level left, every hidden row.
  const int level = FFilterLevel - 1;
  std::vector<int> positions;
  for (int i = 0; i < FGridItems->Count(); ++i)
    if (FFilterLevel < 2 || HiddenItem(i)->Level() == level) positions.push_back(i);
  ShowItems(positions);
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
