// The demo's menu for the grid's drag area.
#include "grid/demo/GridDemo.h"

void AddGridDemoDrag(TGridDemoForm&) {}
