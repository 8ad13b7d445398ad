#include "app/CommandLink.h"

#include "platform/rtl/SysUtils.h"

namespace {

const String CRLF = u"\r\n";
constexpr uint8_t CR = 13;

// The reply's characters as a hexadecimal number; anything but hexadecimal digits is
// a conversion error, which the pump's recovery handles.
int32_t HexValue(const String& S) {
  if (S.empty()) throw EConvertError(u"'' is not a valid integer value");
  int32_t v = 0;
  for (Char c : S) {
    int d;
    if (c >= u'0' && c <= u'9') d = c - u'0';
    else if (c >= u'A' && c <= u'F') d = c - u'A' + 10;
    else if (c >= u'a' && c <= u'f') d = c - u'a' + 10;
    else throw EConvertError(u"'$" + S + u"' is not a valid integer value");
    v = v * 16 + d;
  }
  return v;
}

}  // namespace

String CodeText(const String& S) {
  static const char16_t digits[] = u"0123456789ABCDEF";
  String out;
  out.reserve(S.size() * 2);
  for (Char c : S) {
    uint8_t b = static_cast<uint8_t>(c & 0xFF);
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

TCommandLink::TCommandLink() { ClearRingBuf(); }

void TCommandLink::ClearRingBuf() {
  RxReadIndex = RxWriteIndex = RxCount = 0;
  RxRing.fill(u'0');
}

Char TCommandLink::ReadRingChar() {
  Char c = RxRing[static_cast<size_t>(RxReadIndex)];
  RxReadIndex = (RxReadIndex + 1) % RingSize;
  --RxCount;
  return c;
}

void TCommandLink::ReceiveChars(const String& Received) {
  IdleDone = false;
  for (Char c : Received) {
    if (RxCount >= RingSize) {
      ++RxDropped;
      continue;
    }
    RxRing[static_cast<size_t>(RxWriteIndex)] = c;
    RxWriteIndex = (RxWriteIndex + 1) % RingSize;
    ++RxCount;
  }
  if (MonitorState == msControlPage && !Received.empty())
    Memo1(HexMode && HexMode() ? CodeText(Received) : Received);
}

void TCommandLink::Reset() {
  ClearRingBuf();
  for (String& s : CommandSlots) s.clear();
  CommandCount = 0;
  SendEnabled = true;
  TxEmptyFlag = true;
  SetParserSelect(rmControlPage);
  ParserState = 0;
  QueryKind = qkNone;
  MonitorState = msControlPage;
}

void TCommandLink::CommandOut(int32_t Count, const String& S1, const String& S2, const String& S3,
                              const String& S4, const String& S5, const String& S6, const String& S7,
                              const String& S8) {
  CommandSlots = {String(), S1, S2, S3, S4, S5, S6, S7, S8};
  CommandCount = Count < 0 ? 0 : (Count > SlotCount ? SlotCount : Count);
  SendEnabled = true;
}

void TCommandLink::SetParserSelect(int32_t Value) {
  if (Value != FParserSelect) ParserState = 0;
  FParserSelect = Value;
}

void TCommandLink::PumpLink() {
  // Throttle: the loop may sleep after CPUpower + 1 calls with nothing received. The
  // count stops at CPUpower, so the largest setting cannot overflow it.
  if (RxCount > 0) {
    IdleDone = false;
    IdleCount = 0;
  } else if (IdleCount >= CPUpower) {
    IdleDone = true;
    IdleCount = 0;
  } else {
    ++IdleCount;
  }

  if (RxCount > 0) {
    try {
      if (FParserSelect == rmControlPage) {
        ControlStep();
        return;
      }
      if (FParserSelect == rmAirMonitor && AirStep()) return;
    } catch (Exception&) {
      // A malformed reply: drop everything received and start over.
      if (ClearPortBuffers) ClearPortBuffers();
      ClearRingBuf();
      ParserState = 0;
      SendEnabled = true;
    }
  }
  SendStep();
}

void TCommandLink::SendStep() {
  if (!SendEnabled || !TxEmptyFlag) return;
  try {
    if (CommandCount > 0) {
      TxEmptyFlag = false;
      SentLine = CommandSlots[static_cast<size_t>(CommandCount)] + CRLF;
      if (MonitorState == msControlPage || MonitorState == msFrequencyDomain || MonitorState == msTimeDomain) {
        Memo2(SentLine);
        if (HexMode && HexMode()) Memo1(CodeText(SentLine) + CRLF);
        else Memo1(SentLine);
      }
      if (WriteLine) WriteLine(SentLine);
      --CommandCount;
    }
    if (CommandCount == 0) SendEnabled = false;
  } catch (Exception&) {
    // The line stays queued until TxEmptyFlag is set again.
    if (WriteFailed) WriteFailed();
  }
}

String TCommandLink::Frame(int From, int Count) const {
  String s;
  for (int i = From; i < From + Count; ++i) s += static_cast<Char>(FrameChars[static_cast<size_t>(i)]);
  return s;
}

void TCommandLink::ControlStep() {
  auto read = [this] { return static_cast<uint8_t>(ReadRingChar() & 0xFF); };
  switch (ParserState) {
    case 1: FrameChars[0] = read(); ParserState = 2; break;
    case 2: FrameChars[1] = read(); ParserState = 3; break;
    case 3: FrameChars[2] = read(); ParserState = FrameChars[2] == CR ? 20 : 4; break;
    case 4: FrameChars[3] = read(); ParserState = FrameChars[3] == CR ? 30 : 5; break;
    case 5: FrameChars[4] = read(); ParserState = 6; break;
    case 6: FrameChars[5] = read(); ParserState = FrameChars[5] == CR ? 10 : 7; break;
    case 7: FrameChars[6] = read(); ParserState = 0; break;
    case 20: {
      String s = Frame(0, 2);
      if (s == u"OK" || s == u"NG") {
        ParserState = 0;
        break;
      }
      int32_t v = HexValue(s);
      auto pick = [&s](const char16_t* a, const char16_t* b, const char16_t* c, const char16_t* d) -> String {
        if (s == u"00") return a;
        if (s == u"01") return b;
        if (s == u"10") return c;
        if (s == u"11") return d;
        return u"???";
      };
      switch (QueryKind) {
        case qkNone: Memo1(IntToStr(v) + CRLF); break;
        case qkOutputMode: Memo1(u"< " + pick(u"ワンショット", u"トグル", u"スイッチング", u"モメンタリー") + u" モードです >" + CRLF); break;
        case qkChannel: Memo1(u"< " + pick(u"1", u"3", u"6", u"10") + u" チャンネルです >" + CRLF); break;
        case qkSignalStrength: Memo1(u"< - " + IntToStr(v) + u" dBmです >" + CRLF); break;
        default: break;
      }
      QueryKind = qkNone;
      LastLevel = -v;
      ParserState = 0;
      break;
    }
    case 30: {
      String s = Frame(0, 3);
      HexValue(s);  // checked only
      Memo1(u"< " + s + u" 番地に登録しました >" + CRLF);
      ParserState = 0;
      break;
    }
    case 10: {
      String s = Frame(0, 5);
      if (s != u"No ID") {
        int32_t v = HexValue(s);
        Memo1(IntToStr(v) + u" ch" + CRLF);
        LastLevel = -v;
      }
      ParserState = 0;
      break;
    }
    default:  // state 0, and any state this machine does not know
      ParserState = read() == u'*' ? 1 : 0;
      break;
  }
}

bool TCommandLink::AirStep() {
  switch (ParserState) {
    case 10: FrameChars[0] = static_cast<uint8_t>(ReadRingChar() & 0xFF); ParserState = 11; return false;
    case 11: FrameChars[1] = static_cast<uint8_t>(ReadRingChar() & 0xFF); ParserState = 12; return false;
    case 12: {
      String s = Frame(0, 2);
      ParserState = 0;
      if (s == u"OK" || s == u"NG") return true;
      int32_t v = HexValue(s);
      // A level below the axis floor is no level the receiver measures: a corrupted frame.
      if (v > -LevelFloor) throw EConvertError(u"'$" + s + u"' is not a valid level");
      Memo2(u"-" + IntToStr(v) + u" dBm" + CRLF);
      LastLevel = -v;
      return false;
    }
    default:
      ParserState = ReadRingChar() == u'*' ? 10 : 0;
      return false;
  }
}

void TCommandLink::Memo1(const String& S) {
  if (AppendMemo1) AppendMemo1(S);
}

void TCommandLink::Memo2(const String& S) {
  if (AppendMemo2) AppendMemo2(S);
}
