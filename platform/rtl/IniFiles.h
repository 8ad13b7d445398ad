#pragma once
// INI files: "[Section]" lines open sections, "Key=Value" lines hold values.
// Section and key names ignore case. Files are UTF-8 (with or without a byte-order mark) or,
// when they are not valid UTF-8, Japanese text in code page 932 (Shift_JIS); each is written
// back in the encoding it was read in, with CR LF line ends. Values are stored as given:
// no quoting, no escaping; blanks around '=' and around a line are dropped on reading.
// Only regular files of at most MaxIniFileSize bytes holding text are read: anything else
// (a FIFO, a device, a binary file) raises EFOpenError and is never written over.

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/System.h"

// Largest settings file read: settings are a few kilobytes; this leaves room for any real one.
constexpr int64_t MaxIniFileSize = 16 * 1024 * 1024;

// The byte encoding a file was read in and is written back in; a new file is UTF-8.
enum TIniEncoding : uint8_t { ieUTF8, ieUTF8BOM, ieCP932 };

// The operations every INI store offers; typed reads and writes go through ReadString
// and WriteString.
class TCustomIniFile : public TObject {
public:
  explicit TCustomIniFile(const String& FileName) : FFileName(FileName) {}
  String ClassName() const override { return u"TCustomIniFile"; }
  const String& FileName() const { return FFileName; }

  virtual String ReadString(const String& Section, const String& Ident, const String& Default) = 0;
  virtual void WriteString(const String& Section, const String& Ident, const String& Value) = 0;
  // Decimal, "$"/"0x" hexadecimal; a missing key or a text that is no number gives Default.
  virtual int32_t ReadInteger(const String& Section, const String& Ident, int32_t Default);
  virtual void WriteInteger(const String& Section, const String& Ident, int32_t Value);
  // The integer value is not 0 (so "0" is False, "1" True); otherwise as ReadInteger.
  virtual bool ReadBool(const String& Section, const String& Ident, bool Default);
  virtual void WriteBool(const String& Section, const String& Ident, bool Value);  // "1" / "0"
  virtual double ReadFloat(const String& Section, const String& Ident, double Default);
  virtual void WriteFloat(const String& Section, const String& Ident, double Value);
  virtual TDateTime ReadDateTime(const String& Section, const String& Ident, TDateTime Default);
  virtual void WriteDateTime(const String& Section, const String& Ident, TDateTime Value);
  // Writes several keys of one section, as WriteString does each (later pairs win); a store
  // that writes its file at every change writes it once for all of them.
  virtual void WriteStrings(const String& Section, const std::vector<std::pair<String, String>>& Values);

  // Fill Strings (cleared first) with the section's key names / the section names /
  // the section's "Key=Value" lines.
  virtual void ReadSection(const String& Section, TStrings* Strings) = 0;
  virtual void ReadSections(TStrings* Strings) = 0;
  virtual void ReadSectionValues(const String& Section, TStrings* Strings) = 0;
  virtual void EraseSection(const String& Section) = 0;
  virtual void DeleteKey(const String& Section, const String& Ident) = 0;
  // Writes pending changes to the file.
  virtual void UpdateFile() = 0;
  virtual bool SectionExists(const String& Section);
  virtual bool ValueExists(const String& Section, const String& Ident);

private:
  String FFileName;
};

// The whole file held in memory: read when the object is created (a missing file is an
// empty store), written back only by UpdateFile. Loading keeps no comments (';' lines),
// blank lines or lines before the first section; UpdateFile writes each section as its
// "[Name]" line, its key lines and one empty line.
class TMemIniFile : public TCustomIniFile {
public:
  // Raises EFOpenError when the file exists but cannot be read or holds no text.
  explicit TMemIniFile(const String& FileName);
  String ClassName() const override { return u"TMemIniFile"; }

  String ReadString(const String& Section, const String& Ident, const String& Default) override;
  void WriteString(const String& Section, const String& Ident, const String& Value) override;
  void ReadSection(const String& Section, TStrings* Strings) override;
  void ReadSections(TStrings* Strings) override;
  void ReadSectionValues(const String& Section, TStrings* Strings) override;
  void EraseSection(const String& Section) override;
  void DeleteKey(const String& Section, const String& Ident) override;
  // Raises EFCreateError naming the file when it cannot be written, or when a value holds a
  // character the file's encoding cannot carry; creates a missing file.
  void UpdateFile() override;
  // An empty section exists too.
  bool SectionExists(const String& Section) override;

  void Clear();
  // The store as file lines / the store replaced by lines in the file's syntax.
  void GetStrings(TStrings* List) const;
  void SetStrings(const TStrings* List);

private:
  struct Entry {
    String Name;  // the whole line when it holds no '='
    String Value;
    bool HasValue = true;
  };
  struct Section {
    String Name;
    std::vector<Entry> Entries;
  };
  Section* FindSection(const String& Name);
  Section& AddSection(const String& Name);
  Entry* FindEntry(Section& S, const String& Ident);
  void AddLine(Section*& Current, const String& Raw);

  std::vector<Section> FSections;
  std::unordered_map<String, size_t> FSectionIndex;  // lower-case name to index in FSections
  TIniEncoding FEncoding = ieUTF8;
};

// Every call works on the file itself: reads see the file as it is now, and each write
// changes that one line (or adds it) and saves the file at once, keeping everything else
// in it (comments, blank lines, other sections) as it was. UpdateFile has nothing to do.
// The file's text is decoded once and kept while the file stays the same (same file, size
// and change times, or the same bytes), so reading many keys reads a large file once.
class TIniFile : public TCustomIniFile {
public:
  explicit TIniFile(const String& FileName);
  ~TIniFile() override;
  String ClassName() const override { return u"TIniFile"; }

  // Reads raise EFOpenError when the file exists but cannot be read or holds no text.
  String ReadString(const String& Section, const String& Ident, const String& Default) override;
  // Raises EIniFileException naming the file when it cannot be written (EFOpenError as reads do).
  void WriteString(const String& Section, const String& Ident, const String& Value) override;
  void WriteStrings(const String& Section, const std::vector<std::pair<String, String>>& Values) override;
  void ReadSection(const String& Section, TStrings* Strings) override;
  void ReadSections(TStrings* Strings) override;
  void ReadSectionValues(const String& Section, TStrings* Strings) override;
  void EraseSection(const String& Section) override;
  void DeleteKey(const String& Section, const String& Ident) override;
  void UpdateFile() override {}
  bool SectionExists(const String& Section) override;

private:
  struct TCache;
  // The file's text as it is now (empty for a missing file); the caller holds the file lock.
  const TCache& Load();
  // Writes Lines in the file's encoding and keeps them as the file's text.
  void SaveLines(std::vector<String> Lines);

  std::unique_ptr<TCache> FCache;
};
