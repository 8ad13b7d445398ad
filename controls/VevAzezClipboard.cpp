// The clipboard's HTML envelope, links in cell text, the layered-window calls and the
// process-wide colours and version flag of the tagged text engine.
#include "controls/VevAzez.h"
#include "platform/ui/Graphics.h"
#include "platform/win/Modules.h"

namespace {

TColor HighlightBk = clHighlight;
TColor HighlightText = clHighlightText;

// Characters above 255 as "&#<code point>;", a surrogate pair as one reference.
String ToSingleByteChars(const String& S) {
  String Out;
  Out.reserve(S.size());
  for (size_t i = 0; i < S.size(); ++i) {
    uint32_t C = S[i];
    if (C <= 255) {
      Out += Char(C);
      continue;
    }
    if (C >= 0xD800 && C < 0xDC00 && i + 1 < S.size() && S[i + 1] >= 0xDC00 && S[i + 1] < 0xE000)
      C = 0x10000 + ((C - 0xD800) << 10) + (S[++i] - 0xDC00);
    Out += u"&#" + IntToStr(C) + u";";
  }
  return Out;
}

String EightDigits(const String& Name, int Value) { return Format(u"%s%.8d", {Name, Value}) + u"\r\n"; }

bool IsWebAddressChar(Char C) {
  if (C > 255) return false;
  if ((C >= u'0' && C <= u'9') || (C >= u'A' && C <= u'Z') || (C >= u'a' && C <= u'z')) return true;
  return String(u"%()-./:@\\_{}").find(C) != String::npos;
}

String ReplaceAll(String S, const String& From, const String& To) {
  for (size_t P = S.find(From); P != String::npos; P = S.find(From, P + To.size())) S.replace(P, From.size(), To);
  return S;
}

// An export of "USER32.DLL", or nullptr; the reference taken for the lookup is dropped again.
FARPROC User32Proc(const char* Name) {
  HMODULE User32 = LoadLibraryW(u"USER32.DLL");
  if (!User32) return nullptr;
  FARPROC Proc = GetProcAddress(User32, Name);
  FreeLibrary(User32);
  return Proc;
}

}  // namespace

void BuildClipboardHtml(String& S) {
  // Header 97 characters, document type line 62, head 115: the fragment starts at 274.
  const String Fragment = ToSingleByteChars(S);
  const int N = static_cast<int>(Fragment.size());
  S = u"Version:1.0\r\n" + EightDigits(u"StartHTML:", 97) + EightDigits(u"EndHTML:", N + 306) +
      EightDigits(u"StartFragment:", 274) + EightDigits(u"EndFragment:", N + 274) +
      u"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">" +
      u"<html><head><META http-equiv=Content-Type content=\"text/html; charset=iso-8859-1\"></head>"
      u"<body><!--StartFragment-->" +
      Fragment + u"<!--EndFragment--></body></html>";
}

bool LinkifyUrl(const String& S, const String& Prefix, String& Linked) {
  if (UpperCase(S).find(Prefix) == String::npos) return false;
  const String T = ReplaceAll(ReplaceAll(S, u"<", u"&lt;"), u">", u"&gt;");
  const size_t From = UpperCase(T).find(Prefix);
  size_t End = From;
  while (End < T.size() && IsWebAddressChar(T[End])) ++End;
  const String Url = T.substr(From, End - From);
  Linked = T.substr(0, From) + u"<a href=\"" + Url + u"\">" + Url + u"</a>" + T.substr(End);
  return true;
}

bool CallUpdateLayeredWindow(HWND Wnd, HDC DstDC, const POINT* DstPt, const SIZE* Size, HDC SrcDC,
                             const POINT* SrcPt, COLORREF Key, const BLENDFUNCTION* Blend, DWORD Flags) {
  auto Proc = reinterpret_cast<decltype(&::UpdateLayeredWindow)>(User32Proc("UpdateLayeredWindow"));
  if (!Proc) return true;
  return Proc(Wnd, DstDC, DstPt, Size, SrcDC, SrcPt, Key, Blend, Flags) != FALSE;
}

bool CallSetLayeredWindowAttributes(HWND Wnd, TColor Key, uint8_t Alpha, DWORD Flags) {
  auto Proc = reinterpret_cast<decltype(&::SetLayeredWindowAttributes)>(User32Proc("SetLayeredWindowAttributes"));
  if (!Proc) return true;
  return Proc(Wnd, static_cast<COLORREF>(Key), Alpha, Flags) != FALSE;
}

void SetHtmlHighlightColors(TColor BkColor, TColor TextColor) {
  HighlightBk = BkColor;
  HighlightText = TextColor;
}
TColor HtmlHighlightBkColor() { return HighlightBk; }
TColor HtmlHighlightTextColor() { return HighlightText; }

bool IsWinVersion51OrLater() {
  static const bool Flag = [] {
    OSVERSIONINFOW Info;
    if (!GetVersionExW(&Info)) return false;
    return Info.dwMajorVersion > 5 || (Info.dwMajorVersion == 5 && Info.dwMinorVersion >= 1);
  }();
  return Flag;
}
