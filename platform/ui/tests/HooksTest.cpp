#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/ui/Forms.h"
#include "platform/win/Hooks.h"
#include "testing/TestSupport.h"

namespace {

struct TSeen {
  HWND Wnd;
  UINT Msg;
};
std::vector<TSeen> gFirst, gSecond;
HHOOK gFirstHook = nullptr, gSecondHook = nullptr;

LRESULT FirstHook(int Code, WPARAM wParam, LPARAM lParam) {
  auto* cwp = reinterpret_cast<CWPSTRUCT*>(lParam);
  gFirst.push_back({cwp->hwnd, cwp->message});
  return CallNextHookEx(gFirstHook, Code, wParam, lParam);
}
LRESULT SecondHook(int Code, WPARAM wParam, LPARAM lParam) {
  auto* cwp = reinterpret_cast<CWPSTRUCT*>(lParam);
  gSecond.push_back({cwp->hwnd, cwp->message});
  return CallNextHookEx(gSecondHook, Code, wParam, lParam);
}

bool Saw(const std::vector<TSeen>& Seen, HWND Wnd, UINT Msg) {
  for (const auto& s : Seen)
    if (s.Wnd == Wnd && s.Msg == Msg) return true;
  return false;
}

}  // namespace

TEST(WindowHooks, ChainedHooksSeeSentMessagesAndTheWindowSystemsResizeUntilRemoved) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(50, 50, 300, 200);
  form->Show();
  ProcessPendingEvents();
  HWND wnd = form->Handle();
  gFirst.clear();
  gSecond.clear();
  gFirstHook = SetWindowsHookEx(WH_CALLWNDPROC, FirstHook, nullptr, GetCurrentThreadId());
  gSecondHook = SetWindowsHookEx(WH_CALLWNDPROC, SecondHook, nullptr, GetCurrentThreadId());
  ASSERT_NE(gFirstHook, nullptr);
  // Only this thread's window-procedure hooks are kept.
  EXPECT_EQ(SetWindowsHookEx(WH_CALLWNDPROC + 1, FirstHook, nullptr, GetCurrentThreadId()), nullptr);

  SendMessage(wnd, WM_USER + 7, 0, 0);
  EXPECT_TRUE(Saw(gFirst, wnd, WM_USER + 7));
  EXPECT_TRUE(Saw(gSecond, wnd, WM_USER + 7));  // the newest hook passed it on

  form->SetWidth(360);
  ProcessPendingEvents();
  EXPECT_TRUE(Saw(gFirst, wnd, WM_SIZE));

  EXPECT_TRUE(UnhookWindowsHookEx(gSecondHook));
  EXPECT_FALSE(UnhookWindowsHookEx(gSecondHook));
  gFirst.clear();
  gSecond.clear();
  SendMessage(wnd, WM_USER + 8, 0, 0);
  EXPECT_TRUE(Saw(gFirst, wnd, WM_USER + 8));
  EXPECT_TRUE(gSecond.empty());
  EXPECT_TRUE(UnhookWindowsHookEx(gFirstHook));
}
