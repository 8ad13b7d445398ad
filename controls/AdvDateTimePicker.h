#pragma once
// The styled date-time picker: the class library's picker with a flat look (border and
// drop-down button colours), field advance after typed digits (AutoTab), an attached caption
// label on any side, and a third kind that edits date and time at once through a time picker
// placed inside the control.

#include <cstdint>
#include <memory>

#include "platform/ui/ComCtrls.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/Timers.h"

enum TAdvDateTimeKind : uint8_t { dkDate, dkTime, dkDateTime };

// The class library's labelled controls have a label position type of the same name: this one
// lives in its own namespace and is reached through the picker's class.
namespace advdtp {
enum TLabelPosition : uint8_t {
  lpLeftTop, lpLeftCenter, lpLeftBottom, lpTopLeft, lpBottomLeft, lpLeftTopLeft, lpLeftCenterLeft,
  lpLeftBottomLeft, lpTopCenter, lpBottomCenter, lpRightTop, lpRightCenter, lpRighBottom
};
}  // namespace advdtp

// The window message "DTPShiftFocus" a picker posts to itself after a typed digit; registered
// by the first call (the module start-up makes that call).
UINT DTPShiftFocusMessage();
void InitializeAdvDateTimePicker();

// The look, the focus and mouse tracking and the field advance; also the class of the inner
// time picker, which keeps the native look (NoCustomBorders).
class TCustomDateTimePicker : public TDateTimePicker {
public:
  explicit TCustomDateTimePicker(TComponent* AOwner);
  String ClassName() const override { return u"TCustomDateTimePicker"; }

  bool AutoTab() const { return FAutoTab; }
  virtual void SetAutoTab(bool Value);
  bool MetroStyle() const { return FMetroStyle; }
  void SetMetroStyle(bool Value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  virtual void SetBorderStyle(TBorderStyle Value);
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor Value);
  // Drop-down button colours (clNone: the themed or classic button); stored without a repaint.
  TColor ButtonColor() const { return FButtonColor; }
  void SetButtonColor(TColor Value) { FButtonColor = Value; }
  TColor ButtonColorHot() const { return FButtonColorHot; }
  void SetButtonColorHot(TColor Value) { FButtonColorHot = Value; }
  TColor ButtonColorDown() const { return FButtonColorDown; }
  void SetButtonColorDown(TColor Value) { FButtonColorDown = Value; }
  TColor ButtonTextColor() const { return FButtonTextColor; }
  void SetButtonTextColor(TColor Value) { FButtonTextColor = Value; }
  TColor ButtonTextColorHot() const { return FButtonTextColorHot; }
  void SetButtonTextColorHot(TColor Value) { FButtonTextColorHot = Value; }
  TColor ButtonTextColorDown() const { return FButtonTextColorDown; }
  void SetButtonTextColorDown(TColor Value) { FButtonTextColorDown = Value; }
  TColor ButtonBorderColor() const { return FButtonBorderColor; }
  void SetButtonBorderColor(TColor Value) { FButtonBorderColor = Value; }
  // The mouse is over the drop-down button's area.
  bool ButtonHover() const { return FButtonHover; }

  void Dispatch(TMessage& Message) override;

protected:
  // After the digit typed: the next field when a field changed.
  virtual void DoShiftFocus();
  // True keeps the native look: the flat look is never drawn.
  virtual bool NoCustomBorders() const { return true; }
  void KeyPress(Char& Key) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void WMSetFocus(TWMSetFocus& Message) override;
  void WMKillFocus(TWMKillFocus& Message) override;
  void WMPaint(TWMPaint& Message) override;
  virtual void WMNCPaint(TMessage& Message);
  // The frame of the flat look on DC (the window's).
  void DrawBorders(HDC DC);
  // Asks for the window and its frame to be drawn again.
  void RedrawBorders();
  // The remembered time, before the digit.
  uint16_t Fh = 0, Fm = 0, Fs = 0, Fms = 0;

private:
  void DrawOutline(HDC DC, int Inset, TColor Color);
  TColor OutlineColor() const;
  bool MouseButtonDown() const;
  void DrawButton(HDC DC);

  TBorderStyle FBorderStyle = bsNone;
  TColor FBorderColor = 0;
  bool FIsThemed;
  TColor FButtonColorDown = clNone, FButtonBorderColor = clNone, FButtonTextColor = clNone;
  TColor FButtonTextColorHot = clNone, FButtonColor = clNone, FButtonColorHot = clNone;
  TColor FButtonTextColorDown = clNone;
  int FButtonWidth;
  bool FButtonHover = false;
  bool FMouseInControl = false;
  bool FIsWinXP;
  bool FMetroStyle = false;
  TColor FFocusBorderColor = clNone;
  bool FDisabledBorder = false;
  bool FHasFocus = false;
  bool FFocusBorder = false;
  bool FAutoTab = false;
};

class TAdvDateTimePicker : public TCustomDateTimePicker {
public:
  using TLabelPosition = advdtp::TLabelPosition;
  using enum advdtp::TLabelPosition;

  explicit TAdvDateTimePicker(TComponent* AOwner);
  ~TAdvDateTimePicker() override;
  String ClassName() const override { return u"TAdvDateTimePicker"; }

  TAdvDateTimeKind Kind() const { return FKind; }
  void SetKind(TAdvDateTimeKind Value);
  // Date and time; in dkDateTime the time of day is the inner picker's.
  TDateTime DateTime();
  virtual void SetDateTime(TDateTime Value);
  TDateTime Date() { return TDateTimePicker::Date(); }
  // A new date; the time of day stays (without its milliseconds).
  void SetDate(TDateTime Value);
  // The inner picker's time in dkDateTime, else the picker's own.
  TDateTime Time() const;
  void SetTime(TDateTime Value);
  // Format of the inner picker, and of the picker itself in dkTime.
  const String& TimeFormat() const { return FTimeFormat; }
  void SetTimeFormat(const String& Value);
  void SetBorderStyle(TBorderStyle Value) override;
  void SetAutoTab(bool Value) override;
  // "1.2.0.0" whatever is written.
  String Version() const;
  void SetVersion(const String&) {}

  // The inner time picker (dkDateTime only), or none.
  TCustomDateTimePicker* TimePicker() const { return FTimePicker; }

  // ---- Label
  String LabelCaption() const;
  void SetLabelCaption(const String& Value);
  TLabelPosition LabelPosition() const { return FLabelPosition; }
  void SetLabelPosition(TLabelPosition Value);
  int LabelMargin() const { return FLabelMargin; }
  void SetLabelMargin(int Value);
  bool LabelTransparent() const { return FLabelTransparent; }
  void SetLabelTransparent(bool Value);
  bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
  void SetLabelAlwaysEnabled(bool Value);
  bool FocusLabel() const { return FFocusLabel; }
  void SetFocusLabel(bool Value) { FFocusLabel = Value; }
  TFont* LabelFont() const { return FLabelFont.get(); }
  void SetLabelFont(TFont* Value);
  TLabel* PickerLabel() const { return FLabel; }

  TNotifyEvent OnTimeChange;
  TNotifyEvent OnLabelClick;
  TNotifyEvent OnLabelDblClick;

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void SetParent(TWinControl* AParent) override;
  void SetVisible(bool v) override;
  void WndProc(TMessage& Message) override;
  void Click() override;

protected:
  virtual void DoChange();
  virtual void DoClick();
  bool NoCustomBorders() const override { return false; }
  void DoShiftFocus() override;
  void Change() override;
  void KeyPress(Char& Key) override;
  void CreateWindowHandle() override;
  void Loaded() override;
  void Resize() override;
  void CNNotify(TWMNotify& Message) override;
  void CMColorChanged(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void CMParentFontChanged(TMessage& Message) override;
  void WMSetFocus(TWMSetFocus& Message) override;
  void WMKillFocus(TWMKillFocus& Message) override;
  void WMPaint(TWMPaint& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  void ApplyKind();
  void CreateTimePicker();
  void UpdateTimePicker();
  void UpdateLabel();
  void LabelFontChanged();
  // The inner picker follows the check box: enabled while the picker is enabled and checked.
  void FollowCheckBox();

  TAdvDateTimeKind FKind = dkDateTime;
  TTimer* FFocusTimer = nullptr;  // owned as a component
  TPoint Fpt;
  String FTimeFormat;
  uint16_t Fy = 0, Fm = 0, Fd = 0;
  TLabel* FLabel = nullptr;  // owned as a component
  std::unique_ptr<TFont> FLabelFont;
  TLabelPosition FLabelPosition = lpLeftTop;
  int FLabelMargin = 4;
  bool FLabelTransparent = false;
  bool FFocusLabel = false;
  bool FLabelAlwaysEnabled = false;
  bool FParentFnt = false;
  bool FIgnoreTimePickerCheck = false;
  bool FFirstRun = true;
  TCustomDateTimePicker* FTimePicker = nullptr;  // owned as a component
};
