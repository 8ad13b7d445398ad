#pragma once
// Scroll bar information and the common controls' flat scroll bar interface: what a caller
// passes to "InitializeFlatSB", "UninitializeFlatSB", "FlatSB_SetScrollInfo",
// "FlatSB_SetScrollProp" and "FlatSB_ShowScrollBar", which it looks up in "COMCTL32.DLL" at
// run time (GetProcAddress) and skips when they are missing.

#include "platform/win/Windows.h"

constexpr int SB_HORZ = 0, SB_VERT = 1, SB_CTL = 2, SB_BOTH = 3;
constexpr UINT SIF_RANGE = 0x0001, SIF_PAGE = 0x0002, SIF_POS = 0x0004, SIF_DISABLENOSCROLL = 0x0008;
constexpr UINT SIF_TRACKPOS = 0x0010, SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

struct SCROLLINFO {
  UINT cbSize = sizeof(SCROLLINFO);
  UINT fMask = 0;
  int nMin = 0;
  int nMax = 0;
  UINT nPage = 0;
  int nPos = 0;
  int nTrackPos = 0;
};

// Properties set by FlatSB_SetScrollProp.
constexpr UINT WSB_PROP_CYVSCROLL = 0x0001, WSB_PROP_CXHSCROLL = 0x0002, WSB_PROP_CYHSCROLL = 0x0004;
constexpr UINT WSB_PROP_CXVSCROLL = 0x0008, WSB_PROP_CXHTHUMB = 0x0010, WSB_PROP_CYVTHUMB = 0x0020;
constexpr UINT WSB_PROP_VBKGCOLOR = 0x0040, WSB_PROP_HBKGCOLOR = 0x0080, WSB_PROP_VSTYLE = 0x0100;
constexpr UINT WSB_PROP_HSTYLE = 0x0200;
// Styles of WSB_PROP_VSTYLE and WSB_PROP_HSTYLE.
constexpr int FSB_REGULAR_MODE = 0, FSB_ENCARTA_MODE = 1, FSB_FLAT_MODE = 2;

using INITIALIZEFLATSBPROC = BOOL (*)(HWND hWnd);
using UNINITIALIZEFLATSBPROC = int32_t (*)(HWND hWnd);
using FLATSBSETSCROLLPROPPROC = BOOL (*)(HWND hWnd, UINT Index, intptr_t NewValue, BOOL Redraw);
using FLATSBSHOWSCROLLBARPROC = BOOL (*)(HWND hWnd, int Bar, BOOL Show);
using FLATSBSETSCROLLINFOPROC = int (*)(HWND hWnd, int Bar, const SCROLLINFO* Info, BOOL Redraw);

// The standard scroll information of a window's own bar (SB_HORZ or SB_VERT): range, position
// and track position from the bar, the page last set (0: not proportional). FALSE when the
// window has no such bar.
BOOL GetScrollInfo(HWND hWnd, int Bar, SCROLLINFO* Info);
// Sets the parts fMask names without notifying the window; answers the position.
int SetScrollInfo(HWND hWnd, int Bar, const SCROLLINFO* Info, BOOL Redraw);
// The thickness of a window's own scroll bars: WSB_PROP_CXVSCROLL while its flat scroll bars
// are initialised, else the system's.
int WindowScrollBarSize(HWND hWnd);
