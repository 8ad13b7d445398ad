// Path gradients, which Qt has no counterpart for: each pixel takes its place on the ray from
// the centre point to the boundary and blends the centre colour into the boundary's colour.
#include <QImage>
#include <QPainter>
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

// The boundary as seen from the centre point: where a ray from the centre leaves it.
class TRays {
 public:
  TRays(const QPolygonF& boundary, QPointF centre) {
    const int n = boundary.size();
    edges.reserve(n);
    int positive = 0, negative = 0, winding = 0;
    for (int i = 0; i < n; ++i) {
      const QPointF a = boundary[i] - centre, b = boundary[(i + 1) % n] - centre;
      TEdge e{a.x(), a.y(), b.x() - a.x(), b.y() - a.y(), 0, 0, 1, 0, 0, 0};
      e.k = e.ax * e.ey - e.ay * e.ex;
      e.sign = e.k < 0 ? -1 : 1;
      e.inverseK = e.k != 0 ? 1 / std::fabs(e.k) : 0;
      const double stepDen = e.sign * e.ey, stepNum = -e.sign * e.ay;
      e.runDen = stepDen != 0 ? -1 / stepDen : 0;
      e.runNum = stepNum != 0 ? -1 / stepNum : 0;
      e.runEnd = stepNum != stepDen ? 1 / (stepNum - stepDen) : 0;
      positive += e.k > 0;
      negative += e.k < 0;
      // Winding number of the boundary round the centre: crossings of the half-line x > 0.
      if (a.y() <= 0 && b.y() > 0 && e.k > 0) ++winding;
      if (a.y() > 0 && b.y() <= 0 && e.k < 0) --winding;
      edges.push_back(e);
    }
    // Every edge turning the same way around the centre, once round: each ray leaves through
    // exactly one edge, and neighbouring rays through the same or a neighbouring edge.
    star = n >= 3 && (positive == n || negative == n) && std::abs(winding) == 1;
  }

  // A ray's crossing with an edge: den and num (signed so that den > 0 ahead) give the place
  // on the edge, num / den, and the fraction of the way out, den / |k|. Both change by a fixed
  // step from one pixel to the next along a row.
  struct TCrossing {
    int edge = -1;
    double den = 0, num = 0, stepDen = 0, stepNum = 0;
  };

  // Finds where the ray d leaves (the crossing's edge is the hint where to look first); false
  // when it leaves through no edge.
  bool Find(double dx, double dy, TCrossing& c) const {
    if (star && Walk(dx, dy, c)) return true;
    return Scan(dx, dy, c);
  }

  // How many of the next pixels along the row (at most limit) leave through the same edge, the
  // edge being sure to be the nearest; rounded down, so the run never goes past the edge. next:
  // the edge the pixel after the run most likely leaves through, where to look for it first.
  int Run(const TCrossing& c, int limit, int& next) const {
    next = c.edge;
    if (!star) return 0;
    double run = limit;
    // den + k * stepDen > 0, num + k * stepNum >= 0, num + k * stepNum <= den + k * stepDen;
    // the run ends before the start of the edge (on to the previous one) or past its end.
    const TEdge& e = edges[c.edge];
    const int n = int(edges.size());
    if (c.stepDen < 0) run = std::min(run, c.den * e.runDen - 1e-9);
    if (c.stepNum < 0 && c.num * e.runNum < run) {
      run = c.num * e.runNum;
      next = (c.edge + n - 1) % n;
    }
    if (c.stepNum > c.stepDen && (c.den - c.num) * e.runEnd < run) {
      run = (c.den - c.num) * e.runEnd;
      next = (c.edge + 1) % n;
    }
    return run > 0 ? int(run) : 0;
  }

  // t and u of the pixel k steps on along the row.
  double T(const TCrossing& c, int k = 0) const { return (c.den + k * c.stepDen) * edges[c.edge].inverseK; }
  double U(const TCrossing& c, int k = 0) const {
    return std::clamp((c.num + k * c.stepNum) / (c.den + k * c.stepDen), 0.0, 1.0);
  }

 private:
  struct TEdge {
    double ax, ay, ex, ey;  // the edge's start from the centre, and its direction
    double k;               // their cross product
    double inverseK;        // 1 / |k|
    int sign;               // of k
    // Reciprocals of the steps along a row that bound a run: -1 / stepDen, -1 / stepNum,
    // 1 / (stepNum - stepDen).
    double runDen, runNum, runEnd;
  };

  // -1 before the edge's start, 0 on it, 1 past its end; 2 when the ray does not meet it ahead.
  static int Place(double den, double num) {
    if (den < 1e-12) return 2;
    const double slack = 1e-9 * den;
    return num < -slack ? -1 : num > den + slack ? 1 : 0;
  }

  int Cross(int i, double dx, double dy, TCrossing& c) const {
    const TEdge& e = edges[i];
    c.edge = i;
    c.den = e.sign * (dx * e.ey - dy * e.ex);
    c.num = e.sign * (e.ax * dy - e.ay * dx);
    c.stepDen = e.sign * e.ey;
    c.stepNum = -e.sign * e.ay;
    return Place(c.den, c.num);
  }

  // The nearest crossing over all edges.
  bool Scan(double dx, double dy, TCrossing& c) const {
    bool found = false;
    TCrossing best;
    for (int i = 0; i < int(edges.size()); ++i) {
      TCrossing at;
      if (Cross(i, dx, dy, at) == 0 && (!found || T(at) > T(best))) {
        found = true;
        best = at;
      }
    }
    if (found) c = best;
    return found;
  }

  // From the edge of the previous ray on to the neighbouring edges until one is crossed.
  bool Walk(double dx, double dy, TCrossing& c) const {
    const int n = int(edges.size());
    int i = c.edge >= 0 && c.edge < n ? c.edge : 0;
    for (int step = 0; step < n; ++step) {
      switch (Cross(i, dx, dy, c)) {
        case -1: i = (i + n - 1) % n; break;
        case 1: i = (i + 1) % n; break;
        case 0: return true;
        default: return false;
      }
    }
    return false;
  }

  std::vector<TEdge> edges;
  bool star = false;
};

}  // namespace

void TPathGradient::Shade(QImage& img, QPointF origin, bool coverage) const {
  const int n = boundary.size();
  // Boundary colours per vertex: the surround colours when the polygon keeps the path's points.
  std::vector<TRgba> vertex(n, Split(surround.empty() ? 0xFFFFFFFF : surround[0]));
  if (n == pointCount)
    for (int i = 0; i < n && !surround.empty(); ++i) vertex[i] = Split(surround[std::min<size_t>(i, surround.size() - 1)]);
  bool oneEdgeColour = true;
  for (const TRgba& v : vertex)
    oneEdgeColour &= v.a == vertex[0].a && v.r == vertex[0].r && v.g == vertex[0].g && v.b == vertex[0].b;
  const TRgba centre = Split(center);
  const TRgba edgeColour = n ? vertex[0] : centre;
  // The colour at t (0 centre, 1 boundary) from the edge colour out, premultiplied and scaled by
  // a pixel's coverage.
  auto colourAt = [&](const TRgba& out, double t, int cover) {
    const TRgba col = preset.empty() ? Mix(centre, out, t) : FromStops(preset, 1 - t);
    constexpr double kByte = 1.0 / 255;
    const double alpha = col.a * cover * kByte;
    const double scale = alpha * kByte;
    return qRgba(int(col.r * scale + 0.5), int(col.g * scale + 0.5), int(col.b * scale + 0.5), int(alpha + 0.5));
  };
  // With one colour all round, the colour depends on t alone: looked up in 256 steps.
  constexpr int kSteps = 255;
  QRgb table[kSteps + 1];
  if (oneEdgeColour)
    for (int i = 0; i <= kSteps; ++i) {
      const TRgba col = preset.empty() ? Mix(centre, edgeColour, double(i) / kSteps) : FromStops(preset, 1 - double(i) / kSteps);
      // Opaque colours need no premultiplying.
      table[i] = col.a == 255 ? qRgb(int(col.r + 0.5), int(col.g + 0.5), int(col.b + 0.5))
                              : colourAt(edgeColour, double(i) / kSteps, 255);
    }
  const TRays rays(boundary, centerPoint);
  const int w = img.width();
  TRays::TCrossing c;
  int rowStart = -1;  // the edge of the previous row's first crossing: where the next row's starts
  for (int y = 0; y < img.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    const double dy = origin.y() + y - centerPoint.y();
    const double dx0 = origin.x() - centerPoint.x();
    bool first = true;
    for (int x = 0; x < w;) {
      if (coverage && qAlpha(line[x]) == 0) {
        ++x;
        continue;
      }
      const double dx = dx0 + x;
      // t: 0 at the centre, 1 on the boundary; the pixels of a run share the crossing's edge.
      if (first) c.edge = rowStart;
      const bool crossing = (dx != 0 || dy != 0) && rays.Find(dx, dy, c);
      if (first && crossing) rowStart = c.edge;
      first = false;
      int next = c.edge;
      const int run = crossing ? rays.Run(c, w - 1 - x, next) : 0;
      if (oneEdgeColour) {
        // The table index steps by a fixed amount along the run.
        double index = crossing ? rays.T(c) * kSteps + 0.5 : 0.5;
        const double step = crossing ? rays.T(c, 1) * kSteps + 0.5 - index : 0.0;
        for (int k = 0; k <= run; ++k, ++x, index += step) {
          const int cover = coverage ? qAlpha(line[x]) : 255;
          if (cover == 255) line[x] = table[index < kSteps ? int(index) : kSteps];
          else if (cover != 0) line[x] = colourAt(edgeColour, std::min(1.0, (index - 0.5) / kSteps), cover);
        }
        c.edge = next;
        continue;
      }
      for (int k = 0; k <= run; ++k, ++x) {
        const int cover = coverage ? qAlpha(line[x]) : 255;
        if (cover == 0) continue;
        const double t = crossing ? std::min(1.0, rays.T(c, k)) : 0.0;
        line[x] = colourAt(crossing ? Mix(vertex[c.edge], vertex[(c.edge + 1) % n], rays.U(c, k)) : edgeColour, t, cover);
      }
      c.edge = next;
    }
  }
}

QBrush TPathGradient::ToQBrush() const {
  const QRect box = boundary.boundingRect().toAlignedRect();
  // Made premultiplied, the form Qt paints from, so it is not converted on every fill.
  QImage img(std::max(1, box.width()), std::max(1, box.height()), QImage::Format_ARGB32_Premultiplied);
  // Pixel centres: GDI+ samples at whole coordinates.
  Shade(img, QPointF(box.x(), box.y()), false);
  QBrush brush(img);
  // Image pixel (0, 0) is the sample at the box's corner, which the graphics' half-pixel shift
  // puts at the pixel's centre.
  brush.setTransform(QTransform::fromTranslate(box.x() - 0.5, box.y() - 0.5));
  return brush;
}

bool TPathGradient::FillArea(QPainter& p, const QPainterPath& area) const {
  // Drawn straight onto device pixels when the world maps onto them by a shift alone (a fill
  // with a texture brush costs many times more); other transforms take the image brush.
  const QTransform t = p.combinedTransform();
  if (t.type() > QTransform::TxTranslate) return false;
  // Device pixel (i, j) samples the whole world point nearest its centre (i + 0.5, j + 0.5)
  // (aliased drawing shifts the world a little less than half a pixel to break ties): i + ox.
  const int ox = int(std::round(0.5 - t.dx())), oy = int(std::round(0.5 - t.dy()));
  // The pixels the area touches whose samples lie within the boundary's bounds.
  const QRectF bounds = boundary.boundingRect();
  const QRect inBounds(QPoint(int(std::ceil(bounds.left())) - ox, int(std::ceil(bounds.top())) - oy),
                       QPoint(int(std::floor(bounds.right())) - ox, int(std::floor(bounds.bottom())) - oy));
  const QRect device(0, 0, p.device()->width(), p.device()->height());
  const QRect dev = t.map(area).boundingRect().toAlignedRect().intersected(device).intersected(inBounds);
  if (dev.isEmpty()) return true;
  // The area's coverage of each of those pixels, in the alpha channel.
  QImage img(dev.size(), QImage::Format_ARGB32_Premultiplied);
  img.fill(0);
  {
    QPainter mask(&img);
    mask.setRenderHint(QPainter::Antialiasing, p.testRenderHint(QPainter::Antialiasing));
    mask.setTransform(t * QTransform::fromTranslate(-dev.x(), -dev.y()));
    mask.fillPath(area, Qt::white);
  }
  Shade(img, QPointF(dev.x() + ox, dev.y() + oy), true);
  p.save();
  p.resetTransform();
  p.drawImage(dev.topLeft(), img);
  p.restore();
  return true;
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
