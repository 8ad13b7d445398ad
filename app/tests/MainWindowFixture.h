#pragma once
// The tool as the operator meets it: the real start-up with all fourteen windows, a
// settings file of the test's own, the software receiver on a pty as the port, and
// helpers that act through real input where the operator would.

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "testing/ReceiverSim.h"
#include "app/AppSettings.h"
#include "app/Caution.h"
#include "app/ComSetDialog.h"
#include "app/Main.h"
#include "app/OtherForms.h"
#include "app/StartUp.h"
#include "testing/TempFolder.h"
#include "testing/TestSupport.h"

// Modal windows that came up: each is handed to the next queued step, or, with none
// queued, answered as its close box would.
struct ModalLog {
  bool Alive = true;
  std::vector<String> Texts;
  std::deque<std::function<void(const String&)>> Next;
  std::vector<String> Handling;  // windows whose step is running, innermost last
};

class MainWindowTest : public ::testing::Test {
protected:
  // The settings file the tool reads; written before start-up unless a test changes it.
  std::string SettingsText = "[Application]\r\nAppIcon=rcv910x.ico\r\n[Information]\r\ndestination=Japan\r\n";

  TempFolder Dir;
  std::unique_ptr<ReceiverSim> Sim;
  std::shared_ptr<ModalLog> Modals = std::make_shared<ModalLog>();

  void SetUp() override;
  void TearDown() override;

  // Starts the tool as the program entry does (without running the loop).
  void Start();
  // Presses "O K" on the start-up notice.
  void AcknowledgeNotice();
  // Picks a model in the model list with the keyboard, as the operator would.
  void ChooseModel(int Row = 0);
  // Points the port at the software receiver and presses the port button; waits until
  // the connection's first line ("ID ALL /R") reached the receiver.
  void OpenPort();
  // Start, acknowledge, choose the first model, open the port and clear what came so far.
  void StartConnected();
  // Frees the windows as the application object does at the program's end (the main window
  // last) and clears their references; the application object stays.
  void FreeWindows();

  void Click(TControl* Control);
  // Runs the loop until Predicate holds (10 s at most).
  bool Until(const std::function<bool()>& Predicate, int TimeoutMs = 10000);
  // Runs the loop until Memo1 holds Text.
  bool UntilMemo1Has(const String& Text);
  // The lines the receiver got, waiting for at least Count of them.
  std::vector<std::string> ReceivedLines(size_t Count);

  // Records every modal window's text and hands it to the next queued step or closes it.
  void WatchModals();
  // The step that handles the next modal window (it runs inside that window's loop).
  void OnNextModal(std::function<void(const String&)> Step) { Modals->Next.push_back(std::move(Step)); }

  TMainForm* M() const { return MainForm; }
};
