#pragma once
// The soft glow around a cell: a mask bitmap with a blurred white rounded rectangle on black,
// and a 32-bit bitmap whose alpha comes from such a mask over a colour bitmap.

#include <cstdint>

#include "platform/ui/Graphics.h"

// A 32-bit bitmap of premultiplied pixels (colour times alpha), shown at Opacity.
class TGridAlphaMask : public TBitmap {
public:
  TGridAlphaMask();
  String ClassName() const override { return u"TGridAlphaMask"; }
  // From another mask: its opacity and pixels (this mask takes its size); from any other
  // source as a bitmap. Either way the pixel format stays 32-bit.
  void Assign(TPersistent* Source) override;
  // For a 24-bit Bitmap: takes its size; each pixel's alpha is the red channel of Mask at that
  // point (0 outside Mask) and its colour Bitmap's times alpha / 255. Color is not used.
  void MergeMask(TBitmap* Mask, TBitmap* Bitmap, TColor Color);

  uint8_t Opacity() const { return FOpacity; }
  void SetOpacity(uint8_t Value) { FOpacity = Value; }

private:
  uint8_t FOpacity = 255;
};

// Makes Bitmap a 24-bit Width x Height black bitmap with a white rounded rectangle (Corner x
// Corner corners) inset by PenWidth div 2 + 2: outlined by a pen of PenWidth, filled when
// PenWidth < 1; then blurred with Radius when Radius > 0.
void MakeRoundRectMask(TBitmap* Bitmap, int Width, int Height, int Radius, int Corner, int PenWidth);
// Gaussian blur of a 24-bit bitmap with the given radius (nothing for a radius of 0 or less);
// raises Exception "Blur only works for 24-bit bitmaps" for any other bitmap. Rows and columns
// more than 20 pixels from every edge are copies of row and column 15, as in a mask whose
// middle is uniform.
void BlurBitmap(TBitmap* Bitmap, int Radius);
