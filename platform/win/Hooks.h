#pragma once
// Window-procedure hooks of the GUI thread (WH_CALLWNDPROC): a hook procedure sees every
// message delivered to a window of the thread before that window's procedure runs. The
// window system's moves and resizes arrive as WM_MOVE and WM_SIZE.

#include "platform/win/WinUser.h"

struct HHOOK__;
using HHOOK = HHOOK__*;
using HINSTANCE = void*;

constexpr int WH_CALLWNDPROC = 4;
constexpr int HC_ACTION = 0;

// What a WH_CALLWNDPROC hook gets as lParam.
struct CWPSTRUCT {
  LPARAM lParam;
  WPARAM wParam;
  UINT message;
  HWND hwnd;
};

using HOOKPROC = LRESULT (*)(int nCode, WPARAM wParam, LPARAM lParam);

// The identifier of the calling thread.
DWORD GetCurrentThreadId();
// Installs a hook for the GUI thread. Only WH_CALLWNDPROC hooks of the GUI thread are kept;
// any other kind or thread answers null. hMod is ignored. The newest hook runs first.
HHOOK SetWindowsHookEx(int idHook, HOOKPROC lpfn, HINSTANCE hMod, DWORD dwThreadId);
inline HHOOK SetWindowsHookExW(int idHook, HOOKPROC lpfn, HINSTANCE hMod, DWORD dwThreadId) {
  return SetWindowsHookEx(idHook, lpfn, hMod, dwThreadId);
}
// Removes a hook; False when it is not installed. A hook may remove itself while it runs.
BOOL UnhookWindowsHookEx(HHOOK hhk);
// Passes the call on to the next hook of the chain; 0 at its end.
LRESULT CallNextHookEx(HHOOK hhk, int nCode, WPARAM wParam, LPARAM lParam);
