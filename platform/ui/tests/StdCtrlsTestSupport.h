#pragma once
// Helpers of the class library's tests: placing controls, and pixel checks on controls
// rendered by RenderControl.

#include <QImage>
#include <cstdlib>

#include "platform/ui/Graphics_p.h"
#include "testing/TestSupport.h"

// The control as it shows (see RenderControl), as an image.
inline QImage Render(TControl* c) {
  std::unique_ptr<TBitmap> b = RenderControl(c);
  return TBitmapAccess::Image(b.get()).convertToFormat(QImage::Format_RGB32);
}

// Pixels in r within tolerance of a colour.
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

// A new control of the owner's, placed on parent.
template <typename T>
T* PlaceControl(TComponent* owner, TWinControl* parent, int left, int top, int width, int height) {
  T* c = new T(owner);
  c->SetParent(parent);
  c->SetBounds(left, top, width, height);
  return c;
}

// A click in the middle of a control.
inline void ClickCentre(TControl* c) { SimulateClick(c, c->Width() / 2, c->Height() / 2); }
