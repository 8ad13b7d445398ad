// Creating the tool's windows, headless: the whole start-up (the fourteen windows in the
// program entry's order and the start-up notice shown) up to the message loop's first idle
// call, the reference; then each window alone (its construction and its OnCreate), so each
// window's share of the start-up can be read beside it in the same run.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <functional>
#include <vector>

#include "app/AppSettings.h"
#include "app/Caution.h"
#include "app/ComSetDialog.h"
#include "app/Main.h"
#include "app/OtherForms.h"
#include "app/StartUp.h"
#include "testing/TempFolder.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Jpeg.h"

namespace {

// A settings file of the benchmark's own, as the tool ships it.
struct Settings {
  TempFolder Folder;
  Settings() {
    Folder.Write("tool.ini", "[Information]\r\ndestination=Japan\r\n");
    SetSettingsFilePath(Folder.FileS("tool.ini"));
  }
  ~Settings() { SetSettingsFilePath(String()); }
};

void BM_StartUpToFirstIdle(benchmark::State& state) {
  Settings settings;
  for (auto _ : state) {
    StartUp();
    // Everything the start-up left pending is handled; the loop's next step is its first idle call.
    Application->ProcessMessages();
    Application->DoIdle();
    state.PauseTiming();
    Application->DestroyForms();
    ForgetApplicationForms();
    Application->ProcessMessages();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StartUpToFirstIdle)->Unit(benchmark::kMillisecond)->Repetitions(7)->Iterations(3)->UseRealTime();

// One window made as the program entry makes it (its reference set before OnCreate runs),
// without becoming the application's main window, and freed again.
template <typename T>
void CreateWindow(T*& Reference) {
  T* form = new T(Application);
  Reference = form;
  form->DoCreate();
  delete form;
  Reference = nullptr;
}

void BM_MainWindow(benchmark::State& state) {
  Settings settings;
  for (auto _ : state) CreateWindow(MainForm);
}
BENCHMARK(BM_MainWindow)->Unit(benchmark::kMillisecond)->Repetitions(7)->UseRealTime();

// The windows the main window does not need to exist first.
#define WINDOW_BENCHMARK(Class, Reference)                  \
  void BM_##Class(benchmark::State& state) {                \
    Settings settings;                                      \
    for (auto _ : state) CreateWindow(Reference);           \
  }                                                         \
  BENCHMARK(BM_##Class)->Unit(benchmark::kMillisecond)->Repetitions(7)->UseRealTime()

WINDOW_BENCHMARK(TCaution1Form, Caution1Form);
WINDOW_BENCHMARK(TVerBoxForm, VerBoxForm);
WINDOW_BENCHMARK(TImageViewForm1, ImageViewForm1);
WINDOW_BENCHMARK(TImageSelectForm1, ImageSelectForm1);
WINDOW_BENCHMARK(TOptionBoxForm, OptionBoxForm);
WINDOW_BENCHMARK(TIPSettingForm1, IPSettingForm1);
WINDOW_BENCHMARK(TCaution2Form, Caution2Form);
WINDOW_BENCHMARK(TAssignForm1, AssignForm1);
WINDOW_BENCHMARK(TOKBottomDlg1, OKBottomDlg1);
WINDOW_BENCHMARK(THexKeyForm1, HexKeyForm1);
WINDOW_BENCHMARK(TComSetDlg, ComSetDlg);
WINDOW_BENCHMARK(TConversionForm1, ConversionForm1);
WINDOW_BENCHMARK(TKeyForm1, KeyForm1);

// The four windows the tool creates and never shows, together.
void BM_HiddenWindows(benchmark::State& state) {
  Settings settings;
  for (auto _ : state) {
    CreateWindow(AssignForm1);
    CreateWindow(OKBottomDlg1);
    CreateWindow(HexKeyForm1);
    CreateWindow(KeyForm1);
  }
}
BENCHMARK(BM_HiddenWindows)->Unit(benchmark::kMillisecond)->Repetitions(7)->UseRealTime();

// A 4000 x 3000 photograph-like JPEG (smooth gradients with fine noise), made once.
const String& BigJpeg() {
  static TempFolder folder;
  static String file = [] {
    TBitmap bmp(4000, 3000);
    TCanvas* c = bmp.Canvas();
    for (int y = 0; y < 3000; y += 4)
      for (int x = 0; x < 4000; x += 4) {
        c->Brush()->SetColor(RGB(x * 255 / 4000, y * 255 / 3000, (x * 7 + y * 13) & 0xFF));
        c->FillRect(TRect(x, y, x + 4, y + 4));
      }
    TJPEGImage jpeg;
    jpeg.Assign(&bmp);
    String name = folder.FileS("photo.jpg");
    jpeg.SaveToFile(name);
    return name;
  }();
  return file;
}

// Reference: the JPEG decoded alone.
void BM_JpegDecodeAlone(benchmark::State& state) {
  const String& file = BigJpeg();
  for (auto _ : state) {
    TJPEGImage jpeg;
    jpeg.LoadFromFile(file);
    benchmark::DoNotOptimize(jpeg.Width());
  }
}
BENCHMARK(BM_JpegDecodeAlone)->Unit(benchmark::kMillisecond)->Repetitions(5)->UseRealTime();

// The image viewer opening the same file: shown, loaded, captioned and painted scaled to its
// window; closing it in between (not timed) starts each opening empty. Target: at most 1.3
// times the decoding alone.
void BM_ImageViewerOpensJpeg(benchmark::State& state) {
  Settings settings;
  const String& file = BigJpeg();
  ImageViewForm1 = new TImageViewForm1(Application);
  ImageViewForm1->SetWidth(892);
  ImageViewForm1->SetHeight(525);
  for (auto _ : state) {
    ImageViewForm1->ShowPicture(file);
    ImageViewForm1->Update();
    Application->ProcessMessages();
    state.PauseTiming();
    ImageViewForm1->Close();
    Application->ProcessMessages();
    state.ResumeTiming();
  }
  delete ImageViewForm1;
  ImageViewForm1 = nullptr;
}
BENCHMARK(BM_ImageViewerOpensJpeg)->Unit(benchmark::kMillisecond)->Repetitions(5)->UseRealTime();

}  // namespace
