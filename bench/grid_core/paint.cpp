// The string grid's painter on a shown 1920 x 1080 view of 100,000 rows x 20 columns:
// - a full repaint of plain text cells, and of the same view dressed up (row bands, the
//   gradient headers of the XP look, a check box or a progress bar in every other cell), both
//   in one run (targets: under 8 ms each, the dressed one at most 3x the plain one);
// - a page scroll with its repaint (target: under 16 ms at the 99th percentile);
// - one cell of a 1 MB text against one of 256 KB (target: time linear in the length);
// - a wheel step (the scroll and its repaint) through the window system's wheel event
//   (target: under 16 ms at the 99th percentile), beside a full repaint of the same view;
// - a mouse move that changes no hover state (within one cell): it repaints nothing.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "grid/AdvGrid.h"
#include "platform/ui/Forms.h"
#include "testing/TestSupport.h"

namespace {

constexpr int kRows = 100000, kCols = 20;

// A string grid that counts its paints, so that a step that repaints shows.
struct TCountingStringGrid : DEreDuzeroVaro {
  using DEreDuzeroVaro::DEreDuzeroVaro;
  int Paints = 0;
  void Paint() override {
    DEreDuzeroVaro::Paint();
    ++Paints;
  }
};

double Percentile99(std::vector<double>& Times) {
  std::sort(Times.begin(), Times.end());
  return Times[std::min(Times.size() - 1, Times.size() * 99 / 100)];
}

struct TStringGridView {
  TForm Form{nullptr};
  TCountingStringGrid* Grid;
  explicit TStringGridView(bool Dressed) {
    Form.SetBounds(0, 0, 1920, 1080);
    Grid = new TCountingStringGrid(&Form);
    Grid->SetParent(&Form);
    Grid->SetColCount(kCols);
    Grid->SetRowCount(kRows);
    Grid->SetDefaultRowHeight(20);
    Grid->SetBounds(0, 0, Form.ClientWidth(), Form.ClientHeight());
    for (int r = 0; r < kRows; ++r)
      for (int c = 0; c < kCols; ++c) Grid->SetCells(c, r, u"c" + IntToStr(r * kCols + c));
    if (Dressed) {
      Grid->SetLook(glXP);
      Grid->Bands()->SetActive(true);
      // The cells of the first pages, where the view is: every other one a check box or a bar.
      for (int r = 1; r < 200; ++r)
        for (int c = 1; c < kCols; ++c) {
          if ((r + c) % 4 == 0) Grid->AddCheckBox(c, r, r % 3 == 0, false);
          if ((r + c) % 4 == 2) {
            Grid->AddProgress(c, r, clRed, clWhite);
            Grid->SetCells(c, r, IntToStr((r * 7 + c) % 101));
          }
        }
    }
    Form.Show();
    ProcessPendingEvents();
  }
  double Repaint() {
    auto start = std::chrono::steady_clock::now();
    Grid->Invalidate();
    Grid->Update();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  }
};

void BM_StringGridRepaint(benchmark::State& state) {
  TStringGridView plain(false), dressed(true);
  std::vector<double> p, d;
  for (auto _ : state) {
    p.push_back(plain.Repaint());
    d.push_back(dressed.Repaint());
  }
  auto median = [](std::vector<double>& v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  };
  const double pm = median(p), dm = median(d);
  state.counters["plain_ms"] = pm;
  state.counters["dressed_ms"] = dm;
  state.counters["dressed_to_plain"] = dm / pm;
}
BENCHMARK(BM_StringGridRepaint)->Unit(benchmark::kMillisecond)->Iterations(60);

void BM_StringGridPageScroll(benchmark::State& state) {
  TStringGridView view(false);
  TCountingStringGrid* grid = view.Grid;
  std::vector<double> times;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    int next = grid->TopRow() + grid->VisibleRowCount();
    grid->SetTopRow(next < grid->RowCount() - 100 ? next : 1);
    grid->Update();
    ProcessPendingEvents();  // what repaints itself after the grid (the scroll bars)
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  state.counters["p99_ms"] = Percentile99(times);
  state.counters["median_ms"] = times[times.size() / 2];
}
BENCHMARK(BM_StringGridPageScroll)->Unit(benchmark::kMillisecond)->Iterations(300);

// Wheel notches down over the middle of the view, each followed by its repaint; the current
// row goes back to the top (outside the timing) before it reaches the end.
void BM_StringGridWheelStep(benchmark::State& state) {
  TStringGridView view(false);
  TCountingStringGrid* grid = view.Grid;
  std::vector<double> steps, repaints;
  int paints = 0;
  for (auto _ : state) {
    if (grid->Row() > kRows - 200) {
      state.PauseTiming();
      grid->SetRow(1);
      grid->SetTopRow(1);
      grid->Update();
      state.ResumeTiming();
    }
    const int before = grid->Paints;
    auto start = std::chrono::steady_clock::now();
    SimulateMouseWheel(grid, -120, 960, 540);
    grid->Update();
    ProcessPendingEvents();
    steps.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    paints += grid->Paints - before;
    state.PauseTiming();
    repaints.push_back(view.Repaint());
    state.ResumeTiming();
  }
  state.counters["step_p99_ms"] = Percentile99(steps);
  state.counters["step_median_ms"] = steps[steps.size() / 2];
  state.counters["full_repaint_p99_ms"] = Percentile99(repaints);
  state.counters["paints_per_step"] = static_cast<double>(paints) / state.iterations();
  state.counters["rows_moved"] = grid->Row() - 1;
}
BENCHMARK(BM_StringGridWheelStep)->Unit(benchmark::kMillisecond)->Iterations(300);

// The mouse moving one pixel at a time inside one cell: no hover state changes, so nothing
// is repainted (paints_per_move must be 0).
void BM_StringGridHoverMoveInCell(benchmark::State& state) {
  TStringGridView view(false);
  TCountingStringGrid* grid = view.Grid;
  const TRect cell = grid->CellRect(3, 5);
  SimulateMouseMove(grid, cell.Left + 2, cell.Top + 2);
  ProcessPendingEvents();
  const int before = grid->Paints;
  int step = 0;
  for (auto _ : state) {
    SimulateMouseMove(grid, cell.Left + 2 + step % (cell.Width() - 4), cell.Top + 2 + step % (cell.Height() - 4));
    grid->Update();
    ++step;
  }
  ProcessPendingEvents();
  state.counters["paints_per_move"] = static_cast<double>(grid->Paints - before) / state.iterations();
}
BENCHMARK(BM_StringGridHoverMoveInCell)->Unit(benchmark::kMicrosecond)->Iterations(2000);

// One cell holding a long text of spaced words, word-wrapped, painted at two lengths.
void BM_LongCellText(benchmark::State& state) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 800, 600);
  auto* grid = new DEreDuzeroVaro(&form);
  grid->SetParent(&form);
  grid->SetBounds(0, 0, 780, 580);
  grid->SetColWidths(1, 600);
  grid->SetRowHeights(1, 400);
  grid->SetWordWrap(true);
  form.Show();
  ProcessPendingEvents();
  auto text = [](size_t N) {
    String s(N, u'x');
    for (size_t i = 7; i < N; i += 8) s[i] = u' ';
    return s;
  };
  const String small = text(256 * 1024), large = text(1024 * 1024);
  double ts = 0, tl = 0;
  for (auto _ : state) {
    grid->SetCells(1, 1, small);
    auto a = std::chrono::steady_clock::now();
    grid->Invalidate();
    grid->Update();
    auto b = std::chrono::steady_clock::now();
    grid->SetCells(1, 1, large);
    auto c = std::chrono::steady_clock::now();
    grid->Invalidate();
    grid->Update();
    auto d = std::chrono::steady_clock::now();
    ts += std::chrono::duration<double, std::milli>(b - a).count();
    tl += std::chrono::duration<double, std::milli>(d - c).count();
  }
  state.counters["kb256_ms"] = ts / state.iterations();
  state.counters["mb1_ms"] = tl / state.iterations();
  state.counters["ratio_for_4x_length"] = tl / ts;
}
BENCHMARK(BM_LongCellText)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
