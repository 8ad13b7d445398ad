#pragma once
// GDI+ wrapper classes: one small class per kind of GDI+ object (graphics, pens, brushes, paths,
// regions, fonts, string formats, images, bitmaps, image attributes, matrices) over the flat
// interface, the colour conversions between the class library's colours and ARGB, and GDI+'s
// start-up and shut-down for the whole program.
//
// No wrapper raises. A creating constructor keeps GDI+'s status (Ok included); every later call
// that fails keeps its status until GetLastStatus reads it, and a call that succeeds leaves an
// earlier failure in place. A wrapper whose creation failed has no native object: its calls fail
// with the status GDI+ gives for none. Wrapper arguments marked optional may be null; all others
// must not. Wrappers returned by operations (Clone, GetBrush, GetImage, ...) belong to the caller.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/gdiplus/GdiPlusFlat.h"
#include "platform/rtl/System.h"
#include "platform/rtl/Types.h"
#include "platform/ui/Graphics.h"

// Starts GDI+ for the program, with the class library's metafile reader for its pictures; only
// the first of several calls does anything.
void InitializeAdvGDIP();
// Shuts GDI+ down again when it matches the first InitializeAdvGDIP.
void FinalizeAdvGDIP();

// ---- enumerations and records, with GDI+'s names, values and order ----
using Status = GpStatus;
using FillMode = GpFillMode;
using Unit_ = GpUnit;
using DashStyle = GpDashStyle;
using WrapMode = GpWrapMode;
using MatrixOrder = GpMatrixOrder;
using FlushIntention = GpFlushIntention;
// HatchStyle, LinearGradientMode, CombineMode, ColorMatrixFlags, ColorChannelFlags,
// TextRenderingHint, StringAlignment, StringTrimming, HotkeyPrefix, RotateFlipType and
// ColorAdjustType are the flat interface's own.

enum TGPImageFormat : uint8_t { ifUndefined, ifMemoryBMP, ifBMP, ifEMF, ifWMF, ifJPEG, ifPNG, ifGIF, ifTIFF, ifEXIF, ifIcon };

using TGPPoint = GpPoint;
using TGPPointF = GpPointF;
using TGPRect = GpRect;
using TGPRectF = GpRectF;
using PGPPoint = TGPPoint*;
using PGPPointF = TGPPointF*;

// ---- colours and values ----
// The colour (system colours resolved) as opaque ARGB.
ARGB ColorToARGB(TColor Color);
ARGB ARGBFromBytes(uint8_t Alpha, uint8_t Red, uint8_t Green, uint8_t Blue);
ARGB RGBToARGB(uint8_t Red, uint8_t Green, uint8_t Blue);
uint8_t ARGBRed(ARGB Color);
uint8_t ARGBGreen(ARGB Color);
uint8_t ARGBBlue(ARGB Color);
TGPPoint NewGPPoint(int32_t X, int32_t Y);
TGPRectF NewGPRectF(float X, float Y, float Width, float Height);

// The last failing status of a wrapper, kept until read.
class TGPStatusField {
 public:
  explicit TGPStatusField(Status Initial = Ok) : FValue(Initial) {}
  // Keeps a failure; Ok leaves the field as it was. Gives the status back.
  Status Set(Status S) {
    if (S != Ok) FValue = S;
    return S;
  }
  // The field, reset to Ok.
  Status Take() {
    const Status S = FValue;
    FValue = Ok;
    return S;
  }
  Status Value() const { return FValue; }

 private:
  Status FValue;
};

struct TGPNative;  // reads the native objects of wrapper arguments

// Base of every wrapper: instances live in memory from GDI+. When GDI+ is not running, the
// allocation starts it once more; when there is still no memory, new gives null.
class TGdiplusBase {
 public:
  virtual ~TGdiplusBase() = default;
  TGdiplusBase(const TGdiplusBase&) = delete;
  TGdiplusBase& operator=(const TGdiplusBase&) = delete;
  static void* operator new(std::size_t Size) noexcept;
  static void operator delete(void* P) noexcept;

 protected:
  TGdiplusBase() = default;
};

class TGPImage;
class TGPBrush;
class TGPGraphicsPath;
class TGPFontCollection;

class TGPMatrix : public TGdiplusBase {
 public:
  TGPMatrix();  // identity
  TGPMatrix(float m11, float m12, float m21, float m22, float dx, float dy);
  // The matrix mapping rect onto the parallelogram of dstplg[0..2] (top-left, top-right,
  // bottom-left).
  TGPMatrix(const TGPRectF& rect, const TGPPointF* dstplg);
  TGPMatrix(const TGPRect& rect, const TGPPoint* dstplg);
  ~TGPMatrix() override;
  // A copy; null when the copy failed or an earlier failure was not read yet.
  std::unique_ptr<TGPMatrix> Clone();
  Status GetElements(float (&m)[6]);
  Status SetElements(float m11, float m12, float m21, float m22, float dx, float dy);
  // The translation; 0 when the elements cannot be read.
  float OffsetX();
  float OffsetY();
  Status Reset();
  Status Multiply(TGPMatrix* matrix, MatrixOrder order = MatrixOrderPrepend);
  Status Translate(float offsetX, float offsetY, MatrixOrder order = MatrixOrderPrepend);
  Status Scale(float scaleX, float scaleY, MatrixOrder order = MatrixOrderPrepend);
  Status Shear(float shearX, float shearY, MatrixOrder order = MatrixOrderPrepend);
  Status Rotate(float angle, MatrixOrder order = MatrixOrderPrepend);
  Status RotateAt(float angle, const TGPPointF& center, MatrixOrder order = MatrixOrderPrepend);
  Status Invert();
  Status TransformPoints(TGPPointF* pts, int32_t count = 1);
  Status TransformPoints(TGPPoint* pts, int32_t count = 1);
  Status TransformVectors(TGPPointF* pts, int32_t count = 1);
  Status TransformVectors(TGPPoint* pts, int32_t count = 1);
  bool IsInvertible();
  bool IsIdentity();
  Status GetLastStatus() { return lastResult.Take(); }

 protected:
  explicit TGPMatrix(GpMatrix* nativeMatrix);  // adopts, status Ok

 private:
  friend struct TGPNative;
  Status SetStatus(Status S) { return lastResult.Set(S); }
  GpMatrix* nativeMatrix = nullptr;
  TGPStatusField lastResult;
};

class TGPStringFormat : public TGdiplusBase {
 public:
  explicit TGPStringFormat(int32_t formatFlags = 0, LANGID language = 0);
  // A copy of format (optional).
  explicit TGPStringFormat(TGPStringFormat* format);
  TGPStringFormat(GpStringFormat* clonedStringFormat, Status status);  // adopts
  ~TGPStringFormat() override;
  Status SetAlignment(StringAlignment align);
  StringAlignment GetAlignment();
  Status SetLineAlignment(StringAlignment align);
  StringAlignment GetLineAlignment();
  Status SetFormatFlags(int32_t flags);
  int32_t GetFormatFlags();
  Status SetTrimming(StringTrimming trimming);
  StringTrimming GetTrimming();
  Status SetHotkeyPrefix(HotkeyPrefix hotkeyPrefix);
  HotkeyPrefix GetHotkeyPrefix();
  Status GetLastStatus() { return lastError.Take(); }

 private:
  friend struct TGPNative;
  Status SetStatus(Status S) { return lastError.Set(S); }
  GpStringFormat* nativeFormat = nullptr;
  TGPStatusField lastError;
};

class TGPPen : public TGdiplusBase {
 public:
  TGPPen(ARGB color, float width = 1.0f);
  TGPPen(TGPBrush* brush, float width = 1.0f);
  ~TGPPen() override;
  // 0 solid, 1 hatch, 2 texture, 3 path gradient, 4 linear gradient; -1 when unknown.
  int32_t GetPenType();
  // A brush wrapper of the pen's kind holding a copy of the pen's brush; null for an unknown kind.
  std::unique_ptr<TGPBrush> GetBrush();
  Status SetBrush(TGPBrush* brush);
  DashStyle GetDashStyle();
  Status SetDashStyle(DashStyle dashStyle);
  Status SetEndCap(int32_t endCap);
  Status GetLastStatus() { return lastResult.Take(); }

 private:
  friend struct TGPNative;
  Status SetStatus(Status S) { return lastResult.Set(S); }
  GpPen* nativePen = nullptr;
  TGPStatusField lastResult;
};

// ---- brushes ----

class TGPBrush : public TGdiplusBase {
 public:
  // No native brush: NotImplemented.
  TGPBrush();
  TGPBrush(GpBrush* nativeBrush, Status status);  // adopts
  ~TGPBrush() override;
  Status GetLastStatus() { return lastResult.Take(); }

 protected:
  friend struct TGPNative;
  Status SetStatus(Status S) { return lastResult.Set(S); }
  GpBrush* nativeBrush = nullptr;
  TGPStatusField lastResult;
};

class TGPSolidBrush : public TGPBrush {
 public:
  using TGPBrush::TGPBrush;
  TGPSolidBrush();  // empty, status Ok
  explicit TGPSolidBrush(ARGB color);
};

class TGPHatchBrush : public TGPBrush {
 public:
  using TGPBrush::TGPBrush;
  TGPHatchBrush();  // empty, status Ok
  TGPHatchBrush(HatchStyle hatchStyle, ARGB foreColor, ARGB backColor);
  HatchStyle GetHatchStyle();
  Status GetForegroundColor(ARGB& color);
  Status GetBackgroundColor(ARGB& color);
};

class TGPImageAttributes;

class TGPTextureBrush : public TGPBrush {
 public:
  using TGPBrush::TGPBrush;
  TGPTextureBrush();  // empty, status Ok
  TGPTextureBrush(TGPImage* image, WrapMode wrapMode);
  TGPTextureBrush(TGPImage* image, WrapMode wrapMode, const TGPRectF& dstRect);
  TGPTextureBrush(TGPImage* image, WrapMode wrapMode, float dstX, float dstY, float dstWidth, float dstHeight);
  TGPTextureBrush(TGPImage* image, WrapMode wrapMode, const TGPRect& dstRect);
  TGPTextureBrush(TGPImage* image, WrapMode wrapMode, int32_t dstX, int32_t dstY, int32_t dstWidth,
                  int32_t dstHeight);
  // imageAttributes optional.
  TGPTextureBrush(TGPImage* image, const TGPRectF& dstRect, TGPImageAttributes* imageAttributes = nullptr);
  TGPTextureBrush(TGPImage* image, const TGPRect& dstRect, TGPImageAttributes* imageAttributes = nullptr);
  Status ResetTransform();
  Status TranslateTransform(float dx, float dy, MatrixOrder order = MatrixOrderPrepend);
  Status ScaleTransform(float sx, float sy, MatrixOrder order = MatrixOrderPrepend);
  Status RotateTransform(float angle, MatrixOrder order = MatrixOrderPrepend);
  Status SetWrapMode(WrapMode wrapMode);
  WrapMode GetWrapMode();
  // A copy of the brush's image.
  std::unique_ptr<TGPImage> GetImage();
};

class TGPLinearGradientBrush : public TGPBrush {
 public:
  using TGPBrush::TGPBrush;
  TGPLinearGradientBrush();  // no native brush: NotImplemented
  TGPLinearGradientBrush(const TGPPointF& point1, const TGPPointF& point2, ARGB color1, ARGB color2);
  TGPLinearGradientBrush(const TGPPoint& point1, const TGPPoint& point2, ARGB color1, ARGB color2);
  TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2, LinearGradientMode mode);
  TGPLinearGradientBrush(const TGPRect& rect, ARGB color1, ARGB color2, LinearGradientMode mode);
  TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2, float angle, bool isAngleScalable);
  TGPLinearGradientBrush(const TGPRect& rect, ARGB color1, ARGB color2, float angle, bool isAngleScalable);
  Status SetGammaCorrection(bool useGammaCorrection);
  // count colours at rising positions from 0 to 1.
  Status SetInterpolationColors(const ARGB* presetColors, const float* blendPositions, int32_t count);
};

class TGPPathGradientBrush : public TGPBrush {
 public:
  using TGPBrush::TGPBrush;
  explicit TGPPathGradientBrush(TGPGraphicsPath* path);
  Status GetCenterColor(ARGB& color);
  Status SetCenterColor(ARGB color);
  int32_t GetPointCount();
  // Reads the surround colours into colors (room for count); count becomes the number read.
  Status GetSurroundColors(ARGB* colors, int32_t& count);
  // Sets count surround colours (at most one per point); count becomes the number set.
  Status SetSurroundColors(const ARGB* colors, int32_t& count);
  Status GetCenterPoint(TGPPointF& point);
  Status GetCenterPoint(TGPPoint& point);
  Status SetCenterPoint(const TGPPointF& point);
  Status SetCenterPoint(const TGPPoint& point);
  Status SetWrapMode(WrapMode wrapMode);
  Status SetGammaCorrection(bool useGammaCorrection);
  // count colours from the boundary (position 0) to the centre (position 1).
  Status SetInterpolationColors(const ARGB* presetColors, const float* blendPositions, int32_t count);
};

// ---- regions, fonts, paths ----

class TGPRegion : public TGdiplusBase {
 public:
  explicit TGPRegion(const TGPRectF& rect);
  explicit TGPRegion(TGPGraphicsPath* path);
  ~TGPRegion() override;
  Status Exclude(TGPGraphicsPath* path);
  Status Union(TGPRegion* region);
  Status GetLastStatus() { return lastResult.Take(); }

 private:
  friend struct TGPNative;
  Status SetStatus(Status S) { return lastResult.Set(S); }
  GpRegion* nativeRegion = nullptr;
  TGPStatusField lastResult;
};

// The installed fonts; it holds no native collection.
class TGPFontCollection : public TGdiplusBase {
 public:
  TGPFontCollection() = default;
  Status GetLastStatus() { return lastResult.Take(); }

 private:
  friend struct TGPNative;
  GpFontCollection* nativeFontCollection = nullptr;
  TGPStatusField lastResult;
};

class TGPFontFamily : public TGdiplusBase {
 public:
  // A family by name: FontFamilyNotFound when there is none of that name.
  explicit TGPFontFamily(const String& name, TGPFontCollection* fontCollection = nullptr);
  TGPFontFamily(GpFontFamily* nativeOrig, Status status);  // adopts
  ~TGPFontFamily() override;
  // The generic families, made on first use and shared: never to be freed by callers.
  static TGPFontFamily* GenericSansSerif();
  static TGPFontFamily* GenericSerif();
  static TGPFontFamily* GenericMonospace();
  Status GetLastStatus() { return lastResult.Take(); }

 private:
  friend struct TGPNative;
  GpFontFamily* nativeFamily = nullptr;
  TGPStatusField lastResult;
};

class TGPFont : public TGdiplusBase {
 public:
  // style: 1 bold, 2 italic, 4 underline, 8 strike-out. family optional.
  TGPFont(TGPFontFamily* family, float emSize, int32_t style = FontStyleRegular, Unit_ unit_ = UnitPoint);
  // By family name; a name that is not there gives the generic sans-serif family.
  TGPFont(const String& familyName, float emSize, TFontStyles style, Unit_ unit_,
          TGPFontCollection* fontCollection = nullptr);
  TGPFont(GpFont* font, Status status);  // adopts
  ~TGPFont() override;
  Status GetLastStatus() { return lastResult.Take(); }

 private:
  friend struct TGPNative;
  GpFont* nativeFont = nullptr;
  TGPStatusField lastResult;
};

class TGPGraphicsPath : public TGdiplusBase {
 public:
  explicit TGPGraphicsPath(FillMode fillMode = FillModeAlternate);
  explicit TGPGraphicsPath(GpPath* nativePath);  // adopts, status Ok
  ~TGPGraphicsPath() override;
  Status Reset();
  Status CloseFigure();
  Status AddLine(float x1, float y1, float x2, float y2);
  Status AddLine(const TGPPointF& pt1, const TGPPointF& pt2);
  Status AddLines(const TGPPoint* points, int32_t count);
  Status AddRectangle(const TGPRectF& rect);
  Status AddRectangle(const TGPRect& rect);
  Status AddArc(float x, float y, float width, float height, float startAngle, float sweepAngle);
  Status AddArc(const TGPRectF& rect, float startAngle, float sweepAngle);
  Status AddEllipse(float x, float y, float width, float height);
  Status AddEllipse(const TGPRectF& rect);
  Status AddPie(float x, float y, float width, float height, float startAngle, float sweepAngle);
  Status AddPie(const TGPRectF& rect, float startAngle, float sweepAngle);
  Status AddPolygon(const TGPPointF* points, int32_t count);
  Status AddPolygon(const TGPPoint* points, int32_t count);
  Status AddCurve(const TGPPointF* points, int32_t count);
  Status AddCurve(const TGPPoint* points, int32_t count);
  Status AddCurve(const TGPPoint* points, int32_t count, float tension);
  Status AddBezier(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4);
  Status AddBezier(const TGPPointF& pt1, const TGPPointF& pt2, const TGPPointF& pt3, const TGPPointF& pt4);
  Status AddBezier(const TGPPoint& pt1, const TGPPoint& pt2, const TGPPoint& pt3, const TGPPoint& pt4);
  // family and format optional.
  Status AddString(const String& string_, int32_t length, TGPFontFamily* family, int32_t style, float emSize,
                   const TGPRectF& layoutRect, TGPStringFormat* format);
  Status GetLastStatus() { return lastResult.Take(); }

 private:
  friend struct TGPNative;
  Status SetStatus(Status S) { return lastResult.Set(S); }
  GpPath* nativePath = nullptr;
  TGPStatusField lastResult;
};

// ---- images ----

class TGPImage : public TGdiplusBase {
 public:
  TGPImage(const String& filename, bool useEmbeddedColorManagement = false);
  // Reads the stream from its position.
  TGPImage(IStream* stream, bool useEmbeddedColorManagement = false);
  TGPImage(GpImage* nativeImage, Status status);  // adopts
  ~TGPImage() override;
  TGPImageFormat GetFormat();
  uint32_t GetWidth();
  uint32_t GetHeight();
  PixelFormat GetPixelFormat();
  uint32_t GetPixelDepth();
  bool HasAlphaChannel();
  bool HasPalette();
  std::unique_ptr<TGPImage> GetThumbnailImage(uint32_t thumbWidth, uint32_t thumbHeight,
                                              GetThumbnailImageAbort callback = nullptr,
                                              void* callbackData = nullptr);
  Status Save(const String& filename, const CLSID& clsidEncoder, const EncoderParameters* encoderParams = nullptr);
  Status Save(IStream* stream, const CLSID& clsidEncoder, const EncoderParameters* encoderParams = nullptr);
  Status SaveAdd(TGPImage* newImage, const EncoderParameters* encoderParams);
  Status RotateFlip(RotateFlipType rotateFlipType);
  Status GetLastStatus() { return lastResult.Take(); }

 protected:
  TGPImage() = default;
  friend struct TGPNative;
  Status SetStatus(Status S) { return lastResult.Set(S); }
  GpImage* nativeImage = nullptr;
  TGPStatusField lastResult;
  Status loadStatus = Ok;  // never set
};

class TGPBitmap : public TGPImage {
 public:
  TGPBitmap(IStream* stream, bool useEmbeddedColorManagement = false);
  // A new bitmap cleared to transparent black (or black when the format has no alpha).
  TGPBitmap(int32_t width, int32_t height, PixelFormat format = PixelFormat32bppARGB);
  explicit TGPBitmap(GpBitmap* nativeBitmap);  // adopts, status Ok
  static std::unique_ptr<TGPBitmap> FromStream(IStream* stream, bool useEmbeddedColorManagement = false);
  // A GDI bitmap of the picture over the background colour; the caller deletes it.
  Status GetHBITMAP(ARGB colorBackground, HBITMAP& hbmReturn);
  Status GetPixel(int32_t x, int32_t y, ARGB& color);
  Status SetPixel(int32_t x, int32_t y, ARGB color);
};

class TGPImageAttributes : public TGdiplusBase {
 public:
  TGPImageAttributes();
  ~TGPImageAttributes() override;
  std::unique_ptr<TGPImageAttributes> Clone();
  Status SetToIdentity(ColorAdjustType type_ = ColorAdjustTypeDefault);
  Status Reset(ColorAdjustType type_ = ColorAdjustTypeDefault);
  Status SetColorMatrix(const ColorMatrix& colorMatrix, ColorMatrixFlags mode = ColorMatrixFlagsDefault,
                        ColorAdjustType type_ = ColorAdjustTypeDefault);
  Status ClearColorMatrix(ColorAdjustType type_ = ColorAdjustTypeDefault);
  Status SetColorMatrices(const ColorMatrix& colorMatrix, const ColorMatrix& grayMatrix,
                          ColorMatrixFlags mode = ColorMatrixFlagsDefault,
                          ColorAdjustType type_ = ColorAdjustTypeDefault);
  Status ClearColorMatrices(ColorAdjustType type_ = ColorAdjustTypeDefault);
  Status SetThreshold(float threshold, ColorAdjustType type_ = ColorAdjustTypeDefault);
  Status ClearThreshold(ColorAdjustType type_ = ColorAdjustTypeDefault);
  Status SetGamma(float gamma, ColorAdjustType type_ = ColorAdjustTypeDefault);
  Status ClearGamma(ColorAdjustType type_ = ColorAdjustTypeDefault);
  Status SetNoOp(ColorAdjustType type_ = ColorAdjustTypeDefault);
  Status ClearNoOp(ColorAdjustType type_ = ColorAdjustTypeDefault);
  Status SetColorKey(ARGB colorLow, ARGB colorHigh, ColorAdjustType type_ = ColorAdjustTypeDefault);
  Status ClearColorKey(ColorAdjustType type_ = ColorAdjustTypeDefault);
  Status SetOutputChannel(ColorChannelFlags channelFlags, ColorAdjustType type_ = ColorAdjustTypeDefault);
  Status ClearOutputChannel(ColorAdjustType type_ = ColorAdjustTypeDefault);
  Status SetOutputChannelColorProfile(const String& colorProfileFilename,
                                      ColorAdjustType type_ = ColorAdjustTypeDefault);
  Status ClearOutputChannelColorProfile(ColorAdjustType type_ = ColorAdjustTypeDefault);
  Status SetRemapTable(uint32_t mapSize, const ColorMap* map, ColorAdjustType type_ = ColorAdjustTypeDefault);
  Status ClearRemapTable(ColorAdjustType type_ = ColorAdjustTypeDefault);
  Status SetBrushRemapTable(uint32_t mapSize, const ColorMap* map);
  Status ClearBrushRemapTable();
  Status SetWrapMode(WrapMode wrap, ARGB color = 0xFF000000, bool clamp = false);
  Status GetAdjustedPalette(ColorPalette* colorPalette, ColorAdjustType colorAdjustType);
  Status GetLastStatus() { return lastResult.Take(); }

 protected:
  TGPImageAttributes(GpImageAttributes* imageAttr, Status status);  // adopts

 private:
  friend struct TGPNative;
  Status SetStatus(Status S) { return lastResult.Set(S); }
  GpImageAttributes* nativeImageAttr = nullptr;
  TGPStatusField lastResult;
};

// ---- the drawing surface ----

class TGPGraphics : public TGdiplusBase {
 public:
  explicit TGPGraphics(HDC hdc);
  // Draws on the image (optional: with none there is no native object and the status is Ok).
  explicit TGPGraphics(TGPImage* image);
  static std::unique_ptr<TGPGraphics> FromImage(TGPImage* image);
  ~TGPGraphics() override;

  // The status is not kept.
  Status Flush(FlushIntention intention = FlushIntentionFlush);
  Status Clear(ARGB color);
  Status SetTransform(TGPMatrix* matrix);
  Status ResetTransform();
  // The device context for GDI drawing; the graphics draws nothing until it is released.
  HDC GetHDC();
  void ReleaseHDC(HDC hdc);
  Status SetCompositingQuality(int32_t compositingQuality);
  int32_t GetCompositingQuality();
  Status SetTextRenderingHint(TextRenderingHint newMode);
  TextRenderingHint GetTextRenderingHint();
  Status SetSmoothingMode(int32_t smoothingMode);
  int32_t GetSmoothingMode();

  // pen and path optional.
  Status DrawPath(TGPPen* pen, TGPGraphicsPath* path);
  Status FillPath(TGPBrush* brush, TGPGraphicsPath* path);
  Status FillRectangle(TGPBrush* brush, const TGPRectF& rect);
  Status FillRectangle(TGPBrush* brush, float x, float y, float width, float height);
  Status DrawRectangle(TGPPen* pen, const TGPRectF& rect);
  Status DrawRectangle(TGPPen* pen, float x, float y, float width, float height);
  Status DrawLine(TGPPen* pen, float x1, float y1, float x2, float y2);
  Status DrawArc(TGPPen* pen, float x, float y, float width, float height, float startAngle, float sweepAngle);
  Status DrawArc(TGPPen* pen, const TGPRectF& rect, float startAngle, float sweepAngle);
  Status DrawEllipse(TGPPen* pen, const TGPRectF& rect);
  Status DrawEllipse(TGPPen* pen, float x, float y, float width, float height);
  Status DrawEllipse(TGPPen* pen, const TGPRect& rect);
  Status DrawEllipse(TGPPen* pen, int32_t x, int32_t y, int32_t width, int32_t height);
  Status FillEllipse(TGPBrush* brush, const TGPRectF& rect);
  Status FillEllipse(TGPBrush* brush, float x, float y, float width, float height);
  Status FillEllipse(TGPBrush* brush, const TGPRect& rect);
  Status FillEllipse(TGPBrush* brush, int32_t x, int32_t y, int32_t width, int32_t height);
  Status FillPolygon(TGPBrush* brush, const TGPPointF* points, int32_t count, FillMode fillMode = FillModeAlternate);
  Status FillPolygon(TGPBrush* brush, const TGPPoint* points, int32_t count, FillMode fillMode = FillModeAlternate);

  // image optional in every DrawImage and DrawImageRect.
  Status DrawImage(TGPImage* image, int32_t x, int32_t y);
  Status DrawImage(TGPImage* image, float x, float y, float width, float height);
  Status DrawImage(TGPImage* image, const TGPRectF& rect);
  // A part of the image into destRect; imageAttributes optional.
  Status DrawImage(TGPImage* image, const TGPRectF& destRect, float srcx, float srcy, float srcwidth,
                   float srcheight, Unit_ srcUnit, TGPImageAttributes* imageAttributes = nullptr,
                   DrawImageAbort callback = nullptr, void* callbackData = nullptr);
  Status DrawImageRect(TGPImage* image, int32_t x, int32_t y, int32_t w, int32_t h);
  // The rectangle rounded to whole pixels (halves to even) first.
  Status DrawImageRect(TGPImage* image, const TGPRectF& ARect);

  Status SetClip(TGPRegion* region, CombineMode combineMode = CombineModeReplace);
  Status SetClip(TGPGraphicsPath* path, CombineMode combineMode = CombineModeReplace);
  Status ExcludeClip(const TGPRectF& rect);
  Status ExcludeClip(TGPRegion* region);
  Status ResetClip();

  // length -1 measures up to the end of the text, as does a length beyond it. font and
  // stringFormat optional; the out values may be null.
  Status MeasureString(const String& string_, int32_t length, TGPFont* font, const TGPRectF& layoutRect,
                       TGPStringFormat* stringFormat, TGPRectF* boundingBox, int32_t* codepointsFitted = nullptr,
                       int32_t* linesFilled = nullptr);
  Status MeasureString(const String& string_, int32_t length, TGPFont* font, const TGPPointF& origin,
                       TGPStringFormat* stringFormat, TGPRectF& boundingBox);
  Status MeasureString(const String& string_, int32_t length, TGPFont* font, const TGPRectF& layoutRect,
                       TGPRectF& boundingBox);
  // The whole text is drawn whatever length says. font, stringFormat and brush optional.
  Status DrawString(const String& string_, int32_t length, TGPFont* font, const TGPRectF& layoutRect,
                    TGPStringFormat* stringFormat, TGPBrush* brush);
  Status DrawString(const WCHAR* string_, int32_t length, TGPFont* font, const TGPRectF& layoutRect,
                    TGPStringFormat* stringFormat, TGPBrush* brush);
  Status DrawString(const String& string_, int32_t length, TGPFont* font, const TGPPointF& origin,
                    TGPStringFormat* stringFormat, TGPBrush* brush);
  Status DrawString(const String& string_, int32_t length, TGPFont* font, const TGPPointF& origin,
                    TGPBrush* brush);

  Status GetLastStatus() { return lastResult.Take(); }

  // The class library's text through GDI+. MakeFont: a GDI+ font like AFont (an unknown name
  // gives "Arial"); made and freed on every call of the others, nothing is cached.
  std::unique_ptr<TGPFont> MakeFont(TFont* AFont);
  // Draws one line at rect's top-left in the font's colour. With style 0x400 it only measures;
  // measuring (0x400 or a background colour other than clNone) sets rect's right and bottom to
  // the text's extent, the trailing blank included, and fills bkColor behind it. Gives the
  // height taken.
  int32_t DrawText(const String& string_, int32_t len, TRect& rect, TFont* font, int32_t style, TColor bkColor);
  int32_t TextWidth(const String& string_, TFont* font);
  int32_t TextHeight(const String& string_, TFont* font);

 private:
  friend struct TGPNative;
  Status SetStatus(Status S) { return lastResult.Set(S); }
  // The text's extent in the layout rectangle at 0, 0 of 10000 by 10000.
  TGPRectF MeasureLine(const String& string_, TFont* font);
  GpGraphics* nativeGraphics = nullptr;
  TGPStatusField lastResult;
};
