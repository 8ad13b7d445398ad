#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/rtl/Classes.h"

namespace {

class TNamedItem : public TCollectionItem {
public:
  explicit TNamedItem(TCollection* Collection) : TCollectionItem(Collection) {}
  ~TNamedItem() override { if (freed) ++*freed; }
  String ClassName() const override { return u"TNamedItem"; }
  void Assign(TPersistent* Source) override {
    auto* src = dynamic_cast<TNamedItem*>(Source);
    if (src == nullptr) return TCollectionItem::Assign(Source);
    Name = src->Name;
    Changed(false);
  }
  void SetName(const String& Value) {
    Name = Value;
    Changed(false);
  }
  String Name;
  int* freed = nullptr;
};

// Records the change reports and notifications a collection makes.
class TLogCollection : public TOwnedCollection {
public:
  explicit TLogCollection(TPersistent* Owner = nullptr) : TOwnedCollection(Owner, ItemClassOf<TNamedItem>()) {}
  TNamedItem* AddNamed(const String& Name) {
    auto* item = static_cast<TNamedItem*>(Add());
    item->Name = Name;
    return item;
  }
  std::vector<String> Names() const {
    std::vector<String> r;
    for (int i = 0; i < Count(); ++i) r.push_back(static_cast<TNamedItem*>(Items(i))->Name);
    return r;
  }
  std::vector<String> log;
  using TCollection::Changed;

protected:
  void Update(TCollectionItem* Item) override {
    log.push_back(Item ? u"update " + static_cast<TNamedItem*>(Item)->Name : String(u"update all"));
  }
  void Notify(TCollectionItem* Item, TCollectionNotification Action) override {
    static const char16_t* kNames[] = {u"added", u"extracting", u"deleting"};
    log.push_back(String(kNames[Action]) + u" " + String(static_cast<TNamedItem*>(Item)->Name));
  }
};

using Log = std::vector<String>;

}  // namespace

TEST(Collections, AddInsertDeleteKeepOrderIdentityAndNotify) {
  TLogCollection c;
  auto* a = c.AddNamed(u"a");
  auto* b = c.AddNamed(u"b");
  EXPECT_EQ(c.log, (Log{u"added ", u"update all", u"added ", u"update all"}));  // named after Add returned
  auto* x = static_cast<TNamedItem*>(c.Insert(1));
  x->Name = u"x";
  EXPECT_EQ(c.Names(), (Log{u"a", u"x", u"b"}));
  EXPECT_EQ(x->Index(), 1);
  EXPECT_EQ(x->Collection(), &c);
  EXPECT_EQ(x->GetOwner(), &c);
  EXPECT_EQ(std::vector<int>({a->ID(), b->ID(), x->ID()}), std::vector<int>({0, 1, 2}));
  EXPECT_EQ(c.FindItemID(2), x);
  EXPECT_EQ(c.FindItemID(7), nullptr);

  int freed = 0;
  a->freed = &freed;
  c.log.clear();
  c.Delete(0);
  EXPECT_EQ(freed, 1);
  EXPECT_EQ(c.log, (Log{u"deleting a", u"update all"}));
  EXPECT_EQ(c.Names(), (Log{u"x", u"b"}));
  // Identities are never reused.
  EXPECT_EQ(c.AddNamed(u"c")->ID(), 3);

  EXPECT_THROW(c.Items(3), EListError);
  EXPECT_THROW(c.Items(-1), EListError);
  EXPECT_THROW(c.Delete(5), EListError);
  EXPECT_THROW(c.Insert(4), EListError);
  EXPECT_EQ(c.Count(), 3);
}

TEST(Collections, SettingIndexMovesAnItemAndReportsAllChanged) {
  TLogCollection c;
  for (auto n : {u"a", u"b", u"c", u"d"}) c.AddNamed(n);
  auto* a = c.Items(0);
  c.log.clear();
  a->SetIndex(3);
  EXPECT_EQ(c.Names(), (Log{u"b", u"c", u"d", u"a"}));
  EXPECT_EQ(c.log, (Log{u"update all"}));
  c.Items(2)->SetIndex(0);
  EXPECT_EQ(c.Names(), (Log{u"d", u"b", u"c", u"a"}));
  EXPECT_THROW(a->SetIndex(4), EListError);
  EXPECT_EQ(c.Names(), (Log{u"d", u"b", u"c", u"a"}));
}

TEST(Collections, UpdatesAreHeldBackUntilTheLastEndUpdate) {
  TLogCollection c;
  auto* a = c.AddNamed(u"a");
  c.log.clear();
  a->SetName(u"a2");
  EXPECT_EQ(c.log, (Log{u"update a2"}));
  c.log.clear();
  c.BeginUpdate();
  c.BeginUpdate();
  a->SetName(u"a3");
  c.AddNamed(u"b");
  c.Delete(0);
  c.EndUpdate();
  EXPECT_EQ(c.log, (Log{u"added ", u"deleting a3"}));  // notifications are not deferred
  c.EndUpdate();
  EXPECT_EQ(c.log.back(), u"update all");
  EXPECT_EQ(c.log.size(), 3u);
  EXPECT_EQ(c.UpdateCount(), 0);
}

TEST(Collections, ClearAssignAndSetItemCopyThroughItems) {
  TPersistent owner;
  TLogCollection src(&owner), dst;
  EXPECT_EQ(src.GetOwner(), &owner);
  EXPECT_EQ(dst.GetOwner(), nullptr);
  src.AddNamed(u"p");
  src.AddNamed(u"q");
  dst.AddNamed(u"old");
  dst.log.clear();
  dst.Assign(&src);
  EXPECT_EQ(dst.Names(), (Log{u"p", u"q"}));
  EXPECT_EQ(dst.log.back(), u"update all");
  EXPECT_EQ(std::count(dst.log.begin(), dst.log.end(), u"update all"), 1);

  dst.SetItem(0, src.Items(1));
  EXPECT_EQ(dst.Names(), (Log{u"q", u"q"}));

  TStringList notACollection;
  EXPECT_THROW(dst.Assign(&notACollection), EConvertError);
  EXPECT_EQ(dst.Names(), (Log{u"q", u"q"}));

  dst.log.clear();
  dst.Clear();
  EXPECT_EQ(dst.Count(), 0);
  EXPECT_EQ(dst.log, (Log{u"deleting q", u"deleting q", u"update all"}));
}

TEST(Collections, ItemsMoveBetweenCollectionsAndLeaveWhenFreed) {
  TLogCollection a, b;
  auto* item = a.AddNamed(u"i");
  a.AddNamed(u"j");
  a.log.clear();
  item->SetCollection(&b);
  EXPECT_EQ(a.log, (Log{u"extracting i", u"update all"}));
  EXPECT_EQ(b.log, (Log{u"added i", u"update all"}));
  EXPECT_EQ(item->Index(), 0);
  EXPECT_EQ(a.Names(), (Log{u"j"}));

  // Extracted items belong to the caller.
  b.Extract(item);
  EXPECT_EQ(b.Count(), 0);
  EXPECT_EQ(item->Collection(), nullptr);
  EXPECT_EQ(item->Index(), -1);
  std::unique_ptr<TCollectionItem> owned(item);

  // An item freed directly leaves its collection.
  auto* j = a.Items(0);
  a.log.clear();
  delete j;
  EXPECT_EQ(a.Count(), 0);
  EXPECT_EQ(a.log, (Log{u"update all"}));

  // A collection frees its items without calling back into what is left of it.
  int freed = 0;
  {
    auto c = std::make_unique<TLogCollection>();
    c->AddNamed(u"k")->freed = &freed;
    c->AddNamed(u"l")->freed = &freed;
  }
  EXPECT_EQ(freed, 2);
}

TEST(Collections, WithoutAnItemClassItemsArePlainItems) {
  TCollection c(nullptr);
  TCollectionItem* item = c.Add();
  EXPECT_EQ(item->ClassName(), u"TCollectionItem");
  EXPECT_EQ(c.Insert(0)->Index(), 0);
  EXPECT_EQ(item->Index(), 1);
}
