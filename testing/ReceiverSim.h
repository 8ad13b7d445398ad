#pragma once
// A software receiver on the master side of a pseudo-terminal pair: it reads the
// command lines the tool sends to the slave side and answers them with the receiver's
// reply frames ('*', two, three or five characters, CR LF). Tests read the lines that
// arrived, change the receiver's state, inject raw bytes and ask for split or
// malformed replies.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

class ReceiverSim {
public:
  ReceiverSim();
  ~ReceiverSim();
  ReceiverSim(const ReceiverSim&) = delete;
  ReceiverSim& operator=(const ReceiverSim&) = delete;

  // The slave device's path, to be opened as the tool's port.
  const std::string& Path() const { return FPath; }

  // Command lines received so far (without CR LF), in order, and the steady-clock time (ns)
  // at which each arrived.
  std::vector<std::string> Lines() const;
  std::vector<int64_t> LineTimesNs() const;
  void ClearLines();
  // Waits until at least Count lines arrived; False after TimeoutMs.
  bool WaitForLines(size_t Count, int TimeoutMs = 5000) const;

  // Bytes written to the tool as they are.
  void Send(const std::string& Bytes);

  // ---- The receiver's state (change only while no command is in flight)
  std::string ModeCode = "01";     // output mode: 00 one-shot, 01 toggle, 10 switching, 11 momentary
  std::string ChannelCode = "01";  // 00 ch 1, 01 ch 3, 10 ch 6, 11 ch 10
  int LevelDbm = -90;              // what "RS" reports on a channel without a level of its own
  std::map<int, int> ChannelLevels;  // what "RS" reports on a scan channel picked by "CH F1".."CH FA"
  std::set<int> SilentChannels;      // "RS" on these scan channels gets no reply
  int ScanChannel = 0;               // picked by the last "CH Fn" line (1 to 10), 0 before any
  // Each reply is written this long after its line arrived.
  std::atomic<int> ReplyDelayMs{0};
  std::string Version = "12";      // two hexadecimal digits for "VE"
  std::vector<uint32_t> Ids;       // registered ID codes, by address
  // Replies are written one byte at a time with a pause in between.
  std::atomic<bool> SplitReplies{false};
  // Answers instead of the receiver when it returns anything but an empty text.
  std::function<std::string(const std::string& Line)> Override;
  // Every reply frame of the receiver to Line ("" for none).
  std::string Reply(const std::string& Line);
  // Steady-clock time (ns) at which the last byte of the latest reply was written.
  std::atomic<int64_t> LastReplyDoneNs{0};

private:
  void Run();
  void Write(const std::string& Bytes);

  int FMaster = -1;
  std::string FPath;
  std::thread FThread;
  std::atomic<bool> FStop{false};
  mutable std::mutex FMutex;
  mutable std::condition_variable FCond;
  std::vector<std::string> FLines;
  std::vector<int64_t> FLineTimes;
  std::mutex FStateMutex;
};
