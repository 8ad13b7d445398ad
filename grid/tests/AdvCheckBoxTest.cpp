// The grid check box clicked, typed at and shown over its parent.
#include <gtest/gtest.h>

#include "grid/AdvCheckBox.h"
#include "platform/ui/Forms.h"
#include "platform/win/Messages.h"
#include "testing/TestSupport.h"

namespace {

struct TBoxForm {
  TForm form{nullptr};
  TAdvCheckBox* box = new TAdvCheckBox(&form);
  int clicks = 0;
  TBoxForm() {
    form.SetBounds(60, 60, 220, 80);
    form.SetColor(clRed);
    box->SetParent(&form);
    box->SetBounds(10, 10, 120, 24);
    box->OnClick = [this](TObject*) { ++clicks; };
    form.Show();
    ProcessPendingEvents();
  }
};

}  // namespace

TEST(AdvCheckBox, ClicksAndSpaceToggleAReadOnlyBoxOnlyClicks) {
  TBoxForm f;
  EXPECT_EQ(f.box->Caption(), u"TAdvCheckBox");
  SimulateClick(f.box, 6, 10);
  EXPECT_TRUE(f.box->Checked());
  EXPECT_EQ(f.clicks, 1);
  SimulateKeyStroke(f.box, VK_SPACE);
  EXPECT_FALSE(f.box->Checked());
  EXPECT_EQ(f.clicks, 2);
  // Released outside: no toggle, no click.
  SimulateMouseDown(f.box, mbLeft, 6, 10);
  SimulateMouseMove(f.box, 150, 10, {ssLeft});
  SimulateMouseUp(f.box, mbLeft, 150, 10);
  EXPECT_FALSE(f.box->Checked());
  EXPECT_EQ(f.clicks, 2);

  f.box->SetReadOnly(true);
  SimulateClick(f.box, 6, 10);
  EXPECT_FALSE(f.box->Checked());
  EXPECT_EQ(f.clicks, 3);
  f.box->SetReadOnly(false);

  f.box->SetCaption(u"&Match case");
  TMessage accel{CM_DIALOGCHAR, WPARAM(u'm'), 0, 0};
  f.box->Dispatch(accel);
  EXPECT_EQ(accel.Result, 1);
  EXPECT_TRUE(f.box->Checked());
  f.box->SetState(cbGrayed);
  EXPECT_FALSE(f.box->Checked());
}

TEST(AdvCheckBox, ATransparentBoxShowsItsParentBehindIt) {
  TBoxForm f;
  f.box->SetCaption(u"x");
  f.box->SetColor(clWhite);
  auto plain = RenderControl(f.box);
  EXPECT_NE(PixelColor(*plain, 110, 20), TColor(0x000000FF));
  for (bool caching : {false, true}) {
    f.box->SetTransparentChaching(caching);
    f.box->SetTransparent(true);
    auto shown = RenderControl(f.box);
    EXPECT_EQ(PixelColor(*shown, 110, 20), TColor(0x000000FF)) << caching;
    f.box->SetTransparent(false);
  }
}
