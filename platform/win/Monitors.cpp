// Monitors over Qt's screens, or over a fixed layout that tests set.
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>

#include "platform/win/Monitors_p.h"
#include "platform/win/WinUser.h"
#include "platform/win/WinUser_p.h"

namespace {

std::vector<TMonitorLayout> gFixedLayout;

RECT RectOf(const QRect& r) { return Bounds(r.x(), r.y(), r.width(), r.height()); }

// A handle is the monitor's place in the list plus one.
HMONITOR HandleOf(size_t index) { return reinterpret_cast<HMONITOR>(static_cast<uintptr_t>(index + 1)); }

int64_t Area(const RECT& r) { return r.Right > r.Left && r.Bottom > r.Top ? int64_t(r.Right - r.Left) * (r.Bottom - r.Top) : 0; }

// Squared distance from a point to the nearest point of a rectangle (0 inside it).
int64_t Distance2(const RECT& r, POINT p) {
  int64_t dx = p.X < r.Left ? r.Left - p.X : p.X >= r.Right ? p.X - (r.Right - 1) : 0;
  int64_t dy = p.Y < r.Top ? r.Top - p.Y : p.Y >= r.Bottom ? p.Y - (r.Bottom - 1) : 0;
  return dx * dx + dy * dy;
}

// Squared gap between two rectangles (0 when they touch or overlap).
int64_t Gap2(const RECT& a, const RECT& b) {
  int64_t dx = std::max<int64_t>({0, int64_t(a.Left) - b.Right + 1, int64_t(b.Left) - a.Right + 1});
  int64_t dy = std::max<int64_t>({0, int64_t(a.Top) - b.Bottom + 1, int64_t(b.Top) - a.Bottom + 1});
  return dx * dx + dy * dy;
}

HMONITOR Fallback(const std::vector<TMonitorLayout>& monitors, DWORD flags, const std::function<int64_t(const RECT&)>& gap) {
  if (monitors.empty() || flags == MONITOR_DEFAULTTONULL) return nullptr;
  if (flags == MONITOR_DEFAULTTOPRIMARY) return HandleOf(0);
  size_t best = 0;
  int64_t bestGap = INT64_MAX;
  for (size_t i = 0; i < monitors.size(); ++i)
    if (int64_t g = gap(monitors[i].Bounds); g < bestGap) best = i, bestGap = g;
  return HandleOf(best);
}

}  // namespace

std::vector<TMonitorLayout> CurrentMonitors() {
  if (!gFixedLayout.empty()) return gFixedLayout;
  std::vector<TMonitorLayout> out;
  if (QGuiApplication::instance() == nullptr) return out;
  QScreen* primary = QGuiApplication::primaryScreen();
  if (primary != nullptr) out.push_back({RectOf(primary->geometry()), RectOf(primary->availableGeometry())});
  for (QScreen* s : QGuiApplication::screens())
    if (s != primary) out.push_back({RectOf(s->geometry()), RectOf(s->availableGeometry())});
  return out;
}

void SetMonitorLayout(std::vector<TMonitorLayout> Layout) { gFixedLayout = std::move(Layout); }

HMONITOR MonitorFromPoint(POINT pt, DWORD dwFlags) {
  std::vector<TMonitorLayout> monitors = CurrentMonitors();
  for (size_t i = 0; i < monitors.size(); ++i)
    if (monitors[i].Bounds.Contains(pt)) return HandleOf(i);
  return Fallback(monitors, dwFlags, [pt](const RECT& r) { return Distance2(r, pt); });
}

HMONITOR MonitorFromRect(const RECT* lprc, DWORD dwFlags) {
  if (lprc == nullptr) return nullptr;
  const RECT r = *lprc;
  std::vector<TMonitorLayout> monitors = CurrentMonitors();
  size_t best = 0;
  int64_t bestArea = 0;
  for (size_t i = 0; i < monitors.size(); ++i) {
    const RECT& b = monitors[i].Bounds;
    RECT common(std::max(b.Left, r.Left), std::max(b.Top, r.Top), std::min(b.Right, r.Right), std::min(b.Bottom, r.Bottom));
    if (int64_t a = Area(common); a > bestArea) best = i, bestArea = a;
  }
  if (bestArea > 0) return HandleOf(best);
  // An empty rectangle counts as its top-left point.
  if (Area(r) == 0) return MonitorFromPoint(r.TopLeft(), dwFlags);
  return Fallback(monitors, dwFlags, [r](const RECT& b) { return Gap2(r, b); });
}

HMONITOR MonitorFromWindow(HWND hwnd, DWORD dwFlags) {
  RECT r;
  if (hwnd == nullptr || !GetWindowRect(hwnd, &r))
    return dwFlags == MONITOR_DEFAULTTONULL || CurrentMonitors().empty() ? nullptr : HandleOf(0);
  return MonitorFromRect(&r, dwFlags);
}

BOOL GetMonitorInfo(HMONITOR hMonitor, MONITORINFO* lpmi) {
  if (lpmi == nullptr) return FALSE;
  const uintptr_t index = reinterpret_cast<uintptr_t>(hMonitor);
  std::vector<TMonitorLayout> monitors = CurrentMonitors();
  if (index == 0 || index > monitors.size()) return FALSE;
  lpmi->rcMonitor = monitors[index - 1].Bounds;
  lpmi->rcWork = monitors[index - 1].WorkArea;
  lpmi->dwFlags = index == 1 ? MONITORINFOF_PRIMARY : 0;
  return TRUE;
}

BOOL EnumDisplayMonitors(HDC, const RECT* lprcClip, MONITORENUMPROC lpfnEnum, LPARAM dwData) {
  if (lpfnEnum == nullptr) return FALSE;
  std::vector<TMonitorLayout> monitors = CurrentMonitors();
  for (size_t i = 0; i < monitors.size(); ++i) {
    RECT r = monitors[i].Bounds;
    if (lprcClip != nullptr) {
      r = RECT(std::max(r.Left, lprcClip->Left), std::max(r.Top, lprcClip->Top), std::min(r.Right, lprcClip->Right),
               std::min(r.Bottom, lprcClip->Bottom));
      if (Area(r) == 0) continue;
    }
    if (!lpfnEnum(HandleOf(i), nullptr, &r, dwData)) return FALSE;
  }
  return TRUE;
}
