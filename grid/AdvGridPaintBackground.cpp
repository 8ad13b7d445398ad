// DEreDuzeroVaro: the whole-grid background (BackGround) where no cell covers the client area.

#include <algorithm>

#include "controls/VevAzez.h"
#include "grid/AdvGrid.h"
#include "platform/win/Gdi.h"

void DEreDuzeroVaro::PaintBackgroundOutsideCells() {
  TBackGround* bg = FBackGround.get();
  const int lastCol = ColCount() - 1, lastRow = RowCount() - 1;
  const bool lastColInView = LeftCol() + VisibleColCount() > lastCol;
  const bool lastRowInView = TopRow() + VisibleRowCount() > lastRow;
  if (!lastColInView && !lastRowInView) return;
  const bool gradient = bg->Display() == bdGradientHorz || bg->Display() == bdGradientVert;
  if (gradient && bg->ColorTo() == clNone) return;

  const TRect client = ClientRect();
  const int line = GridLineWidth();
  HRGN area = nullptr;
  TRect r1 = CellRect(lastCol, TopRow());
  if (lastColInView && r1.Right + line < client.Right)
    area = CreateRectRgn(r1.Right + line, 0, client.Right, client.Bottom);
  TRect r2 = CellRect(LeftCol(), lastRow);
  if (lastRowInView && r2.Bottom + line < client.Bottom) {
    HRGN below = CreateRectRgn(0, r2.Bottom + line, client.Right, client.Bottom);
    if (area) {
      CombineRgn(area, area, below, RGN_OR);
      DeleteObject(below);
    } else {
      area = below;
    }
  }
  if (!area) return;

  // The client rectangle already ends above a shown search panel.
  const TRect paint = client;

  TCanvas* c = Canvas();
  HDC dc = c->Handle();
  SelectClipRgn(dc, area);
  TBitmap* bmp = bg->Bitmap();
  if (bmp->Empty()) {
    if (gradient) FillGradient(c, bg->Color(), bg->ColorTo(), 128, paint, bg->Display() == bdGradientHorz);
  } else if (bg->Display() != bdTile) {
    PaintBackgroundPicture(paint);
  } else if (bg->Cells() != bcFixed) {
    // Tiles line up with those inside the normal cells: from the first non-fixed cell, moved
    // by the text offset.
    TPoint origin(paint.Left, paint.Top);
    if (bg->Cells() == bcNormal) {
      const TRect first = CellRect(FixedCols(), TCustomGrid::FixedRows());
      origin = TPoint(first.Left + FXYOffset.X, first.Top + FXYOffset.Y);
    }
    const int w = bmp->Width(), h = bmp->Height();
    const int x0 = origin.X - (origin.X - paint.Left + w - 1) / w * w;
    const int y0 = origin.Y - (origin.Y - paint.Top + h - 1) / h * h;
    PaintBackgroundTiled(TRect(x0 + 1, y0 + 1, paint.Right, paint.Bottom));
  }
  SelectClipRgn(dc, nullptr);
  DeleteObject(area);
}
