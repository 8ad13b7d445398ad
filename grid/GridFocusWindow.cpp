#include "grid/GridFocusWindow.h"

#include "grid/GridAlphaMask.h"
#include "platform/ui/WindowWatch.h"
#include "platform/win/Gdi.h"
#include "platform/win/Modules.h"

TGridFocusWindow::TGridFocusWindow(TComponent* AOwner) : THintWindow(AOwner) {
  SetBounds(0, 0, 0, 0);
  SetColor(clRed);
}

TGridFocusWindow::~TGridFocusWindow() {
  FWatch.reset();
  Destroying();
}

void TGridFocusWindow::CreateParams(TCreateParams& Params) {
  Params.Style = WS_POPUP | WS_DISABLED;
  Params.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
}

void TGridFocusWindow::ShowAround(const TRect& Cell) {
  FCell = Cell;
  const TRect r(Cell.Left - GlowWidth, Cell.Top - GlowWidth, Cell.Right + GlowWidth, Cell.Bottom + GlowWidth);
  const int w = r.Width(), h = r.Height();
  if (w <= 2 * GlowWidth || h <= 2 * GlowWidth) return HideGlow();
  HandleNeeded();
  SetBounds(r.Left, r.Top, w, h);
  // Only the ring shows and takes the mouse: the cell and its editor stay uncovered.
  HRGN ring = CreateRectRgn(0, 0, w, h);
  HRGN inner = CreateRectRgn(GlowWidth, GlowWidth, w - GlowWidth, h - GlowWidth);
  CombineRgn(ring, ring, inner, RGN_DIFF);
  DeleteObject(inner);
  SetWindowRgn(Handle(), ring, TRUE);

  BOOL composites = FALSE;
  FTranslucent = DwmIsCompositionEnabled(&composites) == S_OK && composites;
  if (FTranslucent) {
    TBitmap mask, colour;
    MakeRoundRectMask(&mask, w, h, GlowRadius, GlowCorner, GlowPen);
    colour.SetPixelFormat(pf24bit);
    colour.SetSize(w, h);
    colour.Canvas()->Brush()->SetColor(GlowColor);
    colour.Canvas()->FillRect(Rect(0, 0, w, h));
    TGridAlphaMask glow;
    glow.SetOpacity(GlowOpacity);
    glow.MergeMask(&mask, &colour, GlowColor);
    BLENDFUNCTION blend;
    blend.BlendOp = AC_SRC_OVER;
    blend.SourceConstantAlpha = glow.Opacity();
    blend.AlphaFormat = AC_SRC_ALPHA;
    const POINT at{r.Left, r.Top}, from{0, 0};
    const SIZE size{w, h};
    UpdateLayeredWindow(Handle(), nullptr, &at, &size, glow.Canvas()->Handle(), &from, 0, &blend, ULW_ALPHA);
  }
  SetVisible(true);
  Invalidate();
}

void TGridFocusWindow::HideGlow() {
  FWatch.reset();
  FCellRect = nullptr;
  SetVisible(false);
}

void TGridFocusWindow::Follow(TWinControl* Control, std::function<TRect()> CellRect) {
  FWatch.reset();
  FCellRect = std::move(CellRect);
  if (Control != nullptr && FCellRect) FWatch = std::make_unique<TWindowPosWatch>(Control, [this] { Moved(); });
}

void TGridFocusWindow::Moved() {
  if (!Visible() || !FCellRect) return;
  const TRect cell = FCellRect();
  if (cell.Width() == FCell.Width() && cell.Height() == FCell.Height()) {
    FCell = cell;
    SetBounds(cell.Left - GlowWidth, cell.Top - GlowWidth, Width(), Height());
  } else {
    ShowAround(cell);
  }
}

void TGridFocusWindow::Paint() {
  // Without compositing the ring is painted opaque in the glow colour.
  Canvas()->Brush()->SetStyle(bsSolid);
  Canvas()->Brush()->SetColor(GlowColor);
  Canvas()->FillRect(Rect(0, 0, Width(), Height()));
}
