// The grid's settings objects: search footer, navigation, mouse actions and bands.

#include "grid/AdvObj.h"

#include <algorithm>

namespace {

// Stores a changed value; answers whether it changed.
template <class T>
bool Store(T& Field, const T& Value) {
  if (Field == Value) return false;
  Field = Value;
  return true;
}

void Fire(const TNotifyEvent& Event, TObject* Sender) {
  if (Event) Event(Sender);
}

}  // namespace

// ---------------------------------------------------------------------------
// TSearchFooter

TSearchFooter::TSearchFooter(TPersistent* /*AOwner*/, bool InitDesign) : FFont(std::make_unique<TFont>()) {
  if (!InitDesign) return;
  FFindNextCaption = u"Find &next";
  FFindPrevCaption = u"Find &previous";
  FHighLightCaption = u"Highlight";
  FMatchCaseCaption = u"Match case";
  FHintClose = u"Close";
  FHintFindNext = u"Find next occurrence";
  FHintFindPrev = u"Find previous occurrence";
  FHintHighlight = u"Highlight occurrences";
}

TSearchFooter::~TSearchFooter() = default;

void TSearchFooter::Changed() { Fire(OnChange, this); }

void TSearchFooter::StoreText(String& Field, const String& Value) {
  if (Store(Field, Value)) Changed();
}

void TSearchFooter::StoreFlag(bool& Field, bool Value) {
  if (Store(Field, Value)) Changed();
}

void TSearchFooter::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TSearchFooter*>(Source);
  if (!Src) return;
  FAlwaysHighLight = Src->FAlwaysHighLight;
  FColor = Src->FColor;
  FColorTo = Src->FColorTo;
  FFindNextCaption = Src->FFindNextCaption;
  FFindPrevCaption = Src->FFindPrevCaption;
  FHighLightCaption = Src->FHighLightCaption;
  FMatchCaseCaption = Src->FMatchCaseCaption;
  FHintClose = Src->FHintClose;
  FHintFindNext = Src->FHintFindNext;
  FHintFindPrev = Src->FHintFindPrev;
  FHintHighlight = Src->FHintHighlight;
  FShowClose = Src->FShowClose;
  FShowFindNext = Src->FShowFindNext;
  FShowFindPrev = Src->FShowFindPrev;
  FShowHighLight = Src->FShowHighLight;
  FShowMatchCase = Src->FShowMatchCase;
  FSearchActiveColumnOnly = Src->FSearchActiveColumnOnly;
  FSearchMatchStart = Src->FSearchMatchStart;
  FSearchColumn = Src->FSearchColumn;
  FSearchDirection = Src->FSearchDirection;
  FSearchHiddenRows = Src->FSearchHiddenRows;
  FVisible = Src->FVisible;
  FFont->Assign(Src->FFont.get());
}

void TSearchFooter::SetColor(TColor Value) {
  if (Store(FColor, Value)) Changed();
}

void TSearchFooter::SetColorTo(TColor Value) {
  if (Store(FColorTo, Value)) Changed();
}

void TSearchFooter::SetFont(TFont* Value) {
  if (Value) FFont->Assign(Value);
  Changed();
}

void TSearchFooter::SetFindNextCaption(const String& Value) { StoreText(FFindNextCaption, Value); }
void TSearchFooter::SetFindPrevCaption(const String& Value) { StoreText(FFindPrevCaption, Value); }
void TSearchFooter::SetHighLightCaption(const String& Value) { StoreText(FHighLightCaption, Value); }
void TSearchFooter::SetMatchCaseCaption(const String& Value) { StoreText(FMatchCaseCaption, Value); }
void TSearchFooter::SetHintClose(const String& Value) { StoreText(FHintClose, Value); }
void TSearchFooter::SetHintFindNext(const String& Value) { StoreText(FHintFindNext, Value); }
void TSearchFooter::SetHintFindPrev(const String& Value) { StoreText(FHintFindPrev, Value); }
void TSearchFooter::SetHintHighlight(const String& Value) { StoreText(FHintHighlight, Value); }

void TSearchFooter::SetShowClose(bool Value) {
  FShowClose = Value;
  Changed();
}

void TSearchFooter::SetShowFindNext(bool Value) { StoreFlag(FShowFindNext, Value); }
void TSearchFooter::SetShowFindPrev(bool Value) { StoreFlag(FShowFindPrev, Value); }
void TSearchFooter::SetShowHighLight(bool Value) { StoreFlag(FShowHighLight, Value); }
void TSearchFooter::SetShowMatchCase(bool Value) { StoreFlag(FShowMatchCase, Value); }
void TSearchFooter::SetVisible(bool Value) { StoreFlag(FVisible, Value); }
void TSearchFooter::SetAutoThemeAdapt(bool Value) { StoreFlag(FAutoThemeAdapt, Value); }

// ---------------------------------------------------------------------------
// TNavigation

void TNavigation::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TNavigation*>(Source);
  if (!Src) return;
  TNAVIGATION_STORED(ADVOBJ_COPY)
  FAdvanceAuto = Src->FAdvanceAuto;
  FAdvanceDirection = Src->FAdvanceDirection;
  FAdvanceInsert = Src->FAdvanceInsert;
}

void TNavigation::SetAdvanceAuto(bool Value) {
  if (Store(FAdvanceAuto, Value) && Value) FAdvanceOnEnter = true;
}

void TNavigation::SetAdvanceDirection(TAdvanceDirection Value) {
  if (Store(FAdvanceDirection, Value)) Fire(OnChange, this);
}

void TNavigation::SetAdvanceInsert(bool Value) {
  if (Store(FAdvanceInsert, Value)) Fire(OnChange, this);
}

// ---------------------------------------------------------------------------
// TMouseActions

TMouseActions::TMouseActions(TPersistent* /*AOwner*/) : FFixedComboValues(std::make_unique<TStringList>()) {}

TMouseActions::~TMouseActions() = default;

void TMouseActions::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TMouseActions*>(Source);
  if (!Src) return;
  TMOUSEACTIONS_STORED(ADVOBJ_COPY)
  FDisjunctRowSelect = Src->FDisjunctRowSelect;
  FDisjunctColSelect = Src->FDisjunctColSelect;
  FDisjunctCellSelect = Src->FDisjunctCellSelect;
  FWheelAction = Src->FWheelAction;
}

bool TMouseActions::IsDesigning() {
  bool designing = false;
  if (OnIsDesigning) OnIsDesigning(this, designing);
  return designing;
}

// At design time only one kind of disjunct selection can be chosen.
void TMouseActions::SetDisjunctRowSelect(bool Value) {
  FDisjunctRowSelect = Value;
  if (Value && IsDesigning()) FDisjunctColSelect = FDisjunctCellSelect = false;
}

void TMouseActions::SetDisjunctColSelect(bool Value) {
  FDisjunctColSelect = Value;
  if (Value && IsDesigning()) FDisjunctRowSelect = FDisjunctCellSelect = false;
}

void TMouseActions::SetDisjunctCellSelect(bool Value) {
  FDisjunctCellSelect = Value;
  if (Value && IsDesigning()) FDisjunctRowSelect = FDisjunctColSelect = false;
}

void TMouseActions::SetHotmailRowSelect(bool Value) {
  FHotmailRowSelect = Value;
  if (Value) FDisjunctRowSelect = FCheckAllCheck = true;
  Fire(OnInvalidate, this);
}

void TMouseActions::SetEditOnDblClickOnly(bool Value) {
  FEditOnDblClickOnly = Value;
  if (Value) Fire(OnDisableEdit, this);
}

void TMouseActions::SetWheelAction(TWheelAction Value) {
  if (Store(FWheelAction, Value)) Fire(OnChange, this);
}

void TMouseActions::SetFixedComboValues(TStrings* Value) {
  if (Value)
    FFixedComboValues->Assign(*Value);
  else
    FFixedComboValues->Clear();
}

// ---------------------------------------------------------------------------
// TBands

void TBands::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TBands*>(Source);
  if (!Src) return;
  FActive = Src->FActive;
  FPrimaryColor = Src->FPrimaryColor;
  FSecondaryColor = Src->FSecondaryColor;
  FPrimaryLength = Src->FPrimaryLength;
  FSecondaryLength = Src->FSecondaryLength;
  FTotalLength = Src->FTotalLength;
  FPrint = Src->FPrint;
}

void TBands::ChangedWhileActive() {
  if (FActive) Fire(OnChange, this);
}

void TBands::SetActive(bool Value) {
  if (Store(FActive, Value)) Fire(OnChange, this);
}

void TBands::SetPrimaryColor(TColor Value) {
  if (Store(FPrimaryColor, Value)) ChangedWhileActive();
}

void TBands::SetSecondaryColor(TColor Value) {
  if (Store(FSecondaryColor, Value)) ChangedWhileActive();
}

// A negative length counts as 0, and the total never drops below 1: the painter takes row
// numbers modulo the total.
void TBands::SetLength(int& Field, int Value) {
  if (!Store(Field, std::max(Value, 0))) return;
  FTotalLength = std::max(FPrimaryLength + FSecondaryLength, 1);
  ChangedWhileActive();
}

void TBands::SetPrimaryLength(int Value) { SetLength(FPrimaryLength, Value); }
void TBands::SetSecondaryLength(int Value) { SetLength(FSecondaryLength, Value); }
