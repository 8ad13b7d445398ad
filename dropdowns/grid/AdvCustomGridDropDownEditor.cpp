// The grid drop-down cell editor and its registration with the grid.

#include "dropdowns/grid/AdvCustomGridDropDownEditor.h"

TGridAdvGridDropDown::TGridAdvGridDropDown(TComponent* AOwner) : TGridDropDownEditor(AOwner) { WorkMode = true; }

void RegisterAdvGridDropDownEditor() {
  RegisterAdvGridDropDownFactory([](DEreDuzeroVaro* Grid) -> TAdvCustomDropDown* { return new TGridAdvGridDropDown(Grid); });
}

namespace {
// A program that links the editor has it registered before main runs.
[[maybe_unused]] const bool registered = (RegisterAdvGridDropDownEditor(), true);
}  // namespace
