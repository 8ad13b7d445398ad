#pragma once
// The calculator drop-down and its keypad.
//
// TCustomButtonPanel is a custom-drawn panel of push buttons with glossy faces painted through
// GDI+; it tracks the hovered and the pressed button and reports a click with the button's
// index. In calculator mode it builds and arranges the 28 keys of a calculator itself.
//
// TAdvCalculatorDropdown is a drop-down edit whose pop-up holds that keypad. The edit is the
// calculator's display: every result is written into it with SetText, so a cancelled close
// keeps the last result. Operators evaluate strictly from left to right with one accumulator
// and one pending operator; a second "=" does not repeat the last operation. While the pop-up
// is closed, the operator keys typed into the edit still act as calculator keys. Text that is
// not a number reads as 0; a result that is not finite leaves the accumulator at 0.

#include <cstdint>
#include <functional>
#include <memory>

#include "dropdowns/AdvDropDown.h"
#include "dropdowns/AdvDropDownSelector.h"

class TCustomButtonPanel;

enum TButtonPanelType : uint8_t { plCalculator, plCustom };
using TCalculatorButtonClickEvent = std::function<void(TObject* Sender, int Index)>;

// One button of a panel. Its rectangle is set by the panel's arrangement.
class TButtonItem : public TCollectionItem {
public:
  explicit TButtonItem(TCollection* Collection);
  ~TButtonItem() override;
  String ClassName() const override { return u"TButtonItem"; }
  // Copies caption, caption colour, tag, image index, picture and name; not the rectangle and
  // not the special flag.
  void Assign(TPersistent* Source) override;

  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value) { FCaption = Value; }
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value) { FImageIndex = Value; }
  TPicture* Image() const { return FImage.get(); }
  void SetImage(TPicture* Value) { FImage->Assign(Value); }
  // The key code the panel's owner interprets.
  int Tag() const { return FTag; }
  void SetTag(int Value) { FTag = Value; }
  // Kept with the item; painting takes its text colours from the appearance.
  TColor CaptionColor() const { return FCaptionColor; }
  void SetCaptionColor(TColor Value) { FCaptionColor = Value; }
  // The key's identifier ("BTN_0" ...).
  const String& Name() const { return FName; }
  // Drawn in the appearance's SpecialTextColor.
  bool Special() const { return FSpecial; }
  TRect Rect() const { return TRect(FLeft, FTop, FLeft + FWidth, FTop + FHeight); }

private:
  friend class TCustomButtonPanel;
  String FCaption;
  int FImageIndex = -1;
  std::unique_ptr<TPicture> FImage;
  int FTag = 0;
  int FHeight = 0, FLeft = 0, FWidth = 0, FTop = 0;
  String FName;
  TColor FCaptionColor = 0x00FFFFFF;
  bool FSpecial = false;
};

class TButtonItems : public TCollection {
public:
  explicit TButtonItems(TPersistent* AOwner);
  String ClassName() const override { return u"TButtonItems"; }
  TPersistent* GetOwner() const override { return FMyOwner; }
  TButtonItem* Add() { return static_cast<TButtonItem*>(TCollection::Add()); }
  TButtonItem* Insert(int Index) { return static_cast<TButtonItem*>(TCollection::Insert(Index)); }
  TButtonItem* Items(int Index) const { return static_cast<TButtonItem*>(TCollection::Items(Index)); }
  void SetItem(int Index, TButtonItem* Value) { TCollection::SetItem(Index, Value); }

private:
  TPersistent* FMyOwner;
};

// The colours and font of a panel's buttons. Each colour setter that changes a value fires
// OnChange, except ShineColor; the glow colours and the font are stored without a report.
class TButtonAppearance : public TPersistent {
public:
  TButtonAppearance();
  ~TButtonAppearance() override;
  String ClassName() const override { return u"TButtonAppearance"; }
  void Assign(TPersistent* Source) override;

#define BUTTON_APPEARANCE_COLOR(Name) \
  TColor Name() const { return F##Name; } \
  void Set##Name(TColor Value) { Store(F##Name, Value); }
  BUTTON_APPEARANCE_COLOR(BorderColor)
  BUTTON_APPEARANCE_COLOR(BorderColorHot)
  BUTTON_APPEARANCE_COLOR(BorderColorDown)
  BUTTON_APPEARANCE_COLOR(Color)
  BUTTON_APPEARANCE_COLOR(ColorTo)
  BUTTON_APPEARANCE_COLOR(ColorHot)
  BUTTON_APPEARANCE_COLOR(ColorHotTo)
  BUTTON_APPEARANCE_COLOR(ColorDown)
  BUTTON_APPEARANCE_COLOR(ColorDownTo)
  BUTTON_APPEARANCE_COLOR(TextColor)
  BUTTON_APPEARANCE_COLOR(SpecialTextColor)
#undef BUTTON_APPEARANCE_COLOR
  TColor GlowColorHot() const { return FGlowColorHot; }
  void SetGlowColorHot(TColor Value) { FGlowColorHot = Value; }
  TColor GlowColorDown() const { return FGlowColorDown; }
  void SetGlowColorDown(TColor Value) { FGlowColorDown = Value; }
  TColor ShineColor() const { return FShineColor; }
  void SetShineColor(TColor Value) { FShineColor = Value; }
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }

  TNotifyEvent OnChange;

private:
  void Store(TColor& Field, TColor Value);
  TColor FBorderColor = 0, FBorderColorHot = 0, FBorderColorDown = 0;
  TColor FColor = 0x009A915F, FColorTo = 0x00B0A170;
  TColor FColorHot = 0x009F6F1C, FColorHotTo = 0x00D5C244;
  TColor FColorDown = 0x004B2F08, FColorDownTo = 0x00ADB514;
  TColor FGlowColorHot = 0x00D5C244, FGlowColorDown = 0x00D5C244;
  TColor FShineColor = 0x00FFFFFF;
  std::unique_ptr<TFont> FFont;
  TColor FTextColor = 0;
  TColor FSpecialTextColor = 0x00000080;
};

// A glossy button face in Rect: gradient lower half, shine over the upper half, white top line,
// inner line, border, and (unless GlowColor is clNone) a glow reaching 8 pixels outside.
void DrawGlossyButton(TCanvas* Canvas, const TRect& Rect, TColor BorderColor, TColor InnerLineColor, TColor Color,
                      TColor ColorTo, TColor GlowColor, TColor ShineColor);

class TCustomButtonPanel : public TCustomControl {
public:
  explicit TCustomButtonPanel(TComponent* AOwner);
  ~TCustomButtonPanel() override;
  String ClassName() const override { return u"TCustomButtonPanel"; }

  TButtonItems* Buttons() const { return FButtons.get(); }
  void SetButtons(TButtonItems* Value) { FButtons->Assign(Value); }
  TButtonAppearance* ButtonAppearance() const { return FButtonAppearance.get(); }
  void SetButtonAppearance(TButtonAppearance* Value) { FButtonAppearance->Assign(Value); }
  // Stored only: the next painting follows it.
  TItemLayout ButtonLayout() const { return FButtonLayout; }
  void SetButtonLayout(TItemLayout Value) { FButtonLayout = Value; }
  TButtonPanelType ButtonPanelType() const { return FButtonPanelType; }
  void SetButtonPanelType(TButtonPanelType Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  // The drop-down that hosts the panel: it repaints the panel and there is no frame.
  TAdvCustomDropDown* AdvDropDown() const { return FAdvDropDown; }
  void SetAdvDropDown(TAdvCustomDropDown* Value) { FAdvDropDown = Value; }
  // The hovered and the pressed button, -1 for none.
  int ButtonHot() const { return FButtonHot; }
  int ButtonDown() const { return FButtonDown; }
  // The button's rectangle, (-1, -1, -1, -1) outside the collection.
  TRect ButtonRect(int Index) const;
  // The first button (in collection order) holding the point, -1 for none.
  int ButtonAtPos(int X, int Y) const;

  // The 28 calculator keys, only into an empty collection in calculator mode; then arranged.
  virtual void CreateButtons();
  // Lays the calculator keys out over GetButtonsRect (nothing for plCustom or no buttons).
  virtual void ArrangeButtons();
  virtual void ClearButtons();
  virtual void RecreateButtons();
  // The client rectangle less the margins.
  virtual TRect GetButtonsRect() const;
  // The size a button needs for the largest picture and caption.
  virtual void GetButtonContentSize(int& W, int& H);
  // The button's rectangle grown by 8 pixels (its glow) is painted again.
  virtual void InvalidateButton(int Index);

  TCalculatorButtonClickEvent OnButtonClick;

protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;
  virtual void DrawButton(int Index, TCanvas* ACanvas);
  virtual void DoButtonClick(int Index);
  void WMSize(TWMSize& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  void AddKey(const char16_t* Caption, const char16_t* Name, int Tag, bool Special);
  void SetButtonHot(int Index);
  void SetButtonDown(int Index);
  // Draws the button on the window at once (outside painting).
  void DrawButtonNow(int Index);
  void AppearanceChanged(TObject* Sender);
  std::unique_ptr<TButtonItems> FButtons;
  TItemLayout FButtonLayout = ilCaptionRight;
  int FButtonHot = -1;
  int FOffSetX = 8, FOffSetY = 8;
  int FButtonOffSetX = 4, FButtonOffSetY = 4;
  TCustomImageList* FImages = nullptr;
  int FCaptionGap = 0;
  TButtonPanelType FButtonPanelType = plCalculator;
  std::unique_ptr<TButtonAppearance> FButtonAppearance;
  int FButtonDown = -1;
  TAdvCustomDropDown* FAdvDropDown = nullptr;
};

class TAdvCalculatorDropdown : public TAdvCustomDropDown {
public:
  explicit TAdvCalculatorDropdown(TComponent* AOwner);
  ~TAdvCalculatorDropdown() override;
  String ClassName() const override { return u"TAdvCalculatorDropdown"; }

  // Copied into the keypad at every opening.
  TButtonAppearance* CalcButtonAppearance() const { return FCalcButtonAppearance.get(); }
  void SetCalcButtonAppearance(TButtonAppearance* Value) { FCalcButtonAppearance->Assign(Value); }
  // Money display with thousand separators; a change formats the current value anew.
  bool ShowThousandSeparator() const { return FShowThousandSeparator; }
  void SetShowThousandSeparator(bool Value);
  // The display as a number (an empty display first becomes "0"; text that is no number reads
  // 0). Writing shows the value through SetText.
  double Value();
  void SetValue(double AValue);
  // The equals step: completes the pending calculation.
  void CalcResult() { DoEquals(); }
  // The keypad's click handler; the effect is chosen by the button's Tag.
  void CalcButtonClick(TObject* Sender, int Index);
  // The edit's key filter with the calculator keys (see the class comment).
  void KeyPress(Char& Key) override;
  // The drop-down's look, then the keypad takes the drop-down button's colours.
  void SetComponentStyle(TZOLStyle AStyle) override;
  TCustomButtonPanel* ButtonPanel() const { return FAdvButtonPanel; }

protected:
  // Called first by every keypad click and every character typed on the open pop-up.
  virtual void BeforeCalcAction() {}
  void CreateDropDownForm() override;
  void BeforeDropDown() override;
  void DropDownFormKeyPress(Char& Key) override;
  void DropDownFormKeyDown(Word& Key, TShiftState Shift) override;
  void DropDownControlKeyPress(Char& Key) override;
  void DropDownControlKeyDown(Word& Key, TShiftState Shift) override;
  void WMKeyDown(TWMKey& Message) override;
  void WMChar(TWMKey& Message) override;
  void CMEnter(TMessage& Message) override;

private:
  // The calculator keys and display rules of a typed character; Key becomes 0 when used up.
  void CalcKeyPress(Char& Key);
  // The key effects of a character typed on the open pop-up.
  void DoCalcKey(Char Key);
  // The display as a number; text that is no number reads 0.
  double DisplayValue() const;
  // Shows a finite value (false, changing nothing, for an infinite or invalid one).
  bool ShowValue(double V);
  void ApplyPending();
  void DoOperator(int Op);
  void DoEquals();
  void DoPercent();
  void ClearKey();
  // The calculator's part of SetComponentStyle.
  void TakeButtonColors(TZOLStyle AStyle);

  TCustomButtonPanel* FAdvButtonPanel = nullptr;
  int32_t FDecim = 0;
  bool FNewval = false;
  double FPrevval = 0;
  int32_t FPrevop = -1;
  bool FCalcClosed = true;
  std::unique_ptr<TButtonAppearance> FCalcButtonAppearance;
  double FMVal = 0;
  bool FShowThousandSeparator = false;
  bool FInEditFilter = false;  // the edit's own filter runs: the calculator part is done
};
