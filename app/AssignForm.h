#pragma once
// The test-text generator: builds a command of a chosen length from one repeated character
// or from random printable characters, prefixed with the length in two hexadecimal digits.

#include <random>

#include "controls/AdvEdit.h"
#include "instruments/VrButtons.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

class TAssignForm1 : public TForm {
public:
  explicit TAssignForm1(TComponent* AOwner);
  ~TAssignForm1() override;
  String ClassName() const override { return u"TAssignForm1"; }

  TTrackBar* TrackBar1;  // data size, 0 to 255
  TLabel* Label1;        // its value in hexadecimal
  TLabel* Label2;        // and in decimal
  TTrackBar* TrackBar2;  // character code, 0 to 255
  TLabel* Label3;        // the character
  TLabel* Label4;        // its code in hexadecimal
  TVrDemoButton* VrDemoButton1;  // "文字設定（同一文字）"
  TVrDemoButton* VrDemoButton2;  // "文字設定（ﾗﾝﾀﾞﾑ文字）"
  // The generated command: a read-only styled edit, centred, labelled on its left.
  TAdvEdit* LabeledEdit1;
  TVrDemoButton* VrDemoButton3;  // OK

  // The generated command: the data size in two hexadecimal digits, then the text.
  String CommandText;
  // The data size the command was made with (OK hands this over, whatever the bar shows then).
  int32_t CommandSize = 0;

  // The random characters come from this generator; tests seed it.
  void SeedRandom(uint32_t Seed) { FRandom.seed(Seed); }

  void FormCreate(TObject* Sender);
  void TrackBar1Change(TObject* Sender);
  void TrackBar2Change(TObject* Sender);
  void VrDemoButton1Click(TObject* Sender);
  void VrDemoButton2Click(TObject* Sender);
  void VrDemoButton3Click(TObject* Sender);

private:
  void SetCommand(int32_t Size, const String& Text);
  std::mt19937 FRandom{std::random_device{}()};
};

// What the generator's OK hands over: the command and its data size (nothing reads them yet).
extern String AssignedCommand;
extern int32_t AssignedLength;

extern TAssignForm1* AssignForm1;
