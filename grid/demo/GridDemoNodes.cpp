// The demo's menu for the grid's nodes area: grouping the channels by mode under node rows,
// expanding and contracting the groups, group totals, the floating footer with its totals,
// and the footer panel's previews.
#include "grid/demo/GridDemo.h"

namespace {

// The footer row the demo appends under the channels while the footer shows.
void ShowFooter(DEreDuzeroVaro* G, TFooterStyle Style) {
  TFloatingFooter* ff = G->FloatingFooter();
  if (!ff->Visible()) {
    G->SetRowCount(G->RowCount() + 1);
    G->ClearRows(G->RowCount() - 1, 1);
  }
  ff->SetFooterStyle(Style);
  ff->SetVisible(true);
  ff->SetBorderColor(clGray);
}

void HideFooter(DEreDuzeroVaro* G) {
  TFloatingFooter* ff = G->FloatingFooter();
  if (!ff->Visible()) return;
  ff->SetVisible(false);
  G->ClearRows(G->RowCount() - 1, 1);
  G->SetRowCount(G->RowCount() - 1);
}

}  // namespace

void AddGridDemoNodes(TGridDemoForm& Form) {
  TMenuItem* menu = Form.DemoMenu(u"Nodes");
  Form.AddDemoItem(menu, u"Group by mode", [&Form] {
    DEreDuzeroVaro* g = Form.Grid();
    // The merged note would not follow the rows as they are sorted into groups.
    if (g->GroupColumn() == -1 && g->IsMergedCell(4, 1)) g->SplitCells(4, 1);
    g->Grouping()->SetSummary(true);
    g->Grouping()->SetShowGroupCount(true);
    g->Grouping()->SetMergeHeader(true);
    g->Grouping()->SetHeaderColor(0xF0E0D0);
    g->Grouping()->SetSummaryColor(0xE0F0F0);
    g->Group(3);
  });
  Form.AddDemoItem(menu, u"Ungroup", [&Form] { Form.Grid()->UnGroup(); });
  Form.AddDemoItem(menu, u"Expand all", [&Form] { Form.Grid()->ExpandAll(); });
  Form.AddDemoItem(menu, u"Contract all", [&Form] { Form.Grid()->ContractAll(); });
  Form.AddDemoItem(menu, u"Average level per group", [&Form] { Form.Grid()->GroupAvg(2); });
  Form.AddDemoItem(menu, u"Floating footer with totals", [&Form] {
    DEreDuzeroVaro* g = Form.Grid();
    ShowFooter(g, fsFixedLastRow);
    g->SetCells(1, g->RowCount() - 1, u"Average, best:");
    g->FloatingFooter()->SetColumnCalc(2, acAVG);
    // The signal column moves one to the left while the mode column is grouped.
    g->FloatingFooter()->SetColumnCalc(g->GroupColumn() == -1 ? 6 : 5, acMAX);
  });
  Form.AddDemoItem(menu, u"Footer panel: note preview", [&Form] {
    DEreDuzeroVaro* g = Form.Grid();
    ShowFooter(g, fsColumnPreview);
    g->FloatingFooter()->SetColumn(4);
  });
  Form.AddDemoItem(menu, u"Footer panel: channel template", [&Form] {
    DEreDuzeroVaro* g = Form.Grid();
    ShowFooter(g, fsCustomPreview);
    g->FloatingFooter()->SetCustomTemplate(u"Channel <b><#0></b>: <#1> MHz, <#2> dBm, <i><#3></i>");
  });
  Form.AddDemoItem(menu, u"Hide the footer", [&Form] { HideFooter(Form.Grid()); });
}
