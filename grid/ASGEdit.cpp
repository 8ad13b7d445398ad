// Edits with a button inside their right edge, and the unit edit.
#include "grid/ASGEdit.h"

#include <algorithm>

#include "controls/AdvXPVS.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Menus.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"
#include "platform/win/UxTheme.h"
#include "platform/win/WinUser.h"

namespace {
constexpr WORD kEditChange = 0x0300;  // EN_CHANGE: a command from the edit itself, not the menu
}  // namespace

// ---------------------------------------------------------------------------
// TAdvSpeedButton

TAdvSpeedButton::TAdvSpeedButton(TComponent* AOwner) : TSpeedButton(AOwner) {}

TAsgEditButton* TAdvSpeedButton::Host() const { return dynamic_cast<TAsgEditButton*>(Owner()); }

void TAdvSpeedButton::SetIsWinXP(bool Value) {
  FIsWinXP = Value;
  Invalidate();
}

void TAdvSpeedButton::SetFlat(bool Value) {
  FFlat = Value;
  Invalidate();
}

void TAdvSpeedButton::CMMouseEnter(TMessage& Message) {
  TSpeedButton::CMMouseEnter(Message);
  FHot = true;
  Invalidate();
}

void TAdvSpeedButton::CMMouseLeave(TMessage& Message) {
  TSpeedButton::CMMouseLeave(Message);
  FHot = false;
  Invalidate();
}

void TAdvSpeedButton::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  TAsgEditButton* host = Host();
  const bool pressed = FState == bsDown || FState == bsExclusive;
  const TColor face = host != nullptr ? host->ButtonColor() : clNone;
  if (face == clNone) {
    bool themed = false;
    if (FIsWinXP && XPVSThemeBinding.Loaded() && XPVSThemeBinding.IsThemeActive() != nullptr &&
        XPVSThemeBinding.IsThemeActive()()) {
      HWND wnd = host != nullptr && host->HandleAllocated() ? host->Handle() : nullptr;
      if (HTHEME theme = XPVSThemeBinding.OpenThemeData()(wnd, u"button")) {
        RECT rc = r;
        const int state = pressed ? TS_PRESSED : FHot ? TS_HOT : TS_NORMAL;
        XPVSThemeBinding.DrawThemeBackground()(theme, c->Handle(), BP_PUSHBUTTON, state, &rc, nullptr);
        XPVSThemeBinding.CloseThemeData()(theme);
        themed = true;
      }
    }
    if (!themed) {
      RECT rc = r;
      if (FFlat) {
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(r);
        DrawEdge(c->Handle(), &rc, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
        r = TRect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
      } else {
        DrawFrameControl(c->Handle(), &rc, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pressed ? DFCS_PUSHED : 0));
        r = rc;
      }
    }
  } else {
    // Coloured faces are always flat.
    FFlat = true;
    TColor fill = face;
    if (pressed && host->ButtonColorDown() != clNone) fill = host->ButtonColorDown();
    else if (!pressed && FHot && host->ButtonColorHot() != clNone) fill = host->ButtonColorHot();
    c->Brush()->SetColor(fill);
    c->Brush()->SetStyle(bsSolid);
    c->FillRect(r);
  }
  const int shift = FState == bsDown ? 1 : 0;
  if (Glyph() != nullptr && !Glyph()->Empty()) {
    const int gw = ButtonGlyphWidth(Glyph(), NumGlyphs()), gh = Glyph()->Height();
    int x = r.Left, y = r.Top;
    if (gw < r.Width()) x = r.Left + (r.Width() - gw) / 2;
    if (gh < r.Height()) y = r.Top + (r.Height() - gh) / 2;
    DrawButtonGlyph(c, Glyph(), NumGlyphs(), Enabled() ? 0 : 1, x + shift, y + shift);
  }
  const String caption = Caption();
  if (!caption.empty()) {
    c->Font()->SetColor(clBlack);
    c->Brush()->SetStyle(bsClear);
    RECT t = TRect(r.Left + shift, r.Top + shift, r.Right + shift, r.Bottom + shift);
    DrawText(c->Handle(), caption.c_str(), static_cast<int>(caption.size()), &t, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  }
}

// ---------------------------------------------------------------------------
// TAsgEditButton

TAsgEditButton::TAsgEditButton(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle.Exclude(csAcceptsControls);
  FControlStyle.Exclude(csSetCaption);
  FControlStyle.Include(csOpaque);
  SetTabStop(false);
  FButton = new TAdvSpeedButton(this);
  FButton->SetVisible(true);
  FButton->SetParent(this);
  FButton->OnMouseUp = [this](TObject*, TMouseButton Button, TShiftState, int, int) { BtnMouseUp(Button); };
  SetBounds(0, 0, 20, 25);
}

TAsgEditButton::~TAsgEditButton() { Destroying(); }

void TAsgEditButton::SetFocusControl(TWinControl* Value) {
  if (FFocusControl != nullptr) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TAsgEditButton::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TAsgEditButton::SetFlat(bool Value) {
  FFlat = Value;
  FButton->SetFlat(Value);
}

void TAsgEditButton::FitButton() {
  if (FButton != nullptr && !IsLoading()) FButton->SetBounds(0, 0, Width(), Height());
}

void TAsgEditButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  FitButton();
}

void TAsgEditButton::Loaded() {
  TWinControl::Loaded();
  FitButton();
}

void TAsgEditButton::CMEnabledChanged(TMessage& Message) {
  TWinControl::CMEnabledChanged(Message);
  FButton->SetEnabled(Enabled());
}

void TAsgEditButton::BtnMouseUp(TMouseButton Button) {
  if (Button != mbLeft) return;
  if (OnClick) OnClick(this);
  if (FFocusControl != nullptr && FFocusControl->TabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused())
    FFocusControl->SetFocus();
  else if (TabStop() && CanFocus() && !Focused())
    SetFocus();
}

// ---------------------------------------------------------------------------
// TAsgEditBtn

TAsgEditBtn::TAsgEditBtn(TComponent* AOwner) : TCustomEdit(AOwner) {
  FControlStyle.Exclude(csSetCaption);
  FButton = new TAsgEditButton(this);
  FButton->SetBounds(0, 0, 18, 18);
  FButton->SetVisible(true);
  FButton->SetParent(this);
  FButton->SetFocusControl(this);
  FButton->OnClick = [this](TObject* Sender) { DoClickBtn(Sender); };
  SetText(u"0");
}

TAsgEditBtn::~TAsgEditBtn() {
  Destroying();
  FButton = nullptr;  // freed as an owned component
}

void TAsgEditBtn::DoClickBtn(TObject* Sender) {
  if (OnClickBtn) OnClickBtn(Sender);
}

void TAsgEditBtn::SetRightAlign(bool Value) {
  if (Value == FRightAlign) return;
  FRightAlign = Value;
  if (HandleAllocated()) UpdateWindowStyle();
}

void TAsgEditBtn::SetButtonWidth(int Value) {
  FButtonWidth = Value;
  FButton->SetWidth(Value);
  SetEditRect();
}

void TAsgEditBtn::SetIsWinXP(bool Value) {
  FIsWinXP = Value;
  FButton->Button()->SetIsWinXP(Value);
}

void TAsgEditBtn::CreateParams(TCreateParams& Params) {
  TCustomEdit::CreateParams(Params);
  Params.Style &= ~(ES_CENTER | ES_RIGHT);
  Params.Style |= ES_MULTILINE | 0x02000000;  // WS_CLIPCHILDREN
  if (FRightAlign) Params.Style |= ES_RIGHT;
}

void TAsgEditBtn::CreateWnd() {
  TCustomEdit::CreateWnd();
  LayoutButton();
}

void TAsgEditBtn::SetEditRect() {
  if (FButton == nullptr || !HandleAllocated()) return;
  const int m = BorderStyle() == bsNone ? 3 : 1;
  RECT r = TRect(m, m, ClientWidth() - FButton->Width() - 5 - FUnitSize - (FUnitSize > 0 ? 3 : 0), ClientHeight() + 1);
  Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

void TAsgEditBtn::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  // Never lower than the text needs.
  if (FButton != nullptr) AHeight = std::max(AHeight, EditMinHeight(Font()));
  TCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
  LayoutButton();
}

void TAsgEditBtn::WMSize(TWMSize& Message) {
  TCustomEdit::WMSize(Message);
  LayoutButton();
}

void TAsgEditBtn::LayoutButton() {
  if (FButton == nullptr) return;
  // The class library's edits always draw in 3-D here.
  const int k = BorderStyle() == bsSingle ? 5 : 1;
  FButton->SetBounds(Width() - FButton->Width() - k, 0, FButton->Width(), Height() - k);
  SetEditRect();
}

void TAsgEditBtn::KeyDown(Word& Key, TShiftState Shift) {
  TCustomEdit::KeyDown(Key, Shift);
  if (Key == VK_F4 && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_LMENU) >= 0 && GetKeyState(VK_RMENU) >= 0 &&
      !Shift.Contains(ssAlt))
    DoClickBtn(this);
}

void TAsgEditBtn::WMChar(TWMKey& Message) {
  if (!FEditorEnabled) return;
  TCustomEdit::WMChar(Message);
}

void TAsgEditBtn::Dispatch(TMessage& Message) {
  if ((Message.Msg == WM_PASTE || Message.Msg == WM_CUT) && (!FEditorEnabled || ReadOnly())) return;
  TCustomEdit::Dispatch(Message);
}

void TAsgEditBtn::DoEnter() {
  // A click into the text places the caret instead of selecting everything.
  const bool keep = FAutoSelect;
  if (GetKeyState(VK_LBUTTON) < 0) FAutoSelect = false;
  TCustomEdit::DoEnter();
  FAutoSelect = keep;
}

// ---------------------------------------------------------------------------
// TAsgUnitEditBtn

TAsgUnitEditBtn::TAsgUnitEditBtn(TComponent* AOwner) : TAsgEditBtn(AOwner), FUnits(std::make_unique<TStringList>()) {
  FUnitSize = 20;
  FPaintOver = true;  // the unit text goes over the native edit's painting
  SetRightAlign(true);
}

TAsgUnitEditBtn::~TAsgUnitEditBtn() { Destroying(); }

void TAsgUnitEditBtn::SetUnitID(const String& Value) {
  FUnitID = Value;
  Invalidate();
}

void TAsgUnitEditBtn::SetUnits(TStrings* Value) {
  if (Value != nullptr) FUnits->Assign(Value);
}

void TAsgUnitEditBtn::SetUnitSpace(int Value) {
  FUnitSize = Value;
  SetEditRect();
  Invalidate();
}

String TAsgUnitEditBtn::TextAndUnit() const { return Text() + FUnitID; }

void TAsgUnitEditBtn::SetTextAndUnit(const String& Value) {
  const int len = static_cast<int>(Value.size());
  for (int i = 0; i < FUnits->Count(); ++i) {
    const String u = FUnits->Strings(i);
    if (u.empty()) continue;
    // The unit's first occurrence must be the value's end.
    const int p = Pos(u, Value);
    if (p > 0 && p == len - static_cast<int>(u.size()) + 1) {
      SetText(Copy(Value, 1, p - 1));
      SetUnitID(Copy(Value, p));
      return;
    }
  }
}

void TAsgUnitEditBtn::DoClickBtn(TObject*) {
  TAsgEditBtn::DoClickBtn(this);
  if (FUnits->Count() == 0) return;
  // One item per unit; the chosen one comes back as a command to the edit, numbered from 1.
  auto menu = std::make_unique<TPopupMenu>(nullptr);
  for (int i = 0; i < FUnits->Count(); ++i) {
    auto* item = new TMenuItem(menu.get());
    item->SetCaption(FUnits->Strings(i));
    const WPARAM id = static_cast<WPARAM>(i + 1);
    item->OnClick = [this, id](TObject*) { Perform(WM_COMMAND, id, 0); };
    menu->Items()->Add(item);
  }
  const TPoint at = ClientToScreen(TPoint(ClientWidth() - 15, ClientHeight()));
  menu->Popup(at.X, at.Y);
}

void TAsgUnitEditBtn::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_COMMAND && HIWORD(Message.WParam) != kEditChange) {
    const int id = LOWORD(Message.WParam);
    if (id >= 1 && id <= FUnits->Count()) {
      const String previous = FUnitID;
      SetUnitID(FUnits->Strings(id - 1));
      if (FUnitID != previous && OnUnitChanged) OnUnitChanged(this, FUnitID);
    }
    return;
  }
  if (Message.Msg == WM_PAINT && Message.WParam != 0) {
    TAsgEditBtn::Dispatch(Message);
    PaintUnit(reinterpret_cast<HDC>(Message.WParam));
    return;
  }
  TAsgEditBtn::Dispatch(Message);
}

void TAsgUnitEditBtn::PaintUnit(HDC DC) {
  if (FUnitID.empty()) return;
  // The paint DC covers the whole window; the unit's place is given in client coordinates.
  const int dx = (Width() - ClientWidth()) / 2, dy = (Height() - ClientHeight()) / 2;
  const int right = ClientWidth() - Button()->Width() - 3;
  RECT r = TRect(right - FUnitSize + dx, 2 + dy, right + dx, ClientHeight() + dy);
  TCanvas canvas;
  canvas.SetHandle(DC);
  canvas.Font()->Assign(Font());
  canvas.Brush()->SetStyle(bsClear);
  DrawText(canvas.Handle(), FUnitID.c_str(), static_cast<int>(FUnitID.size()), &r, DT_EDITCONTROL);
  canvas.SetHandle(nullptr);
}
