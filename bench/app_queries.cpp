// Signal-strength queries against the software receiver on a pty, through the command
// link alone and through the real main window (its button, pump, reply machine and
// monitor): queries per second, the median time from a reply's last byte to its monitor
// line, and the CPU used while the port is open and nothing is received.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <time.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <chrono>
#include <vector>

#include "app/AppSettings.h"
#include "app/CommandLink.h"
#include "app/Main.h"
#include "app/StartUp.h"
#include "platform/ui/AppEvnts.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Timers.h"
#include "platform/rtl/tests/TempFolder.h"
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

// Sends 1000 signal-strength queries one after another through Send and reports the
// queries per second and the median time from the reply's last byte to its monitor line.
template <typename TRig, typename TSend>
void RunQueries(benchmark::State& state, TRig& rig, TSend Send) {
  std::vector<double> latencyUs;
  int queries = 0;
  for (auto _ : state) {
    for (int i = 0; i < 1000; ++i) {
      int before = rig.Decoded;
      Send();
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

void BM_SignalStrengthQueries(benchmark::State& state) {
  Rig rig;
  RunQueries(state, rig, [&] {
    rig.Link.QueryKind = 3;
    rig.Link.CommandOut(1, u"RS");
  });
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

// The tool as started by its entry, with a model chosen and the port open on the receiver.
struct WindowRig {
  ReceiverSim Sim;
  TempFolder Folder;
  int Decoded = 0;
  int64_t DecodedAt = 0;

  WindowRig() {
    Folder.Write("tool.ini", "[Information]\r\ndestination=Japan\r\n");
    SetSettingsFilePath(Folder.FileS("tool.ini"));
    StartUp();
    MainForm->SetEnabled(true);
    MainForm->ComboBox5->SetItemIndex(0);
    MainForm->ComboBox5Change(MainForm->ComboBox5);
    MainForm->ComPort1->SetPort(UTF8ToString(Sim.Path()));
    MainForm->VrDemoButton3Click(MainForm->VrDemoButton3);
    // The decoded line reaches the monitor through the link's hook: stamp it there.
    auto append = MainForm->Link.AppendMemo1;
    MainForm->Link.AppendMemo1 = [this, append](const String& s) {
      append(s);
      if (s.find(u"dBmです") != String::npos) {
        DecodedAt = NowNs();
        ++Decoded;
      }
    };
    // The connection's own first exchange ("ID ALL /R") is over before measuring.
    int64_t end = NowNs() + 2'000'000'000;
    while (NowNs() < end && (Sim.Lines().empty() || MainForm->Link.RxCount > 0 || MainForm->Link.ParserState != 0 ||
                             MainForm->Memo1->Text().find(u"*No ID") == String::npos))
      Application->HandleMessage();
  }
  ~WindowRig() {
    for (int i = Screen->FormCount() - 1; i >= 0; --i) delete Screen->Forms(i);
    SetSettingsFilePath(String());
  }
};

void BM_WindowSignalStrengthQueries(benchmark::State& state) {
  WindowRig rig;
  if (!MainForm->ComPort1->Connected()) {
    state.SkipWithError("port did not open");
    return;
  }
  RunQueries(state, rig, [] { MainForm->VrDemoButton46Click(MainForm->VrDemoButton46); });
}
BENCHMARK(BM_WindowSignalStrengthQueries)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// Range 0: as started, with the top bar's stopwatch counting (the instrument library's
// flash timer wakes the GUI thread once a second for it). Range 1: the stopwatch stopped,
// with ten wake-ups a second like a window's ordinary traffic.
void BM_WindowIdleCpuWithPortOpen(benchmark::State& state) {
  WindowRig rig;
  TTimer wake(nullptr);
  if (state.range(0) == 1) {
    MainForm->AbOpHourCounter1Click(MainForm->AbOpHourCounter1);
    wake.SetInterval(100);
    wake.SetOnTimer([](TObject*) {});
    wake.SetEnabled(true);
  }
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
BENCHMARK(BM_WindowIdleCpuWithPortOpen)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  Application->Initialize();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
