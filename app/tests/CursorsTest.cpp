// The tool's five cursors: compiled in, loaded at start-up with their hot spots, given to
// their controls; and the shipped .cur files are cursor files any reader takes.
#include <cstdio>
#include <filesystem>

#include "MainWindowFixture.h"
#include "platform/win/Gdi.h"
#include "platform/win/WinUser.h"

TEST_F(MainWindowTest, FiveCursorsLoadWithTheirHotSpotsAndGoToTheirControls) {
  StartConnected();
  const POINT hotSpots[5] = {{0, 0}, {0, 0}, {15, 15}, {0, 0}, {0, 0}};
  for (int i = 0; i < 5; ++i) {
    HCURSOR c = Screen->Cursors(i + 1);
    ASSERT_NE(c, nullptr) << i + 1;
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(c, &info));
    EXPECT_EQ(info.xHotspot, static_cast<DWORD>(hotSpots[i].X)) << i + 1;
    EXPECT_EQ(info.yHotspot, static_cast<DWORD>(hotSpots[i].Y)) << i + 1;
    BITMAP bm{};
    GetObject(info.hbmColor, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 32);
    EXPECT_EQ(bm.bmHeight, 32);
    DeleteObject(info.hbmColor);
  }
  EXPECT_EQ(M()->VrDemoButton3->Cursor(), 1);  // the port is open
  EXPECT_EQ(M()->SpeedButton1->Cursor(), 2);
  EXPECT_EQ(M()->AbColBitBtn15->Cursor(), 3);
  EXPECT_EQ(M()->AbColBitBtn1->Cursor(), 3);
  EXPECT_EQ(M()->PageControl1->Cursor(), 5);
  EXPECT_EQ(M()->PageControl2->Cursor(), 5);
  Click(M()->VrDemoButton3);
  EXPECT_EQ(M()->VrDemoButton3->Cursor(), 4);  // closed
}

TEST(ShippedCursors, ImageMagickReadsEveryCursorFileAs32By32) {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(RCV910X_SOURCE_DIR "/cursors")) {
    if (entry.path().extension() != ".cur") continue;
    ++count;
    const std::string command = "identify -format '%m %w %h' '" + entry.path().string() + "' 2>&1";
    FILE* p = popen(command.c_str(), "r");
    ASSERT_NE(p, nullptr);
    char buf[256] = {};
    size_t n = fread(buf, 1, sizeof buf - 1, p);
    EXPECT_EQ(pclose(p), 0) << entry.path();
    EXPECT_EQ(std::string(buf, n), "CUR 32 32") << entry.path();
  }
  EXPECT_EQ(count, 5);
}
