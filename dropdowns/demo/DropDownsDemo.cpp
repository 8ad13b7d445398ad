// The grid drop-down first: it includes the grid, whose print border names the class library's
// progress bar orientations must give way to.
#include "dropdowns/grid/AdvCustomGridDropDown.h"
#include "dropdowns/demo/DropDownsDemo.h"

#include "platform/rtl/SysUtils.h"

TDemoListDropDown::TDemoListDropDown(TComponent* AOwner) : TAdvCustomDropDown(AOwner) {
  CreateDropDownForm();
  SetDropDownHeight(120);
}

void TDemoListDropDown::CreateDropDownForm() {
  TAdvCustomDropDown::CreateDropDownForm();
  if (FList != nullptr || DropDownForm() == nullptr) return;
  FList = new TListBox(this);
  FList->SetParent(DropDownForm());
  FList->SetTabStop(true);
  for (const char16_t* s : {u"Channel 1", u"Channel 2", u"Channel 3", u"Channel 4", u"Channel 5"})
    FList->Items()->Add(s);
  // A click on an item takes it; the arrow keys only move the selection (Enter takes it).
  FList->OnClick = [this](TObject*) {
    if (FList->ItemIndex() >= 0) DoHideDropDown(false);
  };
  SetControl(FList);
  FFocusControl = FList;
}

void TDemoListDropDown::BeforeDropDown() {
  TAdvCustomDropDown::BeforeDropDown();
  // The current value is the list's selection while it is open.
  FList->SetItemIndex(FList->Items()->IndexOf(Text()));
  DropDownForm()->SetCancelOnDeActivate(true);
}

void TDemoListDropDown::DoHideDropDown(bool Cancel) {
  if (!Cancel && FList->ItemIndex() >= 0) SetText(FList->Items()->Strings(FList->ItemIndex()));
  TAdvCustomDropDown::DoHideDropDown(Cancel);
}

void TDemoListDropDown::DropDownControlKeyDown(Word& Key, TShiftState Shift) {
  // The list keeps its arrows; the closing keys go to the edit.
  if (Key == VK_UP || Key == VK_DOWN || Key == VK_PRIOR || Key == VK_NEXT || Key == VK_HOME || Key == VK_END) {
    if (!Shift.Contains(ssAlt)) return;
  }
  TAdvCustomDropDown::DropDownControlKeyDown(Key, Shift);
}

TDropDownsDemoForm::TDropDownsDemoForm(TComponent* AOwner) : TForm(AOwner) {
  SetCaption(u"Drop-down editors");
  SetBounds(200, 200, 940, 520);
  FListDropDown = new TDemoListDropDown(this);
  FListDropDown->SetParent(this);
  FListDropDown->SetBounds(120, 20, 200, 24);
  FListDropDown->SetLabelCaption(u"Framework:");
  FListDropDown->SetLabelPosition(lpLeftCenter);
  FListDropDown->SetDropDownButtonHint(u"Choose a channel");
  FListDropDown->SetTabStop(true);
  FListDropDown->SetText(u"Channel 1");
  // A level from 0 to 100 in steps of 5.
  FTrackBarDropDown = new TAdvTrackBarDropDown(this);
  FTrackBarDropDown->SetParent(this);
  FTrackBarDropDown->SetBounds(120, 55, 200, 24);
  FTrackBarDropDown->SetLabelCaption(u"Track bar:");
  FTrackBarDropDown->SetLabelPosition(lpLeftCenter);
  FTrackBarDropDown->SetMax(100);
  FTrackBarDropDown->SetFrequency(5);
  FTrackBarDropDown->SetPageSize(5);
  FTrackBarDropDown->SetTabStop(true);
  // Notes of several lines, with a header caption and OK and Cancel in the footer.
  FMemoDropDown = new TAdvMemoDropDown(this);
  FMemoDropDown->SetParent(this);
  FMemoDropDown->SetBounds(120, 90, 200, 24);
  FMemoDropDown->SetLabelCaption(u"Memo:");
  FMemoDropDown->SetLabelPosition(lpLeftCenter);
  FMemoDropDown->SetDropDownWidth(260);
  FMemoDropDown->SetTabStop(true);
  FMemoDropDown->DropDownHeader()->SetCaption(u"<b>Notes</b> for this receiver");
  TFooterButton* ok = FMemoDropDown->DropDownFooter()->Buttons()->Add();
  ok->SetCaption(u"OK");
  ok->SetModalResult(mrOk);
  TFooterButton* cancel = FMemoDropDown->DropDownFooter()->Buttons()->Add();
  cancel->SetCaption(u"Cancel");
  cancel->SetModalResult(mrCancel);
  FMemoDropDown->MemoText()->SetText(u"Installed on the roof\r\nChecked in spring\r\n");
  // Receiver models in three columns, looked up by their name.
  FMultiColumnDropDown = new TAdvMultiColumnDropDown(this);
  FMultiColumnDropDown->SetParent(this);
  FMultiColumnDropDown->SetBounds(120, 125, 200, 24);
  FMultiColumnDropDown->SetLabelCaption(u"Multi-column:");
  FMultiColumnDropDown->SetLabelPosition(lpLeftCenter);
  FMultiColumnDropDown->SetTabStop(true);
  const String headers[] = {u"Model", u"Band", u"Channels"};
  for (const String& h : headers) FMultiColumnDropDown->Columns()->Add()->SetHeader(h);
  FMultiColumnDropDown->Columns()->Items(2)->SetAlignment(taRightJustify);
  const String models[][3] = {{u"RCV910X", u"426 MHz", u"46"},  {u"RCV910XJ", u"426 MHz", u"46"},
                              {u"RCV920", u"429 MHz", u"40"},   {u"RCV930", u"920 MHz", u"38"},
                              {u"TRX410", u"426 MHz", u"46"},   {u"TRX420", u"429 MHz", u"40"}};
  FMultiColumnDropDown->BeginUpdate();
  for (const auto& m : models) {
    TStringList* t = FMultiColumnDropDown->Items()->Add()->Text();
    for (const String& s : m) t->Add(s);
  }
  FMultiColumnDropDown->EndUpdate();
  FMultiColumnDropDown->SetItemIndex(0);
  // A calculator whose result stays in its edit.
  FCalculator = new TAdvCalculatorDropdown(this);
  FCalculator->SetParent(this);
  FCalculator->SetBounds(120, 160, 200, 24);
  FCalculator->SetLabelCaption(u"Calculator:");
  FCalculator->SetLabelPosition(lpLeftCenter);
  FCalculator->SetTabStop(true);
  FCalculator->OnDropUp = [this](TObject*, bool) { FStatus->SetCaption(u"Result: " + FCalculator->Text()); };
  // The status line under the clocks.
  FStatus = new TLabel(this);
  FStatus->SetParent(this);
  FStatus->SetBounds(20, 490, 640, 20);
  FListDropDown->OnDropUp = [this](TObject*, bool Cancelled) {
    FStatus->SetCaption(Cancelled ? String(u"Cancelled") : u"Chosen: " + FListDropDown->Text());
  };
  FTrackBarDropDown->OnTrackChange = [this](TObject*) { FStatus->SetCaption(u"Level: " + FTrackBarDropDown->Text()); };
  FMultiColumnDropDown->OnSelect = [this](TObject*) {
    FStatus->SetCaption(u"Model: " + FMultiColumnDropDown->Text());
  };
  FMemoDropDown->OnDropUp = [this](TObject*, bool Cancelled) {
    FStatus->SetCaption(Cancelled ? String(u"Notes unchanged")
                                  : u"Notes: " + IntToStr(FMemoDropDown->MemoText()->Count()) + u" lines");
  };
  // Colours from the list of 16, the palette, the cube and the spectrum, one picker each.
  const struct {
    TColorSelectionStyle Style;
    const char16_t* Caption;
    TColorValueText Text;
  } pickers[] = {{csList, u"Colour list:", cvtNone},
                 {csDiscrete, u"Palette:", cvtHTML},
                 {csColorCube, u"Cube:", cvtWebName},
                 {csSpectrum, u"Spectrum:", cvtRGB}};
  int y = 20;
  for (const auto& p : pickers) {
    auto* picker = new TAdvColorPickerDropDown(this);
    picker->SetParent(this);
    picker->SetBounds(480, y, 180, 24);
    picker->SetLabelCaption(p.Caption);
    picker->SetLabelPosition(lpLeftCenter);
    picker->SetTabStop(true);
    picker->AddDefaultColors();
    picker->SetColorValueText(p.Text);
    picker->SetColorSelectionStyle(p.Style);
    picker->SetSelectedColor(0x0000FF);
    picker->OnSelect = [this, picker](TObject*) { FStatus->SetCaption(u"Colour: " + picker->SelectedColorText()); };
    FColorPickers[p.Style] = picker;
    y += 35;
  }
  // A time set on the pop-up clock by mouse or keys, with the seconds.
  FTimePicker = new TAdvTimePickerDropDown(this);
  FTimePicker->SetParent(this);
  FTimePicker->SetBounds(480, y, 180, 24);
  FTimePicker->SetLabelCaption(u"Time:");
  FTimePicker->SetLabelPosition(lpLeftCenter);
  FTimePicker->SetTabStop(true);
  FTimePicker->SetTime(EncodeTime(10, 30, 0, 0));
  FTimePicker->OnTimeChange = [this](TObject*) { FStatus->SetCaption(u"Time: " + FTimePicker->Text()); };
  FTimePicker->OnDropUp = [this](TObject*, bool Cancelled) {
    FStatus->SetCaption(Cancelled ? String(u"Time unchanged") : u"Time: " + FTimePicker->Text());
  };
  // The clock alone in its twelve looks, two rows of six; each is set by mouse, animated.
  for (int i = 0; i < 12; ++i) {
    auto* clock = new TAdvWatch(this);
    clock->SetParent(this);
    clock->SetBounds(10 + (i % 6) * 110, 200 + (i / 6) * 125, 100, 100);
    // A new clock records the classic look without applying it: another one first.
    if (i == wsClassic) clock->SetStyle(wsSmooth);
    clock->SetStyle(static_cast<TWatchStyle>(i));
    clock->SetTime(EncodeTime(10, 8, 0, 0));
    clock->OnChange = [this, clock](TObject*) {
      uint16_t h, m, sec, ms;
      DecodeTime(clock->Time(), h, m, sec, ms);
      FStatus->SetCaption(u"Clock: " + IntToStr(h) + u":" + (m < 10 ? u"0" : u"") + IntToStr(m));
    };
    FClocks[i] = clock;
  }
  // Channels with notes, completed while typing; and a channel colour picked from swatches.
  FDetailDropDown = new TAdvDetailDropDown(this);
  FDetailDropDown->SetParent(this);
  FDetailDropDown->SetBounds(120, 455, 200, 24);
  FDetailDropDown->SetLabelCaption(u"Detail:");
  FDetailDropDown->SetLabelPosition(lpLeftCenter);
  FDetailDropDown->SetItemHeight(36);
  FDetailDropDown->SetDropDownHeight(160);
  FDetailDropDown->SetTabStop(true);
  const char16_t* channels[][2] = {{u"Channel 1", u"<b>426.025</b> MHz, the factory setting"},
                                   {u"Channel 2", u"426.050 MHz"},
                                   {u"Channel 3", u"426.075 MHz, <i>shared</i> with the crane"},
                                   {u"Channel 4", u"426.100 MHz"}};
  for (const auto& c : channels) {
    TDetailItem* item = FDetailDropDown->Items()->Add();
    item->SetCaption(c[0]);
    item->SetNotes(c[1]);
  }
  FDetailDropDown->OnSelect = [this](TObject*) { FStatus->SetCaption(u"Detail: " + FDetailDropDown->Text()); };
  FImagePicker = new TAdvImagePickerDropDown(this);
  FImagePicker->SetParent(this);
  FImagePicker->SetBounds(480, 455, 180, 24);
  FImagePicker->SetLabelCaption(u"Image:");
  FImagePicker->SetLabelPosition(lpLeftCenter);
  FImagePicker->SetColumns(3);
  FImagePicker->SetTabStop(true);
  const struct {
    const char16_t* Name;
    TColor Color;
  } swatches[] = {{u"Red", clRed}, {u"Lime", clLime}, {u"Blue", clBlue}, {u"Yellow", clYellow}, {u"Aqua", clAqua},
                  {u"Fuchsia", clFuchsia}};
  for (const auto& w : swatches) {
    TBitmap b;
    b.SetSize(16, 16);
    b.Canvas()->Brush()->SetColor(w.Color);
    b.Canvas()->FillRect(TRect(0, 0, 16, 16));
    TImageItem* item = FImagePicker->Items()->Add();
    item->SetCaption(w.Name);
    item->Image()->SetGraphic(&b);
  }
  FImagePicker->SetItemIndex(0);
  FImagePicker->OnSelect = [this](TObject*) {
    const int i = FImagePicker->ItemIndex();
    FStatus->SetCaption(u"Image: " + (i >= 0 ? FImagePicker->Items()->Items(i)->Caption() : String(u"none")));
  };
  // Receivers in a grid: looked up by the typed start of their name, sorted by a click on a
  // header; and channels narrowed down to those holding the typed text.
  auto gridDropDown = [this](int Y, const char16_t* Caption) {
    auto* g = new AdvCustomGridDropDown::TCustomAdvGridDropDown(this);
    g->SetParent(this);
    g->SetBounds(770, Y, 150, 24);
    g->SetLabelCaption(Caption);
    g->SetLabelPosition(lpLeftCenter);
    g->SetTabStop(true);
    g->OnSelect = [this, g](TObject*) { FStatus->SetCaption(u"Grid: " + g->Text()); };
    return g;
  };
  FGridLookup = gridDropDown(20, u"Grid lookup:");
  FGridLookup->SetSorting(AdvCustomGridDropDown::gsSingleColumn);
  const String receiverHeaders[] = {u"Receiver", u"Band", u"Channels", u"Site"};
  for (const String& h : receiverHeaders) FGridLookup->Columns()->Add()->SetHeader(h);
  FGridLookup->Columns()->Items(2)->SetAlignment(taRightJustify);
  const String receivers[][4] = {{u"RCV910X", u"426 MHz", u"46", u"Roof"},     {u"RCV920", u"429 MHz", u"40", u"Gate"},
                                 {u"TRX410", u"426 MHz", u"46", u"Crane"},     {u"RCV930", u"920 MHz", u"38", u"Yard"},
                                 {u"RCV910XJ", u"426 MHz", u"46", u"Office"},  {u"TRX420", u"429 MHz", u"40", u"Hall"}};
  FGridLookup->BeginUpdate();
  for (const auto& r : receivers) {
    TStringList* t = FGridLookup->Items()->Add()->Text();
    for (const String& s : r) t->Add(s);
  }
  FGridLookup->EndUpdate();
  FGridLookup->SetItemIndex(0);
  FGridNarrow = gridDropDown(55, u"Grid narrow:");
  FGridNarrow->SetLookupMethod(AdvCustomGridDropDown::lmNarrowDown);
  FGridNarrow->Columns()->Add()->SetHeader(u"Channel");
  FGridNarrow->Columns()->Add()->SetHeader(u"MHz");
  FGridNarrow->BeginUpdate();
  for (int c = 1; c <= 46; ++c) {
    TStringList* t = FGridNarrow->Items()->Add()->Text();
    t->Add(u"Channel " + IntToStr(c));
    t->Add(FloatToStrF(426.0 + 0.025 * c, ffFixed, 15, 3));
  }
  FGridNarrow->EndUpdate();
}
