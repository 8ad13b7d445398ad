#pragma once
// Pixel counts of the cell editors' look tests on controls rendered by RenderControl.

#include "platform/ui/Graphics.h"
#include "testing/TestSupport.h"

// Pixels of exactly that colour in r.
inline int CountColor(TBitmap& b, const TRect& r, TColor Color) {
  int n = 0;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) n += PixelColor(b, x, y) == ColorToRGB(Color) ? 1 : 0;
  return n;
}

// Pixels in r that differ between two renderings.
inline int Differing(TBitmap& a, TBitmap& b, const TRect& r) {
  int n = 0;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) n += PixelColor(a, x, y) != PixelColor(b, x, y) ? 1 : 0;
  return n;
}
