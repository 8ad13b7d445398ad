#pragma once
// The string grid's demo window: one grid holding a channel table of the receiver (a header
// row, a note merged over three rows, a check box, a signal bar and a rating per channel, a
// spin editor for the level and a pick list for the mode), with a look switch and bands.

#include "grid/AdvGrid.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StdCtrls.h"

#include <functional>

class TGridDemoForm : public TForm {
public:
  explicit TGridDemoForm(TComponent* AOwner);
  String ClassName() const override { return u"TGridDemoForm"; }
  DEreDuzeroVaro* Grid() const { return FGrid; }
  TComboBox* LookBox() const { return FLookBox; }
  TCheckBox* BandsBox() const { return FBandsBox; }

  // The menu bar's top-level item of that caption (made on first use).
  TMenuItem* DemoMenu(const String& Caption);
  // Adds an item to a menu of the bar; clicking it runs OnClick.
  TMenuItem* AddDemoItem(TMenuItem* Menu, const String& Caption, std::function<void()> OnClick);

private:
  DEreDuzeroVaro* FGrid;
  TComboBox* FLookBox;
  TCheckBox* FBandsBox;
  TMainMenu* FMenu;
};

// Each area of the grid adds its menu and items to the demo (grid/demo/GridDemo<Area>.cpp).
void AddGridDemoEditing(TGridDemoForm& Form);
void AddGridDemoSizing(TGridDemoForm& Form);
void AddGridDemoMouse(TGridDemoForm& Form);
void AddGridDemoDrag(TGridDemoForm& Form);
void AddGridDemoExchange(TGridDemoForm& Form);
void AddGridDemoPrint(TGridDemoForm& Form);
void AddGridDemoNodes(TGridDemoForm& Form);
void AddGridDemoFind(TGridDemoForm& Form);
void AddGridDemoRightToLeft(TGridDemoForm& Form);
