// Series of the chart: points, colours, conversions, bars and areas.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/chart/Chart.h"

namespace {

TColor Shade(TColor c, int percent) {
  int32_t rgb = ColorToRGB(c);
  auto ch = [&](int shift) { return ((rgb >> shift) & 0xFF) * percent / 100; };
  return static_cast<TColor>(ch(0) | (ch(8) << 8) | (ch(16) << 16));
}

String ValueText(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.10g", v);
  return UTF8ToString(buf);
}

}  // namespace

void TSeriesMarks::SetVisible(bool Value) {
  FVisible = Value;
  FSeries->Repaint();
}

// ---- base

TChartSeries::TChartSeries(TComponent* AOwner) : TComponent(AOwner), FMarks(std::make_unique<TSeriesMarks>(this)) {}

TChartSeries::~TChartSeries() { SetParentChart(nullptr); }

void TChartSeries::SetParentChart(TChart* Value) {
  if (FChart == Value) return;
  if (FChart) {
    auto& v = FChart->FSeries;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
    FChart->Changed();
  }
  FChart = Value;
  if (FChart) {
    FChart->FSeries.push_back(this);
    FChart->Changed();
  }
}

void TChartSeries::Changed() {
  if (FChart) FChart->Changed();
}
void TChartSeries::Repaint() { Changed(); }

void TChartSeries::SetTitle(const String& Value) {
  FTitle = Value;
  Changed();
}
void TChartSeries::SetActive(bool Value) {
  FActive = Value;
  Changed();
}
void TChartSeries::SetSeriesColor(TColor Value) {
  FColor = Value;
  Changed();
}

void TChartSeries::CheckIndex(int ValueIndex) const {
  if (ValueIndex < 0 || ValueIndex >= Count())
    throw EListError(u"List index out of bounds (" + UTF8ToString(std::to_string(ValueIndex)) + u")");
}

void TChartSeries::Clear() {
  FX.clear();
  FY.clear();
  FColors.clear();
  FSortedX = true;
  Changed();
}

int TChartSeries::AddXY(double X, double Y, const String&, TColor Color) {
  if (!FX.empty() && X < FX.back()) FSortedX = false;
  FX.push_back(X);
  FY.push_back(Y);
  FColors.push_back(Color);
  Changed();
  return Count() - 1;
}

int TChartSeries::Add(double Y, const String& Label, TColor Color) { return AddXY(Count(), Y, Label, Color); }

void TChartSeries::Delete(int ValueIndex) {
  CheckIndex(ValueIndex);
  FX.erase(FX.begin() + ValueIndex);
  FY.erase(FY.begin() + ValueIndex);
  FColors.erase(FColors.begin() + ValueIndex);
  Changed();
}

double TChartSeries::XValue(int ValueIndex) const {
  CheckIndex(ValueIndex);
  return FX[size_t(ValueIndex)];
}
void TChartSeries::SetXValue(int ValueIndex, double Value) {
  CheckIndex(ValueIndex);
  FX[size_t(ValueIndex)] = Value;
  FSortedX = std::is_sorted(FX.begin(), FX.end());
  Changed();
}
double TChartSeries::YValue(int ValueIndex) const {
  CheckIndex(ValueIndex);
  return FY[size_t(ValueIndex)];
}
void TChartSeries::SetYValue(int ValueIndex, double Value) {
  CheckIndex(ValueIndex);
  FY[size_t(ValueIndex)] = Value;
  Changed();
}
TColor TChartSeries::ValueColor(int ValueIndex) const {
  CheckIndex(ValueIndex);
  TColor c = FColors[size_t(ValueIndex)];
  return c == clTeeColor ? FColor : c;
}
void TChartSeries::SetValueColor(int ValueIndex, TColor Value) {
  CheckIndex(ValueIndex);
  FColors[size_t(ValueIndex)] = Value;
  Changed();
}

int TChartSeries::CalcXPos(int ValueIndex) const { return CalcXPosValue(XValue(ValueIndex)); }
int TChartSeries::CalcYPos(int ValueIndex) const { return CalcYPosValue(YValue(ValueIndex)); }
int TChartSeries::CalcXPosValue(double Value) const { return FChart ? FChart->CalcXPosValue(Value) : 0; }
int TChartSeries::CalcYPosValue(double Value) const { return FChart ? FChart->CalcYPosValue(Value) : 0; }
double TChartSeries::XScreenToValue(int ScreenPos) const { return FChart ? FChart->XScreenToValue(ScreenPos) : 0; }
double TChartSeries::YScreenToValue(int ScreenPos) const { return FChart ? FChart->YScreenToValue(ScreenPos) : 0; }

void TChartSeries::VisibleRange(double lo, double hi, int& first, int& last) const {
  first = 0;
  last = Count() - 1;
  if (!FSortedX || FX.empty()) return;
  first = int(std::lower_bound(FX.begin(), FX.end(), lo) - FX.begin()) - 1;
  last = int(std::upper_bound(FX.begin(), FX.end(), hi) - FX.begin());
  first = std::max(first, 0);
  last = std::min(last, Count() - 1);
}

void TChartSeries::DrawMarks(TCanvas* C, const TChartLayout& L) {
  int first, last;
  VisibleRange(L.XMin, L.XMax, first, last);
  C->Font()->SetName(u"Arial");
  C->Font()->SetSize(8);
  C->Font()->SetColor(clBlack);
  C->Brush()->SetStyle(bsClear);
  for (int i = first; i <= last; ++i) {
    String t = ValueText(FY[size_t(i)]);
    TSize e = C->TextExtent(t);
    C->TextOut(L.XPos(FX[size_t(i)]) - e.cx / 2 + L.Depth / 2, L.YPos(FY[size_t(i)]) - e.cy - 4 - L.Depth / 2, t);
  }
}

// ---- bars

TBarSeries::TBarSeries(TComponent* AOwner) : TChartSeries(AOwner), FBarPen(std::make_unique<TChartPen>()) {
  FBarPen->OnChange = [this](TObject*) { Changed(); };
}
TBarSeries::~TBarSeries() = default;

void TBarSeries::SetBarWidthPercent(int Value) {
  FBarWidthPercent = std::clamp(Value, 1, 100);
  Changed();
}
void TBarSeries::SetUseYOrigin(bool Value) {
  FUseYOrigin = Value;
  Changed();
}
void TBarSeries::SetYOrigin(double Value) {
  FYOrigin = Value;
  Changed();
}

TRect TBarSeries::BarRect(int i, const TChartLayout& L) const {
  // Bar width: a share of the pixel distance between the two closest neighbouring points.
  double step = 0;
  for (size_t k = 1; k < FX.size(); ++k) {
    double d = std::abs(FX[k] - FX[k - 1]);
    if (d > 0 && (step == 0 || d < step)) step = d;
  }
  if (step == 0) step = 1;
  double px = step * (L.ChartRect.Width() - 1) / (L.XMax - L.XMin);
  int w = std::max(1, int(std::lround(px * FBarWidthPercent / 100)));
  int x = L.XPos(FX[size_t(i)]);
  int left = x - w / 2;
  double v = FY[size_t(i)];
  int top, bottom;
  if (FUseYOrigin) {
    int y = L.YPos(v), o = L.YPos(FYOrigin);
    top = std::min(y, o);
    bottom = std::max(y, o) + 1;
    if (v == FYOrigin) return TRect();
  } else {
    // From the floor of the plot up to the value; nothing at or below the axis minimum.
    if (v <= L.YMin) return TRect();
    top = L.YPos(v);
    bottom = L.ChartRect.Bottom;
  }
  return TRect(left, top, left + w, bottom);
}

void TBarSeries::DrawValues(TCanvas* C, const TChartLayout& L) {
  int first, last;
  VisibleRange(L.XMin, L.XMax, first, last);
  const bool pen = FBarPen->Visible();
  C->Brush()->SetStyle(bsSolid);
  if (pen) {
    C->Pen()->Assign(FBarPen.get());
  } else {
    C->Pen()->SetStyle(psClear);
  }
  for (int i = first; i <= last; ++i) {
    TRect r = BarRect(i, L);
    if (r.IsEmpty()) continue;
    TColor color = ValueColor(i);
    C->Brush()->SetColor(color);
    if (pen) C->Rectangle(r);
    else C->FillRect(r);
    // The top and right faces of a box, in darker shades, no deeper than the bar is wide.
    const int d = std::min(L.Depth / 2, r.Width());
    if (d > 0) {
      TPoint top[4] = {{r.Left, r.Top}, {r.Left + d, r.Top - d}, {r.Right + d, r.Top - d}, {r.Right, r.Top}};
      TPoint side[4] = {{r.Right, r.Top}, {r.Right + d, r.Top - d}, {r.Right + d, r.Bottom - d}, {r.Right, r.Bottom}};
      C->Brush()->SetColor(Shade(color, 90));
      C->Polygon(top, 4);
      C->Brush()->SetColor(Shade(color, 70));
      C->Polygon(side, 4);
    }
  }
}

int TBarSeries::Clicked(int X, int Y) const {
  if (!FChart) return -1;
  TChartLayout L = FChart->CurrentLayout();
  if (!L.ChartRect.Contains(TPoint(X, Y))) return -1;
  int first, last;
  VisibleRange(L.XMin, L.XMax, first, last);
  for (int i = last; i >= first; --i) {
    TRect r = BarRect(i, L);
    if (!r.IsEmpty() && X >= r.Left && X < r.Right && Y >= r.Top - 1 && Y < r.Bottom) return i;
  }
  return -1;
}

// ---- areas

TSeriesPointer::TSeriesPointer(TChartSeries* ASeries)
    : FSeries(ASeries), FBrush(std::make_unique<TBrush>()), FPen(std::make_unique<TChartPen>()) {
  FPen->SetVisible(false);
  FBrush->OnChange = [this](TObject*) { FSeries->Repaint(); };
  FPen->OnChange = [this](TObject*) { FSeries->Repaint(); };
}
TSeriesPointer::~TSeriesPointer() = default;

void TSeriesPointer::SetVisible(bool Value) {
  FVisible = Value;
  FSeries->Repaint();
}
void TSeriesPointer::SetStyle(TSeriesPointerStyle Value) {
  FStyle = Value;
  FSeries->Repaint();
}
void TSeriesPointer::SetHorizSize(int Value) {
  FHorizSize = std::max(1, Value);
  FSeries->Repaint();
}
void TSeriesPointer::SetVertSize(int Value) {
  FVertSize = std::max(1, Value);
  FSeries->Repaint();
}

TAreaSeries::TAreaSeries(TComponent* AOwner)
    : TChartSeries(AOwner),
      FPointer(std::make_unique<TSeriesPointer>(this)),
      FAreaLinesPen(std::make_unique<TChartPen>()) {
  FPointer->SetVisible(false);
  FAreaLinesPen->SetVisible(false);
  FMarks->SetVisible(false);  // thousands of points: value labels only on request
  FAreaLinesPen->OnChange = [this](TObject*) { Repaint(); };
}
TAreaSeries::~TAreaSeries() = default;

void TAreaSeries::DrawValues(TCanvas* C, const TChartLayout& L) {
  int first, last;
  VisibleRange(L.XMin, L.XMax, first, last);
  if (last < first) return;
  const int n = last - first + 1;
  const int floor = L.ChartRect.Bottom;
  std::vector<TPoint> pts(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i)
    pts[size_t(i)] = TPoint(L.XPos(FX[size_t(first + i)]), L.YPos(FY[size_t(first + i)]));

  // The area: one polygon per run of stretches of the same colour.
  C->Pen()->SetStyle(psClear);
  C->Brush()->SetStyle(bsSolid);
  std::vector<TPoint> poly;
  for (int a = 1; a < n;) {
    TColor color = ValueColor(first + a);
    int b = a;
    while (b + 1 < n && ValueColor(first + b + 1) == color) ++b;
    poly.assign(pts.begin() + (a - 1), pts.begin() + b + 1);
    poly.emplace_back(pts[size_t(b)].X, floor);
    poly.emplace_back(pts[size_t(a - 1)].X, floor);
    C->Brush()->SetColor(color);
    C->Polygon(poly);
    a = b + 1;
  }

  if (FAreaLinesPen->Visible()) {
    C->Pen()->Assign(FAreaLinesPen.get());
    int lastX = INT32_MIN;
    for (const TPoint& p : pts) {
      if (p.X == lastX) continue;  // one line per pixel column is all that shows
      lastX = p.X;
      C->MoveTo(p.X, p.Y);
      C->LineTo(p.X, floor);
    }
  }

  if (FPointer->Visible()) {
    const int hs = FPointer->HorizSize(), vs = FPointer->VertSize();
    const bool pen = FPointer->Pen()->Visible();
    if (pen) C->Pen()->Assign(FPointer->Pen());
    else C->Pen()->SetStyle(psClear);
    C->Brush()->Assign(FPointer->Brush());
    TPoint prev(INT32_MIN, INT32_MIN);
    for (const TPoint& p : pts) {
      if (p == prev) continue;  // the same marker at the same place draws the same pixels
      prev = p;
      int l = p.X - hs / 2, t = p.Y - vs / 2;
      // Without an outline GDI leaves out the last row and column; the box grows to keep the size.
      int grow = pen ? 0 : 1;
      if (FPointer->Style() == psCircle) C->Ellipse(l, t, l + hs + grow, t + vs + grow);
      else if (pen) C->Rectangle(l, t, l + hs, t + vs);
      else C->FillRect(TRect(l, t, l + hs, t + vs));
    }
  }
}

int TAreaSeries::Clicked(int X, int Y) const {
  if (!FChart || FX.empty()) return -1;
  TChartLayout L = FChart->CurrentLayout();
  if (!L.ChartRect.Contains(TPoint(X, Y))) return -1;
  int first, last;
  VisibleRange(L.XMin, L.XMax, first, last);
  // The point nearest in x, hit on its marker or anywhere in the area below it.
  int best = -1, bestDist = 0;
  for (int i = first; i <= last; ++i) {
    int d = std::abs(L.XPos(FX[size_t(i)]) - X);
    if (best < 0 || d < bestDist) {
      best = i;
      bestDist = d;
    }
  }
  int tol = std::max(3, FPointer->HorizSize());
  if (best < 0 || bestDist > tol) return -1;
  return Y >= L.YPos(FY[size_t(best)]) - std::max(3, FPointer->VertSize()) ? best : -1;
}
