// The demo's menu for the grid's drag area: dragging cells out and taking drops, moving or
// copying, whole rows, and a second grid window to drag between.
#include "grid/demo/GridDemo.h"

#include <memory>

namespace {

// A window with a grid of its own that drags and takes drops like the demo's.
TForm* SecondGridWindow(TGridDemoForm& Form) {
  auto* form = new TForm(&Form);
  form->SetCaption(u"Second grid");
  form->SetBounds(Form.Left() + 60, Form.Top() + 60, 420, 300);
  auto* grid = new DEreDuzeroVaro(form);
  grid->SetParent(form);
  grid->SetAlign(alClient);
  grid->SetColCount(5);
  grid->SetRowCount(12);
  grid->SetOptions(grid->Options() + goEditing + goRangeSelect);
  grid->SetCells(1, 0, u"Drop here");
  grid->DragDropSettings()->Assign(Form.Grid()->DragDropSettings());
  grid->DragDropSettings()->SetOleDropSource(true);
  grid->DragDropSettings()->SetOleDropTarget(true);
  return form;
}

}  // namespace

void AddGridDemoDrag(TGridDemoForm& Form) {
  TMenuItem* menu = Form.DemoMenu(u"Drag");
  auto toggle = [&Form, menu](const String& Caption, bool (DEreDuzeroVaro::TDragDropSettings::*Get)() const,
                              void (DEreDuzeroVaro::TDragDropSettings::*Set)(bool)) {
    auto item = std::make_shared<TMenuItem*>(nullptr);
    *item = Form.AddDemoItem(menu, Caption, [&Form, Get, Set, item] {
      DEreDuzeroVaro::TDragDropSettings* s = Form.Grid()->DragDropSettings();
      (s->*Set)(!(s->*Get)());
      (*item)->SetChecked((s->*Get)());
    });
    (*item)->SetChecked((Form.Grid()->DragDropSettings()->*Get)());
  };
  using S = DEreDuzeroVaro::TDragDropSettings;
  // The demo's grid takes drops from the start; dragging out is switched on from the menu.
  Form.Grid()->DragDropSettings()->SetOleDropTarget(true);
  toggle(u"Drag cells out", &S::OleDropSource, &S::SetOleDropSource);
  toggle(u"Take drops", &S::OleDropTarget, &S::SetOleDropTarget);
  toggle(u"Copy, never move", &S::OleCopyAlways, &S::SetOleCopyAlways);
  toggle(u"Insert dropped rows", &S::OleInsertRows, &S::SetOleInsertRows);
  toggle(u"Drop into whole rows", &S::OleEntireRows, &S::SetOleEntireRows);
  toggle(u"Append rows dropped below the last", &S::OleAppendRows, &S::SetOleAppendRows);
  toggle(u"Remove moved rows", &S::OleRemoveRows, &S::SetOleRemoveRows);
  toggle(u"Drag columns by their header", &S::OleColumnDragDrop, &S::SetOleColumnDragDrop);
  toggle(u"Reorder columns dropped on the header", &S::OleColumnReorder, &S::SetOleColumnReorder);
  Form.AddDemoItem(menu, u"Second grid window", [&Form] { SecondGridWindow(Form)->Show(); });
}
