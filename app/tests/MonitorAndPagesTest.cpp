// The control page's monitor (counters, clearing, code display, menu commands), the page
// switch between the control page and the air monitor, and the top bar's stopwatch.
#include "MainWindowFixture.h"

TEST_F(MainWindowTest, MonitorCountersFollowTheTextAndLimitTheCodeDisplay) {
  StartConnected();
  TMemo* memo = M()->Memo1;
  memo->Clear();
  String text;
  for (int i = 0; i < 30; ++i) text += u"line\r\n";
  memo->SetText(text);
  EXPECT_EQ(M()->LabeledEdit1->Text(), u"30");
  EXPECT_EQ(M()->LabeledEdit2->Text(), u"180");
  EXPECT_TRUE(M()->VrDemoButton48->Enabled());
  memo->SetText(text + u"one more\r\n");
  EXPECT_EQ(M()->LabeledEdit1->Text(), u"31");
  EXPECT_FALSE(M()->VrDemoButton48->Enabled());
  Click(M()->SpeedButton4);
  EXPECT_EQ(memo->Text(), u"");
  EXPECT_EQ(M()->LabeledEdit1->Text(), u"0");
  EXPECT_EQ(M()->LabeledEdit2->Text(), u"0");
  EXPECT_TRUE(M()->VrDemoButton48->Enabled());

  // Past 30000 characters the next change empties the monitor.
  memo->SetText(String(30001, u'x'));
  EXPECT_EQ(memo->Text(), u"");
  EXPECT_EQ(M()->LabeledEdit2->Text(), u"0");
}

TEST_F(MainWindowTest, CodeDisplayShowsCodesWhileHeldAndKeepsWhatArrivesMeanwhile) {
  StartConnected();
  TMemo* memo = M()->Memo1;
  memo->SetText(u"OK\r\n");
  TVrDemoButton* b = M()->VrDemoButton48;
  SimulateMouseDown(b, mbLeft, 5, 5);
  ProcessPendingEvents();
  EXPECT_EQ(memo->Text(), u"4F4B0D0A");
  // A reply arriving while the button is held shows as codes and is not lost on release
  // (the command line sent with F8, the hand on the mouse still holding the button).
  M()->CommandBox1->SetText(u"RS");
  memo->SetFocus();
  SimulateKeyStroke(memo, VK_F8);
  ASSERT_TRUE(Until([&] { return memo->Text().find(u"2A35410D0A") != String::npos && M()->Link.RxCount == 0; }));
  SimulateMouseUp(b, mbLeft, 5, 5);
  ProcessPendingEvents();
  EXPECT_EQ(memo->Text(), u"OK\r\nRS\r\n*5A\r\n90\r\n");
  // Released, the monitor shows text again.
  Click(M()->VrDemoButton46);
  ASSERT_TRUE(UntilMemo1Has(u"< - 90 dBmです >\r\n"));
  EXPECT_EQ(memo->Text(), u"OK\r\nRS\r\n*5A\r\n90\r\nRS\r\n*5A\r\n< - 90 dBmです >\r\n");
}

TEST_F(MainWindowTest, ClearingTheMonitorEndsTheCodeDisplay) {
  StartConnected();
  TMemo* memo = M()->Memo1;
  TVrDemoButton* b = M()->VrDemoButton48;
  memo->SetText(u"OK\r\n");
  SimulateMouseDown(b, mbLeft, 5, 5);
  ProcessPendingEvents();
  ASSERT_EQ(memo->Text(), u"4F4B0D0A");
  memo->SetFocus();
  SimulateKeyStroke(memo, VK_F7);  // clear, while the button is still held
  EXPECT_EQ(memo->Text(), u"");
  SimulateMouseUp(b, mbLeft, 5, 5);
  ProcessPendingEvents();
  EXPECT_EQ(memo->Text(), u"");  // the cleared text does not come back
  Click(M()->VrDemoButton46);
  ASSERT_TRUE(UntilMemo1Has(u"< - 90 dBmです >\r\n"));
  EXPECT_EQ(memo->Text(), u"RS\r\n*5A\r\n< - 90 dBmです >\r\n");
}

TEST_F(MainWindowTest, ContextMenuOfEachPageAnswersItsOwnShortcuts) {
  StartConnected();
  TMemo* memo = M()->Memo1;
  memo->SetText(u"abc\r\n");
  memo->SetFocus();
  EXPECT_EQ(M()->PopupMenu(), M()->PopupMenu2);
  SimulateKeyStroke(memo, VK_F3);  // select all
  EXPECT_EQ(memo->SelLength(), 5);
  SimulateKeyStroke(memo, VK_F7, {ssShift});  // caret to the end
  EXPECT_EQ(memo->SelStart(), 5);
  EXPECT_EQ(memo->SelLength(), 0);
  SimulateKeyStroke(memo, VK_F7);  // clear
  EXPECT_EQ(memo->Text(), u"");
  M()->CommandBox1->SetText(u"RS");
  SimulateKeyStroke(memo, VK_F8);  // send the command line
  ASSERT_EQ(ReceivedLines(1), std::vector<std::string>{"RS"});
  SimulateKeyStroke(memo, VK_F8, {ssShift});  // clear the command line
  EXPECT_EQ(M()->CommandBox1->Text(), u"");

  // On the air monitor page its own menu is installed: F7 no longer clears the monitor.
  M()->PageControl1->SetActivePage(M()->TabSheet1);
  M()->PageControl1Change(M()->PageControl1);
  EXPECT_EQ(M()->PopupMenu(), M()->PopupMenu1);
  memo->SetText(u"kept\r\n");
  SimulateKeyStroke(M()->Memo2, VK_F7);
  EXPECT_EQ(memo->Text(), u"kept\r\n");
}

TEST_F(MainWindowTest, AirMonitorPageSwitchesTheMachineAndLocksThePort) {
  StartConnected();
  TPageControl* pages = M()->PageControl1;
  // The operator clicks the air monitor's tab.
  M()->Show();
  ProcessPendingEvents();
  pages->SelectNextPage(true);
  ProcessPendingEvents();
  ASSERT_EQ(pages->ActivePage(), M()->TabSheet1);
  EXPECT_EQ(M()->Link.ParserSelect(), 1);
  EXPECT_EQ(M()->Link.MonitorState, 4);
  EXPECT_FALSE(M()->VrDemoButton3->Enabled());
  EXPECT_FALSE(M()->VrDemoButton2->Enabled());
  EXPECT_FALSE(M()->SetCom->Enabled());
  EXPECT_TRUE(M()->SaveGraph1->Enabled());
  EXPECT_TRUE(M()->Edit3->Visible());
  EXPECT_EQ(M()->AbVSlider1->Value(), -100);

  // An air-monitor reply goes to Memo2 as a level and sets the last level.
  M()->Memo2->Clear();
  M()->CommandOut(1, u"RS");
  ASSERT_TRUE(Until([&] { return M()->Memo2->Text().find(u"-90 dBm\r\n") != String::npos; }));
  EXPECT_EQ(M()->Memo2->Text(), u"RS\r\n-90 dBm\r\n");
  EXPECT_EQ(M()->Link.LastLevel, -90);

  pages->SelectNextPage(false);
  ProcessPendingEvents();
  ASSERT_EQ(pages->ActivePage(), M()->TabSheet4);
  EXPECT_EQ(M()->Link.ParserSelect(), 0);
  EXPECT_EQ(M()->Link.MonitorState, 0);
  EXPECT_TRUE(M()->VrDemoButton3->Enabled());
  EXPECT_TRUE(M()->SetCom->Enabled());
  EXPECT_FALSE(M()->SaveGraph1->Enabled());
  EXPECT_FALSE(M()->Edit3->Visible());
}

TEST_F(MainWindowTest, StopwatchStopsOnAClickAndStartsAgainFromZero) {
  Start();
  AcknowledgeNotice();
  TAbOpHourCounter* counter = M()->AbOpHourCounter1;
  EXPECT_TRUE(counter->Count());
  EXPECT_TRUE(M()->AbColBitBtn14->Checked());
  M()->AbOpHourCounter1Click(counter);
  EXPECT_FALSE(counter->Count());
  EXPECT_FALSE(M()->AbColBitBtn14->Checked());
  EXPECT_EQ(counter->Font()->Color(), 0x0000FF);
  Click(M()->AbColBitBtn14);
  EXPECT_TRUE(M()->AbColBitBtn14->Checked());
  EXPECT_TRUE(counter->Count());
  EXPECT_EQ(counter->Font()->Color(), 0xFFFF00);
  EXPECT_EQ(counter->Hours() + counter->Minutes() + counter->Seconds(), 0);
}
