// The string grid's keyboard: the key-down message, the class library's key-down step, typed
// characters, key presses and releases.
#include "controls/HtmlText.h"
#include "controls/VevAzez.h"
#include "grid/AdvGrid.h"
#include "grid/AdvGridSearchPanel.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/WinUser.h"

namespace {
bool IsArrowOrPage(Word Key) { return Key >= VK_PRIOR && Key <= VK_DOWN; }
bool SameRect(const TGridRect& A, const TGridRect& B) {
  return A.Left == B.Left && A.Top == B.Top && A.Right == B.Right && A.Bottom == B.Bottom;
}
}  // namespace

void DEreDuzeroVaro::FireKeyDown(Word Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void DEreDuzeroVaro::ConsumeKey(TWMKey& Message, Word Key, TShiftState Shift) {
  FireKeyDown(Key, Shift);
  Message.SetCharCode(0);
  Message.SetResult(1);
}

bool DEreDuzeroVaro::CurrentCellHasControlTag() {
  const String s = Cells(RealColIndex(Col()), Row());
  return ClassifyCellText(s, EnableHTML()) == 1 && UpperCase(s).find(u"<CONTROL") != String::npos;
}

int DEreDuzeroVaro::KeyMarkRow() {
  return FMouseActions->DisjunctRowSelect() && FMouseActions->RowSelectPersistent() ? RealRowIndex(Row()) : Row();
}

// ---------------------------------------------------------------------------
// WM_KEYDOWN

bool DEreDuzeroVaro::KeyScrollOnly(TWMKey& Message, Word Key) {
  if (!FNavigation->MoveScrollOnly()) return false;
  if (Key != VK_PRIOR && Key != VK_NEXT && Key != VK_END && Key != VK_HOME && Key != VK_UP && Key != VK_DOWN)
    return false;
  const int fixedRows = TCustomGrid::FixedRows();
  const int v = VisibleRowCount();
  switch (Key) {
    case VK_PRIOR: SetTopRow(v + fixedRows < TopRow() ? TopRow() - v : fixedRows); break;
    case VK_NEXT:
      if (TopRow() + v < RowCount()) SetTopRow(TopRow() + v);
      break;
    case VK_END: SetTopRow(RowCount() - v); break;
    case VK_HOME: SetTopRow(fixedRows); break;
    case VK_UP:
      if (fixedRows < TopRow()) SetTopRow(TopRow() - 1);
      break;
    case VK_DOWN:
      if (TopRow() + v < RowCount()) SetTopRow(TopRow() + 1);
      break;
    default: break;
  }
  Message.SetCharCode(0);
  Message.SetResult(1);
  return true;
}

bool DEreDuzeroVaro::KeyHomeEnd(TWMKey& Message, Word Key, TShiftState Shift) {
  if ((Key != VK_HOME && Key != VK_END) || Shift.Contains(ssCtrl)) return false;
  const THomeEndAction mode = FNavigation->HomeEndKey();
  const bool rowSelect = Options().Contains(goRowSelect);
  if (mode == heFirstLastColumn && rowSelect) return false;
  if (mode != heFirstLastCell && FixedRowAlways() && RowCount() == 1) {
    TBaseGrid::WMKeyDown(Message);
    return true;
  }
  const int fixedRows = TCustomGrid::FixedRows();
  const bool shift = Shift.Contains(ssShift);
  const bool disjunct = FMouseActions->DisjunctRowSelect();
  const int oldRow = Row(), oldLeft = LeftCol();
  const int lastNormalCol = ColCount() - FixedRightCols() - 1;
  switch (mode) {
    case heFirstLastCell:
      if (Key == VK_HOME) {
        SetCol(FixedCols());
        SetRow(fixedRows);
      } else {
        SetCol(ColCount() - 1);
        SetRow(RowCount() - 1);
      }
      MoveToBaseCell();
      break;
    case heFirstLastRow: {
      int to = fixedRows;
      if (Key == VK_END) {
        to = HideLastRow() && RowCount() > 2 ? RowCount() - 2 : RowCount() - FixedFooters() - 1;
        to = std::max(to, fixedRows);
        if (FixedFooters() > 0 && !HideLastRow()) SetTopRow(RowCount() - VisibleRowCount());
      }
      SetRow(to);
      MoveToBaseCell();
      if (!shift && disjunct) {
        ClearRowSelect();
        SelectionToRowSelect(false);
      } else if (shift) {
        SetSelection(TGridRect{0, oldRow, ColCount() - 1, Row()});
        if (disjunct) SelectionToRowSelect(false);
      }
      if (Key == VK_END && HideLastRow()) SetTopRow(RowCount() - VisibleRowCount());
      if (rowSelect && FNavigation->KeepHorizScroll()) {
        StartUpdate();
        SetLeftCol(oldLeft);
        ResetUpdate();
      }
      break;
    }
    case heFirstLastColumn:
      if (shift) {
        SetSelection(TGridRect{Col(), Row(), Key == VK_HOME ? FixedCols() : lastNormalCol, Row()});
        RepaintRow(Row());
      } else if (Key == VK_HOME) {
        SetCol(FirstNormalCol());
        MoveToBaseCell();
        SetLeftCol(FirstNormalCol());
      } else {
        SetCol(ColCount() - 1);
        MoveToBaseCell();
        SetLeftCol(ColCount() - VisibleColCount());
      }
      break;
  }
  FireKeyDown(Key, Shift);
  Message.SetResult(0);
  return true;
}

bool DEreDuzeroVaro::KeyRowSelectScroll(TWMKey& Message, Word Key, TShiftState Shift) {
  if (!Options().Contains(goRowSelect) || IsNode(Row()) || ColCount() <= VisibleColCount()) return false;
  if (Key != VK_LEFT && Key != VK_RIGHT) return false;
  auto scroll = [this, Key] {
    if (Key == VK_LEFT && FixedCols() < LeftCol()) SetLeftCol(LeftCol() - 1);
    if (Key == VK_RIGHT && VisibleColCount() + LeftCol() < ColCount()) SetLeftCol(LeftCol() + 1);
  };
  if (FNavigation->LeftRightRowSelect()) {
    if (Shift.Contains(ssCtrl)) scroll();
    return false;
  }
  scroll();
  FireKeyDown(Key, Shift);
  Message.SetResult(0);
  return true;
}

void DEreDuzeroVaro::KeyCellControl(Word Key) {
  const int rc = RealColIndex(Col()), r = Row();
  if ((Key != VK_RETURN && Key != VK_SPACE) || !HasCellControl(rc, r)) return;
  bool allowed = Options().Contains(goEditing) || FMouseActions->RangeSelectAndEdit();
  CellEditAllowed(rc, r, allowed);
  if (Key == VK_SPACE && HasCheckBox(rc, r) && (allowed || ControlLook()->CheckAlwaysActive())) {
    ToggleCheck(rc, r, true);
    if (ShowModified()->Enabled()) {
      SetRowModified(r, true);
      RepaintCell(0, r);
    }
    bool state = false;
    GetCheckBoxState(rc, RealRowIndex(r), state);
    CheckBoxClick(rc, r, state);
  }
  if (Key == VK_SPACE && IsRadio(rc, r) && (allowed || ControlLook()->RadioAlwaysActive())) {
    SelectNextRadio(rc, r, true);
    int idx = -1;
    GetRadioIdx(rc, r, idx);
    if (OnRadioClick) OnRadioClick(this, rc, r, idx);
  }
  if (Key == VK_SPACE && HasRadioButton(rc, r) && (allowed || ControlLook()->RadioAlwaysActive())) {
    SetRadioButtonColumnIndex(rc, r);
    if (OnRadioButtonClick) OnRadioButtonClick(this, rc, r);
  }
  if (HasButton(rc, r) && allowed) ButtonClick(rc, r);
  RepaintCell(Col(), Row());
}

void DEreDuzeroVaro::KeySkipFixed(TWMKey& Message, Word Key) {
  if (!FNavigation->SkipFixedCells()) return;
  const TShiftState shift = KeyDataToShiftState(Message.KeyData());
  const int fixedRows = TCustomGrid::FixedRows();
  // Left and Right swap their meaning in a mirrored grid.
  const Word key = GridMirrored() && (Key == VK_LEFT || Key == VK_RIGHT) ? (Key == VK_LEFT ? VK_RIGHT : VK_LEFT) : Key;
  const int c = Col(), r = Row();
  switch (key) {
    case VK_LEFT:
    case VK_RIGHT: {
      const int dir = key == VK_LEFT ? -1 : 1;
      const int next = c + dir;
      if (next < 0 || next >= ColCount() || !IsFixed(next, r)) return;
      int i = next;
      const int end = ColCount() - FixedRightCols();
      while (i >= FixedCols() && i < end && IsFixed(i, r)) i += dir;
      if (i >= FixedCols() && i < end) SetCol(i);
      ConsumeKey(Message, Key, shift);
      return;
    }
    case VK_UP:
    case VK_DOWN: {
      const int dir = key == VK_UP ? -1 : 1;
      const int next = r + dir;
      const int end = RowCount() - FixedFooters();
      if (next < fixedRows || next >= end || !IsFixed(c, next)) return;
      if (Options().Contains(goRowSelect)) {
        SetRow(next);
      } else {
        int i = next;
        while (i >= fixedRows && i < end && IsFixed(c, i)) i += dir;
        if (i >= fixedRows && i < end) SetRow(i);
      }
      ConsumeKey(Message, Key, shift);
      return;
    }
    default: return;
  }
}

void DEreDuzeroVaro::KeySelectAll() {
  if (!Options().Contains(goRowSelect) && !Options().Contains(goRangeSelect)) return;
  const int lastCol = ColCount() - FixedRightCols() - 1, lastRow = RowCount() - FixedFooters() - 1;
  const TGridRect all{FirstNormalCol(), TCustomGrid::FixedRows(), lastCol, lastRow};
  if (all.Right < all.Left || all.Bottom < all.Top) return;
  if (FMouseActions->DisjunctRowSelect())
    for (int r = all.Top; r <= all.Bottom; ++r) SetRowSelect(r, true);
  TGridRect sel = all;
  BeforeSelectAll(sel);
  SetSelection(all);
  FocusCell(lastCol, lastRow);
  const TRect cell = CellRect(lastCol, lastRow);
  MouseDown(mbLeft, TShiftState{}, cell.Left + 2, cell.Top + 2);
  MouseUp(mbLeft, TShiftState{}, cell.Left + 2, cell.Top + 2);
  FocusCell(lastCol, lastRow);
  SetSelection(all);
}

bool DEreDuzeroVaro::KeyInsertRow(Word Key, TShiftState Shift) {
  if (Key != VK_INSERT || !FNavigation->AllowInsertRow() || Shift.Contains(ssCtrl) || Shift.Contains(ssShift) ||
      Shift.Contains(ssAlt))
    return false;
  bool allow = true;
  CanInsertRow(Row(), allow);
  if (!allow) return true;
  int n = Row();
  {
    // The row goes in at its real place.
    const int cur = RealRowIndex(n);
    if (cur >= TCustomGrid::FixedRows() && cur < RowCount()) SetRow(cur);
    int index = cur;
    if (FNavigation->InsertPosition() == pInsertAfter) {
      if (FixedRowAlways() && TCustomGrid::FixedRows() == RowCount()) {
        n = 1;
      } else {
        index = RealRowIndex(Row() + 1);
        if (RowCount() > n + 1) ++n;
      }
    }
    AutoInsertRow(index);
    if (OnAutoInsertRow) OnAutoInsertRow(this, index);
    SetModified(true);
  }
  if (n >= TCustomGrid::FixedRows() && n < RowCount()) SetRow(n);
  return false;
}

bool DEreDuzeroVaro::KeyAfterNavigation(TWMKey& Message, Word Key, TShiftState Shift, int OldCol, int OldRow) {
  (void)Message;
  const bool disjunctRows = FMouseActions->DisjunctRowSelect();
  const bool disjunctCols = FMouseActions->DisjunctColSelect();
  const int markRow = KeyMarkRow();
  if (IsArrowOrPage(Key)) {
    if (disjunctRows) {
      if (!Shift.Contains(ssShift) && !Shift.Contains(ssCtrl)) ClearRowSelect();
      if (Shift.Contains(ssShift)) SelectionToRowSelect(true);
      else SetRowSelect(markRow, true);
    }
    if (disjunctCols) {
      if (!Shift.Contains(ssShift) && !Shift.Contains(ssCtrl)) ClearColSelect();
      if (Shift.Contains(ssShift)) SelectionToColSelect(true);
      else SetColSelect(Col(), true);
    }
  }
  if (Key == VK_SPACE) {
    if (disjunctRows) SetRowSelect(markRow, !RowSelect(markRow));
    if (disjunctCols) SetColSelect(Col(), !ColSelect(Col()));
  }
  if (Key == VK_DELETE && FNavigation->AllowDeleteRow() && !Shift.Contains(ssAlt) &&
      RowCount() - FixedFooters() > TCustomGrid::FixedRows()) {
    const int real = RealRowIndex(Row());
    bool canDelete = true;
    if (OnCanDeleteRow) OnCanDeleteRow(this, real, canDelete);
    if (!canDelete) return true;
    {
      AutoDeleteRow(real);
    }
    if (HideLastRow() && Row() == RowCount() - 1 && RowCount() - 2 >= TCustomGrid::FixedRows()) SetRow(RowCount() - 2);
    RememberOldCell(Col(), Row());
    SetModified(true);
  }
  if (Key == VK_TAB && Options().Contains(goTabs) && FixedRightCols() > 0 &&
      ColCount() + FNumHidden - FixedRightCols() == OldCol + 1) {
    const int r = RowCount() - FixedFooters() == OldRow + 1 ? TCustomGrid::FixedRows() : Row() + 1;
    if (r < RowCount()) SetRow(r);
    SetCol(FirstNormalCol());
  }
  if (Key == VK_RETURN || Key == VK_F2) {
    RememberOldCell(Col(), Row());
    if (HasHtmlControls(Cells(RealColIndex(Col()), Row()))) EditHTMLControl(Col(), Row(), String());
    if (Key == VK_F2) AfterEditKey();
  }
  const TGridRect sel = Selection();
  if (!SameRect(sel, FMoveSelection)) {
    SelectionChanged(sel.Left, sel.Top, sel.Right, sel.Bottom);
    FMoveSelection = sel;
  }
  return false;
}

void DEreDuzeroVaro::FocusSearchPanel() {
  if (!FSearchFooter->Visible() || FSearchPanel == nullptr) return;
  TRetEdit* edit = FSearchPanel->Edit();
  if (edit->CanFocus()) edit->SetFocus();
}

bool DEreDuzeroVaro::KeySearchFooter(TWMKey& Message, Word Key, TShiftState Shift, bool& Locked) {
  Locked = false;
  if (!FSearchFooter->Visible() || FSearchPanel == nullptr || TopRow() < RowCount() - VisibleRowCount()) return false;
  const bool lastRow = Row() == RowCount() - 1;
  if (lastRow && (Key == VK_DOWN || (Key == VK_RIGHT && Col() == ColCount() - 1) ||
                  (Key == VK_LEFT && Col() == FixedCols()))) {
    if (Key == VK_DOWN) ScrollClearOfSearchFooter();
    Message.SetResult(1);
    FireKeyDown(Key, Shift);
    return true;
  }
  // The navigation's scrolling and the correction after it repaint once.
  Locked = lastRow ? (Key == VK_NEXT || Key == VK_END || Key == VK_LEFT || Key == VK_RIGHT || Key == VK_DOWN)
                   : (Key != VK_SHIFT && Key != VK_MENU && !IsArrowOrPage(Key));
  if (Locked) BeginUpdate();
  return false;
}

void DEreDuzeroVaro::WMKeyDown(TWMKey& Message) {
  // 1. What the key starts from.
  FMoveSelection = Selection();
  const Word key = Message.CharCode();
  const TShiftState shift = KeyDataToShiftState(Message.KeyData());
  const int oldCol = Col(), oldRow = Row(), oldLeft = LeftCol();
  const int rc = RealColIndex(Col());
  const bool keepLeft = (key == VK_PRIOR || key == VK_NEXT || key == VK_UP || key == VK_DOWN) &&
                        Options().Contains(goRowSelect) && LeftCol() != FixedCols() &&
                        FNavigation->KeepHorizScroll();
  const bool enterOrF2 = key == VK_RETURN || key == VK_F2;

  // 2. Scroll-only mode.
  if (KeyScrollOnly(Message, key)) return;

  // 3, 4. Editing switched on by Enter or F2.
  if (FMouseActions->EditOnDblClickOnly() && enterOrF2 && !Options().Contains(goEditing)) {
    const bool old = FMouseActions->RangeSelectAndEdit();
    FMouseActions->SetRangeSelectAndEdit(true);
    const bool editable = IsEditable(rc, Row());
    FMouseActions->SetRangeSelectAndEdit(old);
    if (editable) {
      TGridOptions o = Options();
      o.Include(goEditing);
      SetOptions(o);
    }
  }
  if (FMouseActions->RangeSelectAndEdit() && !Options().Contains(goEditing) && enterOrF2) {
    if (!IsEditable(rc, Row())) {
      ConsumeKey(Message, key, shift);
      return;
    }
    TGridOptions o = Options();
    o.Include(goEditing);
    SetOptions(o);
    ShowInplaceEdit();
  }

  // 5. Ctrl+F goes to the search panel's edit box.
  if (key == 'F' && shift.Contains(ssCtrl) && !shift.Contains(ssAlt)) FocusSearchPanel();

  // 6. Enter and F2 on cells that may not be edited, and on form controls.
  if (enterOrF2 && Options().Contains(goEditing) && !IsEditable(rc, Row()) && !HasCellControl(rc, Row())) {
    ConsumeKey(Message, key, shift);
    return;
  }
  if (enterOrF2 && CurrentCellHasControlTag()) {
    Message.SetResult(1);
    return;
  }
  // 7. Enter on a cell that is not editable reaches a previewing form, else only OnKeyDown.
  if (key == VK_RETURN && !IsEditable(rc, Row()) && !HasCellControl(rc, Row())) {
    TCustomForm* form = FindParentForm(this);
    if (form != nullptr && form->KeyPreview()) TBaseGrid::WMKeyDown(Message);
    else ConsumeKey(Message, key, shift);
    return;
  }

  // 8. Check boxes, radio groups, radio buttons and buttons in cells.
  KeyCellControl(key);

  // 9. Home and End.
  if (KeyHomeEnd(Message, key, shift)) return;

  // 11. Sideways scrolling in row-select mode.
  if (KeyRowSelectScroll(Message, key, shift)) return;

  // 12. Tab.
  if (key == VK_TAB && Options().Contains(goTabs)) {
    TabAdvance(shift.Contains(ssShift));
    const TGridRect sel = Selection();
    if (!SameRect(sel, FMoveSelection)) SelectionChanged(sel.Left, sel.Top, sel.Right, sel.Bottom);
    Message.SetCharCode(0);
    return;
  }

  // 13. Fixed cells inside the grid are jumped over.
  KeySkipFixed(Message, key);

  // 14. Down on the last normal row appends a row.
  if (key == VK_DOWN && Message.CharCode() != 0 && IsLastNormalRow() && FNavigation->AppendOnArrowDown()) AutoAddRow();

  // 15. The selection rectangle's corners repaint.
  if (SelectionRectangle() && !SameRect(Selection(), FMoveSelection)) {
    const TGridRect s = Selection();
    TRect a = CellRect(s.Left, s.Top), b = CellRect(s.Right, s.Bottom);
    TRect u(std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom));
    if (HandleAllocated()) {
      RECT r = u;
      InvalidateRect(Handle(), &r, false);
    }
    FMoveSelection = s;
  }

  // 16. Scrolled to the end above a shown search panel, the last row stays clear of it and the
  // keys do not wrap around from it.
  bool footerLock = false;
  // (A key consumed above is no longer the key.)
  if (Message.CharCode() != 0 && KeySearchFooter(Message, key, shift, footerLock)) return;
  TScopeGuard footerResume([this, &footerLock] {
    if (footerLock) EndUpdate();
  });

  // 17. The class library's navigation (which calls KeyDown), with the left column kept.
  const int oldTop = TopRow();
  if (keepLeft) BeginUpdate();
  {
    TScopeGuard resume([this, keepLeft, oldLeft] {
      if (!keepLeft) return;
      SetLeftCol(oldLeft);
      EndUpdate();
    });
    if (Message.CharCode() != 0) TBaseGrid::WMKeyDown(Message);
    // 18. Other keys do not scroll there; a move onto the last row keeps it above the panel.
    if (FSearchFooter->Visible()) {
      if (TopRow() >= RowCount() - VisibleRowCount() && !IsArrowOrPage(key) && key != VK_SHIFT && key != VK_MENU &&
          TopRow() != oldTop)
        SetTopRow(oldTop);
      if ((key == VK_NEXT || key == VK_END || key == VK_LEFT || key == VK_RIGHT || key == VK_DOWN) &&
          Row() == RowCount() - 1)
        ScrollClearOfSearchFooter();
    }
    if (footerLock) {
      footerLock = false;
      EndUpdate();
    }
  }
  if (Message.CharCode() == 0 && key != VK_DELETE && key != VK_INSERT) return;

  // 21. The clipboard keys, each after its event allowed it.
  if (FNavigation->AllowClipboardShortCuts()) {
    const bool ctrl = shift.Contains(ssCtrl), sh = shift.Contains(ssShift);
    auto run = [this](const std::function<void(TObject*, const String&, bool&)>& Event, void (DEreDuzeroVaro::*Op)()) {
      bool allow = true;
      if (Event) Event(this, String(), allow);
      if (allow) (this->*Op)();
    };
    if ((ctrl && key == 'X') || (sh && !ctrl && key == VK_DELETE)) {
      run(OnClipboardCut, &DEreDuzeroVaro::CutSelectionToClipboard);
      return;
    }
    if ((ctrl && key == 'C') || (ctrl && !sh && key == VK_INSERT)) {
      run(OnClipboardCopy, &DEreDuzeroVaro::CopySelectionToClipboard);
      return;
    }
    if ((ctrl && key == 'V') || (sh && !ctrl && key == VK_INSERT)) {
      run(OnClipboardPaste, &DEreDuzeroVaro::PasteSelectionFromClipboard);
      return;
    }
  }

  // 22. Insert adds a row.
  if (KeyInsertRow(key, shift)) return;

  // 23. Ctrl+A selects all normal cells.
  if (key == 'A' && shift.Contains(ssCtrl) && !shift.Contains(ssAlt)) {
    KeySelectAll();
    return;
  }

  // 24. Marks, row deletion, Tab past fixed right columns, Enter and F2.
  KeyAfterNavigation(Message, key, shift, oldCol, oldRow);
}

void DEreDuzeroVaro::WMKeyUp(TWMKey& Message) { TBaseGrid::WMKeyUp(Message); }

// ---------------------------------------------------------------------------
// The class library's key-down step

void DEreDuzeroVaro::KeyDown(Word& Key, TShiftState Shift) {
  const int r0 = Row();
  FLastKeyCell = TPoint(Col(), Row());
  const Word key = Key;
  TBaseGrid::KeyDown(Key, Shift);
  if (Key == 0) return;
  const int fixedRows = TCustomGrid::FixedRows();
  const TCursorAdvance advance = FNavigation->CursorAdvance();
  if (advance != caDefault) {
    const bool snake = advance == caSnake;
    const int lastCol = ColCount() - FixedRightCols() - 1, lastRow = RowCount() - FixedFooters() - 1;
    if (key == VK_LEFT && FLastKeyCell.X == FixedCols()) {
      SetCol(lastCol);
      if (snake && Row() > fixedRows) SetRow(Row() - 1);
    } else if (key == VK_UP && FLastKeyCell.Y == fixedRows) {
      SetRow(lastRow);
      if (snake && Col() > FixedCols()) SetCol(Col() - 1);
    } else if (key == VK_RIGHT && FLastKeyCell.X == ColCount() - 1) {
      SetCol(FixedCols());
      if (snake && Row() < lastRow) SetRow(Row() + 1);
    } else if (key == VK_DOWN && FLastKeyCell.Y == RowCount() - 1) {
      SetRow(fixedRows);
      if (snake && Col() < lastCol) SetCol(Col() + 1);
    }
  }
  // A disabled row refused the class library's step: the next enabled row in that direction.
  if (UseEnabledRows() && FNavigation->SkipDisabledRows() && Row() == r0 && (key == VK_UP || key == VK_DOWN)) {
    int r = r0;
    if (key == VK_UP) {
      do --r;
      while (r > fixedRows && !RowEnabled(r));
    } else {
      do ++r;
      while (r < RowCount() - 1 && !RowEnabled(r));
    }
    if (r >= fixedRows && r < RowCount() && RowEnabled(r)) SetRow(r);
  }
  if (TStringGrid* sync = SyncGrid()->Grid()) {
    if (SyncGrid()->SelectionColumn() && Col() >= sync->FixedCols() && Col() < sync->ColCount()) sync->SetCol(Col());
    if (SyncGrid()->SelectionRow() && Row() >= sync->FixedRows() && Row() < sync->RowCount()) sync->SetRow(Row());
  }
}

// ---------------------------------------------------------------------------
// Characters

void DEreDuzeroVaro::KeyPress(Char& Key) {
  const int rc = RealColIndex(Col());
  if (Key == 27) {
    if (Options().Contains(goEditing) && FEditing) RestoreCellText();
    if (OnKeyPress) OnKeyPress(this, Key);
    return;
  }
  if (Key == VK_RETURN && !FNavigation->AdvanceOnEnter() && !IsEditable(rc, Row())) {
    if (OnKeyPress) OnKeyPress(this, Key);
    Key = 0;
    return;
  }
  if (Key == VK_RETURN && (!Focused() || HasCellControl(rc, Row()))) {
    AdvanceCell(Col(), Row(), false, false, true, false, EditorMode());
    if (!FNavigation->AdvanceAutoEdit()) {
      if (OnKeyPress) OnKeyPress(this, Key);
      Key = 0;
      return;
    }
    if (HasCellControl(rc, Row())) {
      if (OnKeyPress) OnKeyPress(this, Key);
      if (FNavigation->AdvanceOnEnter()) ShowInplaceEdit();
      return;
    }
  }
  // Jump typing: the typed text is kept for the timer to forget. Finding the row belongs to
  // the key search, which is not part of the grid yet.
  if (!Options().Contains(goEditing) && FNavigation->AutoGotoWhenSorted() && Key >= 32) {
    if (FNavigation->AutoGotoIncremental()) {
      SearchInc += Key;
      SearchTics = 0;
    } else {
      SearchInc = String(1, Key);
    }
  } else if (!Options().Contains(goEditing) && FNavigation->AutoGotoWhenSorted() && Key == 8 &&
             FNavigation->AutoGotoIncremental()) {
    if (!SearchInc.empty()) SearchInc.pop_back();
    SearchTics = 0;
  }
  TBaseGrid::KeyPress(Key);
}

void DEreDuzeroVaro::WMChar(TWMKey& Message) {
  // Alt+letter types nothing and opens no editor: it is left to the accelerators.
  if (Message.M.Msg == WM_SYSCHAR) {
    DefaultHandler(Message.M);
    return;
  }
  Char ch = static_cast<Char>(Message.CharCode());
  const int rc = RealColIndex(Col());
  const TShiftState shift = KeyDataToShiftState(Message.KeyData());
  // 1. Form controls in the cell take no characters.
  if (CurrentCellHasControlTag()) {
    Message.SetResult(1);
    return;
  }
  // 2. Editing on demand.
  if (FMouseActions->EditOnDblClickOnly()) {
    bool allowed = true;
    CellEditAllowed(Col(), Row(), allowed);
    if (allowed) {
      TGridOptions o = Options();
      o.Include(goEditing);
      SetOptions(o);
    }
  }
  // 3. The clipboard's control characters are not typed.
  if (FNavigation->AllowClipboardShortCuts() && shift.Contains(ssCtrl) && (ch == 3 || ch == 22 || ch == 24)) {
    Message.SetCharCode(0);
    return;
  }
  const bool control = HasCellControl(rc, Row());
  // 4. A character starts editing with range selection and editing.
  if (FMouseActions->RangeSelectAndEdit() && !control && IsEditable(rc, Row()) && ch != VK_TAB && ch != 27 &&
      !shift.Contains(ssCtrl)) {
    Char copy = ch;
    if (OnKeyPress) OnKeyPress(this, copy);
    FStartEditChar = ch;
    TGridOptions o = Options();
    o.Include(goEditing);
    SetOptions(o);
    if (Col() < LeftCol() || Col() > LeftCol() + VisibleColCount() || Row() < TopRow() ||
        Row() > TopRow() + VisibleRowCount())
      ScrollInView(Col(), Row());
    const TRect r = CellRect(Col(), Row());
    MouseDown(mbLeft, TShiftState{}, r.Left + 2, r.Top + 2);
    TBaseGrid::WMChar(Message);
    return;
  }
  // 5. The keypad's decimal key types the locale's decimal separator.
  if (ExcelStyleDecimalSeparator() && ch == u'.' && (Message.KeyData() & (1 << 22)) != 0) {
    ch = FormatSettings.DecimalSeparator;
    Message.SetCharCode(ch);
  }
  // 6. Enter on a cell control advances through KeyPress.
  if (ch == VK_RETURN && control && FNavigation->AdvanceOnEnter()) {
    TBaseGrid::WMChar(Message);
    return;
  }
  // 7. With editing, a character opens the editor with it.
  if (Options().Contains(goEditing) && ch != VK_TAB && !EditorMode() && (ch == 8 || (ch >= 32 && ch <= 0xF8F3))) {
    if (OnKeyPress) OnKeyPress(this, ch);
    Message.SetCharCode(ch);
    if (ch == 0) return;
    FStartEditChar = ch;
    if (!control) ShowEditorChar(ch);
    return;
  }
  TBaseGrid::WMChar(Message);
}

void DEreDuzeroVaro::KeyUp(Word& Key, TShiftState Shift) {
  const Word key = Key;
  if (key == VK_PRIOR || key == VK_NEXT || key == VK_END || (key >= VK_LEFT && key <= VK_DOWN) || key == VK_INSERT ||
      key == VK_DELETE)
    SearchInc = String();
  TBaseGrid::KeyUp(Key, Shift);
  const int rc = RealColIndex(Col());
  const bool moveKey = key >= VK_LEFT && key <= VK_DOWN;
  const bool tab = key == VK_TAB && Options().Contains(goTabs);
  if (FNavigation->AlwaysEdit() && (moveKey || tab) && !HasCellControl(rc, Row())) ShowInplaceEdit();
  const TGridRect sel = Selection();
  if ((key == VK_TAB || moveKey) && !SameRect(sel, FMoveSelection))
    SelectionChanged(sel.Left, sel.Top, sel.Right, sel.Bottom);
  if (key == VK_SPACE && FMouseActions->DisjunctCellSelect() && !Options().Contains(goEditing)) {
    const TPoint b = BaseCell(Col(), Row());
    if (!IsFixed(b.X, b.Y)) {
      bool can = true;
      if (OnSelectCell) OnSelectCell(this, b.X, b.Y, can);
      if (!can) return;
    }
    if (Shift.Contains(ssCtrl)) {
      SetSelectedCells(b.X, b.Y, !SelectedCells(b.X, b.Y));
    } else {
      for (int i = SelectedCellsCount() - 1; i >= 0; --i) {
        const TGridCoord c = SelectedCell(i);
        if (c.X >= 0) SetSelectedCells(c.X, c.Y, false);
      }
      SetSelectedCells(b.X, b.Y, true);
    }
    if (sel.Right > sel.Left || sel.Bottom > sel.Top)
      for (int r = sel.Top; r <= sel.Bottom; ++r)
        for (int c = sel.Left; c <= sel.Right; ++c)
          if (c != b.X || r != b.Y) SetSelectedCells(c, r, true);
    RepaintCell(Col(), Row());
  }
}
