// Settings files: any bytes are read as an INI file or refused with EFOpenError; what is read
// is written back and reads back the same.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/rtl/IniFiles.h"

namespace {

std::string Folder() {
  static std::string dir = [] {
    char tmpl[] = "/tmp/fuzz-ini-XXXXXX";
    if (!::mkdtemp(tmpl)) std::abort();
    return std::string(tmpl);
  }();
  return dir;
}

void Write(const std::string& path, const uint8_t* data, size_t size) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  if (size) std::fwrite(data, 1, size, f);
  std::fclose(f);
}

// Every section's "Key=Value" lines.
std::string Dump(TCustomIniFile& ini) {
  TStringList sections, values;
  ini.ReadSections(&sections);
  std::string out;
  for (int i = 0; i < sections.Count(); ++i) {
    ini.ReadSectionValues(sections[i], &values);
    out += StringToUTF8(u"[" + sections[i] + u"]\n" + values.Text());
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string in = Folder() + "/in.ini", out = Folder() + "/out.ini";
  Write(in, data, size);
  std::string first;
  try {
    TMemIniFile ini(UTF8ToString(in));
    first = Dump(ini);
    TIniFile direct(UTF8ToString(in));
    direct.ReadString(u"Application", u"AppIcon", u"");
    TMemIniFile copy(UTF8ToString(out));
    TStringList lines;
    ini.GetStrings(&lines);
    copy.SetStrings(&lines);
    copy.UpdateFile();
    ini.UpdateFile();  // the write-back, in the encoding the file came in
  } catch (const EFOpenError&) {
    return 0;  // not text, or not readable
  } catch (const EFCreateError&) {
    return 0;  // a value the encoding cannot carry
  }
  TMemIniFile again(UTF8ToString(out));
  if (Dump(again) != first) std::abort();
  return 0;
}
