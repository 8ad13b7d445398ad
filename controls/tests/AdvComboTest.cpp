// The styled combo box: its properties, label placement, looks painted over the native window,
// focus colours and the drop-up event, driven through real mouse and key input.
#include <gtest/gtest.h>

#include <memory>

#include "controls/AdvCombo.h"
#include "controls/AdvXPVS.h"
#include "platform/ui/Forms.h"
#include "platform/win/Gdi.h"
#include "platform/win/WinUser.h"
#include "testing/TestSupport.h"

namespace {

// A shown form whose components are made while it loads, as a stored form is; Loaded() runs on
// each when Done() ends the loading.
struct TComboForm {
  std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
  TComboForm() {
    form->SetBounds(0, 0, 400, 300);
    form->BeginLoading();
  }
  ZIviDovevUvi* Add(TComboBoxStyle Style, int Left, int Top, int Width, int Height) {
    auto* c = new ZIviDovevUvi(form.get());
    c->SetParent(form.get());
    c->SetStyle(Style);
    c->SetBounds(Left, Top, Width, Height);
    return c;
  }
  // An edit that takes the focus when the form shows (made first, it is first in tab order).
  TEdit* AddEdit() {
    auto* e = new TEdit(form.get());
    e->SetParent(form.get());
    e->SetBounds(300, 250, 80, 21);
    return e;
  }
  void Done() {
    form->EndLoading();
    form->Show();
    ProcessPendingEvents();
  }
};

// Pixels of a colour in a rectangle of a rendered control.
int CountColor(TBitmap& b, const TRect& r, TColor Color) {
  int n = 0;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) n += PixelColor(b, x, y) == ColorToRGB(Color) ? 1 : 0;
  return n;
}

TEST(AdvCombo, TakesOnlyButtonWidthsFrom14To32AndKeepsItsVersion) {
  ZIviDovevUvi combo(nullptr);
  const int initial = combo.ButtonWidth();
  EXPECT_EQ(initial, GetSystemMetrics(SM_CXVSCROLL) + 2);
  for (int refused : {13, 40, 0, -5}) {
    combo.SetButtonWidth(refused);
    EXPECT_EQ(combo.ButtonWidth(), initial) << refused;
  }
  combo.SetButtonWidth(14);
  EXPECT_EQ(combo.ButtonWidth(), 14);
  combo.SetButtonWidth(32);
  EXPECT_EQ(combo.ButtonWidth(), 32);

  EXPECT_EQ(combo.Version(), u"1.4.0.0");
  combo.SetVersion(u"9.9.9.9");
  EXPECT_EQ(combo.Version(), u"1.4.0.0");
  EXPECT_EQ(combo.GetVersionNr(), 0x01040000);

  for (const char16_t* s : {u"MD", u"VE", u"RS"}) combo.Items()->Add(s);
  combo.SelectItem(u"VE");
  EXPECT_EQ(combo.ItemIndex(), 1);
  combo.SelectItem(u"nothing");
  EXPECT_EQ(combo.ItemIndex(), 1);
  EXPECT_EQ(combo.ComboLabel(), nullptr);
  EXPECT_EQ(combo.LabelCaption(), u"");
}

TEST(AdvCombo, PlacesItsLabelAtEachOfTheThirteenPositions) {
  using P = ZIviDovevUvi;
  TComboForm f;
  ZIviDovevUvi* combo = f.Add(csDropDown, 150, 100, 120, 40);
  f.Done();
  combo->SetLabelMargin(5);
  combo->SetLabelCaption(u"&Command");
  TLabel* label = combo->ComboLabel();
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->Parent(), f.form.get());
  EXPECT_EQ(combo->LabelCaption(), u"&Command");
  const int lw = label->Width(), lh = label->Height();
  ASSERT_GT(lw, 20);
  ASSERT_LT(lh, 40);
  const int L = 150, T = 100, W = 120, H = 40, M = 5;
  const int centred = T + (H - lh) / 2, middle = L + (W - lw) / 2;
  struct Case {
    P::TLabelPosition Position;
    int Left, Top;
  } cases[] = {
      {P::lpLeftTop, L - lw - M, T},          {P::lpLeftCenter, L - lw - M, centred},
      {P::lpLeftBottom, L - lw - M, T + H - lh}, {P::lpTopLeft, L, T - lh - M},
      {P::lpBottomLeft, L, T + H + M},        {P::lpLeftTopLeft, L - M, T},
      {P::lpLeftCenterLeft, L - M, centred},  {P::lpLeftBottomLeft, L - M, T + H - lh},
      {P::lpTopCenter, middle, T - lh - M},   {P::lpBottomCenter, middle, T + H + M},
      {P::lpRightTop, L + W + M, T},          {P::lpRightCenter, L + W + M, centred},
      {P::lpRighBottom, L + W + M, T + H - lh},
  };
  for (const Case& c : cases) {
    combo->SetLabelPosition(c.Position);
    EXPECT_EQ(label->Left(), c.Left) << int(c.Position);
    EXPECT_EQ(label->Top(), c.Top) << int(c.Position);
  }

  // Margin 0 at the left centre: the label's right edge meets the control's left edge.
  combo->SetLabelMargin(0);
  combo->SetLabelPosition(P::lpLeftCenter);
  EXPECT_EQ(label->Left() + label->Width(), L);
  EXPECT_EQ(label->Top(), centred);
  // The label follows the control's moves, visibility and enabled state.
  combo->SetBounds(200, 150, W, H);
  EXPECT_EQ(label->Left() + label->Width(), 200);
  combo->SetEnabled(false);
  EXPECT_FALSE(label->Enabled());
  combo->SetVisible(false);
  EXPECT_FALSE(label->Visible());
}

TEST(AdvCombo, SimpleStyleWithoutLooksPaintsAsTheClassLibrarysSimpleComboBox) {
  TComboForm f;
  f.AddEdit();
  ZIviDovevUvi* styled = f.Add(csSimple, 10, 10, 150, 90);
  auto* plain = new TComboBox(f.form.get());
  plain->SetParent(f.form.get());
  plain->SetStyle(csSimple);
  plain->SetBounds(200, 10, 150, 90);
  for (TCustomComboBox* c : {static_cast<TCustomComboBox*>(styled), static_cast<TCustomComboBox*>(plain)}) {
    c->SetText(u"MD");
    for (const char16_t* s : {u"VE", u"RS"}) c->Items()->Add(s);
  }
  styled->SetButtonWidth(18);
  styled->SetLabelMargin(0);
  f.Done();
  auto a = RenderControl(styled), b = RenderControl(plain);
  int differing = 0;
  for (int y = 0; y < 90; ++y)
    for (int x = 0; x < 150; ++x) differing += PixelColor(*a, x, y) != PixelColor(*b, x, y) ? 1 : 0;
  EXPECT_EQ(differing, 0);
}

TEST(AdvCombo, PaintsCustomButtonBorderAndFlatUnderline) {
  TComboForm f;
  ZIviDovevUvi* combo = f.Add(csDropDown, 10, 10, 120, 22);
  f.Done();
  const int W = 120, H = 22, BW = combo->ButtonWidth();

  // Custom button: filled, its left line, and the arrow.
  combo->SetButtonColor(clLime);
  combo->SetButtonBorderColor(clBlue);
  combo->SetButtonTextColor(clRed);
  combo->Invalidate();
  auto img = RenderControl(combo);
  const int left = W - BW + 2 + 1 - 1;  // the button's fill starts here
  EXPECT_GT(CountColor(*img, TRect(left + 1, 3, W - 3, H - 3), clLime), (BW - 8) * (H - 8) / 2);
  EXPECT_GE(CountColor(*img, TRect(left, 2, left + 1, H - 2), clBlue), H - 6);
  EXPECT_GE(CountColor(*img, TRect(left + 4, 9, left + 11, 12), clRed), 6);

  // The mouse over the button lights it in the hot colour; once it leaves the control, the
  // normal fill is back.
  combo->SetButtonColorHot(clYellow);
  SimulateMouseMove(combo, W - 5, H / 2);
  auto hot = RenderControl(combo);
  EXPECT_GT(CountColor(*hot, TRect(left + 1, 3, W - 3, H - 3), clYellow), (BW - 8) * (H - 8) / 2);
  SimulateMouseMove(f.form.get(), 300, 200);
  auto cold = RenderControl(combo);
  EXPECT_EQ(CountColor(*cold, TRect(left + 1, 3, W - 3, H - 3), clYellow), 0);

  // Border colour: a frame round the whole window.
  combo->SetBorderColor(clFuchsia);
  auto framed = RenderControl(combo);
  EXPECT_EQ(CountColor(*framed, TRect(0, 0, W, 1), clFuchsia), W);
  EXPECT_EQ(CountColor(*framed, TRect(0, H - 1, W, H), clFuchsia), W);
  EXPECT_EQ(CountColor(*framed, TRect(0, 0, 1, H), clFuchsia), H);

  // Flat look: the underline along the bottom row under the edit part.
  combo->SetBorderColor(clNone);
  combo->SetButtonColor(clNone);
  combo->SetFlat(true);
  combo->SetFlatLineColor(clRed);
  EXPECT_FALSE(combo->Ctl3D());
  auto flat = RenderControl(combo);
  const int lineEnd = W - 2 - BW - 1;
  EXPECT_EQ(CountColor(*flat, TRect(0, H - 1, lineEnd, H), clRed), lineEnd);
  EXPECT_EQ(CountColor(*flat, TRect(lineEnd, H - 1, W, H), clRed), 0);
}

TEST(AdvCombo, FramesForFocusHotDisabledAndAutoFocus) {
  TComboForm f;
  auto* other = f.AddEdit();
  ZIviDovevUvi* combo = f.Add(csDropDown, 10, 10, 120, 22);
  f.Done();
  ASSERT_TRUE(other->Focused());
  const int W = 120, H = 22;
  // The focus border colour frames the box only while it has the focus.
  combo->SetFocusBorderColor(clLime);
  combo->Invalidate();
  EXPECT_EQ(CountColor(*RenderControl(combo), TRect(0, 0, W, 1), clLime), 0);
  SimulateClick(combo, 20, H / 2);
  ProcessPendingEvents();
  ASSERT_TRUE(combo->Focused());
  EXPECT_EQ(CountColor(*RenderControl(combo), TRect(0, 0, W, 1), clLime), W);
  combo->SetFocusBorderColor(clNone);
  other->SetFocus();
  ProcessPendingEvents();

  // Disabled and themed without DisabledBorder: the blue-grey frame.
  combo->SetDisabledBorder(false);
  combo->SetEnabled(false);
  EXPECT_EQ(CountColor(*RenderControl(combo), TRect(0, H - 1, W, H), TColor(0xB99D7F)), W);
  combo->SetEnabled(true);

  // Flat with FocusBorder: a sunken edge while the mouse is over the box.
  combo->SetFlat(true);
  combo->SetFlatLineColor(clNone);
  combo->SetFocusBorder(true);
  SimulateMouseMove(f.form.get(), 300, 200);
  auto cold = RenderControl(combo);
  EXPECT_EQ(CountColor(*cold, TRect(0, 0, W, 1), clBtnShadow), 0);
  SimulateMouseMove(combo, 20, H / 2);
  auto hot = RenderControl(combo);
  EXPECT_GE(CountColor(*hot, TRect(0, 0, W, 1), clBtnShadow), W - 1);  // the last pixel is the right edge's

  // AutoFocus: the mouse coming over the box gives it the focus.
  SimulateMouseMove(f.form.get(), 300, 200);
  ASSERT_TRUE(other->Focused());
  combo->SetAutoFocus(true);
  SimulateMouseMove(combo, 20, H / 2);
  ProcessPendingEvents();
  EXPECT_TRUE(combo->Focused());
}

// Pixels of the button area that differ between two renderings.
int ButtonDifference(TBitmap& A, TBitmap& B, int Width, int Height, int ButtonWidth) {
  int n = 0;
  for (int y = 2; y < Height - 2; ++y)
    for (int x = Width - ButtonWidth + 3; x < Width - 2; ++x) n += PixelColor(A, x, y) != PixelColor(B, x, y) ? 1 : 0;
  return n;
}

TEST(AdvCombo, PaintsTheSystemButtonThroughTheThemeBindingOrAsAFrameControl) {
  TComboForm f;
  f.AddEdit();
  ZIviDovevUvi* combo = f.Add(csDropDown, 10, 10, 120, 22);
  f.Done();
  combo->SetFlat(true);
  combo->SetFlatLineColor(clNone);
  const int BW = combo->ButtonWidth();
  ComboThemeBinding.Load();
  ASSERT_TRUE(ComboThemeBinding.Loaded());
  auto themed = RenderControl(combo);
  combo->SetEnabled(false);
  auto themedDisabled = RenderControl(combo);
  EXPECT_GT(ButtonDifference(*themed, *themedDisabled, 120, 22, BW), 0);
  ComboThemeBinding.Free();
  combo->SetEnabled(true);
  auto classic = RenderControl(combo);
  combo->SetEnabled(false);
  auto classicDisabled = RenderControl(combo);
  EXPECT_GT(ButtonDifference(*classic, *classicDisabled, 120, 22, BW), 0);
}

TEST(AdvCombo, FocusColourOnEnteringAndTheLoadedColourRestoredOnLeaving) {
  TComboForm f;
  auto* other = f.AddEdit();
  ZIviDovevUvi* combo = f.Add(csSimple, 10, 10, 150, 90);
  combo->SetColor(clYellow);
  combo->SetFocusColor(clRed);
  combo->SetFocusLabel(true);
  combo->SetLabelCaption(u"Line");
  f.Done();
  ASSERT_TRUE(other->Focused());
  EXPECT_EQ(combo->Color(), clYellow);

  SimulateClick(combo, 20, 8);
  ProcessPendingEvents();
  ASSERT_TRUE(combo->Focused());
  EXPECT_EQ(combo->Color(), clRed);
  EXPECT_TRUE(combo->ComboLabel()->Font()->Style().Contains(fsBold));
  auto red = RenderControl(combo);
  EXPECT_EQ(PixelColor(*red, 140, 10), ColorToRGB(clRed));

  SimulateKeyStroke(combo, VK_TAB);
  ProcessPendingEvents();
  ASSERT_TRUE(other->Focused());
  EXPECT_EQ(combo->Color(), clYellow);
  EXPECT_FALSE(combo->ComboLabel()->Font()->Style().Contains(fsBold));
}

TEST(AdvCombo, ClosingTheListFiresOnDropUpOnceAndOpeningItDoesNot) {
  TComboForm f;
  ZIviDovevUvi* combo = f.Add(csDropDown, 10, 10, 120, 22);
  for (const char16_t* s : {u"MD", u"VE", u"RS"}) combo->Items()->Add(s);
  f.Done();
  int ups = 0;
  combo->OnDropUp = [&](TObject* Sender) {
    EXPECT_EQ(Sender, combo);
    ++ups;
  };
  SimulateClick(combo, 120 - 6, 11);
  ASSERT_TRUE(combo->DroppedDown());
  EXPECT_EQ(ups, 0);
  SimulateKeyStroke(combo, VK_DOWN);
  SimulateKeyStroke(combo, VK_RETURN);
  ProcessPendingEvents();
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(ups, 1);
}

TEST(AdvCombo, TypingAndPickingInTheSimpleStyleReachItsEvents) {
  TComboForm f;
  ZIviDovevUvi* combo = f.Add(csSimple, 10, 10, 150, 90);
  for (const char16_t* s : {u"MD", u"VE"}) combo->Items()->Add(s);
  f.Done();
  std::vector<String> changes;
  std::vector<Word> keys;
  combo->OnChange = [&](TObject*) { changes.push_back(combo->Text()); };
  combo->OnKeyDown = [&](TObject*, Word& Key, TShiftState) { keys.push_back(Key); };
  SimulateTyping(combo, u"RS");
  EXPECT_EQ(combo->Text(), u"RS");
  EXPECT_EQ(changes, (std::vector<String>{u"R", u"RS"}));
  SimulateKeyStroke(combo, VK_DOWN);
  EXPECT_EQ(combo->Text(), u"MD");
  EXPECT_EQ(combo->ItemIndex(), 0);
  EXPECT_EQ(keys.back(), Word(VK_DOWN));
}

}  // namespace
