#include "app/StartUp.h"

#include "app/Caution.h"
#include "app/ComSetDialog.h"
#include "app/Main.h"
#include "app/OtherForms.h"
#include "controls/ControlModules.h"
#include "grid/AdvGridValuesModule.h"

void CreateApplicationForms() {
  Application->CreateForm(MainForm);
  Application->CreateForm(Caution1Form);
  Application->CreateForm(VerBoxForm);
  Application->CreateForm(ImageViewForm1);
  Application->CreateForm(ImageSelectForm1);
  Application->CreateForm(OptionBoxForm);
  Application->CreateForm(IPSettingForm1);
  Application->CreateForm(Caution2Form);
  Application->CreateForm(AssignForm1);
  Application->CreateForm(OKBottomDlg1);
  Application->CreateForm(HexKeyForm1);
  Application->CreateForm(ComSetDlg);
  Application->CreateForm(ConversionForm1);
  Application->CreateForm(KeyForm1);
}

void ForgetApplicationForms() {
  MainForm = nullptr;
  Caution1Form = nullptr;
  VerBoxForm = nullptr;
  ImageViewForm1 = nullptr;
  ImageSelectForm1 = nullptr;
  OptionBoxForm = nullptr;
  IPSettingForm1 = nullptr;
  Caution2Form = nullptr;
  AssignForm1 = nullptr;
  OKBottomDlg1 = nullptr;
  HexKeyForm1 = nullptr;
  ComSetDlg = nullptr;
  ConversionForm1 = nullptr;
  KeyForm1 = nullptr;
}

void StartUp() {
  Application->Initialize();
  // The control library's modules start once the class library runs (menu animation and
  // clipboard formats belong to the running application).
  InitializeControlModules();
  // The grid module starts after the control library it builds on (it places no grid here).
  InitGridModule();
  Application->SetTitle(u"RCV910X - Setting tool");
  CreateApplicationForms();
  Application->SetShowMainForm(true);
  Caution1Form->Show();
}

void ShutDown() {
  FreeApplication();
  FinalizeGridModule();
  FinalizeControlModules();
}
