#pragma once
// The timer engine of the instrument controls: a worker thread that wakes every Interval
// milliseconds and runs its owner's Timer on the GUI thread through Synchronize.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Component.h"

class TAbThread : public TThread {
public:
  using TThread::TThread;
  String ClassName() const override { return u"TAbThread"; }
};

class TAbFlash;

// Sleeps tInterval ms at a time and hands each full sleep to the GUI thread. It starts
// paused; Continue lets it run. Once stopped it ends after its current wait and frees itself.
class TTimerThread : public TAbThread {
public:
  TTimerThread(TAbFlash* Timer, bool Enabled);
  ~TTimerThread() override;
  String ClassName() const override { return u"TTimerThread"; }

  std::atomic<TAbFlash*> tOwner;
  std::atomic<uint32_t> tInterval{16};

  void Pause();
  void Continue();
  bool Paused() const;
  // Ends the thread: it stops waiting at once and never calls its owner again.
  void Stop();

  // Timer threads alive in the process (for checks that the engine shut down).
  static int LiveCount();

protected:
  void Execute() override;

private:
  bool ShouldStop() const;
  mutable std::mutex FMutex;
  std::condition_variable FWake;
  bool FPaused = true;
  bool FStop = false;
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

protected:
  bool FEnabled = true;
  uint32_t FInterval = 16;
  TNotifyEvent FOnTimer;
  TTimerThread* FTimerThread = nullptr;  // frees itself once stopped
  TThreadPriority FThreadPriority = tpNormal;
};
