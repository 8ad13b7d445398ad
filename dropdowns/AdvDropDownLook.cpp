// The look of the drop-down's edit: border colours, the flat look, the silver frame of a
// disabled edit, the highlighted value of a focused pick-only edit, and the caption label.

#include "controls/LabelPlacement.h"
#include "dropdowns/AdvDropDown.h"
#include "platform/win/Gdi.h"

namespace {
bool IsDesigning(const TComponent* C) { return C->ComponentState().Contains(csDesigning); }

void Frame(HDC DC, const TRect& R, TColor Color) {
  HBRUSH b = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(Color)));
  RECT r = R;
  FrameRect(DC, &r, b);
  DeleteObject(b);
}

TRect Shrink(const TRect& R, int N) { return TRect(R.Left + N, R.Top + N, R.Right - N, R.Bottom - N); }
}  // namespace

// ---------------------------------------------------------------------------
// Borders

bool TAdvCustomDropDown::Lit() const {
  if (IsDesigning(this)) return false;
  return FMouseInControl || Focused();
}

void TAdvCustomDropDown::SetBorderColor(TColor Value) {
  if (Value == FBorderColor) return;
  FBorderColor = Value;
  Invalidate();
  if (FButton != nullptr) FButton->FButton->Invalidate();
}

void TAdvCustomDropDown::SetDisabledBorder(bool Value) {
  if (Value == FDisabledBorder) return;
  FDisabledBorder = Value;
  Invalidate();
}

void TAdvCustomDropDown::DrawBorders() {
  if (FPaintDC == nullptr || IsDesigning(this)) return;
  HDC dc = FPaintDC;
  const TRect R(0, 0, Width(), Height());
  // 1. A disabled edit gets a silver frame.
  if (!Enabled() && FIsThemed && FDisabledBorder) {
    Frame(dc, R, 0xC0C0C0);
    return;
  }
  // 2.
  if (FBorderColor != clNone && (!Focused() || FFocusBorderColor == clNone)) {
    Frame(dc, R, FBorderColor);
    return;
  }
  // 3. The flat look lights up under the mouse and with the focus.
  if (FFocusBorderColor == clNone) {
    const bool lit = Lit();
    TColor brush = clBtnFace;
    if (!lit) brush = Parent() != nullptr ? Parent()->Color() : clBtnFace;
    TRect r = R;
    if (lit) {
      RECT e = r;
      DrawEdge(dc, &e, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
      r = e;
    } else {
      Frame(dc, Shrink(r, 1), brush);
    }
    Frame(dc, Shrink(r, 1), brush);
    return;
  }
  // 4.
  if (Focused()) Frame(dc, R, FFocusBorderColor);
}

void TAdvCustomDropDown::UpdateLookup() {
  // The button's focus flag follows the lit state.
  if (FButton != nullptr) FButton->FButton->SetFocused(IsDesigning(this) ? Enabled() : Lit());
  if (Enabled() && !FFlat && FBorderColor == clNone && FFocusBorderColor == clNone) return;
  Invalidate();
}

void TAdvCustomDropDown::PaintNonEditable() {
  if (FEditorEnabled || !Focused() || IsDesigning(this) || !FFocusDraw) return;
  if (FPaintDC == nullptr) {
    Invalidate();
    return;
  }
  HDC dc = FPaintDC;
  TCanvas canvas;
  canvas.SetHandle(dc);
  const TRect r(2, 2, Width() - FButtonWidth - 1, Height() - 2);
  canvas.Brush()->SetColor(clHighlight);
  canvas.Pen()->SetColor(clBlack);
  canvas.Rectangle(r);
  canvas.Font()->Assign(Font());
  canvas.Font()->SetColor(clHighlightText);
  canvas.Brush()->SetStyle(bsClear);
  RECT t = TRect(r.Left + 2, r.Top, r.Right - 3, r.Bottom);
  const String v = Text();
  DrawText(canvas.Handle(), v.c_str(), static_cast<int>(v.size()), &t, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  canvas.SetHandle(nullptr);
}

void TAdvCustomDropDown::WndProc(TMessage& Message) {
  if ((Message.Msg == WM_PAINT || Message.Msg == WM_NCPAINT) && Message.WParam != 0) {
    // The native edit has painted: the pick-only value and the border go over it.
    FPaintDC = reinterpret_cast<HDC>(Message.WParam);
    if (Message.Msg == WM_PAINT) PaintNonEditable();
    const bool borderSet = FBorderColor != clNone || FFocusBorderColor != clNone;
    if (borderSet || !Enabled() || FFlat) DrawBorders();
    FPaintDC = nullptr;
    return;
  }
  TCustomMaskEdit::WndProc(Message);
}

void TAdvCustomDropDown::CMEnter(TMessage& Message) {
  if (AutoSelect() && !(GetKeyState(VK_LBUTTON) < 0 && FMouseInControl)) SelectAll();
  TCustomMaskEdit::CMEnter(Message);
  UpdateLookup();
}

void TAdvCustomDropDown::CMExit(TMessage& Message) {
  TCustomMaskEdit::CMExit(Message);
  UpdateLookup();
}

void TAdvCustomDropDown::CMMouseEnter(TMessage& Message) {
  TCustomMaskEdit::CMMouseEnter(Message);
  if (!Enabled()) return;
  FMouseInControl = true;
  UpdateLookup();
}

void TAdvCustomDropDown::CMMouseLeave(TMessage& Message) {
  TCustomMaskEdit::CMMouseLeave(Message);
  if (!Enabled()) return;
  FMouseInControl = false;
  UpdateLookup();
}

// ---------------------------------------------------------------------------
// Label

String TAdvCustomDropDown::LabelCaption() const { return FLabel != nullptr ? FLabel->Caption() : String(); }

void TAdvCustomDropDown::SetLabelCaption(const String& Value) {
  if (FLabel == nullptr) {
    FLabel = new TLabel(this);
    FLabel->FreeNotification(this);
    FLabel->SetParent(Parent());
    FLabel->SetFocusControl(this);
    FLabel->Font()->Assign(FLabelFont.get());
    FLabel->OnClick = [this](TObject* S) { LabelClick(S); };
    FLabel->OnDblClick = [this](TObject* S) { LabelDblClick(S); };
    FLabel->SetParentFont(ParentFont());
  }
  FLabel->SetCaption(Value);
  LayoutLabel();
}

void TAdvCustomDropDown::SetLabelPosition(TLabelPosition Value) {
  FLabelPosition = Value;
  if (FLabel != nullptr) LayoutLabel();
}

void TAdvCustomDropDown::SetLabelMargin(int Value) {
  FLabelMargin = Value;
  if (FLabel != nullptr) LayoutLabel();
}

void TAdvCustomDropDown::SetLabelTransparent(bool Value) {
  FLabelTransparent = Value;
  if (FLabel != nullptr) LayoutLabel();
}

void TAdvCustomDropDown::SetLabelFont(TFont* Value) {
  if (!ParentFont()) FLabelFont->Assign(Value);
  if (FLabel != nullptr) LayoutLabel();
}

void TAdvCustomDropDown::LabelFontChanged(TObject*) {
  if (FLabel == nullptr) return;
  LayoutLabel();
  if (IsDesigning(this) && !IsLoading()) SetParentFont(false);
}

void TAdvCustomDropDown::LabelClick(TObject*) {
  if (OnLabelClick) OnLabelClick(this);
}

void TAdvCustomDropDown::LabelDblClick(TObject*) {
  if (OnLabelDblClick) OnLabelDblClick(this);
}

void TAdvCustomDropDown::CMParentFontChanged(TMessage& Message) {
  TCustomMaskEdit::CMParentFontChanged(Message);
  if (FLabel != nullptr && ParentFont()) {
    FLabel->Font()->Assign(Font());
    LayoutLabel();
  }
}

void TAdvCustomDropDown::LayoutLabel() {
  if (FLabel == nullptr) return;
  if (FLabel->Parent() != Parent()) FLabel->SetParent(Parent());
  FLabel->SetTransparent(FLabelTransparent);
  FLabel->Font()->Assign(FParentFnt ? Font() : FLabelFont.get());
  // The caption's width as drawn, without the accelerator mark.
  int w = 0;
  {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, FLabel->Font()->Handle());
    const String caption = FLabel->Caption();
    RECT r = TRect(0, 0, 1000, 255);
    DrawText(dc, caption.c_str(), static_cast<int>(caption.size()), &r, DT_CALCRECT | DT_HIDEPREFIX);
    w = r.Width();
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
  }
  const TPoint at = AttachedLabelPos(static_cast<uint8_t>(FLabelPosition), BoundsRect(), FLabel->Width(),
                                     FLabel->Height(), w, FLabelMargin, TPoint(FLabel->Left(), FLabel->Top()));
  FLabel->SetBounds(at.X, at.Y, FLabel->Width(), FLabel->Height());
  FLabel->SetVisible(Visible());
}
