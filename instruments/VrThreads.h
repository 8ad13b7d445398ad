#pragma once
// The Vr timer: a non-visual component that raises OnTimer at a fixed interval, either
// from a window timer on the GUI thread or from a worker thread of its own.
//
// Unlike the class library's timer, Enabled := False only clears the flag: the timer
// keeps running and its ticks are ignored until it is enabled again (which restarts it),
// re-typed or destroyed. Nothing starts in the constructor; Loaded or a property write
// brings the timer up to date.

#include <condition_variable>
#include <mutex>

#include "instruments/VrControls.h"
#include "platform/rtl/Classes.h"
#include "platform/win/WinUser.h"

enum TVrTimerType : uint8_t { ttThread, ttSystem };

class TVrTimer;

// The worker of a thread timer: waits Interval ms (or until told to stop), then ticks.
class TVrTimerThread : public TThread {
public:
  // Enabled False creates the thread suspended.
  TVrTimerThread(TVrTimer* Timer, bool Enabled);
  ~TVrTimerThread() override;
  String ClassName() const override { return u"TVrTimerThread"; }

  // Pauses the worker: a wait in progress ends without a tick and no tick follows
  // until Resume, which starts a fresh period. Resuming a running worker changes nothing.
  void Suspend();
  void Resume();
  bool Suspended() const;
  uint32_t Interval() const;
  void SetInterval(uint32_t Value);
  // Resumes the worker, tells it to terminate and ends its current wait at once.
  void Reset();
  // True while the GUI thread runs a tick this worker waits for.
  bool InTick() const { return FInTick; }

protected:
  void Execute() override;
  void DoTimer();

private:
  TVrTimer* FOwner;
  mutable std::mutex FMutex;
  std::condition_variable FWake;
  bool FEvent = false;  // auto-reset stop signal
  bool FPaused = true;
  uint64_t FPeriod = 0;  // counts Resume calls, so a resumed wait starts over
  uint32_t FInterval = 1000;
  bool FInTick = false;  // GUI thread only
};

class TVrTimer : public TVrComponent {
public:
  explicit TVrTimer(TComponent* AOwner);
  ~TVrTimer() override;
  String ClassName() const override { return u"TVrTimer"; }

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  uint32_t Interval() const { return FInterval; }
  void SetInterval(uint32_t Value);
  bool SyncEvent() const { return FSyncEvent; }
  void SetSyncEvent(bool Value) { FSyncEvent = Value; }
  TVrTimerType TimerType() const { return FTimerType; }
  void SetTimerType(TVrTimerType Value);
  TThreadPriority Priority() const { return FPriority; }
  void SetPriority(TThreadPriority Value);

  // Assigning it does not restart the timer.
  TNotifyEvent OnTimer;

  // True while the window or thread of the current type exists.
  bool Allocated() const { return FAllocated; }
  // True while the window timer is set or the worker thread runs unpaused.
  bool Running() const;
  HWND WindowHandle() const { return FWindowHandle; }

protected:
  void Loaded() override;
  // Calls OnTimer while enabled; a handler's exception goes to the application's handler.
  virtual void Timer();

private:
  friend class TVrTimerThread;
  void TimerWndProc(TMessage& Message);
  void AllocateTimer();
  void ReleaseTimer();
  void UpdateTimer();

  bool FEnabled = true;
  uint32_t FInterval = 1000;
  HWND FWindowHandle = nullptr;
  std::atomic<bool> FSyncEvent{true};
  TVrTimerType FTimerType = ttThread;
  TVrTimerThread* FTimerThread = nullptr;  // owned while allocated in thread mode
  TThreadPriority FPriority = tpNormal;
  bool FAllocated = false;
  bool FSystemTimerSet = false;
};

RTL_EXCEPTION(EOutOfResources, Exception);
