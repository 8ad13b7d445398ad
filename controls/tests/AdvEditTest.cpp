#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "controls/AdvEdit.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "testing/ConfigFolder.h"
#include "testing/TempFolder.h"
#include "testing/TestSupport.h"

namespace {

// Keys of a keystroke script beside the typed characters.
constexpr Char kLeft = 0xE001, kRight = 0xE002, kHome = 0xE003, kEnd = 0xE004, kDelete = 0xE005, kBack = u'\b';

// A shown form with one styled edit on it.
struct EditFixture {
  TForm form{nullptr};
  TEdit* other;  // takes the focus when the form shows
  TAdvEdit* edit;
  int changes = 0;
  EditFixture() {
    form.SetBounds(0, 0, 400, 300);
    other = new TEdit(&form);
    other->SetParent(&form);
    other->SetBounds(10, 10, 60, 24);
    edit = new TAdvEdit(&form);
    edit->SetName(u"AdvEdit1");
    edit->SetParent(&form);
    edit->SetBounds(100, 100, 160, 24);
    edit->OnChange = [this](TObject*) { ++changes; };
    form.Show();
    ProcessPendingEvents();
  }
  void Focus() {
    edit->SetFocus();
    ProcessPendingEvents();
  }
  void Run(const String& keys) {
    for (Char c : keys) {
      switch (c) {
        case kLeft: SimulateKeyStroke(edit, VK_LEFT); break;
        case kRight: SimulateKeyStroke(edit, VK_RIGHT); break;
        case kHome: SimulateKeyStroke(edit, VK_HOME); break;
        case kEnd: SimulateKeyStroke(edit, VK_END); break;
        case kDelete: SimulateKeyStroke(edit, VK_DELETE); break;
        case kBack: SimulateKeyStroke(edit, VK_BACK); break;
        default: SimulateChar(edit, c); break;
      }
      ProcessPendingEvents();
    }
  }
};

struct KeyCase {
  const char* name;
  TAdvEditType type;
  int precision;
  bool sign;
  bool nullOk;
  const char16_t* prefix;
  const char16_t* suffix;
  const char16_t* start;
  int selStart, selLength;
  const char16_t* keys;
  const char16_t* text;  // the value afterwards
  int caret;             // SelStart afterwards
  int changes;           // OnChange count of the keys
};

const KeyCase kKeyCases[] = {
    {"unsigned minus dropped", etNumeric, 0, false, false, u"", u"", u"12", 2, 0, u"-", u"12", 2, 0},
    {"signed minus on empty", etNumeric, 0, true, true, u"$", u"USD", u"", 1, 0, u"-", u"-", 2, 1},
    {"signed minus toggles", etNumeric, 0, true, false, u"", u"", u"12", 1, 0, u"-", u"-12", 2, 1},
    {"signed minus twice", etNumeric, 0, true, false, u"", u"", u"12", 1, 0, u"--", u"12", 1, 2},
    {"digits after the decimals dropped", etFloat, 2, false, false, u"", u"", u"1.23", 4, 0, u"5", u"1.23", 4, 0},
    {"digit overwrites a full decimal", etFloat, 2, false, false, u"", u"", u"1.23", 2, 0, u"9", u"1.93", 3, 1},
    {"separator on empty gives 0.", etFloat, 2, false, true, u"", u"", u"", 0, 0, u".", u"0.", 2, 1},
    {"no separator at precision 0", etFloat, 0, false, false, u"", u"", u"12", 2, 0, u".", u"12", 2, 0},
    {"separator 3 after grouping", etFloat, 2, false, true, u"", u"", u"", 0, 0, u"1,234.", u"1,234.", 6, 6},
    {"separator 2 after grouping", etFloat, 2, false, true, u"", u"", u"", 0, 0, u"1,23.", u"1,23", 4, 4},
    {"money groups while typing", etMoney, 0, false, true, u"", u"", u"", 0, 0, u"1234", u"1,234", 5, 4},
    {"range separator at start", etRange, 0, false, false, u"", u"", u"5", 0, 0, u",", u"5", 0, 0},
    {"range separator after dash", etRange, 0, false, false, u"", u"", u"1-", 2, 0, u",", u"1-", 2, 0},
    {"range separator before ;", etRange, 0, false, false, u"", u"", u"1;2", 1, 0, u",", u"1;2", 1, 0},
    {"range separator accepted", etRange, 0, false, false, u"", u"", u"1-3", 3, 0, u",5", u"1-3,5", 5, 2},
    {"hex refuses g", etHex, 0, false, true, u"", u"", u"", 0, 0, u"gF-", u"F-", 2, 2},
    {"upper case", etUppercase, 0, false, false, u"", u"", u"", 0, 0, u"ab", u"AB", 2, 2},
    {"lower case", etLowerCase, 0, false, false, u"", u"", u"", 0, 0, u"AB", u"ab", 2, 2},
    {"mixed case", etMixedCase, 0, false, false, u"", u"", u"", 0, 0, u"o'neil-smith", u"O'Neil-Smith", 12, 12},
    {"alphanumeric", etAlphaNumeric, 0, false, false, u"", u"", u"", 0, 0, u"a-1", u"a1", 2, 2},
    {"valid chars", etValidChars, 0, false, false, u"", u"", u"", 0, 0, u"abc", u"ac", 2, 2},
    {"right stays out of suffix", etNumeric, 0, false, false, u"$", u"USD", u"12", 3, 0, u"\uE002", u"12", 3, 0},
    {"delete before suffix", etNumeric, 0, false, false, u"$", u"USD", u"12", 3, 0, u"\uE005", u"12", 3, 0},
    {"end before suffix", etNumeric, 0, false, false, u"$", u"USD", u"12", 1, 0, u"\uE004", u"12", 3, 0},
    {"home after prefix", etNumeric, 0, false, false, u"$", u"USD", u"12", 3, 0, u"\uE003", u"12", 1, 0},
    {"left stays out of prefix", etNumeric, 0, false, false, u"$", u"", u"12", 1, 0, u"\uE001", u"12", 1, 0},
    {"backspace stops at prefix", etString, 0, false, false, u"ab", u"", u"x", 3, 0, u"\b\b", u"", 2, 1},
    {"length limit before decimals", etFloat, 0, false, false, u"", u"", u"123.4", 1, 0, u"5", u"123.4", 1, 0},
    {"length limit after decimals", etFloat, 0, false, false, u"", u"", u"123.4", 4, 0, u"5", u"123.54", 5, 1},
    {"typing over the selected value", etString, 0, false, false, u"", u"", u"abc", 0, 3, u"x", u"x", 1, 1},
    {"dropped key over a selection", etNumeric, 0, false, false, u"", u"", u"12", 0, 2, u"a3", u"3", 1, 1},
    {"delete in the middle", etString, 0, false, false, u"<", u">", u"abc", 2, 0, u"\uE005", u"ac", 2, 1},
};

class AdvEditKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(AdvEditKeys, ScriptGivesTextCaretAndChanges) {
  const KeyCase& c = GetParam();
  EditFixture f;
  TAdvEdit* e = f.edit;
  e->SetEditType(c.type);
  e->SetSigned(c.sign);
  e->SetAllowNumericNullValue(c.nullOk);
  e->SetPrecision(static_cast<int16_t>(c.precision));
  if (std::string(c.name).rfind("length limit", 0) == 0) e->SetLengthLimit(3);
  if (c.type == etValidChars) e->SetValidChars(u"ac");
  e->SetPrefix(c.prefix);
  e->SetSuffix(c.suffix);
  e->SetText(c.start);
  f.Focus();
  e->Select(c.selStart, c.selLength);
  f.changes = 0;
  f.Run(c.keys);
  EXPECT_EQ(e->Text(), String(c.text)) << c.name;
  EXPECT_EQ(e->SelStart(), c.caret) << c.name;
  if (c.changes >= 0) {
    EXPECT_EQ(f.changes, c.changes) << c.name;
  }
}

INSTANTIATE_TEST_SUITE_P(Table, AdvEditKeys, ::testing::ValuesIn(kKeyCases), [](const auto& info) {
  std::string n = info.param.name;
  for (char& ch : n)
    if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
  return n;
});

// ---- Value model

TEST(AdvEdit, TextWriteFormatsPerTypeAndKeepsPrefixAndSuffixOutOfTheValue) {
  TAdvEdit e(nullptr);
  e.SetEditType(etNumeric);
  e.SetText(u"");
  EXPECT_EQ(e.Text(), u"0");
  e.SetEditType(etString);
  e.SetText(u"");
  EXPECT_EQ(e.Text(), u"");

  e.SetEditType(etFloat);
  e.SetPrecision(2);
  e.SetText(u"3.14159");
  EXPECT_EQ(e.Text(), u"3.14");
  EXPECT_EQ(e.IntValue(), 3);

  TAdvEdit m(nullptr);
  m.SetEditType(etMoney);
  m.SetPrecision(2);
  m.SetFloatValue(1234.567L);
  EXPECT_EQ(m.Text(), u"1,234.57");

  TAdvEdit n(nullptr);
  n.SetEditType(etNumeric);
  n.SetFloatValue(1234.5L);
  EXPECT_EQ(n.Text(), u"1,235");  // grouped and rounded

  TAdvEdit s(nullptr);
  s.SetEditType(etFloat);
  s.SetPrecisionDisplay(pdShortest);
  s.SetText(u"2.50");
  EXPECT_EQ(s.Text(), u"2.5");
  s.SetText(u"");
  EXPECT_EQ(s.Text(), u"0");

  TAdvEdit p(nullptr);
  p.SetPrefix(u"$");
  p.SetSuffix(u" kg");
  p.SetText(u"12");
  EXPECT_EQ(p.WindowText(), u"$12 kg");
  EXPECT_EQ(p.Text(), u"12");
  p.SetEditType(etHex);
  p.SetText(u"ff");
  EXPECT_EQ(p.Text(), u"FF");
  EXPECT_EQ(p.IntValue(), 255);
  EXPECT_EQ(p.Version(), u"2.9.2.1");
  p.SetVersion(u"1.0.0.0");
  EXPECT_EQ(p.Version(), u"2.9.2.1");
}

TEST(AdvEdit, ReadingTextCutsTheSuffixOnlyWhenTheTextEndsWithIt) {
  TAdvEdit e(nullptr);
  e.SetSuffix(u"kg");
  TRangeList list;
  list.Add(1);
  list.Add(2);
  e.ListToRangeStr(&list);  // written straight as the window text
  EXPECT_EQ(e.Text(), u"1-2");
  e.SetText(u"5");
  EXPECT_EQ(e.Text(), u"5");
}

TEST(AdvEdit, EditTextKindAndMixedCase) {
  struct {
    const char16_t* s;
    int kind;
  } kinds[] = {{u"123", 0}, {u"-1,234.5", 1}, {u"1A", 5}, {u"12a-", 5}, {u"1.2.3", 2}, {u"", 2}, {u"1--2", 2}};
  for (auto& k : kinds) EXPECT_EQ(EditTextKind(k.s), k.kind) << String(k.s).size();
  EXPECT_EQ(EditMixedCase(u"o'neil-smith"), u"O'Neil-Smith");
  EXPECT_EQ(EditMixedCase(u"macdonald"), u"MacDonald");
  EXPECT_EQ(EditMixedCase(u"mcdonald"), u"McDonald");
  EXPECT_EQ(EditMixedCase(u"henry iii"), u"Henry III");
  EXPECT_EQ(EditMixedCase(u"anne-marie o'hara"), u"Anne-Marie O'Hara");
  EXPECT_EQ(EditMixedCase(u"MARY MCBRIDE"), u"Mary McBride");
  EXPECT_EQ(EditMixedCase(u"jean de la fontaine"), u"Jean De La Fontaine");
  EXPECT_EQ(HexTextToInt(u"1G"), 16);
}

TEST(AdvEdit, ErrorColoursFollowValidationAndFocus) {
  EditFixture f;
  TAdvEdit* e = f.edit;
  e->SetColor(clWhite);
  e->SetFocusColor(clYellow);
  e->SetIsError(true);
  EXPECT_EQ(e->Color(), clWhite);  // ShowError off: no colour changes
  e->SetIsError(false);
  e->SetShowError(true);
  int validations = 0;
  e->OnValueValidate = [&](TObject*, const String& v, bool& ok) {
    ++validations;
    ok = v != u"bad";
    EXPECT_TRUE(e->ValidateValue(v));  // again from inside: True at once, no second event
  };
  f.Focus();
  EXPECT_EQ(e->Color(), clYellow);
  e->SetText(u"bad");
  EXPECT_TRUE(e->IsError());
  EXPECT_EQ(e->Color(), clRed);
  e->SetText(u"good");
  EXPECT_FALSE(e->IsError());
  EXPECT_EQ(e->Color(), clYellow);
  // Leaving gives back the colour held before the focus came.
  f.other->SetFocus();
  ProcessPendingEvents();
  EXPECT_EQ(e->Color(), clWhite);
  EXPECT_GT(validations, 0);
}

TEST(AdvEdit, FocusAlignAndWidthHoldWhileFocused) {
  EditFixture f;
  TAdvEdit* e = f.edit;
  e->SetText(u"abc");
  e->SetFocusAlign(eaRight);
  e->SetFocusWidthInc(20);
  f.Focus();
  EXPECT_EQ(e->EditAlign(), eaRight);
  EXPECT_EQ(e->Width(), 180);
  EXPECT_GT(e->PosFromChar(0).X, 120);
  f.other->SetFocus();
  ProcessPendingEvents();
  EXPECT_EQ(e->EditAlign(), eaLeft);
  EXPECT_EQ(e->Width(), 160);
  EXPECT_LT(e->PosFromChar(0).X, 20);
  EXPECT_EQ(e->Text(), u"abc");
}

// A click in the prefix or the suffix puts the caret at the nearest end of the value.
TEST(AdvEdit, ClicksKeepTheCaretInTheValue) {
  EditFixture f;
  TAdvEdit* e = f.edit;
  e->SetPrefix(u"$$$$");
  e->SetSuffix(u" kg");
  e->SetText(u"12");
  f.Focus();
  const int y = e->Height() / 2;
  SimulateClick(e, e->PosFromChar(1).X + 1, y);
  ProcessPendingEvents();
  EXPECT_EQ(e->SelStart(), 4);
  SimulateClick(e, e->PosFromChar(8).X + 1, y);
  ProcessPendingEvents();
  EXPECT_EQ(e->SelStart(), 6);
  EXPECT_EQ(e->SelLength(), 0);
}

// ---- Keys: Escape, Return, ReturnIsTab, keypad decimal

TEST(AdvEdit, EscapeRestoresTheTextHeldAtFocus) {
  EditFixture f;
  f.edit->SetText(u"abc");
  f.Focus();
  f.edit->SetSelStart(3);
  f.Run(u"de");
  EXPECT_EQ(f.edit->Text(), u"abcde");
  SimulateKeyStroke(f.edit, VK_ESCAPE);
  ProcessPendingEvents();
  EXPECT_EQ(f.edit->Text(), u"abc");
  EXPECT_FALSE(f.edit->Modified());
}

TEST(AdvEdit, EscapeWithoutCanUndoKeepsTheText) {
  EditFixture f;
  f.edit->SetText(u"abc");
  f.edit->SetCanUndo(false);
  f.Focus();
  f.edit->SetSelStart(3);
  f.Run(u"d");
  SimulateKeyStroke(f.edit, VK_ESCAPE);
  ProcessPendingEvents();
  EXPECT_EQ(f.edit->Text(), u"abcd");
  f.edit->SetEditType(etPassword);
  f.edit->SetCanUndo(true);
  EXPECT_FALSE(f.edit->CanUndo());
}

TEST(AdvEdit, ReturnReachesTheParentWithoutDefaultHandling) {
  EditFixture f;
  auto* panel = new TPanel(&f.form);
  panel->SetParent(&f.form);
  panel->SetBounds(0, 0, 300, 200);
  f.edit->SetParent(panel);
  f.edit->SetBounds(10, 10, 100, 24);
  f.edit->SetDefaultHandling(false);
  std::vector<std::string> seen;
  panel->OnKeyDown = [&](TObject*, Word& k, TShiftState) { if (k == VK_RETURN) seen.push_back("down"); };
  panel->OnKeyUp = [&](TObject*, Word& k, TShiftState) { if (k == VK_RETURN) seen.push_back("up"); };
  Char pressed = 0;
  f.edit->OnKeyPress = [&](TObject*, Char& k) { pressed = k; };
  f.Focus();
  SimulateKeyStroke(f.edit, VK_RETURN);
  ProcessPendingEvents();
  EXPECT_EQ(pressed, Char(13));
  EXPECT_EQ(seen, (std::vector<std::string>{"down", "up"}));
}

TEST(AdvEdit, ReturnIsTabAndTabOnFullLengthMoveTheFocus) {
  EditFixture f;
  auto* next = new TEdit(&f.form);
  next->SetParent(&f.form);
  next->SetBounds(100, 150, 100, 24);
  f.edit->SetReturnIsTab(true);
  f.Focus();
  SimulateKeyStroke(f.edit, VK_RETURN);
  ProcessPendingEvents();
  EXPECT_TRUE(next->Focused());

  f.edit->SetEditType(etNumeric);
  f.edit->SetLengthLimit(3);
  f.edit->SetTabOnFullLength(true);
  f.edit->SetText(u"");
  f.Focus();
  f.edit->SelectAll();
  f.Run(u"123");
  EXPECT_EQ(f.edit->Text(), u"123");
  EXPECT_TRUE(next->Focused());
}

TEST(AdvEdit, KeypadDecimalTypesTheLocaleSeparator) {
  EditFixture f;
  TFormatSettings saved = FormatSettings;
  FormatSettings.DecimalSeparator = u',';
  FormatSettings.ThousandSeparator = u'.';
  f.edit->SetEditType(etFloat);
  f.edit->SetAllowNumericNullValue(true);
  f.edit->SetExcelStyleDecimalSeparator(true);
  f.edit->SetPrecision(2);
  f.edit->SetText(u"");
  f.Focus();
  f.Run(u"1");
  SimulateKeyStroke(f.edit, VK_DECIMAL);
  ProcessPendingEvents();
  f.Run(u"5");
  EXPECT_EQ(f.edit->Text(), u"1,5");
  FormatSettings = saved;
}

// ---- Clipboard

struct PasteCase {
  const char* name;
  TAdvEditType type;
  int maxLength;
  std::u16string clip;
  const char16_t* start;
  const char16_t* text;
};

std::u16string Repeat(char16_t c, size_t n) { return std::u16string(n, c); }

const PasteCase kPasteCases[] = {
    {"numeric refuses letters", etNumeric, 0, u"12abc", u"7", u"7"},
    {"numeric takes digits", etNumeric, 0, u"12", u"", u"12"},
    {"first line only", etString, 0, u"first\r\nsecond", u"", u"first"},
    {"line feed ends the line", etString, 0, u"one\ntwo", u"", u"one"},
    {"control characters dropped", etString, 0, std::u16string(u"a\0b\tc", 5), u"", u"abc"},
    {"lone surrogates dropped", etString, 0, std::u16string(u"a\xD800" u"b\xDC00" u"c"), u"", u"abc"},
    {"surrogate pairs kept", etString, 0, std::u16string(u"\xD83D\xDE00"), u"", u"\xD83D\xDE00"},
    {"max length on the first line", etString, 5, u"abc\r\n" + Repeat(u'x', 100), u"", u"abc"},
    {"max length refuses more", etString, 5, u"abcdef", u"", u""},
    {"range never", etRange, 0, u"1-3", u"5", u"5"},
    {"hex takes hex", etHex, 0, u"1aF", u"", u"1AF"},
    {"alphanumeric refuses dash", etAlphaNumeric, 0, u"a-b", u"", u""},
};

class AdvEditPaste : public ::testing::TestWithParam<PasteCase> {};

TEST_P(AdvEditPaste, CtrlVTakesTheFirstLineAsTheTypeAccepts) {
  const PasteCase& c = GetParam();
  EditFixture f;
  f.edit->SetEditType(c.type);
  f.edit->SetAllowNumericNullValue(true);
  f.edit->SetMaxLength(c.maxLength);
  f.edit->SetText(c.start);
  f.Focus();
  f.edit->SetSelStart(Length(f.edit->Text()));
  Clipboard()->SetAsText(c.clip);
  SimulateKeyStroke(f.edit, 'V', {ssCtrl});
  ProcessPendingEvents();
  EXPECT_EQ(f.edit->Text(), String(c.text)) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Table, AdvEditPaste, ::testing::ValuesIn(kPasteCases), [](const auto& info) {
  std::string n = info.param.name;
  for (char& ch : n)
    if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
  return n;
});

TEST(AdvEdit, TenMegabytePastesAreBoundedAndQuick) {
  EditFixture f;
  f.Focus();
  const auto start = std::chrono::steady_clock::now();
  Clipboard()->SetAsText(Repeat(u'7', 10 * 1024 * 1024));
  f.edit->SetEditType(etNumeric);
  f.edit->SetMaxLength(20);
  f.edit->SetText(u"1");
  SimulateKeyStroke(f.edit, 'V', {ssCtrl});  // over MaxLength: refused
  EXPECT_EQ(f.edit->Text(), u"1");
  f.edit->SetEditType(etString);
  f.edit->SetMaxLength(0);
  Clipboard()->SetAsText(u"ab\r\n" + Repeat(u'x', 10 * 1024 * 1024));
  f.edit->SelectAll();
  SimulateKeyStroke(f.edit, 'V', {ssCtrl});
  EXPECT_EQ(f.edit->Text(), u"ab");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  // LengthLimit bounds the integer part a paste may make.
  f.edit->SetEditType(etNumeric);
  f.edit->SetLengthLimit(3);
  f.edit->SetText(u"");
  f.edit->SelectAll();
  Clipboard()->SetAsText(u"12345");
  SimulateKeyStroke(f.edit, 'V', {ssCtrl});
  EXPECT_EQ(f.edit->Text(), u"0");
  Clipboard()->SetAsText(u"123");
  f.edit->SelectAll();
  SimulateKeyStroke(f.edit, 'V', {ssCtrl});
  EXPECT_EQ(f.edit->Text(), u"123");
}

TEST(AdvEdit, PastingWithoutTextOnTheClipboardChangesNothing) {
  EditFixture f;
  f.edit->SetText(u"value");
  f.Focus();
  f.edit->SetSelStart(5);
  Clipboard()->SetAsBytes(RegisterClipboardFormat(u"Rich Text Format"), "{\\rtf1 pasted}");
  ASSERT_FALSE(Clipboard()->HasFormat(CF_UNICODETEXT));
  SimulateKeyStroke(f.edit, 'V', {ssCtrl});
  ProcessPendingEvents();
  EXPECT_EQ(f.edit->Text(), u"value");
}

TEST(AdvEdit, ClipboardEventsCanRefuse) {
  EditFixture f;
  f.edit->SetText(u"value");
  f.Focus();
  String seen;
  f.edit->OnClipboardPaste = [&](TObject*, const String& v, bool& allow) {
    seen = v;
    allow = false;
  };
  f.edit->SetSelStart(5);
  Clipboard()->SetAsText(u"X");
  SimulateKeyStroke(f.edit, 'V', {ssCtrl});
  EXPECT_EQ(seen, u"valueX");
  EXPECT_EQ(f.edit->Text(), u"value");

  f.edit->OnClipboardCopy = [&](TObject*, const String& v, bool& allow) {
    seen = v;
    allow = false;
  };
  Clipboard()->SetAsText(u"old");
  f.edit->Select(1, 3);
  SimulateKeyStroke(f.edit, 'C', {ssCtrl});
  EXPECT_EQ(seen, u"alu");
  EXPECT_EQ(Clipboard()->AsText(), u"old");
  f.edit->OnClipboardCopy = nullptr;
  f.edit->OnClipboardCut = [&](TObject*, const String& v, bool& allow) {
    seen = v + u"!";
    allow = true;
  };
  SimulateKeyStroke(f.edit, 'X', {ssCtrl});
  EXPECT_EQ(seen, u"alu!");
  EXPECT_EQ(Clipboard()->AsText(), u"alu");
  EXPECT_EQ(f.edit->Text(), u"ve");
}

// ---- Label

TEST(AdvEdit, LabelStandsAtEachOfTheFifteenPositions) {
  EditFixture f;
  TAdvEdit* e = f.edit;
  e->SetLabelCaption(u"Label");
  e->SetLabelMargin(4);
  TLabel* l = e->EditLabel();
  ASSERT_NE(l, nullptr);
  EXPECT_EQ(l->Parent(), &f.form);
  const int L = 100, T = 100, W = 160, H = 24, M = 4;
  const int lw = l->Width(), lh = l->Height();
  const int centred = lh < H ? T + (H - lh) / 2 : T - (lh - H) / 2;
  const int middle = W - lw < 1 ? L - (lw - W) / 2 : L + (W - lw) / 2;
  struct {
    advedit::TLabelPosition pos;
    int left, top;
  } cases[] = {
      {lpLeftTop, L - lw - M, T},          {lpLeftCenter, L - lw - M, centred},   {lpLeftBottom, L - lw - M, T + H - lh},
      {lpTopLeft, L, T - lh - M},          {lpBottomLeft, L, T + H + M},          {lpLeftTopLeft, L - M, T},
      {lpLeftCenterLeft, L - M, centred},  {lpLeftBottomLeft, L - M, T + H - lh}, {lpTopCenter, middle, T - lh - M},
      {lpBottomCenter, middle, T + H + M}, {lpRightTop, L + W + M, T},            {lpRightCenter, L + W + M, centred},
      {lpRighBottom, L + W + M, T + H - lh}, {lpTopRight, L + W - lw, T - lh - M}, {lpBottomRight, L + W - lw, T + H + M},
  };
  for (auto& c : cases) {
    e->SetLabelPosition(c.pos);
    EXPECT_EQ(l->Left(), c.left) << int(c.pos);
    EXPECT_EQ(l->Top(), c.top) << int(c.pos);
  }
  // A label wider than the edit is centred over it.
  e->SetBounds(100, 100, 10, 24);
  e->SetLabelPosition(lpTopCenter);
  EXPECT_LT(l->Left(), 100);
  EXPECT_EQ(l->Left(), 100 - (lw - 10) / 2);
  // The label follows moves, visibility and the enabled state.
  e->SetBounds(50, 60, 100, 24);
  EXPECT_EQ(l->Top(), 60 - lh - 4);
  e->SetVisible(false);
  EXPECT_FALSE(l->Visible());
  e->SetVisible(true);
  e->SetEnabled(false);
  EXPECT_FALSE(l->Enabled());
  e->SetLabelAlwaysEnabled(true);
  EXPECT_TRUE(l->Enabled());
  int clicks = 0;
  e->OnLabelClick = [&](TObject* s) { clicks += s == e; };
  SimulateClick(l, 1, 1);
  EXPECT_EQ(clicks, 1);
}

// ---- Looks

TEST(AdvEdit, LooksPaintOverTheEdit) {
  EditFixture f;
  TAdvEdit* e = f.edit;
  // Flat: no border, an underline in FlatLineColor.
  e->SetFlat(true);
  e->SetFlatLineColor(clRed);
  auto b = RenderControl(e);
  EXPECT_EQ(PixelColor(*b, e->Width() / 2, e->Height() - 1), clRed);
  e->SetFlat(false);
  // A coloured frame.
  e->SetBorderColor(clBlue);
  b = RenderControl(e);
  EXPECT_EQ(PixelColor(*b, 0, e->Height() / 2), clBlue);
  EXPECT_EQ(PixelColor(*b, e->Width() - 1, e->Height() / 2), clBlue);
  e->SetBorderColor(clNone);
  // The grey empty-text hint on an empty, unfocused edit.
  e->SetColor(clWhite);
  e->SetEmptyText(u"WWWW");
  // The grey pixels from column From on (the smoothed black text's edges are grey too: the
  // typed "x" ends before column 15, the hint goes on to 40).
  auto greyFrom = [&](int From) {
    int grey = 0;
    for (int x = From; x < 40; ++x)
      for (int y = 2; y < e->Height() - 2; ++y) grey += PixelNear(*b, x, y, TColor(0x808080), 32);
    return grey;
  };
  b = RenderControl(e);
  EXPECT_GT(greyFrom(3), 10);
  EXPECT_GT(greyFrom(15), 10);
  e->SetText(u"x");
  b = RenderControl(e);
  EXPECT_EQ(greyFrom(15), 0);
  // The error marker: a red zig-zag under the marked characters, none with length 0.
  e->SetText(u"mistake");
  e->SetErrorMarkerPos(0);
  e->SetErrorMarkerLen(3);
  b = RenderControl(e);
  int red = 0;
  for (int x = 0; x < e->Width(); ++x)
    for (int y = 0; y < e->Height(); ++y) red += PixelColor(*b, x, y) == clRed;
  EXPECT_GT(red, 5);
  e->SetErrorMarkerLen(0);
  b = RenderControl(e);
  red = 0;
  for (int x = 0; x < e->Width(); ++x)
    for (int y = 0; y < e->Height(); ++y) red += PixelColor(*b, x, y) == clRed;
  EXPECT_EQ(red, 0);
  // The focus frame colour while focused, the normal frame colour otherwise.
  e->SetBorderColor(clBlue);
  e->SetFocusBorderColor(clLime);
  f.Focus();
  b = RenderControl(e);
  EXPECT_EQ(PixelColor(*b, 0, e->Height() / 2), clLime);
  f.other->SetFocus();
  ProcessPendingEvents();
  b = RenderControl(e);
  EXPECT_EQ(PixelColor(*b, 0, e->Height() / 2), clBlue);
  e->SetBorderColor(clNone);
  e->SetFocusBorderColor(clNone);
  // A disabled edit: silver frame and the disabled colour.
  e->SetEnabled(false);
  b = RenderControl(e);
  EXPECT_EQ(PixelColor(*b, 0, e->Height() / 2), clSilver);
  EXPECT_EQ(e->Color(), clSilver);
  e->SetEnabled(true);
  EXPECT_EQ(e->Color(), clWhite);
}

TEST(AdvEdit, SoftBorderThreeDFrameAndModifiedAndLabelStates) {
  EditFixture f;
  TAdvEdit* e = f.edit;
  e->SetColor(clWhite);
  // The flat look's soft border: a thin outline on all four sides instead of the underline.
  e->SetFlat(true);
  e->SetFlatLineColor(clRed);
  e->SetSoftBorder(true);
  auto b = RenderControl(e);
  EXPECT_EQ(PixelColor(*b, e->Width() - 1, e->Height() / 2), clRed);
  EXPECT_EQ(PixelColor(*b, e->Width() / 2, e->Height() - 1), clRed);
  RECT r;
  e->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(PixelColor(*b, e->Width() / 2, r.Top - 3), clRed);
  EXPECT_EQ(PixelColor(*b, r.Left - 4, e->Height() / 2), clRed);
  e->SetFlat(false);
  // Border3D: a sunken edge, shadow on the top left and highlight on the bottom right.
  e->SetBorder3D(true);
  b = RenderControl(e);
  EXPECT_EQ(PixelColor(*b, e->Width() / 2, 0), ColorToRGB(clBtnShadow));
  EXPECT_EQ(PixelColor(*b, e->Width() / 2, e->Height() - 1), ColorToRGB(clBtnHighlight));
  e->SetBorder3D(false);

  // ShowModified: typing turns the font ModifiedColor; a value written in code is unmodified
  // and shows the normal font colour again.
  e->SetShowModified(true);
  e->SetModifiedColor(clMaroon);
  e->SetFocusLabel(true);
  e->SetLabelCaption(u"Name");
  f.Focus();
  EXPECT_TRUE(e->EditLabel()->Font()->Style().Contains(fsBold));
  e->SetSelStart(Length(e->Text()));
  f.Run(u"x");
  EXPECT_TRUE(e->Modified());
  EXPECT_EQ(e->Font()->Color(), clMaroon);
  e->SetText(u"fresh");
  EXPECT_FALSE(e->Modified());
  EXPECT_EQ(e->Font()->Color(), clWindowText);
  f.other->SetFocus();
  ProcessPendingEvents();
  EXPECT_FALSE(e->EditLabel()->Font()->Style().Contains(fsBold));
}

TEST(AdvEdit, TransparentShowsTheParentBehindTheText) {
  EditFixture f;
  auto* panel = new TPanel(&f.form);
  panel->SetParent(&f.form);
  panel->SetBounds(50, 50, 250, 150);
  panel->SetColor(clLime);
  f.edit->SetParent(panel);
  f.edit->SetBounds(20, 20, 120, 24);
  f.edit->SetColor(clWhite);
  auto b = RenderControl(f.edit);
  EXPECT_EQ(PixelColor(*b, 60, 12), clWhite);
  f.edit->SetTransparent(true);
  b = RenderControl(f.edit);
  EXPECT_EQ(PixelColor(*b, 60, 12), clLime);
}

TEST(AdvEdit, UrlLookOpensOnlyWebAndMailAddresses) {
  EditFixture f;
  std::vector<String> opened;
  auto saved = TAdvEdit::OpenURLHook;
  TAdvEdit::OpenURLHook = [&](const String& u) { opened.push_back(u); };
  f.edit->SetShowURL(true);
  struct {
    const char16_t* text;
    const char16_t* url;  // nullptr: nothing opens
  } cases[] = {{u"www.example.org", u"http://www.example.org"},
               {u"someone@example.org", u"mailto:someone@example.org"},
               {u"https://example.org/a", u"https://example.org/a"},
               {u"file:///etc/passwd", nullptr},
               {u"/bin/sh://x", nullptr}};
  for (auto& c : cases) {
    opened.clear();
    f.edit->SetText(c.text);
    f.Focus();
    SimulateClick(f.edit, 5, 5);
    ProcessPendingEvents();
    if (c.url) {
      EXPECT_EQ(opened, std::vector<String>{c.url}) << String(c.text).size();
    } else {
      EXPECT_TRUE(opened.empty());
    }
  }
  f.edit->SetText(u"@home");
  EXPECT_FALSE(f.edit->IsURLText(f.edit->Text()));
  TAdvEdit::OpenURLHook = saved;
}

// ---- Lookup

TEST(AdvEdit, LookupOffersMatchesAndPutsTheChosenValue) {
  EditFixture f;
  TAdvEdit* e = f.edit;
  TLookupSettings* lu = e->Lookup();
  lu->SetEnabled(true);
  lu->DisplayList()->Add(u"banana");
  lu->DisplayList()->Add(u"apricot");
  lu->DisplayList()->Add(u"apple");
  lu->ValueList()->Add(u"V-apple");  // paired by position in the sorted list
  f.Focus();
  f.Run(u"a");
  EXPECT_FALSE(e->LookupWindow()->Visible());
  f.Run(u"p");
  ASSERT_TRUE(e->LookupWindow()->Visible());
  EXPECT_EQ(e->LookupListBox()->Items()->Count(), 2);
  EXPECT_EQ(e->LookupListBox()->ItemIndex(), 0);
  EXPECT_EQ(e->LookupWindow()->Height(), 2 * 12 + 4);
  EXPECT_EQ(e->LookupWindow()->Width(), 50 + 8);  // narrow matches: the least width and the margin
  EXPECT_EQ(e->LookupWindow()->Top(), e->ClientOrigin().Y + e->Height() - 6);
  // Alt picks nothing while the list is hidden; Down and Return pick the second entry.
  SimulateKeyStroke(e, VK_DOWN);
  SimulateKeyStroke(e, VK_RETURN);
  ProcessPendingEvents();
  EXPECT_EQ(e->Text(), u"apricot");  // beyond the value list: its own text
  EXPECT_FALSE(e->LookupWindow()->Visible());
  e->SetText(u"ap");
  e->SetSelStart(2);
  f.Run(u"p");
  f.Run(String(1, kBack));
  ASSERT_TRUE(e->LookupWindow()->Visible());
  SimulateKeyStroke(e, VK_RETURN);
  ProcessPendingEvents();
  EXPECT_EQ(e->Text(), u"V-apple");
  SimulateKeyStroke(e, VK_MENU, {ssAlt});
  EXPECT_EQ(e->Text(), u"V-apple");

  // Full-text search; Multi with a separator.
  e->SetText(u"");
  e->SetFullTextSearch(true);
  f.Run(u"an");
  ASSERT_TRUE(e->LookupWindow()->Visible());
  EXPECT_EQ(e->LookupListBox()->Items()->Strings(0), u"banana");
  e->SetFullTextSearch(false);
  lu->SetMulti(true);
  lu->DisplayList()->Add(u"green");
  e->SetText(u"red;");
  e->SetSelStart(4);
  f.Run(u"gr");
  ASSERT_TRUE(e->LookupWindow()->Visible());
  SimulateKeyStroke(e, VK_RETURN);
  ProcessPendingEvents();
  EXPECT_EQ(e->Text(), u"red;green;");
  EXPECT_EQ(e->SelStart(), 10);
  lu->SetNumChars(0);
  EXPECT_EQ(lu->NumChars(), 2);
}

TEST(AdvEdit, LookupPagesPicksByClickAndByAltWhileShown) {
  EditFixture f;
  TAdvEdit* e = f.edit;
  TLookupSettings* lu = e->Lookup();
  lu->SetEnabled(true);
  lu->SetDisplayCount(2);
  for (const char16_t* w : {u"ca", u"cb", u"cc", u"cd", u"ce"}) lu->DisplayList()->Add(w);
  int indexSeen = -1;
  e->OnLookupIndexSelect = [&](TObject*, int Index, String& Value) {
    indexSeen = Index;
    Value += u"!";
  };
  lu->SetNumChars(1);
  f.Focus();
  f.Run(u"c");
  ASSERT_TRUE(e->LookupWindow()->Visible());
  TListBox* list = e->LookupListBox();
  EXPECT_EQ(list->Items()->Count(), 5);
  // More matches than DisplayCount: two rows and room for a scroll bar.
  EXPECT_EQ(e->LookupWindow()->Height(), 2 * 12 + 4);
  EXPECT_EQ(e->LookupWindow()->Width(), 50 + 8 + GetSystemMetrics(SM_CXHSCROLL));
  SimulateKeyStroke(e, VK_NEXT);
  EXPECT_EQ(list->ItemIndex(), 2);
  SimulateKeyStroke(e, VK_END);
  EXPECT_EQ(list->ItemIndex(), 4);
  SimulateKeyStroke(e, VK_PRIOR);
  EXPECT_EQ(list->ItemIndex(), 2);
  SimulateKeyStroke(e, VK_HOME);
  EXPECT_EQ(list->ItemIndex(), 0);
  SimulateKeyStroke(e, VK_DOWN);
  SimulateKeyDown(e, VK_MENU, {ssAlt});
  ProcessPendingEvents();
  EXPECT_EQ(e->Text(), u"cb!");
  EXPECT_EQ(indexSeen, 1);
  EXPECT_FALSE(e->LookupWindow()->Visible());
  // A click on an entry of the list picks it.
  e->SetText(u"");
  f.Run(u"c");
  ASSERT_TRUE(e->LookupWindow()->Visible());
  const TRect r = list->ItemRect(1);
  SimulateClick(list, r.Left + 5, r.Top + 4);
  ProcessPendingEvents();
  EXPECT_EQ(e->Text(), u"cb!");
  EXPECT_FALSE(e->LookupWindow()->Visible());
  EXPECT_TRUE(e->Focused());
  EXPECT_TRUE(f.form.Active());
  // A wide match sets the width: its text in the list's font, and the margin.
  const String wide = u"cWWWWWWWWWWWWWWWWWWWW";
  lu->DisplayList()->Add(wide);
  e->SetText(u"");
  f.Run(u"c");
  ASSERT_TRUE(e->LookupWindow()->Visible());
  TBitmap measure;
  measure.Canvas()->Font()->Assign(list->Font());
  ASSERT_GT(measure.Canvas()->TextWidth(wide), 50);
  EXPECT_EQ(e->LookupWindow()->Width(), measure.Canvas()->TextWidth(wide) + 8 + GetSystemMetrics(SM_CXHSCROLL));
}

TEST(AdvEdit, LargeTextHintShowsTheWholeValue) {
  EditFixture f;
  f.edit->SetBounds(100, 100, 40, 24);
  f.edit->SetText(u"a value much wider than the edit");
  THintInfo info;
  info.HintStr = u"short";
  f.edit->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.HintStr, u"short");
  f.edit->SetHintShowLargeText(true);
  f.edit->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.HintStr, u"a value much wider than the edit");
  EXPECT_EQ(info.HintPos.X, f.edit->ClientOrigin().X);
  EXPECT_EQ(info.HintPos.Y, f.edit->ClientOrigin().Y);
}

TEST(AdvEdit, AutoFocusTakesTheFocusWhenTheMouseComes) {
  EditFixture f;
  f.edit->SetAutoFocus(true);
  EXPECT_FALSE(f.edit->Focused());
  SimulateMouseMove(f.edit, 10, 10);
  ProcessPendingEvents();
  EXPECT_TRUE(f.edit->Focused());
}

TEST(AdvEdit, HistoryKeepsEachEntryWithItsValue) {
  EditFixture f;
  TLookupSettings* lu = f.edit->Lookup();
  lu->SetEnabled(true);
  lu->SetHistory(true);
  lu->DisplayList()->Add(u"b");
  lu->DisplayList()->Add(u"d");
  lu->ValueList()->Add(u"B");
  lu->ValueList()->Add(u"D");
  f.edit->SetText(u"c");
  f.Focus();
  f.other->SetFocus();
  ProcessPendingEvents();
  ASSERT_EQ(lu->DisplayList()->Count(), 3);
  EXPECT_EQ(lu->DisplayList()->IndexOf(u"d"), 2);
  EXPECT_EQ(lu->ValueList()->Strings(2), u"D");
  EXPECT_EQ(lu->ValueList()->Strings(1), u"");
}

// ---- Persistence

std::string Crudini(const std::string& file, const std::string& section, const std::string& key) {
  std::string cmd = "crudini --get '" + file + "' '" + section + "' '" + key + "' 2>/dev/null";
  std::string out;
  if (FILE* p = popen(cmd.c_str(), "r")) {
    char buf[512];
    while (fgets(buf, sizeof buf, p)) out += buf;
    pclose(p);
  }
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

TEST(AdvEdit, PersistsValueAndHistoryInAnIniFile) {
  TempFolder dir;
  const String file = dir.FileS("edit.ini");
  {
    TForm form(nullptr);
    auto* e = new TAdvEdit(&form);
    e->SetName(u"AdvEdit1");
    e->SetParent(&form);
    e->SetPrefix(u"$");
    e->Persistence()->SetEnable(true);
    e->Persistence()->SetKey(file);
    e->Lookup()->SetEnabled(true);
    e->Lookup()->SetHistory(true);
    e->Lookup()->DisplayList()->Add(u"one");
    e->Lookup()->DisplayList()->Add(u"two");
    e->Lookup()->ValueList()->Add(u"1");
    e->Lookup()->ValueList()->Add(u"2");
    e->SetText(u"42");
    e->HandleNeeded();
  }  // the window's destruction saves
  EXPECT_EQ(Crudini(dir.File("edit.ini"), "AdvEdit1", "AdvEdit1"), "$42");
  EXPECT_EQ(Crudini(dir.File("edit.ini"), "AdvEdit1", "LOOKUPCOUNT"), "2");
  EXPECT_EQ(Crudini(dir.File("edit.ini"), "AdvEdit1", "LOOKUPDISPL2"), "two");
  EXPECT_EQ(Crudini(dir.File("edit.ini"), "AdvEdit1", "LOOKUPVAL1"), "1");

  // A new edit with the same default section reads it back when it loads.
  TForm form(nullptr);
  form.BeginLoading();
  auto* e = new TAdvEdit(&form);
  e->SetName(u"AdvEdit1");
  e->SetParent(&form);
  e->SetPrefix(u"$");
  e->Persistence()->SetEnable(true);
  e->Persistence()->SetKey(file);
  e->Lookup()->SetEnabled(true);
  e->Lookup()->SetHistory(true);
  form.EndLoading();
  EXPECT_EQ(e->Text(), u"42");
  ASSERT_EQ(e->Lookup()->DisplayList()->Count(), 2);
  EXPECT_EQ(e->Lookup()->ValueList()->Strings(1), u"2");
}

// An edit named Amount persisting in a section of the registry stand-in's key Software\RcvTest.
void InRegistry(TAdvEdit& e, const String& Section) {
  e.SetName(u"Amount");
  e.Persistence()->SetEnable(true);
  e.Persistence()->SetLocation(plRegistry);
  e.Persistence()->SetKey(u"Software\\RcvTest");
  e.Persistence()->SetSection(Section);
}

// A section names a subkey; without one the key itself holds the value, both ways.
TEST(AdvEdit, PersistsThroughTheRegistry) {
  TempConfigFolder config;
  for (const String section : {u"Edits", u""}) {
    {
      TAdvEdit e(nullptr);
      InRegistry(e, section);
      e.SetText(u"<" + section + u">");
      e.SavePersist();
      EXPECT_EQ(e.Persistence()->Section(), section);
    }
    TRegistryIniFile reg(u"Software\\RcvTest");
    EXPECT_EQ(reg.ReadString(section, u"Amount", u""), u"<" + section + u">");
    TAdvEdit e(nullptr);
    InRegistry(e, section);
    e.LoadPersist();
    EXPECT_EQ(e.Text(), u"<" + section + u">");
  }
}

// Without a file or section named, both ways use the executable's settings file and the
// component's name.
TEST(AdvEdit, LoadingReadsWhereSavingWroteByDefault) {
  ASSERT_NE(Application, nullptr);
  const String settings = ChangeFileExt(Application->ExeName(), u".ini");
  ASSERT_FALSE(FileExists(settings)) << "the test would overwrite it";
  {
    TAdvEdit e(nullptr);
    e.SetName(u"AdvEdit1");
    e.Persistence()->SetEnable(true);
    e.SetText(u"kept");
    e.SavePersist();
    EXPECT_EQ(e.Persistence()->Key(), settings);
    EXPECT_EQ(e.Persistence()->Section(), u"AdvEdit1");
  }
  EXPECT_EQ(Crudini(StringToUTF8(settings), "AdvEdit1", "AdvEdit1"), "kept");
  TAdvEdit back(nullptr);
  back.SetName(u"AdvEdit1");
  back.Persistence()->SetEnable(true);
  back.LoadPersist();
  DeleteFile(settings);
  EXPECT_EQ(back.Text(), u"kept");
}

TEST(AdvEdit, HostileStoresAreReadAsFarAsSound) {
  TempFolder dir;
  std::string full = "[S]\nLOOKUPCOUNT=10000\n";
  for (int n = 1; n <= 10000; ++n)
    full += "LOOKUPDISPL" + std::to_string(n) + "=entry" + std::to_string(n) + "\nLOOKUPVAL" + std::to_string(n) + "=v\n";
  struct Case {
    const char* name;
    std::string ini;
    int entries;
  };
  const Case cases[] = {
      {"huge count", "[S]\nLOOKUPCOUNT=2000000000\nLOOKUPDISPL1=a\nLOOKUPDISPL3=c\n", 2},
      {"negative count", "[S]\nLOOKUPCOUNT=-5\nLOOKUPDISPL1=a\n", 0},
      {"not a number", "[S]\nLOOKUPCOUNT=lots\nLOOKUPDISPL1=a\n", 0},
      {"missing entries", "[S]\nLOOKUPCOUNT=3\nLOOKUPVAL2=x\n", 0},
      {"empty entries skipped with their values", "[S]\nLOOKUPCOUNT=3\nLOOKUPDISPL1=b\nLOOKUPVAL1=B\nLOOKUPDISPL2=a\nLOOKUPDISPL3=\nLOOKUPVAL3=lost\n", 2},
      {"huge entry", "[S]\nLOOKUPCOUNT=1\nLOOKUPDISPL1=" + std::string(4 << 20, 'x') + "\n", 1},
      {"ten thousand entries", full, 10000},
  };
  for (const Case& c : cases) {
    dir.Write("h.ini", c.ini);
    TAdvEdit e(nullptr);
    e.SetName(u"E");
    e.Persistence()->SetEnable(true);
    e.Persistence()->SetKey(dir.FileS("h.ini"));
    e.Persistence()->SetSection(u"S");
    e.Lookup()->SetEnabled(true);
    e.Lookup()->SetHistory(true);
    const auto start = std::chrono::steady_clock::now();
    e.LoadPersist();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << c.name;
    EXPECT_EQ(e.Lookup()->DisplayList()->Count(), c.entries) << c.name;
    EXPECT_EQ(e.Text(), u"") << c.name;  // no value entry: the value stays
    // Each entry keeps its own value whatever was skipped before it.
    const int b = e.Lookup()->DisplayList()->IndexOf(u"b");
    if (b >= 0) {
      EXPECT_EQ(e.Lookup()->ValueList()->Strings(b), u"B") << c.name;
    }
  }
  // Saving ten thousand entries is one write of the file.
  dir.Write("h.ini", "; kept\n[Other]\nA=1\n");
  TAdvEdit e(nullptr);
  e.SetName(u"E");
  e.Persistence()->SetEnable(true);
  e.Persistence()->SetKey(dir.FileS("h.ini"));
  e.Persistence()->SetSection(u"S");
  e.Lookup()->SetEnabled(true);
  e.Lookup()->SetHistory(true);
  for (int n = 0; n < MaxLookupEntries; ++n) e.Lookup()->AddPair(u"entry" + IntToStr(n), u"v");
  const auto start = std::chrono::steady_clock::now();
  e.SavePersist();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(Crudini(dir.File("h.ini"), "S", "LOOKUPCOUNT"), "10000");
  EXPECT_EQ(Crudini(dir.File("h.ini"), "Other", "A"), "1");
  EXPECT_EQ(dir.Read("h.ini").rfind("; kept", 0), 0u);
}

// ---- Range lists

TEST(RangeList, ReadsAndWritesRangeTexts) {
  struct {
    const char16_t* text;
    bool ok;
    std::vector<int32_t> items;
  } cases[] = {
      {u"1-3,5;7-8", true, {1, 2, 3, 5, 7, 8}},
      {u"5-3", true, {}},
      {u"1,x,2", false, {1, 2}},
      {u"2,2", true, {2}},
      {u"1-2000000000,4", false, {4}},
      {u"", true, {}},
      {u"$10,0x0B", true, {16, 11}},
  };
  for (auto& c : cases) {
    TRangeList l;
    EXPECT_EQ(l.StrToList(c.text), c.ok) << String(c.text).size();
    std::vector<int32_t> got;
    for (int i = 0; i < l.Count(); ++i) got.push_back(l[i]);
    EXPECT_EQ(got, c.items);
  }
  TRangeList l;
  for (int v : {8, 1, 3, 2, 5, 7}) l.Add(v);
  EXPECT_EQ(l.ToRangeStr(), u"1-3,5,7-8");
  TRangeList empty;
  EXPECT_EQ(empty.ToRangeStr(), u"");
  TAdvEdit e(nullptr);
  e.SetEditType(etRange);
  e.ListToRangeStr(&l);
  EXPECT_EQ(e.Text(), u"1-3,5,7-8");
  TRangeList back;
  EXPECT_TRUE(e.RangeStrToList(&back));
  EXPECT_EQ(back.Count(), 6);
  EXPECT_TRUE(back.InList(7));
  EXPECT_FALSE(back.InList(6));
  // An empty list writes an empty text.
  e.ListToRangeStr(&empty);
  EXPECT_EQ(e.WindowText(), u"");
}

}  // namespace
