#pragma once
// Follows where a control's window is on the screen: a watch calls its handler after the
// control's window, or any window it sits in (its form, a panel moved by a splitter), moves or
// changes size, as the window system reports it. The control's own window procedure and its
// form's see nothing of the watch.

#include <functional>
#include <memory>

class TWinControl;

class TWindowPosWatch {
public:
  // Watches Control's window (made when it has none yet) and its parents' windows.
  TWindowPosWatch(TWinControl* Control, std::function<void()> OnMoved);
  ~TWindowPosWatch();
  TWindowPosWatch(const TWindowPosWatch&) = delete;
  TWindowPosWatch& operator=(const TWindowPosWatch&) = delete;

private:
  class TFilter;
  std::unique_ptr<TFilter> FFilter;
};
