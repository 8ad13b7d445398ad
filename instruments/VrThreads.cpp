#include "instruments/VrThreads.h"

#include <cassert>
#include <chrono>

#include "platform/ui/Forms.h"

// ---- TVrTimerThread

TVrTimerThread::TVrTimerThread(TVrTimer* Timer, bool Enabled) : TThread(true), FOwner(Timer) {
  if (Enabled) Resume();
}

TVrTimerThread::~TVrTimerThread() {
  Reset();
  TerminateAndWait();
}

void TVrTimerThread::Suspend() {
  std::lock_guard<std::mutex> lock(FMutex);
  FPaused = true;
  FWake.notify_all();
}

void TVrTimerThread::Resume() {
  {
    std::lock_guard<std::mutex> lock(FMutex);
    if (FPaused) {
      FPaused = false;
      ++FPeriod;
      FWake.notify_all();
    }
  }
  if (!Started()) Start();
}

bool TVrTimerThread::Suspended() const {
  std::lock_guard<std::mutex> lock(FMutex);
  return FPaused || !Started();
}

uint32_t TVrTimerThread::Interval() const {
  std::lock_guard<std::mutex> lock(FMutex);
  return FInterval;
}

void TVrTimerThread::SetInterval(uint32_t Value) {
  std::lock_guard<std::mutex> lock(FMutex);
  FInterval = Value;
}

void TVrTimerThread::Reset() {
  Resume();
  Terminate();
  std::lock_guard<std::mutex> lock(FMutex);
  FEvent = true;
  FWake.notify_all();
}

void TVrTimerThread::Execute() {
  std::unique_lock<std::mutex> lock(FMutex);
  while (!Terminated()) {
    FWake.wait(lock, [this] { return !FPaused || FEvent; });
    if (FEvent) {
      FEvent = false;
      continue;
    }
    // The interval is read at each wait, so a new one takes effect with the next period.
    const uint64_t period = FPeriod;
    const bool woken = FWake.wait_for(lock, std::chrono::milliseconds(FInterval),
                                      [&] { return FEvent || FPaused || FPeriod != period; });
    if (woken) continue;  // stopped, paused or restarted: no tick for this period
    if (Terminated() || (Application && Application->Terminated())) continue;
    lock.unlock();
    if (FOwner->SyncEvent())
      Synchronize([this] {
        assert(IsMainThread());
        FInTick = true;
        struct TTickEnd {
          bool& InTick;
          ~TTickEnd() { InTick = false; }
        } end{FInTick};
        DoTimer();
      });
    else
      DoTimer();
    lock.lock();
  }
}

void TVrTimerThread::DoTimer() {
  // A tick that reaches the GUI thread while the timer is being released is dropped.
  if (!Terminated()) FOwner->Timer();
}

// ---- TVrTimer

namespace {
constexpr UINT_PTR kTimerId = 1;
}

TVrTimer::TVrTimer(TComponent* AOwner) : TVrComponent(AOwner) {}

TVrTimer::~TVrTimer() {
  FEnabled = false;
  OnTimer = nullptr;
  ReleaseTimer();
}

void TVrTimer::Loaded() {
  TVrComponent::Loaded();
  UpdateTimer();
}

void TVrTimer::Timer() {
  if (!FEnabled || !OnTimer) return;
  try {
    OnTimer(this);
  } catch (...) {
    if (Application == nullptr) return;
    if (IsMainThread()) {
      Application->HandleException(this);
      return;
    }
    // A worker-thread tick reports on the GUI thread, where the handler may show a window.
    std::exception_ptr error = std::current_exception();
    TThread::Queue([error] {
      try {
        std::rethrow_exception(error);
      } catch (...) {
        if (Application) Application->HandleException(nullptr);
      }
    });
  }
}

void TVrTimer::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  FEnabled = Value;
  if (Value) UpdateTimer();
}

void TVrTimer::SetInterval(uint32_t Value) {
  if (Value == FInterval) return;
  FInterval = Value;
  if (FEnabled) UpdateTimer();
}

void TVrTimer::SetTimerType(TVrTimerType Value) {
  if (Value == FTimerType) return;
  ReleaseTimer();
  FTimerType = Value;
  if (FEnabled) UpdateTimer();
}

void TVrTimer::SetPriority(TThreadPriority Value) {
  if (Value == FPriority) return;
  FPriority = Value;
  if (FTimerType == ttThread && FEnabled) UpdateTimer();
}

bool TVrTimer::Running() const {
  if (!FAllocated) return false;
  if (FTimerType == ttSystem) return FSystemTimerSet;
  return FTimerThread && !FTimerThread->Suspended();
}

void TVrTimer::TimerWndProc(TMessage& Message) {
  if (Message.Msg == WM_TIMER)
    Timer();
  else
    Message.Result = DefWindowProc(FWindowHandle, Message.Msg, Message.WParam, Message.LParam);
}

void TVrTimer::AllocateTimer() {
  if (FTimerType == ttSystem)
    FWindowHandle = AllocateHWnd([this](TMessage& Message) { TimerWndProc(Message); });
  else
    FTimerThread = new TVrTimerThread(this, false);
  FAllocated = true;
}

void TVrTimer::ReleaseTimer() {
  assert(IsMainThread());  // reads the worker's InTick, which only the GUI thread writes
  if (!FAllocated) return;
  if (FTimerType == ttSystem) {
    KillTimer(FWindowHandle, kTimerId);
    FSystemTimerSet = false;
    DeallocateHWnd(FWindowHandle);
    FWindowHandle = nullptr;
  } else {
    FTimerThread->Reset();
    if (FTimerThread->InTick())
      // Released by a handler of its own tick: the worker waits for this very call and
      // cannot be waited for. It ends as soon as the tick is over and frees itself.
      FTimerThread->SetFreeOnTerminate(true);
    else
      delete FTimerThread;  // waits for the worker to end
    FTimerThread = nullptr;
  }
  FAllocated = false;
}

void TVrTimer::UpdateTimer() {
  assert(IsMainThread());  // property writers run on the GUI thread
  if (ComponentState().Contains(csDesigning)) return;
  if (!FAllocated) AllocateTimer();
  const bool run = FInterval != 0 && FEnabled && OnTimer;
  if (FTimerType == ttSystem) {
    KillTimer(FWindowHandle, kTimerId);
    FSystemTimerSet = false;
    if (run) {
      if (SetTimer(FWindowHandle, kTimerId, FInterval) == 0)
        throw EOutOfResources(u"No timer resources left.");
      FSystemTimerSet = true;
    }
  } else {
    // A worker that goes on running keeps the period in progress; the new interval
    // applies from the next one. The worker's own lock guards the interval meanwhile.
    FTimerThread->SetInterval(FInterval);
    if (run) {
      FTimerThread->SetPriority(FPriority);
      FTimerThread->Resume();
    } else {
      FTimerThread->Suspend();
    }
  }
}
