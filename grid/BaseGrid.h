#pragma once
// The grid foundation: TBaseGrid over the class library's string grid. It adds a property
// record per cell (TCellProperties, kept in the cell's object slot), merged cells, merge-aware
// cell text with display hooks, its own cell painter (grid lines in its own width and
// colours, hover and active rows, selection looks), and navigation that steps over merged
// areas.
//
// Merge convention. An unmerged cell has no record, or a record with IsBaseCell and both
// spans -1. In a merged area of W x H cells the top-left cell is the base cell: IsBaseCell,
// CellSpanX = W - 1, CellSpanY = H - 1. Every other cell of the area is covered: not
// IsBaseCell, its spans are its column and row offset from the base cell. The base cell holds
// the area's text; covered cells keep their raw text, which Cells never shows.
//
// Ownership. The grid owns every cell record for its whole life, wherever the record's
// pointer is kept (ResetRow, ResetCol and ResetCell only detach a record from its slot, so
// that the string grid can move it elsewhere). A record is freed by FreeCellProperties,
// FreeCellPropertiesRect, SetCellProperties (the one it replaces) or with the grid. A user
// object (Objects) is never freed by the grid; a graphic object is freed with its record only
// when it is a "TCellGraphic" and only by FreeCellPropertiesRect and the grid's destruction.

#include <functional>
#include <memory>
#include <unordered_map>

#include "platform/ui/Grids.h"

class TBaseGrid;
class TAdvGridUndoRedo;

enum TVAlignment : uint8_t { vtaTop, vtaCenter, vtaBottom };
enum TCellGradientDirection : uint8_t { GradientVertical, GradientHorizontal };
enum TGridSelectionStyle : uint8_t { ssDefault, ssVista, ssWin7, ssOffice2007 };
// Footer calculation kind of a column.
enum TColumnCalcType : uint8_t { acNONE, acSUM, acAVG, acCOUNT, acMIN, acMAX, acSPREAD, acCUSTOM, acDISTINCT, acSTDDEV };
// The editor kind of a cell (values 0 to 41).
enum TEditorType : uint8_t {
  edNormal, edSpinEdit, edComboEdit, edComboList, edEditBtn, edCheckBox, edDateEdit, edDateEditUpDown,
  edTimeEdit, edButton, edDataCheckBox, edNumeric, edPositiveNumeric, edFloat, edCapital, edMixedCase,
  edPassword, edUnitEditBtn, edLowerCase, edUpperCase, edFloatSpinEdit, edTimeSpinEdit, edDateSpinEdit,
  edNumericEditBtn, edFloatEditBtn, edCustom, edRichEdit, edNone, edDateTimeEdit, edValidChars,
  edTrackbarDropDown, edMemoDropDown, edCalculatorDropDown, edTimePickerDropDown, edDetailDropDown,
  edGridDropDown, edColorPickerDropDown, edImagePickerDropDown, edAdvGridDropDown, edPositiveFloat,
  edNumericUnitEditBtn, edFloatUnitEditBtn
};

using TGetDisplTextEvent = std::function<void(TObject* Sender, int ACol, int ARow, String& Value)>;
using TGetDisplWideTextEvent = std::function<void(TObject* Sender, int ACol, int ARow, String& Value)>;

// ---------------------------------------------------------------------------
// The property record of one cell.

class TCellProperties : public TPersistent {
public:
  // A fresh record: no objects, a base cell with spans -1, colours clNone, the grid's word
  // wrap, everything else zero. The grid fills in the defaults of the cell when it makes one.
  TCellProperties(TBaseGrid* AOwnerGrid, int ACol, int ARow);
  // A record freed while a grid owns it leaves the grid's list of records.
  ~TCellProperties() override;
  String ClassName() const override { return u"TCellProperties"; }
  // Copies the merge state, owner cell, user object, alignments, border, brush, font,
  // read-only, editor, word wrap, node level and control; not the owner grid, the graphic
  // object, BrushColorTo, GradientDirection, CalcType, CalcObject or the paint pass.
  void Assign(TPersistent* Source) override;

  // The base cell of the area that (ACol, ARow), the cell this record belongs to, lies in.
  TPoint GetBaseCell(int ACol, int ARow) const;

  TBaseGrid* OwnerGrid() const { return FOwnerGrid; }
  int OwnerCol() const { return FOwnerCol; }
  void SetOwnerCol(int Value) { FOwnerCol = Value; }
  int OwnerRow() const { return FOwnerRow; }
  void SetOwnerRow(int Value) { FOwnerRow = Value; }
  TObject* CellObject() const { return FExtra ? FExtra->Object : nullptr; }
  void SetCellObject(TObject* Value) { SetExtra(&TExtra::Object, Value); }
  TObject* GraphicObject() const { return FExtra ? FExtra->GraphicObject : nullptr; }
  // Also marks the owner grid as one that holds graphics.
  void SetGraphicObject(TObject* Value);
  TBrushStyle BrushStyle() const { return FExtra ? FExtra->BrushStyle : bsSolid; }
  void SetBrushStyle(TBrushStyle Value) { SetExtra(&TExtra::BrushStyle, Value); }
  // The four setters below also repaint the owner cell.
  TColor BrushColor() const { return FBrushColor; }
  void SetBrushColor(TColor Value);
  TColor BrushColorTo() const { return FExtra ? FExtra->BrushColorTo : clNone; }
  void SetBrushColorTo(TColor Value);
  TVAlignment VAlignment() const { return FVAlignment; }
  void SetVAlignment(TVAlignment Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  int FontSize() const { return FFontSize; }
  void SetFontSize(int Value) { FFontSize = Value; }
  TColor FontColor() const { return FFontColor; }
  void SetFontColor(TColor Value) { FFontColor = Value; }
  TFontStyles FontStyle() const {
    TFontStyles r;
    for (TFontStyle f : {fsBold, fsItalic, fsUnderline, fsStrikeOut})
      if (FFontStyle & (1u << f)) r.Include(f);
    return r;
  }
  void SetFontStyle(const TFontStyles& Value) {
    FFontStyle = 0;
    for (TFontStyle f : {fsBold, fsItalic, fsUnderline, fsStrikeOut})
      if (Value.Contains(f)) FFontStyle |= static_cast<uint8_t>(1u << f);
  }
  const String& FontName() const { return *FFontName; }
  void SetFontName(const String& Value) { FFontName = InternFontName(Value); }
  int CellSpanX() const { return FCellSpanX; }
  void SetCellSpanX(int Value) { FCellSpanX = Value; }
  int CellSpanY() const { return FCellSpanY; }
  void SetCellSpanY(int Value) { FCellSpanY = Value; }
  bool IsBaseCell() const { return FIsBaseCell; }
  void SetIsBaseCell(bool Value) { FIsBaseCell = Value; }
  int BorderWidth() const { return FExtra ? FExtra->BorderWidth : 0; }
  void SetBorderWidth(int Value) { SetExtra(&TExtra::BorderWidth, Value); }
  TColor BorderColor() const { return FExtra ? FExtra->BorderColor : 0; }
  void SetBorderColor(TColor Value) { SetExtra(&TExtra::BorderColor, Value); }
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value) { FAlignment = Value; }
  TColumnCalcType CalcType() const { return FExtra ? FExtra->CalcType : acNONE; }
  void SetCalcType(TColumnCalcType Value) { SetExtra(&TExtra::CalcType, Value); }
  TObject* CalcObject() const { return FExtra ? FExtra->CalcObject : nullptr; }
  void SetCalcObject(TObject* Value) { SetExtra(&TExtra::CalcObject, Value); }
  int NodeLevel() const { return FExtra ? FExtra->NodeLevel : 0; }
  void SetNodeLevel(int Value) { SetExtra(&TExtra::NodeLevel, Value); }
  TEditorType Editor() const { return FEditor; }
  void SetEditor(TEditorType Value) { FEditor = Value; }
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value) { FReadOnly = Value; }
  TCellGradientDirection GradientDirection() const { return FExtra ? FExtra->GradientDirection : GradientVertical; }
  void SetGradientDirection(TCellGradientDirection Value) { SetExtra(&TExtra::GradientDirection, Value); }
  TControl* Control() const { return FExtra ? FExtra->Control : nullptr; }
  void SetControl(TControl* Value) { SetExtra(&TExtra::Control, Value); }

private:
  friend class TBaseGrid;
  void RepaintOwner();

  // What most attributed cells leave at its default (user and graphic objects included), kept
  // in a side record made on the first write of another value, so that a cell with a colour or
  // font stays small.
  struct TExtra {
    TObject* Object = nullptr;
    TObject* GraphicObject = nullptr;
    TColor BrushColorTo = clNone;
    TColor BorderColor = 0;
    int BorderWidth = 0;
    int NodeLevel = 0;
    TObject* CalcObject = nullptr;
    TControl* Control = nullptr;
    TColumnCalcType CalcType = acNONE;
    TCellGradientDirection GradientDirection = GradientVertical;
    TBrushStyle BrushStyle = bsSolid;
  };
  template <class T>
  void SetExtra(T TExtra::* Member, T Value) {
    if (!FExtra) {
      if (Value == TExtra().*Member) return;
      FExtra = std::make_unique<TExtra>();
    }
    (*FExtra).*Member = Value;
  }
  // Font names are few: each is kept once for the process and records point at it.
  static const String* InternFontName(const String& Name);

  // The grid the record repaints; with FListed also the grid that owns it, in whose list of
  // records it stands between FPrevRecord and FNextRecord.
  TBaseGrid* FOwnerGrid;
  TCellProperties* FPrevRecord = nullptr;
  TCellProperties* FNextRecord = nullptr;
  const String* FFontName;
  std::unique_ptr<TExtra> FExtra;
  int FOwnerCol, FOwnerRow;
  TColor FBrushColor = clNone;
  int FFontSize = 0;
  TColor FFontColor = clNone;
  int FCellSpanY = -1;
  int FCellSpanX = -1;
  int FPaintID = 0;  // the paint pass in which this base cell's area was last painted
  uint8_t FFontStyle = 0;  // a bit per TFontStyle
  TAlignment FAlignment = taLeftJustify;
  TVAlignment FVAlignment = vtaTop;
  TEditorType FEditor = edNormal;
  bool FWordWrap : 1 = false;
  bool FIsBaseCell : 1 = true;
  bool FReadOnly : 1 = false;
  bool FListed : 1 = false;
};

// ---------------------------------------------------------------------------

// The class library's string grid under the name the grids derive from.
class TObjStringGrid : public TStringGrid {
public:
  explicit TObjStringGrid(TComponent* AOwner) : TStringGrid(AOwner) {}
  String ClassName() const override { return u"TObjStringGrid"; }
};

class TBaseGrid : public TObjStringGrid {
public:
  // Default drawing off, grid lines drawn by the grid itself (1 pixel, clSilver; fixed cells
  // clGray), active and hover rows off in clInfoBk, selection style ssDefault, word wrap on.
  explicit TBaseGrid(TComponent* AOwner);
  ~TBaseGrid() override;
  String ClassName() const override { return u"TBaseGrid"; }

  // ---- Look. The active-row colours and SelectionStyle repaint on a change, the line
  // colours on every write; the hover settings and WordWrap only store.
  bool ActiveRowShow() const { return FActiveRowShow; }
  void SetActiveRowShow(bool Value);
  TColor ActiveRowColor() const { return FActiveRowColor; }
  void SetActiveRowColor(TColor Value);
  TColor ActiveRowColorTo() const { return FActiveRowColorTo; }
  void SetActiveRowColorTo(TColor Value);
  TColor ActiveRowMirrorColor() const { return FActiveRowMirrorColor; }
  void SetActiveRowMirrorColor(TColor Value);
  TColor ActiveRowMirrorColorTo() const { return FActiveRowMirrorColorTo; }
  void SetActiveRowMirrorColorTo(TColor Value);
  TGridSelectionStyle SelectionStyle() const { return FSelectionStyle; }
  void SetSelectionStyle(TGridSelectionStyle Value);
  // Read back only: the class library's own cell drawing stays off.
  bool DefaultDrawing() const { return FDefaultDrawing; }
  void SetDefaultDrawing(bool Value);
  // The width of the lines between normal cells; the class library's line width stays 0 and
  // the cell painter draws every line inside the cells.
  int GridLineWidth() const { return FGridLineWidth; }
  void SetGridLineWidth(int Value);
  TColor GridLineColor() const { return FGridLineColor; }
  void SetGridLineColor(TColor Value);
  TColor GridFixedLineColor() const { return FGridFixedLineColor; }
  void SetGridFixedLineColor(TColor Value);
  bool HoverRow() const { return FHoverRow; }
  void SetHoverRow(bool Value) { FHoverRow = Value; }
  TColor HoverRowColor() const { return FHoverRowColor; }
  void SetHoverRowColor(TColor Value) { FHoverRowColor = Value; }
  TColor HoverRowColorTo() const { return FHoverRowColorTo; }
  void SetHoverRowColorTo(TColor Value) { FHoverRowColorTo = Value; }
  // The row under the mouse (-1 for none), kept by the string grid.
  int HoverRowIdx() const { return FHoverRowIdx; }
  void SetHoverRowIdx(int Value) { FHoverRowIdx = Value; }
  // Word wrap of new cell records.
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value) { FWordWrap = Value; }
  // Whether the selection is shown (the string grid switches it).
  bool ShowSel() const { return FShowSel; }
  void SetShowSel(bool Value) { FShowSel = Value; }
  // The last row holds footer values and is painted blank.
  bool HideLastRow() const { return FHideLastRow; }
  void SetHideLastRow(bool Value) { FHideLastRow = Value; }
  // Rows below this index pass through the display hooks (the string grid sets it).
  int NormalRowCount() const { return FNormalRowCount; }
  void SetNormalRowCount(int Value) { FNormalRowCount = Value; }
  // Set when the first cell record was made; the string grid clears it when it empties the grid.
  bool HasCellProps() const { return FHasCellProps; }
  // False while no cell of the grid has held a graphic object (none can be a node, a check
  // box or a picture then); once true it stays true.
  bool GraphicsHeld() const { return FGraphicsHeld; }
  void SetHasCellProps(bool Value) { FHasCellProps = Value; }
  // The current paint pass (rises after each paint of the grid).
  int PaintID() const { return FPaintID; }
  // The linked undo component; linking sets its Grid to this grid. Forgotten when it is freed.
  TAdvGridUndoRedo* UndoRedo() const { return FUndoRedo; }
  void SetUndoRedo(TAdvGridUndoRedo* Value);

  // ---- Cell text and objects, merge-aware: a cell of a merged area reads and writes its
  // base cell. A negative index raises EInvalidGridOperation.
  String Cells(int ACol, int ARow) { return GetCellEx(ACol, ARow); }
  void SetCells(int ACol, int ARow, const String& Value) { SetCellEx(ACol, ARow, Value); }
  // The user object inside the cell's record (nullptr without a record).
  TObject* Objects(int ACol, int ARow) const { return GetObjectEx(ACol, ARow); }
  void SetObjects(int ACol, int ARow, TObject* Value) { SetObjectEx(ACol, ARow, Value); }
  TObject* GraphicObjects(int ACol, int ARow) const { return GetGraphicObjectEx(ACol, ARow); }
  void SetGraphicObjects(int ACol, int ARow, TObject* Value) { SetGraphicObjectEx(ACol, ARow, Value); }
  // The cell's record, made with the cell's defaults on first use.
  TCellProperties* CellProperties(int ACol, int ARow) { return GetCellProperties(ACol, ARow); }
  // Frees the record the slot held (unless it is Value) and stores Value, which the grid owns
  // from then on.
  void SetCellProperties(int ACol, int ARow, TCellProperties* Value);
  // The raw text and object slot of the store: no merge redirection, no hooks.
  String GridCells(int ACol, int ARow) const { return TStringGrid::Cells(ACol, ARow); }
  void SetGridCells(int ACol, int ARow, const String& Value) { TStringGrid::SetCells(ACol, ARow, Value); }
  TObject* GridObjects(int ACol, int ARow) const { return TStringGrid::Objects(ACol, ARow); }
  void SetGridObjects(int ACol, int ARow, TObject* Value) { TStringGrid::SetObjects(ACol, ARow, Value); }

  // Read: the base cell's raw text; in rows below NormalRowCount through GetDisplText and,
  // with OnGetDisplWideText assigned, unpacked, through GetDisplWideText and packed again
  // ("|\" form).
  virtual String GetCellEx(int ACol, int ARow);
  // Write: a cell with a record stores into its base cell, calls CellTextChanged and repaints
  // the cell; a cell without one stores directly. With HideLastRow, writing the last row
  // calls LastRowChanged.
  virtual void SetCellEx(int ACol, int ARow, const String& Value);
  TObject* GetObjectEx(int ACol, int ARow) const;
  // Both store through a " " / "" bracket of SetCellEx on an empty cell.
  void SetObjectEx(int ACol, int ARow, TObject* Value);
  TObject* GetGraphicObjectEx(int ACol, int ARow) const;
  void SetGraphicObjectEx(int ACol, int ARow, TObject* Value);
  TCellProperties* GetCellProperties(int ACol, int ARow);
  static TObject* PropsGraphicObject(TCellProperties* Props) { return Props ? Props->GraphicObject() : nullptr; }

  // True for a cell inside 0..TotalColCount-1 x 0..RowCount-1 whose slot holds a record;
  // never makes one. Every merge query treats other cells as unmerged.
  bool HasCellProperties(int ACol, int ARow) const;
  // Frees the cell's record (not its objects) and clears the slot.
  void FreeCellProperties(int ACol, int ARow);
  // Frees the records of the inclusive rectangle and their "TCellGraphic" graphic objects.
  void FreeCellPropertiesRect(int ACol1, int ARow1, int ACol2, int ARow2);
  // Detach records from their slots without freeing them and clear the raw text (ResetCell
  // first writes "" through SetCellEx).
  void ResetRow(int ARow);
  void ResetCol(int ACol);
  void ResetCell(int ACol, int ARow);

  // ---- Merge queries
  TPoint BaseCell(int ACol, int ARow) const;
  bool IsBaseCell(int ACol, int ARow) const;
  // BCol/BRow := the base cell; true when the cell is unmerged or is the base cell itself.
  bool FindBaseCell(int ACol, int ARow, int& BCol, int& BRow) const;
  // The area's spans (W - 1, H - 1) for any of its cells; (0, 0) for an unmerged cell.
  TPoint CellSpan(int ACol, int ARow) const;
  // Columns and rows of the area right of and below the cell.
  TPoint CellExt(int ACol, int ARow) const;
  // The area in cell coordinates (Right/Bottom inclusive).
  TRect FullCell(int ACol, int ARow) const;
  bool IsMergedCell(int ACol, int ARow) const;
  bool IsMergedNonBaseCell(int ACol, int ARow) const;
  bool IsXMergedCell(int ACol, int ARow) const;
  bool IsYMergedCell(int ACol, int ARow) const;
  // The smallest positive vertical span in a row (RowCount when none); the largest (>= 0).
  int MinRowSpan(int ARow) const;
  int MaxRowSpan(int ARow) const;
  bool RowSpanIdentical(int ARow1, int ARow2) const;
  bool ColSpanIdentical(int ACol1, int ACol2) const;

  // ---- Geometry (client coordinates)
  // One cell's rectangle from the sizes, also out of view.
  TRect CalcCellRect(int ACol, int ARow) const;
  // A merged cell: its whole area; otherwise the cell's size at the class library's corner
  // of the cell (the client origin for a cell out of view).
  TRect CellRect(int ACol, int ARow) const;
  TPoint CellSize(int ACol, int ARow) const;
  void RepaintCell(int ACol, int ARow);
  int FixedColsWidth() const;
  int FixedRowsHeight() const;
  // Moves the current cell to its base cell when it lies in a merged area.
  void MoveToBaseCell();

  // ---- Painting any cell on any canvas: completely, or background and lines only.
  void PaintCell(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState);
  void PaintCellExt(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState);

  // ---- Virtual operations the string grid overrides.
  virtual bool IsFixed(int ACol, int ARow) { (void)ACol; (void)ARow; return false; }
  virtual int GetNodeIndent(int ARow) { (void)ARow; return 0; }
  // With nodes column 0 has no horizontal grid line.
  virtual bool HasNodes() { return false; }
  virtual bool HasCustomCellBorders() { return false; }
  // A real column's display column.
  virtual int DisplColIndex(int ACol) { return ACol; }
  // Merges the SpanX x SpanY area from (ACol, ARow): the part inside the grid
  // (TotalColCount x RowCount) becomes one area based at its top-left cell; spans below 1
  // merge nothing. Texts stay where they are.
  virtual void MergeCells(int ACol, int ARow, int SpanX, int SpanY);
  // Splits the area the cell lies in back into single cells.
  virtual void SplitCells(int ACol, int ARow);
  // Columns including hidden ones (the string grid adds them).
  virtual int TotalColCount() const { return ColCount(); }

  TGetDisplTextEvent OnGetDisplText;
  TGetDisplWideTextEvent OnGetDisplWideText;

protected:
  // Draws the cell's text on one line, centred both ways.
  virtual void DrawCellContents(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState);
  // After a cell of the last row changed while HideLastRow is set.
  virtual void LastRowChanged() {}
  virtual void GetDisplText(int ACol, int ARow, String& Value);
  virtual void GetDisplWideText(int ACol, int ARow, String& Value);
  // The starting values of a new cell record: the grid's font and Color, colours clNone,
  // left and top aligned, the grid's word wrap, vertical gradient.
  virtual void GetCellDefaults(int ACol, int ARow, TFont* AFont, TBrush* ABrush, TColor& ColorTo, TColor& MirrorColor,
                               TColor& MirrorColorTo, TAlignment& HAlign, TVAlignment& VAlign, bool& WordWrap,
                               TCellGradientDirection& GradientDirection);
  // After SetCellEx stored the text of a base cell.
  virtual void CellTextChanged(int ACol, int ARow) { (void)ACol; (void)ARow; }
  // The look of a cell for painting; the base leaves every value as the painter set it.
  virtual void GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, bool Print, bool Select, bool Remap,
                                   TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor, TColor& AMirrorColorTo,
                                   TFont* AFont, TAlignment& HA, TVAlignment& VA, bool& WW,
                                   TCellGradientDirection& GD);

  // The cell painter: Full paints a grid cell completely over its whole (merged) rectangle,
  // otherwise only background and lines into ARect.
  void DoPaintCell(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState, bool Full);

  void Paint() override;
  void DrawCell(int ACol, int ARow, const TRect& ARect, const TGridDrawState& AState) override;
  // Repaints the old and the new current cell around the class library's answer.
  bool SelectCell(int ACol, int ARow) override;
  // Arrow keys leave a merged area past its far edge (Left and Up land beside it), Page Down
  // respects the hidden last row; the current cell ends on a base cell.
  void KeyDown(Word& Key, TShiftState Shift) override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
  // Repaints merged cells of the fixed rows and columns that scroll beside the fixed cells.
  void TopLeftChanged() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  // Frees a record the grid owns; Graphic also frees its "TCellGraphic" graphic object.
  void FreeRecord(TCellProperties* Props, bool Graphic);
  // The record of a cell (nullptr without one), unguarded by the counts.
  TCellProperties* Record(int ACol, int ARow) const;
  // The record of a cell inside the counts, else nullptr.
  TCellProperties* GuardedRecord(int ACol, int ARow) const;
  TCellProperties* MakeRecord(int ACol, int ARow);

  bool FDefaultDrawing = false;
  int FGridLineWidth = 1;
  TColor FGridLineColor = clSilver;
  TColor FGridFixedLineColor = clGray;
  int FPaintID = 1;
  bool FHideLastRow = false;
  int FNormalRowCount = 0;
  TAdvGridUndoRedo* FUndoRedo = nullptr;
  bool FWordWrap = true;
  bool FActiveRowShow = false;
  TColor FActiveRowColor = clInfoBk;
  TColor FActiveRowColorTo = clNone;
  TColor FActiveRowMirrorColor = clNone;
  TColor FActiveRowMirrorColorTo = clNone;
  TGridSelectionStyle FSelectionStyle = ssDefault;
  int FHoverRowIdx = -1;
  bool FHoverRow = false;
  TColor FHoverRowColor = clInfoBk;
  TColor FHoverRowColorTo = clNone;
  bool FShowSel = true;
  bool FHasCellProps = false;
  bool FGraphicsHeld = false;  // a record of the grid has held a graphic object
  bool FPainting = false;  // inside a paint pass of the grid
  // Every record the grid made or was given, wherever its pointer is kept: a list linked
  // through the records themselves.
  friend class TCellProperties;
  TCellProperties* FFirstRecord = nullptr;
  void AdoptRecord(TCellProperties* Props);
  void UnlinkRecord(TCellProperties* Props);
  bool OwnsRecord(const TCellProperties* Props) const { return Props->FListed && Props->FOwnerGrid == this; }
};
