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

TEST(VevAzezColours, CellProgressBarTextAndDonePart) {
  // R 0..100 x 0..20 with no margins: the bar is drawn over 0..100.
  struct Case { double value; int min, max; const char16_t* fmt; int doneTo; };
  for (Case c : {Case{150, 0, 0, u"", 100}, {-5, 0, 0, u"", 0}, {2.5, 0, 10, u"%.1f kg", 25},
                 {2.5, 0, 10, u"%.1f days", 25}, {7.6, 0, 10, u"%d", 76}, {50, 0, 100, u"%-5.2f %%", 50}}) {
    Paper p(110, 30);
    p.c()->Brush()->SetColor(clYellow);  // the background the outer frame is painted with
    p.c()->Font()->SetColor(clBlack);
    DrawCellProgressBar(p.c(), TRect(2, 2, 102, 22), clRed, clRed, clBlue, clBlue, c.value, 0, 0, c.min, c.max,
                        c.fmt, clLime, false);
    SCOPED_TRACE(StringToUTF8(c.fmt));
    // Text is in the done or rest colour, so each half reads as one colour at its top row.
    if (c.doneTo > 0) { EXPECT_EQ(p.at(2 + c.doneTo - 1, 3), clRed); }
    if (c.doneTo < 100) { EXPECT_EQ(p.at(2 + c.doneTo, 3), clBlue); }
    EXPECT_EQ(p.at(1, 10), clLime);    // border, 1 outside
    EXPECT_EQ(p.at(0, 10), clYellow);  // background frame, 2 outside
  }
}

TEST(VevAzezColours, CellProgressBarErrors) {
  Paper p(110, 30);
  EXPECT_THROW(DrawCellProgressBar(p.c(), TRect(0, 0, 100, 20), clRed, clRed, clBlue, clBlue, 3, 0, 0, 5, 5, u"%d",
                                   clNone, false),
               EZeroDivide);
  EXPECT_THROW(DrawCellProgressBar(p.c(), TRect(0, 0, 100, 20), clRed, clRed, clBlue, clBlue, 3, 0, 0, 0, 10, u"%s",
                                   clNone, false),
               EConvertError);
  EXPECT_THROW(DrawCellProgressBar(p.c(), TRect(0, 0, 100, 20), clRed, clRed, clBlue, clBlue, 1e12, 0, 0, 0, 0, u"",
                                   clNone, false),
               EIntOverflow);
}

TEST(VevAzezColours, ProgressPieFillsTheSectorOnly) {
  struct Case { int percent; bool ur, lr, ll, ul; };
  for (Case c : {Case{25, true, false, false, false}, {0, false, false, false, false},
                 {75, true, true, true, false}, {100, true, true, true, true}}) {
    for (bool flipped : {false, true}) {
      Paper p(50, 50);
      p.c()->Brush()->SetColor(clWhite);
      DrawProgressPie(p.c(), TRect(0, 0, 41, 41), clRed, c.percent, flipped);
      SCOPED_TRACE(c.percent);
      EXPECT_EQ(p.at(28, 12) == clRed, c.ur);
      EXPECT_EQ(p.at(28, 28) == clRed, c.lr);
      EXPECT_EQ(p.at(12, 28) == clRed, c.ll);
      EXPECT_EQ(p.at(12, 12) == clRed, c.ul);
      EXPECT_EQ(p.at(45, 45), clWhite);  // never outside the circle
      EXPECT_EQ(p.at(20, 1), TColor(0x808080));  // radius to 12 o'clock
    }
  }
}

TProgressAppearanceInfo Look() {
  TProgressAppearanceInfo L;
  L.Level0Color = L.Level0ColorTo = clRed;
  L.Level1Color = L.Level1ColorTo = clBlue;
  L.Level2Color = L.Level2ColorTo = clLime;
  L.Level3Color = L.Level3ColorTo = clYellow;
  L.Level1Perc = 30;
  L.Level2Perc = 70;
  L.ShowPercentage = false;
  L.BackgroundColor = clWhite;
  L.BorderColor = clBlack;
  return L;
}

TEST(VevAzezColours, StyledBarLevelsBlocksAndStacks) {
  struct Case { int percent; TColor col; };
  for (Case c : {Case{10, clRed}, {50, clBlue}, {99, clLime}, {100, clYellow}}) {
    Paper p(110, 20);
    DrawStyledProgressBar(p.c(), TRect(0, 0, 100, 10), c.percent, Look());
    EXPECT_EQ(p.at(1, 5), c.col) << c.percent;
    EXPECT_EQ(p.at(0, 5), clBlack);
  }

  Paper b(110, 20);  // blocks: 7 pixels at 2, 11, 20, 29, 38, then 3 at 47
  TProgressAppearanceInfo L = Look();
  L.CompletionSmooth = false;
  DrawStyledProgressBar(b.c(), TRect(0, 0, 100, 10), 50, L);
  for (int x : {2, 8, 11, 38, 44, 47, 49}) EXPECT_EQ(b.at(x, 5), clBlue) << x;
  for (int x : {1, 9, 10, 45, 46, 50, 60}) EXPECT_EQ(b.at(x, 5), clWhite) << x;
  EXPECT_EQ(b.at(5, 1), clWhite);  // inset 2 across

  Paper s(110, 20);  // stacked: Level0 to 30 %, Level1 to 50 %
  L = Look();
  L.Stacked = true;
  DrawStyledProgressBar(s.c(), TRect(0, 0, 100, 10), 50, L);
  EXPECT_EQ(s.at(1, 5), clRed);
  EXPECT_EQ(s.at(29, 5), clRed);   // 1 + Round(29.4) - 1
  EXPECT_EQ(s.at(30, 5), clBlue);
  EXPECT_EQ(s.at(49, 5), clBlue);  // 30 + Round(19.6) - 1
  EXPECT_EQ(s.at(50, 5), clWhite);

  Paper f(110, 20);  // at 100 % the Level3 segment ends exactly at the frame
  DrawStyledProgressBar(f.c(), TRect(0, 0, 100, 10), 100, L);
  EXPECT_EQ(f.at(70, 5), clYellow);
  EXPECT_EQ(f.at(98, 5), clYellow);
  EXPECT_EQ(f.at(99, 5), clBlack);

  Paper v(20, 110);  // vertical, growing from the bottom
  L = Look();
  L.Vertical = true;
  DrawStyledProgressBar(v.c(), TRect(0, 0, 10, 100), 50, L);
  EXPECT_EQ(v.at(5, 98), clBlue);
  EXPECT_EQ(v.at(5, 50), clBlue);
  EXPECT_EQ(v.at(5, 48), clWhite);
}

// The bounding box of the inked pixels inside the frame (anti-aliased text included).
TRect InkBox(Paper& p, int W, int H) {
  TRect B(W, H, -1, -1);
  for (int y = 1; y < H - 1; ++y)
    for (int x = 1; x < W - 1; ++x)
      if (p.at(x, y) != clWhite) B = TRect(std::min(B.Left, x), std::min(B.Top, y), std::max(B.Right, x), std::max(B.Bottom, y));
  return B;
}

TEST(VevAzezColours, StyledBarPercentageTextIsCentredAndTurnedWhenVertical) {
  TFont Font;
  Font.SetSize(12);
  TProgressAppearanceInfo L = Look();
  L.ShowPercentage = true;
  L.Font = &Font;
  L.FontColor = clRed;

  Paper h(120, 40);
  DrawStyledProgressBar(h.c(), TRect(0, 0, 120, 40), 0, L);
  TRect B = InkBox(h, 120, 40);
  ASSERT_LT(B.Left, B.Right);
  EXPECT_GT(B.Right - B.Left, B.Bottom - B.Top);
  EXPECT_NEAR((B.Left + B.Right) / 2, 60, 4);
  EXPECT_NEAR((B.Top + B.Bottom) / 2, 20, 4);

  Paper v(40, 120);
  L.Vertical = true;
  DrawStyledProgressBar(v.c(), TRect(0, 0, 40, 120), 0, L);
  B = InkBox(v, 40, 120);
  ASSERT_LT(B.Top, B.Bottom);
  EXPECT_GT(B.Bottom - B.Top, B.Right - B.Left);
  EXPECT_NEAR((B.Top + B.Bottom) / 2, 60, 4);
}

TEST(VevAzezColours, CellShapes) {
  Paper p(40, 40);
  DrawCellShape(p.c(), 0, 0, 20, 10, csCircle, clRed, clRed);  // 10 by 10
  EXPECT_EQ(p.at(5, 5), clRed);
  EXPECT_EQ(p.at(15, 5), clWhite);

  Paper a(40, 40);  // W 9 counts as 8: the shaft runs from 2 to 6
  DrawCellShape(a.c(), 0, 0, 9, 20, csArrowUp, clRed, clRed);
  EXPECT_EQ(a.at(4, 15), clRed);
  EXPECT_EQ(a.at(1, 15), clWhite);
  EXPECT_EQ(a.at(8, 15), clWhite);

  Paper s(40, 40);
  DrawCellShape(s.c(), 0, 0, 30, 30, csStar, clRed, clRed);
  EXPECT_EQ(s.at(15, 15), clRed);
  EXPECT_EQ(s.at(15, 2), clRed);    // top point
  EXPECT_EQ(s.at(3, 3), clWhite);

  Paper h(40, 40);
  DrawCellShape(h.c(), 0, 0, 30, 30, csHalfStar, clRed, clRed);
  EXPECT_EQ(h.at(12, 14), clRed);
  EXPECT_EQ(h.at(22, 14), clWhite);  // right half stays empty

  Paper t(40, 40);
  DrawCellShape(t.c(), 0, 0, 20, 20, csTriangleRight, clBlue, clBlue);
  EXPECT_EQ(t.at(3, 10), clBlue);
  EXPECT_EQ(t.at(18, 3), clWhite);
  DrawCellShape(t.c(), 0, 0, 20, 20, static_cast<TCellShape>(csHalfStar + 1), clRed, clRed);
  EXPECT_EQ(t.at(3, 10), clBlue);
}

}  // namespace
