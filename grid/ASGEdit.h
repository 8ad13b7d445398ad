#pragma once
// Edits with a small push button inside their right edge: TAsgEditBtn fires an event when the
// button is clicked or F4 pressed; TAsgUnitEditBtn also shows a unit text between the number
// and the button and lets the user pick the unit from a pop-up menu.

#include <memory>

#include "grid/asgspin.h"
#include "platform/rtl/Classes.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/StdCtrls.h"

class TAsgEditButton;

// The push button inside TAsgEditButton, painted with its owner's colours.
class TAdvSpeedButton : public TSpeedButton {
public:
  explicit TAdvSpeedButton(TComponent* AOwner);
  String ClassName() const override { return u"TAdvSpeedButton"; }

  bool IsWinXP() const { return FIsWinXP; }
  void SetIsWinXP(bool Value);
  // The flat look of this button's own painting.
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  // The mouse is over the button.
  bool Hot() const { return FHot; }

protected:
  void Paint() override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;

private:
  TAsgEditButton* Host() const;
  bool FIsWinXP = false;
  bool FFlat = false;
  bool FHot = false;
};

// A window holding one TAdvSpeedButton that fills it. A left release on the button fires
// OnClick and gives FocusControl the focus.
class TAsgEditButton : public TWinControl, public TEditButtonColors {
public:
  explicit TAsgEditButton(TComponent* AOwner);
  ~TAsgEditButton() override;
  String ClassName() const override { return u"TAsgEditButton"; }

  TAdvSpeedButton* Button() const { return FButton; }
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  TBitmap* Glyph() const { return FButton->Glyph(); }
  void SetGlyph(TBitmap* Value) { FButton->SetGlyph(Value); }
  int NumGlyphs() const { return FButton->NumGlyphs(); }
  void SetNumGlyphs(int Value) { FButton->SetNumGlyphs(Value); }
  String ButtonCaption() const { return FButton->Caption(); }
  void SetButtonCaption(const String& Value) { FButton->SetCaption(Value); }

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  TNotifyEvent OnClick;

protected:
  void ButtonColorsChanged() override { FButton->Invalidate(); }
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CMEnabledChanged(TMessage& Message) override;

private:
  void BtnMouseUp(TMouseButton Button);
  void FitButton();
  TAdvSpeedButton* FButton = nullptr;
  TWinControl* FFocusControl = nullptr;
  bool FFlat = false;
};

class TAsgEditBtn : public TCustomEdit {
public:
  explicit TAsgEditBtn(TComponent* AOwner);
  ~TAsgEditBtn() override;
  String ClassName() const override { return u"TAsgEditBtn"; }

  TAsgEditButton* Button() const { return FButton; }
  // Keeps at least the height the text needs and the button at the right edge.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  bool RightAlign() const { return FRightAlign; }
  void SetRightAlign(bool Value);
  // False: nothing can be typed, pasted or cut; the button and F4 still work.
  bool EditorEnabled() const { return FEditorEnabled; }
  void SetEditorEnabled(bool Value) { FEditorEnabled = Value; }
  int ButtonWidth() const { return FButtonWidth; }
  void SetButtonWidth(int Value);
  bool IsWinXP() const { return FIsWinXP; }
  void SetIsWinXP(bool Value);
  TBitmap* Glyph() const { return FButton->Glyph(); }
  void SetGlyph(TBitmap* Value) { FButton->SetGlyph(Value); }
  String ButtonCaption() const { return FButton->ButtonCaption(); }
  void SetButtonCaption(const String& Value) { FButton->SetButtonCaption(Value); }

  // Fires OnClickBtn. The button passes its TAsgEditButton, F4 the edit.
  virtual void DoClickBtn(TObject* Sender);

  TNotifyEvent OnClickBtn;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void Dispatch(TMessage& Message) override;
  void WMChar(TWMKey& Message) override;
  void WMSize(TWMSize& Message) override;
  void DoEnter() override;
  // Keeps typed text clear of the button and the unit.
  void SetEditRect();
  // Places the button at the right edge for the size.
  void LayoutButton();

  // Room in pixels kept free for the unit text.
  int FUnitSize = 0;

private:
  bool FRightAlign = false;
  TAsgEditButton* FButton = nullptr;
  bool FEditorEnabled = true;
  int FButtonWidth = 18;
  bool FIsWinXP = false;
};

using TUnitChangeEvent = std::function<void(TObject* Sender, const String& NewUnit)>;

class TAsgUnitEditBtn : public TAsgEditBtn {
public:
  explicit TAsgUnitEditBtn(TComponent* AOwner);
  ~TAsgUnitEditBtn() override;
  String ClassName() const override { return u"TAsgUnitEditBtn"; }

  const String& UnitID() const { return FUnitID; }
  void SetUnitID(const String& Value);
  TStringList* Units() const { return FUnits.get(); }
  // Copies the list; nullptr changes nothing.
  void SetUnits(TStrings* Value);
  int UnitSpace() const { return FUnitSize; }
  void SetUnitSpace(int Value);
  // The text directly followed by the unit.
  String TextAndUnit() const;
  // Splits a value ending in one of the units into text and unit; a value ending in none
  // leaves both as they were.
  void SetTextAndUnit(const String& Value);

  // Fires OnClickBtn with the edit as sender, then offers the units in a pop-up menu.
  void DoClickBtn(TObject* Sender) override;

  // After the user picked a unit other than the one shown.
  TUnitChangeEvent OnUnitChanged;

protected:
  void Dispatch(TMessage& Message) override;

private:
  void PaintUnit(HDC DC);
  String FUnitID;
  std::unique_ptr<TStringList> FUnits;
};
