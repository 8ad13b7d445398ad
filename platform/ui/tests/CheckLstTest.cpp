// The check list box: a check box per item, toggled by the user, kept while items change.
#include <gtest/gtest.h>

#include "platform/ui/CheckLst.h"
#include "platform/ui/Forms.h"
#include "platform/win/WinUser.h"
#include "testing/TestSupport.h"

TEST(CheckListBox, StatesSurviveAddedItemsAndSpaceTogglesTheCurrentOne) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto* list = new TCheckListBox(&form);
  list->SetParent(&form);
  list->SetBounds(10, 10, 150, 100);
  form.Show();
  ProcessPendingEvents();
  int clicks = 0;
  list->OnClickCheck = [&clicks](TObject*) { ++clicks; };
  list->Items()->Add(u"one");
  list->SetChecked(0, true);
  list->Items()->Add(u"two");
  list->Items()->Add(u"three");
  EXPECT_TRUE(list->Checked(0)) << "adding items keeps the earlier states";
  EXPECT_FALSE(list->Checked(1));
  EXPECT_FALSE(list->Checked(7));
  EXPECT_EQ(clicks, 0) << "a state set in code is no user's click";
  // Space toggles the current item and reports it.
  list->SetItemIndex(2);
  SimulateKeyStroke(list, VK_SPACE);
  ProcessPendingEvents();
  EXPECT_TRUE(list->Checked(2));
  EXPECT_EQ(clicks, 1);
  SimulateKeyStroke(list, VK_SPACE);
  ProcessPendingEvents();
  EXPECT_FALSE(list->Checked(2));
  EXPECT_EQ(clicks, 2);
  // Emptied and filled again, the items come unchecked.
  list->Clear();
  list->Items()->Add(u"four");
  EXPECT_FALSE(list->Checked(0));
}
