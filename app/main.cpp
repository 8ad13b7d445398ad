// Entry of the setting tool. Until its windows are assembled it shows a notice window.
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

int main() {
  Application->Initialize();
  Application->SetTitle(u"RCV910X - Setting tool");
  TForm* form = nullptr;
  Application->CreateForm(form);
  form->SetCaption(u"RCV910X - Setting tool");
  form->SetBounds(100, 100, 400, 100);
  auto* label = new TLabel(form);
  label->SetParent(form);
  label->SetBounds(16, 36, 360, 20);
  label->SetCaption(u"RCV910X - Setting tool: under construction");
  Application->Run();
  return 0;
}
