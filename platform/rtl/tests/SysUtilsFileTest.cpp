#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

#include "platform/rtl/SysUtils.h"
#include "testing/TempFolder.h"

namespace {

std::string S(const String& s) { return StringToUTF8(s); }

// Tests that work in a fresh temporary folder.
class TempDir : public ::testing::Test {
protected:
  String Path(const String& name) const { return dir_ + u"/" + name; }
  static void Touch(const String& path) { std::ofstream(StringToUTF8(path)) << "x"; }
  TempFolder tmp_;
  String dir_ = UTF8ToString(tmp_.Path());
};

}  // namespace

TEST(FileNames, SplitAndChange) {
  struct Case {
    const char16_t* name;
    const char* path;
    const char* dir;
    const char* file;
    const char* ext;
  } cases[] = {
      {u"/home/u/app.ini", "/home/u/", "/home/u", "app.ini", ".ini"},
      {u"/home/u/", "/home/u/", "/home/u", "", ""},
      {u"/app", "/", "/", "app", ""},
      {u"app.tar.gz", "", "", "app.tar.gz", ".gz"},
      {u"/a.b/file", "/a.b/", "/a.b", "file", ""},
      {u"", "", "", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(S(ExtractFilePath(c.name)), c.path) << S(c.name);
    EXPECT_EQ(S(ExtractFileDir(c.name)), c.dir) << S(c.name);
    EXPECT_EQ(S(ExtractFileName(c.name)), c.file) << S(c.name);
    EXPECT_EQ(S(ExtractFileExt(c.name)), c.ext) << S(c.name);
  }
  EXPECT_EQ(S(ChangeFileExt(u"/x/tool", u".ini")), "/x/tool.ini");
  EXPECT_EQ(S(ChangeFileExt(u"/x/graph.csv", u".bmp")), "/x/graph.bmp");
  EXPECT_EQ(S(ChangeFileExt(u"/x.d/graph", u"")), "/x.d/graph");
  EXPECT_EQ(S(ChangeFileExt(u"name.txt", u"")), "name");
  EXPECT_EQ(S(IncludeTrailingPathDelimiter(u"/a")), "/a/");
  EXPECT_EQ(S(IncludeTrailingPathDelimiter(u"/a/")), "/a/");
  EXPECT_EQ(S(ExcludeTrailingPathDelimiter(u"/a/")), "/a");
  EXPECT_EQ(S(ExcludeTrailingPathDelimiter(u"/")), "/");
  EXPECT_EQ(S(ExpandFileName(u"/a/./b/../c")), "/a/c");
  EXPECT_EQ(S(ExpandFileName(u"x")), S(GetCurrentDir() == u"/" ? u"/x" : GetCurrentDir() + u"/x"));
}

TEST_F(TempDir, ExistsForceDeleteRename) {
  const String sub = Path(U("ｱ/b/c"));  // non-ASCII names reach the file system as UTF-8
  EXPECT_FALSE(DirectoryExists(sub));
  EXPECT_TRUE(ForceDirectories(sub + u"/"));
  EXPECT_TRUE(DirectoryExists(sub));
  EXPECT_FALSE(FileExists(sub));  // a folder is not a file
  EXPECT_TRUE(ForceDirectories(sub));  // already there
  EXPECT_THROW(ForceDirectories(u""), EInOutError);

  const String f = sub + u"/f.ini";
  EXPECT_FALSE(FileExists(f));
  Touch(f);
  EXPECT_TRUE(FileExists(f));
  EXPECT_FALSE(ForceDirectories(f + u"/below"));  // a file in the way

  const String g = sub + u"/g.ini";
  EXPECT_TRUE(RenameFile(f, g));
  EXPECT_FALSE(FileExists(f));
  EXPECT_TRUE(FileExists(g));
  Touch(f);
  EXPECT_FALSE(RenameFile(f, g));  // never overwrites
  EXPECT_TRUE(FileExists(f));

  EXPECT_TRUE(DeleteFile(g));
  EXPECT_FALSE(DeleteFile(g));
  EXPECT_FALSE(DeleteFile(sub));  // folders are not deleted as files
  EXPECT_TRUE(DirectoryExists(sub));
}

TEST_F(TempDir, CurrentDirectory) {
  const String old = GetCurrentDir();
  ASSERT_TRUE(SetCurrentDir(dir_));
  EXPECT_EQ(GetCurrentDir(), ExpandFileName(dir_));
  EXPECT_FALSE(SetCurrentDir(Path(u"missing")));
  ASSERT_TRUE(SetCurrentDir(old));
}

TEST(Process, ExecutablePathAndArguments) {
  const String exe = GetModuleFileName();
  EXPECT_EQ(exe[0], u'/');
  EXPECT_TRUE(FileExists(exe));
  EXPECT_EQ(S(ExtractFileName(exe)), "test_rtl");
  EXPECT_EQ(ExeName(), exe);
  EXPECT_EQ(ParamStr(0), exe);
  EXPECT_EQ(ParamStr(ParamCount() + 1), u"");
}

TEST(OSErrors, MessagesCarryTheCodeAndText) {
  EXPECT_FALSE(SysErrorMessage(ENOENT).empty());
  errno = ENOENT;
  try {
    RaiseLastOSError();
    FAIL();
  } catch (const EOSError& e) {
    EXPECT_EQ(e.ErrorCode, ENOENT);
    EXPECT_EQ(S(e.Message()), "System Error.  Code: 2.\n" + S(SysErrorMessage(ENOENT)));
  }
}
