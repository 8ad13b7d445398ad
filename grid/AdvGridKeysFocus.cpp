// Focus, dialog codes and component messages of the string grid.
#include "grid/AdvGrid.h"
#include "grid/AdvGridFooterPanel.h"
#include "grid/AdvGridSearchPanel.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/ui/Menus.h"

void DEreDuzeroVaro::WMSetFocus(TWMSetFocus& Message) {
  if (InvokedFocusChange) return;
  TBaseGrid::WMSetFocus(Message);
  if (HasCheckBox(RealColIndex(Col()), Row())) return;
  // With AlwaysEdit the editor opens on the current cell when it is in view and editable.
  auto mayOpen = [this] {
    bool allowed = true;
    CellEditAllowed(Col(), Row(), allowed);
    const bool inView = Col() >= LeftCol() && Col() <= LeftCol() + VisibleColCount() - 1 && Row() >= TopRow() &&
                        Row() <= TopRow() + VisibleRowCount() - 1;
    return allowed && inView;
  };
  const bool moving = GridState() == gsColMoving || GridState() == gsRowMoving;
  if (NormalEdit() != nullptr) {
    const bool fromEditor = InplaceEditor() != nullptr && InplaceEditor()->HandleAllocated() &&
                            Message.FocusedWnd() == InplaceEditor()->Handle();
    if (!fromEditor && !moving && FNavigation->AlwaysEdit() && EditControl == edNormal && mayOpen()) {
      ShowInplaceEdit();
      Message.SetResult(0);
      return;
    }
  } else if (FNavigation->AlwaysEdit() && mayOpen() && !FMouseActions->DirectEdit() &&
             !ControlLook()->DropDownAlwaysVisible() && HasComboBox(Col(), Row())) {
    ShowInplaceEdit();
  }
  if ((RowCount() == 1 && FixedRowAlways()) || (ColCount() == 1 && FixedColAlways())) HideSelection();
  if (IsMergedCell(Col(), Row())) {
    const TPoint span = CellSpan(Col(), Row());
    for (int r = Row(); r <= Row() + span.Y; ++r)
      for (int c = Col(); c <= Col() + span.X; ++c) RepaintCell(c, r);
  }
}

void DEreDuzeroVaro::WMKillFocus(TWMKillFocus& Message) {
  if (FBlockKill) {
    Message.SetResult(1);
    return;
  }
  TBaseGrid::WMKillFocus(Message);
  if (IsMergedCell(Col(), Row())) {
    const TPoint span = CellSpan(Col(), Row());
    for (int r = Row(); r <= Row() + span.Y; ++r)
      for (int c = Col(); c <= Col() + span.X; ++c) RepaintCell(c, r);
  }
  if (FCtrlDown) {
    FCtrlDown = false;
    RepaintCell(FCtrlXY.X, FCtrlXY.Y);
  }
}

void DEreDuzeroVaro::WMGetDlgCode(TWMGetDlgCode& Message) {
  TBaseGrid::WMGetDlgCode(Message);
  if (FNavigation->AutoGotoWhenSorted() || !Options().Contains(goEditing))
    Message.SetResult(Message.Result() | DLGC_WANTCHARS);
}

void DEreDuzeroVaro::DoEnter() {
  if (FBlockFocus) return;
  TScopeGuard entered([this] { RememberOldCell(Col(), Row()); });
  TBaseGrid::DoEnter();
  if (Options().Contains(goEditing) || FMouseActions->RangeSelectAndEdit()) SelectCell(Col(), Row());
}

void DEreDuzeroVaro::DoExit() {
  if (!FBlockKill) TBaseGrid::DoExit();
}

void DEreDuzeroVaro::CMEnabledChanged(TMessage& Message) {
  TBaseGrid::CMEnabledChanged(Message);
  Invalidate();
}

void DEreDuzeroVaro::CMCursorChanged(TMessage& Message) {
  TBaseGrid::CMCursorChanged(Message);
  if (!Invokedchange) FMouseSelectMode = msNormal;
  Invokedchange = false;
}

void DEreDuzeroVaro::CMColorChanged(TMessage& Message) {
  TBaseGrid::CMColorChanged(Message);
  if (FFloatingFooter->Visible() && FFooterPanel != nullptr) FFooterPanel->Invalidate();
}

void DEreDuzeroVaro::CMDialogChar(TWMKey& Message) {
  TSearchPanel* p = FSearchPanel;
  if (FSearchFooter->Visible() && p != nullptr && p->Showing()) {
    const Char ch = static_cast<Char>(Message.CharCode());
    auto marks = [ch](TAdvGridButton* b) { return b->Visible() && b->Enabled() && IsAccel(ch, b->Caption()); };
    if (marks(p->FForwardButton)) {
      SearchForwardClick(p);
    } else if (marks(p->FBackwardButton)) {
      SearchBackwardClick(p);
    } else if (marks(p->FHiliteButton)) {
      // As a click on the toggle: down, or up again.
      p->FHiliteButton->SetDown(!p->FHiliteButton->Down());
      SearchHighlightClick(p);
    } else {
      TBaseGrid::CMDialogChar(Message);
      return;
    }
    Message.SetResult(1);
    return;
  }
  TBaseGrid::CMDialogChar(Message);
}

bool DEreDuzeroVaro::IsHoverFixedCell(int ACol, int ARow) {
  const THoverFixedCells h = HoverFixedCells();
  if (h == hfNone) return false;
  if (ACol < FixedCols() && (h == hfAll || h == hfFixedColumns)) return true;
  return ARow < TCustomGrid::FixedRows() && (h == hfAll || h == hfFixedRows);
}

void DEreDuzeroVaro::ResetFixedCellHighlight() {
  FSizeFixed = FSizeFixedR = FNoMouseLeave = false;
  if (HoverFixedCells() != hfNone && FHoverFixedCell.X != -1) {
    const TPoint cell = FHoverFixedCell;
    FHoverFixedCell = TPoint(-1, -1);
    RepaintCell(cell.X, cell.Y);
  }
}
