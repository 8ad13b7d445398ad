// The styled edit's key path and lookup list.
// - One keystroke (a digit and its Backspace, each through the window system's input path) into
//   a money edit with precision 2, a prefix, a suffix and a lookup list of 1,000 entries, against
//   the same keystrokes into the class library's plain edit: the styled edit should take at most
//   twice as long.
// - Refreshing a lookup list of 10,000 entries for a typed text, by prefix (under 2 ms) and by
//   full-text search (under 5 ms).
#include <benchmark/benchmark.h>

#include <random>

#include "controls/AdvEdit.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "testing/TestSupport.h"

namespace {

// Random lower-case words, the same every run.
void FillWords(TStrings* list, int count) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> letter(0, 25), length(4, 10);
  list->BeginUpdate();
  for (int i = 0; i < count; ++i) {
    String w;
    for (int n = length(random); n > 0; --n) w += static_cast<Char>(u'a' + letter(random));
    list->Add(w);
  }
  list->EndUpdate();
}

template <typename TEditClass>
void Keystrokes(benchmark::State& state, TEditClass* edit, TForm& form) {
  form.Show();
  edit->SetFocus();
  ProcessPendingEvents();
  for (auto _ : state) {
    SimulateChar(edit, u'7');
    SimulateKeyStroke(edit, VK_BACK);
  }
  form.Hide();
}

void BM_PlainEditKeystroke(benchmark::State& state) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto* edit = new TEdit(&form);
  edit->SetParent(&form);
  edit->SetBounds(10, 10, 200, 24);
  edit->SetText(u"1234.50");
  Keystrokes(state, edit, form);
}
BENCHMARK(BM_PlainEditKeystroke)->Unit(benchmark::kMicrosecond);

void BM_MoneyEditKeystroke(benchmark::State& state) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto* edit = new TAdvEdit(&form);
  edit->SetParent(&form);
  edit->SetBounds(10, 10, 200, 24);
  edit->SetEditType(etMoney);
  edit->SetPrecision(2);
  edit->SetPrefix(u"$ ");
  edit->SetSuffix(u" USD");
  edit->Lookup()->SetEnabled(true);
  FillWords(edit->Lookup()->DisplayList(), 1000);
  edit->SetText(u"1234.5");
  edit->SetSelStart(static_cast<int>(edit->WindowText().size() - edit->Suffix().size() - 3));  // before the decimals
  Keystrokes(state, edit, form);
}
BENCHMARK(BM_MoneyEditKeystroke)->Unit(benchmark::kMicrosecond);

void LookupRefresh(benchmark::State& state, bool FullText) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto* edit = new TAdvEdit(&form);
  edit->SetParent(&form);
  edit->SetBounds(10, 10, 200, 24);
  edit->Lookup()->SetEnabled(true);
  edit->SetFullTextSearch(FullText);
  FillWords(edit->Lookup()->DisplayList(), 10000);
  form.Show();
  ProcessPendingEvents();
  const String texts[] = {u"ab", u"abc", u"ma", u"mar"};  // as a user types and corrects
  size_t i = 0;
  for (auto _ : state) {
    edit->SetText(texts[i++ % 4]);
    edit->UpdateLookupList();
  }
  state.counters["matches"] = edit->LookupListBox()->Items()->Count();
  form.Hide();
}

void BM_LookupRefreshByPrefix(benchmark::State& state) { LookupRefresh(state, false); }
BENCHMARK(BM_LookupRefreshByPrefix)->Unit(benchmark::kMicrosecond);

void BM_LookupRefreshFullText(benchmark::State& state) { LookupRefresh(state, true); }
BENCHMARK(BM_LookupRefreshFullText)->Unit(benchmark::kMicrosecond);

}  // namespace
