// Typed views on cell texts, header texts and highlighting over a range.
#include "controls/HtmlText.h"
#include "controls/VevAzez.h"
#include "grid/AdvGrid.h"
#include "platform/rtl/SysUtils.h"

namespace {

// An optional sign and digits, nothing else; "" and "-" read 0.
int TextToInt(const String& Text) {
  String t = Trim(Text);
  if (t.empty() || t == u"-") return 0;
  size_t i = t[0] == u'-' || t[0] == u'+' ? 1 : 0;
  bool digits = i < t.size();
  for (size_t k = i; k < t.size(); ++k)
    if (t[k] < u'0' || t[k] > u'9') digits = false;
  int32_t v = 0;
  if (!digits || !TryStrToInt(t, v)) throw VUreReriVorov(u"Cell does not contain integer value");
  return v;
}

// Number formats are stripped (currency signs, thousand separators, parentheses, a unit
// after the number); a text with no digit at all that is not empty or "-" is no number.
double TextToFloat(const String& Text) {
  String t = StripNumberFormat(Text);
  if (t.empty() || t == u"-") {
    String s = Trim(Text);
    if (s.empty() || s == u"-") return 0;
    throw VUreReriVorov(u"Cell does not contain a float value");
  }
  TFormatSettings fs;
  fs.DecimalSeparator = u'.';
  double v = 0;
  if (!TryStrToFloat(t, v, fs)) throw VUreReriVorov(u"Cell does not contain a float value");
  return v;
}

}  // namespace

int DEreDuzeroVaro::Ints(int ACol, int ARow) { return TextToInt(Cells(ACol, ARow)); }

void DEreDuzeroVaro::SetInts(int ACol, int ARow, int Value) {
  SetCells(ACol, ARow, IntToStr(Value));
  if (FNumHidden > 0) RepaintCell(RealToDisplCol(ACol), ARow);
}

int DEreDuzeroVaro::AllInts(int ACol, int ARow) { return TextToInt(GetCellsEx(ACol, ARow)); }

void DEreDuzeroVaro::SetAllInts(int ACol, int ARow, int Value) { SetCellsEx(ACol, ARow, IntToStr(Value)); }

double DEreDuzeroVaro::Floats(int ACol, int ARow) { return TextToFloat(Cells(ACol, ARow)); }

void DEreDuzeroVaro::SetFloats(int ACol, int ARow, double Value) {
  SetCells(ACol, ARow, Format(FFloatFormat, {Value}));
}

double DEreDuzeroVaro::AllFloats(int ACol, int ARow) { return TextToFloat(GetCellsEx(ACol, ARow)); }

double DEreDuzeroVaro::FloatValueOf(const String& Text) { return TextToFloat(Text); }

void DEreDuzeroVaro::SetAllFloats(int ACol, int ARow, double Value) {
  SetCellsEx(ACol, ARow, Format(FFloatFormat, {Value}));
}

String DEreDuzeroVaro::ControlValues(int ACol, int ARow, const String& ID) {
  String v;
  return GetHtmlControlValue(Cells(ACol, ARow), ID, v) ? v : String();
}

void DEreDuzeroVaro::SetControlValues(int ACol, int ARow, const String& ID, const String& Value) {
  String t = Cells(ACol, ARow);
  if (SetHtmlControlValue(t, ID, Value)) SetCells(ACol, ARow, t);
}

int DEreDuzeroVaro::PrintColWidth(int ACol) {
  if (ACol < 0 || ACol >= static_cast<int>(MaxWidths.size())) throw VUreReriVorov(u"Columns is not in valid range");
  return MaxWidths[ACol];
}

int DEreDuzeroVaro::PrintColOffset(int ACol) {
  if (ACol < 0 || ACol >= static_cast<int>(Indents.size())) throw VUreReriVorov(u"Columns is not in valid range");
  return Indents[ACol];
}

void DEreDuzeroVaro::ClearColumnHeaders() {
  for (int c = 0; c < ColCount(); ++c) SetCells(c, 0, String());
}

void DEreDuzeroVaro::ClearRowHeaders() {
  for (int r = 0; r < RowCount(); ++r) SetCells(0, r, String());
}

void DEreDuzeroVaro::SetColumnHeaders(TStrings* Value) {
  // The list's change handler shows the headers again; the old ones go first.
  if (TCustomGrid::FixedRows() > 0) ClearColumnHeaders();
  FColumnHeaders->Assign(Value);
  ShowColumnHeaders();
}

void DEreDuzeroVaro::SetRowHeaders(TStrings* Value) {
  if (ComponentState().Contains(csDesigning) && FixedCols() > 0) ClearRowHeaders();
  FRowHeaders->Assign(Value);
  ShowRowHeaders();
}

void DEreDuzeroVaro::SetFixedFont(TFont* Value) {
  FFixedFont->Assign(Value);
  Invalidate();
}

void DEreDuzeroVaro::SetLookupItems(TStrings* Value) {
  if (Value != nullptr) FLookupItems->Assign(Value);
}

void DEreDuzeroVaro::HilightInRange(const String& AText, const String& ATag, int FromCol, int FromRow, int ToCol,
                                    int ToRow, bool DoCase) {
  for (int r = FromRow; r <= ToRow; ++r)
    for (int c = FromCol; c <= ToCol; ++c) {
      if (!IsBaseCell(c, r)) continue;
      String s = OnGetDisplText ? Cells(c, r) : GridCells(c, r);
      SetCells(c, r, HighlightHtmlText(s, AText, ATag, DoCase));
    }
}

void DEreDuzeroVaro::UnHilightInRange(const String& ATag, int FromCol, int FromRow, int ToCol, int ToRow) {
  for (int r = FromRow; r <= ToRow; ++r)
    for (int c = FromCol; c <= ToCol; ++c) {
      if (!IsBaseCell(c, r)) continue;
      String s = OnGetDisplText ? Cells(c, r) : GridCells(c, r);
      SetCells(c, r, UnhighlightHtmlText(s, ATag));
    }
}
