#pragma once
// Basic types of the API facade: handles, message parameters and the message record.
// Message numbers, window functions and GDI calls are declared in the facade's other headers.

#include <cstdint>

#include "platform/rtl/System.h"
#include "platform/rtl/Types.h"

using UINT = uint32_t;
using DWORD = uint32_t;
using WORD = uint16_t;
using BYTE = uint8_t;
using LONG = int32_t;
using BOOL = int32_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using COLORREF = uint32_t;  // 0x00BBGGRR

constexpr BOOL FALSE = 0;
constexpr BOOL TRUE = 1;

// Opaque handles. Each is defined privately by the facade unit that owns it.
struct HWND__;
using HWND = HWND__*;        // a window: a control's widget or a hidden window
struct HDC__;
using HDC = HDC__*;          // a device context over a window, a bitmap, a printer or a recording
struct HGDIOBJ__;
using HGDIOBJ = HGDIOBJ__*;  // pens, brushes, fonts, bitmaps, regions
using HPEN = HGDIOBJ;
using HBRUSH = HGDIOBJ;
using HFONT = HGDIOBJ;
using HBITMAP = HGDIOBJ;
using HRGN = HGDIOBJ;
using HPALETTE = HGDIOBJ;
struct HICON__;
using HICON = HICON__*;
using HCURSOR = HICON;
using HANDLE = void*;        // devices (serial ports), events
inline HANDLE const INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1));

// A window message as the window procedures see it.
struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

constexpr WORD LOWORD(uintptr_t v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(uintptr_t v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
constexpr LPARAM MAKELPARAM(WORD lo, WORD hi) { return static_cast<LPARAM>(static_cast<uint32_t>(lo) | (static_cast<uint32_t>(hi) << 16)); }
constexpr BYTE GetRValue(COLORREF c) { return static_cast<BYTE>(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return static_cast<BYTE>((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return static_cast<BYTE>((c >> 16) & 0xFF); }
constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) { return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16); }
