#include "app/OtherForms.h"

TVerBoxForm* VerBoxForm = nullptr;
TImageViewForm1* ImageViewForm1 = nullptr;
TIPSettingForm1* IPSettingForm1 = nullptr;
TConversionForm1* ConversionForm1 = nullptr;

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

TVerBoxForm::TVerBoxForm(TComponent* AOwner)
    : TEscClosedForm(AOwner, u"VerBoxForm", u" Version Box", bsDialog, 625, 322) {}
TImageViewForm1::TImageViewForm1(TComponent* AOwner)
    : TPlainForm(AOwner, u"ImageViewForm1", u"Air monitor image viewer", bsSizeToolWin, 446, 262) {}
TIPSettingForm1::TIPSettingForm1(TComponent* AOwner)
    : TPlainForm(AOwner, u"IPSettingForm1", u" TCP/IP ｱﾄﾞﾚｽ設定 ", bsDialog, 359, 180) {}
TConversionForm1::TConversionForm1(TComponent* AOwner)
    : TPlainForm(AOwner, u"ConversionForm1", u"Hex - Decimal conversion", bsToolWindow, 424, 183) {}
