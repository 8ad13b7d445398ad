#pragma once
// Test support: a memory DC with a white 32-bit bitmap, and reading its pixels back.

#include <algorithm>
#include <vector>

#include "platform/win/Gdi.h"

// A memory DC with a white 32-bit bitmap of the given size.
struct TMemorySurface {
  HDC dc;
  HBITMAP bmp;
  HGDIOBJ old;
  int w, h;
  TMemorySurface(int width, int height) : w(width), h(height) {
    dc = CreateCompatibleDC(nullptr);
    bmp = CreateBitmap(w, h, 1, 32, nullptr);
    old = SelectObject(dc, bmp);
    RECT r(0, 0, w, h);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  ~TMemorySurface() {
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
  }
  COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
  std::vector<COLORREF> All() const {
    std::vector<COLORREF> v;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) v.push_back(GetPixel(dc, x, y));
    return v;
  }
  // Bounding box of pixels differing from white (empty when there is none).
  RECT Ink() const {
    RECT r(w, h, 0, 0);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (GetPixel(dc, x, y) != RGB(255, 255, 255)) {
          r.Left = std::min(r.Left, x);
          r.Top = std::min(r.Top, y);
          r.Right = std::max(r.Right, x + 1);
          r.Bottom = std::max(r.Bottom, y + 1);
        }
    return r;
  }
};
