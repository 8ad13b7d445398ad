// Window-procedure hooks: a list of hook procedures run for each message delivered on the GUI thread.

#include "platform/win/Hooks_p.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <thread>
#include <vector>

struct HHOOK__ {
  HOOKPROC proc;
  bool removed = false;
};

namespace {
std::vector<HHOOK>& Hooks() {
  static std::vector<HHOOK> hooks;  // newest first
  return hooks;
}
// The hook whose procedure runs, so that CallNextHookEx finds the next one.
thread_local size_t gCurrent = 0;
int gDepth = 0;  // chains being walked; removed hooks are freed when none is
}  // namespace

namespace {
bool OnGuiThread() {
  QCoreApplication* app = QCoreApplication::instance();
  return app == nullptr || QThread::currentThread() == app->thread();
}
}  // namespace

DWORD GetCurrentThreadId() {
  return static_cast<DWORD>(std::hash<std::thread::id>()(std::this_thread::get_id()));
}

HHOOK SetWindowsHookEx(int idHook, HOOKPROC lpfn, HINSTANCE, DWORD dwThreadId) {
  if (idHook != WH_CALLWNDPROC || lpfn == nullptr || !OnGuiThread() || dwThreadId != GetCurrentThreadId())
    return nullptr;
  auto* h = new HHOOK__{lpfn};
  Hooks().insert(Hooks().begin(), h);
  return h;
}

BOOL UnhookWindowsHookEx(HHOOK hhk) {
  auto& hooks = Hooks();
  auto it = std::find(hooks.begin(), hooks.end(), hhk);
  if (it == hooks.end() || hhk->removed) return FALSE;
  hhk->removed = true;  // freed once no chain walks over it
  if (gDepth == 0) {
    hooks.erase(it);
    delete hhk;
  }
  return TRUE;
}

namespace {

LRESULT RunFrom(size_t index, int nCode, WPARAM wParam, LPARAM lParam) {
  auto& hooks = Hooks();
  while (index < hooks.size() && hooks[index]->removed) ++index;
  if (index >= hooks.size()) return 0;
  size_t saved = gCurrent;
  gCurrent = index;
  LRESULT r = hooks[index]->proc(nCode, wParam, lParam);
  gCurrent = saved;
  return r;
}

void Sweep() {
  auto& hooks = Hooks();
  for (auto it = hooks.begin(); it != hooks.end();) {
    if ((*it)->removed) {
      delete *it;
      it = hooks.erase(it);
    } else {
      ++it;
    }
  }
}
}  // namespace

LRESULT CallNextHookEx(HHOOK, int nCode, WPARAM wParam, LPARAM lParam) {
  if (gDepth == 0) return 0;
  return RunFrom(gCurrent + 1, nCode, wParam, lParam);
}

void CallWndProcHooks(HWND wnd, const TMessage& msg) {
  if (Hooks().empty() || !OnGuiThread()) return;
  CWPSTRUCT cwp{msg.LParam, msg.WParam, msg.Msg, wnd};
  ++gDepth;
  try {
    RunFrom(0, HC_ACTION, 0, reinterpret_cast<LPARAM>(&cwp));
  } catch (...) {
    --gDepth;
    if (gDepth == 0) Sweep();
    throw;
  }
  --gDepth;
  if (gDepth == 0) Sweep();
}
