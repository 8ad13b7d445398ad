// The grid's grouping and footer totals against Python in the same run: grouping 100,000 rows
// into 1,000 groups (target: under 500 ms, with Python's grouping of the same rows by a sort
// and a dictionary as the reference), and the floating footer's sum over 1,000,000 rows
// against Python's sum(float(x) ...) over the same texts (target: within 1x). Python times
// itself; the ratios are the grid's time over Python's.
#include <benchmark/benchmark.h>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "bench/support/PythonTiming.h"
#include "grid/AdvGrid.h"
#include "platform/rtl/SysUtils.h"
#include "testing/TempFolder.h"

namespace {

using bench::PythonNumbers;
using bench::Seconds;
using bench::TClock;

uint32_t Step(uint32_t& Seed) {
  Seed = Seed * 1664525u + 1013904223u;
  return Seed >> 8;
}

// Rows of a group key (one of Groups), a name and a decimal number.
std::vector<std::vector<std::string>> GroupRows(int Rows, int Groups) {
  uint32_t seed = 777;
  std::vector<std::vector<std::string>> rows(static_cast<size_t>(Rows));
  for (auto& row : rows) {
    row = {"g" + std::to_string(Step(seed) % static_cast<uint32_t>(Groups)), "n" + std::to_string(Step(seed) % 100000),
           std::to_string(Step(seed) % 10000) + "." + std::to_string(Step(seed) % 100)};
  }
  return rows;
}

void WriteColumn(const std::vector<std::vector<std::string>>& Rows, size_t Col, const std::string& File) {
  std::ofstream out(File);
  for (const auto& row : Rows) out << row[Col] << '\n';
}

// One header row and one fixed column; the rows' fields from column 1 on.
void Fill(DEreDuzeroVaro& g, const std::vector<std::vector<std::string>>& Rows, int ExtraRows) {
  const int cols = static_cast<int>(Rows.front().size()) + 1;
  g.SetColCount(cols);
  g.SetRowCount(static_cast<int>(Rows.size()) + 1 + ExtraRows);
  for (size_t r = 0; r < Rows.size(); ++r)
    for (int c = 1; c < cols; ++c)
      g.SetGridCells(c, static_cast<int>(r) + 1, UTF8ToString(Rows[r][static_cast<size_t>(c - 1)]));
}

void BM_GroupRows(benchmark::State& state) {
  TempFolder tmp;
  const auto rows = GroupRows(100000, 1000);
  WriteColumn(rows, 0, tmp.File("keys.txt"));
  double grid = 0, python = 0;
  int groups = 0;
  for (auto _ : state) {
    state.PauseTiming();
    DEreDuzeroVaro g(nullptr);
    Fill(g, rows, 0);
    state.ResumeTiming();
    auto start = TClock::now();
    g.Group(1);
    grid += Seconds(start);
    state.PauseTiming();
    groups = g.NumNodes();
    std::vector<double> py = PythonNumbers(
        "import sys,time\n"
        "keys=[l.rstrip(\"\\n\") for l in open(sys.argv[1])]\n"
        "t=time.perf_counter()\n"
        "order=sorted(range(len(keys)),key=keys.__getitem__)\n"
        "groups={}\n"
        "for i in order: groups.setdefault(keys[i],[]).append(i)\n"
        "print(time.perf_counter()-t)\nprint(len(groups))\n",
        tmp.File("keys.txt"));
    python += py.empty() ? 0 : py[0];
    if (py.size() > 1 && static_cast<int>(py[1]) != groups) state.SkipWithError("the grid and Python found other groups");
    state.ResumeTiming();
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["grid_ms"] = grid / n * 1000;
  state.counters["python_ms"] = python / n * 1000;
  state.counters["ratio"] = python > 0 ? grid / python : 0;
  state.counters["groups"] = groups;
}
BENCHMARK(BM_GroupRows)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_FooterSum(benchmark::State& state) {
  TempFolder tmp;
  const auto rows = GroupRows(1000000, 10);
  WriteColumn(rows, 2, tmp.File("numbers.txt"));
  DEreDuzeroVaro g(nullptr);
  Fill(g, rows, 1);
  g.FloatingFooter()->SetVisible(true);
  g.CellProperties(3, g.RowCount() - 1)->SetCalcType(acSUM);
  double grid = 0, python = 0, sum = 0, pySum = 0;
  for (auto _ : state) {
    auto start = TClock::now();
    g.CalcFooter(3);
    grid += Seconds(start);
    state.PauseTiming();
    sum = g.Floats(3, g.RowCount() - 1);
    std::vector<double> py = PythonNumbers(
        "import sys,time\n"
        "xs=[l.rstrip(\"\\n\") for l in open(sys.argv[1])]\n"
        "t=time.perf_counter()\n"
        "s=sum(float(x) for x in xs)\n"
        "print(time.perf_counter()-t)\nprint(\"%.2f\" % s)\n",
        tmp.File("numbers.txt"));
    python += py.empty() ? 0 : py[0];
    pySum = py.size() > 1 ? py[1] : 0;
    state.ResumeTiming();
  }
  if (std::abs(sum - pySum) > 0.01) state.SkipWithError("the grid and Python summed differently");
  const double n = static_cast<double>(state.iterations());
  state.counters["grid_ms"] = grid / n * 1000;
  state.counters["python_ms"] = python / n * 1000;
  state.counters["ratio"] = python > 0 ? grid / python : 0;
}
BENCHMARK(BM_FooterSum)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
