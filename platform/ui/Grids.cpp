#include "platform/ui/Grids.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <algorithm>

#include "platform/ui/Controls_p.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/StdCtrls_p.h"
#include "platform/ui/Timers.h"
#include "platform/win/FlatSB_p.h"
#include "platform/win/WinUser_p.h"

namespace {


// The grid's own scroll bars: they never take the focus from the grid.
class TGridScrollBar : public TScrollBar {
public:
  explicit TGridScrollBar(TScrollBarKind AKind) : TScrollBar(nullptr) {
    SetKind(AKind);
    SetTabStop(false);
  }

protected:
  void CreateWnd() override {
    TScrollBar::CreateWnd();
    TControlHost::Widget(this)->setFocusPolicy(Qt::NoFocus);
  }
};

TGridRect Normalized(TGridCoord a, TGridCoord b) {
  return {std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y)};
}

bool InRect(const TGridRect& r, int c, int row) { return c >= r.Left && c <= r.Right && row >= r.Top && row <= r.Bottom; }

}  // namespace

int GridMovedIndex(int Index, int From, int To) {
  if (Index == From) return To;
  if (From < To && Index > From && Index <= To) return Index - 1;
  if (From > To && Index >= To && Index < From) return Index + 1;
  return Index;
}

// ---------------------------------------------------------------------------
// Construction and counts

TCustomGrid::TCustomGrid(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle(TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks, csClickEvents});
  FFixedColor = clBtnFace;
  SetColor(clWindow);
  SetParentColor(false);
  SetTabStop(true);
  FColWidths.assign(5, FDefaultColWidth);
  FRowHeights.assign(5, FDefaultRowHeight);
  SetBounds(Left(), Top(), 320, 120);
}

TCustomGrid::~TCustomGrid() = default;

void TCustomGrid::SetColCount(int Value) {
  Value = std::max(1, Value);
  int old = ColCount();
  if (Value == old) return;
  if (Value <= FFixedCols) FFixedCols = Value - 1;
  FColWidths.resize(Value, FDefaultColWidth);
  ClampCurrent();
  UpdateScrollBars();
  SizeChanged(old, RowCount());
  Invalidate();
}

void TCustomGrid::SetRowCount(int Value) {
  Value = std::max(1, Value);
  int old = RowCount();
  if (Value == old) return;
  if (Value <= FFixedRows) FFixedRows = Value - 1;
  FRowHeights.resize(Value, FDefaultRowHeight);
  ClampCurrent();
  UpdateScrollBars();
  SizeChanged(ColCount(), old);
  Invalidate();
}

void TCustomGrid::SetFixedCols(int Value) {
  if (Value < 0 || Value >= ColCount()) throw EInvalidGridOperation(u"Fixed column count must be less than column count");
  if (Value == FFixedCols) return;
  FFixedCols = Value;
  ClampCurrent();
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::SetFixedRows(int Value) {
  if (Value < 0 || Value >= RowCount()) throw EInvalidGridOperation(u"Fixed row count must be less than row count");
  if (Value == FFixedRows) return;
  FFixedRows = Value;
  ClampCurrent();
  UpdateScrollBars();
  Invalidate();
}

// Keeps the current cell, the anchor and the top-left cell on scrollable cells.
void TCustomGrid::ClampCurrent() {
  auto clamp = [this](TGridCoord& p) {
    p.X = std::clamp(p.X, FFixedCols, ColCount() - 1);
    p.Y = std::clamp(p.Y, FFixedRows, RowCount() - 1);
  };
  clamp(FCurrent);
  clamp(FAnchor);
  FTopLeft.X = std::clamp(FTopLeft.X, FFixedCols, MaxLeftCol());
  FTopLeft.Y = std::clamp(FTopLeft.Y, FFixedRows, MaxTopRow());
}

// ---------------------------------------------------------------------------
// Sizes

void TCustomGrid::SetDefaultColWidth(int Value) {
  if (Value < 0) throw EInvalidGridOperation(u"Grid size must not be negative");
  FDefaultColWidth = Value;
  std::fill(FColWidths.begin(), FColWidths.end(), Value);
  ColWidthsChanged();
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::SetDefaultRowHeight(int Value) {
  if (Value < 0) throw EInvalidGridOperation(u"Grid size must not be negative");
  FDefaultRowHeight = Value;
  std::fill(FRowHeights.begin(), FRowHeights.end(), Value);
  RowHeightsChanged();
  UpdateScrollBars();
  Invalidate();
}

int TCustomGrid::ColWidths(int Index) const {
  if (Index < 0 || Index >= ColCount()) throw EInvalidGridOperation(u"Grid index out of range");
  return FColWidths[Index];
}

int TCustomGrid::RowHeights(int Index) const {
  if (Index < 0 || Index >= RowCount()) throw EInvalidGridOperation(u"Grid index out of range");
  return FRowHeights[Index];
}

void TCustomGrid::SetColWidths(int Index, int Value) {
  if (ColWidths(Index) == Value) return;
  if (Value < 0) throw EInvalidGridOperation(u"Grid size must not be negative");
  FColWidths[Index] = Value;
  ColWidthsChanged();
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::SetRowHeights(int Index, int Value) {
  if (RowHeights(Index) == Value) return;
  if (Value < 0) throw EInvalidGridOperation(u"Grid size must not be negative");
  FRowHeights[Index] = Value;
  RowHeightsChanged();
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::SetGridLineWidth(int Value) {
  if (Value < 0) throw EInvalidGridOperation(u"Grid line width must not be negative");
  if (Value == FGridLineWidth) return;
  FGridLineWidth = Value;
  UpdateScrollBars();
  Invalidate();
}

int TCustomGrid::GridWidth() const {
  int w = 0;
  for (int s : FColWidths) w += s + FGridLineWidth;
  return w;
}

int TCustomGrid::GridHeight() const {
  int h = 0;
  for (int s : FRowHeights) h += s + FGridLineWidth;
  return h;
}

// ---------------------------------------------------------------------------
// Moving and deleting columns and rows

void TCustomGrid::AdjustAfterMove(bool Cols, const std::function<int(int)>& NewIndex) {
  for (TGridCoord* p : {&FCurrent, &FAnchor}) {
    int& i = Cols ? p->X : p->Y;
    i = NewIndex(i);
  }
  ClampCurrent();
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::MoveItem(bool Cols, int From, int To) {
  std::vector<int>& sizes = Cols ? FColWidths : FRowHeights;
  int n = static_cast<int>(sizes.size());
  if (From < 0 || From >= n || To < 0 || To >= n) throw EInvalidGridOperation(u"Grid index out of range");
  if (From == To) return;
  HideEditor();
  int size = sizes[From];
  sizes.erase(sizes.begin() + From);
  sizes.insert(sizes.begin() + To, size);
  AdjustAfterMove(Cols, [&](int i) { return GridMovedIndex(i, From, To); });
  if (Cols) ColumnMoved(From, To);
  else RowMoved(From, To);
}

void TCustomGrid::MoveColumn(int FromIndex, int ToIndex) { MoveItem(true, FromIndex, ToIndex); }
void TCustomGrid::MoveRow(int FromIndex, int ToIndex) { MoveItem(false, FromIndex, ToIndex); }

void TCustomGrid::ColumnMoved(int FromIndex, int ToIndex) {
  if (OnColumnMoved) OnColumnMoved(this, FromIndex, ToIndex);
}

void TCustomGrid::RowMoved(int FromIndex, int ToIndex) {
  if (OnRowMoved) OnRowMoved(this, FromIndex, ToIndex);
}

void TCustomGrid::DeleteItem(bool Cols, int Index) {
  std::vector<int>& sizes = Cols ? FColWidths : FRowHeights;
  int& fixed = Cols ? FFixedCols : FFixedRows;
  int old = static_cast<int>(sizes.size());
  if (Index < 0 || Index >= old || old == 1) throw EInvalidGridOperation(u"Grid index out of range");
  HideEditor();
  sizes.erase(sizes.begin() + Index);
  if (Index < fixed || fixed >= old - 1) --fixed;
  AdjustAfterMove(Cols, [&](int i) { return i > Index ? i - 1 : i; });
  if (Cols) SizeChanged(old, RowCount());
  else SizeChanged(ColCount(), old);
}

void TCustomGrid::DeleteColumn(int ACol) { DeleteItem(true, ACol); }

void TCustomGrid::InsertRowsAt(int ARow, int Count) {
  int old = RowCount();
  if (ARow < 0 || ARow > old || Count < 0) throw EInvalidGridOperation(u"Grid index out of range");
  if (Count == 0) return;
  HideEditor();
  FRowHeights.insert(FRowHeights.begin() + ARow, Count, FDefaultRowHeight);
  RowsShifted(ARow, Count, old);
  AdjustAfterMove(false, [&](int i) { return i >= ARow ? i + Count : i; });
  SizeChanged(ColCount(), old);
}

void TCustomGrid::DeleteRowsAt(int ARow, int Count) {
  int old = RowCount();
  if (ARow < 0 || Count < 0 || Count > old - ARow || (Count > 0 && Count >= old))
    throw EInvalidGridOperation(u"Grid index out of range");
  if (Count == 0) return;
  HideEditor();
  FRowHeights.erase(FRowHeights.begin() + ARow, FRowHeights.begin() + ARow + Count);
  FFixedRows -= std::clamp(FFixedRows - ARow, 0, Count);
  if (FFixedRows >= RowCount()) FFixedRows = RowCount() - 1;
  RowsShifted(ARow, -Count, old);
  AdjustAfterMove(false, [&](int i) { return i >= ARow + Count ? i - Count : std::min(i, ARow); });
  SizeChanged(ColCount(), old);
}
void TCustomGrid::DeleteRow(int ARow) { DeleteItem(false, ARow); }

void TCustomGrid::PermuteRows(int Start, const std::vector<int>& Order) {
  const int n = static_cast<int>(Order.size());
  if (n == 0) return;
  if (Start < 0 || n > RowCount() - Start) throw EInvalidGridOperation(u"Grid index out of range");
  std::vector<bool> seen(static_cast<size_t>(n));
  bool moves = false;
  for (int k = 0; k < n; ++k) {
    const int from = Order[static_cast<size_t>(k)] - Start;
    if (from < 0 || from >= n || seen[static_cast<size_t>(from)])
      throw EInvalidGridOperation(u"Grid row order is no permutation");
    seen[static_cast<size_t>(from)] = true;
    moves = moves || from != k;
  }
  if (!moves) return;
  const std::vector<int> heights(FRowHeights.begin() + Start, FRowHeights.begin() + Start + n);
  bool sized = false;
  for (int k = 0; k < n; ++k) {
    const int h = heights[static_cast<size_t>(Order[static_cast<size_t>(k)] - Start)];
    sized = sized || h != FRowHeights[static_cast<size_t>(Start + k)];
    FRowHeights[static_cast<size_t>(Start + k)] = h;
  }
  RowsPermuted(Start, Order);
  if (sized) {
    RowHeightsChanged();
    UpdateScrollBars();
  }
  Invalidate();
}

// ---------------------------------------------------------------------------
// Options and look

void TCustomGrid::SetOptions(const TGridOptions& Value) {
  if (Value == FOptions) return;
  FOptions = Value;
  if (!FOptions.Contains(goEditing) || FOptions.Contains(goRowSelect)) HideEditor();
  Invalidate();
}

void TCustomGrid::SetDefaultDrawing(bool Value) {
  if (Value == FDefaultDrawing) return;
  FDefaultDrawing = Value;
  Invalidate();
}

void TCustomGrid::SetFixedColor(TColor Value) {
  if (Value == FFixedColor) return;
  FFixedColor = Value;
  Invalidate();
}

void TCustomGrid::SetBorderStyle(TBorderStyle Value) {
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  UpdateScrollBars();
  Invalidate();
}

void TCustomGrid::SetCtl3D(bool Value) {
  if (Value == FCtl3D) return;
  FCtl3D = Value;
  UpdateScrollBars();
  if (FEditorMode && FInplaceEdit != nullptr) FInplaceEdit->BoundsChanged();
  Invalidate();
}

void TCustomGrid::SetScrollBars(TScrollStyle Value) {
  if (Value == FScrollBars) return;
  FScrollBars = Value;
  UpdateScrollBars();
  Invalidate();
}

TScrollBar* TCustomGrid::HorzScrollBar() const { return FHorzShown ? FHorzBar.get() : nullptr; }
TScrollBar* TCustomGrid::VertScrollBar() const { return FVertShown ? FVertBar.get() : nullptr; }

// ---------------------------------------------------------------------------
// Geometry

// bsSingle: a 2-pixel sunken edge with Ctl3D, else a 1-pixel frame.
int TCustomGrid::Origin() const { return FBorderStyle != bsSingle ? 0 : FCtl3D ? 2 : 1; }

TRect TCustomGrid::ClientRect() const {
  int bar = FBarSize;
  return Rect(0, 0, std::max(0, FWidth - (FVertShown ? bar : 0)), std::max(0, FHeight - (FHorzShown ? bar : 0)));
}

TCustomGrid::TAxis TCustomGrid::ColAxis() const {
  return {&FColWidths, FFixedCols, FTopLeft.X, ClientWidth() - Origin(), FGridLineWidth};
}

TCustomGrid::TAxis TCustomGrid::RowAxis() const {
  return {&FRowHeights, FFixedRows, FTopLeft.Y, ClientHeight() - Origin(), FGridLineWidth};
}

namespace {

// Where index i starts on screen along an axis, -1 when it is not shown.
int AxisPos(int Start, int Fixed, int First, int Extent, int Line, const std::vector<int>& Sizes, int i) {
  int x = Start;
  int n = static_cast<int>(Sizes.size());
  if (i < 0 || i >= n) return -1;
  if (i >= Fixed) {
    for (int k = 0; k < Fixed; ++k) x += Sizes[k] + Line;
    if (i < First) return -1;
    for (int k = First; k < i && x < Extent; ++k) x += Sizes[k] + Line;
  } else {
    for (int k = 0; k < i; ++k) x += Sizes[k] + Line;
  }
  return x < Extent ? x : -1;
}

// The index at a screen position along an axis (a line belongs to the cell before it), -1 for none.
int AxisIndex(int Start, int Fixed, int First, int Extent, int Line, const std::vector<int>& Sizes, int p) {
  if (p < Start || p >= Extent) return -1;
  int x = Start;
  int n = static_cast<int>(Sizes.size());
  for (int k = 0; k < Fixed; ++k) {
    x += Sizes[k] + Line;
    if (p < x) return k;
  }
  for (int k = First; k < n && x < Extent; ++k) {
    x += Sizes[k] + Line;
    if (p < x) return k;
  }
  return -1;
}

// Scrollable cells from First on shown whole.
int AxisVisible(int Start, int Fixed, int First, int Extent, int Line, const std::vector<int>& Sizes) {
  int x = Start;
  for (int k = 0; k < Fixed; ++k) x += Sizes[k] + Line;
  int count = 0;
  for (int k = First; k < static_cast<int>(Sizes.size()); ++k) {
    if (x + Sizes[k] > Extent) break;
    x += Sizes[k] + Line;
    ++count;
  }
  return count;
}

// The largest first scrolled index that still shows the last cell whole (the fixed count
// when everything fits, or when not even the last cell fits).
int AxisMaxFirst(int Start, int Fixed, int Extent, int Line, const std::vector<int>& Sizes) {
  int room = Extent - Start;
  for (int k = 0; k < Fixed; ++k) room -= Sizes[k] + Line;
  int n = static_cast<int>(Sizes.size());
  int first = n - 1;
  int used = Sizes[n - 1];
  while (first - 1 >= Fixed && used + Line + Sizes[first - 1] <= room) {
    used += Line + Sizes[first - 1];
    --first;
  }
  return std::max(first, Fixed);
}

// Whether the scrollable cells need more room than the view has.
bool AxisOverflows(int Start, int Fixed, int Extent, int Line, const std::vector<int>& Sizes) {
  int need = Start;
  for (int s : Sizes) need += s + Line;
  return need - Line > Extent && static_cast<int>(Sizes.size()) > Fixed;
}

}  // namespace

int TCustomGrid::MaxLeftCol() const {
  TAxis a = ColAxis();
  return AxisMaxFirst(Origin(), a.Fixed, a.Extent, a.Line, *a.Sizes);
}

int TCustomGrid::MaxTopRow() const {
  TAxis a = RowAxis();
  return AxisMaxFirst(Origin(), a.Fixed, a.Extent, a.Line, *a.Sizes);
}

int TCustomGrid::VisibleColCount() const {
  TAxis a = ColAxis();
  return AxisVisible(Origin(), a.Fixed, a.First, a.Extent, a.Line, *a.Sizes);
}

int TCustomGrid::VisibleRowCount() const {
  TAxis a = RowAxis();
  return AxisVisible(Origin(), a.Fixed, a.First, a.Extent, a.Line, *a.Sizes);
}

TRect TCustomGrid::CellRect(int ACol, int ARow) const {
  TRect r = LogicalCellRect(ACol, ARow);
  return r.Right == 0 && r.Bottom == 0 ? r : MirrorRect(r);
}

TRect TCustomGrid::LogicalCellRect(int ACol, int ARow) const {
  TAxis c = ColAxis(), r = RowAxis();
  int x = AxisPos(Origin(), c.Fixed, c.First, c.Extent, c.Line, *c.Sizes, ACol);
  int y = AxisPos(Origin(), r.Fixed, r.First, r.Extent, r.Line, *r.Sizes, ARow);
  if (x < 0 || y < 0) return TRect(0, 0, 0, 0);
  return Rect(x, y, x + FColWidths[ACol], y + FRowHeights[ARow]);
}

TGridCoord TCustomGrid::MouseCoord(int X, int Y) const { return LogicalCoord(MirrorX(X), Y); }

TGridCoord TCustomGrid::LogicalCoord(int X, int Y) const {
  TAxis c = ColAxis(), r = RowAxis();
  int col = AxisIndex(Origin(), c.Fixed, c.First, c.Extent, c.Line, *c.Sizes, X);
  int row = AxisIndex(Origin(), r.Fixed, r.First, r.Extent, r.Line, *r.Sizes, Y);
  if (col < 0 || row < 0) return {-1, -1};
  return {col, row};
}

void TCustomGrid::MouseToCell(int X, int Y, int& ACol, int& ARow) const {
  TGridCoord g = MouseCoord(X, Y);
  ACol = g.X;
  ARow = g.Y;
}

void TCustomGrid::InvalidateCell(int ACol, int ARow) { InvalidateGridRect({ACol, ARow, ACol, ARow}); }

void TCustomGrid::InvalidateGridRect(const TGridRect& R) {
  if (!HandleAllocated()) return;
  // Cells out of view are skipped; a rectangle reaching past the view repaints to its edge.
  TRect area(0, 0, 0, 0);
  for (int row = std::max(R.Top, 0); row <= std::min(R.Bottom, RowCount() - 1); ++row)
    for (int col = std::max(R.Left, 0); col <= std::min(R.Right, ColCount() - 1); ++col) {
      TRect cell = LogicalCellRect(col, row);
      if (cell.Right == 0 && cell.Bottom == 0) continue;
      cell.Right += FGridLineWidth;
      cell.Bottom += FGridLineWidth;
      if (area.Right == 0 && area.Bottom == 0) area = cell;
      else area = Rect(std::min(area.Left, cell.Left), std::min(area.Top, cell.Top), std::max(area.Right, cell.Right),
                       std::max(area.Bottom, cell.Bottom));
    }
  if (area.Right == 0 && area.Bottom == 0) return;
  RECT r = MirrorRect(area);
  InvalidateRect(Handle(), &r, false);
}

// ---------------------------------------------------------------------------
// Current cell, selection and scrolling

bool TCustomGrid::SelectCell(int ACol, int ARow) {
  bool can = true;
  if (OnSelectCell) OnSelectCell(this, ACol, ARow, can);
  return can;
}

void TCustomGrid::SetCol(int Value) {
  if (Value == FCurrent.X) return;
  MoveColRow(Value, FCurrent.Y, true, true);
}

void TCustomGrid::SetRow(int Value) {
  if (Value == FCurrent.Y) return;
  MoveColRow(FCurrent.X, Value, true, true);
}

void TCustomGrid::MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show) {
  if (ACol < FFixedCols || ACol >= ColCount() || ARow < FFixedRows || ARow >= RowCount())
    throw EInvalidGridOperation(u"Grid index out of range");
  MoveCurrent(ACol, ARow, MoveAnchor, Show);
}

void TCustomGrid::MoveCurrent(int ACol, int ARow, bool MoveAnchor, bool Show) {
  if (!SelectCell(ACol, ARow)) return;
  if (FEditorMode) HideEditor();
  TGridRect old = Selection();
  FCurrent = {ACol, ARow};
  if (MoveAnchor || !FOptions.Contains(goRangeSelect)) FAnchor = FCurrent;
  if (Show) ScrollIntoView(ACol, ARow);
  SelectionChanged(old);
  if (FOptions.Contains(goAlwaysShowEditor) && Focused()) ShowEditor();
}

TGridRect TCustomGrid::Selection() const {
  TGridRect r = Normalized(FAnchor, FCurrent);
  if (FOptions.Contains(goRowSelect)) {
    r.Left = FFixedCols;
    r.Right = ColCount() - 1;
  }
  return r;
}

void TCustomGrid::SetSelection(const TGridRect& Value) {
  TGridRect old = Selection();
  FAnchor = {Value.Left, Value.Top};
  FCurrent = {Value.Right, Value.Bottom};
  SelectionChanged(old);
}

void TCustomGrid::SelectionChanged(const TGridRect& OldSel) {
  InvalidateGridRect(OldSel);
  InvalidateGridRect(Selection());
}

void TCustomGrid::ScrollIntoView(int ACol, int ARow) {
  auto firstFor = [](int target, int first, int visible, const std::vector<int>& sizes, int fixed, int room,
                     int line) {
    if (target < fixed) return first;
    if (target < first) return target;
    if (target < first + visible) return first;
    // The smallest first index that shows the target whole.
    int f = target, used = sizes[target];
    while (f - 1 >= fixed && used + line + sizes[f - 1] <= room) used += line + sizes[--f];
    return f;
  };
  auto room = [this](const TAxis& a) {
    int r = a.Extent - Origin();
    for (int k = 0; k < a.Fixed; ++k) r -= (*a.Sizes)[k] + a.Line;
    return r;
  };
  TAxis c = ColAxis(), r = RowAxis();
  int left = firstFor(ACol, FTopLeft.X, VisibleColCount(), FColWidths, FFixedCols, room(c), FGridLineWidth);
  int top = firstFor(ARow, FTopLeft.Y, VisibleRowCount(), FRowHeights, FFixedRows, room(r), FGridLineWidth);
  SetTopLeft(left, top);
}

void TCustomGrid::SetLeftCol(int Value) { SetTopLeft(Value, FTopLeft.Y); }
void TCustomGrid::SetTopRow(int Value) { SetTopLeft(FTopLeft.X, Value); }

void TCustomGrid::SetTopLeft(int ALeftCol, int ATopRow) {
  ALeftCol = std::clamp(ALeftCol, FFixedCols, MaxLeftCol());
  ATopRow = std::clamp(ATopRow, FFixedRows, MaxTopRow());
  if (ALeftCol == FTopLeft.X && ATopRow == FTopLeft.Y) return;
  const TGridCoord old = FTopLeft;
  FTopLeft = {ALeftCol, ATopRow};
  UpdateScrollBars();
  ScrollView(old);
  if (FEditorMode && FInplaceEdit != nullptr) FInplaceEdit->BoundsChanged();
  TopLeftChanged();
}

void TCustomGrid::ScrollView(TGridCoord Old) {
  // A vertical move by less than the view: the rows below the fixed ones move as pixels (the
  // fixed columns with them), as every cell paints the same wherever it is in the view.
  if (HandleAllocated() && Old.X == FTopLeft.X && Old.Y != FTopLeft.Y) {
    const int b = Origin();
    const TRect client = ClientRect();
    int top = b;
    for (int k = 0; k < FFixedRows; ++k) top += FRowHeights[k] + FGridLineWidth;
    const int right = client.Right - b, bottom = client.Bottom - b;
    const int from = std::min(Old.Y, FTopLeft.Y), to = std::max(Old.Y, FTopLeft.Y);
    long long moved = 0;
    for (int r = from; r < to && r < static_cast<int>(FRowHeights.size()) && moved < bottom - top; ++r)
      moved += FRowHeights[r] + FGridLineWidth;
    if (top < bottom && b < right && moved < bottom - top) {
      const int dy = static_cast<int>(Old.Y < FTopLeft.Y ? -moved : moved);
      RECT area = MirrorRect(Rect(b, top, right, bottom));
      ScrollWindowEx(Handle(), 0, dy, &area, &area, nullptr, nullptr, SW_INVALIDATE);
      return;
    }
  }
  // Any other move paints the view anew; the scroll bars repaint their own thumbs.
  if (!HandleAllocated()) return;
  const TRect client = ClientRect();
  RECT view = Rect(client.Left, client.Top, client.Right, client.Bottom);
  InvalidateRect(Handle(), &view, ControlStyle().Contains(csOpaque) ? 0 : 1);
}

void TCustomGrid::TopLeftChanged() {
  if (OnTopLeftChanged) OnTopLeftChanged(this);
}

void TCustomGrid::UpdateScrollBars() {
  if (FScrolling) return;
  TInCode guard(FScrolling);
  bool allowH = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
  bool allowV = FScrollBars == ssVertical || FScrollBars == ssBoth;
  // Showing one bar takes room from the other direction: decide twice.
  bool h = false, v = false, hScrolls = false, vScrolls = false;
  // A window with flat scroll bars may give them their own thickness.
  int bar = FBarSize = HandleAllocated() ? WindowScrollBarSize(Handle()) : GetSystemMetrics(SM_CXVSCROLL);
  for (int pass = 0; pass < 2; ++pass) {
    vScrolls = AxisOverflows(Origin(), FFixedRows, FHeight - (h ? bar : 0) - Origin(), FGridLineWidth, FRowHeights);
    v = (allowV && vScrolls) || FForcedVert;
    hScrolls = AxisOverflows(Origin(), FFixedCols, FWidth - (v ? bar : 0) - Origin(), FGridLineWidth, FColWidths);
    h = (allowH && hScrolls) || FForcedHorz;
  }
  bool changed = h != FHorzShown || v != FVertShown;
  FHorzShown = h;
  FVertShown = v;
  // The view may have grown: keep the top-left cell where the end still fills it.
  FTopLeft.X = std::clamp(FTopLeft.X, FFixedCols, MaxLeftCol());
  FTopLeft.Y = std::clamp(FTopLeft.Y, FFixedRows, MaxTopRow());
  auto setUp = [this](std::unique_ptr<TScrollBar>& b, bool shown, TScrollBarKind kind, int pos, int min, int max,
                      int page) {
    if (shown && !b) {
      b = std::make_unique<TGridScrollBar>(kind);
      b->OnScroll = [this, kind](TObject*, TScrollCode code, int& p) { ScrollBarScroll(kind, code, p); };
    }
    if (!b) return;
    b->SetVisible(shown);
    if (!shown) return;
    b->SetParams(pos, min, std::max(min, max));
    b->SetLargeChange(std::max(1, page));
    if (b->Parent() != this) b->SetParent(this);
    // A mirrored grid's horizontal bar runs from the right, as its columns do.
    if (QWidget* w = TControlHost::Widget(b.get())) {
      const Qt::LayoutDirection d = GridMirrored() && kind == sbHorizontal ? Qt::RightToLeft : Qt::LeftToRight;
      if (w->layoutDirection() != d) {
        w->setLayoutDirection(d);
        w->update();  // the thumb moves to the other end
      }
    }
    // The window's own bar: it takes the window's flat scroll bar look.
    if (HandleAllocated())
      SetWindowScrollBar(Handle(), qobject_cast<QScrollBar*>(TControlHost::Widget(b.get())),
                         kind == sbHorizontal ? SB_HORZ : SB_VERT);
  };
  setUp(FHorzBar, h, sbHorizontal, FTopLeft.X, FFixedCols, MaxLeftCol(), VisibleColCount());
  setUp(FVertBar, v, sbVertical, FTopLeft.Y, FFixedRows, MaxTopRow(), VisibleRowCount());
  EnableForcedScrollBars(hScrolls, vScrolls);
  PlaceScrollBars();
  if (changed) Invalidate();
  ScrollBarsUpdated();
}

void TCustomGrid::ScrollBarScroll(TScrollBarKind Kind, TScrollCode Code, int& Pos) {
  if (Code == scEndScroll || (Code == scTrack && !FOptions.Contains(goThumbTracking))) return;
  if (Kind == sbHorizontal) SetLeftCol(Pos);
  else SetTopRow(Pos);
  Pos = Kind == sbHorizontal ? LeftCol() : TopRow();
}

void TCustomGrid::SetForcedScrollBars(bool Horz, bool Vert) {
  if (Horz == FForcedHorz && Vert == FForcedVert) return;
  FForcedHorz = Horz;
  FForcedVert = Vert;
  UpdateScrollBars();
}

void TCustomGrid::EnableForcedScrollBars(bool HorzScrolls, bool VertScrolls) {
  // A bar shown only because it is forced has nothing to scroll: it shows disabled.
  if (FHorzBar) FHorzBar->SetEnabled(!FForcedHorz || HorzScrolls);
  if (FVertBar) FVertBar->SetEnabled(!FForcedVert || VertScrolls);
}

void TCustomGrid::PlaceScrollBars() {
  int b = Origin(), bar = FBarSize;
  // A mirrored grid has its vertical bar at the left.
  const bool left = GridMirrored();
  const int vert = FVertShown ? bar : 0;
  if (FHorzShown) FHorzBar->SetBounds(left ? b + vert : b, FHeight - b - bar, std::max(0, FWidth - 2 * b - vert), bar);
  if (FVertShown) FVertBar->SetBounds(left ? b : FWidth - b - bar, b, bar, std::max(0, FHeight - 2 * b - (FHorzShown ? bar : 0)));
}

// ---------------------------------------------------------------------------
// Right to left

TRect TCustomGrid::MirrorRect(const TRect& R) const {
  return GridMirrored() ? TRect(FWidth - R.Right, R.Top, FWidth - R.Left, R.Bottom) : R;
}

void TCustomGrid::PaintMirrored() {
  FPaintingMirrored = true;
  ChangeGridOrientation(true);
  try {
    TCustomGrid::Paint();
  } catch (...) {
    ChangeGridOrientation(false);
    FPaintingMirrored = false;
    throw;
  }
  ChangeGridOrientation(false);
  FPaintingMirrored = false;
}

void TCustomGrid::ChangeGridOrientation(bool RightToLeftOrientation) {
  if (!FPaintingMirrored) return;
  SetMirrorAxis(Canvas()->Handle(), RightToLeftOrientation ? FWidth : 0);
}

void TCustomGrid::CMBiDiModeChanged(TMessage& Message) {
  TCustomControl::CMBiDiModeChanged(Message);
  UpdateScrollBars();
  if (FEditorMode && FInplaceEdit != nullptr) FInplaceEdit->BoundsChanged();
  Invalidate();
}

void TCustomGrid::Resize() {
  UpdateScrollBars();
  if (FEditorMode && FInplaceEdit != nullptr) FInplaceEdit->BoundsChanged();
  TCustomControl::Resize();
}

// ---------------------------------------------------------------------------
// Keyboard and mouse

void TCustomGrid::WMGetDlgCode(TWMGetDlgCode& Message) {
  Message.SetResult(DLGC_WANTARROWS | DLGC_WANTCHARS | (FOptions.Contains(goTabs) ? DLGC_WANTTAB : 0));
}

bool TCustomGrid::IsActive() const { return Focused() || (FInplaceEdit != nullptr && FInplaceEdit->Focused()); }

void TCustomGrid::WMSetFocus(TWMSetFocus& Message) {
  TCustomControl::WMSetFocus(Message);
  InvalidateCell(FCurrent.X, FCurrent.Y);
}

void TCustomGrid::WMKillFocus(TWMKillFocus& Message) {
  TCustomControl::WMKillFocus(Message);
  InvalidateCell(FCurrent.X, FCurrent.Y);
}

void TCustomGrid::KeyDown(Word& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == 0) return;
  bool ctrl = Shift.Contains(ssCtrl);
  TGridCoord to = FCurrent;
  int page = std::max(1, VisibleRowCount());
  // In a mirrored grid Left goes towards the higher columns, which lie to the left.
  const int leftStep = GridMirrored() ? 1 : -1;
  switch (Key) {
    case VK_LEFT: to.X += leftStep; break;
    case VK_RIGHT: to.X -= leftStep; break;
    case VK_UP: to.Y -= 1; break;
    case VK_DOWN: to.Y += 1; break;
    case VK_PRIOR: to.Y -= page; break;
    case VK_NEXT: to.Y += page; break;
    case VK_HOME: to.X = FFixedCols; if (ctrl) to.Y = FFixedRows; break;
    case VK_END: to.X = ColCount() - 1; if (ctrl) to.Y = RowCount() - 1; break;
    case VK_TAB:
      if (!FOptions.Contains(goTabs)) return;
      // Tab goes on along the row and wraps to the next one (Shift+Tab backwards).
      if (Shift.Contains(ssShift)) {
        if (--to.X < FFixedCols) { to.X = ColCount() - 1; --to.Y; }
      } else if (++to.X >= ColCount()) {
        to.X = FFixedCols;
        ++to.Y;
      }
      if (to.Y < FFixedRows || to.Y >= RowCount()) return;
      break;
    case VK_F2:
      if (FOptions.Contains(goEditing)) {
        FEditorMode = true;
        ShowEditor();
      }
      return;
    default: return;
  }
  if (FOptions.Contains(goRowSelect)) to.X = FCurrent.X;
  to.X = std::clamp(to.X, FFixedCols, ColCount() - 1);
  to.Y = std::clamp(to.Y, FFixedRows, RowCount() - 1);
  bool extend = Shift.Contains(ssShift) && Key != VK_TAB && FOptions.Contains(goRangeSelect);
  if (to == FCurrent && !(FCurrent.X < FFixedCols || FCurrent.Y < FFixedRows)) return;
  MoveCurrent(to.X, to.Y, !extend, true);
}

void TCustomGrid::KeyPress(Char& Key) {
  TCustomControl::KeyPress(Key);
  // A typed character opens the editor and goes into it.
  if (Key < 32 || !FOptions.Contains(goEditing) || FEditorMode) return;
  ShowEditorChar(Key);
  if (FEditorMode) Key = 0;
}

void TCustomGrid::CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingOfs) const {
  State = gsNormal;
  Index = -1;
  SizingOfs = 0;
  // The zones are found left to right: a mirrored grid's point is turned around first.
  X = MirrorX(X);
  TGridCoord cell = LogicalCoord(X, Y);
  if (cell.X < 0 || cell.Y < 0) return;
  constexpr int zone = 3;
  // The cell whose far edge lies within the zone along one axis, -1 for none.
  auto edgeAt = [this, zone](int at, int p, int lo, int hi, bool cols, int X, int Y) {
    if (p >= hi - zone) return at;
    if (p < lo + zone) {
      TGridCoord before = cols ? LogicalCoord(lo - 1, Y) : LogicalCoord(X, lo - 1);
      int b = cols ? before.X : before.Y;
      if (b >= 0 && b != at) return b;
    }
    return -1;
  };
  TRect r = LogicalCellRect(cell.X, cell.Y);
  if (FOptions.Contains(goColSizing) && cell.Y < FFixedRows) {
    int c = edgeAt(cell.X, X, r.Left, r.Right, true, X, Y);
    if (c >= 0) {
      State = gsColSizing;
      Index = c;
      SizingOfs = X - FColWidths[c];
      return;
    }
  }
  if (FOptions.Contains(goRowSizing) && cell.X < FFixedCols) {
    int row = edgeAt(cell.Y, Y, r.Top, r.Bottom, false, X, Y);
    if (row >= 0) {
      State = gsRowSizing;
      Index = row;
      SizingOfs = Y - FRowHeights[row];
    }
  }
}

TRect TCustomGrid::ScrollableArea() const {
  int b = Origin();
  int x = b, y = b;
  for (int k = 0; k < FFixedCols; ++k) x += FColWidths[k] + FGridLineWidth;
  for (int k = 0; k < FFixedRows; ++k) y += FRowHeights[k] + FGridLineWidth;
  return Rect(x, y, std::max(x, ClientWidth() - b), std::max(y, ClientHeight() - b));
}

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (CanFocus() && !Focused()) SetFocus();
  if (Button == mbLeft) {
    TGridState state;
    int index, ofs;
    CalcSizingState(X, Y, state, index, ofs);
    TGridCoord cell = MouseCoord(X, Y);
    if (state == gsNormal && cell.X >= 0 && cell.Y >= 0) {
      if (FOptions.Contains(goColMoving) && cell.Y < FFixedRows && cell.X >= FFixedCols) {
        state = gsColMoving;
        index = cell.X;
      } else if (FOptions.Contains(goRowMoving) && cell.X < FFixedCols && cell.Y >= FFixedRows) {
        state = gsRowMoving;
        index = cell.Y;
      }
    }
    if (state != gsNormal) {
      FGridState = state;
      FSizingIndex = index;
      FSizingOfs = ofs;
    } else if (cell.X >= FFixedCols && cell.Y >= FFixedRows) {
      if (cell == FCurrent && FOptions.Contains(goEditing) && !Shift.Contains(ssDouble)) {
        FEditorMode = true;
        ShowEditor();
      } else {
        bool extend = Shift.Contains(ssShift) && FOptions.Contains(goRangeSelect);
        MoveCurrent(cell.X, cell.Y, !extend, true);
        if (!FEditorMode) {
          FGridState = gsSelecting;
          FDragPos = TPoint(MirrorX(X), Y);
        }
      }
    }
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomGrid::DragScroll() {
  if (FGridState != gsSelecting) {
    FDragTimer->SetEnabled(false);
    return;
  }
  TRect area = ScrollableArea();
  int dx = FDragPos.X < area.Left ? -1 : FDragPos.X >= area.Right ? 1 : 0;
  int dy = FDragPos.Y < area.Top ? -1 : FDragPos.Y >= area.Bottom ? 1 : 0;
  TGridCoord to{std::clamp(FCurrent.X + dx, FFixedCols, ColCount() - 1),
                std::clamp(FCurrent.Y + dy, FFixedRows, RowCount() - 1)};
  if ((dx == 0 && dy == 0) || to == FCurrent) return;
  MoveCurrent(to.X, to.Y, false, true);
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y) {
  if (FSizingIndex >= 0 && FGridState == gsColSizing && FSizingIndex < ColCount())
    SetColWidths(FSizingIndex, std::max(0, MirrorX(X) - FSizingOfs));
  else if (FSizingIndex >= 0 && FGridState == gsRowSizing && FSizingIndex < RowCount())
    SetRowHeights(FSizingIndex, std::max(0, Y - FSizingOfs));
  else if (FGridState == gsSelecting) {
    FDragPos = TPoint(MirrorX(X), Y);
    TRect area = ScrollableArea();
    bool beyond = FDragPos.X < area.Left || FDragPos.X >= area.Right || Y < area.Top || Y >= area.Bottom;
    TGridCoord cell = MouseCoord(X, Y);
    if (!beyond && cell.X >= FFixedCols && cell.Y >= FFixedRows && cell != FCurrent)
      MoveCurrent(cell.X, cell.Y, false, true);
    // Beyond the scrollable cells the selection goes on stretching a cell at a time.
    if (beyond && !FDragTimer) {
      FDragTimer = std::make_unique<TTimer>(nullptr);
      FDragTimer->SetInterval(60);
      FDragTimer->SetOnTimer([this](TObject*) { DragScroll(); });
    }
    if (FDragTimer) FDragTimer->SetEnabled(beyond);
  }
  TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGridState state = FGridState;
  int index = FSizingIndex;
  FGridState = gsNormal;
  FSizingIndex = -1;
  if (FDragTimer) FDragTimer->SetEnabled(false);
  if (state == gsColSizing && index < ColCount()) SetColWidths(index, std::max(0, MirrorX(X) - FSizingOfs));
  else if (state == gsRowSizing && index < RowCount()) SetRowHeights(index, std::max(0, Y - FSizingOfs));
  else if (state == gsColMoving || state == gsRowMoving) {
    TGridCoord to = MouseCoord(X, Y);
    if (state == gsColMoving && to.X >= FFixedCols && index < ColCount()) MoveColumn(index, to.X);
    if (state == gsRowMoving && to.Y >= FFixedRows && index < RowCount()) MoveRow(index, to.Y);
  }
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

bool TCustomGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  if (TCustomControl::DoMouseWheelDown(Shift, MousePos)) return true;
  if (FCurrent.Y < RowCount() - 1) MoveCurrent(FCurrent.X, std::max(FCurrent.Y + 1, FFixedRows), true, true);
  return true;
}

bool TCustomGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  if (TCustomControl::DoMouseWheelUp(Shift, MousePos)) return true;
  if (FCurrent.Y > FFixedRows) MoveCurrent(FCurrent.X, FCurrent.Y - 1, true, true);
  return true;
}

// ---------------------------------------------------------------------------
// Painting

void TCustomGrid::Paint() {
  if (GridMirrored() && !FPaintingMirrored) return PaintMirrored();
  TCanvas* c = Canvas();
  TRect client = ClientRect();
  int b = Origin();
  int right = client.Right - b, bottom = client.Bottom - b;
  TGridRect sel = Selection();
  bool active = IsActive();
  int line = FGridLineWidth;

  // Columns and rows on screen, with their left (top) edges.
  auto shown = [](int start, int fixed, int first, int extent, int ln, const std::vector<int>& sizes) {
    std::vector<std::pair<int, int>> out;
    int x = start;
    for (int k = 0; k < fixed && x < extent; ++k) {
      out.push_back({k, x});
      x += sizes[k] + ln;
    }
    for (int k = first; k < static_cast<int>(sizes.size()) && x < extent; ++k) {
      out.push_back({k, x});
      x += sizes[k] + ln;
    }
    return std::make_pair(out, x);
  };
  auto [cols, gridRight] = shown(b, FFixedCols, FTopLeft.X, right, line, FColWidths);
  auto [rows, gridBottom] = shown(b, FFixedRows, FTopLeft.Y, bottom, line, FRowHeights);

  c->Font()->Assign(Font());
  // Rows outside the area being painted are skipped (a merged area is painted through any of
  // its cells that is inside); a row's painting may reach a pixel into its neighbours.
  RECT box{};
  const bool clipped = GetClipBox(c->Handle(), &box) != ERROR;
  for (auto [row, y] : rows) {
    if (clipped && (y > box.Bottom || y + FRowHeights[row] + line + 1 <= box.Top)) continue;
    for (auto [col, x] : cols) {
      TRect r = Rect(x, y, x + FColWidths[col], y + FRowHeights[row]);
      bool fixed = col < FFixedCols || row < FFixedRows;
      TGridDrawState state;
      if (fixed) state += gdFixed;
      else {
        if (InRect(sel, col, row)) state += gdSelected;
        if (active && col == FCurrent.X && row == FCurrent.Y) state += gdFocused;
      }
      if (line > 0) {
        // The cell's right and bottom grid lines, or the background where they are off.
        bool vert = FOptions.Contains(fixed ? goFixedVertLine : goVertLine);
        bool horz = FOptions.Contains(fixed ? goFixedHorzLine : goHorzLine);
        TColor lineColor = fixed ? clBlack : clSilver;
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(vert ? lineColor : Color());
        c->FillRect(Rect(r.Right, r.Top, r.Right + line, r.Bottom + line));
        c->Brush()->SetColor(horz ? lineColor : Color());
        c->FillRect(Rect(r.Left, r.Bottom, r.Right, r.Bottom + line));
      }
      if (FDefaultDrawing) {
        bool highlight = state.Contains(gdSelected) &&
                         (!state.Contains(gdFocused) || FOptions.Contains(goDrawFocusSelected) ||
                          FOptions.Contains(goRowSelect));
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(fixed ? FFixedColor : highlight ? clHighlight : Color());
        c->Font()->SetColor(highlight ? clHighlightText : Font()->Color());
        c->FillRect(r);
      }
      DrawCell(col, row, r, state);
      if (FDefaultDrawing && fixed && line > 0) {
        RECT e = r;
        DrawEdge(c->Handle(), &e, BDR_RAISEDINNER, BF_RECT);
      }
      if (FDefaultDrawing && state.Contains(gdFocused) && !FOptions.Contains(goRowSelect)) c->DrawFocusRect(r);
    }
  }
  // The area beyond the last cell, then the frame and the corner between the bars.
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  if (gridRight < right) c->FillRect(Rect(gridRight, b, right, bottom));
  if (gridBottom < bottom) c->FillRect(Rect(b, gridBottom, std::min(gridRight, right), bottom));
  if (FHorzShown && FVertShown) {
    int bar = FBarSize;
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(Rect(FWidth - b - bar, FHeight - b - bar, FWidth - b, FHeight - b));
  }
  if (b > 0 && FCtl3D) {
    RECT e = Rect(0, 0, FWidth, FHeight);
    DrawEdge(c->Handle(), &e, EDGE_SUNKEN, BF_RECT);
  } else if (b > 0) {
    c->Brush()->SetColor(clWindowFrame);
    c->FrameRect(Rect(0, 0, FWidth, FHeight));
  }
}

void TCustomGrid::DrawCell(int ACol, int ARow, const TRect& ARect, const TGridDrawState& AState) {
  if (OnDrawCell) OnDrawCell(this, ACol, ARow, ARect, AState);
}

// ---------------------------------------------------------------------------
// In-place editor

TInplaceEdit* TCustomGrid::CreateEditor() { return new TInplaceEdit(this); }

bool TCustomGrid::CanEditShow() {
  return FOptions.Contains(goEditing) && !FOptions.Contains(goRowSelect) && FEditorMode && HandleAllocated() &&
         FCurrent.X >= FFixedCols && FCurrent.X < ColCount() && FCurrent.Y >= FFixedRows && FCurrent.Y < RowCount();
}

void TCustomGrid::SetEditorMode(bool Value) {
  if (Value) {
    FEditorMode = true;
    ShowEditor();
  } else {
    HideEditor();
  }
}

void TCustomGrid::ShowEditor() {
  if (!CanEditShow()) {
    FEditorMode = false;
    return;
  }
  if (FInplaceEdit == nullptr) {
    FInplaceEdit = CreateEditor();
    FInplaceEdit->FGrid = this;
    FInplaceEdit->SetParent(this);
  }
  FInplaceEdit->UpdateContents();
  FInplaceEdit->BoundsChanged();
  FInplaceEdit->Show();
  if (Focused() || IsActive()) FInplaceEdit->SetFocus();
}

void TCustomGrid::ShowEditorChar(Char Ch) {
  FEditorMode = true;
  ShowEditor();
  if (FEditorMode && FInplaceEdit != nullptr) FInplaceEdit->TypeFirstChar(Ch);
}

void TCustomGrid::HideEditor() {
  FEditorMode = false;
  if (FInplaceEdit == nullptr || !FInplaceEdit->Visible()) return;
  bool hadFocus = FInplaceEdit->Focused();
  FInplaceEdit->Hide();
  if (hadFocus && CanFocus()) SetFocus();
  InvalidateCell(FCurrent.X, FCurrent.Y);
}

void TCustomGrid::InvalidateEditor() {
  if (!FEditorMode || FInplaceEdit == nullptr || !FInplaceEdit->Visible()) return;
  FInplaceEdit->UpdateContents();
  FInplaceEdit->BoundsChanged();
}

String TCustomGrid::GetEditMask(int ACol, int ARow) {
  String s;
  if (OnGetEditMask) OnGetEditMask(this, ACol, ARow, s);
  return s;
}

String TCustomGrid::GetEditText(int ACol, int ARow) {
  String s;
  if (OnGetEditText) OnGetEditText(this, ACol, ARow, s);
  return s;
}

void TCustomGrid::SetEditText(int ACol, int ARow, const String& Value) {
  if (OnSetEditText) OnSetEditText(this, ACol, ARow, Value);
}

namespace {

// The multi-line window shows each line break (CR LF, or a lone CR or LF) as one '\n'.
QString ShownLines(const String& Text) {
  QString shown;
  shown.reserve(int(Text.size()));
  for (size_t i = 0; i < Text.size(); ++i) {
    const Char c = Text[i];
    if (c == u'\r' || c == u'\n') {
      shown.append(QChar(u'\n'));
      if (c == u'\r' && i + 1 < Text.size() && Text[i + 1] == u'\n') ++i;
    } else {
      shown.append(QChar(c));
    }
  }
  return shown;
}

// The text of what the window shows: its line breaks as CR LF.
String TextLines(const QString& Shown) {
  String text;
  text.reserve(size_t(Shown.size()));
  for (QChar c : Shown) {
    if (c == u'\n') text += u"\r\n";
    else text += Char(c.unicode());
  }
  return text;
}

// Window position of text position Pos (Text with CR LF breaks); a position between CR and LF
// stands before the pair.
int ShownPos(const String& Text, int Pos) {
  int shown = 0;
  const int n = int(Text.size());
  for (int i = 0; i < Pos && i < n; ++i, ++shown) {
    if (Text[size_t(i)] == u'\r' && i + 1 < n && Text[size_t(i + 1)] == u'\n') {
      if (i + 1 >= Pos) break;
      ++i;
    }
  }
  return shown;
}

// Text position of window position Pos: each line break before it counts two.
int TextPos(const QString& Shown, int Pos) {
  Pos = std::clamp(Pos, 0, int(Shown.size()));
  return Pos + int(QStringView(Shown).left(Pos).count(u'\n'));
}

}  // namespace

TInplaceEdit::TInplaceEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
  SetTabStop(false);
  SetBorderStyle(bsNone);
  SetVisible(false);
}

void TInplaceEdit::UpdateContents() {
  TInCode guard(FLoading);
  FOpenedWith = FGrid->GetEditText(FGrid->Col(), FGrid->Row());
  SetMaxLength(std::max(0, FGrid->GetEditLimit()));
  SetReadOnly(!FGrid->CanEditModify());
  SetEditMask(FGrid->GetEditMask(FGrid->Col(), FGrid->Row()));
  MatchWindowKind();
  SetText(FOpenedWith);
  SelectAll();
}

void TInplaceEdit::TypeFirstChar(Char Key) {
  SetText(String(1, Key));
  SetSelStart(1);
}

void TInplaceEdit::BoundsChanged() {
  TRect r = FGrid->CellRect(FGrid->Col(), FGrid->Row());
  SetBounds(r.Left, r.Top, r.Width(), r.Height());
}

void TInplaceEdit::Change() {
  TCustomMaskEdit::Change();
  if (!FLoading && FGrid != nullptr) FGrid->SetEditText(FGrid->Col(), FGrid->Row(), Text());
}

void TInplaceEdit::KeyDown(Word& Key, TShiftState Shift) {
  TCustomMaskEdit::KeyDown(Key, Shift);
  if (Key == VK_RETURN && Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt) &&
      NativeOf<QPlainTextEdit>(this) != nullptr) {
    // Ctrl+Enter types a line feed (character 10), which the editor's character handling
    // takes as a line break or refuses.
    Key = 0;
    Perform(WM_CHAR, 10, 1);
    return;
  }
  switch (Key) {
    case VK_UP: case VK_DOWN: case VK_PRIOR: case VK_NEXT: case VK_TAB:
      if (Key == VK_TAB && !FGrid->Options().Contains(goTabs)) return;
      FGrid->HideEditor();
      FGrid->KeyDown(Key, Shift);
      Key = 0;
      break;
    default: break;
  }
}

void TInplaceEdit::KeyPress(Char& Key) {
  TCustomMaskEdit::KeyPress(Key);
  if (Key == 10) {
    // A line feed breaks the line in the multi-line window; a single line takes none.
    if (NativeOf<QPlainTextEdit>(this) != nullptr && !ReadOnly()) {
      SetSelText(u"\r\n");
      FModified = true;
    }
    Key = 0;
  } else if (Key == VK_RETURN) {
    FGrid->HideEditor();
    Key = 0;
  } else if (Key == VK_ESCAPE) {
    FGrid->SetEditText(FGrid->Col(), FGrid->Row(), FOpenedWith);
    FGrid->HideEditor();
    Key = 0;
  }
}

void TInplaceEdit::WMGetDlgCode(TWMGetDlgCode& Message) {
  TCustomMaskEdit::WMGetDlgCode(Message);
  Message.SetResult(Message.Result() | DLGC_WANTARROWS | DLGC_WANTALLKEYS |
                    (FGrid != nullptr && FGrid->Options().Contains(goTabs) ? DLGC_WANTTAB : 0));
}

void TInplaceEdit::CreateParams(TCreateParams& Params) {
  TCustomMaskEdit::CreateParams(Params);
  if (FPasswordChar == 0) Params.Style |= ES_MULTILINE;
}

bool TInplaceEdit::WantsLines() {
  if (IsMasked() || FPasswordChar != 0) return false;
  TCreateParams params;
  CreateParams(params);
  return (params.Style & ES_MULTILINE) != 0;
}

void TInplaceEdit::MatchWindowKind() {
  if (HandleAllocated() && (NativeOf<QPlainTextEdit>(this) != nullptr) != WantsLines()) RecreateWnd();
}

void TInplaceEdit::CreateWnd() {
  if (!WantsLines()) {
    TCustomMaskEdit::CreateWnd();
    return;
  }
  TCreateParams params;
  CreateParams(params);
  FStyle = params.Style;
  auto* edit = new QPlainTextEdit;
  {
    TInCode guard(FInSetText);
    edit->setPlainText(ShownLines(TControl::GetText()));
  }
  TControlHost::Attach(this, edit, false);
  ApplySettings();
  QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [this] { LinesChanged(); });
}

void TInplaceEdit::DestroyWnd() {
  // The window's text, typed lines included, stays for the next window.
  if (auto* edit = NativeOf<QPlainTextEdit>(this)) TControl::SetTextBuf(TextLines(edit->toPlainText()));
  TCustomMaskEdit::DestroyWnd();
}

void TInplaceEdit::ApplySettings() {
  auto* edit = NativeOf<QPlainTextEdit>(this);
  if (edit == nullptr) {
    TCustomMaskEdit::ApplySettings();
    return;
  }
  // The styles follow the settings as they are now (alignment, word wrap).
  TCreateParams params;
  CreateParams(params);
  FStyle = params.Style;
  edit->setReadOnly(FReadOnly);
  // Without ES_AUTOHSCROLL a multi-line edit wraps its lines at the window's width.
  edit->setLineWrapMode((FStyle & ES_AUTOHSCROLL) ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
  edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  edit->setTabChangesFocus(true);
  edit->setFrameShape(FBorderStyle == bsSingle ? QFrame::StyledPanel : QFrame::NoFrame);
  edit->document()->setDocumentMargin(1);
  QTextOption option = edit->document()->defaultTextOption();
  option.setAlignment((FStyle & ES_RIGHT) ? Qt::AlignRight : (FStyle & ES_CENTER) ? Qt::AlignHCenter : Qt::AlignLeft);
  edit->document()->setDefaultTextOption(option);
  ApplyColor(edit, Color(), QPalette::Base);
  ApplyColor(edit, Font()->Color(), QPalette::Text);
}

void TInplaceEdit::LinesChanged() {
  auto* edit = NativeOf<QPlainTextEdit>(this);
  if (edit == nullptr || FInSetText) return;
  if (FMaxLength > 0) {
    // Over the length limit: the typed characters that do not fit go again.
    const String text = TextLines(edit->toPlainText());
    const int excess = int(text.size()) - FMaxLength;
    if (excess > 0) {
      QTextCursor c = edit->textCursor();
      const int caret = c.position();
      const int from = std::max(0, caret - excess);
      TInCode guard(FInSetText);
      c.setPosition(from);
      c.setPosition(caret, QTextCursor::KeepAnchor);
      c.removeSelectedText();
      edit->setTextCursor(c);
    }
  }
  FModified = true;
  GuardedCall([this] { NotifyChange(); });
}

void TInplaceEdit::Dispatch(TMessage& Message) {
  TCustomMaskEdit::Dispatch(Message);
  if ((Message.Msg == EM_SETRECT || Message.Msg == EM_SETRECTNP) && NativeOf<QPlainTextEdit>(this) != nullptr)
    ApplySettings();
}

void TInplaceEdit::DefaultHandler(TMessage& Message) {
  if (NativeOf<QPlainTextEdit>(this) != nullptr && PerformClipboardKey(Message)) return;
  TCustomMaskEdit::DefaultHandler(Message);
}

String TInplaceEdit::GetText() const {
  if (auto* edit = NativeOf<QPlainTextEdit>(this)) return TextLines(edit->toPlainText());
  return TCustomMaskEdit::GetText();
}

void TInplaceEdit::SetTextBuf(const String& v) {
  auto* edit = NativeOf<QPlainTextEdit>(this);
  if (edit == nullptr) {
    TCustomMaskEdit::SetTextBuf(v);
    return;
  }
  TControl::SetTextBuf(v);
  {
    TInCode guard(FInSetText);
    edit->setPlainText(ShownLines(v));
  }
  FModified = false;
  NotifyChange();
}

int TInplaceEdit::SelStart() const {
  auto* edit = NativeOf<QPlainTextEdit>(this);
  if (edit == nullptr) return TCustomMaskEdit::SelStart();
  return TextPos(edit->toPlainText(), edit->textCursor().selectionStart());
}

void TInplaceEdit::SetSelStart(int v) {
  auto* edit = NativeOf<QPlainTextEdit>(this);
  if (edit == nullptr) {
    TCustomMaskEdit::SetSelStart(v);
    return;
  }
  QTextCursor c = edit->textCursor();
  c.setPosition(std::clamp(ShownPos(Text(), v), 0, int(edit->toPlainText().size())));
  edit->setTextCursor(c);
}

int TInplaceEdit::SelLength() const {
  auto* edit = NativeOf<QPlainTextEdit>(this);
  if (edit == nullptr) return TCustomMaskEdit::SelLength();
  const QString shown = edit->toPlainText();
  const QTextCursor c = edit->textCursor();
  return TextPos(shown, c.selectionEnd()) - TextPos(shown, c.selectionStart());
}

void TInplaceEdit::SetSelLength(int v) {
  auto* edit = NativeOf<QPlainTextEdit>(this);
  if (edit == nullptr) {
    TCustomMaskEdit::SetSelLength(v);
    return;
  }
  const String text = Text();
  const int start = SelStart();
  const int end = std::clamp(start + std::max(0, v), start, int(text.size()));
  QTextCursor c = edit->textCursor();
  c.setPosition(ShownPos(text, start));
  c.setPosition(ShownPos(text, end), QTextCursor::KeepAnchor);
  edit->setTextCursor(c);
}

String TInplaceEdit::SelText() const {
  if (NativeOf<QPlainTextEdit>(this) == nullptr) return TCustomMaskEdit::SelText();
  return Text().substr(size_t(SelStart()), size_t(SelLength()));
}

void TInplaceEdit::SetSelText(const String& v) {
  auto* edit = NativeOf<QPlainTextEdit>(this);
  if (edit == nullptr) {
    TCustomMaskEdit::SetSelText(v);
    return;
  }
  // Like the native edit, a replacement in code ignores the read-only state; the caret ends
  // after the new text.
  QTextCursor c = edit->textCursor();
  {
    TInCode guard(FInSetText);
    c.insertText(ShownLines(v));
  }
  edit->setTextCursor(c);
  NotifyChange();
}
