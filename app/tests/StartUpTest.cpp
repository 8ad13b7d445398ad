// Start-up: the fourteen windows in order, the settings and icon read at creation, the
// start-up notice over the disabled main window.
#include <chrono>
#include <filesystem>
#include <fstream>

#include "MainWindowFixture.h"

TEST_F(MainWindowTest, FourteenWindowsAreCreatedInOrderWithTheMainWindowFirst) {
  Start();
  const char16_t* const expected[][2] = {
      {u"TMainForm", u"MainForm"},           {u"TCaution1Form", u"Caution1Form"},
      {u"TVerBoxForm", u"VerBoxForm"},       {u"TImageViewForm1", u"ImageViewForm1"},
      {u"TImageSelectForm1", u"ImageSelectForm1"}, {u"TOptionBoxForm", u"OptionBoxForm"},
      {u"TIPSettingForm1", u"IPSettingForm1"}, {u"TCaution2Form", u"Caution2Form"},
      {u"TAssignForm1", u"AssignForm1"},     {u"TOKBottomDlg1", u"OKBottomDlg1"},
      {u"THexKeyForm1", u"HexKeyForm1"},     {u"TComSetDlg", u"ComSetDlg"},
      {u"TConversionForm1", u"ConversionForm1"}, {u"TKeyForm1", u"KeyForm1"},
  };
  ASSERT_EQ(Screen->FormCount(), 14);
  for (int i = 0; i < 14; ++i) {
    EXPECT_EQ(Screen->Forms(i)->ClassName(), expected[i][0]) << i;
    EXPECT_EQ(Screen->Forms(i)->Name(), expected[i][1]) << i;
  }
  EXPECT_EQ(Application->MainForm(), MainForm);
  EXPECT_EQ(Application->Title(), u"Error!!");  // AppTitle is not in the test's settings
  EXPECT_EQ(M()->Caption(), u"TRM910X/RCV910X　セッティング　ツール");
  EXPECT_EQ(M()->Width(), 840);
  EXPECT_EQ(M()->Height(), 700);
}

TEST_F(MainWindowTest, NoticeKeepsTheMainWindowDisabledUntilItsOKIsPressed) {
  Start();
  EXPECT_TRUE(Caution1Form->Visible());
  EXPECT_FALSE(M()->Enabled());
  EXPECT_EQ(Caution1Form->Label1->Caption(), u" Place of destination : Japan");
  Click(Caution1Form->BitBtn1);
  EXPECT_FALSE(Caution1Form->Visible());
  EXPECT_TRUE(M()->Visible());
  EXPECT_TRUE(M()->Enabled());
  EXPECT_TRUE(M()->ComboBox5->Enabled());

  // The port button without a model shows the notice again, which disables the window.
  M()->VrDemoButton3Click(M()->VrDemoButton3);
  EXPECT_TRUE(Caution1Form->Visible());
  EXPECT_FALSE(M()->Enabled());
  EXPECT_FALSE(M()->ComPort1->Connected());
  EXPECT_FALSE(M()->PageControl1->Visible());
}

TEST_F(MainWindowTest, ShippedSettingsOfferBothModelsAndTheIcon) {
  Start();
  TStrings* models = M()->ComboBox5->Items();
  ASSERT_EQ(models->Count(), 2);
  EXPECT_EQ(models->Strings(0), u"RCV910X    426MHz");
  EXPECT_EQ(models->Strings(1), u"RCV910    426MHz");
  EXPECT_EQ(M()->ComboBox5->Text(), u"ﾓﾃﾞﾙ名を選んで下さい。");
  EXPECT_FALSE(M()->VrDemoButton3->Enabled());
  EXPECT_FALSE(M()->PageControl1->Visible());
  EXPECT_FALSE(M()->SpeedButton1->Enabled());
  // No port in the settings: the machine's first serial device (or /dev/ttyS0).
  TComPort fresh(nullptr);
  EXPECT_EQ(M()->VrDemoButton3->Caption(), fresh.Port() + u" ﾎﾟｰﾄ");
  EXPECT_FALSE(Application->Icon()->Empty());
  EXPECT_FALSE(M()->Icon()->Empty());
  EXPECT_TRUE(Modals->Texts.empty());
  // The build puts the same settings beside the tool.
  std::string shipped = std::filesystem::path(StringToUTF8(ExeName())).parent_path() / "rcv910x-tool.ini";
  std::ifstream in(shipped);
  std::string text((std::istreambuf_iterator<char>(in)), {});
  EXPECT_NE(text.find("destination=Japan"), std::string::npos);
  EXPECT_NE(text.find("AppIcon=rcv910x.ico"), std::string::npos);
}

TEST_F(MainWindowTest, MissingIconKeepsTheDefaultIconAndCreationGoesOn) {
  SettingsText = "[Application]\r\nAppIcon=Error !!\r\n[Information]\r\ndestination=Japan\r\n";
  Start();
  EXPECT_EQ(M()->ComboBox5->Items()->Count(), 2);
  EXPECT_EQ(M()->Edit4->Text().empty(), false);
  EXPECT_EQ(M()->Chart1->Title()->Text()->Count(), 3);
  EXPECT_TRUE(Modals->Texts.empty());
}

TEST_F(MainWindowTest, AbsentSettingsFileIsCreatedAndOffersNoModel) {
  SettingsText.clear();
  Start();
  EXPECT_TRUE(std::filesystem::exists(Dir.File("tool.ini")));
  EXPECT_EQ(M()->ComboBox5->Items()->Count(), 0);
  EXPECT_EQ(Caution1Form->Label1->Caption(), u" Place of destination : All");
  EXPECT_EQ(M()->Link.CPUpower, 1);
  EXPECT_TRUE(Modals->Texts.empty());
}

TEST_F(MainWindowTest, SettingsGiveTitleCaptionAndMonitorColours) {
  SettingsText =
      "[Application]\r\nFormCaption=Tool\r\nAppTitle=My title\r\nCPUpower=7\r\n[Information]\r\n"
      "destination=Japan\r\n[ContWin color]\r\nFont=255\r\nBack=65280\r\n";
  Start();
  EXPECT_EQ(Application->Title(), u"My title");
  EXPECT_EQ(M()->Link.CPUpower, 7);
  EXPECT_EQ(M()->Memo1->Color(), 65280);
  EXPECT_EQ(M()->Memo1->Font()->Color(), 255);
  AcknowledgeNotice();
  ChooseModel(1);
  EXPECT_EQ(M()->Caption(), u"Tool");
  EXPECT_EQ(M()->LinkMode, u"Normal");
  EXPECT_TRUE(M()->VrDemoButton3->Enabled());
  EXPECT_TRUE(M()->VrDemoButton2->Enabled());
}

TEST(WaitTime, WaitsOnAMonotonicClockWhileHandlingMessages) {
  EXPECT_TRUE(TMainForm::WaitTime(0));
  bool ran = false;
  TTimer timer(nullptr);
  timer.SetInterval(20);
  timer.SetOnTimer([&](TObject*) { ran = true; });
  timer.SetEnabled(true);
  auto t0 = std::chrono::steady_clock::now();
  EXPECT_TRUE(TMainForm::WaitTime(200));
  EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(200));
  EXPECT_TRUE(ran);
}
