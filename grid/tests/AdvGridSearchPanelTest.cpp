// The string grid's search panel: the SearchFooter settings carried over to it, its layout and
// painting, typing, Enter, Ctrl+Enter and the buttons driving the grid's find with the
// keyboard and the mouse, highlighting, closing, and the client area above it.
#include <gtest/gtest.h>

#include <vector>

#include "grid/AdvGridSearchPanel.h"
#include "platform/ui/StdCtrls.h"
#include "grid/AdvGridValuesModule.h"
#include "grid/tests/GridTestSupport.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/win/WinUser.h"

namespace {

class SearchPanelTest : public ::testing::Test {
protected:
  TGridForm f;
  DEreDuzeroVaro& g = *f.grid;
  TSearchFooter* sf = g.SearchFooter();

  // Column by column the walk meets "apple" at (1, 3), (2, 5) and (3, 2); "Apple" at (3, 7).
  void SetUp() override {
    g.SetColCount(5);
    g.SetRowCount(10);
    for (int c = 1; c < 5; ++c)
      for (int r = 1; r < 10; ++r) g.SetCells(c, r, u"item");
    g.SetCells(1, 3, u"an apple");
    g.SetCells(2, 5, u"apple pie");
    g.SetCells(3, 2, u"apples");
    g.SetCells(3, 7, u"Apple");
    sf->SetFindNextCaption(u"Find &next");
    sf->SetFindPrevCaption(u"Find &previous");
    sf->SetHighLightCaption(u"Highlight");
    sf->SetMatchCaseCaption(u"Match case");
    sf->SetVisible(true);
    ProcessPendingEvents();
  }
  TSearchPanel* panel() { return g.SearchPanel(); }
  TPoint current() { return TPoint(g.Col(), g.Row()); }
  void type(const String& Text) {
    SimulateTyping(panel()->Edit(), Text);
    ProcessPendingEvents();
  }
  void clickButton(TControl* Button) {
    SimulateClick(Button, Button->Width() / 2, Button->Height() / 2);
    ProcessPendingEvents();
  }
};

TEST_F(SearchPanelTest, ShowsAtTheBottomEdgeAndTheGridEndsAboveIt) {
  ASSERT_NE(panel(), nullptr);
  EXPECT_TRUE(panel()->Visible());
  EXPECT_EQ(panel()->Height(), 32);
  const int shown = g.ClientHeight();
  EXPECT_EQ(panel()->Top(), shown);
  EXPECT_EQ(panel()->Width(), g.ClientWidth());

  sf->SetVisible(false);
  EXPECT_FALSE(panel()->Visible());
  EXPECT_EQ(panel()->Height(), 0);
  EXPECT_EQ(g.ClientHeight(), shown + 32);
  sf->SetVisible(true);
  EXPECT_EQ(g.ClientHeight(), shown);
}

TEST_F(SearchPanelTest, PartsTakeTheirPlacesCaptionsAndHints) {
  struct TCase {
    TControl* Control;
    TRect Bounds;
  };
  TSearchPanel* p = panel();
  const std::vector<TCase> cases{{p->ExitButton(), TRect(5, 7, 19, 21)},
                                 {p->ForwardButton(), TRect(140, 5, 230, 28)},
                                 {p->BackwardButton(), TRect(235, 5, 325, 28)},
                                 {p->HiliteButton(), TRect(330, 5, 420, 28)}};
  for (const TCase& c : cases) EXPECT_EQ(c.Control->BoundsRect(), c.Bounds) << StringToUTF8(c.Control->Caption());
  EXPECT_EQ(p->Edit()->Left(), 25);
  EXPECT_EQ(p->Edit()->Top(), 6);
  EXPECT_EQ(p->Edit()->Width(), 110);
  EXPECT_EQ(p->MatchCase()->Left(), 425);
  EXPECT_EQ(p->MatchCase()->Top(), 8);
  EXPECT_EQ(p->MatchCase()->Height(), 18);

  EXPECT_EQ(p->ForwardButton()->Caption(), u"Find &next");
  EXPECT_EQ(p->BackwardButton()->Caption(), u"Find &previous");
  EXPECT_EQ(p->HiliteButton()->Caption(), u"Highlight");
  EXPECT_EQ(p->MatchCase()->Caption(), u"Match case");
  EXPECT_EQ(p->ExitButton()->Caption(), u"");
  EXPECT_EQ(p->HiliteButton()->Style(), tasCheck);

  // Half-width katakana captions and hints go over as they are; an empty hint shows none.
  sf->SetFindNextCaption(u"ｼﾞｷﾞ(&N)");
  sf->SetHintFindNext(u"ﾂｷﾞｦｻｶﾞｽ");
  sf->SetHintClose(u"");
  EXPECT_EQ(p->ForwardButton()->Caption(), u"ｼﾞｷﾞ(&N)");
  EXPECT_EQ(p->FindNextCaption(), u"ｼﾞｷﾞ(&N)");
  EXPECT_EQ(p->ForwardButton()->Hint(), u"ﾂｷﾞｦｻｶﾞｽ");
  EXPECT_TRUE(p->ForwardButton()->ShowHint());
  EXPECT_FALSE(p->ExitButton()->ShowHint());
}

TEST_F(SearchPanelTest, HiddenPartsCollapseAndMatchCaseTakesTheHighlightPlace) {
  TSearchPanel* p = panel();
  sf->SetShowHighLight(false);
  EXPECT_FALSE(p->HiliteButton()->Visible());
  EXPECT_EQ(p->HiliteButton()->Height(), 0);
  EXPECT_EQ(p->MatchCase()->Left(), 330);
  sf->SetShowFindPrev(false);
  sf->SetShowFindNext(false);
  sf->SetShowMatchCase(false);
  sf->SetShowClose(false);
  EXPECT_EQ(p->BackwardButton()->Height(), 0);
  EXPECT_EQ(p->ForwardButton()->Height(), 0);
  EXPECT_EQ(p->MatchCase()->Height(), 0);
  EXPECT_FALSE(p->ExitButton()->Visible());
  sf->SetShowHighLight(true);
  EXPECT_EQ(p->MatchCase()->Left(), 425);
  EXPECT_EQ(p->HiliteButton()->Height(), 23);
}

TEST_F(SearchPanelTest, ButtonLookFollowsTheControlStyle) {
  struct TCase {
    TCellControlStyle Style;
    bool ThemeAdapt, Flat, XP;
  };
  const TCase cases[] = {{csFlat, false, true, false},
                         {csClassic, false, false, false},
                         {csWinXP, false, false, true},
                         {csTheme, false, false, true},
                         {csWinXP, true, true, false}};
  for (const TCase& c : cases) {
    TGridForm other;
    DEreDuzeroVaro& o = *other.grid;
    o.ControlLook()->SetControlStyle(c.Style);
    o.SetAutoThemeAdapt(c.ThemeAdapt);
    o.SearchFooter()->SetVisible(true);
    for (TAdvGridButton* b : {o.SearchPanel()->ForwardButton(), o.SearchPanel()->BackwardButton(),
                              o.SearchPanel()->HiliteButton()}) {
      EXPECT_EQ(b->Flat(), c.Flat) << int(c.Style) << c.ThemeAdapt;
      EXPECT_EQ(b->AutoXPStyle(), c.XP) << int(c.Style) << c.ThemeAdapt;
      EXPECT_EQ(b->AutoThemeAdapt(), c.ThemeAdapt);
    }
  }
}

TEST_F(SearchPanelTest, TypingEnablesTheButtonsAndSearchesFromTheTop) {
  TSearchPanel* p = panel();
  for (TAdvGridButton* b : {p->ForwardButton(), p->BackwardButton(), p->HiliteButton()}) EXPECT_FALSE(b->Enabled());
  g.FocusCell(4, 9);
  type(u"app");
  for (TAdvGridButton* b : {p->ForwardButton(), p->BackwardButton(), p->HiliteButton()}) EXPECT_TRUE(b->Enabled());
  EXPECT_EQ(current(), TPoint(1, 3));
  EXPECT_EQ(p->Edit()->Color(), clWindow);

  type(u"x");
  EXPECT_EQ(p->Edit()->Color(), clRed);
  EXPECT_EQ(current(), TPoint(1, 3));

  for (int i = 0; i < 4; ++i) SimulateKeyStroke(p->Edit(), VK_BACK);
  ProcessPendingEvents();
  EXPECT_EQ(p->Edit()->Text(), u"");
  EXPECT_EQ(p->Edit()->Color(), clWindow);
  for (TAdvGridButton* b : {p->ForwardButton(), p->BackwardButton(), p->HiliteButton()}) EXPECT_FALSE(b->Enabled());
  // Enter on an empty text searches nothing.
  SimulateKeyStroke(p->Edit(), VK_RETURN);
  ProcessPendingEvents();
  EXPECT_EQ(current(), TPoint(1, 3));
}

TEST_F(SearchPanelTest, EnterAndTheButtonsStepThroughTheHitsAndReportThem) {
  std::vector<std::pair<TPoint, TSearchAction>> actions;
  std::vector<String> values;
  g.OnSearchFooterAction = [&](TObject*, const String& Value, int ACol, int ARow, TSearchAction Action) {
    values.push_back(Value);
    actions.push_back({TPoint(ACol, ARow), Action});
  };
  TSearchPanel* p = panel();
  type(u"apple");
  EXPECT_EQ(current(), TPoint(1, 3));
  SimulateKeyStroke(p->Edit(), VK_RETURN);
  ProcessPendingEvents();
  EXPECT_EQ(current(), TPoint(2, 5));
  EXPECT_EQ(p->Edit()->Text(), u"apple");  // Enter broke no line
  clickButton(p->ForwardButton());
  EXPECT_EQ(current(), TPoint(3, 2));
  SimulateKeyStroke(p->Edit(), VK_RETURN, TShiftState{ssCtrl});
  ProcessPendingEvents();
  EXPECT_EQ(current(), TPoint(2, 5));
  clickButton(p->BackwardButton());
  EXPECT_EQ(current(), TPoint(1, 3));

  const std::vector<std::pair<TPoint, TSearchAction>> expected{
      {TPoint(1, 3), saFindFirst},    {TPoint(2, 5), saFindNext},     {TPoint(3, 2), saFindNext},
      {TPoint(2, 5), saFindPrevious}, {TPoint(1, 3), saFindPrevious}};
  // Typing searched once per character; the steps follow the last one.
  ASSERT_GE(actions.size(), expected.size());
  const std::vector<std::pair<TPoint, TSearchAction>> tail(actions.end() - 5, actions.end());
  EXPECT_EQ(tail, expected);
  EXPECT_EQ(values.back(), u"apple");
  EXPECT_EQ(values.front(), u"a");
}

TEST_F(SearchPanelTest, WithoutAutoSearchANewTextStartsOverFromTheFirstCell) {
  sf->SetAutoSearch(false);
  TSearchPanel* p = panel();
  g.FocusCell(4, 9);
  type(u"apple");
  EXPECT_EQ(current(), TPoint(4, 9));  // typing alone searches nothing
  SimulateKeyStroke(p->Edit(), VK_RETURN);
  SimulateKeyStroke(p->Edit(), VK_RETURN);
  ProcessPendingEvents();
  EXPECT_EQ(current(), TPoint(2, 5));
  SimulateKeyStroke(p->Edit(), VK_BACK);
  type(u"e");  // the same text again: the search goes on
  SimulateKeyStroke(p->Edit(), VK_RETURN);
  ProcessPendingEvents();
  EXPECT_EQ(current(), TPoint(3, 2));
  type(u"s");  // "apples": from the first cell again
  SimulateKeyStroke(p->Edit(), VK_RETURN);
  ProcessPendingEvents();
  EXPECT_EQ(current(), TPoint(3, 2));
  EXPECT_EQ(sf->LastSearch(), u"apples");
}

TEST_F(SearchPanelTest, MatchCaseAndTheSearchColumnNarrowTheSearch) {
  TSearchPanel* p = panel();
  clickButton(p->MatchCase());
  ASSERT_TRUE(p->MatchCase()->Checked());
  type(u"Apple");
  EXPECT_EQ(current(), TPoint(3, 7));

  clickButton(p->MatchCase());
  sf->SetSearchColumn(2);
  type(u"apple");  // the box had the focus: the edit's text is selected again and replaced
  EXPECT_EQ(current(), TPoint(2, 5));
  clickButton(p->HiliteButton());
  EXPECT_EQ(g.Cells(2, 5), u"<hi>apple</hi> pie");
  EXPECT_EQ(g.Cells(1, 3), u"an apple");  // other columns keep their text

  // A search column past the last one searches and highlights every column alike.
  clickButton(p->HiliteButton());
  sf->SetSearchColumn(7);
  clickButton(p->HiliteButton());
  EXPECT_EQ(g.Cells(1, 3), u"an <hi>apple</hi>");
}

TEST_F(SearchPanelTest, HighlightToggleMarksEveryOccurrenceAndTypingReHighlights) {
  TSearchPanel* p = panel();
  type(u"apple");
  clickButton(p->HiliteButton());
  ASSERT_TRUE(p->HiliteButton()->Down());
  EXPECT_EQ(g.Cells(1, 3), u"an <hi>apple</hi>");
  EXPECT_EQ(g.Cells(3, 7), u"<hi>Apple</hi>");

  // Old tags go before the new search, which reads through them; the new text is marked.
  type(u"s");
  EXPECT_EQ(current(), TPoint(3, 2));
  EXPECT_EQ(g.Cells(1, 3), u"an apple");
  EXPECT_EQ(g.Cells(3, 2), u"<hi>apples</hi>");

  clickButton(p->HiliteButton());
  EXPECT_FALSE(p->HiliteButton()->Down());
  EXPECT_EQ(g.Cells(3, 2), u"apples");

  // Hiding the footer while the toggle is down takes the marks away.
  clickButton(p->HiliteButton());
  EXPECT_EQ(g.Cells(3, 2), u"<hi>apples</hi>");
  sf->SetVisible(false);
  EXPECT_EQ(g.Cells(3, 2), u"apples");
}

TEST_F(SearchPanelTest, AlwaysHighLightMarksHitsAndEverySettingChangeClearsThem) {
  sf->SetAlwaysHighLight(true);
  type(u"apple");
  EXPECT_EQ(g.Cells(2, 5), u"<hi>apple</hi> pie");
  // The next keystroke still finds the text through the marks of the last one.
  type(u"s");
  EXPECT_EQ(current(), TPoint(3, 2));
  EXPECT_EQ(g.Cells(2, 5), u"apple pie");
  EXPECT_EQ(g.Cells(3, 2), u"<hi>apples</hi>");
  sf->SetColor(clYellow);
  EXPECT_EQ(g.Cells(3, 2), u"apples");
}

TEST_F(SearchPanelTest, AnEditChangeHandlerCanStopTheSearch) {
  std::vector<String> seen;
  g.OnSearchEditChange = [&](TObject*, const String& Value, bool& DefaultSearch) {
    seen.push_back(Value);
    DefaultSearch = Value != u"ap";
  };
  g.FocusCell(4, 9);
  type(u"ap");
  EXPECT_EQ(seen, (std::vector<String>{u"a", u"ap"}));
  // "a" searched (the first hit has an "a"), "ap" did not: the edit shows no failure either.
  EXPECT_EQ(current(), TPoint(1, 3));
  g.FocusCell(4, 9);
  type(u"q");
  EXPECT_EQ(panel()->Edit()->Color(), clRed);
}

TEST_F(SearchPanelTest, CloseButtonHidesThePanelAndTellsTheApplication) {
  int closed = 0;
  g.OnSearchFooterClose = [&](TObject* Sender) {
    EXPECT_EQ(Sender, &g);
    EXPECT_TRUE(sf->Visible());
    ++closed;
  };
  clickButton(panel()->ExitButton());
  EXPECT_EQ(closed, 1);
  EXPECT_FALSE(sf->Visible());
  EXPECT_FALSE(panel()->Visible());
}

TEST_F(SearchPanelTest, TheLastRowIsScrolledClearOfThePanel) {
  TGridForm other;
  DEreDuzeroVaro& o = *other.grid;
  o.SetRowCount(60);
  o.FocusCell(1, 59);
  o.SetTopRow(59);  // as far down as the grid scrolls: the last row at the bottom edge
  ProcessPendingEvents();
  o.SearchFooter()->SetVisible(true);
  const TRect last = o.CellRect(1, 59);
  EXPECT_GT(last.Bottom, 0);
  EXPECT_LE(last.Bottom, o.SearchPanel()->Top() + 2);
  EXPECT_TRUE(o.LastRowClearOfSearchFooter());
  o.SetTopRow(1);
  EXPECT_FALSE(o.LastRowClearOfSearchFooter());
}

TEST_F(SearchPanelTest, AltWithACaptionsLetterRunsItsButtonFromTheEditOrTheGrid) {
  sf->SetHighLightCaption(u"&Highlight");
  // Another button of the form with the find-next letter: it gets the key only while the panel is hidden.
  auto* other = new TButton(&f.form);
  other->SetParent(&f.form);
  other->SetBounds(510, 10, 80, 25);
  other->SetCaption(u"&New");
  int otherClicks = 0;
  other->OnClick = [&](TObject*) { ++otherClicks; };
  TGridOptions o = g.Options();
  o.Include(goEditing);
  g.SetOptions(o);
  TSearchPanel* p = panel();

  // Empty edit: the buttons are disabled, so the letter goes on to the other button.
  SimulateKeyStroke(p->Edit(), 'N', {ssAlt});
  EXPECT_EQ(otherClicks, 1);
  type(u"apple");
  ASSERT_EQ(current(), TPoint(1, 3));
  SimulateKeyStroke(p->Edit(), 'N', {ssAlt});
  EXPECT_EQ(current(), TPoint(2, 5));
  EXPECT_EQ(p->Edit()->Text(), u"apple");  // nothing typed
  // From the grid itself (which would open its editor on a typed letter).
  g.SetFocus();
  SimulateKeyStroke(&g, 'N', {ssAlt});
  EXPECT_EQ(current(), TPoint(3, 2));
  SimulateKeyStroke(&g, 'P', {ssAlt, ssShift});
  EXPECT_EQ(current(), TPoint(2, 5));
  EXPECT_FALSE(g.EditorMode());
  EXPECT_EQ(g.Cells(2, 5), u"apple pie");
  // The highlight letter toggles the button as a click does.
  SimulateKeyStroke(&g, 'H', {ssAlt});
  EXPECT_TRUE(p->HiliteButton()->Down());
  EXPECT_EQ(g.Cells(2, 5), u"<hi>apple</hi> pie");
  SimulateKeyStroke(&g, 'H', {ssAlt});
  EXPECT_FALSE(p->HiliteButton()->Down());
  EXPECT_EQ(g.Cells(2, 5), u"apple pie");
  EXPECT_EQ(otherClicks, 1);
  // A hidden button answers nothing.
  sf->SetShowFindNext(false);
  SimulateKeyStroke(&g, 'N', {ssAlt});
  EXPECT_EQ(otherClicks, 2);
  sf->SetShowFindNext(true);
  // With the panel hidden the letter is the other button's.
  sf->SetVisible(false);
  g.SetFocus();
  SimulateKeyStroke(&g, 'N', {ssAlt});
  EXPECT_EQ(otherClicks, 3);
  EXPECT_EQ(current(), TPoint(2, 5));
}

TEST_F(SearchPanelTest, CtrlFPutsTheCaretIntoThePanelsEdit) {
  std::vector<Word> keys;
  g.OnKeyDown = [&](TObject*, Word& Key, TShiftState) { keys.push_back(Key); };
  g.SetFocus();
  SimulateKeyStroke(&g, 'F', {ssCtrl});
  EXPECT_TRUE(panel()->Edit()->Focused());
  EXPECT_EQ(keys, (std::vector<Word>{'F'}));  // the key went on as any other
  type(u"pie");
  EXPECT_EQ(current(), TPoint(2, 5));
  // Hidden panel: the grid keeps the focus.
  sf->SetVisible(false);
  g.SetFocus();
  SimulateKeyStroke(&g, 'F', {ssCtrl});
  EXPECT_TRUE(g.Focused());
}

TEST_F(SearchPanelTest, KeysAtTheEndKeepTheLastRowAboveThePanelAndDoNotWrapFromIt) {
  g.SetRowCount(60);
  g.Navigation()->SetCursorAdvance(caLoop);
  int keyDowns = 0;
  g.OnKeyDown = [&](TObject*, Word&, TShiftState) { ++keyDowns; };
  auto lastRowClear = [&] {
    const TRect r = g.CellRect(1, 59);
    return r.Bottom > 0 && r.Bottom <= panel()->Top() + 2;
  };
  g.FocusCell(1, 50);
  g.SetFocus();
  for (int i = 0; i < 9; ++i) SimulateKeyStroke(&g, VK_DOWN);
  ASSERT_EQ(current(), TPoint(1, 59));
  EXPECT_TRUE(lastRowClear());
  EXPECT_TRUE(g.LastRowClearOfSearchFooter());
  // Down on the last row, Left in the first normal column and Right in the last one: no wrap.
  keyDowns = 0;
  SimulateKeyStroke(&g, VK_DOWN);
  SimulateKeyStroke(&g, VK_LEFT);
  EXPECT_EQ(current(), TPoint(1, 59));
  g.FocusCell(4, 59);
  SimulateKeyStroke(&g, VK_RIGHT);
  EXPECT_EQ(current(), TPoint(4, 59));
  EXPECT_EQ(keyDowns, 3);
  EXPECT_TRUE(lastRowClear());
  // Away from the end the loop still wraps; Page Down and End come back clear of the panel.
  g.FocusCell(4, 30);
  SimulateKeyStroke(&g, VK_RIGHT);
  EXPECT_EQ(current(), TPoint(1, 30));
  SimulateKeyStroke(&g, VK_NEXT);
  SimulateKeyStroke(&g, VK_NEXT);
  SimulateKeyStroke(&g, VK_END, {ssCtrl});
  EXPECT_EQ(g.Row(), 59);
  EXPECT_TRUE(lastRowClear());
  // A wheel turn down at the end scrolls nothing under the panel either.
  SimulateMouseWheel(&g, -360, 100, 100);
  EXPECT_TRUE(lastRowClear());
  EXPECT_EQ(g.UpdateCount(), 0);
}

TEST_F(SearchPanelTest, PaintsItsColourOrGradientUnderATopLine) {
  g.SetGridLineColor(0x00123456);
  sf->SetColor(0x00E0E0E0);
  sf->SetColorTo(clNone);
  auto bmp = RenderControl(panel());
  EXPECT_EQ(PixelColor(*bmp, 200, 0), TColor(0x00123456));
  EXPECT_EQ(PixelColor(*bmp, 450, 2), TColor(0x00E0E0E0));
  EXPECT_EQ(PixelColor(*bmp, 450, 30), TColor(0x00E0E0E0));

  sf->SetColor(clWhite);
  sf->SetColorTo(clBlack);
  bmp = RenderControl(panel());
  const TColor top = PixelColor(*bmp, 490, 2), bottom = PixelColor(*bmp, 490, 30);
  EXPECT_GT(top & 0xFF, 0xC0);
  EXPECT_LT(bottom & 0xFF, 0x40);
}

TEST(SearchPanelGlyphs, ButtonGlyphsAreInTheResources) {
  for (const char16_t* name : {u"ASGARDOWN", u"ASGARDOWND", u"ASGARUP", u"ASGARUPD", u"ASGHI", u"ASGHID"}) {
    TSearchPanel::RegisterGlyphResources();
    TBitmap* bmp = DEreDuzeroVaro::GlyphBitmap(name);
    ASSERT_NE(bmp, nullptr) << StringToUTF8(name);
    EXPECT_EQ(bmp->Width(), 16);
    EXPECT_EQ(bmp->Height(), 16);
  }
  // Down and up differ, and so do the enabled and the disabled arrow.
  TBitmap* down = DEreDuzeroVaro::GlyphBitmap(u"ASGARDOWN");
  TBitmap* up = DEreDuzeroVaro::GlyphBitmap(u"ASGARUP");
  TBitmap* grey = DEreDuzeroVaro::GlyphBitmap(u"ASGARDOWND");
  EXPECT_NE(down->Canvas()->Pixels(7, 2), up->Canvas()->Pixels(7, 2));
  EXPECT_NE(down->Canvas()->Pixels(7, 5), grey->Canvas()->Pixels(7, 5));
}

TEST(SearchPanelModule, MadeByName) {
  InitGridModule();
  TGridForm f;
  std::unique_ptr<TComponent> made(GetClass(u"TSearchPanel")(f.grid));
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->ClassName(), u"TSearchPanel");
  EXPECT_EQ(dynamic_cast<TSearchPanel*>(made.get())->Grid(), f.grid);
  made.release();  // the grid owns it
}

}  // namespace
