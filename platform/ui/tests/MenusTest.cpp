#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include "platform/ui/Controls_p.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Menus_p.h"
#include "platform/ui/StdCtrls.h"
#include "testing/TestSupport.h"

namespace {

TEST(ShortCut, TextAndKeysRoundTrip) {
  struct Case {
    Word key;
    TShiftState shift;
    const char16_t* text;
  };
  const Case cases[] = {
      {VK_F7, {}, u"F7"},
      {VK_F8, {ssShift}, u"Shift+F8"},
      {'O', {ssCtrl}, u"Ctrl+O"},
      {VK_DELETE, {ssShift, ssCtrl}, u"Shift+Ctrl+Del"},
      {VK_RETURN, {ssAlt}, u"Alt+Enter"},
      {'5', {}, u"5"},
      {VK_NUMPAD3, {}, u"Num 3"},
      {VK_OEM_COMMA, {ssCtrl}, u"Ctrl+,"},
  };
  for (const Case& c : cases) {
    TShortCut sc = ShortCut(c.key, c.shift);
    EXPECT_EQ(ShortCutToText(sc), c.text);
    EXPECT_EQ(TextToShortCut(c.text), sc) << StringToUTF8(c.text);
    Word key;
    TShiftState shift;
    ShortCutToKey(sc, key, shift);
    EXPECT_EQ(key, c.key);
    EXPECT_TRUE(shift == c.shift);
  }
  EXPECT_EQ(TextToShortCut(u"ctrl+shift+s"), ShortCut('S', {ssShift, ssCtrl}));
  for (const char16_t* bad : {u"", u"Ctrl+", u"Hyper+X", u"F99", u"ZZ"}) EXPECT_EQ(TextToShortCut(bad), scNone);
  EXPECT_EQ(ShortCutToText(scNone), u"");
  EXPECT_EQ(StripHotkey(u"&File && more"), u"File & more");
}

TEST(MenuItem, TreeOwnershipRadioGroupsAndClicks) {
  TForm form(nullptr);
  auto* menu = new TPopupMenu(&form);
  auto* a = new TMenuItem(&form);
  auto* b = new TMenuItem(&form);
  auto* c = new TMenuItem(&form);
  a->SetCaption(u"&3D");
  b->SetCaption(u"ﾉｰﾏﾙ");
  menu->Items()->Add({a, b});
  menu->Items()->Insert(0, c);
  EXPECT_EQ(a->MenuIndex(), 1);
  EXPECT_EQ(a->GetParentMenu(), menu);
  EXPECT_EQ(menu->Items()->Find(u"3d"), a);
  EXPECT_THROW(menu->Items()->Add(a), EMenuError);
  EXPECT_THROW(menu->Items()->Items(5), EMenuError);

  for (TMenuItem* i : {a, b}) {
    i->SetRadioItem(true);
    i->SetGroupIndex(1);
  }
  b->SetChecked(true);
  a->SetChecked(true);
  EXPECT_FALSE(b->Checked());
  c->SetRadioItem(true);  // another group
  c->SetGroupIndex(2);
  c->SetChecked(true);
  EXPECT_TRUE(a->Checked());

  int clicks = 0;
  c->OnClick = [&](TObject*) { ++clicks; };
  c->SetAutoCheck(true);
  c->Click();
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(c->Checked());
  c->SetEnabled(false);
  c->Click();
  EXPECT_EQ(clicks, 1);

  // Delete takes an item out without freeing it; Clear frees the rest.
  menu->Items()->Delete(0);
  EXPECT_EQ(c->Parent(), nullptr);
  const int owned = form.ComponentCount();
  menu->Items()->Clear();
  EXPECT_EQ(form.ComponentCount(), owned - 2);
  EXPECT_EQ(menu->Items()->Count(), 0);
  // An item freed by its owner leaves its parent.
  menu->Items()->Add(c);
  delete c;
  EXPECT_EQ(menu->Items()->Count(), 0);
}

// A form with a main menu, two pop-up menus with the same F7 and an edit that has the focus.
struct ShortcutFixture : ::testing::Test {
  TForm form{nullptr};
  TMainMenu* main = new TMainMenu(&form);
  TPopupMenu* control = new TPopupMenu(&form);
  TPopupMenu* air = new TPopupMenu(&form);
  TEdit* edit = new TEdit(&form);
  std::vector<String> log;
  TMenuItem* Item(TMenuItem* parent, const char16_t* caption, const char16_t* shortcut) {
    auto* i = new TMenuItem(&form);
    i->SetCaption(caption);
    i->SetShortCut(TextToShortCut(shortcut));
    i->OnClick = [this, caption](TObject*) { log.push_back(caption); };
    parent->Add(i);
    return i;
  }
  ShortcutFixture() {
    edit->SetParent(&form);
    edit->OnKeyDown = [this](TObject*, Word& Key, TShiftState) { log.push_back(u"key " + IntToStr(Key)); };
    auto* file = Item(main->Items(), u"ﾌｧｲﾙ", u"");
    Item(file, u"閉じる", u"Ctrl+Q");
    Item(control->Items(), u"ｽｸﾘｰﾝ消去", u"F7");
    Item(air->Items(), u"ｾﾝﾀｰﾗｲﾝ表示", u"F7");
    form.Show();
    edit->SetFocus();
  }
};

TEST_F(ShortcutFixture, OnlyTheFormsMenuAndItsCurrentPopupMenuAnswer) {
  EXPECT_EQ(FormMenu(&form), main);  // the first main menu of a form becomes its menu
  SimulateKeyStroke(edit, VK_F7);
  EXPECT_EQ(log, (std::vector<String>{u"key 118"}));  // no pop-up menu assigned yet

  log.clear();
  form.SetPopupMenu(control);
  SimulateKeyStroke(edit, VK_F7);
  form.SetPopupMenu(air);
  SimulateKeyStroke(edit, VK_F7);
  SimulateKeyStroke(edit, 'Q', {ssCtrl});
  EXPECT_EQ(log, (std::vector<String>{u"ｽｸﾘｰﾝ消去", u"ｾﾝﾀｰﾗｲﾝ表示", u"閉じる"}));

  // A disabled item (or parent) lets the key through; a hidden one still answers.
  log.clear();
  air->Items()->Items(0)->SetEnabled(false);
  SimulateKeyStroke(edit, VK_F7);
  main->Items()->Items(0)->SetVisible(false);
  SimulateKeyStroke(edit, 'Q', {ssCtrl});
  main->Items()->Items(0)->SetEnabled(false);
  SimulateKeyStroke(edit, 'Q', {ssCtrl});
  EXPECT_EQ(log, (std::vector<String>{u"key 118", u"閉じる", u"key 81"}));

  // Another form's keys are its own.
  TForm other(nullptr);
  auto* otherEdit = new TEdit(&other);
  otherEdit->SetParent(&other);
  other.Show();
  log.clear();
  otherEdit->OnKeyDown = [this](TObject*, Word& Key, TShiftState) { log.push_back(u"other " + IntToStr(Key)); };
  main->Items()->Items(0)->SetEnabled(true);
  SimulateKeyStroke(otherEdit, 'Q', {ssCtrl});
  EXPECT_EQ(log, (std::vector<String>{u"other 81"}));
}

TEST_F(ShortcutFixture, MainMenuBarFollowsTheItems) {
  QMenuBar* bar = FormMenuBar(&form);
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->actions().size(), 1);
  EXPECT_EQ(bar->actions()[0]->text(), QString::fromUtf16(u"ﾌｧｲﾙ"));
  QMenu* file = bar->actions()[0]->menu();
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->actions()[0]->text(), QString::fromUtf16(u"閉じる\tCtrl+Q"));
  file->actions()[0]->trigger();
  EXPECT_EQ(log, (std::vector<String>{u"閉じる"}));

  Item(main->Items(), u"ﾍﾙﾌﾟ", u"")->SetEnabled(false);
  bar = FormMenuBar(&form);
  ASSERT_EQ(bar->actions().size(), 2);
  EXPECT_FALSE(bar->actions()[1]->isEnabled());
  EXPECT_GT(FormMenuHeight(&form), 0);

  SetFormMenu(&form, nullptr);
  EXPECT_EQ(FormMenu(&form), nullptr);
  SimulateKeyStroke(edit, 'Q', {ssCtrl});
  EXPECT_EQ(log.back(), u"key 81");
}

TEST(MainMenu, BarLiesAboveTheClientAreaAndTheFormKeepsItsClientSize) {
  TForm form(nullptr);
  form.SetColor(clWhite);
  form.SetClientWidth(300);
  form.SetClientHeight(200);
  auto* panel = new TPanel(&form);
  panel->SetParent(&form);
  panel->SetBevelOuter(bvNone);
  panel->SetColor(clRed);
  panel->SetAlign(alTop);
  panel->SetHeight(40);
  const int outer = form.Height();

  auto* menu = new TMainMenu(&form);
  EXPECT_EQ(FormMenuHeight(&form), 0);  // no bar while the menu has no items
  auto* file = new TMenuItem(&form);
  file->SetCaption(u"ﾌｧｲﾙ");
  menu->Items()->Add(file);
  const int bar = FormMenuHeight(&form);
  ASSERT_GT(bar, 0);
  EXPECT_EQ(form.Height(), outer + bar);
  EXPECT_EQ(form.ClientHeight(), 200);
  EXPECT_EQ(form.ClientWidth(), 300);
  form.Show();
  ProcessPendingEvents();
  EXPECT_EQ(form.ClientHeight(), 200);
  // The frame around the client window is the form's window for the window system.
  ASSERT_TRUE(WaitUntil([&] { return form.Active(); }));
  EXPECT_EQ(Screen->ActiveForm(), &form);
  EXPECT_EQ(GetActiveWindow(), form.Handle());
  EXPECT_EQ(panel->Top(), 0);
  EXPECT_EQ(panel->Width(), 300);

  // Client coordinates start below the bar, for the window system as for the controls.
  QWidget* panelWidget = TControlHost::Widget(panel);
  EXPECT_EQ(panelWidget->mapTo(panelWidget->window(), QPoint(0, 0)), QPoint(0, bar));
  QPoint global = panelWidget->mapToGlobal(QPoint(0, 0));
  EXPECT_EQ(panel->ClientToScreen(TPoint(0, 0)), TPoint(global.x(), global.y()));
  RECT client, window;
  ASSERT_TRUE(GetClientRect(form.Handle(), &client));
  ASSERT_TRUE(GetWindowRect(form.Handle(), &window));
  EXPECT_EQ(client, Rect(0, 0, 300, 200));
  EXPECT_EQ(window.Height(), 200 + bar);

  // The panel shows whole below the bar, the form's colour below the panel.
  auto shot = RenderControl(&form);
  EXPECT_NE(PixelColor(*shot, 150, bar / 2), clRed);
  for (int y : {bar, bar + 20, bar + 39}) EXPECT_EQ(PixelColor(*shot, 150, y), clRed) << y;
  EXPECT_EQ(PixelColor(*shot, 150, bar + 45), clWhite);

  // Sizing by the client area, by the whole window, and without the menu.
  form.SetClientHeight(150);
  EXPECT_EQ(form.Height(), 150 + bar);
  SetWindowPos(form.Handle(), nullptr, 10, 20, 320, 260, SWP_NOZORDER);
  ProcessPendingEvents();
  EXPECT_EQ(form.Width(), 320);
  EXPECT_EQ(form.Height(), 260);
  EXPECT_EQ(form.ClientHeight(), 260 - bar);
  SetFormMenu(&form, nullptr);
  EXPECT_EQ(FormMenuHeight(&form), 0);
  EXPECT_EQ(form.Height(), 260 - bar);
  EXPECT_EQ(form.ClientHeight(), 260 - bar);
  ProcessPendingEvents();
  EXPECT_EQ(panelWidget->mapTo(panelWidget->window(), QPoint(0, 0)), QPoint(0, 0));

  // A window made again shows the bar again, the client area still below it.
  SetFormMenu(&form, menu);
  form.RecreateWnd();
  ProcessPendingEvents();
  EXPECT_EQ(FormMenuHeight(&form), bar);
  EXPECT_EQ(form.ClientHeight(), 260 - bar);
  panelWidget = TControlHost::Widget(panel);
  EXPECT_EQ(panelWidget->mapTo(panelWidget->window(), QPoint(0, 0)), QPoint(0, bar));
  ASSERT_NE(FormMenuBar(&form), nullptr);
  EXPECT_EQ(FormMenuBar(&form)->window(), panelWidget->window());
}

TEST_F(ShortcutFixture, PopupShowsTheVisibleItemsAndClicksTheChosenOneAfterClosing) {
  TPopupMenu* menu = control;
  Item(menu->Items(), u"-", u"");
  auto* hidden = Item(menu->Items(), u"拡張機能開く", u"F5");
  hidden->SetVisible(false);
  auto* sub = Item(menu->Items(), u"ｸﾞﾗﾌ外観", u"");
  Item(sub, u"3D", u"F3");
  auto* normal = Item(sub, u"ﾉｰﾏﾙ", u"F4");
  normal->SetChecked(true);
  normal->SetDefault(true);
  int popups = 0;
  menu->OnPopup = [&](TObject*) { ++popups; };

  QStringList shown;
  bool inside = false;
  QTimer::singleShot(0, [&] {
    auto* qm = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(qm, nullptr);
    for (QAction* a : qm->actions()) shown << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QMenu* subMenu = qm->actions()[2]->menu();
    ASSERT_NE(subMenu, nullptr);
    EXPECT_TRUE(subMenu->actions()[1]->isChecked());
    EXPECT_TRUE(subMenu->actions()[1]->font().bold());
    subMenu->actions()[0]->trigger();
    inside = log.empty();  // the item is clicked only after the menu has closed
    qm->close();
  });
  menu->Popup(100, 100);
  EXPECT_EQ(popups, 1);
  EXPECT_TRUE(inside);
  EXPECT_EQ(shown, (QStringList{QString::fromUtf16(u"ｽｸﾘｰﾝ消去\tF7"), "-", QString::fromUtf16(u"ｸﾞﾗﾌ外観")}));
  EXPECT_EQ(log, (std::vector<String>{u"3D"}));

  // A right click on a control without a menu of its own shows the form's pop-up menu once:
  // the request goes up from the control to the first one with a menu.
  form.SetPopupMenu(menu);
  QTimer::singleShot(0, [] {
    if (QWidget* w = QApplication::activePopupWidget()) w->close();
  });
  SimulateClick(edit, 5, 5, mbRight);
  EXPECT_EQ(popups, 2);
  EXPECT_EQ(menu->PopupComponent(), &form);
  // A control's own menu takes the request; the form's is not shown after it.
  auto* own = new TPopupMenu(&form);
  Item(own->Items(), u"own", u"");
  int ownPopups = 0;
  own->OnPopup = [&](TObject*) { ++ownPopups; };
  edit->SetPopupMenu(own);
  QTimer::singleShot(0, [] {
    if (QWidget* w = QApplication::activePopupWidget()) w->close();
  });
  SimulateClick(edit, 5, 5, mbRight);
  EXPECT_EQ(ownPopups, 1);
  EXPECT_EQ(popups, 2);
  EXPECT_EQ(own->PopupComponent(), edit);
}

}  // namespace
