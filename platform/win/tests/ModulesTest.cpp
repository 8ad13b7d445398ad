// Run-time linking over the module table, the visual-styles stand-ins and the version queries.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "platform/win/Gdi.h"
#include "platform/win/Modules.h"
#include "platform/win/UxTheme.h"

namespace {

TEST(Modules, LooksUpExportsByNameAndReportsMissingOnes) {
  struct Case {
    const char16_t* module;
    const char* proc;
    bool found;
  };
  const Case cases[] = {
      {u"UXTHEME.DLL", "OpenThemeData", true},   {u"uxtheme.dll", "EnableTheming", true},
      {u"UXTHEME.DLL", "GetThemePartSize", true}, {u"UXTHEME.DLL", "NoSuchEntry", false},
      {u"UXTHEME.DLL", "openthemedata", false},   {u"user32.dll", "UpdateLayeredWindow", true},
      {u"USER32.DLL", "SetLayeredWindowAttributes", true}, {u"USER32.DLL", "OpenThemeData", false},
      {u"kernel32", "GetLocaleInfoEx", true},     {u"COMCTL32.DLL", "DllGetVersion", true},
  };
  for (const Case& c : cases) {
    HMODULE m = LoadLibraryW(c.module);
    ASSERT_NE(m, nullptr);
    EXPECT_GE(reinterpret_cast<uintptr_t>(m), 32u);
    EXPECT_EQ(GetProcAddress(m, c.proc) != nullptr, c.found) << c.proc;
    EXPECT_TRUE(FreeLibrary(m));
  }
  EXPECT_EQ(LoadLibraryW(u"NOSUCH.DLL"), nullptr);
  EXPECT_EQ(LoadLibraryW(nullptr), nullptr);
}

TEST(Modules, CountsReferencesAndRefusesLookupsAfterTheLastFree) {
  HMODULE a = LoadLibraryW(u"UXTHEME.DLL");
  HMODULE b = LoadLibraryW(u"uxtheme");
  EXPECT_EQ(a, b);
  EXPECT_EQ(ModuleReferences(u"UXTHEME.DLL"), 2);
  EXPECT_TRUE(FreeLibrary(a));
  EXPECT_NE(GetProcAddress(b, "IsThemeActive"), nullptr);
  EXPECT_TRUE(FreeLibrary(b));
  EXPECT_EQ(ModuleReferences(u"UXTHEME.DLL"), 0);
  EXPECT_EQ(GetProcAddress(a, "IsThemeActive"), nullptr);
  EXPECT_FALSE(FreeLibrary(a));
  EXPECT_FALSE(FreeLibrary(nullptr));
}

TEST(Modules, SystemAnswersAsVersion61WithCommonControls610) {
  DWORD v = GetVersion();
  EXPECT_EQ(v & 0xFF, 6u);
  EXPECT_EQ((v >> 8) & 0xFF, 1u);
  OSVERSIONINFOW info;
  ASSERT_TRUE(GetVersionExW(&info));
  EXPECT_EQ(info.dwMajorVersion, 6u);
  EXPECT_EQ(info.dwMinorVersion, 1u);
  EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_NT);
  OSVERSIONINFOW small;
  small.dwOSVersionInfoSize = 4;
  EXPECT_FALSE(GetVersionExW(&small));

  HMODULE comctl = LoadLibraryW(u"COMCTL32.DLL");
  auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(GetProcAddress(comctl, "DllGetVersion"));
  ASSERT_NE(getVersion, nullptr);
  DLLVERSIONINFO dv;
  EXPECT_EQ(getVersion(&dv), S_OK);
  EXPECT_EQ(dv.dwMajorVersion, 6u);
  EXPECT_EQ(dv.dwMinorVersion, 10u);
  EXPECT_EQ(getVersion(nullptr), E_INVALIDARG);
  FreeLibrary(comctl);
}

// The pixels of one part in one state, drawn on white.
std::vector<COLORREF> Draw(HTHEME theme, int part, int state, HRESULT* result = nullptr) {
  const int w = 24, h = 20;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateBitmap(w, h, 1, 32, nullptr);
  HGDIOBJ old = SelectObject(dc, bmp);
  RECT r(0, 0, w, h);
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  HRESULT hr = DrawThemeBackground(theme, dc, part, state, &r, nullptr);
  if (result) *result = hr;
  std::vector<COLORREF> pixels;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) pixels.push_back(GetPixel(dc, x, y));
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  return pixels;
}

TEST(UxTheme, DrawsEachNamedPartAndStateDistinctly) {
  struct Case {
    const char16_t* cls;
    int part;
    std::vector<int> states;
  };
  const Case cases[] = {
      {u"combobox", CP_DROPDOWNBUTTON, {1, 2, 3, 4}},
      {u"button", BP_PUSHBUTTON, {1, 2, 3, 4}},
      {u"button", BP_RADIOBUTTON, {1, 2, 3, 4, 5, 6, 7, 8}},
      {u"button", BP_CHECKBOX, {1, 2, 3, 4, 5, 6, 7, 8}},
      {u"spin", SPNP_UP, {1, 2, 3, 4}},
      {u"spin", SPNP_DOWN, {1, 2, 3, 4}},
      {u"spin", SPNP_UPHORZ, {1, 2, 3, 4}},
      {u"spin", SPNP_DOWNHORZ, {1, 2, 3, 4}},
  };
  const std::vector<COLORREF> blank(24 * 20, 0xFFFFFF);
  std::set<std::vector<COLORREF>> seenParts;
  for (const Case& c : cases) {
    HTHEME theme = OpenThemeData(nullptr, c.cls);
    ASSERT_NE(theme, nullptr);
    std::set<std::vector<COLORREF>> seen;
    for (int state : c.states) {
      HRESULT hr = E_NOTIMPL;
      std::vector<COLORREF> px = Draw(theme, c.part, state, &hr);
      EXPECT_EQ(hr, S_OK) << c.part << "/" << state;
      EXPECT_NE(px, blank) << c.part << "/" << state;
      EXPECT_TRUE(seen.insert(px).second) << "state " << state << " of part " << c.part << " looks like another";
      if (state == 1) {
        EXPECT_TRUE(seenParts.insert(px).second) << "part " << c.part << " looks like another part";
      }
    }
    EXPECT_EQ(CloseThemeData(theme), S_OK);
  }
}

TEST(UxTheme, OpensTheFirstClassItDrawsAndAnswersNotImplementedForTheRest) {
  EXPECT_EQ(OpenThemeData(nullptr, u"edit"), nullptr);
  EXPECT_EQ(OpenThemeData(nullptr, nullptr), nullptr);
  EXPECT_EQ(OpenThemeData(nullptr, u"edit; Button"), OpenThemeData(nullptr, u"button"));
  HTHEME button = OpenThemeData(nullptr, u"button");
  HTHEME spin = OpenThemeData(nullptr, u"spin");
  HRESULT hr = S_OK;
  const std::vector<COLORREF> blank(24 * 20, 0xFFFFFF);
  // Parts and states that are not drawn leave the surface untouched.
  for (auto [theme, part, state] : {std::tuple{button, 4, 1}, std::tuple{button, BP_PUSHBUTTON, 5},
                                    std::tuple{spin, 5, 1}, std::tuple{button, BP_CHECKBOX, 9},
                                    std::tuple{button, BP_CHECKBOX, 0}}) {
    EXPECT_EQ(Draw(theme, part, state, &hr), blank);
    EXPECT_EQ(hr, E_NOTIMPL) << part << "/" << state;
  }
  EXPECT_EQ(DrawThemeBackground(nullptr, nullptr, 1, 1, nullptr, nullptr), E_INVALIDARG);
  EXPECT_TRUE(IsThemeActive());
  EXPECT_TRUE(IsAppThemed());
  EXPECT_EQ(GetCurrentThemeName(nullptr, 0, nullptr, 0, nullptr, 0), E_NOTIMPL);

  // Queries reached through the module table answer E_NOTIMPL.
  HMODULE ux = LoadLibraryW(u"UXTHEME.DLL");
  using TGetThemeColor = HRESULT (*)(HTHEME, int, int, int, COLORREF*);
  using TDrawThemeText = HRESULT (*)(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, DWORD, const RECT*);
  using TEnableTheming = HRESULT (*)(BOOL);
  COLORREF color = 0;
  EXPECT_EQ(reinterpret_cast<TGetThemeColor>(GetProcAddress(ux, "GetThemeColor"))(button, 1, 1, 0, &color), E_NOTIMPL);
  EXPECT_EQ(reinterpret_cast<TDrawThemeText>(GetProcAddress(ux, "DrawThemeText"))(button, nullptr, 1, 1, u"x", 1, 0, 0, nullptr), E_NOTIMPL);
  EXPECT_EQ(reinterpret_cast<TEnableTheming>(GetProcAddress(ux, "EnableTheming"))(TRUE), E_NOTIMPL);
  EXPECT_EQ(reinterpret_cast<FARPROC>(&DrawThemeBackground), GetProcAddress(ux, "DrawThemeBackground"));
  FreeLibrary(ux);
}

// A check box or radio face drawn again on a solid background is copied from a kept picture;
// it must be the style's drawing pixel for pixel (a clip rectangle makes the style draw it).
TEST(UxTheme, KeptCheckAndRadioFacesEqualTheDrawnOnes) {
  HTHEME button = OpenThemeData(nullptr, u"button");
  auto draw = [&](int part, int state, COLORREF back, bool clipped) {
    const int w = 40, h = 36;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateBitmap(w, h, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(dc, bmp);
    RECT all(0, 0, w, h), r(7, 9, 7 + 17, 9 + 15);
    HBRUSH brush = CreateSolidBrush(back);
    FillRect(dc, &all, brush);
    EXPECT_EQ(DrawThemeBackground(button, dc, part, state, &r, clipped ? &all : nullptr), S_OK);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) pixels.push_back(GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteObject(brush);
    DeleteObject(bmp);
    DeleteDC(dc);
    return pixels;
  };
  for (int part : {BP_CHECKBOX, BP_RADIOBUTTON})
    for (int state = 1; state <= 8; ++state)
      for (COLORREF back : {COLORREF(0xFFFFFF), COLORREF(0x3060C0)}) {
        const std::vector<COLORREF> drawn = draw(part, state, back, true);
        EXPECT_EQ(draw(part, state, back, false), drawn) << part << "/" << state << " first";
        EXPECT_EQ(draw(part, state, back, false), drawn) << part << "/" << state << " kept";
      }
}

}  // namespace
