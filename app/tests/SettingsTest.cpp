#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>

#include "app/AppSettings.h"
#include "testing/TempFolder.h"

TEST(Settings, MissingFileGivesDefaultsAndCreatesTheFile) {
  TempFolder dir;
  TAppSettings s = LoadAppSettings(dir.FileS("tool.ini"));
  EXPECT_EQ(s.Destination, u"All");
  EXPECT_EQ(s.AppIcon, u"Error !!");
  EXPECT_EQ(s.FormCaption, u"Error !!");
  EXPECT_EQ(s.AppTitle, u"Error!!");
  EXPECT_EQ(s.CPUpower, 1);
  EXPECT_EQ(s.TimeD_interval, 320);
  EXPECT_EQ(s.Colors.Back, 0x800000);
  EXPECT_EQ(s.Colors.c1Main, 15780518);
  EXPECT_EQ(s.Colors.c2AreaLine, 0);
  EXPECT_TRUE(std::filesystem::exists(dir.File("tool.ini")));
  EXPECT_EQ(dir.Read("tool.ini"), "");
}

TEST(Settings, EveryKeyIsReadAndTheFileIsNormalised) {
  TempFolder dir;
  dir.Write("tool.ini",
            "; comment\r\n\r\n[Application]\r\nFormCaption = キャプション\r\nAppTitle=Title\r\n"
            "AppIcon=a.ico\r\nRTScontrol=1\r\nCPUpower=0x10\r\nTimeD_interval=$20\r\n\r\n"
            "[Information]\r\ndestination=Japan\r\n"
            "[ContWin color]\r\nFont=1\r\nBack=2\r\n"
            "[Graph color]\r\nc1Main=3\r\nc1Over=$0000FF\r\nc1Peak=5\r\nc1Start=6\r\nc1End=7\r\n"
            "c1ThreLine=8\r\nc1AnaLine1=9\r\nc1AnaLine2=10\r\nc1CenterLine=11\r\nc2Main=12\r\n"
            "c2Over=13\r\nc2Start=14\r\nc2End=15\r\nc2ThreLine=16\r\nc2AnaLine=17\r\n"
            "c2CenterLine=18\r\nc2Point=19\r\nc2AreaLine=20\r\n");
  TAppSettings s = LoadAppSettings(dir.FileS("tool.ini"));
  EXPECT_EQ(s.FormCaption, u"キャプション");
  EXPECT_EQ(s.AppTitle, u"Title");
  EXPECT_EQ(s.AppIcon, u"a.ico");
  EXPECT_EQ(s.RTScontrol, 1);
  EXPECT_EQ(s.CPUpower, 16);
  EXPECT_EQ(s.TimeD_interval, 32);
  EXPECT_EQ(s.Destination, u"Japan");
  const TColorSettings& c = s.Colors;
  int32_t got[] = {c.Font,      c.Back,       c.c1Main,       c.c1Over,  c.c1Peak,
                   c.c1Start,   c.c1End,      c.c1ThreLine,   c.c1AnaLine1, c.c1AnaLine2,
                   c.c1CenterLine, c.c2Main,  c.c2Over,       c.c2Start, c.c2End,
                   c.c2ThreLine, c.c2AnaLine, c.c2CenterLine, c.c2Point, c.c2AreaLine};
  for (int i = 0; i < 20; ++i) EXPECT_EQ(got[i], i == 3 ? 0x0000FF : i + 1) << i;
  std::string after = dir.Read("tool.ini");
  EXPECT_EQ(after.find("comment"), std::string::npos);
  EXPECT_EQ(after.rfind("[Application]\r\nFormCaption=キャプション\r\n", 0), 0u);
}

TEST(Settings, ColourSaveWritesTheKeysInOrder) {
  TempFolder dir;
  TSettingsStore store = OpenSettings(dir.FileS("tool.ini"));
  WriteColorSettings(*store.Ini, TColorSettings());
  ASSERT_TRUE(WriteBackSettings(store));
  std::string text = dir.Read("tool.ini");
  EXPECT_EQ(text.rfind("[ContWin color]\r\nBack=8388608\r\nFont=16777215\r\n\r\n[Graph color]\r\nc1Main=", 0), 0u)
      << text;
}

TEST(Settings, BadValuesFallBackToDefaults) {
  TempFolder dir;
  dir.Write("tool.ini", "[Application]\r\nCPUpower=abc\r\nRTScontrol=\r\n[Graph color]\r\nc1Over=red\r\nc2Point=$xyz\r\n");
  TAppSettings s = LoadAppSettings(dir.FileS("tool.ini"));
  EXPECT_EQ(s.CPUpower, 1);
  EXPECT_EQ(s.RTScontrol, 0);
  EXPECT_EQ(s.Colors.c1Over, 0xFF0000);
  EXPECT_EQ(s.Colors.c2Point, 0xFF0000);
}

namespace {
// Runs Body where file permissions apply: as is for an ordinary user, in a child
// process switched to an unprivileged user when the tests run as root.
bool RunWithoutPrivileges(const std::function<bool()>& Body) {
  if (::geteuid() != 0) return Body();
  pid_t pid = ::fork();
  if (pid == 0) {
    bool ok = ::setgid(65534) == 0 && ::setuid(65534) == 0 && Body();
    ::_exit(ok ? 0 : 1);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
}  // namespace

TEST(Settings, ReadOnlyFileOrFolderKeepsTheValuesRead) {
  TempFolder dir;
  std::string ro = dir.File("ro");
  std::filesystem::create_directory(ro);
  std::string file = ro + "/tool.ini";
  std::ofstream(file) << "; kept\n[Information]\ndestination=Japan\n";
  ::chmod(file.c_str(), 0444);
  ::chmod(ro.c_str(), 0555);
  ::chmod(dir.Path().c_str(), 0755);
  String path = UTF8ToString(file);
  String missing = UTF8ToString(ro + "/other.ini");
  bool ok = RunWithoutPrivileges([&] {
    TAppSettings s = LoadAppSettings(path);        // read-only file: no exception
    TAppSettings m = LoadAppSettings(missing);     // read-only folder: cannot create
    TSettingsStore store = OpenSettings(path);
    return s.Destination == u"Japan" && m.Destination == u"All" && !WriteBackSettings(store);
  });
  EXPECT_TRUE(ok);
  std::ifstream in(file);
  std::string first;
  std::getline(in, first);
  EXPECT_EQ(first, "; kept");  // the file was not rewritten
  ::chmod(ro.c_str(), 0755);
}

TEST(Settings, ColoursAreWrittenUnderTheFilesKeyNames) {
  TempFolder dir;
  TColorSettings c;
  int32_t* fields[] = {&c.Font,      &c.Back,       &c.c1Main,      &c.c1Over,    &c.c1Peak,
                       &c.c1Start,   &c.c1End,      &c.c1ThreLine,  &c.c1AnaLine1, &c.c1AnaLine2,
                       &c.c1CenterLine, &c.c2Main,  &c.c2Over,      &c.c2Start,   &c.c2End,
                       &c.c2ThreLine, &c.c2AnaLine, &c.c2CenterLine, &c.c2Point,  &c.c2AreaLine};
  for (int i = 0; i < 20; ++i) *fields[i] = i + 1;
  {
    TSettingsStore store = OpenSettings(dir.FileS("tool.ini"));
    WriteColorSettings(*store.Ini, c);
    ASSERT_TRUE(WriteBackSettings(store));
  }
  // Pinned by name, not by a reader that shares the writer's table.
  EXPECT_EQ(dir.Read("tool.ini"),
            "[ContWin color]\r\nBack=2\r\nFont=1\r\n\r\n"
            "[Graph color]\r\nc1Main=3\r\nc1Over=4\r\nc1Peak=5\r\nc1Start=6\r\nc1End=7\r\nc1ThreLine=8\r\n"
            "c1AnaLine1=9\r\nc1AnaLine2=10\r\nc1CenterLine=11\r\nc2Main=12\r\nc2Over=13\r\nc2Start=14\r\n"
            "c2End=15\r\nc2ThreLine=16\r\nc2AnaLine=17\r\nc2CenterLine=18\r\nc2Point=19\r\nc2AreaLine=20\r\n\r\n");
  TAppSettings back = LoadAppSettings(dir.FileS("tool.ini"));
  EXPECT_EQ(back.Colors.c2AreaLine, 20);
  EXPECT_EQ(back.Colors.Font, 1);
}

TEST(Settings, TheBuildPutsTheDefaultsBesideTheToolOnlyWhenNoSettingsFileIsThere) {
  TempFolder dir;
  auto copy = [&dir] {
    std::string cmd = std::string("'") + RCV910X_CMAKE + "' -DSOURCE='" + RCV910X_DEFAULT_SETTINGS +
                      "' -DDESTINATION='" + dir.File("rcv910x-tool.ini") + "' -P '" + RCV910X_COPY_SETTINGS + "'";
    return std::system(cmd.c_str());
  };
  ASSERT_EQ(copy(), 0);
  std::ifstream in(RCV910X_DEFAULT_SETTINGS, std::ios::binary);
  std::string shipped((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(dir.Read("rcv910x-tool.ini"), shipped);
  // The tool saved its port: the next build keeps the file.
  std::string saved = shipped + "[ComPort1]\r\nPort=ttyUSB0\r\n";
  dir.Write("rcv910x-tool.ini", saved);
  ASSERT_EQ(copy(), 0);
  EXPECT_EQ(dir.Read("rcv910x-tool.ini"), saved);
}
