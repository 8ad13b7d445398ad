#pragma once
// The class registry: classes registered under their names so that stored window
// descriptions and streams can create them by name.

#include <functional>
#include <typeinfo>

#include "platform/rtl/Component.h"

RTL_EXCEPTION(EFilerError, EStreamError);
RTL_EXCEPTION(EClassNotFound, EFilerError);

// Makes a component of a registered class with the given owner.
using TComponentClass = std::function<TComponent*(TComponent* AOwner)>;

// Registers Create under Name for the class Type. Registering the same class again does
// nothing; another class under a name already taken raises EFilerError.
void RegisterClass(const String& Name, const std::type_info& Type, TComponentClass Create);
template <class T>
void RegisterClass(const String& Name) {
  RegisterClass(Name, typeid(T), [](TComponent* AOwner) -> TComponent* { return new T(AOwner); });
}
// Forgets a registration; nothing when the name is not registered.
void UnRegisterClass(const String& Name);
// The class registered under Name (case-insensitive), empty when there is none.
TComponentClass GetClass(const String& Name);
// The same, raising EClassNotFound when there is none.
TComponentClass FindClass(const String& Name);
