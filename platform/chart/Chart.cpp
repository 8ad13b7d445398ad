// The chart control: parts (title, axes, legend, gradient), layout, drawing, zoom and mouse.
#include "platform/chart/Chart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/win/WinUser.h"

namespace {

constexpr double kHuge = 1e7;  // pixel positions are clamped to this, far outside any canvas

// Posted by the window canvas when it takes the window's image: its drawing is then handed to
// the screen once the message that drew it is done.
constexpr UINT CM_RELEASECANVAS = WM_USER + 0x3C1;

int ClampPx(double v) { return static_cast<int>(std::lround(std::clamp(v, -kHuge, kHuge))); }

// Labels: a round step (1, 2 or 5 times a power of ten) with at most MaxLabels labels.
double NiceStep(double range, int maxLabels) {
  if (range <= 0 || maxLabels < 1) return 1;
  double raw = range / maxLabels;
  double p = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0, 10.0})
    if (m * p >= raw) return m * p;
  return 10 * p;
}

String FormatLabel(double v, double step) {
  int decimals = step >= 1 ? 0 : std::min(6, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)));
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
  std::string s = buf;
  if (s.find_first_not_of("-0.") == std::string::npos) s = decimals ? s.substr(s[0] == '-' ? 1 : 0) : "0";
  return UTF8ToString(s);
}

void SetDefaultFont(TFont* f, TColor color) {
  f->SetName(u"Arial");
  f->SetSize(8);
  f->SetColor(color);
}


}  // namespace

// ---- parts

void TChartPen::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  Changed();
}

TChartTitle::TChartTitle(TChart* AChart)
    : FChart(AChart), FText(std::make_unique<TStringList>()), FFont(std::make_unique<TFont>()) {
  SetDefaultFont(FFont.get(), clBlue);
  FText->OnChange = [this](TObject*) { FChart->Changed(); };
  FFont->OnChange = [this](TObject*) { FChart->Changed(); };
}
TChartTitle::~TChartTitle() = default;

void TChartTitle::SetVisible(bool Value) {
  FVisible = Value;
  FChart->Changed();
}

TChartAxisTitle::TChartAxisTitle(TChart* AChart) : FChart(AChart), FFont(std::make_unique<TFont>()) {
  SetDefaultFont(FFont.get(), clBlack);
  FFont->OnChange = [this](TObject*) { FChart->Changed(); };
}
TChartAxisTitle::~TChartAxisTitle() = default;

void TChartAxisTitle::SetCaption(const String& Value) {
  FCaption = Value;
  FChart->Changed();
}

TChartAxis::TChartAxis(TChart* AChart, TChartAxisKind Kind)
    : FChart(AChart),
      FKind(Kind),
      FTitle(std::make_unique<TChartAxisTitle>(AChart)),
      FLabelsFont(std::make_unique<TFont>()),
      FGrid(std::make_unique<TChartPen>()) {
  SetDefaultFont(FLabelsFont.get(), clBlack);
  FLabelsFont->OnChange = [this](TObject*) { FChart->Changed(); };
  FGrid->SetColor(clGray);
  FGrid->SetStyle(psDot);
  FGrid->OnChange = [this](TObject*) { FChart->Changed(); };
}
TChartAxis::~TChartAxis() = default;

void TChartAxis::Changed() {
  FChart->AxisSetByUser(this);
  FChart->Changed();
}

void TChartAxis::SetAutomatic(bool Value) {
  FAutomatic = Value;
  Changed();
}
double TChartAxis::Minimum() const {
  double lo, hi;
  Range(lo, hi);
  return FAutomatic ? lo : FMinimum;
}
double TChartAxis::Maximum() const {
  double lo, hi;
  Range(lo, hi);
  return FAutomatic ? hi : FMaximum;
}
void TChartAxis::SetMinimum(double Value) {
  FMinimum = Value;
  Changed();
}
void TChartAxis::SetMaximum(double Value) {
  FMaximum = Value;
  Changed();
}
void TChartAxis::SetMinMax(double AMin, double AMax) {
  FMinimum = AMin;
  FMaximum = AMax;
  Changed();
}
void TChartAxis::SetVisible(bool Value) {
  FVisible = Value;
  FChart->Changed();
}
void TChartAxis::SetMinorTickCount(int Value) {
  FMinorTickCount = std::max(0, Value);
  FChart->Changed();
}
void TChartAxis::SetIncrement(double Value) {
  FIncrement = std::max(0.0, Value);
  FChart->Changed();
}
void TChartAxis::SetLabels(bool Value) {
  FLabels = Value;
  FChart->Changed();
}

// The range drawn: the set minimum and maximum (in order), or the span of the series' values.
void TChartAxis::Range(double& lo, double& hi) const {
  if (FAutomatic) {
    bool any = false;
    lo = 0;
    hi = 0;
    for (int s = 0; s < FChart->SeriesCount(); ++s) {
      const TChartSeries* ser = FChart->Series(s);
      if (!ser->Active()) continue;
      const std::vector<double>& v = FKind == axBottom ? ser->FX : ser->FY;
      for (double d : v) {
        if (!any) lo = hi = d;
        lo = std::min(lo, d);
        hi = std::max(hi, d);
        any = true;
      }
    }
  } else {
    lo = std::min(FMinimum, FMaximum);
    hi = std::max(FMinimum, FMaximum);
  }
  if (hi - lo < 1e-12) hi = lo + 1;
}

int TChartAxis::CalcPosValue(double Value) const {
  TChartLayout L = FChart->CurrentLayout();
  return Horizontal() ? L.XPos(Value) : L.YPos(Value);
}
double TChartAxis::CalcPosPoint(int Position) const {
  TChartLayout L = FChart->CurrentLayout();
  return Horizontal() ? L.XValue(Position) : L.YValue(Position);
}
int TChartAxis::IStartPos() const {
  TRect r = FChart->ChartRect();
  return Horizontal() ? r.Left : r.Top;
}
int TChartAxis::IEndPos() const {
  TRect r = FChart->ChartRect();
  return Horizontal() ? r.Right - 1 : r.Bottom - 1;
}

void TChartLegend::SetVisible(bool Value) {
  FVisible = Value;
  FChart->Changed();
}

void TChartGradient::SetVisible(bool Value) {
  FVisible = Value;
  FChart->Changed();
}
void TChartGradient::SetStartColor(TColor Value) {
  FStartColor = Value;
  FChart->Changed();
}
void TChartGradient::SetEndColor(TColor Value) {
  FEndColor = Value;
  FChart->Changed();
}

// ---- layout

int TChartLayout::XPos(double v) const {
  const TRect& r = ChartRect;
  return ClampPx(r.Left + (v - XMin) * (r.Width() - 1) / (XMax - XMin));
}
int TChartLayout::YPos(double v) const {
  const TRect& r = ChartRect;
  return ClampPx(r.Bottom - 1 - (v - YMin) * (r.Height() - 1) / (YMax - YMin));
}
double TChartLayout::XValue(int px) const {
  const TRect& r = ChartRect;
  return XMin + (px - r.Left) * (XMax - XMin) / std::max(1, r.Width() - 1);
}
double TChartLayout::YValue(int py) const {
  const TRect& r = ChartRect;
  return YMin + (r.Bottom - 1 - py) * (YMax - YMin) / std::max(1, r.Height() - 1);
}

// ---- the window canvas: drawing over the chart outside painting, on the window's image

class TChart::TWindowCanvas : public TCanvas {
public:
  explicit TWindowCanvas(TChart* c) : FChart(c) {}
  ~TWindowCanvas() override { Release(); }
  void Release() {
    if (!FDC) return;
    SetHandle(nullptr);
    ReleaseDC(FChart->Handle(), FDC);
    FDC = nullptr;
  }

protected:
  void CreateHandle() override {
    FDC = GetDC(FChart->Handle());
    SetHandle(FDC);
    PostMessage(FChart->Handle(), CM_RELEASECANVAS, 0, 0);
  }

private:
  TChart* FChart;
  HDC FDC = nullptr;
};

// ---- the chart

TChart::TChart(TComponent* AOwner)
    : TCustomControl(AOwner),
      FTitle(std::make_unique<TChartTitle>(this)),
      FLeftAxis(std::make_unique<TChartAxis>(this, axLeft)),
      FBottomAxis(std::make_unique<TChartAxis>(this, axBottom)),
      FRightAxis(std::make_unique<TChartAxis>(this, axRight)),
      FLegend(std::make_unique<TChartLegend>(this)),
      FGradient(std::make_unique<TChartGradient>(this)),
      FWindowCanvas(std::make_unique<TWindowCanvas>(this)) {
  SetBounds(0, 0, 400, 250);
}

TChart::~TChart() {
  FWindowCanvas.reset();
  for (TChartSeries* s : FSeries) s->FChart = nullptr;
}

TChartSeries* TChart::Series(int Index) const {
  if (Index < 0 || Index >= SeriesCount()) throw EListError(u"List index out of bounds (" + UTF8ToString(std::to_string(Index)) + u")");
  return FSeries[static_cast<size_t>(Index)];
}

void TChart::SetView3D(bool Value) {
  FView3D = Value;
  Changed();
}
void TChart::SetChart3DPercent(int Value) {
  FChart3DPercent = std::clamp(Value, 1, 100);
  Changed();
}

void TChart::Changed() {
  FLayoutValid = FLayoutValid && FLayout.Bounds == ClientRect();
  Invalidate();
}

void TChart::Resize() {
  FLayoutValid = false;
  TCustomControl::Resize();
}

void TChart::ComputeLayout(TCanvas* C, const TRect& B, TChartLayout& L) {
  L.Bounds = B;
  FBottomAxis->Range(L.XMin, L.XMax);
  FLeftAxis->Range(L.YMin, L.YMax);

  int top = B.Top + 4;
  if (FTitle->Visible() && FTitle->Text()->Count() > 0) {
    C->Font()->Assign(FTitle->Font());
    top += FTitle->Text()->Count() * C->TextHeight(u"Wg") + 2;
  }
  top += 8;

  int left = B.Left + 6;
  if (FLeftAxis->Visible()) {
    C->Font()->Assign(FLeftAxis->LabelsFont());
    if (FLeftAxis->Labels()) {
      double step = LabelStep(FLeftAxis.get(), L.YMax - L.YMin, 10);
      int w = std::max(C->TextWidth(FormatLabel(L.YMin, step)), C->TextWidth(FormatLabel(L.YMax, step)));
      left += w + 8;
    }
    if (!FLeftAxis->Title()->Caption().empty()) {
      C->Font()->Assign(FLeftAxis->Title()->Font());
      left += C->TextHeight(FLeftAxis->Title()->Caption()) + 4;
    }
  }

  int bottom = B.Bottom - 6;
  int right = B.Right - 10;
  if (FBottomAxis->Visible()) {
    C->Font()->Assign(FBottomAxis->LabelsFont());
    if (FBottomAxis->Labels()) {
      bottom -= C->TextHeight(u"0") + 6;
      double step = LabelStep(FBottomAxis.get(), L.XMax - L.XMin, 10);
      right = std::min(right, B.Right - C->TextWidth(FormatLabel(L.XMax, step)) / 2 - 4);
    }
    if (!FBottomAxis->Title()->Caption().empty()) {
      C->Font()->Assign(FBottomAxis->Title()->Font());
      bottom -= C->TextHeight(FBottomAxis->Title()->Caption()) + 2;
    }
  }
  if (FLegend->Visible() && !FSeries.empty()) {
    C->Font()->Assign(FLeftAxis->LabelsFont());
    int w = 0;
    for (TChartSeries* s : FSeries) w = std::max(w, C->TextWidth(s->Title().empty() ? s->ClassName() : s->Title()));
    right -= w + 30;
  }
  L.Depth = 0;
  if (FView3D) {
    L.Depth = std::max(2, std::min(right - left, bottom - top) * FChart3DPercent / 200);
    top += L.Depth;
    right -= L.Depth;
  }
  if (right - left < 2) right = left + 2;
  if (bottom - top < 2) bottom = top + 2;
  L.ChartRect = TRect(left, top, right, bottom);
}

TChartLayout TChart::CurrentLayout() const {
  if (!FLayoutValid) {
    // Before the first drawing: lay out for the control's size with a scratch canvas.
    TBitmap scratch(1, 1);
    const_cast<TChart*>(this)->ComputeLayout(scratch.Canvas(), ClientRect(), FLayout);
    FLayoutValid = true;
  }
  TChartLayout L = FLayout;
  FBottomAxis->Range(L.XMin, L.XMax);
  FLeftAxis->Range(L.YMin, L.YMax);
  return L;
}

TRect TChart::ChartRect() const { return CurrentLayout().ChartRect; }

TCanvas* TChart::Canvas() { return FDrawCanvas ? FDrawCanvas : FWindowCanvas.get(); }

int TChart::CalcXPosValue(double Value) const { return CurrentLayout().XPos(Value); }
int TChart::CalcYPosValue(double Value) const { return CurrentLayout().YPos(Value); }
double TChart::XScreenToValue(int X) const { return CurrentLayout().XValue(X); }
double TChart::YScreenToValue(int Y) const { return CurrentLayout().YValue(Y); }

void TChart::ReleaseWindowCanvas() { FWindowCanvas->Release(); }

void TChart::WMPaint(TWMPaint& Message) {
  ReleaseWindowCanvas();
  TCustomControl::WMPaint(Message);
}

void TChart::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_RELEASECANVAS) {
    ReleaseWindowCanvas();
    return;
  }
  TCustomControl::Dispatch(Message);
}

void TChart::Paint() {
  ReleaseWindowCanvas();  // one painter per window image at a time
  Draw(TCustomControl::Canvas(), ClientRect());
}

void TChart::Draw(TCanvas* C, const TRect& R) {
  TChartLayout L;
  ComputeLayout(C, R, L);
  const bool window = R == ClientRect();
  TChartLayout saved = FLayout;
  bool savedValid = FLayoutValid;
  FLayout = L;
  FLayoutValid = true;
  TCanvas* prev = FDrawCanvas;
  FDrawCanvas = C;
  struct Restore {
    TChart* c;
    TCanvas* prev;
    bool window;
    TChartLayout saved;
    bool savedValid;
    ~Restore() {
      c->FDrawCanvas = prev;
      if (!window) {
        c->FLayout = saved;
        c->FLayoutValid = savedValid;
      }
    }
  } restore{this, prev, window, saved, savedValid};

  DrawBackground(C, L);
  DrawWalls(C, L);
  // Series inside the plot (and its 3-D depth), in the order they were added.
  HDC dc = C->Handle();
  int state = SaveDC(dc);
  IntersectClipRect(dc, L.ChartRect.Left, L.ChartRect.Top - L.Depth, L.ChartRect.Right + L.Depth, L.ChartRect.Bottom);
  for (TChartSeries* s : FSeries)
    if (s->Active()) s->DrawValues(C, L);
  for (TChartSeries* s : FSeries)
    if (s->Active() && s->Marks()->Visible()) s->DrawMarks(C, L);
  RestoreDC(dc, state);
  C->Refresh();
  DrawAxis(C, L, FLeftAxis.get());
  DrawAxis(C, L, FBottomAxis.get());
  DrawAxis(C, L, FRightAxis.get());
  DrawTitle(C, L);
  DrawLegend(C, L);
  C->Pen()->SetMode(pmCopy);
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetWidth(1);
  C->Brush()->SetStyle(bsSolid);
  if (OnAfterDraw) OnAfterDraw(this);
}

void TChart::DrawBackground(TCanvas* C, const TChartLayout& L) {
  const TRect& b = L.Bounds;
  if (!FGradient->Visible() || b.Height() <= 0) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    C->FillRect(b);
    return;
  }
  // One column of the blend, stretched across: a single bitmap on every kind of canvas.
  TColor c0 = ColorToRGB(FGradient->StartColor()), c1 = ColorToRGB(FGradient->EndColor());
  int h = b.Height();
  if (!FGradientStrip || FGradientStrip->Height() != h || FStripStart != c0 || FStripEnd != c1) {
    FGradientStrip = std::make_unique<TBitmap>(1, h);
    for (int y = 0; y < h; ++y) {
      auto mix = [&](int shift) {
        int a = (c0 >> shift) & 0xFF, z = (c1 >> shift) & 0xFF;
        return h > 1 ? a + (z - a) * y / (h - 1) : a;
      };
      auto* px = static_cast<uint32_t*>(FGradientStrip->ScanLine(y));
      px[0] = 0xFF000000u | (uint32_t(mix(0)) << 16) | (uint32_t(mix(8)) << 8) | uint32_t(mix(16));
    }
    FStripStart = c0;
    FStripEnd = c1;
  }
  C->StretchDraw(b, FGradientStrip.get());
}

double TChart::LabelStep(const TChartAxis* A, double Range, int MaxLabels) const {
  if (A->Increment() > 0) return A->Increment();
  double step = NiceStep(Range, MaxLabels);
  if (step >= 1) return step;
  // An axis whose points all stand on whole values (channels, sample numbers) steps by whole
  // units: a label between two points would name a value that does not exist.
  bool horiz = A->Horizontal();
  bool any = false;
  for (const TChartSeries* s : FSeries) {
    if (!s->Active()) continue;
    for (double v : horiz ? s->FX : s->FY) {
      if (v != std::floor(v)) return step;
      any = true;
    }
  }
  return any ? 1 : step;
}

void TChart::DrawWalls(TCanvas* C, const TChartLayout& L) {
  const TRect& r = L.ChartRect;
  const int d = L.Depth;
  C->Pen()->SetMode(pmCopy);
  C->Pen()->SetWidth(1);
  // Grid lines at the labels, on the back wall.
  for (const TChartAxis* axis : {FLeftAxis.get(), FBottomAxis.get()}) {
    if (!axis->Visible() || !axis->Grid()->Visible()) continue;
    C->Pen()->Assign(axis->Grid());
    C->Brush()->SetStyle(bsClear);
    bool horiz = axis->Horizontal();
    double lo = horiz ? L.XMin : L.YMin, hi = horiz ? L.XMax : L.YMax;
    int length = horiz ? r.Width() : r.Height();
    double step = LabelStep(axis, hi - lo, std::max(1, length / (horiz ? 60 : 25)));
    for (double v = std::ceil(lo / step - 1e-9) * step; v <= hi + step * 1e-9; v += step) {
      if (horiz) {
        int x = L.XPos(v) + d;
        C->MoveTo(x, r.Top - d);
        C->LineTo(x, r.Bottom - d);
      } else {
        int y = L.YPos(v) - d;
        C->MoveTo(r.Left + d, y);
        C->LineTo(r.Right + d, y);
      }
    }
  }
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetColor(clGray);
  C->Brush()->SetStyle(bsClear);
  if (d > 0) {
    // Back wall, left wall and floor edges.
    C->Rectangle(r.Left + d, r.Top - d, r.Right + d, r.Bottom - d);
    C->MoveTo(r.Left, r.Top);
    C->LineTo(r.Left + d, r.Top - d);
    C->MoveTo(r.Left, r.Bottom - 1);
    C->LineTo(r.Left + d, r.Bottom - 1 - d);
    C->MoveTo(r.Right - 1, r.Bottom - 1);
    C->LineTo(r.Right - 1 + d, r.Bottom - 1 - d);
  } else {
    C->Rectangle(r);
  }
}

void TChart::DrawAxis(TCanvas* C, const TChartLayout& L, const TChartAxis* A) {
  if (!A->Visible()) return;
  const TRect& r = L.ChartRect;
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetColor(clBlack);
  C->Pen()->SetWidth(1);
  C->Brush()->SetStyle(bsClear);
  if (A->FKind == axRight) {
    C->MoveTo(r.Right - 1, r.Top);
    C->LineTo(r.Right - 1, r.Bottom);
    return;
  }
  const bool horiz = A->Horizontal();
  if (horiz) {
    C->MoveTo(r.Left, r.Bottom - 1);
    C->LineTo(r.Right, r.Bottom - 1);
  } else {
    C->MoveTo(r.Left, r.Top);
    C->LineTo(r.Left, r.Bottom);
  }
  double lo = horiz ? L.XMin : L.YMin, hi = horiz ? L.XMax : L.YMax;
  C->Font()->Assign(A->LabelsFont());
  int th = C->TextHeight(u"0");
  int length = horiz ? r.Width() : r.Height();
  int extent = horiz ? std::max(C->TextWidth(FormatLabel(lo, 1)), C->TextWidth(FormatLabel(hi, 1))) + 16 : th + 8;
  double step = LabelStep(A, hi - lo, std::max(1, length / std::max(1, extent)));
  auto tick = [&](double v, int len) {
    if (horiz) {
      int x = L.XPos(v);
      C->MoveTo(x, r.Bottom - 1);
      C->LineTo(x, r.Bottom - 1 + len);
    } else {
      int y = L.YPos(v);
      C->MoveTo(r.Left - len, y);
      C->LineTo(r.Left, y);
    }
  };
  int labelRight = r.Left - 6;
  for (double v = std::ceil(lo / step - 1e-9) * step; v <= hi + step * 1e-9; v += step) {
    tick(v, 5);
    for (int m = 1; m <= A->MinorTickCount(); ++m) {
      double mv = v + step * m / (A->MinorTickCount() + 1);
      if (mv <= hi + step * 1e-9) tick(mv, 3);
    }
    if (!A->Labels()) continue;
    String text = FormatLabel(v, step);
    int tw = C->TextWidth(text);
    if (horiz) C->TextOut(L.XPos(v) - tw / 2, r.Bottom + 5, text);
    else C->TextOut(labelRight - tw, L.YPos(v) - th / 2, text);
  }
  // Minor ticks below the first label.
  double first = std::ceil(lo / step - 1e-9) * step;
  for (int m = 1; m <= A->MinorTickCount(); ++m) {
    double mv = first - step * m / (A->MinorTickCount() + 1);
    if (mv >= lo - step * 1e-9) tick(mv, 3);
  }
  const String& caption = A->Title()->Caption();
  if (caption.empty()) return;
  C->Font()->Assign(A->Title()->Font());
  int cw = C->TextWidth(caption), ch = C->TextHeight(caption);
  if (horiz) {
    C->TextOut((r.Left + r.Right) / 2 - cw / 2, r.Bottom + 6 + (A->Labels() ? th : 0), caption);
  } else {
    // Turned a quarter counter-clockwise, reading upwards, centred on the plot.
    C->Font()->SetOrientation(900);
    C->TextOut(L.Bounds.Left + 4, (r.Top + r.Bottom) / 2 + cw / 2, caption);
    C->Font()->SetOrientation(0);
    (void)ch;
  }
}

void TChart::DrawTitle(TCanvas* C, const TChartLayout& L) {
  if (!FTitle->Visible()) return;
  C->Font()->Assign(FTitle->Font());
  C->Brush()->SetStyle(bsClear);
  int y = L.Bounds.Top + 4;
  int lh = C->TextHeight(u"Wg");
  int cx = (L.Bounds.Left + L.Bounds.Right) / 2;
  for (int i = 0; i < FTitle->Text()->Count(); ++i) {
    String line = FTitle->Text()->Strings(i);
    C->TextOut(cx - C->TextWidth(line) / 2, y, line);
    y += lh;
  }
}

void TChart::DrawLegend(TCanvas* C, const TChartLayout& L) {
  if (!FLegend->Visible() || FSeries.empty()) return;
  C->Font()->Assign(FLeftAxis->LabelsFont());
  int lh = C->TextHeight(u"Wg") + 2;
  int x = L.ChartRect.Right + L.Depth + 10;
  int w = L.Bounds.Right - x - 4;
  int y = L.ChartRect.Top;
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetColor(clBlack);
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(clWhite);
  C->Rectangle(x, y, x + w, y + lh * SeriesCount() + 4);
  for (TChartSeries* s : FSeries) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(s->SeriesColor());
    C->Rectangle(x + 4, y + 4, x + 16, y + lh);
    C->Brush()->SetStyle(bsClear);
    C->TextOut(x + 20, y + 3, s->Title().empty() ? s->ClassName() : s->Title());
    y += lh;
  }
}

// ---- zoom

void TChart::AxisSetByUser(TChartAxis* Axis) {
  if (!FZoomed) return;
  // A range set while zoomed is the one to come back to.
  AxisState& st = Axis == FBottomAxis.get() ? FSavedX : FSavedY;
  if (Axis != FBottomAxis.get() && Axis != FLeftAxis.get()) return;
  st = AxisState{Axis->FAutomatic, Axis->FMinimum, Axis->FMaximum};
}

void TChart::SaveZoomState() {
  if (FZoomed) return;
  FSavedX = AxisState{FBottomAxis->FAutomatic, FBottomAxis->FMinimum, FBottomAxis->FMaximum};
  FSavedY = AxisState{FLeftAxis->FAutomatic, FLeftAxis->FMinimum, FLeftAxis->FMaximum};
}

void TChart::ApplyZoom(double x0, double x1, double y0, double y1) {
  SaveZoomState();
  FBottomAxis->FAutomatic = false;
  FBottomAxis->FMinimum = std::min(x0, x1);
  FBottomAxis->FMaximum = std::max(x0, x1);
  FLeftAxis->FAutomatic = false;
  FLeftAxis->FMinimum = std::min(y0, y1);
  FLeftAxis->FMaximum = std::max(y0, y1);
  FZoomed = true;
  Changed();
  if (OnZoom) OnZoom(this);
}

void TChart::ZoomPercent(double Percent) {
  if (Percent <= 0) return;
  TChartLayout L = CurrentLayout();
  double xc = (L.XMin + L.XMax) / 2, xh = (L.XMax - L.XMin) / 2 * 100 / Percent;
  double yc = (L.YMin + L.YMax) / 2, yh = (L.YMax - L.YMin) / 2 * 100 / Percent;
  ApplyZoom(xc - xh, xc + xh, yc - yh, yc + yh);
}

void TChart::ZoomRect(const TRect& Rect) {
  TChartLayout L = CurrentLayout();
  ApplyZoom(L.XValue(Rect.Left), L.XValue(Rect.Right), L.YValue(Rect.Bottom), L.YValue(Rect.Top));
}

void TChart::UndoZoom() {
  if (FZoomed) {
    FBottomAxis->FAutomatic = FSavedX.Automatic;
    FBottomAxis->FMinimum = FSavedX.Min;
    FBottomAxis->FMaximum = FSavedX.Max;
    FLeftAxis->FAutomatic = FSavedY.Automatic;
    FLeftAxis->FMinimum = FSavedY.Min;
    FLeftAxis->FMaximum = FSavedY.Max;
    FZoomed = false;
    Changed();
  }
  if (OnUndoZoom) OnUndoZoom(this);
}

// ---- mouse: point clicks and the zoom rectangle

void TChart::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  // The topmost point under the mouse: series drawn last are hit first.
  for (auto it = FSeries.rbegin(); it != FSeries.rend(); ++it) {
    TChartSeries* s = *it;
    if (!s->Active()) continue;
    int index = s->Clicked(X, Y);
    if (index < 0) continue;
    if (s->OnClick) s->OnClick(s, index, Button, Shift, X, Y);
    break;
  }
  if (Button == mbLeft && FAllowZoom && ChartRect().Contains(TPoint(X, Y))) {
    FDragging = true;
    FDragShown = false;
    FDragStart = FDragEnd = TPoint(X, Y);
  }
}

void TChart::DrawDragFrame() {
  TCanvas* c = FWindowCanvas.get();
  c->Pen()->SetMode(pmNotXor);
  c->Pen()->SetStyle(psSolid);
  c->Pen()->SetColor(clBlack);
  c->Pen()->SetWidth(1);
  c->Brush()->SetStyle(bsClear);
  c->Rectangle(std::min(FDragStart.X, FDragEnd.X), std::min(FDragStart.Y, FDragEnd.Y),
               std::max(FDragStart.X, FDragEnd.X) + 1, std::max(FDragStart.Y, FDragEnd.Y) + 1);
  c->Pen()->SetMode(pmCopy);
  FDragShown = !FDragShown;
}

void TChart::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  if (!FDragging) return;
  if (FDragShown) DrawDragFrame();
  FDragEnd = TPoint(X, Y);
  if (std::abs(X - FDragStart.X) >= 3 || std::abs(Y - FDragStart.Y) >= 3) DrawDragFrame();
}

void TChart::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (FDragging && Button == mbLeft) {
    if (FDragShown) DrawDragFrame();
    FDragging = false;
    int dx = X - FDragStart.X, dy = Y - FDragStart.Y;
    if (std::abs(dx) >= 3 || std::abs(dy) >= 3) {
      // Down and to the right zooms into the rectangle; any other direction undoes the zoom.
      if (dx > 0 && dy > 0) ZoomRect(TRect(FDragStart.X, FDragStart.Y, X, Y));
      else UndoZoom();
    }
  }
  TCustomControl::MouseUp(Button, Shift, X, Y);
}
