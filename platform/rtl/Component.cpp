#include "platform/rtl/Component.h"

#include <algorithm>

namespace {

String ToUtf16(const std::string& s) { return UTF8ToString(s); }

// Component names are identifiers, so ASCII case folding is enough.
bool SameName(const String& a, const String& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    Char x = a[i], y = b[i];
    if (x >= u'a' && x <= u'z') x = Char(x - 32);
    if (y >= u'a' && y <= u'z') y = Char(y - 32);
    if (x != y) return false;
  }
  return true;
}

bool IsValidIdent(const String& s) {
  if (s.empty()) return false;
  for (size_t i = 0; i < s.size(); ++i) {
    Char c = s[i];
    bool alpha = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
    bool digit = c >= u'0' && c <= u'9';
    if (!(alpha || (i > 0 && digit))) return false;
  }
  return true;
}

}  // namespace

void TPersistent::Assign(TPersistent* Source) {
  if (Source != nullptr) {
    Source->AssignTo(this);
    return;
  }
  throw EConvertError(u"Cannot assign a nil to a " + ClassName());
}

void TPersistent::AssignTo(TPersistent* Dest) {
  String dest = Dest != nullptr ? Dest->ClassName() : String(u"nil");
  throw EConvertError(u"Cannot assign a " + ClassName() + u" to a " + dest);
}

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner != nullptr) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  // Tell everyone who asked that this component goes away.
  while (!FFreeNotifies.empty()) {
    TComponent* c = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    c->RemoveNotification(this);
    c->Notification(this, opRemove);
  }
  DestroyComponents();
  if (FOwner != nullptr) FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(int Index) const {
  if (Index < 0 || Index >= ComponentCount())
    throw EListError(u"List index out of bounds (" + ToUtf16(std::to_string(Index)) + u")");
  return FComponents[static_cast<size_t>(Index)];
}

int TComponent::ComponentIndex() const {
  if (FOwner == nullptr) return -1;
  auto& list = FOwner->FComponents;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (AComponent == nullptr) return;
  if (AComponent->FOwner != nullptr) AComponent->FOwner->RemoveComponent(AComponent);
  if (!AComponent->FName.empty() && FindComponent(AComponent->FName) != nullptr)
    throw EComponentError(u"A component named " + AComponent->FName + u" already exists");
  Insert(AComponent);
  if (FComponentState.Contains(csLoading)) AComponent->BeginLoading();
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  if (AComponent == nullptr || AComponent->FOwner != this) return;
  Notification(AComponent, opRemove);
  Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent) {
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
  // What a designer owns is being designed too.
  if (FComponentState.Contains(csDesigning)) AComponent->SetComponentState(csDesigning, true);
}

void TComponent::Remove(TComponent* AComponent) {
  auto it = std::find(FComponents.begin(), FComponents.end(), AComponent);
  if (it != FComponents.end()) FComponents.erase(it);
  AComponent->FOwner = nullptr;
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    TComponent* c = FComponents.back();
    Remove(c);
    delete c;
  }
}

TComponent* TComponent::FindComponent(const String& AName) const {
  if (AName.empty()) return nullptr;
  for (TComponent* c : FComponents)
    if (SameName(c->FName, AName)) return c;
  return nullptr;
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (AComponent == nullptr || AComponent == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end()) {
    FFreeNotifies.push_back(AComponent);
    AComponent->FreeNotification(this);
  }
  FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  RemoveNotification(AComponent);
  if (AComponent != nullptr) AComponent->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* AComponent) {
  auto it = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent);
  if (it != FFreeNotifies.end()) FFreeNotifies.erase(it);
  if (FFreeNotifies.empty()) FComponentState.Exclude(csFreeNotification);
}

void TComponent::SetName(const String& NewName) {
  if (NewName == FName) return;
  if (!NewName.empty() && !IsValidIdent(NewName))
    throw EComponentError(u"'" + NewName + u"' is not a valid component name");
  if (FOwner != nullptr && !NewName.empty()) {
    TComponent* other = FOwner->FindComponent(NewName);
    if (other != nullptr && other != this)
      throw EComponentError(u"A component named " + NewName + u" already exists");
  }
  FName = NewName;
}

void TComponent::BeginLoading() {
  FComponentState.Include(csLoading);
  for (TComponent* c : FComponents) c->BeginLoading();
}

void TComponent::EndLoading() {
  // Copy: a Loaded handler may create or free components.
  std::vector<TComponent*> owned = FComponents;
  for (TComponent* c : owned)
    if (std::find(FComponents.begin(), FComponents.end(), c) != FComponents.end() && c->IsLoading())
      c->EndLoading();
  if (FComponentState.Contains(csLoading)) {
    FComponentState.Exclude(csLoading);
    FComponentState.Exclude(csReading);
    Loaded();
  }
}

void TComponent::Destroying() {
  if (FComponentState.Contains(csDestroying)) return;
  FComponentState.Include(csDestroying);
  for (TComponent* c : FComponents) c->Destroying();
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent != nullptr) RemoveFreeNotification(AComponent);
  // Owned components hear of every insertion and removal among their siblings.
  std::vector<TComponent*> owned = FComponents;
  for (TComponent* c : owned)
    if (c != AComponent && std::find(FComponents.begin(), FComponents.end(), c) != FComponents.end())
      c->Notification(AComponent, Operation);
}

void TComponent::Loaded() { FComponentState.Exclude(csFixups); }

void TComponent::SetComponentState(TComponentState State, bool On) {
  if (On) FComponentState.Include(State); else FComponentState.Exclude(State);
}
