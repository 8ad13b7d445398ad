// The demo's time picker and its twelve clocks: rendered offscreen and driven by the mouse.

#include <gtest/gtest.h>

#include "dropdowns/demo/DropDownsDemo.h"
#include "platform/rtl/SysUtils.h"
#include "testing/TestSupport.h"

namespace {

TEST(DropDownsDemoClocks, TwelveLooksAndATimePickerThatReportInTheStatusLine) {
  TDropDownsDemoForm form(nullptr);
  form.Show();
  ProcessPendingEvents();
  for (int i = 0; i < 12; ++i) {
    TAdvWatch* clock = form.Clock(static_cast<TWatchStyle>(i));
    EXPECT_EQ(clock->Style(), i);
    EXPECT_TRUE(clock->Visible());
  }
  EXPECT_EQ(form.Clock(wsClassic)->Appearance()->HourMarkLength(), 8);
  EXPECT_EQ(form.Clock(wsTower)->Appearance()->Shape(), wsRect);
  // Looks differ on screen: the face centres' surroundings are painted in their own colours.
  auto classic = RenderControl(form.Clock(wsClassic));
  auto black = RenderControl(form.Clock(wsBlack));
  EXPECT_NE(PixelColor(*classic, 50, 25), PixelColor(*black, 50, 25));
  // A click at 3 o'clock in the margin of the gray clock moves its minute hand there.
  TAdvWatch* gray = form.Clock(wsGray);
  gray->SetAnimation(false);
  SimulateClick(gray, 97, 50);
  ProcessPendingEvents();
  EXPECT_EQ(form.Status()->Caption(), u"Clock: 10:15");
  // The time picker opens on its clock at the time shown.
  TAdvTimePickerDropDown* picker = form.TimePicker();
  EXPECT_EQ(picker->EditText(), u"10:30:00");
  picker->SetAnimation(false);
  picker->SetFocus();
  SimulateKeyStroke(picker, VK_F4);
  ProcessPendingEvents();
  ASSERT_TRUE(picker->DroppedDown());
  SimulateKeyStroke(picker->DropDownForm(), 'P');
  ProcessPendingEvents();
  EXPECT_EQ(picker->EditText(), u"22:30:00");
  SimulateKeyDown(picker->DropDownForm(), VK_RETURN);
  SimulateKeyUp(picker, VK_RETURN);
  ProcessPendingEvents();
  EXPECT_FALSE(picker->DroppedDown());
  EXPECT_EQ(form.Status()->Caption(), u"Time: 22:30:00");
}

}  // namespace
