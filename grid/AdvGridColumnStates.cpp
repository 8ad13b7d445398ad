// The user's column layout: as one text "count#widths#order#visibility", or as integer values
// "Col0", "Col1", ... (widths) and "Pos0", "Pos1", ... (order) in an ini file or the registry
// under ColumnSize.Key and .Section.
#include <memory>

#include "grid/AdvGrid.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/SysUtils.h"

namespace {

std::unique_ptr<TCustomIniFile> OpenColumnStore(TColumnSize* Size) {
  if (Size->Location() == clIniFile) return std::make_unique<TMemIniFile>(Size->Key());
  return std::make_unique<TRegistryIniFile>(Size->Key());
}

// For each column index 0..Count-1, the positions of Order holding it: the list that
// ResetColumnOrder turns into the arrangement Order records.
void InvertOrder(TIntList* Order, int Count) {
  std::vector<int> inverse;
  for (int p = 0; p < Count; ++p)
    for (int k = 0; k < Order->Count(); ++k)
      if (Order->Items(k) == p) inverse.push_back(k);
  Order->Clear();
  for (size_t i = 0; i < inverse.size() && static_cast<int>(i) < Count; ++i) Order->Add(inverse[i]);
}

}  // namespace

String DEreDuzeroVaro::ColumnStatesToString() {
  const int n = ColCount() + NumHiddenColumns();
  String widths, order, visible;
  for (int i = 0; i < n; ++i) {
    if (i) {
      widths += u",";
      visible += u",";
    }
    widths += IntToStr(i < ColCount() ? ColWidths(i) : DefaultColWidth());
    visible += IsHiddenColumn(i) ? u"0" : u"1";
  }
  if (FColumnOrder->Count() == 0) {
    for (int i = 0; i < n; ++i) order += (i ? u"," : u"") + IntToStr(i);
  } else {
    for (int i = 0; i < FColumnOrder->Count(); ++i) order += (i ? u"," : u"") + IntToStr(FColumnOrder->Items(i));
  }
  return IntToStr(n) + u"#" + widths + u"#" + order + u"#" + visible;
}

void DEreDuzeroVaro::StringToColumnStates(const String& Value) {
  if (Value.find(u'#') == String::npos) return;
  TStringList fields;
  fields.SetStrictDelimiter(true);
  fields.SetDelimiter(u'#');
  fields.SetDelimitedText(Value);
  const int count = StrToInt(fields.Get(0));
  TStringList widths;
  widths.SetCommaText(fields.Count() > 1 ? fields.Get(1) : String());
  // A valid text holds a width for every column, so the count is checked against them before
  // anything changes (a hostile count cannot make the grid huge).
  if (count < 1 || count > widths.Count())
    throw EConvertError(u"Column state count " + IntToStr(count) + u" does not match its " + IntToStr(widths.Count()) +
                        u" widths");
  // Moves made earlier are undone first, so the saved order applies to the columns in their
  // original places (also when the text came from this grid).
  UnHideColumnsAll();
  if (FColumnOrder->Count() > 0) ResetColumnOrder();
  FColumnOrder->Clear();
  SetColCount(count);

  TStringList order;
  order.SetCommaText(fields.Count() > 2 ? fields.Get(2) : String());
  if (order.Count() > 0) {
    for (int i = 0; i < ColCount() && i < order.Count(); ++i) {
      int v = StrToInt(order.Get(i));
      if (v != -1) FColumnOrder->Add(v);
    }
    InvertOrder(FColumnOrder.get(), ColCount());
    if (FColumnOrder->Count() > 0) ResetColumnOrder();
    FColumnOrder->Clear();
    for (int i = 0; i < ColCount() && i < order.Count(); ++i) {
      int v = StrToInt(order.Get(i));
      if (v != -1) FColumnOrder->Add(v);
    }
  }

  TStringList visible;
  visible.SetCommaText(fields.Count() > 3 ? fields.Get(3) : String());
  if (visible.Count() > 0)
    for (int c = count - 1; c >= 0; --c)
      if (visible.Get(c) == u"0") HideColumn(c);

  const bool stretch = FColumnSize->Stretch();
  FColumnSize->SetStretch(false);
  if (stretch) {
    int sc = FColumnSize->StretchColumn();
    SetDefaultColWidth(ColWidths(sc == -1 || sc >= ColCount() ? ColCount() - 1 : sc));
  }
  for (int i = 0; i < ColCount(); ++i) SetColWidths(i, StrToInt(widths.Get(i)));
  FColumnSize->SetStretch(stretch);
}

void DEreDuzeroVaro::SaveColSizes() {
  if (FColumnSize->Key().empty() || FColumnSize->Section().empty()) return;
  std::unique_ptr<TCustomIniFile> store = OpenColumnStore(FColumnSize.get());
  for (int c = 0; c < ColCount(); ++c) store->WriteInteger(FColumnSize->Section(), u"Col" + IntToStr(c), ColWidths(c));
  store->UpdateFile();
}

void DEreDuzeroVaro::LoadColSizes() {
  if (FColumnSize->Key().empty() || FColumnSize->Section().empty()) return;
  std::unique_ptr<TCustomIniFile> store = OpenColumnStore(FColumnSize.get());
  const bool stretch = FColumnSize->Stretch();
  // Stretching stays off while the widths are set and is applied again afterwards.
  if (stretch) FColumnSize->SetStretch(false);
  for (int c = 0; c < ColCount(); ++c) {
    int w = store->ReadInteger(FColumnSize->Section(), u"Col" + IntToStr(c), ColWidths(c));
    if (w != ColWidths(c)) SetColWidths(c, w);
  }
  if (stretch) FColumnSize->SetStretch(true);
  store->UpdateFile();
}

void DEreDuzeroVaro::SaveColPositions() {
  if (FColumnSize->Key().empty() || FColumnSize->Section().empty()) return;
  std::unique_ptr<TCustomIniFile> store = OpenColumnStore(FColumnSize.get());
  for (int i = 0; i < FColumnOrder->Count(); ++i)
    store->WriteInteger(FColumnSize->Section(), u"Pos" + IntToStr(i), FColumnOrder->Items(i));
  store->UpdateFile();
}

void DEreDuzeroVaro::LoadColPositions() {
  if (FColumnSize->Key().empty() || FColumnSize->Section().empty()) return;
  std::unique_ptr<TCustomIniFile> store = OpenColumnStore(FColumnSize.get());
  const String& section = FColumnSize->Section();
  if (store->ReadInteger(section, u"Pos0", -1) != -1) {
    const int all = AllColCount();
    auto readPositions = [&] {
      FColumnOrder->Clear();
      for (int i = 0; i < all; ++i) {
        int v = store->ReadInteger(section, u"Pos" + IntToStr(i), -1);
        // Positions naming no column of the grid are skipped like missing ones.
        if (v >= 0 && v < all) FColumnOrder->Add(v);
      }
    };
    std::vector<int> hidden;
    for (int c = 0; c < all; ++c)
      if (IsHiddenColumn(c)) hidden.push_back(c);
    // Earlier moves are undone first, so the stored order applies to the original places.
    if (FColumnOrder->Count() > 0) ResetColumnOrder();
    readPositions();
    InvertOrder(FColumnOrder.get(), all);
    UnHideColumnsAll();
    if (FColumnOrder->Count() > 0) ResetColumnOrder();
    for (int c : hidden) HideColumn(c);
    readPositions();
  }
  store->UpdateFile();
}
