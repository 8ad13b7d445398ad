// The air monitor's graphs as the operator sees them: bar colours either side of the threshold
// and its line, the centre line or its arrow heads, analysis lines at a clicked bar, peaks behind
// levels, the time graph's marker, and the level axis through zoom and view changes.
#include "AirMonitorFixture.h"

namespace {

// Colours no two parts share, so that a pixel tells which part drew it.
constexpr TColor cMain = 0x00A000, cOver = 0x0000A0, cPeak = 0x707070, cThre = 0xA000A0, cCentre = 0x00A0A0,
                 cAna1 = 0xA0A000, cAna2 = 0x205080, cBack = 0xFFFFFF;

bool AnyPixel(TBitmap& B, int X0, int Y0, int X1, int Y1, TColor Want) {
  for (int y = Y0; y <= Y1; ++y)
    for (int x = X0; x <= X1; ++x)
      if (PixelColor(B, x, y) == Want) return true;
  return false;
}

}  // namespace

class AirMonitorGraphsTest : public AirMonitorTest {
protected:
  void SetUp() override {
    AirMonitorTest::SetUp();
    OpenAirMonitor();
    TColorSettings& c = M()->Colors;
    c.c1Main = c.c2Main = cMain;
    c.c1Over = c.c2Over = cOver;
    c.c1Peak = cPeak;
    c.c1Start = c.c1End = c.c2Start = c.c2End = cBack;
    c.c1ThreLine = c.c2ThreLine = cThre;
    c.c1CenterLine = c.c2CenterLine = cCentre;
    c.c1AnaLine1 = c.c2AnaLine = cAna1;
    c.c1AnaLine2 = cAna2;
    c.c2Point = cPeak;
    M()->setColor();
  }
  // A bar's level, as a finished sweep leaves it.
  void SetLevel(int Channel, int32_t Level) {
    M()->Levels[static_cast<size_t>(Channel)] = Level;
    M()->Series1->SetYValue(Channel, Level);
  }
  TChart* C1() { return M()->Chart1; }
  int Y(TChart* C, double Level) { return C->CalcYPosValue(Level); }
};

TEST_F(AirMonitorGraphsTest, ThresholdSplitsTheBarColoursAndItsLineSitsAtTheRoundedValue) {
  SetLevel(3, -100);
  SetLevel(4, -101);
  M()->AbVSlider1->SetValue(-100.4f);  // recolours the bars
  auto bmp = RenderControl(C1());
  TRect r = C1()->ChartRect();
  EXPECT_EQ(PixelColor(*bmp, M()->Series1->CalcXPos(3), Y(C1(), -120)), cOver);
  EXPECT_EQ(PixelColor(*bmp, M()->Series1->CalcXPos(4), Y(C1(), -120)), cMain);
  EXPECT_EQ(PixelColor(*bmp, r.Left + 3, Y(C1(), -100)), cThre);
  EXPECT_NE(PixelColor(*bmp, r.Left + 3, Y(C1(), -100) + 2), cThre);

  struct Case {
    float Slider;
    int Line;
  };
  for (Case c : {Case{-99.6f, -100}, Case{-100.5f, -100}, Case{-75.5f, -76}}) {
    SCOPED_TRACE(c.Slider);
    M()->AbVSlider1->SetValue(c.Slider);
    ASSERT_EQ(M()->AbVSlider1->Value(), c.Slider);
    bmp = RenderControl(C1());
    EXPECT_EQ(PixelColor(*bmp, r.Left + 3, Y(C1(), c.Line)), cThre);
  }
}

TEST_F(AirMonitorGraphsTest, CentreLineOrTwoArrowHeadsFollowTheMenuCheck) {
  TRect r = C1()->ChartRect();
  int xc = (r.Left + r.Right) / 2, mid = (r.Top + r.Bottom) / 2;
  auto bmp = RenderControl(C1());
  EXPECT_EQ(PixelColor(*bmp, xc, mid), cCentre);
  SimulateKeyStroke(C1(), VK_F7);  // the graph menu's "ｾﾝﾀｰﾗｲﾝ表示"
  ProcessPendingEvents();
  ASSERT_FALSE(M()->Centerline1->Checked());
  bmp = RenderControl(C1());
  EXPECT_NE(PixelColor(*bmp, xc, mid), cCentre);
  EXPECT_TRUE(AnyPixel(*bmp, xc - 1, r.Top + 5, xc + 1, r.Top + 7, cCentre)) << "top arrow head";
  EXPECT_TRUE(AnyPixel(*bmp, xc + 2, r.Top, xc + 3, r.Top + 1, cCentre));
  EXPECT_TRUE(AnyPixel(*bmp, xc - 1, r.Bottom - 7, xc + 1, r.Bottom - 5, cCentre)) << "bottom arrow head";
  EXPECT_FALSE(AnyPixel(*bmp, xc - 3, r.Top + 12, xc + 3, r.Bottom - 12, cCentre));
}

TEST_F(AirMonitorGraphsTest, ClickedBarsGetAnalysisLinesAndPeaksStandBehindLevels) {
  SetLevel(3, -95);
  SetLevel(6, -120);
  M()->Peaks[6] = -70;
  Click(M()->CheckBox3);  // show the peaks
  ASSERT_EQ(M()->Series3->YValue(6), -70);
  auto bmp = RenderControl(C1());
  int x6 = M()->Series1->CalcXPos(6);
  EXPECT_EQ(PixelColor(*bmp, x6, Y(C1(), -130)), cMain);
  EXPECT_EQ(PixelColor(*bmp, x6, Y(C1(), -90)), cPeak);

  TRect r = C1()->ChartRect();
  int x3 = M()->Series1->CalcXPos(3);
  SimulateClick(C1(), x3, Y(C1(), -110));
  ProcessPendingEvents();
  bmp = RenderControl(C1());
  EXPECT_EQ(PixelColor(*bmp, x3, Y(C1(), -60)), cAna1);    // vertical, above the bar
  EXPECT_EQ(PixelColor(*bmp, r.Left + 3, Y(C1(), -95)), cAna1);  // horizontal, at its level

  SimulateClick(C1(), x6, Y(C1(), -80));  // the peak bar above the level bar
  ProcessPendingEvents();
  EXPECT_EQ(M()->AnalysisSeries, 3);
  EXPECT_EQ(C1()->Hint(), u"6ch  426.0875MHz  -70dBm");
  bmp = RenderControl(C1());
  EXPECT_EQ(PixelColor(*bmp, x6, Y(C1(), -50)), cAna2);
  EXPECT_EQ(PixelColor(*bmp, r.Left + 3, Y(C1(), -70)), cAna2);
  EXPECT_NE(PixelColor(*bmp, x3, Y(C1(), -60)), cAna1);

  // Without the menu's check the lines go, the click still reports.
  SimulateKeyStroke(C1(), VK_F8);
  ProcessPendingEvents();
  ASSERT_FALSE(M()->Analizeline1->Checked());
  bmp = RenderControl(C1());
  EXPECT_NE(PixelColor(*bmp, x6, Y(C1(), -50)), cAna2);
}

TEST_F(AirMonitorGraphsTest, SampleMarkerIsDrawnAfterTheRepaintAndNotRedrawn) {
  ToTimePage();
  TChart* c2 = M()->Chart2;
  Click(M()->AbColBitBtn1);
  M()->VrTimer3->SetEnabled(false);
  ASSERT_TRUE(UntilMemo2EndsWith(u"-90 dBm\r\n"));
  M()->SamplePoint = 15;  // clear of the axes
  M()->VrTimer3Timer(M()->VrTimer3);
  ProcessPendingEvents();
  EXPECT_EQ(M()->Samples[15], -90);
  int x = c2->CalcXPosValue(15), y = c2->CalcYPosValue(-90);
  auto bmp = RenderControl(c2);
  const TColor red = 0x0000FF, black = 0x000000;
  EXPECT_EQ(PixelColor(*bmp, x - 2, y - 3), red);     // the ellipse
  EXPECT_EQ(PixelColor(*bmp, x, y + 8), black);       // the vertical stroke below it
  EXPECT_EQ(PixelColor(*bmp, x + 8, y - 1), black);   // the horizontal stroke
  c2->Repaint();
  bmp = RenderControl(c2);
  EXPECT_NE(PixelColor(*bmp, x - 2, y - 3), red);
  EXPECT_NE(PixelColor(*bmp, x, y + 8), black);
}

TEST_F(AirMonitorGraphsTest, ZoomMovesOnlyTheChannelAxisAndTheViewKeepsTheMenuChecks) {
  TChartAxis* bottom = C1()->BottomAxis();
  TChartAxis* left = C1()->LeftAxis();
  TRect r = C1()->ChartRect();
  int threshold = Y(C1(), -100);
  struct Step {
    Word Key;
    bool Narrower, Wider;
  };
  for (Step s : {Step{VK_F11, true, false}, Step{VK_F12, false, false}, Step{VK_F10, false, true},
                 Step{VK_F12, false, false}}) {
    SCOPED_TRACE(s.Key);
    SimulateKeyStroke(C1(), s.Key);
    ProcessPendingEvents();
    double span = bottom->Maximum() - bottom->Minimum();
    EXPECT_EQ(span < 9, s.Narrower);
    EXPECT_EQ(span > 9, s.Wider);
    EXPECT_EQ(left->Minimum(), -140);
    EXPECT_EQ(left->Maximum(), -40);
    auto bmp = RenderControl(C1());
    EXPECT_EQ(PixelColor(*bmp, r.Left + 3, threshold), cThre);
  }
  EXPECT_EQ(bottom->Minimum(), 1);
  EXPECT_EQ(bottom->Maximum(), 10);

  SimulateKeyStroke(C1(), VK_F3);  // 3D
  ProcessPendingEvents();
  EXPECT_TRUE(C1()->View3D());
  EXPECT_TRUE(M()->Chart2->View3D());
  EXPECT_TRUE(M()->Normal1->Checked());
  EXPECT_FALSE(M()->N3D1->Checked());
  SimulateKeyStroke(C1(), VK_F4);
  ProcessPendingEvents();
  EXPECT_FALSE(C1()->View3D());
  EXPECT_FALSE(M()->Chart2->View3D());
}
