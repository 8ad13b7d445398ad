// Start-up: the fourteen windows in order, the settings and icon read at creation, the
// start-up notice over the disabled main window.
#include <chrono>
#include <filesystem>
#include <fstream>

#include "MainWindowFixture.h"
#include "app/COMname.h"

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
  // No port in the settings: the machine's first serial device (or /dev/ttyS0), by its name.
  TComPort fresh(nullptr);
  EXPECT_EQ(M()->VrDemoButton3->Caption(), PortDeviceName(fresh.Port()) + u" ﾎﾟｰﾄ");
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

TEST_F(MainWindowTest, ShippedSettingsNameTheToolInItsTitles) {
  std::ifstream in(RCV910X_DEFAULT_SETTINGS, std::ios::binary);
  SettingsText.assign(std::istreambuf_iterator<char>(in), {});
  ASSERT_FALSE(SettingsText.empty());
  Start();
  EXPECT_EQ(Application->Title(), u"RCV910X - Setting tool");
  AcknowledgeNotice();
  ChooseModel(0);
  EXPECT_EQ(M()->Caption(), u"TRM910X/RCV910X　セッティング　ツール");
  for (const String& t : {Application->Title(), M()->Caption(), Caution1Form->Label1->Caption()})
    EXPECT_EQ(t.find(u"Error"), String::npos) << StringToUTF8(t);
}

TEST_F(MainWindowTest, TextsFitTheirControlsAndTheMonitorIsFixedPitch) {
  SettingsText += "[ComPort1]\r\nPort=/dev/ttyUSB0\r\n";
  Start();
  TBitmap b(1, 1);
  TCanvas* c = b.Canvas();
  for (TVrDemoButton* button : {M()->VrDemoButton3, M()->VrDemoButton2, M()->VrDemoButton1}) {
    c->Font()->Assign(button->FontLeave());
    EXPECT_LE(c->TextWidth(button->Caption()), button->Width() - 8) << StringToUTF8(button->Caption());
  }
  EXPECT_EQ(M()->VrDemoButton3->Caption(), u"ttyUSB0 ﾎﾟｰﾄ");
  // Each line of the note stands on a line of its own.
  c->Font()->Assign(M()->Memo3->Font());
  for (int i = 0; i < M()->Memo3->Lines()->Count(); ++i)
    EXPECT_LE(c->TextWidth(M()->Memo3->Lines()->Strings(i)), M()->Memo3->ClientWidth() - 12) << i;
  // The monitor's face is fixed-pitch: a column of codes lines up with the text above it.
  c->Font()->Assign(M()->Memo1->Font());
  EXPECT_EQ(c->TextWidth(u"iiiiiiii"), c->TextWidth(u"4F4B0D0A"));
  EXPECT_EQ(c->TextWidth(u"ｺｰﾄﾞ"), c->TextWidth(u"4F4B"));
}

TEST_F(MainWindowTest, EscClosesTheOptionsWindowAndTheVersionBox) {
  Start();
  AcknowledgeNotice();
  for (TForm* form : {static_cast<TForm*>(OptionBoxForm), static_cast<TForm*>(VerBoxForm)}) {
    SCOPED_TRACE(StringToUTF8(form->Name()));
    form == OptionBoxForm ? M()->Option1->Click() : M()->Version1->Click();
    ProcessPendingEvents();
    ASSERT_TRUE(form->Visible());
    // The key as the window receives it (the test support's key path does not reach a form
    // without controls yet).
    form->Perform(WM_KEYDOWN, VK_ESCAPE, 1);
    ProcessPendingEvents();
    EXPECT_FALSE(form->Visible());
  }
}

TEST_F(MainWindowTest, ImageViewerMenuItemsShowTheViewer) {
  Start();
  AcknowledgeNotice();
  for (TMenuItem* item : {M()->ImageViewer1, M()->ImageViewer2}) {
    ImageViewForm1->Close();
    ProcessPendingEvents();
    item->Click();
    ProcessPendingEvents();
    EXPECT_TRUE(ImageViewForm1->Visible());
    EXPECT_EQ(ImageViewForm1->Width(), 892);
    EXPECT_EQ(ImageViewForm1->Height(), 525);
  }
}

TEST_F(MainWindowTest, MissingIconKeepsTheDefaultIconAndCreationGoesOn) {
  SettingsText = "[Application]\r\nAppIcon=Error !!\r\n[Information]\r\ndestination=Japan\r\n";
  Start();
  EXPECT_EQ(M()->ComboBox5->Items()->Count(), 2);
  EXPECT_EQ(M()->Edit4->Text().rfind(DateToStr(Now()) + u" ", 0), 0u) << StringToUTF8(M()->Edit4->Text());
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
