// Signal-strength queries through the command link, the serial component and the
// message loop against the software receiver on a pty: queries per second, the median
// time from a reply's last byte to its monitor line, and the CPU used while the port
// is open and nothing is received.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "app/CommandLink.h"
#include "platform/ui/AppEvnts.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Timers.h"
#include "serial/CPort.h"
// The test receiver is compiled in: it is a test double, not part of the tool.
#include "app/tests/ReceiverSim.cpp"

namespace {

int64_t NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

double CpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

struct Rig {
  ReceiverSim Sim;
  TComPort Port{nullptr};
  TApplicationEvents Events{nullptr};
  TCommandLink Link;
  int Decoded = 0;
  int64_t DecodedAt = 0;

  Rig() {
    Port.SetPort(UTF8ToString(Sim.Path()));
    Port.SetBaudRate(br19200);
    Port.SetSyncMethod(smWindowSync);
    Port.SetEvents({evRxChar, evTxEmpty, evError});
    Port.OnRxChar = [this](TObject*, int Count) {
      String s;
      Port.ReadStr(s, Count);
      Link.ReceiveChars(s);
    };
    Port.OnTxEmpty = [this](TObject*) { Link.TxEmpty(); };
    Link.AppendMemo1 = [this](const String& s) {
      if (s.find(u"dBm") != String::npos) {
        DecodedAt = NowNs();
        ++Decoded;
      }
    };
    Link.WriteLine = [this](const String& s) { Port.WriteStr(s); };
    Link.ClearPortBuffers = [this] { Port.ClearBuffer(true, true); };
    Events.OnIdle = [this](TObject*, bool& Done) { Link.Idle(Done); };
    Port.Open();
  }
  ~Rig() { Port.Close(); }
};

void BM_SignalStrengthQueries(benchmark::State& state) {
  Rig rig;
  std::vector<double> latencyUs;
  int queries = 0;
  for (auto _ : state) {
    for (int i = 0; i < 1000; ++i) {
      int before = rig.Decoded;
      rig.Link.QueryKind = 3;
      rig.Link.CommandOut(1, u"RS");
      int64_t deadline = NowNs() + 5'000'000'000;
      while (rig.Decoded == before && NowNs() < deadline) Application->HandleMessage();
      if (rig.Decoded == before) {
        state.SkipWithError("no reply");
        return;
      }
      latencyUs.push_back(static_cast<double>(rig.DecodedAt - rig.Sim.LastReplyDoneNs) / 1000.0);
      ++queries;
    }
  }
  std::sort(latencyUs.begin(), latencyUs.end());
  state.counters["queries_per_s"] = benchmark::Counter(queries, benchmark::Counter::kIsRate);
  state.counters["median_reply_to_monitor_us"] = latencyUs.empty() ? 0 : latencyUs[latencyUs.size() / 2];
}
BENCHMARK(BM_SignalStrengthQueries)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_IdleCpuWithPortOpen(benchmark::State& state) {
  Rig rig;
  TTimer wake(nullptr);  // ten wake-ups a second, like a window's ordinary traffic
  wake.SetInterval(100);
  wake.SetOnTimer([](TObject*) {});
  wake.SetEnabled(true);
  double cpu = 0, wall = 0;
  for (auto _ : state) {
    double c0 = CpuSeconds();
    int64_t t0 = NowNs(), end = t0 + 2'000'000'000;
    while (NowNs() < end) Application->HandleMessage();
    cpu += CpuSeconds() - c0;
    wall += static_cast<double>(NowNs() - t0) / 1e9;
  }
  state.counters["cpu_percent_of_core"] = wall > 0 ? 100.0 * cpu / wall : 0;
}
BENCHMARK(BM_IdleCpuWithPortOpen)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  Application->Initialize();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
