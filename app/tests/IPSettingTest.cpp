// The IP-setting window over real settings files: what it reads, OK with its wait notice,
// Cancel, and the save read back by an independent reader.
#include <sys/stat.h>

#include <chrono>

#include "MainWindowFixture.h"
#include "SettingsFiles.h"

namespace {

class IPSettingTest : public MainWindowTest {
protected:
  TIPSettingForm1* W() const { return IPSettingForm1; }
  // Replaces the address as the operator types it.
  void TypeAddress(const String& Text) {
    SimulateKeyStroke(W()->LabeledEdit4, 'A', {ssCtrl});
    SimulateTyping(W()->LabeledEdit4, Text);
    ProcessPendingEvents();
  }
  // Shows the window modally with Step running inside it; returns its result.
  TModalResult Show(std::function<void()> Step) {
    OnNextModal([Step](const String&) { Step(); });
    return W()->ShowModal();
  }
};

}  // namespace

TEST_F(IPSettingTest, ReadsAddressAndPortOrTheirDefaults) {
  struct Case {
    const char* Information;
    const char16_t* Address;
    const char16_t* Port;
  };
  const Case cases[] = {
      {"", u"", u"30704"},
      {"RemoteAddress=10.1.2.3\r\nPortNumber=40000\r\n", u"10.1.2.3", u"40000"},
      {"PortNumber=99999\r\n", u"", u"30704"},  // not a port number
      {"PortNumber=abc\r\n", u"", u"30704"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Information);
    SettingsText = "[Application]\r\nAppIcon=rcv910x.ico\r\n[Information]\r\ndestination=Japan\r\n" +
                   std::string(c.Information);
    Start();
    EXPECT_EQ(W()->LabeledEdit4->Text(), c.Address);
    EXPECT_EQ(W()->AbNumEdit1->Text(), c.Port);
    EXPECT_EQ(W()->AbNumEdit1->Color(), clScrollBar);  // shown, not being edited
    EXPECT_EQ(W()->RemotePort, u"30704");             // the shared values wait for OK
    FreeWindows();
  }
}

TEST_F(IPSettingTest, OkTakesTheValuesShowsTheNoticeAndReturnsAfterAQuarterSecond) {
  Start();
  AcknowledgeNotice();
  auto start = std::chrono::steady_clock::now();
  bool noticeShown = false;
  TModalResult r = Show([&] {
    TypeAddress(u"10.0.0.7");
    Caution2Form->OnShow = [&](TObject*) { noticeShown = true; };
    Click(W()->SpeedButton1);
  });
  auto took = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(r, mrOk);
  EXPECT_GE(took, std::chrono::milliseconds(250));
  EXPECT_TRUE(noticeShown);
  EXPECT_TRUE(Caution2Form->Visible());  // it stays up until the port opens
  EXPECT_EQ(Caution2Form->Label1->Caption(), u" Just moment ");
  EXPECT_EQ(Caution2Form->Label2->Caption(), u" Try connect now ");
  EXPECT_EQ(W()->RemoteAddress, u"10.0.0.7");
  EXPECT_EQ(W()->RemotePort, u"30704");
  EXPECT_EQ(CrudiniGet(Dir.File("tool.ini"), "Information", "RemoteAddress"), "<missing>");
}

TEST_F(IPSettingTest, CancelKeepsTheSharedValuesButTheTypedText) {
  SettingsText += "RemoteAddress=10.1.2.3\r\n";
  Start();
  AcknowledgeNotice();
  EXPECT_EQ(Show([&] { Click(W()->SpeedButton1); }), mrOk);
  Caution2Form->Close();
  EXPECT_EQ(Show([&] {
              TypeAddress(u"10.9.9.9");
              Click(W()->SpeedButton2);
            }),
            mrCancel);
  EXPECT_EQ(W()->RemoteAddress, u"10.1.2.3");
  EXPECT_FALSE(Caution2Form->Visible());
  // The next showing starts from the typed text.
  String shown;
  Show([&] {
    shown = W()->LabeledEdit4->Text();
    Click(W()->SpeedButton2);
  });
  EXPECT_EQ(shown, u"10.9.9.9");
}

TEST_F(IPSettingTest, SaveWritesBothKeysAsTextAndTheNextStartShowsThem) {
  Start();
  AcknowledgeNotice();
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Show([&] {
              TypeAddress(u"10.20.30.40");
              Click(W()->SpeedButton3);
            }),
            mrOk);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_FALSE(Caution2Form->Visible());  // no wait notice
  EXPECT_EQ(W()->RemoteAddress, u"10.20.30.40");
  std::string file = Dir.File("tool.ini");
  EXPECT_EQ(CrudiniGet(file, "Information", "RemoteAddress"), "10.20.30.40");
  EXPECT_EQ(CrudiniGet(file, "Information", "PortNumber"), "30704");
  EXPECT_EQ(CrudiniGet(file, "Information", "destination"), "Japan");

  FreeWindows();
  SettingsText.clear();
  Start();
  EXPECT_EQ(W()->LabeledEdit4->Text(), u"10.20.30.40");
}

TEST_F(IPSettingTest, ReadOnlySettingsAreUsedAndASaveIntoThemIsReported) {
  Dir.Write("tool.ini", "; kept\r\n" + SettingsText + "RemoteAddress=10.1.2.3\r\n");
  ::chmod(Dir.File("tool.ini").c_str(), 0444);
  SettingsText.clear();
  FilePermissionsApply permissions;
  Start();
  AcknowledgeNotice();
  EXPECT_TRUE(Modals->Texts.empty());
  EXPECT_EQ(W()->LabeledEdit4->Text(), u"10.1.2.3");
  bool stayed = false;
  Show([&] {
    Click(W()->SpeedButton3);
    stayed = W()->Visible();
    Click(W()->SpeedButton2);
  });
  EXPECT_TRUE(stayed);
  ASSERT_EQ(Modals->Texts.size(), 2u);  // the window, then the error report
  EXPECT_NE(Modals->Texts[1].find(u"ｱﾌﾟﾘｹｰｼｮﾝｴﾗｰ"), String::npos);
  EXPECT_EQ(Dir.Read("tool.ini").rfind("; kept", 0), 0u);
}
