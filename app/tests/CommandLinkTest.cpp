#include <gtest/gtest.h>

#include <cstdint>

#include "app/CommandLink.h"
#include "platform/rtl/SysUtils.h"

namespace {

// A link whose monitors and port are plain strings.
struct LinkFixture {
  TCommandLink L;
  String Memo1, Memo2, Wire;
  bool Hex = false;
  bool FailWrite = false;
  int Cleared = 0, Failures = 0;

  LinkFixture() {
    L.AppendMemo1 = [this](const String& s) { Memo1 += s; };
    L.AppendMemo2 = [this](const String& s) { Memo2 += s; };
    L.HexMode = [this] { return Hex; };
    L.WriteLine = [this](const String& s) {
      if (FailWrite) throw EInOutError(u"write failed");
      Wire += s;
    };
    L.ClearPortBuffers = [this] { ++Cleared; };
    L.WriteFailed = [this] { ++Failures; };
  }
  // Pumps until the ring is empty and a few empty calls have passed.
  void Drain() {
    for (int i = 0; i < 4000 && L.RxCount > 0; ++i) L.PumpLink();
  }
  // Received text only: what the machine appended after the raw echo.
  String Decoded(const String& reply) {
    L.ReceiveChars(reply);
    Memo1.clear();
    Drain();
    return Memo1;
  }
};

}  // namespace

TEST(CommandLink, ControlRepliesDecode) {
  struct Case {
    int QueryKind;
    const char16_t* Reply;
    const char16_t* Shown;
    int KindAfter;
    int LevelAfter;  // 999: unchanged
  } cases[] = {
      {3, u"*05\r\n", u"< - 5 dBmです >\r\n", 0, -5},
      {1, u"*OK\r\n", u"", 1, 999},
      {1, u"*NG\r\n", u"", 1, 999},
      {1, u"*01\r\n", u"< トグル モードです >\r\n", 0, -1},
      {1, u"*11\r\n", u"< モメンタリー モードです >\r\n", 0, -17},
      {1, u"*22\r\n", u"< ??? モードです >\r\n", 0, -34},
      {2, u"*01\r\n", u"< 3 チャンネルです >\r\n", 0, -1},
      {2, u"*11\r\n", u"< 10 チャンネルです >\r\n", 0, -17},
      {0, u"*01\r\n", u"1\r\n", 0, -1},
      {0, u"*FF\r\n", u"255\r\n", 0, -255},
      {7, u"*10\r\n", u"", 0, -16},
      {2, u"*No ID\r\n", u"", 2, 999},
      {2, u"*0000A\r\n", u"10 ch\r\n", 2, -10},
      {2, u"*012\r\n", u"< 012 番地に登録しました >\r\n", 2, 999},
  };
  for (const Case& c : cases) {
    LinkFixture f;
    f.L.QueryKind = c.QueryKind;
    f.L.LastLevel = 999;
    EXPECT_EQ(f.Decoded(c.Reply), c.Shown) << StringToUTF8(c.Reply);
    EXPECT_EQ(f.L.QueryKind, c.KindAfter) << StringToUTF8(c.Reply);
    EXPECT_EQ(f.L.LastLevel, c.LevelAfter) << StringToUTF8(c.Reply);
    EXPECT_EQ(f.L.ParserState, 0);
    EXPECT_EQ(f.Cleared, 0);
  }
}

TEST(CommandLink, MalformedReplyRecoversAndClearsBuffers) {
  for (const char16_t* bad : {u"*0G2\r\n", u"*G1\r\n", u"*0000Z\r\n"}) {
    LinkFixture f;
    f.L.ReceiveChars(String(bad) + u"*05\r\n");
    f.L.CommandOut(1, u"RS");
    f.Memo1.clear();
    f.Drain();
    EXPECT_EQ(f.Memo1, u"RS\r\n") << StringToUTF8(bad);  // nothing decoded; the queue goes on
    EXPECT_EQ(f.Wire, u"RS\r\n");
    EXPECT_EQ(f.Cleared, 1);
    EXPECT_EQ(f.L.RxCount, 0);  // what followed the bad frame is dropped too
    EXPECT_EQ(f.L.ParserState, 0);
  }
}

TEST(CommandLink, FramesAcrossCallsAndUnframedText) {
  LinkFixture f;
  f.L.QueryKind = 3;
  // A frame ending in CR alone stays undecoded until the next character arrives.
  EXPECT_EQ(f.Decoded(u"*0"), u"");
  EXPECT_EQ(f.Decoded(u"5\r"), u"");
  EXPECT_EQ(f.Decoded(u"\n"), u"< - 5 dBmです >\r\n");
  // Without a CR in place the machine reads seven characters and starts over,
  // losing a following frame's '*'.
  EXPECT_EQ(f.Decoded(u"*ABCDEF*05\r\n"), u"");
  EXPECT_EQ(f.Decoded(u"noise*10\r\n"), u"16\r\n");
}

TEST(CommandLink, ReceiveEchoesOnlyOnTheControlPage) {
  LinkFixture f;
  f.L.ReceiveChars(u"*OK\r\n");
  EXPECT_EQ(f.Memo1, u"*OK\r\n");
  f.Hex = true;
  f.L.ReceiveChars(u"*5A");
  EXPECT_EQ(f.Memo1, u"*OK\r\n2A3541");
  f.L.MonitorState = 4;
  f.L.ReceiveChars(u"x");
  EXPECT_EQ(f.Memo1, u"*OK\r\n2A3541");
}

TEST(CommandLink, AirMachineShowsLevelsAndSkipsSendOnOk) {
  LinkFixture f;
  f.L.SetParserSelect(1);
  f.L.MonitorState = 4;
  f.L.ReceiveChars(u"*5A\r\n");
  f.Drain();
  EXPECT_EQ(f.Memo2, u"-90 dBm\r\n");
  EXPECT_EQ(f.L.LastLevel, -90);

  // On "OK" the send step waits for the next call.
  f.Memo2.clear();
  f.L.CommandOut(1, u"RS");
  f.L.ReceiveChars(u"*OK");
  f.L.PumpLink();  // '*': send step follows
  EXPECT_EQ(f.Wire, u"RS\r\n");
  f.L.PumpLink();  // 'O'
  f.L.PumpLink();  // 'K'
  f.L.TxEmpty();
  f.L.CommandOut(1, u"VE");
  f.L.ReceiveChars(u"\r");
  f.L.PumpLink();  // state 12 recognises OK: nothing sent
  EXPECT_EQ(f.Wire, u"RS\r\n");
  f.L.PumpLink();  // CR read, then the send step
  EXPECT_EQ(f.Wire, u"RS\r\nVE\r\n");
}

TEST(CommandLink, MachineSwitchDropsThePartialFrame) {
  LinkFixture f;
  f.L.ReceiveChars(u"*0");
  f.L.PumpLink();
  f.L.PumpLink();
  EXPECT_EQ(f.L.ParserState, 2);
  f.L.SetParserSelect(1);
  EXPECT_EQ(f.L.ParserState, 0);
  // Air states never stall the control machine either.
  f.L.SetParserSelect(0);
  f.L.ParserState = 11;
  f.L.ReceiveChars(u"*05\r\n");
  f.Memo1.clear();
  f.Drain();
  EXPECT_EQ(f.L.RxCount, 0);
  EXPECT_EQ(f.Memo1, u"5\r\n");
}

TEST(CommandLink, QueueSendsHighestSlotFirstOnePerTxEmpty) {
  LinkFixture f;
  f.L.CommandOut(2, u"RS", u"CH F3");
  f.L.PumpLink();
  EXPECT_EQ(f.Wire, u"CH F3\r\n");
  f.L.PumpLink();
  f.L.PumpLink();
  EXPECT_EQ(f.Wire, u"CH F3\r\n");  // waits for the line to leave the port
  f.L.TxEmpty();
  f.L.PumpLink();
  EXPECT_EQ(f.Wire, u"CH F3\r\nRS\r\n");
  EXPECT_FALSE(f.L.SendEnabled);
  EXPECT_EQ(f.Memo2, u"CH F3\r\nRS\r\n");
  EXPECT_EQ(f.Memo1, u"CH F3\r\nRS\r\n");

  // A second CommandOut before the first line went out replaces the queue.
  LinkFixture g;
  g.L.TxEmptyFlag = false;
  g.L.CommandOut(2, u"RS", u"CH F3");
  g.L.CommandOut(1, u"VE");
  g.L.TxEmpty();
  for (int i = 0; i < 5; ++i) {
    g.L.PumpLink();
    g.L.TxEmpty();
  }
  EXPECT_EQ(g.Wire, u"VE\r\n");
}

TEST(CommandLink, HexModeShowsTheSentLineAsCodes) {
  LinkFixture f;
  f.Hex = true;
  f.L.CommandOut(1, u"RS");
  f.L.PumpLink();
  EXPECT_EQ(f.Memo2, u"RS\r\n");
  EXPECT_EQ(f.Memo1, u"52530D0A\r\n");
  EXPECT_EQ(CodeText(u"MD\r\n"), u"4D440D0A");
}

TEST(CommandLink, NothingIsSentWhileCharactersWaitOnTheControlPage) {
  LinkFixture f;
  f.L.ReceiveChars(u"xyz");
  f.L.CommandOut(1, u"MD");
  f.L.PumpLink();
  f.L.PumpLink();
  EXPECT_EQ(f.Wire, u"");
  f.L.PumpLink();  // last character read
  f.L.PumpLink();
  EXPECT_EQ(f.Wire, u"MD\r\n");
}

TEST(CommandLink, FailedWriteKeepsTheLineQueued) {
  LinkFixture f;
  f.FailWrite = true;
  f.L.CommandOut(1, u"MD");
  f.L.PumpLink();
  f.L.PumpLink();
  EXPECT_EQ(f.Failures, 1);
  EXPECT_EQ(f.L.CommandCount, 1);
  EXPECT_FALSE(f.L.TxEmptyFlag);
  f.FailWrite = false;
  f.L.TxEmpty();
  f.L.PumpLink();
  EXPECT_EQ(f.Wire, u"MD\r\n");
  EXPECT_EQ(f.L.CommandCount, 0);
}

TEST(CommandLink, ThrottleAllowsSleepAfterCPUpowerEmptyCalls) {
  for (int power : {0, 1, 3}) {
    LinkFixture f;
    f.L.CPUpower = power;
    bool done = false;
    int calls = 0;
    while (!done && calls < 100) {
      f.L.Idle(done);
      ++calls;
    }
    EXPECT_EQ(calls, power + 1) << power;
    f.L.ReceiveChars(u"ab");
    EXPECT_FALSE(f.L.IdleDone);
    f.L.Idle(done);
    EXPECT_FALSE(done);
  }
  // The largest setting: the count reaches it and the loop may sleep, without overflowing.
  LinkFixture f;
  f.L.CPUpower = INT32_MAX;
  f.L.IdleCount = INT32_MAX - 1;
  bool done = false;
  f.L.Idle(done);
  EXPECT_FALSE(done);
  EXPECT_EQ(f.L.IdleCount, INT32_MAX);
  f.L.Idle(done);
  EXPECT_TRUE(done);
  EXPECT_EQ(f.L.IdleCount, 0);
}

TEST(CommandLink, ResetStartsAFreshConnection) {
  LinkFixture f;
  f.L.SetParserSelect(1);
  f.L.MonitorState = 4;
  f.L.QueryKind = 3;
  f.L.TxEmptyFlag = false;  // a line that never left the port
  f.L.CommandOut(2, u"RS", u"CH F3");
  f.L.ReceiveChars(u"*5");
  f.L.PumpLink();
  f.L.Reset();
  EXPECT_EQ(f.L.RxCount, 0);
  EXPECT_EQ(f.L.CommandCount, 0);
  EXPECT_EQ(f.L.ParserSelect(), 0);
  EXPECT_EQ(f.L.ParserState, 0);
  EXPECT_EQ(f.L.MonitorState, 0);
  // The line is free and a reply decodes on the control page without the old query kind.
  f.L.CommandOut(1, u"VE");
  f.L.PumpLink();
  EXPECT_EQ(f.Wire, u"VE\r\n");
  EXPECT_EQ(f.Decoded(u"*12\r\n"), u"18\r\n");
}

TEST(CommandLink, FullRingDropsTheExcessAndKeepsUnreadCharacters) {
  LinkFixture f;
  f.L.ReceiveChars(String(1000, u'a'));
  f.L.ReceiveChars(String(30, u'b') + String(10, u'c'));
  EXPECT_EQ(f.L.RxCount, TCommandLink::RingSize);
  EXPECT_EQ(f.L.RxDropped, 16u);
  String got;
  while (f.L.RxCount > 0) got += f.L.ReadRingChar();
  EXPECT_EQ(got, String(1000, u'a') + String(24, u'b'));
  // The ring wraps around once read.
  f.L.ReceiveChars(u"xyz");
  EXPECT_EQ(f.L.RxWriteIndex, 3);
  EXPECT_EQ(f.L.ReadRingChar(), u'x');
}
