#pragma once
// Private to platform/: how a windowed control hosts its QWidget.
//
// Every TWinControl owns one QWidget and one HWND. The host installs an event filter on
// the widget that turns Qt input and focus events into window messages (WM_LBUTTONDOWN,
// WM_KEYDOWN, WM_CHAR, WM_SETFOCUS, CM_ENTER, CM_MOUSEENTER, WM_SIZE ...) and runs them
// through the control's WndProc -> Dispatch -> DefaultHandler. When the message reaches
// TWinControl::DefaultHandler, the Qt event is handed back to the widget (the filter lets
// it through); when a handler swallows it (e.g. OnKeyDown sets Key to 0), Qt never sees it.
//
// Standard controls (TEdit over QLineEdit, TComboBox over QComboBox ...) plug their own
// native widget in by overriding CreateWnd:
//
//     void TEdit::CreateWnd() {
//       auto* edit = new QLineEdit;
//       TControlHost::Attach(this, edit, /*painted=*/false);
//       QObject::connect(edit, &QLineEdit::textChanged, ...);   // CN_COMMAND/EN_CHANGE etc.
//     }
//
// and reach it later with TControlHost::Widget(this) (qobject_cast to their class).
// Attach parents the widget to the parent control's widget, applies bounds, visibility,
// enabled state, font, cursor and hint, and registers the HWND. The widget is deleted with
// the handle. Windows are created on first need (Handle(), or when the control gets a
// parent); a constructor that wants its widget at once calls HandleNeeded() itself (a base
// constructor cannot reach the derived CreateWnd). Native text: override GetText and
// SetTextBuf. Native widgets are not "painted": they draw themselves and receive no WM_PAINT;
// painted windows (the default container, TCustomControl, forms) draw into a backing image
// through WM_PAINT and show it.

#include <QCursor>
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include "platform/ui/Controls.h"
#include "platform/win/WinUser_p.h"

struct TControlHost : QObject {
  // Hosts widget for control: creates the HWND and applies the control's state to it.
  static void Attach(TWinControl* control, QWidget* widget, bool painted);
  static QWidget* Widget(const TWinControl* control);
  static TWinControl* ControlOf(const QWidget* widget);
  // The control whose window is wnd.
  static TWinControl* ControlOf(HWND wnd);

  TControlHost(TWinControl* c, QWidget* w) : control(c), widget(w) {}
  bool eventFilter(QObject* watched, QEvent* event) override;

  // Delivers a message translated from the Qt event being filtered; true when it
  // reached DefaultHandler, i.e. Qt should handle the event as well.
  bool Translate(TControl* target, TMessage& msg);
  void MouseEvent(QEvent* event, bool& pass);
  void KeyEvent(QEvent* event, bool& pass);
  // Offers Tab or an arrow key to the form as a dialog key; true when it took it.
  bool DialogKey(WORD vk, LPARAM keyData);
  // Alt with a character the control left alone: the controls of its window are offered it
  // as an accelerator (CM_DIALOGCHAR); True when one took it.
  bool DialogChar(Char ch, LPARAM keyData);
  // Ends the filtering of an input event that belongs to this window alone (see .cpp).
  bool Keep(QEvent* event, bool pass);
  void ForgetControl(TControl* c);

  TWinControl* control;
  QPointer<QWidget> widget;
  TMessage* current = nullptr;  // the translated message whose DefaultHandler passes to Qt
  bool passed = false;
  TControl* mouseTarget = nullptr;  // a graphic child holding the mouse after a press
  TControl* hover = nullptr;        // the graphic child under the mouse
  bool bypass = false;              // re-sent events go straight to Qt
};

// A painted container window: shows the backing image that WM_PAINT draws.
class TWinWidget : public QWidget {
public:
  explicit TWinWidget(QWidget* parent = nullptr) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
  }
  HWND wnd = nullptr;

protected:
  void paintEvent(QPaintEvent* event) override;
};

// When set (tests), the application's default exception handler reports the message
// here instead of showing a modal message box.
extern std::function<void(const String& Message)> ExceptionReportHook;
// Hint settings of the application object, read when a tooltip is due.
extern bool ApplicationShowHint;
extern int ApplicationHintHidePause;
// The Qt cursor for a cursor number: a registered custom cursor or a standard one.
QCursor CursorOf(TCursor cursor);
// Registers a custom cursor number (nullptr: remove, the number shows the default cursor).
void RegisterCursor(TCursor cursor, HCURSOR handle);
HCURSOR RegisteredCursor(TCursor cursor);
// Modifier and button state as the class library's shift state.
TShiftState ShiftStateOf(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons);
