// The class registry: one process-wide table of names, class identities and factories.

#include "platform/rtl/ClassRegistry.h"

#include <map>
#include <mutex>
#include <typeindex>

#include "platform/rtl/SysUtils.h"

namespace {
struct TEntry {
  String Name;
  std::type_index Type;
  TComponentClass Create;
};
struct TRegistry {
  std::mutex Mutex;
  std::map<String, TEntry> Classes;  // by upper-case name
};
TRegistry& Registry() {
  static TRegistry& r = *new TRegistry;  // outlives every static that may still ask
  return r;
}
}  // namespace

void RegisterClass(const String& Name, const std::type_info& Type, TComponentClass Create) {
  std::lock_guard<std::mutex> lock(Registry().Mutex);
  String key = UpperCase(Name);
  auto it = Registry().Classes.find(key);
  if (it != Registry().Classes.end()) {
    if (it->second.Type == std::type_index(Type)) return;
    throw EFilerError(Format(u"A class named %s already exists", {Name}));
  }
  Registry().Classes.emplace(key, TEntry{Name, std::type_index(Type), std::move(Create)});
}

void UnRegisterClass(const String& Name) {
  std::lock_guard<std::mutex> lock(Registry().Mutex);
  Registry().Classes.erase(UpperCase(Name));
}

TComponentClass GetClass(const String& Name) {
  std::lock_guard<std::mutex> lock(Registry().Mutex);
  auto it = Registry().Classes.find(UpperCase(Name));
  return it == Registry().Classes.end() ? TComponentClass() : it->second.Create;
}

TComponentClass FindClass(const String& Name) {
  TComponentClass c = GetClass(Name);
  if (!c) throw EClassNotFound(Format(u"Class %s not found", {Name}));
  return c;
}
