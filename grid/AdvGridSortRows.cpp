// DEreDuzeroVaro: sorting rows by a column, by the sort indexes and within node groups, the
// return to the unsorted order, and the sort settings text.
//
// A sort orders the rows' indexes by a stable merge sort (rows that compare equal keep their
// order), comparing each column through keys made once per row; then the rows take their
// places in one pass with everything that travels (the stored rows move whole: texts, and
// the cells' objects by reference).
// Nothing is compared while rows move, so no scratch rows are needed and the display hooks
// see each cell at its own row.

#include <algorithm>
#include <memory>
#include <numeric>
#include <vector>

#include "grid/AdvGrid.h"
#include "grid/AdvGridSortKeys.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/SysUtils.h"

// ===========================================================================
// The engine

namespace {

// A stable merge sort: Before(x, y) is True when x must stand before y; items for which
// neither is before the other keep their order. Whatever Before answers (an application's
// comparison need not be consistent), the items end up rearranged, never lost or repeated.
template <typename T, typename B>
void MergeSortItems(std::vector<T>& Items, const B& Before) {
  const size_t n = Items.size();
  constexpr size_t run = 16;
  // Short runs by insertion.
  for (size_t lo = 0; lo < n; lo += run) {
    const size_t hi = std::min(n, lo + run);
    for (size_t i = lo + 1; i < hi; ++i) {
      const T v = Items[i];
      size_t j = i;
      for (; j > lo && Before(v, Items[j - 1]); --j) Items[j] = Items[j - 1];
      Items[j] = v;
    }
  }
  if (n <= run) return;
  // The buffer is not cleared first: every item of it is written before it is read.
  std::unique_ptr<T[]> buffer(new T[n]);
  T* from = Items.data();
  T* to = buffer.get();
  for (size_t width = run; width < n; width *= 2) {
    for (size_t lo = 0; lo < n; lo += 2 * width) {
      const size_t mid = std::min(n, lo + width), hi = std::min(n, lo + 2 * width);
      const T* src = from;
      T* dst = to;
      size_t i = lo, j = mid, k = lo;
      // Two runs already in order are copied as they stand.
      if (mid < hi && Before(src[mid], src[mid - 1])) {
        while (i < mid && j < hi) dst[k++] = Before(src[j], src[i]) ? src[j++] : src[i++];
      }
      while (i < mid) dst[k++] = src[i++];
      while (j < hi) dst[k++] = src[j++];
    }
    std::swap(from, to);
  }
  if (from != Items.data()) std::copy(from, from + n, Items.begin());
}

// The row exchanges a permutation amounts to: its length less its number of cycles.
int ExchangesOf(const std::vector<int>& Order, int Start) {
  const size_t n = Order.size();
  std::vector<bool> seen(n, false);
  int exchanges = 0;
  for (size_t k = 0; k < n; ++k) {
    if (seen[k]) continue;
    for (size_t at = k; !seen[at]; at = static_cast<size_t>(Order[at] - Start)) {
      seen[at] = true;
      ++exchanges;
    }
    --exchanges;
  }
  return exchanges;
}

}  // namespace

// The columns that order two rows of a range, each column's keys made once per row on its
// first use: the sort column and, with Full, the columns to its right; or the sort index
// entries. A column of IgnoreColumns never decides.
class DEreDuzeroVaro::TRowOrder {
public:
  TRowOrder(DEreDuzeroVaro& Grid, int Start, int End) : FKeys(&Grid, true), FStart(Start), FEnd(End) {}
  void Add(int ACol, TSortDirection Direction, bool Negate) { FLinks.push_back({ACol, Direction, Negate, nullptr}); }
  // -1, 0 or 1 for rows Start + A and Start + B, by the columns from the From-th on.
  int Compare(int A, int B, size_t From = 0) {
    for (size_t i = From; i < FLinks.size(); ++i) {
      int r = Column(FLinks[i]).Compare(A, B);
      if (FLinks[i].Negate) r = -r;
      if (r != 0) return r;
    }
    return 0;
  }
  // The rows (relative to Start) in their sorted order, stable: a row goes before another
  // when Compare gives Before for them.
  std::vector<int> Sort(int Before, int& Compares) {
    const int n = FEnd - FStart + 1;
    std::vector<int> order(static_cast<size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    if (FLinks.empty()) return order;
    TSortColumn& first = Column(FLinks.front());
    if (!first.Dense()) {
      MergeSortItems(order, [this, Before](int a, int b) { return Compare(a, b) == Before; });
      return order;
    }
    // The first column's keys sit beside the row numbers, so that most comparisons read
    // nothing else; the other columns are asked on a tie. Empty cells placed apart by
    // IgnoreBlanks are sorted among themselves.
    first.MakeAll();
    const bool descending = (Before == 1) != FLinks.front().Negate;
    std::vector<int> blanks;
    if (first.PlacesBlanks()) {
      std::vector<int> filled;
      for (int i : order) (first.Empty(static_cast<size_t>(i)) ? blanks : filled).push_back(i);
      order.swap(filled);
    }
    const bool ties = FLinks.size() > 1;
    auto tie = [this, Before, ties](int a, int b) { return ties && Compare(a, b, 1) == Before; };
    auto sortPart = [&](std::vector<int>& Part) {
      if (first.Numeric()) {
        struct TItem {
          double Key;
          int Index;
        };
        std::vector<TItem> items;
        items.reserve(Part.size());
        for (int i : Part) {
          const double v = first.Number(static_cast<size_t>(i));
          items.push_back({descending ? -v : v, i});
        }
        MergeSortItems(items, [&](const TItem& a, const TItem& b) {
          ++Compares;
          if (a.Key != b.Key) return a.Key < b.Key;
          return tie(a.Index, b.Index);
        });
        for (size_t k = 0; k < items.size(); ++k) Part[k] = items[k].Index;
      } else {
        struct TItem {
          uint64_t K0, K1;
          int Index;
          bool Complete;
        };
        std::vector<TItem> items(Part.size());
        for (size_t k = 0; k < Part.size(); ++k) {
          items[k].Index = Part[k];
          first.Pack(static_cast<size_t>(Part[k]), items[k].K0, items[k].K1, items[k].Complete);
        }
        MergeSortItems(items, [&](const TItem& a, const TItem& b) {
          ++Compares;
          int r = a.K0 != b.K0 ? (a.K0 < b.K0 ? -1 : 1) : (a.K1 != b.K1 ? (a.K1 < b.K1 ? -1 : 1) : 0);
          if (r == 0 && !(a.Complete && b.Complete))
            r = first.CompareKeys(static_cast<size_t>(a.Index), static_cast<size_t>(b.Index));
          if (r != 0) return descending ? r > 0 : r < 0;
          return tie(a.Index, b.Index);
        });
        for (size_t k = 0; k < items.size(); ++k) Part[k] = items[k].Index;
      }
    };
    sortPart(order);
    if (!blanks.empty()) {
      sortPart(blanks);
      if (first.BlanksFirst()) order.insert(order.begin(), blanks.begin(), blanks.end());
      else order.insert(order.end(), blanks.begin(), blanks.end());
    }
    return order;
  }

private:
  struct TLink {
    int Col;
    TSortDirection Direction;
    bool Negate;
    std::unique_ptr<TSortColumn> Keys;
  };
  TSortColumn& Column(TLink& Link) {
    if (!Link.Keys)
      Link.Keys = std::make_unique<TSortColumn>(FKeys, Link.Col, FStart, FEnd, Link.Direction, &Link != &FLinks.front());
    return *Link.Keys;
  }
  TSortKeys FKeys;
  int FStart, FEnd;
  std::vector<TLink> FLinks;
};

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

void DEreDuzeroVaro::SortRange(TRowOrder& Order, int Start, int Before, int SingleColumn) {
  std::vector<int> order = Order.Sort(Before, FCompares);
  for (int& r : order) r += Start;
  FSwaps += ExchangesOf(order, Start);
  MoveRowsToOrder(Start, order, SingleColumn);
}

void DEreDuzeroVaro::QuickSortRows(int ACol, int Start, int End) {
  FSortDir = SortSettings()->Direction() == sdDescending ? -1 : 1;
  if (Start >= End) return;
  TRowOrder order(*this, Start, End);
  const TSortDirection dir = SortSettings()->Direction();
  const int last = SortSettings()->Full() ? AllColCount() - 1 : ACol;
  for (int c = ACol; c <= last; ++c)
    if (!IsIgnoredColumn(c)) order.Add(c, dir, false);
  SortRange(order, Start, -FSortDir, SortSettings()->SingleColumn() ? ACol : -1);
}

void DEreDuzeroVaro::QuickSortRowsIndexed(int Index, int Start, int End) {
  if (Start >= End) return;
  TRowOrder order(*this, Start, End);
  const int last = SortSettings()->Full() ? FSortIndexes->Count() - 1 : Index;
  for (int i = Index; i <= last && i < FSortIndexes->Count(); ++i) {
    const uint32_t e = static_cast<uint32_t>(FSortIndexes->Items(i));
    const bool descending = (e & TSortIndexList::DescendingBit) != 0;
    const int col = static_cast<int>(e & ~TSortIndexList::DescendingBit);
    if (!IsIgnoredColumn(col)) order.Add(col, descending ? sdDescending : sdAscending, descending);
  }
  const int col = SortSettings()->Column();
  SortRange(order, Start, -1, SortSettings()->SingleColumn() && col >= 0 ? col : -1);
}

void DEreDuzeroVaro::QuickSortUnsort(int Start, int End) {
  const int last = std::min(End, FUnSortRowXRef->Count() - 1);
  if (Start >= last) return;
  std::vector<int> entries(static_cast<size_t>(last + 1));
  for (int r = Start; r <= last; ++r) entries[static_cast<size_t>(r)] = FUnSortRowXRef->Items(r);
  std::vector<int> order(static_cast<size_t>(last - Start + 1));
  std::iota(order.begin(), order.end(), Start);
  MergeSortItems(order,
                 [&entries](int a, int b) { return entries[static_cast<size_t>(a)] < entries[static_cast<size_t>(b)]; });
  for (int k = 0; k < static_cast<int>(order.size()); ++k)
    FUnSortRowXRef->SetItems(Start + k, entries[static_cast<size_t>(order[static_cast<size_t>(k)])]);
  FSwaps += ExchangesOf(order, Start);
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
