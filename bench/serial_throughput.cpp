// Serial throughput and event latency over a pty pair: 1 MiB each way through WriteStr and
// ReadStr, with the event thread delivering RxChar to the GUI thread through the hidden
// window; and the time from the peer's write to the OnRxChar handler.

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <benchmark/benchmark.h>

#include "platform/ui/Forms.h"
#include "serial/CPort.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr size_t kMiB = 1 << 20;

struct PtyPort {
  int master = -1;
  TComPort port{nullptr};
  PtyPort() {
    int slave = -1;
    char name[128];
    openpty(&master, &slave, name, nullptr, nullptr);
    ::close(slave);
    port.SetPort(UTF8ToString(name));
    port.SetSyncMethod(smWindowSync);
    port.SetEvents({evRxChar, evTxEmpty});
    port.Buffer()->SetInputSize(65536);
    port.Open();
  }
  ~PtyPort() {
    port.Close();
    ::close(master);
  }
};

void Pump() { Application->ProcessMessages(); }

void BM_SerialThroughput(benchmark::State& state) {
  PtyPort p;
  std::string chunk(4096, '\x5A');
  size_t received = 0;
  p.port.OnRxChar = [&](TObject*, int count) {
    String s;
    received += static_cast<size_t>(p.port.ReadStr(s, count));
  };
  for (auto _ : state) {
    // Peer to port: the peer writes, OnRxChar reads on the GUI thread.
    received = 0;
    std::thread peer([&] {
      size_t sent = 0;
      while (sent < kMiB) {
        ssize_t n = ::write(p.master, chunk.data(), chunk.size());
        if (n > 0) sent += static_cast<size_t>(n);
        else std::this_thread::yield();
      }
    });
    while (received < kMiB) Pump();
    peer.join();
    // Port to peer: WriteStr while the peer drains.
    std::atomic<size_t> drained{0};
    std::thread reader([&] {
      char buf[65536];
      while (drained < kMiB) {
        ssize_t n = ::read(p.master, buf, sizeof buf);
        if (n > 0) drained += static_cast<size_t>(n);
      }
    });
    String out(chunk.size() * 16, u'\x5A');
    for (size_t sent = 0; sent < kMiB; sent += out.size()) p.port.WriteStr(out);
    reader.join();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * 2 * kMiB));
}
BENCHMARK(BM_SerialThroughput)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SerialRxCharLatency(benchmark::State& state) {
  PtyPort p;
  Clock::time_point handled;
  bool got = false;
  p.port.OnRxChar = [&](TObject*, int count) {
    handled = Clock::now();
    String s;
    p.port.ReadStr(s, count);
    got = true;
  };
  std::vector<double> samples;
  for (auto _ : state) {
    got = false;
    auto start = Clock::now();
    (void)::write(p.master, "x", 1);
    while (!got) Pump();
    samples.push_back(std::chrono::duration<double, std::micro>(handled - start).count());
  }
  std::sort(samples.begin(), samples.end());
  state.counters["median_us"] = samples.empty() ? 0 : samples[samples.size() / 2];
}
BENCHMARK(BM_SerialRxCharLatency)->Iterations(500)->UseRealTime();

}  // namespace
