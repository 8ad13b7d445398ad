#pragma once
// The version box: eight texts and a picture named in the settings file, a link, and the
// program's file version read from its version block.

#include "instruments/AbCBitBt.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

class TVerBoxForm : public TForm {
public:
  explicit TVerBoxForm(TComponent* AOwner);
  ~TVerBoxForm() override;
  String ClassName() const override { return u"TVerBoxForm"; }

  TGroupBox* GroupBox1;
  TImage* Image1;
  TPanel* Panel1;
  TImage* HelpImage1;
  TLabel *HelpLabel1, *HelpLabel2, *HelpLabel3, *HelpLabel4, *HelpLabel5;
  TLabel *HelpLabel6, *HelpLabel7, *HelpLabel8, *HelpLabel9;
  TLabel* HelpURL;
  TAbColBitBtn* AbColBitBtn1;

  void FormCreate(TObject* Sender);
  void FormKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
  void HelpURLMouseEnter(TObject* Sender);
  void HelpURLMouseLeave(TObject* Sender);
  void HelpURLClick(TObject* Sender);
  void AbColBitBtn1Click(TObject* Sender);

  // The link's address, from the settings file.
  String LinkAddress;
};

extern TVerBoxForm* VerBoxForm;
