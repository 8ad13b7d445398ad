// Highlighting and marking of cell texts, find, replace and the key search.

#include <set>
#include <utility>

#include "controls/HtmlText.h"
#include "controls/VevAzez.h"
#include "grid/AdvGrid.h"
#include "platform/rtl/SysUtils.h"

namespace {
const String kHilight = u"hi";
const String kMark = u"e";

// The cells a highlight or mark operation covers. Without DoFixed the fixed rows and columns,
// the fixed footers and the fixed right columns stay out; Extra columns beyond the last
// visible index are reached where the hidden columns count.
struct TRange {
  int C1, R1, C2, R2;
};
TRange ColumnArea(const DEreDuzeroVaro& G, bool DoFixed, int Col) {
  return DoFixed ? TRange{Col, 0, Col, G.RowCount() - 1} : TRange{Col, G.FixedRows(), Col, G.RowCount() - G.FixedFooters() - 1};
}
TRange RowArea(const DEreDuzeroVaro& G, bool DoFixed, int Row, int Extra) {
  return DoFixed ? TRange{0, Row, G.ColCount() - 1 + Extra, Row}
                 : TRange{G.FixedCols(), Row, G.ColCount() - G.FixedRightCols() - 1 + Extra, Row};
}
TRange GridArea(const DEreDuzeroVaro& G, bool DoFixed, int Extra, int FixedExtra) {
  return DoFixed ? TRange{0, 0, G.ColCount() - 1 + FixedExtra, G.RowCount() - 1}
                 : TRange{G.FixedCols(), G.FixedRows(), G.ColCount() - G.FixedRightCols() - 1 + Extra,
                          G.RowCount() - G.FixedFooters() - 1};
}
void TagArea(DEreDuzeroVaro& G, const String& Text, const String& Name, const TRange& R, bool DoCase) {
  G.HilightInRange(Text, Name, R.C1, R.R1, R.C2, R.R2, DoCase);
}
void UntagArea(DEreDuzeroVaro& G, const String& Name, const TRange& R) { G.UnHilightInRange(Name, R.C1, R.R1, R.C2, R.R2); }
}  // namespace

// ---------------------------------------------------------------------------
// Highlighting and marking

String DEreDuzeroVaro::HilightText(bool DoCase, const String& S, const String& Text) {
  return HighlightHtmlText(S, Text, kHilight, DoCase);
}
String DEreDuzeroVaro::UnHilightText(const String& S) { return UnhighlightHtmlText(S, kHilight); }
String DEreDuzeroVaro::MarkText(bool DoCase, const String& S, const String& Text) {
  return HighlightHtmlText(S, Text, kMark, DoCase);
}
String DEreDuzeroVaro::UnMarkText(const String& S) { return UnhighlightHtmlText(S, kMark); }

// Removal over rows and the grid reaches the hidden columns too, and so does the highlight of
// the whole grid without fixed cells; marking and the row highlight stop at the visible ones.
void DEreDuzeroVaro::HilightInCell(bool DoCase, int Col, int Row, const String& HiText) {
  TagArea(*this, HiText, kHilight, {Col, Row, Col, Row}, DoCase);
}
void DEreDuzeroVaro::HilightInCol(bool DoFixed, bool DoCase, int Col, const String& HiText) {
  TagArea(*this, HiText, kHilight, ColumnArea(*this, DoFixed, Col), DoCase);
}
void DEreDuzeroVaro::HilightInRow(bool DoFixed, bool DoCase, int Row, const String& HiText) {
  TagArea(*this, HiText, kHilight, RowArea(*this, DoFixed, Row, 0), DoCase);
}
void DEreDuzeroVaro::HilightInGrid(bool DoFixed, bool DoCase, const String& HiText) {
  TagArea(*this, HiText, kHilight, GridArea(*this, DoFixed, NumHiddenColumns(), 0), DoCase);
}
void DEreDuzeroVaro::UnHilightInCell(int Col, int Row) { UntagArea(*this, kHilight, {Col, Row, Col, Row}); }
void DEreDuzeroVaro::UnHilightInCol(bool DoFixed, int Col) { UntagArea(*this, kHilight, ColumnArea(*this, DoFixed, Col)); }
void DEreDuzeroVaro::UnHilightInRow(bool DoFixed, int Row) {
  UntagArea(*this, kHilight, RowArea(*this, DoFixed, Row, NumHiddenColumns()));
}
void DEreDuzeroVaro::UnHilightInGrid(bool DoFixed) {
  UntagArea(*this, kHilight, GridArea(*this, DoFixed, NumHiddenColumns(), NumHiddenColumns()));
}
void DEreDuzeroVaro::MarkInCell(bool DoCase, int Col, int Row, const String& HiText) {
  TagArea(*this, HiText, kMark, {Col, Row, Col, Row}, DoCase);
}
void DEreDuzeroVaro::MarkInCol(bool DoFixed, bool DoCase, int Col, const String& HiText) {
  TagArea(*this, HiText, kMark, ColumnArea(*this, DoFixed, Col), DoCase);
}
void DEreDuzeroVaro::MarkInRow(bool DoFixed, bool DoCase, int Row, const String& HiText) {
  TagArea(*this, HiText, kMark, RowArea(*this, DoFixed, Row, 0), DoCase);
}
void DEreDuzeroVaro::MarkInGrid(bool DoFixed, bool DoCase, const String& HiText) {
  TagArea(*this, HiText, kMark, GridArea(*this, DoFixed, 0, 0), DoCase);
}
void DEreDuzeroVaro::UnMarkInCell(int Col, int Row) { UntagArea(*this, kMark, {Col, Row, Col, Row}); }
void DEreDuzeroVaro::UnMarkInCol(bool DoFixed, int Col) { UntagArea(*this, kMark, ColumnArea(*this, DoFixed, Col)); }
void DEreDuzeroVaro::UnMarkInRow(bool DoFixed, int Row) {
  UntagArea(*this, kMark, RowArea(*this, DoFixed, Row, NumHiddenColumns()));
}
void DEreDuzeroVaro::UnMarkInGrid(bool DoFixed) {
  UntagArea(*this, kMark, GridArea(*this, DoFixed, NumHiddenColumns(), NumHiddenColumns()));
}

// ---------------------------------------------------------------------------
// Find and replace

bool DEreDuzeroVaro::CellMatchesSearch(int ACol, int ARow, bool Wide) {
  const TFindParams& p = FFindParams;
  if (!p.Contains(fnIncludeHiddenColumns)) ACol = DisplToRealCol(ACol);
  String text = p.Contains(fnIncludeHiddenRows) ? AllCells(ACol, ARow) : Cells(ACol, ARow);
  if (p.Contains(fnIgnoreHTMLTags) && !Wide) text = HtmlToPlainText(text);
  if (!p.Contains(fnMatchCase)) text = AnsiUpperCase(text);
  if (SearchCache == u"\"\"") return text.empty();
  if (p.Contains(fnMatchRegular)) return MatchFilterCondition(SearchCache, text, p.Contains(fnMatchCase));
  const size_t at = text.find(SearchCache);
  if (at == String::npos) return false;
  if (p.Contains(fnMatchStart) && at != 0) return false;
  return !p.Contains(fnMatchFull) || text == SearchCache;
}

TPoint DEreDuzeroVaro::DoFind(TPoint StartCell, const String& s, TFindParams FindParams, bool Wide) {
  const TPoint none(-1, -1);
  FFindParams = FindParams;
  FFindBusy = true;
  SearchCache = FindParams.Contains(fnMatchCase) ? s : AnsiUpperCase(s);
  if (ColCount() == FixedCols() || ColCount() == 0 || RowCount() + NumHiddenRows() == FixedRows() || RowCount() == 0) {
    FFindBusy = false;
    return none;
  }
  int c1, r1, c2, r2;
  if (FindParams.Contains(fnIncludeFixed)) {
    c1 = 0, r1 = 0, c2 = ColCount() - 1, r2 = RowCount() - 1;
  } else {
    c1 = FixedCols(), r1 = FixedRows(), c2 = ColCount() - FixedRightCols() - 1, r2 = RowCount() - FixedFooters() - 1;
  }
  if (FindParams.Contains(fnSelectedCells)) {
    const TGridRect sel = Selection();
    c1 = sel.Left, r1 = sel.Top, c2 = sel.Right, r2 = sel.Bottom;
  }
  if (FindParams.Contains(fnIncludeHiddenColumns)) c2 += NumHiddenColumns();
  if (FindParams.Contains(fnIncludeHiddenRows)) r2 += NumHiddenRows();
  const bool rows = FindParams.Contains(fnDirectionLeftRight);
  const bool back = FindParams.Contains(fnBackward);
  int x, y;
  if (StartCell.X == -1 && StartCell.Y == -1) {
    x = back ? c2 : c1;
    y = back ? r2 : r1;
  } else {
    x = StartCell.X;
    y = StartCell.Y;
    // One step on in walk order; at the end of the range the walk wraps to its other end.
    if (rows && !back) {
      if (x <= c2) ++x; else if (y <= r2) ++y; else x = c1, y = r1;
    } else if (rows) {
      if (x >= c1) --x; else if (y >= r1) --y; else x = c2, y = r2;
    } else if (!back) {
      if (y <= r2) ++y; else if (x <= c2) ++x; else x = c1, y = r1;
    } else {
      if (y >= r1) --y; else if (x >= c1) --x; else x = c2, y = r2;
    }
  }
  if (FindParams.Contains(fnFindInCurrentRow)) y = r1 = r2 = Row();
  if (FindParams.Contains(fnFindInPresetRow)) y = r1 = r2 = FFindRow;
  if (FindParams.Contains(fnFindInCurrentCol)) x = c1 = c2 = Col();
  if (FindParams.Contains(fnFindInPresetCol)) x = c1 = c2 = FFindCol;
  const int step = back ? -1 : 1;
  ExportNotification(esExportStart, -1);
  TPoint hit = none;
  if (rows) {
    while (hit.X < 0 && y >= r1 && y <= r2) {
      while (x >= c1 && x <= c2) {
        ExportNotification(esExportNewRow, y);
        if (!IsIgnoredColumn(x) && CellMatchesSearch(x, y, Wide)) {
          hit = TPoint(x, y);
          break;
        }
        x += step;
      }
      if (hit.X >= 0) break;
      x = FindParams.Contains(fnFindInCurrentCol) ? Col() : back ? c2 : c1;
      y += step;
    }
  } else {
    while (hit.X < 0 && x >= c1 && x <= c2) {
      while (y >= r1 && y <= r2) {
        ExportNotification(esExportNewRow, y);
        if (CellMatchesSearch(x, y, Wide)) {
          hit = TPoint(x, y);
          break;
        }
        y += step;
      }
      if (hit.X >= 0) break;
      y = FindParams.Contains(fnFindInCurrentRow) ? Row() : back ? r2 : r1;
      x += step;
    }
  }
  if (hit.X < 0) {
    FFindBusy = false;
    ExportNotification(esExportDone, -1);
    return none;
  }
  SearchCell = hit;
  if (FindParams.Contains(fnAutoGoto)) {
    int r = hit.Y;
    if (FindParams.Contains(fnIncludeHiddenRows) && NumHiddenRows() > 0) {
      // A hit under contracted nodes: the nearest node shown above it opens until the row shows
      // (nested nodes one level per step).
      for (int guard = 0; IsHiddenRow(hit.Y) && HasNodes() && guard < 64; ++guard) {
        int node = -1;
        for (int d = FixedRows(); d < RowCount() && RealRowIndex(d) < hit.Y; ++d)
          if (IsNode(d)) node = d;
        if (node < 0 || !GetNodeState(node)) break;  // no contracted node above it
        ExpandNode(RealRowIndex(node));
      }
      r = DisplRowIndex(hit.Y);
    }
    if (r >= 0 && r < RowCount()) {
      if (MouseActions()->DisjunctRowSelect()) {
        ClearRowSelect();
        SetRowSelect(r, true);
        SetRow(r);
      } else {
        SetRow(r);
        if (hit.X < ColCount()) SetCol(hit.X);
      }
    }
  }
  ExportNotification(esExportFail, -1);
  return hit;
}

TPoint DEreDuzeroVaro::FindCell(TPoint StartCell, const String& s, TFindParams FindParams) {
  const TPoint hit = DoFind(StartCell, s, FindParams, false);
  if (FindParams.Contains(fnAutoGoto)) {
    // The hit stays clear of the floating footer.
    const int f = FloatingFooter()->Visible() ? 2 : 0;
    if (TopRow() + VisibleRowCount() - 2 - f < Row() && VisibleRowCount() + FixedRows() + f < RowCount())
      SetTopRow(TopRow() + 1 + f);
  }
  return hit;
}

TPoint DEreDuzeroVaro::FindWide(TPoint StartCell, const String& s, TFindParams FindParams) {
  return DoFind(StartCell, s, FindParams, true);
}

TPoint DEreDuzeroVaro::FindFirst(const String& s, TFindParams FindParams) {
  SearchCell = FindCell(TPoint(-1, -1), s, FindParams);
  return SearchCell;
}

TPoint DEreDuzeroVaro::FindNext() {
  SearchCell = FindCell(SearchCell, SearchCache, FFindParams);
  return SearchCell;
}

int DEreDuzeroVaro::Replace(const String& OrigStr, const String& NewStr, TFindParams FindParams) {
  if (OrigStr.empty()) return 0;  // nothing to replace (and every cell would match)
  int count = 0;
  TPoint start(-1, -1);
  TReplaceFlags flags{rfReplaceAll};
  if (!FindParams.Contains(fnMatchCase)) flags += rfIgnoreCase;
  // Each cell is changed once: a replacement that holds the searched text is not found again.
  std::set<std::pair<int, int>> seen;
  for (;;) {
    const TPoint hit = FindCell(start, OrigStr, FindParams);
    start = hit;
    if (hit.X < 0) break;
    if (!seen.insert({hit.X, hit.Y}).second) break;
    const int col = FindParams.Contains(fnIncludeHiddenColumns) ? hit.X : DisplToRealCol(hit.X);
    SetCells(col, hit.Y, StringReplace(Cells(col, hit.Y), OrigStr, NewStr, flags));
    if (ShowModified()->Enabled()) SetRowModified(hit.Y, true);
    ++count;
  }
  return count;
}

int DEreDuzeroVaro::Search(const String& s) {
  if (RowCount() < 2) return -1;
  int c = FixedCols();
  if (SortSettings()->Show()) {
    if (SortSettings()->IndexShow()) c = SortIndexes()->Count() > 0 ? SortIndexes()->SortColumns(0) : FixedCols();
    else c = SortSettings()->Column();
  }
  if (c < 0) return -1;
  for (int r = FixedRows(); r < RowCount(); ++r) {
    const String t = AnsiUpperCase(StrippedCells(c, r).substr(0, s.size()));
    if (t == s) return r;
  }
  return -1;
}
