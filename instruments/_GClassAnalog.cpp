// Signal settings and the analog input base.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "instruments/_GClass.h"
#include "platform/rtl/SysUtils.h"

// ---- TSignalSettings

void TSignalSettings::SetDigitalFrom(int32_t v) {
  if (v == FDigitalFrom) return;
  DigitScaleChanged(v, FDigitalTo);
  FDigitalFrom = v;
  Change();
}

void TSignalSettings::SetDigitalTo(int32_t v) {
  if (v == FDigitalTo) return;
  DigitScaleChanged(FDigitalFrom, v);
  FDigitalTo = v;
  Change();
}

void TSignalSettings::SetName1(const String& v) {
  if (v == FName1) return;
  FName1 = v;
  Change();
}
void TSignalSettings::SetName2(const String& v) {
  if (v == FName2) return;
  FName2 = v;
  Change();
}
void TSignalSettings::SetValueFormat(const String& v) {
  if (v == FValueFormat) return;
  FValueFormat = v;
  Change();
}
void TSignalSettings::SetValueUnit(const String& v) {
  if (v == FValueUnit) return;
  FValueUnit = v;
  Change();
}

void TSignalSettings::SetValueFrom(float v) {
  if (v == FValueFrom || v == FValueTo) return;
  FValueFrom = v == 0 ? 0.000001f : v;
  if (LogScale) {
    int e = 0;
    FValueFrom = static_cast<float>(SnapToDecade(e, FValueFrom));
  }
  Change();
}

void TSignalSettings::SetValueTo(float v) {
  if (v == FValueFrom || v == FValueTo) return;
  FValueTo = v;
  if (LogScale) {
    int e = 0;
    FValueTo = static_cast<float>(SnapToDecade(e, FValueTo));
  }
  Change();
}

void TSignalSettings::ComputeDerived() {
  if (FValueFrom < 0 || FValueTo > 0) TotalValue = FValueTo - FValueFrom;
  TotalDigit = RangeSpan(FDigitalFrom, FDigitalTo);
  if (TotalDigit > 0) ValuePerDigit = TotalValue / TotalDigit;
  if (TotalValue > 0) {
    DigitPerValue = TotalDigit / TotalValue;
    PPTPerValue = 1000 / TotalValue;
    ValueSizeStr = AbGetValueFormat(FValueFormat);
  }
}

void TSignalSettings::Change() {
  ComputeDerived();
  TAbPersistent::Change();
}

int32_t TSignalSettings::GetPPT(float Value) const {
  return static_cast<int32_t>(Round((Value - FValueFrom) * PPTPerValue));
}

float TSignalSettings::GetValue(int32_t PPT) const { return TotalValue / 1000 * PPT + FValueFrom; }

void TSignalSettings::AssignTo(TPersistent* Dest) {
  if (auto* d = dynamic_cast<TSignalSettings*>(Dest)) {
    d->SetDigitalFrom(FDigitalFrom);
    d->SetDigitalTo(FDigitalTo);
    d->SetValueFormat(FValueFormat);
    d->SetValueFrom(FValueFrom);
    d->SetValueTo(FValueTo);
    d->SetValueUnit(FValueUnit);
    d->SetName1(FName1);
    d->SetName2(FName2);
    return;
  }
  TAbPersistent::AssignTo(Dest);
}

String AbGetValueFormat(const String& FormatStr) {
  size_t p = FormatStr.find(u';');
  if (p == String::npos) return FormatStr;
  String first = FormatStr.substr(0, p), rest = FormatStr.substr(p + 1);
  return first.size() > rest.size() ? first : rest;
}

// ---- TAbAnalogCControl

TAbAnalogCControl::TAbAnalogCControl(TComponent* AOwner)
    : TAbCustomControl(AOwner), FSignalSettings(std::make_unique<TSignalSettings>()) {
  SetTabStop(true);
  TControlStyle st = ControlStyle();
  st.Include(csAcceptsControls);
  SetControlStyle(st);
  SetParentFont(false);
  Font()->SetName(u"MS Sans Serif");
  Font()->SetSize(10);
  BeginUpdate();
}

TAbAnalogCControl::~TAbAnalogCControl() {
  Destroying();
  SetValueIndicator(nullptr);
}

int32_t TAbAnalogCControl::DigitOfValue() const {
  const TSignalSettings& s = *FSignalSettings;
  return static_cast<int32_t>(Round((FValue - s.ValueFrom()) * s.DigitPerValue + s.DigitalFrom()));
}

void TAbAnalogCControl::SetValue(float Value) {
  if (Value == FValue && FUpdateCount == 0) return;
  TSignalSettings& s = *FSignalSettings;
  if (s.DigitPerValue == 0) s.Change();
  FValue = std::max(std::min(Value, s.ValueTo()), s.ValueFrom());
  SetDigit(DigitOfValue());
}

void TAbAnalogCControl::SetDigit(int32_t Digit) {
  if (Digit == FDigit && FUpdateCount == 0) return;
  const TSignalSettings& s = *FSignalSettings;
  FDigit = std::max(std::min(Digit, s.DigitalTo()), s.DigitalFrom());
  FValue = (FDigit - s.DigitalFrom()) * s.ValuePerDigit + s.ValueFrom();
  RefreshValue();
  if (!IsLoading() && OnValueChange) OnValueChange(this);
  VChange = true;
}

void TAbAnalogCControl::DoChange(int32_t up, int32_t down) {
  const TSignalSettings& s = *FSignalSettings;
  int32_t d = up > 0 ? FDigit + up : FDigit - down;
  d = std::max(std::min(d, s.DigitalTo()), s.DigitalFrom());
  SetDigit(d);
}

void TAbAnalogCControl::SetColorFocus(TColor v) {
  if (v == FColorFocus) return;
  FColorFocus = v;
  ParamChange(this);
}

void TAbAnalogCControl::SetColorNonFocus(TColor v) {
  if (v == FColorNonFocus) return;
  FColorNonFocus = v;
  ParamChange(this);
}

void TAbAnalogCControl::SetValueIndicator(TAbAnalogGControl* v) {
  if (FValueIndicator) FValueIndicator->RemoveFreeNotification(this);
  FValueIndicator = v;
  if (v) {
    v->FreeNotification(this);
    v->SignalSettings()->Assign(FSignalSettings.get());
    RefreshValue();
  }
}

void TAbAnalogCControl::Notification(TComponent* AComponent, TOperation Operation) {
  TAbCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FValueIndicator) FValueIndicator = nullptr;
}

void TAbAnalogCControl::SetEnabled(bool v) {
  TAbCustomControl::SetEnabled(v);
  RefreshValue();
}

void TAbAnalogCControl::Loaded() {
  TAbCustomControl::Loaded();
  FSignalSettings->Change();
  FSignalSettings->OnChange = [this](TObject* Sender) { ParamChange(Sender); };
  FDigit = DigitOfValue();
  EndUpdate();
}

void TAbAnalogCControl::ParamChange(TObject*) {
  OldCursor = Cursor();
  if (FValueIndicator) FValueIndicator->SignalSettings()->Assign(FSignalSettings.get());
  FDigit = DigitOfValue();
}

void TAbAnalogCControl::RefreshValue() {
  FValueStr = FormatFloat(FSignalSettings->ValueFormat(), FValue);
  DigitStr = IntToStr(FDigit);
  if (FValueIndicator) FValueIndicator->SetValue(FValue);
}

void TAbAnalogCControl::DoSlide(TShiftState, int X, int Y, TPoint) { pMouseOld = TPoint(X, Y); }

void TAbAnalogCControl::KeyDown(Word& Key, TShiftState Shift) {
  TAbCustomControl::KeyDown(Key, Shift);
  if (!FEnableKeyboard) return;
  auto on = [&](TEnabledKey k) { return FEnabledKeys.Contains(k); };
  const TSignalSettings& s = *FSignalSettings;
  switch (Key) {
    case VK_PRIOR: if (on(_VK_PRIOR)) DoChange(FChangeLarge, 0); break;
    case VK_NEXT: if (on(_VK_NEXT)) DoChange(0, FChangeLarge); break;
    case VK_END: if (on(_VK_END)) SetDigit(s.DigitalTo()); break;
    case VK_HOME: if (on(_VK_HOME)) SetDigit(s.DigitalFrom()); break;
    case VK_LEFT: if (on(_VK_LEFT)) DoChange(0, FChangeSmall); break;
    case VK_UP: if (on(_VK_UP)) DoChange(FChangeSmall, 0); break;
    case VK_RIGHT: if (on(_VK_RIGHT)) DoChange(FChangeSmall, 0); break;
    case VK_DOWN: if (on(_VK_DOWN)) DoChange(0, FChangeSmall); break;
    default: break;
  }
}

void TAbAnalogCControl::KeyUp(Word& Key, TShiftState Shift) {
  TAbCustomControl::KeyUp(Key, Shift);
  if (VChange) {
    VChange = false;
    if (OnValueChanged) OnValueChanged(this);
  }
}

void TAbAnalogCControl::WMMouseWheel(TWMMouseWheel& Message) {
  const int delta = Message.WheelDelta();
  // A turn the other way drops what was gathered of a notch.
  if ((delta < 0 && WheelRest > 0) || (delta > 0 && WheelRest < 0)) WheelRest = 0;
  if (std::abs(delta) < WHEEL_DELTA) {
    // Touchpads and high-resolution wheels send parts of a notch: a step per full notch
    // gathered, the remainder kept for the next turn.
    WheelRest += delta;
    if (WheelRest >= WHEEL_DELTA) {
      WheelRest -= WHEEL_DELTA;
      DoChange(FChangeSmall, 0);
    } else if (WheelRest <= -WHEEL_DELTA) {
      WheelRest += WHEEL_DELTA;
      DoChange(0, FChangeSmall);
    }
  } else {
    // Whole notches: one per message, the low byte of +120 or of -120.
    int low = static_cast<uint16_t>(delta) & 0xFF;
    if (low == 120) DoChange(FChangeSmall, 0);
    else if (low == 136) DoChange(0, FChangeSmall);
  }
  Message.SetResult(1);
}

void TAbAnalogCControl::WMSetFocus(TWMSetFocus& Message) {
  TAbCustomControl::WMSetFocus(Message);
  RefreshValue();
}

void TAbAnalogCControl::WMKillFocus(TWMKillFocus& Message) {
  TAbCustomControl::WMKillFocus(Message);
  RefreshValue();
}

void TAbAnalogCControl::WMGetDlgCode(TWMGetDlgCode& Message) { Message.SetResult(DLGC_WANTARROWS); }

void TAbAnalogCControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TAbCustomControl::MouseDown(Button, Shift, X, Y);
  if (CanFocus() && !Focused()) SetFocus();
  if (Button != mbLeft) return;
  inSlideArea = isCircle ? PtInCircle(X, Y, SlideRect) : PtInRectB(X, Y, SlideRect);
  if (inSlideArea) {
    MDown = true;
    DoSlide(Shift, X, Y, pMouseOld);
    pMouseOld = TPoint(X, Y);
  }
}

void TAbAnalogCControl::MouseMove(TShiftState Shift, int X, int Y) {
  TAbCustomControl::MouseMove(Shift, X, Y);
  inSlideArea = isCircle ? PtInCircle(X, Y, SlideRect) : PtInRectB(X, Y, SlideRect);
  TCursor want = inSlideArea ? FCursorSlide : OldCursor;
  if (Cursor() != want) SetCursor(want);
  if (MDown) DoSlide(Shift, X, Y, pMouseOld);
}

void TAbAnalogCControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TAbCustomControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  MDown = false;
  if (VChange) {
    VChange = false;
    if (OnValueChanged) OnValueChanged(this);
  }
}
