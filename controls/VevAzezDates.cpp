// Date parsing for the grid's sorting and pasting, and the filter-condition language.
#include "controls/VevAzez.h"

#include <algorithm>
#include <array>
#include <map>
#include <vector>

namespace {

bool ToInt(const String& S, int32_t& V) { return TryStrToInt(S, V); }

// Text of a zero-terminated pointer, up to its #0.
String FromZ(const Char* P) { return P ? String(P) : String(); }

// The hours, minutes and seconds of " h:n" or " h:n:s"; False when they are not a time.
bool ParseTimePart(const String& Time, int32_t& H, int32_t& N, int32_t& Sec) {
  const Char sep = GetTimeSeparator();
  int p = Pos(sep, Time);
  if (p == 0 || !ToInt(Copy(Time, 1, p - 1), H) || H > 23) return false;
  String rest = Copy(Time, p + 1);
  if (int q = Pos(sep, rest); q > 0) {
    if (!ToInt(Copy(rest, 1, q - 1), N) || !ToInt(Copy(rest, q + 1), Sec) || Sec > 60) return false;
  } else if (!ToInt(rest, N)) {
    return false;
  }
  return N <= 59;
}

// One comparison operand: from Start past blanks, up to a blank (inside quotes a blank after
// another character belongs to it unless BlankEnds), the end, or "&" / "|" outside quotes.
// An opening quote first and a closing quote last are dropped.
String ReadOperand(const String& P, size_t Start, bool BlankEnds) {
  size_t i = Start;
  while (i < P.size() && P[i] == u' ') ++i;
  String r;
  bool quoted = false;
  for (; i < P.size(); ++i) {
    const Char c = P[i];
    if (c == u'"') {
      quoted = !quoted;
    } else if (c == u' ') {
      if (BlankEnds || !quoted || r.empty()) break;
    } else if ((c == u'&' || c == u'|') && !quoted) {
      break;
    }
    r += c;
  }
  if (!r.empty() && r.front() == u'"') r.erase(0, 1);
  if (!r.empty() && r.back() == u'"') r.pop_back();
  return r;
}

// Compares Value with Operand as numbers, else as dates, else as ordinal text:
// < 0, 0 or > 0 as Value stands below, at or above Operand.
int CompareOperand(const String& Value, const String& Operand) {
  TDateTime vd = 0, od = 0;
  const bool vDate = ParseShortDateTime(Value, vd), oDate = ParseShortDateTime(Operand, od);
  TFormatSettings plain;
  plain.DecimalSeparator = u'.';
  double vn = 0, on = 0;
  const bool vNum = !vDate && TryStrToFloat(NormalizeDecimalText(Value.c_str()), vn, plain);
  const bool oNum = !oDate && TryStrToFloat(NormalizeDecimalText(Operand.c_str()), on, plain);
  if (vNum && oNum) return vn < on ? -1 : (vn > on ? 1 : 0);
  if (vDate && oDate) return vd < od ? -1 : (vd > od ? 1 : 0);
  return CompareStr(Value, Operand);
}

// Pure wildcard matching from P[pi] and V[vi].
bool MatchStars(const String& P, size_t pi, const String& V, size_t vi) {
  return MatchWildcards(P.data() + pi, P.size() - pi, V.data() + vi, V.size() - vi, false);
}

}  // namespace

bool MatchWildcards(const Char* P, size_t PN, const Char* V, size_t VN, bool FoldAscii) {
  auto unit = [FoldAscii](Char c) { return FoldAscii && c >= u'a' && c <= u'z' ? static_cast<Char>(c - 32) : c; };
  size_t pi = 0, vi = 0, star = String::npos, mark = 0;
  for (;;) {
    while (pi < PN && P[pi] == u'"') ++pi;
    if (pi < PN && P[pi] == u'*') {
      star = ++pi;
      mark = vi;
    } else if (vi == VN) {
      while (pi < PN && (P[pi] == u'*' || P[pi] == u'"')) ++pi;
      return pi == PN;
    } else if (pi < PN && (P[pi] == u'?' || P[pi] == unit(V[vi]))) {
      ++pi;
      ++vi;
    } else if (star != String::npos) {
      pi = star;
      vi = ++mark;
    } else {
      return false;
    }
  }
}

bool ParseShortDateTime(const String& Source, TDateTime& DT) {
  // The order of the first D, M and Y of the short date format gives the field order.
  const String fmt = UpperCase(GetShortDateFormat());
  std::array<Char, 3> order = {u'D', u'M', u'Y'};
  std::stable_sort(order.begin(), order.end(), [&fmt](Char a, Char b) { return Pos(a, fmt) < Pos(b, fmt); });
  const Char sep = GetDateSeparator();
  String S = Source;
  int32_t fields[3] = {0, 0, 0};
  for (int f = 0; f < 2; ++f) {
    int p = Pos(sep, S);
    if (p == 0 || !ToInt(Copy(S, 1, p - 1), fields[f])) return false;
    Delete(S, 1, p);
  }
  S = Trim(S);
  String time;
  if (int sp = Pos(u' ', S); sp > 0) {
    time = Copy(S, sp);
    S = Copy(S, 1, sp - 1);
  }
  if (!ToInt(S, fields[2])) return false;
  int32_t day = 0, month = 0, year = 0;
  for (int f = 0; f < 3; ++f) {
    (order[f] == u'D' ? day : order[f] == u'M' ? month : year) = fields[f];
  }
  if (day > 31 || month > 12) return false;
  int32_t h = 0, n = 0, sec = 0;
  bool ok = true;
  if (!time.empty()) {
    // A time part without a time separator still yields the date at midnight.
    if (Pos(GetTimeSeparator(), time) == 0) {
      ok = false;
    } else if (!ParseTimePart(time, h, n, sec)) {
      return false;
    }
  }
  TDateTime d, t;
  if (!TryEncodeDate(year, month, day, d) || !TryEncodeTime(h, n, sec, 0, t)) return false;
  DT = d + t;
  return ok;
}

namespace {

TDateTime ParseDateFields(const String& Source, bool MonthFirst) {
  String S = Source;
  int p = Pos(u'/', S);
  if (p == 0) p = Pos(u'.', S);
  if (p == 0) p = Pos(u'-', S);
  if (p == 0) return 0;
  const Char sep = S[p - 1];
  int32_t first, second, year;
  if (!ToInt(Copy(S, 1, p - 1), first)) return 0;
  Delete(S, 1, p);
  int q = Pos(sep, S);
  if (q == 0 || !ToInt(Copy(S, 1, q - 1), second) || !ToInt(Copy(S, q + 1), year)) return 0;
  if (year >= 0 && year <= 25) {
    year += 2000;
  } else if (year >= 26 && year <= 99) {
    year += 1900;
  }
  return MonthFirst ? EncodeDate(year, first, second) : EncodeDate(year, second, first);
}

}  // namespace

TDateTime ParseDateMDY(const String& S) { return ParseDateFields(S, true); }

TDateTime ParseDateDMY(const String& S) { return ParseDateFields(S, false); }

bool LooksLikeDate(const String& S) {
  const Char sep = GetDateSeparator();
  int p = Pos(sep, S);
  return p > 1 && Pos(sep, S, p + 2) > 0;
}

TDateTime AdvanceDate(uint16_t Years, uint16_t Months, uint16_t Days, TDateTime Date, double Delta) {
  uint16_t y, m, d;
  DecodeDate(Date, y, m, d);
  if (Days != 0 && Years == 0 && Months == 0) return Date + Days;
  if (Years != 0 && Months == 0 && Days == 0) return EncodeDate(uint16_t(y + Years), m, d);
  if (Months != 0 && Years == 0 && Days == 0) {
    int32_t year = y;
    uint16_t month = uint16_t(m + Months);
    if (month == 0) {
      month = 12;
      --year;
    } else if (month > 12) {
      month -= 12;
      ++year;
    }
    return EncodeDate(year, month, d);
  }
  return Date + Delta;
}

String RemoveSpacesOutsideQuotes(const String& S) {
  String r;
  int quotes = 0;
  for (Char c : S) {
    if (c == u'"') ++quotes;
    if (c != u' ' || quotes % 2 == 1) r += c;
  }
  return r;
}

int FindClosingParen(const String& S) {
  int open = 0, close = 0;
  for (size_t i = 0; i < S.size(); ++i) {
    if (S[i] == u'(') ++open;
    if (S[i] == u')' && ++close == open) return static_cast<int>(i) + 1;
  }
  return 0;
}

namespace {

// Groups nested deeper than any typed condition are refused rather than recursed into
// until the stack runs out.
constexpr int kMaxGroupDepth = 256;

bool MatchCondition(const String& Condition, const String& Value, bool CaseSensitive, int Depth) {
  String C = RemoveSpacesOutsideQuotes(Trim(Condition));
  if (!C.empty() && C[0] == u'=') C.erase(0, 1);
  static const TCharSet kOperators = {u'(', u';', u'^', u'&', u'|'};
  bool acc = true;
  Char prev = 0;
  auto combine = [&acc, &prev](bool r) {
    if (prev == 0) {
      acc = r;
    } else if (prev == u'&') {
      acc = acc && r;
    } else if (prev == u';' || prev == u'^' || prev == u'|') {
      acc = acc || r;
    }
  };
  int p = 0;
  while (Char op = FindCharOutsideQuotes(kOperators, C, p)) {
    bool r;
    if (C[0] == u'(') {
      int e = FindClosingParen(C);
      // A group that is never closed is no valid condition.
      if (e == 0 || Depth >= kMaxGroupDepth) return false;
      r = MatchCondition(Copy(C, 2, e - 2), Value, CaseSensitive, Depth + 1);
      Delete(C, 1, e);
    } else {
      r = MatchFilterPart(Copy(C, 1, p - 1), Value, CaseSensitive);
      Delete(C, 1, p);
    }
    combine(r);
    prev = op;
  }
  combine(MatchFilterPart(C, Value, CaseSensitive));
  return acc;
}

}  // namespace

bool MatchFilterCondition(const String& Condition, const String& Value, bool CaseSensitive) {
  return MatchCondition(Condition, Value, CaseSensitive, 0);
}

bool MatchFilterPart(const String& Pattern, const String& Value, bool CaseSensitive) {
  if (CaseSensitive) return MatchFilterPattern(Pattern.c_str(), Value.c_str());
  return MatchFilterPattern(AnsiUpperCase(Pattern).c_str(), AnsiUpperCase(Value).c_str());
}

namespace {

// One pattern against one value. A "*" followed by a rest holding a comparison or "!" tries
// the rest (as a pattern of its own) on every tail of the value; each (rest, tail) pair is
// worked out at most once, so the cost stays polynomial however many stars the pattern holds.
class TPatternMatch {
public:
  TPatternMatch(const String& P, const String& V) : FP(P), FV(V) {}

  // The pattern from P[K] on against the value from V[T] on.
  bool Pattern(size_t K, size_t T) {
    bool gt = true, lt = true, hasGt = false, hasLt = false;
    const size_t gtAt = FP.find(u'>', K), ltAt = FP.find(u'<', K);
    if (gtAt != String::npos) {
      const bool inclusive = gtAt + 1 < FP.size() && FP[gtAt + 1] == u'=';
      const int c = Compared(gtAt, T, inclusive, false);
      gt = inclusive ? c >= 0 : c > 0;
      hasGt = true;
    }
    if (ltAt != String::npos) {
      const bool inclusive = ltAt + 1 < FP.size() && FP[ltAt + 1] == u'=';
      const int c = Compared(ltAt, T, inclusive, true);
      lt = inclusive ? c <= 0 : c < 0;
      hasLt = true;
    }
    if (FP.find(u'!', K) != String::npos) {
      if (gtAt == String::npos) hasGt = true;
      if (ltAt == String::npos) hasLt = true;
    }
    if (FP.find(u'^', K) != String::npos && (hasGt || hasLt)) return lt || gt;
    if (FP.find(u'&', K) != String::npos && hasGt && hasLt) return lt && gt;
    if (gtAt != String::npos && gt) return true;
    if (ltAt != String::npos && lt) return true;
    return Wildcards(K, T);
  }

private:
  // The wildcard walk: "!" negates, quotes match nothing, "*" any run, "?" one character.
  bool Wildcards(size_t pi, size_t vi) {
    const String& P = FP;
    const String& V = FV;
    bool match = true, negate = false;
    while (match && !(pi == P.size() && vi == V.size())) {
      const Char c = pi < P.size() ? P[pi] : Char(0);
      if (pi < P.size() && c == u'!') {
        negate = true;
        ++pi;
      } else if (pi < P.size() && c == u'"') {
        ++pi;
      } else if (pi < P.size() && c == u'*') {
        // A rest without comparisons or negation is a pure wildcard pattern: the same answer
        // as trying it on every tail, in one backtracking walk.
        if (P.find_first_of(u"<>!", pi) == String::npos) {
          match = MatchStars(P, pi, V, vi);
          break;
        }
        while (pi < P.size() && P[pi] == u'*') ++pi;
        match = AnyTail(pi, vi);
        break;
      } else if (pi < P.size() && c == u'?') {
        if (vi < V.size()) {
          ++pi;
          ++vi;
        } else {
          match = false;
        }
      } else if (pi < P.size() && vi < V.size() && c == V[vi]) {
        ++pi;
        ++vi;
      } else {
        match = false;
      }
    }
    return match != negate;
  }

  // Whether Pattern(K, t) holds for some tail t >= T. Worked out once per rest, from the
  // shortest tail up, so a star costs a look-up however often it is reached.
  bool AnyTail(size_t K, size_t T) {
    TTails& tails = FTails[K];
    if (tails.Any.empty()) {
      tails.Any.assign(FV.size() + 2, 0);
      tails.From = FV.size() + 1;
    }
    while (tails.From > T) {
      const size_t t = tails.From - 1;
      tails.Any[t] = tails.Any[t + 1] || Pattern(K, t);
      tails.From = t;
    }
    return tails.Any[T] != 0;
  }

  // The value's tail from T compared with the operand after the comparison sign at At;
  // every rest ahead of the same sign shares it.
  int Compared(size_t At, size_t T, bool Inclusive, bool BlankEnds) {
    std::vector<int8_t>& known = FCompared[At];
    if (known.empty()) known.assign(FV.size() + 1, 2);
    if (known[T] == 2) {
      const int c = CompareOperand(FV.substr(T), ReadOperand(FP, Inclusive ? At + 2 : At + 1, BlankEnds));
      known[T] = int8_t(c < 0 ? -1 : (c > 0 ? 1 : 0));
    }
    return known[T];
  }

  struct TTails {
    std::vector<uint8_t> Any;  // Any[t]: some tail from t on matches
    size_t From = 0;           // Any is known from here on
  };
  const String& FP;
  const String& FV;
  std::map<size_t, TTails> FTails;
  std::map<size_t, std::vector<int8_t>> FCompared;
};

}  // namespace

bool MatchFilterPattern(const Char* PatternZ, const Char* ValueZ) {
  const String P = FromZ(PatternZ), V = FromZ(ValueZ);
  return TPatternMatch(P, V).Pattern(0, 0);
}
