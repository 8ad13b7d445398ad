#pragma once
// The IP-setting window: the address of the network adapter that a network model's port
// connection connects to, and its fixed TCP port; OK takes them for this run, the save
// button also keeps them in the settings file for the next start.

#include "instruments/AbNumEdit.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

class TIPSettingForm1 : public TForm {
public:
  explicit TIPSettingForm1(TComponent* AOwner);
  ~TIPSettingForm1() override;
  String ClassName() const override { return u"TIPSettingForm1"; }

  TLabeledEdit* LabeledEdit4;
  TLabel* Label35;
  TLabel* Label1;
  TAbNumEdit* AbNumEdit1;
  TSpeedButton *SpeedButton1, *SpeedButton2, *SpeedButton3;

  // The values the port connection connects with: taken by OK and the save button only.
  String RemoteAddress;
  String RemotePort = u"30704";

  void FormCreate(TObject* Sender);
  void SpeedButton1Click(TObject* Sender);
  void SpeedButton2Click(TObject* Sender);
  void SpeedButton3Click(TObject* Sender);

private:
  void TakeValues();
};

extern TIPSettingForm1* IPSettingForm1;
