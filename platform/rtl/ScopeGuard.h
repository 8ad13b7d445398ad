#pragma once
// Runs a cleanup when the scope ends, however it ends (return or exception), unless
// dismissed first: the "undo on every way out" half of a step.
//
//   TScopeGuard undo([&] { DestroyPortHandle(); });
//   ApplyPortSettings();
//   undo.Dismiss();  // kept: the step succeeded
//
// A cleanup that throws on a normal way out passes its exception on; while another exception
// is on its way, the cleanup's own is dropped so that the first one arrives.

#include <exception>
#include <utility>

template <typename F>
class TScopeGuard {
public:
  explicit TScopeGuard(F Cleanup) : FCleanup(std::move(Cleanup)) {}
  ~TScopeGuard() noexcept(false) {
    if (!FActive) return;
    if (std::uncaught_exceptions() == FUnwinding) {
      FCleanup();
      return;
    }
    try {
      FCleanup();
    } catch (...) {
    }
  }
  TScopeGuard(const TScopeGuard&) = delete;
  TScopeGuard& operator=(const TScopeGuard&) = delete;

  void Dismiss() { FActive = false; }

private:
  F FCleanup;
  bool FActive = true;
  int FUnwinding = std::uncaught_exceptions();
};
