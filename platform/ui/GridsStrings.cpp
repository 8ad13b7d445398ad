// The string grid: its sparse cell store, row and column views and text drawing.

#include <algorithm>
#include <limits>
#include <tuple>

#include "platform/ui/Graphics.h"
#include "platform/ui/Grids.h"

TStringGrid::TStringGrid(TComponent* AOwner) : TCustomGrid(AOwner) {}

TStringGrid::~TStringGrid() = default;

void TStringGrid::CheckIndex(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0) throw EInvalidGridOperation(u"Grid index out of range");
}

// ---------------------------------------------------------------------------
// The store

TStringGrid::TCellPage::TCellPage(std::pmr::memory_resource* Pool) {
  Rows.reserve(1 << PageShift);
  for (int i = 0; i < (1 << PageShift); ++i) Rows.emplace_back(Pool);
}

const TStringGrid::TCellRow* TStringGrid::FindRow(int ARow) const {
  int pageNo = ARow >> PageShift;
  if (pageNo != FLastPageNo) {
    auto it = FPages.find(pageNo);
    if (it == FPages.end()) return nullptr;
    FLastPageNo = pageNo;
    FLastPage = it->second.get();
  }
  return &FLastPage->Rows[ARow & ((1 << PageShift) - 1)];
}

TStringGrid::TCellRow& TStringGrid::MakeRow(int ARow) {
  int pageNo = ARow >> PageShift;
  if (pageNo != FLastPageNo) {
    auto& page = FPages[pageNo];
    if (!page) page = std::make_unique<TCellPage>(&FPool);
    FLastPageNo = pageNo;
    FLastPage = page.get();
  }
  return FLastPage->Rows[ARow & ((1 << PageShift) - 1)];
}

TStringGrid::TCell TStringGrid::GetCell(const TCellRow& Row, int ACol) {
  TCell cell;
  if (ACol < FarColumn) {
    if (ACol < static_cast<int>(Row.Texts.size())) cell.Text = Row.Texts[ACol];
    if (ACol < static_cast<int>(Row.Objects.size())) cell.Object = Row.Objects[ACol];
  } else if (Row.Far) {
    auto it = Row.Far->find(ACol);
    if (it != Row.Far->end()) cell = it->second;
  }
  return cell;
}

namespace {

// Makes room for index Index in a row's array: at first for the whole counted row, then
// doubling, so that filling a row cell by cell copies little and wastes little.
template <class T>
void Reach(std::pmr::vector<T>& V, int Index, int Counted) {
  size_t need = static_cast<size_t>(Index) + 1;
  if (need <= V.size()) return;
  if (need > V.capacity()) {
    size_t cap = V.empty() ? std::max<size_t>(need, Counted) : std::max(need, V.capacity() * 2);
    V.reserve(cap);
  }
  V.resize(need);
}

// Drops the empty entries at the end of an array and, once it is empty, its room.
template <class T, class IsEmpty>
void Trim(std::pmr::vector<T>& V, IsEmpty Empty) {
  while (!V.empty() && Empty(V.back())) V.pop_back();
  if (V.empty()) V = std::pmr::vector<T>(V.get_allocator());
}

}  // namespace

void TStringGrid::PutCell(TCellRow& Row, int ACol, const TCell& Cell) {
  if (ACol >= FarColumn) {
    if (Cell.Text.empty() && Cell.Object == nullptr) {
      if (Row.Far) Row.Far->erase(ACol);
      return;
    }
    if (!Row.Far) Row.Far = std::make_unique<std::map<int, TCell>>();
    (*Row.Far)[ACol] = Cell;
    return;
  }
  int counted = std::min(ColCount(), FarColumn);
  if (!Cell.Text.empty()) {
    Reach(Row.Texts, ACol, counted);
    Row.Texts[ACol] = Cell.Text;
  } else if (ACol < static_cast<int>(Row.Texts.size())) {
    Row.Texts[ACol].clear();
    if (ACol + 1 == static_cast<int>(Row.Texts.size())) Trim(Row.Texts, [](const String& t) { return t.empty(); });
  }
  if (Cell.Object != nullptr) {
    Reach(Row.Objects, ACol, counted);
    Row.Objects[ACol] = Cell.Object;
  } else if (ACol < static_cast<int>(Row.Objects.size())) {
    Row.Objects[ACol] = nullptr;
    if (ACol + 1 == static_cast<int>(Row.Objects.size())) Trim(Row.Objects, [](TObject* o) { return o == nullptr; });
  }
}

void TStringGrid::ForEachRow(int ARow1, int ARow2, const std::function<void(int ARow, TCellRow& Row)>& Visit) {
  if (ARow2 < ARow1) return;
  for (auto it = FPages.lower_bound(ARow1 >> PageShift); it != FPages.end() && it->first <= (ARow2 >> PageShift); ++it) {
    int first = it->first << PageShift;
    for (int i = 0; i < (1 << PageShift); ++i) {
      int r = first + i;
      if (r < ARow1 || r > ARow2 || it->second->Rows[i].Empty()) continue;
      Visit(r, it->second->Rows[i]);
    }
  }
}

String TStringGrid::Cells(int ACol, int ARow) const {
  CheckIndex(ACol, ARow);
  const TCellRow* row = FindRow(ARow);
  if (row == nullptr) return String();
  if (ACol < FarColumn) return ACol < static_cast<int>(row->Texts.size()) ? row->Texts[ACol] : String();
  return GetCell(*row, ACol).Text;
}

TObject* TStringGrid::Objects(int ACol, int ARow) const {
  CheckIndex(ACol, ARow);
  const TCellRow* row = FindRow(ARow);
  if (row == nullptr) return nullptr;
  if (ACol < FarColumn) return ACol < static_cast<int>(row->Objects.size()) ? row->Objects[ACol] : nullptr;
  return GetCell(*row, ACol).Object;
}

void TStringGrid::SetCells(int ACol, int ARow, const String& Value) {
  CheckIndex(ACol, ARow);
  if (Value.empty() && FindRow(ARow) == nullptr) return;
  TCellRow& row = MakeRow(ARow);
  if (ACol < FarColumn && !Value.empty()) {
    Reach(row.Texts, ACol, std::min(ColCount(), FarColumn));
    row.Texts[ACol] = Value;
  } else {
    TCell cell = GetCell(row, ACol);
    cell.Text = Value;
    PutCell(row, ACol, cell);
  }
  InvalidateCell(ACol, ARow);
}

void TStringGrid::SetObjects(int ACol, int ARow, TObject* Value) {
  CheckIndex(ACol, ARow);
  if (Value == nullptr && FindRow(ARow) == nullptr) return;
  TCellRow& row = MakeRow(ARow);
  TCell cell = GetCell(row, ACol);
  cell.Object = Value;
  PutCell(row, ACol, cell);
  InvalidateCell(ACol, ARow);
}

void TStringGrid::ClearCells() {
  FPages.clear();
  // Rows taken out of the store may still hold room in the pool: it is then kept for reuse.
  if (!FRowsTaken) FPool.release();
  FLastPageNo = -1;
  FLastPage = nullptr;
  Invalidate();
}

size_t TStringGrid::StoredCellCount() const {
  size_t n = 0;
  for (const auto& [no, page] : FPages)
    for (const TCellRow& row : page->Rows) {
      size_t both = std::max(row.Texts.size(), row.Objects.size());
      for (size_t c = 0; c < both; ++c)
        if ((c < row.Texts.size() && !row.Texts[c].empty()) || (c < row.Objects.size() && row.Objects[c] != nullptr))
          ++n;
      if (row.Far) n += row.Far->size();
    }
  return n;
}

void TStringGrid::ForEachObject(const TGridRect& R,
                                const std::function<void(int ACol, int ARow, TObject* Obj)>& Visit) {
  std::vector<std::tuple<int, int, TObject*>> found;
  ForEachRow(R.Top, R.Bottom, [&](int r, TCellRow& row) {
    int last = std::min<int64_t>(R.Right, static_cast<int64_t>(row.Objects.size()) - 1);
    for (int c = std::max(0, R.Left); c <= last; ++c)
      if (row.Objects[c] != nullptr) found.emplace_back(c, r, row.Objects[c]);
    if (row.Far)
      for (auto it = row.Far->lower_bound(R.Left); it != row.Far->end() && it->first <= R.Right; ++it)
        if (it->second.Object != nullptr) found.emplace_back(it->first, r, it->second.Object);
  });
  for (auto [c, r, obj] : found) Visit(c, r, obj);
}

const String& TStringGrid::CellText(int ACol, int ARow) const {
  CheckIndex(ACol, ARow);
  const TCellRow* row = FindRow(ARow);
  static const String empty;
  return row != nullptr ? RowCellText(*row, ACol) : empty;
}

// ---------------------------------------------------------------------------
// Rows moved out of the store and back

TStringGrid::TCellRow TStringGrid::TakeRowCells(int ARow) {
  CheckIndex(0, ARow);
  const TCellRow* row = FindRow(ARow);
  if (row == nullptr || row->Empty()) return TCellRow(&FPool);
  FRowsTaken = true;
  TCellRow& stored = MakeRow(ARow);
  TCellRow taken = std::move(stored);
  stored = TCellRow(&FPool);
  return taken;
}

void TStringGrid::PutRowCells(int ARow, TCellRow&& Cells) {
  CheckIndex(0, ARow);
  if (Cells.Empty() && FindRow(ARow) == nullptr) return;
  MakeRow(ARow) = std::move(Cells);
}

void TStringGrid::CloseUpRows(std::span<const int> Rows, int Last,
                              const std::function<void(int ARow, TCellRow&& Cells)>& Taken) {
  if (Rows.empty()) return;
  CheckIndex(0, Rows.front());
  constexpr int mask = (1 << PageShift) - 1;
  // The pages of the row read and of the place written, each looked up as the walk enters it.
  int fromNo = -1, toNo = -1;
  TCellPage* fromPage = nullptr;
  TCellPage* toPage = nullptr;
  int to = Rows.front();
  size_t next = 0;
  for (int r = Rows.front(); r <= Last; ++r) {
    if (r >> PageShift != fromNo) {
      fromNo = r >> PageShift;
      auto it = FPages.find(fromNo);
      fromPage = it != FPages.end() ? it->second.get() : nullptr;
    }
    TCellRow* row = fromPage != nullptr ? &fromPage->Rows[static_cast<size_t>(r & mask)] : nullptr;
    const bool stored = row != nullptr && !row->Empty();
    if (next < Rows.size() && Rows[next] == r) {
      ++next;
      if (!stored) {
        Taken(r, TCellRow(&FPool));
        continue;
      }
      FRowsTaken = true;
      Taken(r, TCellRow(std::move(*row)));  // a row moved from is left empty
      continue;
    }
    const int place = to++;
    // Every place before r is empty by now (taken, or moved from), so an empty row has
    // nothing to move.
    if (!stored || place == r) continue;
    if (place >> PageShift != toNo) {
      toNo = place >> PageShift;
      std::unique_ptr<TCellPage>& page = FPages[toNo];
      if (!page) page = std::make_unique<TCellPage>(&FPool);
      toPage = page.get();
    }
    TCellRow& target = toPage->Rows[static_cast<size_t>(place & mask)];
    target = std::move(*row);
    row->Texts.clear();
    row->Objects.clear();
  }
}

const String& TStringGrid::RowCellText(const TCellRow& Row, int ACol) {
  static const String empty;
  if (ACol < 0) return empty;
  if (ACol < FarColumn) return ACol < static_cast<int>(Row.Texts.size()) ? Row.Texts[ACol] : empty;
  if (!Row.Far) return empty;
  auto it = Row.Far->find(ACol);
  return it != Row.Far->end() ? it->second.Text : empty;
}

TObject* TStringGrid::RowCellObject(const TCellRow& Row, int ACol) {
  if (ACol < 0) return nullptr;
  if (ACol < FarColumn) return ACol < static_cast<int>(Row.Objects.size()) ? Row.Objects[ACol] : nullptr;
  if (!Row.Far) return nullptr;
  auto it = Row.Far->find(ACol);
  return it != Row.Far->end() ? it->second.Object : nullptr;
}

int TStringGrid::RowCellWidth(const TCellRow& Row) {
  if (Row.Far && !Row.Far->empty()) return Row.Far->rbegin()->first + 1;
  return static_cast<int>(std::max(Row.Texts.size(), Row.Objects.size()));
}

TStrings* TStringGrid::Rows(int Index) {
  CheckIndex(0, Index);
  auto& view = FViews[{true, Index}];
  if (!view) view = std::make_unique<TStringGridStrings>(this, true, Index);
  return view.get();
}

TStrings* TStringGrid::Cols(int Index) {
  CheckIndex(Index, 0);
  auto& view = FViews[{false, Index}];
  if (!view) view = std::make_unique<TStringGridStrings>(this, false, Index);
  return view.get();
}

void TStringGrid::DrawCell(int ACol, int ARow, const TRect& ARect, const TGridDrawState& AState) {
  if (DefaultDrawing() && GridMirrored()) {
    // The text reads left to right at the mirrored cell's right edge.
    const TRect r = MirrorRect(ARect);
    const String s = Cells(ACol, ARow);
    ChangeGridOrientation(false);
    Canvas()->TextRect(r, r.Right - 2 - Canvas()->TextWidth(s), r.Top + 2, s);
    ChangeGridOrientation(true);
  } else if (DefaultDrawing()) {
    Canvas()->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, Cells(ACol, ARow));
  }
  TCustomGrid::DrawCell(ACol, ARow, ARect, AState);
}

String TStringGrid::GetEditText(int ACol, int ARow) {
  String s = Cells(ACol, ARow);
  if (OnGetEditText) OnGetEditText(this, ACol, ARow, s);
  return s;
}

void TStringGrid::SetEditText(int ACol, int ARow, const String& Value) {
  SetCells(ACol, ARow, Value);
  TCustomGrid::SetEditText(ACol, ARow, Value);
}

void TStringGrid::MoveCells(bool IsRow, int From, int To) {
  int lo = std::min(From, To), hi = std::max(From, To);
  if (IsRow) {
    // Take the stored rows of the range out, then put each at its new index.
    std::vector<std::pair<int, TCellRow>> moved;
    ForEachRow(lo, hi, [&](int r, TCellRow& row) { moved.emplace_back(GridMovedIndex(r, From, To), std::move(row)); });
    for (auto& [r, row] : moved) MakeRow(r) = std::move(row);
    return;
  }
  ForEachRow(0, std::numeric_limits<int>::max(), [&](int, TCellRow& row) {
    std::vector<std::pair<int, TCell>> moved;
    size_t both = std::max(row.Texts.size(), row.Objects.size());
    for (int c = lo; c <= hi && c < FarColumn && c < static_cast<int>(both); ++c) {
      TCell cell = GetCell(row, c);
      if (!cell.Text.empty() || cell.Object != nullptr) moved.emplace_back(GridMovedIndex(c, From, To), cell);
    }
    if (row.Far)
      for (auto it = row.Far->lower_bound(lo); it != row.Far->end() && it->first <= hi; ++it)
        moved.emplace_back(GridMovedIndex(it->first, From, To), it->second);
    for (auto& [c, cell] : moved) PutCell(row, GridMovedIndex(c, To, From), TCell());  // its old place
    for (auto& [c, cell] : moved) PutCell(row, c, cell);
  });
}

void TStringGrid::DropCells(bool IsRow, int Index) {
  if (IsRow) {
    if (FindRow(Index) != nullptr) MakeRow(Index) = TCellRow(&FPool);
    return;
  }
  ForEachRow(0, std::numeric_limits<int>::max(), [&](int, TCellRow& row) { PutCell(row, Index, TCell()); });
}

void TStringGrid::ColumnMoved(int FromIndex, int ToIndex) {
  MoveCells(false, FromIndex, ToIndex);
  TCustomGrid::ColumnMoved(FromIndex, ToIndex);
}

void TStringGrid::RowMoved(int FromIndex, int ToIndex) {
  MoveCells(true, FromIndex, ToIndex);
  TCustomGrid::RowMoved(FromIndex, ToIndex);
}

void TStringGrid::RowsPermuted(int Start, const std::vector<int>& Order) {
  // Places are filled in row order. While each place is free (empty, or left by a row moved
  // before), its row moves straight in: rows closing up over emptied ones cost one walk of
  // the range. From the first place still held by a row not yet moved, the rows due in the
  // remaining places are moved out first, then in. No cell is copied; an empty place stays
  // without a stored row.
  const int n = static_cast<int>(Order.size());
  auto freePlace = [this](int ARow) {
    const TCellRow* row = FindRow(ARow);
    return row == nullptr || row->Empty();
  };
  auto take = [this](int ARow) {
    const TCellRow* row = FindRow(ARow);
    if (row == nullptr || row->Empty()) return TCellRow(&FPool);
    TCellRow& stored = MakeRow(ARow);
    TCellRow taken = std::move(stored);
    stored = TCellRow(&FPool);
    return taken;
  };
  int k = 0;
  for (; k < n; ++k) {
    const int to = Start + k, from = Order[static_cast<size_t>(k)];
    if (from == to) continue;
    if (!freePlace(to)) break;
    // A row from a place already filled was empty (only free places are filled).
    if (from > to && !freePlace(from)) MakeRow(to) = take(from);
  }
  if (k < n) {
    // The rest of the range is moved out in row order (a row left there before is empty now),
    // then each place takes its row, also in row order.
    const int done = Start + k;
    std::vector<TCellRow> rest;
    rest.reserve(static_cast<size_t>(n - k));
    for (int r = done; r < Start + n; ++r) rest.push_back(take(r));
    for (int j = k; j < n; ++j) {
      const int from = Order[static_cast<size_t>(j)];
      if (from < done) continue;  // an empty row: the place stays empty
      TCellRow& row = rest[static_cast<size_t>(from - done)];
      if (!row.Empty()) MakeRow(Start + j) = std::move(row);
    }
  }
  TCustomGrid::RowsPermuted(Start, Order);
}

// The removed cells go and the later counted ones move up, before the grid's own removal
// reports the new count; cells beyond the count stay where they are.
void TStringGrid::DeleteCells(bool IsRow, int Index) {
  int count = IsRow ? RowCount() : ColCount();
  if (Index < 0 || Index >= count || count == 1) return;  // the grid's removal raises
  MoveCells(IsRow, Index, count - 1);
  DropCells(IsRow, count - 1);
}

void TStringGrid::DeleteRow(int ARow) {
  DeleteCells(true, ARow);
  TCustomGrid::DeleteRow(ARow);
}

void TStringGrid::RowsShifted(int ARow, int Count, int OldCount) {
  std::vector<std::pair<int, TCellRow>> moved;
  if (Count > 0) {
    // Every stored row from ARow on moves down, also those beyond the count.
    ForEachRow(ARow, std::numeric_limits<int>::max(),
               [&](int r, TCellRow& row) { moved.emplace_back(r + Count, std::move(row)); row = TCellRow(&FPool); });
  } else {
    ForEachRow(ARow, ARow - Count - 1, [this](int, TCellRow& row) { row = TCellRow(&FPool); });
    // Each row moves up into a place already emptied or left, in row order, straight.
    ForEachRow(ARow - Count, OldCount - 1, [&](int r, TCellRow& row) {
      MakeRow(r + Count) = std::move(row);
      row = TCellRow(&FPool);
    });
  }
  for (auto& [r, row] : moved) MakeRow(r) = std::move(row);
  TCustomGrid::RowsShifted(ARow, Count, OldCount);
}

void TStringGrid::DeleteColumn(int ACol) {
  DeleteCells(false, ACol);
  TCustomGrid::DeleteColumn(ACol);
}

// ---------------------------------------------------------------------------
// Row and column views

int TStringGridStrings::Count() const { return FIsRow ? FGrid->ColCount() : FGrid->RowCount(); }

String TStringGridStrings::Get(int Index) const {
  return FIsRow ? FGrid->Cells(Index, FIndex) : FGrid->Cells(FIndex, Index);
}

void TStringGridStrings::Put(int Index, const String& S) {
  if (FIsRow) FGrid->SetCells(Index, FIndex, S);
  else FGrid->SetCells(FIndex, Index, S);
}

TObject* TStringGridStrings::GetObject(int Index) const {
  return FIsRow ? FGrid->Objects(Index, FIndex) : FGrid->Objects(FIndex, Index);
}

void TStringGridStrings::PutObject(int Index, TObject* AObject) {
  if (FIsRow) FGrid->SetObjects(Index, FIndex, AObject);
  else FGrid->SetObjects(FIndex, Index, AObject);
}

void TStringGridStrings::Insert(int, const String&) {
  throw EInvalidGridOperation(u"Grid rows and columns cannot insert or delete strings");
}

void TStringGridStrings::Delete(int) {
  throw EInvalidGridOperation(u"Grid rows and columns cannot insert or delete strings");
}

int TStringGridStrings::AddObject(const String& S, TObject* AObject) {
  if (FNext >= Count()) return -1;
  Put(FNext, S);
  PutObject(FNext, AObject);
  return FNext++;
}

void TStringGridStrings::Clear() {
  FNext = 0;
  for (int i = 0; i < Count(); ++i) {
    Put(i, String());
    PutObject(i, nullptr);
  }
}
