#include "grid/AdvGridValuesModule.h"

#include <functional>

#include "grid/AdvGrid.h"
#include "grid/AdvGridDropList.h"
#include "grid/AdvGridEditing.h"
#include "grid/AdvGridEditors.h"
#include "grid/AdvGridFooterPanel.h"
#include "grid/AdvGridSearchPanel.h"
#include "grid/AdvGridValuesRich.h"
#include "grid/ArrowWindow.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/StdCtrls.h"
#include "platform/win/Hooks.h"
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
HHOOK gFocusFrameHook = nullptr;

// Sees every message of the GUI thread's windows: when any window moves or is sized, the
// focus frame of the grid that shows one goes around its cell again.
LRESULT FocusFrameHookProc(int Code, WPARAM WParam, LPARAM LParam) {
  const auto* msg = reinterpret_cast<const CWPSTRUCT*>(LParam);
  if (Code == HC_ACTION && msg != nullptr && FocusFrameGrid != nullptr &&
      (msg->message == WM_WINDOWPOSCHANGING || msg->message == WM_WINDOWPOSCHANGED || msg->message == WM_MOVE ||
       msg->message == WM_SIZE))
    FocusFrameGrid->MoveFocusFrame();
  return CallNextHookEx(gFocusFrameHook, Code, WParam, LParam);
}

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
  if (Name == u"TAdvRichEdit") return [](const String& N) { RegisterAdvRichEditClass(N); };
  // A filter list lives on its grid: made by name, its owner must be one.
  if (Name == u"TDropList")
    return [](const String& N) {
      RegisterClass(N, typeid(TDropList), [](TComponent* AOwner) -> TComponent* {
        auto* grid = dynamic_cast<DEreDuzeroVaro*>(AOwner);
        if (grid == nullptr) throw EInvalidCast(u"Invalid class typecast");
        return new TDropList(grid);
      });
    };
  // The floating header of a column drag belongs to a grid; made by name it has none and
  // paints only its face.
  if (Name == u"THeaderDragButton")
    return [](const String& N) {
      RegisterClass(N, typeid(DEreDuzeroVaro::THeaderDragButton), [](TComponent* AOwner) -> TComponent* {
        return new DEreDuzeroVaro::THeaderDragButton(AOwner, nullptr);
      });
    };
#define GRID_MODULE_CLASS(T) \
  if (Name == u## #T) return [](const String& N) { RegisterClass<T>(N); };
  GRID_MODULE_CLASS(TGridCombo)
  GRID_MODULE_CLASS(TGridSpin)
  GRID_MODULE_CLASS(TGridCheckBox)
  GRID_MODULE_CLASS(TGridEditBtn)
  GRID_MODULE_CLASS(TGridDateTimePicker)
  GRID_MODULE_CLASS(TGridUnitEditBtn)
  GRID_MODULE_CLASS(TGridTrackbarDropDown)
  GRID_MODULE_CLASS(TGridMemoDropDown)
  GRID_MODULE_CLASS(TGridCalculatorDropDown)
  GRID_MODULE_CLASS(TGridTimepickerDropDown)
  GRID_MODULE_CLASS(TGridDetailPickerDropDown)
  GRID_MODULE_CLASS(TGridGridDropDown)
  GRID_MODULE_CLASS(TGridColorDropDown)
  GRID_MODULE_CLASS(TGridImageDropDown)
  GRID_MODULE_CLASS(TGridButton)
  GRID_MODULE_CLASS(TGridDatePicker)
  GRID_MODULE_CLASS(TControlEdit)
  GRID_MODULE_CLASS(TControlCombo)
  GRID_MODULE_CLASS(TGridTransEdit)
  GRID_MODULE_CLASS(TGridTransCombo)
  GRID_MODULE_CLASS(TFooterPanel)
  GRID_MODULE_CLASS(TSearchPanel)
#undef GRID_MODULE_CLASS
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
  if (gFocusFrameHook == nullptr)
    gFocusFrameHook = SetWindowsHookExW(WH_CALLWNDPROC, FocusFrameHookProc, nullptr, GetCurrentThreadId());
  RegisterGridModuleClasses();
  GridCellsFormat = static_cast<uint16_t>(RegisterClipboardFormat(u"DEreDuzeroVaro Cells"));
  GridEditDoneMsg = static_cast<uint16_t>(RegisterWindowMessage(u"GridEditDone"));
  DTPShiftFocusMsg = static_cast<uint16_t>(RegisterWindowMessage(u"DTPShiftFocus"));
}

void FinalizeGridModule() {
  if (gState != TModuleState::Started) return;
  gState = TModuleState::Finalized;
  if (gFocusFrameHook != nullptr) UnhookWindowsHookEx(gFocusFrameHook);
  gFocusFrameHook = nullptr;
  HintFontName.clear();
}

bool GridModuleStarted() { return gState == TModuleState::Started; }

bool GridFocusFrameHookInstalled() { return gFocusFrameHook != nullptr; }
