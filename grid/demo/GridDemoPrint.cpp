// The demo's menu for the grid's print area.
#include "grid/demo/GridDemo.h"

void AddGridDemoPrint(TGridDemoForm&) {}
