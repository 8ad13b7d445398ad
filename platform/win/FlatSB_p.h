#pragma once
// Private to platform/: a window's own scroll bars (the class library's controls mark them) and
// the flat scroll bar look they take.

#include <QScrollBar>

#include "platform/win/FlatSB.h"
#include "platform/win/Modules.h"

// Marks bar as window wnd's own horizontal (SB_HORZ) or vertical (SB_VERT) scroll bar and gives
// it the window's flat scroll bar look; cheap when nothing changed.
void SetWindowScrollBar(HWND wnd, QScrollBar* bar, int Bar);
// The flat scroll bar functions "COMCTL32.DLL" exports, by name; nullptr for any other name.
FARPROC FlatSBExport(const char* proc);
