#pragma once
// The check box of the grid's search panel: drawn with the visual styles when they are active,
// else as the system's check box, with a caption that may end in an ellipsis and a transparent
// mode that shows the parent's background behind it.

#include <memory>

#include "platform/ui/Controls.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/StdCtrls.h"

class TAdvCheckBox : public TCustomControl {
public:
  explicit TAdvCheckBox(TComponent* AOwner);
  ~TAdvCheckBox() override;
  String ClassName() const override { return u"TAdvCheckBox"; }

  // Inverts Checked unless ReadOnly.
  virtual void Toggle();
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Dispatch(TMessage& Message) override;

  TCheckBoxState State() const { return FState; }
  void SetState(TCheckBoxState Value);
  bool Checked() const { return FState == cbChecked; }
  void SetChecked(bool Value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value) { FReadOnly = Value; }
  bool ReturnIsTab() const { return FReturnIsTab; }
  void SetReturnIsTab(bool Value) { FReturnIsTab = Value; }
  // taLeftJustify: the box left of the caption; taRightJustify: the box at the right.
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TTextLayout ButtonVertAlign() const { return FBtnVAlign; }
  void SetButtonVertAlign(TTextLayout Value);
  bool Ellipsis() const { return FEllipsis; }
  void SetEllipsis(bool Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  // Transparent: the background is taken from the parent once and reused.
  bool TransparentChaching() const { return FTransparentCaching; }
  void SetTransparentChaching(bool Value) { FTransparentCaching = Value; }
  bool Down() const { return FDown; }
  void SetDown(bool Value) { FDown = Value; }

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void DoEnter() override;
  void DoExit() override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void WMEraseBkgnd(TWMEraseBkgnd& Message) override;

private:
  // The strip the box is drawn in (20 pixels at its side).
  void InvalidateBox();
  void PaintParentInto(HDC DC);
  bool Inside(int X, int Y) const { return X >= 0 && X <= Width() && Y >= 0 && Y <= Height(); }

  bool FDown = false;
  TCheckBoxState FState = cbUnchecked;
  bool FFocused = false;
  bool FReturnIsTab = false;
  TTextLayout FBtnVAlign = tlTop;
  TAlignment FAlignment = taLeftJustify;
  bool FEllipsis = false;
  bool FIsWinXP = true;
  bool FHot = false;
  bool FReadOnly = false;
  bool FMouseDown = false;
  std::unique_ptr<TBitmap> FBkgBmp;
  bool FBkgCache = false;
  bool FTransparentCaching = false;
  bool FTransparent = false;
};
