#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/win/Shell.h"

namespace fs = std::filesystem;

namespace {

// Puts a stand-in "xdg-open" first on PATH that records what it was asked to open.
class ShellExecuteTest : public ::testing::Test {
protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("shell-test-" + std::to_string(getpid()));
    fs::create_directories(dir_ / "bin");
    fs::create_directories(dir_ / "Help");
    log_ = dir_ / "opened.txt";
    std::ofstream script(dir_ / "bin" / "xdg-open");
    script << "#!/bin/sh\necho \"$1\" >> '" << log_.string() << "'\n";
    script.close();
    chmod((dir_ / "bin" / "xdg-open").c_str(), 0755);
    oldPath_ = getenv("PATH") ? getenv("PATH") : "";
    setenv("PATH", ((dir_ / "bin").string() + ":" + oldPath_).c_str(), 1);
  }
  void TearDown() override {
    setenv("PATH", oldPath_.c_str(), 1);
    fs::remove_all(dir_);
  }
  // Waits for the detached opener to write its line.
  std::string Opened() {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
      std::ifstream in(log_);
      std::stringstream ss;
      ss << in.rdbuf();
      std::string s = ss.str();
      if (!s.empty() && s.back() == '\n') return s;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return {};
  }
  fs::path dir_, log_;
  std::string oldPath_;
};

TEST_F(ShellExecuteTest, OpensAFolderAndReturnsAbove32) {
  String help = UTF8ToString((dir_ / "Help").string());
  HINSTANCE r = ShellExecute(nullptr, u"open", help.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  EXPECT_GT(r, 32);
  EXPECT_EQ(Opened(), (dir_ / "Help").string() + "\n");
}

TEST_F(ShellExecuteTest, OpensALinkAsGiven) {
  HINSTANCE r = ShellExecute(nullptr, nullptr, u"https://example.com/a?b=1", nullptr, nullptr, SW_SHOWNORMAL);
  EXPECT_GT(r, 32);
  EXPECT_EQ(Opened(), "https://example.com/a?b=1\n");
}

TEST_F(ShellExecuteTest, ReportsMissingTargetsAndUnknownVerbs) {
  String dir = UTF8ToString(dir_.string());
  struct Case { const Char* verb; const Char* file; const Char* directory; HINSTANCE expected; };
  const Case cases[] = {
      {u"open", u"Missing", dir.c_str(), SE_ERR_FNF},
      {u"open", u"NoDir/Missing", dir.c_str(), SE_ERR_PNF},
      {u"open", u"", nullptr, SE_ERR_FNF},
      {u"print", u"Help", dir.c_str(), SE_ERR_NOASSOC},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ShellExecute(nullptr, c.verb, c.file, nullptr, c.directory, SW_SHOW), c.expected)
        << StringToUTF8(c.file);
  // Nothing was handed to the desktop.
  EXPECT_FALSE(fs::exists(log_));
}

}  // namespace
