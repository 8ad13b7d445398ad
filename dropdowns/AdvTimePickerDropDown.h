#pragma once
// A drop-down for a time of day: the edit shows two-digit hours, minutes and (optionally)
// seconds under an edit mask; the pop-up holds an analogue clock whose hands the user sets
// with mouse or keys, optionally with a time picker below it. Edit, Time, clock and picker
// stay in step. Up and Down step the hour, minute or second under the caret, wrapping.

#include "dropdowns/AdvDropDown.h"
#include "dropdowns/AdvWatch.h"
#include "platform/ui/ComCtrls.h"

class TAdvTimePickerDropDown : public TAdvCustomDropDown {
public:
  explicit TAdvTimePickerDropDown(TComponent* AOwner);
  ~TAdvTimePickerDropDown() override;
  String ClassName() const override { return u"TAdvTimePickerDropDown"; }

  // Applied to the clock at the next opening.
  bool Animation() const { return FAnimation; }
  void SetAnimation(bool v) { FAnimation = v; }
  int AnimationFactor() const { return FAnimationFactor; }
  void SetAnimationFactor(int v) { FAnimationFactor = v; }
  bool ShowWatchAMPM() const { return FShowWatchAMPM; }
  void SetShowWatchAMPM(bool v) { FShowWatchAMPM = v; }
  bool ShowWatchNumbers() const { return FShowWatchNumbers; }
  void SetShowWatchNumbers(bool v) { FShowWatchNumbers = v; }
  bool ShowTimePicker() const { return FShowTimePicker; }
  void SetShowTimePicker(bool v) { FShowTimePicker = v; }
  TWatchSettings* WatchSettings() const { return FWatchSettings.get(); }
  void SetWatchSettings(TWatchSettings* v) { FWatchSettings->Assign(v); }
  TWatchAppearance* WatchAppearance() const { return FWatchAppearance.get(); }
  void SetWatchAppearance(TWatchAppearance* v) { FWatchAppearance->Assign(v); }

  // The time; setting it rewrites the text (no event).
  TDateTime Time() const { return FTime; }
  void SetTime(TDateTime Value);
  // Switches the text and mask between hh:mm:ss and hh:mm; Time keeps its seconds.
  bool ShowSeconds() const { return FShowSeconds; }
  void SetShowSeconds(bool Value);

  TAdvWatch* AdvWatch() const { return FAdvWatch; }
  TDateTimePicker* DateTimePicker() const { return FDateTimePicker; }

  void SetComponentStyle(TZOLStyle AStyle) override;
  // Up and Down step the part under the caret.
  void KeyDown(Word& Key, TShiftState Shift) override;
  // A complete typed text sets Time; an impossible time leaves it unchanged.
  void Change() override;

  // After a change of Time by keys, the clock, the picker below it or a cancelled close (not
  // by SetTime or typed text).
  TNotifyEvent OnTimeChange;

protected:
  void CreateDropDownForm() override;
  void BeforeDropDown() override;
  void DoHideDropDown(bool Cancel) override;
  void DropDownFormHidden() override;
  void DropDownFormKeyDown(Word& Key, TShiftState Shift) override;
  void DropDownFormKeyUp(Word& Key, TShiftState Shift) override;
  void DropDownControlKeyDown(Word& Key, TShiftState Shift) override;
  void DropDownControlKeyUp(Word& Key, TShiftState Shift) override;
  void DropDownControlKeyPress(Char& Key) override;
  // The pick-only edit takes its keys here, not in KeyDown.
  void WMKeyDown(TWMKey& Message) override;

private:
  String TimeText(TDateTime Value) const;
  String MaskFor(bool Seconds) const;
  // Up or Down with the caret at Caret (before the key) steps the part there.
  void StepKey(Word Key, TShiftState Shift, int Caret);
  // Replaces one part (0 hour, 1 minute, 2 second) of the time; fires OnTimeChange.
  void SetPart(int Part, int Value);
  // Time and text take the clock's time; OnTimeChange fires when that changed Time.
  void TakeClockTime();
  void WatchChanged(TObject* Sender);
  void PickerChanged(TObject* Sender);
  // Page Up/Down and Up/Down reach the edit only with Alt held.
  static bool Forwarded(Word Key, bool AltDown);

  bool FShowTimePicker = false;
  TAdvWatch* FAdvWatch = nullptr;
  TDateTimePicker* FDateTimePicker = nullptr;
  // Holds clock and picker. (A plain control: the class library's panel unit clashes with the
  // drop-downs' label positions.)
  TCustomControl* FPanelCtrl = nullptr;
  std::unique_ptr<TWatchAppearance> FWatchAppearance;
  bool FShowWatchAMPM = true;
  bool FShowWatchNumbers = true;
  bool FAnimation = true;
  int FAnimationFactor = 10;
  TDateTime FTime = 0;
  std::unique_ptr<TWatchSettings> FWatchSettings;
  bool FInternalCall = false;
  bool FShowSeconds = true;
  TDateTime FOpenTime = 0;  // the time at the opening, put back by a cancelled close
};
