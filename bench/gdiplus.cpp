// GDI+ through its wrappers on a 200 x 100 bitmap canvas, antialiased as the drop-down buttons
// draw:
// - a path-gradient fill of a 100 x 40 rounded rectangle (corner radius 8) against a
//   linear-gradient fill of the same path; target at most 5 times the linear fill;
// - DrawString of one line against TextOut of the same line with the same font on the same
//   canvas; target at most 2 times TextOut.
#include <benchmark/benchmark.h>

#include <memory>

#include "controls/AdvGDIP.h"
#include "platform/ui/Graphics.h"

namespace {

const String kLine = u"Channel 12   -95 dBm   ID 0x3F21";

struct Surface {
  TBitmap Bitmap{200, 100};
  std::unique_ptr<TGPGraphics> G;
  Surface() {
    InitializeAdvGDIP();
    Bitmap.Canvas()->Font()->SetName(u"Arial");
    Bitmap.Canvas()->Font()->SetSize(10);
    Bitmap.Canvas()->Brush()->SetStyle(bsClear);
    G = std::make_unique<TGPGraphics>(Bitmap.Canvas()->Handle());
    G->SetSmoothingMode(SmoothingModeAntiAlias);
  }
  ~Surface() {
    G.reset();
    FinalizeAdvGDIP();
  }
};

// A rounded rectangle of 100 x 40 at (10, 10), corners of radius 8.
void RoundRect(TGPGraphicsPath& P) {
  const float X = 10, Y = 10, W = 100, H = 40, D = 16;
  P.AddArc(X, Y, D, D, 180, 90);
  P.AddArc(X + W - D, Y, D, D, 270, 90);
  P.AddArc(X + W - D, Y + H - D, D, D, 0, 90);
  P.AddArc(X, Y + H - D, D, D, 90, 90);
  P.CloseFigure();
}

void BM_LinearGradientRoundedRect(benchmark::State& state) {
  Surface S;
  TGPGraphicsPath P;
  RoundRect(P);
  TGPLinearGradientBrush B(TGPRectF{10, 10, 100, 40}, 0xFFFFFFFF, 0xFF3060C0, LinearGradientModeVertical);
  for (auto _ : state) benchmark::DoNotOptimize(S.G->FillPath(&B, &P));
}
BENCHMARK(BM_LinearGradientRoundedRect)->Unit(benchmark::kMicrosecond);

void BM_PathGradientRoundedRect(benchmark::State& state) {
  Surface S;
  TGPGraphicsPath P;
  RoundRect(P);
  TGPPathGradientBrush B(&P);
  B.SetCenterColor(0xFFFFFFFF);
  ARGB Surround = 0xFF3060C0;
  int32_t One = 1;
  B.SetSurroundColors(&Surround, One);
  for (auto _ : state) benchmark::DoNotOptimize(S.G->FillPath(&B, &P));
}
BENCHMARK(BM_PathGradientRoundedRect)->Unit(benchmark::kMicrosecond);

void BM_TextOutLine(benchmark::State& state) {
  Surface S;
  TCanvas* C = S.Bitmap.Canvas();
  for (auto _ : state) C->TextOut(4, 60, kLine);
}
BENCHMARK(BM_TextOutLine)->Unit(benchmark::kMicrosecond);

void BM_DrawStringLine(benchmark::State& state) {
  Surface S;
  std::unique_ptr<TGPFont> F = S.G->MakeFont(S.Bitmap.Canvas()->Font());
  TGPSolidBrush Ink(0xFF000000);
  for (auto _ : state)
    benchmark::DoNotOptimize(S.G->DrawString(kLine, -1, F.get(), TGPPointF{4, 60}, &Ink));
}
BENCHMARK(BM_DrawStringLine)->Unit(benchmark::kMicrosecond);

}  // namespace
