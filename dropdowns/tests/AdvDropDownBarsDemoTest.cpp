// The demo window's track-bar and memo drop-downs, the memo's header and footer bars included.

#include <gtest/gtest.h>

#include "dropdowns/AdvDropDownBars.h"
#include "dropdowns/demo/DropDownsDemo.h"
#include "testing/TestSupport.h"

namespace {

TEST(DropDownsDemo, TrackBarStepsAndTheMemosFooterButtonsClose) {
  TDropDownsDemoForm form(nullptr);
  form.Show();
  ProcessPendingEvents();
  RenderControl(&form);
  TAdvTrackBarDropDown* track = form.TrackBarDropDown();
  EXPECT_EQ(track->EditText(), u"0");
  track->SetFocus();
  ProcessPendingEvents();
  SimulateKeyStroke(track, VK_DOWN);
  ProcessPendingEvents();
  EXPECT_EQ(track->EditText(), u"5");
  EXPECT_EQ(form.Status()->Caption(), u"Level: 5");

  TAdvMemoDropDown* memo = form.MemoDropDown();
  EXPECT_EQ(memo->EditText(), u"Installed on the roof...");
  memo->SetFocus();
  ProcessPendingEvents();
  SimulateKeyStroke(memo, VK_F4);
  ProcessPendingEvents();
  ASSERT_TRUE(memo->DroppedDown());
  auto* header = dynamic_cast<TAdvHeader*>(memo->DropDownForm()->Header());
  auto* footer = dynamic_cast<TAdvFooter*>(memo->DropDownForm()->Footer());
  ASSERT_NE(header, nullptr);
  ASSERT_NE(footer, nullptr);
  RenderControl(memo->DropDownForm());
  ASSERT_EQ(footer->ButtonCount(), 2);
  // The first button is the rightmost: Cancel sits left of OK.
  EXPECT_LT(footer->ButtonControl(1)->Left(), footer->ButtonControl(0)->Left());
  SimulateKeyStroke(memo->Memo(), VK_END, {ssCtrl});
  SimulateTyping(memo->Memo(), u"Cleaned");
  ProcessPendingEvents();
  SimulateClick(footer->ButtonControl(0), 5, 5);  // OK
  ProcessPendingEvents();
  EXPECT_FALSE(memo->DroppedDown());
  EXPECT_EQ(memo->MemoText()->Count(), 3);
  EXPECT_EQ(memo->MemoText()->Strings(2), u"Cleaned");
  EXPECT_EQ(form.Status()->Caption(), u"Notes: 3 lines");
  // Cancel throws the next edits away.
  SimulateKeyStroke(memo, VK_F4);
  ProcessPendingEvents();
  ASSERT_TRUE(memo->DroppedDown());
  SimulateTyping(memo->Memo(), u"x");
  ProcessPendingEvents();
  SimulateClick(footer->ButtonControl(1), 5, 5);
  ProcessPendingEvents();
  EXPECT_FALSE(memo->DroppedDown());
  EXPECT_EQ(memo->MemoText()->Count(), 3);
  EXPECT_EQ(form.Status()->Caption(), u"Notes unchanged");
}

}  // namespace
