#include "platform/rtl/IniFiles.h"

#include <sys/stat.h>

#include <algorithm>
#include <ctime>
#include <mutex>
#include <unordered_set>

#include "platform/rtl/CodePages.h"

namespace {

// One line of an INI file as the readers see it.
struct IniLine {
  enum Kind { Ignored, SectionHeader, KeyValue, Other } kind = Ignored;
  String name;   // section name, key name, or the whole trimmed line for Other
  String value;  // KeyValue only
};

IniLine ParseLine(const String& raw) {
  IniLine l;
  String s = Trim(raw);
  if (s.empty() || s[0] == u';') return l;
  if (s.size() >= 2 && s.front() == u'[' && s.back() == u']') {
    l.kind = IniLine::SectionHeader;
    l.name = Trim(s.substr(1, s.size() - 2));
    return l;
  }
  size_t eq = s.find(u'=');
  if (eq == String::npos) {
    l.kind = IniLine::Other;
    l.name = s;
    return l;
  }
  l.kind = IniLine::KeyValue;
  l.name = Trim(s.substr(0, eq));
  l.value = Trim(s.substr(eq + 1));
  return l;
}

// Serialises the write-through file operations of this process.
std::mutex& FileMutex() {
  static std::mutex m;
  return m;
}

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

// Text holds no NUL and no control character other than tab, line and page ends, and the
// old end-of-file mark.
bool IsText(std::string_view Bytes) {
  for (unsigned char c : Bytes)
    if ((c < 0x20 && c != '\t' && c != '\n' && c != '\v' && c != '\f' && c != '\r' && c != 0x1A) || c == 0x7F)
      return false;
  return true;
}

std::vector<String> SplitLines(const String& Text) {
  std::vector<String> lines;
  size_t p = 0;
  while (p < Text.size()) {
    size_t start = p;
    while (p < Text.size() && Text[p] != u'\r' && Text[p] != u'\n') ++p;
    lines.push_back(Text.substr(start, p - start));
    if (p < Text.size() && Text[p] == u'\r') ++p;
    if (p < Text.size() && Text[p] == u'\n') ++p;
  }
  return lines;
}

// A settings file's lines and the encoding they came in: UTF-8 when the bytes are valid UTF-8,
// else code page 932; anything that is not text in one of them raises EFOpenError.
std::vector<String> DecodeIni(const String& FileName, std::string_view Bytes, TIniEncoding& Encoding) {
  auto refuse = [&](const char16_t* why) {
    throw EFOpenError(u"Cannot open file \"" + FileName + u"\". " + why);
  };
  if (!IsText(Bytes)) refuse(u"It is not a text file.");
  String text;
  if (Bytes.substr(0, Utf8Bom.size()) == Utf8Bom) {
    if (!DecodeCodePage(Bytes.substr(Utf8Bom.size()), "UTF-8", text)) refuse(u"It is not valid UTF-8 text.");
    Encoding = ieUTF8BOM;
  } else if (DecodeCodePage(Bytes, "UTF-8", text)) {
    Encoding = ieUTF8;
  } else if (DecodeCodePage(Bytes, "CP932", text)) {
    Encoding = ieCP932;
  } else {
    refuse(u"It is neither UTF-8 nor Shift_JIS text.");
  }
  return SplitLines(text);
}

// The file's bytes: each line ended by CR LF, in Encoding. A character that Encoding cannot
// carry raises EFCreateError rather than being replaced.
std::string EncodeIni(const String& FileName, const std::vector<String>& Lines, TIniEncoding Encoding) {
  String text;
  for (const String& l : Lines) text += l + u"\r\n";
  if (Encoding == ieUTF8) return StringToUTF8(text);
  if (Encoding == ieUTF8BOM) return std::string(Utf8Bom) + StringToUTF8(text);
  std::string bytes;
  if (!EncodeCodePage(text, "CP932", bytes))
    throw EFCreateError(u"Cannot create file \"" + FileName +
                        u"\". It holds a character that its encoding (Shift_JIS) cannot carry.");
  return bytes;
}

void WriteIni(const String& FileName, const std::string& Bytes) {
  // Only a regular file is written over: writing to a FIFO or device may block or act on it.
  struct stat st;
  if (::stat(StringToUTF8(FileName).c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode))
    throw EFCreateError(u"Cannot create file \"" + FileName + u"\". It is not a regular file.");
  // Written beside and renamed over it: a full disk or a failing write leaves the old file whole.
  SaveFileReplacing(FileName, Bytes.data(), Bytes.size());
}

// A settings file's lines (empty for a missing file or a folder) and their encoding.
std::vector<String> ReadIni(const String& FileName, TIniEncoding& Encoding) {
  Encoding = ieUTF8;
  if (!FileExists(FileName)) return {};
  return DecodeIni(FileName, ReadFileBytes(FileName, MaxIniFileSize), Encoding);
}

}  // namespace

// ---------------------------------------------------------------------------
// TCustomIniFile

int32_t TCustomIniFile::ReadInteger(const String& Section, const String& Ident, int32_t Default) {
  return StrToIntDef(ReadString(Section, Ident, String()), Default);
}

void TCustomIniFile::WriteInteger(const String& Section, const String& Ident, int32_t Value) {
  WriteString(Section, Ident, IntToStr(Value));
}

bool TCustomIniFile::ReadBool(const String& Section, const String& Ident, bool Default) {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const String& Section, const String& Ident, bool Value) {
  WriteString(Section, Ident, Value ? u"1" : u"0");
}

double TCustomIniFile::ReadFloat(const String& Section, const String& Ident, double Default) {
  return StrToFloatDef(ReadString(Section, Ident, String()), Default);
}

void TCustomIniFile::WriteFloat(const String& Section, const String& Ident, double Value) {
  WriteString(Section, Ident, FloatToStr(Value));
}

TDateTime TCustomIniFile::ReadDateTime(const String& Section, const String& Ident, TDateTime Default) {
  String s = ReadString(Section, Ident, String());
  return s.empty() ? Default : StrToDateTimeDef(s, Default);
}

void TCustomIniFile::WriteDateTime(const String& Section, const String& Ident, TDateTime Value) {
  WriteString(Section, Ident, DateTimeToStr(Value));
}

void TCustomIniFile::WriteStrings(const String& Section, const std::vector<std::pair<String, String>>& Values) {
  for (const auto& [ident, value] : Values) WriteString(Section, ident, value);
}

bool TCustomIniFile::SectionExists(const String& Section) {
  TStringList keys;
  ReadSection(Section, &keys);
  return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const String& Section, const String& Ident) {
  TStringList keys;
  ReadSection(Section, &keys);
  return keys.IndexOf(Ident) >= 0;
}

// ---------------------------------------------------------------------------
// TMemIniFile

TMemIniFile::TMemIniFile(const String& FileName) : TCustomIniFile(FileName) {
  Section* current = nullptr;
  for (const String& line : ReadIni(FileName, FEncoding)) AddLine(current, line);
}

TMemIniFile::Section* TMemIniFile::FindSection(const String& Name) {
  auto it = FSectionIndex.find(AnsiLowerCase(Name));
  return it == FSectionIndex.end() ? nullptr : &FSections[it->second];
}

TMemIniFile::Section& TMemIniFile::AddSection(const String& Name) {
  if (Section* s = FindSection(Name)) return *s;
  FSectionIndex.emplace(AnsiLowerCase(Name), FSections.size());
  FSections.push_back(Section{Name, {}});
  return FSections.back();
}

TMemIniFile::Entry* TMemIniFile::FindEntry(Section& S, const String& Ident) {
  for (Entry& e : S.Entries)
    if (e.HasValue && AnsiSameText(e.Name, Ident)) return &e;
  return nullptr;
}

String TMemIniFile::ReadString(const String& Section, const String& Ident, const String& Default) {
  if (auto* s = FindSection(Section))
    if (Entry* e = FindEntry(*s, Ident)) return e->Value;
  return Default;
}

void TMemIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
  auto& s = AddSection(Section);
  if (Entry* e = FindEntry(s, Ident)) e->Value = Value;
  else s.Entries.push_back(Entry{Ident, Value, true});
}

void TMemIniFile::ReadSection(const String& Section, TStrings* Strings) {
  Strings->BeginUpdate();
  Strings->Clear();
  if (auto* s = FindSection(Section))
    for (const Entry& e : s->Entries)
      if (e.HasValue) Strings->Add(e.Name);
  Strings->EndUpdate();
}

void TMemIniFile::ReadSections(TStrings* Strings) {
  Strings->BeginUpdate();
  Strings->Clear();
  for (const Section& s : FSections) Strings->Add(s.Name);
  Strings->EndUpdate();
}

void TMemIniFile::ReadSectionValues(const String& Section, TStrings* Strings) {
  Strings->BeginUpdate();
  Strings->Clear();
  if (auto* s = FindSection(Section))
    for (const Entry& e : s->Entries) Strings->Add(e.HasValue ? e.Name + u"=" + e.Value : e.Name);
  Strings->EndUpdate();
}

void TMemIniFile::EraseSection(const String& Section) {
  auto it = FSectionIndex.find(AnsiLowerCase(Section));
  if (it == FSectionIndex.end()) return;
  FSections.erase(FSections.begin() + static_cast<std::ptrdiff_t>(it->second));
  FSectionIndex.clear();
  for (size_t i = 0; i < FSections.size(); ++i) FSectionIndex.emplace(AnsiLowerCase(FSections[i].Name), i);
}

void TMemIniFile::DeleteKey(const String& Section, const String& Ident) {
  auto* s = FindSection(Section);
  if (!s) return;
  for (auto it = s->Entries.begin(); it != s->Entries.end(); ++it)
    if (it->HasValue && AnsiSameText(it->Name, Ident)) {
      s->Entries.erase(it);
      return;
    }
}

bool TMemIniFile::SectionExists(const String& Section) { return FindSection(Section) != nullptr; }

void TMemIniFile::Clear() {
  FSections.clear();
  FSectionIndex.clear();
}

void TMemIniFile::GetStrings(TStrings* List) const {
  List->BeginUpdate();
  for (const Section& s : FSections) {
    List->Add(u"[" + s.Name + u"]");
    for (const Entry& e : s.Entries) List->Add(e.HasValue ? e.Name + u"=" + e.Value : e.Name);
    List->Add(String());
  }
  List->EndUpdate();
}

void TMemIniFile::AddLine(Section*& Current, const String& Raw) {
  IniLine l = ParseLine(Raw);
  switch (l.kind) {
    case IniLine::SectionHeader:
      // A section named twice continues the first one.
      Current = &AddSection(l.name);
      break;
    case IniLine::KeyValue:
      if (Current) Current->Entries.push_back(Entry{l.name, l.value, true});
      break;
    case IniLine::Other:
      if (Current) Current->Entries.push_back(Entry{l.name, String(), false});
      break;
    case IniLine::Ignored:
      break;
  }
}

void TMemIniFile::SetStrings(const TStrings* List) {
  Clear();
  Section* current = nullptr;
  for (int i = 0; i < List->Count(); ++i) AddLine(current, List->Get(i));
}

void TMemIniFile::UpdateFile() {
  TStringList list;
  GetStrings(&list);
  std::vector<String> lines;
  lines.reserve(static_cast<size_t>(list.Count()));
  for (int i = 0; i < list.Count(); ++i) lines.push_back(list[i]);
  WriteIni(FileName(), EncodeIni(FileName(), lines, FEncoding));
}

// ---------------------------------------------------------------------------
// TIniFile

namespace {

// What identifies a file's content without reading it.
struct FileStamp {
  dev_t Device = 0;
  ino_t Inode = 0;
  off_t Size = -1;
  timespec Modified{}, Changed{};
  bool operator==(const FileStamp& o) const {
    return Device == o.Device && Inode == o.Inode && Size == o.Size && Modified.tv_sec == o.Modified.tv_sec &&
           Modified.tv_nsec == o.Modified.tv_nsec && Changed.tv_sec == o.Changed.tv_sec &&
           Changed.tv_nsec == o.Changed.tv_nsec;
  }
};

// False for a missing file or a folder.
bool StampOf(const String& FileName, FileStamp& S) {
  struct stat st;
  if (::stat(StringToUTF8(FileName).c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  S.Device = st.st_dev;
  S.Inode = st.st_ino;
  S.Size = st.st_size;
  S.Modified = st.st_mtim;
  S.Changed = st.st_ctim;
  return true;
}

// Coarse file-system clocks, and some file systems, keep times to two seconds at worst.
constexpr time_t TimeResolution = 2;

// The file last changed longer ago than the time resolution, so any later change shows in
// its stamp.
bool OldEnough(const FileStamp& S) {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return now.tv_sec - std::max(S.Modified.tv_sec, S.Changed.tv_sec) > TimeResolution;
}

}  // namespace

// The file's decoded text and the stamp of the file it came from.
struct TIniFile::TCache {
  bool Valid = false;
  bool Trusted = false;  // the stamp alone proves the content (see OldEnough)
  FileStamp When;
  std::string Bytes;
  TIniEncoding Encoding = ieUTF8;
  std::vector<String> Lines;
  std::vector<IniLine> Parsed;

  void SetLines(std::vector<String> L) {
    Lines = std::move(L);
    Parsed.clear();
    Parsed.reserve(Lines.size());
    for (const String& l : Lines) Parsed.push_back(ParseLine(l));
  }
  // Index of the first header line of Section, or -1.
  int FindHeader(const String& Section) const {
    for (size_t i = 0; i < Parsed.size(); ++i)
      if (Parsed[i].kind == IniLine::SectionHeader && AnsiSameText(Parsed[i].name, Section)) return static_cast<int>(i);
    return -1;
  }
  // One past the last line of the section whose header is at Header.
  size_t SectionEnd(int Header) const {
    size_t i = static_cast<size_t>(Header) + 1;
    while (i < Parsed.size() && Parsed[i].kind != IniLine::SectionHeader) ++i;
    return i;
  }
};

TIniFile::TIniFile(const String& FileName) : TCustomIniFile(FileName), FCache(std::make_unique<TCache>()) {}
TIniFile::~TIniFile() = default;

const TIniFile::TCache& TIniFile::Load() {
  TCache& c = *FCache;
  FileStamp now;
  if (!StampOf(FileName(), now)) {
    // Missing (or a folder): an empty file, created by the first write.
    c.Valid = c.Trusted = false;
    c.Bytes.clear();
    c.Encoding = ieUTF8;
    c.SetLines({});
    return c;
  }
  if (c.Valid && c.Trusted && now == c.When) return c;
  std::string bytes = ReadFileBytes(FileName(), MaxIniFileSize);
  if (!c.Valid || bytes != c.Bytes) {
    c.Valid = false;
    TIniEncoding encoding = ieUTF8;
    c.SetLines(DecodeIni(FileName(), bytes, encoding));
    c.Encoding = encoding;
    c.Bytes = std::move(bytes);
    c.Valid = true;
  }
  c.When = now;
  c.Trusted = OldEnough(now);
  return c;
}

void TIniFile::SaveLines(std::vector<String> Lines) {
  TCache& c = *FCache;
  try {
    std::string bytes = EncodeIni(FileName(), Lines, c.Encoding);
    WriteIni(FileName(), bytes);
    c.Bytes = std::move(bytes);
  } catch (const EStreamError& e) {
    c.Valid = false;
    throw EIniFileException(u"Unable to write to " + FileName() + u": " + e.Message());
  }
  // Kept for the next operation, which still checks the file against these bytes.
  c.SetLines(std::move(Lines));
  c.Valid = StampOf(FileName(), c.When);
  c.Trusted = false;
}

String TIniFile::ReadString(const String& Section, const String& Ident, const String& Default) {
  std::lock_guard<std::mutex> lock(FileMutex());
  const TCache& c = Load();
  int h = c.FindHeader(Section);
  if (h < 0) return Default;
  for (size_t i = static_cast<size_t>(h) + 1, end = c.SectionEnd(h); i < end; ++i) {
    const IniLine& l = c.Parsed[i];
    if (l.kind == IniLine::KeyValue && AnsiSameText(l.name, Ident)) return l.value;
  }
  return Default;
}

void TIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
  std::lock_guard<std::mutex> lock(FileMutex());
  const TCache& c = Load();
  std::vector<String> lines = c.Lines;
  const String line = Ident + u"=" + Value;
  int h = c.FindHeader(Section);
  if (h < 0) {
    if (!lines.empty() && !Trim(lines.back()).empty()) lines.push_back(String());
    lines.push_back(u"[" + Section + u"]");
    lines.push_back(line);
  } else {
    size_t end = c.SectionEnd(h);
    size_t insertAt = static_cast<size_t>(h) + 1;
    bool replaced = false;
    for (size_t i = insertAt; i < end; ++i) {
      const IniLine& l = c.Parsed[i];
      if (l.kind == IniLine::KeyValue && AnsiSameText(l.name, Ident)) {
        lines[i] = l.name + u"=" + Value;  // the key keeps its spelling
        replaced = true;
        break;
      }
      if (l.kind != IniLine::Ignored) insertAt = i + 1;
    }
    // A new key goes after the section's last key, ahead of blank lines before the next.
    if (!replaced) lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), line);
  }
  SaveLines(std::move(lines));
}

void TIniFile::WriteStrings(const String& Section, const std::vector<std::pair<String, String>>& Values) {
  if (Values.empty()) return;
  std::lock_guard<std::mutex> lock(FileMutex());
  const TCache& c = Load();
  std::vector<String> lines = c.Lines;
  // The section's keys by name (upper case), and where new keys go.
  std::unordered_map<String, size_t> at;
  std::vector<String> added;
  std::unordered_map<String, size_t> addedAt;
  int h = c.FindHeader(Section);
  size_t insertAt = lines.size();
  if (h >= 0) {
    insertAt = static_cast<size_t>(h) + 1;
    for (size_t i = insertAt, end = c.SectionEnd(h); i < end; ++i) {
      const IniLine& l = c.Parsed[i];
      if (l.kind == IniLine::KeyValue) at.emplace(AnsiUpperCase(l.name), i);
      if (l.kind != IniLine::Ignored) insertAt = i + 1;
    }
  }
  for (const auto& [ident, value] : Values) {
    const String key = AnsiUpperCase(ident);
    if (auto it = at.find(key); it != at.end()) {
      lines[it->second] = c.Parsed[it->second].name + u"=" + value;  // the key keeps its spelling
    } else if (auto a = addedAt.find(key); a != addedAt.end()) {
      added[a->second] = ident + u"=" + value;
    } else {
      addedAt.emplace(key, added.size());
      added.push_back(ident + u"=" + value);
    }
  }
  if (h < 0) {
    if (!lines.empty() && !Trim(lines.back()).empty()) lines.push_back(String());
    lines.push_back(u"[" + Section + u"]");
    lines.insert(lines.end(), added.begin(), added.end());
  } else {
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), added.begin(), added.end());
  }
  SaveLines(std::move(lines));
}

void TIniFile::ReadSection(const String& Section, TStrings* Strings) {
  std::vector<String> names;
  {
    std::lock_guard<std::mutex> lock(FileMutex());
    const TCache& c = Load();
    int h = c.FindHeader(Section);
    if (h >= 0)
      for (size_t i = static_cast<size_t>(h) + 1, end = c.SectionEnd(h); i < end; ++i)
        if (c.Parsed[i].kind == IniLine::KeyValue) names.push_back(c.Parsed[i].name);
  }
  Strings->BeginUpdate();
  Strings->Clear();
  for (const String& n : names) Strings->Add(n);
  Strings->EndUpdate();
}

void TIniFile::ReadSections(TStrings* Strings) {
  std::vector<String> names;
  {
    std::lock_guard<std::mutex> lock(FileMutex());
    std::unordered_set<String> seen;
    for (const IniLine& l : Load().Parsed)
      if (l.kind == IniLine::SectionHeader && seen.insert(AnsiLowerCase(l.name)).second) names.push_back(l.name);
  }
  Strings->BeginUpdate();
  Strings->Clear();
  for (const String& n : names) Strings->Add(n);
  Strings->EndUpdate();
}

void TIniFile::ReadSectionValues(const String& Section, TStrings* Strings) {
  std::vector<String> values;
  {
    std::lock_guard<std::mutex> lock(FileMutex());
    const TCache& c = Load();
    int h = c.FindHeader(Section);
    if (h >= 0)
      for (size_t i = static_cast<size_t>(h) + 1, end = c.SectionEnd(h); i < end; ++i)
        if (c.Parsed[i].kind == IniLine::KeyValue) values.push_back(c.Parsed[i].name + u"=" + c.Parsed[i].value);
  }
  Strings->BeginUpdate();
  Strings->Clear();
  for (const String& v : values) Strings->Add(v);
  Strings->EndUpdate();
}

void TIniFile::EraseSection(const String& Section) {
  std::lock_guard<std::mutex> lock(FileMutex());
  const TCache& c = Load();
  int h = c.FindHeader(Section);
  if (h < 0) return;
  std::vector<String> lines = c.Lines;
  lines.erase(lines.begin() + h, lines.begin() + static_cast<std::ptrdiff_t>(c.SectionEnd(h)));
  SaveLines(std::move(lines));
}

void TIniFile::DeleteKey(const String& Section, const String& Ident) {
  std::lock_guard<std::mutex> lock(FileMutex());
  const TCache& c = Load();
  int h = c.FindHeader(Section);
  if (h < 0) return;
  for (size_t i = static_cast<size_t>(h) + 1, end = c.SectionEnd(h); i < end; ++i) {
    const IniLine& l = c.Parsed[i];
    if (l.kind == IniLine::KeyValue && AnsiSameText(l.name, Ident)) {
      std::vector<String> lines = c.Lines;
      lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
      SaveLines(std::move(lines));
      return;
    }
  }
}

bool TIniFile::SectionExists(const String& Section) {
  std::lock_guard<std::mutex> lock(FileMutex());
  return Load().FindHeader(Section) >= 0;
}
