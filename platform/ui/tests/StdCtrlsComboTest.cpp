// The combo box's notifications through CN_COMMAND, its dropped width, and the painting layer
// that shows what the control draws over its native window.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QListWidget>

#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/StdCtrls_p.h"
#include "platform/ui/tests/StdCtrlsTestSupport.h"
#include "platform/win/Gdi.h"

namespace {

// A combo box that records its notifications and draws a red frame on its layer.
class TLayeredCombo : public TComboBox {
public:
  using TComboBox::TComboBox;
  std::vector<WORD> Codes;
  std::vector<UINT> Painted;
  bool Frame = false;

protected:
  void CNCommand(TWMCommand& Message) override {
    Codes.push_back(Message.NotifyCode());
    TComboBox::CNCommand(Message);
  }
  void WMPaint(TWMPaint& Message) override {
    Painted.push_back(WM_PAINT);
    EXPECT_NE(Message.DC(), nullptr);
  }
  void WMNCPaint(TMessage& Message) override {
    Painted.push_back(WM_NCPAINT);
    auto dc = reinterpret_cast<HDC>(Message.WParam);
    if (!Frame || dc == nullptr) return;
    RECT r{0, 0, Width(), Height()};
    HBRUSH red = CreateSolidBrush(0x0000FF);
    FrameRect(dc, &r, red);
    DeleteObject(red);
  }
};

// A shown form holding one recording combo box.
struct TComboOnForm {
  TForm form{nullptr};
  TLayeredCombo box{nullptr};
  TComboOnForm(TComboBoxStyle Style, int Width, int Height) {
    form.SetBounds(0, 0, 320, 240);
    form.Show();
    box.SetParent(&form);
    box.SetStyle(Style);
    box.SetBounds(10, 10, Width, Height);
  }
};

TEST(ComboBoxLayer, ShowsWhatTheControlDrawsOverTheNativeLookAndPassesTheMouse) {
  TComboOnForm f(csSimple, 150, 100);
  TLayeredCombo& box = f.box;
  for (const char16_t* s : {u"MD", u"VE"}) box.Items()->Add(s);

  QImage plain = Render(&box);
  EXPECT_EQ(CountColor(plain, TRect(0, 0, 150, 1), clRed, 8), 0);
  ASSERT_GE(box.Painted.size(), 2u);
  EXPECT_EQ(box.Painted[0], UINT(WM_NCPAINT));
  EXPECT_EQ(box.Painted[1], UINT(WM_PAINT));

  box.Frame = true;
  box.Invalidate();
  QImage framed = Render(&box);
  EXPECT_EQ(CountColor(framed, TRect(0, 0, 150, 1), clRed, 8), 150);
  EXPECT_EQ(CountColor(framed, TRect(0, 99, 150, 100), clRed, 8), 150);
  EXPECT_EQ(CountColor(framed, TRect(0, 0, 1, 100), clRed, 8), 100);
  // Inside, the native edit and list still show: the layer is transparent there.
  EXPECT_EQ(CountColor(framed, TRect(4, 4, 140, 8), clRed, 8), 0);
  EXPECT_EQ(InkPixels(framed, TRect(2, 30, 140, 98)), InkPixels(plain, TRect(2, 30, 140, 98)));
  EXPECT_GT(InkPixels(plain, TRect(2, 30, 140, 98)), 10);

  // The mouse reaches the list under the layer.
  std::vector<String> picks;
  box.OnChange = [&](TObject*) { picks.push_back(box.Text()); };
  QWidget* native = TControlHost::Widget(&box);
  auto* list = native->findChild<QListWidget*>();
  ASSERT_NE(list, nullptr);
  QRect item = list->visualItemRect(list->item(1));
  QPoint at = list->viewport()->mapTo(native, item.center());
  SimulateClick(&box, at.x(), at.y());
  EXPECT_EQ(picks, std::vector<String>{u"VE"});
}

TEST(ComboBoxLayer, ListOpeningAndClosingArriveAsNotificationsAndTheDroppedWidthHolds) {
  TComboOnForm f(csDropDown, 80, 21);
  TLayeredCombo& box = f.box;
  for (const char16_t* s : {u"one", u"two"}) box.Items()->Add(s);
  int drops = 0, closes = 0;
  box.OnDropDown = [&](TObject*) { ++drops; };
  box.OnCloseUp = [&](TObject*) { ++closes; };

  EXPECT_EQ(box.Perform(CB_SETDROPPEDWIDTH, 240), 240);
  EXPECT_EQ(box.Perform(CB_GETDROPPEDWIDTH), 240);
  SimulateClick(&box, box.Width() - 6, box.Height() / 2);
  ASSERT_TRUE(box.DroppedDown());
  QAbstractItemView* view = qobject_cast<QComboBox*>(TControlHost::Widget(&box))->view();
  EXPECT_GE(view->width(), 240);
  EXPECT_EQ(box.Codes, std::vector<WORD>{CBN_DROPDOWN});
  EXPECT_EQ(drops, 1);
  EXPECT_EQ(closes, 0);

  QPoint at = view->viewport()->mapToGlobal(view->visualRect(view->model()->index(1, 0)).center());
  SimulateScreenClick(at.x(), at.y());
  EXPECT_FALSE(box.DroppedDown());
  EXPECT_EQ(box.Codes, (std::vector<WORD>{CBN_DROPDOWN, CBN_CLOSEUP}));
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(box.Text(), u"two");
}

TEST(ComboBoxLayer, TheDroppedListShowsDropDownCountItemsOfItemHeight) {
  TComboOnForm f(csDropDownList, 120, 21);
  TLayeredCombo& box = f.box;
  for (int i = 0; i < 10; ++i) box.Items()->Add(u"item " + IntToStr(i));
  box.SetItemHeight(22);
  box.SetDropDownCount(3);
  EXPECT_EQ(box.Perform(CB_GETITEMHEIGHT), 22);

  SimulateClick(&box, box.Width() - 6, box.Height() / 2);
  ASSERT_TRUE(box.DroppedDown());
  QAbstractItemView* view = qobject_cast<QComboBox*>(TControlHost::Widget(&box))->view();
  EXPECT_EQ(view->visualRect(view->model()->index(0, 0)).height(), 22);
  EXPECT_GE(view->viewport()->height(), 3 * 22);
  EXPECT_LT(view->viewport()->height(), 4 * 22);
  // The list drops below the box, not over it.
  EXPECT_GE(view->mapToGlobal(QPoint(0, 0)).y(), TControlHost::Widget(&box)->mapToGlobal(QPoint(0, box.Height())).y());

  // A height sent while the list is open reaches it at once.
  EXPECT_EQ(box.Perform(CB_SETITEMHEIGHT, 0, 18), 0);
  EXPECT_EQ(box.ItemHeight(), 18);
  EXPECT_EQ(view->visualRect(view->model()->index(0, 0)).height(), 18);
  SimulateKeyStroke(&box, VK_ESCAPE);
  EXPECT_FALSE(box.DroppedDown());
}

TEST(ComboBoxLayer, ASelectionFieldHeightFixesTheClosedHeight) {
  TComboOnForm f(csDropDown, 120, 21);
  TLayeredCombo& box = f.box;
  EXPECT_EQ(box.Perform(CB_GETITEMHEIGHT, WPARAM(-1)), 15);
  EXPECT_EQ(box.Perform(CB_SETITEMHEIGHT, WPARAM(-1), 24), 0);
  EXPECT_EQ(box.Height(), 30);
  EXPECT_EQ(TControlHost::Widget(&box)->height(), 30);
  // The rest of a larger height is the list's room, not the control's.
  box.SetBounds(10, 10, 120, 200);
  EXPECT_EQ(box.Height(), 30);
  EXPECT_EQ(box.Perform(CB_GETITEMHEIGHT, WPARAM(-1)), 24);
  // It holds when the window is made again for another drop-down style.
  box.SetStyle(csDropDownList);
  EXPECT_EQ(TControlHost::Widget(&box)->height(), 30);

  // Heights out of range are refused and change nothing.
  for (LPARAM bad : {LPARAM(0), LPARAM(-5), LPARAM(256)}) {
    EXPECT_EQ(box.Perform(CB_SETITEMHEIGHT, WPARAM(-1), bad), CB_ERR);
    EXPECT_EQ(box.Perform(CB_SETITEMHEIGHT, 0, bad), CB_ERR);
  }
  EXPECT_EQ(box.Height(), 30);
  EXPECT_EQ(box.ItemHeight(), 16);
}

TEST(ComboBoxOwnerDraw, ItemsAreDrawnByTheControlAtTheirHeightsAndOnlyPicked) {
  const TColor colours[] = {clRed, clLime, clBlue};
  for (TComboBoxStyle style : {csOwnerDrawFixed, csOwnerDrawVariable}) {
    TComboOnForm f(style, 120, 21);
    TLayeredCombo& box = f.box;
    for (const char16_t* s : {u"one", u"two", u"three"}) box.Items()->Add(s);
    box.SetItemHeight(14);
    std::vector<int> drawn;
    box.OnDrawItem = [&](TWinControl* c, int Index, TRect Rect, TOwnerDrawState) {
      EXPECT_EQ(c, &box);
      drawn.push_back(Index);
      box.Canvas()->Brush()->SetColor(colours[Index]);
      box.Canvas()->FillRect(Rect);
    };
    box.OnMeasureItem = [&](TWinControl*, int Index, int& Height) { Height += 6 * Index; };
    auto* native = qobject_cast<QComboBox*>(TControlHost::Widget(&box));
    ASSERT_NE(native, nullptr);
    EXPECT_FALSE(native->isEditable());

    SimulateClick(&box, box.Width() - 6, box.Height() / 2);
    ASSERT_TRUE(box.DroppedDown());
    QAbstractItemView* view = native->view();
    const QImage list = view->viewport()->grab().toImage();
    for (int i = 0; i < 3; ++i) {
      const QRect r = view->visualRect(view->model()->index(i, 0));
      EXPECT_EQ(r.height(), style == csOwnerDrawFixed ? 14 : 14 + 6 * i) << i;
      EXPECT_EQ(TColor(FromQColor(list.pixelColor(r.center()))), colours[i]) << i;
    }
    EXPECT_FALSE(drawn.empty());
    QPoint at = view->viewport()->mapToGlobal(view->visualRect(view->model()->index(2, 0)).center());
    SimulateScreenClick(at.x(), at.y());
    EXPECT_EQ(box.Text(), u"three");
    EXPECT_EQ(box.ItemIndex(), 2);
    // Only an item's text can be shown.
    box.SetText(u"four");
    EXPECT_EQ(box.ItemIndex(), -1);
  }
}

TEST(ComboBoxLayer, EnterInTheEditPartNeitherPicksNorAddsAnItem) {
  TComboOnForm f(csDropDown, 120, 21);
  TLayeredCombo& box = f.box;
  for (const char16_t* s : {u"MD", u"VE"}) box.Items()->Add(s);
  std::vector<String> events;
  box.OnChange = [&](TObject*) { events.push_back(u"change " + box.Text()); };
  box.OnSelect = [&](TObject*) { events.push_back(u"select " + box.Text()); };
  box.OnClick = [&](TObject*) { events.push_back(u"click"); };
  box.OnKeyDown = [&](TObject*, Word& Key, TShiftState) { events.push_back(u"key " + IntToStr(int(Key))); };
  ClickCentre(&box);
  for (const char16_t* typed : {u"VE", u"new"}) {
    box.SelectAll();
    SimulateTyping(&box, typed);
    events.clear();
    SimulateKeyStroke(&box, VK_RETURN);
    EXPECT_EQ(events, std::vector<String>{u"key 13"}) << String(typed).size();
    EXPECT_EQ(box.Text(), String(typed));
  }
  EXPECT_EQ(box.Items()->Count(), 2);
  EXPECT_EQ(qobject_cast<QComboBox*>(TControlHost::Widget(&box))->count(), 2);
  EXPECT_EQ(box.ItemIndex(), -1);
}

TEST(ComboBoxLayer, TypedCharactersCompleteToTheFirstItemTheyBegin) {
  for (TComboBoxStyle style : {csDropDown, csSimple}) {
    TComboOnForm f(style, 120, style == csSimple ? 90 : 21);
    TLayeredCombo& box = f.box;
    for (const char16_t* s : {u"Alpha", u"Beta", u"alphabet"}) box.Items()->Add(s);
    std::vector<String> changes;
    box.OnChange = [&](TObject*) { changes.push_back(box.Text()); };
    SimulateClick(&box, 10, 8);

    SimulateTyping(&box, u"al");
    EXPECT_EQ(box.Text(), u"Alpha");
    EXPECT_EQ(box.SelText(), u"pha");
    EXPECT_EQ(box.ItemIndex(), 0);
    EXPECT_EQ(changes, (std::vector<String>{u"Alpha", u"Alpha"}));
    SimulateTyping(&box, u"phab");
    EXPECT_EQ(box.Text(), u"alphabet");
    EXPECT_EQ(box.SelText(), u"et");
    EXPECT_EQ(box.ItemIndex(), 2);
    // Deleting is no typing: the text stays as left.
    SimulateKeyStroke(&box, VK_BACK);
    EXPECT_EQ(box.Text(), u"alphab");
    EXPECT_EQ(box.ItemIndex(), -1);
    SimulateTyping(&box, u"x");
    EXPECT_EQ(box.Text(), u"alphabx");

    box.SetAutoComplete(false);
    box.SelectAll();
    SimulateTyping(&box, u"B");
    EXPECT_EQ(box.Text(), u"B");
  }
}

}  // namespace
