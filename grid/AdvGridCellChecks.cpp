// The string grid's check boxes and radio buttons in cells: adding and removing them, their
// states, the user's toggles and the hit test of the box.
#include "grid/AdvGrid.h"
#include "grid/AdvGridUndoRedo.h"
#include "platform/rtl/SysUtils.h"

namespace {

const TCellTypes CheckKinds{ctCheckBox, ctDataCheckBox, ctVirtCheckBox, ctRowCheckBox, ctTriStateCheckBox};

// Kinds whose state is the cell text compared with the check-true text.
bool TextBox(TCellType Kind) { return Kind == ctDataCheckBox || Kind == ctVirtCheckBox || Kind == ctRowCheckBox; }

TCellVAlign BoxVAlign(TVAlignment Value) {
  switch (Value) {
    case vtaCenter:
      return vaCenter;
    case vtaBottom:
      return vaBottom;
    default:
      return vaTop;
  }
}

}  // namespace

// ===========================================================================
// Adding and removing

namespace {

void CheckCellInGrid(DEreDuzeroVaro& Grid, int ACol, int ARow) {
  if (ACol < 0 || ARow < 0 || ACol >= Grid.ColCount() + Grid.NumHiddenColumns() ||
      ARow >= Grid.RowCount() + Grid.NumHiddenRows())
    throw Exception(u"Invalid cell");
}

}  // namespace

void DEreDuzeroVaro::AddCheckBox(int ACol, int ARow, bool State, bool Data) {
  CheckCellInGrid(*this, ACol, ARow);
  CreateCellGraphic(ACol, ARow)->SetCheckBox(State, Data, true, haBeforeText, BoxVAlign(FVAlignment));
  if (!Data) return;
  // A data box shows its text: a text that is neither state's becomes the given state's.
  String text = Cells(ACol, ARow);
  if (text != FCheckTrue && text != FCheckFalse) SetCells(ACol, ARow, State ? FCheckTrue : FCheckFalse);
}

void DEreDuzeroVaro::AddCheckBox(int ACol, int ARow, TCheckBoxState State) {
  CheckCellInGrid(*this, ACol, ARow);
  CreateCellGraphic(ACol, ARow)->SetCheckBox(State, true, haBeforeText, BoxVAlign(FVAlignment));
}

void DEreDuzeroVaro::AddCheckBoxColumn(int ACol, bool DefaultState, bool DataCheckBox) {
  int from = FMouseActions->CheckAllCheck() ? 0 : FixedRows();
  for (int r = from; r < RowCount(); ++r) {
    if (IsSummary(r)) continue;
    if (IsNode(r))
      AddCheckBox(ACol, r, cbUnchecked);
    else
      AddCheckBox(ACol, r, DefaultState, DataCheckBox);
  }
}

void DEreDuzeroVaro::AddTriStateCheckBoxColumn(int ACol, TCheckBoxState State) {
  int from = FMouseActions->CheckAllCheck() ? 0 : FixedRows();
  for (int r = from; r < RowCount(); ++r) AddCheckBox(ACol, r, State);
}

void DEreDuzeroVaro::RemoveCheckBox(int ACol, int ARow) {
  // An attached balloon goes with the graphic that owns it.
  RemoveCellGraphicOfType(ACol, ARow, ctCheckBox);
  RemoveCellGraphicOfType(ACol, ARow, ctDataCheckBox);
  RemoveCellGraphicOfType(ACol, ARow, ctTriStateCheckBox);
}

void DEreDuzeroVaro::RemoveCheckBoxColumn(int ACol) {
  int from = FMouseActions->CheckAllCheck() ? 0 : FixedRows();
  for (int r = from; r < RowCount(); ++r)
    if (HasCheckBox(ACol, r)) RemoveCheckBox(ACol, r);
}

// ===========================================================================
// States

namespace {

// The graphic and text of real row ARow: with hidden rows the row's own record (stored or
// shown); without a record there, the graphic at (ACol, ARow) as given.
struct TBoxCell {
  TCellGraphic* Graphic = nullptr;
  String Text;
};

}  // namespace

static TBoxCell FindBox(DEreDuzeroVaro& Grid, int ACol, int ARow) {
  TBoxCell box;
  if (ACol < 0 || ARow < 0) return box;
  if (Grid.NumHiddenRows() > 0) {
    if (TCellProperties* p = Grid.GetRealCellObject(ACol, ARow)) {
      box.Graphic = dynamic_cast<TCellGraphic*>(p->GraphicObject());
      box.Text = Grid.GetCellsEx(ACol, ARow);
      return box;
    }
  }
  box.Graphic = Grid.GetCellGraphic(ACol, ARow);
  if (box.Graphic && TextBox(box.Graphic->CellType())) box.Text = Grid.Cells(ACol, ARow);
  return box;
}

bool DEreDuzeroVaro::GetCheckBoxState(int ACol, int ARow, TCheckBoxState& State) {
  TBoxCell box = FindBox(*this, ACol, ARow);
  TCellGraphic* g = box.Graphic;
  if (!g) return false;
  switch (g->CellType()) {
    case ctCheckBox:
      State = BoolToCheckBoxState(g->CellBoolean());
      return true;
    case ctDataCheckBox:
    case ctVirtCheckBox: {
      String checkTrue;
      GetCheckTrue(ACol, ARow, checkTrue);
      State = BoolToCheckBoxState(box.Text == checkTrue);
      return true;
    }
    case ctTriStateCheckBox:
      State = g->CellCheckBoxState();
      return true;
    case ctRowCheckBox:
      if (ACol != 0) return false;
      State = BoolToCheckBoxState(g->CellBoolean());
      return true;
    default:
      return false;
  }
}

bool DEreDuzeroVaro::GetCheckBoxState(int ACol, int ARow, bool& State) {
  TCheckBoxState state = cbUnchecked;
  if (!GetCheckBoxState(ACol, ARow, state)) return false;
  State = state == cbChecked;
  return true;
}

bool DEreDuzeroVaro::IsChecked(int ACol, int ARow) {
  bool state = false;
  return GetCheckBoxState(ACol, ARow, state) && state;
}

bool DEreDuzeroVaro::SetCheckBoxState(int ACol, int ARow, TCheckBoxState State) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g || g->CellType() != ctTriStateCheckBox) return false;
  g->SetCellCheckBoxState(State);
  RepaintCell(DisplColIndex(ACol), ARow);
  return true;
}

bool DEreDuzeroVaro::SetCheckBoxState(int ACol, int ARow, bool State) {
  TBoxCell box = FindBox(*this, ACol, ARow);
  TCellGraphic* g = box.Graphic;
  if (!g) return false;
  const bool hidden = NumHiddenRows() > 0;
  switch (g->CellType()) {
    case ctCheckBox:
      g->SetCellBoolean(State);
      RepaintCell(DisplColIndex(ACol), hidden ? DisplRowIndex(ARow) : ARow);
      return true;
    case ctDataCheckBox:
    case ctVirtCheckBox: {
      String text;
      if (State) GetCheckTrue(ACol, ARow, text);
      else GetCheckFalse(ACol, ARow, text);
      if (!hidden) {
        SetCells(ACol, ARow, text);
      } else if (!IsHiddenRow(ARow)) {
        SetCells(ACol, DisplRowIndex(ARow), text);
      } else {
        // A hidden row keeps its texts in its stored cells.
        TGridItem* h = HiddenRowOf(ARow);
        if (h != nullptr && ACol < h->Width()) {
          SetHiddenCell(*h, ACol, text, h->Object(ACol));
          FooterColumnWritten(ACol);
        }
      }
      return true;
    }
    default:
      return false;
  }
}

bool DEreDuzeroVaro::ChangeCheckBoxState(int ACol, int ARow, bool State) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g) return false;
  switch (g->CellType()) {
    case ctCheckBox:
      if (g->CellBoolean() != State) {
        g->SetCellBoolean(State);
        CheckBoxChange(ACol, ARow, State);
        RepaintCell(DisplColIndex(ACol), ARow);
      }
      return true;
    case ctDataCheckBox:
    case ctVirtCheckBox: {
      String checkTrue, checkFalse;
      GetCheckTrue(ACol, ARow, checkTrue);
      GetCheckFalse(ACol, ARow, checkFalse);
      bool was = Cells(ACol, ARow) == checkTrue;
      SetCells(ACol, ARow, State ? checkTrue : checkFalse);
      if (was != State) CheckBoxChange(ACol, ARow, State);
      return true;
    }
    default:
      return false;
  }
}

void DEreDuzeroVaro::CheckAll(int ACol) {
  for (int r = FixedRows(); r < RowCount(); ++r) ChangeCheckBoxState(ACol, r, true);
  if (NumHiddenColumns() > 0)
    for (int r = 0; r < RowCount(); ++r) RepaintCell(DisplColIndex(ACol), r);
}

void DEreDuzeroVaro::UnCheckAll(int ACol) {
  for (int r = FixedRows(); r < RowCount(); ++r) ChangeCheckBoxState(ACol, r, false);
}

// ===========================================================================
// The user's toggles

bool DEreDuzeroVaro::ToggleCheck(int ACol, int ARow, bool CheckEdit) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g || !CheckKinds.Contains(g->CellType())) return false;
  if (CheckEdit && !FControlLook->CheckAlwaysActive()) {
    bool allow = true;
    CellEditAllowed(ACol, ARow, allow);
    if (!allow) return false;
  }

  const TCellType kind = g->CellType();
  String oldText, newText;
  bool state = false;
  if (kind == ctCheckBox) {
    state = !g->CellBoolean();
    g->SetCellBoolean(state);
  } else if (TextBox(kind)) {
    String checkTrue;
    GetCheckTrue(ACol, ARow, checkTrue);
    oldText = Cells(ACol, ARow);
    state = oldText != checkTrue;
    if (state) newText = checkTrue;
    else GetCheckFalse(ACol, ARow, newText);
    SetCells(ACol, ARow, newText);
  } else {
    // A group's node box has no grayed step of its own: grayed (some children checked) goes
    // to checked.
    const bool node = FGrouping->AutoCheckGroup() && IsNode(ARow);
    TCheckBoxState next = cbUnchecked;
    switch (g->CellCheckBoxState()) {
      case cbUnchecked:
        next = node ? cbChecked : cbGrayed;
        break;
      case cbGrayed:
        next = cbChecked;
        break;
      case cbChecked:
        next = cbUnchecked;
        break;
    }
    g->SetCellCheckBoxState(next);
    state = next == cbChecked;
  }

  RepaintCell(DisplColIndex(ACol), ARow);
  CheckBoxChange(ACol, ARow, state);

  // Only a box kept in the cell text changes a text that undo can write back.
  if (UndoRedo() && (kind == ctDataCheckBox || kind == ctVirtCheckBox) && oldText != newText)
    UndoRedo()->RegisterChange(ACol, ARow, oldText, newText);
  return true;
}

bool DEreDuzeroVaro::ToggleRadioButton(int ACol, int ARow, bool CheckEdit) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g || g->CellType() != ctRadioButton) return false;
  if (CheckEdit && !FControlLook->CheckAlwaysActive()) {
    bool allow = true;
    CellEditAllowed(ACol, ARow, allow);
    if (!allow) return false;
  }
  if (g->CellBoolean()) return true;
  g->SetCellBoolean(true);
  RepaintCell(DisplColIndex(ACol), ARow);
  for (int r = 0; r < RowCount(); ++r) {
    if (r == ARow) continue;
    TCellGraphic* other = GetCellGraphic(ACol, r);
    if (other && other->CellType() == ctRadioButton && other->CellBoolean()) {
      other->SetCellBoolean(false);
      RepaintCell(DisplColIndex(ACol), r);
    }
  }
  return true;
}

// ===========================================================================
// Hit test

bool DEreDuzeroVaro::IsInCheckBox(int ACol, int ARow, int XPos, int YPos) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g) return false;
  TCellType kind = g->CellType();
  if (!CheckKinds.Contains(kind) && kind != ctRadioButton) return false;
  if (!FMouseActions->PreciseCheckBoxCheck()) return true;

  const int size = FControlLook->CheckSize();
  const TRect r = CellRect(DisplColIndex(ACol), ARow);
  int top = r.Top + 1;
  if (g->CellVAlign() == vaBottom) top = r.Bottom - size - 2;
  else if (g->CellVAlign() == vaCenter) top = r.Top + (r.Height() - size) / 2;

  // The cell's own horizontal alignment: the record's (made with the grid's defaults), then
  // the alignment hook.
  TAlignment ha = FDefaultAlignment;
  TVAlignment va = FVAlignment;
  if (HasCellProperties(ACol, ARow)) ha = GetCellProperties(ACol, ARow)->Alignment();
  GetAlignment(ACol, ARow, ha, va);
  int left = r.Left + 1;
  if (ha == taRightJustify) {
    left = r.Right - size - 2;
    String text = Cells(ACol, ARow);
    if (!text.empty()) left -= Canvas()->TextWidth(text);
  } else if (ha == taCenter) {
    left = r.Left + (r.Width() - size) / 2;
  }
  return XPos >= left && XPos < left + size && YPos >= top && YPos < top + size;
}

// ===========================================================================
// Radio buttons

void DEreDuzeroVaro::AddRadioButton(int ACol, int ARow, bool State) {
  CheckCellInGrid(*this, ACol, ARow);
  CreateCellGraphic(ACol, ARow)->SetRadioButton(State, true, haBeforeText, BoxVAlign(FVAlignment));
}

namespace {

TCellGraphic* BaseRadioButton(DEreDuzeroVaro& Grid, int ACol, int ARow) {
  if (ACol < 0 || ARow < 0) return nullptr;
  TPoint b = Grid.BaseCell(ACol, ARow);
  TCellGraphic* g = Grid.GetCellGraphic(b.X, b.Y);
  return g && g->CellType() == ctRadioButton ? g : nullptr;
}

}  // namespace

bool DEreDuzeroVaro::IsRadioButtonChecked(int ACol, int ARow) {
  TCellGraphic* g = BaseRadioButton(*this, ACol, ARow);
  return g && g->CellBoolean();
}

bool DEreDuzeroVaro::SetRadioButtonState(int ACol, int ARow, bool State) {
  TCellGraphic* g = BaseRadioButton(*this, ACol, ARow);
  if (!g) return false;
  if (g->CellBoolean() != State) {
    g->SetCellBoolean(State);
    RepaintCell(DisplColIndex(ACol), ARow);
  }
  return true;
}

void DEreDuzeroVaro::AddRadioButtonColumn(int ACol) {
  for (int r = FixedRows(); r < RowCount(); ++r) AddRadioButton(ACol, r, false);
}

void DEreDuzeroVaro::RemoveRadioButtonColumn(int ACol) {
  for (int r = FixedRows(); r < RowCount(); ++r) RemoveRadioButton(ACol, r);
}

void DEreDuzeroVaro::SetRadioButtonColumnIndex(int ACol, int Index) {
  for (int r = FixedRows(); r < RowCount(); ++r) SetRadioButtonState(ACol, r, r == Index);
}

int DEreDuzeroVaro::GetRadioButtonColumnIndex(int ACol) {
  for (int r = FixedRows(); r < RowCount(); ++r)
    if (IsRadioButtonChecked(ACol, r)) return r;
  return -1;
}
