// DEreDuzeroVaro: filtering. The test of one row against the conditions of Filter, filter
// levels in the hidden-row store, incremental narrowing while typing and the picks of the
// filter drop-down.
#include <algorithm>
#include <cmath>

#include "controls/HtmlText.h"
#include "controls/VevAzez.h"
#include "grid/AdvGrid.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/SysUtils.h"

bool DEreDuzeroVaro::RowMatchesFilter(int ARow) {
  bool result = true;
  for (int i = 0; i < FFilter->Count(); ++i) {
    TFilterData* cond = FFilter->Items(i);
    int col = cond->Column();
    String value;
    switch (cond->Data()) {
      case fcVirtual: value = Cells(col, ARow); break;
      case fcNormal: value = GridCells(col, ARow); break;
      case fcStripHTML: value = StripHtmlTags(Cells(col, ARow)); break;
      case fcCalculated: value = GetPrintCellText(col, ARow); break;
      case fcRow:
        for (int c = 0; c < ColCount(); ++c) value += Cells(c, ARow) + u"\r\n";
        break;
    }
    value = Trim(value);
    if (value.find(u"|\\") != String::npos) value = UnpackWideText(value);
    bool match;
    if (cond->Data() == fcRow) {
      match = AnsiUpperCase(value).find(AnsiUpperCase(cond->Condition())) != String::npos;
    } else {
      if (!cond->Prefix().empty() && value.rfind(cond->Prefix(), 0) == 0) value.erase(0, cond->Prefix().size());
      if (!cond->Suffix().empty()) {
        size_t p = value.find(cond->Suffix());
        if (p != String::npos && p + cond->Suffix().size() == value.size()) value.erase(p);
      }
      try {
        if (cond->Condition().empty()) {
          match = true;
        } else {
          const TPreparedFilter& p = PreparedFilter(i, cond->Condition(), cond->CaseSensitive());
          if (!p.Plain) match = MatchFilterCondition(cond->Condition(), value, cond->CaseSensitive());
          else if (p.CaseSensitive) match = MatchFilterPattern(p.Pattern.c_str(), value.c_str());
          else match = MatchFilterPattern(p.Pattern.c_str(), AnsiUpperCase(value).c_str());
        }
      } catch (const Exception&) {
        match = false;  // a condition that cannot be read matches nothing
      }
    }
    switch (cond->Operation()) {
      case foSHORT:
      case foNONE: result = match; break;
      case foAND: result = result && match; break;
      case foXOR: result = result != match; break;
      case foOR: result = result || match; break;
    }
    if (cond->Operation() == foSHORT && !match) break;
  }
  if (OnCustomFilter) OnCustomFilter(this, ARow, result);
  return result;
}

const DEreDuzeroVaro::TPreparedFilter& DEreDuzeroVaro::PreparedFilter(int Index, const String& Condition,
                                                                      bool CaseSensitive) {
  if (static_cast<size_t>(Index) >= FPreparedFilters.size()) FPreparedFilters.resize(static_cast<size_t>(Index) + 1);
  TPreparedFilter& p = FPreparedFilters[static_cast<size_t>(Index)];
  if (p.Source == Condition && p.CaseSensitive == CaseSensitive && !p.Source.empty()) return p;
  p.Source = Condition;
  p.CaseSensitive = CaseSensitive;
  String c = RemoveSpacesOutsideQuotes(Trim(Condition));
  if (!c.empty() && c[0] == u'=') c.erase(0, 1);
  // The same reading MatchFilterCondition gives a condition of one plain pattern part.
  p.Plain = c.find_first_of(u"();^&|<>!") == String::npos;
  p.Pattern = CaseSensitive ? c : AnsiUpperCase(c);
  return p;
}

// ===========================================================================
// Filter levels

void DEreDuzeroVaro::ApplyFilter() {
  FFilterFixedRows = TCustomGrid::FixedRows();
  const int first = TCustomGrid::FixedRows(), last = RowCount() - FixedFooters() - 1;
  const int n = last - first + 1;
  TIntList failing(-1, -1);
  int examined = 0, reported = -1;
  // Progress is reported when its percentage changes, and once more at the end.
  auto progress = [&](bool Final) {
    if (!OnFilterProgress || n <= 0) return;
    const int percent = static_cast<int>(std::lround(examined * 100.0 / n));
    if (percent != reported || Final) OnFilterProgress(this, static_cast<int16_t>(percent));
    reported = percent;
  };
  for (int r = first; r <= last; ++r) {
    if (FFilterNormalCellsOnly && (IsNode(r) || IsSummary(r))) continue;
    if (!RowMatchesFilter(r)) failing.Add(r);
    ++examined;
    progress(false);
  }
  // The level exists even when no row failed, so that removing it pops nothing else.
  if (failing.Count() == 0) ++FFilterLevel;
  else HideRowList(&failing);
  progress(true);
}

void DEreDuzeroVaro::FilterRow(int ARow) {
  if (ARow < 0 || IsHiddenRow(ARow)) return;
  const int displ = DisplRowIndex(ARow);
  if (displ >= RowCount()) return;
  if (!RowMatchesFilter(displ)) HideRow(ARow);
}

bool DEreDuzeroVaro::RemoveLastFilter() {
  if (FFilterLevel <= 0) return false;
  UnHideRowList();
  if (TCustomGrid::FixedRows() != FFilterFixedRows && FFilterFixedRows < RowCount()) SetFixedRows(FFilterFixedRows);
  if (SelectionHidden()) UnHideSelection();
  --FFilterLevel;
  if (FFilterLevel == 0) FFilterActive = false;
  return FFilterLevel > 1;
}

void DEreDuzeroVaro::RemoveAllFilters() {
  if (FFilterLevel <= 0) {
    FFilter->Clear();
    return;
  }
  BeginUpdate();
  TScopeGuard end([this] { EndUpdate(); });
  while (FFilterLevel > 0) RemoveLastFilter();
}

void DEreDuzeroVaro::SetFilterActive(bool Value) {
  if (Value == FFilterActive) return;
  FFilterActive = Value;
  if (Value) {
    if (Col() >= ColCount() || Row() >= RowCount()) FocusCell(FixedCols(), TCustomGrid::FixedRows());
    {
      BeginUpdate();
      TScopeGuard end([this] { EndUpdate(); });
      ApplyFilter();
    }
    FSelectionHidden = false;
  } else if (FFilterLevel > 0) {
    // The last level's rows come back and the level is gone.
    UnHideRowList();
    --FFilterLevel;
    if (TCustomGrid::FixedRows() != FFilterFixedRows && FFilterFixedRows < RowCount()) SetFixedRows(FFilterFixedRows);
    if (SelectionHidden()) UnHideSelection();
  }
  SetTopRow(TCustomGrid::FixedRows());
}

void DEreDuzeroVaro::SetFilterDropDownRow(int Value) {
  if (Value >= TCustomGrid::FixedRows()) return;
  FFilterDropDownRow = Value;
  Invalidate();
}

// ===========================================================================
// Narrowing while typing

void DEreDuzeroVaro::NarrowDownApply(const String& Condition, int Column) {
  FFilter->Clear();
  TFilterData* f = FFilter->Add();
  if (Column == -1) {
    f->SetData(fcRow);
    f->SetCondition(Condition);
  } else {
    f->SetData(fcNormal);
    String c = u"*" + Condition + u"*";
    if (c.find(u' ') != String::npos) c = u"\"" + c + u"\"";
    f->SetCondition(c);
  }
  f->SetCaseSensitive(false);
  f->SetColumn(static_cast<int16_t>(Column));
  BeginUpdate();
  TScopeGuard end([this] { EndUpdate(); });
  ApplyFilter();
}

void DEreDuzeroVaro::NarrowDown(const String& Condition, int Column) {
  FFixedRowAlways = true;
  const String& last = FLastFilter;
  if (!last.empty() && Condition.size() == last.size() + 1 && Condition.compare(0, last.size(), last) == 0) {
    NarrowDownApply(Condition, Column);  // one character typed: one more level
  } else if (!Condition.empty() && Condition.size() + 1 == last.size() && last.compare(0, Condition.size(), Condition) == 0) {
    RemoveLastFilter();  // one character erased: the last level goes
  } else {
    RemoveAllFilters();
    if (!Condition.empty()) NarrowDownApply(Condition, Column);
  }
  FLastFilter = Condition;
}

// ===========================================================================
// Picks in the filter drop-down

namespace {

// The shown name (before the first "=") and the condition (after it) of a filter list
// entry; an entry without "=" is both.
void SplitFilterEntry(const String& Entry, String& Name, String& Condition) {
  const size_t p = Entry.find(u'=');
  Name = p == String::npos ? Entry : Entry.substr(0, p);
  Condition = p == String::npos ? Entry : Entry.substr(p + 1);
}

}  // namespace

void DEreDuzeroVaro::FilterSelect(int ItemIndex) {
  if (CanFocus()) SetFocus();
  if (FFilterCol >= 0 && FFilterCol < AllColCount() && ItemIndex >= 0) {
    const int col = FFilterCol;
    BuildFilterList(col);
    if (ItemIndex < FFilterList->Count()) {
      String name, condition;
      SplitFilterEntry(FFilterList->Strings(ItemIndex), name, condition);
      if (FAutoFilterUpdate) SetFilterActive(false);
      if (condition == FFilterDropDownClear) condition.clear();
      if (OnFilterSelect) OnFilterSelect(this, col, ItemIndex, name, condition);
      if (!condition.empty()) FFilter->GetColFilter(col)->SetCondition(condition);
      else FFilter->RemoveColumnFilter(col);
      if (FAutoFilterUpdate) {
        FFixedRowAlways = true;
        SetFilterActive(true);
        if (RowCount() != TCustomGrid::FixedRows() && RowCount() != 1) SetRow(TCustomGrid::FixedRows());
        FilterDone();
      }
    }
  }
  FFilterCol = -1;
}

void DEreDuzeroVaro::FilterCheckSelect() {
  if (FFilterCol < 0 || FFilterCol >= AllColCount()) return;
  const int col = FFilterCol;
  BuildFilterList(col);
  if (FAutoFilterUpdate) SetFilterActive(false);
  FFilter->Clear();
  const std::vector<bool>& checked = FFilterChecks;
  bool firstCondition = true;
  for (int i = 0; i < FFilterList->Count() && i < static_cast<int>(checked.size()); ++i) {
    if (!checked[static_cast<size_t>(i)]) continue;
    String name, condition;
    SplitFilterEntry(FFilterList->Strings(i), name, condition);
    if (FFilterList->Strings(i) == FFilterDropDownClear) condition.clear();
    TFilterData* f = FFilter->Add();
    f->SetCondition(condition);
    f->SetColumn(static_cast<int16_t>(col));
    f->SetOperation(firstCondition ? foNONE : foOR);
    firstCondition = false;
  }
  SetFilterActive(true);
}
