// The demo's menu for the grid's mouse area.
#include "grid/demo/GridDemo.h"

void AddGridDemoMouse(TGridDemoForm&) {}
