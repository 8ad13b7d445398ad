// The demo's menu for the grid's sizing area: columns and rows sized to their contents, the
// columns fitted to the window, a background gradient right of and below the cells, and the
// scroll bars: hints beside a dragged thumb, scrolling while dragging, proportional bars, bars
// shown always and cell balloons.
#include "grid/demo/GridDemo.h"

void AddGridDemoSizing(TGridDemoForm& Form) {
  TMenuItem* menu = Form.DemoMenu(u"&Sizing");
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

  // The scroll bars, each item switching its setting on and off (checked while on).
  auto toggle = [&Form, menu](const String& Caption, std::function<bool(DEreDuzeroVaro*)> Flip) {
    TMenuItem* item = Form.AddDemoItem(menu, Caption, {});
    item->OnClick = [&Form, item, Flip](TObject*) { item->SetChecked(Flip(Form.Grid())); };
  };
  Form.AddDemoItem(menu, u"&Rows to scroll (1000)", [&Form] {
    DEreDuzeroVaro* grid = Form.Grid();
    const int from = grid->RowCount();
    grid->SetRowCount(1000);
    for (int r = from; r < grid->RowCount(); ++r) grid->SetCells(0, r, IntToStr(r));
  });
  toggle(u"Scroll &hints", [](DEreDuzeroVaro* g) {
    g->SetScrollHints(g->ScrollHints() == shNone ? shBoth : shNone);
    return g->ScrollHints() != shNone;
  });
  toggle(u"Scroll while &dragging", [](DEreDuzeroVaro* g) {
    g->SetScrollSynch(!g->ScrollSynch());
    return g->ScrollSynch();
  });
  toggle(u"&Proportional scroll bars", [](DEreDuzeroVaro* g) {
    g->SetScrollProportional(!g->ScrollProportional());
    return g->ScrollProportional();
  });
  toggle(u"Scroll bars &always", [](DEreDuzeroVaro* g) {
    g->SetScrollBarAlways(g->ScrollBarAlways() == saNone ? saBoth : saNone);
    return g->ScrollBarAlways() != saNone;
  });
  toggle(u"Cell &balloons", [](DEreDuzeroVaro* g) {
    if (!g->Balloon()->Enable()) g->AddBalloon(1, 1, u"Balloon", u"The cell's own balloon", biInfo);
    g->Balloon()->SetEnable(!g->Balloon()->Enable());
    return g->Balloon()->Enable();
  });
}
