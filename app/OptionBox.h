#pragma once
// The options window: the colours of the command monitor and of the two air-monitor graphs,
// each graph's built-in colour set, the clipboard picture type, and saving them. Colours
// change the main window's settings in place and the main window follows at once.

#include "instruments/AbLED.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

class TOptionBoxForm : public TForm {
public:
  explicit TOptionBoxForm(TComponent* AOwner);
  ~TOptionBoxForm() override;
  String ClassName() const override { return u"TOptionBoxForm"; }

  TPageControl* PageControl1;
  TTabSheet *TabSheet1, *TabSheet2;
  TGroupBox *GroupBox1, *GroupBox2, *GroupBox3;
  // Colour swatches: buttons whose unlit lamp shows a colour setting.
  TAbLED *AbLED1, *AbLED2, *AbLED3, *AbLED4, *AbLED5, *AbLED6, *AbLED7, *AbLED8, *AbLED9, *AbLED10, *AbLED11,
      *AbLED12, *AbLED13, *AbLED14, *AbLED15, *AbLED16, *AbLED17, *AbLED18, *AbLED19, *AbLED20;
  TSpeedButton *SpeedButton3, *SpeedButton4;
  // The live clipboard picture type the main window copies graphs in: 0 EMF, 1 WMF, 2 BMP.
  TRadioGroup* RadioGroup2;
  TSpeedButton *SpeedButton1, *SpeedButton2;

  void FormCreate(TObject* Sender);
  void FormKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
  // Every graph swatch shows its setting's colour.
  void ShowColors();
  // A swatch was clicked: the colour dialog, then the main window re-applies its colours.
  void SwatchClick(TObject* Sender);
  void SpeedButton3Click(TObject* Sender);
  void SpeedButton4Click(TObject* Sender);
  void SpeedButton1Click(TObject* Sender);
  void SpeedButton2Click(TObject* Sender);

private:
  void ResetGroup(int Group);
};

extern TOptionBoxForm* OptionBoxForm;
