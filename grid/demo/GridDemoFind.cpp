// The demo's menu for the grid's find area: the next mode cell found and made current, all
// "Toggle" texts highlighted or their highlights removed, "Momentary" replaced by "Push", and
// the search panel at the grid's bottom edge shown or hidden.
#include "grid/demo/GridDemo.h"

#include "grid/AdvGridSearchPanel.h"

namespace {

// Shows the search panel with its captions and hints, the caret in its edit; hides it again.
// Alt with a caption's marked letter runs its button (letters no menu of the bar marks), and
// Ctrl+F in the grid goes back to the edit.
void ToggleSearchPanel(DEreDuzeroVaro* Grid) {
  TSearchFooter* sf = Grid->SearchFooter();
  if (sf->Visible()) {
    sf->SetVisible(false);
    return;
  }
  sf->SetFindNextCaption(u"Find &next");
  sf->SetFindPrevCaption(u"Find pre&vious");
  sf->SetHighLightCaption(u"&Highlight");
  sf->SetMatchCaseCaption(u"Match case");
  sf->SetHintClose(u"Close");
  sf->SetHintFindNext(u"Find next occurrence");
  sf->SetHintFindPrev(u"Find previous occurrence");
  sf->SetHintHighlight(u"Highlight occurrences");
  sf->SetVisible(true);
  if (TSearchPanel* panel = Grid->SearchPanel(); panel && panel->Edit()->CanFocus()) panel->Edit()->SetFocus();
}

}  // namespace

void AddGridDemoFind(TGridDemoForm& Form) {
  using TFP = DEreDuzeroVaro::TFindParameters;
  TMenuItem* menu = Form.DemoMenu(u"F&ind");
  Form.AddDemoItem(menu, u"Find \"toggle\"", [&Form] { Form.Grid()->FindFirst(u"toggle", {TFP::fnAutoGoto}); });
  Form.AddDemoItem(menu, u"Find next", [&Form] { Form.Grid()->FindNext(); });
  Form.AddDemoItem(menu, u"Highlight \"Toggle\"", [&Form] { Form.Grid()->HilightInGrid(false, true, u"Toggle"); });
  Form.AddDemoItem(menu, u"Remove highlights", [&Form] { Form.Grid()->UnHilightInGrid(false); });
  Form.AddDemoItem(menu, u"Replace \"Momentary\" by \"Push\"",
                   [&Form] { Form.Grid()->Replace(u"Momentary", u"Push", {}); });
  Form.AddDemoItem(menu, u"&Search panel", [&Form] { ToggleSearchPanel(Form.Grid()); });
}
