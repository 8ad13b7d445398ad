// Signal-strength queries against the software receiver on a pty: through a bare pty
// loop (the reference), through the command link alone and through the real main window
// (its button, pump, reply machine and monitors): queries per second, the median time
// from a reply's last byte to its monitor line, whether the rate holds over a long run and
// how much memory each query keeps, and the CPU used while the port is open and nothing
// is received. Also a flood of received bytes echoed into the monitor: how long the window
// goes without serving a timer.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <time.h>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "app/AppSettings.h"
#include "app/CommandLink.h"
#include "app/Main.h"
#include "app/StartUp.h"
#include "platform/ui/AppEvnts.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Timers.h"
#include "testing/TempFolder.h"
#include "serial/CPort.h"
#include "testing/ReceiverSim.h"

namespace {

int64_t NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// Resident memory of the process, in bytes.
double RssBytes() {
  long pages = 0, resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
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

// One query through Send; false when its decoded line did not come within 5 s.
template <typename TRig, typename TSend>
bool Query(TRig& rig, TSend& Send) {
  int before = rig.Decoded;
  Send();
  int64_t deadline = NowNs() + 5'000'000'000;
  while (rig.Decoded == before && NowNs() < deadline) Application->HandleMessage();
  return rig.Decoded != before;
}

// Sends 1000 signal-strength queries one after another through Send and reports the
// queries per second and the median time from the reply's last byte to its monitor line.
template <typename TRig, typename TSend>
void RunQueries(benchmark::State& state, TRig& rig, TSend Send) {
  std::vector<double> latencyUs;
  int queries = 0;
  for (auto _ : state) {
    for (int i = 0; i < 1000; ++i) {
      if (!Query(rig, Send)) {
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

// The reference: "RS" written to the pty and its reply read back, with no tool at all.
void BM_RawPtySignalStrengthQueries(benchmark::State& state) {
  ReceiverSim sim;
  int fd = ::open(sim.Path().c_str(), O_RDWR | O_NOCTTY);
  if (fd < 0) {
    state.SkipWithError("cannot open the pty");
    return;
  }
  termios t{};
  tcgetattr(fd, &t);
  cfmakeraw(&t);
  tcsetattr(fd, TCSANOW, &t);
  int queries = 0;
  for (auto _ : state) {
    for (int i = 0; i < 1000; ++i) {
      if (::write(fd, "RS\r\n", 4) != 4) break;
      std::string got;
      char buf[64];
      while (got.find('\n') == std::string::npos) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 5000) <= 0) break;
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n <= 0) break;
        got.append(buf, size_t(n));
      }
      if (got.find('\n') == std::string::npos) {
        state.SkipWithError("no reply");
        break;
      }
      ++queries;
    }
  }
  ::close(fd);
  state.counters["queries_per_s"] = benchmark::Counter(queries, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RawPtySignalStrengthQueries)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

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

// A long run through the window: the rate over the last 1,000 queries against the first
// 1,000 (the monitors keep growing: the sent-lines monitor keeps every line), and the
// resident memory each query adds.
void BM_WindowSignalStrengthQueriesLongRun(benchmark::State& state) {
  WindowRig rig;
  if (!MainForm->ComPort1->Connected()) {
    state.SkipWithError("port did not open");
    return;
  }
  auto send = [] { MainForm->VrDemoButton46Click(MainForm->VrDemoButton46); };
  const int blocks = static_cast<int>(state.range(0) / 1000);
  std::vector<double> rates;
  double rss0 = RssBytes();
  for (auto _ : state) {
    for (int b = 0; b < blocks; ++b) {
      int64_t t0 = NowNs();
      for (int i = 0; i < 1000; ++i)
        if (!Query(rig, send)) {
          state.SkipWithError("no reply");
          return;
        }
      rates.push_back(1000.0 / (static_cast<double>(NowNs() - t0) / 1e9));
    }
  }
  if (rates.empty()) return;
  state.counters["first_1000_per_s"] = rates.front();
  state.counters["last_1000_per_s"] = rates.back();
  state.counters["last_vs_first_percent"] = 100.0 * rates.back() / rates.front();
  state.counters["rss_growth_bytes_per_query"] = (RssBytes() - rss0) / (1000.0 * static_cast<double>(rates.size()));
  state.counters["sent_monitor_lines"] = MainForm->Memo2->Lines()->Count();
}
BENCHMARK(BM_WindowSignalStrengthQueriesLongRun)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

// A flood of received bytes at pty speed, echoed into the control-page monitor: the
// longest the window goes without serving a 10 ms timer, and the time spent in the
// receive handler. Range 0: MiB sent; range 1: 0 for one endless line ('Z'), 1 for reply
// frames ("*5A" CR LF).
void BM_WindowFlood(benchmark::State& state) {
  WindowRig rig;
  if (!MainForm->ComPort1->Connected()) {
    state.SkipWithError("port did not open");
    return;
  }
  int64_t maxGap = 0, last = 0, rxNs = 0;
  TTimer tick(nullptr);
  tick.SetInterval(10);
  tick.SetOnTimer([&](TObject*) {
    int64_t now = NowNs();
    if (last) maxGap = std::max(maxGap, now - last);
    last = now;
  });
  auto rx = MainForm->ComPort1->OnRxChar;
  MainForm->ComPort1->OnRxChar = [&](TObject* Sender, int Count) {
    int64_t t0 = NowNs();
    rx(Sender, Count);
    rxNs += NowNs() - t0;
  };
  std::string chunk(65536, 'Z');
  if (state.range(1) == 1)
    for (size_t i = 0; i + 5 <= chunk.size(); i += 5) chunk.replace(i, 5, "*5A\r\n");
  const size_t total = static_cast<size_t>(state.range(0)) << 20;
  for (auto _ : state) {
    std::atomic<bool> sent{false};
    tick.SetEnabled(true);
    std::thread peer([&] {
      for (size_t n = 0; n < total; n += chunk.size()) rig.Sim.Send(chunk);
      sent = true;
    });
    while (!sent) Application->HandleMessage();
    peer.join();
    // What is still buffered drains while the timer goes on being measured.
    int64_t end = NowNs() + 500'000'000;
    while (NowNs() < end) Application->HandleMessage();
    tick.SetEnabled(false);
  }
  state.counters["max_tick_gap_ms"] = static_cast<double>(maxGap) / 1e6;
  state.counters["rx_handler_ms"] = static_cast<double>(rxNs) / 1e6;
}
BENCHMARK(BM_WindowFlood)->Args({50, 0})->Args({50, 1})->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

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
