// The drop-down edit's value text: setters, conversions, typed keys per edit type, paste.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QInputMethodEvent>
#include <QMenu>
#include <QTimer>

#include "AdvDropDownTestSupport.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Controls_p.h"
#include "platform/ui/OleDragDrop.h"

namespace {

TEST(AdvDropDownRoutines, HexAndNumberClassification) {
  EXPECT_EQ(HexToInt(u"ff"), 255);
  EXPECT_EQ(HexToInt(u"7FFFFFFF"), 0x7FFFFFFF);
  EXPECT_EQ(HexToInt(u"FFFFFFFF"), -1);
  EXPECT_EQ(HexToInt(u"1FFFFFFFF"), -1);  // past eight digits the value wraps
  EXPECT_EQ(HexToInt(u"zz"), 0);
  SeparatorsScope sep(u'.', u',');
  struct Case {
    const char16_t* text;
    int kind;
  } cases[] = {{u"", 2},    {u"123", 0},   {u"-12", 0},   {u"1.5", 1},    {u"1,234.5", 1}, {u",123", 2},
               {u"1,23", 1}, {u"--1", 2},  {u"1.2.3", 2}, {u"AB-1", 5},   {u"xyz", 2},     {u"12,345,678", 1}};
  for (const Case& c : cases) EXPECT_EQ(ClassifyNumericText(c.text), c.kind) << String(c.text).size();
}

TEST(AdvDropDownRoutines, ColoursBlendAndShade) {
  EXPECT_EQ(BlendColor(0x0000FF, 0xFF0000, 100), 0x0000FF);
  EXPECT_EQ(BlendColor(0x0000FF, 0xFF0000, 0), 0xFF0000);
  EXPECT_EQ(BlendColor(0x000000, 0xFFFFFF, 20), 0xCCCCCC);
  EXPECT_EQ(ShadeColor(0xF5F0E1, -10, -10, 0), 0xF5D8CA);
  EXPECT_EQ(ShadeColor(0x000010, -50, 5, 0), 0x000508);  // a zero channel takes the percentage
}

struct SetTextCase {
  const char* name;
  TDropDownEditType type;
  int precision;
  const char16_t* prefix;
  const char16_t* suffix;
  const char16_t* value;
  const char16_t* editText;  // what the edit shows
  const char16_t* text;      // the value text read back
};

const SetTextCase kSetText[] = {
    {"empty float with precision", etFloat, 2, u"", u"", u"", u"0.00", u"0.00"},
    {"empty string stays empty", etString, 2, u"", u"", u"", u"", u""},
    {"Error is kept", etFloat, 2, u"", u"", u"Error", u"Error", u"Error"},
    {"money grouped", etMoney, 2, u"", u"", u"1234567.5", u"1,234,567.50", u"1,234,567.50"},
    {"hex upper-cased", etHex, 0, u"", u"", u"ff", u"FF", u"FF"},
    {"empty numeric is 0", etNumeric, 0, u"", u"", u"", u"0", u"0"},
    {"prefix and suffix", etNumeric, 0, u"$", u" kg", u"12", u"$12 kg", u"12"},
};

class AdvDropDownSetText : public ::testing::TestWithParam<SetTextCase> {};

TEST_P(AdvDropDownSetText, FramesAndFormatsTheValue) {
  const SetTextCase& c = GetParam();
  SeparatorsScope sep(u'.', u',');
  DropDownFixture f;
  f.dd->SetEditType(c.type);
  f.dd->SetPrecision(c.precision);
  f.dd->SetPrefix(c.prefix);
  f.dd->SetSuffix(c.suffix);
  f.dd->SetText(c.value);
  EXPECT_EQ(f.dd->EditText(), String(c.editText));
  EXPECT_EQ(f.dd->Text(), String(c.text));
}

INSTANTIATE_TEST_SUITE_P(Table, AdvDropDownSetText, ::testing::ValuesIn(kSetText),
                         [](const auto& info) {
                           std::string n = info.param.name;
                           for (char& ch : n)
                             if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return n;
                         });

TEST(AdvDropDownValue, DirectTextWithoutTheSuffixKeepsEveryCharacter) {
  DropDownFixture f;
  f.dd->SetSuffix(u" %");
  f.dd->SetTextDirect(u"25");
  EXPECT_EQ(f.dd->Text(), u"25");
  f.dd->SetTextDirect(u"25 %");
  EXPECT_EQ(f.dd->Text(), u"25");
}

TEST(AdvDropDownValue, ConversionsOfEachType) {
  SeparatorsScope sep(u',', u'.');
  DropDownFixture f;
  f.dd->SetEditType(etMoney);
  f.dd->SetPrecision(2);
  f.dd->SetFloatValue(1234.5);
  EXPECT_EQ(f.dd->Text(), u"1.234,50");
  EXPECT_DOUBLE_EQ(f.dd->GetFloatValue(), 1234.5);
  f.dd->SetEditType(etHex);
  f.dd->SetFloatValue(1e30);  // clamped before the fraction is cut
  EXPECT_EQ(f.dd->Text(), u"7FFFFFFF");
  f.dd->SetIntValue(-1);
  EXPECT_EQ(f.dd->Text(), u"FFFFFFFF");
  EXPECT_DOUBLE_EQ(f.dd->GetFloatValue(), -1);
  f.dd->SetEditType(etString);
  f.dd->SetText(u"2.5");
  EXPECT_DOUBLE_EQ(f.dd->GetFloatValue(), 2.5);  // '.' whatever the locale
}

TEST(AdvDropDownValue, MoneyFormattingKeepsAFractionOfAnyLength) {
  SeparatorsScope sep(u'.', u',');
  DropDownFixture f;
  f.dd->SetEditType(etMoney);
  const String fraction = u"." + String(400, u'7');
  f.dd->SetTextDirect(u"-1234567" + fraction);
  f.dd->Select(3, 0);
  f.dd->ApplyThousandSeparators();
  EXPECT_EQ(f.dd->Text(), u"-1,234,567" + fraction);
  EXPECT_EQ(f.dd->SelStart(), 5);  // the caret keeps its distance from the end
}

// ---------------------------------------------------------------------------
// Typed keys

struct KeyCase {
  const char* name;
  TDropDownEditType type;
  int precision;
  bool sign;
  const char16_t* prefix;
  const char16_t* suffix;
  const char16_t* start;
  int selStart, selLength;
  const char16_t* keys;
  const char16_t* text;  // the value afterwards
  int caret;             // SelStart afterwards
};

const KeyCase kKeys[] = {
    {"numeric drops letters", etNumeric, 0, false, u"", u"", u"", 0, 1, u"12a3", u"123", 3},
    {"unsigned minus dropped", etNumeric, 0, false, u"", u"", u"12", 2, 0, u"-", u"12", 2},
    {"signed minus over all", etNumeric, 0, true, u"", u"", u"5", 0, 1, u"-7", u"-7", 2},
    {"signed minus toggles", etFloat, 0, true, u"", u"", u"12", 1, 0, u"--", u"12", 1},
    {"digit after the decimals refused", etFloat, 2, false, u"", u"", u"12.34", 5, 0, u"5", u"12.34", 5},
    {"digit replaces the last decimal", etFloat, 2, false, u"", u"", u"12.34", 4, 0, u"9", u"12.39", 5},
    {"separator on empty gives 0.", etFloat, 2, false, u"", u"", u"", 0, 0, u".", u"0.", 2},
    {"separator two after grouping", etFloat, 0, false, u"", u"", u"1,23", 4, 0, u",", u"1,23", 4},
    {"separator three after grouping", etFloat, 0, false, u"", u"", u"1,234", 5, 0, u",", u"1,234,", 6},
    {"money groups while typing", etMoney, 0, false, u"", u"", u"", 0, 1, u"1234", u"1,234", 5},
    {"upper case", etUppercase, 0, false, u"", u"", u"", 0, 0, u"ab", u"AB", 2},
    {"lower case", etLowerCase, 0, false, u"", u"", u"", 0, 0, u"AB", u"ab", 2},
    {"mixed case", etMixedCase, 0, false, u"", u"", u"", 0, 0, u"hello world", u"Hello World", 11},
    {"hex", etHex, 0, false, u"", u"", u"", 0, 1, u"1g2F", u"12F", 3},
    {"alphanumeric", etAlphaNumeric, 0, false, u"", u"", u"", 0, 0, u"a-1_b", u"a1b", 3},
    {"valid chars", etValidChars, 0, false, u"", u"", u"", 0, 0, u"abcab", u"abab", 4},
    {"range separators", etRange, 0, false, u"", u"", u"", 0, 0, u"1,,2-;3", u"1,2-3", 5},
    {"typed between prefix and suffix", etNumeric, 0, false, u"$", u" kg", u"5", 1, 1, u"12", u"12", 3},
    {"backspace stops at the prefix", etString, 0, false, u"ab", u"", u"x", 3, 0, u"\b\b", u"", 2},
    {"right stays out of the suffix", etNumeric, 0, false, u"$", u"USD", u"12", 3, 0, u"\uE002", u"12", 3},
    {"delete before the suffix", etNumeric, 0, false, u"$", u"USD", u"12", 3, 0, u"\uE005", u"12", 3},
    {"end before the suffix", etNumeric, 0, false, u"$", u"USD", u"12", 1, 0, u"\uE004", u"12", 3},
    {"home after the prefix", etNumeric, 0, false, u"$", u"USD", u"12", 3, 0, u"\uE003", u"12", 1},
    {"left stays out of the prefix", etNumeric, 0, false, u"$", u"", u"12", 1, 0, u"\uE001", u"12", 1},
    {"sign after the prefix", etFloat, 0, true, u"$", u" kg", u"12", 2, 0, u"-", u"-12", 3},
    {"sign toggles back after the prefix", etFloat, 0, true, u"$", u" kg", u"-12", 3, 0, u"-", u"12", 2},
    {"money sign", etMoney, 0, true, u"", u"", u"1,234", 3, 0, u"-", u"-1,234", 4},
    {"money grouped after the prefix", etMoney, 0, false, u"$", u" net", u"", 1, 0, u"12345", u"12,345", 7},
    {"mixed case after the prefix", etMixedCase, 0, false, u"<", u">", u"", 1, 0, u"ab cd", u"Ab Cd", 6},
    {"range separator not first", etRange, 0, false, u"#", u"", u"", 1, 0, u",1,2", u"1,2", 4},
};

class AdvDropDownKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(AdvDropDownKeys, ScriptGivesTextAndCaret) {
  const KeyCase& c = GetParam();
  SeparatorsScope sep(u'.', u',');
  DropDownFixture f;
  TTestDropDown* d = f.dd;
  d->SetEditType(c.type);
  d->SetSigned(c.sign);
  d->SetAllowNumericNullValue(true);
  d->SetPrecision(c.precision);
  if (c.type == etValidChars) d->SetValidChars(u"ab");
  d->SetPrefix(c.prefix);
  d->SetSuffix(c.suffix);
  d->SetText(c.start);
  if (String(c.start).empty()) d->SetTextDirect(String(c.prefix) + c.suffix);
  f.Focus();
  d->Select(c.selStart, c.selLength);
  f.Run(c.keys);
  EXPECT_EQ(d->Text(), String(c.text)) << c.name;
  EXPECT_EQ(d->SelStart(), c.caret) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Table, AdvDropDownKeys, ::testing::ValuesIn(kKeys), [](const auto& info) {
  std::string n = info.param.name;
  for (char& ch : n)
    if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
  return n;
});

TEST(AdvDropDownKeys, KeypadDecimalTypesTheLocaleSeparator) {
  SeparatorsScope sep(u',', u'.');
  DropDownFixture f;
  f.dd->SetEditType(etFloat);
  f.dd->SetPrecision(2);
  f.dd->SetExcelStyleDecimalSeparator(true);
  f.dd->SetText(u"");
  f.Focus();
  f.dd->Select(0, 4);
  SimulateChar(f.dd, u'1');
  SimulateKeyStroke(f.dd, VK_DECIMAL);
  ProcessPendingEvents();
  EXPECT_EQ(f.dd->Text(), u"1,");
}

TEST(AdvDropDownKeys, LengthLimitCapsTheDigitsBeforeTheDecimalSeparator) {
  SeparatorsScope sep(u'.', u',');
  struct Case {
    const char* name;
    TDropDownEditType type;
    bool sign;
    const char16_t* start;
    int caret;
    const char16_t* keys;
    const char16_t* text;
  } cases[] = {
      {"integer", etNumeric, false, u"", 0, u"12345", u"123"},
      {"the sign is no digit", etNumeric, true, u"", 0, u"-12345", u"-123"},
      {"decimals are free", etFloat, false, u"123", 3, u".456", u"123.456"},
      {"digits before the separator", etFloat, false, u"123.4", 0, u"9", u"123.4"},
      {"delete joining the parts", etFloat, false, u"12.34", 2, u"\uE005", u"12.34"},
      {"delete within the limit", etFloat, false, u"1.2", 1, u"\uE005", u"12"},
  };
  for (const Case& c : cases) {
    DropDownFixture f;
    f.dd->SetEditType(c.type);
    f.dd->SetSigned(c.sign);
    if (c.type == etFloat) f.dd->SetPrecision(3);
    f.dd->SetLengthLimit(3);
    f.dd->SetTextDirect(c.start);
    f.Focus();
    f.dd->Select(c.caret, 0);
    f.Run(c.keys);
    EXPECT_EQ(f.dd->Text(), String(c.text)) << c.name;
  }
}

TEST(AdvDropDownKeys, PickOnlyEditSwallowsTyping) {
  DropDownFixture f;
  f.dd->SetEditorEnabled(false);
  f.dd->SetText(u"fixed");
  f.Focus();
  f.Run(u"abc\b");
  EXPECT_EQ(f.dd->Text(), u"fixed");
}

// ---------------------------------------------------------------------------
// Paste

struct PasteCase {
  const char* name;
  TDropDownEditType type;
  bool sign;
  const char16_t* start;
  const char16_t* clip;
  const char16_t* text;
};

const PasteCase kPaste[] = {
    {"numeric refuses letters", etNumeric, false, u"1", u"12a", u"1"},
    {"numeric refuses a sign", etNumeric, false, u"1", u"-5", u"1"},
    {"signed numeric takes a sign", etNumeric, true, u"", u"-5", u"-5"},
    {"string inserts at the caret", etString, false, u"ab", u"XY", u"abXY"},
    {"upper case", etUppercase, false, u"", u"mix", u"MIX"},
    {"alphanumeric refuses a blank", etAlphaNumeric, false, u"a", u"b c", u"a"},
    {"hex writes nothing", etHex, false, u"A", u"B", u"A"},
};

class AdvDropDownPaste : public ::testing::TestWithParam<PasteCase> {};

TEST_P(AdvDropDownPaste, FiltersByEditType) {
  const PasteCase& c = GetParam();
  DropDownFixture f;
  f.dd->SetEditType(c.type);
  f.dd->SetSigned(c.sign);
  f.dd->SetAllowNumericNullValue(true);
  f.dd->SetText(c.start);
  if (c.type == etNumeric && String(c.start).empty()) f.dd->SetTextDirect(u"");
  f.Focus();
  f.dd->Select(static_cast<int>(f.dd->EditText().size()), 0);
  Clipboard()->SetAsText(c.clip);
  f.Run(String(1, kCtrlV));
  EXPECT_EQ(f.dd->Text(), String(c.text)) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Table, AdvDropDownPaste, ::testing::ValuesIn(kPaste), [](const auto& info) {
  std::string n = info.param.name;
  for (char& ch : n)
    if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
  return n;
});

TEST(AdvDropDownPaste, EveryKeyPathFiltersAndMaxLengthHolds) {
  DropDownFixture f;
  f.dd->SetEditType(etNumeric);
  f.dd->SetText(u"1");
  f.dd->SetMaxLength(5);
  f.Focus();
  f.dd->Select(1, 0);
  Clipboard()->SetAsText(u"x9");
  f.Run(String(1, kShiftIns));
  EXPECT_EQ(f.dd->Text(), u"1");
  Clipboard()->SetAsText(u"23");
  f.Run(String(1, kShiftIns));
  EXPECT_EQ(f.dd->Text(), u"123");
  Clipboard()->SetAsText(u"456");  // six characters would pass MaxLength
  f.Run(String(1, kCtrlV));
  EXPECT_EQ(f.dd->Text(), u"123");
  // A long text is filtered as a whole.
  f.dd->SetMaxLength(0);
  f.dd->SetEditType(etAlphaNumeric);
  f.dd->SetText(u"");
  Clipboard()->SetAsText(String(200000, u'a') + u"!");
  f.Run(String(1, kCtrlV));
  EXPECT_EQ(f.dd->Text(), u"");
}

TEST(AdvDropDownPaste, HandlerMayRefuse) {
  DropDownFixture f;
  String seen;
  f.dd->OnClipboardPaste = [&](TObject*, String v, bool& allow) {
    seen = v;
    allow = false;
  };
  f.dd->SetText(u"ab");
  f.Focus();
  f.dd->Select(1, 0);
  Clipboard()->SetAsText(u"Z");
  f.Run(String(1, kCtrlV));
  EXPECT_EQ(seen, u"aZb");
  EXPECT_EQ(f.dd->Text(), u"ab");
}

}  // namespace

namespace {

// Chooses the item of the context menu shown by a right click on the drop-down.
void ChooseFromContextMenu(TWinControl* Control, const QString& Item) {
  QTimer::singleShot(0, [Item] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    for (QAction* a : menu->actions())
      if (a->text() == Item) a->trigger();
    menu->close();
  });
  SimulateClick(Control, 20, 5, mbRight);
  ProcessPendingEvents();
}

TEST(AdvDropDownPaste, ContextMenuPasteGoesThroughTheFilter) {
  DropDownFixture f;
  f.dd->SetEditType(etNumeric);
  f.dd->SetText(u"1");
  f.Focus();
  f.dd->Select(1, 0);
  Clipboard()->SetAsText(u"2x");
  ChooseFromContextMenu(f.dd, QStringLiteral("&Paste"));
  EXPECT_EQ(f.dd->Text(), u"1");
  Clipboard()->SetAsText(u"23");
  f.dd->Select(1, 0);
  ChooseFromContextMenu(f.dd, QStringLiteral("&Paste"));
  EXPECT_EQ(f.dd->Text(), u"123");
  // Delete takes only the selected part of the value, never the prefix.
  f.dd->SetPrefix(u"$");
  f.dd->SetText(u"45");
  f.dd->Select(0, 2);
  ChooseFromContextMenu(f.dd, QStringLiteral("&Delete"));
  EXPECT_EQ(f.dd->EditText(), u"$5");
}

}  // namespace

namespace {

TEST(AdvDropDownPaste, TextAnInputMethodCommitsIsFilteredLikeTypedKeys) {
  DropDownFixture f;
  f.dd->SetEditType(etNumeric);
  f.dd->SetText(u"12");
  f.dd->SetFocus();
  ProcessPendingEvents();
  f.dd->SetSelStart(2);
  QInputMethodEvent composed;
  composed.setCommitString(QStringLiteral("3a\u30a24"));
  QCoreApplication::sendEvent(TControlHost::Widget(f.dd), &composed);
  EXPECT_EQ(f.dd->Text(), u"1234");
}

TEST(AdvDropDownPaste, DroppedTextIsFilteredLikeAPaste) {
  DropDownFixture f;
  f.dd->SetEditType(etNumeric);
  f.dd->SetText(u"12");
  EXPECT_EQ(SimulateOutsideDrop(f.dd, 60, 10, u"3a"), uint32_t(DROPEFFECT_COPY));
  ProcessPendingEvents();
  EXPECT_EQ(f.dd->Text(), u"12");
  SimulateOutsideDrop(f.dd, 60, 10, u"34");  // past the text's end: at the end
  ProcessPendingEvents();
  EXPECT_EQ(f.dd->Text(), u"1234");
  f.dd->SetReadOnly(true);
  EXPECT_EQ(SimulateOutsideDrop(f.dd, 60, 10, u"5"), uint32_t(DROPEFFECT_NONE));
  EXPECT_EQ(f.dd->Text(), u"1234");
}

TEST(AdvDropDownPaste, MiddleButtonPastesTheSelectionThroughTheFilter) {
  DropDownFixture f;
  f.dd->SetEditType(etNumeric);
  f.dd->SetPrefix(u"$");
  f.dd->SetText(u"12");
  f.Focus();
  Clipboard()->SetAsText(u"9");  // the clipboard is not what the middle button pastes
  Clipboard()->SetSelectionText(u"3a");
  SimulateClick(f.dd, 3, 10, mbMiddle);
  EXPECT_EQ(f.dd->Text(), u"12");
  Clipboard()->SetSelectionText(u"34");
  SimulateClick(f.dd, 1, 10, mbMiddle);  // on the prefix: at the value's start
  EXPECT_EQ(f.dd->EditText(), u"$3412");
  SimulateClick(f.dd, 100, 10, mbMiddle);  // past the text's end: at the end
  EXPECT_EQ(f.dd->EditText(), u"$341234");
  f.dd->SetReadOnly(true);
  SimulateClick(f.dd, 100, 10, mbMiddle);
  EXPECT_EQ(f.dd->EditText(), u"$341234");
  Clipboard()->SetSelectionText(u"");
}

}  // namespace

namespace {

TEST(AdvDropDownKeys, EscapeSelectsTheValueAndClearsModified) {
  DropDownFixture f;
  f.dd->SetPrefix(u"<");
  f.dd->SetText(u"abc");
  f.Focus();
  f.dd->Select(2, 0);
  f.Run(u"x");
  EXPECT_TRUE(f.dd->GetModified());
  f.Run(String(1, kEsc));
  EXPECT_FALSE(f.dd->GetModified());
  EXPECT_EQ(f.dd->SelStart(), 1);
  EXPECT_EQ(f.dd->SelLength(), 4);
}

}  // namespace

namespace {

TEST(AdvDropDownValue, LeavingFormatsNumbersAndFillsEmptyOnes) {
  SeparatorsScope sep(u'.', u',');
  DropDownFixture f;
  f.dd->SetEditType(etFloat);
  f.dd->SetPrecision(2);
  f.Focus();
  f.dd->SelectAll();
  f.Run(u"1.5");
  f.other->SetFocus();
  ProcessPendingEvents();
  EXPECT_EQ(f.dd->Text(), u"1.50");
  f.dd->SetEditType(etNumeric);
  f.dd->SetTextDirect(u"");
  f.Focus();
  f.other->SetFocus();
  ProcessPendingEvents();
  EXPECT_EQ(f.dd->Text(), u"0");
  f.dd->SetAllowNumericNullValue(true);
  f.dd->SetTextDirect(u"");
  f.Focus();
  f.other->SetFocus();
  ProcessPendingEvents();
  EXPECT_EQ(f.dd->Text(), u"");
}

}  // namespace

namespace {

TEST(AdvDropDownClipboard, CutAndCopyRaiseTheirOwnEventWithTheSelectedValue) {
  DropDownFixture f;
  int cuts = 0, copies = 0;
  String seen;
  bool allow = true;
  f.dd->OnClipboardCut = [&](TObject*, String v, bool& a) {
    ++cuts;
    seen = v;
    a = allow;
  };
  f.dd->OnClipboardCopy = [&](TObject*, String v, bool& a) {
    ++copies;
    seen = v;
    a = allow;
  };
  f.dd->SetPrefix(u"<");
  f.dd->SetText(u"abcd");
  f.Focus();
  Clipboard()->SetAsText(u"before");
  f.dd->Select(2, 2);
  f.Stroke(f.dd, 'C', {ssCtrl});
  EXPECT_EQ(copies, 1);
  EXPECT_EQ(seen, u"bc");
  EXPECT_EQ(Clipboard()->AsText(), u"bc");
  f.dd->Select(1, 1);
  f.Stroke(f.dd, 'X', {ssCtrl});
  EXPECT_EQ(cuts, 1);
  EXPECT_EQ(copies, 1);  // a cut raises only its own event
  EXPECT_EQ(seen, u"a");
  EXPECT_EQ(f.dd->Text(), u"bcd");
  EXPECT_EQ(Clipboard()->AsText(), u"a");
  allow = false;  // a handler may refuse both
  f.dd->Select(1, 1);
  f.Stroke(f.dd, 'X', {ssCtrl});
  f.Stroke(f.dd, 'C', {ssCtrl});
  EXPECT_EQ(f.dd->Text(), u"bcd");
  EXPECT_EQ(Clipboard()->AsText(), u"a");
  Clipboard()->Clear();
}

TEST(AdvDropDownFocus, EnteringSelectsTheValueOrPutsTheCaretBeforeTheDecimals) {
  SeparatorsScope sep(u'.', u',');
  DropDownFixture f;
  f.dd->SetPrefix(u"$");
  f.dd->SetSuffix(u" kg");
  f.dd->SetText(u"12.5");
  f.Focus();
  EXPECT_EQ(f.dd->SelStart(), 1);
  EXPECT_EQ(f.dd->SelLength(), 4);
  f.other->SetFocus();
  ProcessPendingEvents();
  f.dd->SetAutoSelect(false);
  f.dd->SetEditType(etFloat);
  f.Focus();
  EXPECT_EQ(f.dd->SelStart(), 3);
  EXPECT_EQ(f.dd->SelLength(), 0);
}

TEST(AdvDropDownKeys, ReturnIsTabMovesOnToTheNextControl) {
  DropDownFixture f;
  f.dd->SetReturnIsTab(true);
  f.Focus();
  f.Stroke(f.dd, VK_RETURN);
  ProcessPendingEvents();
  EXPECT_TRUE(f.other->Focused());
}

}  // namespace

namespace {

TEST(AdvDropDownKeys, WithoutDefaultHandlingEnterGoesOnToTheParent) {
  DropDownFixture f;
  std::vector<Word> seen;
  f.form.OnKeyDown = [&](TObject*, Word& Key, TShiftState) { seen.push_back(Key); };
  f.dd->SetText(u"ab");
  f.Focus();
  f.Stroke(f.dd, VK_RETURN);
  ProcessPendingEvents();
  EXPECT_TRUE(seen.empty());
  f.dd->SetDefaultHandling(false);
  f.Stroke(f.dd, VK_RETURN);
  ProcessPendingEvents();
  EXPECT_EQ(seen, std::vector<Word>{VK_RETURN});
  EXPECT_EQ(f.dd->Text(), u"ab");
}

}  // namespace
