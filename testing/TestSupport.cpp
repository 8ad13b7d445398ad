// Test support: rendering controls to bitmaps and synthetic input through Qt's event path.
#include "testing/TestSupport.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QBackingStore>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStyleHints>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/ui/Controls_p.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Forms_p.h"
#include "platform/ui/Graphics_p.h"
#include "platform/win/QtBridge_p.h"
#include "platform/win/WinUser_p.h"

// The entry points through which the window system hands Qt its input (Qt's own test library
// drives windows through them too): hit-testing, grabs, pop-ups and focus all happen in Qt.
QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                      Qt::MouseButtons state, Qt::MouseButton button, QEvent::Type type,
                                      Qt::KeyboardModifiers mods, int timestamp);
Q_GUI_EXPORT void qt_handleKeyEvent(QWindow* window, QEvent::Type type, int key, Qt::KeyboardModifiers mods,
                                    const QString& text, bool autorep, ushort count);
QT_END_NAMESPACE

namespace {

// The widget that receives input for a control, and the point in it.
struct TInputTarget {
  QWidget* widget = nullptr;
  QPoint pos;
};

TInputTarget TargetOf(TControl* control, int x, int y) {
  if (control == nullptr) throw EInvalidOperation(u"No control to send input to");
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    w->HandleNeeded();
    return {TControlHost::Widget(w), QPoint(x, y)};
  }
  TWinControl* parent = control->Parent();
  if (parent == nullptr) throw EInvalidOperation(u"Control has no parent window: " + control->Name());
  parent->HandleNeeded();
  return {TControlHost::Widget(parent), QPoint(x + control->Left(), y + control->Top())};
}

Qt::KeyboardModifiers ModifiersOf(TShiftState s) {
  Qt::KeyboardModifiers m;
  if (s.Contains(ssShift)) m |= Qt::ShiftModifier;
  if (s.Contains(ssCtrl)) m |= Qt::ControlModifier;
  if (s.Contains(ssAlt)) m |= Qt::AltModifier;
  return m;
}

Qt::MouseButtons ButtonsOf(TShiftState s) {
  Qt::MouseButtons b;
  if (s.Contains(ssLeft)) b |= Qt::LeftButton;
  if (s.Contains(ssRight)) b |= Qt::RightButton;
  if (s.Contains(ssMiddle)) b |= Qt::MiddleButton;
  return b;
}

Qt::MouseButton ButtonOf(TMouseButton b) {
  return b == mbRight ? Qt::RightButton : b == mbMiddle ? Qt::MiddleButton : Qt::LeftButton;
}

// Where input enters: the top-level window holding the control, at the control's point in
// that window, and the same point on the screen.
struct TWindowPoint {
  QWindow* window = nullptr;
  QPointF local;
  QPointF global;
};

TWindowPoint WindowPointOf(TControl* control, int x, int y) {
  TInputTarget t = TargetOf(control, x, y);
  if (!control->Visible() || !t.widget->isVisible())
    throw EInvalidOperation(u"Input to a control that is not showing (show its form first): " + control->Name());
  QWidget* top = t.widget->window();
  QWindow* window = top->windowHandle();
  if (window == nullptr) throw EInvalidOperation(u"Control has no window on the screen: " + control->Name());
  QPoint inTop = t.widget->mapTo(top, t.pos);
  return {window, QPointF(inTop), QPointF(top->mapToGlobal(inTop))};
}

// The simulated mouse: the window it is over, the buttons it holds and its clock. Each release
// moves the clock past the double-click time, so two separate clicks never make a double click.
QPointer<QWindow> gMouseWindow;
Qt::MouseButtons gHeld;
int gMouseClock = 1000;

void EnterWindow(QWindow* window, QPointF local, QPointF global) {
  if (gMouseWindow == window) return;
  SimulateMouseLeave();
  gMouseWindow = window;
  QEnterEvent enter(local, local, global);
  QCoreApplication::sendEvent(window, &enter);
}

// The window showing at a point of the screen: an open pop-up first, then the active window,
// then any other top-level window.
QWindow* WindowAt(QPoint global) {
  std::vector<QWidget*> order;
  if (QWidget* popup = QApplication::activePopupWidget()) order.push_back(popup);
  if (QWidget* active = QApplication::activeWindow()) order.push_back(active);
  for (QWidget* w : QApplication::topLevelWidgets()) order.push_back(w);
  for (QWidget* w : order)
    if (w->isVisible() && w->frameGeometry().contains(global) && w->windowHandle() != nullptr) return w->windowHandle();
  return nullptr;
}

// Hands one mouse event to the window system's entry point of Qt. While a button is held the
// window that had the press keeps the mouse, as the window system's implicit grab does.
void SendMouseAt(TWindowPoint p, QEvent::Type type, Qt::MouseButton button, TShiftState shift) {
  if (gHeld != Qt::NoButton && gMouseWindow && gMouseWindow != p.window) {
    p.window = gMouseWindow;
    p.local = p.window->mapFromGlobal(p.global);
  } else {
    EnterWindow(p.window, p.local, p.global);
  }
  if (type == QEvent::MouseButtonPress) gHeld |= button;
  if (type == QEvent::MouseButtonRelease) gHeld &= ~Qt::MouseButtons(button);
  Qt::MouseButtons state = gHeld | ButtonsOf(shift);
  if (type == QEvent::MouseButtonRelease) state &= ~Qt::MouseButtons(button);
  gMouseClock += 10;
  NoteInputPointer(qRound(p.global.x()), qRound(p.global.y()));
  qt_handleMouseEvent(p.window, p.local, p.global, state, button, type, ModifiersOf(shift), gMouseClock);
}

void SendMouse(TControl* control, QEvent::Type type, Qt::MouseButton button, int x, int y, TShiftState shift) {
  SendMouseAt(WindowPointOf(control, x, y), type, button, shift);
}

// After a release the next press is a new click, not the second half of a double click.
void EndClick() { gMouseClock += QGuiApplication::styleHints()->mouseDoubleClickInterval() + 100; }

// The character a key types on a keyboard with these modifiers (none for keys that type nothing).
QString KeyText(Word key, TShiftState shift) {
  bool s = shift.Contains(ssShift), c = shift.Contains(ssCtrl);
  if (key >= 'A' && key <= 'Z') {
    if (c) return QString(QChar(key - 'A' + 1));  // control characters, as Ctrl+C gives #3
    return QString(QChar(s ? key : key - 'A' + 'a'));
  }
  if (c) return QString();
  if (key >= '0' && key <= '9') return s ? QString() : QString(QChar(key));
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return QString(QChar('0' + (key - VK_NUMPAD0)));
  switch (key) {
    case VK_SPACE: return QStringLiteral(" ");
    case VK_RETURN: return QStringLiteral("\r");
    case VK_TAB: return QStringLiteral("\t");
    case VK_BACK: return QStringLiteral("\b");
    case VK_ESCAPE: return QString(QChar(0x1B));
    case VK_ADD: return QStringLiteral("+");
    case VK_SUBTRACT: return QStringLiteral("-");
    case VK_MULTIPLY: return QStringLiteral("*");
    case VK_DIVIDE: return QStringLiteral("/");
    case VK_DECIMAL: return QStringLiteral(".");
    case VK_OEM_PLUS: return s ? QString() : QStringLiteral("+");
    case VK_OEM_MINUS: return s ? QString() : QStringLiteral("-");
    case VK_OEM_PERIOD: return s ? QString() : QStringLiteral(".");
    case VK_OEM_COMMA: return s ? QString() : QStringLiteral(",");
    default: return QString();
  }
}

bool IsKeypadKey(Word key) {
  return (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) || key == VK_ADD || key == VK_SUBTRACT || key == VK_MULTIPLY ||
         key == VK_DIVIDE || key == VK_DECIMAL;
}

bool HasKeyboard(TWinControl* control) {
  if (auto* form = dynamic_cast<TCustomForm*>(control)) return form->Active();
  return control->Focused();
}

// Keys go where a keyboard's go: to the focus widget of the active window. For a press the
// control first takes the focus as a user gives it: its window comes to the front and its
// form focuses it (the form's own SetFocus). An open pop-up (a drop-down list, a menu) keeps
// the keyboard.
QWindow* KeyboardWindowFor(TWinControl* control, bool takeFocus) {
  TWindowPoint p = WindowPointOf(control, 0, 0);
  if (takeFocus && QApplication::activePopupWidget() == nullptr && !HasKeyboard(control) && control->CanFocus()) {
    control->SetFocus();
    // Activation comes back from the window system as an event.
    for (int i = 0; i < 10 && !HasKeyboard(control); ++i) ProcessPendingEvents();
  }
  QWindow* focus = QGuiApplication::focusWindow();
  return focus != nullptr ? focus : p.window;
}

void SendKey(TWinControl* control, QEvent::Type type, int qtKey, Qt::KeyboardModifiers mods, const QString& text) {
  // A released key goes where the keyboard is now (its press may have moved the focus).
  qt_handleKeyEvent(KeyboardWindowFor(control, type == QEvent::KeyPress), type, qtKey, mods, text, false, 1);
}

void SendVirtualKey(TWinControl* control, QEvent::Type type, Word key, TShiftState shift) {
  Qt::KeyboardModifiers mods = ModifiersOf(shift);
  if (IsKeypadKey(key)) mods |= Qt::KeypadModifier;
  int qtKey = QtKeyOf(key);
  if (qtKey == 0) qtKey = Qt::Key_unknown;
  SendKey(control, type, qtKey, mods, KeyText(key, shift));
}

// The Qt key of a typed character: letters and digits have their keys, the other Latin-1
// characters share their code with their key, the rest come without a key (input method).
int QtKeyOfChar(Char ch) {
  if (ch >= u'a' && ch <= u'z') return Qt::Key_A + (ch - u'a');
  switch (ch) {
    case u'\r': return Qt::Key_Return;
    case u'\t': return Qt::Key_Tab;
    case u'\b': return Qt::Key_Backspace;
    case 0x1B: return Qt::Key_Escape;
    default: break;
  }
  if (ch >= 0x20 && ch < 0x7F) return ch;
  return 0;
}

// Renders the part region (widget coordinates) of a widget and of the child windows inside
// it, the widget's (0, 0) going to origin in the image. Children are drawn one by one
// because Qt skips them while their form has never been shown.
void RenderTree(QWidget* w, QImage& image, QPoint origin, const QRegion& region) {
  if (region.isEmpty()) return;
  w->render(&image, origin + region.boundingRect().topLeft(), region, QWidget::DrawWindowBackground);
  for (QObject* o : w->children()) {
    auto* child = qobject_cast<QWidget*>(o);
    if (child == nullptr || child->isWindow() || !child->isVisibleTo(w)) continue;
    QRegion inChild = region.translated(-child->pos()).intersected(child->rect());
    RenderTree(child, image, origin + child->pos(), inChild);
  }
}

}  // namespace

// ---- Rendering

std::unique_ptr<TBitmap> RenderControl(TControl* Control) {
  if (Control == nullptr) throw EInvalidOperation(u"No control to render");
  auto bitmap = std::make_unique<TBitmap>(std::max(Control->Width(), 1), std::max(Control->Height(), 1));
  QImage image(bitmap->Width(), bitmap->Height(), QImage::Format_RGB32);
  image.fill(Qt::white);
  TInputTarget t = TargetOf(Control, 0, 0);
  // A form shows with its menu bar: its whole top-level window.
  if (auto* form = dynamic_cast<TCustomForm*>(Control))
    if (QWidget* window = FormWindow(form); window != nullptr && window->isWindow()) t = {window, QPoint()};
  if (t.widget != nullptr) {
    QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    // The widget paints through its own paint event (WM_PAINT for painted windows), with
    // its child windows on top, as on screen.
    QRect source(t.pos, QSize(bitmap->Width(), bitmap->Height()));
    RenderTree(t.widget, image, -t.pos, QRegion(source.intersected(t.widget->rect())));
  }
  TBitmapAccess::SetImage(bitmap.get(), image);
  return bitmap;
}

std::unique_ptr<TBitmap> ShownPixels(TControl* Control) {
  if (Control == nullptr) throw EInvalidOperation(u"No control to read");
  const TInputTarget t = TargetOf(Control, 0, 0);
  if (t.widget == nullptr || t.widget->window()->backingStore() == nullptr) return nullptr;
  QPaintDevice* device = t.widget->window()->backingStore()->paintDevice();
  if (device == nullptr || device->devType() != QInternal::Image) return nullptr;
  const QImage& shown = *static_cast<QImage*>(device);
  const QPoint at = t.widget->mapTo(t.widget->window(), t.pos);
  auto bitmap = std::make_unique<TBitmap>(std::max(Control->Width(), 1), std::max(Control->Height(), 1));
  TBitmapAccess::SetImage(bitmap.get(), shown.copy(QRect(at, QSize(bitmap->Width(), bitmap->Height())))
                                            .convertToFormat(QImage::Format_RGB32));
  return bitmap;
}

TColor PixelColor(TBitmap& Bitmap, int X, int Y) { return ColorToRGB(Bitmap.Canvas()->Pixels(X, Y)); }

bool PixelNear(TBitmap& Bitmap, int X, int Y, TColor Color, int Tolerance) {
  const uint32_t a = static_cast<uint32_t>(PixelColor(Bitmap, X, Y)), b = static_cast<uint32_t>(ColorToRGB(Color));
  for (int shift : {0, 8, 16})
    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > Tolerance) return false;
  return true;
}

// ---- Mouse

void SimulateMouseDown(TControl* Control, TMouseButton Button, int X, int Y, TShiftState Shift) {
  SendMouse(Control, QEvent::MouseButtonPress, ButtonOf(Button), X, Y, Shift);
}

void SimulateMouseUp(TControl* Control, TMouseButton Button, int X, int Y, TShiftState Shift) {
  SendMouse(Control, QEvent::MouseButtonRelease, ButtonOf(Button), X, Y, Shift);
  EndClick();
}

void SimulateMouseMove(TControl* Control, int X, int Y, TShiftState Shift) {
  SendMouse(Control, QEvent::MouseMove, Qt::NoButton, X, Y, Shift);
}

void SimulateClick(TControl* Control, int X, int Y, TMouseButton Button, TShiftState Shift) {
  SimulateMouseDown(Control, Button, X, Y, Shift);
  SimulateMouseUp(Control, Button, X, Y, Shift);
}

void SimulateDblClick(TControl* Control, int X, int Y, TMouseButton Button, TShiftState Shift) {
  // Two clicks within the double-click time: Qt makes the second press a double click.
  Qt::MouseButton b = ButtonOf(Button);
  SendMouse(Control, QEvent::MouseButtonPress, b, X, Y, Shift);
  SendMouse(Control, QEvent::MouseButtonRelease, b, X, Y, Shift);
  SendMouse(Control, QEvent::MouseButtonPress, b, X, Y, Shift);
  SimulateMouseUp(Control, Button, X, Y, Shift);
}

void SimulateMouseWheel(TControl* Control, int WheelDelta, int X, int Y, TShiftState Shift) {
  TWindowPoint p = WindowPointOf(Control, X, Y);
  EnterWindow(p.window, p.local, p.global);
  NoteInputPointer(qRound(p.global.x()), qRound(p.global.y()));
  // The top-level window finds the widget under the point, as for a wheel turn from the window system.
  QWheelEvent e(p.local, p.global, QPoint(), QPoint(0, WheelDelta), gHeld | ButtonsOf(Shift), ModifiersOf(Shift),
                Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(p.window, &e);
}

void SimulateScreenClick(int X, int Y, TMouseButton Button) {
  QPoint global(X, Y);
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    // The press may close the window there (a pop-up closes on a click outside it).
    QWindow* window = WindowAt(global);
    if (window == nullptr && type == QEvent::MouseButtonRelease) break;
    if (window == nullptr) throw EInvalidOperation(u"No window shows at " + IntToStr(X) + u", " + IntToStr(Y));
    SendMouseAt({window, QPointF(window->mapFromGlobal(global)), QPointF(global)}, type, ButtonOf(Button), {});
  }
  EndClick();
}

void SimulateMouseLeave() {
  if (QWindow* old = gMouseWindow.data()) {
    gMouseWindow = nullptr;
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(old, &leave);
  }
}

// ---- Keys

void SimulateKeyDown(TWinControl* Control, Word Key, TShiftState Shift) {
  SendVirtualKey(Control, QEvent::KeyPress, Key, Shift);
}

void SimulateKeyUp(TWinControl* Control, Word Key, TShiftState Shift) {
  SendVirtualKey(Control, QEvent::KeyRelease, Key, Shift);
}

void SimulateKeyStroke(TWinControl* Control, Word Key, TShiftState Shift) {
  SimulateKeyDown(Control, Key, Shift);
  SimulateKeyUp(Control, Key, Shift);
}

void SimulateChar(TWinControl* Control, Char Ch, TShiftState Shift) {
  Char lower = Ch >= u'A' && Ch <= u'Z' ? static_cast<Char>(Ch - u'A' + u'a') : Ch;
  int key = QtKeyOfChar(lower);
  Qt::KeyboardModifiers mods = ModifiersOf(Shift);
  QString text(QChar(static_cast<char16_t>(Ch)));
  SendKey(Control, QEvent::KeyPress, key, mods, text);
  SendKey(Control, QEvent::KeyRelease, key, mods, text);
}

void SimulateTyping(TWinControl* Control, const String& Text) {
  for (Char ch : Text) SimulateChar(Control, ch);
}

// ---- Exceptions

TExceptionReport SetExceptionReport(TExceptionReport Report) {
  TExceptionReport old = std::move(ExceptionReportHook);
  ExceptionReportHook = std::move(Report);
  return old;
}

// ---- Events

void ProcessPendingEvents() {
  Application->ProcessMessages();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool WaitUntil(const std::function<bool()>& Predicate, int TimeoutMs) {
  QElapsedTimer clock;
  clock.start();
  for (;;) {
    ProcessPendingEvents();
    if (Predicate()) return true;
    qint64 left = TimeoutMs - clock.elapsed();
    if (left <= 0) return Predicate();
    // Sleep in the event loop until an event arrives or a short tick passes.
    QTimer tick;
    tick.setSingleShot(true);
    tick.start(static_cast<int>(std::min<qint64>(left, 10)));
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  }
}

namespace {

// Looks for a modal window every 10 ms until it shows or the time is up.
struct TModalWatch : std::enable_shared_from_this<TModalWatch> {
  std::function<void(const String&)> Step;
  QElapsedTimer Clock;
  int TimeoutMs = 0;
  void Poll() {
    QWidget* w = QApplication::activeModalWidget();
    if (w != nullptr && w->isVisible()) {
      auto* box = qobject_cast<QMessageBox*>(w);
      Step(FromQString(box != nullptr ? box->text() : w->windowTitle()));
    } else if (Clock.elapsed() < TimeoutMs) {
      QTimer::singleShot(10, [self = shared_from_this()] { self->Poll(); });
    }
  }
};

}  // namespace

void WhenModal(std::function<void(const String& Text)> Step, int TimeoutMs) {
  auto watch = std::make_shared<TModalWatch>();
  watch->Step = std::move(Step);
  watch->TimeoutMs = TimeoutMs;
  watch->Clock.start();
  QTimer::singleShot(0, [watch] { watch->Poll(); });
}

void CloseModal() {
  if (QWidget* w = QApplication::activeModalWidget()) w->close();
}
