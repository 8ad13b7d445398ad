// Line events (DSR, CTS, line errors) on a scripted serial device, the restart after a
// write error, and the port setup window.
#include <sys/ioctl.h>

#include <cerrno>

#include "MainWindowFixture.h"
#include "testing/CommFake.h"

namespace {

const String DSRMessage = u"DSR信号エラーです。接続を確認して下さい。\r\n";

}  // namespace

class LineEventsTest : public MainWindowTest {
protected:
  TFakeCommDevice Device{u"rcvfake0"};

  void OpenFakePort() {
    // A receiver that is on: data set ready and clear to send (the port sends only on CTS).
    Device.SetModemInputs(TIOCM_DSR | TIOCM_CTS);
    Start();
    AcknowledgeNotice();
    ChooseModel(0);
    M()->ComPort1->SetPort(u"rcvfake0");
    Click(M()->VrDemoButton3);
    ASSERT_TRUE(M()->ComPort1->Connected());
    ASSERT_EQ(Written(11), "ID ALL /R\r\n");
  }

  // What the port wrote to the device, running the loop (and so the pump) meanwhile.
  std::string Written(size_t Count) {
    std::string got;
    Until([&] {
      got += Device.Receive(Count - got.size(), 5);
      return got.size() >= Count;
    });
    return got;
  }
};

TEST_F(LineEventsTest, SignalLampsFollowTheLinesAndADSRDropIsReportedOnce) {
  OpenFakePort();
  ASSERT_TRUE(UntilMemo1Has(u"ID ALL /R\r\n"));
  M()->Memo1->Clear();
  ASSERT_TRUE(Until([&] { return M()->VrPowerButton5->Active() && M()->VrPowerButton6->Active(); }));
  Device.SetModemInputs(TIOCM_CTS);
  ASSERT_TRUE(UntilMemo1Has(DSRMessage));
  EXPECT_FALSE(M()->VrPowerButton5->Active());
  EXPECT_TRUE(M()->VrPowerButton6->Active());
  Device.SetModemInputs(0);
  ASSERT_TRUE(Until([&] { return !M()->VrPowerButton6->Active(); }));
  EXPECT_EQ(M()->Memo1->Text(), DSRMessage);

  // After the close, DSR is no longer watched: its lamp stays lit, CTS goes dark.
  Device.SetModemInputs(TIOCM_DSR | TIOCM_CTS);
  ASSERT_TRUE(Until([&] { return M()->VrPowerButton5->Active() && M()->VrPowerButton6->Active(); }));
  Click(M()->VrDemoButton3);
  ASSERT_FALSE(M()->ComPort1->Connected());
  ProcessPendingEvents();
  EXPECT_TRUE(M()->VrPowerButton5->Active());
  EXPECT_FALSE(M()->VrPowerButton6->Active());
  EXPECT_FALSE(M()->VrPowerButton7->Active());
  EXPECT_EQ(M()->Memo1->Text(), DSRMessage);
}

TEST_F(LineEventsTest, LineErrorsAreListedInTheMonitor) {
  OpenFakePort();
  ASSERT_TRUE(UntilMemo1Has(u"ID ALL /R\r\n"));
  M()->Memo1->Clear();
  Device.SendFramingError('a');
  EXPECT_TRUE(UntilMemo1Has(u"ﾌﾚｰﾐﾝｸﾞｴﾗｰが発生しました。\r\n"));
  M()->Memo1->Clear();
  Device.AddOverrun();
  EXPECT_TRUE(UntilMemo1Has(u"ｵｰﾊﾞｰﾗﾝｴﾗｰが発生しました。\r\n"));
  // One event holding several errors lists them in the fixed order.
  M()->Memo1->Clear();
  M()->ComPort1Error(M()->ComPort1, TComErrors{ceRxOver, ceFrame});
  EXPECT_EQ(M()->Memo1->Text(), u"ﾌﾚｰﾐﾝｸﾞｴﾗｰが発生しました。\r\n入力ﾊﾞｯﾌｧがｵｰﾊﾞｰﾌﾛｰしました。\r\n");
  M()->Memo1->Clear();
  M()->ComPort1Error(M()->ComPort1, TComErrors{ceTxFull, ceMode, ceIO});
  EXPECT_EQ(M()->Memo1->Text(),
            u"I/O ｴﾗｰが発生しました。\r\n要求したﾓｰﾄﾞはｻﾎﾟｰﾄしていません。\r\n出力ﾊﾞｯﾌｧが一杯です。\r\n");
}

TEST_F(LineEventsTest, AfterAWriteErrorTheRestartedConnectionSendsAgain) {
  OpenFakePort();
  Device.Fail(TCommCall::Write, EIO);
  Click(M()->VrDemoButton46);
  ASSERT_TRUE(Until([&] { return !Modals->Texts.empty(); }));
  EXPECT_EQ(Modals->Texts, std::vector<String>{u"受信中にｴﾗｰが発生しました。ﾘｽﾀｰﾄﾎﾞﾀﾝを押してください。"});
  EXPECT_FALSE(M()->Link.TxEmptyFlag);
  Device.Fail(TCommCall::Write, 0);

  // The restart: the COM setup closes the port, OK, then the port button opens it again.
  OnNextModal([&](const String&) { Click(ComSetDlg->OKBtn); });
  Click(M()->VrDemoButton2);
  EXPECT_FALSE(M()->ComPort1->Connected());
  EXPECT_TRUE(M()->ComboBox5->Enabled());
  Click(M()->VrDemoButton3);
  ASSERT_TRUE(M()->ComPort1->Connected());
  EXPECT_EQ(Written(11), "ID ALL /R\r\n");
  EXPECT_EQ(Modals->Texts.size(), 2u);  // the error and the setup window, nothing more
}

// ---- Port setup window

TEST_F(MainWindowTest, PortSetupCancelKeepsThePortsSettings) {
  StartConnected();
  String portList;
  OnNextModal([&](const String& Caption) {
    EXPECT_EQ(Caption, u"COM port setup dialog");
    portList = ComSetDlg->Memo1->Text();
    EXPECT_FALSE(ComSetDlg->ComComboBox5->Enabled());
    Click(ComSetDlg->CheckBox1);
    EXPECT_TRUE(ComSetDlg->ComComboBox5->Enabled());
    Click(ComSetDlg->CheckBox1);
    EXPECT_FALSE(ComSetDlg->ComComboBox5->Enabled());
    ComSetDlg->ComComboBox2->SetFocus();
    SimulateKeyStroke(ComSetDlg->ComComboBox2, VK_UP);
    SimulateKeyStroke(ComSetDlg->ComComboBox2, VK_UP);
    EXPECT_EQ(ComSetDlg->ComComboBox2->Text(), u"9600");
    Click(ComSetDlg->CancelBtn);
  });
  Click(M()->VrDemoButton2);
  EXPECT_EQ(portList.rfind(u"【使用可能COMﾎﾟｰﾄ】\r\n", 0), 0u);
  EXPECT_FALSE(M()->ComPort1->Connected());
  EXPECT_FALSE(M()->PageControl1->Visible());
  EXPECT_FALSE(M()->AbLED1->Checked());
  EXPECT_EQ(M()->StatusBar1->Panels()->Items(0)->Text(), u"");
  EXPECT_EQ(M()->ComPort1->BaudRate(), br19200);
  EXPECT_EQ(ComSetDlg->ComComboBox2->Text(), u"19200");
  EXPECT_FALSE(M()->ComboBox5->Enabled());  // only OK gives the model list back
}

TEST_F(MainWindowTest, PortSetupOKAppliesAndSaveWritesThePortSection) {
  StartConnected();
  OnNextModal([&](const String&) {
    // The configured port, a pty the machine's list lacks, is listed and shown.
    EXPECT_EQ(ComSetDlg->ComComboBox1->Text(), UTF8ToString(Sim->Path()));
    ComSetDlg->ComComboBox2->SetFocus();
    SimulateKeyStroke(ComSetDlg->ComComboBox2, VK_UP);
    SimulateKeyStroke(ComSetDlg->ComComboBox2, VK_UP);
    Click(ComSetDlg->Button1);  // save; its message is answered by the watcher
    EXPECT_TRUE(ComSetDlg->Visible());
    Click(ComSetDlg->OKBtn);
  });
  Click(M()->VrDemoButton2);
  EXPECT_EQ(Modals->Texts, (std::vector<String>{u"COM port setup dialog", u"Saved to initial setting file."}));
  EXPECT_EQ(M()->ComPort1->BaudRate(), br9600);
  EXPECT_EQ(M()->ComPort1->Port(), UTF8ToString(Sim->Path()));
  EXPECT_EQ(M()->VrDemoButton3->Caption(), UTF8ToString(Sim->Path().substr(5)) + u" ﾎﾟｰﾄ");  // "pts/N ﾎﾟｰﾄ"
  EXPECT_TRUE(M()->ComboBox5->Enabled());
  // The port's section holds every key of the basic group, in the file's own spelling.
  std::string ini = Dir.Read("tool.ini");
  size_t section = ini.find("[ComPort1]\r\n");
  ASSERT_NE(section, std::string::npos) << ini;
  std::string body = ini.substr(section, ini.find("\r\n\r\n", section) - section);
  for (std::string line : {"Port=" + Sim->Path(), std::string("BaudRate=9600"), std::string("StopBits=1"),
                           std::string("DataBits=8"), std::string("Parity=None"), std::string("FlowControl=")})
    EXPECT_NE(body.find("\r\n" + line), std::string::npos) << line << "\n" << body;
  EXPECT_NE(ini.find("destination=Japan"), std::string::npos) << ini;

  // The port opens again at the new rate.
  Click(M()->VrDemoButton3);
  ASSERT_TRUE(M()->ComPort1->Connected());
  EXPECT_EQ(M()->StatusBar1->Panels()->Items(0)->Text(),
            u"Port: " + UTF8ToString(Sim->Path()) + u" / Rate: 9600 bps");
}
