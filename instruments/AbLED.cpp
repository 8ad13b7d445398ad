// The LED indicator.
#include "instruments/AbLED.h"

#include <algorithm>

TAbLED::TAbLED(TComponent* AOwner) : TAbBinGControl(AOwner), FLED(std::make_unique<TLED>()) {
  FLED->OnChange = [this](TObject* Sender) { ParamChange(Sender); };
  SetBounds(Left(), Top(), 73, 33);
}

TAbLED::~TAbLED() {
  Destroying();
  UnregisterFlashClient(this);
}

void TAbLED::SetName(const String& NewName) {
  bool follow = Caption() == Name();
  TAbBinGControl::SetName(NewName);
  if (follow) SetCaption(NewName);
}

void TAbLED::SetLED_Position(TLEDPos Value) {
  if (Value == FLED_Position) return;
  FLED_Position = Value;
  ParamChange(this);
}

void TAbLED::SetSpacing(int32_t Value) {
  if (Value == FSpacing) return;
  FSpacing = Value;
  ParamChange(this);
}

void TAbLED::ParamChange(TObject*) { Invalidate(); }

void TAbLED::StatusChanged() {
  FFlashState = true;
  if (!Visible()) return;
  DrawOnControl(this, [&](TCanvas* c) { FLED->Draw(c, FChecked); });
}

void TAbLED::Flash(bool State) {
  FFlashState = State;
  if (Painting || !Visible()) return;
  DrawOnControl(this, [&](TCanvas* c) { FLED->Draw(c, State); });
}

void TAbLED::Paint() {
  if (Painting) return;
  Painting = true;
  TCanvas* c = Canvas();
  c->Font()->Assign(Font());
  int lw = FLED->Width(), lh = FLED->Height();
  if (FLED->Shape() == sRound) lw = lh = std::max(lw, lh);
  TRect r(0, 0, lw, lh);
  c->Brush()->SetStyle(bsClear);
  int W = Width(), H = Height();
  String text = Caption();
  switch (FLED_Position) {
    case TLEDPos::lpLeft:
      r = TRect(0, H / 2 - lh / 2, lw, H / 2 - lh / 2 + lh);
      TextOutLines(c, r.Right + FSpacing, H / 2, 3, text, 0);
      break;
    case TLEDPos::lpRight:
      r = TRect(W - lw, H / 2 - lh / 2, W, H / 2 - lh / 2 + lh);
      TextOutLines(c, r.Left - FSpacing, H / 2, 5, text, 0);
      break;
    case TLEDPos::lpTop:
      r = TRect(W / 2 - lw / 2, 0, W / 2 - lw / 2 + lw, lh);
      TextOutLines(c, W / 2, r.Bottom + FSpacing, 1, text, 0);
      break;
    case TLEDPos::lpBottom:
      r = TRect(W / 2 - lw / 2, H - lh, W / 2 - lw / 2 + lw, H);
      TextOutLines(c, W / 2, r.Top - FSpacing, 7, text, 0);
      break;
  }
  FLED->Rect = r;
  c->Brush()->SetStyle(bsSolid);
  FLED->Draw(c, LampOn());
  Painting = false;
}
