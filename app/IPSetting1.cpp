#include "app/IPSetting1.h"

#include "app/AppSettings.h"
#include "app/Caution.h"
#include "app/FormBuilder.h"
#include "app/Main.h"
#include "platform/rtl/SysUtils.h"

TIPSettingForm1* IPSettingForm1 = nullptr;

namespace {

const String DefaultPort = u"30704";

// The port text of the settings file when it is a port number, else the default.
String PortText(const String& Text) {
  int32_t port = 0;
  if (!TryStrToInt(Trim(Text), port) || port < 0 || port > 65535) return DefaultPort;
  return IntToStr(port);
}

TSpeedButton* MakeButton(TComponent* Owner, TWinControl* Parent, const String& Name, const String& Caption,
                         int Left) {
  auto* b = Make<TSpeedButton>(Owner, Parent, Name, Left, 136, 105, 32);
  b->SetCaption(Caption);
  return b;
}

}  // namespace

TIPSettingForm1::TIPSettingForm1(TComponent* AOwner) : TForm(AOwner) {
  BeginLoading();
  SetName(u"IPSettingForm1");
  SetCaption(u" TCP/IP ｱﾄﾞﾚｽ設定 ");
  SetBorderStyle(bsDialog);
  SetFormStyle(fsStayOnTop);
  SetPosition(poScreenCenter);
  SetClientWidth(359);
  SetClientHeight(180);
  OnCreate = [this](TObject* s) { FormCreate(s); };

  LabeledEdit4 = Make<TLabeledEdit>(this, this, u"LabeledEdit4", 150, 20, 190, 21);
  LabeledEdit4->SetLabelPosition(lpLeft);
  LabeledEdit4->SetLabelSpacing(50);
  LabeledEdit4->EditLabel()->Font()->SetName(u"Arial");
  LabeledEdit4->EditLabel()->Font()->SetHeight(-12);
  LabeledEdit4->EditLabel()->SetCaption(u"ﾘﾓｰﾄIPｱﾄﾞﾚｽ");
  LabeledEdit4->SetText(String());
  WithHint(LabeledEdit4, u"IPｱﾄﾞﾚｽを入力します。使用ｱﾄﾞﾚｽはﾈｯﾄﾜｰｸ管理者に相談してください｡");

  Label35 = Make<TLabel>(this, this, u"Label35", 150, 46, 190, 16);
  Label35->SetCaption(u" 例： 192.168.1.100 ");

  Label1 = Make<TLabel>(this, this, u"Label1", 14, 88, 130, 16);
  Label1->SetCaption(u"ﾎﾟｰﾄﾅﾝﾊﾞｰ （固定）");
  AbNumEdit1 = Make<TAbNumEdit>(this, this, u"AbNumEdit1", 150, 84, 90, 21);
  AbNumEdit1->SetEditBase(ebInt);
  AbNumEdit1->SetReadOnly(true);
  AbNumEdit1->SetTabStop(false);
  AbNumEdit1->SetColorDefault(clScrollBar);
  AbNumEdit1->SetMinValue(0);
  AbNumEdit1->SetMaxValue(65535);
  AbNumEdit1->SetOptions({eoLimitMax, eoLimitMin});
  AbNumEdit1->SetValue(30704);

  SpeedButton1 = MakeButton(this, this, u"SpeedButton1", u"OK", 10);
  SpeedButton1->OnClick = [this](TObject* s) { SpeedButton1Click(s); };
  SpeedButton2 = MakeButton(this, this, u"SpeedButton2", u"ｷｬﾝｾﾙ", 127);
  SpeedButton2->OnClick = [this](TObject* s) { SpeedButton2Click(s); };
  SpeedButton3 = MakeButton(this, this, u"SpeedButton3", u"設定値保存", 244);
  WithHint(SpeedButton3, u"設定値を保存します。次回立上げ時に採用されます。");
  SpeedButton3->OnClick = [this](TObject* s) { SpeedButton3Click(s); };
  EndLoading();
}

TIPSettingForm1::~TIPSettingForm1() { Destroying(); }

void TIPSettingForm1::FormCreate(TObject*) {
  TSettingsStore store = OpenSettings(SettingsFilePath());
  LabeledEdit4->SetText(store.Ini->ReadString(u"Information", u"RemoteAddress", String()));
  AbNumEdit1->SetValue(StrToInt(PortText(store.Ini->ReadString(u"Information", u"PortNumber", DefaultPort))));
  // A file that cannot be written back is no error at creation: the values read are used.
  WriteBackSettings(store);
}

void TIPSettingForm1::TakeValues() {
  RemoteAddress = LabeledEdit4->Text();
  RemotePort = AbNumEdit1->Text();
}

void TIPSettingForm1::SpeedButton1Click(TObject*) {
  TakeValues();
  if (Caution2Form != nullptr) {
    Caution2Form->Label1->SetCaption(u" Just moment ");
    Caution2Form->Label2->SetCaption(u" Try connect now ");
    Caution2Form->Show();
  }
  TMainForm::WaitTime(250);
  SetModalResult(mrOk);
}

void TIPSettingForm1::SpeedButton2Click(TObject*) { SetModalResult(mrCancel); }

void TIPSettingForm1::SpeedButton3Click(TObject*) {
  TakeValues();
  TSettingsStore store = OpenSettings(SettingsFilePath());
  store.Ini->WriteString(u"Information", u"RemoteAddress", RemoteAddress);
  store.Ini->WriteString(u"Information", u"PortNumber", RemotePort);
  SaveSettings(store);
  SetModalResult(mrOk);
}
