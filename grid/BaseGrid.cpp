// The grid foundation: cell records, merge-aware cell access, merges and cell geometry.

#include "grid/BaseGrid.h"

#include <algorithm>
#include <mutex>
#include <unordered_set>

#include "controls/VevAzez.h"

// ---------------------------------------------------------------------------
// Cell records

TCellProperties::TCellProperties(TBaseGrid* AOwnerGrid, int ACol, int ARow)
    : FOwnerGrid(AOwnerGrid), FFontName(InternFontName(String())), FOwnerCol(ACol), FOwnerRow(ARow) {
  if (AOwnerGrid != nullptr) FWordWrap = AOwnerGrid->WordWrap();
}

TCellProperties::~TCellProperties() {
  if (FListed) FOwnerGrid->UnlinkRecord(this);
}

const String* TCellProperties::InternFontName(const String& Name) {
  // Never emptied: records of grids that live until the process ends point into it.
  static auto* names = new std::unordered_set<String>();
  static std::mutex lock;
  std::lock_guard<std::mutex> hold(lock);
  return &*names->insert(Name).first;
}

void TCellProperties::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TCellProperties*>(Source);
  if (src == nullptr) {
    TPersistent::Assign(Source);
    return;
  }
  FIsBaseCell = src->FIsBaseCell;
  FCellSpanX = src->FCellSpanX;
  FCellSpanY = src->FCellSpanY;
  FOwnerRow = src->FOwnerRow;
  FOwnerCol = src->FOwnerCol;
  SetCellObject(src->CellObject());
  FAlignment = src->FAlignment;
  SetBorderColor(src->BorderColor());
  SetBorderWidth(src->BorderWidth());
  FBrushColor = src->FBrushColor;
  SetBrushStyle(src->BrushStyle());
  FFontColor = src->FFontColor;
  FFontStyle = src->FFontStyle;
  FFontName = src->FFontName;
  FFontSize = src->FFontSize;
  FReadOnly = src->FReadOnly;
  FEditor = src->FEditor;
  FVAlignment = src->FVAlignment;
  FWordWrap = src->FWordWrap;
  SetNodeLevel(src->NodeLevel());
  SetControl(src->Control());
}

TPoint TCellProperties::GetBaseCell(int ACol, int ARow) const {
  if (!FIsBaseCell && FCellSpanX != -1 && FCellSpanY != -1) return TPoint(ACol - FCellSpanX, ARow - FCellSpanY);
  return TPoint(ACol, ARow);
}

void TCellProperties::RepaintOwner() {
  if (FOwnerGrid != nullptr) FOwnerGrid->RepaintCell(FOwnerCol, FOwnerRow);
}

void TCellProperties::SetBrushColor(TColor Value) {
  FBrushColor = Value;
  RepaintOwner();
}

void TCellProperties::SetBrushColorTo(TColor Value) {
  SetExtra(&TExtra::BrushColorTo, Value);
  RepaintOwner();
}

void TCellProperties::SetVAlignment(TVAlignment Value) {
  FVAlignment = Value;
  RepaintOwner();
}

void TCellProperties::SetWordWrap(bool Value) {
  FWordWrap = Value;
  RepaintOwner();
}

// ---------------------------------------------------------------------------
// Construction

TBaseGrid::TBaseGrid(TComponent* AOwner) : TObjStringGrid(AOwner) {
  TCustomGrid::SetGridLineWidth(0);
  TCustomGrid::SetDefaultDrawing(false);
}

TBaseGrid::~TBaseGrid() {
  Destroying();  // a graphic set while the grid goes is ignored (SetGraphicObjectEx)
  // Every record, also those beyond the counts or detached from their slots; a graphic that
  // two cells share is freed once.
  std::unordered_set<TObject*> graphics;
  for (TCellProperties* p = FFirstRecord; p != nullptr; p = p->FNextRecord) {
    TObject* g = p->GraphicObject();
    if (g != nullptr && g->ClassName() == u"TCellGraphic") graphics.insert(g);
  }
  while (FFirstRecord != nullptr) delete FFirstRecord;
  for (TObject* g : graphics) delete g;
}

void TBaseGrid::Notification(TComponent* AComponent, TOperation Operation) {
  // The undo component is a TComponent by single inheritance: the addresses compare.
  if (Operation == opRemove && static_cast<void*>(AComponent) == static_cast<void*>(FUndoRedo)) FUndoRedo = nullptr;
  TObjStringGrid::Notification(AComponent, Operation);
}

// ---------------------------------------------------------------------------
// Look

void TBaseGrid::SetActiveRowShow(bool Value) {
  if (Value == FActiveRowShow) return;
  FActiveRowShow = Value;
  Invalidate();
}

void TBaseGrid::SetActiveRowColor(TColor Value) {
  if (Value == FActiveRowColor) return;
  FActiveRowColor = Value;
  Invalidate();
}

void TBaseGrid::SetActiveRowColorTo(TColor Value) {
  if (Value == FActiveRowColorTo) return;
  FActiveRowColorTo = Value;
  Invalidate();
}

void TBaseGrid::SetActiveRowMirrorColor(TColor Value) {
  if (Value == FActiveRowMirrorColor) return;
  FActiveRowMirrorColor = Value;
  Invalidate();
}

void TBaseGrid::SetActiveRowMirrorColorTo(TColor Value) {
  if (Value == FActiveRowMirrorColorTo) return;
  FActiveRowMirrorColorTo = Value;
  Invalidate();
}

void TBaseGrid::SetSelectionStyle(TGridSelectionStyle Value) {
  if (Value == FSelectionStyle) return;
  FSelectionStyle = Value;
  Invalidate();
}

void TBaseGrid::SetDefaultDrawing(bool Value) {
  TCustomGrid::SetDefaultDrawing(false);
  FDefaultDrawing = Value;
}

void TBaseGrid::SetGridLineWidth(int Value) {
  FGridLineWidth = std::max(0, Value);
  TCustomGrid::SetGridLineWidth(0);
  Invalidate();
}

void TBaseGrid::SetGridLineColor(TColor Value) {
  FGridLineColor = Value;
  Invalidate();
}

void TBaseGrid::SetGridFixedLineColor(TColor Value) {
  FGridFixedLineColor = Value;
  Invalidate();
}

// ---------------------------------------------------------------------------
// Cell text and objects

TCellProperties* TBaseGrid::Record(int ACol, int ARow) const {
  return dynamic_cast<TCellProperties*>(TStringGrid::Objects(ACol, ARow));
}

TCellProperties* TBaseGrid::GuardedRecord(int ACol, int ARow) const {
  if (ACol < 0 || ACol >= TotalColCount() || ARow < 0 || ARow >= RowCount()) return nullptr;
  return Record(ACol, ARow);
}

bool TBaseGrid::HasCellProperties(int ACol, int ARow) const { return GuardedRecord(ACol, ARow) != nullptr; }

String TBaseGrid::GetCellEx(int ACol, int ARow) {
  if (TCellProperties* p = Record(ACol, ARow)) {
    TPoint b = p->GetBaseCell(ACol, ARow);
    ACol = b.X;
    ARow = b.Y;
  }
  String s = TStringGrid::Cells(ACol, ARow);
  if (ARow < FNormalRowCount) GetDisplText(ACol, ARow, s);
  if (OnGetDisplWideText) {
    String w = UnpackWideText(s);
    GetDisplWideText(ACol, ARow, w);
    s = PackWideText(w);
  }
  return s;
}

void TBaseGrid::SetCellEx(int ACol, int ARow, const String& Value) {
  if (TCellProperties* p = Record(ACol, ARow)) {
    TPoint b = p->GetBaseCell(ACol, ARow);
    TStringGrid::SetCells(b.X, b.Y, Value);
    CellTextChanged(b.X, b.Y);
    if (HasParent()) RepaintCell(ACol, ARow);
  } else {
    TStringGrid::SetCells(ACol, ARow, Value);
  }
  if (FHideLastRow && ARow == RowCount() - 1) LastRowChanged();
}

void TBaseGrid::GetDisplText(int ACol, int ARow, String& Value) {
  if (OnGetDisplText) OnGetDisplText(this, ACol, ARow, Value);
}

void TBaseGrid::GetDisplWideText(int ACol, int ARow, String& Value) {
  if (OnGetDisplWideText) OnGetDisplWideText(this, ACol, ARow, Value);
}

TObject* TBaseGrid::GetObjectEx(int ACol, int ARow) const {
  TCellProperties* p = Record(ACol, ARow);
  return p != nullptr ? p->CellObject() : nullptr;
}

void TBaseGrid::SetObjectEx(int ACol, int ARow, TObject* Value) {
  bool empty = Cells(ACol, ARow).empty();
  if (empty) SetCellEx(ACol, ARow, u" ");
  GetCellProperties(ACol, ARow)->SetCellObject(Value);
  if (empty) SetCellEx(ACol, ARow, String());
}

void TCellProperties::SetGraphicObject(TObject* Value) {
  SetExtra(&TExtra::GraphicObject, Value);
  if (Value != nullptr && FOwnerGrid != nullptr) FOwnerGrid->FGraphicsHeld = true;
}

TObject* TBaseGrid::GetGraphicObjectEx(int ACol, int ARow) const {
  TCellProperties* p = Record(ACol, ARow);
  return p != nullptr ? p->GraphicObject() : nullptr;
}

void TBaseGrid::SetGraphicObjectEx(int ACol, int ARow, TObject* Value) {
  if (IsDestroying()) return;
  bool empty = Cells(ACol, ARow).empty();
  if (empty) SetCellEx(ACol, ARow, u" ");
  GetCellProperties(ACol, ARow)->SetGraphicObject(Value);
  if (empty) SetCellEx(ACol, ARow, String());
}

TCellProperties* TBaseGrid::GetCellProperties(int ACol, int ARow) {
  TCellProperties* p = Record(ACol, ARow);
  return p != nullptr ? p : MakeRecord(ACol, ARow);
}

TCellProperties* TBaseGrid::MakeRecord(int ACol, int ARow) {
  TStringGrid::Objects(ACol, ARow);  // a negative index raises before anything is made
  auto* p = new TCellProperties(this, ACol, ARow);
  AdoptRecord(p);
  FHasCellProps = true;

  TFont font;
  font.Assign(Font());
  TBrush brush;
  TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
  TAlignment hAlign = taLeftJustify;
  TVAlignment vAlign = vtaTop;
  bool wordWrap = FWordWrap;
  TCellGradientDirection direction = GradientVertical;
  GetCellDefaults(ACol, ARow, &font, &brush, colorTo, mirror, mirrorTo, hAlign, vAlign, wordWrap, direction);
  TStringGrid::SetObjects(ACol, ARow, p);

  p->FAlignment = hAlign;
  p->FVAlignment = vAlign;
  p->FWordWrap = wordWrap;
  p->SetFontName(font.Name());
  p->FFontSize = font.Size();
  p->SetFontStyle(font.Style());
  p->FFontColor = font.Color();
  p->FBrushColor = brush.Color();
  p->SetExtra(&TCellProperties::TExtra::BrushColorTo, colorTo);
  p->SetExtra(&TCellProperties::TExtra::GradientDirection, direction);
  return p;
}

void TBaseGrid::GetCellDefaults(int, int, TFont* AFont, TBrush* ABrush, TColor& ColorTo, TColor& MirrorColor,
                                TColor& MirrorColorTo, TAlignment& HAlign, TVAlignment& VAlign, bool& WordWrap,
                                TCellGradientDirection& GradientDirection) {
  AFont->Assign(Font());
  ABrush->SetColor(Color());
  ColorTo = clNone;
  MirrorColor = clNone;
  MirrorColorTo = clNone;
  HAlign = taLeftJustify;
  VAlign = vtaTop;
  WordWrap = FWordWrap;
  GradientDirection = GradientVertical;
}

void TBaseGrid::SetCellProperties(int ACol, int ARow, TCellProperties* Value) {
  TCellProperties* old = Record(ACol, ARow);
  if (Value != nullptr && !OwnsRecord(Value)) {
    // A record another grid owned changes owner.
    if (Value->FListed) Value->FOwnerGrid->UnlinkRecord(Value);
    AdoptRecord(Value);
    FHasCellProps = true;
  }
  TStringGrid::SetObjects(ACol, ARow, Value);
  if (old != nullptr && old != Value) FreeRecord(old, false);
}

void TBaseGrid::FreeRecord(TCellProperties* Props, bool Graphic) {
  if (!OwnsRecord(Props)) return;  // not the grid's: left alone
  TObject* g = Props->GraphicObject();
  if (Graphic && g != nullptr && g->ClassName() == u"TCellGraphic") delete g;
  delete Props;
}

void TBaseGrid::AdoptRecord(TCellProperties* Props) {
  Props->FOwnerGrid = this;
  if (Props->GraphicObject() != nullptr) FGraphicsHeld = true;
  Props->FListed = true;
  Props->FPrevRecord = nullptr;
  Props->FNextRecord = FFirstRecord;
  if (FFirstRecord != nullptr) FFirstRecord->FPrevRecord = Props;
  FFirstRecord = Props;
}

void TBaseGrid::UnlinkRecord(TCellProperties* Props) {
  if (Props->FPrevRecord != nullptr)
    Props->FPrevRecord->FNextRecord = Props->FNextRecord;
  else
    FFirstRecord = Props->FNextRecord;
  if (Props->FNextRecord != nullptr) Props->FNextRecord->FPrevRecord = Props->FPrevRecord;
  Props->FListed = false;
  Props->FPrevRecord = Props->FNextRecord = nullptr;
}

void TBaseGrid::FreeCellProperties(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0) return;
  TCellProperties* p = Record(ACol, ARow);
  if (p == nullptr) return;
  TStringGrid::SetObjects(ACol, ARow, nullptr);
  FreeRecord(p, false);
}

void TBaseGrid::FreeCellPropertiesRect(int ACol1, int ARow1, int ACol2, int ARow2) {
  if (!FHasCellProps) return;
  TGridRect r{std::max(0, ACol1), std::max(0, ARow1), ACol2, ARow2};
  ForEachObject(r, [this](int c, int row, TObject* obj) {
    auto* p = dynamic_cast<TCellProperties*>(obj);
    if (p == nullptr) return;
    TStringGrid::SetObjects(c, row, nullptr);
    FreeRecord(p, true);
  });
}

void TBaseGrid::ResetRow(int ARow) {
  for (int c = 0; c < ColCount(); ++c) {
    TStringGrid::SetObjects(c, ARow, nullptr);
    TStringGrid::SetCells(c, ARow, String());
  }
}

void TBaseGrid::ResetCol(int ACol) {
  for (int r = 0; r < RowCount(); ++r) {
    TStringGrid::SetObjects(ACol, r, nullptr);
    TStringGrid::SetCells(ACol, r, String());
  }
}

void TBaseGrid::ResetCell(int ACol, int ARow) {
  SetCellEx(ACol, ARow, String());
  TStringGrid::SetObjects(ACol, ARow, nullptr);
}

// ---------------------------------------------------------------------------
// Merges

void TBaseGrid::MergeCells(int ACol, int ARow, int SpanX, int SpanY) {
  if (SpanX < 1 || SpanY < 1 || ACol < 0 || ARow < 0) return;
  // Only the part inside the grid is merged: records outside it would never be freed by
  // the rectangle operations nor be seen by the merge queries.
  int lastCol = std::min<int64_t>(int64_t(ACol) + SpanX, TotalColCount()) - 1;
  int lastRow = std::min<int64_t>(int64_t(ARow) + SpanY, RowCount()) - 1;
  if (lastCol < ACol || lastRow < ARow) return;
  for (int i = ACol; i <= lastCol; ++i)
    for (int j = ARow; j <= lastRow; ++j) {
      TCellProperties* p = GetCellProperties(i, j);
      p->FIsBaseCell = i == ACol && j == ARow;
      if (p->FIsBaseCell) {
        p->FCellSpanX = lastCol - ACol;
        p->FCellSpanY = lastRow - ARow;
      } else {
        p->FCellSpanX = i - ACol;
        p->FCellSpanY = j - ARow;
      }
    }
  for (int i = ACol; i <= lastCol; ++i)
    for (int j = ARow; j <= lastRow; ++j) RepaintCell(i, j);
}

void TBaseGrid::SplitCells(int ACol, int ARow) {
  TCellProperties* p = GetCellProperties(ACol, ARow);
  TPoint b = p->GetBaseCell(ACol, ARow);
  TCellProperties* bp = Record(b.X, b.Y);
  int sx = bp != nullptr ? std::max(0, bp->FCellSpanX) : 0;
  int sy = bp != nullptr ? std::max(0, bp->FCellSpanY) : 0;
  for (int i = b.X; i <= b.X + sx; ++i)
    for (int j = b.Y; j <= b.Y + sy; ++j)
      if (TCellProperties* c = Record(i, j)) {
        c->FIsBaseCell = true;
        c->FCellSpanX = -1;
        c->FCellSpanY = -1;
      }
  for (int i = b.X; i <= b.X + sx; ++i)
    for (int j = b.Y; j <= b.Y + sy; ++j) RepaintCell(i, j);
}

TPoint TBaseGrid::BaseCell(int ACol, int ARow) const {
  TCellProperties* p = GuardedRecord(ACol, ARow);
  return p != nullptr ? p->GetBaseCell(ACol, ARow) : TPoint(ACol, ARow);
}

bool TBaseGrid::IsBaseCell(int ACol, int ARow) const {
  TCellProperties* p = GuardedRecord(ACol, ARow);
  return p == nullptr || p->IsBaseCell();
}

bool TBaseGrid::FindBaseCell(int ACol, int ARow, int& BCol, int& BRow) const {
  BCol = ACol;
  BRow = ARow;
  TCellProperties* p = GuardedRecord(ACol, ARow);
  if (p == nullptr || p->IsBaseCell()) return true;
  TPoint b = p->GetBaseCell(ACol, ARow);
  BCol = b.X;
  BRow = b.Y;
  return false;
}

TPoint TBaseGrid::CellSpan(int ACol, int ARow) const {
  TCellProperties* p = GuardedRecord(ACol, ARow);
  if (p == nullptr || p->CellSpanX() == -1 || p->CellSpanY() == -1) return TPoint(0, 0);
  TPoint b = p->GetBaseCell(ACol, ARow);
  TCellProperties* bp = GuardedRecord(b.X, b.Y);
  if (bp == nullptr) return TPoint(0, 0);
  return TPoint(std::max(0, bp->CellSpanX()), std::max(0, bp->CellSpanY()));
}

TPoint TBaseGrid::CellExt(int ACol, int ARow) const {
  TPoint s = CellSpan(ACol, ARow);
  if (s.X == 0 && s.Y == 0) return TPoint(0, 0);
  TPoint b = BaseCell(ACol, ARow);
  return TPoint(b.X + s.X - ACol, b.Y + s.Y - ARow);
}

TRect TBaseGrid::FullCell(int ACol, int ARow) const {
  TPoint b = BaseCell(ACol, ARow);
  TPoint s = CellSpan(ACol, ARow);
  return TRect(b.X, b.Y, b.X + s.X, b.Y + s.Y);
}

bool TBaseGrid::IsMergedCell(int ACol, int ARow) const {
  TCellProperties* p = GuardedRecord(ACol, ARow);
  return p != nullptr && (p->CellSpanX() > 0 || p->CellSpanY() > 0);
}

bool TBaseGrid::IsMergedNonBaseCell(int ACol, int ARow) const {
  return IsMergedCell(ACol, ARow) && !IsBaseCell(ACol, ARow);
}

bool TBaseGrid::IsXMergedCell(int ACol, int ARow) const {
  TCellProperties* p = GuardedRecord(ACol, ARow);
  if (p == nullptr) return false;
  TPoint b = p->GetBaseCell(ACol, ARow);
  TCellProperties* bp = GuardedRecord(b.X, b.Y);
  return bp != nullptr && bp->CellSpanX() > 0;
}

bool TBaseGrid::IsYMergedCell(int ACol, int ARow) const {
  TCellProperties* p = GuardedRecord(ACol, ARow);
  if (p == nullptr) return false;
  TPoint b = p->GetBaseCell(ACol, ARow);
  TCellProperties* bp = GuardedRecord(b.X, b.Y);
  return bp != nullptr && bp->CellSpanY() > 0;
}

int TBaseGrid::MinRowSpan(int ARow) const {
  int result = RowCount();
  for (int c = 0; c < ColCount(); ++c) {
    int y = CellSpan(c, ARow).Y;
    if (y > 0 && y < result) result = y;
  }
  return result;
}

int TBaseGrid::MaxRowSpan(int ARow) const {
  int result = 0;
  for (int c = 0; c < ColCount(); ++c) result = std::max(result, CellSpan(c, ARow).Y);
  return result;
}

bool TBaseGrid::RowSpanIdentical(int ARow1, int ARow2) const {
  bool found = false;
  for (int c = 0; c < ColCount(); ++c) {
    if (CellSpan(c, ARow1).Y > 0 && CellSpan(c, ARow2).Y > 0) {
      found = true;
      if (BaseCell(c, ARow1).Y != BaseCell(c, ARow2).Y) return false;
    }
  }
  return found;
}

bool TBaseGrid::ColSpanIdentical(int ACol1, int ACol2) const {
  bool found = false;
  for (int r = 0; r < RowCount(); ++r) {
    int x1 = CellSpan(ACol1, r).X, x2 = CellSpan(ACol2, r).X;
    if (x1 > 0 && x2 > 0) {
      found = true;
      if (BaseCell(ACol1, r).X != BaseCell(ACol2, r).X) return false;
    } else if (x1 != x2) {
      return false;
    }
  }
  return found;
}

// ---------------------------------------------------------------------------
// Geometry

namespace {

// Sum of the sizes from index From up to (not including) To; negative when To < From.
template <class SizeOf>
int SpanSize(int From, int To, SizeOf Size) {
  int sum = 0;
  for (int i = From; i < To; ++i) sum += Size(i);
  for (int i = To; i < From; ++i) sum -= Size(i);
  return sum;
}

}  // namespace

TRect TBaseGrid::CalcCellRect(int ACol, int ARow) const {
  auto width = [this](int i) { return i >= 0 && i < ColCount() ? ColWidths(i) : 0; };
  auto height = [this](int i) { return i >= 0 && i < RowCount() ? RowHeights(i) : 0; };
  // Worked out left to right; a mirrored grid's rectangle is turned around at the end.
  TRect corner = TCustomGrid::CellRect(LeftCol(), TopRow());
  if (corner.Right != 0 || corner.Bottom != 0) corner = MirrorRect(corner);
  int x, y;
  if (ACol >= FixedCols()) x = corner.Left + SpanSize(LeftCol(), ACol, width);
  else x = Origin() + SpanSize(0, ACol, width);
  if (ARow >= FixedRows()) y = corner.Top + SpanSize(TopRow(), ARow, height);
  else y = Origin() + SpanSize(0, ARow, height);
  return MirrorRect(TRect(x, y, x + width(ACol), y + height(ARow)));
}

TRect TBaseGrid::CellRect(int ACol, int ARow) const {
  TCellProperties* p = GuardedRecord(ACol, ARow);
  if (p != nullptr && !(p->CellSpanX() == -1 && p->CellSpanY() == -1)) {
    TPoint b = p->GetBaseCell(ACol, ARow);
    TPoint s = CellSpan(ACol, ARow);
    TRect r1 = MirrorRect(CalcCellRect(b.X, b.Y));
    if (r1.Right == r1.Left) r1.Right = r1.Left + 1;
    TRect r2 = MirrorRect(CalcCellRect(b.X + s.X, b.Y + s.Y));
    if (r2.Right == r2.Left) r2.Left -= 1;
    return MirrorRect(TRect(std::min(r1.Left, r2.Left), std::min(r1.Top, r2.Top), std::max(r1.Right, r2.Right),
                            std::max(r1.Bottom, r2.Bottom)));
  }
  if (p != nullptr && p->Control() != nullptr) return CalcCellRect(ACol, ARow);
  TRect r = TCustomGrid::CellRect(ACol, ARow);
  int w = ACol >= 0 && ACol < ColCount() ? ColWidths(ACol) : 0;
  int h = ARow >= 0 && ARow < RowCount() ? RowHeights(ARow) : 0;
  if (GridMirrored() && (r.Right != 0 || r.Bottom != 0)) return TRect(r.Right - w, r.Top, r.Right, r.Top + h);
  return TRect(r.Left, r.Top, r.Left + w, r.Top + h);
}

TPoint TBaseGrid::CellSize(int ACol, int ARow) const {
  TRect r = IsMergedCell(ACol, ARow) ? CellRect(ACol, ARow) : CalcCellRect(ACol, ARow);
  return TPoint(r.Width(), r.Height());
}

void TBaseGrid::RepaintCell(int ACol, int ARow) {
  if (!HandleAllocated()) return;
  // An area wholly among the scrollable rows or columns out of view is not measured: its
  // rectangle costs a sum over every row or column between it and the view.
  TRect area = FullCell(ACol, ARow);
  auto outOfView = [](int first, int last, int fixed, int top, int visible) {
    return first >= fixed && (last < top || first > top + visible + 1);
  };
  if (outOfView(area.Top, area.Bottom, FixedRows(), TopRow(), VisibleRowCount()) ||
      outOfView(area.Left, area.Right, FixedCols(), LeftCol(), VisibleColCount()))
    return;
  RECT r = CellRect(ACol, ARow);
  InvalidateRect(Handle(), &r, true);
}

int TBaseGrid::FixedColsWidth() const {
  int w = 0;
  for (int i = 0; i < FixedCols(); ++i) w += ColWidths(i);
  return w;
}

int TBaseGrid::FixedRowsHeight() const {
  int h = 0;
  for (int i = 0; i < FixedRows(); ++i) h += RowHeights(i);
  return h;
}
