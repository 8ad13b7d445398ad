#include "grid/AdvCheckBox.h"

#include "controls/AdvStyleIF.h"
#include "controls/AdvXPVS.h"
#include "platform/ui/Menus.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"
#include "platform/win/UxTheme.h"
#include "platform/win/WinUser.h"

TAdvCheckBox::TAdvCheckBox(TComponent* AOwner) : TCustomControl(AOwner), FBkgBmp(std::make_unique<TBitmap>()) {
  SetBounds(Left(), Top(), 98, 20);
  SetCaption(ClassName());
  FIsWinXP = IsWinXPOrLater();
  SetTabStop(true);
  TControlStyle style = ControlStyle();
  style.Exclude(csClickEvents);  // the box clicks itself
  SetControlStyle(style);
}

TAdvCheckBox::~TAdvCheckBox() { Destroying(); }

void TAdvCheckBox::Toggle() {
  if (!FReadOnly) SetChecked(!Checked());
}

void TAdvCheckBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (FTransparent) {
    FBkgCache = false;
    Invalidate();
  }
}

void TAdvCheckBox::InvalidateBox() {
  if (!HandleAllocated()) return;
  RECT r = FAlignment == taRightJustify ? Rect(Width() - 20, 0, Width(), Height()) : Rect(0, 0, 20, Height());
  InvalidateRect(Handle(), &r, TRUE);
}

void TAdvCheckBox::SetState(TCheckBoxState Value) {
  if (Value == FState) return;
  FState = Value;
  InvalidateBox();
}

void TAdvCheckBox::SetChecked(bool Value) {
  SetState(Value ? cbChecked : cbUnchecked);
  Invalidate();
}

void TAdvCheckBox::SetAlignment(TAlignment Value) {
  if (Value == FAlignment) return;
  FAlignment = Value;
  Invalidate();
}

void TAdvCheckBox::SetButtonVertAlign(TTextLayout Value) {
  if (Value == FBtnVAlign) return;
  FBtnVAlign = Value;
  Invalidate();
}

void TAdvCheckBox::SetEllipsis(bool Value) {
  if (Value == FEllipsis) return;
  FEllipsis = Value;
  Invalidate();
}

void TAdvCheckBox::SetTransparent(bool Value) {
  if (Value != FTransparent) FBkgCache = false;
  FTransparent = Value;
  Invalidate();
}

// ---------------------------------------------------------------------------
// Painting

void TAdvCheckBox::PaintParentInto(HDC DC) {
  TWinControl* parent = Parent();
  if (parent == nullptr) return;
  const int saved = SaveDC(DC);
  // The parent's client area, seen from this control.
  IntersectClipRect(DC, -Left(), -Top(), parent->ClientWidth() - Left(), parent->ClientHeight() - Top());
  OffsetViewportOrgEx(DC, -Left(), -Top(), nullptr);
  parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
  parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
  RestoreDC(DC, saved);
}

void TAdvCheckBox::Paint() {
  TCanvas* c = Canvas();
  const int w = Width(), h = Height();
  // 1. The background.
  if (FTransparent) {
    if (!FTransparentCaching) {
      PaintParentInto(c->Handle());
    } else {
      if (!FBkgCache) {
        FBkgBmp->SetSize(w, h);
        PaintParentInto(FBkgBmp->Canvas()->Handle());
        FBkgCache = true;
      }
      c->Draw(0, 0, FBkgBmp.get());
    }
  } else {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(Rect(0, 0, w, h));
  }
  // 3, 4. The box: themed, else the system's.
  const bool right = FAlignment == taRightJustify;
  bool themed = false;
  if (FIsWinXP && HasThemedComCtl() && XPVSThemeBinding.Loaded() && XPVSThemeBinding.IsThemeActive()()) {
    if (HTHEME theme = XPVSThemeBinding.OpenThemeData()(Handle(), u"button")) {
      const int y = FBtnVAlign == tlTop ? 4 : FBtnVAlign == tlCenter ? h / 2 - 6 : h - 14;
      RECT r = Bounds(right ? w - 15 : 0, y, 14, 14);
      const int base = FState == cbChecked ? 5 : FState == cbGrayed ? 9 : 1;
      const int step = !Enabled() ? 3 : FDown ? 2 : FHot ? 1 : 0;
      themed = XPVSThemeBinding.DrawThemeBackground()(theme, c->Handle(), BP_CHECKBOX, base + step, &r, nullptr) == S_OK;
      XPVSThemeBinding.CloseThemeData()(theme);
    }
  }
  if (!themed) {
    const int y = FBtnVAlign == tlTop ? 4 : FBtnVAlign == tlCenter ? h / 2 - 6 : h - 17;
    RECT r = Bounds(right ? w - 13 : 0, y, 13, 13);
    UINT state = DFCS_BUTTONCHECK;
    if (!Enabled() || FState == cbGrayed) state |= DFCS_INACTIVE;
    if (FState == cbChecked) state |= DFCS_CHECKED;
    DrawFrameControl(c->Handle(), &r, DFC_BUTTON, state);
  }
  // 5. The caption.
  TRect r = Rect(0, 0, w, h);
  if (right) r.Right = w - 9;
  else r.Left = 9;
  r.Top += 2;
  r.Left += 3;
  const String caption = Caption();
  c->Font()->Assign(Font());
  c->Brush()->SetStyle(bsClear);
  const UINT flags = DT_LEFT | DT_SINGLELINE | (FEllipsis ? DT_END_ELLIPSIS : 0);
  if (!Enabled()) {
    RECT shade = Rect(r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1);
    c->Font()->SetColor(clWhite);
    DrawText(c->Handle(), caption.c_str(), -1, &shade, flags);
    c->Font()->SetColor(TColor(0x00808080));
  }
  DrawText(c->Handle(), caption.c_str(), -1, &r, flags);
  // 6. The focus around the caption.
  if (FFocused) {
    RECT t = r;
    DrawText(c->Handle(), caption.c_str(), -1, &t, flags | DT_CALCRECT);
    c->Brush()->SetStyle(bsSolid);
    c->DrawFocusRect(Rect(r.Left - 1, r.Top, r.Left + t.Width() + 1, r.Top + t.Height() + 1));
  }
}

void TAdvCheckBox::WMEraseBkgnd(TWMEraseBkgnd& Message) {
  if (FTransparent) Message.SetResult(1);
  else TCustomControl::WMEraseBkgnd(Message);
}

// ---------------------------------------------------------------------------
// Input

void TAdvCheckBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FMouseDown = true;
  if (!Focused() && CanFocus()) SetFocus();
  TCustomControl::MouseDown(Button, Shift, X, Y);
  SetMouseCapture(true);
  FDown = true;
  InvalidateBox();
}

void TAdvCheckBox::MouseMove(TShiftState Shift, int X, int Y) {
  if (MouseCapture()) FDown = Inside(X, Y);
  TCustomControl::MouseMove(Shift, X, Y);
}

void TAdvCheckBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  SetMouseCapture(false);
  FDown = false;
  if (Inside(X, Y) && Focused() && FMouseDown) {
    Toggle();
    Click();
  }
  FMouseDown = false;
  TCustomControl::MouseUp(Button, Shift, X, Y);
  InvalidateBox();
}

void TAdvCheckBox::KeyDown(Word& Key, TShiftState Shift) {
  if (Key == VK_RETURN && FReturnIsTab) {
    Key = VK_TAB;
    PostMessage(Handle(), WM_KEYDOWN, VK_TAB, 0);
  }
  if (Key == VK_SPACE) FDown = true;
  TCustomControl::KeyDown(Key, Shift);
}

void TAdvCheckBox::KeyUp(Word& Key, TShiftState Shift) {
  if (Key == VK_SPACE) {
    FDown = false;
    Toggle();
    Click();
  }
  TCustomControl::KeyUp(Key, Shift);
}

void TAdvCheckBox::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_DIALOGCHAR && CanFocus() && IsAccel(Char(Message.WParam), Caption())) {
    Toggle();
    if (TabStop()) SetFocus();
    Message.Result = 1;
    return;
  }
  TCustomControl::Dispatch(Message);
}

void TAdvCheckBox::DoEnter() {
  FFocused = true;
  Invalidate();
  TCustomControl::DoEnter();
}

void TAdvCheckBox::DoExit() {
  FFocused = false;
  Invalidate();
  TCustomControl::DoExit();
}

void TAdvCheckBox::CMMouseEnter(TMessage& Message) {
  TCustomControl::CMMouseEnter(Message);
  FHot = true;
  InvalidateBox();
}

void TAdvCheckBox::CMMouseLeave(TMessage& Message) {
  TCustomControl::CMMouseLeave(Message);
  FHot = false;
  InvalidateBox();
}

void TAdvCheckBox::CMEnabledChanged(TMessage& Message) {
  TCustomControl::CMEnabledChanged(Message);
  Invalidate();
}

void TAdvCheckBox::CMTextChanged(TMessage& Message) {
  TCustomControl::CMTextChanged(Message);
  Invalidate();
}
