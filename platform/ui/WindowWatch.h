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

// Gives a control the keys its form takes for moving the focus (Tab, Shift+Tab and the arrow
// keys) while Wanted answers true, as a window whose procedure asks for all keys gets them:
// each press reaches the control as WM_KEYDOWN (Tab then also as its character) instead of
// moving the focus. Keys the control asks for itself (CM_WANTSPECIALKEY, WM_GETDLGCODE) go
// their usual way. The watch may end while the control handles such a key.
class TDialogKeysWatch {
public:
  TDialogKeysWatch(TWinControl* Control, std::function<bool()> Wanted);
  ~TDialogKeysWatch();
  TDialogKeysWatch(const TDialogKeysWatch&) = delete;
  TDialogKeysWatch& operator=(const TDialogKeysWatch&) = delete;

private:
  class TFilter;
  std::unique_ptr<TFilter> FFilter;
};
