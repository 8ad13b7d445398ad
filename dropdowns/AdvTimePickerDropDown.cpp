// The time picker drop-down.

#include "dropdowns/AdvTimePickerDropDown.h"

#include "platform/rtl/SysUtils.h"

namespace {

String TwoDigits(int Value) { return Value < 10 ? u"0" + IntToStr(Value) : IntToStr(Value); }

// A part passes when its first and second characters (those it has) are digits; empty is 0.
bool DigitPart(const String& Part, int& Value) {
  for (size_t i = 0; i < Part.size() && i < 2; ++i)
    if (Part[i] < u'0' || Part[i] > u'9') return false;
  Value = 0;
  for (Char c : Part) {
    if (c < u'0' || c > u'9') return false;
    Value = Value * 10 + (c - u'0');
    if (Value > 99) return false;
  }
  return true;
}

}  // namespace

TAdvTimePickerDropDown::TAdvTimePickerDropDown(TComponent* AOwner)
    : TAdvCustomDropDown(AOwner),
      FWatchAppearance(std::make_unique<TWatchAppearance>()),
      FWatchSettings(std::make_unique<TWatchSettings>()) {
  // The clock takes the colours of the look the base constructor applied.
  ApplyWatchStyle(FWatchAppearance.get(), GetComponentStyle());
  SetEditorEnabled(false);
  SetDropDownEnabled(true);
  FInternalCall = true;
  SetEditMask(MaskFor(true));
  const Char sep = FormatSettings.TimeSeparator;
  SetTextDirect(String(u"00") + sep + u"00" + sep + u"00");
  FInternalCall = false;
  DropDownHeader()->SetVisible(false);
  DropDownFooter()->SetVisible(false);
  // The base constructor made only the window; the clock comes now.
  if (!ComponentState().Contains(csDesigning)) CreateDropDownForm();
}

TAdvTimePickerDropDown::~TAdvTimePickerDropDown() = default;

String TAdvTimePickerDropDown::MaskFor(bool Seconds) const {
  const Char sep = FormatSettings.TimeSeparator;
  return Seconds ? String(u"!90") + sep + u"00" + sep + u"00;1; " : String(u"!90") + sep + u"00;1; ";
}

String TAdvTimePickerDropDown::TimeText(TDateTime Value) const {
  uint16_t h, m, s, ms;
  DecodeTime(Value, h, m, s, ms);
  const Char sep = FormatSettings.TimeSeparator;
  String t = TwoDigits(h) + sep + TwoDigits(m);
  if (FShowSeconds) t += sep + TwoDigits(s);
  return t;
}

void TAdvTimePickerDropDown::SetTime(TDateTime Value) {
  if (Value == FTime) return;
  FTime = Value;
  const bool was = FInternalCall;
  FInternalCall = true;
  SetTextDirect(TimeText(Value));
  FInternalCall = was;
}

void TAdvTimePickerDropDown::SetShowSeconds(bool Value) {
  if (FShowSeconds == Value) return;
  const TDateTime keep = FTime;
  FInternalCall = true;
  SetEditMask(u"");
  SetText(u"");
  FShowSeconds = Value;
  SetEditMask(MaskFor(Value));
  FInternalCall = false;
  // Moved by a day so that it differs: SetTime rewrites the text in the new form.
  FTime = keep + 1;
  SetTime(keep);
}

void TAdvTimePickerDropDown::SetPart(int Part, int Value) {
  uint16_t p[4];
  DecodeTime(FTime, p[0], p[1], p[2], p[3]);
  if (Value == p[Part] || Value < 0 || Value > (Part == 0 ? 23 : 59)) return;
  p[Part] = static_cast<uint16_t>(Value);
  SetTime(EncodeTime(p[0], p[1], p[2], p[3]));
  if (OnTimeChange) OnTimeChange(this);
}

void TAdvTimePickerDropDown::KeyDown(Word& Key, TShiftState Shift) {
  const int p = SelStart();
  const Word key = Key;
  TAdvCustomDropDown::KeyDown(Key, Shift);
  StepKey(key, Shift, p);
}

void TAdvTimePickerDropDown::WMKeyDown(TWMKey& Message) {
  const int p = SelStart();
  const Word key = Message.CharCode();
  const TShiftState shift = KeyDataToShiftState(Message.KeyData());
  TAdvCustomDropDown::WMKeyDown(Message);
  if (!FEditorEnabled) StepKey(key, shift, p);
}

void TAdvTimePickerDropDown::StepKey(Word key, TShiftState Shift, int p) {
  if (GetKeyState(VK_MENU) < 0 || Shift.Contains(ssAlt) || Shift.Contains(ssCtrl)) return;
  if (key != VK_UP && key != VK_DOWN) return;
  const String text = Text();
  const Char sep = FormatSettings.TimeSeparator;
  const int s1 = Pos(sep, text);
  int part = 0;
  if (p >= s1) {
    const int s2 = Pos(sep, Copy(text, s1 + 1));
    part = p - s1 >= s2 && s2 > 0 && FShowSeconds ? 2 : 1;
  }
  uint16_t v[4];
  DecodeTime(FTime, v[0], v[1], v[2], v[3]);
  const int top = part == 0 ? 23 : 59;
  int n = v[part] + (key == VK_UP ? -1 : 1);
  if (n < 0) n = top;
  if (n > top) n = 0;
  SetPart(part, n);
  SetSelStart(p);
}

void TAdvTimePickerDropDown::Change() {
  TAdvCustomDropDown::Change();
  String text = Text();
  if (FInternalCall || text.empty() || Trim(text).size() != (FShowSeconds ? 8u : 5u)) return;
  // The form: one separator, a second one exactly with seconds, none after that.
  const Char sep = FormatSettings.TimeSeparator;
  const int s1 = Pos(sep, text);
  if (s1 == 0) return;
  const String rest = Trim(Copy(text, s1 + 1));
  const int s2 = Pos(sep, rest);
  if (FShowSeconds ? (s2 == 0 || Pos(sep, Copy(rest, s2 + 1)) != 0) : s2 != 0) return;
  for (Char& c : text)
    if (c == u' ') c = u'0';
  int h = 0, m = 0, s = 0;
  const String after = Copy(text, s1 + 1);
  const int t2 = Pos(sep, after);
  if (!DigitPart(Trim(Copy(text, 1, s1 - 1)), h)) return;
  if (!DigitPart(Trim(FShowSeconds ? Copy(after, 1, t2 - 1) : after), m)) return;
  if (FShowSeconds && !DigitPart(Trim(Copy(after, t2 + 1)), s)) return;
  // An impossible time (hour above 23, minute or second above 59) is left alone.
  TDateTime value = 0;
  if (!TryEncodeTime(h, m, s, 0, value)) return;
  FTime = value;
  const String formatted = TimeText(value);
  if (formatted != Text() && m == 0 && s == 0) {
    FInternalCall = true;
    SetText(formatted);
    FInternalCall = false;
  }
}

// ---------------------------------------------------------------------------
// The pop-up

void TAdvTimePickerDropDown::CreateDropDownForm() {
  TAdvCustomDropDown::CreateDropDownForm();
  if (DropDownForm() == nullptr) return;
  if (FPanelCtrl == nullptr) {
    FPanelCtrl = new TCustomControl(this);
    FPanelCtrl->SetParent(DropDownForm());
  }
  FPanelCtrl->SetBounds(0, 0, FPanelCtrl->Width(), 180);
  if (FAdvWatch == nullptr) {
    FAdvWatch = new TAdvWatch(this);
    FAdvWatch->SetParent(FPanelCtrl);
    FAdvWatch->SetAlign(alClient);
    // A click gives the clock the keyboard: its keys count as the window's.
    FAdvWatch->OnKeyDown = [this](TObject*, Word& K, TShiftState Sh) { DropDownFormKeyDown(K, Sh); };
    FAdvWatch->OnKeyUp = [this](TObject*, Word& K, TShiftState Sh) { DropDownFormKeyUp(K, Sh); };
    FAdvWatch->OnKeyPress = [this](TObject*, Char& K) { DropDownFormKeyPress(K); };
  }
  SetControl(FPanelCtrl);
}

void TAdvTimePickerDropDown::BeforeDropDown() {
  TAdvCustomDropDown::BeforeDropDown();
  if (FPanelCtrl == nullptr || FAdvWatch == nullptr) return;
  // Unaligned for the window's size to follow the panel's; placing the panel then makes it
  // fill the window again.
  FPanelCtrl->SetAlign(alNone);
  FPanelCtrl->SetBounds(0, 0, 170, 170);
  if (DropDownForm() != nullptr) DropDownForm()->SetCancelOnDeActivate(false);
  FPanelCtrl->SetColor(DropDownColor());
  // A cancelled close puts back the time and the text of this opening.
  FOpenTime = FTime;
  FOldText = Text();
  FAdvWatch->SetAppearance(FWatchAppearance.get());
  FAdvWatch->SetSettings(FWatchSettings.get());
  FAdvWatch->SetShowAMPM(FShowWatchAMPM);
  FAdvWatch->SetShowNumbers(FShowWatchNumbers);
  FAdvWatch->SetAnimation(FAnimation);
  FAdvWatch->SetAnimationFactor(FAnimationFactor);
  FAdvWatch->OnChange = nullptr;
  if (!FWatchSettings->Auto()) FAdvWatch->SetTime(FTime);
  FAdvWatch->OnChange = [this](TObject* S) { WatchChanged(S); };
  if (FShowTimePicker) {
    if (FDateTimePicker == nullptr) {
      FDateTimePicker = new TDateTimePicker(this);
      FDateTimePicker->SetParent(FPanelCtrl);
      FDateTimePicker->SetKind(dtkTime);
    }
    FDateTimePicker->OnChange = nullptr;
    FDateTimePicker->SetAlign(alBottom);
    FDateTimePicker->Show();
    FDateTimePicker->SetTime(FTime);
    FDateTimePicker->BringToFront();
    FDateTimePicker->OnChange = [this](TObject* S) { PickerChanged(S); };
    FDateTimePicker->OnKeyDown = [this](TObject*, Word& K, TShiftState Sh) { DropDownControlKeyDown(K, Sh); };
    FDateTimePicker->OnKeyUp = [this](TObject*, Word& K, TShiftState Sh) { DropDownControlKeyUp(K, Sh); };
    FDateTimePicker->OnKeyPress = [this](TObject*, Char& K) { DropDownControlKeyPress(K); };
    FDateTimePicker->SetFormat(FShowSeconds ? u"HH:mm:ss" : u"HH:mm");
    FPanelCtrl->SetHeight(FPanelCtrl->Height() + FDateTimePicker->Height());
  } else if (FDateTimePicker != nullptr) {
    FDateTimePicker->Hide();
  }
}

void TAdvTimePickerDropDown::TakeClockTime() {
  if (FAdvWatch == nullptr || FAdvWatch->Time() == FTime) return;
  SetTime(FAdvWatch->Time());
  if (OnTimeChange) OnTimeChange(this);
}

void TAdvTimePickerDropDown::WatchChanged(TObject*) {
  if (FAdvWatch == nullptr) return;
  if (FDateTimePicker != nullptr && FShowTimePicker && FDateTimePicker->Time() != FAdvWatch->Time())
    FDateTimePicker->SetTime(FAdvWatch->Time());
  // Every hand move changes Time, with or without the picker below the clock.
  TakeClockTime();
}

void TAdvTimePickerDropDown::PickerChanged(TObject*) {
  if (FDateTimePicker == nullptr || FAdvWatch == nullptr || FWatchSettings->Auto()) return;
  FAdvWatch->SetTime(FDateTimePicker->Time());
  // Setting the clock's time reports nothing back: the edit follows here.
  TakeClockTime();
}

void TAdvTimePickerDropDown::DoHideDropDown(bool Cancel) {
  // Escape in the closed edit has nothing to cancel.
  if (!FDroppedDown || FAdvWatch == nullptr) {
    TAdvCustomDropDown::DoHideDropDown(Cancel);
    return;
  }
  // (The base's cancel writes the text of the opening, which already sets Time back.)
  const bool changed = FTime != FOpenTime;
  TAdvCustomDropDown::DoHideDropDown(Cancel);
  if (Cancel) {
    // Back to the opening: time, text and clock.
    FTime = FOpenTime;
    FInternalCall = true;
    SetTextDirect(TimeText(FTime));
    FInternalCall = false;
    const TNotifyEvent keep = FAdvWatch->OnChange;
    FAdvWatch->OnChange = nullptr;
    FAdvWatch->SetTime(FTime);
    FAdvWatch->OnChange = keep;
    if (changed && OnTimeChange) OnTimeChange(this);
  } else {
    TakeClockTime();
  }
}

void TAdvTimePickerDropDown::DropDownFormHidden() {
  TAdvCustomDropDown::DropDownFormHidden();
  TakeClockTime();
}

bool TAdvTimePickerDropDown::Forwarded(Word Key, bool AltDown) {
  return AltDown || (Key != VK_PRIOR && Key != VK_NEXT && Key != VK_UP && Key != VK_DOWN);
}

void TAdvTimePickerDropDown::DropDownFormKeyDown(Word& Key, TShiftState Shift) {
  if (Forwarded(Key, Shift.Contains(ssAlt))) TAdvCustomDropDown::DropDownFormKeyDown(Key, Shift);
  if (DropDownForm() != nullptr && DropDownForm()->Visible() && FAdvWatch != nullptr) FAdvWatch->ProcessKey(Key);
}

void TAdvTimePickerDropDown::DropDownFormKeyUp(Word& Key, TShiftState Shift) {
  if (Forwarded(Key, Shift.Contains(ssAlt))) TAdvCustomDropDown::DropDownFormKeyUp(Key, Shift);
}

void TAdvTimePickerDropDown::DropDownControlKeyDown(Word& Key, TShiftState Shift) {
  if (Forwarded(Key, Shift.Contains(ssAlt))) TAdvCustomDropDown::DropDownControlKeyDown(Key, Shift);
}

void TAdvTimePickerDropDown::DropDownControlKeyUp(Word& Key, TShiftState Shift) {
  if (Forwarded(Key, Shift.Contains(ssAlt))) TAdvCustomDropDown::DropDownControlKeyUp(Key, Shift);
}

void TAdvTimePickerDropDown::DropDownControlKeyPress(Char& Key) {
  if (Forwarded(Key, GetKeyState(VK_MENU) < 0)) TAdvCustomDropDown::DropDownControlKeyPress(Key);
}

void TAdvTimePickerDropDown::SetComponentStyle(TZOLStyle AStyle) {
  TAdvCustomDropDown::SetComponentStyle(AStyle);
  if (FWatchAppearance) ApplyWatchStyle(FWatchAppearance.get(), AStyle);
}
