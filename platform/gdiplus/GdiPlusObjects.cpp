// Matrices, brushes and pens.
#include <QLinearGradient>
#include <cmath>

#include "platform/gdiplus/GdiPlus_p.h"

QColor ToQColor(ARGB argb) {
  return QColor((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF, argb >> 24);
}

// ---- matrices ----

namespace {

// Combines a step with the matrix: prepend applies the step before the matrix, append after.
void Combine(GpMatrix* matrix, const QTransform& step, GpMatrixOrder order) {
  matrix->m = order == MatrixOrderPrepend ? step * matrix->m : matrix->m * step;
}

bool ValidOrder(GpMatrixOrder order) { return order == MatrixOrderPrepend || order == MatrixOrderAppend; }

// The matrix mapping rect onto the parallelogram of its three corners (top-left, top-right,
// bottom-left).
GpStatus Matrix3(REAL x, REAL y, REAL w, REAL h, const GpPointF* p, GpMatrix** matrix) {
  if (!p || !matrix || w == 0 || h == 0) return InvalidParameter;
  REAL m11 = (p[1].X - p[0].X) / w, m12 = (p[1].Y - p[0].Y) / w;
  REAL m21 = (p[2].X - p[0].X) / h, m22 = (p[2].Y - p[0].Y) / h;
  *matrix = new GpMatrix{QTransform(m11, m12, m21, m22, p[0].X - x * m11 - y * m21, p[0].Y - x * m12 - y * m22)};
  return Ok;
}

template <typename P>
GpStatus MapPoints(GpMatrix* matrix, P* pts, INT count, bool vectors) {
  if (!matrix || !pts || count <= 0) return InvalidParameter;
  const QTransform& t = matrix->m;
  for (INT i = 0; i < count; ++i) {
    double x = pts[i].X, y = pts[i].Y;
    double nx = x * t.m11() + y * t.m21() + (vectors ? 0 : t.dx());
    double ny = x * t.m12() + y * t.m22() + (vectors ? 0 : t.dy());
    if constexpr (std::is_same_v<P, GpPoint>) {
      pts[i].X = static_cast<INT>(std::lround(nx));
      pts[i].Y = static_cast<INT>(std::lround(ny));
    } else {
      pts[i].X = static_cast<REAL>(nx);
      pts[i].Y = static_cast<REAL>(ny);
    }
  }
  return Ok;
}

}  // namespace

GpStatus GdipCreateMatrix(GpMatrix** matrix) {
  if (!matrix) return InvalidParameter;
  *matrix = new GpMatrix;
  return Ok;
}

GpStatus GdipCreateMatrix2(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy, GpMatrix** matrix) {
  if (!matrix) return InvalidParameter;
  *matrix = new GpMatrix{QTransform(m11, m12, m21, m22, dx, dy)};
  return Ok;
}

GpStatus GdipCreateMatrix3(const GpRectF* rect, const GpPointF* dstplg, GpMatrix** matrix) {
  if (!rect) return InvalidParameter;
  return Matrix3(rect->X, rect->Y, rect->Width, rect->Height, dstplg, matrix);
}

GpStatus GdipCreateMatrix3I(const GpRect* rect, const GpPoint* dstplg, GpMatrix** matrix) {
  if (!rect || !dstplg) return InvalidParameter;
  GpPointF p[3];
  for (int i = 0; i < 3; ++i) p[i] = GpPointF{REAL(dstplg[i].X), REAL(dstplg[i].Y)};
  return Matrix3(REAL(rect->X), REAL(rect->Y), REAL(rect->Width), REAL(rect->Height), p, matrix);
}

GpStatus GdipCloneMatrix(GpMatrix* matrix, GpMatrix** cloneMatrix) {
  if (!matrix || !cloneMatrix) return InvalidParameter;
  *cloneMatrix = new GpMatrix(*matrix);
  return Ok;
}

GpStatus GdipDeleteMatrix(GpMatrix* matrix) {
  if (!matrix) return InvalidParameter;
  delete matrix;
  return Ok;
}

GpStatus GdipSetMatrixElements(GpMatrix* matrix, REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy) {
  if (!matrix) return InvalidParameter;
  matrix->m = QTransform(m11, m12, m21, m22, dx, dy);
  return Ok;
}

GpStatus GdipGetMatrixElements(const GpMatrix* matrix, REAL* out) {
  if (!matrix || !out) return InvalidParameter;
  const QTransform& t = matrix->m;
  const double e[6] = {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy()};
  for (int i = 0; i < 6; ++i) out[i] = static_cast<REAL>(e[i]);
  return Ok;
}

GpStatus GdipMultiplyMatrix(GpMatrix* matrix, GpMatrix* matrix2, GpMatrixOrder order) {
  if (!matrix || !matrix2 || !ValidOrder(order)) return InvalidParameter;
  Combine(matrix, matrix2->m, order);
  return Ok;
}

GpStatus GdipTranslateMatrix(GpMatrix* matrix, REAL offsetX, REAL offsetY, GpMatrixOrder order) {
  if (!matrix || !ValidOrder(order)) return InvalidParameter;
  Combine(matrix, QTransform::fromTranslate(offsetX, offsetY), order);
  return Ok;
}

GpStatus GdipScaleMatrix(GpMatrix* matrix, REAL scaleX, REAL scaleY, GpMatrixOrder order) {
  if (!matrix || !ValidOrder(order)) return InvalidParameter;
  Combine(matrix, QTransform::fromScale(scaleX, scaleY), order);
  return Ok;
}

GpStatus GdipRotateMatrix(GpMatrix* matrix, REAL angle, GpMatrixOrder order) {
  if (!matrix || !ValidOrder(order)) return InvalidParameter;
  // Exact quarter turns keep exact elements.
  double r = angle * M_PI / 180.0;
  double c = std::cos(r), s = std::sin(r);
  if (std::fmod(angle, 90.0f) == 0) {
    c = std::round(c);
    s = std::round(s);
  }
  Combine(matrix, QTransform(c, s, -s, c, 0, 0), order);
  return Ok;
}

GpStatus GdipShearMatrix(GpMatrix* matrix, REAL shearX, REAL shearY, GpMatrixOrder order) {
  if (!matrix || !ValidOrder(order)) return InvalidParameter;
  Combine(matrix, QTransform(1, shearY, shearX, 1, 0, 0), order);
  return Ok;
}

GpStatus GdipInvertMatrix(GpMatrix* matrix) {
  if (!matrix) return InvalidParameter;
  bool ok = false;
  QTransform inv = matrix->m.inverted(&ok);
  if (!ok || matrix->m.determinant() == 0) return InvalidParameter;
  matrix->m = inv;
  return Ok;
}

GpStatus GdipTransformMatrixPoints(GpMatrix* matrix, GpPointF* pts, INT count) {
  return MapPoints(matrix, pts, count, false);
}
GpStatus GdipTransformMatrixPointsI(GpMatrix* matrix, GpPoint* pts, INT count) {
  return MapPoints(matrix, pts, count, false);
}
GpStatus GdipVectorTransformMatrixPoints(GpMatrix* matrix, GpPointF* pts, INT count) {
  return MapPoints(matrix, pts, count, true);
}
GpStatus GdipVectorTransformMatrixPointsI(GpMatrix* matrix, GpPoint* pts, INT count) {
  return MapPoints(matrix, pts, count, true);
}

GpStatus GdipIsMatrixInvertible(const GpMatrix* matrix, BOOL* result) {
  if (!matrix || !result) return InvalidParameter;
  *result = matrix->m.determinant() != 0;
  return Ok;
}

GpStatus GdipIsMatrixIdentity(const GpMatrix* matrix, BOOL* result) {
  if (!matrix || !result) return InvalidParameter;
  *result = matrix->m.isIdentity();
  return Ok;
}

// ---- brushes ----

QBrush TSolidFill::ToQBrush() const { return QBrush(ToQColor(color)); }

QBrush TLineGradient::ToQBrush() const {
  QLinearGradient g(start, end);
  for (const auto& [pos, c] : stops) g.setColorAt(pos, ToQColor(c));
  g.setSpread(wrap == WrapModeTile ? QGradient::RepeatSpread : QGradient::ReflectSpread);
  QBrush b(g);
  b.setTransform(brushTransform);
  return b;
}

namespace {

GpStatus NewLineBrush(QPointF start, QPointF end, const QTransform& t, ARGB c1, ARGB c2, GpWrapMode wrap,
                      GpLineGradient** out) {
  if (!out || wrap < WrapModeTile || wrap >= WrapModeClamp || start == end) return InvalidParameter;
  auto* b = new TLineGradient;
  b->start = start;
  b->end = end;
  b->brushTransform = t;
  b->stops = {{0.0f, c1}, {1.0f, c2}};
  b->wrap = wrap;
  *out = b;
  return Ok;
}

// The unit square onto the rectangle.
QTransform UnitToRect(const GpRectF& r) { return QTransform(r.Width, 0, 0, r.Height, r.X, r.Y); }

GpRectF ToRectF(const GpRect& r) { return GpRectF{REAL(r.X), REAL(r.Y), REAL(r.Width), REAL(r.Height)}; }

}  // namespace

GpStatus GdipDeleteBrush(GpBrush* brush) {
  if (!BrushData(brush)) return InvalidParameter;
  delete brush;
  return Ok;
}

GpStatus GdipGetBrushType(GpBrush* brush, GpBrushType* type) {
  if (!BrushData(brush) || !type) return InvalidParameter;
  *type = BrushData(brush)->Type();
  return Ok;
}

GpStatus GdipCreateSolidFill(ARGB color, GpSolidFill** brush) {
  if (!brush) return InvalidParameter;
  auto* b = new TSolidFill;
  b->color = color;
  *brush = b;
  return Ok;
}

GpStatus GdipGetSolidFillColor(GpSolidFill* brush, ARGB* color) {
  auto* b = dynamic_cast<TSolidFill*>(brush);
  if (!b || !color) return InvalidParameter;
  *color = b->color;
  return Ok;
}

GpStatus GdipCreateLineBrush(const GpPointF* point1, const GpPointF* point2, ARGB color1, ARGB color2,
                             GpWrapMode wrapMode, GpLineGradient** lineGradient) {
  if (!point1 || !point2) return InvalidParameter;
  return NewLineBrush(QPointF(point1->X, point1->Y), QPointF(point2->X, point2->Y), QTransform(), color1, color2,
                      wrapMode, lineGradient);
}

GpStatus GdipCreateLineBrushI(const GpPoint* point1, const GpPoint* point2, ARGB color1, ARGB color2,
                              GpWrapMode wrapMode, GpLineGradient** lineGradient) {
  if (!point1 || !point2) return InvalidParameter;
  return NewLineBrush(QPointF(point1->X, point1->Y), QPointF(point2->X, point2->Y), QTransform(), color1, color2,
                      wrapMode, lineGradient);
}

GpStatus GdipCreateLineBrushFromRect(const GpRectF* rect, ARGB color1, ARGB color2, LinearGradientMode mode,
                                     GpWrapMode wrapMode, GpLineGradient** lineGradient) {
  if (!rect || rect->Width == 0 || rect->Height == 0) return InvalidParameter;
  // In the unit square; the diagonal forms put the middle colour through the other two corners.
  static const QPointF ends[4][2] = {
      {{0, 0}, {1, 0}}, {{0, 0}, {0, 1}}, {{0, 0}, {1, 1}}, {{1, 0}, {0, 1}}};
  if (mode < LinearGradientModeHorizontal || mode > LinearGradientModeBackwardDiagonal) return InvalidParameter;
  return NewLineBrush(ends[mode][0], ends[mode][1], UnitToRect(*rect), color1, color2, wrapMode, lineGradient);
}

GpStatus GdipCreateLineBrushFromRectI(const GpRect* rect, ARGB color1, ARGB color2, LinearGradientMode mode,
                                      GpWrapMode wrapMode, GpLineGradient** lineGradient) {
  if (!rect) return InvalidParameter;
  GpRectF r = ToRectF(*rect);
  return GdipCreateLineBrushFromRect(&r, color1, color2, mode, wrapMode, lineGradient);
}

GpStatus GdipCreateLineBrushFromRectWithAngle(const GpRectF* rect, ARGB color1, ARGB color2, REAL angle,
                                              BOOL isAngleScalable, GpWrapMode wrapMode,
                                              GpLineGradient** lineGradient) {
  if (!rect || rect->Width == 0 || rect->Height == 0) return InvalidParameter;
  // The gradient spans the rectangle along the angle's direction: from the corner whose
  // projection is smallest to the one whose projection is largest. A scalable angle is taken in
  // the unit square, so 45 degrees runs corner to corner like the forward diagonal.
  const double r = angle * M_PI / 180.0;
  const QPointF dir(std::cos(r), std::sin(r));
  const bool unit = isAngleScalable != 0;
  const double w = unit ? 1 : rect->Width, h = unit ? 1 : rect->Height;
  const double x0 = unit ? 0 : rect->X, y0 = unit ? 0 : rect->Y;
  const QPointF corners[4] = {{x0, y0}, {x0 + w, y0}, {x0, y0 + h}, {x0 + w, y0 + h}};
  double lo = 1e300, hi = -1e300;
  for (const QPointF& c : corners) {
    double p = c.x() * dir.x() + c.y() * dir.y();
    lo = std::min(lo, p);
    hi = std::max(hi, p);
  }
  QPointF s = dir * lo, e = dir * hi;
  return NewLineBrush(s, e, unit ? UnitToRect(*rect) : QTransform(), color1, color2, wrapMode, lineGradient);
}

GpStatus GdipCreateLineBrushFromRectWithAngleI(const GpRect* rect, ARGB color1, ARGB color2, REAL angle,
                                               BOOL isAngleScalable, GpWrapMode wrapMode,
                                               GpLineGradient** lineGradient) {
  if (!rect) return InvalidParameter;
  GpRectF r = ToRectF(*rect);
  return GdipCreateLineBrushFromRectWithAngle(&r, color1, color2, angle, isAngleScalable, wrapMode, lineGradient);
}

GpStatus GdipSetLineGammaCorrection(GpLineGradient* line, BOOL useGammaCorrection) {
  auto* brush = dynamic_cast<TLineGradient*>(line);
  if (!brush) return InvalidParameter;
  brush->gamma = useGammaCorrection != 0;
  return Ok;
}

GpStatus GdipSetLinePresetBlend(GpLineGradient* line, const ARGB* blend, const REAL* positions, INT count) {
  auto* brush = dynamic_cast<TLineGradient*>(line);
  if (!brush || !ReadBlend(blend, positions, count, brush->stops)) return InvalidParameter;
  return Ok;
}

bool ReadBlend(const ARGB* blend, const REAL* positions, INT count, std::vector<std::pair<REAL, ARGB>>& stops) {
  if (!blend || !positions || count < 2 || positions[0] != 0 || positions[count - 1] != 1) return false;
  for (INT i = 1; i < count; ++i)
    if (positions[i] < positions[i - 1]) return false;
  stops.clear();
  for (INT i = 0; i < count; ++i) stops.emplace_back(positions[i], blend[i]);
  return true;
}

// ---- pens ----

QPen GpPen::ToQPen(const QPainter& painter) const {
  QPen p(BrushData(brush.get())->ForPainter(painter), width);
  switch (endCap) {
    case LineCapSquare:
    case LineCapSquareAnchor: p.setCapStyle(Qt::SquareCap); break;
    case LineCapRound:
    case LineCapRoundAnchor: p.setCapStyle(Qt::RoundCap); break;
    default: p.setCapStyle(Qt::FlatCap); break;
  }
  switch (join) {
    case LineJoinBevel: p.setJoinStyle(Qt::BevelJoin); break;
    case LineJoinRound: p.setJoinStyle(Qt::RoundJoin); break;
    case LineJoinMiterClipped: p.setJoinStyle(Qt::MiterJoin); break;
    default: p.setJoinStyle(Qt::SvgMiterJoin); break;
  }
  p.setMiterLimit(10);
  // Dash lengths in pen widths, as GDI+ defines them.
  switch (dash) {
    case DashStyleDash: p.setDashPattern({3, 1}); break;
    case DashStyleDot: p.setDashPattern({1, 1}); break;
    case DashStyleDashDot: p.setDashPattern({3, 1, 1, 1}); break;
    case DashStyleDashDotDot: p.setDashPattern({3, 1, 1, 1, 1, 1}); break;
    default: break;
  }
  return p;
}

namespace {

GpStatus NewPen(std::unique_ptr<GpBrush> brush, REAL width, GpUnit unit, GpPen** pen) {
  if (!pen || unit < UnitWorld || unit > UnitMillimeter || unit == UnitDisplay) return InvalidParameter;
  auto* p = new GpPen;
  p->brush = std::move(brush);
  p->width = width;
  p->unit = unit;
  *pen = p;
  return Ok;
}

}  // namespace

GpStatus GdipCreatePen1(ARGB color, REAL width, GpUnit unit, GpPen** pen) {
  auto b = std::make_unique<TSolidFill>();
  b->color = color;
  return NewPen(std::move(b), width, unit, pen);
}

GpStatus GdipCreatePen2(GpBrush* brush, REAL width, GpUnit unit, GpPen** pen) {
  if (!BrushData(brush)) return InvalidParameter;
  return NewPen(std::unique_ptr<GpBrush>(BrushData(brush)->Clone()), width, unit, pen);
}

GpStatus GdipDeletePen(GpPen* pen) {
  if (!pen) return InvalidParameter;
  delete pen;
  return Ok;
}

GpStatus GdipSetPenWidth(GpPen* pen, REAL width) {
  if (!pen) return InvalidParameter;
  pen->width = width;
  return Ok;
}

GpStatus GdipGetPenWidth(GpPen* pen, REAL* width) {
  if (!pen || !width) return InvalidParameter;
  *width = pen->width;
  return Ok;
}

GpStatus GdipGetPenFillType(GpPen* pen, GpPenType* type) {
  if (!pen || !type) return InvalidParameter;
  *type = static_cast<GpPenType>(BrushData(pen->brush.get())->Type());
  return Ok;
}

GpStatus GdipGetPenBrushFill(GpPen* pen, GpBrush** brush) {
  if (!pen || !brush) return InvalidParameter;
  *brush = BrushData(pen->brush.get())->Clone();
  return Ok;
}

GpStatus GdipSetPenBrushFill(GpPen* pen, GpBrush* brush) {
  if (!pen || !BrushData(brush)) return InvalidParameter;
  pen->brush.reset(BrushData(brush)->Clone());
  return Ok;
}

GpStatus GdipGetPenDashStyle(GpPen* pen, GpDashStyle* dashStyle) {
  if (!pen || !dashStyle) return InvalidParameter;
  *dashStyle = pen->dash;
  return Ok;
}

GpStatus GdipSetPenDashStyle(GpPen* pen, GpDashStyle dashStyle) {
  if (!pen || dashStyle < DashStyleSolid || dashStyle > DashStyleCustom) return InvalidParameter;
  pen->dash = dashStyle;
  return Ok;
}

namespace {
bool ValidCap(GpLineCap cap) {
  return (cap >= LineCapFlat && cap <= LineCapTriangle) || (cap >= LineCapNoAnchor && cap <= LineCapArrowAnchor) ||
         cap == LineCapCustom;
}
}  // namespace

GpStatus GdipSetPenStartCap(GpPen* pen, GpLineCap startCap) {
  if (!pen || !ValidCap(startCap)) return InvalidParameter;
  pen->startCap = startCap;
  return Ok;
}

GpStatus GdipSetPenEndCap(GpPen* pen, GpLineCap endCap) {
  if (!pen || !ValidCap(endCap)) return InvalidParameter;
  pen->endCap = endCap;
  return Ok;
}

GpStatus GdipSetPenLineJoin(GpPen* pen, GpLineJoin lineJoin) {
  if (!pen || lineJoin < LineJoinMiter || lineJoin > LineJoinMiterClipped) return InvalidParameter;
  pen->join = lineJoin;
  return Ok;
}

GpStatus GdipSetPenMode(GpPen* pen, GpPenAlignment penMode) {
  if (!pen || penMode < PenAlignmentCenter || penMode > PenAlignmentInset) return InvalidParameter;
  pen->alignment = penMode;
  return Ok;
}
