// The glow's bitmaps: the blurred rounded-rectangle mask and the premultiplied alpha mask.
#include <gtest/gtest.h>

#include "grid/GridAlphaMask.h"
#include "platform/rtl/SysUtils.h"

namespace {

uint32_t Px(TBitmap& B, int X, int Y) { return static_cast<uint32_t*>(B.ScanLine(Y))[X] & 0xFFFFFF; }
int Red(TBitmap& B, int X, int Y) { return int((Px(B, X, Y) >> 16) & 0xFF); }

}  // namespace

TEST(GridAlphaMask, RoundRectMaskIsAWhiteRingBlurredSymmetricallyOnBlack) {
  TBitmap m;
  MakeRoundRectMask(&m, 60, 30, 0, 5, 4);
  EXPECT_EQ(m.PixelFormat(), pf24bit);
  ASSERT_EQ(m.Width(), 60);
  // The pen of 4 centred on the rectangle from (4, 4): white around x = 4, black inside and out.
  EXPECT_EQ(Red(m, 0, 15), 0);
  EXPECT_EQ(Red(m, 4, 15), 255);
  EXPECT_EQ(Red(m, 30, 15), 0);
  EXPECT_EQ(Red(m, 30, 4), 255);

  TBitmap blurred;
  MakeRoundRectMask(&blurred, 60, 30, 3, 5, 4);
  // Light spreads out of the ring and inwards, the same on both sides (the right edge is one
  // pixel in, as rectangles leave out their right edge).
  EXPECT_GT(Red(blurred, 0, 15), 0);
  EXPECT_LT(Red(blurred, 4, 15), 255);
  EXPECT_GT(Red(blurred, 9, 15), 0);
  for (int x = 0; x < 29; ++x) EXPECT_NEAR(Red(blurred, x, 15), Red(blurred, 58 - x, 15), 1) << x;
  EXPECT_LE(Red(blurred, 30, 15), 2);

  // A filled one for a pen width under 1.
  TBitmap filled;
  MakeRoundRectMask(&filled, 20, 20, 0, 5, 0);
  EXPECT_EQ(Red(filled, 10, 10), 255);
}

TEST(GridAlphaMask, BlurKeepsTheLevelOfAUniformBitmapAndTakesOnly24Bits) {
  TBitmap b;
  b.SetPixelFormat(pf24bit);
  b.SetSize(50, 50);
  b.Canvas()->Brush()->SetColor(TColor(0x00306090));
  b.Canvas()->FillRect(Rect(0, 0, 50, 50));
  BlurBitmap(&b, 3);
  for (int p : {0, 10, 25, 49}) EXPECT_EQ(Px(b, p, 49 - p), 0x906030u) << p;
  BlurBitmap(&b, 0);  // nothing to blur

  TBitmap wide;
  wide.SetPixelFormat(pf32bit);
  wide.SetSize(4, 4);
  try {
    BlurBitmap(&wide, 3);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), u"Blur only works for 24-bit bitmaps");
  }
}

TEST(GridAlphaMask, MergeGivesPremultipliedPixelsAndAssignCopiesAtTheSourcesSize) {
  TBitmap mask, colour;
  MakeRoundRectMask(&mask, 40, 30, 3, 5, 4);
  colour.SetPixelFormat(pf24bit);
  colour.SetSize(40, 30);
  colour.Canvas()->Brush()->SetColor(TColor(0x00FDD397));
  colour.Canvas()->FillRect(Rect(0, 0, 40, 30));
  TGridAlphaMask a;
  a.SetOpacity(230);
  a.MergeMask(&mask, &colour, clNone);
  ASSERT_EQ(a.Width(), 40);
  for (auto [x, y] : {std::pair{4, 15}, {1, 15}, {20, 15}, {20, 4}}) {
    const uint32_t px = static_cast<uint32_t*>(a.ScanLine(y))[x];
    const uint32_t alpha = px >> 24;
    EXPECT_EQ(alpha, uint32_t(Red(mask, x, y)));
    EXPECT_NEAR(double((px >> 16) & 0xFF), 0x97 * alpha / 255.0, 0.51);  // red of 0x00FDD397
    EXPECT_NEAR(double(px & 0xFF), 0xFD * alpha / 255.0, 0.51);
  }
  // A 32-bit colour bitmap is not merged.
  TBitmap other;
  other.SetPixelFormat(pf32bit);
  other.SetSize(5, 5);
  a.MergeMask(&mask, &other, clNone);
  EXPECT_EQ(a.Width(), 40);

  TGridAlphaMask small;
  small.Assign(&a);
  EXPECT_EQ(small.Opacity(), 230);
  EXPECT_EQ(small.PixelFormat(), pf32bit);
  ASSERT_EQ(small.Height(), 30);
  EXPECT_EQ(static_cast<uint32_t*>(small.ScanLine(15))[4], static_cast<uint32_t*>(a.ScanLine(15))[4]);
}
