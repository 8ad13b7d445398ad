#pragma once
// Run-time linking: LoadLibrary/GetProcAddress/FreeLibrary over a table of the system modules
// this platform provides (visual styles, the layered-window calls, the locale call, the
// common-controls version), plus the operating-system version queries.

#include "platform/win/Resources.h"
#include "platform/win/Windows.h"

using FARPROC = void (*)();
// An export as the module table stores it; callers cast it back to its own type.
template <typename F>
FARPROC ToFarProc(F f) { return reinterpret_cast<FARPROC>(f); }
using HRESULT = int32_t;
constexpr HRESULT S_OK = 0;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);

// A handle (never below 32) for a known module, each call taking one reference; nullptr for an
// unknown name. Names match without regard to case and with or without ".DLL".
HMODULE LoadLibraryW(LPCWSTR FileName);
inline HMODULE LoadLibrary(LPCWSTR FileName) { return LoadLibraryW(FileName); }
// The export of that name, nullptr when the module lacks it or the handle is not loaded.
FARPROC GetProcAddress(HMODULE Module, const char* ProcName);
// Drops one reference; FALSE for a handle that holds none.
BOOL FreeLibrary(HMODULE Module);
// References the module of that name holds now (0 when unknown or not loaded).
int ModuleReferences(LPCWSTR FileName);

// The system answers as version 6.1, build 7601.
struct OSVERSIONINFOW {
  DWORD dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
  DWORD dwMajorVersion = 0;
  DWORD dwMinorVersion = 0;
  DWORD dwBuildNumber = 0;
  DWORD dwPlatformId = 0;
  Char szCSDVersion[128] = {};
};
using OSVERSIONINFO = OSVERSIONINFOW;
constexpr DWORD VER_PLATFORM_WIN32_NT = 2;
DWORD GetVersion();  // major in the low byte, minor in the next, build in the high word
BOOL GetVersionExW(OSVERSIONINFOW* Info);
inline BOOL GetVersionEx(OSVERSIONINFOW* Info) { return GetVersionExW(Info); }

// What "COMCTL32.DLL" exports as "DllGetVersion": version 6.10.
struct DLLVERSIONINFO {
  DWORD cbSize = sizeof(DLLVERSIONINFO);
  DWORD dwMajorVersion = 0;
  DWORD dwMinorVersion = 0;
  DWORD dwBuildNumber = 0;
  DWORD dwPlatformID = 0;
};
using DLLGETVERSIONPROC = HRESULT (*)(DLLVERSIONINFO* Info);

// Layered windows: how UpdateLayeredWindow blends its source.
struct BLENDFUNCTION {
  BYTE BlendOp = 0;              // AC_SRC_OVER
  BYTE BlendFlags = 0;
  BYTE SourceConstantAlpha = 255;
  BYTE AlphaFormat = 0;          // AC_SRC_ALPHA: the source has premultiplied per-pixel alpha
};
constexpr BYTE AC_SRC_OVER = 0;
constexpr BYTE AC_SRC_ALPHA = 1;
constexpr DWORD LWA_COLORKEY = 1;
constexpr DWORD LWA_ALPHA = 2;
constexpr DWORD ULW_COLORKEY = 1;
constexpr DWORD ULW_ALPHA = 2;
constexpr DWORD ULW_OPAQUE = 4;

// Exports of "USER32.DLL" and "kernel32" that callers look up at run time.
// The layered-window calls act on the window's top-level window (a child window only stores
// what it is given). SetLayeredWindowAttributes: LWA_ALPHA sets the window's opacity, LWA_COLORKEY
// makes the pixels of that colour transparent; FALSE for a handle that is not a window.
// UpdateLayeredWindow moves the window to DstPt and sizes it to Size (each when given) and, when
// SrcDC is a device context over an image, shows that image from SrcPt instead of the window's
// own painting: with ULW_ALPHA its per-pixel alpha (AlphaFormat AC_SRC_ALPHA) times the constant
// alpha, with ULW_COLORKEY the key colour transparent, with ULW_OPAQUE fully opaque. FALSE for a
// handle that is not a window, a source DC without an image, or a source rectangle outside it.
// The locale call has no locale data and returns 0.
BOOL UpdateLayeredWindow(HWND Wnd, HDC DstDC, const POINT* DstPt, const SIZE* Size, HDC SrcDC,
                         const POINT* SrcPt, COLORREF Key, const BLENDFUNCTION* Blend, DWORD Flags);
BOOL SetLayeredWindowAttributes(HWND Wnd, COLORREF Key, BYTE Alpha, DWORD Flags);
// The window's region (window coordinates): only that part of its top-level window shows and
// takes the mouse. The window owns the region from then on (the caller must not delete it);
// a null region shows the whole window again. 0 for a handle that is not a top-level window.
int SetWindowRgn(HWND Wnd, HRGN Rgn, BOOL Redraw);
// Whether the window system composites windows, so that a layered window's per-pixel alpha
// blends with what lies below it; where it does not, such a window shows as opaque.
HRESULT DwmIsCompositionEnabled(BOOL* Enabled);
int GetLocaleInfoEx(LPCWSTR LocaleName, DWORD LCType, Char* Data, int DataLen);
