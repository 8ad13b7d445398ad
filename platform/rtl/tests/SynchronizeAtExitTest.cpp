// A process ends even while a thread still waits in Synchronize for the main thread.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/rtl/Classes.h"

namespace {

class TWaitingThread : public TThread {
public:
  std::atomic<bool> Waiting{false};

protected:
  void Execute() override {
    Waiting = true;
    Synchronize([] {});  // the main thread never runs it
  }
};

}  // namespace

TEST(SynchronizeAtExit, ProcessEndsWhileAThreadWaitsInSynchronize) {
  pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    SetMainThread();
    auto* t = new TWaitingThread;  // left running on purpose
    t->Start();
    while (!t->Waiting) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::exit(0);
  }
  int status = 0;
  pid_t done = 0;
  for (int i = 0; i < 1000 && done == 0; ++i) {
    done = ::waitpid(pid, &status, WNOHANG);
    if (done == 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (done == 0) ::kill(pid, SIGKILL), ::waitpid(pid, &status, 0);
  EXPECT_NE(done, 0) << "the process hung at exit";
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}
