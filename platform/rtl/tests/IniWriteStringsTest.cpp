// Several keys of a section written in one go.
#include <gtest/gtest.h>

#include "platform/rtl/IniFiles.h"
#include "testing/TempFolder.h"

namespace {

TEST(IniWriteStrings, WritesAllKeysOnceKeepingTheRestOfTheFile) {
  TempFolder dir;
  dir.Write("a.ini", "; note\r\n[S]\r\nKey=old\r\n\r\n[T]\r\nX=1\r\n");
  TIniFile ini(dir.FileS("a.ini"));
  ini.WriteStrings(u"s", {{u"KEY", u"new"}, {u"Added", u"1"}, {u"Added", u"2"}, {u"Second", u"x"}});
  ini.WriteStrings(u"U", {{u"Only", u"y"}});
  EXPECT_EQ(dir.Read("a.ini"),
            "; note\r\n[S]\r\nKey=new\r\nAdded=2\r\nSecond=x\r\n\r\n[T]\r\nX=1\r\n\r\n[U]\r\nOnly=y\r\n");
  EXPECT_EQ(ini.ReadString(u"U", u"only", u""), u"y");
  TMemIniFile mem(dir.FileS("b.ini"));
  mem.WriteStrings(u"S", {{u"A", u"1"}, {u"B", u"2"}});
  EXPECT_EQ(mem.ReadString(u"S", u"B", u""), u"2");
}

}  // namespace
