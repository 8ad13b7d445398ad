#pragma once
// Test helper: runs a step on the next modal window once it is shown, from a timer, so a
// test can drive a dialog whose Execute blocks in its own loop.

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

// Calls step(modal) with the active modal widget as soon as one appears (within 20 s).
// The returned flag tells whether the step ran. The polling timer belongs to the application
// and frees itself once it has run the step or given up.
inline std::shared_ptr<bool> WhenModal(std::function<void(QWidget*)> step) {
  auto ran = std::make_shared<bool>(false);
  auto* timer = new QTimer(qApp);
  QElapsedTimer clock;
  clock.start();
  QObject::connect(timer, &QTimer::timeout, timer, [=] {
    QWidget* w = QApplication::activeModalWidget();
    bool shown = w && w->isVisible();
    if (!shown && clock.elapsed() < 20000) {
      timer->start(10);
      return;
    }
    timer->stop();
    timer->deleteLater();
    if (shown) {
      *ran = true;
      step(w);
    }
  });
  timer->setSingleShot(true);
  timer->start(0);
  return ran;
}
