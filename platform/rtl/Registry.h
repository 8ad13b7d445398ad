#pragma once
// A registry stand-in: keys and values kept in one INI-format file in the user's
// configuration folder, "$XDG_CONFIG_HOME/rcv910x/registry.ini" (XDG_CONFIG_HOME
// defaults to ~/.config). Each key is a section named by its full path, root included
// ("HKEY_CURRENT_USER\Software\Tool\ComPort1"); each value is a line "Name=sz:text" or
// "Name=dword:123", so string and integer values keep their kinds. Key and value names
// ignore case. Every change is written to the file at once.

#include <cstdint>

#include "platform/rtl/Classes.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/System.h"

struct HKEY__;
using HKEY = HKEY__*;
inline const HKEY HKEY_CLASSES_ROOT = reinterpret_cast<HKEY>(uintptr_t{0x80000000});
inline const HKEY HKEY_CURRENT_USER = reinterpret_cast<HKEY>(uintptr_t{0x80000001});
inline const HKEY HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(uintptr_t{0x80000002});
inline const HKEY HKEY_USERS = reinterpret_cast<HKEY>(uintptr_t{0x80000003});

// The file that holds the stand-in registry.
String RegistryFileName();

enum TRegDataType : uint8_t { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

class TRegistry : public TObject {
public:
  TRegistry() = default;
  String ClassName() const override { return u"TRegistry"; }

  // Changing the root closes the open key. An unknown root is taken as the current user.
  HKEY RootKey() const { return FRootKey; }
  void SetRootKey(HKEY Value);

  // Key paths are relative to the open key, or to the root when they start with '\'.
  // Opens the key; with CanCreate a missing key is created first.
  bool OpenKey(const String& Key, bool CanCreate);
  bool OpenKeyReadOnly(const String& Key);
  void CloseKey();
  bool KeyExists(const String& Key);
  // Creates a key without opening it.
  bool CreateKey(const String& Key);
  // Removes the key with all its subkeys and values; False when it does not exist.
  bool DeleteKey(const String& Key);
  // The open key's path below the root ("" when none is open, or the root itself).
  const String& CurrentPath() const { return FCurrentPath; }
  bool HasOpenKey() const { return FOpen; }

  // Values of the open key. Without an open key every call raises ERegistryException.
  bool ValueExists(const String& Name);
  bool DeleteValue(const String& Name);
  void GetValueNames(TStrings* Strings);
  void GetKeyNames(TStrings* Strings);
  bool HasSubKeys();
  // rdUnknown for a missing value.
  TRegDataType GetDataType(const String& Name);

  // A missing string value reads as "". A value of the other kind raises ERegistryException.
  String ReadString(const String& Name);
  void WriteString(const String& Name, const String& Value);
  // A missing value, or one that is not an integer, raises ERegistryException.
  int32_t ReadInteger(const String& Name);
  void WriteInteger(const String& Name, int32_t Value);
  bool ReadBool(const String& Name) { return ReadInteger(Name) != 0; }
  void WriteBool(const String& Name, bool Value) { WriteInteger(Name, Value ? 1 : 0); }

private:
  String Resolve(const String& Key) const;  // path below the root
  String SectionOf(const String& Path) const;
  void CheckOpen(const String& Name, bool Writing) const;
  void SetValue(const String& Name, const String& Stored);

  HKEY FRootKey = HKEY_CURRENT_USER;
  bool FOpen = false;
  bool FReadOnly = false;
  String FCurrentPath;
};

// An INI-file view of a registry key under the current user: sections are its subkeys,
// keys are their values. Integer values may be stored as integers or as text.
class TRegistryIniFile : public TCustomIniFile {
public:
  explicit TRegistryIniFile(const String& FileName);
  String ClassName() const override { return u"TRegistryIniFile"; }

  String ReadString(const String& Section, const String& Ident, const String& Default) override;
  void WriteString(const String& Section, const String& Ident, const String& Value) override;
  int32_t ReadInteger(const String& Section, const String& Ident, int32_t Default) override;
  void WriteInteger(const String& Section, const String& Ident, int32_t Value) override;
  void ReadSection(const String& Section, TStrings* Strings) override;
  void ReadSections(TStrings* Strings) override;
  void ReadSectionValues(const String& Section, TStrings* Strings) override;
  void EraseSection(const String& Section) override;
  void DeleteKey(const String& Section, const String& Ident) override;
  void UpdateFile() override {}
  bool SectionExists(const String& Section) override;

  TRegistry& RegIniFile() { return FReg; }

private:
  bool OpenSection(const String& Section, bool CanCreate);

  TRegistry FReg;
};
