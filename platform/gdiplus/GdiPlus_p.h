#pragma once
// Private to platform/gdiplus: what the GDI+ objects are over Qt.

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QTransform>
#include <functional>
#include <memory>
#include <vector>

class QPainter;

#include "platform/gdiplus/GdiPlusFlat.h"

struct GpMatrix {
  QTransform m;
};

// What every brush kind can do.
struct TBrushData {
  virtual ~TBrushData() = default;
  virtual GpBrushType Type() const = 0;
  virtual GpBrush* Clone() const = 0;
  // The Qt brush in world coordinates.
  virtual QBrush ToQBrush() const = 0;
  // Limits a fill to where the brush paints (world coordinates); false when it paints everywhere.
  virtual bool Limit(QPainterPath&) const { return false; }
  // Laid on the device's pixels from the device origin instead of in world coordinates.
  virtual bool DeviceAligned() const { return false; }
  // Fills an area (world coordinates) on a painter set up for the graphics by itself; false
  // when the area is to be filled with ToQBrush().
  virtual bool FillArea(QPainter&, const QPainterPath&) const { return false; }
  // The Qt brush for drawing with a painter whose transform is set up for the graphics.
  QBrush ForPainter(const QPainter& p) const;
};

struct TSolidFill final : GpSolidFill, TBrushData {
  ARGB color = 0;
  GpBrushType Type() const override { return BrushTypeSolidColor; }
  GpBrush* Clone() const override { return new TSolidFill(*this); }
  QBrush ToQBrush() const override;
};

struct TLineGradient final : GpLineGradient, TBrushData {
  // The gradient runs from start to end in its own space, which brushTransform maps to world
  // coordinates (a unit square onto the rectangle for the rectangle forms).
  QPointF start, end;
  QTransform brushTransform;
  std::vector<std::pair<REAL, ARGB>> stops;
  GpWrapMode wrap = WrapModeTile;
  bool gamma = false;
  GpBrushType Type() const override { return BrushTypeLinearGradient; }
  GpBrush* Clone() const override { return new TLineGradient(*this); }
  QBrush ToQBrush() const override;
};

struct TPathGradient final : GpPathGradient, TBrushData {
  QPolygonF boundary;         // the path flattened
  std::vector<ARGB> surround;  // one per path point at most
  INT pointCount = 0;
  ARGB center = 0xFFFFFFFF;
  QPointF centerPoint;
  std::vector<std::pair<REAL, ARGB>> preset;  // empty: centre to surround colours
  GpWrapMode wrap = WrapModeClamp;
  bool gamma = false;
  GpBrushType Type() const override { return BrushTypePathGradient; }
  GpBrush* Clone() const override { return new TPathGradient(*this); }
  // Rendered per pixel over the boundary's bounds as an image brush.
  QBrush ToQBrush() const override;
  // Renders only the pixels the area covers, within the boundary's bounds.
  bool FillArea(QPainter& p, const QPainterPath& area) const override;

private:
  // Colours the pixels of img, pixel (x, y) sampling the world point origin + (x, y). With
  // coverage, each pixel's alpha is the area's coverage there, which scales its colour.
  void Shade(QImage& img, QPointF origin, bool coverage) const;
};

struct TTexture final : GpTexture, TBrushData {
  QImage image;
  GpWrapMode wrap = WrapModeTile;
  QTransform transform;
  GpBrushType Type() const override { return BrushTypeTextureFill; }
  GpBrush* Clone() const override { return new TTexture(*this); }
  QBrush ToQBrush() const override;
  bool Limit(QPainterPath& area) const override;
};

struct THatch final : GpHatch, TBrushData {
  HatchStyle style = HatchStyleHorizontal;
  ARGB fore = 0, back = 0;
  QImage tile;  // the 8 by 8 pattern in its colours
  GpBrushType Type() const override { return BrushTypeHatchFill; }
  GpBrush* Clone() const override { return new THatch(*this); }
  QBrush ToQBrush() const override { return QBrush(tile); }
  bool DeviceAligned() const override { return true; }
};

// Colour adjustments of one adjust type.
struct TColorAdjust {
  bool set = false;   // any setting made for this type
  bool noOp = false;  // adjustments switched off
  bool matrix = false;
  ColorMatrix colorMatrix{};
  ColorMatrixFlags matrixFlags = ColorMatrixFlagsDefault;
  bool threshold = false;
  REAL thresholdValue = 0;
  bool gamma = false;
  REAL gammaValue = 1;
  bool keys = false;
  ARGB keyLow = 0, keyHigh = 0;
  std::vector<ColorMap> remap;
  // One pixel (ARGB) adjusted.
  ARGB Apply(ARGB c) const;
};

struct GpImageAttributes {
  TColorAdjust adjust[ColorAdjustTypeCount];
  GpWrapMode wrap = WrapModeClamp;
  ARGB wrapColor = 0;
  // The settings images use.
  const TColorAdjust& ForBitmaps() const {
    return adjust[ColorAdjustTypeBitmap].set ? adjust[ColorAdjustTypeBitmap] : adjust[ColorAdjustTypeDefault];
  }
};

// The brush behind a handle (nullptr for none).
inline const TBrushData* BrushData(const GpBrush* brush) { return dynamic_cast<const TBrushData*>(brush); }

struct GpPen {
  std::unique_ptr<GpBrush> brush;
  REAL width = 1;
  GpUnit unit = UnitWorld;
  GpDashStyle dash = DashStyleSolid;
  GpLineCap startCap = LineCapFlat;
  GpLineCap endCap = LineCapFlat;
  GpLineJoin join = LineJoinMiter;
  GpPenAlignment alignment = PenAlignmentCenter;
  QPen ToQPen(const QPainter& p) const;
};

// A path as GDI+ keeps it: points with their types.
struct GpPath {
  GpFillMode fillMode = FillModeAlternate;
  std::vector<GpPointF> points;
  std::vector<BYTE> types;
  bool newFigure = true;  // the next point starts a figure
  QPainterPath ToQPath() const;
  // Appends a Qt path's figures, each closed.
  void AppendClosed(const QPainterPath& q);
};

struct GpGraphics {
  HDC dc = nullptr;
  QTransform world;
  GpUnit pageUnit = UnitDisplay;
  SmoothingMode smoothing = SmoothingModeNone;
  CompositingQuality compositing = CompositingQualityDefault;
  TextRenderingHint textHint = TextRenderingHintSystemDefault;
  bool hasClip = false;
  QPainterPath clip;  // in the device context's logical coordinates
  bool dcOut = false;  // GdipGetDC handed the DC out
  bool ownsDC = false;  // a graphics over an image made its own DC
};

class TOleMetafile;

// An image: its pixels, its file format and its pixel format; a metafile also keeps its
// recording, played when the whole picture is drawn.
struct TGpImage final : GpBitmap {
  QImage image;
  std::shared_ptr<const TOleMetafile> metafile;
  GUID rawFormat = ImageFormatMemoryBMP;
  PixelFormat pixelFormat = PixelFormat32bppARGB;
};

// Runs a drawing step on the device context's painter with the graphics state applied (world
// transform, page unit, clip, smoothing), then restores the DC's own; ObjectBusy while the DC is out.
GpStatus Paint(GpGraphics* g, const std::function<void(QPainter&)>& draw);

// A region: an area in world coordinates.
struct GpRegion {
  QPainterPath area;
};

// Reads a preset blend (positions rising from 0 to 1); false when it is not one.
bool ReadBlend(const ARGB* blend, const REAL* positions, INT count, std::vector<std::pair<REAL, ARGB>>& stops);

// The area of an infinite region.
QPainterPath InfiniteArea();
// Combines shape into area by a combine mode; false for an unknown mode.
bool CombineArea(QPainterPath& area, const QPainterPath& shape, CombineMode mode);

QColor ToQColor(ARGB argb);
// One unit in device pixels at 96 dots per inch (world, display and pixel: 1).
double UnitScale(GpUnit unit);
