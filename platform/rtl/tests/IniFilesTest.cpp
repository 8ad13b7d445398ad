#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>

#include "testing/TempFolder.h"
#include "platform/rtl/IniFiles.h"

namespace {

const char kSettings[] =
    "; settings of the tool\r\n"
    "stray=before any section\r\n"
    "\r\n"
    "[Application]\r\n"
    "  CPUpower = 0x10  \r\n"
    "AppTitle=RCV910X - Setting tool\r\n"
    "; colours follow\r\n"
    "\r\n"
    "[Graph color]\n"
    "c1Over=$0000FF\n"
    "Bad=abc\n";

}  // namespace

TEST(MemIniFile, ReadsTypedValuesCaseInsensitively) {
  TempFolder dir;
  dir.Write("s.ini", kSettings);
  TMemIniFile ini(dir.FileS("s.ini"));
  EXPECT_EQ(ini.ReadInteger(u"APPLICATION", u"cpupower", 1), 16);
  EXPECT_EQ(ini.ReadString(u"application", u"AppTitle", u""), u"RCV910X - Setting tool");
  EXPECT_EQ(ini.ReadInteger(u"Graph color", u"c1Over", 0), 0xFF);
  EXPECT_EQ(ini.ReadInteger(u"Graph color", u"Bad", 1), 1);  // no number: the default
  EXPECT_EQ(ini.ReadInteger(u"Graph color", u"Missing", 7), 7);
  EXPECT_EQ(ini.ReadString(u"Nowhere", u"stray", u"def"), u"def");
  EXPECT_TRUE(ini.SectionExists(u"graph COLOR"));
  EXPECT_TRUE(ini.ValueExists(u"Application", u"CPUPOWER"));
  EXPECT_FALSE(ini.ValueExists(u"Application", u"colours follow"));

  struct BoolCase {
    const char16_t* text;
    bool def;
    bool expected;
  };
  for (BoolCase c : {BoolCase{u"0", true, false}, BoolCase{u"1", false, true}, BoolCase{u"-1", false, true},
                     BoolCase{u"yes", true, true}, BoolCase{u"yes", false, false}}) {
    ini.WriteString(u"B", u"v", c.text);
    EXPECT_EQ(ini.ReadBool(u"B", u"v", c.def), c.expected) << StringToUTF8(c.text);
  }
  ini.WriteFloat(u"B", u"f", 2.5);
  EXPECT_EQ(ini.ReadFloat(u"B", u"f", 0), 2.5);
  EXPECT_EQ(ini.ReadFloat(u"B", u"v", 1.5), 1.5);
  const TDateTime when = EncodeDate(2024, 5, 17) + EncodeTime(13, 45, 10, 0);
  ini.WriteDateTime(u"B", u"d", when);
  EXPECT_NEAR(ini.ReadDateTime(u"B", u"d", 0), when, 1e-6);
}

TEST(MemIniFile, UpdateFileDropsCommentsAndWritesSectionsWithABlankLineEach) {
  TempFolder dir;
  dir.Write("s.ini", kSettings);
  {
    TMemIniFile ini(dir.FileS("s.ini"));
    ini.WriteString(u"application", u"CPUpower", u"2");  // existing key, other case
    ini.WriteString(u"New", u"Key", U("ｱﾅﾗｲｻﾞ"));
    ini.UpdateFile();
  }
  EXPECT_EQ(dir.Read("s.ini"),
            "[Application]\r\nCPUpower=2\r\nAppTitle=RCV910X - Setting tool\r\n\r\n"
            "[Graph color]\r\nc1Over=$0000FF\r\nBad=abc\r\n\r\n"
            "[New]\r\nKey=ｱﾅﾗｲｻﾞ\r\n\r\n");
  // Reading the rewritten file gives the values back as written.
  TMemIniFile again(dir.FileS("s.ini"));
  EXPECT_EQ(again.ReadString(u"NEW", u"KEY", u""), U("ｱﾅﾗｲｻﾞ"));
  EXPECT_EQ(again.ReadInteger(u"Application", u"CPUpower", 0), 2);
}

TEST(MemIniFile, ValuesReadBackExactlyExceptOuterBlanks) {
  TempFolder dir;
  const String name = dir.FileS("v.ini");
  const String values[] = {u"a=b", u"\"quoted\"", u"semi;colon", u"[brackets]", u"  padded  ", u"", u"50%"};
  {
    TMemIniFile ini(name);
    for (size_t i = 0; i < std::size(values); ++i) ini.WriteString(u"S", u"k" + IntToStr(int(i)), values[i]);
    ini.UpdateFile();
  }
  TMemIniFile ini(name);
  for (size_t i = 0; i < std::size(values); ++i)
    EXPECT_EQ(ini.ReadString(u"S", u"k" + IntToStr(int(i)), u"?"), Trim(values[i])) << i;
}

TEST(MemIniFile, AMissingFileIsAnEmptyStoreCreatedOnUpdate) {
  TempFolder dir;
  const String name = dir.FileS("new.ini");
  TMemIniFile ini(name);
  TStringList sections;
  ini.ReadSections(&sections);
  EXPECT_EQ(sections.Count(), 0);
  EXPECT_EQ(ini.ReadString(u"Information", u"destination", u"All"), u"All");
  EXPECT_FALSE(FileExists(name));
  ini.WriteString(u"Information", u"PortNumber", u"30704");
  ini.UpdateFile();
  EXPECT_EQ(dir.Read("new.ini"), "[Information]\r\nPortNumber=30704\r\n\r\n");
  EXPECT_EQ(ini.FileName(), name);
}

TEST(MemIniFile, SectionListsEraseAndDelete) {
  TempFolder dir;
  dir.Write("s.ini", "[A]\nx=1\ny=2\n[B]\n[a]\nz=3\n");
  TMemIniFile ini(dir.FileS("s.ini"));
  TStringList l;
  ini.ReadSections(&l);
  EXPECT_EQ(l.CommaText(), u"A,B");  // a section named twice is one section
  ini.ReadSection(u"a", &l);
  EXPECT_EQ(l.CommaText(), u"x,y,z");
  ini.ReadSectionValues(u"A", &l);
  EXPECT_EQ(l.Values(u"z"), u"3");
  EXPECT_TRUE(ini.SectionExists(u"B"));  // empty, but there
  ini.DeleteKey(u"A", u"Y");
  ini.EraseSection(u"b");
  ini.UpdateFile();
  EXPECT_EQ(dir.Read("s.ini"), "[A]\r\nx=1\r\nz=3\r\n\r\n");
}

TEST(IniFiles, AFileThatCannotBeWrittenRaisesNamingIt) {
  TempFolder dir;
  // A folder where the file should be fails for anyone, root included.
  std::filesystem::create_directory(dir.File("folder.ini"));
  const String name = dir.FileS("folder.ini");
  TMemIniFile mem(name);
  mem.WriteString(u"S", u"k", u"v");
  try {
    mem.UpdateFile();
    FAIL() << "wrote over a folder";
  } catch (const EFCreateError& e) {
    EXPECT_NE(e.Message().find(name), String::npos);
  }
  TIniFile direct(name);
  try {
    direct.WriteString(u"S", u"k", u"v");
    FAIL() << "wrote over a folder";
  } catch (const EIniFileException& e) {
    EXPECT_NE(e.Message().find(name), String::npos);
  }

  // A read-only file (permission bits do not stop root, so only checked for others).
  if (::geteuid() != 0) {
    dir.Write("ro.ini", "[S]\r\nk=1\r\n");
    ::chmod(dir.File("ro.ini").c_str(), 0444);
    TMemIniFile ro(dir.FileS("ro.ini"));
    EXPECT_EQ(ro.ReadInteger(u"S", u"k", 0), 1);
    EXPECT_THROW(ro.UpdateFile(), EFCreateError);
    EXPECT_THROW(TIniFile(dir.FileS("ro.ini")).WriteInteger(u"S", u"k", 2), EIniFileException);
  }
}

TEST(IniFile, WritesGoToTheFileAtOnceKeepingEverythingElse) {
  TempFolder dir;
  dir.Write("c.ini",
            "; main settings\r\n"
            "[Application]\r\n"
            "AppTitle=Tool\r\n"
            "\r\n"
            "[ComPort1]\r\n"
            "Port=COM1\r\n"
            "; keep me\r\n"
            "BaudRate=9600\r\n"
            "\r\n"
            "[Tail]\r\n"
            "x=1\r\n");
  TIniFile ini(dir.FileS("c.ini"));
  ini.WriteString(u"comport1", u"BAUDRATE", u"19200");  // replaced in place
  ini.WriteString(u"ComPort1", u"StopBits", u"1");       // added after the section's last key
  EXPECT_EQ(dir.Read("c.ini"),
            "; main settings\r\n[Application]\r\nAppTitle=Tool\r\n\r\n"
            "[ComPort1]\r\nPort=COM1\r\n; keep me\r\nBaudRate=19200\r\nStopBits=1\r\n\r\n"
            "[Tail]\r\nx=1\r\n");
  ini.WriteInteger(u"Counter", u"h", 12);  // a new section at the end
  EXPECT_EQ(ini.ReadInteger(u"COUNTER", u"H", 0), 12);
  // Another writer's change is seen by the next read.
  TMemIniFile other(dir.FileS("c.ini"));
  EXPECT_EQ(other.ReadString(u"Counter", u"h", u""), u"12");
  other.WriteString(u"Counter", u"h", u"13");
  other.UpdateFile();
  EXPECT_EQ(ini.ReadInteger(u"Counter", u"h", 0), 13);

  TStringList l;
  ini.ReadSection(u"comport1", &l);
  EXPECT_EQ(l.CommaText(), u"Port,BaudRate,StopBits");
  ini.ReadSections(&l);
  EXPECT_EQ(l.CommaText(), u"Application,ComPort1,Tail,Counter");
  ini.DeleteKey(u"ComPort1", u"port");
  ini.EraseSection(u"tail");
  EXPECT_FALSE(ini.SectionExists(u"Tail"));
  EXPECT_FALSE(ini.ValueExists(u"ComPort1", u"Port"));
  EXPECT_TRUE(ini.ValueExists(u"ComPort1", u"StopBits"));
}

TEST(IniFile, AMissingFileReadsDefaultsAndIsCreatedByTheFirstWrite) {
  TempFolder dir;
  TIniFile ini(dir.FileS("n.ini"));
  EXPECT_EQ(ini.ReadString(u"S", u"k", u"d"), u"d");
  EXPECT_FALSE(ini.SectionExists(u"S"));
  EXPECT_FALSE(FileExists(dir.FileS("n.ini")));
  ini.WriteBool(u"S", u"on", true);
  EXPECT_EQ(dir.Read("n.ini"), "[S]\r\non=1\r\n");
}

namespace {

// "ｱﾅﾗｲｻﾞ 設定" in code page 932.
const char kSjisCaption[] = "\xB1\xC5\xD7\xB2\xBB\xDE \x90\xDD\x92\xE8";

}  // namespace

TEST(IniFiles, ShiftJisFilesReadAsJapaneseAndAreWrittenBackInShiftJis) {
  TempFolder dir;
  const std::string original = std::string("[Application]\r\nFormCaption=") + kSjisCaption + "\r\n\r\n";
  dir.Write("s.ini", original);
  {
    TMemIniFile ini(dir.FileS("s.ini"));
    EXPECT_EQ(ini.ReadString(u"Application", u"FormCaption", u""), U("ｱﾅﾗｲｻﾞ 設定"));
    ini.UpdateFile();
  }
  EXPECT_EQ(dir.Read("s.ini"), original);

  TIniFile direct(dir.FileS("s.ini"));
  EXPECT_EQ(direct.ReadString(u"Application", u"FormCaption", u""), U("ｱﾅﾗｲｻﾞ 設定"));
  direct.WriteString(u"Application", u"AppTitle", U("ﾓﾃﾞﾙ"));
  EXPECT_EQ(dir.Read("s.ini"), std::string("[Application]\r\nFormCaption=") + kSjisCaption +
                                   "\r\nAppTitle=\xD3\xC3\xDE\xD9\r\n\r\n");

  // A character Shift_JIS cannot carry is refused; the file stays as it was.
  const std::string before = dir.Read("s.ini");
  TMemIniFile mem(dir.FileS("s.ini"));
  mem.WriteString(u"Application", u"AppTitle", U("\xF0\x9F\x98\x80"));
  EXPECT_THROW(mem.UpdateFile(), EFCreateError);
  EXPECT_THROW(direct.WriteString(u"Application", u"AppTitle", U("\xF0\x9F\x98\x80")), EIniFileException);
  EXPECT_EQ(dir.Read("s.ini"), before);
}

TEST(IniFiles, UTF8FilesKeepTheirByteOrderMark) {
  TempFolder dir;
  dir.Write("s.ini", "\xEF\xBB\xBF[S]\r\nk=\xE8\xA8\xAD\xE5\xAE\x9A\r\n\r\n");
  TMemIniFile ini(dir.FileS("s.ini"));
  EXPECT_EQ(ini.ReadString(u"S", u"k", u""), U("設定"));
  ini.UpdateFile();
  EXPECT_EQ(dir.Read("s.ini"), "\xEF\xBB\xBF[S]\r\nk=\xE8\xA8\xAD\xE5\xAE\x9A\r\n\r\n");
}

TEST(IniFiles, FilesThatAreNotTextAreRefusedAndNeverWrittenOver) {
  TempFolder dir;
  const std::string cases[] = {
      std::string("[S]\r\nk=1\r\n\0\0\0\0", 13),     // NUL bytes
      "\x7F" "ELF\x02\x01\x01\x00\x00\x00binary",     // control bytes
      "[S]\r\nk=\x80\xFF\xFE\r\n",                    // neither UTF-8 nor Shift_JIS
  };
  for (const std::string& bytes : cases) {
    dir.Write("b.ini", bytes);
    EXPECT_THROW(TMemIniFile(dir.FileS("b.ini")), EFOpenError);
    TIniFile direct(dir.FileS("b.ini"));
    EXPECT_THROW(direct.ReadString(u"S", u"k", u""), EFOpenError);
    EXPECT_THROW(direct.WriteString(u"S", u"k", u"2"), EFOpenError);
    EXPECT_EQ(dir.Read("b.ini"), bytes);
  }
}

TEST(IniFiles, FifosDevicesAndHugeFilesAreRefusedWithoutWaiting) {
  TempFolder dir;
  ASSERT_EQ(::mkfifo(dir.File("fifo.ini").c_str(), 0600), 0);
  // A file past the size bound, made sparse so that it costs no disk.
  { std::ofstream(dir.File("huge.ini")) << "[S]\r\nk=1\r\n"; }
  std::filesystem::resize_file(dir.File("huge.ini"), MaxIniFileSize + 1);
  for (const std::string& name : {dir.File("fifo.ini"), std::string("/dev/zero"), dir.File("huge.ini")}) {
    int refused = 0;
    auto read = [&] {
      try {
        TMemIniFile ini(UTF8ToString(name));
      } catch (const EFOpenError& e) {
        refused += e.Message().find(UTF8ToString(name)) != String::npos;
      }
      try {
        TIniFile(UTF8ToString(name)).ReadString(u"S", u"k", u"");
      } catch (const EFOpenError&) {
        ++refused;
      }
    };
    EXPECT_TRUE(dir.Finishes(read, "fifo.ini")) << name << " blocked the reader";
    EXPECT_EQ(refused, 2) << name;
  }
}

TEST(IniFile, ReadsSeeEveryChangeOnDiskWhileReadingTheFileOnce) {
  TempFolder dir;
  dir.Write("c.ini", "[S]\r\nk=12\r\n");
  // An old file: its stamp alone tells whether it changed.
  auto setTime = [&](const std::string& name, time_t when) {
    timespec t[2] = {{when, 0}, {when, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, dir.File(name).c_str(), t, 0), 0);
  };
  const time_t old = ::time(nullptr) - 3600;
  setTime("c.ini", old);
  TIniFile ini(dir.FileS("c.ini"));
  EXPECT_EQ(ini.ReadInteger(u"S", u"k", 0), 12);
  // Rewritten in place with the same size and its old time put back (as a copy keeping times does).
  dir.Write("c.ini", "[S]\r\nk=13\r\n");
  setTime("c.ini", old);
  EXPECT_EQ(ini.ReadInteger(u"S", u"k", 0), 13);
  // Changed twice within the file system's time resolution, with the same size.
  dir.Write("c.ini", "[S]\r\nk=14\r\n");
  EXPECT_EQ(ini.ReadInteger(u"S", u"k", 0), 14);
  dir.Write("c.ini", "[S]\r\nk=15\r\n");
  EXPECT_EQ(ini.ReadInteger(u"S", u"k", 0), 15);
  // Replaced by another file.
  dir.Write("d.ini", "[S]\r\nk=16\r\n");
  setTime("d.ini", old);
  std::filesystem::rename(dir.File("d.ini"), dir.File("c.ini"));
  EXPECT_EQ(ini.ReadInteger(u"S", u"k", 0), 16);
  std::filesystem::remove(dir.File("c.ini"));
  EXPECT_EQ(ini.ReadInteger(u"S", u"k", 0), 0);
}
