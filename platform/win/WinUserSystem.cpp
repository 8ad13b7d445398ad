// System parameters, kept per process over Qt's UI effects.

#include <algorithm>
#include <vector>

#include <QApplication>

#include "platform/win/Monitors_p.h"
#include "platform/win/WinUser_p.h"

namespace {
bool HasQtApplication() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

// The program's menu animation setting: Qt's menu effect at first use (on before Qt runs); Qt
// also needs its general effects switched on to report it, so the setting is kept here as well.
bool& MenuAnimation() {
  static bool on = HasQtApplication() ? QApplication::isEffectEnabled(Qt::UI_AnimateMenu) : true;
  return on;
}
}  // namespace

BOOL SystemParametersInfo(UINT uiAction, UINT, void* pvParam, UINT fWinIni) {
  switch (uiAction) {
    case SPI_GETWORKAREA: {
      const std::vector<TMonitorLayout> monitors = CurrentMonitors();
      if (pvParam == nullptr || monitors.empty()) return FALSE;
      *static_cast<RECT*>(pvParam) = monitors[0].WorkArea;
      return TRUE;
    }
    case SPI_GETMENUANIMATION:
      if (pvParam == nullptr) return FALSE;
      *static_cast<BOOL*>(pvParam) = MenuAnimation() ? TRUE : FALSE;
      return TRUE;
    case SPI_SETMENUANIMATION:
      MenuAnimation() = pvParam != nullptr;
      if (HasQtApplication()) QApplication::setEffectEnabled(Qt::UI_AnimateMenu, MenuAnimation());
      break;
    default:
      return FALSE;
  }
  if (fWinIni & SPIF_SENDCHANGE) {
    std::vector<HWND> windows;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      HWND h = WindowOfWidget(w);
      if (h != nullptr && std::find(windows.begin(), windows.end(), h) == windows.end()) windows.push_back(h);
    }
    for (HWND h : windows)
      if (IsWindow(h)) SendMessage(h, WM_SETTINGCHANGE, uiAction, 0);
  }
  return TRUE;
}
