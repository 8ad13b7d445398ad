#pragma once
// Private to platform/ and the test support: where the monitors come from.

#include <vector>

#include "platform/win/MultiMon.h"

struct TMonitorLayout {
  RECT Bounds;
  RECT WorkArea;
};

// The monitors as the facade sees them, the primary first: the window system's screens, or
// the fixed layout tests gave.
std::vector<TMonitorLayout> CurrentMonitors();
// Replaces the window system's screens by a fixed layout (the first entry is the primary);
// an empty layout gives the real screens back.
void SetMonitorLayout(std::vector<TMonitorLayout> Layout);
