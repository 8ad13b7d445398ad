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

String StripHashMarkers(const String& Text) {
  // One pass: each marker's '<' is left out and owes the removal of the first '>' after it
  // that an earlier marker has not taken. Removing a '>' can join a '<' before it with a '#'
  // after it into a new marker, which is then stripped as well.
  String S;
  S.reserve(Text.size());
  size_t Owed = 0;
  for (size_t I = 0; I < Text.size(); ++I) {
    const Char C = Text[I];
    const bool NextIsHash = I + 1 < Text.size() && Text[I + 1] == u'#';
    if (C == u'<' && NextIsHash) {
      ++Owed;
    } else if (C == u'>' && Owed > 0) {
      --Owed;
      if (NextIsHash && !S.empty() && S.back() == u'<') {
        S.pop_back();
        ++Owed;
      }
    } else {
      S += C;
    }
  }
  return S;
}

String LineBreaksToBrTags(const String& Text, bool KeepBreaks) {
  String S;
  for (const Char C : Text) {
    if (C == u'\r') {
      if (KeepBreaks) S += u"<BR>";
    } else if (C != u'\n') {
      S += C;
    }
  }
  return S;
}

String PasswordMask(const String& Text) { return String(Text.size(), u'*'); }

int32_t LeadingInt(const String& Text) {
  size_t I = 0;
  while (I < Text.size() && Text[I] == u' ') ++I;
  bool Negative = false;
  if (I < Text.size() && (Text[I] == u'-' || Text[I] == u'+')) Negative = Text[I++] == u'-';
  uint32_t Base = 10;
  if (I < Text.size() && (Text[I] == u'$' || Text[I] == u'x' || Text[I] == u'X')) {
    Base = 16;
    ++I;
  } else if (I + 1 < Text.size() && Text[I] == u'0' && (Text[I + 1] == u'x' || Text[I + 1] == u'X')) {
    Base = 16;
    I += 2;
  }
  uint32_t Value = 0;
  for (; I < Text.size(); ++I) {
    const Char C = Text[I];
    uint32_t Digit;
    if (C >= u'0' && C <= u'9')
      Digit = C - u'0';
    else if (Base == 16 && C >= u'a' && C <= u'f')
      Digit = C - u'a' + 10;
    else if (Base == 16 && C >= u'A' && C <= u'F')
      Digit = C - u'A' + 10;
    else
      break;
    Value = Value * Base + Digit;
  }
  return static_cast<int32_t>(Negative ? 0u - Value : Value);
}
