// The special editors by kind not covered elsewhere: the date editor's limits and custom
// conversion, the date-and-time editor, the rich text editor and the drop-down editors, each
// opened with F2 on a cell and ended with Enter.
#include <gtest/gtest.h>

#include <vector>

#include "dropdowns/AdvDropDownBars.h"
#include "dropdowns/AdvDropDownSelector.h"
#include "grid/AdvGridEditors.h"
#include "grid/AdvGridValuesRichEdit.h"
#include "grid/tests/GridTestSupport.h"
#include "platform/rtl/SysUtils.h"

namespace {

struct TKindGrid : TGridForm {
  TEditorType Kind = edNormal;
  TKindGrid() {
    grid->SetColCount(4);
    grid->SetRowCount(4);
    grid->SetOptions(grid->Options() + goEditing);
    grid->OnGetEditorType = [this](TObject*, int ACol, int, TEditorType& AEditor) {
      if (ACol == 1) AEditor = Kind;
    };
    grid->SetFocus();
    ProcessPendingEvents();
  }
  // Opens the editor of cell (1, 1): a click makes it current (a click on the current cell
  // opens its editor already), F2 opens it.
  void Open(TEditorType AKind) {
    Kind = AKind;
    const TRect cell = grid->CellRect(1, 1);
    SimulateClick(grid, cell.Left + 4, cell.Top + 4);
    ProcessPendingEvents();
    if (!grid->EditMode()) SimulateKeyStroke(grid, VK_F2);
    ProcessPendingEvents();
  }
  // Enter in the open editor ends the edit; its release reaches the grid.
  void Enter(TWinControl* Editor) {
    SimulateKeyDown(Editor, VK_RETURN);
    SimulateKeyUp(grid, VK_RETURN);
    ProcessPendingEvents();
  }
};

}  // namespace

TEST(GridEditingKinds, DateEditorKeepsInsideThePickersLimitsOrTakesTheCustomConversion) {
  TKindGrid f;
  DEreDuzeroVaro* g = f.grid;
  TGridDatePicker* picker = g->DateTimePicker();
  picker->SetMinDate(EncodeDate(2026, 1, 10));
  picker->SetMaxDate(EncodeDate(2026, 1, 20));
  struct Case {
    String Text;
    TDateTime Shown;
  } cases[] = {
      {DateToStr(EncodeDate(2026, 1, 15)), EncodeDate(2026, 1, 15)},
      {DateToStr(EncodeDate(2026, 2, 1)), EncodeDate(2026, 1, 19)},  // after MaxDate: MaxDate - 1
      {DateToStr(EncodeDate(2026, 1, 10)), EncodeDate(2026, 1, 11)}, // on MinDate: MinDate + 1
      {DateToStr(EncodeDate(2025, 5, 5)), EncodeDate(2026, 1, 11)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(StringToUTF8(c.Text));
    g->SetCells(1, 1, c.Text);
    f.Open(edDateEdit);
    ASSERT_TRUE(picker->Showing());
    EXPECT_EQ(picker->Date(), c.Shown);
    f.Enter(picker);
    EXPECT_EQ(g->Cells(1, 1), DateToStr(c.Shown));
  }
  // The application's conversion replaces the grid's; it starts at today.
  TDateTime start = 0;
  g->OnCustomStrToDate = [&](TObject*, const String& Value, TDateTime& ADate) {
    start = ADate;
    if (Value == u"mid") ADate = EncodeDate(2026, 1, 14);
  };
  g->SetCells(1, 1, u"mid");
  f.Open(edDateEditUpDown);
  EXPECT_EQ(picker->Date(), EncodeDate(2026, 1, 14));
  EXPECT_EQ(picker->DateMode(), dmUpDown);
  EXPECT_NEAR(start, Now(), 1.0);
  f.Enter(picker);
  EXPECT_EQ(g->Cells(1, 1), DateToStr(EncodeDate(2026, 1, 14)));
}

TEST(GridEditingKinds, DateAndTimeEditorShowsTheCellAndStoresBothParts) {
  TKindGrid f;
  DEreDuzeroVaro* g = f.grid;
  const TDateTime value = EncodeDate(2026, 7, 8) + EncodeTime(9, 45, 0, 0);
  const String stored = FormatDateTime(FormatSettings.ShortDateFormat + u" " + FormatSettings.ShortTimeFormat, value);
  g->SetCells(1, 1, DateTimeToStr(value));
  f.Open(edDateTimeEdit);
  TGridDateTimePicker* picker = g->DateAndTimePicker();
  ASSERT_TRUE(picker->Showing());
  EXPECT_NEAR(picker->DateTime(), value, 1.0 / 86400);
  // The date-and-time editor is no EditCtrl (nothing to place a balloon at).
  EXPECT_EQ(g->EditCtrl, nullptr);
  g->HideCellEdit();
  EXPECT_FALSE(picker->Showing());
  EXPECT_EQ(g->Cells(1, 1), stored);
  // Written back once: a second write-back stores nothing.
  g->SetCells(1, 1, u"kept");
  g->HideCellEdit();
  EXPECT_EQ(g->Cells(1, 1), u"kept");
}

TEST(GridEditingKinds, RichTextEditorLoadsTheCellAndStoresRichText) {
  TKindGrid f;
  DEreDuzeroVaro* g = f.grid;
  g->SetCells(1, 1, u"{\\rtf1\\ansi {\\b bold} plain}");
  f.Open(edRichEdit);
  TAdvRichEdit* rich = g->InplaceRichEdit();
  ASSERT_TRUE(rich->Showing());
  EXPECT_EQ(g->EditCtrl, rich);
  EXPECT_EQ(rich->Text(), u"bold plain");
  EXPECT_FALSE(rich->Locked());
  ProcessPendingEvents();
  ASSERT_TRUE(rich->Showing());
  SimulateKeyStroke(rich, VK_END);
  SimulateTyping(rich, u"!");
  ProcessPendingEvents();
  g->HideCellEdit();
  EXPECT_FALSE(rich->Showing());
  const String stored = g->Cells(1, 1);
  EXPECT_EQ(stored.substr(0, 5), u"{\\rtf");
  EXPECT_EQ(g->RichTextToPlain(stored), u"bold plain!");
}

TEST(GridEditingKinds, RichTextEditorEndsWhenTheGridIsClicked) {
  TKindGrid f;
  DEreDuzeroVaro* g = f.grid;
  g->SetCells(1, 1, u"{\\rtf1\\ansi one}");
  f.Open(edRichEdit);
  TAdvRichEdit* rich = g->InplaceRichEdit();
  ASSERT_TRUE(rich->Showing());
  SimulateKeyStroke(rich, VK_END);
  SimulateTyping(rich, u" two");
  const TRect other = g->CellRect(2, 2);
  SimulateClick(g, other.Left + 4, other.Top + 4);
  ProcessPendingEvents();
  EXPECT_FALSE(rich->Showing());
  EXPECT_FALSE(g->EditMode());
  EXPECT_EQ(g->RichTextToPlain(g->Cells(1, 1)), u"one two");
}

// Moving the caret or selecting in the in-place rich text editor fires OnRichEditSelectionChange
// with that editor; loading the cell does not.
TEST(GridEditingKinds, RichTextEditorSelectionChangesFireTheGridsEvent) {
  TKindGrid f;
  DEreDuzeroVaro* g = f.grid;
  g->SetCells(1, 1, u"{\\rtf1\\ansi one two}");
  g->Navigation()->SetEditSelectAll(false);
  std::vector<TObject*> senders;
  g->OnRichEditSelectionChange = [&](TObject* Sender) { senders.push_back(Sender); };
  f.Open(edRichEdit);
  TAdvRichEdit* rich = g->InplaceRichEdit();
  ASSERT_TRUE(rich->Showing());
  senders.clear();
  SimulateKeyStroke(rich, VK_END);
  ASSERT_FALSE(senders.empty());
  EXPECT_EQ(rich->SelStart(), 7);
  SimulateKeyStroke(rich, VK_LEFT, {ssShift});
  SimulateKeyStroke(rich, VK_LEFT, {ssShift});
  EXPECT_EQ(rich->SelLength(), 2);
  const size_t fired = senders.size();
  EXPECT_GE(fired, 3u);
  for (TObject* s : senders) EXPECT_EQ(s, rich);
  // The renderer that paints rich cells is another editor: its loads fire nothing.
  g->RichEdit();
  g->Repaint();
  ProcessPendingEvents();
  EXPECT_EQ(senders.size(), fired);
}

TEST(GridEditingKinds, RichTextEditorGrowsItsRowWhileTypingWithSizeWhileTyping) {
  TKindGrid f;
  DEreDuzeroVaro* g = f.grid;
  g->SetCells(1, 1, u"{\\rtf1\\ansi one}");
  const int before = g->RowHeights(1);
  for (bool grow : {false, true}) {
    g->SizeWhileTyping()->SetHeight(grow);
    f.Open(edRichEdit);
    TAdvRichEdit* rich = g->InplaceRichEdit();
    ASSERT_TRUE(rich->Showing());
    // Loading the cell grows nothing.
    EXPECT_EQ(g->RowHeights(1), before);
    SimulateKeyStroke(rich, VK_END);
    for (const char16_t* line : {u"two", u"three"}) {
      SimulateKeyStroke(rich, VK_RETURN);
      SimulateTyping(rich, line);
    }
    ProcessPendingEvents();
    if (grow) {
      EXPECT_GT(g->RowHeights(1), before);
      EXPECT_EQ(rich->Height(), g->RowHeights(1) - 1);
    } else {
      EXPECT_EQ(g->RowHeights(1), before);
    }
    g->HideCellEdit();
    g->SetCells(1, 1, u"{\\rtf1\\ansi one}");
  }
}

TEST(GridEditingKinds, DropDownEditorsOpenWithTheCellValueAndStoreTheirText) {
  TKindGrid f;
  DEreDuzeroVaro* g = f.grid;
  g->TrackbarDropDown()->SetMax(100);
  TGridDetailPickerDropDown* detail = g->DetailPickerDropDown();
  for (const char16_t* caption : {u"red", u"green", u"blue"}) detail->Items()->Add()->SetCaption(caption);
  struct Case {
    TEditorType Kind;
    String Cell;
    String Stored;
  } cases[] = {
      {edTrackbarDropDown, u"42", u"42"},
      {edTrackbarDropDown, u"no number", u"0"},
      {edMemoDropDown, u"one\r\ntwo\r\nthree", u"one\r\ntwo\r\nthree"},
      {edCalculatorDropDown, u"12.50", u"12.50"},
      {edDetailDropDown, u"green", u"green"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Kind));
    g->SetCells(1, 1, c.Cell);
    f.Open(c.Kind);
    ASSERT_NE(g->EditCtrl, nullptr);
    EXPECT_TRUE(g->EditCtrl->Showing());
    if (c.Kind == edTrackbarDropDown) {
      EXPECT_EQ(g->TrackbarDropDown()->Position(), StrToIntDef(c.Stored, -1));
    } else if (c.Kind == edMemoDropDown) {
      EXPECT_EQ(g->MemoDropDown()->MemoText()->Count(), 3);
    } else if (c.Kind == edDetailDropDown) {
      EXPECT_EQ(detail->ItemIndex(), 1);
    }
    TWinControl* editor = g->EditCtrl;
    f.Enter(editor);
    EXPECT_FALSE(editor->Showing());
    EXPECT_FALSE(g->EditMode());
    EXPECT_EQ(g->Cells(1, 1), c.Stored);
  }
}

TEST(GridEditingKinds, ColourAndImagePickersWriteTheCellsLookAndValue) {
  TKindGrid f;
  DEreDuzeroVaro* g = f.grid;
  // A plain cell: the colour goes to Colors, its text to the cell; the event may change both.
  g->SetColors(1, 1, clRed);
  f.Open(edColorPickerDropDown);
  TGridColorDropDown* colours = g->ColorPickerDropDown();
  ASSERT_TRUE(colours->Showing());
  EXPECT_EQ(colours->SelectedColor(), clRed);
  colours->SetSelectedColor(clBlue);
  const String blueText = colours->SelectedColorText();
  int seenCol = -1;
  g->OnColorSelected = [&](TObject*, int ACol, int, TColor& AColor, String& AValue) {
    seenCol = ACol;
    EXPECT_EQ(AValue, blueText);
    AColor = clGreen;
  };
  g->HideCellEdit();
  EXPECT_EQ(seenCol, 1);
  EXPECT_EQ(g->Colors(1, 1), clGreen);
  EXPECT_EQ(g->Cells(1, 1), blueText);
  // A cell that is no image cell: the image picker stores nothing.
  g->SetCells(1, 1, u"text");
  f.Open(edImagePickerDropDown);
  ASSERT_TRUE(g->ImagePickerDropDown()->Showing());
  int events = 0;
  g->OnImageSelected = [&](TObject*, int, int, int&) { ++events; };
  g->HideCellEdit();
  EXPECT_EQ(events, 1);
  EXPECT_FALSE(g->ImagePickerDropDown()->Showing());
  EXPECT_EQ(g->Cells(1, 1), u"text");
}

TEST(GridEditingKinds, GridDropDownWithoutItsUnitOpensNothing) {
  TKindGrid f;
  DEreDuzeroVaro* g = f.grid;
  if (g->AdvGridDropDown() != nullptr) GTEST_SKIP() << "a grid drop-down factory is registered";
  g->SetCells(1, 1, u"kept");
  f.Open(edAdvGridDropDown);
  EXPECT_EQ(g->EditCtrl, nullptr);
  g->HideCellEdit();
  EXPECT_EQ(g->Cells(1, 1), u"kept");
}

// The drop-down editors' pop-ups tell the grid of their button clicks and picks, for the cell
// being edited.
TEST(GridEditingKinds, DropDownEditorsForwardButtonClicksAndPicksToTheGrid) {
  TKindGrid f;
  DEreDuzeroVaro* g = f.grid;
  g->MouseActions()->SetDirectComboDrop(true);  // the pop-up opens with the editor
  g->ControlLook()->DropDownHeader()->Buttons()->Add()->SetCaption(u"Head");
  TFooterButton* ok = g->ControlLook()->DropDownFooter()->Buttons()->Add();
  ok->SetCaption(u"Keep");
  ok->SetModalResult(mrRetry);  // leaves the pop-up open
  std::vector<String> events;
  auto note = [&](const char16_t* Name, TObject* Sender, int ACol, int ARow, int Index) {
    EXPECT_EQ(Sender, g);
    events.push_back(String(Name) + u" " + IntToStr(ACol) + u"," + IntToStr(ARow) + u" " + IntToStr(Index));
  };
  g->OnDropDownHeaderButtonClick = [&](TObject* S, int C, int R, int I) { note(u"header", S, C, R, I); };
  g->OnDropDownFooterButtonClick = [&](TObject* S, int C, int R, int I) { note(u"footer", S, C, R, I); };
  f.Open(edMemoDropDown);
  TGridMemoDropDown* memo = g->MemoDropDown();
  ASSERT_TRUE(memo->DroppedDown());
  auto* header = dynamic_cast<TAdvHeader*>(memo->DropDownForm()->Header());
  auto* footer = dynamic_cast<TAdvFooter*>(memo->DropDownForm()->Footer());
  ASSERT_NE(header, nullptr);
  ASSERT_NE(footer, nullptr);
  SimulateClick(header->ButtonControl(0), 4, 4);
  SimulateClick(footer->ButtonControl(0), 4, 4);
  ProcessPendingEvents();
  EXPECT_EQ(events, (std::vector<String>{u"header 1,1 0", u"footer 1,1 0"}));
  memo->HideDropDown(true);
  g->HideCellEdit();

  // A press that picks closes the pop-up: the release lands on the grid's form beneath.
  auto pickingClick = [&](TControl* List, const TRect& Item) {
    const TPoint at(Item.Left + 5, Item.Top + Item.Height() / 2);
    const TPoint onForm = f.form.ScreenToClient(List->ClientToScreen(at));
    SimulateMouseDown(List, mbLeft, at.X, at.Y);
    SimulateMouseUp(&f.form, mbLeft, onForm.X, onForm.Y);
    ProcessPendingEvents();
  };

  // A colour clicked in the colour picker's list.
  g->ControlLook()->DropDownHeader()->Buttons()->Clear();
  g->ControlLook()->DropDownFooter()->Buttons()->Clear();
  std::vector<TColor> colours;
  std::vector<String> texts;
  g->OnColorSelect = [&](TObject* S, int C, int R, TColor AColor, const String& AValue) {
    EXPECT_EQ(S, g);
    EXPECT_EQ(TPoint(C, R), TPoint(1, 1));
    colours.push_back(AColor);
    texts.push_back(AValue);
  };
  f.Open(edColorPickerDropDown);
  TGridColorDropDown* picker = g->ColorPickerDropDown();
  ASSERT_TRUE(picker->DroppedDown());
  colours.clear();
  texts.clear();
  TCustomItemSelector* list = picker->ItemSelector()->ItemSelectorPanel();
  picker->ItemSelector()->ScrollItemInView(3);
  ProcessPendingEvents();
  pickingClick(list, list->GetItemRect(3));
  ASSERT_EQ(colours.size(), 1u);
  EXPECT_EQ(colours[0], picker->Colors()->Items(3)->Color());
  EXPECT_EQ(texts[0], picker->SelectedColorText());
  g->HideCellEdit();

  // An item clicked in the image picker's list.
  TGridImageDropDown* images = g->ImagePickerDropDown();
  for (const char16_t* caption : {u"One", u"Two", u"Three"}) images->Items()->Add()->SetCaption(caption);
  std::vector<int> picked;
  g->OnImageSelect = [&](TObject* S, int C, int R, int Index) {
    EXPECT_EQ(S, g);
    EXPECT_EQ(TPoint(C, R), TPoint(1, 1));
    picked.push_back(Index);
  };
  f.Open(edImagePickerDropDown);
  ASSERT_TRUE(images->DroppedDown());
  picked.clear();
  TCustomItemSelector* imageList = images->ItemSelector()->ItemSelectorPanel();
  pickingClick(imageList, imageList->GetItemRect(2));
  EXPECT_EQ(picked, std::vector<int>{2});
}
