// The version box over settings files of the test's own, and the version data reader over
// executables with version blocks made by the test.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "MainWindowFixture.h"
#include "app/GetVersion2.h"
#include "platform/rtl/SysUtils.h"
#include "testing/VersionFixture.h"

namespace {

const std::string FullHelp =
    "[HelpResource]\r\n; a comment the write-back drops\r\nURL=https://example.com/tool\r\n"
    "HelpImage1=rcv910x-transmitter.jpg\r\n"
    "HelpLabel1=one\r\nHelpLabel2=two\r\nHelpLabel3=three\r\nHelpLabel4=four\r\n"
    "HelpLabel5=five\r\nHelpLabel6=six\r\nHelpLabel7=seven\r\nHelpLabel8=eight\r\n";

class VersionBoxTest : public MainWindowTest {
protected:
  TVerBoxForm* V() const { return VerBoxForm; }
  std::vector<String> Labels() const {
    return {V()->HelpLabel1->Caption(), V()->HelpLabel2->Caption(), V()->HelpLabel3->Caption(),
            V()->HelpLabel4->Caption(), V()->HelpLabel5->Caption(), V()->HelpLabel6->Caption(),
            V()->HelpLabel7->Caption(), V()->HelpLabel8->Caption()};
  }
  bool ErrorShown() const {
    for (const String& t : Modals->Texts)
      if (t.find(u"ｱﾌﾟﾘｹｰｼｮﾝｴﾗｰ") != String::npos) return true;
    return false;
  }
};

}  // namespace

TEST_F(VersionBoxTest, ShowsTheSettingsTextsPictureLinkAndTheProgramsVersion) {
  SettingsText += FullHelp;
  Start();
  EXPECT_EQ(Labels(), (std::vector<String>{u"one", u"two", u"three", u"four", u"five", u"six", u"seven", u"eight"}));
  EXPECT_EQ(V()->HelpURL->Caption(), u"https://example.com/tool");
  EXPECT_EQ(V()->HelpLabel9->Caption(), u"Ver. 1.0.0.0");
  ASSERT_NE(V()->HelpImage1->Picture()->Graphic(), nullptr);
  EXPECT_EQ(V()->HelpImage1->Picture()->Width(), 96);
  EXPECT_GT(V()->Image1->Picture()->Width(), 0);  // the fixed picture, from the program's resources
  EXPECT_FALSE(ErrorShown());
  // Read and written straight back: the comment line is gone, the keys stay.
  std::string text = Dir.Read("tool.ini");
  EXPECT_EQ(text.find("; a comment"), std::string::npos);
  EXPECT_NE(text.find("HelpLabel8=eight"), std::string::npos);
}

// Missing keys take their defaults; a picture that is not there is left out, and the texts,
// the link and the version show all the same (no error report).
TEST_F(VersionBoxTest, MissingKeysTakeTheirDefaultsAndAMissingPictureIsSkipped) {
  const std::string cases[] = {"", "[HelpResource]\r\nHelpImage1=nothing-here.jpg\r\nHelpLabel2=two\r\n",
                               "[HelpResource]\r\nHelpImage1=tool.ini\r\n"};
  for (const std::string& help : cases) {
    SettingsText = "[Information]\r\ndestination=Japan\r\n" + help;
    Start();
    std::vector<String> labels = Labels();
    EXPECT_EQ(labels[0], u"Error !!");
    EXPECT_EQ(labels[1], help.find("HelpLabel2") != std::string::npos ? u"two" : u"Error !!");
    EXPECT_EQ(labels[7], u"Error !!");
    EXPECT_EQ(V()->HelpURL->Caption(), u"ini file error");
    EXPECT_EQ(V()->HelpLabel9->Caption(), u"Ver. 1.0.0.0");
    EXPECT_EQ(V()->HelpImage1->Picture()->Graphic(), nullptr);
    EXPECT_FALSE(ErrorShown()) << help;
    FreeWindows();
    Modals->Texts.clear();
  }
}

// A settings file that cannot be written back: the box uses the values read and says nothing
// (in a child process that runs as an unprivileged user, so that the file's mode applies).
TEST_F(VersionBoxTest, ReadOnlySettingsFileKeepsTheValuesRead) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        ::alarm(60);
        Dir.Write("tool.ini", SettingsText + FullHelp);
        ::chmod(Dir.File("tool.ini").c_str(), 0444);
        ::chmod(Dir.Path().c_str(), 0555);
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(5);
        SettingsText.clear();  // start on the file as it is
        Start();
        const bool read = Labels()[7] == u"eight" && V()->HelpURL->Caption() == u"https://example.com/tool" &&
                          V()->HelpLabel9->Caption() == u"Ver. 1.0.0.0";
        const bool kept = Dir.Read("tool.ini").find("; a comment") != std::string::npos;
        // The verdict leaves at once: the tool is not torn down in the child.
        ::_exit(!read ? 2 : !kept ? 3 : ErrorShown() ? 4 : 0);
      },
      ::testing::ExitedWithCode(0), "");
  ::chmod(Dir.Path().c_str(), 0755);
}

TEST_F(VersionBoxTest, LinkChangesColourUnderTheMouseAndOpensItsAddressOnClick) {
  // A stand-in opener first on PATH records what the shell was asked to open.
  const std::string bin = Dir.File("bin"), log = Dir.File("opened.txt");
  std::filesystem::create_directories(bin);
  Dir.Write("bin/xdg-open", "#!/bin/sh\necho \"$1\" >> '" + log + "'\n");
  ::chmod((bin + "/xdg-open").c_str(), 0755);
  const std::string oldPath = getenv("PATH") ? getenv("PATH") : "";
  setenv("PATH", (bin + ":" + oldPath).c_str(), 1);

  SettingsText += FullHelp;
  Start();
  AcknowledgeNotice();
  M()->Version1->Click();
  ProcessPendingEvents();
  ASSERT_TRUE(V()->Showing());
  TLabel* link = V()->HelpURL;
  EXPECT_EQ(link->Font()->Color(), static_cast<TColor>(0xFF0000));
  SimulateMouseMove(link, link->Width() / 2, link->Height() / 2);
  ProcessPendingEvents();
  EXPECT_EQ(link->Font()->Color(), static_cast<TColor>(0xFF00FF));
  SimulateMouseMove(V()->AbColBitBtn1, 5, 5);
  ProcessPendingEvents();
  EXPECT_EQ(link->Font()->Color(), static_cast<TColor>(0xFF0000));

  SimulateClick(link, link->Width() / 2, link->Height() / 2);
  std::string opened;
  ASSERT_TRUE(Until([&] {
    std::ifstream in(log);
    std::stringstream ss;
    ss << in.rdbuf();
    opened = ss.str();
    return !opened.empty() && opened.back() == '\n';
  }));
  EXPECT_EQ(opened, "https://example.com/tool\n");
  setenv("PATH", oldPath.c_str(), 1);

  // Esc closes the box, and so does its "OK".
  ASSERT_TRUE(V()->Showing());
  SimulateKeyDown(V(), VK_ESCAPE);  // the box closes on the press
  ProcessPendingEvents();
  EXPECT_FALSE(V()->Showing());
  M()->Version1->Click();
  ProcessPendingEvents();
  ASSERT_TRUE(V()->Showing());
  Click(V()->AbColBitBtn1);
  EXPECT_FALSE(V()->Showing());
}

TEST(VersionData, ReadsTheFirstTranslationsStringsAndKeepsFieldsTheBlockLacks) {
  TempFolder dir;
  TVersionInfo us = SampleVersionInfo(u"2.3.4.5");
  TVersionInfo jp = SampleVersionInfo(u"9.8.7.6");
  jp.Language = 0x0411;
  jp.CodePage = 0x03A4;
  TVersionInfo noComments = SampleVersionInfo();
  noComments.Strings.erase(noComments.Strings.begin() + 9);
  ASSERT_TRUE(MakeElfWithVersion(dir, "us", MakeVersionBlock(us)));
  ASSERT_TRUE(MakeElfWithVersion(dir, "jp", MakeVersionBlock(jp)));
  ASSERT_TRUE(MakeElfWithVersion(dir, "nocomments", MakeVersionBlock(noComments)));

  TEXEVersionData d;
  ReadVersionData(dir.FileS("us"), d);
  EXPECT_EQ(d.FileVersion, u"2.3.4.5");
  EXPECT_EQ(d.CompanyName, u"Test Company");
  EXPECT_EQ(d.ProductName, u"テスト");
  EXPECT_EQ(d.Comments, u"no comment");
  EXPECT_EQ(d.LegalTrademarks, u"");
  ReadVersionData(dir.FileS("jp"), d);
  EXPECT_EQ(d.FileVersion, u"9.8.7.6");
  TEXEVersionData fresh;
  fresh.Comments = u"kept";
  ReadVersionData(dir.FileS("nocomments"), fresh);
  EXPECT_EQ(fresh.Comments, u"kept");
  EXPECT_EQ(fresh.FileVersion, u"1.0.0.0");

  TEXEVersionData own;
  ReadVersionData(UTF8ToString(RCV910X_TOOL), own);
  EXPECT_EQ(u"Ver. " + own.FileVersion, u"Ver. 1.0.0.0");
  EXPECT_EQ(own.ProductName, u"RCV910X setting tool");
}

TEST(VersionData, AFileWithoutAReadableBlockRaisesTheSystemError) {
  TempFolder dir;
  std::vector<uint8_t> block = MakeVersionBlock(SampleVersionInfo());
  block.resize(block.size() - 40);
  ASSERT_TRUE(MakeElfWithVersion(dir, "truncated", block));
  const std::pair<String, int> cases[] = {
      {dir.FileS("truncated"), 74}, {u"/bin/true", 61}, {dir.FileS("missing"), 2}};
  for (const auto& [file, code] : cases) {
    TEXEVersionData d;
    try {
      ReadVersionData(file, d);
      ADD_FAILURE() << "no error";
    } catch (EOSError& e) {
      EXPECT_EQ(e.ErrorCode, code);
    }
  }
}
