#pragma once
// The air monitor as the operator meets it: connected to the software receiver, on the air
// monitor page, with helpers that switch pages and fill the channel boxes by keyboard and that
// run one timer step and wait for the receiver's answer to be parsed.

#include "MainWindowFixture.h"

class AirMonitorTest : public MainWindowTest {
protected:
  // Connected, on the air monitor page in front of the frequency graph, monitors empty.
  void OpenAirMonitor() {
    StartConnected();
    M()->Show();
    ProcessPendingEvents();
    SimulateKeyStroke(M()->PageControl1, VK_RIGHT);  // the air monitor's tab
    ProcessPendingEvents();
    ASSERT_EQ(M()->PageControl1->ActivePage(), M()->TabSheet1);
    ASSERT_EQ(M()->Link.MonitorState, msFrequencyDomain);
    M()->Memo2->Clear();
    Sim->ClearLines();
  }
  // The measurement page tabs sit on the right: down goes to the time graph, up comes back.
  void ToTimePage() {
    SimulateKeyStroke(M()->PageControl2, VK_DOWN);
    ProcessPendingEvents();
    ASSERT_EQ(M()->PageControl2->ActivePage(), M()->TabSheet6);
  }
  void ToFrequencyPage() {
    SimulateKeyStroke(M()->PageControl2, VK_UP);
    ProcessPendingEvents();
    ASSERT_EQ(M()->PageControl2->ActivePage(), M()->TabSheet5);
  }
  // Replaces a box's text the way the operator does: select all and type.
  void TypeInto(TComboBox* Box, const String& Text) {
    SimulateKeyStroke(Box, 'A', {ssCtrl});
    SimulateTyping(Box, Text);
    ProcessPendingEvents();
  }
  // Runs the loop until Memo2 ends with Tail (what the last line and its reply leave there).
  bool UntilMemo2EndsWith(const String& Tail) {
    return Until([&] {
      String t = M()->Memo2->Text();
      return t.size() >= Tail.size() && t.compare(t.size() - Tail.size(), Tail.size(), Tail) == 0 &&
             M()->Link.RxCount == 0 && M()->Link.ParserState == 0;
    });
  }
  // Runs the loop until the receiver has answered (or let pass) Count lines, and a little
  // longer, so that a reply on its way is parsed.
  void UntilAnswered(size_t Count) {
    ASSERT_TRUE(Until([&] { return Sim->Lines().size() >= Count; }));
    ASSERT_TRUE(Until([&] { return Sim->LastReplyDoneNs.load() >= Sim->LineTimesNs().back(); }));
    WaitUntil([] { return false; }, 60);
    ASSERT_TRUE(Until([&] { return M()->Link.RxCount == 0 && M()->Link.ParserState == 0; }));
  }
  double BarY(TBarSeries* Series, int Channel) { return Series->YValue(Channel); }
};
