#include "grid/ArrowWindow.h"

#include "platform/ui/Graphics.h"
#include "platform/win/Gdi.h"
#include "platform/win/Modules.h"

namespace {

std::array<TPoint, 7> OutlineOf(TArrowDirection Direction) {
  switch (Direction) {
    case arrUp:
      return {TPoint(5, 0), TPoint(10, 5), TPoint(7, 5), TPoint(7, 9), TPoint(3, 9), TPoint(3, 5), TPoint(0, 5)};
    case arrDown:
      return {TPoint(3, 0), TPoint(7, 0), TPoint(7, 4), TPoint(9, 4), TPoint(5, 8), TPoint(1, 4), TPoint(3, 4)};
    case arrLeft:
      return {TPoint(0, 3), TPoint(0, 7), TPoint(4, 7), TPoint(4, 10), TPoint(8, 5), TPoint(4, 0), TPoint(4, 3)};
    case arrRight:
      return {TPoint(0, 5), TPoint(4, 10), TPoint(4, 7), TPoint(8, 7), TPoint(8, 3), TPoint(4, 3), TPoint(4, 0)};
  }
  return {};
}

}  // namespace

TArrowWindow::TArrowWindow(TComponent* AOwner, TArrowDirection Direction)
    : THintWindow(AOwner), FDir(Direction), FArrow(OutlineOf(Direction)) {
  SetColor(TColor(0x0000FF00));
  if (auto* parent = dynamic_cast<TWinControl*>(AOwner)) SetParent(parent);
  SetVisible(false);
}

TArrowWindow::~TArrowWindow() { Destroying(); }

void TArrowWindow::CreateParams(TCreateParams& Params) {
  THintWindow::CreateParams(Params);
  Params.Style = WS_POPUP;
}

void TArrowWindow::CreateWnd() {
  THintWindow::CreateWnd();
  POINT points[7];
  for (size_t i = 0; i < FArrow.size(); ++i) points[i] = POINT{FArrow[i].X, FArrow[i].Y};
  SetWindowRgn(Handle(), CreatePolygonRgn(points, 7, WINDING), TRUE);
}

void TArrowWindow::Paint() {
  Canvas()->Brush()->SetStyle(bsSolid);
  Canvas()->Brush()->SetColor(Color());
  Canvas()->Pen()->SetColor(Color());
  Canvas()->FillRect(Rect(0, 0, Width(), Height()));
}
