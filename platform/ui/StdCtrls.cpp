// Combo and list boxes, buttons, check and radio buttons, group box, scroll bar, label.
#include "platform/ui/StdCtrls.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <algorithm>
#include <utility>

#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StdCtrls_p.h"

namespace {
constexpr TColor kWindowColor = static_cast<TColor>(0xFF000005);
constexpr TColor kBtnFaceColor = static_cast<TColor>(0xFF00000F);
}  // namespace

// ---------------------------------------------------------------------------
// Items of combo and list boxes: kept here, mirrored into the widget.

class TItemControlStrings : public TStrings {
public:
  TItemControlStrings(std::function<void()> changed, std::function<bool()> sorted)
      : changed_(std::move(changed)), sorted_(std::move(sorted)) {}
  int Count() const override { return int(items_.size()); }
  String Get(int Index) const override { return items_.at(Check(Index)).text; }
  void Put(int Index, const String& S) override {
    items_.at(Check(Index)).text = S;
    Changed();
  }
  TObject* GetObject(int Index) const override { return items_.at(Check(Index)).object; }
  void PutObject(int Index, TObject* AObject) override { items_.at(Check(Index)).object = AObject; }
  void Insert(int Index, const String& S) override { InsertObject(Index, S, nullptr); }
  void InsertObject(int Index, const String& S, TObject* AObject) override {
    if (Index < 0 || Index > Count()) throw EStringListError(u"List index out of bounds");
    items_.insert(items_.begin() + Index, Item{S, AObject});
    Changed();
  }
  int AddObject(const String& S, TObject* AObject) override {
    int at = Count();
    if (sorted_()) {
      at = int(std::upper_bound(items_.begin(), items_.end(), S,
                                [this](const String& s, const Item& it) { return CompareStrings(s, it.text) < 0; }) -
               items_.begin());
    }
    InsertObject(at, S, AObject);
    return at;
  }
  int Add(const String& S) override { return AddObject(S, nullptr); }
  void Delete(int Index) override {
    items_.erase(items_.begin() + Check(Index));
    Changed();
  }
  void Clear() override {
    items_.clear();
    Changed();
  }
  void Sort() {
    std::stable_sort(items_.begin(), items_.end(),
                     [this](const Item& a, const Item& b) { return CompareStrings(a.text, b.text) < 0; });
    Changed();
  }
  QStringList ToQt() const {
    QStringList l;
    for (const Item& i : items_) l << ToQString(i.text);
    return l;
  }

protected:
  void SetUpdateState(bool Updating) override {
    updating_ = Updating;
    if (!Updating && pending_) Changed();
  }

private:
  struct Item {
    String text;
    TObject* object = nullptr;
  };
  size_t Check(int Index) const {
    if (Index < 0 || Index >= Count()) throw EStringListError(u"List index out of bounds");
    return size_t(Index);
  }
  void Changed() {
    pending_ = updating_;
    if (!updating_) changed_();
  }
  std::vector<Item> items_;
  std::function<void()> changed_;
  std::function<bool()> sorted_;
  bool updating_ = false;
  bool pending_ = false;
};

// ---------------------------------------------------------------------------
// TCustomComboBox

namespace {
// A combo box widget that tells its control when the list opens and closes.
class ComboWidget : public QComboBox {
public:
  std::function<void()> onDrop, onClose;
  void showPopup() override {
    if (onDrop) onDrop();
    QComboBox::showPopup();
  }
  void hidePopup() override {
    QComboBox::hidePopup();
    if (onClose) onClose();
  }
  bool enterInEdit = false;  // Enter in the edit part is being handled: no pick

protected:
  void keyPressEvent(QKeyEvent* e) override {
    enterInEdit = (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && lineEdit() != nullptr &&
                  !(view() != nullptr && view()->isVisible());
    QComboBox::keyPressEvent(e);
    enterInEdit = false;
  }
};

// The simple style: an edit with its list always shown below it. The container holds the focus
// and hands keys, focus and input-method events to the edit, so the control's key messages see
// every key typed; Up and Down move through the list as the user's choice.
class SimpleComboWidget : public QWidget {
public:
  SimpleComboWidget() {
    edit = new QLineEdit(this);
    list = new QListWidget(this);
    edit->setFocusProxy(this);
    list->setFocusPolicy(Qt::NoFocus);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
  }
  QLineEdit* edit;
  QListWidget* list;
  std::function<void(int)> onStep;  // Up (-1) or Down (+1) pressed

  void LayoutParts() {
    int h = std::min(height(), edit->sizeHint().height());
    edit->setGeometry(0, 0, width(), h);
    list->setGeometry(0, h, width(), std::max(0, height() - h));
  }

protected:
  void resizeEvent(QResizeEvent*) override { LayoutParts(); }
  void keyPressEvent(QKeyEvent* e) override {
    if ((e->key() == Qt::Key_Up || e->key() == Qt::Key_Down) && onStep) {
      onStep(e->key() == Qt::Key_Up ? -1 : 1);
      return;
    }
    edit->event(e);
  }
  void keyReleaseEvent(QKeyEvent* e) override { edit->event(e); }
  void focusInEvent(QFocusEvent* e) override { edit->event(e); }
  void focusOutEvent(QFocusEvent* e) override { edit->event(e); }
  void inputMethodEvent(QInputMethodEvent* e) override { edit->event(e); }
  QVariant inputMethodQuery(Qt::InputMethodQuery q) const override { return edit->inputMethodQuery(q); }
};
}  // namespace

struct TComboView {
  // The user chose a row of the simple style's list.
  static void PickRow(TCustomComboBox* c, int Row);
  // Hooks up the user-typing notification of the edit part.
  static void ConnectEdit(TCustomComboBox* c, QLineEdit* edit);
  // Completes the text just typed to the first item beginning with it.
  static void Complete(TCustomComboBox* c, QLineEdit* edit, const QString& text);
  static QComboBox* Box(const TCustomComboBox* c) { return NativeOf<QComboBox>(c); }
  static SimpleComboWidget* Simple(const TCustomComboBox* c) {
    return dynamic_cast<SimpleComboWidget*>(TControlHost::Widget(c));
  }
  // The edit part of either kind (none for a drop-down list).
  static QLineEdit* Edit(const TCustomComboBox* c) {
    if (QComboBox* box = Box(c)) return box->lineEdit();
    if (SimpleComboWidget* s = Simple(c)) return s->edit;
    return nullptr;
  }
  // The selected row when the edit still shows its text, else -1.
  static int Row(int row, const QString& shown, QListWidget* list) {
    if (row < 0 || !list->item(row)) return -1;
    return list->item(row)->text() == shown ? row : -1;
  }
  static void FillList(QListWidget* list, const QStringList& items, int row) {
    QSignalBlocker block(list);
    list->clear();
    list->addItems(items);
    list->setCurrentRow(row < list->count() ? row : -1);
    if (row < 0) list->clearSelection();
  }
};

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TWinControl(AOwner),
      FItems(std::make_unique<TItemControlStrings>([this] { ItemsChanged(); }, [this] { return FSorted; })),
      FCanvas(new TCanvas) {
  SetBounds(0, 0, 145, 21);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(kWindowColor);
  FControlStyle.Exclude(csClickEvents);
  FControlStyle.Exclude(csSetCaption);
}

TCustomComboBox::~TCustomComboBox() {
  // The window goes later, with the windowed control: hiding it then closes the list, which
  // must no longer reach this control's part.
  if (auto* box = dynamic_cast<ComboWidget*>(TControlHost::Widget(this))) {
    box->onDrop = nullptr;
    box->onClose = nullptr;
  }
  if (QWidget* w = TControlHost::Widget(this))
    for (QObject* child : w->children())
      if (auto* layer = dynamic_cast<TPaintOverLayer*>(child)) layer->Stop();
}

TStrings* TCustomComboBox::Items() const { return FItems.get(); }

void TCustomComboBox::SetItems(TStrings* v) {
  if (v) FItems->Assign(*v);
}

void TCustomComboBox::CreateWnd() {
  if (FStyle == csSimple) {
    CreateSimpleWnd();
    return;
  }
  auto* box = new ComboWidget;
  TControlHost::Attach(this, box, false);
  ApplySettings();
  CreateLayer();
  box->onDrop = [this] { Notify(CBN_DROPDOWN); };
  box->onClose = [this] { Notify(CBN_CLOSEUP); };
  // The user picked an item.
  QObject::connect(box, qOverload<int>(&QComboBox::activated), [this, box](int) {
    if (FInCode || box->enterInEdit) return;
    GuardedCall([this] {
      Click();
      Select();
    });
  });
  // Enter in the edit part is a key for the control: it neither picks an item nor adds one.
  box->setInsertPolicy(QComboBox::NoInsert);
  if (QLineEdit* edit = box->lineEdit()) TComboView::ConnectEdit(this, edit);
}

void TCustomComboBox::CreateSimpleWnd() {
  auto* w = new SimpleComboWidget;
  TControlHost::Attach(this, w, false);
  w->LayoutParts();
  ApplySettings();
  CreateLayer();
  TComboView::ConnectEdit(this, w->edit);
  // A click on an item is the user's pick: its text goes into the edit.
  QObject::connect(w->list, &QListWidget::itemClicked, [this, w](QListWidgetItem* item) {
    if (FInCode || !item) return;
    TComboView::PickRow(this, w->list->row(item));
  });
  QObject::connect(w->list, &QListWidget::itemDoubleClicked, [this](QListWidgetItem*) {
    if (!FInCode) GuardedCall([this] { DblClick(); });
  });
  w->onStep = [this, w](int step) {
    int count = w->list->count();
    if (count == 0) return;
    int row = TComboView::Row(w->list->currentRow(), w->edit->text(), w->list);
    int next = row < 0 ? (step > 0 ? 0 : count - 1) : std::clamp(row + step, 0, count - 1);
    if (next != row) TComboView::PickRow(this, next);
  };
}

void TComboView::PickRow(TCustomComboBox* c, int Row) {
  SimpleComboWidget* w = Simple(c);
  if (!w || Row < 0 || Row >= w->list->count()) return;
  {
    TInCode guard(c->FInCode);
    w->list->setCurrentRow(Row);
    w->edit->setText(w->list->item(Row)->text());
    w->edit->selectAll();
  }
  GuardedCall([c] {
    c->Click();
    c->Select();
  });
}

void TComboView::ConnectEdit(TCustomComboBox* c, QLineEdit* edit) {
  edit->setValidator(new TCharCaseValidator(edit, c->FCharCase));
  // The user typed in the edit part.
  QObject::connect(edit, &QLineEdit::textEdited, edit, [c, edit](const QString& text) {
    if (c->FInCode) return;
    if (SimpleComboWidget* w = Simple(c)) {
      // The list follows the text: the item it names exactly, or none.
      TInCode guard(c->FInCode);
      QList<QListWidgetItem*> found = w->list->findItems(text, Qt::MatchExactly);
      if (found.isEmpty()) {
        w->list->setCurrentRow(-1);
        w->list->clearSelection();
      } else {
        w->list->setCurrentItem(found.first());
        w->list->scrollToItem(found.first());
      }
    }
    Complete(c, edit, text);
    GuardedCall([c] { c->Change(); });
  });
}

void TComboView::Complete(TCustomComboBox* c, QLineEdit* edit, const QString& text) {
  const bool typed = std::exchange(c->FTyped, false);
  if (!typed || !c->FAutoComplete || text.isEmpty() || edit->cursorPosition() != text.size()) return;
  const QStringList items = c->FItems->ToQt();
  const auto item = std::find_if(items.begin(), items.end(),
                                 [&](const QString& i) { return i.startsWith(text, Qt::CaseInsensitive); });
  if (item == items.end()) return;
  const int row = int(item - items.begin());
  TInCode guard(c->FInCode);
  if (SimpleComboWidget* w = Simple(c)) {
    w->list->setCurrentRow(row);
    w->list->scrollToItem(w->list->item(row));
  } else if (QComboBox* box = Box(c)) {
    box->setCurrentIndex(row);
  }
  edit->setText(*item);
  edit->setSelection(int(text.size()), int(item->size() - text.size()));
}

void TCustomComboBox::ApplySettings() {
  TInCode guard(FInCode);
  const String text = TControl::GetText();
  if (SimpleComboWidget* w = TComboView::Simple(this)) {
    TComboView::FillList(w->list, FItems->ToQt(), FItemIndex);
    w->edit->setText(ToQString(text));
    w->edit->setMaxLength(FMaxLength > 0 ? FMaxLength : 32767);
    ApplyColor(w->edit, Color(), QPalette::Base);
    ApplyColor(w->list, Color(), QPalette::Base);
    return;
  }
  QComboBox* box = TComboView::Box(this);
  if (!box) return;
  box->setEditable(!PickOnly());
  box->clear();
  box->addItems(FItems->ToQt());
  box->setMaxVisibleItems(std::max(1, FDropDownCount));
  box->setCurrentIndex(FItemIndex);
  if (QLineEdit* edit = box->lineEdit()) {
    edit->setText(ToQString(text));
    edit->setMaxLength(FMaxLength > 0 ? FMaxLength : 32767);
    box->setCompleter(nullptr);
  }
  ApplyColor(box, Color(), QPalette::Base);
}

void TCustomComboBox::ItemsChanged() {
  if (SimpleComboWidget* w = TComboView::Simple(this)) {
    TInCode guard(FInCode);
    QString text = w->edit->text();
    TComboView::FillList(w->list, FItems->ToQt(), w->list->currentRow());
    w->edit->setText(text);
    return;
  }
  QComboBox* box = TComboView::Box(this);
  if (!box) {
    if (FItemIndex >= FItems->Count()) FItemIndex = -1;
    return;
  }
  TInCode guard(FInCode);
  QString text = box->currentText();
  int index = box->currentIndex();
  box->clear();
  box->addItems(FItems->ToQt());
  box->setCurrentIndex(index < box->count() ? index : -1);
  if (box->isEditable()) box->setEditText(text);
}

int TCustomComboBox::ItemIndex() const {
  if (SimpleComboWidget* w = TComboView::Simple(this))
    return TComboView::Row(w->list->currentRow(), w->edit->text(), w->list);
  if (QComboBox* box = TComboView::Box(this)) {
    // An editable box whose text no longer matches the selected item has none selected.
    int i = box->currentIndex();
    if (i >= 0 && box->isEditable() && box->currentText() != box->itemText(i)) return -1;
    return i;
  }
  return FItemIndex;
}

void TCustomComboBox::SetItemIndex(int v) {
  if (v < -1 || v >= FItems->Count()) v = -1;
  FItemIndex = v;
  TControl::SetTextBuf(v >= 0 ? FItems->Get(v) : String());
  TInCode guard(FInCode);
  if (SimpleComboWidget* w = TComboView::Simple(this)) {
    w->list->setCurrentRow(v);
    if (v < 0) w->list->clearSelection();
    w->edit->setText(v >= 0 ? ToQString(FItems->Get(v)) : QString());
  } else if (QComboBox* box = TComboView::Box(this)) {
    box->setCurrentIndex(v);
    if (box->isEditable()) box->setEditText(v >= 0 ? ToQString(FItems->Get(v)) : QString());
  }
}

String TCustomComboBox::GetText() const {
  if (SimpleComboWidget* w = TComboView::Simple(this)) return FromQString(w->edit->text());
  if (QComboBox* box = TComboView::Box(this)) return FromQString(box->currentText());
  return TControl::GetText();
}

void TCustomComboBox::SetTextBuf(const String& v) {
  TControl::SetTextBuf(v);
  TInCode guard(FInCode);
  int i = FItems->IndexOf(v);
  FItemIndex = i;
  if (SimpleComboWidget* w = TComboView::Simple(this)) {
    w->list->setCurrentRow(i);
    if (i < 0) w->list->clearSelection();
    w->edit->setText(ToQString(v));
    return;
  }
  QComboBox* box = TComboView::Box(this);
  if (PickOnly()) {
    // Only an item's text can be shown: select it, or nothing.
    if (box) box->setCurrentIndex(i);
  } else if (box) {
    box->setCurrentIndex(i);
    box->setEditText(ToQString(v));
  }
}

void TCustomComboBox::SetStyle(TComboBoxStyle v) {
  if (v == FStyle) return;
  // The window is made anew for the style, keeping the text and the selection.
  if (HandleAllocated()) {
    FItemIndex = ItemIndex();
    TControl::SetTextBuf(GetText());
  }
  FStyle = v;
  if (PickOnly()) FItemIndex = FItems->IndexOf(TControl::GetText());
  RecreateWnd();
}

void TCustomComboBox::SetSorted(bool v) {
  FSorted = v;
  if (v) FItems->Sort();
}

void TCustomComboBox::SetDropDownCount(int v) {
  FDropDownCount = v;
  if (QComboBox* box = TComboView::Box(this)) box->setMaxVisibleItems(std::max(1, v));
}

bool TCustomComboBox::DroppedDown() const {
  QComboBox* box = TComboView::Box(this);
  return box && box->view() && box->view()->isVisible();
}

void TCustomComboBox::SetDroppedDown(bool v) {
  if (QComboBox* box = TComboView::Box(this)) v ? box->showPopup() : box->hidePopup();
}

void TCustomComboBox::SetMaxLength(int v) {
  FMaxLength = std::max(0, v);
  if (QLineEdit* e = TComboView::Edit(this)) e->setMaxLength(FMaxLength > 0 ? FMaxLength : 32767);
}

void TCustomComboBox::SetCharCase(TEditCharCase v) {
  FCharCase = v;
  QLineEdit* e = TComboView::Edit(this);
  if (!e || v == ecNormal) return;
  const QString shown = e->text(), cased = v == ecUpperCase ? shown.toUpper() : shown.toLower();
  if (cased != shown) SetText(FromQString(cased));
}
void TCustomComboBox::SetAutoComplete(bool v) { FAutoComplete = v; }

int TCustomComboBox::SelStart() const {
  QLineEdit* e = TComboView::Edit(this);
  if (!e) return 0;
  return e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
}

void TCustomComboBox::SetSelStart(int v) {
  if (QLineEdit* e = TComboView::Edit(this)) e->setCursorPosition(v);
}

int TCustomComboBox::SelLength() const {
  QLineEdit* e = TComboView::Edit(this);
  return e ? int(e->selectedText().size()) : 0;
}

void TCustomComboBox::SetSelLength(int v) {
  if (QLineEdit* e = TComboView::Edit(this)) e->setSelection(SelStart(), v);
}

String TCustomComboBox::SelText() const {
  QLineEdit* e = TComboView::Edit(this);
  return e ? FromQString(e->selectedText()) : String();
}

void TCustomComboBox::SetSelText(const String& v) {
  QLineEdit* e = TComboView::Edit(this);
  if (!e) return;
  TInCode guard(FInCode);
  e->insert(ToQString(v));
}

void TCustomComboBox::SelectAll() {
  if (QLineEdit* e = TComboView::Edit(this)) e->selectAll();
}

void TCustomComboBox::Clear() {
  FItems->Clear();
  SetItemIndex(-1);
}

void TCustomComboBox::KeyDown(Word& Key, TShiftState Shift) {
  FTyped = false;
  TWinControl::KeyDown(Key, Shift);
}

void TCustomComboBox::KeyPress(Char& Key) {
  TWinControl::KeyPress(Key);
  FTyped = Key >= 0x20 && Key != 0x7F;
}

void TCustomComboBox::Change() {
  if (OnChange) OnChange(this);
}

void TCustomComboBox::Select() {
  if (OnSelect)
    OnSelect(this);
  else
    Change();
}

void TCustomComboBox::DropDown() {
  if (OnDropDown) OnDropDown(this);
}

void TCustomComboBox::CloseUp() {
  if (OnCloseUp) OnCloseUp(this);
}

void TCustomComboBox::CMColorChanged(TMessage& Message) {
  TWinControl::CMColorChanged(Message);
  if (SimpleComboWidget* w = TComboView::Simple(this)) {
    ApplyColor(w->edit, Color(), QPalette::Base);
    ApplyColor(w->list, Color(), QPalette::Base);
    return;
  }
  ApplyColor(TControlHost::Widget(this), Color(), QPalette::Base);
}

// ---------------------------------------------------------------------------
// TCustomListBox

// Draws the items of an owner-drawn list box through its DrawItem, each on an image of the
// item's size that then goes to the screen, at the list's item height.
class TOwnerDrawDelegate : public QStyledItemDelegate {
public:
  TOwnerDrawDelegate(TCustomListBox* box, QObject* parent) : QStyledItemDelegate(parent), box_(box) {}
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return QSize(QStyledItemDelegate::sizeHint(option, index).width(), std::max(1, box_->FItemHeight));
  }
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    PaintOwnerDrawnItem(painter, option, box_->FCanvas.get(), box_->Font(), box_->Color(),
                        [&](TRect r, TOwnerDrawState state) { box_->DrawItem(index.row(), r, state); });
  }

private:
  TCustomListBox* box_;
};

void PaintOwnerDrawnItem(QPainter* Painter, const QStyleOptionViewItem& Option, TCanvas* Canvas, TFont* Font,
                         TColor Color, const std::function<void(TRect, TOwnerDrawState)>& Draw) {
  QImage image(Option.rect.size(), QImage::Format_RGB32);
  image.fill(Qt::white);
  HDC dc = CreateDeviceDC(&image);
  if (dc == nullptr) return;
  TOwnerDrawState state;
  if (Option.state.testFlag(QStyle::State_Selected)) state.Include(odSelected);
  if (Option.state.testFlag(QStyle::State_HasFocus)) state.Include(odFocused);
  if (!Option.state.testFlag(QStyle::State_Enabled)) state.Include(odDisabled);
  Canvas->Lock();
  Canvas->SetHandle(dc);
  Canvas->Font()->Assign(Font);
  Canvas->Brush()->SetColor(state.Contains(odSelected) ? clHighlight : Color);
  Canvas->Font()->SetColor(state.Contains(odSelected) ? clHighlightText : Font->Color());
  GuardedCall([&] { Draw(Rect(0, 0, image.width(), image.height()), state); });
  Canvas->SetHandle(nullptr);
  Canvas->Unlock();
  DeleteDeviceDC(dc);
  Painter->drawImage(Option.rect.topLeft(), image);
}

void TCustomListBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State) {
  if (OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  FCanvas->FillRect(Rect);
  if (Index >= 0 && Index < FItems->Count()) FCanvas->TextOut(Rect.Left + 2, Rect.Top, FItems->Strings(Index));
}

void TCustomListBox::SetStyle(TListBoxStyle v) {
  FStyle = v;
  ApplyStyle();
}

void TCustomListBox::ApplyStyle() {
  QListWidget* list = NativeOf<QListWidget>(this);
  if (!list) return;
  const bool ownerDraw = FStyle == lbOwnerDrawFixed || FStyle == lbOwnerDrawVariable;
  QAbstractItemDelegate* old = list->itemDelegate();
  if (ownerDraw && dynamic_cast<TOwnerDrawDelegate*>(old) == nullptr) list->setItemDelegate(new TOwnerDrawDelegate(this, list));
  else if (!ownerDraw && dynamic_cast<TOwnerDrawDelegate*>(old) != nullptr) list->setItemDelegate(new QStyledItemDelegate(list));
  else return;
  if (dynamic_cast<TOwnerDrawDelegate*>(old) != nullptr) old->deleteLater();
  list->setUniformItemSizes(ownerDraw);
  list->doItemsLayout();
}

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TWinControl(AOwner),
      FCanvas(new TCanvas),
      FItems(std::make_unique<TItemControlStrings>([this] { ItemsChanged(); }, [this] { return FSorted; })) {
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(kWindowColor);
}

TCustomListBox::~TCustomListBox() = default;

TStrings* TCustomListBox::Items() const { return FItems.get(); }

void TCustomListBox::SetItems(TStrings* v) {
  if (v) FItems->Assign(*v);
}

namespace {
// A list's items lie in its viewport, whose mouse input Qt hands to the list directly: the
// control gets it as mouse messages, and the list handles it as ever.
class TListViewportFilter : public QObject {
public:
  TListViewportFilter(TCustomListBox* box, QListWidget* list) : QObject(list), box_(box), list_(list) {}
  bool eventFilter(QObject*, QEvent* e) override {
    UINT msg = 0;
    switch (e->type()) {
      case QEvent::MouseButtonPress: msg = WM_LBUTTONDOWN; break;
      case QEvent::MouseButtonRelease: msg = WM_LBUTTONUP; break;
      case QEvent::MouseButtonDblClick: msg = WM_LBUTTONDBLCLK; break;
      case QEvent::MouseMove: msg = WM_MOUSEMOVE; break;
      default: return false;
    }
    auto* me = static_cast<QMouseEvent*>(e);
    if (me->button() == Qt::RightButton) msg = msg == WM_LBUTTONDOWN ? WM_RBUTTONDOWN : msg == WM_LBUTTONUP ? WM_RBUTTONUP : msg;
    if (msg == WM_LBUTTONDBLCLK && me->button() != Qt::LeftButton) return false;
    WPARAM keys = 0;
    if (me->buttons().testFlag(Qt::LeftButton)) keys |= MK_LBUTTON;
    if (me->buttons().testFlag(Qt::RightButton)) keys |= MK_RBUTTON;
    if (me->modifiers().testFlag(Qt::ShiftModifier)) keys |= MK_SHIFT;
    if (me->modifiers().testFlag(Qt::ControlModifier)) keys |= MK_CONTROL;
    const QPoint p = list_->viewport()->mapTo(list_, me->position().toPoint());
    GuardedCall([&] { box_->Perform(msg, keys, MAKELPARAM(WORD(p.x()), WORD(p.y()))); });
    return false;
  }

private:
  TCustomListBox* box_;
  QListWidget* list_;
};
}  // namespace

void TCustomListBox::CreateWnd() {
  auto* list = new QListWidget;
  TControlHost::Attach(this, list, false);
  list->viewport()->installEventFilter(new TListViewportFilter(this, list));
  list->addItems(FItems->ToQt());
  list->setSelectionMode(FMultiSelect ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
  list->setCurrentRow(FItemIndex);
  ApplyColor(list, Color(), QPalette::Base);
  ApplyStyle();
}

void TCustomListBox::ItemsChanged() {
  QListWidget* list = NativeOf<QListWidget>(this);
  if (!list) {
    if (FItemIndex >= FItems->Count()) FItemIndex = -1;
    return;
  }
  int row = list->currentRow();
  list->clear();
  list->addItems(FItems->ToQt());
  list->setCurrentRow(row < list->count() ? row : -1);
}

int TCustomListBox::ItemIndex() const {
  if (QListWidget* list = NativeOf<QListWidget>(this)) {
    int row = list->currentRow();
    // A single-selection list's index is its selected item: the focus mark alone (as the
    // keyboard focus leaves it on the first item) selects nothing.
    if (!FMultiSelect && row >= 0 && !list->item(row)->isSelected()) return -1;
    return row;
  }
  return FItemIndex;
}

void TCustomListBox::SetItemIndex(int v) {
  if (v < -1 || v >= FItems->Count()) v = -1;
  FItemIndex = v;
  if (QListWidget* list = NativeOf<QListWidget>(this)) {
    list->setCurrentRow(v);
    if (v < 0) list->clearSelection();
  }
}

void TCustomListBox::SetSorted(bool v) {
  FSorted = v;
  if (v) FItems->Sort();
}

void TCustomListBox::SetMultiSelect(bool v) {
  FMultiSelect = v;
  if (QListWidget* list = NativeOf<QListWidget>(this))
    list->setSelectionMode(v ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

bool TCustomListBox::Selected(int Index) const {
  QListWidget* list = NativeOf<QListWidget>(this);
  if (!list) return Index == FItemIndex;
  QListWidgetItem* it = list->item(Index);
  return it && it->isSelected();
}

void TCustomListBox::SetSelected(int Index, bool v) {
  if (QListWidget* list = NativeOf<QListWidget>(this)) {
    if (QListWidgetItem* it = list->item(Index)) it->setSelected(v);
  } else if (v) {
    FItemIndex = Index;
  }
}

int TCustomListBox::SelCount() const {
  QListWidget* list = NativeOf<QListWidget>(this);
  return list ? int(list->selectedItems().size()) : (FItemIndex >= 0 ? 1 : 0);
}

int TCustomListBox::TopIndex() const {
  QListWidget* list = NativeOf<QListWidget>(this);
  if (!list) return 0;
  QListWidgetItem* it = list->itemAt(0, 0);
  return it ? list->row(it) : 0;
}

void TCustomListBox::SetTopIndex(int v) {
  if (QListWidget* list = NativeOf<QListWidget>(this))
    if (QListWidgetItem* it = list->item(v)) list->scrollToItem(it, QAbstractItemView::PositionAtTop);
}

void TCustomListBox::SetItemHeight(int v) {
  if (v <= 0) return;
  FItemHeight = v;
  if (QListWidget* list = NativeOf<QListWidget>(this)) list->doItemsLayout();
}

int TCustomListBox::ItemAtPos(const TPoint& Pos, bool Existing) const {
  QListWidget* list = NativeOf<QListWidget>(this);
  if (!list) return -1;
  QListWidgetItem* it = list->itemAt(Pos.X, Pos.Y);
  if (it) return list->row(it);
  return Existing ? -1 : list->count();
}

TRect TCustomListBox::ItemRect(int Index) const {
  QListWidget* list = NativeOf<QListWidget>(this);
  if (!list || !list->item(Index)) return TRect();
  QRect r = list->visualItemRect(list->item(Index));
  return TRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
}

void TCustomListBox::Clear() {
  FItems->Clear();
  FItemIndex = -1;
}

void TCustomListBox::ClearSelection() {
  if (QListWidget* list = NativeOf<QListWidget>(this)) list->clearSelection();
  FItemIndex = -1;
}

void TCustomListBox::SelectAll() {
  if (QListWidget* list = NativeOf<QListWidget>(this))
    if (FMultiSelect) list->selectAll();
}

int TCustomListBox::Count() const { return FItems->Count(); }

void TCustomListBox::CMColorChanged(TMessage& Message) {
  TWinControl::CMColorChanged(Message);
  ApplyColor(TControlHost::Widget(this), Color(), QPalette::Base);
}

// ---------------------------------------------------------------------------
// Buttons

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner) {
  SetTabStop(true);
  // The native button reports clicks itself (mouse and keyboard): no second click from the mouse messages.
  FControlStyle.Exclude(csClickEvents);
}

namespace {

// Qt would click a native button on its caption's Alt+letter by itself, before the focused
// control sees the key; accelerators go through CM_DIALOGCHAR instead, like the painted ones.
void NoNativeMnemonic(QAbstractButton* b) {
  if (b != nullptr) b->setShortcut(QKeySequence());
}

// The character of a CM_DIALOGCHAR marks the control's caption and the control can take it.
bool AcceleratorFor(TWinControl* Control, TWMKey& Message) {
  return IsAccel(static_cast<Char>(Message.CharCode()), Control->Caption()) && Control->CanFocus();
}

}  // namespace

String TButtonControl::GetText() const {
  if (auto* b = NativeOf<QAbstractButton>(this)) return FromQString(b->text());
  return TControl::GetText();
}

void TButtonControl::SetTextBuf(const String& v) {
  TControl::SetTextBuf(v);
  if (auto* b = NativeOf<QAbstractButton>(this)) {
    b->setText(ToQString(v));
    NoNativeMnemonic(b);
  }
}

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) { SetBounds(0, 0, 75, 25); }

void TButton::CreateWnd() {
  auto* b = new QPushButton(ToQString(TControl::GetText()));
  b->setAutoDefault(false);
  b->setDefault(FDefault);
  NoNativeMnemonic(b);
  TControlHost::Attach(this, b, false);
  QObject::connect(b, &QPushButton::clicked, [this] { GuardedCall([this] { Click(); }); });
}

void TButton::CMDialogChar(TWMKey& Message) {
  if (AcceleratorFor(this, Message)) {
    Click();
    Message.SetResult(1);
    return;
  }
  TButtonControl::CMDialogChar(Message);
}

void TButton::SetDefault(bool v) {
  FDefault = v;
  if (auto* b = NativeOf<QPushButton>(this)) b->setDefault(v);
}

void TButton::Click() {
  if (FModalResult != mrNone)
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
  TButtonControl::Click();
}

void TButton::CMDialogKey(TWMKey& Message) {
  // Enter clicks the active button (the focused one, or the default one while no button has
  // the focus), Esc the cancel button, when the form lets keys through.
  TCustomForm* form = GetParentForm(this);
  TWinControl* focused = form != nullptr ? form->ActiveControl() : nullptr;
  const bool active = dynamic_cast<TButton*>(focused) != nullptr ? focused == this : FDefault;
  if (((Message.CharCode() == VK_RETURN && active) || (Message.CharCode() == VK_ESCAPE && FCancel)) &&
      KeyDataToShiftState(Message.KeyData()).Empty() && CanFocus()) {
    Click();
    Message.SetResult(1);
    return;
  }
  TButtonControl::CMDialogKey(Message);
}

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner) { SetBounds(0, 0, 97, 17); }

namespace {
// Check boxes and radio buttons answer clicks anywhere in their window, as on the original platform.
template <typename B>
class WholeAreaButton : public B {
public:
  using B::B;

protected:
  bool hitButton(const QPoint& pos) const override { return this->rect().contains(pos); }
};
}  // namespace

struct TCheckView {
  static Qt::CheckState ToQt(TCheckBoxState s) {
    return s == cbChecked ? Qt::Checked : s == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked;
  }
};

void TCustomCheckBox::CreateWnd() {
  auto* b = new WholeAreaButton<QCheckBox>(ToQString(TControl::GetText()));
  b->setTristate(FAllowGrayed);
  b->setCheckState(TCheckView::ToQt(FState));
  NoNativeMnemonic(b);
  TControlHost::Attach(this, b, false);
  ApplyColor(b, Color(), QPalette::Window);
  // A change by the user takes the new state and clicks (a change in code has done both already).
  QObject::connect(b, &QCheckBox::stateChanged, [this](int s) {
    TCheckBoxState st = s == Qt::Checked ? cbChecked : s == Qt::PartiallyChecked ? cbGrayed : cbUnchecked;
    if (st == FState) return;
    FState = st;
    GuardedCall([this] { Click(); });
  });
}

void TCustomCheckBox::SetState(TCheckBoxState v) {
  if (v == FState) return;
  FState = v;
  if (auto* b = NativeOf<QCheckBox>(this)) b->setCheckState(TCheckView::ToQt(v));
  Click();
}

void TCustomCheckBox::CMDialogChar(TWMKey& Message) {
  if (AcceleratorFor(this, Message)) {
    SetFocus();
    // The next state, as a click steps it.
    if (auto* b = NativeOf<QCheckBox>(this)) b->click();
    Message.SetResult(1);
    return;
  }
  TButtonControl::CMDialogChar(Message);
}

void TCustomCheckBox::SetAllowGrayed(bool v) {
  FAllowGrayed = v;
  if (auto* b = NativeOf<QCheckBox>(this)) b->setTristate(v);
}

void TCustomCheckBox::CMColorChanged(TMessage& Message) {
  TButtonControl::CMColorChanged(Message);
  ApplyColor(TControlHost::Widget(this), Color(), QPalette::Window);
}

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) {
  SetBounds(0, 0, 113, 17);
  SetTabStop(false);  // only the checked button of a group is a tab stop
}

namespace {
// A radio button that the keyboard focuses (Tab, the arrow keys of its group) checks itself.
class RadioKeyFocus : public QObject {
public:
  RadioKeyFocus(QObject* parent, std::function<void()> check) : QObject(parent), check_(std::move(check)) {}

protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::FocusIn) {
      auto reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) check_();
    }
    return false;
  }

private:
  std::function<void()> check_;
};
}  // namespace

void TRadioButton::CreateWnd() {
  auto* b = new WholeAreaButton<QRadioButton>(ToQString(TControl::GetText()));
  // The group rule is kept here (siblings of the same parent), not by Qt.
  b->setAutoExclusive(false);
  b->setChecked(FChecked);
  NoNativeMnemonic(b);
  TControlHost::Attach(this, b, false);
  b->installEventFilter(new RadioKeyFocus(b, [this] { GuardedCall([this] { SetChecked(true); }); }));
  ApplyColor(b, Color(), QPalette::Window);
  QObject::connect(b, &QRadioButton::clicked, [this, b](bool) {
    // Clicking a radio button always leaves it checked.
    GuardedCall([this, b] {
      if (FChecked) {
        b->setChecked(true);
        return;
      }
      SetChecked(true);
    });
  });
}

void TRadioButton::SetChecked(bool v) {
  if (v == FChecked) return;
  FChecked = v;
  SetTabStop(v);
  if (auto* b = NativeOf<QRadioButton>(this)) b->setChecked(v);
  if (!v) return;
  if (TWinControl* p = Parent())
    for (int i = 0; i < p->ControlCount(); ++i)
      if (auto* r = dynamic_cast<TRadioButton*>(p->Controls(i)); r && r != this) r->SetChecked(false);
  Click();
}

void TRadioButton::CMDialogChar(TWMKey& Message) {
  if (AcceleratorFor(this, Message)) {
    SetFocus();
    SetChecked(true);
    Message.SetResult(1);
    return;
  }
  TButtonControl::CMDialogChar(Message);
}

void TRadioButton::CMColorChanged(TMessage& Message) {
  TButtonControl::CMColorChanged(Message);
  ApplyColor(TControlHost::Widget(this), Color(), QPalette::Window);
}

// ---------------------------------------------------------------------------
// TCustomGroupBox

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 185, 105);
  FControlStyle.Include(csAcceptsControls);
}

void TCustomGroupBox::AdjustClientRect(TRect& Rect) {
  TCustomControl::AdjustClientRect(Rect);
  int h = Canvas() && Font() ? std::max(1, Font()->Height() < 0 ? -Font()->Height() : Font()->Height()) : 13;
  Rect.Top += h + 2;
  Rect.Left += 2;
  Rect.Right -= 2;
  Rect.Bottom -= 2;
}

void TCustomGroupBox::Paint() {
  TCanvas* c = Canvas();
  c->Font()->Assign(Font());
  c->Brush()->SetColor(Color());
  c->FillRect(ClientRect());
  const String caption = Caption();
  const int th = c->TextHeight(u"0");
  TRect frame(0, th / 2, Width(), Height());
  // Etched frame: shadow line, then highlight line one pixel inside.
  c->Brush()->SetStyle(bsClear);
  c->Pen()->SetColor(clBtnShadow);
  c->Rectangle(frame.Left, frame.Top, frame.Right - 1, frame.Bottom - 1);
  c->Pen()->SetColor(clBtnHighlight);
  c->Rectangle(frame.Left + 1, frame.Top + 1, frame.Right, frame.Bottom);
  if (!caption.empty()) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    TRect r(8, 0, 8 + c->TextWidth(caption) + 2, th);
    c->FillRect(r);
    c->Brush()->SetStyle(bsClear);
    if (!Enabled()) c->Font()->SetColor(clGrayText);
    c->TextOut(9, 0, caption);
  }
}

void TCustomGroupBox::CMTextChanged(TMessage& Message) {
  TCustomControl::CMTextChanged(Message);
  Invalidate();
}

void TCustomGroupBox::CMFontChanged(TMessage& Message) {
  TCustomControl::CMFontChanged(Message);
  Realign();
  Invalidate();
}

// ---------------------------------------------------------------------------
// TScrollBar

struct TScrollView {
  static QScrollBar* Bar(const TScrollBar* s) { return NativeOf<QScrollBar>(s); }
};

namespace {

// The native bar. A new position repaints the thumb where it was last painted and where it is
// now, not the whole bar (a tall bar's groove is the most of its painting); steps set again
// to what they were repaint nothing. Where a style sheet styles the bar, its page areas may
// depend on the thumb, and the whole bar is repainted as Qt does.
class TNativeScrollBar : public QScrollBar {
 public:
  explicit TNativeScrollBar(Qt::Orientation o) : QScrollBar(o), single(singleStep()), page(pageStep()) {}

 protected:
  void sliderChange(SliderChange change) override {
    if (change == SliderStepsChange && singleStep() == single && pageStep() == page) return;
    single = singleStep();
    page = pageStep();
    if (change == SliderValueChange && !painted.isNull() && styleSheet().isEmpty() && qApp->styleSheet().isEmpty() &&
        !style()->styleHint(QStyle::SH_ScrollBar_Transient, nullptr, this)) {
      // The thumb's frame may reach a pixel past its rectangle.
      update(QRegion(painted.adjusted(-2, -2, 2, 2)).united(Thumb().adjusted(-2, -2, 2, 2)) & rect());
      return;
    }
    QScrollBar::sliderChange(change);
  }
  void paintEvent(QPaintEvent* e) override {
    QScrollBar::paintEvent(e);
    painted = Thumb();
  }
  void resizeEvent(QResizeEvent* e) override {
    painted = QRect();
    QScrollBar::resizeEvent(e);
  }

 private:
  QRect Thumb() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
  }
  int single, page;
  QRect painted;  // the thumb as last painted
};

}  // namespace

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 121, 17);
  SetTabStop(true);
  FControlStyle.Exclude(csClickEvents);
}

void TScrollBar::CreateWnd() {
  auto* bar = new TNativeScrollBar(FKind == sbHorizontal ? Qt::Horizontal : Qt::Vertical);
  TControlHost::Attach(this, bar, false);
  ApplySettings();
  QObject::connect(bar, &QScrollBar::actionTriggered, [this, bar](int action) {
    if (FInCode) return;
    TScrollCode code = scPosition;
    switch (action) {
      case QAbstractSlider::SliderSingleStepAdd: code = scLineDown; break;
      case QAbstractSlider::SliderSingleStepSub: code = scLineUp; break;
      case QAbstractSlider::SliderPageStepAdd: code = scPageDown; break;
      case QAbstractSlider::SliderPageStepSub: code = scPageUp; break;
      case QAbstractSlider::SliderToMinimum: code = scTop; break;
      case QAbstractSlider::SliderToMaximum: code = scBottom; break;
      case QAbstractSlider::SliderMove: code = scTrack; break;
      default: break;
    }
    GuardedCall([this, bar, code] {
      int pos = bar->sliderPosition();
      Scroll(code, pos);
      SetPosition(pos);
      TInCode guard(FInCode);
      bar->setSliderPosition(FPosition);
    });
  });
  // Releasing the thumb: the position it was let go at, then the end of the scroll.
  QObject::connect(bar, &QScrollBar::sliderReleased, [this, bar] {
    if (FInCode) return;
    GuardedCall([this, bar] {
      for (TScrollCode code : {scPosition, scEndScroll}) {
        int pos = code == scPosition ? bar->sliderPosition() : FPosition;
        Scroll(code, pos);
        SetPosition(pos);
      }
      TInCode guard(FInCode);
      bar->setSliderPosition(FPosition);
    });
  });
}

void TScrollBar::ApplySettings() {
  QScrollBar* bar = TScrollView::Bar(this);
  if (!bar) return;
  TInCode guard(FInCode);
  bar->setOrientation(FKind == sbHorizontal ? Qt::Horizontal : Qt::Vertical);
  // The native range ends where a full page still fits.
  int page = std::max(0, FPageSize);
  bar->setRange(FMin, std::max(FMin, FMax - (page > 0 ? page - 1 : 0)));
  bar->setPageStep(page > 0 ? page : FLargeChange);
  bar->setSingleStep(FSmallChange);
  bar->setValue(FPosition);
}

void TScrollBar::SetKind(TScrollBarKind v) {
  if (v == FKind) return;
  FKind = v;
  SetBounds(Left(), Top(), Height(), Width());
  ApplySettings();
}

void TScrollBar::SetPosition(int v) { SetParams(v, FMin, FMax); }

void TScrollBar::SetParams(int APosition, int AMin, int AMax) {
  if (AMax < AMin) throw EInvalidOperation(u"Scroll bar property out of range");
  APosition = std::clamp(APosition, AMin, AMax);
  bool changed = APosition != FPosition;
  FMin = AMin;
  FMax = AMax;
  FPosition = APosition;
  ApplySettings();
  if (changed) Change();
}

void TScrollBar::SetPageSize(int v) {
  FPageSize = std::max(0, v);
  ApplySettings();
}

void TScrollBar::SetSmallChange(int v) {
  FSmallChange = std::max(1, v);
  ApplySettings();
}

void TScrollBar::SetLargeChange(int v) {
  FLargeChange = std::max(1, v);
  ApplySettings();
}

void TScrollBar::Change() {
  if (OnChange) OnChange(this);
}

void TScrollBar::Scroll(TScrollCode ScrollCode, int& ScrollPos) {
  if (OnScroll) OnScroll(this, ScrollCode, ScrollPos);
}

// ---------------------------------------------------------------------------
// TCustomLabel

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 65, 17);
  FControlStyle.Include(csOpaque);
  FControlStyle.Include(csReplicatable);
}

UINT TCustomLabel::DrawTextFlags() const {
  UINT f = DT_EXPANDTABS;
  if (FWordWrap) f |= DT_WORDBREAK;
  if (!FShowAccelChar) f |= DT_NOPREFIX;
  if (FAlignment == taRightJustify) f |= DT_RIGHT;
  if (FAlignment == taCenter) f |= DT_CENTER;
  return f;
}

void TCustomLabel::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  if (!FTransparent) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(r);
  }
  c->Brush()->SetStyle(bsClear);
  c->Font()->Assign(Font());
  if (!Enabled()) c->Font()->SetColor(clGrayText);
  String text = Caption();
  UINT flags = DrawTextFlags();
  if (FLayout != tlTop) {
    TRect calc = r;
    DrawText(c->Handle(), text.c_str(), int(text.size()), &calc, flags | DT_CALCRECT);
    int dy = FLayout == tlBottom ? r.Height() - calc.Height() : (r.Height() - calc.Height()) / 2;
    r.Top += dy;
  }
  DrawText(c->Handle(), text.c_str(), int(text.size()), &r, flags);
}

void TCustomLabel::AdjustBounds() {
  if (!FAutoSize) return;
  // Measured on a memory DC: the screen has no DC of its own here.
  HDC dc = CreateCompatibleDC(nullptr);
  TFont* font = Font();
  HGDIOBJ old = SelectObject(dc, font->Handle());
  String text = Caption().empty() ? String(u" ") : Caption();
  TRect r(0, 0, FWordWrap ? Width() : 0, 0);
  DrawText(dc, text.c_str(), int(text.size()), &r, DrawTextFlags() | DT_CALCRECT);
  SelectObject(dc, old);
  DeleteDC(dc);
  int x = Left();
  if (FAlignment == taRightJustify) x = Left() + Width() - r.Width();
  if (FAlignment == taCenter) x = Left() + (Width() - r.Width()) / 2;
  SetBounds(x, Top(), r.Width(), r.Height());
}

void TCustomLabel::SetAlignment(TAlignment v) {
  FAlignment = v;
  Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout v) {
  FLayout = v;
  Invalidate();
}

void TCustomLabel::SetAutoSize(bool v) {
  FAutoSize = v;
  AdjustBounds();
}

void TCustomLabel::SetWordWrap(bool v) {
  FWordWrap = v;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetTransparent(bool v) {
  FTransparent = v;
  if (v)
    FControlStyle.Exclude(csOpaque);
  else
    FControlStyle.Include(csOpaque);
  Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool v) {
  FShowAccelChar = v;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* v) {
  FFocusControl = v;
  if (v) v->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::CMTextChanged(TMessage& Message) {
  TGraphicControl::CMTextChanged(Message);
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::CMFontChanged(TMessage& Message) {
  TGraphicControl::CMFontChanged(Message);
  AdjustBounds();
  Invalidate();
}
