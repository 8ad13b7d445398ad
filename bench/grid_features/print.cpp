// The print engine laying out 100,000 rows x 10 columns into pages (a preview's page count on
// an A4-sized page, nothing drawn; target: under 1 s, wall and processor time reported),
// against the reference of measuring every cell's text once on the same canvas with
// TextWidth: the layout must stay below it (layout_to_measure < 1), since it measures cells
// from kept character advances and measures each cell once for width and height.
#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>

#include "grid/AdvGrid.h"
#include "platform/rtl/SysUtils.h"

namespace {

using TClock = std::chrono::steady_clock;

double Seconds(TClock::time_point Start) { return std::chrono::duration<double>(TClock::now() - Start).count(); }

constexpr int kRows = 100000, kCols = 10;

void FillGrid(DEreDuzeroVaro& G) {
  G.SetColCount(kCols);
  G.SetRowCount(kRows);
  for (int r = 0; r < kRows; ++r)
    for (int c = 0; c < kCols; ++c) G.SetCells(c, r, u"R" + IntToStr(r) + u"C" + IntToStr(c));
}

void BM_PrintLayout100kRows(benchmark::State& state) {
  DEreDuzeroVaro grid(nullptr);
  FillGrid(grid);
  grid.PrintSettings()->SetPageNr(ppBottomCenter);
  // The count only: the start event draws nothing.
  grid.OnPrintStart = [](TObject*, int, int& From, int&) { From = 0; };
  TBitmap page(794, 1123);  // A4 at 96 dots per inch
  double layout = 0, reference = 0, layoutCpu = 0;
  int pages = 0;
  for (auto _ : state) {
    auto t0 = TClock::now();
    const std::clock_t c0 = std::clock();
    grid.PrintPreview(page.Canvas(), TRect(0, 0, page.Width(), page.Height()));
    layout = Seconds(t0);
    layoutCpu = static_cast<double>(std::clock() - c0) / CLOCKS_PER_SEC;
    pages = grid.PrintNrOfPages();

    t0 = TClock::now();
    TCanvas* c = page.Canvas();
    c->Font()->SetHeight(-13);
    int64_t sum = 0;
    for (int r = 0; r < kRows; ++r)
      for (int col = 0; col < kCols; ++col) sum += c->TextWidth(grid.Cells(col, r));
    benchmark::DoNotOptimize(sum);
    reference = Seconds(t0);
  }
  state.counters["layout_s"] = layout;
  state.counters["layout_cpu_s"] = layoutCpu;
  state.counters["measure_once_s"] = reference;
  state.counters["layout_to_measure"] = layout / reference;
  state.counters["pages"] = pages;
  state.counters["target_s"] = 1.0;
}
BENCHMARK(BM_PrintLayout100kRows)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
