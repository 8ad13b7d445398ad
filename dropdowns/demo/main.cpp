// The drop-down editors' demo program.
#include "controls/ControlModules.h"
#include "dropdowns/demo/DropDownsDemo.h"

int main() {
  InitializeControlModules();
  Application->Initialize();
  Application->SetTitle(u"Drop-down editors");
  TDropDownsDemoForm* form = nullptr;
  Application->CreateForm(form);
  form->Show();
  Application->Run();
  FreeApplication();
  FinalizeControlModules();
  return 0;
}
