#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextBlock>

#include "platform/ui/Controls_p.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/tests/StdCtrlsTestSupport.h"

namespace {

QPlainTextEdit* NativeMemo(TMemo& m) { return qobject_cast<QPlainTextEdit*>(TControlHost::Widget(&m)); }

void TypeInto(QWidget* w, const QString& text) {
  for (QChar ch : text) {
    int key = ch == u'\n' ? int(Qt::Key_Return) : int(ch.toUpper().unicode());
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, ch == u'\n' ? QString("\r") : QString(ch));
    QCoreApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &release);
  }
}

TEST(Memo, KeepsCrLfAsTwoCharactersAndInsertsAtTheCaret) {
  TMemo memo(nullptr);
  memo.HandleNeeded();
  int changes = 0;
  memo.OnChange = [&](TObject*) { ++changes; };

  memo.SetText(u"OK\r\nNG");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(memo.Text(), u"OK\r\nNG");
  EXPECT_EQ(memo.Text().size(), 6u);
  EXPECT_EQ(NativeMemo(memo)->document()->blockCount(), 2);  // one line break on screen

  memo.SetSelStart(4);  // after CR LF, before "NG"
  EXPECT_EQ(memo.SelStart(), 4);
  memo.SetSelText(u"X\r\n");
  EXPECT_EQ(memo.Text(), u"OK\r\nX\r\nNG");
  EXPECT_EQ(memo.SelStart(), 7);
  EXPECT_EQ(NativeMemo(memo)->document()->blockCount(), 3);
  EXPECT_EQ(changes, 2);

  // Select "X" CR LF and replace it.
  memo.SetSelStart(4);
  memo.SetSelLength(3);
  EXPECT_EQ(memo.SelText(), u"X\r\n");
  memo.SetSelText(u"");
  EXPECT_EQ(memo.Text(), u"OK\r\nNG");

  // A CR sent alone and an LF sent later join into one line break.
  memo.SetText(u"A");
  memo.SetSelStart(1);
  memo.SetSelText(u"\r");
  EXPECT_EQ(NativeMemo(memo)->document()->blockCount(), 1);
  memo.SetSelText(u"\n");
  EXPECT_EQ(memo.Text(), u"A\r\n");
  EXPECT_EQ(NativeMemo(memo)->document()->blockCount(), 2);

  // Lone CR, lone LF and NUL are kept exactly and counted.
  const String raw(u"a\rb\nc\0d", 7);
  memo.SetText(raw);
  EXPECT_EQ(memo.Text(), raw);
  EXPECT_EQ(memo.Lines()->Count(), 1);
  EXPECT_EQ(NativeMemo(memo)->toPlainText().size(), 7);
}

TEST(Memo, LinesFollowTheEditControlRules) {
  struct Case {
    const char16_t* before;
    const char16_t* afterAdd;
    int countBefore;
  };
  const Case cases[] = {
      {u"", u"x\r\n", 0},
      {u"abc", u"abc\r\nx", 1},
      {u"abc\r\n", u"abc\r\nx\r\n", 1},
      {u"a\r\nb", u"a\r\nb\r\nx", 2},
  };
  TMemo memo(nullptr);
  memo.HandleNeeded();
  for (const Case& c : cases) {
    memo.SetText(c.before);
    EXPECT_EQ(memo.Lines()->Count(), c.countBefore) << StringToUTF8(c.before);
    memo.Lines()->Add(u"x");
    EXPECT_EQ(memo.Text(), c.afterAdd) << StringToUTF8(c.before);
  }
  memo.SetText(u"one\r\ntwo\r\nthree");
  EXPECT_EQ(memo.Lines()->Get(1), u"two");
  memo.Lines()->Delete(1);
  EXPECT_EQ(memo.Text(), u"one\r\nthree");
  memo.Lines()->Put(1, u"3");
  EXPECT_EQ(memo.Text(), u"one\r\n3");
}

TEST(Memo, TypingUpdatesTheTextWithCrLfAndRespectsTheLimit) {
  TMemo memo(nullptr);
  memo.HandleNeeded();
  int changes = 0;
  memo.OnChange = [&](TObject*) { ++changes; };
  QPlainTextEdit* native = NativeMemo(memo);
  native->setFocus();
  TypeInto(native, "ab\ncd");
  EXPECT_EQ(memo.Text(), u"ab\r\ncd");
  EXPECT_EQ(memo.SelStart(), 6);
  EXPECT_EQ(changes, 5);
  EXPECT_EQ(memo.Lines()->Count(), 2);

  memo.Perform(EM_LIMITTEXT, 7, 0);
  TypeInto(native, "xyz");
  EXPECT_EQ(memo.Text(), u"ab\r\ncdx");
}

TEST(ComboBox, FiresOnChangeForTheUserOnlyNotForCode) {
  TComboBox box(nullptr);
  box.HandleNeeded();
  for (const char16_t* s : {u"1", u"3", u"6", u"10"}) box.Items()->Add(s);
  std::vector<String> seen;
  box.OnChange = [&](TObject*) { seen.push_back(box.Text()); };

  box.SetItemIndex(2);
  box.SetText(u"10");
  box.Items()->Add(u"12");
  EXPECT_TRUE(seen.empty());
  EXPECT_EQ(box.Text(), u"10");
  EXPECT_EQ(box.ItemIndex(), 3);

  auto* native = qobject_cast<QComboBox*>(TControlHost::Widget(&box));
  native->lineEdit()->selectAll();
  TypeInto(native->lineEdit(), "7");
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], u"7");
  EXPECT_EQ(box.ItemIndex(), -1);

  // A pick from the list: Text is the item's when OnChange runs; OnSelect takes its place when set.
  native->setCurrentIndex(1);
  emit native->activated(1);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1], u"3");
  int selects = 0;
  box.OnSelect = [&](TObject*) { ++selects; };
  emit native->activated(0);
  EXPECT_EQ(selects, 1);
  EXPECT_EQ(seen.size(), 2u);
}

TEST(ComboBox, DropDownListShowsOnlyItemTexts) {
  TComboBox box(nullptr);
  box.SetStyle(csDropDownList);
  box.Items()->Add(u"ﾜﾝｼｮｯﾄ");
  box.Items()->Add(u"ﾄｸﾞﾙ");
  box.HandleNeeded();
  box.SetText(u"ﾄｸﾞﾙ");
  EXPECT_EQ(box.ItemIndex(), 1);
  EXPECT_EQ(box.Text(), u"ﾄｸﾞﾙ");
  box.SetText(u"none");
  EXPECT_EQ(box.ItemIndex(), -1);
  EXPECT_EQ(box.Text(), u"");
}

void PressKey(QWidget* w, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &release);
}

TEST(ComboBox, SimpleStyleShowsItsListAndKeepsTheOnChangeRule) {
  TComboBox box(nullptr);
  box.SetStyle(csSimple);
  box.SetBounds(0, 0, 150, 120);
  for (const char16_t* s : {u"MD", u"ID ALL /R", u"RSSI"}) box.Items()->Add(s);
  box.SetText(u"MD");
  box.HandleNeeded();
  QWidget* native = TControlHost::Widget(&box);
  auto* list = native->findChild<QListWidget*>();
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(list->isVisibleTo(native));
  EXPECT_EQ(list->count(), 3);
  EXPECT_GT(list->geometry().top(), 0);  // below the edit
  EXPECT_EQ(box.ItemIndex(), 0);

  std::vector<String> changes;
  std::vector<Word> keys;
  int dbl = 0;
  box.OnChange = [&](TObject*) { changes.push_back(box.Text()); };
  box.OnKeyDown = [&](TObject*, Word& Key, TShiftState) { keys.push_back(Key); };
  box.OnDblClick = [&](TObject*) { ++dbl; };

  // Code changes: no event.
  box.SetItemIndex(2);
  box.Items()->Add(u"VER");
  box.SetText(u"ID ALL /R");
  EXPECT_TRUE(changes.empty());
  EXPECT_EQ(box.ItemIndex(), 1);

  // Typing goes through the control's key messages into the edit.
  box.SelectAll();
  TypeInto(native, "X");
  PressKey(native, Qt::Key_Return);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0], u"X");
  EXPECT_EQ(box.ItemIndex(), -1);
  EXPECT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys.back(), VK_RETURN);

  // Picking from the list, by mouse or with the arrow keys, is the user's change too.
  emit list->itemClicked(list->item(2));
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_EQ(changes[1], u"RSSI");
  EXPECT_EQ(box.ItemIndex(), 2);
  PressKey(native, Qt::Key_Down);
  ASSERT_EQ(changes.size(), 3u);
  EXPECT_EQ(changes[2], u"VER");
  PressKey(native, Qt::Key_Down);  // already the last item
  EXPECT_EQ(changes.size(), 3u);
  emit list->itemDoubleClicked(list->item(0));
  EXPECT_EQ(dbl, 1);

  // Another style keeps text and items.
  box.SetStyle(csDropDown);
  EXPECT_EQ(box.Text(), u"VER");
  EXPECT_EQ(box.ItemIndex(), 3);
  EXPECT_NE(qobject_cast<QComboBox*>(TControlHost::Widget(&box)), nullptr);
}

TEST(CheckAndRadio, CheckedInCodeClicksAndRadioSiblingsUncheck) {
  TCheckBox check(nullptr);
  int clicks = 0;
  check.OnClick = [&](TObject*) { ++clicks; };
  check.HandleNeeded();
  check.SetChecked(true);
  check.SetChecked(true);
  EXPECT_EQ(clicks, 1);
  qobject_cast<QAbstractButton*>(TControlHost::Widget(&check))->click();  // the user
  EXPECT_FALSE(check.Checked());
  EXPECT_EQ(clicks, 2);

  TGroupBox group(nullptr);
  group.HandleNeeded();
  TRadioButton a(nullptr), b(nullptr);
  a.SetParent(&group);
  b.SetParent(&group);
  a.SetChecked(true);
  b.SetChecked(true);
  EXPECT_FALSE(a.Checked());
  EXPECT_TRUE(b.Checked());
  qobject_cast<QAbstractButton*>(TControlHost::Widget(&a))->click();
  EXPECT_TRUE(a.Checked());
  EXPECT_FALSE(b.Checked());
  a.SetParent(nullptr);
  b.SetParent(nullptr);
}

TEST(CharCase, TypedTextTakesTheCaseOfEditsAndComboBoxes) {
  TEdit edit(nullptr);
  edit.HandleNeeded();
  TComboBox box(nullptr);
  box.HandleNeeded();
  QLineEdit* boxEdit = qobject_cast<QComboBox*>(TControlHost::Widget(&box))->lineEdit();
  ASSERT_NE(boxEdit, nullptr);
  struct Case { TEditCharCase charCase; const char* typed; const char16_t* text; } cases[] = {
      {ecUpperCase, "ab1c", u"AB1C"}, {ecLowerCase, "AbC", u"abc"}, {ecNormal, "aB", u"aB"}};
  for (const Case& c : cases) {
    edit.SetText(u"");
    box.SetText(u"");
    edit.SetCharCase(c.charCase);
    box.SetCharCase(c.charCase);
    TypeInto(qobject_cast<QLineEdit*>(TControlHost::Widget(&edit)), c.typed);
    TypeInto(boxEdit, c.typed);
    EXPECT_EQ(edit.Text(), c.text) << c.typed;
    EXPECT_EQ(box.Text(), c.text) << c.typed;
  }
  // Switching on a case converts the text already shown.
  box.SetCharCase(ecNormal);
  box.SetText(u"Mixed");
  box.SetCharCase(ecUpperCase);
  EXPECT_EQ(box.Text(), u"MIXED");
}

TEST(Edit, TextStaysInsideTheFormattingRectangle) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 100);
  auto* edit = new TEdit(&form);
  edit->SetParent(&form);
  edit->SetBounds(10, 10, 160, 24);
  edit->SetAlignment(taRightJustify);
  edit->SetText(u"88888888");
  form.Show();
  const TRect strip(edit->Width() - 40, 3, edit->Width() - 4, edit->Height() - 3);
  ASSERT_GT(InkPixels(Render(edit), strip), 0);
  // Narrowed on the right: the right-aligned text ends before the strip.
  RECT r = Rect(0, 0, edit->ClientWidth(), edit->ClientHeight());
  r.Right -= 44;
  edit->Perform(EM_SETRECT, 0, reinterpret_cast<LPARAM>(&r));
  QImage narrowed = Render(edit);
  EXPECT_EQ(InkPixels(narrowed, strip), 0);
  EXPECT_GT(InkPixels(narrowed, TRect(4, 3, r.Right, edit->Height() - 3)), 0);
  RECT got{};
  edit->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&got));
  EXPECT_EQ(got, r);
  // A null rectangle gives the whole client area back.
  edit->Perform(EM_SETRECTNP, 0, 0);
  edit->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&got));
  EXPECT_EQ(got, Rect(0, 0, edit->ClientWidth(), edit->ClientHeight()));
  EXPECT_GT(InkPixels(Render(edit), strip), 0);
}

}  // namespace
