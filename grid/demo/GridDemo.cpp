#include "grid/demo/GridDemo.h"

#include "platform/rtl/SysUtils.h"

TGridDemoForm::TGridDemoForm(TComponent* AOwner) : TForm(AOwner) {
  SetCaption(u"String grid");
  SetBounds(100, 100, 560, 330);
  FGrid = new DEreDuzeroVaro(this);
  FGrid->SetParent(this);
  FGrid->SetBounds(8, 8, 530, 270);
  FGrid->SetSizeWithForm(true);
  FGrid->SetColCount(5);
  FGrid->SetRowCount(11);
  FGrid->SetColWidths(0, 40);
  FGrid->SetColWidths(1, 100);  // room for "Frequency MHz"
  FGrid->SetColWidths(4, 180);
  FGrid->ColumnHeaders()->SetCommaText(u"Ch,\"Frequency MHz\",\"Level dBm\",Mode,Note");
  // Ten channels of the 426 MHz band with a level and a mode each.
  static const char16_t* const Modes[] = {u"One-shot", u"Toggle", u"Switching", u"Momentary"};
  for (int i = 1; i <= 10; ++i) {
    FGrid->SetCells(0, i, IntToStr(i));
    FGrid->SetCells(1, i, FormatFloat(u"0.0000", 426.025 + 0.0125 * (i - 1)));
    FGrid->SetCells(2, i, IntToStr(-140 + 9 * i));
    FGrid->SetCells(3, i, Modes[(i - 1) % 4]);
  }
  // One note over three rows.
  FGrid->MergeCells(4, 1, 1, 3);
  FGrid->SetCells(4, 1, u"Channels 1 to 3: receiver test set");
}
