// The multi-column drop-down: columns fitted to the window, completion while typing in the
// edit, search in the open list, rows chosen by keys and mouse (not by the wheel alone), and
// items with fewer texts than columns.

#include <gtest/gtest.h>

#include <vector>

#include "AdvDropDownHost.h"
#include "dropdowns/AdvMultiColumnDropDown.h"
#include "dropdowns/demo/DropDownsDemo.h"

using namespace AdvMultiColumnDropDown;

namespace {

struct MultiFixture : TDropDownHost<TAdvMultiColumnDropDown> {
  int changes = 0, selects = 0;
  explicit MultiFixture(const std::vector<std::vector<String>>& Rows = {}, int Columns = 2) {
    for (int c = 0; c < Columns; ++c) dd->Columns()->Add()->SetHeader(u"Col " + IntToStr(c));
    Fill(Rows);
    dd->OnChange = [this](TObject*) { ++changes; };
    dd->OnSelect = [this](TObject*) { ++selects; };
    Show();
  }
  void Fill(const std::vector<std::vector<String>>& Rows) {
    dd->BeginUpdate();
    dd->Items()->Clear();
    for (const auto& r : Rows) {
      TDropDownItem* it = dd->Items()->Add();
      for (const String& s : r) it->Text()->Add(s);
    }
    dd->EndUpdate();
  }
  TAdvColGrid* Grid() const { return dd->Grid(); }
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
  void Open() {
    dd->SetFocus();
    Key(dd, VK_F4);
    ASSERT_TRUE(dd->DroppedDown());
  }
  // The middle of a data row of the open list.
  TPoint RowPoint(int Row) {
    const TRect r = Grid()->CellRect(0, Row);
    return TPoint(r.Left + 5, (r.Top + r.Bottom) / 2);
  }
};

std::vector<std::vector<String>> Numbered(int N) {
  std::vector<std::vector<String>> rows;
  for (int i = 0; i < N; ++i) rows.push_back({u"Item " + IntToStr(i), IntToStr(i)});
  return rows;
}

TEST(AdvMultiColumnDropDown, NewDropDownHasTheListDefaults) {
  MultiFixture f;
  EXPECT_EQ(f.dd->HeaderColor(), 0xFFFFFF);
  EXPECT_EQ(f.dd->HeaderColorTo(), 0x808080);
  EXPECT_EQ(f.dd->HeaderHeight(), 25);
  EXPECT_EQ(f.dd->HeaderFont()->Color(), 0x723708);
  EXPECT_EQ(f.dd->DropDownRowHeight(), 22);
  EXPECT_EQ(f.dd->LineColor(), 0xF1EDEB);
  EXPECT_EQ(f.dd->FixedLineColor(), 0xD1BBA4);
  EXPECT_EQ(f.dd->DropDownHeight(), 200);
  EXPECT_EQ(f.dd->DropDownColor(), clWhite);
  EXPECT_EQ(f.dd->ItemIndex(), -1);
  EXPECT_EQ(f.dd->Text(), u"");
  EXPECT_TRUE(f.dd->MatchStart());
  EXPECT_FALSE(f.dd->CaseSensitive());
}

TEST(AdvMultiColumnDropDown, LooksSetTheListColours) {
  struct Case {
    TZOLStyle style;
    TColor header, headerTo, font, line, fixedLine, selection, selectionText;
  };
  const Case cases[] = {
      {tsOffice2003Blue, 0xD68759, 0x933803, clWhite, 0x962D00, 0x962D00, 0xD7FFFD, clBlack},
      {tsWindowsXP, clBtnFace, clBtnFace, clBlack, 0xC0C0C0, clBlack, clHighlight, clHighlightText},
      {tsWindows7, 0xFDFBFA, 0xFDF3EB, clBlack, 0xFBD6B8, 0xFBD6B8, 0xFCEBDC, clBlack},
      {tsOffice2010Black, 0x828282, clNone, 0xD7D7D6, 0xEEDDCF, 0xEEDDCF, 0x6CD0FF, clBlack},
  };
  for (const Case& c : cases) {
    MultiFixture f;
    f.dd->SetComponentStyle(c.style);
    EXPECT_EQ(f.dd->HeaderColor(), c.header) << int(c.style);
    EXPECT_EQ(f.dd->HeaderColorTo(), c.headerTo) << int(c.style);
    EXPECT_EQ(f.dd->HeaderFont()->Color(), c.font) << int(c.style);
    EXPECT_EQ(f.dd->LineColor(), c.line) << int(c.style);
    EXPECT_EQ(f.dd->FixedLineColor(), c.fixedLine) << int(c.style);
    EXPECT_EQ(f.dd->SelectionColor(), c.selection) << int(c.style);
    EXPECT_EQ(f.dd->SelectionTextColor(), c.selectionText) << int(c.style);
    // The custom look keeps them all.
    f.dd->SetComponentStyle(tsCustom);
    EXPECT_EQ(f.dd->LineColor(), c.line);
    EXPECT_EQ(f.dd->HeaderColorTo(), c.headerTo);
  }
}

TEST(AdvMultiColumnDropDown, ColumnFitRoundsHalfToEvenAndCarriesPositiveRemainders) {
  struct Case {
    std::vector<int> designed;
    int avail;
    std::vector<int> widths;
  };
  const Case cases[] = {
      {{10, 10, 10, 10, 10, 10}, 100, {16, 16, 17, 16, 16, 17}},
      {{80, 80}, 162, {80, 80}},
      {{1}, 5, {2}},            // 2.5 rounds to the even 2
      {{3}, 14, {10}},          // 10.5 rounds to the even 10
      {{10, 10, 10}, 62, {20, 20, 20}},
      {{50, 30}, 40, {25, 15}},  // shrunk
  };
  for (const Case& c : cases) EXPECT_EQ(FitColumnWidths(c.designed, c.avail), c.widths) << c.avail;
}

TEST(AdvMultiColumnDropDown, OpenListFitsSixColumnsToAHundredPixelWindow) {
  MultiFixture f(Numbered(3), 6);
  for (int c = 0; c < 6; ++c) f.dd->Columns()->Items(c)->SetWidth(10);
  f.dd->SetDropDownAutoWidth(false);
  f.dd->SetDropDownWidth(100);
  f.Open();
  std::vector<int> widths;
  for (int c = 0; c < 6; ++c) widths.push_back(f.Grid()->ColWidths(c));
  EXPECT_EQ(widths, (std::vector<int>{16, 16, 17, 16, 16, 17}));
}

TEST(AdvMultiColumnDropDown, AutoWidthWindowHoldsTheColumnsAndItsBorder) {
  MultiFixture f(Numbered(3), 2);
  f.Open();
  EXPECT_EQ(f.dd->DropDownForm()->Width(), 162);
  EXPECT_EQ(f.dd->DropDownForm()->Height(), 200);
}

TEST(AdvMultiColumnDropDown, ColumnSizingLetsTheHeaderEdgesBeDragged) {
  for (bool sizing : {false, true}) {
    MultiFixture f(Numbered(3), 2);
    f.dd->SetColumnSizing(sizing);
    f.Open();
    const int before = f.Grid()->ColWidths(0);
    const int edge = f.Grid()->CellRect(0, 0).Right - 1;
    SimulateMouseDown(f.Grid(), mbLeft, edge, 10);
    SimulateMouseMove(f.Grid(), edge + 15, 10, {ssLeft});
    SimulateMouseUp(f.Grid(), mbLeft, edge + 30, 10);
    ProcessPendingEvents();
    EXPECT_EQ(f.Grid()->ColWidths(0), sizing ? before + 30 : before) << sizing;
    EXPECT_TRUE(f.dd->DroppedDown());
    EXPECT_EQ(f.dd->ItemIndex(), -1);
  }
}

TEST(AdvMultiColumnDropDown, EmptyListOpensAndClosesByKeys) {
  MultiFixture f({}, 0);
  f.Open();
  f.Key(f.Grid(), VK_DOWN);
  f.Type(f.Grid(), u"x");
  f.ClosingKey(f.Grid(), VK_RETURN);
  EXPECT_FALSE(f.dd->DroppedDown());
  EXPECT_EQ(f.dd->ItemIndex(), -1);
  EXPECT_EQ(f.dd->Text(), u"");
}

TEST(AdvMultiColumnDropDown, AutoSizedColumnTakesItsWidestTextAndTheWindowFollows) {
  MultiFixture f({{u"i", u"1"}, {u"WWWWWWWWWW", u"2"}, {u"ii", u"3"}}, 2);
  f.dd->Columns()->Items(0)->SetAutoSize(true);
  f.dd->SetColumnSizeWithDropDown(false);
  f.Open();
  const int w = f.Grid()->ColWidths(0);
  EXPECT_GT(w, 40);
  EXPECT_LT(w, 200);
  EXPECT_EQ(f.Grid()->Columns()->Items(0)->Width(), w);
  EXPECT_EQ(f.dd->Columns()->Items(0)->Width(), 80);  // the designed width stays
  EXPECT_EQ(f.dd->DropDownForm()->Width(), w + 80 + 2);
}

TEST(AdvMultiColumnDropDown, WrappingColumnMakesRowsAtLeast24High) {
  MultiFixture f({{u"a", u"short"}, {u"b", u"a long note that wraps over several lines in its column"}}, 2);
  f.dd->Columns()->Items(1)->SetWordwrap(true);
  f.Open();
  EXPECT_EQ(f.Grid()->RowHeights(1), 24);
  EXPECT_GT(f.Grid()->RowHeights(2), 40);  // grown to the wrapped lines
  EXPECT_EQ(f.Grid()->RowHeights(0), 25);
}

// Typing into the edit completes from the lookup column; the table gives the keys typed
// (after an optional start text and caret) and the text, selection and item afterwards.
TEST(AdvMultiColumnDropDown, CompletionTable) {
  struct Case {
    String start;
    int caret;
    String typed;
    String text;
    int selStart, selLength, item;
  };
  const String longTail(300, u'x');
  const Case cases[] = {
      {u"", 0, u"ap", u"apple", 2, 3, 0},
      {u"", 0, u"apple", u"Apple", 5, 0, 0},       // a whole entry typed takes its stored case
      {u"", 0, u"APR", u"APRicot", 3, 4, 1},
      {u"Apricot", 3, u"z", u"Aprz", 4, 0, 1},      // nothing starts so: the rest is dropped
      {u"", 0, u"lo", u"lo" + longTail, 2, 300, 2}, // the whole tail, however long
      {u"", 0, u"q", u"q", 1, 0, -1},
  };
  for (const Case& c : cases) {
    MultiFixture f({{u"Apple", u"1"}, {u"Apricot", u"2"}, {u"Lo" + longTail, u"3"}});
    f.dd->SetFocus();
    ProcessPendingEvents();
    if (!c.start.empty()) {
      f.dd->SetItemIndex(f.dd->GetItemIndex(c.start));
      f.dd->Select(c.caret, 0);
    }
    f.Type(f.dd, c.typed);
    EXPECT_EQ(f.dd->Text(), c.text) << StringToUTF8(c.typed);
    EXPECT_EQ(f.dd->SelStart(), c.selStart) << StringToUTF8(c.typed);
    EXPECT_EQ(f.dd->SelLength(), c.selLength) << StringToUTF8(c.typed);
    EXPECT_EQ(f.dd->ItemIndex(), c.item) << StringToUTF8(c.typed);
  }
}

TEST(AdvMultiColumnDropDown, CompletingKeystrokeReportsTheChangeTwice) {
  MultiFixture f({{u"Apple"}, {u"Apricot"}}, 1);
  f.dd->SetFocus();
  ProcessPendingEvents();
  f.Type(f.dd, u"a");
  EXPECT_EQ(f.dd->Text(), u"apple");
  EXPECT_EQ(f.changes, 2);  // the typed character, then the completion's write
}

TEST(AdvMultiColumnDropDown, EnterTakesAnEntryTypedInAnyCaseAndEscapeSelectsTheItemOfTheText) {
  MultiFixture f({{u"Apple"}, {u"Apricot"}}, 1);
  f.dd->SetFocus();
  ProcessPendingEvents();
  f.dd->SetItemIndex(1);
  f.dd->SelectAll();
  f.Key(f.dd, VK_BACK);  // Backspace does not complete
  EXPECT_EQ(f.dd->Text(), u"");
  f.Key(f.dd, VK_ESCAPE);  // no entry is empty: no item
  EXPECT_EQ(f.dd->ItemIndex(), -1);
  f.dd->SetText(u"APPLE");
  f.Key(f.dd, VK_RETURN);
  EXPECT_EQ(f.dd->Text(), u"Apple");
  EXPECT_EQ(f.dd->ItemIndex(), 0);
}

TEST(AdvMultiColumnDropDown, ReturnIsTabTakesTheEntryAndMovesTheFocusOn) {
  MultiFixture f({{u"Apple"}, {u"Apricot"}}, 1);
  f.dd->SetReturnIsTab(true);
  f.dd->SetFocus();
  ProcessPendingEvents();
  f.Type(f.dd, u"apr");
  ASSERT_EQ(f.dd->Text(), u"apricot");
  f.Key(f.dd, VK_RETURN);
  EXPECT_EQ(f.dd->Text(), u"Apricot");
  EXPECT_EQ(f.dd->ItemIndex(), 1);
  EXPECT_TRUE(f.other->Focused());
}

TEST(AdvMultiColumnDropDown, ClosedEditCursorKeys) {
  struct Case {
    Word key;
    int from, to;
  };
  const Case cases[] = {
      {VK_NEXT, 5, 11}, {VK_PRIOR, 5, 0}, {VK_NEXT, 8, 11}, {VK_DOWN, -1, 0}, {VK_DOWN, 11, 11},
      {VK_UP, 0, 0},    {VK_UP, 4, 3},    {VK_HOME, 5, 5},  {VK_END, 5, 5},   {VK_UP, -1, 0},
  };
  MultiFixture f(Numbered(12));
  f.dd->SetFocus();
  ProcessPendingEvents();
  for (const Case& c : cases) {
    f.dd->SetItemIndex(c.from);
    f.Key(f.dd, c.key);
    EXPECT_EQ(f.dd->ItemIndex(), c.to) << c.key << " from " << c.from;
    if (c.to >= 0) {
      EXPECT_EQ(f.dd->Text(), u"Item " + IntToStr(c.to));
    }
  }
  // Pick-only, Home and End go to the ends.
  f.dd->SetEditorEnabled(false);
  f.dd->SetItemIndex(5);
  f.Key(f.dd, VK_END);
  EXPECT_EQ(f.dd->ItemIndex(), 11);
  f.Key(f.dd, VK_HOME);
  EXPECT_EQ(f.dd->ItemIndex(), 0);
}

TEST(AdvMultiColumnDropDown, WheelOverTheClosedEditStepsTheItem) {
  MultiFixture f(Numbered(5));
  f.dd->SetItemIndex(2);
  SimulateMouseWheel(f.dd, -120, 20, 10);
  ProcessPendingEvents();
  EXPECT_EQ(f.dd->ItemIndex(), 3);
  SimulateMouseWheel(f.dd, 120, 20, 10);
  SimulateMouseWheel(f.dd, 120, 20, 10);
  ProcessPendingEvents();
  EXPECT_EQ(f.dd->ItemIndex(), 1);
}

TEST(AdvMultiColumnDropDown, OpenListSearchFindsByTypedStartInAnyCaseAndRestartsOnAMiss) {
  MultiFixture f({{u"Apple"}, {u"bEach"}, {u"Berry"}, {u"Xylo"}}, 1);
  f.Open();
  f.Type(f.Grid(), u"B");
  EXPECT_EQ(f.dd->ItemIndex(), 1);
  EXPECT_EQ(f.Grid()->Row(), 2);
  f.Type(f.Grid(), u"e");
  EXPECT_EQ(f.dd->ItemIndex(), 1);
  EXPECT_EQ(f.dd->Text(), u"bEach");
  EXPECT_EQ(f.dd->SelStart(), 2);
  EXPECT_EQ(f.dd->SelLength(), 3);
  f.Type(f.Grid(), u"r");  // "BER"
  EXPECT_EQ(f.dd->ItemIndex(), 2);
  f.Type(f.Grid(), u"x");  // no item starts "BERX": x alone
  EXPECT_EQ(f.dd->ItemIndex(), 3);
  EXPECT_EQ(f.dd->Text(), u"Xylo");
  EXPECT_EQ(f.Grid()->Row(), 4);
  f.ClosingKey(f.Grid(), VK_RETURN);
  EXPECT_FALSE(f.dd->DroppedDown());
  EXPECT_EQ(f.dd->ItemIndex(), 3);
  EXPECT_EQ(f.selects, 1);
}

TEST(AdvMultiColumnDropDown, SearchAndCompletionMatchLettersBeyondASCIIInAnyCase) {
  MultiFixture f({{u"Apple"}, {u"\u00C4pfel"}, {u"\u00E9t\u00E9"}}, 1);
  f.Open();
  f.Type(f.Grid(), u"\u00E4p");
  EXPECT_EQ(f.dd->ItemIndex(), 1);
  f.Type(f.Grid(), u"F");
  EXPECT_EQ(f.dd->Text(), u"\u00C4pfel");
  f.ClosingKey(f.Grid(), VK_ESCAPE);
  f.dd->SetFocus();
  ProcessPendingEvents();
  f.dd->SetText(u"");
  f.Type(f.dd, u"\u00C9T");
  EXPECT_EQ(f.dd->Text(), u"\u00C9T\u00E9");
  EXPECT_EQ(f.dd->ItemIndex(), 2);
}

TEST(AdvMultiColumnDropDown, BackspaceInTheOpenListDeletesExactlyTheSelection) {
  MultiFixture f({{u"Apple"}, {u"Berry"}}, 1);
  f.Open();
  f.Type(f.Grid(), u"Be");
  ASSERT_EQ(f.dd->Text(), u"Berry");
  ASSERT_EQ(f.dd->SelStart(), 2);
  f.Key(f.Grid(), VK_BACK);
  EXPECT_EQ(f.dd->Text(), u"Be");
  EXPECT_EQ(f.dd->SelStart(), 2);
}

TEST(AdvMultiColumnDropDown, KeysAndClicksInTheOpenListChooseRows) {
  MultiFixture f(Numbered(20));
  f.dd->SetItemIndex(2);
  f.Open();
  EXPECT_EQ(f.Grid()->Row(), 3);
  // Each row change shows at once; Escape returns to the item of the opening.
  for (int i = 0; i < 3; ++i) f.Key(f.Grid(), VK_DOWN);
  EXPECT_EQ(f.dd->ItemIndex(), 5);
  EXPECT_EQ(f.dd->Text(), u"Item 5");
  SimulateKeyDown(f.Grid(), VK_ESCAPE);
  SimulateKeyUp(f.dd, VK_ESCAPE);
  ProcessPendingEvents();
  EXPECT_FALSE(f.dd->DroppedDown());
  EXPECT_EQ(f.dd->ItemIndex(), 2);
  EXPECT_EQ(f.dd->Text(), u"Item 2");
  // A click on a row takes it and closes.
  f.Open();
  const TPoint p = f.RowPoint(f.Grid()->TopRow() + 1);
  const int row = f.Grid()->MouseCoord(p.X, p.Y).Y;
  SimulateClick(f.Grid(), p.X, p.Y);
  ProcessPendingEvents();
  EXPECT_FALSE(f.dd->DroppedDown());
  EXPECT_EQ(f.dd->ItemIndex(), row - 1);
  EXPECT_EQ(f.selects, 1);
}

TEST(AdvMultiColumnDropDown, AltUpInTheOpenListClosesOnceAndKeepsTheRowChosenByKeys) {
  MultiFixture f(Numbered(10));
  f.dd->SetItemIndex(1);
  f.Open();
  f.Key(f.Grid(), VK_DOWN);
  f.Key(f.Grid(), VK_DOWN);
  f.ClosingKey(f.Grid(), VK_UP, {ssAlt});
  EXPECT_FALSE(f.dd->DroppedDown());
  EXPECT_EQ(f.dd->ItemIndex(), 3);
  EXPECT_EQ(f.dd->Text(), u"Item 3");
  EXPECT_TRUE(f.dd->Focused());
}

TEST(AdvMultiColumnDropDown, WheelThenClickOutsideKeepsTheOldItem) {
  MultiFixture f(Numbered(20));
  f.dd->SetItemIndex(4);
  f.Open();
  const TPoint p = f.RowPoint(f.Grid()->Row());
  SimulateMouseWheel(f.Grid(), -120, p.X, p.Y);
  SimulateMouseWheel(f.Grid(), -120, p.X, p.Y);
  ProcessPendingEvents();
  EXPECT_EQ(f.Grid()->Row(), 7);
  EXPECT_EQ(f.dd->ItemIndex(), 4);
  // On the host form's other edit.
  const TPoint outside = f.other->ClientToScreen(TPoint(5, 5));
  SimulatePressOutside(f.dd->DropDownForm(), outside.X, outside.Y);
  ProcessPendingEvents();
  EXPECT_FALSE(f.dd->DroppedDown());
  EXPECT_EQ(f.dd->ItemIndex(), 4);
  EXPECT_EQ(f.dd->Text(), u"Item 4");
}

TEST(AdvMultiColumnDropDown, ItemsWithFewerTextsThanColumnsCountAsEmpty) {
  MultiFixture f({{u"Only first"}, {u"A", u"Alpha"}, {}}, 2);
  f.dd->SetLookupColumn(1);
  f.dd->EndUpdate();
  EXPECT_EQ(f.dd->GetItemIndex(u"Alpha"), 1);
  EXPECT_EQ(f.dd->GetItemIndex(u""), 0);
  EXPECT_EQ(f.dd->Items()->IndexInColumn(1, u"Alpha"), 1);
  f.dd->SetItemIndex(0);
  EXPECT_EQ(f.dd->Text(), u"");
  f.Open();
  f.Type(f.Grid(), u"al");
  EXPECT_EQ(f.dd->ItemIndex(), 1);
  EXPECT_EQ(f.dd->Text(), u"Alpha");
  auto bmp = RenderControl(f.dd->DropDownForm());  // paints every row without a text
  EXPECT_NE(bmp, nullptr);
}

TEST(AdvMultiColumnDropDown, CompletionFromAListOlderThanTheItemsNamesNoItemPastTheEnd) {
  MultiFixture f(Numbered(6));
  f.dd->Items()->Delete(5);  // without EndUpdate: typing still completes from the old list
  f.dd->Items()->Delete(4);
  f.dd->SetFocus();
  ProcessPendingEvents();
  f.Type(f.dd, u"Item 5");
  EXPECT_EQ(f.dd->Text(), u"Item 5");
  EXPECT_LT(f.dd->ItemIndex(), 4);
  f.Key(f.dd, VK_F4);
  EXPECT_TRUE(f.dd->DroppedDown());
  EXPECT_EQ(f.Grid()->RowCount(), 5);
}

TEST(AdvMultiColumnDropDown, ItemAssignCopiesTextsAndDropDownAssignCopiesItems) {
  MultiFixture f({{u"a", u"b"}, {u"c", u"d"}});
  TDropDownItems copy(nullptr);
  copy.Assign(f.dd->Items());
  ASSERT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy.Items(1)->ColumnText(1), u"d");
  TAdvMultiColumnDropDown* other = new TAdvMultiColumnDropDown(&f.form);
  f.dd->SetLookupColumn(1);
  other->Assign(f.dd);
  EXPECT_EQ(other->Items()->Items(0)->ColumnText(1), u"b");
  EXPECT_EQ(other->LookupColumn(), 1);
  EXPECT_EQ(other->Columns()->Count(), 2);
}

TEST(AdvMultiColumnDropDown, HeaderAndSelectedRowPaint) {
  MultiFixture f(Numbered(3));
  f.dd->SetHeaderColorTo(clNone);
  f.dd->SetHeaderColor(0x00FF00);
  f.dd->SetItemIndex(1);
  f.Open();
  auto bmp = RenderControl(f.Grid());
  // The header is a plain fill; the selected row is not the white of the others.
  EXPECT_EQ(PixelColor(*bmp, 40, 5), TColor(0x00FF00));
  const TRect sel = f.Grid()->CellRect(1, 2), plain = f.Grid()->CellRect(1, 3);
  EXPECT_NE(PixelColor(*bmp, sel.Left + 30, sel.Top + 4), TColor(0xFFFFFF));
  EXPECT_EQ(PixelColor(*bmp, plain.Left + 60, plain.Top + 4), TColor(0xFFFFFF));
}

TEST(AdvMultiColumnDropDown, GridDrawsItsOwnLinesInTheLineColours) {
  MultiFixture f(Numbered(3));
  f.dd->SetLineColor(0x0000FF);
  f.dd->SetFixedLineColor(0xFF0000);
  f.Open();
  EXPECT_EQ(f.Grid()->TStringGrid::GridLineWidth(), 0);
  EXPECT_EQ(f.Grid()->GridLineWidth(), 1);
  auto bmp = RenderControl(f.Grid());
  const TRect head = f.Grid()->CellRect(0, 0), cell = f.Grid()->CellRect(0, 3);
  // The last pixel row and column of each cell carry its bottom and right lines.
  EXPECT_EQ(PixelColor(*bmp, head.Left + 10, head.Bottom - 1), TColor(0xFF0000));
  EXPECT_EQ(PixelColor(*bmp, head.Right - 1, head.Top + 10), TColor(0xFF0000));
  EXPECT_EQ(PixelColor(*bmp, cell.Left + 10, cell.Bottom - 1), TColor(0x0000FF));
  EXPECT_EQ(PixelColor(*bmp, cell.Right - 1, cell.Top + 10), TColor(0x0000FF));
  EXPECT_EQ(PixelColor(*bmp, cell.Right - 5, cell.Top + 2), TColor(0xFFFFFF));
}

TEST(AdvMultiColumnDropDown, ImageColumnShowsTheItemsImageBeforeItsText) {
  MultiFixture f({{u"one", u"a"}, {u"two", u"b"}}, 2);
  TCustomImageList images(16, 16);
  TBitmap red(16, 16);
  red.Canvas()->Brush()->SetColor(0x0000FF);
  red.Canvas()->FillRect(Rect(0, 0, 16, 16));
  images.Add(&red, nullptr);
  f.dd->SetImages(&images);
  f.dd->Columns()->Items(0)->SetColumnType(ctImage);
  f.dd->Items()->Items(0)->SetImageIndex(0);
  f.Open();
  auto bmp = RenderControl(f.Grid());
  const TRect withImage = f.Grid()->CellRect(0, 1), without = f.Grid()->CellRect(0, 2);
  const int y = (withImage.Top + withImage.Bottom) / 2;
  EXPECT_EQ(PixelColor(*bmp, withImage.Left + 1 + 2 + 8, y), TColor(0x0000FF));
  EXPECT_NE(PixelColor(*bmp, without.Left + 1 + 2 + 8, (without.Top + without.Bottom) / 2), TColor(0x0000FF));
  f.dd->SetImages(nullptr);
}

TEST(AdvMultiColumnDropDown, HundredThousandItemsOpenAndSearch) {
  MultiFixture f(Numbered(100000));
  f.Open();
  f.Type(f.Grid(), u"Item 9999");
  EXPECT_EQ(f.dd->ItemIndex(), 9999);
  EXPECT_EQ(f.Grid()->Row(), 10000);
  f.ClosingKey(f.Grid(), VK_RETURN);
  EXPECT_EQ(f.dd->Text(), u"Item 9999");
}

TEST(AdvMultiColumnDropDown, DemoPicksAModelByTypingInTheOpenList) {
  TDropDownsDemoForm form(nullptr);
  form.Show();
  ProcessPendingEvents();
  TAdvMultiColumnDropDown* dd = form.MultiColumnDropDown();
  EXPECT_EQ(dd->Text(), u"RCV910X");
  dd->SetFocus();
  ProcessPendingEvents();
  SimulateKeyStroke(dd, VK_F4);
  ProcessPendingEvents();
  ASSERT_TRUE(dd->DroppedDown());
  SimulateTyping(dd->Grid(), u"rcv92");
  ProcessPendingEvents();
  SimulateKeyDown(dd->Grid(), VK_RETURN);
  SimulateKeyUp(dd, VK_RETURN);
  ProcessPendingEvents();
  EXPECT_FALSE(dd->DroppedDown());
  EXPECT_EQ(dd->Text(), u"RCV920");
  EXPECT_EQ(form.Status()->Caption(), u"Model: RCV920");
}

}  // namespace
