#include <gtest/gtest.h>

#include "instruments/VrButtons.h"
#include "platform/ui/Forms.h"

namespace {

LPARAM At(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

struct ButtonFixture : ::testing::Test {
  TForm form{nullptr};
  int clicks = 0;

  template <typename T>
  T* Place(int w, int h) {
    auto* b = new T(&form);
    b->SetParent(&form);
    b->SetBounds(0, 0, w, h);
    b->OnClick = [this](TObject*) { ++clicks; };
    b->HandleNeeded();
    return b;
  }
  // Paints the control into a bitmap through its WM_PAINT handling.
  static std::unique_ptr<TBitmap> Render(TWinControl* c) {
    auto bmp = std::make_unique<TBitmap>(c->Width(), c->Height());
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(bmp->Canvas()->Handle()), 0);
    return bmp;
  }
  static TColor Px(TBitmap& b, int x, int y) { return ColorToRGB(b.Canvas()->Pixels(x, y)); }
  static void Key(TWinControl* c, UINT msg) { c->Perform(msg, VK_SPACE, 0); }
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
    auto img = Render(b);
    EXPECT_EQ(Px(*img, 6, 8), k.lamp) << k.active << k.enabled;
    EXPECT_EQ(Px(*img, 15, 11), k.lamp);
    // Sunken rim, then a black ring, inside (4,6,18,14).
    EXPECT_EQ(Px(*img, 4, 6), ColorToRGB(clBtnShadow));
    EXPECT_EQ(Px(*img, 17, 13), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(Px(*img, 5, 7), clBlack);
    EXPECT_EQ(Px(*img, 16, 12), clBlack);
    EXPECT_EQ(Px(*img, 18, 10), ColorToRGB(clBtnFace)) << "nothing right of the lamp";
    EXPECT_EQ(Px(*img, 3, 10), ColorToRGB(clBtnFace)) << "nothing left of the lamp";
  }
}

TEST_F(PowerButton, LeftClickTogglesOnceAndOtherButtonsDoNot) {
  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  // Releasing the right button while the left is held changes nothing.
  b->Perform(WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, At(5, 5));
  b->Perform(WM_RBUTTONUP, MK_LBUTTON, At(5, 5));
  EXPECT_FALSE(b->Active());
  EXPECT_EQ(clicks, 0);
  b->Perform(WM_LBUTTONUP, 0, At(5, 5));
  EXPECT_TRUE(b->Active());
  EXPECT_EQ(clicks, 1);
  // A right click alone does nothing.
  b->Perform(WM_RBUTTONDOWN, MK_RBUTTON, At(5, 5));
  b->Perform(WM_RBUTTONUP, 0, At(5, 5));
  EXPECT_TRUE(b->Active());
  EXPECT_EQ(clicks, 1);
}

TEST_F(PowerButton, PressDraggedOffAndReleasedOutsideDoesNotToggle) {
  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  b->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(b->Pressed());
  b->Perform(WM_LBUTTONUP, 0, At(80, 5));
  EXPECT_FALSE(b->Active());
  EXPECT_EQ(clicks, 0);
  // Back inside before the release toggles.
  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  b->Perform(CM_MOUSELEAVE, 0, 0);
  b->Perform(CM_MOUSEENTER, 0, 0);
  b->Perform(WM_LBUTTONUP, 0, At(5, 5));
  EXPECT_TRUE(b->Active());
  EXPECT_EQ(clicks, 1);
}

TEST_F(PowerButton, SpaceTogglesOnlyAfterItsOwnPress) {
  Key(b, WM_KEYUP);  // the press happened elsewhere
  EXPECT_FALSE(b->Active());
  EXPECT_EQ(clicks, 0);
  Key(b, WM_KEYDOWN);
  EXPECT_TRUE(b->Pressed());
  Key(b, WM_KEYUP);
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
      for (int x = 3; x < img.Width() - 3; ++x) n += Px(img, x, y) == colour;
    return n;
  }
};

TEST_F(DemoButton, RendersRaisedUpAndSunkenDown) {
  auto up = Render(b);
  EXPECT_EQ(Px(*up, 0, 0), clBlack);  // outline
  EXPECT_EQ(Px(*up, 149, 24), clBlack);
  EXPECT_EQ(Px(*up, 1, 1), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(Px(*up, 2, 12), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(Px(*up, 148, 12), ColorToRGB(clBtnShadow));
  EXPECT_EQ(Px(*up, 3, 3), ColorToRGB(clBtnFace));
  EXPECT_GT(Count(*up, clBlack), 20) << "caption in FontLeave";

  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
  ASSERT_TRUE(b->Down());
  auto down = Render(b);
  EXPECT_EQ(Px(*down, 0, 0), clBlack);
  EXPECT_EQ(Px(*down, 1, 1), ColorToRGB(clBtnShadow));
  EXPECT_EQ(Px(*down, 148, 12), ColorToRGB(clBtnHighlight));
  // The caption moves one pixel down-right with the face.
  auto firstInk = [](TBitmap& img) {
    for (int x = 3; x < img.Width(); ++x)
      for (int y = 3; y < img.Height() - 3; ++y)
        if (Px(img, x, y) == clBlack) return TPoint(x, y);
    return TPoint(-1, -1);
  };
  EXPECT_EQ(firstInk(*down).X, firstInk(*up).X + 1);
  b->Perform(WM_LBUTTONUP, 0, At(10, 10));
}

TEST_F(DemoButton, MouseOverFlatAndDisabledLooks) {
  b->SetFlat(true);
  auto flat = Render(b);
  EXPECT_EQ(Px(*flat, 1, 1), ColorToRGB(clBtnFace)) << "no bevel until the mouse comes";
  b->Perform(CM_MOUSEENTER, 0, 0);
  auto hover = Render(b);
  EXPECT_EQ(Px(*hover, 1, 1), ColorToRGB(clBtnHighlight));
  EXPECT_GT(Count(*hover, clRed), 20) << "caption in FontEnter";
  EXPECT_EQ(Count(*hover, clBlack), 0);

  b->SetDisabledTextColor(clGreen);
  b->SetEnabled(false);
  auto disabled = Render(b);
  EXPECT_GT(Count(*disabled, clGreen), 20);
  EXPECT_EQ(Count(*disabled, clRed), 0) << "FontLeave when disabled, even under the mouse";
}

TEST_F(DemoButton, FocusedOutlineTakesTheFocusColour) {
  b->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(static_cast<TWinControl*>(b)));
  EXPECT_EQ(Px(*Render(b), 0, 0), ColorToRGB(clBlue));
  b->Perform(CM_FOCUSCHANGED, 0, 0);
  EXPECT_EQ(Px(*Render(b), 0, 0), clBlack);
}

TEST_F(DemoButton, ClickFiresOnceOnlyWhenReleasedInside) {
  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
  b->Perform(WM_LBUTTONUP, 0, At(10, 10));
  EXPECT_EQ(clicks, 1);

  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
  b->Perform(WM_MOUSEMOVE, MK_LBUTTON, At(200, 10));
  EXPECT_FALSE(b->Down()) << "the face pops up when the mouse leaves";
  EXPECT_TRUE(b->Pressed());
  b->Perform(WM_MOUSEMOVE, MK_LBUTTON, At(20, 10));
  EXPECT_TRUE(b->Down());
  b->Perform(WM_MOUSEMOVE, MK_LBUTTON, At(200, 10));
  b->Perform(WM_LBUTTONUP, 0, At(200, 10));
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(b->Pressed());
}

TEST_F(DemoButton, DoubleClickIsTwoClicks) {
  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
  b->Perform(WM_LBUTTONUP, 0, At(10, 10));
  b->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, At(10, 10));
  b->Perform(WM_LBUTTONUP, 0, At(10, 10));
  EXPECT_EQ(clicks, 2);
}

TEST_F(DemoButton, SpaceClicksOnlyAfterItsOwnPress) {
  Key(b, WM_KEYUP);
  EXPECT_EQ(clicks, 0);
  Key(b, WM_KEYDOWN);
  EXPECT_TRUE(b->Down());
  Key(b, WM_KEYUP);
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
