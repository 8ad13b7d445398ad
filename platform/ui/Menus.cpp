// Menu items, main and pop-up menus, shortcut texts and the shortcut dispatch of forms.
#include "platform/ui/Menus.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <algorithm>
#include <map>

#include "platform/ui/Controls_p.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Forms_p.h"
#include "platform/ui/ImgList_p.h"
#include "platform/ui/Menus_p.h"
#include "platform/win/QtBridge_p.h"

// ---------------------------------------------------------------------------
// Shortcuts

namespace {

struct KeyName {
  Word key;
  const char16_t* name;
};

const KeyName kKeyNames[] = {
    {VK_BACK, u"BkSp"},     {VK_TAB, u"Tab"},       {VK_ESCAPE, u"Esc"},    {VK_RETURN, u"Enter"},
    {VK_SPACE, u"Space"},   {VK_PRIOR, u"PgUp"},    {VK_NEXT, u"PgDn"},     {VK_END, u"End"},
    {VK_HOME, u"Home"},     {VK_LEFT, u"Left"},     {VK_UP, u"Up"},         {VK_RIGHT, u"Right"},
    {VK_DOWN, u"Down"},     {VK_INSERT, u"Ins"},    {VK_DELETE, u"Del"},    {VK_MULTIPLY, u"Num *"},
    {VK_ADD, u"Num +"},     {VK_SUBTRACT, u"Num -"}, {VK_DECIMAL, u"Num Del"}, {VK_DIVIDE, u"Num /"},
    {VK_OEM_1, u";"},       {VK_OEM_PLUS, u"="},    {VK_OEM_COMMA, u","},   {VK_OEM_MINUS, u"-"},
    {VK_OEM_PERIOD, u"."},  {VK_OEM_2, u"/"},       {VK_OEM_3, u"`"},       {VK_OEM_4, u"["},
    {VK_OEM_5, u"\\"},      {VK_OEM_6, u"]"},       {VK_OEM_7, u"'"},
};

String KeyText(Word key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return String(1, Char(key));
  if (key >= VK_F1 && key <= VK_F1 + 23) return u"F" + FromQString(QString::number(key - VK_F1 + 1));
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD0 + 9) return u"Num " + String(1, Char(u'0' + key - VK_NUMPAD0));
  for (const KeyName& k : kKeyNames)
    if (k.key == key) return k.name;
  return String();
}

bool StartsWithNoCase(const QString& s, const QString& prefix) { return s.startsWith(prefix, Qt::CaseInsensitive); }

}  // namespace

TShortCut ShortCut(Word Key, TShiftState Shift) {
  if ((Key & 0xFF00) != 0) return scNone;
  TShortCut sc = Key;
  if (Shift.Contains(ssShift)) sc |= scShift;
  if (Shift.Contains(ssCtrl)) sc |= scCtrl;
  if (Shift.Contains(ssAlt)) sc |= scAlt;
  return sc;
}

void ShortCutToKey(TShortCut ShortCut, Word& Key, TShiftState& Shift) {
  Key = ShortCut & 0xFF;
  Shift = TShiftState();
  if (ShortCut & scShift) Shift.Include(ssShift);
  if (ShortCut & scCtrl) Shift.Include(ssCtrl);
  if (ShortCut & scAlt) Shift.Include(ssAlt);
}

String ShortCutToText(TShortCut ShortCut) {
  String name = KeyText(ShortCut & 0xFF);
  if (name.empty()) return String();
  String text;
  if (ShortCut & scShift) text += u"Shift+";
  if (ShortCut & scCtrl) text += u"Ctrl+";
  if (ShortCut & scAlt) text += u"Alt+";
  return text + name;
}

TShortCut TextToShortCut(const String& Text) {
  QString s = ToQString(Text).trimmed();
  TShortCut mods = 0;
  for (;;) {
    if (StartsWithNoCase(s, "Shift+")) mods |= scShift, s = s.mid(6);
    else if (StartsWithNoCase(s, "Ctrl+")) mods |= scCtrl, s = s.mid(5);
    else if (StartsWithNoCase(s, "Alt+")) mods |= scAlt, s = s.mid(4);
    else break;
  }
  if (s.isEmpty()) return scNone;
  for (int key = 1; key < 256; ++key) {
    String name = KeyText(Word(key));
    if (!name.empty() && QString::compare(ToQString(name), s, Qt::CaseInsensitive) == 0) return TShortCut(key) | mods;
  }
  return scNone;
}

String StripHotkey(const String& Text) {
  String out;
  for (size_t i = 0; i < Text.size(); ++i) {
    if (Text[i] == u'&') {
      if (i + 1 < Text.size() && Text[i + 1] == u'&') out += u'&';
      ++i;
      if (i < Text.size() && Text[i] != u'&') out += Text[i];
      continue;
    }
    out += Text[i];
  }
  return out;
}

bool IsAccel(Char Key, const String& Text) {
  for (size_t i = 0; i + 1 < Text.size(); ++i) {
    if (Text[i] != u'&') continue;
    if (Text[i + 1] == u'&') {
      ++i;
      continue;
    }
    return AnsiUpperCase(String(1, Text[i + 1])) == AnsiUpperCase(String(1, Key));
  }
  return false;
}

// ---------------------------------------------------------------------------
// TMenuItem

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem() {
  Destroying();
  if (FParent) FParent->Remove(this);
  while (!FItems.empty()) {
    TMenuItem* child = FItems.back();
    FItems.pop_back();
    child->FParent = nullptr;
    delete child;
  }
  MenuChanged();
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* i = this;
  while (i->FParent) i = i->FParent;
  return i->FMenu;
}

void TMenuItem::MenuChanged() {
  if (TMenu* m = GetParentMenu(); m && !m->IsDestroying()) m->MenuChanged();
}

void TMenuItem::SetCaption(const String& v) {
  if (v == FCaption) return;
  FCaption = v;
  MenuChanged();
}

void TMenuItem::SetShortCut(TShortCut v) {
  FShortCut = v;
  MenuChanged();
}

void TMenuItem::TurnSiblingsOff() {
  if (!FParent) return;
  for (TMenuItem* s : FParent->FItems)
    if (s != this && s->FRadioItem && s->FGroupIndex == FGroupIndex) s->FChecked = false;
}

void TMenuItem::SetChecked(bool v) {
  if (v == FChecked) return;
  FChecked = v;
  if (v && FRadioItem) TurnSiblingsOff();
  MenuChanged();
}

void TMenuItem::SetRadioItem(bool v) {
  FRadioItem = v;
  if (v && FChecked) TurnSiblingsOff();
  MenuChanged();
}

void TMenuItem::SetGroupIndex(uint8_t v) {
  FGroupIndex = v;
  if (FRadioItem && FChecked) TurnSiblingsOff();
  MenuChanged();
}

void TMenuItem::SetEnabled(bool v) {
  if (v == FEnabled) return;
  FEnabled = v;
  MenuChanged();
}

void TMenuItem::SetVisible(bool v) {
  if (v == FVisible) return;
  FVisible = v;
  MenuChanged();
}

void TMenuItem::SetDefault(bool v) {
  // One default item per parent.
  if (v && FParent)
    for (TMenuItem* s : FParent->FItems) s->FDefault = false;
  FDefault = v;
  MenuChanged();
}

void TMenuItem::SetImageIndex(int v) {
  FImageIndex = v;
  MenuChanged();
}

TMenuItem* TMenuItem::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EMenuError(u"Menu index out of range");
  return FItems[size_t(Index)];
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  return it == FItems.end() ? -1 : int(it - FItems.begin());
}

int TMenuItem::MenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }

void TMenuItem::SetMenuIndex(int v) {
  if (!FParent) return;
  TMenuItem* p = FParent;
  v = std::clamp(v, 0, p->Count() - 1);
  p->FItems.erase(p->FItems.begin() + MenuIndex());
  p->FItems.insert(p->FItems.begin() + v, this);
  MenuChanged();
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Add(std::initializer_list<TMenuItem*> AItems) {
  for (TMenuItem* i : AItems) Add(i);
}

void TMenuItem::Insert(int Index, TMenuItem* Item) {
  if (Item == nullptr) return;
  if (Item->FParent) throw EMenuError(u"Menu inserted twice");
  if (Index < 0 || Index > Count()) throw EMenuError(u"Menu index out of range");
  for (const TMenuItem* p = this; p; p = p->FParent)
    if (p == Item) throw EMenuError(u"A menu item cannot contain itself");
  FItems.insert(FItems.begin() + Index, Item);
  Item->FParent = this;
  if (Item->FRadioItem && Item->FChecked) Item->TurnSiblingsOff();
  MenuChanged();
}

void TMenuItem::Delete(int Index) {
  TMenuItem* item = Items(Index);
  FItems.erase(FItems.begin() + Index);
  item->FParent = nullptr;
  MenuChanged();
}

void TMenuItem::Remove(TMenuItem* Item) {
  int i = IndexOf(Item);
  if (i >= 0) Delete(i);
}

void TMenuItem::Clear() {
  while (!FItems.empty()) delete FItems.back();
}

TMenuItem* TMenuItem::Find(const String& ACaption) const {
  QString wanted = ToQString(StripHotkey(ACaption));
  for (TMenuItem* i : FItems)
    if (QString::compare(ToQString(StripHotkey(i->FCaption)), wanted, Qt::CaseInsensitive) == 0) return i;
  return nullptr;
}

void TMenuItem::Click() {
  if (!FEnabled) return;
  if (FAutoCheck) SetChecked(!FChecked);
  if (OnClick) OnClick(this);
}

// ---------------------------------------------------------------------------
// Shortcut dispatch: an application-wide key filter asks the form of the focused window.

namespace {

class ShortcutFilter : public QObject {
public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    auto* ke = static_cast<QKeyEvent*>(event);
    switch (ke->key()) {
      case Qt::Key_Shift: case Qt::Key_Control: case Qt::Key_Alt: case Qt::Key_Meta: case Qt::Key_AltGr:
        return false;
      default: break;
    }
    TWinControl* control = TControlHost::ControlOf(static_cast<QWidget*>(watched));
    TCustomForm* form = control ? GetParentForm(control) : nullptr;
    if (!form) return false;
    Word key = VirtualKeyOf(ke->key(), ke->modifiers());
    if (key == 0) return false;
    TShiftState shift = ShiftStateOf(ke->modifiers(), Qt::NoButton);
    bool handled = false;
    GuardedCall([&] {
      if (TPopupMenu* pm = form->PopupMenu()) handled = pm->IsShortCut(key, shift);
      if (!handled)
        if (TMainMenu* mm = FormMenu(form)) handled = mm->IsShortCut(key, shift);
    });
    return handled;
  }
};

void EnsureShortcutFilter() {
  static QPointer<ShortcutFilter> filter;
  if (filter || !qApp) return;
  filter = new ShortcutFilter;
  filter->setParent(qApp);
  qApp->installEventFilter(filter);
}

}  // namespace

// ---------------------------------------------------------------------------
// TMenu

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(new TMenuItem(this)) {
  FItems->FMenu = this;
  EnsureShortcutFilter();
}

TMenu::~TMenu() { Destroying(); }

void TMenu::SetImages(TCustomImageList* v) {
  FImages = v;
  if (v) v->FreeNotification(this);
  MenuChanged();
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) FImages = nullptr;
  if (AComponent == FItems) FItems = nullptr;
}

namespace {
TMenuItem* FindByShortCut(TMenuItem* parent, TShortCut sc) {
  for (int i = 0; i < parent->Count(); ++i) {
    TMenuItem* item = parent->Items(i);
    if (item->ShortCut() == sc) return item;
    if (TMenuItem* found = FindByShortCut(item, sc)) return found;
  }
  return nullptr;
}
}  // namespace

TMenuItem* TMenu::FindItem(TShortCut ShortCut) const {
  if (!FItems || ShortCut == scNone) return nullptr;
  return FindByShortCut(FItems, ShortCut);
}

bool TMenu::IsShortCut(Word Key, TShiftState Shift) {
  TMenuItem* item = FindItem(::ShortCut(Key, Shift));
  if (!item) return false;
  for (TMenuItem* p = item; p; p = p->Parent())
    if (!p->Enabled()) return false;
  item->Click();
  return true;
}

// ---------------------------------------------------------------------------
// Qt menus from items

void FillQtMenu(QMenu* Menu, TMenuItem* Parent, TCustomImageList* Images,
                const std::function<void(TMenuItem*)>& OnTrigger) {
  std::map<int, QActionGroup*> groups;
  for (int i = 0; i < Parent->Count(); ++i) {
    TMenuItem* item = Parent->Items(i);
    if (!item->Visible()) continue;
    if (item->IsLine()) {
      Menu->addSeparator();
      continue;
    }
    QString text = ToQString(item->Caption());
    if (item->ShortCut() != scNone) text += QLatin1Char('\t') + ToQString(ShortCutToText(item->ShortCut()));
    QAction* action;
    if (item->Count() > 0) {
      QMenu* sub = Menu->addMenu(text);
      FillQtMenu(sub, item, Images, OnTrigger);
      action = sub->menuAction();
    } else {
      action = Menu->addAction(text);
      QObject::connect(action, &QAction::triggered, Menu, [item, OnTrigger] { OnTrigger(item); });
    }
    action->setEnabled(item->Enabled());
    if (item->Checked() || item->RadioItem() || item->AutoCheck()) {
      action->setCheckable(true);
      action->setChecked(item->Checked());
    }
    if (item->RadioItem()) {
      QActionGroup*& g = groups[item->GroupIndex()];
      if (!g) g = new QActionGroup(Menu);
      g->addAction(action);
    }
    if (item->Default()) {
      QFont f = action->font();
      f.setBold(true);
      action->setFont(f);
    }
    QImage img = TImageListAccess::Image(Images, item->ImageIndex());
    if (!img.isNull()) action->setIcon(QIcon(QPixmap::fromImage(img)));
    if (!item->Hint().empty()) action->setStatusTip(ToQString(item->Hint()));
  }
}

// ---------------------------------------------------------------------------
// TMainMenu and forms

struct TMenuBarData {
  QPointer<QMenuBar> bar;  // owned; shown by the form's window
};

namespace {

std::map<const TCustomForm*, TMainMenu*>& FormMenus() {
  static std::map<const TCustomForm*, TMainMenu*> m;
  return m;
}

// Frees a bar that an item's handler may still be running from.
void DropBar(QPointer<QMenuBar>& bar) {
  if (!bar) return;
  bar->hide();
  bar->deleteLater();
  bar = nullptr;
}

}  // namespace

struct TMenuBarView {
  static QMenuBar* Bar(TMainMenu* menu) { return menu->FBar->bar.data(); }
  static void Rebuild(TMainMenu* menu) {
    TMenuBarData& d = *menu->FBar;
    if (!menu->FForm || !menu->Items()) {
      DropBar(d.bar);
      return;
    }
    if (!d.bar) {
      d.bar = new QMenuBar;
      d.bar->setNativeMenuBar(false);
    }
    QMenuBar* bar = d.bar;
    // Menus still open (an item's handler may be running) are freed later.
    for (QAction* a : bar->actions()) {
      bar->removeAction(a);
      if (QMenu* m = a->menu()) m->deleteLater();
      else a->deleteLater();
    }
    auto trigger = [](TMenuItem* item) { GuardedCall([item] { item->Click(); }); };
    TMenuItem* root = menu->Items();
    for (int i = 0; i < root->Count(); ++i) {
      TMenuItem* item = root->Items(i);
      if (!item->Visible()) continue;
      QAction* action;
      if (item->Count() > 0) {
        auto* sub = new QMenu(ToQString(item->Caption()), bar);
        FillQtMenu(sub, item, menu->Images(), trigger);
        action = bar->addMenu(sub);
      } else {
        action = bar->addAction(ToQString(item->Caption()));
        QObject::connect(action, &QAction::triggered, bar, [item, trigger] { trigger(item); });
      }
      action->setEnabled(item->Enabled());
    }
    SetFormMenuBar(menu->FForm, bar);
  }
};

TMainMenu::TMainMenu(TComponent* AOwner) : TMenu(AOwner), FBar(std::make_unique<TMenuBarData>()) {
  if (auto* form = dynamic_cast<TCustomForm*>(AOwner); form && !FormMenu(form)) SetFormMenu(form, this);
}

TMainMenu::~TMainMenu() {
  Destroying();
  if (FForm) SetFormMenu(FForm, nullptr);
  if (FBar->bar) delete FBar->bar.data();
}

void TMainMenu::MenuChanged() {
  if (FForm && !IsDestroying()) TMenuBarView::Rebuild(this);
}

void TMainMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TMenu::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FForm) {
    FormMenus().erase(FForm);
    FForm = nullptr;
    DropBar(FBar->bar);
  }
}

TMainMenu* FormMenu(const TCustomForm* Form) {
  auto& m = FormMenus();
  auto it = m.find(Form);
  return it == m.end() ? nullptr : it->second;
}

void SetFormMenu(TCustomForm* Form, TMainMenu* Menu) {
  if (!Form) return;
  TMainMenu* old = FormMenu(Form);
  if (old == Menu) return;
  if (old) {
    FormMenus().erase(Form);
    old->FForm = nullptr;
    old->RemoveFreeNotification(Form);
    // A form being freed keeps its size; its window takes no new bar.
    if (!Form->IsDestroying()) SetFormMenuBar(Form, nullptr);
    TMenuBarView::Rebuild(old);
  }
  if (Menu) {
    if (Menu->FForm) SetFormMenu(Menu->FForm, nullptr);
    FormMenus()[Form] = Menu;
    Menu->FForm = Form;
    Menu->FreeNotification(Form);
    TMenuBarView::Rebuild(Menu);
  }
}

int FormMenuHeight(const TCustomForm* Form) { return FormMenuBarHeight(Form); }

void UpdateFormMenuBar(TMainMenu* Menu) {
  if (Menu != nullptr) TMenuBarView::Rebuild(Menu);
}

QMenuBar* FormMenuBar(const TCustomForm* Form) {
  TMainMenu* m = FormMenu(Form);
  return m ? TMenuBarView::Bar(m) : nullptr;
}

// ---------------------------------------------------------------------------
// TPopupMenu

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {
  // The control layer shows context menus through this hook.
  if (!PopupMenuHook)
    PopupMenuHook = [](TPopupMenu* menu, TControl* control, int x, int y) {
      if (!menu->AutoPopup()) return;
      menu->SetPopupComponent(control);
      menu->Popup(x, y);
    };
}

TPopupMenu::~TPopupMenu() { Destroying(); }

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TMenu::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopupComponent) FPopupComponent = nullptr;
}

void TPopupMenu::Popup(int X, int Y) {
  if (OnPopup) OnPopup(this);
  if (!Items()) return;
  QMenu menu;
  TMenuItem* chosen = nullptr;
  FillQtMenu(&menu, Items(), Images(), [&chosen](TMenuItem* item) { chosen = item; });
  QPoint at(X, Y);
  if (FAlignment != paLeft) {
    int w = menu.sizeHint().width();
    at.rx() -= FAlignment == paRight ? w : w / 2;
  }
  menu.exec(at);
  if (chosen) chosen->Click();
}
