// The demo's menu for the grid's sizing area.
#include "grid/demo/GridDemo.h"

void AddGridDemoSizing(TGridDemoForm&) {}
