// The mouse wheel and wheel panning of the string grid.
#include <cmath>

#include "grid/AdvGrid.h"
#include "platform/win/WinUser.h"

namespace {
constexpr int WheelNotch = 120;
// The pan does nothing while the mouse stays this close to where it started.
constexpr int PanDeadZone = 5;
}  // namespace

void DEreDuzeroVaro::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GRIDTABNEXT:
      if (TCustomForm* form = FindParentForm(this)) form->Perform(CM_DIALOGKEY, VK_TAB, 0);
      return;
    case WM_TIMER:
      if (wheelpan && Message.WParam == PanTimerId) {
        WheelPanTick();
        return;
      }
      break;
    case WM_MBUTTONDOWN:
      if (!wheelpan) {
        if (wheelmsg != 0 && IntelliPan() != ipNone && TCustomGrid::FixedRows() < RowCount())
          StartWheelPan(TPoint(static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(Message.LParam))),
                               static_cast<int16_t>(HIWORD(static_cast<uintptr_t>(Message.LParam)))));
      } else {
        EndWheelPan();
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_KEYDOWN:
      if (wheelpan) EndWheelPan();
      break;
    default:
      if (wheelmsg != 0 && Message.Msg == wheelmsg && !wheelpan && WheelTurn(Message)) return;
      break;
  }
  TBaseGrid::Dispatch(Message);
}

bool DEreDuzeroVaro::WheelTurn(TMessage& Message) {
  TWMMouseWheel m(Message);
  // The parent may take the turn.
  if (Parent() != nullptr && Parent()->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam) != 0) {
    Message.Result = 1;
    return true;
  }
  // High-resolution wheels send parts of a notch: a turn counts once a whole notch is in.
  FWheelRest += m.WheelDelta();
  const int notches = FWheelRest / WheelNotch;
  if (notches == 0) {
    Message.Result = 1;
    return true;
  }
  FWheelRest -= notches * WheelNotch;
  const bool down = notches < 0;
  const TShiftState shift = KeysToShiftState(m.Keys());
  // Ctrl zooms: a downward turn enlarges by the wheel's lines, an upward one shrinks; the
  // cells then take the size of their zoomed texts.
  if (shift.Contains(ssCtrl) && IntelliZoom()) {
    for (int i = 0; i < std::min(std::abs(notches), 20); ++i) Zoom(down ? wheelscrl : -wheelscrl);
    AutoSizeCells(true, 4, 4);  // every cell, fixed ones included, with 4 pixels room
    Invalidate();
    Message.Result = 1;
    return true;
  }
  if (!EnableWheel()) return false;
  if (FixedRowAlways() && RowCount() == 1) {
    Message.Result = 1;
    return true;
  }
  const int fixedRows = TCustomGrid::FixedRows();
  const int lastRow = RowCount() - FixedFooters() - 1;
  // One turn moves at most the whole grid, however many notches it brings.
  const int steps = std::min(std::abs(notches), RowCount());
  const int per = FMouseActions->WheelIncrement() < 1 ? wheelscrl : FMouseActions->WheelIncrement();
  const long long n = static_cast<long long>(per) * steps;
  const TWheelAction action = FMouseActions->WheelAction();
  const TGridRect before = Selection();
  long long t = Row();
  if (action == waScroll) {
    const int v = VisibleRowCount();
    if (down) {
      if (TopRow() < RowCount() - v) SetTopRow(static_cast<int>(std::min<long long>(TopRow() + n, RowCount() - v)));
    } else if (TopRow() > fixedRows) {
      SetTopRow(static_cast<int>(std::max<long long>(TopRow() - n, fixedRows)));
    }
  } else {
    t = down ? Row() + n : Row() - n;
  }
  t = std::clamp<long long>(t, fixedRows, std::max(fixedRows, lastRow));
  if (Col() >= ColCount()) SetCol(ColCount() - 1);
  if (Col() < FixedCols() && FixedCols() < ColCount()) SetCol(FixedCols());
  int delta = 0;
  if (t >= 0 && t < RowCount()) {
    const int target = static_cast<int>(t);
    const int oldLeft = LeftCol(), oldCol = Col(), oldRow = Row();
    StartUpdate();
    if (FMouseActions->DisjunctRowSelect() && action == waMoveSelection) ClearRowSelect();
    delta = target - Row();
    if (action == waMoveSelection && target != Row()) {
      SetRow(target);
      // A refused row (a disabled one): halfway there, halves to the even row.
      if (Row() != target) {
        const double half = Row() + (target - Row()) / 2.0;
        const int to = static_cast<int>(std::nearbyint(half));
        if (to >= fixedRows && to < RowCount()) SetRow(to);
        if (!down && TopRow() > fixedRows) SetTopRow(TopRow() - 1);
      }
    }
    if (Options().Contains(goRowSelect) && FNavigation->KeepHorizScroll()) SetLeftCol(oldLeft);
    ResetUpdate();
    // The scroll and the moved selection repaint what they change; what marks the current
    // row elsewhere is repainted here.
    if (Row() != oldRow) {
      if (ActiveCellShow()) RepaintActiveHeaders(oldCol, oldRow, Col(), Row());
      if (ActiveRowShow()) {
        RepaintRow(oldRow);
        RepaintRow(Row());
      }
      if (RowIndicator() != nullptr && !RowIndicator()->Empty()) RepaintCol(0);
    }
  }
  bool handled = true;
  BeforeWheelScroll(delta, handled);
  // The wheel events fire as the class library fires them, without a second step.
  {
    FWheelTurn = true;
    const TPoint at = m.Pos();
    if (down) DoMouseWheelDown(shift, at);
    else DoMouseWheelUp(shift, at);
    FWheelTurn = false;
  }
  const TGridRect now = Selection();
  if (now.Left != before.Left || now.Top != before.Top || now.Right != before.Right || now.Bottom != before.Bottom)
    SelectionChanged(now.Left, now.Top, now.Right, now.Bottom);
  Message.Result = 1;
  return true;
}

bool DEreDuzeroVaro::WheelStep(bool Down, TShiftState Shift, TPoint MousePos) {
  const bool direct = FMouseActions->DirectEdit();
  FMouseActions->SetDirectEdit(false);
  bool result = true;
  if (Options().Contains(goRowSelect) && FNavigation->KeepHorizScroll()) {
    const int left = LeftCol();
    StartUpdate();
    result = Down ? TBaseGrid::DoMouseWheelDown(Shift, MousePos) : TBaseGrid::DoMouseWheelUp(Shift, MousePos);
    SetLeftCol(left);
    ResetUpdate();
  } else if (Down || (Col() >= 0 && Col() < ColCount() && Row() >= 0 && Row() < RowCount())) {
    const bool editing = EditorMode();
    result = Down ? TBaseGrid::DoMouseWheelDown(Shift, MousePos) : TBaseGrid::DoMouseWheelUp(Shift, MousePos);
    if (editing && CanFocus()) SetFocus();
  }
  FMouseActions->SetDirectEdit(direct);
  return result;
}

bool DEreDuzeroVaro::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  if (FWheelTurn || FMouseActions->WheelAction() == waScroll || !EnableWheel()) {
    bool handled = false;
    if (OnMouseWheelDown) OnMouseWheelDown(this, Shift, MousePos, handled);
    return handled;
  }
  return WheelStep(true, Shift, MousePos);
}

bool DEreDuzeroVaro::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  if (FWheelTurn || FMouseActions->WheelAction() == waScroll || !EnableWheel()) {
    bool handled = false;
    if (OnMouseWheelUp) OnMouseWheelUp(this, Shift, MousePos, handled);
    return handled;
  }
  return WheelStep(false, Shift, MousePos);
}

// ---------------------------------------------------------------------------
// Panning

void DEreDuzeroVaro::StartWheelPan(TPoint At) {
  prevcurs = Cursor();
  SetGridCursor(GridCursor(8000));
  wheelpan = true;
  wheelpanpos = At;
  wheeltimer = SetTimer(Handle(), PanTimerId, 10, nullptr);
  SetCapture(Handle());
  SetPanHints(false);
  DrawWheelPanMarker();
}

void DEreDuzeroVaro::EndWheelPan() {
  wheelpan = false;
  if (GetCapture() == Handle()) ReleaseCapture();
  if (wheeltimer != 0 && HandleAllocated()) KillTimer(Handle(), PanTimerId);
  wheeltimer = 0;
  SetGridCursor(prevcurs);
  SetPanHints(true);
  InvalidateWheelPanMarker();
}

void DEreDuzeroVaro::WheelPanTick() {
  POINT p;
  GetCursorPos(&p);
  ::ScreenToClient(Handle(), &p);
  const TIntelliPan pan = IntelliPan();
  int v = 0, h = 0;
  if (pan != ipHorizontal) v = p.Y > wheelpanpos.Y + PanDeadZone ? 1 : p.Y < wheelpanpos.Y - PanDeadZone ? -1 : 0;
  if (pan != ipVertical) h = p.X > wheelpanpos.X + PanDeadZone ? 1 : p.X < wheelpanpos.X - PanDeadZone ? -1 : 0;
  // The cursor points the way the grid pans: 8000 still, then down, left, right, up, up-right,
  // up-left, down-right, down-left.
  static constexpr int Cursors[3][3] = {{8006, 8004, 8005}, {8002, 8000, 8003}, {8008, 8001, 8007}};
  SetGridCursor(GridCursor(Cursors[v + 1][h + 1]));
  const int fixedRows = TCustomGrid::FixedRows();
  const int lastRow = std::max(fixedRows, RowCount() - FixedFooters() - 1);
  const int lastCol = std::max(FixedCols(), ColCount() - FixedRightCols() - 1);
  const TGridRect before = Selection();
  if (Row() < fixedRows || Row() > lastRow) SetRow(std::clamp(Row(), fixedRows, lastRow));
  if (Col() < FixedCols() || Col() > lastCol) SetCol(std::clamp(Col(), FixedCols(), lastCol));
  // The marker's square repaints wherever the cells move under it.
  if (v != 0 || h != 0) InvalidateWheelPanMarker();
  if (FMouseActions->WheelAction() == waScroll) {
    if (h < 0 && LeftCol() > FixedCols()) SetLeftCol(LeftCol() - 1);
    if (h > 0 && LeftCol() < ColCount() - VisibleColCount()) SetLeftCol(LeftCol() + 1);
    if (v < 0 && TopRow() > fixedRows) SetTopRow(TopRow() - 1);
    if (v > 0 && TopRow() < RowCount() - VisibleRowCount()) SetTopRow(TopRow() + 1);
  } else {
    if (h != 0) SetCol(std::clamp(Col() + h, FixedCols(), lastCol));
    if (v != 0) SetRow(std::clamp(Row() + v, fixedRows, lastRow));
  }
  DrawWheelPanMarker();
  const TGridRect now = Selection();
  if (now.Left != before.Left || now.Top != before.Top || now.Right != before.Right || now.Bottom != before.Bottom)
    SelectionChanged(now.Left, now.Top, now.Right, now.Bottom);
}
