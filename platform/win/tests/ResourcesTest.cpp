#include "platform/win/Resources.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/rtl/SysUtils.h"
#include "platform/win/Comm.h"  // GetLastError
#include "platform/win/Gdi.h"
#include "platform/win/WinUser.h"

namespace {

void Put(std::vector<uint8_t>& b, size_t off, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b[off + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

// A .cur file of one 32 x 32 image (32-bit colour, opaque red) with the given hot spot.
std::vector<uint8_t> CursorFile(int HotX, int HotY) {
  const uint32_t image = 40 + 32 * 32 * 4 + 32 * 4;
  std::vector<uint8_t> b(22 + image, 0);
  Put(b, 2, 2, 2);  // a cursor file
  Put(b, 4, 1, 2);
  b[6] = 32, b[7] = 32;
  Put(b, 10, static_cast<uint32_t>(HotX), 2);
  Put(b, 12, static_cast<uint32_t>(HotY), 2);
  Put(b, 14, image, 4);
  Put(b, 18, 22, 4);
  Put(b, 22, 40, 4);       // bitmap header
  Put(b, 26, 32, 4);       // width
  Put(b, 30, 64, 4);       // height: image and mask
  Put(b, 34, 1, 2);        // planes
  Put(b, 36, 32, 2);       // bits
  for (size_t p = 0; p < 32 * 32; ++p) Put(b, 62 + 4 * p, 0xFFFF0000, 4);
  return b;
}

}  // namespace

TEST(Resources, FindsDataByTypeAndNameOrNumber) {
  static const char data[] = "named data";
  static const char numbered[] = "numbered";
  ASSERT_TRUE(RegisterResource(RT_RCDATA, u"Some_Data", data, sizeof data));
  ASSERT_TRUE(RegisterResource(RT_RCDATA, MAKEINTRESOURCE(12), numbered, sizeof numbered));
  struct Case {
    LPCWSTR type, name;
    const char* expected;
  };
  const Case cases[] = {
      {RT_RCDATA, u"SOME_DATA", data}, {RT_RCDATA, u"some_data", data}, {RT_RCDATA, MAKEINTRESOURCE(12), numbered},
      {RT_RCDATA, u"#12", numbered},   {RT_BITMAP, u"SOME_DATA", nullptr}, {RT_RCDATA, u"12", nullptr},
      {RT_RCDATA, u"other", nullptr},
  };
  for (const Case& c : cases) {
    SetLastError(0);
    HRSRC r = FindResource(HInstance, c.name, c.type);
    if (!c.expected) {
      EXPECT_EQ(r, nullptr);
      EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
      continue;
    }
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(LockResource(LoadResource(HInstance, r)), c.expected);
    EXPECT_EQ(SizeofResource(HInstance, r), c.expected == data ? sizeof data : sizeof numbered);
  }
  EXPECT_FALSE(RegisterResource(RT_RCDATA, u"", data, 1));
  UnregisterResource(RT_RCDATA, u"Some_Data");
  UnregisterResource(RT_RCDATA, MAKEINTRESOURCE(12));
  EXPECT_EQ(FindResource(HInstance, u"Some_Data", RT_RCDATA), nullptr);
}

TEST(Resources, LoadsCursorsWithTheirHotSpotsOnceEach) {
  static const std::vector<uint8_t> cursor = CursorFile(5, 9);
  ASSERT_TRUE(RegisterResource(RT_CURSOR, u"TEST_CURSOR", cursor.data(), static_cast<DWORD>(cursor.size())));
  HCURSOR c = LoadCursor(HInstance, u"test_cursor");
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(LoadCursor(HInstance, u"TEST_CURSOR"), c);  // shared
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(c, &info));
  EXPECT_EQ(info.xHotspot, 5u);
  EXPECT_EQ(info.yHotspot, 9u);
  BITMAP bm{};
  ASSERT_NE(GetObject(info.hbmColor, sizeof bm, &bm), 0);
  EXPECT_EQ(bm.bmWidth, 32);
  EXPECT_EQ(bm.bmHeight, 32);
  DeleteObject(info.hbmColor);
  EXPECT_FALSE(DestroyCursor(c));  // a shared cursor stays
  EXPECT_EQ(LoadCursor(HInstance, u"TEST_CURSOR"), c);
  UnregisterResource(RT_CURSOR, u"TEST_CURSOR");
}

TEST(Resources, RefusesMissingAndMalformedCursors) {
  SetLastError(0);
  EXPECT_EQ(LoadCursor(HInstance, u"NO_SUCH_CURSOR"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);

  const std::vector<uint8_t> good = CursorFile(0, 0);
  static std::vector<std::vector<uint8_t>> bad;
  bad.push_back(std::vector<uint8_t>(good.begin(), good.begin() + 100));  // image cut short
  bad.push_back(good);
  Put(bad.back(), 18, 0x7FFFFFF0, 4);  // image offset past the end
  bad.push_back(good);
  Put(bad.back(), 4, 4000, 2);  // more entries than the data holds
  bad.push_back(good);
  Put(bad.back(), 2, 1, 2);  // an icon file, not a cursor
  bad.push_back(std::vector<uint8_t>(good.begin(), good.begin() + 3));
  for (size_t i = 0; i < bad.size(); ++i) {
    const String name = u"BAD" + IntToStr(static_cast<int32_t>(i));
    ASSERT_TRUE(RegisterResource(RT_CURSOR, name.c_str(), bad[i].data(), static_cast<DWORD>(bad[i].size())));
    SetLastError(0);
    EXPECT_EQ(LoadCursor(HInstance, name.c_str()), nullptr) << i;
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_DATA_INVALID) << i;
    UnregisterResource(RT_CURSOR, name.c_str());
  }
}
