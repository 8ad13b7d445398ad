// Graph data files saved and loaded through the air monitor's menu and the file dialogs:
// the exact text written, read back by an independent INI reader, and every unusable file
// refused whole with one message.
#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <string>
#include <vector>

#include "MainWindowFixture.h"
#include "testing/MetafileTestSupport.h"

namespace {

const std::string CRLF = "\r\n";

std::string Repeat(const std::string& S, int Count) {
  std::string r;
  for (int i = 0; i < Count; ++i) r += S;
  return r;
}

// Writes beyond Bytes bytes fail in this process, as on a full disk.
class DiskFull {
public:
  explicit DiskFull(rlim_t Bytes) {
    ::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &old_);
    rlimit l = old_;
    l.rlim_cur = Bytes;
    ::setrlimit(RLIMIT_FSIZE, &l);
  }
  ~DiskFull() { ::setrlimit(RLIMIT_FSIZE, &old_); }

private:
  rlimit old_{};
};

// What a load may change: the page, the model row, the ranges, the fields and the levels.
struct Shown {
  TTabSheet* Page;
  uint8_t State;
  int Row;
  int32_t MinCh, MaxCh, TimeMin, TimeMax, ScanStart, ScanEnd;
  String Edit3, Edit4, Edit5, Start, End, Channel, LastFolder;
  std::array<int32_t, ChannelSlots> Levels, Peaks;
  std::array<int32_t, SampleSlots> Samples;
  bool operator==(const Shown&) const = default;
};

class GraphFiles : public MainWindowTest {
protected:
  // Connected, on the air monitor's frequency page (or time page), with fixed field texts.
  void ToAirMonitor(bool TimePage = false) {
    StartConnected();
    M()->Show();
    ProcessPendingEvents();
    M()->PageControl1->SelectNextPage(true);
    ProcessPendingEvents();
    if (TimePage) {
      M()->PageControl2->SelectNextPage(true);
      ProcessPendingEvents();
    }
    ASSERT_EQ(M()->Link.MonitorState, TimePage ? msTimeDomain : msFrequencyDomain);
    M()->Edit3->SetText(u"memo");
    M()->Edit4->SetText(u"2024/01/02 03:04:05");
    M()->Edit5->SetText(u"graph1");
  }
  // The context menu's shortcut, typed on the air monitor page.
  void Menu(Word Key) {
    SimulateKeyStroke(M()->Memo2, Key, {ssCtrl});
    ProcessPendingEvents();
  }
  // The next file dialog is answered with Name; View gets what it showed.
  void AnswerWith(const String& Name, TFileDialogView* View = nullptr) {
    OnNextModal([Name, View](const String&) {
      if (View) *View = ActiveFileDialog();
      AnswerFileDialog(Name);
    });
  }
  Shown Now() const {
    TMainForm* m = M();
    return {m->PageControl2->ActivePage(), m->Link.MonitorState, m->ComboBox5->ItemIndex(), CurrentModel.MinCh,
            CurrentModel.MaxCh, m->TimeMin, m->TimeMax, m->ScanStart, m->ScanEnd, m->Edit3->Text(), m->Edit4->Text(),
            m->Edit5->Text(), m->ComboBox2->Text(), m->ComboBox3->Text(), m->ComboBox4->Text(), m->LastFolder,
            m->Levels, m->Peaks, m->Samples};
  }
  std::string Crudini(const std::string& File, const std::string& Section, const std::string& Key) {
    int status = 0;
    std::string out = mftest::Run("crudini --get '" + File + "' '" + Section + "' '" + Key + "'", &status);
    EXPECT_EQ(status, 0) << Section << " " << Key;
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
  }
};

// A frequency-domain file of model row 0 (channels 1 to 10) with the given level texts.
std::string FreqFile(const std::string& Value, const std::string& Peak = Repeat("8C", 10),
                     const std::string& Status = "Mode=FreqMode\r\nMinCh=1\r\nMaxCh=10\r\nStartCh=3\r\nEndCh=5\r\n",
                     const std::string& Number = "0") {
  return "[Model Name]\r\nName=Main\r\nNumber=" + Number + "\r\n\r\n[User Text]\r\nText1=loaded memo\r\nText2=loaded date\r\n\r\n" +
         "[Status]\r\n" + Status + "\r\n[RSSI Level]\r\nValue=" + Value + "\r\nPeakValue=" + Peak + "\r\n\r\n";
}

std::string TimeFile(const std::string& Status, const std::string& Value) {
  return "[Model Name]\r\nName=Main\r\nNumber=0\r\n\r\n[User Text]\r\nText1=t1\r\nText2=t2\r\n\r\n[Status]\r\n" + Status +
         "\r\n[RSSI Level]\r\nValue=" + Value + "\r\n\r\n";
}

}  // namespace

TEST_F(GraphFiles, FrequencyGraphIsWrittenAsTheTableSaysAndReadsBackElsewhere) {
  ToAirMonitor();
  M()->Levels[1] = -95;
  M()->Peaks[10] = -60;
  TFileDialogView view;
  std::string file = Dir.File("graph1.AMF");
  AnswerWith(Dir.FileS("graph1.AMF"), &view);
  Menu('S');

  EXPECT_EQ(view.Filter, u"AirMonitor files (*.AMF)");
  EXPECT_EQ(view.FileName, u"graph1.AMF");
  EXPECT_EQ(IncludeTrailingPathDelimiter(view.Folder), ExtractFilePath(ExeName()));
  const std::string expected = "[Model Name]\r\nName=Main\r\nNumber=0\r\n\r\n"
                               "[User Text]\r\nText1=memo\r\nText2=2024/01/02 03:04:05\r\n\r\n"
                               "[Status]\r\nMode=FreqMode\r\nMinCh=1\r\nMaxCh=10\r\nStartCh=1\r\nEndCh=10\r\n\r\n"
                               "[RSSI Level]\r\nValue=5F8C8C8C8C8C8C8C8C8C\r\nPeakValue=8C8C8C8C8C8C8C8C8C3C\r\n\r\n";
  EXPECT_EQ(Dir.Read("graph1.AMF"), expected);
  EXPECT_EQ(Crudini(file, "RSSI Level", "Value"), "5F8C8C8C8C8C8C8C8C8C");
  EXPECT_EQ(Crudini(file, "Model Name", "Number"), "0");
  EXPECT_EQ(Crudini(file, "User Text", "Text2"), "2024/01/02 03:04:05");
  EXPECT_EQ(M()->LastFolder, ExtractFilePath(Dir.FileS("graph1.AMF")));

  // The next dialog starts in that folder.
  AnswerWith(Dir.FileS("graph2.AMF"), &view);
  Menu('S');
  EXPECT_EQ(IncludeTrailingPathDelimiter(view.Folder), ExtractFilePath(Dir.FileS("x")));
}

TEST_F(GraphFiles, LevelsOutsideTwoDigitsAreClampedSoLaterValuesKeepTheirPlaces) {
  ToAirMonitor();
  M()->Levels[1] = -300;  // a stale reply value far below the floor
  M()->Levels[2] = 5;     // above 0 dBm
  M()->Levels[3] = -255;
  AnswerWith(Dir.FileS("c.AMF"));
  Menu('S');
  EXPECT_EQ(Crudini(Dir.File("c.AMF"), "RSSI Level", "Value"), "FF00FF" + Repeat("8C", 7));
}

TEST_F(GraphFiles, TimeGraphOf30PointsWrites31Values) {
  ToAirMonitor(true);
  ASSERT_EQ(M()->AbNumSpin3->ValueAsInt(), 30);
  M()->Samples[0] = -100;
  M()->Samples[30] = -41;
  TFileDialogView view;
  AnswerWith(Dir.FileS("t.AMT"), &view);
  Menu('S');
  EXPECT_EQ(view.Filter, u"AirMonitor files (*.AMT)");
  EXPECT_EQ(view.FileName, u"graph1.AMT");
  std::string file = Dir.File("t.AMT");
  EXPECT_EQ(Crudini(file, "Status", "Mode"), "TimeMode");
  EXPECT_EQ(Crudini(file, "Status", "MinTm"), "0");
  EXPECT_EQ(Crudini(file, "Status", "MaxTm"), "30");
  EXPECT_EQ(Crudini(file, "Status", "Channel"), "1");
  EXPECT_EQ(Crudini(file, "RSSI Level", "Value"), "64" + Repeat("8C", 29) + "29");
  EXPECT_NE(Dir.Read("t.AMT").find("[Status]\r\nMode=TimeMode\r\nMinTm=0\r\nMaxTm=30\r\nChannel=1\r\n\r\n[RSSI Level]"),
            std::string::npos);
}

TEST_F(GraphFiles, SavingOverAFileKeepsItsOtherSectionsAndKeys) {
  ToAirMonitor();
  Dir.Write("old.AMF", "[Notes]\r\nWho=me\r\n[Status]\r\nExtra=1\r\nMode=TimeMode\r\n");
  OnNextModal([&](const String&) {
    OnNextModal([](const String&) { PressModalButton(u"Yes"); });  // the overwrite question
    AnswerFileDialog(Dir.FileS("old.AMF"));
  });
  Menu('S');
  std::string file = Dir.File("old.AMF");
  EXPECT_EQ(Crudini(file, "Notes", "Who"), "me");
  EXPECT_EQ(Crudini(file, "Status", "Extra"), "1");
  EXPECT_EQ(Crudini(file, "Status", "Mode"), "FreqMode");
  EXPECT_EQ(Crudini(file, "RSSI Level", "PeakValue"), Repeat("8C", 10));
}

TEST_F(GraphFiles, AFailedSaveIsReportedAndLeavesTheOldFileWhole) {
  ToAirMonitor();
  const std::string old = FreqFile(Repeat("64", 10)) + "[Pad]\r\nText=" + std::string(4000, 'x') + "\r\n";
  Dir.Write("full.AMF", old);
  String lastFolder = M()->LastFolder;
  OnNextModal([&](const String&) {
    OnNextModal([](const String&) { PressModalButton(u"Yes"); });
    AnswerFileDialog(Dir.FileS("full.AMF"));
  });
  {
    DiskFull full(1024);
    Menu('S');
  }
  ASSERT_FALSE(Modals->Texts.empty());
  EXPECT_NE(Modals->Texts.back().find(u"ｱﾌﾟﾘｹｰｼｮﾝｴﾗｰ"), String::npos);
  EXPECT_EQ(Dir.Read("full.AMF"), old);
  EXPECT_EQ(M()->LastFolder, lastFolder);
  // Nothing is left beside it.
  std::vector<std::string> files;
  for (auto& e : std::filesystem::directory_iterator(Dir.Path())) files.push_back(e.path().filename().string());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"full.AMF", "tool.ini"}));
}

TEST_F(GraphFiles, AFrequencyFileLoadedOnTheTimePageShowsTheFrequencyGraph) {
  ToAirMonitor(true);
  M()->Levels[7] = -50;  // levels outside the file's range keep their values
  Dir.Write("f.AMF", "; a comment\r\n" + FreqFile("5F" + Repeat("8C", 9), Repeat("8C", 9) + "3C"));
  AnswerWith(Dir.FileS("f.AMF"));
  Menu('L');

  EXPECT_EQ(M()->PageControl2->ActivePage(), M()->TabSheet5);
  EXPECT_EQ(M()->Link.MonitorState, msFrequencyDomain);
  EXPECT_FALSE(M()->AbColBitBtn15->Checked());
  EXPECT_EQ(M()->Levels[1], -95);
  EXPECT_EQ(M()->Series1->YValue(1), -95);
  EXPECT_EQ(M()->Peaks[10], -60);
  EXPECT_EQ(M()->Series3->YValue(10), -60);
  EXPECT_EQ(M()->Levels[2], -140);
  EXPECT_EQ(M()->Edit5->Text(), u"f");
  EXPECT_EQ(M()->Edit3->Text(), u"loaded memo");
  EXPECT_EQ(M()->Edit4->Text(), u"loaded date");
  EXPECT_EQ(M()->ComboBox2->Text(), u"3");
  EXPECT_EQ(M()->ComboBox3->Text(), u"5");
  EXPECT_EQ(M()->ScanStart, 3);
  EXPECT_EQ(M()->ScanEnd, 5);
  TStrings* title = M()->Chart1->Title()->Text();
  ASSERT_EQ(title->Count(), 3);
  EXPECT_EQ(title->Get(0), u"< Air monitor >   Model name: RCV910X    426MHz    Filename: f    Date: loaded date");
  EXPECT_EQ(title->Get(1), u"User Memo: loaded memo");
  EXPECT_EQ(M()->LastFolder, ExtractFilePath(Dir.FileS("f.AMF")));
  // Written back normalised: the comment is gone.
  EXPECT_EQ(Dir.Read("f.AMF"), FreqFile("5F" + Repeat("8C", 9), Repeat("8C", 9) + "3C"));

  // The memo button writes "File name:".
  Click(M()->SpeedButton6);
  EXPECT_EQ(title->Get(0), u"< Air monitor >   Model name: RCV910X    426MHz    File name: f    Date: loaded date");
}

TEST_F(GraphFiles, ATimeFileSetsThePointsTheChannelAndTheSamples) {
  ToAirMonitor();
  Dir.Write("t.AMT", TimeFile("Mode=TimeMode\r\nMinTm=0\r\nMaxTm=20\r\nChannel=6\r\n", "64" + Repeat("8C", 19) + "29"));
  AnswerWith(Dir.FileS("t.AMT"));
  Menu('L');
  EXPECT_EQ(M()->PageControl2->ActivePage(), M()->TabSheet6);
  EXPECT_EQ(M()->Link.MonitorState, msTimeDomain);
  EXPECT_EQ(M()->TimeMax, 20);
  EXPECT_EQ(M()->AbNumSpin3->ValueAsInt(), 20);
  EXPECT_EQ(M()->ComboBox4->Text(), u"6");
  EXPECT_EQ(M()->Samples[0], -100);
  EXPECT_EQ(M()->Samples[20], -41);
  EXPECT_EQ(M()->AreaSeries1->YValue(20), -41);
  EXPECT_EQ(M()->Chart2->Title()->Text()->Get(2), u"Channel: 6ch  /  Freq.: 426.0875MHz  /  Level:  dBm");
}

TEST_F(GraphFiles, AFileWithoutModeChangesTheFieldsAndTheRowButNoPageOrRange) {
  ToAirMonitor();
  Shown before = Now();
  Dir.Write("n.AMF", FreqFile("5F" + Repeat("8C", 9), Repeat("8C", 10), "", "1"));
  AnswerWith(Dir.FileS("n.AMF"));
  Menu('L');
  Shown after = Now();
  EXPECT_EQ(after.Page, before.Page);
  EXPECT_EQ(after.MinCh, before.MinCh);
  EXPECT_EQ(after.MaxCh, before.MaxCh);
  EXPECT_EQ(after.Start, before.Start);
  EXPECT_EQ(after.Row, 1);
  EXPECT_EQ(after.Edit3, u"loaded memo");
  EXPECT_EQ(after.Levels[1], -95);  // read for the page in front, over its range
}

TEST_F(GraphFiles, AnUnusableFileGivesOneMessageNamingItAndChangesNothing) {
  ToAirMonitor();
  M()->Levels[4] = -77;
  const std::string value10 = Repeat("8C", 10);
  const std::string good = FreqFile(value10);
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary += static_cast<char>(i * 37 % 256);
  std::string huge = FreqFile(value10) + "[Pad]\r\nText=" + std::string(5 * 1024 * 1024, 'a') + "\r\n";
  struct Case {
    const char* Name;
    std::string Bytes;
  } cases[] = {
      {"short value", FreqFile("5F8C")},
      {"missing value", "[Status]\r\nMode=FreqMode\r\nMinCh=1\r\nMaxCh=10\r\nStartCh=1\r\nEndCh=10\r\n"},
      {"no hex digits", FreqFile("ZZ" + Repeat("8C", 9))},
      {"short peaks", FreqFile(value10, "8C")},
      {"min above max", FreqFile(value10, value10, "Mode=FreqMode\r\nMinCh=5\r\nMaxCh=4\r\nStartCh=5\r\nEndCh=5\r\n")},
      {"max channel 128", FreqFile(value10, value10, "Mode=FreqMode\r\nMinCh=1\r\nMaxCh=128\r\nStartCh=1\r\nEndCh=2\r\n")},
      {"start outside", FreqFile(value10, value10, "Mode=FreqMode\r\nMinCh=1\r\nMaxCh=10\r\nStartCh=0\r\nEndCh=5\r\n")},
      {"end not a number", FreqFile(value10, value10, "Mode=FreqMode\r\nMinCh=1\r\nMaxCh=10\r\nStartCh=1\r\nEndCh=x\r\n")},
      {"overflowing number",
       FreqFile(value10, value10, "Mode=FreqMode\r\nMinCh=1\r\nMaxCh=99999999999999999999\r\nStartCh=1\r\nEndCh=2\r\n")},
      {"number past the list", FreqFile(value10, value10, "Mode=FreqMode\r\nMinCh=1\r\nMaxCh=10\r\nStartCh=1\r\nEndCh=2\r\n", "2")},
      {"number -2", FreqFile(value10, value10, "Mode=FreqMode\r\nMinCh=1\r\nMaxCh=10\r\nStartCh=1\r\nEndCh=2\r\n", "-2")},
      {"number not a number", FreqFile(value10, value10, "Mode=FreqMode\r\nMinCh=1\r\nMaxCh=10\r\nStartCh=1\r\nEndCh=2\r\n", "one")},
      {"time max 5001", TimeFile("Mode=TimeMode\r\nMinTm=0\r\nMaxTm=5001\r\nChannel=1\r\n", Repeat("8C", 5002))},
      {"time min above max", TimeFile("Mode=TimeMode\r\nMinTm=20\r\nMaxTm=10\r\nChannel=1\r\n", Repeat("8C", 30))},
      {"time channel outside the model", TimeFile("Mode=TimeMode\r\nMinTm=0\r\nMaxTm=10\r\nChannel=11\r\n", Repeat("8C", 11))},
      {"short time value", TimeFile("Mode=TimeMode\r\nMinTm=0\r\nMaxTm=10\r\nChannel=1\r\n", Repeat("8C", 10))},
      {"truncated", good.substr(0, good.find("Value=") + 12)},
      {"not ini", "just some words\r\nand more\r\n"},
      {"binary", binary},
      {"nul bytes", std::string("[Status]\r\nMode=FreqMode\0\0\0\0\r\n", 30)},
      {"5 MB", huge},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Dir.Write("bad.AMF", c.Bytes);
    Shown before = Now();
    size_t texts = Modals->Texts.size();
    AnswerWith(Dir.FileS("bad.AMF"));
    Menu('L');
    // The file dialog, then one message naming the file.
    ASSERT_EQ(Modals->Texts.size(), texts + 2);
    EXPECT_NE(Modals->Texts.back().find(Dir.FileS("bad.AMF")), String::npos) << StringToUTF8(Modals->Texts.back());
    EXPECT_TRUE(Now() == before);
    EXPECT_EQ(Dir.Read("bad.AMF"), c.Bytes);  // not written back
  }
}

TEST_F(GraphFiles, AGoodFileThatCannotBeWrittenBackIsStillLoaded) {
  ToAirMonitor();
  // With a comment the normalised text differs, so the write-back really writes.
  const std::string text = "; note\r\n" + FreqFile("5F" + Repeat("8C", 9));
  Dir.Write("ro.AMF", text);
  size_t texts = Modals->Texts.size();
  AnswerWith(Dir.FileS("ro.AMF"));
  {
    DiskFull full(64);
    Menu('L');
  }
  EXPECT_EQ(Modals->Texts.size(), texts + 1);  // only the file dialog
  EXPECT_EQ(M()->Levels[1], -95);
  EXPECT_EQ(Dir.Read("ro.AMF"), text);
}

TEST_F(GraphFiles, AFileOfNoModelKeepsTheRangesItNamesAndShowsNoFrequency) {
  ToAirMonitor();
  Dir.Write("none.AMF", FreqFile(Repeat("8C", 5), Repeat("8C", 5),
                                 "Mode=FreqMode\r\nMinCh=20\r\nMaxCh=24\r\nStartCh=21\r\nEndCh=23\r\n", "-1"));
  AnswerWith(Dir.FileS("none.AMF"));
  Menu('L');
  EXPECT_EQ(M()->ComboBox5->ItemIndex(), -1);
  EXPECT_EQ(CurrentModel.MinCh, 20);
  EXPECT_EQ(CurrentModel.MaxCh, 24);
  EXPECT_EQ(M()->ScanStart, 21);
  String freq = u"x";
  M()->ChannelFrequencyText(3, freq);
  EXPECT_EQ(freq, u"");
}
