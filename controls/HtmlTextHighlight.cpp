// Wrapping search matches of mini-HTML text in highlight tags and taking them out again.
#include "controls/HtmlText.h"

namespace {

String EscapeBrackets(const String& S) {
  return StringReplace(StringReplace(S, u"<", u"&lt;", {rfReplaceAll}), u">", u"&gt;", {rfReplaceAll});
}

}  // namespace

int32_t PosFrom(const String& Sub, const String& S, int32_t Offset, bool CaseSensitive, int32_t& Pos) {
  const String Rest = Copy(S, Offset + 1);
  const int32_t P = CaseSensitive ? ::Pos(Sub, Rest) : ::Pos(AnsiUpperCase(Sub), AnsiUpperCase(Rest));
  Pos = P > 0 ? Offset + P : 0;
  return Pos;
}

String HighlightHtmlText(const String& Text, const String& Search, const String& Tag, bool CaseSensitive) {
  if (Search.empty()) return Text;
  String P = StripHtmlTags(Text);
  String W = Text;
  String S = Search;
  if (Text.find(Search) != String::npos && P.find_first_of(u"<>") != String::npos) {
    P = EscapeBrackets(P);
    W = P;
    S = EscapeBrackets(S);
  }
  int32_t Offset = 0, At = 0;
  while (PosFrom(S, P, Offset, CaseSensitive, At) > 0) {
    Offset = At + static_cast<int32_t>(S.size());
    const int32_t Open = VisibleToTextIndex(W, At);
    if (Open > 0) W.insert(static_cast<size_t>(Open) - 1, u"<" + Tag + u">");
    const int32_t Close = VisibleToTextIndex(W, Offset);
    if (Close > 0) W.insert(static_cast<size_t>(Close) - 1, u"</" + Tag + u">");
  }
  return W;
}

String UnhighlightHtmlText(const String& Text, const String& Tag) {
  const String T = UpperCase(Tag);
  String W = Text;
  while (ReplaceFirstNoCase(u"<" + T + u">", String(), W)) {
  }
  while (ReplaceFirstNoCase(u"</" + T + u">", String(), W)) {
  }
  return StringReplace(StringReplace(W, u"&lt;", u"<", {rfReplaceAll}), u"&gt;", u">", {rfReplaceAll});
}
