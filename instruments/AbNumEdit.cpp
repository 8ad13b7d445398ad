// The numeric edit.
#include "instruments/AbNumEdit.h"

#include <cmath>
#include <limits>

#include "instruments/_AbProc.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/WinUser.h"

namespace {

const String BasePrefixChars = u"$%&!";
const String ExponentChars = u"Ee";
const String SuffixChars = u"EPTGMkmunpfa";
const float SuffixMultipliers[] = {1E18f, 1E15f, 1E12f, 1E9f, 1E6f, 1E3f, 1E-3f, 1E-6f, 1E-9f, 1E-12f, 1E-15f, 1E-18f};

bool In(Char c, const String& set) { return set.find(c) != String::npos; }

struct TBaseTable {
  TBaseProperties Props[4];
  TBaseTable() {
    const String dec(1, FormatSettings.DecimalSeparator), thou(1, FormatSettings.ThousandSeparator);
    Props[ebBin] = {u"01", false, false, u"", -2147483647.0L, 2147483647.0L};
    Props[ebHex] = {u"0123456789abcdefABCDEF", false, false, u"", -2147483647.0L, 2147483647.0L};
    // The float minimum lies below every double, so it never raises a value.
    Props[ebFloat] = {u"0123456789" + dec + thou, true, true, u"+-", -std::numeric_limits<long double>::max(),
                      1.7E308L};
    Props[ebInt] = {u"0123456789" + thou, false, true, u"+-", -2147483647.0L, 2147483647.0L};
  }
};

}  // namespace

const TBaseProperties& BaseProperties(TEditBase Base) {
  static const TBaseTable table;
  return table.Props[Base];
}

TAbNumEdit::TAbNumEdit(TComponent* AOwner) : TCustomEdit(AOwner) {
  BaseProperties(ebFloat);  // the table takes the separators of the program's start
  SetWidth(65);
  SetText(u"0");  // swallowed by IgnoreChange, as the first change is
  SetTabStop(true);
}

TAbNumEdit::~TAbNumEdit() = default;

String TAbNumEdit::ValueText() const {
  switch (FEditBase) {
    case ebBin: return FValueAsBool;
    case ebHex: return FValueAsHex;
    case ebFloat: return FormatFloat(FFormatStr, FValue);
    case ebInt: return IntToStr(FValueAsInt);
  }
  return String();
}

void TAbNumEdit::SetEditBase(TEditBase Value) {
  if (Value == FEditBase) return;
  FEditBase = Value;
  SetText(ValueText());
  FOldText = Text();
  SetEditState(esNormal);
}

void TAbNumEdit::SetValue(double Value) {
  if (Value != FValue) ApplyValue(ClampToLimits(Value));
}

void TAbNumEdit::SetValueAsInt(int32_t Value) {
  if (IntToStr(Value) != Text()) ApplyValue(Value);
}

void TAbNumEdit::SetValueAsSingle(float Value) {
  if (FormatFloat(FFormatStr, Value) != Text()) ApplyValue(Value);
}

void TAbNumEdit::SetValueAsHex(const String& Value) {
  if (Value == Text()) return;
  SetText(FEditBase == ebHex ? Value : u"$" + Value);
  Validate(true);
}

void TAbNumEdit::SetValueAsBool(const String& Value) {
  if (Value == Text()) return;
  SetText(FEditBase == ebBin ? Value : u"&" + Value);
  Validate(true);
}

void TAbNumEdit::SetMinValue(double Value) {
  if (Value == FMinValue) return;
  FMinValue = Value;
  Validate(true);
}

void TAbNumEdit::SetMaxValue(double Value) {
  if (Value == FMaxValue) return;
  FMaxValue = Value;
  Validate(true);
}

void TAbNumEdit::SetOptions(const TNumEditOptions& Value) {
  if (Value == FOptions) return;
  FOptions = Value;
  Validate(true);
}

void TAbNumEdit::SetFormatStr(const String& Value) {
  if (Value == FFormatStr) return;
  FFormatStr = Value;
  if (FEditBase == ebFloat) SetText(FormatFloat(FFormatStr, FValue));
  Validate(true);
}

void TAbNumEdit::SetColorDefault(TColor Value) {
  FColorDefault = Value;
  SetColor(Value);
}

void TAbNumEdit::SetLimitUp(bool Value) {
  if (Value == FLimitUp) return;
  FLimitUp = Value;
  DoLimit();
}

void TAbNumEdit::SetLimitLo(bool Value) {
  if (Value == FLimitLo) return;
  FLimitLo = Value;
  DoLimit();
}

void TAbNumEdit::DoLimit() {
  if (OnLimit) OnLimit(this);
}

void TAbNumEdit::SetEditState(TNumEditState State) {
  if (State == FState) return;
  FState = State;
  switch (State) {
    case esNormal: SetColor(FColorDefault); break;
    case esEditing: SetColor(FColorEditing); break;
    case esError:
      SetColor(FColorError);
      Repaint();  // show the colour before the beep
      MessageBeep(0);
      break;
  }
}

double TAbNumEdit::ClampToLimits(double x) {
  if (FOptions.Contains(eoLimitMin)) {
    SetLimitLo(x <= FMinValue);
    if (x <= FMinValue) x = FMinValue;
  }
  if (!FOptions.Contains(eoLimitMax)) return x;
  SetLimitUp(x >= FMaxValue);
  if (x >= FMaxValue) x = FMaxValue;
  return x;
}

void TAbNumEdit::ApplyValue(long double x) {
  const TBaseProperties& p = BaseProperties(FEditBase);
  if (x < p.MinValue) x = p.MinValue;
  if (x > p.MaxValue) x = p.MaxValue;
  if (x > 3.4E38L) FValueAsSingle = 3.4E38f;
  else if (x < -3.4E38L) FValueAsSingle = -std::numeric_limits<float>::infinity();
  else FValueAsSingle = static_cast<float>(x);
  if (x >= 2147483647.0L) FValueAsInt = 2147483647;
  else if (x <= -2147483647.0L) FValueAsInt = -2147483647;
  else FValueAsInt = static_cast<int32_t>(std::nearbyint(x));  // ties to even
  FValue = static_cast<double>(x);
  FValueAsHex = IntToHex(FValueAsInt, FDigitsHex);
  FValueAsBool = IntToBinStr(FValueAsInt, FDigitsBool);
  SetText(ValueText());
  SetEditState(esNormal);
  if (!FirstDraw && OnValueChanged && Text() != FOldText) OnValueChanged(this);
  FOldText = Text();
}

bool TAbNumEdit::Validate(bool Apply) {
  String text = Text();
  if (text.empty()) {
    SetEditState(esEditing);
    return true;
  }
  const int len = static_cast<int>(text.size());
  auto at = [&](int pos) { return text[pos - 1]; };  // 1-based
  int start = In(at(1), BasePrefixChars) ? 2 : 1;
  int end = len;
  TEditBase base = FEditBase;
  switch (at(1)) {
    case u'!': base = ebFloat; break;
    case u'$': base = ebHex; break;
    case u'%': base = ebInt; break;
    case u'&': base = ebBin; break;
    default: break;
  }
  const TBaseProperties& p = BaseProperties(base);
  float mult = 1.0f;
  if (p.MultiEnable && end >= start && In(at(end), SuffixChars)) {
    mult = SuffixMultipliers[SuffixChars.find(at(end))];
    if (base == ebFloat || mult > 1) --end;
    else mult = 1.0f;
  }
  String body = end >= start ? text.substr(start - 1, end - start + 1) : String();

  int firstBad = 0, lastBad = 0;
  auto bad = [&](int pos) {
    if (firstBad == 0) firstBad = pos;
    lastBad = pos;
  };
  if (!body.empty()) {
    int signLen = In(at(start), p.Sign) ? 1 : 0;
    int expAt = 0;
    for (int i = start + signLen; i <= end; ++i) {
      if (p.ExpEnable && In(at(i), ExponentChars)) {
        expAt = i;
        break;
      }
      if (!In(at(i), p.ValidChars)) bad(i);
    }
    if (expAt) {
      int expSign = expAt + 1 <= end && In(at(expAt + 1), p.Sign) ? 1 : 0;
      for (int i = expAt + 1 + expSign; i <= end; ++i)
        if (!In(at(i), p.ValidChars)) bad(i);
    }
    bool seenSep = false;
    for (int i = start; i <= end; ++i) {
      if (at(i) != FormatSettings.DecimalSeparator) continue;
      if (seenSep) {
        if (firstBad == 0) firstBad = i;
        lastBad = std::max(lastBad, i);
      }
      seenSep = true;
    }
  }
  auto fail = [&](int from, int to) {
    SetEditState(esError);
    if (Enabled() && Visible() && CanFocus() && !Focused()) SetFocus();
    Select(from - 1, to - from + 1);
    return false;
  };
  if (firstBad >= 1) return fail(firstBad, lastBad);

  SetEditState(text == FOldText || Apply ? esNormal : esEditing);
  if (!body.empty() && body.find_first_not_of(p.Sign) == String::npos) body += u"0";
  if (p.ExpEnable && !body.empty() && In(body[0], ExponentChars)) body.insert(body.begin(), u'1');
  if (p.MultiEnable && mult != 1.0f && body.empty()) body.assign(1, u'1');
  body = RemoveChar(body, FormatSettings.ThousandSeparator);
  long double result = 0;
  if (!body.empty()) {
    try {
      switch (base) {
        case ebBin: result = static_cast<int32_t>(BinStrToCardinal(body)); break;
        case ebHex: result = StrToInt(u"$" + body); break;
        case ebFloat: result = StrToFloat(body); break;
        case ebInt: result = StrToInt(body); break;
      }
    } catch (const EConvertError&) {
      // Passes the character rules but is no number ("1E+", too many digits): a faulty entry.
      return fail(start, std::max(end, start));
    }
  }
  if (mult != 1.0f) result *= mult;
  if (Apply) ApplyValue(ClampToLimits(static_cast<double>(result)));
  return true;
}

void TAbNumEdit::Change() {
  if (IgnoreChange) {
    IgnoreChange = false;
    return;
  }
  Validate(FValueAsBool.empty());
}

void TAbNumEdit::UpClick(TObject*) {
  if (ReadOnly() || FLimitUp) {
    MessageBeep(0);
    return;
  }
  IgnoreChange = true;
  double v;
  if (FOptions.Contains(eoMultiply) && FEditBase == ebFloat && FIncrement != 0 && FValue != 0) v = FValue * FIncrement;
  else v = FValue + FIncrement;
  SetValue(ClampToLimits(v));
  IgnoreChange = false;  // a step that left the text as it was must not swallow the next edit
  if (OnChange) OnChange(this);
}

void TAbNumEdit::DownClick(TObject*) {
  if (ReadOnly() || FLimitLo) {
    MessageBeep(0);
    return;
  }
  IgnoreChange = true;
  double v;
  if (FOptions.Contains(eoMultiply) && FEditBase == ebFloat && FIncrement != 0 && FValue != 0) v = FValue / FIncrement;
  else v = FValue - FIncrement;
  SetValue(ClampToLimits(v));
  IgnoreChange = false;
  if (OnChange) OnChange(this);
}

void TAbNumEdit::KeyDown(Word& Key, TShiftState Shift) {
  if (Key == VK_UP && !FLimitUp) {
    UpClick(this);
  } else if (Key == VK_DOWN && !FLimitLo) {
    DownClick(this);
  } else {
    if (FState != esNormal && Key == VK_ESCAPE) SetText(ValueText());
    if (OnChange) OnChange(this);
  }
  TCustomEdit::KeyDown(Key, Shift);
}

void TAbNumEdit::KeyPress(Char& Key) {
  if (!FEditorEnabled) {
    Key = 0;
    MessageBeep(0);
    return;
  }
  if (Key == u'\r') {
    Key = 0;
    if (Text().empty()) SetText(u"0");
    Validate(true);
  }
  TCustomEdit::KeyPress(Key);
}

void TAbNumEdit::DoExit() {
  TCustomEdit::DoExit();
  if (Text().empty()) SetText(u"0");
  Validate(true);
}

void TAbNumEdit::CreateWnd() {
  TCustomEdit::CreateWnd();
  Validate(true);
}

void TAbNumEdit::Loaded() {
  TCustomEdit::Loaded();
  FOldText = Text();
  FirstDraw = false;
}

void TAbNumEdit::CMParentColorChanged(TMessage& Message) {
  TCustomEdit::CMParentColorChanged(Message);
  if (ParentColor()) SetColorDefault(Color());
}
