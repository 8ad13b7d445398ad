// The hint windows of the string grid: the HTML hint window and the balloon tooltip.
#include <gtest/gtest.h>

#include "grid/AdvGridValuesHint.h"
#include "platform/ui/BalloonTip.h"
#include "platform/ui/Forms.h"
#include "platform/ui/MeasureCanvas.h"
#include "testing/TestSupport.h"

namespace {

TEST(HTMLHintWindowTest, HasNoFrameAndStaysInsideTheMonitor) {
  THTMLHintWindow hint(nullptr);
  hint.HandleNeeded();
  EXPECT_EQ(hint.WindowParams().Style & WS_BORDER, 0u);
  EXPECT_NE(hint.WindowParams().WindowClass.style & CS_DROPSHADOW, 0u);

  TMonitor* m = Screen->MonitorFromPoint(TPoint(0, 0));
  ASSERT_NE(m, nullptr);
  TRect mr = m->BoundsRect();
  String text;
  for (int i = 0; i < 30; ++i) text += u"<b>word</b> ";
  hint.ActivateHint(TRect(mr.Right - 50, mr.Top + 10, mr.Right, mr.Top + 30), text);
  EXPECT_TRUE(hint.Visible());
  EXPECT_EQ(hint.Left() + hint.Width(), mr.Right - 2);
  EXPECT_EQ(hint.Width(), hint.TextWidth() + 16);
  EXPECT_EQ(hint.Height(), hint.TextHeight() + 4);

  TRect calc = hint.CalcHintRect(100, u"a b c d e f g h i j k l m n o p", nullptr);
  EXPECT_EQ(calc.Left, 0);
  EXPECT_LE(calc.Width(), 100);
  EXPECT_GT(calc.Height(), TMeasureCanvas(hint.Canvas())->TextHeight(u"gh"));  // wrapped onto several lines
}

TEST(BalloonTipTest, WrapsAtItsWidthLimitAndShowsWithItsDelays) {
  TBalloonTip tip(nullptr);
  tip.SetTitle(u"Title");
  tip.SetTipIcon(btiWarning);
  tip.SetTipBkColor(TColor(0x00FFFF));
  String text;
  for (int i = 0; i < 60; ++i) text += u"word ";
  tip.SetTipText(text);
  TSize s = tip.TipSize();
  EXPECT_LE(s.cx, 300 + 16);
  EXPECT_GT(s.cy, 3 * TMeasureCanvas(tip.Canvas())->TextHeight(u"gh"));

  tip.SetInitialDelay(0);
  tip.SetAutoHideDelay(50);
  tip.Popup(TPoint(200, 200));
  EXPECT_TRUE(tip.Visible());
  EXPECT_EQ(tip.Left(), 200 - 16);
  EXPECT_EQ(tip.Top(), 200);
  auto shot = RenderControl(&tip);
  EXPECT_EQ(PixelColor(*shot, tip.Width() / 2, tip.Height() - 4), TColor(0x00FFFF));
  EXPECT_TRUE(WaitUntil([&] { return !tip.Visible(); }, 3000));

  tip.SetInitialDelay(30);
  tip.Popup(TPoint(10, 10));
  EXPECT_FALSE(tip.Visible());
  EXPECT_TRUE(WaitUntil([&] { return tip.Visible(); }, 3000));
  tip.Hide();
  EXPECT_FALSE(tip.Visible());
}

}  // namespace
