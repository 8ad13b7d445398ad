// Paths: points and point types as GDI+ keeps them; arcs and ellipses as Bezier curves.
#include <cmath>

#include "platform/gdiplus/GdiPlus_p.h"

namespace {

void Add(GpPath* path, REAL x, REAL y, BYTE type) {
  if (path->newFigure) {
    type = PathPointTypeStart;
    path->newFigure = false;
  }
  path->points.push_back(GpPointF{x, y});
  path->types.push_back(type);
}

void CloseFigure(GpPath* path) {
  if (!path->types.empty() && !path->newFigure) path->types.back() |= PathPointTypeCloseSubpath;
  path->newFigure = true;
}

// The point of an ellipse at a geometric angle (degrees, clockwise from the x axis) as a
// parametric angle (radians).
double Parametric(double rx, double ry, double degrees) {
  double a = degrees * M_PI / 180.0;
  double t = std::atan2(rx * std::sin(a), ry * std::cos(a));
  // Keep whole turns so sweeps beyond 180 degrees stay monotonic.
  double turns = std::floor(a / (2 * M_PI) + 0.5);
  t += turns * 2 * M_PI;
  if (t - a > M_PI) t -= 2 * M_PI;
  if (a - t > M_PI) t += 2 * M_PI;
  return t;
}

// Appends an elliptical arc as Beziers of at most a quarter turn each; the first point joins the
// current figure with a line.
void AddArc(GpPath* path, REAL x, REAL y, REAL w, REAL h, REAL start, REAL sweep) {
  sweep = std::clamp(sweep, -360.0f, 360.0f);
  const double rx = w / 2.0, ry = h / 2.0, cx = x + rx, cy = y + ry;
  double t0 = Parametric(rx, ry, start);
  double t1 = std::fabs(sweep) >= 360 ? t0 + (sweep > 0 ? 2 * M_PI : -2 * M_PI) : Parametric(rx, ry, start + sweep);
  if (sweep > 0 && t1 < t0) t1 += 2 * M_PI;
  if (sweep < 0 && t1 > t0) t1 -= 2 * M_PI;
  int n = std::max(1, static_cast<int>(std::ceil(std::fabs(t1 - t0) / (M_PI / 2) - 1e-9)));
  double step = (t1 - t0) / n;
  double k = 4.0 / 3.0 * std::tan(step / 4);
  auto at = [&](double t) { return QPointF(cx + rx * std::cos(t), cy + ry * std::sin(t)); };
  QPointF p0 = at(t0);
  Add(path, REAL(p0.x()), REAL(p0.y()), PathPointTypeLine);
  for (int i = 0; i < n; ++i) {
    double a = t0 + i * step, b = a + step;
    QPointF c1(cx + rx * (std::cos(a) - k * std::sin(a)), cy + ry * (std::sin(a) + k * std::cos(a)));
    QPointF c2(cx + rx * (std::cos(b) + k * std::sin(b)), cy + ry * (std::sin(b) - k * std::cos(b)));
    QPointF e = at(b);
    Add(path, REAL(c1.x()), REAL(c1.y()), PathPointTypeBezier);
    Add(path, REAL(c2.x()), REAL(c2.y()), PathPointTypeBezier);
    Add(path, REAL(e.x()), REAL(e.y()), PathPointTypeBezier);
  }
}

template <typename P>
GpStatus AddPolygon(GpPath* path, const P* points, INT count) {
  if (!path || !points || count < 3) return InvalidParameter;
  path->newFigure = true;
  for (INT i = 0; i < count; ++i) Add(path, REAL(points[i].X), REAL(points[i].Y), PathPointTypeLine);
  CloseFigure(path);
  return Ok;
}

// Appends a cardinal spline as Beziers: each segment's tangents are tension times the chord
// between its neighbours (the end points use themselves as the missing neighbour).
template <typename P>
GpStatus AddCurve(GpPath* path, const P* points, INT count, REAL tension) {
  if (!path || !points || count < 2 || tension < 0) return InvalidParameter;
  auto at = [&](INT i) {
    i = std::clamp(i, 0, count - 1);
    return QPointF(points[i].X, points[i].Y);
  };
  const double k = tension / 3.0;
  Add(path, REAL(points[0].X), REAL(points[0].Y), PathPointTypeLine);
  for (INT i = 0; i + 1 < count; ++i) {
    QPointF c1 = at(i) + k * (at(i + 1) - at(i - 1));
    QPointF c2 = at(i + 1) - k * (at(i + 2) - at(i));
    Add(path, REAL(c1.x()), REAL(c1.y()), PathPointTypeBezier);
    Add(path, REAL(c2.x()), REAL(c2.y()), PathPointTypeBezier);
    Add(path, REAL(points[i + 1].X), REAL(points[i + 1].Y), PathPointTypeBezier);
  }
  return Ok;
}

}  // namespace

QPainterPath GpPath::ToQPath() const {
  QPainterPath q;
  q.setFillRule(fillMode == FillModeWinding ? Qt::WindingFill : Qt::OddEvenFill);
  for (size_t i = 0; i < points.size(); ++i) {
    QPointF p(points[i].X, points[i].Y);
    BYTE t = types[i] & PathPointTypePathTypeMask;
    if (t == PathPointTypeStart) {
      q.moveTo(p);
    } else if (t == PathPointTypeBezier && i + 2 < points.size()) {
      q.cubicTo(p, QPointF(points[i + 1].X, points[i + 1].Y), QPointF(points[i + 2].X, points[i + 2].Y));
      i += 2;
    } else {
      q.lineTo(p);
    }
    if (types[i] & PathPointTypeCloseSubpath) q.closeSubpath();
  }
  return q;
}

void GpPath::AppendClosed(const QPainterPath& q) {
  for (int i = 0; i < q.elementCount(); ++i) {
    const QPainterPath::Element e = q.elementAt(i);
    if (e.isMoveTo()) {
      CloseFigure(this);
      Add(this, REAL(e.x), REAL(e.y), PathPointTypeStart);
    } else {
      Add(this, REAL(e.x), REAL(e.y), e.isLineTo() ? PathPointTypeLine : PathPointTypeBezier);
    }
  }
  CloseFigure(this);
}

GpStatus GdipCreatePath(GpFillMode fillMode, GpPath** path) {
  if (!path || (fillMode != FillModeAlternate && fillMode != FillModeWinding)) return InvalidParameter;
  *path = new GpPath;
  (*path)->fillMode = fillMode;
  return Ok;
}

GpStatus GdipDeletePath(GpPath* path) {
  if (!path) return InvalidParameter;
  delete path;
  return Ok;
}

GpStatus GdipResetPath(GpPath* path) {
  if (!path) return InvalidParameter;
  *path = GpPath();
  return Ok;
}

GpStatus GdipGetPointCount(GpPath* path, INT* count) {
  if (!path || !count) return InvalidParameter;
  *count = static_cast<INT>(path->points.size());
  return Ok;
}

GpStatus GdipGetPathPoints(GpPath* path, GpPointF* points, INT count) {
  if (!path || !points || count <= 0) return InvalidParameter;
  if (static_cast<size_t>(count) < path->points.size()) return InsufficientBuffer;
  std::copy(path->points.begin(), path->points.end(), points);
  return Ok;
}

GpStatus GdipGetPathTypes(GpPath* path, BYTE* types, INT count) {
  if (!path || !types || count <= 0) return InvalidParameter;
  if (static_cast<size_t>(count) < path->types.size()) return InsufficientBuffer;
  std::copy(path->types.begin(), path->types.end(), types);
  return Ok;
}

GpStatus GdipGetPathFillMode(GpPath* path, GpFillMode* fillMode) {
  if (!path || !fillMode) return InvalidParameter;
  *fillMode = path->fillMode;
  return Ok;
}

GpStatus GdipSetPathFillMode(GpPath* path, GpFillMode fillMode) {
  if (!path || (fillMode != FillModeAlternate && fillMode != FillModeWinding)) return InvalidParameter;
  path->fillMode = fillMode;
  return Ok;
}

GpStatus GdipClosePathFigure(GpPath* path) {
  if (!path) return InvalidParameter;
  CloseFigure(path);
  return Ok;
}

GpStatus GdipAddPathLine(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2) {
  if (!path) return InvalidParameter;
  Add(path, x1, y1, PathPointTypeLine);
  Add(path, x2, y2, PathPointTypeLine);
  return Ok;
}

GpStatus GdipAddPathLine2I(GpPath* path, const GpPoint* points, INT count) {
  if (!path || !points || count <= 0) return InvalidParameter;
  for (INT i = 0; i < count; ++i) Add(path, REAL(points[i].X), REAL(points[i].Y), PathPointTypeLine);
  return Ok;
}

GpStatus GdipAddPathRectangle(GpPath* path, REAL x, REAL y, REAL width, REAL height) {
  if (!path) return InvalidParameter;
  const GpPointF p[4] = {{x, y}, {x + width, y}, {x + width, y + height}, {x, y + height}};
  return AddPolygon(path, p, 4);
}

GpStatus GdipAddPathRectangleI(GpPath* path, INT x, INT y, INT width, INT height) {
  return GdipAddPathRectangle(path, REAL(x), REAL(y), REAL(width), REAL(height));
}

GpStatus GdipAddPathArc(GpPath* path, REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle) {
  if (!path || width <= 0 || height <= 0) return InvalidParameter;
  AddArc(path, x, y, width, height, startAngle, sweepAngle);
  return Ok;
}

GpStatus GdipAddPathEllipse(GpPath* path, REAL x, REAL y, REAL width, REAL height) {
  if (!path) return InvalidParameter;
  path->newFigure = true;
  AddArc(path, x, y, width, height, 0, 360);
  CloseFigure(path);
  return Ok;
}

GpStatus GdipAddPathPie(GpPath* path, REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle) {
  if (!path || width <= 0 || height <= 0) return InvalidParameter;
  path->newFigure = true;
  Add(path, x + width / 2, y + height / 2, PathPointTypeLine);
  AddArc(path, x, y, width, height, startAngle, sweepAngle);
  CloseFigure(path);
  return Ok;
}

GpStatus GdipAddPathPolygon(GpPath* path, const GpPointF* points, INT count) {
  return AddPolygon(path, points, count);
}

GpStatus GdipAddPathPolygonI(GpPath* path, const GpPoint* points, INT count) {
  return AddPolygon(path, points, count);
}

GpStatus GdipAddPathBezier(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3, REAL x4, REAL y4) {
  if (!path) return InvalidParameter;
  Add(path, x1, y1, PathPointTypeLine);
  Add(path, x2, y2, PathPointTypeBezier);
  Add(path, x3, y3, PathPointTypeBezier);
  Add(path, x4, y4, PathPointTypeBezier);
  return Ok;
}

GpStatus GdipAddPathCurve(GpPath* path, const GpPointF* points, INT count) {
  return AddCurve(path, points, count, 0.5f);
}

GpStatus GdipAddPathCurveI(GpPath* path, const GpPoint* points, INT count) {
  return AddCurve(path, points, count, 0.5f);
}

GpStatus GdipAddPathCurve2(GpPath* path, const GpPointF* points, INT count, REAL tension) {
  return AddCurve(path, points, count, tension);
}

GpStatus GdipAddPathCurve2I(GpPath* path, const GpPoint* points, INT count, REAL tension) {
  return AddCurve(path, points, count, tension);
}
