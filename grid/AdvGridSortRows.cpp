// DEreDuzeroVaro: sorting rows by a column, by the sort indexes and within node groups, the
// return to the unsorted order, and the sort settings text.
//
// A sort orders the rows' indexes (Hoare quicksort, middle pivot, as the grid has always
// partitioned), comparing cells through keys made once per cell; then the rows take their
// places in one pass with everything that travels (the stored rows move whole: texts, and
// the cells' objects by reference).
// Nothing is compared while rows move, so no scratch rows are needed and the display hooks
// see each cell at its own row.

#include <algorithm>
#include <numeric>
#include <vector>

#include "grid/AdvGrid.h"
#include "grid/AdvGridSortKeys.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/SysUtils.h"

// ===========================================================================
// The engine

namespace {

// Hoare partitioning around the middle item: left of the pivot move the items for which
// Compare(pivot, item) is Target, right of it those for which Compare(item, pivot) is; items
// comparing equal are exchanged only with SwapEqual. The smaller part is sorted by recursion
// and the larger one by the loop, so that the depth stays logarithmic whatever the data.
template <typename T, typename C>
void QuickSortItems(std::vector<T>& Items, int Start, int End, const C& Compare, int Target, bool SwapEqual,
                    int& Swaps) {
  while (Start < End) {
    const T pivot = Items[static_cast<size_t>((Start + End) / 2)];
    int i = Start, j = End;
    do {
      while (Compare(pivot, Items[static_cast<size_t>(i)]) == Target && i < End) ++i;
      while (Compare(Items[static_cast<size_t>(j)], pivot) == Target && Start < j) --j;
      if (i <= j) {
        if (i != j && (SwapEqual || Compare(Items[static_cast<size_t>(i)], Items[static_cast<size_t>(j)]) != 0)) {
          std::swap(Items[static_cast<size_t>(i)], Items[static_cast<size_t>(j)]);
          ++Swaps;
        }
        ++i;
        --j;
      }
    } while (i <= j);
    if (j - Start < End - i) {
      if (Start < j) QuickSortItems(Items, Start, j, Compare, Target, SwapEqual, Swaps);
      Start = i;
    } else {
      if (i < End) QuickSortItems(Items, i, End, Compare, Target, SwapEqual, Swaps);
      End = j;
    }
  }
}

}  // namespace

namespace {

// Entries First..First+n-1 of a list take the entries at Order (absolute indexes); entries
// outside the list stay.
template <typename Get, typename Set>
void PermuteEntries(int Count, int First, const std::vector<int>& Order, Get get, Set set) {
  const int n = static_cast<int>(Order.size());
  std::vector<std::pair<int, decltype(get(0))>> moved;
  for (int k = 0; k < n; ++k) {
    const int from = Order[static_cast<size_t>(k)], to = First + k;
    if (from != to && from < Count && to < Count) moved.emplace_back(to, get(from));
  }
  for (auto& [to, value] : moved) set(to, value);
}

}  // namespace

void DEreDuzeroVaro::MoveRowsToOrder(int Start, const std::vector<int>& Order, int SingleColumn) {
  const int n = static_cast<int>(Order.size());
  bool same = true;
  for (int k = 0; k < n && same; ++k) same = Order[static_cast<size_t>(k)] == Start + k;
  if (same) return;

  PermuteEntries(
      FSortRowXRef->Count(), Start, Order, [this](int r) { return FSortRowXRef->Items(r); },
      [this](int r, int v) { FSortRowXRef->SetItems(r, v); });
  if (FSortRow >= Start && FSortRow < Start + n) {
    for (int k = 0; k < n; ++k)
      if (Order[static_cast<size_t>(k)] == FSortRow) {
        FSortRow = Start + k;
        break;
      }
  }

  if (SingleColumn >= 0) {
    // Only the sort column's texts and objects change places.
    std::vector<String> texts(static_cast<size_t>(n));
    std::vector<TObject*> objects(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) {
      texts[static_cast<size_t>(k)] = GridCells(SingleColumn, Order[static_cast<size_t>(k)]);
      objects[static_cast<size_t>(k)] = GridObjects(SingleColumn, Order[static_cast<size_t>(k)]);
    }
    for (int k = 0; k < n; ++k) {
      SetGridCells(SingleColumn, Start + k, texts[static_cast<size_t>(k)]);
      SetGridObjects(SingleColumn, Start + k, objects[static_cast<size_t>(k)]);
    }
    return;
  }

  // Texts and objects of every stored column (hidden ones included) and the heights, in one
  // pass over the stored rows.
  std::vector<int> relative(static_cast<size_t>(n));
  for (int k = 0; k < n; ++k) relative[static_cast<size_t>(k)] = Order[static_cast<size_t>(k)] - Start;
  PermuteRows(Start, Order);

  // The disjunct row marks move with their rows when the rows move on a sort; persistent
  // marks belong to real rows.
  if (FMouseActions->DisjunctRowSelect() && FNavigation->MoveRowOnSort() && !FRowSelect.empty()) {
    const bool real = FMouseActions->RowSelectPersistent() && NumHiddenRows() > 0;
    std::vector<int> index(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) index[static_cast<size_t>(k)] = real ? RealRowIndex(Start + k) : Start + k;
    std::vector<int> markOrder(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) markOrder[static_cast<size_t>(k)] = index[static_cast<size_t>(relative[static_cast<size_t>(k)])];
    std::vector<bool> marks(static_cast<size_t>(n));
    const int count = static_cast<int>(FRowSelect.size());
    for (int k = 0; k < n; ++k) {
      const int from = markOrder[static_cast<size_t>(k)];
      marks[static_cast<size_t>(k)] = from < count && FRowSelect[static_cast<size_t>(from)];
    }
    for (int k = 0; k < n; ++k) {
      const int to = index[static_cast<size_t>(k)];
      if (to < count) FRowSelect[static_cast<size_t>(to)] = marks[static_cast<size_t>(k)];
    }
  }
  if (FShowModified->Enabled())
    PermuteEntries(
        FModifiedRows->Count(), Start, Order, [this](int r) { return FModifiedRows->Items(r); },
        [this](int r, int v) { FModifiedRows->SetItems(r, v); });
}

void DEreDuzeroVaro::SortSwapRows(int ARow1, int ARow2) {
  ++FSwaps;
  if (ARow1 == ARow2) return;
  const int lo = std::min(ARow1, ARow2), hi = std::max(ARow1, ARow2);
  std::vector<int> order(static_cast<size_t>(hi - lo + 1));
  std::iota(order.begin(), order.end(), lo);
  std::swap(order.front(), order.back());
  MoveRowsToOrder(lo, order, SortSettings()->SingleColumn() ? SortSettings()->Column() : -1);
}

void DEreDuzeroVaro::InitSortXRef() {
  FSortRowXRef->Clear();
  for (int r = 0; r < RowCount(); ++r) FSortRowXRef->Add(r);
}

// ===========================================================================
// Row ranges

void DEreDuzeroVaro::QuickSortRows(int ACol, int Start, int End) {
  FSortDir = SortSettings()->Direction() == sdDescending ? -1 : 1;
  if (Start >= End) return;
  TSortKeys keys(this, true);
  std::vector<int> order;
  std::vector<TSortKeys::TDenseItem> items;
  if (!IsIgnoredColumn(ACol) && keys.Dense(ACol, Start, End, items)) {
    // The sort column's values lie in one array; only ties look at the columns to its right.
    const TSortDirection dir = SortSettings()->Direction();
    const bool full = SortSettings()->Full() && ACol < AllColCount() - 1;
    QuickSortItems(
        items, 0, End - Start,
        [&](const TSortKeys::TDenseItem& a, const TSortKeys::TDenseItem& b) {
          ++FCompares;
          const int r = keys.DenseCompare(a, b, dir);
          return r != 0 || !full ? r : CompareRowsFromKeys(keys, ACol + 1, a.Row, b.Row);
        },
        FSortDir, false, FSwaps);
    order.reserve(items.size());
    for (const auto& item : items) order.push_back(item.Row);
  } else {
    order.resize(static_cast<size_t>(End - Start + 1));
    std::iota(order.begin(), order.end(), Start);
    QuickSortItems(
        order, 0, End - Start, [&](int a, int b) { return CompareRowsFromKeys(keys, ACol, a, b); }, FSortDir, false,
        FSwaps);
  }
  MoveRowsToOrder(Start, order, SortSettings()->SingleColumn() ? ACol : -1);
}

void DEreDuzeroVaro::QuickSortRowsIndexed(int Index, int Start, int End) {
  if (Start >= End) return;
  TSortKeys keys(this, true);
  std::vector<int> order(static_cast<size_t>(End - Start + 1));
  std::iota(order.begin(), order.end(), Start);
  QuickSortItems(
      order, 0, End - Start, [&](int a, int b) { return CompareRowsIndexedKeys(keys, Index, a, b); }, 1, true, FSwaps);
  const int col = SortSettings()->Column();
  MoveRowsToOrder(Start, order, SortSettings()->SingleColumn() && col >= 0 ? col : -1);
}

void DEreDuzeroVaro::QuickSortUnsort(int Start, int End) {
  const int last = std::min(End, FUnSortRowXRef->Count() - 1);
  if (Start >= last) return;
  std::vector<int> entries(static_cast<size_t>(last + 1));
  for (int r = Start; r <= last; ++r) entries[static_cast<size_t>(r)] = FUnSortRowXRef->Items(r);
  std::vector<int> order(static_cast<size_t>(last - Start + 1));
  std::iota(order.begin(), order.end(), Start);
  QuickSortItems(
      order, 0, last - Start,
      [&entries](int a, int b) {
        const int x = entries[static_cast<size_t>(a)], y = entries[static_cast<size_t>(b)];
        return x < y ? -1 : (x > y ? 1 : 0);
      },
      1, false, FSwaps);
  for (int k = 0; k < static_cast<int>(order.size()); ++k)
    FUnSortRowXRef->SetItems(Start + k, entries[static_cast<size_t>(order[static_cast<size_t>(k)])]);
  MoveRowsToOrder(Start, order, SortSettings()->SingleColumn() ? SortSettings()->Column() : -1);
}

void DEreDuzeroVaro::QuickSort(int ACol, int Left, int Right) { QuickSortRows(ACol, Left, Right); }

void DEreDuzeroVaro::QuickSortIndexed(int Left, int Right) { QuickSortRowsIndexed(0, Left, Right); }

// ===========================================================================
// The sorts of the grid

void DEreDuzeroVaro::RunSort(bool Indexed, bool Group, const std::function<void()>& Body) {
  const int first = TCustomGrid::FixedRows(), last = RowCount() - 1 - FixedFooters();
  // The fixed first column stays where it is with NormalCellsOnly.
  std::vector<std::pair<String, TObject*>> column0;
  const bool keepColumn0 = SortSettings()->NormalCellsOnly() && FixedCols() > 0;
  if (keepColumn0)
    for (int r = first; r <= last; ++r) column0.emplace_back(GridCells(0, r), GridObjects(0, r));
  const int top = TopRow();
  BeginUpdate();
  FSortRow = Row();
  const int oldRow = Row();
  bool done = false;
  TScopeGuard restore([&] {
    const bool disjunct = FMouseActions->DisjunctRowSelect();
    const bool moveRow = FNavigation->MoveRowOnSort();
    if ((Indexed || Group || !disjunct) && moveRow && FSortRow >= 0 && FSortRow < RowCount()) SetRow(FSortRow);
    if (done && !Indexed && !Group && !moveRow && OnRowUpdate) OnRowUpdate(this, oldRow, Row());
    if (keepColumn0)
      for (int r = first; r <= last && r - first < static_cast<int>(column0.size()); ++r) {
        SetGridCells(0, r, column0[static_cast<size_t>(r - first)].first);
        SetGridObjects(0, r, column0[static_cast<size_t>(r - first)].second);
      }
    if (FNavigation->KeepScrollOnSort()) SetTopRow(top);
    EndUpdate();
  });
  Body();
  done = true;
}

void DEreDuzeroVaro::QSort() {
  const int col = SortSettings()->Column();
  if (col < 0) return;
  if (RowCount() != FSortRowXRef->Count()) InitSortXRef();
  FSortIndexes->Clear();
  RunSort(false, false, [&] { QuickSortRows(col, TCustomGrid::FixedRows(), RowCount() - 1 - FixedFooters()); });
}

void DEreDuzeroVaro::QSortIndexed() {
  if (RowCount() != FSortRowXRef->Count()) InitSortXRef();
  if (FSortIndexes->Count() == 0) throw VUreReriVorov(u"No indexes specified for indexed sort");
  RunSort(true, false, [&] { QuickSortRowsIndexed(0, TCustomGrid::FixedRows(), RowCount() - 1 - FixedFooters()); });
}

void DEreDuzeroVaro::ForEachDeepestGroup(const std::function<void(int From, int To)>& Sort) {
  const int first = TCustomGrid::FixedRows(), last = RowCount() - 1 - FixedFooters();
  // A node's level is kept in its column-0 record, its span (node row included; 0: up to
  // the next node row) and contraction in its column-0 graphic.
  auto level = [this](int r) {
    auto* props = dynamic_cast<TCellProperties*>(GridObjects(0, r));
    return props ? props->NodeLevel() : 0;
  };
  int deepest = 0;
  for (int r = first; r <= last; ++r)
    if (IsNode(r)) deepest = std::max(deepest, level(r));
  for (int r = first; r <= last; ++r) {
    if (!IsNode(r) || level(r) != deepest) continue;
    TCellGraphic* g = GetCellGraphic(0, r);
    if (g == nullptr || g->CellBoolean()) continue;  // contracted
    int span = g->CellIndex();
    if (span == 0) {
      span = 1;
      while (r + span <= last && !IsNode(r + span)) ++span;
    }
    if (span > 2) Sort(r + 1, std::min(r + span - 1, last));
  }
}

void DEreDuzeroVaro::QSortGroup() {
  if (RowCount() != FSortRowXRef->Count()) InitSortXRef();
  const int col = SortSettings()->Column();
  RunSort(false, true, [&] {
    ForEachDeepestGroup([&](int From, int To) {
      if (col >= 0) QuickSortRows(col, From, To);
    });
  });
}

void DEreDuzeroVaro::QSortGroupIndexed() {
  if (RowCount() != FSortRowXRef->Count()) InitSortXRef();
  RunSort(true, true, [&] {
    ForEachDeepestGroup([&](int From, int To) {
      if (FSortIndexes->Count() > 0) QuickSortRowsIndexed(0, From, To);
    });
  });
}

void DEreDuzeroVaro::QUnSort() {
  FUnSortRowXRef->Clear();
  for (int i = 0; i < FSortRowXRef->Count(); ++i) FUnSortRowXRef->Add(FSortRowXRef->Items(i));
  std::vector<std::pair<String, TObject*>> column0;
  const bool keepColumn0 = SortSettings()->NormalCellsOnly() && FixedCols() > 0;
  if (keepColumn0)
    for (int r = 0; r < RowCount(); ++r) column0.emplace_back(GridCells(0, r), GridObjects(0, r));
  BeginUpdate();
  TScopeGuard restore([&] {
    if (keepColumn0)
      for (int r = 0; r < RowCount() && r < static_cast<int>(column0.size()); ++r) {
        SetGridCells(0, r, column0[static_cast<size_t>(r)].first);
        SetGridObjects(0, r, column0[static_cast<size_t>(r)].second);
      }
    EndUpdate();
  });
  QuickSortUnsort(0, RowCount() - 1);
}

void DEreDuzeroVaro::HeaderSortIndexed(int ACol, bool IndexKeyDown) {
  const bool initAscending = SortSettings()->InitSortDirection() == sdAscending;
  if (IndexKeyDown) {
    if (FSortIndexes->FindIndex(ACol) < 0) FSortIndexes->AddIndex(ACol, initAscending);
    else FSortIndexes->ToggleIndex(ACol);
  } else if (FSortIndexes->Count() == 1 && FSortIndexes->FindIndex(ACol) == 0) {
    FSortIndexes->ToggleIndex(ACol);
  } else {
    FSortIndexes->Clear();
    FSortIndexes->AddIndex(ACol, initAscending);
  }
  bool nodes = false;
  for (int r = TCustomGrid::FixedRows(); r < RowCount() && !nodes; ++r) nodes = IsNode(r);
  if (nodes) QSortGroupIndexed();
  else QSortIndexed();
  // The sort column is the first entry's column; its direction comes from the entry's flag.
  if (FSortIndexes->Count() == 0) {
    SortSettings()->SetColumn(-1);
    return;
  }
  const uint32_t e = static_cast<uint32_t>(FSortIndexes->Items(0));
  SortSettings()->SetColumn(static_cast<int>(e & ~TSortIndexList::DescendingBit));
  SortSettings()->SetDirection((e & TSortIndexList::DescendingBit) != 0 ? sdDescending : sdAscending);
}

// ===========================================================================
// The sort settings text

void DEreDuzeroVaro::LoadSortSettingsFromString(const String& Value) {
  if (Value.empty()) return;
  TSortSettings* s = SortSettings();
  s->SetShow(true);
  if (Value.size() < 2) throw Exception(u"Invalid sort settings specifier");
  if (Value.find(u"i;") == String::npos) {
    s->SetIndexShow(false);
    s->SetDirection(Value.find(u'u') != String::npos ? sdAscending : sdDescending);
    int col = 0;
    if (!TryStrToInt(Value.substr(1), col)) return;
    s->SetColumn(col);
    QSort();
    return;
  }
  s->SetIndexShow(true);
  const String rest = Value.substr(2);
  if (rest.empty()) return;
  FSortIndexes->LoadFromString(rest);
  QSortIndexed();
}
