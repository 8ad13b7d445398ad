// The grid's files against references doing the same on the same data, in the same run:
// LoadFromCSV of 1,000,000 cells within list(csv.reader(...)) in time and memory, SaveToCSV
// within csv.writer, the cell stream's save plus load at most twice the CSV's, find within
// twice a Python scan, and the .xlsx export at most half of openpyxl's write-only mode. Python
// times itself (and reports its peak memory growth); the ratios are the grid's cost over the
// reference's.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "grid/AdvGrid.h"
#include "platform/rtl/Classes.h"
#include "platform/ui/Forms.h"
#include "bench/support/PythonTiming.h"
#include "testing/TempFolder.h"

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 10;

size_t HeapInUse() { return mallinfo2().uordblks; }


// A CSV file of short numeric and text fields, some quoted, written by Python.
void MakeCsv(const std::string& File) {
  bench::PythonNumbers("import csv,sys\n"
         "w=csv.writer(open(sys.argv[1],\"w\",encoding=\"utf-8-sig\",newline=\"\"))\n"
         "for r in range(" + std::to_string(kRows) + "):\n"
         " w.writerow([str(r*10+c) if c%3 else \"t,%d\"%(r+c) for c in range(" + std::to_string(kCols) + ")])\n"
         "print(1)\n",  // a number read back shows the file was written
         File);
}

void BM_LoadFromCSVAgainstPython(benchmark::State& state) {
  TempFolder tmp;
  MakeCsv(tmp.File("in.csv"));
  double grid = 0, python = 0, gridBytes = 0, pythonBytes = 0;
  for (auto _ : state) {
    DEreDuzeroVaro g(nullptr);
    g.SetFixedRows(0);
    g.SetFixedCols(0);
    size_t before = HeapInUse();
    auto start = std::chrono::steady_clock::now();
    g.LoadFromCSV(tmp.FileS("in.csv"));
    grid += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    gridBytes += static_cast<double>(HeapInUse() - before);
    std::vector<double> py = bench::PythonNumbers(
        "import csv,sys,time,tracemalloc\n"
        "tracemalloc.start()\n"
        "t=time.perf_counter()\n"
        "rows=list(csv.reader(open(sys.argv[1],encoding=\"utf-8-sig\",newline=\"\")))\n"
        "d=time.perf_counter()-t\n"
        "print(d, tracemalloc.get_traced_memory()[0])\n",
        tmp.File("in.csv"));
    if (py.size() == 2) {
      python += py[0];
      pythonBytes += py[1];
    }
  }
  state.counters["grid_ms"] = 1000 * grid / state.iterations();
  state.counters["python_ms"] = 1000 * python / state.iterations();
  state.counters["time_ratio"] = python > 0 ? grid / python : 0;
  state.counters["memory_ratio"] = pythonBytes > 0 ? gridBytes / pythonBytes : 0;
}
BENCHMARK(BM_LoadFromCSVAgainstPython)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SaveToCSVAgainstPython(benchmark::State& state) {
  TempFolder tmp;
  MakeCsv(tmp.File("in.csv"));
  DEreDuzeroVaro g(nullptr);
  g.SetFixedRows(0);
  g.SetFixedCols(0);
  g.LoadFromCSV(tmp.FileS("in.csv"));
  double grid = 0, python = 0;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    g.SaveToCSV(tmp.FileS("out.csv"), true);
    grid += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::vector<double> py = bench::PythonNumbers(
        "import csv,sys,time\n"
        "rows=list(csv.reader(open(sys.argv[1],encoding=\"utf-8-sig\",newline=\"\")))\n"
        "t=time.perf_counter()\n"
        "csv.writer(open(sys.argv[1]+\".py\",\"w\",encoding=\"utf-8-sig\",newline=\"\")).writerows(rows)\n"
        "print(time.perf_counter()-t)\n",
        tmp.File("in.csv"));
    if (!py.empty()) python += py[0];
  }
  state.counters["grid_ms"] = 1000 * grid / state.iterations();
  state.counters["python_ms"] = 1000 * python / state.iterations();
  state.counters["time_ratio"] = python > 0 ? grid / python : 0;
}
BENCHMARK(BM_SaveToCSVAgainstPython)->Unit(benchmark::kMillisecond)->Iterations(3);

// A grid of kRows x kCols loaded from the CSV file.
void LoadGrid(DEreDuzeroVaro& G, const TempFolder& Tmp) {
  MakeCsv(Tmp.File("in.csv"));
  G.SetFixedRows(0);
  G.SetFixedCols(0);
  G.LoadFromCSV(Tmp.FileS("in.csv"));
}

double Seconds(const std::function<void()>& Work) {
  auto start = std::chrono::steady_clock::now();
  Work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_StreamAgainstCSV(benchmark::State& state) {
  TempFolder tmp;
  DEreDuzeroVaro g(nullptr), back(nullptr);
  LoadGrid(g, tmp);
  double stream = 0, save = 0, csv = 0;
  for (auto _ : state) {
    stream += Seconds([&] {
      TMemoryStream m;
      save += Seconds([&] { g.SaveToBinStream(&m); });
      m.SetPosition(0);
      back.LoadFromBinStream(&m);
    });
    csv += Seconds([&] {
      g.SaveToCSV(tmp.FileS("out.csv"), true);
      back.LoadFromCSV(tmp.FileS("out.csv"));
    });
  }
  state.counters["stream_ms"] = 1000 * stream / state.iterations();
  state.counters["stream_save_ms"] = 1000 * save / state.iterations();
  state.counters["csv_ms"] = 1000 * csv / state.iterations();
  state.counters["time_ratio"] = csv > 0 ? stream / csv : 0;
}
BENCHMARK(BM_StreamAgainstCSV)->Unit(benchmark::kMillisecond)->Iterations(3);

// Find over 1,000,000 cells for a text no cell holds (every cell read, letter case ignored)
// against Python scanning the same rows with a case-insensitive substring test.
void BM_FindAgainstPython(benchmark::State& state) {
  TempFolder tmp;
  DEreDuzeroVaro g(nullptr);
  LoadGrid(g, tmp);
  double grid = 0, python = 0;
  for (auto _ : state) {
    TPoint hit;
    grid += Seconds([&] { hit = g.FindFirst(u"ZQZQ", DEreDuzeroVaro::TFindParams{}); });
    benchmark::DoNotOptimize(hit);
    std::vector<double> py = bench::PythonNumbers(
        "import csv,sys,time\n"
        "rows=list(csv.reader(open(sys.argv[1],encoding=\"utf-8-sig\",newline=\"\")))\n"
        "t=time.perf_counter()\n"
        "hit=next(((r,c) for r,row in enumerate(rows) for c,v in enumerate(row) if \"ZQZQ\" in v.upper()),None)\n"
        "print(time.perf_counter()-t)\n",
        tmp.File("in.csv"));
    if (!py.empty()) python += py[0];
  }
  state.counters["grid_ms"] = 1000 * grid / state.iterations();
  state.counters["python_ms"] = 1000 * python / state.iterations();
  state.counters["time_ratio"] = python > 0 ? grid / python : 0;
}
BENCHMARK(BM_FindAgainstPython)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_XlsxExportAgainstOpenpyxl(benchmark::State& state) {
  TempFolder tmp;
  DEreDuzeroVaro g(nullptr);
  LoadGrid(g, tmp);
  double grid = 0, python = 0;
  for (auto _ : state) {
    grid += Seconds([&] { g.SaveToXLS(tmp.FileS("out.xlsx")); });
    std::vector<double> py = bench::PythonNumbers(
        "import csv,sys,time,openpyxl\n"
        "rows=list(csv.reader(open(sys.argv[1],encoding=\"utf-8-sig\",newline=\"\")))\n"
        "t=time.perf_counter()\n"
        "wb=openpyxl.Workbook(write_only=True)\n"
        "ws=wb.create_sheet(\"Sheet1\")\n"
        "for r in rows: ws.append([float(v) if v.isdigit() else v for v in r])\n"
        "wb.save(sys.argv[1]+\".xlsx\")\n"
        "print(time.perf_counter()-t)\n",
        tmp.File("in.csv"));
    if (!py.empty()) python += py[0];
  }
  state.counters["grid_ms"] = 1000 * grid / state.iterations();
  state.counters["openpyxl_ms"] = 1000 * python / state.iterations();
  state.counters["time_ratio"] = python > 0 ? grid / python : 0;
}
BENCHMARK(BM_XlsxExportAgainstOpenpyxl)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
