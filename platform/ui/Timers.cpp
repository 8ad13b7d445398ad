#include "platform/ui/Timers.h"

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
  FWindowHandle = AllocateHWnd([this](TMessage& m) { WndProc(m); });
}

TTimer::~TTimer() {
  FEnabled = false;
  if (FRunning) KillTimer(FWindowHandle, 1);
  DeallocateHWnd(FWindowHandle);
}

void TTimer::UpdateTimer() {
  if (FRunning) KillTimer(FWindowHandle, 1);
  FRunning = false;
  if (IsLoading()) return;
  if (FInterval != 0 && FEnabled && OnTimer) FRunning = SetTimer(FWindowHandle, 1, FInterval) != 0;
}

void TTimer::SetEnabled(bool v) {
  if (v == FEnabled) return;
  FEnabled = v;
  UpdateTimer();
}

void TTimer::SetInterval(Cardinal v) {
  if (v == FInterval) return;
  FInterval = v;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent v) {
  OnTimer = std::move(v);
  UpdateTimer();
}

void TTimer::Loaded() {
  TComponent::Loaded();
  UpdateTimer();
}

void TTimer::Timer() {
  if (FEnabled && OnTimer) OnTimer(this);
}

void TTimer::WndProc(TMessage& Msg) {
  if (Msg.Msg == WM_TIMER) {
    // Exceptions leave through the window's dispatch, to the application's handler.
    Timer();
    return;
  }
  Msg.Result = DefWindowProc(FWindowHandle, Msg.Msg, Msg.WParam, Msg.LParam);
}
