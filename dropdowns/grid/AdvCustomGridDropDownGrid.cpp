// The grid drop-down's grid: its set-up from the drop-down, the items written into it, opening
// and closing the pop-up, choosing in the open grid and the events forwarded from it.

#include <algorithm>

#include "dropdowns/AdvMultiColumnDropDown.h"
#include "dropdowns/grid/AdvCustomGridDropDown.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/win/Gdi.h"

namespace AdvCustomGridDropDown {

namespace {
int Len(const String& s) { return static_cast<int>(s.size()); }
TObject* ItemObject(intptr_t Item) { return reinterpret_cast<TObject*>(Item); }
}  // namespace

// ---------------------------------------------------------------------------
// The grid

TAdvColGrid::TAdvColGrid(TComponent* AOwner)
    : DEreDuzeroVaro(AOwner),
      FColumns(std::make_unique<TDropDownColumns>(this)),
      FHeaderFont(std::make_unique<TFont>()) {
  SetFixedRowAlways(true);
  SetFixedRows(1);
  SetFixedCols(0);
  TGridOptions o = Options();
  o -= goRangeSelect;
  o += goHorzLine;
  o += goRowSelect;
  SetOptions(o);
  SetBorderStyle(bsNone);
  FOldRow = Row();
}

TAdvColGrid::~TAdvColGrid() = default;

void TAdvColGrid::SetGridLineWidth(int Value) {
  FGridLineWidth = Value;
  DEreDuzeroVaro::SetGridLineWidth(Value);
  Invalidate();
}

void TAdvColGrid::SetImages(TCustomImageList* Value) {
  FImages = Value;
  if (FImages != nullptr) FImages->FreeNotification(this);
}

void TAdvColGrid::Notification(TComponent* AComponent, TOperation Operation) {
  DEreDuzeroVaro::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TAdvColGrid::SetupFromDropDown(TCustomAdvGridDropDown* DropDown) {
  if (DropDown == nullptr) return;
  FAdvDropDown = DropDown;
  FColumns->Assign(DropDown->Columns());
  if (ColCount() < FColumns->Count()) SetColCount(FColumns->Count());
  if (DropDown->UseItems()) SetRowCount(DropDown->Items()->Count() + 1);
  for (int i = 0; i < FColumns->Count() && i < ColCount(); ++i) SetColWidths(i, FColumns->Items(i)->Width());
  FLineColor = DropDown->LineColor();
  FFixedLineColor = DropDown->FixedLineColor();
  FHeaderColor = DropDown->HeaderColor();
  FHeaderColorTo = DropDown->HeaderColorTo();
  FHeaderHeight = DropDown->HeaderHeight();
  FHeaderFont->Assign(DropDown->HeaderFont());
  SetHoverRow(DropDown->HoverRow());
  SetHoverRowColor(DropDown->HoverRowColor());
  SetHoverRowColorTo(DropDown->HoverRowColorTo());
  SetImages(DropDown->Images());
  SetDefaultRowHeight(DropDown->DropDownRowHeight());
  if (RowCount() > 0) SetRowHeights(0, FHeaderHeight);
  TGridOptions o = Options();
  auto flag = [&o](bool On, TGridOption Option) {
    if (On) o += Option;
    else o -= Option;
  };
  flag(DropDown->ColumnSizing(), goColSizing);
  flag(DropDown->ColumnMoving(), goColMoving);
  flag(DropDown->RowSizing(), goRowSizing);
  flag(DropDown->RowMoving(), goRowMoving);
  SetOptions(o);
  if (DropDown->AutoSizeColumns()) AutoSizeDropDownColumns();
  UpdateRowHeights();
}

void TAdvColGrid::LoadItems() {
  if (FAdvDropDown == nullptr) return;
  TDropDownItems* items = FAdvDropDown->Items();
  const int cols = FColumns->Count();
  SetColCount(std::max(cols, 1));
  SetRowCount(items->Count() + 1);
  for (int c = 0; c < cols; ++c) {
    SetCells(c, 0, FColumns->Items(c)->Header());
  }
  SetObjects(0, 0, ItemObject(-1));
  for (int j = 0; j < items->Count(); ++j) {
    TDropDownItem* item = items->Items(j);
    for (int c = 0; c < cols; ++c) SetCells(c, j + 1, item->ColumnText(c));
    SetObjects(0, j + 1, ItemObject(j));
  }
}

int TAdvColGrid::GetNeededWidth() {
  int w = 0;  // the grid has no border of its own
  for (int c = 0; c < ColCount(); ++c) w += ColWidths(c);
  if (VisibleRowCount() + FixedRows() != RowCount()) w += GetSystemMetrics(SM_CXVSCROLL);
  return w;
}

void TAdvColGrid::AutoSizeDropDownColumns() {
  if (FAdvDropDown == nullptr || dynamic_cast<TDropDownForm*>(Parent()) == nullptr) return;
  TDropDownItems* items = FAdvDropDown->Items();
  if (!FAdvDropDown->UseItems()) return;  // grid-filled rows: the columns keep their widths
  TBitmap measure(1, 1);
  TCanvas* c = measure.Canvas();
  for (int col = 0; col < FColumns->Count() && col < ColCount(); ++col) {
    TDropDownColumn* column = FColumns->Items(col);
    if (!column->AutoSize()) continue;
    c->Font()->Assign(column->Font());
    int max = 0;
    for (int j = 0; j < items->Count(); ++j) {
      TDropDownItem* item = items->Items(j);
      int w = 0;
      if (column->ColumnType() == ctImage && item->ImageIndex() >= 0 && FImages != nullptr) w = FImages->Width() + 4;
      const String text = item->ColumnText(col);
      if (!text.empty()) w += c->TextWidth(text) + 6;
      max = std::max(max, w);
    }
    column->SetWidth(max);
    FAdvDropDown->Columns()->Items(col)->SetWidth(max);
    SetColWidths(col, max);
  }
}

void TAdvColGrid::UpdateRowHeights() {
  if (FAdvDropDown == nullptr || dynamic_cast<TDropDownForm*>(Parent()) == nullptr) return;
  bool wrapping = false;
  for (int i = 0; i < FColumns->Count(); ++i) wrapping = wrapping || FColumns->Items(i)->Wordwrap();
  if (!wrapping) return;
  TDropDownItems* items = FAdvDropDown->Items();
  TBitmap measure(1, 1);
  TCanvas* c = measure.Canvas();
  for (int r = FixedRows(); r < RowCount(); ++r) {
    // The row's item (through the mapping, so a sorted grid measures the right texts).
    const int item = FAdvDropDown->RowToItem(r);
    TDropDownItem* it = item >= 0 && item < items->Count() ? items->Items(item) : nullptr;
    int h = 24;
    for (int col = 0; col < FColumns->Count() && col < ColCount(); ++col) {
      TDropDownColumn* column = FColumns->Items(col);
      if (!column->Wordwrap()) continue;
      if (it != nullptr && column->ColumnType() == ctImage && it->ImageIndex() >= 0 && FImages != nullptr)
        h = std::max(h, FImages->Height() + 3);
      const String text = it != nullptr ? it->ColumnText(col) : Cells(col, r);
      if (text.empty()) continue;
      c->Font()->Assign(column->Font());
      RECT rc{0, 0, ColWidths(col), 500};
      DrawText(c->Handle(), text.c_str(), Len(text), &rc, DT_CALCRECT | DT_WORDBREAK);
      h = std::max(h, rc.Height() + 6);
    }
    SetRowHeights(r, h);
  }
}

void TAdvColGrid::DoSelect() {
  if (OnSelect) OnSelect(this);
}

void TAdvColGrid::KeyDown(Word& Key, TShiftState Shift) {
  if (Key == VK_RETURN) {
    Key = 0;
    DEreDuzeroVaro::KeyDown(Key, Shift);
    return;  // WMKeyDown chooses
  }
  if (Shift.Contains(ssAlt) && (Key == VK_UP || Key == VK_DOWN)) {
    // They close the pop-up through the edit and go no further.
    if (FAdvDropDown != nullptr && FAdvDropDown->HandleAllocated())
      SendMessage(FAdvDropDown->Handle(), WM_KEYDOWN, Key, 0);
    return;
  }
  FConfirmSelection = true;
  DEreDuzeroVaro::KeyDown(Key, Shift);
}

void TAdvColGrid::WMKeyDown(TWMKey& Message) {
  if (Message.CharCode() == VK_TAB) return;
  if (Message.CharCode() != VK_RETURN) {
    DEreDuzeroVaro::WMKeyDown(Message);
    return;
  }
  // Enter confirms the current row: the key goes on (the pop-up's key forwarding closes with
  // acceptance), then the choice is reported.
  FConfirmSelection = true;
  DEreDuzeroVaro::WMKeyDown(Message);
  DoSelect();
}

void TAdvColGrid::WMChar(TWMKey& Message) {
  if (Message.CharCode() == VK_RETURN) return;  // Enter chose in the key-down already
  DEreDuzeroVaro::WMChar(Message);
}

void TAdvColGrid::WMGetDlgCode(TWMGetDlgCode& Message) { Message.SetResult(DLGC_WANTARROWS | DLGC_WANTTAB); }

void TAdvColGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FConfirmSelection = true;
  FOldRow = Row();
  DEreDuzeroVaro::MouseDown(Button, Shift, X, Y);
}

void TAdvColGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  // The release that ends sizing or moving a column chooses no row.
  const bool dragging = GridState() != gsNormal && GridState() != gsSelecting;
  DEreDuzeroVaro::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft || dragging) return;
  const TGridCoord cell = MouseCoord(X, Y);
  if (cell.Y < FixedRows() || cell.Y >= RowCount() || cell.X < 0) return;
  if (HasCheckBox(RealColIndex(cell.X), cell.Y)) return;
  DoSelect();
}

void TAdvColGrid::Dispatch(TMessage& Message) {
  if (Message.Msg != WM_MOUSEWHEEL) {
    DEreDuzeroVaro::Dispatch(Message);
    return;
  }
  // A wheel turn moves the row without choosing it.
  FConfirmSelection = false;
  TScopeGuard done([this] { FMouseWheelSelection = false; });
  FMouseWheelSelection = true;
  DEreDuzeroVaro::Dispatch(Message);
}

// ---------------------------------------------------------------------------
// Opening and closing

void TCustomAdvGridDropDown::CreateDropDownForm() {
  TAdvCustomDropDown::CreateDropDownForm();
  if (DropDownForm() == nullptr || FItems == nullptr) return;
  if (FAdvColGrid == nullptr) {
    FAdvColGrid = new TAdvColGrid(this);
    FAdvColGrid->SetParent(DropDownForm());
    FFocusControl = FAdvColGrid;
  }
  FAdvColGrid->SetAdvDropDown(this);
  FAdvColGrid->SetBounds(0, 0, FAdvColGrid->Width(), 180);
  FAdvColGrid->SetColor(DropDownColor());
  FAdvColGrid->Navigation()->SetHomeEndKey(heFirstLastRow);
  if (FGridImages != nullptr) FAdvColGrid->SetGridImages(FGridImages);
}

void TCustomAdvGridDropDown::Blocked(const std::function<void()>& Body) {
  TDropDownForm* form = DropDownForm();
  const bool was = form != nullptr && form->BlockActivate();
  if (form != nullptr) form->SetBlockActivate(true);
  TScopeGuard restore([form, was] {
    if (form != nullptr) form->SetBlockActivate(was);
  });
  Body();
}

void TCustomAdvGridDropDown::ConnectGrid() {
  TAdvColGrid* g = FAdvColGrid;
  g->OnStartBlockFocus = [this](TObject*) {
    if (DropDownForm() != nullptr) DropDownForm()->SetBlockActivate(true);
  };
  g->OnEndBlockFocus = [this](TObject*) {
    if (DropDownForm() != nullptr) DropDownForm()->SetBlockActivate(false);
  };
  g->OnSelectCell = nullptr;
  g->OnSelect = [this](TObject*) { GridSelect(); };
  g->OnKeyDown = [this](TObject*, Word& Key, TShiftState) {
    if (Key == VK_RETURN) DoHideDropDown(false);
    else if (Key == VK_ESCAPE) DoHideDropDown(true);
  };
  g->OnAnchorClick = [this](TObject* S, int R, int C, const String& A, bool& H) { GridAnchorClick(S, R, C, A, H); };
  g->OnAnchorEnter = [this](TObject* S, int R, int C, const String& A) { GridAnchorEnter(S, R, C, A); };
  g->OnAnchorExit = [this](TObject* S, int R, int C, const String& A) { GridAnchorExit(S, R, C, A); };
  g->OnAnchorHint = [this](TObject* S, int R, int C, String& A) { GridAnchorHint(S, R, C, A); };
  g->OnButtonClick = [this](TObject* S, int C, int R) { Blocked([&] { GridButtonClick(S, C, R); }); };
  // A header-click sort: the item chosen before it has its row made current after it.
  g->OnCanSort = [this](TObject*, int, bool&) { FTempItemIndex = FItemIndex; };
  g->OnClickSort = [this](TObject*, int) {
    const int row = ItemToRow(FTempItemIndex);
    if (FAdvColGrid != nullptr && row >= FAdvColGrid->FixedRows()) FAdvColGrid->SetRow(row);
  };
  g->OnColumnSizing = [this](TObject* S, int C, int W) { GridColumnSizing(S, C, W); };
  g->OnEndColumnSize = [this](TObject* S, int C) { GridEndColumnSize(S, C); };
  g->OnRowSizing = [this](TObject* S, int R, int H) { GridRowSizing(S, R, H); };
  g->OnEndRowSize = [this](TObject* S, int R) { GridEndRowSize(S, R); };
  g->OnRowMove = [this](TObject* S, int R, bool& A) { GridRowMove(S, R, A); };
  g->OnRowMoving = [this](TObject* S, int R, bool& A) { GridRowMoving(S, R, A); };
  g->OnColumnMove = [this](TObject* S, int C, bool& A) { GridColumnMove(S, C, A); };
  g->OnColumnMoving = [this](TObject* S, int C, bool& A) { GridColumnMoving(S, C, A); };
  g->OnRightClickCell = [this](TObject* S, int R, int C) { GridRightClickCell(S, R, C); };
  g->OnColumnSize = [this](TObject* S, int C, bool& A) { GridColumnSize(S, C, A); };
  g->OnRowSize = [this](TObject* S, int R, bool& A) { GridRowSize(S, R, A); };
  g->OnRowMoved = [this](TObject* S, int F, int T) { GridRowMoved(S, F, T); };
  g->OnColumnMoved = [this](TObject* S, int F, int T) { GridColumnMoved(S, F, T); };
  g->OnCustomCellDraw = nullptr;
  g->OnCustomCellBkgDraw = nullptr;
  if (OnGridCustomCellDraw)
    g->OnCustomCellDraw = [this](TObject* S, TCanvas* C, int Col, int Row, TGridDrawState St, TRect R, bool P) {
      GridCustomCellDraw(S, C, Col, Row, St, R, P);
    };
  if (OnGridCustomCellBkgDraw)
    g->OnCustomCellBkgDraw = [this](TObject* S, TCanvas* C, int Col, int Row, TGridDrawState St, TRect R, bool P) {
      GridCustomCellBkgDraw(S, C, Col, Row, St, R, P);
    };
  g->OnCellBalloon = [this](TObject* S, int C, int R, String& T, String& X, TBalloonIcon& I) {
    GridCellBalloon(S, C, R, T, X, I);
  };
  g->OnGetAlignment = [this](TObject* S, int R, int C, TAlignment& H, TVAlignment& V) { GridGetAlignment(S, R, C, H, V); };
  g->OnGetCellColor = [this](TObject* S, int R, int C, TGridDrawState St, TBrush* B, TFont* F) {
    GridGetCellColor(S, R, C, St, B, F);
  };
  g->OnGetCellGradient = [this](TObject* S, int R, int C, TColor& A, TColor& B, TColor& M, TColor& N,
                                TCellGradientDirection& D) { GridGetCellGradient(S, R, C, A, B, M, N, D); };
  g->OnGetFloatFormat = [this](TObject* S, int C, int R, bool& F, String& Fmt) { GridGetFloatFormat(S, C, R, F, Fmt); };
  g->OnGetEditorType = [this](TObject* S, int C, int R, TEditorType& E) { GridGetEditorType(S, C, R, E); };
  g->OnGetEditorPropInt = [this](TObject* S, int R, int C) { GridGetEditorProp(S, R, C); };
  g->OnCanEditCell = [this](TObject* S, int R, int C, bool& E) { GridCanEditCell(S, R, C, E); };
  g->OnEllipsClick = [this](TObject* S, int C, int R, String& T) { Blocked([&] { GridEllipsClick(S, C, R, T); }); };
  g->OnGetDisplText = [this](TObject* S, int C, int R, String& V) { GridGetDiplText(S, C, R, V); };
  g->OnGetFormat = [this](TObject* S, int C, TSortStyle& St, String& P, String& X) { GridGetFormat(S, C, St, P, X); };
  g->OnGridHint = [this](TObject* S, int R, int C, String& H) { GridHint(S, R, C, H); };
  g->OnOfficeHint = [this](TObject* S, int C, int R, TAdvHintInfo* H) { GridOfficeHint(S, C, R, H); };
  g->OnMouseMove = [this](TObject* S, TShiftState Sh, int X, int Y) { GridMouseMove(S, Sh, X, Y); };
  g->OnMouseDown = [this](TObject* S, TMouseButton B, TShiftState Sh, int X, int Y) { GridMouseDown(S, B, Sh, X, Y); };
  g->OnMouseUp = [this](TObject* S, TMouseButton B, TShiftState Sh, int X, int Y) { GridMouseUp(S, B, Sh, X, Y); };
  g->OnKeyUp = [this](TObject* S, Word& K, TShiftState Sh) { GridKeyUp(S, K, Sh); };
  g->OnTopLeftChanged = [this](TObject*) { GridTopLeftChanged(this); };
  g->OnAutoAddRow = [this](TObject* S, int R) { GridAutoAddRow(S, R); };
  g->OnAutoInsertRow = [this](TObject* S, int R) { GridInsertRow(S, R); };
  g->OnAutoInsertCol = [this](TObject* S, int C) { GridInsertCol(S, C); };
  g->OnAutoDeleteRow = [this](TObject* S, int R) { GridDeleteRow(S, R); };
  g->OnCanAddRow = [this](TObject* S, bool& A) { GridCanAddRow(S, A); };
  g->OnCanInsertRow = [this](TObject* S, int R, bool& A) { GridCanInsertRow(S, R, A); };
  g->OnCanDeleteRow = [this](TObject* S, int R, bool& A) { GridCanDeleteRow(S, R, A); };
  g->OnCheckBoxClick = [this](TObject* S, int C, int R, bool St) { GridCheckBoxClick(S, C, R, St); };
}

void TCustomAdvGridDropDown::BeforeDropDown() {
  // 1. A click elsewhere keeps the value.
  if (DropDownForm() != nullptr) DropDownForm()->SetCancelOnDeActivate(false);
  if (FAdvColGrid == nullptr) {
    TAdvCustomDropDown::BeforeDropDown();
    return;
  }
  TScopeGuard filled([this] { FShowing = false; });
  FShowing = true;
  TAdvColGrid* g = FAdvColGrid;
  // 2. The grid takes over the drop-down's set-up.
  g->SetupFromDropDown(this);
  g->SetColor(DropDownColor());
  g->SortSettings()->SetShow(FSorting != gsNone);
  g->SortSettings()->SetIndexShow(FSorting == gsMultiColumn);
  FBalloonInit = false;
  // 3-5. Events.
  ConnectGrid();
  // 4. Settings.
  g->SearchFooter()->Assign(FSearchFooter.get());
  g->MouseActions()->Assign(FMouseActions.get());
  g->Navigation()->Assign(FNavigation.get());
  g->Bands()->Assign(FBands.get());
  // 6. Options.
  TGridOptions o = g->Options();
  o += goThumbTracking;
  if (FRowSelect) o += goRowSelect;
  else o -= goRowSelect;
  if (FGridEditable) o += goEditing;
  else o -= goEditing;
  g->SetOptions(o);
  g->SetGridImages(FGridImages);
  // 8. The look.
  g->SetComponentStyle(GetComponentStyle());
  // A row confirmed at an earlier opening is not taken again.
  g->SetConfirmSelection(false);
  // 9. The rows.
  if (FUseItems) {
    TAdvCustomDropDown::BeforeDropDown();
    g->RemoveAllFilters();
    g->SetRowCount(FItems->Count() + 1);
    g->SetFixedRows(1);
    g->LoadItems();
    const int row = ItemToRow(FItemIndex);
    if (row >= g->FixedRows() && row < g->RowCount()) g->SetRow(row);
  } else {
    const int found = FindPrefix(Text());
    if (found >= 0) g->SetRow(found);
    else if (g->RowCount() > g->FixedRows()) g->SetRow(g->FixedRows());
  }
  // 10. The sort the header shows.
  if (g->SortSettings()->Column() >= 0 && g->SortSettings()->Show()) {
    g->QSort();
    const int row = ItemToRow(FItemIndex);
    if (row >= g->FixedRows()) g->SetRow(row);
  }
  // 11.
  FOldItemIndex = FItemIndex;
  if (!FUseItems) TAdvCustomDropDown::BeforeDropDown();
}

void TCustomAdvGridDropDown::DoShowDropDown() {
  TAdvCustomDropDown::DoShowDropDown();
  if (FAdvColGrid == nullptr) return;
  TAdvColGrid* g = FAdvColGrid;
  if (!FUseItems)
    while (FColumns->Count() < g->ColCount()) FColumns->Add();
  if (!FDroppedDown) return;
  // The grid's select-cell handler goes in now: filling it made no choices.
  g->OnSelectCell = [this](TObject*, int, int ARow, bool&) { GridSelectCell(ARow); };
  SizeColumnsToDropDown();
  // The rows show from their first column.
  if (g->ColCount() > g->FixedCols()) {
    if (g->Col() != g->FixedCols()) g->SetCol(g->FixedCols());
    g->SetLeftCol(g->FixedCols());
  }
  const int row = g->Row();
  if (g->VisibleRowCount() + g->FixedRows() < g->RowCount()) {
    if (row >= g->TopRow() + g->VisibleRowCount() || row < g->TopRow()) g->SetTopRow(row);
  }
  FSelRow = row;
  g->SetTabStop(true);
  if (g->CanFocus()) g->SetFocus();
}

void TCustomAdvGridDropDown::PlaceDropDownControl() {
  SetControl(FAdvColGrid);
  TAdvCustomDropDown::PlaceDropDownControl();
}

void TCustomAdvGridDropDown::UpdateDropDownSize() {
  TAdvCustomDropDown::UpdateDropDownSize();
  if (!FDropDownAutoWidth || DropDownForm() == nullptr || FAdvColGrid == nullptr) return;
  const int w = FAdvColGrid->GetNeededWidth();
  FAdvColGrid->SetAlign(alNone);
  FAdvColGrid->SetWidth(w);
  DropDownForm()->SetWidth(w + 2 * DropDownBorderWidth());
  FAdvColGrid->SetAlign(alClient);
}

void TCustomAdvGridDropDown::DoHideDropDown(bool Cancel) {
  if (DropDownForm() != nullptr && DropDownForm()->Visible() && FAdvColGrid != nullptr) {
    if (Cancel) {
      SetItemIndex(FOldItemIndex);
    } else if (FAdvColGrid->ConfirmSelection()) {
      const int row = FSelRow >= FAdvColGrid->FixedRows() && FSelRow < FAdvColGrid->RowCount() ? FSelRow
                                                                                                : FAdvColGrid->Row();
      SetItemIndex(RowToItem(row));
    }
    FOldItemIndex = FItemIndex;
  }
  TAdvCustomDropDown::DoHideDropDown(Cancel);
}

void TCustomAdvGridDropDown::DropDownFormSizing() {
  TAdvCustomDropDown::DropDownFormSizing();
  SizeColumnsToDropDown();
}

void TCustomAdvGridDropDown::SizeColumnsToDropDown() {
  if (!FColumnSizeWithDropDown || FAdvColGrid == nullptr || DropDownForm() == nullptr) return;
  TAdvColGrid* g = FAdvColGrid;
  g->SetScrollBars(ssVertical);
  if (FColumns->Count() == 0) return;
  std::vector<int> designed;
  for (int i = 0; i < g->ColCount(); ++i)
    designed.push_back(i < FColumns->Count() ? FColumns->Items(i)->Width() : g->ColWidths(i));
  int avail = DropDownForm()->Width();
  if (g->VisibleRowCount() < g->RowCount() - g->FixedRows()) avail -= GetSystemMetrics(SM_CXVSCROLL);
  const std::vector<int> widths = AdvMultiColumnDropDown::FitColumnWidths(designed, avail);
  for (int i = 0; i < g->ColCount(); ++i) g->SetColWidths(i, std::max(0, widths[i]));
}

// ---------------------------------------------------------------------------
// Choosing in the open grid

void TCustomAdvGridDropDown::GridSelectCell(int ARow) {
  if (FShowing || FAdvColGrid == nullptr) return;
  FSelRow = ARow;
  if (FAdvColGrid->MouseWheelSelection()) return;
  if (ARow < FAdvColGrid->FixedRows() || ARow >= FAdvColGrid->RowCount()) return;
  SetItemIndex(RowToItem(ARow));
}

void TCustomAdvGridDropDown::GridSelect() {
  if (FAdvColGrid != nullptr && FAdvColGrid->ConfirmSelection()) {
    FSelRow = FAdvColGrid->Row();
    SetItemIndex(RowToItem(FAdvColGrid->Row()));
  }
  DoHideDropDown(false);
  if (OnSelect) OnSelect(this);
}

void TCustomAdvGridDropDown::DropDownControlKeyDown(Word& Key, TShiftState Shift) {
  const bool stays = Key == VK_PRIOR || Key == VK_NEXT || Key == VK_END || Key == VK_HOME || Key == VK_UP ||
                     Key == VK_DOWN;
  if (!stays || Shift.Contains(ssAlt)) TAdvCustomDropDown::DropDownControlKeyDown(Key, Shift);
  GridKeyDown(this, Key, Shift);
}

void TCustomAdvGridDropDown::DropDownControlKeyUp(Word& Key, TShiftState Shift) {
  const bool stays = Key == VK_PRIOR || Key == VK_NEXT || Key == VK_END || Key == VK_HOME || Key == VK_UP ||
                     Key == VK_DOWN;
  if (stays && !Shift.Contains(ssAlt)) FLookupEntry.clear();
  else TAdvCustomDropDown::DropDownControlKeyUp(Key, Shift);
  GridKeyUp(this, Key, Shift);
}

void TCustomAdvGridDropDown::DropDownControlKeyPress(Char& Key) {
  TScopeGuard fire([this, &Key] { GridKeyPress(this, Key); });
  if (FAdvColGrid == nullptr) return;
  TAdvColGrid* g = FAdvColGrid;
  const bool alt = GetKeyState(VK_MENU) < 0;
  if (((Key == u'\r' || Key == 27) && !alt) || g->Options().Contains(goEditing)) {
    FLookupEntry.clear();
    return;
  }
  const int result = LookupKey(Key);
  Key = 0;
  if (FLookupMethod == lmNarrowDown) {
    // The rows left start at the first data row; the typed entry stays.
    if (g->RowCount() > g->FixedRows()) {
      g->SetTopRow(g->FixedRows());
      g->SetRow(g->FixedRows());
      if (g->Col() != 0) g->SetCol(0);
    }
    g->Invalidate();
    return;
  }
  const int row = result < 0 ? -1 : FUseItems ? ItemToRow(result) : result;
  if (row < g->FixedRows() || row >= g->RowCount()) {
    FLookupEntry.clear();
    return;
  }
  const int selStart = FLookupSelStart;
  if (g->VisibleRowCount() + g->FixedRows() < g->RowCount()) g->SetTopRow(row);
  g->SetRow(row);
  if (g->Col() != 0) g->SetCol(0);
  g->RepaintRow(row);
  // The row's own write of the text leaves the typed part and the selected rest as the lookup left them.
  const int pre = Len(Prefix());
  const int len = Len(Text());
  if (selStart >= 0) Select(pre + selStart, len - selStart);
  else Select(pre + len, 0);
}

// ---------------------------------------------------------------------------
// Forwarding operations

void TCustomAdvGridDropDown::GridAnchorClick(TObject* Sender, int ARow, int ACol, const String& Anchor, bool& AutoHandle) {
  if (OnGridAnchorClick) Blocked([&] { OnGridAnchorClick(Sender, ARow, ACol, Anchor, AutoHandle); });
}
void TCustomAdvGridDropDown::GridAnchorEnter(TObject* Sender, int ARow, int ACol, const String& Anchor) {
  if (OnGridAnchorEnter) OnGridAnchorEnter(Sender, ARow, ACol, Anchor);
}
void TCustomAdvGridDropDown::GridAnchorExit(TObject* Sender, int ARow, int ACol, const String& Anchor) {
  if (OnGridAnchorExit) OnGridAnchorExit(Sender, ARow, ACol, Anchor);
}
void TCustomAdvGridDropDown::GridAnchorHint(TObject* Sender, int ARow, int ACol, String& Anchor) {
  if (OnGridAnchorHint) OnGridAnchorHint(Sender, ARow, ACol, Anchor);
}
void TCustomAdvGridDropDown::GridButtonClick(TObject* Sender, int ACol, int ARow) {
  if (OnGridButtonClick) OnGridButtonClick(Sender, ACol, ARow);
}
void TCustomAdvGridDropDown::GridCanSort(TObject* Sender, int ACol, bool& DoSort) {
  if (OnGridCanSort) OnGridCanSort(Sender, ACol, DoSort);
}
void TCustomAdvGridDropDown::GridClickSort(TObject* Sender, int ACol) {
  if (OnGridClickSort) OnGridClickSort(Sender, ACol);
}
void TCustomAdvGridDropDown::GridCustomCompare(TObject* Sender, const String& Str1, const String& Str2, int& Res) {
  if (OnGridCustomCompare) OnGridCustomCompare(Sender, Str1, Str2, Res);
}
void TCustomAdvGridDropDown::GridRawCompare(TObject* Sender, int ACol, int Row1, int Row2, int& Res) {
  if (OnGridRawCompare) OnGridRawCompare(Sender, ACol, Row1, Row2, Res);
}
void TCustomAdvGridDropDown::GridColumnSize(TObject* Sender, int ACol, bool& Allow) {
  if (OnGridColumnSize) OnGridColumnSize(Sender, ACol, Allow);
}
void TCustomAdvGridDropDown::GridColumnSizing(TObject* Sender, int ACol, int ColumnSize) {
  if (OnGridColumnSizing) OnGridColumnSizing(Sender, ACol, ColumnSize);
}
void TCustomAdvGridDropDown::GridEndColumnSize(TObject* Sender, int ACol) {
  if (OnGridEndColumnSize) OnGridEndColumnSize(Sender, ACol);
}
void TCustomAdvGridDropDown::GridRowSize(TObject* Sender, int ARow, bool& Allow) {
  if (OnGridRowSize) OnGridRowSize(Sender, ARow, Allow);
}
void TCustomAdvGridDropDown::GridRowSizing(TObject* Sender, int ARow, int RowSize) {
  if (OnGridRowSizing) OnGridRowSizing(Sender, ARow, RowSize);
}
void TCustomAdvGridDropDown::GridEndRowSize(TObject* Sender, int ARow) {
  if (OnGridEndRowSize) OnGridEndRowSize(Sender, ARow);
}
void TCustomAdvGridDropDown::GridRowMove(TObject* Sender, int ARow, bool& Allow) {
  if (OnGridRowMove) OnGridRowMove(Sender, ARow, Allow);
}
void TCustomAdvGridDropDown::GridRowMoving(TObject* Sender, int ARow, bool& Allow) {
  if (OnGridRowMoving) OnGridRowMoving(Sender, ARow, Allow);
}
void TCustomAdvGridDropDown::GridRowMoved(TObject* Sender, int FromIndex, int ToIndex) {
  if (OnGridRowMoved) OnGridRowMoved(Sender, FromIndex, ToIndex);
}
void TCustomAdvGridDropDown::GridColumnMove(TObject* Sender, int ACol, bool& Allow) {
  if (OnGridColumnMove) OnGridColumnMove(Sender, ACol, Allow);
}
void TCustomAdvGridDropDown::GridColumnMoving(TObject* Sender, int ACol, bool& Allow) {
  if (OnGridColumnMoving) OnGridColumnMoving(Sender, ACol, Allow);
}
void TCustomAdvGridDropDown::GridColumnMoved(TObject* Sender, int FromIndex, int ToIndex) {
  if (OnGridColumnMoved) OnGridColumnMoved(Sender, FromIndex, ToIndex);
}
void TCustomAdvGridDropDown::GridCustomCellDraw(TObject* Sender, TCanvas* Canvas, int ACol, int ARow,
                                                TGridDrawState AState, TRect ARect, bool Printing) {
  if (OnGridCustomCellDraw) OnGridCustomCellDraw(Sender, Canvas, ACol, ARow, AState, ARect, Printing);
}
void TCustomAdvGridDropDown::GridCustomCellBkgDraw(TObject* Sender, TCanvas* Canvas, int ACol, int ARow,
                                                   TGridDrawState AState, TRect ARect, bool Printing) {
  if (OnGridCustomCellBkgDraw) OnGridCustomCellBkgDraw(Sender, Canvas, ACol, ARow, AState, ARect, Printing);
}
void TCustomAdvGridDropDown::GridCellBalloon(TObject* Sender, int ACol, int ARow, String& ATitle, String& AText,
                                             TBalloonIcon& AIcon) {
  if (OnGridCellBalloon) OnGridCellBalloon(Sender, ACol, ARow, ATitle, AText, AIcon);
}
void TCustomAdvGridDropDown::GridGetAlignment(TObject* Sender, int ARow, int ACol, TAlignment& HAlign,
                                              TVAlignment& VAlign) {
  if (ACol >= 0 && ACol < FColumns->Count()) HAlign = FColumns->Items(ACol)->Alignment();
  if (OnGridGetAlignment) OnGridGetAlignment(Sender, ARow, ACol, HAlign, VAlign);
}
void TCustomAdvGridDropDown::GridGetCellColor(TObject* Sender, int ARow, int ACol, TGridDrawState AState, TBrush* ABrush,
                                              TFont* AFont) {
  // The column's colour for its data cells (the header keeps the grid's look).
  if (ACol >= 0 && ACol < FColumns->Count() && ARow >= 1 && ABrush != nullptr)
    ABrush->SetColor(FColumns->Items(ACol)->Color());
  if (OnGridGetCellColor) OnGridGetCellColor(Sender, ARow, ACol, AState, ABrush, AFont);
}
void TCustomAdvGridDropDown::GridGetCellGradient(TObject* Sender, int ARow, int ACol, TColor& Color, TColor& ColorTo,
                                                 TColor& ColorMirror, TColor& ColorMirrorTo, TCellGradientDirection& GD) {
  if (OnGridGetCellGradient) OnGridGetCellGradient(Sender, ARow, ACol, Color, ColorTo, ColorMirror, ColorMirrorTo, GD);
}
void TCustomAdvGridDropDown::GridGetFloatFormat(TObject* Sender, int ACol, int ARow, bool& IsFloat, String& FloatFormat) {
  if (OnGridGetFloatFormat) OnGridGetFloatFormat(Sender, ACol, ARow, IsFloat, FloatFormat);
}
void TCustomAdvGridDropDown::GridGetEditorType(TObject* Sender, int ACol, int ARow, TEditorType& AEditor) {
  if (OnGridGetEditorType) OnGridGetEditorType(Sender, ACol, ARow, AEditor);
}
void TCustomAdvGridDropDown::GridGetEditorProp(TObject* Sender, int ARow, int ACol) {
  if (OnGridGetEditorProp) OnGridGetEditorProp(Sender, ARow, ACol);
}
void TCustomAdvGridDropDown::GridCanEditCell(TObject* Sender, int ARow, int ACol, bool& CanEdit) {
  if (OnGridCanEditCell) OnGridCanEditCell(Sender, ARow, ACol, CanEdit);
}
void TCustomAdvGridDropDown::GridEllipsClick(TObject* Sender, int ACol, int ARow, String& S) {
  if (OnGridEllipsClick) OnGridEllipsClick(Sender, ACol, ARow, S);
}
void TCustomAdvGridDropDown::GridGetDiplText(TObject* Sender, int ACol, int ARow, String& Value) {
  if (OnGridGetDiplText) OnGridGetDiplText(Sender, ACol, ARow, Value);
}
void TCustomAdvGridDropDown::GridGetFormat(TObject* Sender, int ACol, TSortStyle& AStyle, String& APrefix,
                                           String& ASuffix) {
  if (OnGridGetFormat) OnGridGetFormat(Sender, ACol, AStyle, APrefix, ASuffix);
}
void TCustomAdvGridDropDown::GridHint(TObject* Sender, int ARow, int ACol, String& HintStr) {
  if (OnGridHint) OnGridHint(Sender, ARow, ACol, HintStr);
}
void TCustomAdvGridDropDown::GridOfficeHint(TObject* Sender, int ACol, int ARow, TAdvHintInfo* OfficeHint) {
  if (OnGridOfficeHint) OnGridOfficeHint(Sender, ACol, ARow, OfficeHint);
}
void TCustomAdvGridDropDown::GridMouseMove(TObject* Sender, TShiftState Shift, int X, int Y) {
  // The first move after opening re-arms the grid's balloons.
  if (!FBalloonInit && FAdvColGrid != nullptr) {
    FBalloonInit = true;
    if (FAdvColGrid->Balloon()->Enable()) {
      FAdvColGrid->Balloon()->SetEnable(false);
      FAdvColGrid->Balloon()->SetEnable(true);
    }
  }
  if (OnGridMouseMove) OnGridMouseMove(Sender, Shift, X, Y);
}
void TCustomAdvGridDropDown::GridMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnGridMouseDown) OnGridMouseDown(Sender, Button, Shift, X, Y);
}
void TCustomAdvGridDropDown::GridMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnGridMouseUp) OnGridMouseUp(Sender, Button, Shift, X, Y);
}
void TCustomAdvGridDropDown::GridKeyDown(TObject* Sender, Word& Key, TShiftState Shift) {
  if (OnGridKeyDown) OnGridKeyDown(Sender, Key, Shift);
}
void TCustomAdvGridDropDown::GridKeyUp(TObject* Sender, Word& Key, TShiftState Shift) {
  if (OnGridKeyUp) OnGridKeyUp(Sender, Key, Shift);
}
void TCustomAdvGridDropDown::GridKeyPress(TObject* Sender, Char& Key) {
  if (OnGridKeyPress) OnGridKeyPress(Sender, Key);
}
void TCustomAdvGridDropDown::GridRightClickCell(TObject* Sender, int ARow, int ACol) {
  if (OnGridRightClickCell) OnGridRightClickCell(Sender, ARow, ACol);
}
void TCustomAdvGridDropDown::GridScrollHint(TObject* Sender, int ARow, String& Hint) {
  if (OnGridScrollHint) OnGridScrollHint(Sender, ARow, Hint);
}
void TCustomAdvGridDropDown::GridTopLeftChanged(TObject* Sender) {
  if (OnGridTopLeftChanged) OnGridTopLeftChanged(Sender);
}
void TCustomAdvGridDropDown::GridSearchEditChange(TObject* Sender, const String& Value, bool& DefaultSearch) {
  if (OnGridSearchEditChange) OnGridSearchEditChange(Sender, Value, DefaultSearch);
}
void TCustomAdvGridDropDown::GridSpinClick(TObject* Sender, int ACol, int ARow, int AValue, bool UpDown) {
  if (OnGridSpinClick) OnGridSpinClick(Sender, ACol, ARow, AValue, UpDown);
}
void TCustomAdvGridDropDown::GridAutoAddRow(TObject* Sender, int ARow) {
  if (OnGridAutoAddRow) OnGridAutoAddRow(Sender, ARow);
}
void TCustomAdvGridDropDown::GridInsertRow(TObject* Sender, int ARow) {
  if (OnGridInsertRow) OnGridInsertRow(Sender, ARow);
}
void TCustomAdvGridDropDown::GridInsertCol(TObject* Sender, int ACol) {
  if (OnGridInsertCol) OnGridInsertCol(Sender, ACol);
}
void TCustomAdvGridDropDown::GridDeleteRow(TObject* Sender, int ARow) {
  if (OnGridDeleteRow) OnGridDeleteRow(Sender, ARow);
}
void TCustomAdvGridDropDown::GridCanAddRow(TObject* Sender, bool& CanAdd) {
  if (OnGridCanAddRow) OnGridCanAddRow(Sender, CanAdd);
}
void TCustomAdvGridDropDown::GridCanInsertRow(TObject* Sender, int ARow, bool& CanInsert) {
  if (OnGridCanInsertRow) OnGridCanInsertRow(Sender, ARow, CanInsert);
}
void TCustomAdvGridDropDown::GridCanDeleteRow(TObject* Sender, int ARow, bool& CanDelete) {
  if (OnGridCanDeleteRow) OnGridCanDeleteRow(Sender, ARow, CanDelete);
}
void TCustomAdvGridDropDown::GridCheckBoxClick(TObject* Sender, int ACol, int ARow, bool State) {
  if (OnGridCheckBoxClick) OnGridCheckBoxClick(Sender, ACol, ARow, State);
}

}  // namespace AdvCustomGridDropDown
