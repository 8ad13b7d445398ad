// The print settings in one section of an ini file: Y/N flags, ordinals, decimal colours, font
// style bits and the title lines joined with the two characters "\n".
#include <memory>

#include "controls/VevAzez.h"
#include "grid/AdvGrid.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/SysUtils.h"

namespace {

String BoolToYN(bool Value) { return Value ? u"Y" : u"N"; }

bool YNToBool(TCustomIniFile& Ini, const String& Section, const String& Name, const String& Default) {
  return Ini.ReadString(Section, Name, Default) == u"Y";
}

int FontStyleBits(TFont* Font) {
  const TFontStyles& s = Font->Style();
  return (s.Contains(fsBold) ? 1 : 0) | (s.Contains(fsItalic) ? 2 : 0) | (s.Contains(fsUnderline) ? 4 : 0) |
         (s.Contains(fsStrikeOut) ? 8 : 0);
}

// Adds the styles of the bits to the font's current style; styles already on stay on.
void ApplyFontStyleBits(int Bits, TFont* Font) {
  TFontStyles s = Font->Style();
  if (Bits & 1) s.Include(fsBold);
  if (Bits & 2) s.Include(fsItalic);
  if (Bits & 4) s.Include(fsUnderline);
  if (Bits & 8) s.Include(fsStrikeOut);
  Font->SetStyle(s);
}

TPrintPosition IntToPrintPosition(int Value) {
  return Value >= 1 && Value <= 6 ? static_cast<TPrintPosition>(Value) : ppNone;
}

void WriteFont(TCustomIniFile& Ini, const String& Section, const String& Prefix, TFont* Font) {
  Ini.WriteString(Section, Prefix + u"Name", Font->Name());
  Ini.WriteInteger(Section, Prefix + u"Size", Font->Size());
  Ini.WriteInteger(Section, Prefix + u"Style", FontStyleBits(Font));
  Ini.WriteInteger(Section, Prefix + u"Color", Font->Color());
}

void ReadFont(TCustomIniFile& Ini, const String& Section, const String& Prefix, TFont* Font) {
  Font->SetName(Ini.ReadString(Section, Prefix + u"Name", u"Arial"));
  Font->SetSize(Ini.ReadInteger(Section, Prefix + u"Size", 10));
  ApplyFontStyleBits(Ini.ReadInteger(Section, Prefix + u"Style", 0), Font);
  Font->SetColor(Ini.ReadInteger(Section, Prefix + u"Color", 0));
}

}  // namespace

void DEreDuzeroVaro::SavePrintSettings(const String& Key, const String& Section) {
  TPrintSettings* ps = FPrintSettings.get();
  TMemIniFile ini(Key);
  ini.WriteInteger(Section, u"ColumnSpacing", ps->ColumnSpacing());
  ini.WriteInteger(Section, u"RowSpacing", ps->RowSpacing());
  ini.WriteInteger(Section, u"TitleSpacing", ps->TitleSpacing());
  ini.WriteInteger(Section, u"FixedHeight", ps->FixedHeight());
  ini.WriteInteger(Section, u"FixedWidth", ps->FixedWidth());
  ini.WriteString(Section, u"Centered", BoolToYN(ps->Centered()));
  ini.WriteString(Section, u"NoAutoSize", BoolToYN(ps->NoAutoSize()));
  ini.WriteString(Section, u"UseFixedHeight", BoolToYN(ps->UseFixedHeight()));
  ini.WriteString(Section, u"UseFixedWidth", BoolToYN(ps->UseFixedWidth()));
  ini.WriteString(Section, u"RepeatFixedRows", BoolToYN(ps->RepeatFixedRows()));
  ini.WriteString(Section, u"RepeatFixedCols", BoolToYN(ps->RepeatFixedCols()));
  ini.WriteString(Section, u"UseDisplFont", BoolToYN(ps->UseDisplayFont()));
  ini.WriteString(Section, u"UseDefOrientation", BoolToYN(ps->UseDefaultOrientation()));
  ini.WriteInteger(Section, u"Borders", ps->Borders());
  ini.WriteInteger(Section, u"BorderColor", ps->BorderColor());
  ini.WriteInteger(Section, u"BorderStyle", ps->BorderStyle());
  ini.WriteInteger(Section, u"Date", ps->Date());
  ini.WriteInteger(Section, u"PageNr", ps->PageNr());
  ini.WriteInteger(Section, u"Title", ps->Title());
  ini.WriteInteger(Section, u"Time", ps->Time());
  ini.WriteString(Section, u"DateFormat", ps->DateFormat());
  ini.WriteString(Section, u"TitleText", ps->TitleText());
  ini.WriteInteger(Section, u"FooterSize", ps->FooterSize());
  ini.WriteInteger(Section, u"HeaderSize", ps->HeaderSize());
  ini.WriteInteger(Section, u"LeftSize", ps->LeftSize());
  ini.WriteInteger(Section, u"RightSize", ps->RightSize());
  ini.WriteInteger(Section, u"FitToPage", ps->FitToPage());
  WriteFont(ini, Section, u"Font", ps->Font());
  WriteFont(ini, Section, u"HeaderFont", ps->HeaderFont());
  WriteFont(ini, Section, u"FooterFont", ps->FooterFont());
  ini.WriteString(Section, u"PageNumSep", ps->PageNumSep());
  ini.WriteString(Section, u"PageSuffix", ps->PageSuffix());
  ini.WriteString(Section, u"PagePrefix", ps->PagePrefix());
  ini.WriteInteger(Section, u"Orientation", ps->Orientation());
  ini.WriteString(Section, u"TitleLines", CRToBackslashN(ps->TitleLines()->Text()));
  ini.WriteString(Section, u"PrintGraphics", BoolToYN(ps->PrintGraphics()));
  ini.UpdateFile();
}

void DEreDuzeroVaro::LoadPrintSettings(const String& Key, const String& Section) {
  TPrintSettings* ps = FPrintSettings.get();
  TMemIniFile ini(Key);
  ps->SetColumnSpacing(ini.ReadInteger(Section, u"ColumnSpacing", 20));
  ps->SetRowSpacing(ini.ReadInteger(Section, u"RowSpacing", 20));
  ps->SetTitleSpacing(ini.ReadInteger(Section, u"TitleSpacing", 20));
  ps->SetFixedHeight(ini.ReadInteger(Section, u"FixedHeight", 0));
  ps->SetFixedWidth(ini.ReadInteger(Section, u"FixedWidth", 0));
  ps->SetCentered(YNToBool(ini, Section, u"Centered", u"Y"));
  ps->SetNoAutoSize(YNToBool(ini, Section, u"NoAutoSize", u"N"));
  ps->SetUseFixedHeight(YNToBool(ini, Section, u"UseFixedHeight", u"N"));
  ps->SetUseFixedWidth(YNToBool(ini, Section, u"UseFixedWidth", u"N"));
  ps->SetRepeatFixedRows(YNToBool(ini, Section, u"RepeatFixedRows", u"N"));
  ps->SetRepeatFixedCols(YNToBool(ini, Section, u"RepeatFixedCols", u"N"));
  ps->SetUseDisplayFont(YNToBool(ini, Section, u"UseDisplFont", u"N"));
  ps->SetUseDefaultOrientation(YNToBool(ini, Section, u"UseDefOrientation", u"N"));
  ps->SetDateFormat(ini.ReadString(Section, u"DateFormat", String()));
  ps->SetTitleText(ini.ReadString(Section, u"TitleText", String()));
  ps->SetFooterSize(ini.ReadInteger(Section, u"FooterSize", 100));
  ps->SetHeaderSize(ini.ReadInteger(Section, u"HeaderSize", 100));
  ps->SetLeftSize(ini.ReadInteger(Section, u"LeftSize", 100));
  ps->SetRightSize(ini.ReadInteger(Section, u"RightSize", 100));
  ps->SetPageNumSep(ini.ReadString(Section, u"PageNumSep", String()));
  ps->SetPageSuffix(ini.ReadString(Section, u"PageSuffix", String()));
  ps->SetPagePrefix(ini.ReadString(Section, u"PagePrefix", String()));
  ps->SetPrintGraphics(YNToBool(ini, Section, u"PrintGraphics", u"N"));
  // Ordinals outside an enumeration's range leave the property as it is.
  int v = ini.ReadInteger(Section, u"Borders", 0);
  if (v >= pbNoborder && v <= pbCustom) ps->SetBorders(static_cast<TPrintBorders>(v));
  v = ini.ReadInteger(Section, u"BorderStyle", 0);
  if (v >= 0 && v <= 6) ps->SetBorderStyle(static_cast<TPenStyle>(v));
  ps->SetBorderColor(ini.ReadInteger(Section, u"BorderColor", 0));
  ps->SetDate(IntToPrintPosition(ini.ReadInteger(Section, u"Date", 0)));
  ps->SetPageNr(IntToPrintPosition(ini.ReadInteger(Section, u"PageNr", 0)));
  ps->SetTitle(IntToPrintPosition(ini.ReadInteger(Section, u"Title", 0)));
  ps->SetTime(IntToPrintPosition(ini.ReadInteger(Section, u"Time", 0)));
  v = ini.ReadInteger(Section, u"FitToPage", 0);
  if (v >= fpNever && v <= fpCustom) ps->SetFitToPage(static_cast<TFitToPage>(v));
  ReadFont(ini, Section, u"Font", ps->Font());
  ReadFont(ini, Section, u"HeaderFont", ps->HeaderFont());
  ReadFont(ini, Section, u"FooterFont", ps->FooterFont());
  ps->TitleLines()->SetText(BackslashNToCR(ini.ReadString(Section, u"TitleLines", String())));
  v = ini.ReadInteger(Section, u"Orientation", 0);
  if (v == poPortrait || v == poLandscape) ps->SetOrientation(static_cast<TPrinterOrientation>(v));
  // The file is written back (a missing one is created); settings that were read stay read
  // when the file cannot be written, e.g. on a read-only medium.
  try {
    ini.UpdateFile();
  } catch (const EFCreateError&) {
  }
}
