// The detail drop-down: completion while typing, Enter and Escape, keys, wheel and mouse in the
// open list, and the list's geometry.

#include <gtest/gtest.h>

#include "dropdowns/AdvDetailDropDown.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "testing/TestSupport.h"

namespace {

struct DetailFixture {
  TForm form{nullptr};
  TEdit* other;
  TAdvDetailDropDown* dd;
  int selects = 0;
  DetailFixture() {
    form.SetBorderStyle(bsNone);
    form.SetBounds(100, 100, 400, 400);
    other = new TEdit(&form);
    other->SetParent(&form);
    other->SetBounds(10, 10, 60, 24);
    dd = new TAdvDetailDropDown(&form);
    dd->SetParent(&form);
    dd->SetBounds(100, 40, 200, 24);
    dd->SetTabStop(true);
    for (const char16_t* c : {u"Apple", u"Apricot", u"Banana", u"<b>Bl</b>ueberry", u"Blackberry", u"Cherry"}) {
      TDetailItem* item = dd->Items()->Add();
      item->SetCaption(c);
      item->SetNotes(u"notes of <i>this</i> item");
    }
    dd->OnSelect = [this](TObject*) { ++selects; };
    form.Show();
    ProcessPendingEvents();
    dd->SetFocus();
    ProcessPendingEvents();
  }
  // Keys go where the keyboard is: the open list, else the edit.
  TWinControl* target() { return dd->DroppedDown() ? static_cast<TWinControl*>(dd->ItemSelector()) : dd; }
  void Key(Word K, TShiftState Shift = {}) {
    TWinControl* t = target();
    SimulateKeyDown(t, K, Shift);
    SimulateKeyUp(t->Showing() ? t : static_cast<TWinControl*>(dd), K, Shift);
    ProcessPendingEvents();
  }
  void Type(const String& s) {
    for (Char c : s) {
      SimulateChar(dd, c);
      ProcessPendingEvents();
    }
  }
  void Open() {
    Key(VK_F4);
    ASSERT_TRUE(dd->DroppedDown());
  }
};

}  // namespace

TEST(DetailDropDown, TypingCompletesWithTheFirstMatchingCaption) {
  DetailFixture f;
  f.Type(u"ap");
  EXPECT_EQ(f.dd->Text(), u"apple");
  EXPECT_EQ(f.dd->SelStart(), 2);
  EXPECT_EQ(f.dd->SelLength(), 3);
  EXPECT_EQ(f.dd->ItemIndex(), 0);
  EXPECT_EQ(f.selects, 0);
  f.Type(u"r");
  EXPECT_EQ(f.dd->Text(), u"apricot");
  EXPECT_EQ(f.dd->ItemIndex(), 1);
  // Backspace removes the completed tail without completing again.
  f.Key(VK_BACK);
  EXPECT_EQ(f.dd->Text(), u"apr");
  // A letter no caption continues with stays as typed; the index stays.
  f.Type(u"x");
  EXPECT_EQ(f.dd->Text(), u"aprx");
  EXPECT_EQ(f.dd->ItemIndex(), 1);
}

TEST(DetailDropDown, CompletionKeepsTheWholeOfALongCaption) {
  DetailFixture f;
  const String tail(600, u'z');
  f.dd->Items()->Add()->SetCaption(u"Quince" + tail);
  f.Type(u"q");
  EXPECT_EQ(f.dd->Text(), u"quince" + tail);
}

TEST(DetailDropDown, EnterSelectsOnlyAnExactCaption) {
  DetailFixture f;
  f.dd->SetText(u"apricot");
  f.Key(VK_RETURN);
  EXPECT_EQ(f.dd->ItemIndex(), -1);
  EXPECT_EQ(f.dd->Text(), u"apricot");
  EXPECT_EQ(f.selects, 0);
  f.dd->SetText(u"Apricot");
  f.Key(VK_RETURN);
  EXPECT_EQ(f.dd->ItemIndex(), 1);
  EXPECT_EQ(f.selects, 1);
}

TEST(DetailDropDown, ItemIndexWritesTheCaptionAndOtherValuesDoNothing) {
  DetailFixture f;
  f.dd->SetItemIndex(2);
  EXPECT_EQ(f.dd->Text(), u"Banana");
  EXPECT_EQ(f.dd->SelLength(), 6);
  EXPECT_EQ(f.selects, 1);
  for (int bad : {6, 100, -2}) {
    f.dd->SetItemIndex(bad);
    EXPECT_EQ(f.dd->ItemIndex(), 2) << bad;
  }
  f.dd->SetItemIndex(-1);
  EXPECT_EQ(f.dd->Text(), u"");
  EXPECT_EQ(f.dd->ItemIndex(), -1);
  EXPECT_EQ(f.selects, 1);
}

TEST(DetailDropDown, ArrowsMoveTheOpenSelectionAndEscapeReturnsToTheFirst) {
  DetailFixture f;
  f.dd->SetItemIndex(1);
  f.Open();
  f.Key(VK_DOWN);
  f.Key(VK_DOWN);
  EXPECT_TRUE(f.dd->DroppedDown());
  EXPECT_EQ(f.dd->ItemIndex(), 3);
  EXPECT_EQ(f.dd->ItemSelector()->ItemIndex(), 3);
  EXPECT_EQ(f.dd->Text(), u"<b>Bl</b>ueberry");
  f.Key(VK_ESCAPE);
  EXPECT_FALSE(f.dd->DroppedDown());
  EXPECT_EQ(f.dd->ItemIndex(), 1);
  EXPECT_EQ(f.dd->Text(), u"Apricot");
  // Enter keeps the moved selection.
  f.Open();
  f.Key(VK_UP);
  f.Key(VK_RETURN);
  EXPECT_FALSE(f.dd->DroppedDown());
  EXPECT_EQ(f.dd->ItemIndex(), 0);
  EXPECT_EQ(f.dd->Text(), u"Apple");
}

TEST(DetailDropDown, TypeAheadInTheOpenListTakesPrintableKeysOnly) {
  DetailFixture f;
  f.Open();
  f.Key(VK_SHIFT, {ssShift});
  f.Key('B');
  f.Key(VK_F5);  // no letter
  f.Key('L');
  EXPECT_EQ(f.dd->ItemIndex(), 3);
  EXPECT_TRUE(f.dd->DroppedDown());
  f.Key(VK_ESCAPE);
}

TEST(DetailDropDown, PageKeysStepByAPageAndNothingForFlatItems) {
  DetailFixture f;
  f.dd->SetDropDownHeight(130);
  f.Open();
  const int n = f.dd->ItemSelector()->GetVisibleItemCount();
  ASSERT_GT(n, 0);
  f.Key(VK_NEXT);
  EXPECT_EQ(f.dd->ItemIndex(), n - 1);
  f.Key(VK_NEXT);
  EXPECT_EQ(f.dd->ItemIndex(), std::min(2 * n - 1, 5));
  f.Key(VK_PRIOR);
  f.Key(VK_PRIOR);
  EXPECT_EQ(f.dd->ItemIndex(), 0);
  f.Key(VK_ESCAPE);  // nothing was selected at opening
  EXPECT_EQ(f.dd->ItemIndex(), -1);
  // Items no pixel high: no page, no step.
  f.dd->SetItemHeight(0);
  f.Open();
  EXPECT_EQ(f.dd->ItemSelector()->GetVisibleItemCount(), 0);
  f.Key(VK_NEXT);
  EXPECT_EQ(f.dd->ItemIndex(), -1);
  f.Key(VK_ESCAPE);
}

TEST(DetailDropDown, WheelStepsClosedAndOpen) {
  DetailFixture f;
  SimulateMouseWheel(f.dd, -120, 20, 10);
  EXPECT_EQ(f.dd->ItemIndex(), 0);
  SimulateMouseWheel(f.dd, -120, 20, 10);
  EXPECT_EQ(f.dd->ItemIndex(), 1);
  f.Open();
  SimulateMouseWheel(f.dd->ItemSelector(), -120, 20, 10);
  EXPECT_TRUE(f.dd->DroppedDown());
  EXPECT_EQ(f.dd->ItemIndex(), 2);
  SimulateMouseWheel(f.dd->ItemSelector(), 120, 20, 10);
  EXPECT_EQ(f.dd->ItemIndex(), 1);
  f.Key(VK_ESCAPE);
}

TEST(DetailDropDown, ClickingAnItemClosesWithItsCaptionSelected) {
  DetailFixture f;
  f.Open();
  TCustomItemSelector* panel = f.dd->ItemSelector()->ItemSelectorPanel();
  const TRect r = panel->GetItemRect(2);
  const TPoint at(r.Left + 10, r.Top + 5);
  const TPoint screen = panel->ClientToScreen(at);
  SimulateMouseDown(panel, mbLeft, at.X, at.Y);
  // The press closed the window: the release lands on the form beneath.
  const TPoint onForm = f.form.ScreenToClient(screen);
  SimulateMouseUp(&f.form, mbLeft, onForm.X, onForm.Y);
  ProcessPendingEvents();
  EXPECT_FALSE(f.dd->DroppedDown());
  EXPECT_EQ(f.dd->ItemIndex(), 2);
  EXPECT_EQ(f.dd->Text(), u"Banana");
  EXPECT_EQ(f.dd->SelStart(), 0);
  EXPECT_EQ(f.dd->SelLength(), 6);
  EXPECT_EQ(f.selects, 1);
}

TEST(DetailDropDown, ItemsFillTheWindowWidthLessBordersAndScrollBar) {
  DetailFixture f;
  f.Open();
  TAdvCustomItemSelector* sel = f.dd->ItemSelector();
  const int formWidth = f.dd->DropDownForm()->Width();
  EXPECT_EQ(formWidth, f.dd->Width());
  const int bar = sel->VertScrollBar()->IsScrollBarVisible() ? GetSystemMetrics(SM_CXVSCROLL) : 0;
  EXPECT_EQ(sel->ItemSelectorPanel()->GetItemRect(0).Width(), formWidth - bar - 2 * GetSystemMetrics(SM_CXBORDER) - 4);
  EXPECT_EQ(sel->ItemSelectorPanel()->GetItemRect(0).Height(), 22);
  f.Key(VK_ESCAPE);
}

TEST(DetailDropDown, AltDownAndAltUpToggleOncePerKey) {
  DetailFixture f;
  f.Key(VK_DOWN, {ssAlt});
  EXPECT_TRUE(f.dd->DroppedDown());
  f.Key(VK_DOWN, {ssAlt});  // typed in the open list
  EXPECT_FALSE(f.dd->DroppedDown());
  f.Key(VK_UP, {ssAlt});
  EXPECT_TRUE(f.dd->DroppedDown());
  f.Key(VK_UP, {ssAlt});
  EXPECT_FALSE(f.dd->DroppedDown());
  EXPECT_EQ(f.dd->ItemIndex(), -1);  // Alt with the arrows moves no selection
}

TEST(DetailDropDown, HomeAndEndChooseInTheOpenListAndMoveTheCaretWhenClosed) {
  DetailFixture f;
  f.dd->SetItemIndex(2);
  f.dd->Select(3, 0);
  f.Key(VK_HOME);
  EXPECT_EQ(f.dd->ItemIndex(), 2);
  EXPECT_EQ(f.dd->SelStart(), 0);
  f.Open();
  f.Key(VK_END);
  EXPECT_EQ(f.dd->ItemIndex(), 5);
  f.Key(VK_LEFT);  // the edit takes typing: Left and Right move no choice
  EXPECT_EQ(f.dd->ItemIndex(), 5);
  f.Key(VK_HOME);
  EXPECT_EQ(f.dd->ItemIndex(), 0);
  EXPECT_TRUE(f.dd->DroppedDown());
  f.Key(VK_RETURN);
  EXPECT_EQ(f.dd->Text(), u"Apple");
}

TEST(DetailDropDown, APictureStandsBesideItsCaptionOrCentredWithoutOne) {
  DetailFixture f;
  f.dd->Items()->Clear();
  TBitmap picture;
  picture.SetSize(8, 8);
  picture.Canvas()->Brush()->SetColor(clRed);
  picture.Canvas()->FillRect(TRect(0, 0, 8, 8));
  picture.Canvas()->SetPixels(0, 7, clBlue);  // the bottom-left colour is drawn transparent
  for (const char16_t* caption : {u"With caption", u""}) {
    TDetailItem* item = f.dd->Items()->Add();
    item->SetCaption(caption);
    item->Image()->SetGraphic(&picture);
  }
  f.dd->SetDropDownColor(clWhite);
  f.Open();
  TCustomItemSelector* panel = f.dd->ItemSelector()->ItemSelectorPanel();
  auto bmp = RenderControl(panel);
  for (int i = 0; i < 2; ++i) {
    const TRect r = panel->GetItemRect(i);
    int left = -1, top = -1;
    for (int y = r.Top; y < r.Bottom && left < 0; ++y)
      for (int x = r.Left; x < r.Right; ++x)
        if (PixelColor(*bmp, x, y) == clRed) {
          left = x, top = y;
          break;
        }
    EXPECT_EQ(left, i == 0 ? r.Left + 2 : r.Left + (r.Width() - 8) / 2) << i;
    EXPECT_EQ(top, r.Top + (r.Height() - 8) / 2) << i;
  }
  f.Key(VK_ESCAPE);
}
