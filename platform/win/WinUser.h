#pragma once
// Window functions of the API facade: messages (also across threads), hidden windows,
// window timers, device contexts of windows, invalidation, geometry, focus, capture,
// cursor and key state. Every window lives on the GUI thread.

#include <functional>

#include "platform/win/Messages.h"
#include "platform/win/Windows.h"

using UINT_PTR = uintptr_t;
using SHORT = int16_t;

// A window procedure written as a method: the message arrives in, and is answered through, TMessage.
using TWndMethod = std::function<void(TMessage& Message)>;

// ---- Messages
// Runs the window's procedure and returns its result. From another thread the call
// waits until the GUI thread has handled the message or the handler called ReplyMessage;
// a window destroyed before that answers 0.
LRESULT SendMessage(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
inline LRESULT SendMessageW(HWND h, UINT m, WPARAM w, LPARAM l) { return SendMessage(h, m, w, l); }
// Queues the message for the window's procedure; usable from any thread. False for an invalid window.
BOOL PostMessage(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
inline BOOL PostMessageW(HWND h, UINT m, WPARAM w, LPARAM l) { return PostMessage(h, m, w, l); }
// Releases a thread waiting in SendMessage for the message being handled, with this result.
// False when the current message was not sent from another thread or was already replied.
BOOL ReplyMessage(LRESULT lResult);
// True while the GUI thread handles a message sent from another thread.
BOOL InSendMessage();
// Asks the application's message loop to end.
void PostQuitMessage(int nExitCode);
// The same name always gives the same number, in 0xC000..0xFFFF.
UINT RegisterWindowMessage(const String& Name);
inline UINT RegisterWindowMessageW(const String& Name) { return RegisterWindowMessage(Name); }
// Default handling: answers 0 (WM_NCHITTEST answers HTCLIENT).
LRESULT DefWindowProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
inline LRESULT DefWindowProcW(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProc(h, m, w, l); }
// Handles messages sent from other threads that wait for the GUI thread; the GUI thread
// calls this while it waits for such a thread to end, so neither blocks the other.
void DispatchSentMessages();
// Whether messages sent from other threads are still handled. The application turns this off
// when its message loop has ended (it is off too once the Qt application is gone, and during
// exit): waiting senders are released with 0 and later sends from other threads answer 0 at
// once. Initialising the application turns it on again.
void HandleSentMessages(bool Handled);

// ---- Hidden windows: a window with no widget that only receives messages.
HWND AllocateHWnd(TWndMethod Method);
void DeallocateHWnd(HWND Wnd);

// ---- Window timers: WM_TIMER (wParam = id) to the window, or the procedure when given.
using TIMERPROC = void (*)(HWND hwnd, UINT msg, UINT_PTR idEvent, DWORD time);
// Returns the id (a new one when hWnd is null), 0 on failure. Setting an existing id restarts it.
UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc = nullptr);
BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent);

// ---- Device contexts of a window, drawing on its backing image
struct PAINTSTRUCT {
  HDC hdc = nullptr;
  BOOL fErase = 0;
  RECT rcPaint;
};
// GetDC(nullptr) is a new DC compatible with the screen (text measuring, GetDeviceCaps);
// release it with ReleaseDC(nullptr, dc).
HDC GetDC(HWND hWnd);
HDC GetWindowDC(HWND hWnd);
int ReleaseDC(HWND hWnd, HDC hDC);
HDC BeginPaint(HWND hWnd, PAINTSTRUCT* lpPaint);
BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint);

// ---- Invalidation and painting
BOOL InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase);
BOOL ValidateRect(HWND hWnd, const RECT* lpRect);
BOOL UpdateWindow(HWND hWnd);
constexpr UINT RDW_INVALIDATE = 0x0001, RDW_INTERNALPAINT = 0x0002, RDW_ERASE = 0x0004, RDW_VALIDATE = 0x0008;
constexpr UINT RDW_NOINTERNALPAINT = 0x0010, RDW_NOERASE = 0x0020, RDW_NOCHILDREN = 0x0040, RDW_ALLCHILDREN = 0x0080;
constexpr UINT RDW_UPDATENOW = 0x0100, RDW_ERASENOW = 0x0200, RDW_FRAME = 0x0400, RDW_NOFRAME = 0x0800;
BOOL RedrawWindow(HWND hWnd, const RECT* lprcUpdate, HRGN hrgnUpdate, UINT flags);
// Moves the window's pixels within prcScroll (the client area when null) by (dx, dy), clipped
// to prcClip, with the window's pending update region; the area left uncovered is invalidated
// (SW_INVALIDATE, erased with SW_ERASE) and its bounds given in prcUpdate. Returns SIMPLEREGION,
// NULLREGION when nothing was uncovered, or ERROR.
constexpr UINT SW_SCROLLCHILDREN = 0x0001, SW_INVALIDATE = 0x0002, SW_ERASE = 0x0004;
int ScrollWindowEx(HWND hWnd, int dx, int dy, const RECT* prcScroll, const RECT* prcClip, HRGN hrgnUpdate,
                   RECT* prcUpdate, UINT flags);

// ---- Geometry. Client coordinates start below a form's menu bar, the one non-client part a
// window has; GetWindowRect, ShowWindow, SetWindowPos and EnableWindow take the whole window.
BOOL GetClientRect(HWND hWnd, RECT* lpRect);
BOOL GetWindowRect(HWND hWnd, RECT* lpRect);  // screen coordinates
BOOL ClientToScreen(HWND hWnd, POINT* lpPoint);
BOOL ScreenToClient(HWND hWnd, POINT* lpPoint);
// Maps points from one window's client coordinates to another's (null = screen).
int MapWindowPoints(HWND hWndFrom, HWND hWndTo, POINT* lpPoints, UINT cPoints);
HWND WindowFromPoint(POINT Point);
HWND GetParent(HWND hWnd);
BOOL IsWindow(HWND hWnd);
BOOL IsWindowVisible(HWND hWnd);
BOOL IsWindowEnabled(HWND hWnd);
BOOL EnableWindow(HWND hWnd, BOOL bEnable);
BOOL IsChild(HWND hWndParent, HWND hWnd);

constexpr int SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_NORMAL = 1, SW_SHOWMINIMIZED = 2, SW_SHOWMAXIMIZED = 3;
constexpr int SW_MAXIMIZE = 3, SW_SHOWNOACTIVATE = 4, SW_SHOW = 5, SW_MINIMIZE = 6, SW_SHOWMINNOACTIVE = 7;
constexpr int SW_SHOWNA = 8, SW_RESTORE = 9;
BOOL ShowWindow(HWND hWnd, int nCmdShow);

inline HWND const HWND_TOP = nullptr;
inline HWND const HWND_BOTTOM = reinterpret_cast<HWND>(1);
inline HWND const HWND_TOPMOST = reinterpret_cast<HWND>(-1);
inline HWND const HWND_NOTOPMOST = reinterpret_cast<HWND>(-2);
constexpr UINT SWP_NOSIZE = 0x0001, SWP_NOMOVE = 0x0002, SWP_NOZORDER = 0x0004, SWP_NOREDRAW = 0x0008;
constexpr UINT SWP_NOACTIVATE = 0x0010, SWP_FRAMECHANGED = 0x0020, SWP_SHOWWINDOW = 0x0040, SWP_HIDEWINDOW = 0x0080;
constexpr UINT SWP_NOCOPYBITS = 0x0100, SWP_NOOWNERZORDER = 0x0200, SWP_NOSENDCHANGING = 0x0400;
BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags);

// ---- Focus, activation, capture
HWND GetFocus();
HWND SetFocus(HWND hWnd);  // returns the window that had the focus
HWND GetActiveWindow();
HWND SetActiveWindow(HWND hWnd);
BOOL SetForegroundWindow(HWND hWnd);
HWND GetForegroundWindow();
HWND GetCapture();
HWND SetCapture(HWND hWnd);
BOOL ReleaseCapture();

// ---- Caret: the text cursor of a window's text field (edits, memos, editable combo boxes)
// Hides it until ShowCaret; FALSE when the window has no text field.
BOOL HideCaret(HWND hWnd);
BOOL ShowCaret(HWND hWnd);

// ---- Cursor, keys, sound
BOOL GetCursorPos(POINT* lpPoint);
BOOL SetCursorPos(int X, int Y);
HCURSOR SetCursor(HCURSOR hCursor);
// A monochrome cursor from AND/XOR bit planes (rows padded to 16 bits, most significant bit
// first): AND 0 + XOR 0 black, AND 0 + XOR 1 white, AND 1 transparent. hInst is ignored.
HCURSOR CreateCursor(void* hInst, int xHotSpot, int yHotSpot, int nWidth, int nHeight, const void* pvANDPlane,
                     const void* pvXORPlane);
BOOL DestroyCursor(HCURSOR hCursor);
// An icon's or cursor's hot spot and a copy of its colour image with its alpha (hbmColor, to
// be freed with DeleteObject); there is no separate mask (hbmMask is null).
struct ICONINFO {
  BOOL fIcon;
  DWORD xHotspot;
  DWORD yHotspot;
  HBITMAP hbmMask;
  HBITMAP hbmColor;
};
BOOL GetIconInfo(HICON hIcon, ICONINFO* piconinfo);
// High bit (negative result) while the key is down; low bit the toggle state of lock keys.
SHORT GetKeyState(int nVirtKey);
SHORT GetAsyncKeyState(int vKey);
constexpr UINT MB_OK = 0x0000, MB_ICONHAND = 0x0010, MB_ICONQUESTION = 0x0020;
constexpr UINT MB_ICONEXCLAMATION = 0x0030, MB_ICONASTERISK = 0x0040;
BOOL MessageBeep(UINT uType);
UINT GetDoubleClickTime();
DWORD GetMessageTime();

// ---- Message boxes
constexpr UINT MB_OKCANCEL = 0x0001, MB_ABORTRETRYIGNORE = 0x0002, MB_YESNOCANCEL = 0x0003;
constexpr UINT MB_YESNO = 0x0004, MB_RETRYCANCEL = 0x0005;
constexpr UINT MB_ICONSTOP = MB_ICONHAND, MB_ICONERROR = MB_ICONHAND, MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr UINT MB_DEFBUTTON1 = 0x0000, MB_DEFBUTTON2 = 0x0100, MB_DEFBUTTON3 = 0x0200;
constexpr UINT MB_APPLMODAL = 0x0000, MB_SYSTEMMODAL = 0x1000, MB_TASKMODAL = 0x2000;
constexpr UINT MB_SETFOREGROUND = 0x10000, MB_TOPMOST = 0x40000;
constexpr int IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7;
// A modal message box (it runs the idle handler like any modal loop). Returns the ID* of the button.
int MessageBox(HWND hWnd, const String& Text, const String& Caption, UINT uType);
inline int MessageBoxW(HWND h, const String& t, const String& c, UINT u) { return MessageBox(h, t, c, u); }

// ---- System parameters
constexpr UINT SPI_GETWORKAREA = 0x0030;
constexpr UINT SPI_GETMENUANIMATION = 0x1002;
constexpr UINT SPI_SETMENUANIMATION = 0x1003;
constexpr UINT SPIF_UPDATEINIFILE = 0x0001;
constexpr UINT SPIF_SENDCHANGE = 0x0002;
// Settings of this program only: nothing outside the process changes, so nothing is left
// changed when it ends, however it ends. SPI_GETMENUANIMATION writes the menu animation setting
// to the BOOL at pvParam; SPI_SETMENUANIMATION takes it from pvParam itself (non-null: on).
// SPI_GETWORKAREA writes the primary monitor's work area to the RECT at pvParam.
// SPIF_SENDCHANGE sends WM_SETTINGCHANGE (wParam: the action) to the program's top-level
// windows. Any other action answers FALSE.
BOOL SystemParametersInfo(UINT uiAction, UINT uiParam, void* pvParam, UINT fWinIni);
inline BOOL SystemParametersInfoW(UINT a, UINT u, void* p, UINT f) { return SystemParametersInfo(a, u, p, f); }
