// DEreDuzeroVaro: grouping rows under node headers by the values of a column, a second level
// of sub-groups, and the way back to the flat table.
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
  // A summary row inserted at the open group's header row lands after the group before it.
  auto insertSummary = [&](int At) {
    InsertRows(At, 1);
    MarkSummaryRow(DisplToRealRow(At));
    if (!FGrouping->MergeSummary()) SetGroupRowColors(At, false);
  };
  int prev = -1, r = FixedRows();
  String last = NoValue;
  while (r <= RowCount() - 1 - FixedFooters()) {
    const String v = GridCells(k, r);
    if (v != last) {
      if (prev != -1) {
        if (summary && prev > FixedRows()) {
          insertSummary(prev);
          ++prev;
          ++r;
        }
        AddNode(DisplToRealRow(prev), r - prev);
      }
      InsertRows(r, 1);
      SetCells(H, r, v);
      if (!FGrouping->MergeHeader()) SetGroupRowColors(r, true);
      prev = r;
      ++r;
    }
    if (r < RowCount() - 1) last = GridCells(k, r);
    ++r;
  }
  if (prev != -1) {
    if (summary && prev > FixedRows()) {
      insertSummary(prev);
      ++prev;
      ++r;
    }
    AddNode(DisplToRealRow(prev), r - prev);
    if (summary) insertSummary(r);
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
  int r = FixedRows();
  String t;
  while (r <= RowCount() - FixedFooters() - 1) {
    if (!IsNode(r)) {
      // A summary row takes no group value.
      if (!IsSummary(r)) SetCells(k, r, t);
      ++r;
      continue;
    }
    const int s = r + ResolvedSpan(r);
    // Only a true summary row after the group goes; a data row there stays.
    if (FGrouping->Summary() && s < RowCount() && IsSummary(s)) {
      if (FGrouping->MergeSummary()) SplitCells(1, s);
      else ResetGroupRowColors(s, false);
      ClearRect(0, s, ColCount() - 1, s);
      DeleteGridRows(s, 1, false);
    }
    t = GridCells(H, r);
    RemoveNode(DisplToRealRow(r));
    FreeCellProperties(0, r);
    if (FGrouping->MergeHeader()) SplitCells(1, r);
    else ResetGroupRowColors(r, true);
    ClearRect(0, r, ColCount() - 1, r);
    DeleteGridRows(r, 1, false);
  }
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
