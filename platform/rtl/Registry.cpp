#include "platform/rtl/Registry.h"

#include <cstdlib>
#include <mutex>

#include "platform/rtl/SysUtils.h"

namespace {

const char16_t kStringTag[] = u"sz:";
const char16_t kIntegerTag[] = u"dword:";

// Serialises this process's use of the registry file.
std::recursive_mutex& RegistryMutex() {
  static std::recursive_mutex m;
  return m;
}

String RootName(HKEY root) {
  if (root == HKEY_CLASSES_ROOT) return u"HKEY_CLASSES_ROOT";
  if (root == HKEY_LOCAL_MACHINE) return u"HKEY_LOCAL_MACHINE";
  if (root == HKEY_USERS) return u"HKEY_USERS";
  return u"HKEY_CURRENT_USER";
}

// "a\\b\\" -> "a\b": empty parts dropped.
String NormalisePath(const String& path) {
  String out, part;
  for (size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == u'\\') {
      if (!part.empty()) {
        if (!out.empty()) out.push_back(u'\\');
        out += part;
      }
      part.clear();
    } else {
      part.push_back(path[i]);
    }
  }
  return out;
}

bool StartsWithText(const String& s, const String& prefix) {
  return s.size() >= prefix.size() && AnsiSameText(s.substr(0, prefix.size()), prefix);
}

struct StoredValue {
  bool exists = false;
  TRegDataType type = rdUnknown;
  String text;
};

StoredValue Lookup(TMemIniFile& ini, const String& section, const String& name) {
  StoredValue v;
  if (!ini.ValueExists(section, name)) return v;
  v.exists = true;
  String raw = ini.ReadString(section, name, String());
  if (StartsWithText(raw, kIntegerTag)) {
    v.type = rdInteger;
    v.text = raw.substr(std::char_traits<char16_t>::length(kIntegerTag));
  } else {
    v.type = rdString;
    v.text = StartsWithText(raw, kStringTag) ? raw.substr(std::char_traits<char16_t>::length(kStringTag)) : raw;
  }
  return v;
}

void Save(TMemIniFile& ini) {
  ForceDirectories(ExtractFileDir(ini.FileName()));
  ini.UpdateFile();
}

}  // namespace

String RegistryFileName() {
  String base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
    base = UTF8ToString(xdg);
  } else {
    const char* home = std::getenv("HOME");
    base = UTF8ToString(home && *home ? home : ".") + u"/.config";
  }
  return IncludeTrailingPathDelimiter(base) + u"rcv910x/registry.ini";
}

// ---------------------------------------------------------------------------
// TRegistry

void TRegistry::SetRootKey(HKEY Value) {
  CloseKey();
  FRootKey = Value;
}

String TRegistry::Resolve(const String& Key) const {
  if (!Key.empty() && Key[0] == u'\\') return NormalisePath(Key);
  if (FOpen && !FCurrentPath.empty()) return NormalisePath(FCurrentPath + u"\\" + Key);
  return NormalisePath(Key);
}

String TRegistry::SectionOf(const String& Path) const {
  return Path.empty() ? RootName(FRootKey) : RootName(FRootKey) + u"\\" + Path;
}

bool TRegistry::KeyExists(const String& Key) {
  String path = Resolve(Key);
  if (path.empty()) return true;
  std::lock_guard<std::recursive_mutex> lock(RegistryMutex());
  TMemIniFile ini(RegistryFileName());
  const String section = SectionOf(path);
  if (ini.SectionExists(section)) return true;
  // A key that only has subkeys exists too.
  TStringList sections;
  ini.ReadSections(&sections);
  for (int i = 0; i < sections.Count(); ++i)
    if (StartsWithText(sections[i], section + u"\\")) return true;
  return false;
}

bool TRegistry::CreateKey(const String& Key) {
  String path = Resolve(Key);
  if (path.empty() || KeyExists(Key)) return true;
  std::lock_guard<std::recursive_mutex> lock(RegistryMutex());
  TMemIniFile ini(RegistryFileName());
  // Writing and deleting a value leaves the key's empty section behind.
  ini.WriteString(SectionOf(path), u"_", String());
  ini.DeleteKey(SectionOf(path), u"_");
  try {
    Save(ini);
  } catch (const Exception& e) {
    throw ERegistryException(u"Failed to create key " + path + u": " + e.Message());
  }
  return true;
}

bool TRegistry::OpenKey(const String& Key, bool CanCreate) {
  String path = Resolve(Key);
  if (!KeyExists(u"\\" + path)) {
    if (!CanCreate) return false;
    CreateKey(u"\\" + path);
  }
  FOpen = true;
  FReadOnly = false;
  FCurrentPath = path;
  return true;
}

bool TRegistry::OpenKeyReadOnly(const String& Key) {
  String path = Resolve(Key);
  if (!KeyExists(u"\\" + path)) return false;
  FOpen = true;
  FReadOnly = true;
  FCurrentPath = path;
  return true;
}

void TRegistry::CloseKey() {
  FOpen = false;
  FReadOnly = false;
  FCurrentPath.clear();
}

bool TRegistry::DeleteKey(const String& Key) {
  String path = Resolve(Key);
  if (path.empty() || !KeyExists(u"\\" + path)) return false;
  std::lock_guard<std::recursive_mutex> lock(RegistryMutex());
  TMemIniFile ini(RegistryFileName());
  const String section = SectionOf(path);
  TStringList sections;
  ini.ReadSections(&sections);
  for (int i = 0; i < sections.Count(); ++i)
    if (AnsiSameText(sections[i], section) || StartsWithText(sections[i], section + u"\\"))
      ini.EraseSection(sections[i]);
  try {
    Save(ini);
  } catch (const Exception& e) {
    throw ERegistryException(u"Failed to delete key " + path + u": " + e.Message());
  }
  return true;
}

void TRegistry::CheckOpen(const String& Name, bool Writing) const {
  if (FOpen && !(Writing && FReadOnly)) return;
  throw ERegistryException((Writing ? u"Failed to set data for '" : u"Failed to get data for '") + Name + u"'");
}

bool TRegistry::ValueExists(const String& Name) {
  if (!FOpen) return false;
  std::lock_guard<std::recursive_mutex> lock(RegistryMutex());
  TMemIniFile ini(RegistryFileName());
  return ini.ValueExists(SectionOf(FCurrentPath), Name);
}

TRegDataType TRegistry::GetDataType(const String& Name) {
  if (!FOpen) return rdUnknown;
  std::lock_guard<std::recursive_mutex> lock(RegistryMutex());
  TMemIniFile ini(RegistryFileName());
  return Lookup(ini, SectionOf(FCurrentPath), Name).type;
}

bool TRegistry::DeleteValue(const String& Name) {
  CheckOpen(Name, true);
  std::lock_guard<std::recursive_mutex> lock(RegistryMutex());
  TMemIniFile ini(RegistryFileName());
  if (!ini.ValueExists(SectionOf(FCurrentPath), Name)) return false;
  ini.DeleteKey(SectionOf(FCurrentPath), Name);
  try {
    Save(ini);
  } catch (const Exception& e) {
    throw ERegistryException(u"Failed to delete value '" + Name + u"': " + e.Message());
  }
  return true;
}

void TRegistry::GetValueNames(TStrings* Strings) {
  Strings->Clear();
  if (!FOpen) return;
  std::lock_guard<std::recursive_mutex> lock(RegistryMutex());
  TMemIniFile ini(RegistryFileName());
  ini.ReadSection(SectionOf(FCurrentPath), Strings);
}

void TRegistry::GetKeyNames(TStrings* Strings) {
  Strings->BeginUpdate();
  Strings->Clear();
  if (FOpen) {
    std::lock_guard<std::recursive_mutex> lock(RegistryMutex());
    TMemIniFile ini(RegistryFileName());
    const String prefix = SectionOf(FCurrentPath) + u"\\";
    TStringList sections, names;
    ini.ReadSections(&sections);
    for (int i = 0; i < sections.Count(); ++i) {
      if (!StartsWithText(sections[i], prefix)) continue;
      String rest = sections[i].substr(prefix.size());
      String name = rest.substr(0, rest.find(u'\\'));
      if (!name.empty() && names.IndexOf(name) < 0) names.Add(name);
    }
    Strings->AddStrings(&names);
  }
  Strings->EndUpdate();
}

bool TRegistry::HasSubKeys() {
  TStringList names;
  GetKeyNames(&names);
  return names.Count() > 0;
}

String TRegistry::ReadString(const String& Name) {
  CheckOpen(Name, false);
  std::lock_guard<std::recursive_mutex> lock(RegistryMutex());
  TMemIniFile ini(RegistryFileName());
  StoredValue v = Lookup(ini, SectionOf(FCurrentPath), Name);
  if (!v.exists) return String();
  if (v.type != rdString) throw ERegistryException(u"Invalid data type for '" + Name + u"'");
  return v.text;
}

int32_t TRegistry::ReadInteger(const String& Name) {
  CheckOpen(Name, false);
  std::lock_guard<std::recursive_mutex> lock(RegistryMutex());
  TMemIniFile ini(RegistryFileName());
  StoredValue v = Lookup(ini, SectionOf(FCurrentPath), Name);
  int32_t value = 0;
  if (!v.exists || v.type != rdInteger || !TryStrToInt(v.text, value))
    throw ERegistryException(u"Invalid data type for '" + Name + u"'");
  return value;
}

void TRegistry::SetValue(const String& Name, const String& Stored) {
  CheckOpen(Name, true);
  std::lock_guard<std::recursive_mutex> lock(RegistryMutex());
  TMemIniFile ini(RegistryFileName());
  ini.WriteString(SectionOf(FCurrentPath), Name, Stored);
  try {
    Save(ini);
  } catch (const Exception& e) {
    throw ERegistryException(u"Failed to set data for '" + Name + u"': " + e.Message());
  }
}

void TRegistry::WriteString(const String& Name, const String& Value) { SetValue(Name, kStringTag + Value); }

void TRegistry::WriteInteger(const String& Name, int32_t Value) { SetValue(Name, kIntegerTag + IntToStr(Value)); }

// ---------------------------------------------------------------------------
// TRegistryIniFile

TRegistryIniFile::TRegistryIniFile(const String& FileName) : TCustomIniFile(FileName) {
  FReg.SetRootKey(HKEY_CURRENT_USER);
}

bool TRegistryIniFile::OpenSection(const String& Section, bool CanCreate) {
  return FReg.OpenKey(u"\\" + FileName() + u"\\" + Section, CanCreate);
}

String TRegistryIniFile::ReadString(const String& Section, const String& Ident, const String& Default) {
  if (!OpenSection(Section, false)) return Default;
  switch (FReg.GetDataType(Ident)) {
    case rdInteger: return IntToStr(FReg.ReadInteger(Ident));
    case rdUnknown: return Default;
    default: return FReg.ReadString(Ident);
  }
}

void TRegistryIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
  OpenSection(Section, true);
  FReg.WriteString(Ident, Value);
}

int32_t TRegistryIniFile::ReadInteger(const String& Section, const String& Ident, int32_t Default) {
  if (!OpenSection(Section, false)) return Default;
  switch (FReg.GetDataType(Ident)) {
    case rdInteger: return FReg.ReadInteger(Ident);
    case rdUnknown: return Default;
    default: return StrToIntDef(FReg.ReadString(Ident), Default);
  }
}

void TRegistryIniFile::WriteInteger(const String& Section, const String& Ident, int32_t Value) {
  OpenSection(Section, true);
  // A value kept as text stays text.
  if (FReg.GetDataType(Ident) == rdString) FReg.WriteString(Ident, IntToStr(Value));
  else FReg.WriteInteger(Ident, Value);
}

void TRegistryIniFile::ReadSection(const String& Section, TStrings* Strings) {
  if (OpenSection(Section, false)) FReg.GetValueNames(Strings);
  else Strings->Clear();
}

void TRegistryIniFile::ReadSections(TStrings* Strings) {
  if (FReg.OpenKey(u"\\" + FileName(), false)) FReg.GetKeyNames(Strings);
  else Strings->Clear();
}

void TRegistryIniFile::ReadSectionValues(const String& Section, TStrings* Strings) {
  TStringList names;
  ReadSection(Section, &names);
  Strings->BeginUpdate();
  Strings->Clear();
  for (int i = 0; i < names.Count(); ++i) Strings->Add(names[i] + u"=" + ReadString(Section, names[i], String()));
  Strings->EndUpdate();
}

void TRegistryIniFile::EraseSection(const String& Section) { FReg.DeleteKey(u"\\" + FileName() + u"\\" + Section); }

void TRegistryIniFile::DeleteKey(const String& Section, const String& Ident) {
  if (OpenSection(Section, false)) FReg.DeleteValue(Ident);
}

bool TRegistryIniFile::SectionExists(const String& Section) {
  return FReg.KeyExists(u"\\" + FileName() + u"\\" + Section);
}
