#pragma once
// The GDI+ flat interface: opaque objects, value records, enumerations with GDI+'s ordinals and
// the functions the wrapper classes call. Every function returns a GpStatus and never throws.

#include <cstddef>
#include <cstdint>

#include "platform/win/Ole.h"
#include "platform/win/Windows.h"

using REAL = float;
using INT = int32_t;
using ARGB = uint32_t;  // alpha 24..31, red 16..23, green 8..15, blue 0..7
using ULONG_PTR = uintptr_t;

// Statuses in GDI+ order.
enum GpStatus : int32_t {
  Ok,
  GenericError,
  InvalidParameter,
  OutOfMemory,
  ObjectBusy,
  InsufficientBuffer,
  NotImplemented,
  Win32Error,
  WrongState,
  Aborted,
  FileNotFound,
  ValueOverflow,
  AccessDenied,
  UnknownImageFormat,
  FontFamilyNotFound,
  FontStyleNotFound,
  NotTrueTypeFont,
  UnsupportedGdiplusVersion,
  GdiplusNotInitialized,
  PropertyNotFound,
  PropertyNotSupported
};

enum GpUnit : int32_t {
  UnitWorld,
  UnitDisplay,
  UnitPixel,
  UnitPoint,
  UnitInch,
  UnitDocument,
  UnitMillimeter
};

enum GpFillMode : int32_t { FillModeAlternate, FillModeWinding };

enum GpMatrixOrder : int32_t { MatrixOrderPrepend, MatrixOrderAppend };

enum GpWrapMode : int32_t { WrapModeTile, WrapModeTileFlipX, WrapModeTileFlipY, WrapModeTileFlipXY, WrapModeClamp };

enum LinearGradientMode : int32_t {
  LinearGradientModeHorizontal,
  LinearGradientModeVertical,
  LinearGradientModeForwardDiagonal,
  LinearGradientModeBackwardDiagonal
};

enum CombineMode : int32_t {
  CombineModeReplace,
  CombineModeIntersect,
  CombineModeUnion,
  CombineModeXor,
  CombineModeExclude,
  CombineModeComplement
};

// Hatch styles: 8 by 8 patterns of the foreground colour over the background colour.
enum HatchStyle : int32_t {
  HatchStyleHorizontal,  // 0
  HatchStyleVertical,  // 1
  HatchStyleForwardDiagonal,  // 2
  HatchStyleBackwardDiagonal,  // 3
  HatchStyleCross,  // 4
  HatchStyleDiagonalCross,  // 5
  HatchStyle05Percent,  // 6
  HatchStyle10Percent,  // 7
  HatchStyle20Percent,  // 8
  HatchStyle25Percent,  // 9
  HatchStyle30Percent,  // 10
  HatchStyle40Percent,  // 11
  HatchStyle50Percent,  // 12
  HatchStyle60Percent,  // 13
  HatchStyle70Percent,  // 14
  HatchStyle75Percent,  // 15
  HatchStyle80Percent,  // 16
  HatchStyle90Percent,  // 17
  HatchStyleLightDownwardDiagonal,  // 18
  HatchStyleLightUpwardDiagonal,  // 19
  HatchStyleDarkDownwardDiagonal,  // 20
  HatchStyleDarkUpwardDiagonal,  // 21
  HatchStyleWideDownwardDiagonal,  // 22
  HatchStyleWideUpwardDiagonal,  // 23
  HatchStyleLightVertical,  // 24
  HatchStyleLightHorizontal,  // 25
  HatchStyleNarrowVertical,  // 26
  HatchStyleNarrowHorizontal,  // 27
  HatchStyleDarkVertical,  // 28
  HatchStyleDarkHorizontal,  // 29
  HatchStyleDashedDownwardDiagonal,  // 30
  HatchStyleDashedUpwardDiagonal,  // 31
  HatchStyleDashedHorizontal,  // 32
  HatchStyleDashedVertical,  // 33
  HatchStyleSmallConfetti,  // 34
  HatchStyleLargeConfetti,  // 35
  HatchStyleZigZag,  // 36
  HatchStyleWave,  // 37
  HatchStyleDiagonalBrick,  // 38
  HatchStyleHorizontalBrick,  // 39
  HatchStyleWeave,  // 40
  HatchStylePlaid,  // 41
  HatchStyleDivot,  // 42
  HatchStyleDottedGrid,  // 43
  HatchStyleDottedDiamond,  // 44
  HatchStyleShingle,  // 45
  HatchStyleTrellis,  // 46
  HatchStyleSphere,  // 47
  HatchStyleSmallGrid,  // 48
  HatchStyleSmallCheckerBoard,  // 49
  HatchStyleLargeCheckerBoard,  // 50
  HatchStyleOutlinedDiamond,  // 51
  HatchStyleSolidDiamond,  // 52
  HatchStyleTotal,
  HatchStyleLargeGrid = HatchStyleCross,
  HatchStyleMin = HatchStyleHorizontal,
  HatchStyleMax = HatchStyleSolidDiamond
};
using GpHatchStyle = HatchStyle;

enum GpDashStyle : int32_t { DashStyleSolid, DashStyleDash, DashStyleDot, DashStyleDashDot, DashStyleDashDotDot, DashStyleCustom };

enum GpLineCap : int32_t {
  LineCapFlat = 0,
  LineCapSquare = 1,
  LineCapRound = 2,
  LineCapTriangle = 3,
  LineCapNoAnchor = 0x10,
  LineCapSquareAnchor = 0x11,
  LineCapRoundAnchor = 0x12,
  LineCapDiamondAnchor = 0x13,
  LineCapArrowAnchor = 0x14,
  LineCapCustom = 0xff,
  LineCapAnchorMask = 0xf0
};

enum GpLineJoin : int32_t { LineJoinMiter, LineJoinBevel, LineJoinRound, LineJoinMiterClipped };

enum GpPenAlignment : int32_t { PenAlignmentCenter, PenAlignmentInset };

enum GpPenType : int32_t {
  PenTypeSolidColor,
  PenTypeHatchFill,
  PenTypeTextureFill,
  PenTypePathGradient,
  PenTypeLinearGradient,
  PenTypeUnknown = -1
};

enum GpBrushType : int32_t {
  BrushTypeSolidColor,
  BrushTypeHatchFill,
  BrushTypeTextureFill,
  BrushTypePathGradient,
  BrushTypeLinearGradient
};

enum SmoothingMode : int32_t {
  SmoothingModeInvalid = -1,
  SmoothingModeDefault,
  SmoothingModeHighSpeed,
  SmoothingModeHighQuality,
  SmoothingModeNone,
  SmoothingModeAntiAlias,
  SmoothingModeAntiAlias8x4 = SmoothingModeAntiAlias,
  SmoothingModeAntiAlias8x8
};

enum CompositingQuality : int32_t {
  CompositingQualityInvalid = -1,
  CompositingQualityDefault,
  CompositingQualityHighSpeed,
  CompositingQualityHighQuality,
  CompositingQualityGammaCorrected,
  CompositingQualityAssumeLinear
};

enum TextRenderingHint : int32_t {
  TextRenderingHintSystemDefault,
  TextRenderingHintSingleBitPerPixelGridFit,
  TextRenderingHintSingleBitPerPixel,
  TextRenderingHintAntiAliasGridFit,
  TextRenderingHintAntiAlias,
  TextRenderingHintClearTypeGridFit
};

enum GpFlushIntention : int32_t { FlushIntentionFlush, FlushIntentionSync };

enum StringAlignment : int32_t { StringAlignmentNear, StringAlignmentCenter, StringAlignmentFar };

enum StringTrimming : int32_t {
  StringTrimmingNone,
  StringTrimmingCharacter,
  StringTrimmingWord,
  StringTrimmingEllipsisCharacter,
  StringTrimmingEllipsisWord,
  StringTrimmingEllipsisPath
};

enum HotkeyPrefix : int32_t { HotkeyPrefixNone, HotkeyPrefixShow, HotkeyPrefixHide };

enum StringFormatFlags : int32_t {
  StringFormatFlagsDirectionRightToLeft = 0x0001,
  StringFormatFlagsDirectionVertical = 0x0002,
  StringFormatFlagsNoFitBlackBox = 0x0004,
  StringFormatFlagsDisplayFormatControl = 0x0020,
  StringFormatFlagsNoFontFallback = 0x0400,
  StringFormatFlagsMeasureTrailingSpaces = 0x0800,
  StringFormatFlagsNoWrap = 0x1000,
  StringFormatFlagsLineLimit = 0x2000,
  StringFormatFlagsNoClip = 0x4000
};

enum FontStyle : int32_t {
  FontStyleRegular = 0,
  FontStyleBold = 1,
  FontStyleItalic = 2,
  FontStyleBoldItalic = 3,
  FontStyleUnderline = 4,
  FontStyleStrikeout = 8
};

using WCHAR = char16_t;

// Image file formats (GdipGetImageRawFormat).
inline constexpr GUID ImageFormatUndefined{0xb96b3ca9, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
inline constexpr GUID ImageFormatMemoryBMP{0xb96b3caa, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
inline constexpr GUID ImageFormatBMP{0xb96b3cab, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
inline constexpr GUID ImageFormatEMF{0xb96b3cac, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
inline constexpr GUID ImageFormatWMF{0xb96b3cad, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
inline constexpr GUID ImageFormatJPEG{0xb96b3cae, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
inline constexpr GUID ImageFormatPNG{0xb96b3caf, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
inline constexpr GUID ImageFormatGIF{0xb96b3cb0, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
inline constexpr GUID ImageFormatTIFF{0xb96b3cb1, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
inline constexpr GUID ImageFormatEXIF{0xb96b3cb2, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
inline constexpr GUID ImageFormatIcon{0xb96b3cb5, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};

// Encoders for GdipSaveImageToFile.
inline constexpr CLSID EncoderBMP{0x557cf400, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
inline constexpr CLSID EncoderJPEG{0x557cf401, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
inline constexpr CLSID EncoderGIF{0x557cf402, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
inline constexpr CLSID EncoderTIFF{0x557cf405, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
inline constexpr CLSID EncoderPNG{0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
inline constexpr GUID EncoderQuality{0x1d5be4b5, 0xfa4a, 0x452d, {0x9c, 0xdd, 0x5d, 0xb3, 0x51, 0x05, 0xe7, 0xeb}};

enum EncoderParameterValueType : int32_t {
  EncoderParameterValueTypeByte = 1,
  EncoderParameterValueTypeASCII = 2,
  EncoderParameterValueTypeShort = 3,
  EncoderParameterValueTypeLong = 4,
  EncoderParameterValueTypeRational = 5,
  EncoderParameterValueTypeLongRange = 6,
  EncoderParameterValueTypeUndefined = 7,
  EncoderParameterValueTypeRationalRange = 8
};

struct EncoderParameter {
  GUID Guid;
  UINT NumberOfValues = 0;
  UINT Type = 0;
  void* Value = nullptr;
};

struct EncoderParameters {
  UINT Count = 0;
  EncoderParameter Parameter[1];
};

enum RotateFlipType : int32_t {
  RotateNoneFlipNone,
  Rotate90FlipNone,
  Rotate180FlipNone,
  Rotate270FlipNone,
  RotateNoneFlipX,
  Rotate90FlipX,
  Rotate180FlipX,
  Rotate270FlipX,
  RotateNoneFlipY = Rotate180FlipX,
  Rotate90FlipY = Rotate270FlipX,
  Rotate180FlipY = RotateNoneFlipX,
  Rotate270FlipY = Rotate90FlipX,
  RotateNoneFlipXY = Rotate180FlipNone,
  Rotate90FlipXY = Rotate270FlipNone,
  Rotate180FlipXY = RotateNoneFlipNone,
  Rotate270FlipXY = Rotate90FlipNone
};

enum ColorAdjustType : int32_t {
  ColorAdjustTypeDefault,
  ColorAdjustTypeBitmap,
  ColorAdjustTypeBrush,
  ColorAdjustTypePen,
  ColorAdjustTypeText,
  ColorAdjustTypeCount,
  ColorAdjustTypeAny
};

enum ColorMatrixFlags : int32_t { ColorMatrixFlagsDefault, ColorMatrixFlagsSkipGrays, ColorMatrixFlagsAltGray };

enum ColorChannelFlags : int32_t {
  ColorChannelFlagsC,
  ColorChannelFlagsM,
  ColorChannelFlagsY,
  ColorChannelFlagsK,
  ColorChannelFlagsLast
};

// Row vectors (r, g, b, a, 1) times the matrix, components 0..1.
struct ColorMatrix {
  REAL m[5][5];
};

struct ColorMap {
  ARGB oldColor, newColor;
};

struct ColorPalette {
  UINT Flags = 0;
  UINT Count = 0;
  ARGB Entries[1];
};

// Pixel formats: index, bits per pixel and flags as GDI+ packs them.
using PixelFormat = INT;
inline constexpr PixelFormat PixelFormat1bppIndexed = 0x00030101;
inline constexpr PixelFormat PixelFormat4bppIndexed = 0x00030402;
inline constexpr PixelFormat PixelFormat8bppIndexed = 0x00030803;
inline constexpr PixelFormat PixelFormat16bppGrayScale = 0x00101004;
inline constexpr PixelFormat PixelFormat16bppRGB555 = 0x00021005;
inline constexpr PixelFormat PixelFormat16bppRGB565 = 0x00021006;
inline constexpr PixelFormat PixelFormat16bppARGB1555 = 0x00061007;
inline constexpr PixelFormat PixelFormat24bppRGB = 0x00021808;
inline constexpr PixelFormat PixelFormat32bppRGB = 0x00022009;
inline constexpr PixelFormat PixelFormat32bppARGB = 0x0026200A;
inline constexpr PixelFormat PixelFormat32bppPARGB = 0x000E200B;
inline constexpr PixelFormat PixelFormat48bppRGB = 0x0010300C;
inline constexpr PixelFormat PixelFormat64bppARGB = 0x0034400D;
inline constexpr PixelFormat PixelFormat64bppPARGB = 0x001C400E;
using LANGID = uint16_t;

// Value records.
struct GpPoint {
  INT X = 0, Y = 0;
};
struct GpPointF {
  REAL X = 0, Y = 0;
};
struct GpRect {
  INT X = 0, Y = 0, Width = 0, Height = 0;
};
struct GpRectF {
  REAL X = 0, Y = 0, Width = 0, Height = 0;
};

// Opaque objects; the brush kinds convert to GpBrush as GDI+'s do.
struct GpGraphics;
struct GpPen;
struct GpMatrix;
struct GpPath;
struct GpRegion;
struct GpFontFamily;
struct GpFontCollection;
struct GpFont;
struct GpStringFormat;
struct GpImage {
  virtual ~GpImage() = default;
};
struct GpBitmap : GpImage {};
struct GpImageAttributes;
struct GpBrush {
  virtual ~GpBrush() = default;
};
struct GpSolidFill : GpBrush {};
struct GpLineGradient : GpBrush {};
struct GpPathGradient : GpBrush {};
struct GpTexture : GpBrush {};
struct GpHatch : GpBrush {};

// Start-up.
using DebugEventProc = void (*)(int32_t level, char* message);
using NotificationHookProc = GpStatus (*)(ULONG_PTR* token);
using NotificationUnhookProc = void (*)(ULONG_PTR token);

struct GdiplusStartupInput {
  UINT GdiplusVersion = 1;
  DebugEventProc DebugEventCallback = nullptr;
  BOOL SuppressBackgroundThread = 0;
  BOOL SuppressExternalCodecs = 0;
};

struct GdiplusStartupOutput {
  NotificationHookProc NotificationHook = nullptr;
  NotificationUnhookProc NotificationUnhook = nullptr;
};

GpStatus GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input, GdiplusStartupOutput* output);
void GdiplusShutdown(ULONG_PTR token);
// Memory for the wrapper objects; nullptr while GDI+ is not running.
void* GdipAlloc(size_t size);
void GdipFree(void* ptr);

// Graphics.
GpStatus GdipCreateFromHDC(HDC hdc, GpGraphics** graphics);
GpStatus GdipDeleteGraphics(GpGraphics* graphics);
GpStatus GdipFlush(GpGraphics* graphics, GpFlushIntention intention);
GpStatus GdipGraphicsClear(GpGraphics* graphics, ARGB color);
// The device context for GDI drawing; the graphics object is busy until it is released.
GpStatus GdipGetDC(GpGraphics* graphics, HDC* hdc);
GpStatus GdipReleaseDC(GpGraphics* graphics, HDC hdc);
GpStatus GdipSetWorldTransform(GpGraphics* graphics, GpMatrix* matrix);
GpStatus GdipResetWorldTransform(GpGraphics* graphics);
GpStatus GdipGetWorldTransform(GpGraphics* graphics, GpMatrix* matrix);
GpStatus GdipSetSmoothingMode(GpGraphics* graphics, SmoothingMode mode);
GpStatus GdipGetSmoothingMode(GpGraphics* graphics, SmoothingMode* mode);
GpStatus GdipSetCompositingQuality(GpGraphics* graphics, CompositingQuality quality);
GpStatus GdipGetCompositingQuality(GpGraphics* graphics, CompositingQuality* quality);
GpStatus GdipSetTextRenderingHint(GpGraphics* graphics, TextRenderingHint hint);
GpStatus GdipGetTextRenderingHint(GpGraphics* graphics, TextRenderingHint* hint);
GpStatus GdipSetPageUnit(GpGraphics* graphics, GpUnit unit);
GpStatus GdipGetPageUnit(GpGraphics* graphics, GpUnit* unit);
GpStatus GdipSetClipRect(GpGraphics* graphics, REAL x, REAL y, REAL width, REAL height, CombineMode mode);
GpStatus GdipSetClipPath(GpGraphics* graphics, GpPath* path, CombineMode mode);
GpStatus GdipSetClipRegion(GpGraphics* graphics, GpRegion* region, CombineMode mode);
GpStatus GdipResetClip(GpGraphics* graphics);

GpStatus GdipDrawLine(GpGraphics* graphics, GpPen* pen, REAL x1, REAL y1, REAL x2, REAL y2);
GpStatus GdipDrawRectangle(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height);
GpStatus GdipFillRectangle(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height);
GpStatus GdipDrawArc(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height, REAL startAngle,
                     REAL sweepAngle);
GpStatus GdipDrawEllipse(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height);
GpStatus GdipDrawEllipseI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height);
GpStatus GdipFillEllipse(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height);
GpStatus GdipFillEllipseI(GpGraphics* graphics, GpBrush* brush, INT x, INT y, INT width, INT height);
GpStatus GdipFillPolygon(GpGraphics* graphics, GpBrush* brush, const GpPointF* points, INT count, GpFillMode fillMode);
GpStatus GdipFillPolygonI(GpGraphics* graphics, GpBrush* brush, const GpPoint* points, INT count, GpFillMode fillMode);
GpStatus GdipDrawPath(GpGraphics* graphics, GpPen* pen, GpPath* path);
GpStatus GdipFillPath(GpGraphics* graphics, GpBrush* brush, GpPath* path);

// Matrices: m11, m12, m21, m22, dx, dy; points are row vectors (x' = x*m11 + y*m21 + dx).
GpStatus GdipCreateMatrix(GpMatrix** matrix);
GpStatus GdipCreateMatrix2(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy, GpMatrix** matrix);
GpStatus GdipCreateMatrix3(const GpRectF* rect, const GpPointF* dstplg, GpMatrix** matrix);
GpStatus GdipCreateMatrix3I(const GpRect* rect, const GpPoint* dstplg, GpMatrix** matrix);
GpStatus GdipCloneMatrix(GpMatrix* matrix, GpMatrix** cloneMatrix);
GpStatus GdipDeleteMatrix(GpMatrix* matrix);
GpStatus GdipSetMatrixElements(GpMatrix* matrix, REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy);
GpStatus GdipGetMatrixElements(const GpMatrix* matrix, REAL* matrixOut);
GpStatus GdipMultiplyMatrix(GpMatrix* matrix, GpMatrix* matrix2, GpMatrixOrder order);
GpStatus GdipTranslateMatrix(GpMatrix* matrix, REAL offsetX, REAL offsetY, GpMatrixOrder order);
GpStatus GdipScaleMatrix(GpMatrix* matrix, REAL scaleX, REAL scaleY, GpMatrixOrder order);
GpStatus GdipRotateMatrix(GpMatrix* matrix, REAL angle, GpMatrixOrder order);
GpStatus GdipShearMatrix(GpMatrix* matrix, REAL shearX, REAL shearY, GpMatrixOrder order);
GpStatus GdipInvertMatrix(GpMatrix* matrix);
GpStatus GdipTransformMatrixPoints(GpMatrix* matrix, GpPointF* pts, INT count);
GpStatus GdipTransformMatrixPointsI(GpMatrix* matrix, GpPoint* pts, INT count);
GpStatus GdipVectorTransformMatrixPoints(GpMatrix* matrix, GpPointF* pts, INT count);
GpStatus GdipVectorTransformMatrixPointsI(GpMatrix* matrix, GpPoint* pts, INT count);
GpStatus GdipIsMatrixInvertible(const GpMatrix* matrix, BOOL* result);
GpStatus GdipIsMatrixIdentity(const GpMatrix* matrix, BOOL* result);

// Pens.
GpStatus GdipCreatePen1(ARGB color, REAL width, GpUnit unit, GpPen** pen);
GpStatus GdipCreatePen2(GpBrush* brush, REAL width, GpUnit unit, GpPen** pen);
GpStatus GdipDeletePen(GpPen* pen);
GpStatus GdipSetPenWidth(GpPen* pen, REAL width);
GpStatus GdipGetPenWidth(GpPen* pen, REAL* width);
GpStatus GdipGetPenFillType(GpPen* pen, GpPenType* type);
GpStatus GdipGetPenBrushFill(GpPen* pen, GpBrush** brush);  // a copy the caller deletes
GpStatus GdipSetPenBrushFill(GpPen* pen, GpBrush* brush);
GpStatus GdipGetPenDashStyle(GpPen* pen, GpDashStyle* dashStyle);
GpStatus GdipSetPenDashStyle(GpPen* pen, GpDashStyle dashStyle);
GpStatus GdipSetPenStartCap(GpPen* pen, GpLineCap startCap);
GpStatus GdipSetPenEndCap(GpPen* pen, GpLineCap endCap);
GpStatus GdipSetPenLineJoin(GpPen* pen, GpLineJoin lineJoin);
GpStatus GdipSetPenMode(GpPen* pen, GpPenAlignment penMode);

// Brushes.
GpStatus GdipDeleteBrush(GpBrush* brush);
GpStatus GdipGetBrushType(GpBrush* brush, GpBrushType* type);
GpStatus GdipCreateSolidFill(ARGB color, GpSolidFill** brush);
GpStatus GdipGetSolidFillColor(GpSolidFill* brush, ARGB* color);
GpStatus GdipCreateLineBrush(const GpPointF* point1, const GpPointF* point2, ARGB color1, ARGB color2,
                             GpWrapMode wrapMode, GpLineGradient** lineGradient);
GpStatus GdipCreateLineBrushI(const GpPoint* point1, const GpPoint* point2, ARGB color1, ARGB color2,
                              GpWrapMode wrapMode, GpLineGradient** lineGradient);
GpStatus GdipCreateLineBrushFromRect(const GpRectF* rect, ARGB color1, ARGB color2, LinearGradientMode mode,
                                     GpWrapMode wrapMode, GpLineGradient** lineGradient);
GpStatus GdipCreateLineBrushFromRectI(const GpRect* rect, ARGB color1, ARGB color2, LinearGradientMode mode,
                                      GpWrapMode wrapMode, GpLineGradient** lineGradient);
GpStatus GdipCreateLineBrushFromRectWithAngle(const GpRectF* rect, ARGB color1, ARGB color2, REAL angle,
                                              BOOL isAngleScalable, GpWrapMode wrapMode,
                                              GpLineGradient** lineGradient);
GpStatus GdipCreateLineBrushFromRectWithAngleI(const GpRect* rect, ARGB color1, ARGB color2, REAL angle,
                                               BOOL isAngleScalable, GpWrapMode wrapMode,
                                               GpLineGradient** lineGradient);
GpStatus GdipSetLineGammaCorrection(GpLineGradient* brush, BOOL useGammaCorrection);
// Colours at positions 0..1 (first 0, last 1, rising).
GpStatus GdipSetLinePresetBlend(GpLineGradient* brush, const ARGB* blend, const REAL* positions, INT count);

// Hatch brushes: the pattern is laid on the device's pixels from the device origin, whatever the
// world transform.
GpStatus GdipCreateHatchBrush(GpHatchStyle hatchstyle, ARGB forecol, ARGB backcol, GpHatch** brush);
GpStatus GdipGetHatchStyle(GpHatch* brush, GpHatchStyle* hatchstyle);
GpStatus GdipGetHatchForegroundColor(GpHatch* brush, ARGB* forecol);
GpStatus GdipGetHatchBackgroundColor(GpHatch* brush, ARGB* backcol);

// Texture brushes: an image (or a part of it, in pixels) tiled from the world origin by the wrap
// mode; Clamp paints the image once.
GpStatus GdipCreateTexture(GpImage* image, GpWrapMode wrapMode, GpTexture** texture);
GpStatus GdipCreateTexture2(GpImage* image, GpWrapMode wrapMode, REAL x, REAL y, REAL width, REAL height,
                            GpTexture** texture);
GpStatus GdipCreateTexture2I(GpImage* image, GpWrapMode wrapMode, INT x, INT y, INT width, INT height,
                             GpTexture** texture);
GpStatus GdipCreateTextureIA(GpImage* image, const GpImageAttributes* imageAttributes, REAL x, REAL y, REAL width,
                             REAL height, GpTexture** texture);
GpStatus GdipCreateTextureIAI(GpImage* image, const GpImageAttributes* imageAttributes, INT x, INT y, INT width,
                              INT height, GpTexture** texture);
GpStatus GdipResetTextureTransform(GpTexture* brush);
GpStatus GdipTranslateTextureTransform(GpTexture* brush, REAL dx, REAL dy, GpMatrixOrder order);
GpStatus GdipScaleTextureTransform(GpTexture* brush, REAL sx, REAL sy, GpMatrixOrder order);
GpStatus GdipRotateTextureTransform(GpTexture* brush, REAL angle, GpMatrixOrder order);
GpStatus GdipSetTextureWrapMode(GpTexture* brush, GpWrapMode wrapMode);
GpStatus GdipGetTextureWrapMode(GpTexture* brush, GpWrapMode* wrapMode);
GpStatus GdipGetTextureImage(GpTexture* brush, GpImage** image);  // a copy the caller disposes

// Path gradients: the centre colour at the centre point blends into the surround colours at the
// path's boundary along each ray from the centre. Surround colours belong to the path's points,
// the last one repeating; both start white, the centre point at the path's centroid.
GpStatus GdipCreatePathGradientFromPath(const GpPath* path, GpPathGradient** brush);
GpStatus GdipGetPathGradientCenterColor(GpPathGradient* brush, ARGB* color);
GpStatus GdipSetPathGradientCenterColor(GpPathGradient* brush, ARGB color);
GpStatus GdipGetPathGradientPointCount(GpPathGradient* brush, INT* count);
GpStatus GdipGetPathGradientSurroundColorCount(GpPathGradient* brush, INT* count);
GpStatus GdipGetPathGradientSurroundColorsWithCount(GpPathGradient* brush, ARGB* colors, INT* count);
GpStatus GdipSetPathGradientSurroundColorsWithCount(GpPathGradient* brush, const ARGB* colors, INT* count);
GpStatus GdipGetPathGradientCenterPoint(GpPathGradient* brush, GpPointF* point);
GpStatus GdipGetPathGradientCenterPointI(GpPathGradient* brush, GpPoint* point);
GpStatus GdipSetPathGradientCenterPoint(GpPathGradient* brush, const GpPointF* point);
GpStatus GdipSetPathGradientCenterPointI(GpPathGradient* brush, const GpPoint* point);
GpStatus GdipSetPathGradientWrapMode(GpPathGradient* brush, GpWrapMode wrapMode);
GpStatus GdipSetPathGradientGammaCorrection(GpPathGradient* brush, BOOL useGammaCorrection);
// Colours from the boundary (position 0) to the centre (position 1).
GpStatus GdipSetPathGradientPresetBlend(GpPathGradient* brush, const ARGB* blend, const REAL* positions, INT count);

// Paths.
GpStatus GdipCreatePath(GpFillMode fillMode, GpPath** path);
GpStatus GdipDeletePath(GpPath* path);
GpStatus GdipResetPath(GpPath* path);
GpStatus GdipGetPointCount(GpPath* path, INT* count);
GpStatus GdipGetPathPoints(GpPath* path, GpPointF* points, INT count);
GpStatus GdipGetPathTypes(GpPath* path, BYTE* types, INT count);
GpStatus GdipGetPathFillMode(GpPath* path, GpFillMode* fillMode);
GpStatus GdipSetPathFillMode(GpPath* path, GpFillMode fillMode);
GpStatus GdipClosePathFigure(GpPath* path);
GpStatus GdipAddPathLine(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2);
GpStatus GdipAddPathLine2I(GpPath* path, const GpPoint* points, INT count);
GpStatus GdipAddPathRectangle(GpPath* path, REAL x, REAL y, REAL width, REAL height);
GpStatus GdipAddPathRectangleI(GpPath* path, INT x, INT y, INT width, INT height);
GpStatus GdipAddPathArc(GpPath* path, REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle);
GpStatus GdipAddPathEllipse(GpPath* path, REAL x, REAL y, REAL width, REAL height);
GpStatus GdipAddPathPie(GpPath* path, REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle);
GpStatus GdipAddPathPolygon(GpPath* path, const GpPointF* points, INT count);
GpStatus GdipAddPathPolygonI(GpPath* path, const GpPoint* points, INT count);
// The outlines of a text laid out as GdipDrawString lays it out, the em size in world units.
GpStatus GdipAddPathString(GpPath* path, const WCHAR* string, INT length, const GpFontFamily* family, INT style,
                           REAL emSize, const GpRectF* layoutRect, const GpStringFormat* format);
GpStatus GdipAddPathBezier(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3, REAL x4, REAL y4);
// Cardinal splines through the points; tension 0 gives straight lines, the default is 0.5.
GpStatus GdipAddPathCurve(GpPath* path, const GpPointF* points, INT count);
GpStatus GdipAddPathCurveI(GpPath* path, const GpPoint* points, INT count);
GpStatus GdipAddPathCurve2(GpPath* path, const GpPointF* points, INT count, REAL tension);
GpStatus GdipAddPathCurve2I(GpPath* path, const GpPoint* points, INT count, REAL tension);

// Regions.
GpStatus GdipCreateRegion(GpRegion** region);  // infinite
GpStatus GdipCreateRegionRect(const GpRectF* rect, GpRegion** region);
GpStatus GdipCreateRegionPath(GpPath* path, GpRegion** region);
GpStatus GdipCombineRegionPath(GpRegion* region, GpPath* path, CombineMode mode);
GpStatus GdipCombineRegionRegion(GpRegion* region, GpRegion* region2, CombineMode mode);
GpStatus GdipDeleteRegion(GpRegion* region);
GpStatus GdipIsVisibleRegionPoint(GpRegion* region, REAL x, REAL y, GpGraphics* graphics, BOOL* result);

// Fonts.
GpStatus GdipCreateFontFamilyFromName(const WCHAR* name, GpFontCollection* fontCollection, GpFontFamily** fontFamily);
GpStatus GdipDeleteFontFamily(GpFontFamily* fontFamily);
GpStatus GdipGetGenericFontFamilySansSerif(GpFontFamily** fontFamily);
GpStatus GdipGetGenericFontFamilySerif(GpFontFamily** fontFamily);
GpStatus GdipGetGenericFontFamilyMonospace(GpFontFamily** fontFamily);
GpStatus GdipCreateFont(const GpFontFamily* fontFamily, REAL emSize, INT style, GpUnit unit, GpFont** font);
GpStatus GdipDeleteFont(GpFont* font);

// String formats.
GpStatus GdipCreateStringFormat(INT formatAttributes, LANGID language, GpStringFormat** format);
GpStatus GdipCloneStringFormat(const GpStringFormat* format, GpStringFormat** newFormat);
GpStatus GdipDeleteStringFormat(GpStringFormat* format);
GpStatus GdipSetStringFormatAlign(GpStringFormat* format, StringAlignment align);
GpStatus GdipGetStringFormatAlign(GpStringFormat* format, StringAlignment* align);
GpStatus GdipSetStringFormatLineAlign(GpStringFormat* format, StringAlignment align);
GpStatus GdipGetStringFormatLineAlign(GpStringFormat* format, StringAlignment* align);
GpStatus GdipSetStringFormatFlags(GpStringFormat* format, INT flags);
GpStatus GdipGetStringFormatFlags(GpStringFormat* format, INT* flags);
GpStatus GdipSetStringFormatTrimming(GpStringFormat* format, StringTrimming trimming);
GpStatus GdipGetStringFormatTrimming(GpStringFormat* format, StringTrimming* trimming);
GpStatus GdipSetStringFormatHotkeyPrefix(GpStringFormat* format, INT hotkeyPrefix);
GpStatus GdipGetStringFormatHotkeyPrefix(GpStringFormat* format, INT* hotkeyPrefix);

// Text. A length of -1 reads up to the terminator. Each line gets a sixth of an em of padding
// at both ends; trailing spaces count only with StringFormatFlagsMeasureTrailingSpaces.
GpStatus GdipMeasureString(GpGraphics* graphics, const WCHAR* string, INT length, const GpFont* font,
                           const GpRectF* layoutRect, const GpStringFormat* stringFormat, GpRectF* boundingBox,
                           INT* codepointsFitted, INT* linesFilled);
GpStatus GdipDrawString(GpGraphics* graphics, const WCHAR* string, INT length, const GpFont* font,
                        const GpRectF* layoutRect, const GpStringFormat* stringFormat, const GpBrush* brush);

// Images and bitmaps.
// BMP, PNG, JPEG, GIF (first frame), TIFF, ICO, and EMF and WMF through the class library's
// metafile reader (played when drawn whole). A missing file is FileNotFound; anything that is
// not a regular file holding a picture of at most 64 megapixels is OutOfMemory.
GpStatus GdipLoadImageFromFile(const WCHAR* filename, GpImage** image);
GpStatus GdipLoadImageFromFileICM(const WCHAR* filename, GpImage** image);
// Pictures read from a stream's position to its end (at most the largest picture file's size).
GpStatus GdipLoadImageFromStream(IStream* stream, GpImage** image);
GpStatus GdipLoadImageFromStreamICM(IStream* stream, GpImage** image);
GpStatus GdipCreateBitmapFromStream(IStream* stream, GpBitmap** bitmap);
GpStatus GdipCreateBitmapFromStreamICM(IStream* stream, GpBitmap** bitmap);
GpStatus GdipDisposeImage(GpImage* image);
using GetThumbnailImageAbort = BOOL (*)(void* data);
using DrawImageAbort = BOOL (*)(void* data);
// The image scaled to the size; 0 by 0 gives 120 by 120.
GpStatus GdipGetImageThumbnail(GpImage* image, UINT thumbWidth, UINT thumbHeight, GpImage** thumbImage,
                               GetThumbnailImageAbort callback, void* callbackData);
// A GDI bitmap of the bitmap composited over the background colour.
GpStatus GdipCreateHBITMAPFromBitmap(GpBitmap* bitmap, HBITMAP* hbmReturn, ARGB background);
GpStatus GdipGetImageRawFormat(GpImage* image, GUID* format);
GpStatus GdipGetImageWidth(GpImage* image, UINT* width);
GpStatus GdipGetImageHeight(GpImage* image, UINT* height);
GpStatus GdipGetImagePixelFormat(GpImage* image, PixelFormat* format);
// scan0 nullptr: a new bitmap cleared to transparent black; otherwise the rows are copied.
GpStatus GdipCreateBitmapFromScan0(INT width, INT height, INT stride, PixelFormat format, BYTE* scan0,
                                   GpBitmap** bitmap);
GpStatus GdipBitmapGetPixel(GpBitmap* bitmap, INT x, INT y, ARGB* color);
GpStatus GdipBitmapSetPixel(GpBitmap* bitmap, INT x, INT y, ARGB color);
// BMP, JPEG (quality 0..100 as an encoder parameter) and PNG; GIF and TIFF are NotImplemented.
GpStatus GdipSaveImageToFile(GpImage* image, const WCHAR* filename, const CLSID* clsidEncoder,
                             const EncoderParameters* encoderParams);
// The encoded image written at the stream's position; a stream that takes less is Win32Error.
GpStatus GdipSaveImageToStream(GpImage* image, IStream* stream, const CLSID* clsidEncoder,
                               const EncoderParameters* encoderParams);
// Multi-frame saving is not supported: NotImplemented.
GpStatus GdipSaveAddImage(GpImage* image, GpImage* newImage, const EncoderParameters* encoderParams);
// Rotates clockwise, then flips.
GpStatus GdipImageRotateFlip(GpImage* image, RotateFlipType rfType);
GpStatus GdipGetImageGraphicsContext(GpImage* image, GpGraphics** graphics);
GpStatus GdipDrawImageI(GpGraphics* graphics, GpImage* image, INT x, INT y);
GpStatus GdipDrawImageRect(GpGraphics* graphics, GpImage* image, REAL x, REAL y, REAL width, REAL height);
// A part of the image (in pixels) into the destination rectangle.
GpStatus GdipDrawImageRectRect(GpGraphics* graphics, GpImage* image, REAL dstx, REAL dsty, REAL dstwidth,
                               REAL dstheight, REAL srcx, REAL srcy, REAL srcwidth, REAL srcheight, GpUnit srcUnit,
                               const GpImageAttributes* imageAttributes, DrawImageAbort callback,
                               void* callbackData);

// Image attributes: colour adjustments applied to images as they are drawn, per adjust type (a
// bitmap uses its own settings when any are set, else the default ones). Per pixel, in order:
// colour keys (to transparent), the remap table, the colour matrix, gamma, threshold.
GpStatus GdipCreateImageAttributes(GpImageAttributes** imageattr);
GpStatus GdipCloneImageAttributes(const GpImageAttributes* imageattr, GpImageAttributes** cloneImageattr);
GpStatus GdipDisposeImageAttributes(GpImageAttributes* imageattr);
GpStatus GdipSetImageAttributesToIdentity(GpImageAttributes* imageattr, ColorAdjustType type);
GpStatus GdipResetImageAttributes(GpImageAttributes* imageattr, ColorAdjustType type);
GpStatus GdipSetImageAttributesColorMatrix(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag,
                                           const ColorMatrix* colorMatrix, const ColorMatrix* grayMatrix,
                                           ColorMatrixFlags flags);
GpStatus GdipSetImageAttributesThreshold(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag,
                                         REAL threshold);
GpStatus GdipSetImageAttributesGamma(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag,
                                     REAL gamma);
GpStatus GdipSetImageAttributesNoOp(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag);
GpStatus GdipSetImageAttributesColorKeys(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag,
                                         ARGB colorLow, ARGB colorHigh);
// CMYK output channels and colour profiles are not supported: NotImplemented.
GpStatus GdipSetImageAttributesOutputChannel(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag,
                                             ColorChannelFlags channelFlags);
GpStatus GdipSetImageAttributesOutputChannelColorProfile(GpImageAttributes* imageattr, ColorAdjustType type,
                                                         BOOL enableFlag, const WCHAR* colorProfileFilename);
GpStatus GdipSetImageAttributesRemapTable(GpImageAttributes* imageattr, ColorAdjustType type, BOOL enableFlag,
                                          UINT mapSize, const ColorMap* map);
GpStatus GdipSetImageAttributesWrapMode(GpImageAttributes* imageAttr, GpWrapMode wrap, ARGB argb, BOOL clamp);
GpStatus GdipGetImageAttributesAdjustedPalette(GpImageAttributes* imageAttr, ColorPalette* colorPalette,
                                               ColorAdjustType colorAdjustType);

// Point types of a path, as GdipGetPathTypes gives them.
enum PathPointType : BYTE {
  PathPointTypeStart = 0,
  PathPointTypeLine = 1,
  PathPointTypeBezier = 3,
  PathPointTypePathTypeMask = 0x07,
  PathPointTypeDashMode = 0x10,
  PathPointTypePathMarker = 0x20,
  PathPointTypeCloseSubpath = 0x80
};
