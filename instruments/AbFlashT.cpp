// The flash timer: one per process, created by the first registration and freed when the
// last client leaves. Times come from the monotonic 64-bit millisecond clock, so changes of
// the wall clock and the 32-bit tick wrap do not disturb periods or the second mark.
// After each tick and each change of the clients the engine tells its thread when the next
// work is due (a flash phase change, a period, the second mark), so the thread sleeps
// through idle intervals instead of waking the GUI thread for nothing; the tick counter
// still advances by every interval slept.
#include "instruments/AbFlashT.h"

#include <algorithm>
#include <cassert>
#include <memory>
#include <vector>

#include "platform/rtl/SysUtils.h"
#include "platform/ui/Controls.h"
#include "platform/win/WinUser.h"

namespace {

struct TFlashState {
  std::vector<std::unique_ptr<TFlashClientRec>> Clients;
  std::unique_ptr<TAbFlashTimer> Timer;
  // A timer released during its own tick; freed once the tick is over.
  std::unique_ptr<TAbFlashTimer> Retired;
  int InstanceCount = 0;
  uint32_t Counter = 0;
  uint64_t SecondMark = 0;
  int TickDepth = 0;
  ~TFlashState() {
    if (Timer) Timer->Shutdown();
    if (Retired) Retired->Shutdown();
    // Leave the objects to process exit: their threads are stopping and free themselves.
    (void)Timer.release();
    (void)Retired.release();
  }
};

// The clients, the counter and the timer belong to the GUI thread, which runs every tick.
TFlashState& State() {
  assert(IsMainThread());
  static TFlashState s;
  return s;
}

constexpr int64_t OneSecondMs = 1000;
constexpr int MaxClients = 32767;

bool IsFlashCode(int64_t Interval) {
  int32_t code = static_cast<int32_t>(Interval);
  return code >= 2 && code <= 6;
}

// Tells the thread when the next tick has work: the ticks until the first flash client's
// state is to change (counted from the counter now) and the earliest time due.
void PlanNextTick() {
  TFlashState& s = State();
  if (!s.Timer) return;
  uint32_t ticks = UINT32_MAX;
  uint64_t at = s.SecondMark;
  for (auto& rec : s.Clients) {
    int32_t code = static_cast<int32_t>(rec->Interval);
    if (IsFlashCode(rec->Interval)) {
      const uint32_t span = 1u << code;
      bool st = (s.Counter >> code) & 1u;
      // Out of step (a new record): the next tick; else when the bit next flips.
      ticks = std::min(ticks, st != rec->State ? 1u : span - (s.Counter & (span - 1)));
    } else if (code != FlashSecondCode) {
      at = std::min(at, static_cast<uint64_t>(std::max<int64_t>(rec->Due, 0)));
    }
  }
  s.Timer->SetNextDue(ticks, at);
}

}  // namespace

TAbFlashTimer::TAbFlashTimer(TComponent* AOwner) : TAbFlash(AOwner) {
  if (++State().InstanceCount == 1)
    SetOnTimer([this](TObject* Sender) { FlashTick(Sender); });
  else
    MessageBox(nullptr, String(u"Only one TAbFlashTimer per Application!") + u'\r' + u"Remove it...",
               u"Error Message", MB_OK);
}

TAbFlashTimer::~TAbFlashTimer() { --State().InstanceCount; }

void TAbFlashTimer::FlashTick(TObject*) { FlashTickAt(GetTickCount64(), ElapsedTicks()); }

void FlashTickAt(uint64_t NowMs, uint32_t Ticks) {
  TFlashState& s = State();
  ++s.TickDepth;
  s.Counter += Ticks;  // wraps like the 32-bit counter it is
  const int64_t T = static_cast<int64_t>(NowMs);
  bool secondTick = false;
  if (NowMs >= s.SecondMark) {
    s.SecondMark += OneSecondMs;
    secondTick = true;
  }
  int n = static_cast<int>(std::min<size_t>(s.Clients.size(), MaxClients));
  for (int i = 0; i < n; ++i) {
    if (i >= static_cast<int>(s.Clients.size())) break;  // a handler removed clients
    try {
      TFlashClientRec* rec = s.Clients[i].get();
      TControl* control = rec->Control;
      int32_t code = static_cast<int32_t>(rec->Interval);
      if (IsFlashCode(rec->Interval)) {
        bool st = (s.Counter >> code) & 1u;
        if (st != rec->State) {
          rec->State = st;
          control->Perform(WM_FLASHTICK, s.Counter, st ? 1 : 0);
        }
      } else if (code == FlashSecondCode) {
        if (secondTick) control->Perform(WM_FLASHTICK, s.Counter, 0);
      } else if (T >= rec->Due) {
        int64_t late = T - rec->Due;
        LPARAM lp = 0;
        if (late <= 1000) {
          rec->Due = T + rec->Interval - late;
          lp = static_cast<LPARAM>(late);
        } else {
          rec->Due = T + rec->Interval;  // too late: drop the lateness, restart the phase
        }
        control->Perform(WM_FLASHTICK, s.Counter, lp);
      }
    } catch (...) {
      // A failing client loses this tick only.
    }
  }
  --s.TickDepth;
  PlanNextTick();
}

void EnsureFlashTimer() {
  TFlashState& s = State();
  if (s.TickDepth == 0) s.Retired.reset();
  if (s.Timer) return;
  s.SecondMark = GetTickCount64() + OneSecondMs;
  s.Timer = std::make_unique<TAbFlashTimer>(nullptr);
}

void FreeFlashTimer() {
  TFlashState& s = State();
  if (!s.Timer) return;
  if (s.TickDepth > 0) {
    // Freed from inside its own tick: stop its thread now, free the object later.
    s.Timer->Shutdown();
    s.Retired = std::move(s.Timer);
  } else {
    s.Timer.reset();
  }
}

void RegisterFlashClient(TControl* Control, int64_t Interval) {
  if (!Control) return;
  TFlashState& s = State();
  int64_t due = static_cast<int64_t>(GetTickCount64()) + Interval;
  bool found = false;
  for (auto& rec : s.Clients) {
    if (rec->Control == Control) {
      rec->Interval = Interval;
      rec->Due = due;
      found = true;
    }
  }
  if (!found) {
    if (static_cast<int>(s.Clients.size()) >= MaxClients) return;
    auto rec = std::make_unique<TFlashClientRec>();
    rec->Control = Control;
    rec->Interval = Interval;
    rec->Due = due;
    if (s.Clients.capacity() - s.Clients.size() < 2) s.Clients.reserve(s.Clients.size() + 10);
    s.Clients.push_back(std::move(rec));
  }
  if (!s.Clients.empty()) EnsureFlashTimer();
  PlanNextTick();
}

void UnregisterFlashClient(TControl* Control) {
  TFlashState& s = State();
  for (auto it = s.Clients.begin(); it != s.Clients.end(); ++it) {
    if ((*it)->Control == Control) {
      s.Clients.erase(it);
      break;
    }
  }
  // No client left: stop the thread rather than tick for nobody.
  if (s.Clients.empty()) FreeFlashTimer();
  else PlanNextTick();
}

TAbFlashTimer* FlashTimer() { return State().Timer.get(); }
int FlashClientCount() { return static_cast<int>(State().Clients.size()); }
const TFlashClientRec* FlashClient(TControl* Control) {
  for (auto& rec : State().Clients)
    if (rec->Control == Control) return rec.get();
  return nullptr;
}
uint32_t FlashTickCounter() { return State().Counter; }
void SetFlashTickCounter(uint32_t Value) {
  State().Counter = Value;
  PlanNextTick();
}
uint64_t FlashHandOvers() { return State().Timer ? State().Timer->TicksHanded() : 0; }
