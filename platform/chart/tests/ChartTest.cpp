// The chart rendered into bitmaps: bars and areas in their point colours, value <-> pixel,
// zoom by dragging and its undo, point clicks, drawing over the chart.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "platform/chart/Chart.h"
#include "platform/ui/Forms.h"
#include "testing/TestSupport.h"
#include "platform/win/Messages.h"

namespace {

constexpr TColor cBack = 0xF0F0F0;
constexpr TColor cMain = 0xA6CAF0;
constexpr TColor cOver = 0xFF0000;
constexpr TColor cPeak = 0xC0C0C0;

// The frequency graph: peak bars behind level bars, one per channel.
struct FreqChart {
  std::unique_ptr<TChart> Chart = std::make_unique<TChart>(nullptr);
  TBarSeries* Peaks = new TBarSeries(nullptr);
  TBarSeries* Levels = new TBarSeries(nullptr);
  std::unique_ptr<TBarSeries> ownPeaks{Peaks}, ownLevels{Levels};

  FreqChart() {
    Chart->SetBounds(0, 0, 500, 320);
    Chart->SetView3D(false);
    Chart->Legend()->SetVisible(false);
    Chart->RightAxis()->SetVisible(false);
    Chart->Gradient()->SetStartColor(cBack);
    Chart->Gradient()->SetEndColor(cBack);
    Chart->LeftAxis()->SetAutomatic(false);
    Chart->LeftAxis()->SetMinMax(-140, -40);
    Chart->LeftAxis()->Title()->SetCaption(U("受信ﾚﾍﾞﾙ[dBm]"));
    Chart->BottomAxis()->SetAutomatic(false);
    Chart->BottomAxis()->SetMinMax(0, 10);
    Chart->BottomAxis()->Title()->SetCaption(U("ﾁｬﾝﾈﾙ"));
    Chart->LeftAxis()->Grid()->SetVisible(false);
    Chart->BottomAxis()->Grid()->SetVisible(false);
    Chart->Title()->Text()->Add(u"< Air monitor >");
    Chart->Title()->Text()->Add(u"User Memo:");
    Chart->Title()->Text()->Add(u"Channel:");
    for (TBarSeries* s : {Peaks, Levels}) {
      s->SetParentChart(Chart.get());
      s->SetUseYOrigin(false);
      s->BarPen()->SetVisible(false);
      s->Marks()->SetVisible(false);
      s->SetBarWidthPercent(60);
      for (int ch = 0; ch <= 10; ++ch) s->AddXY(ch, -140);
    }
    Peaks->SetSeriesColor(cPeak);
  }

  std::unique_ptr<TBitmap> Render() {
    auto bmp = std::make_unique<TBitmap>(Chart->Width(), Chart->Height());
    Chart->Draw(bmp->Canvas(), TRect(0, 0, Chart->Width(), Chart->Height()));
    return bmp;
  }
};

}  // namespace

TEST(Chart, BarsShowTheirPointColoursBetweenFloorAndValue) {
  FreqChart f;
  f.Levels->SetYValue(3, -95);
  f.Levels->SetValueColor(3, cMain);
  f.Levels->SetYValue(5, -60);
  f.Levels->SetValueColor(5, cOver);
  f.Peaks->SetYValue(3, -70);  // the peak stands above the level bar, behind it
  auto bmp = f.Render();
  TCanvas* c = bmp->Canvas();
  TRect r = f.Chart->ChartRect();
  int x3 = f.Levels->CalcXPos(3), x5 = f.Levels->CalcXPos(5);
  int y95 = f.Chart->CalcYPosValue(-95), y70 = f.Chart->CalcYPosValue(-70), y60 = f.Chart->CalcYPosValue(-60);
  struct Probe {
    int x, y;
    TColor want;
    const char* what;
  };
  const Probe probes[] = {
      {x3, y95 + 1, cMain, "level bar just below its top"},
      {x3, r.Bottom - 2, cMain, "level bar at the floor"},
      {x3, y95 - 2, cPeak, "peak bar above the level"},
      {x3, y70 + 1, cPeak, "peak bar just below its top"},
      {x3, y70 - 2, cBack, "above the peak"},
      {x5, y60 + 1, cOver, "over-threshold bar"},
      {x5, y60 - 2, cBack, "above the over bar"},
      {f.Levels->CalcXPos(4), r.Bottom - 3, cBack, "a bar at the axis minimum shows nothing"},
  };
  for (const Probe& p : probes) EXPECT_EQ(c->Pixels(p.x, p.y), p.want) << p.what;
  // Width: 60 % of the 1-channel spacing, centred on the channel.
  double spacing = double(r.Width() - 1) / 10;
  int w = int(std::lround(spacing * 0.6));
  EXPECT_EQ(c->Pixels(x5 - w / 2, y60 + 5), cOver);
  EXPECT_EQ(c->Pixels(x5 - w / 2 - 1, y60 + 5), cBack);
  EXPECT_EQ(c->Pixels(x5 - w / 2 + w - 1, y60 + 5), cOver);
  EXPECT_EQ(c->Pixels(x5 - w / 2 + w, y60 + 5), cBack);
}

TEST(Chart, ValuesAndPixelsConvertBothWays) {
  FreqChart f;
  f.Render();
  TRect r = f.Chart->ChartRect();
  ASSERT_GT(r.Width(), 100);
  EXPECT_EQ(f.Chart->CalcXPosValue(0), r.Left);
  EXPECT_EQ(f.Chart->CalcXPosValue(10), r.Right - 1);
  EXPECT_EQ(f.Chart->CalcYPosValue(-140), r.Bottom - 1);
  EXPECT_EQ(f.Chart->CalcYPosValue(-40), r.Top);
  EXPECT_EQ(f.Chart->LeftAxis()->CalcPosValue(-90), f.Chart->CalcYPosValue(-90));
  double ypx = (r.Height() - 1) / 100.0, xpx = (r.Width() - 1) / 10.0;
  for (double v : {-140.0, -123.4, -100.0, -55.5, -40.0}) {
    int y = f.Chart->CalcYPosValue(v);
    EXPECT_NEAR(f.Chart->YScreenToValue(y), v, 0.5 / ypx) << v;
    EXPECT_NEAR(f.Chart->LeftAxis()->CalcPosPoint(y), v, 0.5 / ypx) << v;
  }
  for (double v : {0.0, 2.5, 7.0, 10.0}) {
    int x = f.Levels->CalcXPosValue(v);
    EXPECT_NEAR(f.Levels->XScreenToValue(x), v, 0.5 / xpx) << v;
  }
  // Higher levels are higher up; the axis range set by code is what converts.
  EXPECT_LT(f.Chart->CalcYPosValue(-50), f.Chart->CalcYPosValue(-60));
  f.Chart->BottomAxis()->SetMinMax(0, 20);
  EXPECT_EQ(f.Chart->CalcXPosValue(20), r.Right - 1);
}

TEST(Chart, DraggingZoomsAndReverseDragOrUndoRestoresTheAxes) {
  FreqChart f;
  f.Render();
  int zooms = 0, undos = 0;
  f.Chart->OnZoom = [&](TObject*) {
    ++zooms;
    f.Chart->LeftAxis()->SetMinMax(-140, -40);  // what the graphs do: only the bottom axis zooms
  };
  f.Chart->OnUndoZoom = [&](TObject*) { ++undos; };
  auto mouse = [&](UINT msg, int x, int y) {
    f.Chart->Perform(msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(WORD(x), WORD(y)));
  };
  int x2 = f.Chart->CalcXPosValue(2), x6 = f.Chart->CalcXPosValue(6);
  int yTop = f.Chart->CalcYPosValue(-60), yBottom = f.Chart->CalcYPosValue(-120);
  mouse(WM_LBUTTONDOWN, x2, yTop);
  mouse(WM_MOUSEMOVE, (x2 + x6) / 2, (yTop + yBottom) / 2);
  mouse(WM_MOUSEMOVE, x6, yBottom);
  mouse(WM_LBUTTONUP, x6, yBottom);
  EXPECT_EQ(zooms, 1);
  EXPECT_TRUE(f.Chart->Zoomed());
  EXPECT_NEAR(f.Chart->BottomAxis()->Minimum(), 2, 0.05);
  EXPECT_NEAR(f.Chart->BottomAxis()->Maximum(), 6, 0.05);
  EXPECT_EQ(f.Chart->LeftAxis()->Minimum(), -140);
  EXPECT_EQ(f.Chart->LeftAxis()->Maximum(), -40);

  // Dragging up and to the left gives the axes back.
  mouse(WM_LBUTTONDOWN, x6, yBottom);
  mouse(WM_MOUSEMOVE, x2, yTop);
  mouse(WM_LBUTTONUP, x2, yTop);
  EXPECT_EQ(undos, 1);
  EXPECT_FALSE(f.Chart->Zoomed());
  EXPECT_EQ(f.Chart->BottomAxis()->Minimum(), 0);
  EXPECT_EQ(f.Chart->BottomAxis()->Maximum(), 10);

  // Percent zoom around the centre; a range set while zoomed is what undo comes back to.
  f.Chart->ZoomPercent(125);
  EXPECT_NEAR(f.Chart->BottomAxis()->Maximum() - f.Chart->BottomAxis()->Minimum(), 8, 1e-9);
  f.Chart->BottomAxis()->SetMinMax(1, 30);
  f.Chart->ZoomPercent(75);
  f.Chart->UndoZoom();
  EXPECT_EQ(undos, 2);
  EXPECT_EQ(f.Chart->BottomAxis()->Minimum(), 1);
  EXPECT_EQ(f.Chart->BottomAxis()->Maximum(), 30);
  // A click without dragging changes nothing.
  mouse(WM_LBUTTONDOWN, x2, yTop);
  mouse(WM_LBUTTONUP, x2 + 1, yTop + 1);
  EXPECT_EQ(zooms, 3);
  EXPECT_EQ(undos, 2);
}

TEST(Chart, ClickOnABarReportsItsSeriesAndIndex) {
  FreqChart f;
  f.Levels->SetYValue(7, -80);
  f.Peaks->SetYValue(7, -60);
  f.Render();
  std::vector<std::pair<TChartSeries*, int>> clicks;
  int chartClicks = 0;
  for (TBarSeries* s : {f.Peaks, f.Levels})
    s->OnClick = [&](TChartSeries* Sender, int ValueIndex, TMouseButton Button, TShiftState, int, int) {
      EXPECT_EQ(Button, mbLeft);
      clicks.emplace_back(Sender, ValueIndex);
    };
  f.Chart->OnClick = [&](TObject*) { ++chartClicks; };
  // The user clicks the chart shown on a form (the chart stays the fixture's).
  TForm form(nullptr);
  form.SetBounds(0, 0, 520, 360);
  f.Chart->SetParent(&form);
  struct TUnparent {
    TControl* c;
    ~TUnparent() { c->SetParent(nullptr); }
  } unparent{f.Chart.get()};
  form.Show();
  auto click = [&](int x, int y) { SimulateClick(f.Chart.get(), x, y); };
  int x7 = f.Levels->CalcXPos(7);
  click(x7, f.Chart->CalcYPosValue(-100));  // on the level bar, in front
  click(x7, f.Chart->CalcYPosValue(-70));   // above it, on the peak bar behind
  click(x7, f.Chart->CalcYPosValue(-50));   // above both
  click(f.Levels->CalcXPos(2), f.Chart->CalcYPosValue(-139));  // an empty channel
  ASSERT_EQ(clicks.size(), 2u);
  EXPECT_EQ(clicks[0], std::make_pair(static_cast<TChartSeries*>(f.Levels), 7));
  EXPECT_EQ(clicks[1], std::make_pair(static_cast<TChartSeries*>(f.Peaks), 7));
  EXPECT_EQ(chartClicks, 4);
}

TEST(Chart, AreaSeriesFillsEachStretchInItsPointColourWithMarkers) {
  TChart chart(nullptr);
  chart.SetBounds(0, 0, 800, 500);
  chart.SetView3D(false);
  chart.Legend()->SetVisible(false);
  chart.Gradient()->SetStartColor(cBack);
  chart.Gradient()->SetEndColor(cBack);
  chart.LeftAxis()->SetAutomatic(false);
  chart.LeftAxis()->SetMinMax(-140, -40);
  chart.LeftAxis()->Grid()->SetVisible(false);
  chart.BottomAxis()->SetAutomatic(false);
  chart.BottomAxis()->SetMinMax(1, 30);
  chart.BottomAxis()->Grid()->SetVisible(false);
  TAreaSeries area(nullptr);
  area.SetParentChart(&chart);
  area.SetSeriesColor(cMain);
  area.Pointer()->SetVisible(true);
  area.Pointer()->SetStyle(psCircle);
  area.Pointer()->SetHorizSize(3);
  area.Pointer()->SetVertSize(3);
  area.Pointer()->Brush()->SetColor(clAqua);
  for (int p = 0; p <= 5000; ++p) area.AddXY(p, -140);
  for (int p = 10; p <= 12; ++p) area.SetYValue(p, -80);
  area.SetValueColor(11, cOver);
  area.SetValueColor(12, cOver);
  TBitmap bmp(800, 500);
  chart.Draw(bmp.Canvas(), TRect(0, 0, 800, 500));
  TCanvas* c = bmp.Canvas();
  TRect r = chart.ChartRect();
  int y = chart.CalcYPosValue(-100);
  auto mid = [&](int a, int b) { return (area.CalcXPos(a) + area.CalcXPos(b)) / 2; };
  EXPECT_EQ(c->Pixels(mid(10, 11), y), cOver);  // stretch 10..11 takes point 11's colour
  EXPECT_EQ(c->Pixels(mid(11, 12), y), cOver);
  EXPECT_EQ(c->Pixels(mid(9, 10), r.Bottom - 2), cMain);
  EXPECT_EQ(c->Pixels(mid(20, 21), y), cBack);
  EXPECT_EQ(c->Pixels(area.CalcXPos(11), area.CalcYPos(11)), clAqua);  // the marker
  EXPECT_EQ(c->Pixels(area.CalcXPos(11), area.CalcYPos(11) - 3), cBack);

  int clicked = -1;
  area.OnClick = [&](TChartSeries*, int ValueIndex, TMouseButton, TShiftState, int, int) { clicked = ValueIndex; };
  chart.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(WORD(area.CalcXPos(11) + 1), WORD(y)));
  chart.Perform(WM_LBUTTONUP, 0, MAKELPARAM(WORD(area.CalcXPos(11) + 1), WORD(y)));
  EXPECT_EQ(clicked, 11);
  EXPECT_THROW(area.YValue(5001), EListError);
}

TEST(Chart, AfterDrawPaintsOnTheCanvasOfTheDrawingWithThePlotRectangle) {
  FreqChart f;
  f.Chart->SetView3D(true);
  TRect seen;
  int y = 0;
  f.Chart->OnAfterDraw = [&](TObject*) {
    TCanvas* c = f.Chart->Canvas();
    seen = f.Chart->ChartRect();
    y = f.Chart->CalcYPosValue(-100);
    c->Pen()->SetColor(clRed);
    c->MoveTo(seen.Left, y);
    c->LineTo(seen.Right, y);
  };
  auto bmp = f.Render();
  int yLine = y;
  f.Chart->OnAfterDraw = nullptr;
  f.Chart->SetView3D(false);
  f.Render();
  TRect flat = f.Chart->ChartRect();
  EXPECT_LT(seen.Width(), flat.Width());  // the 3-D depth takes room from the plot
  EXPECT_GT(seen.Top, flat.Top);
  EXPECT_EQ(bmp->Canvas()->Pixels((seen.Left + seen.Right) / 2, yLine), clRed);
}
