// The calculator's button panel on its own: the 28 keys and their arrangement, clicks through
// the real mouse, and the painted faces with the hovered key's glow.

#include <gtest/gtest.h>

#include "dropdowns/AdvCalculatorDropdown.h"
#include "platform/ui/Forms.h"
#include "testing/TestSupport.h"

namespace {

struct PanelFixture {
  TForm form{nullptr};
  TCustomButtonPanel* panel;
  std::vector<int> clicks;
  explicit PanelFixture(int Width = 214, int Height = 150) {
    form.SetBorderStyle(bsNone);
    form.SetBounds(100, 100, 300, 220);
    form.SetColor(clWhite);
    panel = new TCustomButtonPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(10, 10, Width, Height);
    panel->SetColor(clWhite);
    panel->CreateButtons();
    panel->OnButtonClick = [this](TObject* Sender, int Index) {
      EXPECT_EQ(Sender, panel);
      clicks.push_back(Index);
    };
    form.Show();
    ProcessPendingEvents();
  }
  TPoint Centre(int Index) const {
    const TRect r = panel->ButtonRect(Index);
    return TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  TColor Pixel(int X, int Y) {
    auto bmp = RenderControl(panel);
    return PixelColor(*bmp, X, Y);
  }
};

TEST(AdvCalculatorPanel, BuildsTheTwentyEightKeysInOrder) {
  PanelFixture f;
  struct Key {
    const char16_t *caption, *name;
    int tag;
    bool special;
  };
  const Key keys[] = {
      {u"", u"BTN_ON", 30, false},     {u"Back", u"BTN_BACK", 31, true}, {u"CE", u"BTN_CE", 32, true},
      {u"C", u"BTN_C", 16, true},      {u"MC", u"BTN_MC", 33, true},     {u"MR", u"BTN_MR", 34, true},
      {u"MS", u"BTN_MS", 35, true},    {u"M+", u"BTN_M+", 36, true},     {u"0", u"BTN_0", 0, false},
      {u"1", u"BTN_1", 1, false},      {u"4", u"BTN_4", 4, false},       {u"7", u"BTN_7", 7, false},
      {u"8", u"BTN_8", 8, false},      {u"5", u"BTN_5", 5, false},       {u"2", u"BTN_2", 2, false},
      {u"+/-", u"BTN_+/-", 14, false}, {u".", u"BTN_.", 15, false},      {u"3", u"BTN_3", 3, false},
      {u"6", u"BTN_6", 6, false},      {u"9", u"BTN_9", 9, false},       {u"/", u"BTN_/", 13, true},
      {u"*", u"BTN_*", 12, true},      {u"-", u"BTN_-", 11, true},       {u"+", u"BTN_+", 10, true},
      {u"=", u"BTN_=", 17, true},      {u"1/x", u"BTN_1/x", 38, false},  {u"%", u"BTN_%", 18, false},
      {u"sqrt", u"BTN_sqrt", 37, true},
  };
  ASSERT_EQ(f.panel->Buttons()->Count(), 28);
  for (int i = 0; i < 28; ++i) {
    TButtonItem* b = f.panel->Buttons()->Items(i);
    EXPECT_EQ(b->Caption(), keys[i].caption) << i;
    EXPECT_EQ(b->Name(), keys[i].name) << i;
    EXPECT_EQ(b->Tag(), keys[i].tag) << i;
    EXPECT_EQ(b->Special(), keys[i].special) << i;
    EXPECT_EQ(b->CaptionColor(), keys[i].special ? 128 : 0xFFFFFF) << i;
  }
  // A second build adds nothing; a custom panel builds nothing.
  f.panel->CreateButtons();
  EXPECT_EQ(f.panel->Buttons()->Count(), 28);
  TCustomButtonPanel custom(nullptr);
  custom.SetButtonPanelType(plCustom);
  custom.CreateButtons();
  EXPECT_EQ(custom.Buttons()->Count(), 0);
}

TEST(AdvCalculatorPanel, ArrangesTheKeypadInGroupsWithSharedBorderLines) {
  // 214 x 150: buttons rectangle (8, 8, 206, 142), w = 31, h = 26.
  PanelFixture f;
  EXPECT_EQ(f.panel->GetButtonsRect(), TRect(8, 8, 206, 142));
  auto r = [&](int i) { return f.panel->ButtonRect(i); };
  EXPECT_EQ(r(0), TRect(8, 8, 39, 34));  // ON
  // Memory column: rows 38, 63, 88, 113 (h - 1 apart).
  EXPECT_EQ(r(4), TRect(8, 38, 39, 64));
  EXPECT_EQ(r(7), TRect(8, 113, 39, 139));
  // Digits from x1 = 43, columns 30 apart: 7 8 9 / 4 5 6 / 1 2 3 / 0 +/- .
  EXPECT_EQ(r(11), TRect(43, 38, 74, 64));
  EXPECT_EQ(r(12), TRect(73, 38, 104, 64));
  EXPECT_EQ(r(19), TRect(103, 38, 134, 64));
  EXPECT_EQ(r(8), TRect(43, 113, 74, 139));
  EXPECT_EQ(r(15), TRect(73, 113, 104, 139));
  EXPECT_EQ(r(16), TRect(103, 113, 134, 139));
  // Operators from x2 = 138: / sqrt, * %, - 1/x, + =; the pair ends at right = 199.
  EXPECT_EQ(r(20), TRect(138, 38, 169, 64));
  EXPECT_EQ(r(27), TRect(168, 38, 199, 64));
  EXPECT_EQ(r(24), TRect(168, 113, 199, 139));
  // Top row: w2 = (199 - 43 - 8) / 3 = 49; C reaches to the right edge.
  EXPECT_EQ(r(1), TRect(43, 8, 92, 34));
  EXPECT_EQ(r(2), TRect(96, 8, 145, 34));
  EXPECT_EQ(r(3), TRect(149, 8, 199, 34));
  EXPECT_EQ(r(-1), TRect(-1, -1, -1, -1));
  EXPECT_EQ(r(28), TRect(-1, -1, -1, -1));
  // A resize arranges again.
  f.panel->SetBounds(10, 10, 250, 180);
  ProcessPendingEvents();
  EXPECT_EQ(r(0), TRect(8, 8, 8 + (250 - 16 - 8) / 6, 8 + (180 - 16 - 4) / 5));
}

TEST(AdvCalculatorPanel, ClicksOnlyWhenReleasedOverThePressedKey) {
  PanelFixture f;
  const TPoint seven = f.Centre(11), eight = f.Centre(12);
  SimulateMouseDown(f.panel, mbLeft, seven.X, seven.Y);
  EXPECT_EQ(f.panel->ButtonDown(), 11);
  SimulateMouseMove(f.panel, eight.X, eight.Y, {ssLeft});
  SimulateMouseUp(f.panel, mbLeft, eight.X, eight.Y);
  ProcessPendingEvents();
  EXPECT_TRUE(f.clicks.empty());
  EXPECT_EQ(f.panel->ButtonDown(), -1);
  SimulateClick(f.panel, eight.X, eight.Y);
  ProcessPendingEvents();
  ASSERT_EQ(f.clicks, std::vector<int>{12});
  EXPECT_EQ(f.panel->Buttons()->Items(12)->Tag(), 8);
  // Any mouse button presses a key; a release off every key clicks nothing.
  SimulateClick(f.panel, seven.X, seven.Y, mbRight);
  SimulateClick(f.panel, 2, 2);
  ProcessPendingEvents();
  EXPECT_EQ(f.clicks, (std::vector<int>{12, 11}));
}

// Faces in plain colours so that pixels can be told apart: blue normal, green hot, red pressed,
// and a red glow.
void PlainColours(TButtonAppearance* a) {
  a->SetColor(0xFF0000);
  a->SetColorTo(0xFF0000);
  a->SetColorHot(0x00FF00);
  a->SetColorHotTo(0x00FF00);
  a->SetColorDown(0x0000FF);
  a->SetColorDownTo(0x0000FF);
  a->SetGlowColorHot(0x0000FF);
  a->SetGlowColorDown(0x0000FF);
}

bool Reddish(TColor c) { return GetRValue(c) > GetGValue(c) + 40 && GetRValue(c) > GetBValue(c) + 40; }

TEST(AdvCalculatorPanel, PaintsFacesByStateAndTheHoveredKeysGlowWithinItsMargin) {
  PanelFixture f;
  PlainColours(f.panel->ButtonAppearance());
  ProcessPendingEvents();
  // Key 0 (no caption) at (8, 8, 39, 34): its lower half at row 30 has the gradient's colour,
  // 3 pixels left of it lies the panel's margin.
  const TPoint face(23, 30), left(5, 21), above(23, 5), corner(4, 4);
  EXPECT_EQ(f.Pixel(face.X, face.Y), TColor(0xFF0000));
  EXPECT_EQ(f.Pixel(left.X, left.Y), clWhite);
  EXPECT_EQ(f.Pixel(0, 0), clBlack);  // the stand-alone panel's frame
  // Hovered: green, drawn at once, with the glow outside on every side.
  const TPoint on = f.Centre(0);
  SimulateMouseMove(f.panel, on.X, on.Y);
  EXPECT_EQ(f.panel->ButtonHot(), 0);
  EXPECT_EQ(f.Pixel(face.X, face.Y), TColor(0x00FF00));
  for (TPoint p : {left, above, corner}) EXPECT_TRUE(Reddish(f.Pixel(p.X, p.Y))) << p.X << "," << p.Y;
  // Pressed wins over hovered.
  SimulateMouseDown(f.panel, mbLeft, on.X, on.Y);
  EXPECT_EQ(f.Pixel(face.X, face.Y), TColor(0x0000FF));
  SimulateMouseUp(f.panel, mbLeft, on.X, on.Y);
  EXPECT_EQ(f.Pixel(face.X, face.Y), TColor(0x00FF00));
  // Leaving the panel repaints the key and its whole margin without glow.
  SimulateMouseLeave();
  ProcessPendingEvents();
  EXPECT_EQ(f.panel->ButtonHot(), -1);
  EXPECT_EQ(f.Pixel(face.X, face.Y), TColor(0xFF0000));
  for (TPoint p : {left, above, corner}) EXPECT_EQ(f.Pixel(p.X, p.Y), clWhite) << p.X << "," << p.Y;
}

TEST(AdvCalculatorPanel, AGlowOverANeighbourGoesWhenTheHoverMovesOn) {
  PanelFixture f;
  PlainColours(f.panel->ButtonAppearance());
  ProcessPendingEvents();
  // Inside "4" (key 10), 4 pixels left of "5" (key 13): the glow of "5" lies over it.
  const TRect five = f.panel->ButtonRect(13);
  const TPoint p(five.Left - 4, five.Bottom - 5);
  const TColor before = f.Pixel(p.X, p.Y);
  EXPECT_EQ(before, TColor(0xFF0000));
  const TPoint c5 = f.Centre(13), c3 = f.Centre(17);
  SimulateMouseMove(f.panel, c5.X, c5.Y);
  const TColor glowing = f.Pixel(p.X, p.Y);
  EXPECT_NE(glowing, before);
  EXPECT_GT(GetRValue(glowing), GetRValue(before));
  // On to "3" (two columns right, one row down): "5" is painted plain again, glow and all.
  SimulateMouseMove(f.panel, c3.X, c3.Y);
  ProcessPendingEvents();
  EXPECT_EQ(f.panel->ButtonHot(), 17);
  EXPECT_EQ(f.Pixel(p.X, p.Y), before);
}

TEST(AdvCalculatorPanel, ACustomPanelWithoutButtonsPaintsOnlyItsFrame) {
  TForm form{nullptr};
  form.SetBorderStyle(bsNone);
  form.SetBounds(100, 100, 200, 200);
  auto* panel = new TCustomButtonPanel(&form);
  panel->SetButtonPanelType(plCustom);
  panel->SetParent(&form);
  panel->SetColor(clWhite);
  panel->SetBounds(0, 0, 100, 80);
  form.Show();
  ProcessPendingEvents();
  panel->ArrangeButtons();
  auto bmp = RenderControl(panel);
  EXPECT_EQ(PixelColor(*bmp, 0, 0), clBlack);
  EXPECT_EQ(PixelColor(*bmp, 99, 79), clBlack);
  EXPECT_EQ(PixelColor(*bmp, 50, 40), clWhite);
  // Its own buttons keep the rectangles the owner gives them: none here.
  panel->Buttons()->Add()->SetCaption(u"A");
  panel->ArrangeButtons();
  EXPECT_EQ(panel->ButtonRect(0), TRect(0, 0, 0, 0));
}

}  // namespace
