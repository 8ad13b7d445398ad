// The grid's special editor controls over a real grid on a form, driven by real keys at the
// top-level window: made by the grid's accessors, validating through the grid, restoring on
// Escape, and the editors of form controls inside tagged cells.
#include "grid/AdvGridEditors.h"

#include <gtest/gtest.h>

#include <vector>

#include "controls/HtmlText.h"
#include "grid/tests/GridTestSupport.h"

namespace {

// The grid that the editing protocol opens an editor in: editing starts in a cell as the
// grid's dispatcher starts it, then the editor is laid over the cell and focused.
struct TEditorGrid : DEreDuzeroVaro {
  using DEreDuzeroVaro::DEreDuzeroVaro;
  using DEreDuzeroVaro::InplaceEditStarted;
  using DEreDuzeroVaro::LButFlg;
};

struct TEditorForm {
  TForm form{nullptr};
  TEditorGrid* grid = new TEditorGrid(&form);
  std::vector<String> Validated;  // the values OnCellValidate saw
  bool Refuse = false;
  TEditorForm() {
    form.SetBounds(50, 50, 600, 400);
    grid->SetParent(&form);
    grid->SetBounds(0, 0, 500, 300);
    grid->SetColCount(5);
    grid->SetRowCount(5);
    grid->SetOptions(grid->Options() + goEditing);
    grid->OnCellValidate = [this](TObject*, int, int, String& Value, bool& Valid) {
      Validated.push_back(Value);
      Valid = !Refuse;
    };
    form.Show();
    grid->SetFocus();
    ProcessPendingEvents();
  }
  // Editing of cell (ACol, 1) starts with Editor over it, showing Text.
  template <class E>
  E* Open(E* Editor, const String& Text, int ACol = 1) {
    grid->SetCol(ACol);
    grid->SetRow(1);
    grid->InplaceEditStarted(ACol, 1);
    TRect r = grid->CellRect(ACol, 1);
    Editor->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    Editor->SetText(Text);
    Editor->SetEnabled(true);
    Editor->SetVisible(true);
    Editor->SetFocus();
    ProcessPendingEvents();
    return Editor;
  }
};

TEST(GridEditors, AccessorsMakeEachEditorOnceOwnedParentedHiddenAndDisabled) {
  TEditorForm f;
  DEreDuzeroVaro* g = f.grid;
  const std::vector<std::pair<TWinControl*, TWinControl*>> made = {
      {g->SpinEdit(), g->SpinEdit()},
      {g->EditCombo(), g->EditCombo()},
      {g->EditCheck(), g->EditCheck()},
      {g->EditBtn(), g->EditBtn()},
      {g->UnitEditBtn(), g->UnitEditBtn()},
      {g->GridButton(), g->GridButton()},
      {g->DateTimePicker(), g->DateTimePicker()},
      {g->DateAndTimePicker(), g->DateAndTimePicker()},
      {g->TrackbarDropDown(), g->TrackbarDropDown()},
      {g->MemoDropDown(), g->MemoDropDown()},
      {g->CalculatorDropDown(), g->CalculatorDropDown()},
      {g->TimePickerDropDown(), g->TimePickerDropDown()},
      {g->DetailPickerDropDown(), g->DetailPickerDropDown()},
      {g->GridDropDown(), g->GridDropDown()},
      {g->ColorPickerDropDown(), g->ColorPickerDropDown()},
      {g->ImagePickerDropDown(), g->ImagePickerDropDown()},
  };
  for (size_t i = 0; i < made.size(); ++i) {
    SCOPED_TRACE(i);
    const auto& [first, again] = made[i];
    EXPECT_EQ(first, again);
    EXPECT_EQ(first->Owner(), g);
    EXPECT_EQ(first->Parent(), g);
    EXPECT_FALSE(first->Visible());
    EXPECT_FALSE(first->Enabled());
  }
  EXPECT_TRUE(g->TrackbarDropDown()->EditorEnabled());
  EXPECT_TRUE(g->CalculatorDropDown()->EditorEnabled());
  EXPECT_GT(g->ColorPickerDropDown()->Colors()->Count(), 0);
  EXPECT_TRUE(g->DateAndTimePicker()->AutoTab());
  EXPECT_EQ(g->SpinEdit()->MaxValue(), 100);
}

TEST(GridEditors, AnEditorNeedsAGridAsOwner) {
  TForm form{nullptr};
  EXPECT_THROW(TGridSpin spin(&form), EInvalidCast);
  EXPECT_THROW(TGridTrackbarDropDown dd(&form), EInvalidCast);
  // The date-and-time picker takes any owner.
  EXPECT_NO_THROW(TGridDateTimePicker picker(&form));
}

TEST(GridEditors, GridDropDownComesFromTheRegisteredFactoryOnly) {
  {
    TEditorForm f;
    EXPECT_EQ(f.grid->AdvGridDropDown(), nullptr);
  }
  int made = 0;
  RegisterAdvGridDropDownFactory([&](DEreDuzeroVaro* Grid) -> TAdvCustomDropDown* {
    ++made;
    return new TAdvTrackBarDropDown(Grid);
  });
  {
    TEditorForm f;
    TAdvCustomDropDown* dd = f.grid->AdvGridDropDown();
    ASSERT_NE(dd, nullptr);
    EXPECT_EQ(f.grid->AdvGridDropDown(), dd);
    EXPECT_EQ(made, 1);
    EXPECT_EQ(dd->Parent(), f.grid);
    EXPECT_FALSE(dd->Visible());
  }
  RegisterAdvGridDropDownFactory(nullptr);
}

TEST(GridSpin, PageKeysStepWithinTheLimitsHomeAndEndGoToThem) {
  struct TCase {
    int Start;
    Word Key;
    int Expected;
    bool UpDown;
  };
  const TCase cases[] = {
      {95, VK_PRIOR, 95, true}, {90, VK_PRIOR, 100, true}, {5, VK_NEXT, 5, false},
      {50, VK_NEXT, 40, false}, {50, VK_HOME, 100, true},  {50, VK_END, 0, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Start * 1000 + c.Key);
    TEditorForm f;
    std::vector<std::pair<int, bool>> clicks;
    f.grid->OnSpinClick = [&](TObject*, int, int, int Value, bool Up) { clicks.push_back({Value, Up}); };
    TGridSpin* spin = f.grid->SpinEdit();
    spin->SetIncrement(10);
    f.Open(spin, IntToStr(c.Start));
    SimulateKeyStroke(spin, c.Key);
    EXPECT_EQ(spin->Value(), c.Expected);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0], std::make_pair(c.Expected, c.UpDown));
  }
}

TEST(GridSpin, EnterValidatesRefusalKeepsTheCellTextEscapePutsTheCacheBack) {
  TEditorForm f;
  f.grid->SetCells(1, 1, u"7");
  TGridSpin* spin = f.Open(f.grid->SpinEdit(), u"7");
  spin->SetText(u"12");
  f.Refuse = true;
  SimulateKeyStroke(spin, VK_RETURN);
  EXPECT_EQ(f.Validated, std::vector<String>{u"12"});
  EXPECT_EQ(f.grid->Cells(1, 1), u"7");
  EXPECT_EQ(spin->Text(), u"7");

  f.Refuse = false;
  spin->SetText(u"13");
  SimulateKeyStroke(spin, VK_ESCAPE);
  EXPECT_EQ(spin->Text(), u"7");
  EXPECT_EQ(f.grid->Cells(1, 1), u"7");
}

TEST(GridSpin, EnterStoresTheAcceptedValue) {
  TEditorForm f;
  TGridSpin* spin = f.Open(f.grid->SpinEdit(), u"3");
  SimulateKeyStroke(spin, VK_PRIOR);  // one step: 3 -> 4
  SimulateKeyStroke(spin, VK_RETURN);
  EXPECT_EQ(f.grid->Cells(1, 1), u"4");
  EXPECT_EQ(f.Validated.back(), u"4");
}

TEST(GridSpin, ButtonsFireTheEventOfTheSpinType) {
  TEditorForm f;
  std::vector<String> events;
  f.grid->OnSpinClick = [&](TObject*, int, int, int V, bool Up) { events.push_back(u"int " + IntToStr(V) + (Up ? u" up" : u" down")); };
  f.grid->OnFloatSpinClick = [&](TObject*, int, int, double V, bool Up) {
    events.push_back(u"float " + FloatToStrF(V, ffFixed, 15, 1) + (Up ? u" up" : u" down"));
  };
  TGridSpin* spin = f.grid->SpinEdit();
  spin->SetSpinType(sptFloat);
  spin->SetIncrementFloat(0.5);
  f.Open(spin, u"1.0");
  spin->SetFloatValue(1.0);
  TAsgSpinButton* b = spin->Button();
  SimulateClick(b, b->Width() / 2, 2);
  SimulateClick(b, b->Width() / 2, b->Height() - 3);
  SimulateClick(b, b->Width() / 2, b->Height() - 3);
  const std::vector<String> expected{u"float 1.5 up", u"float 1.0 down", u"float 0.5 down"};
  EXPECT_EQ(events, expected);
}

TEST(GridSpin, TabWithGoTabsAndEnterWithAdvanceOnEnterEndTheEditInTheGrid) {
  for (Word key : {Word(VK_TAB), Word(VK_RETURN)}) {
    SCOPED_TRACE(key);
    TEditorForm f;
    if (key == VK_TAB) f.grid->SetOptions(f.grid->Options() + goTabs);
    else f.grid->Navigation()->SetAdvanceOnEnter(true);
    // Without AdvanceAutoEdit the edit ends in the next cell instead of opening there again.
    f.grid->Navigation()->SetAdvanceAutoEdit(false);
    TGridSpin* spin = f.Open(f.grid->SpinEdit(), u"5");
    SimulateKeyDown(spin, key);
    SimulateKeyUp(f.grid, key);
    EXPECT_EQ(f.grid->Cells(1, 1), u"5");
    EXPECT_FALSE(f.grid->EditMode());
    EXPECT_TRUE(f.grid->Focused());
  }
}

TEST(GridCombo, EscapePutsTheCellTextAndItsItemBack) {
  TEditorForm f;
  f.grid->SetCells(1, 1, u"Beta");
  TGridCombo* combo = f.grid->EditCombo();
  combo->Items()->Add(u"Alpha");
  combo->Items()->Add(u"Beta");
  f.Open(combo, u"Alpha");
  combo->SetItemIndex(0);
  SimulateKeyStroke(combo, VK_ESCAPE);
  EXPECT_EQ(combo->Text(), u"Beta");
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_FALSE(f.grid->EditMode());
}

TEST(GridCombo, EnterStoresThePickedText) {
  TEditorForm f;
  TGridCombo* combo = f.grid->EditCombo();
  combo->Items()->Add(u"Alpha");
  combo->Items()->Add(u"Beta");
  f.Open(combo, u"");
  SimulateTyping(combo, u"Gamma");
  SimulateKeyStroke(combo, VK_RETURN);
  EXPECT_EQ(f.grid->Cells(1, 1), u"Gamma");
  EXPECT_EQ(f.Validated, std::vector<String>{u"Gamma"});
}

TEST(GridCombo, AnItemPickedFromTheOpenListIsStored) {
  TEditorForm f;
  TGridCombo* combo = f.grid->EditCombo();
  for (const char16_t* item : {u"Alpha", u"Beta", u"Gamma"}) combo->Items()->Add(item);
  f.Open(combo, u"Alpha");
  combo->SetItemIndex(0);
  combo->SetDroppedDown(true);
  ProcessPendingEvents();
  ASSERT_TRUE(combo->DroppedDown());
  SimulateKeyStroke(combo, VK_DOWN);
  SimulateKeyStroke(combo, VK_DOWN);
  SimulateKeyStroke(combo, VK_RETURN);
  ProcessPendingEvents();
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(combo->Text(), u"Gamma");
  SimulateKeyStroke(combo, VK_RETURN);
  EXPECT_EQ(f.grid->Cells(1, 1), u"Gamma");
}

TEST(GridCombo, ListStyleLeftClosesTheEditorAndMovesOneColumnLeft) {
  TEditorForm f;
  TGridCombo* combo = f.grid->EditCombo();
  combo->SetStyle(csDropDownList);
  combo->Items()->Add(u"A");
  f.Open(combo, u"", 3);
  SimulateKeyDown(combo, VK_LEFT);
  SimulateKeyUp(f.grid, VK_LEFT);
  EXPECT_FALSE(f.grid->EditMode());
  EXPECT_EQ(f.grid->Col(), 2);
  EXPECT_EQ(f.grid->Row(), 1);
}

TEST(GridCombo, EditingStartedByAClickPutsTheCaretAtTheClickedCharacter) {
  TEditorForm f;
  f.grid->Navigation()->SetEditSelectAll(false);
  TGridCombo* combo = f.grid->EditCombo();
  const TRect r = f.grid->CellRect(1, 1);
  combo->SetBounds(r.Left, r.Top, 150, r.Height());
  TBitmap b;
  b.Canvas()->Font()->Assign(combo->Font());
  const int x = 3 + b.Canvas()->TextWidth(u"abc");
  f.grid->LButFlg = true;
  // The pointer rests where the click was, over the cell the combo will cover.
  const TPoint at = f.grid->ClientToScreen(TPoint(r.Left + x, r.Top + r.Height() / 2));
  SetCursorPos(at.X, at.Y);
  f.Open(combo, u"abcdef");
  EXPECT_EQ(combo->SelStart(), 3);
  EXPECT_EQ(combo->SelLength(), 0);
  EXPECT_FALSE(f.grid->LButFlg);
}

TEST(GridCombo, DroppedWidthFitsTheWidestItem) {
  TEditorForm f;
  TGridCombo* combo = f.grid->EditCombo();
  f.Open(combo, u"");
  combo->SetWidth(60);
  combo->Items()->Add(u"x");
  combo->SizeDropDownWidth();
  EXPECT_EQ(combo->Perform(CB_GETDROPPEDWIDTH), 60);  // every item fits
  const String wide = u"An item far wider than the box";
  TBitmap b;
  b.Canvas()->Font()->Assign(f.grid->Canvas()->Font());
  const int w = b.Canvas()->TextWidth(wide);
  combo->Items()->Add(wide);
  combo->SizeDropDownWidth();
  EXPECT_EQ(combo->Perform(CB_GETDROPPEDWIDTH), w + 8);
  combo->SetDropDownCount(1);  // with a scroll bar: room for it
  combo->SizeDropDownWidth();
  EXPECT_EQ(combo->Perform(CB_GETDROPPEDWIDTH), w + 25);
}

TEST(GridCombo, WheelStepsThroughTheItemsAndStopsAtTheEnds) {
  TEditorForm f;
  f.grid->SetColCount(6);
  std::vector<std::pair<int, String>> changes;
  f.grid->OnComboChange = [&](TObject* Sender, int ACol, int, int Index, const String& Sel) {
    EXPECT_EQ(Sender, f.grid);
    EXPECT_EQ(ACol, 1);
    changes.push_back({Index, Sel});
  };
  TGridCombo* combo = f.grid->EditCombo();
  combo->SetStyle(csDropDownList);
  combo->Items()->Add(u"A");
  combo->Items()->Add(u"B");
  f.Open(combo, u"");
  combo->SetItemIndex(0);
  const TPoint mid(combo->Width() / 2, combo->Height() / 2);
  SimulateMouseWheel(combo, -120, mid.X, mid.Y);  // down: next
  SimulateMouseWheel(combo, -120, mid.X, mid.Y);  // past the last: stays
  SimulateMouseWheel(combo, 120, mid.X, mid.Y);   // up: previous
  SimulateMouseWheel(combo, 120, mid.X, mid.Y);   // before the first: stays
  const std::vector<std::pair<int, String>> expected{{1, u"B"}, {0, u"A"}};
  EXPECT_EQ(changes, expected);
}

TEST(GridCombo, TypingCompletesFromTheItemsThenTheLookupItems) {
  TEditorForm f;
  f.grid->SetLookup(true);
  f.grid->LookupItems()->Add(u"Zulu");
  TGridCombo* combo = f.grid->EditCombo();
  combo->SetAutoComplete(false);
  combo->Items()->Add(u"Alpha");
  f.Open(combo, u"");
  SimulateTyping(combo, u"Al");
  EXPECT_EQ(combo->Text(), u"Alpha");
  EXPECT_EQ(combo->ItemIndex(), 0);
  EXPECT_EQ(combo->SelStart(), 2);
  EXPECT_EQ(combo->SelLength(), 3);
  combo->SetText(u"");
  SimulateTyping(combo, u"Zu");
  EXPECT_EQ(combo->Text(), u"Zulu");
}

// A drop-down editor validates on Enter and puts the cell text back on Escape.
template <class E>
void CheckDropDownKeys(E* (DEreDuzeroVaro::*Accessor)()) {
  {
    TEditorForm f;
    f.grid->SetCells(1, 1, u"5");
    E* dd = f.Open((f.grid->*Accessor)(), u"5");
    dd->SetTextDirect(u"9");
    SimulateKeyStroke(dd, VK_RETURN);
    EXPECT_EQ(f.grid->Cells(1, 1), u"9");
    EXPECT_EQ(f.Validated, std::vector<String>{u"9"});
  }
  {
    TEditorForm f;
    f.grid->SetCells(1, 1, u"5");
    E* dd = f.Open((f.grid->*Accessor)(), u"5");
    f.Refuse = true;
    dd->SetTextDirect(u"8");
    SimulateKeyStroke(dd, VK_RETURN);
    EXPECT_EQ(f.grid->Cells(1, 1), u"5");
    EXPECT_EQ(dd->Text(), u"5");  // the text the grid kept
  }
  {
    TEditorForm f;
    f.grid->SetCells(1, 1, u"5");
    E* dd = f.Open((f.grid->*Accessor)(), u"5");
    dd->SetTextDirect(u"7");
    SimulateKeyStroke(dd, VK_ESCAPE);
    EXPECT_EQ(dd->Text(), u"5");
    EXPECT_EQ(f.grid->Cells(1, 1), u"5");
    EXPECT_TRUE(f.Validated.empty());
    EXPECT_FALSE(f.grid->EditMode());
  }
}

TEST(GridDropDowns, EnterValidatesEscapeRestores) {
  {
    SCOPED_TRACE("track bar");
    CheckDropDownKeys(&DEreDuzeroVaro::TrackbarDropDown);
  }
  {
    SCOPED_TRACE("memo");
    CheckDropDownKeys(&DEreDuzeroVaro::MemoDropDown);
  }
  {
    SCOPED_TRACE("detail");
    CheckDropDownKeys(&DEreDuzeroVaro::DetailPickerDropDown);
  }
  {
    SCOPED_TRACE("multi-column");
    CheckDropDownKeys(&DEreDuzeroVaro::GridDropDown);
  }
}

TEST(GridDropDowns, OpeningThePopUpKeepsEditingAndEnterInItStores) {
  TEditorForm f;
  TGridMemoDropDown* memo = f.Open(f.grid->MemoDropDown(), u"");
  SimulateKeyStroke(memo, VK_F4);
  ProcessPendingEvents();
  ASSERT_TRUE(memo->DroppedDown());
  EXPECT_TRUE(f.grid->EditMode());
  EXPECT_TRUE(memo->Visible());
}

TEST(GridDropDowns, CalculatorComputesBeforeEnterStores) {
  TEditorForm f;
  TGridCalculatorDropDown* calc = f.Open(f.grid->CalculatorDropDown(), u"");
  SimulateTyping(calc, u"6+3");
  SimulateKeyStroke(calc, VK_RETURN);
  EXPECT_EQ(f.grid->Cells(1, 1), FloatToStrF(9.0, ffFixed, 15, calc->Precision()));
}

TEST(GridEditBtn, ButtonTakesTheEllipsisTextOfTheRealColumn) {
  TEditorForm f;
  f.grid->HideColumn(0);
  int col = -1;
  f.grid->OnEllipsClick = [&](TObject*, int ACol, int, String& S) {
    col = ACol;
    S = S + u"!";
  };
  TGridEditBtn* e = f.Open(f.grid->EditBtn(), u"go");
  TAsgEditButton* b = e->Button();
  SimulateClick(b, b->Width() / 2, b->Height() / 2);
  EXPECT_EQ(e->Text(), u"go!");
  EXPECT_EQ(col, f.grid->RealColIndex(f.grid->Col()));
  EXPECT_EQ(e->SelLength(), 3);
}

TEST(GridEditBtn, NumericKindDropsAMinusAfterADigit) {
  TEditorForm f;
  TGridEditBtn* e = f.Open(f.grid->EditBtn(), u"");
  f.grid->EditControl = edNumericEditBtn;
  SimulateTyping(e, u"-1-2a");
  EXPECT_EQ(e->Text(), u"-12");
  f.grid->EditControl = edFloatEditBtn;
  e->SetText(u"");
  SimulateTyping(e, u"1.5.2");
  EXPECT_EQ(e->Text(), u"1.52");
}

TEST(GridUnitEditBtn, EnterStoresTextAndUnitEscapeClearsTheUnit) {
  TEditorForm f;
  TGridUnitEditBtn* e = f.grid->UnitEditBtn();
  e->Units()->Add(u"mm");
  e->Units()->Add(u"cm");
  f.Open(e, u"");
  e->SetTextAndUnit(u"12cm");
  SimulateKeyStroke(e, VK_RETURN);
  EXPECT_EQ(f.grid->Cells(1, 1), u"12cm");
  EXPECT_EQ(e->UnitID(), u"cm");
  e->SetText(u"99");
  SimulateKeyStroke(e, VK_ESCAPE);
  EXPECT_EQ(e->UnitID(), u"");
  EXPECT_EQ(e->Text(), u"12cm");
}

TEST(GridDatePicker, EscapePutsTheCellDateBackAnUnreadableCellGivesToday) {
  TEditorForm f;
  f.grid->SetCells(1, 1, DateToStr(EncodeDate(2021, 3, 4)));
  TGridDatePicker* p = f.grid->DateTimePicker();
  f.Open(p, u"");
  p->SetDate(EncodeDate(2020, 1, 1));
  SimulateKeyStroke(p, VK_ESCAPE);
  EXPECT_EQ(p->Date(), EncodeDate(2021, 3, 4));
  f.grid->SetCells(1, 1, u"no date");
  f.Open(p, u"");
  p->SetDate(EncodeDate(2020, 1, 1));
  SimulateKeyStroke(p, VK_ESCAPE);
  EXPECT_EQ(p->Date(), Date());
}

TEST(GridDatePicker, ADigitThatCompletesADayOrMonthMovesTheInputOn) {
  TEditorForm f;
  TGridDatePicker* p = f.grid->DateTimePicker();
  p->SetFormat(u"dd.MM.yyyy");
  f.Open(p, u"");
  p->SetDate(EncodeDate(2020, 1, 1));
  ProcessPendingEvents();
  SimulateChar(p, u'5');
  ProcessPendingEvents();  // the picker looks at the day it took
  ProcessPendingEvents();  // and moves the input on
  SimulateChar(p, u'7');
  ProcessPendingEvents();
  // "5" made the day and moved on: "7" went to the month.
  EXPECT_EQ(p->Date(), EncodeDate(2020, 7, 5));
}

TEST(GridCheckBox, ClickTogglesOnceEscapePutsTheCellTextBackAsCaption) {
  TEditorForm f;
  f.grid->SetCells(1, 1, u"Done");
  TGridCheckBox* c = f.Open(f.grid->EditCheck(), u"Other");
  ASSERT_FALSE(c->Checked());
  SimulateClick(c, 5, c->Height() / 2);
  EXPECT_TRUE(c->Checked());
  SimulateKeyStroke(c, VK_ESCAPE);
  EXPECT_EQ(c->Caption(), u"Done");
  EXPECT_FALSE(f.grid->EditMode());
  EXPECT_TRUE(f.grid->Focused());
}

TEST(GridButton, SpaceReleaseWritesTheEllipsisTextIntoTheCell) {
  TEditorForm f;
  f.grid->OnEllipsClick = [](TObject*, int, int, String& S) { S = u"picked"; };
  TGridButton* b = f.Open(f.grid->GridButton(), u"...");
  SimulateKeyStroke(b, VK_SPACE);
  EXPECT_EQ(b->Caption(), u"picked");
  EXPECT_EQ(f.grid->Cells(1, 1), u"picked");
}

TEST(GridButton, ArrowClosesTheButtonAndMovesTheCell) {
  TEditorForm f;
  TGridButton* b = f.Open(f.grid->GridButton(), u"...");
  SimulateKeyDown(b, VK_DOWN);
  SimulateKeyUp(f.grid, VK_DOWN);
  EXPECT_FALSE(b->Visible());
  EXPECT_FALSE(b->Enabled());
  EXPECT_FALSE(f.grid->EditMode());
  EXPECT_EQ(f.grid->Row(), 2);
}

// ---------------------------------------------------------------------------
// Form controls inside tagged cells

String TagValue(const String& Cell, const String& ID) {
  String v;
  EXPECT_TRUE(GetHtmlControlValue(Cell, ID, v));
  return v;
}

TEST(CellControlEdit, PasswordShowsStarsAndEnterWritesTheTagValue) {
  TEditorForm f;
  const String cell = u"<CONTROL TYPE=\"PASSWORD\" ID=\"pw\" VALUE=\"\" WIDTH=\"80\">";
  f.grid->SetCells(1, 1, cell);
  std::vector<String> done;
  f.grid->OnControlEditDone = [&](TObject*, int ARow, int ACol, const String& ID, const String& Type, const String& V) {
    done.push_back(IntToStr(ACol) + u"," + IntToStr(ARow) + u"," + ID + u"," + Type + u"," + V);
  };
  f.grid->StartCellControlEdit(cell, u"PASSWORD", 1, 1, TRect(100, 30, 180, 50), u"", u"pw");
  TControlEdit* e = f.grid->ControlEdit();
  ASSERT_TRUE(e->Visible());
  EXPECT_EQ(e->PasswordChar(), u'*');
  EXPECT_EQ(e->Left(), 101);
  EXPECT_EQ(e->Width(), 76);
  SimulateTyping(e, u"abc");
  SimulateKeyDown(e, VK_RETURN);
  SimulateKeyUp(f.grid, VK_RETURN);
  EXPECT_FALSE(e->Visible());
  EXPECT_EQ(TagValue(f.grid->Cells(1, 1), u"pw"), u"abc");
  EXPECT_EQ(done, std::vector<String>{u"1,1,pw,PASSWORD,abc"});
  EXPECT_FALSE(f.grid->CellControlEditing());
}

TEST(CellControlEdit, MaxLenLimitsTheEditAndLeavingWritesBackAsEnterDoes) {
  TEditorForm f;
  const String cell = u"<CONTROL TYPE=\"EDIT\" ID=\"e\" VALUE=\"x\" MAXLEN=\"5\">";
  f.grid->SetCells(2, 2, cell);
  f.grid->StartCellControlEdit(cell, u"EDIT", 2, 2, TRect(10, 10, 90, 30), u"x", u"e");
  TControlEdit* e = f.grid->ControlEdit();
  EXPECT_EQ(e->MaxLength(), 5);
  e->SelectAll();
  SimulateTyping(e, u"1234567");
  EXPECT_EQ(e->Text(), u"12345");
  // A click elsewhere in the grid ends the edit as Enter does.
  const TRect other = f.grid->CellRect(3, 3);
  SimulateClick(f.grid, other.Left + 5, other.Top + 5);
  EXPECT_FALSE(e->Visible());
  EXPECT_EQ(TagValue(f.grid->Cells(2, 2), u"e"), u"12345");
}

TEST(CellControlEdit, MaskControlEditsThroughItsMask) {
  TEditorForm f;
  const String cell = u"<CONTROL TYPE=\"MASK\" ID=\"m\" VALUE=\"\" PROP=\"00:00\">";
  f.grid->SetCells(1, 1, cell);
  f.grid->StartCellControlEdit(cell, u"MASK", 1, 1, TRect(10, 10, 90, 30), u"", u"m");
  TControlEdit* e = f.grid->ControlEdit();
  EXPECT_EQ(e->EditMask(), u"00:00");
  EXPECT_EQ(e->PasswordChar(), Char(0));
  SimulateTyping(e, u"1a234");
  EXPECT_EQ(e->Text(), u"12:34");
}

TEST(CellControlEdit, ComboListHandlerChoosesStyleAndDropCountUnknownValueSelectsNothing) {
  TEditorForm f;
  const String cell = u"<CONTROL TYPE=\"COMBO\" ID=\"c\" VALUE=\"zz\">";
  f.grid->SetCells(1, 1, cell);
  f.grid->OnControlComboList = [](TObject*, int, int, const String&, const String&, const String&, TStrings* Values,
                                  bool& Edit, int& DropCount) {
    Values->Add(u"one");
    Values->Add(u"two");
    Edit = true;
    DropCount = 4;
  };
  f.grid->StartCellControlEdit(cell, u"COMBO", 1, 1, TRect(100, 30, 180, 50), u"zz", u"c");
  TControlCombo* c = f.grid->ControlCombo();
  EXPECT_EQ(c->Style(), csDropDown);
  EXPECT_EQ(c->DropDownCount(), 4);
  EXPECT_EQ(c->ItemIndex(), -1);
  EXPECT_EQ(c->Text(), u"zz");
  c->SetDroppedDown(false);
  ProcessPendingEvents();
  f.grid->OnControlComboList = [](TObject*, int, int, const String&, const String&, const String&, TStrings* Values,
                                  bool& Edit, int& DropCount) {
    Values->Add(u"one");
    Edit = false;
    DropCount = 4;
  };
  f.grid->SetFocus();
  ProcessPendingEvents();
  f.grid->StartCellControlEdit(cell, u"COMBO", 1, 1, TRect(100, 30, 180, 50), u"one", u"c");
  EXPECT_EQ(c->Style(), csDropDownList);
  EXPECT_EQ(c->ItemIndex(), 0);
}

TEST(CellControlEdit, TabInTheLastControlGivesTheGridTheFocus) {
  TEditorForm f;
  const String cell = u"<CONTROL TYPE=\"EDIT\" ID=\"a\" VALUE=\"\">";
  f.grid->SetCells(1, 1, cell);
  f.grid->SetCol(1);
  f.grid->SetRow(1);
  f.grid->StartCellControlEdit(cell, u"EDIT", 1, 1, TRect(100, 30, 180, 50), u"", u"a");
  TControlEdit* e = f.grid->ControlEdit();
  SimulateTyping(e, u"x");
  SimulateKeyDown(e, VK_TAB);
  SimulateKeyUp(f.grid, VK_TAB);
  EXPECT_FALSE(e->Visible());
  EXPECT_TRUE(f.grid->Focused());
  EXPECT_EQ(TagValue(f.grid->Cells(1, 1), u"a"), u"x");
}

TEST(CellControlEdit, OtherTypesOpenNothing) {
  TEditorForm f;
  f.grid->StartCellControlEdit(u"", u"CHECK", 1, 1, TRect(0, 0, 10, 10), u"", u"x");
  EXPECT_FALSE(f.grid->CellControlEditing());
  f.grid->StartCellControlEdit(u"", u"edit", 1, 1, TRect(0, 0, 10, 10), u"", u"x");
  EXPECT_FALSE(f.grid->CellControlEditing());
}

}  // namespace
