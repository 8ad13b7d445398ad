#pragma once
// Private to platform/: the message delivery's side of the window-procedure hooks.

#include "platform/win/Hooks.h"

// Runs the installed WH_CALLWNDPROC hooks for a message about to reach the window (GUI thread).
void CallWndProcHooks(HWND wnd, const TMessage& msg);
