// The calculator's keypad.
// - A full repaint of the 28 glossy keys in the pop-up's size (228 x 150), against the repaint
//   of the same panel without keys (the window system's share): the keypad should take under
//   2 ms.
// - The hover moving from one key to the next through the window system's mouse input: the new
//   key drawn at once with its glow, the old one and its margin painted again.
#include <benchmark/benchmark.h>

#include "dropdowns/AdvCalculatorDropdown.h"
#include "platform/ui/Forms.h"
#include "testing/TestSupport.h"

namespace {

struct Keypad {
  TForm form{nullptr};
  TCustomButtonPanel* panel;
  explicit Keypad(TButtonPanelType Type) {
    form.SetBorderStyle(bsNone);
    form.SetBounds(0, 0, 240, 160);
    panel = new TCustomButtonPanel(&form);
    panel->SetButtonPanelType(Type);
    panel->SetParent(&form);
    panel->SetBounds(0, 0, 228, 150);
    panel->SetColor(clWhite);
    panel->CreateButtons();
    form.Show();
    ProcessPendingEvents();
  }
};

void Repaint(benchmark::State& state, TButtonPanelType Type) {
  Keypad k(Type);
  for (auto _ : state) k.panel->Repaint();
}

void BM_EmptyPanelRepaint(benchmark::State& state) { Repaint(state, plCustom); }
BENCHMARK(BM_EmptyPanelRepaint)->Unit(benchmark::kMillisecond);

void BM_CalculatorKeypadRepaint(benchmark::State& state) { Repaint(state, plCalculator); }
BENCHMARK(BM_CalculatorKeypadRepaint)->Unit(benchmark::kMillisecond);

void BM_CalculatorHoverMove(benchmark::State& state) {
  Keypad k(plCalculator);
  const TRect a = k.panel->ButtonRect(13), b = k.panel->ButtonRect(17);
  bool first = true;
  for (auto _ : state) {
    const TRect& r = first ? a : b;
    SimulateMouseMove(k.panel, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    k.panel->Update();
    first = !first;
  }
}
BENCHMARK(BM_CalculatorHoverMove)->Unit(benchmark::kMillisecond);

}  // namespace
