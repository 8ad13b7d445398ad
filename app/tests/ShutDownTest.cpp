// The program's end: the windows go with the application object, the main window last; its
// FormDestroy closes the port, so the device is free again and no thread holds up the exit.
#include <unistd.h>

#include <chrono>
#include <thread>

#include "MainWindowFixture.h"
#include "platform/win/Comm.h"

namespace {

// What the main window's destruction showed.
struct DestroyLog {
  bool Ran = false;
  bool WholeWindow = false;  // FormDestroy saw the main window with its own state still there
  bool PortClosed = false;
  int FormsLeft = -1;
};

// Wraps the main window's OnDestroy (FormDestroy) to see what it left behind.
void WatchFormDestroy(TMainForm* Form, DestroyLog& Log) {
  TNotifyEvent formDestroy = Form->OnDestroy;
  Form->OnDestroy = [Form, &Log, formDestroy](TObject* Sender) {
    Log.WholeWindow = dynamic_cast<TMainForm*>(Sender) != nullptr;
    formDestroy(Sender);
    Log.Ran = true;
    Log.PortClosed = !Form->ComPort1->Connected();
    Log.FormsLeft = Screen->FormCount();
  };
}

// True when the device can be opened for exclusive use, i.e. no port holds it.
bool DeviceIsFree(const std::string& Path) {
  HANDLE h = CreateFileW(UTF8ToString(Path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                         FILE_FLAG_OVERLAPPED, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

}  // namespace

TEST_F(MainWindowTest, FreeingTheWindowsRunsFormDestroyWhichClosesThePort) {
  StartConnected();
  ASSERT_FALSE(DeviceIsFree(Sim->Path()));  // held by the open port
  DestroyLog log;
  WatchFormDestroy(M(), log);
  // A reply arrives as the tool closes: its line event is in flight during the teardown.
  Sim->Send("*No ID\r\n");
  std::this_thread::sleep_for(std::chrono::milliseconds(20));

  FreeWindows();

  EXPECT_TRUE(log.Ran);
  EXPECT_TRUE(log.WholeWindow) << "FormDestroy ran on a half-destroyed window";
  EXPECT_TRUE(log.PortClosed) << "FormDestroy left the port open";
  EXPECT_EQ(log.FormsLeft, 1) << "the main window goes last";
  EXPECT_EQ(Screen->FormCount(), 0);
  EXPECT_TRUE(DeviceIsFree(Sim->Path()));
}

TEST_F(MainWindowTest, ToolEndsPromptlyWhenClosedWithThePortOpenAndDataArriving) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        ::alarm(60);  // a hang ends the child with SIGALRM instead of holding up the suite
        StartConnected();
        DestroyLog log;
        WatchFormDestroy(M(), log);
        // The receiver keeps talking while the tool closes.
        ReceiverSim* sim = Sim.get();
        std::thread([sim] {
          for (;;) {
            sim->Send("*No ID\r\n");
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
          }
        }).detach();
        ASSERT_TRUE(UntilMemo1Has(u"*No ID\r\n*No ID\r\n"));
        // The close box of the main window, then what the program entry does.
        PostMessage(M()->Handle(), WM_CLOSE, 0, 0);
        Application->Run();
        ShutDown();
        int code = !log.Ran || !log.WholeWindow || !log.PortClosed || log.FormsLeft != 1 ? 2 : !DeviceIsFree(Sim->Path()) ? 3 : 0;
        std::exit(code);
      },
      ::testing::ExitedWithCode(0), "");
}
