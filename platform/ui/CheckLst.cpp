#include "platform/ui/CheckLst.h"

#include <QListWidget>

#include <algorithm>

#include "platform/ui/StdCtrls_p.h"

namespace {
// The receiver of the window's signals, a child of the window: deleting it cuts them off.
constexpr const char* ContextName = "checkListStates";
}  // namespace

TCheckListBox::TCheckListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}

TCheckListBox::~TCheckListBox() {
  // The window outlives these members and reports its last items' removal: stop listening.
  if (QListWidget* list = NativeOf<QListWidget>(this)) delete list->findChild<QObject*>(ContextName);
}

bool TCheckListBox::Checked(int Index) const {
  if (Index < 0 || Index >= Count()) return false;
  if (QListWidget* list = NativeOf<QListWidget>(this))
    if (QListWidgetItem* item = list->item(Index)) return item->checkState() == Qt::Checked;
  return Index < static_cast<int>(FChecked.size()) && FChecked[static_cast<size_t>(Index)];
}

void TCheckListBox::SetChecked(int Index, bool Value) {
  if (Index < 0 || Index >= Count()) return;
  if (static_cast<int>(FChecked.size()) < Count()) FChecked.resize(static_cast<size_t>(Count()), false);
  FChecked[static_cast<size_t>(Index)] = Value;
  if (QListWidget* list = NativeOf<QListWidget>(this)) {
    if (QListWidgetItem* item = list->item(Index)) {
      FApplying = true;
      item->setCheckState(Value ? Qt::Checked : Qt::Unchecked);
      FApplying = false;
    }
  }
}

void TCheckListBox::ClickCheck() {
  if (OnClickCheck) OnClickCheck(this);
}

void TCheckListBox::CreateWnd() {
  TCustomListBox::CreateWnd();
  QListWidget* list = NativeOf<QListWidget>(this);
  if (!list) return;
  // Every item (those there now and any added later) shows a box with its stored state.
  auto prepare = [this, list](int First, int Last) {
    FApplying = true;
    for (int i = First; i <= Last; ++i) {
      QListWidgetItem* item = list->item(i);
      if (!item) continue;
      const bool on = i < static_cast<int>(FChecked.size()) && FChecked[static_cast<size_t>(i)];
      item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
      item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
    FApplying = false;
  };
  FChecked.resize(static_cast<size_t>(list->count()), false);
  prepare(0, list->count() - 1);
  QAbstractItemModel* model = list->model();
  auto* context = new QObject(list);
  context->setObjectName(ContextName);
  QObject::connect(model, &QAbstractItemModel::rowsInserted, context, [this, prepare](const QModelIndex&, int First, int Last) {
    const size_t at = std::min(static_cast<size_t>(First), FChecked.size());
    FChecked.insert(FChecked.begin() + static_cast<std::ptrdiff_t>(at), static_cast<size_t>(Last - First + 1), false);
    // The list is rebuilt whenever its items change: the rows refilled after a reset keep
    // the states they had by position.
    if (First == 0 && FChecked.size() == static_cast<size_t>(Last + 1) && !FBeforeReset.empty())
      for (size_t i = 0; i < FChecked.size() && i < FBeforeReset.size(); ++i) FChecked[i] = FBeforeReset[i];
    FBeforeReset.clear();
    prepare(First, Last);
  });
  QObject::connect(model, &QAbstractItemModel::rowsRemoved, context, [this](const QModelIndex&, int First, int Last) {
    const size_t from = std::min(static_cast<size_t>(First), FChecked.size());
    const size_t to = std::min(static_cast<size_t>(Last) + 1, FChecked.size());
    FChecked.erase(FChecked.begin() + static_cast<std::ptrdiff_t>(from), FChecked.begin() + static_cast<std::ptrdiff_t>(to));
  });
  QObject::connect(model, &QAbstractItemModel::modelReset, context, [this] {
    FBeforeReset = std::move(FChecked);
    FChecked.clear();
  });
  QObject::connect(list, &QListWidget::itemChanged, context, [this, list](QListWidgetItem* item) {
    if (FApplying) return;
    const int i = list->row(item);
    if (i < 0) return;
    if (static_cast<int>(FChecked.size()) <= i) FChecked.resize(static_cast<size_t>(i) + 1, false);
    const bool on = item->checkState() == Qt::Checked;
    if (FChecked[static_cast<size_t>(i)] == on) return;
    FChecked[static_cast<size_t>(i)] = on;
    GuardedCall([this] { ClickCheck(); });
  });
}
