// The grid foundation. Its cell store: 1,000,000 short texts (100,000 rows x 10 columns)
// written through Cells, against a std::vector<String> holding the same texts, in time and
// in heap memory, measured in the same run (targets: at most 2x the time and 1.5x the
// memory of the vector). Its painter: a full repaint and page scrolls of a 1920 x 1080 view.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "grid/AdvGrid.h"
#include "grid/BaseGrid.h"
#include "platform/ui/Forms.h"
#include "testing/TestSupport.h"

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 10;

// A short text of at most 7 characters made from a number, the same on both sides.
String ShortText(int N) {
  Char buf[8];
  int len = 0;
  buf[len++] = u'c';
  do {
    buf[len++] = static_cast<Char>(u'0' + N % 10);
    N /= 10;
  } while (N > 0 && len < 7);
  return String(buf, len);
}

size_t HeapInUse() { return mallinfo2().uordblks; }

struct TRunResult {
  double Seconds;
  size_t Bytes;
};

// Fills a grid made beforehand (its counts set), so that only the store's growth counts.
TRunResult FillGrid(TBaseGrid& Grid) {
  size_t before = HeapInUse();
  auto start = std::chrono::steady_clock::now();
  int n = 0;
  for (int r = 0; r < kRows; ++r)
    for (int c = 0; c < kCols; ++c) Grid.SetCells(c, r, ShortText(n++));
  auto stop = std::chrono::steady_clock::now();
  return {std::chrono::duration<double>(stop - start).count(), HeapInUse() - before};
}

TRunResult FillVector(std::vector<String>& Texts) {
  size_t before = HeapInUse();
  auto start = std::chrono::steady_clock::now();
  Texts.reserve(static_cast<size_t>(kRows) * kCols);
  int n = 0;
  for (int r = 0; r < kRows; ++r)
    for (int c = 0; c < kCols; ++c) Texts.push_back(ShortText(n++));
  auto stop = std::chrono::steady_clock::now();
  return {std::chrono::duration<double>(stop - start).count(), HeapInUse() - before};
}

std::unique_ptr<TBaseGrid> MakeGrid() {
  auto grid = std::make_unique<TBaseGrid>(nullptr);
  grid->SetColCount(kCols);
  grid->SetRowCount(kRows);
  return grid;
}

// Both fills in each iteration; the counters give the grid's share of the vector's cost.
void BM_CellsAgainstVector(benchmark::State& state) {
  double gridTime = 0, vectorTime = 0;
  size_t gridBytes = 0, vectorBytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto grid = MakeGrid();
    std::vector<String> texts;
    state.ResumeTiming();
    TRunResult v = FillVector(texts);
    TRunResult g = FillGrid(*grid);
    benchmark::DoNotOptimize(texts.data());
    state.PauseTiming();
    vectorTime += v.Seconds;
    gridTime += g.Seconds;
    vectorBytes = v.Bytes;
    gridBytes = g.Bytes;
    grid.reset();
    texts = {};
    state.ResumeTiming();
  }
  state.counters["grid_ms"] = 1000 * gridTime / state.iterations();
  state.counters["vector_ms"] = 1000 * vectorTime / state.iterations();
  state.counters["time_ratio"] = gridTime / vectorTime;
  state.counters["grid_MB"] = gridBytes / 1e6;
  state.counters["vector_MB"] = vectorBytes / 1e6;
  state.counters["memory_ratio"] = static_cast<double>(gridBytes) / static_cast<double>(vectorBytes);
}
BENCHMARK(BM_CellsAgainstVector)->Unit(benchmark::kMillisecond)->Iterations(5);

// Reading the texts back through Cells (merge-aware, no display hooks assigned).
void BM_CellsRead(benchmark::State& state) {
  auto grid = MakeGrid();
  FillGrid(*grid);
  for (auto _ : state) {
    size_t total = 0;
    for (int r = 0; r < kRows; ++r)
      for (int c = 0; c < kCols; ++c) total += grid->Cells(c, r).size();
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * kRows * kCols);
}
BENCHMARK(BM_CellsRead)->Unit(benchmark::kMillisecond);

// A base grid that counts its paints, so that a run that paints nothing shows.
struct TCountingGrid : TBaseGrid {
  using TBaseGrid::TBaseGrid;
  int Paints = 0;
  void Paint() override {
    TBaseGrid::Paint();
    ++Paints;
  }
};

// A shown 1920 x 1080 grid of 100,000 rows x 20 columns, every cell holding a text.
struct TViewGrid {
  TForm Form{nullptr};
  TCountingGrid* Grid;
  TViewGrid() {
    Form.SetBounds(0, 0, 1920, 1080);
    Grid = new TCountingGrid(&Form);
    Grid->SetParent(&Form);
    Grid->SetColCount(20);
    Grid->SetRowCount(100000);
    Grid->SetDefaultRowHeight(20);
    Grid->SetBounds(0, 0, Form.ClientWidth(), Form.ClientHeight());
    int n = 0;
    for (int r = 0; r < 100000; ++r)
      for (int c = 0; c < 20; ++c) Grid->SetCells(c, r, ShortText(n++));
    Grid->MergeCells(2, 5, 3, 2);
    Form.Show();
    ProcessPendingEvents();
  }
};

// A full repaint of the view. Target: under 8 ms.
void BM_FullRepaint(benchmark::State& state) {
  TViewGrid view;
  for (auto _ : state) {
    view.Grid->Invalidate();
    view.Grid->Update();
  }
  state.counters["paints_per_iteration"] = static_cast<double>(view.Grid->Paints) / state.iterations();
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMillisecond);

// A page scroll with its repaint. Target: under 16 ms at the 99th percentile.
void BM_PageScroll(benchmark::State& state) {
  TViewGrid view;
  std::vector<double> times;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    int next = view.Grid->TopRow() + view.Grid->VisibleRowCount();
    view.Grid->SetTopRow(next < view.Grid->RowCount() - 100 ? next : 1);
    view.Grid->Update();
    ProcessPendingEvents();  // what repaints itself after the grid (the scroll bars)
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  state.counters["paints_per_iteration"] = static_cast<double>(view.Grid->Paints) / state.iterations();
  std::sort(times.begin(), times.end());
  state.counters["p99_ms"] = times[std::min(times.size() - 1, times.size() * 99 / 100)];
}
BENCHMARK(BM_PageScroll)->Unit(benchmark::kMillisecond)->Iterations(300);

// ---- Hidden rows of the string grid: 50,000 of 100,000 rows (10 columns) hidden and shown
// again, as one block (HideRows/UnHideRows) and as every other row (a filter level:
// HideRowList/UnHideRowList). Target: under 100 ms each. The reference is one read of every
// cell through Cells in the same run.

std::unique_ptr<DEreDuzeroVaro> MakeFilledStringGrid() {
  auto grid = std::make_unique<DEreDuzeroVaro>(nullptr);
  grid->SetColCount(kCols);
  grid->SetRowCount(kRows);
  int n = 0;
  for (int r = 0; r < kRows; ++r)
    for (int c = 0; c < kCols; ++c) grid->SetCells(c, r, ShortText(n++));
  return grid;
}

double MillisecondsOf(const std::function<void()>& Run) {
  auto start = std::chrono::steady_clock::now();
  Run();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double ReadAllCells(DEreDuzeroVaro& Grid) {
  return MillisecondsOf([&] {
    size_t total = 0;
    for (int r = 0; r < Grid.RowCount(); ++r)
      for (int c = 0; c < Grid.ColCount(); ++c) total += Grid.Cells(c, r).size();
    benchmark::DoNotOptimize(total);
  });
}

void ReportHideTimes(benchmark::State& state, double Hide, double UnHide, double Reference) {
  state.counters["hide_ms"] = Hide / state.iterations();
  state.counters["unhide_ms"] = UnHide / state.iterations();
  state.counters["read_all_ms"] = Reference / state.iterations();
  state.counters["hide_ratio"] = Hide / Reference;
  state.counters["unhide_ratio"] = UnHide / Reference;
}

void BM_HideRowsBlock(benchmark::State& state) {
  double hide = 0, unhide = 0, reference = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto grid = MakeFilledStringGrid();
    state.ResumeTiming();
    reference += ReadAllCells(*grid);
    hide += MillisecondsOf([&] { grid->HideRows(25000, 74999); });
    unhide += MillisecondsOf([&] { grid->UnHideRows(25000, 74999); });
    state.PauseTiming();
    if (grid->RowCount() != kRows || grid->Cells(1, 50000) != ShortText(50000 * kCols + 1))
      state.SkipWithError("rows not restored");
    grid.reset();
    state.ResumeTiming();
  }
  ReportHideTimes(state, hide, unhide, reference);
}
BENCHMARK(BM_HideRowsBlock)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_HideEveryOtherRow(benchmark::State& state) {
  double hide = 0, unhide = 0, reference = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto grid = MakeFilledStringGrid();
    TIntList odd(-1, -1);
    for (int r = 1; r < kRows; r += 2) odd.Add(r);
    state.ResumeTiming();
    reference += ReadAllCells(*grid);
    hide += MillisecondsOf([&] { grid->HideRowList(&odd); });
    unhide += MillisecondsOf([&] { grid->UnHideRowList(); });
    state.PauseTiming();
    if (grid->RowCount() != kRows || grid->Cells(1, 50001) != ShortText(50001 * kCols + 1))
      state.SkipWithError("rows not restored");
    grid.reset();
    state.ResumeTiming();
  }
  ReportHideTimes(state, hide, unhide, reference);
}
BENCHMARK(BM_HideEveryOtherRow)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
