// The demo's menu for the grid's exchange area.
#include "grid/demo/GridDemo.h"

void AddGridDemoExchange(TGridDemoForm&) {}
