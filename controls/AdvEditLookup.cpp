// The styled edit's lookup list, persistence and range lists.
#include <algorithm>
#include <cstdio>
#include <unordered_map>

#include "controls/AdvEdit.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/win/Gdi.h"

// ---------------------------------------------------------------------------
// TLookupSettings

TLookupSettings::TLookupSettings() : FDisplayList(std::make_unique<TStringList>()), FValueList(std::make_unique<TStringList>()) {
  FDisplayList->SetSorted(true);
  FDisplayList->SetDuplicates(dupIgnore);
}

TLookupSettings::~TLookupSettings() = default;

void TLookupSettings::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TLookupSettings*>(Source);
  if (s == nullptr) return;
  FCaseSensitive = s->FCaseSensitive;
  FColor = s->FColor;
  FDisplayCount = s->FDisplayCount;
  FDisplayList->Assign(*s->FDisplayList);
  FEnabled = s->FEnabled;
  FHistory = s->FHistory;
  FNumChars = s->FNumChars;
  FValueList->Assign(*s->FValueList);
  FMulti = s->FMulti;
  FSeparator = s->FSeparator;
}

void TLookupSettings::SetDisplayList(TStrings* v) {
  if (v != nullptr) FDisplayList->Assign(*v);
}

void TLookupSettings::SetValueList(TStrings* v) {
  if (v != nullptr) FValueList->Assign(*v);
}

void TLookupSettings::SetNumChars(int v) {
  if (v > 0) FNumChars = v;
}

bool TLookupSettings::AddPair(const String& Display, const String& Value) {
  if (FDisplayList->IndexOf(Display) >= 0) return false;
  const int at = FDisplayList->Add(Display);
  // The values after it move with their entries; an entry without a value gets an empty one.
  if (!Value.empty() || FValueList->Count() > at) {
    while (FValueList->Count() < at) FValueList->Add(String());
    FValueList->Insert(at, Value);
  }
  return true;
}

// ---------------------------------------------------------------------------
// TPersistence

void TPersistence::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TPersistence*>(Source);
  if (s == nullptr) return;
  FEnable = s->FEnable;
  FKey = s->FKey;
  FSection = s->FSection;
  FLocation = s->FLocation;
}

// ---------------------------------------------------------------------------
// TRangeList

int32_t TRangeList::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(u"List index out of bounds (" + IntToStr(Index) + u")");
  return FItems[size_t(Index)];
}

void TRangeList::SetItems(int Index, int32_t Value) {
  int32_t old = Items(Index);
  FItems[size_t(Index)] = Value;
  if (std::find(FItems.begin(), FItems.end(), old) == FItems.end()) FIndex.erase(old);
  FIndex.insert(Value);
}

void TRangeList::Add(int32_t v) {
  if (FIndex.insert(v).second) FItems.push_back(v);
}

void TRangeList::AddMultiple(int32_t v, int32_t Count) {
  for (int64_t i = 0; i < Count && int64_t(v) + i <= INT32_MAX; ++i) Add(static_cast<int32_t>(v + i));
}

void TRangeList::Delete(int Index) {
  int32_t v = Items(Index);
  FItems.erase(FItems.begin() + Index);
  if (std::find(FItems.begin(), FItems.end(), v) == FItems.end()) FIndex.erase(v);
}

bool TRangeList::InList(int32_t v) const { return FIndex.count(v) != 0; }

void TRangeList::Show() const {
  for (int32_t v : FItems) std::fprintf(stderr, "%d\n", v);
}

namespace {

// The integer of an item: blanks, a sign, '$' or "0x", nothing after the number.
bool ItemValue(const String& s, int32_t& v) {
  if (s.empty()) return false;
  try {
    return TryStrToInt(s, v);
  } catch (...) {
    return false;
  }
}

}  // namespace

bool TRangeList::AddRangeText(const String& Item) {
  const size_t dash = Item.find(u'-');
  int32_t lo = 0, hi = 0;
  if (!ItemValue(Item.substr(0, dash), lo) || !ItemValue(Item.substr(dash + 1), hi)) return false;
  if (hi < lo) return true;
  // A range wider than the bound is a bad item, not a million-fold loop.
  if (int64_t(hi) - lo + 1 > MaxRangeSpan) return false;
  AddMultiple(lo, hi - lo + 1);
  return true;
}

bool TRangeList::StrToList(const String& s) {
  Clear();
  bool result = true;
  size_t from = 0;
  while (from < s.size()) {
    size_t k = s.find_first_of(u",;", from);
    String item = s.substr(from, k == String::npos ? String::npos : k - from);
    bool ok;
    if (item.find(u'-') != String::npos) {
      ok = AddRangeText(item);
    } else {
      int32_t v = 0;
      ok = ItemValue(item, v);
      if (ok) Add(v);
    }
    if (!ok) result = false;
    if (k == String::npos) break;
    from = k + 1;
  }
  return result;
}

String TRangeList::ToRangeStr() {
  std::vector<int32_t> v = FItems;
  std::sort(v.begin(), v.end());
  FItems = v;
  String r;
  for (size_t i = 0; i < v.size();) {
    size_t j = i;
    while (j + 1 < v.size() && int64_t(v[j + 1]) == int64_t(v[j]) + 1) ++j;
    if (!r.empty()) r += u',';
    r += IntToStr(v[i]);
    if (j > i) r += u"-" + IntToStr(v[j]);
    i = j + 1;
  }
  return r;
}

bool TAdvEdit::RangeStrToList(TRangeList* RangeList) { return RangeList->StrToList(Text()); }

void TAdvEdit::ListToRangeStr(TRangeList* RangeList) { SetWindowText(RangeList->ToRangeStr()); }

// ---------------------------------------------------------------------------
// TListHintWindow

TListHintWindow::TListHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}

void TListHintWindow::CreateParams(TCreateParams& Params) {
  THintWindow::CreateParams(Params);
  Params.Style |= WS_BORDER;
  Params.WindowClass.style |= CS_DROPSHADOW;
  Params.ExStyle |= WS_EX_TOPMOST;
}

void TListHintWindow::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ACTIVATE:
      THintWindow::Dispatch(Message);
      if (LOWORD(Message.WParam) == WA_INACTIVE) SetVisible(false);
      else if (FListControl != nullptr && FListControl->CanFocus() && !FListControl->IsDestroying()) FListControl->SetFocus();
      return;
    case WM_NCHITTEST: {
      TWMNCHitTest m(Message);
      TPoint p = ScreenToClient(m.Pos());
      Message.Result = p.X > Width() - 10 && p.Y > Height() - 10 ? HTBOTTOMRIGHT : 0;
      return;
    }
    default:
      THintWindow::Dispatch(Message);
  }
}

// ---------------------------------------------------------------------------
// Lookup

void TAdvEdit::HideLookup() {
  if (FLookupList != nullptr && FLookupList->Visible()) FLookupList->SetVisible(false);
}

void TAdvEdit::UpdateLookupList() {
  if (!FLookup->Enabled() || FLookupList == nullptr || FLookupListBox == nullptr) return;
  const String v = Text();
  String t = v;
  int o = 0;
  if (FLookup->Multi()) {
    size_t sep = v.rfind(FLookup->Separator());
    if (sep != String::npos) {
      t = v.substr(sep + 1);
      o = static_cast<int>(sep + 1);
    }
  }
  if (Length(t) < FLookup->NumChars()) {
    HideLookup();
    return;
  }
  FLookupList->SetCaption(u"  ");
  FLookupList->SetColor(FLookup->Color());
  FLookupListBox->SetColor(FLookup->Color());
  FLookupListBox->Font()->SetName(u"Arial");
  FLookupListBox->Font()->SetSize(8);
  const int count = FLookup->DisplayCount();
  int height = count * 12 + 4;
  const TPoint origin = ClientOrigin();
  const int top = origin.Y + Height() - 6;
  const int left = origin.X + PosFromChar(Length(FPrefix) + o).X + 8;
  FLookupList->SetColor(clWindow);

  // The matches, in the display list's order, each with its index in it.
  TStringList* display = FLookup->DisplayList();
  const bool cs = FLookup->CaseSensitive();
  const String ut = cs ? t : AnsiUpperCase(t);
  TStrings* items = FLookupListBox->Items();
  items->BeginUpdate();
  items->Clear();
  std::vector<String> matches;
  for (int i = 0; i < display->Count(); ++i) {
    const String& e = display->Strings(i);
    bool match;
    if (cs) {
      match = e.compare(0, t.size(), t) == 0;
    } else {
      const String ue = AnsiUpperCase(e);
      match = ue.compare(0, ut.size(), ut) == 0 || (FFullTextSearch && ue.find(ut) != String::npos);
    }
    if (match) {
      items->AddObject(e, reinterpret_cast<TObject*>(static_cast<intptr_t>(i)));
      matches.push_back(e);
    }
  }
  items->EndUpdate();
  const int m = static_cast<int>(matches.size());
  if (display->Count() > 0 && m > 0) FLookupListBox->SetItemIndex(0);
  if (m < count) height = m * 12 + 4;
  if (!FLookupListBox->Sorted()) FLookupListBox->SetSorted(true);
  // Width: the widest match in the list's font, at least 50, and a margin.
  int width = 50;
  if (HDC dc = GetDC(nullptr)) {
    HGDIOBJ old = SelectObject(dc, FLookupListBox->Font()->Handle());
    for (const String& e : matches) {
      SIZE sz{};
      GetTextExtentPoint32(dc, e.c_str(), Length(e), &sz);
      width = std::max(width, static_cast<int>(sz.cx));
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
  }
  width += 8;
  if (m > count) width += GetSystemMetrics(SM_CXHSCROLL);
  if (m == 0) {
    HideLookup();
    return;
  }
  FLookupList->SetBounds(left, top, width, height);
  FLookupList->SetVisible(true);
}

void TAdvEdit::SelectLookupItem() {
  if (CanFocus() && !Focused()) SetFocus();
  HideLookup();
  if (FLookupListBox == nullptr) return;
  const int sel = FLookupListBox->ItemIndex();
  if (sel < 0) return;
  const int i = static_cast<int>(reinterpret_cast<intptr_t>(FLookupListBox->Items()->Objects(sel)));
  TStringList* values = FLookup->ValueList();
  String value = i >= 0 && i < values->Count() ? values->Strings(i) : String();
  // An entry without a value (one added by the history) puts its own text.
  if (value.empty()) value = FLookupListBox->Items()->Strings(sel);
  if (OnLookupSelect) OnLookupSelect(this, value);
  if (OnLookupIndexSelect) OnLookupIndexSelect(this, i, value);
  if (FLookup->Multi()) {
    value += FLookup->Separator();
    const String v = Text();
    size_t sep = v.rfind(FLookup->Separator());
    const String head = sep == String::npos ? String() : v.substr(0, sep + 1);
    SetText(head + value);
    SetSelStart(Length(FPrefix) + Length(Text()));
  } else {
    SetText(value);
    SelectAll();
  }
}

void TAdvEdit::LookupListKeyPress(TObject*, Char& Key) {
  if (Key == 13) SelectLookupItem();
}

void TAdvEdit::LookupListMouseUp(TObject*, TMouseButton, TShiftState, int, int) { SelectLookupItem(); }

// ---------------------------------------------------------------------------
// Persistence

std::unique_ptr<TCustomIniFile> TAdvEdit::OpenStore() {
  TPersistence* p = FPersistence.get();
  if (p->Location() == plRegistry) return std::make_unique<TRegistryIniFile>(p->Key());
  // The executable's settings file unless another is named (the same default for both ways).
  if (p->Key().empty() && Application != nullptr) p->SetKey(ChangeFileExt(Application->ExeName(), u".ini"));
  return std::make_unique<TIniFile>(p->Key());
}

void TAdvEdit::LoadPersist() {
  TPersistence* p = FPersistence.get();
  if (!p->Enable()) return;
  // The same store and section as saving: an INI file's empty section is the component's
  // name, the registry's stays as it is.
  if (p->Section().empty() && p->Location() == plInifile) p->SetSection(Name());
  std::unique_ptr<TCustomIniFile> ini = OpenStore();
  // The section is read once: every entry looked up in it, in time linear in the store.
  TStringList lines;
  ini->ReadSectionValues(p->Section(), &lines);
  std::unordered_map<String, String> entries;
  for (int i = 0; i < lines.Count(); ++i) entries.emplace(AnsiUpperCase(lines.Names(i)), lines.ValueFromIndex(i));
  auto entry = [&](const String& Ident, const String& Default) {
    auto it = entries.find(AnsiUpperCase(Ident));
    return it == entries.end() ? Default : it->second;
  };
  if (FLookup->Enabled() && FLookup->History()) {
    int count = StrToIntDef(Trim(entry(u"LOOKUPCOUNT", u"0")), 0);
    count = std::clamp(count, 0, MaxLookupEntries);
    for (int n = 1; n <= count; ++n) {
      const String display = entry(u"LOOKUPDISPL" + IntToStr(n), String());
      const String value = entry(u"LOOKUPVAL" + IntToStr(n), String());
      // An empty entry is skipped with its value, so the others keep theirs.
      if (!display.empty()) FLookup->AddPair(display, value);
    }
  }
  const String v = entry(Name(), u"@");
  if (v != u"@") SetWindowText(v);
}

void TAdvEdit::SavePersist() {
  TPersistence* p = FPersistence.get();
  if (!p->Enable()) return;
  if (p->Section().empty() && p->Location() == plInifile) p->SetSection(Name());
  std::unique_ptr<TCustomIniFile> ini = OpenStore();
  // All entries in one write of the store.
  std::vector<std::pair<String, String>> entries{{Name(), WindowText()}};
  if (FLookup->Enabled() && FLookup->History()) {
    TStringList* d = FLookup->DisplayList();
    TStringList* v = FLookup->ValueList();
    entries.emplace_back(u"LOOKUPCOUNT", IntToStr(d->Count()));
    for (int n = 1; n <= d->Count(); ++n) {
      entries.emplace_back(u"LOOKUPDISPL" + IntToStr(n), d->Strings(n - 1));
      if (v->Count() >= n) entries.emplace_back(u"LOOKUPVAL" + IntToStr(n), v->Strings(n - 1));
    }
  }
  ini->WriteStrings(p->Section(), entries);
}
