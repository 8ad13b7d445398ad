// The analog indicator base: sectors, min/max and the indicator's value computations.
#include <algorithm>
#include <cmath>

#include "instruments/_GClass.h"
#include "platform/rtl/SysUtils.h"

// ---- TSectorSettings

void TSectorSettings::SetSectorColor(int k, TColor v) {
  if (FColor[k - 1] == v) return;
  FColor[k - 1] = v;
  Change();
}
void TSectorSettings::SetSectorFrom(int k, int32_t v) {
  if (FFrom[k - 1] == v) return;
  FFrom[k - 1] = v;
  Change();
}
void TSectorSettings::SetSectorTo(int k, int32_t v) {
  if (FTo[k - 1] == v) return;
  FTo[k - 1] = v;
  Change();
}
void TSectorSettings::SetOffset(int32_t v) {
  if (FOffset == v) return;
  FOffset = v;
  Change();
}
void TSectorSettings::SetWidthOffset(int32_t v) {
  if (FWidthOffset == v) return;
  FWidthOffset = v;
  Change();
}

bool TSectorSettings::CheckSectorColor(int32_t PPT, TColor& Col) const {
  for (int k = 0; k < 3; ++k)
    if (FFrom[k] <= PPT && PPT <= FTo[k]) {
      Col = FColor[k];
      return true;
    }
  return false;
}

void TSectorSettings::AssignTo(TPersistent* Dest) {
  if (auto* d = dynamic_cast<TSectorSettings*>(Dest)) {
    for (int k = 1; k <= 3; ++k) d->SetSectorColor(k, FColor[k - 1]);
    for (int k = 1; k <= 3; ++k) d->SetSectorFrom(k, FFrom[k - 1]);
    for (int k = 1; k <= 3; ++k) d->SetSectorTo(k, FTo[k - 1]);
    return;
  }
  TAbPersistent::AssignTo(Dest);
}

// ---- TMinMax

TMinMax::TMinMax() : FMaxDateTime(Now()), FMinDateTime(FMaxDateTime) {}

void TMinMax::SetMax(float v) {
  FMax = v;
  FMaxDateTime = Now();
}
void TMinMax::SetMin(float v) {
  FMin = v;
  FMinDateTime = Now();
}
void TMinMax::SetMaxColor(TColor v) {
  if (v == FMaxColor) return;
  FMaxColor = v;
  Change();
}
void TMinMax::SetMinColor(TColor v) {
  if (v == FMinColor) return;
  FMinColor = v;
  Change();
}
void TMinMax::SetUseSectorCol(bool v) {
  if (v == FUseSectorCol) return;
  FUseSectorCol = v;
  Change();
}
void TMinMax::SetMinVisible(bool v) {
  if (v == FMinVisible) return;
  FMinVisible = v;
  Change();
}
void TMinMax::SetMaxVisible(bool v) {
  if (v == FMaxVisible) return;
  FMaxVisible = v;
  Change();
}

// ---- TAbAnalogGControl

TAbAnalogGControl::TAbAnalogGControl(TComponent* AOwner)
    : TAbGraphicControl(AOwner),
      FSectorSettings(std::make_unique<TSectorSettings>()),
      FSignalSettings(std::make_unique<TSignalSettings>()),
      FMinMax(std::make_unique<TMinMax>()),
      pPosLeftTop(Left(), Top()) {
  TControlStyle st = ControlStyle();
  st.Exclude(csOpaque);
  SetControlStyle(st);
  SetParentFont(false);
  Font()->SetName(u"Arial");
  Font()->SetSize(8);
  FSignalSettings->ComputeDerived();
  CheckLimit();
  // Built in code: the set-up a form description ends with.
  Loaded();
}

TAbAnalogGControl::~TAbAnalogGControl() { Destroying(); }

void TAbAnalogGControl::Loaded() {
  TAbGraphicControl::Loaded();
  Font()->OnChange = [this](TObject* Sender) { ParamChange(Sender); };
  FSignalSettings->OnChange = [this](TObject* Sender) { ParamChange(Sender); };
  FSectorSettings->OnChange = [this](TObject* Sender) { ParamChange(Sender); };
  FMinMax->ResetMarkers();
  FMinMax->OnChange = [this](TObject* Sender) { MinMaxChange(Sender); };
}

int32_t TAbAnalogGControl::DigitOf(float v) const {
  const TSignalSettings& s = *FSignalSettings;
  if (FLogScale) {
    if (v <= 0 || s.ValueFrom() <= 0) return s.DigitalFrom();
    return static_cast<int32_t>(Round(Log10Real(v / s.ValueFrom()) * LogFactor1)) + s.DigitalFrom();
  }
  return static_cast<int32_t>(Round((v - s.ValueFrom()) * s.DigitPerValue + s.DigitalFrom()));
}

float TAbAnalogGControl::ValueOf(int32_t d) const {
  const TSignalSettings& s = *FSignalSettings;
  if (FLogScale) {
    if (LogFactor1 - LogFactor2 == 0 || LogFactor1 == 0) return FValue;
    return static_cast<float>(std::pow(10.0, (d - s.DigitalFrom()) / LogFactor1 - LogFactor2));
  }
  return (d - s.DigitalFrom()) * s.ValuePerDigit + s.ValueFrom();
}

void TAbAnalogGControl::ParamChange(TObject* Sender) {
  TAbGraphicControl::ParamChange(Sender);
  TSignalSettings& s = *FSignalSettings;
  s.ComputeDerived();
  if (FLogScale) {
    double from = s.ValueFrom() > 0 ? s.ValueFrom() : 1, to = s.ValueTo() > 0 ? s.ValueTo() : 1;
    double decades = Log10Real(to / from);
    LogFactor1 = decades != 0 ? s.TotalDigit / decades : 0;
    LogFactor2 = Log10Real(1 / from);
  }
  FDigit = DigitOf(FValue);
  if (OnSettingsChange) OnSettingsChange(this);
}

void TAbAnalogGControl::SetValue(float v) {
  if (v == FValue || (FLogScale && v <= 0)) return;
  FValue = v;
  FDigit = DigitOf(v);
  ValueChanged();
}

void TAbAnalogGControl::SetDigit(int32_t v) {
  if (v == FDigit) return;
  FDigit = v;
  FValue = ValueOf(v);
  ValueChanged();
}

void TAbAnalogGControl::SetLimitUpper(float v) {
  if (v == FLimitUpper) return;
  FLimitUpper = v;
  ULimitPPT = FSignalSettings->GetPPT(v);
  ValueChanged();
}

void TAbAnalogGControl::SetLimitLower(float v) {
  if (v == FLimitLower) return;
  FLimitLower = v == 0 ? 0.0001f : v;
  LLimitPPT = FSignalSettings->GetPPT(FLimitLower);
  ValueChanged();
}

void TAbAnalogGControl::SetHintOptions(const THintOptions& v) {
  bool autoOn = !FHintOptions.Contains(hoAutoHint) && v.Contains(hoAutoHint);
  FHintOptions = v;
  if (autoOn) ValueChanged();
}

void TAbAnalogGControl::CheckLimit() {
  bool upper = FValue > FLimitUpper, lower = FValue < FLimitLower;
  if (upper == ULimit && lower == LLimit) return;
  ULimit = upper;
  LLimit = lower;
  LimitChange();
  if (OnLimit) OnLimit(this, lower, upper);
}

void TAbAnalogGControl::ValueChanged() {
  if (TPoint(Left(), Top()) != pPosLeftTop) {
    pPosLeftTop = TPoint(Left(), Top());
    if (OnPosChanged) OnPosChanged(this);
  }
  const TSignalSettings& s = *FSignalSettings;
  DigitStr = IntToStr(FDigit);
  ValueStr = FormatFloat(s.ValueFormat(), FValue);
  // A range without span keeps the position at its start.
  PPT = s.TotalDigit != 0 ? static_cast<int32_t>(Round(1000.0 / s.TotalDigit * (FDigit - s.DigitalFrom()))) : 0;
  bool* in[3] = {&InSector1, &InSector2, &InSector3};
  for (int k = 1; k <= 3; ++k) {
    bool now = FSectorSettings->SectorFrom(k) <= PPT && PPT <= FSectorSettings->SectorTo(k);
    if (now) ActSectorCol = FSectorSettings->SectorColor(k);
    if (now != *in[k - 1]) {
      *in[k - 1] = now;
      if (OnSectorChange) OnSectorChange(this, k == 1, k == 2, k == 3, now);
    }
  }
  CheckLimit();
  if (PPT < 0) {
    if (!LOverflow) {
      LOverflow = true;
      UOverflow = false;
      Overflow(PPT);
      if (OnOverflow) OnOverflow(this, PPT);
    }
    PPT = 0;
  } else if (PPT > 1000) {
    if (!UOverflow) {
      UOverflow = true;
      LOverflow = false;
      Overflow(PPT);
      if (OnOverflow) OnOverflow(this, PPT);
    }
    PPT = 1000;
  } else if (UOverflow || LOverflow) {
    UOverflow = LOverflow = false;
    Overflow(PPT);
    if (OnOverflow) OnOverflow(this, PPT);
  }
  if (FMinMax->Min() > FValue) {
    float old = FMinMax->Min();
    FMinMax->SetMin(FValue);
    MinPPT = PPT;
    if (old != 9999999) MinMaxChange(this);
  }
  if (!(FMinMax->Max() >= FValue)) {
    float old = FMinMax->Max();
    FMinMax->SetMax(FValue);
    MaxPPT = PPT;
    if (old != 9999999) MinMaxChange(this);
  }
  BuildHint();
  if (OnValueChange) OnValueChange(this);
}

void TAbAnalogGControl::MinMaxChange(TObject*) {
  if (OnMinMaxChange) OnMinMaxChange(this);
  // Descendants repaint from ValueChanged, also for a change of the markers alone.
  ValueChanged();
}

void TAbAnalogGControl::ResetMinMax() {
  FMinMax->SetMin(FValue);
  FMinMax->SetMax(FValue);
  MinPPT = MaxPPT = PPT;
  MinMaxChange(this);
  BuildHint();
  ValueChanged();
}

void TAbAnalogGControl::SetMin(float v, TDateTime DT) {
  if (v == FMinMax->Min()) return;
  FMinMax->SetMin(v);
  FMinMax->SetMinDateTime(DT);
  MinPPT = FSignalSettings->GetPPT(v);
  MinMaxChange(this);
  BuildHint();
}

void TAbAnalogGControl::SetMax(float v, TDateTime DT) {
  if (v == FMinMax->Max()) return;
  FMinMax->SetMax(v);
  FMinMax->SetMaxDateTime(DT);
  MaxPPT = FSignalSettings->GetPPT(v);
  MinMaxChange(this);
  BuildHint();
}

void TAbAnalogGControl::BuildHint() {
  if (!FHintOptions.Contains(hoAutoHint)) return;
  const TSignalSettings& s = *FSignalSettings;
  String h;
  auto add = [&](const String& part) {
    if (!h.empty()) h += u'\r';
    h += part;
  };
  auto stamp = [&](float v, TDateTime dt, const char16_t* label) {
    String t = String(label) + FormatFloat(s.ValueFormat(), v) + u" " + s.ValueUnit();
    if (FHintOptions.Contains(hoMinMaxDate)) t += u" " + DateToStr(dt);
    if (FHintOptions.Contains(hoMinMaxTime)) t += u" " + TimeToStr(dt);
    return t;
  };
  if (FHintOptions.Contains(hoValue)) add(u"Value= " + ValueStr + u" " + s.ValueUnit());
  if (FHintOptions.Contains(hoMin)) add(stamp(FMinMax->Min(), FMinMax->MinDateTime(), u"MIN= "));
  if (FHintOptions.Contains(hoMax)) add(stamp(FMinMax->Max(), FMinMax->MaxDateTime(), u"MAX= "));
  if (FHintOptions.Contains(hoName1)) add(s.Name1());
  if (FHintOptions.Contains(hoName2)) add(s.Name2());
  SetHint(h);
}
