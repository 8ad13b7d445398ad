// The picker drop-downs' item selector and detail drop-down:
// - laying out 10,000 image items with plain captions; target under 20 ms;
// - painting one visible page of them (300 x 400 pixels) against the same number of filled
//   rectangles, pictures and texts drawn straight on the same canvas; target at most 2 times
//   the reference;
// - opening and closing a detail drop-down of 1,000 items; target a median under 2 ms;
// - type-ahead over 100,000 captions against a plain prefix scan of the same upper-case
//   strings; target at most 2 times the reference;
// - an image picker filled from a folder of 1,000 and of 10,000 small files that are no
//   pictures: the time per file stays the same (no quadratic cost).
#include <benchmark/benchmark.h>

#include <vector>

#include "dropdowns/AdvDetailDropDown.h"
#include "dropdowns/AdvDropDownSelector.h"
#include "dropdowns/AdvImagePickerDropDown.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"
#include "testing/TempFolder.h"
#include "testing/TestSupport.h"

namespace {

String Caption(int i) { return u"Item " + IntToStr(i); }

// A shown form with a selector of Count items, each a 16 x 16 picture and a plain caption.
struct SelectorSurface {
  TForm Form{nullptr};
  TAdvCustomItemSelector* Sel;
  TBitmap Picture{16, 16};
  explicit SelectorSurface(int Count, bool WithPictures = true) {
    Form.SetBounds(0, 0, 340, 440);
    Sel = new TAdvCustomItemSelector(&Form);
    Sel->SetParent(&Form);
    Sel->SetBounds(0, 0, 300, 400);
    Picture.Canvas()->Brush()->SetColor(clRed);
    Picture.Canvas()->FillRect(TRect(0, 0, 16, 16));
    Sel->Items()->BeginUpdate();
    for (int i = 0; i < Count; ++i) {
      TSelectorItem* item = Sel->Items()->Add();
      item->SetCaption(Caption(i));
      if (WithPictures) item->Image()->SetGraphic(&Picture);
    }
    Sel->Items()->EndUpdate();
    Form.Show();
    ProcessPendingEvents();
  }
};

void BM_SelectorLayout10000(benchmark::State& state) {
  SelectorSurface S(10000);
  for (auto _ : state) S.Sel->UpdateSelectorPanel();
  state.counters["items"] = 10000;
}
BENCHMARK(BM_SelectorLayout10000)->Unit(benchmark::kMillisecond);

// A page of the laid-out items on a canvas of the page's size.
struct Page {
  SelectorSurface S{10000};
  TBitmap Canvas{300, 400};
  int Visible = 0;
  Page() {
    TCustomItemSelector* p = S.Sel->ItemSelectorPanel();
    while (Visible < 10000 && p->GetItemRect(Visible).Top < 400) ++Visible;
  }
};

void BM_SelectorPaintPage(benchmark::State& state) {
  Page P;
  TCustomItemSelector* p = P.S.Sel->ItemSelectorPanel();
  p->SetItemIndex(3);
  for (auto _ : state) p->DrawItems(P.Canvas.Canvas());
  state.counters["items"] = P.Visible;
}
BENCHMARK(BM_SelectorPaintPage)->Unit(benchmark::kMicrosecond);

void BM_ReferencePaintPage(benchmark::State& state) {
  Page P;
  TCustomItemSelector* p = P.S.Sel->ItemSelectorPanel();
  TCanvas* C = P.Canvas.Canvas();
  std::vector<String> captions;
  for (int i = 0; i < P.Visible; ++i) captions.push_back(Caption(i));
  for (auto _ : state) {
    for (int i = 0; i < P.Visible; ++i) {
      const TRect r = p->GetItemRect(i);
      C->Brush()->SetColor(clWhite);
      C->FillRect(r);
      C->Draw(r.Left + 4, r.Top + 4, &P.S.Picture);
      C->Brush()->SetStyle(bsClear);
      C->TextOut(r.Left + 24, r.Top + 4, captions[static_cast<size_t>(i)]);
      C->Brush()->SetStyle(bsSolid);
    }
  }
  state.counters["items"] = P.Visible;
}
BENCHMARK(BM_ReferencePaintPage)->Unit(benchmark::kMicrosecond);

void BM_DetailOpenClose1000(benchmark::State& state) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 400, 300);
  auto* dd = new TAdvDetailDropDown(&form);
  dd->SetParent(&form);
  dd->SetBounds(20, 20, 200, 24);
  for (int i = 0; i < 1000; ++i) dd->Items()->Add()->SetCaption(Caption(i));
  form.Show();
  ProcessPendingEvents();
  for (auto _ : state) {
    dd->ShowDropDown();
    ProcessPendingEvents();
    dd->HideDropDown(true);
    ProcessPendingEvents();
  }
}
BENCHMARK(BM_DetailOpenClose1000)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The search text matches only the last caption: the whole list is scanned.
const String kLastKey = u"ITEM 99999";

void BM_TypeAhead100000(benchmark::State& state) {
  SelectorSurface S(100000, false);
  S.Sel->LookupItem(kLastKey);  // the lookup keys are made once per layout
  for (auto _ : state) benchmark::DoNotOptimize(S.Sel->LookupItem(kLastKey));
}
BENCHMARK(BM_TypeAhead100000)->Unit(benchmark::kMicrosecond);

void BM_ReferencePrefixScan100000(benchmark::State& state) {
  std::vector<String> keys;
  for (int i = 0; i < 100000; ++i) keys.push_back(AnsiUpperCase(Caption(i)));
  for (auto _ : state) {
    int found = -1;
    for (size_t i = 0; i < keys.size(); ++i) {
      if (keys[i].size() >= kLastKey.size() && keys[i].compare(0, kLastKey.size(), kLastKey) == 0) {
        found = static_cast<int>(i);
        break;
      }
    }
    benchmark::DoNotOptimize(found);
  }
}
BENCHMARK(BM_ReferencePrefixScan100000)->Unit(benchmark::kMicrosecond);

void BM_AddImagesFromFolder(benchmark::State& state) {
  TempFolder dir;
  const int files = static_cast<int>(state.range(0));
  for (int i = 0; i < files; ++i) dir.Write("f" + std::to_string(100000 + i) + ".png", "x");
  TForm form(nullptr);
  for (auto _ : state) {
    auto* dd = new TAdvImagePickerDropDown(&form);
    dd->AddImagesFromFolder(UTF8ToString(dir.Path()) + u"/*.png", true);
    benchmark::DoNotOptimize(dd->Items()->Count());
    delete dd;
  }
  // Seconds per file.
  state.counters["per_file"] = benchmark::Counter(static_cast<double>(files), benchmark::Counter::kIsIterationInvariantRate |
                                                                                  benchmark::Counter::kInvert);
}
BENCHMARK(BM_AddImagesFromFolder)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
