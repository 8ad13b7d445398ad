// The analogue clock's painting, on a shown window through the window system's paint path.
// - A full repaint (face into its cache, then the hands) at 180 x 180 and 400 x 400: under 4 ms.
// - A hands-only repaint (a time set: the area of the old and the new hands) of the same clock:
//   at most a quarter of the full one.
#include <benchmark/benchmark.h>

#include "dropdowns/AdvWatch.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"
#include "testing/TestSupport.h"

namespace {

struct ClockWindow {
  TForm form{nullptr};
  TAdvWatch* watch;
  explicit ClockWindow(int Size) {
    form.SetBorderStyle(bsNone);
    form.SetBounds(0, 0, Size, Size);
    watch = new TAdvWatch(&form);
    watch->SetParent(&form);
    watch->SetBounds(0, 0, Size, Size);
    watch->SetAnimation(false);
    // A radial face and all marks, numbers and the AM/PM box: the costliest plain look.
    watch->Appearance()->SetBackgroundGradient(wgRadial);
    watch->Appearance()->SetBackgroundColorTo(0xC08040);
    watch->SetTime(EncodeTime(10, 8, 0, 0));
    form.Show();
    ProcessPendingEvents();
  }
};

void BM_ClockFullRepaint(benchmark::State& state) {
  ClockWindow w(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    w.watch->PaintAll();
    w.watch->Update();
  }
}
BENCHMARK(BM_ClockFullRepaint)->Arg(180)->Arg(400)->Unit(benchmark::kMicrosecond);

void BM_ClockHandsRepaint(benchmark::State& state) {
  ClockWindow w(static_cast<int>(state.range(0)));
  int minute = 0;
  for (auto _ : state) {
    minute = (minute + 1) % 60;
    w.watch->SetTime(EncodeTime(10, minute, 0, 0));
    w.watch->Update();
  }
}
BENCHMARK(BM_ClockHandsRepaint)->Arg(180)->Arg(400)->Unit(benchmark::kMicrosecond);

}  // namespace
