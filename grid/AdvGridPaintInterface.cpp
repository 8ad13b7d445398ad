// Cells whose object draws itself (ctInterface, IGridCellDraw) on screen: an object that
// draws as the background goes under the cell's text, any other over it, like the other
// cell graphics.
#include "grid/AdvGrid.h"

void DEreDuzeroVaro::PaintInterfaceGraphic(TCellPaint& P, const TRect& R, bool UnderText) {
  TCellGraphic* g = P.Graphic;
  if (g == nullptr || g->CellType() != ctInterface) return;
  auto* d = dynamic_cast<IGridCellDraw*>(g->CellInterface());
  if (d == nullptr || d->IsBackground() != UnderText) return;
  TRect r = R;
  if (UnderText) {
    // The graphic step's rectangle: the cell grown by one pixel on each side, then inset by
    // the text offset less one, as every graphic is placed.
    const int dx = FXYOffset.X - 1, dy = FXYOffset.Y - 1;
    r = TRect(R.Left - 1 + dx, R.Top - 1 + dy, R.Right + 1 - dx, R.Bottom + 1 - dy);
  } else if (P.Fixed) {
    // Other graphics of fixed cells start a line lower; this object takes the cell's own top.
    r.Top -= 1;
  }
  // The object may change the canvas' tools; the cell's remaining steps get them back.
  TCanvas* c = P.Canvas;
  TFont font;
  font.Assign(c->Font());
  TBrush brush;
  brush.Assign(c->Brush());
  TPen pen;
  pen.Assign(c->Pen());
  d->Draw(c, TRect(r.Left - 1, r.Top - 1, r.Right, r.Bottom), P.RCol, P.ARow, P.State.Contains(gdSelected), this);
  c->Font()->Assign(&font);
  c->Brush()->Assign(&brush);
  c->Pen()->Assign(&pen);
}
