// String lists.

#include <algorithm>
#include <numeric>

#include "platform/rtl/Classes.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/SysUtils.h"

namespace {

const char16_t kSortedListError[] = u"Operation not allowed on sorted list";
const char16_t kDuplicateError[] = u"String list does not allow duplicates";
const char16_t kIndexError[] = u"List index out of bounds (%d)";

bool IsBlank(Char c) { return c >= 1 && c <= u' '; }

String JoinDelimited(const TStrings& list, Char delim, Char quote, bool strict) {
  const int n = list.Count();
  if (n == 1 && list.Get(0).empty()) return String{quote, quote};
  String out;
  for (int i = 0; i < n; ++i) {
    String s = list.Get(i);
    bool needsQuote = std::any_of(s.begin(), s.end(), [&](Char c) {
      return c == u'\0' || c == quote || c == delim || (!strict && c <= u' ');
    });
    if (needsQuote) s = AnsiQuotedStr(s, quote);
    if (i > 0) out.push_back(delim);
    out += s;
  }
  return out;
}

// Splits Value into items: quoted items may hold anything (a doubled quote stands for
// one); without strict mode blanks separate items too and are skipped around them.
void SplitDelimited(TStrings& list, const String& value, Char delim, Char quote, bool strict) {
  list.BeginUpdate();
  {
    TScopeGuard restore([&] { list.EndUpdate(); });
    list.Clear();
    size_t p = 0;
    const size_t n = value.size();
    if (!strict)
      while (p < n && IsBlank(value[p])) ++p;
    while (p < n) {
      String s;
      if (value[p] == quote) {
        ++p;
        while (p < n) {
          if (value[p] == quote) {
            if (p + 1 < n && value[p + 1] == quote) {
              s.push_back(quote);
              p += 2;
              continue;
            }
            ++p;
            break;
          }
          s.push_back(value[p++]);
        }
      } else {
        size_t start = p;
        while (p < n && value[p] != delim && (strict || value[p] > u' ')) ++p;
        s = value.substr(start, p - start);
      }
      list.Add(s);
      if (!strict)
        while (p < n && IsBlank(value[p])) ++p;
      if (p < n && value[p] == delim) {
        if (p + 1 == n) list.Add(String());
        ++p;
        if (!strict)
          while (p < n && IsBlank(value[p])) ++p;
      }
    }
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// TStrings

void TStrings::Error(const String& Msg, int Data) const {
  throw EStringListError(StringReplace(Msg, u"%d", IntToStr(Data), {}));
}

void TStrings::Put(int Index, const String& S) {
  TObject* obj = GetObject(Index);
  Delete(Index);
  InsertObject(Index, S, obj);
}

TObject* TStrings::GetObject(int) const { return nullptr; }
void TStrings::PutObject(int, TObject*) {}

void TStrings::InsertObject(int Index, const String& S, TObject* AObject) {
  Insert(Index, S);
  PutObject(Index, AObject);
}

int TStrings::Add(const String& S) {
  int i = Count();
  Insert(i, S);
  return i;
}

int TStrings::AddObject(const String& S, TObject* AObject) {
  int i = Add(S);
  PutObject(i, AObject);
  return i;
}

void TStrings::Exchange(int Index1, int Index2) {
  BeginUpdate();
  {
    TScopeGuard restore([&] { EndUpdate(); });
    String s = Get(Index1);
    TObject* o = GetObject(Index1);
    Put(Index1, Get(Index2));
    PutObject(Index1, GetObject(Index2));
    Put(Index2, s);
    PutObject(Index2, o);
  }
}

void TStrings::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  BeginUpdate();
  {
    TScopeGuard restore([&] { EndUpdate(); });
    String s = Get(CurIndex);
    TObject* o = GetObject(CurIndex);
    Delete(CurIndex);
    InsertObject(NewIndex, s, o);
  }
}

int TStrings::IndexOf(const String& S) const {
  for (int i = 0, n = Count(); i < n; ++i)
    if (CompareStrings(Get(i), S) == 0) return i;
  return -1;
}

int TStrings::IndexOfName(const String& Name) const {
  for (int i = 0, n = Count(); i < n; ++i) {
    String s = Get(i);
    size_t p = s.find(FNameValueSeparator);
    if (p != String::npos && CompareStrings(s.substr(0, p), Name) == 0) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(TObject* AObject) const {
  for (int i = 0, n = Count(); i < n; ++i)
    if (GetObject(i) == AObject) return i;
  return -1;
}

void TStrings::AddStrings(const TStrings* Source) {
  if (!Source) return;
  // Copy first: Source may be this list.
  std::vector<std::pair<String, TObject*>> items;
  for (int i = 0, n = Source->Count(); i < n; ++i) items.emplace_back(Source->Get(i), Source->GetObject(i));
  BeginUpdate();
  {
    TScopeGuard restore([&] { EndUpdate(); });
    for (auto& [s, o] : items) AddObject(s, o);
  }
}

void TStrings::AddStrings(std::initializer_list<String> Items) {
  BeginUpdate();
  {
    TScopeGuard restore([&] { EndUpdate(); });
    for (const String& s : Items) Add(s);
  }
}

void TStrings::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TStrings*>(Source)) {
    Assign(*src);
    return;
  }
  TPersistent::Assign(Source);
}

void TStrings::Assign(const TStrings& Source) {
  if (&Source == this) return;
  BeginUpdate();
  {
    TScopeGuard restore([&] { EndUpdate(); });
    Clear();
    FDelimiter = Source.FDelimiter;
    FQuoteChar = Source.FQuoteChar;
    FNameValueSeparator = Source.FNameValueSeparator;
    FStrictDelimiter = Source.FStrictDelimiter;
    AddStrings(&Source);
  }
}

bool TStrings::Equals(const TStrings& Other) const {
  if (Count() != Other.Count()) return false;
  for (int i = 0, n = Count(); i < n; ++i)
    if (Get(i) != Other.Get(i)) return false;
  return true;
}

String TStrings::Text() const {
  String out;
  for (int i = 0, n = Count(); i < n; ++i) {
    out += Get(i);
    out += u"\r\n";
  }
  return out;
}

void TStrings::SetText(const String& Value) {
  BeginUpdate();
  {
    TScopeGuard restore([&] { EndUpdate(); });
    Clear();
    size_t p = 0;
    const size_t n = Value.size();
    while (p < n) {
      size_t start = p;
      while (p < n && Value[p] != u'\r' && Value[p] != u'\n') ++p;
      Add(Value.substr(start, p - start));
      if (p < n && Value[p] == u'\r') ++p;
      if (p < n && Value[p] == u'\n') ++p;
    }
  }
}

String TStrings::CommaText() const { return JoinDelimited(*this, u',', u'"', false); }
void TStrings::SetCommaText(const String& Value) { SplitDelimited(*this, Value, u',', u'"', false); }
String TStrings::DelimitedText() const { return JoinDelimited(*this, FDelimiter, FQuoteChar, FStrictDelimiter); }
void TStrings::SetDelimitedText(const String& Value) {
  SplitDelimited(*this, Value, FDelimiter, FQuoteChar, FStrictDelimiter);
}

String TStrings::Names(int Index) const {
  String s = Get(Index);
  size_t p = s.find(FNameValueSeparator);
  return p == String::npos ? String() : s.substr(0, p);
}

String TStrings::Values(const String& Name) const {
  int i = IndexOfName(Name);
  return i < 0 ? String() : ValueFromIndex(i);
}

void TStrings::SetValues(const String& Name, const String& Value) {
  int i = IndexOfName(Name);
  if (!Value.empty()) {
    String line = Name + FNameValueSeparator + Value;
    if (i < 0) Add(line);
    else Put(i, line);
  } else if (i >= 0) {
    Delete(i);
  }
}

String TStrings::ValueFromIndex(int Index) const {
  String s = Get(Index);
  size_t p = s.find(FNameValueSeparator);
  return p == String::npos ? String() : s.substr(p + 1);
}

void TStrings::SetValueFromIndex(int Index, const String& Value) {
  if (!Value.empty()) {
    String line = Names(Index) + FNameValueSeparator + Value;
    Put(Index, line);
  } else {
    Delete(Index);
  }
}

void TStrings::BeginUpdate() {
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TStrings::EndUpdate() {
  if (FUpdateCount <= 0) return;
  if (--FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::SetUpdateState(bool) {}

void TStrings::LoadFromFile(const String& FileName) {
  TFileStream fs(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&fs);
}

void TStrings::LoadFromStream(TStream* Stream) {
  int64_t size = Stream->Size() - Stream->Position();
  std::string bytes(static_cast<size_t>(std::max<int64_t>(size, 0)), '\0');
  if (!bytes.empty()) Stream->ReadBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  std::string_view view(bytes);
  if (view.substr(0, 3) == "\xEF\xBB\xBF") view.remove_prefix(3);
  SetText(UTF8ToString(view));
}

void TStrings::SaveToFile(const String& FileName) const {
  TFileStream fs(FileName, fmCreate);
  SaveToStream(&fs);
}

void TStrings::SaveToStream(TStream* Stream) const {
  std::string bytes = StringToUTF8(Text());
  Stream->WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
}

int TStrings::CompareStrings(const String& S1, const String& S2) const { return AnsiCompareText(S1, S2); }

// ---------------------------------------------------------------------------
// TStringList

TStringList::~TStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
  if (FOwnsObjects)
    for (Item& it : FList) delete it.Obj;
}

void TStringList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= Count()) Error(kIndexError, Index);
}

String TStringList::Get(int Index) const {
  CheckIndex(Index);
  return FList[static_cast<size_t>(Index)].S;
}

void TStringList::Put(int Index, const String& S) {
  if (FSorted) Error(kSortedListError, 0);
  CheckIndex(Index);
  Changing();
  FList[static_cast<size_t>(Index)].S = S;
  Changed();
}

TObject* TStringList::GetObject(int Index) const {
  CheckIndex(Index);
  return FList[static_cast<size_t>(Index)].Obj;
}

void TStringList::PutObject(int Index, TObject* AObject) {
  CheckIndex(Index);
  Changing();
  FList[static_cast<size_t>(Index)].Obj = AObject;
  Changed();
}

void TStringList::Insert(int Index, const String& S) { InsertObject(Index, S, nullptr); }

void TStringList::InsertObject(int Index, const String& S, TObject* AObject) {
  if (FSorted) Error(kSortedListError, 0);
  if (Index < 0 || Index > Count()) Error(kIndexError, Index);
  InsertItem(Index, S, AObject);
}

void TStringList::InsertItem(int Index, const String& S, TObject* AObject) {
  Changing();
  FList.insert(FList.begin() + Index, Item{S, AObject});
  Changed();
}

void TStringList::Delete(int Index) {
  CheckIndex(Index);
  Changing();
  TObject* obj = FList[static_cast<size_t>(Index)].Obj;
  FList.erase(FList.begin() + Index);
  if (FOwnsObjects) delete obj;
  Changed();
}

void TStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  std::vector<Item> old;
  old.swap(FList);
  if (FOwnsObjects)
    for (Item& it : old) delete it.Obj;
  Changed();
}

int TStringList::Add(const String& S) { return AddObject(S, nullptr); }

int TStringList::AddObject(const String& S, TObject* AObject) {
  int index;
  if (!FSorted) {
    index = Count();
  } else if (Find(S, index)) {
    if (FDuplicates == dupIgnore) return index;
    if (FDuplicates == dupError) Error(kDuplicateError, 0);
  }
  InsertItem(index, S, AObject);
  return index;
}

void TStringList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  Changing();
  std::swap(FList[static_cast<size_t>(Index1)], FList[static_cast<size_t>(Index2)]);
  Changed();
}

int TStringList::IndexOf(const String& S) const {
  if (!FSorted) return TStrings::IndexOf(S);
  int index;
  return Find(S, index) ? index : -1;
}

bool TStringList::Find(const String& S, int& Index) const {
  int lo = 0, hi = Count() - 1;
  bool found = false;
  while (lo <= hi) {
    int mid = (lo + hi) / 2;
    int c = CompareStrings(FList[static_cast<size_t>(mid)].S, S);
    if (c < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (c == 0) found = true;
    }
  }
  Index = lo;
  return found;
}

void TStringList::Sort() {
  CustomSort([](TStringList* list, int a, int b) { return list->CompareStrings(list->FList[a].S, list->FList[b].S); });
}

void TStringList::CustomSort(const TStringListSortCompare& Compare) {
  if (Count() < 2) return;
  Changing();
  // Sort a permutation first: Compare looks items up by index in the unchanged list.
  std::vector<int> order(FList.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return Compare(this, a, b) < 0; });
  std::vector<Item> sorted;
  sorted.reserve(FList.size());
  for (int i : order) sorted.push_back(std::move(FList[static_cast<size_t>(i)]));
  FList.swap(sorted);
  Changed();
}

void TStringList::SetSorted(bool Value) {
  if (FSorted == Value) return;
  if (Value) Sort();
  FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  if (FCaseSensitive == Value) return;
  FCaseSensitive = Value;
  if (FSorted) Sort();
}

int TStringList::CompareStrings(const String& S1, const String& S2) const {
  return FCaseSensitive ? AnsiCompareStr(S1, S2) : AnsiCompareText(S1, S2);
}

void TStringList::SetUpdateState(bool Updating) {
  if (Updating) Changing();
  else Changed();
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}
