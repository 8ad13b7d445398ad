#pragma once
// The string grid DEreDuzeroVaro: a TBaseGrid with per-cell graphics, looks, settings objects
// and the virtual hooks through which it makes its decisions (each hook decides first, then
// fires its event, so a descendant can change the decision by overriding).
//
// Lifecycle. Create builds a grid with its defaults and settings objects; CreateWnd starts
// the grid timer (id 111, 500 ms) and, when the owner is a form, subscribes to the form's
// size changes (the form's own OnResize is left alone); Loaded finishes streaming; Destroy
// frees what the grid owns and clears the module-wide focus-frame owner when it is this grid.

#include <memory>
#include <span>
#include <vector>

#include "controls/AdvHintInfo.h"
#include "controls/AdvStyleIF.h"
#include "controls/PictureContainer.h"
#include "controls/VevAzez.h"  // TCellShape of cell shapes
#include "grid/AdvGridFloatingFooter.h"
#include "grid/AdvGridSettings.h"
#include "grid/AdvObj.h"
#include "grid/BaseGrid.h"
#include "grid/FocusHelper.h"
#include "grid/SyncGrid.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/LargeBlocks.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImgList.h"
#include "platform/win/FlatSB.h"

class DEreDuzeroVaro;
class TGridFocusWindow;
class TArrowWindow;
class TWindowPosWatch;

enum TGridLook : uint8_t { glStandard, glSoft, glClassic, glZOL, glXP, glListView, glVista, glWin7, glOffice2007, glCustom };
enum TScrollType : uint8_t { ssNormal, ssFlat, ssEncarta, ssMetro };
enum TScrollBarAlways : uint8_t { saNone, saVert, saHorz, saBoth };
enum TIntelliPan : uint8_t { ipVertical, ipHorizontal, ipBoth, ipNone };  // properties
enum TScrollHintType : uint8_t { shNone, shVertical, shHorizontal, shBoth };  // properties
enum TInvalidEntryIcon : uint8_t { ieNone, ieInfo, ieWarning, ieError };
enum THoverFixedCells : uint8_t { hfNone, hfAll, hfFixedRows, hfFixedColumns };
enum TMouseSelectMode : uint8_t { msNormal, msColumn, msRow, msAll, msURL, msResize };
enum TSortStyle : uint8_t {
  ssAutomatic, ssAlphabetic, ssNumeric, ssDate, ssAlphaNoCase, ssAlphaCase, ssShortDateEU, ssShortDateUS, ssCustom,
  ssFinancial, ssAnsiAlphaCase, ssAnsiAlphaNoCase, ssRaw, ssHTML, ssImages, ssCheckBox, ssDateTime, ssTime,
  ssAlphaNumeric, ssAlphaNumericNoCase
};
enum TSearchAction : uint8_t { saFindFirst, saFindPrevious, saFindNext };
enum TCellBorder : uint8_t { cbTop, cbLeft, cbRight, cbBottom };
using TCellBorders = Set<TCellBorder>;
enum TGridExportState : uint8_t { esExportStart, esExportNewRow, esExportDone, esExportSelRow, esExportFail, esExportNextRow };
enum TGridImportState : uint8_t { isImportStart, isImportNewRow, isImportDone, isImportSelRow };

// The module-wide owner of the focus frame: the grid whose editor shows the glow, or nullptr.
// A grid that goes clears it when it is the owner.
extern DEreDuzeroVaro* FocusFrameGrid;
// The cursor shown over links and anchors.
extern TCursor GridLinkCursor;

// ---- Events (Sender is the grid)
using TClickCellEvent = std::function<void(TObject* Sender, int ARow, int ACol)>;
using TCanEditCellEvent = std::function<void(TObject* Sender, int ARow, int ACol, bool& CanEdit)>;
using TSearchFooterActionEvent = std::function<void(TObject* Sender, const String& Value, int ACol, int ARow, TSearchAction Action)>;
using TButtonClickEvent = std::function<void(TObject* Sender, int ACol, int ARow)>;
using TExpandClickEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool Expanded)>;
using TComboRowColEvent = std::function<void(TObject* Sender, int ARow, int ACol)>;
using TGetCellCursorEvent = std::function<void(TObject* Sender, int ACol, int ARow, int X, int Y, TCursor& ACursor)>;
using TGridHintEvent = std::function<void(TObject* Sender, int ARow, int ACol, String& HintStr)>;
using TOfficeHintEvent = std::function<void(TObject* Sender, int ACol, int ARow, TAdvHintInfo* OfficeHint)>;
using TGridColorEvent = std::function<void(TObject* Sender, int ARow, int ACol, TGridDrawState AState, TBrush* ABrush, TFont* AFont)>;
using TGridBorderEvent = std::function<void(TObject* Sender, int ARow, int ACol, TPen* APen, TCellBorders& Borders)>;
using TGridAlignEvent = std::function<void(TObject* Sender, int ARow, int ACol, TAlignment& HAlign, TVAlignment& VAlign)>;
using TGridFormatEvent = std::function<void(TObject* Sender, int ACol, TSortStyle& AStyle, String& APrefix, String& ASuffix)>;
using TGetEditorTypeEvent = std::function<void(TObject* Sender, int ACol, int ARow, TEditorType& AEditor)>;
using TRowColFlagEvent = std::function<void(TObject* Sender, int ARow, int ACol, bool& Flag)>;
using TColRowFlagEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& Flag)>;
using TGetCheckEvent = std::function<void(TObject* Sender, int ACol, int ARow, String& Value)>;
using TGetColumnFilterEvent = std::function<void(TObject* Sender, int Column, TStrings* Filter)>;
using TCanAddRowEvent = std::function<void(TObject* Sender, bool& CanAdd)>;
using TCanInsertRowEvent = std::function<void(TObject* Sender, int ARow, bool& CanInsert)>;
using TCheckBoxClickEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool State)>;
using TRatingChangeEvent = std::function<void(TObject* Sender, int ACol, int ARow, double& NewRate, bool& Allow)>;
using TUpdateColumnSizeEvent = std::function<void(TObject* Sender, int ACol, int& AWidth)>;
using TCellsChangedEvent = std::function<void(TObject* Sender, TRect R)>;
using TSelectionChangedEvent = std::function<void(TObject* Sender, int ALeft, int ATop, int ARight, int ABottom)>;
using TFixedEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, TGridFixedCellEditor& AEditor, TStrings* Values)>;
using TPrintGetPageNumEvent = std::function<void(TObject* Sender, int PageNum, int PageColNum, String& PageNumString)>;
using TCellValueEvent = std::function<void(TObject* Sender, int ACol, int ARow, String& Value)>;
using TAutoRowEvent = std::function<void(TObject* Sender, int ARow)>;
using TCustomFilterEvent = std::function<void(TObject* Sender, int ARow, bool& AcceptRow)>;

// The grid's error for grid, cell and file failures.
RTL_EXCEPTION(VUreReriVorov, Exception);

// ==== Cell objects: types (AdvGridCellObjects*.cpp) ====
// The icon of a cell balloon (as the tooltip's title icon numbers it).
enum TBalloonIcon : uint8_t { biNone, biInfo, biWarning, biError };
// Page size and range of a cell scroll bar.
struct TScrollProp {
  int PageSize = 0;
  int Range = 0;
};
// ==== end of cell objects: types ====

// Told of every change of a rectangle of cells, after the grid's own OnCellsChanged.
class TGridChangeNotifier : public TComponent {
public:
  explicit TGridChangeNotifier(TComponent* AOwner) : TComponent(AOwner) {}
  String ClassName() const override { return u"TGridChangeNotifier"; }
  virtual void CellsChanged(TRect R) { (void)R; }
};

class DEreDuzeroVaro : public TBaseGrid, public IZOLStyle, public IZOLTones {
public:
  explicit DEreDuzeroVaro(TComponent* AOwner);
  ~DEreDuzeroVaro() override;
  String ClassName() const override { return u"DEreDuzeroVaro"; }

  // Copies settings, sizes and then the cells of another DEreDuzeroVaro; any other source is
  // ignored.
  void Assign(TPersistent* Source) override;
  // Copies the cells of another DEreDuzeroVaro through the text grid stream.
  virtual void AssignCells(TPersistent* Source);
  // The text grid stream: UTF-16 lines "cols,rows", "cw col,width" per column, then
  // "col,row,text" per non-empty cell of the save range (positions relative to its start).
  void SaveToStream(TStream* Stream);
  // Reads such a block from the stream's position and stops, with the position restored, at
  // the first line that is not part of it. A number that is not an integer raises
  // EConvertError; the cells stored before it stay.
  void LoadFromStream(TStream* Stream);

  // The edit-change flag set by the editing path suppresses one repaint.
  void Invalidate() override;
  // With IntegralHeight the height is rounded down to whole default rows.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  virtual int GetVersionNr() { return 0x06000401; }
  // "6.0.4.1 Jan, 2012".
  virtual String GetVersionString();
  // "6.0.4.1"; writes are ignored.
  String Version();
  void SetVersion(const String&) {}

  // The cell's font: the grid's Font for a cell without a property record, else a scratch
  // font loaded from the record (valid until the next call).
  TFont* GetCellFont(int i, int j);
  // The first form up the Parent chain, nullptr when none.
  static TCustomForm* FindParentForm(TControl* Control);

  // ---- Counts and sizes, keeping the remembered fixed minimum with FixedRowAlways and
  // FixedColAlways and the largest counts seen.
  void SetRowCount(int Value);
  void SetColCount(int Value);
  int FixedRows() const;
  void SetFixedRows(int Value);
  void SetFixedCols(int Value);
  void SetDefaultRowHeight(int Value);
  int FixedRowHeight() const { return FFixedRowHeight; }
  void SetFixedRowHeight(int Value);
  int FixedColWidth() const { return ColCount() > 0 ? ColWidths(0) : 0; }
  void SetFixedColWidth(int Value);
  int MaxRowCount() const { return FMaxRowCount; }
  int MaxColCount() const { return FMaxColCount; }
  // Columns and rows outside the save range when fixed cells are not saved.
  // The save range of every export.
  int SaveStartCol() const;
  int SaveStartRow() const;
  int SaveEndCol() const;
  int SaveEndRow() const;
  int SaveColCount() const;
  int SaveRowCount() const;

  // ---- Column stretching. With ColumnSize.Stretch column ACol (-1: the last) takes the
  // client width the other columns leave. An index >= ColCount raises Exception "Stretch
  // column index out of range".
  void StretchColumn(int ACol);
  void StretchRightColumn() { StretchColumn(ColCount() - 1); }
  // Remembers the column widths and the grid width as the reference for width synchronisation.
  void InitOrigColSizes();
  // The displayed columns' widths in ColumnSize's store ("Col0", "Col1", ... in the section
  // ColumnSize.Section of the ini file or registry key ColumnSize.Key); nothing without a key
  // or a section. A store that cannot be written raises its error. With ColumnSize.Save the
  // grid loads them with its window and after loading, and saves them when it goes.
  void SaveColSizes();
  void LoadColSizes();

  // ---- Settings objects (owned; the setters copy into them)
  TPrintSettings* PrintSettings() const { return FPrintSettings.get(); }
  THTMLSettings* HTMLSettings() const { return FHTMLSettings.get(); }
  TColumnSize* ColumnSize() const { return FColumnSize.get(); }
  TCellNode* CellNode() const { return FCellNode.get(); }
  TSizeWhileTyping* SizeWhileTyping() const { return FSizeWhileTyping.get(); }
  TNavigation* Navigation() const { return FNavigation.get(); }
  TMouseActions* MouseActions() const { return FMouseActions.get(); }
  TBands* Bands() const { return FBands.get(); }
  TSearchFooter* SearchFooter() const { return FSearchFooter.get(); }
  TGrouping* Grouping() const { return FGrouping.get(); }
  TFilter* Filter() const { return FFilter.get(); }
  void SetFilter(TFilter* Value) { FFilter->Assign(Value); }
  TSortSettings* SortSettings() const { return FSortSettings.get(); }
  void SetSortSettings(TSortSettings* Value) { FSortSettings->Assign(Value); }
  TFilterDropDown* FilterDropDown() const { return FFilterDropDown.get(); }
  void SetFilterDropDown(TFilterDropDown* Value) { FFilterDropDown->Assign(Value); }
  TDragScrollOptions* DragScrollOptions() const { return FDragScrollOptions.get(); }
  void SetDragScrollOptions(TDragScrollOptions* Value) { FDragScrollOptions->Assign(Value); }
  TControlLook* ControlLook() const { return FControlLook.get(); }
  TGridProgressAppearance* ProgressAppearance() const { return FProgressAppearance.get(); }
  void SetProgressAppearance(TGridProgressAppearance* Value) { FProgressAppearance->Assign(Value); }
  TBalloonSettings* Balloon() const { return FBalloonSettings.get(); }
  void SetBalloon(TBalloonSettings* Value) { FBalloonSettings->Assign(Value); }
  TShowModified* ShowModified() const { return FShowModified.get(); }
  void SetShowModified(TShowModified* Value) { FShowModified->Assign(Value); }
  TBackGround* BackGround() const { return FBackGround.get(); }
  void SetBackGround(TBackGround* Value) { FBackGround->Assign(Value); }
  TSyncGrid* SyncGrid() const { return FSyncGrid.get(); }
  TFocusHelper* FocusHelper() const { return FFocusHelper.get(); }
  TAdvHintInfo* OfficeHint() const { return FOfficeHint.get(); }
  TFont* FixedFont() const { return FFixedFont.get(); }
  TFont* ActiveCellFont() const { return FActiveCellFont.get(); }
  void SetActiveCellFont(TFont* Value);
  TBitmap* RowIndicator() const { return FRowIndicator.get(); }
  TStringList* ColumnHeaders() const { return FColumnHeaders.get(); }
  TStringList* RowHeaders() const { return FRowHeaders.get(); }
  TStringList* LookupItems() const { return FLookupItems.get(); }
  TStringList* FilterList() const { return FFilterList.get(); }
  TSortIndexList* SortIndexes() const { return FSortIndexes.get(); }
  TIntList* IgnoreColumns() const { return FIgnoreColumns.get(); }
  TIntList* MergedColumns() const { return FMergedColumns.get(); }
  TIntList* ColumnOrder() const { return FColumnOrder.get(); }
  TControlList* ControlList() const { return FControlList.get(); }
  THTMLPictureCache* ImageCache() const { return FImageCache.get(); }
  // The number of hidden rows (kept out of the grid in the hidden-row store).
  int NumHiddenRows() const { return static_cast<int>(FGridItems.size()); }
  int NumHiddenColumns() const { return FNumHidden; }
  // The focus glow and the four move arrows (nullptr until made at run time).
  TGridFocusWindow* FocusWindow() const { return FFocusWindow; }
  TArrowWindow* Arrow(int Index) const { return FArrows[Index]; }

  // ==== Hidden columns and rows, real and display indexes (AdvGridHidden.cpp) ====
  // A hidden column keeps its cells at its real index: Cells and the cell operations take
  // real columns, display column d shows real column RealColIndex(d). Real columns 0 to 511
  // can be hidden; a larger index is never hidden and maps to itself. A hidden row leaves the
  // grid for the hidden-row store (its stored cells, texts and cell records over every column,
  // moved there whole, with its real index, height, column count and filter level) and comes
  // back with all of it.
  int RealColIndex(int ACol);
  int DisplColIndex(int ACol) override;
  int DisplToRealCol(int ACol) { return RealColIndex(ACol); }
  int RealToDisplCol(int ACol) { return DisplColIndex(ACol); }
  // Real row of a display row: the ARow-th shown row; display row of a real row: ARow less the
  // hidden rows below it.
  int RealRowIndex(int ARow);
  int DisplRowIndex(int ARow);
  int DisplToRealRow(int ARow) { return RealRowIndex(ARow); }
  int RealToDisplRow(int ARow) { return DisplRowIndex(ARow); }
  // The current column and row as real indexes.
  int RealCol() { return RealColIndex(Col()); }
  int RealRow() { return RealRowIndex(Row()); }
  bool IsHiddenColumn(int Colindex) const;
  bool IsHiddenRow(int Rowindex);
  // The same, answered from ListHidden, made on the first call (null on entry) from the hidden
  // rows' real indexes and reused by the caller across calls.
  bool IsHiddenRow(int Rowindex, std::unique_ptr<TIntList>& ListHidden);
  int TotalRowCount() const { return RowCount() + NumHiddenRows(); }
  bool IsIgnoredColumn(int ACol) { return FIgnoreColumns->HasValue(ACol); }
  // Hiding and showing take real indexes. The last shown column is never hidden, nor the
  // last shown row; hiding what is hidden and showing what is shown do nothing.
  void HideColumn(int ColIndex) { HideColumns(ColIndex, ColIndex); }
  void UnHideColumn(int ColIndex) { UnHideColumns(ColIndex, ColIndex); }
  void HideColumns(int FromCol, int ToCol);
  void UnHideColumns(int FromCol, int ToCol);
  void UnHideColumnsAll() { UnHideColumns(0, ColCount() + NumHiddenColumns()); }
  void HideRow(int Rowindex) { HideRows(Rowindex, Rowindex); }
  void UnHideRow(int Rowindex);
  void HideRows(int FromRow, int ToRow);
  // Hides as many display rows as the range is long, from FromRow's on (FromRow shown).
  void HideRowsEx(int FromRow, int ToRow);
  // Hides the display rows of the ascending list as one filter level (stored by their real
  // index, like every hidden row).
  void HideRowList(TIntList* RowList);
  void UnHideRows(int FromRow, int ToRow);
  void UnHideRowsAll();
  // Shows the rows of the last filter level again.
  void UnHideRowList();
  // Moves a display column (row) with its cells, size and embedded cell controls.
  void MoveColumn(int FromIndex, int ToIndex);
  void MoveRow(int FromIndex, int ToIndex);
  // Makes a display cell visible, centring it when it was out of view.
  void ScrollInView(int ColIndex, int RowIndex);
  // Parks the selection outside the grid so that none shows, and brings it back.
  void HideSelection();
  void UnHideSelection();
  bool SelectionHidden() const { return FSelectionHidden; }
  void UpdateEditMode() { SelectCell(Col(), Row()); }
  // The selection becomes that single cell.
  void FocusCell(int ACol, int ARow);
  // The current row; a write fires OnRowUpdate(old, new) when the row changed and moves a
  // synchronised grid along.
  int Row() const { return TCustomGrid::Row(); }
  void SetRow(int Value);
  // The top row; a write outside FixedRows..RowCount-1 is ignored.
  int TopRow() const { return TCustomGrid::TopRow(); }
  void SetTopRow(int Value);
  // The smallest rectangle of display cells holding text, (0, 0, 0, 0) when none.
  TGridRect UsedCells();
  // The display cell under a screen point, -1 outside the cells.
  void ScreenToCell(TPoint pt, int& ACol, int& ARow);
  // Whether a point lies within 4 pixels of a sizable column edge in the header rows or a
  // sizable row edge in the header columns.
  bool IsOnSizingBorder(int X, int Y);
  std::function<void(TObject* Sender, int OldRow, int NewRow)> OnRowUpdate;
  // ==== end of hidden columns and rows ====

  // ==== Looks (AdvGridLooks.cpp) ====
  // Setting a look writes its colours into the grid's own properties, ControlLook,
  // SortSettings and SearchFooter, where they can be changed afterwards.
  void SetLook(TGridLook Value);
  // The look's name as stored ("glXP") and as shown ("Windows XP"); glCustom leaves Text.
  static void LookToText(TGridLook Look, String& Text);
  static void LookDisplayName(TGridLook Look, String& Text);
  bool URLShow() const { return FURLShow; }
  void SetURLShow(bool Value);
  bool URLShowInText() const { return FURLShowInText; }
  void SetURLShowInText(bool Value);
  bool URLFull() const { return FURLFull; }
  void SetURLFull(bool Value);
  // ==== end of looks ====

  // ==== Properties and scroll bar styles (AdvGridProperties.cpp) ====
  bool ShowDesignHelper() const { return FShowDesignHelper; }
  void SetShowDesignHelper(bool Value);
  // The active cell's headers: ActiveCellShow marks the current cell's column and row headers
  // in ActiveCellColor (to ActiveCellColorTo) with ActiveCellFont; every write repaints.
  bool ActiveCellShow() const { return FActiveCellShow; }
  void SetActiveCellShow(bool Value);
  TColor ActiveCellColor() const { return FActiveCellColor; }
  void SetActiveCellColor(TColor Value);
  TColor ActiveCellColorTo() const { return FActiveCellColorTo; }
  void SetActiveCellColorTo(TColor Value);
  // The colours of highlighted text; a change also becomes the HTML renderer's highlight.
  TColor HighlightColor() const { return FHighlightColor; }
  void SetHighlightColor(TColor Value);
  TColor HighlightTextColor() const { return FHighlightTextColor; }
  void SetHighlightTextColor(TColor Value);
  // Copies the bitmap and repaints the indicator cell (column 0 of the current row).
  void SetRowIndicator(TBitmap* Value);
  // The class library grid's selection; with ActiveCellShow the header row and column repaint.
  TGridRect Selection() const { return TCustomGrid::Selection(); }
  void SetSelection(const TGridRect& Value);
  // Text offset from the cell's left and top edge; a write repaints, UpdateXYOffset does not.
  TPoint XYOffset() const { return FXYOffset; }
  void SetXYOffset(TPoint Value);
  void UpdateXYOffset(int X, int Y) { FXYOffset = {X, Y}; }
  bool XYOffsetTopLeftOnly() const { return FXYOffsetTopLeftOnly; }
  void SetXYOffsetTopLeftOnly(bool Value) { FXYOffsetTopLeftOnly = Value; }
  // The vertical text margin: XYOffset.Y once with XYOffsetTopLeftOnly, else twice.
  int GetVertMargin() const { return FXYOffsetTopLeftOnly ? FXYOffset.Y : 2 * FXYOffset.Y; }
  // True makes the window's scroll bars proportional; False releases flat bars of the
  // ssNormal type and sets both pages back to 0.
  bool ScrollProportional() const { return FScrollProportional; }
  void SetScrollProportional(bool Value);
  // The in-place editor's length limit (0: none); a full 32-bit count.
  int GetEditLimit() override { return FMaxEditLength; }
  // Counts with the hidden columns and rows.
  int AllColCount() const { return ColCount() + FNumHidden; }
  int AllRowCount() const { return RowCount() + NumHiddenRows(); }
  int VersionNr() { return GetVersionNr(); }
  String VersionString() { return GetVersionString(); }
  TEditorType CurrentEditor() const { return FCurrentEditor; }
  // The flat scroll bars of the common controls, each function looked up by name in
  // "COMCTL32.DLL" at every call and skipped when missing; FlatScrollBars() is the flat flag.
  bool FlatScrollBars() const { return FIsFlat; }
  void InitFlatScrollBars();
  void DoneFlatScrollBars();
  void FlatSetScrollProp(int Index, int Value, bool Redraw);
  void FlatShowScrollBar(int Bar, bool Show);
  void FlatSetScrollInfo(int Bar, const SCROLLINFO& Info, bool Redraw);
  void UpdateFlatVertScroll();
  void UpdateFlatHorzScroll();
  void ApplyFlatScrollStyle();
  void ApplyFlatScrollColor();
  void ApplyFlatScrollWidth();
  void ApplyFlatScrollBars();
#define DEREDUZEROVARO_PROPS(X)                 \
  X(int, MaxComboLength, 0)                     \
  X(TIntelliPan, IntelliPan, ipVertical)        \
  X(String, ValidChars, String())               \
  X(bool, HintShowCells, false)                 \
  X(bool, HintShowLargeText, false)             \
  X(bool, HintShowSizing, false)                \
  X(bool, HTMLHint, false)                      \
  X(bool, OemConvert, false)                    \
  X(bool, EnhTextSize, false)                   \
  X(bool, FilterDropDownCheck, false)           \
  X(bool, SelectionRTFKeep, false)              \
  X(bool, URLUnderlineOnHover, false)           \
  X(bool, URLEdit, false)                       \
  X(bool, IsPrintPreview, false)                \
  X(bool, FastPrint, false)                     \
  X(bool, NoImageAndText, false)                \
  X(bool, AlwaysValidate, false)                \
  X(TScrollHintType, ScrollHints, shNone)
#define DEREDUZEROVARO_PROP_GETSET(Type, Name, Default) \
  Type Name() const { return F##Name; }                 \
  void Set##Name(Type Value) { F##Name = Value; }
  DEREDUZEROVARO_PROPS(DEREDUZEROVARO_PROP_GETSET)
  // ==== end of properties and scroll bar styles ====

  // ==== Cell objects (AdvGridCellObjects*.cpp) ====
  // A cell has at most one graphic (TCellGraphic): every Add or Create replaces it, a Remove
  // takes it out only when it is of the family's kind. Objects given to an Add stay the
  // caller's; objects a Create returns belong to the cell and go with its graphic. ACol and
  // ARow address the cell as stored (real column); "base" operations work on the base cell of
  // a merged area.
  // Frees the cell's graphic, makes a new one (ctNone) and attaches it.
  TCellGraphic* CreateCellGraphic(int ACol, int ARow);
  // Detaches and frees the cell's graphic when it is of kind Kind, and repaints the cell.
  void RemoveCellGraphicOfType(int ACol, int ARow, TCellType Kind);
  // The base cell's graphic is of a kind in Kinds (False for negative indexes, no graphic).
  bool HasCellTypeIn(int ACol, int ARow, const TCellTypes& Kinds);
  bool HasBalloon(int ACol, int ARow) { return HasCellTypeIn(ACol, ARow, {ctBalloon}); }
  bool IsRadio(int ACol, int ARow) { return HasCellTypeIn(ACol, ARow, {ctRadio}); }
  bool HasProgress(int ACol, int ARow) { return HasCellTypeIn(ACol, ARow, {ctProgress}); }
  bool HasRating(int ACol, int ARow) { return HasCellTypeIn(ACol, ARow, {ctRating}); }
  bool HasScrollBar(int ACol, int ARow) { return HasCellTypeIn(ACol, ARow, {ctScrollbar}); }
  bool HasButton(int ACol, int ARow) { return HasCellTypeIn(ACol, ARow, {ctButton, ctBitButton}); }
  bool HasCheckBox(int ACol, int ARow);
  bool HasDataCheckBox(int ACol, int ARow) {
    return HasCellTypeIn(ACol, ARow, {ctDataCheckBox, ctVirtCheckBox, ctRowCheckBox});
  }
  bool HasExpand(int ACol, int ARow) { return HasCellTypeIn(ACol, ARow, {ctExpand}); }
  bool HasRadioButton(int ACol, int ARow) { return HasCellTypeIn(ACol, ARow, {ctRadioButton}); }
  bool HasDataImage(int ACol, int ARow) { return HasCellTypeIn(ACol, ARow, {ctDataImage}); }
  // Check boxes, radio groups and buttons: cells whose control takes the clicks (no editor).
  bool HasCellControl(int ACol, int ARow);
  // The state or image comes from the text or the row selection.
  bool IsDataCell(int ACol, int ARow);
  // The record of real row ARow: from the hidden-row store when that row is hidden, else from
  // its display row; nullptr when none.
  TCellProperties* GetRealCellObject(int ACol, int ARow);

  // ---- Pictures and objects
  void AddInterfacedCell(int ACol, int ARow, TPersistent* AObject);
  TPersistent* GetInterfacedCell(int ACol, int ARow);
  void RemoveInterfacedCell(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctInterface); }
  void AddBitmap(int ACol, int ARow, TBitmap* ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val);
  TBitmap* CreateBitmap(int ACol, int ARow, bool Transparent, TCellHAlign hal, TCellVAlign val);
  TBitmap* GetBitmap(int ACol, int ARow);
  bool HasBitmap(int ACol, int ARow) { return GetBitmap(ACol, ARow) != nullptr; }
  void RemoveBitmap(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctBitmap); }
  void AddPicture(int ACol, int ARow, TPicture* APicture, bool Transparent, TStretchMode StretchMode, int Padding,
                  TCellHAlign hal, TCellVAlign val);
  TPicture* CreatePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int Padding,
                          TCellHAlign hal, TCellVAlign val);
  TPicture* GetPicture(int ACol, int ARow);
  bool HasPicture(int ACol, int ARow) { return GetPicture(ACol, ARow) != nullptr; }
  void RemovePicture(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctPicture); }
  void AddFilePicture(int ACol, int ARow, TFilePicture* APicture, bool Transparent, TStretchMode StretchMode,
                      int Padding, TCellHAlign hal, TCellVAlign val);
  TFilePicture* CreateFilePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int Padding,
                                  TCellHAlign hal, TCellVAlign val);
  TFilePicture* GetFilePicture(int ACol, int ARow);
  void RemoveFilePicture(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctFilePicture); }
  void AddIcon(int ACol, int ARow, TIcon* AIcon, TCellHAlign hal, TCellVAlign val);
  TIcon* CreateIcon(int ACol, int ARow, TCellHAlign hal, TCellVAlign val);
  void RemoveIcon(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctIcon); }
  // Image-list images need GridImages: without it nothing is added and nothing read.
  void AddImageIdx(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val);
  bool GetImageIdx(int ACol, int ARow, int& idx);
  void SetImageIdx(int ACol, int ARow, int Idx);
  void RemoveImageIdx(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctImageList); }
  // Shows the image of the cell's integer value; an empty cell gets Aidx as its value.
  void AddDataImage(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val);
  void RemoveDataImage(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctDataImage); }
  // An empty owned list of image indexes (CellImages) whose changes repaint the cell.
  void AddMultiImage(int ACol, int ARow, int Dir, TCellHAlign hal, TCellVAlign val);
  void RemoveMultiImage(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctImages); }
  TIntList* GetCellImages(int ACol, int ARow);
  TIntList* CellImages(int ACol, int ARow) { return GetCellImages(ACol, ARow); }
  // Rotated text: the angle brought into 0..360.
  void AddRotated(int ACol, int ARow, int16_t AAngle, const String& s);
  void SetRotated(int ACol, int ARow, int16_t AAngle);
  bool IsRotated(int ACol, int ARow, int& aAngle);
  void RemoveRotated(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctRotated); }

  // ---- Progress and value displays
  void AddProgress(int ACol, int ARow, TColor FGColor, TColor BKColor);
  void AddProgressEx(int ACol, int ARow, TColor FGColor, TColor FGTextColor, TColor BKColor, TColor BKTextColor);
  void AddProgressFormatted(int ACol, int ARow, TColor FGColor, TColor FGTextColor, TColor BKColor,
                            TColor BKTextColor, const String& Fmt, int Min, int Max);
  void RemoveProgress(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctProgress); }
  void AddAdvProgress(int ACol, int ARow, int Min, int Max);
  void RemoveAdvProgress(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctXPProgress); }
  void AddProgressPie(int ACol, int ARow, TColor Color, int Value);
  void SetProgressPie(int ACol, int ARow, int Value);
  void RemoveProgressPie(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctProgressPie); }
  void AddRangeIndicator(int ACol, int ARow, int Range, TColor NegColor, TColor PosColor, bool ShowValue);
  void RemoveRangeIndicator(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctRangeIndicator); }
  void AddShape(int ACol, int ARow, TCellShape Shape, TColor FillColor, TColor LineColor, TCellHAlign hal,
                TCellVAlign val);
  void SetShapeColor(int ACol, int ARow, TColor FillColor);
  TColor GetShapeColor(int ACol, int ARow);
  void RemoveShape(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctShape); }
  // The rating value is the cell's text.
  void AddRating(int ACol, int ARow, int Scale, TColor FillColor, TColor EmptyColor);
  void RemoveRating(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctRating); }

  // ---- Comments, markers, balloons
  void AddComment(int ACol, int ARow, const String& Comment);
  void AddColorComment(int ACol, int ARow, const String& Comment, TColor Color);
  bool IsComment(int ACol, int ARow, String& comment);
  // CellComment: reads the comment or ""; a write comments a cell without graphic, changes
  // the text of a comment and leaves any other kind alone.
  String GetComment(int ACol, int ARow);
  void SetComment(int ACol, int ARow, const String& Value);
  String CellComment(int ACol, int ARow) { return GetComment(ACol, ARow); }
  void SetCellComment(int ACol, int ARow, const String& Value) { SetComment(ACol, ARow, Value); }
  void RemoveComment(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctComment); }
  void RemoveAllComments();
  // A marker (start, length) sits on any graphic; a cell without one gets a ctEmpty graphic.
  void AddMarker(int ACol, int ARow, int ErrPos, int ErrLen);
  void GetMarker(int ACol, int ARow, int& ErrPos, int& ErrLen);
  // Removes a ctEmpty graphic; clears the marker of any other kind.
  void RemoveMarker(int ACol, int ARow);
  void RemoveAllMarkers();
  // On a check box, data check box or radio button the balloon is attached to it; a cell
  // without graphic gets a ctBalloon; other kinds are left alone. A new balloon replaces one
  // the cell has.
  void AddBalloon(int ACol, int ARow, const String& Title, const String& Text, TBalloonIcon Icon);
  void RemoveBalloon(int ACol, int ARow);
  bool IsBalloon(int ACol, int ARow, String& Title, String& Text, TBalloonIcon& Icon);

  // ---- Cell scroll bars (base)
  // Page size 0, range 100; AutoRange takes the range from the text's height.
  void AddScrollBar(int ACol, int ARow, bool AutoRange);
  bool HasAutoRangeScrollBar(int ACol, int ARow);
  void SetScrollPosition(int ACol, int ARow, int Pos);
  int GetScrollPosition(int ACol, int ARow);
  void SetScrollProp(int ACol, int ARow, TScrollProp Prop);
  TScrollProp GetScrollProp(int ACol, int ARow);
  void RemoveScrollBar(int ACol, int ARow);

  // ---- Buttons. SetButtonText, GetButtonText and PushButton take a display column.
  void AddButton(int ACol, int ARow, int bw, int bh, const String& Caption, TCellHAlign hal, TCellVAlign val);
  void AddBitButton(int ACol, int ARow, int bw, int bh, const String& Caption, TBitmap* Glyph, TCellHAlign hal,
                    TCellVAlign val);
  TBitmap* CreateBitButton(int ACol, int ARow, int bw, int bh, const String& Caption, TCellHAlign hal,
                           TCellVAlign val);
  void SetButtonText(int ACol, int ARow, const String& Caption);
  String GetButtonText(int ACol, int ARow);
  void PushButton(int ACol, int ARow, bool push);
  void RemoveButton(int ACol, int ARow);
  void RemoveAllButtons();
  // The 11 x 11 expand button of an expand base cell, else an empty rectangle.
  TRect GetExpandButtonRect(int ACol, int ARow);
  // The button of display column ACol in client coordinates, empty without a graphic.
  TRect GetCellButtonRect(int ACol, int ARow);

  // ---- Radio groups (one cell, several options)
  void AddRadio(int ACol, int ARow, int DirRadio, int IdxRadio, TStrings* sl);
  TStrings* CreateRadio(int ACol, int ARow, int DirRadio, int IdxRadio);
  bool GetRadioIdx(int ACol, int ARow, int& IdxRadio);
  // -1 also clears the cell text.
  bool SetRadioIdx(int ACol, int ARow, int IdxRadio);
  TStrings* GetRadioStrings(int ACol, int ARow);
  void RemoveRadio(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctRadio); }
  // The key handling's step to the next option (wrapping); the cell text becomes its caption.
  bool SelectNextRadio(int ACol, int ARow, bool CheckEdit);

  // ---- Check boxes. The Add forms raise Exception "Invalid cell" outside the grid
  // (hidden columns and rows included).
  void AddCheckBox(int ACol, int ARow, bool State, bool Data);
  void AddCheckBox(int ACol, int ARow, TCheckBoxState State);
  void AddCheckBoxColumn(int ACol, bool DefaultState = false, bool DataCheckBox = false);
  void AddTriStateCheckBoxColumn(int ACol, TCheckBoxState State);
  void RemoveCheckBox(int ACol, int ARow);
  void RemoveCheckBoxColumn(int ACol);
  // Whether a point (client coordinates) hits the box of real column ACol.
  bool IsInCheckBox(int ACol, int ARow, int XPos, int YPos);
  // With hidden rows ARow is a real row index.
  bool GetCheckBoxState(int ACol, int ARow, TCheckBoxState& State);
  bool GetCheckBoxState(int ACol, int ARow, bool& State);
  bool IsChecked(int ACol, int ARow);
  bool SetCheckBoxState(int ACol, int ARow, TCheckBoxState State);
  // Fires no hook.
  bool SetCheckBoxState(int ACol, int ARow, bool State);
  // ARow a display row; fires CheckBoxChange when the state really changes.
  bool ChangeCheckBoxState(int ACol, int ARow, bool State);
  bool ToggleCheckBox(int ACol, int ARow) { return ToggleCheck(ACol, ARow, false); }
  // The user's toggle: with CheckEdit the cell must allow editing (unless CheckAlwaysActive).
  virtual bool ToggleCheck(int ACol, int ARow, bool CheckEdit);
  void CheckAll(int ACol);
  void UnCheckAll(int ACol);
  static TCheckBoxState BoolToCheckBoxState(bool bChecked) { return bChecked ? cbChecked : cbUnchecked; }

  // ---- Radio buttons (one per cell, exclusive within a column)
  void AddRadioButton(int ACol, int ARow, bool State);
  void RemoveRadioButton(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctRadioButton); }
  bool IsRadioButtonChecked(int ACol, int ARow);
  // Leaves the other buttons of the column alone.
  bool SetRadioButtonState(int ACol, int ARow, bool State);
  // Checks the button and unchecks every other one of its column.
  virtual bool ToggleRadioButton(int ACol, int ARow, bool CheckEdit);
  void AddRadioButtonColumn(int ACol);
  void RemoveRadioButtonColumn(int ACol);
  void SetRadioButtonColumnIndex(int ACol, int Index);
  int GetRadioButtonColumnIndex(int ACol);
  // ==== end of cell objects ====

  // ---- Links to outside components (not owned; forgotten when the component goes)
  TCustomImageList* GridImages() const { return FGridImages; }
  void SetGridImages(TCustomImageList* Value);
  TPictureContainer* PictureContainer() const { return FContainer; }
  void SetPictureContainer(TPictureContainer* Value);
  TPopupMenu* FixedDropDownMenu() const { return FFixedDropDownMenu; }
  void SetFixedDropDownMenu(TPopupMenu* Value);

  // ---- The look colours of glZOL. From and To are kept as RGB and repaint.
  TColor ZOLGradientFrom() const { return FZOLGradientFrom; }
  void SetZOLGradientFrom(TColor Value);
  TColor ZOLGradientTo() const { return FZOLGradientTo; }
  void SetZOLGradientTo(TColor Value);
  TColor ZOLGradientMirrorFrom() const { return FZOLGradientMirrorFrom; }
  void SetZOLGradientMirrorFrom(TColor Value) { FZOLGradientMirrorFrom = Value; }
  TColor ZOLGradientMirrorTo() const { return FZOLGradientMirrorTo; }
  void SetZOLGradientMirrorTo(TColor Value) { FZOLGradientMirrorTo = Value; }

  // ---- Plain properties: store only (their effects belong to the code that reads them).
#define DEREDUZEROVARO_PLAIN(X)                                   \
  X(bool, AutoFilterUpdate, true)                                 \
  X(int, FilterColumn, -1)                                        \
  X(THoverFixedCells, HoverFixedCells, hfNone)                    \
  X(bool, UseInternalHintClass, true)                             \
  X(int, FilterLevel, 0)                                          \
  X(String, XMLEncoding, String(u"ISO-8859-1"))                   \
  X(String, FilterDropDownClear, String(u"(All)"))                \
  X(bool, FilterDropDownAuto, false)                              \
  X(bool, FilterIncremental, false)                               \
  X(bool, FilterNormalCellsOnly, true)                            \
  X(bool, FitCellsInGrid, true)                                   \
  X(bool, EnhRowColMove, true)                                    \
  X(TEditorType, DefaultEditor, edNormal)                         \
  X(TColor, DisabledFontColor, clSilver)                          \
  X(bool, UseDisabledFont, true)                                  \
  X(bool, EnableWheel, true)                                      \
  X(int, MinRowHeight, 0)                                         \
  X(int, MaxRowHeight, 0)                                         \
  X(int, MinColWidth, 0)                                          \
  X(int, MaxColWidth, 0)                                          \
  X(bool, SizeGrowOnly, false)                                    \
  X(bool, IntelliZoom, true)                                      \
  X(bool, LoadFirstRow, true)                                     \
  X(TInvalidEntryIcon, InvalidEntryIcon, ieWarning)               \
  X(String, InvalidEntryTitle, String())                          \
  X(String, InvalidEntryText, String())                           \
  X(TColor, HintColor, clInfoBk)                                  \
  X(bool, HideFocusRect, false)                                   \
  X(bool, FixedAsButtons, false)                                  \
  X(bool, QuoteEmptyCells, true)                                  \
  X(TColor, SelectionRectangleColor, clBlack)                     \
  X(bool, AlwaysQuotes, false)                                    \
  X(bool, EnableHTML, true)                                       \
  X(TColor, URLColor, clBlue)                                     \
  X(bool, ShowNullDates, true)                                    \
  X(bool, SaveFixedCells, true)                                   \
  X(bool, SaveFixedRows, false)                                   \
  X(bool, SaveFixedCols, false)                                   \
  X(bool, SaveHiddenCells, false)                                 \
  X(bool, SaveVirtCells, true)                                    \
  X(bool, SaveWithHTML, true)                                     \
  X(bool, SaveWithRTF, false)                                     \
  X(bool, PrinterDriverFix, false)                                \
  X(bool, ExcelClipboardFormat, false)                            \
  X(Char, Delimiter, Char(0))                                     \
  X(bool, NoDefaultDraw, false)                                   \
  X(String, FloatFormat, String(u"%.2f"))                         \
  X(Char, PasswordChar, Char(u'*'))                               \
  X(bool, JavaCSV, false)                                         \
  X(String, CheckTrue, String(u"Y"))                              \
  X(String, CheckFalse, String(u"N"))                             \
  X(int, ZoomFactor, 0)                                           \
  X(bool, ClearTextOnly, false)                                   \
  X(bool, FixedRowAlways, false)                                  \
  X(bool, FixedColAlways, false)                                  \
  X(bool, AutoNumAlign, false)                                    \
  X(bool, AnchorHint, false)                                      \
  X(bool, Multilinecells, false)                                  \
  X(bool, SizeWithForm, false)                                    \
  X(bool, ScrollSynch, false)                                     \
  X(bool, EditWithTags, false)                                   \
  X(bool, EnableBlink, false)                                     \
  X(bool, Hovering, false)
#define DEREDUZEROVARO_GETSET(Type, Name, Default) \
  Type Name() const { return F##Name; }            \
  void Set##Name(Type Value) { F##Name = Value; }
  DEREDUZEROVARO_PLAIN(DEREDUZEROVARO_GETSET)

  // Stores the field; True outside loading sizes the columns to their texts.
  bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
  void SetAutoThemeAdapt(bool Value);
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor Value);
  TGridLook Look() const { return FLook; }
  // The grid's own copy of the scroll bars it asks for.
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  TScrollBarAlways ScrollBarAlways() const { return FScrollBarAlways; }
  void SetScrollBarAlways(TScrollBarAlways Value);
  TScrollType ScrollType() const { return FScrollType; }
  void SetScrollType(TScrollType Value);
  TColor ScrollColor() const { return FScrollColor; }
  void SetScrollColor(TColor Value);
  int ScrollWidth() const { return FScrollWidth; }
  void SetScrollWidth(int Value);
  // The grid timer started with the window (0 before), its ticks so far, and the blink phase
  // it toggles with EnableBlink.
  UINT_PTR GridTimerID() const { return FGridTimerID; }
  int TimerTicks() const { return FTimerTicks; }
  bool GridBlink() const { return FGridBlink; }
  // The text typed for the jump to a matching row; forgotten 4 ticks after its last character.
  const String& IncrSearchText() const { return SearchInc; }
  // The wheel's scroll lines found at window creation.
  int WheelScrollLines() const { return wheelscrl; }
  // The component style applied last (IZOLStyle) and the colour tones (IZOLTones).
  TZOLStyle ComponentStyle() const { return FComponentStyle; }
  void SetComponentStyle(TZOLStyle AStyle) override;
  void SetColorTones(const TColorTones& ATones) override;
  bool IsWinXP() const { return FIsWinXP; }
  bool IsThemed() const { return FIsComCtl6; }
  bool Loaded_() const { return FLoadedFlag; }
  // Set by the editing path: the next Invalidate repaints nothing.
  void SetEditChange(bool Value) { FEditChange = Value; }
  void RegisterNotifier(TGridChangeNotifier* Notifier);
  void UnRegisterNotifier(TGridChangeNotifier* Notifier);

  // ---- Cell graphics and texts (the parts of them this class needs)
  virtual TCellType GetCellType(int ACol, int ARow);
  virtual TCellGraphic* GetCellGraphic(int ACol, int ARow);
  // Column 0 holds a node (summary) graphic.
  bool IsNode(int ARow);
  bool IsSummary(int ARow);
  // The expanded or contracted row height kept by the base cell's expand graphic;
  // DefaultRowHeight without a graphic.
  int GetExpandHeight(int ACol, int ARow, bool Expanded);
  // A stored hidden row's text or the cell text (real row); empty for negative indexes.
  String GetCellsEx(int ACol, int ARow);
  virtual String GetFormattedCell(int ACol, int ARow);
  virtual String GetSaveCellText(int ACol, int ARow);
  virtual String GetPrintCellText(int ACol, int ARow) { return Cells(ACol, ARow); }
  virtual void LoadCell(int ACol, int ARow, const String& Value);
  // Fires OnCellsChanged, then tells the registered notifiers in their order.
  virtual void CellsChanged(TRect R);
  // Empties the cells of the rectangle: their records and the graphics the grid made are freed
  // (with ClearTextOnly only the texts go; application objects are never freed), then
  // CellsChanged. TrimRect trims each cell's text through Cells.
  virtual void ClearRect(int ACol1, int ARow1, int ACol2, int ARow2);
  virtual void TrimRect(int ACol1, int ARow1, int ACol2, int ARow2);
  virtual void AppendRow() { SetRowCount(RowCount() + 1); }
  virtual void MoveToFirstRow() { SetRow(FixedRows()); }
  virtual bool AllowFormattedClipboard() { return FNavigation->AllowFmtClipboard(); }
  virtual TCustomImageList* GetImageList() { return FGridImages; }
  void SetColumnOrder();
  // Invalidates the part of a row in view (fixed columns and the visible ones).
  void RepaintRow(int ARow);

  // ---- Hooks: the grid's decision first, then the event.
  virtual void CanEditCell(int ACol, int ARow, bool& CanEdit);
  virtual void SearchFooterAction(const String& Value, int ACol, int ARow, TSearchAction Action);
  virtual void ButtonClick(int ACol, int ARow);
  virtual void ExpandClick(int ACol, int ARow, bool Expanded);
  virtual void ComboCloseUp(int ARow, int ACol);
  virtual void ComboDropDown(int ARow, int ACol);
  virtual void GetCellCursor(int ACol, int ARow, int X, int Y);
  virtual void GridHint(int ACol, int ARow, String& Hint, String& WideHint);
  virtual void GetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont);
  virtual void GetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont);
  virtual void GetCellBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders);
  virtual void GetCellPrintBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders);
  virtual void GetAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign);
  virtual void GetFormat(int ACol, TSortStyle& AStyle, String& APrefix, String& ASuffix);
  virtual void QueryEditorType(int ACol, int ARow, TEditorType& AEditor);
  virtual void GetEditorType(int ACol, int ARow, TEditorType& AEditor);
  virtual bool HasNoEditor(int ACol, int ARow);
  virtual void IsFixedCell(int ACol, int ARow, bool& IsFixed);
  virtual void CellEditAllowed(int ACol, int ARow, bool& Allow);
  virtual void IsPasswordCell(int ACol, int ARow, bool& IsPassword);
  virtual void GetCellWordWrap(int ACol, int ARow, bool& WordWrap);
  virtual bool HasComboBox(int ACol, int ARow);
  virtual bool HasSpinEdit(int ACol, int ARow);
  virtual void GetCheckTrue(int ACol, int ARow, String& Value);
  virtual void GetCheckFalse(int ACol, int ARow, String& Value);
  virtual bool BuildFilterList(int ACol);
  // Whether a row passes the conditions of Filter in their order (OnCustomFilter last).
  virtual bool RowMatchesFilter(int ARow);
  virtual void CanAddRow(bool& CanAdd);
  virtual void CanInsertRow(int ARow, bool& CanInsert);
  virtual void CheckBoxChange(int ACol, int ARow, bool State);
  virtual bool RatingChange(int ACol, int ARow, double& NewRate);
  virtual void UpdateColumnSize(int ACol, int& AWidth);
  virtual void UpdateAutoColumnSize(int ACol, int& AWidth);
  virtual void CheckBoxClick(int ACol, int ARow, bool State);
  virtual void FixedEdit(int ACol, int ARow, TGridFixedCellEditor AEditor, TStrings* Values);
  virtual void SelectionChanged(int ALeft, int ATop, int ARight, int ABottom);
  virtual void FilterDone();
  virtual void PrintGetPageNum(int PageNum, int PageColNum, String& PageNumString);
  virtual void StartBlockFocus();
  virtual void EndBlockFocus();
  // Empty hooks for descendants.
  virtual void F2KeyDown() {}
  virtual void BeforeSelectAll(TGridRect& ASelection) { (void)ASelection; }
  virtual void InplaceEditChanged(const String& Text, TPoint& CaretPos, int SelStart) { (void)Text; (void)CaretPos; (void)SelStart; }
  virtual void ColumnHeadersChanged() {}
  virtual void BeforePaste() {}
  virtual void AfterPaste() {}
  virtual void BeforeWheelScroll() {}
  virtual void CellSelectorClick(TGridCoord ACell) { (void)ACell; }
  virtual void EditFormulaMode(bool Active) { (void)Active; }
  virtual void BeforeSelectionChange(TGridRect& ASelection) { (void)ASelection; }
  virtual void InplaceEditKeyDown(Word& Key, TShiftState Shift) { (void)Key; (void)Shift; }
  virtual void InplaceEditWMKeyDown(TWMKey& Msg) { (void)Msg; }
  virtual void ExportNotification(TGridExportState AState, int ARow) { (void)AState; (void)ARow; }
  virtual void ImportNotification(TGridImportState AState, int ARow) { (void)AState; (void)ARow; }
  // Bound to the settings objects.
  virtual void MouseActionsChanged(TObject* Sender) { (void)Sender; }
  virtual void MouseActionsIsDesigning(TObject* Sender, bool& IsDesigning);
  virtual void MouseActionsInvalidate(TObject* Sender);
  virtual void DisableEditing(TObject* Sender);
  virtual void NavigationChanged(TObject* Sender) { (void)Sender; }

  // ---- Events fired by the hooks and the lifecycle
  TCanEditCellEvent OnCanEditCell;
  TSearchFooterActionEvent OnSearchFooterAction;
  TButtonClickEvent OnButtonClick;
  TExpandClickEvent OnExpandClick;
  TComboRowColEvent OnComboCloseUp;
  TComboRowColEvent OnComboDropDown;
  TGetCellCursorEvent OnGetCellCursor;
  TGridHintEvent OnGridHint;
  TGridHintEvent OnGridWideHint;
  TOfficeHintEvent OnOfficeHint;
  TGridColorEvent OnGetCellColor;
  TGridColorEvent OnGetCellPrintColor;
  TGridBorderEvent OnGetCellBorder;
  TGridBorderEvent OnGetCellPrintBorder;
  TGridAlignEvent OnGetAlignment;
  TGridFormatEvent OnGetFormat;
  TGetEditorTypeEvent OnGetEditorType;
  TRowColFlagEvent OnIsFixedCell;
  TRowColFlagEvent OnIsPasswordCell;
  TColRowFlagEvent OnGetWordWrap;
  TColRowFlagEvent OnHasComboBox;
  TColRowFlagEvent OnHasSpinEdit;
  TGetCheckEvent OnGetCheckTrue;
  TGetCheckEvent OnGetCheckFalse;
  TGetColumnFilterEvent OnGetColumnFilter;
  TCanAddRowEvent OnCanAddRow;
  TCanInsertRowEvent OnCanInsertRow;
  TCheckBoxClickEvent OnCheckBoxChange;
  TCheckBoxClickEvent OnCheckBoxClick;
  TRatingChangeEvent OnRatingChange;
  TUpdateColumnSizeEvent OnUpdateColumnSize;
  TCellsChangedEvent OnCellsChanged;
  TSelectionChangedEvent OnSelectionChanged;
  TFixedEditEvent OnFixedEdit;
  TNotifyEvent OnFilterDone;
  TCustomFilterEvent OnCustomFilter;
  TPrintGetPageNumEvent OnPrintGetPageNum;
  TNotifyEvent OnStartBlockFocus;
  TNotifyEvent OnEndBlockFocus;
  TCellValueEvent OnSaveCell;
  TCellValueEvent OnLoadCell;

  // ==== In-place text editor (AdvGridInplaceEdit*.cpp) ====
  // The grid's text editor (TAdvInplaceEdit), nullptr until the first edit.
  class TAdvInplaceEdit* NormalEdit() const;
  // The editor kind of the cell being edited (set when editing starts).
  TEditorType EditControl = edNormal;
  // The numeric keypad's decimal key types the locale's decimal separator.
  bool ExcelStyleDecimalSeparator() const { return FExcelStyleDecimalSeparator; }
  void SetExcelStyleDecimalSeparator(bool Value) { FExcelStyleDecimalSeparator = Value; }
  // Lookup completion from LookupItems while typing; LookupHistory adds each edited text.
  bool Lookup() const { return FLookup; }
  void SetLookup(bool Value) { FLookup = Value; }
  bool LookupCaseSensitive() const { return FLookupCaseSensitive; }
  void SetLookupCaseSensitive(bool Value) { FLookupCaseSensitive = Value; }
  bool LookupHistory() const { return FLookupHistory; }
  void SetLookupHistory(bool Value) { FLookupHistory = Value; }
  bool EditMode() const { return FEditMode; }
  // The text of the current cell (its base cell when merged), read and written directly.
  virtual String GetCurrentCell();
  virtual void SetCurrentCell(const String& Value);
  // Writes the current cell's text through the editor path (SetEditText).
  virtual void SetCurrentCellText(const String& Value);
  // Validates the value of the cell being left (OnCellValidate); refused, the old text goes back
  // into the cell and the editor opens there again. Answers True when not editing or while a
  // validation runs.
  virtual bool ValidateCell(const String& NewValue);
  // Ends editing with the text editor (only while EditMode is set).
  void HideInplaceEdit();
  // Fires OnEditingDone and ends EditMode.
  void EditingDone(int ACol, int ARow);
  std::function<void(TObject* Sender, int ACol, int ARow, const String& Value)> OnEditChange;
  std::function<void(TObject* Sender, int ACol, int ARow, String& Value, bool& Valid)> OnCellValidate;
  std::function<void(TObject* Sender, const String& Value, bool& Allow)> OnClipboardCopy, OnClipboardCut,
      OnClipboardPaste;
  std::function<void(TObject* Sender, int ACol, int ARow, String& Value, bool& Allow)> OnClipboardBeforePasteCell;
  std::function<void(TObject* Sender, int ACol, int ARow, const String& Value)> OnClipboardAfterPasteCell;
  TClickCellEvent OnDblClickCell;
  TNotifyEvent OnEditingDone;

protected:
  friend class TAdvInplaceEdit;
  TInplaceEdit* CreateEditor() override;
  // Editing starts in the editor's cell: the texts to validate against and to restore on Escape.
  void InplaceEditStarted(int ACol, int ARow);
  String FCellCache, FNewCellText, FOldCellText;
  bool FValidating = false, FNoEditChange = false, FEditing = false, LButFlg = false;
  Char FStartEditChar = 0;
  int FOldCol = -1, FOldRow = -1;
  bool FExcelStyleDecimalSeparator = false, FLookup = false, FLookupCaseSensitive = false, FLookupHistory = false;

public:
  // ==== end of in-place text editor ====

protected:
  void CreateWnd() override;
  void Loaded() override;
  void Resize() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WndProc(TMessage& Message) override;
  String GetEditMask(int ACol, int ARow) override;
  bool IsFixed(int ACol, int ARow) override;
  void GetCellDefaults(int ACol, int ARow, TFont* AFont, TBrush* ABrush, TColor& ColorTo, TColor& MirrorColor,
                       TColor& MirrorColorTo, TAlignment& HAlign, TVAlignment& VAlign, bool& WordWrap,
                       TCellGradientDirection& GradientDirection) override;
  int TotalColCount() const override { return ColCount() + FNumHidden; }
  // The owner form's size changed: with SizeWithForm the grid keeps its distance to the
  // form's right and bottom edges; then the stretch column is applied again.
  void FormResize(TCustomForm* Form);
  // A tick of the grid timer: forgets the jump text, follows the hover, blinks tagged text.
  void WMTimer(TMessage& Message);

  String EditMask;

private:
  friend class TControlLook;
  void Repaint_(TObject*) { Invalidate(); }
  void ShowModifiedChanged(TObject* Sender);
  void ShowColumnHeaders();
  void ShowRowHeaders();
  // The owner form's size as last seen by the size subscription.
  void FormSizeWatched();

  // Settings objects
  std::unique_ptr<TFont> cf;
  std::unique_ptr<TFocusHelper> FFocusHelper;
  std::unique_ptr<TSearchFooter> FSearchFooter;
  std::unique_ptr<TPrintSettings> FPrintSettings;
  std::unique_ptr<THTMLSettings> FHTMLSettings;
  std::unique_ptr<TControlLook> FControlLook;
  std::unique_ptr<TNavigation> FNavigation;
  std::unique_ptr<TColumnSize> FColumnSize;
  std::unique_ptr<TCellNode> FCellNode;
  std::unique_ptr<TBands> FBands;
  std::unique_ptr<TSizeWhileTyping> FSizeWhileTyping;
  std::unique_ptr<TMouseActions> FMouseActions;
  std::unique_ptr<TGrouping> FGrouping;
  std::unique_ptr<TFilterDropDown> FFilterDropDown;
  std::unique_ptr<TSortSettings> FSortSettings;
  std::unique_ptr<TFilter> FFilter;
  std::unique_ptr<TDragScrollOptions> FDragScrollOptions;
  std::unique_ptr<TGridProgressAppearance> FProgressAppearance;
  std::unique_ptr<TBalloonSettings> FBalloonSettings;
  std::unique_ptr<TShowModified> FShowModified;
  std::unique_ptr<TBackGround> FBackGround;
  std::unique_ptr<TSyncGrid> FSyncGrid;
  std::unique_ptr<TAdvHintInfo> FOfficeHint;
  std::unique_ptr<THTMLPictureCache> FImageCache;
  // Fonts and pictures
  std::unique_ptr<TFont> FFixedFont, FActiveCellFont;
  std::unique_ptr<TBitmap> FRowIndicator;
  // Lists
  std::unique_ptr<TStringList> FColumnHeaders, FRowHeaders, FLookupItems, FFilterList, Sortlist;
  std::vector<bool> FRowSelect, FColSelect;
  std::vector<TGridChangeNotifier*> FNotifierList;
  std::unique_ptr<TSortIndexList> FSortIndexes;
  std::unique_ptr<TIntList> FSortRowXRef, FUnSortRowXRef, FMergedColumns, FSelectedCells, FSelectedRows, FModifiedRows,
      FEnabledRows, FColumnOrder, FOrigColSizes, FIgnoreColumns;
  std::unique_ptr<TControlList> FControlList;
  // Hidden structure
  std::vector<bool> FVisibleCol = std::vector<bool>(513, true);
  std::vector<int> FAllColWidths = std::vector<int>(513, 0);
  int FNumHidden = 0;
  // The spare graphic handed out as the virtual row check box of column 0.
  std::unique_ptr<TCellGraphic> FCellGraphic;
  // Run-time helper windows (owned as components)
  TGridFocusWindow* FFocusWindow = nullptr;
  TArrowWindow* FArrows[4] = {nullptr, nullptr, nullptr, nullptr};
  // Links
  TCustomImageList* FGridImages = nullptr;
  TPictureContainer* FContainer = nullptr;
  TPopupMenu* FFixedDropDownMenu = nullptr;
  // Platform flags
  bool FIsWinXP = false, FIsWin7 = false, FIsWinVista = false, FIsComCtl6 = false, FIsFlat = false;
  // Remembered geometry
  int FFixedRowsMin = 1, FFixedColsMin = 1, FMaxRowCount = 0, FMaxColCount = 0;
  int FOldLeftCol = 0, FOldTopRow = 0;
  int PrevSizeX = 0, PrevSizeY = 0;
  TCursor FOldCursor = crDefault;
  // Wheel and timer
  UINT wheelmsg = 0;
  int wheelscrl = 0;
  // Stretching: a stretch is running; no stretch is running (column width changes may
  // stretch); the grid width when the original column sizes were taken.
  bool FIsColChanging = false;
  // Clearing detaches records without freeing them (another row holds them); the cells-changed
  // notification is held back.
  bool FNilObjects = false;
  bool FBlockCellChange = false;
  bool ColchgFlg = true;
  int FOldSize = 0;
  UINT_PTR FGridTimerID = 0;
  int FTimerTicks = 0;
  bool FGridBlink = false;
  String SearchInc;
  int SearchTics = 0;
  // The owner form's size subscription and the size it last reported.
  TCustomForm* FResizeForm = nullptr;
  std::unique_ptr<TWindowPosWatch> FFormWatch;
  int FWatchedFormW = -1, FWatchedFormH = -1;

#define DEREDUZEROVARO_FIELD(Type, Name, Default) Type F##Name = Default;
  DEREDUZEROVARO_PLAIN(DEREDUZEROVARO_FIELD)
  bool FAutoSize = false;
  bool FAutoThemeAdapt = false;
  TColor FBorderColor = 0x00808080;
  TGridLook FLook = glXP;
  TScrollStyle FScrollBars = ssBoth;
  TScrollBarAlways FScrollBarAlways = saNone;
  TScrollType FScrollType = ssNormal;
  TColor FScrollColor = clNone;
  int FScrollWidth = 17;
  TZOLStyle FComponentStyle = tsWindowsXP;
  TColorTones FColorTones;
  int FFixedRowHeight = 22;
  int FFixedFooters = 0, FFixedRightCols = 0;
  TColor FZOLGradientFrom = clWhite, FZOLGradientTo = clNone;
  TColor FZOLGradientMirrorFrom = clNone, FZOLGradientMirrorTo = clNone;
  TColor FZOLGradHoverFrom = clNone, FZOLGradHoverTo = clNone, FZOLGradHoverMirrorFrom = clNone,
         FZOLGradHoverMirrorTo = clNone, FZOLGradHoverBorder = clNone;
  TColor FZOLGradDownFrom = clNone, FZOLGradDownTo = clNone, FZOLGradDownMirrorFrom = clNone,
         FZOLGradDownMirrorTo = clNone, FZOLGradDownBorder = clNone;
  TPoint FXYOffset{2, 2};
  TPoint FHoverFixedCell{-1, -1}, FCellButtonPushed{-1, -1}, FClipTopLeft{-1, -1}, FLastHintPos{-1, -1};
  TPoint FClickedCell{-1, -1};
  int FLastTabCol = -1, FLastTabRow = -1, FHoverLink = -1, FDragColumn = -1;
  int FLastDesignChoice = -1, FMouseSelectStart = -1, FLastSelectedRow = -1, FComboIndex = -1;
  TMouseSelectMode FMouseSelectMode = msNormal;
  TOfficeTheme FLastOfficeTheme = otUnknown;
  bool FLoadedFlag = false;
  bool FEditChange = false;
  bool FEditMode = false;
  TEditorType FCurrentEditor = edNormal;
  int FPrintPageFrom = 1, FPrintPageTo = 1, FPrintPageCount = 0;

  // ==== Hidden columns and rows: state (AdvGridHidden.cpp) ====
  // One hidden row: its cells moved out of the cell store whole (no cell is copied), its real
  // index, height, filter level, and its column count (the grid's when it was hidden; a write
  // beyond it widens it). A plain record, not a collection item: the store moves rows by value.
  class TGridItem {
  public:
    explicit TGridItem(TCellRow&& ACells) : FCells(std::move(ACells)) {}
    int Idx() const { return FIdx; }
    void SetIdx(int Value) { FIdx = Value; }
    int Height() const { return FHeight; }
    void SetHeight(int Value) { FHeight = Value; }
    int Level() const { return FLevel; }
    void SetLevel(int Value) { FLevel = Value; }
    int Width() const { return FWidth; }
    void SetWidth(int Value) { FWidth = Value; }
    // The row as a live string list: entry c is real column c (see HiddenRowItems). The
    // record keeps no grid pointer, so the grid holding it is named.
    TStrings* Items(DEreDuzeroVaro& Grid) const { return Grid.HiddenRowItems(FIdx); }
    TCellRow& Cells() { return FCells; }
    const TCellRow& Cells() const { return FCells; }
    const String& Text(int ACol) const { return RowCellText(FCells, ACol); }
    TObject* Object(int ACol) const { return RowCellObject(FCells, ACol); }

  private:
    int FIdx = 0, FHeight = 0, FLevel = 0, FWidth = 0;
    TCellRow FCells;
  };
  // The store, in ascending real index, each real row at most once. Every reader of hidden
  // rows goes through HiddenRowOf (one row by real index) or HiddenRows (all, in order).
  // Its room is kept from filter to filter, in huge pages once large.
  using TGridItems = std::vector<TGridItem, TLargeBlockAllocator<TGridItem>>;
  TGridItems FGridItems;
  // Rows on their way into or out of the store; kept empty, its room reused from pass to pass.
  TGridItems FHiddenPassing;
  TGridItems& HiddenRows() { return FGridItems; }
  // Every real row: those shown, those stored and those passing.
  size_t RealRowsHeld() const { return static_cast<size_t>(RowCount()) + FGridItems.size() + FHiddenPassing.size(); }
  TGridItem* HiddenRowOf(int RealRow);
  // Writes a cell of a hidden row (widening it as needed; a negative column raises EListError).
  // Writes from code through AllCells and the check boxes also mark the column total stale.
  void SetHiddenCell(TGridItem& Row, int ACol, const String& Text, TObject* Object);
  // Rewrites the columns of every hidden row (Only: of that one): Edit gets each row's cells
  // (text and object per column, as many as the row is wide) and may insert, remove or
  // reorder them.
  void EditHiddenColumns(const std::function<void(std::vector<TCell>& Cells)>& Edit, TGridItem* Only = nullptr);
  // The views HiddenRowItems gave out, by real row.
  class THiddenRowStrings;
  std::map<int, std::unique_ptr<TStrings>> FHiddenRowViews;
  // The store position of the first row whose real index is RealRow or more.
  int HiddenLowerBound(int RealRow) const;
  // Moves a display row (texts, records, height) to another, leaving the source empty.
  void CopyDisplRow(int From, int To);
  // Hides the display rows (ascending, distinct) as rows of Level, in one pass.
  void HideDisplRows(std::span<const int> Rows, int Level);
  // Shows the rows at the store positions (ascending) again, each at the display row its
  // real index gives among the rows then shown, in one pass.
  void ShowItems(const std::vector<int>& Positions);
  // Merges rows (ascending real index, outside the store) into the store.
  void AddHiddenRows(TGridItems& Rows);
  // Moves the rows at the store positions (ascending) out of the store into Taken, in order.
  void TakeHiddenRows(const std::vector<int>& Positions, TGridItems& Taken);
  // After rows were hidden or shown: the fixed minimum, the normal row count, a repaint.
  void RowsChanged();
  TGridRect FOldSelection{};
  bool FSelectionHidden = false;
  int FLastReportedRow = -1;
  // ==== end of hidden columns and rows: state ====
  // ==== Looks: state (AdvGridLooks.cpp) ====
  bool FURLShow = false, FURLShowInText = false, FURLFull = false;
  // ==== end of looks: state ====
  // ==== Properties and scroll bar styles: state (AdvGridProperties.cpp) ====
  DEREDUZEROVARO_PROPS(DEREDUZEROVARO_FIELD)
  bool FShowDesignHelper = true;
  bool FActiveCellShow = false;
  TColor FActiveCellColor = clGray, FActiveCellColorTo = clNone;
  TColor FHighlightColor = clHighlight, FHighlightTextColor = clHighlightText;
  bool FScrollProportional = false;
  bool FXYOffsetTopLeftOnly = false;
  // Calls a flat scroll bar function of "COMCTL32.DLL" by name; false when it is missing.
  template <typename F, typename... A>
  bool CallFlatSB(const char* Name, A... Args);
  // ==== end of properties and scroll bar styles: state ====

  // ==== Areas declared in their own files (each holds its access labels; grid/AdvGrid<Area>.inc) ====
  // cell addressing, attributes, typed values, core properties, measurement, tooltips, module start-up, look settings, embedded controls and rich text cells
#include "grid/AdvGridValues.inc"
  // cell colours and fonts, styles and themes, cell graphics and display text, cell-text hooks
#include "grid/AdvGridVisual.inc"
  // the cell painting pipeline, text and background painting, cell object drawing
#include "grid/AdvGridPaint.inc"
  // the editing protocol, validation and the special editors by kind, the custom editor link and fixed-cell editors
#include "grid/AdvGridEditing.inc"
  // the editor controls' link to the grid and the form controls inside tagged cells
#include "grid/AdvGridEditorControls.inc"
  // insertion and removal, merging, selection, checks and fills, automatic sizing, clearing
#include "grid/AdvGridStructure.inc"
  // sorting, sort settings, filtering and the filter lists
#include "grid/AdvGridSort.inc"
  // keyboard, Enter and Tab navigation, update lock, focus and component messages
#include "grid/AdvGridKeys.inc"
  // the text grid file, delimited, aligned and fixed-width text
#include "grid/AdvGridFiles.inc"
  // mouse press, release, double click, move and hover, moving columns and rows, sizing with the form, cursors, zoom
#include "grid/AdvGridMouse.inc"
  // drag and drop, scroll hints and thin scroll bars, size notifications, drag images and balloons
#include "grid/AdvGridDrag.inc"
  // HTML and XML, workbook, document and database exchange
#include "grid/AdvGridExchange.inc"
  // printing and preview, page layout, column states and print settings
#include "grid/AdvGridPrint.inc"
  // nodes, grouping, calculations, the floating footer and the footer panel
#include "grid/AdvGridNodes.inc"
  // highlighting, find and replace, the search panel
#include "grid/AdvGridFind.inc"
  // scroll hints, proportional and always-visible scroll bars, balloons, arrow colour
#include "grid/AdvGridScroll.inc"
  // ==== end of areas ====
};
