// The options window over real settings files: what it shows, the built-in sets, the colour
// dialog, the live clipboard type, and the save read back by an independent reader.
#include <sys/stat.h>

#include "MainWindowFixture.h"
#include "SettingsFiles.h"

namespace {

const std::string FullColours =
    "[ContWin color]\r\nFont=255\r\nBack=65280\r\n"
    "[Graph color]\r\nc1Main=1\r\nc1Over=2\r\nc1Peak=3\r\nc1Start=4\r\nc1End=5\r\nc1ThreLine=6\r\n"
    "c1AnaLine1=7\r\nc1AnaLine2=8\r\nc1CenterLine=9\r\nc2Main=10\r\nc2Over=11\r\nc2Start=12\r\nc2End=13\r\n"
    "c2ThreLine=14\r\nc2AnaLine=15\r\nc2CenterLine=16\r\nc2Point=17\r\nc2AreaLine=18\r\n";

constexpr int32_t ButtonHighlight = static_cast<int32_t>(0xFF000014);

class OptionBoxTest : public MainWindowTest {
protected:
  // Starts the tool and opens the options window with its shortcut, as the operator does.
  void OpenOptions() {
    Start();
    AcknowledgeNotice();
    SimulateKeyStroke(M()->ComboBox5, 'O', {ssCtrl});
    ProcessPendingEvents();
    ASSERT_TRUE(OptionBoxForm->Visible());
  }
  TOptionBoxForm* O() const { return OptionBoxForm; }
};

}  // namespace

TEST_F(OptionBoxTest, SwatchesShowTheSettingsInTheirLamps) {
  SettingsText += FullColours + "[Graph setting]\r\nClipBoardImageType=2\r\n";
  OpenOptions();
  struct Case {
    TAbLED* Swatch;
    int32_t Colour;
  };
  const Case cases[] = {{O()->AbLED11, 255},   {O()->AbLED12, 65280}, {O()->AbLED3, 1},
                        {O()->AbLED2, 4},      {O()->AbLED19, 9},     {O()->AbLED8, 10},
                        {O()->AbLED20, 18},    {O()->AbLED18, 17}};
  for (const Case& c : cases) {
    SCOPED_TRACE(StringToUTF8(c.Swatch->Name()));
    EXPECT_EQ(c.Swatch->LED()->ColorOff(), c.Colour);
    EXPECT_EQ(c.Swatch->LED()->Width(), 30);
    EXPECT_EQ(c.Swatch->LED()->Height(), 15);
    EXPECT_EQ(c.Swatch->Mode(), mButton);
  }
  EXPECT_EQ(O()->RadioGroup2->ItemIndex(), 2);
  // The lamp on the swatch's left shows the colour; the caption is beside it.
  O()->PageControl1->SetActivePage(O()->TabSheet1);
  auto shot = RenderControl(O()->AbLED12);
  EXPECT_EQ(PixelColor(*shot, 15, O()->AbLED12->Height() / 2), 65280);
  EXPECT_NE(PixelColor(*shot, 60, 2), 65280);
}

TEST_F(OptionBoxTest, WithoutAClipboardTypeEMFIsChosenAndBadTypesFallBack) {
  for (const char* text : {"", "[Graph setting]\r\nClipBoardImageType=7\r\n", "[Graph setting]\r\nClipBoardImageType=x\r\n"}) {
    SCOPED_TRACE(text);
    SettingsText = "[Application]\r\nAppIcon=rcv910x.ico\r\n[Information]\r\ndestination=Japan\r\n" + std::string(text);
    Start();
    EXPECT_EQ(OptionBoxForm->RadioGroup2->ItemIndex(), 0);
    FreeWindows();
  }
}

TEST_F(OptionBoxTest, BuiltInSetsResetOneGraphAndTheMainWindowFollows) {
  SettingsText += FullColours;
  OpenOptions();
  O()->PageControl1->SetActivePage(O()->TabSheet2);
  ProcessPendingEvents();
  Click(O()->SpeedButton4);  // the time-domain group's "初期値"
  const TColorSettings& c = M()->Colors;
  EXPECT_EQ(c.c2Start, ButtonHighlight);
  EXPECT_EQ(c.c2End, ButtonHighlight);
  EXPECT_EQ(c.c2Main, 0xF0CAA6);
  EXPECT_EQ(c.c2Point, 0xFFFF00);
  EXPECT_EQ(c.c2AreaLine, 0);
  EXPECT_EQ(c.c1Main, 1);  // the other graph keeps its colours
  EXPECT_EQ(c.c1Start, 4);
  EXPECT_EQ(O()->AbLED20->LED()->ColorOff(), 0);
  EXPECT_EQ(O()->AbLED7->LED()->ColorOff(), ButtonHighlight);
  EXPECT_EQ(M()->Chart2->Gradient()->StartColor(), ButtonHighlight);
  EXPECT_EQ(M()->AreaSeries1->AreaLinesPen()->Color(), 0);

  Click(O()->SpeedButton3);  // the frequency-domain group's
  EXPECT_EQ(c.c1Peak, 0xC0C0C0);  // not the settings default 0x808080
  EXPECT_EQ(c.c1Start, ButtonHighlight);
  EXPECT_EQ(M()->Series3->SeriesColor(), 0xC0C0C0);
  EXPECT_EQ(c.Back, 65280);  // the monitor has no built-in set
}

TEST_F(OptionBoxTest, ColourDialogConfirmedOrCancelledReappliesTheColours) {
  OpenOptions();
  // Cancelled: the setting stays, but the main window applies the colours again.
  M()->Colors.Font = 0x00FFFF;  // changed behind the window's back
  int32_t back = M()->Colors.Back;
  OnNextModal([](const String&) { CloseModal(); });
  Click(O()->AbLED12);
  EXPECT_EQ(Modals->Texts.size(), 1u);
  EXPECT_EQ(M()->Colors.Back, back);
  EXPECT_EQ(M()->Memo1->Font()->Color(), 0x00FFFF);

  // Confirmed: the dialog opens on the colour last chosen in it; OK takes it.
  M()->ColorDialog1->SetColor(0x123456);
  OnNextModal([](const String&) { PressModalButton(u"OK"); });
  Click(O()->AbLED12);
  EXPECT_EQ(Modals->Texts.size(), 2u);
  EXPECT_EQ(M()->Colors.Back, 0x123456);
  EXPECT_EQ(O()->AbLED12->LED()->ColorOff(), 0x123456);
  EXPECT_EQ(M()->Memo1->Color(), 0x123456);
}

TEST_F(OptionBoxTest, TheRadioGroupIsTheLiveClipboardTypeAndSaveWritesInOrder) {
  SettingsText += FullColours + "[Graph setting]\r\nClipBoardImageType=2\r\n";
  OpenOptions();
  O()->PageControl1->SetActivePage(O()->TabSheet2);
  ProcessPendingEvents();
  TRadioButton* wmf = O()->RadioGroup2->Buttons(1);
  SimulateClick(wmf, 6, wmf->Height() / 2);
  ProcessPendingEvents();
  EXPECT_EQ(O()->RadioGroup2->ItemIndex(), 1);
  EXPECT_EQ(CrudiniGet(Dir.File("tool.ini"), "Graph setting", "ClipBoardImageType"), "2");  // not saved yet
  Click(O()->SpeedButton3);
  Click(O()->SpeedButton1);  // "設定の保存"
  EXPECT_FALSE(O()->Visible());

  std::string file = Dir.File("tool.ini");
  EXPECT_EQ(CrudiniGet(file, "Graph setting", "ClipBoardImageType"), "1");
  EXPECT_EQ(CrudiniGet(file, "ContWin color", "Back"), "65280");
  EXPECT_EQ(CrudiniGet(file, "Graph color", "c1Start"), "-16777196");
  EXPECT_EQ(CrudiniGet(file, "Graph color", "c1Peak"), "12632256");
  EXPECT_EQ(CrudiniGet(file, "Graph color", "c2Main"), "10");
  EXPECT_EQ(CrudiniGet(file, "Information", "destination"), "Japan");
  // The keys stand in the order they are written.
  std::string text = Dir.Read("tool.ini");
  const char* order[] = {"[ContWin color]", "Font=", "Back=", "[Graph color]", "c1Main=", "c1Over=",
                         "c1Peak=", "c1Start=", "c1End=", "c1ThreLine=", "c1AnaLine1=", "c1AnaLine2=",
                         "c1CenterLine=", "c2Main=", "c2Over=", "c2Start=", "c2End=", "c2ThreLine=",
                         "c2AnaLine=", "c2CenterLine=", "c2Point=", "c2AreaLine=", "[Graph setting]",
                         "ClipBoardImageType="};
  size_t at = 0;
  for (const char* key : order) {
    size_t found = text.find(std::string("\n") + key, at);
    ASSERT_NE(found, std::string::npos) << key << "\n" << text;
    at = found + 1;
  }
}

TEST_F(OptionBoxTest, SaveIntoANewFileWritesEveryKeyInTheWindowsOrder) {
  SettingsText.clear();
  OpenOptions();
  Click(O()->SpeedButton1);
  std::string text = Dir.Read("tool.ini");
  EXPECT_EQ(text.rfind("[ContWin color]\r\nBack=8388608\r\nFont=16777215\r\n\r\n[Graph color]\r\nc1Main=15780518\r\n", 0),
            0u)
      << text;
  EXPECT_NE(text.find("c2AreaLine=0\r\n\r\n[Graph setting]\r\nClipBoardImageType=0\r\n"), std::string::npos) << text;
}

TEST_F(OptionBoxTest, ReadOnlySettingsAreUsedAndASaveIntoThemIsReported) {
  SettingsText = "; kept\r\n" + SettingsText + FullColours + "[Graph setting]\r\nClipBoardImageType=1\r\n";
  Dir.Write("tool.ini", SettingsText);
  ::chmod(Dir.File("tool.ini").c_str(), 0444);
  SettingsText.clear();  // Start uses the file as it is
  FilePermissionsApply permissions;
  OpenOptions();
  EXPECT_TRUE(Modals->Texts.empty());
  EXPECT_EQ(O()->RadioGroup2->ItemIndex(), 1);
  EXPECT_EQ(O()->AbLED3->LED()->ColorOff(), 1);
  EXPECT_EQ(Dir.Read("tool.ini").rfind("; kept", 0), 0u);

  Click(O()->SpeedButton1);
  ASSERT_EQ(Modals->Texts.size(), 1u);
  EXPECT_NE(Modals->Texts[0].find(u"ｱﾌﾟﾘｹｰｼｮﾝｴﾗｰ"), String::npos);
  EXPECT_TRUE(O()->Visible());  // nothing was saved: the window stays
  EXPECT_EQ(Dir.Read("tool.ini").rfind("; kept", 0), 0u);
}
