#include <gtest/gtest.h>

#include "instruments/VrButtons.h"
#include "platform/ui/Forms.h"
#include "testing/TestSupport.h"

namespace {

struct ButtonFixture : ::testing::Test {
  TForm form{nullptr};
  int clicks = 0;
  ButtonFixture() {
    form.SetBounds(0, 0, 200, 100);
    form.Show();  // input reaches the buttons as a user's does
  }

  template <typename T>
  T* Place(int w, int h) {
    auto* b = new T(&form);
    b->SetParent(&form);
    b->SetBounds(0, 0, w, h);
    b->OnClick = [this](TObject*) { ++clicks; };
    b->HandleNeeded();
    return b;
  }
};

// ---- Lamp button

struct PowerButton : ButtonFixture {
  TVrPowerButton* b = nullptr;
  void SetUp() override {
    // The application's read-only line lamps.
    b = Place<TVrPowerButton>(55, 20);
    b->SetCaption(u"DSR");
    b->SetLedWidth(14);
    b->SetLedHeight(8);
    b->SetMargin(4);
    b->SetSpacing(8);
    b->SetBevelWidth(0);
    b->SetOutlineWidth(0);
    b->Palette()->SetLow(clSilver);
    b->Palette()->SetHigh(clRed);
  }
};

TEST_F(PowerButton, LampSitsWhereTheLayoutSays) {
  EXPECT_EQ(b->ImageRect(), Rect(4, 6, 18, 14));
  EXPECT_EQ(b->TextBounds().Left, 26);
}

TEST_F(PowerButton, LampShowsThePaletteOrTheButtonColourWhenDisabled) {
  struct { bool active, enabled; TColor lamp; } cases[] = {
      {false, true, clSilver}, {true, true, clRed}, {true, false, ColorToRGB(clBtnFace)}};
  for (auto& k : cases) {
    b->SetActive(k.active);
    b->SetEnabled(k.enabled);
    auto img = RenderControl(b);
    EXPECT_EQ(PixelColor(*img, 6, 8), k.lamp) << k.active << k.enabled;
    EXPECT_EQ(PixelColor(*img, 15, 11), k.lamp);
    // Sunken rim, then a black ring, inside (4,6,18,14).
    EXPECT_EQ(PixelColor(*img, 4, 6), ColorToRGB(clBtnShadow));
    EXPECT_EQ(PixelColor(*img, 17, 13), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(PixelColor(*img, 5, 7), clBlack);
    EXPECT_EQ(PixelColor(*img, 16, 12), clBlack);
    EXPECT_EQ(PixelColor(*img, 18, 10), ColorToRGB(clBtnFace)) << "nothing right of the lamp";
    EXPECT_EQ(PixelColor(*img, 3, 10), ColorToRGB(clBtnFace)) << "nothing left of the lamp";
  }
}

TEST_F(PowerButton, LeftClickTogglesOnceAndOtherButtonsDoNot) {
  SimulateMouseDown(b, mbLeft, 5, 5);
  // Releasing the right button while the left is held changes nothing.
  SimulateMouseDown(b, mbRight, 5, 5, {ssLeft});
  SimulateMouseUp(b, mbRight, 5, 5, {ssLeft});
  EXPECT_FALSE(b->Active());
  EXPECT_EQ(clicks, 0);
  SimulateMouseUp(b, mbLeft, 5, 5);
  EXPECT_TRUE(b->Active());
  EXPECT_EQ(clicks, 1);
  // A right click alone does nothing.
  SimulateMouseDown(b, mbRight, 5, 5);
  SimulateMouseUp(b, mbRight, 5, 5);
  EXPECT_TRUE(b->Active());
  EXPECT_EQ(clicks, 1);
}

TEST_F(PowerButton, PressDraggedOffAndReleasedOutsideDoesNotToggle) {
  SimulateMouseDown(b, mbLeft, 5, 5);
  b->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(b->Pressed());
  SimulateMouseUp(b, mbLeft, 80, 5);
  EXPECT_FALSE(b->Active());
  EXPECT_EQ(clicks, 0);
  // Back inside before the release toggles.
  SimulateMouseDown(b, mbLeft, 5, 5);
  b->Perform(CM_MOUSELEAVE, 0, 0);
  b->Perform(CM_MOUSEENTER, 0, 0);
  SimulateMouseUp(b, mbLeft, 5, 5);
  EXPECT_TRUE(b->Active());
  EXPECT_EQ(clicks, 1);
}

TEST_F(PowerButton, SpaceTogglesOnlyAfterItsOwnPress) {
  SimulateKeyUp(b, VK_SPACE);  // the press happened elsewhere
  EXPECT_FALSE(b->Active());
  EXPECT_EQ(clicks, 0);
  SimulateKeyDown(b, VK_SPACE);
  EXPECT_TRUE(b->Pressed());
  SimulateKeyUp(b, VK_SPACE);
  EXPECT_TRUE(b->Active());
  EXPECT_FALSE(b->Pressed());
  EXPECT_EQ(clicks, 1);
}

TEST_F(PowerButton, AcceleratorClicksWithoutToggling) {
  b->SetCaption(u"&DTR");
  b->Perform(CM_DIALOGCHAR, u'd', 0);
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(b->Active());
  b->Perform(CM_DIALOGCHAR, u'x', 0);
  EXPECT_EQ(clicks, 1);
}

// ---- Command button

struct DemoButton : ButtonFixture {
  TVrDemoButton* b = nullptr;
  void SetUp() override {
    b = Place<TVrDemoButton>(150, 25);
    b->SetCaption(u"Send");
  }
  // Counts pixels of a colour inside the caption area.
  static int Count(TBitmap& img, TColor colour) {
    int n = 0;
    for (int y = 3; y < img.Height() - 3; ++y)
      for (int x = 3; x < img.Width() - 3; ++x) n += PixelColor(img, x, y) == colour;
    return n;
  }
};

TEST_F(DemoButton, RendersRaisedUpAndSunkenDown) {
  auto up = RenderControl(b);
  EXPECT_EQ(PixelColor(*up, 0, 0), clBlack);  // outline
  EXPECT_EQ(PixelColor(*up, 149, 24), clBlack);
  EXPECT_EQ(PixelColor(*up, 1, 1), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(PixelColor(*up, 2, 12), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(PixelColor(*up, 148, 12), ColorToRGB(clBtnShadow));
  EXPECT_EQ(PixelColor(*up, 3, 3), ColorToRGB(clBtnFace));
  EXPECT_GT(Count(*up, clBlack), 20) << "caption in FontLeave";

  // Pressed without the pointer entering, so the caption keeps FontLeave.
  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  ASSERT_TRUE(b->Down());
  auto down = RenderControl(b);
  EXPECT_EQ(PixelColor(*down, 0, 0), clBlack);
  EXPECT_EQ(PixelColor(*down, 1, 1), ColorToRGB(clBtnShadow));
  EXPECT_EQ(PixelColor(*down, 148, 12), ColorToRGB(clBtnHighlight));
  // The caption moves one pixel down-right with the face.
  auto firstInk = [](TBitmap& img) {
    for (int x = 3; x < img.Width(); ++x)
      for (int y = 3; y < img.Height() - 3; ++y)
        if (PixelColor(img, x, y) == clBlack) return TPoint(x, y);
    return TPoint(-1, -1);
  };
  EXPECT_EQ(firstInk(*down).X, firstInk(*up).X + 1);
  b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
}

TEST_F(DemoButton, MouseOverFlatAndDisabledLooks) {
  b->SetFlat(true);
  auto flat = RenderControl(b);
  EXPECT_EQ(PixelColor(*flat, 1, 1), ColorToRGB(clBtnFace)) << "no bevel until the mouse comes";
  b->Perform(CM_MOUSEENTER, 0, 0);
  auto hover = RenderControl(b);
  EXPECT_EQ(PixelColor(*hover, 1, 1), ColorToRGB(clBtnHighlight));
  EXPECT_GT(Count(*hover, clRed), 20) << "caption in FontEnter";
  EXPECT_EQ(Count(*hover, clBlack), 0);

  b->SetDisabledTextColor(clGreen);
  b->SetEnabled(false);
  auto disabled = RenderControl(b);
  EXPECT_GT(Count(*disabled, clGreen), 20);
  EXPECT_EQ(Count(*disabled, clRed), 0) << "FontLeave when disabled, even under the mouse";
}

TEST_F(DemoButton, FocusedOutlineTakesTheFocusColour) {
  b->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(static_cast<TWinControl*>(b)));
  EXPECT_EQ(PixelColor(*RenderControl(b), 0, 0), ColorToRGB(clBlue));
  b->Perform(CM_FOCUSCHANGED, 0, 0);
  EXPECT_EQ(PixelColor(*RenderControl(b), 0, 0), clBlack);
}

TEST_F(DemoButton, ClickFiresOnceOnlyWhenReleasedInside) {
  SimulateMouseDown(b, mbLeft, 10, 10);
  SimulateMouseUp(b, mbLeft, 10, 10);
  EXPECT_EQ(clicks, 1);

  SimulateMouseDown(b, mbLeft, 10, 10);
  SimulateMouseMove(b, 200, 10, {ssLeft});
  EXPECT_FALSE(b->Down()) << "the face pops up when the mouse leaves";
  EXPECT_TRUE(b->Pressed());
  SimulateMouseMove(b, 20, 10, {ssLeft});
  EXPECT_TRUE(b->Down());
  SimulateMouseMove(b, 200, 10, {ssLeft});
  SimulateMouseUp(b, mbLeft, 200, 10);
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(b->Pressed());
}

TEST_F(DemoButton, DoubleClickIsTwoClicks) {
  SimulateDblClick(b, 10, 10);
  EXPECT_EQ(clicks, 2);
}

TEST_F(DemoButton, SpaceClicksOnlyAfterItsOwnPress) {
  SimulateKeyUp(b, VK_SPACE);
  EXPECT_EQ(clicks, 0);
  SimulateKeyDown(b, VK_SPACE);
  EXPECT_TRUE(b->Down());
  SimulateKeyUp(b, VK_SPACE);
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(b->Down());
}

TEST_F(DemoButton, AcceleratorClicksWhenEnabled) {
  b->SetCaption(u"&Send");
  b->Perform(CM_DIALOGCHAR, u'S', 0);
  EXPECT_EQ(clicks, 1);
  b->SetEnabled(false);
  b->Perform(CM_DIALOGCHAR, u'S', 0);
  EXPECT_EQ(clicks, 1);
}

}  // namespace
