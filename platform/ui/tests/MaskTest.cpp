#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QStyle>

#include "platform/ui/Controls_p.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Mask.h"
#include "testing/TestSupport.h"

namespace {

// A shown form with a masked edit and a second edit to move the focus to.
struct MaskForm {
  TForm form{nullptr};
  TMaskEdit* edit = new TMaskEdit(&form);
  TEdit* other = new TEdit(&form);
  explicit MaskForm(const String& mask) {
    form.SetBounds(100, 100, 300, 120);
    edit->SetParent(&form);
    edit->SetBounds(10, 10, 200, 21);
    other->SetParent(&form);
    other->SetBounds(10, 50, 200, 21);
    edit->SetEditMask(mask);
    form.Show();
    ProcessPendingEvents();
  }
  QLineEdit* Line() const { return qobject_cast<QLineEdit*>(TControlHost::Widget(edit)); }
  int Caret() const { return Line()->cursorPosition(); }
};

TEST(MaskEdit, ValueAndEditTextFollowTheMaskFields) {
  struct Case {
    const char16_t* mask;
    const char16_t* value;
    const char16_t* editText;
    const char16_t* text;
  } cases[] = {
      {u"000-0000;1;_", u"123-4567", u"123-4567", u"123-4567"},
      {u"000-0000", u"123-4567", u"123-4567", u"123-4567"},  // literals saved when the field is left out
      {u"000-0000;0;_", u"1234567", u"123-4567", u"1234567"},
      {u"000-0000;0;_", u"12", u"12_-____", u"12     "},
      {u"!999;0;_", u"12", u"_12", u" 12"},
      {u"999;0;_", u"12", u"12_", u"12 "},
      {u">LL<ll;0;*", u"abCD", u"ABcd", u"ABcd"},
      {u"AAA;0;_", u"a1!", u"a1_", u"a1 "},
      {u"000;0;#", u"1x3", u"1#3", u"1 3"},
      {u"#99;0;_", u"-12", u"-12", u"-12"},
      {u"\\(000\\);0;_", u"123", u"(123)", u"123"},
      {u"00:00;1;_", u"12:34", u"12:34", u"12:34"},
      {u"00_00;1;_", u"12 34", u"12 34", u"12 34"},
      {u"LL", u"1a", u"_a", u" a"},
      {u"cc", u"a b", u"a ", u"a "},
  };
  for (const Case& c : cases) {
    TMaskEdit edit(nullptr);
    edit.SetEditMask(c.mask);
    edit.SetText(c.value);
    EXPECT_EQ(edit.EditText(), String(c.editText)) << StringToUTF8(c.mask) << " " << StringToUTF8(c.value);
    EXPECT_EQ(edit.Text(), String(c.text)) << StringToUTF8(c.mask) << " " << StringToUTF8(c.value);
    EXPECT_TRUE(edit.IsMasked());
  }
  EXPECT_EQ(FormatMaskText(u"!\\(999\\)000-0000;0;_", u"5551234567"), u"(555)123-4567");
  EXPECT_EQ(FormatMaskText(u"000-0000;0;_", u"12"), u"12 -    ");
}

TEST(MaskEdit, ChangingTheMaskKeepsTheValueAndAnEmptyMaskIsAPlainEdit) {
  TMaskEdit edit(nullptr);
  edit.SetText(u"1234567");
  EXPECT_FALSE(edit.IsMasked());
  EXPECT_EQ(edit.EditText(), u"1234567");
  edit.SetEditMask(u"000-0000;0;_");
  EXPECT_EQ(edit.EditText(), u"123-4567");
  EXPECT_EQ(edit.Text(), u"1234567");
  edit.SetEditMask(u"");
  EXPECT_FALSE(edit.IsMasked());
  EXPECT_EQ(edit.Text(), u"1234567");
  edit.SetEditMask(u";1;_");  // no positions: not masked
  EXPECT_FALSE(edit.IsMasked());
}

TEST(MaskEdit, TypingOverwritesPositionsSkipsLiteralsAndRefusesWhatTheMaskRefuses) {
  MaskForm f(u"000-0000;1;_");
  int changes = 0;
  f.edit->OnChange = [&](TObject*) { ++changes; };
  SimulateTyping(f.edit, u"12a3");
  EXPECT_EQ(f.edit->EditText(), u"123-____");
  EXPECT_EQ(f.Caret(), 4);  // past the literal, on the next position that takes a digit
  EXPECT_TRUE(f.edit->Modified());
  EXPECT_EQ(changes, 3);    // the refused letter changed nothing
  SimulateTyping(f.edit, u"-45");  // the literal typed where it stands is taken as it
  EXPECT_EQ(f.edit->EditText(), u"123-45__");
  SimulateTyping(f.edit, u"6789");  // the last character finds no position left
  EXPECT_EQ(f.edit->EditText(), u"123-4567");
  // Typing over a selection empties it first.
  f.edit->Select(1, 4);
  SimulateChar(f.edit, u'9');
  EXPECT_EQ(f.edit->EditText(), u"19_-_567");
  EXPECT_EQ(f.Caret(), 2);
}

TEST(MaskEdit, BackspaceAndDeleteEmptyPositionsAndKeepTheLength) {
  MaskForm f(u"000-0000;1;_");
  SimulateTyping(f.edit, u"12345");
  ASSERT_EQ(f.edit->EditText(), u"123-45__");
  SimulateKeyStroke(f.edit, VK_BACK);
  EXPECT_EQ(f.edit->EditText(), u"123-4___");
  EXPECT_EQ(f.Caret(), 5);
  SimulateKeyStroke(f.edit, VK_BACK);
  SimulateKeyStroke(f.edit, VK_BACK);  // over the literal to the digit before it
  EXPECT_EQ(f.edit->EditText(), u"12_-____");
  EXPECT_EQ(f.Caret(), 2);
  SimulateKeyStroke(f.edit, VK_HOME);
  SimulateKeyStroke(f.edit, VK_DELETE);
  EXPECT_EQ(f.edit->EditText(), u"_2_-____");
  EXPECT_EQ(f.Caret(), 0);
  f.edit->SelectAll();
  SimulateKeyStroke(f.edit, VK_DELETE);
  EXPECT_EQ(f.edit->EditText(), u"___-____");
}

TEST(MaskEdit, PastedAndInputMethodTextIsMaskedLikeTypedText) {
  MaskForm f(u"000-0000;0;_");
  QApplication::clipboard()->setText(QStringLiteral("555-12x9"));
  f.edit->SetFocus();
  f.edit->SelectAll();
  SimulateKeyStroke(f.edit, 'V', {ssCtrl});
  EXPECT_EQ(f.edit->EditText(), u"555-12__");  // up to the first character refused
  EXPECT_TRUE(f.edit->Modified());
  // A paste whose first character the position refuses changes nothing.
  QApplication::clipboard()->setText(QStringLiteral("abc"));
  f.edit->Select(0, 0);
  SimulateKeyStroke(f.edit, VK_INSERT, {ssShift});
  EXPECT_EQ(f.edit->EditText(), u"555-12__");
  // Cut empties the positions and leaves the literals.
  f.edit->Select(2, 3);
  SimulateKeyStroke(f.edit, 'X', {ssCtrl});
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("5-1"));
  EXPECT_EQ(f.edit->EditText(), u"55_-_2__");
  // An input method commits text straight into the window: the mask applies all the same.
  f.Line()->setCursorPosition(6);
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("78"));
  QCoreApplication::sendEvent(f.Line(), &commit);
  EXPECT_EQ(f.edit->EditText(), u"55_-_278");
  QInputMethodEvent refused;
  refused.setCommitString(QStringLiteral("zz"));
  f.Line()->setCursorPosition(2);
  QCoreApplication::sendEvent(f.Line(), &refused);
  EXPECT_EQ(f.edit->EditText(), u"55_-_278");
  EXPECT_EQ(f.edit->Text(), u"55  278");
}

TEST(MaskEdit, EscapePutsBackTheTextTheEditHadWhenEntered) {
  MaskForm f(u"00/00;1;_");
  f.edit->SetText(u"12/34");
  f.edit->SetFocus();
  ProcessPendingEvents();
  f.edit->SelectAll();
  SimulateTyping(f.edit, u"98");
  ASSERT_EQ(f.edit->EditText(), u"98/__");
  SimulateKeyStroke(f.edit, VK_ESCAPE);
  EXPECT_EQ(f.edit->EditText(), u"12/34");
  EXPECT_FALSE(f.edit->Modified());
}

TEST(MaskEdit, ValidationRaisesTheErrorAndKeepsTheFocusUntilTheTextIsComplete) {
  MaskForm f(u"000-0000;1;_");
  f.edit->ValidateEdit();  // unmodified: nothing to check
  SimulateTyping(f.edit, u"12");
  try {
    f.edit->ValidateEdit();
    ADD_FAILURE() << "no error";
  } catch (EDBEditError& e) {
    EXPECT_EQ(e.Message(), u"Invalid input value.  Use escape key to abandon changes");
  }
  EXPECT_EQ(f.edit->SelStart(), 2);  // the caret on the first position in error
  // Leaving it shows the error and the edit keeps the focus.
  std::vector<String> reports;
  TExceptionReport old = SetExceptionReport([&](const String& m) { reports.push_back(m); });
  SimulateKeyStroke(f.edit, VK_TAB);
  ProcessPendingEvents();
  SetExceptionReport(old);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0], u"Invalid input value.  Use escape key to abandon changes.");
  EXPECT_TRUE(f.edit->Focused());
  // Complete, it lets the focus go.
  SimulateTyping(f.edit, u"34567");
  SimulateKeyStroke(f.edit, VK_TAB);
  EXPECT_TRUE(f.other->Focused());
  // Optional positions may stay empty.
  TMaskEdit optional(nullptr);
  optional.SetEditMask(u"0999;1;_");
  optional.SetText(u"1");
  optional.SetModified(true);
  optional.ValidateEdit();
  optional.SetText(u"");
  optional.SetModified(true);
  EXPECT_THROW(optional.ValidateEdit(), EDBEditError);
}

TEST(MaskEdit, ReadOnlyMaskedEditTakesNoInput) {
  MaskForm f(u"000;1;_");
  f.edit->SetReadOnly(true);
  SimulateTyping(f.edit, u"12");
  SimulateKeyStroke(f.edit, VK_BACK);
  EXPECT_EQ(f.edit->EditText(), u"___");
  EXPECT_FALSE(f.edit->Modified());
}

// With an empty mask the edit is the class library's edit.
class TMultiLineMaskEdit : public TMaskEdit {
public:
  using TMaskEdit::TMaskEdit;
  DWORD Styles() const { return FStyle; }

protected:
  void CreateParams(TCreateParams& Params) override {
    TMaskEdit::CreateParams(Params);
    Params.Style |= ES_MULTILINE | 0x02000000;  // WS_CLIPCHILDREN
  }
};

TEST(MaskEdit, WithoutAMaskItIsThePlainEdit) {
  MaskForm f(u"");
  f.edit->SetMaxLength(5);
  SimulateTyping(f.edit, u"abc");
  EXPECT_EQ(f.edit->Text(), u"abc");
  EXPECT_TRUE(f.edit->Modified());
  SimulateKeyStroke(f.edit, VK_LEFT);
  SimulateKeyStroke(f.edit, VK_LEFT, {ssShift});
  EXPECT_EQ(f.edit->SelStart(), 1);
  EXPECT_EQ(f.edit->SelLength(), 1);
  SimulateTyping(f.edit, u"XYZW");  // replaces the selection, then stops at MaxLength
  EXPECT_EQ(f.edit->Text(), u"aXYZc");
  f.edit->SetText(u"new");
  EXPECT_FALSE(f.edit->Modified());
  SimulateKeyStroke(f.edit, VK_BACK);
  EXPECT_EQ(f.edit->Text(), u"ne");
  f.edit->SetReadOnly(true);
  SimulateTyping(f.edit, u"q");
  EXPECT_EQ(f.edit->Text(), u"ne");
  // A new window keeps what was typed.
  f.edit->SetReadOnly(false);
  SimulateTyping(f.edit, u"w");
  f.edit->RecreateWnd();
  ProcessPendingEvents();
  EXPECT_EQ(f.edit->Text(), u"new");
  // Password characters hide the text (with the edit's own character) but not the value.
  f.edit->SetPasswordChar(u'*');
  EXPECT_EQ(f.Line()->echoMode(), QLineEdit::Password);
  EXPECT_EQ(f.Line()->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, f.Line()), u'*');
  EXPECT_EQ(f.edit->Text(), u"new");
  f.edit->SetPasswordChar(0);
  EXPECT_EQ(f.Line()->echoMode(), QLineEdit::Normal);
  // A paste takes what MaxLength leaves room for, keeps the text after the caret, takes the
  // first line only, and marks the text modified.
  f.edit->SetMaxLength(6);
  f.edit->SetText(u"abcde");
  QApplication::clipboard()->setText(QStringLiteral("XYZ"));
  f.edit->SetFocus();
  f.edit->Select(0, 0);
  SimulateKeyStroke(f.edit, 'V', {ssCtrl});
  EXPECT_EQ(f.edit->Text(), u"Xabcde");
  EXPECT_TRUE(f.edit->Modified());
  f.edit->SetText(u"");
  QApplication::clipboard()->setText(QStringLiteral("one\r\ntwo"));
  SimulateKeyStroke(f.edit, VK_INSERT, {ssShift});
  EXPECT_EQ(f.edit->Text(), u"one");
  // A descendant's window styles: still one line, with a formatting rectangle.
  TMultiLineMaskEdit multi(&f.form);
  multi.SetParent(&f.form);
  multi.SetBounds(10, 80, 200, 21);
  multi.HandleNeeded();
  EXPECT_NE(multi.Styles() & ES_MULTILINE, 0u);
  EXPECT_NE(qobject_cast<QLineEdit*>(TControlHost::Widget(&multi)), nullptr);
  RECT r = Rect(2, 3, 150, 22);
  multi.Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
  RECT back;
  multi.Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&back));
  EXPECT_EQ(back, r);
}

TEST(MaskEdit, ANewWindowKeepsTheMaskedTextAndItsMask) {
  MaskForm f(u"000-0000;1;_");
  SimulateTyping(f.edit, u"123");
  f.edit->RecreateWnd();
  ProcessPendingEvents();
  EXPECT_EQ(f.edit->EditText(), u"123-____");
  f.edit->SetFocus();
  f.edit->SetSelStart(4);
  SimulateTyping(f.edit, u"4x");
  EXPECT_EQ(f.edit->EditText(), u"123-4___");
}

}  // namespace
