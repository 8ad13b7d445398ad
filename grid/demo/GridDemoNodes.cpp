// The demo's menu for the grid's nodes area.
#include "grid/demo/GridDemo.h"

void AddGridDemoNodes(TGridDemoForm&) {}
