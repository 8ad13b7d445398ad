// The grid's in-place combo box: defaults, refused values, colours kept through disabling and
// focus, its own painting rules, and the input a cell editor sees (real keys and mouse).
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "grid/AsgCombo.h"

#include "controls/AdvXPVS.h"
#include "platform/ui/Forms.h"
#include "platform/win/Gdi.h"
#include "platform/win/WinUser.h"
#include "grid/tests/CellEditorTestSupport.h"
#include "testing/TestSupport.h"

namespace {

// A shown form with an edit that has the focus first and the combo boxes added to it.
struct TComboForm {
  std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
  TEdit* edit = nullptr;
  TComboForm() {
    form->SetBounds(0, 0, 400, 300);
    edit = new TEdit(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(300, 250, 80, 21);
  }
  template <typename T = DOruDozezOde>
  T* Add(TComboBoxStyle Style, int Left, int Top, int Width, int Height) {
    auto* c = new T(form.get());
    c->SetParent(form.get());
    c->SetStyle(Style);
    c->SetBounds(Left, Top, Width, Height);
    for (const char16_t* s : {u"MD", u"VE", u"RS"}) c->Items()->Add(s);
    return c;
  }
  void Show() {
    form->Show();
    ProcessPendingEvents();
  }
};

TEST(AsgCombo, StartsWithItsDefaultsAndRefusesOutOfRangeButtonWidths) {
  DOruDozezOde combo(nullptr);
  EXPECT_EQ(combo.ButtonWidth(), GetSystemMetrics(SM_CXVSCROLL) + 2);
  EXPECT_FALSE(combo.AutoFocus());
  EXPECT_FALSE(combo.Flat());
  EXPECT_FALSE(combo.Etched());
  EXPECT_EQ(combo.DropWidth(), 0);
  EXPECT_FALSE(combo.IsWinXP());
  EXPECT_FALSE(combo.IsVista());
  EXPECT_EQ(combo.LabelMargin(), 4);
  EXPECT_EQ(combo.LabelPosition(), DOruDozezOde::lpLeftTop);
  EXPECT_EQ(combo.FlatLineColor(), clNone);
  EXPECT_TRUE(combo.FlatParentColor());
  EXPECT_TRUE(combo.DisabledBorder());
  EXPECT_TRUE(combo.AutoComplete());
  EXPECT_EQ(combo.DropDownCount(), 8);
  for (TColor c : {combo.FocusColor(), combo.FocusBorderColor(), combo.BorderColor(), combo.ButtonColor(),
                   combo.ButtonColorHot(), combo.ButtonColorDown(), combo.ButtonTextColor(),
                   combo.ButtonTextColorHot(), combo.ButtonTextColorDown(), combo.ButtonBorderColor()})
    EXPECT_EQ(c, clNone);
  EXPECT_EQ(combo.ComboLabel(), nullptr);
  EXPECT_EQ(combo.LabelCaption(), u"");

  const int initial = combo.ButtonWidth();
  for (int refused : {13, 33, 0, -1}) {
    combo.SetButtonWidth(refused);
    EXPECT_EQ(combo.ButtonWidth(), initial) << refused;
  }
  for (int taken : {14, 32}) {
    combo.SetButtonWidth(taken);
    EXPECT_EQ(combo.ButtonWidth(), taken);
  }

  for (const char16_t* s : {u"MD", u"VE"}) combo.Items()->Add(s);
  combo.SelectItem(u"VE");
  EXPECT_EQ(combo.ItemIndex(), 1);
  combo.SelectItem(u"absent");
  EXPECT_EQ(combo.ItemIndex(), 1);
}

TEST(AsgCombo, DisablingAFlatComboAndEnablingItAgainRestoresItsColour) {
  struct Case {
    bool ParentColor;
    TColor Color;
  } cases[] = {{false, clYellow}, {true, clBtnFace}};
  for (const Case& c : cases) {
    TComboForm f;
    f.form->SetColor(clBtnFace);
    DOruDozezOde* combo = f.Add(csDropDown, 10, 10, 120, 21);
    f.Show();
    combo->SetFlatParentColor(false);
    combo->SetFlat(true);
    if (c.ParentColor) combo->SetParentColor(true);
    else combo->SetColor(c.Color);
    combo->SetEnabled(false);
    EXPECT_TRUE(combo->ParentColor());
    EXPECT_EQ(combo->Color(), clBtnFace);
    combo->SetEnabled(true);
    EXPECT_EQ(combo->ParentColor(), c.ParentColor);
    EXPECT_EQ(combo->Color(), c.Color);
  }
}

TEST(AsgCombo, FocusColourShowsWhileFocusedAndTheInitColourComesBack) {
  TComboForm f;
  DOruDozezOde* combo = f.Add(csDropDown, 10, 10, 120, 21);
  combo->SetColor(clAqua);
  combo->Init();
  combo->SetFocusColor(clYellow);
  f.Show();
  ASSERT_TRUE(f.edit->Focused());

  SimulateClick(combo, 20, 10);
  ProcessPendingEvents();
  ASSERT_TRUE(combo->Focused());
  EXPECT_EQ(combo->Color(), clYellow);
  SimulateClick(f.edit, 10, 10);
  ProcessPendingEvents();
  ASSERT_TRUE(f.edit->Focused());
  EXPECT_EQ(combo->Color(), clAqua);
}

TEST(AsgCombo, PaintsItsLookOnlyWhenAskedAndLeavesItToTheBoxUnderIsVista) {
  TComboForm f;
  DOruDozezOde* combo = f.Add(csDropDown, 10, 10, 120, 22);
  auto* plain = f.Add<TComboBox>(csDropDown, 10, 50, 120, 22);
  f.Show();
  const int W = 120, H = 22, BW = combo->ButtonWidth();
  const TRect whole(0, 0, W, H);

  // No look set: the class library's combo box.
  EXPECT_EQ(Differing(*RenderControl(combo), *RenderControl(plain), whole), 0);

  // Flat without a line colour draws no underline; with one it does, but not under IsVista.
  combo->SetFlat(true);
  const int lineEnd = W - 2 - BW - 1;
  EXPECT_EQ(CountColor(*RenderControl(combo), TRect(0, H - 1, lineEnd, H), clRed), 0);
  combo->SetFlatLineColor(clRed);
  EXPECT_EQ(CountColor(*RenderControl(combo), TRect(0, H - 1, lineEnd, H), clRed), lineEnd);
  combo->SetIsVista(true);
  EXPECT_EQ(CountColor(*RenderControl(combo), TRect(0, H - 1, lineEnd, H), clRed), 0);

  // Under IsVista a border colour still frames the box, and a button colour paints the button.
  combo->SetBorderColor(clFuchsia);
  auto framed = RenderControl(combo);
  EXPECT_EQ(CountColor(*framed, TRect(0, 0, W, 1), clFuchsia), W);
  EXPECT_EQ(CountColor(*framed, TRect(0, 0, 1, H), clFuchsia), H);
  combo->SetButtonColor(clLime);
  combo->SetButtonBorderColor(clBlue);
  combo->SetButtonTextColor(clRed);
  // With the mouse over the box its button area keeps the custom button whole.
  SimulateMouseMove(combo, 30, H / 2);
  auto button = RenderControl(combo);
  const int left = W - BW + 2;  // the button's fill: one pixel left of its inset rectangle
  EXPECT_GT(CountColor(*button, TRect(left + 1, 3, W - 3, H - 3), clLime), (BW - 8) * (H - 8) / 2);
  EXPECT_GE(CountColor(*button, TRect(left, 3, left + 1, H - 3), clBlue), H - 7);
  EXPECT_GE(CountColor(*button, TRect(left + 4, 9, left + 11, 12), clRed), 6);
}

TEST(AsgCombo, TheButtonAreaTakesAFlatFaceUntilTheMouseIsOver) {
  TComboForm f;
  DOruDozezOde* combo = f.Add(csDropDown, 10, 10, 120, 22);
  f.Show();
  combo->SetBorderColor(clBlack);
  const int W = 120, H = 22, BW = combo->ButtonWidth();
  // The rim between the edit part and the native arrow: x from W - BW to W - BW + 3.
  const TRect rim(W - BW, 4, W - BW + 4, H - 4);
  auto cold = RenderControl(combo);
  EXPECT_EQ(CountColor(*cold, rim, clBtnFace), rim.Width() * rim.Height());
  // Etched is kept and changes nothing of the look.
  combo->SetEtched(true);
  EXPECT_TRUE(combo->Etched());
  EXPECT_EQ(Differing(*cold, *RenderControl(combo), TRect(0, 0, W, H)), 0);

  SimulateMouseMove(combo, 30, H / 2);
  EXPECT_LT(CountColor(*RenderControl(combo), rim, clBtnFace), rim.Width() * rim.Height());
  SimulateMouseMove(f.form.get(), 300, 200);

  // Themed: the "combobox" button part; with IsWinXP the button area is then left as drawn.
  ComboThemeBinding.Load();
  ASSERT_TRUE(ComboThemeBinding.Loaded());
  auto themed = RenderControl(combo);
  EXPECT_EQ(CountColor(*themed, rim, clBtnFace), rim.Width() * rim.Height());
  combo->SetIsWinXP(true);
  auto xp = RenderControl(combo);
  EXPECT_LT(CountColor(*xp, rim, clBtnFace), rim.Width() * rim.Height());
  combo->SetEnabled(false);
  EXPECT_GT(Differing(*xp, *RenderControl(combo), TRect(W - BW + 3, 2, W - 2, H - 2)), 0);
  ComboThemeBinding.Free();
}

// What a cell editor gets from the combo box, in order.
struct TEventLog {
  std::vector<String> Entries;
  void Watch(DOruDozezOde* c) {
    c->OnChange = [this, c](TObject*) { Entries.push_back(u"change " + c->Text()); };
    c->OnSelect = [this, c](TObject*) { Entries.push_back(u"select " + c->Text()); };
    c->OnDropDown = [this](TObject*) { Entries.push_back(u"dropdown"); };
    c->OnDropUp = [this](TObject*) { Entries.push_back(u"dropup"); };
    c->OnKeyDown = [this](TObject*, Word& Key, TShiftState) { Entries.push_back(u"key " + IntToStr(int(Key))); };
  }
  std::vector<String> Take() { return std::exchange(Entries, {}); }
};

TEST(AsgCombo, TypingPickingAndLeavingKeysReachTheEditorInOrder) {
  TComboForm f;
  DOruDozezOde* combo = f.Add(csDropDown, 10, 10, 120, 22);
  f.Show();
  TEventLog log;
  log.Watch(combo);

  SimulateClick(combo, 20, 11);
  ProcessPendingEvents();
  ASSERT_TRUE(combo->Focused());
  SimulateTyping(combo, u"Z");
  EXPECT_EQ(combo->Text(), u"Z");
  EXPECT_EQ(log.Take(), (std::vector<String>{u"key 90", u"change Z"}));

  // F4 opens the list; Down and Enter pick the item after the selected one and close it.
  combo->SelectItem(u"MD");
  SimulateKeyStroke(combo, VK_F4);
  ASSERT_TRUE(combo->DroppedDown());
  SimulateKeyStroke(combo, VK_DOWN);
  SimulateKeyStroke(combo, VK_RETURN);
  ProcessPendingEvents();
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(combo->Text(), u"VE");
  const std::vector<String> picked = log.Take();
  ASSERT_FALSE(picked.empty());
  EXPECT_EQ(picked.front(), u"key 115");
  EXPECT_EQ(std::count(picked.begin(), picked.end(), u"select VE"), 1);
  EXPECT_EQ(std::count(picked.begin(), picked.end(), u"dropup"), 1);

  // Enter and Escape with the list closed reach the editor's owner as keys.
  SimulateKeyStroke(combo, VK_RETURN);
  SimulateKeyStroke(combo, VK_ESCAPE);
  EXPECT_EQ(log.Take(), (std::vector<String>{u"key 13", u"key 27"}));
  // Tab leaves the box with its text.
  SimulateKeyStroke(combo, VK_TAB);
  ProcessPendingEvents();
  EXPECT_FALSE(combo->Focused());
  EXPECT_EQ(combo->Text(), u"VE");
}

TEST(AsgCombo, ADroppedWidthAndDropDownCountShapeTheOpenList) {
  TComboForm f;
  DOruDozezOde* combo = f.Add(csDropDownList, 10, 10, 80, 22);
  for (int i = 0; i < 10; ++i) combo->Items()->Add(u"item " + IntToStr(i));
  combo->SetDropWidth(200);
  combo->SetDropDownCount(4);
  combo->SetItemHeight(20);
  f.Show();
  EXPECT_EQ(combo->Perform(CB_GETDROPPEDWIDTH), 200);
  TEventLog log;
  log.Watch(combo);

  SimulateClick(combo, 80 - 6, 11);
  ASSERT_TRUE(combo->DroppedDown());

  // A pick with the mouse on the third row (rows of 20 pixels below the box): the list closes
  // once and the item is the box's text.
  const TPoint at = combo->ClientToScreen(TPoint(30, combo->Height() + 2 * 20 + 10));
  SimulateScreenClick(at.X, at.Y);
  ProcessPendingEvents();
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(combo->Text(), u"RS");
  EXPECT_EQ(combo->ItemIndex(), 2);
  const std::vector<String> events = log.Take();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.front(), u"dropdown");
  EXPECT_EQ(std::count(events.begin(), events.end(), u"select RS"), 1);
  EXPECT_EQ(std::count(events.begin(), events.end(), u"dropup"), 1);
}

TEST(AsgCombo, TheLabelFollowsTheBoxAndItsEnabledState) {
  TComboForm f;
  DOruDozezOde* combo = f.Add(csDropDown, 150, 100, 120, 30);
  f.Show();
  combo->SetLabelMargin(0);
  combo->SetLabelPosition(DOruDozezOde::lpLeftCenter);
  combo->SetLabelCaption(u"Unit");
  TLabel* label = combo->ComboLabel();
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(combo->LabelCaption(), u"Unit");
  EXPECT_EQ(label->Left() + label->Width(), 150);
  EXPECT_EQ(label->Top(), 100 + (30 - label->Height()) / 2);
  combo->SetBounds(200, 100, 120, 30);
  EXPECT_EQ(label->Left() + label->Width(), 200);

  combo->SetLabelAlwaysEnabled(true);
  combo->SetEnabled(false);
  EXPECT_TRUE(label->Enabled());
  combo->SetLabelAlwaysEnabled(false);
  combo->SetEnabled(true);
  combo->SetEnabled(false);
  EXPECT_FALSE(label->Enabled());
  combo->SetVisible(false);
  EXPECT_FALSE(label->Visible());
}

}  // namespace
