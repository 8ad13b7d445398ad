// The string grid's demo program.
#include "controls/ControlModules.h"
#include "grid/demo/GridDemo.h"

int main() {
  InitializeControlModules();
  Application->Initialize();
  Application->SetTitle(u"String grid");
  TGridDemoForm* form = nullptr;
  Application->CreateForm(form);
  form->Show();
  Application->Run();
  FreeApplication();
  FinalizeControlModules();
  return 0;
}
