#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/SyncObjs.h"

using namespace std::chrono_literals;

namespace {

// Pumps the main thread's queue until Done() holds or a generous deadline passes.
template <typename Pred>
bool PumpUntil(Pred Done, std::chrono::milliseconds limit = 10s) {
  auto deadline = std::chrono::steady_clock::now() + limit;
  while (!Done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    CheckSynchronize(10);
  }
  return true;
}

}  // namespace

TEST(Threads, TheTestProcessRunsOnTheMainThread) {
  EXPECT_TRUE(IsMainThread());
  EXPECT_EQ(MainThreadID(), GetCurrentThreadID());
  EXPECT_FALSE(CheckSynchronize(0));
}

TEST(Threads, SynchronizeRunsOnTheMainThreadAndTheWorkerWaitsForIt) {
  std::atomic<TThreadID> ranOn{0};
  std::atomic<bool> workerSawResult{false};
  int value = 0;  // touched on the main thread only, read by the worker after the hand-over
  TAnonymousThread worker([&](TThread* self) {
    TThread::Synchronize([&] {
      ranOn = GetCurrentThreadID();
      value = 42;
    });
    workerSawResult = value == 42;
    self->SetReturnValue(7);
  });
  worker.Start();
  EXPECT_NE(worker.ThreadID(), GetCurrentThreadID());
  ASSERT_TRUE(PumpUntil([&] { return worker.Finished(); }));
  EXPECT_EQ(worker.WaitFor(), 7);
  EXPECT_EQ(ranOn.load(), MainThreadID());
  EXPECT_TRUE(workerSawResult);
}

TEST(Threads, AnExceptionOfASynchronizedCallIsRaisedInTheWorker) {
  std::atomic<bool> caught{false};
  TAnonymousThread worker([&](TThread*) {
    try {
      TThread::Synchronize([] { throw EConvertError(u"bad"); });
    } catch (const EConvertError& e) {
      caught = e.Message() == u"bad";
    }
  });
  worker.Start();
  worker.WaitFor();  // on the main thread the wait itself serves the call
  EXPECT_TRUE(caught);
}

TEST(Threads, WakeMainThreadHookIsCalledForEveryHandOver) {
  TEvent wake(false, false);
  WakeMainThread = [&] { wake.SetEvent(); };
  std::vector<int> order;
  TAnonymousThread worker([&](TThread*) {
    TThread::Queue([&] { order.push_back(1); });
    TThread::Synchronize([&] { order.push_back(2); });
  });
  worker.Start();
  // Run the queue only when woken, as the GUI layer does.
  auto deadline = std::chrono::steady_clock::now() + 10s;
  while (order.size() < 2 && std::chrono::steady_clock::now() < deadline)
    if (wake.WaitFor(100) == wrSignaled) CheckSynchronize(0);
  WakeMainThread = nullptr;
  worker.WaitFor();
  EXPECT_EQ(order, (std::vector<int>{1, 2}));
}

TEST(Threads, CallsMadeOnTheMainThreadRunAtOnce) {
  int n = 0;
  TThread::Synchronize([&] { ++n; });
  TThread::Queue([&] { ++n; });
  EXPECT_EQ(n, 2);
  EXPECT_FALSE(CheckSynchronize(0));
}

TEST(Threads, ARunningThreadIsTerminatedAndWaitedForOnDestruction) {
  std::atomic<bool> started{false}, leftLoop{false};
  {
    TAnonymousThread worker([&](TThread* self) {
      started = true;
      while (!self->Terminated()) std::this_thread::sleep_for(1ms);
      leftLoop = true;
    });
    worker.Start();
    while (!started) std::this_thread::sleep_for(1ms);
  }
  EXPECT_TRUE(leftLoop);
}

// A thread class written the way the header asks: it stops itself first in its destructor.
class CountingThread : public TThread {
public:
  explicit CountingThread(std::atomic<int>& destroyed) : TThread(true), destroyed_(destroyed) {}
  ~CountingThread() override {
    TerminateAndWait();
    ++destroyed_;
  }
  std::atomic<bool> started{false};
  std::atomic<bool>* leftLoop = nullptr;  // set when Execute has returned

protected:
  void Execute() override {
    started = true;
    while (!Terminated()) std::this_thread::sleep_for(1ms);
    std::this_thread::sleep_for(20ms);  // a slow wind-down the destructor must wait for
    if (leftLoop) *leftLoop = true;
  }

private:
  std::atomic<int>& destroyed_;
};

TEST(Threads, DeletingARunningThreadObjectStopsItFirst) {
  std::atomic<int> destroyed{0};
  std::atomic<bool> leftLoop{false};
  auto* t = new CountingThread(destroyed);
  t->leftLoop = &leftLoop;
  t->Start();
  while (!t->started) std::this_thread::sleep_for(1ms);
  delete t;
  EXPECT_TRUE(leftLoop);
  EXPECT_EQ(destroyed, 1);
}

TEST(Threads, OnTerminateRunsOnTheMainThreadAndFreeOnTerminateFreesTheObject) {
  std::atomic<int> destroyed{0};
  std::atomic<TThreadID> terminateRanOn{0};
  auto* t = new CountingThread(destroyed);
  t->SetFreeOnTerminate(true);
  t->OnTerminate = [&](TObject*) { terminateRanOn = GetCurrentThreadID(); };
  t->Start();
  t->Terminate();
  ASSERT_TRUE(PumpUntil([&] { return destroyed.load() == 1; }));
  EXPECT_EQ(terminateRanOn.load(), MainThreadID());
}

TEST(Threads, ExceptionEndingExecuteIsKeptAsFatalException) {
  TAnonymousThread worker([](TThread*) { throw std::runtime_error("boom"); });
  worker.Start();
  worker.WaitFor();
  EXPECT_TRUE(worker.Finished());
  ASSERT_TRUE(worker.FatalException());
  EXPECT_THROW(std::rethrow_exception(worker.FatalException()), std::runtime_error);
}

TEST(Threads, AnExceptionOfAQueuedCallLeavesCheckSynchronizeAndKeepsTheRest) {
  int ran = 0;
  TAnonymousThread worker([&](TThread*) {
    TThread::Queue([] { throw EAbort(u"queued"); });
    TThread::Queue([&] { ++ran; });
  });
  worker.Start();
  worker.WaitFor();
  EXPECT_THROW(CheckSynchronize(1000), EAbort);
  EXPECT_TRUE(CheckSynchronize(0));
  EXPECT_EQ(ran, 1);
}

TEST(Threads, WaitForOnAThreadNeverStartedRaises) {
  TAnonymousThread idle([](TThread*) {});
  EXPECT_TRUE(idle.Suspended());
  EXPECT_THROW(idle.WaitFor(), EThread);
}

// ---------------------------------------------------------------------------
// Events and critical sections

TEST(Events, ManualResetStaysSignalledAutoResetReleasesOneWait) {
  struct Case {
    bool manual;
    TWaitResult second;
  };
  for (Case c : {Case{true, wrSignaled}, Case{false, wrTimeout}}) {
    TEvent e(c.manual, false);
    EXPECT_EQ(e.WaitFor(0), wrTimeout) << c.manual;
    e.SetEvent();
    EXPECT_EQ(e.WaitFor(0), wrSignaled) << c.manual;
    EXPECT_EQ(e.WaitFor(0), c.second) << c.manual;
    e.SetEvent();
    e.ResetEvent();
    EXPECT_EQ(e.WaitFor(0), wrTimeout) << c.manual;
  }
  TEvent initially(true, true);
  EXPECT_EQ(initially.WaitFor(0), wrSignaled);
}

TEST(Events, ATimedWaitLastsItsTimeout) {
  TSimpleEvent e;
  auto t0 = std::chrono::steady_clock::now();
  EXPECT_EQ(e.WaitFor(60), wrTimeout);
  EXPECT_GE(std::chrono::steady_clock::now() - t0, 55ms);
}

TEST(Events, SetEventFromAnotherThreadReleasesAnInfiniteWait) {
  TEvent e(false, false);
  std::thread setter([&] {
    std::this_thread::sleep_for(20ms);
    e.SetEvent();
  });
  EXPECT_EQ(e.WaitFor(INFINITE), wrSignaled);
  setter.join();
}

TEST(Events, AutoResetEventReleasesOneWaiterPerSet) {
  TEvent e(false, false);
  std::atomic<int> released{0};
  std::vector<std::thread> waiters;
  for (int i = 0; i < 2; ++i)
    waiters.emplace_back([&] {
      if (e.WaitFor(20000) == wrSignaled) ++released;
    });
  e.SetEvent();
  auto deadline = std::chrono::steady_clock::now() + 10s;
  while (released < 1 && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(1ms);
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(released, 1);
  e.SetEvent();
  for (auto& w : waiters) w.join();
  EXPECT_EQ(released, 2);
}

TEST(CriticalSection, IsRecursiveForItsOwnerAndExcludesOthers) {
  TCriticalSection cs;
  cs.Enter();
  cs.Acquire();
  bool otherGot = true;
  std::thread([&] { otherGot = cs.TryEnter(); }).join();
  EXPECT_FALSE(otherGot);
  cs.Release();
  cs.Leave();
  std::thread([&] {
    otherGot = cs.TryEnter();
    if (otherGot) cs.Leave();
  }).join();
  EXPECT_TRUE(otherGot);
}
