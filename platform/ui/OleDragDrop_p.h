#pragma once
// Private to platform/ and the test support: how DoDragDrop runs a drag.
//
// Where the window system offers drags (the desktop), DoDragDrop hands the drag to it, so text
// goes to and comes from other programs. Where it offers none (the offscreen platform of the
// tests), DoDragDrop runs the drag itself: a loop that follows the mouse and keys as they
// arrive at the program, asks the source at each whether to go on, and delivers drag enter,
// move, leave and drop events to the top-level window under the mouse, as the window system
// would, so Qt hit-tests them down to the drop target's widget.

#include <functional>

// Whether a drag is under way in this program (inside DoDragDrop).
bool DragInProgress();
// Runs Step on the next turn of the event loop inside the drag that is under way.
void WhenDragging(std::function<void()> Step);
