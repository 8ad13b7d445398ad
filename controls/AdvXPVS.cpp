#include "controls/AdvXPVS.h"

#include "platform/rtl/SysUtils.h"

namespace {

// Handles below 32 are the library loader's error codes.
bool ValidHandle(HMODULE m) { return reinterpret_cast<uintptr_t>(m) >= 32; }

}  // namespace

const std::array<const char*, TThemeBinding::EntryCount>& TThemeBinding::EntryNames() {
  static const std::array<const char*, EntryCount> names = {
      "OpenThemeData", "CloseThemeData", "DrawThemeBackground", "DrawThemeText", "GetThemeBackgroundContentRect",
      "GetThemeBackgroundExtent", "GetThemeTextExtent", "GetThemeTextMetrics", "GetThemeBackgroundRegion",
      "HitTestThemeBackground", "DrawThemeEdge", "DrawThemeIcon", "IsThemePartDefined",
      "IsThemeBackgroundPartiallyTransparent", "GetThemeColor", "GetThemeMetric", "GetThemeString", "GetThemeBool",
      "GetThemeInt", "GetThemeEnumValue", "GetThemePosition", "GetThemeFont", "GetThemeRect", "GetThemeMargins",
      "GetThemeIntList", "SetWindowTheme", "GetThemeFilename", "GetThemeSysColor", "GetThemeSysColorBrush",
      "GetThemeSysBool", "GetThemeSysSize", "GetThemeSysFont", "GetThemeSysString", "GetThemeSysInt",
      "IsThemeActive", "IsAppThemed", "GetWindowTheme", "EnableThemeDialogTexture", "IsThemeDialogTextureEnabled",
      "GetThemeAppProperties", "SetThemeAppProperties", "GetCurrentThemeName", "GetThemeDocumentationProperty",
      "DrawThemeParentBackground", "EnableTheming"};
  return names;
}

TThemeBinding::TThemeBinding(const char* ModuleName, LPCWSTR Library, bool AssertEntries)
    : FModuleName(ModuleName), FLibrary(Library), FAssertEntries(AssertEntries) {}

void TThemeBinding::Load() {
  if (FLoaded) return;
  HMODULE m = LoadLibraryW(FLibrary);
  if (!ValidHandle(m)) {
    FLoaded = false;
    return;
  }
  FHandle = m;
  FLoaded = true;
  for (std::size_t i = 0; i < EntryCount; ++i) {
    FEntries[i] = GetProcAddress(FHandle, EntryNames()[i]);
    if (FAssertEntries && !FEntries[i])
      throw EAssertionFailed(Format(u"Assertion failed: missing entry point %s (%s, line %d)",
                                    {EntryNames()[i], FModuleName, __LINE__}));
  }
}

void TThemeBinding::Free() {
  if (!FLoaded) return;
  FreeLibrary(FHandle);
  FLoaded = false;
  FHandle = nullptr;
  FEntries.fill(nullptr);
}

TThemeBinding ComboThemeBinding("AdvComboThemes", u"UXTHEME.DLL", false);
TThemeBinding XPVSThemeBinding("AdvXPVS", u"UXTHEME.DLL", true);
TThemeBinding DropDownThemeBinding("AdvDropDownThemes", u"UXTHEME.DLL", false);

void LoadThemeBindings(std::span<TThemeBinding* const> Bindings) {
  for (TThemeBinding* b : Bindings) b->Load();
}

void FreeThemeBindings(std::span<TThemeBinding* const> Bindings) {
  for (auto it = Bindings.rbegin(); it != Bindings.rend(); ++it) (*it)->Free();
}
