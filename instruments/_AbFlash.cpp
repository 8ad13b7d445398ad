// The flash engine's worker thread and timer component.
#include "instruments/_AbFlash.h"

#include <algorithm>
#include <cassert>
#include <chrono>

namespace {
std::atomic<int> LiveThreads{0};
}

TTimerThread::TTimerThread(TAbFlash* Timer, bool Enabled)
    : TAbThread(true), FLink(std::make_shared<TTimerLink>()) {
  ++LiveThreads;
  FLink->Owner = Timer;
  FLink->Paused = !Enabled;
  SetFreeOnTerminate(true);
  Start();
}

TTimerThread::~TTimerThread() { --LiveThreads; }

int TTimerThread::LiveCount() { return LiveThreads.load(); }

void TTimerThread::Pause() {
  std::lock_guard<std::mutex> lock(FLink->Mutex);
  FLink->Paused = true;
}

void TTimerThread::Continue() {
  std::lock_guard<std::mutex> lock(FLink->Mutex);
  FLink->Paused = false;
  FLink->Wake.notify_all();
}

bool TTimerThread::Paused() const {
  std::lock_guard<std::mutex> lock(FLink->Mutex);
  return FLink->Paused;
}

uint64_t TTimerThread::TicksHanded() const {
  std::lock_guard<std::mutex> lock(FLink->Mutex);
  return FLink->Handed;
}

void TTimerThread::Stop() {
  // The thread frees itself once it sees the stop, which it checks only under the lock:
  // this object is still there while the lock is held, the link (kept here) after that.
  std::shared_ptr<TTimerLink> link = FLink;
  std::lock_guard<std::mutex> lock(link->Mutex);
  link->Owner = nullptr;
  link->Stop = true;
  Terminate();
  link->Wake.notify_all();
}

bool TTimerThread::ShouldStop() const { return FLink->Stop || Terminated() || FLink->Owner.load() == nullptr; }

void TTimerThread::SetNextDue(uint32_t Ticks, uint64_t AtMs) {
  std::lock_guard<std::mutex> lock(FLink->Mutex);
  FLink->DueTicks = std::max<uint32_t>(Ticks, 1);
  FLink->DueAtMs = AtMs;
  FLink->Replan = true;
  FLink->Wake.notify_all();
}

void TTimerThread::RunTick(const std::shared_ptr<TTimerLink>& Link, uint64_t Tick, uint32_t Elapsed) {
  assert(IsMainThread());
  auto served = [&] {
    std::lock_guard<std::mutex> lock(Link->Mutex);
    Link->Served = Tick;
    Link->Wake.notify_all();
  };
  // The owner is read on the GUI thread, where it is also cleared, so a timer freed while
  // this call was queued is never touched.
  if (TAbFlash* owner = Link->Owner.load()) {
    owner->FElapsedTicks = Elapsed;
    try {
      owner->Timer();
    } catch (...) {
      owner->FElapsedTicks = 1;
      served();  // the thread ticks on; the exception goes to the GUI thread's loop
      throw;
    }
    owner->FElapsedTicks = 1;
  }
  served();
}

bool TTimerThread::SleepUntilDue(std::unique_lock<std::mutex>& Lock, uint32_t& Elapsed) {
  using namespace std::chrono;
  TTimerLink& l = *FLink;
  assert(Lock.owns_lock() && Lock.mutex() == &l.Mutex);
  const auto start = steady_clock::now();
  // GetTickCount64 counts the same clock in whole milliseconds.
  const uint64_t startMs = static_cast<uint64_t>(duration_cast<milliseconds>(start.time_since_epoch()).count());
  for (;;) {
    const uint64_t interval = std::max<uint32_t>(tInterval.load(), 1);
    const uint64_t byTicks = l.DueTicks;
    uint64_t ticks = byTicks;
    if (l.DueAtMs != UINT64_MAX)
      ticks = std::min(ticks, l.DueAtMs <= startMs ? 1 : (l.DueAtMs - startMs + interval - 1) / interval);
    l.Replan = false;
    const uint64_t passed =
        static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now() - start).count()) / interval;
    if (ticks <= passed) {
      // Due already (a new due time came late in the sleep): hand over now, counting the
      // intervals slept but none beyond the tick that was due by count.
      Elapsed = static_cast<uint32_t>(std::min(byTicks, passed));
      return true;
    }
    // A full wait (no stop, pause or new due time meanwhile) is one hand-over.
    const auto deadline = start + milliseconds(ticks * interval);
    if (!l.Wake.wait_until(Lock, deadline, [&] { return l.Paused || ShouldStop() || l.Replan; })) {
      Elapsed = static_cast<uint32_t>(ticks);
      return true;
    }
    if (l.Paused || ShouldStop()) return false;
  }
}

void TTimerThread::Execute() {
  TTimerLink& l = *FLink;
  std::unique_lock<std::mutex> lock(l.Mutex);
  for (;;) {
    l.Wake.wait(lock, [&] { return !l.Paused || ShouldStop(); });
    if (ShouldStop()) return;
    uint32_t elapsed = 1;
    const bool due = SleepUntilDue(lock, elapsed);
    if (ShouldStop()) return;
    if (!due) continue;
    // Hand the tick over and wait until it has run; a stop ends the wait at once, since
    // the GUI thread may never run the call (its loop has ended, or it is waiting for us).
    const uint64_t tick = ++l.Handed;
    lock.unlock();
    Queue([link = FLink, tick, elapsed] { RunTick(link, tick, elapsed); });
    lock.lock();
    l.Wake.wait(lock, [&] { return l.Served >= tick || ShouldStop(); });
    if (ShouldStop()) return;
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

void TAbFlash::SetNextDue(uint32_t Ticks, uint64_t AtMs) {
  if (FTimerThread) FTimerThread->SetNextDue(Ticks, AtMs);
}

uint64_t TAbFlash::TicksHanded() const { return FTimerThread ? FTimerThread->TicksHanded() : 0; }

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
  assert(IsMainThread());
  if (FEnabled && !IsDestroying() && FOnTimer) FOnTimer(this);
}
