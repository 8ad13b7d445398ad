// The string grid: its sparse cell store, row and column views and text drawing.

#include <tuple>

#include "platform/ui/Graphics.h"
#include "platform/ui/Grids.h"

TStringGrid::TStringGrid(TComponent* AOwner) : TCustomGrid(AOwner) {}

TStringGrid::~TStringGrid() = default;

void TStringGrid::CheckIndex(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0) throw EInvalidGridOperation(u"Grid index out of range");
}

String TStringGrid::Cells(int ACol, int ARow) const {
  CheckIndex(ACol, ARow);
  auto row = FCells.find(ARow);
  if (row == FCells.end()) return String();
  auto cell = row->second.find(ACol);
  return cell == row->second.end() ? String() : cell->second.Text;
}

TObject* TStringGrid::Objects(int ACol, int ARow) const {
  CheckIndex(ACol, ARow);
  auto row = FCells.find(ARow);
  if (row == FCells.end()) return nullptr;
  auto cell = row->second.find(ACol);
  return cell == row->second.end() ? nullptr : cell->second.Object;
}

// Changes one cell; a cell left with no text and no object leaves the store.
void TStringGrid::Store(int ACol, int ARow, const std::function<void(TCell&)>& Change) {
  CheckIndex(ACol, ARow);
  auto& row = FCells[ARow];
  TCell& cell = row[ACol];
  Change(cell);
  if (cell.Text.empty() && cell.Object == nullptr) {
    row.erase(ACol);
    if (row.empty()) FCells.erase(ARow);
  }
  InvalidateCell(ACol, ARow);
}

void TStringGrid::SetCells(int ACol, int ARow, const String& Value) {
  Store(ACol, ARow, [&](TCell& c) { c.Text = Value; });
}

void TStringGrid::SetObjects(int ACol, int ARow, TObject* Value) {
  Store(ACol, ARow, [&](TCell& c) { c.Object = Value; });
}

void TStringGrid::ClearCells() {
  FCells.clear();
  Invalidate();
}

size_t TStringGrid::StoredCellCount() const {
  size_t n = 0;
  for (const auto& [r, row] : FCells) n += row.size();
  return n;
}

void TStringGrid::ForEachObject(const TGridRect& R,
                                const std::function<void(int ACol, int ARow, TObject* Obj)>& Visit) {
  std::vector<std::tuple<int, int, TObject*>> found;
  for (auto row = FCells.lower_bound(R.Top); row != FCells.end() && row->first <= R.Bottom; ++row)
    for (auto cell = row->second.lower_bound(R.Left); cell != row->second.end() && cell->first <= R.Right; ++cell)
      if (cell->second.Object != nullptr) found.emplace_back(cell->first, row->first, cell->second.Object);
  for (auto [c, r, obj] : found) Visit(c, r, obj);
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
  if (DefaultDrawing()) Canvas()->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, Cells(ACol, ARow));
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

namespace {

// Moves the entries keyed From to To in a map, those between shifting by one.
template <class Map>
void MoveKeys(Map& m, int From, int To) {
  std::vector<typename Map::node_type> moved;
  for (auto it = m.lower_bound(std::min(From, To)); it != m.end() && it->first <= std::max(From, To);)
    moved.push_back(m.extract(it++));
  for (auto& node : moved) {
    node.key() = GridMovedIndex(node.key(), From, To);
    m.insert(std::move(node));
  }
}

}  // namespace

void TStringGrid::MoveCells(bool IsRow, int From, int To) {
  if (IsRow) {
    MoveKeys(FCells, From, To);
    return;
  }
  for (auto& [r, row] : FCells) MoveKeys(row, From, To);
}

void TStringGrid::DropCells(bool IsRow, int Index) {
  if (IsRow) {
    FCells.erase(Index);
    return;
  }
  for (auto it = FCells.begin(); it != FCells.end();) {
    it->second.erase(Index);
    it = it->second.empty() ? FCells.erase(it) : std::next(it);
  }
}

void TStringGrid::ColumnMoved(int FromIndex, int ToIndex) {
  MoveCells(false, FromIndex, ToIndex);
  TCustomGrid::ColumnMoved(FromIndex, ToIndex);
}

void TStringGrid::RowMoved(int FromIndex, int ToIndex) {
  MoveCells(true, FromIndex, ToIndex);
  TCustomGrid::RowMoved(FromIndex, ToIndex);
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
