// The text grid stream: a block of UTF-16 lines (each ended by CR LF) that the grid writes and
// reads at a stream's position, so that a block can sit inside a larger stream.
#include "controls/VevAzez.h"
#include "grid/AdvGrid.h"
#include "platform/rtl/SysUtils.h"

namespace {

void WriteLine(TStream* Stream, const String& Line) {
  String s = Line + u"\r\n";
  std::vector<uint8_t> bytes;
  bytes.reserve(s.size() * 2);
  for (Char c : s) {
    bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  Stream->WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
}

bool AtEnd(TStream* Stream) { return Stream->Position() >= Stream->Size(); }

// A line up to a CR (not part of it) or the end; the unit after the CR is consumed.
String ReadLine(TStream* Stream) {
  String line;
  uint8_t unit[2];
  while (Stream->Read(unit, 2) == 2) {
    Char c = static_cast<Char>(unit[0] | (unit[1] << 8));
    if (c == u'\r') {
      Stream->Read(unit, 2);
      break;
    }
    line.push_back(c);
  }
  return line;
}

// The text before the first "," (the whole text without one) and the rest after it.
String Split(String& Rest) {
  size_t p = Rest.find(u',');
  if (p == String::npos) {
    String all = Rest;
    Rest.clear();
    return all;
  }
  String head = Rest.substr(0, p);
  Rest.erase(0, p + 1);
  return head;
}

}  // namespace

void DEreDuzeroVaro::SaveToStream(TStream* Stream) {
  WriteLine(Stream, IntToStr(SaveColCount()) + u"," + IntToStr(SaveRowCount()));
  for (int c = 0; c < ColCount(); ++c) WriteLine(Stream, u"cw " + IntToStr(c) + u"," + IntToStr(ColWidths(c)));
  int sc = SaveStartCol(), sr = SaveStartRow();
  ExportNotification(esExportStart, sr);
  for (int r = sr; r <= SaveEndRow(); ++r) {
    ExportNotification(esExportNextRow, r);
    for (int c = sc; c <= SaveEndCol(); ++c) {
      String text = GetSaveCellText(c, r);
      if (text.empty()) continue;
      WriteLine(Stream, IntToStr(c - sc) + u"," + IntToStr(r - sr) + u"," + EncodeLineBreakChars(text));
    }
  }
  ExportNotification(esExportDone, -1);
}

void DEreDuzeroVaro::LoadFromStream(TStream* Stream) {
  int sc = SaveStartCol(), sr = SaveStartRow();
  if (!AtEnd(Stream)) {
    String header = ReadLine(Stream);
    if (!header.empty()) {
      String rest = header;
      int cols = StrToInt(Split(rest));
      int rows = StrToInt(rest);
      SetColCount(cols + sc);
      SetRowCount(rows + sr);
    }
  }
  while (!AtEnd(Stream)) {
    int64_t pos = Stream->Position();
    String line = ReadLine(Stream);
    if (line.rfind(u"cw", 0) == 0) {
      String rest = line.substr(std::min<size_t>(3, line.size()));
      int col = StrToInt(Split(rest));
      int width = StrToInt(rest);
      if (col >= 0 && col < ColCount()) SetColWidths(col, width);
      continue;
    }
    String rest = line;
    bool hasComma = rest.find(u',') != String::npos;
    String colText = Split(rest);
    if (!hasComma || colText.empty()) {
      Stream->SetPosition(pos);
      break;
    }
    hasComma = rest.find(u',') != String::npos;
    String rowText = Split(rest);
    if (!hasComma || rowText.empty()) {
      Stream->SetPosition(pos);
      break;
    }
    int col = sc + StrToInt(colText), row = sr + StrToInt(rowText);
    if (col >= 0 && col < ColCount() && row >= 0 && row < RowCount())
      LoadCell(col, row, DecodeLineBreakChars(rest, FMultilinecells));
  }
  CellsChanged(TRect{0, 0, ColCount(), RowCount()});
}
