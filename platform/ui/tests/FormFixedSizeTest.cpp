// A form with a fixed border takes the size set after its border style, also once shown.
#include <gtest/gtest.h>

#include "platform/ui/Forms.h"
#include "testing/TestSupport.h"

TEST(FormFixedSize, SizeSetAfterTheBorderStyleHoldsWhenShown) {
  for (TFormBorderStyle style : {bsSingle, bsDialog, bsToolWindow}) {
    TForm form(nullptr);
    form.SetBorderStyle(style);
    form.SetBounds(10, 20, 640, 480);
    form.Show();
    ProcessPendingEvents();
    EXPECT_EQ(form.Width(), 640) << int(style);
    EXPECT_EQ(form.Height(), 480) << int(style);
    form.SetWidth(500);
    ProcessPendingEvents();
    EXPECT_EQ(form.Width(), 500) << int(style);
  }
}
