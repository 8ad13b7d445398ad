// The memo drop-down: the edit's one-line summary of the lines, typing that replaces them,
// and the memo in the pop-up that keeps Enter and gives Escape, F4 and Alt keys to the edit.

#include <gtest/gtest.h>

#include "AdvDropDownHost.h"
#include "dropdowns/AdvMemoDropDown.h"

namespace {

struct MemoFixture : TDropDownHost<TAdvMemoDropDown> {
  int memoChanges = 0;
  MemoFixture() {
    dd->OnMemoChange = [this](TObject* Sender) {
      EXPECT_EQ(Sender, dd);
      ++memoChanges;
    };
    Show();
  }
  void SetLines(const String& Text) { dd->MemoText()->SetText(Text); }
  void Open() {
    dd->SetFocus();
    ProcessPendingEvents();
    SimulateKeyStroke(dd, VK_F4);
    ProcessPendingEvents();
  }
  void ClosingKey(Word K, TShiftState Shift = {}) { TDropDownHost::ClosingKey(dd->Memo(), K, Shift); }
};

TEST(AdvMemoDropDown, EditShowsTheFirstLineMarkedOrShortened) {
  MemoFixture f;
  f.SetLines(u"abc\r\ndef\r\n");
  EXPECT_EQ(f.dd->EditText(), u"abc...");
  f.SetLines(u"abc\r\n");
  EXPECT_EQ(f.dd->EditText(), u"abc");
  f.SetLines(u"");
  EXPECT_EQ(f.dd->EditText(), u"");
  // A line wider than the text area is cut to end in "...".
  const String wide(200, u'W');
  f.SetLines(wide);
  const String shown = f.dd->EditText();
  ASSERT_GT(shown.size(), 3u);
  EXPECT_LT(shown.size(), wide.size());
  EXPECT_EQ(shown.substr(shown.size() - 3), u"...");
  EXPECT_EQ(shown.substr(0, shown.size() - 3), String(shown.size() - 3, u'W'));
  // The summary is no new value: the lines stay.
  EXPECT_EQ(f.dd->MemoText()->Text(), wide + u"\r\n");
}

TEST(AdvMemoDropDown, TypingIntoTheEditReplacesAllLines) {
  MemoFixture f;
  f.SetLines(u"one\r\ntwo\r\n");
  f.dd->SetFocus();
  ProcessPendingEvents();
  f.dd->SelectAll();
  SimulateTyping(f.dd, u"xyz");
  ProcessPendingEvents();
  EXPECT_EQ(f.dd->MemoText()->Count(), 1);
  EXPECT_EQ(f.dd->MemoText()->Strings(0), u"xyz");
  EXPECT_EQ(f.dd->EditText(), u"xyz");
}

TEST(AdvMemoDropDown, EnterStaysInTheMemoEscapeDiscardsF4Keeps) {
  MemoFixture f;
  f.SetLines(u"abc\r\ndef\r\n");
  f.dd->SetMaxLength(50);
  f.dd->SetMemoScrollBars(ssVertical);
  f.Open();
  ASSERT_TRUE(f.dd->DroppedDown());
  TMemo* m = f.dd->Memo();
  EXPECT_TRUE(m->Focused());
  EXPECT_EQ(m->Text(), u"abc\r\ndef\r\n");
  EXPECT_EQ(m->MaxLength(), 50);
  EXPECT_EQ(m->ScrollBars(), ssVertical);
  // The window is the memo's 100 pixels high (plus the border) on the first opening.
  EXPECT_EQ(f.dd->DropDownForm()->Height(), 100 + 2 + 22 + 22);
  m->SelectAll();
  SimulateTyping(m, u"new");
  SimulateKeyStroke(m, VK_RETURN);
  SimulateTyping(m, u"line");
  ProcessPendingEvents();
  EXPECT_TRUE(f.dd->DroppedDown());
  EXPECT_EQ(m->Text(), u"new\r\nline");
  EXPECT_GT(f.memoChanges, 0);
  f.ClosingKey(VK_ESCAPE);
  EXPECT_FALSE(f.dd->DroppedDown());
  EXPECT_EQ(f.dd->MemoText()->Text(), u"abc\r\ndef\r\n");
  EXPECT_EQ(f.dd->EditText(), u"abc...");
  // Again, then F4: the edits are the value.
  f.Open();
  ASSERT_TRUE(f.dd->DroppedDown());
  EXPECT_EQ(m->Text(), u"abc\r\ndef\r\n");
  m->SelectAll();
  SimulateTyping(m, u"kept");
  SimulateKeyStroke(m, VK_RETURN);
  SimulateTyping(m, u"too");
  ProcessPendingEvents();
  f.ClosingKey(VK_F4);
  EXPECT_FALSE(f.dd->DroppedDown());
  EXPECT_EQ(f.dd->MemoText()->Count(), 2);
  EXPECT_EQ(f.dd->MemoText()->Strings(1), u"too");
  EXPECT_EQ(f.dd->EditText(), u"kept...");
  // Alt+Up also closes keeping the edits.
  f.Open();
  m->SelectAll();
  SimulateTyping(m, u"alt");
  ProcessPendingEvents();
  f.ClosingKey(VK_UP, {ssAlt});
  EXPECT_FALSE(f.dd->DroppedDown());
  EXPECT_EQ(f.dd->MemoText()->Text(), u"alt\r\n");
}

TEST(AdvMemoDropDown, ControlASelectsAllOfTheMemoAndReadOnlyFollowsAtOnce) {
  MemoFixture f;
  f.SetLines(u"first\r\nsecond\r\n");
  f.Open();
  TMemo* m = f.dd->Memo();
  SimulateKeyStroke(m, 'A', {ssCtrl});
  ProcessPendingEvents();
  EXPECT_EQ(m->SelLength(), static_cast<int>(m->Text().size()));
  EXPECT_FALSE(m->ReadOnly());
  f.dd->SetMemoReadOnly(true);
  EXPECT_TRUE(m->ReadOnly());
  f.ClosingKey(VK_ESCAPE);
}

TEST(AdvMemoDropDown, ClickingElsewhereKeepsTheEdits) {
  MemoFixture f;
  f.SetLines(u"before\r\n");
  f.Open();
  TMemo* m = f.dd->Memo();
  m->SelectAll();
  SimulateTyping(m, u"after");
  ProcessPendingEvents();
  const TPoint outside = f.form.ClientToScreen(TPoint(380, 280));
  SimulatePressOutside(f.dd->DropDownForm(), outside.X, outside.Y);
  ProcessPendingEvents();
  EXPECT_FALSE(f.dd->DroppedDown());
  EXPECT_EQ(f.dd->MemoText()->Text(), u"after\r\n");
}

TEST(AdvMemoDropDown, AutoDropOpensOnFocusAndClosingDoesNotReopen) {
  MemoFixture f;
  f.dd->SetAutoDrop(true);
  f.other->SetFocus();
  ProcessPendingEvents();
  SimulateKeyStroke(f.other, VK_TAB);
  ProcessPendingEvents();
  ASSERT_TRUE(f.dd->DroppedDown());
  f.ClosingKey(VK_ESCAPE);
  EXPECT_FALSE(f.dd->DroppedDown());
  EXPECT_TRUE(f.dd->Focused());
  ProcessPendingEvents();
  EXPECT_FALSE(f.dd->DroppedDown());
}

}  // namespace
