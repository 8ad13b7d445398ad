#pragma once
// Start-up and exit of the control library's modules, in link order, once per program:
// the visual-styles bindings (AdvXPVS.h), GDI+, the clipboard formats, the layered-window calls
// and the menu animation. The tool runs InitializeControlModules before its first window and
// FinalizeControlModules after its last.

#include "platform/win/Modules.h"
#include "platform/win/Windows.h"

// The clipboard formats registered at start-up ("Rich Text Format", then "HTML Format");
// 0 before.
struct TClipboardFormatModule {
  UINT RichText = 0;
  UINT Html = 0;
  void Start();
};

// The layered-window calls of "user32.dll", looked up once at start-up. Found is True when
// SetLayeredWindowAttributes was there.
struct TLayeredWindowModule {
  FARPROC UpdateLayeredWindow = nullptr;
  FARPROC SetLayeredWindowAttributes = nullptr;
  bool Found = false;
  void Start();
};

// Menu animation is off while the program runs: Start saves the setting and switches it off,
// Exit puts the saved setting back. The setting belongs to this program alone (see
// SystemParametersInfo), so the desktop is never changed, however the program ends.
class TMenuAnimationModule {
 public:
  void Start();
  void Exit();
  bool Saved() const { return FSaved; }
  bool Started() const { return FStarted; }

 private:
  bool FSaved = false;
  bool FStarted = false;
};

extern TClipboardFormatModule ClipboardFormatModule;
extern TLayeredWindowModule LayeredWindowModule;
extern TMenuAnimationModule MenuAnimationModule;

// Runs every module's start-up in link order, once however often it is called: the combo box's
// theme binding, GDI+, the utility routines' binding (a missing entry there stops the start-up
// with the assertion failure), the date-time picker's registered message, the drop-down editors'
// binding, OLE for the styled edit's drag and drop, the clipboard formats, the layered-window
// calls, the menu animation. Exit runs in
// reverse order when it matches the first start-up.
void InitializeControlModules();
void FinalizeControlModules();
