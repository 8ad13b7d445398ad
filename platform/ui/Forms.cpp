// Forms, the application object (message loop, idle, exceptions), the screen and message boxes.
#include "platform/ui/Forms.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHideEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QPixmap>
#include <QScreen>
#include <QWindow>
#include <algorithm>

#include "platform/rtl/Classes.h"
#include "platform/ui/Controls_p.h"
#include "platform/ui/HintManager_p.h"
#include "platform/ui/Forms_p.h"
#include "platform/ui/Graphics_p.h"
#include "platform/ui/Menus_p.h"
#include "platform/win/QtBridge_p.h"
#include "platform/win/Gdi_p.h"

std::function<void(const String&)> ExceptionReportHook;

TApplication* Application = new TApplication(nullptr);
TScreen* Screen = new TScreen(nullptr);

namespace {

// The window style WS_DISABLED: a form asking for it never takes activation or the focus,
// shown or pressed.
constexpr DWORD kNoActivateStyle = 0x08000000;

// Catches what escapes any event handler Qt runs, so the loop goes on.
class TQtApplication : public QApplication {
public:
  TQtApplication(int& argc, char** argv) : QApplication(argc, argv) {}
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (...) {
      // Rethrown inside the guard, which routes it to the application's handler.
      GuardedCall([] { throw; });
      return false;
    }
  }
};

int gArgc = 1;
char gArg0[] = "rcv910x";
char* gArgv[] = {gArg0, nullptr};
bool gOwnQt = false;  // Initialize started Qt, so the program's end frees it

}  // namespace

// A form's top-level window: the menu bar at the top, the form's own (client) window below
// it. The close box becomes WM_CLOSE; moves and the window system's resizes reach the form.
struct TFormWidget : QWidget {
  TCustomForm* form = nullptr;
  QPointer<QWidget> client;
  QPointer<QMenuBar> bar;

  bool toldActive = false;  // what the form was last told by WM_ACTIVATE

  ~TFormWidget() override {
    // The bar is its menu's; it outlives this window.
    if (bar) {
      bar->hide();
      bar->setParent(nullptr);
    }
    // Windows this one owns belong to their own forms, which free them.
    for (QObject* o : children())
      if (auto* owned = dynamic_cast<TFormWidget*>(o)) {
        owned->hide();
        owned->setParent(nullptr);
      }
  }
  HWND Wnd() const { return form != nullptr ? form->FHandle : nullptr; }
  // WM_ACTIVATE once per change; Other is the window activated when this one goes inactive.
  void TellActive(bool active, HWND other) {
    if (active == toldActive) return;
    toldActive = active;
    if (HWND wnd = Wnd())
      DeliverMessage(wnd, WM_ACTIVATE, active ? WA_ACTIVE : WA_INACTIVE, active ? 0 : reinterpret_cast<LPARAM>(other));
  }
  static bool Owned(const TCustomForm* f) { return f != nullptr && f->FParams.WndParent != nullptr; }
  static bool NoActivate(const TCustomForm* f) { return f != nullptr && (f->FParams.Style & kNoActivateStyle) != 0; }
  static void SetMenuHeight(TCustomForm* f, int height) { f->SetMenuHeight(height); }
  static int MenuHeight(const TCustomForm* f) { return f->FMenuHeight; }
  bool HoldsClient() const { return client && client->parentWidget() == this; }
  void Layout() {
    int menu = form != nullptr ? form->FMenuHeight : 0;
    if (bar) {
      bar->setGeometry(0, 0, width(), menu);
      bar->setVisible(menu > 0);
    }
    if (HoldsClient()) client->setGeometry(0, menu, width(), std::max(0, height() - menu));
  }

protected:
  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    if (HWND wnd = Wnd()) DeliverMessage(wnd, WM_CLOSE, 0, 0);
  }
  // Keys reach the frame when no window inside it has the focus: they are the form's own.
  void keyPressEvent(QKeyEvent* event) override { ForwardKey(event); }
  void keyReleaseEvent(QKeyEvent* event) override { ForwardKey(event); }
  void ForwardKey(QKeyEvent* event) {
    if (HoldsClient() && client->isEnabled()) QCoreApplication::sendEvent(client.data(), event);
    else event->ignore();
  }
  void changeEvent(QEvent* event) override {
    if (event->type() == QEvent::ActivationChange) {
      const bool active = isActiveWindow();
      TellActive(active, active ? nullptr : WindowOfWidget(QApplication::activeWindow()));
    }
    QWidget::changeEvent(event);
  }
  void hideEvent(QHideEvent* event) override {
    QWidget::hideEvent(event);
    // An owned window that goes while active hands the activation to its owner, as on Windows
    // (Qt would leave the keyboard with the hidden window).
    if (QWidget* owner = parentWidget(); owner != nullptr && owner->isVisible() && windowHandle() != nullptr &&
                                         QGuiApplication::focusWindow() == windowHandle())
      owner->activateWindow();
    if (form != nullptr && HoldsClient()) GuardedCall([this] { form->WindowSystemHid(); });
  }
  void resizeEvent(QResizeEvent* event) override {
    // The window system resized the window (a form dragged larger): the form follows.
    if (form != nullptr && HoldsClient() && (width() != form->FWidth || height() != form->FHeight)) {
      form->FWidth = width();
      form->FHeight = height();
      GuardedCall([this] { form->Resize(); });
    }
    Layout();
    QWidget::resizeEvent(event);
  }
  void moveEvent(QMoveEvent* event) override {
    if (form != nullptr && HoldsClient()) {
      form->FLeft = pos().x();
      form->FTop = pos().y();
      if (HWND wnd = Wnd()) DeliverMessage(wnd, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(x()), static_cast<WORD>(y())));
    }
    QWidget::moveEvent(event);
  }
  // Runs before the control layer's translation on the client window: its size and place
  // inside this window are not the form's; the form gets its client size and realigns.
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != client.data() || !HoldsClient() || form == nullptr) return false;
    if (event->type() == QEvent::Move) return true;
    if (event->type() == QEvent::MouseButtonPress) {
      // The form's own area may answer as its sizing corner.
      auto* me = static_cast<QMouseEvent*>(event);
      const QPoint g = me->globalPosition().toPoint();
      if (me->button() == Qt::LeftButton &&
          form->Perform(WM_NCHITTEST, 0, MAKELPARAM(WORD(int16_t(g.x())), WORD(int16_t(g.y())))) == HTBOTTOMRIGHT) {
        GuardedCall([&] { form->SizeFromCorner(TPoint(g.x(), g.y())); });
        return true;
      }
      return false;
    }
    if (event->type() != QEvent::Resize) return false;
    QSize s = client->size();
    if (HWND wnd = Wnd()) DeliverMessage(wnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(static_cast<WORD>(s.width()), static_cast<WORD>(s.height())));
    GuardedCall([this] { form->Realign(); });
    return true;
  }
};

// The form's own window inside its frame; it takes the frame with it when it goes.
struct TFormClient : TWinWidget {
  explicit TFormClient(TFormWidget* f) : TWinWidget(f), frame(f) {}
  ~TFormClient() override {
    if (TFormWidget* f = frame.data()) {
      if (parentWidget() == f) setParent(nullptr);
      delete f;
    }
  }
  QPointer<TFormWidget> frame;
};

namespace {

// While an owned form (a pop-up) is the active window, a press on another of the program's
// windows activates that window first, as a window manager would: the pop-up hears of it
// before the press arrives.
struct TOwnedPressWatch : QObject {
  static void Install() {
    static TOwnedPressWatch* watch = nullptr;
    if (watch == nullptr && qApp != nullptr) {
      watch = new TOwnedPressWatch;
      watch->setParent(qApp);
      qApp->installEventFilter(watch);
    }
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonDblClick) return false;
    auto* window = qobject_cast<QWindow*>(watched);
    if (window == nullptr || QApplication::activePopupWidget() != nullptr) return false;
    auto* active = dynamic_cast<TFormWidget*>(QApplication::activeWindow());
    if (active == nullptr || !TFormWidget::Owned(active->form) || active->windowHandle() == window) return false;
    for (QWidget* top : QApplication::topLevelWidgets()) {
      auto* target = dynamic_cast<TFormWidget*>(top);
      if (target == nullptr || target->windowHandle() != window || !target->isVisible()) continue;
      if (TFormWidget::NoActivate(target->form)) break;
      active->TellActive(false, target->Wnd());
      target->activateWindow();
      break;
    }
    return false;
  }
};

TFormWidget* FrameOf(const TCustomForm* form) {
  auto* client = dynamic_cast<TFormClient*>(TControlHost::Widget(form));
  return client != nullptr && client->frame && client->frame->HoldsClient() ? client->frame.data() : nullptr;
}
}  // namespace

QWidget* FormWindow(const TCustomForm* Form) {
  if (TFormWidget* frame = FrameOf(Form)) return frame;
  return TControlHost::Widget(Form);
}

void SetFormMenuBar(TCustomForm* Form, QMenuBar* Bar) {
  if (Form == nullptr || Form->IsDestroying()) return;
  TFormWidget* frame = FrameOf(Form);
  if (frame != nullptr && frame->bar != Bar) {
    if (frame->bar) {
      frame->bar->hide();
      frame->bar->setParent(nullptr);
    }
    frame->bar = Bar;
    if (Bar != nullptr) Bar->setParent(frame);
  }
  int height = 0;
  if (frame != nullptr && Bar != nullptr && !Bar->actions().isEmpty()) height = Bar->sizeHint().height();
  TFormWidget::SetMenuHeight(Form, height);
  if (frame != nullptr) {
    frame->Layout();
    if (Bar != nullptr) Bar->raise();
  }
}

int FormMenuBarHeight(const TCustomForm* Form) { return Form != nullptr ? TFormWidget::MenuHeight(Form) : 0; }

// ---- TCustomForm

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner), FCanvas(new TCanvas) {
  FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  SetParentColor(false);
  SetColor(clBtnFace);
  FLeft = 0;
  FTop = 0;
  FWidth = 320;
  FHeight = 240;
  FVisible = false;
  Screen->FForms.push_back(this);
  HandleNeeded();
}

TCustomForm::~TCustomForm() {
  Destroying();
  DoDestroy();
  if (Application != nullptr && Application->FMainForm == this) Application->FMainForm = nullptr;
  if (Screen != nullptr) {
    auto& forms = Screen->FForms;
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
  }
}

void TCustomForm::CreateWnd() {
  FParams = TCreateParams();
  CreateParams(FParams);
  auto* frame = new TFormWidget;
  frame->form = this;
  frame->setAttribute(Qt::WA_DeleteOnClose, false);
  auto* client = new TFormClient(frame);
  frame->client = client;
  TControlHost::Attach(this, client, true);
  // Installed after the control layer's filter, so it sees the client's events first.
  client->installEventFilter(frame);
  SetWindowFrame(FHandle, frame);
  if (frame->HoldsClient()) client->show();  // shown and hidden with its frame
  ApplyWindowFlags();
  if (!Text().empty()) FormWindow(this)->setWindowTitle(ToQString(Text()));
  UpdateBoundsRect();
  // A window made again shows the menu bar again, and shows when the form is visible.
  if (TMainMenu* menu = FormMenu(this)) UpdateFormMenuBar(menu);
  if (FVisible) FormWindow(this)->show();
}

void TCustomForm::UpdateBoundsRect() {
  QWidget* w = FormWindow(this);
  if (w == nullptr || !w->isWindow()) {
    TWinControl::UpdateBoundsRect();
    return;
  }
  if (FBorderStyle == bsSingle || FBorderStyle == bsDialog || FBorderStyle == bsToolWindow)
    w->setFixedSize(FWidth, FHeight);
  w->move(FLeft, FTop);
  w->resize(FWidth, FHeight);
  if (TFormWidget* frame = FrameOf(this)) frame->Layout();
  Realign();
}

TRect TCustomForm::ClientRect() const { return Rect(0, 0, FWidth, std::max(0, FHeight - FMenuHeight)); }

void TCustomForm::SetMenuHeight(int Height) {
  if (Height == FMenuHeight) return;
  int client = ClientHeight();
  FMenuHeight = Height;
  if (TFormWidget* frame = FrameOf(this)) frame->Layout();
  SetBounds(FLeft, FTop, FWidth, client + Height);
  Realign();  // also when a constraint kept the outer height
}

void TCustomForm::SetTextBuf(const String& v) {
  TWinControl::SetTextBuf(v);
  if (QWidget* w = FormWindow(this); w != nullptr && w->isWindow()) w->setWindowTitle(ToQString(v));
}

void TCustomForm::CMEnabledChanged(TMessage& Message) {
  // The whole window, menu bar included.
  if (TFormWidget* frame = FrameOf(this)) frame->setEnabled(Enabled());
  TWinControl::CMEnabledChanged(Message);
}

void TCustomForm::DoCreate() {
  if (FCreated) return;
  FCreated = true;
  if (OnCreate) GuardedCall([this] { OnCreate(this); });
}

void TCustomForm::DoDestroy() {
  if (FDestroyed) return;
  FDestroyed = true;
  if (OnDestroy) GuardedCall([this] { OnDestroy(this); });
}

void TCustomForm::Loaded() { TWinControl::Loaded(); }

void TCustomForm::ApplyWindowFlags() {
  QWidget* w = FrameOf(this);
  if (w == nullptr) return;
  bool visible = w->isVisible();
  Qt::WindowFlags f = Qt::Window;
  switch (FBorderStyle) {
    case bsNone: f |= Qt::FramelessWindowHint; break;
    case bsDialog: f = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint; break;
    case bsToolWindow: case bsSizeToolWin: f = Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint; break;
    default:
      f |= Qt::WindowTitleHint | Qt::CustomizeWindowHint;
      if (FBorderIcons.Contains(biSystemMenu)) f |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
      if (FBorderIcons.Contains(biMinimize)) f |= Qt::WindowMinimizeButtonHint;
      if (FBorderIcons.Contains(biMaximize) && FBorderStyle == bsSizeable) f |= Qt::WindowMaximizeButtonHint;
      break;
  }
  // An owned window is a tool window of its owner: above it, without a taskbar entry.
  QWidget* owner = FParams.WndParent != nullptr ? WindowTopWidget(FParams.WndParent) : nullptr;
  if (owner == w || (owner != nullptr && !owner->isWindow())) owner = nullptr;
  if (owner != nullptr) {
    f &= ~Qt::WindowFlags(Qt::WindowType_Mask);
    f |= Qt::Tool;
  }
  if (FFormStyle == fsStayOnTop || (FParams.ExStyle & WS_EX_TOPMOST) != 0) f |= Qt::WindowStaysOnTopHint;
  const bool noActivate = (FParams.Style & kNoActivateStyle) != 0;
  // As the hint windows: a window system activates a shown window of any other kind.
  if (noActivate) f = (f & ~Qt::WindowFlags(Qt::WindowType_Mask)) | Qt::ToolTip | Qt::WindowDoesNotAcceptFocus;
  w->setAttribute(Qt::WA_ShowWithoutActivating, noActivate);
  {
    // Qt hides the window while it changes its kind; that is no hide of the form's.
    const bool hiding = FHidingWindow;
    FHidingWindow = true;
    if (w->parentWidget() != owner) w->setParent(owner, f);
    else w->setWindowFlags(f);
    FHidingWindow = hiding;
  }
  bool fixed = FBorderStyle == bsSingle || FBorderStyle == bsDialog || FBorderStyle == bsToolWindow;
  if (fixed) w->setFixedSize(FWidth, FHeight);
  else {
    w->setMinimumSize(Constraints()->MinWidth(), Constraints()->MinHeight());
    w->setMaximumSize(Constraints()->MaxWidth() > 0 ? Constraints()->MaxWidth() : QWIDGETSIZE_MAX,
                      Constraints()->MaxHeight() > 0 ? Constraints()->MaxHeight() : QWIDGETSIZE_MAX);
  }
  if (visible) w->show();
}

void TCustomForm::RefreshWindowParams() {
  TCreateParams p;
  CreateParams(p);
  const bool changed = p.WndParent != FParams.WndParent || (p.ExStyle & WS_EX_TOPMOST) != (FParams.ExStyle & WS_EX_TOPMOST) ||
                       (p.Style & kNoActivateStyle) != (FParams.Style & kNoActivateStyle);
  FParams = p;
  if (changed) ApplyWindowFlags();
}

void TCustomForm::WindowSystemHid() {
  if (FHidingWindow || !FVisible) return;
  TControl::SetVisible(false);
  DoHide();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle v) { FBorderStyle = v; ApplyWindowFlags(); }
void TCustomForm::SetBorderIcons(const TBorderIcons& v) { FBorderIcons = v; ApplyWindowFlags(); }
void TCustomForm::SetFormStyle(TFormStyle v) { FFormStyle = v; ApplyWindowFlags(); }

TWindowState TCustomForm::WindowState() const {
  QWidget* w = FormWindow(this);
  if (w == nullptr) return wsNormal;
  if (w->isMinimized()) return wsMinimized;
  if (w->isMaximized()) return wsMaximized;
  return wsNormal;
}

void TCustomForm::SetWindowState(TWindowState v) {
  QWidget* w = FormWindow(this);
  if (w == nullptr) return;
  Qt::WindowStates s = v == wsMinimized ? Qt::WindowMinimized : v == wsMaximized ? Qt::WindowMaximized : Qt::WindowNoState;
  w->setWindowState(s);
}

void TCustomForm::SetIcon(TIcon* v) {
  if (!FIcon) FIcon = std::make_unique<TIcon>();
  FIcon->Assign(v);
  if (QWidget* w = FormWindow(this)) {
    QImage img = TBitmapAccess::IconImage(FIcon.get());
    w->setWindowIcon(img.isNull() ? QIcon() : QIcon(QPixmap::fromImage(img)));
  }
}

TWinControl* TCustomForm::ActiveControl() const {
  TWinControl* c = TControlHost::ControlOf(QApplication::focusWidget());
  if (c != nullptr && c != this && ContainsControl(c)) return c;
  return FActiveControl;
}

void TCustomForm::SetActiveControl(TWinControl* v) {
  FActiveControl = v;
  if (v != nullptr && Visible() && v->CanFocus()) v->SetFocus();
}

namespace {
int gFocusChanges = 0;  // counts focus moves, so a focus message can tell whether its handler moved it
}

bool TCustomForm::SetFocusedControl(TWinControl* Control) {
  const int change = ++gFocusChanges;
  FActiveControl = Control != this ? Control : nullptr;
  if (FFocusedControl == nullptr) FFocusedControl = this;
  if (FFocusedControl == Control) return true;
  auto notify = [&](TWinControl* c, UINT msg) {
    c->Perform(msg, 0, 0);
    return gFocusChanges == change;
  };
  // Leave the controls that do not hold the new one, innermost first.
  while (FFocusedControl != nullptr && !FFocusedControl->ContainsControl(Control)) {
    TWinControl* leaving = FFocusedControl;
    FFocusedControl = leaving->Parent();
    if (!notify(leaving, CM_EXIT)) return false;
  }
  if (FFocusedControl == nullptr) FFocusedControl = this;
  // Enter the controls on the way down to the new one, outermost first.
  while (FFocusedControl != Control) {
    TWinControl* next = Control;
    while (next->Parent() != nullptr && next->Parent() != FFocusedControl) next = next->Parent();
    FFocusedControl = next;
    if (!notify(next, CM_ENTER)) return false;
  }
  Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Control));
  return true;
}

void TCustomForm::DefocusControl(TWinControl* Control, bool Removing) {
  if (Control == nullptr || Control == this) return;
  if (Control->ContainsControl(FActiveControl)) FActiveControl = nullptr;
  if (Removing && Control->ContainsControl(FFocusedControl)) FFocusedControl = Control->Parent();
}

bool TCustomForm::Active() const {
  QWidget* w = FormWindow(this);
  return w != nullptr && w->isActiveWindow();
}

void TCustomForm::PlaceOnShow() {
  QRect area;
  if (QScreen* s = QGuiApplication::primaryScreen()) area = s->availableGeometry();
  TCustomForm* centreOn = nullptr;
  switch (FPosition) {
    case poScreenCenter: case poDesktopCenter:
      SetBounds(area.x() + (area.width() - FWidth) / 2, area.y() + (area.height() - FHeight) / 2, FWidth, FHeight);
      return;
    case poMainFormCenter: centreOn = Application->MainForm(); break;
    case poOwnerFormCenter: centreOn = dynamic_cast<TCustomForm*>(Owner()); break;
    default: return;
  }
  if (centreOn == nullptr || centreOn == this) centreOn = nullptr;
  if (centreOn == nullptr) {
    SetBounds(area.x() + (area.width() - FWidth) / 2, area.y() + (area.height() - FHeight) / 2, FWidth, FHeight);
    return;
  }
  SetBounds(centreOn->Left() + (centreOn->Width() - FWidth) / 2, centreOn->Top() + (centreOn->Height() - FHeight) / 2,
            FWidth, FHeight);
}

namespace {

// Without a window manager nothing keeps stay-on-top windows above the others: after a
// window comes to the front, the visible stay-on-top windows are raised again.
void RaiseStayOnTopWindows(const QWidget* Raised) {
  if (Raised->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) return;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w != Raised && w->isVisible() && w->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) w->raise();
}

}  // namespace

void TCustomForm::SetVisible(bool v) {
  QWidget* w = FormWindow(this);
  if (v == Visible() && (w == nullptr || w->isVisible() == v)) return;
  if (v) {
    if (!FShownOnce) {
      FShownOnce = true;
      PlaceOnShow();
    }
    RefreshWindowParams();
    if (FParams.WndParent != nullptr) TOwnedPressWatch::Install();
    w = FormWindow(this);
    TControl::SetVisible(true);
    DoShow();
    if (w != nullptr) {
      w->show();
      w->raise();
      RaiseStayOnTopWindows(w);
      if (!TFormWidget::NoActivate(this)) w->activateWindow();
    }
    if (FActiveControl != nullptr && FActiveControl->CanFocus()) FActiveControl->SetFocus();
  } else {
    TControl::SetVisible(false);
    if (w != nullptr) {
      const bool hiding = FHidingWindow;
      FHidingWindow = true;
      w->hide();
      FHidingWindow = hiding;
    }
    DoHide();
  }
}

void TCustomForm::Show() {
  SetVisible(true);
  BringToFront();
}

void TCustomForm::BringToFront() {
  if (QWidget* w = FormWindow(this)) {
    w->raise();
    RaiseStayOnTopWindows(w);
    if (w->isVisible() && !TFormWidget::NoActivate(this)) w->activateWindow();
  }
}

void TCustomForm::SetFocus() {
  if (!Visible() || !Enabled()) throw EInvalidOperation(u"Cannot focus a disabled or invisible window");
  if (QWidget* w = FormWindow(this)) w->activateWindow();
}

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}

TModalResult TCustomForm::ShowModal() {
  if (Visible() || !Enabled() || FModal)
    throw EInvalidOperation(u"Cannot make a visible window modal");
  QWidget* w = FormWindow(this);
  FModal = true;
  FModalResult = mrNone;
  if (w != nullptr) w->setWindowModality(Qt::ApplicationModal);
  try {
    Show();
    // A loop of our own: the idle handler runs while it waits, as in every loop.
    while (FModalResult == mrNone && !Application->Terminated()) {
      QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
      if (FModalResult != mrNone) {
        TCloseAction action = caHide;
        DoClose(action);
        if (action == caNone) FModalResult = mrNone;
      }
    }
  } catch (...) {
    FModal = false;
    if (w != nullptr) w->setWindowModality(Qt::NonModal);
    throw;
  }
  Hide();
  if (w != nullptr) w->setWindowModality(Qt::NonModal);
  FModal = false;
  return FModalResult;
}

bool TCustomForm::CloseQuery() {
  bool can = true;
  if (OnCloseQuery) OnCloseQuery(this, can);
  return can;
}

void TCustomForm::DoClose(TCloseAction& Action) {
  if (OnClose) OnClose(this, Action);
}

void TCustomForm::Close() {
  if (FModal) {
    FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = Application->MainForm() == this ? caFree : caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Application->MainForm() == this) {
    // Closing the main form ends the application.
    Hide();
    Application->Terminate();
    return;
  }
  if (action == caHide) Hide();
  else if (action == caMinimize) SetWindowState(wsMinimized);
  else Release();
}

void TCustomForm::Release() {
  Hide();
  QPointer<QObject> guard(TControlHost::Widget(this));
  TCustomForm* self = this;
  QMetaObject::invokeMethod(qApp, [self, guard] { if (!guard.isNull()) delete self; }, Qt::QueuedConnection);
}

void TCustomForm::PaintWindow(HDC DC) {
  if (!OnPaint) return;
  FCanvas->Lock();
  FCanvas->SetHandle(DC);
  FCanvas->Font()->Assign(Font());
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

void TCustomForm::Paint() {
  if (OnPaint) OnPaint(this);
}

void TCustomForm::CMDialogKey(TWMKey& Message) {
  if (GetKeyState(VK_MENU) >= 0) {
    switch (Message.CharCode()) {
      case VK_TAB:
        // Tab and Shift+Tab: the next or previous tab stop of the whole form.
        if (GetKeyState(VK_CONTROL) < 0) break;
        SelectNext(ActiveControl(), GetKeyState(VK_SHIFT) >= 0, true);
        Message.SetResult(1);
        return;
      case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
        // The arrows: the next or previous control of the same parent (a radio group's buttons).
        if (TWinControl* c = ActiveControl(); c != nullptr && c != this && c->Parent() != nullptr) {
          c->Parent()->SelectNext(c, Message.CharCode() == VK_RIGHT || Message.CharCode() == VK_DOWN, false);
          Message.SetResult(1);
        }
        return;
      default: break;
    }
  }
  TWinControl::CMDialogKey(Message);
}

void TCustomForm::CMChildKey(TMessage& Message) {
  if (!FKeyPreview) return;
  TShiftState shift = KeyDataToShiftState(0);
  if (Message.LParam == 3) {
    Char ch = static_cast<Char>(Message.WParam);
    KeyPress(ch);
    Message.WParam = ch;
    return;
  }
  Word key = static_cast<Word>(Message.WParam);
  if (Message.LParam == 2) KeyUp(key, shift); else KeyDown(key, shift);
  Message.WParam = key;
}

void TCustomForm::WMClose(TMessage&) { Close(); }

void TCustomForm::WMNCLButtonDown(TMessage& Message) {
  if (Message.WParam == WPARAM(HTBOTTOMRIGHT))
    SizeFromCorner(TPoint(int16_t(LOWORD(uintptr_t(Message.LParam))), int16_t(HIWORD(uintptr_t(Message.LParam)))));
}

namespace {

// Sizes a window from its bottom-right corner by following the mouse until the left button
// goes up (where the window system cannot size it).
struct TCornerDrag : QObject {
  TCornerDrag(TCustomForm* f, QWidget* w, QPoint from) : form(f), window(w), start(from), size(f->Width(), f->Height()) {
    window->installEventFilter(this);
    window->grabMouse(Qt::SizeFDiagCursor);
  }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::MouseMove) {
      auto* me = static_cast<QMouseEvent*>(event);
      const QPoint d = me->globalPosition().toPoint() - start;
      GuardedCall([&] { Follow(size.width() + d.x(), size.height() + d.y()); });
      return true;
    }
    if (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::Hide) {
      End();
      return event->type() != QEvent::Hide;
    }
    return event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
  }
  void Follow(int width, int height) {
    TSizeConstraints* c = form->Constraints();
    width = std::max({1, width, c->MinWidth()});
    height = std::max({1, height, c->MinHeight()});
    RECT r = Bounds(form->Left(), form->Top(), width, height);
    form->Perform(WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&r));
    form->SetBounds(r.Left, r.Top, r.Width(), r.Height());
  }
  void End() {
    if (ended) return;
    ended = true;
    window->removeEventFilter(this);
    window->releaseMouse();
    deleteLater();
  }
  TCustomForm* form;
  QPointer<QWidget> window;
  QPoint start;
  QSize size;
  bool ended = false;
};

}  // namespace

void TCustomForm::SizeFromCorner(TPoint ScreenPos) {
  QWidget* w = FormWindow(this);
  if (w == nullptr || !w->isWindow() || !w->isVisible()) return;
  ReleaseCapture();
  if (QWindow* h = w->windowHandle(); h != nullptr && h->startSystemResize(Qt::BottomEdge | Qt::RightEdge)) return;
  auto* drag = new TCornerDrag(this, w, QPoint(ScreenPos.X, ScreenPos.Y));
  drag->setParent(w);
}

void TCustomForm::WMActivate(TWMActivate& Message) {
  if (Message.Active() != WA_INACTIVE) {
    if (OnActivate) OnActivate(this);
  } else if (OnDeactivate) {
    OnDeactivate(this);
  }
}

void TCustomForm::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_CHILDKEY: CMChildKey(Message); break;
    case WM_CLOSE: WMClose(Message); break;
    case WM_ACTIVATE: { TWMActivate m(Message); WMActivate(m); break; }
    case WM_NCLBUTTONDOWN: WMNCLButtonDown(Message); break;
    default: TWinControl::Dispatch(Message); break;
  }
}

TCustomForm* GetParentForm(TControl* Control) {
  TControl* c = Control;
  while (c != nullptr && c->Parent() != nullptr) c = c->Parent();
  return dynamic_cast<TCustomForm*>(c);
}

// ---- TApplication

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {}

TApplication::~TApplication() {
  DestroyForms();
  if (Application == this) {
    // Exceptions and quit requests no longer have this object to go to.
    HandleWindowException = nullptr;
    QuitHook = nullptr;
  }
}

void TApplication::DestroyForms() {
  Destroying();
  DestroyComponents();
  SetComponentState(csDestroying, false);  // the object itself stays usable
}

void FreeApplication() {
  TApplication* app = Application;
  delete app;  // its forms go while Application still names it
  Application = nullptr;
  delete Screen;
  Screen = nullptr;
  if (gOwnQt) {
    gOwnQt = false;
    delete QCoreApplication::instance();
  }
}

void TApplication::Initialize() {
  // Our Qt application catches what escapes any event handler. Should Qt have been started
  // by someone else, the platform's own entry points (window procedures, timers, posted and
  // sent messages, idle, synchronised calls, control events) still catch and route.
  if (QCoreApplication::instance() == nullptr) {
    new TQtApplication(gArgc, gArgv);
    gOwnQt = true;
  }
  SetMainThread();
  HandleSentMessages(true);
  HandleWindowException = [] { if (Application != nullptr) Application->HandleException(Application); };
  QuitHook = [](int) { if (Application != nullptr) Application->Terminate(); };
  // Worker threads waiting in Synchronize wake the loop, which then runs their calls.
  WakeMainThread = [] {
    if (QCoreApplication* app = QCoreApplication::instance())
      QMetaObject::invokeMethod(app, [] { GuardedCall([] { CheckSynchronize(); }); }, Qt::QueuedConnection);
  };
  // Idle: every loop (Run, modal forms, message boxes, Qt dialogs) is about to block
  // when nothing is pending; the idle handlers run then, and the loop stays awake
  // while they leave Done false.
  QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance(qApp->thread());
  static bool connected = false;
  if (d != nullptr && !connected) {
    connected = true;
    QObject::connect(d, &QAbstractEventDispatcher::aboutToBlock, qApp, [] { if (Application != nullptr) Application->Idle(); },
                     Qt::DirectConnection);
  }
  if (FTitle.empty()) FTitle = FromQString(QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
}

void TApplication::Idle() {
  if (FInIdle) return;
  FInIdle = true;
  bool done = true;
  GuardedCall([&] { done = DoIdle(); });
  FInIdle = false;
  if (!done) {
    if (QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance()) d->wakeUp();
  }
}

bool TApplication::DoIdle() {
  bool done = true;
  CheckSynchronize();
  if (OnIdle) OnIdle(this, done);
  std::vector<const TIdleEvent*> handlers = FIdleHandlers;
  for (const TIdleEvent* h : handlers)
    if (std::find(FIdleHandlers.begin(), FIdleHandlers.end(), h) != FIdleHandlers.end() && *h) (*h)(this, done);
  return done;
}

void TApplication::AddForm(TCustomForm* form) {
  if (FMainForm == nullptr) FMainForm = form;
}

void TApplication::Run() {
  FRunning = true;
  if (FShowMainForm && FMainForm != nullptr) FMainForm->Show();
  while (!FTerminated) HandleMessage();
  FRunning = false;
  // Nothing serves messages sent from other threads any more: their senders get 0 at once
  // instead of holding up the program's end.
  HandleSentMessages(false);
}

void TApplication::HandleMessage() {
  DispatchSentMessages();
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void TApplication::Terminate() {
  FTerminated = true;
  if (QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance()) d->wakeUp();
}

void TApplication::ProcessMessages() {
  DispatchSentMessages();
  GuardedCall([] { CheckSynchronize(); });
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TApplication::HandleException(TObject* Sender) {
  auto route = [&](Exception& e) {
    if (OnException || !FExceptionHandlers.empty()) {
      if (OnException) OnException(Sender, e);
      std::vector<const TExceptionEvent*> handlers = FExceptionHandlers;
      for (const TExceptionEvent* h : handlers)
        if (*h) (*h)(Sender, e);
    } else {
      ShowException(e);
    }
  };
  try {
    throw;
  } catch (EAbort&) {
    // Silent by design.
  } catch (Exception& e) {
    route(e);
  } catch (const std::exception& e) {
    Exception wrapped(UTF8ToString(e.what()));
    route(wrapped);
  } catch (...) {
    Exception wrapped(u"Unknown exception");
    route(wrapped);
  }
}

void TApplication::ShowException(Exception& E) {
  String msg = E.Message();
  if (!msg.empty() && msg.back() != u'.') msg += u'.';
  if (ExceptionReportHook) ExceptionReportHook(msg);
  else MessageBox(msg, FTitle, MB_OK | MB_ICONSTOP);
}

void TApplication::RemoveIdleHandler(const TIdleEvent* h) {
  FIdleHandlers.erase(std::remove(FIdleHandlers.begin(), FIdleHandlers.end(), h), FIdleHandlers.end());
}

void TApplication::RemoveExceptionHandler(const TExceptionEvent* h) {
  FExceptionHandlers.erase(std::remove(FExceptionHandlers.begin(), FExceptionHandlers.end(), h), FExceptionHandlers.end());
}

void TApplication::SetTitle(const String& v) {
  FTitle = v;
  if (QCoreApplication::instance() != nullptr) QGuiApplication::setApplicationDisplayName(ToQString(v));
}

void TApplication::SetIcon(TIcon* v) {
  if (!FIcon) FIcon = std::make_unique<TIcon>();
  FIcon->Assign(v);
  if (QCoreApplication::instance() != nullptr) {
    QImage img = TBitmapAccess::IconImage(FIcon.get());
    QApplication::setWindowIcon(img.isNull() ? QIcon() : QIcon(QPixmap::fromImage(img)));
  }
}

String TApplication::ExeName() const {
  if (QCoreApplication::instance() != nullptr) return FromQString(QCoreApplication::applicationFilePath());
  return String();
}

void TApplication::SetHint(const String& v) {
  FHint = v;
  if (OnHint) OnHint(this);
}

void TApplication::SetShowHint(bool v) {
  FShowHint = v;
  ApplicationShowHint = v;
}

void TApplication::SetHintHidePause(int v) {
  FHintHidePause = v;
  ApplicationHintHidePause = v;
}

void TApplication::CancelHint() { HideApplicationHint(); }

int TApplication::MessageBox(const String& Text, const String& Caption, UINT Flags) {
  HWND owner = nullptr;
  if (TCustomForm* f = Screen->ActiveForm()) owner = f->Handle();
  return ::MessageBox(owner, Text, Caption.empty() ? FTitle : Caption, Flags);
}

// ---- TScreen

HCURSOR TScreen::Cursors(int Index) const { return RegisteredCursor(static_cast<TCursor>(Index)); }

void TScreen::SetCursors(int Index, HCURSOR Value) { RegisterCursor(static_cast<TCursor>(Index), Value); }

void TScreen::SetCursor(TCursor v) {
  if (v == FCursor) return;
  if (FCursor != crDefault) QApplication::restoreOverrideCursor();
  FCursor = v;
  if (v != crDefault) QApplication::setOverrideCursor(CursorOf(v));
}

TWinControl* TScreen::ActiveControl() const { return TControlHost::ControlOf(QApplication::focusWidget()); }

TCustomForm* TScreen::ActiveForm() const {
  TWinControl* c = TControlHost::ControlOf(QApplication::activeWindow());
  if (auto* f = dynamic_cast<TCustomForm*>(c)) return f;
  return nullptr;
}

int TScreen::Width() const { return PrimaryMonitor() != nullptr ? PrimaryMonitor()->Width() : 0; }

int TScreen::Height() const { return PrimaryMonitor() != nullptr ? PrimaryMonitor()->Height() : 0; }

TRect TScreen::WorkAreaRect() const { return PrimaryMonitor() != nullptr ? PrimaryMonitor()->WorkareaRect() : TRect(); }

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {}

TScreen::~TScreen() = default;

namespace {
BOOL CountMonitor(HMONITOR, HDC, RECT*, LPARAM Data) {
  ++*reinterpret_cast<int*>(Data);
  return TRUE;
}
DWORD MonitorFlags(TMonitorDefaultTo d) {
  return d == mdNull ? MONITOR_DEFAULTTONULL : d == mdPrimary ? MONITOR_DEFAULTTOPRIMARY : MONITOR_DEFAULTTONEAREST;
}
// Handles number the monitors from 1, the primary first.
HMONITOR MonitorHandle(int Index) { return reinterpret_cast<HMONITOR>(static_cast<uintptr_t>(Index + 1)); }
}  // namespace

TMonitor* TScreen::MonitorOf(HMONITOR Handle) const {
  const uintptr_t n = reinterpret_cast<uintptr_t>(Handle);
  if (n == 0) return nullptr;
  while (FMonitors.size() < n) {
    const int index = static_cast<int>(FMonitors.size());
    FMonitors.push_back(std::make_unique<TMonitor>(MonitorHandle(index), index));
  }
  return FMonitors[n - 1].get();
}

int TScreen::MonitorCount() const {
  int n = 0;
  EnumDisplayMonitors(nullptr, nullptr, CountMonitor, reinterpret_cast<LPARAM>(&n));
  return n;
}

TMonitor* TScreen::Monitors(int Index) const {
  if (Index < 0 || Index >= MonitorCount()) throw EListError(u"List index out of bounds (" + IntToStr(Index) + u")");
  return MonitorOf(MonitorHandle(Index));
}

TMonitor* TScreen::PrimaryMonitor() const { return MonitorCount() > 0 ? MonitorOf(MonitorHandle(0)) : nullptr; }

TMonitor* TScreen::MonitorFromPoint(const TPoint& Point, TMonitorDefaultTo Default) const {
  return MonitorOf(::MonitorFromPoint(Point, MonitorFlags(Default)));
}

TMonitor* TScreen::MonitorFromRect(const TRect& Rect, TMonitorDefaultTo Default) const {
  return MonitorOf(::MonitorFromRect(&Rect, MonitorFlags(Default)));
}

TMonitor* TScreen::MonitorFromWindow(HWND Handle, TMonitorDefaultTo Default) const {
  return MonitorOf(::MonitorFromWindow(Handle, MonitorFlags(Default)));
}

TRect TScreen::DesktopRect() const {
  TRect r;
  for (int i = 0, n = MonitorCount(); i < n; ++i) {
    TRect b = Monitors(i)->BoundsRect();
    if (i == 0) r = b;
    else r = TRect(std::min(r.Left, b.Left), std::min(r.Top, b.Top), std::max(r.Right, b.Right), std::max(r.Bottom, b.Bottom));
  }
  return r;
}

TRect TMonitor::BoundsRect() const {
  MONITORINFO mi;
  return GetMonitorInfo(FHandle, &mi) ? mi.rcMonitor : TRect();
}

TRect TMonitor::WorkareaRect() const {
  MONITORINFO mi;
  return GetMonitorInfo(FHandle, &mi) ? mi.rcWork : TRect();
}

bool TMonitor::Primary() const {
  MONITORINFO mi;
  return GetMonitorInfo(FHandle, &mi) && (mi.dwFlags & MONITORINFOF_PRIMARY) != 0;
}

// ---- Message dialogs

void ShowMessage(const String& Msg) { Application->MessageBox(Msg, Application->Title(), MB_OK); }

int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx) {
  (void)HelpCtx;
  UINT icon = DlgType == mtWarning ? MB_ICONWARNING : DlgType == mtError ? MB_ICONERROR
            : DlgType == mtInformation ? MB_ICONINFORMATION : DlgType == mtConfirmation ? MB_ICONQUESTION : 0;
  UINT kind = MB_OK;
  if (Buttons.Contains(mbYes) && Buttons.Contains(mbNo)) kind = Buttons.Contains(mbCancel) ? MB_YESNOCANCEL : MB_YESNO;
  else if (Buttons.Contains(mbAbort)) kind = MB_ABORTRETRYIGNORE;
  else if (Buttons.Contains(mbRetry)) kind = MB_RETRYCANCEL;
  else if (Buttons.Contains(mbOK) && Buttons.Contains(mbCancel)) kind = MB_OKCANCEL;
  static const String captions[] = {u"Warning", u"Error", u"Information", u"Confirm", u""};
  String caption = DlgType == mtCustom ? Application->Title() : captions[DlgType];
  int r = Application->MessageBox(Msg, caption, kind | icon);
  switch (r) {
    case IDOK: return mrOk;
    case IDCANCEL: return mrCancel;
    case IDYES: return mrYes;
    case IDNO: return mrNo;
    case IDABORT: return mrAbort;
    case IDRETRY: return mrRetry;
    case IDIGNORE: return mrIgnore;
    default: return mrCancel;
  }
}
