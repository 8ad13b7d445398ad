// The grid as an XML list of records (one element per field) and back.
#include <cmath>
#include <functional>

#include "grid/AdvGrid.h"
#include "platform/exchange/Exchange.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/SysUtils.h"

namespace {

String XmlEscape(const String& S) {
  String r;
  r.reserve(S.size());
  for (size_t i = 0; i < S.size(); ++i) {
    char32_t c = S[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < S.size() && S[i + 1] >= 0xDC00 && S[i + 1] < 0xE000) {
      r += S[i];
      r += S[++i];
      continue;
    }
    if (!exchange::IsXmlChar(c)) continue;  // controls and lone surrogates XML cannot hold
    switch (c) {
      case u'&': r += u"&amp;"; break;
      case u'>': r += u"&gt;"; break;
      case u'<': r += u"&lt;"; break;
      case u'"': r += u"&quot;"; break;
      case u'\r': r += u"&#13;"; break;  // a parser would turn CR LF into LF
      default: r += S[i];
    }
  }
  return r;
}

// The bytes of a line in the encoding; characters it cannot carry as character references.
std::string EncodeXmlLine(const String& Line, const char* Encoding) {
  std::string bytes;
  if (EncodeCodePage(Line, Encoding, bytes)) return bytes;
  bytes.clear();
  for (size_t i = 0; i < Line.size(); ++i) {
    size_t n = Line[i] >= 0xD800 && Line[i] < 0xDC00 && i + 1 < Line.size() ? 2 : 1;
    String ch = Line.substr(i, n);
    std::string b;
    if (EncodeCodePage(ch, Encoding, b)) {
      bytes += b;
    } else {
      char32_t c = n == 2 ? 0x10000 + ((ch[0] - 0xD800) << 10) + (ch[1] - 0xDC00) : ch[0];
      EncodeCodePage(u"&#" + IntToStr(static_cast<uint32_t>(c)) + u";", Encoding, b);
      bytes += b;
    }
    i += n - 1;
  }
  return bytes;
}

}  // namespace

void DEreDuzeroVaro::SaveToXML(const String& FileName, const String& ListDescr, const String& RecordDescr,
                               TStrings* FieldDescr, bool ExportEmptyCells) {
  const std::string enc = StringToUTF8(XMLEncoding());
  if (enc.empty() || !CodePageKnown(enc.c_str())) throw VUreReriVorov(u"Unknown XML encoding " + XMLEncoding());
  if (!exchange::IsXmlName(ListDescr) || !exchange::IsXmlName(RecordDescr))
    throw VUreReriVorov(u"Not an XML element name: " + (exchange::IsXmlName(ListDescr) ? RecordDescr : ListDescr));
  std::unique_ptr<TFileStream> fs;
  try {
    fs = std::make_unique<TFileStream>(FileName, fmCreate);
  } catch (const EFCreateError&) {
    throw VUreReriVorov(u"Cannot Create file " + FileName);
  }
  std::string out;
  auto line = [&](const String& L) {
    out += EncodeXmlLine(L, enc.c_str());
    out += "\r\n";
  };
  line(u"<?xml version=\"1.0\" encoding=\"" + XMLEncoding() + u"\" ?>");
  line(u"<" + ListDescr + u">");
  const int h = SaveHiddenCells() ? NumHiddenColumns() : 0;
  const int sc = SaveStartCol(), sr = SaveStartRow(), er = SaveEndRow(), ec = SaveEndCol() + h;
  int last = -1;
  for (int r = sr; r <= er; ++r) {
    ExportNotification(esExportNextRow, r);
    line(u"<" + RecordDescr + u">");
    for (int c = sc; c <= ec; ++c) {
      if (!IsBaseCell(RealColIndex(c), r)) continue;
      String t = GetSaveCellText(c, r);
      if (t.empty() && !ExportEmptyCells) continue;
      if (QuoteEmptyCells() && t.empty()) t = u"\"\"";
      const int i = c - sc;
      String name = FieldDescr && i < FieldDescr->Count() ? FieldDescr->Strings(i) : String();
      if (!exchange::IsXmlName(name)) name = u"FIELD" + IntToStr(i);
      line(u"<" + name + u">" + XmlEscape(t) + u"</" + name + u">");
    }
    line(u"</" + RecordDescr + u">");
    if (OnFileProgress) {
      int p = static_cast<int>(std::lround(static_cast<double>(r) / std::max(1, er - sr) * 100));
      FireFileProgress(p, last);
    }
  }
  line(u"</" + ListDescr + u">");
  ExportNotification(esExportDone, -1);
  if (!out.empty()) fs->WriteBuffer(out.data(), static_cast<int32_t>(out.size()));
}

void DEreDuzeroVaro::LoadFromXML(const String& FileName, bool LevelToRow, bool LoadFieldDescr) {
  if (FFileLoading) throw VUreReriVorov(u"The grid is already loading a file");
  exchange::TXmlNode root;
  try {
    root = exchange::LoadXmlDocument(FileName);
  } catch (const EXmlParseError& e) {
    throw Exception(e.Message());
  } catch (const EExchangeError& e) {
    throw Exception(e.Message());
  }
  FFileLoading = true;
  TScopeGuard loading([this] { FFileLoading = false; });
  const int sc = SaveStartCol();
  const int sr = (!SaveFixedCells() && !SaveFixedRows()) || LoadFieldDescr ? FixedRows() : 0;
  const bool headers = SaveFixedCells() || SaveFixedRows();
  int maxCol = sc, maxRow = sr, row = 0, col = 0, level = 1;
  auto grow = [&](int C, int R) {
    if (C >= GridMaxColCount || R >= GridMaxRowCount)
      throw VUreReriVorov(u"XML file " + FileName + u" holds more cells than a grid holds");
    if (C >= ColCount()) SetColCount(C + 1);
    if (R >= RowCount()) SetRowCount(R + 1);
  };
  auto store = [&](const String& Name, const String& Text, bool Header, bool Leaf) {
    const int c = col + sc, r = row + sr;
    if (r < 0) {
      ++col;
      return;
    }
    grow(c, r);
    if (Header && Cells(c, 0).empty()) SetCells(c, 0, Name);
    String t = Text;
    if (Leaf) {
      if (QuoteEmptyCells() && t == u"\"\"") t.clear();
      LoadCell(c, r, t);
    } else {
      SetCells(c, r, t);
    }
    maxCol = std::max(maxCol, c);
    maxRow = std::max(maxRow, r);
    ++col;
  };
  std::function<void(const exchange::TXmlNode&)> walk = [&](const exchange::TXmlNode& N) {
    bool startedRow = false;
    if (!N.IsText && !N.Attributes.empty()) {
      for (const auto& [name, value] : N.Attributes) store(name, value, headers, false);
      if (LevelToRow) {
        ++row;
        col = level;
        startedRow = true;
      }
    }
    if (N.Children.size() > 1) {
      if (LevelToRow && !startedRow) ++row;
      ++level;
      for (const exchange::TXmlNode& c : N.Children) walk(c);
    } else if (N.Children.size() == 1) {
      store(N.Name, N.Text(), headers && LoadFieldDescr, true);
    }
  };
  const auto& items = root.Children;
  for (size_t j = 0; j < items.size(); ++j) {
    col = 0;
    level = 1;
    if (LevelToRow && j == 0 && items[j].Children.empty()) row = -1;
    walk(items[j]);
    if (!LevelToRow) ++row;
  }
  SetColCount(maxCol + 1);
  SetRowCount(maxRow + 1);
  RecalcFooterAll();
}
