// TControl: position, look, mouse handling and message dispatch shared by all controls.
#include <QApplication>
#include <QCursor>
#include <QLocale>
#include <algorithm>
#include <map>

#include "platform/ui/Controls_p.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Graphics.h"
#include "platform/win/Gdi_p.h"

std::function<void(TPopupMenu* Menu, TControl* Control, int X, int Y)> PopupMenuHook;
bool ApplicationShowHint = true;
int ApplicationHintHidePause = 2500;

void TFontDeleter::operator()(TFont* f) const { delete f; }
void TCanvasDeleter::operator()(TCanvas* c) const { delete c; }

namespace {
// A right-to-left process locale (LANG=ar_EG.UTF-8, he_IL.UTF-8, ...) makes the system a
// right-to-left one for the controls' bidirectional modes.
[[maybe_unused]] const bool SysLocaleRead = [] {
  SysLocale.MiddleEast = QLocale::system().textDirection() == Qt::RightToLeft;
  return true;
}();

constexpr TColor kBtnFace = static_cast<TColor>(0xFF00000F);

std::map<TCursor, HCURSOR>& CursorTable() {
  static std::map<TCursor, HCURSOR> table;
  return table;
}
}  // namespace

// ---- Cursors

QCursor CursorOf(TCursor cursor) {
  auto it = CursorTable().find(cursor);
  if (it != CursorTable().end() && it->second != nullptr) {
    QPixmap pm = QPixmap::fromImage(it->second->image);
    return QCursor(pm, it->second->hotSpot.x(), it->second->hotSpot.y());
  }
  switch (cursor) {
    case crNone: return QCursor(Qt::BlankCursor);
    case crCross: return QCursor(Qt::CrossCursor);
    case crIBeam: return QCursor(Qt::IBeamCursor);
    case crSizeNESW: return QCursor(Qt::SizeBDiagCursor);
    case crSizeNS: case crVSplit: return QCursor(Qt::SizeVerCursor);
    case crSizeNWSE: return QCursor(Qt::SizeFDiagCursor);
    case crSizeWE: case crHSplit: return QCursor(Qt::SizeHorCursor);
    case crUpArrow: return QCursor(Qt::UpArrowCursor);
    case crHourGlass: case crSQLWait: return QCursor(Qt::WaitCursor);
    case crDrag: case crMultiDrag: return QCursor(Qt::DragCopyCursor);
    case crNoDrop: case crNo: return QCursor(Qt::ForbiddenCursor);
    case crAppStart: return QCursor(Qt::BusyCursor);
    case crHelp: return QCursor(Qt::WhatsThisCursor);
    case crHandPoint: return QCursor(Qt::PointingHandCursor);
    case crSizeAll: return QCursor(Qt::SizeAllCursor);
    default: return QCursor(Qt::ArrowCursor);
  }
}

void RegisterCursor(TCursor cursor, HCURSOR handle) {
  if (handle == nullptr) CursorTable().erase(cursor); else CursorTable()[cursor] = handle;
}

HCURSOR RegisteredCursor(TCursor cursor) {
  auto it = CursorTable().find(cursor);
  return it == CursorTable().end() ? nullptr : it->second;
}

TShiftState ShiftStateOf(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons) {
  TShiftState s;
  if (mods.testFlag(Qt::ShiftModifier)) s.Include(ssShift);
  if (mods.testFlag(Qt::ControlModifier)) s.Include(ssCtrl);
  if (mods.testFlag(Qt::AltModifier)) s.Include(ssAlt);
  if (buttons.testFlag(Qt::LeftButton)) s.Include(ssLeft);
  if (buttons.testFlag(Qt::RightButton)) s.Include(ssRight);
  if (buttons.testFlag(Qt::MiddleButton)) s.Include(ssMiddle);
  return s;
}

TShiftState KeysToShiftState(WPARAM Keys) {
  TShiftState s;
  if (Keys & MK_SHIFT) s.Include(ssShift);
  if (Keys & MK_CONTROL) s.Include(ssCtrl);
  if (Keys & MK_LBUTTON) s.Include(ssLeft);
  if (Keys & MK_RBUTTON) s.Include(ssRight);
  if (Keys & MK_MBUTTON) s.Include(ssMiddle);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

TShiftState KeyDataToShiftState(LPARAM KeyData) {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (KeyData & (LPARAM(1) << 29)) s.Include(ssAlt);
  return s;
}

// ---- TSizeConstraints

void TSizeConstraints::SetMinWidth(int v) { FMinWidth = std::max(0, v); Changed(); }
void TSizeConstraints::SetMinHeight(int v) { FMinHeight = std::max(0, v); Changed(); }
void TSizeConstraints::SetMaxWidth(int v) { FMaxWidth = std::max(0, v); Changed(); }
void TSizeConstraints::SetMaxHeight(int v) { FMaxHeight = std::max(0, v); Changed(); }
void TSizeConstraints::Changed() {
  FControl->SetBounds(FControl->Left(), FControl->Top(), FControl->Width(), FControl->Height());
}

// ---- TControl

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), FColor(kBtnFace) {
  FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  FFont.reset(new TFont);
  FFont->OnChange = [this](TObject*) { FontChanged(); };
}

TControl::~TControl() {
  Destroying();
  if (FParent != nullptr) FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* AParent) {
  if (AParent == FParent) return;
  if (AParent == this) throw EInvalidOperation(u"A control cannot have itself as its parent");
  if (FParent != nullptr) FParent->RemoveControl(this);
  if (AParent != nullptr) AParent->InsertControl(this);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TRect r = ApplyConstraints(Bounds(ALeft, ATop, std::max(0, AWidth), std::max(0, AHeight)));
  bool sized = r.Width() != FWidth || r.Height() != FHeight;
  bool moved = r.Left != FLeft || r.Top != FTop;
  if (!sized && !moved) return;
  if (FParent != nullptr && !FParent->IsLoading()) InvalidateControl(FVisible, false);
  FLeft = r.Left;
  FTop = r.Top;
  FWidth = r.Width();
  FHeight = r.Height();
  if (FParent != nullptr && !FParent->FAligning) FAnchorsValid = false;
  UpdateBoundsRect();
  if (FParent != nullptr) InvalidateControl(FVisible, false);
  if (FParent != nullptr && !FParent->FAligning && (FAlign != alNone)) FParent->Realign();
  if (sized) Resize();
}

TRect TControl::ApplyConstraints(const TRect& r) const {
  int w = r.Width(), h = r.Height();
  if (FConstraints.MaxWidth() > 0) w = std::min(w, FConstraints.MaxWidth());
  if (FConstraints.MaxHeight() > 0) h = std::min(h, FConstraints.MaxHeight());
  w = std::max(w, FConstraints.MinWidth());
  h = std::max(h, FConstraints.MinHeight());
  return Bounds(r.Left, r.Top, w, h);
}

void TControl::UpdateBoundsRect() {}

TRect TControl::ClientRect() const { return Rect(0, 0, FWidth, FHeight); }

void TControl::SetClientWidth(int v) { SetWidth(FWidth - ClientWidth() + v); }
void TControl::SetClientHeight(int v) { SetHeight(FHeight - ClientHeight() + v); }

TPoint TControl::ClientOrigin() const {
  // A window knows where its client area is on the screen: inside the window frame, below a
  // form's menu bar.
  if (auto* w = dynamic_cast<const TWinControl*>(this))
    if (QWidget* widget = TControlHost::Widget(w)) {
      QPoint p = widget->mapToGlobal(QPoint(0, 0));
      return TPoint(p.x(), p.y());
    }
  if (FParent == nullptr) return TPoint(FLeft, FTop + FHeight - ClientHeight());
  TPoint p = FParent->ClientOrigin();
  return TPoint(p.X + FLeft, p.Y + FTop);
}

TPoint TControl::ClientToScreen(const TPoint& p) const {
  TPoint o = ClientOrigin();
  return TPoint(p.X + o.X, p.Y + o.Y);
}

TPoint TControl::ScreenToClient(const TPoint& p) const {
  TPoint o = ClientOrigin();
  return TPoint(p.X - o.X, p.Y - o.Y);
}

TPoint TControl::ClientToParent(const TPoint& p, TWinControl* AParent) const {
  TPoint r = p;
  const TControl* c = this;
  if (AParent == nullptr) AParent = FParent;
  while (c != nullptr && c != AParent) {
    r.X += c->FLeft;
    r.Y += c->FTop;
    c = c->FParent;
  }
  if (c == nullptr && AParent != nullptr) throw EInvalidOperation(u"Control is not a child of the given parent");
  return r;
}

TPoint TControl::ParentToClient(const TPoint& p, TWinControl* AParent) const {
  TPoint o = ClientToParent(TPoint(0, 0), AParent);
  return TPoint(p.X - o.X, p.Y - o.Y);
}

void TControl::SetAlign(TAlign v) {
  if (v == FAlign) return;
  FAlign = v;
  if (v == alLeft || v == alRight) FAnchors = TAnchors{akLeft, akTop, akBottom};
  else if (v == alTop || v == alBottom) FAnchors = TAnchors{akLeft, akTop, akRight};
  else if (v == alClient) FAnchors = TAnchors{akLeft, akTop, akRight, akBottom};
  RequestAlign();
}

void TControl::SetAnchors(const TAnchors& v) {
  FAnchors = v;
  FAnchorsValid = false;
}

void TControl::RequestAlign() {
  if (FParent != nullptr) FParent->Realign();
}

bool TControl::Showing() const {
  for (const TControl* c = this; c != nullptr; c = c->FParent)
    if (!c->FVisible) return false;
  return true;
}

void TControl::SetVisible(bool v) {
  if (v == FVisible) return;
  VisibleChanging();
  FVisible = v;
  Perform(CM_VISIBLECHANGED, v ? 1 : 0, 0);
  RequestAlign();
}

void TControl::SetEnabled(bool v) {
  if (v == FEnabled) return;
  FEnabled = v;
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetColor(TColor v) {
  if (v == FColor && !FParentColor) return;
  FColor = v;
  FParentColor = false;
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool v) {
  if (v == FParentColor) return;
  FParentColor = v;
  if (v && FParent != nullptr) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::ParentColorChanged() {
  if (FParentColor && FParent != nullptr) {
    FColor = FParent->Color();
    Perform(CM_COLORCHANGED, 0, 0);
    FParentColor = true;  // SetColor would clear it
  }
}

void TControl::SetFont(TFont* v) {
  if (v != nullptr && FFont) FFont->Assign(v);
}

void TControl::FontChanged() {
  if (FUpdatingFont) return;
  FParentFont = false;
  Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetParentFont(bool v) {
  if (v == FParentFont) return;
  FParentFont = v;
  if (v && FParent != nullptr) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::ParentFontChanged() {
  if (FParentFont && FParent != nullptr && FFont && FParent->Font() != nullptr) {
    FUpdatingFont = true;
    FFont->Assign(FParent->Font());
    FUpdatingFont = false;
    Perform(CM_FONTCHANGED, 0, 0);
  }
}

void TControl::SetBiDiMode(TBiDiMode v) {
  FParentBiDiMode = false;
  if (v == FBiDiMode) return;
  FBiDiMode = v;
  Perform(CM_BIDIMODECHANGED, 0, 0);
}

void TControl::SetParentBiDiMode(bool v) {
  if (v == FParentBiDiMode) return;
  FParentBiDiMode = v;
  if (v && FParent != nullptr) Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
}

bool TControl::UseRightToLeftAlignment() const { return SysLocale.MiddleEast && FBiDiMode == bdRightToLeft; }

bool TControl::UseRightToLeftReading() const { return SysLocale.MiddleEast && FBiDiMode != bdLeftToRight; }

bool TControl::UseRightToLeftScrollBar() const {
  return SysLocale.MiddleEast && (FBiDiMode == bdRightToLeft || FBiDiMode == bdRightToLeftNoAlign);
}

UINT TControl::DrawTextBiDiModeFlags(UINT Flags) const {
  if (UseRightToLeftAlignment()) {
    if ((Flags & DT_RIGHT) != 0) Flags &= ~DT_RIGHT;
    else if ((Flags & DT_CENTER) == 0) Flags |= DT_RIGHT;
  }
  return Flags | DrawTextBiDiModeFlagsReadingOnly();
}

UINT TControl::DrawTextBiDiModeFlagsReadingOnly() const { return UseRightToLeftReading() ? DT_RTLREADING : 0; }

void TControl::SetText(const String& v) {
  if (v == GetText()) return;
  SetTextBuf(v);
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetTextBuf(const String& v) { FText = v; }

void TControl::SetCursor(TCursor v) {
  if (v == FCursor) return;
  FCursor = v;
  Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetHint(const String& v) { FHint = v; }

void TControl::SetShowHint(bool v) {
  FShowHint = v;
  FParentShowHint = false;
  if (auto* w = dynamic_cast<TWinControl*>(this)) w->NotifyControls(CM_PARENTSHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool v) {
  if (v == FParentShowHint) return;
  FParentShowHint = v;
  if (v && FParent != nullptr) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::SetPopupMenu(TPopupMenu* v) {
  if (FPopupMenu != nullptr) RemoveFreeNotification(reinterpret_cast<TComponent*>(FPopupMenu));
  FPopupMenu = v;
  // A pop-up menu is a component; hear of its removal.
  if (v != nullptr) FreeNotification(reinterpret_cast<TComponent*>(v));
}

bool TControl::MouseCapture() const {
  if (auto* w = dynamic_cast<const TWinControl*>(this))
    return w->FHandle != nullptr && GetCapture() == w->FHandle;
  return FParent != nullptr && FParent->FHost && FParent->FHost->mouseTarget == this;
}

void TControl::SetMouseCapture(bool v) {
  if (auto* w = dynamic_cast<TWinControl*>(this)) {
    if (v) SetCapture(w->Handle()); else if (MouseCapture()) ReleaseCapture();
    return;
  }
  if (FParent != nullptr && FParent->FHost) {
    if (v) FParent->FHost->mouseTarget = this;
    else if (FParent->FHost->mouseTarget == this) FParent->FHost->mouseTarget = nullptr;
  }
}

void TControl::Invalidate() { InvalidateControl(FVisible, FControlStyle.Contains(csOpaque)); }

void TControl::InvalidateControl(bool IsVisible, bool IsOpaque) {
  (void)IsOpaque;
  if (!IsVisible || FParent == nullptr || !FParent->HandleAllocated()) return;
  TRect r = BoundsRect();
  InvalidateRect(FParent->FHandle, &r, 1);
}

void TControl::Update() {
  if (FParent != nullptr) FParent->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::BringToFront() {
  if (FParent == nullptr) return;
  auto& list = FParent->FControls;
  list.erase(std::find(list.begin(), list.end(), this));
  list.push_back(this);
  if (auto* w = dynamic_cast<TWinControl*>(this); w != nullptr && w->FHost && w->FHost->widget) w->FHost->widget->raise();
  Invalidate();
}

void TControl::SendToBack() {
  if (FParent == nullptr) return;
  auto& list = FParent->FControls;
  list.erase(std::find(list.begin(), list.end(), this));
  list.insert(list.begin(), this);
  if (auto* w = dynamic_cast<TWinControl*>(this); w != nullptr && w->FHost && w->FHost->widget) w->FHost->widget->lower();
  Invalidate();
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage m{Msg, WParam, LParam, 0};
  WndProc(m);
  return m.Result;
}

void TControl::WndProc(TMessage& Message) { Dispatch(Message); }

void TControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEMOVE: { TWMMouse m(Message); WMMouseMove(m); break; }
    case WM_LBUTTONDOWN: { TWMMouse m(Message); WMLButtonDown(m); break; }
    case WM_LBUTTONUP: { TWMMouse m(Message); WMLButtonUp(m); break; }
    case WM_LBUTTONDBLCLK: { TWMMouse m(Message); WMLButtonDblClk(m); break; }
    case WM_RBUTTONDOWN: { TWMMouse m(Message); WMRButtonDown(m); break; }
    case WM_RBUTTONUP: { TWMMouse m(Message); WMRButtonUp(m); break; }
    case WM_MBUTTONDOWN: { TWMMouse m(Message); WMMButtonDown(m); break; }
    case WM_MBUTTONUP: { TWMMouse m(Message); WMMButtonUp(m); break; }
    case WM_MOUSEWHEEL: { TWMMouseWheel m(Message); WMMouseWheel(m); break; }
    case WM_CONTEXTMENU: WMContextMenu(Message); break;
    case WM_CANCELMODE: WMCancelMode(Message); break;
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    case CM_VISIBLECHANGED: CMVisibleChanged(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    case CM_COLORCHANGED: CMColorChanged(Message); break;
    case CM_TEXTCHANGED: CMTextChanged(Message); break;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(Message); break;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(Message); break;
    case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(Message); break;
    case CM_BIDIMODECHANGED: CMBiDiModeChanged(Message); break;
    case CM_PARENTBIDIMODECHANGED: CMParentBiDiModeChanged(Message); break;
    case CM_HINTSHOW: CMHintShow(Message); break;
    case CM_CURSORCHANGED: CMCursorChanged(Message); break;
    default: DefaultHandler(Message); break;
  }
}

void TControl::DefaultHandler(TMessage& Message) {
  if (Message.Msg == WM_NCHITTEST) Message.Result = HTCLIENT;
}

void TControl::DoMouseDown(TWMMouse& Message, TMouseButton Button, TShiftState Shift) {
  if (!FControlStyle.Contains(csNoStdEvents)) {
    TShiftState s = KeysToShiftState(Message.Keys()) + Shift;
    MouseDown(Button, s, Message.XPos(), Message.YPos());
  }
}

void TControl::DoMouseUp(TWMMouse& Message, TMouseButton Button) {
  if (!FControlStyle.Contains(csNoStdEvents))
    MouseUp(Button, KeysToShiftState(Message.Keys()), Message.XPos(), Message.YPos());
}

void TControl::WMMouseMove(TWMMouse& Message) {
  DefaultHandler(Message.M);
  if (!FControlStyle.Contains(csNoStdEvents))
    MouseMove(KeysToShiftState(Message.Keys()), Message.XPos(), Message.YPos());
}

void TControl::WMLButtonDown(TWMMouse& Message) {
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  if (FControlStyle.Contains(csClickEvents)) FControlState.Include(csClicked);
  FControlState.Include(csLButtonDown);
  DefaultHandler(Message.M);
  DoMouseDown(Message, mbLeft, TShiftState());
}

void TControl::WMLButtonDblClk(TWMMouse& Message) {
  if (!FControlStyle.Contains(csDoubleClicks)) {
    // Without double clicks, the second press is an ordinary press.
    WMLButtonDown(Message);
    return;
  }
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  if (FControlStyle.Contains(csClickEvents)) DblClick();
  FControlState.Include(csLButtonDown);
  DefaultHandler(Message.M);
  DoMouseDown(Message, mbLeft, TShiftState{ssDouble});
}

void TControl::WMLButtonUp(TWMMouse& Message) {
  DefaultHandler(Message.M);
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
  FControlState.Exclude(csLButtonDown);
  if (FControlState.Contains(csClicked)) {
    FControlState.Exclude(csClicked);
    if (ClientRect().Contains(Message.Pos())) Click();
  }
  DoMouseUp(Message, mbLeft);
}

void TControl::WMRButtonDown(TWMMouse& Message) {
  DefaultHandler(Message.M);
  DoMouseDown(Message, mbRight, TShiftState());
}

void TControl::WMRButtonUp(TWMMouse& Message) {
  DefaultHandler(Message.M);
  DoMouseUp(Message, mbRight);
  // The release asks for the context menu, once: the window under the mouse gets
  // WM_CONTEXTMENU (a graphic control's is its parent's, which offers it to the control first).
  TPoint screen = ClientToScreen(Message.Pos());
  LPARAM at = MAKELPARAM(static_cast<WORD>(screen.X), static_cast<WORD>(screen.Y));
  if (dynamic_cast<TWinControl*>(this) != nullptr) Perform(WM_CONTEXTMENU, 0, at);
  else if (FParent != nullptr) FParent->Perform(WM_CONTEXTMENU, 0, at);
}

void TControl::WMMButtonDown(TWMMouse& Message) {
  DefaultHandler(Message.M);
  DoMouseDown(Message, mbMiddle, TShiftState());
}

void TControl::WMMButtonUp(TWMMouse& Message) {
  DefaultHandler(Message.M);
  DoMouseUp(Message, mbMiddle);
}

void TControl::WMContextMenu(TMessage& Message) {
  if (Message.Result != 0) return;
  TPoint screen(static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(Message.LParam))),
                static_cast<int16_t>(HIWORD(static_cast<uintptr_t>(Message.LParam))));
  TPoint local = ScreenToClient(screen);
  if (!ClientRect().Contains(local)) return;
  bool handled = false;
  if (OnContextPopup) OnContextPopup(this, local, handled);
  if (handled) { Message.Result = 1; return; }
  // The control's own menu; one it does not have is looked for up the chain by its parents.
  if (FPopupMenu != nullptr && PopupMenuHook) {
    PopupMenuHook(FPopupMenu, this, screen.X, screen.Y);
    Message.Result = 1;
  }
}

void TControl::WMCancelMode(TMessage& Message) {
  if (MouseCapture()) SetMouseCapture(false);
  FControlState.Exclude(csClicked);
  FControlState.Exclude(csLButtonDown);
  DefaultHandler(Message);
}

void TControl::WMMouseWheel(TWMMouseWheel& Message) {
  TShiftState shift = KeysToShiftState(Message.Keys());
  // High-resolution wheels report fractions of a notch; add them up to whole notches.
  FWheelAccumulator += Message.WheelDelta();
  int delta = (FWheelAccumulator / WHEEL_DELTA) * WHEEL_DELTA;
  if (delta == 0 && std::abs(Message.WheelDelta()) < WHEEL_DELTA) { Message.SetResult(1); return; }
  if (delta == 0) delta = Message.WheelDelta();
  FWheelAccumulator -= delta;
  if (DoMouseWheel(shift, delta, Message.Pos())) Message.SetResult(1);
  else DefaultHandler(Message.M);
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  bool handled = false;
  if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
  if (!handled) handled = WheelDelta < 0 ? DoMouseWheelDown(Shift, MousePos) : DoMouseWheelUp(Shift, MousePos);
  return handled;
}

bool TControl::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  bool handled = false;
  if (OnMouseWheelDown) OnMouseWheelDown(this, Shift, MousePos, handled);
  return handled;
}

bool TControl::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  bool handled = false;
  if (OnMouseWheelUp) OnMouseWheelUp(this, Shift, MousePos, handled);
  return handled;
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

void TControl::Loaded() {
  TComponent::Loaded();
  if (FParent != nullptr && FAlign != alNone) FParent->Realign();
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent != nullptr &&
      reinterpret_cast<TComponent*>(FPopupMenu) == AComponent)
    FPopupMenu = nullptr;
}

void TControl::CMMouseEnter(TMessage& Message) {
  if (OnMouseEnter) OnMouseEnter(this);
  DefaultHandler(Message);
}

void TControl::CMMouseLeave(TMessage& Message) {
  if (OnMouseLeave) OnMouseLeave(this);
  DefaultHandler(Message);
}

void TControl::CMEnabledChanged(TMessage& Message) {
  Invalidate();
  DefaultHandler(Message);
}

void TControl::CMVisibleChanged(TMessage& Message) {
  InvalidateControl(true, FVisible && FControlStyle.Contains(csOpaque));
  DefaultHandler(Message);
}

void TControl::CMFontChanged(TMessage& Message) {
  Invalidate();
  DefaultHandler(Message);
}

void TControl::CMColorChanged(TMessage& Message) {
  Invalidate();
  DefaultHandler(Message);
}

void TControl::CMTextChanged(TMessage& Message) {
  Invalidate();
  DefaultHandler(Message);
}

void TControl::CMParentFontChanged(TMessage& Message) {
  ParentFontChanged();
  DefaultHandler(Message);
}

void TControl::CMParentColorChanged(TMessage& Message) {
  ParentColorChanged();
  DefaultHandler(Message);
}

void TControl::CMParentShowHintChanged(TMessage& Message) {
  if (FParentShowHint && FParent != nullptr) {
    FShowHint = FParent->ShowHint();
    if (auto* w = dynamic_cast<TWinControl*>(this)) w->NotifyControls(CM_PARENTSHOWHINTCHANGED);
  }
  DefaultHandler(Message);
}

void TControl::CMBiDiModeChanged(TMessage& Message) {
  if (SysLocale.MiddleEast) Invalidate();
  DefaultHandler(Message);
}

void TControl::CMParentBiDiModeChanged(TMessage& Message) {
  if (FParentBiDiMode && FParent != nullptr && FBiDiMode != FParent->BiDiMode()) {
    FBiDiMode = FParent->BiDiMode();
    Perform(CM_BIDIMODECHANGED, 0, 0);
  }
  DefaultHandler(Message);
}

void TControl::CMHintShow(TMessage& Message) { DefaultHandler(Message); }

void TControl::CMCursorChanged(TMessage& Message) { DefaultHandler(Message); }
