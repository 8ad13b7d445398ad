// The flash engine's worker thread and timer component.
#include "instruments/_AbFlash.h"

#include <chrono>

namespace {
std::atomic<int> LiveThreads{0};
}

TTimerThread::TTimerThread(TAbFlash* Timer, bool Enabled) : TAbThread(true), tOwner(Timer) {
  ++LiveThreads;
  FPaused = !Enabled;
  SetFreeOnTerminate(true);
  Start();
}

TTimerThread::~TTimerThread() { --LiveThreads; }

int TTimerThread::LiveCount() { return LiveThreads.load(); }

void TTimerThread::Pause() {
  std::lock_guard<std::mutex> lock(FMutex);
  FPaused = true;
}

void TTimerThread::Continue() {
  {
    std::lock_guard<std::mutex> lock(FMutex);
    FPaused = false;
  }
  FWake.notify_all();
}

bool TTimerThread::Paused() const {
  std::lock_guard<std::mutex> lock(FMutex);
  return FPaused;
}

void TTimerThread::Stop() {
  tOwner = nullptr;
  Terminate();
  {
    std::lock_guard<std::mutex> lock(FMutex);
    FStop = true;
  }
  FWake.notify_all();
}

bool TTimerThread::ShouldStop() const { return FStop || Terminated() || tOwner.load() == nullptr; }

void TTimerThread::Execute() {
  for (;;) {
    bool full;
    {
      std::unique_lock<std::mutex> lock(FMutex);
      FWake.wait(lock, [&] { return !FPaused || ShouldStop(); });
      if (ShouldStop()) return;
      // A full wait (no stop, no pause meanwhile) is one tick.
      full = !FWake.wait_for(lock, std::chrono::milliseconds(tInterval.load()),
                             [&] { return FPaused || ShouldStop(); });
      if (ShouldStop()) return;
    }
    if (full) {
      // The owner is read on the GUI thread, where it is also cleared, so a timer freed
      // while this call was queued is never touched.
      Synchronize([this] {
        if (TAbFlash* owner = tOwner.load()) owner->Timer();
      });
    }
  }
}

TAbFlash::TAbFlash(TComponent* AOwner) : TComponent(AOwner) {
  FTimerThread = new TTimerThread(this, false);
}

TAbFlash::~TAbFlash() {
  Destroying();
  FEnabled = false;
  FOnTimer = nullptr;
  Shutdown();
}

void TAbFlash::Shutdown() {
  FEnabled = false;
  if (FTimerThread) {
    FTimerThread->Stop();
    FTimerThread = nullptr;  // it frees itself
  }
}

void TAbFlash::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  FEnabled = Value;
  UpdateTimer();
}

void TAbFlash::SetInterval(uint32_t Value) {
  if (Value == FInterval) return;
  FInterval = Value;
  UpdateTimer();
}

void TAbFlash::SetThreadPriority(TThreadPriority Value) {
  if (Value == FThreadPriority) return;
  FThreadPriority = Value;
  UpdateTimer();
}

void TAbFlash::SetOnTimer(const TNotifyEvent& Handler) {
  bool changed = static_cast<bool>(Handler) != static_cast<bool>(FOnTimer);
  FOnTimer = Handler;
  if (changed) UpdateTimer();
}

void TAbFlash::UpdateTimer() {
  if (!FTimerThread) return;
  FTimerThread->Pause();
  FTimerThread->tInterval = FInterval;
  if (FInterval != 0 && FEnabled && FOnTimer) {
    FTimerThread->SetPriority(FThreadPriority);
    FTimerThread->Continue();
  }
}

void TAbFlash::Timer() {
  if (FEnabled && !IsDestroying() && FOnTimer) FOnTimer(this);
}
