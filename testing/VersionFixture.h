#pragma once
// Executables with a version block of the test's own: a copy of a small ELF program whose
// version section holds the given bytes (put there with objcopy, as a linker would).

#include <cstdlib>
#include <string>
#include <vector>

#include "testing/TempFolder.h"
#include "platform/win/Version.h"

// Copies /bin/true to Dir/Name with Block as its version section; false when objcopy fails.
inline bool MakeElfWithVersion(const TempFolder& Dir, const std::string& Name, const std::vector<uint8_t>& Block) {
  const std::string blockFile = Dir.File(Name + ".block");
  Dir.Write(Name + ".block", std::string(Block.begin(), Block.end()));
  const std::string command = std::string("objcopy --add-section ") + VersionSectionName + "='" + blockFile +
                              "' /bin/true '" + Dir.File(Name) + "' 2>/dev/null";
  return std::system(command.c_str()) == 0;
}

// The twelve strings of a version block, with the file version given.
inline TVersionInfo SampleVersionInfo(const std::u16string& FileVersion = u"1.0.0.0") {
  TVersionInfo info;
  info.Fixed.dwFileVersionMS = 0x00010000;
  info.Fixed.dwFileVersionLS = 0;
  info.Strings = {{u"CompanyName", u"Test Company"},     {u"FileDescription", u"A test program"},
                  {u"FileVersion", FileVersion},         {u"InternalName", u"test"},
                  {u"LegalCopyright", u"(C) test"},      {u"LegalTrademarks", u""},
                  {u"OriginalFileName", u"test.elf"},    {u"ProductName", u"テスト"},
                  {u"ProductVersion", FileVersion},      {u"Comments", u"no comment"},
                  {u"PrivateBuild", u""},                {u"SpecialBuild", u""}};
  return info;
}
