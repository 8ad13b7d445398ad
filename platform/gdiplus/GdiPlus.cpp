// Start-up, memory and the graphics object: drawing on a device context's painter with GDI+'s
// rules (float coordinates, pixel centres on whole coordinates, antialiasing by smoothing mode).
#include <QPainter>
#include <cmath>
#include <cstdlib>

#include "platform/gdiplus/GdiPlus_p.h"
#include "platform/win/Gdi_p.h"

// ---- start-up ----

namespace {

int gStartups = 0;  // GdiplusStartup calls not yet shut down

GpStatus NotificationHook(ULONG_PTR* token) {
  if (!token) return InvalidParameter;
  *token = 1;
  return Ok;
}

void NotificationUnhook(ULONG_PTR) {}

}  // namespace

GpStatus GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input, GdiplusStartupOutput* output) {
  if (!token || !input) return InvalidParameter;
  if (input->GdiplusVersion < 1 || input->GdiplusVersion > 2) return UnsupportedGdiplusVersion;
  // Without the background thread the caller runs the notification hooks, so it needs them.
  if (input->SuppressBackgroundThread && !output) return InvalidParameter;
  if (output) {
    output->NotificationHook = NotificationHook;
    output->NotificationUnhook = NotificationUnhook;
  }
  ++gStartups;
  *token = static_cast<ULONG_PTR>(gStartups);
  return Ok;
}

void GdiplusShutdown(ULONG_PTR) {
  if (gStartups > 0) --gStartups;
}

void* GdipAlloc(size_t size) { return gStartups > 0 ? std::malloc(size) : nullptr; }

void GdipFree(void* ptr) { std::free(ptr); }

// ---- graphics ----

double UnitScale(GpUnit unit) {
  switch (unit) {
    case UnitPoint: return 96.0 / 72.0;
    case UnitInch: return 96.0;
    case UnitDocument: return 96.0 / 300.0;
    case UnitMillimeter: return 96.0 / 25.4;
    default: return 1.0;
  }
}


namespace {

// World to the device context's logical coordinates.
QTransform ToLogical(const GpGraphics* g) {
  double s = UnitScale(g->pageUnit);
  return g->world * QTransform::fromScale(s, s);
}

}  // namespace

GpStatus Paint(GpGraphics* g, const std::function<void(QPainter&)>& draw) {
  if (g->dcOut) return ObjectBusy;
  QPainter* p = DCPainter(g->dc);
  if (!p || !p->isActive()) return GenericError;
  p->save();
  if (g->hasClip) p->setClipPath(g->clip, p->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
  // GDI+ puts pixel centres on whole coordinates, Qt between them. Aliased, an edge through a
  // pixel centre takes the pixel on the left and top, as GDI+'s fill rule does.
  const bool aa = g->smoothing == SmoothingModeHighQuality || g->smoothing >= SmoothingModeAntiAlias;
  const double shift = aa ? 0.5 : 0.5 - 1.0 / 64;
  p->setTransform(ToLogical(g) * p->transform() * QTransform::fromTranslate(shift, shift));
  p->setRenderHint(QPainter::Antialiasing, aa);
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  // GDI+ draws no text background, whatever the device context's background mode.
  p->setBackgroundMode(Qt::TransparentMode);
  p->setRenderHint(QPainter::TextAntialiasing, g->textHint != TextRenderingHintSingleBitPerPixel &&
                                                   g->textHint != TextRenderingHintSingleBitPerPixelGridFit);
  draw(*p);
  p->restore();
  return Ok;
}

QBrush TBrushData::ForPainter(const QPainter& p) const {
  QBrush b = ToQBrush();
  if (DeviceAligned()) b.setTransform(p.combinedTransform().inverted());
  return b;
}

namespace {

GpStatus Stroke(GpGraphics* g, GpPen* pen, const QPainterPath& path) {
  if (!g || !pen) return InvalidParameter;
  return Paint(g, [&](QPainter& p) {
    QPen qpen = pen->ToQPen(p);
    // Aliased pens up to one pixel wide are drawn one pixel wide, end points included.
    if (!p.testRenderHint(QPainter::Antialiasing) && qpen.widthF() * std::sqrt(std::abs(p.transform().determinant())) <= 1)
    {
      qpen.setWidthF(0);
      if (qpen.capStyle() == Qt::FlatCap) qpen.setCapStyle(Qt::SquareCap);  // Qt's way to keep the last pixel
    }
    p.strokePath(path, qpen);
  });
}

GpStatus Fill(GpGraphics* g, GpBrush* brush, const QPainterPath& path) {
  if (!g || !BrushData(brush)) return InvalidParameter;
  QPainterPath area = path;
  if (QPainterPath limit; BrushData(brush)->Limit(limit)) area = path.intersected(limit);
  return Paint(g, [&](QPainter& p) {
    if (!BrushData(brush)->FillArea(p, area)) p.fillPath(area, BrushData(brush)->ForPainter(p));
  });
}

QPainterPath RectPath(REAL x, REAL y, REAL w, REAL h) {
  QPainterPath q;
  q.addRect(QRectF(x, y, w, h));
  return q;
}

// An inset pen draws a closed shape's outline inside it: the outline runs half a width in.
QRectF Outline(const GpPen* pen, REAL x, REAL y, REAL w, REAL h) {
  QRectF r(x, y, w, h);
  if (pen && pen->alignment == PenAlignmentInset && pen->width > 1) {
    const double d = pen->width / 2.0;
    r.adjust(d, d, -d, -d);
  }
  return r;
}

QPainterPath EllipsePath(REAL x, REAL y, REAL w, REAL h) {
  GpPath path;
  GdipAddPathEllipse(&path, x, y, w, h);
  return path.ToQPath();
}

template <typename P>
QPainterPath PolygonPath(const P* points, INT count, GpFillMode mode) {
  GpPath path;
  path.fillMode = mode;
  for (INT i = 0; i < count; ++i) {
    path.points.push_back(GpPointF{REAL(points[i].X), REAL(points[i].Y)});
    path.types.push_back(i == 0 ? PathPointTypeStart : PathPointTypeLine);
  }
  path.types.back() |= PathPointTypeCloseSubpath;
  return path.ToQPath();
}

bool ValidFillMode(GpFillMode m) { return m == FillModeAlternate || m == FillModeWinding; }

}  // namespace

GpStatus GdipCreateFromHDC(HDC hdc, GpGraphics** graphics) {
  if (!graphics) return InvalidParameter;
  if (!hdc || !DCPainter(hdc)) return OutOfMemory;
  *graphics = new GpGraphics;
  (*graphics)->dc = hdc;
  return Ok;
}

GpStatus GdipDeleteGraphics(GpGraphics* graphics) {
  if (!graphics) return InvalidParameter;
  if (graphics->ownsDC) DeleteDeviceDC(graphics->dc);
  delete graphics;
  return Ok;
}

GpStatus GdipFlush(GpGraphics* graphics, GpFlushIntention) {
  return graphics ? Ok : InvalidParameter;
}

GpStatus GdipGraphicsClear(GpGraphics* graphics, ARGB color) {
  if (!graphics) return InvalidParameter;
  return Paint(graphics, [&](QPainter& p) {
    p.resetTransform();
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(QRect(0, 0, p.device()->width(), p.device()->height()), ToQColor(color));
  });
}

GpStatus GdipGetDC(GpGraphics* graphics, HDC* hdc) {
  if (!graphics || !hdc) return InvalidParameter;
  if (graphics->dcOut) return ObjectBusy;
  graphics->dcOut = true;
  *hdc = graphics->dc;
  return Ok;
}

GpStatus GdipReleaseDC(GpGraphics* graphics, HDC hdc) {
  if (!graphics || !graphics->dcOut || hdc != graphics->dc) return InvalidParameter;
  graphics->dcOut = false;
  return Ok;
}

GpStatus GdipSetWorldTransform(GpGraphics* graphics, GpMatrix* matrix) {
  if (!graphics || !matrix) return InvalidParameter;
  graphics->world = matrix->m;
  return Ok;
}

GpStatus GdipResetWorldTransform(GpGraphics* graphics) {
  if (!graphics) return InvalidParameter;
  graphics->world.reset();
  return Ok;
}

GpStatus GdipGetWorldTransform(GpGraphics* graphics, GpMatrix* matrix) {
  if (!graphics || !matrix) return InvalidParameter;
  matrix->m = graphics->world;
  return Ok;
}

GpStatus GdipSetSmoothingMode(GpGraphics* graphics, SmoothingMode mode) {
  if (!graphics || mode < SmoothingModeDefault || mode > SmoothingModeAntiAlias8x8) return InvalidParameter;
  // Default and high speed mean no antialiasing; GDI+ reports them as none.
  graphics->smoothing = mode <= SmoothingModeHighSpeed ? SmoothingModeNone : mode;
  return Ok;
}

GpStatus GdipGetSmoothingMode(GpGraphics* graphics, SmoothingMode* mode) {
  if (!graphics || !mode) return InvalidParameter;
  *mode = graphics->smoothing;
  return Ok;
}

GpStatus GdipSetCompositingQuality(GpGraphics* graphics, CompositingQuality quality) {
  if (!graphics || quality < CompositingQualityDefault || quality > CompositingQualityAssumeLinear)
    return InvalidParameter;
  graphics->compositing = quality;
  return Ok;
}

GpStatus GdipGetCompositingQuality(GpGraphics* graphics, CompositingQuality* quality) {
  if (!graphics || !quality) return InvalidParameter;
  *quality = graphics->compositing;
  return Ok;
}

GpStatus GdipSetTextRenderingHint(GpGraphics* graphics, TextRenderingHint hint) {
  if (!graphics || hint < TextRenderingHintSystemDefault || hint > TextRenderingHintClearTypeGridFit)
    return InvalidParameter;
  graphics->textHint = hint;
  return Ok;
}

GpStatus GdipGetTextRenderingHint(GpGraphics* graphics, TextRenderingHint* hint) {
  if (!graphics || !hint) return InvalidParameter;
  *hint = graphics->textHint;
  return Ok;
}

GpStatus GdipSetPageUnit(GpGraphics* graphics, GpUnit unit) {
  if (!graphics || unit <= UnitWorld || unit > UnitMillimeter) return InvalidParameter;
  graphics->pageUnit = unit;
  return Ok;
}

GpStatus GdipGetPageUnit(GpGraphics* graphics, GpUnit* unit) {
  if (!graphics || !unit) return InvalidParameter;
  *unit = graphics->pageUnit;
  return Ok;
}

namespace {

// Combines a world-space shape into the clip; with no clip yet the clip is everything.
GpStatus CombineClip(GpGraphics* g, const QPainterPath& world, CombineMode mode) {
  QPainterPath clip = g->hasClip ? g->clip : InfiniteArea();
  if (!CombineArea(clip, ToLogical(g).map(world), mode)) return InvalidParameter;
  g->clip = clip;
  g->hasClip = true;
  return Ok;
}

}  // namespace

GpStatus GdipSetClipRect(GpGraphics* graphics, REAL x, REAL y, REAL width, REAL height, CombineMode mode) {
  if (!graphics) return InvalidParameter;
  return CombineClip(graphics, RectPath(x, y, width, height), mode);
}

GpStatus GdipSetClipPath(GpGraphics* graphics, GpPath* path, CombineMode mode) {
  if (!graphics || !path) return InvalidParameter;
  return CombineClip(graphics, path->ToQPath(), mode);
}

GpStatus GdipSetClipRegion(GpGraphics* graphics, GpRegion* region, CombineMode mode) {
  if (!graphics || !region) return InvalidParameter;
  return CombineClip(graphics, region->area, mode);
}

GpStatus GdipResetClip(GpGraphics* graphics) {
  if (!graphics) return InvalidParameter;
  graphics->hasClip = false;
  graphics->clip = QPainterPath();
  return Ok;
}

// ---- drawing ----

GpStatus GdipDrawLine(GpGraphics* graphics, GpPen* pen, REAL x1, REAL y1, REAL x2, REAL y2) {
  QPainterPath q(QPointF(x1, y1));
  q.lineTo(x2, y2);
  return Stroke(graphics, pen, q);
}

GpStatus GdipDrawRectangle(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height) {
  // The outline runs through both edges, so it covers the right and bottom one too.
  if (width < 0 || height < 0) return InvalidParameter;
  QPainterPath q;
  q.addRect(Outline(pen, x, y, width, height));
  return Stroke(graphics, pen, q);
}

GpStatus GdipFillRectangle(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height) {
  if (width < 0 || height < 0) return InvalidParameter;
  return Fill(graphics, brush, RectPath(x, y, width, height));
}

GpStatus GdipDrawArc(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height, REAL startAngle,
                     REAL sweepAngle) {
  if (width <= 0 || height <= 0) return InvalidParameter;
  GpPath path;
  GdipAddPathArc(&path, x, y, width, height, startAngle, sweepAngle);
  return Stroke(graphics, pen, path.ToQPath());
}

GpStatus GdipDrawEllipse(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height) {
  QRectF r = Outline(pen, x, y, width, height);
  return Stroke(graphics, pen, EllipsePath(REAL(r.x()), REAL(r.y()), REAL(r.width()), REAL(r.height())));
}

GpStatus GdipDrawEllipseI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height) {
  return GdipDrawEllipse(graphics, pen, REAL(x), REAL(y), REAL(width), REAL(height));
}

GpStatus GdipFillEllipse(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height) {
  return Fill(graphics, brush, EllipsePath(x, y, width, height));
}

GpStatus GdipFillEllipseI(GpGraphics* graphics, GpBrush* brush, INT x, INT y, INT width, INT height) {
  return GdipFillEllipse(graphics, brush, REAL(x), REAL(y), REAL(width), REAL(height));
}

GpStatus GdipFillPolygon(GpGraphics* graphics, GpBrush* brush, const GpPointF* points, INT count,
                         GpFillMode fillMode) {
  if (!points || count <= 0 || !ValidFillMode(fillMode)) return InvalidParameter;
  return Fill(graphics, brush, PolygonPath(points, count, fillMode));
}

GpStatus GdipFillPolygonI(GpGraphics* graphics, GpBrush* brush, const GpPoint* points, INT count,
                          GpFillMode fillMode) {
  if (!points || count <= 0 || !ValidFillMode(fillMode)) return InvalidParameter;
  return Fill(graphics, brush, PolygonPath(points, count, fillMode));
}

GpStatus GdipDrawPath(GpGraphics* graphics, GpPen* pen, GpPath* path) {
  if (!path) return InvalidParameter;
  return Stroke(graphics, pen, path->ToQPath());
}

GpStatus GdipFillPath(GpGraphics* graphics, GpBrush* brush, GpPath* path) {
  if (!path) return InvalidParameter;
  return Fill(graphics, brush, path->ToQPath());
}
