// The analogue clock: settings, appearance, time keeping, mouse and keys, animation.

#include "dropdowns/AdvWatch.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/rtl/SysUtils.h"

// ---------------------------------------------------------------------------
// TWatchSettings

void TWatchSettings::Changed() {
  if (OnChange) OnChange(this);
}

void TWatchSettings::SetAuto(bool Value) {
  if (FAuto == Value) return;
  FAuto = Value;
  Changed();
}

void TWatchSettings::SetTimeOffset(int Value) {
  if (FTimeOffset == Value) return;
  FTimeOffset = Value;
  Changed();
}

void TWatchSettings::SetSecond(bool Value) {
  if (FSecond == Value) return;
  FSecond = Value;
  Changed();
}

void TWatchSettings::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TWatchSettings*>(Source)) {
    FSecond = S->FSecond;
    FTimeOffset = S->FTimeOffset;
    SetAuto(S->FAuto);
    return;
  }
  TPersistent::Assign(Source);
}

// ---------------------------------------------------------------------------
// TWatchAppearance

TWatchAppearance::TWatchAppearance()
    : FHourFont(std::make_unique<TFont>()), FAMPMFont(std::make_unique<TFont>()), FPicture(std::make_unique<TPicture>()) {
  FHourFont->SetName(u"Tahoma");
  FHourFont->SetSize(8);
  FAMPMFont->SetName(u"Tahoma");
  FAMPMFont->SetSize(10);
  FHourFont->OnChange = [this](TObject*) { Changed(); };
  FAMPMFont->OnChange = [this](TObject*) { Changed(); };
  FPicture->OnChange = [this](TObject*) { Changed(); };
}

TWatchAppearance::~TWatchAppearance() = default;

void TWatchAppearance::Changed() {
  if (OnChange) OnChange(this);
}

void TWatchAppearance::SetHourFont(TFont* Value) {
  FHourFont->Assign(Value);
  Changed();
}

void TWatchAppearance::SetAMPMFont(TFont* Value) {
  FAMPMFont->Assign(Value);
  Changed();
}

void TWatchAppearance::SetPicture(TPicture* Value) {
  FPicture->Assign(Value);
  Changed();
}

void TWatchAppearance::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TWatchAppearance*>(Source);
  if (S == nullptr) {
    TPersistent::Assign(Source);
    return;
  }
  // Fields copied quietly; the owner repaints once through the last three setters.
  const TNotifyEvent keep = OnChange;
  OnChange = nullptr;
  FSize = S->FSize;
  FHourPointer = S->FHourPointer;
  FBackgroundColor = S->FBackgroundColor;
  FMinutePointerShadow = S->FMinutePointerShadow;
  FBackgroundColorTo = S->FBackgroundColorTo;
  FHourPointerShadow = S->FHourPointerShadow;
  FSecondPointer = S->FSecondPointer;
  FBorderColor = S->FBorderColor;
  FMinutePointer = S->FMinutePointer;
  FHourFont->Assign(S->FHourFont.get());
  FAMPMFont->Assign(S->FAMPMFont.get());
  FPicture->Assign(S->FPicture.get());
  FAMPMFrame = S->FAMPMFrame;
  FShape = S->FShape;
  FPointerStyle = S->FPointerStyle;
  FHourPointerSize = S->FHourPointerSize;
  FSecondPointerSize = S->FSecondPointerSize;
  FMinutePointerSize = S->FMinutePointerSize;
  FHourColor = S->FHourColor;
  FMinuteColor = S->FMinuteColor;
  FCenterPointSize = S->FCenterPointSize;
  FCenterPointColor = S->FCenterPointColor;
  FCenterPointBorderColor = S->FCenterPointBorderColor;
  FBackgroundGradient = S->FBackgroundGradient;
  FHourMarkLength = S->FHourMarkLength;
  FHourMarkWidth = S->FHourMarkWidth;
  FMinuteMarkLength = S->FMinuteMarkLength;
  FMinuteMarkWidth = S->FMinuteMarkWidth;
  FBorderWidth = S->FBorderWidth;
  FAMPMColor = S->FAMPMColor;
  FAMPMBorderColor = S->FAMPMBorderColor;
  OnChange = keep;
  SetCenterPointOuterBorderColor(S->FCenterPointOuterBorderColor);
  SetTickMarks(S->FTickMarks);
  SetHourMarkStyle(S->FHourMarkStyle);
  Changed();
}

// ---------------------------------------------------------------------------
// TAdvWatch: time keeping

namespace {

struct TParts {
  uint16_t h, m, s, ms;
};

TParts Split(TDateTime T) {
  TParts p{};
  DecodeTime(T, p.h, p.m, p.s, p.ms);
  return p;
}

}  // namespace

TAdvWatch::TAdvWatch(TComponent* AOwner)
    : TCustomControl(AOwner),
      FAppearance(std::make_unique<TWatchAppearance>()),
      FSettings(std::make_unique<TWatchSettings>()),
      FBKGCache(std::make_unique<TBitmap>()),
      FScreen(std::make_unique<TBitmap>()),
      FShadowMask(std::make_unique<TBitmap>()) {
  FAppearance->OnChange = [this](TObject* S) { AppearanceChanged(S); };
  FSettings->OnChange = [this](TObject* S) { SettingsChanged(S); };
  FWatchTimer = new TTimer(this);
  FWatchTimer->SetEnabled(false);
  FWatchTimer->SetInterval(100);
  FWatchTimer->SetOnTimer([this](TObject*) { WatchTick(); });
  FAnimationTimer = new TTimer(this);
  FAnimationTimer->SetEnabled(false);
  FAnimationTimer->SetInterval(1);
  FAnimationTimer->SetOnTimer([this](TObject*) { AnimationTick(); });
  FRollTimer = new TTimer(this);
  FRollTimer->SetEnabled(false);
  FRollTimer->SetInterval(10);
  FRollTimer->SetOnTimer([this](TObject*) { RollTick(); });
  SetBounds(Left(), Top(), 180, 180);
}

TAdvWatch::~TAdvWatch() = default;

void TAdvWatch::SetTimeSource(std::function<TDateTime()> Source) { FTimeSource = std::move(Source); }

TDateTime TAdvWatch::CurrentTime() const {
  if (!FSettings->Auto()) return FTime;
  const TDateTime now = FTimeSource ? FTimeSource() : Now();
  // The time of day only, the offset wrapping round midnight.
  double t = now + FSettings->TimeOffset() / 1440.0;
  t -= std::floor(t);
  return t;
}

void TAdvWatch::StoreTime(TDateTime Value) {
  FTime = Value;
  FInternalSet = true;
  SetAM(Split(Value).h < 12);
  FInternalSet = false;
  PaintHands();
}

void TAdvWatch::SetTime(TDateTime Value) {
  if (Value == FTime) return;
  StoreTime(Value);
}

void TAdvWatch::SetShowAMPM(bool Value) {
  if (FShowAMPM == Value) return;
  FShowAMPM = Value;
  PaintAll();
}

void TAdvWatch::SetShowNumbers(bool Value) {
  if (FShowNumbers == Value) return;
  FShowNumbers = Value;
  PaintAll();
}

void TAdvWatch::SetHourInternal(int Value) {
  const TParts p = Split(CurrentTime());
  StoreTime(EncodeTime(Value, p.m, p.s, p.ms));
}

void TAdvWatch::SetHour(int Value) {
  const TParts p = Split(CurrentTime());
  if (Value == p.h) return;
  if (!FAnimation || FInternalCall || ComponentState().Contains(csLoading)) {
    SetHourInternal(Value);
    if (OnChange) OnChange(this);
    return;
  }
  FCurrentHourTo = static_cast<uint8_t>(Value);
  FHourAnimating = true;
  FAnimationTimer->SetEnabled(true);
}

void TAdvWatch::SetMinuteInternal(int Value) {
  const TParts p = Split(CurrentTime());
  int h = p.h;
  if (!FAnimation) FMinuteFrom = static_cast<uint8_t>(p.m);
  // Passing 12 o'clock forwards from the second half of the hour starts the next hour.
  if (Value == 0 && FMinuteFrom > 30) {
    h = h == 23 ? 0 : h + 1;
    FMinuteFrom = 0;
  }
  StoreTime(EncodeTime(h, Value, p.s, p.ms));
}

void TAdvWatch::SetMinute(int Value) {
  if (Value >= 60 || Value < 0) throw Exception(u"Invalid time");
  const TParts p = Split(CurrentTime());
  if (Value == p.m) return;
  if (FAnimation && !FInternalCall && !ComponentState().Contains(csLoading)) {
    FCurrentMinuteTo = static_cast<uint8_t>(Value);
    FHourAnimating = false;
    FMinuteFrom = static_cast<uint8_t>(p.m);
    FAnimationTimer->SetEnabled(true);
    return;
  }
  SetMinuteInternal(Value);
  if (OnChange) OnChange(this);
}

void TAdvWatch::AnimationTick() {
  if (!FAnimation) {
    // Switched off midway: the hand goes straight to its target.
    FAnimationTimer->SetEnabled(false);
    FInternalCall = true;
    if (FHourAnimating) SetHour(FCurrentHourTo);
    else SetMinute(FCurrentMinuteTo);
    FInternalCall = false;
    return;
  }
  const TParts p = Split(CurrentTime());
  const int f = Factor();
  if (FHourAnimating) {
    const int h = p.h, to = FCurrentHourTo;
    if (h == to) {
      FAnimationTimer->SetEnabled(false);
      if (OnChange) OnChange(this);
      return;
    }
    const int step = std::max<int>(1, static_cast<int>(Round(std::abs(h - to) / double(f))));
    SetHourInternal(h < to ? h + step : h - step);
    return;
  }
  const int m = p.m, to = FCurrentMinuteTo;
  if (m == to) {
    FAnimationTimer->SetEnabled(false);
    if (OnChange) OnChange(this);
    return;
  }
  const bool roundTheTop = to == 0 && m > 30;
  const int dist = roundTheTop ? 60 - m : std::abs(m - to);
  const int step = std::max<int>(1, static_cast<int>(Round(dist / double(f))));
  int next = m < to || roundTheTop ? m + step : m - step;
  if (next > 59) next = 0;
  SetMinuteInternal(next);
}

void TAdvWatch::SettingsChanged(TObject*) {
  FWatchTimer->SetEnabled(FSettings->Auto());
  if (FSettings->Auto()) {
    const TDateTime now = FTimeSource ? FTimeSource() : Now();
    FTime = now - std::floor(now);
    FInternalSet = true;
    SetAM(Split(CurrentTime()).h < 12);
    FInternalSet = false;
  }
  PaintAll();
}

void TAdvWatch::WatchTick() {
  if (!FSettings->Auto()) return;
  FInternalSet = true;
  SetAM(Split(CurrentTime()).h < 12);
  FInternalSet = false;
  PaintHands();
}

void TAdvWatch::AppearanceChanged(TObject*) { PaintAll(); }

void TAdvWatch::ProcessKey(Word Key) {
  if (FSettings->Auto()) return;
  const TParts p = Split(CurrentTime());
  const int h = p.h, m = p.m;
  auto internalHour = [this](int Value) {
    FInternalCall = true;
    SetHour(Value);
    FInternalCall = false;
  };
  switch (Key) {
    case 65: case 97:
      if (h > 11) SetHour(h - 12);
      break;
    case 80: case 112:
      if (h < 12) SetHour(h + 12);
      break;
    case 33:
      if (h <= 22) SetHour(h + 1);
      else internalHour(0);
      break;
    case 34:
      if (h > 0) SetHour(h - 1);
      else internalHour(23);
      break;
    case 36:
      internalHour(12);
      break;
    case 35:
      SetMinute(0);
      break;
    case 37:
      if (m > 0) SetMinute(m - 1);
      else {
        StoreTime(EncodeTime(h == 0 ? 23 : h - 1, 59, p.s, p.ms));
        if (OnChange) OnChange(this);
      }
      break;
    case 39:
      SetMinute(m < 59 ? m + 1 : 0);
      break;
    default:
      break;
  }
}

// ---------------------------------------------------------------------------
// Geometry and the mouse

TRect TAdvWatch::FaceRect() const {
  const int w = ClientWidth(), h = ClientHeight();
  int d;
  const int size = FAppearance->Size();
  if (size > 0) d = std::min({size, w, h});
  else d = std::min(w, h) - 20;
  d = std::max(0, d);
  const int l = (w - d) / 2, t = (h - d) / 2;
  return TRect(l, t, l + d, t + d);
}

int TAdvWatch::MinuteFromPoint(TPoint P) const {
  const TRect f = FaceRect();
  const int cx = f.Left + f.Width() / 2, cy = f.Top + f.Height() / 2;
  int dy = std::abs(cy - P.Y), dx = std::abs(cx - P.X);
  if (dy == 0) dy = 1;
  if (dx == 0) dx = 1;
  const double a = std::atan(double(dy) / dx) * 180.0 / M_PI;
  const int k = static_cast<int>(Round(a / 6));
  int r;
  if (P.X >= cx && P.Y >= cy) r = k + 15;
  else if (P.X <= cx && P.Y >= cy) r = 45 - k;
  else if (P.X <= cx && P.Y <= cy) r = k + 45;
  else r = 15 - k;
  return r < 0 || r > 59 ? 0 : r;
}

int TAdvWatch::HourFromPoint(TPoint P) const {
  // Either side of 12 is hour 0 in the morning and 12 in the afternoon.
  const int k = static_cast<int>(Round(MinuteFromPoint(P) / 5.0)) % 12;
  if (k <= 0) return FAM ? 0 : 12;
  return FAM ? k : k + 12;
}

bool PointInEllipse(TPoint P, TRect R) {
  const double a = R.Width() / 2.0, b = R.Height() / 2.0;
  if (a <= 0 || b <= 0) return false;
  const double x = P.X + 0.5 - (R.Left + a), y = P.Y + 0.5 - (R.Top + b);
  return (x * x) / (a * a) + (y * y) / (b * b) <= 1.0;
}

void TAdvWatch::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (FSettings->Auto()) return;
  const TPoint P(X, Y);
  const TRect face = FaceRect();
  if (!PointInEllipse(P, face)) {
    SetMinute(MinuteFromPoint(P));
    return;
  }
  const TRect box = GetAMPMRect();
  if (FShowAMPM && P.X >= box.Left && P.X < box.Right && P.Y >= box.Top && P.Y < box.Bottom) {
    if (FAnimation) SetAM(!FAM);
    const int h = Split(FTime).h;
    FCurrentHourTo = static_cast<uint8_t>(h < 12 ? h + 12 : h - 12);
    FInternalCall = true;
    SetHour(FCurrentHourTo);
    FInternalCall = false;
    return;
  }
  SetHour(HourFromPoint(P));
}

void TAdvWatch::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  const TRect box = FShowAMPM ? GetAMPMRect() : TRect(-1, -1, -1, -1);
  const bool over = X >= box.Left && X < box.Right && Y >= box.Top && Y < box.Bottom;
  SetCursor(over ? crHandPoint : crDefault);
}

void TAdvWatch::WMGetDlgCode(TWMGetDlgCode& Message) { Message.SetResult(TabStop() ? 5 : 0); }

void TAdvWatch::Resize() {
  TCustomControl::Resize();
  FFaceValid = false;
  FScreenValid = false;
  Invalidate();
}
