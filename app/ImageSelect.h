#pragma once
// The image type choice: which picture format a graph export uses. Shown modally; it
// always returns OK, also from its close box, and the caller reads RadioGroup1.

#include "platform/ui/Buttons.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"

class TImageSelectForm1 : public TForm {
public:
  explicit TImageSelectForm1(TComponent* AOwner);
  ~TImageSelectForm1() override;
  String ClassName() const override { return u"TImageSelectForm1"; }

  TRadioGroup* RadioGroup1;  // 0 EMF, 1 WMF, 2 BMP, 3 JPEG
  TSpeedButton* SpeedButton1;

  void SpeedButton1Click(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
};

extern TImageSelectForm1* ImageSelectForm1;
