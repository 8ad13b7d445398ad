#include "app/OKBottomDlg.h"

#include "app/FormBuilder.h"

TOKBottomDlg1* OKBottomDlg1 = nullptr;

TOKBottomDlg1::TOKBottomDlg1(TComponent* AOwner) : TForm(AOwner) {
  BeginLoading();
  SetName(u"OKBottomDlg1");
  SetCaption(u"Caution !");
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientWidth(384);
  SetClientHeight(160);
  Bevel1 = Make<TBevel>(this, this, u"Bevel1", 8, 8, 368, 105);
  Bevel1->SetShape(bsFrame);
  Label1 = Make<TLabel>(this, this, u"Label1", 40, 34, 300, 20);
  Label1->Font()->SetHeight(-15);
  Label1->SetCaption(u"初期化します。");
  Label2 = Make<TLabel>(this, this, u"Label2", 40, 66, 300, 20);
  Label2->Font()->SetHeight(-15);
  Label2->SetCaption(u"よろしいですか？");
  OKBtn = Make<TButton>(this, this, u"OKBtn", 111, 124, 75, 25);
  OKBtn->SetCaption(u"OK");
  OKBtn->SetModalResult(mrOk);
  OKBtn->SetDefault(true);
  CancelBtn = Make<TButton>(this, this, u"CancelBtn", 199, 124, 75, 25);
  CancelBtn->SetCaption(u"キャンセル");
  CancelBtn->SetModalResult(mrCancel);
  CancelBtn->SetCancel(true);
  EndLoading();
}

TOKBottomDlg1::~TOKBottomDlg1() { Destroying(); }
