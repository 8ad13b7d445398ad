#pragma once
// The string grid's demo window: one grid holding a channel table of the receiver, with
// a header row and a note merged over three rows.

#include "grid/AdvGrid.h"
#include "platform/ui/Forms.h"

class TGridDemoForm : public TForm {
public:
  explicit TGridDemoForm(TComponent* AOwner);
  String ClassName() const override { return u"TGridDemoForm"; }
  DEreDuzeroVaro* Grid() const { return FGrid; }

private:
  DEreDuzeroVaro* FGrid;
};
