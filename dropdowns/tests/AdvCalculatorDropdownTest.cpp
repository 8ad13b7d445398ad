// The calculator drop-down: keypad clicks through the real mouse on the open pop-up, keys typed
// on the pop-up and into the closed edit, the display rules, memory, and the failure paths.

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "AdvDropDownHost.h"
#include "AdvDropDownTestSupport.h"
#include "dropdowns/AdvCalculatorDropdown.h"
#include "dropdowns/demo/DropDownsDemo.h"

namespace {

struct CalcFixture : TDropDownHost<TAdvCalculatorDropdown> {
  CalcFixture() { Show(); }
  TCustomButtonPanel* Panel() const { return dd->ButtonPanel(); }
  void Open() {
    SimulateKeyStroke(dd, VK_F4);
    ProcessPendingEvents();
    ASSERT_TRUE(dd->DroppedDown());
  }
  // The key whose name is "BTN_" + Key.
  int KeyIndex(const String& Key) const {
    for (int i = 0; i < Panel()->Buttons()->Count(); ++i)
      if (Panel()->Buttons()->Items(i)->Name() == u"BTN_" + Key) return i;
    ADD_FAILURE() << "no key " << StringToUTF8(Key);
    return -1;
  }
  void Click(const String& Key) {
    const TRect r = Panel()->ButtonRect(KeyIndex(Key));
    SimulateClick(Panel(), (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    ProcessPendingEvents();
  }
  // Clicks the keys (separated by blanks) and gives the display after each.
  std::vector<String> Clicks(const std::string& Keys) {
    std::vector<String> shown;
    std::istringstream in(Keys);
    for (std::string k; in >> k;) {
      Click(UTF8ToString(k));
      shown.push_back(dd->Text());
    }
    return shown;
  }
  // Where the keyboard is on the open pop-up: a click on the keypad may have given it the focus.
  TWinControl* PopupKeys() const {
    return Panel()->Focused() ? static_cast<TWinControl*>(Panel()) : dd->DropDownForm();
  }
  void TypeOnPopup(const String& Chars) {
    for (Char c : Chars) {
      SimulateChar(PopupKeys(), c);
      ProcessPendingEvents();
    }
  }
  void TypeInEdit(const String& Chars) {
    for (Char c : Chars) {
      SimulateChar(dd, c);
      ProcessPendingEvents();
    }
  }
};

TEST(AdvCalculatorDropdown, StartsAsAFloatEditWithTheKeypadInA230PixelPopup) {
  CalcFixture f;
  EXPECT_EQ(f.dd->EditType(), etFloat);
  EXPECT_EQ(f.dd->Precision(), 2);
  EXPECT_EQ(f.dd->DropDownWidth(), 230);
  EXPECT_EQ(f.dd->DropDownColor(), clWhite);
  EXPECT_FALSE(f.dd->DropDownHeader()->Visible());
  EXPECT_FALSE(f.dd->DropDownFooter()->Visible());
  ASSERT_NE(f.Panel(), nullptr);
  EXPECT_EQ(f.Panel()->Buttons()->Count(), 28);
  EXPECT_EQ(f.Panel()->AdvDropDown(), f.dd);
  f.Open();
  EXPECT_EQ(f.dd->DropDownForm()->Width(), 230);
  EXPECT_EQ(f.Panel()->Height(), 150);
  EXPECT_EQ(f.Panel()->Color(), clWhite);
  // The keypad takes the drop-down button's colours; the glow follows the look.
  EXPECT_EQ(f.Panel()->ButtonAppearance()->Color(), f.dd->ButtonAppearance()->Color());
  EXPECT_EQ(f.Panel()->ButtonAppearance()->GlowColorHot(), f.dd->ButtonAppearance()->ColorDownTo());
  EXPECT_EQ(f.Panel()->ButtonAppearance()->GlowColorDown(), TColor(0xD5C244));
}

struct SequenceCase {
  const char* keys;
  const char16_t* shown;  // the display after the last key
};

class AdvCalculatorSequence : public ::testing::TestWithParam<SequenceCase> {};

TEST_P(AdvCalculatorSequence, KeypadClicksShow) {
  SeparatorsScope separators(u'.', u',');
  CalcFixture f;
  f.Open();
  const std::vector<String> shown = f.Clicks(GetParam().keys);
  EXPECT_EQ(StringToUTF8(shown.back()), StringToUTF8(GetParam().shown)) << GetParam().keys;
}

INSTANTIATE_TEST_SUITE_P(
    Table, AdvCalculatorSequence,
    ::testing::Values(
        // Left to right, no precedence.
        SequenceCase{"2 + 3 * 4 =", u"20.00"}, SequenceCase{"5 - 3 =", u"2.00"}, SequenceCase{"8 / 4 - 1 =", u"1.00"},
        // Division by zero shows "Error" and zeroes the accumulator; the next digit replaces it.
        SequenceCase{"7 / 0 =", u"Error"}, SequenceCase{"7 / 0 = 5", u"5.00"}, SequenceCase{"7 / 0 + 5 =", u"5.00"},
        // A second "=" does not repeat the operation.
        SequenceCase{"9 = =", u"9.00"}, SequenceCase{"2 + 3 = =", u"5.00"},
        // Percent of the accumulator; "=" then completes the addition.
        SequenceCase{"2 0 0 + 1 0 %", u"20.00"}, SequenceCase{"2 0 0 + 1 0 % =", u"220.00"},
        // Decimal entry ends with the clear keys.
        SequenceCase{"1 . 5 C 3", u"3.00"}, SequenceCase{"1 . 5 CE 3", u"3.00"}, SequenceCase{"1 . 5 ON 3", u"3.00"},
        // Back, only without a pending operator.
        SequenceCase{"1 2 3 BACK", u"12.00"}, SequenceCase{"1 2 + BACK", u"12.00"}, SequenceCase{"5 BACK", u"0.00"},
        // Sign, square root, reciprocal.
        SequenceCase{"4 +/-", u"-4.00"}, SequenceCase{"4 +/- +/-", u"4.00"}, SequenceCase{"9 sqrt", u"3.00"},
        SequenceCase{"4 +/- sqrt", u"Error"}, SequenceCase{"4 1/x", u"0.25"}, SequenceCase{"0 1/x", u"Error"},
        // Memory.
        SequenceCase{"5 MS C MR", u"5.00"}, SequenceCase{"5 MS C 3 M+ C MR", u"8.00"}, SequenceCase{"5 MS MC MR", u"0.00"},
        // "Error" reads as 0 for the memory keys and the operators.
        SequenceCase{"7 / 0 = MS 3 MR", u"0.00"}, SequenceCase{"4 MS C 7 / 0 = M+ MR", u"4.00"},
        SequenceCase{"0 1/x + 2 =", u"2.00"}));

TEST(AdvCalculatorDropdown, DecimalDigitsAddToTheValueReadBackFromTheDisplay) {
  SeparatorsScope separators(u'.', u',');
  CalcFixture f;
  f.Open();
  EXPECT_EQ(f.Clicks("1 . 2 3 4"), (std::vector<String>{u"1.00", u"1.00", u"1.20", u"1.23", u"1.23"}));
  // Digits far beyond the tenth decimal neither fail nor change the display.
  for (int i = 0; i < 12; ++i) f.Click(u"7");
  EXPECT_EQ(f.dd->Text(), u"1.23");
}

TEST(AdvCalculatorDropdown, AFullDisplayTakesNoDigitSignOrPointButOperatorsWork) {
  SeparatorsScope separators(u'.', u',');
  CalcFixture f;
  f.Open();
  f.Click(u"5");
  ASSERT_EQ(f.dd->Text(), u"5.00");
  f.dd->SetMaxLength(4);
  f.dd->SetModified(false);
  for (const char16_t* k : {u"6", u"+/-", u"."}) {
    f.Click(k);
    EXPECT_EQ(f.dd->Text(), u"5.00") << StringToUTF8(k);
    EXPECT_FALSE(f.dd->GetModified()) << StringToUTF8(k);
  }
  // Operators still work (and the display stays full for digits).
  f.Clicks("+ 2");
  EXPECT_TRUE(f.dd->GetModified());
  f.Click(u"=");
  EXPECT_DOUBLE_EQ(f.dd->Value(), 10);
}

TEST(AdvCalculatorDropdown, ThousandSeparatorsAreShownAndReadBack) {
  SeparatorsScope separators(u'.', u',');
  CalcFixture f;
  f.dd->SetShowThousandSeparator(true);
  EXPECT_EQ(f.dd->EditType(), etMoney);
  f.Open();
  f.Clicks("1 2 3 4 . 5");
  EXPECT_EQ(f.dd->Text(), u"1,234.50");
  f.Clicks("MS C MR + 1 =");
  EXPECT_EQ(f.dd->Text(), u"1,235.50");
  f.Clicks("MS C 1 M+ MR");
  EXPECT_EQ(f.dd->Text(), u"1,236.50");
  EXPECT_DOUBLE_EQ(f.dd->Value(), 1236.5);
  f.dd->SetShowThousandSeparator(false);
  EXPECT_EQ(f.dd->EditType(), etFloat);
  EXPECT_EQ(f.dd->Text(), u"1236.50");
}

TEST(AdvCalculatorDropdown, EscapeKeepsTheLastResultAndClosing) {
  SeparatorsScope separators(u'.', u',');
  CalcFixture f;
  f.Open();
  f.Clicks("2 + 3 =");
  f.ClosingKey(f.PopupKeys(), VK_ESCAPE);
  EXPECT_FALSE(f.dd->DroppedDown());
  EXPECT_EQ(f.dd->Text(), u"5.00");
  // Enter on the open pop-up completes the calculation and closes it.
  f.Open();
  f.Clicks("* 4");
  f.ClosingKey(f.PopupKeys(), VK_RETURN);
  EXPECT_FALSE(f.dd->DroppedDown());
  EXPECT_EQ(f.dd->Text(), u"20.00");
}

TEST(AdvCalculatorDropdown, KeysTypedOnTheOpenPopupCalculate) {
  SeparatorsScope separators(u'.', u',');
  CalcFixture f;
  f.dd->SetSigned(true);  // the edit would take "-" as the sign key
  f.Open();
  f.TypeOnPopup(u"12+3*2=");
  EXPECT_EQ(f.dd->Text(), u"30.00");
  // "-" subtracts without also turning the sign.
  f.TypeOnPopup(u"c5-3=");
  EXPECT_EQ(f.dd->Text(), u"2.00");
  // A point typed where the display has one moves on to the decimals.
  f.TypeOnPopup(u"c1.5");
  EXPECT_EQ(f.dd->Text(), u"1.50");
  f.TypeOnPopup(u"/0=");
  EXPECT_EQ(f.dd->Text(), u"Error");
  f.TypeOnPopup(u"C");
  EXPECT_EQ(f.dd->Text(), u"0.00");
  // Keys and clicks mix.
  f.Clicks("7 +");
  f.TypeOnPopup(u"2*");
  f.Click(u"3");
  f.TypeOnPopup(u"=");
  EXPECT_EQ(f.dd->Text(), u"27.00");
  EXPECT_TRUE(f.dd->DroppedDown());
}

TEST(AdvCalculatorDropdown, BackspaceOnTheOpenPopupRemovesTheLastCharacterOnce) {
  CalcFixture f;
  f.dd->SetPrecision(0);
  f.Open();
  f.Clicks("1 2 3");
  ASSERT_EQ(f.dd->Text(), u"123");
  SimulateKeyStroke(f.PopupKeys(), VK_BACK);
  ProcessPendingEvents();
  EXPECT_EQ(f.dd->Text(), u"12");
  f.Clicks("/ 0 =");
  SimulateKeyStroke(f.PopupKeys(), VK_BACK);
  ProcessPendingEvents();
  EXPECT_EQ(f.dd->Text(), u"0");
  EXPECT_TRUE(f.dd->DroppedDown());
}

TEST(AdvCalculatorDropdown, OperatorKeysTypedInTheClosedEditAreCalculatorKeys) {
  SeparatorsScope separators(u'.', u',');
  CalcFixture f;
  f.dd->SetSigned(true);  // the edit would take "-" as the sign key
  f.TypeInEdit(u"5+");
  // "+" evaluates and arms the addition without reaching the text.
  EXPECT_EQ(f.dd->Text(), u"5.00");
  f.TypeInEdit(u"3");
  EXPECT_EQ(f.dd->Text(), u"3.00");
  f.TypeInEdit(u"=");
  EXPECT_EQ(f.dd->Text(), u"8.00");
  // "-" subtracts and leaves the sign alone: 5 - 3 = is 2, not -8.
  f.TypeInEdit(u"C5-3");
  EXPECT_EQ(f.dd->Text(), u"3.00");
  SimulateKeyStroke(f.dd, VK_RETURN);
  ProcessPendingEvents();
  EXPECT_EQ(f.dd->Text(), u"2.00");
  f.TypeInEdit(u"C5-=");
  EXPECT_EQ(f.dd->Text(), u"0.00");
  // Letters and digits of other scripts type nothing.
  f.TypeInEdit(u"c4");
  for (Char c : {Char(u'x'), Char(0x00B2), Char(0x0663), Char(0xFF17)}) f.TypeInEdit(String(1, c));
  EXPECT_EQ(f.dd->Text(), u"4.00");
  // The accumulator, operator and memory carry over into the pop-up.
  f.TypeInEdit(u"*");
  f.Open();
  f.Clicks("3 =");
  EXPECT_EQ(f.dd->Text(), u"12.00");
}

TEST(AdvCalculatorDropdown, TextThatIsNoNumberReadsAsZero) {
  SeparatorsScope separators(u'.', u',');
  CalcFixture f;
  f.dd->SetTextDirect(u"abc");
  EXPECT_EQ(f.dd->Value(), 0);
  f.Open();
  f.Clicks("MS + 2 =");
  EXPECT_EQ(f.dd->Text(), u"2.00");
  f.Clicks("C MR");
  EXPECT_EQ(f.dd->Text(), u"0.00");
  // Delete on "Error" leaves "0".
  f.ClosingKey(f.PopupKeys(), VK_ESCAPE);
  f.dd->SetText(u"Error");
  SimulateKeyStroke(f.dd, VK_DELETE);
  ProcessPendingEvents();
  EXPECT_EQ(f.dd->Text(), u"0.00");
}

TEST(AdvCalculatorDropdown, AResultThatIsNotFiniteLeavesTheAccumulatorAtZero) {
  SeparatorsScope separators(u'.', u',');
  CalcFixture f;
  f.Open();
  f.dd->SetValue(1e300);
  f.Click(u"*");
  f.dd->SetValue(1e300);
  f.Click(u"=");
  EXPECT_EQ(f.dd->Text(), u"0.00");
  f.Clicks("+ 2 =");
  EXPECT_EQ(f.dd->Text(), u"2.00");
  // A memory sum that overflows keeps the memory as it was.
  f.dd->SetValue(1e308);
  f.Clicks("MS M+ C MR");
  EXPECT_EQ(f.dd->Text(), Format(u"%.2f", {1e308}));
}

TEST(AdvCalculatorDropdown, ValueReadsAndWritesTheDisplay) {
  SeparatorsScope separators(u'.', u',');
  CalcFixture f;
  f.dd->SetTextDirect(u"");
  EXPECT_EQ(f.dd->Value(), 0);
  EXPECT_EQ(f.dd->Text(), u"0.00");
  f.dd->SetValue(12.375);
  EXPECT_EQ(f.dd->Text(), u"12.38");
  EXPECT_DOUBLE_EQ(f.dd->Value(), 12.38);
  // CalcResult completes a pending calculation.
  f.TypeInEdit(u"+");
  f.dd->SetValue(1);
  f.dd->CalcResult();
  EXPECT_EQ(f.dd->Text(), u"13.38");
}

TEST(AdvCalculatorDropdown, TheOffice2010LooksGlowInTheHotColour) {
  CalcFixture f;
  f.dd->SetComponentStyle(tsOffice2010Blue);
  TButtonAppearance* a = f.dd->CalcButtonAppearance();
  EXPECT_EQ(a->GlowColorHot(), f.dd->ButtonAppearance()->ColorHot());
  EXPECT_EQ(a->GlowColorDown(), f.dd->ButtonAppearance()->ColorHot());
  EXPECT_EQ(a->ColorDownTo(), f.dd->ButtonAppearance()->ColorDownTo());
  f.dd->SetComponentStyle(tsOffice2007Luna);
  EXPECT_EQ(a->GlowColorHot(), f.dd->ButtonAppearance()->ColorDownTo());
  EXPECT_EQ(a->GlowColorDown(), TColor(0xD5C244));
}

TEST(AdvCalculatorDropdown, TheDemosCalculatorComputesAndReportsTheResult) {
  SeparatorsScope separators(u'.', u',');
  TDropDownsDemoForm form(nullptr);
  form.Show();
  ProcessPendingEvents();
  TAdvCalculatorDropdown* dd = form.Calculator();
  EXPECT_LT(dd->EditLabel()->Left() + dd->EditLabel()->Width(), dd->Left());
  SimulateClick(dd->Button()->Button(), 8, 8);
  ProcessPendingEvents();
  ASSERT_TRUE(dd->DroppedDown());
  TCustomButtonPanel* keys = dd->ButtonPanel();
  for (int index : {18, 21, 11, 24}) {  // 6 * 7 =
    const TRect r = keys->ButtonRect(index);
    SimulateClick(keys, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    ProcessPendingEvents();
  }
  TWinControl* target = keys->Focused() ? static_cast<TWinControl*>(keys) : dd->DropDownForm();
  SimulateKeyDown(target, VK_RETURN);
  SimulateKeyUp(dd, VK_RETURN);
  ProcessPendingEvents();
  EXPECT_FALSE(dd->DroppedDown());
  EXPECT_EQ(dd->Text(), u"42.00");
  EXPECT_EQ(form.Status()->Caption(), u"Result: 42.00");
}

}  // namespace
