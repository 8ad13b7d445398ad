#include "platform/rtl/SyncObjs.h"

#include <chrono>

TEvent::TEvent(bool ManualReset, bool InitialState) : manual_(ManualReset), signaled_(InitialState) {}

TEvent::~TEvent() {
  // Release anyone still waiting and let them leave before the members go away.
  std::unique_lock<std::mutex> lock(m_);
  closing_ = true;
  cv_.notify_all();
  cv_.wait(lock, [this] { return waiters_ == 0; });
}

void TEvent::SetEvent() {
  std::lock_guard<std::mutex> lock(m_);
  signaled_ = true;
  if (manual_) cv_.notify_all();
  else cv_.notify_one();
}

void TEvent::ResetEvent() {
  std::lock_guard<std::mutex> lock(m_);
  signaled_ = false;
}

TWaitResult TEvent::WaitFor(uint32_t Timeout) {
  std::unique_lock<std::mutex> lock(m_);
  if (closing_) return wrAbandoned;
  ++waiters_;
  auto ready = [this] { return signaled_ || closing_; };
  bool ok;
  if (Timeout == INFINITE) {
    cv_.wait(lock, ready);
    ok = true;
  } else {
    ok = cv_.wait_for(lock, std::chrono::milliseconds(Timeout), ready);
  }
  TWaitResult r;
  if (!ok) {
    r = wrTimeout;
  } else if (signaled_) {
    if (!manual_) signaled_ = false;
    r = wrSignaled;
  } else {
    r = wrAbandoned;
  }
  if (--waiters_ == 0 && closing_) cv_.notify_all();
  return r;
}
