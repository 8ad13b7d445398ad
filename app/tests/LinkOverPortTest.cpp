// The command link over the real serial component and a software receiver on a pty:
// the idle pump, transmit-empty pacing and the reply machines end to end.
#include <gtest/gtest.h>

#include <chrono>

#include "testing/ReceiverSim.h"
#include "app/CommandLink.h"
#include "platform/ui/AppEvnts.h"
#include "platform/ui/Forms.h"
#include "serial/CPort.h"

namespace {

struct LinkOverPort {
  ReceiverSim Sim;
  TComPort Port{nullptr};
  TApplicationEvents Events{nullptr};
  TCommandLink Link;
  String Memo1, Memo2;

  LinkOverPort() {
    Application->Initialize();
    Port.SetPort(UTF8ToString(Sim.Path()));
    Port.SetBaudRate(br19200);
    Port.SetSyncMethod(smWindowSync);
    Port.SetEvents({evRxChar, evTxEmpty, evError});
    Port.OnRxChar = [this](TObject*, int Count) {
      String s;
      Port.ReadStr(s, Count);
      Link.ReceiveChars(s);
    };
    Port.OnTxEmpty = [this](TObject*) { Link.TxEmpty(); };
    Link.AppendMemo1 = [this](const String& s) { Memo1 += s; };
    Link.AppendMemo2 = [this](const String& s) { Memo2 += s; };
    Link.WriteLine = [this](const String& s) { Port.WriteStr(s); };
    Link.ClearPortBuffers = [this] { Port.ClearBuffer(true, true); };
    Events.OnIdle = [this](TObject*, bool& Done) { Link.Idle(Done); };
    Port.Open();
  }
  ~LinkOverPort() { Port.Close(); }

  // Runs the message loop until Memo1 holds Text or 20 s pass.
  bool RunUntilMemo1(const String& Text) {
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (Memo1.find(Text) == String::npos && std::chrono::steady_clock::now() < end) {
      Application->ProcessMessages();
      bool done = false;
      Link.Idle(done);
    }
    return Memo1.find(Text) != String::npos;
  }
  // Runs the loop until every received character went through the reply machine, so
  // that a query kind set next applies to the next reply only.
  bool RunUntilAtRest() {
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while ((Link.RxCount > 0 || Link.ParserState != 0) && std::chrono::steady_clock::now() < end) {
      Application->ProcessMessages();
      bool done = false;
      Link.Idle(done);
    }
    return Link.RxCount == 0 && Link.ParserState == 0;
  }
};

}  // namespace

TEST(LinkOverPort, QueryGoesOutAndItsReplyIsDecoded) {
  LinkOverPort f;
  f.Sim.LevelDbm = -90;
  f.Link.QueryKind = 3;
  f.Link.CommandOut(1, u"RS");
  ASSERT_TRUE(f.RunUntilMemo1(u"< - 90 dBmです >\r\n"));
  EXPECT_EQ(f.Memo1, u"RS\r\n*5A\r\n< - 90 dBmです >\r\n");
  EXPECT_EQ(f.Sim.Lines(), std::vector<std::string>{"RS"});
}

TEST(LinkOverPort, QueuedLinesLeaveOneAfterAnotherAndSplitRepliesDecode) {
  LinkOverPort f;
  f.Sim.SplitReplies = true;
  f.Link.CommandOut(2, u"RS", u"CH F3");
  ASSERT_TRUE(f.RunUntilMemo1(u"*5A\r\n"));
  EXPECT_EQ(f.Sim.Lines(), (std::vector<std::string>{"CH F3", "RS"}));
  EXPECT_EQ(f.Memo2, u"CH F3\r\nRS\r\n");
  ASSERT_TRUE(f.RunUntilAtRest());
  f.Link.QueryKind = 2;
  f.Link.CommandOut(1, u"CH");
  ASSERT_TRUE(f.RunUntilMemo1(u"< 3 チャンネルです >\r\n"));
}

TEST(LinkOverPort, MalformedFrameIsDroppedAndTheLinkGoesOn) {
  LinkOverPort f;
  f.Sim.Override = [](const std::string& line) { return line == "VE" ? std::string("*0G2\r\n") : std::string(); };
  f.Link.CommandOut(1, u"VE");
  ASSERT_TRUE(f.RunUntilMemo1(u"*0G2\r\n"));
  ASSERT_TRUE(f.RunUntilAtRest());
  f.Link.QueryKind = 1;
  f.Link.CommandOut(1, u"MD");
  ASSERT_TRUE(f.RunUntilMemo1(u"< トグル モードです >\r\n"));
  EXPECT_EQ(f.Memo1.find(u"番地"), String::npos);
}
