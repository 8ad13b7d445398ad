#pragma once
// The base grids: TCustomGrid (geometry of rows and columns, fixed rows and columns, the
// current cell, selection, scrolling, keyboard and mouse navigation, the paint loop and an
// in-place editor host) and TStringGrid (a text and an object per cell, drawn as text).
//
// Geometry. Columns and rows are numbered from 0; the first FixedCols columns and FixedRows
// rows are fixed: they stay at the left and top while the rest scrolls. Each cell is
// ColWidths[c] x RowHeights[r] pixels (0 allowed: the cell takes no room) followed by a
// GridLineWidth gap for its right and bottom grid line. LeftCol and TopRow are the first
// scrollable column and row shown. With BorderStyle bsSingle the cells start 2 pixels in
// (1 without Ctl3D).
//
// Current cell and selection. The current cell (Col, Row) and the anchor span the
// selection: Selection is the rectangle between them (with goRowSelect it covers every
// scrollable column of its rows). Moving the current cell by keys, by the mouse or by
// writing Col, Row or MoveColRow first asks SelectCell (refused: nothing moves), moves the
// anchor along (unless a range is being extended) and scrolls the cell into view. Col and
// Row accept only scrollable cells: an index outside FixedCols..ColCount-1 (or rows) raises
// EInvalidGridOperation.
// Writing Selection is different: the anchor becomes (Left, Top) and the current cell
// (Right, Bottom), as given, without SelectCell, range check or scrolling. A rectangle
// outside the grid (such as (ColCount, RowCount) to park it) selects nothing and paints
// nothing selected; the next key or click moves the current cell back inside.
//
// Draw state of a cell passed to DrawCell:
// - gdFixed: the cell is in a fixed row or column. Fixed cells never get the two below.
// - gdSelected: a scrollable cell inside Selection; the current cell is one of them.
// - gdFocused: the current cell, while the grid or its in-place editor has the focus.
// Default drawing fills a gdSelected cell in clHighlight, except a gdFocused one (unless
// goDrawFocusSelected or goRowSelect is set), and frames a gdFocused cell with a focus
// rectangle. With DefaultDrawing off the grid draws nothing of its own in a cell (no fill,
// text or focus frame): OnDrawCell or an overriding DrawCell does it all. Grid lines and the
// area beyond the last cell (filled with Color) are drawn either way.
//
// Right to left. Under UseRightToLeftAlignment (BiDiMode bdRightToLeft on a right-to-left
// system) the grid is mirrored: column 0 sits at the right edge and the columns run leftwards,
// the vertical scroll bar sits at the left and the horizontal one runs from the right. The grid
// keeps its geometry left to right ("logical" coordinates, as if unmirrored) and maps a logical
// x to the window's Width() - x (MirrorRect; a pixel p to Width() - 1 - p, MirrorX).
// CellRect, MouseCoord, MouseToCell, CalcSizingState and the mouse handlers take and give
// window coordinates. DrawCell and OnDrawCell get the cell's logical rectangle while the
// canvas is mirrored (the grid orientation is on), so fills, lines and frames drawn there land
// on the mirrored cell as they would on the left-to-right one; text and pictures would come
// out back to front, so their drawers turn the orientation off (ChangeGridOrientation(false)),
// draw at MirrorRect(ARect) and turn it on again. Outside Paint the canvas is never mirrored.

#include <functional>
#include <map>
#include <memory>
#include <memory_resource>
#include <span>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Mask.h"
#include "platform/ui/StdCtrls.h"

RTL_EXCEPTION(EInvalidGridOperation, Exception);

enum TGridOption : uint8_t {
  goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goDrawFocusSelected,
  goRowSizing, goColSizing, goRowMoving, goColMoving, goEditing, goTabs, goRowSelect,
  goAlwaysShowEditor, goThumbTracking
};
using TGridOptions = Set<TGridOption>;
enum TGridDrawStateItem : uint8_t { gdSelected, gdFocused, gdFixed };
using TGridDrawState = Set<TGridDrawStateItem>;
enum TGridState : uint8_t { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };

struct TGridCoord {
  int X = 0, Y = 0;
  bool operator==(const TGridCoord&) const = default;
};
struct TGridRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const TGridRect&) const = default;
};

using TSelectCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;
using TDrawCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, TRect Rect, TGridDrawState State)>;
using TGetEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, String& Value)>;
using TSetEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, const String& Value)>;
using TMovedEvent = std::function<void(TObject* Sender, int FromIndex, int ToIndex)>;

class TCustomGrid;

// Where index Index ends up when the item at From moves to To and those between shift by one.
int GridMovedIndex(int Index, int From, int To);

// ---------------------------------------------------------------------------
// The in-place editor: a masked edit over the current cell. On opening it takes the grid's
// mask (GetEditMask), length limit (GetEditLimit) and read-only answer (CanEditModify) for
// the cell, and its text (GetEditText). Each change of its text is handed to the grid
// (SetEditText), so the cell follows the typing; Enter closes it, Esc closes it with the text
// it was opened with; Up, Down, Page Up/Down and Tab (with goTabs) close it and go on to the
// grid's navigation.
// Its window is multi-line (ES_MULTILINE) unless it shows a password: the text keeps its line
// breaks (CR LF), Ctrl+Enter (character 10) inserts one, and without ES_AUTOHSCROLL long lines
// wrap at the window's width. A masked cell and a password are edited on one line.

class TInplaceEdit : public TCustomMaskEdit {
public:
  explicit TInplaceEdit(TComponent* AOwner);
  String ClassName() const override { return u"TInplaceEdit"; }
  TCustomGrid* Grid() const { return FGrid; }

  int SelStart() const override;
  void SetSelStart(int v) override;
  int SelLength() const override;
  void SetSelLength(int v) override;
  String SelText() const override;
  void SetSelText(const String& v) override;

protected:
  friend class TCustomGrid;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void ApplySettings() override;
  String GetText() const override;
  void SetTextBuf(const String& v) override;
  // A new formatting rectangle also brings the multi-line window's styles up to date.
  void Dispatch(TMessage& Message) override;
  // In the multi-line window too the clipboard keys become WM_COPY, WM_PASTE and WM_CUT to
  // the control, which decides what is pasted.
  void DefaultHandler(TMessage& Message) override;
  // Loads the text of the grid's current cell.
  virtual void UpdateContents();
  // Places the edit over the current cell.
  virtual void BoundsChanged();
  // The character typed on the grid that opened the editor: it replaces the loaded text.
  virtual void TypeFirstChar(Char Key);
  void Change() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void WMGetDlgCode(TWMGetDlgCode& Message) override;

private:
  // Whether the edit wants the multi-line window now: its style asks for lines and neither a
  // mask nor a password character needs a single line.
  bool WantsLines();
  // Gives the edit the window kind WantsLines asks for, keeping its text.
  void MatchWindowKind();
  // The user changed the multi-line window's text.
  void LinesChanged();

  TCustomGrid* FGrid = nullptr;
  String FOpenedWith;
  bool FLoading = false;
};

// ---------------------------------------------------------------------------

class TCustomGrid : public TCustomControl {
public:
  explicit TCustomGrid(TComponent* AOwner);
  ~TCustomGrid() override;
  String ClassName() const override { return u"TCustomGrid"; }

  // ---- Counts. At least 1; lowering a count to the fixed count or below lowers the fixed
  // count to count - 1. New columns and rows get the default size; the current cell and the
  // anchor are kept inside.
  int ColCount() const { return static_cast<int>(FColWidths.size()); }
  void SetColCount(int Value);
  int RowCount() const { return static_cast<int>(FRowHeights.size()); }
  void SetRowCount(int Value);
  // Fixed counts must stay below the counts: a value >= count (or < 0) raises EInvalidGridOperation.
  int FixedCols() const { return FFixedCols; }
  void SetFixedCols(int Value);
  int FixedRows() const { return FFixedRows; }
  void SetFixedRows(int Value);

  // ---- Sizes. Setting a default size gives it to every column (row) again.
  int DefaultColWidth() const { return FDefaultColWidth; }
  void SetDefaultColWidth(int Value);
  int DefaultRowHeight() const { return FDefaultRowHeight; }
  void SetDefaultRowHeight(int Value);
  // Index out of range or a negative size raises EInvalidGridOperation.
  int ColWidths(int Index) const;
  void SetColWidths(int Index, int Value);
  int RowHeights(int Index) const;
  void SetRowHeights(int Index, int Value);
  int GridLineWidth() const { return FGridLineWidth; }
  void SetGridLineWidth(int Value);  // >= 0
  int GridWidth() const;   // width of all columns with their lines
  int GridHeight() const;

  // ---- Options and look
  const TGridOptions& Options() const { return FOptions; }
  void SetOptions(const TGridOptions& Value);
  bool DefaultDrawing() const { return FDefaultDrawing; }
  void SetDefaultDrawing(bool Value);
  TColor FixedColor() const { return FFixedColor; }
  void SetFixedColor(TColor Value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  // With bsSingle: a 2-pixel sunken edge (true, the default) or a 1-pixel frame.
  bool Ctl3D() const { return FCtl3D; }
  void SetCtl3D(bool Value);
  // Which scroll bars may show; a bar shows only while its rows or columns do not fit.
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  // The grid's scroll bars (nullptr while hidden); tests read them, the grid drives them.
  TScrollBar* HorzScrollBar() const;
  TScrollBar* VertScrollBar() const;

  // ---- Current cell, selection, scrolling
  int Col() const { return FCurrent.X; }
  void SetCol(int Value);
  int Row() const { return FCurrent.Y; }
  void SetRow(int Value);
  TGridRect Selection() const;
  void SetSelection(const TGridRect& Value);
  // Makes (ACol, ARow) current through SelectCell; MoveAnchor also moves the anchor there
  // (else the selection stretches from the anchor); Show scrolls it into view.
  void MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show);
  int LeftCol() const { return FTopLeft.X; }
  void SetLeftCol(int Value);
  int TopRow() const { return FTopLeft.Y; }
  void SetTopRow(int Value);
  // Scrollable columns (rows) shown whole from LeftCol (TopRow) on.
  int VisibleColCount() const;
  int VisibleRowCount() const;
  TGridState GridState() const { return FGridState; }

  // ---- Moving. A column (row) moves to ToIndex with its size (in a string grid with its
  // cells and objects); those between shift by one. The current cell and the anchor stay on
  // the cells they were on. An index outside the count raises EInvalidGridOperation.
  void MoveColumn(int FromIndex, int ToIndex);
  void MoveRow(int FromIndex, int ToIndex);
  // ---- Rows in blocks, in one pass whatever the count. InsertRowsAt adds Count rows of the
  // default height before ARow (0..RowCount); the rows from ARow on move down with their sizes
  // (in a string grid with every stored cell from ARow on). DeleteRowsAt removes Count rows
  // from ARow: the later counted rows move up with their sizes and cells, the removed rows'
  // cells are dropped (no object is freed), cells beyond the count stay, and the fixed count
  // drops by the fixed rows removed. The current cell and anchor stay on their rows (on the
  // row that follows when theirs went). A range outside the count, or removing every row,
  // raises EInvalidGridOperation.
  void InsertRowsAt(int ARow, int Count);
  void DeleteRowsAt(int ARow, int Count);
  // Row Start + k takes the row that stood at Order[k], for k = 0..Order.size()-1, with its
  // height (in a string grid with every stored cell), all in one pass. Order must hold each
  // row of that range once, else EInvalidGridOperation is raised and nothing moves. The
  // current cell and the anchor keep their positions; no move event fires.
  void PermuteRows(int Start, const std::vector<int>& Order);

  // ---- Cells on screen (client coordinates, mirrored with the grid)
  // The rectangle of a shown cell, without its grid lines; (0, 0, 0, 0) for a cell out of view.
  TRect CellRect(int ACol, int ARow) const;
  // The cell at a point, (-1, -1) outside every cell.
  TGridCoord MouseCoord(int X, int Y) const;
  void MouseToCell(int X, int Y, int& ACol, int& ARow) const;
  void InvalidateCell(int ACol, int ARow);

  // ---- In-place editor
  bool EditorMode() const { return FEditorMode; }
  void SetEditorMode(bool Value);
  TInplaceEdit* InplaceEditor() const { return FInplaceEdit; }

  TSelectCellEvent OnSelectCell;
  TDrawCellEvent OnDrawCell;
  TNotifyEvent OnTopLeftChanged;
  TGetEditEvent OnGetEditText;
  TSetEditEvent OnSetEditText;
  TGetEditEvent OnGetEditMask;
  TMovedEvent OnColumnMoved;
  TMovedEvent OnRowMoved;

  TRect ClientRect() const override;

protected:
  friend class TInplaceEdit;
  // ---- Right to left (see the header's note)
  // Whether the grid is mirrored: UseRightToLeftAlignment.
  bool GridMirrored() const { return UseRightToLeftAlignment(); }
  // A rectangle between window and logical coordinates (either way; unchanged when not mirrored).
  TRect MirrorRect(const TRect& R) const;
  // A pixel column between window and logical coordinates (either way).
  int MirrorX(int X) const { return GridMirrored() ? FWidth - 1 - X : X; }
  // While painting a mirrored grid: turns the canvas's mirroring on or off; a no-op otherwise.
  void ChangeGridOrientation(bool RightToLeftOrientation);
  void CMBiDiModeChanged(TMessage& Message) override;
  // The gate before the current cell moves; fires OnSelectCell (default answer: true).
  virtual bool SelectCell(int ACol, int ARow);
  // Draws one cell; the base fires OnDrawCell.
  virtual void DrawCell(int ACol, int ARow, const TRect& ARect, const TGridDrawState& AState);
  virtual void TopLeftChanged();
  // Lays the scroll bars out again, as after a change of their thickness (WindowScrollBarSize).
  void ScrollBarsRestyled() { UpdateScrollBars(); Invalidate(); }
  // Scroll bars shown even while everything fits (then disabled, as there is nothing to scroll).
  void SetForcedScrollBars(bool Horz, bool Vert);
  bool ForcedHorzScrollBar() const { return FForcedHorz; }
  bool ForcedVertScrollBar() const { return FForcedVert; }
  virtual void ColWidthsChanged() {}
  virtual void RowHeightsChanged() {}
  // After a count changed (the old counts are given).
  virtual void SizeChanged(int OldColCount, int OldRowCount) { (void)OldColCount; (void)OldRowCount; }
  // After MoveColumn (MoveRow) moved the sizes; fire OnColumnMoved (OnRowMoved). The string
  // grid moves its cells here before calling these.
  virtual void ColumnMoved(int FromIndex, int ToIndex);
  virtual void RowMoved(int FromIndex, int ToIndex);
  // After PermuteRows placed the sizes; the string grid moves its cells here.
  virtual void RowsPermuted(int Start, const std::vector<int>& Order) { (void)Start; (void)Order; }
  // Removes a row (column): later ones move up (left) with their sizes, the fixed count
  // drops when a fixed one goes, and the current cell stays on its cell. The string grid
  // drops the removed cells and moves the later counted ones (cells beyond the count stay
  // where they are); no object is freed. Removing the
  // last remaining one, or an index outside the count, raises EInvalidGridOperation.
  virtual void DeleteRow(int ARow);
  virtual void DeleteColumn(int ACol);
  // After InsertRowsAt (Count > 0) or DeleteRowsAt (Count < 0) changed the sizes, before the
  // current cell moves and the new count is reported; OldCount is the count before. The string
  // grid moves its stored rows here.
  virtual void RowsShifted(int ARow, int Count, int OldCount) { (void)ARow; (void)Count; (void)OldCount; }
  // What a left press at (X, Y) starts: gsColSizing on a column's right edge (within 3
  // pixels) in the fixed rows with goColSizing, gsRowSizing on a row's bottom edge in the
  // fixed columns with goRowSizing, else gsNormal. Index is the column (row) sized and
  // SizingOfs the pointer's position less its size: the size follows the pointer from there.
  virtual void CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingOfs) const;
  // The in-place editor's factory (called once, on the first ShowEditor) and its gate.
  virtual TInplaceEdit* CreateEditor();
  // Asked by ShowEditor; a descendant may open an editor of its own here and answer false.
  virtual bool CanEditShow();
  void ShowEditor();
  // Opens the editor with a typed character, which replaces the text it loads.
  virtual void ShowEditorChar(Char Ch);
  void HideEditor();
  // Reloads an open editor from its cell and places it again.
  void InvalidateEditor();
  virtual String GetEditText(int ACol, int ARow);
  virtual void SetEditText(int ACol, int ARow, const String& Value);
  // The editor's mask (fires OnGetEditMask; "" for none), its length limit (0: none) and
  // whether it may change the text (read-only when not).
  virtual String GetEditMask(int ACol, int ARow);
  virtual int GetEditLimit() { return 0; }
  virtual bool CanEditModify() { return true; }

  void Paint() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  // A press on a sizing edge (see CalcSizingState) drags it; with goColMoving (goRowMoving)
  // a press on a scrollable column's cell in the fixed rows (a row's in the fixed columns)
  // moves that column (row) to where it is released; a press on a scrollable cell selects
  // it and dragging stretches the selection, scrolling on while the pointer is beyond the
  // scrollable cells.
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
  void Resize() override;
  void WMGetDlgCode(TWMGetDlgCode& Message) override;
  void WMSetFocus(TWMSetFocus& Message) override;
  void WMKillFocus(TWMKillFocus& Message) override;

  TGridState FGridState = gsNormal;
  // Left (top) edge of the cell area inside the border.
  int Origin() const;
  // One step of the user on a scroll bar of the grid: Code and the bar's position Pos, which
  // is given back as the position the bar is to show. The default scrolls to Pos (LeftCol or
  // TopRow): while the thumb is dragged only with goThumbTracking, on its release always;
  // scEndScroll changes nothing.
  virtual void ScrollBarScroll(TScrollBarKind Kind, TScrollCode Code, int& Pos);
  // Runs after the grid has shown, hidden and set its scroll bars; a descendant may set them
  // otherwise (the grid sets them again on its next change).
  virtual void ScrollBarsUpdated() {}
  // The grid's own bars, also while hidden (nullptr before first shown).
  TScrollBar* HorzBar() const { return FHorzBar.get(); }
  TScrollBar* VertBar() const { return FVertBar.get(); }

private:
  // Geometry along one axis: sizes, fixed count, first scrolled index and the extent.
  struct TAxis {
    const std::vector<int>* Sizes;
    int Fixed, First, Extent, Line;
  };
  TAxis ColAxis() const;
  TAxis RowAxis() const;
  // CellRect and MouseCoord in logical coordinates.
  TRect LogicalCellRect(int ACol, int ARow) const;
  TGridCoord LogicalCoord(int X, int Y) const;
  // Paint on a mirrored canvas, left to right.
  void PaintMirrored();
  // Largest LeftCol / TopRow that still fills the view from the end.
  int MaxLeftCol() const;
  int MaxTopRow() const;
  void MoveCurrent(int ACol, int ARow, bool MoveAnchor, bool Show);
  // The scrollable cells' area in view (client coordinates).
  TRect ScrollableArea() const;
  // One step of the range drag toward the pointer while it is beyond the scrollable cells.
  void DragScroll();
  void AdjustAfterMove(bool Cols, const std::function<int(int)>& NewIndex);
  void MoveItem(bool Cols, int From, int To);
  void DeleteItem(bool Cols, int Index);
  void ScrollIntoView(int ACol, int ARow);
  void SetTopLeft(int ALeftCol, int ATopRow);
  // Shows the view moved from the top-left cell Old: pixels of the scrolling rows move and only
  // the rows uncovered are painted, or the whole view is painted again.
  void ScrollView(TGridCoord Old);
  // Shows, hides and sets the scroll bars for the counts, sizes and client size.
  void UpdateScrollBars();
  void PlaceScrollBars();
  void EnableForcedScrollBars(bool HorzScrolls, bool VertScrolls);
  void ClampCurrent();
  void SelectionChanged(const TGridRect& OldSel);
  void InvalidateGridRect(const TGridRect& R);
  bool IsActive() const;

  std::vector<int> FColWidths, FRowHeights;
  int FFixedCols = 1, FFixedRows = 1;
  int FDefaultColWidth = 64, FDefaultRowHeight = 24;
  int FGridLineWidth = 1;
  TGridOptions FOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
  bool FDefaultDrawing = true;
  TColor FFixedColor;
  TBorderStyle FBorderStyle = bsSingle;
  bool FCtl3D = true;
  TScrollStyle FScrollBars = ssBoth;
  TGridCoord FCurrent{1, 1}, FAnchor{1, 1}, FTopLeft{1, 1};
  std::unique_ptr<TScrollBar> FHorzBar, FVertBar;
  bool FHorzShown = false, FVertShown = false;
  bool FForcedHorz = false, FForcedVert = false;
  // The scroll bars' width, read from the system when the bars are laid out (the cell
  // geometry asks for it all the time).
  int FBarSize = GetSystemMetrics(SM_CXVSCROLL);
  bool FScrolling = false;  // the grid is setting its bars' positions
  bool FEditorMode = false;
  TInplaceEdit* FInplaceEdit = nullptr;  // owned as a component
  int FSizingIndex = -1, FSizingOfs = 0;  // the column (row) sized or moved; see CalcSizingState
  TPoint FDragPos;  // the pointer during a range drag
  std::unique_ptr<class TTimer> FDragTimer;
  bool FPaintingMirrored = false;  // Paint runs on a mirrored canvas
};

// ---------------------------------------------------------------------------
// String grid: a text and an object per cell, kept in a sparse store addressed by any
// non-negative column and row (also beyond the counts). Changing the counts keeps every
// stored cell (raising them shows it again); only ClearCells, or writing "" and nullptr,
// removes one. Objects are never freed by the grid.

class TStringGrid;

// A row or column of a string grid as a string list: Count is the grid's column (row)
// count; reading and writing go to the cells; Assign copies texts and objects; Clear
// empties the counted cells; after it, Add and AddObject fill the cells from the first on
// (what lies beyond the count is dropped), so Assign copies the counted cells' texts and
// objects. Inserting and deleting raise EInvalidGridOperation.
class TStringGridStrings : public TStrings {
public:
  TStringGridStrings(TStringGrid* AGrid, bool AIsRow, int AIndex) : FGrid(AGrid), FIsRow(AIsRow), FIndex(AIndex) {}
  String ClassName() const override { return u"TStringGridStrings"; }
  int Count() const override;
  String Get(int Index) const override;
  void Put(int Index, const String& S) override;
  TObject* GetObject(int Index) const override;
  void PutObject(int Index, TObject* AObject) override;
  void Insert(int Index, const String& S) override;
  void Delete(int Index) override;
  void Clear() override;
  int Add(const String& S) override { return AddObject(S, nullptr); }
  int AddObject(const String& S, TObject* AObject) override;

private:
  TStringGrid* FGrid;
  bool FIsRow;
  int FIndex;
  int FNext = 0;  // where the next Add puts its string
};

class TStringGrid : public TCustomGrid {
public:
  explicit TStringGrid(TComponent* AOwner);
  ~TStringGrid() override;
  String ClassName() const override { return u"TStringGrid"; }

  // A negative index raises EInvalidGridOperation; any other is stored.
  String Cells(int ACol, int ARow) const;
  void SetCells(int ACol, int ARow, const String& Value);
  TObject* Objects(int ACol, int ARow) const;
  void SetObjects(int ACol, int ARow, TObject* Value);
  // Views of one row and one column (valid while the grid lives).
  TStrings* Rows(int Index);
  TStrings* Cols(int Index);
  void SetRows(int Index, TStrings* Value) { Rows(Index)->Assign(*Value); }
  void SetCols(int Index, TStrings* Value) { Cols(Index)->Assign(*Value); }
  // Removes every stored text and object.
  void ClearCells();
  // Number of cells holding a text or an object.
  size_t StoredCellCount() const;
  // Calls Visit for every cell of the inclusive rectangle that holds an object, in no set
  // order; the time taken follows the cells stored, not the rectangle's size. Visit may
  // change the cell it is given but no other.
  void ForEachObject(const TGridRect& R, const std::function<void(int ACol, int ARow, TObject* Obj)>& Visit);
  // The stored text of a cell without a copy ("" when none); valid until the next write to
  // the grid's cells. A negative index raises EInvalidGridOperation.
  const String& CellText(int ACol, int ARow) const;

protected:
  void DrawCell(int ACol, int ARow, const TRect& ARect, const TGridDrawState& AState) override;
  String GetEditText(int ACol, int ARow) override;
  void SetEditText(int ACol, int ARow, const String& Value) override;
  void ColumnMoved(int FromIndex, int ToIndex) override;
  void RowMoved(int FromIndex, int ToIndex) override;
  void RowsPermuted(int Start, const std::vector<int>& Order) override;
  void DeleteRow(int ARow) override;
  void DeleteColumn(int ACol) override;
  void RowsShifted(int ARow, int Count, int OldCount) override;

protected:
  struct TCell {
    String Text;
    TObject* Object = nullptr;
  };
  // One stored row: texts and objects in arrays from column 0 (the objects' array stays
  // empty while the row holds none), columns from FarColumn on in a map. A row costs
  // nothing until a cell of it is written; an empty cell past the last written one costs
  // nothing either.
  // The arrays come from the grid's pool: rows filled and emptied reuse each other's room.
  struct TCellRow {
    explicit TCellRow(std::pmr::memory_resource* Pool) : Texts(Pool), Objects(Pool) {}
    std::pmr::vector<String> Texts;
    std::pmr::vector<TObject*> Objects;
    std::unique_ptr<std::map<int, TCell>> Far;
    bool Empty() const { return Texts.empty() && Objects.empty() && (!Far || Far->empty()); }
  };
  // A stored row moved out of the store whole and back, without copying a cell: TakeRowCells
  // leaves the row empty, PutRowCells replaces the row with the one given. A taken row keeps
  // its room in the grid's pool, so it must not outlive the grid.
  TCellRow TakeRowCells(int ARow);
  void PutRowCells(int ARow, TCellRow&& Cells);
  TCellRow NewRowCells() { return TCellRow(&FPool); }
  // A cell of a row held outside the store ("" and nullptr where none is kept), its write, and
  // one past the row's last column holding a text or an object.
  static const String& RowCellText(const TCellRow& Row, int ACol);
  static TObject* RowCellObject(const TCellRow& Row, int ACol);
  void PutRowCell(TCellRow& Row, int ACol, const String& Text, TObject* Object) { PutCell(Row, ACol, TCell{Text, Object}); }
  static int RowCellWidth(const TCellRow& Row);
  // Takes the rows Rows (ascending, distinct, none past Last) out of the store in one walk
  // from the first of them to Last: each goes to Taken in order (an empty row for a row
  // holding nothing), and every other row of the walk moves up over the emptied places,
  // keeping its order, so the places at the walk's end are left empty. No cell is copied and
  // each page is looked up once.
  void CloseUpRows(std::span<const int> Rows, int Last, const std::function<void(int ARow, TCellRow&& Cells)>& Taken);

private:
  static constexpr int FarColumn = 4096;
  static constexpr int PageShift = 8;  // rows are kept in pages of 256
  struct TCellPage {
    explicit TCellPage(std::pmr::memory_resource* Pool);
    std::vector<TCellRow> Rows;
  };
  static void CheckIndex(int ACol, int ARow);
  // The stored row, nullptr when none (Make: made as needed).
  const TCellRow* FindRow(int ARow) const;
  TCellRow& MakeRow(int ARow);
  static TCell GetCell(const TCellRow& Row, int ACol);
  // Writes a cell; an emptied cell at the end of a row gives its room back.
  void PutCell(TCellRow& Row, int ACol, const TCell& Cell);
  // Calls Visit for every stored row from ARow1 to ARow2 (inclusive), in order.
  void ForEachRow(int ARow1, int ARow2, const std::function<void(int ARow, TCellRow& Row)>& Visit);
  // Moves the stored row (column) From to To, those between shifting by one.
  void MoveCells(bool IsRow, int From, int To);
  void DropCells(bool IsRow, int Index);
  // Drops a counted row (column) and moves the later counted ones up (left).
  void DeleteCells(bool IsRow, int Index);

  std::pmr::unsynchronized_pool_resource FPool;      // outlives the pages
  std::map<int, std::unique_ptr<TCellPage>> FPages;  // page number -> page
  mutable int FLastPageNo = -1;                     // the page found last
  mutable TCellPage* FLastPage = nullptr;
  bool FRowsTaken = false;  // a row was taken out: its room may still be in use
  std::map<std::pair<bool, int>, std::unique_ptr<TStringGridStrings>> FViews;
};
