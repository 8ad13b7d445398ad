// The numeric edit, the spin button and the numeric spinner.
#include <gtest/gtest.h>

#include <cmath>

#include "InstrTestSupport.h"
#include "instruments/AbNumEdit.h"
#include "testing/TestSupport.h"

namespace {

// Sets a text and accepts it with the Enter character alone (a real Enter key's key-down
// would fire OnChange of its own, which the counts below leave out).
void Enter(TAbNumEdit* e, const String& text) {
  e->SetText(text);
  e->Perform(WM_CHAR, u'\r', 0);
}

}  // namespace

TEST(AbNumEdit, AcceptedTextsByBase) {
  struct Case { TEditBase base; const char16_t* typed; double value; const char16_t* shown; } cases[] = {
      {ebInt, u"12k", 12000, u"12000"},
      {ebInt, u"3G", 2147483647, u"2147483647"},
      {ebInt, u"1,234", 1234, u"1234"},
      {ebFloat, u"1.5k", 1500, u"1500"},
      {ebFloat, u"1E3", 1000, u"1000"},
      {ebFloat, u"2M", 2e6, u"2000000"},
      {ebFloat, u"E5", 100000, u"100000"},
      {ebFloat, u"-", 0, u"0"},
      {ebFloat, u"!1E-3", 0.001, u"0"},
      {ebFloat, u"$1F", 31, u"31"},
      {ebFloat, u"&101", 5, u"5"},
      {ebFloat, u"%-7", -7, u"-7"},
      {ebFloat, u"k", 1000, u"1000"},
      {ebHex, u"ff", 255, u"FF"},
      {ebBin, u"1010", 10, u"1010"},
  };
  TTestForm f;
  for (auto& c : cases) {
    auto* e = f.Add<TAbNumEdit>(10, 10);
    e->SetEditBase(c.base);
    Enter(e, c.typed);
    EXPECT_NEAR(e->Value(), c.value, 1e-9) << StringToUTF8(c.typed);
    EXPECT_EQ(e->Text(), String(c.shown)) << StringToUTF8(c.typed);
    EXPECT_EQ(e->State(), esNormal);
  }
  auto* e = f.Add<TAbNumEdit>(10, 10);
  Enter(e, u"1E");  // a final E is the exa multiplier
  EXPECT_NEAR(e->Value() / 1e18, 1.0, 1e-6);
  EXPECT_EQ(e->ValueAsInt(), 2147483647);
  EXPECT_EQ(e->ValueAsHex(), u"7FFFFFFF");
}

TEST(AbNumEdit, FaultyTextsAreMarkedAndLeaveTheValue) {
  struct Case { TEditBase base; const char16_t* typed; int selStart, selLength; } cases[] = {
      {ebInt, u"2m", 1, 1},
      {ebFloat, u"1.2.3", 3, 1},
      {ebFloat, u"1x", 1, 1},
      {ebHex, u"1G", 1, 1},
      {ebFloat, u"1E+", 0, 3},            // passes the characters but is no number
      {ebInt, u"99999999999", 0, 11},     // beyond 32 bits
  };
  TTestForm f;
  for (auto& c : cases) {
    auto* e = f.Add<TAbNumEdit>(10, 10);
    e->SetEditBase(c.base);
    Enter(e, u"7");
    ASSERT_EQ(e->Value(), 7);
    EXPECT_NO_THROW(Enter(e, c.typed)) << StringToUTF8(c.typed);
    EXPECT_EQ(e->State(), esError) << StringToUTF8(c.typed);
    EXPECT_EQ(e->Color(), clRed);
    EXPECT_EQ(e->Value(), 7) << StringToUTF8(c.typed);
    EXPECT_EQ(e->SelStart(), c.selStart) << StringToUTF8(c.typed);
    EXPECT_EQ(e->SelLength(), c.selLength) << StringToUTF8(c.typed);
    // Escape brings back the value's text.
    SimulateKeyDown(e, VK_ESCAPE);
    EXPECT_EQ(e->Text(), u"7");
    EXPECT_EQ(e->State(), esNormal);
  }
}

TEST(AbNumEdit, TypingColoursAndEnterAccepts) {
  TTestForm f;
  auto* e = f.Add<TAbNumEdit>(10, 10);
  e->BeginLoading();
  e->EndLoading();
  int changed = 0;
  e->OnValueChanged = [&](TObject*) { ++changed; };
  e->SetText(u"42");
  EXPECT_EQ(e->State(), esEditing);
  EXPECT_EQ(e->Color(), clLime);
  EXPECT_EQ(e->Value(), 0);
  SimulateChar(e, u'\r');
  EXPECT_EQ(e->Value(), 42);
  EXPECT_EQ(e->State(), esNormal);
  EXPECT_EQ(changed, 1);
  e->SetValue(42.04);  // same text with "#0.#": no change reported
  EXPECT_EQ(changed, 1);
  e->SetValueAsSingle(2.5f);
  EXPECT_EQ(e->Text(), u"2.5");
  EXPECT_EQ(changed, 2);
}

TEST(AbNumEdit, HexAndBinaryForms) {
  TTestForm f;
  auto* e = f.Add<TAbNumEdit>(10, 10);
  e->SetEditBase(ebHex);
  e->SetDigitsHex(2);
  e->SetValue(10);
  EXPECT_EQ(e->Text(), u"0A");
  e->SetValue(-1);
  EXPECT_EQ(e->ValueAsHex(), u"FFFFFFFF");
  e->SetDigitsBool(3);
  e->SetValue(5);
  EXPECT_EQ(e->ValueAsBool(), u"0101");
  e->SetEditBase(ebInt);
  e->SetValueAsHex(u"1F");
  EXPECT_EQ(e->Value(), 31);
  EXPECT_EQ(e->Text(), u"31");
}

TEST(AbNumEdit, LimitsAndSteps) {
  TTestForm f;
  auto* e = f.Add<TAbNumEdit>(10, 10);
  e->SetEditBase(ebInt);
  e->SetMinValue(1);
  int limits = 0, changes = 0;
  e->OnLimit = [&](TObject*) { ++limits; };
  e->OnChange = [&](TObject*) { ++changes; };
  e->SetOptions({eoLimitMin});
  Enter(e, u"0");
  EXPECT_EQ(e->Value(), 1);
  EXPECT_TRUE(e->LimitLo());
  EXPECT_GE(limits, 1);
  int before = limits;
  SimulateKeyDown(e, VK_DOWN);
  EXPECT_EQ(e->Value(), 1);
  EXPECT_EQ(changes, 1);
  e->DownClick(e);  // the spin button: a beep, nothing else
  EXPECT_EQ(e->Value(), 1);
  SimulateKeyDown(e, VK_UP);
  EXPECT_EQ(e->Value(), 2);
  EXPECT_FALSE(e->LimitLo());
  EXPECT_EQ(limits, before + 1);

  auto* m = f.Add<TAbNumEdit>(10, 40);
  m->SetOptions({eoMultiply});
  m->SetIncrement(10);
  m->SetValue(5);
  m->UpClick(m);
  EXPECT_EQ(m->Value(), 50);
  m->DownClick(m);
  EXPECT_EQ(m->Value(), 5);
  m->SetValue(0);
  m->UpClick(m);
  EXPECT_EQ(m->Value(), 10);

  auto* r = f.Add<TAbNumEdit>(10, 70);
  r->SetEditorEnabled(false);
  Char k = u'5';
  r->Perform(WM_CHAR, k, 0);
  EXPECT_EQ(r->Text(), u"0");
  SimulateKeyDown(r, VK_UP);
  EXPECT_EQ(r->Value(), 1);
}

TEST(AbNumEdit, AStepThatKeepsTheTextLeavesTheNextTypingChecked) {
  for (Word key : {VK_UP, VK_DOWN}) {
    TTestForm f;
    auto* e = f.Add<TAbNumEdit>(10, 10);
    e->SetEditBase(ebInt);
    e->SetIncrement(0.4f);  // 0 and 0.4 both show as "0"
    SimulateKeyDown(e, key);
    EXPECT_EQ(e->Text(), u"0");
    SimulateChar(e, u'x');
    EXPECT_EQ(e->State(), esError) << key;
    EXPECT_EQ(e->Color(), clRed);
  }
}

TEST(AbNumEdit, NoValueChangedEventsBeforeLoading) {
  TTestForm f;
  auto* e = f.Add<TAbNumEdit>(10, 10);
  int changed = 0;
  e->OnValueChanged = [&](TObject*) { ++changed; };
  Enter(e, u"5");
  EXPECT_EQ(e->Value(), 5);
  EXPECT_EQ(changed, 0);
}

TEST(AbSpinButton, LayoutKeepsTheMinimumWidthAndSplitsTheHeight) {
  TTestForm f;
  auto* s = f.Add<TAbSpinButton>(10, 10);
  s->SetBounds(10, 10, 10, 25);
  EXPECT_EQ(s->Width(), 15);
  EXPECT_EQ(s->UpButton()->Width(), 15);
  EXPECT_EQ(s->UpButton()->Height(), 12);
  EXPECT_EQ(s->DownButton()->Top(), 12);
  EXPECT_EQ(s->DownButton()->Height(), 13);
  s->UpButton()->SetInterval(49);
  EXPECT_EQ(s->UpButton()->Interval(), 100);
  s->UpButton()->SetInterval(50);
  EXPECT_EQ(s->UpButton()->Interval(), 50);
  s->SetUpGlyph(nullptr);
  EXPECT_EQ(s->UpNumGlyphs(), 2);
  // Built-in up arrow: tip at the top, black on olive.
  auto g = MakeSpinGlyph(true);
  EXPECT_EQ(PixelColor(*g, 4, 0), clBlack);
  EXPECT_EQ(PixelColor(*g, 3, 0), clOlive);
  EXPECT_EQ(PixelColor(*g, 1, 3), clBlack);
  EXPECT_EQ(PixelColor(*g, 4, 5), clOlive);
}

TEST(AbNumSpin, ArrowsStepAndRepeatWhileHeldWithTheLeftButton) {
  TTestForm f;
  auto* s = f.Add<TAbNumSpin>(10, 10, 80, 24);
  s->SetEditBase(ebInt);
  TAbTimerSpeedBtn* up = s->Button()->UpButton();
  // A tap: one step, on release.
  SimulateMouseDown(up, mbLeft, 3, 3);
  EXPECT_EQ(s->Value(), 0);
  SimulateMouseUp(up, mbLeft, 3, 3);
  EXPECT_EQ(s->Value(), 1);
  // The right button neither clicks nor repeats. Over the edit's arrows it brings up the
  // edit's context menu, as it does over the text; Escape closes it.
  SimulateMouseDown(up, mbRight, 3, 3);
  WaitUntil([] { return false; }, 300);
  SimulateMouseUp(up, mbRight, 3, 3);
  EXPECT_EQ(s->Value(), 1);
  EXPECT_EQ(FlashClient(up), nullptr);
  SimulateKeyStroke(s, VK_ESCAPE);
  // Held: repeats after the start delay, then every interval, plus the release click.
  s->SetStartDelay(100);
  s->SetInterval(50);
  SimulateMouseDown(up, mbLeft, 3, 3);
  WaitUntil([&] { return s->Value() >= 5; }, 5000);
  SimulateMouseUp(up, mbLeft, 3, 3);
  EXPECT_GE(s->Value(), 5);
  EXPECT_EQ(FlashClient(up), nullptr);
  // A press cancelled (the focus left) stops repeating, and its release does not click.
  int before = s->Value();
  SimulateMouseDown(up, mbLeft, 3, 3);
  EXPECT_EQ(up->State(), bsDown);
  up->CancelPress();
  EXPECT_EQ(up->State(), bsUp);
  EXPECT_EQ(FlashClient(up), nullptr);
  SimulateMouseUp(up, mbLeft, 3, 3);
  EXPECT_EQ(s->Value(), before);
}

TEST(AbNumSpin, ArrowButtonsFollowLimitsAndEditState) {
  TTestForm f;
  auto* s = f.Add<TAbNumSpin>(10, 10, 80, 24);
  s->SetEditBase(ebInt);
  s->SetMinValue(100);
  s->SetOptions({eoLimitMin});
  Enter(s, u"100");
  EXPECT_FALSE(s->Button()->DownButton()->Enabled());
  EXPECT_TRUE(s->Button()->UpButton()->Enabled());
  s->UpClick(s);
  EXPECT_EQ(s->Value(), 101);
  EXPECT_TRUE(s->Button()->DownButton()->Enabled());
  s->SetText(u"12");
  EXPECT_EQ(s->State(), esEditing);
  EXPECT_FALSE(s->Button()->UpButton()->Enabled());
  EXPECT_FALSE(s->Button()->DownButton()->Enabled());
  SimulateChar(s, u'\r');
  EXPECT_EQ(s->Value(), 100);
  EXPECT_TRUE(s->Button()->UpButton()->Enabled());
  EXPECT_FALSE(s->Button()->DownButton()->Enabled());
  s->SetEnabled(false);
  EXPECT_FALSE(s->Button()->UpButton()->Enabled());
  s->SetEnabled(true);
  EXPECT_TRUE(s->Button()->UpButton()->Enabled());
  EXPECT_FALSE(s->Button()->DownButton()->Enabled());
  s->SetHeight(10);
  EXPECT_EQ(s->Height(), s->GetMinHeight());
  EXPECT_EQ(s->Button()->Width(), 15);
}

TEST(AbNumSpin, RendersIntegerAndHexadecimalTexts) {
  TTestForm f;
  auto* d = f.Add<TAbNumSpin>(10, 10, 100, 24);
  d->SetEditBase(ebInt);
  d->SetValue(1200000);
  EXPECT_EQ(d->Text(), u"1200000");
  auto* h = f.Add<TAbNumSpin>(10, 40, 100, 24);
  h->SetEditBase(ebHex);
  h->SetValue(268435455);
  EXPECT_EQ(h->Text(), u"FFFFFFF");
  // The arrow buttons paint at the right edge.
  auto up = RenderControl(h->Button()->UpButton());
  EXPECT_EQ(PixelColor(*up, up->Width() / 2, up->Height() / 2), clBlack);
}

TEST(AbNumSpin, TextStopsShortOfTheArrowButtons) {
  TTestForm f;
  auto* s = f.Add<TAbNumSpin>(10, 10, 80, 24);
  s->SetEditBase(ebInt);
  s->SetValue(-2147483647);  // wider than the text area; the edit scrolls to its end
  const int buttonLeft = s->Button()->Left();
  // The buttons hidden, the area they cover holds no text.
  s->Button()->SetVisible(false);
  auto image = RenderControl(s);
  auto ink = [&](int x0, int x1) {
    int n = 0;
    for (int y = 3; y < s->Height() - 3; ++y)
      for (int x = x0; x < x1; ++x) n += (PixelColor(*image, x, y) & 0xFF) < 0x80;
    return n;
  };
  EXPECT_EQ(ink(buttonLeft, s->Width() - 3), 0);
  EXPECT_GT(ink(3, buttonLeft), 20);
  // The text area follows a change of size.
  s->SetBounds(10, 10, 64, 24);
  s->Button()->SetVisible(false);
  image = RenderControl(s);
  EXPECT_EQ(ink(s->Button()->Left(), s->Width() - 3), 0);
  EXPECT_GT(ink(3, s->Button()->Left()), 20);
}
