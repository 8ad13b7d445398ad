// The grid drop-down, with 100,000 items in its open grid:
// - narrowing: one character typed into the open grid (through the window system's key input)
//   hides the rows whose lookup cell does not hold the entry; timed from the full list, against
//   a plain case-insensitive substring scan of the same lookup texts held in a vector; target
//   at most 3 times the reference;
// - the lookup of a typed entry that only the last item starts with, against a plain
//   case-insensitive prefix scan; target at most 2 times the reference.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "dropdowns/grid/AdvCustomGridDropDown.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"
#include "testing/TestSupport.h"

using namespace AdvCustomGridDropDown;

namespace {

class TBenchDropDown : public TCustomAdvGridDropDown {
public:
  using TCustomAdvGridDropDown::FindPrefix;
  using TCustomAdvGridDropDown::TCustomAdvGridDropDown;
};

constexpr int kItems = 100000;

String ItemText(int i) {
  String n = IntToStr(i);
  return u"Entry " + String(6 - n.size(), u'0') + n;
}

struct Host {
  TForm form{nullptr};
  TBenchDropDown* dd;
  Host() {
    form.SetBorderStyle(bsNone);
    form.SetBounds(100, 100, 400, 300);
    dd = new TBenchDropDown(&form);
    dd->SetParent(&form);
    dd->SetBounds(20, 20, 200, 24);
    dd->Columns()->Add()->SetHeader(u"Entry");
    dd->Columns()->Add()->SetHeader(u"Number");
    dd->BeginUpdate();
    for (int i = 0; i < kItems; ++i) {
      TDropDownItem* it = dd->Items()->Add();
      it->Text()->Add(ItemText(i));
      it->Text()->Add(IntToStr(i));
    }
    dd->EndUpdate();
    form.Show();
    ProcessPendingEvents();
  }
};

// "9" is held by 40,951 of the 100,000 texts.
const Char kNarrowKey = u'9';

void BM_NarrowOneKey_100000(benchmark::State& state) {
  Host h;
  h.dd->SetLookupMethod(lmNarrowDown);
  h.dd->SetFocus();
  ProcessPendingEvents();
  h.dd->ShowDropDown();
  ProcessPendingEvents();
  DEreDuzeroVaro* g = h.dd->GetGrid();
  int left = 0;
  for (auto _ : state) {
    SimulateChar(g, kNarrowKey);
    state.PauseTiming();
    left = g->RowCount() - 1;
    SimulateChar(g, u'\b');  // back to the full list
    state.ResumeTiming();
  }
  h.dd->HideDropDown(true);
  if (left != 40951) state.SkipWithError(("wrong rows left: " + std::to_string(left)).c_str());
}
BENCHMARK(BM_NarrowOneKey_100000)->Unit(benchmark::kMillisecond);

void BM_ReferenceSubstringScan_100000(benchmark::State& state) {
  std::vector<String> texts;
  for (int i = 0; i < kItems; ++i) texts.push_back(ItemText(i));
  const String key = AnsiUpperCase(String(1, kNarrowKey));
  for (auto _ : state) {
    std::vector<int> kept;
    for (size_t i = 0; i < texts.size(); ++i)
      if (AnsiUpperCase(texts[i]).find(key) != String::npos) kept.push_back(static_cast<int>(i));
    benchmark::DoNotOptimize(kept.data());
  }
}
BENCHMARK(BM_ReferenceSubstringScan_100000)->Unit(benchmark::kMillisecond);

const String kLastEntry = u"entry 099999";

void BM_LookupTypedEntry_100000(benchmark::State& state) {
  Host h;
  for (auto _ : state) benchmark::DoNotOptimize(h.dd->FindPrefix(kLastEntry));
  if (h.dd->FindPrefix(kLastEntry) != kItems - 1) state.SkipWithError("wrong item found");
}
BENCHMARK(BM_LookupTypedEntry_100000)->Unit(benchmark::kMillisecond);

void BM_ReferencePrefixScan_100000(benchmark::State& state) {
  std::vector<String> texts;
  for (int i = 0; i < kItems; ++i) texts.push_back(ItemText(i));
  for (auto _ : state) {
    const String key = AnsiUpperCase(kLastEntry);
    int found = -1;
    for (size_t i = 0; i < texts.size(); ++i) {
      const String& s = texts[i];
      if (s.size() >= key.size() && AnsiUpperCase(s.substr(0, key.size())) == key) {
        found = static_cast<int>(i);
        break;
      }
    }
    benchmark::DoNotOptimize(found);
  }
}
BENCHMARK(BM_ReferencePrefixScan_100000)->Unit(benchmark::kMillisecond);

}  // namespace
