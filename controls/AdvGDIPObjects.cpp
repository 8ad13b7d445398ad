// GDI+ wrappers: matrices, string formats, pens and brushes.
#include "controls/AdvGDIP_p.h"

// ---- matrices ----

TGPMatrix::TGPMatrix() { lastResult = TGPStatusField(GdipCreateMatrix(&nativeMatrix)); }

TGPMatrix::TGPMatrix(float m11, float m12, float m21, float m22, float dx, float dy) {
  lastResult = TGPStatusField(GdipCreateMatrix2(m11, m12, m21, m22, dx, dy, &nativeMatrix));
}

TGPMatrix::TGPMatrix(const TGPRectF& rect, const TGPPointF* dstplg) {
  lastResult = TGPStatusField(GdipCreateMatrix3(&rect, dstplg, &nativeMatrix));
}

TGPMatrix::TGPMatrix(const TGPRect& rect, const TGPPoint* dstplg) {
  lastResult = TGPStatusField(GdipCreateMatrix3I(&rect, dstplg, &nativeMatrix));
}

TGPMatrix::TGPMatrix(GpMatrix* nativeMatrix) : nativeMatrix(nativeMatrix) {}

TGPMatrix::~TGPMatrix() { GdipDeleteMatrix(nativeMatrix); }

std::unique_ptr<TGPMatrix> TGPMatrix::Clone() {
  GpMatrix* Copy = nullptr;
  SetStatus(GdipCloneMatrix(nativeMatrix, &Copy));
  if (lastResult.Value() != Ok) {
    GdipDeleteMatrix(Copy);  // a copy made despite an earlier failure is not leaked
    return nullptr;
  }
  std::unique_ptr<TGPMatrix> Result(new TGPMatrix(Copy));
  if (!Result) GdipDeleteMatrix(Copy);
  return Result;
}

Status TGPMatrix::GetElements(float (&m)[6]) { return SetStatus(GdipGetMatrixElements(nativeMatrix, m)); }

Status TGPMatrix::SetElements(float m11, float m12, float m21, float m22, float dx, float dy) {
  return SetStatus(GdipSetMatrixElements(nativeMatrix, m11, m12, m21, m22, dx, dy));
}

float TGPMatrix::OffsetX() {
  float m[6];
  return GetElements(m) == Ok ? m[4] : 0.0f;
}

float TGPMatrix::OffsetY() {
  float m[6];
  return GetElements(m) == Ok ? m[5] : 0.0f;
}

Status TGPMatrix::Reset() { return SetStatus(GdipSetMatrixElements(nativeMatrix, 1, 0, 0, 1, 0, 0)); }

Status TGPMatrix::Multiply(TGPMatrix* matrix, MatrixOrder order) {
  return SetStatus(GdipMultiplyMatrix(nativeMatrix, TGPNative::Of(matrix), order));
}

Status TGPMatrix::Translate(float offsetX, float offsetY, MatrixOrder order) {
  return SetStatus(GdipTranslateMatrix(nativeMatrix, offsetX, offsetY, order));
}

Status TGPMatrix::Scale(float scaleX, float scaleY, MatrixOrder order) {
  return SetStatus(GdipScaleMatrix(nativeMatrix, scaleX, scaleY, order));
}

Status TGPMatrix::Shear(float shearX, float shearY, MatrixOrder order) {
  return SetStatus(GdipShearMatrix(nativeMatrix, shearX, shearY, order));
}

Status TGPMatrix::Rotate(float angle, MatrixOrder order) {
  return SetStatus(GdipRotateMatrix(nativeMatrix, angle, order));
}

Status TGPMatrix::RotateAt(float angle, const TGPPointF& center, MatrixOrder order) {
  // The rotation about the origin, moved to the centre and back, in the order's sense.
  const float Sign = order == MatrixOrderAppend ? 1.0f : -1.0f;
  SetStatus(GdipTranslateMatrix(nativeMatrix, -Sign * center.X, -Sign * center.Y, order));
  SetStatus(GdipRotateMatrix(nativeMatrix, angle, order));
  return SetStatus(GdipTranslateMatrix(nativeMatrix, Sign * center.X, Sign * center.Y, order));
}

Status TGPMatrix::Invert() { return SetStatus(GdipInvertMatrix(nativeMatrix)); }

Status TGPMatrix::TransformPoints(TGPPointF* pts, int32_t count) {
  return SetStatus(GdipTransformMatrixPoints(nativeMatrix, pts, count));
}

Status TGPMatrix::TransformPoints(TGPPoint* pts, int32_t count) {
  return SetStatus(GdipTransformMatrixPointsI(nativeMatrix, pts, count));
}

Status TGPMatrix::TransformVectors(TGPPointF* pts, int32_t count) {
  return SetStatus(GdipVectorTransformMatrixPoints(nativeMatrix, pts, count));
}

Status TGPMatrix::TransformVectors(TGPPoint* pts, int32_t count) {
  return SetStatus(GdipVectorTransformMatrixPointsI(nativeMatrix, pts, count));
}

bool TGPMatrix::IsInvertible() {
  BOOL Result = FALSE;
  SetStatus(GdipIsMatrixInvertible(nativeMatrix, &Result));
  return Result != FALSE;
}

bool TGPMatrix::IsIdentity() {
  BOOL Result = FALSE;
  SetStatus(GdipIsMatrixIdentity(nativeMatrix, &Result));
  return Result != FALSE;
}

// ---- string formats ----

TGPStringFormat::TGPStringFormat(int32_t formatFlags, LANGID language) {
  lastError = TGPStatusField(GdipCreateStringFormat(formatFlags, language, &nativeFormat));
}

TGPStringFormat::TGPStringFormat(TGPStringFormat* format) {
  lastError = TGPStatusField(GdipCloneStringFormat(TGPNative::Of(format), &nativeFormat));
}

TGPStringFormat::TGPStringFormat(GpStringFormat* clonedStringFormat, Status status)
    : nativeFormat(clonedStringFormat), lastError(status) {}

TGPStringFormat::~TGPStringFormat() { GdipDeleteStringFormat(nativeFormat); }

Status TGPStringFormat::SetAlignment(StringAlignment align) {
  return SetStatus(GdipSetStringFormatAlign(nativeFormat, align));
}

StringAlignment TGPStringFormat::GetAlignment() {
  StringAlignment a = StringAlignmentNear;
  SetStatus(GdipGetStringFormatAlign(nativeFormat, &a));
  return a;
}

Status TGPStringFormat::SetLineAlignment(StringAlignment align) {
  return SetStatus(GdipSetStringFormatLineAlign(nativeFormat, align));
}

StringAlignment TGPStringFormat::GetLineAlignment() {
  StringAlignment a = StringAlignmentNear;
  SetStatus(GdipGetStringFormatLineAlign(nativeFormat, &a));
  return a;
}

Status TGPStringFormat::SetFormatFlags(int32_t flags) { return SetStatus(GdipSetStringFormatFlags(nativeFormat, flags)); }

int32_t TGPStringFormat::GetFormatFlags() {
  INT f = 0;
  SetStatus(GdipGetStringFormatFlags(nativeFormat, &f));
  return f;
}

Status TGPStringFormat::SetTrimming(StringTrimming trimming) {
  return SetStatus(GdipSetStringFormatTrimming(nativeFormat, trimming));
}

StringTrimming TGPStringFormat::GetTrimming() {
  StringTrimming t = StringTrimmingNone;
  SetStatus(GdipGetStringFormatTrimming(nativeFormat, &t));
  return t;
}

Status TGPStringFormat::SetHotkeyPrefix(HotkeyPrefix hotkeyPrefix) {
  return SetStatus(GdipSetStringFormatHotkeyPrefix(nativeFormat, hotkeyPrefix));
}

HotkeyPrefix TGPStringFormat::GetHotkeyPrefix() {
  INT h = HotkeyPrefixNone;
  SetStatus(GdipGetStringFormatHotkeyPrefix(nativeFormat, &h));
  return HotkeyPrefix(h);
}

// ---- pens ----

TGPPen::TGPPen(ARGB color, float width) {
  lastResult = TGPStatusField(GdipCreatePen1(color, width, UnitWorld, &nativePen));
}

TGPPen::TGPPen(TGPBrush* brush, float width) {
  lastResult = TGPStatusField(GdipCreatePen2(TGPNative::Of(brush), width, UnitWorld, &nativePen));
}

TGPPen::~TGPPen() { GdipDeletePen(nativePen); }

int32_t TGPPen::GetPenType() {
  GpPenType Type = PenTypeUnknown;
  SetStatus(GdipGetPenFillType(nativePen, &Type));
  return Type;
}

std::unique_ptr<TGPBrush> TGPPen::GetBrush() {
  std::unique_ptr<TGPBrush> Brush;
  switch (GetPenType()) {
    case PenTypeSolidColor: Brush.reset(new TGPSolidBrush()); break;
    case PenTypeHatchFill: Brush.reset(new TGPHatchBrush()); break;
    case PenTypeTextureFill: Brush.reset(new TGPTextureBrush()); break;
    case PenTypePathGradient: Brush.reset(new TGPBrush()); break;
    case PenTypeLinearGradient: Brush.reset(new TGPLinearGradientBrush()); break;
    default: return nullptr;
  }
  if (Brush) SetStatus(GdipGetPenBrushFill(nativePen, TGPNative::BrushSlot(Brush.get())));
  return Brush;
}

Status TGPPen::SetBrush(TGPBrush* brush) { return SetStatus(GdipSetPenBrushFill(nativePen, TGPNative::Of(brush))); }

DashStyle TGPPen::GetDashStyle() {
  DashStyle d = DashStyleSolid;
  SetStatus(GdipGetPenDashStyle(nativePen, &d));
  return d;
}

Status TGPPen::SetDashStyle(DashStyle dashStyle) { return SetStatus(GdipSetPenDashStyle(nativePen, dashStyle)); }

Status TGPPen::SetEndCap(int32_t endCap) { return SetStatus(GdipSetPenEndCap(nativePen, GpLineCap(endCap))); }

// ---- brushes ----

TGPBrush::TGPBrush() { SetStatus(NotImplemented); }

TGPBrush::TGPBrush(GpBrush* nativeBrush, Status status) : nativeBrush(nativeBrush), lastResult(status) {}

TGPBrush::~TGPBrush() { GdipDeleteBrush(nativeBrush); }

namespace {

// Creates a brush of a kind into a wrapper's brush field.
template <typename Kind, typename Create>
Status CreateInto(GpBrush*& Field, Create&& Call) {
  Kind* Native = nullptr;
  const Status S = Call(&Native);
  Field = Native;
  return S;
}

}  // namespace

TGPSolidBrush::TGPSolidBrush() : TGPBrush(nullptr, Ok) {}

TGPSolidBrush::TGPSolidBrush(ARGB color) : TGPBrush(nullptr, Ok) {
  lastResult = TGPStatusField(
      CreateInto<GpSolidFill>(nativeBrush, [&](GpSolidFill** b) { return GdipCreateSolidFill(color, b); }));
}

TGPHatchBrush::TGPHatchBrush() : TGPBrush(nullptr, Ok) {}

TGPHatchBrush::TGPHatchBrush(HatchStyle hatchStyle, ARGB foreColor, ARGB backColor) : TGPBrush(nullptr, Ok) {
  lastResult = TGPStatusField(CreateInto<GpHatch>(
      nativeBrush, [&](GpHatch** b) { return GdipCreateHatchBrush(hatchStyle, foreColor, backColor, b); }));
}

HatchStyle TGPHatchBrush::GetHatchStyle() {
  HatchStyle s = HatchStyleHorizontal;
  SetStatus(GdipGetHatchStyle(As<GpHatch>(nativeBrush), &s));
  return s;
}

Status TGPHatchBrush::GetForegroundColor(ARGB& color) {
  return SetStatus(GdipGetHatchForegroundColor(As<GpHatch>(nativeBrush), &color));
}

Status TGPHatchBrush::GetBackgroundColor(ARGB& color) {
  return SetStatus(GdipGetHatchBackgroundColor(As<GpHatch>(nativeBrush), &color));
}

TGPTextureBrush::TGPTextureBrush() : TGPBrush(nullptr, Ok) {}

TGPTextureBrush::TGPTextureBrush(TGPImage* image, WrapMode wrapMode) : TGPBrush(nullptr, Ok) {
  lastResult = TGPStatusField(CreateInto<GpTexture>(
      nativeBrush, [&](GpTexture** b) { return GdipCreateTexture(TGPNative::Of(image), wrapMode, b); }));
}

TGPTextureBrush::TGPTextureBrush(TGPImage* image, WrapMode wrapMode, const TGPRectF& dstRect)
    : TGPTextureBrush(image, wrapMode, dstRect.X, dstRect.Y, dstRect.Width, dstRect.Height) {}

TGPTextureBrush::TGPTextureBrush(TGPImage* image, WrapMode wrapMode, float dstX, float dstY, float dstWidth,
                                 float dstHeight)
    : TGPBrush(nullptr, Ok) {
  lastResult = TGPStatusField(CreateInto<GpTexture>(nativeBrush, [&](GpTexture** b) {
    return GdipCreateTexture2(TGPNative::Of(image), wrapMode, dstX, dstY, dstWidth, dstHeight, b);
  }));
}

TGPTextureBrush::TGPTextureBrush(TGPImage* image, WrapMode wrapMode, const TGPRect& dstRect)
    : TGPTextureBrush(image, wrapMode, dstRect.X, dstRect.Y, dstRect.Width, dstRect.Height) {}

TGPTextureBrush::TGPTextureBrush(TGPImage* image, WrapMode wrapMode, int32_t dstX, int32_t dstY, int32_t dstWidth,
                                 int32_t dstHeight)
    : TGPBrush(nullptr, Ok) {
  lastResult = TGPStatusField(CreateInto<GpTexture>(nativeBrush, [&](GpTexture** b) {
    return GdipCreateTexture2I(TGPNative::Of(image), wrapMode, dstX, dstY, dstWidth, dstHeight, b);
  }));
}

TGPTextureBrush::TGPTextureBrush(TGPImage* image, const TGPRectF& dstRect, TGPImageAttributes* imageAttributes)
    : TGPBrush(nullptr, Ok) {
  lastResult = TGPStatusField(CreateInto<GpTexture>(nativeBrush, [&](GpTexture** b) {
    return GdipCreateTextureIA(TGPNative::Of(image), TGPNative::Of(imageAttributes), dstRect.X, dstRect.Y,
                               dstRect.Width, dstRect.Height, b);
  }));
}

TGPTextureBrush::TGPTextureBrush(TGPImage* image, const TGPRect& dstRect, TGPImageAttributes* imageAttributes)
    : TGPBrush(nullptr, Ok) {
  lastResult = TGPStatusField(CreateInto<GpTexture>(nativeBrush, [&](GpTexture** b) {
    return GdipCreateTextureIAI(TGPNative::Of(image), TGPNative::Of(imageAttributes), dstRect.X, dstRect.Y,
                                dstRect.Width, dstRect.Height, b);
  }));
}

Status TGPTextureBrush::ResetTransform() { return SetStatus(GdipResetTextureTransform(As<GpTexture>(nativeBrush))); }

Status TGPTextureBrush::TranslateTransform(float dx, float dy, MatrixOrder order) {
  return SetStatus(GdipTranslateTextureTransform(As<GpTexture>(nativeBrush), dx, dy, order));
}

Status TGPTextureBrush::ScaleTransform(float sx, float sy, MatrixOrder order) {
  return SetStatus(GdipScaleTextureTransform(As<GpTexture>(nativeBrush), sx, sy, order));
}

Status TGPTextureBrush::RotateTransform(float angle, MatrixOrder order) {
  return SetStatus(GdipRotateTextureTransform(As<GpTexture>(nativeBrush), angle, order));
}

Status TGPTextureBrush::SetWrapMode(WrapMode wrapMode) {
  return SetStatus(GdipSetTextureWrapMode(As<GpTexture>(nativeBrush), wrapMode));
}

WrapMode TGPTextureBrush::GetWrapMode() {
  WrapMode w = WrapModeTile;
  SetStatus(GdipGetTextureWrapMode(As<GpTexture>(nativeBrush), &w));
  return w;
}

std::unique_ptr<TGPImage> TGPTextureBrush::GetImage() {
  GpImage* Image = nullptr;
  SetStatus(GdipGetTextureImage(As<GpTexture>(nativeBrush), &Image));
  std::unique_ptr<TGPImage> Result(new TGPImage(Image, lastResult.Value()));
  if (!Result) GdipDisposeImage(Image);
  return Result;
}

TGPLinearGradientBrush::TGPLinearGradientBrush() = default;

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPPointF& point1, const TGPPointF& point2, ARGB color1,
                                               ARGB color2)
    : TGPBrush(nullptr, Ok) {
  lastResult = TGPStatusField(CreateInto<GpLineGradient>(nativeBrush, [&](GpLineGradient** b) {
    return GdipCreateLineBrush(&point1, &point2, color1, color2, WrapModeTile, b);
  }));
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPPoint& point1, const TGPPoint& point2, ARGB color1,
                                               ARGB color2)
    : TGPBrush(nullptr, Ok) {
  lastResult = TGPStatusField(CreateInto<GpLineGradient>(nativeBrush, [&](GpLineGradient** b) {
    return GdipCreateLineBrushI(&point1, &point2, color1, color2, WrapModeTile, b);
  }));
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2,
                                               LinearGradientMode mode)
    : TGPBrush(nullptr, Ok) {
  lastResult = TGPStatusField(CreateInto<GpLineGradient>(nativeBrush, [&](GpLineGradient** b) {
    return GdipCreateLineBrushFromRect(&rect, color1, color2, mode, WrapModeTile, b);
  }));
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRect& rect, ARGB color1, ARGB color2, LinearGradientMode mode)
    : TGPBrush(nullptr, Ok) {
  lastResult = TGPStatusField(CreateInto<GpLineGradient>(nativeBrush, [&](GpLineGradient** b) {
    return GdipCreateLineBrushFromRectI(&rect, color1, color2, mode, WrapModeTile, b);
  }));
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2, float angle,
                                               bool isAngleScalable)
    : TGPBrush(nullptr, Ok) {
  lastResult = TGPStatusField(CreateInto<GpLineGradient>(nativeBrush, [&](GpLineGradient** b) {
    return GdipCreateLineBrushFromRectWithAngle(&rect, color1, color2, angle, isAngleScalable, WrapModeTile, b);
  }));
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRect& rect, ARGB color1, ARGB color2, float angle,
                                               bool isAngleScalable)
    : TGPBrush(nullptr, Ok) {
  lastResult = TGPStatusField(CreateInto<GpLineGradient>(nativeBrush, [&](GpLineGradient** b) {
    return GdipCreateLineBrushFromRectWithAngleI(&rect, color1, color2, angle, isAngleScalable, WrapModeTile, b);
  }));
}

Status TGPLinearGradientBrush::SetGammaCorrection(bool useGammaCorrection) {
  return SetStatus(GdipSetLineGammaCorrection(As<GpLineGradient>(nativeBrush), useGammaCorrection));
}

Status TGPLinearGradientBrush::SetInterpolationColors(const ARGB* presetColors, const float* blendPositions,
                                                      int32_t count) {
  if (count <= 0) return SetStatus(InvalidParameter);
  return SetStatus(GdipSetLinePresetBlend(As<GpLineGradient>(nativeBrush), presetColors, blendPositions, count));
}

TGPPathGradientBrush::TGPPathGradientBrush(TGPGraphicsPath* path) : TGPBrush(nullptr, Ok) {
  lastResult = TGPStatusField(CreateInto<GpPathGradient>(
      nativeBrush, [&](GpPathGradient** b) { return GdipCreatePathGradientFromPath(TGPNative::Of(path), b); }));
}

Status TGPPathGradientBrush::GetCenterColor(ARGB& color) {
  return SetStatus(GdipGetPathGradientCenterColor(As<GpPathGradient>(nativeBrush), &color));
}

Status TGPPathGradientBrush::SetCenterColor(ARGB color) {
  return SetStatus(GdipSetPathGradientCenterColor(As<GpPathGradient>(nativeBrush), color));
}

int32_t TGPPathGradientBrush::GetPointCount() {
  INT Count = 0;
  SetStatus(GdipGetPathGradientPointCount(As<GpPathGradient>(nativeBrush), &Count));
  return Count;
}

Status TGPPathGradientBrush::GetSurroundColors(ARGB* colors, int32_t& count) {
  if (!colors) return SetStatus(InvalidParameter);
  INT Count = 0;
  if (const Status S = SetStatus(GdipGetPathGradientSurroundColorCount(As<GpPathGradient>(nativeBrush), &Count));
      S != Ok)
    return S;
  if (count < Count || Count <= 0) return SetStatus(InsufficientBuffer);
  INT Read = Count;
  const Status S = SetStatus(GdipGetPathGradientSurroundColorsWithCount(As<GpPathGradient>(nativeBrush), colors, &Read));
  if (S == Ok) count = Read;
  return S;
}

Status TGPPathGradientBrush::SetSurroundColors(const ARGB* colors, int32_t& count) {
  if (!colors) return SetStatus(InvalidParameter);
  const int32_t Points = GetPointCount();
  if (Points < count || Points <= 0) return SetStatus(InvalidParameter);
  INT Set = count;
  const Status S = SetStatus(GdipSetPathGradientSurroundColorsWithCount(As<GpPathGradient>(nativeBrush), colors, &Set));
  if (S == Ok) count = Set;
  return S;
}

Status TGPPathGradientBrush::GetCenterPoint(TGPPointF& point) {
  return SetStatus(GdipGetPathGradientCenterPoint(As<GpPathGradient>(nativeBrush), &point));
}

Status TGPPathGradientBrush::GetCenterPoint(TGPPoint& point) {
  return SetStatus(GdipGetPathGradientCenterPointI(As<GpPathGradient>(nativeBrush), &point));
}

Status TGPPathGradientBrush::SetCenterPoint(const TGPPointF& point) {
  return SetStatus(GdipSetPathGradientCenterPoint(As<GpPathGradient>(nativeBrush), &point));
}

Status TGPPathGradientBrush::SetCenterPoint(const TGPPoint& point) {
  return SetStatus(GdipSetPathGradientCenterPointI(As<GpPathGradient>(nativeBrush), &point));
}

Status TGPPathGradientBrush::SetWrapMode(WrapMode wrapMode) {
  return SetStatus(GdipSetPathGradientWrapMode(As<GpPathGradient>(nativeBrush), wrapMode));
}

Status TGPPathGradientBrush::SetGammaCorrection(bool useGammaCorrection) {
  return SetStatus(GdipSetPathGradientGammaCorrection(As<GpPathGradient>(nativeBrush), useGammaCorrection));
}

Status TGPPathGradientBrush::SetInterpolationColors(const ARGB* presetColors, const float* blendPositions,
                                                    int32_t count) {
  if (count <= 0 || !presetColors) return SetStatus(InvalidParameter);
  return SetStatus(GdipSetPathGradientPresetBlend(As<GpPathGradient>(nativeBrush), presetColors, blendPositions, count));
}
