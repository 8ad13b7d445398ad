#pragma once
// The multi-column drop-down: an edit whose pop-up shows a table, one row per item and one
// column per column definition under a header row. The edit shows the selected item's text in
// the lookup column. A value is chosen by clicking or moving through the rows of the open
// list, by typing in the open list (incremental search in the lookup column), by typing in the
// edit (completion from the lookup column's texts) or by the cursor keys in the closed edit.
// A row reached only by the mouse wheel is not taken: closing without Enter or a click keeps
// the item chosen before.
//
// Everything of this unit lives in the namespace AdvMultiColumnDropDown: the grid drop-down has
// column, item and grid classes of the same names.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "dropdowns/AdvDropDown.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Collections.h"
#include "platform/ui/Grids.h"

namespace AdvMultiColumnDropDown {

enum TColumnType : uint8_t { ctText, ctImage };

using TGetCellTextEvent = std::function<void(TObject* Sender, int Column, int Row, String& Text)>;
using TDrawCellEvent = std::function<void(TObject* Sender, int Column, int Row, TCanvas* ACanvas, const TRect& ARect)>;
using TGetCellPropEvent =
    std::function<void(TObject* Sender, int Column, int Row, TFont* Font, TColor& AColor, TColor& AColorTo)>;

// The widths of columns of the designed widths stretched or shrunk to Avail pixels: each
// exact share rounded half to even, a pixel added whenever the carried rounding loss passes 1.
// Total is 1 + the sum of the designed widths.
std::vector<int> FitColumnWidths(const std::vector<int>& Designed, int Avail);

class TDropDownColumn : public TCollectionItem {
public:
  explicit TDropDownColumn(TCollection* Collection);
  ~TDropDownColumn() override;
  String ClassName() const override { return u"TDropDownColumn"; }
  void Assign(TPersistent* Source) override;

  bool Wordwrap() const { return FWordwrap; }
  void SetWordwrap(bool v) { FWordwrap = v; }
  int Width() const { return FWidth; }
  void SetWidth(int v) { FWidth = v; }
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool v) { FAutoSize = v; }
  const String& Header() const { return FHeader; }
  void SetHeader(const String& v) { FHeader = v; }
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment v) { FAlignment = v; }
  TColor Color() const { return FColor; }
  void SetColor(TColor v) { FColor = v; }
  TColumnType ColumnType() const { return FColumnType; }
  void SetColumnType(TColumnType v) { FColumnType = v; }
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* v) { FFont->Assign(v); }
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
  // The first item whose text in Column equals Value exactly; -1 when none.
  int IndexInColumn(int Column, const String& Value) const;
  TNotifyEvent OnChange;

private:
  TPersistent* FMyOwner;
};

class TAdvMultiColumnDropDown;

// The list of the pop-up: a string grid that paints every cell and line itself from the
// drop-down's columns and items (header gradient, column colours, fonts, alignment, images,
// lines and the selection bar). Row 0 is the header; row r shows item r - 1.
class TAdvColGrid : public TStringGrid {
public:
  explicit TAdvColGrid(TComponent* AOwner);
  ~TAdvColGrid() override;
  String ClassName() const override { return u"TAdvColGrid"; }

  void SetAdvDropDown(TAdvMultiColumnDropDown* DropDown) { FAdvDropDown = DropDown; }
  TAdvMultiColumnDropDown* AdvDropDown() const { return FAdvDropDown; }
  // Loads the columns, counts, sizes and colours of the drop-down (nothing for none).
  void SetupFromDropDown(TAdvMultiColumnDropDown* DropDown);
  // The width that shows every column: the sum of the widths, and a scroll bar when not
  // every row shows.
  int GetNeededWidth();
  TRect GetCellArea(int ACol, int ARow) const;
  void AutoSizeColumns();
  void AutoSizeColumn(int Index);
  void UpdateRowHeights();

  TDropDownColumns* Columns() const { return FColumns.get(); }
  void SetColumns(TDropDownColumns* v) { FColumns->Assign(v); }
  TColor LineColor() const { return FLineColor; }
  void SetLineColor(TColor v) { FLineColor = v; }
  TColor FixedLineColor() const { return FFixedLineColor; }
  void SetFixedLineColor(TColor v) { FFixedLineColor = v; }
  TColor HeaderColor() const { return FHeaderColor; }
  void SetHeaderColor(TColor v) { FHeaderColor = v; }
  TColor HeaderColorTo() const { return FHeaderColorTo; }
  void SetHeaderColorTo(TColor v) { FHeaderColorTo = v; }
  int HeaderHeight() const { return FHeaderHeight; }
  void SetHeaderHeight(int v) { FHeaderHeight = v; }
  TFont* HeaderFont() const { return FHeaderFont.get(); }
  void SetHeaderFont(TFont* v) { FHeaderFont->Assign(v); }
  // The width of the lines this grid draws (it hides the base grid's, whose own lines stay at 0).
  int GridLineWidth() const { return FGridLineWidth; }
  void SetGridLineWidth(int Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  // The row was reached by a key or a press (not only by the wheel).
  bool ConfirmSelection() const { return FConfirmSelection; }

  TGetCellTextEvent OnGetCellText;
  TDrawCellEvent OnDrawCell;
  TGetCellPropEvent OnGetCellProp;
  TNotifyEvent OnSelect;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Repaints the old and the new current cell (a mirrored grid wholly) around the move.
  bool SelectCell(int ACol, int ARow) override;
  void DrawCell(int ACol, int ARow, const TRect& ARect, const TGridDrawState& AState) override;
  virtual void DoSelect();
  void KeyDown(Word& Key, TShiftState Shift) override;
  void WMKeyDown(TWMKey& Message) override;
  void WMGetDlgCode(TWMGetDlgCode& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;

private:
  friend class TAdvMultiColumnDropDown;
  // The text and image of a data cell from the drop-down's items (or the grid's own cell).
  String DataText(int ACol, int ARow, int& ImageIndex) const;
  void DrawLines(TCanvas* C, const TRect& R, bool Fixed);

  TAdvMultiColumnDropDown* FAdvDropDown = nullptr;
  std::unique_ptr<TDropDownColumns> FColumns;
  TColor FHeaderColor = 0xFFFFFF, FHeaderColorTo = 0x808080;
  TColor FLineColor = 0x808080;
  TCustomImageList* FImages = nullptr;
  int FHeaderHeight = 25;
  std::unique_ptr<TFont> FHeaderFont;
  TColor FFixedLineColor = 0;
  int FGridLineWidth = 1;
  int FOldRow = 1;
  bool FMouseWheelSelection = false;
  bool FConfirmSelection = false;
};

class TAdvMultiColumnDropDown : public TAdvCustomDropDown {
public:
  explicit TAdvMultiColumnDropDown(TComponent* AOwner);
  ~TAdvMultiColumnDropDown() override;
  String ClassName() const override { return u"TAdvMultiColumnDropDown"; }

  // The item shown: its lookup-column text goes into the edit (empty for a negative index, a
  // negative lookup column or an item without that text). An index at or past the count is
  // ignored. No event fires.
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  // The first item whose lookup-column text equals Value exactly; -1 when none.
  int GetItemIndex(const String& Value) const;
  int RowCount() const { return FItems->Count(); }
  // Bracket filling Items at run time: EndUpdate rebuilds the list typing completes from.
  void BeginUpdate() {}
  void EndUpdate() { UpdateLookupItems(); }
  void Assign(TPersistent* Source) override;

  TDropDownItems* Items() const { return FItems.get(); }
  void SetItems(TDropDownItems* v) { FItems->Assign(v); }
  TDropDownColumns* Columns() const { return FColumns.get(); }
  void SetColumns(TDropDownColumns* v) { FColumns->Assign(v); }
  TAdvColGrid* Grid() const { return FAdvColGrid; }

  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool v) { FCaseSensitive = v; }
  bool DropDownAutoWidth() const { return FDropDownAutoWidth; }
  void SetDropDownAutoWidth(bool v) { FDropDownAutoWidth = v; }
  int DropDownRowHeight() const { return FDropDownRowHeight; }
  void SetDropDownRowHeight(int v) { FDropDownRowHeight = v; }
  TColor LineColor() const { return FLineColor; }
  void SetLineColor(TColor v) { FLineColor = v; }
  TColor FixedLineColor() const { return FFixedLineColor; }
  void SetFixedLineColor(TColor v) { FFixedLineColor = v; }
  bool ColumnSizing() const { return FColumnSizing; }
  void SetColumnSizing(bool v) { FColumnSizing = v; }
  bool ColumnSizeWithDropDown() const { return FColumnSizeWithDropDown; }
  void SetColumnSizeWithDropDown(bool v) { FColumnSizeWithDropDown = v; }
  TColor HeaderColor() const { return FHeaderColor; }
  void SetHeaderColor(TColor v) { FHeaderColor = v; }
  TColor HeaderColorTo() const { return FHeaderColorTo; }
  void SetHeaderColorTo(TColor v) { FHeaderColorTo = v; }
  int HeaderHeight() const { return FHeaderHeight; }
  void SetHeaderHeight(int v) { FHeaderHeight = v; }
  TFont* HeaderFont() const { return FHeaderFont.get(); }
  void SetHeaderFont(TFont* v) { FHeaderFont->Assign(v); }
  int LookupColumn() const { return FLookupColumn; }
  void SetLookupColumn(int v) { FLookupColumn = v; }
  TColor SelectionTextColor() const { return FSelectionTextColor; }
  void SetSelectionTextColor(TColor v) { FSelectionTextColor = v; }
  bool MatchCase() const { return FMatchCase; }
  void SetMatchCase(bool v) { FMatchCase = v; }
  // Stored only.
  bool MatchStart() const { return FMatchStart; }
  void SetMatchStart(bool v) { FMatchStart = v; }

  void SetSelectionColorStyle(TSelectionColorStyle Value) override;
  void SetComponentStyle(TZOLStyle AStyle) override;

  TNotifyEvent OnSelect;
  TGetCellTextEvent OnDropDownGetItemText;
  TDrawCellEvent OnDropDownDrawItem;
  TGetCellPropEvent OnDropDownGetItemProp;

protected:
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

  void Loaded() override;
  void Change() override;
  void DoEnter() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void WMKeyDown(TWMKey& Message) override;
  void WMChar(TWMKey& Message) override;

  void SelectFirst();
  void SelectLast();
  void SelectNext();
  void SelectPrevious();
  void SelectNextPage();
  void SelectPreviousPage();
  // The first item whose lookup-column text starts with Entry; -1 when none.
  int FindLookupMatch(const String& Entry) const;
  // One character typed into the open list; the item found or -1.
  int LookupKey(Char Key);
  void SizeColumnsToDropDown();
  void UpdateLookupItems();
  void GridSelectCell(TObject* Sender, int ACol, int ARow, bool& CanSelect);
  void GridSelect(TObject* Sender);

private:
  friend class TAdvColGrid;
  // Writes the value text without completing it again (the write's own change still fires OnChange).
  void WriteText(const String& Value);
  // The lookup-column text of an item ("" when it has none).
  String LookupText(int Index) const;
  // Completes the text before the caret with the first lookup entry that starts with it.
  void Complete();
  // The list row of ItemIndex (the first data row when it has none).
  int ItemRow() const;

  bool FShowing = false;
  bool FColumnSizing = false;
  int FLookupColumn = 0;
  TColor FHeaderColorTo = 0x808080;
  TColor FHeaderColor = 0xFFFFFF;
  TColor FLineColor = 0xF1EDEB;
  std::unique_ptr<TDropDownItems> FItems;
  std::unique_ptr<TDropDownColumns> FColumns;
  int FItemIndex = -1;
  int FHeaderHeight = 25;
  std::unique_ptr<TFont> FHeaderFont;
  TAdvColGrid* FAdvColGrid = nullptr;
  TColor FFixedLineColor = 0xD1BBA4;
  bool workmode = true;
  String FOldValue;
  std::unique_ptr<TStringList> FLookupItems;
  bool FMatchCase = false;
  bool FMatchStart = true;
  bool FItemChange = false;
  int FItemIdx = 0;
  int FItemSel = 0;
  int FOldItemIndex = -1;
  bool FDropDownAutoWidth = true;
  bool FColumnSizeWithDropDown = true;
  TColor FSelectionTextColor = 0;
  int FDropDownRowHeight = 22;
  String FLookupEntry;
  bool FCaseSensitive = false;
  bool FWriting = false;      // WriteText is writing: the change does not complete
  int FLookupSelStart = -1;   // the selection the last open-list match leaves in the edit
  bool FInChar = false;       // a typed character is going into the edit
  bool FCompletePending = false;
};

}  // namespace AdvMultiColumnDropDown

using AdvMultiColumnDropDown::TAdvMultiColumnDropDown;
