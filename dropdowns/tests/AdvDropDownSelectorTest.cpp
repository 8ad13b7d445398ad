// The item selector: layout, selection rules, type-ahead lookup, mouse and the look of items.

#include <gtest/gtest.h>

#include "dropdowns/AdvDropDownSelector.h"
#include "platform/ui/Forms.h"
#include "testing/TestSupport.h"

namespace {

struct SelectorFixture {
  TForm form{nullptr};
  TAdvCustomItemSelector* sel;
  int selects = 0;
  explicit SelectorFixture(int Height = 200) {
    form.SetBorderStyle(bsNone);
    form.SetBounds(100, 100, 300, 300);
    sel = new TAdvCustomItemSelector(&form);
    sel->SetParent(&form);
    sel->SetBounds(10, 10, 200, Height);
    sel->OnItemSelect = [this](TObject* Sender) {
      EXPECT_EQ(Sender, sel);
      ++selects;
    };
    form.Show();
    ProcessPendingEvents();
  }
  TCustomItemSelector* panel() const { return sel->ItemSelectorPanel(); }
  void Add(std::initializer_list<const char16_t*> Captions) {
    for (const char16_t* c : Captions) sel->Items()->Add()->SetCaption(c);
  }
  // A fixed cell size, so layouts do not depend on fonts.
  void FixCell(int cx, int cy) {
    sel->OnItemSize = [cx, cy](TObject*, TSize& s) { s = TSize{cx, cy}; };
    sel->UpdateSelectorPanel();
  }
};

}  // namespace

TEST(ItemSelector, LaysCellsOutInRowsOfColumnsInsideTheMargin) {
  struct Case {
    int items, columns;
    std::vector<TRect> cells;
    int width, height;
  };
  const Case cases[] = {
      {0, 1, {}, 100, 50},
      {5, 2, {{2, 2, 42, 32}, {42, 2, 82, 32}, {2, 32, 42, 62}, {42, 32, 82, 62}, {2, 62, 42, 92}}, 84, 94},
      {3, 3, {{2, 2, 42, 32}, {42, 2, 82, 32}, {82, 2, 122, 32}}, 124, 34},
      {2, 1, {{2, 2, 42, 32}, {2, 32, 42, 62}}, 44, 64},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.items << " items, " << c.columns << " columns");
    SelectorFixture f;
    f.sel->SetColumns(c.columns);
    for (int i = 0; i < c.items; ++i) f.sel->Items()->Add();
    f.FixCell(40, 30);
    for (int i = 0; i < c.items; ++i) EXPECT_EQ(f.panel()->GetItemRect(i), c.cells[i]) << i;
    EXPECT_EQ(f.sel->GetPanelSize().cx, c.width);
    EXPECT_EQ(f.sel->GetPanelSize().cy, c.height);
  }
}

TEST(ItemSelector, CaptionOnlyCellsAreTheWidestCaptionPlusPaddingWithoutGap) {
  SelectorFixture f;
  f.Add({u"One", u"A much longer caption", u"Two"});
  TSize wide{0, 0}, one{0, 0};
  {
    TBitmap b;
    b.SetSize(10, 10);
    b.Canvas()->Font()->Assign(f.sel->ItemAppearance()->Font());
    DrawHTMLCaption(b.Canvas(), u"A much longer caption", TRect(0, 0, 1000, 500), nullptr, false, nullptr, wide);
    DrawHTMLCaption(b.Canvas(), u"One", TRect(0, 0, 1000, 500), nullptr, false, nullptr, one);
  }
  const TRect r = f.panel()->GetItemRect(0);
  EXPECT_EQ(r.Width(), 8 + wide.cx + 4);
  EXPECT_EQ(r.Height(), wide.cy + 8);
  // Changing the layout alone does not resize the cells.
  f.sel->SetItemLayout(ilCaptionBottom);
  EXPECT_EQ(f.panel()->GetItemRect(0), r);
}

TEST(ItemSelector, SelectionRules) {
  SelectorFixture f;
  f.Add({u"a", u"b", u"c", u"d"});
  f.sel->Items()->Items(2)->SetEnabled(false);

  f.sel->SetItemIndex(1);
  EXPECT_EQ(f.sel->ItemIndex(), 1);
  EXPECT_EQ(f.selects, 1);
  f.sel->SetItemIndex(1);  // the current item fires again
  EXPECT_EQ(f.selects, 2);
  f.sel->SelectNext();  // towards a disabled item: stays
  EXPECT_EQ(f.sel->ItemIndex(), 1);
  f.sel->SetItemIndex(2);
  EXPECT_EQ(f.sel->ItemIndex(), 1);
  EXPECT_EQ(f.selects, 2);

  // Past either end: no selection, nothing fires.
  for (int bad : {4, 100, -1, -5}) {
    f.sel->SetItemIndex(1);
    const int before = f.selects;
    f.sel->SetItemIndex(bad);
    EXPECT_EQ(f.sel->ItemIndex(), -1) << bad;
    EXPECT_EQ(f.selects, before) << bad;
  }

  f.sel->SelectPrevious();  // no selection selects item 0
  EXPECT_EQ(f.sel->ItemIndex(), 0);
  f.sel->SelectPrevious();
  EXPECT_EQ(f.sel->ItemIndex(), 0);
  f.sel->SelectLast();
  EXPECT_EQ(f.sel->ItemIndex(), 3);
  f.sel->SelectNext();  // at the end: nothing
  EXPECT_EQ(f.sel->ItemIndex(), 3);
  f.sel->HotNext();
  EXPECT_EQ(f.sel->ItemHot(), 0);
  // A layout clears the hot mark; the selection survives it.
  f.sel->Items()->Items(0)->SetCaption(u"A");
  EXPECT_EQ(f.sel->ItemHot(), -1);
  EXPECT_EQ(f.sel->ItemIndex(), 3);
}

TEST(ItemSelector, LookupMatchesTheStartOfPlainUpperCaseCaptions) {
  SelectorFixture f;
  f.Add({u"Apple", u"  <b>bl</b>ue", u"Black", u"BLUE"});
  struct Case {
    const char16_t* typed;
    bool found;
    int index;
  };
  const Case cases[] = {{u"BL", true, 1}, {u"BLA", true, 2}, {u"bl", false, -1}, {u"A", true, 0}, {u"", false, -1},
                        {u"Z", false, -1}};
  for (const Case& c : cases) {
    f.sel->SetItemIndex(-1);
    EXPECT_EQ(f.sel->LookupItem(c.typed), c.found) << String(c.typed).size();
    EXPECT_EQ(f.sel->ItemIndex(), c.index);
  }
  // A caption change is seen by the next lookup.
  f.sel->Items()->Items(0)->SetCaption(u"Zebra");
  EXPECT_TRUE(f.sel->LookupItem(u"Z"));
  EXPECT_EQ(f.sel->ItemIndex(), 0);
}

TEST(ItemSelector, VisibleItemCountIsZeroForCellsUnderAPixelHigh) {
  SelectorFixture f(100);
  f.sel->SetColumns(2);
  for (int i = 0; i < 10; ++i) f.sel->Items()->Add();
  f.FixCell(40, 20);
  EXPECT_EQ(f.sel->GetVisibleItemCount(), 100 / 20 * 2);
  f.FixCell(40, 0);
  EXPECT_EQ(f.sel->GetVisibleItemCount(), 0);
}

TEST(ItemSelector, SelectingScrollsTheItemIntoView) {
  SelectorFixture f(100);
  for (int i = 0; i < 30; ++i) f.sel->Items()->Add();
  f.FixCell(60, 20);
  ProcessPendingEvents();
  ASSERT_TRUE(f.sel->VertScrollBar()->IsScrollBarVisible());
  f.sel->SetItemIndex(29);
  const TRect r = f.panel()->GetItemRect(29);
  EXPECT_GT(f.sel->VertScrollBar()->Position(), 0);
  EXPECT_LE(f.panel()->Top() + r.Bottom, f.sel->ClientHeight());
  EXPECT_GE(f.panel()->Top() + r.Top, 0);
  f.sel->SelectFirst();  // the first cell (below the 2-pixel margin) at the top
  EXPECT_EQ(f.sel->VertScrollBar()->Position(), 2);
}

TEST(ItemSelector, PanelNeedsASelectorAsOwner) {
  TForm form{nullptr};
  try {
    TCustomItemSelector panel(&form);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), u"Invalid parent");
  }
}

TEST(ItemSelector, MousePressSelectsAndMoveMakesHot) {
  SelectorFixture f;
  f.Add({u"a", u"b", u"c"});
  f.sel->Items()->Items(1)->SetEnabled(false);
  f.sel->Items()->Items(2)->SetHint(u"third");
  f.FixCell(60, 20);
  ProcessPendingEvents();
  TCustomItemSelector* p = f.panel();
  SimulateMouseMove(p, 10, 45);
  EXPECT_EQ(f.sel->ItemHot(), 2);
  EXPECT_EQ(p->Hint(), u"third");
  SimulateMouseMove(p, 10, 25);  // disabled: clears the hot mark
  EXPECT_EQ(f.sel->ItemHot(), -1);
  SimulateClick(p, 10, 25);
  EXPECT_EQ(f.sel->ItemIndex(), -1);
  SimulateClick(p, 10, 5, mbRight);
  EXPECT_EQ(f.sel->ItemIndex(), 0);
  EXPECT_EQ(f.selects, 1);
  SimulateMouseMove(p, 10, 5);
  EXPECT_EQ(f.sel->ItemHot(), 0);
  SimulateMouseMove(p, 150, 150);  // no item
  EXPECT_EQ(f.sel->ItemHot(), -1);
}

TEST(ItemSelector, PaintsTheSelectedItemAndColourBoxes) {
  SelectorFixture f;
  f.sel->SetSelectorType(stColor);
  f.sel->SetColor(clWhite);
  f.sel->Items()->Add()->SetColor(clRed);
  f.sel->Items()->Add();  // clNone: outline only
  f.FixCell(40, 30);
  TItemAppearance* a = f.sel->ItemAppearance();
  a->SetColorSelected(0x00FF00);
  a->SetColorSelectedTo(0x00FF00);
  a->SetBorderColorSelected(clBlue);  // a plain gradient inside that border
  f.sel->SetItemIndex(1);
  ProcessPendingEvents();
  auto bmp = RenderControl(f.panel());
  const TRect r0 = f.panel()->GetItemRect(0), r1 = f.panel()->GetItemRect(1);
  // Item 0: plain background, a black-framed red box at the padding.
  EXPECT_EQ(PixelColor(*bmp, r0.Left + 1, r0.Top + 1), clWhite);
  EXPECT_EQ(PixelColor(*bmp, r0.Left + 4, r0.Top + 4), clBlack);
  EXPECT_EQ(PixelColor(*bmp, r0.Left + 10, r0.Top + 10), clRed);
  // Item 1 selected: its border, its fill, and an empty box showing the fill.
  EXPECT_EQ(PixelColor(*bmp, r1.Left, r1.Top + 15), clBlue);
  EXPECT_EQ(PixelColor(*bmp, r1.Left + 2, r1.Top + 2), 0x00FF00);
  EXPECT_EQ(PixelColor(*bmp, r1.Left + 4, r1.Top + 4), clBlack);
  EXPECT_EQ(PixelColor(*bmp, r1.Left + 10, r1.Top + 10), 0x00FF00);
}

TEST(ItemSelector, PictureAndCaptionStandWhereTheLayoutPutsThem) {
  struct Box {
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
    void Add(int x, int y) {
      left = std::min(left, x), top = std::min(top, y), right = std::max(right, x + 1), bottom = std::max(bottom, y + 1);
    }
  };
  for (TItemLayout layout : {ilCaptionLeft, ilCaptionRight, ilCaptionTop, ilCaptionBottom}) {
    SCOPED_TRACE(int(layout));
    SelectorFixture f;
    f.sel->SetColor(clWhite);
    f.sel->SetItemLayout(layout);
    TBitmap picture;
    picture.SetSize(16, 16);
    picture.Canvas()->Brush()->SetColor(clRed);
    picture.Canvas()->FillRect(TRect(0, 0, 16, 16));
    TSelectorItem* item = f.sel->Items()->Add();
    item->SetCaption(u"Wide caption");
    item->Image()->SetGraphic(&picture);  // a picture alone lays nothing out
    f.sel->UpdateSelectorPanel();
    ProcessPendingEvents();
    auto bmp = RenderControl(f.panel());
    const TRect r = f.panel()->GetItemRect(0);
    TSize text{0, 0};
    {
      TBitmap b(10, 10);
      b.Canvas()->Font()->Assign(f.sel->ItemAppearance()->Font());
      text = b.Canvas()->TextExtent(u"Wide caption");
    }
    Box red, ink;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) {
        const TColor c = PixelColor(*bmp, x, y);
        if (c == clRed) red.Add(x, y);
        else if (c != clWhite) ink.Add(x, y);
      }
    ASSERT_EQ(red.right - red.left, 16);
    ASSERT_EQ(red.bottom - red.top, 16);
    ASSERT_GE(ink.right, 0);  // the caption was drawn
    const int midY = r.Top + 4 + (r.Height() - 8 - 16) / 2, midX = r.Left + 4 + (r.Width() - 8 - 16) / 2;
    switch (layout) {
      case ilCaptionLeft:  // caption, gap, picture
        EXPECT_EQ(red.left, r.Left + 4 + text.cx + 4);
        EXPECT_EQ(red.top, midY);
        EXPECT_LT(ink.right, red.left);
        break;
      case ilCaptionRight:  // picture, gap, caption
        EXPECT_EQ(red.left, r.Left + 4);
        EXPECT_EQ(red.top, midY);
        EXPECT_GE(ink.left, red.right + 4);
        break;
      case ilCaptionTop:  // caption above, picture centred below it
        EXPECT_EQ(red.left, midX);
        EXPECT_EQ(red.top, r.Top + 4 + text.cy + 4);
        EXPECT_LT(ink.bottom, red.top);
        break;
      case ilCaptionBottom:  // picture centred at the top, the caption 4 + 16 + 4 below the cell top
        EXPECT_EQ(red.left, midX);
        EXPECT_EQ(red.top, r.Top + 4);
        EXPECT_GE(ink.top, r.Top + 4 + 16 + 4);
        EXPECT_LT(ink.top, r.Top + 4 + 16 + 4 + text.cy);
        break;
    }
  }
}
