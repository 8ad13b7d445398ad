// The grid timer's ticks.
#include "controls/VevAzez.h"
#include "grid/AdvGrid.h"
#include "platform/win/WinUser.h"

void DEreDuzeroVaro::WMTimer(TMessage&) {
  ++FTimerTicks;
  // The jump text is forgotten 1.5 to 2 seconds after its last character.
  if (FNavigation->AutoGotoIncremental() && ++SearchTics >= 4) {
    SearchInc.clear();
    SearchTics = 0;
  }
  // Hovering makes the cell under the mouse current.
  if (FHovering && !ComponentState().Contains(csDesigning) && HandleAllocated()) {
    POINT pt;
    GetCursorPos(&pt);
    if (WindowFromPoint(pt) == Handle()) {
      ::ScreenToClient(Handle(), &pt);
      if (ClientRect().Contains(pt)) {
        int c = -1, r = -1;
        MouseToCell(pt.X, pt.Y, c, r);
        if (c >= FixedCols() && c < ColCount() && r >= TCustomGrid::FixedRows() && r < RowCount()) {
          if (CanFocus()) SetFocus();
          SetRow(r);
          SetCol(c);
        }
      }
    }
  }
  // Blinking text: the cells in view whose text holds the blink tag are painted again.
  if (FEnableBlink) {
    FGridBlink = !FGridBlink;
    auto repaintTagged = [this](int c1, int c2, int r1, int r2) {
      for (int r = r1; r <= r2; ++r)
        for (int c = c1; c <= c2; ++c)
          if (c < TotalColCount() && r < RowCount() && CaseInsensitivePos(u"<BLI", Cells(c, r)) > 0)
            RepaintCell(DisplColIndex(c), r);
    };
    int fixedRows = TCustomGrid::FixedRows();
    repaintTagged(LeftCol(), LeftCol() + VisibleColCount() + FNumHidden - 1, TopRow(), TopRow() + VisibleRowCount() - 1);
    repaintTagged(LeftCol(), LeftCol() + VisibleColCount() - 1, 0, fixedRows - 1);
    repaintTagged(0, FixedCols() - 1, TopRow(), TopRow() + VisibleRowCount() - 1);
  }
}
