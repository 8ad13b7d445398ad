// The drop-down button of the string grid's fixed cells: whether a column shows it, and the
// press that pops its menu up under the button.
#include "grid/AdvGrid.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/ui/Menus.h"

namespace {
// The button takes the cell's right 16 pixels.
constexpr int DropDownWidth = 16;
}  // namespace

bool DEreDuzeroVaro::CanShowFixedDropDown(int ACol) {
  bool canShow = true;
  if (OnCanShowFixedDropDown) OnCanShowFixedDropDown(this, ACol, canShow);
  return canShow;
}

bool DEreDuzeroVaro::PressFixedDropDown(int ACol, int ARow, int X) {
  if (ACol < 0 || ARow < 0 || !FControlLook->FixedDropDownButton() || !IsHoverFixedCell(ACol, ARow)) return false;
  const TRect r = CellRect(ACol, ARow);
  // With column sizing the last 2 pixels belong to the border.
  const int right = Options().Contains(goColSizing) ? r.Right - 2 : r.Right;
  if (X <= r.Right - DropDownWidth || X >= right) return false;
  // A column that does not show the button has none to press.
  if (!CanShowFixedDropDown(DisplToRealCol(ACol))) return false;
  FDropDownDown = true;
  bool keep = false;
  // Without a menu or handler the press goes on as a press on the cell.
  if (FFixedDropDownMenu == nullptr && !OnFixedDropDownClick) return false;
  FNoMouseLeave = true;
  TPopupMenu* menu = FFixedDropDownMenu;
  if (menu != nullptr) menu->SetTag(ACol);
  if (OnFixedDropDownClick) OnFixedDropDownClick(this, ACol, ARow, menu, keep);
  if (menu != nullptr) {
    FMouseDownMove = false;
    FHoverFixedCell = TPoint(ACol, ARow);
    RepaintCell(ACol, ARow);
    const TPoint at = ClientToScreen(TPoint(r.Right - DropDownWidth, r.Bottom));
    {
      // The cell is highlighted while the menu is up, and no more once it closed.
      TScopeGuard closed([&] {
        FHoverFixedCell = TPoint(-1, -1);
        RepaintCell(ACol, ARow);
      });
      menu->Popup(at.X, at.Y);
    }
  }
  FNoMouseLeave = keep;
  return true;
}
