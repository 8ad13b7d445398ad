#include "controls/ControlModules.h"

#include "controls/AdvDateTimePicker.h"
#include "controls/AdvEddd.h"
#include "controls/AdvGDIP.h"
#include "controls/AdvXPVS.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/OleDragDrop.h"
#include "platform/win/WinUser.h"

TClipboardFormatModule ClipboardFormatModule;
TLayeredWindowModule LayeredWindowModule;
TMenuAnimationModule MenuAnimationModule;

void TClipboardFormatModule::Start() {
  RichText = RegisterClipboardFormat(u"Rich Text Format");
  Html = RegisterClipboardFormat(u"HTML Format");
}

void TLayeredWindowModule::Start() {
  Found = false;
  HMODULE User32 = LoadLibraryW(u"user32.dll");
  if (!User32) return;
  UpdateLayeredWindow = GetProcAddress(User32, "UpdateLayeredWindow");
  SetLayeredWindowAttributes = GetProcAddress(User32, "SetLayeredWindowAttributes");
  FreeLibrary(User32);
  Found = SetLayeredWindowAttributes != nullptr;
}

void TMenuAnimationModule::Start() {
  if (FStarted) return;
  BOOL On = FALSE;
  SystemParametersInfo(SPI_GETMENUANIMATION, 0, &On, 0);
  FSaved = On != FALSE;
  SystemParametersInfo(SPI_SETMENUANIMATION, 0, nullptr, SPIF_SENDCHANGE);
  FStarted = true;
}

void TMenuAnimationModule::Exit() {
  if (!FStarted) return;
  SystemParametersInfo(SPI_SETMENUANIMATION, 0, FSaved ? reinterpret_cast<void*>(1) : nullptr, SPIF_SENDCHANGE);
  FStarted = false;
}

namespace {
int StartUpCount = 0;
}  // namespace

void InitializeControlModules() {
  if (StartUpCount++ > 0) return;
  ComboThemeBinding.Load();
  InitializeAdvGDIP();
  XPVSThemeBinding.Load();
  InitializeAdvDateTimePicker();
  DropDownThemeBinding.Load();
  OleInitialize(nullptr);  // the styled edit's drag and drop
  RichTextDragDrop = false;
  RichTextFormat = 0;
  ClipboardFormatModule.Start();
  LayeredWindowModule.Start();
  MenuAnimationModule.Start();
}

void FinalizeControlModules() {
  if (StartUpCount == 0 || --StartUpCount > 0) return;
  MenuAnimationModule.Exit();
  OleUninitialize();
  DropDownThemeBinding.Free();
  XPVSThemeBinding.Free();
  FinalizeAdvGDIP();
  ComboThemeBinding.Free();
}
