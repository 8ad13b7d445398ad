#include "platform/win/Version.h"

#include <gtest/gtest.h>

#include <cstring>

#include "testing/VersionFixture.h"
#include "platform/win/Comm.h"  // GetLastError

namespace {

uint16_t At16(const std::vector<uint8_t>& b, size_t off) { return static_cast<uint16_t>(b[off] | (b[off + 1] << 8)); }
void Put16(std::vector<uint8_t>& b, size_t off, uint16_t v) {
  b[off] = static_cast<uint8_t>(v);
  b[off + 1] = static_cast<uint8_t>(v >> 8);
}
// The offset of a node's header, found by its UTF-16 key.
size_t NodeOf(const std::vector<uint8_t>& b, const std::u16string& key) {
  std::vector<uint8_t> k;
  for (char16_t c : key) k.insert(k.end(), {static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8)});
  k.insert(k.end(), {0, 0});
  for (size_t i = 6; i + k.size() <= b.size(); i += 2)
    if (std::memcmp(b.data() + i, k.data(), k.size()) == 0) return i - 6;
  return 0;
}

std::u16string Text(const void* p, UINT chars) {
  std::u16string s(chars, u'\0');
  std::memcpy(s.data(), p, chars * 2);
  while (!s.empty() && s.back() == 0) s.pop_back();
  return s;
}

class VersionTest : public ::testing::Test {
protected:
  TempFolder Dir;
  std::u16string Path(const std::string& name) const {
    std::string p = Dir.File(name);
    return std::u16string(p.begin(), p.end());
  }
};

}  // namespace

// The block has the documented layout: root header, key, the fixed information on a 32-bit
// boundary, then the string and variable tables with their aligned children.
TEST_F(VersionTest, BlockHasTheDocumentedLayout) {
  std::vector<uint8_t> b = MakeVersionBlock(SampleVersionInfo());
  ASSERT_GE(b.size(), 92u);
  EXPECT_EQ(At16(b, 0), b.size());
  EXPECT_EQ(At16(b, 2), 52);  // sizeof VS_FIXEDFILEINFO
  EXPECT_EQ(At16(b, 4), 0);
  EXPECT_EQ(Text(b.data() + 6, 16), u"VS_VERSION_INFO");
  EXPECT_EQ(At16(b, 40) | (At16(b, 42) << 16), 0xFEEF04BDu);
  EXPECT_EQ(At16(b, 48) | (At16(b, 50) << 16), 0x00010000u);  // file version 1.0
  EXPECT_EQ(NodeOf(b, u"StringFileInfo"), 92u);
  size_t table = NodeOf(b, u"040904e4"), var = NodeOf(b, u"Translation");
  EXPECT_EQ(table % 4, 0u);
  EXPECT_EQ(At16(b, table + 4), 1);
  EXPECT_EQ(At16(b, var + 2), 4);
  EXPECT_EQ(At16(b, var + 4), 0);
  size_t file = NodeOf(b, u"FileVersion");
  EXPECT_EQ(At16(b, file + 2), 8);  // characters with the null
  EXPECT_EQ(At16(b, file + 4), 1);
}

TEST_F(VersionTest, ReadsTheBlockFromTheExecutablesSectionAndFindsItsEntries) {
  TVersionInfo info = SampleVersionInfo();
  info.Language = 0x0411;
  info.CodePage = 0x03A4;
  std::vector<uint8_t> block = MakeVersionBlock(info);
  ASSERT_TRUE(MakeElfWithVersion(Dir, "prog", block));

  DWORD handle = 7;
  DWORD size = GetFileVersionInfoSizeW(Path("prog").c_str(), &handle);
  ASSERT_EQ(size, block.size());
  EXPECT_EQ(handle, 0u);
  std::vector<uint8_t> data(size);
  ASSERT_TRUE(GetFileVersionInfoW(Path("prog").c_str(), 0, size, data.data()));
  EXPECT_EQ(data, block);

  void* p = nullptr;
  UINT len = 0;
  ASSERT_TRUE(VerQueryValueW(data.data(), u"\\", &p, &len));
  EXPECT_EQ(len, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(static_cast<VS_FIXEDFILEINFO*>(p)->dwSignature, VS_FFI_SIGNATURE);
  ASSERT_TRUE(VerQueryValueW(data.data(), u"\\VarFileInfo\\Translation\\", &p, &len));
  ASSERT_EQ(len, 4u);
  uint32_t translation;
  std::memcpy(&translation, p, 4);
  EXPECT_EQ(translation, 0x03A40411u);
  ASSERT_TRUE(VerQueryValueW(data.data(), u"\\StringFileInfo\\041103a4\\ProductName", &p, &len));
  EXPECT_EQ(Text(p, len), u"テスト");
  ASSERT_TRUE(VerQueryValueW(data.data(), u"\\stringfileinfo\\041103A4\\fileversion", &p, &len));
  EXPECT_EQ(Text(p, len), u"1.0.0.0");

  SetLastError(0);
  EXPECT_FALSE(VerQueryValueW(data.data(), u"\\StringFileInfo\\040904e4\\FileVersion", &p, &len));
  EXPECT_EQ(GetLastError(), ERROR_RESOURCE_TYPE_NOT_FOUND);
  EXPECT_FALSE(VerQueryValueW(data.data(), u"\\StringFileInfo\\041103a4\\Nothing", &p, &len));
  // A buffer too small for the block gets nothing.
  std::vector<uint8_t> small(size - 1, 0xEE);
  EXPECT_FALSE(GetFileVersionInfoW(Path("prog").c_str(), 0, size - 1, small.data()));
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(small, std::vector<uint8_t>(size - 1, 0xEE));
}

// Files without a block, and blocks whose lengths do not fit what holds them, are refused
// with an error code: nothing is read past the block or the file.
TEST_F(VersionTest, RefusesFilesWithoutAWellFormedBlock) {
  const std::vector<uint8_t> good = MakeVersionBlock(SampleVersionInfo());
  struct Case {
    const char* name;
    std::vector<uint8_t> block;  // empty: a file of its own below
    DWORD error;
  };
  std::vector<uint8_t> truncated(good.begin(), good.begin() + static_cast<long>(good.size() / 2));
  std::vector<uint8_t> childOutside = good;
  Put16(childOutside, NodeOf(good, u"StringFileInfo"), 0xFFF0);
  std::vector<uint8_t> valueOutside = good;
  Put16(valueOutside, NodeOf(good, u"CompanyName") + 2, 0x7FFF);
  std::vector<uint8_t> keyUnended = good;
  Put16(keyUnended, 0, 20);  // the root ends inside its own key
  std::vector<uint8_t> rootTooShort = good;
  Put16(rootTooShort, 0, 4);
  std::vector<uint8_t> tiny(good.begin(), good.begin() + 4);
  const Case cases[] = {
      {"truncated", truncated, ERROR_INVALID_DATA},
      {"child-outside", childOutside, ERROR_INVALID_DATA},
      {"value-outside", valueOutside, ERROR_INVALID_DATA},
      {"key-unended", keyUnended, ERROR_INVALID_DATA},
      {"root-too-short", rootTooShort, ERROR_INVALID_DATA},
      {"tiny", tiny, ERROR_INVALID_DATA},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(MakeElfWithVersion(Dir, c.name, c.block)) << c.name;
    SetLastError(0);
    EXPECT_EQ(GetFileVersionInfoSizeW(Path(c.name).c_str(), nullptr), 0u) << c.name;
    EXPECT_EQ(GetLastError(), c.error) << c.name;
    std::vector<uint8_t> data(good.size());
    EXPECT_FALSE(GetFileVersionInfoW(Path(c.name).c_str(), 0, static_cast<DWORD>(data.size()), data.data())) << c.name;
  }

  Dir.Write("text.txt", "not a program at all, just some text that is long enough");
  const std::pair<std::u16string, DWORD> files[] = {
      {Path("missing"), ERROR_FILE_NOT_FOUND},
      {Path("text.txt"), 8u},  // ENOEXEC: no ELF file
      {u"/bin/true", ERROR_RESOURCE_TYPE_NOT_FOUND},
      {Path(""), 21u},  // EISDIR: a folder
  };
  for (const auto& [file, error] : files) {
    SetLastError(0);
    EXPECT_EQ(GetFileVersionInfoSizeW(file.c_str(), nullptr), 0u);
    EXPECT_EQ(GetLastError(), error) << std::string(file.begin(), file.end());
  }
}
