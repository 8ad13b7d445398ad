#pragma once
// The styled combo box: the class library's combo box with a flat or etched look, custom
// border, focus and button colours, a colour change on focus, an attached caption label at one
// of thirteen places, a dropped-list width, a drop-up event and a packed version number.
//
// With no look property set it paints as the class library's combo box; the looks are drawn
// over the native window (WM_PAINT and WM_NCPAINT on the combo box's painting layer).

#include <cstdint>
#include <memory>

#include "platform/ui/Graphics.h"
#include "platform/ui/StdCtrls.h"

// The label's place. The class library's labelled edit and the styled edit have label position
// types of the same name, so this one lives in its own namespace; the combo box's class scope
// holds its values (ZIviDovevUvi::lpLeftCenter).
namespace advcombo {
enum TLabelPosition : uint8_t {
  lpLeftTop, lpLeftCenter, lpLeftBottom, lpTopLeft, lpBottomLeft, lpLeftTopLeft, lpLeftCenterLeft,
  lpLeftBottomLeft, lpTopCenter, lpBottomCenter, lpRightTop, lpRightCenter, lpRighBottom
};
}  // namespace advcombo

class TAdvCustomCombo : public TComboBox {
public:
  using TLabelPosition = advcombo::TLabelPosition;
  using enum advcombo::TLabelPosition;

  explicit TAdvCustomCombo(TComponent* AOwner);
  ~TAdvCustomCombo() override;
  String ClassName() const override { return u"TAdvCustomCombo"; }

  // ---- Behaviour and look
  bool AutoFocus() const { return FAutoFocus; }
  void SetAutoFocus(bool Value) { FAutoFocus = Value; }
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  bool Etched() const { return FEtched; }
  void SetEtched(bool Value);
  TColor FlatLineColor() const { return FFlatLineColor; }
  void SetFlatLineColor(TColor Value);
  bool FlatParentColor() const { return FFlatParentColor; }
  void SetFlatParentColor(bool Value);
  // Only 14 to 32 are taken; other widths are ignored.
  int ButtonWidth() const { return FButtonWidth; }
  void SetButtonWidth(int Value);
  int DropWidth() const { return FDropWidth; }
  void SetDropWidth(int Value);
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor Value);
  bool FocusBorder() const { return FFocusBorder; }
  void SetFocusBorder(bool Value) { FFocusBorder = Value; }
  TColor FocusBorderColor() const { return FFocusBorderColor; }
  void SetFocusBorderColor(TColor Value) { FFocusBorderColor = Value; }
  TColor FocusColor() const { return FFocusColor; }
  void SetFocusColor(TColor Value) { FFocusColor = Value; }
  bool FocusLabel() const { return FFocusLabel; }
  void SetFocusLabel(bool Value) { FFocusLabel = Value; }
  bool DisabledBorder() const { return FDisabledBorder; }
  void SetDisabledBorder(bool Value) { FDisabledBorder = Value; }
  // The colour; while loading it is also kept as the colour to restore.
  void SetColor(TColor Value);
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
  TFont* LabelFont() const { return FLabelFont.get(); }
  // Copied only while ParentFont is off.
  void SetLabelFont(TFont* Value);
  // The attached label; nullptr until a caption is set.
  TLabel* ComboLabel() const { return FLabel; }

  // ---- Version: "1.4.0.0"; writing it has no effect.
  String Version() const;
  void SetVersion(const String&) {}
  virtual int32_t GetVersionNr() const { return 0x01040000; }

  // ---- Re-implemented accessors: the label follows.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void SetEnabled(bool Value) override;
  void SetVisible(bool Value) override;

  // Selects the item of that text; changes nothing when there is none.
  void SelectItem(const String& AString);
  // Keeps the current colour as the one focus colouring restores.
  void Init();

  TNotifyEvent OnDropUp;  // the list closed

protected:
  void Loaded() override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void CNCommand(TWMCommand& Message) override;
  void WMNCPaint(TMessage& Message) override;
  void WMPaint(TWMPaint& Message) override;
  void WMSetFocus(TWMSetFocus& Message) override;
  void WMKillFocus(TWMKillFocus& Message) override;
  void CMEnter(TMessage& Message) override;
  void CMExit(TMessage& Message) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void CMParentFontChanged(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // ---- Label
  void CreateLabel();
  void UpdateLabel();
  void LabelFontChanged(TObject* Sender);

  // ---- Painting (DC: the window's, origin at its top-left)
  bool UseVisualStyles() const;
  bool IsMouseButtonDown() const;
  bool IsActive() const;
  bool IsFocusBorderShown() const;
  // Whether WM_PAINT paints the looks itself.
  bool PaintsItself() const;
  void PaintButton(HDC DC);
  // Draws the border and button edge now when painting, else has the window drawn again.
  void RedrawBorders(HDC DC = nullptr);
  void DrawBorder(HDC DC);
  void DrawButtonEdge(HDC DC);
  void SetLabelBold(bool Bold);

  bool FAutoFocus = false;
  bool FFlat = false;
  bool FEtched = false;
  TColor FOldColor = clWindow;
  TColor FLoadedColor = clWindow;
  bool FOldParentColor = false;
  int FButtonWidth = 19;
  bool FFocusBorder = false;
  bool FMouseInControl = false;
  int FDropWidth = 0;
  bool FIsWinXP = true;
  bool FIsThemed = true;
  bool FButtonHover = false;
  bool FLabelAlwaysEnabled = false;
  bool FLabelTransparent = false;
  int FLabelMargin = 4;
  std::unique_ptr<TFont> FLabelFont;
  TLabelPosition FLabelPosition = lpLeftTop;
  TLabel* FLabel = nullptr;
  TColor FFlatLineColor = clBlack;
  bool FFlatParentColor = true;
  TColor FFocusColor = clNone;
  TColor FFocusBorderColor = clNone;
  TColor FBorderColor = clNone;
  bool FDisabledBorder = true;
  TColor FNormalColor = clNone;
  bool FHasFocus = false;
  bool FFocusLabel = false;
  TColor FButtonColorDown = clNone;
  TColor FButtonBorderColor = clNone;
  TColor FButtonTextColor = clNone;
  TColor FButtonTextColorHot = clNone;
  TColor FButtonColor = clNone;
  TColor FButtonColorHot = clNone;
  TColor FButtonTextColorDown = clNone;
};

// The combo box as placed on forms: every property of TAdvCustomCombo, no code of its own.
class ZIviDovevUvi : public TAdvCustomCombo {
public:
  explicit ZIviDovevUvi(TComponent* AOwner) : TAdvCustomCombo(AOwner) {}
  String ClassName() const override { return u"ZIviDovevUvi"; }
};
