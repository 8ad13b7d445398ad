// GDI drawing: lines, shapes, fills, pixels, flood fill and blits with raster operations.
// Shapes follow GDI's pixel rules: the right and bottom edges are exclusive, the outline lies
// inside the rectangle and LineTo leaves its end pixel.
#include <QPaintEngine>
#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/win/Gdi_p.h"

namespace gdi {

QRect EdgeRect(int l, int t, int r, int b) {
  if (r < l) std::swap(l, r);
  if (b < t) std::swap(t, b);
  return QRect(l, t, r - l, b - t);
}

static bool HasRasterOps(QPainter* p) {
  return p->paintEngine() && p->paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
}

bool ApplyRop2(HDC dc, int rop2, QColor& color) {
  QPainter* p = dc->painter.get();
  using M = QPainter::CompositionMode;
  M mode = QPainter::CompositionMode_SourceOver;
  switch (rop2) {
    case R2_NOP: return false;
    case R2_BLACK: color = Qt::black; break;
    case R2_WHITE: color = Qt::white; break;
    case R2_NOTCOPYPEN: color = QColor(255 - color.red(), 255 - color.green(), 255 - color.blue()); break;
    case R2_XORPEN: mode = QPainter::RasterOp_SourceXorDestination; break;
    case R2_NOTXORPEN: mode = QPainter::RasterOp_NotSourceXorDestination; break;
    case R2_NOT: mode = QPainter::RasterOp_NotDestination; break;
    case R2_MASKPEN: mode = QPainter::RasterOp_SourceAndDestination; break;
    case R2_MERGEPEN: mode = QPainter::RasterOp_SourceOrDestination; break;
    case R2_NOTMERGEPEN: mode = QPainter::RasterOp_NotSourceAndNotDestination; break;
    case R2_MASKNOTPEN: mode = QPainter::RasterOp_NotSourceAndDestination; break;
    case R2_MASKPENNOT: mode = QPainter::RasterOp_SourceAndNotDestination; break;
    case R2_NOTMASKPEN: mode = QPainter::RasterOp_NotSourceOrNotDestination; break;
    case R2_MERGENOTPEN: mode = QPainter::RasterOp_NotSourceOrDestination; break;
    case R2_MERGEPENNOT: mode = QPainter::RasterOp_SourceOrNotDestination; break;
    default: break;
  }
  if (mode != QPainter::CompositionMode_SourceOver && !HasRasterOps(p)) mode = QPainter::CompositionMode_SourceOver;
  p->setCompositionMode(mode);
  return true;
}

static const QList<qreal>* DashPattern(int style) {
  static const QList<qreal> dash{18, 6}, dot{3, 3}, dashDot{9, 6, 3, 6}, dashDotDot{9, 3, 3, 3, 3, 3};
  switch (style) {
    case PS_DASH: return &dash;
    case PS_DOT: return &dot;
    case PS_DASHDOT: return &dashDot;
    case PS_DASHDOTDOT: return &dashDotDot;
    default: return nullptr;
  }
}

bool MakePen(HDC dc, QPen& out, QColor& color, int& width) {
  HGDIOBJ pen = dc->state.pen;
  int style = pen->penStyle & PS_STYLE_MASK;
  if (style == PS_NULL) return false;
  color = ToQColor(static_cast<TColor>(pen->dcBrush ? dc->state.dcPenColor : pen->penColor));
  width = std::max(pen->penWidth, 1);
  const QList<qreal>* dashes = width == 1 ? DashPattern(style) : nullptr;
  if (width == 1) {
    out = QPen(color, 0);
    out.setCapStyle(Qt::FlatCap);  // cosmetic flat-capped lines leave the end pixel, as GDI does
  } else {
    out = QPen(color, width);
    out.setCapStyle(Qt::RoundCap);
    out.setJoinStyle(Qt::RoundJoin);
  }
  if (dashes) out.setDashPattern(*dashes);
  return true;
}

static Qt::BrushStyle HatchStyle(int hatch) {
  switch (hatch) {
    case HS_HORIZONTAL: return Qt::HorPattern;
    case HS_VERTICAL: return Qt::VerPattern;
    case HS_FDIAGONAL: return Qt::FDiagPattern;
    case HS_BDIAGONAL: return Qt::BDiagPattern;
    case HS_CROSS: return Qt::CrossPattern;
    default: return Qt::DiagCrossPattern;
  }
}

bool MakeBrush(HDC dc, HBRUSH brush, QBrush& out) {
  uintptr_t raw = reinterpret_cast<uintptr_t>(brush);
  QPainter* p = dc->painter.get();
  if (raw >= 1 && raw <= 64) {  // (HBRUSH)(COLOR_xxx + 1)
    out = QBrush(ToQColor(static_cast<TColor>(GetSysColor(static_cast<int>(raw - 1)))));
    return true;
  }
  if (!brush || brush->kind != HGDIOBJ__::Brush) return false;
  p->setBackground(ToQColor(static_cast<TColor>(dc->state.bkColor)));
  p->setBackgroundMode(dc->state.bkMode == OPAQUE ? Qt::OpaqueMode : Qt::TransparentMode);
  p->setBrushOrigin(QPoint(dc->state.brushOrg.X, dc->state.brushOrg.Y) - dc->Offset());
  switch (brush->brushStyle) {
    case BS_NULL: return false;
    case BS_HATCHED:
      out = QBrush(ToQColor(static_cast<TColor>(brush->brushColor)), HatchStyle(brush->hatch));
      return true;
    case BS_PATTERN: {
      QImage pat = brush->pattern;
      if (brush->monochrome) {  // monochrome patterns take the DC's text and background colours
        pat = pat.copy();
        QRgb fg = ToQColor(static_cast<TColor>(dc->state.textColor)).rgb();
        QRgb bg = ToQColor(static_cast<TColor>(dc->state.bkColor)).rgb();
        for (int y = 0; y < pat.height(); ++y)
          for (int x = 0; x < pat.width(); ++x) pat.setPixel(x, y, (pat.pixel(x, y) & 0xFFFFFF) ? bg : fg);
      }
      out = QBrush(pat);
      return true;
    }
    default:
      out = QBrush(ToQColor(static_cast<TColor>(brush->dcBrush ? dc->state.dcBrushColor : brush->brushColor)));
      return true;
  }
}

}  // namespace gdi

using namespace gdi;

namespace {

// Fills r with the DC's brush under the DC's ROP2.
void FillWithBrushRop(HDC dc, const QRect& r) {
  if (r.isEmpty()) return;
  QBrush b;
  if (!MakeBrush(dc, dc->state.brush, b)) return;
  QColor c = b.color();
  if (!ApplyRop2(dc, dc->state.rop2, c)) return;
  if (b.style() == Qt::SolidPattern) b.setColor(c);
  dc->painter->fillRect(r, b);
}

// Prepares the painter's pen (and brush when fill is set) for a shape under the ROP2.
// Returns false when nothing at all is to be drawn.
bool PrepareShape(HDC dc, bool fill, bool& hasPen, int& width) {
  QPainter* p = dc->painter.get();
  QPen pen;
  QColor pc;
  hasPen = MakePen(dc, pen, pc, width);
  QBrush brush;
  bool hasBrush = fill && MakeBrush(dc, dc->state.brush, brush);
  if (!hasPen && !hasBrush) return false;
  QColor probe = Qt::black;
  if (!ApplyRop2(dc, dc->state.rop2, probe)) return false;
  if (hasPen) {
    QColor c = pc;
    ApplyRop2(dc, dc->state.rop2, c);
    pen.setColor(c);
    p->setPen(pen);
  } else {
    p->setPen(Qt::NoPen);
  }
  if (hasBrush) {
    QColor c = brush.color();
    ApplyRop2(dc, dc->state.rop2, c);
    if (brush.style() == Qt::SolidPattern) brush.setColor(c);
    p->setBrush(brush);
  } else {
    p->setBrush(Qt::NoBrush);
  }
  return true;
}

// The rectangle to give Qt for curved shapes, so that they never pass the exclusive right and
// bottom edges (Qt's ellipse may end one pixel short of GDI's there).
QRectF ShapeRect(int l, int t, int r, int b, bool) {
  QRect q = EdgeRect(l, t, r, b);
  return QRectF(q.left(), q.top(), q.width() - 1, q.height() - 1);
}

double AngleOf(const QRectF& r, int x, int y) {
  QPointF c = r.center();
  double a = std::atan2(-(y - c.y()), x - c.x()) * 180.0 / M_PI;
  return a;
}

enum TArcKind { akArc, akPie, akChord };

BOOL ArcShape(HDC dc, TArcKind kind, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  if (!DCPainter(dc)) return 0;
  bool hasPen;
  int width;
  if (!PrepareShape(dc, kind != akArc, hasPen, width)) return 1;
  QRectF rect = ShapeRect(l, t, r, b, hasPen);
  if (rect.width() < 0 || rect.height() < 0) return 1;
  double a1 = AngleOf(rect, xs, ys);
  double a2 = AngleOf(rect, xe, ye);
  double span = a2 - a1;
  while (span <= 0) span += 360;
  int start = static_cast<int>(std::lround(a1 * 16));
  int len = static_cast<int>(std::lround(span * 16));
  QPainter* p = dc->painter.get();
  switch (kind) {
    case akArc: p->drawArc(rect, start, len); break;
    case akPie: p->drawPie(rect, start, len); break;
    case akChord: p->drawChord(rect, start, len); break;
  }
  return 1;
}

// A thin pen's pixels fall right of its line: on a mirrored DC a line is drawn a logical pixel
// on, so that it covers the pixels that mirror those of the same line unmirrored.
struct TMirroredPen {
  QPainter* P;
  bool On;
  explicit TMirroredPen(HDC dc) : P(dc->painter.get()), On(dc->mirrorAxis != 0) {
    if (On) P->translate(1, 0);
  }
  ~TMirroredPen() {
    if (On) P->translate(-1, 0);
  }
};

QPolygon ToPolygon(const POINT* points, int count) {
  QPolygon poly;
  poly.reserve(count);
  for (int i = 0; i < count; ++i) poly << QPoint(points[i].X, points[i].Y);
  return poly;
}

}  // namespace

BOOL LineTo(HDC dc, int x, int y) {
  if (!DCPainter(dc)) return 0;
  QPoint from(dc->state.pos.X, dc->state.pos.Y);
  dc->state.pos = POINT(x, y);
  bool hasPen;
  int width;
  if (!PrepareShape(dc, false, hasPen, width) || !hasPen) return 1;
  TMirroredPen mirrored(dc);
  dc->painter->drawLine(from, QPoint(x, y));
  return 1;
}

BOOL Polyline(HDC dc, const POINT* points, int count) {
  if (!DCPainter(dc) || !points || count < 2) return 0;
  bool hasPen;
  int width;
  if (!PrepareShape(dc, false, hasPen, width) || !hasPen) return 1;
  TMirroredPen mirrored(dc);
  dc->painter->drawPolyline(ToPolygon(points, count));
  return 1;
}

BOOL PolylineTo(HDC dc, const POINT* points, DWORD count) {
  if (!DCPainter(dc) || !points || count == 0) return 0;
  std::vector<POINT> all;
  all.push_back(dc->state.pos);
  all.insert(all.end(), points, points + count);
  Polyline(dc, all.data(), static_cast<int>(all.size()));
  dc->state.pos = points[count - 1];
  return 1;
}

BOOL PolyPolyline(HDC dc, const POINT* points, const DWORD* counts, DWORD polylines) {
  if (!DCPainter(dc) || !points || !counts) return 0;
  for (DWORD i = 0; i < polylines; ++i) {
    Polyline(dc, points, static_cast<int>(counts[i]));
    points += counts[i];
  }
  return 1;
}

BOOL Polygon(HDC dc, const POINT* points, int count) {
  if (!DCPainter(dc) || !points || count < 2) return 0;
  bool hasPen;
  int width;
  if (!PrepareShape(dc, true, hasPen, width)) return 1;
  dc->painter->drawPolygon(ToPolygon(points, count),
                           dc->state.polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
  return 1;
}

BOOL PolyPolygon(HDC dc, const POINT* points, const int* counts, int polygons) {
  if (!DCPainter(dc) || !points || !counts) return 0;
  for (int i = 0; i < polygons; ++i) {
    Polygon(dc, points, counts[i]);
    points += counts[i];
  }
  return 1;
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) {
  if (!DCPainter(dc)) return 0;
  QRect r = EdgeRect(left, top, right, bottom);
  QPen pen;
  QColor pc;
  int w = 1;
  bool hasPen = MakePen(dc, pen, pc, w);
  if (!hasPen) {
    FillWithBrushRop(dc, r.adjusted(0, 0, -1, -1));
    return 1;
  }
  if (r.isEmpty()) return 1;
  FillWithBrushRop(dc, r.adjusted(w, w, -w, -w));
  QPainter* p = dc->painter.get();
  if (!ApplyRop2(dc, dc->state.rop2, pc)) return 1;
  if ((dc->state.pen->penStyle & PS_STYLE_MASK) == PS_SOLID || (dc->state.pen->penStyle & PS_STYLE_MASK) == PS_INSIDEFRAME ||
      w > 1) {
    // Four non-overlapping bands, so that XOR outlines touch every pixel once.
    int bw = std::min(w, r.height());
    int sw = std::min(w, r.width());
    p->fillRect(QRect(r.left(), r.top(), r.width(), bw), pc);
    if (r.height() > bw) p->fillRect(QRect(r.left(), r.bottom() + 1 - std::min(w, r.height() - bw), r.width(), std::min(w, r.height() - bw)), pc);
    int innerTop = r.top() + w, innerH = r.height() - 2 * w;
    if (innerH > 0) {
      p->fillRect(QRect(r.left(), innerTop, sw, innerH), pc);
      if (r.width() > sw) p->fillRect(QRect(r.right() + 1 - std::min(w, r.width() - sw), innerTop, std::min(w, r.width() - sw), innerH), pc);
    }
  } else {
    pen.setColor(pc);
    p->setPen(pen);
    p->setBrush(Qt::NoBrush);
    QPolygon outline;
    outline << r.topLeft() << QPoint(r.right(), r.top()) << r.bottomRight() << QPoint(r.left(), r.bottom())
            << r.topLeft();
    p->drawPolyline(outline);
  }
  return 1;
}

BOOL Ellipse(HDC dc, int left, int top, int right, int bottom) {
  if (!DCPainter(dc)) return 0;
  bool hasPen;
  int width;
  if (!PrepareShape(dc, true, hasPen, width)) return 1;
  QRectF r = ShapeRect(left, top, right, bottom, hasPen);
  if (r.width() < 0 || r.height() < 0) return 1;
  dc->painter->drawEllipse(r);
  return 1;
}

BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int width, int height) {
  if (!DCPainter(dc)) return 0;
  bool hasPen;
  int penWidth;
  if (!PrepareShape(dc, true, hasPen, penWidth)) return 1;
  QRect r = EdgeRect(left, top, right, bottom);
  r = QRect(r.left(), r.top(), r.width() - 1, r.height() - 1);
  if (r.width() < 0 || r.height() < 0) return 1;
  double rx = std::min(std::abs(width) / 2.0, r.width() / 2.0);
  double ry = std::min(std::abs(height) / 2.0, r.height() / 2.0);
  if (rx < 1 || ry < 1)
    dc->painter->drawRect(r);
  else
    dc->painter->drawRoundedRect(QRectF(r), rx, ry, Qt::AbsoluteSize);
  return 1;
}

BOOL Arc(HDC dc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  return ArcShape(dc, akArc, l, t, r, b, xs, ys, xe, ye);
}
BOOL Pie(HDC dc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  return ArcShape(dc, akPie, l, t, r, b, xs, ys, xe, ye);
}
BOOL Chord(HDC dc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  return ArcShape(dc, akChord, l, t, r, b, xs, ys, xe, ye);
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
  if (!DCPainter(dc) || !rect) return 0;
  QBrush b;
  if (!MakeBrush(dc, brush, b)) return 1;
  dc->painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
  QRect r = EdgeRect(rect->Left, rect->Top, rect->Right, rect->Bottom);
  if (rect->Right <= rect->Left || rect->Bottom <= rect->Top) return 1;
  dc->painter->fillRect(r, b);
  return 1;
}

int FrameRect(HDC dc, const RECT* rect, HBRUSH brush) {
  if (!DCPainter(dc) || !rect) return 0;
  if (rect->Right <= rect->Left || rect->Bottom <= rect->Top) return 1;
  QBrush b;
  if (!MakeBrush(dc, brush, b)) return 1;
  QPainter* p = dc->painter.get();
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  QRect r = EdgeRect(rect->Left, rect->Top, rect->Right, rect->Bottom);
  p->fillRect(QRect(r.left(), r.top(), r.width(), 1), b);
  if (r.height() > 1) p->fillRect(QRect(r.left(), r.bottom(), r.width(), 1), b);
  if (r.height() > 2) {
    p->fillRect(QRect(r.left(), r.top() + 1, 1, r.height() - 2), b);
    if (r.width() > 1) p->fillRect(QRect(r.right(), r.top() + 1, 1, r.height() - 2), b);
  }
  return 1;
}

BOOL InvertRect(HDC dc, const RECT* rect) {
  if (!DCPainter(dc) || !rect) return 0;
  return PatBlt(dc, rect->Left, rect->Top, rect->Width(), rect->Height(), DSTINVERT);
}

BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop) {
  if (!DCPainter(dc)) return 0;
  QRect r = EdgeRect(x, y, x + width, y + height);
  if (r.isEmpty()) return 1;
  QPainter* p = dc->painter.get();
  bool ops = HasRasterOps(p);
  switch (rop) {
    case BLACKNESS:
    case WHITENESS:
      p->setCompositionMode(QPainter::CompositionMode_SourceOver);
      p->fillRect(r, rop == BLACKNESS ? Qt::black : Qt::white);
      return 1;
    case DSTINVERT:
      if (!ops) return 0;
      p->setCompositionMode(QPainter::RasterOp_NotDestination);
      p->fillRect(r, Qt::white);
      return 1;
    case PATCOPY:
    case PATINVERT: {
      QBrush b;
      if (!MakeBrush(dc, dc->state.brush, b)) return 1;
      p->setCompositionMode(rop == PATINVERT && ops ? QPainter::RasterOp_SourceXorDestination
                                                    : QPainter::CompositionMode_SourceOver);
      p->fillRect(r, b);
      return 1;
    }
    default: return 0;
  }
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
  if (!DCPainter(dc)) return CLR_INVALID;
  dc->painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
  dc->painter->fillRect(QRect(x, y, 1, 1), ToQColor(static_cast<TColor>(color & 0xFFFFFF)));
  return color & 0xFFFFFF;
}

BOOL SetPixelV(HDC dc, int x, int y, COLORREF color) { return SetPixel(dc, x, y, color) != CLR_INVALID; }

static COLORREF FromRgb(QRgb c) { return RGB(qRed(c), qGreen(c), qBlue(c)); }

COLORREF GetPixel(HDC dc, int x, int y) {
  if (!dc || !dc->image) return CLR_INVALID;
  QPoint p = QPoint(x, y) + dc->Offset();
  if (!dc->image->rect().contains(p)) return CLR_INVALID;
  if (dc->state.hasClip && !dc->state.clip.contains(p)) return CLR_INVALID;
  return FromRgb(dc->image->pixel(p));
}

BOOL ExtFloodFill(HDC dc, int x, int y, COLORREF color, UINT type) {
  if (!DCPainter(dc) || !dc->image) return 0;
  QImage& img = *dc->image;
  QPoint start = QPoint(x, y) + dc->Offset();
  QRegion area(img.rect());
  if (dc->state.hasClip) area = area.intersected(dc->state.clip);
  if (!area.contains(start)) return 0;
  color &= 0xFFFFFF;
  auto inside = [&](int px, int py) {
    COLORREF c = FromRgb(img.pixel(px, py));
    return type == FLOODFILLSURFACE ? c == color : c != color;
  };
  if (!inside(start.x(), start.y())) return 0;
  const int w = img.width(), h = img.height();
  std::vector<uint8_t> seen(static_cast<size_t>(w) * h, 0);
  std::vector<QRect> spans;
  std::vector<QPoint> stack{start};
  while (!stack.empty()) {
    QPoint s = stack.back();
    stack.pop_back();
    if (seen[static_cast<size_t>(s.y()) * w + s.x()] || !inside(s.x(), s.y()) || !area.contains(s)) continue;
    int l = s.x(), r = s.x();
    while (l > 0 && !seen[static_cast<size_t>(s.y()) * w + l - 1] && inside(l - 1, s.y()) && area.contains(QPoint(l - 1, s.y()))) --l;
    while (r < w - 1 && !seen[static_cast<size_t>(s.y()) * w + r + 1] && inside(r + 1, s.y()) && area.contains(QPoint(r + 1, s.y()))) ++r;
    for (int i = l; i <= r; ++i) seen[static_cast<size_t>(s.y()) * w + i] = 1;
    spans.emplace_back(l, s.y(), r - l + 1, 1);
    for (int ny : {s.y() - 1, s.y() + 1}) {
      if (ny < 0 || ny >= h) continue;
      for (int i = l; i <= r; ++i)
        if (!seen[static_cast<size_t>(ny) * w + i] && inside(i, ny)) stack.emplace_back(i, ny);
    }
  }
  QBrush b;
  if (!MakeBrush(dc, dc->state.brush, b)) return 1;
  dc->painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
  for (const QRect& s : spans) dc->painter->fillRect(s.translated(-dc->Offset()), b);
  return 1;
}

BOOL FloodFill(HDC dc, int x, int y, COLORREF color) { return ExtFloodFill(dc, x, y, color, FLOODFILLBORDER); }

// ---------------------------------------------------------------------------------------------
// Blits

namespace {

bool IsMono(HDC dc) { return dc->memoryDC && dc->state.bitmap && dc->state.bitmap->monochrome; }

// The source pixels of a blit in device coordinates, converted between monochrome and colour
// as GDI does: white source bits take the destination's background colour, black ones its text colour.
QImage SourcePixels(HDC src, HDC dst, QRect r) {
  QImage img = src->image->copy(r.translated(src->Offset()));
  if (img.format() != QImage::Format_RGB32) img = img.convertToFormat(QImage::Format_RGB32);
  bool srcMono = IsMono(src), dstMono = IsMono(dst);
  if (srcMono && !dstMono) {
    QRgb fg = ToQColor(static_cast<TColor>(dst->state.textColor)).rgb();
    QRgb bg = ToQColor(static_cast<TColor>(dst->state.bkColor)).rgb();
    for (int y = 0; y < img.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
      for (int x = 0; x < img.width(); ++x) line[x] = (line[x] & 0xFFFFFF) ? bg : fg;
    }
  } else if (!srcMono && dstMono) {
    QRgb bk = ToQColor(static_cast<TColor>(src->state.bkColor)).rgb() & 0xFFFFFF;
    for (int y = 0; y < img.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
      for (int x = 0; x < img.width(); ++x) line[x] = (line[x] & 0xFFFFFF) == bk ? 0xFFFFFFFF : 0xFF000000;
    }
  }
  return img;
}

// Applies a ternary raster operation bit by bit: result bit = rop bit (P << 2 | S << 1 | D).
void GeneralRop(HDC dst, const QRect& target, const QImage& source, DWORD rop) {
  if (!dst->image) return;
  QRect dev = target.translated(dst->Offset()).intersected(dst->image->rect());
  if (dev.isEmpty()) return;
  QBrush b;
  QRgb pat = 0;
  QImage patImage;
  if (MakeBrush(dst, dst->state.brush, b)) {
    if (b.style() == Qt::TexturePattern) patImage = b.textureImage().convertToFormat(QImage::Format_RGB32);
    pat = b.color().rgb();
  }
  uint8_t code = static_cast<uint8_t>((rop >> 16) & 0xFF);
  QImage result(dev.size(), QImage::Format_RGB32);
  QPoint srcOrigin = dev.topLeft() - target.translated(dst->Offset()).topLeft();
  for (int y = 0; y < dev.height(); ++y) {
    for (int x = 0; x < dev.width(); ++x) {
      uint32_t d = dst->image->pixel(dev.left() + x, dev.top() + y);
      uint32_t s = source.pixel(srcOrigin.x() + x, srcOrigin.y() + y);
      uint32_t p = pat;
      if (!patImage.isNull()) {
        int px = (dev.left() + x - dst->state.brushOrg.X) % patImage.width();
        int py = (dev.top() + y - dst->state.brushOrg.Y) % patImage.height();
        p = patImage.pixel((px + patImage.width()) % patImage.width(), (py + patImage.height()) % patImage.height());
      }
      uint32_t out = 0;
      for (int bit = 0; bit < 24; ++bit) {
        int idx = (((p >> bit) & 1) << 2) | (((s >> bit) & 1) << 1) | ((d >> bit) & 1);
        out |= static_cast<uint32_t>((code >> idx) & 1) << bit;
      }
      result.setPixel(x, y, 0xFF000000u | out);
    }
  }
  dst->painter->setCompositionMode(QPainter::CompositionMode_Source);
  dst->painter->drawImage(dev.topLeft() - dst->Offset(), result);
}

BOOL Compose(HDC dst, const QRect& target, const QImage& img, DWORD rop) {
  QPainter* p = dst->painter.get();
  bool ops = HasRasterOps(p);
  QPainter::CompositionMode mode;
  switch (rop) {
    case SRCCOPY: mode = QPainter::CompositionMode_Source; break;
    case SRCPAINT: mode = QPainter::RasterOp_SourceOrDestination; break;
    case SRCAND: mode = QPainter::RasterOp_SourceAndDestination; break;
    case SRCINVERT: mode = QPainter::RasterOp_SourceXorDestination; break;
    case NOTSRCCOPY: mode = QPainter::RasterOp_NotSource; break;
    case SRCERASE: mode = QPainter::RasterOp_SourceAndNotDestination; break;
    case NOTSRCERASE: mode = QPainter::RasterOp_NotSourceAndNotDestination; break;
    case MERGEPAINT: mode = QPainter::RasterOp_NotSourceOrDestination; break;
    default:
      if (!dst->image) return 0;
      GeneralRop(dst, target, img, rop);
      return 1;
  }
  if (mode != QPainter::CompositionMode_Source && !ops) mode = QPainter::CompositionMode_Source;
  p->setCompositionMode(mode);
  p->drawImage(target.topLeft(), img);
  return 1;
}

bool PatternOnly(DWORD rop) {
  return rop == PATCOPY || rop == PATINVERT || rop == DSTINVERT || rop == BLACKNESS || rop == WHITENESS;
}

}  // namespace

BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, DWORD rop) {
  if (!DCPainter(dst)) return 0;
  if (PatternOnly(rop)) return PatBlt(dst, x, y, width, height, rop);
  if (!src || !src->image) return 0;
  if (width <= 0 || height <= 0) return 1;
  QImage img = SourcePixels(src, dst, QRect(xSrc, ySrc, width, height));
  return Compose(dst, QRect(x, y, width, height), img, rop);
}

BOOL StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, int wSrc, int hSrc,
                DWORD rop) {
  if (!DCPainter(dst)) return 0;
  if (PatternOnly(rop)) return PatBlt(dst, x, y, width, height, rop);
  if (!src || !src->image || wSrc == 0 || hSrc == 0 || width == 0 || height == 0) return 0;
  QRect s = EdgeRect(xSrc, ySrc, xSrc + wSrc, ySrc + hSrc);
  QImage img = SourcePixels(src, dst, s);
  bool flipX = (wSrc < 0) != (width < 0), flipY = (hSrc < 0) != (height < 0);
  if (flipX || flipY) img = img.mirrored(flipX, flipY);
  QRect d = EdgeRect(x, y, x + width, y + height);
  if (img.size() != d.size())
    img = img.scaled(d.size(), Qt::IgnoreAspectRatio,
                     dst->state.stretchMode == HALFTONE ? Qt::SmoothTransformation : Qt::FastTransformation);
  return Compose(dst, d, img, rop);
}

BOOL TransparentBlt(HDC dst, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, int wSrc, int hSrc,
                    UINT transparent) {
  if (!DCPainter(dst) || !src || !src->image || width <= 0 || height <= 0 || wSrc <= 0 || hSrc <= 0) return 0;
  QImage img = SourcePixels(src, dst, QRect(xSrc, ySrc, wSrc, hSrc));
  if (img.size() != QSize(width, height)) img = img.scaled(width, height);
  img = img.convertToFormat(QImage::Format_ARGB32);
  QRgb key = ToQColor(static_cast<TColor>(transparent & 0xFFFFFF)).rgb() & 0xFFFFFF;
  for (int yy = 0; yy < img.height(); ++yy) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(yy));
    for (int xx = 0; xx < img.width(); ++xx)
      if ((line[xx] & 0xFFFFFF) == key) line[xx] = 0;
  }
  dst->painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
  dst->painter->drawImage(QPoint(x, y), img);
  return 1;
}

// ---------------------------------------------------------------------------------------------
// Region painting

BOOL FillRgn(HDC dc, HRGN rgn, HBRUSH brush) {
  if (!DCPainter(dc) || !rgn || rgn->kind != HGDIOBJ__::Region) return 0;
  QBrush b;
  if (!MakeBrush(dc, brush, b)) return 1;
  dc->painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
  for (const QRect& r : rgn->region) dc->painter->fillRect(r, b);
  return 1;
}

BOOL PaintRgn(HDC dc, HRGN rgn) { return dc ? FillRgn(dc, rgn, dc->state.brush) : 0; }

BOOL FrameRgn(HDC dc, HRGN rgn, HBRUSH brush, int width, int height) {
  if (!DCPainter(dc) || !rgn || rgn->kind != HGDIOBJ__::Region) return 0;
  QRegion inner = rgn->region.translated(width, 0)
                      .intersected(rgn->region.translated(-width, 0))
                      .intersected(rgn->region.translated(0, height))
                      .intersected(rgn->region.translated(0, -height));
  QRegion frame = rgn->region.subtracted(inner);
  QBrush b;
  if (!MakeBrush(dc, brush, b)) return 1;
  dc->painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
  for (const QRect& r : frame) dc->painter->fillRect(r, b);
  return 1;
}

BOOL InvertRgn(HDC dc, HRGN rgn) {
  if (!DCPainter(dc) || !rgn || rgn->kind != HGDIOBJ__::Region) return 0;
  if (!HasRasterOps(dc->painter.get())) return 0;
  dc->painter->setCompositionMode(QPainter::RasterOp_NotDestination);
  for (const QRect& r : rgn->region) dc->painter->fillRect(r, Qt::white);
  return 1;
}
