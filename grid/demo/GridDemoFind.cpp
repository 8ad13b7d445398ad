// The demo's menu for the grid's find area: the next mode cell found and made current, all
// "Toggle" texts highlighted or their highlights removed, and "Momentary" replaced by "Push".
#include "grid/demo/GridDemo.h"

void AddGridDemoFind(TGridDemoForm& Form) {
  using TFP = DEreDuzeroVaro::TFindParameters;
  TMenuItem* menu = Form.DemoMenu(u"Find");
  Form.AddDemoItem(menu, u"Find \"toggle\"", [&Form] { Form.Grid()->FindFirst(u"toggle", {TFP::fnAutoGoto}); });
  Form.AddDemoItem(menu, u"Find next", [&Form] { Form.Grid()->FindNext(); });
  Form.AddDemoItem(menu, u"Highlight \"Toggle\"", [&Form] { Form.Grid()->HilightInGrid(false, true, u"Toggle"); });
  Form.AddDemoItem(menu, u"Remove highlights", [&Form] { Form.Grid()->UnHilightInGrid(false); });
  Form.AddDemoItem(menu, u"Replace \"Momentary\" by \"Push\"",
                   [&Form] { Form.Grid()->Replace(u"Momentary", u"Push", {}); });
}
