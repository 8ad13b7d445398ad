// The demo's menu for the grid's editing area.
#include "grid/demo/GridDemo.h"

void AddGridDemoEditing(TGridDemoForm&) {}
