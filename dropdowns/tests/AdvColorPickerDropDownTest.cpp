// The colour picker drop-down: colour texts, the value pair (colour, entry), choosing by mouse
// and keys in the four styles, cancelling, the style switch and the swatch in the edit.

#include <gtest/gtest.h>

#include <set>

#include "dropdowns/AdvColorPickerDropDown.h"
#include "dropdowns/demo/DropDownsDemo.h"
#include "dropdowns/tests/AdvDropDownHost.h"
#include "testing/TestSupport.h"

namespace {

struct PickerHost : TDropDownHost<TAdvColorPickerDropDown> {
  int selects = 0;
  PickerHost() {
    dd->OnSelect = [this](TObject*) { ++selects; };
    Show();
    dd->SetFocus();
    ProcessPendingEvents();
  }
  // Keys go where the keyboard is: the open window, else the edit.
  TWinControl* Target() { return dd->DroppedDown() ? static_cast<TWinControl*>(dd->DropDownForm()) : dd; }
  void Key(Word K, TShiftState Shift = {}) {
    TWinControl* t = Target();
    SimulateKeyDown(t, K, Shift);
    SimulateKeyUp(t->Showing() ? t : static_cast<TWinControl*>(dd), K, Shift);
    ProcessPendingEvents();
  }
  // A press that chooses closes the window: the release lands on the form beneath.
  void ClosingClick(TControl* C, int X, int Y) {
    const TPoint screen = C->ClientToScreen(TPoint(X, Y));
    SimulateMouseDown(C, mbLeft, X, Y);
    const TPoint onForm = form.ScreenToClient(screen);
    SimulateMouseUp(&form, mbLeft, onForm.X, onForm.Y);
    ProcessPendingEvents();
  }
  void Open() {
    Key(VK_F4);
    ASSERT_TRUE(dd->DroppedDown());
  }
};

}  // namespace

TEST(ColorPicker, ColourTextsInTheFourNotations) {
  PickerHost h;
  struct Case {
    TColor color;
    TColorValueText kind;
    const char16_t* text;
  } cases[] = {
      {0x0000FF, cvtHex, u"0000FF"},
      {0x0000FF, cvtHTML, u"#FF0000"},
      {0x0000FF, cvtRGB, u"Red:255,Green:0,Blue:0"},
      {0x0000FF, cvtWebName, u"clWebRed"},
      {0x0000FF, cvtNone, u""},
      {0xCC6633, cvtHex, u"CC6633"},
      {0xCC6633, cvtWebName, u"#3366CC"},
      {0xCC6633, cvtHTML, u"#3366CC"},
      {0xCC6633, cvtRGB, u"Red:51,Green:102,Blue:204"},
      {0x00000A, cvtHex, u"00000A"},
      {0xFF00FF, cvtWebName, u"clWebMagenta"},
      {0xFFFF00, cvtWebName, u"clWebCyan"},
      {0x4F4F2F, cvtWebName, u"clWebDarkSlategray"},
      {0x000000, cvtWebName, u"clWebBlack"},
      {clBtnFace, cvtHex, u"FF00000F"},
      {clNone, cvtHex, u"1FFFFFFF"},
      {clNone, cvtWebName, u"#FFFFFF"},
      {clNone, cvtRGB, u"Red:255,Green:255,Blue:255"},
  };
  for (const Case& c : cases) {
    h.dd->SetSelectedColor(c.color);
    h.dd->SetColorValueText(c.kind);
    EXPECT_EQ(h.dd->SelectedColorText(), String(c.text)) << std::hex << c.color << " " << int(c.kind);
  }
  // System colours resolve to their current value for the other notations.
  h.dd->SetSelectedColor(clBtnFace);
  h.dd->SetColorValueText(cvtRGB);
  const int32_t face = ColorToRGB(clBtnFace);
  EXPECT_EQ(h.dd->SelectedColorText(), u"Red:" + IntToStr(GetRValue(face)) + u",Green:" + IntToStr(GetGValue(face)) +
                                           u",Blue:" + IntToStr(GetBValue(face)));
}

TEST(ColorPicker, DefaultColoursAndTheirEntries) {
  PickerHost h;
  EXPECT_EQ(h.dd->Colors()->Count(), 0);
  EXPECT_EQ(h.dd->ItemIndex(), -1);
  EXPECT_EQ(h.dd->SelectedColor(), clNone);
  h.dd->AddDefaultColors();
  ASSERT_EQ(h.dd->Colors()->Count(), 16);
  const char16_t* captions[16] = {u"Black", u"Maroon", u"Green", u"Olive", u"Navy",    u"Purple", u"Teal", u"Gray",
                                  u"Silver", u"Red",   u"Lime",  u"Yellow", u"Blue", u"Fuchsia", u"Aqua", u"White"};
  std::set<String> names;
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(h.dd->Colors()->Items(i)->Caption(), captions[i]);
    names.insert(WebColorName(h.dd->Colors()->Items(i)->Color()));
  }
  EXPECT_EQ(names.size(), 16u);
  EXPECT_EQ(names.count(String()), 0u);

  // An entry gives the colour and shows its caption whatever the notation; OnSelect fires.
  h.dd->SetColorValueText(cvtHex);
  h.dd->SetItemIndex(9);
  EXPECT_EQ(h.dd->SelectedColor(), 0x0000FF);
  EXPECT_EQ(h.dd->SelectedColorText(), u"Red");
  EXPECT_EQ(h.selects, 1);
  // An index past the list is ignored.
  h.dd->SetItemIndex(16);
  EXPECT_EQ(h.dd->ItemIndex(), 9);
  EXPECT_EQ(h.selects, 1);
  // A colour of an entry selects it, once.
  h.dd->SetSelectedColor(0x808000);
  EXPECT_EQ(h.dd->ItemIndex(), 6);
  EXPECT_EQ(h.selects, 2);
  h.dd->SetSelectedColor(0x808000);
  EXPECT_EQ(h.selects, 2);
  // A colour of no entry is shown in its notation, not with the last entry's caption.
  h.dd->SetSelectedColor(0x123456);
  EXPECT_EQ(h.dd->ItemIndex(), -1);
  EXPECT_EQ(h.dd->SelectedColorText(), u"123456");
}

TEST(ColorPicker, SwatchAndTextPaintInTheEdit) {
  PickerHost h;
  h.other->SetFocus();
  ProcessPendingEvents();
  auto bmp = RenderControl(h.dd);
  // No colour: nothing beside the edit's own background.
  EXPECT_EQ(PixelColor(*bmp, 12, 12), PixelColor(*bmp, 40, 12));
  h.dd->SetSelectedColor(0x00A000);
  bmp = RenderControl(h.dd);
  // The swatch: 14 x 14 from (5, 6), black frame.
  EXPECT_EQ(PixelColor(*bmp, 5, 6), 0x000000);
  EXPECT_EQ(PixelColor(*bmp, 11, 12), 0x00A000);
  // Drawn by the handler instead.
  h.dd->OnDrawSelectedColor = [](TObject*, TCanvas* C, TRect R) {
    C->Brush()->SetColor(0xFF0000);
    C->FillRect(R);
  };
  h.dd->Invalidate();
  bmp = RenderControl(h.dd);
  EXPECT_EQ(PixelColor(*bmp, 11, 12), 0xFF0000);
}

TEST(ColorPicker, ListStyleChoosesByClickAndMovesByKeysWithoutClosing) {
  PickerHost h;
  h.dd->AddDefaultColors();
  h.dd->SetItemIndex(2);
  h.selects = 0;
  h.Open();
  TAdvCustomItemSelector* sel = h.dd->ItemSelector();
  ASSERT_NE(sel, nullptr);
  EXPECT_EQ(sel->Items()->Count(), 16);
  EXPECT_EQ(sel->ItemIndex(), 2);
  // 16 entries are taller than the window: it is wider by the scroll bar, so nothing scrolls across.
  ProcessPendingEvents();
  EXPECT_EQ(h.dd->DropDownForm()->Width(), sel->ItemSelectorPanel()->Width() + GetSystemMetrics(SM_CXVSCROLL) + 2);
  EXPECT_TRUE(sel->VertScrollBar()->IsScrollBarVisible());
  EXPECT_FALSE(sel->HorzScrollBar()->IsScrollBarVisible());
  // The arrows move and choose; the window stays open; Escape goes back.
  h.Key(VK_DOWN);
  h.Key(VK_DOWN);
  EXPECT_TRUE(h.dd->DroppedDown());
  EXPECT_EQ(h.dd->ItemIndex(), 4);
  EXPECT_EQ(h.selects, 2);
  h.Key(VK_ESCAPE);
  EXPECT_FALSE(h.dd->DroppedDown());
  EXPECT_EQ(h.dd->ItemIndex(), 2);
  // A colour of no entry comes back on Escape as well.
  h.dd->SetSelectedColor(0x123456);
  h.Open();
  h.Key(VK_DOWN);
  EXPECT_EQ(h.dd->SelectedColor(), 0x000000);
  h.Key(VK_ESCAPE);
  EXPECT_EQ(h.dd->ItemIndex(), -1);
  EXPECT_EQ(h.dd->SelectedColor(), 0x123456);
  // A click on an item chooses it and closes.
  h.Open();
  TCustomItemSelector* panel = h.dd->ItemSelector()->ItemSelectorPanel();
  const TRect r = panel->GetItemRect(11);
  h.dd->ItemSelector()->ScrollItemInView(11);
  ProcessPendingEvents();
  h.ClosingClick(panel, r.Left + 5, r.Top + r.Height() / 2);
  EXPECT_FALSE(h.dd->DroppedDown());
  EXPECT_EQ(h.dd->ItemIndex(), 11);
  EXPECT_EQ(h.dd->SelectedColor(), 0x00FFFF);
  // Closed: Down steps the entry, Left and Right do nothing, Home and End jump.
  h.Key(VK_DOWN);
  EXPECT_EQ(h.dd->ItemIndex(), 12);
  h.Key(VK_LEFT);
  h.Key(VK_RIGHT);
  EXPECT_EQ(h.dd->ItemIndex(), 12);
  h.Key(VK_END);
  EXPECT_EQ(h.dd->ItemIndex(), 15);
  h.Key(VK_HOME);
  EXPECT_EQ(h.dd->ItemIndex(), 0);
}

TEST(ColorPicker, ClosedListStartsAtTheFirstEntryAndTypeAheadFindsCaptions) {
  PickerHost h;
  h.dd->AddDefaultColors();
  h.Key(VK_DOWN);
  EXPECT_EQ(h.dd->ItemIndex(), 0);
  // R then E within the key timer's time: "Red", not "Purple" or the first R-less entry. A
  // Shift pressed first types nothing, so it does not spoil the search.
  h.Key(VK_SHIFT);
  h.Key('R');
  h.Key('E');
  EXPECT_EQ(h.dd->ItemIndex(), 9);
  // Keys that type nothing do not join the search; the search ends with the timer.
  h.Key(VK_SHIFT);
  h.Key(VK_F2);
  EXPECT_EQ(h.dd->ItemIndex(), 9);
}

TEST(ColorPicker, CubeClickChoosesTheCellAndClosesEvenForAListColour) {
  PickerHost h;
  h.dd->AddDefaultColors();
  h.dd->SetItemIndex(0);
  h.dd->SetColorSelectionStyle(csColorCube);
  h.Open();
  TAdvColorCubePanel* cube = h.dd->ColorCubePanel();
  ASSERT_NE(cube, nullptr);
  EXPECT_TRUE(cube->Visible());
  EXPECT_FALSE(h.dd->ItemSelector()->Visible());
  // Exactly the panel plus the window border, no size grip.
  EXPECT_EQ(h.dd->DropDownForm()->Width(), 184);
  EXPECT_EQ(h.dd->DropDownForm()->Height(), 162);
  EXPECT_FALSE(h.dd->DropDownForm()->Sizeable());
  h.ClosingClick(cube, 91, 80);
  EXPECT_FALSE(h.dd->DroppedDown());
  EXPECT_EQ(h.dd->SelectedColor(), 0xFFFFFF);
  EXPECT_EQ(h.dd->ItemIndex(), -1);
  h.dd->SetColorValueText(cvtWebName);
  EXPECT_EQ(h.dd->SelectedColorText(), u"clWebWhite");
}

TEST(ColorPicker, PaletteKeysChooseWithoutClosingAndEscapeRestores) {
  PickerHost h;
  h.dd->SetColorSelectionStyle(csDiscrete);
  h.dd->SetSelectedColor(0x7F7F7F);
  h.Open();
  TCustomColorSelector* pal = h.dd->ColorSelector();
  ASSERT_NE(pal, nullptr);
  EXPECT_EQ(pal->ItemIndex(), 11);
  EXPECT_EQ(h.dd->DropDownForm()->Width(), 167);
  EXPECT_EQ(h.dd->DropDownForm()->Height(), 86);
  h.Key(VK_DOWN);
  EXPECT_TRUE(h.dd->DroppedDown());
  EXPECT_EQ(pal->ItemIndex(), 21);
  EXPECT_EQ(h.dd->SelectedColor(), 0x595959);
  h.Key(VK_ESCAPE);
  EXPECT_FALSE(h.dd->DroppedDown());
  EXPECT_EQ(h.dd->SelectedColor(), 0x7F7F7F);
  // A colour not in the palette comes back on Escape as well.
  h.dd->SetSelectedColor(0x123456);
  h.Open();
  h.Key(VK_DOWN);
  EXPECT_EQ(h.dd->SelectedColor(), 0xFFFFFF);
  h.Key(VK_ESCAPE);
  EXPECT_EQ(h.dd->SelectedColor(), 0x123456);
  // The wheel marks a box hot; Enter then chooses it and closes.
  h.Open();
  SimulateMouseWheel(pal, -120, 20, 20);
  SimulateMouseWheel(pal, -120, 20, 20);
  ProcessPendingEvents();
  EXPECT_EQ(pal->ItemHot(), 1);
  h.Key(VK_RETURN);
  EXPECT_FALSE(h.dd->DroppedDown());
  EXPECT_EQ(h.dd->SelectedColor(), 0x000000);
  // A click on a box chooses it and closes.
  h.Open();
  const TRect r = pal->GetItemRect(9);
  h.ClosingClick(pal, r.Left + 4, r.Top + 4);
  EXPECT_FALSE(h.dd->DroppedDown());
  EXPECT_EQ(h.dd->SelectedColor(), 0x4696F7);
  EXPECT_EQ(h.dd->ItemIndex(), -1);
}

TEST(ColorPicker, SpectrumPressChoosesThePixelAndCloses) {
  PickerHost h;
  h.dd->SetColorSelectionStyle(csSpectrum);
  h.Open();
  TAdvColorSpectrumPanel* sp = h.dd->SpectrumPanel();
  ASSERT_NE(sp, nullptr);
  EXPECT_EQ(h.dd->DropDownForm()->Width(), 152);
  EXPECT_EQ(h.dd->DropDownForm()->Height(), 176);
  SimulateMouseMove(sp->SpectrumImage(), 0, 64);
  h.ClosingClick(sp->SpectrumImage(), 0, 64);
  EXPECT_FALSE(h.dd->DroppedDown());
  EXPECT_EQ(h.dd->SelectedColor(), 0x0000FF);
}

TEST(ColorPicker, StyleSwitchResizesAtOnceAndKeepsTheSelectors) {
  PickerHost h;
  h.dd->AddDefaultColors();
  TAdvCustomItemSelector* list = h.dd->ItemSelector();
  EXPECT_EQ(h.dd->ColorSelector(), nullptr);
  EXPECT_EQ(h.dd->ColorCubePanel(), nullptr);
  EXPECT_EQ(h.dd->SpectrumPanel(), nullptr);
  struct Step {
    TColorSelectionStyle style;
    int w, h;
  } steps[] = {{csDiscrete, 167, 86}, {csColorCube, 184, 162}, {csSpectrum, 152, 176}, {csDiscrete, 167, 86}};
  for (const Step& s : steps) {
    h.dd->SetColorSelectionStyle(s.style);
    EXPECT_EQ(h.dd->DropDownForm()->Width(), s.w) << int(s.style);
    EXPECT_EQ(h.dd->DropDownForm()->Height(), s.h) << int(s.style);
  }
  TCustomColorSelector* pal = h.dd->ColorSelector();
  TAdvColorCubePanel* cube = h.dd->ColorCubePanel();
  h.dd->SetColorSelectionStyle(csColorCube);
  h.dd->SetColorSelectionStyle(csList);
  EXPECT_EQ(h.dd->ItemSelector(), list);
  EXPECT_EQ(h.dd->ColorSelector(), pal);
  EXPECT_EQ(h.dd->ColorCubePanel(), cube);
  EXPECT_TRUE(list->Visible());
  EXPECT_FALSE(cube->Visible());
  // Switching while open shows the new selector in a window of its size.
  h.Open();
  h.dd->SetColorSelectionStyle(csColorCube);
  ProcessPendingEvents();
  EXPECT_TRUE(h.dd->DroppedDown());
  EXPECT_EQ(h.dd->DropDownForm()->Width(), 184);
  EXPECT_TRUE(cube->Visible());
  EXPECT_EQ(cube->Width(), 182);
  h.Key(VK_ESCAPE);
  h.Open();
  EXPECT_EQ(h.dd->DropDownForm()->Width(), 184);
  EXPECT_EQ(h.dd->DropDownForm()->Height(), 162);
}

TEST(ColorPicker, DemoShowsThePickerInItsFourStyles) {
  TDropDownsDemoForm form(nullptr);
  form.Show();
  ProcessPendingEvents();
  const TColorSelectionStyle styles[] = {csList, csDiscrete, csColorCube, csSpectrum};
  for (TColorSelectionStyle s : styles) {
    TAdvColorPickerDropDown* p = form.ColorPicker(s);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->ColorSelectionStyle(), s);
    EXPECT_EQ(p->SelectedColor(), 0x0000FF);
    auto bmp = RenderControl(p);
    EXPECT_EQ(PixelColor(*bmp, 11, 12), 0x0000FF);  // the swatch
  }
  EXPECT_EQ(form.ColorPicker(csList)->SelectedColorText(), u"Red");
  EXPECT_EQ(form.ColorPicker(csColorCube)->SelectedColorText(), u"clWebRed");
  // The cube's picker opens by key and takes a cell by the mouse; the status line names it.
  TAdvColorPickerDropDown* cube = form.ColorPicker(csColorCube);
  cube->SetFocus();
  ProcessPendingEvents();
  SimulateKeyStroke(cube, VK_F4);
  ProcessPendingEvents();
  ASSERT_TRUE(cube->DroppedDown());
  const TPoint screen = cube->ColorCubePanel()->ClientToScreen(TPoint(55, 20));
  SimulateMouseDown(cube->ColorCubePanel(), mbLeft, 55, 20);
  const TPoint onForm = form.ScreenToClient(screen);
  SimulateMouseUp(&form, mbLeft, onForm.X, onForm.Y);
  ProcessPendingEvents();
  EXPECT_FALSE(cube->DroppedDown());
  EXPECT_EQ(cube->SelectedColor(), 0x663300);
  EXPECT_EQ(form.Status()->Caption(), u"Colour: #003366");
}
