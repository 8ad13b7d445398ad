// Plays a recorded picture back through QPainter, keeping GDI's drawing rules.
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <map>
#include <optional>
#include <variant>

#include "platform/ui/Metafile_p.h"

namespace metafile {

namespace {

QColor FromColorRef(uint32_t c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

struct DcState {
  LogPen Pen;
  LogBrush Brush;
  LogFont Font;
  uint32_t TextColor = 0, BkColor = 0xFFFFFF, BkMode = OPAQUE, TextAlign = 0, Rop2 = R2_COPYPEN,
           PolyFill = ALTERNATE;
  QPoint Pos;
  bool Clipped = false;
  QRegion Clip;
};

class Player {
public:
  Player(QPainter& p) : p_(p) {}

  void Run(const std::vector<Op>& ops) {
    for (const Op& op : ops) Step(op);
  }

private:
  using Object = std::variant<LogPen, LogBrush, LogFont>;

  QPen Pen() const {
    if (s_.Pen.Style == PS_NULL) return QPen(Qt::NoPen);
    QPen pen(FromColorRef(s_.Pen.Color));
    if (s_.Pen.Width <= 1) {
      pen.setWidth(0);  // one device pixel
    } else {
      pen.setWidth(std::min(s_.Pen.Width, MaxCoord));
    }
    switch (s_.Pen.Style) {
      case PS_DASH: pen.setStyle(Qt::DashLine); break;
      case PS_DOT: pen.setStyle(Qt::DotLine); break;
      case PS_DASHDOT: pen.setStyle(Qt::DashDotLine); break;
      case PS_DASHDOTDOT: pen.setStyle(Qt::DashDotDotLine); break;
      default: pen.setStyle(Qt::SolidLine); break;
    }
    pen.setCapStyle(s_.Pen.Width <= 1 ? Qt::FlatCap : Qt::RoundCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
  }

  QBrush Brush() const {
    if (s_.Brush.Style == BS_NULL) return QBrush(Qt::NoBrush);
    QColor c = FromColorRef(s_.Brush.Color);
    if (s_.Brush.Style == BS_HATCHED) {
      static const Qt::BrushStyle hatch[] = {Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern,
                                             Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
      return QBrush(c, s_.Brush.Hatch < 6 ? hatch[s_.Brush.Hatch] : Qt::SolidPattern);
    }
    return QBrush(c);
  }

  void Apply(bool pen, bool brush) {
    p_.setPen(pen ? Pen() : QPen(Qt::NoPen));
    p_.setBrush(brush ? Brush() : QBrush(Qt::NoBrush));
    p_.setBackgroundMode(s_.BkMode == OPAQUE ? Qt::OpaqueMode : Qt::TransparentMode);
    p_.setBackground(QBrush(FromColorRef(s_.BkColor)));
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    switch (s_.Rop2) {
      case R2_XORPEN: mode = QPainter::RasterOp_SourceXorDestination; break;
      case R2_NOTXORPEN: mode = QPainter::RasterOp_NotSourceXorDestination; break;
      case R2_NOT: mode = QPainter::RasterOp_NotDestination; break;
      default: break;
    }
    p_.setCompositionMode(mode);
  }

  void Select(int32_t index) {
    if (uint32_t(index) & StockObjectFlag) {
      switch (uint32_t(index) & 0xFF) {
        case 0: s_.Brush = LogBrush{BS_SOLID, 0xFFFFFF, 0}; break;
        case 1: s_.Brush = LogBrush{BS_SOLID, 0xC0C0C0, 0}; break;
        case 2: s_.Brush = LogBrush{BS_SOLID, 0x808080, 0}; break;
        case 3: s_.Brush = LogBrush{BS_SOLID, 0x404040, 0}; break;
        case 4: s_.Brush = LogBrush{BS_SOLID, 0, 0}; break;
        case 5: s_.Brush = LogBrush{BS_NULL, 0, 0}; break;
        case 6: s_.Pen = LogPen{PS_SOLID, 1, 0xFFFFFF}; break;
        case 7: s_.Pen = LogPen{PS_SOLID, 1, 0}; break;
        case 8: s_.Pen = LogPen{PS_NULL, 0, 0}; break;
        default: s_.Font = LogFont{}; break;
      }
      return;
    }
    auto it = objects_.find(index);
    if (it == objects_.end()) return;
    if (auto* pen = std::get_if<LogPen>(&it->second)) s_.Pen = *pen;
    else if (auto* brush = std::get_if<LogBrush>(&it->second)) s_.Brush = *brush;
    else s_.Font = std::get<LogFont>(it->second);
  }

  QFont Font() const {
    QFont f(QString::fromUtf16(s_.Font.FaceName.data(), qsizetype(s_.Font.FaceName.size())));
    const int64_t h = s_.Font.Height;
    // A positive height is the cell height; the character height is about nine tenths of it.
    f.setPixelSize(int(std::clamp<int64_t>(h < 0 ? -h : h > 0 ? h * 9 / 10 : 16, 1, MaxCoord)));
    f.setWeight(QFont::Weight(qBound(1, s_.Font.Weight > 0 ? s_.Font.Weight : 400, 1000)));
    f.setItalic(s_.Font.Italic != 0);
    f.setUnderline(s_.Font.Underline != 0);
    f.setStrikeOut(s_.Font.StrikeOut != 0);
    return f;
  }

  void Text(const Op& op) {
    QString text = QString::fromUtf16(op.Text.data(), qsizetype(op.Text.size()));
    QFont font = Font();
    QFontMetricsF fm(font, p_.device());
    double width = 0;
    bool useDx = op.Dx.size() == op.Text.size();
    if (useDx) for (int32_t d : op.Dx) width += d;
    else width = fm.horizontalAdvance(text);
    QPointF ref = (s_.TextAlign & 1) ? QPointF(s_.Pos) : QPointF(op.Points.at(0));
    // Rotated text is laid out along its baseline, turned about the reference point.
    const bool rotated = s_.Font.Escapement % 3600 != 0;
    if (rotated) {
      p_.save();
      p_.translate(ref);
      p_.rotate(-(s_.Font.Escapement / 10.0));
      p_.translate(-ref);
    }
    struct Restore {
      QPainter& p;
      bool on;
      ~Restore() {
        if (on) p.restore();
      }
    } restore{p_, rotated};
    uint32_t h = s_.TextAlign & 6, v = s_.TextAlign & 24;
    double left = ref.x() - (h == 6 ? width / 2 : h == 2 ? width : 0);
    double base = ref.y() + (v == 24 ? 0 : v == 8 ? -fm.descent() : fm.ascent());
    if (s_.TextAlign & 1) s_.Pos = QPoint(qRound(std::clamp(left + width, double(-MaxCoord), double(MaxCoord))), s_.Pos.y());
    p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (s_.BkMode == OPAQUE)
      p_.fillRect(QRectF(left, base - fm.ascent(), width, fm.ascent() + fm.descent()), FromColorRef(s_.BkColor));
    p_.setFont(font);
    p_.setPen(FromColorRef(s_.TextColor));
    p_.setBackgroundMode(Qt::TransparentMode);
    if (!useDx) {
      p_.drawText(QPointF(left, base), text);
      return;
    }
    double x = left;
    for (qsizetype i = 0; i < text.size(); ++i) {
      if (text.at(i).isLowSurrogate()) continue;
      QString ch = text.mid(i, text.at(i).isHighSurrogate() ? 2 : 1);
      p_.drawText(QPointF(x, base), ch);
      x += op.Dx[size_t(i)];
      if (ch.size() == 2) x += op.Dx[size_t(i) + 1];
    }
  }

  void SetClip(bool on, const QRegion& r) {
    s_.Clipped = on;
    s_.Clip = r;
    if (on) p_.setClipRegion(base_ ? base_->intersected(r) : r);
    else if (base_) p_.setClipRegion(*base_);
    else p_.setClipping(false);
  }

  void Step(const Op& op) {
    switch (op.Kind) {
      case OpKind::CreatePen: objects_[op.Index] = op.Pen; break;
      case OpKind::CreateBrush: objects_[op.Index] = op.Brush; break;
      case OpKind::CreateFont: objects_[op.Index] = op.Font; break;
      case OpKind::SelectObject: Select(op.Index); break;
      case OpKind::DeleteObject: objects_.erase(op.Index); break;
      case OpKind::SetTextColor: s_.TextColor = op.Value; break;
      case OpKind::SetBkColor: s_.BkColor = op.Value; break;
      case OpKind::SetBkMode: s_.BkMode = op.Value; break;
      case OpKind::SetTextAlign: s_.TextAlign = op.Value; break;
      case OpKind::SetRop2: s_.Rop2 = op.Value; break;
      case OpKind::SetPolyFillMode: s_.PolyFill = op.Value; break;
      case OpKind::SaveDC: saved_.push_back(s_); break;
      case OpKind::RestoreDC: {
        const int64_t n = op.Index < 0 ? -int64_t(op.Index) : int64_t(saved_.size()) - op.Index + 1;
        if (n <= 0 || uint64_t(n) > saved_.size()) break;
        s_ = saved_[saved_.size() - size_t(n)];
        saved_.resize(saved_.size() - size_t(n));
        SetClip(s_.Clipped, s_.Clip);
        break;
      }
      case OpKind::IntersectClipRect: {
        QRegion r(op.Rect.L, op.Rect.T, op.Rect.Width(), op.Rect.Height());
        SetClip(true, s_.Clipped ? s_.Clip.intersected(r) : r);
        break;
      }
      case OpKind::SetClip: {
        QRegion r;
        for (const Box& b : op.Rects) r += QRect(b.L, b.T, b.Width(), b.Height());
        SetClip(!op.Rects.empty(), r);
        break;
      }
      case OpKind::MoveTo: s_.Pos = op.Points.at(0); break;
      case OpKind::LineTo: {
        Apply(true, false);
        QPoint to = op.Points.at(0);
        p_.drawLine(s_.Pos, to);
        s_.Pos = to;
        break;
      }
      case OpKind::Polyline:
        Apply(true, false);
        p_.drawPolyline(op.Points.data(), int(op.Points.size()));
        break;
      case OpKind::Polygon:
        Apply(true, true);
        p_.drawPolygon(op.Points.data(), int(op.Points.size()), s_.PolyFill == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
        break;
      case OpKind::PolyPolygon: {
        Apply(true, true);
        QPainterPath path;
        path.setFillRule(s_.PolyFill == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
        size_t at = 0;
        for (int32_t c : op.Counts) {
          if (c <= 0 || at + size_t(c) > op.Points.size()) break;
          QPolygonF poly;
          for (size_t i = at; i < at + size_t(c); ++i) poly << QPointF(op.Points[i]);
          path.addPolygon(poly);
          path.closeSubpath();
          at += size_t(c);
        }
        p_.drawPath(path);
        break;
      }
      case OpKind::Rectangle:
      case OpKind::Ellipse: {
        // GDI boxes exclude their right and bottom edges; without a pen the fill shrinks by one.
        Apply(true, true);
        QRectF r(op.Rect.L, op.Rect.T, op.Rect.Width() - 1, op.Rect.Height() - 1);
        if (op.Kind == OpKind::Rectangle) p_.drawRect(r);
        else p_.drawEllipse(r);
        break;
      }
      case OpKind::SetPixel:
        p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p_.fillRect(QRect(op.Points.at(0), QSize(1, 1)), FromColorRef(op.Value));
        break;
      case OpKind::TextOut: Text(op); break;
      case OpKind::StretchDib:
        p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p_.drawImage(QRectF(op.Rect.L, op.Rect.T, op.Rect.Width(), op.Rect.Height()), op.Image,
                     QRectF(op.Src.L, op.Src.T, op.Src.Width(), op.Src.Height()));
        break;
    }
  }

public:
  std::optional<QRegion> base_;

private:
  QPainter& p_;
  DcState s_;
  std::vector<DcState> saved_;
  std::map<int32_t, Object> objects_;
};

}  // namespace

void Play(const Picture& pic, QPainter& painter, const QRectF& target) {
  if (pic.Empty() || target.isEmpty()) return;
  painter.save();
  const Box& f = pic.Frame;
  double sx = target.width() / f.Width(), sy = target.height() / f.Height();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, sx != 1.0 || sy != 1.0);
  painter.translate(target.x() - f.L * sx, target.y() - f.T * sy);
  painter.scale(sx, sy);
  Player player(painter);
  if (painter.hasClipping()) player.base_ = painter.clipRegion();
  player.Run(pic.Ops);
  painter.restore();
}

}  // namespace metafile
