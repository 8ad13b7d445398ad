// Moving on after Enter and Tab, and appending a row from the keyboard.
//
// Both movers look for the next cell step by step instead of calling themselves for every
// cell they skip: the walk ends after one pass over the grid (or when a step cannot move,
// or comes back to where it began), and when no cell qualifies the current cell stays.
#include "controls/HtmlText.h"
#include "grid/AdvGrid.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/win/WinUser.h"

namespace {
// Sets a flag for a scope and puts its old value back.
class TFlagSet {
public:
  TFlagSet(bool& Flag, bool Value) : FFlag(Flag), FOld(Flag) { FFlag = Value; }
  ~TFlagSet() { FFlag = FOld; }
  TFlagSet(const TFlagSet&) = delete;
  TFlagSet& operator=(const TFlagSet&) = delete;

private:
  bool& FFlag;
  bool FOld;
};
}  // namespace

int DEreDuzeroVaro::FirstNormalCol() { return FixedCols() > 0 || !HasNodes() ? FixedCols() : 1; }

int DEreDuzeroVaro::VisibleFixedRightCols() {
  if (FNumHidden == 0) return FixedRightCols();
  int all = ColCount() + FNumHidden, shown = 0;
  for (int c = std::max(0, all - FixedRightCols()); c < all; ++c)
    if (!IsHiddenColumn(c)) ++shown;
  return shown;
}

bool DEreDuzeroVaro::IsLastNormalRow() {
  return Row() + 1 == RowCount() - FixedFooters() || (Row() + 2 == RowCount() && HideLastRow());
}

// ---------------------------------------------------------------------------
// Enter

bool DEreDuzeroVaro::AdvanceStep(int& TCol, int& TRow, bool Forward) {
  const int fixedRows = TCustomGrid::FixedRows();
  const int lastRow = HideLastRow() ? std::min(RowCount() - 2, LastNormalRow()) : LastNormalRow();
  const int lastCol = ColCount() - 1 - FixedRightCols();
  const TPoint span = CellSpan(TCol, TRow);
  const bool topBottom = FNavigation->AdvanceDirection() == adTopBottom;
  if (Forward && !topBottom) {
    if (TCol + span.X < ColCount() - 1 - VisibleFixedRightCols()) {
      TCol += span.X + 1;
    } else if (TRow < lastRow) {
      ++TRow;
      TCol = FirstNormalCol();
    } else if (FNavigation->AdvanceInsert()) {
      bool allowed = true;
      CanAddRow(allowed);
      TCol = FirstNormalCol();
      if (allowed) {
        AddRow();
        ++TRow;
        if (OnAutoAddRow) OnAutoAddRow(this, LastNormalRow());
        bool editable = false;
        for (int c = FixedCols(); c < ColCount() && !editable; ++c) editable = IsEditable(RealColIndex(c), TRow);
        if (!editable) return false;
      }
    } else if (FNavigation->AdvanceOnEnterLoop()) {
      TRow = fixedRows;
      TCol = FirstNormalCol();
    }
  } else if (Forward) {
    if (TRow < lastRow) {
      ++TRow;
    } else {
      if (TCol != lastCol) {
        TRow = fixedRows;
        if (++TCol >= ColCount()) TCol = FirstNormalCol();
      } else if (FNavigation->AdvanceInsert()) {
        SetColCount(ColCount() + 1);
        TCol = std::min(TCol + span.X + 1, ColCount() - 1);
        TRow = fixedRows;
        if (OnAutoInsertCol) OnAutoInsertCol(this, ColCount() - 1 - FixedRightCols());
      } else {
        TRow = fixedRows;
        TCol = FirstNormalCol();
      }
      Invalidate();
    }
  } else if (!topBottom) {
    if (TCol > FirstNormalCol()) {
      --TCol;
    } else {
      TCol = lastCol;
      TRow = TRow > fixedRows ? TRow - 1 : lastRow;
    }
  } else {
    if (TRow > fixedRows) {
      --TRow;
    } else {
      TCol = TCol > FirstNormalCol() ? TCol - 1 : lastCol;
      TRow = lastRow;
    }
  }
  return true;
}

void DEreDuzeroVaro::AdvanceCell(int ACol, int ARow, bool Force, bool AutoEdit, bool Forward, bool Recursive,
                                 bool WasEditing) {
  if (!FNavigation->AdvanceOnEnter() && !Force) return;
  if (FMouseActions->RangeSelectAndEdit() && !Options().Contains(goEditing)) {
    TGridOptions o = Options();
    o.Include(goEditing);
    SetOptions(o);
  }
  if (!Recursive) {
    FAECol = ACol;
    FAERow = ARow;
  }
  const int SCol = ACol, SRow = ARow;
  FStartEditChar = 0;

  // The walk: a cell whose editing is refused is stepped over, for one pass at most.
  int TCol = ACol, TRow = ARow;
  bool found = false;
  const long long limit = static_cast<long long>(ColCount()) * RowCount() + 1;
  for (long long i = 0; i < limit; ++i) {
    const int pc = TCol, pr = TRow;
    if (!AdvanceStep(TCol, TRow, Forward)) {
      // An appended row without an editable cell: the advance ends on it.
      TFlagSet quiet(FDisableChange, true);
      SetCol(TCol);
      SetRow(TRow);
      return;
    }
    bool allowed = true;
    CellEditAllowed(RealColIndex(TCol), TRow, allowed);
    if (allowed) {
      found = true;
      break;
    }
    if ((TCol == pc && TRow == pr) || (TCol == SCol && TRow == SRow)) break;
  }
  if (!found) return;

  bool allow = true;
  if (OnAutoAdvance) OnAutoAdvance(this, FAERow, FAECol, TRow, TCol, allow);
  if (TCol < FixedCols() || TCol >= ColCount() || TRow < TCustomGrid::FixedRows() || TRow >= RowCount()) allow = false;
  if (allow && OnCellChanging) OnCellChanging(this, FAERow, FAECol, TRow, TCol, allow);
  {
    TFlagSet quiet(FDisableChange, true);
    if (allow) {
      SetCol(TCol);
      SetRow(TRow);
    } else {
      SelectCell(SCol, SRow);
    }
  }
  if (!WasEditing) return;

  const int RCol = RealColIndex(TCol);
  const bool control = HasCellControl(RCol, TRow);
  if ((AutoEdit && FNavigation->AdvanceAutoEdit()) || control) {
    if (!IsEditable(RCol, TRow)) return;
    SetEditorMode(true);
    if (control) {
      {
        TFlagSet quiet(FDisableChange, true);
        SetCol(SCol);
        SetRow(SRow);
        SetCol(TCol);
        SetRow(TRow);
        const TRect r = CellRect(TCol, TRow);
        if (!HasCellControl(RealColIndex(SCol), SRow)) {
          MouseDown(mbLeft, TShiftState{}, r.Left + 2, r.Top + 2);
          MouseUp(mbLeft, TShiftState{}, r.Left + 2, r.Top + 2);
          if (FNavigation->AdvanceDirection() == adTopBottom) HideEditor();
        }
      }
      bool ignored = true;
      if (OnCellChanging) OnCellChanging(this, FAERow, FAECol, Row(), Col(), ignored);
      TEditorType kind = DefaultEditor();
      GetEditorType(SCol, SRow, kind);
      if (!IsInplaceKind(kind)) HideEditor();
    }
  }
  if (FMouseActions->DisjunctRowSelect()) {
    ClearRowSelect();
    SetRowSelect(Row(), true);
  }
}

// ---------------------------------------------------------------------------
// Tab

bool DEreDuzeroVaro::IsTabTarget(int ACol, int ARow) {
  if (Options().Contains(goEditing)) return IsEditable(RealColIndex(ACol), ARow);
  return !IsFixed(ACol, ARow);
}

int DEreDuzeroVaro::FirstTabTarget(int ARow) {
  for (int c = 0; c < ColCount(); ++c)
    if (IsTabTarget(c, ARow)) return c;
  return -1;
}

int DEreDuzeroVaro::LastTabTarget(int ARow) {
  for (int c = ColCount() - 1; c >= 0; --c)
    if (IsTabTarget(c, ARow)) return c;
  return -1;
}

void DEreDuzeroVaro::TabGoto(int ACol, int ARow) {
  if (ACol < FixedCols() || ACol >= ColCount() || ARow < TCustomGrid::FixedRows() || ARow >= RowCount()) return;
  if (FIsDBVersion) {
    SetRow(ARow);
    SetCol(ACol);
  } else {
    SetSelection(TGridRect{ACol, ARow, ACol, ARow});
  }
}

void DEreDuzeroVaro::TabEndStep() {
  // Once the key's handling is over, the form moves the focus on as it does for a Tab that
  // no control takes.
  if (FNavigation->TabToNextAtEnd() && HandleAllocated()) PostMessage(Handle(), WM_GRIDTABNEXT, 0, 0);
}

void DEreDuzeroVaro::TabStep(bool Backward, bool& Again, bool& AtEnd) {
  Again = AtEnd = false;
  const int fixedRows = TCustomGrid::FixedRows();
  const int lastRow = LastNormalRow();
  const int rightEnd = ColCount() - VisibleFixedRightCols();  // first column of the fixed right ones
  const bool topBottom = FNavigation->TabAdvanceDirection() == adTopBottom;
  auto setCol = [this](int c) { SetCol(std::clamp(c, FixedCols(), ColCount() - 1)); };
  auto setRow = [this, fixedRows](int r) { SetRow(std::clamp(r, fixedRows, RowCount() - 1)); };

  if (Backward && topBottom) {
    if (Row() > fixedRows) {
      setRow(Row() - 1);
    } else {
      setRow(lastRow);
      setCol(Col() > FirstNormalCol() ? Col() - 1 : rightEnd - 1);
    }
  } else if (Backward) {
    if (Col() > FirstNormalCol()) {
      int c = Col() - 1;
      while (c >= FirstNormalCol() && !(IsTabTarget(c, Row()) && IsBaseCell(c, Row()))) --c;
      if (c >= FirstNormalCol()) {
        setCol(c);
      } else {
        const int r = Row() > fixedRows ? Row() - 1 : lastRow;
        const int t = LastTabTarget(r);
        if (t >= 0) TabGoto(t, r);
      }
      if (!IsBaseCell(Col(), Row())) {
        const TPoint b = BaseCell(Col(), Row());
        TabGoto(b.X, b.Y);
      }
    } else {
      int c = rightEnd - 1;
      while (c >= FixedCols() && !IsTabTarget(c, Row())) --c;
      setCol(c);
      setRow(Row() > fixedRows ? Row() - 1 : lastRow);
    }
  } else if (topBottom) {
    const TPoint span = CellSpan(Col(), Row());
    if (Row() + span.Y + 1 < RowCount() - FixedFooters()) {
      setRow(Row() + span.Y + 1);
    } else {
      MoveToFirstRow();
      if (Col() < rightEnd - 1) {
        setCol(Col() + 1);
      } else {
        setCol(FirstNormalCol());
        AtEnd = true;
      }
    }
  } else {
    const TPoint span = CellSpan(Col(), Row());
    const int n = Col() + span.X;
    if (n + 1 < rightEnd) {
      int i = 1;
      while (n + i < rightEnd && !IsTabTarget(n + i, Row())) ++i;
      if (n + i == rightEnd) {
        // No target left in the row: the first one of the next row, or of the first row.
        TFlagSet force(FForceSel, true);
        if (Row() < lastRow) {
          const int c = FirstTabTarget(Row() + 1);
          bool allow = true;
          if (OnRowChanging) OnRowChanging(this, Row(), Row() + 1, allow);
          if (OnCellChanging) OnCellChanging(this, Row(), Col(), Row() + 1, c, allow);
          if (OnColChanging) OnColChanging(this, Col(), c, allow);
          if (allow) {
            setCol(c < 0 ? FixedCols() : c);
            setRow(Row() + 1);
          }
        } else {
          const int c = FirstTabTarget(fixedRows);
          if (c >= 0) TabGoto(c, fixedRows);
          AtEnd = true;
        }
      } else {
        setCol(n + i);
        Again = !IsBaseCell(Col(), Row());
      }
    } else if (Row() < lastRow) {
      int c = FirstNormalCol();
      while (c < ColCount() && !(IsBaseCell(c, Row() + 1) && IsTabTarget(c, Row() + 1))) ++c;
      if (c < ColCount()) {
        {
          TFlagSet force(FForceSel, true);
          setCol(c);
        }
        setRow(Row() + 1);
      } else {
        int j = Row() + 2;
        while (j < RowCount() && FirstTabTarget(j) < 0) ++j;
        if (j < RowCount()) {
          setRow(j);
          setCol(FirstTabTarget(j));
        } else {
          setRow(RowCount() - 1);
          setCol(ColCount() - 1);
          Again = true;
        }
      }
    } else {
      // The last cell of the last normal row: to the first row, or onto an appended row.
      bool added = false;
      if (!FNavigation->TabToNextAtEnd() && FNavigation->AdvanceInsert()) {
        bool allowed = true;
        CanAddRow(allowed);
        if (allowed) {
          if (HideLastRow()) {
            InsertRows(RowCount() - 1, 1, true);
            setRow(RowCount() - 2);
          } else {
            SetRowCount(RowCount() + 1);
            setRow(RowCount() - 1);
          }
          if (OnAutoAddRow) OnAutoAddRow(this, LastNormalRow());
          added = true;
        }
      }
      if (!added) MoveToFirstRow();
      setCol(FixedCols());
      AtEnd = true;
    }
  }
}

void DEreDuzeroVaro::TabAdvance(bool Backward) {
  if (OnKeyDown) {
    Word key = VK_TAB;
    OnKeyDown(this, key, Backward ? TShiftState{ssShift} : TShiftState{});
    if (key != VK_TAB) return;
  }
  if (Col() == FLastTabCol && Row() == FLastTabRow) return;
  FLastTabCol = Col();
  FLastTabRow = Row();
  TScopeGuard done([this] { FLastTabCol = FLastTabRow = -1; });

  const TPoint start(Col(), Row());
  const bool editing = Options().Contains(goEditing);
  const long long limit = static_cast<long long>(ColCount()) * RowCount() + 2;
  bool found = false, ended = false;
  for (long long i = 0; i < limit; ++i) {
    const TPoint before(Col(), Row());
    bool again = false, atEnd = false;
    TabStep(Backward, again, atEnd);
    if (atEnd && !ended) {
      ended = true;
      TabEndStep();
      // The focus moves on to the next control: nothing more is looked for here.
      if (FNavigation->TabToNextAtEnd()) return;
    }
    const TPoint now(Col(), Row());
    if (!again && !(editing && !IsEditable(RealColIndex(now.X), now.Y))) {
      found = true;
      break;
    }
    if (now == before || now == start) break;
  }
  if (!found) {
    // No cell qualifies: the current cell stays.
    if (Col() != start.X || Row() != start.Y) FocusCell(start.X, start.Y);
    return;
  }
  if (FNavigation->AdvanceAutoEdit() && !HasCellControl(RealColIndex(Col()), Row())) ClickCell(Col(), Row());
  if (FNavigation->AlwaysEdit() && CanFocus()) SetFocus();
}

// ---------------------------------------------------------------------------
// Appending

void DEreDuzeroVaro::AutoAddRow() {
  bool allow = true;
  CanAddRow(allow);
  if (!allow) return;
  const int cols = ColCount() + FNumHidden;
  if (HideLastRow()) {
    // The footer row moves down: its texts go to the new last row, the row it left is empty.
    std::vector<String> footer(cols);
    for (int c = 0; c < cols; ++c) footer[c] = GridCells(c, RowCount() - 1);
    AppendRow();
    for (int c = 0; c < cols; ++c) {
      SetGridCells(c, RowCount() - 2, String());
      SetGridObjects(c, RowCount() - 2, nullptr);
      SetGridCells(c, RowCount() - 1, footer[c]);
    }
  } else {
    AppendRow();
    for (int c = 0; c < cols; ++c) {
      SetGridCells(c, RowCount() - 1, String());
      SetGridObjects(c, RowCount() - 1, nullptr);
    }
  }
  if ((HideLastRow() || FixedFooters() > 0) && Row() + 1 < RowCount()) SetRow(Row() + 1);
  if (OnAutoAddRow) OnAutoAddRow(this, RowCount() - FixedFooters() - 1);
}

// ---------------------------------------------------------------------------
// Form controls in mini-HTML cells

void DEreDuzeroVaro::EditHTMLControl(int ACol, int ARow, const String& AfterID) {
  const int rc = RealColIndex(ACol);
  const String text = Cells(rc, ARow);
  const String id = NextHtmlEditControlID(text, AfterID);
  if (id.empty()) {
    if (CanFocus()) SetFocus();
    return;
  }
  TRect r = CellRect(ACol, ARow);
  r.Left += XYOffset().X + 1;
  r.Top += XYOffset().Y + 1;
  if (HasCheckBox(rc, ARow)) r.Left += ControlLook()->CheckSize();
  String href, plain, focusedHref, title, controlID = id, value, type;
  int32_t width = 0, height = 0, anchors = 0, hitAnchor = -1;
  TRect anchorRect, controlRect;
  DrawHtmlText(Canvas(), text, r, GetImageList(), -1, -1, -1, -1, 1, true, false, false, false, true, false, true, false,
               1.0, URLColor(), clNone, clNone, 0x808080, href, plain, focusedHref, title, width, height, anchors,
               hitAnchor, anchorRect, controlRect, controlID, value, type, ImageCache(), PictureContainer(),
               HandleAllocated() ? Handle() : nullptr, 0);
  StartCellControlEdit(text, type, ACol, ARow, controlRect, value, id);
}
