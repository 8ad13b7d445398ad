// Path gradients, which Qt has no counterpart for: each pixel takes its place on the ray from
// the centre point to the boundary and blends the centre colour into the boundary's colour.
#include <QImage>
#include <cmath>

#include "platform/gdiplus/GdiPlus_p.h"

namespace {

struct TRgba {
  double a, r, g, b;
};

TRgba Split(ARGB c) { return {double(c >> 24), double((c >> 16) & 0xFF), double((c >> 8) & 0xFF), double(c & 0xFF)}; }

TRgba Mix(const TRgba& x, const TRgba& y, double t) {
  return {x.a + (y.a - x.a) * t, x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t};
}

TRgba FromStops(const std::vector<std::pair<REAL, ARGB>>& stops, double pos) {
  for (size_t i = 1; i < stops.size(); ++i)
    if (pos <= stops[i].first) {
      double span = stops[i].first - stops[i - 1].first;
      double t = span > 0 ? (pos - stops[i - 1].first) / span : 1;
      return Mix(Split(stops[i - 1].second), Split(stops[i].second), t);
    }
  return Split(stops.back().second);
}

// The area centroid of a polygon (the mean of its vertices when it has no area).
QPointF Centroid(const QPolygonF& poly) {
  double a = 0, cx = 0, cy = 0;
  for (int i = 0; i < poly.size(); ++i) {
    QPointF p = poly[i], q = poly[(i + 1) % poly.size()];
    double cross = p.x() * q.y() - q.x() * p.y();
    a += cross;
    cx += (p.x() + q.x()) * cross;
    cy += (p.y() + q.y()) * cross;
  }
  if (std::fabs(a) < 1e-9) {
    QPointF sum;
    for (const QPointF& p : poly) sum += p;
    return poly.isEmpty() ? QPointF() : sum / poly.size();
  }
  return QPointF(cx / (3 * a), cy / (3 * a));
}

TPathGradient* Cast(GpPathGradient* brush) { return dynamic_cast<TPathGradient*>(brush); }

}  // namespace

QBrush TPathGradient::ToQBrush() const {
  const QRect box = boundary.boundingRect().toAlignedRect();
  QImage img(std::max(1, box.width()), std::max(1, box.height()), QImage::Format_ARGB32);
  const int n = boundary.size();
  // Boundary colours per vertex: the surround colours when the polygon keeps the path's points.
  auto vertexColour = [&](int i) {
    if (surround.empty()) return Split(0xFFFFFFFF);
    if (n != pointCount) return Split(surround[0]);
    return Split(surround[std::min<size_t>(i, surround.size() - 1)]);
  };
  for (int y = 0; y < img.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < img.width(); ++x) {
      // Pixel centres: GDI+ samples at whole coordinates.
      const QPointF p(box.x() + x, box.y() + y);
      const QPointF d = p - centerPoint;
      // Nearest boundary crossing of the ray centre + s * d (s > 0).
      double best = 1e300;
      TRgba edge = Split(surround.empty() ? 0xFFFFFFFF : surround[0]);
      for (int i = 0; i < n; ++i) {
        const QPointF a = boundary[i], b = boundary[(i + 1) % n], e = b - a;
        const double den = d.x() * e.y() - d.y() * e.x();
        if (std::fabs(den) < 1e-12) continue;
        const QPointF w = a - centerPoint;
        const double s = (w.x() * e.y() - w.y() * e.x()) / den;
        const double u = (w.x() * d.y() - w.y() * d.x()) / den;
        if (s > 1e-9 && u >= -1e-9 && u <= 1 + 1e-9 && s < best) {
          best = s;
          edge = Mix(vertexColour(i), vertexColour((i + 1) % n), std::clamp(u, 0.0, 1.0));
        }
      }
      // t: 0 at the centre, 1 on the boundary.
      const double t = best >= 1e300 ? 0 : std::min(1.0, 1.0 / best);
      const TRgba c = preset.empty() ? Mix(Split(center), edge, t) : FromStops(preset, 1 - t);
      line[x] = qRgba(int(std::lround(c.r)), int(std::lround(c.g)), int(std::lround(c.b)), int(std::lround(c.a)));
    }
  }
  QBrush brush(img);
  // Image pixel (0, 0) is the sample at the box's corner, which the graphics' half-pixel shift
  // puts at the pixel's centre.
  brush.setTransform(QTransform::fromTranslate(box.x() - 0.5, box.y() - 0.5));
  return brush;
}

GpStatus GdipCreatePathGradientFromPath(const GpPath* path, GpPathGradient** brush) {
  if (!path || !brush) return InvalidParameter;
  const QList<QPolygonF> polys = path->ToQPath().toSubpathPolygons();
  if (path->points.size() < 2 || polys.isEmpty()) return OutOfMemory;
  auto* b = new TPathGradient;
  b->boundary = polys.front();
  if (b->boundary.size() > 1 && b->boundary.front() == b->boundary.back()) b->boundary.removeLast();
  b->pointCount = static_cast<INT>(path->points.size());
  b->surround = {0xFFFFFFFF};
  b->centerPoint = Centroid(b->boundary);
  *brush = b;
  return Ok;
}

GpStatus GdipGetPathGradientCenterColor(GpPathGradient* brush, ARGB* color) {
  if (!Cast(brush) || !color) return InvalidParameter;
  *color = Cast(brush)->center;
  return Ok;
}

GpStatus GdipSetPathGradientCenterColor(GpPathGradient* brush, ARGB color) {
  if (!Cast(brush)) return InvalidParameter;
  Cast(brush)->center = color;
  return Ok;
}

GpStatus GdipGetPathGradientPointCount(GpPathGradient* brush, INT* count) {
  if (!Cast(brush) || !count) return InvalidParameter;
  *count = Cast(brush)->pointCount;
  return Ok;
}

GpStatus GdipGetPathGradientSurroundColorCount(GpPathGradient* brush, INT* count) {
  if (!Cast(brush) || !count) return InvalidParameter;
  *count = static_cast<INT>(Cast(brush)->surround.size());
  return Ok;
}

GpStatus GdipGetPathGradientSurroundColorsWithCount(GpPathGradient* brush, ARGB* colors, INT* count) {
  TPathGradient* b = Cast(brush);
  if (!b || !colors || !count) return InvalidParameter;
  if (*count < static_cast<INT>(b->surround.size())) return InsufficientBuffer;
  std::copy(b->surround.begin(), b->surround.end(), colors);
  *count = static_cast<INT>(b->surround.size());
  return Ok;
}

GpStatus GdipSetPathGradientSurroundColorsWithCount(GpPathGradient* brush, const ARGB* colors, INT* count) {
  TPathGradient* b = Cast(brush);
  if (!b || !colors || !count || *count <= 0 || *count > b->pointCount) return InvalidParameter;
  b->surround.assign(colors, colors + *count);
  return Ok;
}

GpStatus GdipGetPathGradientCenterPoint(GpPathGradient* brush, GpPointF* point) {
  if (!Cast(brush) || !point) return InvalidParameter;
  *point = GpPointF{REAL(Cast(brush)->centerPoint.x()), REAL(Cast(brush)->centerPoint.y())};
  return Ok;
}

GpStatus GdipGetPathGradientCenterPointI(GpPathGradient* brush, GpPoint* point) {
  if (!Cast(brush) || !point) return InvalidParameter;
  const QPointF c = Cast(brush)->centerPoint;
  *point = GpPoint{INT(std::lround(c.x())), INT(std::lround(c.y()))};
  return Ok;
}

GpStatus GdipSetPathGradientCenterPoint(GpPathGradient* brush, const GpPointF* point) {
  if (!Cast(brush) || !point) return InvalidParameter;
  Cast(brush)->centerPoint = QPointF(point->X, point->Y);
  return Ok;
}

GpStatus GdipSetPathGradientCenterPointI(GpPathGradient* brush, const GpPoint* point) {
  if (!Cast(brush) || !point) return InvalidParameter;
  Cast(brush)->centerPoint = QPointF(point->X, point->Y);
  return Ok;
}

GpStatus GdipSetPathGradientWrapMode(GpPathGradient* brush, GpWrapMode wrapMode) {
  if (!Cast(brush) || wrapMode < WrapModeTile || wrapMode > WrapModeClamp) return InvalidParameter;
  Cast(brush)->wrap = wrapMode;
  return Ok;
}

GpStatus GdipSetPathGradientGammaCorrection(GpPathGradient* brush, BOOL useGammaCorrection) {
  if (!Cast(brush)) return InvalidParameter;
  Cast(brush)->gamma = useGammaCorrection != 0;
  return Ok;
}

GpStatus GdipSetPathGradientPresetBlend(GpPathGradient* brush, const ARGB* blend, const REAL* positions, INT count) {
  TPathGradient* b = Cast(brush);
  if (!b || !ReadBlend(blend, positions, count, b->preset)) return InvalidParameter;
  return Ok;
}
