#include "MainWindowFixture.h"

void MainWindowTest::FreeWindows() {
  Application->DestroyForms();
  ForgetApplicationForms();
}

void MainWindowTest::SetUp() {
  SetSettingsFilePath(Dir.FileS("tool.ini"));
  Sim = std::make_unique<ReceiverSim>();
  WatchModals();
}

void MainWindowTest::TearDown() {
  Modals->Alive = false;
  FreeWindows();
  ProcessPendingEvents();
  SetSettingsFilePath(String());
  Sim.reset();
}

void MainWindowTest::WatchModals() {
  std::weak_ptr<ModalLog> log = Modals;
  WhenModal(
      [this, log](const String& Text) {
        auto l = log.lock();
        if (!l || !l->Alive) return;
        WatchModals();  // first, so that a window the step opens is seen too
        if (!l->Handling.empty() && l->Handling.back() == Text) return;  // its step is at work
        l->Texts.push_back(Text);
        if (l->Next.empty()) {
          CloseModal();
          return;
        }
        auto step = std::move(l->Next.front());
        l->Next.pop_front();
        l->Handling.push_back(Text);
        step(Text);
        l->Handling.pop_back();
      },
      60000);
}

void MainWindowTest::Start() {
  if (!SettingsText.empty()) Dir.Write("tool.ini", SettingsText);
  StartUp();
  ProcessPendingEvents();
}

void MainWindowTest::Click(TControl* Control) {
  SimulateClick(Control, Control->Width() / 2, Control->Height() / 2);
  ProcessPendingEvents();
}

void MainWindowTest::AcknowledgeNotice() {
  Click(Caution1Form->BitBtn1);
  ASSERT_TRUE(M()->Enabled());
}

void MainWindowTest::ChooseModel(int Row) {
  M()->ComboBox5->SetFocus();
  for (int i = 0; i <= Row; ++i) SimulateKeyStroke(M()->ComboBox5, VK_DOWN);
  ProcessPendingEvents();
  ASSERT_EQ(M()->ComboBox5->ItemIndex(), Row);
}

void MainWindowTest::OpenPort() {
  M()->ComPort1->SetPort(UTF8ToString(Sim->Path()));
  Click(M()->VrDemoButton3);
  ASSERT_TRUE(M()->ComPort1->Connected());
  ASSERT_TRUE(Until([&] { return !Sim->Lines().empty(); }));
}

void MainWindowTest::StartConnected() {
  Start();
  AcknowledgeNotice();
  ChooseModel(0);
  OpenPort();
  // The reply to "ID ALL /R" is decoded before the test goes on.
  ASSERT_TRUE(UntilMemo1Has(u"*No ID\r\n"));
  ASSERT_TRUE(Until([&] { return M()->Link.RxCount == 0 && M()->Link.ParserState == 0; }));
  Sim->ClearLines();
}

bool MainWindowTest::Until(const std::function<bool()>& Predicate, int TimeoutMs) {
  return WaitUntil(Predicate, TimeoutMs);
}

bool MainWindowTest::UntilMemo1Has(const String& Text) {
  return Until([&] { return M()->Memo1->Text().find(Text) != String::npos; });
}

std::vector<std::string> MainWindowTest::ReceivedLines(size_t Count) {
  Until([&] { return Sim->Lines().size() >= Count; });
  return Sim->Lines();
}
