// The string grid's content sizing: AutoSizeColumns over 100,000 rows against measuring each
// text once with TextWidth on the same canvas (target: at most 1.5x), in the same run.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>

#include "grid/AdvGrid.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/MeasureCanvas.h"

namespace {

constexpr int kSizeRows = 100000;

std::unique_ptr<DEreDuzeroVaro> MakeSizeGrid() {
  auto grid = std::make_unique<DEreDuzeroVaro>(nullptr);
  grid->SetColCount(3);
  grid->SetRowCount(kSizeRows + 1);
  for (int r = 1; r <= kSizeRows; ++r) {
    grid->SetCells(1, r, u"item " + IntToStr(r));
    grid->SetCells(2, r, IntToStr(r * 7));
  }
  return grid;
}

void BM_AutoSizeColumns(benchmark::State& state) {
  auto grid = MakeSizeGrid();
  double sizing = 0, reference = 0;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    {
      TMeasureCanvas canvas(grid->Canvas());
      canvas->Font()->Assign(grid->Font());
      int widest = 0;
      for (int c = 1; c < 3; ++c)
        for (int r = 1; r <= kSizeRows; ++r) widest = std::max(widest, canvas->TextWidth(grid->Cells(c, r)));
      benchmark::DoNotOptimize(widest);
    }
    auto middle = std::chrono::steady_clock::now();
    grid->AutoSizeColumns(false, 0);
    auto stop = std::chrono::steady_clock::now();
    reference += std::chrono::duration<double>(middle - start).count();
    sizing += std::chrono::duration<double>(stop - middle).count();
  }
  state.counters["autosize_ms"] = 1000 * sizing / state.iterations();
  state.counters["textwidth_ms"] = 1000 * reference / state.iterations();
  state.counters["ratio"] = sizing / reference;
  state.counters["limit_ratio"] = 1.5;
}
BENCHMARK(BM_AutoSizeColumns)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
