#pragma once
// Window message numbers, the class library's control messages and notifications,
// virtual key codes, and typed views of TMessage for the messages controls handle.

#include "platform/win/Windows.h"

// ---- Window messages
constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_ENABLE = 0x000A;
constexpr UINT WM_SETREDRAW = 0x000B;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_GETTEXTLENGTH = 0x000E;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_ERASEBKGND = 0x0014;
constexpr UINT WM_SYSCOLORCHANGE = 0x0015;
constexpr UINT WM_SHOWWINDOW = 0x0018;
constexpr UINT WM_SETTINGCHANGE = 0x001A;
constexpr UINT WM_ACTIVATEAPP = 0x001C;
constexpr UINT WM_CANCELMODE = 0x001F;
constexpr UINT WM_SETCURSOR = 0x0020;
constexpr UINT WM_MOUSEACTIVATE = 0x0021;
constexpr UINT WM_GETMINMAXINFO = 0x0024;
constexpr UINT WM_DRAWITEM = 0x002B;
constexpr UINT WM_MEASUREITEM = 0x002C;
constexpr UINT WM_SETFONT = 0x0030;
constexpr UINT WM_GETFONT = 0x0031;
constexpr UINT WM_WINDOWPOSCHANGING = 0x0046;
constexpr UINT WM_WINDOWPOSCHANGED = 0x0047;
constexpr UINT WM_NOTIFY = 0x004E;
constexpr UINT WM_HELP = 0x0053;
constexpr UINT WM_CONTEXTMENU = 0x007B;
constexpr UINT WM_STYLECHANGED = 0x007D;
constexpr UINT WM_GETICON = 0x007F;
constexpr UINT WM_SETICON = 0x0080;
constexpr UINT WM_NCCREATE = 0x0081;
constexpr UINT WM_NCDESTROY = 0x0082;
constexpr UINT WM_NCCALCSIZE = 0x0083;
constexpr UINT WM_NCHITTEST = 0x0084;
constexpr UINT WM_NCPAINT = 0x0085;
constexpr UINT WM_NCACTIVATE = 0x0086;
constexpr UINT WM_GETDLGCODE = 0x0087;
constexpr UINT WM_NCMOUSEMOVE = 0x00A0;
constexpr UINT WM_NCLBUTTONDOWN = 0x00A1;
constexpr UINT WM_NCLBUTTONUP = 0x00A2;
constexpr UINT WM_NCLBUTTONDBLCLK = 0x00A3;
constexpr UINT WM_KEYFIRST = 0x0100;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_DEADCHAR = 0x0103;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_SYSCHAR = 0x0106;
constexpr UINT WM_KEYLAST = 0x0108;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_HSCROLL = 0x0114;
constexpr UINT WM_VSCROLL = 0x0115;
constexpr UINT WM_INITMENUPOPUP = 0x0117;
constexpr UINT WM_MENUSELECT = 0x011F;
constexpr UINT WM_ENTERIDLE = 0x0121;
constexpr UINT WM_CTLCOLOREDIT = 0x0133;
constexpr UINT WM_CTLCOLORLISTBOX = 0x0134;
constexpr UINT WM_CTLCOLORBTN = 0x0135;
constexpr UINT WM_CTLCOLORSTATIC = 0x0138;
constexpr UINT WM_MOUSEFIRST = 0x0200;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_MBUTTONUP = 0x0208;
constexpr UINT WM_MBUTTONDBLCLK = 0x0209;
constexpr UINT WM_MOUSEWHEEL = 0x020A;
constexpr UINT WM_MOUSEHWHEEL = 0x020E;
constexpr UINT WM_MOUSELAST = 0x020E;
constexpr UINT WM_PARENTNOTIFY = 0x0210;
constexpr UINT WM_ENTERMENULOOP = 0x0211;
constexpr UINT WM_EXITMENULOOP = 0x0212;
constexpr UINT WM_SIZING = 0x0214;
constexpr UINT WM_CAPTURECHANGED = 0x0215;
constexpr UINT WM_MOVING = 0x0216;
constexpr UINT WM_ENTERSIZEMOVE = 0x0231;
constexpr UINT WM_EXITSIZEMOVE = 0x0232;
constexpr UINT WM_IME_CHAR = 0x0286;
constexpr UINT WM_MOUSEHOVER = 0x02A1;
constexpr UINT WM_MOUSELEAVE = 0x02A3;
constexpr UINT WM_CUT = 0x0300;
constexpr UINT WM_COPY = 0x0301;
constexpr UINT WM_PASTE = 0x0302;
constexpr UINT WM_CLEAR = 0x0303;
constexpr UINT WM_UNDO = 0x0304;
constexpr UINT WM_PRINT = 0x0317;
constexpr UINT WM_PRINTCLIENT = 0x0318;
constexpr UINT WM_THEMECHANGED = 0x031A;
constexpr UINT WM_USER = 0x0400;
constexpr UINT WM_APP = 0x8000;

// ---- Class-library control messages
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0;
constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
constexpr UINT CM_GOTFOCUS = CM_BASE + 2;
constexpr UINT CM_LOSTFOCUS = CM_BASE + 3;
constexpr UINT CM_CANCELMODE = CM_BASE + 4;
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7;
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr UINT CM_HITTEST = CM_BASE + 10;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
constexpr UINT CM_CURSORCHANGED = CM_BASE + 15;
constexpr UINT CM_CTL3DCHANGED = CM_BASE + 16;
constexpr UINT CM_PARENTCTL3DCHANGED = CM_BASE + 17;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_MENUCHANGED = CM_BASE + 21;
constexpr UINT CM_APPKEYDOWN = CM_BASE + 22;
constexpr UINT CM_APPSYSCOMMAND = CM_BASE + 23;
constexpr UINT CM_BUTTONPRESSED = CM_BASE + 24;
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr UINT CM_ENTER = CM_BASE + 26;
constexpr UINT CM_EXIT = CM_BASE + 27;
constexpr UINT CM_DESIGNHITTEST = CM_BASE + 28;
constexpr UINT CM_ICONCHANGED = CM_BASE + 29;
constexpr UINT CM_WANTSPECIALKEY = CM_BASE + 30;
constexpr UINT CM_INVOKEHELP = CM_BASE + 31;
constexpr UINT CM_WINDOWHOOK = CM_BASE + 32;
constexpr UINT CM_RELEASE = CM_BASE + 33;
constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 34;
constexpr UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
constexpr UINT CM_SYSCOLORCHANGE = CM_BASE + 36;
constexpr UINT CM_WININICHANGE = CM_BASE + 37;
constexpr UINT CM_FONTCHANGE = CM_BASE + 38;
constexpr UINT CM_TIMECHANGE = CM_BASE + 39;
constexpr UINT CM_TABSTOPCHANGED = CM_BASE + 40;
constexpr UINT CM_UIACTIVATE = CM_BASE + 41;
constexpr UINT CM_UIDEACTIVATE = CM_BASE + 42;
constexpr UINT CM_DOCWINDOWACTIVATE = CM_BASE + 43;
constexpr UINT CM_CONTROLLISTCHANGE = CM_BASE + 44;
constexpr UINT CM_GETDATALINK = CM_BASE + 45;
constexpr UINT CM_CHILDKEY = CM_BASE + 46;
constexpr UINT CM_DRAG = CM_BASE + 47;
constexpr UINT CM_HINTSHOW = CM_BASE + 48;
constexpr UINT CM_DIALOGHANDLE = CM_BASE + 49;
constexpr UINT CM_ISTOOLCONTROL = CM_BASE + 50;
constexpr UINT CM_RECREATEWND = CM_BASE + 51;
constexpr UINT CM_INVALIDATE = CM_BASE + 52;
constexpr UINT CM_SYSFONTCHANGED = CM_BASE + 53;
constexpr UINT CM_CONTROLCHANGE = CM_BASE + 54;
constexpr UINT CM_CHANGED = CM_BASE + 55;
constexpr UINT CM_DOCKCLIENT = CM_BASE + 56;
constexpr UINT CM_UNDOCKCLIENT = CM_BASE + 57;
constexpr UINT CM_FLOAT = CM_BASE + 58;
constexpr UINT CM_BORDERCHANGED = CM_BASE + 59;
constexpr UINT CM_BIDIMODECHANGED = CM_BASE + 60;
constexpr UINT CM_PARENTBIDIMODECHANGED = CM_BASE + 61;
constexpr UINT CM_ALLCHILDRENFLIPPED = CM_BASE + 62;
constexpr UINT CM_ACTIONUPDATE = CM_BASE + 63;
constexpr UINT CM_ACTIONEXECUTE = CM_BASE + 64;
constexpr UINT CM_HINTSHOWPAUSE = CM_BASE + 65;
constexpr UINT CM_DOCKNOTIFICATION = CM_BASE + 66;
constexpr UINT CM_MOUSEWHEEL = CM_BASE + 67;
constexpr UINT CM_ISSHORTCUT = CM_BASE + 68;
constexpr UINT CM_INVALIDATEDOCKHOST = CM_BASE + 69;
constexpr UINT CM_SETACTIVECONTROL = CM_BASE + 70;
constexpr UINT CM_POPUPHWNDDESTROY = CM_BASE + 71;
constexpr UINT CM_CREATEPOPUP = CM_BASE + 72;
constexpr UINT CM_DESTROYHANDLE = CM_BASE + 73;
constexpr UINT CM_MOUSEACTIVATE = CM_BASE + 74;
constexpr UINT CM_CONTROLLISTCHANGING = CM_BASE + 75;
constexpr UINT CM_BUFFEREDPRINTCLIENT = CM_BASE + 76;
constexpr UINT CM_UNTHEMECONTROL = CM_BASE + 77;
constexpr UINT CM_DOUBLEBUFFEREDCHANGED = CM_BASE + 78;
constexpr UINT CM_PARENTDOUBLEBUFFEREDCHANGED = CM_BASE + 79;
constexpr UINT CM_STYLECHANGED = CM_BASE + 80;
constexpr UINT CM_GESTURE = CM_BASE + 81;
constexpr UINT CM_CUSTOMGESTURESCHANGED = CM_BASE + 82;
constexpr UINT CM_GESTUREMANAGERCHANGED = CM_BASE + 83;
constexpr UINT CM_STANDARDGESTURESCHANGED = CM_BASE + 84;
constexpr UINT CM_INPUTLANGCHANGE = CM_BASE + 85;
constexpr UINT CM_TABLETOPTIONSCHANGED = CM_BASE + 86;
constexpr UINT CM_PARENTTABLETOPTIONSCHANGED = CM_BASE + 87;
constexpr UINT CM_VISIBLECHANGING = CM_BASE + 88;

// ---- Notifications reflected back to the control that caused them
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT WM_VKEYTOITEM = 0x002E;
constexpr UINT WM_CHARTOITEM = 0x002F;
constexpr UINT WM_COMPAREITEM = 0x0039;
constexpr UINT WM_DELETEITEM = 0x002D;
constexpr UINT CN_CHARTOITEM = CN_BASE + WM_CHARTOITEM;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_COMPAREITEM = CN_BASE + WM_COMPAREITEM;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_DELETEITEM = CN_BASE + WM_DELETEITEM;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_PARENTNOTIFY = CN_BASE + WM_PARENTNOTIFY;
constexpr UINT CN_VKEYTOITEM = CN_BASE + WM_VKEYTOITEM;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
constexpr UINT CN_KEYUP = CN_BASE + WM_KEYUP;
constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;
constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
constexpr UINT CN_SYSCHAR = CN_BASE + WM_SYSCHAR;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;

// ---- Virtual key codes
constexpr WORD VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_CANCEL = 0x03, VK_MBUTTON = 0x04;
constexpr WORD VK_BACK = 0x08, VK_TAB = 0x09, VK_CLEAR = 0x0C, VK_RETURN = 0x0D;
constexpr WORD VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12, VK_PAUSE = 0x13, VK_CAPITAL = 0x14;
constexpr WORD VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22;
constexpr WORD VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28;
constexpr WORD VK_SELECT = 0x29, VK_PRINT = 0x2A, VK_EXECUTE = 0x2B, VK_SNAPSHOT = 0x2C;
constexpr WORD VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_HELP = 0x2F;
constexpr WORD VK_LWIN = 0x5B, VK_RWIN = 0x5C, VK_APPS = 0x5D;
constexpr WORD VK_NUMPAD0 = 0x60, VK_NUMPAD1 = 0x61, VK_NUMPAD2 = 0x62, VK_NUMPAD3 = 0x63, VK_NUMPAD4 = 0x64;
constexpr WORD VK_NUMPAD5 = 0x65, VK_NUMPAD6 = 0x66, VK_NUMPAD7 = 0x67, VK_NUMPAD8 = 0x68, VK_NUMPAD9 = 0x69;
constexpr WORD VK_MULTIPLY = 0x6A, VK_ADD = 0x6B, VK_SEPARATOR = 0x6C, VK_SUBTRACT = 0x6D, VK_DECIMAL = 0x6E, VK_DIVIDE = 0x6F;
constexpr WORD VK_F1 = 0x70, VK_F2 = 0x71, VK_F3 = 0x72, VK_F4 = 0x73, VK_F5 = 0x74, VK_F6 = 0x75;
constexpr WORD VK_F7 = 0x76, VK_F8 = 0x77, VK_F9 = 0x78, VK_F10 = 0x79, VK_F11 = 0x7A, VK_F12 = 0x7B;
constexpr WORD VK_NUMLOCK = 0x90, VK_SCROLL = 0x91;
constexpr WORD VK_LSHIFT = 0xA0, VK_RSHIFT = 0xA1, VK_LCONTROL = 0xA2, VK_RCONTROL = 0xA3, VK_LMENU = 0xA4, VK_RMENU = 0xA5;
constexpr WORD VK_OEM_1 = 0xBA, VK_OEM_PLUS = 0xBB, VK_OEM_COMMA = 0xBC, VK_OEM_MINUS = 0xBD, VK_OEM_PERIOD = 0xBE;
constexpr WORD VK_OEM_2 = 0xBF, VK_OEM_3 = 0xC0, VK_OEM_4 = 0xDB, VK_OEM_5 = 0xDC, VK_OEM_6 = 0xDD, VK_OEM_7 = 0xDE;

// ---- Mouse key state flags (wParam of mouse messages)
constexpr WPARAM MK_LBUTTON = 0x0001, MK_RBUTTON = 0x0002, MK_SHIFT = 0x0004, MK_CONTROL = 0x0008, MK_MBUTTON = 0x0010;

// ---- WM_GETDLGCODE answers
constexpr LRESULT DLGC_WANTARROWS = 0x0001, DLGC_WANTTAB = 0x0002, DLGC_WANTALLKEYS = 0x0004;
constexpr LRESULT DLGC_WANTMESSAGE = 0x0004, DLGC_HASSETSEL = 0x0008, DLGC_DEFPUSHBUTTON = 0x0010;
constexpr LRESULT DLGC_UNDEFPUSHBUTTON = 0x0020, DLGC_RADIOBUTTON = 0x0040, DLGC_WANTCHARS = 0x0080;
constexpr LRESULT DLGC_STATIC = 0x0100, DLGC_BUTTON = 0x2000;

// ---- WM_NCHITTEST answers
constexpr LRESULT HTERROR = -2, HTTRANSPARENT = -1, HTNOWHERE = 0, HTCLIENT = 1, HTCAPTION = 2;
constexpr LRESULT HTSYSMENU = 3, HTGROWBOX = 4, HTSIZE = 4, HTMENU = 5, HTHSCROLL = 6, HTVSCROLL = 7;
constexpr LRESULT HTLEFT = 10, HTRIGHT = 11, HTTOP = 12, HTTOPLEFT = 13, HTTOPRIGHT = 14;
constexpr LRESULT HTBOTTOM = 15, HTBOTTOMLEFT = 16, HTBOTTOMRIGHT = 17, HTBORDER = 18;

// ---- WM_SIZE kinds, WM_ACTIVATE states
constexpr WPARAM SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2;
constexpr WORD WA_INACTIVE = 0, WA_ACTIVE = 1, WA_CLICKACTIVE = 2;

// ---- Wheel
constexpr int WHEEL_DELTA = 120;

// ---- Typed views of a message. Each refers to the TMessage it was made from,
// so setting Result answers the message.
struct TMessageView {
  explicit TMessageView(TMessage& m) : M(m) {}
  UINT Msg() const { return M.Msg; }
  LRESULT Result() const { return M.Result; }
  void SetResult(LRESULT r) { M.Result = r; }
  TMessage& M;
};

// WM_MOUSEMOVE, WM_xBUTTONxxx: wParam keys, lParam signed client x/y.
struct TWMMouse : TMessageView {
  using TMessageView::TMessageView;
  WPARAM Keys() const { return M.WParam; }
  int16_t XPos() const { return static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(M.LParam))); }
  int16_t YPos() const { return static_cast<int16_t>(HIWORD(static_cast<uintptr_t>(M.LParam))); }
  TPoint Pos() const { return TPoint(XPos(), YPos()); }
};
using TWMMouseMove = TWMMouse;
using TWMLButtonDown = TWMMouse;
using TWMLButtonUp = TWMMouse;
using TWMLButtonDblClk = TWMMouse;
using TWMRButtonDown = TWMMouse;
using TWMRButtonUp = TWMMouse;
using TWMMButtonDown = TWMMouse;
using TWMMButtonUp = TWMMouse;
using TWMNCLButtonDown = TWMMouse;

// WM_MOUSEWHEEL: wParam low = keys, high = signed delta; lParam screen x/y.
struct TWMMouseWheel : TMessageView {
  using TMessageView::TMessageView;
  WORD Keys() const { return LOWORD(M.WParam); }
  int16_t WheelDelta() const { return static_cast<int16_t>(HIWORD(M.WParam)); }
  int16_t XPos() const { return static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(M.LParam))); }
  int16_t YPos() const { return static_cast<int16_t>(HIWORD(static_cast<uintptr_t>(M.LParam))); }
  TPoint Pos() const { return TPoint(XPos(), YPos()); }
};
// CM_MOUSEWHEEL carries the same layout, with the shift state in the keys word.
using TCMMouseWheel = TWMMouseWheel;

// WM_KEYDOWN/UP, WM_CHAR, CN_KEYDOWN, CM_DIALOGKEY, CM_WANTSPECIALKEY ...: wParam char code, lParam key data.
struct TWMKey : TMessageView {
  using TMessageView::TMessageView;
  WORD CharCode() const { return static_cast<WORD>(M.WParam); }
  void SetCharCode(WORD c) { M.WParam = c; }
  LPARAM KeyData() const { return M.LParam; }
};
using TWMKeyDown = TWMKey;
using TWMKeyUp = TWMKey;
using TWMChar = TWMKey;
using TCMDialogKey = TWMKey;
using TCMDialogChar = TWMKey;
using TCMWantSpecialKey = TWMKey;

// WM_PAINT: wParam an optional DC to paint on instead of BeginPaint's.
struct TWMPaint : TMessageView {
  using TMessageView::TMessageView;
  HDC DC() const { return reinterpret_cast<HDC>(M.WParam); }
};
struct TWMEraseBkgnd : TMessageView {
  using TMessageView::TMessageView;
  HDC DC() const { return reinterpret_cast<HDC>(M.WParam); }
};
struct TWMTimer : TMessageView {
  using TMessageView::TMessageView;
  WPARAM TimerID() const { return M.WParam; }
  LPARAM TimerProc() const { return M.LParam; }
};
struct TWMSize : TMessageView {
  using TMessageView::TMessageView;
  WPARAM SizeType() const { return M.WParam; }
  WORD Width() const { return LOWORD(static_cast<uintptr_t>(M.LParam)); }
  WORD Height() const { return HIWORD(static_cast<uintptr_t>(M.LParam)); }
};
struct TWMMove : TMessageView {
  using TMessageView::TMessageView;
  int16_t XPos() const { return static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(M.LParam))); }
  int16_t YPos() const { return static_cast<int16_t>(HIWORD(static_cast<uintptr_t>(M.LParam))); }
};
// WM_SETFOCUS: wParam the window losing focus; WM_KILLFOCUS: the window receiving it.
struct TWMSetFocus : TMessageView {
  using TMessageView::TMessageView;
  HWND FocusedWnd() const { return reinterpret_cast<HWND>(M.WParam); }
};
using TWMKillFocus = TWMSetFocus;
struct TWMGetDlgCode : TMessageView { using TMessageView::TMessageView; };
struct TWMNCHitTest : TMessageView {
  using TMessageView::TMessageView;
  int16_t XPos() const { return static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(M.LParam))); }
  int16_t YPos() const { return static_cast<int16_t>(HIWORD(static_cast<uintptr_t>(M.LParam))); }
  TPoint Pos() const { return TPoint(XPos(), YPos()); }
};
// WM_SETCURSOR: wParam the window under the cursor, lParam low hit-test code, high mouse message.
struct TWMSetCursor : TMessageView {
  using TMessageView::TMessageView;
  HWND CursorWnd() const { return reinterpret_cast<HWND>(M.WParam); }
  int16_t HitTest() const { return static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(M.LParam))); }
  WORD MouseMsg() const { return HIWORD(static_cast<uintptr_t>(M.LParam)); }
};
// WM_COMMAND / CN_COMMAND: wParam low id, high notify code; lParam the control's window.
struct TWMCommand : TMessageView {
  using TMessageView::TMessageView;
  WORD ItemID() const { return LOWORD(M.WParam); }
  WORD NotifyCode() const { return HIWORD(M.WParam); }
  HWND Ctl() const { return reinterpret_cast<HWND>(M.LParam); }
};
// WM_HSCROLL / WM_VSCROLL: wParam low code, high position.
struct TWMScroll : TMessageView {
  using TMessageView::TMessageView;
  WORD ScrollCode() const { return LOWORD(M.WParam); }
  int16_t Pos() const { return static_cast<int16_t>(HIWORD(M.WParam)); }
  HWND ScrollBar() const { return reinterpret_cast<HWND>(M.LParam); }
};
using TWMHScroll = TWMScroll;
using TWMVScroll = TWMScroll;
struct TWMActivate : TMessageView {
  using TMessageView::TMessageView;
  WORD Active() const { return LOWORD(M.WParam); }
  bool Minimized() const { return HIWORD(M.WParam) != 0; }
  HWND ActiveWindow() const { return reinterpret_cast<HWND>(M.LParam); }
};

// Scroll codes
constexpr WORD SB_LINEUP = 0, SB_LINELEFT = 0, SB_LINEDOWN = 1, SB_LINERIGHT = 1, SB_PAGEUP = 2, SB_PAGELEFT = 2;
constexpr WORD SB_PAGEDOWN = 3, SB_PAGERIGHT = 3, SB_THUMBPOSITION = 4, SB_THUMBTRACK = 5, SB_TOP = 6, SB_LEFT = 6;
constexpr WORD SB_BOTTOM = 7, SB_RIGHT = 7, SB_ENDSCROLL = 8;
