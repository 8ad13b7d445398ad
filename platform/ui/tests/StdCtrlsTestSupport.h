#pragma once
// Helpers for the standard-control tests: rendering a window and counting pixels, and
// simulated mouse clicks on controls.

#include <QImage>
#include <QWidget>
#include <cstdlib>

#include "platform/ui/Controls_p.h"
#include "platform/win/Gdi_p.h"

// The window of a windowed control rendered as Qt would show it.
inline QImage Render(TWinControl* c) {
  QWidget* w = TControlHost::Widget(c);
  return w ? w->grab().toImage().convertToFormat(QImage::Format_RGB32) : QImage();
}

// Pixels in r (window coordinates) within tolerance of a colour.
inline int CountColor(const QImage& img, const TRect& r, TColor color, int tolerance = 24) {
  QColor want = ToQColor(color);
  int n = 0;
  for (int y = std::max(0, r.Top); y < std::min(img.height(), r.Bottom); ++y)
    for (int x = std::max(0, r.Left); x < std::min(img.width(), r.Right); ++x) {
      QColor c = img.pixelColor(x, y);
      if (std::abs(c.red() - want.red()) + std::abs(c.green() - want.green()) + std::abs(c.blue() - want.blue()) <= tolerance)
        ++n;
    }
  return n;
}

// Pixels in r that differ clearly from the colour at r's top-left corner (text, glyphs).
inline int InkPixels(const QImage& img, const TRect& r) {
  if (r.Left < 0 || r.Top < 0 || r.Left >= img.width() || r.Top >= img.height()) return 0;
  QColor bg = img.pixelColor(r.Left, r.Top);
  int n = 0;
  for (int y = r.Top; y < std::min(img.height(), r.Bottom); ++y)
    for (int x = r.Left; x < std::min(img.width(), r.Right); ++x) {
      QColor c = img.pixelColor(x, y);
      if (std::abs(c.red() - bg.red()) + std::abs(c.green() - bg.green()) + std::abs(c.blue() - bg.blue()) > 150) ++n;
    }
  return n;
}

// A left-button press at (x, y) of the control and a release at (rx, ry), as mouse messages.
inline void MouseClick(TControl* c, int x, int y, int rx, int ry) {
  c->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(WORD(x), WORD(y)));
  c->Perform(WM_LBUTTONUP, 0, MAKELPARAM(WORD(rx), WORD(ry)));
}
inline void MouseClick(TControl* c) { MouseClick(c, c->Width() / 2, c->Height() / 2, c->Width() / 2, c->Height() / 2); }
