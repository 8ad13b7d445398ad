// The string grid's left release (pushed buttons, fixed-cell sizing, disjunct marks, the fill
// gesture, header-click sorting), the MouseUp override, the double click and the editor's
// text exchange.
#include <chrono>

#include "controls/HtmlText.h"
#include "grid/AdvGrid.h"
#include "grid/AdvGridValuesHint.h"
#include "grid/ArrowWindow.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/win/WinUser.h"

namespace {
bool InRect(const TRect& R, int X, int Y) { return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom; }
// A release this close to a header cell's border sizes; it never sorts.
constexpr int BorderZone = 4;
// The filter button and the fixed drop-down button take the cell's last pixels.
constexpr int ButtonZone = 16;

}  // namespace

void DEreDuzeroVaro::WMLButtonUp(TWMMouse& Message) {
  const int X = Message.XPos(), Y = Message.YPos();
  // 1. The press state ends.
  ColMoveFlg = ColSizeFlg = FMouseDown = FMouseKeepDown = FMouseDownMove = false;
  SetMouseSelectMode(msNormal);
  if (FCtrlDown) {
    FCtrlDown = false;
    if (FCtrlXY.X >= 0) RepaintCell(DisplColIndex(FCtrlXY.X), FCtrlXY.Y);
  }
  if (Look() == glListView) {
    RepaintRow(0);
    if (FixedCols() > 0) RepaintCol(0);
  }
  FMouseSelectStart = -1;
  for (TArrowWindow* a : FArrows)
    if (a != nullptr) a->SetVisible(false);
  // 2-3. Sizing of the fixed columns or rows ends.
  if (FSizingFixed) {
    FSizeFixed = FSizingFixed = false;
    const int c = FSizingFixedCol;
    FSizingFixedCol = -1;
    if (c >= 0 && c < ColCount()) {
      int w = X;
      for (int i = 0; i < c; ++i) w -= ColWidths(i);
      w = std::max(0, w);
      SetColWidths(c, w);
      if (OnEndColumnSize) OnEndColumnSize(this, c);
      if (OnUpdateColumnSize) {
        int nw = w;
        UpdateColumnSize(c, nw);
        if (nw != ColWidths(c)) SetColWidths(c, std::max(0, nw));
      }
    }
    Invalidate();
  }
  if (FSizingFixedR) {
    FSizeFixedR = FSizingFixedR = false;
    const int r = FSizingFixedRow;
    FSizingFixedRow = -1;
    if (r >= 0 && r < RowCount()) {
      int h = Y;
      for (int i = 0; i < r; ++i) h -= RowHeights(i);
      SetRowHeights(r, std::max(0, h));
      if (OnEndRowSize) OnEndRowSize(this, r);
    }
    Invalidate();
  }
  // 4. A fixed cell pushed as a button comes up again.
  if (FFixedCellPushed) {
    FFixedCellPushed = false;
    InvalidateRect(Handle(), &FPushedFixedCell, false);
  }
  // 5.
  int ACol = -1, ARow = -1;
  MouseToCell(X, Y, ACol, ARow);
  const bool valid = ACol >= 0 && ARow >= 0;
  // 6. A pushed cell button clicks when released on it; the click names the pushed cell.
  if (FPushedCellButton.X != -1) {
    const TPoint p = FPushedCellButton;
    FPushedCellButton = TPoint(-1, -1);
    TScopeGuard release([this] { SetMouseCapture(false); });
    bool enabled = Options().Contains(goEditing);
    if (valid && !FControlLook->NoDisabledButtonLook()) enabled = IsEditableCell(ACol, ARow);
    const bool leading = p.X < FixedCols() || p.Y < TCustomGrid::FixedRows();
    if (enabled || FControlLook->NoDisabledButtonLook() || leading) {
      if (HasButton(DisplToRealCol(p.X), p.Y)) PushButton(p.X, p.Y, false);
      if (valid) {
        const TPoint b = BaseCell(ACol, ARow);
        const bool click = (HasButton(DisplToRealCol(b.X), b.Y) && InRect(GetCellButtonRect(b.X, b.Y), X, Y)) ||
                           (FixedAsButtons() && (p.X < FixedCols() || p.Y < TCustomGrid::FixedRows()) &&
                            !HasButton(DisplToRealCol(b.X), b.Y));
        if (click) ButtonClick(p.X, p.Y);
        if (HasExpand(DisplToRealCol(b.X), b.Y) && InRect(GetExpandButtonRect(b.X, b.Y), X, Y) && p == b)
          ExpandClick(p.X, p.Y, ToggleExpand(DisplToRealCol(p.X), p.Y));
      }
    }
    RepaintCell(p.X, p.Y);
  }
  // 7. The sizing hint goes.
  if (FScrollHintShow) {
    FScrollHintShow = false;
    if (FScrollHintWnd) FScrollHintWnd->SetVisible(false);
  }
  // 8. A release on a cell's own button ends here.
  if (valid) {
    const int rc = DisplToRealCol(ACol);
    if ((HasButton(rc, ARow) && InRect(GetCellButtonRect(ACol, ARow), X, Y)) ||
        (HasExpand(rc, ARow) && InRect(GetExpandButtonRect(ACol, ARow), X, Y))) {
      SetMouseCapture(false);
      return;
    }
  }
  FDoOnClick = false;
  // 11. A press that could have dragged the selection but did not: it selects now.
  if (FSelectionClick) {
    FSelectionClick = false;
    if (valid && !IsFixed(ACol, ARow)) {
      const bool ctrl = GetKeyState(VK_CONTROL) < 0;
      if (FMouseActions->DisjunctRowSelect() && (ctrl || FMouseActions->DisjunctRowSelectNoCtrl())) {
        SetRowSelect(ARow, !RowSelect(ARow));
        TBaseGrid::WMLButtonUp(Message);
        return;
      }
      if (FMouseActions->DisjunctRowSelect()) ClearRowSelect();
      if (Options().Contains(goRowSelect)) MoveColRow(FixedCols(), ARow, true, true);
      else MoveColRow(ACol, ARow, true, true);
    }
  }
  // 12. Disjunct rows take the selection.
  if (FMouseActions->DisjunctRowSelect() && ACol >= 0 && (ACol != 0 || !IsNode(ARow))) {
    if (!(ACol == 0 && FMouseActions->HotmailRowSelect())) SelectionToRowSelect(false);
    if (ARow >= TCustomGrid::FixedRows() && ARow < RowCount() - FixedFooters() && FDeselectState) {
      SetRowSelect(FMouseActions->RowSelectPersistent() ? DisplToRealRow(ARow) : ARow, false);
      if (FMouseActions->HotmailRowSelect()) RepaintCell(0, 0);
    }
    FDeselectState = false;
  }
  // 14. Disjunct columns.
  if (FMouseActions->DisjunctColSelect()) {
    SelectionToColSelect(false);
    if (ACol >= FixedCols() && ACol < ColCount() - FixedRightCols() && FDeselectState) SetColSelect(ACol, false);
    FDeselectState = false;
  }
  // 15. An enhanced move ends here.
  const TGridState stateBefore = GridState();
  const bool moved = EndEnhancedMove(ACol, ARow);
  if (stateBefore == gsColSizing || stateBefore == gsRowSizing) ColSizeFlg = true;
  // 16. The class library's release.
  TBaseGrid::WMLButtonUp(Message);
  // 17.
  if (valid && (ACol < FixedCols() || ARow < TCustomGrid::FixedRows()) && OnFixedCellClick)
    OnFixedCellClick(this, ACol, ARow);
  // 18.
  if (GridState() == gsSelecting) FGridState = gsNormal;
  // 19. The fill gesture: the selection grew from the handle.
  if (FMouseResize) {
    FMouseResize = false;
    const TGridRect now = Selection();
    if (OnSelectionResize) OnSelectionResize(this, FResizeFrom, now);
    FEditDisable = true;
    {
      TScopeGuard end([this] { FEditDisable = false; });
      FillSelectionFrom(FResizeFrom, now);
    }
    if (OnSelectionResized) OnSelectionResized(this, FResizeFrom, now);
  }
  // 20.
  if (ColMoveFlg || ColSizeFlg || !valid) return;
  // 21. Release events and sorting.
  if (ACol >= FixedCols() || SortSettings()->FixedCols()) {
    const int rc = DisplToRealCol(ACol);
    TCheckBoxState state = cbUnchecked;
    if (HasCheckBox(rc, ARow) && OnCheckBoxMouseUp) {
      GetCheckBoxState(rc, ARow, state);
      OnCheckBoxMouseUp(this, rc, ARow, state);
    }
    int idx = -1;
    if (IsRadio(rc, ARow) && OnRadioMouseUp && GetRadioIdx(rc, ARow, idx)) OnRadioMouseUp(this, rc, ARow, idx);
    if (FDblClk) {
      FDblClk = false;
      return;
    }
    ClickSort(ACol, ARow, X, moved);
  }
}

void DEreDuzeroVaro::ClickSort(int ACol, int ARow, int X, bool Moved) {
  const int rc = DisplToRealCol(ACol);
  const TRect r = CellRect(ACol, ARow);
  if (ARow == 0 && Options().Contains(goColSizing) &&
      (std::abs(X - r.Left) < BorderZone || std::abs(X - r.Right) < BorderZone))
    return;
  int pcol = -1, prow = -1;
  MouseToCell(Clickposx, Clickposy, pcol, prow);
  if (FControlLook->FixedDropDownButton() && CanShowFixedDropDown(rc) && X > r.Right - ButtonZone) return;
  if (X > r.Right - ButtonZone && BuildFilterList(rc)) return;
  TSortSettings* s = SortSettings();
  const bool sortable = s->Row() == ARow && prow == ARow && TCustomGrid::FixedRows() > 0 &&
                        !IsInCheckBox(rc, ARow, X, Clickposy) && s->Show() && !Moved && RowCount() > 2;
  bool doSort = true;
  if (sortable) {
    if (IsIgnoredColumn(rc)) doSort = false;
    if (OnCanSort) OnCanSort(this, rc, doSort);
  }
  if (!sortable || !doSort) {
    if (!doSort) RepaintCell(ACol, s->Row());
    return;
  }
  HideInplaceEdit();
  if (FSortRowXRef->Count() != RowCount()) InitSortXRef();
  const int left = LeftCol();
  const bool keep = FNavigation->KeepHorizScroll() && Options().Contains(goRowSelect);
  const auto start = std::chrono::steady_clock::now();
  if (keep) BeginUpdate();
  {
    TScopeGuard end([&] {
      if (keep) {
        SetLeftCol(left);
        EndUpdate();
      }
    });
    if (s->IndexShow()) {
      const int key = s->IndexSortKey() == ikCtrl ? VK_CONTROL : VK_SHIFT;
      HeaderSortIndexed(rc, GetKeyState(key) < 0);
    } else {
      bool undo = false;
      if (s->Column() == rc) {
        undo = s->Direction() != s->InitSortDirection() && s->UndoSort();
        s->ToggleDirection();
      } else {
        s->SetDirection(s->InitSortDirection());
        s->SetColumn(rc);
      }
      bool nodes = false;
      for (int r = TCustomGrid::FixedRows(); r < RowCount() && !nodes; ++r) nodes = IsNode(r);
      if (nodes) {
        QSortGroup();
      } else if (undo) {
        QUnSort();
        s->SetColumn(-1);
        s->SetDirection(s->InitSortDirection());
      } else {
        QSort();
      }
    }
  }
  FSortTime = static_cast<unsigned>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
  if (FControlList->Count() > 0) CellControlsUpdate(true);
  Invalidate();
  if (OnClickSort) OnClickSort(this, s->Column());
}

void DEreDuzeroVaro::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const TGridRect before = Selection();
  int ACol = -1, ARow = -1;
  MouseToCell(X, Y, ACol, ARow);
  FilterDropDownRelease(ACol, ARow, X, Y);
  FDropDownDown = false;
  // Sizing released outside the control: the size stays as it was last shown.
  if ((X > Width() && GridState() == gsColSizing) || (Y > Height() && GridState() == gsRowSizing)) {
    FGridState = gsNormal;
    return;
  }
  // Disjunct cell selection.
  if (FMouseActions->DisjunctCellSelect() && Button == mbLeft && ACol >= 0 && ARow >= 0) {
    const TPoint b = BaseCell(ACol, ARow);
    auto key = [](int c, int r) { return (r << 16) | (c & 0xFFFF); };
    if (IsFixed(b.X, b.Y)) {
      if (!Shift.Contains(ssCtrl) && !IsFixed(ACol, ARow)) {
        FSelectedCells->Clear();
        Invalidate();
      }
    } else {
      bool can = true;
      if (OnSelectCell) OnSelectCell(this, b.X, b.Y, can);
      if (!can) return;
      if (Shift.Contains(ssShift)) {
        if (!FSelectedCells->HasValue(key(ACol, ARow))) FSelectedCells->Add(key(ACol, ARow));
      } else if (Shift.Contains(ssCtrl)) {
        const int i = FSelectedCells->IndexOf(key(b.X, b.Y));
        if (i < 0) FSelectedCells->Add(key(b.X, b.Y));
        else FSelectedCells->Delete(i);
      } else {
        for (int i = 0; i < FSelectedCells->Count(); ++i)
          RepaintCell(FSelectedCells->Items(i) & 0xFFFF, FSelectedCells->Items(i) >> 16);
        FSelectedCells->Clear();
        FSelectedCells->Add(key(b.X, b.Y));
      }
      const TGridRect s = Selection();
      if (s.Left != s.Right || s.Top != s.Bottom) {
        for (int c = s.Left; c <= s.Right; ++c)
          for (int r = s.Top; r <= s.Bottom; ++r)
            if ((c != b.X || r != b.Y) && !FSelectedCells->HasValue(key(c, r))) FSelectedCells->Add(key(c, r));
        for (int i = 0; i < FSelectedCells->Count(); ++i)
          RepaintCell(FSelectedCells->Items(i) & 0xFFFF, FSelectedCells->Items(i) >> 16);
      }
      RepaintCell(ACol, ARow);
    }
  }
  if (GridState() == gsColMoving && Button == mbRight) return;
  TBaseGrid::MouseUp(Button, Shift, X, Y);
  if (ACol >= 0 && ARow >= 0 && IsHoverFixedCell(ACol, ARow) && FControlLook->FixedGradientDownTo() != clNone &&
      ARow == TCustomGrid::FixedRows() - 1)
    RepaintCell(ACol, ARow);
  const TGridRect now = Selection();
  if (!(now == before)) SelectionChanged(now.Left, now.Top, now.Right, now.Bottom);
}

// ---------------------------------------------------------------------------
// Double click

void DEreDuzeroVaro::WMLButtonDblClk(TWMMouse& Message) {
  const int X = Message.XPos(), Y = Message.YPos();
  int ACol = -1, ARow = -1;
  MouseToCell(X, Y, ACol, ARow);
  TScopeGuard unforce([this] { FForceSel = false; });
  if (FMouseActions->RangeSelectAndEdit() && ACol >= 0 && ARow >= 0 &&
      !HasCellControl(DisplToRealCol(ACol), ARow))
    FForceSel = true;
  if (ACol == -1) {
    if (FixedRowAlways() || ARow < 0) {
      TBaseGrid::WMLButtonDblClk(Message);
      return;
    }
    ARow = 0;
    ACol = ColCount() - 1;
  }
  if (ARow < 0) {
    TBaseGrid::WMLButtonDblClk(Message);
    return;
  }
  // A double click on a header border sizes the column to its contents.
  if (ARow < TCustomGrid::FixedRows() && Options().Contains(goColSizing) &&
      FMouseActions->AutoSizeColOnDblClick()) {
    const TRect r = CellRect(ACol, ARow);
    auto autoSize = [this](int c) {
      bool allow = true;
      if (OnColumnSize) OnColumnSize(this, c, allow);
      if (!allow) return;
      AutoSizeCol(c, 0);
      if (OnEndColumnSize) OnEndColumnSize(this, c);
    };
    bool sized = false;
    if (std::abs(X - r.Left) < BorderZone && ACol - 1 >= FixedCols()) {
      FDblClk = true;
      autoSize(ACol - 1);
      sized = true;
    } else if (std::abs(X - r.Right) < BorderZone && ACol >= FixedCols()) {
      FDblClk = true;
      autoSize(ACol);
      sized = true;
    } else if (std::abs(X - r.Left) < BorderZone) {
      FDblClk = true;
    }
    if (sized) {
      FForceSel = false;
      TBaseGrid::WMLButtonDblClk(Message);
      return;
    }
  }
  const int rc = DisplToRealCol(ACol);
  if ((HasButton(rc, ARow) && InRect(GetCellButtonRect(ACol, ARow), X, Y)) ||
      (HasExpand(rc, ARow) && InRect(GetExpandButtonRect(ACol, ARow), X, Y)))
    return;
  if (HasCellControl(rc, ARow)) {
    TBaseGrid::WMLButtonDblClk(Message);
    return;
  }
  TBaseGrid::WMLButtonDblClk(Message);
  {
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    if (OnDblClickCell) OnDblClickCell(this, r, c);
  }
  if (FMouseActions->EditOnDblClickOnly()) {
    const bool range = FMouseActions->RangeSelectAndEdit();
    FMouseActions->SetRangeSelectAndEdit(true);
    const bool editable = IsEditable(ACol, ARow);
    FMouseActions->SetRangeSelectAndEdit(range);
    if (editable) {
      TGridOptions o = Options();
      o.Include(goEditing);
      SetOptions(o);
      FOldCol = ACol;
      FOldRow = ARow;
      ShowInplaceEdit();
    }
  } else if (FMouseActions->RangeSelectAndEdit() && IsEditable(rc, ARow)) {
    TGridOptions o = Options();
    o.Include(goEditing);
    SetOptions(o);
    const TPoint b = BaseCell(ACol, ARow);
    const TRect br = CellRect(b.X, b.Y);
    MouseDown(mbLeft, TShiftState{}, br.Left + 4, br.Top + 4);
  }
}

// ---------------------------------------------------------------------------
// The editor's text

String DEreDuzeroVaro::GetEditText(int ACol, int ARow) {
  FNoEditChange = true;
  const int rc = DisplToRealCol(ACol);
  const TPoint b = BaseCell(rc, ARow);
  String s = TBaseGrid::GetEditText(b.X, b.Y);
  if (!EditWithTags() && ClassifyCellText(s, EnableHTML()) == 1) s = HtmlToPlainText(s);
  return s;
}

void DEreDuzeroVaro::SetEditText(int ACol, int ARow, const String& Value) {
  const TPoint b = BaseCell(ACol, ARow);
  TBaseGrid::SetEditText(DisplToRealCol(b.X), b.Y, Value);
}

// ---------------------------------------------------------------------------
// The fill gesture

void DEreDuzeroVaro::FillSelectionFrom(const TGridRect& Source, const TGridRect& Target) {
  // The source block's texts, taken before anything is written.
  const int w = Source.Right - Source.Left + 1, h = Source.Bottom - Source.Top + 1;
  if (w <= 0 || h <= 0) return;
  std::vector<String> block(static_cast<size_t>(w) * h);
  for (int c = 0; c < w; ++c)
    for (int r = 0; r < h; ++r) block[static_cast<size_t>(r) * w + c] = Cells(RealColIndex(Source.Left + c), Source.Top + r);
  auto at = [&](int c, int r) -> const String& { return block[static_cast<size_t>(r) * w + c]; };
  // Down (or up) when the selection grew in rows, else sideways.
  const bool vertical = Target.Bottom > Source.Bottom || Target.Top < Source.Top;
  const bool always = FNavigation->AllowClipboardAlways();
  BeginUpdate();
  TScopeGuard end([this] { EndUpdate(); });
  for (int c = Target.Left; c <= Target.Right; ++c)
    for (int r = Target.Top; r <= Target.Bottom; ++r) {
      if (c >= Source.Left && c <= Source.Right && r >= Source.Top && r <= Source.Bottom) continue;
      const int rc = RealColIndex(c);
      if (!always && !IsEditable(rc, r)) continue;
      // The position along the fill and the source line it continues.
      const int len = vertical ? h : w;
      const int lineIdx = vertical ? ((c - Source.Left) % w + w) % w : ((r - Source.Top) % h + h) % h;
      const int off = vertical ? r - Source.Top : c - Source.Left;
      const String& first = vertical ? at(lineIdx, 0) : at(0, lineIdx);
      int32_t i1 = 0, i2 = 0;
      String v;
      if (len >= 2 && TryStrToInt(first, i1) && TryStrToInt(vertical ? at(lineIdx, 1) : at(1, lineIdx), i2)) {
        v = IntToStr(static_cast<int64_t>(i1) + static_cast<int64_t>(off) * (static_cast<int64_t>(i2) - i1));
      } else {
        const int k = ((off % len) + len) % len;
        v = vertical ? at(lineIdx, k) : at(k, lineIdx);
      }
      SetCells(rc, r, v);
    }
  CellsChanged(TRect{Target.Left, Target.Top, Target.Right, Target.Bottom});
}
