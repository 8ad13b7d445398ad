// Closing an open filter list when the user presses outside it: the lists are child windows
// of the grid, so the window system tells them nothing; a hook on the program's messages sees
// every press and the form going inactive while a list is open.
#include <algorithm>
#include <vector>

#include "grid/AdvGrid.h"
#include "grid/AdvGridDropList.h"
#include "platform/win/Hooks.h"
#include "platform/win/Messages.h"

// One per grid that opened a filter list; leaves the watched grids when the grid goes.
class TFilterListWatch : public TComponent {
public:
  explicit TFilterListWatch(DEreDuzeroVaro* AGrid) : TComponent(AGrid), FGrid(AGrid) { Watches().push_back(this); }
  ~TFilterListWatch() override {
    auto& w = Watches();
    w.erase(std::remove(w.begin(), w.end(), this), w.end());
  }
  String ClassName() const override { return u"TFilterListWatch"; }
  static HHOOK& Hook() {
    static HHOOK h = nullptr;
    return h;
  }
  static LRESULT HookProc(int Code, WPARAM WParam, LPARAM LParam) {
    const LRESULT next = CallNextHookEx(Hook(), Code, WParam, LParam);
    if (Code != HC_ACTION) return next;
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(LParam);
    bool open = false;
    // A copy: closing a list never frees a watch, but stay safe against it.
    const std::vector<TFilterListWatch*> watches = Watches();
    for (TFilterListWatch* w : watches) open = w->FGrid->FilterListMessage(m->hwnd, m->message, m->wParam) || open;
    // No list open any more: the hook goes (a hook may remove itself while it runs).
    if (!open && Hook() != nullptr) {
      UnhookWindowsHookEx(Hook());
      Hook() = nullptr;
    }
    return next;
  }

private:
  static std::vector<TFilterListWatch*>& Watches() {
    static std::vector<TFilterListWatch*> w;
    return w;
  }
  DEreDuzeroVaro* FGrid;
};

namespace {

bool IsPress(UINT Msg) {
  switch (Msg) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
      return true;
    default:
      return false;
  }
}

// Whether Wnd is the open list or a window inside it.
bool InList(TWinControl* List, HWND Wnd) {
  return List != nullptr && List->HandleAllocated() && (Wnd == List->Handle() || IsChild(List->Handle(), Wnd));
}

}  // namespace

bool DEreDuzeroVaro::FilterListMessage(HWND Wnd, UINT Msg, WPARAM WParam) {
  TWinControl* open = FDropList != nullptr && FDropList->Visible() ? static_cast<TWinControl*>(FDropList)
                      : FDropCheckList != nullptr && FDropCheckList->Visible() ? FDropCheckList
                                                                                : nullptr;
  if (open == nullptr) return false;
  if (IsPress(Msg) && !(HandleAllocated() && Wnd == Handle()) && !InList(open, Wnd)) {
    CloseFilterLists();
    return false;
  }
  TCustomForm* form = GetParentForm(this);
  if (Msg == WM_ACTIVATE && LOWORD(WParam) == WA_INACTIVE && form != nullptr && form->HandleAllocated() &&
      Wnd == form->Handle()) {
    CloseFilterLists();
    return false;
  }
  return true;
}

void DEreDuzeroVaro::CloseFilterLists() {
  if (FDropList && FDropList->Visible()) FDropList->SetVisible(false);
  if (FDropCheckList && FDropCheckList->Visible()) FDropCheckList->SetVisible(false);
  FFilterCol = -1;
}

void DEreDuzeroVaro::WatchFilterListClose() {
  if (FFilterListWatch == nullptr) FFilterListWatch = new TFilterListWatch(this);
  if (TFilterListWatch::Hook() == nullptr)
    TFilterListWatch::Hook() = SetWindowsHookEx(WH_CALLWNDPROC, &TFilterListWatch::HookProc, nullptr, GetCurrentThreadId());
}
