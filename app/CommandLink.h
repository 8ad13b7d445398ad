#pragma once
// The command link to the receiver: the receive ring filled by the port's receive
// event, the eight-slot command queue, the idle-driven pump that feeds one received
// character per call to a reply machine and sends at most one queued line per call,
// and the throttle that decides when the message loop may sleep.
//
// The link knows nothing of windows or ports; the main window connects it through the
// hooks below. Everything runs on the GUI thread.

#include <array>
#include <cstdint>
#include <functional>

#include "platform/rtl/System.h"

// Each character's low byte as two upper-case hexadecimal digits, no separators.
String CodeText(const String& S);

// The page the operator looks at, as the link sees it (MonitorState).
enum TMonitorState : uint8_t { msControlPage = 0, msFrequencyDomain = 4, msTimeDomain = 5 };
// The reply machine that parses received characters (ParserSelect).
enum TReplyMachine : int32_t { rmControlPage = 0, rmAirMonitor = 1 };
// The query whose two-character reply is awaited (QueryKind).
enum TQueryKind : int32_t { qkNone = 0, qkOutputMode = 1, qkChannel = 2, qkSignalStrength = 3 };

// Levels are whole dBm. The floor of the level axis stands for no level measured; a level
// reply below it is malformed.
constexpr int32_t LevelFloor = -140;
constexpr int32_t LevelCeiling = -40;
// Channel slots of the frequency graph (0 to 127) and sample slots of the time graph (0 to 5000).
constexpr int ChannelSlots = 128;
constexpr int SampleSlots = 5001;

class TCommandLink {
public:
  static constexpr int RingSize = 1024;
  static constexpr int SlotCount = 8;

  TCommandLink();

  // ---- Hooks set by the owner
  std::function<void(const String&)> AppendMemo1;  // control-page monitor
  std::function<void(const String&)> AppendMemo2;  // air-monitor command monitor
  std::function<bool()> HexMode;                   // Memo1's display mode is "Hex"
  std::function<void(const String&)> WriteLine;    // the port's WriteStr; may raise
  std::function<void()> ClearPortBuffers;          // the port's ClearBuffer(True, True)
  std::function<void()> WriteFailed;               // beep and the write-error message

  // ---- Receive side
  // Every element '0', indices and count 0.
  void ClearRingBuf();
  // Called only while RxCount is above 0.
  Char ReadRingChar();
  // The port's receive event: appends to the ring and echoes into Memo1 on the control
  // page. A full ring drops the excess characters (counted in RxDropped) and never
  // overwrites unread ones.
  void ReceiveChars(const String& Received);
  // The port's transmit-empty event.
  void TxEmpty() { TxEmptyFlag = true; }

  // ---- Send side
  // Replaces the whole queue; slot Count is sent first, slot 1 last.
  void CommandOut(int32_t Count, const String& S1 = String(), const String& S2 = String(),
                  const String& S3 = String(), const String& S4 = String(), const String& S5 = String(),
                  const String& S6 = String(), const String& S7 = String(), const String& S8 = String());

  // Back to the state of a fresh connection: the ring, the queue, the parser and the
  // query kind start over, the line is free, and the control page's machine and monitor
  // are selected.
  void Reset();

  // ---- Pump
  // One pump step.
  void PumpLink();
  // The application's idle event: one pump step, then Done := IdleDone.
  void Idle(bool& Done) {
    PumpLink();
    Done = IdleDone;
  }

  // rmControlPage or rmAirMonitor. A change drops any partial frame.
  int32_t ParserSelect() const { return FParserSelect; }
  void SetParserSelect(int32_t Value);

  // ---- State, named as the window's module state
  std::array<Char, RingSize> RxRing{};
  int32_t RxReadIndex = 0;
  int32_t RxWriteIndex = 0;
  int32_t RxCount = 0;
  uint64_t RxDropped = 0;  // characters lost to a full ring

  std::array<String, SlotCount + 1> CommandSlots;  // slots 1 to 8; element 0 unused
  int32_t CommandCount = 0;
  bool SendEnabled = true;
  bool TxEmptyFlag = true;
  String SentLine;

  int32_t IdleCount = 0;
  bool IdleDone = false;
  int32_t CPUpower = 1;

  int32_t ParserState = 0;
  std::array<uint8_t, 7> FrameChars{};  // b0 to b6
  int32_t QueryKind = qkNone;
  int32_t LastLevel = 0;
  uint8_t MonitorState = msControlPage;

private:
  void ControlStep();
  bool AirStep();  // True when an "OK" or "NG" reply was recognised
  void SendStep();
  void Memo1(const String& S);
  void Memo2(const String& S);
  String Frame(int From, int Count) const;

  int32_t FParserSelect = rmControlPage;
};
