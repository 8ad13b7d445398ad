#include "testing/ReceiverSim.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <stdexcept>

namespace {

std::string Hex(uint32_t v, int digits) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*X", digits, v);
  return std::string(buf).substr(std::string(buf).size() - static_cast<size_t>(digits));
}

bool StartsWith(const std::string& s, const std::string& p) { return s.rfind(p, 0) == 0; }

const char* const CodeNames[] = {"00", "01", "10", "11"};
bool IsCode(const std::string& s) {
  for (const char* c : CodeNames)
    if (s == c) return true;
  return false;
}

}  // namespace

ReceiverSim::ReceiverSim() {
  int slave = -1;
  char name[256];
  if (::openpty(&FMaster, &slave, name, nullptr, nullptr) != 0) throw std::runtime_error("openpty failed");
  FPath = name;
  ::close(slave);
  ::fcntl(FMaster, F_SETFL, O_NONBLOCK);
  FThread = std::thread([this] { Run(); });
}

ReceiverSim::~ReceiverSim() {
  FStop = true;
  FThread.join();
  ::close(FMaster);
}

std::vector<std::string> ReceiverSim::Lines() const {
  std::lock_guard lk(FMutex);
  return FLines;
}

std::vector<int64_t> ReceiverSim::LineTimesNs() const {
  std::lock_guard lk(FMutex);
  return FLineTimes;
}

void ReceiverSim::ClearLines() {
  std::lock_guard lk(FMutex);
  FLines.clear();
  FLineTimes.clear();
}

bool ReceiverSim::WaitForLines(size_t Count, int TimeoutMs) const {
  std::unique_lock lk(FMutex);
  return FCond.wait_for(lk, std::chrono::milliseconds(TimeoutMs), [&] { return FLines.size() >= Count; });
}

void ReceiverSim::Send(const std::string& Bytes) { Write(Bytes); }

void ReceiverSim::Write(const std::string& Bytes) {
  size_t done = 0;
  while (done < Bytes.size()) {
    ssize_t n = ::write(FMaster, Bytes.data() + done, Bytes.size() - done);
    if (n > 0) done += static_cast<size_t>(n);
    else ::usleep(1000);
  }
}

std::string ReceiverSim::Reply(const std::string& Line) {
  std::lock_guard lk(FStateMutex);
  if (Override) {
    std::string r = Override(Line);
    if (!r.empty()) return r;
  }
  auto frame = [](const std::string& body) { return "*" + body + "\r\n"; };
  std::string arg = Line.size() > 3 ? Line.substr(3) : std::string();
  bool store = arg.size() >= 2 && arg.substr(arg.size() - 2) == "/W";
  if (store) arg.resize(arg.size() - 2);

  if (Line == "MD") return frame(ModeCode);
  if (StartsWith(Line, "MD ")) {
    if (!IsCode(arg)) return frame("NG");
    ModeCode = arg;
    return frame("OK");
  }
  if (Line == "CH") return frame(ChannelCode);
  if (StartsWith(Line, "CH ")) {
    if (IsCode(arg)) {
      ChannelCode = arg;
    } else if (arg.size() == 2 && arg[0] == 'F' && std::isxdigit(static_cast<unsigned char>(arg[1]))) {
      ScanChannel = std::stoi(arg.substr(1), nullptr, 16);  // "CH F1".."CH FA": scan channel
    } else {
      return frame("NG");
    }
    return frame("OK");
  }
  if (Line == "RS") {
    if (SilentChannels.count(ScanChannel)) return std::string();
    auto level = ChannelLevels.find(ScanChannel);
    int dbm = level != ChannelLevels.end() ? level->second : LevelDbm;
    return frame(Hex(static_cast<uint32_t>(-dbm) & 0xFF, 2));
  }
  if (Line == "VE") return frame(Version);
  if (Line == "ID ALL /R") {
    if (Ids.empty()) return frame("No ID");
    std::string out;
    for (uint32_t id : Ids) out += frame(Hex(id & 0xFFFFF, 5));
    return out;
  }
  if (Line == "ID ALL /E") {
    Ids.clear();
    return frame("OK");
  }
  if (StartsWith(Line, "ID ") && Line.size() > 5) {
    std::string op = Line.substr(Line.size() - 2);
    std::string value = Line.substr(3, Line.size() - 5);
    char* end = nullptr;
    unsigned long n = std::strtoul(value.c_str(), &end, 10);
    if (value.empty() || *end) return frame("NG");
    if (op == "/W") {
      Ids.push_back(static_cast<uint32_t>(n));
      return frame(Hex(static_cast<uint32_t>(Ids.size() - 1), 3));
    }
    if (op == "/D") {
      for (size_t i = 0; i < Ids.size(); ++i)
        if (Ids[i] == n) {
          Ids.erase(Ids.begin() + static_cast<long>(i));
          return frame("OK");
        }
      return frame("NG");
    }
    if (op == "/E") {
      if (n >= Ids.size()) return frame("NG");
      Ids.erase(Ids.begin() + static_cast<long>(n));
      return frame("OK");
    }
  }
  return frame("NG");
}

void ReceiverSim::Run() {
  std::string pending;
  while (!FStop) {
    pollfd p{FMaster, POLLIN, 0};
    int r = ::poll(&p, 1, 20);
    if (r <= 0) continue;
    char buf[256];
    ssize_t n = ::read(FMaster, buf, sizeof buf);
    if (n <= 0) {
      ::usleep(5000);  // no slave open yet, or it was closed
      continue;
    }
    pending.append(buf, static_cast<size_t>(n));
    size_t end;
    while ((end = pending.find("\r\n")) != std::string::npos) {
      std::string line = pending.substr(0, end);
      pending.erase(0, end + 2);
      int64_t arrived = std::chrono::duration_cast<std::chrono::nanoseconds>(
                            std::chrono::steady_clock::now().time_since_epoch())
                            .count();
      {
        std::lock_guard lk(FMutex);
        FLines.push_back(line);
        FLineTimes.push_back(arrived);
      }
      FCond.notify_all();
      std::string reply = Reply(line);
      if (int delay = ReplyDelayMs.load(); delay > 0) std::this_thread::sleep_for(std::chrono::milliseconds(delay));
      if (SplitReplies) {
        for (char c : reply) {
          Write(std::string(1, c));
          ::usleep(3000);
        }
      } else {
        Write(reply);
      }
      LastReplyDoneNs = std::chrono::duration_cast<std::chrono::nanoseconds>(
                            std::chrono::steady_clock::now().time_since_epoch())
                            .count();
    }
  }
}
