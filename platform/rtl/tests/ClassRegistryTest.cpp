#include <gtest/gtest.h>

#include <memory>

#include "platform/rtl/ClassRegistry.h"

namespace {
class TRegA : public TComponent {
public:
  using TComponent::TComponent;
  String ClassName() const override { return u"TRegA"; }
};
class TRegB : public TComponent {
public:
  using TComponent::TComponent;
  String ClassName() const override { return u"TRegB"; }
};
// A designer: what it owns is being designed from its construction on.
class TDesigner : public TComponent {
public:
  TDesigner() : TComponent(nullptr) { SetComponentState(csDesigning, true); }
};
class TStateProbe : public TComponent {
public:
  explicit TStateProbe(TComponent* AOwner) : TComponent(AOwner) {
    DesigningAtCreate = ComponentState().Contains(csDesigning);
  }
  bool DesigningAtCreate = false;
};
}  // namespace

TEST(ClassRegistry, CreatesByNameAndRefusesAnotherClassUnderATakenName) {
  RegisterClass<TRegA>(u"TRegA");
  RegisterClass<TRegA>(u"TRegA");  // the same class again: nothing
  EXPECT_THROW(RegisterClass<TRegB>(u"tRegA"), EFilerError);
  TComponentClass c = GetClass(u"TREGA");
  ASSERT_TRUE(c);
  auto owner = std::make_unique<TComponent>(nullptr);
  TComponent* made = c(owner.get());
  EXPECT_EQ(made->ClassName(), u"TRegA");
  EXPECT_EQ(made->Owner(), owner.get());
  EXPECT_FALSE(GetClass(u"TRegB"));
  EXPECT_THROW(FindClass(u"TRegB"), EClassNotFound);
  UnRegisterClass(u"TRegA");
  EXPECT_FALSE(GetClass(u"TRegA"));
}

TEST(ComponentState, AComponentOwnedByADesignerIsDesignedFromItsConstruction) {
  TDesigner designer;
  auto* probe = new TStateProbe(&designer);
  EXPECT_TRUE(probe->DesigningAtCreate);
  auto plain = std::make_unique<TComponent>(nullptr);
  auto* other = new TStateProbe(plain.get());
  EXPECT_FALSE(other->DesigningAtCreate);
}
