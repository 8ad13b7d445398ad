#pragma once
// Change notification for the registry stand-in: a one-shot watch of one key that sets an
// event when the key's stored content changes, whichever process wrote the store.

#include <cstdint>
#include <memory>

#include "platform/rtl/Registry.h"
#include "platform/rtl/SyncObjs.h"

// What a watch reacts to: subkeys added or removed, and values written or removed.
// Attribute and security changes have no meaning in the stand-in and never signal.
constexpr uint32_t REG_NOTIFY_CHANGE_NAME = 0x1;
constexpr uint32_t REG_NOTIFY_CHANGE_ATTRIBUTES = 0x2;
constexpr uint32_t REG_NOTIFY_CHANGE_LAST_SET = 0x4;
constexpr uint32_t REG_NOTIFY_CHANGE_SECURITY = 0x8;

// One armed watch. It sets its event at most once; destroying it cancels it.
class TRegChangeWatch {
public:
  TRegChangeWatch(HKEY Root, const String& Key, bool WatchSubtree, uint32_t Filter, TEvent& Event);
  ~TRegChangeWatch();
  TRegChangeWatch(const TRegChangeWatch&) = delete;
  TRegChangeWatch& operator=(const TRegChangeWatch&) = delete;

private:
  struct Impl;
  std::unique_ptr<Impl> d;
};

// Arms a watch of Key under Root (its subkeys too when WatchSubtree): Event is set once a
// change that Filter names reaches the store. The event must outlive the watch. Raises
// ERegistryException when the store's folder cannot be watched.
std::unique_ptr<TRegChangeWatch> RegNotifyChangeKeyValue(HKEY Root, const String& Key, bool WatchSubtree,
                                                         uint32_t Filter, TEvent& Event);
