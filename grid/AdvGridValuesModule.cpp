#include "grid/AdvGridValuesModule.h"

#include <functional>

#include "grid/AdvGrid.h"
#include "grid/ArrowWindow.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/StdCtrls.h"
#include "platform/win/WinUser.h"

uint16_t GridCellsFormat = 0;
uint16_t GridEditDoneMsg = 0;
uint16_t DTPShiftFocusMsg = 0;
String HintFontName;

const char16_t* const GridModuleClasses[28] = {
    u"DEreDuzeroVaro",          u"TDropList",          u"TArrowWindow",
    u"TGridCombo",              u"TGridSpin",          u"TGridTransEdit",
    u"TGridTransCombo",         u"TGridCheckBox",      u"TGridEditBtn",
    u"TGridDateTimePicker",     u"TGridUnitEditBtn",   u"TGridTrackbarDropDown",
    u"TGridMemoDropDown",       u"TGridCalculatorDropDown", u"TGridTimepickerDropDown",
    u"TGridDetailPickerDropDown", u"TGridGridDropDown", u"TGridColorDropDown",
    u"TGridImageDropDown",      u"TGridButton",        u"TGridDatePicker",
    u"THeaderDragButton",       u"TControlEdit",       u"TControlCombo",
    u"TScrollBar",              u"TAdvRichEdit",       u"TFooterPanel",
    u"TSearchPanel"};

namespace {

enum class TModuleState { NotStarted, Started, Finalized };
TModuleState gState = TModuleState::NotStarted;

// The registration of each class of GridModuleClasses this build has; the others are empty.
using TRegistrar = std::function<void(const String& Name)>;
TRegistrar RegistrarOf(const String& Name) {
  if (Name == u"DEreDuzeroVaro") return [](const String& N) { RegisterClass<DEreDuzeroVaro>(N); };
  if (Name == u"TArrowWindow")
    return [](const String& N) {
      RegisterClass(N, typeid(TArrowWindow),
                    [](TComponent* AOwner) -> TComponent* { return new TArrowWindow(AOwner, arrDown); });
    };
  if (Name == u"TScrollBar") return [](const String& N) { RegisterClass<TScrollBar>(N); };
  return {};
}

}  // namespace

int RegisterGridModuleClasses() {
  int count = 0;
  try {
    for (const char16_t* name : GridModuleClasses)
      if (TRegistrar reg = RegistrarOf(name)) {
        reg(name);
        ++count;
      }
  } catch (const Exception&) {
  }
  return count;
}

void InitGridModule() {
  if (gState != TModuleState::NotStarted) return;
  gState = TModuleState::Started;
  FocusFrameGrid = nullptr;
  RegisterGridModuleClasses();
  GridCellsFormat = static_cast<uint16_t>(RegisterClipboardFormat(u"DEreDuzeroVaro Cells"));
  GridEditDoneMsg = static_cast<uint16_t>(RegisterWindowMessage(u"GridEditDone"));
  DTPShiftFocusMsg = static_cast<uint16_t>(RegisterWindowMessage(u"DTPShiftFocus"));
}

void FinalizeGridModule() {
  if (gState != TModuleState::Started) return;
  gState = TModuleState::Finalized;
  HintFontName.clear();
}

bool GridModuleStarted() { return gState == TModuleState::Started; }
