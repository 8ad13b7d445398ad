// Scrolling of the grid: the steps that follow every scroll and the thin scroll bars.
#include <algorithm>
#include <cmath>

#include "grid/AdvGrid.h"

void DEreDuzeroVaro::TopLeftChanged() {
  TBaseGrid::TopLeftChanged();
  // A selection rectangle over more than one row is drawn across the scrolled cells.
  const TGridRect s = Selection();
  if (SelectionRectangle() && s.Top != s.Bottom) Invalidate();
  // A background picture (tiled, or fixed where the cells move under it) and a gradient
  // background are drawn again over the whole view.
  if (TBackGround* bg = BackGround(); bg != nullptr) {
    const bool picture = bg->Bitmap() != nullptr && !bg->Bitmap()->Empty();
    const bool gradient = (bg->Display() == bdGradientHorz || bg->Display() == bdGradientVert) && bg->ColorTo() != clNone;
    if ((picture && (bg->Display() == bdTile || bg->Display() == bdFixed)) || gradient) Invalidate();
  }
  CellControlsUpdate(false);
  FOldLeftCol = LeftCol();
  FOldTopRow = TopRow();
  if (TStringGrid* other = SyncGrid()->Grid(); other != nullptr) {
    if (SyncGrid()->ScrollVertical() && other->TopRow() != TopRow()) other->SetTopRow(TopRow());
    if (SyncGrid()->ScrollHorizontal() && other->LeftCol() != LeftCol()) other->SetLeftCol(LeftCol());
  }
  if (vscrlctrl != nullptr) vscrlctrl->Invalidate();
  if (hscrlctrl != nullptr) hscrlctrl->Invalidate();
  UpdateFooter();
}

// ---------------------------------------------------------------------------
// The thin scroll bars

void DEreDuzeroVaro::SetThinScrollBars(bool On) {
  if (!On) {
    delete vscrlctrl;
    delete hscrlctrl;
    vscrlctrl = hscrlctrl = nullptr;
    return;
  }
  if (vscrlctrl != nullptr) return;
  vscrlctrl = new TScrollControl(this);
  vscrlctrl->SetParent(this);
  vscrlctrl->SetWidth(6);
  vscrlctrl->SetAlign(alRight);
  hscrlctrl = new TScrollControl(this);
  hscrlctrl->SetDirection(sdHorizontal);
  hscrlctrl->SetParent(this);
  hscrlctrl->SetHeight(6);
  hscrlctrl->SetAlign(alBottom);
}

DEreDuzeroVaro::TScrollControl::TScrollControl(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(TColor(0xC0C0C0));
}

DEreDuzeroVaro* DEreDuzeroVaro::TScrollControl::Grid() const { return dynamic_cast<DEreDuzeroVaro*>(Parent()); }

void DEreDuzeroVaro::TScrollControl::SetScrollWidth(int Value) {
  FScrollWidth = Value;
  Invalidate();
}

void DEreDuzeroVaro::TScrollControl::SetDirection(TScrollDirection Value) {
  FDirection = Value;
  Invalidate();
}

void DEreDuzeroVaro::TScrollControl::Thumb(int& Position, int& Size) const {
  Position = Size = 0;
  DEreDuzeroVaro* g = Grid();
  if (g == nullptr) return;
  const bool vert = FDirection == sdVertical;
  const int extent = vert ? Height() : Width();
  int track = extent, offset = 0;
  if (vert) {
    for (int r = 0; r < g->FixedRows(); ++r) offset += g->RowHeights(r);
    track -= offset;
    for (int r = std::max(0, g->RowCount() - g->FixedFooters()); r < g->RowCount(); ++r) track -= g->RowHeights(r);
  } else {
    for (int c = 0; c < g->FixedCols(); ++c) offset += g->ColWidths(c);
    track -= offset;
    for (int c = std::max(0, g->ColCount() - g->FixedRightCols()); c < g->ColCount(); ++c) track -= g->ColWidths(c);
  }
  const int count = vert ? g->RowCount() : g->ColCount();
  const int fixed = vert ? g->FixedRows() : g->FixedCols();
  const int first = vert ? g->TopRow() : g->LeftCol();
  const int visible = vert ? g->VisibleRowCount() : g->VisibleColCount();
  if (count - fixed <= 0 || count <= 0) return;
  const double frac = double(first - fixed) / double(count - fixed), share = double(visible) / double(count);
  Position = offset + int(std::lround(track * frac));
  Size = std::max(20, int(std::lround(track * share)));
  if (Position + Size > extent) Position = extent - Size;
}

void DEreDuzeroVaro::TScrollControl::Paint() {
  DEreDuzeroVaro* g = Grid();
  if (g == nullptr) return;
  const bool vert = FDirection == sdVertical;
  // Nothing to show while every scrolling row (column) is in view.
  if (vert ? g->VisibleRowCount() + g->FixedRows() >= g->RowCount() : g->VisibleColCount() + g->FixedCols() >= g->ColCount())
    return;
  int pos = 0, size = 0;
  Thumb(pos, size);
  TCanvas* c = Canvas();
  c->Pen()->SetColor(Color());
  c->Brush()->SetColor(Color());
  if (vert) c->Rectangle(0, pos, FScrollWidth, pos + size);
  else c->Rectangle(pos, 0, pos + size, FScrollWidth);
}

void DEreDuzeroVaro::TScrollControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  DEreDuzeroVaro* g = Grid();
  if (g == nullptr) return;
  const bool vert = FDirection == sdVertical;
  const int at = vert ? Y : X;
  int pos = 0, size = 0;
  Thumb(pos, size);
  if (at >= pos && at <= pos + size) {
    FDownOnScroller = true;
    FDownPos = at;
    FDownRow = vert ? g->TopRow() : g->LeftCol();
  } else if (at < pos) {
    if (vert) g->SetTopRow(std::max(g->FixedRows(), g->TopRow() - g->VisibleRowCount()));
    else g->SetLeftCol(std::max(g->FixedCols(), g->LeftCol() - g->VisibleColCount()));
  } else {
    if (vert) g->SetTopRow(std::max(g->FixedRows(), std::min(g->TopRow() + g->VisibleRowCount(), g->RowCount() - g->VisibleRowCount())));
    else g->SetLeftCol(std::max(g->FixedCols(), std::min(g->LeftCol() + g->VisibleColCount(), g->ColCount() - g->VisibleColCount())));
  }
  Invalidate();
}

void DEreDuzeroVaro::TScrollControl::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  DEreDuzeroVaro* g = Grid();
  if (g == nullptr || !FDownOnScroller) return;
  if (FDirection == sdVertical) {
    const int track = std::max(1, Height() - g->RowHeights(0));
    const int to = FDownRow + int(std::lround(double(Y - FDownPos) / track * g->RowCount()));
    g->SetTopRow(std::max(g->FixedRows(), std::min(to, g->RowCount() - g->VisibleRowCount())));
  } else {
    const int track = std::max(1, Width() - g->ColWidths(0));
    const int to = FDownRow + int(std::lround(double(X - FDownPos) / track * g->ColCount()));
    g->SetLeftCol(std::max(g->FixedCols(), std::min(to, g->ColCount() - g->VisibleColCount())));
  }
  Invalidate();
}

void DEreDuzeroVaro::TScrollControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  FDownOnScroller = false;
}
