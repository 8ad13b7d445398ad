// Test support for pop-up windows and the rules around them: a fixed clock, a fixed screen
// layout, activating another window and pressing outside a pop-up.
#include "testing/TestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Forms_p.h"
#include "platform/win/Monitors_p.h"

// ---- Clock

TTestClock::TTestClock(uint64_t StartMs) : FNow(StartMs) { FixTickCount(FNow); }

TTestClock::~TTestClock() { ReleaseTickCount(); }

void TTestClock::Advance(uint64_t Ms) { Set(FNow + Ms); }

void TTestClock::Set(uint64_t Ms) {
  FNow = Ms;
  FixTickCount(FNow);
}

// ---- Screens

TTestScreen::TTestScreen(const std::vector<TTestMonitor>& Monitors) {
  std::vector<TMonitorLayout> layout;
  for (const TTestMonitor& m : Monitors) layout.push_back({m.Bounds, m.WorkArea});
  SetMonitorLayout(std::move(layout));
}

TTestScreen::~TTestScreen() { SetMonitorLayout({}); }

// ---- Activation

namespace {

QWidget* TopWindowOf(TCustomForm* form) {
  if (form == nullptr) throw EInvalidOperation(u"No form");
  form->HandleNeeded();
  QWidget* w = FormWindow(form);
  if (w == nullptr || !w->isVisible()) throw EInvalidOperation(u"The form is not showing: " + form->Name());
  return w->window();
}

void ActivateAndWait(QWidget* w) {
  w->activateWindow();
  if (!WaitUntil([w] { return w->isActiveWindow(); }, 5000))
    throw EInvalidOperation(u"The window system did not activate the window");
}

}  // namespace

void SimulateActivate(TCustomForm* Form) { ActivateAndWait(TopWindowOf(Form)); }

void SimulateActivateOtherApplication() {
  // Stands for another program's window: none of ours, far off every screen.
  static QPointer<QWidget> foreign;
  if (!foreign) {
    foreign = new QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint);
    foreign->setGeometry(-32000, -32000, 1, 1);
  }
  foreign->show();
  ActivateAndWait(foreign);
}

void SimulatePressOutside(TCustomForm* Popup, int X, int Y) {
  QWidget* popup = TopWindowOf(Popup);
  const QPoint p(X, Y);
  if (popup->frameGeometry().contains(p)) throw EInvalidOperation(u"The point lies inside the pop-up");
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w != popup && w->isVisible() && w->frameGeometry().contains(p) && w->windowHandle() != nullptr) {
      SimulateScreenClick(X, Y);
      return;
    }
  SimulateActivateOtherApplication();
}

void SimulateWindowSystemHide(TCustomForm* Form) {
  TopWindowOf(Form)->hide();
  ProcessPendingEvents();
}

// ---- Pop-up menus

TPopupMenuView ActivePopupMenu() {
  TPopupMenuView view;
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  if (menu == nullptr || !menu->isVisible()) return view;
  const QRect g = menu->geometry();
  view.Bounds = TRect(g.left(), g.top(), g.left() + g.width(), g.top() + g.height());
  for (QAction* a : menu->actions()) {
    if (a->isSeparator() || !a->isVisible()) continue;
    const QRect r = menu->actionGeometry(a);
    const QPoint p = menu->mapToGlobal(r.topLeft());
    String caption = a->text().section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&')).toStdU16String();
    view.Items.emplace_back(caption, TRect(p.x(), p.y(), p.x() + r.width(), p.y() + r.height()));
  }
  return view;
}

void WhenPopupMenu(std::function<void()> Step, int TimeoutMs) {
  auto* timer = new QTimer;
  auto clock = std::make_shared<QElapsedTimer>();
  clock->start();
  QObject::connect(timer, &QTimer::timeout, [timer, clock, Step = std::move(Step), TimeoutMs] {
    const bool up = !ActivePopupMenu().Bounds.IsEmpty();
    if (!up && clock->elapsed() < TimeoutMs) return;
    timer->stop();
    timer->deleteLater();
    if (up) Step();
  });
  timer->start(5);
}
