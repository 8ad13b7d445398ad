// The drop-down's pop-up window, the button host inside the edit and the button's faces.

#include "controls/AdvStyleIF.h"
#include "controls/AdvXPVS.h"
#include "dropdowns/AdvDropDown.h"
#include "dropdowns/AdvDropDownBars.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Gdi.h"

// ---------------------------------------------------------------------------
// TDropDownForm

TDropDownForm::TDropDownForm(TComponent* AOwner) : TForm(AOwner, 0) { SetBorderStyle(bsNone); }

TDropDownForm::~TDropDownForm() {
  if (FAdvDropDown != nullptr && FAdvDropDown->FDropDownForm == this) FAdvDropDown->FDropDownForm = nullptr;
  FAdvDropDown = nullptr;
}

void TDropDownForm::InitializeAndUpdate() {
  // The bars are made, shown or hidden with their appearances; a bar once made is only hidden.
  UpdateDropDownBars(this);
}

void TDropDownForm::CreateParams(TCreateParams& Params) {
  TForm::CreateParams(Params);
  Params.ExStyle |= WS_EX_TOPMOST;
  // Owned by the edit's form: it stays with that form, and a window it owns itself (a dialog
  // it opens) leads back to it through GetParent.
  if (FAdvDropDown != nullptr)
    if (TCustomForm* form = GetParentForm(FAdvDropDown); form != nullptr && form != this) Params.WndParent = form->Handle();
}

void TDropDownForm::AdjustClientRect(TRect& Rect) {
  TForm::AdjustClientRect(Rect);
  if (FAdvDropDown == nullptr) return;
  const int bw = FAdvDropDown->DropDownBorderWidth();
  Rect = TRect(Rect.Left + bw, Rect.Top + bw, Rect.Right - bw, Rect.Bottom - bw);
}

void TDropDownForm::PaintBackground(TCanvas* Canvas) {
  if (FAdvDropDown == nullptr) return;
  const TAdvCustomDropDown* dd = FAdvDropDown;
  const int bw = dd->DropDownBorderWidth();
  const TRect client = ClientRect();
  TRect r(client.Left + bw, client.Top + bw, client.Right - bw, client.Bottom - bw);
  if (dd->DropDownColor() != clNone && dd->DropDownColorTo() != clNone) {
    DrawGradient(Canvas, dd->DropDownColor(), dd->DropDownColorTo(), 80, r, dd->DropDownGradient() == gdHorizontal);
  } else if (dd->DropDownColor() != clNone) {
    Canvas->Brush()->SetColor(dd->DropDownColor());
    Canvas->FillRect(r);
  }
  // A border colour of clNone draws no border.
  if (bw >= 1 && dd->DropDownBorderColor() != clNone) {
    r = TRect(client.Left + bw / 2, client.Top + bw / 2, client.Right, client.Bottom);
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Pen()->SetWidth(bw);
    Canvas->Pen()->SetColor(dd->DropDownBorderColor());
    Canvas->Rectangle(r);
    Canvas->Pen()->SetWidth(1);
  }
}

void TDropDownForm::PaintWindow(HDC DC) {
  TForm::PaintWindow(DC);
  FCanvas->Lock();
  FCanvas->SetHandle(DC);
  PaintBackground(FCanvas.get());
  FCanvas->SetHandle(nullptr);
  FCanvas->Unlock();
}

void TDropDownForm::WMGetDlgCode(TWMGetDlgCode& Message) { Message.SetResult(DLGC_WANTARROWS | DLGC_WANTALLKEYS); }

void TDropDownForm::CMDialogKey(TWMKey& Message) {
  // Tab and the arrows belong to the pop-up's control, not to focus navigation.
  switch (Message.CharCode()) {
    case VK_TAB: case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: return;
    default: TForm::CMDialogKey(Message);
  }
}

void TDropDownForm::WMNCHitTest(TWMNCHitTest& Message) {
  const TPoint p = ScreenToClient(Message.Pos());
  Message.SetResult(FSizeable && p.X > Width() - 10 && p.Y > Height() - 10 ? HTBOTTOMRIGHT : 0);
}

void TDropDownForm::WMSize(TWMSize& Message) {
  TForm::WMSize(Message);
  Invalidate();
  if (OnSizing && Visible()) OnSizing(this);
}

void TDropDownForm::WMActivate(TWMActivate& Message) {
  TForm::WMActivate(Message);
  if (FBlockActivate) return;
  if (Message.Active() != WA_INACTIVE || !Visible()) return;
  FDeActivate = GetTickCount();
  // A window this one owns (a dialog opened from it) keeps it open.
  HWND active = Message.ActiveWindow() != nullptr ? Message.ActiveWindow() : GetActiveWindow();
  HWND self = HandleAllocated() ? Handle() : nullptr;
  for (HWND w = active != nullptr ? GetParent(active) : nullptr; w != nullptr; w = GetParent(w))
    if (w == self) return;
  // Another program took the activation: the edit does not take it back by taking the focus.
  TScopeGuard reset([this] { FLostToOtherProgram = false; });
  FLostToOtherProgram = Message.ActiveWindow() == nullptr;
  if (FAdvDropDown != nullptr) FAdvDropDown->DoHideDropDown(FCancelOnDeActivate);
  else Hide();
}

void TDropDownForm::DoHide() {
  // Hidden by the window system (not by the edit): the closing steps still run.
  const bool bySystem = FAdvDropDown != nullptr && !FAdvDropDown->FHiding && FAdvDropDown->FDroppedDown;
  TForm::DoHide();
  if (bySystem && FAdvDropDown != nullptr) {
    FDeActivate = GetTickCount();
    FAdvDropDown->CloseBySystem(FCancelOnDeActivate);
  }
}

// ---------------------------------------------------------------------------
// TDropDownEditButton

TDropDownEditButton::TDropDownEditButton(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle.Exclude(csAcceptsControls);
  FControlStyle.Exclude(csSetCaption);
  FControlStyle.Include(csOpaque);
  FButton = new TAdvDropDownSpeedButton(this);
  FButton->SetParent(this);
  FButton->SetVisible(true);
  FButton->SetEnabled(Enabled());
  FButton->SetCaption(String());
  FButton->OnClick = [](TObject*) {};
  FButton->OnMouseUp = [this](TObject*, TMouseButton Button, TShiftState, int, int) { ButtonMouseUp(Button); };
  FButton->SetButtonStyle(TAdvDropDownSpeedButton::bsDropDown);
  FButton->SetGlyph(nullptr);
  TWinControl::SetBounds(Left(), Top(), 16, 25);
  ApplyWidth();
}

void TDropDownEditButton::ApplyWidth() {
  if (FWidth != FBWidth) TWinControl::SetBounds(FLeft, FTop, FBWidth, FHeight);
  FButton->SetBounds(0, 0, FBWidth, FHeight);
}

void TDropDownEditButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  (void)AWidth;
  TWinControl::SetBounds(ALeft, ATop, FBWidth, AHeight);
  FButton->SetBounds(0, 0, FBWidth, FHeight);
}

void TDropDownEditButton::Loaded() {
  TWinControl::Loaded();
  ApplyWidth();
}

void TDropDownEditButton::Dispatch(TMessage& Message) {
  TWinControl::Dispatch(Message);
  if (Message.Msg == WM_SIZE) {
    if (FButton->Width() != FBWidth || FButton->Height() != FHeight) ApplyWidth();
    Message.Result = 0;
  }
}

void TDropDownEditButton::ButtonMouseUp(TMouseButton Button) {
  if (Button == mbLeft && OnClick) OnClick(this);
}

void TDropDownEditButton::CMEnabledChanged(TMessage& Message) {
  TWinControl::CMEnabledChanged(Message);
  FButton->SetEnabled(Enabled());
}

void TDropDownEditButton::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

// ---------------------------------------------------------------------------
// TAdvDropDownSpeedButton

TAdvDropDownSpeedButton::TAdvDropDownSpeedButton(TComponent* AOwner) : TSpeedButton(AOwner) {
  FIsWinXP = HasThemedComCtl();
}

TDropDownEditButton* TAdvDropDownSpeedButton::Host() const { return dynamic_cast<TDropDownEditButton*>(Parent()); }

TAdvCustomDropDown* TAdvDropDownSpeedButton::Edit() const {
  TDropDownEditButton* host = Host();
  return host != nullptr ? dynamic_cast<TAdvCustomDropDown*>(host->FocusControl()) : nullptr;
}

void TAdvDropDownSpeedButton::SetButtonStyle(TButtonStyle v) {
  FButtonStyle = v;
  Invalidate();
}

void TAdvDropDownSpeedButton::SetEtched(bool v) {
  if (v == FEtched) return;
  FEtched = v;
  Invalidate();
}

void TAdvDropDownSpeedButton::SetFocused(bool v) {
  if (v == FFocused) return;
  FFocused = v;
  Invalidate();
}

bool TAdvDropDownSpeedButton::Pressed() const { return (FState == bsDown || FState == bsExclusive) && !FUp; }

int TAdvDropDownSpeedButton::ThemeState() const {
  if (!Enabled()) return 4;
  if (Pressed()) return 3;
  if (FHot) return 2;
  return 1;
}

void TAdvDropDownSpeedButton::CMMouseEnter(TMessage& Message) {
  TSpeedButton::CMMouseEnter(Message);
  FHot = true;
  Invalidate();
}

void TAdvDropDownSpeedButton::CMMouseLeave(TMessage& Message) {
  TSpeedButton::CMMouseLeave(Message);
  FHot = false;
  Invalidate();
}

void TAdvDropDownSpeedButton::Paint() {
  if (FButtonStyle == bsDropDown) PaintDropDown();
  else PaintButton();
}

void TAdvDropDownSpeedButton::DrawArrow() {
  // A fixed triangle whatever the button's size.
  TCanvas* c = Canvas();
  c->Pen()->SetColor(c->Brush()->Color());
  const TPoint pts[3] = {TPoint(5, 7), TPoint(11, 7), TPoint(8, 10)};
  c->Polygon(pts, 3);
}

namespace {
bool ThemeActive() {
  return DropDownThemeBinding.Loaded() && DropDownThemeBinding.IsThemeActive() != nullptr &&
         DropDownThemeBinding.IsThemeActive()();
}

void DrawThemedPart(HWND Wnd, const char16_t* ClassName, HDC DC, int Part, int State, const TRect& R) {
  HTHEME theme = DropDownThemeBinding.OpenThemeData()(Wnd, ClassName);
  if (theme == nullptr) return;
  RECT rc = R;
  DropDownThemeBinding.DrawThemeBackground()(theme, DC, Part, State, &rc, nullptr);
  DropDownThemeBinding.CloseThemeData()(theme);
}
}  // namespace

void TAdvDropDownSpeedButton::PaintDropDown() {
  TCanvas* c = Canvas();
  const TRect client = ClientRect();
  TDropDownEditButton* host = Host();
  TAdvCustomDropDown* edit = Edit();
  const bool pressed = Pressed();

  // 1. Custom colours: the later state wins (pressed over hot).
  if (host != nullptr && host->FButtonColor != clNone) {
    TColor face = host->FButtonColor;
    if (FHot && host->FButtonColorHot != clNone) face = host->FButtonColorHot;
    if (pressed && host->FButtonColorDown != clNone) face = host->FButtonColorDown;
    c->Brush()->SetColor(face);
    c->Pen()->SetColor(face);
    c->FillRect(client);
    if (edit != nullptr && edit->BorderColor() != clNone) {
      c->Pen()->SetColor(edit->BorderColor());
      c->MoveTo(0, client.Top);
      c->LineTo(0, client.Bottom);
    }
    TColor text = host->FButtonTextColor != clNone ? host->FButtonTextColor : clBlack;
    if (FHot && host->FButtonTextColorHot != clNone) text = host->FButtonTextColorHot;
    if (pressed && host->FButtonTextColorDown != clNone) text = host->FButtonTextColorDown;
    c->Brush()->SetColor(text);
    DrawArrow();
    return;
  }

  // 2. A glyph.
  if (Glyph() != nullptr && !Glyph()->Empty()) {
    c->Brush()->SetColor(clBtnFace);
    c->Pen()->SetColor(0x808080);
    c->Rectangle(client);
    Glyph()->SetTransparentMode(tmAuto);
    Glyph()->SetTransparent(true);
    c->Draw(0, 0, Glyph());
    return;
  }

  // A read-only edit shows its button disabled.
  const bool enabled = edit == nullptr || (edit->Enabled() && !edit->ReadOnly());
  if (Enabled() != enabled) SetEnabled(enabled);

  // 3. Themed.
  if (FIsWinXP && ThemeActive()) {
    TRect r = client;
    if (IsWinVistaOrLater()) {
      r.Left += 1;
    } else {
      r = TRect(r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1);
      r.Left += 2;
    }
    HWND wnd = Parent() != nullptr ? Parent()->Handle() : nullptr;
    DrawThemedPart(wnd, u"combobox", c->Handle(), 1, ThemeState(), r);
    return;
  }

  // 4. Classic.
  TSpeedButton::Paint();
  c->Pen()->SetWidth(1);
  c->Pen()->SetColor(clBtnFace);
  c->MoveTo(Width() - 2, 0);
  c->LineTo(0, 0);
  c->LineTo(0, Height() - 1);
  c->Pen()->SetColor(clWhite);
  c->MoveTo(Width() - 3, 1);
  c->LineTo(1, 1);
  c->LineTo(1, Height() - 2);
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(clBlack);
  DrawArrow();
}

void TAdvDropDownSpeedButton::PaintButton() {
  TCanvas* c = Canvas();
  TAdvCustomDropDown* edit = Edit();
  if (edit != nullptr) c->Font()->Assign(edit->Font());
  const TRect client = ClientRect();
  const bool down = FState == bsDown;
  const int shift = down ? 1 : 0;
  const bool themed = FIsWinXP && ThemeActive();
  if (themed) {
    c->FillRect(client);
    HWND wnd = Parent() != nullptr ? Parent()->Handle() : nullptr;
    DrawThemedPart(wnd, u"button", c->Handle(), 1, ThemeState(), TRect(0, 0, Width() + 1, Height() + 1));
  } else if (Flat()) {
    c->FillRect(client);
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(client);
    RECT e = TRect(client.Left, client.Top, client.Right + 1, client.Bottom + 1);
    DrawEdge(c->Handle(), &e, FEtched ? EDGE_ETCHED : EDGE_RAISED, BF_RECT | (down ? BF_FLAT : 0));
  } else {
    TSpeedButton::Paint();
    return;
  }
  const bool glyph = Glyph() != nullptr && !Glyph()->Empty();
  const String caption = Caption();
  int glyphRight = client.Left;
  if (glyph) {
    if (themed) {
      TRect g(client.Left + 2, client.Top + 2, client.Right - 2, client.Bottom - 2);
      int x = g.Left, y = g.Top;
      if (!caption.empty()) x += 2;
      else if (Glyph()->Width() < g.Width()) x = g.Left + (g.Width() - Glyph()->Width()) / 2;
      if (Glyph()->Height() < g.Height()) y = g.Top + (g.Height() - Glyph()->Height()) / 2;
      Glyph()->SetTransparent(true);
      c->Draw(x + shift, y + shift, Glyph());
      glyphRight = x + shift + Glyph()->Width();
    } else {
      TRect g(client.Left + 3 + shift, client.Top + 3 + shift, client.Right - 3 + shift, client.Bottom - 3 + shift);
      DrawTransparentBitmap(c, Glyph(), clBtnFace, g);
      glyphRight = g.Right;
    }
  }
  if (!caption.empty()) {
    c->Brush()->SetStyle(bsClear);
    RECT r;
    UINT flags = DT_SINGLELINE | DT_VCENTER;
    if (glyph && themed) {
      r = TRect(glyphRight + 2, client.Top, client.Right, client.Bottom - 1);
      flags |= DT_LEFT;
    } else {
      r = TRect(client.Left + 3 + shift, client.Top + 1 + shift, client.Right - 3 + shift, client.Bottom - 1 + shift);
      flags |= DT_CENTER;
    }
    DrawText(c->Handle(), caption.c_str(), static_cast<int>(caption.size()), &r, flags);
  }
}
