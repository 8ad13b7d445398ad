#include "app/ComSetDialog.h"

#include "app/AppSettings.h"
#include "app/FormBuilder.h"
#include "platform/rtl/ScopeGuard.h"

TComSetDlg* ComSetDlg = nullptr;

namespace {

void UseTahoma(TControl* Control) {
  Control->Font()->SetName(u"Tahoma");
  Control->Font()->SetHeight(-13);
}

}  // namespace

TComSetDlg::TComSetDlg(TComponent* AOwner) : TForm(AOwner) {
  BeginLoading();
  SetName(u"ComSetDlg");
  SetCaption(u"COM port setup dialog");
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientWidth(510);
  SetClientHeight(344);

  Bevel1 = Make<TBevel>(this, this, u"Bevel1", 0, 0, 510, 344);
  Bevel1->SetShape(bsFrame);

  Memo1 = Make<TMemo>(this, this, u"Memo1", 14, 12, 481, 145);
  Memo1->SetColor(15066597);
  Memo1->SetScrollBars(ssBoth);
  Memo1->SetText(String());

  struct BoxDef {
    TLabel** Label;
    TComComboBox** Box;
    const char16_t* Caption;
    TComProperty Property;
    bool Enabled;
  };
  const BoxDef defs[] = {
      {&Label1, &ComComboBox1, u"Port", cpPort, true},
      {&Label2, &ComComboBox2, u"Baudrate", cpBaudRate, true},
      {&Label3, &ComComboBox3, u"Data bits", cpDataBits, false},
      {&Label4, &ComComboBox4, u"Stop bits", cpStopBits, false},
      {&Label5, &ComComboBox5, u"Parity", cpParity, false},
      {&Label6, &ComComboBox6, u"Flow control", cpFlowControl, false},
  };
  // Two rows of three label-and-box pairs below the port list.
  for (int i = 0; i < 6; ++i) {
    const BoxDef& d = defs[i];
    int left = 16 + (i % 3) * 164, top = 168 + (i / 3) * 50;
    TLabel* label = *d.Label = Make<TLabel>(this, this, u"Label" + IntToStr(i + 1), left, top, 150, 16);
    label->SetCaption(d.Caption);
    UseTahoma(label);
    TComComboBox* box = *d.Box = Make<TComComboBox>(this, this, u"ComComboBox" + IntToStr(i + 1), left, top + 17, 150, 24);
    UseTahoma(box);
    box->SetComProperty(d.Property);
    box->SetAutoApply(false);
    box->SetEnabled(d.Enabled);
  }

  CheckBox1 = Make<TCheckBox>(this, this, u"CheckBox1", 16, 272, 140, 20);
  CheckBox1->SetCaption(u"Edit enable");
  CheckBox1->OnClick = [this](TObject* s) { CheckBox1Click(s); };

  Button1 = Make<TButton>(this, this, u"Button1", 16, 304, 130, 27);
  Button1->SetCaption(u"Save parameter");
  Button1->OnClick = [this](TObject* s) { Button1Click(s); };

  CancelBtn = Make<TButton>(this, this, u"CancelBtn", 296, 304, 95, 27);
  CancelBtn->SetCaption(u"Cancel");
  CancelBtn->SetCancel(true);
  CancelBtn->SetModalResult(mrCancel);
  CancelBtn->OnClick = [this](TObject* s) { CancelBtnClick(s); };

  OKBtn = Make<TButton>(this, this, u"OKBtn", 400, 304, 95, 27);
  OKBtn->SetCaption(u"OK");
  OKBtn->SetDefault(true);
  OKBtn->SetModalResult(mrOk);
  OKBtn->OnClick = [this](TObject* s) { OKBtnClick(s); };

  // The boxes edit the main window's port, as the stored description links them.
  if (auto* main = Owner() ? Owner()->FindComponent(u"MainForm") : nullptr)
    if (auto* port = dynamic_cast<TCustomComPort*>(main->FindComponent(u"ComPort1"))) EditComPort(port);
  EndLoading();
}

TComSetDlg::~TComSetDlg() { Destroying(); }

TComComboBox* TComSetDlg::Box(int Index) const {
  TComComboBox* boxes[] = {ComComboBox1, ComComboBox2, ComComboBox3, ComComboBox4, ComComboBox5, ComComboBox6};
  return boxes[Index];
}

void TComSetDlg::EditComPort(TCustomComPort* ComPort) {
  for (int i = 0; i < 6; ++i) {
    Box(i)->SetComPort(ComPort);
    Box(i)->UpdateSettings();
  }
}

void TComSetDlg::CheckBox1Click(TObject*) {
  bool on = CheckBox1->Checked();
  for (int i = 2; i < 6; ++i) Box(i)->SetEnabled(on);
}

void TComSetDlg::ApplyAll() {
  TCustomComPort* port = ComComboBox1->ComPort();
  if (!port) return;
  port->BeginUpdate();
  {
    TScopeGuard restore([&] { port->EndUpdate(); });
    // A port box with nothing picked keeps the port's name instead of blanking it.
    for (int i = 0; i < 6; ++i)
      if (i != 0 || ComComboBox1->ItemIndex() >= 0) Box(i)->ApplySettings();
  }
}

void TComSetDlg::OKBtnClick(TObject*) { ApplyAll(); }

void TComSetDlg::CancelBtnClick(TObject*) {
  TCustomComPort* port = ComComboBox1->ComPort();
  if (!port) return;
  port->BeginUpdate();
  for (int i = 0; i < 6; ++i) Box(i)->UpdateSettings();
  port->EndUpdate();
}

void TComSetDlg::Button1Click(TObject*) {
  ApplyAll();
  if (TCustomComPort* port = ComComboBox1->ComPort()) port->StoreSettings(stIniFile, SettingsFilePath());
  ShowMessage(u"Saved to initial setting file.");
}
