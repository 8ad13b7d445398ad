#include "app/Caution.h"

#include "app/FormBuilder.h"
#include "app/Main.h"

TCaution1Form* Caution1Form = nullptr;
TCaution2Form* Caution2Form = nullptr;

namespace {

const String FormFont = u"ＭＳ Ｐゴシック";
const int FrameInset = 4;  // the notice panel's border and bevels

TLabel* CentredLabel(TForm* Form, TWinControl* Parent, const String& Name, const String& Caption, int Top,
                     int Height) {
  auto* label = MakeComponent<TLabel>(Form, Name);
  label->SetParent(Parent);
  label->SetAutoSize(false);
  label->SetAlignment(taCenter);
  // Inside the parent's frame, which shows through around the text.
  label->SetTransparent(true);
  label->SetBounds(FrameInset, Top, Parent->ClientWidth() - 2 * FrameInset, Height + 5);
  label->Font()->SetHeight(-Height);
  label->SetCaption(Caption);
  return label;
}

}  // namespace

TCaution1Form::TCaution1Form(TComponent* AOwner) : TForm(AOwner) {
  BeginLoading();
  SetName(u"Caution1Form");
  SetCaption(u" Place of destination ");
  SetBorderStyle(bsNone);
  SetFormStyle(fsStayOnTop);
  SetPosition(poMainFormCenter);
  SetScaled(false);
  SetClientWidth(451);
  SetClientHeight(255);
  Font()->SetName(FormFont);
  Font()->SetHeight(-15);
  OnCreate = [this](TObject* s) { FormCreate(s); };
  OnShow = [this](TObject* s) { FormShow(s); };

  Panel1 = MakeComponent<TPanel>(this, u"Panel1");
  Panel1->SetParent(this);
  Panel1->SetAlign(alClient);
  Panel1->SetBevelInner(bvLowered);
  Panel1->SetBorderStyle(bsSingle);
  Panel1->SetParentBackground(false);
  Panel1->SetColor(15066597);
  Panel1->SetCaption(String());

  Label2 = Make<TLabel>(this, Panel1, u"Label2", 16, 12, 200, 20);
  Label2->SetTransparent(true);
  Label2->Font()->SetColor(clRed);
  Label2->Font()->SetHeight(-16);
  Label2->SetCaption(u"注意　！！");
  Label5 = CentredLabel(this, Panel1, u"Label5", u"※本ツールを使用するために、RCV910Xのシリアル通信モードを", 44, 15);
  Label4 = CentredLabel(this, Panel1, u"Label4", u"機能1に設定してください。", 66, 15);
  Label6 = CentredLabel(this, Panel1, u"Label6", u"開始する時は必ずｹｰﾌﾞﾙを接続し、機器の電源を入れて下さい。", 98, 15);
  Label3 = CentredLabel(this, Panel1, u"Label3", u"また、最初にﾓﾃﾞﾙを選んでからCOMﾎﾟｰﾄを開いて下さい｡", 126, 15);
  Label7 = CentredLabel(this, Panel1, u"Label7", u"終了する時は、必ずCOMﾎﾟｰﾄを閉じてから電源を切って下さい。", 154, 15);

  BitBtn1 = Make<TBitBtn>(this, Panel1, u"BitBtn1", (Panel1->ClientWidth() - 120) / 2, 186, 120, 25);
  BitBtn1->SetCaption(u"O K");
  BitBtn1->OnClick = [this](TObject* s) { BitBtn1Click(s); };

  Label1 = Make<TLabel>(this, Panel1, u"Label1", 8, 222, 430, 20);
  Label1->SetTransparent(true);
  Label1->Font()->SetStyle({fsUnderline});
  Label1->SetCaption(u"   Place of destination : temp  ");
  EndLoading();
}

TCaution1Form::~TCaution1Form() { Destroying(); }

void TCaution1Form::FormCreate(TObject*) {
  MessageBeep(MB_ICONEXCLAMATION);
  Label1->SetCaption(u" Place of destination : " + (MainForm != nullptr ? MainForm->Destination : String()));
}

void TCaution1Form::FormShow(TObject*) {
  if (MainForm != nullptr) MainForm->SetEnabled(false);
}

void TCaution1Form::BitBtn1Click(TObject*) {
  if (MainForm != nullptr) {
    MainForm->Show();
    MainForm->SetEnabled(true);
    MainForm->ComboBox5->SetEnabled(true);
  }
  Close();
}

TCaution2Form::TCaution2Form(TComponent* AOwner) : TForm(AOwner) {
  BeginLoading();
  SetName(u"Caution2Form");
  SetCaption(String());
  SetPosition(poScreenCenter);
  SetClientWidth(397);
  SetClientHeight(133);
  Font()->SetName(FormFont);
  Font()->SetHeight(-12);
  Label1 = CentredLabel(this, this, u"Label1", u"ﾈｯﾄﾜｰｸｴﾗｰが発生しました", 36, 15);
  Label2 = CentredLabel(this, this, u"Label2", u"ｱﾌﾟﾘｹｰｼｮﾝを終了します｡", 76, 15);
  EndLoading();
}

TCaution2Form::~TCaution2Form() { Destroying(); }
