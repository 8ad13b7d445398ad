#pragma once
// The component model: assignable objects and components that own, name and
// notify each other. A component created with an owner is freed by that owner;
// deleting it yourself first removes it from the owner.

#include <vector>

#include "platform/rtl/System.h"

class TPersistent : public TObject {
public:
  String ClassName() const override { return u"TPersistent"; }
  // Copies Source into this object. The default hands the work to Source's
  // AssignTo, which raises EConvertError when neither side knows the other.
  virtual void Assign(TPersistent* Source);

protected:
  virtual void AssignTo(TPersistent* Dest);
};

enum TComponentState : uint8_t {
  csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor,
  csUpdating, csFixups, csFreeNotification, csInline, csDesignInstance
};
using TComponentStates = Set<TComponentState>;

enum TOperation : uint8_t { opInsert, opRemove };

class TComponent : public TPersistent {
public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;
  String ClassName() const override { return u"TComponent"; }

  TComponent* Owner() const { return FOwner; }
  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int Index) const;  // raises EListError out of range
  int ComponentIndex() const;               // position in the owner's list, -1 without owner

  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  // Frees every owned component, last created first.
  void DestroyComponents();
  TComponent* FindComponent(const String& AName) const;  // case-insensitive, nullptr when absent

  // AComponent is told (Notification opRemove) when this component is freed, and vice versa.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  const String& Name() const { return FName; }
  // Raises EComponentError for an invalid identifier or a name already used among the owner's components.
  virtual void SetName(const String& NewName);
  intptr_t Tag() const { return FTag; }
  void SetTag(intptr_t Value) { FTag = Value; }

  const TComponentStates& ComponentState() const { return FComponentState; }
  bool IsLoading() const { return FComponentState.Contains(csLoading); }
  bool IsDestroying() const { return FComponentState.Contains(csDestroying); }

  // Marks this component and everything it owns as loading; windows that build
  // themselves in code call this first and EndLoading when their properties are set.
  void BeginLoading();
  // Clears the loading state and calls Loaded on this component and on every owned
  // component that was loading, owned ones first.
  void EndLoading();

  // Sets csDestroying on this component and on every owned component. The destructors
  // of derived classes call it so that handlers can tell a closing component apart.
  void Destroying();

protected:
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  virtual void Loaded();
  void SetComponentState(TComponentState State, bool On);

private:
  void Insert(TComponent* AComponent);
  void Remove(TComponent* AComponent);
  void RemoveNotification(TComponent* AComponent);

  TComponent* FOwner = nullptr;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
  String FName;
  intptr_t FTag = 0;
  TComponentStates FComponentState;
};

RTL_EXCEPTION(EComponentError, Exception);
