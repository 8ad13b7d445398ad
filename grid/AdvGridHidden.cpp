// DEreDuzeroVaro: hidden columns and rows, real and display indexes, column and row moves,
// scrolling a cell into view and hiding the selection.
//
// Hidden columns stay in the cell store at their real index; only the display leaves them out.
// Hidden rows are taken out of the display into the hidden-row store, kept in ascending real
// index. A hidden row's stored cells are moved out of the cell store whole and back (no cell
// is copied), and the display rows are moved in a few blocks (InsertRowsAt/DeleteRowsAt), by
// one permutation (PermuteRows), or closed up in the walk that fills the store, never shifted
// one at a time, so that hiding and showing many rows costs one pass over the grid.

#include <algorithm>
#include <functional>
#include <vector>

#include "grid/AdvGrid.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/SysUtils.h"

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
  const auto it = std::lower_bound(FGridItems.begin(), FGridItems.end(), RealRow,
                                   [](const TGridItem& h, int r) { return h.Idx() < r; });
  return static_cast<int>(it - FGridItems.begin());
}

int DEreDuzeroVaro::RealRowIndex(int ARow) {
  // Row i of the store (ascending real indexes h) lies before display row ARow exactly when
  // h - i <= ARow, and h - i never decreases along the store: the real row is ARow plus the
  // number of such rows.
  int lo = 0, hi = NumHiddenRows();
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (FGridItems[static_cast<size_t>(mid)].Idx() - mid <= ARow) lo = mid + 1;
    else hi = mid;
  }
  return ARow + lo;
}

int DEreDuzeroVaro::DisplRowIndex(int ARow) { return ARow - HiddenLowerBound(ARow); }

bool DEreDuzeroVaro::IsHiddenColumn(int Colindex) const {
  if (Colindex < 0 || Colindex > MaxHideableCol) return false;
  return !FVisibleCol[Colindex];
}

bool DEreDuzeroVaro::IsHiddenRow(int Rowindex) { return HiddenRowOf(Rowindex) != nullptr; }

DEreDuzeroVaro::TGridItem* DEreDuzeroVaro::HiddenRowOf(int RealRow) {
  const size_t i = static_cast<size_t>(HiddenLowerBound(RealRow));
  return i < FGridItems.size() && FGridItems[i].Idx() == RealRow ? &FGridItems[i] : nullptr;
}

bool DEreDuzeroVaro::IsHiddenRow(int Rowindex, std::unique_ptr<TIntList>& ListHidden) {
  if (!ListHidden) {
    ListHidden = std::make_unique<TIntList>(-1, -1);
    for (const TGridItem& h : FGridItems) ListHidden->Add(h.Idx());
  }
  return ListHidden->HasValue(Rowindex);
}

// ===========================================================================
// Cells of hidden rows

void DEreDuzeroVaro::SetHiddenCell(TGridItem& Row, int ACol, const String& Text, TObject* Object) {
  if (ACol < 0) throw EListError(u"List index out of bounds (" + IntToStr(ACol) + u")");
  PutRowCell(Row.Cells(), ACol, Text, Object);
  Row.SetWidth(std::max(Row.Width(), ACol + 1));
}

void DEreDuzeroVaro::EditHiddenColumns(const std::function<void(std::vector<TCell>& Cells)>& Edit, TGridItem* Only) {
  std::vector<TCell> cells;
  for (TGridItem& h : FGridItems) {
    if (Only != nullptr && &h != Only) continue;
    const int width = std::max(h.Width(), RowCellWidth(h.Cells()));
    cells.assign(static_cast<size_t>(width), TCell());
    for (int c = 0; c < width; ++c) cells[static_cast<size_t>(c)] = TCell{h.Text(c), h.Object(c)};
    Edit(cells);
    h.Cells() = NewRowCells();
    h.SetWidth(static_cast<int>(cells.size()));
    for (size_t c = 0; c < cells.size(); ++c)
      if (!cells[c].Text.empty() || cells[c].Object != nullptr)
        PutRowCell(h.Cells(), static_cast<int>(c), cells[c].Text, cells[c].Object);
  }
}

// A hidden row as a string list: entry c is real column c. It finds its row by real index on
// every call, so it follows the row while the store changes, and is empty once it is shown.
class DEreDuzeroVaro::THiddenRowStrings : public TStrings {
public:
  THiddenRowStrings(DEreDuzeroVaro* AGrid, int ARealRow) : FGrid(AGrid), FRealRow(ARealRow) {}
  String ClassName() const override { return u"THiddenRowStrings"; }
  int Count() const override {
    const TGridItem* h = FGrid->HiddenRowOf(FRealRow);
    return h != nullptr ? h->Width() : 0;
  }
  String Get(int Index) const override { return Row(Index).Text(Index); }
  TObject* GetObject(int Index) const override { return Row(Index).Object(Index); }
  void Put(int Index, const String& S) override {
    TGridItem& h = Row(Index);
    FGrid->SetHiddenCell(h, Index, S, h.Object(Index));
  }
  void PutObject(int Index, TObject* AObject) override {
    TGridItem& h = Row(Index);
    FGrid->SetHiddenCell(h, Index, h.Text(Index), AObject);
  }
  void Insert(int Index, const String& S) override { InsertObject(Index, S, nullptr); }
  void InsertObject(int Index, const String& S, TObject* AObject) override {
    if (Index < 0 || Index > Count()) throw EListError(u"List index out of bounds (" + IntToStr(Index) + u")");
    Edit([&](std::vector<TCell>& Cells) { Cells.insert(Cells.begin() + Index, TCell{S, AObject}); });
  }
  void Delete(int Index) override {
    Row(Index);
    Edit([&](std::vector<TCell>& Cells) { Cells.erase(Cells.begin() + Index); });
  }
  void Clear() override {
    Edit([](std::vector<TCell>& Cells) { Cells.clear(); });
  }

private:
  TGridItem& Row(int Index) const {
    TGridItem* h = FGrid->HiddenRowOf(FRealRow);
    if (h == nullptr || Index < 0 || Index >= h->Width())
      throw EListError(u"List index out of bounds (" + IntToStr(Index) + u")");
    return *h;
  }
  // Edits this row's columns alone.
  void Edit(const std::function<void(std::vector<TCell>& Cells)>& Change) {
    if (TGridItem* h = FGrid->HiddenRowOf(FRealRow)) FGrid->EditHiddenColumns(Change, h);
  }
  DEreDuzeroVaro* FGrid;
  int FRealRow;
};

TStrings* DEreDuzeroVaro::HiddenRowItems(int RealRow) {
  if (HiddenRowOf(RealRow) == nullptr) return nullptr;
  std::unique_ptr<TStrings>& view = FHiddenRowViews[RealRow];
  if (!view) view = std::make_unique<THiddenRowStrings>(this, RealRow);
  return view.get();
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
// The store keeps its rows in ascending real index, each real row at most once, so that the
// index mappings are binary searches and rows are hidden and shown in one pass: a row's cells
// leave the cell store as one block, the emptied display rows are gathered at the bottom of
// the grid by one permutation and taken off there; rows shown are put at the bottom and
// permuted into their places.

namespace {

// Shows or hides the controls embedded in a row's cell records, which leave and come back
// with their row.
void ShowCellControls(const std::pmr::vector<TObject*>& Objects, bool Visible) {
  for (TObject* obj : Objects)
    if (obj != nullptr)
      if (auto* props = dynamic_cast<TCellProperties*>(obj); props != nullptr && props->Control() != nullptr)
        props->Control()->SetVisible(Visible);
}

}  // namespace

void DEreDuzeroVaro::CopyDisplRow(int From, int To) {
  if (From == To) return;
  PutRowCells(To, TakeRowCells(From));
  SetRowHeights(To, RowHeights(From));
}

namespace {

// Rows of a store merged or taken out one by one at most this many at a time; more go
// through one rebuild of the store's tail.
constexpr size_t MaxSingleItems = 16;

// Most runs that are ever moved as blocks.
constexpr size_t MaxBlocks = 64;

// Runs of consecutive values in an ascending list: (first value, length); past MaxBlocks
// runs, which are never moved as blocks, one more stands for the rest.
std::vector<std::pair<int, int>> Runs(std::span<const int> Values) {
  std::vector<std::pair<int, int>> runs;
  for (int v : Values) {
    if (!runs.empty() && runs.back().first + runs.back().second == v) ++runs.back().second;
    else if (runs.size() > MaxBlocks) break;
    else runs.emplace_back(v, 1);
  }
  return runs;
}

// Whether runs of rows are cheaper inserted or removed as blocks (each moves the stored rows
// behind it) than moved in one pass over the grid from the first run on: a few blocks keep
// the current row on its row, as a single block move does.
bool BlocksPay(const std::vector<std::pair<int, int>>& Runs, int RowCount) {
  if (Runs.size() > MaxBlocks) return false;
  long long moved = 0;
  for (const auto& run : Runs) moved += RowCount - run.first;
  return moved <= 4LL * (RowCount - Runs.front().first) + 1024;
}

// Makes room for Needed rows in a store; room once made is kept, and it is made at once for
// every row of the grid (AllRows), which a store never exceeds, so that a grid's stores are
// laid out once (only the room filled is touched).
template <typename TStore>
void Reserve(TStore& Items, size_t Needed, size_t AllRows) {
  if (Items.capacity() < Needed) Items.reserve(std::max(Needed, AllRows));
}

}  // namespace

void DEreDuzeroVaro::AddHiddenRows(TGridItems& Rows) {
  if (Rows.empty()) return;
  if (FGridItems.empty() || FGridItems.back().Idx() < Rows.front().Idx()) {
    Reserve(FGridItems, FGridItems.size() + Rows.size(), RealRowsHeld());
    for (TGridItem& h : Rows) FGridItems.push_back(std::move(h));
    return;
  }
  if (Rows.size() <= MaxSingleItems) {
    for (TGridItem& h : Rows) FGridItems.insert(FGridItems.begin() + HiddenLowerBound(h.Idx()), std::move(h));
    return;
  }
  // One merge from the back: the store grows by the new rows and each place, from the end on,
  // takes the larger of the two rows left, so no row is moved twice and no room is taken.
  size_t a = FGridItems.size(), b = Rows.size();
  Reserve(FGridItems, a + b, RealRowsHeld());
  for (size_t i = 0; i < b; ++i) FGridItems.emplace_back(NewRowCells());
  for (size_t to = a + b; b > 0;) {
    --to;
    if (a > 0 && FGridItems[a - 1].Idx() > Rows[b - 1].Idx()) FGridItems[to] = std::move(FGridItems[--a]);
    else FGridItems[to] = std::move(Rows[--b]);
  }
}

void DEreDuzeroVaro::TakeHiddenRows(const std::vector<int>& Positions, TGridItems& Taken) {
  if (Positions.empty()) return;
  TGridItems& taken = Taken;
  Reserve(taken, taken.size() + Positions.size(), RealRowsHeld());
  // The rows taken go out and the others close up, in one pass from the first position on.
  size_t to = static_cast<size_t>(Positions.front()), k = 0;
  for (size_t i = to; i < FGridItems.size(); ++i) {
    if (k < Positions.size() && static_cast<size_t>(Positions[k]) == i) {
      taken.push_back(std::move(FGridItems[i]));
      ++k;
    } else {
      if (to != i) FGridItems[to] = std::move(FGridItems[i]);
      ++to;
    }
  }
  FGridItems.erase(FGridItems.begin() + static_cast<std::ptrdiff_t>(to), FGridItems.end());
}

// ===========================================================================
// Rows: hiding

void DEreDuzeroVaro::HideDisplRows(std::span<const int> Rows, int Level) {
  const int n = RowCount(), k = static_cast<int>(Rows.size());
  if (k == 0 || k >= n) return;  // no row would be left
  // Each row's cells leave the cell store with its real index (walking the store alongside),
  // height, column count and level.
  // Rows that all lie past the store's last go straight to its end; others are merged in.
  const int width = TotalColCount();
  const size_t hidden = FGridItems.size();
  const bool append = hidden == 0 || FGridItems.back().Idx() < RealRowIndex(Rows.front());
  TGridItems& rows = append ? FGridItems : FHiddenPassing;
  TScopeGuard passed([this] { FHiddenPassing.clear(); });
  Reserve(rows, rows.size() + Rows.size(), RealRowsHeld());
  size_t h = 0;
  // A row's entry: its real index (walking the store alongside), height, level and width.
  auto enter = [&](int d, TCellRow&& Cells, int Height) {
    int r = d + static_cast<int>(h);
    while (h < hidden && FGridItems[h].Idx() <= r) {
      ++h;
      ++r;
    }
    TGridItem& row = rows.emplace_back(std::move(Cells));
    row.SetIdx(r);
    row.SetHeight(Height);
    row.SetLevel(Level);
    row.SetWidth(width);
    // The controls embedded in the row's cells leave with it.
    if (FNumCellControls > 0) ShowCellControls(row.Cells().Objects, false);
  };
  auto hide = [&](int d) { enter(d, TakeRowCells(d), RowHeights(d)); };
  const std::vector<std::pair<int, int>> runs = Runs(Rows);
  const int first = Rows.front();
  const int height = RowHeights(first);
  bool evenHeights = true;
  for (int r = first + 1; r < n && evenHeights; ++r) evenHeights = RowHeights(r) == height;
  if (BlocksPay(runs, n)) {
    for (int d : Rows) hide(d);
    for (auto it = runs.rbegin(); it != runs.rend(); ++it) DeleteRowsAt(it->first, it->second);
  } else if (evenHeights) {
    // One walk of the cell store from the first row hidden: each hidden row goes into the
    // store and each other row moves up over the emptied ones (their heights are all alike,
    // so no height moves); the emptied rows left at the bottom are taken off.
    CloseUpRows(Rows, n - 1, [&](int d, TCellRow&& Cells) { enter(d, std::move(Cells), height); });
    DeleteRowsAt(n - k, k);
    Invalidate();
  } else {
    for (int d : Rows) hide(d);
    // The other rows move up over the emptied ones, with their heights, and these gather at
    // the bottom.
    std::vector<int> order;
    order.reserve(static_cast<size_t>(n - first));
    size_t j = 0;
    for (int r = first; r < n; ++r) {
      if (j < Rows.size() && Rows[j] == r) ++j;
      else order.push_back(r);
    }
    order.insert(order.end(), Rows.begin(), Rows.end());
    PermuteRows(first, order);
    DeleteRowsAt(n - k, k);
  }
  if (!append) AddHiddenRows(rows);
  RowsChanged();
}

void DEreDuzeroVaro::HideRows(int FromRow, int ToRow) {
  FromRow = std::max(FromRow, 0);
  ToRow = std::min(ToRow, TotalRowCount() - 1);
  if (FromRow > ToRow) return;
  // The shown rows of the range, as display rows.
  std::vector<int> rows;
  int pos = HiddenLowerBound(FromRow);
  const int hidden = NumHiddenRows();
  for (int r = FromRow; r <= ToRow; ++r) {
    if (pos < hidden && FGridItems[static_cast<size_t>(pos)].Idx() == r) ++pos;
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
  // Each row's display row: its real index less the rows staying hidden below it.
  std::vector<int> target;
  target.reserve(Positions.size());
  int kept = 0;
  size_t j = 0;
  for (int i = 0; j < Positions.size(); ++i) {
    if (Positions[j] == i) {
      target.push_back(FGridItems[static_cast<size_t>(i)].Idx() - kept);
      ++j;
    } else {
      ++kept;
    }
  }
  TGridItems& rows = FHiddenPassing;
  TScopeGuard passed([this] { FHiddenPassing.clear(); });
  TakeHiddenRows(Positions, rows);
  const int n = RowCount(), k = static_cast<int>(rows.size());
  // Indexes beyond the grid (rows taken away meanwhile) go to the end, in order.
  for (int i = k - 1; i >= 0; --i) {
    const int limit = i == k - 1 ? n + k - 1 : target[static_cast<size_t>(i) + 1] - 1;
    target[static_cast<size_t>(i)] = std::min(target[static_cast<size_t>(i)], limit);
  }
  for (int i = 0; i < k; ++i)
    target[static_cast<size_t>(i)] = std::max(target[static_cast<size_t>(i)], i == 0 ? 0 : target[static_cast<size_t>(i) - 1] + 1);
  // A row's cells go back whole into an empty display row, with its height and controls.
  auto restore = [this](TGridItem& Row, int DisplRow) {
    if (FNumCellControls > 0) ShowCellControls(Row.Cells().Objects, true);
    PutRowCells(DisplRow, std::move(Row.Cells()));
    SetRowHeights(DisplRow, Row.Height());
  };
  const std::vector<std::pair<int, int>> runs = Runs(target);
  if (BlocksPay(runs, n + k)) {
    // Each run goes back as one block at its place, the lowest first.
    size_t i = 0;
    for (const auto& [first, length] : runs) {
      InsertRowsAt(first, length);
      for (int m = 0; m < length; ++m, ++i) restore(rows[i], first + m);
    }
    return;
  }
  // The rows go below the others, then every row from the first target on takes its place.
  InsertRowsAt(n, k);
  for (int i = 0; i < k; ++i) restore(rows[static_cast<size_t>(i)], n + i);
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
  for (int i = HiddenLowerBound(FromRow); i < NumHiddenRows() && FGridItems[static_cast<size_t>(i)].Idx() <= ToRow; ++i)
    positions.push_back(i);
  ShowItems(positions);
  RowsChanged();
}

void DEreDuzeroVaro::UnHideRowsAll() {
  if (NumHiddenRows() == 0) return;
  const bool modified = FShowModified->Enabled();
  FShowModified->SetEnabled(false);
  TScopeGuard restore([this, modified] { FShowModified->SetEnabled(modified); });
  std::vector<int> positions(FGridItems.size());
  for (size_t i = 0; i < positions.size(); ++i) positions[i] = static_cast<int>(i);
  ShowItems(positions);
  RowsChanged();
}

void DEreDuzeroVaro::UnHideRowList() {
  // The last level's rows; with one level left, every hidden row.
  const int level = FFilterLevel - 1;
  std::vector<int> positions;
  for (size_t i = 0; i < FGridItems.size(); ++i)
    if (FFilterLevel < 2 || FGridItems[i].Level() == level) positions.push_back(static_cast<int>(i));
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
