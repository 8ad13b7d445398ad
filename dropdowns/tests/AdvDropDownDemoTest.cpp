// The demo window renders and its drop-down opens by key and button and chooses by keys.

#include <gtest/gtest.h>

#include "dropdowns/demo/DropDownsDemo.h"
#include "testing/TestSupport.h"

namespace {

TEST(DropDownsDemo, RendersOpensByKeyAndButtonAndChoosesByKeys) {
  TDropDownsDemoForm form(nullptr);
  form.Show();
  ProcessPendingEvents();
  auto bmp = RenderControl(&form);
  EXPECT_EQ(bmp->Width(), 940);
  TDemoListDropDown* dd = form.ListDropDown();
  EXPECT_LT(dd->EditLabel()->Left() + dd->EditLabel()->Width(), dd->Left());
  dd->SetFocus();
  ProcessPendingEvents();
  SimulateKeyStroke(dd, VK_F4);
  ProcessPendingEvents();
  ASSERT_TRUE(dd->DroppedDown());
  SimulateKeyStroke(dd->List(), VK_DOWN);
  SimulateKeyDown(dd->List(), VK_RETURN);
  SimulateKeyUp(dd, VK_RETURN);
  ProcessPendingEvents();
  EXPECT_FALSE(dd->DroppedDown());
  EXPECT_EQ(dd->Text(), u"Channel 2");
  EXPECT_EQ(form.Status()->Caption(), u"Chosen: Channel 2");
  SimulateClick(dd->Button()->Button(), 8, 8);
  ProcessPendingEvents();
  ASSERT_TRUE(dd->DroppedDown());
  SimulateKeyDown(dd->List(), VK_ESCAPE);
  SimulateKeyUp(dd, VK_ESCAPE);
  ProcessPendingEvents();
  EXPECT_FALSE(dd->DroppedDown());
  EXPECT_EQ(form.Status()->Caption(), u"Cancelled");
  EXPECT_EQ(dd->Text(), u"Channel 2");
}

}  // namespace
