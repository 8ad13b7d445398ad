#include "app/ImageSelect.h"

#include "app/FormBuilder.h"

TImageSelectForm1* ImageSelectForm1 = nullptr;

TImageSelectForm1::TImageSelectForm1(TComponent* AOwner) : TForm(AOwner) {
  BeginLoading();
  SetName(u"ImageSelectForm1");
  SetCaption(u"  Image type");
  SetBorderStyle(bsDialog);
  SetBorderIcons({biSystemMenu});
  SetFormStyle(fsStayOnTop);
  SetPosition(poOwnerFormCenter);
  SetClientWidth(402);
  SetClientHeight(184);
  OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };

  RadioGroup1 = Make<TRadioGroup>(this, this, u"RadioGroup1", 16, 16, 370, 96);
  RadioGroup1->SetCaption(u" ｲﾒｰｼﾞﾀｲﾌﾟ ");
  RadioGroup1->SetColumns(4);
  for (const char16_t* item : {u"EMF", u"WMF", u"BMP", u"JPG"}) RadioGroup1->Items()->Add(item);
  RadioGroup1->SetItemIndex(0);

  SpeedButton1 = Make<TSpeedButton>(this, this, u"SpeedButton1", 146, 132, 110, 32);
  SpeedButton1->SetCaption(u"Ok");
  SpeedButton1->OnClick = [this](TObject* s) { SpeedButton1Click(s); };
  EndLoading();
}

TImageSelectForm1::~TImageSelectForm1() { Destroying(); }

void TImageSelectForm1::SpeedButton1Click(TObject*) { Close(); }

// However the window is closed, the choice stands.
void TImageSelectForm1::FormClose(TObject*, TCloseAction&) { SetModalResult(mrOk); }
