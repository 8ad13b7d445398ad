#pragma once
// Collections: an ordered list of items of one class, owned by the collection, with
// identities that survive reordering and change notification to the collection (and through
// an owned collection to its owner), held back while the collection is being updated.

#include <memory>
#include <vector>

#include "platform/rtl/Component.h"

class TCollection;

// One item of a collection. An item made with a collection (through Add or Insert, or
// constructed with it directly) belongs to it and is freed by it.
class TCollectionItem : public TPersistent {
public:
  // Joins Collection (when not null) at its end with the next identity.
  explicit TCollectionItem(TCollection* Collection);
  // Leaves the collection first, which reports the change.
  ~TCollectionItem() override;
  String ClassName() const override { return u"TCollectionItem"; }

  TCollection* Collection() const { return FCollection; }
  // Moves the item to the end of another collection (nullptr: out of any; the caller then owns it).
  void SetCollection(TCollection* Value);
  // Unique within the collection for its life, never reused.
  int ID() const { return FID; }
  // Position in the collection, -1 outside one.
  int Index() const;
  // Moves the item to that position; out-of-range values raise EListError.
  virtual void SetIndex(int Value);
  virtual String DisplayName() const { return ClassName(); }
  // The collection, for naming and streaming.
  virtual TPersistent* GetOwner() const;

protected:
  // Reports a change of this item (AllItems: of the whole collection) unless it is updating.
  void Changed(bool AllItems);

private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
  int FID = 0;
};

// How a collection makes an item of its class (the item joins the collection it is given).
using TCollectionItemClass = std::function<TCollectionItem*(TCollection* Collection)>;

template <typename T>
TCollectionItemClass ItemClassOf() {
  return [](TCollection* Collection) -> TCollectionItem* { return new T(Collection); };
}

enum TCollectionNotification : uint8_t { cnAdded, cnExtracting, cnDeleting };

class TCollection : public TPersistent {
public:
  explicit TCollection(TCollectionItemClass ItemClass);
  // Frees every item without notifying.
  ~TCollection() override;
  String ClassName() const override { return u"TCollection"; }

  // A new item of the item class (none given: a plain TCollectionItem) at the end / at Index
  // (0..Count; else EListError).
  TCollectionItem* Add();
  TCollectionItem* Insert(int Index);
  // Frees the item at Index (Notify cnDeleting first).
  void Delete(int Index);
  // Frees every item.
  void Clear();
  // Takes the item out without freeing it (Notify cnExtracting); the caller owns it.
  void Extract(TCollectionItem* Item);

  int Count() const { return static_cast<int>(FItems.size()); }
  // Raises EListError out of range.
  TCollectionItem* Items(int Index) const;
  TCollectionItem* operator[](int Index) const { return Items(Index); }
  // Assigns Value to the item at Index.
  void SetItem(int Index, TCollectionItem* Value);
  TCollectionItem* FindItemID(int ID) const;
  const TCollectionItemClass& ItemClass() const { return FItemClass; }

  // Copies the items of another collection (through each item's Assign); one change report.
  void Assign(TPersistent* Source) override;
  virtual TPersistent* GetOwner() const { return nullptr; }

  // Change reports are held back until the last EndUpdate, which reports one change of all.
  virtual void BeginUpdate();
  virtual void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

protected:
  // A change of Item (nullptr: of several or all items). The default does nothing.
  virtual void Update(TCollectionItem* Item);
  // An item was added, is being taken out or is being freed. The default does nothing.
  virtual void Notify(TCollectionItem* Item, TCollectionNotification Action);
  // Reports a change of all items unless updating.
  void Changed();
  // Item changed unless updating.
  void Changed(TCollectionItem* Item);

private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item, TCollectionNotification Action);
  void CheckIndex(int Index, int Limit) const;

  TCollectionItemClass FItemClass;
  std::vector<TCollectionItem*> FItems;
  int FNextID = 0;
  int FUpdateCount = 0;
  bool FDestroying = false;
};

// A collection that names the persistent object that holds it as its owner.
class TOwnedCollection : public TCollection {
public:
  TOwnedCollection(TPersistent* AOwner, TCollectionItemClass ItemClass)
      : TCollection(std::move(ItemClass)), FOwner(AOwner) {}
  String ClassName() const override { return u"TOwnedCollection"; }
  TPersistent* GetOwner() const override { return FOwner; }

private:
  TPersistent* FOwner;
};
