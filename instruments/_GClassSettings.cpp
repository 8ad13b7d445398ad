// Settings objects of the instrument controls.
#include "instruments/_GClass.h"

#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Gdi.h"

namespace {
// Stores v in field and notifies when it differs.
template <typename T, typename S>
void Store(S* self, T& field, const T& v) {
  if (field == v) return;
  field = v;
  self->Change();
}
}  // namespace

void TAbPersistent::Change() {
  if (OnChange) OnChange(this);
}

void TAbPersistent::ChangeObject(TObject* Sender) {
  if (OnChange) OnChange(Sender);
}

// ---- TAbOffset

void TAbOffset::SetTop(int32_t v) { Store(this, FTop, v); }
void TAbOffset::SetLeft(int32_t v) { Store(this, FLeft, v); }
void TAbOffset::SetRight(int32_t v) { Store(this, FRight, v); }
void TAbOffset::SetBottom(int32_t v) { Store(this, FBottom, v); }

void TAbOffset::Write(int32_t oTop, int32_t oLeft, int32_t oRight, int32_t oBottom) {
  FTop = oTop;
  FLeft = oLeft;
  FRight = oRight;
  FBottom = oBottom;
}

TRect TAbOffset::SetOffset(TRect r) const {
  return TRect(r.Left + FLeft, r.Top + FTop, r.Right - FRight, r.Bottom - FBottom);
}

void TAbOffset::AssignTo(TPersistent* Dest) {
  if (auto* d = dynamic_cast<TAbOffset*>(Dest)) {
    d->Write(FTop, FLeft, FRight, FBottom);
    d->Change();
    return;
  }
  TAbPersistent::AssignTo(Dest);
}

// ---- TLED

void TLED::SetShape(TLEDShape v) { Store(this, FShape, v); }
void TLED::SetColorOn(TColor v) { Store(this, FColorOn, v); }
void TLED::SetColorOff(TColor v) { Store(this, FColorOff, v); }
void TLED::SetWidth(int32_t v) {
  if (v >= 4 && v <= 80) Store(this, FWidth, v);
}
void TLED::SetHeight(int32_t v) {
  if (v >= 4 && v <= 80) Store(this, FHeight, v);
}

void TLED::Draw(TCanvas* can, bool Checked) const {
  DrawLEDShape(can, Rect, FShape, Checked ? FColorOn : FColorOff, clBtnShadow);
}

// ---- TAbBtnBevel

void TAbBtnBevel::SetShadowColFrom(TColor v) { Store(this, FShadowColFrom, v); }
void TAbBtnBevel::SetShadowColTo(TColor v) { Store(this, FShadowColTo, v); }
void TAbBtnBevel::SetHighlightColFrom(TColor v) { Store(this, FHighlightColFrom, v); }
void TAbBtnBevel::SetHighlightColTo(TColor v) { Store(this, FHighlightColTo, v); }
void TAbBtnBevel::SetWidth(int32_t v) {
  if (v >= 0) Store(this, FWidth, v);
}

namespace {
// The frame of the button and face bevels: Width rings blended from the outside in.
void PaintRings(TCanvas* can, TRect& r, bool up, bool filled, TColor Col, int Width, TColor shFrom, TColor shTo,
                TColor hiFrom, TColor hiTo) {
  if (filled) {
    can->Pen()->SetWidth(1);
    can->Pen()->SetColor(Col);
    can->Brush()->SetColor(Col);
    can->Brush()->SetStyle(bsSolid);
    can->Rectangle(r);
  }
  for (int k = 1; k <= Width; ++k) {
    TColor tl, br;
    if (up) {
      tl = BlendColor(hiFrom, hiTo, Width, k);
      br = BlendColor(shFrom, shTo, Width, k);
    } else {
      tl = BlendColor(shTo, shFrom, Width, k);
      br = BlendColor(hiTo, hiFrom, Width, k);
    }
    DrawFrame3D(can, r, tl, br, 1);
  }
}
}  // namespace

void TAbBtnBevel::PaintBevel(TCanvas* can, TRect& r, bool up, bool filled, TColor Col) const {
  PaintRings(can, r, up, filled, Col, FWidth, FShadowColFrom, FShadowColTo, FHighlightColFrom, FHighlightColTo);
}

void TAbBtnBevel::AssignTo(TPersistent* Dest) {
  if (auto* d = dynamic_cast<TAbBtnBevel*>(Dest)) {
    d->FShadowColFrom = FShadowColFrom;
    d->FShadowColTo = FShadowColTo;
    d->FHighlightColFrom = FHighlightColFrom;
    d->FHighlightColTo = FHighlightColTo;
    d->FWidth = FWidth;
    d->Change();
    return;
  }
  TAbPersistent::AssignTo(Dest);
}

// ---- TAbGradSettings

void TAbGradSettings::SetColorFrom(TColor v) { Store(this, FColorFrom, v); }
void TAbGradSettings::SetColorTo(TColor v) { Store(this, FColorTo, v); }
void TAbGradSettings::SetVisible(bool v) { Store(this, FVisible, v); }
void TAbGradSettings::SetStyle(TGradientStyle v) { Store(this, FStyle, v); }

void TAbGradSettings::AssignTo(TPersistent* Dest) {
  if (auto* d = dynamic_cast<TAbGradSettings*>(Dest)) {
    d->SetColorFrom(FColorFrom);
    d->SetColorTo(FColorTo);
    d->SetVisible(FVisible);
    d->SetStyle(FStyle);
    d->Change();
    return;
  }
  TAbPersistent::AssignTo(Dest);
}

// ---- TAbSBevel

TAbSBevel::TAbSBevel() : FOffset(std::make_unique<TAbOffset>()), FSurfaceGrad(std::make_unique<TAbGradSettings>()) {
  FOffset->OnChange = [this](TObject* Sender) { ParamChange(Sender); };
  FSurfaceGrad->OnChange = [this](TObject* Sender) { ParamChange(Sender); };
}

TAbSBevel::~TAbSBevel() = default;

void TAbSBevel::SetStyle(TBevelStyle v) { Store(this, FStyle, v); }
void TAbSBevel::SetSpacing(int32_t v) { Store(this, FSpacing, v); }
void TAbSBevel::SetBevelLine(TBevelLine v) { Store(this, FBevelLine, v); }
void TAbSBevel::SetWidth(int32_t v) {
  if (v >= 0) Store(this, FWidth, v);
}
void TAbSBevel::SetColor(TColor v) { Store(this, FColor, v); }
void TAbSBevel::SetColorShadowFrom(TColor v) { Store(this, FColorShadowFrom, v); }
void TAbSBevel::SetColorShadowTo(TColor v) { Store(this, FColorShadowTo, v); }
void TAbSBevel::SetColorHighLightFrom(TColor v) { Store(this, FColorHighLightFrom, v); }
void TAbSBevel::SetColorHighLightTo(TColor v) { Store(this, FColorHighLightTo, v); }
void TAbSBevel::SetPenColor(TColor v) { Store(this, FPenColor, v); }

void TAbSBevel::ParamChange(TObject*) { Change(); }

int TAbSBevel::LineCount() const {
  switch (FBevelLine) {
    case blOuter:
    case blInner: return 1;
    case blBoth: return 2;
    default: return 0;
  }
}

void TAbSBevel::Change() {
  TotalWidth = FSpacing + FWidth + LineCount();
  if (isRound) {
    if (!RoundBmp) RoundBmp = std::make_unique<TBitmap>(30, 30);
    RoundBmpCreated = true;
    GradientFill(RoundBmp->Canvas(), TRect(0, 0, 30, 30), FColorShadowFrom, gsTopLeft, FColorShadowTo);
  }
  TAbPersistent::Change();
}

void TAbSBevel::DrawFrame(TCanvas* can, TRect& r, TColor Col, bool filled, bool up) const {
  PaintRings(can, r, up, filled, Col, FWidth, FColorShadowFrom, FColorShadowTo, FColorHighLightFrom,
             FColorHighLightTo);
}

void TAbSBevel::PaintBevel(TCanvas* can, TRect& r) {
  TRect r0 = r;
  can->Pen()->SetWidth(1);
  can->Brush()->SetStyle(bsClear);
  int L = (FBevelLine == blOuter || FBevelLine == blBoth) ? 1 : 0;
  ShrinkRect(r, L);
  DrawFrame(can, r, FColor, false, FStyle != bsLowered);
  can->Pen()->SetColor(FPenColor);
  can->Brush()->SetStyle(bsClear);
  if (FBevelLine == blInner || FBevelLine == blBoth) {
    can->Rectangle(r);
    ShrinkRect(r, 1);
  }
  if (FBevelLine == blOuter || FBevelLine == blBoth) can->Rectangle(r0);
  ShrinkRect(r, FSpacing);
  r = FOffset->SetOffset(r);
}

void TAbSBevel::PaintFilledBevel(TCanvas* can, TRect& r) {
  TRect r0 = r;
  int L = (FBevelLine == blOuter || FBevelLine == blBoth) ? 1 : 0;
  can->Brush()->SetStyle(bsSolid);
  can->Pen()->SetWidth(1);
  can->Brush()->SetColor(FColor);
  can->Pen()->SetColor(FColor);
  can->Rectangle(r);
  TRect g = r;
  ShrinkRect(g, TotalWidth - FSpacing);
  ShrinkRect(r, L);
  DrawFrame(can, r, FColor, true, FStyle != bsLowered);
  if (FSurfaceGrad->Visible())
    GradientFill(can, g, FSurfaceGrad->ColorFrom(), FSurfaceGrad->Style(), FSurfaceGrad->ColorTo());
  can->Pen()->SetColor(FPenColor);
  can->Brush()->SetStyle(bsClear);
  if (FBevelLine == blInner || FBevelLine == blBoth) {
    can->Rectangle(r);
    ShrinkRect(r, 1);
  }
  if (FBevelLine == blOuter || FBevelLine == blBoth) can->Rectangle(r0);
  ShrinkRect(r, FSpacing);
  r = FOffset->SetOffset(r);
}

void TAbSBevel::PaintRoundBevel(TCanvas* can, TRect& r, int Left, int Top) {
  if (r.Width() <= 4 || !isRound || !RoundBmp) return;
  int w = r.Width();
  TBitmap b(w, w);
  TCanvas* bc = b.Canvas();
  TRect rb(0, 0, w, w);
  if (FStyle == bsLowered)
    StretchBlt(bc->Handle(), w, w, -w - 1, -w - 1, RoundBmp->Canvas()->Handle(), 0, 0, 30, 30, SRCCOPY);
  else
    bc->StretchDraw(rb, RoundBmp.get());
  ShrinkRect(rb, FWidth);
  TotalWidth = FWidth + FSpacing;
  if (FBevelLine == blOuter || FBevelLine == blBoth) {
    bc->Pen()->SetColor(FPenColor);
    bc->Brush()->SetStyle(bsClear);
    bc->Ellipse(0, 0, w, w);
    ShrinkRect(rb, 1);
    ++TotalWidth;
  }
  bc->Brush()->SetStyle(bsSolid);
  bc->Brush()->SetColor(FColor);
  if (FBevelLine == blInner || FBevelLine == blBoth) {
    bc->Pen()->SetColor(FPenColor);
    ++TotalWidth;
  } else {
    bc->Pen()->SetColor(FColor);
  }
  if (!FSurfaceGrad->Visible()) bc->Ellipse(rb);
  HDC dc = can->Handle();
  HRGN clip = CreateRectRgn(0, 0, 0, 0);
  bool hadClip = GetClipRgn(dc, clip) == 1;
  HRGN ell = CreateEllipticRgn(r.Left + Left, r.Top + Top, r.Right + Left + 1, r.Bottom + Top + 1);
  SelectClipRgn(dc, ell);
  DeleteObject(ell);
  can->Draw(r.Left, r.Top, &b);
  SelectClipRgn(dc, hadClip ? clip : nullptr);
  DeleteObject(clip);
  if (FSurfaceGrad->Visible()) {
    TRect g = r;
    ShrinkRect(g, FWidth);
    HRGN ge = CreateEllipticRgn(g.Left + Left, g.Top + Top, g.Right + Left + 1, g.Bottom + Top + 1);
    SelectClipRgn(dc, ge);
    DeleteObject(ge);
    GradientFill(can, g, FSurfaceGrad->ColorFrom(), FSurfaceGrad->Style(), FSurfaceGrad->ColorTo());
    if (FBevelLine == blInner || FBevelLine == blBoth) {
      can->Pen()->SetColor(FPenColor);
      can->Pen()->SetWidth(1);
      can->Brush()->SetStyle(bsClear);
      can->Ellipse(g);
    }
    // The clip stays on the face so the control's further drawing stays inside it.
  }
  ShrinkRect(r, TotalWidth);
  r = FOffset->SetOffset(r);
}

void TAbSBevel::AssignTo(TPersistent* Dest) {
  if (auto* d = dynamic_cast<TAbSBevel*>(Dest)) {
    d->FStyle = FStyle;
    d->FSpacing = FSpacing;
    d->FBevelLine = FBevelLine;
    d->FWidth = FWidth;
    d->FColor = FColor;
    d->FOffset->Assign(FOffset.get());
    d->FColorShadowFrom = FColorShadowFrom;
    d->FColorShadowTo = FColorShadowTo;
    d->FColorHighLightFrom = FColorHighLightFrom;
    d->FColorHighLightTo = FColorHighLightTo;
    d->FPenColor = FPenColor;
    d->FSurfaceGrad->Assign(FSurfaceGrad.get());
    d->Change();
    return;
  }
  TAbPersistent::AssignTo(Dest);
}

// ---- TIniSettings

String TIniSettings::Path() const {
  if (!FUseAppDir) return FFileName;
  // The name part only; names written with either delimiter are accepted.
  size_t p = FFileName.find_last_of(u"/\\");
  return AppDir() + (p == String::npos ? FFileName : FFileName.substr(p + 1));
}

void TIniSettings::Handle(bool Read) {
  Error = false;
  ErrString.clear();
  if (FFileName.empty()) {
    Error = true;
    ErrString = u"Invalid FileName";
  }
  if (FSection.empty()) {
    Error = true;
    ErrString = u"Invalid SectionName";
  }
  if (Error) return;
  TIniFile ini(Path());
  IniFile = &ini;
  {
    TScopeGuard restore([&] { IniFile = nullptr; });
    if (OnHandleIniEvent) OnHandleIniEvent(IniFile, Read);
  }
}

void TIniSettings::AutoHandle(bool Read) {
  if (FAutoLoadSave) Handle(Read);
}
