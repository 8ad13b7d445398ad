#pragma once
// The port setup window: the list of usable ports, six boxes bound to the settings of the
// main window's serial port, and buttons to apply, cancel, or apply and save them.

#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "serial/CPortCtl.h"

class TComSetDlg : public TForm {
public:
  explicit TComSetDlg(TComponent* AOwner);
  ~TComSetDlg() override;
  String ClassName() const override { return u"TComSetDlg"; }

  TBevel* Bevel1;
  TMemo* Memo1;
  TLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6;
  TComComboBox *ComComboBox1, *ComComboBox2, *ComComboBox3, *ComComboBox4, *ComComboBox5, *ComComboBox6;
  TCheckBox* CheckBox1;
  TButton* Button1;
  TButton* CancelBtn;
  TButton* OKBtn;

  // Binds the six boxes to ComPort and lets each show the port's current value.
  void EditComPort(TCustomComPort* ComPort);

  void CheckBox1Click(TObject* Sender);
  void OKBtnClick(TObject* Sender);
  void CancelBtnClick(TObject* Sender);
  void Button1Click(TObject* Sender);

private:
  TComComboBox* Box(int Index) const;
  void ApplyAll();
};

extern TComSetDlg* ComSetDlg;
