// DEreDuzeroVaro: filtering. The test of one row against the conditions of Filter, filter
// levels in the hidden-row store, incremental narrowing while typing and the picks of the
// filter drop-down.
#include <algorithm>
#include <cmath>
#include <string_view>
#include <typeinfo>
#include <vector>

#include "controls/HtmlText.h"
#include "controls/VevAzez.h"
#include "grid/AdvGrid.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/SysUtils.h"

namespace {

Char FoldAscii(Char C) { return C >= u'a' && C <= u'z' ? static_cast<Char>(C - (u'a' - u'A')) : C; }

bool IsAscii(const Char* V, size_t N) {
  for (size_t i = 0; i < N; ++i)
    if (V[i] >= 0x80) return false;
  return true;
}

// Equal units, the value's folded to upper case first when Fold (the pattern is folded).
bool SameAt(const Char* V, const Char* P, size_t N, bool Fold) {
  if (!Fold) return std::equal(P, P + N, V);
  for (size_t i = 0; i < N; ++i)
    if (FoldAscii(V[i]) != P[i]) return false;
  return true;
}

bool Contains(const Char* V, size_t VN, const Char* P, size_t PN, bool Fold) {
  if (PN == 0) return true;
  if (PN > VN) return false;
  // The pattern's first unit, and its lower-case form that folds to it.
  const Char first = P[0];
  const Char lower = Fold && first >= u'A' && first <= u'Z' ? static_cast<Char>(first + (u'a' - u'A')) : first;
  for (size_t i = 0; i + PN <= VN; ++i)
    if ((V[i] == first || V[i] == lower) && SameAt(V + i, P, PN, Fold)) return true;
  return false;
}

}  // namespace

std::vector<DEreDuzeroVaro::TPreparedFilter> DEreDuzeroVaro::PrepareFilter() const {
  std::vector<TPreparedFilter> prepared(static_cast<size_t>(FFilter->Count()));
  for (int i = 0; i < FFilter->Count(); ++i) {
    const TFilterData* f = FFilter->Items(i);
    TPreparedFilter& p = prepared[static_cast<size_t>(i)];
    p.Column = f->Column();
    p.Data = f->Data();
    p.Operation = f->Operation();
    p.CaseSensitive = f->CaseSensitive();
    p.Condition = f->Condition();
    p.Prefix = f->Prefix();
    p.Suffix = f->Suffix();
    if (p.Data == fcRow) {
      p.Pattern = AnsiUpperCase(p.Condition);
      continue;
    }
    String c = RemoveSpacesOutsideQuotes(Trim(p.Condition));
    if (!c.empty() && c[0] == u'=') c.erase(0, 1);
    // The same reading the condition language gives a condition of one plain pattern part:
    // quotes match nothing, the pattern ends at its first #0.
    p.Plain = c.find_first_of(u"();^&|<>!") == String::npos;
    if (!p.Plain) continue;
    c.erase(std::remove(c.begin(), c.end(), u'"'), c.end());
    c = c.substr(0, c.find(Char(0)));
    p.Pattern = p.CaseSensitive ? c : AnsiUpperCase(c);
    const size_t lead = p.Pattern.find_first_not_of(u'*');
    if (lead == String::npos) {
      p.Kind = p.Pattern.empty() ? TPreparedFilter::pkEqual : TPreparedFilter::pkAll;
      continue;
    }
    const size_t trail = p.Pattern.size() - 1 - p.Pattern.find_last_not_of(u'*');
    p.Literal = p.Pattern.substr(lead, p.Pattern.size() - lead - trail);
    if (p.Literal.find_first_of(u"*?") != String::npos) p.Kind = TPreparedFilter::pkWild;
    else if (lead == 0) p.Kind = trail == 0 ? TPreparedFilter::pkEqual : TPreparedFilter::pkPrefix;
    else p.Kind = trail == 0 ? TPreparedFilter::pkSuffix : TPreparedFilter::pkContains;
  }
  return prepared;
}

bool DEreDuzeroVaro::MatchPrepared(const TPreparedFilter& P, int ARow) {
  // The text under test: a stored cell's text is read where it lies; any other is made in the
  // kept buffer. A text that must change (unpacked, case-mapped) is made there too.
  String& buffer = FFilterValue;
  std::u16string_view value;
  switch (P.Data) {
    case fcVirtual: buffer = Cells(P.Column, ARow); break;
    case fcNormal: value = CellText(P.Column, ARow); break;
    case fcStripHTML: buffer = StripHtmlTags(Cells(P.Column, ARow)); break;
    case fcCalculated: buffer = GetPrintCellText(P.Column, ARow); break;
    case fcRow:
      buffer.clear();
      for (int c = 0; c < ColCount(); ++c) {
        buffer += Cells(c, ARow);
        buffer += u"\r\n";
      }
      break;
  }
  if (P.Data != fcNormal) value = buffer;
  // The text trimmed, as a range of the value.
  size_t b = 0, e = value.size();
  while (b < e && value[b] <= u' ') ++b;
  while (e > b && value[e - 1] <= u' ') --e;
  // One look over the text tells whether it may be packed (holds "|"), holds a #0, or leaves
  // plain Latin; each is looked at closely only where it may be so (a text made anew below is
  // looked at closely throughout).
  bool bar = false, zeroes = false, wide = false;
  for (size_t i = b; i < e; ++i) {
    const Char c = value[i];
    bar |= c == u'|';
    zeroes |= c == 0;
    wide |= c >= 0x80;
  }
  auto replace = [&](String Text) {
    buffer = std::move(Text);
    value = buffer;
    b = 0;
    e = value.size();
    zeroes = wide = true;
  };
  if (bar) {
    const size_t packed = value.find(u"|\\", b);
    if (packed != String::npos && packed + 2 <= e) replace(UnpackWideText(String(value.substr(b, e - b))));
  }
  // Case is folded unit by unit in plain Latin text, through a case-mapped copy otherwise;
  // True when the units are to be folded in place.
  auto foldCase = [&](bool Fold) {
    if (!Fold) return false;
    if (!wide || IsAscii(value.data() + b, e - b)) return true;
    replace(AnsiUpperCase(String(value.substr(b, e - b))));
    return false;
  };
  if (P.Data == fcRow) {  // case is always ignored here
    const bool inPlace = foldCase(true);
    return Contains(value.data() + b, e - b, P.Pattern.data(), P.Pattern.size(), inPlace);
  }
  if (!P.Prefix.empty() && e - b >= P.Prefix.size() && value.compare(b, P.Prefix.size(), P.Prefix) == 0)
    b += P.Prefix.size();
  if (!P.Suffix.empty()) {
    const size_t p = value.find(P.Suffix, b);
    if (p != String::npos && p + P.Suffix.size() == e) e = p;
  }
  if (P.Condition.empty()) return true;
  if (!P.Plain) {
    try {
      return MatchFilterCondition(P.Condition, String(value.substr(b, e - b)), P.CaseSensitive);
    } catch (const Exception&) {
      return false;  // a condition that cannot be read matches nothing
    }
  }
  // The value ends at its first #0, as the pattern does.
  if (zeroes) {
    const size_t zero = value.find(Char(0), b);
    if (zero != String::npos && zero < e) e = zero;
  }
  const bool inPlace = foldCase(!P.CaseSensitive);
  const Char* v = value.data() + b;
  const size_t n = e - b;
  const String& lit = P.Literal;
  switch (P.Kind) {
    case TPreparedFilter::pkAll: return true;
    case TPreparedFilter::pkEqual: return n == lit.size() && SameAt(v, lit.data(), n, inPlace);
    case TPreparedFilter::pkPrefix: return n >= lit.size() && SameAt(v, lit.data(), lit.size(), inPlace);
    case TPreparedFilter::pkSuffix: return n >= lit.size() && SameAt(v + n - lit.size(), lit.data(), lit.size(), inPlace);
    case TPreparedFilter::pkContains: return Contains(v, n, lit.data(), lit.size(), inPlace);
    case TPreparedFilter::pkWild: break;
  }
  return MatchWildcards(P.Pattern.data(), P.Pattern.size(), v, n, inPlace);
}

bool DEreDuzeroVaro::RowMatchesFilter(int ARow) {
  // Within ApplyFilter the conditions were prepared once for all its rows.
  std::vector<TPreparedFilter> own;
  if (!FFilterPrepared) own = PrepareFilter();
  const std::vector<TPreparedFilter>& conditions = FFilterPrepared ? FPreparedFilters : own;
  bool result = true;
  for (const TPreparedFilter& cond : conditions) {
    const bool match = MatchPrepared(cond, ARow);
    switch (cond.Operation) {
      case foSHORT:
      case foNONE: result = match; break;
      case foAND: result = result && match; break;
      case foXOR: result = result != match; break;
      case foOR: result = result || match; break;
    }
    if (cond.Operation == foSHORT && !match) break;
  }
  if (OnCustomFilter) OnCustomFilter(this, ARow, result);
  return result;
}

// ===========================================================================
// Filter levels

bool DEreDuzeroVaro::IsNodeOrSummaryRow(int ARow) {
  // A row's type is its column-0 cell graphic's. In a grid that never held a graphic, and for
  // a row without a column-0 object or whose object is a plain cell record without a graphic,
  // there is none, which is answered without looking the record's type up.
  if (!FMouseActions->HotmailRowSelect()) {
    if (!GraphicsHeld()) return false;
    TObject* object = TStringGrid::Objects(0, ARow);
    if (object == nullptr) return false;
    if (typeid(*object) == typeid(TCellProperties) && static_cast<TCellProperties*>(object)->GraphicObject() == nullptr)
      return false;
  }
  const TCellType type = GetCellType(0, ARow);
  return type == ctNode || type == ctSummary;
}

void DEreDuzeroVaro::ApplyFilter() {
  FFilterFixedRows = TCustomGrid::FixedRows();
  const int first = TCustomGrid::FixedRows(), last = RowCount() - FixedFooters() - 1;
  const int n = last - first + 1;
  auto& failing = FFilterFailing;
  failing.clear();
  failing.reserve(static_cast<size_t>(std::max(n, 0)));
  TScopeGuard emptied([&failing] { failing.clear(); });
  int examined = 0, reported = -1;
  // Progress is reported when its percentage changes, and once more at the end.
  auto progress = [&](bool Final) {
    if (!OnFilterProgress || n <= 0) return;
    const int percent = static_cast<int>(std::lround(examined * 100.0 / n));
    if (percent != reported || Final) OnFilterProgress(this, static_cast<int16_t>(percent));
    reported = percent;
  };
  FPreparedFilters = PrepareFilter();
  FFilterPrepared = true;
  TScopeGuard unprepare([this] {
    FFilterPrepared = false;
    FPreparedFilters.clear();
  });
  for (int r = first; r <= last; ++r) {
    if (FFilterNormalCellsOnly && IsNodeOrSummaryRow(r)) continue;  // node and summary rows stay
    if (!RowMatchesFilter(r)) failing.push_back(r);
    ++examined;
    progress(false);
  }
  // The level exists even when no row failed, so that removing it pops nothing else.
  // The failing rows are ascending display rows, hidden as HideRowList hides them (rows an
  // OnCustomFilter handler took away meanwhile left out).
  if (failing.empty()) {
    ++FFilterLevel;
  } else {
    while (!failing.empty() && failing.back() >= RowCount()) failing.pop_back();
    if (!failing.empty() && static_cast<int>(failing.size()) < RowCount()) {
      HideDisplRows(failing, FFilterLevel);
      ++FFilterLevel;
    }
  }
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
