// The port connection and the receiver commands, driven through the real main window
// against the software receiver: the lines that reach the receiver and the monitor texts.
#include <algorithm>

#include "MainWindowFixture.h"

TEST_F(MainWindowTest, OpeningThePortShowsTheConnectionAndAsksForTheIds) {
  Start();
  AcknowledgeNotice();
  ChooseModel(0);
  EXPECT_EQ(M()->Caption(), u"Error !!");  // FormCaption of the settings: its default
  OpenPort();
  EXPECT_EQ(Sim->Lines(), std::vector<std::string>{"ID ALL /R"});
  ASSERT_TRUE(UntilMemo1Has(u"*No ID\r\n"));
  EXPECT_EQ(M()->Memo1->Text(), u"ID ALL /R\r\n*No ID\r\n");
  EXPECT_EQ(M()->Memo2->Text(), u"ID ALL /R\r\n");
  EXPECT_EQ(M()->StatusBar1->Panels()->Items(0)->Text(),
            u"Port: " + UTF8ToString(Sim->Path()) + u" / Rate: 19200 bps");
  EXPECT_TRUE(M()->AbLED1->Checked());
  EXPECT_EQ(M()->VrDemoButton3->Cursor(), 1);
  EXPECT_TRUE(M()->PageControl1->Visible());
  EXPECT_EQ(M()->PageControl1->ActivePage(), M()->TabSheet4);
  EXPECT_TRUE(M()->TabSheet1->TabVisible());
  EXPECT_FALSE(M()->ComboBox5->Enabled());
  EXPECT_TRUE(M()->SpeedButton1->Enabled());
  EXPECT_TRUE(M()->AbColBitBtn15->Enabled());
  EXPECT_TRUE(M()->DSRWatch);
  EXPECT_EQ(M()->LabeledEdit3->Text(), u"2");  // "MD"
}

TEST_F(MainWindowTest, EachCommandButtonQueuesItsLineAndTheReplyIsShown) {
  StartConnected();
  Sim->Ids = {1200000};
  struct Case {
    const char* Name;
    TTabSheet* TMainForm::*Page;
    TVrDemoButton* TMainForm::*Button;
    std::function<void(TMainForm*)> Prepare;
    std::string Line;
    String Shown;  // the decoded line that follows the reply's echo ("" for none)
  };
  auto none = [](TMainForm*) {};
  const Case cases[] = {
      {"mode query", &TMainForm::TabSheet15, &TMainForm::VrDemoButton5, none, "MD", u"< トグル モードです >\r\n"},
      {"mode set", &TMainForm::TabSheet15, &TMainForm::VrDemoButton12,
       [](TMainForm* m) {
         m->ComboBox6->SetItemIndex(3);
         m->RadioGroup1->SetItemIndex(1);
       },
       "MD 11/W", u""},
      {"mode set, unknown text", &TMainForm::TabSheet15, &TMainForm::VrDemoButton12,
       [](TMainForm* m) {
         m->ComboBox6->SetText(u"ﾄｸﾞﾙ");
         m->RadioGroup1->SetItemIndex(0);
       },
       "MD ", u""},
      {"channel query", &TMainForm::TabSheet15, &TMainForm::VrDemoButton4, none, "CH", u"< 3 チャンネルです >\r\n"},
      {"channel set", &TMainForm::TabSheet15, &TMainForm::VrDemoButton13,
       [](TMainForm* m) {
         m->ComboBox7->SetItemIndex(2);
         m->RadioGroup2->SetItemIndex(0);
       },
       "CH 10", u""},
      {"channel query 2", &TMainForm::TabSheet15, &TMainForm::VrDemoButton14, none, "CH", u"< 6 チャンネルです >\r\n"},
      {"signal strength", &TMainForm::TabSheet15, &TMainForm::VrDemoButton46, none, "RS", u"< - 90 dBmです >\r\n"},
      {"firmware", &TMainForm::TabSheet15, &TMainForm::VrDemoButton11, none, "VE", u"18\r\n"},
      {"all ids", &TMainForm::TabSheet15, &TMainForm::VrDemoButton47, none, "ID ALL /R", u"151424 ch\r\n"},
      {"register id", &TMainForm::TabSheet3, &TMainForm::VrDemoButton6, none, "ID 1200000/W",
       u"< 001 番地に登録しました >\r\n"},
      {"delete id", &TMainForm::TabSheet3, &TMainForm::VrDemoButton9, none, "ID 1200000/D", u""},
      {"delete address", &TMainForm::TabSheet3, &TMainForm::VrDemoButton7,
       [](TMainForm* m) { m->ComboBox1->SetText(u"0"); }, "ID 0/E", u""},
      {"all ids again", &TMainForm::TabSheet3, &TMainForm::VrDemoButton10, none, "ID ALL /R", u""},
      {"erase all", &TMainForm::TabSheet3, &TMainForm::VrDemoButton8, none, "ID ALL /E", u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    c.Prepare(M());
    M()->PageControl5->SetActivePage(M()->*c.Page);
    M()->Memo1->Clear();
    Sim->ClearLines();
    Click(M()->*c.Button);
    ASSERT_EQ(ReceivedLines(1), std::vector<std::string>{c.Line});
    // The reply's echo has come in and the machine is back at rest.
    ASSERT_TRUE(Until([&] {
      String t = M()->Memo1->Text();
      return t.size() > c.Line.size() + 4 && t.substr(t.size() - 2) == u"\r\n" && M()->Link.RxCount == 0 &&
             M()->Link.ParserState == 0;
    }));
    String text = M()->Memo1->Text();
    EXPECT_EQ(text.substr(0, c.Line.size() + 2), UTF8ToString(c.Line) + u"\r\n");
    if (!c.Shown.empty()) {
      ASSERT_TRUE(UntilMemo1Has(c.Shown));
      EXPECT_EQ(M()->Memo1->Text().substr(M()->Memo1->Text().size() - c.Shown.size()), c.Shown);
    } else {
      // Nothing follows the reply's echo: the whole monitor is the line and one reply frame.
      String t = M()->Memo1->Text();
      String reply = t.substr(c.Line.size() + 2);
      EXPECT_EQ(reply.rfind(u"*", 0), 0u) << StringToUTF8(t);
      EXPECT_EQ(reply.find(u"\r\n"), reply.size() - 2) << StringToUTF8(t);
    }
  }
  EXPECT_TRUE(Modals->Texts.empty());
}

TEST_F(MainWindowTest, CommandLineSendsWhatIsTypedAndKeepsEachNewTextOnceInItsHistory) {
  StartConnected();
  TComboBox* line = M()->CommandBox1;
  line->SetFocus();
  line->SetText(String());
  SimulateTyping(line, u"VE");
  ProcessPendingEvents();
  EXPECT_EQ(M()->LabeledEdit3->Text(), u"2");
  SimulateKeyStroke(line, VK_RETURN);
  ASSERT_EQ(ReceivedLines(1).size(), 1u);
  ASSERT_TRUE(UntilMemo1Has(u"18\r\n"));
  SimulateKeyStroke(line, VK_RETURN, {ssShift});
  ASSERT_EQ(ReceivedLines(2), (std::vector<std::string>{"VE", "VE"}));
  EXPECT_EQ(line->Items()->Count(), 1);
  EXPECT_EQ(line->Items()->Strings(0), u"VE");

  // The send button sends an empty line as CR LF alone; the clear button empties the line.
  Click(M()->SpeedButton7);
  EXPECT_EQ(line->Text(), u"");
  Click(M()->SpeedButton1);
  ASSERT_EQ(ReceivedLines(3).back(), "");
  EXPECT_EQ(line->Items()->Count(), 2);
}

TEST_F(MainWindowTest, HexModeShowsSentAndReceivedCharactersAsCodes) {
  StartConnected();
  M()->RadioGroup3->SetItemIndex(1);
  M()->Memo1->Clear();
  M()->Memo2->Clear();
  Click(M()->VrDemoButton46);
  ASSERT_TRUE(UntilMemo1Has(u"dBmです >\r\n"));
  EXPECT_EQ(M()->Memo1->Text(), u"52530D0A\r\n2A35410D0A< - 90 dBmです >\r\n");
  EXPECT_EQ(M()->Memo2->Text(), u"RS\r\n");
}

TEST_F(MainWindowTest, SplitAndMalformedRepliesAreDecodedOrDroppedAndTheLinkGoesOn) {
  StartConnected();
  Sim->SplitReplies = true;
  Click(M()->VrDemoButton4);
  ASSERT_TRUE(UntilMemo1Has(u"< 3 チャンネルです >\r\n"));
  Sim->SplitReplies = false;
  Sim->Override = [](const std::string& l) { return l == "VE" ? std::string("*0G2\r\n") : std::string(); };
  M()->Memo1->Clear();
  Click(M()->VrDemoButton11);
  ASSERT_TRUE(UntilMemo1Has(u"*0G2\r\n"));
  ASSERT_TRUE(Until([&] { return M()->Link.RxCount == 0; }));
  Click(M()->VrDemoButton46);
  ASSERT_TRUE(UntilMemo1Has(u"< - 90 dBmです >\r\n"));
  EXPECT_EQ(M()->Memo1->Text().find(u"番地"), String::npos);
}

TEST_F(MainWindowTest, ClosingThePortRestoresTheModelChoiceAndReopeningStartsAfresh) {
  StartConnected();
  Click(M()->VrDemoButton3);
  EXPECT_FALSE(M()->ComPort1->Connected());
  EXPECT_FALSE(M()->AbLED1->Checked());
  EXPECT_EQ(M()->VrDemoButton3->Cursor(), 4);
  EXPECT_FALSE(M()->PageControl1->Visible());
  EXPECT_TRUE(M()->ComboBox5->Enabled());
  EXPECT_EQ(M()->ComboBox5->ItemIndex(), 0);
  EXPECT_EQ(M()->StatusBar1->Panels()->Items(0)->Text(), u"");
  EXPECT_FALSE(M()->SpeedButton1->Enabled());
  EXPECT_FALSE(M()->DSRWatch);

  Click(M()->VrDemoButton3);
  ASSERT_TRUE(M()->ComPort1->Connected());
  ASSERT_EQ(ReceivedLines(1), std::vector<std::string>{"ID ALL /R"});
}

TEST_F(MainWindowTest, PortThatCannotBeOpenedIsReportedAndStaysClosed) {
  Start();
  AcknowledgeNotice();
  ChooseModel(0);
  M()->ComPort1->SetPort(Dir.FileS("no-such-port"));
  Click(M()->VrDemoButton3);
  ASSERT_TRUE(Until([&] { return !Modals->Texts.empty(); }));
  EXPECT_EQ(Modals->Texts, std::vector<String>{u"COMﾎﾟｰﾄを開く事が出来ません。ﾊﾟﾗﾒｰﾀをﾁｪｯｸして下さい。"});
  EXPECT_FALSE(M()->ComPort1->Connected());
  EXPECT_FALSE(M()->AbLED1->Checked());
  EXPECT_FALSE(M()->PageControl1->Visible());
  EXPECT_TRUE(M()->ComboBox5->Enabled());
}

TEST_F(MainWindowTest, AfterTheDeviceVanishedThePortButtonClosesAndALaterOpenWorks) {
  StartConnected();
  Sim.reset();  // the far end of the pty closes: the device is gone
  ProcessPendingEvents();
  Click(M()->VrDemoButton3);
  EXPECT_FALSE(M()->ComPort1->Connected());
  EXPECT_FALSE(M()->AbLED1->Checked());
  EXPECT_FALSE(M()->PageControl1->Visible());
  EXPECT_TRUE(M()->ComboBox5->Enabled());
  EXPECT_EQ(std::count(Modals->Texts.begin(), Modals->Texts.end(),
                       u"     ｱﾌﾟﾘｹｰｼｮﾝｴﾗｰが発生しました。ﾘｽﾀｰﾄﾎﾞﾀﾝを押してください。"),
            0);

  // The device is back (here: another pty); the port opens and the receiver is asked again.
  Sim = std::make_unique<ReceiverSim>();
  OpenPort();
  EXPECT_EQ(ReceivedLines(1), std::vector<std::string>{"ID ALL /R"});
  EXPECT_TRUE(M()->AbLED1->Checked());
}
