// The grid as HTML: a table with one CSS class per distinct cell look, pictures as JPEG files
// beside it; written to a string, a file or the clipboard.
#include <algorithm>
#include <vector>

#include "controls/HtmlText.h"
#include "controls/VevAzez.h"
#include "grid/AdvGrid.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Jpeg.h"
#include "platform/win/Shell.h"

namespace {

const String kCRLF = u"\r\n";

// Text for an attribute value in double quotes.
String AttrText(const String& S) {
  String r;
  r.reserve(S.size());
  for (Char c : S) {
    switch (c) {
      case u'&': r += u"&amp;"; break;
      case u'"': r += u"&quot;"; break;
      case u'<': r += u"&lt;"; break;
      case u'>': r += u"&gt;"; break;
      default: r += c;
    }
  }
  return r;
}

// Every character above 127 as a numeric character reference (a surrogate pair as one).
String AsciiHtml(const String& S) {
  String r;
  r.reserve(S.size());
  for (size_t i = 0; i < S.size(); ++i) {
    char32_t c = S[i];
    if (c < 128) {
      r += static_cast<Char>(c);
      continue;
    }
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < S.size() && S[i + 1] >= 0xDC00 && S[i + 1] < 0xE000)
      c = 0x10000 + ((c - 0xD800) << 10) + (S[++i] - 0xDC00);
    r += u"&#" + IntToStr(static_cast<uint32_t>(c)) + u";";
  }
  return r;
}

bool HasTags(const String& S) { return S.find(u"</") != String::npos; }

// The link rule: a URL becomes a link showing it without its protocol (whole with Full); a
// text holding "mailto:" a link showing the address. T is the text as the cell shows it,
// Original the cell's own text (the link's target).
String LinkText(const String& T, const String& Original, bool Full) {
  String r = T;
  size_t p = T.find(u"://");
  if (p != String::npos && !HasTags(T)) {
    String shown = Full ? T : T.substr(p + 3, 255);
    r = u"<a href=\"" + AttrText(Original) + u"\">" + shown + u"</a>";
  }
  if (Original.find(u"mailto:") != String::npos && !HasTags(Original)) {
    const size_t m = T.find(u"mailto:");
    const String shown = Full || m == String::npos ? T : T.substr(m + 7);
    r = u"<a href=\"" + AttrText(Original) + u"\">" + shown + u"</a>";
  }
  return r;
}

}  // namespace

void DEreDuzeroVaro::ExportCellLook(int ACol, int ARow, TBrush* Brush, TFont* Font, TAlignment& HA, TVAlignment& VA,
                                    bool& WW) {
  TGridDrawState state;
  TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
  TCellGradientDirection gd{};
  GetVisualProperties(ACol, ARow, state, false, false, true, Brush, colorTo, mirror, mirrorTo, Font, HA, VA, WW, gd);
}

String DEreDuzeroVaro::HtmlStyle(int ACol, int ARow, TColor Background) {
  TFont font;
  font.Assign(Font());
  font.SetColor(clNone);
  TBrush brush;
  brush.SetColor(Background);
  TAlignment ha = taLeftJustify;
  TVAlignment va = vtaTop;
  bool ww = false;
  ExportCellLook(ACol, ARow, &brush, &font, ha, va, ww);
  std::vector<String> items;
  const bool color = FHTMLSettings->SaveColor();
  if (brush.Color() != clNone && color) items.push_back(u"background-color: #" + ColorToHex(ColorToRGB(brush.Color())));
  if (font.Color() != clNone && color) items.push_back(u"color: #" + ColorToHex(ColorToRGB(font.Color())));
  items.push_back(u"font-size:" + IntToStr(font.Size()) + u"pt");
  if (font.Style().Contains(fsItalic)) items.push_back(u"font-style: italic");
  if (font.Style().Contains(fsBold)) items.push_back(u"font-weight: bold");
  items.push_back(u"font-family: " + font.Name());
  if (ha == taRightJustify) items.push_back(u"text-align: right");
  if (ha == taCenter) items.push_back(u"text-align: center");
  items.push_back(va == vtaTop ? u"vertical-align: top" : va == vtaCenter ? u"vertical-align: middle" : u"vertical-align: bottom");
  String s;
  for (size_t i = 0; i < items.size(); ++i) s += (i ? u";" : u"") + items[i];
  return s;
}

String DEreDuzeroVaro::HtmlCellContent(int ACol, int ARow, const String& Text, const String& Dir, int& ImageNo) {
  if (!FHTMLSettings->ExportImages()) return Text;
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g) return Text;
  const bool xhtml = FHTMLSettings->XHTML();
  // Writes a picture as the next numbered JPEG file and gives its image tag.
  auto image = [&](TGraphic* G) -> String {
    if (!G || G->Empty()) return String();
    const String folder = Dir + u"images";
    if (!DirectoryExists(folder) && !CreateDir(folder)) throw VUreReriVorov(u"Cannot create " + folder);
    const String file = folder + u"/img" + IntToStr(++ImageNo) + u".jpg";
    if (auto* j = dynamic_cast<TJPEGImage*>(G)) {
      j->SaveToFile(file);
    } else {
      TBitmap bmp;
      bmp.SetWidth(G->Width());
      bmp.SetHeight(G->Height());
      bmp.Canvas()->Draw(0, 0, G);
      TJPEGImage jpeg;
      jpeg.Assign(&bmp);
      jpeg.SaveToFile(file);
    }
    return u"<img src= \"file://" + AttrText(file) + (xhtml ? u"\" />" : u"\">");
  };
  auto listImage = [&](int Index) -> String {
    TCustomImageList* il = GetImageList();
    if (!il || Index < 0 || Index >= il->Count()) return String();
    TBitmap bmp;
    il->GetBitmap(Index, &bmp);
    return image(&bmp);
  };
  switch (g->CellType()) {
    case ctBitmap: return Text + image(g->CellBitmap());
    case ctImageList: return listImage(g->CellIndex()) + Text;
    case ctDataImage: {
      int idx = 0;
      return TryStrToInt(Cells(ACol, ARow), idx) ? listImage(idx) : Text;
    }
    case ctImages: {
      if (!GetImageList() || !g->CellIntList()) return Text;
      String tags;
      for (int i = 0; i < g->CellIntList()->Count(); ++i) tags += listImage(g->CellIntList()->Items(i));
      return tags + Text;
    }
    case ctPicture: return Text + (g->CellPicture() ? image(g->CellPicture()->Graphic()) : String());
    case ctNode: return u"+" + Text;
    default: return Text;
  }
}

String DEreDuzeroVaro::SaveToHTMLString(const String& Dir) {
  THTMLSettings* hs = FHTMLSettings.get();
  const bool xhtml = hs->XHTML();
  // Markup names: upper case as HTML has them, lower case for XHTML.
  auto tag = [xhtml](const char16_t* Name) { return xhtml ? LowerCase(Name) : String(Name); };
  const String nbsp = xhtml ? u"&#160;" : u"&nbsp;";
  int fc = FixedCols(), fr = FixedRows();
  if (SaveFixedCells() || SaveFixedCols()) fc = 0;
  if (SaveFixedCells() || SaveFixedRows()) fr = 0;
  std::vector<String> styles, lines;
  auto styleNo = [&styles](const String& S) {
    auto it = std::find(styles.begin(), styles.end(), S);
    if (it != styles.end()) return static_cast<int>(it - styles.begin());
    styles.push_back(S);
    return static_cast<int>(styles.size()) - 1;
  };
  // Cell text: XHTML escapes texts that carry no markup of their own.
  auto cellText = [&](String T, bool Body) {
    const String original = T;
    if ((Body && hs->ConvertSpecialChars()) || (xhtml && !HasTags(T))) T = xhtml ? AttrText(T) : EncodeHtmlEntities(T);
    if (Body && hs->NonBreakingText()) T = StringReplace(T, u" ", nbsp, {rfReplaceAll});
    T = LineBreaksToHtml(T);
    if (xhtml) T = StringReplace(T, u"<br>", u"<br />", {rfReplaceAll});
    if (URLShow()) T = LinkText(T, original, URLFull());
    return T;
  };
  auto spans = [&](int C, int R) {
    String s;
    TPoint sp = CellSpan(C, R);
    if (sp.X > 0) s += u" " + tag(u"COLSPAN") + u"=\"" + IntToStr(sp.X + 1) + u"\"";
    if (sp.Y > 0) s += u" " + tag(u"ROWSPAN") + u"=\"" + IntToStr(sp.Y + 1) + u"\"";
    return s;
  };
  auto nowrap = [&](int C, int R) {
    TFont font;
    TBrush brush;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool ww = WordWrap();
    ExportCellLook(C, R, &brush, &font, ha, va, ww);
    return ww ? String() : xhtml ? String(u" nowrap=\"nowrap\"") : String(u" nowrap");
  };

  String prefix;
  if (xhtml)
    prefix = u"<?xml version=\"1.0\" encoding=\"utf-8\"?>" + kCRLF +
             u"<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\"" + kCRLF +
             u"\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">" + kCRLF +
             u"<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"en\" lang=\"en\">" + kCRLF;
  prefix += hs->PrefixTag();
  lines.push_back(u"<" + tag(u"TABLE") + u" " + tag(u"BORDER") + u"=\"" + IntToStr(hs->BorderSize()) + u"\" " +
                  tag(u"CELLSPACING") + u"=\"" + IntToStr(hs->CellSpacing()) + u"\" " + tag(u"CELLPADDING") + u"=\"" +
                  IntToStr(hs->CellPadding()) + u"\" " +
                  (hs->Summary().empty() ? String() : tag(u"SUMMARY") + u"=\"" + AttrText(hs->Summary()) + u"\" ") +
                  (hs->TableStyle().empty() ? String() : u" " + hs->TableStyle() + u" ") + u" " + tag(u"WIDTH") + u"=\"" +
                  IntToStr(hs->Width()) + u"%\">");
  TIntList* widths = hs->ColWidths();
  int imageNo = 0;
  const bool headerRow = FixedRows() > 0 && (SaveFixedCells() || SaveFixedRows());
  auto cell = [&](int C, int R, const String& Content, const String& Width, TColor Background) {
    lines.push_back(u"<" + tag(u"TD") + u" class=\"c" + IntToStr(styleNo(HtmlStyle(C, R, Background))) + u"\"" + spans(C, R) +
                    nowrap(C, R) + Width + u">" + Content + u"</td>");
  };
  if (headerRow) {
    lines.push_back(u"<" + tag(u"TR") + u">");
    for (int j = fc; j < ColCount(); ++j) {
      if (!IsBaseCell(j, 0)) continue;
      String t = cellText(GetSaveCellText(RealColIndex(j), 0), false);
      if (t.empty()) t = nbsp;
      String w = widths && j < widths->Count() ? u" " + tag(u"WIDTH") + u"=\"" + IntToStr(widths->Items(j)) + u"\"" : String();
      cell(j, 0, t, w, FixedColor());
    }
    lines.push_back(u"</" + tag(u"TR") + u">");
  }
  const int first = headerRow ? 1 : fr;
  ExportNotification(esExportStart, first);
  for (int r = first; r < RowCount(); ++r) {
    ExportNotification(esExportNextRow, r);
    lines.push_back(u"<" + tag(u"TR") + u">");
    for (int k = fc; k < ColCount(); ++k) {
      if (!IsBaseCell(k, r)) continue;
      String t = cellText(GetSaveCellText(RealColIndex(k), r), true);
      if (Trim(t).empty()) t = nbsp;
      t = HtmlCellContent(RealColIndex(k), r, t == nbsp ? String() : t, Dir, imageNo);
      if (t.empty()) t = nbsp;
      String w = !headerRow && widths && k - fc < widths->Count()
                     ? u" " + tag(u"WIDTH") + u"=\"" + IntToStr(widths->Items(k - fc)) + u"\"" : String();
      cell(k, r, t, w, clNone);
    }
    lines.push_back(u"</" + tag(u"TR") + u">");
  }
  ExportNotification(esExportDone, -1);
  lines.push_back(u"</" + tag(u"TABLE") + u">");
  if (!hs->SuffixTag().empty()) lines.push_back(hs->SuffixTag());
  if (xhtml) lines.push_back(u"</html>");
  String out = prefix + u"<style>" + kCRLF;
  for (size_t i = 0; i < styles.size(); ++i) out += u".c" + IntToStr(static_cast<int>(i)) + u" {" + styles[i] + u"}" + kCRLF;
  out += u"</style>" + kCRLF;
  for (const String& l : lines) out += l + kCRLF;
  return out;
}

void DEreDuzeroVaro::WriteHTMLFile(const String& FileName, bool Show, bool Unicode, bool Append) {
  auto fileLines = [](const String& Name) { return DecodeTextFile(ReadFileBytes(Name, int64_t(64) << 20)); };
  String text;
  if (Append) {
    try {
      text = fileLines(FileName);
      if (!text.empty() && text.back() != u'\n') text += kCRLF;
    } catch (const Exception&) {
      text.clear();
    }
  }
  // Header and footer files are read before anything is written.
  if (!FHTMLSettings->HeaderFile().empty()) {
    text += fileLines(FHTMLSettings->HeaderFile());
    if (!text.empty() && text.back() != u'\n') text += kCRLF;
  }
  String footer;
  if (!FHTMLSettings->FooterFile().empty()) footer = fileLines(FHTMLSettings->FooterFile());
  String html = SaveToHTMLString(StringReplace(ExtractFilePath(FileName), u"\\", u"/", {rfReplaceAll}));
  if (Unicode && FHTMLSettings->XHTML())
    html = StringReplace(html, u"encoding=\"utf-8\"", u"encoding=\"utf-16\"", {});
  text += html + footer;
  if (!footer.empty() && footer.back() != u'\n') text += kCRLF;
  std::string bytes = Unicode ? EncodeTextFile(text, TTextFileEncoding::Utf16LE, true) : StringToUTF8(AsciiHtml(text));
  TFileStream fs(FileName, fmCreate);
  if (!bytes.empty()) fs.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  if (Show || FHTMLSettings->AutoPreview()) ShellExecute(0, u"open", FileName.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void DEreDuzeroVaro::SaveToHTML(const String& FileName, bool Show, bool Unicode) { WriteHTMLFile(FileName, Show, Unicode, false); }

void DEreDuzeroVaro::AppendToHTML(const String& FileName, bool Show, bool Unicode) { WriteHTMLFile(FileName, Show, Unicode, true); }

void DEreDuzeroVaro::CopyToClipBoardAsHTML() {
  const std::string html = StringToUTF8(SaveToHTMLString(String()));
  TClipboard* cb = Clipboard();
  cb->Open();
  try {
    cb->Clear();
    cb->SetAsBytes(RegisterClipboardFormat(u"HTML Format"), html);
    cb->SetAsText(UTF8ToString(html));
  } catch (...) {
    cb->Close();
    throw;
  }
  cb->Close();
}
