#pragma once
// The numeric edit (a number shown in binary, hexadecimal, floating-point or integer text,
// checked as it is typed and accepted on Enter, exit or a step), the auto-repeat speed
// button, the spin button holding two of them, and the numeric spinner.

#include <cstdint>
#include <memory>

#include "instruments/AbFlashT.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/StdCtrls.h"

enum TEditBase : uint8_t { ebBin, ebHex, ebFloat, ebInt };
enum TNumEditOption : uint8_t { eoLimitMax, eoLimitMin, eoMultiply };
using TNumEditOptions = Set<TNumEditOption>;
enum TNumEditState : uint8_t { esNormal, esEditing, esError };

// The character rules and the range of one base.
struct TBaseProperties {
  String ValidChars;
  bool ExpEnable = false;
  bool MultiEnable = false;
  String Sign;
  long double MinValue = 0;
  long double MaxValue = 0;
};

// The per-base table, filled once from the locale's separators of that moment.
const TBaseProperties& BaseProperties(TEditBase Base);

class TAbNumEdit : public TCustomEdit {
public:
  explicit TAbNumEdit(TComponent* AOwner);
  ~TAbNumEdit() override;
  String ClassName() const override { return u"TAbNumEdit"; }

  TEditBase EditBase() const { return FEditBase; }
  void SetEditBase(TEditBase Value);
  bool EditorEnabled() const { return FEditorEnabled; }
  void SetEditorEnabled(bool Value) { FEditorEnabled = Value; }
  double MinValue() const { return FMinValue; }
  void SetMinValue(double Value);
  double MaxValue() const { return FMaxValue; }
  void SetMaxValue(double Value);
  float Increment() const { return FIncrement; }
  void SetIncrement(float Value) { FIncrement = Value; }
  double Value() const { return FValue; }
  void SetValue(double Value);
  const String& ValueAsBool() const { return FValueAsBool; }
  void SetValueAsBool(const String& Value);
  const String& ValueAsHex() const { return FValueAsHex; }
  void SetValueAsHex(const String& Value);
  float ValueAsSingle() const { return FValueAsSingle; }
  void SetValueAsSingle(float Value);
  int32_t ValueAsInt() const { return FValueAsInt; }
  void SetValueAsInt(int32_t Value);
  const TNumEditOptions& Options() const { return FOptions; }
  void SetOptions(const TNumEditOptions& Value);
  const String& FormatStr() const { return FFormatStr; }
  void SetFormatStr(const String& Value);
  TNumEditState State() const { return FState; }
  bool LimitUp() const { return FLimitUp; }
  void SetLimitUp(bool Value);
  bool LimitLo() const { return FLimitLo; }
  void SetLimitLo(bool Value);
  TColor ColorDefault() const { return FColorDefault; }
  void SetColorDefault(TColor Value);
  TColor ColorError() const { return FColorError; }
  void SetColorError(TColor Value) { FColorError = Value; }
  TColor ColorEditing() const { return FColorEditing; }
  void SetColorEditing(TColor Value) { FColorEditing = Value; }
  int32_t DigitsBool() const { return FDigitsBool; }
  void SetDigitsBool(int32_t Value) { FDigitsBool = Value; }
  int32_t DigitsHex() const { return FDigitsHex; }
  void SetDigitsHex(int32_t Value) { FDigitsHex = Value; }

  // Checks the text; with Apply a passing text becomes the value. False for a faulty text.
  bool Validate(bool Apply);
  virtual void UpClick(TObject* Sender);
  virtual void DownClick(TObject* Sender);

  TNotifyEvent OnValueChanged;
  TNotifyEvent OnLimit;

protected:
  virtual void SetEditState(TNumEditState State);
  virtual void DoLimit();
  void Change() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void DoExit() override;
  void CreateWnd() override;
  void Loaded() override;
  void CMParentColorChanged(TMessage& Message) override;

  double ClampToLimits(double x);
  void ApplyValue(long double x);
  // The value's text in the edit's own base.
  String ValueText() const;

  TEditBase FEditBase = ebFloat;
  bool FEditorEnabled = true;
  double FMinValue = 0;
  double FMaxValue = 0;
  float FIncrement = 1.0f;
  String FOldText = u"0";
  double FValue = 0;
  String FValueAsBool;
  String FValueAsHex;
  float FValueAsSingle = 0;
  int32_t FValueAsInt = 0;
  TNumEditOptions FOptions;
  String FFormatStr = u"#0.#";
  TNumEditState FState = esNormal;
  bool FirstDraw = true;
  bool IgnoreChange = true;
  bool FLimitUp = false;
  bool FLimitLo = false;
  TColor FColorDefault = clWindow;
  TColor FColorError = clRed;
  TColor FColorEditing = clLime;
  int32_t FDigitsBool = 0;
  int32_t FDigitsHex = 0;
};

// A speed button that repeats its click while held with the left button, timed by the
// flash timer.
class TAbTimerSpeedBtn : public TSpeedButton {
public:
  explicit TAbTimerSpeedBtn(TComponent* AOwner);
  ~TAbTimerSpeedBtn() override;
  String ClassName() const override { return u"TAbTimerSpeedBtn"; }

  int32_t Interval() const { return FInterval; }
  void SetInterval(int32_t Value);  // below 50 ignored
  uint32_t StartDelay() const { return FStartDelay; }
  void SetStartDelay(uint32_t Value) { FStartDelay = Value; }
  bool TimerEnabled() const { return FTimerEnabled; }
  void SetTimerEnabled(bool Value) { FTimerEnabled = Value; }
  // Ends a press without a click (the focus left the spinner).
  void CancelPress();

  uint64_t StartTime = 0;

  void Dispatch(TMessage& Message) override;

protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  int32_t FInterval = 100;
  uint32_t FStartDelay = 500;
  bool FTimerEnabled = true;
};

class TAbSpinButton : public TWinControl {
public:
  explicit TAbSpinButton(TComponent* AOwner);
  ~TAbSpinButton() override;
  String ClassName() const override { return u"TAbSpinButton"; }

  TAbTimerSpeedBtn* UpButton() const { return FUpButton; }
  TAbTimerSpeedBtn* DownButton() const { return FDownButton; }
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);
  // nullptr or an empty bitmap restores the built-in arrow.
  void SetUpGlyph(TBitmap* Value);
  void SetDownGlyph(TBitmap* Value);
  int UpNumGlyphs() const { return FUpButton->NumGlyphs(); }
  void SetUpNumGlyphs(int v) { FUpButton->SetNumGlyphs(v); }
  int DownNumGlyphs() const { return FDownButton->NumGlyphs(); }
  void SetDownNumGlyphs(int v) { FDownButton->SetNumGlyphs(v); }
  int32_t Interval() const { return FUpButton->Interval(); }
  void SetInterval(int32_t v);
  uint32_t StartDelay() const { return FUpButton->StartDelay(); }
  void SetStartDelay(uint32_t v);
  void SetEnabled(bool v) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  TNotifyEvent OnUpClick;
  TNotifyEvent OnDownClick;

protected:
  void Loaded() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void WMGetDlgCode(TWMGetDlgCode& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  // Lays the buttons out for the size; returns the corrected width.
  int LayoutButtons(int W, int H);
  void BtnClick(TObject* Sender);
  void BtnMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  TAbTimerSpeedBtn* FUpButton = nullptr;
  TAbTimerSpeedBtn* FDownButton = nullptr;
  TAbTimerSpeedBtn* FFocusedButton = nullptr;
  TWinControl* FFocusControl = nullptr;
};

// The built-in 18 x 6 arrow strips (normal and disabled image, olive background).
std::unique_ptr<TBitmap> MakeSpinGlyph(bool Up);

class TAbNumSpin : public TAbNumEdit {
public:
  explicit TAbNumSpin(TComponent* AOwner);
  ~TAbNumSpin() override;
  String ClassName() const override { return u"TAbNumSpin"; }

  TAbSpinButton* Button() const { return FButton; }
  int32_t Interval() const { return FButton->Interval(); }
  void SetInterval(int32_t v) { FButton->SetInterval(v); }
  int32_t StartDelay() const { return static_cast<int32_t>(FButton->StartDelay()); }
  void SetStartDelay(int32_t v) { FButton->SetStartDelay(static_cast<uint32_t>(v)); }
  void SetEnabled(bool v) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  // The smallest height at which the text still shows.
  int GetMinHeight();

protected:
  void SetEditState(TNumEditState State) override;
  void DoLimit() override;
  void DoExit() override;
  void CreateWnd() override;

private:
  void LayoutButton();
  // Narrows the edit's text area so that typed text stops short of the arrow buttons.
  void SetEditRect();
  void FollowLimits();
  TAbSpinButton* FButton = nullptr;
};
