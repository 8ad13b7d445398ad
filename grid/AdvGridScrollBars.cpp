// The grid's window scroll bars: the hint beside a dragged thumb, scrolling while it is
// dragged, proportional bars and bars shown always.
//
// Positions. A plain bar's position is LeftCol (TopRow) itself. A proportional bar runs over
// the thumb positions 0..127; position P points at the column
// FixedCols + MulDiv(P, ColCount - visible columns - FixedCols, 127) (rows likewise), and its
// range Max = Trunc((127 + r) / (1 - r)) with the page Max - 126 gives the thumb the length
// r (the share of the scrolling columns' widths in view).
#include <algorithm>
#include <cmath>

#include "grid/AdvGrid.h"
#include "grid/AdvGridValuesHint.h"
#include "platform/ui/StdCtrls.h"
#include "platform/win/WinUser.h"

namespace {

// The page (thumb length) a proportional bar gets for the share r in view: Max - 126.
struct TPropBar {
  int Max, Page;
};

TPropBar PropBar(float r) {
  // A share below 0 (a view narrower than its fixed columns) would give a page below 1.
  r = std::max(r, 0.0f);
  const int max = static_cast<int>(std::trunc((127.0f + r) / (1.0f - r)));
  return {max, max - 126};
}

}  // namespace

int DEreDuzeroVaro::ThumbCol(int Position) const {
  if (!FPropHorz) return Position;
  const int span = std::max(0, ColCount() - VisibleColCount() - FixedCols());
  return FixedCols() + MulDiv(std::clamp(Position, 0, 127), span, 127);
}

int DEreDuzeroVaro::ThumbRow(int Position) const {
  if (!FPropVert) return Position;
  const int span = std::max(0, RowCount() - VisibleRowCount() - FixedRows());
  return FixedRows() + MulDiv(std::clamp(Position, 0, 127), span, 127);
}

void DEreDuzeroVaro::ShowScrollHint(bool Horz, TScrollCode Code, int Pos) {
  if (Code == scEndScroll) {
    if (FScrollHintWnd != nullptr) FScrollHintWnd->SetVisible(false);
    FScrollHintShow = false;
    return;
  }
  const bool wanted = FScrollHints == shBoth || FScrollHints == (Horz ? shHorizontal : shVertical);
  if (Code != scTrack || !wanted) return;
  const int n = Horz ? ThumbCol(Pos) : ThumbRow(Pos);
  String text = (Horz ? u"Col : " : u"Row : ") + IntToStr(n);
  if (OnScrollHint) OnScrollHint(this, n, text);
  if (FScrollHintWnd == nullptr) FScrollHintWnd = new THTMLHintWindow(this);
  TRect r = FScrollHintWnd->CalcHintRect(100, text, nullptr);
  POINT at;
  GetCursorPos(&at);
  r = TRect(at.X + 10, at.Y, at.X + 10 + r.Width(), at.Y + r.Height());
  FScrollHintWnd->SetColor(HintColor());
  FScrollHintWnd->ActivateHint(r, text);
  FScrollHintShow = true;
}

void DEreDuzeroVaro::ScrollBarScroll(TScrollBarKind Kind, TScrollCode Code, int& Pos) {
  const bool horz = Kind == sbHorizontal;
  ShowScrollHint(horz, Code, Pos);
  const bool prop = horz ? FPropHorz : FPropVert;
  const bool thumb = Code == scTrack || Code == scPosition;
  const int target = horz ? ThumbCol(Pos) : ThumbRow(Pos);
  auto scrollTo = [this, horz](int Index) {
    if (horz) SetLeftCol(std::clamp(Index, FixedCols(), std::max(FixedCols(), ColCount() - 1)));
    else SetTopRow(std::clamp(Index, FixedRows(), std::max(FixedRows(), RowCount() - 1)));
  };
  // Scrolling while the thumb is dragged.
  if (Code == scTrack && FScrollSynch) scrollTo(target);
  // A grid without fixed columns closes the editor its thumb scrolls past.
  if (horz && thumb && FixedCols() == 0 && Col() <= target) HideInplaceEdit();
  if (!prop) {
    TBaseGrid::ScrollBarScroll(Kind, Code, Pos);
  } else {
    // The proportional positions are no indexes: lines and pages step the cells themselves.
    const int first = horz ? LeftCol() : TopRow(), page = std::max(1, horz ? VisibleColCount() : VisibleRowCount());
    const int count = horz ? ColCount() : RowCount(), fixed = horz ? FixedCols() : FixedRows();
    const bool tracking = Code == scTrack && (FScrollSynch || Options().Contains(goThumbTracking));
    switch (Code) {
      case scLineUp: scrollTo(first - 1); break;
      case scLineDown: scrollTo(first + 1); break;
      case scPageUp: scrollTo(first - page); break;
      case scPageDown: scrollTo(first + page); break;
      case scTop: scrollTo(fixed); break;
      case scBottom: scrollTo(count - 1); break;
      case scPosition: scrollTo(target); break;
      case scTrack:
        if (tracking) scrollTo(target);
        break;
      default: break;
    }
    // The bar shows the thumb where it was let go or dragged to; otherwise where the grid is.
    TScrollBar* bar = horz ? HorzBar() : VertBar();
    if (!thumb && bar != nullptr) Pos = bar->Position();
  }
  if (Code == scEndScroll && horz && ColCount() == 1) Invalidate();
  // Merged areas of a mirrored grid are painted again whole once scrolling ends.
  if (Code == scEndScroll && UseRightToLeftAlignment()) Invalidate();
  UpdateFlatScrollBars();
  UpdateFooter();
}

void DEreDuzeroVaro::ScrollBarsUpdated() {
  TBaseGrid::ScrollBarsUpdated();
  FPropHorz = FPropVert = false;
  UpdateHScrollBar();
  UpdateVScrollBar();
  // A bar left with the positions of LeftCol (TopRow) gets its plain page back.
  if (!FPropHorz && HorzBar() != nullptr && HorzBar()->PageSize() != 0) HorzBar()->SetPageSize(0);
  if (!FPropVert && VertBar() != nullptr && VertBar()->PageSize() != 0) VertBar()->SetPageSize(0);
}

void DEreDuzeroVaro::UpdateHScrollBar() {
  if (UpdatePropBar(true)) FPropHorz = true;
}

void DEreDuzeroVaro::UpdateVScrollBar() {
  // Nothing while every row is in view.
  if (VisibleRowCount() + FixedRows() >= RowCount()) return;
  if (UpdatePropBar(false)) FPropVert = true;
}

bool DEreDuzeroVaro::UpdatePropBar(bool Horz) {
  if (!FScrollProportional || FScrollLock || ComponentState().Contains(csLoading) ||
      ComponentState().Contains(csDesigning))
    return false;
  TScrollBar* bar = Horz ? HorzBar() : VertBar();
  if (bar == nullptr || !bar->Visible()) return false;
  // F: the fixed part, T: the scrolling part, S: the part scrolled past, each with its lines.
  const int w = GridLineWidth(), count = Horz ? ColCount() : RowCount(), fixed = Horz ? FixedCols() : FixedRows();
  const int first = Horz ? LeftCol() : TopRow(), extent = Horz ? ClientWidth() : ClientHeight();
  int64_t f = w, t = w, s = w;
  for (int i = 0; i < count; ++i) {
    const int64_t size = (Horz ? ColWidths(i) : RowHeights(i)) + w;
    if (i < fixed) f += size;
    else t += size;
    if (i >= fixed && i < first) s += size;
  }
  if (t <= 0) return false;
  const float r = static_cast<float>(extent - f) / static_cast<float>(t);
  if (r >= 0.9999f) return false;
  const TPropBar p = PropBar(r);
  // Scrolled to its end when the scrolling part is no longer than the view (rows), or kept.
  int pos = Horz ? bar->Position() : 127;
  if (t > extent) pos = static_cast<int>(std::trunc(double(s) / double(t - extent) * 128.0));
  bar->SetParams(std::clamp(pos, 0, 127), 0, p.Max);
  bar->SetPageSize(p.Page);
  bar->SetLargeChange(p.Page);
  if (HandleAllocated()) {
    if (Horz) UpdateFlatHorzScroll();
    else UpdateFlatVertScroll();
  }
  return true;
}

void DEreDuzeroVaro::ApplyScrollBarAlways() {
  SetForcedScrollBars(FScrollBarAlways == saHorz || FScrollBarAlways == saBoth,
                      FScrollBarAlways == saVert || FScrollBarAlways == saBoth);
}

void DEreDuzeroVaro::UpdateFlatScrollBars() {
  if (!HandleAllocated()) return;
  UpdateFlatVertScroll();
  UpdateFlatHorzScroll();
}
