// The program's resource table: type and name (number or upper-cased text) to static bytes.
#include "platform/win/Resources.h"

#include <map>
#include <mutex>
#include <utility>
#include <variant>

#include "platform/win/Comm.h"  // SetLastError

namespace {

// A type or a name: a number, or text kept upper-case (names compare without case).
using TResourceKey = std::variant<WORD, std::u16string>;

struct HModuleTag {};
HModuleTag gProgram;

bool KeyOf(LPCWSTR Name, TResourceKey& Key) {
  if (Name == nullptr) return false;
  if (IS_INTRESOURCE(Name)) {
    Key = static_cast<WORD>(reinterpret_cast<uintptr_t>(Name));
    return true;
  }
  std::u16string text(Name);
  if (text.empty()) return false;
  // "#12" names number 12.
  if (text.size() > 1 && text.size() <= 6 && text[0] == u'#') {
    uint32_t n = 0;
    bool digits = true;
    for (size_t i = 1; i < text.size(); ++i) {
      if (text[i] < u'0' || text[i] > u'9') digits = false;
      else n = n * 10 + (text[i] - u'0');
    }
    if (digits && n <= 0xFFFF) {
      Key = static_cast<WORD>(n);
      return true;
    }
  }
  for (auto& c : text)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  Key = std::move(text);
  return true;
}

struct TResourceData {
  const void* Data;
  DWORD Size;
};

struct TResourceTable {
  std::mutex Lock;
  // Node-based: an entry's address is its HRSRC and stays valid while it is in the table.
  std::map<std::pair<TResourceKey, TResourceKey>, TResourceData> Entries;
};

TResourceTable& Table() {
  static TResourceTable table;
  return table;
}

}  // namespace

const HMODULE HInstance = reinterpret_cast<HMODULE>(&gProgram);

bool RegisterResource(LPCWSTR Type, LPCWSTR Name, const void* Data, DWORD Size) {
  TResourceKey type, name;
  if (!KeyOf(Type, type) || !KeyOf(Name, name) || (Data == nullptr && Size != 0)) return false;
  std::lock_guard<std::mutex> lock(Table().Lock);
  Table().Entries[{std::move(type), std::move(name)}] = TResourceData{Data, Size};
  return true;
}

void UnregisterResource(LPCWSTR Type, LPCWSTR Name) {
  TResourceKey type, name;
  if (!KeyOf(Type, type) || !KeyOf(Name, name)) return;
  std::lock_guard<std::mutex> lock(Table().Lock);
  Table().Entries.erase({std::move(type), std::move(name)});
}

HRSRC FindResourceW(HMODULE, LPCWSTR Name, LPCWSTR Type) {
  TResourceKey type, name;
  if (KeyOf(Type, type) && KeyOf(Name, name)) {
    std::lock_guard<std::mutex> lock(Table().Lock);
    auto it = Table().Entries.find({std::move(type), std::move(name)});
    if (it != Table().Entries.end()) return reinterpret_cast<HRSRC>(&it->second);
  }
  SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
  return nullptr;
}

HGLOBAL LoadResource(HMODULE, HRSRC Resource) {
  return Resource ? reinterpret_cast<const TResourceData*>(Resource)->Data : nullptr;
}

const void* LockResource(HGLOBAL Data) { return Data; }

DWORD SizeofResource(HMODULE, HRSRC Resource) {
  return Resource ? reinterpret_cast<const TResourceData*>(Resource)->Size : 0;
}
