#pragma once
// The flat button of the grid's search panel: a push or check button with a glyph per state,
// gradient colours, rounded frames, an optional drop-down part, exclusive groups and seven
// colour presets.

#include <memory>

#include "platform/ui/Buttons.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Graphics.h"

class TPopupMenu;

enum TAdvGridButtonStyle : uint8_t { tasButton, tasCheck };

class TAdvGridButton : public TGraphicControl {
public:
  explicit TAdvGridButton(TComponent* AOwner);
  ~TAdvGridButton() override;
  String ClassName() const override { return u"TAdvGridButton"; }

  void Click() override;
  void Dispatch(TMessage& Message) override;

  // An ungrouped push button is never down; a down button of a group without AllowAllUp
  // stays down until another of its group goes down.
  bool Down() const { return FDown; }
  void SetDown(bool Value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value);
  TAdvGridButtonStyle Style() const { return FStyle; }
  void SetStyle(TAdvGridButtonStyle Value);
  TButtonState State() const { return FState; }
  bool MouseInControl() const { return FMouseInControl; }

  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout Value);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int Value);
  // -1 or more; other values are ignored.
  int Margin() const { return FMargin; }
  void SetMargin(int Value);
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);
  bool Rounded() const { return FRounded; }
  void SetRounded(bool Value);
  bool DropDownButton() const { return FDropDownButton; }
  void SetDropDownButton(bool Value);
  TPopupMenu* DropDownMenu() const { return FDropDownMenu; }
  void SetDropDownMenu(TPopupMenu* Value);
  bool Shaded() const { return FShaded; }
  void SetShaded(bool Value);
  bool AutoXPStyle() const { return FAutoXPStyle; }
  void SetAutoXPStyle(bool Value) { FAutoXPStyle = Value; }
  bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
  void SetAutoThemeAdapt(bool Value);

  TColor ColorTo() const { return FColorTo; }
  void SetColorTo(TColor Value);
  TColor ColorHot() const { return FColorHot; }
  void SetColorHot(TColor Value) { FColorHot = Value; }
  TColor ColorHotTo() const { return FColorHotTo; }
  void SetColorHotTo(TColor Value) { FColorHotTo = Value; }
  TColor ColorDown() const { return FColorDown; }
  void SetColorDown(TColor Value) { FColorDown = Value; }
  TColor ColorDownTo() const { return FColorDownTo; }
  void SetColorDownTo(TColor Value) { FColorDownTo = Value; }
  TColor ColorChecked() const { return FColorChecked; }
  void SetColorChecked(TColor Value);
  TColor ColorCheckedTo() const { return FColorCheckedTo; }
  void SetColorCheckedTo(TColor Value);
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor Value);
  TColor BorderDownColor() const { return FBorderDownColor; }
  void SetBorderDownColor(TColor Value) { FBorderDownColor = Value; }
  TColor BorderHotColor() const { return FBorderHotColor; }
  void SetBorderHotColor(TColor Value) { FBorderHotColor = Value; }

  // The glyphs are copies. A glyph without a disabled one gets one made from it in grey.
  TBitmap* Glyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  TBitmap* GlyphHot() const { return FGlyphHot.get(); }
  void SetGlyphHot(TBitmap* Value) { FGlyphHot->Assign(Value); }
  TBitmap* GlyphDown() const { return FGlyphDown.get(); }
  void SetGlyphDown(TBitmap* Value) { FGlyphDown->Assign(Value); }
  TBitmap* GlyphDisabled() const { return FGlyphDisabled.get(); }
  void SetGlyphDisabled(TBitmap* Value) { FGlyphDisabled->Assign(Value); }

  // The colour preset last chosen (0 at creation); 0 to 6 set colours, others only store.
  int Look() const { return FLook; }
  void SetLook(int Value);

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnDropDown;

protected:
  void Paint() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DblClick() override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;

private:
  void UpdateExclusive();
  void UpdateHot();
  void ThemeAdapt();
  void MakeShade();
  void MakeDisabledGlyph();
  // The state a drag over the button shows at (X, Y).
  TButtonState DragState(int X, int Y) const;
  bool Inside(int X, int Y) const;
  void PaintFace(TCanvas* C, TRect& R, bool Hot);
  void PaintContent(TCanvas* C, const TRect& R, TButtonState DrawState, TPoint Offset);

  bool FIsComCtl6 = true;
  int FGroupIndex = 0;
  std::unique_ptr<TBitmap> FGlyph;
  bool FDown = false;
  bool FDragging = false;
  bool FAllowAllUp = false;
  TButtonLayout FLayout = blGlyphLeft;
  int FSpacing = 4;
  int FMargin = -1;
  bool FFlat = true;
  bool FMouseInControl = false;
  TColor FColorTo = clNone;
  TColor FColorHot = TColor(0x00CAC7C7);
  TColor FColorHotTo = clNone;
  TColor FColorDown = TColor(0x00D8D3D2);
  TColor FColorDownTo = clNone;
  TColor FBorderColor = clNone;
  TColor FBorderDownColor = clNone;
  TColor FBorderHotColor = clNone;
  std::unique_ptr<TBitmap> FGlyphDisabled;
  std::unique_ptr<TBitmap> FGlyphHot;
  std::unique_ptr<TBitmap> FGlyphDown;
  std::unique_ptr<TBitmap> FGlyphShade;
  bool FShaded = true;
  TColor FColorChecked = TColor(0x00808080);
  TColor FColorCheckedTo = clNone;
  TAdvGridButtonStyle FStyle = tasButton;
  int FLook = 0;
  bool FRounded = false;
  bool FDropDownButton = false;
  bool FAutoThemeAdapt = false;
  bool FAutoXPStyle = false;
  TPopupMenu* FDropDownMenu = nullptr;
  bool FShowCaption = true;
  TButtonState FState = bsUp;
};

// Bands of colour from FromColor to ToColor across Rect (Steps bands, 0 counting as 1), then a
// frame in BorderColor unless it is clNone.
void DrawButtonGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal, TRect Rect, int Steps,
                        TColor BorderColor);
