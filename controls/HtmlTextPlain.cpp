// Plain-text views of mini-HTML text.
#include "controls/HtmlText.h"

String SpacesToNbsp(const String& Text) { return StringReplace(Text, u" ", u"&nbsp;", {rfReplaceAll}); }

String StripHtmlTags(const String& Text) {
  String Result;
  size_t From = 0;
  for (;;) {
    const size_t Open = Text.find(u'<', From);
    const size_t Close = Text.find(u'>', From);
    if (Open == String::npos || Close == String::npos || Close < Open) break;
    Result.append(Text, From, Open - From);
    From = Close + 1;
  }
  Result.append(Text, From, String::npos);
  return Result;
}

String HtmlToPlainText(const String& Text) {
  String S = StringReplace(Text, u"<BR>", u"\r\n", {rfReplaceAll, rfIgnoreCase});
  S = StringReplace(S, u"<HR>", u"\r\n", {rfReplaceAll, rfIgnoreCase});
  return StripHtmlTags(S);
}

int32_t VisibleToTextIndex(const String& Text, int32_t N) {
  int32_t Visible = 1;
  bool InTag = false;
  for (size_t I = 0; I < Text.size(); ++I) {
    if (Visible == N) return static_cast<int32_t>(I) + 1;
    if (Text[I] == u'<') InTag = true;
    if (!InTag) ++Visible;
    if (Text[I] == u'>') InTag = false;
  }
  return Visible == N ? static_cast<int32_t>(Text.size()) + 1 : 0;
}
