#pragma once
// Private to platform/: a form's windows.
//
// A form's own window (its handle, painting, input and child windows) is its client area. It
// sits in a top-level frame window that also shows the form's menu bar above it, outside the
// client area. Window-level state (title, flags, modality, icon, position, outer size) lives on
// the frame. A form placed inside another control has no frame of its own.

#include <QMenuBar>
#include <QWidget>

#include "platform/ui/Forms.h"

// The form's top-level window (its own window when it sits inside another control);
// nullptr before the form has a window.
QWidget* FormWindow(const TCustomForm* Form);
// Shows Bar above the form's client area (nullptr: no bar; a bar without actions is hidden).
// The bar stays its menu's: the frame never frees it. The form keeps its client size: its
// outer height changes by the bar's height. Call it again when the bar's actions changed.
void SetFormMenuBar(TCustomForm* Form, QMenuBar* Bar);
// Height of the menu bar above the form's client area (0 without one).
int FormMenuBarHeight(const TCustomForm* Form);
