// Full redraws of the two air-monitor graphs into an 800 x 500 bitmap: the time-domain graph
// (one area series of 5001 points with markers) and the frequency-domain graph (two bar series
// of 128 channels). Target: under 10 ms per redraw on one core.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>

#include "platform/chart/Chart.h"
#include "platform/ui/Forms.h"

namespace {

constexpr int W = 800, H = 500;

void SetUp(TChart& chart, double xMin, double xMax, bool view3D) {
  chart.SetBounds(0, 0, W, H);
  chart.SetView3D(view3D);
  chart.Legend()->SetVisible(false);
  chart.RightAxis()->SetVisible(false);
  chart.Gradient()->SetStartColor(clBtnHighlight);
  chart.Gradient()->SetEndColor(clSkyBlue);
  chart.LeftAxis()->SetAutomatic(false);
  chart.LeftAxis()->SetMinMax(-140, -40);
  chart.LeftAxis()->SetMinorTickCount(4);
  chart.LeftAxis()->Title()->SetCaption(U("受信ﾚﾍﾞﾙ[dBm]"));
  chart.BottomAxis()->SetAutomatic(false);
  chart.BottomAxis()->SetMinMax(xMin, xMax);
  for (const char* line : {"< Air monitor >   Model name:     File name:     Date: ", "User Memo:",
                           "Channel:       ch  / Freq.:        MHz   /   Level:       dBm"})
    chart.Title()->Text()->Add(U(line));
}

// Levels around a noise floor with bursts above the threshold, so colours change often.
double Level(std::mt19937& rng) {
  std::uniform_real_distribution<double> u(0, 1);
  return u(rng) < 0.2 ? -100 + 50 * u(rng) : -135 + 30 * u(rng);
}

void BM_TimeDomainRedraw(benchmark::State& state) {
  TChart chart(nullptr);
  SetUp(chart, 1, 5000, state.range(0) != 0);
  chart.BottomAxis()->Title()->SetCaption(U("ｻﾝﾌﾟﾘﾝｸﾞﾎﾟｲﾝﾄ"));
  TAreaSeries area(nullptr);
  area.SetParentChart(&chart);
  area.Pointer()->SetVisible(true);
  area.Pointer()->SetStyle(psCircle);
  area.Pointer()->SetHorizSize(3);
  area.Pointer()->SetVertSize(3);
  area.Pointer()->Brush()->SetColor(clAqua);
  std::mt19937 rng(7);
  for (int p = 0; p <= 5000; ++p) {
    double v = Level(rng);
    area.AddXY(p, v, String(), v >= -100 ? clBlue : clSkyBlue);
  }
  TBitmap bmp(W, H);
  for (auto _ : state) chart.Draw(bmp.Canvas(), TRect(0, 0, W, H));
}
BENCHMARK(BM_TimeDomainRedraw)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_FrequencyDomainRedraw(benchmark::State& state) {
  TChart chart(nullptr);
  SetUp(chart, 0, 127, state.range(0) != 0);
  chart.BottomAxis()->Title()->SetCaption(U("ﾁｬﾝﾈﾙ"));
  TBarSeries peaks(nullptr), levels(nullptr);
  std::mt19937 rng(11);
  for (TBarSeries* s : {&peaks, &levels}) {
    s->SetParentChart(&chart);
    s->SetUseYOrigin(false);
    s->BarPen()->SetVisible(false);
    s->Marks()->SetVisible(false);
    s->SetBarWidthPercent(70);
  }
  peaks.SetSeriesColor(clSilver);
  for (int ch = 0; ch < 128; ++ch) {
    double v = Level(rng);
    levels.AddXY(ch, v, String(), v >= -100 ? clBlue : clSkyBlue);
    peaks.AddXY(ch, v + 10);
  }
  TBitmap bmp(W, H);
  for (auto _ : state) chart.Draw(bmp.Canvas(), TRect(0, 0, W, H));
}
BENCHMARK(BM_FrequencyDomainRedraw)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
