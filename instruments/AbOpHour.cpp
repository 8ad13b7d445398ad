// The operating-hour counter.
#include "instruments/AbOpHour.h"

#include <algorithm>

#include "platform/rtl/SysUtils.h"

namespace {
// Seconds and minutes above 59 carried upwards; values below 60 (negatives too) kept.
void Normalise(int32_t& h, int32_t& m, int32_t& s) {
  if (s >= 60) {
    m += s / 60;
    s %= 60;
  }
  if (m >= 60) {
    h += m / 60;
    m %= 60;
  }
}

// Decimal digits with at least Digits of them, a minus sign in front.
String Padded(int32_t v, int Digits) {
  String d = IntToStr(static_cast<int64_t>(v < 0 ? -static_cast<int64_t>(v) : v));
  while (static_cast<int>(d.size()) < Digits) d.insert(d.begin(), u'0');
  return v < 0 ? u"-" + d : d;
}
}  // namespace

void TTimeSetting::SetHour(int32_t v) {
  if (v != FHour) SetValue(v, FMin, fSec);
}
void TTimeSetting::SetMin(int32_t v) {
  if (v != FMin) SetValue(FHour, v, fSec);
}
void TTimeSetting::SetSec(int32_t v) {
  if (v != fSec) SetValue(FHour, FMin, v);
}
void TTimeSetting::SetValue(int32_t Hour, int32_t Min, int32_t Sec) {
  Normalise(Hour, Min, Sec);
  FHour = Hour;
  FMin = Min;
  fSec = Sec;
}

TAbOpHourCounter::TAbOpHourCounter(TComponent* AOwner)
    : TAbGraphicControl(AOwner),
      FBevelOuter(std::make_unique<TAbSBevel>()),
      FBevelInner(std::make_unique<TAbSBevel>()),
      FLimit(std::make_unique<TTimeSetting>()),
      FPresetValue(std::make_unique<TTimeSetting>()),
      FIniSettings(std::make_unique<TIniSettings>()) {
  FBevelOuter->SetSpacing(2);
  FBevelOuter->SetWidth(1);
  FBevelInner->SetSpacing(0);
  FBevelInner->SetWidth(1);
  FBevelInner->SetStyle(bsLowered);
  FBevelInner->SetColor(clBlack);
  FIniSettings->SetFileName(u"OrvnApp.ini");
  SetBounds(Left(), Top(), 113, 24);
  Font()->SetName(u"System");
  Font()->SetSize(10);
  Font()->SetColor(clLime);
  // Built in code: the constructor completes the set-up a form description would.
  Loaded();
}

TAbOpHourCounter::~TAbOpHourCounter() {
  Destroying();
  UnregisterFlashClient(this);
  FIniSettings->AutoHandle(false);
}

void TAbOpHourCounter::Loaded() {
  TAbGraphicControl::Loaded();
  FIniSettings->OnHandleIniEvent = [this](TIniFile* Ini, bool Read) { HandleIni(Ini, Read); };
  FBevelOuter->OnChange = [this](TObject* Sender) { ParamChange(Sender); };
  FBevelInner->OnChange = [this](TObject* Sender) { ParamChange(Sender); };
  FBevelOuter->Change();
  FBevelInner->Change();
  EndUpdate();
}

void TAbOpHourCounter::ParamChange(TObject*) {
  SetBounds(Left(), Top(), Width(), Height());
  Invalidate();
}

void TAbOpHourCounter::SetSeparatorHour(const String& v) {
  if (v == FSeparatorHour) return;
  FSeparatorHour = v;
  SettingsChanged();
}
void TAbOpHourCounter::SetSeparatorMin(const String& v) {
  if (v == FSeparatorMin) return;
  FSeparatorMin = v;
  SettingsChanged();
}
void TAbOpHourCounter::SetSeparatorSec(const String& v) {
  if (v == FSeparatorSec) return;
  FSeparatorSec = v;
  SettingsChanged();
}
void TAbOpHourCounter::SetSeparatorChar(const String& v) {
  if (v == FSeparatorChar) return;
  FSeparatorChar = v;
  SettingsChanged();
}
void TAbOpHourCounter::SetHourDigits(int32_t v) {
  if (v == FHourDigits) return;
  FHourDigits = v;
  SettingsChanged();
}
void TAbOpHourCounter::SetIndicate(TOpHrIndicate v) {
  if (v == FIndicate) return;
  FIndicate = v;
  Invalidate();
}

void TAbOpHourCounter::SetCount(bool v) {
  if (v == FCount) return;
  FCount = v;
  if (v) RegisterFlashClient(this, FlashSecondCode);
  else UnregisterFlashClient(this);
}

void TAbOpHourCounter::SetCountDown(bool v) {
  if (v == FCountDown) return;
  FCountDown = v;
  if (FCount && !v) RegisterFlashClient(this, FlashSecondCode);
}

bool TAbOpHourCounter::Counting() const { return FlashClient(const_cast<TAbOpHourCounter*>(this)) != nullptr; }

// Built piece by piece: the separators are the user's texts, never a format string.
String TAbOpHourCounter::TimeText(int32_t h, int32_t m, int32_t s) const {
  String t = Padded(h, FHourDigits) + FSeparatorHour;
  if (FIndicate == oiHourMin || FIndicate == oiHourMinSec) t += FSeparatorChar + Padded(m, 2) + FSeparatorMin;
  if (FIndicate == oiHourMinSec) t += FSeparatorChar + Padded(s, 2) + FSeparatorSec;
  return t;
}

void TAbOpHourCounter::SetTime(int32_t Hour, int32_t Min, int32_t Sec) {
  Normalise(Hour, Min, Sec);
  hr = Hour;
  mi = Min;
  se = Sec;
  CheckLimits();
  DrawTime();
}

void TAbOpHourCounter::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_FLASHTICK) {
    if (FCountDown && !isZero) StepDown();
    if (!FCountDown) StepUp();
    CheckLimits();
    if (Visible()) DrawTime();
    return;
  }
  TAbGraphicControl::Dispatch(Message);
}

void TAbOpHourCounter::StepUp() {
  if (se > 58) {
    se = 0;
    if (mi >= 59) {
      mi = 0;
      ++hr;
    } else {
      ++mi;
    }
  } else {
    ++se;
  }
}

void TAbOpHourCounter::StepDown() {
  if (se <= 0) {
    se = 59;
    if (mi <= 0) {
      mi = 59;
      --hr;
    } else {
      --mi;
    }
  } else {
    --se;
  }
}

void TAbOpHourCounter::CheckLimits() {
  isZero = false;
  if ((hr <= 0 && mi <= 0 && se <= 0) || hr < 0 || mi < 0 || se < 0) {
    isZero = true;
    const TTimeSetting& p = *FPresetValue;
    bool presetIsZero = p.Hour() <= 0 && p.Min() <= 0 && p.Sec() <= 0;
    // A zero preset is itself a zero: handle it as without preset instead of recursing.
    if (FOptions.Contains(opPresetOnZero) && !presetIsZero && !InZero) {
      InZero = true;
      SetTime(p.Hour(), p.Min(), p.Sec());
      InZero = false;
    } else {
      UnregisterFlashClient(this);
      hr = mi = se = 0;
    }
    if (OnZero) OnZero(this);
  }
  // The limit is compared as a whole count of seconds.
  int64_t now = (int64_t(hr) * 60 + mi) * 60 + se;
  int64_t limit = (int64_t(FLimit->Hour()) * 60 + FLimit->Min()) * 60 + FLimit->Sec();
  if (now < limit) {
    isLimit = false;
    return;
  }
  if (!isLimit) {
    if (OnLimit) OnLimit(this);
    if (FOptions.Contains(opResetOnLimit)) {
      hr = mi = se = 0;
      isZero = true;
    }
    if (FOptions.Contains(opStopOnLimit)) UnregisterFlashClient(this);
  }
  isLimit = true;
}

void TAbOpHourCounter::HandleIni(TIniFile* IniFile, bool Read) {
  const String& sec = FIniSettings->Section();
  if (Read) {
    hr = IniFile->ReadInteger(sec, u"h", 0);
    mi = IniFile->ReadInteger(sec, u"m", 0);
    se = IniFile->ReadInteger(sec, u"s", 0);
  } else {
    IniFile->WriteInteger(sec, u"h", hr);
    IniFile->WriteInteger(sec, u"m", mi);
    IniFile->WriteInteger(sec, u"s", se);
  }
}

void TAbOpHourCounter::Paint() {
  if (ComponentInit) {
    if (FIniSettings->Section().empty()) FIniSettings->SetSection(Name());
    FIniSettings->AutoHandle(true);
    ComponentInit = false;
  }
  if (!Visible()) return;
  TCanvas* c = Canvas();
  c->Font()->Assign(Font());
  sTime = c->TextExtent(TimeText(0, 0, 0));
  min_h = static_cast<int16_t>(2 * FBevelOuter->TotalWidth + sTime.cy + 2 * FBevelInner->TotalWidth);
  min_w = static_cast<int16_t>(2 * FBevelOuter->TotalWidth + sTime.cx + 2 * FBevelInner->TotalWidth + sTime.cy / 3);
  rClock = TRect(0, 0, Width(), Height());
  FBevelOuter->PaintFilledBevel(c, rClock);
  FBevelInner->PaintFilledBevel(c, rClock);
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(FBevelInner->Color());
  DrawTimeOn(c);
}

TSize TAbOpHourCounter::MinSize() {
  TBitmap b(1, 1);
  b.Canvas()->Font()->Assign(Font());
  TSize t = b.Canvas()->TextExtent(TimeText(0, 0, 0));
  int frame = 2 * FBevelOuter->TotalWidth + 2 * FBevelInner->TotalWidth;
  return TSize(frame + t.cx + t.cy / 3, frame + t.cy);
}

// The size never drops below what the text needs (checked here, not while painting).
void TAbOpHourCounter::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (Align() == alNone && !IsLoading()) {
    TSize m = MinSize();
    AWidth = std::max<int>(AWidth, m.cx);
    AHeight = std::max<int>(AHeight, m.cy);
  }
  TAbGraphicControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TAbOpHourCounter::DrawTimeOn(TCanvas* c) {
  if (sTime.cx <= 0 || sTime.cy <= 0) return;
  TBitmap b(sTime.cx, sTime.cy);
  TCanvas* bc = b.Canvas();
  bc->Font()->Assign(Font());
  bc->Brush()->SetStyle(bsSolid);
  bc->Brush()->SetColor(FBevelInner->Color());
  bc->FillRect(TRect(0, 0, sTime.cx, sTime.cy));
  bc->TextOut(0, 0, TimeText(hr, mi, se));
  c->Draw(rClock.Left + (rClock.Width() - sTime.cx) / 2, rClock.Top + (rClock.Height() - sTime.cy) / 2, &b);
}

void TAbOpHourCounter::DrawTime() {
  if (sTime.cx <= 0 || sTime.cy <= 0 || !Visible()) return;
  DrawOnControl(this, [&](TCanvas* c) { DrawTimeOn(c); });
}
