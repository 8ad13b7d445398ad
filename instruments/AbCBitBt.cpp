// The coloured latching button.
#include "instruments/AbCBitBt.h"

#include <algorithm>

#include "platform/rtl/ScopeGuard.h"
#include "platform/win/Gdi.h"
#include "platform/win/WinUser.h"

TAbColBitBtn::TAbColBitBtn(TComponent* AOwner)
    : TAbBinGControl(AOwner),
      FButtonBevel(std::make_unique<TAbBtnBevel>()),
      FGlyph(std::make_unique<TBitmap>()),
      FGradBtnFace(std::make_unique<TAbGradSettings>()),
      BmpBackground(std::make_unique<TBitmap>()) {
  FButtonBevel->SetWidth(4);
  FGradBtnFace->SetColorFrom(0xF0F0F0);
  FGradBtnFace->SetColorTo(0x696969);
  FGradBtnFace->SetStyle(gsHorizontal1);
  FGradBtnFace->SetVisible(true);
  SetBounds(Left(), Top(), 65, 33);
  TFontStyles st = Font()->Style();
  st.Include(fsBold);
  Font()->SetStyle(st);
  SetMode(mButton);
  // Built in code, so the settings objects report to the button from the start.
  Loaded();
}

TAbColBitBtn::~TAbColBitBtn() {
  Destroying();
  UnregisterFlashClient(this);
}

void TAbColBitBtn::Loaded() {
  TAbBinGControl::Loaded();
  FGradBtnFace->OnChange = [this](TObject* Sender) { ParamChange(Sender); };
  FButtonBevel->OnChange = [this](TObject* Sender) { ParamChange(Sender); };
}

void TAbColBitBtn::SetCheckedOptions(const TCheckedOptions& v) {
  FCheckedOptions = v;
  StatusChanged();
}
void TAbColBitBtn::SetNumGlyph(int32_t v) {
  if (v > 0) StoreAndShow(FNumGlyph, v);
}
void TAbColBitBtn::SetColorOff(TColor v) { StoreAndShow(FColorOff, v); }
void TAbColBitBtn::SetColorOn(TColor v) { StoreAndShow(FColorOn, v); }
void TAbColBitBtn::SetColorDisabled(TColor v) { StoreAndShow(FColorDisabled, v); }
void TAbColBitBtn::SetOffsetDown(int32_t v) { StoreAndShow(FOffsetDown, v); }
void TAbColBitBtn::SetOffsetX(int32_t v) { StoreAndShow(FOffsetX, v); }
void TAbColBitBtn::SetOffsetY(int32_t v) { StoreAndShow(FOffsetY, v); }
void TAbColBitBtn::SetBeveled(bool v) { StoreAndShow(FBeveled, v); }
void TAbColBitBtn::SetFlat(bool v) { StoreAndShow(FFlat, v); }
void TAbColBitBtn::SetSpacing(int32_t v) { StoreAndShow(FSpacing, v); }
void TAbColBitBtn::SetTextOn(const String& v) { StoreAndShow(FTextOn, v); }
void TAbColBitBtn::SetTextOff(const String& v) { StoreAndShow(FTextOff, v); }
void TAbColBitBtn::SetTextColOn(TColor v) { StoreAndShow(FTextColOn, v); }
void TAbColBitBtn::SetTextColOff(TColor v) { StoreAndShow(FTextColOff, v); }
void TAbColBitBtn::SetTextColDisabled(TColor v) { StoreAndShow(FTextColDisabled, v); }
void TAbColBitBtn::SetText3D(bool v) { StoreAndShow(FText3D, v); }
void TAbColBitBtn::SetPosHorizontal(TPosH v) { StoreAndShow(fPosHorizontal, v); }
void TAbColBitBtn::SetPosVertical(TPosV v) { StoreAndShow(fPosVertical, v); }
void TAbColBitBtn::SetPosGlyph(TPos v) { StoreAndShow(fPosGlyph, v); }
void TAbColBitBtn::SetEnabled(bool v) { StoreAndShow(FEnabled, v); }

void TAbColBitBtn::SetTransparent(bool v) {
  if (v == FTransparent) return;
  FTransparent = v;
  Invalidate();
}

void TAbColBitBtn::SetGlyph(TBitmap* Value) {
  if (Value) FGlyph->Assign(Value);
  else FGlyph = std::make_unique<TBitmap>();
  if (FGlyph->Height() <= 0) FNumGlyph = 1;
  else FGlyph->SetTransparentColor(FGlyph->Canvas()->Pixels(0, FGlyph->Height() - 1));
  StatusChanged();
}

void TAbColBitBtn::ParamChange(TObject*) { Invalidate(); }

void TAbColBitBtn::VisibleChanging() { Invalidate(); }

void TAbColBitBtn::Flash(bool State) {
  FlashStatus = State;
  if (!Painting) StatusChanged();
}

void TAbColBitBtn::CMMouseEnter(TMessage& Message) {
  TAbBinGControl::CMMouseEnter(Message);
  if (FFlat && !MouseInControl && FEnabled && GetCapture() == nullptr) {
    MouseInControl = true;
    StatusChanged();
  }
}

void TAbColBitBtn::CMMouseLeave(TMessage& Message) {
  TAbBinGControl::CMMouseLeave(Message);
  if (FFlat && MouseInControl && FEnabled) {
    MouseInControl = false;
    StatusChanged();
  }
}

void TAbColBitBtn::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (FEnabled) TAbBinGControl::MouseDown(Button, Shift, X, Y);
}

void TAbColBitBtn::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (FEnabled) TAbBinGControl::MouseUp(Button, Shift, X, Y);
}

void TAbColBitBtn::MouseMove(TShiftState Shift, int X, int Y) {
  if (FEnabled) TAbBinGControl::MouseMove(Shift, X, Y);
}

// The class library's click dispatch knows nothing of the button's own enabled flag.
void TAbColBitBtn::Click() {
  if (FEnabled) TAbBinGControl::Click();
}

void TAbColBitBtn::DblClick() {
  if (FEnabled) TAbBinGControl::DblClick();
}

void TAbColBitBtn::StatusChanged() {
  if (Painting) return;
  Painting = true;
  auto state = [&](TFlashOption fo, TCheckedOption co) {
    if (FFlashOptions.Contains(fo) && FChecked && FFlashing) return FlashStatus;
    return FCheckedOptions.Contains(co) && FChecked;
  };
  bool stGlyph = state(foGlyph, coGlyph), stText = state(foText, coText);
  bool stTextCol = state(foTextCol, coTextCol), stBtn = state(foBtnCol, coBtnCol);
  {
    TScopeGuard restore([&] { Painting = false; });
    if (Visible()) Draw(stGlyph, stText, stTextCol, stBtn);
  }
}

void TAbColBitBtn::Paint() {
  if (Painting) return;
  Painting = true;
  TRect r(0, 0, Width(), Height());
  ShrinkRect(r, FButtonBevel->Width());
  if (Visible()) {
    // Snapshot of what the parent painted beneath, with the gradient face on it.
    BmpBackground->SetSize(Width(), Height());
    BitBlt(BmpBackground->Canvas()->Handle(), 0, 0, Width(), Height(), Canvas()->Handle(), 0, 0, SRCCOPY);
    if (!FTransparent && FGradBtnFace->Visible())
      GradientFill(BmpBackground->Canvas(), r, FGradBtnFace->ColorFrom(), FGradBtnFace->Style(),
                   FGradBtnFace->ColorTo());
    Painting = false;
    InPaint = true;
    {
      TScopeGuard restore([&] { InPaint = false; });
      StatusChanged();
    }
  }
  Painting = false;
}

void TAbColBitBtn::Draw(bool stGlyph, bool stText, bool stTextCol, bool stBtn) {
  if (BmpBackground->Width() != Width() || BmpBackground->Height() != Height()) {
    Invalidate();  // no snapshot of the background yet: the next paint draws
    return;
  }
  TBitmap B;
  B.Assign(BmpBackground.get());
  Compose(B.Canvas(), stGlyph, stText, stTextCol, stBtn);
  if (InPaint) Canvas()->Draw(0, 0, &B);
  else DrawOnControl(this, [&](TCanvas* c) { c->Draw(0, 0, &B); });
}

void TAbColBitBtn::Compose(TCanvas* B, bool stGlyph, bool stText, bool stTextCol, bool stBtn) {
  int numGlyph = std::max(FNumGlyph, 1);
  int gw = FGlyph->Width() / numGlyph, gh = FGlyph->Height();
  TRect R(0, 0, Width(), Height());
  String caption = stText ? FTextOn : (!FTextOff.empty() ? FTextOff : FTextOn);
  int dx = FOffsetX, dy = FOffsetY;
  if (MouseIsDown || (FChecked && FCheckedOptions.Contains(coBevel))) {
    dx += FOffsetDown;
    dy += FOffsetDown;
  }
  TColor face = !FEnabled ? FColorDisabled : (stBtn ? FColorOn : FColorOff);
  bool design = false;
  bool bevel = (FBeveled && (!FFlat || design)) || (FFlat && design) || (FFlat && MouseInControl);
  if (bevel) {
    bool up = FCheckedOptions.Contains(coBevel) ? (!FChecked && !MouseIsDown) : !MouseIsDown;
    FButtonBevel->PaintBevel(B, R, up, !(FTransparent || FGradBtnFace->Visible()), face);
  } else if (!(FTransparent || FGradBtnFace->Visible())) {
    B->Brush()->SetStyle(bsSolid);
    B->Brush()->SetColor(face);
    B->Pen()->SetColor(face);
    B->FillRect(R);
  }
  // Layout of glyph and text as one block.
  B->Font()->Assign(Font());
  int TW = 0, th1 = 0;
  MaxItemWidthSep(B, TW, th1, u'|', FTextOn + u"|" + FTextOff);
  int TH = B->TextHeight(u"X") * (CountChar(caption, u'|') + 1);
  int S = (gw < 1 || TW < 1) ? 0 : FSpacing;
  int BW, BH;
  if (fPosGlyph == pLeft || fPosGlyph == pRight) {
    BH = std::max(gh, TH);
    BW = gw + S + TW;
  } else {
    BH = gh + S + TH;
    BW = std::max(gw, TW);
  }
  int X0 = fPosHorizontal == phLeft ? BW / 2 + R.Left
           : fPosHorizontal == phRight ? R.Right - BW / 2
                                       : (R.Right - R.Left) / 2 + R.Left;
  int Y0 = fPosVertical == pvTop ? BH / 2 + R.Top
           : fPosVertical == pvBottom ? R.Bottom - BH / 2
                                      : (R.Bottom - R.Top) / 2 + R.Top;
  int GX, GY, TX, TY, anchor;
  switch (fPosGlyph) {
    case pLeft:
      GX = X0 - BW / 2; GY = Y0 - gh / 2; TX = GX + gw + S; TY = Y0; anchor = 3;
      break;
    case pRight:
      GX = X0 + BW / 2 - gw; GY = Y0 - gh / 2; TX = GX - S; TY = Y0; anchor = 5;
      break;
    case pTop:
      GX = X0 - gw / 2; GY = Y0 - BH / 2; TX = X0; TY = GY + gh + S; anchor = 1;
      break;
    default:
      GX = X0 - gw / 2; GY = Y0 + BH / 2 - gh; TX = X0; TY = GY - S; anchor = 7;
      break;
  }
  GX += dx; GY += dy; TX += dx; TY += dy;
  B->Brush()->SetStyle(bsClear);
  TColor textCol = !FEnabled ? FTextColDisabled : (stTextCol ? FTextColOn : FTextColOff);
  if (!caption.empty())
    TextOutLines3D(B, TX, TY, anchor, caption, FText3D, FButtonBevel->HighlightColTo(), FButtonBevel->ShadowColTo(),
                   textCol, 0);
  if (gw > 0) {
    int index = 0;
    if (FNumGlyph >= 2) index = !FEnabled ? 1 : (stGlyph && FNumGlyph > 2 ? 2 : 0);
    TransparentBlt(B->Handle(), GX, GY, gw, gh, FGlyph->Canvas()->Handle(), index * gw, 0, gw, gh,
                   static_cast<UINT>(ColorToRGB(FGlyph->TransparentColor())));
  }
}
