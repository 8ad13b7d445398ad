#pragma once
// Visual-styles bindings: each module that draws themed parts loads the visual-styles library at
// start-up, looks its entry points up by name into a table of its own, and frees the library at
// exit. Painters check Loaded() before calling through the table; an entry the library lacks
// stays empty. AdvXPVS holds the binding of the pack's utility routines, in which a missing entry
// stops the start-up, and the bindings of the styled combo box and the drop-down editors.

#include <array>
#include <cstddef>
#include <span>

#include "platform/win/UxTheme.h"

class TThemeBinding {
 public:
  static constexpr std::size_t EntryCount = 45;
  // The entry-point names in lookup order.
  static const std::array<const char*, EntryCount>& EntryNames();

  // Library: the library to load; AssertEntries: a missing entry is an assertion failure.
  TThemeBinding(const char* ModuleName, LPCWSTR Library, bool AssertEntries);

  // Loads the library and looks every entry up; nothing when already loaded.
  void Load();
  // Frees the library when loaded.
  void Free();

  bool Loaded() const { return FLoaded; }
  HMODULE Handle() const { return FHandle; }
  const char* ModuleName() const { return FModuleName; }
  // The entry of that position in EntryNames() (nullptr when the library lacks it).
  FARPROC Entry(std::size_t Index) const { return Index < EntryCount ? FEntries[Index] : nullptr; }

  // The entries painters call through, typed.
  decltype(&::OpenThemeData) OpenThemeData() const { return Typed<decltype(&::OpenThemeData)>(0); }
  decltype(&::CloseThemeData) CloseThemeData() const { return Typed<decltype(&::CloseThemeData)>(1); }
  decltype(&::DrawThemeBackground) DrawThemeBackground() const { return Typed<decltype(&::DrawThemeBackground)>(2); }
  decltype(&::IsThemeActive) IsThemeActive() const { return Typed<decltype(&::IsThemeActive)>(34); }
  decltype(&::GetCurrentThemeName) GetCurrentThemeName() const { return Typed<decltype(&::GetCurrentThemeName)>(41); }

 private:
  template <typename F>
  F Typed(std::size_t Index) const { return reinterpret_cast<F>(FEntries[Index]); }

  const char* FModuleName;
  LPCWSTR FLibrary;
  bool FAssertEntries;
  bool FLoaded = false;
  HMODULE FHandle = nullptr;
  std::array<FARPROC, EntryCount> FEntries{};
};

// The binding of the styled combo box's button painter.
extern TThemeBinding ComboThemeBinding;
// The binding of the utility painters (combo buttons, button faces, spin buttons), the mini-HTML
// engine, the date-time picker and the string grid.
extern TThemeBinding XPVSThemeBinding;
// The binding of the drop-down editors' buttons.
extern TThemeBinding DropDownThemeBinding;

// Loads the bindings in the given order, stopping at the first assertion failure (which
// propagates); frees them in reverse order.
void LoadThemeBindings(std::span<TThemeBinding* const> Bindings);
void FreeThemeBindings(std::span<TThemeBinding* const> Bindings);
