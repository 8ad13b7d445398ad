// The string grid's keyboard, Enter and Tab navigation, update lock and focus handling.
#include <gtest/gtest.h>

#include "grid/tests/GridTestSupport.h"

TEST(AdvGridKeys, UpdateLockCountsEveryCallAndRepaintsAtTheOutermostEnd) {
  TGridForm f;
  DEreDuzeroVaro* g = f.grid;
  ProcessPendingEvents();
  int painted = g->PaintID();
  g->BeginUpdate();
  g->BeginUpdate();
  g->SetCells(1, 1, u"x");
  g->Invalidate();
  ProcessPendingEvents();
  g->EndUpdate();
  ProcessPendingEvents();
  EXPECT_EQ(g->PaintID(), painted) << "nothing paints while a level is still open";
  EXPECT_TRUE(g->LockUpdate());
  g->EndUpdate();
  ProcessPendingEvents();
  EXPECT_GT(g->PaintID(), painted) << "the outermost end repaints";
  EXPECT_FALSE(g->LockUpdate());

  // An end without a begin stays at 0 and still repaints.
  painted = g->PaintID();
  g->EndUpdate();
  EXPECT_EQ(g->UpdateCount(), 0);
  ProcessPendingEvents();
  EXPECT_GT(g->PaintID(), painted);

  // A hidden grid counts too, so begin and end stay paired across a visibility change.
  g->SetVisible(false);
  g->BeginUpdate();
  EXPECT_TRUE(g->LockUpdate());
  g->SetVisible(true);
  g->EndUpdate();
  EXPECT_FALSE(g->LockUpdate());

  // StartUpdate and ResetUpdate only count; LockUpdate writes begin and end.
  g->StartUpdate();
  g->StartUpdate();
  EXPECT_EQ(g->UpdateCount(), 2);
  g->ResetUpdate();
  EXPECT_EQ(g->UpdateCount(), 0);
  g->SetLockUpdate(true);
  EXPECT_EQ(g->UpdateCount(), 1);
  g->SetLockUpdate(false);
  EXPECT_EQ(g->UpdateCount(), 0);
}
