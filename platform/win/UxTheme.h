#pragma once
// The visual-styles functions that "UXTHEME.DLL" exports. The parts the controls draw (combo box
// drop-down button, push button, radio button, check box, spin arrows) are drawn in the
// application's style, each state differently; every other query answers E_NOTIMPL.

#include "platform/win/Gdi.h"
#include "platform/win/Modules.h"

struct HTHEME__;
using HTHEME = HTHEME__*;

// Theme classes the controls open, and the parts and states they draw.
constexpr int CP_DROPDOWNBUTTON = 1;
constexpr int BP_PUSHBUTTON = 1, BP_RADIOBUTTON = 2, BP_CHECKBOX = 3;
constexpr int SPNP_UP = 1, SPNP_DOWN = 2, SPNP_UPHORZ = 3, SPNP_DOWNHORZ = 4;  // UPHORZ points right
// States 1..4 are normal, hot, pressed, disabled; radio and check boxes add 5..8 for checked.
constexpr int TS_NORMAL = 1, TS_HOT = 2, TS_PRESSED = 3, TS_DISABLED = 4;
constexpr int CBS_UNCHECKEDNORMAL = 1, CBS_CHECKEDNORMAL = 5, CBS_CHECKEDDISABLED = 8;

// A theme for the first class of the semicolon-separated list the style draws ("combobox",
// "button", "spin"); nullptr when none of them is.
HTHEME OpenThemeData(HWND Wnd, LPCWSTR ClassList);
HRESULT CloseThemeData(HTHEME Theme);
// E_INVALIDARG for a null theme, DC or rectangle, E_NOTIMPL for a part or state not drawn.
HRESULT DrawThemeBackground(HTHEME Theme, HDC DC, int PartId, int StateId, const RECT* Rect, const RECT* ClipRect);
BOOL IsThemeActive();
BOOL IsAppThemed();
// No colour scheme: E_NOTIMPL.
HRESULT GetCurrentThemeName(Char* ThemeFileName, int MaxNameChars, Char* ColorBuff, int MaxColorChars,
                            Char* SizeBuff, int MaxSizeChars);

// The export of "UXTHEME.DLL" by name (nullptr when absent); used by the module table.
FARPROC UxThemeExport(const char* Name);
