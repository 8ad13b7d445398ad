// The GDI+ wrappers: start-up, colour routines, the status convention, matrices, pens and
// brushes handed out by other wrappers, path gradient colours, font families.
#include <gtest/gtest.h>

#include <memory>

#include "controls/AdvGDIP.h"
#include "platform/win/Gdi.h"

namespace {

bool GdiPlusRunning() {
  void* P = GdipAlloc(1);
  GdipFree(P);
  return P != nullptr;
}

void ExpectElements(TGPMatrix& M, std::initializer_list<float> Want, const char* Step) {
  float E[6];
  ASSERT_EQ(M.GetElements(E), Ok) << Step;
  int K = 0;
  for (float W : Want) EXPECT_NEAR(E[K++], W, 1e-4) << Step << " element " << K - 1;
}

}  // namespace

TEST(AdvGDIP, StartsGdiPlusOnceAndShutsItDownWithTheMatchingExit) {
  if (GdiPlusRunning()) GTEST_SKIP() << "GDI+ was already started in this process";
  InitializeAdvGDIP();
  InitializeAdvGDIP();  // counted: no second start-up
  EXPECT_TRUE(GdiPlusRunning());
  FinalizeAdvGDIP();
  EXPECT_TRUE(GdiPlusRunning());
  FinalizeAdvGDIP();
  EXPECT_FALSE(GdiPlusRunning());
  FinalizeAdvGDIP();  // an exit without a start-up does nothing
  // A wrapper made while GDI+ is down starts it again for its memory.
  std::unique_ptr<TGPMatrix> M(new TGPMatrix());
  ASSERT_NE(M, nullptr);
  EXPECT_TRUE(M->IsIdentity());
  EXPECT_TRUE(GdiPlusRunning());
}

TEST(AdvGDIP, ColourAndValueRoutines) {
  EXPECT_EQ(ColorToARGB(clRed), 0xFFFF0000u);
  EXPECT_EQ(ColorToARGB(clBlue), 0xFF0000FFu);
  EXPECT_EQ(ColorToARGB(TColor(0x00332211)), 0xFF112233u);
  const COLORREF Face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(ColorToARGB(clBtnFace), RGBToARGB(Face & 0xFF, (Face >> 8) & 0xFF, (Face >> 16) & 0xFF));
  EXPECT_EQ(ARGBFromBytes(128, 1, 2, 3), 0x80010203u);
  EXPECT_EQ(RGBToARGB(1, 2, 3), 0xFF010203u);
  EXPECT_EQ(ARGBRed(0x80A1B2C3), 0xA1);
  EXPECT_EQ(ARGBGreen(0x80A1B2C3), 0xB2);
  EXPECT_EQ(ARGBBlue(0x80A1B2C3), 0xC3);
  const TGPPoint P = NewGPPoint(-3, 7);
  EXPECT_EQ(P.X, -3);
  EXPECT_EQ(P.Y, 7);
  const TGPRectF R = NewGPRectF(1.5f, 2, 3, 4.25f);
  EXPECT_FLOAT_EQ(R.X, 1.5f);
  EXPECT_FLOAT_EQ(R.Height, 4.25f);
}

TEST(AdvGDIP, EnumerationsKeepGdiPlusOrdinals) {
  EXPECT_EQ(PropertyNotSupported, 20);
  EXPECT_EQ(GdiplusNotInitialized, 18);
  EXPECT_EQ(UnitMillimeter, 6);
  EXPECT_EQ(HatchStyleSolidDiamond, 52);
  EXPECT_EQ(DashStyleCustom, 5);
  EXPECT_EQ(WrapModeClamp, 4);
  EXPECT_EQ(LinearGradientModeBackwardDiagonal, 3);
  EXPECT_EQ(CombineModeComplement, 5);
  EXPECT_EQ(MatrixOrderAppend, 1);
  EXPECT_EQ(ColorMatrixFlagsAltGray, 2);
  EXPECT_EQ(ColorChannelFlagsLast, 4);
  EXPECT_EQ(TextRenderingHintClearTypeGridFit, 5);
  EXPECT_EQ(StringAlignmentFar, 2);
  EXPECT_EQ(StringTrimmingEllipsisPath, 5);
  EXPECT_EQ(HotkeyPrefixHide, 2);
  EXPECT_EQ(FlushIntentionSync, 1);
  EXPECT_EQ(Rotate270FlipX, 7);
  EXPECT_EQ(ColorAdjustTypeAny, 6);
  EXPECT_EQ(ifUndefined, 0);
  EXPECT_EQ(ifPNG, 6);
  EXPECT_EQ(ifIcon, 10);
}

TEST(AdvGDIP, LastFailureIsKeptUntilReadOnce) {
  // Creation keeps its status, Ok included.
  TGPFontFamily Missing(u"No Such Family Anywhere");
  EXPECT_EQ(Missing.GetLastStatus(), FontFamilyNotFound);
  EXPECT_EQ(Missing.GetLastStatus(), Ok);
  TGPBrush Plain;
  EXPECT_EQ(Plain.GetLastStatus(), NotImplemented);
  TGPSolidBrush Empty;
  EXPECT_EQ(Empty.GetLastStatus(), Ok);

  // A failure followed by successes stays until read, then reads Ok.
  TGPMatrix M;
  EXPECT_EQ(M.Translate(1, 2, MatrixOrder(7)), InvalidParameter);
  EXPECT_EQ(M.Translate(1, 2), Ok);
  EXPECT_TRUE(M.IsIdentity() == false);
  EXPECT_EQ(M.GetLastStatus(), InvalidParameter);
  EXPECT_EQ(M.GetLastStatus(), Ok);

  // A wrapper whose creation failed fails every call with GDI+'s status and never crashes.
  TGPGraphics NoDC(static_cast<HDC>(nullptr));
  EXPECT_EQ(NoDC.GetLastStatus(), OutOfMemory);
  TGPSolidBrush Black(0xFF000000);
  EXPECT_EQ(NoDC.FillRectangle(&Black, 0, 0, 5, 5), InvalidParameter);
  EXPECT_EQ(NoDC.GetHDC(), nullptr);
  EXPECT_EQ(NoDC.GetLastStatus(), InvalidParameter);
  EXPECT_EQ(NoDC.Flush(), InvalidParameter);  // returned, not kept
  EXPECT_EQ(NoDC.GetLastStatus(), Ok);
  // With no image a graphics has no native object and reads Ok.
  TGPGraphics NoImage(static_cast<TGPImage*>(nullptr));
  EXPECT_EQ(NoImage.GetLastStatus(), Ok);
  EXPECT_EQ(NoImage.Clear(0xFFFFFFFF), InvalidParameter);
}

TEST(AdvGDIP, MatrixOperationsTable) {
  TGPMatrix M;
  struct {
    const char* step;
    Status (*op)(TGPMatrix&);
    std::initializer_list<float> want;
  } cases[] = {
      {"translate", [](TGPMatrix& x) { return x.Translate(3, 4); }, {1, 0, 0, 1, 3, 4}},
      {"scale prepend", [](TGPMatrix& x) { return x.Scale(2, 3); }, {2, 0, 0, 3, 3, 4}},
      {"scale append", [](TGPMatrix& x) { return x.Scale(2, 2, MatrixOrderAppend); }, {4, 0, 0, 6, 6, 8}},
      {"rotate append", [](TGPMatrix& x) { return x.Rotate(90, MatrixOrderAppend); }, {0, 4, -6, 0, -8, 6}},
      {"reset", [](TGPMatrix& x) { return x.Reset(); }, {1, 0, 0, 1, 0, 0}},
      {"shear", [](TGPMatrix& x) { return x.Shear(2, 0); }, {1, 0, 2, 1, 0, 0}},
      {"invert", [](TGPMatrix& x) { return x.Invert(); }, {1, 0, -2, 1, 0, 0}},
      {"set", [](TGPMatrix& x) { return x.SetElements(1, 0, 0, 1, 0, 0); }, {1, 0, 0, 1, 0, 0}},
      // About (10, 0): the origin goes to (10, -10) whichever order.
      {"rotate at, append", [](TGPMatrix& x) { return x.RotateAt(90, TGPPointF{10, 0}, MatrixOrderAppend); },
       {0, 1, -1, 0, 10, -10}},
      {"reset", [](TGPMatrix& x) { return x.Reset(); }, {1, 0, 0, 1, 0, 0}},
      {"rotate at, prepend", [](TGPMatrix& x) { return x.RotateAt(90, TGPPointF{10, 0}); }, {0, 1, -1, 0, 10, -10}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.op(M), Ok) << c.step;
    ExpectElements(M, c.want, c.step);
  }
  EXPECT_FLOAT_EQ(M.OffsetX(), 10);
  EXPECT_FLOAT_EQ(M.OffsetY(), -10);

  TGPMatrix S(2, 0, 0, 3, 10, 20);
  TGPPointF PF[2] = {{1, 1}, {-1, 2}};
  EXPECT_EQ(S.TransformPoints(PF, 2), Ok);
  EXPECT_FLOAT_EQ(PF[0].X, 12);
  EXPECT_FLOAT_EQ(PF[1].Y, 26);
  TGPPoint PI{1, 1};
  EXPECT_EQ(S.TransformVectors(&PI), Ok);
  EXPECT_EQ(PI.X, 2);
  EXPECT_EQ(PI.Y, 3);
  std::unique_ptr<TGPMatrix> C = S.Clone();
  ASSERT_NE(C, nullptr);
  EXPECT_EQ(S.Multiply(C.get(), MatrixOrderAppend), Ok);
  ExpectElements(S, {4, 0, 0, 9, 30, 80}, "multiply");

  const TGPRectF From{0, 0, 10, 10};
  const TGPPointF To[3] = {{5, 5}, {25, 5}, {5, 15}};
  TGPMatrix Plg(From, To);
  ExpectElements(Plg, {2, 0, 0, 1, 5, 5}, "parallelogram");
  const TGPRect FromI{0, 0, 10, 10};
  const TGPPoint ToI[3] = {{5, 5}, {25, 5}, {5, 15}};
  TGPMatrix PlgI(FromI, ToI);
  ExpectElements(PlgI, {2, 0, 0, 1, 5, 5}, "parallelogram, integers");

  TGPMatrix Singular(1, 2, 2, 4, 0, 0);
  EXPECT_FALSE(Singular.IsInvertible());
  EXPECT_EQ(Singular.Invert(), InvalidParameter);
  // A clone after an unread failure is none; once the failure is read it is made.
  EXPECT_EQ(Singular.Clone(), nullptr);
  EXPECT_EQ(Singular.GetLastStatus(), InvalidParameter);
  EXPECT_NE(Singular.Clone(), nullptr);
}

TEST(AdvGDIP, PensHandOutBrushesOfTheirKind) {
  TGPPen Red(0xFFFF0000, 2);
  EXPECT_EQ(Red.GetPenType(), 0);
  std::unique_ptr<TGPBrush> B = Red.GetBrush();
  ASSERT_NE(dynamic_cast<TGPSolidBrush*>(B.get()), nullptr);
  EXPECT_EQ(B->GetLastStatus(), Ok);
  EXPECT_EQ(Red.GetDashStyle(), DashStyleSolid);
  EXPECT_EQ(Red.SetDashStyle(DashStyleDot), Ok);
  EXPECT_EQ(Red.GetDashStyle(), DashStyleDot);
  EXPECT_EQ(Red.SetEndCap(LineCapRound), Ok);
  EXPECT_EQ(Red.SetEndCap(0x55), InvalidParameter);
  EXPECT_EQ(Red.GetLastStatus(), InvalidParameter);

  TGPHatchBrush Hatch(HatchStyleCross, 0xFF000000, 0xFFFFFFFF);
  TGPPen HatchPen(&Hatch, 3);
  EXPECT_EQ(HatchPen.GetPenType(), 1);
  std::unique_ptr<TGPBrush> HB = HatchPen.GetBrush();
  auto* AsHatch = dynamic_cast<TGPHatchBrush*>(HB.get());
  ASSERT_NE(AsHatch, nullptr);
  EXPECT_EQ(AsHatch->GetHatchStyle(), HatchStyleCross);
  ARGB Fore = 0, Back = 0;
  EXPECT_EQ(AsHatch->GetForegroundColor(Fore), Ok);
  EXPECT_EQ(AsHatch->GetBackgroundColor(Back), Ok);
  EXPECT_EQ(Fore, 0xFF000000u);
  EXPECT_EQ(Back, 0xFFFFFFFFu);

  // Gradient kinds come back through the plain brush constructor, still marked NotImplemented.
  TGPLinearGradientBrush Line(TGPPointF{0, 0}, TGPPointF{10, 0}, 0xFF000000, 0xFFFFFFFF);
  EXPECT_EQ(HatchPen.SetBrush(&Line), Ok);
  EXPECT_EQ(HatchPen.GetPenType(), 4);
  std::unique_ptr<TGPBrush> LB = HatchPen.GetBrush();
  ASSERT_NE(dynamic_cast<TGPLinearGradientBrush*>(LB.get()), nullptr);
  EXPECT_EQ(LB->GetLastStatus(), NotImplemented);

  TGPGraphicsPath Path;
  Path.AddRectangle(TGPRectF{0, 0, 10, 10});
  TGPPathGradientBrush Radial(&Path);
  EXPECT_EQ(HatchPen.SetBrush(&Radial), Ok);
  std::unique_ptr<TGPBrush> PB = HatchPen.GetBrush();
  ASSERT_NE(PB, nullptr);
  EXPECT_EQ(typeid(*PB), typeid(TGPBrush));
  EXPECT_EQ(PB->GetLastStatus(), NotImplemented);

  TGPPen NoBrush(static_cast<TGPBrush*>(nullptr));
  EXPECT_EQ(NoBrush.GetLastStatus(), InvalidParameter);
  EXPECT_EQ(NoBrush.GetBrush(), nullptr);
}

TEST(AdvGDIP, PathGradientColourChecks) {
  TGPGraphicsPath Path;
  ASSERT_EQ(Path.AddRectangle(TGPRectF{0, 0, 20, 10}), Ok);
  TGPPathGradientBrush B(&Path);
  ASSERT_EQ(B.GetLastStatus(), Ok);
  EXPECT_EQ(B.GetPointCount(), 4);

  const ARGB Colours[5] = {0xFF000001, 0xFF000002, 0xFF000003, 0xFF000004, 0xFF000005};
  int32_t Count = 3;
  EXPECT_EQ(B.SetSurroundColors(Colours, Count), Ok);
  EXPECT_EQ(Count, 3);
  Count = 5;
  EXPECT_EQ(B.SetSurroundColors(Colours, Count), InvalidParameter);  // more colours than points
  EXPECT_EQ(Count, 5);
  EXPECT_EQ(B.SetSurroundColors(nullptr, Count), InvalidParameter);
  EXPECT_EQ(B.GetLastStatus(), InvalidParameter);

  ARGB Read[4] = {};
  Count = 2;
  EXPECT_EQ(B.GetSurroundColors(Read, Count), InsufficientBuffer);
  Count = 4;
  EXPECT_EQ(B.GetSurroundColors(Read, Count), Ok);
  EXPECT_EQ(Count, 3);
  EXPECT_EQ(Read[2], 0xFF000003u);
  EXPECT_EQ(B.GetSurroundColors(nullptr, Count), InvalidParameter);
  EXPECT_EQ(B.GetLastStatus(), InvalidParameter);

  EXPECT_EQ(B.SetCenterColor(0x80FF0000), Ok);
  ARGB Centre = 0;
  EXPECT_EQ(B.GetCenterColor(Centre), Ok);
  EXPECT_EQ(Centre, 0x80FF0000u);
  EXPECT_EQ(B.SetCenterPoint(TGPPoint{4, 5}), Ok);
  TGPPointF CP;
  EXPECT_EQ(B.GetCenterPoint(CP), Ok);
  EXPECT_FLOAT_EQ(CP.X, 4);
  EXPECT_FLOAT_EQ(CP.Y, 5);

  const float Positions[2] = {0, 1};
  EXPECT_EQ(B.SetInterpolationColors(Colours, Positions, 0), InvalidParameter);
  EXPECT_EQ(B.SetInterpolationColors(nullptr, Positions, 2), InvalidParameter);
  EXPECT_EQ(B.GetLastStatus(), InvalidParameter);
  EXPECT_EQ(B.SetInterpolationColors(Colours, Positions, 2), Ok);
  TGPLinearGradientBrush L(TGPRectF{0, 0, 10, 10}, 0xFF000000, 0xFFFFFFFF, LinearGradientModeVertical);
  EXPECT_EQ(L.SetInterpolationColors(Colours, Positions, 0), InvalidParameter);
  EXPECT_EQ(L.GetLastStatus(), InvalidParameter);
}

TEST(AdvGDIP, FontFamiliesAndFonts) {
  EXPECT_EQ(TGPFontFamily::GenericSansSerif(), TGPFontFamily::GenericSansSerif());
  EXPECT_NE(TGPFontFamily::GenericSerif(), TGPFontFamily::GenericSansSerif());
  EXPECT_EQ(TGPFontFamily::GenericMonospace()->GetLastStatus(), Ok);
  TGPFont Generic(TGPFontFamily::GenericSerif(), 10);
  EXPECT_EQ(Generic.GetLastStatus(), Ok);
  // By name: a name GDI+ does not know falls back on the generic sans-serif family.
  TGPFont Known(u"Arial", 12, TFontStyles{fsBold, fsStrikeOut}, UnitPixel);
  EXPECT_EQ(Known.GetLastStatus(), Ok);
  TGPFont Unknown(u"No Such Family Anywhere", 12, TFontStyles{}, UnitPoint);
  EXPECT_EQ(Unknown.GetLastStatus(), Ok);
  TGPFont Bad(u"Arial", -1, TFontStyles{}, UnitPoint);
  EXPECT_EQ(Bad.GetLastStatus(), InvalidParameter);
  TGPFont NoFamily(static_cast<TGPFontFamily*>(nullptr), 10);
  EXPECT_EQ(NoFamily.GetLastStatus(), InvalidParameter);
  TGPFontCollection Installed;
  TGPFontFamily InCollection(u"Arial", &Installed);
  EXPECT_EQ(InCollection.GetLastStatus(), Ok);
}

TEST(AdvGDIP, StringFormatsAndImageAttributes) {
  TGPStringFormat F(StringFormatFlagsNoWrap);
  EXPECT_EQ(F.GetFormatFlags(), StringFormatFlagsNoWrap);
  EXPECT_EQ(F.SetAlignment(StringAlignmentCenter), Ok);
  EXPECT_EQ(F.SetLineAlignment(StringAlignmentFar), Ok);
  EXPECT_EQ(F.SetTrimming(StringTrimmingNone), Ok);
  EXPECT_EQ(F.SetHotkeyPrefix(HotkeyPrefixShow), Ok);
  TGPStringFormat Copy(&F);
  EXPECT_EQ(Copy.GetAlignment(), StringAlignmentCenter);
  EXPECT_EQ(Copy.GetLineAlignment(), StringAlignmentFar);
  EXPECT_EQ(Copy.GetTrimming(), StringTrimmingNone);
  EXPECT_EQ(Copy.GetHotkeyPrefix(), HotkeyPrefixShow);
  EXPECT_EQ(F.SetAlignment(StringAlignment(9)), InvalidParameter);
  EXPECT_EQ(F.GetLastStatus(), InvalidParameter);
  TGPStringFormat NoCopy(static_cast<TGPStringFormat*>(nullptr));
  EXPECT_EQ(NoCopy.GetLastStatus(), InvalidParameter);

  TGPImageAttributes A;
  EXPECT_EQ(A.SetColorKey(0xFF000000, 0xFF101010), Ok);
  EXPECT_EQ(A.SetGamma(2.2f, ColorAdjustTypeBitmap), Ok);
  EXPECT_EQ(A.SetGamma(0), InvalidParameter);
  EXPECT_EQ(A.ClearGamma(ColorAdjustTypeBitmap), Ok);
  EXPECT_EQ(A.SetThreshold(0.5f), Ok);
  EXPECT_EQ(A.ClearThreshold(), Ok);
  EXPECT_EQ(A.SetNoOp(), Ok);
  EXPECT_EQ(A.ClearNoOp(), Ok);
  ColorMatrix Identity{};
  for (int i = 0; i < 5; ++i) Identity.m[i][i] = 1;
  EXPECT_EQ(A.SetColorMatrix(Identity), Ok);
  EXPECT_EQ(A.SetColorMatrices(Identity, Identity, ColorMatrixFlagsAltGray), Ok);
  EXPECT_EQ(A.ClearColorMatrix(), Ok);
  const ColorMap Map{0xFF000000, 0xFFFFFFFF};
  EXPECT_EQ(A.SetRemapTable(1, &Map), Ok);
  EXPECT_EQ(A.SetBrushRemapTable(1, &Map), Ok);
  EXPECT_EQ(A.ClearBrushRemapTable(), Ok);
  EXPECT_EQ(A.SetWrapMode(WrapModeTile), Ok);
  EXPECT_EQ(A.SetOutputChannel(ColorChannelFlagsC), NotImplemented);
  EXPECT_EQ(A.SetOutputChannelColorProfile(u"profile.icc"), NotImplemented);
  EXPECT_EQ(A.GetLastStatus(), NotImplemented);
  std::unique_ptr<TGPImageAttributes> C = A.Clone();
  ASSERT_NE(C, nullptr);
  EXPECT_EQ(C->GetLastStatus(), Ok);
  EXPECT_EQ(C->SetToIdentity(), Ok);
  EXPECT_EQ(C->Reset(), Ok);
}
