// The grid's plain text files: the text grid file, delimited text (CSV), aligned text and
// fixed-width text.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "controls/VevAzez.h"
#include "grid/AdvGrid.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Forms.h"

namespace {

constexpr Char kCR = 13, kLF = 10, kQuote = u'"';

// The whole content of a file; a missing or unreadable file raises the file error naming it.
std::string ReadFileBytes(const String& FileName) {
  TFileStream fs(FileName, fmOpenRead | fmShareDenyNone);
  std::string bytes(static_cast<size_t>(fs.Size()), '\0');
  if (!bytes.empty()) fs.ReadBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  return bytes;
}

std::string ReadStreamBytes(TStream* Stream) {
  int64_t left = Stream->Size() - Stream->Position();
  std::string bytes(static_cast<size_t>(std::max<int64_t>(0, left)), '\0');
  if (!bytes.empty()) bytes.resize(static_cast<size_t>(Stream->Read(bytes.data(), static_cast<int32_t>(bytes.size()))));
  return bytes;
}

void WriteFileBytes(const String& FileName, const std::string& Bytes) {
  TFileStream fs(FileName, fmCreate);
  if (!Bytes.empty()) fs.WriteBuffer(Bytes.data(), static_cast<int32_t>(Bytes.size()));
}

// The lines of a text, split at CR LF, CR or LF; a line break at the end ends the last line.
std::vector<String> SplitLines(const String& Text) {
  std::vector<String> lines;
  size_t start = 0, n = Text.size();
  for (size_t i = 0; i < n; ++i) {
    Char c = Text[i];
    if (c != kCR && c != kLF) continue;
    lines.emplace_back(Text, start, i - start);
    if (c == kCR && i + 1 < n && Text[i + 1] == kLF) ++i;
    start = i + 1;
  }
  if (start < n) lines.emplace_back(Text, start, n - start);
  return lines;
}

// The lines of a text file (encoding from its byte-order mark, else ANSI).
std::vector<String> ReadTextLines(const String& FileName) { return SplitLines(DecodeTextFile(ReadFileBytes(FileName))); }

// Joins lines, each ended by CR LF.
String JoinLines(const std::vector<String>& Lines) {
  size_t total = 0;
  for (const String& l : Lines) total += l.size() + 2;
  String out;
  out.reserve(total);
  for (const String& l : Lines) {
    out += l;
    out += u"\r\n";
  }
  return out;
}

bool HasLineBreak(const String& S) { return S.find_first_of(u"\r\n") != String::npos; }

// Appends a CSV field as the general steps write it when no OEM conversion and no Java form
// apply and the delimiter D is neither a quote nor a line break: one scan finds the delimiter,
// quotes and line breaks; a field holding none of them is copied as it is. Otherwise quotes
// are doubled, and the field is enclosed in quotes when AlwaysQuotes is set or it holds quotes
// but no delimiter (a CR LF inside then becomes LF), or when it holds the delimiter or a line
// break (a CR LF inside then becomes character 11). An empty field is "" with QuoteEmpty.
void AppendCsvField(String& Out, const String& T, Char D, bool AlwaysQuotes, bool QuoteEmpty) {
  bool hasD = false, hasQuote = false, hasBreak = false;
  for (Char c : T) {
    if (c > kQuote && c != D) continue;
    if (c == D) hasD = true;
    else if (c == kQuote) hasQuote = true;
    else if (c == kCR || c == kLF) hasBreak = true;
  }
  if (T.empty()) {
    if (AlwaysQuotes || QuoteEmpty) Out += u"\"\"";
    return;
  }
  const bool quoted = AlwaysQuotes || (!hasD && hasQuote);
  if (!quoted && !hasD && !hasBreak) {
    Out += T;
    return;
  }
  // CR LF inside becomes LF in a quoted field, character 11 in one enclosed for its delimiter
  // or line break; other characters stay, quotes doubled.
  const bool joinBreaks = hasD || hasBreak;
  Out.push_back(kQuote);
  const size_t n = T.size();
  for (size_t i = 0; i < n; ++i) {
    const Char c = T[i];
    if (c == kQuote) {
      Out.push_back(kQuote);
    } else if (c == kCR && joinBreaks && i + 1 < n && T[i + 1] == kLF) {
      Out.push_back(quoted ? kLF : Char(11));
      ++i;
      continue;
    }
    Out.push_back(c);
  }
  Out.push_back(kQuote);
}

// The integer at the start of a text (leading spaces and a sign allowed), 0 when there is
// none; trailing characters are ignored. Values beyond the 32-bit range are cut to it.
int LenientInt(const String& S) {
  size_t i = 0, n = S.size();
  while (i < n && S[i] == u' ') ++i;
  bool neg = false;
  if (i < n && (S[i] == u'-' || S[i] == u'+')) neg = S[i++] == u'-';
  int64_t v = 0;
  for (; i < n && S[i] >= u'0' && S[i] <= u'9'; ++i) v = std::min<int64_t>(v * 10 + (S[i] - u'0'), int64_t(1) << 32);
  v = neg ? -v : v;
  return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// The text before the first "," (all of it without one); Rest keeps what follows the ",".
String SplitComma(String& Rest) {
  size_t p = Rest.find(u',');
  if (p == String::npos) {
    String all;
    all.swap(Rest);
    return all;
  }
  String head = Rest.substr(0, p);
  Rest.erase(0, p + 1);
  return head;
}

// The text file variant writes every line break encoded (CR 9, LF 8, #0 1), also a text with
// LF but no CR, which would otherwise be read back as a line of its own.
String EncodeFileCellText(const String& S) {
  if (!HasLineBreak(S)) return S;
  String r = S;
  for (Char& c : r) {
    if (c == kCR) c = 9;
    else if (c == kLF) c = 8;
    else if (c == 0) c = 1;
  }
  return r;
}

// Index of the quote closing a quoted field whose text starts at From: the first quote that
// is not part of a doubled pair, a quote in the last position always counting; npos when none.
size_t FindClosingQuote(const String& S, size_t From) {
  size_t n = 0;
  const size_t last = S.size() - 1;
  for (size_t j = From; j < S.size(); ++j) {
    if (S[j] == kQuote) {
      if (j == last) return j;
      ++n;
    } else {
      if (n % 2 == 1) return j - 1;
      n = 0;
    }
  }
  return String::npos;
}

String Undouble(const String& S, size_t From, size_t Count) {
  String out;
  out.reserve(Count);
  const size_t end = From + Count;
  for (size_t i = From; i < end; ++i) {
    out.push_back(S[i]);
    if (S[i] == kQuote && i + 1 < end && S[i + 1] == kQuote) ++i;
  }
  return out;
}

// Follows the fields of a delimited record line by line, to tell whether a quoted field is
// still open at the end of what was fed (the record then goes on on the next line). A quote
// at the end of a line closes the field.
class TCsvRecordScanner {
public:
  explicit TCsvRecordScanner(Char D) : FD(D) {}
  // Feeds the characters of Line; true when the record is complete after them.
  bool Feed(const String& Line) {
    for (Char c : Line) {
      switch (FState) {
        case sFieldStart:
          if (c == kQuote) {
            FState = sQuoted;
            FQuotes = 0;
          } else if (c != FD) {
            FState = sPlain;
          }
          break;
        case sPlain:
        case sAfterClose:
          if (c == FD) FState = sFieldStart;
          break;
        case sQuoted:
          if (c == kQuote) {
            ++FQuotes;
          } else if (FQuotes % 2 == 1) {
            FState = c == FD ? sFieldStart : sAfterClose;
          } else {
            FQuotes = 0;
          }
          break;
      }
    }
    if (FState == sQuoted && FQuotes == 0) return false;
    if (FState == sQuoted) FState = sAfterClose;
    return true;
  }

private:
  enum { sFieldStart, sPlain, sQuoted, sAfterClose } FState = sFieldStart;
  Char FD;
  size_t FQuotes = 0;
};

// The delimiter of a delimited text from its first two lines; #0 when no candidate occurs.
Char DetectDelimiter(const String& L1, const String& L2) {
  static const Char kCandidates[] = {u',', u';', u'#', u'\t', u'|', u'@', u'*', u'-', u'+', u'&'};
  Char found = 0;
  int best = 0;
  for (auto count : {CountUndoubledChars, CharCount}) {
    for (Char c : kCandidates) {
      int c1 = count(c, L1), c2 = count(c, L2);
      if (c1 == c2 && c1 > best) {
        found = c;
        best = c1;
      }
    }
    if (found) return found;
  }
  for (Char c : kCandidates) {
    int m = std::max(CharCount(c, L1), CharCount(c, L2));
    if (m > best) {
      found = c;
      best = m;
    }
  }
  return found;
}

}  // namespace

void DEreDuzeroVaro::FireFileProgress(int Progress, int& Last) {
  if (!OnFileProgress || Progress == Last) return;
  Last = Progress;
  OnFileProgress(this, static_cast<int16_t>(Progress));
}

// ---- The text grid file

void DEreDuzeroVaro::SaveToFile(const String& FileName, bool Unicode) {
  const int h = FSaveHiddenCells ? NumHiddenColumns() : 0;
  std::vector<String> lines;
  lines.push_back(IntToStr(SaveColCount() + h) + u"," + IntToStr(SaveRowCount()));
  for (int c = SaveStartCol(); c <= SaveEndCol() + h; ++c)
    lines.push_back(u"cw " + IntToStr(c) + u"," + IntToStr(ColWidths(c)));
  int last = -1;
  const int sr = SaveStartRow();
  ExportNotification(esExportStart, sr);
  for (int r = sr; r <= SaveEndRow(); ++r) {
    ExportNotification(esExportNextRow, r);
    for (int c = SaveStartCol(); c <= SaveEndCol() + h; ++c) {
      String text = GetSaveCellText(c, r);
      if (text.empty()) continue;
      lines.push_back(IntToStr(c) + u"," + IntToStr(r) + u"," + EncodeFileCellText(text));
    }
    FireFileProgress(static_cast<int>(std::lround(r * 100.0 / std::max(1, SaveRowCount() - 1))), last);
  }
  ExportNotification(esExportDone, -1);
  WriteFileBytes(FileName, EncodeTextFile(JoinLines(lines), Unicode ? TTextFileEncoding::Utf16LE : TTextFileEncoding::Ansi));
}

void DEreDuzeroVaro::LoadFromFile(const String& FileName) {
  if (FFileLoading) throw VUreReriVorov(u"The grid is already loading a file");
  std::vector<String> lines = ReadTextLines(FileName);
  FFileLoading = true;
  TScopeGuard loading([this] { FFileLoading = false; });
  int fc = FixedCols(), fr = FixedRows();
  if (FSaveFixedCells || FSaveFixedCols) fc = 0;
  if (FSaveFixedCells || FSaveFixedRows) fr = 0;
  if (!lines.empty() && !lines[0].empty()) {
    String rest = lines[0];
    int cols = std::clamp(LenientInt(SplitComma(rest)), 0, GridMaxColCount);
    int rows = std::clamp(LenientInt(rest), 0, GridMaxRowCount);
    SetColCount(std::min(fc + cols, GridMaxColCount));
    SetRowCount(std::min(fr + rows, GridMaxRowCount));
    if (cols == 0 || rows == 0) throw VUreReriVorov(u"File contains no data or corrupt file " + FileName);
  }
  int last = -1, lastShown = -1;
  for (size_t i = 1; i < lines.size(); ++i) {
    const String& line = lines[i];
    if (line.compare(0, 2, u"cw") == 0) {
      String rest = line.size() > 3 ? line.substr(3) : String();
      int col = LenientInt(SplitComma(rest));
      int width = LenientInt(rest.substr(0, 255));
      if (col >= 0 && col < ColCount()) SetColWidths(col, std::max(0, width));
      continue;
    }
    String rest = line;
    int col = LenientInt(SplitComma(rest));
    String rowText = SplitComma(rest);
    // Without a second "," the text after the first one is the row and the cell text is empty;
    // without any "," the whole line is the text of cell (0, 0).
    int row = LenientInt(rowText);
    String text = rest;
    if (line.find(u',') == String::npos) {
      col = row = 0;
      text = line;
    }
    if (col >= 0 && col < ColCount() && row >= 0 && row < RowCount())
      LoadCell(col, row, DecodeLineBreakChars(text, FMultilinecells));
    int progress = static_cast<int>(std::lround(row * 100.0 / std::max(1, RowCount() - 1)));
    FireFileProgress(progress, last);
    // Keeps the window responsive during long loads, a hundred times at most.
    if (progress != lastShown && Application) {
      lastShown = progress;
      Application->ProcessMessages();
    }
  }
  CellsChanged(TRect{0, 0, ColCount(), RowCount()});
}

double DEreDuzeroVaro::CellToReal(int ACol, int ARow) {
  String s = Cells(ACol, ARow);
  if (s.empty()) return 0;
  String t = StripNumberFormat(s);
  // The longest prefix that reads as a number: sign, digits, one ".", an exponent.
  size_t i = 0, n = t.size();
  while (i < n && t[i] == u' ') ++i;
  size_t start = i;
  if (i < n && (t[i] == u'-' || t[i] == u'+')) ++i;
  size_t digits = 0;
  while (i < n && t[i] >= u'0' && t[i] <= u'9') ++i, ++digits;
  if (i < n && t[i] == u'.') {
    ++i;
    while (i < n && t[i] >= u'0' && t[i] <= u'9') ++i, ++digits;
  }
  if (digits == 0)
    throw VUreReriVorov(u"Error at position: " + IntToStr(static_cast<int>(i + 1)) + u" in Cell [" + IntToStr(ACol) +
                        u", " + IntToStr(ARow) + u"].");
  if (i < n && (t[i] == u'e' || t[i] == u'E')) {
    size_t j = i + 1;
    if (j < n && (t[j] == u'-' || t[j] == u'+')) ++j;
    if (j < n && t[j] >= u'0' && t[j] <= u'9') {
      while (j < n && t[j] >= u'0' && t[j] <= u'9') ++j;
      i = j;
    }
  }
  std::string ascii(t.begin() + static_cast<ptrdiff_t>(start), t.begin() + static_cast<ptrdiff_t>(i));
  return std::strtod(ascii.c_str(), nullptr);
}

int DEreDuzeroVaro::MaxColTextLength(int ACol) {
  int longest = 0;
  for (int r = 0; r < RowCount(); ++r) {
    String s = GetSaveCellText(ACol, r);
    if (s.empty()) continue;
    if (!FMultilinecells) {
      size_t p = s.find(kCR);
      longest = std::max(longest, static_cast<int>(p == String::npos ? s.size() : p));
      continue;
    }
    size_t start = 0;
    while (start <= s.size()) {
      size_t p = s.find(kCR, start);
      size_t end = p == String::npos ? s.size() : p;
      longest = std::max(longest, static_cast<int>(end - start));
      if (p == String::npos) break;
      start = p + 1;
      if (start < s.size() && s[start] == kLF) ++start;
    }
  }
  return longest;
}

// ---- Delimited text

void DEreDuzeroVaro::SaveToCSV(const String& FileName, bool Unicode) { SaveCSVWorker(FileName, Unicode, false); }

void DEreDuzeroVaro::AppendToCSV(const String& FileName, bool Unicode) { SaveCSVWorker(FileName, Unicode, true); }

void DEreDuzeroVaro::SaveCSVWorker(const String& FileName, bool Unicode, bool Append) {
  const Char D = FDelimiter ? FDelimiter : u',';
  const int h = FSaveHiddenCells ? NumHiddenColumns() : 0;
  String out;
  if (Append) out = JoinLines(ReadTextLines(FileName));
  // Written in pieces, so that a large grid needs no second copy of itself in memory.
  const TTextFileEncoding enc = Unicode ? TTextFileEncoding::Utf8 : TTextFileEncoding::Ansi;
  TFileStream fs(FileName, fmCreate);
  bool mark = true;
  auto flush = [&] {
    std::string bytes = EncodeTextFile(out, enc, mark);
    mark = false;
    if (!bytes.empty()) fs.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    out.clear();
  };
  int last = -1;
  const int sr = SaveStartRow();
  const int sc = SaveStartCol();
  // Fields are escaped straight into the output by one scan each, unless the OEM conversion,
  // the Java form or a delimiter that is itself a quote or a line break asks for the general
  // steps below.
  const bool direct = !FOemConvert && !FJavaCSV && D != kQuote && D != kCR && D != kLF;
  out.reserve(out.size() + (1 << 16) + 1024);
  ExportNotification(esExportStart, sr);
  for (int r = sr; r <= SaveEndRow(); ++r) {
    ExportNotification(esExportNextRow, r);
    const int ec = SaveEndCol() + h;
    for (int c = sc; c <= ec; ++c) {
      if (c > sc) out.push_back(D);
      int rc = FSaveHiddenCells ? c : DisplToRealCol(c);
      String t = GetSaveCellText(rc, r);
      if (direct) {
        AppendCsvField(out, t, D, FAlwaysQuotes, FQuoteEmptyCells);
        continue;
      }
      const Char special[] = {D, kQuote, kCR, kLF, 0};
      // A field without delimiter, quote or line break is written as it is.
      if (!t.empty() && !FAlwaysQuotes && !FOemConvert && t.find_first_of(special) == String::npos) {
        out += t;
        continue;
      }
      t = EscapeCsvQuotes(t);
      if (FOemConvert) StringToOem(t);
      bool quoted = false;
      const bool hasD = t.find(D) != String::npos;
      if (FAlwaysQuotes || (!hasD && t.find(kQuote) != String::npos)) {
        t = u'"' + t + u'"';
        quoted = true;
      }
      if (t.empty()) {
        if (FJavaCSV) t = u"^";
        else if (FQuoteEmptyCells) t = u"\"\"";
      }
      // Any line break encodes the field, so that a record always stays on one line.
      if (hasD || HasLineBreak(t)) {
        if (FJavaCSV) {
          LineBreaksToTilde(t);
          if (hasD && !quoted) t = u'"' + t + u'"';
        } else if (quoted) {
          RemoveCRFromCRLF(t);
        } else {
          EncodeCellLineBreaks(t);
        }
      }
      out += t;
    }
    out += u"\r\n";
    if (out.size() >= 1 << 16) flush();
    FireFileProgress(static_cast<int>(std::lround(r * 100.0 / std::max(1, RowCount() - 1))), last);
  }
  ExportNotification(esExportDone, -1);
  flush();
}

void DEreDuzeroVaro::LoadFromCSV(const String& FileName, int MaxRows) {
  LoadCSVWorker(DecodeTextFile(ReadFileBytes(FileName)), MaxRows, false);
}

void DEreDuzeroVaro::InsertFromCSV(const String& FileName, int MaxRows) {
  LoadCSVWorker(DecodeTextFile(ReadFileBytes(FileName)), MaxRows, true);
}

void DEreDuzeroVaro::LoadFromCSVStream(TStream* AStream, int MaxRows) {
  LoadCSVWorker(DecodeTextFile(ReadStreamBytes(AStream)), MaxRows, false);
}

void DEreDuzeroVaro::LoadCSVWorker(const String& Text, int MaxRows, bool Insert) {
  if (FFileLoading) throw VUreReriVorov(u"The grid is already loading a file");
  std::vector<String> lines = SplitLines(Text);
  if (lines.empty()) throw Exception(u"File is empty");
  FFileLoading = true;
  TScopeGuard loading([this] { FFileLoading = false; });
  const int h = FSaveHiddenCells ? NumHiddenColumns() : 0;
  const int sc = SaveStartCol();
  // Inserted lines go after the last row; a shown footer row (fsFixedLastRow) stays last, with
  // its texts and calculations: the lines start in its place and each growth of the row count
  // moves it down to the new last row.
  const TFloatingFooter* ff = FloatingFooter();
  const bool footerRow = ff->Visible() && ff->FooterStyle() == fsFixedLastRow && RowCount() > 0;
  int row = Insert ? RowCount() - (footerRow ? 1 : 0) : SaveStartRow();
  Char D = FDelimiter;
  if (D == 0) D = DetectDelimiter(lines[0], lines.size() > 1 ? lines[1] : String());
  const size_t first = FLoadFirstRow ? 0 : 1;
  const size_t total = lines.size() - std::min(first, lines.size());
  if (OnFileProgress)
    SetRowCount(std::min<int64_t>(GridMaxRowCount, int64_t(lines.size()) + (Insert ? RowCount() : SaveStartRow() + FFixedFooters)));
  int last = -1;
  int read = 0;
  auto store = [&](int& col, String field) {
    if (FJavaCSV) TildeToLineBreaks(field);
    else DecodeCellLineBreaks(field);
    if (col >= GridMaxColCount) return;
    if (col >= ColCount() + h) SetColCount(col + 1 - h);
    LoadCell(col, row, field);
    ++col;
  };
  String rec;
  size_t i = first;
  while (i < lines.size() && row < GridMaxRowCount - FFixedFooters) {
    if (MaxRows > 0 && read >= MaxRows) break;
    // A record whose quoted field is still open at the end of a line goes on on the next one.
    rec = std::move(lines[i++]);
    if (D != 0 && rec.find(kQuote) != String::npos) {
      TCsvRecordScanner scan(D);
      bool complete = scan.Feed(rec);
      while (!complete && i < lines.size()) {
        rec += u"\r\n";
        complete = scan.Feed(lines[i]);
        rec += lines[i++];
      }
    }
    if (FOemConvert) OemToString(rec);
    if (row >= RowCount() - FFixedFooters) SetRowCount(std::min(row + 1000, GridMaxRowCount));
    int col = sc;
    size_t pos = 0;
    size_t d = D ? rec.find(D) : String::npos;
    while (d != String::npos) {
      if (rec[pos] == kQuote) {
        size_t close = FindClosingQuote(rec, pos + 1);
        if (close == String::npos) {
          // An unterminated quoted field keeps the rest of the record.
          store(col, Undouble(rec, pos + 1, rec.size() - pos - 1));
          pos = rec.size();
          break;
        }
        store(col, Undouble(rec, pos + 1, close - pos - 1));
        pos = close + 1;
        size_t next = rec.find(D, pos);
        if (next != String::npos) pos = next + 1;
      } else {
        store(col, rec.substr(pos, d - pos));
        pos = d + 1;
      }
      d = pos < rec.size() ? rec.find(D, pos) : String::npos;
    }
    if (pos < rec.size()) {
      if (rec[pos] == kQuote) {
        size_t end = rec.size();
        if (end - pos >= 2 && rec[end - 1] == kQuote) --end;
        store(col, Undouble(rec, pos + 1, end - pos - 1));
      } else {
        store(col, rec.substr(pos));
      }
    }
    ++row;
    ++read;
    if (OnFileProgress) FireFileProgress(total ? static_cast<int>(std::lround(read * 100.0 / total)) : 100, last);
  }
  SetRowCount(row + FFixedFooters);
  FMaxRowCount = RowCount();
  CellsChanged(TRect{0, 0, ColCount(), RowCount()});
}

// ---- Aligned text

void DEreDuzeroVaro::SaveToASCII(const String& FileName, bool Unicode) { SaveASCIIWorker(FileName, Unicode, false); }

void DEreDuzeroVaro::AppendToASCII(const String& FileName, bool Unicode) { SaveASCIIWorker(FileName, Unicode, true); }

void DEreDuzeroVaro::SaveASCIIWorker(const String& FileName, bool Unicode, bool Append) {
  TCursor oldCursor = Screen ? Screen->Cursor() : crDefault;
  if (Screen) Screen->SetCursor(crHourGlass);
  TScopeGuard cursor([oldCursor] {
    if (Screen) Screen->SetCursor(oldCursor);
  });
  std::vector<String> lines;
  if (Append && FileExists(FileName)) lines = ReadTextLines(FileName);
  int fc = FixedCols(), fr = FixedRows();
  if (FSaveFixedCells || FSaveFixedCols) fc = 0;
  if (FSaveFixedCells || FSaveFixedRows) fr = 0;
  const int h = FSaveHiddenCells ? NumHiddenColumns() : 0;
  const int cols = ColCount() + h;
  auto real = [&](int c) { return FSaveHiddenCells ? c : DisplToRealCol(c); };
  // Column widths in characters, by stored column.
  std::vector<int> width(static_cast<size_t>(std::max(cols, TotalColCount())), 0);
  for (int c = fc; c < cols; ++c) width[static_cast<size_t>(real(c))] = MaxColTextLength(real(c));
  ExportNotification(esExportStart, fr);
  for (int r = fr; r < RowCount(); ++r) {
    ExportNotification(esExportNextRow, r);
    String line;
    std::vector<String> more;
    for (int c = fc; c < cols; ++c) {
      const int k = real(c);
      const int w = width[static_cast<size_t>(k)];
      TAlignment ha = taLeftJustify;
      TVAlignment va = vtaTop;
      GetCellAlignment(k, r, ha, va);
      auto align = [&](String t) {
        if (ha == taRightJustify) {
          if (static_cast<int>(t.size()) < w) t.insert(0, static_cast<size_t>(w) - t.size(), u' ');
        } else if (ha == taCenter) {
          while (static_cast<int>(t.size()) < w) t = u' ' + t + u' ';
        }
        return t;
      };
      const size_t start = line.size();
      String t = GetSaveCellText(k, r);
      size_t br = t.find(u"\r\n");
      if (br != String::npos && FMultilinecells) {
        String rest = t.substr(br + 2);
        t.resize(br);
        for (size_t n = 0;; ++n) {
          size_t p = rest.find(u"\r\n");
          String piece = rest.substr(0, p);
          if (n >= more.size()) more.emplace_back();
          String& cont = more[n];
          if (cont.size() < start) cont.append(start - cont.size(), u' ');
          cont += align(piece);
          if (p == String::npos) break;
          rest.erase(0, p + 2);
        }
      } else if (br != String::npos) {
        t.resize(br);
      }
      t = align(t);
      line += t;
      if (w - static_cast<int>(t.size()) >= 0) line.append(static_cast<size_t>(w) - t.size() + 1, u' ');
    }
    lines.push_back(line);
    for (String& m : more) lines.push_back(std::move(m));
  }
  ExportNotification(esExportDone, -1);
  WriteFileBytes(FileName, EncodeTextFile(JoinLines(lines), Unicode ? TTextFileEncoding::Utf16LE : TTextFileEncoding::Ansi));
}

// ---- Fixed-width text

void DEreDuzeroVaro::SaveToFixed(const String& FileName, TIntList* Positions) {
  std::unique_ptr<TFileStream> fs;
  try {
    fs = std::make_unique<TFileStream>(FileName, fmCreate);
  } catch (const Exception&) {
    throw VUreReriVorov(u"Cannot Create file " + FileName);
  }
  const int h = FSaveHiddenCells ? NumHiddenColumns() : 0;
  auto real = [&](int c) { return FSaveHiddenCells ? c : DisplToRealCol(c); };
  const int sc = SaveStartCol(), ec = SaveEndCol() + h;
  for (int c = sc; c <= ec; ++c)
    if (c - sc >= Positions->Count()) Positions->Add(MaxColTextLength(real(c)) + 1);
  std::vector<String> lines;
  for (int r = SaveStartRow(); r <= SaveEndRow(); ++r) {
    String line;
    for (int c = sc; c <= ec; ++c) {
      String t = GetSaveCellText(real(c), r);
      size_t w = static_cast<size_t>(std::max(0, Positions->Items(c - sc)));
      if (t.size() > w) t.resize(w);
      else t.append(w - t.size(), u' ');
      line += t;
    }
    lines.push_back(line);
  }
  std::string bytes = EncodeTextFile(JoinLines(lines), TTextFileEncoding::Ansi);
  if (!bytes.empty()) fs->WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
}

void DEreDuzeroVaro::LoadFromFixed(const String& FileName, TIntList* Positions, bool DoTrim, int MaxRows) {
  if (FFileLoading) throw VUreReriVorov(u"The grid is already loading a file");
  std::vector<String> lines;
  try {
    std::string bytes = ReadFileBytes(FileName);
    lines = SplitLines(DecodeTextFile(bytes));
  } catch (const Exception&) {
    throw VUreReriVorov(u"File " + FileName + u" not found");
  }
  FFileLoading = true;
  TScopeGuard loading([this] { FFileLoading = false; });
  SetColCount(std::clamp(FixedCols() + Positions->Count() - 1, 1, GridMaxColCount));
  std::vector<int> pos;
  for (int k = 0; k < Positions->Count(); ++k) pos.push_back(Positions->Items(k));
  std::sort(pos.begin(), pos.end());
  for (int k = 0; k < static_cast<int>(pos.size()); ++k) Positions->SetItems(k, pos[static_cast<size_t>(k)]);
  int row = SaveStartRow();
  int n = 1;
  for (size_t i = 0; i < lines.size(); ++i) {
    const String& line = lines[i];
    for (size_t k = 1; k < pos.size(); ++k) {
      size_t from = static_cast<size_t>(std::max(1, pos[k - 1])) - 1;
      size_t len = static_cast<size_t>(std::max(0, pos[k] - pos[k - 1]));
      String field = from < line.size() ? line.substr(from, len) : String();
      if (DoTrim) field = Trim(field);
      if (row < RowCount()) LoadCell(SaveStartCol() + static_cast<int>(k) - 1, row, field);
    }
    ++n;
    if (MaxRows != -1 && MaxRows < n) break;
    if (i + 1 < lines.size() && row + 1 >= RowCount()) {
      if (row + 2 > GridMaxRowCount) break;
      SetRowCount(row + 2);
    }
    ++row;
  }
  CellsChanged(TRect{0, 0, ColCount(), RowCount()});
}
