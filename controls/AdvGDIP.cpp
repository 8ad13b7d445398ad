// GDI+ start-up, the wrappers' memory, the colour routines and the graphics object.
#include <cstring>

#include "controls/AdvGDIP_p.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Metafile.h"
#include "platform/win/Modules.h"

// ---- start-up and shut-down ----

namespace {

ULONG_PTR gToken = 0;
// Version 1, no debug callback, background thread suppressed, external codecs allowed.
GdiplusStartupInput gInput{1, nullptr, TRUE, FALSE};
GdiplusStartupOutput gOutput;
ULONG_PTR gHookToken = 0;
int gStartCount = 0;

// Before version 6 the program runs GDI+'s notification hook itself.
bool RunsNotificationHook() { return (GetVersion() & 0xFF) < 6; }

}  // namespace

void InitializeAdvGDIP() {
  if (gStartCount++ > 0) return;
  // GDI+ reads metafiles through the class library's reader, which it hands over here.
  RegisterMetafileFormats();
  gOutput = GdiplusStartupOutput();
  GdiplusStartup(&gToken, &gInput, &gOutput);
  if (RunsNotificationHook() && gOutput.NotificationHook) gOutput.NotificationHook(&gHookToken);
}

void FinalizeAdvGDIP() {
  if (gStartCount == 0 || --gStartCount > 0) return;
  if (RunsNotificationHook() && gOutput.NotificationUnhook) gOutput.NotificationUnhook(gHookToken);
  GdiplusShutdown(gToken);
}

void* TGdiplusBase::operator new(std::size_t Size) noexcept {
  void* P = GdipAlloc(Size);
  if (!P) {
    // GDI+ not running (before start-up or after shut-down): start it again.
    GdiplusStartup(&gToken, &gInput, &gOutput);
    P = GdipAlloc(Size);
  }
  if (P) std::memset(P, 0, Size);
  return P;
}

void TGdiplusBase::operator delete(void* P) noexcept { GdipFree(P); }

// ---- colours and values ----

ARGB ColorToARGB(TColor Color) {
  const uint32_t Rgb = static_cast<uint32_t>(ColorToRGB(Color));
  return ARGBFromBytes(255, Rgb & 0xFF, (Rgb >> 8) & 0xFF, (Rgb >> 16) & 0xFF);
}

ARGB ARGBFromBytes(uint8_t Alpha, uint8_t Red, uint8_t Green, uint8_t Blue) {
  return (ARGB(Alpha) << 24) | (ARGB(Red) << 16) | (ARGB(Green) << 8) | ARGB(Blue);
}

ARGB RGBToARGB(uint8_t Red, uint8_t Green, uint8_t Blue) { return ARGBFromBytes(255, Red, Green, Blue); }
uint8_t ARGBRed(ARGB Color) { return (Color >> 16) & 0xFF; }
uint8_t ARGBGreen(ARGB Color) { return (Color >> 8) & 0xFF; }
uint8_t ARGBBlue(ARGB Color) { return Color & 0xFF; }
TGPPoint NewGPPoint(int32_t X, int32_t Y) { return TGPPoint{X, Y}; }
TGPRectF NewGPRectF(float X, float Y, float Width, float Height) { return TGPRectF{X, Y, Width, Height}; }

// ---- graphics ----

TGPGraphics::TGPGraphics(HDC hdc) { lastResult = TGPStatusField(GdipCreateFromHDC(hdc, &nativeGraphics)); }

TGPGraphics::TGPGraphics(TGPImage* image) {
  if (image) lastResult = TGPStatusField(GdipGetImageGraphicsContext(TGPNative::Of(image), &nativeGraphics));
}

std::unique_ptr<TGPGraphics> TGPGraphics::FromImage(TGPImage* image) {
  return std::unique_ptr<TGPGraphics>(new TGPGraphics(image));
}

TGPGraphics::~TGPGraphics() { GdipDeleteGraphics(nativeGraphics); }

Status TGPGraphics::Flush(FlushIntention intention) { return GdipFlush(nativeGraphics, intention); }
Status TGPGraphics::Clear(ARGB color) { return SetStatus(GdipGraphicsClear(nativeGraphics, color)); }

Status TGPGraphics::SetTransform(TGPMatrix* matrix) {
  return SetStatus(GdipSetWorldTransform(nativeGraphics, TGPNative::Of(matrix)));
}

Status TGPGraphics::ResetTransform() { return SetStatus(GdipResetWorldTransform(nativeGraphics)); }

HDC TGPGraphics::GetHDC() {
  HDC hdc = nullptr;
  SetStatus(GdipGetDC(nativeGraphics, &hdc));
  return hdc;
}

void TGPGraphics::ReleaseHDC(HDC hdc) { SetStatus(GdipReleaseDC(nativeGraphics, hdc)); }

Status TGPGraphics::SetCompositingQuality(int32_t compositingQuality) {
  return SetStatus(GdipSetCompositingQuality(nativeGraphics, CompositingQuality(compositingQuality)));
}

int32_t TGPGraphics::GetCompositingQuality() {
  CompositingQuality q = CompositingQualityInvalid;
  SetStatus(GdipGetCompositingQuality(nativeGraphics, &q));
  return q;
}

Status TGPGraphics::SetTextRenderingHint(TextRenderingHint newMode) {
  return SetStatus(GdipSetTextRenderingHint(nativeGraphics, newMode));
}

TextRenderingHint TGPGraphics::GetTextRenderingHint() {
  TextRenderingHint h = TextRenderingHintSystemDefault;
  SetStatus(GdipGetTextRenderingHint(nativeGraphics, &h));
  return h;
}

Status TGPGraphics::SetSmoothingMode(int32_t smoothingMode) {
  return SetStatus(GdipSetSmoothingMode(nativeGraphics, SmoothingMode(smoothingMode)));
}

int32_t TGPGraphics::GetSmoothingMode() {
  SmoothingMode m = SmoothingModeInvalid;
  SetStatus(GdipGetSmoothingMode(nativeGraphics, &m));
  return m;
}

Status TGPGraphics::DrawPath(TGPPen* pen, TGPGraphicsPath* path) {
  return SetStatus(GdipDrawPath(nativeGraphics, TGPNative::Of(pen), TGPNative::Of(path)));
}

Status TGPGraphics::FillPath(TGPBrush* brush, TGPGraphicsPath* path) {
  return SetStatus(GdipFillPath(nativeGraphics, TGPNative::Of(brush), TGPNative::Of(path)));
}

Status TGPGraphics::FillRectangle(TGPBrush* brush, const TGPRectF& rect) {
  return FillRectangle(brush, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::FillRectangle(TGPBrush* brush, float x, float y, float width, float height) {
  return SetStatus(GdipFillRectangle(nativeGraphics, TGPNative::Of(brush), x, y, width, height));
}

Status TGPGraphics::DrawRectangle(TGPPen* pen, const TGPRectF& rect) {
  return DrawRectangle(pen, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::DrawRectangle(TGPPen* pen, float x, float y, float width, float height) {
  return SetStatus(GdipDrawRectangle(nativeGraphics, TGPNative::Of(pen), x, y, width, height));
}

Status TGPGraphics::DrawLine(TGPPen* pen, float x1, float y1, float x2, float y2) {
  return SetStatus(GdipDrawLine(nativeGraphics, TGPNative::Of(pen), x1, y1, x2, y2));
}

Status TGPGraphics::DrawArc(TGPPen* pen, float x, float y, float width, float height, float startAngle,
                            float sweepAngle) {
  return SetStatus(GdipDrawArc(nativeGraphics, TGPNative::Of(pen), x, y, width, height, startAngle, sweepAngle));
}

Status TGPGraphics::DrawArc(TGPPen* pen, const TGPRectF& rect, float startAngle, float sweepAngle) {
  return DrawArc(pen, rect.X, rect.Y, rect.Width, rect.Height, startAngle, sweepAngle);
}

Status TGPGraphics::DrawEllipse(TGPPen* pen, const TGPRectF& rect) {
  return DrawEllipse(pen, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::DrawEllipse(TGPPen* pen, float x, float y, float width, float height) {
  return SetStatus(GdipDrawEllipse(nativeGraphics, TGPNative::Of(pen), x, y, width, height));
}

Status TGPGraphics::DrawEllipse(TGPPen* pen, const TGPRect& rect) {
  return DrawEllipse(pen, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::DrawEllipse(TGPPen* pen, int32_t x, int32_t y, int32_t width, int32_t height) {
  return SetStatus(GdipDrawEllipseI(nativeGraphics, TGPNative::Of(pen), x, y, width, height));
}

Status TGPGraphics::FillEllipse(TGPBrush* brush, const TGPRectF& rect) {
  return FillEllipse(brush, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::FillEllipse(TGPBrush* brush, float x, float y, float width, float height) {
  return SetStatus(GdipFillEllipse(nativeGraphics, TGPNative::Of(brush), x, y, width, height));
}

Status TGPGraphics::FillEllipse(TGPBrush* brush, const TGPRect& rect) {
  return FillEllipse(brush, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::FillEllipse(TGPBrush* brush, int32_t x, int32_t y, int32_t width, int32_t height) {
  return SetStatus(GdipFillEllipseI(nativeGraphics, TGPNative::Of(brush), x, y, width, height));
}

Status TGPGraphics::FillPolygon(TGPBrush* brush, const TGPPointF* points, int32_t count, FillMode fillMode) {
  return SetStatus(GdipFillPolygon(nativeGraphics, TGPNative::Of(brush), points, count, fillMode));
}

Status TGPGraphics::FillPolygon(TGPBrush* brush, const TGPPoint* points, int32_t count, FillMode fillMode) {
  return SetStatus(GdipFillPolygonI(nativeGraphics, TGPNative::Of(brush), points, count, fillMode));
}

Status TGPGraphics::DrawImage(TGPImage* image, int32_t x, int32_t y) {
  return SetStatus(GdipDrawImageI(nativeGraphics, TGPNative::Of(image), x, y));
}

Status TGPGraphics::DrawImage(TGPImage* image, float x, float y, float width, float height) {
  return SetStatus(GdipDrawImageRect(nativeGraphics, TGPNative::Of(image), x, y, width, height));
}

Status TGPGraphics::DrawImage(TGPImage* image, const TGPRectF& rect) {
  return DrawImage(image, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::DrawImage(TGPImage* image, const TGPRectF& destRect, float srcx, float srcy, float srcwidth,
                              float srcheight, Unit_ srcUnit, TGPImageAttributes* imageAttributes,
                              DrawImageAbort callback, void* callbackData) {
  return SetStatus(GdipDrawImageRectRect(nativeGraphics, TGPNative::Of(image), destRect.X, destRect.Y,
                                         destRect.Width, destRect.Height, srcx, srcy, srcwidth, srcheight, srcUnit,
                                         TGPNative::Of(imageAttributes), callback, callbackData));
}

Status TGPGraphics::DrawImageRect(TGPImage* image, int32_t x, int32_t y, int32_t w, int32_t h) {
  return DrawImage(image, float(x), float(y), float(w), float(h));
}

Status TGPGraphics::DrawImageRect(TGPImage* image, const TGPRectF& ARect) {
  return DrawImageRect(image, int32_t(Round(ARect.X)), int32_t(Round(ARect.Y)), int32_t(Round(ARect.Width)),
                       int32_t(Round(ARect.Height)));
}

Status TGPGraphics::SetClip(TGPRegion* region, CombineMode combineMode) {
  return SetStatus(GdipSetClipRegion(nativeGraphics, TGPNative::Of(region), combineMode));
}

Status TGPGraphics::SetClip(TGPGraphicsPath* path, CombineMode combineMode) {
  return SetStatus(GdipSetClipPath(nativeGraphics, TGPNative::Of(path), combineMode));
}

Status TGPGraphics::ExcludeClip(const TGPRectF& rect) {
  return SetStatus(GdipSetClipRect(nativeGraphics, rect.X, rect.Y, rect.Width, rect.Height, CombineModeExclude));
}

Status TGPGraphics::ExcludeClip(TGPRegion* region) {
  return SetStatus(GdipSetClipRegion(nativeGraphics, TGPNative::Of(region), CombineModeExclude));
}

Status TGPGraphics::ResetClip() { return SetStatus(GdipResetClip(nativeGraphics)); }

// ---- text ----

int32_t WithinText(const String& Text, int32_t Length) {
  return Length > int32_t(Text.size()) ? int32_t(Text.size()) : Length;
}

Status TGPGraphics::MeasureString(const String& string_, int32_t length, TGPFont* font, const TGPRectF& layoutRect,
                                  TGPStringFormat* stringFormat, TGPRectF* boundingBox, int32_t* codepointsFitted,
                                  int32_t* linesFilled) {
  return SetStatus(GdipMeasureString(nativeGraphics, string_.c_str(), WithinText(string_, length), TGPNative::Of(font),
                                     &layoutRect, TGPNative::Of(stringFormat), boundingBox, codepointsFitted,
                                     linesFilled));
}

Status TGPGraphics::MeasureString(const String& string_, int32_t length, TGPFont* font, const TGPPointF& origin,
                                  TGPStringFormat* stringFormat, TGPRectF& boundingBox) {
  return MeasureString(string_, length, font, TGPRectF{origin.X, origin.Y, 0, 0}, stringFormat, &boundingBox);
}

Status TGPGraphics::MeasureString(const String& string_, int32_t length, TGPFont* font, const TGPRectF& layoutRect,
                                  TGPRectF& boundingBox) {
  return MeasureString(string_, length, font, layoutRect, nullptr, &boundingBox);
}

Status TGPGraphics::DrawString(const String& string_, int32_t, TGPFont* font, const TGPRectF& layoutRect,
                               TGPStringFormat* stringFormat, TGPBrush* brush) {
  // The whole text, with its own length.
  const String Buffer = string_;
  return SetStatus(GdipDrawString(nativeGraphics, Buffer.c_str(), int32_t(Buffer.size()), TGPNative::Of(font),
                                  &layoutRect, TGPNative::Of(stringFormat), TGPNative::Of(brush)));
}

Status TGPGraphics::DrawString(const WCHAR* string_, int32_t length, TGPFont* font, const TGPRectF& layoutRect,
                               TGPStringFormat* stringFormat, TGPBrush* brush) {
  return DrawString(String(string_ ? string_ : u""), length, font, layoutRect, stringFormat, brush);
}

Status TGPGraphics::DrawString(const String& string_, int32_t length, TGPFont* font, const TGPPointF& origin,
                               TGPStringFormat* stringFormat, TGPBrush* brush) {
  return DrawString(string_, length, font, TGPRectF{origin.X, origin.Y, 0, 0}, stringFormat, brush);
}

Status TGPGraphics::DrawString(const String& string_, int32_t length, TGPFont* font, const TGPPointF& origin,
                               TGPBrush* brush) {
  return DrawString(string_, length, font, origin, nullptr, brush);
}

std::unique_ptr<TGPFont> TGPGraphics::MakeFont(TFont* AFont) {
  std::unique_ptr<TGPFontFamily> Family(new TGPFontFamily(AFont->Name()));
  if (Family && (TGPNative::LastOf(Family.get()) == FontFamilyNotFound ||
                 TGPNative::LastOf(Family.get()) == FontStyleNotFound))
    Family.reset(new TGPFontFamily(u"Arial"));
  int32_t Style = 0;
  if (AFont->Style().Contains(fsBold)) Style += FontStyleBold;
  if (AFont->Style().Contains(fsItalic)) Style += FontStyleItalic;
  if (AFont->Style().Contains(fsUnderline)) Style += FontStyleUnderline;
  return std::unique_ptr<TGPFont>(new TGPFont(Family.get(), float(AFont->Size()), Style, UnitPoint));
}

TGPRectF TGPGraphics::MeasureLine(const String& string_, TFont* font) {
  std::unique_ptr<TGPFont> Font = MakeFont(font);
  TGPRectF Box;
  MeasureString(string_, int32_t(string_.size()), Font.get(), TGPRectF{0, 0, 10000, 10000}, Box);
  return Box;
}

int32_t TGPGraphics::TextWidth(const String& string_, TFont* font) {
  return int32_t(Round(MeasureLine(string_, font).Width));
}

int32_t TGPGraphics::TextHeight(const String& string_, TFont* font) {
  return int32_t(Round(MeasureLine(string_, font).Height));
}

int32_t TGPGraphics::DrawText(const String& string_, int32_t len, TRect& rect, TFont* font, int32_t style,
                              TColor bkColor) {
  constexpr int32_t MeasureOnly = 0x400;
  std::unique_ptr<TGPFont> Font = MakeFont(font);
  if ((style & MeasureOnly) || bkColor != clNone) {
    String Copy = string_;
    // GDI+ leaves a trailing blank out of the measure; an "i" in its place keeps it.
    const int32_t Size = font->Size();
    const double Correction = Size <= 8 ? 2 : 2 + double(Round((Size - 8) / 1.5));
    if (Copy.size() > 1 && Copy.back() == u' ') Copy.back() = u'i';
    TGPRectF Box;
    MeasureString(Copy, len, Font.get(),
                  TGPRectF{float(rect.Left), float(rect.Top), float(rect.Right - rect.Left + 1000),
                           float(rect.Bottom - rect.Top)},
                  Box);
    rect.Right = rect.Left + int32_t(Round(Box.Width - Correction));
    rect.Bottom = rect.Top + int32_t(Round(Box.Height));
    if (bkColor != clNone) {
      TGPSolidBrush Back(ColorToARGB(bkColor));
      FillRectangle(&Back, float(rect.Left + 1), float(rect.Top), float(Box.Width - Correction + 1), Box.Height);
    }
  }
  if (!(style & MeasureOnly)) {
    TGPSolidBrush Ink(ColorToARGB(font->Color()));
    DrawString(string_, len, Font.get(), TGPPointF{float(rect.Left), float(rect.Top)}, &Ink);
  }
  return rect.Bottom - rect.Top;
}
