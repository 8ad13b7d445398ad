#pragma once
// The string grid's demo window: one grid holding a channel table of the receiver (a header
// row, a note merged over three rows, a check box, a signal bar and a rating per channel, a
// spin editor for the level and a pick list for the mode), with a look switch and bands.

#include "grid/AdvGrid.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

class TGridDemoForm : public TForm {
public:
  explicit TGridDemoForm(TComponent* AOwner);
  String ClassName() const override { return u"TGridDemoForm"; }
  DEreDuzeroVaro* Grid() const { return FGrid; }
  TComboBox* LookBox() const { return FLookBox; }
  TCheckBox* BandsBox() const { return FBandsBox; }

private:
  DEreDuzeroVaro* FGrid;
  TComboBox* FLookBox;
  TCheckBox* FBandsBox;
};
