#pragma once
// Settings objects the string grid owns: the look of cell controls and header gradients
// (TControlLook), progress bars (TGridProgressAppearance), the background (TBackGround),
// balloon tooltips (TBalloonSettings), the marking of modified rows (TShowModified) and
// grouping (TGrouping).

#include <memory>

#include "dropdowns/AdvDropDown.h"
#include "grid/AdvObj.h"
#include "platform/rtl/Classes.h"
#include "platform/ui/Graphics.h"

class DEreDuzeroVaro;

// The drawing style of cell controls (named apart from the class library's control style set).
enum TCellControlStyle : uint8_t { csClassic, csFlat, csWinXP, csPellow, csZOL, csGlyph, csTheme };

// The look of cell controls, comments, progress bars, header gradients and cell drop-downs.
// Every setter stores and repaints the grid (the drop-down header and footer only store).
// The gradient setters also hand the colour on to the grid's own look colours, without
// repainting: From/To and the hover and down colours only when not clNone, the mirror colours
// always.
class TControlLook : public TPersistent {
public:
  explicit TControlLook(DEreDuzeroVaro* AGrid);
  ~TControlLook() override;
  String ClassName() const override { return u"TControlLook"; }
  // Only from another control look: every property except FlatButton, ProgressXP,
  // NoDisabledCheckRadioLook, NoDisabledButtonLook and FixedDropDownButton; nothing is
  // repainted or handed to the grid.
  void Assign(TPersistent* Source) override;
  // The gradient defaults; the hover and down mirror colours through their setters.
  void Init();

#define TCONTROLLOOK_PLAIN(X)                        \
  X(int, CheckSize, 15)                              \
  X(int, RadioSize, 10)                              \
  X(TCellControlStyle, ControlStyle, csTheme)            \
  X(TColor, Color, 0)                                \
  X(TColor, CommentColor, 0x0000FF)                  \
  X(bool, FlatButton, false)                         \
  X(int, ProgressMarginX, 2)                         \
  X(int, ProgressMarginY, 2)                         \
  X(bool, ProgressXP, false)                         \
  X(TColor, ProgressBorderColor, 0x808080)           \
  X(bool, DropDownAlwaysVisible, false)              \
  X(bool, SpinButtonsAlwaysVisible, false)           \
  X(bool, NoDisabledCheckRadioLook, false)           \
  X(bool, NoDisabledButtonLook, false)               \
  X(bool, FixedDropDownButton, false)                \
  X(bool, CheckAlwaysActive, false)                  \
  X(bool, RadioAlwaysActive, false)                  \
  X(int, DropDownCount, 8)
#define TCONTROLLOOK_DECL(Type, Name, Default) \
  Type Name() const { return F##Name; }        \
  void Set##Name(Type Value);
  TCONTROLLOOK_PLAIN(TCONTROLLOOK_DECL)

#define TCONTROLLOOK_GRADIENTS(X)            \
  X(FixedGradientFrom, clNone)               \
  X(FixedGradientTo, clNone)                 \
  X(FixedGradientMirrorFrom, clNone)         \
  X(FixedGradientMirrorTo, clNone)           \
  X(FixedGradientHoverFrom, 0x808080)        \
  X(FixedGradientHoverTo, 0xFFFFFF)          \
  X(FixedGradientHoverMirrorFrom, clNone)    \
  X(FixedGradientHoverMirrorTo, clNone)      \
  X(FixedGradientHoverBorder, 0xC0C0C0)      \
  X(FixedGradientDownFrom, 0x808080)         \
  X(FixedGradientDownTo, 0xC0C0C0)           \
  X(FixedGradientDownMirrorFrom, clNone)     \
  X(FixedGradientDownMirrorTo, clNone)       \
  X(FixedGradientDownBorder, 0x808080)
#define TCONTROLLOOK_GRADIENT_DECL(Name, Default) \
  TColor Name() const { return F##Name; }         \
  void Set##Name(TColor Value);
  TCONTROLLOOK_GRADIENTS(TCONTROLLOOK_GRADIENT_DECL)

  // The setters copy the given bitmap.
  TBitmap* CheckedGlyph() const { return FCheckedGlyph.get(); }
  void SetCheckedGlyph(TBitmap* Value);
  TBitmap* UnCheckedGlyph() const { return FUnCheckedGlyph.get(); }
  void SetUnCheckedGlyph(TBitmap* Value);
  TBitmap* RadioOnGlyph() const { return FRadioOnGlyph.get(); }
  void SetRadioOnGlyph(TBitmap* Value);
  TBitmap* RadioOffGlyph() const { return FRadioOffGlyph.get(); }
  void SetRadioOffGlyph(TBitmap* Value);
  THeaderAppearance* DropDownHeader() const { return FDropDownHeader.get(); }
  void SetDropDownHeader(THeaderAppearance* Value) { FDropDownHeader->Assign(Value); }
  TFooterAppearance* DropDownFooter() const { return FDropDownFooter.get(); }
  void SetDropDownFooter(TFooterAppearance* Value) { FDropDownFooter->Assign(Value); }

private:
  void Repaint();
  void SetGlyph(std::unique_ptr<TBitmap>& Field, TBitmap* Value);

  DEreDuzeroVaro* FGrid;
#define TCONTROLLOOK_FIELD(Type, Name, Default) Type F##Name = Default;
  TCONTROLLOOK_PLAIN(TCONTROLLOOK_FIELD)
#define TCONTROLLOOK_GRADIENT_FIELD(Name, Default) TColor F##Name = Default;
  TCONTROLLOOK_GRADIENTS(TCONTROLLOOK_GRADIENT_FIELD)
  std::unique_ptr<TBitmap> FCheckedGlyph, FUnCheckedGlyph, FRadioOnGlyph, FRadioOffGlyph;
  std::unique_ptr<THeaderAppearance> FDropDownHeader;
  std::unique_ptr<TFooterAppearance> FDropDownFooter;
};

enum TProgressStyle : uint8_t { psXP, psClassic };

// The look of progress bars in cells. A setter stores only a changed value and then fires
// OnChange; Assign copies every property and fires OnChange once.
class TGridProgressAppearance : public TPersistent {
public:
  String ClassName() const override { return u"TGridProgressAppearance"; }
  void Assign(TPersistent* Source) override;

#define TGRIDPROGRESS_STORED(X)                  \
  X(TColor, CompleteColor, 0x0000FF)             \
  X(TColor, CompleteFontColor, 0xFF0000)         \
  X(TColor, UnCompleteColor, clNone)             \
  X(TColor, UnCompleteFontColor, clWindowText)   \
  X(TColor, Level0Color, 0x00FF00)               \
  X(TColor, Level0ColorTo, 0xE1FFE1)             \
  X(TColor, Level1Color, 0x00FFFF)               \
  X(TColor, Level1ColorTo, 0xCAFFFF)             \
  X(TColor, Level2Color, 0x53A9FF)               \
  X(TColor, Level2ColorTo, 0xA8D3FF)             \
  X(TColor, Level3Color, 0x0000FF)               \
  X(TColor, Level3ColorTo, 0xCACAFF)             \
  X(int, Level1Perc, 70)                         \
  X(int, Level2Perc, 90)                         \
  X(TColor, BorderColor, 0)                      \
  X(bool, ShowBorder, false)                     \
  X(bool, Stacked, false)                        \
  X(bool, ShowPercentage, true)                  \
  X(bool, CompletionSmooth, true)                \
  X(bool, ShowGradient, true)                    \
  X(int, Steps, 11)                              \
  X(TProgressStyle, Style, psXP)
  TGRIDPROGRESS_STORED(TCONTROLLOOK_DECL)

  TNotifyEvent OnChange;

protected:
  void Changed();

private:
  TGRIDPROGRESS_STORED(TCONTROLLOOK_FIELD)
};

enum TBackGroundDisplay : uint8_t { bdTile, bdFixed, bdGradientHorz, bdGradientVert };
enum TBackGroundCells : uint8_t { bcNormal, bcFixed, bcAll };

// A picture or gradient behind the cells. Every setter stores and repaints the grid.
class TBackGround : public TPersistent {
public:
  explicit TBackGround(DEreDuzeroVaro* AGrid);
  ~TBackGround() override;
  String ClassName() const override { return u"TBackGround"; }
  // Copies every property from another background (the bitmap by Assign).
  void Assign(TPersistent* Source) override;

  TBitmap* Bitmap() const { return FBitmap.get(); }
  void SetBitmap(TBitmap* Value);
  int Left() const { return FLeft; }
  void SetLeft(int Value);
  int Top() const { return FTop; }
  void SetTop(int Value);
  TBackGroundDisplay Display() const { return FDisplay; }
  void SetDisplay(TBackGroundDisplay Value);
  TBackGroundCells Cells() const { return FCells; }
  void SetCells(TBackGroundCells Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TColor ColorTo() const { return FColorTo; }
  void SetColorTo(TColor Value);

private:
  void Repaint();
  DEreDuzeroVaro* FGrid;
  std::unique_ptr<TBitmap> FBitmap;
  int FLeft = 0, FTop = 0;
  TBackGroundDisplay FDisplay = bdTile;
  TBackGroundCells FCells = bcNormal;
  TColor FColor = clWindow;
  TColor FColorTo = clBtnFace;
};

// Balloon tooltips of cells. Setting Enable stores it and fires OnEnableChange.
class TBalloonSettings : public TPersistent {
public:
  String ClassName() const override { return u"TBalloonSettings"; }
  // From another balloon settings object: the colours, delays and Enable (through its
  // setter), not Transparency.
  void Assign(TPersistent* Source) override;

  bool Enable() const { return FEnable; }
  void SetEnable(bool Value);
  TColor TextColor() const { return FTextColor; }
  void SetTextColor(TColor Value) { FTextColor = Value; }
  TColor BackgroundColor() const { return FBackgroundColor; }
  void SetBackgroundColor(TColor Value) { FBackgroundColor = Value; }
  // -1: the system's delay.
  int InitialDelay() const { return FInitialDelay; }
  void SetInitialDelay(int Value) { FInitialDelay = Value; }
  int AutoHideDelay() const { return FAutoHideDelay; }
  void SetAutoHideDelay(int Value) { FAutoHideDelay = Value; }
  int ReshowDelay() const { return FReshowDelay; }
  void SetReshowDelay(int Value) { FReshowDelay = Value; }
  int Transparency() const { return FTransparency; }
  void SetTransparency(int Value) { FTransparency = Value; }
  // Whether the tooltip window was set up (kept by the grid).
  bool Initialized() const { return FInitialized; }
  void SetInitialized(bool Value) { FInitialized = Value; }

  TNotifyEvent OnEnableChange;

private:
  bool FEnable = false;
  TColor FTextColor = clNone;
  TColor FBackgroundColor = clNone;
  int FInitialDelay = -1, FAutoHideDelay = -1, FReshowDelay = -1;
  int FTransparency = 0;
  bool FInitialized = false;
};

// The marking of modified rows in the first column. Setting Color or Enabled stores it and
// fires OnChange.
class TShowModified : public TPersistent {
public:
  String ClassName() const override { return u"TShowModified"; }
  // Copies Color and Enabled, without OnChange.
  void Assign(TPersistent* Source) override;
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);

  TNotifyEvent OnChange;

private:
  bool FEnabled = false;
  TColor FColor = 0x00FFFF;
};

// The look of grouped grids: header and summary rows.
class TGrouping : public TPersistent {
public:
  String ClassName() const override { return u"TGrouping"; }
  // Only from another grouping: everything except Summary and the two line colours and widths.
  void Assign(TPersistent* Source) override;

#define TGROUPING_STORED(X)                  \
  X(bool, MergeHeader, false)                \
  X(bool, MergeSummary, false)               \
  X(TColor, HeaderColor, clNone)             \
  X(TColor, HeaderColorTo, clNone)           \
  X(TColor, HeaderTextColor, clNone)         \
  X(bool, Summary, false)                    \
  X(TColor, SummaryColor, clNone)            \
  X(TColor, SummaryColorTo, clNone)          \
  X(TColor, SummaryTextColor, clNone)        \
  X(bool, HeaderUnderline, false)            \
  X(TColor, HeaderLineColor, 0xFF0000)       \
  X(int, HeaderLineWidth, 2)                 \
  X(bool, SummaryLine, false)                \
  X(TColor, SummaryLineColor, 0xFF0000)      \
  X(int, SummaryLineWidth, 2)                \
  X(bool, ShowGroupCount, false)             \
  X(String, GroupCountFormat, String())      \
  X(bool, AutoCheckGroup, false)             \
  X(bool, AutoSelectGroup, false)
  TGROUPING_STORED(ADVOBJ_GETSET)

private:
  TGROUPING_STORED(ADVOBJ_FIELD)
};

// The look of the filter drop-down list under a header cell. Writing a glyph copies it and
// fires OnChange; the other setters store.
class TFilterDropDown : public TPersistent {
public:
  TFilterDropDown();
  ~TFilterDropDown() override;
  String ClassName() const override { return u"TFilterDropDown"; }
  // From another filter drop-down: everything except AutoSize.
  void Assign(TPersistent* Source) override;

  // The list is sized to its entries instead of Width x Height.
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value) { FAutoSize = Value; }
  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { FColor = Value; }
  // The list takes the column's width and left edge.
  bool ColumnWidth() const { return FColumnWidth; }
  void SetColumnWidth(bool Value) { FColumnWidth = Value; }
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  int Height() const { return FHeight; }
  void SetHeight(int Value) { FHeight = Value; }
  int Width() const { return FWidth; }
  void SetWidth(int Value) { FWidth = Value; }
  // The button glyph of a column without and with an active filter.
  TBitmap* Glyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  TBitmap* GlyphActive() const { return FGlyphActive.get(); }
  void SetGlyphActive(TBitmap* Value);

  TNotifyEvent OnChange;

private:
  bool FAutoSize = false;
  TColor FColor = clWindow;
  bool FColumnWidth = false;
  std::unique_ptr<TFont> FFont;
  int FHeight = 150;
  int FWidth = 150;
  std::unique_ptr<TBitmap> FGlyph, FGlyphActive;
};

// Automatic scrolling while a drag of the class library hovers near the grid's edges: the
// delays (ms) before the first and between further steps, and the edge bands (pixels).
class TDragScrollDelays : public TPersistent {
public:
  String ClassName() const override { return u"TDragScrollDelays"; }
  void Assign(TPersistent* Source) override;
  int InitialDelay() const { return FInitialDelay; }
  void SetInitialDelay(int Value) { FInitialDelay = Value; }
  int RepeatDelay() const { return FRepeatDelay; }
  void SetRepeatDelay(int Value) { FRepeatDelay = Value; }

private:
  int FInitialDelay = 1000;
  int FRepeatDelay = 250;
};

class TDragScrollMargins : public TPersistent {
public:
  String ClassName() const override { return u"TDragScrollMargins"; }
  void Assign(TPersistent* Source) override;
  int TopMargin() const { return FTopMargin; }
  void SetTopMargin(int Value) { FTopMargin = Value; }
  int BottomMargin() const { return FBottomMargin; }
  void SetBottomMargin(int Value) { FBottomMargin = Value; }
  int LeftMargin() const { return FLeftMargin; }
  void SetLeftMargin(int Value) { FLeftMargin = Value; }
  int RightMargin() const { return FRightMargin; }
  void SetRightMargin(int Value) { FRightMargin = Value; }

private:
  int FTopMargin = 50, FBottomMargin = 50, FLeftMargin = 50, FRightMargin = 50;
};

class TDragScrollOptions : public TPersistent {
public:
  TDragScrollOptions();
  ~TDragScrollOptions() override;
  String ClassName() const override { return u"TDragScrollOptions"; }
  // Copies the margins, the delays and Active.
  void Assign(TPersistent* Source) override;
  bool Active() const { return FActive; }
  void SetActive(bool Value) { FActive = Value; }
  TDragScrollDelays* Delays() const { return FDelays.get(); }
  void SetDelays(TDragScrollDelays* Value) { FDelays->Assign(Value); }
  TDragScrollMargins* Margins() const { return FMargins.get(); }
  void SetMargins(TDragScrollMargins* Value) { FMargins->Assign(Value); }

private:
  bool FActive = false;
  std::unique_ptr<TDragScrollDelays> FDelays;
  std::unique_ptr<TDragScrollMargins> FMargins;
};

enum TIndexSortKey : uint8_t { ikShift, ikCtrl };
enum TSortBlankPosition : uint8_t { blFirst, blLast };
enum TSortDirection : uint8_t { sdAscending, sdDescending };

// What is sorted and how: the sort column and direction, the comparison options, the glyphs
// and header colours, and how header clicks sort.
class TSortSettings : public TPersistent {
public:
  explicit TSortSettings(DEreDuzeroVaro* AGrid);
  ~TSortSettings() override;
  String ClassName() const override { return u"TSortSettings"; }
  // Only from other sort settings: everything except SortOnVirtualCells and IgnoreCase.
  void Assign(TPersistent* Source) override;

  // "u" or "d" and the column, or "i;" and the sort index list with IndexShow.
  String SaveToString() const;
  // No sort column, no sort indexes; the header row is repainted.
  void Remove();
  void ToggleDirection() { FDirection = FDirection == sdAscending ? sdDescending : sdAscending; }

#define TSORTSETTINGS_STORED(X)                           \
  X(bool, AutoSortForGrouping, true)                      \
  X(bool, AutoColumnMerge, false)                         \
  X(int, Column, -1)                                      \
  X(bool, IndexShow, false)                               \
  X(TColor, IndexColor, clYellow)                         \
  X(TIndexSortKey, IndexSortKey, ikShift)                 \
  X(bool, Full, true)                                     \
  X(bool, SingleColumn, false)                            \
  X(bool, IgnoreBlanks, false)                            \
  X(TSortBlankPosition, BlankPos, blFirst)                \
  X(bool, AutoFormat, true)                               \
  X(TSortDirection, Direction, sdAscending)               \
  X(bool, IgnoreCase, false)                              \
  X(TSortDirection, InitSortDirection, sdAscending)       \
  X(bool, FixedCols, false)                               \
  X(bool, NormalCellsOnly, false)                         \
  X(bool, UndoSort, false)                                \
  X(bool, SortOnVirtualCells, true)
  TSORTSETTINGS_STORED(ADVOBJ_GETSET)

  // Showing or hiding the sort glyphs repaints the grid on a change.
  bool Show() const { return FShow; }
  void SetShow(bool Value);
  // The fixed row that shows the glyphs; a value not below the grid's FixedRows raises
  // Exception "Sort row should be smaller than number of fixed rows".
  int Row() const { return FRow; }
  void SetRow(int Value);
  // The header colours of the sorted column; a change repaints the last fixed row.
  TColor HeaderColor() const { return FHeaderColor; }
  void SetHeaderColor(TColor Value);
  TColor HeaderColorTo() const { return FHeaderColorTo; }
  void SetHeaderColorTo(TColor Value);
  TColor HeaderMirrorColor() const { return FHeaderMirrorColor; }
  void SetHeaderMirrorColor(TColor Value);
  TColor HeaderMirrorColorTo() const { return FHeaderMirrorColorTo; }
  void SetHeaderMirrorColorTo(TColor Value);
  // The setters copy the bitmap.
  TBitmap* UpGlyph() const { return FUpGlyph.get(); }
  void SetUpGlyph(TBitmap* Value) { FUpGlyph->Assign(Value); }
  TBitmap* DownGlyph() const { return FDownGlyph.get(); }
  void SetDownGlyph(TBitmap* Value) { FDownGlyph->Assign(Value); }
  TBitmap* IndexUpGlyph() const { return FIndexUpGlyph.get(); }
  void SetIndexUpGlyph(TBitmap* Value) { FIndexUpGlyph->Assign(Value); }
  TBitmap* IndexDownGlyph() const { return FIndexDownGlyph.get(); }
  void SetIndexDownGlyph(TBitmap* Value) { FIndexDownGlyph->Assign(Value); }

private:
  void SetHeader(TColor& Field, TColor Value);
  DEreDuzeroVaro* FGrid;
  TSORTSETTINGS_STORED(ADVOBJ_FIELD)
  bool FShow = false;
  int FRow = 0;
  TColor FHeaderColor = clNone, FHeaderColorTo = clNone, FHeaderMirrorColor = clNone, FHeaderMirrorColorTo = clNone;
  std::unique_ptr<TBitmap> FUpGlyph, FDownGlyph, FIndexUpGlyph, FIndexDownGlyph;
};

enum TFilterCells : uint8_t { fcVirtual, fcNormal, fcStripHTML, fcCalculated, fcRow };
enum TFilterOperation : uint8_t { foSHORT, foNONE, foAND, foXOR, foOR };

// One filter condition: the column tested, the condition text (empty matches every row),
// which text of the cell is tested, and how the result combines with the result so far.
class TFilterData : public TCollectionItem {
public:
  explicit TFilterData(TCollection* ACollection) : TCollectionItem(ACollection) {}
  String ClassName() const override { return u"TFilterData"; }
  // Copies all seven properties from another condition.
  void Assign(TPersistent* Source) override;

#define TFILTERDATA_STORED(X)                  \
  X(int16_t, Column, 0)                        \
  X(String, Condition, String())               \
  X(bool, CaseSensitive, true)                 \
  X(TFilterCells, Data, fcVirtual)             \
  X(String, Prefix, String())                  \
  X(String, Suffix, String())                  \
  X(TFilterOperation, Operation, foSHORT)
  TFILTERDATA_STORED(ADVOBJ_GETSET)

private:
  TFILTERDATA_STORED(ADVOBJ_FIELD)
};

// The grid's filter conditions.
class TFilter : public TOwnedCollection {
public:
  explicit TFilter(DEreDuzeroVaro* AGrid);
  String ClassName() const override { return u"TFilter"; }

  // Appends a condition combined with foNONE when it is the only one, else with foAND.
  TFilterData* Add();
  // Appends a condition (the index is not used) that keeps foSHORT.
  TFilterData* Insert(int Index);
  TFilterData* Items(int Index) const { return static_cast<TFilterData*>(TCollection::Items(Index)); }
  // Writing assigns the given condition's values.
  void SetItems(int Index, TFilterData* Value) { SetItem(Index, Value); }
  // The first condition of the column, made by Add when there is none.
  TFilterData* GetColFilter(int Col);
  // Deletes every condition of the column and repaints its header cell.
  void RemoveColumnFilter(int Col);
  bool HasFilter(int Col) const;

private:
  DEreDuzeroVaro* FGrid;
};
