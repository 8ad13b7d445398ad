// The serial port component against pty pairs and the scripted fake device.

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "testing/PtyPair.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/ScopeGuard.h"
#include "testing/TempFolder.h"
#include "platform/ui/Forms.h"
#include "testing/CommFake.h"
#include "serial/CPort.h"

namespace {

// Runs the GUI thread's share of the work (sent messages, synchronised calls) until cond holds.
bool Pump(const std::function<bool()>& cond, int ms = 5000) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!cond()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    DispatchSentMessages();
    CheckSynchronize(1);
  }
  return true;
}

void PumpFor(int ms) {
  Pump([] { return false; }, ms);
}

String Name(const std::string& s) { return UTF8ToString(s); }

// A port on a fake device, opened with window delivery.
struct FakePort {
  TFakeCommDevice dev;
  TComPort port{nullptr};
  explicit FakePort(const char16_t* name, TComEvents events = {evRxChar, evTxEmpty, evCTS, evDSR, evError, evBreak,
                                                               evRing, evRLSD}) : dev(name) {
    port.SetPort(name);
    port.SetSyncMethod(smWindowSync);
    port.SetEvents(events);
  }
};

// A port on a pty pair, opened by the test.
struct PtyPort {
  Pty pty;
  TComPort port{nullptr};
  PtyPort(TSyncMethod sync, TComEvents events) {
    port.SetPort(Name(pty.path));
    port.SetSyncMethod(sync);
    port.SetEvents(events);
  }
};

bool HasCall(const TFakeCommDevice& dev, const std::string& call) {
  auto calls = dev.Calls();
  return std::find(calls.begin(), calls.end(), call) != calls.end();
}

int CodeOf(const std::function<void()>& f, int* winCode = nullptr, String* msg = nullptr) {
  try {
    f();
  } catch (const EComPort& e) {
    if (winCode) *winCode = e.WinCode();
    if (msg) *msg = e.Message();
    return e.Code();
  }
  return 0;
}

// ---- Reading and writing over a pty ---------------------------------------------------------

TEST(ComPort, TalksToAPeerAndDeliversEventsOnTheGuiThread) {
  Pty pty;
  TComPort port(nullptr);
  port.SetPort(Name(pty.path));
  port.SetSyncMethod(smWindowSync);
  port.SetEvents({evRxChar, evTxEmpty, evError});
  std::vector<std::string> log;
  String got;
  port.OnRxChar = [&](TObject* s, int count) {
    EXPECT_TRUE(IsMainThread());
    EXPECT_EQ(s, &port);
    String part;
    EXPECT_EQ(port.ReadStr(part, count), count);
    got += part;
    log.push_back("RxChar");
  };
  port.OnTxEmpty = [&](TObject*) {
    EXPECT_TRUE(IsMainThread());
    log.push_back("TxEmpty");
  };
  port.Open();
  ASSERT_TRUE(port.Connected());

  EXPECT_EQ(port.WriteStr(u"MD\r\n"), 4);
  EXPECT_EQ(pty.Receive(4), "MD\r\n");
  ASSERT_TRUE(Pump([&] { return !log.empty(); }));
  EXPECT_EQ(log.front(), "TxEmpty");

  pty.Send(std::string("\x2A\x4F\x4B\xB1", 4));
  ASSERT_TRUE(Pump([&] { return got.size() == 4; }));
  EXPECT_EQ(got, String(u"*OK\u00B1"));
  EXPECT_EQ(port.WriteStr(u""), 0);

  port.ClearBuffer(true, true);
  EXPECT_EQ(port.InputCount(), 0);
  port.Close();
  EXPECT_FALSE(port.Connected());
  EXPECT_EQ(port.Handle(), INVALID_HANDLE_VALUE);
}

// Text goes out and comes in through the port's code page; a character the code page cannot
// carry is left out without disturbing the characters after it.
TEST(ComPort, UnicodeTextTravelsInThePortsCodePage) {
  Pty pty;
  TComPort port(nullptr);
  port.SetPort(Name(pty.path));
  port.SetCodePage(932);
  port.Open();
  ASSERT_TRUE(port.Connected());
  const std::string sjis = "A\x8A\xBF" "B";  // "A漢B" in Shift_JIS
  EXPECT_EQ(port.WriteUnicodeString(u"A\u00E9\u6F22B"), 4);  // é has no Shift_JIS code
  EXPECT_EQ(pty.Receive(4), sjis);

  pty.Send(sjis);
  String got;
  ASSERT_TRUE(Pump([&] { return port.InputCount() == 4; }));
  EXPECT_EQ(port.ReadUnicodeString(got, 4), 3);
  EXPECT_EQ(got, String(u"A\u6F22B"));

  port.SetCodePage(99999);
  EXPECT_THROW(port.WriteUnicodeString(u"A"), EConvertError);
  port.Close();
}

TEST(ComPort, ReceivesFarMoreThanTheReceiveQueueHolds) {
  Pty pty;
  TComPort port(nullptr);
  port.SetPort(Name(pty.path));
  port.SetSyncMethod(smWindowSync);
  port.SetEvents({evRxChar});
  size_t received = 0;
  port.OnRxChar = [&](TObject*, int n) {
    String s;
    received += size_t(port.ReadStr(s, n));
  };
  port.Open();
  const size_t total = 512 * 1024;
  std::atomic<bool> stop{false};
  std::thread peer([&] {
    std::string chunk(4096, 'q');
    size_t sent = 0;
    while (sent < total && !stop) {
      // Exactly total bytes: a short write must not make the next chunk overshoot.
      ssize_t n = ::write(pty.master, chunk.data(), std::min(chunk.size(), total - sent));
      if (n > 0) sent += size_t(n);
      else std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
  });
  EXPECT_TRUE(Pump([&] { return received == total; }, 20000)) << received;
  stop = true;
  peer.join();
  port.Close();
}

TEST(ComPort, EveryDeliveryMethodReachesTheHandler) {
  for (TSyncMethod m : {smThreadSync, smWindowSync, smNone}) {
    PtyPort p(m, {evRxChar});
    auto& [pty, port] = p;
    std::atomic<int> count{0};
    std::atomic<bool> onMain{true};
    port.OnRxChar = [&](TObject*, int n) {
      if (m != smNone && !IsMainThread()) onMain = false;
      String s;
      count += port.ReadStr(s, n);
    };
    port.Open();
    pty.Send("abc");
    EXPECT_TRUE(Pump([&] { return count == 3; })) << int(m);
    EXPECT_TRUE(onMain) << int(m);
    port.Close();
  }
}

TEST(ComPort, WriteThatCannotFinishEndsByItsTimeoutWithTheWriteError) {
  Pty pty;  // the peer never reads
  TComPort port(nullptr);
  port.SetPort(Name(pty.path));
  port.SetEvents({});
  port.Timeouts()->SetWriteTotalMultiplier(0);
  port.Timeouts()->SetWriteTotalConstant(200);
  port.Open();
  String big(1 << 20, u'x');
  int win = 0;
  String msg;
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(CodeOf([&] { port.WriteStr(big); }, &win, &msg), 2);
  EXPECT_EQ(win, 110);
  EXPECT_EQ(msg, u"WriteFile function failed (Error: 110)");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
  port.Close();
}

TEST(ComPort, ClosingWhileEventsAreInFlightNeitherHangsNorRunsHandlersAfterwards) {
  Pty pty;
  TComPort port(nullptr);
  port.SetPort(Name(pty.path));
  port.SetSyncMethod(smWindowSync);
  port.SetEvents({evRxChar, evTxEmpty});
  std::atomic<bool> closed{false};
  std::atomic<int> afterClose{0}, events{0};
  port.OnRxChar = [&](TObject*, int) {
    if (closed) ++afterClose;
    ++events;  // bytes are left unread so that every arrival raises another event
  };
  port.Open();
  std::atomic<bool> stop{false};
  std::thread feeder([&] {
    while (!stop) {
      (void)::write(pty.master, "z", 1);
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
  });
  ASSERT_TRUE(Pump([&] { return events > 5; }));
  // Let the event thread block in a sent message that nobody has dispatched yet.
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  port.Close();
  closed = true;
  PumpFor(100);
  stop = true;
  feeder.join();
  EXPECT_EQ(afterClose, 0);
  EXPECT_FALSE(port.Connected());
}

TEST(ComPort, LosingTheDeviceRaisesAnIoErrorAndLeavesThePortClosable) {
  Pty pty;
  TComPort port(nullptr);
  port.SetPort(Name(pty.path));
  port.SetSyncMethod(smWindowSync);
  port.SetEvents({evRxChar, evError});
  TComErrors seen;
  bool fired = false;
  port.OnError = [&](TObject*, TComErrors e) {
    seen = e;
    fired = true;
  };
  port.Open();
  pty.CloseMaster();
  ASSERT_TRUE(Pump([&] { return fired; }));
  EXPECT_TRUE(seen.Contains(ceIO));
  EXPECT_TRUE(port.Connected());
  EXPECT_NE(CodeOf([&] { port.WriteStr(u"x"); }), 0);
  port.Close();
  EXPECT_FALSE(port.Connected());
}

// A handler may close the port, free it or move it to another device, whichever thread
// runs the handlers.
TEST(ComPort, AHandlerClosesFreesOrReopensItsOwnPort) {
  enum Action { CloseIt, FreeIt, MoveIt };
  for (TSyncMethod m : {smThreadSync, smWindowSync, smNone}) {
    for (Action a : {CloseIt, FreeIt, MoveIt}) {
      SCOPED_TRACE(testing::Message() << "sync " << int(m) << " action " << int(a));
      Pty pty, other;
      auto* port = new TComPort(nullptr);
      port->SetPort(Name(pty.path));
      port->SetSyncMethod(m);
      port->SetEvents({evRxChar, evTxEmpty});
      std::atomic<int> calls{0};
      std::atomic<bool> done{false}, reopened{false};
      String moved;
      port->OnRxChar = [&, port](TObject*, int n) {
        String s;
        port->ReadStr(s, n);
        if (++calls > 1) {  // after the move: the other device's bytes
          moved += s;
          done = true;
          return;
        }
        if (a == MoveIt) {
          port->SetPort(Name(other.path));
          reopened = true;
          return;
        }
        std::atomic<bool>* finished = &done;
        if (a == CloseIt) port->Close();
        else delete port;  // frees this handler too: nothing of it is touched afterwards
        *finished = true;
      };
      port->Open();
      pty.Send("x");
      if (a == MoveIt) {
        ASSERT_TRUE(Pump([&] { return bool(reopened); }));
        EXPECT_TRUE(port->Connected());
        other.Send("moved");
      }
      ASSERT_TRUE(Pump([&] { return bool(done); }));
      if (a == MoveIt) {
        EXPECT_EQ(moved, u"moved");
        EXPECT_EQ(port->WriteStr(u"hi"), 2);
        EXPECT_EQ(other.Receive(2), "hi");
      } else if (a == CloseIt) {
        EXPECT_FALSE(port->Connected());
        EXPECT_EQ(port->Handle(), INVALID_HANDLE_VALUE);
      }
      if (a != FreeIt) delete port;
      // The device was let go: it opens again.
      TComPort again(nullptr);
      again.SetPort(Name(pty.path));
      EXPECT_EQ(CodeOf([&] { again.Open(); }), 0);
      PumpFor(20);
      EXPECT_EQ(calls, a == MoveIt ? 2 : 1);
    }
  }
}

// An exception from a handler goes to the application's exception handler; the port
// stays open and the next events still arrive.
TEST(ComPort, AnExceptionInAHandlerIsReportedAndDeliveryGoesOn) {
  for (TSyncMethod m : {smThreadSync, smWindowSync, smNone}) {
    SCOPED_TRACE(int(m));
    PtyPort p(m, {evRxChar});
    auto& [pty, port] = p;
    std::atomic<int> calls{0};
    port.OnRxChar = [&](TObject*, int n) {
      String s;
      port.ReadStr(s, n);
      ++calls;
      throw Exception(u"handler failed");
    };
    std::vector<String> reported;
    Application->OnException = [&](TObject*, Exception& e) { reported.push_back(e.Message()); };
    port.Open();
    pty.Send("a");
    EXPECT_TRUE(Pump([&] { return reported.size() == 1; }));
    pty.Send("b");
    EXPECT_TRUE(Pump([&] { return reported.size() == 2; }));
    Application->OnException = nullptr;
    EXPECT_EQ(calls, 2);
    EXPECT_TRUE(port.Connected());
    EXPECT_EQ(reported, (std::vector<String>{u"handler failed", u"handler failed"}));
    port.Close();
  }
}

// The receive handler reads what arrived even when the line went away meanwhile; the
// loss is reported once, after the bytes.
TEST(ComPort, BytesReceivedBeforeTheLineWentAreReadThenTheLossIsReportedOnce) {
  PtyPort p(smWindowSync, {evRxChar, evTxEmpty, evCTS, evDSR, evError});  // as the tool has it
  auto& [pty, port] = p;
  String got;
  std::vector<std::string> log;
  port.OnRxChar = [&](TObject*, int n) {
    if (got.empty()) {
      // The line goes while the handler runs: wait until the port has found out.
      pty.CloseMaster();
      EXPECT_TRUE(Pump([&] { return CodeOf([&] { port.Signals(); }) != 0; }));
    }
    String s;
    EXPECT_EQ(port.ReadStr(s, n), n);
    got += s;
    log.push_back("RxChar");
  };
  port.OnError = [&](TObject*, TComErrors e) {
    EXPECT_TRUE(e.Contains(ceIO));
    log.push_back("Error");
  };
  port.Open();
  pty.Send("OK\r");
  ASSERT_TRUE(Pump([&] { return !log.empty() && log.back() == "Error"; }));
  PumpFor(50);
  EXPECT_EQ(got, u"OK\r");
  EXPECT_EQ(log, (std::vector<std::string>{"RxChar", "Error"}));
  port.Close();
}

// Closing a port whose device has gone succeeds, even when the device fails to close,
// and the port opens again once the device is back.
TEST(ComPort, ClosingAPortWhoseDeviceWentReleasesItForTheNextOpen) {
  auto dev = std::make_unique<TFakeCommDevice>(u"fakeGoneClose");
  TComPort port(nullptr);
  port.SetPort(u"fakeGoneClose");
  port.SetSyncMethod(smWindowSync);
  port.SetEvents({evRxChar, evError});
  bool lost = false, afterClose = false;
  port.OnError = [&](TObject*, TComErrors) { lost = true; };
  port.OnAfterClose = [&](TObject*) { afterClose = true; };
  port.Open();
  dev->Hangup();
  ASSERT_TRUE(Pump([&] { return lost; }));
  int win = 0;
  EXPECT_EQ(CodeOf([&] { port.SetDTR(false); }, &win), 12);
  EXPECT_EQ(win, EIO);
  dev->Fail(TCommCall::Close, EIO);
  EXPECT_EQ(CodeOf([&] { port.Close(); }), 0);
  EXPECT_FALSE(port.Connected());
  EXPECT_EQ(port.Handle(), INVALID_HANDLE_VALUE);
  EXPECT_TRUE(afterClose);
  EXPECT_FALSE(dev->IsOpen());
  // The adapter is plugged in again.
  dev.reset();
  dev = std::make_unique<TFakeCommDevice>(u"fakeGoneClose");
  EXPECT_EQ(CodeOf([&] { port.Open(); }), 0);
  EXPECT_TRUE(port.Connected());
  EXPECT_TRUE(dev->IsOpen());
  port.Close();
}

TEST(ComPort, ExclusiveUse) {
  Pty pty;
  TComPort a(nullptr), b(nullptr);
  a.SetPort(Name(pty.path));
  b.SetPort(Name(pty.path));
  a.Open();
  int win = 0;
  EXPECT_EQ(CodeOf([&] { b.Open(); }, &win), 1);
  EXPECT_EQ(win, 16);
  EXPECT_FALSE(b.Connected());
}

// ---- Open, close and errors ---------------------------------------------------------------------

TEST(ComPort, OpeningAMissingPortRaisesOrReportsAndStaysClosed) {
  TComPort port(nullptr);
  port.SetPort(u"ttyNoSuchDevice7");
  std::vector<std::string> log;
  port.OnBeforeOpen = [&](TObject*) { log.push_back("BeforeOpen"); };
  port.OnAfterOpen = [&](TObject*) { log.push_back("AfterOpen"); };
  int win = 0;
  String msg;
  EXPECT_EQ(CodeOf([&] { port.Open(); }, &win, &msg), 1);
  EXPECT_EQ(win, 2);
  EXPECT_EQ(msg, u"Unable to open com port (Error: 2)");
  EXPECT_EQ(log, std::vector<std::string>{"BeforeOpen"});

  TComExceptions kind{};
  String portMsg, winMsg;
  int64_t winErr = 0;
  port.OnException = [&](TObject*, TComExceptions k, const String& m, int64_t w, const String& wm) {
    kind = k;
    portMsg = m;
    winErr = w;
    winMsg = wm;
  };
  EXPECT_EQ(CodeOf([&] { port.Open(); }), 0);
  EXPECT_EQ(kind, CE_OpenFailed);
  EXPECT_EQ(portMsg, u"Unable to open com port");
  EXPECT_EQ(winErr, 2);
  EXPECT_NE(winMsg.find(u"2"), String::npos);
  EXPECT_FALSE(port.Connected());
  EXPECT_EQ(port.Handle(), INVALID_HANDLE_VALUE);
}

TEST(ComPort, ClosedPortOperationsReportPortNotOpen) {
  TComPort port(nullptr);
  int win = 0;
  String msg;
  EXPECT_EQ(CodeOf([&] { port.WriteStr(u"x"); }, &win, &msg), 24);
  EXPECT_EQ(win, -1);
  EXPECT_EQ(msg, u"Port Not Open");
  String s;
  EXPECT_EQ(CodeOf([&] { port.ReadStr(s, 3); }), 24);
  PAsync none = nullptr;
  EXPECT_EQ(CodeOf([&] { port.WaitForAsync(none); }), 4);
}

// Every driver failure reaches the caller with its code, or the handler instead.
TEST(ComPort, DriverFailuresGiveTheirErrorCodes) {
  struct Case {
    TCommCall call;
    int code;
    std::function<void(TComPort&)> action;
  } cases[] = {
      {TCommCall::SetState, 7, [](TComPort& p) { p.SetBaudRate(p.BaudRate() == br19200 ? br38400 : br19200); }},
      {TCommCall::SetTimeouts, 8, [](TComPort& p) { p.Timeouts()->SetReadTotalConstant(p.Timeouts()->ReadTotalConstant() + 1); }},
      {TCommCall::SetupComm, 9, [](TComPort& p) { p.Buffer()->SetInputSize(p.Buffer()->InputSize() + 2); }},
      {TCommCall::ClearError, 10, [](TComPort& p) { p.InputCount(); }},
      {TCommCall::ModemStatus, 11, [](TComPort& p) { p.Signals(); }},
      {TCommCall::Escape, 12, [](TComPort& p) { p.SetDTR(true); }},
      {TCommCall::TransmitChar, 13, [](TComPort& p) { p.TransmitChar(u'A'); }},
      {TCommCall::Purge, 5, [](TComPort& p) { p.ClearBuffer(true, false); }},
      {TCommCall::Write, 2, [](TComPort& p) { p.WriteStr(u"x"); }},
      {TCommCall::Read, 3, [](TComPort& p) { String s; p.ReadStr(s, 1); }},
      {TCommCall::GetResult, 6, [](TComPort& p) {
         PAsync a = nullptr;
         CreateAsyncRecord(a);
         TScopeGuard free([&] { DestroyAsyncRecord(a); });
         a->Overlapped.Internal = ERROR_IO_PENDING;
         p.IsAsyncCompleted(a);
       }},
  };
  for (auto& c : cases) {
    FakePort f(u"fakeErrors", {});
    f.port.Open();
    f.dev.Fail(c.call, EIO);
    int win = 0;
    EXPECT_EQ(CodeOf([&] { c.action(f.port); }, &win), c.code) << c.code;
    EXPECT_EQ(win, EIO) << c.code;
    int reported = 0;
    f.port.OnException = [&](TObject*, TComExceptions k, const String& m, int64_t w, const String&) {
      reported = k + 1;
      EXPECT_EQ(m, ComErrorMessages[k]);
      EXPECT_EQ(w, EIO);
    };
    EXPECT_EQ(CodeOf([&] { c.action(f.port); }), 0) << c.code;
    EXPECT_EQ(reported, c.code);
    f.dev.Fail(c.call, 0);
    f.port.OnException = nullptr;
    f.port.Close();
  }
}

TEST(ComPort, AFailingModemReadDuringOpenLeavesThePortOpenWithLinesOff) {
  FakePort f(u"fakeModemFail");
  f.dev.Fail(TCommCall::ModemStatus, EIO);
  bool cts = true;
  f.port.OnCTSChange = [&](TObject*, bool on) { cts = on; };
  f.port.Open();
  EXPECT_TRUE(f.port.Connected());
  EXPECT_FALSE(cts);
  f.port.Close();
}

TEST(ComPort, SettingsApplyOnlyToAnOpenPortAndOnceAfterAnUpdateBracket) {
  FakePort f(u"fakeApply", {});
  f.port.SetBaudRate(br19200);  // closed: stored only
  EXPECT_TRUE(f.dev.Calls().empty());
  f.port.Open();
  EXPECT_EQ(f.dev.LastState().BaudRate, 19200u);
  EXPECT_EQ(f.dev.LastState().XonLim, 256);
  f.dev.ClearCalls();
  f.port.SetBaudRate(br19200);
  EXPECT_TRUE(f.dev.Calls().empty());
  f.port.BeginUpdate();
  f.port.SetBaudRate(br38400);
  f.port.SetDataBits(dbSeven);
  f.port.Parity()->SetBits(prEven);
  f.port.Timeouts()->SetReadInterval(10);
  f.port.Buffer()->SetInputSize(1025);
  EXPECT_TRUE(f.dev.Calls().empty());
  f.port.EndUpdate();
  EXPECT_EQ(f.dev.Calls(), (std::vector<std::string>{"SetupComm", "SetState", "SetTimeouts"}));
  EXPECT_EQ(f.port.Buffer()->InputSize(), 1024);
  EXPECT_EQ(f.dev.LastState().ByteSize, 7);
  f.dev.ClearCalls();
  f.port.EndUpdate();  // unbalanced: nothing
  EXPECT_TRUE(f.dev.Calls().empty());
  // Range rules are checked before the driver is called.
  EXPECT_THROW(f.port.Timeouts()->SetReadTotalConstant(-2), ERangeError);
  f.port.Close();
}

TEST(ComPort, ImpossibleLineSettingsAreReportedAndLeaveTheLineAlone) {
  FakePort f(u"fakeBadLine", {});
  f.port.Open();
  int win = 0;
  EXPECT_EQ(CodeOf([&] { f.port.SetStopBits(sbOne5StopBits); }, &win), 7);
  EXPECT_EQ(win, EINVAL);
  EXPECT_EQ(f.dev.LastState().StopBits, ONESTOPBIT);
  f.port.Close();
}

TEST(ComPort, PortChangeReopensAndSyncMethodIsFixedWhileOpen) {
  TFakeCommDevice other(u"fakeOther");
  FakePort f(u"fakeFirst", {});
  std::vector<std::string> log;
  f.port.OnBeforeClose = [&](TObject*) { log.push_back("BeforeClose"); };
  f.port.OnAfterClose = [&](TObject*) { log.push_back("AfterClose"); };
  f.port.OnBeforeOpen = [&](TObject*) { log.push_back("BeforeOpen"); };
  f.port.OnAfterOpen = [&](TObject*) { log.push_back("AfterOpen"); };
  f.port.Open();
  log.clear();
  f.port.SetPort(u"fakeFirst");
  EXPECT_TRUE(log.empty());
  f.port.SetPort(u"fakeOther");
  EXPECT_EQ(log, (std::vector<std::string>{"BeforeClose", "AfterClose", "BeforeOpen", "AfterOpen"}));
  EXPECT_TRUE(other.IsOpen());
  EXPECT_FALSE(f.dev.IsOpen());
  EXPECT_EQ(CodeOf([&] { f.port.SetSyncMethod(smNone); }), 14);
  EXPECT_EQ(CodeOf([&] { f.port.SetSyncMethod(smWindowSync); }), 0);
  f.port.Close();
}

TEST(ComPort, FlowControlPresets) {
  TComPort port(nullptr);
  TComFlowControl& fc = *port.FlowControl();
  fc.SetControlRTS(rtsHandshake);
  fc.SetOutCTSFlow(true);
  fc.SetControlDTR(dtrEnable);
  EXPECT_EQ(fc.FlowControl(), fcHardware);
  fc.SetFlowControl(fcSoftware);
  EXPECT_EQ(fc.ControlRTS(), rtsDisable);
  EXPECT_TRUE(fc.XonXoffIn() && fc.XonXoffOut() && !fc.OutCTSFlow());
  fc.SetFlowControl(fcNone);
  EXPECT_EQ(fc.FlowControl(), fcNone);
  fc.SetControlRTS(rtsEnable);
  EXPECT_EQ(fc.FlowControl(), fcCustom);
  fc.SetFlowControl(fcCustom);
  EXPECT_EQ(fc.ControlRTS(), rtsEnable);
}

// ---- Line events from the scripted device ------------------------------------------------------

TEST(ComPort, LineEventsArriveInTheFixedOrder) {
  FakePort f(u"fakeOrder");
  f.port.Parity()->SetCheck(true);
  f.port.Parity()->SetBits(prEven);
  std::vector<std::string> log;
  f.port.OnError = [&](TObject*, TComErrors e) {
    log.push_back(e.Contains(ceRxParity) ? "Error(parity)" : "Error");
  };
  f.port.OnRxChar = [&](TObject*, int n) {
    String s;
    f.port.ReadStr(s, n);
    log.push_back("RxChar");
  };
  f.port.OnBreak = [&](TObject*) { log.push_back("Break"); };
  f.port.OnCTSChange = [&](TObject*, bool on) { log.push_back(on ? "CTS on" : "CTS off"); };
  f.port.OnRing = [&](TObject*) { log.push_back("Ring"); };
  f.port.Open();
  log.clear();
  f.dev.SendParityError('q');
  ASSERT_TRUE(Pump([&] { return log.size() >= 2; }));
  EXPECT_EQ(log, (std::vector<std::string>{"Error(parity)", "RxChar"}));
  log.clear();
  f.dev.SendBreak();
  ASSERT_TRUE(Pump([&] { return !log.empty(); }));
  EXPECT_EQ(log, std::vector<std::string>{"Break"});
  log.clear();
  f.dev.SetModemInputs(TIOCM_CTS | TIOCM_RI);
  ASSERT_TRUE(Pump([&] { return log.size() >= 2; }));
  EXPECT_EQ(log, (std::vector<std::string>{"Ring", "CTS on"}));
  f.port.Close();
}

TEST(ComPort, ParityErrorsWithoutCheckingFireNothing) {
  FakePort f(u"fakeNoCheck", {evError, evRxChar});
  f.port.Parity()->SetBits(prEven);
  bool fired = false;
  String received;
  f.port.OnError = [&](TObject*, TComErrors) { fired = true; };
  f.port.OnRxChar = [&](TObject*, int n) {
    String s;
    f.port.ReadStr(s, n);
    received += s;
  };
  f.port.Open();
  f.dev.SendParityError('q');
  // With checking on, the error event comes before the character's: once the character is
  // here, an error event would have been seen.
  ASSERT_TRUE(Pump([&] { return received.find(u'q') != String::npos; }));
  PumpFor(50);
  EXPECT_FALSE(fired);
  f.port.Close();
}


// A line error that arrives while the receive handler asks for the byte count is taken from
// the driver by that count query; it must still reach OnError, and only once.
TEST(ComPort, ALineErrorTakenByTheCountQueryIsStillReportedOnce) {
  struct Case {
    const char* Name;
    std::function<void(TFakeCommDevice&)> Cause;
    TComError Expected;
  };
  const Case cases[] = {
      {"overrun", [](TFakeCommDevice& d) { d.AddOverrun(); }, ceOverrun},
      {"framing", [](TFakeCommDevice& d) { d.SendFramingError('z'); }, ceFrame},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    FakePort f(u"fakeErrUnderLoad", {evRxChar, evError});
    std::vector<TComErrors> errors;
    int rxEvents = 0;
    bool caused = false;
    f.port.OnError = [&](TObject*, TComErrors e) { errors.push_back(e); };
    f.port.OnRxChar = [&](TObject*, int n) {
      ++rxEvents;
      String s;
      f.port.ReadStr(s, n);
      if (caused) return;
      caused = true;
      // The error comes in while this handler runs; the count query finds its byte.
      c.Cause(f.dev);
      auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
      while (f.port.InputCount() == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    f.port.Open();
    f.dev.Send("a");
    ASSERT_TRUE(Pump([&] { return !errors.empty(); })) << "the error was lost";
    // Later traffic does not report it again.
    int before = rxEvents;
    f.dev.Send("b");
    ASSERT_TRUE(Pump([&] { return rxEvents > before; }));
    PumpFor(50);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].Contains(c.Expected));
    f.port.Close();
  }
}
TEST(ComPort, ReceiveByTheLinkOrByThePort) {
  FakePort f(u"fakeLinks", {evRxChar});
  TComLink link;
  std::string linkBytes, portBytes;
  int rxChar = 0;
  f.port.OnRxChar = [&](TObject*, int n) { rxChar += n; };
  f.port.OnRxBuf = [&](TObject*, const void* b, int n) { portBytes.append(static_cast<const char*>(b), n); };
  link.OnRxBuf = [&](TObject*, const void* b, int n) { linkBytes.append(static_cast<const char*>(b), n); };
  f.port.RegisterLink(&link);
  EXPECT_EQ(CodeOf([&] { f.port.RegisterLink(&link); }), 18);
  EXPECT_FALSE(f.port.TriggersOnRxChar());
  EXPECT_EQ(CodeOf([&] { f.port.SetTriggersOnRxChar(true); }), 22);
  f.port.Open();
  f.dev.Send("hello");
  ASSERT_TRUE(Pump([&] { return linkBytes.size() == 5; }));
  EXPECT_EQ(portBytes, "hello");
  EXPECT_EQ(rxChar, 0);
  f.port.UnRegisterLink(&link);
  EXPECT_EQ(CodeOf([&] { f.port.UnRegisterLink(&link); }), 18);
  EXPECT_TRUE(f.port.TriggersOnRxChar());
  f.port.Close();
}

TEST(ComPort, WaitForEvent) {
  FakePort f(u"fakeWait", {});
  f.port.Open();
  TComEvents ev{evRxChar};
  f.port.WaitForEvent(ev, nullptr, 0);
  EXPECT_TRUE(ev.Empty());
  // Only what happens during the wait is its event: the byte comes once the wait is in place.
  f.dev.ClearCalls();
  std::thread peer([&] {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!HasCall(f.dev, "WaitEvent") && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    f.dev.Send("x");
  });
  ev = {evRxChar};
  f.port.WaitForEvent(ev, nullptr, 20000);
  peer.join();
  EXPECT_TRUE(ev.Contains(evRxChar));
  f.port.Close();

  FakePort g(u"fakeWait2", {evRxChar});
  g.port.Open();
  // The event thread's own wait reaches the device too; only once it is in place is the
  // device quiet.
  ASSERT_TRUE(Pump([&] { return HasCall(g.dev, "WaitEvent"); }));
  g.dev.ClearCalls();
  EXPECT_EQ(CodeOf([&] { g.port.WaitForEvent(ev, nullptr, 0); }), 20);
  EXPECT_TRUE(g.dev.Calls().empty());
  g.port.Close();
}

TEST(ComPort, ModemLinesAndOutputs) {
  FakePort f(u"fakeLines", {evCTS, evDSR});
  f.dev.SetModemInputs(TIOCM_DSR | TIOCM_CD);
  bool dsr = false;
  f.port.OnDSRChange = [&](TObject*, bool on) { dsr = on; };
  f.port.Open();
  EXPECT_TRUE(dsr);
  EXPECT_EQ(f.port.Signals(), (TComSignals{csDSR, csRLSD}));
  f.port.SetDTR(true);
  f.port.SetRTS(true);
  EXPECT_EQ(f.dev.ModemOutputs(), TIOCM_DTR | TIOCM_RTS);
  f.port.SetXonXoff(false);
  EXPECT_TRUE(f.dev.OutputSuspended());
  EXPECT_TRUE(f.port.StateFlags().Contains(fXoffHold));
  f.port.SetXonXoff(true);
  f.port.SetBreak(true);
  EXPECT_TRUE(f.dev.BreakOn());
  f.dev.SetModemInputs(0);
  ASSERT_TRUE(Pump([&] { return !dsr; }));
  f.port.Close();
}

// ---- Settings store, texts and port list ---------------------------------------------------------

void SetUnusual(TComPort& p) {
  p.SetPort(u"ttyUSB3");
  p.SetBaudRate(brCustom);
  p.SetCustomBaudRate(31250);
  p.SetStopBits(sbTwoStopBits);
  p.SetDataBits(dbSeven);
  p.Parity()->SetBits(prMark);
  p.Parity()->SetCheck(true);
  p.Parity()->SetReplaceChar(u'?');
  p.SetEventChar(u'\n');
  p.SetDiscardNull(true);
  p.Buffer()->SetInputSize(4096);
  p.Buffer()->SetOutputSize(512);
  p.Timeouts()->SetReadInterval(7);
  p.Timeouts()->SetWriteTotalConstant(250);
  p.FlowControl()->SetControlDTR(dtrHandshake);
  p.FlowControl()->SetControlRTS(rtsToggle);
  p.FlowControl()->SetOutDSRFlow(true);
  p.FlowControl()->SetXonChar(200);
}

void ExpectSame(TComPort& a, TComPort& b, TStoredProps groups) {
  if (groups.Contains(spBasic)) {
    EXPECT_EQ(a.Port(), b.Port());
    EXPECT_EQ(a.BaudRate(), b.BaudRate());
    EXPECT_EQ(a.CustomBaudRate(), b.CustomBaudRate());
    EXPECT_EQ(a.StopBits(), b.StopBits());
    EXPECT_EQ(a.DataBits(), b.DataBits());
    EXPECT_EQ(a.Parity()->Bits(), b.Parity()->Bits());
  }
  if (groups.Contains(spOthers)) {
    EXPECT_EQ(a.EventChar(), b.EventChar());
    EXPECT_EQ(a.DiscardNull(), b.DiscardNull());
  }
  if (groups.Contains(spParity)) {
    EXPECT_EQ(a.Parity()->Check(), b.Parity()->Check());
    EXPECT_EQ(a.Parity()->ReplaceChar(), b.Parity()->ReplaceChar());
  }
  if (groups.Contains(spBuffer)) {
    EXPECT_EQ(a.Buffer()->InputSize(), b.Buffer()->InputSize());
    EXPECT_EQ(a.Buffer()->OutputSize(), b.Buffer()->OutputSize());
  }
  if (groups.Contains(spTimeouts)) {
    EXPECT_EQ(a.Timeouts()->ReadInterval(), b.Timeouts()->ReadInterval());
    EXPECT_EQ(a.Timeouts()->WriteTotalConstant(), b.Timeouts()->WriteTotalConstant());
  }
  if (groups.Contains(spFlowControl)) {
    EXPECT_EQ(a.FlowControl()->ControlDTR(), b.FlowControl()->ControlDTR());
    EXPECT_EQ(a.FlowControl()->ControlRTS(), b.FlowControl()->ControlRTS());
    EXPECT_EQ(a.FlowControl()->OutDSRFlow(), b.FlowControl()->OutDSRFlow());
    EXPECT_EQ(a.FlowControl()->XonChar(), b.FlowControl()->XonChar());
  }
}

TEST(ComPortStore, RoundTripsEachGroupThroughIniAndRegistry) {
  TempFolder dir;
  ::setenv("XDG_CONFIG_HOME", dir.File("config").c_str(), 1);
  for (TStoredProp g : {spBasic, spOthers, spParity, spBuffer, spTimeouts, spFlowControl}) {
    for (TStoreType t : {stIniFile, stRegistry}) {
      TComPort a(nullptr), b(nullptr);
      a.SetName(u"ComPort1");
      b.SetName(u"ComPort1");
      SetUnusual(a);
      a.SetStoredProps({g});
      b.SetStoredProps({g});
      String where = t == stIniFile ? dir.FileS("settings.ini") : String(u"HKEY_CURRENT_USER\\Software\\Tool");
      a.StoreSettings(t, where);
      b.LoadSettings(t, where);
      ExpectSame(a, b, {g});
    }
  }
  // The application's groups hold just the basic keys.
  TComPort app(nullptr);
  app.SetName(u"ComPort1");
  app.SetPort(u"COM1");
  app.SetBaudRate(br19200);
  app.FlowControl()->SetFlowControl(fcHardware);
  String file = dir.FileS("app.ini");
  app.StoreSettings(stIniFile, file);
  TMemIniFile ini(file);
  TStringList keys;
  ini.ReadSectionValues(u"ComPort1", &keys);
  const char16_t* expected[] = {u"Port=COM1", u"BaudRate=19200", u"StopBits=1", u"DataBits=8", u"Parity=None",
                                u"FlowControl=Hardware"};
  ASSERT_EQ(keys.Count(), 6);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(keys[i], expected[i]);
}

TEST(ComPortStore, MissingKeysKeepValuesAndUnknownTextsTakeTheirFallback) {
  TempFolder dir;
  String file = dir.FileS("s.ini");
  {
    std::ofstream(StringToUTF8(file)) << "[ComPort1]\nBaudRate=19200\nFlowControl=hardware\n";
  }
  TComPort p(nullptr);
  p.SetName(u"ComPort1");
  p.SetStoredProps({spBasic, spFlowControl});
  p.FlowControl()->SetOutDSRFlow(true);
  p.SetDataBits(dbSeven);
  p.LoadSettings(stIniFile, file);
  EXPECT_EQ(p.BaudRate(), br19200);
  EXPECT_EQ(p.DataBits(), dbSeven);
  EXPECT_EQ(p.FlowControl()->FlowControl(), fcHardware);
  EXPECT_TRUE(p.FlowControl()->OutDSRFlow());

  // An open port moves to the file's device with the whole of the file's line settings;
  // each text that names no value takes its fallback.
  TFakeCommDevice devA(u"fakeLoadA"), devB(u"fakeLoadB");
  p.SetPort(u"fakeLoadA");
  p.SetEvents({});
  p.Open();
  {
    std::ofstream(StringToUTF8(file))
        << "[ComPort1]\nPort=fakeLoadB\nBaudRate=abc\nStopBits=x\nDataBits=5\nParity=Even\n"
           "FlowControl.ControlRTS=sideways\nFlowControl.XonXoffOut=Yes\n";
  }
  EXPECT_EQ(CodeOf([&] { p.LoadSettings(stIniFile, file); }), 0);
  EXPECT_EQ(p.Port(), u"fakeLoadB");
  EXPECT_EQ(p.BaudRate(), br9600);
  EXPECT_EQ(p.StopBits(), sbOneStopBit);
  EXPECT_EQ(p.DataBits(), dbFive);
  EXPECT_EQ(p.Parity()->Bits(), prEven);
  EXPECT_EQ(p.FlowControl()->ControlRTS(), rtsDisable);
  EXPECT_TRUE(p.FlowControl()->XonXoffOut());
  EXPECT_FALSE(devA.IsOpen());
  ASSERT_TRUE(devB.IsOpen());
  DCB line = devB.LastState();
  EXPECT_EQ(line.BaudRate, 9600u);
  EXPECT_EQ(line.ByteSize, 5);
  EXPECT_EQ(line.StopBits, ONESTOPBIT);
  EXPECT_EQ(line.Parity, EVENPARITY);
  EXPECT_EQ(line.fRtsControl, RTS_CONTROL_DISABLE);
  EXPECT_EQ(line.fOutX, 1u);

  // Settings the driver refuses as a whole (1.5 stop bits with 8 data bits) are error 17,
  // and the port stays on its device with its line as it was.
  {
    std::ofstream(StringToUTF8(file)) << "[ComPort1]\nPort=fakeLoadA\nStopBits=1.5\nDataBits=8\n";
  }
  EXPECT_EQ(CodeOf([&] { p.LoadSettings(stIniFile, file); }), 17);
  EXPECT_EQ(p.Port(), u"fakeLoadB");
  EXPECT_TRUE(p.Connected());
  EXPECT_TRUE(devB.IsOpen());
  EXPECT_FALSE(devA.IsOpen());
  EXPECT_EQ(p.StopBits(), sbOneStopBit);
  EXPECT_EQ(p.DataBits(), dbFive);
  EXPECT_EQ(devB.LastState().ByteSize, 5);
  p.Close();

  // Storing to a registry path without a backslash fails.
  EXPECT_EQ(CodeOf([&] { p.StoreSettings(stRegistry, u"NoBackslash"); }), 16);
}

TEST(ComPortTexts, ConversionsAndFallbacks) {
  EXPECT_EQ(StrToBaudRate(u"custom"), brCustom);
  EXPECT_EQ(StrToBaudRate(u"abc"), br9600);
  EXPECT_EQ(BaudRateToStr(br19200), u"19200");
  EXPECT_EQ(StrToStopBits(u"1.5"), sbOne5StopBits);
  EXPECT_EQ(StrToFlowControl(u"xyz"), fcCustom);
  EXPECT_EQ(StrToRTS(u"TOGGLE"), rtsToggle);
  EXPECT_TRUE(TextToBool(u"yes"));
  EXPECT_FALSE(TextToBool(u"1"));
  struct { Char ch; const char16_t* text; } chars[] = {{17, u"#17"}, {u'$', u"$"}, {u'A', u"A"}, {0, u"#0"},
                                                        {32, u"#32"}, {200, u"#200"}};
  for (auto c : chars) {
    EXPECT_EQ(CharToText(c.ch), c.text);
    EXPECT_EQ(TextToChar(c.text), c.ch);
  }
  EXPECT_EQ(TextToChar(u"#x"), 0);
  EXPECT_EQ(TextToChar(u"#300"), 44);
  EXPECT_EQ(TextToChar(u""), 0);
}

TEST(ComPortList, FromSysfsAndSerialById) {
  TempFolder dir;
  auto mk = [&](const std::string& p) { std::filesystem::create_directories(dir.File(p)); };
  mk("sys/class/tty/ttyS0/device");
  dir.Write("sys/class/tty/ttyS0/type", "0\n");
  mk("sys/class/tty/ttyS1/device");
  dir.Write("sys/class/tty/ttyS1/type", "4\n");
  mk("sys/class/tty/ttyUSB0/device");
  mk("sys/class/tty/tty0");
  mk("dev/serial/by-id");
  std::filesystem::create_symlink("../../ttyACM0", dir.File("dev/serial/by-id/usb-Maker_Dongle-if00"));
  SetComPortsRoot(UTF8ToString(dir.Path()));
  TStringList list;
  list.Add(u"stale");
  EnumComPorts(&list);
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list[0], u"ttyACM0");
  EXPECT_EQ(list[1], u"ttyS1");
  EXPECT_EQ(list[2], u"ttyUSB0");
  TComPort p(nullptr);
  EXPECT_EQ(p.Port(), u"ttyACM0");
  // With no source to read the list stays as it was.
  SetComPortsRoot(dir.FileS("empty"));
  EnumComPorts(&list);
  EXPECT_EQ(list.Count(), 3);
  TComPort q(nullptr);
  EXPECT_EQ(q.Port(), u"/dev/ttyS0");
  SetComPortsRoot(u"/");
}

}  // namespace
