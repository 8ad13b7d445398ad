// Colour arithmetic, gradients, progress indicators and cell shapes, probed on the pixels
// of a real bitmap.
#include <gtest/gtest.h>

#include <memory>

#include "controls/VevAzez.h"
#include "platform/rtl/System.h"

namespace {

constexpr TColor RGB3(int R, int G, int B) { return static_cast<TColor>(R | (G << 8) | (B << 16)); }

// A white bitmap to draw on.
class Paper {
public:
  Paper(int W, int H) : bmp_(std::make_unique<TBitmap>(W, H)) {
    c()->Brush()->SetColor(clWhite);
    c()->FillRect(TRect(0, 0, W, H));
  }
  TCanvas* c() { return bmp_->Canvas(); }
  TColor at(int X, int Y) { return c()->Pixels(X, Y); }

private:
  std::unique_ptr<TBitmap> bmp_;
};

TEST(VevAzezColours, ColourArithmeticAndHexText) {
  EXPECT_EQ(HalfColor(RGB3(1, 128, 255)), RGB3(0, 64, 127));
  int32_t W = ColorToRGB(clWindow);
  EXPECT_EQ(HalfColor(clWindow), static_cast<TColor>((W >> 1) & 0x7F7F7F));

  EXPECT_EQ(AdjustColorBrightness(RGB3(100, 100, 100), 50), RGB3(150, 150, 150));
  EXPECT_EQ(AdjustColorBrightness(RGB3(200, 200, 200), 50), RGB3(44, 44, 44));  // 300 wraps
  EXPECT_EQ(AdjustColorBrightness(RGB3(10, 200, 255), -100), clBlack);
  EXPECT_EQ(AdjustColorBrightness(RGB3(5, 5, 5), 50), RGB3(7, 7, 7));  // 2.5 rounds to even

  EXPECT_EQ(ColorToHex(RGB3(171, 205, 239)), u"ABCDEF");
  EXPECT_EQ(ColorToHex(clRed), u"FF0000");

  EXPECT_EQ(InterpolateColor(clBlack, clWhite, 0, 10, 5), RGB3(128, 128, 128));  // 127.5 -> 128
  EXPECT_EQ(InterpolateColor(clBlack, clWhite, 0, 10, 0), clBlack);
  EXPECT_EQ(InterpolateColor(clBlack, RGB3(10, 10, 10), 0, 4, 1), RGB3(2, 2, 2));  // 2.5 -> 2
  EXPECT_EQ(InterpolateColor(clWindow, clNone, 0, 10, 5), clWindow);
  EXPECT_THROW(InterpolateColor(clBlack, clWhite, 3, 3, 1), EZeroDivide);
  EXPECT_THROW(InterpolateColor(clBlack, clWhite, INT32_MIN, INT32_MAX, 1), EIntOverflow);
}

TEST(VevAzezColours, GradientBandsRunFromFirstToLastColour) {
  Paper p(40, 20);
  FillGradient(p.c(), clBlack, clWhite, 2, TRect(0, 0, 21, 10), true);  // Size 20, bands of 10
  EXPECT_EQ(p.at(0, 5), clBlack);
  EXPECT_EQ(p.at(9, 5), clBlack);
  EXPECT_EQ(p.at(12, 5), RGB3(128, 128, 128));  // 127.5 -> 128
  EXPECT_EQ(p.at(20, 5), clWhite);
  EXPECT_EQ(p.at(21, 5), clWhite);   // untouched paper right of R
  EXPECT_EQ(p.at(5, 10), clWhite);   // nor below it

  Paper v(10, 40);
  FillGradient(v.c(), clRed, clBlue, 128, TRect(0, 30, 10, 0), false);  // swapped, Steps lowered to 29
  EXPECT_EQ(v.at(5, 0), clRed);
  EXPECT_EQ(v.at(5, 29), clBlue);
  EXPECT_EQ(v.at(5, 30), clWhite);
}

TEST(VevAzezColours, GradientEdgeCases) {
  Paper p(10, 10);
  FillGradient(p.c(), clRed, clBlue, 0, TRect(2, 0, 3, 10), true);  // 1 pixel wide, Steps 0 -> 1
  EXPECT_EQ(p.at(2, 5), clBlue);  // the last band lies on the same pixel, clipped to R
  EXPECT_EQ(p.at(1, 5), clWhite);
  EXPECT_EQ(p.at(3, 5), clWhite);

  FillGradient(p.c(), clNone, clRed, 8, TRect(5, 0, 9, 10), true);
  EXPECT_EQ(p.at(5, 0), clRed);
  EXPECT_EQ(p.at(8, 9), clRed);

  FillGradient(p.c(), clLime, clLime, 8, TRect(0, 4, 10, 4), false);  // empty: nothing drawn
  EXPECT_EQ(p.at(0, 4), clWhite);
  EXPECT_THROW(FillGradient(p.c(), clRed, clBlue, 4, TRect(INT32_MAX - 5, 0, INT32_MAX, 5), true), EIntOverflow);
}

TEST(VevAzezColours, MirrorGradientFillsHalvesAndFrames) {
  Paper p(30, 30);
  FillMirrorGradient(p.c(), TRect(0, 0, 20, 20), clRed, clRed, clBlue, clBlue, true, clLime, false, true);
  EXPECT_EQ(p.at(5, 5), clRed);
  EXPECT_EQ(p.at(5, 15), clBlue);
  EXPECT_EQ(p.at(0, 5), clLime);
  EXPECT_EQ(p.at(19, 15), clLime);
  EXPECT_EQ(p.at(20, 15), clWhite);

  Paper s(30, 30);  // solid: one pixel longer at the bottom
  FillMirrorGradient(s.c(), TRect(0, 0, 10, 10), clRed, clNone, clNone, clNone, false, clNone, false, true);
  EXPECT_EQ(s.at(5, 10), clRed);
  EXPECT_EQ(s.at(5, 11), clWhite);

  Paper f(30, 30);  // Fill off: frame only; sides only draws the two sides
  FillMirrorGradient(f.c(), TRect(0, 0, 10, 10), clRed, clNone, clNone, clNone, false, clBlue, false, false);
  EXPECT_EQ(f.at(5, 5), clWhite);
  EXPECT_EQ(f.at(5, 0), clBlue);
  FillMirrorGradient(f.c(), TRect(12, 0, 22, 10), clRed, clNone, clNone, clNone, false, clBlue, true, false);
  EXPECT_EQ(f.at(12, 5), clBlue);
  EXPECT_EQ(f.at(21, 5), clBlue);
  EXPECT_EQ(f.at(16, 0), clWhite);

  Paper n(30, 30);
  FillMirrorGradient(n.c(), TRect(0, 0, 10, 10), clRed, clNone, clNone, clNone, false, clNone, false, false);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(n.at(i, i), clWhite);
}

TEST(VevAzezColours, SelectionGradientEnds) {
  // R 0..20 x 0..12: L 0, T 0, Rt 19, B 10.
  Paper p(30, 20);
  DrawSelectionGradient(p.c(), clRed, clNone, clNone, clNone, clMaroon, clNavy, clBlack, clGray, clYellow,
                        TRect(0, 0, 20, 12), 0);
  EXPECT_EQ(p.at(0, 0), clYellow);
  EXPECT_EQ(p.at(1, 0), clGray);
  EXPECT_EQ(p.at(17, 1), clGray);   // Rt - 2, T + 1
  EXPECT_EQ(p.at(18, 10), clYellow);  // Rt - 1, B
  EXPECT_EQ(p.at(5, 0), clBlack);   // border from L + 2
  EXPECT_EQ(p.at(5, 1), clMaroon);  // top line
  EXPECT_EQ(p.at(5, 9), clNavy);    // bottom line
  EXPECT_EQ(p.at(5, 5), clRed);     // inner fill
  EXPECT_EQ(p.at(0, 5), clBlack);   // left side line

  Paper q(30, 20);  // square ends
  DrawSelectionGradient(q.c(), clRed, clNone, clNone, clNone, clMaroon, clNavy, clBlack, clGray, clYellow,
                        TRect(0, 0, 20, 12), 3);
  EXPECT_EQ(q.at(0, 0), clBlack);
  EXPECT_EQ(q.at(18, 0), clBlack);
  EXPECT_EQ(q.at(0, 5), clRed);     // no side line; the fill starts at L
  EXPECT_EQ(q.at(0, 1), clMaroon);
}

}  // namespace
