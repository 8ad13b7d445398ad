#include "grid/AdvGridSettings.h"

#include "grid/AdvGrid.h"
#include "platform/rtl/SysUtils.h"

// ===========================================================================
// TControlLook

TControlLook::TControlLook(DEreDuzeroVaro* AGrid)
    : FGrid(AGrid),
      FCheckedGlyph(std::make_unique<TBitmap>()),
      FUnCheckedGlyph(std::make_unique<TBitmap>()),
      FRadioOnGlyph(std::make_unique<TBitmap>()),
      FRadioOffGlyph(std::make_unique<TBitmap>()),
      FDropDownHeader(std::make_unique<THeaderAppearance>(this)),
      FDropDownFooter(std::make_unique<TFooterAppearance>(this)) {
  Init();
}

TControlLook::~TControlLook() = default;

void TControlLook::Repaint() {
  if (FGrid) FGrid->Invalidate();
}

#define TCONTROLLOOK_SET(Type, Name, Default) \
  void TControlLook::Set##Name(Type Value) {  \
    F##Name = Value;                          \
    Repaint();                                \
  }
TCONTROLLOOK_PLAIN(TCONTROLLOOK_SET)

// From and To go to the grid's look gradient only when set; the mirror colours always.
void TControlLook::SetFixedGradientFrom(TColor Value) {
  FFixedGradientFrom = Value;
  if (FGrid && Value != clNone) FGrid->SetZOLGradientFrom(Value);
}
void TControlLook::SetFixedGradientTo(TColor Value) {
  FFixedGradientTo = Value;
  if (FGrid && Value != clNone) FGrid->SetZOLGradientTo(Value);
}
void TControlLook::SetFixedGradientMirrorFrom(TColor Value) {
  FFixedGradientMirrorFrom = Value;
  if (FGrid) FGrid->SetZOLGradientMirrorFrom(Value);
}
void TControlLook::SetFixedGradientMirrorTo(TColor Value) {
  FFixedGradientMirrorTo = Value;
  if (FGrid) FGrid->SetZOLGradientMirrorTo(Value);
}

// The hover and down colours go to the grid's fields of the same names.
#define TCONTROLLOOK_PASS_SET(Name, Always)                          \
  void TControlLook::SetFixedGradient##Name(TColor Value) {          \
    FFixedGradient##Name = Value;                                    \
    if (FGrid && (Always || Value != clNone)) FGrid->FZOLGrad##Name = Value; \
  }
TCONTROLLOOK_PASS_SET(HoverFrom, false)
TCONTROLLOOK_PASS_SET(HoverTo, false)
TCONTROLLOOK_PASS_SET(HoverBorder, false)
TCONTROLLOOK_PASS_SET(DownFrom, false)
TCONTROLLOOK_PASS_SET(DownTo, false)
TCONTROLLOOK_PASS_SET(DownBorder, false)
TCONTROLLOOK_PASS_SET(HoverMirrorFrom, true)
TCONTROLLOOK_PASS_SET(HoverMirrorTo, true)
TCONTROLLOOK_PASS_SET(DownMirrorFrom, true)
TCONTROLLOOK_PASS_SET(DownMirrorTo, true)

void TControlLook::Init() {
  FFixedGradientFrom = clNone;
  FFixedGradientTo = clNone;
  FFixedGradientMirrorFrom = clNone;
  FFixedGradientMirrorTo = clNone;
  FFixedGradientHoverFrom = 0x808080;
  FFixedGradientHoverTo = 0xFFFFFF;
  FFixedGradientHoverBorder = 0xC0C0C0;
  FFixedGradientDownFrom = 0x808080;
  FFixedGradientDownTo = 0xC0C0C0;
  FFixedGradientDownBorder = 0x808080;
  SetFixedGradientHoverMirrorFrom(clNone);
  SetFixedGradientHoverMirrorTo(clNone);
  SetFixedGradientDownMirrorFrom(clNone);
  SetFixedGradientDownMirrorTo(clNone);
}

void TControlLook::SetGlyph(std::unique_ptr<TBitmap>& Field, TBitmap* Value) {
  Field->Assign(Value);
  Repaint();
}
void TControlLook::SetCheckedGlyph(TBitmap* Value) { SetGlyph(FCheckedGlyph, Value); }
void TControlLook::SetUnCheckedGlyph(TBitmap* Value) { SetGlyph(FUnCheckedGlyph, Value); }
void TControlLook::SetRadioOnGlyph(TBitmap* Value) { SetGlyph(FRadioOnGlyph, Value); }
void TControlLook::SetRadioOffGlyph(TBitmap* Value) { SetGlyph(FRadioOffGlyph, Value); }

void TControlLook::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TControlLook*>(Source);
  if (!s) return;
  FCheckSize = s->FCheckSize;
  FRadioSize = s->FRadioSize;
  FControlStyle = s->FControlStyle;
  FCheckedGlyph->Assign(s->FCheckedGlyph.get());
  FUnCheckedGlyph->Assign(s->FUnCheckedGlyph.get());
  FRadioOnGlyph->Assign(s->FRadioOnGlyph.get());
  FRadioOffGlyph->Assign(s->FRadioOffGlyph.get());
  FProgressMarginX = s->FProgressMarginX;
  FProgressMarginY = s->FProgressMarginY;
  FCommentColor = s->FCommentColor;
  FColor = s->FColor;
  FProgressBorderColor = s->FProgressBorderColor;
  FCheckAlwaysActive = s->FCheckAlwaysActive;
  FRadioAlwaysActive = s->FRadioAlwaysActive;
#define TCONTROLLOOK_COPY_GRADIENT(Name, Default) F##Name = s->F##Name;
  TCONTROLLOOK_GRADIENTS(TCONTROLLOOK_COPY_GRADIENT)
  FDropDownAlwaysVisible = s->FDropDownAlwaysVisible;
  FSpinButtonsAlwaysVisible = s->FSpinButtonsAlwaysVisible;
  FDropDownCount = s->FDropDownCount;
  FDropDownFooter->Assign(s->FDropDownFooter.get());
  FDropDownHeader->Assign(s->FDropDownHeader.get());
}

// ===========================================================================
// TGridProgressAppearance

void TGridProgressAppearance::Changed() {
  if (OnChange) OnChange(this);
}

#define TGRIDPROGRESS_SET(Type, Name, Default)          \
  void TGridProgressAppearance::Set##Name(Type Value) { \
    if (F##Name == Value) return;                       \
    F##Name = Value;                                    \
    Changed();                                          \
  }
TGRIDPROGRESS_STORED(TGRIDPROGRESS_SET)

void TGridProgressAppearance::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TGridProgressAppearance*>(Source);
  if (!s) return;
#define TGRIDPROGRESS_COPY(Type, Name, Default) F##Name = s->F##Name;
  TGRIDPROGRESS_STORED(TGRIDPROGRESS_COPY)
  Changed();
}

// ===========================================================================
// TBackGround

TBackGround::TBackGround(DEreDuzeroVaro* AGrid) : FGrid(AGrid), FBitmap(std::make_unique<TBitmap>()) {}
TBackGround::~TBackGround() = default;

void TBackGround::Repaint() {
  if (FGrid) FGrid->Invalidate();
}

void TBackGround::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TBackGround*>(Source);
  if (!s) return;
  FBitmap->Assign(s->FBitmap.get());
  FLeft = s->FLeft;
  FTop = s->FTop;
  FDisplay = s->FDisplay;
  FCells = s->FCells;
  FColor = s->FColor;
  FColorTo = s->FColorTo;
  Repaint();
}

void TBackGround::SetBitmap(TBitmap* Value) {
  FBitmap->Assign(Value);
  Repaint();
}
void TBackGround::SetLeft(int Value) {
  FLeft = Value;
  Repaint();
}
void TBackGround::SetTop(int Value) {
  FTop = Value;
  Repaint();
}
void TBackGround::SetDisplay(TBackGroundDisplay Value) {
  FDisplay = Value;
  Repaint();
}
void TBackGround::SetCells(TBackGroundCells Value) {
  FCells = Value;
  Repaint();
}
void TBackGround::SetColor(TColor Value) {
  FColor = Value;
  Repaint();
}
void TBackGround::SetColorTo(TColor Value) {
  FColorTo = Value;
  Repaint();
}

// ===========================================================================
// TBalloonSettings, TShowModified

void TBalloonSettings::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TBalloonSettings*>(Source);
  if (!s) return;
  FTextColor = s->FTextColor;
  FBackgroundColor = s->FBackgroundColor;
  FInitialDelay = s->FInitialDelay;
  FAutoHideDelay = s->FAutoHideDelay;
  FReshowDelay = s->FReshowDelay;
  SetEnable(s->FEnable);
}

void TBalloonSettings::SetEnable(bool Value) {
  FEnable = Value;
  if (OnEnableChange) OnEnableChange(this);
}

void TShowModified::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TShowModified*>(Source);
  if (!s) return;
  FColor = s->FColor;
  FEnabled = s->FEnabled;
}

void TShowModified::SetEnabled(bool Value) {
  FEnabled = Value;
  if (OnChange) OnChange(this);
}

void TShowModified::SetColor(TColor Value) {
  FColor = Value;
  if (OnChange) OnChange(this);
}

// ===========================================================================
// TFilterDropDown

TFilterDropDown::TFilterDropDown()
    : FFont(std::make_unique<TFont>()), FGlyph(std::make_unique<TBitmap>()), FGlyphActive(std::make_unique<TBitmap>()) {}
TFilterDropDown::~TFilterDropDown() = default;

void TFilterDropDown::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TFilterDropDown*>(Source);
  if (!s) return;
  FColor = s->FColor;
  FColumnWidth = s->FColumnWidth;
  FFont->Assign(s->FFont.get());
  FHeight = s->FHeight;
  FWidth = s->FWidth;
  FGlyph->Assign(s->FGlyph.get());
  FGlyphActive->Assign(s->FGlyphActive.get());
}

void TFilterDropDown::SetGlyph(TBitmap* Value) {
  FGlyph->Assign(Value);
  if (OnChange) OnChange(this);
}

void TFilterDropDown::SetGlyphActive(TBitmap* Value) {
  FGlyphActive->Assign(Value);
  if (OnChange) OnChange(this);
}

// ===========================================================================
// TDragScrollOptions

void TDragScrollDelays::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TDragScrollDelays*>(Source);
  if (!s) return;
  FInitialDelay = s->FInitialDelay;
  FRepeatDelay = s->FRepeatDelay;
}

void TDragScrollMargins::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TDragScrollMargins*>(Source);
  if (!s) return;
  FTopMargin = s->FTopMargin;
  FBottomMargin = s->FBottomMargin;
  FLeftMargin = s->FLeftMargin;
  FRightMargin = s->FRightMargin;
}

TDragScrollOptions::TDragScrollOptions()
    : FDelays(std::make_unique<TDragScrollDelays>()), FMargins(std::make_unique<TDragScrollMargins>()) {}
TDragScrollOptions::~TDragScrollOptions() = default;

void TDragScrollOptions::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TDragScrollOptions*>(Source);
  if (!s) return;
  FMargins->Assign(s->FMargins.get());
  FDelays->Assign(s->FDelays.get());
  FActive = s->FActive;
}

// ===========================================================================
// TSortSettings

TSortSettings::TSortSettings(DEreDuzeroVaro* AGrid)
    : FGrid(AGrid),
      FUpGlyph(std::make_unique<TBitmap>()),
      FDownGlyph(std::make_unique<TBitmap>()),
      FIndexUpGlyph(std::make_unique<TBitmap>()),
      FIndexDownGlyph(std::make_unique<TBitmap>()) {}

TSortSettings::~TSortSettings() = default;

void TSortSettings::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TSortSettings*>(Source);
  if (!s) return;
  FAutoSortForGrouping = s->FAutoSortForGrouping;
  FAutoColumnMerge = s->FAutoColumnMerge;
  FColumn = s->FColumn;
  FShow = s->FShow;
  FIndexShow = s->FIndexShow;
  FIndexColor = s->FIndexColor;
  FFull = s->FFull;
  FSingleColumn = s->FSingleColumn;
  FIgnoreBlanks = s->FIgnoreBlanks;
  FBlankPos = s->FBlankPos;
  FAutoFormat = s->FAutoFormat;
  FDirection = s->FDirection;
  FUpGlyph->Assign(s->FUpGlyph.get());
  FDownGlyph->Assign(s->FDownGlyph.get());
  FIndexUpGlyph->Assign(s->FIndexUpGlyph.get());
  FIndexDownGlyph->Assign(s->FIndexDownGlyph.get());
  FIndexSortKey = s->FIndexSortKey;
  FInitSortDirection = s->FInitSortDirection;
  FFixedCols = s->FFixedCols;
  FNormalCellsOnly = s->FNormalCellsOnly;
  FRow = s->FRow;
  FUndoSort = s->FUndoSort;
  FHeaderColor = s->FHeaderColor;
  FHeaderColorTo = s->FHeaderColorTo;
  FHeaderMirrorColor = s->FHeaderMirrorColor;
  FHeaderMirrorColorTo = s->FHeaderMirrorColorTo;
}

String TSortSettings::SaveToString() const {
  if (FIndexShow) return u"i;" + (FGrid ? FGrid->SortIndexes()->SaveToString() : String());
  return (FDirection == sdDescending ? u"d" : u"u") + IntToStr(FColumn);
}

void TSortSettings::Remove() {
  FColumn = -1;
  if (!FGrid) return;
  FGrid->SortIndexes()->Clear();
  FGrid->RepaintRow(FGrid->TCustomGrid::FixedRows() - 1);
}

void TSortSettings::SetShow(bool Value) {
  if (FShow == Value) return;
  FShow = Value;
  if (FGrid) FGrid->Invalidate();
}

void TSortSettings::SetRow(int Value) {
  if (FGrid && Value >= FGrid->TCustomGrid::FixedRows())
    throw Exception(u"Sort row should be smaller than number of fixed rows");
  FRow = Value;
}

void TSortSettings::SetHeader(TColor& Field, TColor Value) {
  if (Field == Value) return;
  Field = Value;
  if (FGrid && FGrid->TCustomGrid::FixedRows() > 0) FGrid->RepaintRow(FGrid->TCustomGrid::FixedRows() - 1);
}
void TSortSettings::SetHeaderColor(TColor Value) { SetHeader(FHeaderColor, Value); }
void TSortSettings::SetHeaderColorTo(TColor Value) { SetHeader(FHeaderColorTo, Value); }
void TSortSettings::SetHeaderMirrorColor(TColor Value) { SetHeader(FHeaderMirrorColor, Value); }
void TSortSettings::SetHeaderMirrorColorTo(TColor Value) { SetHeader(FHeaderMirrorColorTo, Value); }

// ===========================================================================
// TFilterData, TFilter

void TFilterData::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TFilterData*>(Source);
  if (!s) return;
#define TFILTERDATA_COPY(Type, Name, Default) F##Name = s->F##Name;
  TFILTERDATA_STORED(TFILTERDATA_COPY)
}

TFilter::TFilter(DEreDuzeroVaro* AGrid)
    : TOwnedCollection(AGrid, [](TCollection* c) { return new TFilterData(c); }), FGrid(AGrid) {}

TFilterData* TFilter::Add() {
  auto* item = static_cast<TFilterData*>(TCollection::Add());
  item->SetOperation(Count() == 1 ? foNONE : foAND);
  return item;
}

TFilterData* TFilter::Insert(int) { return static_cast<TFilterData*>(TCollection::Add()); }

TFilterData* TFilter::GetColFilter(int Col) {
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->Column() == Col) return Items(i);
  TFilterData* item = Add();
  item->SetColumn(static_cast<int16_t>(Col));
  return item;
}

void TFilter::RemoveColumnFilter(int Col) {
  for (int i = Count() - 1; i >= 0; --i)
    if (Items(i)->Column() == Col) Delete(i);
  if (FGrid) FGrid->RepaintCell(Col, 0);
}

bool TFilter::HasFilter(int Col) const {
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->Column() == Col) return true;
  return false;
}

// ===========================================================================
// TGrouping

void TGrouping::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TGrouping*>(Source);
  if (!s) return;
  FGroupCountFormat = s->FGroupCountFormat;
  FHeaderColor = s->FHeaderColor;
  FHeaderColorTo = s->FHeaderColorTo;
  FHeaderTextColor = s->FHeaderTextColor;
  FHeaderUnderline = s->FHeaderUnderline;
  FMergeHeader = s->FMergeHeader;
  FMergeSummary = s->FMergeSummary;
  FShowGroupCount = s->FShowGroupCount;
  FSummaryColor = s->FSummaryColor;
  FSummaryColorTo = s->FSummaryColorTo;
  FSummaryTextColor = s->FSummaryTextColor;
  FSummaryLine = s->FSummaryLine;
  FAutoCheckGroup = s->FAutoCheckGroup;
  FAutoSelectGroup = s->FAutoSelectGroup;
}
