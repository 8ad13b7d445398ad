// A monitor line appended to a memo that already holds Range(0) lines, as the tool's
// monitors do: the append at the caret, the line count and the caret move, each in its own
// turn of the message loop so that the memo's window takes it (the window is not shown:
// painting is left out). The time per append should not depend on what the memo holds.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

namespace {

void BM_MemoAppendLine(benchmark::State& state) {
  TMemo memo(nullptr);
  memo.SetBounds(0, 0, 380, 280);
  memo.SetScrollBars(ssVertical);
  memo.HandleNeeded();
  String text;
  for (int64_t i = 0; i < state.range(0); ++i) text += u"RS\r\n";
  memo.SetText(text);
  memo.SetSelStart(static_cast<int>(text.size()));  // a monitor's caret stays at the end
  Application->ProcessMessages();
  for (auto _ : state) {
    memo.SetSelText(u"< - 90 dBmです >\r\n");
    benchmark::DoNotOptimize(memo.Lines()->Count());
    memo.SetSelStart(memo.SelStart());
    Application->ProcessMessages();
  }
  state.counters["lines_at_end"] = memo.Lines()->Count();
}
BENCHMARK(BM_MemoAppendLine)->Arg(0)->Arg(10000)->Arg(100000)->Iterations(5000)->Unit(benchmark::kMicrosecond);

}  // namespace
