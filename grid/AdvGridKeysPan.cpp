// The look of wheel panning: the marker where panning started, hints held back meanwhile.
#include <memory>

#include "grid/AdvGrid.h"
#include "platform/ui/Forms.h"
#include "platform/win/WinUser.h"

namespace {
// The marker pictures are this large.
constexpr int PanMarkerSize = 32;
}  // namespace

void DEreDuzeroVaro::DrawWheelPanMarker() {
  if (!HandleAllocated()) return;
  const TIntelliPan pan = IntelliPan();
  if (pan == ipNone) return;
  TBitmap* art = GlyphBitmap(pan == ipVertical ? u"INTLI3" : pan == ipHorizontal ? u"INTLI2" : u"INTLI1");
  if (art == nullptr || art->Empty()) return;
  // The picture's background (the colour of its top-left pixel) shows white.
  TBitmap marker;
  marker.SetWidth(art->Width());
  marker.SetHeight(art->Height());
  marker.Canvas()->Brush()->SetColor(clWhite);
  const TRect all(0, 0, art->Width(), art->Height());
  marker.Canvas()->BrushCopy(all, art, all, art->Canvas()->Pixels(0, 0));
  // Scrolled cells are painted first, so that the marker stays on top of them.
  UpdateWindow(Handle());
  HDC dc = GetDC(Handle());
  if (dc == nullptr) return;
  TCanvas canvas;
  canvas.SetHandle(dc);
  canvas.Draw(wheelpanpos.X, wheelpanpos.Y, &marker);
  canvas.SetHandle(nullptr);
  ReleaseDC(Handle(), dc);
}

void DEreDuzeroVaro::InvalidateWheelPanMarker() {
  if (!HandleAllocated()) return;
  RECT r = TRect(wheelpanpos.X, wheelpanpos.Y, wheelpanpos.X + PanMarkerSize, wheelpanpos.Y + PanMarkerSize);
  InvalidateRect(Handle(), &r, false);
}

void DEreDuzeroVaro::SetPanHints(bool On) {
  if (!On) {
    FPanShowHint = ShowHint();
    FPanParentShowHint = ParentShowHint();
    SetShowHint(false);
    Application->CancelHint();
    return;
  }
  // The hint setting the grid had before panning, not hints forced on.
  SetShowHint(FPanShowHint);
  if (FPanParentShowHint) SetParentShowHint(true);
}
