// Visual-styles bindings: lookups into the entry table, missing library and entries, start-up
// order, repeated start-up and exit.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "controls/AdvXPVS.h"
#include "platform/win/Gdi.h"

namespace {

TEST(AdvXPVS, LooksUpThe45EntryPointsInOrder) {
  const auto& names = TThemeBinding::EntryNames();
  EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), 45u);
  EXPECT_STREQ(names[0], "OpenThemeData");
  EXPECT_STREQ(names[34], "IsThemeActive");
  EXPECT_STREQ(names[41], "GetCurrentThemeName");
  EXPECT_STREQ(names[44], "EnableTheming");

  TThemeBinding b("Test", u"UXTHEME.DLL", true);
  int before = ModuleReferences(u"UXTHEME.DLL");
  b.Load();
  ASSERT_TRUE(b.Loaded());
  EXPECT_EQ(ModuleReferences(u"UXTHEME.DLL"), before + 1);
  for (std::size_t i = 0; i < TThemeBinding::EntryCount; ++i)
    EXPECT_EQ(b.Entry(i), GetProcAddress(b.Handle(), names[i])) << names[i];
  EXPECT_EQ(b.Entry(45), nullptr);

  // A second load takes no second reference.
  b.Load();
  EXPECT_EQ(ModuleReferences(u"UXTHEME.DLL"), before + 1);

  // The painters' entries draw through the library.
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateBitmap(20, 20, 1, 32, nullptr);
  HGDIOBJ old = SelectObject(dc, bmp);
  RECT r(0, 0, 20, 20);
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  EXPECT_TRUE(b.IsThemeActive()());
  HTHEME theme = b.OpenThemeData()(nullptr, u"button");
  ASSERT_NE(theme, nullptr);
  EXPECT_EQ(b.DrawThemeBackground()(theme, dc, BP_CHECKBOX, CBS_CHECKEDNORMAL, &r, nullptr), S_OK);
  int drawn = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) drawn += GetPixel(dc, x, y) != 0xFFFFFF;
  EXPECT_GT(drawn, 0);
  EXPECT_EQ(b.CloseThemeData()(theme), S_OK);
  EXPECT_EQ(b.GetCurrentThemeName()(nullptr, 0, nullptr, 0, nullptr, 0), E_NOTIMPL);
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);

  b.Free();
  EXPECT_FALSE(b.Loaded());
  EXPECT_EQ(b.Entry(0), nullptr);
  EXPECT_EQ(ModuleReferences(u"UXTHEME.DLL"), before);
  b.Free();  // freeing twice releases nothing more
  EXPECT_EQ(ModuleReferences(u"UXTHEME.DLL"), before);
}

TEST(AdvXPVS, MissingLibraryLeavesTheBindingUnloaded) {
  TThemeBinding b("Test", u"NOTHEMES.DLL", true);
  b.Load();
  EXPECT_FALSE(b.Loaded());
  EXPECT_EQ(b.Entry(0), nullptr);
  b.Free();
  EXPECT_FALSE(b.Loaded());
}

TEST(AdvXPVS, MissingEntryStopsTheStartUpOnlyWhereItIsAsserted) {
  // A library without the theme entries: the lenient binding loads with empty entries, the
  // asserting one fails naming its module, and the bindings after it are not loaded.
  TThemeBinding first("First", u"USER32.DLL", false);
  TThemeBinding strict("StrictModule", u"USER32.DLL", true);
  TThemeBinding last("Last", u"USER32.DLL", false);
  TThemeBinding* const order[] = {&first, &strict, &last};
  try {
    LoadThemeBindings(order);
    ADD_FAILURE() << "no assertion failure";
  } catch (const EAssertionFailed& e) {
    std::string msg(e.Message().begin(), e.Message().end());
    EXPECT_NE(msg.find("StrictModule"), std::string::npos) << msg;
    EXPECT_NE(msg.find("OpenThemeData"), std::string::npos) << msg;
    EXPECT_NE(msg.find("line"), std::string::npos) << msg;
  }
  EXPECT_TRUE(first.Loaded());
  EXPECT_EQ(first.Entry(0), nullptr);
  EXPECT_FALSE(last.Loaded());
  int held = ModuleReferences(u"USER32.DLL");
  FreeThemeBindings(order);
  EXPECT_FALSE(first.Loaded());
  EXPECT_FALSE(strict.Loaded());
  EXPECT_LT(ModuleReferences(u"USER32.DLL"), held);
}

}  // namespace
