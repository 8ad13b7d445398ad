#pragma once
// The confirmation box: a question with OK and cancel buttons that set its modal result.

#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

class TOKBottomDlg1 : public TForm {
public:
  explicit TOKBottomDlg1(TComponent* AOwner);
  ~TOKBottomDlg1() override;
  String ClassName() const override { return u"TOKBottomDlg1"; }

  TBevel* Bevel1;
  TLabel* Label1;
  TLabel* Label2;
  TButton* OKBtn;
  TButton* CancelBtn;
};

extern TOKBottomDlg1* OKBottomDlg1;
