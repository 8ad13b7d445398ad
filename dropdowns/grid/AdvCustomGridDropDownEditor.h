#pragma once
// The grid's cell editor of the grid drop-down kind (edAdvGridDropDown): the grid drop-down with
// the key handling the grid's drop-down editors share. The grid reaches it through the factory
// that RegisterAdvGridDropDownEditor registers.

#include "dropdowns/grid/AdvCustomGridDropDown.h"
#include "grid/AdvGridEditors.h"

class TGridAdvGridDropDown : public TGridDropDownEditor<TCustomAdvGridDropDown>, public TGridDropDownGridSetup {
public:
  explicit TGridAdvGridDropDown(TComponent* AOwner);
  String ClassName() const override { return u"TGridAdvGridDropDown"; }
  // The drop-down's grid as a string grid.
  DEreDuzeroVaro* GetGrid() const { return TCustomAdvGridDropDown::GetGrid(); }
  DEreDuzeroVaro* DropDownGrid() const override { return GetGrid(); }
  void BeginItemsUpdate() override { BeginUpdate(); }
  void EndItemsUpdate() override { EndUpdate(); }
};
