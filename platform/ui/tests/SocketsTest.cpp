#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Sockets.h"

namespace {

// A listening socket on 127.0.0.1 with an ephemeral port.
class LoopbackServer {
public:
  explicit LoopbackServer(int backlog = 4) {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    listen(fd_, backlog);
    socklen_t len = sizeof a;
    getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ntohs(a.sin_port);
  }
  ~LoopbackServer() {
    if (peer_ >= 0) close(peer_);
    if (fd_ >= 0) close(fd_);
  }
  String Port() const { return UTF8ToString(std::to_string(port_)); }
  void Accept() {
    pollfd p{fd_, POLLIN, 0};
    ASSERT_EQ(poll(&p, 1, 10000), 1);
    peer_ = accept(fd_, nullptr, nullptr);
    ASSERT_GE(peer_, 0);
  }
  void Send(const std::string& bytes) { ASSERT_EQ(send(peer_, bytes.data(), bytes.size(), 0), ssize_t(bytes.size())); }
  std::string Receive(size_t count) {
    std::string out;
    while (out.size() < count) {
      pollfd p{peer_, POLLIN, 0};
      if (poll(&p, 1, 10000) != 1) break;
      char buf[64];
      ssize_t n = recv(peer_, buf, std::min(sizeof buf, count - out.size()), 0);
      if (n <= 0) break;
      out.append(buf, size_t(n));
    }
    return out;
  }
  void ClosePeer() { close(peer_); peer_ = -1; }
  void CloseListener() { close(fd_); fd_ = -1; }

private:
  int fd_ = -1;
  int peer_ = -1;
  uint16_t port_ = 0;
};

struct Recorder {
  std::vector<std::string> events;
  void Attach(TTcpClient& c) {
    c.OnConnect = [this](TObject*) { events.push_back("connect"); };
    c.OnDisconnect = [this](TObject*) { events.push_back("disconnect"); };
    c.OnSend = [this](TObject*, char*, int& n) { events.push_back("send " + std::to_string(n)); };
    c.OnReceive = [this](TObject*, char* buf, int& n) { events.push_back("receive " + std::string(buf, size_t(n))); };
    c.OnError = [this](TObject*, int code) { events.push_back("error " + std::to_string(code)); };
  }
};

TEST(TcpClient, ConnectSendReceiveAndDisconnectFireEventsInsideTheCalls) {
  LoopbackServer server;
  TTcpClient client(nullptr);
  Recorder rec;
  rec.Attach(client);
  client.SetRemoteHost(u"127.0.0.1");
  client.SetRemotePort(server.Port());
  client.SetActive(true);
  EXPECT_TRUE(client.Active());
  EXPECT_FALSE(client.Connected());

  ASSERT_TRUE(client.Connect());
  EXPECT_EQ(rec.events, std::vector<std::string>{"connect"});
  EXPECT_TRUE(client.Connected());
  EXPECT_TRUE(client.Connect());  // already connected: no second event
  EXPECT_EQ(rec.events.size(), 1u);
  server.Accept();

  const unsigned char pin[9] = {0x1B, 2, 0, 0, 0, 2, 0, 0, 0};
  EXPECT_EQ(client.SendBuf(pin, 9, 0), 9);
  EXPECT_EQ(rec.events.back(), "send 9");
  EXPECT_EQ(server.Receive(9), std::string(reinterpret_cast<const char*>(pin), 9));

  EXPECT_FALSE(client.WaitForData(50));
  server.Send("hello");
  ASSERT_TRUE(client.WaitForData(10000));
  char buf[5] = {};
  EXPECT_EQ(client.ReceiveBuf(buf, 5, 0), 5);
  EXPECT_EQ(rec.events.back(), "receive hello");
  EXPECT_FALSE(client.WaitForData(50));

  client.Disconnect();
  client.Disconnect();
  EXPECT_EQ(rec.events.back(), "disconnect");
  EXPECT_EQ(std::count(rec.events.begin(), rec.events.end(), "disconnect"), 1);
  EXPECT_FALSE(client.Connected());
  EXPECT_FALSE(client.Active());
}

TEST(TcpClient, DrainLoopEndsWhenTheServerFallsSilentOrCloses) {
  LoopbackServer server;
  TTcpClient client(nullptr);
  Recorder rec;
  rec.Attach(client);
  client.SetRemoteHost(u"localhost");
  client.SetRemotePort(server.Port());
  ASSERT_TRUE(client.Connect());
  server.Accept();
  server.Send("0123456789AB");
  server.ClosePeer();

  // The tool's drain loop: read while data keeps coming; it must end on the peer's close.
  std::string got;
  char buf[5];
  int rounds = 0;
  while (client.WaitForData(2000) && rounds++ < 100) {
    int n = client.ReceiveBuf(buf, 5, 0);
    if (n > 0) got.append(buf, size_t(n));
  }
  EXPECT_EQ(got, "0123456789AB");
  EXPECT_FALSE(client.Connected());
  EXPECT_EQ(rec.events.back(), "disconnect");

  // A call on the closed connection reports an error instead of hanging.
  EXPECT_EQ(client.SendBuf("x", 1, 0), SOCKET_ERROR);
  EXPECT_EQ(rec.events.back(), "error " + std::to_string(ENOTCONN));
}

TEST(TcpClient, FailedConnectFiresOnErrorOrRaises) {
  String port;
  {
    LoopbackServer gone;
    port = gone.Port();
  }
  TTcpClient client(nullptr);
  Recorder rec;
  rec.Attach(client);
  client.SetRemoteHost(u"127.0.0.1");
  client.SetRemotePort(port);
  EXPECT_FALSE(client.Connect());
  EXPECT_EQ(rec.events, std::vector<std::string>{"error " + std::to_string(ECONNREFUSED)});
  EXPECT_FALSE(client.Connected());
  EXPECT_EQ(client.LastError(), ECONNREFUSED);

  TTcpClient bare(nullptr);
  bare.SetRemoteHost(u"127.0.0.1");
  bare.SetRemotePort(port);
  try {
    bare.Connect();
    FAIL() << "no exception";
  } catch (const ESocketError& e) {
    EXPECT_EQ(e.ErrorCode, ECONNREFUSED);
  }

  bare.SetRemoteHost(u"no-such-host.invalid");
  EXPECT_THROW(bare.Connect(), ESocketError);
}

TEST(TcpClient, ConnectToAnUnansweringServerEndsAtTheTimeOut) {
  // A listener whose accept queue is full drops further handshakes, so the connect never completes.
  LoopbackServer server(0);
  std::vector<std::unique_ptr<TTcpClient>> fillers;
  for (int i = 0; i < 4; ++i) {
    auto f = std::make_unique<TTcpClient>(nullptr);
    f->SetRemoteHost(u"127.0.0.1");
    f->SetRemotePort(server.Port());
    f->SetConnectTimeout(300);
    f->OnError = [](TObject*, int) {};
    f->Connect();
    fillers.push_back(std::move(f));
  }
  TTcpClient client(nullptr);
  Recorder rec;
  rec.Attach(client);
  client.SetRemoteHost(u"127.0.0.1");
  client.SetRemotePort(server.Port());
  client.SetConnectTimeout(300);
  auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(client.Connect());
  auto took = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(rec.events, std::vector<std::string>{"error " + std::to_string(ETIMEDOUT)});
  EXPECT_LT(took, std::chrono::seconds(20));
}

}  // namespace
