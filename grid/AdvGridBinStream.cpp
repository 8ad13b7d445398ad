// The binary cell stream: a header record, then per cell a cell record, its properties, its
// graphic and the graphic's payload. Each record is "TPF0", its kind, an empty name, named
// typed values and two zero bytes. Used for binary grid files, the grid's clipboard format and
// cells dragged between grids.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "grid/AdvGrid.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Jpeg.h"
#include "platform/ui/Metafile.h"

namespace {

enum : uint8_t {
  vaNull = 0x00, vaList = 0x01, vaInt8 = 0x02, vaInt16 = 0x03, vaInt32 = 0x04, vaExtended = 0x05, vaString = 0x06,
  vaIdent = 0x07, vaFalse = 0x08, vaTrue = 0x09, vaBinary = 0x0A, vaSet = 0x0B, vaLString = 0x0C, vaWString = 0x12,
  vaUTF8String = 0x14
};

const char16_t* const kAlignmentNames[] = {u"taLeftJustify", u"taRightJustify", u"taCenter"};
const char16_t* const kBrushStyleNames[] = {u"bsSolid",     u"bsClear",     u"bsHorizontal", u"bsVertical",
                                            u"bsFDiagonal", u"bsBDiagonal", u"bsCross",      u"bsDiagCross"};
const char16_t* const kFontStyleNames[] = {u"fsBold", u"fsItalic", u"fsUnderline", u"fsStrikeOut"};
const char16_t* const kGradientNames[] = {u"GradientVertical", u"GradientHorizontal"};
const char16_t* const kVAlignmentNames[] = {u"vtaTop", u"vtaCenter", u"vtaBottom"};
const char16_t* const kCellVAlignNames[] = {u"vaTop", u"vaBottom", u"vaCenter", u"vaUnderText", u"vaAboveText", u"vaFull"};
const char16_t* const kCellHAlignNames[] = {u"haLeft", u"haRight", u"haCenter", u"haBeforeText", u"haAfterText", u"haFull"};
const char16_t* const kCheckStateNames[] = {u"cbUnchecked", u"cbChecked", u"cbGrayed"};
const char16_t* const kCellTypeNames[] = {
    u"ctBitmap",      u"ctIcon",          u"ctNone",         u"ctImageList",      u"ctCheckBox",      u"ctDataCheckBox",
    u"ctRotated",     u"ctDataImage",     u"ctNode",         u"ctRadio",          u"ctEmpty",         u"ctImages",
    u"ctPicture",     u"ctFilePicture",   u"ctValue",        u"ctProgress",       u"ctComment",       u"ctButton",
    u"ctBitButton",   u"ctVirtCheckBox",  u"ctRowCheckBox",  u"ctProgressPie",    u"ctSummary",       u"ctRangeIndicator",
    u"ctXPProgress",  u"ctInterface",     u"ctScrollbar",    u"ctRadioButton",    u"ctBalloon",       u"ctShape",
    u"ctRating",      u"ctTriStateCheckBox", u"ctExpand"};
const char16_t* const kEditorNames[] = {
    u"edNormal",           u"edSpinEdit",          u"edComboEdit",          u"edComboList",
    u"edEditBtn",          u"edCheckBox",          u"edDateEdit",           u"edDateEditUpDown",
    u"edTimeEdit",         u"edButton",            u"edDataCheckBox",       u"edNumeric",
    u"edPositiveNumeric",  u"edFloat",             u"edCapital",            u"edMixedCase",
    u"edPassword",         u"edUnitEditBtn",       u"edLowerCase",          u"edUpperCase",
    u"edFloatSpinEdit",    u"edTimeSpinEdit",      u"edDateSpinEdit",       u"edNumericEditBtn",
    u"edFloatEditBtn",     u"edCustom",            u"edRichEdit",           u"edNone",
    u"edDateTimeEdit",     u"edValidChars",        u"edTrackbarDropDown",   u"edMemoDropDown",
    u"edCalculatorDropDown", u"edTimePickerDropDown", u"edDetailDropDown",  u"edGridDropDown",
    u"edColorPickerDropDown", u"edImagePickerDropDown", u"edAdvGridDropDown", u"edPositiveFloat",
    u"edNumericUnitEditBtn", u"edFloatUnitEditBtn"};

template <size_t N>
int IdentIndex(const char16_t* const (&Names)[N], const String& Ident) {
  for (size_t i = 0; i < N; ++i)
    if (Ident == Names[i]) return static_cast<int>(i);
  throw EReadError(u"Invalid property value " + Ident);
}

// ---- 80-bit extended-precision floats (sign, 15-bit exponent, 64-bit mantissa with its
// integer bit), converted from and to doubles without relying on long double.

void DoubleToExtended(double D, uint8_t Out[10]) {
  uint64_t mant = 0;
  uint16_t se = std::signbit(D) ? 0x8000 : 0;
  if (std::isnan(D)) {
    se |= 0x7FFF;
    mant = 0xC000000000000000ull;
  } else if (std::isinf(D)) {
    se |= 0x7FFF;
    mant = 0x8000000000000000ull;
  } else if (D != 0) {
    int e = 0;
    double m = std::frexp(std::fabs(D), &e);  // m in [0.5, 1)
    mant = static_cast<uint64_t>(std::ldexp(m, 64));
    se |= static_cast<uint16_t>(e - 1 + 16383);
  }
  for (int i = 0; i < 8; ++i) Out[i] = static_cast<uint8_t>(mant >> (8 * i));
  Out[8] = static_cast<uint8_t>(se & 0xFF);
  Out[9] = static_cast<uint8_t>(se >> 8);
}

double ExtendedToDouble(const uint8_t In[10]) {
  uint64_t mant = 0;
  for (int i = 0; i < 8; ++i) mant |= static_cast<uint64_t>(In[i]) << (8 * i);
  const uint16_t se = static_cast<uint16_t>(In[8] | (In[9] << 8));
  const bool neg = se & 0x8000;
  const int exp = se & 0x7FFF;
  double v;
  if (exp == 0x7FFF) v = (mant << 1) ? std::nan("") : HUGE_VAL;
  else if (exp == 0 && mant == 0) v = 0;
  else v = std::ldexp(static_cast<double>(mant), exp - 16383 - 63);
  return neg ? -v : v;
}

// ---- Writing records

// Records gather in one buffer, which goes to the stream in large blocks: a grid of a million
// cells costs a few hundred stream writes, not one per record or value.
class TRecordWriter {
public:
  explicit TRecordWriter(TStream* S) : FS(S) { FBuf.reserve(kFlushAt + 4096); }

  void Begin(std::string_view Kind) {
    FBuf.append("TPF0", 4);
    Short(Kind);
    FBuf.push_back('\0');
  }
  void End() {
    FBuf.push_back('\0');
    FBuf.push_back('\0');
    if (FBuf.size() >= kFlushAt) Flush();
  }
  void Flush() {
    if (FBuf.empty()) return;
    FS->WriteBuffer(FBuf.data(), static_cast<int32_t>(FBuf.size()));
    FBuf.clear();
  }

  void Int(std::string_view Name, int64_t V) {
    Short(Name);
    IntValue(V);
  }
  void Bool(std::string_view Name, bool V) {
    Short(Name);
    FBuf.push_back(static_cast<char>(V ? vaTrue : vaFalse));
  }
  void Ident(std::string_view Name, const String& V) {
    Short(Name);
    FBuf.push_back(static_cast<char>(vaIdent));
    Short(StringToUTF8(V));
  }
  void Set(std::string_view Name, const std::vector<String>& Members) {
    Short(Name);
    FBuf.push_back(static_cast<char>(vaSet));
    for (const String& m : Members) Short(StringToUTF8(m));
    FBuf.push_back('\0');
  }
  void Color(std::string_view Name, TColor V) {
    String ident;
    if (ColorToIdent(V, ident)) Ident(Name, ident);
    else Int(Name, V);
  }
  // Written only when not empty.
  void Str(std::string_view Name, const String& V) {
    if (V.empty()) return;
    Short(Name);
    StrValue(V);
  }
  // Written only when not 0.
  void Float(std::string_view Name, double V) {
    if (V == 0) return;
    Short(Name);
    FBuf.push_back(static_cast<char>(vaExtended));
    uint8_t ext[10];
    DoubleToExtended(V, ext);
    FBuf.append(reinterpret_cast<const char*>(ext), 10);
  }
  void Binary(std::string_view Name, const std::string& Bytes) {
    Short(Name);
    FBuf.push_back(static_cast<char>(vaBinary));
    U32(static_cast<uint32_t>(Bytes.size()));
    FBuf += Bytes;
  }
  void List(std::string_view Name, const std::vector<String>& Items) {
    Short(Name);
    FBuf.push_back(static_cast<char>(vaList));
    for (const String& s : Items) StrValue(s);
    FBuf.push_back('\0');
  }

private:
  static constexpr size_t kFlushAt = 256 * 1024;

  void Short(std::string_view S) {
    const size_t n = std::min<size_t>(S.size(), 255);
    FBuf.push_back(static_cast<char>(n));
    FBuf.append(S.data(), n);
  }
  void U32(uint32_t V) {
    const char b[4] = {static_cast<char>(V), static_cast<char>(V >> 8), static_cast<char>(V >> 16), static_cast<char>(V >> 24)};
    FBuf.append(b, 4);
  }
  void IntValue(int64_t V) {
    if (V >= -128 && V <= 127) {
      const char b[2] = {static_cast<char>(vaInt8), static_cast<char>(V)};
      FBuf.append(b, 2);
    } else if (V >= -32768 && V <= 32767) {
      const char b[3] = {static_cast<char>(vaInt16), static_cast<char>(V & 0xFF), static_cast<char>((V >> 8) & 0xFF)};
      FBuf.append(b, 3);
    } else {
      FBuf.push_back(static_cast<char>(vaInt32));
      U32(static_cast<uint32_t>(V));
    }
  }
  // The tag follows the text's UTF-8 length, counted without converting it: a surrogate pair
  // takes 4 bytes, a lone surrogate 3 (it is written as U+FFFD).
  void StrValue(const String& V) {
    const Char* p = V.data();
    const size_t n = V.size();
    size_t utf8 = 0;
    for (size_t i = 0; i < n; ++i) {
      const Char c = p[i];
      if (c < 0x80) utf8 += 1;
      else if (c < 0x800) utf8 += 2;
      else if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n && p[i + 1] >= 0xDC00 && p[i + 1] <= 0xDFFF) {
        utf8 += 4;
        ++i;
      } else utf8 += 3;
    }
    if (utf8 >= 2 * n) {
      FBuf.push_back(static_cast<char>(vaWString));
      U32(static_cast<uint32_t>(n));
      const size_t at = FBuf.size();
      FBuf.resize(at + 2 * n);
      char* d = FBuf.data() + at;
      for (size_t i = 0; i < n; ++i) {
        d[2 * i] = static_cast<char>(p[i] & 0xFF);
        d[2 * i + 1] = static_cast<char>(p[i] >> 8);
      }
      return;
    }
    if (utf8 != n) {  // some character above 127
      FBuf.push_back(static_cast<char>(vaUTF8String));
      U32(static_cast<uint32_t>(utf8));
      FBuf += StringToUTF8(V);
      return;
    }
    if (n <= 255) {
      FBuf.push_back(static_cast<char>(vaString));
      FBuf.push_back(static_cast<char>(n));
    } else {
      FBuf.push_back(static_cast<char>(vaLString));
      U32(static_cast<uint32_t>(n));
    }
    const size_t at = FBuf.size();
    FBuf.resize(at + n);
    char* d = FBuf.data() + at;
    for (size_t i = 0; i < n; ++i) d[i] = static_cast<char>(p[i]);
  }

  TStream* FS;
  std::string FBuf;
};

// ---- Reading records

struct TValue {
  enum TKind { kInt, kBool, kIdent, kSet, kString, kFloat, kBinary, kList } Kind = kInt;
  int64_t Int = 0;
  double Float = 0;
  String Text;                  // identifier or string
  std::vector<String> Items;    // set members or list strings
  std::string Bytes;            // binary
};

// The entries of one record kind. The same object takes every record of its kind in a run,
// so the values keep their buffers from one record to the next.
class TRecord {
public:
  TRecord(const char* Kind, std::initializer_list<const char*> Names)
      : FKind(Kind), FNames(Names.begin(), Names.end()), FValues(Names.size()), FPresent(Names.size()) {}

  // The value of entry I when the record held it; a value of another kind fails the read.
  const TValue* Get(size_t I, TValue::TKind Kind) const {
    if (!FPresent[I]) return nullptr;
    if (FValues[I].Kind != Kind) throw EReadError(u"Invalid property value");
    return &FValues[I];
  }
  const TValue* Find(std::string_view Name, TValue::TKind Kind) const { return Get(IndexOf(Name), Kind); }
  // Colours are identifiers or integers.
  bool Color(std::string_view Name, TColor& C) const {
    const size_t i = IndexOf(Name);
    if (!FPresent[i]) return false;
    const TValue& v = FValues[i];
    if (v.Kind == TValue::kInt) C = static_cast<TColor>(v.Int);
    else if (v.Kind != TValue::kIdent || !IdentToColor(v.Text, C)) throw EReadError(u"Invalid property value");
    return true;
  }

private:
  friend class TRecordReader;
  size_t IndexOf(std::string_view Name) const {
    for (size_t i = 0; i < FNames.size(); ++i)
      if (FNames[i] == Name) return i;
    throw std::logic_error("no such entry in the record");
  }
  // Entries come in their written order: the search starts after the previous one.
  bool Match(std::string_view Name, size_t& Hint) const {
    for (size_t k = 0; k < FNames.size(); ++k) {
      const size_t i = (Hint + k) % FNames.size();
      if (FNames[i] == Name) {
        Hint = i + 1;
        return true;
      }
    }
    return false;
  }

  std::string_view FKind;
  std::vector<std::string_view> FNames;
  std::vector<TValue> FValues;
  std::vector<char> FPresent;
};

// Reads records from the bytes after the stream's position: a memory stream's own memory, any
// other stream's rest copied once. When the reader ends, the stream's position is after the
// last byte read.
class TRecordReader {
public:
  explicit TRecordReader(TStream* S) : FS(S), FBase(S->Position()) {
    const int64_t size = S->Size();
    if (auto* m = dynamic_cast<TMemoryStream*>(S)) {
      const auto* mem = static_cast<const uint8_t*>(m->Memory());
      FBegin = mem + std::min(FBase, size);
      FEnd = mem + size;
    } else {
      FOwn.resize(static_cast<size_t>(std::max<int64_t>(0, size - FBase)));
      for (size_t done = 0; done < FOwn.size();) {
        const size_t n = std::min<size_t>(FOwn.size() - done, 1 << 30);
        S->ReadBuffer(FOwn.data() + done, static_cast<int32_t>(n));
        done += n;
      }
      FBegin = FOwn.data();
      FEnd = FBegin + FOwn.size();
    }
    FP = FBegin;
  }
  ~TRecordReader() {
    try {
      FS->SetPosition(FBase + (FP - FBegin));
    } catch (...) {
    }
  }
  TRecordReader(const TRecordReader&) = delete;
  TRecordReader& operator=(const TRecordReader&) = delete;

  // Bytes left after the position.
  int64_t Left() const { return FEnd - FP; }

  // Reads one record of R's kind into R; each entry's name must be one of R's.
  void Read(TRecord& R) {
    if (std::memcmp(Take(4), "TPF0", 4) != 0) throw EReadError(u"Invalid stream format");
    if (ShortStr() != R.FKind) throw EReadError(u"Invalid stream format");
    ShortStr();  // the record's name
    std::fill(R.FPresent.begin(), R.FPresent.end(), 0);
    size_t hint = 0;
    for (;;) {
      std::string_view name = ShortStr();
      if (name.empty()) break;
      if (!R.Match(name, hint))
        throw EReadError(u"Error reading " + UTF8ToString(R.FKind) + u"." + UTF8ToString(name) + u": Property does not exist");
      Value(R.FValues[hint - 1], 0);
      R.FPresent[hint - 1] = 1;
    }
    if (Byte() != 0) throw EReadError(u"Invalid stream format");  // no children
  }

private:
  const uint8_t* Take(int64_t N) {
    if (N < 0 || N > Left()) throw EReadError(u"Stream read error");
    const uint8_t* p = FP;
    FP += N;
    return p;
  }
  uint8_t Byte() { return *Take(1); }
  uint32_t U32() {
    const uint8_t* b = Take(4);
    return static_cast<uint32_t>(b[0] | (b[1] << 8) | (b[2] << 16)) | (static_cast<uint32_t>(b[3]) << 24);
  }
  std::string_view Counted(int64_t N) { return std::string_view(reinterpret_cast<const char*>(Take(N)), static_cast<size_t>(N)); }
  std::string_view ShortStr() { return Counted(Byte()); }
  static void Ansi(std::string_view Bytes, String& Out) {
    if (std::all_of(Bytes.begin(), Bytes.end(), [](char c) { return static_cast<uint8_t>(c) < 0x80; })) {
      Out.resize(Bytes.size());
      for (size_t i = 0; i < Bytes.size(); ++i) Out[i] = static_cast<Char>(Bytes[i]);
      return;
    }
    Out.clear();
    DecodeCodePage(Bytes, AnsiCodePage, Out, true);
  }

  void Value(TValue& v, int Depth) {
    v.Kind = TValue::kInt;
    const uint8_t tag = Byte();
    switch (tag) {
      case vaInt8:
        v.Int = static_cast<int8_t>(Byte());
        break;
      case vaInt16: {
        const uint8_t* b = Take(2);
        v.Int = static_cast<int16_t>(b[0] | (b[1] << 8));
        break;
      }
      case vaInt32:
        v.Int = static_cast<int32_t>(U32());
        break;
      case vaExtended:
        v.Kind = TValue::kFloat;
        v.Float = ExtendedToDouble(Take(10));
        break;
      case vaFalse:
      case vaTrue:
        v.Kind = TValue::kBool;
        v.Int = tag == vaTrue;
        break;
      case vaIdent:
        v.Kind = TValue::kIdent;
        v.Text = UTF8ToString(ShortStr());
        break;
      case vaString:
        v.Kind = TValue::kString;
        Ansi(ShortStr(), v.Text);
        break;
      case vaLString:
        v.Kind = TValue::kString;
        Ansi(Counted(U32()), v.Text);
        break;
      case vaUTF8String:
        v.Kind = TValue::kString;
        v.Text = UTF8ToString(Counted(U32()));
        break;
      case vaWString: {
        const uint32_t n = U32();
        const uint8_t* raw = Take(int64_t(n) * 2);
        v.Kind = TValue::kString;
        v.Text.resize(n);
        for (uint32_t i = 0; i < n; ++i) v.Text[i] = static_cast<Char>(raw[2 * i] | (raw[2 * i + 1] << 8));
        break;
      }
      case vaBinary: {
        v.Kind = TValue::kBinary;
        std::string_view b = Counted(U32());
        v.Bytes.assign(b.data(), b.size());
        break;
      }
      case vaSet:
        v.Kind = TValue::kSet;
        v.Items.clear();
        for (std::string_view m = ShortStr(); !m.empty(); m = ShortStr()) v.Items.push_back(UTF8ToString(m));
        break;
      case vaList:
        if (Depth > 0) throw EReadError(u"Invalid property value");
        v.Kind = TValue::kList;
        v.Items.clear();
        while (FP < FEnd) {
          if (*FP == vaNull) {
            ++FP;
            return;
          }
          Value(FItem, Depth + 1);
          if (FItem.Kind != TValue::kString) throw EReadError(u"Invalid property value");
          v.Items.push_back(FItem.Text);
        }
        throw EReadError(u"Stream read error");
      default:
        throw EReadError(u"Invalid property value");
    }
  }

  TStream* FS;
  int64_t FBase;
  std::vector<uint8_t> FOwn;
  const uint8_t* FBegin = nullptr;
  const uint8_t* FEnd = nullptr;
  const uint8_t* FP = nullptr;
  TValue FItem;  // a list's item
};

String JoinInts(const std::vector<int>& V) {
  String s;
  for (size_t i = 0; i < V.size(); ++i) {
    if (i) s += u',';
    s += IntToStr(V[i]);
  }
  return s;
}

std::vector<String> SplitCommas(const String& S) {
  std::vector<String> out;
  if (S.empty()) return out;
  size_t start = 0;
  for (;;) {
    size_t p = S.find(u',', start);
    out.push_back(S.substr(start, p == String::npos ? String::npos : p - start));
    if (p == String::npos) break;
    start = p + 1;
  }
  return out;
}

std::string StreamBytes(TGraphic* G) {
  TMemoryStream ms;
  G->SaveToStream(&ms);
  return std::string(static_cast<const char*>(ms.Memory()), static_cast<size_t>(ms.Size()));
}

std::string LengthPrefixed(const std::string& Bytes) {
  std::string out(4, '\0');
  for (int i = 0; i < 4; ++i) out[static_cast<size_t>(i)] = static_cast<char>(Bytes.size() >> (8 * i));
  return out + Bytes;
}

// The bytes after a 4-byte length, checked against what follows it.
std::string UnPrefixed(const std::string& Bytes, size_t From) {
  if (Bytes.size() < From + 4) throw EReadError(u"Stream read error");
  uint32_t n = 0;
  for (int i = 0; i < 4; ++i) n |= static_cast<uint32_t>(static_cast<uint8_t>(Bytes[From + static_cast<size_t>(i)])) << (8 * i);
  if (n > Bytes.size() - From - 4) throw EReadError(u"Stream read error");
  return Bytes.substr(From + 4, n);
}

void LoadGraphic(TGraphic* G, const std::string& Bytes) {
  TMemoryStream ms;
  if (!Bytes.empty()) ms.WriteBuffer(Bytes.data(), static_cast<int32_t>(Bytes.size()));
  ms.SetPosition(0);
  G->LoadFromStream(&ms);
}

std::unique_ptr<TGraphic> MakeGraphic(const String& ClassName) {
  if (ClassName == u"TBitmap") return std::make_unique<TBitmap>();
  if (ClassName == u"TIcon") return std::make_unique<TIcon>();
  if (ClassName == u"TMetafile") return std::make_unique<TMetafile>();
  if (ClassName == u"TJPEGImage") return std::make_unique<TJPEGImage>();
  if (ClassName == u"TPngImage") return std::make_unique<TPngImage>();
  return nullptr;
}

}  // namespace

int DEreDuzeroVaro::NewStreamID() {
  static std::mt19937 rng{std::random_device{}()};
  return static_cast<int>(rng() & 0x7FFFFFFF);
}

void DEreDuzeroVaro::SaveToBinFile(const String& FileName) {
  TMemoryStream ms;
  SaveToBinStream(&ms);
  TFileStream fs(FileName, fmCreate);
  if (ms.Size()) fs.WriteBuffer(ms.Memory(), static_cast<int32_t>(ms.Size()));
}

void DEreDuzeroVaro::LoadFromBinFile(const String& FileName) {
  TMemoryStream ms;
  ms.LoadFromFile(FileName);
  ms.SetPosition(0);
  LoadFromBinStream(&ms);
}

void DEreDuzeroVaro::SaveToBinStream(TStream* Stream) {
  SaveRectToBinStream(TRect{SaveStartCol(), SaveStartRow(), SaveEndCol(), SaveEndRow()}, Stream);
}

void DEreDuzeroVaro::LoadFromBinStream(TStream* Stream) { LoadAtPointFromBinStream(TPoint{0, 0}, Stream); }

void DEreDuzeroVaro::SaveRectToBinStream(const TRect& Rect, TStream* Stream) {
  TRecordWriter w(Stream);
  const int rows = Rect.Bottom - Rect.Top + 1, cols = Rect.Right - Rect.Left + 1;
  std::vector<int> widths, heights;
  for (int c = Rect.Left; c <= Rect.Right; ++c) widths.push_back(c >= 0 && c < ColCount() ? ColWidths(c) : DefaultColWidth());
  for (int r = Rect.Top; r <= Rect.Bottom; ++r) heights.push_back(r >= 0 && r < RowCount() ? RowHeights(r) : DefaultRowHeight());
  const bool full = FSaveFixedCells ? rows == RowCount() && cols == ColCount()
                                    : rows == RowCount() - FixedRows() && cols == ColCount() - FixedCols();
  // A memory stream gets room for the whole run at once, so that its bytes are not moved again
  // as it grows (the record of a cell with a short text takes about 50 bytes).
  if (auto* m = dynamic_cast<TMemoryStream*>(Stream); m && rows > 0 && cols > 0)
    m->Reserve(m->Position() + int64_t(rows) * cols * 64 + int64_t(rows + cols) * 8 + 256);
  w.Begin("TGridPropIO");
  w.Int("ColCount", cols);
  w.Int("RowCount", rows);
  w.Str("ColWidths", JoinInts(widths));
  w.Str("RowHeights", JoinInts(heights));
  w.Bool("FullGrid", full);
  w.Int("ID", FStreamID);
  w.End();
  ExportNotification(esExportStart, Rect.Top);
  int last = -1;
  for (int r = Rect.Top; r <= Rect.Bottom; ++r) {
    ExportNotification(esExportNextRow, r);
    for (int c = Rect.Left; c <= Rect.Right; ++c) {
      const bool inside = c >= 0 && r >= 0 && c < ColCount() && r < RowCount();
      const bool hasProp = inside && HasCellProperties(c, r);
      w.Begin("TGridCellIO");
      w.Int("Col", c);
      w.Int("Row", r);
      w.Str("Cell", inside ? Cells(c, r) : String());
      w.Bool("HasProp", hasProp);
      w.End();
      if (!hasProp) continue;
      TCellProperties* p = CellProperties(c, r);
      TCellGraphic* g = dynamic_cast<TCellGraphic*>(p->GraphicObject());
      const TCellType kind = g ? g->CellType() : ctEmpty;
      bool hasGraphic = kind != ctEmpty;
      switch (kind) {
        case ctBitmap: case ctIcon: case ctRadio: case ctImages: case ctPicture: case ctFilePicture: case ctBitButton:
          hasGraphic = g->CellCreated();
          break;
        default:
          break;
      }
      w.Begin("TGridCellPropIO");
      w.Bool("CellProperties.IsBaseCell", p->IsBaseCell());
      w.Int("CellProperties.CellSpanX", p->CellSpanX());
      w.Int("CellProperties.CellSpanY", p->CellSpanY());
      w.Ident("CellProperties.Alignment", kAlignmentNames[p->Alignment()]);
      w.Color("CellProperties.BorderColor", p->BorderColor());
      w.Int("CellProperties.BorderWidth", p->BorderWidth());
      w.Color("CellProperties.BrushColor", p->BrushColor());
      w.Color("CellProperties.BrushColorTo", p->BrushColorTo());
      w.Ident("CellProperties.BrushStyle", kBrushStyleNames[p->BrushStyle()]);
      // The user object is an address in this process: it travels as 0.
      w.Int("CellProperties.CellObject", 0);
      w.Color("CellProperties.FontColor", p->FontColor());
      w.Str("CellProperties.FontName", p->FontName());
      w.Int("CellProperties.FontSize", p->FontSize());
      std::vector<String> styles;
      for (int s = fsBold; s <= fsStrikeOut; ++s)
        if (p->FontStyle().Contains(static_cast<TFontStyle>(s))) styles.push_back(kFontStyleNames[s]);
      w.Set("CellProperties.FontStyle", styles);
      w.Ident("CellProperties.Editor", kEditorNames[p->Editor()]);
      w.Ident("CellProperties.GradientDirection", kGradientNames[p->GradientDirection()]);
      w.Bool("CellProperties.ReadOnly", p->ReadOnly());
      w.Ident("CellProperties.VAlignment", kVAlignmentNames[p->VAlignment()]);
      w.Bool("CellProperties.WordWrap", p->WordWrap());
      w.Int("CellProperties.NodeLevel", p->NodeLevel());
      if (TControl* ctl = p->Control(); ctl && !ctl->Name().empty()) {
        String ident = ctl->Name();
        if (ctl->Owner() && !ctl->Owner()->Name().empty()) ident = ctl->Owner()->Name() + u"." + ident;
        w.Ident("CellProperties.Control", ident);
      }
      w.Bool("HasGraphic", hasGraphic);
      w.End();
      if (!hasGraphic) continue;
      w.Begin("TGridGraphicIO");
      w.Ident("CellGraphic.CellType", kCellTypeNames[kind]);
      w.Ident("CellGraphic.CellVAlign", kCellVAlignNames[g->CellVAlign()]);
      w.Ident("CellGraphic.CellHAlign", kCellHAlignNames[g->CellHAlign()]);
      w.Int("CellGraphic.CellIndex", g->CellIndex());
      w.Bool("CellGraphic.CellTransparent", g->CellTransparent());
      w.Bool("CellGraphic.CellCreated", g->CellCreated());
      w.Bool("CellGraphic.CellBoolean", g->CellBoolean());
      w.Ident("CellGraphic.CellCheckBoxState", kCheckStateNames[g->CellCheckBoxState()]);
      w.Int("CellGraphic.CellAngle", g->CellAngle());
      w.Float("CellGraphic.CellValue", g->CellValue());
      w.Int("CellGraphic.CellErrFrom", g->CellErrFrom());
      w.Int("CellGraphic.CellErrLen", g->CellErrLen());
      w.Str("CellGraphic.CellText", g->CellText());
      w.End();
      switch (kind) {
        case ctBitmap:
        case ctBitButton:
          w.Begin("TGridBMPIO");
          if (TBitmap* b = g->CellBitmap(); b && !b->Empty()) w.Binary("Bitmap.Data", LengthPrefixed(StreamBytes(b)));
          w.End();
          break;
        case ctIcon:
          w.Begin("TGridIconIO");
          if (TIcon* i = g->CellIcon(); i && !i->Empty()) w.Binary("Icon.Data", StreamBytes(i));
          w.End();
          break;
        case ctRadio: {
          w.Begin("TGridSLIO");
          std::vector<String> items;
          if (TStrings* s = g->CellStrings())
            for (int i = 0; i < s->Count(); ++i) items.push_back(s->Strings(i));
          if (!items.empty()) w.List("Strings.Strings", items);
          w.End();
          break;
        }
        case ctImages: {
          w.Begin("TGridSLIO");
          std::vector<String> items;
          if (TIntList* l = g->CellIntList()) items = SplitCommas(l->StrValue());
          if (!items.empty()) w.List("Strings.Strings", items);
          w.End();
          break;
        }
        case ctPicture:
          w.Begin("TGridPicIO");
          if (TPicture* pic = g->CellPicture(); pic && pic->Graphic() && !pic->Graphic()->Empty()) {
            TGraphic* gr = pic->Graphic();
            std::string name = StringToUTF8(gr->ClassName());
            std::string data = dynamic_cast<TIcon*>(gr) ? StreamBytes(gr) : LengthPrefixed(StreamBytes(gr));
            w.Binary("Picture.Data", std::string(1, static_cast<char>(name.size())) + name + data);
          }
          w.End();
          break;
        case ctFilePicture:
          w.Begin("TGridFilePicIO");
          if (TFilePicture* fp = g->CellFilePicture()) w.Str("Picture.Filename", fp->Filename());
          w.End();
          break;
        default:
          break;
      }
    }
    if (OnFileProgress)
      FireFileProgress(static_cast<int>(std::lround(r * 100.0 / std::max(1, Rect.Bottom - Rect.Top))), last);
  }
  w.Flush();
  ExportNotification(esExportDone, -1);
}

DEreDuzeroVaro::TBinHeader DEreDuzeroVaro::ReadBinHeader(TStream* Stream) {
  TRecordReader rd(Stream);
  TRecord head("TGridPropIO", {"ColCount", "RowCount", "ColWidths", "RowHeights", "FullGrid", "ID"});
  rd.Read(head);
  TBinHeader h;
  if (auto v = head.Get(0, TValue::kInt)) h.Cols = static_cast<int>(std::clamp<int64_t>(v->Int, 0, GridMaxColCount));
  if (auto v = head.Get(1, TValue::kInt)) h.Rows = static_cast<int>(std::clamp<int64_t>(v->Int, 0, GridMaxRowCount));
  if (auto v = head.Get(5, TValue::kInt)) h.ID = static_cast<int>(v->Int);
  if (auto v = head.Get(4, TValue::kBool)) h.FullGrid = v->Int;
  return h;
}

void DEreDuzeroVaro::LoadAtPointFromBinStream(const TPoint& Point, TStream* Stream) {
  TRecordReader rd(Stream);
  // One record object of each kind for the whole run.
  TRecord head("TGridPropIO", {"ColCount", "RowCount", "ColWidths", "RowHeights", "FullGrid", "ID"});
  TRecord cell("TGridCellIO", {"Col", "Row", "Cell", "HasProp"});
  TRecord prop("TGridCellPropIO",
               {"CellProperties.IsBaseCell", "CellProperties.CellSpanX", "CellProperties.CellSpanY",
                "CellProperties.Alignment", "CellProperties.BorderColor", "CellProperties.BorderWidth",
                "CellProperties.BrushColor", "CellProperties.BrushColorTo", "CellProperties.BrushStyle",
                "CellProperties.CellObject", "CellProperties.FontColor", "CellProperties.FontName",
                "CellProperties.FontSize", "CellProperties.FontStyle", "CellProperties.Editor",
                "CellProperties.GradientDirection", "CellProperties.ReadOnly", "CellProperties.VAlignment",
                "CellProperties.WordWrap", "CellProperties.NodeLevel", "CellProperties.Control", "HasGraphic"});
  TRecord gio("TGridGraphicIO",
              {"CellGraphic.CellType", "CellGraphic.CellVAlign", "CellGraphic.CellHAlign", "CellGraphic.CellIndex",
               "CellGraphic.CellTransparent", "CellGraphic.CellCreated", "CellGraphic.CellBoolean",
               "CellGraphic.CellCheckBoxState", "CellGraphic.CellAngle", "CellGraphic.CellValue",
               "CellGraphic.CellErrFrom", "CellGraphic.CellErrLen", "CellGraphic.CellText"});
  TRecord bmpio("TGridBMPIO", {"Bitmap.Data"});
  TRecord iconio("TGridIconIO", {"Icon.Data"});
  TRecord slio("TGridSLIO", {"Strings.Strings"});
  TRecord picio("TGridPicIO", {"Picture.Data"});
  TRecord fpicio("TGridFilePicIO", {"Picture.Filename"});
  rd.Read(head);
  const TValue* fullv = head.Get(4, TValue::kBool);
  const bool full = fullv && fullv->Int;
  if (full) {
    const TValue* cv = head.Get(0, TValue::kInt);
    const TValue* rv = head.Get(1, TValue::kInt);
    ClearRect(0, 0, ColCount() - 1, RowCount() - 1);
    SetRowCount(static_cast<int>(std::clamp<int64_t>(rv ? rv->Int : RowCount(), 1, GridMaxRowCount)));
    SetColCount(static_cast<int>(std::clamp<int64_t>(cv ? cv->Int : ColCount(), 1, GridMaxColCount)));
    const TValue* wv = head.Get(2, TValue::kString);
    const TValue* hv = head.Get(3, TValue::kString);
    std::vector<String> ws = SplitCommas(wv ? wv->Text : String());
    std::vector<String> hs = SplitCommas(hv ? hv->Text : String());
    if (static_cast<int>(ws.size()) < ColCount() || static_cast<int>(hs.size()) < RowCount())
      throw EReadError(u"List index out of bounds");
    for (int c = 0; c < ColCount(); ++c) SetColWidths(c, StrToInt(ws[static_cast<size_t>(c)]));
    for (int r = 0; r < RowCount(); ++r) SetRowHeights(r, StrToInt(hs[static_cast<size_t>(r)]));
  }
  const String empty;
  bool first = true;
  int64_t originCol = 0, originRow = 0;
  int lastRow = -1, last = -1;
  while (rd.Left() >= 2) {
    rd.Read(cell);
    const TValue* cv = cell.Get(0, TValue::kInt);
    const TValue* rv = cell.Get(1, TValue::kInt);
    const int64_t col = cv ? cv->Int : 0, row = rv ? rv->Int : 0;
    if (first && !full) {
      originCol = col;
      originRow = row;
    }
    first = false;
    const int64_t tc64 = col + Point.X - originCol, tr64 = row + Point.Y - originRow;
    // A full-grid stream saved without its fixed cells holds cells beyond its own counts:
    // the grid grows to hold them. Other blocks keep the grid's size and drop what falls out.
    if (full && tc64 >= 0 && tr64 >= 0 && tc64 < GridMaxColCount && tr64 < GridMaxRowCount) {
      if (tc64 >= ColCount()) SetColCount(static_cast<int>(tc64) + 1);
      if (tr64 >= RowCount()) SetRowCount(static_cast<int>(tr64) + 1);
    }
    const bool inside = tc64 >= 0 && tr64 >= 0 && tc64 < ColCount() && tr64 < RowCount();
    const int tc = static_cast<int>(inside ? tc64 : 0), tr = static_cast<int>(inside ? tr64 : 0);
    if (inside) {
      const TValue* text = cell.Get(2, TValue::kString);
      SetCells(tc, tr, text ? text->Text : empty);
      if (tr != lastRow) {
        lastRow = tr;
        if (OnFileProgress) FireFileProgress(static_cast<int>(std::lround(tr * 100.0 / std::max(1, RowCount()))), last);
      }
    }
    const TValue* hp = cell.Get(3, TValue::kBool);
    if (!hp || !hp->Int) continue;
    rd.Read(prop);
    if (inside) {
      TCellProperties* p = CellProperties(tc, tr);
      if (auto v = prop.Find("CellProperties.IsBaseCell", TValue::kBool)) p->SetIsBaseCell(v->Int);
      if (auto v = prop.Find("CellProperties.CellSpanX", TValue::kInt)) p->SetCellSpanX(static_cast<int>(v->Int));
      if (auto v = prop.Find("CellProperties.CellSpanY", TValue::kInt)) p->SetCellSpanY(static_cast<int>(v->Int));
      if (auto v = prop.Find("CellProperties.Alignment", TValue::kIdent))
        p->SetAlignment(static_cast<TAlignment>(IdentIndex(kAlignmentNames, v->Text)));
      TColor color;
      if (prop.Color("CellProperties.BorderColor", color)) p->SetBorderColor(color);
      if (auto v = prop.Find("CellProperties.BorderWidth", TValue::kInt)) p->SetBorderWidth(static_cast<int>(v->Int));
      if (prop.Color("CellProperties.BrushColor", color)) p->SetBrushColor(color);
      if (prop.Color("CellProperties.BrushColorTo", color)) p->SetBrushColorTo(color);
      if (auto v = prop.Find("CellProperties.BrushStyle", TValue::kIdent))
        p->SetBrushStyle(static_cast<TBrushStyle>(IdentIndex(kBrushStyleNames, v->Text)));
      if (prop.Color("CellProperties.FontColor", color)) p->SetFontColor(color);
      if (auto v = prop.Find("CellProperties.FontName", TValue::kString)) p->SetFontName(v->Text);
      if (auto v = prop.Find("CellProperties.FontSize", TValue::kInt)) p->SetFontSize(static_cast<int>(v->Int));
      if (auto v = prop.Find("CellProperties.FontStyle", TValue::kSet)) {
        TFontStyles styles;
        for (const String& m : v->Items) styles.Include(static_cast<TFontStyle>(IdentIndex(kFontStyleNames, m)));
        p->SetFontStyle(styles);
      }
      if (auto v = prop.Find("CellProperties.Editor", TValue::kIdent))
        p->SetEditor(static_cast<TEditorType>(IdentIndex(kEditorNames, v->Text)));
      if (auto v = prop.Find("CellProperties.GradientDirection", TValue::kIdent))
        p->SetGradientDirection(static_cast<TCellGradientDirection>(IdentIndex(kGradientNames, v->Text)));
      if (auto v = prop.Find("CellProperties.ReadOnly", TValue::kBool)) p->SetReadOnly(v->Int);
      if (auto v = prop.Find("CellProperties.VAlignment", TValue::kIdent))
        p->SetVAlignment(static_cast<TVAlignment>(IdentIndex(kVAlignmentNames, v->Text)));
      if (auto v = prop.Find("CellProperties.WordWrap", TValue::kBool)) p->SetWordWrap(v->Int);
      if (auto v = prop.Find("CellProperties.NodeLevel", TValue::kInt)) p->SetNodeLevel(static_cast<int>(v->Int));
      // The user object and the control name only mean something in the writing program: the
      // target keeps its own.
      p->SetOwnerCol(tc);
      p->SetOwnerRow(tr);
    }
    const TValue* hg = prop.Find("HasGraphic", TValue::kBool);
    if (!hg || !hg->Int) continue;
    rd.Read(gio);
    const TValue* tv = gio.Find("CellGraphic.CellType", TValue::kIdent);
    const TCellType kind = tv ? static_cast<TCellType>(IdentIndex(kCellTypeNames, tv->Text)) : ctEmpty;
    // The payload record comes first from the stream, whether or not the cell is kept.
    switch (kind) {
      case ctBitmap: case ctBitButton: rd.Read(bmpio); break;
      case ctIcon: rd.Read(iconio); break;
      case ctRadio: case ctImages: rd.Read(slio); break;
      case ctPicture: rd.Read(picio); break;
      case ctFilePicture: rd.Read(fpicio); break;
      default: break;
    }
    if (!inside) continue;
    TCellGraphic record;
    record.SetCellType(kind);
    if (auto v = gio.Find("CellGraphic.CellVAlign", TValue::kIdent))
      record.SetCellVAlign(static_cast<TCellVAlign>(IdentIndex(kCellVAlignNames, v->Text)));
    if (auto v = gio.Find("CellGraphic.CellHAlign", TValue::kIdent))
      record.SetCellHAlign(static_cast<TCellHAlign>(IdentIndex(kCellHAlignNames, v->Text)));
    if (auto v = gio.Find("CellGraphic.CellIndex", TValue::kInt)) record.SetCellIndex(static_cast<int>(v->Int));
    if (auto v = gio.Find("CellGraphic.CellTransparent", TValue::kBool)) record.SetCellTransparent(v->Int);
    if (auto v = gio.Find("CellGraphic.CellCreated", TValue::kBool)) record.SetCellCreated(v->Int);
    if (auto v = gio.Find("CellGraphic.CellBoolean", TValue::kBool)) record.SetCellBoolean(v->Int);
    if (auto v = gio.Find("CellGraphic.CellCheckBoxState", TValue::kIdent))
      record.SetCellCheckBoxState(static_cast<TCheckBoxState>(IdentIndex(kCheckStateNames, v->Text)));
    if (auto v = gio.Find("CellGraphic.CellAngle", TValue::kInt)) record.SetCellAngle(static_cast<int>(v->Int));
    if (auto v = gio.Find("CellGraphic.CellValue", TValue::kFloat)) record.SetCellValue(v->Float);
    if (auto v = gio.Find("CellGraphic.CellErrFrom", TValue::kInt)) record.SetCellErrFrom(static_cast<int>(v->Int));
    if (auto v = gio.Find("CellGraphic.CellErrLen", TValue::kInt)) record.SetCellErrLen(static_cast<int>(v->Int));
    if (auto v = gio.Find("CellGraphic.CellText", TValue::kString)) record.SetCellText(v->Text);
    TCellGraphic* g = CreateCellGraphic(tc, tr);
    g->Assign(&record);
    switch (kind) {
      case ctBitmap:
      case ctBitButton: {
        auto b = std::make_unique<TBitmap>();
        if (auto v = bmpio.Get(0, TValue::kBinary)) LoadGraphic(b.get(), UnPrefixed(v->Bytes, 0));
        g->SetCellBitmap(b.release());
        g->SetCellCreated(true);
        break;
      }
      case ctIcon: {
        auto i = std::make_unique<TIcon>();
        if (auto v = iconio.Get(0, TValue::kBinary)) LoadGraphic(i.get(), v->Bytes);
        g->SetCellIcon(i.release());
        g->SetCellCreated(true);
        break;
      }
      case ctRadio: {
        auto s = std::make_unique<TStringList>();
        if (auto v = slio.Get(0, TValue::kList))
          for (const String& item : v->Items) s->Add(item);
        g->SetCellStrings(s.release());
        g->SetCellCreated(true);
        break;
      }
      case ctImages: {
        auto l = std::make_unique<TIntList>(tc, tr);
        if (auto v = slio.Get(0, TValue::kList)) {
          String text;
          for (size_t i = 0; i < v->Items.size(); ++i) text += (i ? u"," : u"") + v->Items[i];
          l->SetStrValue(text);
        }
        g->SetCellIntList(l.release());
        g->SetCellCreated(true);
        break;
      }
      case ctPicture: {
        auto pic = std::make_unique<TPicture>();
        if (auto v = picio.Get(0, TValue::kBinary); v && !v->Bytes.empty()) {
          const size_t n = static_cast<uint8_t>(v->Bytes[0]);
          if (v->Bytes.size() < 1 + n) throw EReadError(u"Stream read error");
          if (auto gr = MakeGraphic(UTF8ToString(v->Bytes.substr(1, n)))) {
            if (dynamic_cast<TIcon*>(gr.get())) LoadGraphic(gr.get(), v->Bytes.substr(1 + n));
            else LoadGraphic(gr.get(), UnPrefixed(v->Bytes, 1 + n));
            pic->SetGraphic(gr.get());
          }
        }
        g->SetCellPicture(pic.release());
        g->SetCellCreated(true);
        break;
      }
      case ctFilePicture: {
        auto fp = std::make_unique<TFilePicture>();
        if (auto v = fpicio.Get(0, TValue::kString)) fp->SetFilename(v->Text);
        g->SetCellFilePicture(fp.release());
        g->SetCellCreated(true);
        break;
      }
      default:
        break;
    }
  }
  // Node rows came in as cell graphics: the grid counts them again.
  RecountNodes();
}
