// The GDI+ flat functions over a memory DC: statuses, matrix and path tables, and pixel probes of
// edges, antialiasing and gradients.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/gdiplus/GdiPlusFlat.h"
#include "platform/win/Gdi.h"
#include "testing/MemorySurface.h"

namespace {

constexpr ARGB kBlack = 0xFF000000;
constexpr ARGB kRed = 0xFFFF0000;
constexpr COLORREF kWhiteRef = 0xFFFFFF;

// A white memory surface with GDI+ graphics on it.
struct TSurface : TMemorySurface {
  GpGraphics* g = nullptr;
  TSurface(int width, int height) : TMemorySurface(width, height) { EXPECT_EQ(GdipCreateFromHDC(dc, &g), Ok); }
  ~TSurface() { GdipDeleteGraphics(g); }
  // Pixels neither white nor the given colour (antialiasing shades).
  int Shades(COLORREF ink) const {
    int n = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) n += At(x, y) != kWhiteRef && At(x, y) != ink;
    return n;
  }
};

struct TPen {
  GpPen* p = nullptr;
  explicit TPen(ARGB c, REAL width = 1) { EXPECT_EQ(GdipCreatePen1(c, width, UnitWorld, &p), Ok); }
  ~TPen() { GdipDeletePen(p); }
};

struct TSolid {
  GpSolidFill* b = nullptr;
  explicit TSolid(ARGB c) { EXPECT_EQ(GdipCreateSolidFill(c, &b), Ok); }
  ~TSolid() { GdipDeleteBrush(b); }
};

void ExpectRect(const RECT& r, int l, int t, int rt, int b) {
  EXPECT_EQ(r.Left, l);
  EXPECT_EQ(r.Top, t);
  EXPECT_EQ(r.Right, rt);
  EXPECT_EQ(r.Bottom, b);
}

}  // namespace

TEST(GdiPlus, StatusesAndConstantsKeepGdiPlusOrdinals) {
  EXPECT_EQ(Ok, 0);
  EXPECT_EQ(NotImplemented, 6);
  EXPECT_EQ(FontFamilyNotFound, 14);
  EXPECT_EQ(GdiplusNotInitialized, 18);
  EXPECT_EQ(PropertyNotSupported, 20);
  EXPECT_EQ(UnitMillimeter, 6);
  EXPECT_EQ(SmoothingModeAntiAlias, 4);
  EXPECT_EQ(SmoothingModeAntiAlias8x8, 5);
  EXPECT_EQ(LineCapArrowAnchor, 0x14);
  EXPECT_EQ(CombineModeComplement, 5);
  EXPECT_EQ(WrapModeClamp, 4);
  EXPECT_EQ(DashStyleCustom, 5);
}

TEST(GdiPlus, StartupChecksItsInputAndAllocOnlyWhileRunning) {
  ULONG_PTR token = 0;
  GdiplusStartupInput in;
  GdiplusStartupOutput out;
  EXPECT_EQ(GdipAlloc(8), nullptr);
  in.GdiplusVersion = 3;
  EXPECT_EQ(GdiplusStartup(&token, &in, &out), UnsupportedGdiplusVersion);
  in.GdiplusVersion = 1;
  in.SuppressBackgroundThread = 1;
  EXPECT_EQ(GdiplusStartup(&token, &in, nullptr), InvalidParameter);
  EXPECT_EQ(GdiplusStartup(nullptr, &in, &out), InvalidParameter);
  ASSERT_EQ(GdiplusStartup(&token, &in, &out), Ok);
  ASSERT_NE(out.NotificationHook, nullptr);
  ULONG_PTR hook = 0;
  EXPECT_EQ(out.NotificationHook(&hook), Ok);
  out.NotificationUnhook(hook);
  void* mem = GdipAlloc(64);
  EXPECT_NE(mem, nullptr);
  GdipFree(mem);
  GdiplusShutdown(token);
  EXPECT_EQ(GdipAlloc(8), nullptr);
}

TEST(GdiPlus, NullObjectsAndBadValuesAreInvalidParameter) {
  TSurface s(4, 4);
  GpGraphics* g = nullptr;
  EXPECT_EQ(GdipCreateFromHDC(nullptr, &g), OutOfMemory);
  EXPECT_EQ(GdipFillRectangle(s.g, nullptr, 0, 0, 1, 1), InvalidParameter);
  EXPECT_EQ(GdipDrawLine(nullptr, nullptr, 0, 0, 1, 1), InvalidParameter);
  EXPECT_EQ(GdipSetSmoothingMode(s.g, SmoothingModeInvalid), InvalidParameter);
  EXPECT_EQ(GdipSetSmoothingMode(s.g, static_cast<SmoothingMode>(7)), InvalidParameter);
  EXPECT_EQ(GdipSetPageUnit(s.g, UnitWorld), InvalidParameter);
  EXPECT_EQ(GdipSetClipRect(s.g, 0, 0, 1, 1, static_cast<CombineMode>(6)), InvalidParameter);
  TSolid b(kRed);
  EXPECT_EQ(GdipFillRectangle(s.g, b.b, 0, 0, -1, 1), InvalidParameter);
  GpPath* path = nullptr;
  EXPECT_EQ(GdipCreatePath(static_cast<GpFillMode>(2), &path), InvalidParameter);
  GpMatrix* m = nullptr;
  ASSERT_EQ(GdipCreateMatrix2(1, 2, 2, 4, 0, 0, &m), Ok);  // singular
  EXPECT_EQ(GdipInvertMatrix(m), InvalidParameter);
  EXPECT_EQ(GdipTranslateMatrix(m, 1, 1, static_cast<GpMatrixOrder>(2)), InvalidParameter);
  GdipDeleteMatrix(m);
  GpLineGradient* lg = nullptr;
  GpRectF r{0, 0, 10, 10};
  EXPECT_EQ(GdipCreateLineBrushFromRect(&r, kRed, kBlack, LinearGradientModeVertical, WrapModeClamp, &lg),
            InvalidParameter);
  GpPen* pen = nullptr;
  EXPECT_EQ(GdipCreatePen1(kRed, 1, UnitDisplay, &pen), InvalidParameter);
}

TEST(GdiPlus, SmoothingModeRoundTripsAndDefaultReadsAsNone) {
  TSurface s(4, 4);
  struct {
    SmoothingMode set, get;
  } cases[] = {{SmoothingModeDefault, SmoothingModeNone},         {SmoothingModeHighSpeed, SmoothingModeNone},
               {SmoothingModeHighQuality, SmoothingModeHighQuality}, {SmoothingModeNone, SmoothingModeNone},
               {SmoothingModeAntiAlias, SmoothingModeAntiAlias},     {SmoothingModeAntiAlias8x8, SmoothingModeAntiAlias8x8}};
  for (auto c : cases) {
    SmoothingMode got = SmoothingModeInvalid;
    ASSERT_EQ(GdipSetSmoothingMode(s.g, c.set), Ok);
    ASSERT_EQ(GdipGetSmoothingMode(s.g, &got), Ok);
    EXPECT_EQ(got, c.get) << c.set;
  }
}

TEST(GdiPlus, RectangleEdges) {
  // Fills cover x .. x+w-1; outlines of a one-pixel pen cover x .. x+w, the right and bottom
  // edge included.
  {
    TSurface s(20, 20);
    TSolid b(kBlack);
    ASSERT_EQ(GdipFillRectangle(s.g, b.b, 2, 3, 10, 5), Ok);
    ExpectRect(s.Ink(), 2, 3, 12, 8);
    EXPECT_EQ(s.Shades(0), 0);
  }
  {
    TSurface s(20, 20);
    TPen p(kBlack);
    ASSERT_EQ(GdipDrawRectangle(s.g, p.p, 2, 3, 10, 5), Ok);
    ExpectRect(s.Ink(), 2, 3, 13, 9);
    EXPECT_EQ(s.At(7, 5), kWhiteRef);
    EXPECT_EQ(s.Shades(0), 0);
  }
  {
    TSurface s(20, 20);
    TPen p(kBlack);
    ASSERT_EQ(GdipDrawLine(s.g, p.p, 1, 4, 9, 4), Ok);
    ExpectRect(s.Ink(), 1, 4, 10, 5);
  }
}

TEST(GdiPlus, AntialiasingOnlyInHighQualityAndAntialiasModes) {
  struct {
    SmoothingMode mode;
    bool shaded;
  } cases[] = {{SmoothingModeDefault, false},    {SmoothingModeHighSpeed, false}, {SmoothingModeHighQuality, true},
               {SmoothingModeNone, false},       {SmoothingModeAntiAlias, true},  {SmoothingModeAntiAlias8x8, true}};
  for (auto c : cases) {
    TSurface s(30, 30);
    TSolid b(kBlack);
    ASSERT_EQ(GdipSetSmoothingMode(s.g, c.mode), Ok);
    ASSERT_EQ(GdipFillEllipse(s.g, b.b, 3, 3, 20, 20), Ok);
    EXPECT_EQ(s.Shades(0) > 0, c.shaded) << c.mode;
    EXPECT_EQ(s.At(13, 13), 0u);
  }
}

TEST(GdiPlus, FractionalCoordinatesRoundToPixelCentres) {
  TSurface s(20, 20);
  TSolid b(kBlack);
  // Pixel centres sit on whole coordinates: 2.3 .. 7.3 covers the centres 3 .. 7.
  ASSERT_EQ(GdipFillRectangle(s.g, b.b, 2.3f, 2.6f, 5, 5), Ok);
  ExpectRect(s.Ink(), 3, 3, 8, 8);
}

TEST(GdiPlus, WorldTransformAndPageUnit) {
  TSurface s(40, 40);
  TSolid b(kBlack);
  GpMatrix* m = nullptr;
  ASSERT_EQ(GdipCreateMatrix(&m), Ok);
  GdipTranslateMatrix(m, 10, 5, MatrixOrderAppend);
  GdipScaleMatrix(m, 2, 2, MatrixOrderPrepend);
  ASSERT_EQ(GdipSetWorldTransform(s.g, m), Ok);
  ASSERT_EQ(GdipFillRectangle(s.g, b.b, 0, 0, 3, 2), Ok);
  ExpectRect(s.Ink(), 10, 5, 16, 9);
  GdipDeleteMatrix(m);

  TSurface t(40, 40);
  ASSERT_EQ(GdipSetPageUnit(t.g, UnitPoint), Ok);
  ASSERT_EQ(GdipFillRectangle(t.g, b.b, 0, 0, 6, 3), Ok);  // 8 x 4 pixels at 96 dpi
  ExpectRect(t.Ink(), 0, 0, 8, 4);
}

TEST(GdiPlus, ClipCombinesRectangles) {
  struct {
    CombineMode second;
    bool in1, inBoth, in2;  // probes at 2, 7 and 12 on one row
  } cases[] = {{CombineModeReplace, false, true, true},  {CombineModeIntersect, false, true, false},
               {CombineModeUnion, true, true, true},     {CombineModeXor, true, false, true},
               {CombineModeExclude, true, false, false}, {CombineModeComplement, false, false, true}};
  for (auto c : cases) {
    TSurface s(20, 4);
    TSolid b(kBlack);
    ASSERT_EQ(GdipSetClipRect(s.g, 0, 0, 10, 4, CombineModeReplace), Ok);
    ASSERT_EQ(GdipSetClipRect(s.g, 5, 0, 10, 4, c.second), Ok);
    ASSERT_EQ(GdipFillRectangle(s.g, b.b, 0, 0, 20, 4), Ok);
    EXPECT_EQ(s.At(2, 1) == 0, c.in1) << c.second;
    EXPECT_EQ(s.At(7, 1) == 0, c.inBoth) << c.second;
    EXPECT_EQ(s.At(12, 1) == 0, c.in2) << c.second;
    EXPECT_EQ(s.At(17, 1), kWhiteRef);
  }
  TSurface s(20, 4);
  TSolid b(kBlack);
  GdipSetClipRect(s.g, 0, 0, 5, 4, CombineModeReplace);
  ASSERT_EQ(GdipResetClip(s.g), Ok);
  GdipFillRectangle(s.g, b.b, 0, 0, 20, 4);
  EXPECT_EQ(s.At(17, 1), 0u);
}

TEST(GdiPlus, ClearFillsEverythingInsideTheClip) {
  TSurface s(10, 10);
  GdipSetClipRect(s.g, 0, 0, 5, 10, CombineModeReplace);
  ASSERT_EQ(GdipGraphicsClear(s.g, kRed), Ok);
  EXPECT_EQ(s.At(0, 0), 0x0000FFu);
  EXPECT_EQ(s.At(4, 9), 0x0000FFu);
  EXPECT_EQ(s.At(5, 0), kWhiteRef);
}

TEST(GdiPlus, MatrixOperations) {
  GpMatrix* m = nullptr;
  ASSERT_EQ(GdipCreateMatrix(&m), Ok);
  BOOL id = 0;
  GdipIsMatrixIdentity(m, &id);
  EXPECT_TRUE(id);
  struct {
    void (*op)(GpMatrix*);
    REAL e[6];
  } cases[] = {
      {[](GpMatrix* x) { GdipTranslateMatrix(x, 3, 4, MatrixOrderPrepend); }, {1, 0, 0, 1, 3, 4}},
      {[](GpMatrix* x) { GdipScaleMatrix(x, 2, 3, MatrixOrderPrepend); }, {2, 0, 0, 3, 3, 4}},
      {[](GpMatrix* x) { GdipScaleMatrix(x, 2, 2, MatrixOrderAppend); }, {4, 0, 0, 6, 6, 8}},
      {[](GpMatrix* x) { GdipRotateMatrix(x, 90, MatrixOrderAppend); }, {0, 4, -6, 0, -8, 6}},
      {[](GpMatrix* x) { GdipSetMatrixElements(x, 1, 0, 0, 1, 0, 0); }, {1, 0, 0, 1, 0, 0}},
      {[](GpMatrix* x) { GdipShearMatrix(x, 2, 0, MatrixOrderPrepend); }, {1, 0, 2, 1, 0, 0}},
      {[](GpMatrix* x) { GdipInvertMatrix(x); }, {1, 0, -2, 1, 0, 0}},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    cases[i].op(m);
    REAL e[6];
    ASSERT_EQ(GdipGetMatrixElements(m, e), Ok);
    for (int k = 0; k < 6; ++k) EXPECT_NEAR(e[k], cases[i].e[k], 1e-5) << "step " << i << " element " << k;
  }
  GdipSetMatrixElements(m, 2, 0, 0, 3, 10, 20);
  GpPointF pf[2] = {{1, 1}, {-1, 2}};
  GdipTransformMatrixPoints(m, pf, 2);
  EXPECT_FLOAT_EQ(pf[0].X, 12);
  EXPECT_FLOAT_EQ(pf[1].Y, 26);
  GpPoint pi[1] = {{1, 1}};
  GdipVectorTransformMatrixPointsI(m, pi, 1);
  EXPECT_EQ(pi[0].X, 2);
  EXPECT_EQ(pi[0].Y, 3);
  GpMatrix* c = nullptr;
  ASSERT_EQ(GdipCloneMatrix(m, &c), Ok);
  GdipMultiplyMatrix(m, c, MatrixOrderAppend);
  REAL e[6];
  GdipGetMatrixElements(m, e);
  EXPECT_FLOAT_EQ(e[4], 30);  // 10 * 2 + 10
  EXPECT_FLOAT_EQ(e[5], 80);  // 20 * 3 + 20
  GdipDeleteMatrix(c);
  // A rectangle onto a parallelogram.
  GpRectF r{0, 0, 10, 10};
  GpPointF plg[3] = {{5, 5}, {25, 5}, {5, 15}};
  ASSERT_EQ(GdipCreateMatrix3(&r, plg, &c), Ok);
  GdipGetMatrixElements(c, e);
  const REAL want[6] = {2, 0, 0, 1, 5, 5};
  for (int k = 0; k < 6; ++k) EXPECT_FLOAT_EQ(e[k], want[k]);
  GdipDeleteMatrix(c);
  GdipDeleteMatrix(m);
}

TEST(GdiPlus, PathPointsAndTypes) {
  GpPath* p = nullptr;
  ASSERT_EQ(GdipCreatePath(FillModeAlternate, &p), Ok);
  GdipAddPathLine(p, 0, 0, 10, 0);
  GdipAddPathLine(p, 10, 5, 0, 5);  // joins the open figure
  GdipClosePathFigure(p);
  GdipAddPathRectangle(p, 1, 2, 3, 4);
  GdipAddPathArc(p, 0, 0, 10, 10, 0, 90);
  INT n = 0;
  GdipGetPointCount(p, &n);
  ASSERT_EQ(n, 12);
  std::vector<GpPointF> pts(n);
  std::vector<BYTE> types(n);
  ASSERT_EQ(GdipGetPathPoints(p, pts.data(), n), Ok);
  ASSERT_EQ(GdipGetPathTypes(p, types.data(), n), Ok);
  const BYTE want[12] = {0, 1, 1, 0x81, 0, 1, 1, 0x81, 0, 3, 3, 3};
  for (int i = 0; i < n; ++i) EXPECT_EQ(types[i], want[i]) << i;
  EXPECT_FLOAT_EQ(pts[6].X, 4);
  EXPECT_FLOAT_EQ(pts[6].Y, 6);
  // The quarter arc runs from (10, 5) to (5, 10).
  EXPECT_NEAR(pts[8].X, 10, 1e-5);
  EXPECT_NEAR(pts[8].Y, 5, 1e-5);
  EXPECT_NEAR(pts[11].X, 5, 1e-5);
  EXPECT_NEAR(pts[11].Y, 10, 1e-5);
  EXPECT_EQ(GdipGetPathPoints(p, pts.data(), 3), InsufficientBuffer);
  GdipResetPath(p);
  GdipGetPointCount(p, &n);
  EXPECT_EQ(n, 0);
  GdipAddPathEllipse(p, 0, 0, 10, 10);
  GdipGetPointCount(p, &n);
  EXPECT_EQ(n, 13);
  GdipDeletePath(p);
}

TEST(GdiPlus, FillModesOfSelfOverlappingPaths) {
  for (GpFillMode mode : {FillModeAlternate, FillModeWinding}) {
    TSurface s(30, 30);
    TSolid b(kBlack);
    GpPath* p = nullptr;
    GdipCreatePath(mode, &p);
    GdipAddPathRectangle(p, 0, 0, 20, 20);
    GdipAddPathRectangle(p, 5, 5, 10, 10);  // same direction: a hole only when alternating
    ASSERT_EQ(GdipFillPath(s.g, b.b, p), Ok);
    EXPECT_EQ(s.At(10, 10) == 0, mode == FillModeWinding);
    EXPECT_EQ(s.At(2, 2), 0u);
    GdipDeletePath(p);
  }
}

TEST(GdiPlus, LinearGradientRectModes) {
  struct {
    LinearGradientMode mode;
    int x1, y1, x2, y2;  // a pixel near the first colour, one near the second
  } cases[] = {{LinearGradientModeHorizontal, 0, 10, 39, 10},
               {LinearGradientModeVertical, 20, 0, 20, 19},
               {LinearGradientModeForwardDiagonal, 0, 0, 39, 19},
               {LinearGradientModeBackwardDiagonal, 39, 0, 0, 19}};
  for (auto c : cases) {
    TSurface s(40, 20);
    GpLineGradient* lg = nullptr;
    GpRectF r{0, 0, 40, 20};
    ASSERT_EQ(GdipCreateLineBrushFromRect(&r, 0xFFFF0000, 0xFF0000FF, c.mode, WrapModeTile, &lg), Ok);
    ASSERT_EQ(GdipFillRectangle(s.g, lg, 0, 0, 40, 20), Ok);
    COLORREF a = s.At(c.x1, c.y1), z = s.At(c.x2, c.y2);
    EXPECT_GT(a & 0xFF, 220u) << c.mode;           // red
    EXPECT_GT((z >> 16) & 0xFF, 220u) << c.mode;   // blue
    GdipDeleteBrush(lg);
  }
  // The diagonal forms put the middle colour through the other two corners.
  TSurface s(40, 10);
  GpLineGradient* lg = nullptr;
  GpRectF r{0, 0, 40, 10};
  GdipCreateLineBrushFromRect(&r, 0xFFFF0000, 0xFF0000FF, LinearGradientModeForwardDiagonal, WrapModeTile, &lg);
  GdipFillRectangle(s.g, lg, 0, 0, 40, 10);
  COLORREF tr = s.At(39, 0), bl = s.At(0, 9);
  EXPECT_NEAR(int(tr & 0xFF), int((tr >> 16) & 0xFF), 40);
  EXPECT_NEAR(int(bl & 0xFF), int((bl >> 16) & 0xFF), 40);
  GdipDeleteBrush(lg);
}

TEST(GdiPlus, PenDashStyleTypeAndBrush) {
  TPen p(kRed, 2);
  GpDashStyle d = DashStyleCustom;
  GdipGetPenDashStyle(p.p, &d);
  EXPECT_EQ(d, DashStyleSolid);
  ASSERT_EQ(GdipSetPenDashStyle(p.p, DashStyleDot), Ok);
  GdipGetPenDashStyle(p.p, &d);
  EXPECT_EQ(d, DashStyleDot);
  GpPenType t = PenTypeUnknown;
  GdipGetPenFillType(p.p, &t);
  EXPECT_EQ(t, PenTypeSolidColor);
  GpBrush* b = nullptr;
  ASSERT_EQ(GdipGetPenBrushFill(p.p, &b), Ok);
  ARGB c = 0;
  GdipGetSolidFillColor(dynamic_cast<GpSolidFill*>(b), &c);
  EXPECT_EQ(c, kRed);
  GdipDeleteBrush(b);
  EXPECT_EQ(GdipSetPenEndCap(p.p, static_cast<GpLineCap>(9)), InvalidParameter);
  EXPECT_EQ(GdipSetPenEndCap(p.p, LineCapRound), Ok);

  // A dotted two-pixel line alternates two-pixel dots and gaps.
  TSurface s(20, 6);
  TPen dot(kBlack, 2);
  GdipSetPenDashStyle(dot.p, DashStyleDot);
  ASSERT_EQ(GdipDrawLine(s.g, dot.p, 0, 2.5f, 16, 2.5f), Ok);
  std::vector<bool> row;
  for (int x = 0; x < 16; ++x) row.push_back(s.At(x, 2) == 0);
  EXPECT_EQ(row, (std::vector<bool>{1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0}));
}

TEST(GdiPlus, CardinalSplineControlPoints) {
  GpPath* p = nullptr;
  GdipCreatePath(FillModeAlternate, &p);
  const GpPoint pts[3] = {{0, 0}, {30, 30}, {60, 0}};
  ASSERT_EQ(GdipAddPathCurveI(p, pts, 3), Ok);  // tension 0.5: tangents are half the chords
  INT n = 0;
  GdipGetPointCount(p, &n);
  ASSERT_EQ(n, 7);
  std::vector<GpPointF> got(n);
  GdipGetPathPoints(p, got.data(), n);
  const GpPointF want[7] = {{0, 0}, {5, 5}, {20, 30}, {30, 30}, {40, 30}, {55, 5}, {60, 0}};
  for (int i = 0; i < n; ++i) {
    EXPECT_NEAR(got[i].X, want[i].X, 1e-4) << i;
    EXPECT_NEAR(got[i].Y, want[i].Y, 1e-4) << i;
  }
  EXPECT_EQ(GdipAddPathCurve2I(p, pts, 1, 0.5f), InvalidParameter);
  GdipResetPath(p);
  // Tension 0 is a polyline.
  GdipAddPathCurve2I(p, pts, 3, 0);
  GdipGetPathPoints(p, got.data(), n);
  EXPECT_FLOAT_EQ(got[1].X, 0);
  EXPECT_FLOAT_EQ(got[2].X, 30);
  GdipDeletePath(p);
}

TEST(GdiPlus, RegionsCombineAndClip) {
  GpRegion* r = nullptr;
  GpRectF a{0, 0, 10, 10};
  ASSERT_EQ(GdipCreateRegionRect(&a, &r), Ok);
  GpPath* hole = nullptr;
  GdipCreatePath(FillModeAlternate, &hole);
  GdipAddPathRectangle(hole, 2, 2, 4, 4);
  ASSERT_EQ(GdipCombineRegionPath(r, hole, CombineModeExclude), Ok);
  GpRegion* other = nullptr;
  GpRectF b{20, 0, 5, 5};
  GdipCreateRegionRect(&b, &other);
  ASSERT_EQ(GdipCombineRegionRegion(r, other, CombineModeUnion), Ok);
  EXPECT_EQ(GdipCombineRegionRegion(r, other, static_cast<CombineMode>(9)), InvalidParameter);
  struct {
    REAL x, y;
    bool in;
  } probes[] = {{1, 1, true}, {4, 4, false}, {8, 8, true}, {22, 2, true}, {15, 2, false}};
  for (auto pr : probes) {
    BOOL in = 0;
    GdipIsVisibleRegionPoint(r, pr.x, pr.y, nullptr, &in);
    EXPECT_EQ(in != 0, pr.in) << pr.x << "," << pr.y;
  }
  TSurface s(30, 12);
  TSolid black(kBlack);
  ASSERT_EQ(GdipSetClipRegion(s.g, r, CombineModeReplace), Ok);
  GdipFillRectangle(s.g, black.b, 0, 0, 30, 12);
  EXPECT_EQ(s.At(1, 1), 0u);
  EXPECT_EQ(s.At(4, 4), kWhiteRef);
  EXPECT_EQ(s.At(22, 2), 0u);
  EXPECT_EQ(s.At(15, 2), kWhiteRef);
  GdipDeleteRegion(other);
  GdipDeleteRegion(r);
  GdipDeletePath(hole);
}

TEST(GdiPlus, GraphicsIsBusyWhileItsDCIsOut) {
  TSurface s(10, 10);
  TSolid black(kBlack);
  HDC dc = nullptr;
  ASSERT_EQ(GdipGetDC(s.g, &dc), Ok);
  EXPECT_EQ(dc, s.dc);
  EXPECT_EQ(GdipGetDC(s.g, &dc), ObjectBusy);
  EXPECT_EQ(GdipFillRectangle(s.g, black.b, 0, 0, 5, 5), ObjectBusy);
  EXPECT_EQ(GdipReleaseDC(s.g, nullptr), InvalidParameter);
  ASSERT_EQ(GdipReleaseDC(s.g, dc), Ok);
  EXPECT_EQ(GdipReleaseDC(s.g, dc), InvalidParameter);
  EXPECT_EQ(GdipFillRectangle(s.g, black.b, 0, 0, 5, 5), Ok);
}

TEST(GdiPlus, InsetPenDrawsInsideTheRectangle) {
  for (GpPenAlignment a : {PenAlignmentCenter, PenAlignmentInset}) {
    TSurface s(30, 30);
    TPen p(kBlack, 4);
    ASSERT_EQ(GdipSetPenMode(p.p, a), Ok);
    ASSERT_EQ(GdipDrawRectangle(s.g, p.p, 5, 5, 20, 20), Ok);
    if (a == PenAlignmentInset)
      ExpectRect(s.Ink(), 5, 5, 25, 25);
    else
      ExpectRect(s.Ink(), 3, 3, 27, 27);
  }
}

namespace {
int Red(COLORREF c) { return int(c & 0xFF); }
int Blue(COLORREF c) { return int((c >> 16) & 0xFF); }
}  // namespace

TEST(GdiPlus, PathGradientOnARectangleHasRectangularContours) {
  TSurface s(41, 21);
  GpPath* p = nullptr;
  GdipCreatePath(FillModeAlternate, &p);
  GdipAddPathRectangle(p, 0, 0, 40, 20);
  GpPathGradient* pg = nullptr;
  ASSERT_EQ(GdipCreatePathGradientFromPath(p, &pg), Ok);
  GpPointF c;
  GdipGetPathGradientCenterPoint(pg, &c);
  EXPECT_FLOAT_EQ(c.X, 20);
  EXPECT_FLOAT_EQ(c.Y, 10);
  INT n = 0;
  GdipGetPathGradientPointCount(pg, &n);
  EXPECT_EQ(n, 4);
  GdipGetPathGradientSurroundColorCount(pg, &n);
  EXPECT_EQ(n, 1);
  GdipSetPathGradientCenterColor(pg, 0xFFFF0000);
  ARGB blue = 0xFF0000FF;
  n = 1;
  ASSERT_EQ(GdipSetPathGradientSurroundColorsWithCount(pg, &blue, &n), Ok);
  n = 5;
  ARGB five[5] = {};
  EXPECT_EQ(GdipSetPathGradientSurroundColorsWithCount(pg, five, &n), InvalidParameter);
  ASSERT_EQ(GdipFillPath(s.g, pg, p), Ok);
  EXPECT_EQ(s.At(20, 10), 0x0000FFu);  // the centre: pure red
  EXPECT_GT(Blue(s.At(1, 10)), 220);
  // Half way to the boundary in x and in y give the same colour.
  COLORREF hx = s.At(30, 10), hy = s.At(20, 15);
  EXPECT_NEAR(Red(hx), 128, 8);
  EXPECT_NEAR(Red(hx), Red(hy), 2);
  EXPECT_NEAR(Blue(hx), Blue(hy), 2);
  // The corner diagonal too.
  EXPECT_NEAR(Red(s.At(30, 15)), Red(hx), 2);
  GdipDeleteBrush(pg);
  GdipDeletePath(p);
}

TEST(GdiPlus, PathGradientSurroundColoursPerPointAndPresetBlend) {
  TSurface s(40, 40);
  GpPath* p = nullptr;
  GdipCreatePath(FillModeAlternate, &p);
  const GpPoint tri[3] = {{0, 0}, {30, 0}, {0, 30}};
  GdipAddPathPolygonI(p, tri, 3);
  GpPathGradient* pg = nullptr;
  ASSERT_EQ(GdipCreatePathGradientFromPath(p, &pg), Ok);
  ARGB cols[3] = {0xFFFF0000, 0xFF0000FF, 0xFF0000FF};
  INT n = 3;
  ASSERT_EQ(GdipSetPathGradientSurroundColorsWithCount(pg, cols, &n), Ok);
  ARGB back[3] = {};
  n = 2;
  EXPECT_EQ(GdipGetPathGradientSurroundColorsWithCount(pg, back, &n), InsufficientBuffer);
  n = 3;
  ASSERT_EQ(GdipGetPathGradientSurroundColorsWithCount(pg, back, &n), Ok);
  EXPECT_EQ(back[1], 0xFF0000FFu);
  ASSERT_EQ(GdipFillPath(s.g, pg, p), Ok);
  EXPECT_GT(Red(s.At(1, 1)), 200);    // near the red corner
  EXPECT_GT(Blue(s.At(26, 2)), 200);  // near a blue corner
  // A preset blend replaces both colours: boundary black, centre green.
  const ARGB blend[2] = {0xFF000000, 0xFF00FF00};
  const REAL pos[2] = {0, 1};
  ASSERT_EQ(GdipSetPathGradientPresetBlend(pg, blend, pos, 2), Ok);
  const REAL bad[2] = {0, 0.5f};
  EXPECT_EQ(GdipSetPathGradientPresetBlend(pg, blend, bad, 2), InvalidParameter);
  GpPoint centre;
  GdipGetPathGradientCenterPointI(pg, &centre);
  EXPECT_EQ(centre.X, 10);
  EXPECT_EQ(centre.Y, 10);
  GdipFillPath(s.g, pg, p);
  EXPECT_EQ(s.At(10, 10), 0x00FF00u);
  GdipDeleteBrush(pg);
  GdipDeletePath(p);
}

TEST(GdiPlus, PathGradientColoursFollowTheRayFromTheCentre) {
  // Each pixel against the colour its ray from the centre gives: the nearest boundary crossing,
  // the vertex colours mixed along that edge, then the centre colour mixed in by the distance.
  struct TCase {
    const char* what;
    std::vector<GpPointF> points;
    std::vector<ARGB> colours;
    bool moveCentre;  // a centre near the boundary: rays leave through more than one edge
  };
  const std::vector<GpPointF> star = {{30, 2}, {36, 22}, {58, 30}, {36, 38}, {30, 58}, {24, 38}, {2, 30}, {24, 22}};
  const TCase cases[] = {
      {"star, a colour per point", star,
       {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00, 0xFF00FFFF, 0xFFFF00FF, 0xFF808080, 0xFF000000}, false},
      {"star, one colour", star, {0xFF2040C0}, false},
      {"arrow, centre near a notch", {{2, 2}, {58, 2}, {58, 58}, {30, 20}, {2, 58}}, {0xFFFF0000, 0xFF0000FF}, true},
  };
  for (const TCase& c : cases) {
    TSurface s(60, 60);
    GpPath* p = nullptr;
    GdipCreatePath(FillModeAlternate, &p);
    GdipAddPathPolygon(p, c.points.data(), INT(c.points.size()));
    GpPathGradient* pg = nullptr;
    ASSERT_EQ(GdipCreatePathGradientFromPath(p, &pg), Ok);
    INT n = INT(c.colours.size());
    ASSERT_EQ(GdipSetPathGradientSurroundColorsWithCount(pg, c.colours.data(), &n), Ok);
    GdipSetPathGradientCenterColor(pg, 0xFFFFFFFF);
    if (c.moveCentre) {
      const GpPointF at{30, 14};
      GdipSetPathGradientCenterPoint(pg, &at);
    }
    GpPointF centre;
    GdipGetPathGradientCenterPoint(pg, &centre);
    ASSERT_EQ(GdipFillPath(s.g, pg, p), Ok);
    const size_t count = c.points.size();
    auto colourOf = [&](size_t i) { return c.colours[std::min(i, c.colours.size() - 1)]; };
    auto channel = [](ARGB v, int shift) { return double((v >> shift) & 0xFF); };
    int checked = 0;
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 60; ++x) {
        const double dx = x - centre.X, dy = y - centre.Y;
        double best = 1e300, bestU = 0;
        size_t edge = 0;
        bool inside = false, nearEdge = false;
        for (size_t i = 0; i < count; ++i) {
          const GpPointF a = c.points[i], b = c.points[(i + 1) % count];
          const double ex = b.X - a.X, ey = b.Y - a.Y, wx = a.X - centre.X, wy = a.Y - centre.Y;
          const double den = dx * ey - dy * ex;
          if (std::fabs(den) > 1e-12) {
            const double sr = (wx * ey - wy * ex) / den, u = (wx * dy - wy * dx) / den;
            if (sr > 0 && u >= 0 && u <= 1 && sr < best) {
              best = sr;
              bestU = u;
              edge = i;
            }
          }
          // Inside by the even-odd rule; pixels within a pixel and a half of an edge are left out.
          const double len = std::hypot(ex, ey);
          const double dist = std::fabs((x - a.X) * ey - (y - a.Y) * ex) / len;
          const double along = ((x - a.X) * ex + (y - a.Y) * ey) / (len * len);
          nearEdge |= dist < 1.5 && along > -0.1 && along < 1.1;
          if ((a.Y > y) != (b.Y > y) && x < a.X + (y - a.Y) * ex / ey) inside = !inside;
        }
        if (!inside || nearEdge || best >= 1e300) continue;
        const double t = std::min(1.0, 1.0 / best);
        for (int shift : {0, 8, 16}) {
          const double e = channel(colourOf(edge), shift) + (channel(colourOf((edge + 1) % count), shift) -
                                                               channel(colourOf(edge), shift)) * bestU;
          const double want = 255 + (e - 255) * t;
          const COLORREF got = s.At(x, y);
          const int gotChannel = int(shift == 16 ? got & 0xFF : shift == 0 ? (got >> 16) & 0xFF : (got >> 8) & 0xFF);
          ASSERT_NEAR(gotChannel, want, 2.0) << c.what << " at " << x << ", " << y;
        }
        ++checked;
      }
    EXPECT_GT(checked, 300) << c.what;
    GdipDeleteBrush(pg);
    GdipDeletePath(p);
  }
  // A pen of a path gradient paints its line with the same colours.
  TSurface s(60, 60);
  GpPath* p = nullptr;
  GdipCreatePath(FillModeAlternate, &p);
  GdipAddPathRectangle(p, 0, 0, 60, 60);
  GpPathGradient* pg = nullptr;
  ASSERT_EQ(GdipCreatePathGradientFromPath(p, &pg), Ok);
  GdipSetPathGradientCenterColor(pg, 0xFFFF0000);
  ARGB blue = 0xFF0000FF;
  INT one = 1;
  GdipSetPathGradientSurroundColorsWithCount(pg, &blue, &one);
  GpPen* pen = nullptr;
  ASSERT_EQ(GdipCreatePen2(pg, 6, UnitWorld, &pen), Ok);
  ASSERT_EQ(GdipDrawLine(s.g, pen, 0, 30, 60, 30), Ok);
  EXPECT_EQ(s.At(30, 30), RGB(255, 0, 0));
  EXPECT_NEAR(Red(s.At(45, 30)), 128, 4);
  EXPECT_GT(Blue(s.At(1, 30)), 240);
  GdipDeletePen(pen);
  GdipDeleteBrush(pg);
  GdipDeletePath(p);
}

namespace {

struct TFont {
  GpFontFamily* family = nullptr;
  GpFont* font = nullptr;
  TFont(REAL em, GpUnit unit, INT style = FontStyleRegular) {
    EXPECT_EQ(GdipCreateFontFamilyFromName(u"Arial", nullptr, &family), Ok);
    EXPECT_EQ(GdipCreateFont(family, em, style, unit, &font), Ok);
  }
  ~TFont() {
    GdipDeleteFont(font);
    GdipDeleteFontFamily(family);
  }
};

GpRectF Measure(GpGraphics* g, const char16_t* text, const GpFont* font, GpRectF layout = {},
                const GpStringFormat* format = nullptr, INT* lines = nullptr) {
  GpRectF box;
  EXPECT_EQ(GdipMeasureString(g, text, -1, font, &layout, format, &box, nullptr, lines), Ok);
  return box;
}

}  // namespace

TEST(GdiPlus, FontFamiliesAndFonts) {
  GpFontFamily* f = nullptr;
  EXPECT_EQ(GdipCreateFontFamilyFromName(u"No Such Family Anywhere", nullptr, &f), FontFamilyNotFound);
  EXPECT_EQ(f, nullptr);
  ASSERT_EQ(GdipGetGenericFontFamilySansSerif(&f), Ok);
  GpFont* font = nullptr;
  EXPECT_EQ(GdipCreateFont(f, 0, FontStyleRegular, UnitPoint, &font), InvalidParameter);
  EXPECT_EQ(GdipCreateFont(f, 10, FontStyleRegular, UnitDisplay, &font), InvalidParameter);
  ASSERT_EQ(GdipCreateFont(f, 10, FontStyleBold, UnitPoint, &font), Ok);
  GdipDeleteFont(font);
  GdipDeleteFontFamily(f);
}

TEST(GdiPlus, StringFormatProperties) {
  GpStringFormat* sf = nullptr;
  ASSERT_EQ(GdipCreateStringFormat(StringFormatFlagsNoWrap, 0, &sf), Ok);
  INT flags = 0;
  GdipGetStringFormatFlags(sf, &flags);
  EXPECT_EQ(flags, StringFormatFlagsNoWrap);
  StringTrimming t = StringTrimmingNone;
  GdipGetStringFormatTrimming(sf, &t);
  EXPECT_EQ(t, StringTrimmingCharacter);
  EXPECT_EQ(GdipSetStringFormatAlign(sf, static_cast<StringAlignment>(3)), InvalidParameter);
  EXPECT_EQ(GdipSetStringFormatHotkeyPrefix(sf, 3), InvalidParameter);
  GdipSetStringFormatAlign(sf, StringAlignmentFar);
  GdipSetStringFormatLineAlign(sf, StringAlignmentCenter);
  GdipSetStringFormatHotkeyPrefix(sf, HotkeyPrefixHide);
  GpStringFormat* c = nullptr;
  ASSERT_EQ(GdipCloneStringFormat(sf, &c), Ok);
  StringAlignment a = StringAlignmentNear;
  GdipGetStringFormatAlign(c, &a);
  EXPECT_EQ(a, StringAlignmentFar);
  GdipGetStringFormatLineAlign(c, &a);
  EXPECT_EQ(a, StringAlignmentCenter);
  INT hk = 0;
  GdipGetStringFormatHotkeyPrefix(c, &hk);
  EXPECT_EQ(hk, HotkeyPrefixHide);
  GdipDeleteStringFormat(c);
  GdipDeleteStringFormat(sf);
}

TEST(GdiPlus, MeasureStringPaddingTrailingSpacesAndAlignment) {
  TSurface s(10, 10);
  TFont f(12, UnitPixel);
  // A sixth of an em at each end: two texts measured apart carry one padding pair more.
  const GpRectF ab = Measure(s.g, u"ab", f.font), cd = Measure(s.g, u"cd", f.font), abcd = Measure(s.g, u"abcd", f.font);
  EXPECT_NEAR(ab.Width + cd.Width - abcd.Width, 4.0, 0.6);
  EXPECT_GT(ab.Height, 12);
  // Trailing spaces are left out unless the format asks for them.
  EXPECT_FLOAT_EQ(Measure(s.g, u"ab  ", f.font).Width, ab.Width);
  GpStringFormat* sf = nullptr;
  GdipCreateStringFormat(StringFormatFlagsMeasureTrailingSpaces, 0, &sf);
  EXPECT_GT(Measure(s.g, u"ab  ", f.font, {}, sf).Width, ab.Width + 4);
  EXPECT_FLOAT_EQ(Measure(s.g, u"", f.font).Width, 0);
  // Hidden hot-key prefixes take no room.
  GdipSetStringFormatFlags(sf, 0);
  GdipSetStringFormatHotkeyPrefix(sf, HotkeyPrefixHide);
  EXPECT_FLOAT_EQ(Measure(s.g, u"&ab", f.font, {}, sf).Width, ab.Width);
  // Centred and far alignments place the box inside the layout rectangle.
  GdipSetStringFormatAlign(sf, StringAlignmentCenter);
  GdipSetStringFormatLineAlign(sf, StringAlignmentFar);
  const GpRectF box = Measure(s.g, u"ab", f.font, {10, 20, 200, 50}, sf);
  EXPECT_NEAR(box.X, 10 + (200 - ab.Width) / 2, 0.01);
  EXPECT_NEAR(box.Y + box.Height, 70, 0.01);
  // Text wider than the layout rectangle wraps at spaces.
  INT lines = 0;
  GdipSetStringFormatAlign(sf, StringAlignmentNear);
  Measure(s.g, u"one two three four", f.font, {0, 0, 60, 0}, sf, &lines);
  EXPECT_GT(lines, 1);
  GdipDeleteStringFormat(sf);
}

TEST(GdiPlus, DrawStringInsideItsPaddingAndClip) {
  TSurface s(60, 30);
  TFont f(16, UnitPixel);
  TSolid black(kBlack);
  GpRectF at{0, 0, 0, 0};
  ASSERT_EQ(GdipDrawString(s.g, u"HH", -1, f.font, &at, nullptr, black.b), Ok);
  GpRectF box;
  GdipMeasureString(s.g, u"HH", -1, f.font, &at, nullptr, &box, nullptr, nullptr);
  RECT ink = s.Ink();
  EXPECT_GE(ink.Left, 2);  // after the padding
  EXPECT_LE(ink.Right, int(std::ceil(box.Width)));
  EXPECT_GT(ink.Right - ink.Left, 12);  // two letters
  TSurface c(60, 30);
  GpRectF clip{0, 0, 8, 30};
  ASSERT_EQ(GdipDrawString(c.g, u"HH", -1, f.font, &clip, nullptr, black.b), Ok);
  EXPECT_LE(c.Ink().Right, 8);
  // No background is painted behind the text, whatever the DC's background mode.
  TSurface d(60, 30);
  ASSERT_EQ(GdipFillRectangle(d.g, black.b, 0, 0, 60, 30), Ok);
  TSolid red(kRed);
  ASSERT_EQ(GdipDrawString(d.g, u"HH", -1, f.font, &at, nullptr, red.b), Ok);
  EXPECT_EQ(d.Ink(), RECT(0, 0, 60, 30));
  int redPixels = 0, whitePixels = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 60; ++x) {
      redPixels += d.At(x, y) == RGB(255, 0, 0);
      whitePixels += d.At(x, y) == kWhiteRef;
    }
  EXPECT_GT(redPixels, 20);
  EXPECT_EQ(whitePixels, 0);
}

TEST(GdiPlus, BitmapsDrawnOnAndDrawn) {
  GpBitmap* bmp = nullptr;
  EXPECT_EQ(GdipCreateBitmapFromScan0(4, 4, 0, PixelFormat8bppIndexed, nullptr, &bmp), InvalidParameter);
  ASSERT_EQ(GdipCreateBitmapFromScan0(4, 4, 0, PixelFormat32bppARGB, nullptr, &bmp), Ok);
  ARGB px = 1;
  GdipBitmapGetPixel(bmp, 0, 0, &px);
  EXPECT_EQ(px, 0u);  // transparent
  EXPECT_EQ(GdipBitmapGetPixel(bmp, 4, 0, &px), InvalidParameter);
  GpGraphics* g = nullptr;
  ASSERT_EQ(GdipGetImageGraphicsContext(bmp, &g), Ok);
  TSolid red(kRed);
  ASSERT_EQ(GdipFillRectangle(g, red.b, 0, 0, 4, 3), Ok);
  GdipDeleteGraphics(g);
  GdipBitmapGetPixel(bmp, 3, 2, &px);
  EXPECT_EQ(px, kRed);
  GdipBitmapGetPixel(bmp, 3, 3, &px);
  EXPECT_EQ(px, 0u);
  ASSERT_EQ(GdipBitmapSetPixel(bmp, 0, 3, 0xFF00FF00), Ok);
  UINT w = 0, h = 0;
  PixelFormat pf = 0;
  GdipGetImageWidth(bmp, &w);
  GdipGetImageHeight(bmp, &h);
  GdipGetImagePixelFormat(bmp, &pf);
  EXPECT_EQ(w, 4u);
  EXPECT_EQ(h, 4u);
  EXPECT_EQ(pf, PixelFormat32bppARGB);
  GUID raw;
  GdipGetImageRawFormat(bmp, &raw);
  EXPECT_TRUE(raw == ImageFormatMemoryBMP);

  // Drawn at (2, 3): the transparent row leaves the surface white.
  TSurface s(12, 12);
  ASSERT_EQ(GdipDrawImageI(s.g, bmp, 2, 3), Ok);
  ExpectRect(s.Ink(), 2, 3, 6, 7);
  EXPECT_EQ(s.At(2, 6), 0x00FF00u);
  EXPECT_EQ(s.At(3, 6), kWhiteRef);
  EXPECT_EQ(s.At(5, 5), 0x0000FFu);
  // Stretched to twice its size.
  TSurface t(12, 12);
  ASSERT_EQ(GdipDrawImageRect(t.g, bmp, 0, 0, 8, 8), Ok);
  EXPECT_EQ(t.At(6, 2), 0x0000FFu);
  EXPECT_EQ(t.At(8, 2), kWhiteRef);
  GdipDisposeImage(bmp);

  // Rows copied from memory, blue-green-red-alpha.
  BYTE rows[8] = {0x10, 0x20, 0x30, 0xFF, 0x40, 0x50, 0x60, 0x80};
  ASSERT_EQ(GdipCreateBitmapFromScan0(2, 1, 8, PixelFormat32bppARGB, rows, &bmp), Ok);
  GdipBitmapGetPixel(bmp, 1, 0, &px);
  EXPECT_EQ(px, 0x80605040u);
  GdipDisposeImage(bmp);
}

TEST(GdiPlus, LoadingImagesReportsMissingAndUnreadableFiles) {
  GpImage* img = nullptr;
  EXPECT_EQ(GdipLoadImageFromFile(u"/nonexistent/picture.png", &img), FileNotFound);
  const std::string path = ::testing::TempDir() + "gdiplus-not-a-picture.png";
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("this is no picture", f);
  std::fclose(f);
  std::u16string wide(path.begin(), path.end());
  EXPECT_EQ(GdipLoadImageFromFile(wide.c_str(), &img), OutOfMemory);
  std::remove(path.c_str());
}

TEST(GdiPlus, BitmapsSavedByEncoderAndRotated) {
  GpBitmap* bmp = nullptr;
  ASSERT_EQ(GdipCreateBitmapFromScan0(3, 2, 0, PixelFormat32bppARGB, nullptr, &bmp), Ok);
  GdipBitmapSetPixel(bmp, 0, 0, kRed);
  ASSERT_EQ(GdipImageRotateFlip(bmp, Rotate90FlipNone), Ok);  // the top-left corner goes top-right
  UINT w = 0;
  GdipGetImageWidth(bmp, &w);
  EXPECT_EQ(w, 2u);
  ARGB px = 0;
  GdipBitmapGetPixel(bmp, 1, 0, &px);
  EXPECT_EQ(px, kRed);
  ASSERT_EQ(GdipImageRotateFlip(bmp, RotateNoneFlipX), Ok);
  GdipBitmapGetPixel(bmp, 0, 0, &px);
  EXPECT_EQ(px, kRed);
  EXPECT_EQ(GdipImageRotateFlip(bmp, static_cast<RotateFlipType>(8)), InvalidParameter);
  EXPECT_EQ(GdipSaveAddImage(bmp, bmp, nullptr), NotImplemented);  // no multi-frame files

  struct {
    CLSID encoder;
    const char* name;
    GpStatus status;
    GUID raw;
  } cases[] = {{EncoderPNG, "a.png", Ok, ImageFormatPNG},
               {EncoderBMP, "a.bmp", Ok, ImageFormatBMP},
               {EncoderJPEG, "a.jpg", Ok, ImageFormatJPEG},
               {EncoderGIF, "a.gif", NotImplemented, {}},
               {EncoderTIFF, "a.tif", NotImplemented, {}}};
  for (const auto& c : cases) {
    const std::string path = ::testing::TempDir() + "gdiplus-save-" + c.name;
    const std::u16string wide(path.begin(), path.end());
    uint32_t quality = 90;
    EncoderParameters params;
    params.Count = 1;
    params.Parameter[0] = EncoderParameter{EncoderQuality, 1, EncoderParameterValueTypeLong, &quality};
    ASSERT_EQ(GdipSaveImageToFile(bmp, wide.c_str(), &c.encoder, &params), c.status) << c.name;
    if (c.status != Ok) continue;
    GpImage* back = nullptr;
    ASSERT_EQ(GdipLoadImageFromFile(wide.c_str(), &back), Ok) << c.name;
    GUID raw;
    GdipGetImageRawFormat(back, &raw);
    EXPECT_TRUE(raw == c.raw) << c.name;
    UINT h = 0;
    GdipGetImageHeight(back, &h);
    EXPECT_EQ(h, 3u);
    GdipDisposeImage(back);
    std::remove(path.c_str());
  }
  GdipDisposeImage(bmp);
}

TEST(GdiPlus, ThumbnailsPartsAndGdiBitmapsOfImages) {
  GpBitmap* bmp = nullptr;
  ASSERT_EQ(GdipCreateBitmapFromScan0(4, 4, 0, PixelFormat32bppARGB, nullptr, &bmp), Ok);
  GdipBitmapSetPixel(bmp, 3, 3, kRed);
  GpImage* thumb = nullptr;
  ASSERT_EQ(GdipGetImageThumbnail(bmp, 0, 0, &thumb, nullptr, nullptr), Ok);
  UINT w = 0;
  GdipGetImageWidth(thumb, &w);
  EXPECT_EQ(w, 120u);
  GdipDisposeImage(thumb);
  // Only the red source pixel, doubled, at (10, 10).
  TSurface s(20, 20);
  ASSERT_EQ(GdipDrawImageRectRect(s.g, bmp, 10, 10, 2, 2, 3, 3, 1, 1, UnitPixel, nullptr, nullptr, nullptr), Ok);
  ExpectRect(s.Ink(), 10, 10, 12, 12);
  EXPECT_EQ(s.At(11, 11), 0x0000FFu);
  EXPECT_EQ(GdipDrawImageRectRect(s.g, bmp, 0, 0, 1, 1, 0, 0, 1, 1, UnitPoint, nullptr, nullptr, nullptr),
            InvalidParameter);
  // Transparent pixels take the background colour.
  HBITMAP hbm = nullptr;
  ASSERT_EQ(GdipCreateHBITMAPFromBitmap(bmp, &hbm, 0xFF00FF00), Ok);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, hbm);
  EXPECT_EQ(GetPixel(dc, 0, 0), 0x00FF00u);
  EXPECT_EQ(GetPixel(dc, 3, 3), 0x0000FFu);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(hbm);
  GdipDisposeImage(bmp);
}

TEST(GdiPlus, TextureBrushesTileFlipAndClamp) {
  // A 2 x 1 image: red, then transparent.
  GpBitmap* bmp = nullptr;
  ASSERT_EQ(GdipCreateBitmapFromScan0(2, 1, 0, PixelFormat32bppARGB, nullptr, &bmp), Ok);
  GdipBitmapSetPixel(bmp, 0, 0, kRed);
  struct {
    GpWrapMode wrap;
    const char* row;  // R red, . white, for x = 0..7 on row 0
  } cases[] = {{WrapModeTile, "R.R.R.R."},
               {WrapModeTileFlipX, "R..RR..R"},
               {WrapModeClamp, "R......."}};
  for (const auto& c : cases) {
    TSurface s(8, 2);
    GpTexture* tex = nullptr;
    ASSERT_EQ(GdipCreateTexture(bmp, c.wrap, &tex), Ok);
    ASSERT_EQ(GdipFillRectangle(s.g, tex, 0, 0, 8, 2), Ok);
    std::string row;
    for (int x = 0; x < 8; ++x) row += s.At(x, 0) == 0x0000FFu ? 'R' : s.At(x, 0) == kWhiteRef ? '.' : '?';
    EXPECT_EQ(row, c.row) << c.wrap;
    GdipDeleteBrush(tex);
  }
  // A translated texture moves with its transform.
  TSurface s(8, 2);
  GpTexture* tex = nullptr;
  GdipCreateTexture(bmp, WrapModeClamp, &tex);
  ASSERT_EQ(GdipTranslateTextureTransform(tex, 3, 0, MatrixOrderAppend), Ok);
  GdipFillRectangle(s.g, tex, 0, 0, 8, 2);
  EXPECT_EQ(s.At(3, 0), 0x0000FFu);
  EXPECT_EQ(s.At(0, 0), kWhiteRef);
  GpWrapMode w = WrapModeTile;
  GdipGetTextureWrapMode(tex, &w);
  EXPECT_EQ(w, WrapModeClamp);
  GpImage* img = nullptr;
  ASSERT_EQ(GdipGetTextureImage(tex, &img), Ok);
  UINT width = 0;
  GdipGetImageWidth(img, &width);
  EXPECT_EQ(width, 2u);
  GdipDisposeImage(img);
  GdipDeleteBrush(tex);
  EXPECT_EQ(GdipCreateTexture2I(bmp, WrapModeTile, 0, 0, 3, 1, &tex), OutOfMemory);
  GdipDisposeImage(bmp);
}

TEST(GdiPlus, ImageAttributesAdjustColours) {
  GpImageAttributes* ia = nullptr;
  ASSERT_EQ(GdipCreateImageAttributes(&ia), Ok);
  ColorMatrix noRed{};
  for (int i = 0; i < 5; ++i) noRed.m[i][i] = 1;
  noRed.m[0][0] = 0;
  struct {
    GpStatus (*set)(GpImageAttributes*, const ColorMatrix&);
    ARGB in, out;
  } cases[] = {
      {[](GpImageAttributes* a, const ColorMatrix& m) {
         return GdipSetImageAttributesColorMatrix(a, ColorAdjustTypeDefault, 1, &m, nullptr, ColorMatrixFlagsDefault);
       },
       0xFFFF8000, 0xFF008000},
      {[](GpImageAttributes* a, const ColorMatrix& m) {
         return GdipSetImageAttributesColorMatrix(a, ColorAdjustTypeDefault, 1, &m, nullptr, ColorMatrixFlagsSkipGrays);
       },
       0xFF808080, 0xFF808080},
      {[](GpImageAttributes* a, const ColorMatrix&) { return GdipSetImageAttributesGamma(a, ColorAdjustTypeDefault, 1, 2); },
       0xFF808080, 0xFF404040},
      {[](GpImageAttributes* a, const ColorMatrix&) {
         return GdipSetImageAttributesThreshold(a, ColorAdjustTypeDefault, 1, 0.5f);
       },
       0xFF80107F, 0xFFFF0000},
      {[](GpImageAttributes* a, const ColorMatrix&) {
         return GdipSetImageAttributesColorKeys(a, ColorAdjustTypeDefault, 1, 0xFF100000, 0xFF2000FF);
       },
       0xFF1800AA, 0x00000000},
      {[](GpImageAttributes* a, const ColorMatrix&) {
         const ColorMap map{0xFF112233, 0xFF445566};
         return GdipSetImageAttributesRemapTable(a, ColorAdjustTypeDefault, 1, 1, &map);
       },
       0xFF112233, 0xFF445566},
      {[](GpImageAttributes* a, const ColorMatrix&) { return GdipSetImageAttributesNoOp(a, ColorAdjustTypeDefault, 1); },
       0xFF112233, 0xFF112233},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    GdipResetImageAttributes(ia, ColorAdjustTypeDefault);
    ASSERT_EQ(cases[i].set(ia, noRed), Ok) << i;
    ColorPalette pal;
    pal.Count = 1;
    pal.Entries[0] = cases[i].in;
    ASSERT_EQ(GdipGetImageAttributesAdjustedPalette(ia, &pal, ColorAdjustTypeBitmap), Ok);
    EXPECT_EQ(pal.Entries[0], cases[i].out) << i;
  }
  EXPECT_EQ(GdipSetImageAttributesOutputChannel(ia, ColorAdjustTypeDefault, 1, ColorChannelFlagsC), NotImplemented);
  EXPECT_EQ(GdipSetImageAttributesOutputChannelColorProfile(ia, ColorAdjustTypeDefault, 1, u"x.icc"), NotImplemented);
  EXPECT_EQ(GdipSetImageAttributesGamma(ia, ColorAdjustTypeDefault, 1, 0), InvalidParameter);
  EXPECT_EQ(GdipSetImageAttributesNoOp(ia, ColorAdjustTypeAny, 1), InvalidParameter);

  // A colour key drawn: the keyed pixel leaves the surface as it was; the bitmap's own settings
  // win over the default ones.
  GdipResetImageAttributes(ia, ColorAdjustTypeDefault);
  GdipSetImageAttributesGamma(ia, ColorAdjustTypeDefault, 1, 2);
  GdipSetImageAttributesColorKeys(ia, ColorAdjustTypeBitmap, 1, 0xFFFF00FF, 0xFFFF00FF);
  GpBitmap* bmp = nullptr;
  GdipCreateBitmapFromScan0(2, 1, 0, PixelFormat32bppARGB, nullptr, &bmp);
  GdipBitmapSetPixel(bmp, 0, 0, 0xFFFF00FF);
  GdipBitmapSetPixel(bmp, 1, 0, 0xFF808080);
  GpImageAttributes* copy = nullptr;
  ASSERT_EQ(GdipCloneImageAttributes(ia, &copy), Ok);
  TSurface s(4, 2);
  ASSERT_EQ(GdipDrawImageRectRect(s.g, bmp, 0, 0, 2, 1, 0, 0, 2, 1, UnitPixel, copy, nullptr, nullptr), Ok);
  EXPECT_EQ(s.At(0, 0), kWhiteRef);
  EXPECT_EQ(s.At(1, 0), 0x808080u);
  GdipDisposeImageAttributes(copy);
  GdipDisposeImageAttributes(ia);
  GdipDisposeImage(bmp);
}

TEST(GdiPlus, TextOutlinesInPaths) {
  TFont f(20, UnitPixel);
  GpPath* p = nullptr;
  GdipCreatePath(FillModeWinding, &p);
  GpRectF at{5, 5, 0, 0};
  ASSERT_EQ(GdipAddPathString(p, u"L", -1, f.family, FontStyleRegular, 20, &at, nullptr), Ok);
  INT n = 0;
  GdipGetPointCount(p, &n);
  ASSERT_GE(n, 4);
  std::vector<BYTE> types(n);
  GdipGetPathTypes(p, types.data(), n);
  EXPECT_EQ(types[0], PathPointTypeStart);
  EXPECT_TRUE(types[n - 1] & PathPointTypeCloseSubpath);
  // Filled, the letter lands right of the padding and below the layout's top.
  TSurface s(40, 40);
  TSolid black(kBlack);
  ASSERT_EQ(GdipFillPath(s.g, black.b, p), Ok);
  RECT ink = s.Ink();
  EXPECT_GE(ink.Left, 5 + 3);
  EXPECT_GE(ink.Top, 5);
  EXPECT_GT(ink.Bottom - ink.Top, 8);
  EXPECT_EQ(GdipAddPathString(p, u"L", -1, nullptr, 0, 20, &at, nullptr), InvalidParameter);
  GdipDeletePath(p);
}
