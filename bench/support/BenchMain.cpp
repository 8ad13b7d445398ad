// The benchmarks' main: the application object on the offscreen platform (unless the caller
// names another), then the benchmarks the command line selects.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "platform/ui/Forms.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  Application->Initialize();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
