#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <iterator>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/ui/Forms.h"
#include "platform/win/WinUser.h"

namespace {

// Pumps Qt until cond holds or a generous deadline passes.
template <typename F>
bool PumpUntil(F cond, int ms = 10000) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!cond() && std::chrono::steady_clock::now() < end) {
    Application->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return cond();
}

}  // namespace

TEST(WinUser, SendMessageFromWorkerBlocksUntilTheGuiThreadHandledIt) {
  std::atomic<bool> handled{false};
  bool wasInSend = false;
  HWND wnd = AllocateHWnd([&](TMessage& m) {
    if (m.Msg == WM_USER + 1) {
      wasInSend = InSendMessage() != 0;
      handled = true;
      m.Result = static_cast<LRESULT>(m.WParam * 2);
    }
  });
  std::atomic<LRESULT> result{-1};
  std::atomic<bool> returned{false};
  std::thread worker([&] {
    result = SendMessage(wnd, WM_USER + 1, 21, 0);
    returned = true;
  });
  // The worker cannot return before the GUI thread runs the handler.
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(returned);
  ASSERT_TRUE(PumpUntil([&] { return returned.load(); }));
  worker.join();
  EXPECT_TRUE(handled);
  EXPECT_TRUE(wasInSend);
  EXPECT_EQ(result, 42);
  DeallocateHWnd(wnd);
}

TEST(WinUser, ReplyMessageReleasesTheSenderBeforeTheHandlerEnds) {
  std::atomic<bool> returned{false};
  bool releasedDuringHandler = false;
  HWND wnd = AllocateHWnd([&](TMessage& m) {
    if (m.Msg != 1025) return;
    EXPECT_EQ(ReplyMessage(7), 1);
    EXPECT_EQ(ReplyMessage(8), 0);  // only once
    // The handler goes on while the worker is already free.
    releasedDuringHandler = PumpUntil([&] { return returned.load(); }, 5000);
    m.Result = 99;  // too late: the sender has its answer
  });
  std::atomic<LRESULT> result{-1};
  std::thread worker([&] {
    result = SendMessage(wnd, 1025, 1, 0);
    returned = true;
  });
  ASSERT_TRUE(PumpUntil([&] { return returned.load(); }));
  worker.join();
  EXPECT_TRUE(releasedDuringHandler);
  EXPECT_EQ(result, 7);
  EXPECT_EQ(ReplyMessage(0), 0);  // not inside a sent message
  DeallocateHWnd(wnd);
}

TEST(WinUser, SendToADestroyedWindowAnswersZeroAndPostedMessagesArriveInOrder) {
  std::vector<UINT> got;
  HWND wnd = AllocateHWnd([&](TMessage& m) { got.push_back(m.Msg); });
  EXPECT_TRUE(PostMessage(wnd, 1124, 0, 0));
  EXPECT_TRUE(PostMessage(wnd, 1125, 0, 0));
  EXPECT_TRUE(got.empty());  // posted: not yet
  ASSERT_TRUE(PumpUntil([&] { return got.size() == 2; }));
  EXPECT_EQ(got, (std::vector<UINT>{1124, 1125}));

  EXPECT_TRUE(PostMessage(wnd, 1126, 0, 0));
  DeallocateHWnd(wnd);  // a message still queued is dropped
  Application->ProcessMessages();
  EXPECT_EQ(got.size(), 2u);
  EXPECT_FALSE(IsWindow(wnd));
  EXPECT_FALSE(PostMessage(wnd, 1, 0, 0));
  std::atomic<LRESULT> r{-1};
  std::thread([&] { r = SendMessage(wnd, 1, 0, 0); }).join();
  EXPECT_EQ(r, 0);
}

// A sender waiting on the GUI thread is released with 0, without its handler running, when its
// window goes or when the message loop has ended; after the loop's end later sends answer 0 at once.
TEST(WinUser, PendingSendAnswersZeroWhenItsWindowGoesOrTheLoopHasEnded) {
  struct Case {
    const char* Name;
    std::function<void(HWND)> End;
    bool WindowGoes;
  };
  const Case cases[] = {
      {"window destroyed", [](HWND wnd) { DeallocateHWnd(wnd); }, true},
      {"loop ended", [](HWND) { HandleSentMessages(false); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    std::atomic<int> handled{0};
    HWND wnd = AllocateHWnd([&](TMessage& m) {
      if (m.Msg != WM_USER) return;
      ++handled;
      m.Result = 5;
    });
    std::atomic<bool> returned{false};
    std::atomic<LRESULT> result{-1};
    std::thread sender([&] {
      result = SendMessage(wnd, WM_USER, 0, 0);
      returned = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(30));  // let it queue and wait
    c.End(wnd);
    // No message handling from here on: the sender must come back by itself.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!returned && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_TRUE(returned) << "the sender still waits";
    sender.join();
    EXPECT_EQ(result, 0);
    Application->ProcessMessages();
    EXPECT_EQ(handled, 0);
    if (c.WindowGoes) continue;

    std::atomic<LRESULT> late{-1};
    std::thread([&] { late = SendMessage(wnd, WM_USER, 0, 0); }).join();  // answered at once
    EXPECT_EQ(late, 0);
    HandleSentMessages(true);
    std::thread again([&] { late = SendMessage(wnd, WM_USER, 0, 0); });
    EXPECT_TRUE(PumpUntil([&] { return late.load() == 5; }));
    again.join();
    EXPECT_EQ(handled, 1);
    DeallocateHWnd(wnd);
  }
}

TEST(WinUserDeathTest, ProcessEndsWhileAThreadWaitsInSendMessage) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        ::alarm(30);  // a hang ends the child with SIGALRM
        static std::atomic<bool> sending{false};
        static HWND wnd = AllocateHWnd([](TMessage&) {});
        std::thread([] {
          sending = true;
          SendMessage(wnd, WM_USER, 0, 0);  // the GUI thread never handles it
        }).detach();
        while (!sending) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST(WinUser, MainThreadWaitingForAWorkerHandlesWhatTheWorkerSendsMeanwhile) {
  // As a port closing its event thread: the main thread waits in WaitFor while the
  // thread is blocked sending to a window of the main thread (and synchronising).
  std::vector<WPARAM> got;
  int synced = 0;
  HWND wnd = AllocateHWnd([&](TMessage& m) {
    if (m.Msg != 1025) return;
    got.push_back(m.WParam);
    m.Result = 1;
  });
  std::atomic<int> answered{0};
  TAnonymousThread worker([&](TThread*) {
    for (WPARAM i = 0; i < 200; ++i) {
      answered += static_cast<int>(SendMessage(wnd, 1025, i, 0));
      if (i % 50 == 0) TThread::Synchronize([&] { ++synced; });
    }
  });
  worker.Start();
  worker.WaitFor();
  EXPECT_EQ(answered, 200);
  ASSERT_EQ(got.size(), 200u);
  for (WPARAM i = 0; i < got.size(); ++i) EXPECT_EQ(got[i], i);
  EXPECT_EQ(synced, 4);
  DeallocateHWnd(wnd);
}

TEST(WinUser, WindowTimerDeliversWmTimerUntilKilled) {
  std::vector<WPARAM> ids;
  HWND wnd = AllocateHWnd([&](TMessage& m) {
    if (m.Msg == WM_TIMER) ids.push_back(m.WParam);
  });
  EXPECT_EQ(SetTimer(wnd, 5, 10), 5u);
  ASSERT_TRUE(PumpUntil([&] { return ids.size() >= 2; }));
  EXPECT_EQ(ids[0], 5u);
  EXPECT_TRUE(KillTimer(wnd, 5));
  EXPECT_FALSE(KillTimer(wnd, 5));
  size_t n = ids.size();
  PumpUntil([] { return false; }, 60);
  EXPECT_EQ(ids.size(), n);
  DeallocateHWnd(wnd);
}

TEST(WinUser, RegisteredMessagesAreStablePerName) {
  UINT a = RegisterWindowMessage(u"GridEditDone");
  EXPECT_GE(a, 0xC000u);
  EXPECT_EQ(RegisterWindowMessage(u"GridEditDone"), a);
  EXPECT_NE(RegisterWindowMessage(u"DTPShiftFocus"), a);
  EXPECT_EQ(RegisterWindowMessage(u""), 0u);
}

TEST(WinUser, CursorsAreDestroyedOnceAndOnlyWhenCreatedHere) {
  uint8_t andPlane[2 * 16], xorPlane[2 * 16];
  std::fill(std::begin(andPlane), std::end(andPlane), uint8_t(0xFF));
  std::fill(std::begin(xorPlane), std::end(xorPlane), uint8_t(0));
  HCURSOR a = CreateCursor(nullptr, 1, 2, 16, 16, andPlane, xorPlane);
  HCURSOR b = CreateCursor(nullptr, 0, 0, 16, 16, andPlane, xorPlane);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, a);
  EXPECT_EQ(DestroyCursor(a), 1);
  EXPECT_EQ(DestroyCursor(a), 0);  // a second destroy frees nothing twice
  EXPECT_EQ(DestroyCursor(nullptr), 0);
  // b is left for the process's end, which frees it (the sanitizer run finds no leak).
}
