#include <gtest/gtest.h>

#include <thread>

#include "controls/AdvStyleIF.h"
#include "platform/rtl/RegistryNotify.h"
#include "platform/ui/Forms.h"
#include "platform/win/WinUser.h"
#include "testing/ConfigFolder.h"
#include "testing/TestSupport.h"

namespace {

const String kOffice = u"Software\\Microsoft\\Office\\";

// The registry store in a fresh configuration folder for each test.
class AdvStyleIFTest : public ::testing::Test {
protected:
  static void CreateKey(const String& key) { ASSERT_TRUE(TRegistry().CreateKey(key)); }
  static void WriteTheme(const String& version, int32_t theme) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kOffice + version + u"\\Common", true));
    reg.WriteInteger(u"Theme", theme);
  }
  static void ClearStore() { TRegistry().DeleteKey(u"Software"); }

  TempConfigFolder config_;
};

}  // namespace

TEST(AdvStyleIF, OrdinalsAndConstantsAreFixed) {
  const std::pair<int, int> ordinals[] = {
      {tsOffice2003Blue, 0},   {tsOffice2003Silver, 1},   {tsOffice2003Olive, 2},  {tsOffice2003Classic, 3},
      {tsOffice2007Luna, 4},   {tsOffice2007Obsidian, 5}, {tsWindowsXP, 6},        {tsWhidbey, 7},
      {tsCustom, 8},           {tsOffice2007Silver, 9},   {tsWindowsVista, 10},    {tsWindows7, 11},
      {tsTerminal, 12},        {tsOffice2010Blue, 13},    {tsOffice2010Silver, 14}, {tsOffice2010Black, 15},
      {ot2003Blue, 0},         {ot2003Silver, 1},         {ot2003Olive, 2},        {ot2003Classic, 3},
      {ot2007Blue, 4},         {ot2007Silver, 5},         {ot2007Black, 6},        {ot2010Blue, 7},
      {ot2010Silver, 8},       {ot2010Black, 9},          {otUnknown, 10},         {WM_OFFICETHEMECHANGE, 2993},
  };
  for (size_t i = 0; i < std::size(ordinals); ++i) EXPECT_EQ(ordinals[i].first, ordinals[i].second) << "row " << i;
  EXPECT_EQ(String(IZOLStyle::IID), u"{11AC2DDC-C087-4298-AB6E-EA1B5017511B}");
  EXPECT_EQ(String(IZOLTones::IID), u"{1F492643-6699-4F25-8B34-3233FA735036}");
  EXPECT_EQ(GetDefaultFontName(), u"Segoe UI");
}

TEST_F(AdvStyleIFTest, DetectsOfficeVersionAndThemeFromTheRegistry) {
  struct Case {
    const char* what;
    std::function<void()> keys;
    int version;
    TOfficeTheme theme;
  };
  const Case cases[] = {
      {"nothing installed", [] {}, 0, ot2003Classic},
      {"2003 only", [] { CreateKey(kOffice + u"11.0\\Common\\General"); }, 0, ot2003Classic},
      {"2007 only", [] { CreateKey(kOffice + u"12.0\\Common\\General"); }, 1, ot2003Classic},
      {"2007 and 2010",
       [] {
         CreateKey(kOffice + u"12.0\\Common\\General");
         CreateKey(kOffice + u"14.0\\Common\\General");
       },
       2, ot2003Classic},
      {"2010 silver wins over 2007 black",
       [] {
         WriteTheme(u"14.0", 2);
         WriteTheme(u"12.0", 3);
       },
       0, ot2010Silver},
      {"2010 without a theme falls to 2007 blue",
       [] {
         CreateKey(kOffice + u"14.0\\Common");
         WriteTheme(u"12.0", 1);
       },
       0, ot2007Blue},
      {"2010 theme 0 ends the search",
       [] {
         WriteTheme(u"14.0", 0);
         WriteTheme(u"12.0", 3);
       },
       0, ot2003Blue},
      {"2010 blue", [] { WriteTheme(u"14.0", 1); }, 0, ot2010Blue},
      {"2010 black", [] { WriteTheme(u"14.0", 3); }, 0, ot2010Black},
      {"2007 silver", [] { WriteTheme(u"12.0", 2); }, 0, ot2007Silver},
      {"2007 black", [] { WriteTheme(u"12.0", 3); }, 0, ot2007Black},
      {"2007 theme 7", [] { WriteTheme(u"12.0", 7); }, 0, ot2003Blue},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ClearStore();
    c.keys();
    EXPECT_EQ(InstalledOfficeVersion(), c.version);
    EXPECT_EQ(DetectOfficeTheme(), c.theme);
  }
}

TEST_F(AdvStyleIFTest, ThemeValueOfAnotherKindIsAnError) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(kOffice + u"14.0\\Common", true));
  reg.WriteString(u"Theme", u"2");
  EXPECT_THROW(DetectOfficeTheme(), ERegistryException);
  EXPECT_EQ(ReadOfficeThemeValue(reg, u"\\Software\\Missing"), -1);
}

TEST_F(AdvStyleIFTest, NotifierWithoutOffice2007Or2010IsInert) {
  CreateKey(kOffice + u"11.0\\Common\\General");
  auto owner = std::make_unique<TForm>(nullptr);
  TThemeNotifier* notifier = GetThemeNotifier(owner.get());
  EXPECT_EQ(notifier->Owner(), owner.get());
  EXPECT_EQ(notifier->RegMonitorThread(), nullptr);
  EXPECT_EQ(notifier->Notifier(), nullptr);
  EXPECT_EQ(GetThemeNotifier(nullptr), notifier);
  notifier->RegisterWindow(owner->Handle());
  notifier->UnRegisterWindow(owner->Handle());
  owner.reset();  // frees the notifier
}

TEST_F(AdvStyleIFTest, ThemeChangeFromAnotherWriterReachesTheNotifierThenTheRegisteredWindowsInOrder) {
  CreateKey(kOffice + u"12.0\\Common\\General");
  CreateKey(kOffice + u"14.0\\Common\\General");
  WriteTheme(u"12.0", 1);
  WriteTheme(u"14.0", 1);

  std::vector<String> log;
  const auto window = [&log](const String& name) {
    return AllocateHWnd([&log, name](TMessage& m) {
      if (m.Msg != WM_OFFICETHEMECHANGE) return;
      EXPECT_EQ(m.WParam, reinterpret_cast<WPARAM>(HKEY_CURRENT_USER));
      log.push_back(name + u" " + reinterpret_cast<const char16_t*>(m.LParam));
    });
  };
  HWND a = window(u"A"), b = window(u"B"), never = window(u"never");

  auto owner = std::make_unique<TForm>(nullptr);
  TThemeNotifier* notifier = GetThemeNotifier(owner.get());
  ASSERT_NE(notifier->RegMonitorThread(), nullptr);
  notifier->OnOfficeThemeChange = [&](TObject* Sender) {
    EXPECT_EQ(Sender, notifier);
    log.push_back(u"notifier");
  };
  notifier->RegisterWindow(b);
  notifier->RegisterWindow(a);
  notifier->RegisterWindow(b);  // kept once
  notifier->UnRegisterWindow(never);

  const String key14 = kOffice + u"14.0\\Common";
  const std::vector<String> pass = {u"notifier", u"B " + key14, u"A " + key14};
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    log.clear();
    std::thread([round] { WriteTheme(u"14.0", 2 + round); }).join();
    EXPECT_TRUE(WaitUntil([&] { return log.size() >= pass.size(); }));
    ProcessPendingEvents();
    EXPECT_EQ(log, pass);
  }

  // A key added without values is no theme change.
  log.clear();
  std::thread([&] { CreateKey(key14 + u"\\Added"); }).join();
  WaitUntil([&] { return !log.empty(); }, 300);
  EXPECT_TRUE(log.empty());

  owner.reset();  // stops the watch and frees the notifier
  for (HWND w : {a, b, never}) DeallocateHWnd(w);

  // The next caller gets a fresh notifier of its own.
  auto next = std::make_unique<TForm>(nullptr);
  TThemeNotifier* fresh = GetThemeNotifier(next.get());
  EXPECT_EQ(fresh->Owner(), next.get());
  ASSERT_NE(fresh->RegMonitorThread(), nullptr);
  EXPECT_EQ(fresh->RegMonitorThread()->FKey, key14);
}

TEST_F(AdvStyleIFTest, WindowsRegisteredDuringANotificationPassJoinTheNextOne) {
  WriteTheme(u"12.0", 1);
  CreateKey(kOffice + u"12.0\\Common\\General");
  auto owner = std::make_unique<TForm>(nullptr);
  TThemeNotifier* notifier = GetThemeNotifier(owner.get());
  ASSERT_NE(notifier->RegMonitorThread(), nullptr);
  std::vector<String> log;
  HWND late = AllocateHWnd([&](TMessage& m) {
    if (m.Msg == WM_OFFICETHEMECHANGE) log.push_back(u"late");
  });
  // The GUI thread edits the list while the watch thread walks it.
  HWND first = AllocateHWnd([&](TMessage& m) {
    if (m.Msg != WM_OFFICETHEMECHANGE) return;
    log.push_back(u"first");
    notifier->RegisterWindow(late);
  });
  notifier->RegisterWindow(first);
  std::thread([] { WriteTheme(u"12.0", 2); }).join();
  EXPECT_TRUE(WaitUntil([&] { return !log.empty(); }));
  std::thread([] { WriteTheme(u"12.0", 3); }).join();
  EXPECT_TRUE(WaitUntil([&] { return log.size() >= 3; }));
  ProcessPendingEvents();
  EXPECT_EQ(log, (std::vector<String>{u"first", u"first", u"late"}));
  owner.reset();
  DeallocateHWnd(first);
  DeallocateHWnd(late);
}

TEST_F(AdvStyleIFTest, EachWatchHasItsOwnEventSoAChangeWakesOnlyTheWatchOfItsKey) {
  WriteTheme(u"12.0", 1);
  WriteTheme(u"14.0", 1);
  std::vector<String> log;
  const auto window = [&log](const String& name) {
    return AllocateHWnd([&log, name](TMessage& m) {
      if (m.Msg == WM_OFFICETHEMECHANGE) log.push_back(name);
    });
  };
  HWND w12 = window(u"12.0"), w14 = window(u"14.0");
  {
    // Two watches side by side, as two notifiers of two programs would run.
    TRegMonitorThread watch12, watch14;
    watch12.FKey = kOffice + u"12.0\\Common";
    watch14.FKey = kOffice + u"14.0\\Common";
    watch12.FFilter = watch14.FFilter = REG_NOTIFY_CHANGE_LAST_SET;
    watch12.FWnd = w12;
    watch14.FWnd = w14;
    watch12.Start();
    watch14.Start();
    watch12.WaitArmed();
    watch14.WaitArmed();
    const std::pair<const char16_t*, int32_t> changes[] = {{u"14.0", 2}, {u"12.0", 2}, {u"14.0", 3}};
    for (auto [version, theme] : changes) {
      log.clear();
      std::thread([version, theme] { WriteTheme(version, theme); }).join();
      EXPECT_TRUE(WaitUntil([&] { return !log.empty(); }));
      WaitUntil([&] { return log.size() > 1; }, 300);
      ProcessPendingEvents();
      EXPECT_EQ(log, std::vector<String>{version});
    }
    watch12.Stop();
    watch14.Stop();
  }  // each thread ends and closes its event
  DeallocateHWnd(w12);
  DeallocateHWnd(w14);
}

TEST_F(AdvStyleIFTest, AWatchedKeyThatCannotBeOpenedEndsTheThreadWithTheKeyNamed) {
  TRegMonitorThread thread;
  thread.FKey = kOffice + u"14.0\\Common";
  thread.Start();
  thread.WaitArmed();
  thread.WaitFor();
  ASSERT_TRUE(thread.FatalException());
  try {
    std::rethrow_exception(thread.FatalException());
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.Message(), u"Unable to open registry key " + kOffice + u"14.0\\Common");
  }
  // Registrations are still taken.
  thread.AddWindow(reinterpret_cast<HWND>(uintptr_t{42}));
  EXPECT_EQ(thread.Windows().size(), 1u);
}
