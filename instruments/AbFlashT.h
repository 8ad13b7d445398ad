#pragma once
// The application-wide flash timer and its clients. A control registers with a flash code
// (2..6: the state of tick-counter bit `code`), the once-per-second code 32, or a period in
// milliseconds; each tick then reaches it as WM_FLASHTICK through Perform on the GUI thread.
// WParam is the tick counter; LParam the flash state (1/0), 0, or the lateness in ms.

#include <cstdint>

#include "instruments/_AbFlash.h"
#include "platform/win/Messages.h"

class TControl;

constexpr UINT WM_FLASHTICK = WM_USER + 100;  // 1124
constexpr int64_t FlashSecondCode = 32;

enum TFlashFreq : uint8_t { ff8Hz, ff4Hz, ff2Hz, ff1Hz, ff05Hz };

class TAbFlashTimer : public TAbFlash {
public:
  explicit TAbFlashTimer(TComponent* AOwner);
  ~TAbFlashTimer() override;
  String ClassName() const override { return u"TAbFlashTimer"; }
  void FlashTick(TObject* Sender);
};

struct TFlashClientRec {
  TControl* Control = nullptr;
  int64_t Interval = 0;
  int64_t Due = 0;  // monotonic milliseconds at which a period client is next due
  bool State = false;
};

// Adds the control, or updates its record when it is registered already.
void RegisterFlashClient(TControl* Control, int64_t Interval);
void UnregisterFlashClient(TControl* Control);
void EnsureFlashTimer();
void FreeFlashTimer();

// ---- State of the engine, for the controls' tests
TAbFlashTimer* FlashTimer();
int FlashClientCount();
const TFlashClientRec* FlashClient(TControl* Control);
uint32_t FlashTickCounter();
void SetFlashTickCounter(uint32_t Value);
// One tick covering Ticks intervals as if the monotonic clock read NowMs (the timer
// passes the real clock and the intervals its thread slept).
void FlashTickAt(uint64_t NowMs, uint32_t Ticks = 1);
// Ticks the running flash timer has handed to the GUI thread.
uint64_t FlashHandOvers();
