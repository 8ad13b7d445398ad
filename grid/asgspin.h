#pragma once
// The spin editor: a single-line edit with a pair of arrow buttons at its right edge that
// steps an integer, a floating-point number, a date or a time of day; the button pair; and
// the auto-repeating arrow button. The editor knows nothing of any grid.
//
// Number and date texts follow the process-wide format settings, read at each use.

#include <cstdint>
#include <memory>

#include "platform/ui/Buttons.h"
#include "platform/ui/Mask.h"
#include "platform/ui/Timers.h"

enum TAsgSpinType : uint8_t { sptNormal, sptFloat, sptDate, sptTime };
enum TSpinDirection : uint8_t { spVertical, spHorizontal };
enum TButtonDirection : uint8_t { bdLeft, bdRight, bdUp, bdDown };
enum TTimeBtnStateItem : uint8_t { tbFocusRect, tbAllowTimer };
using TTimeBtnState = Set<TTimeBtnStateItem>;

// The styled edit has an alignment of the same name with other values, so this one lives in
// its own namespace.
namespace asgspin {
enum TEditAlign : uint8_t { eaLeft, eaRight, eaCenter };
}  // namespace asgspin

class TAsgSpinButton;

// The face colours of an editor's buttons; clNone leaves the face to the theme or the system.
// Only ButtonColor, ButtonColorHot and ButtonColorDown show; the text and border colours are
// kept for descendants.
class TEditButtonColors {
public:
  virtual ~TEditButtonColors() = default;
  TColor ButtonColor() const { return FButtonColor; }
  void SetButtonColor(TColor Value) { FButtonColor = Value; ButtonColorsChanged(); }
  TColor ButtonColorHot() const { return FButtonColorHot; }
  void SetButtonColorHot(TColor Value) { FButtonColorHot = Value; ButtonColorsChanged(); }
  TColor ButtonColorDown() const { return FButtonColorDown; }
  void SetButtonColorDown(TColor Value) { FButtonColorDown = Value; ButtonColorsChanged(); }
  TColor ButtonBorderColor() const { return FButtonBorderColor; }
  void SetButtonBorderColor(TColor Value) { FButtonBorderColor = Value; }
  TColor ButtonTextColor() const { return FButtonTextColor; }
  void SetButtonTextColor(TColor Value) { FButtonTextColor = Value; }
  TColor ButtonTextColorHot() const { return FButtonTextColorHot; }
  void SetButtonTextColorHot(TColor Value) { FButtonTextColorHot = Value; }
  TColor ButtonTextColorDown() const { return FButtonTextColorDown; }
  void SetButtonTextColorDown(TColor Value) { FButtonTextColorDown = Value; }

protected:
  // A face colour changed: the buttons paint again.
  virtual void ButtonColorsChanged() {}

private:
  TColor FButtonColorDown = clNone;
  TColor FButtonBorderColor = clNone;
  TColor FButtonTextColor = clNone;
  TColor FButtonTextColorHot = clNone;
  TColor FButtonColor = clNone;
  TColor FButtonColorHot = clNone;
  TColor FButtonTextColorDown = clNone;
};

// An arrow button that repeats its click while held: first after 400 ms, then every 100 ms.
class TAdvTimerSpeedButton : public TSpeedButton {
public:
  explicit TAdvTimerSpeedButton(TComponent* AOwner);
  ~TAdvTimerSpeedButton() override;
  String ClassName() const override { return u"TAdvTimerSpeedButton"; }

  const TTimeBtnState& TimeBtnState() const { return FTimeBtnState; }
  void SetTimeBtnState(const TTimeBtnState& Value);
  TButtonDirection ButtonDirection() const { return FButtonDirection; }
  void SetButtonDirection(TButtonDirection Value);
  void SetIsWinXP(bool Value);
  bool IsWinXP() const { return FIsWinXP; }
  bool HasMouse() const { return FHasMouse; }
  // The repeat timer, made on the first press (nullptr before).
  TTimer* RepeatTimer() const { return FRepeatTimer; }

protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void Paint() override;

private:
  void TimerExpired(TObject* Sender);
  // The button pair holding this button, whose colours it paints with.
  TAsgSpinButton* Pair() const;
  void RepaintParent();
  bool PaintThemed(const TRect& R);
  void PaintColoured(const TRect& R, TColor Face);

  TTimer* FRepeatTimer = nullptr;
  TTimeBtnState FTimeBtnState;
  TButtonDirection FButtonDirection = bdUp;
  bool FIsWinXP = false;
  bool FHasMouse = false;
};

// Two arrow buttons, up and down (or right and left), each auto-repeating.
class TAsgSpinButton : public TWinControl, public TEditButtonColors {
public:
  explicit TAsgSpinButton(TComponent* AOwner);
  ~TAsgSpinButton() override;
  String ClassName() const override { return u"TAsgSpinButton"; }

  TAdvTimerSpeedButton* UpButton() const { return FUpButton; }
  TAdvTimerSpeedButton* DownButton() const { return FDownButton; }
  TAdvTimerSpeedButton* FocusedButton() const { return FFocusedButton; }
  // The control that takes the focus when a button is pressed.
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);
  TSpinDirection Direction() const { return FDirection; }
  void SetDirection(TSpinDirection Value);
  void SetIsWinXP(bool Value);
  bool IsWinXP() const { return FIsWinXP; }

  // A missing (nullptr or empty) glyph takes the built-in 9 x 6 arrow.
  TBitmap* UpGlyph() const { return FUpButton->Glyph(); }
  void SetUpGlyph(TBitmap* Value);
  TBitmap* DownGlyph() const { return FDownButton->Glyph(); }
  void SetDownGlyph(TBitmap* Value);
  int UpNumGlyphs() const { return FUpButton->NumGlyphs(); }
  void SetUpNumGlyphs(int Value) { FUpButton->SetNumGlyphs(Value); }
  int DownNumGlyphs() const { return FDownButton->NumGlyphs(); }
  void SetDownNumGlyphs(int Value) { FDownButton->SetNumGlyphs(Value); }

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  TNotifyEvent OnUpClick;
  TNotifyEvent OnDownClick;

protected:
  void ButtonColorsChanged() override;
  void Loaded() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void WMGetDlgCode(TWMGetDlgCode& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TAdvTimerSpeedButton* CreateButton();
  // Places the buttons for the size; returns the width the pair takes.
  int AdjustSize(int W, int H);
  void SetFocusBtn(TAdvTimerSpeedButton* Btn);
  void BtnClick(TObject* Sender);
  void BtnMouseDown(TObject* Sender, TMouseButton Button);

  TAdvTimerSpeedButton* FUpButton = nullptr;
  TAdvTimerSpeedButton* FDownButton = nullptr;
  TAdvTimerSpeedButton* FFocusedButton = nullptr;
  TWinControl* FFocusControl = nullptr;
  TSpinDirection FDirection = spVertical;
  bool FIsWinXP = false;
};

// The height of an edit's text in Font with the room an edit keeps around it: the text height
// and a quarter of the smaller of it and the system font's.
int EditMinHeight(TFont* Font);

// The built-in arrow glyph: 9 x 6, black on a transparent background.
std::unique_ptr<TBitmap> AsgSpinGlyph(bool Up);

class TAsgSpinEdit : public TCustomMaskEdit {
public:
  using TEditAlign = asgspin::TEditAlign;

  explicit TAsgSpinEdit(TComponent* AOwner);
  ~TAsgSpinEdit() override;
  String ClassName() const override { return u"TAsgSpinEdit"; }

  TAsgSpinButton* Button() const { return FButton; }
  // Keeps at least the height the text needs and the buttons at the right edge.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  // The value, read from the text and written to it, by kind. Unparsable text reads as the
  // kind's lower limit (times as 0); an empty integer text as 0, a date text "0" or empty as now.
  int32_t Value() const;
  void SetValue(int32_t Value);
  double FloatValue() const;
  void SetFloatValue(double Value);
  TDateTime DateValue() const;
  void SetDateValue(TDateTime Value);
  TDateTime TimeValue() const;
  void SetTimeValue(TDateTime Value);

  // Limits; equal limits mean none. Dates and times share the date limits.
  int32_t MinValue() const { return FMinValue; }
  void SetMinValue(int32_t Value) { FMinValue = Value; }
  int32_t MaxValue() const { return FMaxValue; }
  void SetMaxValue(int32_t Value) { FMaxValue = Value; }
  double MinFloatValue() const { return FMinFloatValue; }
  void SetMinFloatValue(double Value) { FMinFloatValue = Value; }
  double MaxFloatValue() const { return FMaxFloatValue; }
  void SetMaxFloatValue(double Value) { FMaxFloatValue = Value; }
  TDateTime MinDateValue() const { return FMinDateValue; }
  void SetMinDateValue(TDateTime Value) { FMinDateValue = Value; }
  TDateTime MaxDateValue() const { return FMaxDateValue; }
  void SetMaxDateValue(TDateTime Value) { FMaxDateValue = Value; }

  int32_t Increment() const { return FIncrement; }
  void SetIncrement(int32_t Value) { FIncrement = Value; }
  double IncrementFloat() const { return FIncrementFloat; }
  void SetIncrementFloat(double Value) { FIncrementFloat = Value; }
  double IncrementFloatPage() const { return FIncrementFloatPage; }
  void SetIncrementFloatPage(double Value) { FIncrementFloatPage = Value; }
  int32_t IncrementSeconds() const { return FIncrementSeconds; }
  void SetIncrementSeconds(int32_t Value) { FIncrementSeconds = Value; }
  int32_t IncrementMinutes() const { return FIncrementMinutes; }
  void SetIncrementMinutes(int32_t Value) { FIncrementMinutes = Value; }
  int32_t IncrementHours() const { return FIncrementHours; }
  void SetIncrementHours(int32_t Value) { FIncrementHours = Value; }

  // False: the text cannot be typed, only spun.
  bool EditorEnabled() const { return FEditorEnabled; }
  void SetEditorEnabled(bool Value) { FEditorEnabled = Value; }
  TSpinDirection Direction() const { return FDirection; }
  void SetDirection(TSpinDirection Value);
  // Re-writes the current value through the new kind.
  TAsgSpinType SpinType() const { return FSpinType; }
  void SetSpinType(TAsgSpinType Value);
  // Decimals of a float; 0 the shortest general form.
  int32_t Precision() const { return FPrecision; }
  void SetPrecision(int32_t Value);
  bool ReturnIsTab() const { return FReturnIsTab; }
  void SetReturnIsTab(bool Value) { FReturnIsTab = Value; }
  // The numeric keypad's decimal key types the locale's decimal separator.
  bool ExcelStyleDecimalSeparator() const { return FExcelStyleDecimalSeparator; }
  void SetExcelStyleDecimalSeparator(bool Value) { FExcelStyleDecimalSeparator = Value; }
  bool ShowSeconds() const { return FShowSeconds; }
  void SetShowSeconds(bool Value) { FShowSeconds = Value; }
  TEditAlign EditAlign() const { return FEditAlign; }
  void SetEditAlign(TEditAlign Value);
  bool SpinFlat() const { return FSpinFlat; }
  void SetSpinFlat(bool Value);
  bool SpinTransparent() const { return FSpinTransparent; }
  void SetSpinTransparent(bool Value);
  // Read by the grid when it writes the value back; the editor itself does not use it.
  bool AllowEmptyValue() const { return FAllowEmptyValue; }
  void SetAllowEmptyValue(bool Value) { FAllowEmptyValue = Value; }
  // Whether the last date spin found the month before the day in the short date format.
  bool UsDates() const { return FUsDates; }
  void SetIsWinXP(bool Value);
  bool IsWinXP() const { return FIsWinXP; }

  // One step up or down of the kind; Page takes the page step of a float. A read-only edit
  // only beeps.
  virtual void SpinUp(bool Page);
  virtual void SpinDown(bool Page);
  // The typing filter: false for a character the kind does not take here.
  virtual bool IsValidChar(Char& Key);
  virtual void UpClick(TObject* Sender);
  virtual void DownClick(TObject* Sender);

protected:
  void Loaded() override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void Dispatch(TMessage& Message) override;
  void WMKeyDown(TWMKey& Message) override;
  void WMChar(TWMKey& Message) override;
  void WMSize(TWMSize& Message) override;
  void DoEnter() override;
  void CMExit(TMessage& Message) override;

private:
  void Spin(bool Up, bool Page);
  void SpinDate(bool Up);
  void SpinTime(bool Up);
  // The smallest height that shows the text.
  int GetMinHeight();
  // Keeps typed text clear of the buttons.
  void SetEditRect();
  // Places the buttons at the right edge for the size.
  void LayoutButton();
  // Changes the width by one and back, which lays the buttons out again.
  void Relayout();
  String TimeText(TDateTime Value) const;
  int32_t CheckValue(int64_t Value) const;
  double CheckFloatValue(double Value) const;
  TDateTime CheckDateValue(TDateTime Value) const;

  int32_t FMinValue = 0;
  int32_t FMaxValue = 100;
  double FMinFloatValue = 0.0;
  double FMaxFloatValue = 100.0;
  TDateTime FMinDateValue = 0;
  TDateTime FMaxDateValue = 0;
  TDateTime FDateValue = 0;
  TDateTime FTimeValue = 0;
  int32_t FIncrement = 1;
  double FIncrementFloat = 0.1;
  TAsgSpinButton* FButton = nullptr;
  bool FEditorEnabled = true;
  TSpinDirection FDirection = spVertical;
  TAsgSpinType FSpinType = sptNormal;
  int32_t FPrecision = 0;
  bool FReturnIsTab = false;
  bool FIsWinXP = false;
  bool FExcelStyleDecimalSeparator = false;
  bool FUsDates = false;
  bool FShowSeconds = true;
  int32_t FIncrementSeconds = 1;
  int32_t FIncrementMinutes = 1;
  int32_t FIncrementHours = 1;
  TEditAlign FEditAlign = asgspin::eaLeft;
  bool FSpinFlat = false;
  bool FSpinTransparent = false;
  bool FAllowEmptyValue = false;
  double FIncrementFloatPage = 1.0;
  bool FTabPosted = false;  // Enter was turned into a Tab key-down posted to this window
};
