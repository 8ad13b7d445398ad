#include "platform/rtl/IniFiles.h"

#include <mutex>

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
  if (!FileExists(FileName)) return;
  TStringList lines;
  lines.LoadFromFile(FileName);
  SetStrings(&lines);
}

TMemIniFile::Section* TMemIniFile::FindSection(const String& Name) {
  for (Section& s : FSections)
    if (AnsiSameText(s.Name, Name)) return &s;
  return nullptr;
}

TMemIniFile::Section& TMemIniFile::AddSection(const String& Name) {
  if (Section* s = FindSection(Name)) return *s;
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
  for (auto it = FSections.begin(); it != FSections.end(); ++it)
    if (AnsiSameText(it->Name, Section)) {
      FSections.erase(it);
      return;
    }
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

void TMemIniFile::Clear() { FSections.clear(); }

void TMemIniFile::GetStrings(TStrings* List) const {
  List->BeginUpdate();
  for (const Section& s : FSections) {
    List->Add(u"[" + s.Name + u"]");
    for (const Entry& e : s.Entries) List->Add(e.HasValue ? e.Name + u"=" + e.Value : e.Name);
    List->Add(String());
  }
  List->EndUpdate();
}

void TMemIniFile::SetStrings(const TStrings* List) {
  Clear();
  Section* current = nullptr;
  for (int i = 0; i < List->Count(); ++i) {
    IniLine l = ParseLine(List->Get(i));
    switch (l.kind) {
      case IniLine::SectionHeader:
        // A section named twice continues the first one.
        current = &AddSection(l.name);
        break;
      case IniLine::KeyValue:
        if (current) current->Entries.push_back(Entry{l.name, l.value, true});
        break;
      case IniLine::Other:
        if (current) current->Entries.push_back(Entry{l.name, String(), false});
        break;
      case IniLine::Ignored:
        break;
    }
  }
}

void TMemIniFile::UpdateFile() {
  TStringList lines;
  GetStrings(&lines);
  lines.SaveToFile(FileName());
}

// ---------------------------------------------------------------------------
// TIniFile

std::vector<String> TIniFile::LoadLines() const {
  std::vector<String> out;
  if (!FileExists(FileName())) return out;
  TStringList lines;
  lines.LoadFromFile(FileName());
  for (int i = 0; i < lines.Count(); ++i) out.push_back(lines[i]);
  return out;
}

void TIniFile::SaveLines(const std::vector<String>& Lines) const {
  TStringList lines;
  for (const String& s : Lines) lines.Add(s);
  try {
    lines.SaveToFile(FileName());
  } catch (const EStreamError& e) {
    throw EIniFileException(u"Unable to write to " + FileName() + u": " + e.Message());
  }
}

namespace {

// Index of the first header line of Section, or -1.
int FindHeader(const std::vector<String>& lines, const String& section) {
  for (size_t i = 0; i < lines.size(); ++i) {
    IniLine l = ParseLine(lines[i]);
    if (l.kind == IniLine::SectionHeader && AnsiSameText(l.name, section)) return static_cast<int>(i);
  }
  return -1;
}

// One past the last line of the section whose header is at `header`.
size_t SectionEnd(const std::vector<String>& lines, int header) {
  size_t i = static_cast<size_t>(header) + 1;
  while (i < lines.size() && ParseLine(lines[i]).kind != IniLine::SectionHeader) ++i;
  return i;
}

}  // namespace

String TIniFile::ReadString(const String& Section, const String& Ident, const String& Default) {
  std::lock_guard<std::mutex> lock(FileMutex());
  std::vector<String> lines = LoadLines();
  int h = FindHeader(lines, Section);
  if (h < 0) return Default;
  for (size_t i = static_cast<size_t>(h) + 1, end = SectionEnd(lines, h); i < end; ++i) {
    IniLine l = ParseLine(lines[i]);
    if (l.kind == IniLine::KeyValue && AnsiSameText(l.name, Ident)) return l.value;
  }
  return Default;
}

void TIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
  std::lock_guard<std::mutex> lock(FileMutex());
  std::vector<String> lines = LoadLines();
  const String line = Ident + u"=" + Value;
  int h = FindHeader(lines, Section);
  if (h < 0) {
    if (!lines.empty() && !Trim(lines.back()).empty()) lines.push_back(String());
    lines.push_back(u"[" + Section + u"]");
    lines.push_back(line);
  } else {
    size_t end = SectionEnd(lines, h);
    size_t insertAt = static_cast<size_t>(h) + 1;
    bool replaced = false;
    for (size_t i = insertAt; i < end; ++i) {
      IniLine l = ParseLine(lines[i]);
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
  SaveLines(lines);
}

void TIniFile::ReadSection(const String& Section, TStrings* Strings) {
  std::vector<String> lines;
  {
    std::lock_guard<std::mutex> lock(FileMutex());
    lines = LoadLines();
  }
  Strings->BeginUpdate();
  Strings->Clear();
  int h = FindHeader(lines, Section);
  if (h >= 0)
    for (size_t i = static_cast<size_t>(h) + 1, end = SectionEnd(lines, h); i < end; ++i) {
      IniLine l = ParseLine(lines[i]);
      if (l.kind == IniLine::KeyValue) Strings->Add(l.name);
    }
  Strings->EndUpdate();
}

void TIniFile::ReadSections(TStrings* Strings) {
  std::vector<String> lines;
  {
    std::lock_guard<std::mutex> lock(FileMutex());
    lines = LoadLines();
  }
  TStringList seen;
  for (const String& raw : lines) {
    IniLine l = ParseLine(raw);
    if (l.kind == IniLine::SectionHeader && seen.IndexOf(l.name) < 0) seen.Add(l.name);
  }
  Strings->BeginUpdate();
  Strings->Clear();
  Strings->AddStrings(&seen);
  Strings->EndUpdate();
}

void TIniFile::ReadSectionValues(const String& Section, TStrings* Strings) {
  std::vector<String> lines;
  {
    std::lock_guard<std::mutex> lock(FileMutex());
    lines = LoadLines();
  }
  Strings->BeginUpdate();
  Strings->Clear();
  int h = FindHeader(lines, Section);
  if (h >= 0)
    for (size_t i = static_cast<size_t>(h) + 1, end = SectionEnd(lines, h); i < end; ++i) {
      IniLine l = ParseLine(lines[i]);
      if (l.kind == IniLine::KeyValue) Strings->Add(l.name + u"=" + l.value);
    }
  Strings->EndUpdate();
}

void TIniFile::EraseSection(const String& Section) {
  std::lock_guard<std::mutex> lock(FileMutex());
  std::vector<String> lines = LoadLines();
  int h = FindHeader(lines, Section);
  if (h < 0) return;
  lines.erase(lines.begin() + h, lines.begin() + static_cast<std::ptrdiff_t>(SectionEnd(lines, h)));
  SaveLines(lines);
}

void TIniFile::DeleteKey(const String& Section, const String& Ident) {
  std::lock_guard<std::mutex> lock(FileMutex());
  std::vector<String> lines = LoadLines();
  int h = FindHeader(lines, Section);
  if (h < 0) return;
  for (size_t i = static_cast<size_t>(h) + 1, end = SectionEnd(lines, h); i < end; ++i) {
    IniLine l = ParseLine(lines[i]);
    if (l.kind == IniLine::KeyValue && AnsiSameText(l.name, Ident)) {
      lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
      SaveLines(lines);
      return;
    }
  }
}

bool TIniFile::SectionExists(const String& Section) {
  std::lock_guard<std::mutex> lock(FileMutex());
  return FindHeader(LoadLines(), Section) >= 0;
}
