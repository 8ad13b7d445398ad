// Scale settings: measuring and drawing linear, logarithmic and round scales.
#include <algorithm>
#include <cmath>

#include "instruments/_GClass.h"
#include "platform/rtl/SysUtils.h"

namespace {
int R(double v) { return static_cast<int>(Round(v)); }
void Line(TCanvas* c, int x1, int y1, int x2, int y2) {
  c->MoveTo(x1, y1);
  c->LineTo(x2, y2);
}
}  // namespace

int32_t LogStepCount(int32_t Steps, int32_t Span) {
  if (Span == 0) return 1;
  for (int32_t c = std::max(Steps, 1); c >= 2; --c)
    if (Span % c == 0) return c;
  return 1;
}

TScaleSettings::TScaleSettings() : FFont(std::make_unique<TFont>()) {
  FFont->SetName(u"Arial");
  FFont->SetSize(14);
  FFont->OnChange = [this](TObject* Sender) { FontChange(Sender); };
}

TScaleSettings::~TScaleSettings() = default;

void TScaleSettings::SetColor(TColor v) {
  if (v == FColor) return;
  FColor = v;
  Change();
}
void TScaleSettings::SetPointerColor(TColor v) {
  if (v == FPointerColor) return;
  FPointerColor = v;
  Change();
}
void TScaleSettings::SetFont(TFont* v) {
  FFont->Assign(v);
  Change();
}
void TScaleSettings::SetSteps(int32_t v) {
  if (v < 1 || v > 20 || v == FSteps) return;
  FSteps = v;
  Change();
}
void TScaleSettings::SetSubSteps(int32_t v) {
  if (v < 1 || v > 10 || v == FSubSteps) return;
  FSubSteps = v;
  Change();
}
void TScaleSettings::SetDrawLine(bool v) {
  FDrawLine = v;
  Change();
}
void TScaleSettings::SetValueFormat(const String& v) {
  if (v == FValueFormat) return;
  FValueFormat = v;
  Change();
}
void TScaleSettings::SetValueFormatLog(const String& v) {
  if (v == FValueFormatLog) return;
  FValueFormatLog = v;
  Change();
}
void TScaleSettings::SetPosLeftTop(bool v) {
  if (v == FPosLeftTop) return;
  FPosLeftTop = v;
  Change();
}

void TScaleSettings::AssignTo(TPersistent* Dest) {
  if (auto* d = dynamic_cast<TScaleSettings*>(Dest)) {
    d->SetColor(FColor);
    d->SetDrawLine(FDrawLine);
    d->SetFont(FFont.get());
    d->SetPointerColor(FPointerColor);
    d->SetPosLeftTop(FPosLeftTop);
    d->SetSteps(FSteps);
    d->SetSubSteps(FSubSteps);
    d->SetValueFormat(FValueFormat);
    d->SetValueFormatLog(FValueFormatLog);
    return;
  }
  TAbPersistent::AssignTo(Dest);
}

void TScaleSettings::Measure(TCanvas* can, float ValueFrom, float ValueTo, bool Descending) {
  can->Font()->Assign(FFont.get());
  can->Pen()->SetColor(FColor);
  if (LogScale) {
    exp1 = R(Log10Real(ValueFrom));
    exp2 = R(Log10Real(ValueTo));
    LogSteps = LogStepCount(FSteps, exp2 - exp1);
    Text = LogLabelList(exp1, exp2, LogSteps, FValueFormatLog, Descending);
  } else {
    Text = Descending ? LinearLabelList(FSteps, FValueFormat, ValueFrom, ValueTo)
                      : LinearLabelList(FSteps, FValueFormat, ValueTo, ValueFrom);
  }
  MaxItemWidth(can, TextW, TextH, Text);
  PenW1 = R(TextH / 14.0);
}

void TScaleSettings::CalcSize(TCanvas* can, float ValueFrom, float ValueTo) {
  Measure(can, ValueFrom, ValueTo, true);
  int n = MainSteps();
  Spacing = TextH / 3;
  sl1 = R(TextH / 1.4);
  sl2 = PenW1 == 1 ? sl1 / 2 : R(sl1 / 1.4);
  BarSpace = PenW1 / 2 + 3;
  TotalWidth = TextW + sl1 + Spacing;
  minHeight = R(TextH * n * 1.4);
}

void TScaleSettings::CalcHSize(TCanvas* can, float ValueFrom, float ValueTo) {
  Measure(can, ValueFrom, ValueTo, false);
  int n = MainSteps();
  Spacing = TextH / 5;
  sl1 = R(TextH / 1.4);
  sl2 = PenW1 == 1 ? sl1 / 2 : R(sl1 / 1.4);
  BarSpace = PenW1 / 2 + 3;
  TotalWidth = R(TextW * n * 1.4);
  minHeight = TextH / 2 + sl1 + Spacing;
}

void TScaleSettings::CalcRSize(TCanvas* can, float ValueFrom, float ValueTo) {
  Measure(can, ValueFrom, ValueTo, false);
  Spacing = std::max(TextW, TextH) / 2 + 1;
  BarSpace = PenW1 / 2 + 3;
}

void TScaleSettings::VertiScala(TCanvas* can, const TRect& r) {
  int n = std::max(MainSteps(), 1);
  can->Font()->Assign(FFont.get());
  can->Pen()->SetColor(FColor);
  can->Brush()->SetStyle(bsClear);
  can->Pen()->SetWidth(PenW1);
  String list = Text, label;
  float s = static_cast<float>(r.Bottom - r.Top) / (n * FSubSteps);
  float e = FSubSteps * s;
  pos0 = r.Bottom;
  pos100 = R(r.Bottom - n * e);
  int yEnd = R(r.Top + n * e);
  int baseX, dir, labelX, anchor;
  if (FPosLeftTop) {
    baseX = r.Right; dir = -1; labelX = r.Right - sl1 - Spacing + 1; anchor = 5;
  } else {
    baseX = r.Left; dir = 1; labelX = r.Left + sl1 + Spacing; anchor = 3;
  }
  if (FDrawLine) Line(can, baseX, r.Top, baseX, yEnd);
  for (int i = 0; i < n; ++i) {
    int y = R(r.Top + e * i);
    can->Pen()->SetWidth(PenW1);
    Line(can, baseX, y, baseX + dir * sl1, y);
    SplitFirst(list, u';', label);
    TextOutAnchored(can, labelX, y, anchor, label);
    can->Pen()->SetWidth(PenW2);
    if (LogScale) {
      double t = 10.0 / FSubSteps;
      for (int u = 1; u < FSubSteps; ++u) {
        int y2 = R(r.Top + e * (i + 1)) - R(e * Log10Real(t * (FSubSteps - u)));
        Line(can, baseX, y2, baseX + dir * sl2, y2);
      }
    } else {
      for (int k = 0; k < FSubSteps; ++k) {
        int y2 = R(e * i + r.Top + s * k);
        Line(can, baseX, y2, baseX + dir * sl2, y2);
      }
    }
  }
  SplitFirst(list, u';', label);
  TextOutAnchored(can, labelX, yEnd, anchor, label);
  can->Pen()->SetWidth(PenW1);
  Line(can, baseX, yEnd, baseX + dir * sl1, yEnd);
}

void TScaleSettings::HorizScala(TCanvas* can, const TRect& r) {
  int n = std::max(MainSteps(), 1);
  can->Font()->Assign(FFont.get());
  can->Pen()->SetColor(FColor);
  can->Brush()->SetStyle(bsClear);
  can->Pen()->SetWidth(PenW1);
  String list = Text, label;
  float s = static_cast<float>(r.Right - r.Left) / (n * FSubSteps);
  float e = FSubSteps * s;
  pos0 = r.Left;
  pos100 = R(n * e + r.Left);
  int y0, dir, labelY, anchor;
  if (FPosLeftTop) {
    y0 = r.Top + TextH / 2 + Spacing + sl1; dir = -1; labelY = r.Top; anchor = 4;
  } else {
    y0 = r.Top; dir = 1; labelY = r.Top + sl1 + Spacing; anchor = 1;
  }
  if (FDrawLine) Line(can, r.Left, y0, pos100, y0);
  for (int i = 0; i < n; ++i) {
    int x = R(r.Left + e * i);
    can->Pen()->SetWidth(PenW1);
    Line(can, x, y0, x, y0 + dir * sl1);
    SplitFirst(list, u';', label);
    TextOutAnchored(can, x, labelY, anchor, label);
    can->Pen()->SetWidth(PenW2);
    if (LogScale) {
      for (int k = 1; k <= FSubSteps; ++k) {
        int x2 = r.Left + R(e * i + e * Log10Real(k * 10.0 / FSubSteps));
        Line(can, x2, y0, x2, y0 + dir * sl2);
      }
    } else {
      for (int k = 0; k < FSubSteps; ++k) {
        int x2 = R(e * i + r.Left + s * k);
        Line(can, x2, y0, x2, y0 + dir * sl2);
      }
    }
  }
  SplitFirst(list, u';', label);
  TextOutAnchored(can, pos100, labelY, anchor, label);
  can->Pen()->SetWidth(PenW1);
  Line(can, pos100, y0, pos100, y0 + dir * sl1);
}

void TScaleSettings::Circle(TCanvas* can, TRect& r, float AlphaFrom, float Alpha, bool Dial) {
  int n = Dial ? FSteps : std::max(MainSteps(), 1);
  can->Font()->Assign(FFont.get());
  can->Pen()->SetColor(FColor);
  can->Brush()->SetStyle(bsClear);
  String list = Text, label;
  TPoint c = RectCenter(r);
  int rad = (r.Width() - 2 * Spacing) / 2 + Spacing - TextW / 2;
  sl1 = Dial ? std::max(rad / 7, 3) : rad / 8;
  sl2 = PenW1 == 1 ? sl1 / 2 : R(sl1 / 1.4);
  if (Dial) sl2 = std::max(sl2, 1);
  c.Y = r.Top + rad + TextH / 2;
  cp = c;
  r = TRect(c.X + TextW / 2 + PenW1 / 2 - rad, c.Y + TextW / 2 + PenW1 / 2 - rad,
            c.X + rad + PenW1 / 2 - TextW / 2 - 1, c.Y + rad + PenW1 / 2 - TextW / 2 - 1);
  float subA = Alpha / (FSubSteps * n), mainA = FSubSteps * subA;
  TPoint po = RotatePoint(TPoint(c.X, c.Y + Spacing - rad), c, true, AlphaFrom);
  TPoint pm = RotatePoint(TPoint(c.X, c.Y + Spacing + sl1 - rad), c, true, AlphaFrom);
  TPoint ps = RotatePoint(TPoint(c.X, c.Y + Spacing + sl1 - sl2 - rad), c, true, AlphaFrom);
  TPoint pl = RotatePoint(TPoint(c.X, c.Y - rad), c, true, AlphaFrom);
  auto at = [&](TPoint p, double a) { return RotatePoint(p, c, true, a); };
  for (int i = 0; i < n; ++i) {
    double a = i * mainA;
    can->Pen()->SetWidth(PenW1);
    SplitFirst(list, u';', label);
    TPoint l = at(pl, a);
    TextOutAnchored(can, l.X, l.Y, 4, label);
    TPoint o = at(po, a), m = at(pm, a);
    Line(can, o.X, o.Y, m.X, m.Y);
    can->Pen()->SetWidth(1);
    for (int k = 1; k < FSubSteps; ++k) {
      double sa = LogScale && !Dial ? R(Log10Real(k * 10.0 / FSubSteps) * mainA + i * mainA)
                                    : R(i * mainA + k * subA);
      TPoint m2 = at(pm, sa), s2 = at(ps, sa);
      Line(can, m2.X, m2.Y, s2.X, s2.Y);
    }
  }
  SplitFirst(list, u';', label);
  if (Alpha != 360 || Dial) {
    TPoint l = at(pl, Alpha);
    TextOutAnchored(can, l.X, l.Y, 4, label);
  }
  can->Pen()->SetWidth(PenW1);
  TPoint o = at(po, Alpha), m = at(pm, Alpha);
  Line(can, o.X, o.Y, m.X, m.Y);
  LinePos[0] = TPoint(r.Left + sl1, r.Top + sl1);
  LinePos[1] = TPoint(r.Right - sl1, r.Bottom - sl1 + 1);
  LinePos[2] = m;
  LinePos[3] = po;
  if (PenW1 == 1) {
    ++r.Left;
    ++r.Top;
  }
}

void TScaleSettings::RoundScala(TCanvas* can, TRect& r, float AlphaFrom, float Alpha) {
  Circle(can, r, AlphaFrom, Alpha, false);
}

void TScaleSettings::DialScala(TCanvas* can, TRect& r, float AlphaFrom, float Alpha) {
  Circle(can, r, AlphaFrom, Alpha, true);
}
