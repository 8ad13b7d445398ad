// The string grid's editing protocol: deciding to edit, the special-editor frame and its
// write-back, ending an edit, the cell gate (SelectCell) and the focus glow.
#include "grid/AdvGridEditing.h"

#include "grid/AdvGrid.h"
#include "grid/AdvGridInplaceEdit.h"
#include "grid/GridFocusWindow.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/win/WinUser.h"

bool DEreDuzeroVaro::IsInplaceKind(TEditorType Kind) {
  switch (Kind) {
    case edNormal: case edNumeric: case edPositiveNumeric: case edFloat: case edCapital: case edMixedCase:
    case edPassword: case edLowerCase: case edUpperCase: case edValidChars: case edPositiveFloat: return true;
    default: return false;
  }
}

namespace {

// Sets Flag for the lifetime of the object and puts its old value back.
class TFlagScope {
public:
  TFlagScope(bool& Flag, bool Value) : FFlag(Flag), FOld(Flag) { Flag = Value; }
  ~TFlagScope() { FFlag = FOld; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

private:
  bool& FFlag;
  bool FOld;
};
}  // namespace

// ---- Deciding to edit

bool DEreDuzeroVaro::CanEditShow() {
  if (FValidating) return false;
  bool result = TBaseGrid::CanEditShow();
  if (ComponentState().Contains(csDesigning)) return result;
  const TPoint b = BaseCell(RealCol(), Row());
  // Check boxes, radios and buttons are operated by clicks and keys, never edited.
  if (result && !FEditMode && HasCellControl(b.X, b.Y)) return false;
  if (result && !FEditMode) {
    FNoEditChange = true;
    FCellCache = GetCurrentCell();
    EditControl = DefaultEditor();
    GetEditorType(b.X, b.Y, EditControl);
    if (EditControl == edNone) return false;
    FEditMode = true;
    FCurrentEditor = EditControl;
    // The value validated when the edit ends is this cell's.
    if (FOldCol != Col() || FOldRow != Row()) RememberOldCell(Col(), Row());
    if (IsInplaceKind(EditControl)) {
      FShowEditProcess = true;
    } else {
      const TPoint b2 = BaseCell(Col(), Row());
      ShowSpecialEditor(b2.X, b2.Y);
      FEntered = true;
      if (FocusHelper()->Enabled()) ShowFocusFrame(CellRect(Col(), Row()));
      return false;
    }
  }
  if (result) {
    FEntered = true;
    FEditing = true;
    if (FocusHelper()->Enabled()) ShowFocusFrame(CellRect(Col(), Row()));
  }
  return result;
}

void DEreDuzeroVaro::ShowEditorChar(Char Ch) {
  FStartEditChar = Ch;
  TBaseGrid::ShowEditorChar(Ch);
  FStartEditChar = 0;
}

bool DEreDuzeroVaro::IsEditable(int ACol, int ARow) {
  if (Options().Contains(goEditing) || MouseActions()->RangeSelectAndEdit() || FEditDisable)
    return IsEditableCell(ACol, ARow);
  return false;
}

bool DEreDuzeroVaro::IsEditableCell(int ACol, int ARow) {
  const TPoint b = IsMergedNonBaseCell(ACol, ARow) ? BaseCell(ACol, ARow) : TPoint(ACol, ARow);
  bool allowed = true;
  CellEditAllowed(b.X, b.Y, allowed);
  bool fixed = false;
  IsFixedCell(RealColIndex(b.X), b.Y, fixed);
  return allowed && !fixed;
}

bool DEreDuzeroVaro::CellIsPassword(int ACol, int ARow) {
  bool password = false;
  IsPasswordCell(ACol, ARow, password);
  return password;
}

void DEreDuzeroVaro::ShowCellEdit() {
  if (HandleAllocated()) SendMessage(Handle(), WM_KEYDOWN, VK_F2, 0);
}

void DEreDuzeroVaro::HideCellEdit() { HideSpecialEditor(Col(), Row()); }

void DEreDuzeroVaro::ShowInplaceEdit() {
  if (HasCellControl(RealCol(), Row())) return;
  if (Row() < TopRow()) SetTopRow(Row());
  if (Col() < LeftCol()) SetLeftCol(Col());
  FEditText = Cells(RealCol(), Row());
  ShowEditor();
}

// ---- The special-editor frame

void DEreDuzeroVaro::ShowSpecialEditor(int ACol, int ARow) {
  FEditing = FSpecialEditor = FEditActive = true;
  TRect R = CellRect(ACol, ARow);
  // A mirrored grid's line is the cell's left pixel.
  if (UseRightToLeftAlignment()) R.Left += 1;
  const int RC = RealColIndex(ACol);
  // The editor leaves the grid line free; the cell's look gives its colour and font.
  TCanvas* canvas = Canvas();
  canvas->Font()->Assign(Font());
  canvas->Brush()->SetColor(Color());
  TGridDrawState state;
  TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
  TAlignment ha = taLeftJustify;
  TVAlignment va = vtaTop;
  bool ww = false;
  TCellGradientDirection gd{};
  GetVisualProperties(ACol, ARow, state, false, false, true, canvas->Brush(), colorTo, mirror, mirrorTo, canvas->Font(),
                      ha, va, ww, gd);
  const TColor colour = canvas->Brush()->Color();
  FGridState = gsNormal;
  EditCtrl = nullptr;
  if (EditControl != edCustom) FLastValidation = true;
  switch (EditControl) {
    case edCustom: ShowEditLink(ACol, ARow, RC, R, colour); break;
    default: ShowKindEditor(ACol, ARow, RC, R, colour); break;
  }
  FStartEditChar = 0;
}

void DEreDuzeroVaro::HideSpecialEditor(int ACol, int ARow) {
  if (ComponentState().Contains(csDestroying)) return;
  FSpecialEditor = false;
  const int RC = RealColIndex(ACol);
  FStartEditChar = 0;
  {
    TFlagScope block(FBlockKill, true);
    // Only an open editor writes back: a value left in a hidden editor never reaches a cell.
    if (FEditActive) {
      switch (EditControl) {
        case edCustom: HideEditLink(RC, ARow); break;
        default: HideKindEditor(RC, ARow); break;
      }
    }
    if (EditControl != edNormal && FEditActive) EditingDone(RC, ARow);
  }
  FEditActive = false;
}

void DEreDuzeroVaro::SetEditCellText(int ACol, int ARow, const String& Value) {
  SetEditText(DisplColIndex(ACol), ARow, Value);
  SetCells(ACol, ARow, Value);
}

void DEreDuzeroVaro::RestoreCellText() {
  const TPoint b = BaseCell(RealCol(), Row());
  SetCells(b.X, b.Y, FCellCache);
  SetCells(Col(), Row(), Cells(Col(), Row()));
}

void DEreDuzeroVaro::GetEditorProp(int ACol, int ARow, TEditLink* AEditLink) {
  if (OnGetEditorProp) OnGetEditorProp(this, ACol, ARow, AEditLink);
  if (OnGetEditorPropInt) OnGetEditorPropInt(this, ARow, ACol);
}

// ---- Ending an edit

void DEreDuzeroVaro::HideInplaceEdit() {
  if (!FEditMode) return;
  HideEditor();
  HideSpecialEditor(Col(), Row());
  FEditMode = false;
  SelectCell(Col(), Row());
}

void DEreDuzeroVaro::DoneInplaceEdit(Word Key, TShiftState Shift) {
  TFlagScope block(FBlockFocus, true);
  FEditing = false;
  HideInplaceEdit();
  if (Key == VK_DOWN && Navigation()->AppendOnArrowDown() && IsLastNormalRow()) AutoAddRow();
  if (Key == VK_TAB || Key == VK_LEFT || Key == VK_UP || Key == VK_RIGHT || Key == VK_DOWN) {
    Word k = Key;
    KeyDown(k, Shift);
  }
  TNavigation* nav = Navigation();
  const bool alwaysEdit = nav->AlwaysEdit();
  nav->SetAlwaysEdit(false);
  TScopeGuard restore([&] { nav->SetAlwaysEdit(alwaysEdit); });
  if (CanFocus() && !Focused()) SetFocus();
  // Enter advances as in the grid (AdvanceOnEnter), opening no editor on the way.
  if (Key == VK_RETURN && !FNoAutoAdvance) AdvanceCell(Col(), Row(), false, false, true, false, true);
  FNoAutoAdvance = false;
}

void DEreDuzeroVaro::EditingDone(int ACol, int ARow) { PostEditingDone(WPARAM(ACol), LPARAM(ARow)); }

void DEreDuzeroVaro::PostEditingDone(WPARAM WParam, LPARAM LParam) {
  if (OnEditingDone) OnEditingDone(this);
  FEditMode = false;
  if (HandleAllocated()) PostMessage(Handle(), RegisterWindowMessage(u"GridEditDone"), WParam, LParam);
}

// ---- The cell gate

void DEreDuzeroVaro::CellChanging(int NewCol, int NewRow, bool& Allow) {
  const int oldCol = Col(), oldRow = Row();
  if (NewRow != oldRow && OnRowChanging) OnRowChanging(this, oldRow, NewRow, Allow);
  if (NewCol != oldCol && OnColChanging) OnColChanging(this, oldCol, NewCol, Allow);
  if ((NewRow != oldRow || NewCol != oldCol) && !FDisableChange && OnCellChanging)
    OnCellChanging(this, oldRow, oldCol, NewRow, NewCol, Allow);
}

bool DEreDuzeroVaro::SelectCell(int ACol, int ARow) {
  if (FForceSel) return true;
  if (Parent() == nullptr) return true;
  bool result = false, allow = true;
  if (ACol < 0 || ARow < 0) return false;
  String cellText = Cells(RealColIndex(ACol), ARow);
  // A covered cell of a merged area: the base cell becomes current instead.
  if (IsMergedNonBaseCell(RealColIndex(ACol), ARow) && !Options().Contains(goRangeSelect)) {
    const TPoint b = BaseCell(ACol, ARow);
    MoveColRow(b.X, b.Y, true, true);
    RepaintCell(b.X, b.Y);
    if (MouseActions()->DirectEdit() || (ControlLook()->DropDownAlwaysVisible() && HasComboBox(ACol, ARow)))
      ShowEditor();
    return false;
  }
  if (ACol == 0 && HasNodes() && !Options().Contains(goRowSelect)) return false;
  // A value refused as its special editor closed (it lost the focus, e.g. to a press on another
  // cell) keeps the refused cell current, and its editor opens there again.
  if (FEditing && !FLastValidation && !FEditMode && !IsInplaceKind(EditControl) && (ACol != Col() || ARow != Row())) {
    SetEditorMode(true);
    return false;
  }
  const int oc = Col(), orow = Row();
  const int RC = RealColIndex(ACol);
  cellText = Cells(RC, ARow);
  TInplaceEdit* inplace = InplaceEditor();
  const bool inplaceFocused = inplace != nullptr && inplace->HandleAllocated() && inplace->Focused();
  // Editing switched on or off for the target cell.
  if (HasCellControl(RC, ARow)) {
    bool allowed = true;
    CellEditAllowed(RC, ARow, allowed);
    if (!FEditDisable)
      FEditDisable = !allowed && (Options().Contains(goEditing) || MouseActions()->RangeSelectAndEdit());
    if (!Options().Contains(goEditing) && !Options().Contains(goRowSelect) && allowed) {
      FEditChange = true;
      SetOptions(Options() + goEditing);
    }
  } else {
    bool allowed = Options().Contains(goEditing) || FEditDisable;
    CellEditAllowed(RC, ARow, allowed);
    if (allowed && MouseActions()->DirectEdit()) {
      EditControl = DefaultEditor();
      if (HasNoEditor(RC, ARow)) allowed = false;
    }
    if (MouseActions()->EditOnDblClickOnly()) allowed = false;
    if (allowed) {
      FEditDisable = false;
      if (!Options().Contains(goEditing)) {
        FEditChange = true;
        if (!FEditing) RememberOldCell(ACol, ARow);
        TGridOptions o = Options();
        if (o.Contains(goRowSelect) && MouseActions()->RangeSelectAndEdit()) o = o - goRowSelect;
        SetOptions(o + goEditing);
      }
      if (FEditing && (ACol != oc || ARow != orow)) {
        HideInplaceEdit();
        cellText = Cells(RC, ARow);
      }
    } else {
      if (FEditing) {
        HideInplaceEdit();
        cellText = Cells(RC, ARow);
      }
      if (Options().Contains(goEditing)) {
        FEditDisable = true;
        FEditChange = true;
        SetOptions(Options() - goEditing);
      }
    }
  }
  if (FEditing && !inplaceFocused) {
    // A special editor is open: its value is validated before the cell is left.
    const String saved = FCellCache;
    const TPoint cur = BaseCell(RealCol(), Row());
    result = IsWideCell(cur.X, cur.Y) ? ValidateCellWide(WideCells(cur.X, cur.Y)) : ValidateCell(GetCurrentCell());
    CellChanging(ACol, ARow, allow);
    if (!allow) result = false;
    if (result) result = TBaseGrid::SelectCell(ACol, ARow);
    if (!result) cellText = saved;
  } else {
    CellChanging(ACol, ARow, allow);
    if (IsFixed(ACol, ARow) || !allow) result = Options().Contains(goRowSelect);
    else result = TBaseGrid::SelectCell(ACol, ARow);
  }
  if (FISelect != nullptr) FISelect->NotifySelection(Col(), ARow);
  FCellCache = cellText;
  return result;
}

void DEreDuzeroVaro::Click() {
  TBaseGrid::Click();
  FEntered = false;
  RememberOldCell(Col(), Row());
}

void DEreDuzeroVaro::ClickCell(int ACol, int ARow) {
  const TRect r = CellRect(ACol, ARow);
  TFlagScope force(FForceSel, true);
  TMouseEvent down = OnMouseDown, up = OnMouseUp;
  OnMouseDown = nullptr;
  OnMouseUp = nullptr;
  TScopeGuard attach([&] {
    OnMouseDown = down;
    OnMouseUp = up;
  });
  MouseDown(mbLeft, TShiftState{}, r.Left + 2, r.Top + 2);
  MouseUp(mbLeft, TShiftState{}, r.Left + 2, r.Top + 2);
}

// ---- The focus glow

void DEreDuzeroVaro::ShowFocusFrame(TRect CellRect) {
  if (FFocusWindow == nullptr || !HandleAllocated()) return;
  const TPoint tl = ClientToScreen(TPoint(CellRect.Left, CellRect.Top));
  FFocusWindow->ShowAround(TRect(tl.X, tl.Y, tl.X + CellRect.Width(), tl.Y + CellRect.Height()));
  FFocusWindow->Follow(this, [this] {
    const TRect r = this->CellRect(Col(), Row());
    const TPoint p = ClientToScreen(TPoint(r.Left, r.Top));
    return TRect(p.X, p.Y, p.X + r.Width(), p.Y + r.Height());
  });
  FocusFrameGrid = this;
}

void DEreDuzeroVaro::MoveFocusFrame() {
  if (FFocusWindow == nullptr || !FFocusWindow->Visible() || !HandleAllocated()) return;
  ShowFocusFrame(CellRect(Col(), Row()));
}

void DEreDuzeroVaro::HideFocusFrame() {
  if (FocusFrameGrid == this) FocusFrameGrid = nullptr;
  if (FFocusWindow != nullptr) FFocusWindow->HideGlow();
}
