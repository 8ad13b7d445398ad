#pragma once
// The grid drop-down: an edit whose pop-up holds a whole string grid. The edit shows one column
// of the chosen row, the lookup column. Rows come from the drop-down's own items (UseItems, one
// item per row) or from cells the application writes into the grid. A row is chosen with the
// mouse or the keys in the open grid, by typing in the edit (completion from the lookup column,
// lookup or narrowing of the rows), or stepped with the cursor keys in the closed edit; a header
// click can sort the rows. A row reached only by the mouse wheel is not taken.
//
// Item and row meet through a number: with UseItems item j is written into row j + 1 and the cell
// object of column 0 of that row holds j, so every conversion survives sorting and narrowing.
//
// This unit sits above the grid (the grid's own cell editor for this kind derives from it) and
// registers that editor with the grid (RegisterAdvGridDropDownEditor). Its classes live in the
// namespace AdvCustomGridDropDown: the multi-column drop-down has classes of the same names.

#include <cstdint>
#include <functional>
#include <memory>

// The grid's editors header first: it renames the class library's progress bar orientations,
// whose names the grid's print borders use too.
#include "grid/AdvGridEditors.h"
#include "dropdowns/AdvDropDown.h"
#include "grid/AdvGrid.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Collections.h"

namespace AdvCustomGridDropDown {

enum TColumnType : uint8_t { ctText, ctImage };
enum TDropDownStyle : uint8_t { dsDropDown, dsDropDownList };
enum TGridSorting : uint8_t { gsNone, gsSingleColumn, gsMultiColumn };
enum TLookupMethod : uint8_t { lmLookup, lmNarrowDown, lmNone };

using TDrawCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, TCanvas* ACanvas, const TRect& ARect)>;
using TGetCellPropEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, TFont* AFont, TColor& AColor, TColor& AColorTo)>;
using TGetCellTextEvent = std::function<void(TObject* Sender, int ACol, int ARow, String& AText)>;

// ---- The events the drop-down forwards from its grid (Sender is the grid unless noted).
using TAnchorClickEvent = std::function<void(TObject* Sender, int ARow, int ACol, const String& Anchor, bool& AutoHandle)>;
using TAnchorEvent = std::function<void(TObject* Sender, int ARow, int ACol, const String& Anchor)>;
using TAnchorHintEvent = std::function<void(TObject* Sender, int ARow, int ACol, String& Anchor)>;
using TCanSortEvent = std::function<void(TObject* Sender, int ACol, bool& DoSort)>;
using TClickSortEvent = std::function<void(TObject* Sender, int ACol)>;
using TCustomCompareEvent = std::function<void(TObject* Sender, const String& Str1, const String& Str2, int& Res)>;
using TRawCompareEvent = std::function<void(TObject* Sender, int ACol, int Row1, int Row2, int& Res)>;
using TIndexAllowEvent = std::function<void(TObject* Sender, int Index, bool& Allow)>;
using TIndexSizeEvent = std::function<void(TObject* Sender, int Index, int Size)>;
using TIndexEvent = std::function<void(TObject* Sender, int Index)>;
using TCellBalloonEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, String& ATitle, String& AText, TBalloonIcon& AIcon)>;
using TGetEditorPropEvent = std::function<void(TObject* Sender, int ARow, int ACol)>;
using TEllipsClickEvent = std::function<void(TObject* Sender, int ACol, int ARow, String& S)>;
using TScrollHintEvent = std::function<void(TObject* Sender, int ARow, String& Hint)>;
using TSearchEditChangeEvent = std::function<void(TObject* Sender, const String& Value, bool& DefaultSearch)>;
using TSpinClickEvent = std::function<void(TObject* Sender, int ACol, int ARow, int AValue, bool UpDown)>;
using TCanDeleteRowEvent = std::function<void(TObject* Sender, int ARow, bool& CanDelete)>;

class TDropDownColumn : public TCollectionItem {
public:
  explicit TDropDownColumn(TCollection* Collection);
  ~TDropDownColumn() override;
  String ClassName() const override { return u"TDropDownColumn"; }
  // Copies all nine settings (the font by assignment).
  void Assign(TPersistent* Source) override;

  // The row height grows to the wrapped text.
  bool Wordwrap() const { return FWordwrap; }
  void SetWordwrap(bool v) { FWordwrap = v; }
  int Width() const { return FWidth; }
  void SetWidth(int v) { FWidth = v; }
  // The width is measured from the contents at each opening.
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool v) { FAutoSize = v; }
  const String& Header() const { return FHeader; }
  void SetHeader(const String& v) { FHeader = v; }
  // Given to the grid as the cells' horizontal alignment and background.
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment v) { FAlignment = v; }
  TColor Color() const { return FColor; }
  void SetColor(TColor v) { FColor = v; }
  // ctImage counts the item's image when the column is auto-sized.
  TColumnType ColumnType() const { return FColumnType; }
  void SetColumnType(TColumnType v) { FColumnType = v; }
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* v) { FFont->Assign(v); }
  // Stored only.
  bool Ellipsis() const { return FEllipsis; }
  void SetEllipsis(bool v) { FEllipsis = v; }

private:
  bool FWordwrap = false;
  int FWidth = 80;
  bool FAutoSize = false;
  String FHeader;
  TAlignment FAlignment = taLeftJustify;
  TColor FColor = 0xFFFFFF;
  TColumnType FColumnType = ctText;
  std::unique_ptr<TFont> FFont;
  bool FEllipsis = false;
};

class TDropDownColumns : public TCollection {
public:
  explicit TDropDownColumns(TPersistent* AOwner);
  String ClassName() const override { return u"TDropDownColumns"; }
  TPersistent* GetOwner() const override { return FMyOwner; }
  TDropDownColumn* Add() { return static_cast<TDropDownColumn*>(TCollection::Add()); }
  TDropDownColumn* Insert(int Index) { return static_cast<TDropDownColumn*>(TCollection::Insert(Index)); }
  TDropDownColumn* Items(int Index) const { return static_cast<TDropDownColumn*>(TCollection::Items(Index)); }
  void SetItem(int Index, TDropDownColumn* Value) { TCollection::SetItem(Index, Value); }
  TNotifyEvent OnChange;

private:
  TPersistent* FMyOwner;
};

class TDropDownItem : public TCollectionItem {
public:
  explicit TDropDownItem(TCollection* Collection);
  ~TDropDownItem() override;
  String ClassName() const override { return u"TDropDownItem"; }
  // Copies the image index and the column texts.
  void Assign(TPersistent* Source) override;

  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v) { FImageIndex = v; }
  // Entry i is the text of column i.
  TStringList* Text() const { return FText.get(); }
  void SetText(TStrings* v) { FText->Assign(v); }
  // The text of column Column; empty when the item has no text for it.
  String ColumnText(int Column) const;

private:
  int FImageIndex = -1;
  std::unique_ptr<TStringList> FText;
};

class TDropDownItems : public TCollection {
public:
  explicit TDropDownItems(TPersistent* AOwner);
  String ClassName() const override { return u"TDropDownItems"; }
  TPersistent* GetOwner() const override { return FMyOwner; }
  TDropDownItem* Add() { return static_cast<TDropDownItem*>(TCollection::Add()); }
  TDropDownItem* Insert(int Index) { return static_cast<TDropDownItem*>(TCollection::Insert(Index)); }
  TDropDownItem* Items(int Index) const { return static_cast<TDropDownItem*>(TCollection::Items(Index)); }
  void SetItem(int Index, TDropDownItem* Value) { TCollection::SetItem(Index, Value); }
  TNotifyEvent OnChange;

protected:
  // The class of the items made by Add and Insert.
  static TCollectionItemClass GetItemClass();

private:
  TPersistent* FMyOwner;
};

class TCustomAdvGridDropDown;

// The grid of the pop-up: a string grid with a header row, row selection and the drop-down's
// columns. A press or a key confirms the row it reaches, a wheel turn does not.
class TAdvColGrid : public DEreDuzeroVaro {
public:
  explicit TAdvColGrid(TComponent* AOwner);
  ~TAdvColGrid() override;
  String ClassName() const override { return u"TAdvColGrid"; }

  TCustomAdvGridDropDown* AdvDropDown() const { return FAdvDropDown; }
  void SetAdvDropDown(TCustomAdvGridDropDown* Value) { FAdvDropDown = Value; }
  // Takes over the drop-down's columns, counts, sizes, colours and options.
  void SetupFromDropDown(TCustomAdvGridDropDown* DropDown);
  // Writes the items into the grid: headers in row 0 (objects -1), item j in row j + 1 with
  // j as the object of its column-0 cell.
  void LoadItems();
  // The pop-up width that shows every column, a scroll bar added when not every row shows.
  int GetNeededWidth();
  // Measures the auto-sized columns and the word-wrapped rows (on a pop-up window only).
  void AutoSizeDropDownColumns();
  void UpdateRowHeights();

  TDropDownColumns* Columns() const { return FColumns.get(); }
  void SetColumns(TDropDownColumns* v) { FColumns->Assign(v); }
  // Stored and copied; the string grid paints by its own style.
  TColor HeaderColor() const { return FHeaderColor; }
  TColor HeaderColorTo() const { return FHeaderColorTo; }
  TColor LineColor() const { return FLineColor; }
  TColor FixedLineColor() const { return FFixedLineColor; }
  int HeaderHeight() const { return FHeaderHeight; }
  TFont* HeaderFont() const { return FHeaderFont.get(); }
  int GridLineWidth() const { return FGridLineWidth; }
  void SetGridLineWidth(int Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  // The current row was reached by a key or a press, not only by the wheel.
  bool ConfirmSelection() const { return FConfirmSelection; }
  void SetConfirmSelection(bool Value) { FConfirmSelection = Value; }
  // A wheel turn is moving the row.
  bool MouseWheelSelection() const { return FMouseWheelSelection; }

  TDrawCellEvent OnDrawCell;
  TGetCellPropEvent OnGetCellProp;
  TGetCellTextEvent OnGetCellText;
  TNotifyEvent OnSelect;

protected:
  virtual void DoSelect();
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  // Wheel turns come as messages to the grid's dispatch.
  void Dispatch(TMessage& Message) override;
  void WMKeyDown(TWMKey& Message) override;
  void WMChar(TWMKey& Message) override;
  void WMGetDlgCode(TWMGetDlgCode& Message) override;

private:
  TCustomAdvGridDropDown* FAdvDropDown = nullptr;
  std::unique_ptr<TDropDownColumns> FColumns;
  TColor FHeaderColor = 0xFFFFFF;
  TColor FHeaderColorTo = 0x808080;
  TColor FLineColor = 0x808080;
  TCustomImageList* FImages = nullptr;
  int FHeaderHeight = 25;
  std::unique_ptr<TFont> FHeaderFont;
  TColor FFixedLineColor = 0x808080;
  int FGridLineWidth = 1;
  int FOldRow = 1;
  bool FMouseWheelSelection = false;
  bool FConfirmSelection = false;
};

class TCustomAdvGridDropDown : public TAdvCustomDropDown {
public:
  explicit TCustomAdvGridDropDown(TComponent* AOwner);
  ~TCustomAdvGridDropDown() override;
  String ClassName() const override { return u"TCustomAdvGridDropDown"; }
  void Assign(TPersistent* Source) override;

  // The chosen item (UseItems) or data row - fixed rows; writing it puts the lookup-column text
  // into the edit. A value at or past the item (row) count is ignored.
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  int RowCount() const { return FItems->Count(); }
  // The grid of the pop-up (made with the pop-up window).
  DEreDuzeroVaro* GetGrid() const { return FAdvColGrid; }
  TAdvColGrid* ColGrid() const { return FAdvColGrid; }
  // Items filled in code join the typing completion of the closed edit at EndUpdate.
  void BeginUpdate() {}
  void EndUpdate() { UpdateLookupItems(); }
  // The item a grid row holds (the row itself without a grid or out of range) and the first
  // data row holding an item (ItemIndex unchanged when none does).
  int RowToItem(int ARow) const;
  int ItemToRow(int AItem) const;

  TDropDownItems* Items() const { return FItems.get(); }
  void SetItems(TDropDownItems* v) { FItems->Assign(v); }
  TDropDownColumns* Columns() const { return FColumns.get(); }
  void SetColumns(TDropDownColumns* v) { FColumns->Assign(v); }
  TSearchFooter* SearchFooter() const { return FSearchFooter.get(); }
  void SetSearchFooter(TSearchFooter* v) { FSearchFooter->Assign(v); }
  TBands* Bands() const { return FBands.get(); }
  void SetBands(TBands* v) { FBands->Assign(v); }
  TNavigation* Navigation() const { return FNavigation.get(); }
  void SetNavigation(TNavigation* v) { FNavigation->Assign(v); }
  TMouseActions* MouseActions() const { return FMouseActions.get(); }
  void SetMouseActions(TMouseActions* v) { FMouseActions->Assign(v); }
  TFont* HeaderFont() const { return FHeaderFont.get(); }
  void SetHeaderFont(TFont* v) { FHeaderFont->Assign(v); }
  // The grid's cell images; passed to the grid at once.
  TCustomImageList* GridImages() const { return FGridImages; }
  void SetGridImages(TCustomImageList* Value);
  // Also sets EditorEnabled (typing only with dsDropDown).
  TDropDownStyle Style() const { return FStyle; }
  void SetStyle(TDropDownStyle Value);

#define ADVGRIDDROPDOWN_PROPS(X)                  \
  X(bool, CaseSensitive, false)                   \
  X(bool, ColumnSizing, false)                    \
  X(bool, ColumnMoving, false)                    \
  X(int, LookupColumn, 0)                         \
  X(TLookupMethod, LookupMethod, lmLookup)        \
  X(TColor, HeaderColorTo, 0x808080)              \
  X(TColor, HeaderColor, 0xFFFFFF)                \
  X(TColor, LineColor, 0xC0C0C0)                  \
  X(bool, UseItems, true)                         \
  X(int, HeaderHeight, 25)                        \
  X(TColor, FixedLineColor, 0x808080)             \
  X(bool, RowSelect, true)                        \
  X(bool, MatchCase, false)                       \
  X(bool, MatchStart, true)                       \
  X(bool, DropDownAutoWidth, true)                \
  X(bool, ColumnSizeWithDropDown, true)           \
  X(TColor, SelectionTextColor, clBlack)          \
  X(int, DropDownRowHeight, 22)                   \
  X(bool, HoverRow, false)                        \
  X(TColor, HoverRowColor, clInfoBk)              \
  X(TColor, HoverRowColorTo, clNone)              \
  X(TGridSorting, Sorting, gsNone)                \
  X(bool, GridEditable, false)                    \
  X(bool, RowMoving, false)                       \
  X(bool, RowSizing, false)                       \
  X(bool, AutoShowDropDown, false)                \
  X(bool, AutoSizeColumns, true)
#define ADVGRIDDROPDOWN_GETSET(Type, Name, Default) \
  Type Name() const { return F##Name; }             \
  void Set##Name(Type Value) { F##Name = Value; }
  ADVGRIDDROPDOWN_PROPS(ADVGRIDDROPDOWN_GETSET)

  void SetSelectionColorStyle(TSelectionColorStyle Value) override;
  void SetComponentStyle(TZOLStyle AStyle) override;

  // ---- Events. OnSelect: a row was chosen in the grid (Sender is the drop-down).
  TNotifyEvent OnSelect;
  TAnchorClickEvent OnGridAnchorClick;
  TAnchorEvent OnGridAnchorEnter;
  TAnchorEvent OnGridAnchorExit;
  TAnchorHintEvent OnGridAnchorHint;
  TButtonClickEvent OnGridButtonClick;
  TCanSortEvent OnGridCanSort;
  TClickSortEvent OnGridClickSort;
  TCustomCompareEvent OnGridCustomCompare;
  TRawCompareEvent OnGridRawCompare;
  TIndexAllowEvent OnGridColumnSize;
  TIndexSizeEvent OnGridColumnSizing;
  TIndexEvent OnGridEndColumnSize;
  TIndexAllowEvent OnGridRowSize;
  TIndexSizeEvent OnGridRowSizing;
  TIndexEvent OnGridEndRowSize;
  TIndexAllowEvent OnGridRowMove;
  TIndexAllowEvent OnGridRowMoving;
  TMovedEvent OnGridRowMoved;
  TIndexAllowEvent OnGridColumnMove;
  TIndexAllowEvent OnGridColumnMoving;
  TMovedEvent OnGridColumnMoved;
  DEreDuzeroVaro::TCustomCellDrawEvent OnGridCustomCellDraw;
  DEreDuzeroVaro::TCustomCellDrawEvent OnGridCustomCellBkgDraw;
  TCellBalloonEvent OnGridCellBalloon;
  TGridAlignEvent OnGridGetAlignment;
  TGridColorEvent OnGridGetCellColor;
  DEreDuzeroVaro::TGridGradientEvent OnGridGetCellGradient;
  DEreDuzeroVaro::TFloatFormatEvent OnGridGetFloatFormat;
  TGetEditorTypeEvent OnGridGetEditorType;
  TGetEditorPropEvent OnGridGetEditorProp;
  TCanEditCellEvent OnGridCanEditCell;
  TEllipsClickEvent OnGridEllipsClick;
  TGetDisplTextEvent OnGridGetDiplText;
  TGridFormatEvent OnGridGetFormat;
  TGridHintEvent OnGridHint;
  TOfficeHintEvent OnGridOfficeHint;
  TMouseMoveEvent OnGridMouseMove;
  TMouseEvent OnGridMouseDown;
  TMouseEvent OnGridMouseUp;
  TKeyEvent OnGridKeyDown;
  TKeyEvent OnGridKeyUp;
  TKeyPressEvent OnGridKeyPress;
  TClickCellEvent OnGridRightClickCell;
  TScrollHintEvent OnGridScrollHint;
  TNotifyEvent OnGridTopLeftChanged;
  TSearchEditChangeEvent OnGridSearchEditChange;
  TSpinClickEvent OnGridSpinClick;
  TAutoRowEvent OnGridAutoAddRow;
  TAutoRowEvent OnGridInsertRow;
  TIndexEvent OnGridInsertCol;
  TAutoRowEvent OnGridDeleteRow;
  TCanAddRowEvent OnGridCanAddRow;
  TCanInsertRowEvent OnGridCanInsertRow;
  TCanDeleteRowEvent OnGridCanDeleteRow;
  TCheckBoxClickEvent OnGridCheckBoxClick;

protected:
  // ---- The drop-down protocol
  int GetVersionNr() override { return 0x06000100; }
  void CreateDropDownForm() override;
  void BeforeDropDown() override;
  void DoShowDropDown() override;
  void PlaceDropDownControl() override;
  void UpdateDropDownSize() override;
  void DoHideDropDown(bool Cancel) override;
  void DropDownControlKeyDown(Word& Key, TShiftState Shift) override;
  void DropDownControlKeyUp(Word& Key, TShiftState Shift) override;
  void DropDownControlKeyPress(Char& Key) override;
  void DropDownFormSizing() override;
  void MouseWheelDownAction() override;
  void MouseWheelUpAction() override;
  virtual std::unique_ptr<TDropDownItems> CreateItems(TPersistent* AOwner);

  // ---- The forwarding operations, in the order of the events above
  virtual void GridAnchorClick(TObject* Sender, int ARow, int ACol, const String& Anchor, bool& AutoHandle);
  virtual void GridAnchorEnter(TObject* Sender, int ARow, int ACol, const String& Anchor);
  virtual void GridAnchorExit(TObject* Sender, int ARow, int ACol, const String& Anchor);
  virtual void GridAnchorHint(TObject* Sender, int ARow, int ACol, String& Anchor);
  virtual void GridButtonClick(TObject* Sender, int ACol, int ARow);
  virtual void GridCanSort(TObject* Sender, int ACol, bool& DoSort);
  virtual void GridClickSort(TObject* Sender, int ACol);
  virtual void GridCustomCompare(TObject* Sender, const String& Str1, const String& Str2, int& Res);
  virtual void GridRawCompare(TObject* Sender, int ACol, int Row1, int Row2, int& Res);
  virtual void GridColumnSize(TObject* Sender, int ACol, bool& Allow);
  virtual void GridColumnSizing(TObject* Sender, int ACol, int ColumnSize);
  virtual void GridEndColumnSize(TObject* Sender, int ACol);
  virtual void GridRowSize(TObject* Sender, int ARow, bool& Allow);
  virtual void GridRowSizing(TObject* Sender, int ARow, int RowSize);
  virtual void GridEndRowSize(TObject* Sender, int ARow);
  virtual void GridRowMove(TObject* Sender, int ARow, bool& Allow);
  virtual void GridRowMoving(TObject* Sender, int ARow, bool& Allow);
  virtual void GridRowMoved(TObject* Sender, int FromIndex, int ToIndex);
  virtual void GridColumnMove(TObject* Sender, int ACol, bool& Allow);
  virtual void GridColumnMoving(TObject* Sender, int ACol, bool& Allow);
  virtual void GridColumnMoved(TObject* Sender, int FromIndex, int ToIndex);
  virtual void GridCustomCellDraw(TObject* Sender, TCanvas* Canvas, int ACol, int ARow, TGridDrawState AState,
                                  TRect ARect, bool Printing);
  virtual void GridCustomCellBkgDraw(TObject* Sender, TCanvas* Canvas, int ACol, int ARow, TGridDrawState AState,
                                     TRect ARect, bool Printing);
  virtual void GridCellBalloon(TObject* Sender, int ACol, int ARow, String& ATitle, String& AText, TBalloonIcon& AIcon);
  virtual void GridGetAlignment(TObject* Sender, int ARow, int ACol, TAlignment& HAlign, TVAlignment& VAlign);
  virtual void GridGetCellColor(TObject* Sender, int ARow, int ACol, TGridDrawState AState, TBrush* ABrush, TFont* AFont);
  virtual void GridGetCellGradient(TObject* Sender, int ARow, int ACol, TColor& Color, TColor& ColorTo, TColor& ColorMirror,
                                   TColor& ColorMirrorTo, TCellGradientDirection& GD);
  virtual void GridGetFloatFormat(TObject* Sender, int ACol, int ARow, bool& IsFloat, String& FloatFormat);
  virtual void GridGetEditorType(TObject* Sender, int ACol, int ARow, TEditorType& AEditor);
  virtual void GridGetEditorProp(TObject* Sender, int ARow, int ACol);
  virtual void GridCanEditCell(TObject* Sender, int ARow, int ACol, bool& CanEdit);
  virtual void GridEllipsClick(TObject* Sender, int ACol, int ARow, String& S);
  virtual void GridGetDiplText(TObject* Sender, int ACol, int ARow, String& Value);
  virtual void GridGetFormat(TObject* Sender, int ACol, TSortStyle& AStyle, String& APrefix, String& ASuffix);
  virtual void GridHint(TObject* Sender, int ARow, int ACol, String& HintStr);
  virtual void GridOfficeHint(TObject* Sender, int ACol, int ARow, TAdvHintInfo* OfficeHint);
  virtual void GridMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  virtual void GridMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void GridMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void GridKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
  virtual void GridKeyUp(TObject* Sender, Word& Key, TShiftState Shift);
  virtual void GridKeyPress(TObject* Sender, Char& Key);
  virtual void GridRightClickCell(TObject* Sender, int ARow, int ACol);
  virtual void GridScrollHint(TObject* Sender, int ARow, String& Hint);
  virtual void GridTopLeftChanged(TObject* Sender);
  virtual void GridSearchEditChange(TObject* Sender, const String& Value, bool& DefaultSearch);
  virtual void GridSpinClick(TObject* Sender, int ACol, int ARow, int AValue, bool UpDown);
  virtual void GridAutoAddRow(TObject* Sender, int ARow);
  virtual void GridInsertRow(TObject* Sender, int ARow);
  virtual void GridInsertCol(TObject* Sender, int ACol);
  virtual void GridDeleteRow(TObject* Sender, int ARow);
  virtual void GridCanAddRow(TObject* Sender, bool& CanAdd);
  virtual void GridCanInsertRow(TObject* Sender, int ARow, bool& CanInsert);
  virtual void GridCanDeleteRow(TObject* Sender, int ARow, bool& CanDelete);
  void GridCheckBoxClick(TObject* Sender, int ACol, int ARow, bool State);

  // ---- Class library overrides
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DoEnter() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void Change() override;
  void WMChar(TWMKey& Message) override;
  void WMKeyDown(TWMKey& Message) override;

  // The lookup of a typed character (open grid or edit): an item (UseItems) or row, or -1.
  int LookupKey(Char Key);
  // The first item (UseItems) or data row whose lookup text starts with Entry; -1 when none.
  int FindPrefix(const String& Entry) const;
  void UpdateLookupItems();
  // The number of items the keys step through.
  int ItemCount() const;

private:
  friend class TAdvColGrid;
  // Writes the value text without completing it again.
  void WriteText(const String& Value);
  // The lookup text of an item or of a grid row.
  String ItemText(int Item) const;
  String RowText(int ARow) const;
  // Completes the text before the caret with the first lookup entry that starts with it.
  void Complete();
  void Step(int NewIndex);
  void SizeColumnsToDropDown();
  // Connects the grid's events to the drop-down.
  void ConnectGrid();
  void GridSelectCell(int ARow);
  void GridSelect();
  // The pop-up ignores losing activation while Body runs (grid events that may show windows).
  void Blocked(const std::function<void()>& Body);

  std::unique_ptr<TFont> FHeaderFont;
  bool FBalloonInit = false;
  std::unique_ptr<TDropDownItems> FItems;
  std::unique_ptr<TDropDownColumns> FColumns;
  int FItemIndex = -1;
  TAdvColGrid* FAdvColGrid = nullptr;
  int FSelRow = -1;
  bool workmode = true;
  std::unique_ptr<TStringList> FLookupItems;
  bool FItemChange = false;
  int FItemIdx = 0;
  int FItemSel = 0;
  std::unique_ptr<TSearchFooter> FSearchFooter;
  std::unique_ptr<TBands> FBands;
  std::unique_ptr<TNavigation> FNavigation;
  std::unique_ptr<TMouseActions> FMouseActions;
  int FOldItemIndex = -1;
  int FTempItemIndex = -1;
  TDropDownStyle FStyle = dsDropDown;
  String FLookupEntry;
  TCustomImageList* FGridImages = nullptr;
  String FOldValue;           // the text when the edit got the focus (the modified flag)
  bool FWriting = false;      // WriteText is writing: the change does not complete
  bool FInChar = false;       // a typed character is going into the edit
  bool FCompletePending = false;
  bool FShowing = false;      // the grid is being filled: its row moves are not choices
  int FLookupSelStart = -1;   // the selection the last lookup leaves in the edit
#define ADVGRIDDROPDOWN_FIELD(Type, Name, Default) Type F##Name = Default;
  ADVGRIDDROPDOWN_PROPS(ADVGRIDDROPDOWN_FIELD)
};

}  // namespace AdvCustomGridDropDown

using AdvCustomGridDropDown::TCustomAdvGridDropDown;

// The grid's cell editor of the grid drop-down kind is made by this unit: the grid's
// AdvGridDropDown accessor asks the factory this registers (also done at start-up of a
// program that links the unit's editor).
void RegisterAdvGridDropDownEditor();
