// Owner-drawn list boxes: items at the list's item height, drawn through DrawItem.
#include <gtest/gtest.h>

#include <set>

#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/StdCtrls.h"
#include "testing/TestSupport.h"

namespace {

TEST(ListBoxOwnerDraw, ItemsTakeTheItemHeightAndAreDrawnByTheHandler) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto* list = new TListBox(&form);
  list->SetParent(&form);
  list->SetBounds(10, 10, 150, 100);
  list->SetStyle(lbOwnerDrawFixed);
  list->SetItemHeight(12);
  for (const char16_t* s : {u"one", u"two", u"three"}) list->Items()->Add(s);
  std::set<int> drawn;
  list->OnDrawItem = [&](TWinControl* c, int Index, TRect R, TOwnerDrawState) {
    drawn.insert(Index);
    TCanvas* canvas = static_cast<TListBox*>(c)->Canvas();
    canvas->Brush()->SetColor(Index == 1 ? clRed : clWhite);
    canvas->FillRect(R);
  };
  form.Show();
  ProcessPendingEvents();
  EXPECT_EQ(list->ItemRect(1).Top - list->ItemRect(0).Top, 12);
  EXPECT_EQ(list->ItemRect(0).Height(), 12);
  std::unique_ptr<TBitmap> b = RenderControl(list);
  EXPECT_EQ(drawn, (std::set<int>{0, 1, 2}));
  const TRect r = list->ItemRect(1);
  EXPECT_EQ(PixelColor(*b, r.Left + 20, r.Top + 6), clRed);
  EXPECT_NE(PixelColor(*b, r.Left + 20, list->ItemRect(0).Top + 6), clRed);
  // Without a handler each item shows its text.
  list->OnDrawItem = nullptr;
  b = RenderControl(list);
  int ink = 0;
  for (int x = 0; x < 60; ++x)
    for (int y = r.Top; y < r.Bottom; ++y) ink += PixelColor(*b, x, y) != PixelColor(*b, 100, r.Top + 6);
  EXPECT_GT(ink, 5);
  EXPECT_EQ(list->ItemAtPos(TPoint(20, r.Top + 3), true), 1);
  // A click on an item reaches the control's mouse events, after the list selected it.
  int ups = -1;
  list->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { ups = list->ItemIndex(); };
  SimulateClick(list, 20, list->ItemRect(2).Top + 4);
  EXPECT_EQ(ups, 2);
}

}  // namespace
