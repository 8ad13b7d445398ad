#pragma once
// A pseudo-terminal pair for serial tests: the port opens the slave by path, the test
// plays the peer on the master.

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>

#include <gtest/gtest.h>

struct Pty {
  int master = -1;
  std::string path;
  Pty() {
    int slave = -1;
    char name[128];
    EXPECT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    path = name;
    ::close(slave);
    ::fcntl(master, F_SETFL, O_NONBLOCK);
  }
  Pty(const Pty&) = delete;
  Pty& operator=(const Pty&) = delete;
  ~Pty() { CloseMaster(); }
  void CloseMaster() {
    if (master >= 0) ::close(master);
    master = -1;
  }
  void Send(const std::string& s) const { ASSERT_EQ(::write(master, s.data(), s.size()), ssize_t(s.size())); }
  // Reads until n bytes came or the time-out passed.
  std::string Receive(size_t n, int timeoutMs = 3000) const {
    std::string out;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (out.size() < n && std::chrono::steady_clock::now() < deadline) {
      pollfd p{master, POLLIN, 0};
      if (::poll(&p, 1, 20) <= 0) continue;
      char buf[4096];
      ssize_t r = ::read(master, buf, std::min(sizeof buf, n - out.size()));
      if (r > 0) out.append(buf, size_t(r));
    }
    return out;
  }
};
