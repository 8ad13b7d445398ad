// GDI+ wrappers: regions, font families, fonts, paths, images, bitmaps and image attributes.
#include "controls/AdvGDIP_p.h"

// ---- regions ----

TGPRegion::TGPRegion(const TGPRectF& rect) { lastResult = TGPStatusField(GdipCreateRegionRect(&rect, &nativeRegion)); }

TGPRegion::TGPRegion(TGPGraphicsPath* path) {
  lastResult = TGPStatusField(GdipCreateRegionPath(TGPNative::Of(path), &nativeRegion));
}

TGPRegion::~TGPRegion() { GdipDeleteRegion(nativeRegion); }

Status TGPRegion::Exclude(TGPGraphicsPath* path) {
  return SetStatus(GdipCombineRegionPath(nativeRegion, TGPNative::Of(path), CombineModeExclude));
}

Status TGPRegion::Union(TGPRegion* region) {
  return SetStatus(GdipCombineRegionRegion(nativeRegion, TGPNative::Of(region), CombineModeUnion));
}

// ---- font families and fonts ----

TGPFontFamily::TGPFontFamily(const String& name, TGPFontCollection* fontCollection) {
  lastResult = TGPStatusField(GdipCreateFontFamilyFromName(name.c_str(), TGPNative::Of(fontCollection), &nativeFamily));
}

TGPFontFamily::TGPFontFamily(GpFontFamily* nativeOrig, Status status) : nativeFamily(nativeOrig), lastResult(status) {}

TGPFontFamily::~TGPFontFamily() { GdipDeleteFontFamily(nativeFamily); }

namespace {

// A generic family made on first use and kept for the program's life.
TGPFontFamily* Generic(TGPFontFamily*& Cache, GpStatus (*Get)(GpFontFamily**)) {
  if (!Cache) {
    GpFontFamily* Native = nullptr;
    Get(&Native);
    Cache = new TGPFontFamily(Native, Ok);
    if (!Cache) GdipDeleteFontFamily(Native);
  }
  return Cache;
}

TGPFontFamily* GenericSansSerifFontFamily = nullptr;
TGPFontFamily* GenericSerifFontFamily = nullptr;
TGPFontFamily* GenericMonospaceFontFamily = nullptr;

}  // namespace

TGPFontFamily* TGPFontFamily::GenericSansSerif() {
  return Generic(GenericSansSerifFontFamily, GdipGetGenericFontFamilySansSerif);
}

TGPFontFamily* TGPFontFamily::GenericSerif() { return Generic(GenericSerifFontFamily, GdipGetGenericFontFamilySerif); }

TGPFontFamily* TGPFontFamily::GenericMonospace() {
  return Generic(GenericMonospaceFontFamily, GdipGetGenericFontFamilyMonospace);
}

TGPFont::TGPFont(TGPFontFamily* family, float emSize, int32_t style, Unit_ unit_) {
  lastResult = TGPStatusField(GdipCreateFont(TGPNative::Of(family), emSize, style, unit_, &nativeFont));
}

TGPFont::TGPFont(const String& familyName, float emSize, TFontStyles style, Unit_ unit_,
                 TGPFontCollection* fontCollection) {
  const INT Style = INT(style.Bits() & 0x0F);
  std::unique_ptr<TGPFontFamily> Family(new TGPFontFamily(familyName, fontCollection));
  GpStatus S = GdipCreateFont(TGPNative::Of(Family.get()), emSize, Style, unit_, &nativeFont);
  if (S != Ok) S = GdipCreateFont(TGPNative::Of(TGPFontFamily::GenericSansSerif()), emSize, Style, unit_, &nativeFont);
  lastResult = TGPStatusField(S);
}

TGPFont::TGPFont(GpFont* font, Status status) : nativeFont(font), lastResult(status) {}

TGPFont::~TGPFont() { GdipDeleteFont(nativeFont); }

// ---- paths ----

TGPGraphicsPath::TGPGraphicsPath(FillMode fillMode) {
  lastResult = TGPStatusField(GdipCreatePath(fillMode, &nativePath));
}

TGPGraphicsPath::TGPGraphicsPath(GpPath* nativePath) : nativePath(nativePath) {}

TGPGraphicsPath::~TGPGraphicsPath() { GdipDeletePath(nativePath); }

Status TGPGraphicsPath::Reset() { return SetStatus(GdipResetPath(nativePath)); }
Status TGPGraphicsPath::CloseFigure() { return SetStatus(GdipClosePathFigure(nativePath)); }

Status TGPGraphicsPath::AddLine(float x1, float y1, float x2, float y2) {
  return SetStatus(GdipAddPathLine(nativePath, x1, y1, x2, y2));
}

Status TGPGraphicsPath::AddLine(const TGPPointF& pt1, const TGPPointF& pt2) {
  return AddLine(pt1.X, pt1.Y, pt2.X, pt2.Y);
}

Status TGPGraphicsPath::AddLines(const TGPPoint* points, int32_t count) {
  return SetStatus(GdipAddPathLine2I(nativePath, points, count));
}

Status TGPGraphicsPath::AddRectangle(const TGPRectF& rect) {
  return SetStatus(GdipAddPathRectangle(nativePath, rect.X, rect.Y, rect.Width, rect.Height));
}

Status TGPGraphicsPath::AddRectangle(const TGPRect& rect) {
  return SetStatus(GdipAddPathRectangleI(nativePath, rect.X, rect.Y, rect.Width, rect.Height));
}

Status TGPGraphicsPath::AddArc(float x, float y, float width, float height, float startAngle, float sweepAngle) {
  return SetStatus(GdipAddPathArc(nativePath, x, y, width, height, startAngle, sweepAngle));
}

Status TGPGraphicsPath::AddArc(const TGPRectF& rect, float startAngle, float sweepAngle) {
  return AddArc(rect.X, rect.Y, rect.Width, rect.Height, startAngle, sweepAngle);
}

Status TGPGraphicsPath::AddEllipse(float x, float y, float width, float height) {
  return SetStatus(GdipAddPathEllipse(nativePath, x, y, width, height));
}

Status TGPGraphicsPath::AddEllipse(const TGPRectF& rect) { return AddEllipse(rect.X, rect.Y, rect.Width, rect.Height); }

Status TGPGraphicsPath::AddPie(float x, float y, float width, float height, float startAngle, float sweepAngle) {
  return SetStatus(GdipAddPathPie(nativePath, x, y, width, height, startAngle, sweepAngle));
}

Status TGPGraphicsPath::AddPie(const TGPRectF& rect, float startAngle, float sweepAngle) {
  return AddPie(rect.X, rect.Y, rect.Width, rect.Height, startAngle, sweepAngle);
}

Status TGPGraphicsPath::AddPolygon(const TGPPointF* points, int32_t count) {
  return SetStatus(GdipAddPathPolygon(nativePath, points, count));
}

Status TGPGraphicsPath::AddPolygon(const TGPPoint* points, int32_t count) {
  return SetStatus(GdipAddPathPolygonI(nativePath, points, count));
}

Status TGPGraphicsPath::AddCurve(const TGPPointF* points, int32_t count) {
  return SetStatus(GdipAddPathCurve(nativePath, points, count));
}

Status TGPGraphicsPath::AddCurve(const TGPPoint* points, int32_t count) {
  return SetStatus(GdipAddPathCurveI(nativePath, points, count));
}

Status TGPGraphicsPath::AddCurve(const TGPPoint* points, int32_t count, float tension) {
  return SetStatus(GdipAddPathCurve2I(nativePath, points, count, tension));
}

Status TGPGraphicsPath::AddBezier(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4) {
  return SetStatus(GdipAddPathBezier(nativePath, x1, y1, x2, y2, x3, y3, x4, y4));
}

Status TGPGraphicsPath::AddBezier(const TGPPointF& pt1, const TGPPointF& pt2, const TGPPointF& pt3,
                                  const TGPPointF& pt4) {
  return AddBezier(pt1.X, pt1.Y, pt2.X, pt2.Y, pt3.X, pt3.Y, pt4.X, pt4.Y);
}

Status TGPGraphicsPath::AddBezier(const TGPPoint& pt1, const TGPPoint& pt2, const TGPPoint& pt3, const TGPPoint& pt4) {
  return AddBezier(float(pt1.X), float(pt1.Y), float(pt2.X), float(pt2.Y), float(pt3.X), float(pt3.Y), float(pt4.X),
                   float(pt4.Y));
}

Status TGPGraphicsPath::AddString(const String& string_, int32_t length, TGPFontFamily* family, int32_t style,
                                  float emSize, const TGPRectF& layoutRect, TGPStringFormat* format) {
  return SetStatus(GdipAddPathString(nativePath, string_.c_str(), WithinText(string_, length), TGPNative::Of(family),
                                     style, emSize, &layoutRect, TGPNative::Of(format)));
}

// ---- images ----

TGPImage::TGPImage(const String& filename, bool useEmbeddedColorManagement) {
  lastResult = TGPStatusField(useEmbeddedColorManagement ? GdipLoadImageFromFileICM(filename.c_str(), &nativeImage)
                                                         : GdipLoadImageFromFile(filename.c_str(), &nativeImage));
}

TGPImage::TGPImage(IStream* stream, bool useEmbeddedColorManagement) {
  lastResult = TGPStatusField(useEmbeddedColorManagement ? GdipLoadImageFromStreamICM(stream, &nativeImage)
                                                         : GdipLoadImageFromStream(stream, &nativeImage));
}

TGPImage::TGPImage(GpImage* nativeImage, Status status) : nativeImage(nativeImage), lastResult(status) {}

TGPImage::~TGPImage() { GdipDisposeImage(nativeImage); }

TGPImageFormat TGPImage::GetFormat() {
  static const GUID* const Formats[] = {&ImageFormatMemoryBMP, &ImageFormatBMP,  &ImageFormatEMF, &ImageFormatWMF,
                                        &ImageFormatJPEG,      &ImageFormatPNG,  &ImageFormatGIF, &ImageFormatTIFF,
                                        &ImageFormatEXIF,      &ImageFormatIcon};
  GUID Format;
  GdipGetImageRawFormat(nativeImage, &Format);
  for (size_t i = 0; i < std::size(Formats); ++i)
    if (*Formats[i] == Format) return TGPImageFormat(i + 1);
  return ifUndefined;
}

uint32_t TGPImage::GetWidth() {
  UINT Width = 0;
  SetStatus(GdipGetImageWidth(nativeImage, &Width));
  return Width;
}

uint32_t TGPImage::GetHeight() {
  UINT Height = 0;
  SetStatus(GdipGetImageHeight(nativeImage, &Height));
  return Height;
}

PixelFormat TGPImage::GetPixelFormat() {
  PixelFormat Format = 0;
  SetStatus(GdipGetImagePixelFormat(nativeImage, &Format));
  return Format;
}

uint32_t TGPImage::GetPixelDepth() { return (uint32_t(GetPixelFormat()) >> 8) & 0xFF; }
bool TGPImage::HasAlphaChannel() { return (GetPixelFormat() & (1 << 18)) != 0; }
bool TGPImage::HasPalette() { return (GetPixelFormat() & (1 << 16)) != 0; }

std::unique_ptr<TGPImage> TGPImage::GetThumbnailImage(uint32_t thumbWidth, uint32_t thumbHeight,
                                                      GetThumbnailImageAbort callback, void* callbackData) {
  GpImage* Thumb = nullptr;
  SetStatus(GdipGetImageThumbnail(nativeImage, thumbWidth, thumbHeight, &Thumb, callback, callbackData));
  std::unique_ptr<TGPImage> Result(new TGPImage(Thumb, lastResult.Value()));
  if (!Result) GdipDisposeImage(Thumb);
  return Result;
}

Status TGPImage::Save(const String& filename, const CLSID& clsidEncoder, const EncoderParameters* encoderParams) {
  return SetStatus(GdipSaveImageToFile(nativeImage, filename.c_str(), &clsidEncoder, encoderParams));
}

Status TGPImage::Save(IStream* stream, const CLSID& clsidEncoder, const EncoderParameters* encoderParams) {
  return SetStatus(GdipSaveImageToStream(nativeImage, stream, &clsidEncoder, encoderParams));
}

Status TGPImage::SaveAdd(TGPImage* newImage, const EncoderParameters* encoderParams) {
  if (!newImage) return SetStatus(InvalidParameter);
  return SetStatus(GdipSaveAddImage(nativeImage, TGPNative::Of(newImage), encoderParams));
}

Status TGPImage::RotateFlip(RotateFlipType rotateFlipType) {
  return SetStatus(GdipImageRotateFlip(nativeImage, rotateFlipType));
}

// ---- bitmaps ----

namespace {

// Creates a bitmap into an image wrapper's field.
template <typename Create>
Status BitmapInto(GpImage*& Field, Create&& Call) {
  GpBitmap* Native = nullptr;
  const Status S = Call(&Native);
  Field = Native;
  return S;
}

}  // namespace

TGPBitmap::TGPBitmap(IStream* stream, bool useEmbeddedColorManagement) {
  lastResult = TGPStatusField(BitmapInto(nativeImage, [&](GpBitmap** b) {
    return useEmbeddedColorManagement ? GdipCreateBitmapFromStreamICM(stream, b) : GdipCreateBitmapFromStream(stream, b);
  }));
}

TGPBitmap::TGPBitmap(int32_t width, int32_t height, PixelFormat format) {
  lastResult = TGPStatusField(BitmapInto(
      nativeImage, [&](GpBitmap** b) { return GdipCreateBitmapFromScan0(width, height, 0, format, nullptr, b); }));
}

TGPBitmap::TGPBitmap(GpBitmap* nativeBitmap) { nativeImage = nativeBitmap; }

std::unique_ptr<TGPBitmap> TGPBitmap::FromStream(IStream* stream, bool useEmbeddedColorManagement) {
  return std::unique_ptr<TGPBitmap>(new TGPBitmap(stream, useEmbeddedColorManagement));
}

Status TGPBitmap::GetHBITMAP(ARGB colorBackground, HBITMAP& hbmReturn) {
  return SetStatus(GdipCreateHBITMAPFromBitmap(As<GpBitmap>(nativeImage), &hbmReturn, colorBackground));
}

Status TGPBitmap::GetPixel(int32_t x, int32_t y, ARGB& color) {
  return SetStatus(GdipBitmapGetPixel(As<GpBitmap>(nativeImage), x, y, &color));
}

Status TGPBitmap::SetPixel(int32_t x, int32_t y, ARGB color) {
  return SetStatus(GdipBitmapSetPixel(As<GpBitmap>(nativeImage), x, y, color));
}

// ---- image attributes ----

TGPImageAttributes::TGPImageAttributes() {
  lastResult = TGPStatusField(GdipCreateImageAttributes(&nativeImageAttr));
}

TGPImageAttributes::TGPImageAttributes(GpImageAttributes* imageAttr, Status status)
    : nativeImageAttr(imageAttr), lastResult(status) {}

TGPImageAttributes::~TGPImageAttributes() { GdipDisposeImageAttributes(nativeImageAttr); }

std::unique_ptr<TGPImageAttributes> TGPImageAttributes::Clone() {
  GpImageAttributes* Copy = nullptr;
  SetStatus(GdipCloneImageAttributes(nativeImageAttr, &Copy));
  std::unique_ptr<TGPImageAttributes> Result(new TGPImageAttributes(Copy, lastResult.Value()));
  if (!Result) GdipDisposeImageAttributes(Copy);
  return Result;
}

Status TGPImageAttributes::SetToIdentity(ColorAdjustType type_) {
  return SetStatus(GdipSetImageAttributesToIdentity(nativeImageAttr, type_));
}

Status TGPImageAttributes::Reset(ColorAdjustType type_) {
  return SetStatus(GdipResetImageAttributes(nativeImageAttr, type_));
}

Status TGPImageAttributes::SetColorMatrix(const ColorMatrix& colorMatrix, ColorMatrixFlags mode,
                                          ColorAdjustType type_) {
  return SetStatus(GdipSetImageAttributesColorMatrix(nativeImageAttr, type_, TRUE, &colorMatrix, nullptr, mode));
}

Status TGPImageAttributes::ClearColorMatrix(ColorAdjustType type_) {
  return SetStatus(
      GdipSetImageAttributesColorMatrix(nativeImageAttr, type_, FALSE, nullptr, nullptr, ColorMatrixFlagsDefault));
}

Status TGPImageAttributes::SetColorMatrices(const ColorMatrix& colorMatrix, const ColorMatrix& grayMatrix,
                                            ColorMatrixFlags mode, ColorAdjustType type_) {
  return SetStatus(GdipSetImageAttributesColorMatrix(nativeImageAttr, type_, TRUE, &colorMatrix, &grayMatrix, mode));
}

Status TGPImageAttributes::ClearColorMatrices(ColorAdjustType type_) { return ClearColorMatrix(type_); }

Status TGPImageAttributes::SetThreshold(float threshold, ColorAdjustType type_) {
  return SetStatus(GdipSetImageAttributesThreshold(nativeImageAttr, type_, TRUE, threshold));
}

Status TGPImageAttributes::ClearThreshold(ColorAdjustType type_) {
  return SetStatus(GdipSetImageAttributesThreshold(nativeImageAttr, type_, FALSE, 0.0f));
}

Status TGPImageAttributes::SetGamma(float gamma, ColorAdjustType type_) {
  return SetStatus(GdipSetImageAttributesGamma(nativeImageAttr, type_, TRUE, gamma));
}

Status TGPImageAttributes::ClearGamma(ColorAdjustType type_) {
  return SetStatus(GdipSetImageAttributesGamma(nativeImageAttr, type_, FALSE, 0.0f));
}

Status TGPImageAttributes::SetNoOp(ColorAdjustType type_) {
  return SetStatus(GdipSetImageAttributesNoOp(nativeImageAttr, type_, TRUE));
}

Status TGPImageAttributes::ClearNoOp(ColorAdjustType type_) {
  return SetStatus(GdipSetImageAttributesNoOp(nativeImageAttr, type_, FALSE));
}

Status TGPImageAttributes::SetColorKey(ARGB colorLow, ARGB colorHigh, ColorAdjustType type_) {
  return SetStatus(GdipSetImageAttributesColorKeys(nativeImageAttr, type_, TRUE, colorLow, colorHigh));
}

Status TGPImageAttributes::ClearColorKey(ColorAdjustType type_) {
  return SetStatus(GdipSetImageAttributesColorKeys(nativeImageAttr, type_, FALSE, 0, 0));
}

Status TGPImageAttributes::SetOutputChannel(ColorChannelFlags channelFlags, ColorAdjustType type_) {
  return SetStatus(GdipSetImageAttributesOutputChannel(nativeImageAttr, type_, TRUE, channelFlags));
}

Status TGPImageAttributes::ClearOutputChannel(ColorAdjustType type_) {
  return SetStatus(GdipSetImageAttributesOutputChannel(nativeImageAttr, type_, FALSE, ColorChannelFlagsC));
}

Status TGPImageAttributes::SetOutputChannelColorProfile(const String& colorProfileFilename, ColorAdjustType type_) {
  return SetStatus(
      GdipSetImageAttributesOutputChannelColorProfile(nativeImageAttr, type_, TRUE, colorProfileFilename.c_str()));
}

Status TGPImageAttributes::ClearOutputChannelColorProfile(ColorAdjustType type_) {
  return SetStatus(GdipSetImageAttributesOutputChannelColorProfile(nativeImageAttr, type_, FALSE, nullptr));
}

Status TGPImageAttributes::SetRemapTable(uint32_t mapSize, const ColorMap* map, ColorAdjustType type_) {
  return SetStatus(GdipSetImageAttributesRemapTable(nativeImageAttr, type_, TRUE, mapSize, map));
}

Status TGPImageAttributes::ClearRemapTable(ColorAdjustType type_) {
  return SetStatus(GdipSetImageAttributesRemapTable(nativeImageAttr, type_, FALSE, 0, nullptr));
}

Status TGPImageAttributes::SetBrushRemapTable(uint32_t mapSize, const ColorMap* map) {
  return SetRemapTable(mapSize, map, ColorAdjustTypeBrush);
}

Status TGPImageAttributes::ClearBrushRemapTable() { return ClearRemapTable(ColorAdjustTypeBrush); }

Status TGPImageAttributes::SetWrapMode(WrapMode wrap, ARGB color, bool clamp) {
  return SetStatus(GdipSetImageAttributesWrapMode(nativeImageAttr, wrap, color, clamp));
}

Status TGPImageAttributes::GetAdjustedPalette(ColorPalette* colorPalette, ColorAdjustType colorAdjustType) {
  return SetStatus(GdipGetImageAttributesAdjustedPalette(nativeImageAttr, colorPalette, colorAdjustType));
}
