#pragma once
// The grid module's start-up and shutdown and its module-wide state. The program runs
// InitGridModule once before its first window and FinalizeGridModule once after its last;
// both do nothing when called again.

#include <cstdint>

#include "platform/rtl/Classes.h"

// The date and time cell editors may be used (the installed controls always offer them).
constexpr bool CommonControls470 = true;
// The grid's own clipboard format "DEreDuzeroVaro Cells" and its two registered messages
// "GridEditDone" and "DTPShiftFocus" (low 16 bits; 0 before start-up).
extern uint16_t GridCellsFormat;
extern uint16_t GridEditDoneMsg;
extern uint16_t DTPShiftFocusMsg;
// The font the HTML hint window draws packed wide hint text with; empty at start.
extern String HintFontName;

// The classes creatable by name, in registration order.
extern const char16_t* const GridModuleClasses[28];
// Registers them in that order (a class this build does not have yet is skipped) as one
// guarded block: the first registration that fails ends it silently. Answers how many were
// registered.
int RegisterGridModuleClasses();

// Start-up: the focus-frame grid cleared, the GUI thread's window-procedure hook that moves
// the focus frame of FocusFrameGrid whenever a window moves or is sized, the classes registered by name
// (a registration that fails ends the registrations silently), the clipboard format and the
// two messages.
void InitGridModule();
// Shutdown: the focus-frame hook removed and HintFontName cleared.
void FinalizeGridModule();
// Between the two.
bool GridModuleStarted();
// The focus-frame hook is installed (from start-up to shutdown).
bool GridFocusFrameHookInstalled();
