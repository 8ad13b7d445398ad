// Reads a file's version block from its ELF section and finds entries in it. Every length in
// the file and in the block is checked against what holds it: nothing is read past either.
#include "platform/win/Version.h"

#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/rtl/SysUtils.h"
#include "platform/win/Comm.h"  // SetLastError

namespace {

constexpr DWORD ERROR_BAD_FORMAT = ENOEXEC;
constexpr size_t MaxBlock = 0xFFFF;          // a block's length is 16-bit
constexpr size_t MaxSectionTable = 16 << 20;  // section headers read at most
constexpr int MaxDepth = 8;                   // the layout is four deep

uint16_t LE16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
size_t Align4(size_t v) { return (v + 3) & ~size_t(3); }

// ---- The ELF file

class TFile {
public:
  explicit TFile(LPCWSTR Name) {
    if (Name) fd_ = open(StringToUTF8(Name).c_str(), O_RDONLY | O_CLOEXEC);
  }
  ~TFile() {
    if (fd_ >= 0) close(fd_);
  }
  TFile(const TFile&) = delete;
  TFile& operator=(const TFile&) = delete;
  bool Open() const { return fd_ >= 0; }
  // Exactly Size bytes at Offset, within the file.
  bool Read(uint64_t Offset, void* Data, size_t Size) const {
    if (Offset > size_ || Size > size_ - Offset) return false;
    auto* p = static_cast<uint8_t*>(Data);
    while (Size > 0) {
      ssize_t n = pread(fd_, p, Size, static_cast<off_t>(Offset));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      p += n, Offset += static_cast<uint64_t>(n), Size -= static_cast<size_t>(n);
    }
    return true;
  }
  bool Stat() {
    struct stat st {};
    if (fstat(fd_, &st) != 0) return false;
    if (!S_ISREG(st.st_mode)) {
      errno = EISDIR;
      return false;
    }
    size_ = static_cast<uint64_t>(st.st_size);
    return true;
  }

private:
  int fd_ = -1;
  uint64_t size_ = 0;
};

// One section's place in the file.
struct TSection {
  uint32_t Name = 0, Type = 0, Link = 0;
  uint64_t Offset = 0, Size = 0;
};

template <typename Ehdr, typename Shdr>
DWORD FindSection(const TFile& File, const char* Wanted, TSection& Out) {
  Ehdr eh;
  if (!File.Read(0, &eh, sizeof eh) || eh.e_shoff == 0 || eh.e_shentsize < sizeof(Shdr)) return ERROR_BAD_FORMAT;
  auto section = [&](uint64_t Index, TSection& S) {
    Shdr sh;
    if (Index > (UINT64_MAX - eh.e_shoff) / eh.e_shentsize) return false;
    if (!File.Read(eh.e_shoff + Index * eh.e_shentsize, &sh, sizeof sh)) return false;
    S = TSection{sh.sh_name, sh.sh_type, sh.sh_link, sh.sh_offset, sh.sh_size};
    return true;
  };
  // Many sections: the count and the name table's index are kept in section 0.
  TSection first;
  if (!section(0, first)) return ERROR_BAD_FORMAT;
  const uint64_t count = eh.e_shnum ? eh.e_shnum : first.Size;
  const uint64_t names = eh.e_shstrndx == SHN_XINDEX ? first.Link : eh.e_shstrndx;
  if (count > MaxSectionTable / eh.e_shentsize || names >= count) return ERROR_BAD_FORMAT;
  TSection strtab;
  if (!section(names, strtab) || strtab.Type != SHT_STRTAB) return ERROR_BAD_FORMAT;
  const size_t wantedLength = std::strlen(Wanted) + 1;
  std::vector<char> name(wantedLength);
  for (uint64_t i = 1; i < count; ++i) {
    TSection s;
    if (!section(i, s)) return ERROR_BAD_FORMAT;
    if (s.Name >= strtab.Size || strtab.Size - s.Name < wantedLength) continue;
    if (!File.Read(strtab.Offset + s.Name, name.data(), wantedLength)) return ERROR_BAD_FORMAT;
    if (std::memcmp(name.data(), Wanted, wantedLength) != 0) continue;
    if (s.Type == SHT_NOBITS) return ERROR_INVALID_DATA;
    Out = s;
    return ERROR_SUCCESS;
  }
  return ERROR_RESOURCE_TYPE_NOT_FOUND;
}

// ---- The block's nodes

struct TNode {
  size_t Start = 0, End = 0;
  uint16_t ValueLength = 0, Type = 0;
  std::u16string Key;
  size_t Value = 0, ValueBytes = 0, Children = 0;
};

// The node at Start, which must lie within Limit.
bool ReadNode(const uint8_t* b, size_t Start, size_t Limit, TNode& n) {
  if (Start > Limit || Limit - Start < 6) return false;
  const size_t length = LE16(b + Start);
  if (length < 6 || length > Limit - Start) return false;
  n = TNode{};
  n.Start = Start;
  n.End = Start + length;
  n.ValueLength = LE16(b + Start + 2);
  n.Type = LE16(b + Start + 4);
  size_t p = Start + 6;
  for (;;) {
    if (n.End - p < 2) return false;  // the key has no end within the node
    const char16_t c = LE16(b + p);
    p += 2;
    if (c == 0) break;
    n.Key.push_back(c);
  }
  n.Value = Align4(p);
  n.ValueBytes = n.Type == 1 ? size_t(n.ValueLength) * 2 : n.ValueLength;
  if (n.ValueBytes > 0 && (n.Value > n.End || n.ValueBytes > n.End - n.Value)) return false;
  n.Children = n.ValueBytes > 0 ? Align4(n.Value + n.ValueBytes) : n.Value;
  return true;
}

// Calls Each(child) for each child of n; false when a child is malformed or Each says stop.
template <typename F>
bool ForEachChild(const uint8_t* b, const TNode& n, F&& Each) {
  for (size_t off = n.Children; off < n.End;) {
    TNode child;
    if (!ReadNode(b, off, n.End, child)) return false;
    if (!Each(child)) return false;
    off = Align4(child.End);
  }
  return true;
}

bool Valid(const uint8_t* b, const TNode& n, int Depth) {
  if (Depth > MaxDepth) return false;
  return ForEachChild(b, n, [&](const TNode& c) { return Valid(b, c, Depth + 1); });
}

bool SameKey(const std::u16string& a, const std::u16string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i], y = b[i];
    if (x >= u'a' && x <= u'z') x = static_cast<char16_t>(x - 32);
    if (y >= u'a' && y <= u'z') y = static_cast<char16_t>(y - 32);
    if (x != y) return false;
  }
  return true;
}

// The file's version block, checked whole; an error code when there is none.
DWORD ReadBlock(LPCWSTR FileName, std::vector<uint8_t>& Block) {
  TFile file(FileName);
  if (!file.Open() || !file.Stat()) return errno ? static_cast<DWORD>(errno) : ERROR_FILE_NOT_FOUND;
  unsigned char ident[EI_NIDENT];
  if (!file.Read(0, ident, sizeof ident) || std::memcmp(ident, ELFMAG, SELFMAG) != 0 ||
      ident[EI_DATA] != ELFDATA2LSB)
    return ERROR_BAD_FORMAT;
  TSection s;
  DWORD r = ident[EI_CLASS] == ELFCLASS64   ? FindSection<Elf64_Ehdr, Elf64_Shdr>(file, VersionSectionName, s)
            : ident[EI_CLASS] == ELFCLASS32 ? FindSection<Elf32_Ehdr, Elf32_Shdr>(file, VersionSectionName, s)
                                            : ERROR_BAD_FORMAT;
  if (r != ERROR_SUCCESS) return r;
  // The section may be padded beyond the block; the block is never longer than 64 KiB.
  Block.resize(static_cast<size_t>(std::min<uint64_t>(s.Size, MaxBlock)));
  if (Block.size() < 6 || !file.Read(s.Offset, Block.data(), Block.size())) return ERROR_INVALID_DATA;
  TNode root;
  if (!ReadNode(Block.data(), 0, Block.size(), root) || !SameKey(root.Key, u"VS_VERSION_INFO") ||
      !Valid(Block.data(), root, 0))
    return ERROR_INVALID_DATA;
  Block.resize(root.End);
  return ERROR_SUCCESS;
}

}  // namespace

DWORD GetFileVersionInfoSizeW(LPCWSTR FileName, DWORD* Handle) {
  if (Handle) *Handle = 0;
  std::vector<uint8_t> block;
  DWORD r = ReadBlock(FileName, block);
  if (r != ERROR_SUCCESS) {
    SetLastError(r);
    return 0;
  }
  return static_cast<DWORD>(block.size());
}

BOOL GetFileVersionInfoW(LPCWSTR FileName, DWORD, DWORD Len, void* Data) {
  std::vector<uint8_t> block;
  DWORD r = ReadBlock(FileName, block);
  if (r == ERROR_SUCCESS && (Data == nullptr || Len < block.size())) r = ERROR_INSUFFICIENT_BUFFER;
  if (r != ERROR_SUCCESS) {
    SetLastError(r);
    return FALSE;
  }
  std::memcpy(Data, block.data(), block.size());
  return TRUE;
}

BOOL VerQueryValueW(const void* Block, LPCWSTR SubBlock, void** Buffer, UINT* Len) {
  const auto* b = static_cast<const uint8_t*>(Block);
  TNode node;
  // The block's own length bounds every read: it came whole from GetFileVersionInfoW.
  if (!b || !SubBlock || !Buffer || !Len || !ReadNode(b, 0, LE16(b), node)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::u16string path(SubBlock);
  for (size_t pos = 0; pos <= path.size();) {
    size_t next = path.find(u'\\', pos);
    if (next == std::u16string::npos) next = path.size();
    const std::u16string part = path.substr(pos, next - pos);
    pos = next + 1;
    if (part.empty()) continue;
    bool found = false;
    TNode match;
    ForEachChild(b, node, [&](const TNode& c) {
      if (!SameKey(c.Key, part)) return true;
      match = c;
      found = true;
      return false;
    });
    if (!found) {
      SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
      return FALSE;
    }
    node = std::move(match);
  }
  *Buffer = const_cast<uint8_t*>(b + std::min(node.Value, node.End));  // an empty value may end the node
  *Len = node.Type == 1 ? node.ValueLength : static_cast<UINT>(node.ValueBytes);
  return TRUE;
}
