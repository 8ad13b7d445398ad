#include "platform/rtl/Collections.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "platform/rtl/ScopeGuard.h"

// ---------------------------------------------------------------------------
// TCollectionItem

TCollectionItem::TCollectionItem(TCollection* Collection) {
  if (Collection != nullptr) Collection->InsertItem(this);
}

TCollectionItem::~TCollectionItem() {
  if (FCollection == nullptr) return;
  TCollection* c = FCollection;
  c->RemoveItem(this, cnDeleting);
  c->Changed();
}

void TCollectionItem::SetCollection(TCollection* Value) {
  if (Value == FCollection) return;
  if (FCollection != nullptr) {
    TCollection* old = FCollection;
    old->Notify(this, cnExtracting);
    old->RemoveItem(this, cnExtracting);
    old->Changed();
  }
  if (Value != nullptr) {
    Value->InsertItem(this);
    Value->Notify(this, cnAdded);
    Value->Changed();
  }
}

int TCollectionItem::Index() const {
  if (FCollection == nullptr) return -1;
  // Searched from the end, where items are mostly added and taken away.
  const auto& items = FCollection->FItems;
  auto it = std::find(items.rbegin(), items.rend(), this);
  return it == items.rend() ? -1 : static_cast<int>(items.rend() - it) - 1;
}

void TCollectionItem::SetIndex(int Value) {
  if (FCollection == nullptr) return;
  int cur = Index();
  if (Value == cur) return;
  FCollection->CheckIndex(Value, FCollection->Count() - 1);
  auto& items = FCollection->FItems;
  items.erase(items.begin() + cur);
  items.insert(items.begin() + Value, this);
  Changed(true);
}

TPersistent* TCollectionItem::GetOwner() const { return FCollection; }

void TCollectionItem::Changed(bool AllItems) {
  if (FCollection != nullptr && FCollection->FUpdateCount == 0) FCollection->Update(AllItems ? nullptr : this);
}

// ---------------------------------------------------------------------------
// TCollection

TCollection::TCollection(TCollectionItemClass ItemClass) : FItemClass(std::move(ItemClass)) {}

TCollection::~TCollection() {
  // Derived parts are gone: no virtual reports from here on.
  FDestroying = true;
  ++FUpdateCount;
  while (!FItems.empty()) {
    TCollectionItem* item = FItems.back();
    FItems.pop_back();
    item->FCollection = nullptr;
    delete item;
  }
}

void TCollection::CheckIndex(int Index, int Limit) const {
  if (Index < 0 || Index > Limit)
    throw EListError(u"List index out of bounds (" + UTF8ToString(std::to_string(Index)) + u")");
}

void TCollection::InsertItem(TCollectionItem* Item) {
  FItems.push_back(Item);
  Item->FCollection = this;
  Item->FID = FNextID++;
}

void TCollection::RemoveItem(TCollectionItem* Item, TCollectionNotification) {
  auto it = std::find(FItems.rbegin(), FItems.rend(), Item);
  if (it != FItems.rend()) FItems.erase(std::next(it).base());
  Item->FCollection = nullptr;
}

TCollectionItem* TCollection::Add() {
  TCollectionItem* item = FItemClass ? FItemClass(this) : new TCollectionItem(this);
  // An item class that did not join the collection is taken in here.
  if (item->FCollection != this) {
    if (item->FCollection != nullptr) item->FCollection->RemoveItem(item, cnExtracting);
    InsertItem(item);
  }
  Notify(item, cnAdded);
  Changed();
  return item;
}

TCollectionItem* TCollection::Insert(int Index) {
  CheckIndex(Index, Count());
  TCollectionItem* item = Add();
  item->SetIndex(Index);
  return item;
}

void TCollection::Delete(int Index) {
  TCollectionItem* item = Items(Index);
  Notify(item, cnDeleting);
  RemoveItem(item, cnDeleting);
  delete item;
  Changed();
}

void TCollection::Clear() {
  if (FItems.empty()) return;
  BeginUpdate();
  TScopeGuard end([this] { EndUpdate(); });
  while (!FItems.empty()) Delete(Count() - 1);
}

void TCollection::Extract(TCollectionItem* Item) {
  if (Item == nullptr || Item->FCollection != this) return;
  Item->SetCollection(nullptr);
}

TCollectionItem* TCollection::Items(int Index) const {
  CheckIndex(Index, Count() - 1);
  return FItems[static_cast<size_t>(Index)];
}

void TCollection::SetItem(int Index, TCollectionItem* Value) { Items(Index)->Assign(Value); }

TCollectionItem* TCollection::FindItemID(int ID) const {
  for (TCollectionItem* item : FItems)
    if (item->FID == ID) return item;
  return nullptr;
}

void TCollection::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TCollection*>(Source);
  if (src == nullptr) {
    TPersistent::Assign(Source);
    return;
  }
  if (src == this) return;
  BeginUpdate();
  TScopeGuard end([this] { EndUpdate(); });
  Clear();
  for (TCollectionItem* item : src->FItems) Add()->Assign(item);
}

void TCollection::BeginUpdate() { ++FUpdateCount; }

void TCollection::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
  Changed();
}

void TCollection::Update(TCollectionItem*) {}

void TCollection::Notify(TCollectionItem*, TCollectionNotification) {}

void TCollection::Changed() {
  if (FUpdateCount == 0 && !FDestroying) Update(nullptr);
}

void TCollection::Changed(TCollectionItem* Item) {
  if (FUpdateCount == 0 && !FDestroying) Update(Item);
}
