#pragma once
// The notice windows: the start-up notice that warns the operator before the first use
// and names the destination region, and the plain message window its users fill.

#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

// A message window without code of its own: its users set both labels and show or close it.
class TCaution2Form : public TForm {
public:
  explicit TCaution2Form(TComponent* AOwner);
  ~TCaution2Form() override;
  String ClassName() const override { return u"TCaution2Form"; }

  TLabel* Label1;
  TLabel* Label2;
};

extern TCaution2Form* Caution2Form;
