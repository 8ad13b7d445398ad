// DEreDuzeroVaro: the comparison of two cells for sorting, and of two rows by a column and
// the columns to its right or by the sort indexes.
//
// What a comparison reads from a cell (its text, number, date, upper-cased or stripped text,
// collation key, check state) is its key. A single comparison makes the two keys on the spot;
// a sort keeps them, so that each cell is read, converted and collated once however often
// it is compared.

#include <algorithm>
#include <cmath>
#include <charconv>
#include <cstdlib>
#include <string>

#include "controls/VevAzez.h"
#include "grid/AdvGrid.h"
#include "grid/AdvGridSortKeys.h"
#include "platform/rtl/Collation.h"
#include "platform/rtl/SysUtils.h"

namespace {

// The longest numeric prefix of S after leading blanks: sign, digits, decimal point, digits
// and an exponent with at least one digit. False when it holds no digit (V is then 0).
bool ReadNumberPrefix(const String& S, double& V) {
  size_t i = 0;
  while (i < S.size() && (S[i] == u' ' || S[i] == u'\t')) ++i;
  std::string ascii;
  // from_chars takes no "+"; the value is the same without it.
  if (i < S.size() && (S[i] == u'-' || S[i] == u'+')) {
    if (S[i] == u'-') ascii += '-';
    ++i;
  }
  bool digits = false;
  while (i < S.size() && S[i] >= u'0' && S[i] <= u'9') {
    ascii += static_cast<char>(S[i++]);
    digits = true;
  }
  if (i < S.size() && S[i] == u'.') {
    size_t j = i + 1;
    std::string frac = ".";
    while (j < S.size() && S[j] >= u'0' && S[j] <= u'9') frac += static_cast<char>(S[j++]);
    if (frac.size() > 1 || digits) {
      digits = digits || frac.size() > 1;
      ascii += frac;
      i = j;
    }
  }
  if (!digits) {
    V = 0;
    return false;
  }
  if (i < S.size() && (S[i] == u'e' || S[i] == u'E')) {
    size_t j = i + 1;
    std::string exp = "e";
    if (j < S.size() && (S[j] == u'-' || S[j] == u'+')) exp += static_cast<char>(S[j++]);
    const size_t before = exp.size();
    while (j < S.size() && S[j] >= u'0' && S[j] <= u'9') exp += static_cast<char>(S[j++]);
    if (exp.size() > before) ascii += exp;
  }
  // The C library's conversion would read the decimal point of the process's numeric locale;
  // from_chars always reads ".". A value beyond the range of double is infinite or zero.
  const auto res = std::from_chars(ascii.data(), ascii.data() + ascii.size(), V);
  if (res.ec == std::errc::result_out_of_range) {
    const size_t e = ascii.find('e');
    const bool tiny = e != std::string::npos && ascii[e + 1] == '-';
    V = tiny ? 0.0 : HUGE_VAL;
    if (ascii[0] == '-') V = -V;
  }
  return true;
}

// Deletes the first occurrence of Part from S (nothing for an empty Part).
void DeleteFirst(String& S, const String& Part) {
  if (Part.empty()) return;
  const size_t p = S.find(Part);
  if (p != String::npos) S.erase(p, Part.size());
}

int Sign(double D) { return D > 0 ? 1 : (D < 0 ? -1 : 0); }
int Sign(int I) { return I > 0 ? 1 : (I < 0 ? -1 : 0); }

bool IsNumberText(const String& S) {
  const uint8_t k = NumberTextKind(S);
  return k == 0 || k == 1 || k == 5;
}

bool IsAsciiDigit(Char C) { return C >= u'0' && C <= u'9'; }

// The separator stands at 1-based position 2 or 3, not last, between two digits.
bool SeparatorAtDatePosition(const String& S, Char Sep, int& P) {
  P = Pos(Sep, S);
  if (P < 2 || P > 3 || P >= Length(S)) return false;
  return IsAsciiDigit(S[P - 2]) && IsAsciiDigit(S[P]);
}

}  // namespace

namespace {

using TKey = DEreDuzeroVaro::TSortKeys::TKey;

// The numeric rule: prefix and suffix off, thousand separators off for financial texts,
// the locale's decimal separator read as "."; the value, whether a number was read and
// whether the text left is empty.
double NumberValue(const String& Text, const String& Prefix, const String& Suffix, bool Financial, bool& Read,
                   bool& Empty) {
  double value = 0;
  const Char decimal = GetDecimalSeparator();
  if (Prefix.empty() && Suffix.empty() && !Financial && decimal == u'.') {
    // Nothing to take off: the text is read as it stands.
    Empty = Text.empty();
    Read = ReadNumberPrefix(Text, value) || Empty;
    return value;
  }
  String t = Text;
  DeleteFirst(t, Prefix);
  DeleteFirst(t, Suffix);
  const Char thousand = GetThousandSeparator();
  if (Financial)
    for (size_t p; (p = t.find(thousand)) != String::npos;) t.erase(p, 1);
  if (decimal != u'.') {
    const size_t p = t.find(decimal);
    if (p != String::npos) t[p] = u'.';
  }
  Empty = t.empty();
  // An empty cell counts 0; a text without a numeric prefix is no number.
  Read = ReadNumberPrefix(t, value) || Text.empty();
  return value;
}

double NumberOf(TKey& K, const String& Prefix, const String& Suffix, bool Financial, bool& Read, bool& Empty) {
  const uint16_t bit = Financial ? TKey::mFin : TKey::mNum;
  double& value = Financial ? K.More().Fin : K.Num;
  bool& read = Financial ? K.More().FinRead : K.NumRead;
  bool& empty = Financial ? K.More().FinEmpty : K.NumEmpty;
  if (!(K.Made & bit)) {
    K.Made |= bit;
    value = NumberValue(K.Text, Prefix, Suffix, Financial, read, empty);
  }
  Read = read;
  Empty = empty;
  return value;
}

// A date or time of the process formats; 0 for a text that is none.
double DateValue(const String& Text, bool TimeOnly) {
  TDateTime v = 0;
  const bool ok = TimeOnly ? TryStrToTime(Text, v) : TryStrToDateTime(Text, v);
  return ok ? v : 0.0;
}

double DateOf(TKey& K, uint16_t Bit, double& Slot, bool TimeOnly) {
  if (!(K.Made & Bit)) {
    K.Made |= Bit;
    Slot = DateValue(K.Text, TimeOnly);
  }
  return Slot;
}

// Day/month/year (or month/day/year); 0 for an impossible date.
double ShortDateValue(const String& Text, bool US) {
  try {
    return US ? ParseDateMDY(Text) : ParseDateDMY(Text);
  } catch (const Exception&) {
    return 0.0;
  }
}

double ShortDateOf(TKey& K, uint16_t Bit, double& Slot, bool US) {
  if (!(K.Made & Bit)) {
    K.Made |= Bit;
    Slot = ShortDateValue(K.Text, US);
  }
  return Slot;
}

}  // namespace

// The parts of a key made on first use, shared by the single comparison and the dense sort.
namespace {

bool NumberFlag(TKey& K) {
  if (!(K.Made & TKey::mNumber)) {
    K.Made |= TKey::mNumber;
    K.Number = IsNumberText(K.Text);
  }
  return K.Number;
}

bool CheckCellFlag(DEreDuzeroVaro& G, TKey& K, int ACol, int ARow) {
  if (!(K.Made & TKey::mCheckCell)) {
    K.Made |= TKey::mCheckCell;
    const TCellType t = G.GetCellType(ACol, ARow);
    K.CheckCell = t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox;
  }
  return K.CheckCell;
}

const String& UpperOf(TKey& K) {
  std::optional<String>& u = K.More().Upper;
  if (!u) u = UpperCase(K.Text);
  return *u;
}

const std::wstring& CollationOf(TKey& K, bool IgnoreCase) {
  std::optional<std::wstring>& c = IgnoreCase ? K.More().CollNoCase : K.More().Coll;
  if (!c) c = LocaleSortKey(K.Text, IgnoreCase);
  return *c;
}

const String& StrippedOf(DEreDuzeroVaro& G, TKey& K, int ACol, int ARow) {
  std::optional<String>& s = K.More().Stripped;
  if (!s) s = G.StrippedCells(ACol, ARow);
  return *s;
}

int CheckOf(DEreDuzeroVaro& G, TKey& K, int ACol, int ARow) {
  if (!(K.Made & TKey::mCheck)) {
    K.Made |= TKey::mCheck;
    bool b = false;
    K.More().Check = G.GetCheckBoxState(ACol, ARow, b) && b ? 1 : 0;
  }
  return K.More().Check;
}

intptr_t ImageOf(DEreDuzeroVaro& G, TKey& K, int ACol, int ARow) {
  if (!(K.Made & TKey::mImage)) {
    K.Made |= TKey::mImage;
    K.More().Image = G.GetCellImageValue(ACol, ARow);
  }
  return K.More().Image;
}

// The style a pair-dependent style takes for the pair (K1 the first cell's key).
TSortStyle SettleStyle(DEreDuzeroVaro& G, TSortStyle Style, TKey& K1, TKey& K2, int ACol, int ARow1, bool NoCase) {
  if (Style == ssAutomatic) {
    if (CheckCellFlag(G, K1, ACol, ARow1)) return ssCheckBox;
    if (NumberFlag(K1)) return ssNumeric;
    Style = NoCase ? ssAlphaNoCase : ssAlphabetic;
    const Char dateSep = GetDateSeparator(), timeSep = GetTimeSeparator();
    int p = 0;
    if (SeparatorAtDatePosition(K1.Text, dateSep, p)) {
      if (K2.Text.find(dateSep) != String::npos) Style = K1.Text.find(timeSep) == String::npos ? ssDate : ssDateTime;
    } else if (p < 2 || p > 3 || p == Length(K1.Text)) {
      if (SeparatorAtDatePosition(K1.Text, timeSep, p) && K2.Text.find(timeSep) != String::npos) Style = ssTime;
    }
    return Style;
  }
  if (Style == ssAlphaNumeric || Style == ssAlphaNumericNoCase) {
    if (NumberFlag(K1) && NumberFlag(K2)) return ssNumeric;
    return Style == ssAlphaNumeric ? ssAlphabetic : ssAlphaNoCase;
  }
  return Style;
}

}  // namespace

// ===========================================================================
// Cells

int DEreDuzeroVaro::CompareCellKeys(TSortKeys& Keys, int ACol, int ARow1, int ARow2, TSortDirection Direction) {
  ++FCompares;
  const TSortKeys::TFormat& fmt = Keys.Format(ACol);
  TKey& k1 = Keys.Cell(ACol, ARow1, 0);
  TKey& k2 = Keys.Cell(ACol, ARow2, 1);
  const TSortStyle style = SettleStyle(*this, fmt.Style, k1, k2, ACol, ARow1, SortSettings()->IgnoreCase());

  int r = 0;
  // The texts as the style compared them, for the placing of empty cells.
  bool empty1 = k1.Text.empty(), empty2 = k2.Text.empty();
  switch (style) {
    case ssAlphabetic:
    case ssAlphaCase:
    case ssAutomatic:
    case ssAlphaNumeric:
    case ssAlphaNumericNoCase:
      r = Sign(k1.Text.compare(k2.Text));
      break;
    case ssAlphaNoCase:
      r = Sign(UpperOf(k1).compare(UpperOf(k2)));
      break;
    case ssAnsiAlphaCase:
    case ssAnsiAlphaNoCase: {
      const bool ignoreCase = style == ssAnsiAlphaNoCase;
      r = Sign(CollationOf(k1, ignoreCase).compare(CollationOf(k2, ignoreCase)));
      break;
    }
    case ssNumeric:
    case ssFinancial: {
      const bool fin = style == ssFinancial;
      bool read1, read2;
      const double n1 = NumberOf(k1, fmt.Prefix, fmt.Suffix, fin, read1, empty1);
      const double n2 = NumberOf(k2, fmt.Prefix, fmt.Suffix, fin, read2, empty2);
      r = (!read1 && !read2) ? 0 : Sign(n1 - n2);
      break;
    }
    case ssDate:
    case ssDateTime:
      r = Sign(DateOf(k1, TKey::mDateTime, k1.More().DateTime, false) - DateOf(k2, TKey::mDateTime, k2.More().DateTime, false));
      break;
    case ssTime:
      r = Sign(DateOf(k1, TKey::mTime, k1.More().Time, true) - DateOf(k2, TKey::mTime, k2.More().Time, true));
      break;
    case ssShortDateEU:
      r = Sign(ShortDateOf(k1, TKey::mDateEU, k1.More().DateEU, false) - ShortDateOf(k2, TKey::mDateEU, k2.More().DateEU, false));
      break;
    case ssShortDateUS:
      r = Sign(ShortDateOf(k1, TKey::mDateUS, k1.More().DateUS, true) - ShortDateOf(k2, TKey::mDateUS, k2.More().DateUS, true));
      break;
    case ssCheckBox:
      r = Sign(CheckOf(*this, k1, ACol, ARow1) - CheckOf(*this, k2, ACol, ARow2));
      break;
    case ssImages: {
      const intptr_t i1 = ImageOf(*this, k1, ACol, ARow1), i2 = ImageOf(*this, k2, ACol, ARow2);
      r = i2 < i1 ? 1 : (i1 == i2 ? 0 : -1);
      break;
    }
    case ssHTML: {
      const String& s1 = StrippedOf(*this, k1, ACol, ARow1);
      const String& s2 = StrippedOf(*this, k2, ACol, ARow2);
      empty1 = s1.empty();
      empty2 = s2.empty();
      r = Sign(s1.compare(s2));
      break;
    }
    case ssCustom:
      if (OnCustomCompare) OnCustomCompare(this, k1.Text, k2.Text, r);
      r = Sign(r);
      break;
    case ssRaw:
      if (OnRawCompare) OnRawCompare(this, ACol, ARow1, ARow2, r);
      r = Sign(r);
      break;
  }

  // Empty cells go first or last whatever the direction (the descending sort reverses this
  // sign again).
  if (SortSettings()->IgnoreBlanks() && empty1 != empty2) {
    const int first = SortSettings()->BlankPos() == blFirst ? -1 : 1;
    r = empty1 ? first : -first;
    if (Direction == sdDescending) r = -r;
  }
  return r;
}

int DEreDuzeroVaro::CompareCells(int ACol, int ARow1, int ARow2, TSortDirection Direction) {
  TSortKeys keys(this, false);
  return CompareCellKeys(keys, ACol, ARow1, ARow2, Direction);
}

// ===========================================================================
// Rows

int DEreDuzeroVaro::CompareRowsFromKeys(TSortKeys& Keys, int ACol, int ARow1, int ARow2) {
  const int last = AllColCount() - 1;
  for (int c = ACol;; ++c) {
    const int r = IsIgnoredColumn(c) ? 0 : CompareCellKeys(Keys, c, ARow1, ARow2, SortSettings()->Direction());
    if (r != 0 || !SortSettings()->Full() || c >= last) return r;
  }
}

int DEreDuzeroVaro::CompareRowsFrom(int ACol, int ARow1, int ARow2) {
  TSortKeys keys(this, false);
  return CompareRowsFromKeys(keys, ACol, ARow1, ARow2);
}

int DEreDuzeroVaro::CompareRowsIndexedKeys(TSortKeys& Keys, int Index, int ARow1, int ARow2) {
  for (int i = Index; i < FSortIndexes->Count(); ++i) {
    const uint32_t e = static_cast<uint32_t>(FSortIndexes->Items(i));
    const bool descending = (e & TSortIndexList::DescendingBit) != 0;
    const int col = static_cast<int>(e & ~TSortIndexList::DescendingBit);
    int r = IsIgnoredColumn(col) ? 0 : CompareCellKeys(Keys, col, ARow1, ARow2, descending ? sdDescending : sdAscending);
    if (descending) r = -r;
    if (r != 0 || !SortSettings()->Full()) return r;
  }
  return 0;
}

int DEreDuzeroVaro::CompareRowsIndexed(int Index, int ARow1, int ARow2) {
  TSortKeys keys(this, false);
  return CompareRowsIndexedKeys(keys, Index, ARow1, ARow2);
}

bool DEreDuzeroVaro::SortLine(int ACol, int ARow1, int ARow2) {
  FSortDir = SortSettings()->Direction() == sdDescending ? -1 : 1;
  const int last = AllColCount() - 1;
  for (int c = ACol;; ++c) {
    const int r = CompareCells(c, ARow1, ARow2, SortSettings()->Direction());
    if (r == FSortDir) {
      SortSwapRows(ARow1, ARow2);
      return true;
    }
    if (r != 0 || c >= last) return false;
  }
}

void DEreDuzeroVaro::SortByColumn(int ACol) {
  if (RowCount() <= 1) return;
  SortSettings()->SetColumn(ACol);
  QSort();
}

void DEreDuzeroVaro::Sort(int ACol, TSortDirection Direction) {
  SortSettings()->SetColumn(ACol);
  SortSettings()->SetDirection(Direction);
  QSort();
}

// ===========================================================================
// One column's keys for a sort

DEreDuzeroVaro::TSortColumn::TSortColumn(TSortKeys& Keys, int ACol, int Start, int End, TSortDirection Direction,
                                         bool Sparse)
    : FGrid(Keys.Grid()), FKeys(&Keys), FCol(ACol), FStart(Start), FCount(std::max(0, End - Start + 1)),
      FDirection(Direction), FPageShift(Sparse ? 6 : 10), FPageMask((size_t(1) << FPageShift) - 1) {
  TSortSettings* s = FGrid->SortSettings();
  FIgnoreBlanks = s->IgnoreBlanks();
  FBlanksFirst = s->BlankPos() == blFirst;
  FBlankFirst = (FBlanksFirst ? -1 : 1) * (Direction == sdDescending ? -1 : 1);
  FFormat = Keys.Format(ACol);
  const TSortStyle style = FFormat.Style;
  if (style == ssCustom || style == ssRaw) return;
  std::vector<String> texts;
  if ((style == ssAutomatic || style == ssAlphaNumeric || style == ssAlphaNumericNoCase) && !Settle(texts)) return;
  switch (FFormat.Style) {
    case ssAnsiAlphaCase:
    case ssAnsiAlphaNoCase:
      FKind = ckWide;
      break;
    case ssNumeric:
    case ssFinancial:
    case ssDate:
    case ssDateTime:
    case ssTime:
    case ssShortDateEU:
    case ssShortDateUS:
    case ssCheckBox:
    case ssImages:
      FKind = ckNumber;
      break;
    default:
      FKind = ckText;
      break;
  }
  FPages.resize((static_cast<size_t>(FCount) + FPageMask) >> FPageShift);
  // Settle read every text already.
  if (!texts.empty()) {
    for (size_t i = 0; i < static_cast<size_t>(FCount); ++i) MakeKey(i, std::move(texts[i]));
    FAllMade = true;
  }
}

bool DEreDuzeroVaro::TSortColumn::Settle(std::vector<String>& Texts) {
  const TSortStyle style = FFormat.Style;
  const Char dateSep = GetDateSeparator(), timeSep = GetTimeSeparator();
  Texts.resize(static_cast<size_t>(FCount));
  int numbers = 0;
  for (int i = 0; i < FCount; ++i) {
    String& t = Texts[static_cast<size_t>(i)];
    t = FKeys->ReadText(FCol, FStart + i);
    if (IsNumberText(t)) ++numbers;
    if (style != ssAutomatic) continue;
    // A check box, date or time decides the style by the pair's first cell (and the second's
    // separators).
    int p = 0;
    const TCellType type = FGrid->GetCellType(FCol, FStart + i);
    if (type == ctCheckBox || type == ctDataCheckBox || type == ctVirtCheckBox || type == ctRowCheckBox ||
        SeparatorAtDatePosition(t, dateSep, p) || SeparatorAtDatePosition(t, timeSep, p))
      return false;
  }
  if (numbers != 0 && numbers != FCount) return false;
  if (numbers == FCount) FFormat.Style = ssNumeric;
  else if (style == ssAlphaNumeric) FFormat.Style = ssAlphabetic;
  else if (style == ssAlphaNumericNoCase || FGrid->SortSettings()->IgnoreCase()) FFormat.Style = ssAlphaNoCase;
  else FFormat.Style = ssAlphabetic;
  return true;
}

DEreDuzeroVaro::TSortColumn::TPage& DEreDuzeroVaro::TSortColumn::MakePage(size_t I) {
  std::unique_ptr<TPage>& page = FPages[I >> FPageShift];
  if (!page) {
    page = std::make_unique<TPage>();
    const size_t n = size_t(1) << FPageShift;
    page->State.resize(n);
    if (FKind == ckNumber) page->Num.resize(n);
    else if (FKind == ckText) page->Text.resize(n);
    else page->Wide.resize(n);
  }
  return *page;
}

void DEreDuzeroVaro::TSortColumn::MakeKey(size_t I, String Text) {
  const int row = FStart + static_cast<int>(I);
  TPage& page = MakePage(I);
  const size_t at = I & FPageMask;
  bool empty = Text.empty();
  switch (FFormat.Style) {
    case ssAlphaNoCase:
      page.Text[at] = UpperCase(Text);
      break;
    case ssAnsiAlphaCase:
    case ssAnsiAlphaNoCase:
      page.Wide[at] = LocaleSortKey(Text, FFormat.Style == ssAnsiAlphaNoCase);
      break;
    case ssNumeric:
    case ssFinancial: {
      bool read = false;
      // A text without a number counts 0, as two of them compare equal.
      const double v = NumberValue(Text, FFormat.Prefix, FFormat.Suffix, FFormat.Style == ssFinancial, read, empty);
      page.Num[at] = read ? v : 0.0;
      break;
    }
    case ssDate:
    case ssDateTime:
      page.Num[at] = DateValue(Text, false);
      break;
    case ssTime:
      page.Num[at] = DateValue(Text, true);
      break;
    case ssShortDateEU:
    case ssShortDateUS:
      page.Num[at] = ShortDateValue(Text, FFormat.Style == ssShortDateUS);
      break;
    case ssCheckBox: {
      bool b = false;
      page.Num[at] = FGrid->GetCheckBoxState(FCol, row, b) && b ? 1 : 0;
      break;
    }
    case ssImages:
      page.Num[at] = static_cast<double>(FGrid->GetCellImageValue(FCol, row));
      break;
    case ssHTML:
      page.Text[at] = FGrid->StrippedCells(FCol, row);
      empty = page.Text[at].empty();
      break;
    default:
      page.Text[at] = std::move(Text);
      break;
  }
  page.State[at] = static_cast<uint8_t>(sMade | (empty ? sEmpty : 0));
}

namespace {

// Units are taken as they are up to 0xFFFF; a larger one is packed as 0xFFFF and ends the
// pack (zeros after it), so that a pack never orders two keys the other way round.
template <typename S>
void PackUnits(const S& Key, uint64_t& K0, uint64_t& K1, bool& Complete) {
  uint64_t k[2] = {0, 0};
  bool clamped = false;
  for (size_t i = 0; i < Key.size() && i < 8 && !clamped; ++i) {
    uint64_t u = static_cast<uint32_t>(Key[i]);
    if (u >= 0xFFFF) {
      u = 0xFFFF;
      clamped = true;
    }
    k[i / 4] |= u << (48 - 16 * (i % 4));
  }
  K0 = k[0];
  K1 = k[1];
  Complete = !clamped && Key.size() <= 8;
}

}  // namespace

void DEreDuzeroVaro::TSortColumn::Pack(size_t I, uint64_t& K0, uint64_t& K1, bool& Complete) const {
  if (FKind == ckText) PackUnits(Text(I), K0, K1, Complete);
  else PackUnits(Wide(I), K0, K1, Complete);
}

void DEreDuzeroVaro::TSortColumn::MakeAll() {
  if (FKind == ckGeneral || FAllMade) return;
  for (size_t i = 0; i < static_cast<size_t>(FCount); ++i) Make(i);
  FAllMade = true;
}
