// The drop-down demo's grid drop-downs: receivers looked up by name, channels narrowed down.

#include <gtest/gtest.h>

#include "dropdowns/grid/AdvCustomGridDropDown.h"
#include "dropdowns/demo/DropDownsDemo.h"
#include "testing/TestSupport.h"

TEST(AdvCustomGridDropDownDemo, ReceiversAreLookedUpAndChannelsNarrowedDown) {
  TDropDownsDemoForm form(nullptr);
  form.Show();
  ProcessPendingEvents();
  TCustomAdvGridDropDown* lookup = form.GridLookup();
  EXPECT_EQ(lookup->Text(), u"RCV910X");
  lookup->SetFocus();
  ProcessPendingEvents();
  SimulateKeyStroke(lookup, VK_F4);
  ProcessPendingEvents();
  ASSERT_TRUE(lookup->DroppedDown());
  for (Char c : String(u"trx4")) SimulateChar(lookup->GetGrid(), c);
  SimulateKeyDown(lookup->GetGrid(), VK_RETURN);
  SimulateKeyUp(lookup, VK_RETURN);
  ProcessPendingEvents();
  EXPECT_FALSE(lookup->DroppedDown());
  EXPECT_EQ(lookup->Text(), u"TRX410");
  EXPECT_EQ(form.Status()->Caption(), u"Grid: TRX410");

  TCustomAdvGridDropDown* narrow = form.GridNarrow();
  narrow->SetFocus();
  ProcessPendingEvents();
  SimulateKeyStroke(narrow, VK_F4);
  ProcessPendingEvents();
  ASSERT_TRUE(narrow->DroppedDown());
  SimulateChar(narrow->GetGrid(), u'4');
  SimulateChar(narrow->GetGrid(), u'2');
  ProcessPendingEvents();
  // Channels 42 only.
  EXPECT_EQ(narrow->GetGrid()->RowCount(), 2);
  EXPECT_EQ(narrow->GetGrid()->Cells(0, 1), u"Channel 42");
  SimulateKeyDown(narrow->GetGrid(), VK_RETURN);
  SimulateKeyUp(narrow, VK_RETURN);
  ProcessPendingEvents();
  EXPECT_EQ(narrow->Text(), u"Channel 42");
  EXPECT_EQ(narrow->ItemIndex(), 41);
  auto bmp = RenderControl(&form);
  EXPECT_EQ(bmp->Width(), 940);
}
