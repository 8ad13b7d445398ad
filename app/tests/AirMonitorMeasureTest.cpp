// The air monitor's measurements against the software receiver: the frequency scan (lines on
// the wire, bars once per sweep, held levels, peaks), the time-domain sampling (one shot and
// repeat, silent points), the channel checks, and what stops a measurement.
#include <algorithm>
#include <numeric>

#include "AirMonitorFixture.h"

namespace {

std::vector<std::string> ScanLines(std::initializer_list<const char*> Channels) {
  std::vector<std::string> out;
  for (const char* ch : Channels) {
    out.push_back(std::string("CH ") + ch);
    out.push_back("RS");
  }
  return out;
}

}  // namespace

TEST_F(AirMonitorTest, ScanOfThreeChannelsRedrawsTheBarsOncePerSweepAndHoldsASilentSlot) {
  OpenAirMonitor();
  Sim->ChannelLevels = {{3, -95}, {4, -60}, {5, -120}};
  TypeInto(M()->ComboBox2, u"3");
  TypeInto(M()->ComboBox3, u"5");
  M()->Link.LastLevel = -77;  // heard before the scan: no slot may take it
  Click(M()->AbColBitBtn15);
  ASSERT_TRUE(M()->AbColBitBtn15->Checked());
  EXPECT_TRUE(M()->VrTimer2->Enabled());
  EXPECT_FALSE(M()->TabSheet4->Enabled());
  EXPECT_EQ(M()->Link.LastLevel, LevelFloor);
  // The steps are run by hand below: the real pace has its own test.
  M()->VrTimer2->SetEnabled(false);
  ASSERT_TRUE(UntilMemo2EndsWith(u"CH F3\r\nRS\r\n-95 dBm\r\n"));

  auto step = [&](const String& tail) {
    M()->VrTimer2Timer(M()->VrTimer2);
    return UntilMemo2EndsWith(tail);
  };
  ASSERT_TRUE(step(u"CH F4\r\nRS\r\n-60 dBm\r\n"));
  EXPECT_EQ(M()->Levels[3], -95);
  EXPECT_EQ(BarY(M()->Series1, 3), LevelFloor);  // not drawn before the sweep ends
  ASSERT_TRUE(step(u"CH F5\r\nRS\r\n-120 dBm\r\n"));
  // Channel 4 falls silent for the next sweep.
  Sim->SilentChannels = {4};
  ASSERT_TRUE(step(u"CH F3\r\nRS\r\n-95 dBm\r\n"));  // sweep done: bars drawn, back to 3
  EXPECT_EQ(BarY(M()->Series1, 3), -95);
  EXPECT_EQ(BarY(M()->Series1, 4), -60);
  EXPECT_EQ(BarY(M()->Series1, 5), -120);
  EXPECT_EQ(M()->Series1->ValueColor(3), M()->Colors.c1Over);  // at or above -100
  EXPECT_EQ(M()->Series1->ValueColor(5), M()->Colors.c1Main);
  EXPECT_EQ(M()->Link.LastLevel, -95);

  size_t sent = Sim->Lines().size() + 2;
  M()->VrTimer2Timer(M()->VrTimer2);  // channel 3 stored; 4 asked, and silent
  UntilAnswered(sent);
  ASSERT_TRUE(UntilMemo2EndsWith(u"CH F4\r\nRS\r\n"));
  Sim->SilentChannels.clear();
  ASSERT_TRUE(step(u"CH F5\r\nRS\r\n-120 dBm\r\n"));
  ASSERT_TRUE(step(u"CH F3\r\nRS\r\n-95 dBm\r\n"));
  EXPECT_EQ(BarY(M()->Series1, 4), -95) << "a silent slot keeps the level held before";
  EXPECT_EQ(M()->Peaks[4], -60) << "peaks only rise";
  EXPECT_EQ(BarY(M()->Series3, 4), LevelFloor) << "peaks are drawn only while shown";

  std::vector<std::string> want = ScanLines({"F3", "F4", "F5", "F3", "F4", "F5", "F3"});
  EXPECT_EQ(Sim->Lines(), want);
}

TEST_F(AirMonitorTest, ScanOfOneChannelAsksItEveryStepAndRedrawsItsBarEveryStep) {
  OpenAirMonitor();
  Sim->ChannelLevels = {{10, -70}};
  TypeInto(M()->ComboBox2, u"10");
  TypeInto(M()->ComboBox3, u"10");
  Click(M()->AbColBitBtn15);
  M()->VrTimer2->SetEnabled(false);
  ASSERT_TRUE(UntilMemo2EndsWith(u"CH FA\r\nRS\r\n-70 dBm\r\n"));
  for (int level : {-85, -60}) {
    Sim->ChannelLevels = {{10, level}};
    M()->Memo2->Clear();
    M()->VrTimer2Timer(M()->VrTimer2);
    EXPECT_EQ(M()->ScanChannel, 10);
    ASSERT_TRUE(UntilMemo2EndsWith(u"CH FA\r\nRS\r\n" + IntToStr(level) + u" dBm\r\n"));
  }
  EXPECT_EQ(BarY(M()->Series1, 10), -85);  // each step ends a sweep
  M()->VrTimer2Timer(M()->VrTimer2);
  EXPECT_EQ(BarY(M()->Series1, 10), -60);
  ASSERT_TRUE(Until([&] { return Sim->Lines().size() >= 8; }));
  EXPECT_EQ(Sim->Lines(), ScanLines({"FA", "FA", "FA", "FA"}));
}

TEST_F(AirMonitorTest, ScanKeepsThePaceOfItsTimerAndEachLevelLandsOnItsChannel) {
  OpenAirMonitor();
  Sim->ChannelLevels = {{1, -50}, {2, -75}, {3, -110}};
  TypeInto(M()->ComboBox2, u"1");
  TypeInto(M()->ComboBox3, u"3");
  Click(M()->AbColBitBtn15);
  // Three sweeps at 150 ms a channel.
  ASSERT_TRUE(Until([&] { return Sim->Lines().size() >= 20; }));
  Click(M()->AbColBitBtn15);
  ASSERT_FALSE(M()->VrTimer2->Enabled());
  EXPECT_EQ(M()->Levels[1], -50);
  EXPECT_EQ(M()->Levels[2], -75);
  EXPECT_EQ(M()->Levels[3], -110);
  EXPECT_EQ(BarY(M()->Series1, 2), -75);
  std::vector<std::string> lines = Sim->Lines();
  std::vector<int64_t> times = Sim->LineTimesNs();
  std::vector<double> gaps;
  for (size_t i = 2; i < lines.size(); i += 2) {
    ASSERT_EQ(lines[i].rfind("CH F", 0), 0u) << i;
    gaps.push_back((times[i] - times[i - 2]) / 1e6);
  }
  double mean = std::accumulate(gaps.begin(), gaps.end(), 0.0) / gaps.size();
  EXPECT_NEAR(mean, 150, 25);
  for (double g : gaps) EXPECT_GT(g, 75);
}

TEST_F(AirMonitorTest, BadChannelBoxesAreRefusedAndStartNothing) {
  OpenAirMonitor();
  const String startText = u"ｽﾀｰﾄﾁｬﾝﾈﾙはｴﾝﾄﾞﾁｬﾝﾈﾙよりも小さい番号を入れて下さい｡";
  const String endText = u"ｴﾝﾄﾞﾁｬﾝﾈﾙはｽﾀｰﾄﾁｬﾝﾈﾙよりも大きい番号を入れて下さい｡";
  const String timeText = u"測定ﾁｬﾝﾈﾙは1から10までの番号を入れて下さい｡";
  const String appError = u"     ｱﾌﾟﾘｹｰｼｮﾝｴﾗｰが発生しました。ﾘｽﾀｰﾄﾎﾞﾀﾝを押してください。";
  struct Case {
    const char* What;
    const char16_t *Start, *End;
    String Message;
  };
  const Case cases[] = {
      {"wrong order", u"6", u"3", startText},  {"start below the model", u"0", u"5", startText},
      {"end above the model", u"3", u"11", endText}, {"end past 8 bits", u"1", u"300", endText},
      {"not a number", u"x", u"5", appError},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    M()->ComboBox2->SetText(c.Start);
    M()->ComboBox3->SetText(c.End);
    Modals->Texts.clear();
    Click(M()->AbColBitBtn15);
    EXPECT_EQ(Modals->Texts, std::vector<String>{c.Message});
    EXPECT_FALSE(M()->AbColBitBtn15->Checked());
    EXPECT_FALSE(M()->VrTimer2->Enabled());
    EXPECT_TRUE(M()->TabSheet4->Enabled());
  }
  ProcessPendingEvents();
  EXPECT_EQ(M()->Link.CommandCount, 0);
  EXPECT_TRUE(Sim->Lines().empty());

  // Typed into the boxes, the same checks run at once and stop a running scan.
  M()->ComboBox2->SetText(u"1");
  M()->ComboBox3->SetText(u"3");
  Click(M()->AbColBitBtn15);
  ASSERT_TRUE(M()->AbColBitBtn15->Checked());
  Modals->Texts.clear();
  TypeInto(M()->ComboBox2, u"6");
  EXPECT_FALSE(M()->AbColBitBtn15->Checked());
  TypeInto(M()->ComboBox3, u"12");
  // "6", then "1" and "12" (text that names an item may be reported twice by the box).
  std::vector<String> shown = Modals->Texts;
  shown.erase(std::unique(shown.begin(), shown.end()), shown.end());
  EXPECT_EQ(shown, (std::vector<String>{startText, endText}));
  EXPECT_EQ(M()->ComboBox3->Text(), u"12");  // the box keeps what was entered

  // The time graph's channel box has a message of its own.
  ToTimePage();
  Modals->Texts.clear();
  M()->ComboBox4->SetText(u"11");
  Click(M()->AbColBitBtn1);
  EXPECT_EQ(Modals->Texts, std::vector<String>{timeText});
  EXPECT_FALSE(M()->AbColBitBtn1->Checked());
  EXPECT_FALSE(M()->VrTimer3->Enabled());
  Modals->Texts.clear();
  TypeInto(M()->ComboBox4, u"0");
  EXPECT_EQ(Modals->Texts, std::vector<String>{timeText});
}

TEST_F(AirMonitorTest, OneShotSamplingOfTenPointsStopsAfterTheTenthAndRepeatStartsOver) {
  OpenAirMonitor();
  ToTimePage();
  ASSERT_EQ(M()->AbNumSpin3->ValueAsInt(), 30) << "the model choice sets 30 points";
  EXPECT_EQ(M()->Chart2->BottomAxis()->Minimum(), 1);
  EXPECT_EQ(M()->Chart2->BottomAxis()->Maximum(), 30);
  M()->AbNumSpin3->SetValue(10);
  EXPECT_EQ(M()->Chart2->BottomAxis()->Maximum(), 10);
  Sim->ChannelLevels = {{3, -88}};
  TypeInto(M()->ComboBox4, u"3");
  for (int mode : {1, 0}) {
    SCOPED_TRACE(mode ? "one shot" : "repeat");
    M()->RadioGroup4->SetItemIndex(mode);
    Sim->ClearLines();
    M()->Memo2->Clear();
    Click(M()->AbColBitBtn1);
    ASSERT_TRUE(M()->AbColBitBtn1->Checked());
    EXPECT_EQ(M()->VrTimer3->Interval(), 200u);
    M()->VrTimer3->SetEnabled(false);
    ASSERT_TRUE(UntilMemo2EndsWith(u"CH F3\r\nRS\r\n-88 dBm\r\n"));
    for (int p = 1; p <= 10; ++p) {
      // Point 4 gets no answer within its interval.
      Sim->SilentChannels = p == 4 ? std::set<int>{3} : std::set<int>{};
      M()->VrTimer3Timer(M()->VrTimer3);
      EXPECT_EQ(M()->StatusBar1->Panels()->Items(4)->Text(), u"Point : " + IntToStr(p));
      UntilAnswered(static_cast<size_t>(p) + 2);  // the start's two lines, then one a point
    }
    Sim->SilentChannels.clear();
    for (int p = 1; p <= 10; ++p) {
      int want = p == 5 ? LevelFloor : -88;  // the silent answer shows at the next point
      EXPECT_EQ(M()->Samples[static_cast<size_t>(p)], want) << p;
      EXPECT_EQ(M()->AreaSeries1->YValue(p), want) << p;
    }
    EXPECT_EQ(M()->SamplePoint, 1);
    EXPECT_EQ(M()->AbColBitBtn1->Checked(), mode == 0);
    if (mode == 0) Click(M()->AbColBitBtn1);
  }
}

TEST_F(AirMonitorTest, MalformedAndOutOfRangeLevelRepliesAreDroppedByTheRecovery) {
  OpenAirMonitor();
  for (const char* reply : {"*G1\r\n", "*8D\r\n", "*FF\r\n", "*5\r\n"}) {
    SCOPED_TRACE(reply);
    M()->Link.LastLevel = -99;
    M()->Memo2->Clear();
    Sim->Send(reply);
    WaitUntil([] { return false; }, 80);
    ASSERT_TRUE(Until([&] { return M()->Link.RxCount == 0; }));
    EXPECT_EQ(M()->Link.LastLevel, -99);
    EXPECT_EQ(M()->Memo2->Text(), u"");
    EXPECT_EQ(M()->Link.ParserState, 0);
  }
  // The lowest level the axis shows still counts.
  Sim->Send("*8C\r\n");
  ASSERT_TRUE(UntilMemo2EndsWith(u"-140 dBm\r\n"));
  EXPECT_EQ(M()->Link.LastLevel, -140);
}

TEST_F(AirMonitorTest, PagesClicksAndModelChoiceStopMeasurementsButTheControlPageDoesNot) {
  OpenAirMonitor();
  TypeInto(M()->ComboBox2, u"1");
  TypeInto(M()->ComboBox3, u"3");
  Click(M()->AbColBitBtn15);
  ASSERT_TRUE(M()->VrTimer2->Enabled());
  M()->VrTimer2->SetEnabled(false);
  ASSERT_TRUE(UntilMemo2EndsWith(u"-90 dBm\r\n"));

  // On the control page the scan runs on but its step does nothing.
  SimulateKeyStroke(M()->PageControl1, VK_LEFT);
  ProcessPendingEvents();
  ASSERT_EQ(M()->Link.MonitorState, msControlPage);
  EXPECT_TRUE(M()->AbColBitBtn15->Checked());
  int32_t channel = M()->ScanChannel;
  M()->VrTimer2Timer(M()->VrTimer2);
  EXPECT_EQ(M()->ScanChannel, channel);
  EXPECT_EQ(M()->Link.CommandCount, 0);
  SimulateKeyStroke(M()->PageControl1, VK_RIGHT);
  ProcessPendingEvents();

  // A page change stops it.
  ToTimePage();
  EXPECT_FALSE(M()->AbColBitBtn15->Checked());
  EXPECT_TRUE(M()->TabSheet4->Enabled());

  // Sampling off the time page still asks and counts, without drawing.
  Click(M()->AbColBitBtn1);
  M()->VrTimer3->SetEnabled(false);
  ASSERT_TRUE(UntilMemo2EndsWith(u"-90 dBm\r\n"));
  SimulateKeyStroke(M()->PageControl1, VK_LEFT);
  ProcessPendingEvents();
  EXPECT_TRUE(M()->AbColBitBtn1->Checked());
  M()->VrTimer3Timer(M()->VrTimer3);
  EXPECT_EQ(M()->SamplePoint, 2);
  EXPECT_EQ(M()->Samples[1], LevelFloor);
  EXPECT_EQ(M()->Link.CommandSlots[1], u"RS");
  EXPECT_EQ(M()->Link.CommandCount, 1);
  SimulateKeyStroke(M()->PageControl1, VK_RIGHT);
  ProcessPendingEvents();
  ASSERT_EQ(M()->Link.MonitorState, msTimeDomain);

  // A click on a point stops the sampling and shows the point.
  M()->Samples[5] = -95;
  M()->AreaSeries1->SetYValue(5, -95);
  RenderControl(M()->Chart2);  // laid out as shown
  TChart* c2 = M()->Chart2;
  SimulateClick(c2, M()->AreaSeries1->CalcXPos(5), M()->AreaSeries1->CalcYPos(5) + 5);
  ProcessPendingEvents();
  EXPECT_FALSE(M()->AbColBitBtn1->Checked());
  EXPECT_EQ(M()->AnalysisPoint, 5);
  EXPECT_EQ(c2->Hint(), u"-95");
  EXPECT_EQ(c2->Title()->Text()->Strings(2), u"Channel: 1ch  /  Freq.: 426.0250MHz  /  Level: -95dBm");

  // A click on a bar stops the scan and shows the bar's channel, frequency and level.
  ToFrequencyPage();
  Click(M()->AbColBitBtn15);
  ASSERT_TRUE(M()->AbColBitBtn15->Checked());
  M()->VrTimer2->SetEnabled(false);
  M()->Levels[3] = -95;
  M()->Series1->SetYValue(3, -95);
  TChart* c1 = M()->Chart1;
  RenderControl(c1);
  SimulateClick(c1, M()->Series1->CalcXPos(3), M()->Series1->CalcYPos(3) + 10);
  ProcessPendingEvents();
  EXPECT_FALSE(M()->AbColBitBtn15->Checked());
  EXPECT_EQ(M()->AnalysisSeries, 1);
  EXPECT_EQ(M()->AnalysisIndex, 3);
  EXPECT_EQ(c1->Hint(), u"3ch  426.0500MHz  -95dBm");
  EXPECT_EQ(c1->Title()->Text()->Strings(2), u"Channel: 3ch  / Freq.: 426.0500MHz   /   Level: -95dBm");

  // Choosing a model stops both and sets 30 points again.
  Click(M()->AbColBitBtn15);
  ASSERT_TRUE(M()->AbColBitBtn15->Checked());
  M()->AbNumSpin3->SetValue(100);
  M()->ComboBox5Change(M()->ComboBox5);  // the model list is locked while the port is open
  EXPECT_FALSE(M()->AbColBitBtn15->Checked());
  EXPECT_EQ(M()->AbNumSpin3->ValueAsInt(), 30);
  EXPECT_EQ(M()->Chart2->BottomAxis()->Maximum(), 30);
}
