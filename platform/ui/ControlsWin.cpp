// TWinControl and its window: widget hosting, Qt event translation, painting,
// alignment, focus and keys; TGraphicControl and TCustomControl.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <unordered_map>

#include "platform/ui/Controls_p.h"
#include "platform/ui/HintManager_p.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"
#include "platform/win/QtBridge_p.h"
#include "platform/win/Gdi_p.h"
#include "platform/win/Hooks_p.h"

namespace {

WPARAM MouseKeys(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons) {
  WPARAM k = 0;
  if (buttons.testFlag(Qt::LeftButton)) k |= MK_LBUTTON;
  if (buttons.testFlag(Qt::RightButton)) k |= MK_RBUTTON;
  if (buttons.testFlag(Qt::MiddleButton)) k |= MK_MBUTTON;
  if (mods.testFlag(Qt::ShiftModifier)) k |= MK_SHIFT;
  if (mods.testFlag(Qt::ControlModifier)) k |= MK_CONTROL;
  return k;
}

LPARAM PointParam(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

// What a native window answers to WM_GETDLGCODE: the keys its own class handles.
LRESULT NativeDlgCode(const QWidget* w) {
  if (w == nullptr) return 0;
  if (qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QTextEdit*>(w))
    return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | DLGC_WANTALLKEYS;
  // Edits, and windows around an edit (an editable or simple combo box, a spin box).
  if (qobject_cast<const QLineEdit*>(w) || w->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly))
    return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
  if (qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractItemView*>(w) ||
      qobject_cast<const QAbstractSpinBox*>(w))
    return DLGC_WANTCHARS | DLGC_WANTARROWS;
  if (qobject_cast<const QAbstractSlider*>(w)) return DLGC_WANTARROWS;
  if (qobject_cast<const QRadioButton*>(w)) return DLGC_BUTTON | DLGC_RADIOBUTTON;
  if (auto* b = qobject_cast<const QPushButton*>(w))
    return DLGC_BUTTON | (b->isDefault() ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
  if (qobject_cast<const QAbstractButton*>(w)) return DLGC_BUTTON;
  return 0;
}

bool HasPopupMenu(const TControl* control) {
  for (const TControl* c = control; c != nullptr; c = c->Parent())
    if (c->PopupMenu() != nullptr) return true;
  return false;
}

// The control of each window handle.
std::unordered_map<HWND, TWinControl*> gControls;

}  // namespace

// ---- TControlHost

void TControlHost::Attach(TWinControl* control, QWidget* widget, bool painted) {
  if (control->FHost) throw EInvalidOperation(u"Control already has a window");
  control->FHost = std::make_unique<TControlHost>(control, widget);
  TControlHost* host = control->FHost.get();
  control->FHandle = CreateWindowHandle(widget, [control](TMessage& m) { control->WndProc(m); });
  control->FHandle->painted = painted;
  if (auto* ww = dynamic_cast<TWinWidget*>(widget)) ww->wnd = control->FHandle;
  widget->installEventFilter(host);
  widget->setMouseTracking(true);
  // A widget that is not a pop-up, tool or dialog window goes inside the parent's window.
  // (isWindow() cannot tell: a widget made without a parent is a plain window.)
  Qt::WindowType type = widget->windowType();
  if (control->FParent != nullptr && (type == Qt::Widget || type == Qt::Window)) {
    QWidget* parentWidget = Widget(control->FParent);
    if (parentWidget == nullptr) parentWidget = (control->FParent->HandleNeeded(), Widget(control->FParent));
    widget->setParent(parentWidget);
  }
  control->ApplyWidgetState();
}

QWidget* TControlHost::Widget(const TWinControl* control) {
  return control != nullptr && control->FHost ? control->FHost->widget.data() : nullptr;
}

TWinControl* TControlHost::ControlOf(const QWidget* widget) {
  return ControlOf(WindowOfWidget(widget));
}

TWinControl* TControlHost::ControlOf(HWND wnd) {
  auto it = gControls.find(wnd);
  return it == gControls.end() ? nullptr : it->second;
}

bool TControlHost::Translate(TControl* target, TMessage& msg) {
  TMessage* savedCurrent = current;
  bool savedPassed = passed;
  current = &msg;
  passed = false;
  if (auto* w = dynamic_cast<TWinControl*>(target); w != nullptr && w->HandleAllocated())
    GuardedCall([&] { CallWndProcHooks(w->Handle(), msg); });
  GuardedCall([&] { target->WndProc(msg); });
  bool result = passed;
  current = savedCurrent;
  passed = savedPassed;
  return result;
}

void TControlHost::ForgetControl(TControl* c) {
  if (mouseTarget == c) mouseTarget = nullptr;
  if (hover == c) hover = nullptr;
}

bool TControlHost::eventFilter(QObject* watched, QEvent* event) {
  if (watched != widget.data() || bypass) return false;
  bool pass = true;
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
      // A disabled window gets no input: Qt hands it to the parent's window, as the window
      // system gives a click on a disabled window to the window beneath.
      if (!widget->isEnabled()) return false;
      MouseEvent(event, pass);
      // A mouse message belongs to the window under the mouse (or holding the capture) alone.
      return Keep(event, pass);
    }
    case QEvent::Wheel:
      if (!widget->isEnabled()) return false;
      // An unhandled wheel turn goes on to the parent, as the default window procedure passes it.
      MouseEvent(event, pass);
      return !pass;
    case QEvent::ContextMenu:
      // The menu follows the right-button release as WM_CONTEXTMENU; Qt's own request from the
      // press is for the window's native menu, which a pop-up menu up the chain replaces.
      if (static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Mouse && HasPopupMenu(control)) {
        event->accept();
        return true;
      }
      return false;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      if (!widget->isEnabled()) return false;
      KeyEvent(event, pass);
      // Keys go to the focused window alone.
      return Keep(event, pass);
    case QEvent::Enter: {
      TMessage m{CM_MOUSEENTER, 0, 0, 0};
      Translate(control, m);
      return false;
    }
    case QEvent::Leave: {
      if (hover != nullptr) {
        TControl* h = hover;
        hover = nullptr;
        GuardedCall([h] { h->Perform(CM_MOUSELEAVE, 0, 0); });
      }
      TMessage m{CM_MOUSELEAVE, 0, 0, 0};
      Translate(control, m);
      return false;
    }
    case QEvent::FocusIn: {
      // The form sends CM_EXIT/CM_ENTER along the way from the old focused control and
      // CM_FOCUSCHANGED; a control on no form only enters and exits itself.
      auto reason = static_cast<QFocusEvent*>(event)->reason();
      bool kept = true;
      if (TCustomForm* form = GetParentForm(control)) {
        GuardedCall([&] { kept = form->SetFocusedControl(control); });
      } else if (reason != Qt::ActiveWindowFocusReason) {
        TMessage enter{CM_ENTER, 0, 0, 0};
        Translate(control, enter);
      }
      if (!kept) return true;  // a handler sent the focus elsewhere: this window does not get it
      TMessage sf{WM_SETFOCUS, 0, 0, 0};
      Translate(control, sf);
      return false;
    }
    case QEvent::FocusOut: {
      auto reason = static_cast<QFocusEvent*>(event)->reason();
      // WParam: the window that receives the focus (Qt has made it the focus widget already).
      TMessage kf{WM_KILLFOCUS, reinterpret_cast<WPARAM>(GetFocus()), 0, 0};
      Translate(control, kf);
      if (GetParentForm(control) == nullptr && reason != Qt::ActiveWindowFocusReason &&
          reason != Qt::PopupFocusReason) {
        TMessage exit{CM_EXIT, 0, 0, 0};
        Translate(control, exit);
      }
      return false;
    }
    case QEvent::Resize: {
      QSize s = static_cast<QResizeEvent*>(event)->size();
      if (s.width() != control->FWidth || s.height() != control->FHeight) {
        // The window system resized the window (a form dragged larger): follow it.
        control->FWidth = s.width();
        control->FHeight = s.height();
        GuardedCall([this] { control->Resize(); });
      }
      TMessage m{WM_SIZE, SIZE_RESTORED, PointParam(s.width(), s.height()), 0};
      Translate(control, m);
      GuardedCall([this] { control->Realign(); });
      return false;
    }
    case QEvent::Move: {
      if (widget->isWindow()) {
        QPoint p = widget->pos();
        control->FLeft = p.x();
        control->FTop = p.y();
      }
      TMessage m{WM_MOVE, 0, PointParam(widget->x(), widget->y()), 0};
      Translate(control, m);
      return false;
    }
    case QEvent::ToolTip: {
      auto* he = static_cast<QHelpEvent*>(event);
      TPoint p(he->pos().x(), he->pos().y());
      TControl* c = control->ControlAtPos(p, true, false);
      if (c == nullptr) c = control;
      if (ApplicationShowHint && c->ShowHint()) {
        // CM_HINTSHOW may change the text and the place of the hint (lParam: THintInfo*).
        THintInfo info;
        info.HintControl = c;
        info.HintStr = c->Hint();
        size_t bar = info.HintStr.find(u'|');  // short hint | long hint
        if (bar != String::npos) info.HintStr = info.HintStr.substr(0, bar);
        info.HintPos = TPoint(he->globalPos().x(), he->globalPos().y() + 20);  // below the cursor
        info.CursorPos = p;
        info.HideTimeout = ApplicationHintHidePause;
        TMessage m{CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info), 0};
        Translate(c, m);
        if (m.Result == 0 && !info.HintStr.empty()) {
          QRect area = c == control ? widget->rect()
                                    : QRect(c->Left(), c->Top(), c->Width(), c->Height());
          ShowApplicationHint(info, widget, area);
          return true;
        }
      }
      HideApplicationHint();
      event->ignore();
      return true;
    }
    default:
      return false;
  }
}

bool TControlHost::Keep(QEvent* event, bool pass) {
  // The window's own handling, when the message reached DefaultHandler; whatever it does
  // with the event, Qt does not hand it on to the parent windows.
  if (pass) {
    bypass = true;
    static_cast<QObject*>(widget.data())->event(event);
    bypass = false;
  }
  event->accept();
  return true;
}

void TControlHost::MouseEvent(QEvent* event, bool& pass) {
  if (event->type() == QEvent::Wheel) {
    auto* we = static_cast<QWheelEvent*>(event);
    NoteInputState(we->modifiers(), we->buttons());
    int delta = we->angleDelta().y();
    if (delta == 0) return;
    QPoint g = we->globalPosition().toPoint();
    WPARAM w = (MouseKeys(we->modifiers(), we->buttons()) & 0xFFFF) | (static_cast<WPARAM>(static_cast<WORD>(delta)) << 16);
    TMessage m{WM_MOUSEWHEEL, w, PointParam(g.x(), g.y()), 0};
    // The focused control gets the wheel first; it is the control under the mouse here.
    pass = Translate(control, m);
    return;
  }
  auto* me = static_cast<QMouseEvent*>(event);
  NoteInputState(me->modifiers(), me->buttons());
  QPoint pos = me->position().toPoint();
  WPARAM keys = MouseKeys(me->modifiers(), me->buttons());
  Qt::MouseButton b = me->button();
  UINT msg = WM_MOUSEMOVE;
  if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
    bool dbl = event->type() == QEvent::MouseButtonDblClick;
    msg = b == Qt::RightButton ? (dbl ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN)
        : b == Qt::MiddleButton ? (dbl ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN)
                                : (dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN);
    if (dbl && msg != WM_LBUTTONDBLCLK) msg = msg == WM_RBUTTONDBLCLK ? WM_RBUTTONDOWN : WM_MBUTTONDOWN;
  } else if (event->type() == QEvent::MouseButtonRelease) {
    msg = b == Qt::RightButton ? WM_RBUTTONUP : b == Qt::MiddleButton ? WM_MBUTTONUP : WM_LBUTTONUP;
  }

  // A graphic child under the mouse (or holding it) gets the message in its own coordinates.
  TControl* target = mouseTarget;
  if (target == nullptr) {
    TControl* c = control->ControlAtPos(TPoint(pos.x(), pos.y()), false, false);
    if (c != nullptr && dynamic_cast<TWinControl*>(c) == nullptr) target = c;
  }
  if (msg == WM_MOUSEMOVE && mouseTarget == nullptr && target != hover) {
    TControl* old = hover;
    hover = target;
    if (old != nullptr) GuardedCall([&] { old->Perform(CM_MOUSELEAVE, 0, 0); });
    if (target != nullptr) GuardedCall([&] { target->Perform(CM_MOUSEENTER, 0, 0); });
  }
  if (target != nullptr) {
    if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN) mouseTarget = target;
    // csClickEvents on a disabled control: a disabled graphic control gets nothing.
    TMessage m{msg, keys, PointParam(pos.x() - target->Left(), pos.y() - target->Top()), 0};
    Translate(target, m);
    if (event->type() == QEvent::MouseButtonRelease && me->buttons() == Qt::NoButton) mouseTarget = nullptr;
    pass = false;
    return;
  }
  TMessage m{msg, keys, PointParam(pos.x(), pos.y()), 0};
  pass = Translate(control, m);
}

bool TControlHost::DialogKey(WORD vk, LPARAM keyData) {
  // Tab and the arrow keys move the focus unless the control asks for them (CM_WANTSPECIALKEY,
  // WM_GETDLGCODE): its form takes them as dialog keys before the control sees them.
  TMessage want{CM_WANTSPECIALKEY, vk, keyData, 0};
  GuardedCall([&] { control->WndProc(want); });
  if (want.Result != 0) return false;
  TMessage code{WM_GETDLGCODE, 0, 0, 0};
  GuardedCall([&] { control->WndProc(code); });
  if (code.Result & (vk == VK_TAB ? DLGC_WANTTAB : DLGC_WANTARROWS)) return false;
  TCustomForm* form = GetParentForm(control);
  if (form == nullptr) return false;
  TMessage dk{CM_DIALOGKEY, vk, keyData, 0};
  GuardedCall([&] { form->WndProc(dk); });
  return dk.Result != 0;
}

bool TControlHost::DialogChar(Char ch, LPARAM keyData) {
  TControl* top = control;
  while (top->Parent() != nullptr) top = top->Parent();
  TMessage dc{CM_DIALOGCHAR, ch, keyData, 0};
  GuardedCall([&] { top->WndProc(dc); });
  return dc.Result != 0;
}

void TControlHost::KeyEvent(QEvent* event, bool& pass) {
  auto* ke = static_cast<QKeyEvent*>(event);
  NoteInputState(ke->modifiers(), QGuiApplication::mouseButtons());
  bool down = event->type() == QEvent::KeyPress;
  WORD vk = VirtualKeyOf(ke->key(), ke->modifiers());
  if (vk != 0) NoteKeyState(vk, down);
  // The Alt key itself is a system key too (its press does not carry the modifier yet).
  bool alt = ke->modifiers().testFlag(Qt::AltModifier) || ke->key() == Qt::Key_Alt;
  LPARAM keyData = 1;
  if (alt) keyData |= LPARAM(1) << 29;
  if (ke->isAutoRepeat()) keyData |= LPARAM(1) << 30;
  if (!down) keyData |= (LPARAM(1) << 30) | (LPARAM(1) << 31);
  // Keypad keys: the extended-key flag, and bit 6 of the scan code (bit 22), which the keypad's
  // keys have and the main block's do not (the keypad's decimal key against '.' and ',').
  if (ke->modifiers().testFlag(Qt::KeypadModifier)) keyData |= (LPARAM(1) << 24) | (LPARAM(1) << 22);

  bool passKey = true;
  if (down && (vk == VK_TAB || vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN) && DialogKey(vk, keyData)) {
    pass = false;
    return;
  }
  if (vk != 0) {
    TMessage m{down ? (alt ? WM_SYSKEYDOWN : WM_KEYDOWN) : (alt ? WM_SYSKEYUP : WM_KEYUP), vk, keyData, 0};
    passKey = Translate(control, m);
    if (passKey && down && (vk == VK_RETURN || vk == VK_ESCAPE)) {
      // Enter and Escape the control does not want go to the form (default and cancel buttons).
      TMessage want{CM_WANTSPECIALKEY, vk, keyData, 0};
      GuardedCall([&] { control->WndProc(want); });
      if (want.Result == 0) {
        TControl* top = control;
        while (top->Parent() != nullptr) top = top->Parent();
        TMessage dk{CM_DIALOGKEY, vk, keyData, 0};
        GuardedCall([&] { top->WndProc(dk); });
        if (dk.Result != 0) passKey = false;
      }
    }
  }
  QString text = ke->text();
  bool passChar = true;
  bool changed = false;
  QString newText;
  if (down && !text.isEmpty()) {
    for (QChar ch : text) {
      TMessage m{alt ? WM_SYSCHAR : WM_CHAR, ch.unicode(), keyData, 0};
      bool p = Translate(control, m);
      Char out = static_cast<Char>(m.WParam);
      if (!p || out == 0) { passChar = false; continue; }
      // Alt+letter (without Ctrl, which AltGr combinations carry) the control did not take is
      // an accelerator of a caption ("&Next") in its window.
      if (alt && !ke->modifiers().testFlag(Qt::ControlModifier) && DialogChar(out, keyData)) {
        passChar = false;
        continue;
      }
      if (out != ch.unicode()) changed = true;
      newText.append(QChar(out));
    }
  }
  pass = passKey && passChar && !changed;
  if (passKey && changed && !newText.isEmpty() && widget) {
    // KeyPress replaced the character: give Qt the new one.
    QKeyEvent replaced(ke->type(), ke->key(), ke->modifiers(), newText, ke->isAutoRepeat(), ke->count());
    bypass = true;
    QCoreApplication::sendEvent(widget.data(), &replaced);
    bypass = false;
  }
}

void TWinWidget::paintEvent(QPaintEvent* event) { PaintWindow(wnd, event->region()); }

// ---- TWinControl

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
  Destroying();
  // Child controls go with their parent.
  while (!FControls.empty()) {
    TControl* c = FControls.back();
    RemoveControl(c);
    delete c;
  }
  if (FParent != nullptr) FParent->RemoveControl(this);
  DestroyHandle();
}

HWND TWinControl::Handle() {
  if (FHandle == nullptr) CreateHandle();
  return FHandle;
}

void TWinControl::CreateHandle() {
  if (FHandle != nullptr) return;
  if (FParent != nullptr) FParent->HandleNeeded();
  FControlState.Include(csCreating);
  CreateWnd();
  FControlState.Exclude(csCreating);
  if (FHandle == nullptr) throw EInvalidOperation(u"Error creating window for " + Name());
  gControls[FHandle] = this;
  CreateWindowHandle();
  // Children that exist already get their windows now.
  for (TControl* c : FControls)
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->HandleNeeded();
  Realign();
}

void TWinControl::CreateWnd() { TControlHost::Attach(this, new TWinWidget, true); }

void TWinControl::CreateWindowHandle() {}

void TWinControl::DestroyWnd() {
  QWidget* w = TControlHost::Widget(this);
  HWND h = FHandle;
  FHandle = nullptr;
  gControls.erase(h);
  DestroyWindowHandle(h);
  if (w != nullptr) {
    w->removeEventFilter(FHost.get());
    // Child windows are destroyed by their own controls; detach them first.
    for (TControl* c : FControls)
      if (auto* wc = dynamic_cast<TWinControl*>(c); wc != nullptr && TControlHost::Widget(wc) != nullptr)
        TControlHost::Widget(wc)->setParent(nullptr);
    delete w;
  }
  FHost.reset();
}

void TWinControl::DestroyHandle() {
  if (FHandle == nullptr) return;
  FControlState.Include(csDestroyingHandle);
  for (TControl* c : FControls)
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->DestroyHandle();
  DestroyWnd();
  FControlState.Exclude(csDestroyingHandle);
}

void TWinControl::RecreateWnd() {
  if (FHandle == nullptr) return;
  DestroyHandle();
  CreateHandle();
}

void TWinControl::ApplyWidgetState() {
  QWidget* w = TControlHost::Widget(this);
  if (w == nullptr) return;
  if (!w->isWindow()) w->setGeometry(FLeft, FTop, FWidth, FHeight);
  else {
    w->resize(FWidth, FHeight);
    w->move(FLeft, FTop);
  }
  w->setEnabled(FEnabled);
  w->setCursor(CursorOf(Cursor()));
  w->setFocusPolicy(FTabStop ? Qt::StrongFocus : Qt::ClickFocus);
  if (!w->isWindow()) w->setVisible(FVisible);
  if (Font() != nullptr) w->setFont(ToQFont(Font()->Handle()->logFont));
}

TControl* TWinControl::Controls(int Index) const {
  if (Index < 0 || Index >= ControlCount()) throw EListError(u"List index out of bounds");
  return FControls[static_cast<size_t>(Index)];
}

bool TWinControl::ContainsControl(TControl* Control) const {
  for (TControl* c = Control; c != nullptr; c = c->Parent())
    if (c == this) return true;
  return false;
}

TControl* TWinControl::ControlAtPos(const TPoint& Pos, bool AllowDisabled, bool AllowWinControls) const {
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
    TControl* c = *it;
    if (!AllowWinControls && dynamic_cast<TWinControl*>(c) != nullptr) continue;
    if (!c->Visible() || (!AllowDisabled && !c->Enabled())) continue;
    if (c->BoundsRect().Contains(Pos)) return c;
  }
  return nullptr;
}

void TWinControl::InsertControl(TControl* AControl) {
  AControl->FParent = this;
  FControls.push_back(AControl);
  if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
    FTabList.push_back(w);
    if (FHandle != nullptr) {
      if (QWidget* cw = TControlHost::Widget(w)) {
        cw->setParent(TControlHost::Widget(this));
        w->ApplyWidgetState();
      } else {
        w->HandleNeeded();
      }
    }
  }
  if (AControl->FParentColor) AControl->Perform(CM_PARENTCOLORCHANGED, 0, 0);
  if (AControl->FParentFont) AControl->Perform(CM_PARENTFONTCHANGED, 0, 0);
  if (AControl->FParentShowHint) AControl->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
  if (AControl->FParentBiDiMode) AControl->Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
  AControl->FAnchorsValid = false;
  if (AControl->FAlign != alNone) Realign();
  AControl->Invalidate();
}

void TWinControl::RemoveControl(TControl* AControl) {
  auto it = std::find(FControls.begin(), FControls.end(), AControl);
  if (it == FControls.end()) return;
  if (auto* w = dynamic_cast<TWinControl*>(AControl))
    if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(w, true);
  AControl->Invalidate();
  FControls.erase(it);
  if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
    FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), w), FTabList.end());
    if (QWidget* cw = TControlHost::Widget(w); cw != nullptr && !IsDestroying()) {
      cw->hide();
      cw->setParent(nullptr);
    }
  }
  if (FHost) FHost->ForgetControl(AControl);
  AControl->FParent = nullptr;
  if (AControl->FAlign != alNone && !IsDestroying()) Realign();
}

void TWinControl::EnableAlign() {
  if (FAlignLevel > 0 && --FAlignLevel == 0) Realign();
}

void TWinControl::Realign() {
  if (FAlignLevel > 0 || FAligning || IsDestroying()) return;
  TRect r = ClientRect();
  AdjustClientRect(r);
  FAligning = true;
  AlignControls(nullptr, r);
  FAligning = false;
}

void TWinControl::AdjustClientRect(TRect& Rect) { (void)Rect; }

void TWinControl::AlignControls(TControl* AControl, TRect& Rect) {
  (void)AControl;
  const TRect client = Rect;
  auto place = [&](TAlign align) {
    std::vector<TControl*> list;
    for (TControl* c : FControls)
      if (c->FAlign == align && c->FVisible) list.push_back(c);
    // Earlier edge first: top-aligned by Top, bottom-aligned by descending bottom, ...
    std::stable_sort(list.begin(), list.end(), [align](TControl* a, TControl* b) {
      switch (align) {
        case alTop: return a->FTop < b->FTop;
        case alBottom: return a->FTop + a->FHeight > b->FTop + b->FHeight;
        case alLeft: return a->FLeft < b->FLeft;
        case alRight: return a->FLeft + a->FWidth > b->FLeft + b->FWidth;
        default: return false;
      }
    });
    for (TControl* c : list) {
      int w = c->FWidth, h = c->FHeight;
      switch (align) {
        case alTop: c->SetBounds(Rect.Left, Rect.Top, Rect.Width(), h); Rect.Top += c->FHeight; break;
        case alBottom: c->SetBounds(Rect.Left, Rect.Bottom - h, Rect.Width(), h); Rect.Bottom -= c->FHeight; break;
        case alLeft: c->SetBounds(Rect.Left, Rect.Top, w, Rect.Height()); Rect.Left += c->FWidth; break;
        case alRight: c->SetBounds(Rect.Right - w, Rect.Top, w, Rect.Height()); Rect.Right -= c->FWidth; break;
        case alClient: c->SetBounds(Rect.Left, Rect.Top, std::max(0, Rect.Width()), std::max(0, Rect.Height())); break;
        default: break;
      }
    }
  };
  place(alTop);
  place(alBottom);
  place(alLeft);
  place(alRight);
  place(alClient);
  // Anchored controls keep their distance to the right and bottom edges.
  for (TControl* c : FControls) {
    if (c->FAlign != alNone) continue;
    if (!c->FAnchorsValid) {
      c->FAnchorRight = client.Right - (c->FLeft + c->FWidth);
      c->FAnchorBottom = client.Bottom - (c->FTop + c->FHeight);
      c->FAnchorsValid = true;
      continue;
    }
    int l = c->FLeft, t = c->FTop, w = c->FWidth, h = c->FHeight;
    if (c->FAnchors.Contains(akRight)) {
      int right = client.Right - c->FAnchorRight;
      if (c->FAnchors.Contains(akLeft)) w = std::max(0, right - l); else l = right - w;
    }
    if (c->FAnchors.Contains(akBottom)) {
      int bottom = client.Bottom - c->FAnchorBottom;
      if (c->FAnchors.Contains(akTop)) h = std::max(0, bottom - t); else t = bottom - h;
    }
    c->SetBounds(l, t, w, h);
  }
}

TRect TWinControl::ClientRect() const { return Rect(0, 0, FWidth, FHeight); }

void TWinControl::UpdateBoundsRect() {
  QWidget* w = TControlHost::Widget(this);
  if (w == nullptr) {
    Realign();
    return;
  }
  if (w->isWindow()) {
    w->move(FLeft, FTop);
    w->resize(FWidth, FHeight);
  } else {
    w->setGeometry(FLeft, FTop, FWidth, FHeight);
  }
}

void TWinControl::InvalidateControl(bool IsVisible, bool IsOpaque) {
  (void)IsVisible;
  (void)IsOpaque;
  // A window paints itself; only its area in a painted parent needs nothing.
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TWinControl::SetParent(TWinControl* AParent) { TControl::SetParent(AParent); }

void TWinControl::SetVisible(bool v) {
  TControl::SetVisible(v);
  if (QWidget* w = TControlHost::Widget(this); w != nullptr && !w->isWindow()) w->setVisible(v);
}

void TWinControl::SetEnabled(bool v) { TControl::SetEnabled(v); }

void TWinControl::SetTextBuf(const String& v) {
  TControl::SetTextBuf(v);
  if (QWidget* w = TControlHost::Widget(this); w != nullptr && w->isWindow()) w->setWindowTitle(ToQString(v));
}

void TWinControl::Broadcast(TMessage& Message) {
  std::vector<TControl*> list = FControls;
  for (TControl* c : list) {
    c->WndProc(Message);
    if (Message.Result != 0) return;
  }
}

void TWinControl::NotifyControls(UINT Msg) {
  TMessage m{Msg, 0, 0, 0};
  Broadcast(m);
}

// ---- Focus

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c != nullptr; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

bool TWinControl::Focused() const {
  return FHandle != nullptr && QApplication::focusWidget() == TControlHost::Widget(this);
}

void TWinControl::SetFocus() {
  if (!CanFocus()) throw EInvalidOperation(u"Cannot focus a disabled or invisible window");
  // The form takes it as its active control at once, also while its window is not active yet.
  if (TCustomForm* form = GetParentForm(this); form != nullptr && form != this) form->FActiveControl = this;
  ::SetFocus(Handle());
}

void TWinControl::SetTabStop(bool v) {
  FTabStop = v;
  if (QWidget* w = TControlHost::Widget(this)) w->setFocusPolicy(v ? Qt::StrongFocus : Qt::ClickFocus);
}

TTabOrder TWinControl::TabOrder() const {
  if (FParent == nullptr) return -1;
  auto& list = FParent->FTabList;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<TTabOrder>(it - list.begin());
}

void TWinControl::SetTabOrder(TTabOrder v) {
  if (FParent == nullptr) return;
  auto& list = FParent->FTabList;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  v = std::clamp<TTabOrder>(v, 0, static_cast<TTabOrder>(list.size()));
  list.insert(list.begin() + v, this);
  // Qt's focus chain follows the tab list.
  for (size_t i = 1; i < list.size(); ++i) {
    QWidget* a = TControlHost::Widget(list[i - 1]);
    QWidget* b = TControlHost::Widget(list[i]);
    if (a != nullptr && b != nullptr) QWidget::setTabOrder(a, b);
  }
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) const {
  for (TWinControl* w : FTabList) {
    List.push_back(w);
    w->GetTabOrderList(List);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                          bool CheckParent) const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  const int count = static_cast<int>(list.size());
  auto at = std::find(list.begin(), list.end(), CurControl);
  int start = at != list.end() ? static_cast<int>(at - list.begin()) : GoForward ? count - 1 : 0;
  int i = start;
  do {
    i = GoForward ? (i + 1) % count : (i + count - 1) % count;
    TWinControl* c = list[static_cast<size_t>(i)];
    if (c->CanFocus() && (!CheckTabStop || c->TabStop()) && (!CheckParent || c->Parent() == this)) return c;
  } while (i != start);
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  TWinControl* next = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop);
  if (next == nullptr) return;
  // The focus arrives by the keyboard (a radio button checks itself then).
  if (QWidget* w = TControlHost::Widget(next)) w->setFocus(GoForward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
  else next->SetFocus();
}

void TWinControl::SelectFirst() {
  for (TWinControl* w : FTabList)
    if (w->TabStop() && w->CanFocus()) {
      w->SetFocus();
      return;
    }
}

// ---- Painting

void TWinControl::Invalidate() {
  if (FHandle != nullptr) InvalidateRect(FHandle, nullptr, FControlStyle.Contains(csOpaque) ? 0 : 1);
}

void TWinControl::Update() {
  if (FHandle != nullptr) UpdateWindow(FHandle);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

void TWinControl::PaintHandler(TMessage& Message) {
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  PAINTSTRUCT ps;
  if (dc == nullptr) dc = BeginPaint(FHandle, &ps);
  if (dc == nullptr) return;
  if (dc != ps.hdc || ps.fErase || !FControlStyle.Contains(csOpaque)) Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  PaintWindow(dc);
  PaintControls(dc);
  if (dc == ps.hdc) EndPaint(FHandle, &ps);
}

void TWinControl::PaintWindow(HDC DC) { (void)DC; }

void TWinControl::PaintControls(HDC DC, TControl* First) {
  QPainter* p = DCPainter(DC);
  if (p == nullptr) return;
  auto it = FControls.begin();
  if (First != nullptr) it = std::find(FControls.begin(), FControls.end(), First);
  for (; it != FControls.end(); ++it) {
    TControl* c = *it;
    if (dynamic_cast<TWinControl*>(c) != nullptr || !c->Visible()) continue;
    // Each graphic control paints with its origin at its top-left and clipped to its bounds.
    int saved = SaveDC(DC);
    POINT old;
    OffsetWindowOrgEx(DC, -c->Left(), -c->Top(), &old);
    IntersectClipRect(DC, 0, 0, c->Width(), c->Height());
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    RestoreDC(DC, saved);
  }
}

void TWinControl::WMPaint(TWMPaint& Message) {
  if (FHandle != nullptr && FHandle->painted) PaintHandler(Message.M);
  else DefaultHandler(Message.M);
}

void TWinControl::WMEraseBkgnd(TWMEraseBkgnd& Message) {
  QPainter* p = DCPainter(Message.DC());
  if (p != nullptr) {
    RECT r = ClientRect();
    HBRUSH b = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(Color())));
    FillRect(Message.DC(), &r, b);
    DeleteObject(b);
  }
  Message.SetResult(1);
}

void TWinControl::WMSize(TWMSize& Message) { DefaultHandler(Message.M); }
void TWinControl::WMMove(TWMMove& Message) { DefaultHandler(Message.M); }
void TWinControl::WMSetFocus(TWMSetFocus& Message) { DefaultHandler(Message.M); }
void TWinControl::WMKillFocus(TWMKillFocus& Message) { DefaultHandler(Message.M); }

// ---- Keys

namespace {
TWinControl* PreviewForm(TWinControl* self) {
  TControl* top = self;
  while (top->Parent() != nullptr) top = top->Parent();
  return top == self ? nullptr : static_cast<TWinControl*>(top);
}
}  // namespace

bool TWinControl::DoKeyDown(TWMKey& Message) {
  TWinControl* form = PreviewForm(this);
  if (form != nullptr) {
    // A form with KeyPreview runs its own key handler on CM_CHILDKEY first
    // (LParam 1 key down, 2 key up, 3 character); a key it zeroes ends here.
    TMessage m{CM_CHILDKEY, Message.CharCode(), 1, 0};
    form->WndProc(m);
    if (m.WParam == 0) return true;
    Message.SetCharCode(static_cast<WORD>(m.WParam));
  }
  if (!FControlStyle.Contains(csNoStdEvents)) {
    Word key = Message.CharCode();
    KeyDown(key, KeyDataToShiftState(Message.KeyData()));
    Message.SetCharCode(key);
    if (key == 0) return true;
  }
  return false;
}

bool TWinControl::DoKeyUp(TWMKey& Message) {
  TWinControl* form = PreviewForm(this);
  if (form != nullptr) {
    TMessage m{CM_CHILDKEY, Message.CharCode(), 2, 0};
    form->WndProc(m);
    if (m.WParam == 0) return true;
  }
  if (!FControlStyle.Contains(csNoStdEvents)) {
    Word key = Message.CharCode();
    KeyUp(key, KeyDataToShiftState(Message.KeyData()));
    Message.SetCharCode(key);
    if (key == 0) return true;
  }
  return false;
}

bool TWinControl::DoKeyPress(TWMKey& Message) {
  TWinControl* form = PreviewForm(this);
  if (form != nullptr) {
    TMessage m{CM_CHILDKEY, Message.CharCode(), 3, 0};
    form->WndProc(m);
    if (m.WParam == 0) { Message.SetCharCode(0); return true; }
    Message.SetCharCode(static_cast<WORD>(m.WParam));
  }
  if (!FControlStyle.Contains(csNoStdEvents)) {
    Char ch = static_cast<Char>(Message.CharCode());
    KeyPress(ch);
    Message.SetCharCode(ch);
    if (ch == 0) return true;
  }
  return false;
}

void TWinControl::KeyDown(Word& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(Word& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(Char& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

void TWinControl::WMKeyDown(TWMKey& Message) {
  if (!DoKeyDown(Message)) DefaultHandler(Message.M);
}

void TWinControl::WMSysKeyDown(TWMKey& Message) {
  if (!DoKeyDown(Message)) DefaultHandler(Message.M);
}

void TWinControl::WMKeyUp(TWMKey& Message) {
  if (!DoKeyUp(Message)) DefaultHandler(Message.M);
}

void TWinControl::WMChar(TWMKey& Message) {
  if (!DoKeyPress(Message)) DefaultHandler(Message.M);
}

void TWinControl::WMContextMenu(TMessage& Message) {
  if (Message.Result != 0) return;
  // A graphic control at the point answers first, then this control; a request nobody
  // answered goes on to the parent window, as the default window procedure sends it.
  TPoint screen(static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(Message.LParam))),
                static_cast<int16_t>(HIWORD(static_cast<uintptr_t>(Message.LParam))));
  if (TControl* c = ControlAtPos(ScreenToClient(screen), false, false)) Message.Result = c->Perform(WM_CONTEXTMENU, 0, Message.LParam);
  if (Message.Result == 0) TControl::WMContextMenu(Message);
  if (Message.Result == 0 && FParent != nullptr) Message.Result = FParent->Perform(WM_CONTEXTMENU, Message.WParam, Message.LParam);
}

void TWinControl::WMGetDlgCode(TWMGetDlgCode& Message) { DefaultHandler(Message.M); }

void TWinControl::WMSetCursor(TWMSetCursor& Message) { DefaultHandler(Message.M); }

void TWinControl::WMNCHitTest(TWMNCHitTest& Message) { Message.SetResult(HTCLIENT); }

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

void TWinControl::CMEnter(TMessage& Message) {
  DoEnter();
  DefaultHandler(Message);
}

void TWinControl::CMExit(TMessage& Message) {
  DoExit();
  DefaultHandler(Message);
}

void TWinControl::CMDialogKey(TWMKey& Message) {
  // Offer the key to the children (buttons with Default or Cancel answer 1).
  Broadcast(Message.M);
  if (Message.Result() == 0) DefaultHandler(Message.M);
}

void TWinControl::CMDialogChar(TWMKey& Message) {
  Broadcast(Message.M);
  if (Message.Result() == 0) DefaultHandler(Message.M);
}

void TWinControl::CMWantSpecialKey(TWMKey& Message) { DefaultHandler(Message.M); }
void TWinControl::CMFocusChanged(TMessage& Message) { Broadcast(Message); }

void TWinControl::CMFontChanged(TMessage& Message) {
  if (QWidget* w = TControlHost::Widget(this); w != nullptr && Font() != nullptr) w->setFont(ToQFont(Font()->Handle()->logFont));
  NotifyControls(CM_PARENTFONTCHANGED);
  TControl::CMFontChanged(Message);
}

void TWinControl::CMBiDiModeChanged(TMessage& Message) {
  NotifyControls(CM_PARENTBIDIMODECHANGED);
  TControl::CMBiDiModeChanged(Message);
}

void TWinControl::CMColorChanged(TMessage& Message) {
  NotifyControls(CM_PARENTCOLORCHANGED);
  TControl::CMColorChanged(Message);
}

void TWinControl::CMEnabledChanged(TMessage& Message) {
  if (QWidget* w = TControlHost::Widget(this)) w->setEnabled(Enabled());
  TControl::CMEnabledChanged(Message);
}

void TWinControl::CMVisibleChanged(TMessage& Message) { TControl::CMVisibleChanged(Message); }

void TWinControl::CMTextChanged(TMessage& Message) { TControl::CMTextChanged(Message); }

void TWinControl::CMCursorChanged(TMessage& Message) {
  if (QWidget* w = TControlHost::Widget(this)) w->setCursor(CursorOf(Cursor()));
  TControl::CMCursorChanged(Message);
}

void TWinControl::CMHintShow(TMessage& Message) { TControl::CMHintShow(Message); }

void TWinControl::WndProc(TMessage& Message) { TControl::WndProc(Message); }

void TWinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: { TWMPaint m(Message); WMPaint(m); break; }
    case WM_ERASEBKGND: { TWMEraseBkgnd m(Message); WMEraseBkgnd(m); break; }
    case WM_SIZE: { TWMSize m(Message); WMSize(m); break; }
    case WM_MOVE: { TWMMove m(Message); WMMove(m); break; }
    case WM_SETFOCUS: { TWMSetFocus m(Message); WMSetFocus(m); break; }
    case WM_KILLFOCUS: { TWMKillFocus m(Message); WMKillFocus(m); break; }
    case WM_KEYDOWN: { TWMKey m(Message); WMKeyDown(m); break; }
    case WM_SYSKEYDOWN: { TWMKey m(Message); WMSysKeyDown(m); break; }
    case WM_KEYUP: case WM_SYSKEYUP: { TWMKey m(Message); WMKeyUp(m); break; }
    case WM_CHAR: case WM_SYSCHAR: { TWMKey m(Message); WMChar(m); break; }
    case WM_GETDLGCODE: { TWMGetDlgCode m(Message); WMGetDlgCode(m); break; }
    case WM_SETCURSOR: { TWMSetCursor m(Message); WMSetCursor(m); break; }
    case WM_NCHITTEST: { TWMNCHitTest m(Message); WMNCHitTest(m); break; }
    case CM_ENTER: CMEnter(Message); break;
    case CM_EXIT: CMExit(Message); break;
    case CM_DIALOGKEY: { TWMKey m(Message); CMDialogKey(m); break; }
    case CM_DIALOGCHAR: { TWMKey m(Message); CMDialogChar(m); break; }
    case CM_WANTSPECIALKEY: { TWMKey m(Message); CMWantSpecialKey(m); break; }
    case CM_FOCUSCHANGED: CMFocusChanged(Message); break;
    default: TControl::Dispatch(Message); break;
  }
}

void TWinControl::DefaultHandler(TMessage& Message) {
  if (FHost && FHost->current == &Message) {
    FHost->passed = true;
    return;
  }
  if (Message.Msg == CM_CHILDKEY) return;  // no form preview: leave the key as it is
  if (Message.Msg == WM_GETDLGCODE) {
    Message.Result = NativeDlgCode(TControlHost::Widget(this));
    return;
  }
  TControl::DefaultHandler(Message);
}

// ---- TGraphicControl

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {
  FCanvas.reset(new TCanvas);
}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_PAINT) {
    TWMPaint m(Message);
    WMPaint(m);
    return;
  }
  TControl::Dispatch(Message);
}

void TGraphicControl::WMPaint(TWMPaint& Message) {
  if (Message.DC() == nullptr) return;
  FCanvas->Lock();
  FCanvas->SetHandle(Message.DC());
  if (Font() != nullptr) FCanvas->Font()->Assign(Font());
  try {
    Paint();
  } catch (...) {
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
    throw;
  }
  FCanvas->SetHandle(nullptr);
  FCanvas->Unlock();
}

// ---- TCustomControl

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {
  FCanvas.reset(new TCanvas);
}

TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintWindow(HDC DC) {
  FCanvas->Lock();
  FCanvas->SetHandle(DC);
  if (Font() != nullptr) FCanvas->Font()->Assign(Font());
  try {
    Paint();
  } catch (...) {
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
    throw;
  }
  FCanvas->SetHandle(nullptr);
  FCanvas->Unlock();
}
