#include "app/Caution.h"

TCaution2Form* Caution2Form = nullptr;

namespace {

const String FormFont = u"ＭＳ Ｐゴシック";

TLabel* CentredLabel(TForm* Form, const String& Name, const String& Caption, int Top, int Height) {
  auto* label = new TLabel(Form);
  label->SetName(Name);
  label->SetParent(Form);
  label->SetAutoSize(false);
  label->SetAlignment(taCenter);
  label->SetBounds(0, Top, Form->ClientWidth(), 20);
  label->Font()->SetHeight(-Height);
  label->SetCaption(Caption);
  return label;
}

}  // namespace

TCaution2Form::TCaution2Form(TComponent* AOwner) : TForm(AOwner) {
  BeginLoading();
  SetName(u"Caution2Form");
  SetCaption(String());
  SetPosition(poScreenCenter);
  SetClientWidth(397);
  SetClientHeight(133);
  Font()->SetName(FormFont);
  Font()->SetHeight(-12);
  Label1 = CentredLabel(this, u"Label1", u"ﾈｯﾄﾜｰｸｴﾗｰが発生しました", 36, 15);
  Label2 = CentredLabel(this, u"Label2", u"ｱﾌﾟﾘｹｰｼｮﾝを終了します｡", 76, 15);
  EndLoading();
}

TCaution2Form::~TCaution2Form() { Destroying(); }
