// DEreDuzeroVaro: grouping rows under node headers by the values of a column, a second level
// of sub-groups, and the way back to the flat table.
#include <vector>

#include "grid/AdvGrid.h"
#include "platform/rtl/ScopeGuard.h"

namespace {

// The mark for "no value seen yet": two private-use characters no cell is expected to hold.
const String NoValue = String(u"\uF8F3\uF8F2");

TColor RGBOf(TColor Color) { return static_cast<TColor>(ColorToRGB(Color)); }

}  // namespace

// ===========================================================================
// Colours of header and summary rows

void DEreDuzeroVaro::SetGroupRowColors(int ARow, bool Header) {
  TGrouping* g = FGrouping.get();
  const TColor color = Header ? g->HeaderColor() : g->SummaryColor();
  const TColor colorTo = Header ? g->HeaderColorTo() : g->SummaryColorTo();
  const TColor text = Header ? g->HeaderTextColor() : g->SummaryTextColor();
  if (color != clNone) SetRowColor(ARow, RGBOf(color));
  if (colorTo != clNone) SetRowColorTo(ARow, RGBOf(colorTo));
  if (text != clNone) SetRowFontColor(ARow, RGBOf(text));
}

void DEreDuzeroVaro::SetGroupCellColors(int ACol, int ARow, bool Header) {
  TGrouping* g = FGrouping.get();
  const TColor color = Header ? g->HeaderColor() : g->SummaryColor();
  const TColor colorTo = Header ? g->HeaderColorTo() : g->SummaryColorTo();
  const TColor text = Header ? g->HeaderTextColor() : g->SummaryTextColor();
  if (color != clNone) SetColors(ACol, ARow, RGBOf(color));
  if (colorTo != clNone) SetColorsTo(ACol, ARow, RGBOf(colorTo));
  if (text != clNone) SetFontColors(ACol, ARow, RGBOf(text));
}

void DEreDuzeroVaro::ResetGroupRowColors(int ARow, bool Header) {
  TGrouping* g = FGrouping.get();
  if ((Header ? g->HeaderColor() : g->SummaryColor()) != clNone) SetRowColor(ARow, clNone);
  if ((Header ? g->HeaderColorTo() : g->SummaryColorTo()) != clNone) SetRowColorTo(ARow, clNone);
  if ((Header ? g->HeaderTextColor() : g->SummaryTextColor()) != clNone) SetRowFontColor(ARow, clNone);
}

// ===========================================================================
// Grouping

void DEreDuzeroVaro::SetGroupColumn(int Value) {
  if (Value == -1) UnGroup();
  else if (Value > 0) Group(Value);
}

void DEreDuzeroVaro::Group(int Colindex) {
  const int k = Colindex;
  if (k < FixedCols() || k >= AllColCount()) return;
  if (FGroupColumn != -1) UnGroup();
  if (RowCount() - FixedRows() < 1) return;
  BeginUpdate();
  TScopeGuard end([this] { EndUpdate(); });

  FGroupColumn = k;
  FGroupWidth = AllColWidths(k);
  if (FixedRows() > 0) FGroupCaption = GridCells(k, 0);
  if (FixedFooters() > 0) FGroupFooter = GridCells(k, RowCount() - 1);
  // The header text goes to the column that is column 1 once column k is gone.
  const int H = k == 1 ? 2 : 1;
  if (FSortSettings->AutoSortForGrouping()) {
    FSortSettings->SetColumn(k);
    QSort();
  }
  const bool summary = FGrouping->Summary();
  // The runs of equal raw texts between the fixed rows and the fixed footers.
  struct TRun {
    int Start, Count;
    String Value;
  };
  std::vector<TRun> runs;
  const int first = FixedRows(), last = RowCount() - 1 - FixedFooters();
  for (int r = first; r <= last; ++r) {
    String v = GridCells(k, r);
    if (runs.empty() || v != runs.back().Value) runs.push_back({r, 1, std::move(v)});
    else ++runs.back().Count;
  }
  if (!runs.empty()) {
    // A header row above each run and, with Summary, a summary row after it: the new rows are
    // added in one block below the runs and every row is then put at its place in one pass.
    const int per = summary ? 2 : 1;
    InsertRows(last + 1, static_cast<int>(runs.size()) * per);
    std::vector<int> order;
    order.reserve(static_cast<size_t>(last + 1 - first) + runs.size() * static_cast<size_t>(per));
    int added = last + 1;
    for (const TRun& run : runs) {
      order.push_back(added++);
      for (int i = 0; i < run.Count; ++i) order.push_back(run.Start + i);
      if (summary) order.push_back(added++);
    }
    MoveRowsToOrder(first, order, -1);
    int row = first;
    for (const TRun& run : runs) {
      const int header = row;
      SetCells(H, header, run.Value);
      if (!FGrouping->MergeHeader()) SetGroupRowColors(header, true);
      AddNode(DisplToRealRow(header), run.Count + 1);
      row += run.Count + 1;
      if (summary) {
        MarkSummaryRow(DisplToRealRow(row));
        if (!FGrouping->MergeSummary()) SetGroupRowColors(row, false);
        ++row;
      }
    }
  }
  RemoveCols(k, 1);

  const bool mergeSummary = FGrouping->MergeSummary() && summary;
  if (FGrouping->MergeHeader() || mergeSummary) {
    for (int row = FixedRows(); row < RowCount(); ++row) {
      if (IsNode(row) && FGrouping->MergeHeader()) {
        MergeCells(1, row, ColCount() - 1, 1);
        SetGroupCellColors(1, row, true);
      } else if (mergeSummary && ((row + 1 < RowCount() && IsNode(row + 1)) || row == RowCount() - FixedFooters() - 1)) {
        MergeCells(1, row, ColCount() - 1, 1);
        SetGroupCellColors(1, row, false);
      }
    }
  }
  if (FCellNode->ExpandOne()) {
    for (int row = FixedRows(); row < RowCount(); ++row)
      if (IsNode(row)) {
        ExpandNode(DisplToRealRow(row));
        break;
      }
  }
  if (Col() < 0 || Col() >= ColCount() || Row() < 0 || Row() >= RowCount())
    MoveCurrentCell(FixedCols(), FixedRows());
  if (FixedRows() < RowCount()) SetRow(FixedRows());
}

void DEreDuzeroVaro::UnGroup() {
  if (FGroupColumn <= 0) return;
  const bool expandOne = FCellNode->ExpandOne();
  FCellNode->SetExpandOne(false);
  TScopeGuard restore([this, expandOne] { FCellNode->SetExpandOne(expandOne); });
  BeginUpdate();
  TScopeGuard end([this] { EndUpdate(); });
  ExpandAll();
  const int k = FGroupColumn;
  const int H = k == 1 ? 2 : 1;
  InsertCols(k, 1);
  SetAllColWidths(k, FGroupWidth);
  if (FixedRows() > 0) SetCells(k, 0, FGroupCaption);
  if (FixedFooters() > 0) SetCells(k, RowCount() - 1, FGroupFooter);
  // Header and summary rows are emptied in place and removed together at the end, so that the
  // rows below move up once.
  std::vector<int> drop;
  std::vector<bool> dropped(static_cast<size_t>(RowCount()), false);
  String t;
  for (int r = FixedRows(); r <= RowCount() - FixedFooters() - 1; ++r) {
    if (dropped[static_cast<size_t>(r)]) continue;
    if (!IsNode(r)) {
      // A summary row takes no group value.
      if (!IsSummary(r)) SetCells(k, r, t);
      continue;
    }
    const int s = r + ResolvedSpan(r);
    // Only a true summary row after the group goes; a data row there stays.
    if (FGrouping->Summary() && s < RowCount() && IsSummary(s)) {
      if (FGrouping->MergeSummary()) SplitCells(1, s);
      else ResetGroupRowColors(s, false);
      ClearRect(0, s, ColCount() - 1, s);
      dropped[static_cast<size_t>(s)] = true;
    }
    t = GridCells(H, r);
    RemoveNode(DisplToRealRow(r));
    FreeCellProperties(0, r);
    if (FGrouping->MergeHeader()) SplitCells(1, r);
    else ResetGroupRowColors(r, true);
    ClearRect(0, r, ColCount() - 1, r);
    dropped[static_cast<size_t>(r)] = true;
  }
  for (int r = 0; r < static_cast<int>(dropped.size()); ++r)
    if (dropped[static_cast<size_t>(r)]) drop.push_back(r);
  RemoveRowList(drop, false);
  FGroupColumn = -1;
  Invalidate();
}

// ===========================================================================
// Sub-groups

void DEreDuzeroVaro::SubGroup(int Colindex) {
  const int k2 = Colindex;
  if (k2 < FixedCols() || k2 >= AllColCount()) return;
  BeginUpdate();
  TScopeGuard end([this] { EndUpdate(); });
  const int H = k2 + 1;
  auto closeRun = [&](int Prev, int R) {
    AddNode(DisplToRealRow(Prev), R - Prev);
    NodeGraphic(Prev)->SetCellVar(int32_t(k2));
  };
  int prev = -1, r = FixedRows() + 1;
  String last = NoValue;
  while (r < RowCount() - FixedFooters()) {
    const String v = Cells(k2, r);
    const bool nodeOrSummary = IsNode(r) || IsSummary(r);
    if (v != last || nodeOrSummary) {
      if (prev != -1 && !IsNode(prev) && !IsSummary(prev)) closeRun(prev, r);
      if (!nodeOrSummary) {
        InsertChildRow(DisplToRealRow(r), 0);
        SetCells(H, r, v);
        if (FGrouping->MergeHeader() && H < ColCount()) {
          MergeCells(H, r, ColCount() - H, 1);
          SetGroupCellColors(H, r, true);
        } else {
          SetGroupRowColors(r, true);
        }
      }
      prev = r;
      ++r;
    }
    if (r < RowCount() && !IsNode(r - 1) && !IsSummary(r - 1)) {
      last = Cells(k2, r);
      SetCells(k2, r, String());
      ++r;
    } else {
      last = NoValue;
    }
  }
  if (prev != -1 && !IsSummary(prev) && !IsNode(prev)) {
    closeRun(prev, r);
    if (FGrouping->Summary()) {
      InsertRows(r, 1);
      MarkSummaryRow(DisplToRealRow(r));
      if (FGrouping->MergeSummary() && H < ColCount()) {
        MergeCells(H, r, ColCount() - H, 1);
        SetGroupCellColors(H, r, false);
      } else {
        SetGroupRowColors(r, false);
      }
    }
  }
  if (FixedRows() < RowCount()) SetRow(FixedRows());
}

void DEreDuzeroVaro::SubUnGroup(int Colindex) {
  const int k2 = Colindex;
  BeginUpdate();
  TScopeGuard end([this] { EndUpdate(); });
  ExpandAll();
  int r = FixedRows();
  String t;
  while (r <= RowCount() - FixedFooters() - 1) {
    TCellGraphic* g = NodeGraphic(r);
    const int32_t* var = g ? std::get_if<int32_t>(&g->CellVar()) : nullptr;
    if (var && *var == k2) {
      t = Cells(k2 + 1, r);
      RemoveNode(DisplToRealRow(r));
      RemoveChildRow(DisplToRealRow(r));
    } else if (g) {
      ++r;
    } else {
      // A summary row takes no group value.
      if (!IsSummary(r)) SetCells(k2, r, t);
      ++r;
    }
  }
}
