// The calculator's button panel: button items, their appearance, the glossy face, the keypad's
// arrangement, and hover, press and click tracking.

#include <algorithm>

#include "controls/AdvGDIP.h"
#include "dropdowns/AdvCalculatorDropdown.h"
#include "dropdowns/AdvDropDownBars.h"

// ---------------------------------------------------------------------------
// Items

TButtonItem::TButtonItem(TCollection* Collection) : TCollectionItem(Collection), FImage(std::make_unique<TPicture>()) {}

TButtonItem::~TButtonItem() = default;

void TButtonItem::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TButtonItem*>(Source);
  if (src == nullptr) {
    TCollectionItem::Assign(Source);
    return;
  }
  FCaption = src->FCaption;
  FCaptionColor = src->FCaptionColor;
  FTag = src->FTag;
  FImageIndex = src->FImageIndex;
  FImage->Assign(src->FImage.get());
  FName = src->FName;
}

TButtonItems::TButtonItems(TPersistent* AOwner) : TCollection(ItemClassOf<TButtonItem>()), FMyOwner(AOwner) {}

// ---------------------------------------------------------------------------
// Appearance

TButtonAppearance::TButtonAppearance() : FFont(std::make_unique<TFont>()) {
  FFont->SetSize(10);
  FFont->SetStyle(TFontStyles{fsBold});
}

TButtonAppearance::~TButtonAppearance() = default;

void TButtonAppearance::Store(TColor& Field, TColor Value) {
  if (Field == Value) return;
  Field = Value;
  if (OnChange) OnChange(this);
}

void TButtonAppearance::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TButtonAppearance*>(Source);
  if (src == nullptr) {
    TPersistent::Assign(Source);
    return;
  }
  SetBorderColor(src->FBorderColor);
  SetBorderColorHot(src->FBorderColorHot);
  SetBorderColorDown(src->FBorderColorDown);
  SetColor(src->FColor);
  SetColorTo(src->FColorTo);
  SetColorHot(src->FColorHot);
  SetColorHotTo(src->FColorHotTo);
  SetColorDown(src->FColorDown);
  SetColorDownTo(src->FColorDownTo);
  SetShineColor(src->FShineColor);
  FGlowColorHot = src->FGlowColorHot;
  FGlowColorDown = src->FGlowColorDown;
  FFont->Assign(src->FFont.get());
  SetTextColor(src->FTextColor);
  SetSpecialTextColor(src->FSpecialTextColor);
}

// ---------------------------------------------------------------------------
// The glossy face

namespace {
ARGB WithAlpha(TColor Color, uint8_t Alpha) {
  const ARGB c = ColorToARGB(Color);
  return ARGBFromBytes(Alpha, ARGBRed(c), ARGBGreen(c), ARGBBlue(c));
}

// One piece of the face, filled as a rectangular path.
void FillPiece(TGPGraphics& G, TGPBrush* Brush, float X, float Y, float W, float H) {
  TGPGraphicsPath path;
  path.AddRectangle(NewGPRectF(X, Y, W, H));
  G.FillPath(Brush, &path);
}

// A piece filled with a two-colour gradient over its own rectangle.
void FillGradientPiece(TGPGraphics& G, float X, float Y, float W, float H, ARGB From, ARGB To,
                       LinearGradientMode Mode) {
  TGPLinearGradientBrush brush(NewGPRectF(X, Y, W, H), From, To, Mode);
  FillPiece(G, &brush, X, Y, W, H);
}
}  // namespace

void DrawGlossyButton(TCanvas* Canvas, const TRect& Rect, TColor BorderColor, TColor InnerLineColor, TColor Color,
                      TColor ColorTo, TColor GlowColor, TColor ShineColor) {
  const int L = Rect.Left, T = Rect.Top, R = Rect.Right, B = Rect.Bottom;
  const int W = R - L, mid = T + (B - T) / 2;
  TGPGraphics g(Canvas->Handle());
  g.SetSmoothingMode(SmoothingModeAntiAlias);
  // 1. Lower half: the colour down to the gradient end; the gradient is one pixel taller.
  {
    TGPLinearGradientBrush brush(NewGPRectF(L, mid, W - 1, B - mid), ColorToARGB(Color), ColorToARGB(ColorTo),
                                 LinearGradientModeVertical);
    FillPiece(g, &brush, L, mid, W - 1, B - mid - 1);
  }
  // 2. Upper half in the colour, 3. the shine over it.
  {
    TGPSolidBrush brush(ColorToARGB(Color));
    FillPiece(g, &brush, L, T, W - 1, mid - T);
  }
  FillGradientPiece(g, L, T, W - 1, mid - T, WithAlpha(ShineColor, 160), WithAlpha(ShineColor, 90),
                    LinearGradientModeVertical);
  // 4. The white top line.
  {
    TGPPen pen(ColorToARGB(clWhite), 1);
    g.DrawLine(&pen, L, T + 1, R, T + 1);
  }
  // 5. The inner line: down the left, along the bottom, up the right.
  {
    TGPPen pen(ColorToARGB(InnerLineColor), 1);
    g.DrawLine(&pen, L + 1, T + 2, L + 1, B - 2);
    g.DrawLine(&pen, L + 1, B - 2, R - 1, B - 2);
    g.DrawLine(&pen, R - 1, B - 2, R - 1, T + 1);
  }
  // 6. The border.
  {
    TGPPen pen(ColorToARGB(BorderColor), 1);
    g.DrawRectangle(&pen, L, T, W, B - T - 1);
  }
  // 7. The glow: over the border, then fading out 8 pixels on each side and round the corners.
  if (GlowColor == clNone) return;
  {
    TGPPen pen(WithAlpha(GlowColor, 100), 1);
    g.DrawRectangle(&pen, L, T, W, B - T - 1);
  }
  const ARGB in = WithAlpha(GlowColor, 130), out = WithAlpha(GlowColor, 0);
  FillGradientPiece(g, L - 8, T, 8, B - T, out, in, LinearGradientModeHorizontal);
  FillGradientPiece(g, R - 1, T, 9, B - T, in, out, LinearGradientModeHorizontal);
  FillGradientPiece(g, L, T - 8, R - L, 8, out, in, LinearGradientModeVertical);
  FillGradientPiece(g, L, B - 1, R - L, 8, in, out, LinearGradientModeVertical);
  FillGradientPiece(g, L - 6, T - 6, 6, 6, out, in, LinearGradientModeForwardDiagonal);
  FillGradientPiece(g, L - 6, B - 1, 6, 6, in, out, LinearGradientModeBackwardDiagonal);
  FillGradientPiece(g, R, B, 5, 5, in, out, LinearGradientModeForwardDiagonal);
  FillGradientPiece(g, R, T - 6, 5, 6, out, in, LinearGradientModeBackwardDiagonal);
}

// ---------------------------------------------------------------------------
// The panel

TCustomButtonPanel::TCustomButtonPanel(TComponent* AOwner)
    : TCustomControl(AOwner),
      FButtons(std::make_unique<TButtonItems>(this)),
      FButtonAppearance(std::make_unique<TButtonAppearance>()) {
  FButtonAppearance->OnChange = [this](TObject* S) { AppearanceChanged(S); };
}

TCustomButtonPanel::~TCustomButtonPanel() = default;

void TCustomButtonPanel::AppearanceChanged(TObject*) {
  // A hosted panel is repainted by its drop-down.
  if (FAdvDropDown == nullptr) Invalidate();
}

void TCustomButtonPanel::SetButtonPanelType(TButtonPanelType Value) {
  if (Value == FButtonPanelType) return;
  FButtonPanelType = Value;
  ArrangeButtons();
}

void TCustomButtonPanel::SetImages(TCustomImageList* Value) {
  FImages = Value;
  if (FImages != nullptr) FImages->FreeNotification(this);
  ArrangeButtons();
}

void TCustomButtonPanel::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TCustomButtonPanel::Loaded() {
  TCustomControl::Loaded();
  if (FAdvDropDown == nullptr) CreateButtons();
}

void TCustomButtonPanel::AddKey(const char16_t* Caption, const char16_t* Name, int Tag, bool Special) {
  TButtonItem* item = FButtons->Add();
  item->FCaption = Caption;
  item->FName = Name;
  item->FTag = Tag;
  item->FSpecial = Special;
  if (Special) item->FCaptionColor = 128;
}

void TCustomButtonPanel::CreateButtons() {
  if (FButtons->Count() > 0 || FButtonPanelType != plCalculator) return;
  struct TKey {
    const char16_t *Caption, *Name;
    int Tag;
    bool Special;
  };
  static const TKey kKeys[] = {
      {u"", u"BTN_ON", 30, false},      {u"Back", u"BTN_BACK", 31, true}, {u"CE", u"BTN_CE", 32, true},
      {u"C", u"BTN_C", 16, true},       {u"MC", u"BTN_MC", 33, true},     {u"MR", u"BTN_MR", 34, true},
      {u"MS", u"BTN_MS", 35, true},     {u"M+", u"BTN_M+", 36, true},     {u"0", u"BTN_0", 0, false},
      {u"1", u"BTN_1", 1, false},       {u"4", u"BTN_4", 4, false},       {u"7", u"BTN_7", 7, false},
      {u"8", u"BTN_8", 8, false},       {u"5", u"BTN_5", 5, false},       {u"2", u"BTN_2", 2, false},
      {u"+/-", u"BTN_+/-", 14, false},  {u".", u"BTN_.", 15, false},      {u"3", u"BTN_3", 3, false},
      {u"6", u"BTN_6", 6, false},       {u"9", u"BTN_9", 9, false},       {u"/", u"BTN_/", 13, true},
      {u"*", u"BTN_*", 12, true},       {u"-", u"BTN_-", 11, true},       {u"+", u"BTN_+", 10, true},
      {u"=", u"BTN_=", 17, true},       {u"1/x", u"BTN_1/x", 38, false},  {u"%", u"BTN_%", 18, false},
      {u"sqrt", u"BTN_sqrt", 37, true},
  };
  FButtons->BeginUpdate();
  for (const TKey& k : kKeys) AddKey(k.Caption, k.Name, k.Tag, k.Special);
  FButtons->EndUpdate();
  ArrangeButtons();
}

void TCustomButtonPanel::ClearButtons() {
  FButtonHot = FButtonDown = -1;
  FButtons->Clear();
}

void TCustomButtonPanel::RecreateButtons() {
  ClearButtons();
  CreateButtons();
}

TRect TCustomButtonPanel::GetButtonsRect() const {
  const TRect r = ClientRect();
  return TRect(r.Left + FOffSetX, r.Top + FOffSetY, r.Right - FOffSetX, r.Bottom - FOffSetY);
}

void TCustomButtonPanel::ArrangeButtons() {
  if (FButtons->Count() == 0 || FButtonPanelType == plCustom) return;
  const TRect r = GetButtonsRect();
  const int gap = 4;
  const int w = (r.Right - r.Left - 2 * gap) / 6;
  const int h = (r.Bottom - r.Top - gap) / 5;
  auto place = [this](int Index, int X, int Y, int W, int H) {
    if (Index >= FButtons->Count()) return;
    TButtonItem* b = FButtons->Items(Index);
    b->FLeft = X;
    b->FTop = Y;
    b->FWidth = W;
    b->FHeight = H;
  };
  // Rows 1 to 4 below the top row; keys inside a group share their border line.
  auto rowY = [&](int Row) { return r.Top + h + gap + (Row - 1) * (h - 1); };
  // 1. The top-left key and the memory column.
  place(0, r.Left, r.Top, w, h);
  for (int row = 1; row <= 4; ++row) place(3 + row, r.Left, rowY(row), w, h);
  // 2. The digit block, by columns: 7 4 1 0 | 8 5 2 +/- | 9 6 3 .
  const int x1 = r.Left + w + gap;
  static const int kDigitColumns[3][4] = {{11, 10, 9, 8}, {12, 13, 14, 15}, {19, 18, 17, 16}};
  for (int col = 0; col < 3; ++col)
    for (int row = 1; row <= 4; ++row) place(kDigitColumns[col][row - 1], x1 + col * (w - 1), rowY(row), w, h);
  // 3. The operator block: / * - + | sqrt % 1/x =
  const int x2 = x1 + 2 * (w - 1) + w + gap;
  static const int kOperatorColumns[2][4] = {{20, 21, 22, 23}, {27, 26, 25, 24}};
  for (int col = 0; col < 2; ++col)
    for (int row = 1; row <= 4; ++row) place(kOperatorColumns[col][row - 1], x2 + col * (w - 1), rowY(row), w, h);
  const int right = x2 + w - 1 + w;
  // 4. The top row: Back, CE and C share the width up to the operator block's right edge.
  const int x = r.Left + w + gap;
  const int w2 = (right - x - 2 * gap) / 3;
  place(1, x, r.Top, w2, h);
  place(2, x + w2 + gap, r.Top, w2, h);
  const int x3 = x + 2 * (w2 + gap);
  place(3, x3, r.Top, right - x3, h);
}

TRect TCustomButtonPanel::ButtonRect(int Index) const {
  if (Index < 0 || Index >= FButtons->Count()) return TRect(-1, -1, -1, -1);
  return FButtons->Items(Index)->Rect();
}

int TCustomButtonPanel::ButtonAtPos(int X, int Y) const {
  for (int i = 0; i < FButtons->Count(); ++i)
    if (FButtons->Items(i)->Rect().Contains(TPoint(X, Y))) return i;
  return -1;
}

void TCustomButtonPanel::GetButtonContentSize(int& W, int& H) {
  int pw = 0, ph = 0, cw = 0, ch = 0;
  TWindowDCCanvas canvas(nullptr);
  canvas.Font()->Assign(Font());
  for (int i = 0; i < FButtons->Count(); ++i) {
    TButtonItem* b = FButtons->Items(i);
    if (b->FImage->Graphic() != nullptr && !b->FImage->Graphic()->Empty()) {
      pw = std::max(pw, b->FImage->Width());
      ph = std::max(ph, b->FImage->Height());
    } else if (FImages != nullptr && b->FImageIndex >= 0) {
      pw = std::max(pw, FImages->Width());
      ph = std::max(ph, FImages->Height());
    }
    if (!b->FCaption.empty()) {
      const TSize s = canvas.TextExtent(b->FCaption);
      cw = std::max(cw, s.cx);
      ch = std::max(ch, s.cy);
    }
  }
  const int gap = pw > 0 && cw > 0 ? FCaptionGap : 0;
  if (FButtonLayout == ilCaptionLeft || FButtonLayout == ilCaptionRight) {
    W = 2 * FButtonOffSetX + pw + gap + cw;
    H = std::max(ph, ch) + 2 * FButtonOffSetY;
  } else {
    W = std::max(pw, cw) + 2 * FButtonOffSetX;
    H = 2 * FButtonOffSetY + ph + gap + ch;
  }
}

void TCustomButtonPanel::InvalidateButton(int Index) {
  if (Index < 0 || Index >= FButtons->Count() || !HandleAllocated()) return;
  TRect r = FButtons->Items(Index)->Rect();
  r = TRect(r.Left - 8, r.Top - 8, r.Right + 8, r.Bottom + 8);
  InvalidateRect(Handle(), &r, TRUE);
}

void TCustomButtonPanel::DrawButtonNow(int Index) {
  if (!HandleAllocated() || !Showing()) return;
  TWindowDCCanvas canvas(Handle());
  canvas.Font()->Assign(Font());
  DrawButton(Index, &canvas);
}

void TCustomButtonPanel::SetButtonHot(int Index) {
  if (Index == FButtonHot) return;
  if (FButtonHot >= 0) {
    const int old = FButtonHot;
    FButtonHot = -1;
    InvalidateButton(old);
  }
  FButtonHot = Index;
  if (Index >= 0) DrawButtonNow(Index);
}

void TCustomButtonPanel::SetButtonDown(int Index) {
  if (Index == FButtonDown) return;
  if (FButtonDown >= 0) {
    const int old = FButtonDown;
    FButtonDown = -1;
    InvalidateButton(old);
  }
  FButtonDown = Index;
  if (Index >= 0) DrawButtonNow(Index);
}

void TCustomButtonPanel::Paint() {
  TCustomControl::Paint();
  TCanvas* c = Canvas();
  if (FAdvDropDown == nullptr) {
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetStyle(bsClear);
    c->Rectangle(ClientRect());
  }
  // The hovered button last: its glow lies over its neighbours.
  for (int i = 0; i < FButtons->Count(); ++i)
    if (i != FButtonHot) DrawButton(i, c);
  if (FButtonHot >= 0) DrawButton(FButtonHot, c);
}

void TCustomButtonPanel::DrawButton(int Index, TCanvas* ACanvas) {
  if (Index < 0 || Index >= FButtons->Count() || ACanvas == nullptr) return;
  TButtonItem* b = FButtons->Items(Index);
  const TRect r = b->Rect();
  if (r.Left < 0 && r.Right < 0) return;
  const TButtonAppearance& a = *FButtonAppearance;
  TColor border = a.BorderColor(), color = a.Color(), colorTo = a.ColorTo(), glow = clNone;
  if (Index == FButtonHot) {
    border = a.BorderColorHot();
    color = a.ColorHot();
    colorTo = a.ColorHotTo();
    glow = a.GlowColorHot();
  }
  if (Index == FButtonDown) {
    border = a.BorderColorDown();
    color = a.ColorDown();
    colorTo = a.ColorDownTo();
    glow = a.GlowColorDown();
  }
  DrawGlossyButton(ACanvas, r, border, 0x00E7E0C7, color, colorTo, glow, a.ShineColor());

  // The content: a picture and the caption, placed by the layout.
  ACanvas->Font()->Assign(a.Font());
  ACanvas->Font()->SetColor(b->FSpecial ? a.SpecialTextColor() : a.TextColor());
  ACanvas->Brush()->SetStyle(bsClear);
  TRect cr(r.Left + FButtonOffSetX, r.Top + FButtonOffSetY, r.Right - FButtonOffSetX, r.Bottom - FButtonOffSetY);
  TGraphic* picture = nullptr;
  int pw = 0, ph = 0;
  if (b->FImage->Graphic() != nullptr && !b->FImage->Graphic()->Empty()) {
    picture = b->FImage->Graphic();
    pw = picture->Width();
    ph = picture->Height();
  } else if (FImages != nullptr && b->FImageIndex >= 0) {
    pw = FImages->Width();
    ph = FImages->Height();
  }
  const bool hasPicture = pw > 0 || ph > 0;
  auto drawPicture = [&](int X, int Y) {
    if (picture != nullptr) ACanvas->Draw(X, Y, picture);
    else if (hasPicture) FImages->Draw(ACanvas, X, Y, b->FImageIndex, true);
  };
  TTextFormat format{tfSingleLine, tfVerticalCenter};
  if (!hasPicture || FButtonLayout == ilCaptionTop || FButtonLayout == ilCaptionBottom) format.Include(tfCenter);
  String caption = b->FCaption;
  const TSize text = caption.empty() ? TSize() : ACanvas->TextExtent(caption);
  const int gap = hasPicture ? FCaptionGap : 0;
  const int centreY = cr.Top + (cr.Height() - ph) / 2;
  TRect tr = cr;
  switch (FButtonLayout) {
    case ilCaptionLeft:
      tr.Right -= pw;
      if (!caption.empty()) ACanvas->TextRect(tr, caption, format);
      if (hasPicture) drawPicture(cr.Left + text.cx + gap, centreY);
      break;
    case ilCaptionRight:
      if (hasPicture) drawPicture(cr.Left, centreY);
      tr.Left += pw + gap;
      if (!caption.empty()) ACanvas->TextRect(tr, caption, format);
      break;
    case ilCaptionTop:
      tr.Bottom -= ph;
      if (!caption.empty()) ACanvas->TextRect(tr, caption, format);
      if (hasPicture) drawPicture(cr.Left, caption.empty() ? centreY : cr.Top + text.cy + gap);
      break;
    case ilCaptionBottom:
      if (hasPicture) drawPicture(cr.Left, caption.empty() ? centreY : cr.Top);
      tr.Top += ph + gap;
      if (!caption.empty()) ACanvas->TextRect(tr, caption, format);
      break;
  }
}

void TCustomButtonPanel::DoButtonClick(int Index) {
  if (OnButtonClick) OnButtonClick(this, Index);
}

void TCustomButtonPanel::WMSize(TWMSize& Message) {
  TCustomControl::WMSize(Message);
  ArrangeButtons();
}

void TCustomButtonPanel::CMMouseLeave(TMessage& Message) {
  TCustomControl::CMMouseLeave(Message);
  SetButtonHot(-1);
}

void TCustomButtonPanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  SetButtonDown(ButtonAtPos(X, Y));
}

void TCustomButtonPanel::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  SetButtonHot(ButtonAtPos(X, Y));
}

void TCustomButtonPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (FButtonDown < 0) return;
  const int pressed = FButtonDown;
  SetButtonDown(-1);
  if (ButtonAtPos(X, Y) == pressed) DoButtonClick(pressed);
}
