// Entity escaping and the CONTROL tags embedded in mini-HTML text.
#include "controls/HtmlText.h"

#include <vector>

namespace {

struct TEntity {
  const char16_t* Name;
  Char Ch;
};

// The markup characters first, then the letters and symbols in the order the encoder
// tries them.
const TEntity Entities[] = {
    {u"&lt;", u'<'},        {u"&gt;", u'>'},        {u"&amp;", u'&'},       {u"&quot;", u'"'},
    {u"&eacute;", 0xE9},    {u"&egrave;", 0xE8},    {u"&euml;", 0xEB},      {u"&ecirc;", 0xEA},
    {u"&oacute;", 0xF3},    {u"&ograve;", 0xF2},    {u"&ouml;", 0xF6},      {u"&ocirc;", 0xF4},
    {u"&iacute;", 0xED},    {u"&igrave;", 0xEC},    {u"&iuml;", 0xEF},      {u"&icirc;", 0xEE},
    {u"&uacute;", 0xFA},    {u"&ugrave;", 0xF9},    {u"&uuml;", 0xFC},      {u"&ucirc;", 0xFB},
    {u"&aacute;", 0xE1},    {u"&agrave;", 0xE0},    {u"&auml;", 0xE4},      {u"&acirc;", 0xE2},
    {u"&Eacute;", 0xC9},    {u"&Egrave;", 0xC8},    {u"&Euml;", 0xCB},      {u"&Ecirc;", 0xCA},
    {u"&Oacute;", 0xD3},    {u"&Ograve;", 0xD2},    {u"&Ouml;", 0xD6},      {u"&Ocirc;", 0xD4},
    {u"&Iacute;", 0xCD},    {u"&Igrave;", 0xCC},    {u"&Iuml;", 0xCF},      {u"&Icirc;", 0xCE},
    {u"&Uacute;", 0xDA},    {u"&Ugrave;", 0xD9},    {u"&Uuml;", 0xDC},      {u"&Ucirc;", 0xDB},
    {u"&Aacute;", 0xC1},    {u"&Agrave;", 0xC0},    {u"&Auml;", 0xC4},      {u"&Acirc;", 0xC2},
    {u"&ccedil;", 0xE7},    {u"&Ccedil;", 0xC7},    {u"&oslash;", 0xF8},    {u"&Oslash;", 0xD8},
    {u"&aring;", 0xE5},     {u"&Aring;", 0xC5},     {u"&copy;", 0xA9},      {u"&reg;", 0xAE},
    {u"&euro;", 0x20AC},    {u"&laquo;", 0xAB},     {u"&raquo;", 0xBB},
};

// The named entities DrawHtmlText shows; '&' stays prefix-escaped for the text output.
const TEntity SymbolEntities[] = {
    {u"&amp;", 0},          {u"&quot;", u'"'},  {u"&sect;", 0xA7},  {u"&permil;", 0x2030}, {u"&reg;", 0xAE},
    {u"&copy;", 0xA9},      {u"&para;", 0xB6},  {u"&trade;", 0x2122}, {u"&euro;", 0x20AC},
};

bool SameNoCase(const String& Text, size_t At, std::u16string_view Name) {
  if (Text.size() - At < Name.size()) return false;
  for (size_t K = 0; K < Name.size(); ++K) {
    Char C = Text[At + K];
    if (C >= u'A' && C <= u'Z') C = static_cast<Char>(C + 32);
    if (C != Name[K]) return false;
  }
  return true;
}

// One left-to-right pass: each entity of Table (a character 0 stands for "&&") becomes its
// character, and what decoding produced is never read again. SkipTags leaves the text from
// each '<' to its '>' as written, so attribute values keep their quotes; "<#" markers are
// shown text and are decoded.
template <size_t N>
String DecodeEntities(const String& Text, const TEntity (&Table)[N], bool IgnoreCase, bool SkipTags) {
  String R;
  R.reserve(Text.size());
  size_t I = 0;
  while (I < Text.size()) {
    if (SkipTags && Text[I] == u'<' && (I + 1 == Text.size() || Text[I + 1] != u'#')) {
      const size_t Close = Text.find(u'>', I);
      const size_t End = Close == String::npos ? Text.size() : Close + 1;
      R.append(Text, I, End - I);
      I = End;
      continue;
    }
    bool Matched = false;
    if (Text[I] == u'&') {
      for (const TEntity& E : Table) {
        const std::u16string_view Name(E.Name);
        if (IgnoreCase ? SameNoCase(Text, I, Name) : Text.compare(I, Name.size(), Name) == 0) {
          if (E.Ch == 0)
            R += u"&&";
          else
            R += E.Ch;
          I += Name.size();
          Matched = true;
          break;
        }
      }
    }
    if (!Matched) R += Text[I++];
  }
  return R;
}

const String ControlStart = u"<CONTROL ";

// Start (0-based index of '<') and length, '>' included, of the first CONTROL tag at or
// after From; false when none is left. A "<CONTROL " without a closing '>' is no tag.
bool NextControlTag(const String& Text, size_t From, size_t& Start, size_t& Len) {
  if (From >= Text.size()) return false;
  const int32_t P = PosNoCase(ControlStart, Text.substr(From));
  if (P == 0) return false;
  Start = From + static_cast<size_t>(P) - 1;
  const size_t Close = Text.find(u'>', Start);
  if (Close == String::npos) return false;
  Len = Close - Start + 1;
  return true;
}

String AttributeValue(const String& Tag, const String& Upper, const String& Name) {
  const size_t At = Upper.find(Name);
  if (At == String::npos) return String();
  const size_t Open = Tag.find(u'"', At);
  if (Open == String::npos) return String();
  const size_t Close = Tag.find(u'"', Open + 1);
  if (Close == String::npos) return String();
  return Tag.substr(Open + 1, Close - Open - 1);
}

String Attribute(const String& Name, const String& Value) {
  return u" " + Name + u"=\"" + Value + u"\"";
}

struct TControlTag {
  String Type, ID, Value, Width, Height, Prop, MaxLen;
};

TControlTag ParseTagAt(const String& Text, size_t Start, size_t Len) {
  TControlTag T;
  ParseControlTag(Text.substr(Start + 1, Len - 1), T.Type, T.ID, T.Value, T.Width, T.Height, T.Prop,
                  T.MaxLen);
  return T;
}

// Calls Visit with each CONTROL tag in order until it returns true; false when none did.
template <typename F>
bool ForEachControl(const String& Text, F Visit) {
  size_t Start = 0, Len = 0, From = 0;
  while (NextControlTag(Text, From, Start, Len)) {
    if (Visit(ParseTagAt(Text, Start, Len), Start, Len)) return true;
    From = Start + Len;
  }
  return false;
}

// The first CONTROL tag whose ID is ID; its text runs after the '<' up to the '>'.
bool FindControlById(const String& Text, const String& ID, size_t& Start, size_t& Len) {
  return ForEachControl(Text, [&](const TControlTag& T, size_t S, size_t L) {
    Start = S;
    Len = L;
    return T.ID == ID;
  });
}

}  // namespace

String DecodeHtmlEntities(const String& Text) { return DecodeEntities(Text, Entities, false, false); }

String DecodeHtmlSymbolEntities(const String& Text) { return DecodeEntities(Text, SymbolEntities, true, true); }

String EncodeHtmlEntities(const String& Text) {
  String R;
  R.reserve(Text.size());
  for (const Char C : Text) {
    const TEntity* Found = nullptr;
    for (const TEntity& E : Entities)
      if (E.Ch == C) {
        Found = &E;
        break;
      }
    if (Found)
      R += Found->Name;
    else
      R += C;
  }
  return R;
}

int32_t PosNoCase(const String& Sub, const String& S) {
  return Pos(UpperCase(Sub), UpperCase(S));
}

bool ReplaceFirstNoCase(const String& Find, const String& Replacement, String& S) {
  const int32_t P = PosNoCase(Find, S);
  if (P == 0 || Find.empty()) return false;
  S.replace(static_cast<size_t>(P) - 1, Find.size(), Replacement);
  return true;
}

void ParseControlTag(const String& Tag, String& Type, String& ID, String& Value, String& Width,
                     String& Height, String& Prop, String& MaxLen) {
  const String Upper = UpperCase(Tag);
  Type = UpperCase(AttributeValue(Tag, Upper, u"TYPE="));
  Width = AttributeValue(Tag, Upper, u"WIDTH=");
  Height = AttributeValue(Tag, Upper, u"HEIGHT=");
  ID = AttributeValue(Tag, Upper, u"ID=");
  Value = DecodeHtmlEntities(AttributeValue(Tag, Upper, u"VALUE="));
  Prop = DecodeHtmlEntities(AttributeValue(Tag, Upper, u"PROP="));
  MaxLen = AttributeValue(Tag, Upper, u"MAXLEN=");
}

bool GetHtmlControlValue(const String& Text, const String& ID, String& Value) {
  size_t Start = 0, Len = 0;
  if (!FindControlById(Text, ID, Start, Len)) return false;
  Value = ParseTagAt(Text, Start, Len).Value;
  return true;
}

bool SetHtmlControlValue(String& Text, const String& ID, const String& Value) {
  size_t Start = 0, Len = 0;
  if (!FindControlById(Text, ID, Start, Len)) return false;
  const TControlTag T = ParseTagAt(Text, Start, Len);
  String Tag = u"CONTROL" + Attribute(u"ID", ID) + Attribute(u"VALUE", EncodeHtmlEntities(Value)) +
               Attribute(u"WIDTH", T.Width);
  if (!T.Height.empty()) Tag += Attribute(u"HEIGHT", T.Height);
  Tag += Attribute(u"TYPE", T.Type);
  if (!T.Prop.empty()) Tag += Attribute(u"PROP", EncodeHtmlEntities(T.Prop));
  if (!T.MaxLen.empty()) Tag += Attribute(u"MAXLEN", T.MaxLen);
  // Everything between the '<' and the '>' is replaced; both brackets stay.
  Text.replace(Start + 1, Len - 2, Tag);
  return true;
}

String GetHtmlControlProp(const String& Text, const String& ID) {
  size_t Start = 0, Len = 0;
  if (!FindControlById(Text, ID, Start, Len)) return String();
  return ParseTagAt(Text, Start, Len).Prop;
}

bool HasHtmlControls(const String& Text) { return PosNoCase(u"<CONTROL", Text) > 0; }

String NextHtmlEditControlID(const String& Text, const String& ID) {
  bool Found = ID.empty();
  String Result;
  ForEachControl(Text, [&](const TControlTag& T, size_t, size_t) {
    if (Found && T.Type != u"BUTTON" && T.Type != u"CHECK" && T.Type != u"RADIO") {
      Result = T.ID;
      return true;
    }
    if (T.ID == ID) Found = true;
    return false;
  });
  return Result;
}

String ResetHtmlRadioControls(const String& Text) {
  std::vector<String> Ids;
  ForEachControl(Text, [&](const TControlTag& T, size_t, size_t) {
    if (T.Type == u"RADIO") Ids.push_back(T.ID);
    return false;
  });
  String Result = Text;
  for (const String& Id : Ids) SetHtmlControlValue(Result, Id, u"FALSE");
  return Result;
}

int32_t GetHtmlControlMaxLen(const String& Text, const String& ID) {
  size_t Start = 0, Len = 0;
  if (!FindControlById(Text, ID, Start, Len)) return 0;
  return LeadingInt(ParseTagAt(Text, Start, Len).MaxLen);
}
