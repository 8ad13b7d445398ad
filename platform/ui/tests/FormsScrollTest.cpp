#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "testing/TestSupport.h"

namespace {

// A scroll box that logs the scroll messages it gets.
class TLoggingScrollBox : public TScrollBox {
public:
  using TScrollBox::TScrollBox;
  std::vector<int> Codes;

protected:
  void WMVScroll(TWMScroll& Message) override {
    Codes.push_back(Message.ScrollCode());
    TScrollBox::WMVScroll(Message);
  }
};

// A shown form with a 200 x 100 scroll box holding a 150 x 300 panel.
struct ScrollForm {
  TForm form{nullptr};
  TLoggingScrollBox* box = new TLoggingScrollBox(&form);
  TPanel* panel = new TPanel(&form);
  ScrollForm() {
    form.SetBounds(100, 100, 320, 240);
    box->SetParent(&form);
    box->SetBounds(10, 10, 200, 100);
    panel->SetParent(box);
    panel->SetBounds(0, 0, 150, 300);
    form.Show();
    ProcessPendingEvents();
  }
  TControlScrollBar* V() const { return box->VertScrollBar(); }
  TControlScrollBar* H() const { return box->HorzScrollBar(); }
};

TEST(ScrollingWinControl, RangesFollowTheChildrenAndBarsShowOnlyWhenNeeded) {
  ScrollForm f;
  const int bar = f.V()->Size();
  EXPECT_TRUE(f.box->AutoScroll());
  EXPECT_EQ(f.V()->Range(), 300);
  EXPECT_TRUE(f.V()->IsScrollBarVisible());
  EXPECT_FALSE(f.H()->IsScrollBarVisible());  // 150 fits beside the vertical bar
  EXPECT_EQ(f.box->ClientRect(), Rect(0, 0, 200 - bar, 100));
  f.V()->SetMargin(10);
  EXPECT_EQ(f.V()->Range(), 310);
  // Positions stay in the range and move the content.
  f.V()->SetPosition(500);
  EXPECT_EQ(f.V()->Position(), 210);
  EXPECT_EQ(f.panel->Top(), -210);
  f.V()->SetPosition(-5);
  EXPECT_EQ(f.V()->Position(), 0);
  EXPECT_EQ(f.panel->Top(), 0);
  // A child grown wider than the room left brings the other bar, and both bars then take room.
  f.panel->SetWidth(260);
  ASSERT_TRUE(WaitUntil([&] { return f.H()->IsScrollBarVisible(); }, 2000));
  EXPECT_EQ(f.H()->Range(), 260);
  EXPECT_EQ(f.box->ClientRect(), Rect(0, 0, 200 - bar, 100 - f.H()->Size()));
  // A scrolled child that shrinks scrolls the content back into the range.
  f.V()->SetPosition(100);
  f.panel->SetBounds(f.panel->Left(), f.panel->Top(), 100, 50);
  ASSERT_TRUE(WaitUntil([&] { return !f.V()->IsScrollBarVisible(); }, 2000));
  EXPECT_EQ(f.V()->Position(), 0);
  EXPECT_EQ(f.panel->Top(), 0);
  // A graphic child counts as well.
  auto* shape = new TShape(&f.form);
  shape->SetParent(f.box);
  shape->SetBounds(10, 400, 20, 20);
  ASSERT_TRUE(WaitUntil([&] { return f.V()->Range() == 400 + 20 + 10; }, 2000));  // Margin 10
  EXPECT_TRUE(f.V()->IsScrollBarVisible());
  // Without AutoScroll the range is the one set, and setting it turns AutoScroll off.
  f.V()->SetRange(1000);
  EXPECT_FALSE(f.box->AutoScroll());
  EXPECT_TRUE(f.V()->IsScrollBarVisible());
  f.V()->SetVisible(false);
  EXPECT_FALSE(f.V()->IsScrollBarVisible());
  EXPECT_EQ(f.V()->ScrollPos(), 0);
}

TEST(ScrollingWinControl, ScrollInViewBringsAChildInWithTheMargin) {
  ScrollForm f;
  auto* low = new TPanel(&f.form);
  low->SetParent(f.panel);
  low->SetBounds(0, 200, 50, 40);
  f.V()->SetMargin(5);
  f.box->ScrollInView(low);
  EXPECT_EQ(f.V()->Position(), 200 + 40 + 5 - 100);
  f.V()->SetPosition(f.V()->Range());
  f.box->ScrollInView(low);
  EXPECT_EQ(f.V()->Position(), 195);
}

TEST(ScrollingWinControl, TheUsersBarSendsScrollMessagesAndTheThumbTracksWhenAsked) {
  ScrollForm f;
  const int x = f.box->ClientWidth() + f.V()->Size() / 2;
  // The arrow at the bottom: one line.
  SimulateClick(f.box, x, f.box->Height() - 4);
  EXPECT_EQ(f.V()->Position(), 8);
  EXPECT_EQ(f.panel->Top(), -8);
  ASSERT_FALSE(f.box->Codes.empty());
  EXPECT_EQ(f.box->Codes.front(), SB_LINEDOWN);
  // The track below the thumb: one page (the client height).
  f.box->Codes.clear();
  SimulateClick(f.box, x, f.box->Height() - 24);
  EXPECT_EQ(f.V()->Position(), 108);
  EXPECT_EQ(f.box->Codes.front(), SB_PAGEDOWN);
  // Dragging the thumb: without Tracking the content waits for the release.
  f.V()->SetPosition(0);
  f.box->Codes.clear();
  const int thumb = 17 + 8;  // just below the top arrow
  SimulateMouseDown(f.box, mbLeft, x, thumb);
  SimulateMouseMove(f.box, x, thumb + 20, {ssLeft});
  EXPECT_EQ(f.V()->Position(), 0);
  SimulateMouseUp(f.box, mbLeft, x, thumb + 20);
  const int dropped = f.V()->Position();
  EXPECT_GT(dropped, 0);
  EXPECT_EQ(f.panel->Top(), -dropped);
  EXPECT_EQ(f.box->Codes, (std::vector<int>{SB_THUMBTRACK, SB_THUMBPOSITION, SB_ENDSCROLL}));
  // With Tracking the content follows the thumb at once.
  f.V()->SetPosition(0);
  f.V()->SetTracking(true);
  SimulateMouseDown(f.box, mbLeft, x, thumb);
  SimulateMouseMove(f.box, x, thumb + 20, {ssLeft});
  EXPECT_EQ(f.V()->Position(), dropped);
  SimulateMouseUp(f.box, mbLeft, x, thumb + 20);
  EXPECT_EQ(f.V()->Position(), dropped);
}

}  // namespace
