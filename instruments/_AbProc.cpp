// Number, string and geometry routines of the instrument controls.
#include "instruments/_AbProc.h"

#include <cmath>

#include "platform/rtl/SysUtils.h"

const String& AppDir() {
  static const String dir = ExtractFilePath(GetModuleFileName());
  return dir;
}

String IntToBinStr(int32_t Value, int32_t Digits) {
  if (Digits < 0) Digits = 0;
  uint32_t v = static_cast<uint32_t>(Value);
  String s;
  int bit = 0;
  for (;;) {
    uint32_t b = bit < 32 ? (v >> bit) & 1u : 0u;
    s.insert(s.begin(), b ? u'1' : u'0');
    ++bit;
    if (Digits == 0) {
      if (bit >= 32 || (v >> bit) == 0) break;
    } else if (bit > Digits) {
      break;
    }
  }
  return s;
}

uint32_t BinStrToCardinal(const String& S) {
  uint32_t r = 0;
  int n = static_cast<int>(S.size());
  for (int k = 0; k < n && k < 32; ++k)
    if (S[n - 1 - k] == u'1') r |= uint32_t(1) << k;
  return r;
}

int32_t BinStrToInt(const String& S) { return static_cast<int32_t>(BinStrToCardinal(S)); }

String RemoveChar(const String& S, Char Ch) {
  String r;
  r.reserve(S.size());
  for (Char c : S)
    if (c != Ch) r.push_back(c);
  return r;
}

int CountChar(const String& S, Char Ch) {
  int n = 0;
  for (Char c : S)
    if (c == Ch) ++n;
  return n;
}

void SplitFirst(String& S, Char Sep, String& Item) {
  size_t p = S.find(Sep);
  if (p == String::npos) {
    Item = S;
    S.clear();
  } else {
    Item = S.substr(0, p);
    S.erase(0, p + 1);
  }
}

double Log10Real(double X) { return std::log(X) / std::log(10.0); }

double PowerOf(double Exponent, double Base) { return std::exp(Exponent * std::log(Base)); }

double SnapToDecade(int& Exponent, double X) {
  if (X <= 0) X = 1;
  Exponent = static_cast<int>(Round(Log10Real(X)));
  return std::pow(10.0, Exponent);
}

int32_t RangeSpan(int32_t From, int32_t To) {
  if (From >= 0 && To <= 0) return 0;
  return To - From;
}

int32_t MaxOf(int32_t A, int32_t B) { return A > B ? A : B; }

String LinearLabelList(int Steps, const String& Format, float ValueA, float ValueB) {
  if (Steps < 1) Steps = 1;
  float step = (ValueB - ValueA) / Steps;
  String r;
  for (int k = 0; k <= Steps; ++k) {
    double v = ValueA + (Steps - k) * step;
    r += FormatFloat(Format, v) + u";";
  }
  return r;
}

String LogLabelList(int ExpFrom, int ExpTo, int Steps, const String& Format, bool Descending) {
  if (Steps <= 0) Steps = 1;
  int step = (ExpTo - ExpFrom) / Steps;
  if (step < 1) step = 1;  // more steps than decades would never advance
  String r;
  auto add = [&](int e) { r += FormatFloat(Format, std::pow(10.0, e)) + u";"; };
  if (Descending) {
    int e = ExpTo;
    add(e);
    while (e > ExpFrom) {
      e -= step;
      add(e);
    }
  } else {
    int e = ExpFrom;
    add(e);
    while (e < ExpTo) {
      e += step;
      add(e);
    }
  }
  return r;
}

bool PtInRectB(int X, int Y, const TRect& R) {
  return X >= R.Left && X < R.Right && Y >= R.Top && Y <= R.Bottom;
}

bool PtInCircle(int X, int Y, const TRect& R) {
  double cx = (R.Left + R.Right) / 2.0, cy = (R.Top + R.Bottom) / 2.0;
  double d = std::hypot(X - cx, Y - cy);
  return d <= R.Width() / 2.0;
}

void ShrinkRect(TRect& R, int N) { ShrinkRect4(R, N, N, N, N); }

void ShrinkRect4(TRect& R, int L, int T, int Rt, int B) {
  R.Left += L;
  R.Top += T;
  R.Right -= Rt;
  R.Bottom -= B;
}

TPoint RectCenter(const TRect& R) {
  return TPoint(R.Left + (R.Right - R.Left) / 2, R.Top + (R.Bottom - R.Top) / 2);
}

TPoint RotatePoint(TPoint P, TPoint Center, bool Clockwise, double Angle) {
  float a = static_cast<float>(Angle * M_PI / 180.0);
  double c = std::cos(a), s = std::sin(a);
  double dx = P.X - Center.X, dy = P.Y - Center.Y;
  if (Clockwise)
    return TPoint(Center.X + static_cast<int>(Round(dx * c - dy * s)),
                  Center.Y + static_cast<int>(Round(dy * c + dx * s)));
  return TPoint(Center.X + static_cast<int>(Round(dx * c + dy * s)),
                Center.Y + static_cast<int>(Round(dy * c - dx * s)));
}
