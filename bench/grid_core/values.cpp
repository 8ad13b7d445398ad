// The string grid's cell values: what a colour or font attribute costs a cell in heap memory
// over a plain cell (target: at most 160 bytes), and measuring a cell text of 1 MB against
// one of 100 KB (target: linear, a time ratio near 10).

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <memory>

#include "grid/AdvGrid.h"

namespace {

constexpr int kCells = 20000;

size_t HeapInUse() { return mallinfo2().uordblks; }

std::unique_ptr<DEreDuzeroVaro> MakeValuesGrid() {
  auto grid = std::make_unique<DEreDuzeroVaro>(nullptr);
  grid->SetColCount(3);
  grid->SetRowCount(kCells + 1);
  for (int r = 1; r <= kCells; ++r)
    for (int c = 1; c < 3; ++c) grid->SetCells(c, r, u"text");
  return grid;
}

void BM_CellAttributeBytes(benchmark::State& state) {
  double colorBytes = 0, fontBytes = 0;
  for (auto _ : state) {
    auto grid = MakeValuesGrid();
    size_t before = HeapInUse();
    for (int r = 1; r <= kCells; ++r) grid->SetColors(1, r, clRed);
    size_t afterColor = HeapInUse();
    for (int r = 1; r <= kCells; ++r) grid->SetFontColors(2, r, clBlue);
    size_t afterFont = HeapInUse();
    colorBytes = static_cast<double>(afterColor - before) / kCells;
    fontBytes = static_cast<double>(afterFont - afterColor) / kCells;
  }
  state.counters["color_bytes_per_cell"] = colorBytes;
  state.counters["font_bytes_per_cell"] = fontBytes;
  state.counters["limit_bytes"] = 160;
}
BENCHMARK(BM_CellAttributeBytes)->Unit(benchmark::kMillisecond)->Iterations(3);

double MeasureSeconds(DEreDuzeroVaro& Grid, const String& Text, bool Wrap) {
  Grid.SetCells(1, 1, Text);
  auto start = std::chrono::steady_clock::now();
  TPoint size;
  Grid.GetCellTextSize(1, 1, size, false, Wrap);
  benchmark::DoNotOptimize(size);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Lines of 60 characters: 100 KB and 1 MB of them, measured as lines and wrapped in the cell.
void BM_MeasureLongCellText(benchmark::State& state) {
  auto grid = MakeValuesGrid();
  grid->SetMultilinecells(true);
  auto text = [](size_t Bytes) {
    String line(58, u'x');
    line += u"\r\n";
    String s;
    while (s.size() * 2 < Bytes) s += line;
    return s;
  };
  String small = text(100 * 1024), large = text(1024 * 1024);
  double smallLines = 0, largeLines = 0, smallWrap = 0, largeWrap = 0;
  for (auto _ : state) {
    smallLines += MeasureSeconds(*grid, small, false);
    largeLines += MeasureSeconds(*grid, large, false);
    smallWrap += MeasureSeconds(*grid, small, true);
    largeWrap += MeasureSeconds(*grid, large, true);
  }
  state.counters["lines_1MB_ms"] = 1000 * largeLines / state.iterations();
  state.counters["lines_ratio"] = largeLines / smallLines;
  state.counters["wrapped_1MB_ms"] = 1000 * largeWrap / state.iterations();
  state.counters["wrapped_ratio"] = largeWrap / smallWrap;
}
BENCHMARK(BM_MeasureLongCellText)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
