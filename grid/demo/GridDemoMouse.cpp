// The demo's menu for the grid's mouse area: how a press selects, whether headers move their
// columns and rows, the headers' drop-down menus, and zooming.
#include "grid/demo/GridDemo.h"

#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/Menus.h"

namespace {

// The selection modes offered; each item is one of a radio group of the menu.
enum TDemoSelect { dsCells, dsRows, dsDisjunctRows, dsDisjunctCells, dsHeaders };

void ApplySelect(DEreDuzeroVaro* G, TDemoSelect Mode) {
  TGridOptions o = G->Options();
  o.Exclude(goRowSelect);
  o.Include(goRangeSelect);
  TMouseActions* m = G->MouseActions();
  m->SetDisjunctRowSelect(false);
  m->SetDisjunctCellSelect(false);
  m->SetRowSelect(false);
  m->SetColSelect(false);
  m->SetAllSelect(false);
  switch (Mode) {
    case dsRows: o.Include(goRowSelect); break;
    case dsDisjunctRows:
      o.Include(goRowSelect);
      m->SetDisjunctRowSelect(true);
      break;
    case dsDisjunctCells: m->SetDisjunctCellSelect(true); break;
    case dsHeaders:
      m->SetRowSelect(true);
      m->SetColSelect(true);
      m->SetAllSelect(true);
      break;
    default: break;
  }
  G->SetOptions(o);
  G->Invalidate();
}

}  // namespace

void AddGridDemoMouse(TGridDemoForm& Form) {
  TMenuItem* menu = Form.DemoMenu(u"&Mouse");
  struct TChoice {
    const char16_t* Caption;
    TDemoSelect Mode;
  };
  static const TChoice choices[] = {{u"Select cells", dsCells},
                                    {u"Select rows", dsRows},
                                    {u"Select rows with Ctrl (disjunct)", dsDisjunctRows},
                                    {u"Select cells with Ctrl (disjunct)", dsDisjunctCells},
                                    {u"Headers select rows, columns, all", dsHeaders}};
  auto shared = std::make_shared<std::vector<TMenuItem*>>();
  for (const TChoice& c : choices) {
    const TDemoSelect mode = c.Mode;
    TMenuItem* item = Form.AddDemoItem(menu, c.Caption, [&Form, mode, shared] {
      ApplySelect(Form.Grid(), mode);
      for (size_t i = 0; i < shared->size(); ++i) (*shared)[i]->SetChecked(static_cast<int>(i) == mode);
    });
    shared->push_back(item);
  }
  (*shared)[dsCells]->SetChecked(true);

  // Columns size by their header's border and move by their header from the start.
  Form.Grid()->SetOptions(Form.Grid()->Options() + TGridOptions{goColSizing, goColMoving});

  TMenuItem* moveCols = Form.AddDemoItem(menu, u"Move columns by their header", nullptr);
  moveCols->OnClick = [&Form, moveCols](TObject*) {
    TGridOptions o = Form.Grid()->Options();
    if (o.Contains(goColMoving)) o.Exclude(goColMoving);
    else o.Include(goColMoving);
    Form.Grid()->SetOptions(o);
    moveCols->SetChecked(o.Contains(goColMoving));
  };
  TMenuItem* moveRows = Form.AddDemoItem(menu, u"Move rows by their header", nullptr);
  moveRows->OnClick = [&Form, moveRows](TObject*) {
    TGridOptions o = Form.Grid()->Options();
    if (o.Contains(goRowMoving)) o.Exclude(goRowMoving);
    else o.Include(goRowMoving);
    Form.Grid()->SetOptions(o);
    moveRows->SetChecked(o.Contains(goRowMoving));
  };
  TMenuItem* sizeCols = Form.AddDemoItem(menu, u"Size columns by their header border", nullptr);
  sizeCols->OnClick = [&Form, sizeCols](TObject*) {
    TGridOptions o = Form.Grid()->Options();
    if (o.Contains(goColSizing)) o.Exclude(goColSizing);
    else o.Include(goColSizing);
    Form.Grid()->SetOptions(o);
    sizeCols->SetChecked(o.Contains(goColSizing));
  };
  sizeCols->SetChecked(Form.Grid()->Options().Contains(goColSizing));
  moveCols->SetChecked(Form.Grid()->Options().Contains(goColMoving));
  moveRows->SetChecked(Form.Grid()->Options().Contains(goRowMoving));

  // The headers' drop-down buttons and their menu (the menu's Tag names the column pressed).
  TMenuItem* dropDowns = Form.AddDemoItem(menu, u"&Header drop-down menus", nullptr);
  dropDowns->OnClick = [&Form, dropDowns](TObject*) {
    DEreDuzeroVaro* g = Form.Grid();
    if (g->FixedDropDownMenu() == nullptr) {
      auto* popup = new TPopupMenu(&Form);
      auto add = [popup](const String& Caption, std::function<void(int Col)> Action) {
        auto* item = new TMenuItem(popup);
        item->SetCaption(Caption);
        item->OnClick = [popup, Action](TObject*) { Action(static_cast<int>(popup->Tag())); };
        popup->Items()->Add(item);
      };
      add(u"Sort ascending", [g](int Col) { g->Sort(g->DisplToRealCol(Col), sdAscending); });
      add(u"Sort descending", [g](int Col) { g->Sort(g->DisplToRealCol(Col), sdDescending); });
      add(u"Hide column", [g](int Col) { g->HideColumn(g->DisplToRealCol(Col)); });
      add(u"Show all columns", [g](int) { g->UnHideColumnsAll(); });
      g->SetFixedDropDownMenu(popup);
    }
    const bool on = !g->ControlLook()->FixedDropDownButton();
    g->ControlLook()->SetFixedDropDownButton(on);
    if (on) g->SetHoverFixedCells(hfFixedRows);
    dropDowns->SetChecked(on);
    g->Invalidate();
  };

  Form.AddDemoItem(menu, u"Zoom in (Ctrl+wheel down)", [&Form] {
    Form.Grid()->Zoom(1);
    Form.Grid()->Invalidate();
  });
  Form.AddDemoItem(menu, u"Zoom out (Ctrl+wheel up)", [&Form] {
    Form.Grid()->Zoom(-1);
    Form.Grid()->Invalidate();
  });
  Form.AddDemoItem(menu, u"Zoom back to normal", [&Form] {
    Form.Grid()->Zoom(-Form.Grid()->ZoomFactor());
    Form.Grid()->Invalidate();
  });
}
