#include "grid/demo/GridDemo.h"

#include "grid/AdvGridEditors.h"
#include "platform/rtl/SysUtils.h"

TGridDemoForm::TGridDemoForm(TComponent* AOwner) : TForm(AOwner) {
  SetCaption(u"String grid");
  SetBounds(100, 100, 900, 420);
  FGrid = new DEreDuzeroVaro(this);
  FGrid->SetParent(this);
  FGrid->SetBounds(8, 8, 700, 370);
  FGrid->SetSizeWithForm(true);
  FGrid->SetColCount(8);
  FGrid->SetRowCount(11);
  FGrid->SetColWidths(0, 40);
  FGrid->SetColWidths(1, 100);  // room for "Frequency MHz"
  FGrid->SetColWidths(3, 90);  // room for "Momentary"
  FGrid->SetColWidths(4, 180);
  FGrid->SetColWidths(5, 40);
  FGrid->SetColWidths(6, 90);
  FGrid->SetColWidths(7, 100);  // five stars
  FGrid->ColumnHeaders()->SetCommaText(u"Ch,\"Frequency MHz\",\"Level dBm\",Mode,Note,On,Signal,Quality");
  // Ten channels of the 426 MHz band with a level and a mode each.
  static const char16_t* const Modes[] = {u"One-shot", u"Toggle", u"Switching", u"Momentary"};
  for (int i = 1; i <= 10; ++i) {
    FGrid->SetCells(0, i, IntToStr(i));
    FGrid->SetCells(1, i, FormatFloat(u"0.0000", 426.025 + 0.0125 * (i - 1)));
    FGrid->SetCells(2, i, IntToStr(-140 + 9 * i));
    FGrid->SetCells(3, i, Modes[(i - 1) % 4]);
    FGrid->AddCheckBox(5, i, i % 3 != 0, false);
    FGrid->AddProgress(6, i, clHighlight, clWindow);
    FGrid->SetCells(6, i, IntToStr(10 * i));
    FGrid->AddRating(7, i, 5, clHighlight, clBtnFace);
    FGrid->SetCells(7, i, IntToStr(i % 6));
  }
  // One note over three rows.
  FGrid->MergeCells(4, 1, 1, 3);
  FGrid->SetCells(4, 1, u"Channels 1 to 3: receiver test set");

  // Editing: a spin editor for the level, a pick list for the mode, text elsewhere; Enter
  // moves on, the clipboard keys copy and paste.
  FGrid->SetOptions(FGrid->Options() + goEditing);
  FGrid->Navigation()->SetAdvanceOnEnter(true);
  FGrid->Navigation()->SetAllowClipboardShortCuts(true);
  for (const char16_t* m : Modes) FGrid->EditCombo()->Items()->Add(m);
  FGrid->OnGetEditorType = [](TObject*, int ACol, int, TEditorType& AEditor) {
    if (ACol == 2) AEditor = edSpinEdit;
    else if (ACol == 3) AEditor = edComboList;
  };
  FGrid->SpinEdit()->SetMinValue(-140);
  FGrid->SpinEdit()->SetMaxValue(0);

  // The look switch and the bands.
  FLookBox = new TComboBox(this);
  FLookBox->SetParent(this);
  FLookBox->SetStyle(csDropDownList);
  FLookBox->SetBounds(716, 8, 170, 24);
  for (int l = glStandard; l < glCustom; ++l) {
    String name;
    DEreDuzeroVaro::LookToText(static_cast<TGridLook>(l), name);
    FLookBox->Items()->Add(name);
  }
  FLookBox->SetItemIndex(FGrid->Look() < glCustom ? FGrid->Look() : 0);
  FLookBox->OnChange = [this](TObject*) {
    if (FLookBox->ItemIndex() >= 0) FGrid->SetLook(static_cast<TGridLook>(FLookBox->ItemIndex()));
  };
  FBandsBox = new TCheckBox(this);
  FBandsBox->SetParent(this);
  FBandsBox->SetCaption(u"Bands");
  FBandsBox->SetBounds(716, 40, 170, 24);
  FBandsBox->OnClick = [this](TObject*) {
    FGrid->Bands()->SetActive(FBandsBox->Checked());
    FGrid->Invalidate();
  };

  FMenu = new TMainMenu(this);
  SetFormMenu(this, FMenu);
  AddGridDemoEditing(*this);
  AddGridDemoSizing(*this);
  AddGridDemoMouse(*this);
  AddGridDemoDrag(*this);
  AddGridDemoExchange(*this);
  AddGridDemoPrint(*this);
  AddGridDemoNodes(*this);
  AddGridDemoFind(*this);
  AddGridDemoRightToLeft(*this);
}

TMenuItem* TGridDemoForm::DemoMenu(const String& Caption) {
  if (TMenuItem* m = FMenu->Items()->Find(Caption)) return m;
  auto* m = new TMenuItem(this);
  m->SetCaption(Caption);
  FMenu->Items()->Add(m);
  return m;
}

TMenuItem* TGridDemoForm::AddDemoItem(TMenuItem* Menu, const String& Caption, std::function<void()> OnClick) {
  auto* item = new TMenuItem(this);
  item->SetCaption(Caption);
  item->OnClick = [OnClick = std::move(OnClick)](TObject*) { OnClick(); };
  Menu->Add(item);
  return item;
}
