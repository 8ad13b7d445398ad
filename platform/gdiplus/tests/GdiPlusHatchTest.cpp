// Hatch brushes: statuses, the patterns' meaning read back from pixels, and their device alignment.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/gdiplus/GdiPlusFlat.h"
#include "testing/MemorySurface.h"

namespace {

constexpr ARGB kFore = 0xFF000000;
constexpr ARGB kBack = 0xFFFFFFFF;

// The 8 by 8 cell of a style filled over a 16 by 16 surface: per pixel 0 (background) .. 255
// (foreground), read from the blue channel.
struct TPattern {
  std::vector<int> cov;  // 16 x 16
  int At(int x, int y) const { return cov[(y % 16) * 16 + x % 16]; }
  bool Ink(int x, int y) const { return At(x, y) == 255; }
  int Count() const {
    int n = 0;
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) n += Ink(x, y);
    return n;
  }
  // The cell as text, '#' for foreground, '+' for a blend.
  std::string Cell() const {
    std::string s;
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) s += Ink(x, y) ? '#' : At(x, y) == 0 ? '.' : '+';
    return s;
  }
};

TPattern Render(HatchStyle style, GpMatrix* world = nullptr) {
  TMemorySurface s(16, 16);
  GpGraphics* g = nullptr;
  GpHatch* h = nullptr;
  EXPECT_EQ(GdipCreateFromHDC(s.dc, &g), Ok);
  EXPECT_EQ(GdipCreateHatchBrush(style, kFore, kBack, &h), Ok);
  if (world) GdipSetWorldTransform(g, world);
  EXPECT_EQ(GdipFillRectangle(g, h, -20, -20, 100, 100), Ok);
  GdipDeleteBrush(h);
  GdipDeleteGraphics(g);
  TPattern p;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) p.cov.push_back(255 - int((s.At(x, y) >> 16) & 0xFF));
  return p;
}

}  // namespace

TEST(GdiPlusHatch, StatusesAndProperties) {
  EXPECT_EQ(HatchStyleSolidDiamond, 52);
  EXPECT_EQ(HatchStyleTotal, 53);
  EXPECT_EQ(HatchStyleLargeGrid, HatchStyleCross);
  GpHatch* h = nullptr;
  EXPECT_EQ(GdipCreateHatchBrush(HatchStyle(-1), kFore, kBack, &h), InvalidParameter);
  EXPECT_EQ(GdipCreateHatchBrush(HatchStyleTotal, kFore, kBack, &h), InvalidParameter);
  EXPECT_EQ(GdipCreateHatchBrush(HatchStyleWeave, kFore, kBack, nullptr), InvalidParameter);
  EXPECT_EQ(h, nullptr);
  ASSERT_EQ(GdipCreateHatchBrush(HatchStyleWeave, 0x80102030, 0x01020304, &h), Ok);
  HatchStyle style = HatchStyleHorizontal;
  ARGB fore = 0, back = 0;
  EXPECT_EQ(GdipGetHatchStyle(h, &style), Ok);
  EXPECT_EQ(GdipGetHatchForegroundColor(h, &fore), Ok);
  EXPECT_EQ(GdipGetHatchBackgroundColor(h, &back), Ok);
  EXPECT_EQ(style, HatchStyleWeave);
  EXPECT_EQ(fore, 0x80102030u);
  EXPECT_EQ(back, 0x01020304u);
  GpBrushType type = BrushTypeSolidColor;
  EXPECT_EQ(GdipGetBrushType(h, &type), Ok);
  EXPECT_EQ(type, BrushTypeHatchFill);
  EXPECT_EQ(GdipGetHatchStyle(h, nullptr), InvalidParameter);
  EXPECT_EQ(GdipGetHatchStyle(nullptr, &style), InvalidParameter);
  GpSolidFill* solid = nullptr;
  ASSERT_EQ(GdipCreateSolidFill(kFore, &solid), Ok);
  EXPECT_EQ(GdipGetHatchForegroundColor(reinterpret_cast<GpHatch*>(static_cast<GpBrush*>(solid)), &fore),
            InvalidParameter);
  GdipDeleteBrush(solid);

  // A pen made from the brush is a hatch pen and hands out a hatch brush.
  GpPen* pen = nullptr;
  ASSERT_EQ(GdipCreatePen2(h, 3, UnitWorld, &pen), Ok);
  GpPenType penType = PenTypeUnknown;
  EXPECT_EQ(GdipGetPenFillType(pen, &penType), Ok);
  EXPECT_EQ(penType, PenTypeHatchFill);
  GpBrush* copy = nullptr;
  ASSERT_EQ(GdipGetPenBrushFill(pen, &copy), Ok);
  EXPECT_EQ(GdipGetHatchStyle(static_cast<GpHatch*>(copy), &style), Ok);
  EXPECT_EQ(style, HatchStyleWeave);
  GdipDeleteBrush(copy);
  GdipDeletePen(pen);
  GdipDeleteBrush(h);
}

TEST(GdiPlusHatch, EveryStyleIsItsOwnEightByEightPattern) {
  std::set<std::string> seen;
  for (int s = HatchStyleMin; s <= HatchStyleMax; ++s) {
    const TPattern p = Render(HatchStyle(s));
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) ASSERT_EQ(p.At(x, y), p.At(x + 8, y + 8)) << s;
    const std::string cell = p.Cell();
    EXPECT_NE(cell.find('#'), std::string::npos) << s;
    EXPECT_NE(cell.find('.'), std::string::npos) << s;
    EXPECT_TRUE(seen.insert(cell).second) << "style " << s << " repeats another: " << cell;
  }
}

TEST(GdiPlusHatch, LinesSpacingAndWidth) {
  // Rows inked per 8 (horizontal styles) and the same in columns for the vertical ones.
  struct {
    HatchStyle horizontal, vertical;
    std::string rows;
  } cases[] = {
      {HatchStyleHorizontal, HatchStyleVertical, "#......."},
      {HatchStyleLightHorizontal, HatchStyleLightVertical, "#...#..."},
      {HatchStyleNarrowHorizontal, HatchStyleNarrowVertical, "#.#.#.#."},
      {HatchStyleDarkHorizontal, HatchStyleDarkVertical, "##..##.."},
  };
  for (const auto& c : cases) {
    const TPattern h = Render(c.horizontal), v = Render(c.vertical);
    std::string rows, cols;
    for (int i = 0; i < 8; ++i) {
      rows += h.Ink(i, i) ? '#' : '.';
      cols += v.Ink(i, i) ? '#' : '.';
      for (int j = 0; j < 8; ++j) {
        EXPECT_EQ(h.Ink(j, i), h.Ink(0, i)) << c.horizontal;  // whole rows
        EXPECT_EQ(v.Ink(i, j), v.Ink(i, 0)) << c.vertical;    // whole columns
      }
    }
    EXPECT_EQ(rows, c.rows) << c.horizontal;
    EXPECT_EQ(cols, c.rows) << c.vertical;
  }
  // The cross is both single lines; the small grid both light ones.
  const TPattern cross = Render(HatchStyleCross), grid = Render(HatchStyleSmallGrid);
  const TPattern h = Render(HatchStyleHorizontal), v = Render(HatchStyleVertical);
  const TPattern lh = Render(HatchStyleLightHorizontal), lv = Render(HatchStyleLightVertical);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      EXPECT_EQ(cross.Ink(x, y), h.Ink(x, y) || v.Ink(x, y));
      EXPECT_EQ(grid.Ink(x, y), lh.Ink(x, y) || lv.Ink(x, y));
    }
}

TEST(GdiPlusHatch, DiagonalsSlantAndOnlyThePlainOnesAreAntialiased) {
  // Down-slanting styles move one pixel right per row, up-slanting ones one pixel left.
  struct {
    HatchStyle style;
    int step;        // +1 down to the right, -1 up to the right
    int inkPerRow;   // full pixels per row of 8
    bool blended;    // antialiased edges
  } cases[] = {
      {HatchStyleForwardDiagonal, 1, 1, true},        {HatchStyleBackwardDiagonal, -1, 1, true},
      {HatchStyleLightDownwardDiagonal, 1, 2, false}, {HatchStyleLightUpwardDiagonal, -1, 2, false},
      {HatchStyleDarkDownwardDiagonal, 1, 4, false},  {HatchStyleDarkUpwardDiagonal, -1, 4, false},
      {HatchStyleWideDownwardDiagonal, 1, 3, false},  {HatchStyleWideUpwardDiagonal, -1, 3, false},
  };
  for (const auto& c : cases) {
    const TPattern p = Render(c.style);
    bool blended = false;
    for (int y = 0; y < 8; ++y) {
      int ink = 0;
      for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(p.At(x, y), p.At(x + 8 + c.step, y + 1)) << c.style;
        ink += p.Ink(x, y);
        blended |= p.At(x, y) != 0 && p.At(x, y) != 255;
      }
      EXPECT_EQ(ink, c.inkPerRow) << c.style;
    }
    EXPECT_EQ(blended, c.blended) << c.style;
  }
  // The diagonal cross is both plain diagonals; the outlined diamond crosses without blending.
  const TPattern cross = Render(HatchStyleDiagonalCross), f = Render(HatchStyleForwardDiagonal),
                 b = Render(HatchStyleBackwardDiagonal);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(cross.At(x, y), std::max(f.At(x, y), b.At(x, y)));
  EXPECT_EQ(Render(HatchStyleOutlinedDiamond).Cell().find('+'), std::string::npos);
}

TEST(GdiPlusHatch, PercentFillsInkTheirShareEvenly) {
  struct {
    HatchStyle style;
    int percent;
  } cases[] = {{HatchStyle05Percent, 5},  {HatchStyle10Percent, 10}, {HatchStyle20Percent, 20},
               {HatchStyle25Percent, 25}, {HatchStyle30Percent, 30}, {HatchStyle40Percent, 40},
               {HatchStyle50Percent, 50}, {HatchStyle60Percent, 60}, {HatchStyle70Percent, 70},
               {HatchStyle75Percent, 75}, {HatchStyle80Percent, 80}, {HatchStyle90Percent, 90}};
  int last = 0;
  for (const auto& c : cases) {
    const TPattern p = Render(c.style);
    const int n = p.Count();
    EXPECT_NEAR(n * 100.0 / 64, c.percent, 3.2) << c.style;
    EXPECT_GT(n, last) << c.style;
    last = n;
    // Evenly spread: every 4 by 4 quarter holds the same share.
    for (int qy = 0; qy < 8; qy += 4)
      for (int qx = 0; qx < 8; qx += 4) {
        int q = 0;
        for (int y = 0; y < 4; ++y)
          for (int x = 0; x < 4; ++x) q += p.Ink(qx + x, qy + y);
        EXPECT_EQ(q * 4, n) << c.style;
      }
  }
  // Half is a one-pixel checkerboard; the checkerboard styles have 2- and 4-pixel squares.
  struct {
    HatchStyle style;
    int square;
  } boards[] = {{HatchStyle50Percent, 1}, {HatchStyleSmallCheckerBoard, 2}, {HatchStyleLargeCheckerBoard, 4}};
  for (const auto& c : boards) {
    const TPattern p = Render(c.style);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) EXPECT_EQ(p.Ink(x, y), (x / c.square + y / c.square) % 2 == 0) << c.style;
  }
}

TEST(GdiPlusHatch, PatternsSitOnDevicePixelsWhateverTheWorldTransform) {
  GpMatrix* m = nullptr;
  ASSERT_EQ(GdipCreateMatrix2(2, 0, 0, 3, 3.5f, 5, &m), Ok);
  for (HatchStyle s : {HatchStyleHorizontal, HatchStyleForwardDiagonal, HatchStyleHorizontalBrick,
                       HatchStyleSmallConfetti}) {
    const TPattern plain = Render(s), moved = Render(s, m);
    EXPECT_EQ(moved.cov, plain.cov) << s;
  }
  GdipDeleteMatrix(m);
  // Row 0 of the horizontal hatch is the device's row 0, 8, 16, ...
  EXPECT_TRUE(Render(HatchStyleHorizontal).Ink(3, 8));
}

TEST(GdiPlusHatch, ColoursAndTransparency) {
  // Each pixel is one of the two colours, not one over the other, and is blended with what is
  // there: over blue, a transparent background leaves the blue and a half-transparent red
  // foreground gives purple.
  TMemorySurface s(8, 8);
  GpGraphics* g = nullptr;
  ASSERT_EQ(GdipCreateFromHDC(s.dc, &g), Ok);
  GpSolidFill* blue = nullptr;
  ASSERT_EQ(GdipCreateSolidFill(0xFF0000FF, &blue), Ok);
  ASSERT_EQ(GdipFillRectangle(g, blue, 0, 0, 8, 8), Ok);
  GdipDeleteBrush(blue);
  GpHatch* h = nullptr;
  ASSERT_EQ(GdipCreateHatchBrush(HatchStyleVertical, 0x80FF0000, 0x00FFFFFF, &h), Ok);
  ASSERT_EQ(GdipFillRectangle(g, h, 0, 0, 8, 8), Ok);
  EXPECT_EQ(s.At(1, 3), RGB(0, 0, 255));
  const COLORREF c = s.At(0, 3);
  EXPECT_NEAR(int(c & 0xFF), 128, 2);
  EXPECT_EQ(int((c >> 8) & 0xFF), 0);
  EXPECT_NEAR(int((c >> 16) & 0xFF), 127, 2);
  GdipDeleteBrush(h);
  GdipDeleteGraphics(g);
}
