// Combo box: its notifications through CN_COMMAND, the dropped list's width, the heights of
// the list's items and of the selection field, and the painting layer over the native window
// that derived controls draw their look on.

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QComboBox>
#include <QListWidget>
#include <QPointer>
#include <QProxyStyle>

#include <algorithm>
#include <functional>

#include "platform/ui/Graphics.h"
#include "platform/ui/StdCtrls_p.h"

namespace {

// Gives every item of a list the combo box's item height and leaves the drawing to the list's
// own delegate, so the items keep the style's look; an owner-drawn combo box draws and (with a
// variable height) measures each item itself.
class TItemHeightDelegate : public QAbstractItemDelegate {
public:
  TItemHeightDelegate(QAbstractItemDelegate* Inner, QObject* Parent) : QAbstractItemDelegate(Parent), inner_(Inner) {}
  int height = 16;
  std::function<void(QPainter*, const QStyleOptionViewItem&, int Row)> draw;  // owner-drawn styles
  std::function<int(int Row)> measure;                                          // csOwnerDrawVariable

  void paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override {
    if (draw) draw(Painter, Option, Index.row());
    else if (inner_) inner_->paint(Painter, Option, Index);
  }
  QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override {
    return QSize(inner_ ? inner_->sizeHint(Option, Index).width() : 0, measure ? measure(Index.row()) : height);
  }

private:
  QPointer<QAbstractItemDelegate> inner_;
};

// The application's style, except that a combo box's list drops below it as a list with at most
// its DropDownCount rows and a scroll bar, never as a menu over the box that shows every item.
class TDropListStyle : public QProxyStyle {
public:
  int styleHint(StyleHint Hint, const QStyleOption* Option, const QWidget* Widget,
                QStyleHintReturn* Return) const override {
    if (Hint == SH_ComboBox_Popup) return 0;
    return QProxyStyle::styleHint(Hint, Option, Widget, Return);
  }
};

QStyle* DropListStyle() {
  static QPointer<TDropListStyle> style;
  if (style.isNull()) style = new TDropListStyle;
  return style.data();
}

// The item list of either kind of combo box.
QAbstractItemView* ListOf(const TCustomComboBox* c) {
  QWidget* w = TControlHost::Widget(c);
  if (auto* box = qobject_cast<QComboBox*>(w)) return box->view();
  return w != nullptr ? w->findChild<QListWidget*>() : nullptr;
}

}  // namespace

void TCustomComboBox::CreateLayer() {
  if (QWidget* w = TControlHost::Widget(this)) new TPaintOverLayer(w);
  if (auto* box = qobject_cast<QComboBox*>(TControlHost::Widget(this))) box->setStyle(DropListStyle());
  if (FDroppedWidth > 0) Perform(CB_SETDROPPEDWIDTH, WPARAM(FDroppedWidth));
  ApplyItemHeight();
  if (FFieldHeight > 0) SetBounds(Left(), Top(), Width(), Height());
}

void TCustomComboBox::ApplyItemHeight() {
  QAbstractItemView* list = ListOf(this);
  if (list == nullptr) return;
  auto* delegate = dynamic_cast<TItemHeightDelegate*>(list->itemDelegate());
  if (delegate == nullptr) {
    delegate = new TItemHeightDelegate(list->itemDelegate(), list);
    list->setItemDelegate(delegate);
  }
  delegate->height = FItemHeight;
  delegate->draw = nullptr;
  delegate->measure = nullptr;
  if (FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable) {
    delegate->draw = [this](QPainter* Painter, const QStyleOptionViewItem& Option, int Row) {
      PaintOwnerDrawnItem(Painter, Option, FCanvas.get(), Font(), Color(),
                          [&](TRect r, TOwnerDrawState State) { DrawItem(Row, r, State); });
    };
  }
  if (FStyle == csOwnerDrawVariable) {
    delegate->measure = [this](int Row) {
      int h = FItemHeight;
      GuardedCall([&] { MeasureItem(Row, h); });
      return std::max(1, h);
    };
  }
  list->doItemsLayout();
}

void TCustomComboBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State) {
  if (OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  FCanvas->FillRect(Rect);
  if (Index >= 0 && Index < Items()->Count()) FCanvas->TextOut(Rect.Left + 2, Rect.Top, Items()->Strings(Index));
}

void TCustomComboBox::MeasureItem(int Index, int& Height) {
  if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}

void TCustomComboBox::SetItemHeight(int v) {
  if (v < 1) return;
  FItemHeight = v;
  ApplyItemHeight();
}

void TCustomComboBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (FFieldHeight > 0 && FStyle != csSimple) AHeight = FFieldHeight + 6;
  TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TCustomComboBox::Notify(WORD Code) {
  GuardedCall([this, Code] {
    Perform(CN_COMMAND, WPARAM(MAKELPARAM(0, Code)), reinterpret_cast<LPARAM>(FHandle));
  });
}

void TCustomComboBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND: {
      TWMCommand m(Message);
      CNCommand(m);
      break;
    }
    case WM_NCPAINT:
      WMNCPaint(Message);
      break;
    case CB_SETDROPPEDWIDTH:
      FDroppedWidth = std::max(0, int(Message.WParam));
      if (auto* box = NativeOf<QComboBox>(this); box != nullptr && box->view() != nullptr)
        box->view()->setMinimumWidth(FDroppedWidth);
      Message.Result = FDroppedWidth;
      break;
    case CB_GETDROPPEDWIDTH:
      Message.Result = std::max(FDroppedWidth, Width());
      break;
    case CB_SETITEMHEIGHT: {
      const int height = int(Message.LParam);
      Message.Result = CB_ERR;
      if (height < 1 || height > 255) break;
      Message.Result = 0;
      if (int(Message.WParam) != -1) {
        SetItemHeight(height);
        break;
      }
      FFieldHeight = height;
      SetBounds(Left(), Top(), Width(), Height());
      break;
    }
    case CB_GETITEMHEIGHT:
      Message.Result = int(Message.WParam) == -1 ? (FFieldHeight > 0 ? FFieldHeight : std::max(0, Height() - 6))
                                                 : FItemHeight;
      break;
    default:
      TWinControl::Dispatch(Message);
  }
}

void TCustomComboBox::CNCommand(TWMCommand& Message) {
  if (Message.NotifyCode() == CBN_DROPDOWN) DropDown();
  else if (Message.NotifyCode() == CBN_CLOSEUP) CloseUp();
}

void TCustomComboBox::WMNCPaint(TMessage&) {}
