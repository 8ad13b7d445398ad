#include "app/OtherForms.h"

TImageViewForm1* ImageViewForm1 = nullptr;
TAssignForm1* AssignForm1 = nullptr;
TOKBottomDlg1* OKBottomDlg1 = nullptr;
THexKeyForm1* HexKeyForm1 = nullptr;
TKeyForm1* KeyForm1 = nullptr;

TPlainForm::TPlainForm(TComponent* AOwner, const String& AName, const String& ACaption, TFormBorderStyle ABorder,
                       int AClientWidth, int AClientHeight)
    : TForm(AOwner) {
  BeginLoading();
  SetName(AName);
  SetCaption(ACaption);
  SetBorderStyle(ABorder);
  SetClientWidth(AClientWidth);
  SetClientHeight(AClientHeight);
  EndLoading();
}

TPlainForm::~TPlainForm() { Destroying(); }

TEscClosedForm::TEscClosedForm(TComponent* AOwner, const String& AName, const String& ACaption,
                               TFormBorderStyle ABorder, int AClientWidth, int AClientHeight)
    : TPlainForm(AOwner, AName, ACaption, ABorder, AClientWidth, AClientHeight) {
  SetKeyPreview(true);
  OnKeyDown = [this](TObject* s, Word& k, TShiftState sh) { FormKeyDown(s, k, sh); };
}

void TEscClosedForm::FormKeyDown(TObject*, Word& Key, TShiftState) {
  if (Key == 27) Close();
}

TImageViewForm1::TImageViewForm1(TComponent* AOwner)
    : TPlainForm(AOwner, u"ImageViewForm1", u"Air monitor image viewer", bsSizeToolWin, 446, 262) {}
TAssignForm1::TAssignForm1(TComponent* AOwner)
    : TPlainForm(AOwner, u"AssignForm1", u" 送信ｺﾏﾝﾄﾞ自動作成", bsSingle, 400, 300) {}
TOKBottomDlg1::TOKBottomDlg1(TComponent* AOwner)
    : TPlainForm(AOwner, u"OKBottomDlg1", u"Caution !", bsDialog, 384, 160) {}
THexKeyForm1::THexKeyForm1(TComponent* AOwner)
    : TPlainForm(AOwner, u"HexKeyForm1", u"バイナリーコード送信フォーム", bsSingle, 600, 400) {}
TKeyForm1::TKeyForm1(TComponent* AOwner)
    : TPlainForm(AOwner, u"KeyForm1", u"HEX number input panel", bsDialog, 300, 260) {}
