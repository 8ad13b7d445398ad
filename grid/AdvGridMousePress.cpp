// The string grid's left and right mouse presses: the left press's chain of hit tests (first
// hit wins), the MouseDown override the class library's press calls, radio groups, links and
// the fixed-cell editor start.
#include <cmath>

#include "controls/HtmlText.h"
#include "controls/VevAzez.h"
#include "grid/AdvGrid.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/ui/MeasureCanvas.h"
#include "platform/win/Shell.h"
#include "platform/win/WinUser.h"

std::function<void(const String& URL)> DEreDuzeroVaro::OpenLinkHook = [](const String& URL) {
  ShellExecute(nullptr, u"open", URL.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
};

namespace {
// The handle of the selection's last cell is this many pixels square.
constexpr int HandleSize = 6;
// A press this close to a fixed column's (row's) border sizes it.
constexpr int FixedSizeZone = 3;

bool InRect(const TRect& R, int X, int Y) { return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom; }

// Node glyphs: the nodes area expands and contracts.
bool PressNode(DEreDuzeroVaro& Grid, int ACol, int ARow, int X, int Y, TShiftState Shift1) {
  if (ACol != 0 || !Grid.IsNode(ARow) || !Grid.IsNodeGlyphHit(ARow, X)) return false;
  TCellGraphic* g = Grid.GetCellGraphic(0, ARow);
  if (g == nullptr) return false;
  if (ARow < Grid.TCustomGrid::FixedRows()) {
    if (Grid.MouseActions()->NodeAllExpandContract()) {
      if (g->CellBoolean()) Grid.ExpandAll();
      else Grid.ContractAll();
      g->SetCellBoolean(!g->CellBoolean());
    }
    return false;
  }
  if (Grid.OnMouseDown) Grid.OnMouseDown(&Grid, mbLeft, Shift1, X, Y);
  if (Grid.OnClickCell) Grid.OnClickCell(&Grid, ARow, ACol);
  const int real = Grid.DisplToRealRow(ARow);
  bool allow = true;
  // The graphic's flag is the contracted state.
  if (g->CellBoolean()) {
    if (Grid.OnBeforeExpandNode) Grid.OnBeforeExpandNode(&Grid, ARow, real, allow);
    if (allow) {
      Grid.ExpandNode(real);
      if (Grid.OnExpandNode) Grid.OnExpandNode(&Grid, ARow, real);
    }
  } else {
    if (Grid.OnBeforeContractNode) Grid.OnBeforeContractNode(&Grid, ARow, real, allow);
    if (allow) {
      Grid.ContractNode(real);
      if (Grid.OnContractNode) Grid.OnContractNode(&Grid, ARow, real);
    }
  }
  if (Grid.MouseActions()->MoveRowOnNodeClick() && ARow < Grid.RowCount()) Grid.SetRow(ARow);
  return true;
}

// A press on the selection with OleDropSource keeps the selection so that a move can drag it.
bool PressDragStart(DEreDuzeroVaro& Grid, int ACol, int ARow, int RCol, int X, int Y, const TRect& R, TShiftState Shift1) {
  const bool fixedRow = ARow < Grid.TCustomGrid::FixedRows();
  TMouseActions* m = Grid.MouseActions();
  if (!((Grid.IsSelected(ACol, ARow) || (fixedRow && !Grid.EnhRowColMove())) &&
        !Grid.Options().Contains(goEditing) && !Grid.HasButton(RCol, ARow) && !Grid.HasCheckBox(RCol, ARow) &&
        Grid.DragDropSettings()->OleDropSource() && ((!m->ColSelect() && !m->AllSelect()) || !fixedRow) &&
        ACol >= Grid.FixedCols() &&
        ((X - R.Left > 3 && R.Right - X > 3) || !Grid.Options().Contains(goColSizing))))
    return false;
  if (Grid.CanFocus()) Grid.SetFocus();
  if (Grid.OnMouseDown) Grid.OnMouseDown(&Grid, mbLeft, Shift1, X, Y);
  Grid.SetSelectionClick(true);
  if (Grid.OnClickCell) Grid.OnClickCell(&Grid, ARow, ACol);
  return true;
}
}  // namespace

TShiftState DEreDuzeroVaro::ShiftOne() {
  if (GetKeyState(VK_MENU) < 0) return TShiftState{ssAlt};
  if (GetKeyState(VK_SHIFT) < 0) return TShiftState{ssShift};
  if (GetKeyState(VK_CONTROL) < 0) return TShiftState{ssCtrl};
  return TShiftState{};
}

bool DEreDuzeroVaro::OnResizeHandle(int X, int Y) {
  if (!SelectionResizer() || !SelectionRectangle()) return false;
  const TGridRect s = Selection();
  const TRect lr = CellRect(s.Right, s.Bottom);
  if (lr.Right <= lr.Left) return false;
  // A mirrored grid has the handle in the bottom-left corner.
  if (UseRightToLeftAlignment())
    return X >= lr.Left && X <= lr.Left + HandleSize && Y >= lr.Bottom - HandleSize && Y <= lr.Bottom;
  return X >= lr.Right - HandleSize && X <= lr.Right && Y >= lr.Bottom - HandleSize && Y <= lr.Bottom;
}

void DEreDuzeroVaro::SetMouseSelectMode(TMouseSelectMode Mode) {
  if (FMouseSelectMode == Mode) return;
  FMouseSelectMode = Mode;
  TCursor c = FOldCursor;
  switch (Mode) {
    case msColumn: c = GridCursor(8011); break;
    case msRow: c = GridCursor(8010); break;
    case msAll:
    case msResize: c = GridCursor(8012); break;
    default: break;
  }
  SetGridCursor(c);
}

// ---------------------------------------------------------------------------
// The left press

bool DEreDuzeroVaro::PressResizeHandle(TWMMouse& Message, int X, int Y, bool SetResult) {
  FGridState = gsSelecting;
  FResizeFrom = Selection();
  FMouseResize = true;
  const TGridRect sel = Selection();
  const int row = Row(), col = Col();
  const bool skip = SetResult ? (Options().Contains(goEditing) || FMouseActions->RangeSelectAndEdit())
                              : Options().Contains(goEditing);
  if (!skip) TBaseGrid::WMLButtonDown(Message);
  // The gesture stretches the selection from where it was.
  FGridState = gsSelecting;
  if (Col() != col || Row() != row) MoveColRow(col, row, true, false);
  SetSelection(sel);
  MouseMove(TShiftState{}, X, Y);
  if (SetResult) Message.M.Result = 1;
  return true;
}

bool DEreDuzeroVaro::PressFixedSizing(int X, int Y) {
  // A fixed column's right border lies at the widths of the columns up to it plus one line each.
  if (FSizeFixed) {
    FSizingFixed = true;
    FSizeFixedX = X;
    int border = 0;
    for (int i = 0; i < FixedCols(); ++i) {
      border += ColWidths(i) + (i > 0 ? 1 : 0);
      if (std::abs(border + i - (i > 0 ? i : 0) - X) < FixedSizeZone) FSizingFixedCol = i;
    }
    Invalidate();
    return true;
  }
  if (FSizeFixedR) {
    FSizingFixedR = true;
    FSizeFixedY = Y;
    int border = 0;
    for (int i = 0; i < TCustomGrid::FixedRows(); ++i) {
      border += RowHeights(i) + (i > 0 ? 1 : 0);
      if (std::abs(border - Y) < FixedSizeZone) FSizingFixedRow = i;
    }
    Invalidate();
    return true;
  }
  return false;
}

void DEreDuzeroVaro::WMLButtonDown(TWMMouse& Message) {
  const int X = Message.XPos(), Y = Message.YPos();
  // 1. The press state.
  FDoOnClick = FMouseDownMove = FMouseKeepDown = true;
  FSpinUpClick = FSpinDnClick = false;
  int ACol = -1, ARow = -1;
  MouseToCell(X, Y, ACol, ARow);
  const TGridRect oldSel = Selection();
  // 2. The selection's resize handle.
  if (OnResizeHandle(X, Y)) {
    PressResizeHandle(Message, X, Y, true);
    return;
  }
  // 3. A range press outside the selection selects; it does not edit.
  if (Options().Contains(goEditing) && FMouseActions->RangeSelectAndEdit() &&
      (ACol < oldSel.Left || ACol > oldSel.Right || ARow < oldSel.Top || ARow > oldSel.Bottom)) {
    TGridOptions o = Options();
    o.Exclude(goEditing);
    SetOptions(o);
  }
  // 4. The handler may refuse the press.
  bool allow = true;
  if (OnCanClickCell) OnCanClickCell(this, ARow, ACol, allow);
  if (!allow) return;
  // 5. Cell selector mode.
  if (CellSelectorMode()) {
    CellSelectorClick(TGridCoord{ACol, ARow});
    return;
  }
  // 6. The resize mode found by the move.
  if (FMouseSelectMode == msResize) {
    PressResizeHandle(Message, X, Y, false);
    return;
  }
  // 7. Common preparation.
  const TShiftState shift1 = ShiftOne();
  if (FMouseActions->DisjunctCellSelect() && !shift1.Contains(ssCtrl) && ACol >= 0 && ARow >= 0 &&
      !IsFixed(ACol, ARow)) {
    FSelectedCells->Clear();
    Invalidate();
  }
  SearchInc.clear();
  FMoveColInd = FMoveRowInd = -1;
  FSelectionClick = false;
  FPushedCellButton = TPoint(-1, -1);
  FOldTopRow = TopRow();
  FOldKeepLeftCol = LeftCol();
  // 8. The cell a border-size gesture would size.
  if (ARow == 0) MouseToCell(X - 5, Y, Colclicked, Rowclicked);
  else if (ACol == 0) MouseToCell(X, Y - 4, Colclicked, Rowclicked);
  else MouseToCell(X - 5, Y - 4, Colclicked, Rowclicked);
  // 9. The list-view look's hot header.
  if (Look() == glListView && FHotFixedCell.X != -1 &&
      (FHotFixedCell.X < FixedCols() || FHotFixedCell.Y < TCustomGrid::FixedRows()))
    RepaintCell(FHotFixedCell.X, FHotFixedCell.Y);
  // 10.
  if (Colclicked >= 0 && Rowclicked >= 0) {
    Colclickedsize = ColWidths(Colclicked);
    Rowclickedsize = RowHeights(Rowclicked);
  }
  Clickposx = X;
  Clickposy = Y;
  // 11-12. Outside the cells.
  bool leadingFixed = ACol >= 0 && ARow >= 0 && (ARow < TCustomGrid::FixedRows() || ACol < FixedCols());
  if (ACol == -1 || ARow == -1) {
    HideInplaceEdit();
    if (!FixedRowAlways()) TBaseGrid::WMLButtonDown(Message);
    return;
  }
  // 13. The base cell of a merged area.
  const int OCol = ACol, ORow = ARow;
  {
    const TPoint b = BaseCell(ACol, ARow);
    ACol = b.X;
    ARow = b.Y;
  }
  TRect R = CellRect(ACol, ARow);
  if (FMouseActions->CaretPositioning()) LButFlg = true;
  // 14-15. Sizing the fixed columns or rows.
  if (PressFixedSizing(X, Y)) return;
  // 16. Leave the editor on fixed cells.
  if (leadingFixed || IsFixed(ACol, ARow)) HideInplaceEdit();
  const bool otherFixed = IsFixed(ACol, ARow) && !leadingFixed;
  // 18. Fixed cells drawn as buttons.
  if ((leadingFixed || otherFixed) && FixedAsButtons() && Options().Contains(goFixedVertLine) &&
      Options().Contains(goFixedHorzLine) && Ctl3D()) {
    FPushedFixedCell = CellRect(ACol, ARow);
    FPushedCellButton = TPoint(ACol, ARow);
    FFixedCellPushed = true;
    RepaintCell(ACol, ARow);
  }
  // 19.
  const int RCol = DisplToRealCol(ACol);
  // 20. Always-visible spin buttons: the half pressed steps the editor once it opens.
  if (FControlLook->SpinButtonsAlwaysVisible() && HasSpinEdit(ACol, ARow) && X > R.Right - 18) {
    if (Y > R.Top + (R.Bottom - R.Top) / 2) FSpinDnClick = true;
    else FSpinUpClick = true;
  }
  // 21-22. Node glyphs.
  if (PressNode(*this, ACol, ARow, X, Y, shift1)) return;
  // 23. Radio group.
  if (IsRadio(RCol, ARow) && (IsEditable(RCol, ARow) || FControlLook->RadioAlwaysActive())) {
    HideInplaceEdit();
    RadioGroupClick(RCol, ARow, X - R.Left, Y - R.Top);
    if (CanFocus()) SetFocus();
    return;
  }
  // 24. The node column cannot be selected.
  if (ACol == 0 && ARow >= TCustomGrid::FixedRows() && HasNodes() && !FMouseActions->RowSelect() &&
      !Options().Contains(goRowSizing)) {
    if (OnMouseDown) OnMouseDown(this, mbLeft, shift1, X, Y);
    if (OnClickCell) OnClickCell(this, ARow, ACol);
    return;
  }
  // 25. A press on the selection may start dragging it.
  if (PressDragStart(*this, ACol, ARow, RCol, X, Y, R, shift1)) return;
  // 26. Rating: half stars per 9 pixels.
  if (HasRating(RCol, ARow) && IsEditable(RCol, ARow)) {
    HideInplaceEdit();
    double rate = std::trunc((X - R.Left) / 9.0) / 2.0;
    if (RatingChange(RCol, ARow, rate)) {
      SetFloats(RCol, ARow, rate);
      RepaintCell(ACol, ARow);
    }
    return;
  }
  // 27-28. Cell and expand buttons.
  if (PressCellButton(ACol, ARow, RCol, X, Y)) return;
  // 29. A press in a merged area selects its base cell.
  if (IsMergedCell(ACol, ARow) && !IsFixed(ACol, ARow) && !OnMouseDown) {
    // The base cell is the area's right end in a mirrored grid.
    const int x = UseRightToLeftAlignment() ? R.Right - 3 : R.Left + 2;
    Message.M.LParam = MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(R.Top + 2));
  }
  // 30.
  if (ACol >= ColCount() || ARow >= RowCount() || ACol < 0 || ARow < 0) {
    TBaseGrid::WMLButtonDown(Message);
    return;
  }
  // 31.
  {
    TRect s;
    if (Colclicked != -1 && Rowclicked != -1) s = CellRect(Colclicked, Rowclicked);
    Clickposdx = Clickposx - s.Right;
    Clickposdy = Clickposy - s.Bottom;
  }
  // 32. Disjunct rows.
  const TShiftState keys = KeysToShiftState(Message.Keys());
  if (FMouseActions->DisjunctRowSelect() && ARow >= TCustomGrid::FixedRows() &&
      (ACol != 0 || !FMouseActions->HotmailRowSelect())) {
    if (keys.Contains(ssShift)) {
      TBaseGrid::WMLButtonDown(Message);
      TGridRect r;
      r.Left = std::min(ACol, oldSel.Left);
      r.Right = std::max(ACol, oldSel.Left);
      r.Top = std::min(ARow, oldSel.Top);
      r.Bottom = std::max(ARow, oldSel.Top);
      SetSelection(TGridRect{ACol, ARow, oldSel.Left, oldSel.Top});
      return;
    }
    if (keys.Contains(ssCtrl) || FMouseActions->DisjunctRowSelectNoCtrl()) {
      const int r = FMouseActions->RowSelectPersistent() ? DisplToRealRow(ARow) : ARow;
      FDeselectState = RowSelect(r);
    } else {
      FMouseDown = true;
      if (!keys.Contains(ssAlt)) ClearRowSelect();
    }
  }
  // 33. Disjunct columns.
  if (FMouseActions->DisjunctColSelect() && ACol >= FixedCols()) {
    if (keys.Contains(ssCtrl)) {
      FDeselectState = ColSelect(ACol);
    } else {
      FMouseDown = true;
      ClearColSelect();
    }
  }
  // 34. Links and form controls.
  if (PressLink(ACol, ARow, OCol, ORow, RCol, X, Y)) return;
  // 35-38. Header clicks select all, rows or columns.
  Movecell = -1;
  PressHeaderSelect(ACol, ARow, keys);
  // 39. What a drag would move.
  if (ACol >= FixedCols() && ARow < TCustomGrid::FixedRows()) {
    Movecell = ACol;
    MoveOfsX = X - R.Left;
    MoveOfsY = Y - R.Top;
  } else if (ACol < FixedCols() && ARow >= TCustomGrid::FixedRows()) {
    Movecell = ARow;
    MoveOfsX = X - R.Left;
    MoveOfsY = Y - R.Top;
  }
  // 40.
  bool editable = Options().Contains(goEditing) || FMouseActions->RangeSelectAndEdit();
  CellEditAllowed(RCol, ARow, editable);
  // 41. Check boxes and radio buttons.
  if (PressCheckBox(ACol, ARow, RCol, X, Y, editable)) return;
  // 42. Drop-down cell.
  bool dropDown = false;
  if (ACol >= FixedCols() && ARow >= TCustomGrid::FixedRows() && FControlLook->DropDownAlwaysVisible())
    dropDown = HasComboBox(RCol, ARow);
  // 43. Direct edit preparation.
  const bool directPrep = ACol >= FixedCols() && ARow >= TCustomGrid::FixedRows() &&
                          (editable || (FMouseActions->EditOnDblClickOnly() && dropDown)) &&
                          (FMouseActions->DirectEdit() || (FControlLook->DropDownAlwaysVisible() && dropDown));
  if (directPrep) {
    if (FMouseActions->EditOnDblClickOnly() && dropDown) FEditActive = false;
    HideInplaceEdit();
    if (CanFocus()) SetFocus();
  }
  // 44.
  const TGridRect cur = Selection();
  const bool sameSel = InRect(CellRect(ACol, ARow), X, Y) && cur.Left == ACol && cur.Right == ACol &&
                       cur.Top == ARow && cur.Bottom == ARow;
  bool restoreRange = false;
  if (!sameSel && FMouseActions->RangeSelectAndEdit() && !IsFixed(ACol, ARow) && !editable) {
    TGridOptions o = Options();
    o.Exclude(goEditing);
    SetOptions(o);
    restoreRange = true;
  }
  // 45. Other fixed cells (footers, right columns) only report the click.
  if (otherFixed) {
    if (OnClickCell) OnClickCell(this, ARow, ACol);
    return;
  }
  // 46.
  PressNormalCell(Message, ACol, ARow, OCol, ORow, RCol, editable, directPrep, dropDown, restoreRange);
  (void)sameSel;
}

bool DEreDuzeroVaro::PressCellButton(int ACol, int ARow, int RCol, int X, int Y) {
  const bool button = HasButton(RCol, ARow), expand = HasExpand(RCol, ARow);
  if (!button && !expand) return false;
  if (button) {
    HideInplaceEdit();
    if (!IsFixed(ACol, ARow)) {
      FForceSel = true;
      TScopeGuard unforce([this] { FForceSel = false; });
      MoveColRow(ACol, ARow, true, true);
    }
  }
  const TRect br = button ? GetCellButtonRect(ACol, ARow) : GetExpandButtonRect(ACol, ARow);
  if (!InRect(br, X, Y)) return false;
  if (button) PushButton(ACol, ARow, true);
  FPushedCellButton = TPoint(ACol, ARow);
  SetMouseCapture(true);
  if (OnClickCell) OnClickCell(this, ARow, ACol);
  return true;
}

bool DEreDuzeroVaro::HitHtml(int ACol, int ARow, int RCol, const String& Text, int X, int Y, String& Anchor,
                             String& CtrlID, String& CtrlVal, String& CtrlType, TRect& CtrlRect) {
  // The rectangle the painter gives the tagged text.
  TRect r = CellRect(ACol, ARow);
  r.Left += XYOffset().X - 1;
  r.Top += XYOffset().Y;
  if (!XYOffsetTopLeftOnly()) r.Right -= XYOffset().X;
  if (HasCheckBox(RCol, ARow)) r.Left += FControlLook->CheckSize();
  TMeasureCanvas canvas(Canvas());
  canvas->Font()->Assign(ARow < TCustomGrid::FixedRows() || ACol < FixedCols() ? FixedFont() : Font());
  String plain, focusedHref, title;
  int32_t w = 0, h = 0, anchors = 0, hitAnchor = -1;
  TRect anchorRect;
  Anchor.clear();
  const bool hit =
      DrawHtmlText(canvas.Canvas(), Text, r, GetImageList(), X, Y, -1, -1, 1, true, false, false, false, true, false,
                   !EnhTextSize(), false, 1.0, URLColor(), clNone, clNone, 0x808080, Anchor, plain, focusedHref, title,
                   w, h, anchors, hitAnchor, anchorRect, CtrlRect, CtrlID, CtrlVal, CtrlType, ImageCache(),
                   PictureContainer(), HandleAllocated() ? Handle() : nullptr, 0);
  if (!hit) Anchor.clear();
  return !Anchor.empty();
}

bool DEreDuzeroVaro::PressLink(int ACol, int ARow, int OCol, int ORow, int RCol, int X, int Y) {
  String text = Cells(RCol, ARow);
  const uint8_t kind = ClassifyCellText(text, EnableHTML());
  if (!URLShow() && kind != 1) return false;
  String anchor, id, value, type;
  TRect ctrlRect;
  if (kind != 1) {
    if (IsUrl(text)) anchor = text;
  } else {
    HitHtml(ACol, ARow, RCol, text, X, Y, anchor, id, value, type, ctrlRect);
  }
  if (!anchor.empty()) {
    bool editable = (Options().Contains(goEditing) || FEditDisable) && !ReadOnly(OCol, ORow);
    if (!id.empty()) CanEditCell(OCol, ORow, editable);
    if (!id.empty() && editable) {
      if (CellControlEditing()) {
        EndCellControlEdit(this);
        text = Cells(RCol, ARow);
      }
      const String utype = UpperCase(type);
      if (utype == u"BUTTON") {
        FCtrlXY = TPoint(RCol, ARow);
        FCtrlDown = true;
        RepaintCell(ACol, ARow);
      } else if (utype == u"CHECK") {
        SetHtmlControlValue(text, id, UpperCase(value) != u"TRUE" ? u"TRUE" : u"FALSE");
        SetCells(RCol, ARow, text);
      } else if (utype == u"RADIO") {
        text = ResetHtmlRadioControls(text);
        SetHtmlControlValue(text, id, u"TRUE");
        SetCells(RCol, ARow, text);
      }
      if (OnControlClick) OnControlClick(this, ARow, ACol, id, type, value);
      StartCellControlEdit(text, type, ACol, ARow, ctrlRect, value, id);
      return true;
    }
    // A form control is never opened as a link.
    if (!id.empty()) return true;
    bool autoHandle = true;
    if (OnAnchorClick) OnAnchorClick(this, ARow, ACol, anchor, autoHandle);
    if (autoHandle) FollowLink(anchor);
    return true;
  }
  if (kind == 1 && UpperCase(text).find(u"<CONTROL") != String::npos) {
    if (OnClickCell) OnClickCell(this, ORow, OCol);
    HideInplaceEdit();
    MoveColRow(ACol, ARow, true, true);
    SetSelection(TGridRect{ACol, ARow, ACol, ARow});
    return true;
  }
  return false;
}

void DEreDuzeroVaro::FollowLink(const String& Anchor) {
  const String upper = UpperCase(Anchor);
  const size_t cell = upper.find(u"CELL://");
  if (cell != String::npos) {
    // "cell://R3C2": row 3, column 2 of this grid; anything else does nothing.
    TPoint p;
    if (!ParseR1C1Ref(Anchor.substr(cell + 7), p)) return;
    if (p.X < FixedCols() || p.X >= ColCount() || p.Y < TCustomGrid::FixedRows() || p.Y >= RowCount()) return;
    MoveColRow(p.X, p.Y, true, true);
    ScrollInView(p.X, p.Y);
    return;
  }
  // Only web and mail links leave the grid; a file path or a program never runs from a cell.
  static const char16_t* const schemes[] = {u"HTTP://", u"HTTPS://", u"MAILTO:", u"FTP://"};
  String target = Anchor;
  while (!target.empty() && target.front() == u' ') target.erase(0, 1);
  const String ut = UpperCase(target);
  for (const char16_t* s : schemes)
    if (ut.rfind(s, 0) == 0) {
      if (OpenLinkHook) OpenLinkHook(target);
      return;
    }
  // A bare "www." address is a web address.
  if (ut.rfind(u"WWW.", 0) == 0 && OpenLinkHook) OpenLinkHook(u"http://" + target);
}

void DEreDuzeroVaro::PressHeaderSelect(int ACol, int ARow, TShiftState Shift) {
  const int fixedRows = TCustomGrid::FixedRows();
  if (!Options().Contains(goRangeSelect)) return;
  const int oldCol = Col(), oldRow = Row();
  // 36. Select all.
  if (ACol < FixedCols() && ARow < fixedRows && FMouseActions->AllSelect() && FMouseSelectMode == msAll) {
    if (CanFocus()) SetFocus();
    ExportNotification(esExportStart, -1);
    ExportNotification(esExportNewRow, RowCount() - 1);
    ExportNotification(esExportFail, -1);
    TGridRect all{FixedCols(), fixedRows, ColCount() - 1, RowCount() - 1};
    BeforeSelectionChange(all);
    SetSelection(all);
    if (EditorMode()) HideInplaceEdit();
    if (ActiveCellShow()) RepaintActiveHeaders(oldCol, oldRow, ACol, ARow);
    return;
  }
  // 37. A row header.
  if (ACol < FixedCols() && ARow >= fixedRows && FMouseActions->RowSelect() && FMouseSelectMode == msRow) {
    if (EditorMode()) {
      HideInplaceEdit();
      if (CanFocus()) SetFocus();
    }
    if (FMouseActions->DisjunctCellSelect()) FSelectedCells->Clear();
    TGridRect r{FixedCols(), ARow, ColCount() - 1, ARow};
    if (Shift.Contains(ssShift)) r = TGridRect{FixedCols(), std::min(ARow, oldRow), ColCount() - 1, std::max(ARow, oldRow)};
    SetSelection(r);
    FMouseSelectStart = ARow;
    if (ActiveCellShow()) RepaintActiveHeaders(oldCol, oldRow, ACol, ARow);
    if (RowIndicator() != nullptr && !RowIndicator()->Empty()) RepaintCol(0);
    return;
  }
  // 38. A column header.
  if (ACol >= FixedCols() && ARow < fixedRows && FMouseActions->ColSelect() && FMouseSelectMode == msColumn) {
    const TGridRect old = Selection();
    if (CanFocus()) SetFocus();
    HideInplaceEdit();
    if (FMouseActions->DisjunctCellSelect()) FSelectedCells->Clear();
    TGridRect r{ACol, fixedRows, ACol, RowCount() - 1};
    if (Shift.Contains(ssShift)) {
      if (ACol < old.Left) r = TGridRect{ACol, fixedRows, old.Right, RowCount() - 1};
      else r = TGridRect{std::min(oldCol, ACol), fixedRows, std::max(oldCol, ACol), RowCount() - 1};
    }
    SetSelection(r);
    FMouseSelectStart = ACol;
    if (ActiveCellShow()) RepaintActiveHeaders(oldCol, oldRow, ACol, ARow);
  }
}

bool DEreDuzeroVaro::PressCheckBox(int ACol, int ARow, int RCol, int X, int Y, bool Editable) {
  if (ACol >= ColCount() || ARow >= RowCount()) return false;
  const bool hotmail = ACol == 0 && FMouseActions->HotmailRowSelect();
  if (!Editable && !FControlLook->CheckAlwaysActive() && !hotmail) return false;
  const bool radio = HasRadioButton(RCol, ARow);
  if (!(HasCheckBox(RCol, ARow) || radio) || !IsInCheckBox(RCol, ARow, X, Y)) return false;
  HideInplaceEdit();
  if (CanFocus()) SetFocus();
  const int real = RealRowIndex(ARow);
  if (radio) {
    ToggleRadioButton(RCol, ARow, true);
    if (OnRadioButtonClick) OnRadioButtonClick(this, RCol, ARow);
  } else {
    ToggleCheck(RCol, ARow, true);
  }
  if (FShowModified->Enabled()) {
    SetRowModified(ARow, true);
    RepaintCell(0, ARow);
  }
  if (hotmail && ARow >= TCustomGrid::FixedRows()) {
    SetSelection(TGridRect{FixedCols(), ARow, ColCount() - 1, ARow});
    SetRowSelect(real, !RowSelect(real));
    if (real != ARow) RepaintCell(0, ARow);
    if (ARow == Row() && !RowSelect(real)) HideSelection();
  }
  TCheckBoxState state = cbUnchecked;
  GetCheckBoxState(RCol, real, state);
  if (!FNavigation->AlwaysEdit() && ACol >= FixedCols() && ARow >= TCustomGrid::FixedRows())
    MoveColRow(ACol, ARow, true, true);
  CheckBoxClick(ACol, ARow, state == cbChecked);
  if (HideFocusRect()) RepaintCell(ACol, ARow);
  // A header box with CheckAllCheck gives its state to every normal row.
  if (ARow < TCustomGrid::FixedRows() && FMouseActions->CheckAllCheck()) {
    for (int r = TCustomGrid::FixedRows(); r < RowCount() - FixedFooters(); ++r) {
      if (FMouseActions->HotmailRowSelect()) SetRowSelect(RealRowIndex(r), state == cbChecked);
      else SetCheckBoxState(ACol, r, state);
    }
    Invalidate();
  }
  if (OnMouseDown) OnMouseDown(this, mbLeft, KeysToShiftState(0) + ShiftOne(), X, Y);
  Click();
  return true;
}

void DEreDuzeroVaro::PressNormalCell(TWMMouse& Message, int ACol, int ARow, int OCol, int ORow, int RCol,
                                     bool Editable, bool DirectPrep, bool DropDown, bool RestoreRange) {
  const int X = Message.XPos();
  const TRect R = CellRect(ACol, ARow);
  const bool edge = ARow == TopRow() + VisibleRowCount() || ACol == LeftCol() + VisibleColCount() ||
                    (ACol == LeftCol() && LeftCol() > FixedCols());
  const bool keepLeft = Options().Contains(goRowSelect) && FNavigation->KeepHorizScroll();
  const int left = LeftCol(), top = TopRow();
  if (keepLeft) BeginUpdate();
  {
    TScopeGuard end([&] {
      if (keepLeft) {
        SetLeftCol(left);
        EndUpdate();
      }
    });
    {
      const bool alwaysEdit = FNavigation->AlwaysEdit();
      FNavigation->SetAlwaysEdit(false);
      TScopeGuard restore([&] { FNavigation->SetAlwaysEdit(alwaysEdit); });
      TBaseGrid::WMLButtonDown(Message);
    }
    if (GridState() == gsSelecting && edge && FMouseActions->NoAutoRangeScroll()) FGridState = gsNormal;
    if (TopRow() != top && FMouseActions->NoScrollOnPartialRow()) {
      SetTopRow(top);
      Perform(WM_LBUTTONUP, 0, 0);
    }
  }
  const bool awayFromEdges = X - R.Left > 3 && R.Right - X > 3;
  if (awayFromEdges || !Options().Contains(goColSizing) || ARow >= TCustomGrid::FixedRows())
    if (OnClickCell) OnClickCell(this, ARow, ACol);
  if (OnCellValidate) {
    FEntered = false;
    RememberOldCell(Col(), Row());
  }
  (void)RCol;
  (void)Editable;
  // Direct editing opens the editor at once.
  if (awayFromEdges && DirectPrep && !HasCellControl(RCol, ARow) && ACol >= FixedCols() &&
      ARow >= TCustomGrid::FixedRows()) {
    if (FMouseActions->EditOnDblClickOnly() && DropDown && !Options().Contains(goEditing)) {
      TGridOptions o = Options();
      o.Include(goEditing);
      SetOptions(o);
      if (CanFocus()) SetFocus();
    }
    if (Col() == ACol && Row() == ARow) {
      TPoint base = BaseCell(OCol, ORow);
      const bool isBase = base.X == OCol && base.Y == ORow;
      const int c = isBase ? OCol : ACol, r = isBase ? ORow : ARow;
      SetSelection(TGridRect{c, r, c, r});
      RememberOldCell(c, r);
      FGridState = gsNormal;
      if (Options().Contains(goEditing) || FMouseActions->RangeSelectAndEdit()) ShowInplaceEdit();
    }
  }
  if (RestoreRange && awayFromEdges) FGridState = gsSelecting;
}

// ---------------------------------------------------------------------------
// The class library's press calls this for the left button; the right press too.

void DEreDuzeroVaro::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const TGridRect before = Selection();
  int ACol = -1, ARow = -1;
  MouseToCell(X, Y, ACol, ARow);
  // Range select and edit: a press on the current cell edits, a Shift press elsewhere selects.
  if (FMouseActions->RangeSelectAndEdit() && Button == mbLeft && !FMouseActions->EditOnDblClickOnly()) {
    if (ACol == Col() && ARow == Row() && !Options().Contains(goEditing) && ACol >= 0 &&
        IsEditable(DisplToRealCol(ACol), ARow)) {
      TGridOptions o = Options();
      o.Include(goEditing);
      SetOptions(o);
      TBaseGrid::MouseDown(Button, Shift, X, Y);
      ShowInplaceEdit();
      return;
    }
    if ((ACol != Col() || ARow != Row()) && Options().Contains(goEditing) && Shift.Contains(ssShift)) {
      TGridOptions o = Options();
      o.Exclude(goEditing);
      SetOptions(o);
      TBaseGrid::MouseDown(Button, Shift, X, Y);
      return;
    }
  }
  const bool valid = ACol >= 0 && ARow >= 0;
  // The drop-down button of a fixed cell pops up its menu.
  if (PressFixedDropDown(ACol, ARow, X)) return;
  if (valid && IsHoverFixedCell(ACol, ARow) && FControlLook->FixedGradientDownTo() != clNone &&
      ARow == TCustomGrid::FixedRows() - 1)
    RepaintCell(ACol, ARow);
  FEditStart = true;
  {
    TScopeGuard done([&] { FEditStart = false; });
    TBaseGrid::MouseDown(Button, Shift, X, Y);
  }
  if (Shift.Contains(ssShift) && SelectionRectangle()) {
    const TGridRect s = Selection();
    const TRect a = CellRect(s.Left, s.Top), b = CellRect(s.Right, s.Bottom);
    RepaintRect(TRect(a.Left, a.Top, b.Right, b.Bottom));
  }
  (void)before;
  // Fixed-cell editing on a click.
  if (valid && (ARow < TCustomGrid::FixedRows() || ACol < FixedCols())) {
    const TRect r = CellRect(ACol, ARow);
    const TRect inner(r.Left + 4, r.Top + 4, r.Right - 4, r.Bottom - 4);
    const TGridFixedCellEdit rowsEdit = FMouseActions->FixedRowsEdit(), colsEdit = FMouseActions->FixedColsEdit();
    if (rowsEdit == fceLeftClick && Button == mbLeft && ARow < TCustomGrid::FixedRows()) {
      if (!Options().Contains(goColSizing) || InRect(inner, X, Y)) StartFixedCellEdit(ACol, ARow);
      return;
    }
    if (colsEdit == fceLeftClick && Button == mbLeft && ACol < FixedCols()) {
      if (!Options().Contains(goRowSizing) || InRect(inner, X, Y)) StartFixedCellEdit(ACol, ARow);
      return;
    }
    if (rowsEdit == fceRightClick && Button == mbRight && ARow < TCustomGrid::FixedRows()) {
      StartFixedCellEdit(ACol, ARow);
      return;
    }
    if (colsEdit == fceRightClick && Button == mbRight && ACol < FixedCols()) {
      StartFixedCellEdit(ACol, ARow);
      return;
    }
  }
  // The synchronised grid follows the current cell.
  if (auto* other = dynamic_cast<DEreDuzeroVaro*>(FSyncGrid->Grid())) {
    if (FSyncGrid->SelectionColumn() && Col() < other->ColCount() && Col() >= other->FixedCols()) other->SetCol(Col());
    if (FSyncGrid->SelectionRow() && Row() < other->RowCount() && Row() >= other->TCustomGrid::FixedRows())
      other->SetRow(Row());
  }
}

// ---------------------------------------------------------------------------
// Radio groups

void DEreDuzeroVaro::RadioGroupClick(int ACol, int ARow, int X, int Y) {
  const int dcol = DisplColIndex(ACol);
  TBrush brush;
  TFont font;
  font.Assign(Font());
  GetCellColor(ACol, ARow, TGridDrawState{}, &brush, &font);
  TMeasureCanvas canvas(Canvas());
  canvas->Font()->Assign(&font);
  const TPoint b = BaseCell(dcol, ARow);
  TCellGraphic* g = GetCellGraphic(DisplToRealCol(b.X), b.Y);
  TStrings* items = GetRadioStrings(DisplToRealCol(b.X), b.Y);
  if (g == nullptr || items == nullptr) return;
  if (!IsFixed(b.X, b.Y) && b.X >= FixedCols() && b.Y >= TCustomGrid::FixedRows()) MoveColRow(b.X, b.Y, true, true);
  const int z = FControlLook->ControlStyle() > csFlat ? 16 : FControlLook->RadioSize();
  int hit = -1;
  if (g->CellBoolean()) {
    int p = 0;
    for (int i = 0; i < items->Count(); ++i) {
      const int end = p + canvas->TextWidth(items->Get(i)) + z;
      if (p < X && X < end) {
        hit = i;
        break;
      }
      p = end;
    }
  } else {
    const int h = std::max(z, canvas->TextHeight(u"gh"));
    for (int i = 0; i < items->Count(); ++i)
      if (i * h < Y && Y < (i + 1) * h) {
        hit = i;
        break;
      }
  }
  if (hit < 0) return;
  if (g->CellIndex() == -1) SetCells(DisplToRealCol(b.X), b.Y, items->Get(hit));
  SetCells(DisplToRealCol(b.X), b.Y, Cells(DisplToRealCol(b.X), b.Y));
  SetRadioIdx(DisplToRealCol(b.X), b.Y, hit);
  if (OnRadioClick) OnRadioClick(this, b.X, b.Y, hit);
  RepaintCell(b.X, b.Y);
}

// ---------------------------------------------------------------------------
// The right button

void DEreDuzeroVaro::WMRButtonDown(TWMMouse& Message) {
  TBaseGrid::WMRButtonDown(Message);
  const int X = Message.XPos(), Y = Message.YPos();
  int ACol = -1, ARow = -1;
  MouseToCell(X, Y, ACol, ARow);
  const bool valid = ACol >= 0 && ARow >= 0;
  if (FMouseActions->SelectOnRightClick() && valid && !IsFixed(ACol, ARow) &&
      (!FMouseActions->DisjunctCellSelect() || !IsSelected(ACol, ARow))) {
    MouseDown(mbLeft, TShiftState{}, X, Y);
    MouseUp(mbLeft, TShiftState{}, X, Y);
    if (IsSelected(ACol, ARow)) {
      bool allow = true;
      if (OnSelectCell) OnSelectCell(this, ACol, ARow, allow);
    } else {
      const int left = LeftCol();
      const bool keep = FNavigation->KeepHorizScroll();
      if (keep) BeginUpdate();
      const TPoint b = BaseCell(ACol, ARow);
      MoveColRow(b.X, b.Y, true, true);
      if (keep) {
        SetLeftCol(left);
        EndUpdate();
      }
    }
    if (FMouseActions->DisjunctRowSelect()) {
      const TShiftState keys = KeysToShiftState(Message.Keys());
      if (keys.Contains(ssCtrl) || FMouseActions->DisjunctRowSelectNoCtrl()) {
        SetRowSelect(ARow, !RowSelect(ARow));
      } else if (RowSelectCount() > 1 && PopupMenu() != nullptr) {
        if (!RowSelect(ARow)) {
          ClearRowSelect();
          SetRowSelect(ARow, true);
        }
      } else {
        ClearRowSelect();
        SetRowSelect(ARow, true);
      }
    }
  }
  if (OnRightClickCell) OnRightClickCell(this, ARow, ACol);
  if (valid && URLShow() && URLEdit() && IsUrl(Cells(DisplToRealCol(ACol), ARow)) && ACol >= FixedCols() &&
      ARow >= TCustomGrid::FixedRows()) {
    MoveColRow(ACol, ARow, true, true);
    TGridOptions o = Options();
    o.Include(goEditing);
    SetOptions(o);
    ShowEditor();
  }
}

void DEreDuzeroVaro::WMRButtonUp(TWMMouse& Message) {
  // The release is swallowed while an enhanced move shows its drag cursor.
  if (FMoving && EnhRowColMove() && (GridState() == gsColMoving || GridState() == gsRowMoving)) {
    Message.M.Result = 0;
    return;
  }
  TBaseGrid::WMRButtonUp(Message);
}
