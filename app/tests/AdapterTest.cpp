// The adapter connection of a network model, against a fake adapter on loopback. The model
// table has no network model: each test adds a list row whose name holds "LAN".
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "MainWindowFixture.h"
#include "app/CHPlan.h"
#include "app/IPSetting1.h"

namespace {

using Clock = std::chrono::steady_clock;

// A TCP server on 127.0.0.1 that takes one connection and answers each 9-byte pin command as
// its mode says. Every wait is bounded; the destructor stops it.
class FakeAdapter {
public:
  enum Mode { Reply, Silent, Endless, ResetOnCommand, CloseOnCommand };

  explicit FakeAdapter(Mode M, std::vector<uint8_t> Answer = {}) : mode_(M), answer_(std::move(Answer)) {
    listen_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listen_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    listen(listen_, 4);
    socklen_t len = sizeof a;
    getsockname(listen_, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ntohs(a.sin_port);
    thread_ = std::thread([this] { Run(); });
  }
  ~FakeAdapter() {
    stop_ = true;
    thread_.join();
    close(listen_);
  }
  int Port() const { return port_; }
  int Accepted() const { return accepted_; }
  std::vector<uint8_t> Received() {
    std::lock_guard<std::mutex> lock(mu_);
    return received_;
  }

private:
  bool Readable(int fd, int ms) {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, ms) > 0;
  }
  void Run() {
    int fd = -1;
    while (!stop_ && fd < 0)
      if (Readable(listen_, 20)) fd = accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) return;
    ++accepted_;
    size_t answered = 0;
    const std::vector<uint8_t> stream(4096, 0x55);
    while (!stop_) {
      if (mode_ == Endless) send(fd, stream.data(), stream.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
      if (!Readable(fd, mode_ == Endless ? 1 : 20)) continue;
      uint8_t buf[256];
      ssize_t n = recv(fd, buf, sizeof buf, 0);
      if (n <= 0) break;
      std::lock_guard<std::mutex> lock(mu_);
      received_.insert(received_.end(), buf, buf + n);
      for (; received_.size() >= answered + 9; answered += 9) {
        if (mode_ == Reply) send(fd, answer_.data(), answer_.size(), MSG_NOSIGNAL);
        if (mode_ == ResetOnCommand) {
          linger l{1, 0};  // closing now sends a reset
          setsockopt(fd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
        }
        if (mode_ == ResetOnCommand || mode_ == CloseOnCommand) {
          close(fd);
          fd = -1;
          break;
        }
      }
      if (fd < 0) break;
    }
    if (fd >= 0) close(fd);
    // Stay listening-only until the end: nothing more is accepted.
    while (!stop_) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }

  Mode mode_;
  std::vector<uint8_t> answer_;
  int listen_ = -1;
  int port_ = 0;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::atomic<int> accepted_{0};
  std::mutex mu_;
  std::vector<uint8_t> received_;
};

const std::vector<uint8_t> PinOff = {0x1B, 0x02, 0, 0, 0, 0x00, 0, 0, 0};
const std::vector<uint8_t> PinOn = {0x1B, 0x02, 0, 0, 0, 0x02, 0, 0, 0};
const String Connected = u"XPortが接続されました";
const String Received = u"XPortからデータを受信しました";

class AdapterTest : public MainWindowTest {
protected:
  // Starts the tool with the adapter's port in the settings, adds a network model to the list
  // and chooses it.
  void StartWithNetworkModel(int AdapterPort) {
    SettingsText += "PortNumber=" + std::to_string(AdapterPort) + "\r\n";
    Start();
    AcknowledgeNotice();
    M()->ComboBox5->Items()->Add(u"RCV910X-LAN  426MHz");
    ModelRows.push_back(0);
    ChooseModel(2);
    ASSERT_EQ(M()->LinkMode, u"TCP/IP");
  }
  // Presses the port button and answers the IP-setting window with Address and OK.
  void OpenThroughAdapter(const String& Address) {
    M()->ComPort1->SetPort(UTF8ToString(Sim->Path()));
    OnNextModal([Address](const String&) {
      TCustomEdit* edit = IPSettingForm1->LabeledEdit4;
      edit->SetFocus();
      edit->SetText(String());
      SimulateTyping(edit, Address);
      SimulateClick(IPSettingForm1->SpeedButton1, 10, 10);
    });
    Click(M()->VrDemoButton3);
  }
  std::vector<String> Lines() const {
    std::vector<String> out;
    TStrings* l = M()->Memo1->Lines();
    for (int i = 0; i < l->Count(); ++i) out.push_back(l->Strings(i));
    return out;
  }
  // The lines from the first one equal to From, Count of them.
  std::vector<String> LinesFrom(const String& From, size_t Count, size_t Skip = 0) const {
    std::vector<String> all = Lines();
    for (size_t i = 0; i < all.size(); ++i)
      if (all[i] == From) {
        if (Skip--) continue;
        return std::vector<String>(all.begin() + static_cast<long>(i),
                                   all.begin() + static_cast<long>(std::min(all.size(), i + Count)));
      }
    return {};
  }
};

std::vector<String> Repeat(const String& Line, size_t Count) { return std::vector<String>(Count, Line); }

}  // namespace

// Connecting shows the empty reply buffer (the adapter says nothing), the pin command that
// drives the line off goes out as 9 bytes, and its 5-byte reply shows byte by byte after one
// "received" line; driving it on sends the on value; closing disconnects.
TEST_F(AdapterTest, PinCommandsGoOutWhole_AndTheReplyShowsByteByByte) {
  FakeAdapter adapter(FakeAdapter::Reply, {0x1B, 0, 0, 0, 0});
  StartWithNetworkModel(adapter.Port());
  OpenThroughAdapter(u"127.0.0.1");
  ASSERT_TRUE(M()->ComPort1->Connected());
  ASSERT_TRUE(M()->TcpClient1->Connected());
  EXPECT_EQ(adapter.Received(), PinOff);

  std::vector<String> expected = {Connected};
  for (const String& l : Repeat(u"00  0", 10)) expected.push_back(l);
  expected.push_back(Received);
  expected.push_back(u"1B  27");
  for (const String& l : Repeat(u"00  0", 4)) expected.push_back(l);
  EXPECT_EQ(LinesFrom(Connected, 17), expected);

  M()->SetControlLine(true);
  std::vector<uint8_t> both = PinOff;
  both.insert(both.end(), PinOn.begin(), PinOn.end());
  EXPECT_EQ(adapter.Received(), both);
  // One "received" line per receive: the second reply came in one piece.
  std::vector<String> second = LinesFrom(Received, 6, 1);
  ASSERT_EQ(second.size(), 6u);
  EXPECT_EQ(second[1], u"1B  27");

  Click(M()->VrDemoButton3);  // close: the line off once more, then the adapter goes
  EXPECT_FALSE(M()->ComPort1->Connected());
  EXPECT_FALSE(M()->TcpClient1->Connected());
  EXPECT_EQ(adapter.Received().size(), 27u);
  EXPECT_EQ(Lines().back(), u"XPort切断されました");
  EXPECT_FALSE(Application->Terminated());
}

// A silent adapter: each drain ends 500 ms after it started waiting, and the lines show what
// the buffer held before.
TEST_F(AdapterTest, SilentAdapterEndsEachDrainAfterHalfASecondShowingTheOldBuffer) {
  FakeAdapter adapter(FakeAdapter::Silent);
  StartWithNetworkModel(adapter.Port());
  OpenThroughAdapter(u"127.0.0.1");
  ASSERT_TRUE(M()->TcpClient1->Connected());
  M()->AdapterReply = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  const size_t before = Lines().size();
  auto start = Clock::now();
  M()->SetControlLine(false);
  auto took = Clock::now() - start;
  EXPECT_GE(took, std::chrono::milliseconds(450));
  EXPECT_LT(took, std::chrono::milliseconds(1500));
  std::vector<String> all = Lines();
  EXPECT_EQ(std::vector<String>(all.begin() + static_cast<long>(before), all.end()),
            (std::vector<String>{u"01  1", u"02  2", u"03  3", u"04  4", u"05  5"}));
}

// An adapter that never stops sending: each drain is cut off after 2 s and shows the last
// chunk it read.
TEST_F(AdapterTest, EndlessSenderIsCutOffAfterTwoSeconds) {
  FakeAdapter adapter(FakeAdapter::Endless);
  StartWithNetworkModel(adapter.Port());
  auto start = Clock::now();
  OpenThroughAdapter(u"127.0.0.1");
  auto took = Clock::now() - start;
  ASSERT_TRUE(M()->TcpClient1->Connected());
  EXPECT_GE(took, std::chrono::milliseconds(3900));  // two drains of 2 s
  EXPECT_LT(took, std::chrono::milliseconds(8000));
  // The monitor clears itself as the "received" lines pile up; the end shows the last chunk.
  std::vector<String> all = Lines();
  ASSERT_GE(all.size(), 6u);
  EXPECT_EQ(std::vector<String>(all.end() - 6, all.end()),
            (std::vector<String>{Received, u"55  85", u"55  85", u"55  85", u"55  85", u"55  85"}));
  EXPECT_EQ(adapter.Received(), PinOff);
}

TEST_F(AdapterTest, NormalModelMakesNoSocketTraffic) {
  FakeAdapter adapter(FakeAdapter::Reply, {0x1B, 0, 0, 0, 0});
  SettingsText += "PortNumber=" + std::to_string(adapter.Port()) + "\r\n";
  StartConnected();
  EXPECT_EQ(M()->LinkMode, u"Normal");
  Click(M()->VrDemoButton3);
  EXPECT_FALSE(M()->ComPort1->Connected());
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(adapter.Accepted(), 0);
  EXPECT_FALSE(M()->TcpClient1->Active());
  for (const String& l : Lines()) EXPECT_EQ(l.find(u"XPort"), String::npos) << StringToUTF8(l);
}

// Any socket failure: the network-error notice with its two texts, and the application is
// told to end (each case in a child process of its own, since the end request stays).
TEST_F(AdapterTest, SocketErrorsShowTheNetworkNoticeAndEndTheApplication) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  struct Case {
    const char* name;
    FakeAdapter::Mode mode;
    const char16_t* address;
    bool refused;
  };
  // A failed connect: the port still opens, and the pin command then fails on the closed
  // socket, so the notice is up at the end whichever call failed.
  const Case cases[] = {
      {"reset mid-drain", FakeAdapter::ResetOnCommand, u"127.0.0.1", false},
      {"closed mid-drain", FakeAdapter::CloseOnCommand, u"127.0.0.1", false},
      {"refused", FakeAdapter::Silent, u"127.0.0.1", true},
      {"no address", FakeAdapter::Silent, u"not an address.invalid", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EXIT(
        {
          ::alarm(60);
          int port;
          std::unique_ptr<FakeAdapter> adapter = std::make_unique<FakeAdapter>(c.mode);
          port = adapter->Port();
          if (c.refused) adapter.reset();  // nothing listens there any more
          StartWithNetworkModel(port);
          auto start = Clock::now();
          OpenThroughAdapter(c.address);
          const bool quick = Clock::now() - start < std::chrono::seconds(8);
          const bool notice = Caution2Form->Showing() &&
                              Caution2Form->Label1->Caption() == u" ﾈｯﾄﾜｰｸｴﾗｰが発生しました!! " &&
                              Caution2Form->Label2->Caption() == u" ｱﾌﾟﾘｹｰｼｮﾝを終了します｡ ";
          // The verdict leaves at once: the tool is not torn down in the child.
          ::_exit(!quick ? 2 : !notice ? 3 : !Application->Terminated() ? 4 : 0);
        },
        ::testing::ExitedWithCode(0), "");
  }
}
