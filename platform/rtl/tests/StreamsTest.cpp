#include <gtest/gtest.h>

#include <cstring>

#include "testing/TempFolder.h"
#include "platform/rtl/Classes.h"

TEST(Streams, MemoryStreamReadsWritesAndSeeksFromEachOrigin) {
  TMemoryStream m;
  m.WriteBuffer("abcdef", 6);
  EXPECT_EQ(m.Size(), 6);
  EXPECT_EQ(m.Position(), 6);
  EXPECT_EQ(m.Seek(-2, soFromEnd), 4);
  EXPECT_EQ(m.Seek(-3, soFromCurrent), 1);
  char buf[8] = {};
  EXPECT_EQ(m.Read(buf, 8), 5);  // short read at the end
  EXPECT_STREQ(buf, "bcdef");
  // Writing past the end grows the stream and fills the gap with zeros.
  m.Seek(8, soFromBeginning);
  m.WriteBuffer("z", 1);
  ASSERT_EQ(m.Size(), 9);
  EXPECT_EQ(std::memcmp(m.Memory(), "abcdef\0\0z", 9), 0);
  m.SetSize(3);
  EXPECT_EQ(m.Position(), 3);
  EXPECT_THROW(m.Seek(-1, soFromBeginning), EStreamError);
  m.Clear();
  EXPECT_EQ(m.Size(), 0);
  EXPECT_EQ(m.Position(), 0);
}

TEST(Streams, ShortTransfersRaise) {
  TMemoryStream m;
  m.WriteBuffer("abc", 3);
  m.SetPosition(1);
  char buf[4];
  EXPECT_THROW(m.ReadBuffer(buf, 3), EReadError);

  // A stream that accepts only part of a write.
  struct HalfWriter : TMemoryStream {
    int32_t Write(const void* b, int32_t n) override { return TMemoryStream::Write(b, n / 2); }
  } half;
  EXPECT_THROW(half.WriteBuffer("abcd", 4), EWriteError);
}

TEST(Streams, CopyFromCopiesAPartOrAllOfTheSource) {
  TStringStream src(u"hello world");
  TMemoryStream dst;
  src.SetPosition(6);
  EXPECT_EQ(dst.CopyFrom(&src, 5), 5);
  EXPECT_EQ(std::string(static_cast<const char*>(dst.Memory()), 5), "world");
  TMemoryStream all;
  EXPECT_EQ(all.CopyFrom(&src, 0), 11);  // 0: the whole source from its start
  src.SetPosition(8);
  EXPECT_THROW(all.CopyFrom(&src, 10), EReadError);
}

TEST(Streams, FileStreamRoundTripAndModes) {
  TempFolder dir;
  const String name = dir.FileS("data.bin");
  {
    TFileStream f(name, fmCreate);
    f.WriteBuffer("0123456789", 10);
  }
  {
    TFileStream f(name, fmOpenReadWrite | fmShareDenyWrite);
    EXPECT_EQ(f.Size(), 10);
    f.Seek(-3, soFromEnd);
    f.WriteBuffer("XYZ", 3);
    f.SetSize(12);
  }
  EXPECT_EQ(dir.Read("data.bin"), std::string("0123456XYZ\0\0", 12));
  {
    TFileStream f(name, fmOpenRead);
    char buf[4] = {};
    f.SetPosition(2);
    EXPECT_EQ(f.Read(buf, 3), 3);
    EXPECT_STREQ(buf, "234");
    EXPECT_THROW(f.WriteBuffer("x", 1), EWriteError);  // opened for reading only
  }
  // fmCreate empties an existing file.
  { TFileStream f(name, fmCreate); }
  EXPECT_EQ(dir.Read("data.bin"), "");
}

TEST(Streams, FileOpenFailuresNameTheFileAndTheReason) {
  TempFolder dir;
  const String missing = dir.FileS("missing.txt");
  try {
    TFileStream f(missing, fmOpenRead);
    FAIL() << "opened a missing file";
  } catch (const EFOpenError& e) {
    EXPECT_NE(e.Message().find(missing), String::npos);
    EXPECT_NE(e.Message().find(u"No such file"), String::npos) << e.what();
  }
  // A folder is no file, whatever the mode.
  EXPECT_THROW(TFileStream(UTF8ToString(dir.Path()), fmOpenRead), EFOpenError);
  const String inMissingFolder = dir.FileS("nofolder/new.txt");
  try {
    TFileStream f(inMissingFolder, fmCreate);
    FAIL() << "created a file in a missing folder";
  } catch (const EFCreateError& e) {
    EXPECT_NE(e.Message().find(inMissingFolder), String::npos);
  }
}

TEST(Streams, MemoryStreamFilesAndStringStreamText) {
  TempFolder dir;
  TStringStream s(U("ｶﾅ and text"));
  EXPECT_EQ(s.Size(), 2 * 3 + 9);  // half-width katakana take three bytes each in UTF-8
  TMemoryStream m;
  m.LoadFromStream(&s);
  m.SaveToFile(dir.FileS("m.txt"));
  EXPECT_EQ(dir.Read("m.txt"), "ｶﾅ and text");
  TMemoryStream back;
  back.LoadFromFile(dir.FileS("m.txt"));
  EXPECT_EQ(back.Size(), m.Size());
  EXPECT_EQ(back.Position(), 0);

  TStringStream w;
  w.WriteString(u"abc");
  w.WriteString(U("ｱ"));
  EXPECT_EQ(w.DataString(), U("abcｱ"));
  w.SetPosition(1);
  EXPECT_EQ(w.ReadString(2), u"bc");
}
