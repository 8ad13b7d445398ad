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
#include <vector>

#include "controls/AdvHintInfo.h"
#include "controls/AdvStyleIF.h"
#include "controls/PictureContainer.h"
#include "grid/AdvGridSettings.h"
#include "grid/AdvObj.h"
#include "grid/BaseGrid.h"
#include "grid/FocusHelper.h"
#include "grid/SyncGrid.h"
#include "platform/rtl/Classes.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImgList.h"

class DEreDuzeroVaro;
class TGridFocusWindow;
class TArrowWindow;
class TWindowPosWatch;

enum TGridLook : uint8_t { glStandard, glSoft, glClassic, glZOL, glXP, glListView, glVista, glWin7, glOffice2007, glCustom };
enum TScrollType : uint8_t { ssNormal, ssFlat, ssEncarta, ssMetro };
enum TScrollBarAlways : uint8_t { saNone, saVert, saHorz, saBoth };
enum TInvalidEntryIcon : uint8_t { ieNone, ieInfo, ieWarning, ieError };
enum THoverFixedCells : uint8_t { hfNone, hfAll, hfFixedRows, hfFixedColumns };
enum TMouseSelectMode : uint8_t { msNormal, msColumn, msRow, msAll, msURL, msResize };
enum TSortStyle : uint8_t {
  ssAutomatic, ssAlphabetic, ssNumeric, ssDate, ssAlphaNoCase, ssAlphaCase, ssShortDateEU, ssShortDateUS, ssCustom,
  ssFinancial, ssAnsiAlphaCase, ssAnsiAlphaNoCase, ssRaw, ssHTML, ssImages, ssCheckBox, ssDateTime, ssTime,
  ssAlphaNumeric, ssAlphaNumericNoCase
};
enum TSearchAction : uint8_t { saFindNext, saFindPrevious };
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
  int FixedFooters() const { return FFixedFooters; }
  void SetFixedFooters(int Value) { FFixedFooters = Value; }
  int FixedRightCols() const { return FFixedRightCols; }
  void SetFixedRightCols(int Value) { FFixedRightCols = Value; }
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
  // The hidden rows kept out of the grid (TGridItem).
  TCollection* GridItems() const { return FGridItems.get(); }
  int NumHiddenRows() const { return FGridItems->Count(); }
  int NumHiddenColumns() const { return FNumHidden; }
  // The focus glow and the four move arrows (nullptr until made at run time).
  TGridFocusWindow* FocusWindow() const { return FFocusWindow; }
  TArrowWindow* Arrow(int Index) const { return FArrows[Index]; }

  // ==== Hidden columns and rows, real and display indexes (AdvGridHidden.cpp) ====
  // A hidden column keeps its cells at its real index: Cells and the cell operations take
  // real columns, display column d shows real column RealColIndex(d). Real columns 0 to 511
  // can be hidden; a larger index is never hidden and maps to itself. A hidden row leaves the
  // grid for the GridItems store (a TGridItem with the row's texts and cell records over every
  // column, its real index, height and filter level) and comes back with all of it.
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
  // As HideRows for a range that starts with a shown row; the heights are not kept.
  void HideRowsEx(int FromRow, int ToRow);
  // Hides the display rows of the ascending list as one filter level (their display index
  // becomes the stored index as it is).
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
  X(int, SelectionColorMixerFactor, 50)                           \
  X(int, FilterLevel, 0)                                          \
  X(String, XMLEncoding, String(u"ISO-8859-1"))                   \
  X(String, FilterDropDownClear, String(u"(All)"))                \
  X(bool, FilterDropDownAuto, false)                              \
  X(bool, FilterIncremental, false)                               \
  X(bool, FilterNormalCellsOnly, true)                            \
  X(bool, FitCellsInGrid, true)                                   \
  X(bool, ShowDesignHelper, true)                                 \
  X(bool, EnhRowColMove, true)                                    \
  X(TEditorType, DefaultEditor, edNormal)                         \
  X(TAlignment, DefaultAlignment, taLeftJustify)                  \
  X(TColor, DisabledFontColor, clSilver)                          \
  X(TColor, ActiveCellColor, clGray)                              \
  X(TColor, ActiveCellColorTo, clNone)                            \
  X(bool, ActiveCellShow, false)                                  \
  X(bool, UseDisabledFont, true)                                  \
  X(bool, EnableWheel, true)                                      \
  X(int, MinRowHeight, 0)                                         \
  X(int, MaxRowHeight, 0)                                         \
  X(int, MinColWidth, 0)                                          \
  X(int, MaxColWidth, 0)                                          \
  X(int, GroupColumn, -1)                                         \
  X(bool, SizeGrowOnly, false)                                    \
  X(bool, IntelliZoom, true)                                      \
  X(bool, LoadFirstRow, true)                                     \
  X(TInvalidEntryIcon, InvalidEntryIcon, ieWarning)               \
  X(String, InvalidEntryTitle, String())                          \
  X(String, InvalidEntryText, String())                           \
  X(TColor, HintColor, clInfoBk)                                  \
  X(TColor, HighlightColor, clHighlight)                          \
  X(TColor, HighlightTextColor, clHighlightText)                  \
  X(TColor, SelectionColor, 0x00EACAB6)                           \
  X(TColor, SelectionColorTo, clNone)                             \
  X(TColor, SelectionMirrorColor, clNone)                         \
  X(TColor, SelectionMirrorColorTo, clNone)                       \
  X(TColor, SelectionTextColor, clBlack)                          \
  X(bool, ShowSelection, true)                                    \
  X(bool, HideFocusRect, false)                                   \
  X(bool, FixedAsButtons, false)                                  \
  X(bool, QuoteEmptyCells, true)                                  \
  X(TColor, SelectionRectangleColor, clBlack)                     \
  X(bool, AlwaysQuotes, false)                                    \
  X(bool, EnableHTML, true)                                       \
  X(TColor, URLColor, clBlue)                                     \
  X(TVAlignment, VAlignment, vtaTop)                              \
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
  X(bool, IntegralHeight, false)                                  \
  X(bool, SizeWithForm, false)                                    \
  X(bool, ScrollProportional, false)                              \
  X(bool, ScrollSynch, false)                                     \
  X(bool, ScrollHints, false)                                     \
  X(bool, Flat, false)                                            \
  X(int, MaxEditLength, 0)                                        \
  X(bool, EditWithTags, false)
#define DEREDUZEROVARO_GETSET(Type, Name, Default) \
  Type Name() const { return F##Name; }            \
  void Set##Name(Type Value) { F##Name = Value; }
  DEREDUZEROVARO_PLAIN(DEREDUZEROVARO_GETSET)

  // Stores the field; True outside loading sizes the columns to their texts.
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value) { FAutoSize = Value; }
  bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
  void SetAutoThemeAdapt(bool Value);
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor Value) { FBorderColor = Value; }
  TGridLook Look() const { return FLook; }
  // The grid's own copy of the scroll bars it asks for.
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  TScrollBarAlways ScrollBarAlways() const { return FScrollBarAlways; }
  void SetScrollBarAlways(TScrollBarAlways Value);
  TScrollType ScrollType() const { return FScrollType; }
  void SetScrollType(TScrollType Value) { FScrollType = Value; }
  TColor ScrollColor() const { return FScrollColor; }
  void SetScrollColor(TColor Value) { FScrollColor = Value; }
  int ScrollWidth() const { return FScrollWidth; }
  void SetScrollWidth(int Value) { FScrollWidth = Value; }
  // The grid timer started with the window (0 before).
  UINT_PTR GridTimerID() const { return FGridTimerID; }
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
  TGetEditEvent OnGetFloatFormat;

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
  // Shows or hides and enables the scroll bars of directions that fit entirely.
  void ApplyScrollBarAlways(bool Force);

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
  std::unique_ptr<TCollection> FGridItems;
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
  // Stores the display row's texts and records (every column) into a new hidden-row item.
  TGridItem* StoreRow(int Index, int DisplRow, int RealIdx, bool KeepHeight);
  // Puts an item's texts, records and height into a display row.
  void RestoreRow(TGridItem* Item, int DisplRow);
  // Shows or hides the controls embedded in a display row's cells.
  void ShowRowControls(int DisplRow, bool Visible);
  // Copies a display row (texts, records, height) to another, skipping empty cells.
  void CopyDisplRow(int From, int To);
  TGridRect FOldSelection{};
  bool FSelectionHidden = false;
  int FLastReportedRow = -1;
  // ==== end of hidden columns and rows: state ====
  // ==== Looks: state (AdvGridLooks.cpp) ====
  bool FURLShow = false, FURLShowInText = false, FURLFull = false;
  // ==== end of looks: state ====
};
