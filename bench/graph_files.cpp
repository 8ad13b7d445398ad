// The air monitor's picture exports and graph data files, in the real main window, headless,
// with the graph at 800 x 500:
// - BMP and JPEG exports against the reference "draw the graph into a bitmap, then Qt's own
//   encoder writes the file" (JPEG at quality 90); target at most 1.3 times the reference;
// - EMF and WMF exports against the bitmap reference; target at most 2 times;
// - a time-domain graph file of 5,000 points saved and loaded; target under 5 ms.
// Qt serves only as the reference.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <QImage>
#include <cstring>
#include <random>

#include "app/AppSettings.h"
#include "app/Caution.h"
#include "app/Main.h"
#include "app/StartUp.h"
#include "platform/ui/Forms.h"
#include "testing/TempFolder.h"

namespace {

constexpr int W = 800, H = 500;

// The tool started once for the whole run, on the time-domain page with 5,000 points of levels.
struct Tool {
  TempFolder Folder;

  Tool() {
    Folder.Write("tool.ini", "[Information]\r\ndestination=Japan\r\n");
    SetSettingsFilePath(Folder.FileS("tool.ini"));
    StartUp();
    TMainForm* m = MainForm;
    Caution1Form->Close();
    m->SetEnabled(true);
    m->ComboBox5->SetItemIndex(0);
    m->ComboBox5Change(m->ComboBox5);
    m->PageControl1->SetVisible(true);
    m->PageControl1->SetActivePage(m->TabSheet1);
    m->PageControl1Change(m->PageControl1);
    m->PageControl2->SetActivePage(m->TabSheet6);
    m->PageControl2Change(m->PageControl2);
    m->Chart2->SetBounds(0, 0, W, H);
    m->AbNumSpin3->SetValue(5000);
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> level(-140, -40);
    for (int p = 0; p < SampleSlots; ++p) m->Samples[static_cast<size_t>(p)] = level(rng);
    m->setColor();
    Application->ProcessMessages();
  }
  ~Tool() {
    Application->DestroyForms();
    SetSettingsFilePath(String());
  }
  TChart* Chart() const { return MainForm->Chart2; }
  String File(const char* Name) const { return Folder.FileS(Name); }
};

Tool& TheTool() {
  static Tool tool;
  return tool;
}

// The reference: the graph drawn into a bitmap, its pixels handed to Qt's encoder.
void QtReference(benchmark::State& state, const char* Format, int Quality, const char* Name) {
  Tool& t = TheTool();
  const std::string file = StringToUTF8(t.File(Name));
  for (auto _ : state) {
    TBitmap bmp(W, H);
    t.Chart()->Draw(bmp.Canvas(), TRect(0, 0, W, H));
    QImage image(W, H, QImage::Format_RGB32);
    for (int y = 0; y < H; ++y) std::memcpy(image.scanLine(y), bmp.ScanLine(y), static_cast<size_t>(W) * 4);
    if (!image.save(QString::fromStdString(file), Format, Quality)) state.SkipWithError("Qt could not save");
  }
}

void BM_Reference_QtBmp(benchmark::State& state) { QtReference(state, "BMP", -1, "ref.bmp"); }
void BM_Reference_QtJpeg90(benchmark::State& state) { QtReference(state, "JPEG", 90, "ref.jpg"); }

void BM_ExportBmp(benchmark::State& state) {
  Tool& t = TheTool();
  for (auto _ : state) t.Chart()->SaveToBitmapFile(t.File("g.bmp"));
}

void BM_ExportJpeg(benchmark::State& state) {
  Tool& t = TheTool();
  for (auto _ : state) t.Chart()->SaveToJPEGFile(t.File("g.jpg"), 90);
}

void BM_ExportEmf(benchmark::State& state) {
  Tool& t = TheTool();
  for (auto _ : state) t.Chart()->SaveToMetafileEnh(t.File("g.emf"));
}

void BM_ExportWmf(benchmark::State& state) {
  Tool& t = TheTool();
  for (auto _ : state) t.Chart()->SaveToMetafile(t.File("g.wmf"));
}

// One save and one load of a 5,000-point time-domain file, shown on the graph.
void BM_TimeFileSaveAndLoad5000(benchmark::State& state) {
  Tool& t = TheTool();
  const String file = t.File("t.AMT");
  for (auto _ : state) {
    MainForm->SaveGraphFile(file);
    if (!MainForm->LoadGraphFile(file)) state.SkipWithError("the file did not load");
  }
}

}  // namespace

BENCHMARK(BM_Reference_QtBmp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportBmp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Reference_QtJpeg90)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportEmf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportWmf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TimeFileSaveAndLoad5000)->Unit(benchmark::kMillisecond);
