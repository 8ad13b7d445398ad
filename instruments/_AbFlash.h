#pragma once
// The timer engine of the instrument controls: a worker thread that wakes every Interval
// milliseconds and has its owner's Timer run on the GUI thread, waiting while it runs.
// An owner that knows when it next has work may let the thread sleep through the
// intervals before that (SetNextDue); the hand-over then tells how many intervals it covers.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Component.h"

class TAbThread : public TThread {
public:
  using TThread::TThread;
  String ClassName() const override { return u"TAbThread"; }
};

class TAbFlash;

// What a timer thread shares with the ticks it hands to the GUI thread. A tick may run
// after its thread has ended, and a stopped thread must not go on waiting for a tick
// that no message loop will ever run (as at process exit), so neither side owns it alone.
struct TTimerLink {
  std::mutex Mutex;
  std::condition_variable Wake;
  std::atomic<TAbFlash*> Owner{nullptr};
  bool Paused = true;
  bool Stop = false;
  uint64_t Handed = 0;  // ticks handed to the GUI thread
  uint64_t Served = 0;  // the last of them that has run there
  // When the next hand-over is due: after DueTicks intervals from the last one, or at the
  // first interval ending at or after DueAtMs (monotonic ms), whichever comes first.
  uint32_t DueTicks = 1;
  uint64_t DueAtMs = UINT64_MAX;
  bool Replan = false;   // the due time changed while the thread slept
  uint32_t Elapsed = 1;  // intervals covered by the hand-over being run
};

// Sleeps tInterval ms at a time and hands each full sleep to the GUI thread, waiting until
// it has run there. It starts paused; Continue lets it run. Once stopped it ends at once,
// also while a tick is waiting for the GUI thread, and frees itself.
class TTimerThread : public TAbThread {
public:
  TTimerThread(TAbFlash* Timer, bool Enabled);
  ~TTimerThread() override;
  String ClassName() const override { return u"TTimerThread"; }

  std::atomic<uint32_t> tInterval{16};

  TAbFlash* Owner() const { return FLink->Owner.load(); }
  void Pause();
  void Continue();
  bool Paused() const;
  // Ticks handed to the GUI thread so far.
  uint64_t TicksHanded() const;
  // Hand over no sooner than Ticks intervals after the last hand-over or the first
  // interval ending at or after AtMs (GetTickCount64 time). Wakes a sleeping thread,
  // which then hands over at the end of the current interval at the earliest.
  void SetNextDue(uint32_t Ticks, uint64_t AtMs);
  // Ends the thread: it stops waiting at once and never calls its owner again. The object
  // may be gone as soon as this returns.
  void Stop();

  // Timer threads alive in the process (for checks that the engine shut down).
  static int LiveCount();

protected:
  void Execute() override;

private:
  bool ShouldStop() const;
  // Runs on the GUI thread: the owner's Timer, unless the thread was stopped meanwhile.
  static void RunTick(const std::shared_ptr<TTimerLink>& Link, uint64_t Tick, uint32_t Elapsed);
  // Sleeps whole intervals until the next hand-over is due; False when paused or stopped.
  bool SleepUntilDue(std::unique_lock<std::mutex>& Lock, uint32_t& Elapsed);
  std::shared_ptr<TTimerLink> FLink;
};

class TAbFlash : public TComponent {
public:
  explicit TAbFlash(TComponent* AOwner);
  ~TAbFlash() override;
  String ClassName() const override { return u"TAbFlash"; }

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  uint32_t Interval() const { return FInterval; }
  void SetInterval(uint32_t Value);
  TThreadPriority ThreadPriority() const { return FThreadPriority; }
  void SetThreadPriority(TThreadPriority Value);
  const TNotifyEvent& OnTimer() const { return FOnTimer; }
  void SetOnTimer(const TNotifyEvent& Handler);

  // Applies interval, enabled state, handler and priority to the thread.
  void UpdateTimer();
  // Run on the GUI thread for every wake-up of the thread.
  virtual void Timer();
  // Stops the thread for good; the object stays but never ticks again.
  void Shutdown();
  // Lets the thread sleep until the next hand-over is due (see TTimerThread::SetNextDue).
  // Without a call every interval is handed over.
  void SetNextDue(uint32_t Ticks, uint64_t AtMs);
  // Intervals covered by the tick being run (1 unless the thread slept through some).
  uint32_t ElapsedTicks() const { return FElapsedTicks; }
  // Ticks handed to the GUI thread so far.
  uint64_t TicksHanded() const;

protected:
  bool FEnabled = true;
  uint32_t FInterval = 16;
  TNotifyEvent FOnTimer;
  TTimerThread* FTimerThread = nullptr;  // frees itself once stopped
  TThreadPriority FThreadPriority = tpNormal;

private:
  friend class TTimerThread;
  uint32_t FElapsedTicks = 1;
};
