#pragma once
// TTimer: OnTimer every Interval milliseconds while Enabled, on the GUI thread,
// through a hidden window's WM_TIMER.

#include "platform/rtl/Component.h"
#include "platform/win/WinUser.h"

class TTimer : public TComponent {
public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;
  String ClassName() const override { return u"TTimer"; }

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool v);
  Cardinal Interval() const { return FInterval; }
  // Restarts the period; 0 stops the timer.
  void SetInterval(Cardinal v);
  // The handler; the timer runs only while one is set.
  TNotifyEvent OnTimer;
  void SetOnTimer(TNotifyEvent v);

protected:
  void Loaded() override;
  virtual void Timer();

private:
  void UpdateTimer();
  void WndProc(TMessage& Msg);
  bool FEnabled = true;
  Cardinal FInterval = 1000;
  HWND FWindowHandle = nullptr;
  bool FRunning = false;
};
