// The demo's menu for the grid's editing area: a window whose columns edit with the other editor
// kinds (date, time, date and time, drop-downs, rich text, button, check box), and a switch that
// refuses non-numeric levels with the invalid-entry balloon.
#include "grid/demo/GridDemo.h"
#include "platform/rtl/SysUtils.h"

namespace {

struct TKindColumn {
  const char16_t* Title;
  TEditorType Kind;
};

// Column 0 is the row number; the others one editor kind each.
constexpr TKindColumn kKindColumns[] = {
    {u"Date", edDateEdit},          {u"Time", edTimeEdit},
    {u"Date and time", edDateTimeEdit}, {u"Notes", edMemoDropDown},
    {u"Amount", edCalculatorDropDown}, {u"Gain", edTrackbarDropDown},
    {u"Colour", edColorPickerDropDown}, {u"Rich text", edRichEdit},
    {u"Action", edButton},          {u"Check", edCheckBox},
    {u"File", edEditBtn},
};
constexpr int kKindCount = static_cast<int>(sizeof(kKindColumns) / sizeof(kKindColumns[0]));

TForm* MakeKindsWindow(TGridDemoForm& Owner) {
  auto* form = new TForm(&Owner);
  form->SetCaption(u"Editor kinds");
  form->SetBounds(Owner.Left() + 40, Owner.Top() + 40, 900, 300);
  auto* grid = new DEreDuzeroVaro(form);
  grid->SetName(u"KindsGrid");
  grid->SetParent(form);
  grid->SetAlign(alClient);
  grid->SetColCount(kKindCount + 1);
  grid->SetRowCount(6);
  grid->SetOptions(grid->Options() + goEditing);
  for (int c = 0; c < kKindCount; ++c) {
    grid->SetCells(c + 1, 0, kKindColumns[c].Title);
    grid->SetColWidths(c + 1, 90);
  }
  const TDateTime day = EncodeDate(2026, 12, 11);
  for (int r = 1; r < grid->RowCount(); ++r) {
    grid->SetCells(0, r, IntToStr(r));
    grid->SetCells(1, r, DateToStr(day + r));
    grid->SetCells(2, r, TimeToStr(EncodeTime(8 + r, 30, 0, 0)));
    grid->SetCells(3, r, DateTimeToStr(day + r + EncodeTime(12, 0, 0, 0)));
    grid->SetCells(4, r, u"Receiver " + IntToStr(r) + u"\r\nchecked");
    grid->SetCells(5, r, FormatFloat(u"0.00", 12.5 * r));
    grid->SetCells(6, r, IntToStr(10 * r));
    grid->SetCells(8, r, u"{\\rtf1\\ansi {\\b Channel} " + IntToStr(r) + u"}");
    grid->SetCells(9, r, u"Test");
    grid->SetCells(10, r, u"Passed");
    grid->SetCells(11, r, u"log" + IntToStr(r) + u".txt");
  }
  grid->OnGetEditorType = [](TObject*, int ACol, int, TEditorType& AEditor) {
    if (ACol >= 1 && ACol <= kKindCount) AEditor = kKindColumns[ACol - 1].Kind;
  };
  grid->OnButtonClick = [grid](TObject*, int ACol, int ARow) {
    grid->SetCells(ACol, ARow, u"Tested " + TimeToStr(Now()));
  };
  return form;
}
}  // namespace

void AddGridDemoEditing(TGridDemoForm& Form) {
  TMenuItem* menu = Form.DemoMenu(u"Editing");
  TForm* kinds = nullptr;
  Form.AddDemoItem(menu, u"Editor kinds...", [&Form, kinds]() mutable {
    if (kinds == nullptr) kinds = MakeKindsWindow(Form);
    kinds->Show();
  });
  Form.AddDemoItem(menu, u"Refuse non-numeric levels", [&Form] {
    DEreDuzeroVaro* grid = Form.Grid();
    if (grid->OnCellValidate) {
      grid->OnCellValidate = nullptr;
      return;
    }
    grid->SetInvalidEntryTitle(u"Level");
    grid->SetInvalidEntryText(u"Type the level in dBm as a whole number.");
    grid->SetInvalidEntryIcon(ieWarning);
    grid->OnCellValidate = [](TObject*, int ACol, int, String& Value, bool& Valid) {
      int level = 0;
      if (ACol == 2) Valid = TryStrToInt(Trim(Value), level);
    };
  });
}
