// The multi-column drop-down's list grid: set-up from the drop-down, measuring, painting and
// the keys and mouse that choose a row.

#include <algorithm>

#include "dropdowns/AdvMultiColumnDropDown.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/win/Gdi.h"

namespace AdvMultiColumnDropDown {

namespace {
int Len(const String& s) { return static_cast<int>(s.size()); }
}  // namespace

TAdvColGrid::TAdvColGrid(TComponent* AOwner)
    : TStringGrid(AOwner), FColumns(std::make_unique<TDropDownColumns>(this)), FHeaderFont(std::make_unique<TFont>()) {
  SetFixedCols(0);
  SetFixedRows(1);
  TGridOptions o = Options();
  o += goHorzLine;
  o += goRowSelect;
  o -= goRangeSelect;
  o -= goDrawFocusSelected;
  SetOptions(o);
  SetDefaultDrawing(false);
  // This grid draws all of its lines itself.
  TStringGrid::SetGridLineWidth(0);
  SetBorderStyle(bsNone);
  FOldRow = Row();
}

TAdvColGrid::~TAdvColGrid() = default;

void TAdvColGrid::SetGridLineWidth(int Value) {
  FGridLineWidth = Value;
  TStringGrid::SetGridLineWidth(0);
  Invalidate();
}

void TAdvColGrid::SetImages(TCustomImageList* Value) {
  FImages = Value;
  if (FImages != nullptr) FImages->FreeNotification(this);
}

void TAdvColGrid::Notification(TComponent* AComponent, TOperation Operation) {
  TStringGrid::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages && !IsDestroying()) FImages = nullptr;
}

void TAdvColGrid::SetupFromDropDown(TAdvMultiColumnDropDown* DropDown) {
  if (DropDown == nullptr) return;
  FAdvDropDown = DropDown;
  FColumns->Assign(DropDown->Columns());
  SetColCount(FColumns->Count());
  SetRowCount(DropDown->Items()->Count() + 1);
  if (RowCount() > 1) {
    SetFixedRows(1);
    SetRow(1);
    SetRowCount(DropDown->Items()->Count() + 1);
  }
  for (int i = 0; i < FColumns->Count() && i < ColCount(); ++i) SetColWidths(i, FColumns->Items(i)->Width());
  FLineColor = DropDown->LineColor();
  FFixedLineColor = DropDown->FixedLineColor();
  FHeaderColor = DropDown->HeaderColor();
  FHeaderColorTo = DropDown->HeaderColorTo();
  FHeaderHeight = DropDown->HeaderHeight();
  FHeaderFont->Assign(DropDown->HeaderFont());
  SetImages(DropDown->Images());
  SetDefaultRowHeight(DropDown->DropDownRowHeight());
  SetRowHeights(0, FHeaderHeight);
  TGridOptions o = Options();
  if (DropDown->ColumnSizing()) o += goColSizing;
  else o -= goColSizing;
  SetOptions(o);
  AutoSizeColumns();
  UpdateRowHeights();
}

int TAdvColGrid::GetNeededWidth() {
  int w = 0;  // the grid has no border of its own
  for (int c = 0; c < ColCount(); ++c) w += ColWidths(c);
  if (VisibleRowCount() + FixedRows() != RowCount()) w += GetSystemMetrics(SM_CXVSCROLL);
  return w;
}

TRect TAdvColGrid::GetCellArea(int ACol, int ARow) const {
  const TRect r = CellRect(ACol, ARow);
  return Rect(r.Left, r.Top, r.Left + ColWidths(ACol), r.Top + RowHeights(ARow));
}

String TAdvColGrid::DataText(int ACol, int ARow, int& ImageIndex) const {
  String text;
  if (FAdvDropDown == nullptr) return Cells(ACol, ARow);
  const int item = ARow - 1;
  if (item < 0 || item >= FAdvDropDown->Items()->Count()) return text;
  TDropDownItem* it = FAdvDropDown->Items()->Items(item);
  if (ACol < FColumns->Count() && FColumns->Items(ACol)->ColumnType() == ctImage) ImageIndex = it->ImageIndex();
  return it->ColumnText(ACol);
}

void TAdvColGrid::AutoSizeColumn(int Index) {
  if (Index < 0 || Index >= FColumns->Count() || !FColumns->Items(Index)->AutoSize()) return;
  if (dynamic_cast<TDropDownForm*>(Parent()) == nullptr) return;
  // Measured on a memory canvas: the window may not be shown yet.
  TBitmap measure(1, 1);
  TCanvas* c = measure.Canvas();
  c->Font()->Assign(FColumns->Items(Index)->Font());
  int imageIndex = -1;
  int max = 0;
  for (int r = 1; r < RowCount(); ++r) {
    const String text = DataText(Index, r, imageIndex);
    int w = 0;
    if (imageIndex >= 0 && FImages != nullptr) w = FImages->Width() + 4;
    if (!text.empty()) {
      RECT rc{0, 0, 1000, 500};
      DrawText(c->Handle(), text.c_str(), Len(text), &rc, DT_CALCRECT | DT_SINGLELINE);
      w += rc.Width() + 6;
    }
    max = std::max(max, w);
  }
  FColumns->Items(Index)->SetWidth(max);
  SetColWidths(Index, max);
}

void TAdvColGrid::AutoSizeColumns() {
  for (int i = 0; i < FColumns->Count(); ++i)
    if (FColumns->Items(i)->AutoSize()) AutoSizeColumn(i);
}

void TAdvColGrid::UpdateRowHeights() {
  bool wrapping = false;
  for (int i = 0; i < FColumns->Count(); ++i) wrapping = wrapping || FColumns->Items(i)->Wordwrap();
  if (!wrapping || dynamic_cast<TDropDownForm*>(Parent()) == nullptr) return;
  TBitmap measure(1, 1);
  TCanvas* c = measure.Canvas();
  for (int r = 1; r < RowCount(); ++r) {
    int h = 24;
    for (int col = 0; col < FColumns->Count() && col < ColCount(); ++col) {
      TDropDownColumn* column = FColumns->Items(col);
      if (!column->Wordwrap()) continue;
      int cellH = 0, imageIndex = -1;
      const String text = DataText(col, r, imageIndex);
      if (imageIndex >= 0 && FImages != nullptr) cellH = FImages->Height() + 6;
      if (!text.empty()) {
        c->Font()->Assign(column->Font());
        RECT rc{0, 0, ColWidths(col), 500};
        DrawText(c->Handle(), text.c_str(), Len(text), &rc, DT_CALCRECT | DT_WORDBREAK);
        cellH = std::max(cellH, rc.Height() + 6);
      }
      h = std::max(h, cellH);
    }
    SetRowHeights(r, h);
  }
}

// ---------------------------------------------------------------------------
// Painting

void TAdvColGrid::DrawLines(TCanvas* C, const TRect& R, bool Fixed) {
  int half;
  if (Fixed) {
    C->Pen()->SetColor(FFixedLineColor);
    C->Pen()->SetWidth(1);
    half = 1;
  } else {
    if (FGridLineWidth <= 0) return;
    C->Pen()->SetColor(FLineColor);
    C->Pen()->SetWidth(FGridLineWidth);
    half = (FGridLineWidth + 1) / 2;
  }
  if (Options().Contains(Fixed ? goFixedHorzLine : goHorzLine)) {
    C->MoveTo(R.Left - half + 1, R.Bottom - half);
    C->LineTo(R.Right - half + 1, R.Bottom - half);
  }
  if (Options().Contains(Fixed ? goFixedVertLine : goVertLine)) {
    const int x = R.Right - half;
    C->MoveTo(x, R.Bottom - half);
    C->LineTo(x, R.Top - half);
  }
}

void TAdvColGrid::DrawCell(int ACol, int ARow, const TRect& ARect, const TGridDrawState& AState) {
  TAdvMultiColumnDropDown* dd = FAdvDropDown;
  TCanvas* c = Canvas();
  if (dd != nullptr && dd->OnDropDownDrawItem) {
    dd->OnDropDownDrawItem(dd, ACol, ARow, c, ARect);
    return;
  }
  // Where the cell sits in the selection bar: 1 first, 2 last, 3 between, 0 the only column.
  int position = ColCount() == 1 ? 0 : ACol == 0 ? 1 : ACol == ColCount() - 1 ? 2 : 3;

  TRect r = GetCellArea(ACol, ARow);
  int imageIndex = -1;
  String text = Cells(ACol, ARow);
  TColor colour;
  TAlignment alignment = taLeftJustify;
  bool wrap = false, ellipsis = false;
  const bool defined = ACol < FColumns->Count();
  if (defined) {
    TDropDownColumn* column = FColumns->Items(ACol);
    colour = column->Color();
    alignment = column->Alignment();
    wrap = column->Wordwrap();
    ellipsis = column->Ellipsis();
    c->Font()->Assign(column->Font());
    if (dd != nullptr && ARow >= 1 && ARow - 1 < dd->Items()->Count()) {
      TDropDownItem* item = dd->Items()->Items(ARow - 1);
      if (column->ColumnType() == ctImage) imageIndex = item->ImageIndex();
      if (ACol < item->Text()->Count()) text = item->Text()->Strings(ACol);
    }
  } else {
    colour = Color();
    c->Font()->Assign(FHeaderFont.get());
  }
  if (dd != nullptr && dd->OnDropDownGetItemText) dd->OnDropDownGetItemText(dd, ACol, ARow, text);

  // Background.
  const bool fixed = AState.Contains(gdFixed);
  if (fixed) {
    text.clear();
    if (dd != nullptr && defined) {
      imageIndex = -1;
      text = FColumns->Items(ACol)->Header();
    }
    if (FHeaderColor == clNone || FHeaderColorTo == clNone) {
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(FHeaderColor == clNone ? FHeaderColorTo : FHeaderColor);
      c->FillRect(r);
    } else if (dd != nullptr) {
      dd->DrawSelectionGradient(c, FHeaderColor, FHeaderColorTo, 80, r, true);
    } else {
      DrawGradient(c, FHeaderColor, FHeaderColorTo, 80, r, false);
    }
  } else if (AState.Contains(gdSelected)) {
    if (dd != nullptr) {
      dd->DrawSelectionBackground(c, r, colour, position);
    } else {
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(clActiveCaption);
      c->FillRect(r);
    }
  } else {
    c->Pen()->SetColor(colour);
    c->Pen()->SetWidth(1);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(colour);
    c->Rectangle(r);
  }

  DrawLines(c, r, fixed);

  r = Rect(r.Left + FGridLineWidth, r.Top + FGridLineWidth, r.Right - FGridLineWidth, r.Bottom - FGridLineWidth);
  TRect textRect = r;
  TCustomImageList* images = dd != nullptr ? dd->Images() : FImages;
  if (images != nullptr && imageIndex >= 0) {
    int y = r.Top;
    if (images->Height() < r.Height()) y = r.Top + (r.Height() - images->Height()) / 2;
    images->Draw(c, r.Left + 2, y, imageIndex, true);
    textRect.Left = r.Left + images->Width() + 4;
  } else {
    textRect.Left = r.Left + 2;
  }

  if (text.empty()) return;
  c->Brush()->SetStyle(bsClear);
  SetBkMode(c->Handle(), TRANSPARENT);
  if (AState.Contains(gdSelected) && dd != nullptr) c->Font()->SetColor(dd->SelectionTextColor());
  if (fixed) c->Font()->Assign(FHeaderFont.get());
  UINT flags = DT_NOPREFIX | DT_EXPANDTABS | DT_VCENTER;
  flags |= wrap ? (DT_WORDBREAK | DT_EDITCONTROL) : DT_SINGLELINE;
  if (alignment == taRightJustify) flags |= DT_RIGHT;
  else if (alignment == taCenter) flags |= DT_CENTER;
  if (ellipsis) flags |= DT_END_ELLIPSIS;
  RECT tr = textRect;
  DrawText(c->Handle(), text.c_str(), Len(text), &tr, flags);
  c->Brush()->SetStyle(bsSolid);
}

// ---------------------------------------------------------------------------
// Keys and mouse

bool TAdvColGrid::SelectCell(int ACol, int ARow) {
  if (UseRightToLeftAlignment()) {
    const bool can = TStringGrid::SelectCell(ACol, ARow);
    Invalidate();
    return can;
  }
  InvalidateCell(Col(), Row());
  const bool can = TStringGrid::SelectCell(ACol, ARow);
  InvalidateCell(ACol, ARow);
  return can;
}

void TAdvColGrid::DoSelect() {
  if (OnSelect) OnSelect(this);
}

void TAdvColGrid::KeyDown(Word& Key, TShiftState Shift) {
  FConfirmSelection = true;
  if (Shift.Contains(ssAlt) && (Key == VK_UP || Key == VK_DOWN)) {
    // They close the list through the edit and go no further.
    if (FAdvDropDown != nullptr && FAdvDropDown->HandleAllocated())
      SendMessage(FAdvDropDown->Handle(), WM_KEYDOWN, Key, 0);
    return;
  }
  const Word key = Key;
  TStringGrid::KeyDown(Key, Shift);
  if (key == VK_RETURN) DoSelect();
}

void TAdvColGrid::WMKeyDown(TWMKey& Message) {
  if (Message.CharCode() == VK_TAB) return;
  TStringGrid::WMKeyDown(Message);
}

void TAdvColGrid::WMGetDlgCode(TWMGetDlgCode& Message) { Message.SetResult(DLGC_WANTARROWS | DLGC_WANTTAB); }

void TAdvColGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FConfirmSelection = true;
  FOldRow = Row();
  TStringGrid::MouseDown(Button, Shift, X, Y);
}

void TAdvColGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  // The release that ends dragging a column edge chooses no row.
  const bool sizing = GridState() == gsColSizing;
  TStringGrid::MouseUp(Button, Shift, X, Y);
  const TGridCoord cell = MouseCoord(X, Y);
  if (!sizing && cell.Y >= FixedRows() && cell.Y < RowCount()) DoSelect();
}

bool TAdvColGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  FConfirmSelection = false;
  TScopeGuard done([this] { FMouseWheelSelection = false; });
  FMouseWheelSelection = true;
  return TStringGrid::DoMouseWheelDown(Shift, MousePos);
}

bool TAdvColGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  FConfirmSelection = false;
  TScopeGuard done([this] { FMouseWheelSelection = false; });
  FMouseWheelSelection = true;
  return TStringGrid::DoMouseWheelUp(Shift, MousePos);
}

}  // namespace AdvMultiColumnDropDown
