// The GDI+ wrappers drawing: pixels of edges, antialiasing, paths, gradients, hatches and colour
// keys; the module's text routines; images through streams and files.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "controls/AdvGDIP.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Metafile.h"
#include "platform/win/Ole.h"
#include "testing/MemorySurface.h"

namespace {

constexpr ARGB kBlack = 0xFF000000;
constexpr COLORREF kWhiteRef = 0xFFFFFF;

// A white memory surface with a wrapper graphics on it.
struct TSurface : TMemorySurface {
  TGPGraphics G;
  TSurface(int Width, int Height) : TMemorySurface(Width, Height), G(dc) {}
  int Shades() const {
    int N = 0;
    for (int Y = 0; Y < h; ++Y)
      for (int X = 0; X < w; ++X) N += At(X, Y) != kWhiteRef && At(X, Y) != 0;
    return N;
  }
};

void ExpectInk(const TSurface& S, int L, int T, int R, int B, const char* What) {
  const RECT Ink = S.Ink();
  EXPECT_EQ(Ink.Left, L) << What;
  EXPECT_EQ(Ink.Top, T) << What;
  EXPECT_EQ(Ink.Right, R) << What;
  EXPECT_EQ(Ink.Bottom, B) << What;
}

std::unique_ptr<TFont> Font(const String& Name, int Size) {
  auto F = std::make_unique<TFont>();
  F->SetName(Name);
  F->SetSize(Size);
  F->SetColor(clBlack);
  return F;
}

// A 1 by 1 white GIF.
const std::vector<uint8_t> kGif = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x80, 0x00,
                                   0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00, 0x00, 0x00,
                                   0x01, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B};

IStream* StreamOf(const std::vector<uint8_t>& Bytes) {
  IStream* S = nullptr;
  EXPECT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &S), S_OK);
  ULONG N = 0;
  S->Write(Bytes.data(), ULONG(Bytes.size()), &N);
  S->Seek(0, STREAM_SEEK_SET, nullptr);
  return S;
}

}  // namespace

TEST(AdvGDIPDraw, RectangleEdgesAndAntialiasing) {
  {
    TSurface S(20, 20);
    TGPSolidBrush B(kBlack);
    ASSERT_EQ(S.G.FillRectangle(&B, TGPRectF{2, 3, 10, 5}), Ok);
    ExpectInk(S, 2, 3, 12, 8, "fill");
  }
  {
    TSurface S(20, 20);
    TGPPen P(kBlack);
    ASSERT_EQ(S.G.DrawRectangle(&P, 2, 3, 10, 5), Ok);  // the outline covers the right and bottom edge
    ExpectInk(S, 2, 3, 13, 9, "outline");
    EXPECT_EQ(S.At(7, 5), kWhiteRef);
  }
  struct {
    int mode;
    bool shaded;
  } Modes[] = {{SmoothingModeDefault, false}, {SmoothingModeHighSpeed, false}, {SmoothingModeHighQuality, true},
               {SmoothingModeNone, false},    {SmoothingModeAntiAlias, true},  {SmoothingModeAntiAlias8x8, true}};
  for (const auto& M : Modes) {
    TSurface S(30, 30);
    TGPSolidBrush B(kBlack);
    ASSERT_EQ(S.G.SetSmoothingMode(M.mode), Ok);
    ASSERT_EQ(S.G.FillEllipse(&B, 3, 3, 20, 20), Ok);
    EXPECT_EQ(S.Shades() > 0, M.shaded) << M.mode;
  }
  TSurface S(10, 10);
  EXPECT_EQ(S.G.SetSmoothingMode(SmoothingModeAntiAlias), Ok);
  EXPECT_EQ(S.G.GetSmoothingMode(), SmoothingModeAntiAlias);
  EXPECT_EQ(S.G.SetSmoothingMode(9), InvalidParameter);
  EXPECT_EQ(S.G.GetLastStatus(), InvalidParameter);
}

TEST(AdvGDIPDraw, PathsAndShapesTable) {
  const TGPPointF Tri[3] = {{2, 2}, {12, 2}, {2, 12}};
  const TGPPoint TriI[3] = {{2, 2}, {12, 2}, {2, 12}};
  struct {
    const char* what;
    void (*build)(TGPGraphicsPath&, const TGPPointF*, const TGPPoint*);
    RECT ink;
  } Cases[] = {
      {"rectangle", [](TGPGraphicsPath& p, const TGPPointF*, const TGPPoint*) { p.AddRectangle(TGPRectF{2, 3, 10, 5}); },
       {2, 3, 12, 8}},
      {"integer rectangle",
       [](TGPGraphicsPath& p, const TGPPointF*, const TGPPoint*) { p.AddRectangle(TGPRect{4, 4, 6, 6}); },
       {4, 4, 10, 10}},
      {"polygon", [](TGPGraphicsPath& p, const TGPPointF* t, const TGPPoint*) { p.AddPolygon(t, 3); }, {2, 2, 12, 12}},
      {"integer polygon", [](TGPGraphicsPath& p, const TGPPointF*, const TGPPoint* t) { p.AddPolygon(t, 3); },
       {2, 2, 12, 12}},
      {"lines closed",
       [](TGPGraphicsPath& p, const TGPPointF*, const TGPPoint* t) {
         p.AddLines(t, 3);
         p.CloseFigure();
       },
       {2, 2, 12, 12}},
      {"ellipse", [](TGPGraphicsPath& p, const TGPPointF*, const TGPPoint*) { p.AddEllipse(2, 2, 20, 10); },
       {2, 2, 22, 12}},
      {"pie quarter",
       [](TGPGraphicsPath& p, const TGPPointF*, const TGPPoint*) { p.AddPie(TGPRectF{0, 0, 20, 20}, 0, 90); },
       {10, 10, 20, 20}},
      {"arc and line",
       [](TGPGraphicsPath& p, const TGPPointF*, const TGPPoint*) {
         p.AddArc(0, 0, 20, 20, 180, 90);
         p.AddLine(TGPPointF{10, 0}, TGPPointF{10, 10});
         p.CloseFigure();
       },
       {1, 1, 10, 10}},
      {"bezier", [](TGPGraphicsPath& p, const TGPPointF*, const TGPPoint*) {
         p.AddBezier(TGPPoint{2, 2}, TGPPoint{2, 12}, TGPPoint{12, 12}, TGPPoint{12, 2});
       },
       {2, 2, 12, 10}},
  };
  for (const auto& C : Cases) {
    TSurface S(30, 30);
    TGPGraphicsPath P;
    C.build(P, Tri, TriI);
    ASSERT_EQ(P.GetLastStatus(), Ok) << C.what;
    TGPSolidBrush B(kBlack);
    ASSERT_EQ(S.G.FillPath(&B, &P), Ok) << C.what;
    ExpectInk(S, C.ink.Left, C.ink.Top, C.ink.Right, C.ink.Bottom, C.what);
  }
  // Reset empties the path; a curve through the points stays within reach of them.
  TGPGraphicsPath P;
  P.AddRectangle(TGPRectF{0, 0, 5, 5});
  EXPECT_EQ(P.Reset(), Ok);
  EXPECT_EQ(P.AddCurve(TriI, 3, 0.0f), Ok);
  TSurface S(30, 30);
  TGPPen Pen(kBlack);
  ASSERT_EQ(S.G.DrawPath(&Pen, &P), Ok);
  ExpectInk(S, 2, 2, 13, 13, "straight curve");
  EXPECT_EQ(S.G.DrawPath(nullptr, &P), InvalidParameter);
  EXPECT_EQ(P.AddPolygon(TriI, 0), InvalidParameter);
  EXPECT_EQ(P.GetLastStatus(), InvalidParameter);
}

TEST(AdvGDIPDraw, GradientsHatchesAndClipping) {
  // A horizontal linear gradient from black to white across 0..40.
  TSurface S(40, 10);
  TGPLinearGradientBrush L(TGPRect{0, 0, 40, 10}, kBlack, 0xFFFFFFFF, LinearGradientModeHorizontal);
  ASSERT_EQ(S.G.FillRectangle(&L, 0, 0, 40, 10), Ok);
  EXPECT_LT(S.At(1, 5) & 0xFF, 0x20u);
  EXPECT_GT(S.At(38, 5) & 0xFF, 0xE0u);
  EXPECT_NEAR(int(S.At(20, 5) & 0xFF), 128, 12);

  // A path gradient: the centre colour in the middle, the surround colour at the edge.
  TSurface R(40, 40);
  TGPGraphicsPath Box;
  Box.AddRectangle(TGPRectF{0, 0, 40, 40});
  TGPPathGradientBrush PG(&Box);
  PG.SetCenterColor(kBlack);
  ARGB Edge = 0xFFFF0000;
  int32_t One = 1;
  ASSERT_EQ(PG.SetSurroundColors(&Edge, One), Ok);
  ASSERT_EQ(R.G.FillPath(&PG, &Box), Ok);
  EXPECT_LT(R.At(20, 20) & 0xFF, 0x20u);
  EXPECT_GT(R.At(0, 20) & 0xFF, 0xE0u);
  EXPECT_LT((R.At(0, 20) >> 16) & 0xFF, 0x20u);

  // A hatch on device pixels.
  TSurface H(16, 16);
  TGPHatchBrush Hatch(HatchStyleHorizontal, kBlack, 0xFFFFFFFF);
  ASSERT_EQ(H.G.FillRectangle(&Hatch, 0, 0, 16, 16), Ok);
  EXPECT_EQ(H.At(5, 8), 0u);
  EXPECT_EQ(H.At(5, 9), kWhiteRef);

  // Clipping: a region with a hole, then an excluded rectangle, then reset.
  TSurface C(20, 20);
  TGPRegion Region(TGPRectF{0, 0, 20, 20});
  TGPGraphicsPath Hole;
  Hole.AddRectangle(TGPRectF{5, 5, 10, 10});
  ASSERT_EQ(Region.Exclude(&Hole), Ok);
  ASSERT_EQ(C.G.SetClip(&Region), Ok);
  TGPSolidBrush Black(kBlack);
  C.G.FillRectangle(&Black, 0, 0, 20, 20);
  EXPECT_EQ(C.At(10, 10), kWhiteRef);
  EXPECT_EQ(C.At(2, 2), 0u);
  TSurface E(20, 20);
  ASSERT_EQ(E.G.ExcludeClip(TGPRectF{0, 0, 10, 20}), Ok);
  E.G.FillRectangle(&Black, 0, 0, 20, 20);
  ExpectInk(E, 10, 0, 20, 20, "excluded left half");
  E.G.ResetClip();
  E.G.FillRectangle(&Black, 0, 0, 20, 20);
  ExpectInk(E, 0, 0, 20, 20, "after reset");
}

TEST(AdvGDIPDraw, ImagesDrawnRoundedAndThroughAColourKey) {
  TGPBitmap Bmp(4, 4);
  ASSERT_EQ(Bmp.GetLastStatus(), Ok);
  for (int Y = 0; Y < 4; ++Y)
    for (int X = 0; X < 4; ++X) Bmp.SetPixel(X, Y, kBlack);
  // 1.5, 2.5, 10.4, 20.6 rounds to 2, 2, 10, 21.
  TSurface S(40, 40);
  ASSERT_EQ(S.G.DrawImageRect(&Bmp, TGPRectF{1.5f, 2.5f, 10.4f, 20.6f}), Ok);
  ExpectInk(S, 2, 2, 12, 23, "rounded rectangle");
  TSurface P(20, 20);
  ASSERT_EQ(P.G.DrawImage(&Bmp, 3, 4), Ok);
  ExpectInk(P, 3, 4, 7, 8, "at a point");
  EXPECT_EQ(P.G.DrawImage(nullptr, 3, 4), InvalidParameter);

  // Red pixels keyed out: the surface shows through where the image was red.
  TGPBitmap Two(2, 1);
  Two.SetPixel(0, 0, 0xFFFF0000);
  Two.SetPixel(1, 0, 0xFF0000FF);
  TGPImageAttributes Key;
  ASSERT_EQ(Key.SetColorKey(0xFFF00000, 0xFFFF1010), Ok);
  TSurface K(10, 10);
  ASSERT_EQ(K.G.DrawImage(&Two, TGPRectF{0, 0, 2, 1}, 0, 0, 2, 1, UnitPixel, &Key), Ok);
  EXPECT_EQ(K.At(0, 0), kWhiteRef);
  EXPECT_EQ(K.At(1, 0), RGB(0, 0, 255));

  // Drawing on a bitmap through a graphics made from it.
  std::unique_ptr<TGPGraphics> OnBmp = TGPGraphics::FromImage(&Two);
  ASSERT_EQ(OnBmp->GetLastStatus(), Ok);
  ASSERT_EQ(OnBmp->Clear(0xFF00FF00), Ok);
  OnBmp.reset();
  ARGB Px = 0;
  ASSERT_EQ(Two.GetPixel(1, 0, Px), Ok);
  EXPECT_EQ(Px, 0xFF00FF00u);
  EXPECT_EQ(Two.GetPixel(5, 0, Px), InvalidParameter);
  HBITMAP H = nullptr;
  ASSERT_EQ(Two.GetHBITMAP(0xFFFFFFFF, H), Ok);
  EXPECT_NE(H, nullptr);
  DeleteObject(H);
}

TEST(AdvGDIPDraw, ImagesThroughStreamsAndFiles) {
  IStream* Gif = StreamOf(kGif);
  TGPImage FromGif(Gif);
  Gif->Release();
  ASSERT_EQ(FromGif.GetLastStatus(), Ok);
  EXPECT_EQ(FromGif.GetFormat(), ifGIF);
  EXPECT_EQ(FromGif.GetWidth(), 1u);

  TGPBitmap Bmp(3, 2);
  Bmp.SetPixel(0, 0, 0xFFFF0000);
  EXPECT_EQ(Bmp.GetFormat(), ifMemoryBMP);
  EXPECT_EQ(Bmp.GetPixelFormat(), PixelFormat32bppARGB);
  EXPECT_EQ(Bmp.GetPixelDepth(), 32u);
  EXPECT_TRUE(Bmp.HasAlphaChannel());
  EXPECT_FALSE(Bmp.HasPalette());
  IStream* Out = nullptr;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &Out), S_OK);
  ASSERT_EQ(Bmp.Save(Out, EncoderPNG), Ok);
  Out->Seek(0, STREAM_SEEK_SET, nullptr);
  std::unique_ptr<TGPBitmap> Back = TGPBitmap::FromStream(Out);
  Out->Release();
  ASSERT_EQ(Back->GetLastStatus(), Ok);
  EXPECT_EQ(Back->GetFormat(), ifPNG);
  EXPECT_EQ(Back->GetHeight(), 2u);
  ARGB Px = 0;
  Back->GetPixel(0, 0, Px);
  EXPECT_EQ(Px, 0xFFFF0000u);

  const std::string Path = ::testing::TempDir() + "advgdip-save.bmp";
  const String Wide(Path.begin(), Path.end());
  ASSERT_EQ(Bmp.Save(Wide, EncoderBMP), Ok);
  TGPImage FromFile(Wide, true);
  ASSERT_EQ(FromFile.GetLastStatus(), Ok);
  EXPECT_EQ(FromFile.GetFormat(), ifBMP);
  EXPECT_EQ(FromFile.RotateFlip(Rotate90FlipNone), Ok);
  EXPECT_EQ(FromFile.GetWidth(), 2u);
  std::unique_ptr<TGPImage> Thumb = FromFile.GetThumbnailImage(8, 6);
  ASSERT_EQ(Thumb->GetLastStatus(), Ok);
  EXPECT_EQ(Thumb->GetWidth(), 8u);
  std::remove(Path.c_str());

  TGPImage Missing(u"/nonexistent/picture.png");
  EXPECT_EQ(Missing.GetLastStatus(), FileNotFound);
  EXPECT_EQ(Missing.GetFormat(), ifUndefined);
  EXPECT_EQ(Missing.GetWidth(), 0u);
  EXPECT_EQ(Missing.GetLastStatus(), InvalidParameter);
  EXPECT_EQ(Bmp.SaveAdd(nullptr, nullptr), InvalidParameter);
  EXPECT_EQ(Bmp.GetLastStatus(), InvalidParameter);
  EXPECT_EQ(Bmp.Save(Out = nullptr, EncoderGIF), InvalidParameter);

  // A texture brush hands out a copy of its image.
  TGPTextureBrush Tex(&Bmp, WrapModeTileFlipX);
  EXPECT_EQ(Tex.GetWrapMode(), WrapModeTileFlipX);
  std::unique_ptr<TGPImage> Img = Tex.GetImage();
  ASSERT_EQ(Img->GetLastStatus(), Ok);
  EXPECT_EQ(Img->GetWidth(), 3u);
}

TEST(AdvGDIPDraw, DrawStringDrawsTheWholeText) {
  TGPFont F(TGPFontFamily::GenericSansSerif(), 12, FontStyleRegular, UnitPixel);
  TGPSolidBrush Black(kBlack);
  TSurface Three(200, 30), Ten(200, 30);
  ASSERT_EQ(Three.G.DrawString(String(u"HHHHHHHHHH"), 3, &F, TGPPointF{0, 0}, &Black), Ok);
  ASSERT_EQ(Ten.G.DrawString(u"HHHHHHHHHH", 10, &F, TGPRectF{0, 0, 0, 0}, nullptr, &Black), Ok);
  EXPECT_EQ(Three.Ink().Right, Ten.Ink().Right);
  EXPECT_GT(Three.Ink().Right, 60);
  // Measuring passes the length on: three characters measure narrower than ten.
  TGPRectF Box3, Box10;
  ASSERT_EQ(Ten.G.MeasureString(u"HHHHHHHHHH", 3, &F, TGPRectF{0, 0, 1000, 100}, Box3), Ok);
  ASSERT_EQ(Ten.G.MeasureString(u"HHHHHHHHHH", -1, &F, TGPPointF{0, 0}, nullptr, Box10), Ok);
  EXPECT_LT(Box3.Width * 2, Box10.Width);
  // A length beyond the text measures the text.
  TGPRectF Beyond;
  ASSERT_EQ(Ten.G.MeasureString(u"HH", 500, &F, TGPRectF{0, 0, 1000, 100}, Beyond), Ok);
  ASSERT_EQ(Ten.G.MeasureString(u"HH", -1, &F, TGPRectF{0, 0, 1000, 100}, Box3), Ok);
  EXPECT_FLOAT_EQ(Beyond.Width, Box3.Width);
  TGPGraphicsPath Outline;
  EXPECT_EQ(Outline.AddString(u"HH", 500, TGPFontFamily::GenericSansSerif(), 0, 12, TGPRectF{0, 0, 100, 40}, nullptr),
            Ok);
  int32_t Fitted = 0, Lines = 0;
  TGPStringFormat Format;
  ASSERT_EQ(Ten.G.MeasureString(u"HH", -1, &F, TGPRectF{0, 0, 100, 100}, &Format, &Box3, &Fitted, &Lines), Ok);
  EXPECT_EQ(Fitted, 2);
  EXPECT_EQ(Lines, 1);
}

TEST(AdvGDIPDraw, TextRoutinesMeasureTheTrailingBlankAndCorrectTheWidth) {
  TSurface S(200, 40);
  // The width correction per font size: 2 up to 8 points, then 2 + round((size - 8) / 1.5).
  struct {
    int size;
    int correction;
  } Sizes[] = {{8, 2}, {9, 3}, {11, 4}, {12, 5}, {20, 10}};
  for (const auto& C : Sizes) {
    std::unique_ptr<TFont> Fnt = Font(u"Arial", C.size);
    std::unique_ptr<TGPFont> G = S.G.MakeFont(Fnt.get());
    ASSERT_EQ(G->GetLastStatus(), Ok);
    TGPRectF Box;
    S.G.MeasureString(u"abi", 3, G.get(), TGPRectF{10, 5, 1100, 0}, Box);
    TRect R(10, 5, 110, 5);
    S.G.DrawText(u"abi", 3, R, Fnt.get(), 0x400, clNone);
    EXPECT_EQ(R.Right - R.Left, int(Round(Box.Width - C.correction))) << C.size;
    EXPECT_EQ(R.Bottom - R.Top, int(Round(Box.Height))) << C.size;
  }
  // A trailing blank is measured as an "i"; a single blank is left as it is.
  std::unique_ptr<TFont> Fnt = Font(u"Arial", 12);
  auto Width = [&](const String& Text) {
    TRect R(0, 0, 100, 20);
    S.G.DrawText(Text, int32_t(Text.size()), R, Fnt.get(), 0x400, clNone);
    return R.Right - R.Left;
  };
  EXPECT_EQ(Width(u"ab "), Width(u"abi"));
  EXPECT_GT(Width(u"ab "), Width(u"ab"));
  EXPECT_EQ(Width(u"a "), Width(u"ai"));
  EXPECT_LT(Width(u" "), Width(u"i"));
  // Measuring alone draws nothing.
  EXPECT_EQ(S.Ink().Right, 0);
  // A length beyond the text measures the text.
  TRect Long(0, 0, 100, 20);
  S.G.DrawText(u"abi", 50, Long, Fnt.get(), 0x400, clNone);
  EXPECT_EQ(Long.Right, Width(u"abi"));

  EXPECT_GT(S.G.TextWidth(u"abcd", Fnt.get()), S.G.TextWidth(u"ab", Fnt.get()));
  EXPECT_GT(S.G.TextHeight(u"ab", Fnt.get()), 12);
  // An unknown font name falls back on Arial.
  std::unique_ptr<TFont> Odd = Font(u"No Such Family Anywhere", 12);
  EXPECT_EQ(S.G.TextWidth(u"abcd", Odd.get()), S.G.TextWidth(u"abcd", Fnt.get()));
}

TEST(AdvGDIPDraw, DrawTextPaintsTextAndBackground) {
  std::unique_ptr<TFont> Fnt = Font(u"Arial", 12);
  Fnt->SetColor(clRed);
  // Without measuring the rectangle stays and its height is the result.
  TSurface S(200, 40);
  TRect R(5, 5, 50, 30);
  EXPECT_EQ(S.G.DrawText(u"Hi", 2, R, Fnt.get(), 0, clNone), 25);
  EXPECT_EQ(R, TRect(5, 5, 50, 30));
  const RECT Ink = S.Ink();
  EXPECT_GE(Ink.Left, 5);
  EXPECT_GE(Ink.Top, 5);
  bool Red = false;
  for (int Y = Ink.Top; Y < Ink.Bottom; ++Y)
    for (int X = Ink.Left; X < Ink.Right; ++X) Red |= S.At(X, Y) == RGB(255, 0, 0);
  EXPECT_TRUE(Red);

  // A background colour is filled from one pixel right of the left edge over the measured text.
  TSurface B(200, 40);
  TRect M(5, 5, 50, 30);
  const int32_t Height = B.G.DrawText(u"Hi", 2, M, Fnt.get(), 0, clBlue);
  EXPECT_EQ(Height, M.Bottom - M.Top);
  EXPECT_EQ(B.At(5, 10), kWhiteRef);
  EXPECT_EQ(B.At(6, M.Top), RGB(0, 0, 255));
  EXPECT_EQ(B.At(M.Right, M.Top), RGB(0, 0, 255));
  EXPECT_EQ(B.At(M.Right + 3, M.Top), kWhiteRef);
}

TEST(AdvGDIPDraw, MetafilesReadAndPlayedWhenDrawn) {
  InitializeAdvGDIP();  // hands the class library's metafile reader to GDI+
  // A 20 x 10 recording: a red block in its right half.
  for (const bool Enhanced : {true, false}) {
    TMetafile Meta;
    Meta.SetEnhanced(Enhanced);
    Meta.SetWidth(20);
    Meta.SetHeight(10);
    {
      TMetafileCanvas C(&Meta, nullptr);
      C.Brush()->SetColor(clRed);
      C.Pen()->SetStyle(psClear);
      C.FillRect(TRect(10, 0, 20, 10));
    }
    const std::string Path = ::testing::TempDir() + (Enhanced ? "advgdip.emf" : "advgdip.wmf");
    const String Wide(Path.begin(), Path.end());
    Meta.SaveToFile(Wide);
    TGPImage Img(Wide);
    ASSERT_EQ(Img.GetLastStatus(), Ok) << Enhanced;
    EXPECT_EQ(Img.GetFormat(), Enhanced ? ifEMF : ifWMF);
    EXPECT_EQ(Img.GetWidth(), 20u);
    EXPECT_EQ(Img.GetHeight(), 10u);
    // Drawn twice its size: played into the rectangle.
    TSurface S(60, 30);
    ASSERT_EQ(S.G.DrawImage(&Img, 0.0f, 0.0f, 40.0f, 20.0f), Ok);
    EXPECT_EQ(S.At(30, 10), RGB(255, 0, 0)) << Enhanced;
    EXPECT_EQ(S.At(10, 10), kWhiteRef) << Enhanced;
    // Sharp at the block's edge, as a recording is and stretched pixels are not.
    EXPECT_EQ(S.At(19, 10), kWhiteRef) << Enhanced;
    EXPECT_EQ(S.At(20, 10), RGB(255, 0, 0)) << Enhanced;
    EXPECT_EQ(S.At(45, 10), kWhiteRef) << Enhanced;
    std::remove(Path.c_str());
  }
  FinalizeAdvGDIP();
}
