// The grid's data helpers: integer lists, sort index lists, cell controls, file pictures
// and line-by-line text files.

#include "grid/AdvObj.h"

#include <algorithm>
#include <limits>

#include "platform/rtl/SysUtils.h"
#include "platform/ui/Controls.h"

// ---------------------------------------------------------------------------
// TIntList

TIntList::TIntList(int Col, int Row) : FCol(Col), FRow(Row) {}

void TIntList::Changed() {
  if (OnChange) OnChange(this, FCol, FRow);
}

void TIntList::CheckIndex(int Index, int Limit) const {
  if (Index < 0 || Index > Limit) throw EListError(Format(u"List index out of bounds (%d)", {Index}));
}

int TIntList::Add(int Value) {
  FList.push_back(Value);
  Changed();
  return Count() - 1;
}

void TIntList::Insert(int Index, int Value) {
  CheckIndex(Index, Count());
  FList.insert(FList.begin() + Index, Value);
}

void TIntList::Delete(int Index) {
  CheckIndex(Index, Count() - 1);
  FList.erase(FList.begin() + Index);
  Changed();
}

void TIntList::DeleteValue(int Value) {
  int i = IndexOf(Value);
  if (i >= 0) Delete(i);
}

int TIntList::IndexOf(int Value) const {
  auto it = std::find(FList.begin(), FList.end(), Value);
  return it == FList.end() ? -1 : static_cast<int>(it - FList.begin());
}

void TIntList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1, Count() - 1);
  CheckIndex(Index2, Count() - 1);
  std::swap(FList[Index1], FList[Index2]);
}

void TIntList::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  CheckIndex(CurIndex, Count() - 1);
  CheckIndex(NewIndex, Count() - 1);
  int32_t v = FList[CurIndex];
  FList.erase(FList.begin() + CurIndex);
  FList.insert(FList.begin() + NewIndex, v);
}

int TIntList::Items(int Index) const {
  CheckIndex(Index, Count() - 1);
  return FList[Index];
}

void TIntList::SetItems(int Index, int Value) {
  CheckIndex(Index, Count() - 1);
  FList[Index] = Value;
  Changed();
}

String TIntList::StrValue() const {
  String s;
  for (size_t i = 0; i < FList.size(); ++i) {
    if (i) s += u',';
    s += IntToStr(FList[i]);
  }
  return s;
}

void TIntList::SetStrValue(const String& Value) {
  TStringList items;
  items.SetCommaText(Value);
  FList.clear();
  for (int i = 0; i < items.Count(); ++i) Add(StrToInt(items[i]));
}

// ---------------------------------------------------------------------------
// TSortIndexList

namespace {

constexpr int32_t ColumnBits = 0x7FFFFFFF;

int32_t WithDirection(int32_t Entry, bool Ascending) {
  uint32_t u = static_cast<uint32_t>(Entry);
  u = Ascending ? (u & ~TSortIndexList::DescendingBit) : (u | TSortIndexList::DescendingBit);
  return static_cast<int32_t>(u);
}

// The column number at the start of Text (leading blanks and a plus sign allowed), as the
// runtime's conversion gives it when the characters after the digits are ignored. False
// for a negative number or one beyond the column range: such an entry names no column.
bool LeadingColumn(const String& Text, int32_t& Column) {
  size_t i = 0;
  while (i < Text.size() && Text[i] == u' ') ++i;
  if (i < Text.size() && Text[i] == u'+') ++i;
  if (i < Text.size() && Text[i] == u'-') return false;
  int64_t v = 0;
  for (; i < Text.size() && Text[i] >= u'0' && Text[i] <= u'9'; ++i) {
    v = v * 10 + (Text[i] - u'0');
    if (v > ColumnBits) return false;
  }
  Column = static_cast<int32_t>(v);
  return true;
}

}  // namespace

void TSortIndexList::AddIndex(int ColumnIndex, bool Ascending) {
  Add(WithDirection(ColumnIndex, Ascending));
}

int TSortIndexList::FindIndex(int ColumnIndex) const {
  for (int i = 0; i < Count(); ++i)
    if ((FList[i] & ColumnBits) == ColumnIndex) return i;
  return -1;
}

void TSortIndexList::ToggleIndex(int ColumnIndex) {
  int i = FindIndex(ColumnIndex);
  if (i >= 0) SetSortDirections(i, !SortDirections(i));
}

int TSortIndexList::SortColumns(int i) const { return Items(i) & ColumnBits; }

void TSortIndexList::SetSortColumns(int i, int Value) {
  uint32_t dir = static_cast<uint32_t>(Items(i)) & DescendingBit;
  SetItems(i, static_cast<int32_t>(dir | (static_cast<uint32_t>(Value) & ColumnBits)));
}

bool TSortIndexList::SortDirections(int i) const { return (static_cast<uint32_t>(Items(i)) & DescendingBit) == 0; }

void TSortIndexList::SetSortDirections(int i, bool Value) { SetItems(i, WithDirection(Items(i), Value)); }

String TSortIndexList::SaveToString() const {
  String s;
  for (int i = 0; i < Count(); ++i) {
    if (i) s += u';';
    s += SortDirections(i) ? u'u' : u'd';
    s += IntToStr(SortColumns(i));
  }
  return s;
}

void TSortIndexList::LoadFromString(String S) {
  FList.clear();
  while (!S.empty()) {
    size_t p = S.find(u';');
    String entry = S.substr(0, p);
    S.erase(0, p == String::npos ? String::npos : p + 1);
    int32_t column = 0;
    if (entry.size() < 2 || !LeadingColumn(entry.substr(1), column)) continue;
    AddIndex(column, entry[0] == u'u');
  }
}

// ---------------------------------------------------------------------------
// TControlList

void TControlList::AddControl(int X, int Y, TControl* AObject) {
  FItems.push_back(std::make_unique<TControlItem>(X, Y, AObject));
}

int TControlList::ControlIndex(int X, int Y) const {
  for (int i = 0; i < Count(); ++i)
    if (FItems[i]->X() == X && FItems[i]->Y() == Y) return i;
  return -1;
}

bool TControlList::HasHandle(HWND Handle) const {
  for (const auto& item : FItems)
    if (auto* w = dynamic_cast<TWinControl*>(item->Control()); w && w->Handle() == Handle) return true;
  return false;
}

TControlItem* TControlList::Control(int i) const {
  if (i < 0 || i >= Count()) throw EListError(Format(u"List index out of bounds (%d)", {i}));
  return FItems[i].get();
}

void TControlList::RemoveControl(int Index) {
  Control(Index);
  FItems.erase(FItems.begin() + Index);
}

// ---------------------------------------------------------------------------
// TFilePicture

void TFilePicture::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TFilePicture*>(Source)) {
    FFilename = src->FFilename;
    FWidth = src->FWidth;
    FHeight = src->FHeight;
    return;
  }
  TPersistent::Assign(Source);
}

void TFilePicture::SetFilename(const String& Value) {
  FFilename = Value;
  // No name means no picture: there is no file to read.
  if (Value.empty()) {
    FWidth = 0;
    FHeight = 0;
    return;
  }
  TPicture picture;
  picture.LoadFromFile(Value);
  FWidth = picture.Width();
  FHeight = picture.Height();
}

void TFilePicture::DrawPicture(TCanvas* Canvas, const TRect& Rect) {
  if (FFilename.empty()) return;
  TPicture picture;
  picture.LoadFromFile(FFilename);
  Canvas->StretchDraw(Rect, picture.Graphic());
}

// ---------------------------------------------------------------------------
// TFileStringList

void TFileStringList::Reset() {
  fp = 0;
  cache.clear();
}

String TFileStringList::ReadLn() {
  String s = Get(fp);
  ++fp;
  return s;
}

void TFileStringList::Write(const String& S) { cache += S; }

void TFileStringList::WriteLn(const String& S) {
  Add(cache + S);
  cache.clear();
}
