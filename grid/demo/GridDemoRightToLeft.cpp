// The demo's right-to-left switch: the grid mirrored (columns from the right edge, the vertical
// scroll bar at the left, Left and Right swapped, texts and pictures read the right way round).
// The grid mirrors only on a right-to-left system; on any other the switch makes the process
// one, and the window's caption says so.
#include "grid/demo/GridDemo.h"
#include "platform/rtl/SysUtils.h"

void AddGridDemoRightToLeft(TGridDemoForm& Form) {
  TMenuItem* menu = Form.DemoMenu(u"&Sizing");
  TMenuItem* item = Form.AddDemoItem(menu, u"Right to left", {});
  const bool system = SysLocale.MiddleEast;
  item->OnClick = [&Form, item, system](TObject*) {
    const bool on = Form.Grid()->BiDiMode() != bdRightToLeft;
    SysLocale.MiddleEast = on || system;
    Form.Grid()->SetBiDiMode(on ? bdRightToLeft : bdLeftToRight);
    item->SetChecked(on);
    if (!on) Form.SetCaption(u"String grid");
    else if (system) Form.SetCaption(u"String grid - right to left");
    else Form.SetCaption(u"String grid - right to left (the demo made the process a right-to-left system)");
  };
}
