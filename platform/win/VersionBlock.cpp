// Writes a version block in the documented layout (the build's generator and tests use it).
#include <cstdio>

#include "platform/win/Version.h"

namespace {

class TBlockWriter {
public:
  std::vector<uint8_t> Bytes;
  bool Overflow = false;

  void Word(uint16_t w) {
    Bytes.push_back(static_cast<uint8_t>(w));
    Bytes.push_back(static_cast<uint8_t>(w >> 8));
  }
  void DWord(uint32_t d) {
    Word(static_cast<uint16_t>(d));
    Word(static_cast<uint16_t>(d >> 16));
  }
  void Text(const std::u16string& s) {
    for (char16_t c : s) Word(c);
    Word(0);
  }
  void Align() {
    while (Bytes.size() % 4) Bytes.push_back(0);
  }
  // A node's header and key; its value and children follow, then End.
  size_t Begin(const std::u16string& Key, uint16_t ValueLength, uint16_t Type) {
    Align();
    size_t start = Bytes.size();
    Word(0);
    Word(ValueLength);
    Word(Type);
    Text(Key);
    Align();
    return start;
  }
  void End(size_t Start) {
    size_t length = Bytes.size() - Start;
    if (length > 0xFFFF) Overflow = true;
    Bytes[Start] = static_cast<uint8_t>(length);
    Bytes[Start + 1] = static_cast<uint8_t>(length >> 8);
  }
};

}  // namespace

std::vector<uint8_t> MakeVersionBlock(const TVersionInfo& Info) {
  TBlockWriter w;
  size_t root = w.Begin(u"VS_VERSION_INFO", sizeof(VS_FIXEDFILEINFO), 0);
  const VS_FIXEDFILEINFO& f = Info.Fixed;
  for (DWORD d : {f.dwSignature, f.dwStrucVersion, f.dwFileVersionMS, f.dwFileVersionLS, f.dwProductVersionMS,
                  f.dwProductVersionLS, f.dwFileFlagsMask, f.dwFileFlags, f.dwFileOS, f.dwFileType,
                  f.dwFileSubtype, f.dwFileDateMS, f.dwFileDateLS})
    w.DWord(d);

  size_t stringInfo = w.Begin(u"StringFileInfo", 0, 1);
  char name[9];
  std::snprintf(name, sizeof name, "%.4x%.4x", static_cast<unsigned>(Info.Language),
                static_cast<unsigned>(Info.CodePage));
  size_t table = w.Begin(std::u16string(name, name + 8), 0, 1);
  for (const auto& [key, text] : Info.Strings) {
    if (text.size() + 1 > 0xFFFF) return {};
    size_t s = w.Begin(key, static_cast<uint16_t>(text.size() + 1), 1);
    w.Text(text);
    w.End(s);
  }
  w.End(table);
  w.End(stringInfo);

  size_t varInfo = w.Begin(u"VarFileInfo", 0, 1);
  size_t var = w.Begin(u"Translation", 4, 0);
  w.Word(Info.Language);
  w.Word(Info.CodePage);
  w.End(var);
  w.End(varInfo);
  w.End(root);
  if (w.Overflow) return {};
  return std::move(w.Bytes);
}
