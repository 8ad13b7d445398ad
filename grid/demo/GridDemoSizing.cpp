// The demo's menu for the grid's sizing area: columns and rows sized to their contents, the
// columns fitted to the window, and a background gradient right of and below the cells.
#include "grid/demo/GridDemo.h"

void AddGridDemoSizing(TGridDemoForm& Form) {
  TMenuItem* menu = Form.DemoMenu(u"Sizing");
  Form.AddDemoItem(menu, u"Auto-size columns", [&Form] { Form.Grid()->AutoSizeColumns(true, 4); });
  Form.AddDemoItem(menu, u"Auto-size rows", [&Form] {
    DEreDuzeroVaro* grid = Form.Grid();
    // Rows follow their wrapped contents.
    const bool wrap = grid->WordWrap();
    grid->SetWordWrap(true);
    grid->AutoSizeRows(false, 2);
    grid->SetWordWrap(wrap);
  });
  Form.AddDemoItem(menu, u"Auto-size cells", [&Form] { Form.Grid()->AutoSizeCells(true, 4, 2); });
  Form.AddDemoItem(menu, u"Fit columns to window", [&Form] { Form.Grid()->AutoFitColumns(false); });
  Form.AddDemoItem(menu, u"Background outside cells", [&Form] {
    TBackGround* bg = Form.Grid()->BackGround();
    // A gradient on, or back to tiling without a picture, which paints nothing.
    const bool on = bg->Display() == bdTile;
    bg->SetColor(0xFFF0E0);
    bg->SetColorTo(0xC08040);
    bg->SetDisplay(on ? bdGradientVert : bdTile);
  });
}
