#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include "testing/ReceiverSim.h"

// The software receiver answers as the tool's reply machines expect.
TEST(ReceiverSim, AnswersEveryCommand) {
  ReceiverSim sim;
  sim.ModeCode = "10";
  sim.ChannelCode = "11";
  sim.LevelDbm = -95;
  struct {
    const char* Line;
    const char* Reply;
  } cases[] = {
      {"MD", "*10\r\n"},          {"MD 11/W", "*OK\r\n"},     {"MD", "*11\r\n"},
      {"MD ", "*NG\r\n"},         {"CH", "*11\r\n"},          {"CH 01", "*OK\r\n"},
      {"CH", "*01\r\n"},          {"CH F3", "*OK\r\n"},       {"RS", "*5F\r\n"},
      {"VE", "*12\r\n"},          {"ID ALL /R", "*No ID\r\n"}, {"ID 1200000/W", "*000\r\n"},
      {"ID 10/W", "*001\r\n"},    {"ID ALL /R", "*24F80\r\n*0000A\r\n"},
      {"ID 1200000/D", "*OK\r\n"}, {"ID 0/E", "*OK\r\n"},     {"ID 5/E", "*NG\r\n"},
      {"XYZ", "*NG\r\n"},         {"", "*NG\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(sim.Reply(c.Line), c.Reply) << c.Line;
}

TEST(ReceiverSim, RepliesOverThePty) {
  ReceiverSim sim;
  int fd = ::open(sim.Path().c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(fd, 0);
  termios t{};
  ::tcgetattr(fd, &t);
  ::cfmakeraw(&t);
  ::tcsetattr(fd, TCSANOW, &t);
  sim.SplitReplies = true;
  ASSERT_EQ(::write(fd, "RS\r\n", 4), 4);
  ASSERT_TRUE(sim.WaitForLines(1));
  EXPECT_EQ(sim.Lines()[0], "RS");
  std::string got;
  for (int i = 0; i < 200 && got.size() < 5; ++i) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 50) > 0) {
      char buf[16];
      ssize_t n = ::read(fd, buf, sizeof buf);
      if (n > 0) got.append(buf, static_cast<size_t>(n));
    }
  }
  EXPECT_EQ(got, "*5A\r\n");
  ::close(fd);
}
