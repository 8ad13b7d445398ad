#include "app/OtherForms.h"

TImageViewForm1* ImageViewForm1 = nullptr;

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
