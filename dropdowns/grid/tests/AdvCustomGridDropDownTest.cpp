// The grid drop-down: item and row through the item number (also after sorting and narrowing),
// choosing in the open grid by keys, clicks and lookup (not by the wheel alone), narrowing,
// completion and keys in the closed edit, the grid's events forwarded, and the grid's cell editor
// of this kind made through the factory.

#include <gtest/gtest.h>

#include <vector>

#include "dropdowns/grid/AdvCustomGridDropDownEditor.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "testing/TestSupport.h"

using namespace AdvCustomGridDropDown;

namespace {

using Rows = std::vector<std::vector<String>>;

struct GridDropFixture {
  TForm form{nullptr};
  TEdit* other;
  TCustomAdvGridDropDown* dd;
  int selects = 0;
  explicit GridDropFixture(const Rows& Items = {}, int Columns = 2) {
    form.SetBorderStyle(bsNone);
    form.SetBounds(100, 100, 400, 300);
    other = new TEdit(&form);
    other->SetParent(&form);
    other->SetBounds(10, 10, 60, 24);
    other->SetTabStop(true);
    dd = new TCustomAdvGridDropDown(&form);
    dd->SetParent(&form);
    dd->SetBounds(100, 100, 160, 24);
    dd->SetTabStop(true);
    for (int c = 0; c < Columns; ++c) dd->Columns()->Add()->SetHeader(u"Col " + IntToStr(c));
    Fill(Items);
    dd->OnSelect = [this](TObject*) { ++selects; };
    form.Show();
    ProcessPendingEvents();
  }
  void Fill(const Rows& Items) {
    dd->BeginUpdate();
    dd->Items()->Clear();
    for (const auto& r : Items) {
      TDropDownItem* it = dd->Items()->Add();
      for (const String& s : r) it->Text()->Add(s);
    }
    dd->EndUpdate();
  }
  TAdvColGrid* Grid() const { return dd->ColGrid(); }
  void Key(TWinControl* Target, Word K, TShiftState Shift = {}) {
    SimulateKeyStroke(Target, K, Shift);
    ProcessPendingEvents();
  }
  void Type(TWinControl* Target, const String& Text) {
    for (Char c : Text) {
      SimulateChar(Target, c);
      ProcessPendingEvents();
    }
  }
  // A key that closes the pop-up (pressed in the grid) is released where the keyboard then is.
  void ClosingKey(Word K, TShiftState Shift = {}) {
    SimulateKeyDown(Grid(), K, Shift);
    SimulateKeyUp(dd, K, Shift);
    ProcessPendingEvents();
  }
  void Open() {
    dd->SetFocus();
    ProcessPendingEvents();
    Key(dd, VK_F4);
    ASSERT_TRUE(dd->DroppedDown());
  }
  TPoint RowPoint(int Row) {
    const TRect r = Grid()->CellRect(0, Row);
    return TPoint(r.Left + 5, (r.Top + r.Bottom) / 2);
  }
  // The lookup-column texts of the grid's data rows, top to bottom.
  std::vector<String> Shown() {
    std::vector<String> out;
    for (int r = Grid()->FixedRows(); r < Grid()->RowCount(); ++r) out.push_back(Grid()->Cells(0, r));
    return out;
  }
};

Rows Fruits() {
  return {{u"Pear", u"3"}, {u"Apple", u"1"}, {u"Banana", u"5"}, {u"Cherry", u"2"}, {u"Apricot", u"4"}};
}

TEST(AdvCustomGridDropDown, NewDropDownHasItsDefaultsAndVersion) {
  GridDropFixture f;
  EXPECT_EQ(f.dd->ItemIndex(), -1);
  EXPECT_TRUE(f.dd->UseItems());
  EXPECT_EQ(f.dd->LookupMethod(), lmLookup);
  EXPECT_EQ(f.dd->Style(), dsDropDown);
  EXPECT_EQ(f.dd->DropDownHeight(), 200);
  EXPECT_EQ(f.dd->DropDownRowHeight(), 22);
  EXPECT_EQ(f.dd->HeaderHeight(), 25);
  // The Office 2007 selection style of a new drop-down sets its lines.
  EXPECT_EQ(f.dd->LineColor(), 0xF1EDEB);
  EXPECT_EQ(f.dd->FixedLineColor(), 0xD1BBA4);
  EXPECT_EQ(f.dd->Navigation()->HomeEndKey(), heFirstLastRow);
  EXPECT_EQ(f.dd->Version(), u"6.0.1.0");
  ASSERT_NE(f.dd->GetGrid(), nullptr);
  EXPECT_EQ(f.Grid()->FixedRows(), 1);
  EXPECT_TRUE(f.Grid()->Options().Contains(goRowSelect));
  EXPECT_FALSE(f.Grid()->Options().Contains(goRangeSelect));
  // The pick-only style cannot be typed in.
  f.dd->SetStyle(dsDropDownList);
  EXPECT_FALSE(f.dd->EditorEnabled());
}

TEST(AdvCustomGridDropDown, LooksSetTheGridColours) {
  struct Case {
    TZOLStyle style;
    TColor header, headerTo, font, line, fixedLine, selectionText;
  };
  const Case cases[] = {
      {tsOffice2003Blue, 0xD68759, 0x933803, 0xFFFFFF, 0x962D00, 0x962D00, clBlack},
      {tsWindowsXP, clBtnFace, clBtnFace, clBlack, 0xC0C0C0, clBlack, clHighlightText},
      {tsWindowsVista, 0xFFFDF9, 0xFFFAF0, clBlack, 0xFCF2DA, 0xFCF2DA, clBlack},
  };
  for (const Case& c : cases) {
    GridDropFixture f;
    f.dd->SetComponentStyle(c.style);
    EXPECT_EQ(f.dd->HeaderColor(), c.header) << int(c.style);
    EXPECT_EQ(f.dd->HeaderColorTo(), c.headerTo) << int(c.style);
    EXPECT_EQ(f.dd->HeaderFont()->Color(), c.font) << int(c.style);
    EXPECT_EQ(f.dd->LineColor(), c.line) << int(c.style);
    EXPECT_EQ(f.dd->FixedLineColor(), c.fixedLine) << int(c.style);
    EXPECT_EQ(f.dd->SelectionTextColor(), c.selectionText) << int(c.style);
    f.dd->SetComponentStyle(tsCustom);  // changes nothing
    EXPECT_EQ(f.dd->LineColor(), c.line);
  }
}

TEST(AdvCustomGridDropDown, ItemIndexWritesTheLookupTextAndIgnoresIndexesPastTheEnd) {
  GridDropFixture f({{u"Only first"}, {u"A", u"Alpha"}, {}});
  f.dd->SetLookupColumn(1);
  f.dd->SetItemIndex(1);
  EXPECT_EQ(f.dd->Text(), u"Alpha");
  // A missing text counts as empty.
  f.dd->SetItemIndex(0);
  EXPECT_EQ(f.dd->Text(), u"");
  f.dd->SetItemIndex(1);
  f.dd->SetItemIndex(3);
  EXPECT_EQ(f.dd->ItemIndex(), 1);
  f.dd->SetItemIndex(-1);
  EXPECT_EQ(f.dd->Text(), u"");
  // Items copy their texts.
  TDropDownItems copy(nullptr);
  copy.Assign(f.dd->Items());
  EXPECT_EQ(copy.Items(1)->ColumnText(1), u"Alpha");
}

TEST(AdvCustomGridDropDown, OpeningWritesTheItemsWithTheirNumbersAndShowsTheSelectedOne) {
  GridDropFixture f(Fruits());
  f.dd->SetItemIndex(3);
  f.Open();
  EXPECT_EQ(f.Grid()->RowCount(), 6);
  EXPECT_EQ(f.Grid()->Cells(0, 0), u"Col 0");
  EXPECT_EQ(f.Grid()->Cells(1, 2), u"1");
  EXPECT_EQ(f.Grid()->Row(), 4);
  for (int r = 1; r < 6; ++r) EXPECT_EQ(f.dd->RowToItem(r), r - 1);
  // Enter at once keeps the item chosen before opening.
  f.ClosingKey(VK_RETURN);
  EXPECT_FALSE(f.dd->DroppedDown());
  EXPECT_EQ(f.dd->ItemIndex(), 3);
  EXPECT_EQ(f.dd->Text(), u"Cherry");
  EXPECT_EQ(f.selects, 1);
}

TEST(AdvCustomGridDropDown, AfterASortTheSameItemStaysChosenAndAcceptingReturnsItsNumber) {
  GridDropFixture f(Fruits());
  f.dd->SetItemIndex(0);  // Pear
  f.Open();
  f.Grid()->SortSettings()->SetColumn(0);
  f.Grid()->QSort();
  ProcessPendingEvents();
  EXPECT_EQ(f.Shown(), (std::vector<String>{u"Apple", u"Apricot", u"Banana", u"Cherry", u"Pear"}));
  EXPECT_EQ(f.dd->ItemToRow(0), 5);
  // Up from Pear lands on Cherry, item 3, at row 4.
  f.Grid()->SetRow(f.dd->ItemToRow(0));
  f.Key(f.Grid(), VK_UP);
  EXPECT_EQ(f.Grid()->Row(), 4);
  EXPECT_EQ(f.dd->ItemIndex(), 3);
  EXPECT_EQ(f.dd->Text(), u"Cherry");
  f.ClosingKey(VK_RETURN);
  EXPECT_EQ(f.dd->ItemIndex(), 3);
  EXPECT_EQ(f.dd->Text(), u"Cherry");
  // A sort the header shows is made again at the next opening, and the item's row is current.
  f.Grid()->SortSettings()->SetShow(true);
  f.dd->SetSorting(gsSingleColumn);
  f.Open();
  EXPECT_EQ(f.Grid()->Cells(0, 1), u"Apple");
  EXPECT_EQ(f.Grid()->Row(), 4);
  f.ClosingKey(VK_ESCAPE);
}

TEST(AdvCustomGridDropDown, AHeaderClickSortsAndKeepsTheChosenItemCurrent) {
  GridDropFixture f(Fruits());
  f.dd->SetSorting(gsSingleColumn);
  f.dd->SetItemIndex(2);  // Banana
  f.Open();
  const TRect h = f.Grid()->CellRect(0, 0);
  SimulateClick(f.Grid(), (h.Left + h.Right) / 2 - 10, (h.Top + h.Bottom) / 2);
  ProcessPendingEvents();
  EXPECT_EQ(f.Shown(), (std::vector<String>{u"Apple", u"Apricot", u"Banana", u"Cherry", u"Pear"}));
  EXPECT_TRUE(f.dd->DroppedDown());
  EXPECT_EQ(f.Grid()->Row(), 3);
  f.ClosingKey(VK_RETURN);
  EXPECT_EQ(f.dd->ItemIndex(), 2);
  EXPECT_EQ(f.dd->Text(), u"Banana");
}

TEST(AdvCustomGridDropDown, LookupInTheOpenGridGoesThroughTheItemNumbers) {
  GridDropFixture f(Fruits());
  f.Open();
  f.Grid()->SortSettings()->SetColumn(1);  // by the numbers: Apple, Cherry, Pear, Apricot, Banana
  f.Grid()->QSort();
  f.Type(f.Grid(), u"b");
  EXPECT_EQ(f.Grid()->Row(), 5);
  EXPECT_EQ(f.dd->ItemIndex(), 2);
  EXPECT_EQ(f.dd->Text(), u"Banana");
  f.Type(f.Grid(), u"x");  // the editable style keeps the entry and the row on a miss
  EXPECT_EQ(f.Grid()->Row(), 5);
  f.ClosingKey(VK_RETURN);
  EXPECT_EQ(f.dd->ItemIndex(), 2);
}

TEST(AdvCustomGridDropDown, PickOnlyLookupRestartsWithTheCharacterAlone) {
  GridDropFixture f(Fruits());
  f.dd->SetStyle(dsDropDownList);
  f.Open();
  f.Type(f.Grid(), u"ap");
  EXPECT_EQ(f.dd->Text(), u"Apple");
  f.Type(f.Grid(), u"r");  // "apr" continues to Apricot
  EXPECT_EQ(f.dd->Text(), u"Apricot");
  f.Type(f.Grid(), u"c");  // "aprc" matches nothing: a new search for "c"
  EXPECT_EQ(f.dd->Text(), u"Cherry");
  EXPECT_EQ(f.dd->ItemIndex(), 3);
  f.ClosingKey(VK_ESCAPE);
}

TEST(AdvCustomGridDropDown, NarrowingKeepsMatchingRowsStartsAtTheFirstAndClearsWithTheEntry) {
  GridDropFixture f(Fruits());
  f.dd->SetLookupMethod(lmNarrowDown);
  f.Open();
  f.Type(f.Grid(), u"r");
  EXPECT_EQ(f.Shown(), (std::vector<String>{u"Pear", u"Cherry", u"Apricot"}));
  f.Type(f.Grid(), u"r");
  EXPECT_EQ(f.Shown(), (std::vector<String>{u"Cherry"}));
  // The first data row is current, the edit shows it with the untyped part selected.
  EXPECT_EQ(f.Grid()->Row(), 1);
  EXPECT_EQ(f.dd->Text(), u"Cherry");
  EXPECT_EQ(f.dd->SelStart(), 2);
  EXPECT_EQ(f.dd->SelLength(), 4);
  f.Type(f.Grid(), u"z");  // nothing left: the header stays and the entry is kept
  EXPECT_EQ(f.Grid()->RowCount(), 1);
  f.Type(f.Grid(), u"\b");
  EXPECT_EQ(f.Shown(), (std::vector<String>{u"Cherry"}));
  f.Type(f.Grid(), u"\b\b");
  EXPECT_EQ(f.Grid()->RowCount(), 6);
  // A narrowed row accepted gives its item.
  f.Type(f.Grid(), u"nan");
  EXPECT_EQ(f.Shown(), (std::vector<String>{u"Banana"}));
  f.ClosingKey(VK_RETURN);
  EXPECT_EQ(f.dd->ItemIndex(), 2);
  EXPECT_EQ(f.dd->Text(), u"Banana");
}

TEST(AdvCustomGridDropDown, NarrowingTextWithFilterCharactersNeverRaises) {
  GridDropFixture f({{u"a*b"}, {u"(x)"}, {u"!no"}, {u"<5"}, {u"plain"}}, 1);
  f.dd->SetLookupMethod(lmNarrowDown);
  f.Open();
  for (const char16_t* s : {u"*", u"(", u"!", u"<", u"&", u"|", u"\"", u"?", u"="}) {
    EXPECT_NO_THROW(f.Type(f.Grid(), String(s) + u"*(!<&|"));
    f.Type(f.Grid(), String(8, u'\b'));
  }
  EXPECT_EQ(f.Grid()->RowCount(), 6);
  f.ClosingKey(VK_ESCAPE);
}

TEST(AdvCustomGridDropDown, KeysInTheOpenGridShowTheRowLiveAndEscapeRestores) {
  GridDropFixture f(Fruits());
  f.dd->SetItemIndex(1);
  f.Open();
  f.Key(f.Grid(), VK_DOWN);
  f.Key(f.Grid(), VK_DOWN);
  EXPECT_EQ(f.dd->ItemIndex(), 3);
  EXPECT_EQ(f.dd->Text(), u"Cherry");
  f.ClosingKey(VK_ESCAPE);
  EXPECT_FALSE(f.dd->DroppedDown());
  EXPECT_EQ(f.dd->ItemIndex(), 1);
  EXPECT_EQ(f.dd->Text(), u"Apple");
  // A click on a data row takes it and closes.
  f.Open();
  const TPoint p = f.RowPoint(3);
  SimulateClick(f.Grid(), p.X, p.Y);
  ProcessPendingEvents();
  EXPECT_FALSE(f.dd->DroppedDown());
  EXPECT_EQ(f.dd->ItemIndex(), 2);
  EXPECT_EQ(f.dd->Text(), u"Banana");
  EXPECT_EQ(f.selects, 1);
}

TEST(AdvCustomGridDropDown, WheelThenClickOutsideKeepsTheOldItem) {
  Rows many;
  for (int i = 0; i < 30; ++i) many.push_back({u"Item " + IntToStr(i)});
  GridDropFixture f(many, 1);
  f.dd->SetItemIndex(4);
  f.Open();
  const TPoint p = f.RowPoint(f.Grid()->Row());
  SimulateMouseWheel(f.Grid(), -120, p.X, p.Y);
  ProcessPendingEvents();
  EXPECT_GT(f.Grid()->Row(), 5);
  EXPECT_EQ(f.dd->ItemIndex(), 4);
  EXPECT_EQ(f.dd->Text(), u"Item 4");
  const TPoint outside = f.other->ClientToScreen(TPoint(5, 5));
  SimulatePressOutside(f.dd->DropDownForm(), outside.X, outside.Y);
  ProcessPendingEvents();
  EXPECT_FALSE(f.dd->DroppedDown());
  EXPECT_EQ(f.dd->ItemIndex(), 4);
  EXPECT_EQ(f.dd->Text(), u"Item 4");
}

TEST(AdvCustomGridDropDown, ClosedEditCompletesStepsAndForgetsUnknownTextsOnEscape) {
  GridDropFixture f(Fruits());
  f.dd->SetFocus();
  ProcessPendingEvents();
  f.Type(f.dd, u"apr");
  EXPECT_EQ(f.dd->Text(), u"Apricot");  // the lookup writes the item's own text
  EXPECT_EQ(f.dd->SelStart(), 3);
  EXPECT_EQ(f.dd->SelLength(), 4);
  f.Key(f.dd, VK_DOWN);
  EXPECT_EQ(f.dd->ItemIndex(), 4);  // the completion named Apricot; Down stops at the last
  f.Key(f.dd, VK_UP);
  EXPECT_EQ(f.dd->ItemIndex(), 3);
  EXPECT_EQ(f.dd->Text(), u"Cherry");
  f.Key(f.dd, VK_PRIOR);
  EXPECT_EQ(f.dd->ItemIndex(), 0);
  f.Key(f.dd, VK_NEXT);
  EXPECT_EQ(f.dd->ItemIndex(), 4);
  // A text that is no item leaves no item after Escape.
  f.dd->SelectAll();
  f.Type(f.dd, u"zz");
  f.Key(f.dd, VK_ESCAPE);
  EXPECT_EQ(f.dd->ItemIndex(), -1);
}

TEST(AdvCustomGridDropDown, BackspaceInTheEditRemovesOnlyTheCompletion) {
  GridDropFixture f(Fruits());
  f.dd->SetFocus();
  ProcessPendingEvents();
  f.Type(f.dd, u"Ch");
  EXPECT_EQ(f.dd->Text(), u"Cherry");
  f.Type(f.dd, u"\b");
  EXPECT_EQ(f.dd->Text(), u"Ch");
}

TEST(AdvCustomGridDropDown, GridFilledRowsCountFromTheFirstDataRow) {
  GridDropFixture f({}, 1);
  f.dd->SetUseItems(false);
  DEreDuzeroVaro* g = f.dd->GetGrid();
  g->SetColCount(2);
  g->SetRowCount(4);
  g->SetCells(0, 1, u"North");
  g->SetCells(0, 2, u"South");
  g->SetCells(0, 3, u"West");
  f.dd->SetFocus();
  ProcessPendingEvents();
  f.Type(f.dd, u"S");
  EXPECT_EQ(f.dd->ItemIndex(), 1);  // row 2 less the header row
  EXPECT_EQ(f.dd->Text(), u"South");
  f.Open();
  EXPECT_EQ(g->Row(), 2);
  f.Key(g, VK_DOWN);
  f.ClosingKey(VK_RETURN);
  EXPECT_EQ(f.dd->ItemIndex(), 2);
  EXPECT_EQ(f.dd->Text(), u"West");
}

TEST(AdvCustomGridDropDown, GridEventsReachTheDropDownWithTheGridAsSender) {
  GridDropFixture f(Fruits());
  TObject* colourSender = nullptr;
  TObject* keySender = nullptr;
  TObject* downSender = nullptr;
  int colours = 0;
  f.dd->OnGridGetCellColor = [&](TObject* S, int, int, TGridDrawState, TBrush*, TFont*) {
    colourSender = S;
    ++colours;
  };
  f.dd->OnGridKeyDown = [&](TObject* S, Word&, TShiftState) { keySender = S; };
  f.dd->OnGridMouseDown = [&](TObject* S, TMouseButton, TShiftState, int, int) { downSender = S; };
  f.dd->Columns()->Items(1)->SetAlignment(taRightJustify);
  f.Open();
  RenderControl(f.dd->DropDownForm());
  EXPECT_GT(colours, 0);
  EXPECT_EQ(colourSender, f.Grid());
  TAlignment h = taLeftJustify;
  TVAlignment v = vtaTop;
  f.Grid()->GetAlignment(1, 2, h, v);
  EXPECT_EQ(h, taRightJustify);  // the column's alignment first
  f.Key(f.Grid(), VK_DOWN);
  EXPECT_EQ(keySender, f.dd);
  const TPoint p = f.RowPoint(2);
  SimulateClick(f.Grid(), p.X, p.Y);
  ProcessPendingEvents();
  EXPECT_EQ(downSender, f.Grid());
}

TEST(AdvCustomGridDropDown, MovingARowBlocksThePopUpsDeactivation) {
  GridDropFixture f(Fruits());
  f.Open();
  EXPECT_FALSE(f.dd->DropDownForm()->BlockActivate());
  f.Grid()->StartBlockFocus();
  EXPECT_TRUE(f.dd->DropDownForm()->BlockActivate());
  f.Grid()->EndBlockFocus();
  EXPECT_FALSE(f.dd->DropDownForm()->BlockActivate());
  f.ClosingKey(VK_ESCAPE);
}

TEST(AdvCustomGridDropDown, AHundredThousandItemsOpenAndLookUp) {
  Rows many;
  many.reserve(100000);
  for (int i = 0; i < 100000; ++i) many.push_back({u"Entry " + IntToStr(i), IntToStr(i)});
  GridDropFixture f(many);
  f.dd->SetItemIndex(99999);
  f.Open();
  EXPECT_EQ(f.Grid()->RowCount(), 100001);
  EXPECT_EQ(f.Grid()->Row(), 100000);
  f.Type(f.Grid(), u"entry 5000");
  EXPECT_EQ(f.dd->ItemIndex(), 5000);
  f.ClosingKey(VK_RETURN);
  EXPECT_EQ(f.dd->Text(), u"Entry 5000");
}

TEST(AdvCustomGridDropDown, TheGridMakesItsEditorOfThisKindThroughTheFactory) {
  RegisterAdvGridDropDownEditor();
  TForm form(nullptr);
  auto* grid = new DEreDuzeroVaro(&form);
  grid->SetParent(&form);
  TAdvCustomDropDown* editor = grid->AdvGridDropDown();
  auto* dd = dynamic_cast<TGridAdvGridDropDown*>(editor);
  ASSERT_NE(dd, nullptr);
  EXPECT_EQ(dd->Owner(), grid);
  EXPECT_NE(dd->GetGrid(), nullptr);
  EXPECT_EQ(grid->AdvGridDropDown(), editor);
}

}  // namespace
