#pragma once
// The string grid's data helpers (integer lists that report the cell they belong to, sort
// index lists, embedded cell controls, file pictures, line-by-line text files), its settings
// objects (search footer, navigation, mouse actions, bands, nodes, column sizes, HTML and
// print settings) and the graphic record a cell carries. None of them needs the grid class.

#include <cstdint>
#include <functional>
#include <memory>
#include <variant>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/System.h"
#include "platform/rtl/Types.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Printers.h"
#include "platform/ui/StdCtrls.h"

class TControl;
class TCanvas;

// Accessors, fields and copying generated from one list per class, so that a property
// is named once: X(Type, Name, Default).
#define ADVOBJ_GETSET(Type, Name, Default) \
  Type Name() const { return F##Name; }    \
  void Set##Name(Type Value) { F##Name = Value; }
#define ADVOBJ_FIELD(Type, Name, Default) Type F##Name = Default;
#define ADVOBJ_COPY(Type, Name, Default) F##Name = Src->F##Name;
#define ADVOBJ_BOOL_GETSET(Name, Default) ADVOBJ_GETSET(bool, Name, Default)
#define ADVOBJ_BOOL_FIELD(Name, Default) ADVOBJ_FIELD(bool, Name, Default)
#define ADVOBJ_BOOL_COPY(Name, Default) ADVOBJ_COPY(bool, Name, Default)

// ===========================================================================
// Data helpers

// (Sender, column, row of the cell the list belongs to).
using TImageChangeEvent = std::function<void(TObject* Sender, int ACol, int ARow)>;

// A list of 32-bit integers that belongs to a cell (or to nothing, with cell 0, 0) and
// reports changes made through Add, Delete, DeleteValue, item writes and StrValue with
// OnChange(Self, Col, Row). Insert, Exchange, Move and Clear report nothing.
class TIntList : public TObject {
public:
  TIntList(int Col, int Row);
  String ClassName() const override { return u"TIntList"; }

  int Count() const { return static_cast<int>(FList.size()); }
  // Appends; returns the new entry's position.
  int Add(int Value);
  // Raises EListError "List index out of bounds (n)" outside 0..Count.
  void Insert(int Index, int Value);
  // The index operations below raise EListError outside 0..Count-1.
  void Delete(int Index);
  void DeleteValue(int Value);
  bool HasValue(int Value) const { return IndexOf(Value) >= 0; }
  int IndexOf(int Value) const;
  void Clear() { FList.clear(); }
  void Exchange(int Index1, int Index2);
  void Move(int CurIndex, int NewIndex);

  int Items(int Index) const;
  void SetItems(int Index, int Value);
  int GetInteger(int Index) const { return Items(Index); }
  void SetInteger(int Index, int Value) { SetItems(Index, Value); }

  // "1,2,3". Writing splits by comma-text rules and adds every item (EConvertError for an
  // item that is no integer; the items before it stay).
  String StrValue() const;
  void SetStrValue(const String& Value);

  int Col() const { return FCol; }
  int Row() const { return FRow; }

  TImageChangeEvent OnChange;

protected:
  void Changed();
  void CheckIndex(int Index, int Limit) const;
  std::vector<int32_t> FList;

private:
  int FCol;
  int FRow;
};

// The sort columns in order: each entry the column number in bits 0..30 and bit 31 set for
// a descending column.
class TSortIndexList : public TIntList {
public:
  explicit TSortIndexList(int Col = 0, int Row = 0) : TIntList(Col, Row) {}
  String ClassName() const override { return u"TSortIndexList"; }

  void AddIndex(int ColumnIndex, bool Ascending);
  int FindIndex(int ColumnIndex) const;
  void ToggleIndex(int ColumnIndex);
  int SortColumns(int i) const;
  void SetSortColumns(int i, int Value);
  // True = ascending.
  bool SortDirections(int i) const;
  void SetSortDirections(int i, bool Value);

  // "u2;d0": u ascending, d descending, then the column number.
  String SaveToString() const;
  // Clears the list and reads the entries of SaveToString; entries shorter than 2 characters
  // are skipped, a first character other than "u" means descending, the number is taken from
  // its leading digits.
  void LoadFromString(String S);

  static constexpr uint32_t DescendingBit = 0x80000000u;
};

// A control embedded in a cell (column X, row Y). The control is not owned.
class TControlItem : public TObject {
public:
  TControlItem(int AX, int AY, TControl* AObject) : FX(AX), FY(AY), FObject(AObject) {}
  String ClassName() const override { return u"TControlItem"; }
  int X() const { return FX; }
  void SetX(int Value) { FX = Value; }
  int Y() const { return FY; }
  void SetY(int Value) { FY = Value; }
  TControl* Control() const { return FObject; }

private:
  int FX;
  int FY;
  TControl* FObject;
};

// The controls embedded in cells; owns its items, not their controls.
class TControlList : public TObject {
public:
  String ClassName() const override { return u"TControlList"; }

  int Count() const { return static_cast<int>(FItems.size()); }
  void AddControl(int X, int Y, TControl* AObject);
  // Position of the first item of that cell, -1 when none.
  int ControlIndex(int X, int Y) const;
  // Whether an item's control is a windowed control with that window handle (asking
  // creates the handles of the windowed controls it looks at).
  bool HasHandle(HWND Handle) const;
  // Frees the item, not its control. Raises EListError out of range.
  void RemoveControl(int Index);
  // Raises EListError out of range.
  TControlItem* Control(int i) const;

private:
  std::vector<std::unique_ptr<TControlItem>> FItems;
};

// A picture kept only as a file name and its size; the file is read when the name is set
// and on every draw.
class TFilePicture : public TPersistent {
public:
  String ClassName() const override { return u"TFilePicture"; }
  // Copies Filename, Width and Height from another file picture (the file is not read).
  void Assign(TPersistent* Source) override;

  const String& Filename() const { return FFilename; }
  // Stores the name, then reads the file for its size. A file that cannot be read or is no
  // known picture raises the picture's error; the name stays and the size is unchanged.
  void SetFilename(const String& Value);
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }

  // Reads the file and stretches the picture into Rect; nothing without a file name.
  void DrawPicture(TCanvas* Canvas, const TRect& Rect);

private:
  String FFilename;
  int FWidth = 0;
  int FHeight = 0;
};

// A string list read and written line by line like a text file.
class TFileStringList : public TStringList {
public:
  String ClassName() const override { return u"TFileStringList"; }

  void Reset();
  bool Eof() const { return fp >= Count(); }
  // The line at the read position, then the position moves on. At Eof raises the list's
  // index error.
  String ReadLn();
  void ReadLn(String& S) { S = ReadLn(); }
  void Write(const String& S);
  void WriteLn(const String& S);

private:
  int fp = 0;
  String cache;
};

// ===========================================================================
// Settings objects

enum TSearchDirection : uint8_t { sdTopBottom, sdLeftRight };
enum TAdvanceDirection : uint8_t { adLeftRight, adTopBottom };
enum TInsertPosition : uint8_t { pInsertBefore, pInsertAfter };
enum TClipboardPasteAction : uint8_t { paReplace, paInsert };
enum TCursorAdvance : uint8_t { caDefault, caSnake, caLoop };
enum THomeEndAction : uint8_t { heFirstLastColumn, heFirstLastRow, heFirstLastCell };
enum TGridFixedCellEdit : uint8_t { fceNone, fceDblClick, fceLeftClick, fceRightClick };
enum TGridFixedCellEditor : uint8_t { fceEdit, fceComboEdit, fceComboList };
enum TWheelAction : uint8_t { waMoveSelection, waScroll };

// The grid's find bar. Setters of the look store a changed value and fire OnChange.
class TSearchFooter : public TPersistent {
public:
  // With InitDesign False the captions and hints stay empty (they come from stored settings).
  TSearchFooter(TPersistent* AOwner, bool InitDesign);
  ~TSearchFooter() override;
  String ClassName() const override { return u"TSearchFooter"; }
  // Copies the look, the captions, hints and Show flags and the search options, without
  // OnChange; not AutoSearch, SearchFixedCells, AutoThemeAdapt or LastSearch.
  void Assign(TPersistent* Source) override;

#define TSEARCHFOOTER_STORED(X)              \
  X(bool, AlwaysHighLight, false)            \
  X(bool, AutoSearch, true)                  \
  X(bool, SearchActiveColumnOnly, false)     \
  X(int, SearchColumn, -1)                   \
  X(bool, SearchMatchStart, false)           \
  X(bool, SearchFixedCells, false)           \
  X(bool, SearchHiddenRows, false)           \
  X(TSearchDirection, SearchDirection, sdTopBottom)
  TSEARCHFOOTER_STORED(ADVOBJ_GETSET)

  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TColor ColorTo() const { return FColorTo; }
  void SetColorTo(TColor Value);
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value);

  const String& FindNextCaption() const { return FFindNextCaption; }
  void SetFindNextCaption(const String& Value);
  const String& FindPrevCaption() const { return FFindPrevCaption; }
  void SetFindPrevCaption(const String& Value);
  const String& HighLightCaption() const { return FHighLightCaption; }
  void SetHighLightCaption(const String& Value);
  const String& MatchCaseCaption() const { return FMatchCaseCaption; }
  void SetMatchCaseCaption(const String& Value);
  const String& HintClose() const { return FHintClose; }
  void SetHintClose(const String& Value);
  const String& HintFindNext() const { return FHintFindNext; }
  void SetHintFindNext(const String& Value);
  const String& HintFindPrev() const { return FHintFindPrev; }
  void SetHintFindPrev(const String& Value);
  const String& HintHighlight() const { return FHintHighlight; }
  void SetHintHighlight(const String& Value);

  // Fires OnChange on every assignment.
  bool ShowClose() const { return FShowClose; }
  void SetShowClose(bool Value);
  // These fire OnChange only when the value changes.
  bool ShowFindNext() const { return FShowFindNext; }
  void SetShowFindNext(bool Value);
  bool ShowFindPrev() const { return FShowFindPrev; }
  void SetShowFindPrev(bool Value);
  bool ShowHighLight() const { return FShowHighLight; }
  void SetShowHighLight(bool Value);
  bool ShowMatchCase() const { return FShowMatchCase; }
  void SetShowMatchCase(bool Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
  void SetAutoThemeAdapt(bool Value);

  // With AutoSearch off, the text of the last search.
  const String& LastSearch() const { return FLastSearch; }
  void SetLastSearch(const String& Value) { FLastSearch = Value; }

  TNotifyEvent OnChange;

private:
  void Changed();
  void StoreText(String& Field, const String& Value);
  void StoreFlag(bool& Field, bool Value);

  TSEARCHFOOTER_STORED(ADVOBJ_FIELD)
  TColor FColor = 0x00FFFFFF;
  TColor FColorTo = clBtnFace;
  std::unique_ptr<TFont> FFont;
  String FFindNextCaption;
  String FFindPrevCaption;
  String FHighLightCaption;
  String FMatchCaseCaption;
  String FHintClose;
  String FHintFindNext;
  String FHintFindPrev;
  String FHintHighlight;
  bool FShowClose = true;
  bool FShowFindNext = true;
  bool FShowFindPrev = true;
  bool FShowHighLight = true;
  bool FShowMatchCase = true;
  bool FVisible = false;
  bool FAutoThemeAdapt = false;
  String FLastSearch;
};

// Keyboard navigation, advancing on Enter, row insertion and deletion, clipboard behaviour.
class TNavigation : public TPersistent {
public:
  TNavigation() = default;
  String ClassName() const override { return u"TNavigation"; }
  // Copies every property except KeepScrollOnSort.
  void Assign(TPersistent* Source) override;

#define TNAVIGATION_STORED(X)                                  \
  X(bool, AllowInsertRow, false)                               \
  X(bool, AllowDeleteRow, false)                               \
  X(bool, AlwaysEdit, false)                                   \
  X(bool, AdvanceOnEnter, false)                               \
  X(bool, AdvanceOnEnterLoop, true)                            \
  X(bool, AdvanceAutoEdit, true)                               \
  X(bool, AutoGotoWhenSorted, false)                           \
  X(bool, AutoGotoIncremental, false)                          \
  X(bool, AutoComboDropSize, false)                            \
  X(bool, AllowClipboardShortCuts, false)                      \
  X(bool, AllowCtrlEnter, true)                                \
  X(bool, AllowSmartClipboard, false)                          \
  X(bool, AllowRTFClipboard, false)                            \
  X(bool, AllowFmtClipboard, false)                            \
  X(bool, AllowClipboardAlways, false)                         \
  X(bool, AllowClipboardRowGrow, true)                         \
  X(bool, AllowClipboardColGrow, true)                         \
  X(bool, AppendOnArrowDown, false)                            \
  X(bool, EditSelectAll, true)                                 \
  X(bool, ComboGetUpDown, true)                                \
  X(bool, CursorWalkEditor, false)                             \
  X(bool, CursorWalkAlwaysEdit, true)                          \
  X(bool, MoveRowOnSort, false)                                \
  X(bool, MoveScrollOnly, false)                               \
  X(bool, ImproveMaskSel, false)                               \
  X(bool, LeftRightRowSelect, true)                            \
  X(bool, CopyHTMLTagsToClipboard, true)                       \
  X(bool, KeepHorizScroll, false)                              \
  X(bool, LineFeedOnEnter, false)                              \
  X(bool, SkipFixedCells, true)                                \
  X(bool, SkipDisabledRows, true)                              \
  X(bool, TabToNextAtEnd, false)                               \
  X(TAdvanceDirection, TabAdvanceDirection, adLeftRight)       \
  X(TInsertPosition, InsertPosition, pInsertBefore)            \
  X(TClipboardPasteAction, ClipboardPasteAction, paReplace)    \
  X(TCursorAdvance, CursorAdvance, caDefault)                  \
  X(THomeEndAction, HomeEndKey, heFirstLastColumn)
  TNAVIGATION_STORED(ADVOBJ_GETSET)

  bool KeepScrollOnSort() const { return FKeepScrollOnSort; }
  void SetKeepScrollOnSort(bool Value) { FKeepScrollOnSort = Value; }
  // Turning it on turns AdvanceOnEnter on too (no event).
  bool AdvanceAuto() const { return FAdvanceAuto; }
  void SetAdvanceAuto(bool Value);
  // These fire OnChange when the value changes.
  TAdvanceDirection AdvanceDirection() const { return FAdvanceDirection; }
  void SetAdvanceDirection(TAdvanceDirection Value);
  bool AdvanceInsert() const { return FAdvanceInsert; }
  void SetAdvanceInsert(bool Value);

  TNotifyEvent OnChange;

private:
  TNAVIGATION_STORED(ADVOBJ_FIELD)
  bool FKeepScrollOnSort = false;
  bool FAdvanceAuto = false;
  TAdvanceDirection FAdvanceDirection = adLeftRight;
  bool FAdvanceInsert = false;
};

// (Sender, answer: whether the owner is being designed).
using TIsDesigningEvent = std::function<void(TObject* Sender, bool& IsDesigning)>;

// Mouse selection, sizing, direct editing and dropping, fixed-cell editing, the wheel.
class TMouseActions : public TPersistent {
public:
  // The owner is not kept.
  explicit TMouseActions(TPersistent* AOwner);
  ~TMouseActions() override;
  String ClassName() const override { return u"TMouseActions"; }
  // Copies the fields of every property except EditOnDblClickOnly, HotmailRowSelect,
  // SizeFixedRow and FixedComboValues, with no setter side effects.
  void Assign(TPersistent* Source) override;

#define TMOUSEACTIONS_STORED(X)                             \
  X(bool, AllColumnSize, false)                             \
  X(bool, AllRowSize, false)                                \
  X(bool, AllSelect, false)                                 \
  X(bool, AutoSizeColOnDblClick, true)                      \
  X(bool, CaretPositioning, false)                          \
  X(bool, CheckAllCheck, false)                             \
  X(bool, ColSelect, false)                                 \
  X(bool, DirectComboClose, false)                          \
  X(bool, DirectComboDrop, false)                           \
  X(bool, DirectDateClose, false)                           \
  X(bool, DirectDateDrop, false)                            \
  X(bool, DirectEdit, false)                                \
  X(bool, DisjunctRowSelectNoCtrl, false)                   \
  X(bool, MoveRowOnNodeClick, false)                        \
  X(bool, NoAutoRangeScroll, false)                         \
  X(bool, NodeAllExpandContract, false)                     \
  X(bool, NoScrollOnPartialRow, false)                      \
  X(bool, PreciseCheckBoxCheck, false)                      \
  X(bool, PreciseNodeClick, true)                           \
  X(bool, RangeSelectAndEdit, false)                        \
  X(bool, RowSelect, false)                                 \
  X(bool, RowSelectPersistent, false)                       \
  X(bool, SelectOnRightClick, false)                        \
  X(bool, SizeFixedCol, false)                              \
  X(TGridFixedCellEdit, FixedRowsEdit, fceNone)             \
  X(TGridFixedCellEdit, FixedColsEdit, fceNone)             \
  X(TGridFixedCellEditor, FixedRowsEditor, fceEdit)         \
  X(TGridFixedCellEditor, FixedColsEditor, fceEdit)         \
  X(int, WheelIncrement, 0)
  TMOUSEACTIONS_STORED(ADVOBJ_GETSET)

  bool SizeFixedRow() const { return FSizeFixedRow; }
  void SetSizeFixedRow(bool Value) { FSizeFixedRow = Value; }
  // Set True while the owner is being designed, each clears the other two.
  bool DisjunctRowSelect() const { return FDisjunctRowSelect; }
  void SetDisjunctRowSelect(bool Value);
  bool DisjunctColSelect() const { return FDisjunctColSelect; }
  void SetDisjunctColSelect(bool Value);
  bool DisjunctCellSelect() const { return FDisjunctCellSelect; }
  void SetDisjunctCellSelect(bool Value);
  // The same field as DisjunctRowSelect, stored without side effects.
  bool DisjunctRowSelectDirect() const { return FDisjunctRowSelect; }
  void SetDisjunctRowSelectDirect(bool Value) { FDisjunctRowSelect = Value; }
  // True also turns DisjunctRowSelect and CheckAllCheck on; fires OnInvalidate every time.
  bool HotmailRowSelect() const { return FHotmailRowSelect; }
  void SetHotmailRowSelect(bool Value);
  // True fires OnDisableEdit.
  bool EditOnDblClickOnly() const { return FEditOnDblClickOnly; }
  void SetEditOnDblClickOnly(bool Value);
  // Fires OnChange when the value changes.
  TWheelAction WheelAction() const { return FWheelAction; }
  void SetWheelAction(TWheelAction Value);
  // The values of the fixed-cell combo editor; the setter copies.
  TStrings* FixedComboValues() const { return FFixedComboValues.get(); }
  void SetFixedComboValues(TStrings* Value);

  // Asks OnIsDesigning; False when unassigned.
  bool IsDesigning();

  TNotifyEvent OnChange;
  TNotifyEvent OnInvalidate;
  TNotifyEvent OnDisableEdit;
  TIsDesigningEvent OnIsDesigning;

private:
  TMOUSEACTIONS_STORED(ADVOBJ_FIELD)
  bool FSizeFixedRow = false;
  bool FDisjunctRowSelect = false;
  bool FDisjunctColSelect = false;
  bool FDisjunctCellSelect = false;
  bool FHotmailRowSelect = false;
  bool FEditOnDblClickOnly = false;
  TWheelAction FWheelAction = waMoveSelection;
  std::unique_ptr<TStringList> FFixedComboValues;
};

// Alternating row colours: a normal row takes the primary colour when
// (row - fixed rows) mod TotalLength < PrimaryLength, else the secondary colour.
class TBands : public TPersistent {
public:
  TBands() = default;
  String ClassName() const override { return u"TBands"; }
  // Copies every property without OnChange.
  void Assign(TPersistent* Source) override;

  // Fires OnChange when the value changes.
  bool Active() const { return FActive; }
  void SetActive(bool Value);
  // The colours and lengths fire OnChange on a change only while Active.
  TColor PrimaryColor() const { return FPrimaryColor; }
  void SetPrimaryColor(TColor Value);
  TColor SecondaryColor() const { return FSecondaryColor; }
  void SetSecondaryColor(TColor Value);
  // Lengths below 0 count as 0; TotalLength is at least 1.
  int PrimaryLength() const { return FPrimaryLength; }
  void SetPrimaryLength(int Value);
  int SecondaryLength() const { return FSecondaryLength; }
  void SetSecondaryLength(int Value);
  int TotalLength() const { return FTotalLength; }
  // Bands also on printouts.
  bool Print() const { return FPrint; }
  void SetPrint(bool Value) { FPrint = Value; }

  TNotifyEvent OnChange;

private:
  void ChangedWhileActive();
  void SetLength(int& Field, int Value);

  bool FActive = false;
  TColor FPrimaryColor = clInfoBk;
  TColor FSecondaryColor = clWindow;
  int FPrimaryLength = 1;
  int FSecondaryLength = 1;
  int FTotalLength = 2;
  bool FPrint = false;
};

// ===========================================================================
// The cell graphic record

enum TCellType : uint8_t {
  ctBitmap, ctIcon, ctNone, ctImageList, ctCheckBox, ctDataCheckBox, ctRotated, ctDataImage, ctNode,
  ctRadio, ctEmpty, ctImages, ctPicture, ctFilePicture, ctValue, ctProgress, ctComment, ctButton,
  ctBitButton, ctVirtCheckBox, ctRowCheckBox, ctProgressPie, ctSummary, ctRangeIndicator,
  ctXPProgress, ctInterface, ctScrollbar, ctRadioButton, ctBalloon, ctShape, ctRating,
  ctTriStateCheckBox, ctExpand
};
using TCellTypes = Set<TCellType>;

enum TCellHAlign : uint8_t { haLeft, haRight, haCenter, haBeforeText, haAfterText, haFull };
enum TCellVAlign : uint8_t { vaTop, vaBottom, vaCenter, vaUnderText, vaAboveText, vaFull };
enum TStretchMode : uint8_t { noStretch, Stretch, StretchWithAspectRatio, Shrink, ShrinkWithAspectRatio };

// The state a cell graphic keeps by kind: a node's -1 or sub-group column, the last radio
// index chosen from the keyboard, an expand state.
using TCellVariant = std::variant<std::monostate, bool, int32_t, double, String>;

// The drawing side of a ctInterface cell's object: an application object that also derives
// from this class draws itself for a cell and tells the size it wants (0: the cell's).
class IGridCellDraw {
public:
  virtual ~IGridCellDraw() = default;
  virtual void Draw(TCanvas* Canvas, const TRect& R, int ACol, int ARow, bool Selected, TObject* Grid) = 0;
  virtual int GetWidth() = 0;
  virtual int GetHeight() = 0;
  // Drawn under the cell's text rather than over it.
  virtual bool IsBackground() = 0;
};

// What a cell shows besides its text, and the slots its kind uses. The object slot holds
// the kind's object (bitmap, picture, file picture, string list, integer list, interfaced
// object, glyph); kinds that keep colours there use the colour slots instead. The graphic
// frees what it owns when it is freed and whenever its kind changes:
// - the object of ctBitmap, ctRadio, ctPicture, ctFilePicture and ctBitButton when CellCreated;
// - the object of ctImages and ctBalloon always;
// - the icon of ctIcon when CellCreated;
// - the balloon list of ctCheckBox, ctDataCheckBox and ctRadioButton when CellAngle is 1.
class TCellGraphic : public TPersistent {
public:
  TCellGraphic() = default;
  ~TCellGraphic() override;
  String ClassName() const override { return u"TCellGraphic"; }
  // From another cell graphic: kind, alignments, index, transparent, value, angle, Boolean,
  // marker, text and created flag; not the objects, icon, Variant or tri-state. What this
  // graphic owned is freed first and its object references are dropped. Another class is
  // left to TPersistent (EConvertError).
  void Assign(TPersistent* Source) override;

  // Each sets the kind and the slots of its kind; what the graphic owned before is freed
  // (unless it is the object given). The operations that take an object make it the
  // caller's (CellCreated False) until CellCreated is set.
  void SetInterfacedCell(TPersistent* AObject);
  void SetBitmap(TBitmap* ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val);
  void SetButton(int bw, int bh, const String& Caption, TCellHAlign hal, TCellVAlign val);
  void SetBitButton(int bw, int bh, const String& Caption, TBitmap* Glyph, TCellHAlign hal, TCellVAlign val);
  void SetPicture(TPicture* APicture, bool Transparent, TStretchMode StretchMode, int Padding, TCellHAlign hal,
                  TCellVAlign val);
  void SetFilePicture(TFilePicture* APicture, bool Transparent, TStretchMode StretchMode, int Padding,
                      TCellHAlign hal, TCellVAlign val);
  void SetCheckBox(bool Value, bool Data, bool Flat, TCellHAlign hal, TCellVAlign val);
  void SetCheckBox(TCheckBoxState State, bool Flat, TCellHAlign hal, TCellVAlign val);
  void SetRadioButton(bool Value, bool Flat, TCellHAlign hal, TCellVAlign val);
  void SetIcon(TIcon* aicon, TCellHAlign hal, TCellVAlign val);
  void SetDataImage(int Idx, TCellHAlign hal, TCellVAlign val);
  void SetImageIdx(int Idx, TCellHAlign hal, TCellVAlign val);
  // A new integer list for the cell, owned, reporting its changes to Notifier.
  void SetMultiImage(int Col, int Row, int dir, TCellHAlign hal, TCellVAlign val, TImageChangeEvent Notifier);
  // The angle brought into 0..360.
  void SetAngle(int16_t AAngle);
  // The drawn size of a picture kind in a cell of cw x rh; (0, 0) for other kinds.
  TPoint GetPictureSize(int cw, int rh, bool hastext) const;

  // Streamed fields.
  TCellType CellType() const { return FCellType; }
  // A change of kind frees what the old kind owned.
  void SetCellType(TCellType Value);
  TCellVAlign CellVAlign() const { return FCellVAlign; }
  void SetCellVAlign(TCellVAlign Value) { FCellVAlign = Value; }
  TCellHAlign CellHAlign() const { return FCellHAlign; }
  void SetCellHAlign(TCellHAlign Value) { FCellHAlign = Value; }
  int CellIndex() const { return FCellIndex; }
  void SetCellIndex(int Value) { FCellIndex = Value; }
  bool CellTransparent() const { return FCellTransparent; }
  void SetCellTransparent(bool Value) { FCellTransparent = Value; }
  // True: the graphic made the object of its kind and frees it.
  bool CellCreated() const { return FCellCreated; }
  void SetCellCreated(bool Value) { FCellCreated = Value; }
  bool CellBoolean() const { return FCellBoolean; }
  void SetCellBoolean(bool Value) { FCellBoolean = Value; }
  TCheckBoxState CellCheckBoxState() const { return FCellCheckBoxState; }
  void SetCellCheckBoxState(TCheckBoxState Value) { FCellCheckBoxState = Value; }
  int CellAngle() const { return FCellAngle; }
  void SetCellAngle(int Value) { FCellAngle = Value; }
  double CellValue() const { return FCellValue; }
  void SetCellValue(double Value) { FCellValue = Value; }
  int CellErrFrom() const { return FCellErrFrom; }
  void SetCellErrFrom(int Value) { FCellErrFrom = Value; }
  int CellErrLen() const { return FCellErrLen; }
  void SetCellErrLen(int Value) { FCellErrLen = Value; }
  const String& CellText() const { return FCellText; }
  void SetCellText(const String& Value) { FCellText = Value; }

  // The object slot, typed: each getter answers nullptr when the slot holds another class.
  TObject* CellObject() const { return FCellBitmap; }
  TBitmap* CellBitmap() const { return dynamic_cast<TBitmap*>(FCellBitmap); }
  TPicture* CellPicture() const { return dynamic_cast<TPicture*>(FCellBitmap); }
  TFilePicture* CellFilePicture() const { return dynamic_cast<TFilePicture*>(FCellBitmap); }
  TStrings* CellStrings() const { return dynamic_cast<TStrings*>(FCellBitmap); }
  TIntList* CellIntList() const { return dynamic_cast<TIntList*>(FCellBitmap); }
  TPersistent* CellInterface() const { return dynamic_cast<TPersistent*>(FCellBitmap); }
  // Each replaces the slot's object; an owned object replaced by another is freed.
  void SetCellBitmap(TBitmap* Value) { PutObject(Value); }
  void SetCellPicture(TPicture* Value) { PutObject(Value); }
  void SetCellFilePicture(TFilePicture* Value) { PutObject(Value); }
  void SetCellStrings(TStrings* Value) { PutObject(Value); }
  void SetCellIntList(TIntList* Value) { PutObject(Value); }
  void SetCellInterface(TPersistent* Value) { PutObject(Value); }

  TIcon* CellIcon() const { return FCellIcon; }
  void SetCellIcon(TIcon* Value);

  // Colours of the kinds that keep colours in place of objects: progress bar and
  // background, pie, range negative and positive, shape line, rating empty colour.
  TColor CellBitmapColor() const { return FCellBitmapColor; }
  void SetCellBitmapColor(TColor Value) { FCellBitmapColor = Value; }
  TColor CellIconColor() const { return FCellIconColor; }
  void SetCellIconColor(TColor Value) { FCellIconColor = Value; }

  const TCellVariant& CellVar() const { return FCellVar; }
  void SetCellVar(const TCellVariant& Value) { FCellVar = Value; }

  // Whether the graphic frees the object in its object slot / its icon.
  bool OwnsObject() const;
  bool OwnsIcon() const;

private:
  void PutObject(TObject* Value);
  // Frees what the graphic owns (except Keep) and drops both object references.
  void ReleaseOwned(const TObject* Keep = nullptr);
  // Sets the kind and both alignments after freeing what the old kind owned.
  void Become(TCellType Kind, TCellHAlign hal, TCellVAlign val, const TObject* Keep = nullptr);
  void SetPictureKind(TCellType Kind, TObject* APicture, bool Transparent, TStretchMode StretchMode, int Padding,
                      TCellHAlign hal, TCellVAlign val);

  TCellType FCellType = ctNone;
  TObject* FCellBitmap = nullptr;
  TIcon* FCellIcon = nullptr;
  TColor FCellBitmapColor = clNone;
  TColor FCellIconColor = clNone;
  TCellVAlign FCellVAlign = vaTop;
  TCellHAlign FCellHAlign = haLeft;
  int FCellIndex = 0;
  bool FCellTransparent = false;
  bool FCellCreated = false;
  bool FCellBoolean = false;
  int FCellAngle = 0;
  double FCellValue = 0;
  int FCellErrFrom = 0;
  int FCellErrLen = 0;
  String FCellText;
  TCellVariant FCellVar;
  TCheckBoxState FCellCheckBoxState = cbUnchecked;
};

// ===========================================================================
// Helper persistents

enum TNodeType : uint8_t { cnFlat, cn3D, cnGlyph, cnLeaf, cnXP };

// The look of nodes and of the tree lines between them. The look setters repaint the
// owner (a control) on a change.
class TCellNode : public TPersistent {
public:
  explicit TCellNode(TControl* AOwner);
  ~TCellNode() override;
  String ClassName() const override { return u"TCellNode"; }
  // Copies every property (the glyphs by Assign), not the owner; other classes are ignored.
  void Assign(TPersistent* Source) override;

  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { FColor = Value; }
  bool ExpandOne() const { return FExpandOne; }
  void SetExpandOne(bool Value) { FExpandOne = Value; }
  TColor NodeColor() const { return FNodeColor; }
  void SetNodeColor(TColor Value) { FNodeColor = Value; }
  TNodeType NodeType() const { return FNodeType; }
  void SetNodeType(TNodeType Value);
  int NodeIndent() const { return FNodeIndent; }
  void SetNodeIndent(int Value);
  bool ShowTree() const { return FShowTree; }
  void SetShowTree(bool Value);
  bool ShowTreeFull() const { return FShowTreeFull; }
  void SetShowTreeFull(bool Value);
  TColor TreeColor() const { return FTreeColor; }
  void SetTreeColor(TColor Value);
  // The setters copy the given bitmap.
  TBitmap* ExpandGlyph() const { return FExpandGlyph.get(); }
  void SetExpandGlyph(TBitmap* Value);
  TBitmap* ContractGlyph() const { return FContractGlyph.get(); }
  void SetContractGlyph(TBitmap* Value);

  TControl* Owner() const { return FOwner; }

private:
  template <class T> void StoreAndRepaint(T& Field, T Value);

  TControl* FOwner;
  TColor FColor = clSilver;
  bool FExpandOne = false;
  TNodeType FNodeType = cnXP;
  TColor FNodeColor = clBlack;
  int FNodeIndent = 12;
  std::unique_ptr<TBitmap> FExpandGlyph;
  std::unique_ptr<TBitmap> FContractGlyph;
  bool FShowTree = true;
  bool FShowTreeFull = true;
  TColor FTreeColor = clGray;
};

// Growing the in-place editor while typing.
class TSizeWhileTyping : public TPersistent {
public:
  String ClassName() const override { return u"TSizeWhileTyping"; }
  void Assign(TPersistent* Source) override;
  bool Height() const { return FHeight; }
  void SetHeight(bool Value) { FHeight = Value; }
  bool Width() const { return FWidth; }
  void SetWidth(bool Value) { FWidth = Value; }

private:
  bool FHeight = false;
  bool FWidth = false;
};

enum TAutoSizeRows : uint8_t { arAll, arNormal, arFixed };
enum TColumnSizeLocation : uint8_t { clRegistry, clIniFile };

// Column size persistence and stretching.
class TColumnSize : public TPersistent {
public:
  explicit TColumnSize(TComponent* AOwner) : FOwner(AOwner) {}
  String ClassName() const override { return u"TColumnSize"; }
  // Copies every property, not the owner; other classes are ignored.
  void Assign(TPersistent* Source) override;

#define TCOLUMNSIZE_STORED(X)            \
  X(TAutoSizeRows, Rows, arAll)          \
  X(bool, Save, false)                   \
  X(String, Key, String())               \
  X(String, Section, String())           \
  X(int, StretchColumn, -1)              \
  X(bool, SynchWithGrid, false)          \
  X(bool, SynchNormalCellsOnly, false)   \
  X(TColumnSizeLocation, Location, clRegistry)
  TCOLUMNSIZE_STORED(ADVOBJ_GETSET)

  // Stores the value; when the owner is a control with a parent, fires OnStretch so that
  // the owner stretches its stretch column at once.
  bool Stretch() const { return FStretch; }
  void SetStretch(bool Value);

  TComponent* Owner() const { return FOwner; }
  TNotifyEvent OnStretch;

private:
  TComponent* FOwner;
  TCOLUMNSIZE_STORED(ADVOBJ_FIELD)
  bool FStretch = false;
};

// Options of the HTML export.
class THTMLSettings : public TPersistent {
public:
  THTMLSettings();
  ~THTMLSettings() override;
  String ClassName() const override { return u"THTMLSettings"; }
  // Copies every property except ExportImages and ColWidths; other classes are ignored.
  void Assign(TPersistent* Source) override;

#define THTMLSETTINGS_STORED(X)             \
  X(bool, AutoPreview, false)               \
  X(int, BorderSize, 1)                     \
  X(int, CellSpacing, 0)                    \
  X(int, CellPadding, 0)                    \
  X(bool, ConvertSpecialChars, false)       \
  X(String, FooterFile, String())           \
  X(String, HeaderFile, String())           \
  X(bool, NonBreakingText, false)           \
  X(String, PrefixTag, String())            \
  X(String, SuffixTag, String())            \
  X(String, Summary, String())              \
  X(String, TableStyle, String())           \
  X(bool, SaveColor, true)                  \
  X(bool, SaveFonts, true)                  \
  X(int, Width, 100)                        \
  X(bool, XHTML, false)
  THTMLSETTINGS_STORED(ADVOBJ_GETSET)

  bool ExportImages() const { return FExportImages; }
  void SetExportImages(bool Value) { FExportImages = Value; }
  // Per-column widths of the exported table.
  TIntList* ColWidths() const { return FColWidths.get(); }

private:
  THTMLSETTINGS_STORED(ADVOBJ_FIELD)
  bool FExportImages = true;
  std::unique_ptr<TIntList> FColWidths;
};

enum TPrintPosition : uint8_t { ppNone, ppTopLeft, ppTopRight, ppTopCenter, ppBottomLeft, ppBottomRight, ppBottomCenter };
enum TPrintBorders : uint8_t {
  pbNoborder, pbSingle, pbDouble, pbVertical, pbHorizontal, pbAround, pbAroundVertical, pbAroundHorizontal, pbCustom
};
enum TFitToPage : uint8_t { fpNever, fpGrow, fpShrink, fpAlways, fpCustom };

// Options of printing.
class TPrintSettings : public TPersistent {
public:
  explicit TPrintSettings(TComponent* AGrid);
  ~TPrintSettings() override;
  String ClassName() const override { return u"TPrintSettings"; }
  // Copies every property (fonts and title lines by Assign) except FixedCellsAlways.
  // Another class raises EInvalidCast.
  void Assign(TPersistent* Source) override;

#define TPRINTSETTINGS_STORED(X)                          \
  X(int, FooterSize, 0)                                   \
  X(int, HeaderSize, 0)                                   \
  X(int, LeftSize, 0)                                     \
  X(int, RightSize, 0)                                    \
  X(TPrintPosition, Time, ppNone)                         \
  X(TPrintPosition, Date, ppNone)                         \
  X(TPrintPosition, PageNr, ppNone)                       \
  X(TPrintPosition, Title, ppNone)                        \
  X(String, DateFormat, String(u"dd/mm/yyyy"))            \
  X(String, TitleText, String())                          \
  X(TPrintBorders, Borders, pbSingle)                     \
  X(TPenStyle, BorderStyle, psSolid)                      \
  X(TColor, BorderColor, clBlack)                         \
  X(bool, Centered, true)                                 \
  X(bool, RepeatFixedRows, false)                         \
  X(bool, RepeatFixedCols, false)                         \
  X(int, ColumnSpacing, 0)                                \
  X(int, RowSpacing, 0)                                   \
  X(int, TitleSpacing, 0)                                 \
  X(TPrinterOrientation, Orientation, poPortrait)         \
  X(String, PagePrefix, String())                         \
  X(String, PageSuffix, String())                         \
  X(String, PageNumSep, String(u"/"))                     \
  X(int, PageNumberOffset, 0)                             \
  X(int, MaxPagesOffset, 0)                               \
  X(int, FixedWidth, 0)                                   \
  X(int, FixedHeight, 0)                                  \
  X(bool, UseFixedHeight, false)                          \
  X(bool, UseFixedWidth, false)                           \
  X(TFitToPage, FitToPage, fpNever)                       \
  X(String, JobName, String())                            \
  X(bool, NoAutoSize, false)                              \
  X(bool, NoAutoSizeRow, false)                           \
  X(bool, PrintGraphics, false)                           \
  X(bool, UseDisplayFont, true)                           \
  X(bool, UseDefaultOrientation, false)
  TPRINTSETTINGS_STORED(ADVOBJ_GETSET)

  // The setters copy the given object into the owned one.
  TStringList* TitleLines() const { return FTitleLines.get(); }
  void SetTitleLines(TStrings* Value);
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value);
  TFont* FixedFont() const { return FFixedFont.get(); }
  void SetFixedFont(TFont* Value);
  TFont* HeaderFont() const { return FHeaderFont.get(); }
  void SetHeaderFont(TFont* Value);
  TFont* FooterFont() const { return FFooterFont.get(); }
  void SetFooterFont(TFont* Value);

  bool FixedCellsAlways() const { return FFixedCellsAlways; }
  void SetFixedCellsAlways(bool Value) { FFixedCellsAlways = Value; }
  TComponent* Grid() const { return FGrid; }

private:
  TComponent* FGrid;
  TPRINTSETTINGS_STORED(ADVOBJ_FIELD)
  std::unique_ptr<TStringList> FTitleLines;
  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TFont> FFixedFont;
  std::unique_ptr<TFont> FHeaderFont;
  std::unique_ptr<TFont> FFooterFont;
  bool FFixedCellsAlways = false;
};
