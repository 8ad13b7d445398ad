#include "instruments/VrButtons.h"

#include <cwctype>

namespace {

TRect Offset(const TRect& r, int d) { return TRect(r.Left + d, r.Top + d, r.Right + d, r.Bottom + d); }

// Fires OnClick as the class library's static click does, bypassing the overridden Click.
void FireClick(TControl* Control) { Control->TControl::Click(); }

}  // namespace

bool IsAccel(Word Key, const String& Text) {
  for (size_t i = 0; i + 1 < Text.size(); ++i) {
    if (Text[i] != u'&') continue;
    if (Text[i + 1] == u'&') {  // "&&" is a literal ampersand
      ++i;
      continue;
    }
    return std::towupper(static_cast<wint_t>(Text[i + 1])) == std::towupper(static_cast<wint_t>(Key));
  }
  return false;
}

// ---- TVrDemoButton

TVrDemoButton::TVrDemoButton(TComponent* AOwner)
    : TVrCustomImageControl(AOwner),
      FBitmap(std::make_unique<TBitmap>()),
      FFontEnter(std::make_unique<TFont>()),
      FFontLeave(std::make_unique<TFont>()),
      FFont3D(std::make_unique<TVrFont3D>()) {
  for (auto [font, colour] : {std::pair{FFontEnter.get(), clRed}, std::pair{FFontLeave.get(), clBlack}}) {
    font->SetName(u"Arial");
    font->SetSize(12);
    font->SetColor(colour);
    font->SetStyle(TFontStyles{fsBold});
    font->OnChange = [this](TObject* s) { Changed(s); };
  }
  FBitmap->OnChange = [this](TObject* s) { Changed(s); };
  FFont3D->OnChange = [this](TObject* s) { Changed(s); };
  TControlStyle style = ControlStyle();
  style.Include(csOpaque);
  style.Exclude(csDoubleClicks);
  SetControlStyle(style);
  SetBounds(Left(), Top(), 150, 25);
  SetColor(clBtnFace);
  SetParentColor(false);
}

TVrDemoButton::~TVrDemoButton() = default;

void TVrDemoButton::SetBevelWidth(TVrByteInt Value) {
  if (Value == FBevelWidth) return;
  FBevelWidth = Value;
  UpdateView();
}

void TVrDemoButton::SetOutlineWidth(int32_t Value) {
  if (Value == FOutlineWidth) return;
  FOutlineWidth = Value;
  UpdateView();
}

void TVrDemoButton::SetOutlineColor(TColor Value) {
  if (Value == FOutlineColor) return;
  FOutlineColor = Value;
  UpdateView();
}

void TVrDemoButton::SetShadowColor(TColor Value) {
  if (Value == FShadowColor) return;
  FShadowColor = Value;
  UpdateView();
}

void TVrDemoButton::SetHighlightColor(TColor Value) {
  if (Value == FHighlightColor) return;
  FHighlightColor = Value;
  UpdateView();
}

void TVrDemoButton::SetFocusColor(TColor Value) {
  if (Value == FFocusColor) return;
  FFocusColor = Value;
  UpdateView();
}

void TVrDemoButton::SetTextAlignment(TVrTextAlignment Value) {
  if (Value == FTextAlignment) return;
  FTextAlignment = Value;
  UpdateView();
}

void TVrDemoButton::SetDisabledTextColor(TColor Value) {
  if (Value == FDisabledTextColor) return;
  FDisabledTextColor = Value;
  UpdateView();
}

void TVrDemoButton::SetFlat(bool Value) {
  if (Value == FFlat) return;
  FFlat = Value;
  UpdateView();
}

void TVrDemoButton::Paint() {
  ClearBitmapImage();
  TCanvas* canvas = ImageCanvas();
  TRect r = ClientRect();
  if (FDown) r = Offset(r, 1);
  if (!FBitmap->Empty()) TileBitmap(canvas, r, FBitmap.get());

  r = ClientRect();
  const TColor outline = FFocused ? FFocusColor : FOutlineColor;
  Frame3D(canvas, r, outline, outline, FOutlineWidth);
  if (FDown)
    Frame3D(canvas, r, FShadowColor, FHighlightColor, FBevelWidth);
  else if (!FFlat || FHasMouse)
    Frame3D(canvas, r, FHighlightColor, FShadowColor, FBevelWidth);
  else
    r = TRect(r.Left + FBevelWidth, r.Top + FBevelWidth, r.Right - FBevelWidth, r.Bottom - FBevelWidth);

  canvas->Font()->Assign(FHasMouse && Enabled() ? FFontEnter.get() : FFontLeave.get());
  if (!Enabled()) canvas->Font()->SetColor(FDisabledTextColor);
  canvas->Brush()->SetStyle(bsClear);
  if (FDown) r = Offset(r, 1);
  FFont3D->Paint(canvas, r, VrTextAlignmentFlags[FTextAlignment] | DT_SINGLELINE, Caption());
  TVrCustomImageControl::Paint();
}

void TVrDemoButton::ButtonDown(int X, int Y) {
  if (!ClientRect().Contains(TPoint(X, Y))) return;
  FPressed = true;
  FDown = true;
  SetMouseCapture(true);
  if (TabStop() && CanFocus()) SetFocus();
  UpdateView();
}

void TVrDemoButton::WMLButtonDown(TWMMouse& Message) {
  // Without csDoubleClicks the class library turns a double click into this press too.
  TVrCustomImageControl::WMLButtonDown(Message);
  ButtonDown(Message.XPos(), Message.YPos());
}

void TVrDemoButton::WMLButtonUp(TWMMouse& Message) {
  SetMouseCapture(false);
  const bool click = FPressed && FDown;
  FDown = false;
  FPressed = false;
  if (click) {
    UpdateView();
    FireClick(this);
  }
  TVrCustomImageControl::WMLButtonUp(Message);
}

void TVrDemoButton::WMMouseMove(TWMMouse& Message) {
  TVrCustomImageControl::WMMouseMove(Message);
  if (!FPressed) return;
  const bool inside = ClientRect().Contains(Message.Pos());
  if (inside != FDown) {
    FDown = inside;
    UpdateView();
  }
}

void TVrDemoButton::KeyDown(Word& Key, TShiftState Shift) {
  TVrCustomImageControl::KeyDown(Key, Shift);
  if (Key == VK_SPACE && !FDown) ButtonDown(0, 0);
}

void TVrDemoButton::KeyUp(Word& Key, TShiftState Shift) {
  TVrCustomImageControl::KeyUp(Key, Shift);
  if (Key != VK_SPACE) return;
  SetMouseCapture(false);
  if (FPressed && FDown) {
    FDown = false;
    UpdateView();
    FireClick(this);
  }
  FPressed = false;
}

void TVrDemoButton::CMDialogChar(TWMKey& Message) {
  if (Enabled() && IsAccel(Message.CharCode(), Caption())) {
    FireClick(this);
    Message.SetResult(1);
    return;
  }
  TVrCustomImageControl::CMDialogChar(Message);
}

void TVrDemoButton::CMMouseEnter(TMessage& Message) {
  TVrCustomImageControl::CMMouseEnter(Message);
  FHasMouse = true;
  UpdateView();
}

void TVrDemoButton::CMMouseLeave(TMessage& Message) {
  TVrCustomImageControl::CMMouseLeave(Message);
  FHasMouse = false;
  UpdateView();
}

void TVrDemoButton::SetFocusedState(bool Value) {
  if (Value == FFocused) return;
  FFocused = Value;
  UpdateView();
}

void TVrDemoButton::CMFocusChanged(TMessage& Message) {
  SetFocusedState(reinterpret_cast<TWinControl*>(Message.LParam) == this);
  TVrCustomImageControl::CMFocusChanged(Message);
}

void TVrDemoButton::WMSetFocus(TWMSetFocus& Message) {
  TVrCustomImageControl::WMSetFocus(Message);
  SetFocusedState(true);
}

void TVrDemoButton::WMKillFocus(TWMKillFocus& Message) {
  TVrCustomImageControl::WMKillFocus(Message);
  SetFocusedState(false);
}

void TVrDemoButton::CMEnabledChanged(TMessage& Message) {
  TVrCustomImageControl::CMEnabledChanged(Message);
  UpdateView();
}

void TVrDemoButton::CMTextChanged(TMessage& Message) {
  TVrCustomImageControl::CMTextChanged(Message);
  UpdateView();
}

// ---- TVrPowerButton

TVrPowerButton::TVrPowerButton(TComponent* AOwner)
    : TVrCustomImageControl(AOwner), FPalette(std::make_unique<TVrPalette>()) {
  FPalette->OnChange = [this](TObject*) { UpdateView(); };
  SetControlStyle(TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csReplicatable});
  SetBounds(Left(), Top(), 125, 25);
  SetColor(clBtnFace);
  SetParentColor(false);
  SetTabStop(false);
}

TVrPowerButton::~TVrPowerButton() = default;

void TVrPowerButton::SetActive(bool Value) {
  if (Value == FActive) return;
  FActive = Value;
  UpdateView();
}

void TVrPowerButton::SetLedWidth(TVrMaxInt Value) {
  if (Value == FLedWidth || Value < 1) return;
  FLedWidth = Value;
  CalcLayout(true);
}

void TVrPowerButton::SetLedHeight(TVrMaxInt Value) {
  if (Value == FLedHeight || Value < 1) return;
  FLedHeight = Value;
  CalcLayout(true);
}

void TVrPowerButton::SetBevelWidth(TVrByteInt Value) {
  if (Value == FBevelWidth) return;
  FBevelWidth = Value;
  CalcLayout(true);  // the lamp and caption sit inside bevel and outline
}

void TVrPowerButton::SetHighlightColor(TColor Value) {
  if (Value == FHighlightColor) return;
  FHighlightColor = Value;
  UpdateView();
}

void TVrPowerButton::SetShadowColor(TColor Value) {
  if (Value == FShadowColor) return;
  FShadowColor = Value;
  UpdateView();
}

void TVrPowerButton::SetOutlineColor(TColor Value) {
  if (Value == FOutlineColor) return;
  FOutlineColor = Value;
  UpdateView();
}

void TVrPowerButton::SetOutlineWidth(TVrByteInt Value) {
  if (Value == FOutlineWidth) return;
  FOutlineWidth = Value;
  CalcLayout(true);  // the lamp and caption sit inside bevel and outline
}

void TVrPowerButton::SetSpacing(int32_t Value) {
  if (Value == FSpacing) return;
  FSpacing = Value;
  CalcLayout(true);
}

void TVrPowerButton::SetMargin(int32_t Value) {
  if (Value == FMargin) return;
  FMargin = Value;
  CalcLayout(true);
}

void TVrPowerButton::SetLayout(TVrImageTextLayout Value) {
  if (Value == FLayout) return;
  FLayout = Value;
  CalcLayout(true);
}

void TVrPowerButton::SetFocusColor(TColor Value) {
  if (Value == FFocusColor) return;
  FFocusColor = Value;
  UpdateView();
}

void TVrPowerButton::CalcLayout(bool Redraw) {
  // Measured on a scratch bitmap: the control's own canvas has a device only while painting.
  TBitmap scratch(1, 1);
  TCanvas* canvas = scratch.Canvas();
  canvas->Font()->Assign(Font());
  const int inset = FBevelWidth + FOutlineWidth;
  const TRect client = ClientRect();
  const TRect r(client.Left + inset, client.Top + inset, client.Right - inset, client.Bottom - inset);
  TPoint imagePos;
  CalcImageTextLayout(canvas, r, FTextBounds, imagePos, TPoint(FLedWidth, FLedHeight), FSpacing, FMargin, FLayout,
                      Caption());
  FImageRect = Bounds(imagePos.X, imagePos.Y, FLedWidth, FLedHeight);
  if (Redraw) UpdateView();
}

void TVrPowerButton::DrawLed(TCanvas* Canvas) {
  const TColor colour = Enabled() ? FPalette->GetColors(FActive ? 1 : 0) : Color();
  TRect r = FImageRect;
  Frame3D(Canvas, r, FShadowColor, FHighlightColor, 1);
  Frame3D(Canvas, r, clBlack, clBlack, 1);
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(colour);
  Canvas->FillRect(r);
}

void TVrPowerButton::Paint() {
  ClearBitmapImage();
  TCanvas* canvas = ImageCanvas();
  TRect r = ClientRect();
  const TColor outline = FFocused ? FFocusColor : FOutlineColor;
  Frame3D(canvas, r, outline, outline, FOutlineWidth);
  if (FPressed) {
    r = ClientRect();
    Frame3D(canvas, r, FOutlineColor, FHighlightColor, FOutlineWidth);
    Frame3D(canvas, r, FShadowColor, FOutlineColor, FBevelWidth);
  } else {
    Frame3D(canvas, r, FHighlightColor, FShadowColor, FBevelWidth);
  }
  DrawLed(canvas);
  canvas->Font()->Assign(Font());
  canvas->Brush()->SetStyle(bsClear);
  DrawCaptionText(canvas, Caption(), FTextBounds, Enabled());
  TVrCustomImageControl::Paint();
}

void TVrPowerButton::Resize() {
  TVrCustomImageControl::Resize();
  if (FPalette) CalcLayout(true);
}

void TVrPowerButton::WMSize(TWMSize& Message) {
  TVrCustomImageControl::WMSize(Message);
  CalcLayout(true);
}

void TVrPowerButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    FDown = true;
    FPressed = true;
    UpdateView();
    if (TabStop() && CanFocus()) SetFocus();
  }
  TVrCustomImageControl::MouseDown(Button, Shift, X, Y);
}

void TVrPowerButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  // Only the release of the left button that pressed the button ends the press; another
  // button released meanwhile changes nothing.
  bool click = false;
  if (Button == mbLeft && FDown) {
    FDown = false;
    if (FPressed) {
      FPressed = false;
      SetActive(!FActive);
      click = true;
    }
  }
  TVrCustomImageControl::MouseUp(Button, Shift, X, Y);
  if (click) FireClick(this);
}

void TVrPowerButton::DoMouseEnter() {
  if (FDown) FPressed = true;
  UpdateView();
  TVrCustomImageControl::DoMouseEnter();
}

void TVrPowerButton::DoMouseLeave() {
  if (FDown) FPressed = false;
  UpdateView();
  TVrCustomImageControl::DoMouseLeave();
}

void TVrPowerButton::DoFontChanged() {
  TVrCustomImageControl::DoFontChanged();
  if (FPalette) CalcLayout(true);
}

void TVrPowerButton::KeyDown(Word& Key, TShiftState Shift) {
  TVrCustomImageControl::KeyDown(Key, Shift);
  if (Key == VK_SPACE) {
    FSpaceDown = true;
    FPressed = true;
    UpdateView();
  }
}

void TVrPowerButton::KeyUp(Word& Key, TShiftState Shift) {
  TVrCustomImageControl::KeyUp(Key, Shift);
  if (Key != VK_SPACE) return;
  SetMouseCapture(false);
  FPressed = false;
  // A release whose press this button never saw (the focus arrived with the key held) does nothing.
  if (!FSpaceDown) {
    UpdateView();
    return;
  }
  FSpaceDown = false;
  SetActive(!FActive);
  FireClick(this);
}

void TVrPowerButton::CMDialogChar(TWMKey& Message) {
  if (Enabled() && IsAccel(Message.CharCode(), Caption())) {
    FireClick(this);
    Message.SetResult(1);
    return;
  }
  TVrCustomImageControl::CMDialogChar(Message);
}

void TVrPowerButton::SetFocusedState(bool Value) {
  if (Value == FFocused) return;
  FFocused = Value;
  UpdateView();
}

void TVrPowerButton::CMFocusChanged(TMessage& Message) {
  SetFocusedState(reinterpret_cast<TWinControl*>(Message.LParam) == this);
  TVrCustomImageControl::CMFocusChanged(Message);
}

void TVrPowerButton::WMSetFocus(TWMSetFocus& Message) {
  TVrCustomImageControl::WMSetFocus(Message);
  SetFocusedState(true);
}

void TVrPowerButton::WMKillFocus(TWMKillFocus& Message) {
  TVrCustomImageControl::WMKillFocus(Message);
  SetFocusedState(false);
  // A space press that loses the focus before its release is abandoned.
  if (FSpaceDown) {
    FSpaceDown = false;
    FPressed = FDown;
    UpdateView();
  }
}

void TVrPowerButton::CMEnabledChanged(TMessage& Message) {
  TVrCustomImageControl::CMEnabledChanged(Message);
  UpdateView();
}

void TVrPowerButton::CMTextChanged(TMessage& Message) {
  TVrCustomImageControl::CMTextChanged(Message);
  if (HandleAllocated()) CalcLayout(true);
}
