// The string grid under a moving mouse: hover feedback, header-driven selection, the next
// press's select mode and cursor, links, sizing events and hint, the enhanced column and row
// move, the mouse leaving, cell hints, the moved hooks and the grid's own cursors.
#include <array>

#include "controls/HtmlText.h"
#include "controls/VevAzez.h"
#include "grid/AdvGrid.h"
#include "grid/AdvGridValuesHint.h"
#include "grid/AdvGridValuesModule.h"
#include "grid/ArrowWindow.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/ui/Forms.h"
#include "platform/win/WinUser.h"

namespace {
constexpr int HandleSize = 6;
constexpr int FixedSizeZone = 3;

// The grid's cursors are drawn from 32 x 32 masks: '#' black, '.' white, ' ' transparent.
// Each picture is a list of rows; shorter rows are padded with transparent pixels.
using TArt = std::array<const char*, 32>;

HCURSOR MakeCursor(const TArt& Art, int HotX, int HotY) {
  uint8_t andPlane[32 * 4], xorPlane[32 * 4];
  for (int y = 0; y < 32; ++y)
    for (int bx = 0; bx < 4; ++bx) {
      uint8_t a = 0xFF, x = 0;
      for (int bit = 0; bit < 8; ++bit) {
        const int px = bx * 8 + bit;
        const char* row = Art[y];
        char c = ' ';
        if (row != nullptr) {
          int len = 0;
          while (row[len] != 0) ++len;
          if (px < len) c = row[px];
        }
        const uint8_t m = static_cast<uint8_t>(0x80 >> bit);
        if (c == '#') a &= static_cast<uint8_t>(~m);
        if (c == '.') {
          a &= static_cast<uint8_t>(~m);
          x |= m;
        }
      }
      andPlane[y * 4 + bx] = a;
      xorPlane[y * 4 + bx] = x;
    }
  return CreateCursor(nullptr, HotX, HotY, 32, 32, andPlane, xorPlane);
}

// Arrow shapes for the pan cursors: a centre ring and arrow heads towards the pan direction.
TArt PanArt(int V, int H) {
  static std::array<std::array<char, 33>, 32> rows;
  for (auto& r : rows) {
    r.fill(' ');
    r[32] = 0;
  }
  auto put = [&](int x, int y, char c) {
    if (x >= 0 && x < 32 && y >= 0 && y < 32) rows[y][x] = c;
  };
  // The centre ring.
  for (int y = -3; y <= 3; ++y)
    for (int x = -3; x <= 3; ++x) {
      const int d = x * x + y * y;
      if (d <= 9 && d >= 4) put(16 + x, 16 + y, '#');
      else if (d < 4) put(16 + x, 16 + y, '.');
    }
  // Heads: a filled triangle per direction shown (all four when neutral).
  auto head = [&](int dx, int dy) {
    for (int k = 0; k < 6; ++k)
      for (int s = -k; s <= k; ++s) {
        const int along = 6 + (6 - k), across = s;
        const int x = 16 + dx * along + dy * across, y = 16 + dy * along + dx * across;
        put(x, y, (s == -k || s == k || k == 5) ? '#' : '.');
      }
  };
  if (V == 0 && H == 0) {
    head(0, -1);
    head(0, 1);
    head(-1, 0);
    head(1, 0);
  } else {
    if (V != 0) head(0, V);
    if (H != 0) head(H, 0);
  }
  TArt art{};
  for (int y = 0; y < 32; ++y) art[y] = rows[y].data();
  return art;
}

// A thick arrow pointing right (row select), down (column select), down-right (all) or a
// cross with a box (cell selector).
TArt SelectArt(int Id) {
  static std::array<std::array<char, 33>, 32> rows;
  for (auto& r : rows) {
    r.fill(' ');
    r[32] = 0;
  }
  auto put = [&](int x, int y, char c) {
    if (x >= 0 && x < 32 && y >= 0 && y < 32) rows[y][x] = c;
  };
  if (Id == 8014) {
    for (int k = 0; k < 16; ++k) {
      put(16, 8 + k, '#');
      put(8 + k, 16, '#');
    }
    for (int k = 12; k <= 20; ++k) {
      put(k, 12, '#');
      put(k, 20, '#');
      put(12, k, '#');
      put(20, k, '#');
    }
  } else {
    // Shaft and head along (dx, dy), tip at (16, 16).
    const int dx = Id == 8010 ? 1 : Id == 8011 ? 0 : 1, dy = Id == 8010 ? 0 : 1;
    for (int t = 0; t < 10; ++t)
      for (int w = -1; w <= 1; ++w) {
        const int x = 16 - dx * (6 + t) + (dy != 0 && dx == 0 ? w : 0) + (dx != 0 && dy != 0 ? w : 0);
        const int y = 16 - dy * (6 + t) + (dx != 0 && dy == 0 ? w : 0);
        put(x, y, w == 0 ? '.' : '#');
      }
    for (int k = 0; k < 6; ++k)
      for (int s = -k; s <= k; ++s) {
        const int x = 16 - dx * k + (dy != 0 && dx == 0 ? s : 0) + (dx != 0 && dy != 0 ? s : 0);
        const int y = 16 - dy * k + (dx != 0 && dy == 0 ? s : 0);
        put(x, y, (s == -k || s == k || k == 5) ? '#' : '.');
      }
  }
  TArt art{};
  for (int y = 0; y < 32; ++y) art[y] = rows[y].data();
  return art;
}
}  // namespace

TCursor DEreDuzeroVaro::GridCursor(int Id) {
  // The cursors take the numbers of their resources in the application's cursor table.
  if (Screen->Cursors(Id) == nullptr) {
    HCURSOR h = nullptr;
    switch (Id) {
      case 8000: h = MakeCursor(PanArt(0, 0), 16, 16); break;
      case 8001: h = MakeCursor(PanArt(1, 0), 16, 16); break;
      case 8002: h = MakeCursor(PanArt(0, -1), 16, 16); break;
      case 8003: h = MakeCursor(PanArt(0, 1), 16, 16); break;
      case 8004: h = MakeCursor(PanArt(-1, 0), 16, 16); break;
      case 8005: h = MakeCursor(PanArt(-1, 1), 16, 16); break;
      case 8006: h = MakeCursor(PanArt(-1, -1), 16, 16); break;
      case 8007: h = MakeCursor(PanArt(1, 1), 16, 16); break;
      case 8008: h = MakeCursor(PanArt(1, -1), 16, 16); break;
      case 8010:
      case 8011:
      case 8012:
      case 8014: h = MakeCursor(SelectArt(Id), 16, 16); break;
      default: return crDefault;
    }
    Screen->SetCursors(Id, h);
  }
  return static_cast<TCursor>(Id);
}

void DEreDuzeroVaro::SetGridCursor(TCursor Value) {
  if (Cursor() == Value) return;
  Invokedchange = true;
  SetCursor(Value);
  Invokedchange = false;
}

void DEreDuzeroVaro::SetCellSelectorMode(bool Value) {
  if (FCellSelectorMode == Value) return;
  FCellSelectorMode = Value;
  SetGridCursor(Value ? GridCursor(8014) : FOldCursor);
}

// ---------------------------------------------------------------------------

void DEreDuzeroVaro::MouseMove(TShiftState Shift, int X, int Y) {
  // While panning the mouse only steers the pan (its timer reads the pointer).
  if (wheelpan) return;
  // 1. Dragging after a press selects a range.
  if (FMouseDownMove && FMouseActions->RangeSelectAndEdit() && Options().Contains(goEditing) && !EditMode()) {
    TGridOptions o = Options();
    o.Exclude(goEditing);
    SetOptions(o);
  }
  bool cursorSet = false, scrolledUp = false;
  const TGridRect before = Selection();
  const int fixedRows = TCustomGrid::FixedRows();
  int ACol = -1, ARow = -1;
  MouseToCell(X, Y, ACol, ARow);
  const bool valid = ACol >= 0 && ARow >= 0;
  // 4.1 Hover row.
  if (valid && HoverRow() && ARow != HoverRowIdx()) {
    const int old = HoverRowIdx();
    SetHoverRowIdx(ARow);
    RepaintRow(ARow);
    if (old >= 0 && old < RowCount()) RepaintRow(old);
  }
  // 5. Hover fixed cells: only a change repaints.
  if (HoverFixedCells() != hfNone && !FNoMouseLeave) {
    const TPoint old = FHoverFixedCell;
    const TPoint now = valid ? TPoint(ACol, ARow) : TPoint(-1, -1);
    if (!(old == now)) {
      FHoverFixedCell = now;
      auto inFixed = [&](TPoint p) {
        return p.X >= 0 && p.Y >= 0 && (p.Y <= fixedRows || p.X <= FixedCols());
      };
      if (inFixed(old)) RepaintCell(old.X, old.Y);
      if (inFixed(now)) RepaintCell(now.X, now.Y);
    }
  }
  // 6. The list-view look's hot header.
  if (Look() == glListView && !(FHotFixedCell == TPoint(ACol, ARow))) {
    auto fixed = [&](TPoint p) { return p.X >= 0 && p.Y >= 0 && (p.X < FixedCols() || p.Y < fixedRows); };
    if (fixed(FHotFixedCell)) RepaintCell(FHotFixedCell.X, FHotFixedCell.Y);
    FHotFixedCell = TPoint(ACol, ARow);
    if (fixed(FHotFixedCell)) RepaintCell(ACol, ARow);
  }
  // 7. Hover button.
  if (valid) {
    const int rc = DisplToRealCol(ACol);
    const TRect br = HasButton(rc, ARow) ? GetCellButtonRect(ACol, ARow)
                     : HasExpand(rc, ARow) ? GetExpandButtonRect(ACol, ARow)
                                           : TRect();
    const bool on = X >= br.Left && X < br.Right && Y >= br.Top && Y < br.Bottom;
    if (on && !(FHoverButton == TPoint(ACol, ARow))) {
      if (FHoverButton.X != -1) RepaintCell(FHoverButton.X, FHoverButton.Y);
      FHoverButton = TPoint(ACol, ARow);
      RepaintCell(ACol, ARow);
    } else if (!on && FHoverButton.X != -1) {
      RepaintCell(FHoverButton.X, FHoverButton.Y);
      FHoverButton = TPoint(-1, -1);
    }
  }
  // 8. Row selection by dragging in the fixed column.
  if (FMouseSelectStart != -1 && FMouseActions->RowSelect() && FMouseSelectMode == msRow && ARow >= fixedRows &&
      ARow <= RowCount() - FixedFooters()) {
    const int r = std::min(std::max(fixedRows, ARow), RowCount() - 1);
    if (FMouseSelectStart < ARow) SetSelection(TGridRect{FixedCols(), FMouseSelectStart, ColCount() - 1, r});
    else SetSelection(TGridRect{FixedCols(), r, ColCount() - 1, FMouseSelectStart});
    if (Y > Height() - 4 && TopRow() < RowCount() - VisibleRowCount()) SetTopRow(TopRow() + 1);
    if (fixedRows > 0 && Y < RowHeights(0) && TopRow() > fixedRows) {
      SetTopRow(TopRow() - 1);
      scrolledUp = true;
    }
  }
  // 9. Column selection by dragging in the fixed row.
  if (FMouseSelectStart != -1 && FMouseActions->ColSelect() && FMouseSelectMode == msColumn && ACol >= 0) {
    const int c = std::max(FixedCols(), ACol);
    if (FMouseSelectStart < ACol) SetSelection(TGridRect{FMouseSelectStart, fixedRows, c, RowCount() - 1});
    else SetSelection(TGridRect{c, fixedRows, FMouseSelectStart, RowCount() - 1});
  }
  // 10-11. The fixed columns' and rows' sizing zones.
  {
    FSizeFixed = false;
    int border = 0;
    for (int i = 0; i < FixedCols(); ++i) {
      border += ColWidths(i) + (i > 0 ? 1 : 0);
      if (std::abs(border - X) < FixedSizeZone && valid) FSizeFixed = FMouseActions->SizeFixedCol();
    }
    if (FSizingFixed && FSizeFixedX != X) {
      FSizeFixedX = X;
      Invalidate();
    }
    FSizeFixedR = false;
    border = 0;
    for (int i = 0; i < fixedRows; ++i) {
      border += RowHeights(i) + (i > 0 ? 1 : 0);
      if (std::abs(border - Y) < FixedSizeZone && valid) FSizeFixedR = FMouseActions->SizeFixedRow();
    }
    if (FSizingFixedR && FSizeFixedY != Y) {
      FSizeFixedY = Y;
      Invalidate();
    }
  }
  // 12. The selection's resize handle.
  const bool onHandle = OnResizeHandle(X, Y);
  // 13. A press on the selection starts dragging it once the mouse leaves the dead zone.
  if (FSelectionClick && Shift.Contains(ssLeft) && OleDragFromMouse(TPoint(Clickposx, Clickposy), X, Y))
    FSelectionClick = false;
  // 14. Moving feedback and the next press's select mode.
  if (GridState() == gsColMoving || GridState() == gsRowMoving) MoveFeedback(X, Y, ACol, ARow);
  if (FMouseSelectStart == -1 && !(Shift.Contains(ssLeft) && GridState() != gsNormal)) {
    TMouseSelectMode mode = msNormal;
    if (onHandle) mode = msResize;
    if (valid && ARow < fixedRows && ACol < FixedCols() && FMouseActions->AllSelect()) mode = msAll;
    if (valid && ARow < fixedRows && ACol >= FixedCols() && FMouseActions->ColSelect() && !IsOnSizingBorder(X, Y))
      mode = msColumn;
    const int lastRow = RowCount() - 1;
    if (valid && ACol < FixedCols() && FMouseActions->RowSelect() && (ARow >= fixedRows || scrolledUp) &&
        !IsOnSizingBorder(X, Y) && !(ACol == 0 && IsNode(ARow)) && ARow <= lastRow)
      mode = msRow;
    if (mode != msNormal) cursorSet = true;
    SetMouseSelectMode(mode);
  }
  // 15. Links.
  if (valid && ACol < ColCount() && ARow < RowCount()) {
    const int rc = DisplToRealCol(ACol);
    const String t = Cells(rc, ARow);
    const uint8_t kind = ClassifyCellText(t, EnableHTML());
    String anchor;
    if (kind != 1) {
      if (URLShow() && IsUrl(t)) {
        cursorSet = true;
        SetGridCursor(crHandPoint);
      }
    } else {
      String id, value, type;
      TRect ctrl;
      HitHtml(ACol, ARow, rc, t, X, Y, anchor, id, value, type, ctrl);
      if (!id.empty()) anchor.clear();
    }
    if (URLUnderlineOnHover() && kind == 1) {
      if (!(FHoverCell == TPoint(ACol, ARow)) || !anchor.empty() != (FHoverLink != -1)) {
        if (FHoverCell.X != -1) RepaintCell(FHoverCell.X, FHoverCell.Y);
        FHoverCell = TPoint(ACol, ARow);
        FHoverLink = anchor.empty() ? -1 : 0;
        RepaintCell(ACol, ARow);
      }
    }
    if (!anchor.empty()) {
      String hint = anchor;
      if (OnAnchorHint) OnAnchorHint(this, ARow, ACol, hint);
      if (hint != FLastAnchorHint && !FLastAnchorHint.empty()) {
        FLastAnchorHint.clear();
        Application->CancelHint();
      }
      cursorSet = true;
      SetGridCursor(crHandPoint);
      if (anchor != FAnchor) {
        if (OnAnchorEnter) OnAnchorEnter(this, ARow, ACol, anchor);
        FAnchor = anchor;
      }
    } else if (!FAnchor.empty()) {
      const String left = FAnchor;
      FAnchor.clear();
      if (OnAnchorExit) OnAnchorExit(this, ARow, ACol, left);
    }
    if (kind != 1 && URLUnderlineOnHover() && FHoverLink != -1) {
      FHoverLink = -1;
      if (FHoverCell.X != -1) RepaintCell(FHoverCell.X, FHoverCell.Y);
      FHoverCell = TPoint(-1, -1);
    }
  }
  // Cursors over the fixed cells' borders and the cell's own cursor.
  if (!cursorSet && (FSizeFixed || FSizingFixed)) {
    cursorSet = true;
    SetGridCursor(crHSplit);
  } else if (!cursorSet && (FSizeFixedR || FSizingFixedR)) {
    cursorSet = true;
    SetGridCursor(crVSplit);
  } else if (!cursorSet && FCellSelectorMode) {
    cursorSet = true;
    SetGridCursor(GridCursor(8014));
  }
  // 16. The grid's own cursor goes when nothing asks for it.
  if (!cursorSet && !FMoving && Cursor() != FOldCursor) SetGridCursor(FOldCursor);
  // 17. A shown cell hint goes with the cell.
  if (FLastHintPos.X != -1 && !(FLastHintPos == TPoint(ACol, ARow))) {
    Application->CancelHint();
    FLastHintPos = TPoint(-1, -1);
  }
  // 19. The class library's move: range selection, sizing and moving.
  TBaseGrid::MouseMove(Shift, X, Y);
  // 20. A drag never scrolls sideways with KeepHorizScroll.
  if (FNavigation->KeepHorizScroll() && FMouseKeepDown && GridState() != gsColMoving &&
      LeftCol() != FOldKeepLeftCol) {
    StartUpdate();
    SetLeftCol(FOldKeepLeftCol);
    ResetUpdate();
  }
  // 21. Sizing events.
  if (GridState() == gsColSizing || FSizingFixed) {
    int n = FSizeFixedX;
    int c = 0;
    if (!FSizingFixed && Colclicked >= 0 && Rowclicked >= 0) {
      c = Colclicked;
      n = X - CellRect(Colclicked, Rowclicked).Left - Clickposdx;
    }
    if (OnColumnSizing) OnColumnSizing(this, c, n);
  }
  if (GridState() == gsRowSizing || FSizingFixedR) {
    int n = FSizeFixedY;
    int r = 0;
    if (!FSizingFixedR && Colclicked >= 0 && Rowclicked >= 0) {
      r = Rowclicked;
      n = Y - CellRect(Colclicked, Rowclicked).Top - Clickposdy;
    }
    if (OnRowSizing) OnRowSizing(this, r, n);
  }
  // 22. The sizing hint.
  if (HintShowSizing() &&
      (GridState() == gsColSizing || GridState() == gsRowSizing || FSizingFixed || FSizingFixedR))
    ShowSizingHint(X, Y);
  // 24.
  const TGridRect now = Selection();
  if (!(now == before)) SelectionChanged(now.Left, now.Top, now.Right, now.Bottom);
}

void DEreDuzeroVaro::ShowSizingHint(int X, int Y) {
  String text;
  TPoint at(0, 0);
  if (FSizingFixed) {
    text = u"cw=<b>" + IntToStr(FSizeFixedX) + u"</b>";
  } else if (FSizingFixedR) {
    text = u"rh=<b>" + IntToStr(FSizeFixedY) + u"</b>";
  } else if (GridState() == gsColSizing) {
    const int c = Colclicked, r = std::max(Rowclicked, 0);
    const int n = c >= 0 ? X - CellRect(c, r).Left - Clickposdx : 0;
    text = u"cw=<b>" + IntToStr(n) + u"</b>";
    const TRect cr = c >= 0 ? CellRect(c, r) : CellRect(ColCount() - 1, 0);
    at = TPoint(cr.Left, cr.Top);
  } else {
    const int r = Rowclicked, c = std::max(Colclicked, 0);
    const int n = r >= 0 ? Y - CellRect(c, r).Top - Clickposdy : 0;
    text = u"rh=<b>" + IntToStr(n) + u"</b>";
    const TRect cr = r >= 0 ? CellRect(c, r) : CellRect(0, RowCount() - 1);
    at = TPoint(cr.Left, cr.Top);
  }
  if (FScrollHintWnd == nullptr) FScrollHintWnd = new THTMLHintWindow(this);
  TRect r = FScrollHintWnd->CalcHintRect(200, text, nullptr);
  FScrollHintWnd->SetColor(HintColor());
  const TPoint p = ClientToScreen(at);
  r = TRect(p.X, p.Y, p.X + r.Width(), p.Y + r.Height());
  FScrollHintWnd->ActivateHint(r, text);
  FScrollHintShow = true;
}

// ---------------------------------------------------------------------------

void DEreDuzeroVaro::CMMouseLeave(TMessage& Message) {
  TBaseGrid::CMMouseLeave(Message);
  SetMouseSelectMode(msNormal);
  FSizeFixed = FSizeFixedR = false;
  if (!FNoMouseLeave && HoverFixedCells() != hfNone && (FHoverFixedCell.X != -1 || FHoverFixedCell.Y != -1)) {
    const TPoint old = FHoverFixedCell;
    FHoverFixedCell = TPoint(-1, -1);
    if (old.X >= 0 && old.Y >= 0) RepaintCell(old.X, old.Y);
  }
  if (Look() == glListView && FHotFixedCell.X >= 0 && FHotFixedCell.Y >= 0 &&
      (FHotFixedCell.X < FixedCols() || FHotFixedCell.Y < TCustomGrid::FixedRows()))
    RepaintCell(FHotFixedCell.X, FHotFixedCell.Y);
  if (HoverRow() && HoverRowIdx() != -1) {
    const int old = HoverRowIdx();
    SetHoverRowIdx(-1);
    if (old < RowCount()) RepaintRow(old);
  }
  if (FHoverButton.X != -1) {
    RepaintCell(FHoverButton.X, FHoverButton.Y);
    FHoverButton = TPoint(-1, -1);
  }
  if (!FAnchor.empty()) {
    const String left = FAnchor;
    FAnchor.clear();
    if (OnAnchorExit) OnAnchorExit(this, -1, -1, left);
  }
  if (!FMoving && !wheelpan && Cursor() != FOldCursor) SetGridCursor(FOldCursor);
}

// ---------------------------------------------------------------------------
// Cell hints

void DEreDuzeroVaro::CMHintShow(TMessage& Message) {
  auto* info = reinterpret_cast<THintInfo*>(Message.LParam);
  if (info == nullptr) {
    TBaseGrid::CMHintShow(Message);
    return;
  }
  bool canShow = true;
  String hint = info->HintStr;
  ShowCellHint(hint, canShow, *info);
  info->HintStr = hint;
  Message.Result = canShow ? 0 : 1;
}

void DEreDuzeroVaro::ShowCellHint(String& HintStr, bool& CanShow, THintInfo& HintInfo) {
  int ACol = -1, ARow = -1;
  MouseToCell(HintInfo.CursorPos.X, HintInfo.CursorPos.Y, ACol, ARow);
  HintFontName = Font()->Name();
  if (ACol < 0 || ARow < 0) return;
  FLastHintPos = TPoint(ACol, ARow);
  const TRect r = CellRect(ACol, ARow);
  const int rc = DisplToRealCol(ACol);
  TPoint pos(HintInfo.CursorPos.X, r.Bottom + 6);
  String comment;
  if (IsComment(rc, ARow, comment)) {
    HintStr = comment;
    pos = TPoint(r.Right, r.Top);
  }
  const String text = Cells(rc, ARow);
  const uint8_t kind = ClassifyCellText(text, EnableHTML());
  if (kind == 1 && AnchorHint()) {
    String anchor, id, value, type;
    TRect ctrl;
    if (HitHtml(ACol, ARow, rc, text, HintInfo.CursorPos.X, HintInfo.CursorPos.Y, anchor, id, value, type, ctrl)) {
      String h = anchor;
      if (OnAnchorHint) OnAnchorHint(this, ARow, rc, h);
      FLastAnchorHint = h;
      HintStr = h;
      pos = TPoint(HintInfo.CursorPos.X + 8, HintInfo.CursorPos.Y - 16);
    }
  }
  const bool normal = ACol >= FixedCols() && ACol < ColCount() - FixedRightCols() &&
                      ARow >= TCustomGrid::FixedRows() && ARow < RowCount() - FixedFooters();
  auto shown = [&](bool raw) {
    if (kind == 5) return UnpackWideText(text);
    if (raw || HTMLHint() || kind != 1) return text;
    return HtmlToPlainText(text);
  };
  if (HintShowCells() && normal) {
    pos.Y = r.Top;
    HintStr = shown(false);
  }
  if (HintShowLargeText()) {
    TPoint size;
    GetCellTextSize(ACol, ARow, size, false, false);
    if (size.X > r.Width() || size.Y > r.Height()) {
      pos.Y = r.Top;
      HintStr = shown(false);
    }
  }
  String wide;
  GridHint(ACol, ARow, HintStr, wide);
  if (!wide.empty()) HintStr = wide;
  HintInfo.HintPos = ClientToScreen(pos);
  CanShow = !HintStr.empty();
}

// ---------------------------------------------------------------------------
// Moving columns and rows

int DEreDuzeroVaro::MovedColumnIndex(int Index, int From, int To) {
  // A column between the two shifts by one towards where the moved one came from.
  if (Index == From) return To;
  if (From < To && Index > From && Index <= To) return Index - 1;
  if (To < From && Index >= To && Index < From) return Index + 1;
  return Index;
}

void DEreDuzeroVaro::ColumnMoved(int FromIndex, int ToIndex) {
  const int rFrom = DisplToRealCol(FromIndex), rTo = DisplToRealCol(ToIndex);
  // The column order follows.
  if (rFrom < FColumnOrder->Count() && rTo < FColumnOrder->Count()) {
    const int v = FColumnOrder->Items(rFrom);
    FColumnOrder->Delete(rFrom);
    FColumnOrder->Insert(rTo, v);
  }
  // A release that moved a column does not sort.
  ColMoveFlg = true;
  TBaseGrid::ColumnMoved(FromIndex, ToIndex);
  // The hidden rows' cells (texts and records) move the same way.
  EditHiddenColumns([&](std::vector<TCell>& Cells) {
    if (rFrom < 0 || rTo < 0 || static_cast<size_t>(std::max(rFrom, rTo)) >= Cells.size()) return;
    if (rFrom < rTo) std::rotate(Cells.begin() + rFrom, Cells.begin() + rFrom + 1, Cells.begin() + rTo + 1);
    else std::rotate(Cells.begin() + rTo, Cells.begin() + rFrom, Cells.begin() + rFrom + 1);
  });
  // The sort column and the sort indexes stay on their columns.
  TSortSettings* s = SortSettings();
  if (s->Column() >= 0) s->SetColumn(MovedColumnIndex(s->Column(), rFrom, rTo));
  for (int i = 0; i < FSortIndexes->Count(); ++i) {
    const uint32_t e = static_cast<uint32_t>(FSortIndexes->Items(i));
    const int c = static_cast<int>(e & 0xFFFF);
    FSortIndexes->SetItems(i, static_cast<int>((e & ~0xFFFFu) | static_cast<uint32_t>(MovedColumnIndex(c, rFrom, rTo))));
  }
  // The synchronised grid moves the same column, once.
  if (auto* other = dynamic_cast<DEreDuzeroVaro*>(FSyncGrid->Grid());
      other != nullptr && FSyncGrid->MoveColumn() && !FSyncedMove && !other->FSyncedMove &&
      FromIndex < other->ColCount() && ToIndex < other->ColCount()) {
    FSyncedMove = true;
    other->FSyncedMove = true;
    TScopeGuard done([&] {
      FSyncedMove = false;
      other->FSyncedMove = false;
    });
    other->MoveColumn(FromIndex, ToIndex);
  }
}

void DEreDuzeroVaro::RowMoved(int FromIndex, int ToIndex) {
  TMovedEvent moved = OnRowMoved;
  OnRowMoved = nullptr;
  {
    TScopeGuard back([&] { OnRowMoved = moved; });
    TBaseGrid::RowMoved(FromIndex, ToIndex);
  }
  ColMoveFlg = true;
  if (OnRowMoved) OnRowMoved(this, FromIndex, ToIndex);
  if (auto* other = dynamic_cast<DEreDuzeroVaro*>(FSyncGrid->Grid());
      other != nullptr && FSyncGrid->MoveRow() && !FSyncedMove && !other->FSyncedMove &&
      FromIndex < other->RowCount() && ToIndex < other->RowCount()) {
    FSyncedMove = true;
    other->FSyncedMove = true;
    TScopeGuard done([&] {
      FSyncedMove = false;
      other->FSyncedMove = false;
    });
    other->MoveRow(FromIndex, ToIndex);
  }
}

void DEreDuzeroVaro::MoveFeedback(int X, int Y, int ACol, int ARow) {
  const bool cols = GridState() == gsColMoving;
  bool allow = true;
  if (cols && OnColumnMove) OnColumnMove(this, Movecell, allow);
  if (!cols && OnRowMove) OnRowMove(this, Movecell, allow);
  if (!allow) {
    FGridState = gsNormal;
    FMoving = false;
    SetGridCursor(FOldCursor);
    for (TArrowWindow* a : FArrows)
      if (a != nullptr) a->SetVisible(false);
    EndMovePicture();
    return;
  }
  if (!EnhRowColMove() || RowCount() <= 1 || (X == Clickposx && Y == Clickposy) || FSizingFixed) return;
  if (!FMoving) {
    FMoving = true;
    StartBlockFocus();
  }
  allow = true;
  // The markers stand at the target: above and below its header, or left and right of its row.
  if (cols && ACol >= 0) {
    const int target = std::max(ACol, FixedCols());
    const TRect r = CellRect(target, 0);
    const bool visible = target >= FixedCols() && r.Right > r.Left;
    const int x = target <= Movecell ? r.Left - 5 : r.Right - 5;
    const TPoint top = ClientToScreen(TPoint(x, r.Top - 8)), bottom = ClientToScreen(TPoint(x, r.Bottom));
    if (FArrows[arrDown] != nullptr) {
      FArrows[arrDown]->SetBounds(top.X, top.Y, FArrows[arrDown]->Width(), FArrows[arrDown]->Height());
      FArrows[arrDown]->SetVisible(visible && target != Movecell);
    }
    if (FArrows[arrUp] != nullptr) {
      FArrows[arrUp]->SetBounds(bottom.X, bottom.Y, FArrows[arrUp]->Width(), FArrows[arrUp]->Height());
      FArrows[arrUp]->SetVisible(visible && target != Movecell);
    }
    FMoveColInd = target;
    FMoveRowInd = 0;
    if (OnColumnMoving) OnColumnMoving(this, FMoveColInd, allow);
    // Automatic scrolling at the sides.
    int fixedWidth = 0;
    for (int i = 0; i < FixedCols(); ++i) fixedWidth += ColWidths(i);
    if (X < fixedWidth && LeftCol() > FixedCols()) SetLeftCol(LeftCol() - 1);
    if (X > Width() && LeftCol() + VisibleColCount() < ColCount()) SetLeftCol(LeftCol() + 1);
  } else if (!cols && ARow >= 0) {
    const int target = std::max(ARow, TCustomGrid::FixedRows());
    const TRect r = CellRect(0, target);
    const bool visible = target >= TCustomGrid::FixedRows() && r.Bottom > r.Top;
    const int y = target <= Movecell ? r.Top - 5 : r.Bottom - 5;
    const TPoint left = ClientToScreen(TPoint(r.Left - 10, y)), right = ClientToScreen(TPoint(r.Right, y));
    if (FArrows[arrRight] != nullptr) {
      FArrows[arrRight]->SetBounds(left.X, left.Y, FArrows[arrRight]->Width(), FArrows[arrRight]->Height());
      FArrows[arrRight]->SetVisible(visible && target != Movecell);
    }
    if (FArrows[arrLeft] != nullptr) {
      FArrows[arrLeft]->SetBounds(right.X, right.Y, FArrows[arrLeft]->Width(), FArrows[arrLeft]->Height());
      FArrows[arrLeft]->SetVisible(visible && target != Movecell);
    }
    FMoveColInd = 0;
    FMoveRowInd = target;
    if (OnRowMoving) OnRowMoving(this, FMoveRowInd, allow);
    int fixedHeight = 0;
    for (int i = 0; i < TCustomGrid::FixedRows(); ++i) fixedHeight += RowHeights(i);
    if (Y < fixedHeight && TopRow() > TCustomGrid::FixedRows()) SetTopRow(TopRow() - 1);
    if (Y > Height() && TopRow() + VisibleRowCount() < RowCount()) SetTopRow(TopRow() + 1);
  }
  FloatMovePicture(X, Y, ACol, ARow);
  FMoveDrop = allow;
  SetGridCursor(allow ? crDrag : crNoDrop);
}

bool DEreDuzeroVaro::EndEnhancedMove(int ACol, int ARow) {
  if (!FMoving) return false;
  const TGridState state = GridState();
  FMoving = false;
  for (TArrowWindow* a : FArrows)
    if (a != nullptr) a->SetVisible(false);
  EndMovePicture();
  EndBlockFocus();
  SetGridCursor(FOldCursor);
  if (!EnhRowColMove() || (state != gsColMoving && state != gsRowMoving)) return false;
  const int from = Movecell;
  if (FMoveDrop) {
    if (state == gsColMoving && from >= 0 && ACol >= FixedCols() && ACol != from && ACol < ColCount())
      MoveColumn(from, ACol);
    if (state == gsRowMoving && from >= 0 && ARow >= TCustomGrid::FixedRows() && ARow != from && ARow < RowCount())
      MoveRow(from, ARow);
  } else if (state == gsColMoving) {
    RepaintRow(0);
  } else {
    RepaintCol(0);
  }
  // The class library's release must not move again.
  FGridState = gsNormal;
  return true;
}
