#include "platform/ui/Sockets.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

bool SetNonBlocking(int fd, bool on) {
  int flags = fcntl(fd, F_GETFL, 0);
  if (flags < 0) return false;
  flags = on ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
  return fcntl(fd, F_SETFL, flags) == 0;
}

// Poll that resumes after signals until the deadline.
int PollUntil(int fd, short events, Clock::time_point deadline, short& revents) {
  for (;;) {
    pollfd p{fd, events, 0};
    int r = poll(&p, 1, MillisecondsLeft(deadline));
    if (r < 0 && errno == EINTR) continue;
    revents = p.revents;
    return r;
  }
}

}  // namespace

TTcpClient::TTcpClient(TComponent* AOwner) : TComponent(AOwner) {}

TTcpClient::~TTcpClient() {
  // Released silently: the owner's handlers may already be gone.
  CloseHandle();
}

void TTcpClient::Fail(int Code, const char* What) {
  FLastError = Code;
  if (OnError) {
    OnError(this, Code);
    return;
  }
  throw ESocketError(UTF8ToString(std::string("Socket error ") + std::to_string(Code) + " (" +
                                  std::strerror(Code) + ") on " + What),
                     Code);
}

bool TTcpClient::Open() {
  if (FHandle >= 0) return true;
  FHandle = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (FHandle < 0) {
    Fail(errno, "socket");
    return false;
  }
  return true;
}

void TTcpClient::CloseHandle() {
  if (FHandle >= 0) close(FHandle);
  FHandle = -1;
  FConnected = false;
}

void TTcpClient::SetActive(bool Value) {
  if (Value == Active()) return;
  if (Value)
    Open();
  else
    Disconnect();
}

bool TTcpClient::Connect() {
  if (FConnected) return true;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(FConnectTimeout);

  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* list = nullptr;
  const std::string host = StringToUTF8(FRemoteHost);
  const std::string port = StringToUTF8(FRemotePort);
  int gai = getaddrinfo(host.empty() ? nullptr : host.c_str(), port.empty() ? nullptr : port.c_str(),
                        &hints, &list);
  if (gai != 0 || !list) {
    int code = gai == EAI_SYSTEM ? errno : EHOSTUNREACH;
    if (list) freeaddrinfo(list);
    Fail(code, "resolve");
    return false;
  }

  int error = ETIMEDOUT;
  for (addrinfo* ai = list; ai && !FConnected; ai = ai->ai_next) {
    // The socket made by Active suits IPv4; any other family gets a fresh one.
    int domain = -1;
    socklen_t len = sizeof domain;
    if (FHandle >= 0 && (getsockopt(FHandle, SOL_SOCKET, SO_DOMAIN, &domain, &len) != 0 || domain != ai->ai_family))
      CloseHandle();
    if (FHandle < 0) FHandle = socket(ai->ai_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (FHandle < 0) {
      error = errno;
      continue;
    }
    SetNonBlocking(FHandle, true);
    int r = ::connect(FHandle, ai->ai_addr, ai->ai_addrlen);
    if (r != 0 && errno != EINPROGRESS && errno != EINTR) {
      error = errno;
      CloseHandle();
      continue;
    }
    if (r != 0) {
      short revents = 0;
      int p = PollUntil(FHandle, POLLOUT, deadline, revents);
      int soError = 0;
      socklen_t soLen = sizeof soError;
      if (p == 0) {
        error = ETIMEDOUT;
      } else if (p < 0) {
        error = errno;
      } else if (getsockopt(FHandle, SOL_SOCKET, SO_ERROR, &soError, &soLen) != 0) {
        error = errno;
      } else {
        error = soError;
      }
      if (error != 0) {
        CloseHandle();
        if (error == ETIMEDOUT && MillisecondsLeft(deadline) == 0) break;
        continue;
      }
    }
    SetNonBlocking(FHandle, false);
    int one = 1;
    setsockopt(FHandle, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    FConnected = true;
  }
  freeaddrinfo(list);

  if (!FConnected) {
    Fail(error ? error : ETIMEDOUT, "connect");
    return false;
  }
  if (OnConnect) OnConnect(this);
  return true;
}

void TTcpClient::Disconnect() {
  const bool was = FConnected;
  if (FHandle >= 0 && was) shutdown(FHandle, SHUT_RDWR);
  CloseHandle();
  if (was && OnDisconnect) OnDisconnect(this);
}

void TTcpClient::PeerClosed() { Disconnect(); }

int TTcpClient::SendBuf(const void* Buf, int BufSize, int Flags) {
  if (!FConnected) {
    Fail(ENOTCONN, "send");
    return SOCKET_ERROR;
  }
  if (BufSize <= 0) return 0;
  const char* p = static_cast<const char*>(Buf);
  int sent = 0;
  while (sent < BufSize) {
    ssize_t n = ::send(FHandle, p + sent, static_cast<size_t>(BufSize - sent), Flags | MSG_NOSIGNAL);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail(errno, "send");
      return SOCKET_ERROR;
    }
    sent += static_cast<int>(n);
  }
  if (OnSend) {
    int len = sent;
    OnSend(this, const_cast<char*>(p), len);
  }
  return sent;
}

int TTcpClient::ReceiveBuf(void* Buf, int BufSize, int Flags) {
  if (!FConnected) {
    Fail(ENOTCONN, "receive");
    return SOCKET_ERROR;
  }
  if (BufSize <= 0) return 0;
  ssize_t n;
  do {
    n = ::recv(FHandle, Buf, static_cast<size_t>(BufSize), Flags);
  } while (n < 0 && errno == EINTR);
  if (n < 0) {
    Fail(errno, "receive");
    return SOCKET_ERROR;
  }
  if (n == 0) {
    PeerClosed();
    return 0;
  }
  int len = static_cast<int>(n);
  if (OnReceive) OnReceive(this, static_cast<char*>(Buf), len);
  return static_cast<int>(n);
}

bool TTcpClient::WaitForData(int TimeOut) {
  if (!FConnected) return false;
  short revents = 0;
  int r = PollUntil(FHandle, POLLIN, Clock::now() + std::chrono::milliseconds(TimeOut < 0 ? 0 : TimeOut), revents);
  if (r < 0) {
    Fail(errno, "wait for data");
    return false;
  }
  if (r == 0) return false;
  // Readable can also mean the peer has gone: then no byte will ever come.
  char c;
  ssize_t n;
  do {
    n = ::recv(FHandle, &c, 1, MSG_PEEK | MSG_DONTWAIT);
  } while (n < 0 && errno == EINTR);
  if (n > 0) return true;
  if (n == 0) {
    PeerClosed();
    return false;
  }
  if (errno == EAGAIN || errno == EWOULDBLOCK) return false;
  Fail(errno, "wait for data");
  return false;
}
