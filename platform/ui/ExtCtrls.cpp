// Panel, bevel, radio group, image, labelled edit and shape.
#include "platform/ui/ExtCtrls.h"

#include <algorithm>

namespace {

// Draws Width nested frames (top and left in TopColor, bottom and right in BottomColor),
// shrinking R by one pixel on every side per frame.
void DrawFrame(TCanvas* c, TRect& r, TColor top, TColor bottom, int width) {
  for (int i = 0; i < width && r.Width() > 0 && r.Height() > 0; ++i) {
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetWidth(1);
    c->Pen()->SetColor(top);
    c->MoveTo(r.Left, r.Bottom - 1);
    c->LineTo(r.Left, r.Top);
    c->LineTo(r.Right - 1, r.Top);
    c->Pen()->SetColor(bottom);
    c->MoveTo(r.Right - 1, r.Top);
    c->LineTo(r.Right - 1, r.Bottom - 1);
    c->LineTo(r.Left - 1, r.Bottom - 1);
    r = TRect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
  }
}

void DrawBevel(TCanvas* c, TRect& r, TBevelCut cut, TColor face, int width) {
  switch (cut) {
    case bvLowered: DrawFrame(c, r, clBtnShadow, clBtnHighlight, width); break;
    case bvRaised: DrawFrame(c, r, clBtnHighlight, clBtnShadow, width); break;
    case bvSpace: DrawFrame(c, r, face, face, width); break;
    case bvNone: break;
  }
}

// Height of a line of text in a font (the text metric's tmHeight).
int LineHeight(TFont* font) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font->Handle());
  TEXTMETRICW tm;
  GetTextMetrics(dc, &tm);
  SelectObject(dc, old);
  DeleteDC(dc);
  return tm.tmHeight > 0 ? int(tm.tmHeight) : 13;
}

}  // namespace

// ---------------------------------------------------------------------------
// TCustomPanel

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque,
                                csDoubleClicks, csReplicatable};
  SetBounds(0, 0, 185, 41);
  SetParentColor(false);
  SetColor(clBtnFace);
}

int TCustomPanel::FrameWidth() const {
  int w = FBorderWidth;
  if (FBorderStyle == bsSingle) w += 1;
  if (FBevelOuter != bvNone) w += FBevelWidth;
  if (FBevelInner != bvNone) w += FBevelWidth;
  return w;
}

void TCustomPanel::AdjustClientRect(TRect& Rect) {
  TCustomControl::AdjustClientRect(Rect);
  int w = FrameWidth();
  Rect = TRect(Rect.Left + w, Rect.Top + w, std::max(Rect.Left + w, Rect.Right - w),
               std::max(Rect.Top + w, Rect.Bottom - w));
}

void TCustomPanel::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(r);
  if (FBorderStyle == bsSingle) DrawFrame(c, r, clWindowFrame, clWindowFrame, 1);
  DrawBevel(c, r, FBevelOuter, Color(), FBevelWidth);
  DrawFrame(c, r, Color(), Color(), FBorderWidth);
  DrawBevel(c, r, FBevelInner, Color(), FBevelWidth);
  const String caption = Caption();
  if (!FShowCaption || caption.empty()) return;
  c->Font()->Assign(Font());
  if (!Enabled()) c->Font()->SetColor(clGrayText);
  c->Brush()->SetStyle(bsClear);
  UINT flags = DT_SINGLELINE | DT_EXPANDTABS;
  flags |= FAlignment == taLeftJustify ? DT_LEFT : FAlignment == taRightJustify ? DT_RIGHT : DT_CENTER;
  flags |= FVerticalAlignment == taAlignTop ? DT_TOP : FVerticalAlignment == taAlignBottom ? DT_BOTTOM : DT_VCENTER;
  RECT tr = r;
  DrawText(c->Handle(), caption.c_str(), int(caption.size()), &tr, flags);
}

void TCustomPanel::Changed() {
  Realign();
  Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment v) { FAlignment = v; Invalidate(); }
void TCustomPanel::SetVerticalAlignment(TVerticalAlignment v) { FVerticalAlignment = v; Invalidate(); }
void TCustomPanel::SetBevelInner(TBevelCut v) { FBevelInner = v; Changed(); }
void TCustomPanel::SetBevelOuter(TBevelCut v) { FBevelOuter = v; Changed(); }
void TCustomPanel::SetBevelWidth(TBevelWidth v) { FBevelWidth = std::max(1, v); Changed(); }
void TCustomPanel::SetBorderWidth(TBorderWidth v) { FBorderWidth = std::max(0, v); Changed(); }
void TCustomPanel::SetBorderStyle(TBorderStyle v) { FBorderStyle = v; Changed(); }
void TCustomPanel::SetShowCaption(bool v) { FShowCaption = v; Invalidate(); }

void TCustomPanel::CMTextChanged(TMessage& Message) {
  TCustomControl::CMTextChanged(Message);
  Invalidate();
}

void TCustomPanel::CMColorChanged(TMessage& Message) {
  TCustomControl::CMColorChanged(Message);
  Invalidate();
}

void TCustomPanel::CMFontChanged(TMessage& Message) {
  TCustomControl::CMFontChanged(Message);
  Invalidate();
}

// ---------------------------------------------------------------------------
// TBevel

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle.Include(csReplicatable);
  SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape v) { FShape = v; Invalidate(); }
void TBevel::SetStyle(TBevelStyle v) { FStyle = v; Invalidate(); }

void TBevel::Paint() {
  TCanvas* c = Canvas();
  TColor c1 = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
  TColor c2 = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
  const int w = Width(), h = Height();
  c->Pen()->SetWidth(1);
  c->Pen()->SetStyle(psSolid);
  auto line = [c](TColor color, int x1, int y1, int x2, int y2) {
    c->Pen()->SetColor(color);
    c->MoveTo(x1, y1);
    c->LineTo(x2, y2);
  };
  // Top and left edges in the first colour, bottom and right in the second.
  auto box = [&](TColor a, TColor b, const TRect& r) {
    line(a, r.Left, r.Bottom - 1, r.Left, r.Top);
    line(a, r.Left, r.Top, r.Right, r.Top);
    line(b, r.Right - 1, r.Top, r.Right - 1, r.Bottom);
    line(b, r.Left, r.Bottom - 1, r.Right - 1, r.Bottom - 1);
  };
  switch (FShape) {
    case bsBox: box(c1, c2, TRect(0, 0, w, h)); break;
    case bsFrame:
      box(c2, c2, TRect(1, 1, w, h));
      box(c1, c1, TRect(0, 0, w - 1, h - 1));
      break;
    case bsTopLine: line(c1, 0, 0, w, 0); line(c2, 0, 1, w, 1); break;
    case bsBottomLine: line(c1, 0, h - 2, w, h - 2); line(c2, 0, h - 1, w, h - 1); break;
    case bsLeftLine: line(c1, 0, 0, 0, h); line(c2, 1, 0, 1, h); break;
    case bsRightLine: line(c1, w - 2, 0, w - 2, h); line(c2, w - 1, 0, w - 1, h); break;
    case bsSpacer: break;
  }
}

// ---------------------------------------------------------------------------
// TCustomRadioGroup

TCustomRadioGroup::TCustomRadioGroup(TComponent* AOwner)
    : TCustomGroupBox(AOwner), FItems(std::make_unique<TStringList>()) {
  FControlStyle.Exclude(csAcceptsControls);
  FItems->OnChange = [this](TObject*) { ItemsChanged(); };
}

TCustomRadioGroup::~TCustomRadioGroup() {
  FItems->OnChange = nullptr;
  FButtons.clear();
}

TStrings* TCustomRadioGroup::Items() const { return FItems.get(); }

void TCustomRadioGroup::SetItems(TStrings* v) {
  if (v) FItems->Assign(v);
}

TRadioButton* TCustomRadioGroup::Buttons(int Index) const {
  if (Index < 0 || Index >= int(FButtons.size())) throw EListError(u"List index out of bounds");
  return FButtons[size_t(Index)].get();
}

void TCustomRadioGroup::ItemsChanged() {
  // One button per item; surplus buttons go, the captions follow the items.
  FUpdating = true;
  while (FButtons.size() > size_t(FItems->Count())) FButtons.pop_back();
  while (FButtons.size() < size_t(FItems->Count())) {
    auto b = std::make_unique<TRadioButton>(nullptr);
    b->OnClick = [this](TObject* Sender) { ButtonClick(Sender); };
    b->SetEnabled(Enabled());
    b->SetParent(this);
    FButtons.push_back(std::move(b));
  }
  for (size_t i = 0; i < FButtons.size(); ++i) {
    FButtons[i]->SetCaption(FItems->Get(int(i)));
    FButtons[i]->SetChecked(int(i) == FItemIndex);
  }
  if (FItemIndex >= int(FButtons.size())) FItemIndex = -1;
  FUpdating = false;
  ArrangeButtons();
}

void TCustomRadioGroup::ArrangeButtons() {
  if (FButtons.empty()) return;
  const int count = int(FButtons.size());
  const int perColumn = (count + FColumns - 1) / FColumns;
  const int buttonWidth = (Width() - 10) / FColumns;
  const int textHeight = LineHeight(Font());
  const int space = Height() - textHeight - 5;
  const int buttonHeight = std::max(1, space / perColumn);
  const int topMargin = textHeight + 1 + (space % perColumn) / 2;
  for (int i = 0; i < count; ++i)
    FButtons[size_t(i)]->SetBounds((i / perColumn) * buttonWidth + 8, (i % perColumn) * buttonHeight + topMargin,
                                   buttonWidth, buttonHeight);
}

void TCustomRadioGroup::ButtonClick(TObject* Sender) {
  if (FUpdating) return;
  for (size_t i = 0; i < FButtons.size(); ++i)
    if (FButtons[i].get() == Sender) {
      if (!FButtons[i]->Checked()) return;
      FItemIndex = int(i);
    }
  Click();
}

void TCustomRadioGroup::SetItemIndex(int v) {
  v = std::clamp(v, -1, int(FButtons.size()) - 1);
  if (v == FItemIndex) return;
  if (FItemIndex >= 0) {
    FUpdating = true;
    FButtons[size_t(FItemIndex)]->SetChecked(false);
    FUpdating = false;
  }
  FItemIndex = v;
  // Checking the button clicks it, which reports the new selection.
  if (v >= 0) FButtons[size_t(v)]->SetChecked(true);
}

void TCustomRadioGroup::SetColumns(int v) {
  FColumns = std::clamp(v, 1, 16);
  ArrangeButtons();
}

void TCustomRadioGroup::SetEnabled(bool v) {
  TCustomGroupBox::SetEnabled(v);
  for (auto& b : FButtons) b->SetEnabled(v);
}

void TCustomRadioGroup::CMFontChanged(TMessage& Message) {
  TCustomGroupBox::CMFontChanged(Message);
  ArrangeButtons();
}

void TCustomRadioGroup::Resize() {
  TCustomGroupBox::Resize();
  ArrangeButtons();
}

// ---------------------------------------------------------------------------
// TImage

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), FPicture(std::make_unique<TPicture>()) {
  FControlStyle.Include(csReplicatable);
  FPicture->OnChange = [this](TObject* Sender) { PictureChanged(Sender); };
  SetBounds(0, 0, 105, 105);
}

TImage::~TImage() { FPicture->OnChange = nullptr; }

TRect TImage::DestRect() const {
  int w = FPicture->Width(), h = FPicture->Height();
  const int cw = ClientWidth(), ch = ClientHeight();
  if (FStretch || (FProportional && (w > cw || h > ch))) {
    if (FProportional && w > 0 && h > 0) {
      const double aspect = double(w) / h;
      if (w > h) {
        w = cw;
        h = int(cw / aspect);
        if (h > ch) {
          h = ch;
          w = int(ch * aspect);
        }
      } else {
        h = ch;
        w = int(ch * aspect);
        if (w > cw) {
          w = cw;
          h = int(cw / aspect);
        }
      }
    } else {
      w = cw;
      h = ch;
    }
  }
  TRect r(0, 0, w, h);
  if (FCenter) r = Bounds((cw - w) / 2, (ch - h) / 2, w, h);
  return r;
}

void TImage::Paint() {
  TCanvas* c = TGraphicControl::Canvas();
  TGraphic* g = FPicture->Graphic();
  if (g == nullptr || g->Empty()) return;
  FDrawing = true;
  bool wasTransparent = g->Transparent();
  if (FTransparent != wasTransparent && AsBitmap(g)) g->SetTransparent(FTransparent);
  c->StretchDraw(DestRect(), g);
  if (FTransparent != wasTransparent && AsBitmap(g)) g->SetTransparent(wasTransparent);
  FDrawing = false;
}

TCanvas* TImage::Canvas() {
  TGraphic* g = FPicture->Graphic();
  if (g == nullptr || g->Empty()) {
    TBitmap b(std::max(1, Width()), std::max(1, Height()));
    FPicture->SetGraphic(&b);
    g = FPicture->Graphic();
  }
  TBitmap* bmp = AsBitmap(g);
  if (bmp == nullptr) throw EInvalidOperation(u"Can only modify an image if it contains a bitmap");
  return bmp->Canvas();
}

void TImage::PictureChanged(TObject*) {
  if (FDrawing) return;
  if (FAutoSize && FPicture->Width() > 0 && FPicture->Height() > 0)
    SetBounds(Left(), Top(), FPicture->Width(), FPicture->Height());
  Invalidate();
}

void TImage::SetCenter(bool v) { FCenter = v; Invalidate(); }
void TImage::SetProportional(bool v) { FProportional = v; Invalidate(); }
void TImage::SetStretch(bool v) { FStretch = v; Invalidate(); }
void TImage::SetTransparent(bool v) {
  FTransparent = v;
  if (v) FControlStyle.Exclude(csOpaque);
  Invalidate();
}
void TImage::SetAutoSize(bool v) {
  FAutoSize = v;
  PictureChanged(this);
}

// ---------------------------------------------------------------------------
// TBoundLabel and TCustomLabeledEdit

TBoundLabel::TBoundLabel(TCustomLabeledEdit* AEdit) : TCustomLabel(AEdit), FEdit(AEdit) {}

void TBoundLabel::CMTextChanged(TMessage& Message) {
  TCustomLabel::CMTextChanged(Message);
  if (FEdit) FEdit->PlaceLabel();
}

void TBoundLabel::CMFontChanged(TMessage& Message) {
  TCustomLabel::CMFontChanged(Message);
  if (FEdit) FEdit->PlaceLabel();
}

TCustomLabeledEdit::TCustomLabeledEdit(TComponent* AOwner)
    : TCustomEdit(AOwner), FEditLabel(new TBoundLabel(this)) {
  FEditLabel->SetFocusControl(this);
}

TCustomLabeledEdit::~TCustomLabeledEdit() {
  Destroying();
  if (FEditLabel) FEditLabel->FEdit = nullptr;
}

void TCustomLabeledEdit::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomEdit::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FEditLabel) FEditLabel = nullptr;
}

void TCustomLabeledEdit::PlaceLabel() {
  if (!FEditLabel) return;
  TBoundLabel* l = FEditLabel;
  TPoint p;
  switch (FLabelPosition) {
    case lpAbove: p = TPoint(Left(), Top() - l->Height() - FLabelSpacing); break;
    case lpBelow: p = TPoint(Left(), Top() + Height() + FLabelSpacing); break;
    case lpLeft: p = TPoint(Left() - l->Width() - FLabelSpacing, Top() + (Height() - l->Height()) / 2); break;
    case lpRight: p = TPoint(Left() + Width() + FLabelSpacing, Top() + (Height() - l->Height()) / 2); break;
  }
  l->SetBounds(p.X, p.Y, l->Width(), l->Height());
}

void TCustomLabeledEdit::SetLabelPosition(TLabelPosition v) {
  FLabelPosition = v;
  PlaceLabel();
}

void TCustomLabeledEdit::SetLabelSpacing(int v) {
  FLabelSpacing = v;
  PlaceLabel();
}

void TCustomLabeledEdit::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
  PlaceLabel();
}

void TCustomLabeledEdit::SetParent(TWinControl* AParent) {
  TCustomEdit::SetParent(AParent);
  if (FEditLabel) {
    FEditLabel->SetParent(AParent);
    FEditLabel->SetVisible(Visible());
    PlaceLabel();
  }
}

void TCustomLabeledEdit::SetVisible(bool v) {
  TCustomEdit::SetVisible(v);
  if (FEditLabel) FEditLabel->SetVisible(v);
}

void TCustomLabeledEdit::SetEnabled(bool v) {
  TCustomEdit::SetEnabled(v);
  if (FEditLabel) FEditLabel->SetEnabled(v);
}

// ---------------------------------------------------------------------------
// TShape

TShape::TShape(TComponent* AOwner)
    : TGraphicControl(AOwner), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()) {
  FControlStyle.Include(csReplicatable);
  SetBounds(0, 0, 65, 65);
  FPen->OnChange = [this](TObject*) { Invalidate(); };
  FBrush->OnChange = [this](TObject*) { Invalidate(); };
}

TShape::~TShape() {
  FPen->OnChange = nullptr;
  FBrush->OnChange = nullptr;
}

void TShape::SetShape(TShapeType v) {
  FShape = v;
  Invalidate();
}

void TShape::Paint() {
  TCanvas* c = Canvas();
  c->Pen()->Assign(FPen.get());
  c->Brush()->Assign(FBrush.get());
  int x = FPen->Width() / 2, y = x;
  int w = Width() - FPen->Width() + 1, h = Height() - FPen->Width() + 1;
  if (FPen->Width() == 0) {
    --w;
    --h;
  }
  const int s = std::min(w, h);
  if (FShape == stSquare || FShape == stRoundSquare || FShape == stCircle) {
    x += (w - s) / 2;
    y += (h - s) / 2;
    w = h = s;
  }
  switch (FShape) {
    case stRectangle: case stSquare: c->Rectangle(x, y, x + w, y + h); break;
    case stRoundRect: case stRoundSquare: c->RoundRect(x, y, x + w, y + h, s / 4, s / 4); break;
    case stEllipse: case stCircle: c->Ellipse(x, y, x + w, y + h); break;
  }
}
