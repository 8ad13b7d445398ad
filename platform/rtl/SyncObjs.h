#pragma once
// Synchronisation objects: events that threads wait on and a recursive critical section.

#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "platform/rtl/System.h"

#ifndef INFINITE
#define INFINITE 0xFFFFFFFFu
#endif

enum TWaitResult : uint8_t { wrSignaled, wrTimeout, wrAbandoned, wrError, wrIOCompletion };

// A signalled/non-signalled flag that threads wait on. A manual-reset event stays
// signalled until ResetEvent; an auto-reset event releases one waiter and clears itself.
class TEvent : public TObject {
public:
  explicit TEvent(bool ManualReset = true, bool InitialState = false);
  ~TEvent() override;
  String ClassName() const override { return u"TEvent"; }

  void SetEvent();
  void ResetEvent();
  // Waits up to Timeout ms (INFINITE: no limit). An event destroyed while waited on
  // releases its waiters with wrAbandoned.
  TWaitResult WaitFor(uint32_t Timeout = INFINITE);
  bool ManualReset() const { return manual_; }

private:
  std::mutex m_;
  std::condition_variable cv_;
  bool manual_;
  bool signaled_;
  bool closing_ = false;
  int waiters_ = 0;
};

// A manual-reset event created non-signalled.
class TSimpleEvent : public TEvent {
public:
  TSimpleEvent() : TEvent(true, false) {}
  String ClassName() const override { return u"TSimpleEvent"; }
};

// A recursive lock: the owning thread may enter again; each Enter needs its Leave.
class TCriticalSection : public TObject {
public:
  String ClassName() const override { return u"TCriticalSection"; }
  void Enter() { m_.lock(); }
  void Leave() { m_.unlock(); }
  void Acquire() { Enter(); }
  void Release() { Leave(); }
  bool TryEnter() { return m_.try_lock(); }

private:
  std::recursive_mutex m_;
};
