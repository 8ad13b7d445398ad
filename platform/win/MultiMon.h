#pragma once
// Monitors: the screens of the desktop, each with its bounds and its work area (the bounds
// less panels and docks), in one coordinate space where the primary monitor's top-left is
// (0, 0) and others may lie at negative coordinates.

#include "platform/win/Windows.h"

struct HMONITOR__;
using HMONITOR = HMONITOR__*;

// What the MonitorFrom calls answer when no monitor holds the point, rectangle or window.
constexpr DWORD MONITOR_DEFAULTTONULL = 0;
constexpr DWORD MONITOR_DEFAULTTOPRIMARY = 1;
constexpr DWORD MONITOR_DEFAULTTONEAREST = 2;
constexpr DWORD MONITORINFOF_PRIMARY = 1;

struct MONITORINFO {
  DWORD cbSize = sizeof(MONITORINFO);
  RECT rcMonitor;
  RECT rcWork;
  DWORD dwFlags = 0;
};

// The monitor holding the point; otherwise by dwFlags: none, the primary, or the one nearest.
HMONITOR MonitorFromPoint(POINT pt, DWORD dwFlags);
// The monitor sharing the largest area with the rectangle; otherwise as for a point.
HMONITOR MonitorFromRect(const RECT* lprc, DWORD dwFlags);
// The monitor of the window's outer rectangle.
HMONITOR MonitorFromWindow(HWND hwnd, DWORD dwFlags);
// False for a handle no monitor has (any more).
BOOL GetMonitorInfo(HMONITOR hMonitor, MONITORINFO* lpmi);
inline BOOL GetMonitorInfoW(HMONITOR m, MONITORINFO* mi) { return GetMonitorInfo(m, mi); }
using MONITORENUMPROC = BOOL (*)(HMONITOR, HDC, RECT*, LPARAM);
// Calls lpfnEnum for each monitor (crossing lprcClip when given), the primary first, until it
// answers FALSE. The device context is always null here.
BOOL EnumDisplayMonitors(HDC hdc, const RECT* lprcClip, MONITORENUMPROC lpfnEnum, LPARAM dwData);
