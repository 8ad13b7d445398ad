// The recording paint device: turns the QPainter calls a canvas makes into metafile records.
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTextItem>

#include <climits>
#include <cmath>
#include <optional>

#include "platform/ui/Metafile_p.h"

namespace metafile {

namespace {

uint32_t ToColorRef(const QColor& c) {
  QColor rgb = c.toRgb();
  return uint32_t(rgb.red()) | (uint32_t(rgb.green()) << 8) | (uint32_t(rgb.blue()) << 16);
}

int32_t RoundI(double v) { return static_cast<int32_t>(std::lround(v)); }

QPoint MapPt(const QTransform& t, const QPointF& p) {
  QPointF q = t.map(p);
  return QPoint(RoundI(q.x()), RoundI(q.y()));
}

bool IsPlainBrush(Qt::BrushStyle s) {
  return s == Qt::NoBrush || s == Qt::SolidPattern || (s >= Qt::Dense1Pattern && s <= Qt::DiagCrossPattern);
}

}  // namespace

class RecordingEngine : public QPaintEngine {
public:
  explicit RecordingEngine(RecordingDevice* dev) : QPaintEngine(AllFeatures), dev_(dev) {}

  bool begin(QPaintDevice*) override {
    metafile::Picture* pic = dev_->Target();
    ops_ = &pic->Ops;
    // Text is positioned by its baseline, as QPainter gives it.
    Emit(OpKind::SetTextAlign, 0, TA_BASELINE);
    setActive(true);
    return true;
  }

  bool end() override {
    // Leave the picture without clipping and free the objects still selected.
    SyncClip(std::nullopt);
    setActive(false);
    return true;
  }

  Type type() const override { return QPaintEngine::User; }

  void updateState(const QPaintEngineState& st) override {
    QPaintEngine::DirtyFlags f = st.state();
    if (f & DirtyPen) pen_ = st.pen();
    if (f & DirtyBrush) brush_ = st.brush();
    if (f & DirtyFont) font_ = st.font();
    if (f & DirtyTransform) xf_ = st.transform();
    if (f & DirtyBackground) bgBrush_ = st.backgroundBrush();
    if (f & DirtyBackgroundMode) bgMode_ = st.backgroundMode();
    if (f & DirtyCompositionMode) comp_ = st.compositionMode();
    if (f & (DirtyClipRegion | DirtyClipPath | DirtyClipEnabled)) {
      QPainter* p = painter();
      if (p && p->hasClipping()) {
        QRegion r = p->clipRegion();
        wantClip_ = p->combinedTransform().map(r);
      } else {
        wantClip_.reset();
      }
    }
  }

  void drawRects(const QRectF* rects, int count) override {
    for (int i = 0; i < count; ++i) DrawRect(rects[i]);
  }
  void drawRects(const QRect* rects, int count) override {
    for (int i = 0; i < count; ++i) DrawRect(QRectF(rects[i]));
  }

  void drawLines(const QLineF* lines, int count) override {
    if (pen_.style() == Qt::NoPen) return;
    PrepareDraw(true, false);
    for (int i = 0; i < count; ++i) {
      Op op;
      op.Kind = OpKind::Polyline;
      op.Points = {MapPt(xf_, lines[i].p1()), MapPt(xf_, lines[i].p2())};
      ops_->push_back(std::move(op));
    }
  }
  void drawLines(const QLine* lines, int count) override {
    for (int i = 0; i < count; ++i) {
      QLineF l(lines[i]);
      drawLines(&l, 1);
    }
  }

  void drawEllipse(const QRectF& r) override {
    if (!xf_.isRotating()) {
      PrepareDraw(true, true);
      Op op;
      op.Kind = OpKind::Ellipse;
      op.Rect = MapBox(r);
      ops_->push_back(std::move(op));
      return;
    }
    QPainterPath path;
    path.addEllipse(r);
    drawPath(path);
  }
  void drawEllipse(const QRect& r) override { drawEllipse(QRectF(r)); }

  void drawPolygon(const QPointF* pts, int count, PolygonDrawMode mode) override {
    if (count <= 0) return;
    Op op;
    op.Points.reserve(size_t(count));
    for (int i = 0; i < count; ++i) op.Points.push_back(MapPt(xf_, pts[i]));
    if (mode == PolylineMode) {
      if (pen_.style() == Qt::NoPen) return;
      PrepareDraw(true, false);
      op.Kind = OpKind::Polyline;
    } else {
      PrepareDraw(true, true);
      SetMode(OpKind::SetPolyFillMode, polyFill_, mode == WindingMode ? WINDING : ALTERNATE);
      op.Kind = OpKind::Polygon;
    }
    ops_->push_back(std::move(op));
  }
  void drawPolygon(const QPoint* pts, int count, PolygonDrawMode mode) override {
    QPolygonF poly;
    poly.reserve(count);
    for (int i = 0; i < count; ++i) poly.push_back(QPointF(pts[i]));
    drawPolygon(poly.constData(), count, mode);
  }

  void drawPath(const QPainterPath& path) override {
    const QList<QPolygonF> polys = path.toSubpathPolygons(xf_);
    if (polys.isEmpty()) return;
    bool fill = brush_.style() != Qt::NoBrush;
    if (fill) {
      PrepareDraw(true, true);
      SetMode(OpKind::SetPolyFillMode, polyFill_, path.fillRule() == Qt::WindingFill ? WINDING : ALTERNATE);
      Op op;
      op.Kind = OpKind::PolyPolygon;
      for (const QPolygonF& poly : polys) {
        op.Counts.push_back(int32_t(poly.size()));
        for (const QPointF& p : poly) op.Points.push_back(QPoint(RoundI(p.x()), RoundI(p.y())));
      }
      ops_->push_back(std::move(op));
      return;
    }
    if (pen_.style() == Qt::NoPen) return;
    PrepareDraw(true, false);
    for (const QPolygonF& poly : polys) {
      Op op;
      op.Kind = OpKind::Polyline;
      for (const QPointF& p : poly) op.Points.push_back(QPoint(RoundI(p.x()), RoundI(p.y())));
      ops_->push_back(std::move(op));
    }
  }

  void drawPoints(const QPointF* pts, int count) override {
    if (pen_.style() == Qt::NoPen) return;
    SyncClip(wantClip_);
    for (int i = 0; i < count; ++i) {
      Op op;
      op.Kind = OpKind::SetPixel;
      op.Points = {MapPt(xf_, pts[i])};
      op.Value = ToColorRef(pen_.color());
      ops_->push_back(std::move(op));
    }
  }
  void drawPoints(const QPoint* pts, int count) override {
    for (int i = 0; i < count; ++i) {
      QPointF p(pts[i]);
      drawPoints(&p, 1);
    }
  }

  void drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr) override {
    drawImage(r, pm.toImage(), sr, Qt::AutoColor);
  }

  void drawTiledPixmap(const QRectF& r, const QPixmap& pm, const QPointF& s) override {
    QImage tile(qMax(1, int(std::ceil(r.width()))), qMax(1, int(std::ceil(r.height()))), QImage::Format_RGB32);
    tile.fill(Qt::white);
    QPainter p(&tile);
    p.drawTiledPixmap(QRectF(0, 0, r.width(), r.height()), pm, s);
    p.end();
    drawImage(r, tile, QRectF(tile.rect()), Qt::AutoColor);
  }

  void drawImage(const QRectF& r, const QImage& image, const QRectF& sr, Qt::ImageConversionFlags) override {
    if (image.isNull() || sr.isEmpty()) return;
    SyncClip(wantClip_);
    // A DIB has no alpha: compose transparent pixels over white, as a printout would show them.
    QImage src = image.copy(sr.toAlignedRect());
    QImage rgb(src.size(), QImage::Format_RGB32);
    rgb.fill(Qt::white);
    {
      QPainter p(&rgb);
      p.drawImage(0, 0, src);
    }
    Op op;
    op.Kind = OpKind::StretchDib;
    op.Rect = MapBoxExact(r);
    op.Src = Box{0, 0, rgb.width(), rgb.height()};
    op.Image = std::move(rgb);
    op.Value = SRCCOPY;
    ops_->push_back(std::move(op));
  }

  void drawTextItem(const QPointF& p, const QTextItem& ti) override {
    const QString text = ti.text();
    if (text.isEmpty()) return;
    std::u16string t(reinterpret_cast<const char16_t*>(text.utf16()), size_t(text.size()));
    QFont font = ti.font();
    SyncClip(wantClip_);
    SelectFont(font, t);
    SetMode(OpKind::SetTextColor, textColor_, ToColorRef(pen_.color()));
    SetMode(OpKind::SetBkMode, bkMode_, TRANSPARENT);
    Op op;
    op.Kind = OpKind::TextOut;
    op.Points = {MapPt(xf_, p)};
    op.Text = t;
    // Advances of each character, so that other readers place the text as we measured it.
    // They run along the baseline, which a rotated transform turns.
    QFontMetricsF fm(font, dev_);
    double scale = std::hypot(xf_.m11(), xf_.m12());
    double pos = 0;
    int32_t placed = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
      if (text.at(i).isLowSurrogate()) {
        op.Dx.push_back(0);
        continue;
      }
      QString ch = text.mid(i, text.at(i).isHighSurrogate() ? 2 : 1);
      pos += fm.horizontalAdvance(ch) * scale;
      int32_t next = RoundI(pos);
      op.Dx.push_back(next - placed);
      placed = next;
    }
    ops_->push_back(std::move(op));
  }

private:
  void Emit(OpKind k, int32_t index, uint32_t value) {
    Op op;
    op.Kind = k;
    op.Index = index;
    op.Value = value;
    ops_->push_back(std::move(op));
  }

  void SetMode(OpKind k, std::optional<uint32_t>& current, uint32_t want) {
    if (current == want) return;
    current = want;
    Emit(k, 0, want);
  }

  int32_t AllocSlot() {
    for (size_t i = 1; i < slots_.size(); ++i)
      if (!slots_[i]) {
        slots_[i] = true;
        return int32_t(i);
      }
    if (slots_.empty()) slots_.push_back(true);  // handle 0 is the picture itself
    slots_.push_back(true);
    return int32_t(slots_.size() - 1);
  }

  // Creates and selects a new object, then frees the one it replaces.
  void Replace(int32_t& slot, Op create) {
    int32_t old = slot;
    slot = AllocSlot();
    create.Index = slot;
    ops_->push_back(std::move(create));
    Emit(OpKind::SelectObject, slot, 0);
    if (old > 0) {
      Emit(OpKind::DeleteObject, old, 0);
      slots_[size_t(old)] = false;
    }
  }

  void SelectPen(bool use) {
    LogPen lp;
    if (!use || pen_.style() == Qt::NoPen) {
      lp.Style = PS_NULL;
      lp.Width = 0;
      lp.Color = 0;
    } else {
      switch (pen_.style()) {
        case Qt::DashLine: lp.Style = PS_DASH; break;
        case Qt::DotLine: lp.Style = PS_DOT; break;
        case Qt::DashDotLine: lp.Style = PS_DASHDOT; break;
        case Qt::DashDotDotLine: lp.Style = PS_DASHDOTDOT; break;
        default: lp.Style = PS_SOLID; break;
      }
      double w = pen_.widthF();
      lp.Width = pen_.isCosmetic() || w <= 0 ? 1 : qMax(1, RoundI(w * std::abs(xf_.m11())));
      lp.Color = ToColorRef(pen_.color());
    }
    if (penSlot_ > 0 && lp == pen_sel_) return;
    pen_sel_ = lp;
    Op op;
    op.Kind = OpKind::CreatePen;
    op.Pen = lp;
    Replace(penSlot_, std::move(op));
  }

  void SelectBrush(const QBrush& b) {
    LogBrush lb;
    switch (b.style()) {
      case Qt::NoBrush: lb.Style = BS_NULL; lb.Color = 0; break;
      case Qt::HorPattern: lb.Style = BS_HATCHED; lb.Hatch = HS_HORIZONTAL; break;
      case Qt::VerPattern: lb.Style = BS_HATCHED; lb.Hatch = HS_VERTICAL; break;
      case Qt::FDiagPattern: lb.Style = BS_HATCHED; lb.Hatch = HS_FDIAGONAL; break;
      case Qt::BDiagPattern: lb.Style = BS_HATCHED; lb.Hatch = HS_BDIAGONAL; break;
      case Qt::CrossPattern: lb.Style = BS_HATCHED; lb.Hatch = HS_CROSS; break;
      case Qt::DiagCrossPattern: lb.Style = BS_HATCHED; lb.Hatch = HS_DIAGCROSS; break;
      default: lb.Style = BS_SOLID; break;
    }
    if (lb.Style != BS_NULL) {
      const QGradient* g = b.gradient();
      lb.Color = ToColorRef(g && !g->stops().isEmpty() ? g->stops().first().second : b.color());
    }
    if (brushSlot_ > 0 && lb == brush_sel_) return;
    brush_sel_ = lb;
    Op op;
    op.Kind = OpKind::CreateBrush;
    op.Brush = lb;
    Replace(brushSlot_, std::move(op));
    if (lb.Style == BS_HATCHED) {
      // Hatches fill their gaps only in opaque mode, with the background colour.
      SetMode(OpKind::SetBkMode, bkMode_, bgMode_ == Qt::OpaqueMode ? OPAQUE : TRANSPARENT);
      SetMode(OpKind::SetBkColor, bkColor_, ToColorRef(bgBrush_.color()));
    }
  }

  void SelectFont(const QFont& f, const std::u16string& text) {
    LogFont lf;
    double px = f.pixelSize() > 0 ? f.pixelSize() : f.pointSizeF() * 96.0 / 72.0;
    lf.Height = -qMax(1, RoundI(px * std::hypot(xf_.m21(), xf_.m22())));
    // A rotated transform is rotated text: GDI counts tenths of a degree counter-clockwise.
    if (xf_.m12() != 0) {
      int32_t tenths = RoundI(-std::atan2(xf_.m12(), xf_.m11()) * 1800.0 / M_PI);
      lf.Escapement = lf.Orientation = tenths < 0 ? tenths + 3600 : tenths;
    }
    lf.Weight = f.weight();
    lf.Italic = f.italic() ? 1 : 0;
    lf.Underline = f.underline() ? 1 : 0;
    lf.StrikeOut = f.strikeOut() ? 1 : 0;
    lf.CharSet = static_cast<uint8_t>(CharsetFor(text));
    QString family = f.family().left(31);
    lf.FaceName.assign(reinterpret_cast<const char16_t*>(family.utf16()), size_t(family.size()));
    if (fontSlot_ > 0 && lf == font_sel_) return;
    font_sel_ = lf;
    Op op;
    op.Kind = OpKind::CreateFont;
    op.Font = lf;
    Replace(fontSlot_, std::move(op));
  }

  void SyncClip(const std::optional<QRegion>& want) {
    bool same = want.has_value() == clip_.has_value() && (!want || *want == *clip_);
    if (same) return;
    clip_ = want;
    Op op;
    op.Kind = OpKind::SetClip;
    if (want) {
      for (const QRect& r : *want) op.Rects.push_back(Box{r.left(), r.top(), r.right() + 1, r.bottom() + 1});
      if (op.Rects.empty()) op.Rects.push_back(Box{0, 0, 0, 0});  // clipped away entirely
    }
    ops_->push_back(std::move(op));
  }

  void PrepareDraw(bool pen, bool brush) {
    SyncClip(wantClip_);
    SelectPen(pen);
    SelectBrush(brush ? brush_ : QBrush(Qt::NoBrush));
    uint32_t rop = R2_COPYPEN;
    switch (comp_) {
      case QPainter::RasterOp_SourceXorDestination: rop = R2_XORPEN; break;
      case QPainter::RasterOp_NotSourceXorDestination: rop = R2_NOTXORPEN; break;
      case QPainter::RasterOp_NotDestination: rop = R2_NOT; break;
      default: break;
    }
    SetMode(OpKind::SetRop2, rop2_, rop);
  }

  // The GDI box whose outline (or, without a pen, whose fill) covers what QPainter covers.
  Box MapBox(const QRectF& r) {
    QPoint a = MapPt(xf_, r.topLeft()), b = MapPt(xf_, r.bottomRight());
    return Box{qMin(a.x(), b.x()), qMin(a.y(), b.y()), qMax(a.x(), b.x()) + 1, qMax(a.y(), b.y()) + 1};
  }
  Box MapBoxExact(const QRectF& r) {
    QPoint a = MapPt(xf_, r.topLeft()), b = MapPt(xf_, r.bottomRight());
    return Box{qMin(a.x(), b.x()), qMin(a.y(), b.y()), qMax(a.x(), b.x()), qMax(a.y(), b.y())};
  }

  void DrawRect(const QRectF& r) {
    if (xf_.isRotating()) {
      QPainterPath path;
      path.addRect(r);
      drawPath(path);
      return;
    }
    bool hasBrush = brush_.style() != Qt::NoBrush;
    if (hasBrush && !IsPlainBrush(brush_.style())) {
      // Gradients and textures have no record of their own: keep their pixels as a bitmap.
      Box box = MapBoxExact(r);
      if (box.Width() > 0 && box.Height() > 0) {
        QImage img(box.Width(), box.Height(), QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        p.setTransform(xf_ * QTransform::fromTranslate(-box.L, -box.T));
        p.fillRect(r, brush_);
        p.end();
        SyncClip(wantClip_);
        Op op;
        op.Kind = OpKind::StretchDib;
        op.Rect = box;
        op.Src = Box{0, 0, box.Width(), box.Height()};
        op.Image = std::move(img);
        op.Value = SRCCOPY;
        ops_->push_back(std::move(op));
      }
      hasBrush = false;
      if (pen_.style() == Qt::NoPen) return;
    }
    PrepareDraw(true, hasBrush);
    Op op;
    op.Kind = OpKind::Rectangle;
    op.Rect = MapBox(r);
    ops_->push_back(std::move(op));
  }

  RecordingDevice* dev_;
  std::vector<Op>* ops_ = nullptr;
  QPen pen_;
  QBrush brush_;
  QFont font_;
  QTransform xf_;
  QBrush bgBrush_{Qt::white};
  Qt::BGMode bgMode_ = Qt::TransparentMode;
  QPainter::CompositionMode comp_ = QPainter::CompositionMode_SourceOver;
  std::optional<QRegion> wantClip_, clip_;
  std::vector<bool> slots_;
  int32_t penSlot_ = 0, brushSlot_ = 0, fontSlot_ = 0;
  LogPen pen_sel_;
  LogBrush brush_sel_;
  LogFont font_sel_;
  std::optional<uint32_t> textColor_, bkMode_, bkColor_, rop2_, polyFill_;
};

RecordingDevice::RecordingDevice(Picture* target, int width, int height)
    : target_(target), width_(width), height_(height), engine_(std::make_unique<RecordingEngine>(this)) {}

RecordingDevice::~RecordingDevice() = default;

QPaintEngine* RecordingDevice::paintEngine() const { return engine_.get(); }

int RecordingDevice::metric(PaintDeviceMetric m) const {
  switch (m) {
    case PdmWidth: return width_;
    case PdmHeight: return height_;
    case PdmWidthMM: return width_ * 254 / 960;
    case PdmHeightMM: return height_ * 254 / 960;
    case PdmNumColors: return INT_MAX;
    case PdmDepth: return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return 96;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
    default: return 0;
  }
}

}  // namespace metafile
