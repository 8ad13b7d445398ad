// Column widths kept in an ini file or the registry under ColumnSize.Key and .Section, as
// integer values "Col0", "Col1", ... for the displayed columns.
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

}  // namespace

void DEreDuzeroVaro::SaveColSizes() {
  if (FColumnSize->Key().empty() || FColumnSize->Section().empty()) return;
  std::unique_ptr<TCustomIniFile> store = OpenColumnStore(FColumnSize.get());
  for (int c = 0; c < ColCount(); ++c) store->WriteInteger(FColumnSize->Section(), u"Col" + IntToStr(c), ColWidths(c));
  store->UpdateFile();
}

void DEreDuzeroVaro::LoadColSizes() {
  if (FColumnSize->Key().empty() || FColumnSize->Section().empty()) return;
  std::unique_ptr<TCustomIniFile> store = OpenColumnStore(FColumnSize.get());
  for (int c = 0; c < ColCount(); ++c) {
    int w = store->ReadInteger(FColumnSize->Section(), u"Col" + IntToStr(c), ColWidths(c));
    if (w != ColWidths(c)) SetColWidths(c, w);
  }
  store->UpdateFile();
}
