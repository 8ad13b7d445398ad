#include <gtest/gtest.h>

#include <vector>

#include "platform/rtl/Component.h"

namespace {

// Records what a component hears, and when it is freed.
class TProbe : public TComponent {
public:
  TProbe(TComponent* owner, std::vector<String>* log, String name) : TComponent(owner), log_(log), name_(std::move(name)) {}
  ~TProbe() override { log_->push_back(u"free " + name_); }
  String ClassName() const override { return u"TProbe"; }
  TComponent* removed = nullptr;
  int loaded = 0;

protected:
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == opRemove) removed = c;
  }
  void Loaded() override {
    TComponent::Loaded();
    ++loaded;
    log_->push_back(u"loaded " + name_);
  }

private:
  std::vector<String>* log_;
  String name_;
};

}  // namespace

TEST(Component, OwnerFreesOwnedLastFirstAndSelfFreeLeavesOwner) {
  std::vector<String> log;
  auto* owner = new TProbe(nullptr, &log, u"owner");
  auto* a = new TProbe(owner, &log, u"a");
  auto* b = new TProbe(owner, &log, u"b");
  auto* c = new TProbe(owner, &log, u"c");
  ASSERT_EQ(owner->ComponentCount(), 3);
  EXPECT_EQ(owner->Components(1), b);
  delete b;  // freeing it yourself removes it from the owner, and siblings hear of it
  EXPECT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(a->removed, b);
  EXPECT_EQ(c->ComponentIndex(), 1);
  log.clear();
  delete owner;
  EXPECT_EQ(log, (std::vector<String>{u"free owner", u"free c", u"free a"}));
  EXPECT_THROW(TComponent(nullptr).Components(0), EListError);
}

TEST(Component, FreeNotificationTellsAnUnrelatedComponent) {
  std::vector<String> log;
  auto* watcher = new TProbe(nullptr, &log, u"w");
  auto* port = new TProbe(nullptr, &log, u"p");
  port->FreeNotification(watcher);
  delete port;
  EXPECT_EQ(watcher->removed, port);
  delete watcher;
}

TEST(Component, NamesAreUniqueAmongSiblingsAndFoundIgnoringCase) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  a->SetName(u"ComPort1");
  EXPECT_EQ(owner.FindComponent(u"comport1"), a);
  EXPECT_THROW(b->SetName(u"COMPORT1"), EComponentError);
  EXPECT_THROW(b->SetName(u"1abc"), EComponentError);
  EXPECT_EQ(b->Name(), u"");
  EXPECT_EQ(owner.FindComponent(u"missing"), nullptr);
}

TEST(Component, EndLoadingCallsLoadedOnOwnedComponentsFirst) {
  std::vector<String> log;
  TProbe form(nullptr, &log, u"form");
  form.BeginLoading();
  auto* led = new TProbe(&form, &log, u"led");  // created while loading: loading too
  EXPECT_TRUE(led->IsLoading());
  form.EndLoading();
  EXPECT_FALSE(led->IsLoading());
  EXPECT_FALSE(form.IsLoading());
  EXPECT_EQ(std::vector<String>(log.begin(), log.begin() + 2), (std::vector<String>{u"loaded led", u"loaded form"}));
  form.EndLoading();  // not loading any more: no second Loaded
  EXPECT_EQ(led->loaded, 1);
}

TEST(Component, AssignBetweenUnrelatedClassesRaisesConvertError) {
  TComponent a(nullptr), b(nullptr);
  try {
    a.Assign(&b);
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), u"Cannot assign a TComponent to a TComponent");
  }
  EXPECT_THROW(a.Assign(nullptr), EConvertError);
}
