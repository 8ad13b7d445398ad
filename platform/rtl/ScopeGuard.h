#pragma once
// Runs a cleanup when the scope ends, however it ends (return or exception), unless
// dismissed first: the "undo on every way out" half of a step.
//
//   TScopeGuard undo([&] { DestroyPortHandle(); });
//   ApplyPortSettings();
//   undo.Dismiss();  // kept: the step succeeded
//
// The cleanup must not throw: it may run while an exception is on its way.

#include <utility>

template <typename F>
class TScopeGuard {
public:
  explicit TScopeGuard(F Cleanup) : FCleanup(std::move(Cleanup)) {}
  ~TScopeGuard() {
    if (FActive) FCleanup();
  }
  TScopeGuard(const TScopeGuard&) = delete;
  TScopeGuard& operator=(const TScopeGuard&) = delete;

  void Dismiss() { FActive = false; }

private:
  F FCleanup;
  bool FActive = true;
};
