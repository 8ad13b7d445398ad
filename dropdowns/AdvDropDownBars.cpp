// The drop-down window's header and footer bars, their buttons and the button list.

#include "dropdowns/AdvDropDownBars.h"

#include <algorithm>

#include "controls/HtmlText.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Menus.h"
#include "platform/win/Gdi.h"

// ---------------------------------------------------------------------------
// TWindowDCCanvas

TWindowDCCanvas::TWindowDCCanvas(HWND Wnd) : FWnd(Wnd), FDC(GetDC(Wnd)) { SetHandle(FDC); }

TWindowDCCanvas::~TWindowDCCanvas() {
  SetHandle(nullptr);
  ReleaseDC(FWnd, FDC);
}

// ---------------------------------------------------------------------------
// TDbgList

namespace {
[[noreturn]] void ListIndexError(int Index) {
  throw EListError(u"List index out of bounds (" + IntToStr(Index) + u")");
}
}  // namespace

void* TDbgList::Items(int Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  return FList[static_cast<size_t>(Index)];
}

void TDbgList::SetItems(int Index, void* Value) {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  FList[static_cast<size_t>(Index)] = Value;
}

void TDbgList::AssignList(const TDbgList& ListA) {
  Clear();
  for (void* item : ListA.FList) Add(item);
}

void* TDbgList::GetItemsEx(int Index) const {
  if (Index >= Count()) throw Exception(u"Index out of bounds in list read access");
  return Items(Index);
}

void TDbgList::SetItemsEx(int Index, void* Value) {
  if (Index >= Count()) throw Exception(u"Index out of bounds in list write access");
  SetItems(Index, Value);
}

// ---------------------------------------------------------------------------
// TAdvButton

namespace {
bool IsDesigning(const TComponent* C) { return C->ComponentState().Contains(csDesigning); }

}  // namespace

TAdvButton::TAdvButton(TComponent* AOwner) : TCustomControl(AOwner) {
  TCustomControl::SetBounds(0, 0, 23, 22);
  FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks};
  SetParentFont(true);
  Font()->SetName(u"Tahoma");
  SetShowHint(false);
  // The mouse leaving is also seen by CM_MOUSELEAVE; the timer is a backstop for a leave the
  // window system does not report (a window opened over the button), so it need not be fast.
  FUnHotTimer = new TTimer(this);
  FUnHotTimer->SetEnabled(false);
  FUnHotTimer->SetInterval(15);
  FUnHotTimer->SetOnTimer([this](TObject* S) { UnHotTimerTick(S); });
}

TAdvButton::~TAdvButton() = default;

void TAdvButton::SetImages(TCustomImageList* List) {
  FImages = List;
  if (FImages != nullptr) FImages->FreeNotification(this);
  Invalidate();
}

void TAdvButton::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TAdvButton::Loaded() {
  TCustomControl::Loaded();
  if (FInitialDown != FDown) SetDown(FInitialDown);
}

void TAdvButton::SizeToContent() {
  if (FAppearance == nullptr) return;
  TWindowDCCanvas c(nullptr);
  c.Font()->Assign(FAppearance->Font());
  TSize s = GetTextSize(&c, Caption());
  int w = s.cx, h = s.cy;
  if (FImages != nullptr && FImageIndex >= 0) {
    w = std::max(w, FImages->Width());
    h = std::max(h, FImages->Height());
  }
  SetBounds(Left(), Top(), w + 8, h + 4);
}

bool TAdvButton::Inside(int X, int Y) const { return X >= 0 && X < ClientWidth() && Y >= 0 && Y <= ClientHeight(); }

void TAdvButton::SetDown(bool Value) {
  if (ComponentState().Contains(csLoading)) FInitialDown = Value;
  if (FGroupIndex == 0 && FStyle == tasButton) Value = false;
  if (FStyle == tasCheck) {
    FDown = Value;
    FState = Value ? absDown : absUp;
    Invalidate();
    return;
  }
  if (Value == FDown || (FDown && !FAllowAllUp)) return;
  FDown = Value;
  if (Value) {
    if (FState == absUp) Invalidate();
    FState = absExclusive;
    UpdateExclusive();
  } else {
    FState = absUp;
    Invalidate();
  }
}

void TAdvButton::UpdateExclusive() {
  if (FGroupIndex == 0 || Parent() == nullptr) return;
  TMessage msg{CM_BUTTONPRESSED, static_cast<WPARAM>(FGroupIndex), reinterpret_cast<LPARAM>(this), 0};
  Parent()->Broadcast(msg);
}

void TAdvButton::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_BUTTONPRESSED) {
    // Another button of the group went down.
    auto* sender = reinterpret_cast<TAdvButton*>(Message.LParam);
    if (sender != this && static_cast<int>(Message.WParam) == FGroupIndex && dynamic_cast<TAdvButton*>(sender)) {
      if (sender->FDown && FDown) {
        FDown = false;
        FState = absUp;
        Invalidate();
      }
      FAllowAllUp = sender->FAllowAllUp;
    }
    return;
  }
  TCustomControl::Dispatch(Message);
}

void TAdvButton::Click() {
  // 1-3. The modal result goes to the form; a footer button with a closing result closes the
  // drop-down, cancelling for Cancel, Abort, Ignore, No and No to all.
  if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
  const TModalResult r = FModalResult;
  const bool cancel = r == mrCancel || r == mrAbort || r == mrIgnore || r == mrNo || r == mrNoToAll;
  const bool closes = (r >= mrOk && r <= mrAbort) || (r >= mrIgnore && r <= mrNo) || (r >= mrAll && r <= mrYesToAll);
  if (FAdvDropDown != nullptr && closes) FAdvDropDown->HideDropDown(cancel);
  // 4. A key-activated button fires no click event.
  if (!FInternalClick) TCustomControl::Click();
}

// ---- Mouse and keys

void TAdvButton::CMMouseEnter(TMessage& Message) {
  TCustomControl::CMMouseEnter(Message);
  if (IsDesigning(this)) return;
  FMouseInControl = true;
  if (Enabled()) Invalidate();
  FUnHotTimer->SetEnabled(true);
}

void TAdvButton::CMMouseLeave(TMessage& Message) {
  TCustomControl::CMMouseLeave(Message);
  if (IsDesigning(this)) return;
  FUnHotTimer->SetEnabled(false);
  FMouseInControl = false;
  FHot = false;
  if (Enabled()) Invalidate();
}

void TAdvButton::UnHotTimerTick(TObject*) {
  POINT p{};
  GetCursorPos(&p);
  const TPoint c = ScreenToClient(p);
  if (ClientRect().Contains(c) && Showing()) return;
  FUnHotTimer->SetEnabled(false);
  FMouseInControl = false;
  FHot = false;
  if (Enabled()) Invalidate();
}

void TAdvButton::UpdateTracking() {
  if (!Enabled()) return;
  POINT p{};
  GetCursorPos(&p);
  const bool over = Showing() && ClientRect().Contains(ScreenToClient(p));
  Perform(over ? CM_MOUSEENTER : CM_MOUSELEAVE, 0, 0);
}

void TAdvButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (IsDesigning(this) || Button != mbLeft || !Enabled()) return;
  FMouseDownInControl = true;
  if (!FDown || FStyle == tasCheck) {
    FState = absDown;
    Repaint();
  }
  FDragging = true;
}

void TAdvButton::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  if (IsDesigning(this)) return;
  if (FDragging) {
    TAdvButtonState s = FDown ? absExclusive : absUp;
    if (Inside(X, Y)) s = FDown ? absExclusive : absDown;
    if (FStyle == tasCheck && FDown) s = absDown;
    if (s != FState) {
      FState = s;
      Invalidate();
    }
  } else if (!FMouseInControl) {
    UpdateTracking();
  }
}

void TAdvButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (IsDesigning(this)) return;
  FMouseDownInControl = false;
  Invalidate();
  if (FDragging && Button == mbLeft) {
    FDragging = false;
    const bool inside = Inside(X, Y);
    if (FGroupIndex == 0) {
      FState = absUp;
      FMouseInControl = false;
      FHot = false;
      if (FStyle == tasCheck) {
        SetDown(!FDown);
        FState = absUp;
      }
      if (inside) Invalidate();
    } else if (inside) {
      SetDown(!FDown);
      if (FDown) Invalidate();
    } else {
      if (FDown) FState = absExclusive;
      Invalidate();
    }
  }
  UpdateTracking();
}

void TAdvButton::WMKeyDown(TWMKey& Message) {
  const Word key = Message.CharCode();
  if ((key == VK_RETURN || key == VK_SPACE) && Enabled()) {
    if (!FDown || FStyle == tasCheck) {
      FState = absDown;
      Repaint();
    }
    FInternalClick = true;
    try {
      Click();
    } catch (...) {
      FInternalClick = false;
      throw;
    }
    FInternalClick = false;
  }
  TCustomControl::WMKeyDown(Message);
}

void TAdvButton::CMDialogChar(TWMKey& Message) {
  const Char key = static_cast<Char>(Message.CharCode());
  if (Enabled() && Showing() && key != 0 && IsAccel(key, Caption())) {
    Click();
    Message.SetResult(1);
    return;
  }
  TCustomControl::CMDialogChar(Message);
}

void TAdvButton::CMEnabledChanged(TMessage& Message) {
  TCustomControl::CMEnabledChanged(Message);
  Invalidate();
}

void TAdvButton::WMSetFocus(TWMSetFocus& Message) {
  TCustomControl::WMSetFocus(Message);
  Invalidate();
}

void TAdvButton::WMKillFocus(TWMKillFocus& Message) {
  TCustomControl::WMKillFocus(Message);
  Invalidate();
}

// The button paints all of itself, its parent's background first.
void TAdvButton::WMEraseBkgnd(TWMEraseBkgnd& Message) { Message.SetResult(1); }

// ---- Painting

void TAdvButton::PaintParentBackground() {
  TWinControl* parent = Parent();
  HDC dc = Canvas()->Handle();
  if (parent == nullptr || dc == nullptr) return;
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, 0, 0, Width(), Height());
  POINT old{};
  OffsetWindowOrgEx(dc, Left(), Top(), &old);
  parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  RestoreDC(dc, saved);
}

void TAdvButton::Paint() {
  // 1. The state follows enabled, down and the style.
  if (Enabled()) {
    if (FState == absDisabled) FState = FDown && FGroupIndex != 0 ? absExclusive : absUp;
  } else {
    FState = absDisabled;
    FDragging = false;
  }
  if (FStyle == tasCheck && FDown) FState = absDown;
  // 2-3.
  PaintParentBackground();
  DrawButton(Canvas());
}

void TAdvButton::DrawButton(TCanvas* ACanvas) {
  if (FAppearance == nullptr || ACanvas == nullptr) return;
  const TAdvButtonAppearance* a = FAppearance;
  TColor from, to, border;
  if (!Enabled()) {
    from = a->ColorDisabled(), to = a->ColorDisabledTo(), border = a->BorderColorDisabled();
  } else if (FMouseDownInControl && FMouseInControl) {
    from = to = a->ColorDown(), border = a->BorderColorDown();
  } else if (FDown) {
    from = to = a->ColorChecked(), border = a->BorderColorChecked();
  } else if (FMouseInControl || Focused()) {
    from = to = a->ColorHot(), border = a->BorderColorHot();
  } else {
    from = a->Color(), to = a->ColorTo(), border = a->BorderColor();
  }
  DrawGradientRect(ACanvas, ClientRect(), from, to, border, 1, a->Gradient());
  ACanvas->Brush()->SetStyle(bsClear);
  ACanvas->Font()->Assign(a->Font());
  DrawButtonContent(ACanvas, ClientRect(), Caption(), FImages, FImageIndex);
}

// ---------------------------------------------------------------------------
// The bars

TAdvDropDownBar::TAdvDropDownBar(TComponent* AOwner, std::unique_ptr<TBarAppearance> Appearance)
    : TCustomControl(AOwner), FBarAppearance(std::move(Appearance)) {
  FBarAppearance->OnChange = [this](TObject* S) { AppearanceChanged(S); };
}

TAdvDropDownBar::~TAdvDropDownBar() = default;

void TAdvDropDownBar::SetImages(TCustomImageList* v) {
  FImages = v;
  if (FImages != nullptr) FImages->FreeNotification(this);
}

void TAdvDropDownBar::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TAdvDropDownBar::SetAdvDropDown(TAdvCustomDropDown* DropDown) {
  FAdvDropDown = DropDown;
  if (DropDown == nullptr) {
    SetImages(nullptr);
    return;
  }
  SetImages(DropDown->Images());
  AssignFromDropDown();
  // A re-attach also takes a changed height.
  AppearanceChanged(FBarAppearance.get());
  Invalidate();
}

void TAdvDropDownBar::InitButtons() {
  if (FAdvDropDown != nullptr) CreateButtons();
}

void TAdvDropDownBar::AppearanceChanged(TObject*) {
  SetVisible(FBarAppearance->Visible());
  SetHeight(FBarAppearance->Height());
}

TRect TAdvDropDownBar::GetCaptionArea() const {
  if (FButtonList.Count() == 0) return TRect(-1, -1, -1, -1);
  TRect r = GetButtonArea();
  r.Right = ButtonControl(FButtonList.Count() - 1)->Left() - 2;
  return r;
}

bool TAdvDropDownBar::DropDownHasBorder() const {
  return FAdvDropDown != nullptr && FAdvDropDown->DropDownBorderWidth() >= 1 &&
         FAdvDropDown->DropDownBorderColor() != clNone;
}

namespace {
// Posted to a bar to free the buttons its last rebuild retired.
constexpr UINT CM_FREERETIREDBUTTONS = WM_APP + 0x0B01;
}  // namespace

void TAdvDropDownBar::ClearButtons() {
  for (int i = FButtonList.Count() - 1; i >= 0; --i) {
    TAdvButton* b = ButtonControl(i);
    b->SetVisible(false);
    FRetired.push_back(b);
  }
  FButtonList.Clear();
  if (!FRetired.empty() && HandleAllocated()) PostMessage(Handle(), CM_FREERETIREDBUTTONS, 0, 0);
}

void TAdvDropDownBar::Dispatch(TMessage& Message) {
  if (Message.Msg != CM_FREERETIREDBUTTONS) {
    TCustomControl::Dispatch(Message);
    return;
  }
  std::vector<TAdvButton*> retired;
  retired.swap(FRetired);
  for (TAdvButton* b : retired) delete b;
}

void TAdvDropDownBar::CreateButtons() {
  TCollection* list = DescriptionList();
  if (FAdvDropDown == nullptr || list == nullptr) return;
  // 1-2.
  ClearButtons();
  const int maxHeight = GetButtonAreaHeight();
  // 3. One button per description, in collection order.
  for (int i = 0; i < list->Count(); ++i) {
    auto* d = static_cast<THeaderButton*>(list->Items(i));
    auto* b = new TAdvButton(this);
    b->SetParent(this);
    b->SetAppearance(FAdvDropDown->ButtonAppearance());
    b->SetCaption(d->Caption());
    b->SetImages(FImages);
    b->SetImageIndex(d->ImageIndex());
    b->SetEnabled(d->Enabled());
    SetUpButton(b, d);
    b->SizeToContent();
    if (d->Width() > 0) b->SetWidth(d->Width());
    if (d->Height() > 0) b->SetHeight(d->Height());
    if (b->Height() > maxHeight) b->SetHeight(maxHeight);
    b->SetTag(i);
    b->OnClick = [this](TObject* S) { ButtonClick(S); };
    FButtonList.Add(b);
  }
  // 4.
  ArrangeButtons();
}

void TAdvDropDownBar::ArrangeButtons() {
  const TRect a = GetButtonArea();
  int x = FBarAppearance->ButtonAlignment() == baRight ? a.Right : a.Left;
  for (int i = 0; i < FButtonList.Count(); ++i) {
    TAdvButton* b = ButtonControl(i);
    const int top = std::max(a.Top, (a.Bottom - b->Height()) / 2);
    if (FBarAppearance->ButtonAlignment() == baRight) {
      x -= b->Width();
      b->SetBounds(x, top, b->Width(), b->Height());
    } else {
      b->SetBounds(x, top, b->Width(), b->Height());
      x += b->Width();
    }
  }
}

void TAdvDropDownBar::UpdateButtons() {
  TCollection* list = DescriptionList();
  for (int i = 0; i < FButtonList.Count(); ++i) {
    TAdvButton* b = ButtonControl(i);
    if (FAdvDropDown != nullptr) b->SetAppearance(FAdvDropDown->ButtonAppearance());
    b->SetImages(FImages);
    if (list != nullptr && i < list->Count()) {
      auto* d = static_cast<THeaderButton*>(list->Items(i));
      b->SetCaption(d->Caption());
      b->SetImageIndex(d->ImageIndex());
      b->SetEnabled(d->Enabled());
    }
  }
  ArrangeButtons();
}

void TAdvDropDownBar::WMSize(TWMSize& Message) {
  TCustomControl::WMSize(Message);
  ArrangeButtons();
}

void TAdvDropDownBar::Paint() {
  TCanvas* c = Canvas();
  const TRect R = ClientRect();
  // 1. The owner draws everything.
  if (OnDrawBackGround) {
    OnDrawBackGround(this, c, R);
    return;
  }
  const TBarAppearance* a = FBarAppearance.get();
  // 2. Background.
  if (a->ColorTo() != clNone) {
    DrawGradient(c, a->Color(), a->ColorTo(), 80, R, a->GradientDirection() == gdHorizontal);
  } else if (a->Color() != clNone) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(a->Color());
    c->FillRect(R);
  }
  const int bw = a->BorderWidth();
  // 3. Border and its light inner frame.
  if (a->BorderColor() != clNone && bw > 0) {
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetWidth(bw);
    c->Pen()->SetColor(a->BorderColor());
    PaintBorder(c, R, DropDownHasBorder());
  }
  // 4-5. Image.
  TRect T(R.Left + bw, R.Top + bw, R.Right - bw, R.Bottom - bw);
  if (a->ImageIndex() >= 0 && FImages != nullptr) {
    FImages->Draw(c, T.Left + 4, T.Top + (T.Height() - FImages->Height()) / 2, a->ImageIndex(), true);
    T.Left += 4 + FImages->Width() + 4;
  }
  // 6-8. Caption.
  String caption = a->Caption();
  if (OnGetText) OnGetText(this, caption);
  if (!caption.empty()) {
    if (FButtonList.Count() > 0) T.Right = GetCaptionArea().Right;
    c->Font()->Assign(a->Font());
    c->Brush()->SetStyle(bsClear);
    String anchor, plain, focusAnchor, title, controlId, controlValue, controlType;
    int w = 0, h = 0, anchors = 0, hit = 0;
    TRect hitRect, controlRect;
    HWND wnd = HandleAllocated() ? Handle() : nullptr;
    auto html = [&](bool measure) {
      DrawHtmlText(c, caption, T, FImages, 0, 0, -1, 0, 1, false, measure, false, false, true, false, true, false, 1.0,
                   clBlue, clNone, clNone, clGray, anchor, plain, focusAnchor, title, w, h, anchors, hit, hitRect,
                   controlRect, controlId, controlValue, controlType, nullptr, nullptr, wnd, 0);
    };
    html(true);
    if (T.Height() > h) T.Top += (T.Height() - h) / 2;
    html(false);
  }
  // 9. The footer's grip.
  PaintGrip(c, R);
}

namespace {
// The light frame inside the border: 20 % border colour, 80 % white.
void PaintHighlightFrame(TCanvas* c, const TBarAppearance* a, const TRect& r) {
  c->Pen()->SetWidth(1);
  c->Brush()->SetStyle(bsClear);
  c->Pen()->SetColor(BlendColor(a->BorderColor(), clWhite, 20));
  c->Rectangle(r);
}

void Line(TCanvas* c, int X1, int Y1, int X2, int Y2) {
  c->MoveTo(X1, Y1);
  c->LineTo(X2, Y2);
}
}  // namespace

// ---- Header

TAdvHeader::TAdvHeader(TComponent* AOwner) : TAdvDropDownBar(AOwner, std::make_unique<THeaderAppearance>(AOwner)) {
  FAppearance = static_cast<THeaderAppearance*>(FBarAppearance.get());
  FControlStyle = TControlStyle{csAcceptsControls, csClickEvents, csDoubleClicks};
  // The header's own button list is the drop-down's; its changes need nothing here.
  FAppearance->OnButtonsChanged = [](TObject*) {};
}

THeaderButtons* TAdvHeader::Buttons() const {
  return FAdvDropDown != nullptr ? FAdvDropDown->DropDownHeader()->Buttons() : nullptr;
}

TRect TAdvHeader::GetButtonArea() const {
  const TRect r = ClientRect();
  return TRect(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 3);
}

void TAdvHeader::AssignFromDropDown() { FAppearance->Assign(FAdvDropDown->DropDownHeader()); }

void TAdvHeader::ArrangeButtons() {
  if (FButtonList.Count() == 0) return;
  TAdvDropDownBar::ArrangeButtons();
}

void TAdvHeader::ButtonClick(TObject* Sender) {
  auto* b = dynamic_cast<TAdvButton*>(Sender);
  if (b == nullptr || FAdvDropDown == nullptr || !FAdvDropDown->OnDropDownHeaderButtonClick) return;
  FAdvDropDown->OnDropDownHeaderButtonClick(FAdvDropDown, static_cast<int>(b->Tag()));
}

void TAdvHeader::PaintBorder(TCanvas* c, const TRect& R, bool OwnBorder) {
  Line(c, R.Left, R.Bottom - 1, R.Right, R.Bottom - 1);
  if (!OwnBorder) {
    Line(c, R.Left, R.Bottom - 1, R.Left, R.Top);
    Line(c, R.Left, R.Top, R.Right, R.Top);
    Line(c, R.Right, R.Top, R.Right, R.Bottom - 1);
  }
  PaintHighlightFrame(c, FAppearance, TRect(R.Left, R.Top, R.Right, R.Bottom - FAppearance->BorderWidth()));
}

// ---- Footer

TAdvFooter::TAdvFooter(TComponent* AOwner) : TAdvDropDownBar(AOwner, std::make_unique<TFooterAppearance>(AOwner)) {
  FAppearance = static_cast<TFooterAppearance*>(FBarAppearance.get());
  FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks};
}

TFooterButtons* TAdvFooter::Buttons() const {
  return FAdvDropDown != nullptr ? FAdvDropDown->DropDownFooter()->Buttons() : nullptr;
}

bool TAdvFooter::SizeGripVisible() const {
  return FAppearance->SizeGrip() && FAdvDropDown != nullptr && FAdvDropDown->DropDownSizeable();
}

TRect TAdvFooter::GetButtonArea() const {
  const TRect r = ClientRect();
  return TRect(r.Left + 2, r.Top + 2, r.Right - (SizeGripVisible() ? 14 : 2), r.Bottom - 2);
}

void TAdvFooter::AssignFromDropDown() { FAppearance->Assign(FAdvDropDown->DropDownFooter()); }

void TAdvFooter::SetUpButton(TAdvButton* Button, THeaderButton* Description) {
  Button->SetAdvDropDown(FAdvDropDown);
  if (auto* d = dynamic_cast<TFooterButton*>(Description)) Button->SetModalResult(d->ModalResult());
}

void TAdvFooter::ButtonClick(TObject* Sender) {
  auto* b = dynamic_cast<TAdvButton*>(Sender);
  if (b == nullptr || FAdvDropDown == nullptr || !FAdvDropDown->OnDropDownFooterButtonClick) return;
  FAdvDropDown->OnDropDownFooterButtonClick(FAdvDropDown, static_cast<int>(b->Tag()));
}

void TAdvFooter::PaintBorder(TCanvas* c, const TRect& R, bool OwnBorder) {
  Line(c, R.Left, R.Top, R.Right, R.Top);
  if (!OwnBorder) {
    Line(c, R.Left, R.Top, R.Left, R.Bottom);
    Line(c, R.Left, R.Bottom, R.Right, R.Bottom);
    Line(c, R.Right, R.Bottom, R.Right, R.Top);
  }
  PaintHighlightFrame(c, FAppearance, TRect(R.Left, R.Top + FAppearance->BorderWidth(), R.Right, R.Bottom));
}

void TAdvFooter::PaintGrip(TCanvas* c, const TRect& R) {
  if (!SizeGripVisible()) return;
  const int bw = FAppearance->BorderWidth();
  DrawSizeGrip(c, TRect(R.Right - bw - 16, 1, R.Right - bw - 1, R.Bottom), FAppearance->BorderColor());
}

bool TAdvFooter::InGrip(int X, int Y) const { return X > Width() - 12 && Y > Height() - 15; }

void TAdvFooter::RestoreCursor() {
  if (Screen != nullptr && Screen->Cursor() == crSizeNWSE) Screen->SetCursor(FOldCursor);
}

void TAdvFooter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TAdvDropDownBar::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !SizeGripVisible() || Parent() == nullptr || !InGrip(X, Y)) return;
  // The window system (or the form, where it cannot) sizes the window from its corner.
  ReleaseCapture();
  const TPoint p = ClientToScreen(TPoint(X, Y));
  SendMessage(Parent()->Handle(), WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, MAKELPARAM(WORD(p.X), WORD(p.Y)));
}

void TAdvFooter::MouseMove(TShiftState Shift, int X, int Y) {
  TAdvDropDownBar::MouseMove(Shift, X, Y);
  if (Screen == nullptr || !SizeGripVisible()) return;
  if (InGrip(X, Y)) Screen->SetCursor(crSizeNWSE);
  else RestoreCursor();
}

void TAdvFooter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TAdvDropDownBar::MouseUp(Button, Shift, X, Y);
  RestoreCursor();
}

void TAdvFooter::CMMouseEnter(TMessage& Message) {
  TAdvDropDownBar::CMMouseEnter(Message);
  if (Screen != nullptr && Screen->Cursor() != crSizeNWSE) FOldCursor = Screen->Cursor();
}

void TAdvFooter::CMMouseLeave(TMessage& Message) {
  TAdvDropDownBar::CMMouseLeave(Message);
  RestoreCursor();
}

// ---------------------------------------------------------------------------

void DrawSizeGrip(TCanvas* ACanvas, const TRect& G, TColor BorderColor) {
  static const TPoint kDots[6] = {{0, 0}, {4, 0}, {8, 0}, {8, -4}, {8, -8}, {4, -4}};
  auto pass = [ACanvas](TColor Color, int X, int Y) {
    ACanvas->Pen()->SetWidth(1);
    ACanvas->Pen()->SetColor(Color);
    ACanvas->Brush()->SetStyle(bsSolid);
    ACanvas->Brush()->SetColor(Color);
    for (const TPoint& d : kDots) ACanvas->Rectangle(X + d.X, Y + d.Y - 2, X + d.X + 2, Y + d.Y);
  };
  pass(BlendColor(clWhite, clWhite, 50), G.Left + 5, G.Bottom - 2);
  pass(BlendColor(BorderColor, clWhite, 100), G.Left + 4, G.Bottom - 3);
}

void UpdateDropDownBars(TDropDownForm* Form) {
  TAdvCustomDropDown* dd = Form != nullptr ? Form->AdvDropDown() : nullptr;
  if (dd == nullptr) return;
  // Each bar: attached and rebuilt when it exists, else made once its appearance is visible.
  auto bar = [Form, dd](TCustomControl*& Field, TBarAppearance* Appearance, bool Header) {
    auto* b = dynamic_cast<TAdvDropDownBar*>(Field);
    if (b == nullptr && Appearance->Visible()) {
      b = Header ? static_cast<TAdvDropDownBar*>(new TAdvHeader(Form)) : new TAdvFooter(Form);
      b->SetParent(Form);
      b->SetHeight(Appearance->Height());
      b->SetAlign(Header ? alTop : alBottom);
      Field = b;
    }
    if (b == nullptr) return;
    b->SetAdvDropDown(dd);
    b->InitButtons();
    b->SetVisible(Appearance->Visible());
    b->OnDrawBackGround = Header ? dd->OnDrawHeader : dd->OnDrawFooter;
    b->OnGetText = Header ? dd->OnGetHeaderText : dd->OnGetFooterText;
  };
  bar(Form->FHeader, dd->DropDownHeader(), true);
  bar(Form->FFooter, dd->DropDownFooter(), false);
}
