#pragma once
// The notice windows: the start-up notice that warns the operator before the first use
// and names the destination region, and the plain message window its users fill.

#include "platform/ui/Buttons.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

// The start-up notice: shown without waiting, it keeps the main window disabled until
// its "O K" is pressed.
class TCaution1Form : public TForm {
public:
  explicit TCaution1Form(TComponent* AOwner);
  ~TCaution1Form() override;
  String ClassName() const override { return u"TCaution1Form"; }

  TPanel* Panel1;
  TLabel *Label2, *Label5, *Label4, *Label6, *Label3, *Label7;
  TBitBtn* BitBtn1;
  TLabel* Label1;

  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void BitBtn1Click(TObject* Sender);
};

// A message window without code of its own: its users set both labels and show or close it.
class TCaution2Form : public TForm {
public:
  explicit TCaution2Form(TComponent* AOwner);
  ~TCaution2Form() override;
  String ClassName() const override { return u"TCaution2Form"; }

  TLabel* Label1;
  TLabel* Label2;
};

extern TCaution1Form* Caution1Form;
extern TCaution2Form* Caution2Form;
