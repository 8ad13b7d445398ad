// Idle cost of the instrument controls' flash timer: the CPU used and the hand-overs to
// the GUI thread per second while one once-per-second client (as the operating-hour
// counter) is registered and nothing else happens.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <time.h>

#include <chrono>

#include "instruments/AbFlashT.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"

namespace {

double CpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

class TSecondClient : public TGraphicControl {
public:
  TSecondClient() : TGraphicControl(nullptr) {}
  ~TSecondClient() override { UnregisterFlashClient(this); }
  int Seconds = 0;
  void WndProc(TMessage& M) override {
    if (M.Msg == WM_FLASHTICK) ++Seconds;
    else TGraphicControl::WndProc(M);
  }
};

void BM_FlashTimerIdleCpuWithOneSecondClient(benchmark::State& state) {
  TSecondClient client;
  RegisterFlashClient(&client, FlashSecondCode);
  double cpu = 0, wall = 0;
  uint64_t handed = 0;
  for (auto _ : state) {
    uint64_t h0 = FlashHandOvers();
    double c0 = CpuSeconds();
    auto t0 = std::chrono::steady_clock::now(), end = t0 + std::chrono::seconds(3);
    while (std::chrono::steady_clock::now() < end) Application->HandleMessage();
    cpu += CpuSeconds() - c0;
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    handed += FlashHandOvers() - h0;
  }
  state.counters["cpu_percent_of_core"] = wall > 0 ? 100.0 * cpu / wall : 0;
  state.counters["hand_overs_per_s"] = wall > 0 ? static_cast<double>(handed) / wall : 0;
  state.counters["second_ticks"] = client.Seconds;
}
BENCHMARK(BM_FlashTimerIdleCpuWithOneSecondClient)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace
