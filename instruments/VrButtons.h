#pragma once
// The Vr push buttons: the command button (caption in FontEnter under the mouse,
// FontLeave otherwise; raised bevel that sinks while pressed) and the lamp button
// (a toggle with a small rectangular lamp beside its caption). Both paint into an
// off-screen image and fire OnClick themselves, once per click.

#include <memory>

#include "instruments/VrControls.h"

class TVrDemoButton : public TVrCustomImageControl {
public:
  explicit TVrDemoButton(TComponent* AOwner);
  ~TVrDemoButton() override;
  String ClassName() const override { return u"TVrDemoButton"; }

  // A tiled background picture (empty: none).
  TBitmap* Bitmap() const { return FBitmap.get(); }
  void SetBitmap(TBitmap* Value) { FBitmap->Assign(Value); }
  TFont* FontEnter() const { return FFontEnter.get(); }
  void SetFontEnter(TFont* Value) { FFontEnter->Assign(Value); }
  TFont* FontLeave() const { return FFontLeave.get(); }
  void SetFontLeave(TFont* Value) { FFontLeave->Assign(Value); }
  TVrFont3D* Font3D() const { return FFont3D.get(); }
  void SetFont3D(TVrFont3D* Value) { FFont3D->Assign(Value); }
  TVrByteInt BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(TVrByteInt Value);
  int32_t OutlineWidth() const { return FOutlineWidth; }
  void SetOutlineWidth(int32_t Value);
  TColor OutlineColor() const { return FOutlineColor; }
  void SetOutlineColor(TColor Value);
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor Value);
  TColor HighlightColor() const { return FHighlightColor; }
  void SetHighlightColor(TColor Value);
  TColor FocusColor() const { return FFocusColor; }
  void SetFocusColor(TColor Value);
  TVrTextAlignment TextAlignment() const { return FTextAlignment; }
  void SetTextAlignment(TVrTextAlignment Value);
  TColor DisabledTextColor() const { return FDisabledTextColor; }
  void SetDisabledTextColor(TColor Value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);

  // Drawn pressed; a press (mouse or space bar) in progress; the mouse is over the button.
  bool Down() const { return FDown; }
  bool Pressed() const { return FPressed; }
  bool HasMouse() const { return FHasMouse; }
  bool IsFocused() const { return FFocused; }

  // The class library's click dispatch is replaced: OnClick is fired by the button itself.
  void Click() override {}

protected:
  void Paint() override;
  void ButtonDown(int X, int Y);
  void WMLButtonDown(TWMMouse& Message) override;
  void WMLButtonUp(TWMMouse& Message) override;
  void WMMouseMove(TWMMouse& Message) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void CMDialogChar(TWMKey& Message) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void CMFocusChanged(TMessage& Message) override;
  void WMSetFocus(TWMSetFocus& Message) override;
  void WMKillFocus(TWMKillFocus& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;

private:
  void SetFocusedState(bool Value);
  void Changed(TObject*) { UpdateView(); }

  std::unique_ptr<TBitmap> FBitmap;
  std::unique_ptr<TFont> FFontEnter;
  std::unique_ptr<TFont> FFontLeave;
  TVrByteInt FBevelWidth = 2;
  int32_t FOutlineWidth = 1;
  TColor FOutlineColor = clBlack;
  TColor FShadowColor = clBtnShadow;
  TColor FHighlightColor = clBtnHighlight;
  TColor FFocusColor = clBlue;
  TVrTextAlignment FTextAlignment = vtaCenter;
  TColor FDisabledTextColor = clInactiveCaption;
  std::unique_ptr<TVrFont3D> FFont3D;
  bool FFlat = false;
  bool FHasMouse = false;
  bool FFocused = false;
  bool FDown = false;
  bool FPressed = false;
};

class TVrPowerButton : public TVrCustomImageControl {
public:
  explicit TVrPowerButton(TComponent* AOwner);
  ~TVrPowerButton() override;
  String ClassName() const override { return u"TVrPowerButton"; }

  bool Active() const { return FActive; }
  void SetActive(bool Value);
  TVrMaxInt LedWidth() const { return FLedWidth; }
  void SetLedWidth(TVrMaxInt Value);
  TVrMaxInt LedHeight() const { return FLedHeight; }
  void SetLedHeight(TVrMaxInt Value);
  TVrPalette* Palette() const { return FPalette.get(); }
  void SetPalette(TVrPalette* Value) { FPalette->Assign(Value); }
  TVrByteInt BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(TVrByteInt Value);
  TColor HighlightColor() const { return FHighlightColor; }
  void SetHighlightColor(TColor Value);
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor Value);
  TColor OutlineColor() const { return FOutlineColor; }
  void SetOutlineColor(TColor Value);
  TVrByteInt OutlineWidth() const { return FOutlineWidth; }
  void SetOutlineWidth(TVrByteInt Value);
  // Pixels between lamp and caption; -1 = automatic.
  int32_t Spacing() const { return FSpacing; }
  void SetSpacing(int32_t Value);
  // Pixels from the edge to the lamp; -1 = centre lamp and caption.
  int32_t Margin() const { return FMargin; }
  void SetMargin(int32_t Value);
  TVrImageTextLayout Layout() const { return FLayout; }
  void SetLayout(TVrImageTextLayout Value);
  TColor FocusColor() const { return FFocusColor; }
  void SetFocusColor(TColor Value);

  // Where the lamp and the caption go, from the last layout.
  const TRect& ImageRect() const { return FImageRect; }
  const TRect& TextBounds() const { return FTextBounds; }
  bool Down() const { return FDown; }
  bool Pressed() const { return FPressed; }
  bool IsFocused() const { return FFocused; }

  void Click() override {}

protected:
  void CalcLayout(bool Redraw);
  void DrawLed(TCanvas* Canvas);
  void Paint() override;
  void Resize() override;
  void WMSize(TWMSize& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DoMouseEnter() override;
  void DoMouseLeave() override;
  void DoFontChanged() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void CMDialogChar(TWMKey& Message) override;
  void CMFocusChanged(TMessage& Message) override;
  void WMSetFocus(TWMSetFocus& Message) override;
  void WMKillFocus(TWMKillFocus& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;

private:
  void SetFocusedState(bool Value);

  bool FActive = false;
  TVrMaxInt FLedWidth = 12;
  TVrMaxInt FLedHeight = 12;
  std::unique_ptr<TVrPalette> FPalette;
  TVrByteInt FBevelWidth = 2;
  TColor FHighlightColor = clBtnHighlight;
  TColor FShadowColor = clBtnShadow;
  TColor FOutlineColor = clBlack;
  TVrByteInt FOutlineWidth = 1;
  int32_t FSpacing = 5;
  int32_t FMargin = -1;
  TVrImageTextLayout FLayout = ImageLeft;
  bool FFocused = false;
  TColor FFocusColor = clBlue;
  bool FDown = false;
  bool FPressed = false;
  bool FSpaceDown = false;  // a space press on this button awaits its release
  TRect FTextBounds;
  TRect FImageRect;
};

// True when Key is the '&'-marked accelerator of Text (letters compared without case).
bool IsAccel(Word Key, const String& Text);
