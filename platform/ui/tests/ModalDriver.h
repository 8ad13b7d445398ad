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
// The returned flag tells whether the step ran.
inline std::shared_ptr<bool> WhenModal(std::function<void(QWidget*)> step) {
  auto ran = std::make_shared<bool>(false);
  auto clock = std::make_shared<QElapsedTimer>();
  clock->start();
  auto poll = std::make_shared<std::function<void()>>();
  *poll = [=] {
    QWidget* w = QApplication::activeModalWidget();
    if (w && w->isVisible()) {
      *ran = true;
      step(w);
    } else if (clock->elapsed() < 20000) {
      QTimer::singleShot(10, *poll);
    }
  };
  QTimer::singleShot(0, *poll);
  return ran;
}
