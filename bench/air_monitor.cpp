// The air monitor's timer steps in the real main window, headless, with both graphs at
// 800 x 500, each beside the bare redraw of the same graph in the same run:
// - a time-domain sampling step at 5,000 points (store, colour, repaint, marker) against a bare
//   repaint of the time graph; target at most 1.3 times the reference and under 12 ms;
// - a scan step that ends a 128-channel sweep (levels, colours and peaks of every bar, then the
//   repaint they cause) against a bare repaint of the bar graph; target at most 1.2 times.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <random>

#include "app/AppSettings.h"
#include "app/Caution.h"
#include "app/Main.h"
#include "app/StartUp.h"
#include "testing/TempFolder.h"
#include "platform/ui/Forms.h"
#include "testing/TestSupport.h"

namespace {

constexpr int W = 800, H = 500;

// The tool started once for the whole run, on the air monitor page, graphs full of levels.
struct Tool {
  TempFolder Folder;
  std::mt19937 Rng{7};

  Tool() {
    Folder.Write("tool.ini", "[Information]\r\ndestination=Japan\r\n");
    SetSettingsFilePath(Folder.FileS("tool.ini"));
    // A start-up message (a picture the settings name but the folder lacks) is closed unread.
    for (int i = 0; i < 4; ++i) WhenModal([](const String&) { CloseModal(); }, 5000);
    StartUp();
    TMainForm* m = MainForm;
    Caution1Form->Close();
    m->SetEnabled(true);
    m->Show();
    m->ComboBox5->SetItemIndex(0);
    m->ComboBox5Change(m->ComboBox5);
    m->PageControl1->SetVisible(true);
    m->PageControl1->SetActivePage(m->TabSheet1);
    m->PageControl1Change(m->PageControl1);
    for (TChart* c : {m->Chart1, m->Chart2}) c->SetBounds(0, 0, W, H);
    // All 128 channel slots on the bar graph.
    m->ScanStart = 0;
    m->ScanEnd = ChannelSlots - 1;
    m->Chart1->BottomAxis()->SetMinMax(0, ChannelSlots - 1);
    m->CheckBox3->SetChecked(true);
    for (int ch = 0; ch < ChannelSlots; ++ch) {
      m->Levels[static_cast<size_t>(ch)] = Level();
      m->Peaks[static_cast<size_t>(ch)] = m->Levels[static_cast<size_t>(ch)] + 10;
    }
    m->AbNumSpin3->SetValue(5000);
    for (int p = 0; p < SampleSlots; ++p) m->Samples[static_cast<size_t>(p)] = Level();
    m->setColor();
    Application->ProcessMessages();
  }
  ~Tool() {
    Application->DestroyForms();
    SetSettingsFilePath(String());
  }
  // Levels around a noise floor with bursts above the threshold, so colours change often.
  int32_t Level() {
    std::uniform_real_distribution<double> u(0, 1);
    return static_cast<int32_t>(u(Rng) < 0.2 ? -100 + 50 * u(Rng) : -135 + 30 * u(Rng));
  }
};

Tool& TheTool() {
  static Tool tool;
  return tool;
}

void ToPage(TTabSheet* Page) {
  TMainForm* m = MainForm;
  m->PageControl2->SetActivePage(Page);
  m->PageControl2Change(m->PageControl2);
}

void BM_TimeGraphBareRepaint(benchmark::State& state) {
  TheTool();
  ToPage(MainForm->TabSheet6);
  for (auto _ : state) MainForm->Chart2->Repaint();
}
BENCHMARK(BM_TimeGraphBareRepaint)->Unit(benchmark::kMillisecond);

void BM_TimeDomainSamplingStep(benchmark::State& state) {
  Tool& tool = TheTool();
  TMainForm* m = MainForm;
  ToPage(m->TabSheet6);
  m->AbColBitBtn1->SetChecked(true);
  m->VrTimer3->SetEnabled(false);  // the steps are run here
  for (int p = 0; p < SampleSlots; ++p) m->Samples[static_cast<size_t>(p)] = tool.Level();  // as full as the reference
  m->setColor();
  for (auto _ : state) {
    m->Link.LastLevel = tool.Level();
    m->VrTimer3Timer(m->VrTimer3);
    state.PauseTiming();
    Application->ProcessMessages();  // the marker's canvas goes back to the window
    state.ResumeTiming();
  }
  m->AbColBitBtn1->SetChecked(false);
}
BENCHMARK(BM_TimeDomainSamplingStep)->Unit(benchmark::kMillisecond);

void BM_BarGraphBareRepaint(benchmark::State& state) {
  TheTool();
  ToPage(MainForm->TabSheet5);
  for (auto _ : state) MainForm->Chart1->Repaint();
}
BENCHMARK(BM_BarGraphBareRepaint)->Unit(benchmark::kMillisecond);

void BM_ScanStepEndingA128ChannelSweep(benchmark::State& state) {
  Tool& tool = TheTool();
  TMainForm* m = MainForm;
  ToPage(m->TabSheet5);
  m->ComboBox2->SetText(u"1");
  m->ComboBox3->SetText(u"10");
  m->AbColBitBtn15->SetChecked(true);
  m->VrTimer2->SetEnabled(false);
  m->ScanStart = 0;
  m->ScanEnd = ChannelSlots - 1;
  for (auto _ : state) {
    m->ScanChannel = static_cast<uint8_t>(ChannelSlots - 1);
    m->Link.LastLevel = tool.Level();
    m->VrTimer2Timer(m->VrTimer2);
    m->Chart1->Update();  // the repaint the new bars ask for
  }
  m->AbColBitBtn15->SetChecked(false);
}
BENCHMARK(BM_ScanStepEndingA128ChannelSweep)->Unit(benchmark::kMillisecond);

}  // namespace
