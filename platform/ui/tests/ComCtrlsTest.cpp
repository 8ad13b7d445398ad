#include <gtest/gtest.h>

#include <QApplication>
#include <QSlider>
#include <QTabBar>

#include "platform/ui/ComCtrls.h"
#include "platform/ui/Controls_p.h"
#include "platform/ui/Forms.h"
#include "StdCtrlsTestSupport.h"

namespace {

QTabBar* TabBarOf(TPageControl* pc) { return TControlHost::Widget(pc)->findChild<QTabBar*>(); }

// The user clicks tab Index of the page control's tab row.
void ClickTab(TPageControl* pc, int Index) {
  QTabBar* bar = TabBarOf(pc);
  QPoint at = bar->mapTo(TControlHost::Widget(pc), bar->tabRect(Index).center());
  SimulateClick(pc, at.x(), at.y());
}

struct PagesFixture : ::testing::Test {
  TForm form{nullptr};
  TPageControl* pc = new TPageControl(&form);
  TTabSheet* sheets[3];
  std::vector<String> log;
  PagesFixture() {
    form.SetBounds(0, 0, 400, 300);
    pc->SetParent(&form);
    pc->SetBounds(0, 0, 300, 200);
    const char16_t* captions[] = {u" ｺﾝﾄﾛｰﾙ&&ﾃｽﾄ   ", u" ｴｱｰﾓﾆﾀ  ", u"ID"};
    for (int i = 0; i < 3; ++i) {
      sheets[i] = new TTabSheet(&form);
      sheets[i]->SetPageControl(pc);
      sheets[i]->SetCaption(captions[i]);
    }
    pc->OnChanging = [this](TObject*, bool& Allow) {
      log.push_back(u"changing from " + IntToStr(pc->ActivePageIndex()));
      Allow = allow;
    };
    pc->OnChange = [this](TObject*) { log.push_back(u"change to " + IntToStr(pc->ActivePageIndex())); };
    form.Show();
  }
  bool allow = true;
};

TEST_F(PagesFixture, CodeSwitchesSilentlyTheUserThroughOnChanging) {
  EXPECT_EQ(pc->ActivePage(), sheets[0]);  // the first page added
  pc->SetActivePage(sheets[2]);
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(sheets[2]->Visible());
  EXPECT_FALSE(sheets[0]->Visible());
  EXPECT_EQ(TabBarOf(pc)->currentIndex(), 2);
  EXPECT_EQ(TabBarOf(pc)->tabText(0), QString::fromUtf16(u" ｺﾝﾄﾛｰﾙ&&ﾃｽﾄ   "));

  ClickTab(pc, 1);
  EXPECT_EQ(log, (std::vector<String>{u"changing from 2", u"change to 1"}));
  EXPECT_EQ(pc->ActivePage(), sheets[1]);
  // The page fills the display area.
  EXPECT_EQ(sheets[1]->BoundsRect(), pc->DisplayRect());
  EXPECT_GT(pc->DisplayRect().Top, 10);

  log.clear();
  allow = false;
  ClickTab(pc, 0);
  EXPECT_EQ(log, (std::vector<String>{u"changing from 1"}));
  EXPECT_EQ(pc->ActivePage(), sheets[1]);
  EXPECT_EQ(TabBarOf(pc)->currentIndex(), 1);

  allow = true;
  log.clear();
  ClickTab(pc, 1);  // the active tab: nothing
  SimulateKeyStroke(pc, VK_RIGHT);
  EXPECT_EQ(pc->ActivePage(), sheets[2]);
  EXPECT_EQ(log.size(), 2u);
}

TEST_F(PagesFixture, HiddenTabsAndTabsOnTheRight) {
  sheets[1]->SetTabVisible(false);
  EXPECT_EQ(pc->TabCount(), 2);
  EXPECT_EQ(sheets[2]->TabIndex(), 1);
  EXPECT_EQ(sheets[1]->TabIndex(), -1);
  ClickTab(pc, 1);
  EXPECT_EQ(pc->ActivePage(), sheets[2]);
  EXPECT_EQ(pc->FindNextPage(sheets[2], true, true), sheets[0]);
  EXPECT_EQ(pc->FindNextPage(sheets[0], true, false), sheets[1]);
  pc->SetActivePage(sheets[1]);  // a page without a tab can still be shown in code
  EXPECT_TRUE(sheets[1]->Visible());
  // Hiding the active page's tab moves on to the next page with a tab.
  pc->SetActivePage(sheets[2]);
  sheets[2]->SetTabVisible(false);
  EXPECT_EQ(pc->ActivePage(), sheets[0]);

  pc->SetTabPosition(tpRight);
  QTabBar* bar = TabBarOf(pc);
  EXPECT_EQ(bar->shape(), QTabBar::RoundedEast);
  EXPECT_GT(bar->geometry().left(), 200);
  EXPECT_LT(pc->DisplayRect().Right, bar->geometry().left() + 1);

  // Images of the tabs come from the image list.
  TImageList images(&form);
  TBitmap b(16, 16);
  images.AddMasked(&b, clDefault);
  pc->SetImages(&images);
  sheets[0]->SetImageIndex(0);
  EXPECT_FALSE(bar->tabIcon(0).isNull());

  delete sheets[0];
  EXPECT_EQ(pc->PageCount(), 2);
  EXPECT_NE(pc->ActivePage(), nullptr);
}

TEST(StatusBar, PanelsSideBySideTheLastToTheEdge) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 840, 200);
  auto* bar = new TStatusBar(&form);
  bar->SetParent(&form);
  EXPECT_EQ(bar->Top() + bar->Height(), form.ClientHeight());  // aligned to the bottom
  const int widths[] = {220, 50, 50, 50, 150, 220};
  for (int w : widths) bar->Panels()->Add()->SetWidth(w);
  EXPECT_EQ(bar->PanelRect(1).Left, 220);
  EXPECT_EQ(bar->PanelRect(5).Right, bar->ClientWidth());  // the last panel reaches the right edge
  EXPECT_THROW(bar->Panels()->Items(6), EListError);

  bar->Panels()->Items(0)->SetText(u"Port: /dev/ttyUSB0 / Rate: 19200 bps");
  bar->Panels()->Items(5)->SetText(u"ﾃｽﾄ");
  bar->Panels()->Items(5)->SetAlignment(taRightJustify);
  form.Show();
  QImage img = Render(bar);
  TRect first = bar->PanelRect(0), last = bar->PanelRect(5);
  EXPECT_GT(InkPixels(img, TRect(first.Left + 2, first.Top + 2, first.Left + 100, first.Bottom - 1)), 20);
  EXPECT_EQ(InkPixels(img, TRect(bar->PanelRect(2).Left + 2, 4, bar->PanelRect(2).Right - 2, img.height() - 2)), 0);
  // Right-aligned: ink near the right end of the panel, none at its start.
  EXPECT_GT(InkPixels(img, TRect(last.Right - 40, 3, last.Right - 2, last.Bottom - 1)), 5);

  bar->SetSimplePanel(true);
  bar->SetSimpleText(u"");
  img = Render(bar);
  EXPECT_EQ(InkPixels(img, TRect(first.Left + 2, first.Top + 2, first.Left + 100, first.Bottom - 1)), 0);
}

TEST(ToolBar, ButtonsInARowWithImagesAndCheckGroups) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 400, 100);
  auto* bar = new TToolBar(&form);
  bar->SetParent(&form);
  bar->SetButtonWidth(80);
  TImageList images(&form);
  TBitmap strip(48, 16);
  strip.Canvas()->Brush()->SetColor(clRed);
  strip.Canvas()->FillRect(TRect(0, 0, 48, 16));
  strip.Canvas()->Brush()->SetColor(clFuchsia);
  strip.Canvas()->FillRect(TRect(0, 15, 48, 16));
  EXPECT_EQ(images.AddMasked(&strip, clFuchsia), 0);
  EXPECT_EQ(images.Count(), 3);
  bar->SetImages(&images);

  TToolButton* b[4];
  int clicks = 0;
  for (int i = 0; i < 4; ++i) {
    b[i] = new TToolButton(&form);
    b[i]->SetParent(bar);
    b[i]->OnClick = [&](TObject*) { ++clicks; };
  }
  b[1]->SetStyle(tbsSeparator);
  b[0]->SetImageIndex(1);
  EXPECT_EQ(b[0]->BoundsRect(), TRect(0, 0, 80, 22));
  EXPECT_EQ(b[1]->Left(), 80);
  EXPECT_EQ(b[2]->Left(), 88);
  EXPECT_EQ(b[3]->Index(), 3);

  form.Show();
  QImage img = Render(bar);
  EXPECT_EQ(CountColor(img, b[0]->BoundsRect(), clRed, 0), 16 * 15);
  EXPECT_EQ(CountColor(img, b[0]->BoundsRect(), clFuchsia, 0), 0);

  ClickCentre(b[0]);
  EXPECT_EQ(clicks, 1);
  for (TToolButton* t : {b[2], b[3]}) {
    t->SetStyle(tbsCheck);
    t->SetGrouped(true);
  }
  ClickCentre(b[2]);
  EXPECT_TRUE(b[2]->Down());
  ClickCentre(b[3]);
  EXPECT_TRUE(b[3]->Down());
  EXPECT_FALSE(b[2]->Down());
  ClickCentre(b[3]);  // grouped: stays down
  EXPECT_TRUE(b[3]->Down());

  delete b[0];
  EXPECT_EQ(bar->ButtonCount(), 3);
  EXPECT_EQ(b[2]->Left(), 8);
}

TEST(TrackBar, PositionStaysInRangeAndReportsChanges) {
  TTrackBar t(nullptr);
  t.HandleNeeded();
  int changes = 0;
  t.OnChange = [&](TObject*) { ++changes; };
  t.SetMax(20);
  t.SetPosition(25);
  EXPECT_EQ(t.Position(), 20);
  t.SetPosition(20);
  EXPECT_EQ(changes, 1);
  t.SetMin(21);
  EXPECT_EQ(t.Position(), 21);
  auto* slider = qobject_cast<QSlider*>(TControlHost::Widget(&t));
  ASSERT_NE(slider, nullptr);
  t.SetMax(30);
  slider->setValue(25);  // the user
  EXPECT_EQ(t.Position(), 25);
  EXPECT_EQ(changes, 3);
}

// A key the user presses on a focused track bar, in either orientation: Left and Up step
// towards Min by LineSize, Right and Down towards Max; Page Up and Page Down by PageSize;
// Home and End to the ends. Each move fires OnChange once; a key at the end fires nothing.
struct TrackKeyCase {
  TTrackBarOrientation orientation;
  Word key;
  int start, expected;
};

struct TrackBarKeys : ::testing::TestWithParam<TrackKeyCase> {};

TEST_P(TrackBarKeys, MoveThePositionTheClassLibrarysWay) {
  const TrackKeyCase& c = GetParam();
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 300);
  auto* t = new TTrackBar(&form);
  t->SetParent(&form);
  t->SetOrientation(c.orientation);
  t->SetMax(20);
  t->SetLineSize(2);
  t->SetPageSize(5);
  t->SetPosition(c.start);
  form.Show();
  int changes = 0;
  t->OnChange = [&](TObject*) { ++changes; };
  SimulateKeyStroke(t, c.key);
  EXPECT_EQ(t->Position(), c.expected);
  EXPECT_EQ(changes, c.expected == c.start ? 0 : 1);
  EXPECT_EQ(qobject_cast<QSlider*>(TControlHost::Widget(t))->value(), c.expected);
}

std::vector<TrackKeyCase> TrackKeyCases() {
  std::vector<TrackKeyCase> cases;
  for (TTrackBarOrientation o : {trHorizontal, trVertical}) {
    cases.insert(cases.end(), {{o, VK_LEFT, 10, 8}, {o, VK_UP, 10, 8}, {o, VK_RIGHT, 10, 12}, {o, VK_DOWN, 10, 12},
                               {o, VK_PRIOR, 10, 5}, {o, VK_NEXT, 10, 15}, {o, VK_HOME, 10, 0}, {o, VK_END, 10, 20},
                               {o, VK_PRIOR, 3, 0}, {o, VK_NEXT, 18, 20}, {o, VK_UP, 0, 0}, {o, VK_DOWN, 20, 20}});
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Table, TrackBarKeys, ::testing::ValuesIn(TrackKeyCases()));

}  // namespace
