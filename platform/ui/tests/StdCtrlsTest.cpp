#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QComboBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <random>
#include <vector>

#include "platform/ui/Controls_p.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/tests/StdCtrlsTestSupport.h"

namespace {

QPlainTextEdit* NativeMemo(TMemo& m) { return qobject_cast<QPlainTextEdit*>(TControlHost::Widget(&m)); }

// The memo's window once the message loop has turned (changes after the first of a turn
// reach the screen at the turn's end).
QPlainTextEdit* Shown(TMemo& m) {
  QCoreApplication::sendPostedEvents();
  return NativeMemo(m);
}

// A shown form for controls that get the user's input; the test's controls go on it.
struct TInputForm {
  TForm form{nullptr};
  TInputForm() {
    form.SetBounds(0, 0, 320, 240);
    form.Show();
  }
  void Put(TControl* c, int left, int top) {
    c->SetParent(&form);
    c->SetBounds(left, top, c->Width(), c->Height());
  }
};

// The user opens the combo box's list with its arrow button and clicks item Row.
void PickFromList(TComboBox* box, int Row) {
  SimulateClick(box, box->Width() - 6, box->Height() / 2);
  ASSERT_TRUE(box->DroppedDown());
  QAbstractItemView* list = qobject_cast<QComboBox*>(TControlHost::Widget(box))->view();
  QPoint at = list->viewport()->mapToGlobal(list->visualRect(list->model()->index(Row, 0)).center());
  SimulateScreenClick(at.x(), at.y());
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
  EXPECT_EQ(Shown(memo)->document()->blockCount(), 2);  // one line break on screen

  memo.SetSelStart(4);  // after CR LF, before "NG"
  EXPECT_EQ(memo.SelStart(), 4);
  memo.SetSelText(u"X\r\n");
  EXPECT_EQ(memo.Text(), u"OK\r\nX\r\nNG");
  EXPECT_EQ(memo.SelStart(), 7);
  EXPECT_EQ(Shown(memo)->document()->blockCount(), 3);
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
  EXPECT_EQ(Shown(memo)->document()->blockCount(), 1);
  memo.SetSelText(u"\n");
  EXPECT_EQ(memo.Text(), u"A\r\n");
  EXPECT_EQ(Shown(memo)->document()->blockCount(), 2);

  // Lone CR, lone LF and NUL are kept exactly and counted.
  const String raw(u"a\rb\nc\0d", 7);
  memo.SetText(raw);
  EXPECT_EQ(memo.Text(), raw);
  EXPECT_EQ(memo.Lines()->Count(), 1);
  EXPECT_EQ(Shown(memo)->toPlainText().size(), 7);
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
  TInputForm f;
  TMemo memo(nullptr);
  f.Put(&memo, 10, 10);
  int changes = 0;
  memo.OnChange = [&](TObject*) { ++changes; };
  SimulateTyping(&memo, u"ab\rcd");
  EXPECT_EQ(memo.Text(), u"ab\r\ncd");
  EXPECT_EQ(memo.SelStart(), 6);
  EXPECT_EQ(changes, 5);
  EXPECT_EQ(memo.Lines()->Count(), 2);

  memo.Perform(EM_LIMITTEXT, 7, 0);
  SimulateTyping(&memo, u"xyz");
  EXPECT_EQ(memo.Text(), u"ab\r\ncdx");
}

// A plain model of the memo's text, walking it for every answer.
struct MemoModel {
  String Text;
  std::vector<int> Starts() const {
    std::vector<int> s{0};
    for (size_t i = 0; i + 1 < Text.size(); ++i)
      if (Text[i] == u'\r' && Text[i + 1] == u'\n') s.push_back(int(i + 2)), ++i;
    return s;
  }
  int LineEnd(int Index) const {
    auto s = Starts();
    return size_t(Index) + 1 < s.size() ? s[size_t(Index) + 1] - 2 : int(Text.size());
  }
  int Count() const {
    auto s = Starts();
    return Text.empty() ? 0 : int(s.size()) - (s.back() == int(Text.size()) ? 1 : 0);
  }
  // A position between CR and LF stands before the pair.
  int Snap(int p) const {
    return p > 0 && size_t(p) < Text.size() && Text[size_t(p) - 1] == u'\r' && Text[size_t(p)] == u'\n' ? p - 1 : p;
  }
  QString Screen() const {
    QString out;
    for (size_t i = 0; i < Text.size(); ++i) {
      Char c = Text[i];
      if (c == u'\r' && i + 1 < Text.size() && Text[i + 1] == u'\n') {
        out += QChar(u'\n');
        ++i;
      } else {
        out += QChar(c == u'\r' ? char16_t(0x240D) : c == u'\n' ? char16_t(0x240A) : c);
      }
    }
    return out;
  }
};

TEST(Memo, PositionsLinesAndScreenStayExactThroughEdits) {
  TMemo memo(nullptr);
  memo.HandleNeeded();
  MemoModel ref;
  int caret = 0;
  std::mt19937 rnd(7);
  auto pick = [&](int n) { return int(rnd() % unsigned(n)); };
  const String pieces[] = {u"a", u"\r", u"\n", u"\r\n", u"xy\r\nz", u"", u"\r\n\r\n", u"q\r"};
  for (int step = 0; step < 600; ++step) {
    const String piece = pieces[pick(8)];
    const int len = int(ref.Text.size());
    const auto starts = ref.Starts();
    switch (pick(6)) {
      case 0: {  // replace a selection
        int s = ref.Snap(pick(len + 1));
        int e = ref.Snap(s + pick(len - s + 1));
        memo.SetSelStart(s);
        memo.SetSelLength(e - s);
        memo.SetSelText(piece);
        ref.Text.replace(size_t(s), size_t(e - s), piece);
        caret = s + int(piece.size());
        break;
      }
      case 1:  // append at the end, as a monitor does
      case 2:
        memo.SetSelStart(len);
        memo.SetSelText(piece);
        ref.Text += piece;
        caret = int(ref.Text.size());
        break;
      case 3: {  // insert a line
        int i = pick(int(starts.size()) + 1);
        memo.Lines()->Insert(i, u"L" + piece);
        if (size_t(i) < starts.size()) {
          ref.Text.insert(size_t(starts[size_t(i)]), u"L" + piece + u"\r\n");
          caret = starts[size_t(i)] + int(piece.size()) + 3;
        } else {
          int end = ref.LineEnd(i - 1);
          ref.Text.insert(size_t(end), u"\r\nL" + piece);
          caret = end + int(piece.size()) + 3;
        }
        break;
      }
      case 4: {  // change a line
        int i = pick(int(starts.size()));
        int s = starts[size_t(i)], e = ref.LineEnd(i);
        memo.Lines()->Put(i, piece);
        ref.Text.replace(size_t(s), size_t(e - s), piece);
        caret = s + int(piece.size());
        break;
      }
      default: {  // delete a line
        int i = pick(int(starts.size()));
        int s = starts[size_t(i)];
        int e = size_t(i) + 1 < starts.size() ? starts[size_t(i) + 1] : len;
        memo.Lines()->Delete(i);
        ref.Text.erase(size_t(s), size_t(e - s));
        caret = s;
        break;
      }
    }
    caret = ref.Snap(caret);
    // The window shows the first change of a turn at once and the rest at the turn's end:
    // the answers are the same either way.
    if (step % 5 == 4) {
      ASSERT_EQ(Shown(memo)->toPlainText(), ref.Screen()) << step;
    }
    ASSERT_EQ(memo.Text(), ref.Text) << step;
    EXPECT_EQ(memo.Perform(WM_GETTEXTLENGTH, 0, 0), LRESULT(ref.Text.size()));
    EXPECT_EQ(memo.Perform(EM_GETLINECOUNT, 0, 0), LRESULT(ref.Starts().size()));
    EXPECT_EQ(memo.Lines()->Count(), ref.Count()) << step;
    EXPECT_EQ(memo.SelStart(), caret) << step;
    EXPECT_EQ(memo.SelLength(), 0) << step;
    auto now = ref.Starts();
    int line = int(std::upper_bound(now.begin(), now.end(), caret) - now.begin()) - 1;
    EXPECT_EQ(memo.CaretPos().Y, line) << step;
    EXPECT_EQ(memo.CaretPos().X, caret - now[size_t(line)]) << step;
    int i = pick(int(now.size()));
    EXPECT_EQ(memo.Lines()->Get(i), ref.Text.substr(size_t(now[size_t(i)]), size_t(ref.LineEnd(i) - now[size_t(i)])));
  }
}

TEST(Memo, ABurstOfAppendsReachesTheWindowOncePerTurnAndBeforeInput) {
  TInputForm f;
  TMemo memo(nullptr);
  memo.SetScrollBars(ssVertical);
  f.Put(&memo, 10, 10);
  // The memo has the keyboard before the burst, so the typing below follows it at once.
  memo.SetFocus();
  ProcessPendingEvents();
  QPlainTextEdit* native = NativeMemo(memo);
  int updates = 0;
  QObject::connect(native->document(), &QTextDocument::contentsChange, [&](int, int, int) { ++updates; });
  for (int i = 0; i < 2000; ++i) memo.SetSelText(u"line\r\n");
  EXPECT_EQ(updates, 1);  // the first append; the others wait for the turn's end
  EXPECT_EQ(memo.Lines()->Count(), 2000);
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(updates, 2);
  EXPECT_EQ(native->document()->blockCount(), 2001);
  EXPECT_TRUE(native->textCursor().atEnd());
  EXPECT_GT(native->verticalScrollBar()->value(), 1900);  // scrolled to the end

  // Typing right after a burst lands after all of it.
  memo.SetSelText(u"a");
  memo.SetSelText(u"b");
  SimulateChar(&memo, u'c');
  EXPECT_EQ(memo.Text().substr(memo.Text().size() - 9), u"line\r\nabc");
  EXPECT_EQ(native->toPlainText().right(4), QString("\nabc"));
}

TEST(Memo, TextFromCodeStopsAtTheTextLimit) {
  TMemo memo(nullptr);
  memo.HandleNeeded();
  memo.Perform(EM_LIMITTEXT, 10, 0);
  memo.SetSelText(u"0123456789AB");
  EXPECT_EQ(memo.Text(), u"0123456789");
  memo.SetSelText(u"x");
  EXPECT_EQ(memo.Text(), u"0123456789");
  // A replaced selection makes room.
  memo.SetSelStart(2);
  memo.SetSelLength(3);
  memo.SetSelText(u"abcdef");
  EXPECT_EQ(memo.Text(), u"01abc56789");
  EXPECT_EQ(memo.SelStart(), 5);
  memo.Lines()->Add(u"more");
  EXPECT_EQ(memo.Text(), u"01abc56789");
}

TEST(ComboBox, FiresOnChangeForTheUserOnlyNotForCode) {
  TInputForm f;
  TComboBox box(nullptr);
  f.Put(&box, 10, 10);
  for (const char16_t* s : {u"1", u"3", u"6", u"10"}) box.Items()->Add(s);
  std::vector<String> seen;
  box.OnChange = [&](TObject*) { seen.push_back(box.Text()); };

  box.SetItemIndex(2);
  box.SetText(u"10");
  box.Items()->Add(u"12");
  EXPECT_TRUE(seen.empty());
  EXPECT_EQ(box.Text(), u"10");
  EXPECT_EQ(box.ItemIndex(), 3);

  box.SelectAll();
  SimulateTyping(&box, u"7");
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], u"7");
  EXPECT_EQ(box.ItemIndex(), -1);

  // A pick from the list: Text is the item's when OnChange runs; OnSelect takes its place when set.
  PickFromList(&box, 1);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1], u"3");
  int selects = 0;
  box.OnSelect = [&](TObject*) { ++selects; };
  PickFromList(&box, 0);
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

TEST(ComboBox, SimpleStyleShowsItsListAndKeepsTheOnChangeRule) {
  TInputForm f;
  TComboBox box(nullptr);
  box.SetStyle(csSimple);
  box.SetBounds(0, 0, 150, 120);
  for (const char16_t* s : {u"MD", u"ID ALL /R", u"RSSI"}) box.Items()->Add(s);
  box.SetText(u"MD");
  f.Put(&box, 10, 10);
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
  SimulateTyping(&box, u"X");
  SimulateKeyStroke(&box, VK_RETURN);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0], u"X");
  EXPECT_EQ(box.ItemIndex(), -1);
  EXPECT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys.back(), VK_RETURN);

  // Picking from the list, by mouse or with the arrow keys, is the user's change too.
  auto itemAt = [&](int row) {
    return list->viewport()->mapTo(native, list->visualItemRect(list->item(row)).center());
  };
  SimulateClick(&box, itemAt(2).x(), itemAt(2).y());
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_EQ(changes[1], u"RSSI");
  EXPECT_EQ(box.ItemIndex(), 2);
  SimulateKeyStroke(&box, VK_DOWN);
  ASSERT_EQ(changes.size(), 3u);
  EXPECT_EQ(changes[2], u"VER");
  SimulateKeyStroke(&box, VK_DOWN);  // already the last item
  EXPECT_EQ(changes.size(), 3u);
  SimulateDblClick(&box, itemAt(0).x(), itemAt(0).y());  // its first click picks the item
  EXPECT_EQ(dbl, 1);
  EXPECT_EQ(changes.back(), u"MD");

  // Another style keeps text and items.
  box.SetStyle(csDropDown);
  EXPECT_EQ(box.Text(), u"MD");
  EXPECT_EQ(box.ItemIndex(), 0);
  EXPECT_NE(qobject_cast<QComboBox*>(TControlHost::Widget(&box)), nullptr);
}

TEST(CheckAndRadio, CheckedInCodeClicksAndRadioSiblingsUncheck) {
  TInputForm f;
  TCheckBox check(nullptr);
  int clicks = 0;
  check.OnClick = [&](TObject*) { ++clicks; };
  f.Put(&check, 10, 10);
  check.SetChecked(true);
  check.SetChecked(true);
  EXPECT_EQ(clicks, 1);
  ClickCentre(&check);  // the user
  EXPECT_FALSE(check.Checked());
  EXPECT_EQ(clicks, 2);

  TGroupBox group(nullptr);
  f.Put(&group, 10, 40);
  TRadioButton a(nullptr), b(nullptr);
  a.SetParent(&group);
  b.SetParent(&group);
  a.SetBounds(5, 20, 100, 20);
  b.SetBounds(5, 50, 100, 20);
  a.SetChecked(true);
  b.SetChecked(true);
  EXPECT_FALSE(a.Checked());
  EXPECT_TRUE(b.Checked());
  ClickCentre(&a);
  EXPECT_TRUE(a.Checked());
  EXPECT_FALSE(b.Checked());
  a.SetParent(nullptr);
  b.SetParent(nullptr);
  group.SetParent(nullptr);
}

TEST(CharCase, TypedTextTakesTheCaseOfEditsAndComboBoxes) {
  TInputForm f;
  TEdit edit(nullptr);
  f.Put(&edit, 10, 10);
  TComboBox box(nullptr);
  f.Put(&box, 10, 50);
  struct Case { TEditCharCase charCase; const char* typed; const char16_t* text; } cases[] = {
      {ecUpperCase, "ab1c", u"AB1C"}, {ecLowerCase, "AbC", u"abc"}, {ecNormal, "aB", u"aB"}};
  for (const Case& c : cases) {
    edit.SetText(u"");
    box.SetText(u"");
    edit.SetCharCase(c.charCase);
    box.SetCharCase(c.charCase);
    SimulateTyping(&edit, UTF8ToString(c.typed));
    SimulateTyping(&box, UTF8ToString(c.typed));
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

TEST(Edit, PositionFromCharacterFollowsTheShownText) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 100);
  auto* edit = new TEdit(&form);
  edit->SetParent(&form);
  edit->SetBounds(10, 10, 200, 24);
  edit->SetText(u"8888 8888");
  form.Show();
  edit->Select(6, 2);
  auto pos = [&](int i) {
    auto r = static_cast<uint32_t>(edit->Perform(EM_POSFROMCHAR, WPARAM(i), 0));
    return TPoint(int16_t(r & 0xFFFF), int16_t(r >> 16));
  };
  // The first ink column of the text lies at character 0; the gap at character 4.
  QImage img = Render(edit);
  int firstInk = -1;
  for (int x = 0; x < edit->Width() && firstInk < 0; ++x)
    if (InkPixels(img, TRect(x, 3, x + 1, edit->Height() - 3)) > 0) firstInk = x;
  EXPECT_NEAR(pos(0).X, firstInk, 2);
  const int step = pos(1).X - pos(0).X;
  EXPECT_GT(step, 3);
  EXPECT_EQ(pos(4).X, pos(0).X + 4 * step);
  EXPECT_EQ(InkPixels(img, TRect(pos(4).X + 1, 3, pos(5).X - 1, edit->Height() - 3)), 0);
  EXPECT_GT(pos(9).X, pos(8).X);  // the end of the text
  EXPECT_GE(pos(0).Y, 0);
  EXPECT_LT(pos(0).Y, edit->Height() / 2);
  EXPECT_EQ(edit->Perform(EM_POSFROMCHAR, 10, 0), -1);
  // The selection is left as it was.
  EXPECT_EQ(edit->SelStart(), 6);
  EXPECT_EQ(edit->SelLength(), 2);
}
