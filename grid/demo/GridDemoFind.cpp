// The demo's menu for the grid's find area.
#include "grid/demo/GridDemo.h"

void AddGridDemoFind(TGridDemoForm&) {}
