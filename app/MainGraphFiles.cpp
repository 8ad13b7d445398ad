// The air monitor's graph data files, picture export, clipboard copies, printing and the help
// folder.
#include <algorithm>
#include <vector>

#include "app/ImageSelect.h"
#include "app/Main.h"
#include "app/OptionBox.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Shell.h"
#include "platform/win/WinUser.h"

namespace {

RTL_EXCEPTION(EGraphFile, Exception);

// Graph files are a few kilobytes; anything far larger is no graph file.
constexpr int64_t MaxGraphFileSize = 1024 * 1024;
constexpr int32_t MaxSamplePoint = SampleSlots - 1;
constexpr int32_t MaxChannel = ChannelSlots - 1;

const String SecModel = u"Model Name";
const String SecUser = u"User Text";
const String SecStatus = u"Status";
const String SecLevel = u"RSSI Level";

String GraphFilter(uint8_t State) {
  return State == msTimeDomain ? u"AirMonitor files (*.AMT)|*.AMT" : u"AirMonitor files (*.AMF)|*.AMF";
}

String GraphExtension(uint8_t State) { return State == msTimeDomain ? u".AMT" : u".AMF"; }

// Levels as the files hold them: two upper-case hexadecimal digits of the negated level each,
// no separator. A level outside 0 to -255 dBm is written as the nearest of the two, so every
// value keeps its two digits and the values after it their places.
String LevelString(const int32_t* Levels, int Count) {
  static const char16_t digits[] = u"0123456789ABCDEF";
  String s;
  s.reserve(static_cast<size_t>(std::max(Count, 0)) * 2);
  for (int i = 0; i < Count; ++i) {
    int v = std::clamp(-Levels[i], 0, 255);
    s += digits[v >> 4];
    s += digits[v & 15];
  }
  return s;
}

int HexDigit(Char c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

// Count levels from the start of the key's text; fewer than two hexadecimal digits for
// each of them makes the file unusable.
std::vector<int32_t> ReadLevels(TMemIniFile& Ini, const String& Key, int Count) {
  String text = Ini.ReadString(SecLevel, Key, String());
  if (text.size() < static_cast<size_t>(Count) * 2)
    throw EGraphFile(u"\"" + Key + u"\" holds " + IntToStr(static_cast<int32_t>(text.size() / 2)) + u" of the " +
                     IntToStr(Count) + u" values it needs.");
  std::vector<int32_t> levels(static_cast<size_t>(Count));
  for (int i = 0; i < Count; ++i) {
    int hi = HexDigit(text[static_cast<size_t>(2 * i)]), lo = HexDigit(text[static_cast<size_t>(2 * i + 1)]);
    if (hi < 0 || lo < 0) throw EGraphFile(u"\"" + Key + u"\" value " + IntToStr(i + 1) + u" is no hexadecimal number.");
    levels[static_cast<size_t>(i)] = -(hi * 16 + lo);
  }
  return levels;
}

// A key's integer, which must be there and lie within Min..Max.
int32_t ReadBounded(TMemIniFile& Ini, const String& Section, const String& Key, int32_t Min, int32_t Max) {
  String text = Ini.ReadString(Section, Key, String());
  int32_t v = 0;
  if (!TryStrToInt(text, v)) throw EGraphFile(u"\"" + Key + u"\" is no whole number: \"" + text + u"\".");
  if (v < Min || v > Max)
    throw EGraphFile(u"\"" + Key + u"\" is " + IntToStr(v) + u", outside " + IntToStr(Min) + u" to " + IntToStr(Max) +
                     u".");
  return v;
}

}  // namespace

// Everything a graph file holds, read and checked whole before any of it is shown.
struct TGraphFile {
  String Text1, Text2;
  int32_t Number = -1;
  uint8_t State = msControlPage;  // the page the levels belong to
  bool HasMode = false;
  int32_t MinCh = 0, MaxCh = 0;   // frequency domain: the channels of the levels
  String StartCh, EndCh;
  int32_t MinTm = 0, MaxTm = 0;   // time domain: the points of the levels
  String Channel;
  std::vector<int32_t> Values, Peaks;
};

// ---- Graph data files

void TMainForm::SaveGraphFile(const String& FileName) {
  // An existing file keeps its other sections and keys; a file that is no text is refused.
  TMemIniFile ini(FileName);
  ini.WriteString(SecModel, u"Name", u"Main");
  ini.WriteInteger(SecModel, u"Number", ComboBox5->ItemIndex());
  ini.WriteString(SecUser, u"Text1", Edit3->Text());
  ini.WriteString(SecUser, u"Text2", Edit4->Text());
  if (Link.MonitorState == msFrequencyDomain) {
    int32_t lo = std::clamp(CurrentModel.MinCh, 0, MaxChannel), hi = std::clamp(CurrentModel.MaxCh, 0, MaxChannel);
    ini.WriteString(SecStatus, u"Mode", u"FreqMode");
    ini.WriteInteger(SecStatus, u"MinCh", CurrentModel.MinCh);
    ini.WriteInteger(SecStatus, u"MaxCh", CurrentModel.MaxCh);
    ini.WriteString(SecStatus, u"StartCh", ComboBox2->Text());
    ini.WriteString(SecStatus, u"EndCh", ComboBox3->Text());
    ini.WriteString(SecLevel, u"Value", LevelString(Levels.data() + lo, hi - lo + 1));
    ini.WriteString(SecLevel, u"PeakValue", LevelString(Peaks.data() + lo, hi - lo + 1));
  } else if (Link.MonitorState == msTimeDomain) {
    int32_t points = PointCount();
    ini.WriteString(SecStatus, u"Mode", u"TimeMode");
    ini.WriteInteger(SecStatus, u"MinTm", TimeMin);
    ini.WriteInteger(SecStatus, u"MaxTm", points);
    ini.WriteString(SecStatus, u"Channel", ComboBox4->Text());
    ini.WriteString(SecLevel, u"Value", LevelString(Samples.data(), points + 1));
  }
  ini.UpdateFile();
}

bool TMainForm::LoadGraphFile(const String& FileName) {
  std::unique_ptr<TMemIniFile> ini;
  TGraphFile f;
  try {
    // Refused before it is parsed: no regular file, too large, not text.
    ReadFileBytes(FileName, MaxGraphFileSize);
    ini = std::make_unique<TMemIniFile>(FileName);
    f.Text1 = ini->ReadString(SecUser, u"Text1", String());
    f.Text2 = ini->ReadString(SecUser, u"Text2", String());
    if (ini->ValueExists(SecModel, u"Number")) {
      int32_t rows = std::min(ComboBox5->Items()->Count(), static_cast<int32_t>(ModelRows.size()));
      f.Number = ReadBounded(*ini, SecModel, u"Number", -1, rows - 1);
    }
    String mode = ini->ReadString(SecStatus, u"Mode", String());
    f.HasMode = mode == u"FreqMode" || mode == u"TimeMode";
    f.State = Link.MonitorState;
    if (mode == u"FreqMode") f.State = msFrequencyDomain;
    if (mode == u"TimeMode") f.State = msTimeDomain;
    if (f.State == msFrequencyDomain) {
      f.MinCh = CurrentModel.MinCh;
      f.MaxCh = CurrentModel.MaxCh;
      if (f.HasMode) {
        f.MinCh = ReadBounded(*ini, SecStatus, u"MinCh", 0, MaxChannel);
        f.MaxCh = ReadBounded(*ini, SecStatus, u"MaxCh", f.MinCh, MaxChannel);
        f.StartCh = IntToStr(ReadBounded(*ini, SecStatus, u"StartCh", f.MinCh, f.MaxCh));
        f.EndCh = IntToStr(ReadBounded(*ini, SecStatus, u"EndCh", f.MinCh, f.MaxCh));
      }
      f.MinCh = std::clamp(f.MinCh, 0, MaxChannel);
      f.MaxCh = std::clamp(f.MaxCh, f.MinCh, MaxChannel);
      f.Values = ReadLevels(*ini, u"Value", f.MaxCh - f.MinCh + 1);
      f.Peaks = ReadLevels(*ini, u"PeakValue", f.MaxCh - f.MinCh + 1);
    } else if (f.State == msTimeDomain) {
      f.MinTm = TimeMin;
      f.MaxTm = TimeMax;
      if (f.HasMode) {
        f.MinTm = ReadBounded(*ini, SecStatus, u"MinTm", 0, MaxSamplePoint);
        f.MaxTm = ReadBounded(*ini, SecStatus, u"MaxTm", f.MinTm, MaxSamplePoint);
        // The channel is one of the model the file names (the chosen one for none).
        TCurrentModel model = CurrentModel;
        if (f.Number >= 0) {
          const TModel& row = TModelTable[ModelRows[static_cast<size_t>(f.Number)]];
          model.MinCh = row.MinCh;
          model.MaxCh = row.MaxCh;
        }
        f.Channel = IntToStr(ReadBounded(*ini, SecStatus, u"Channel", model.MinCh, model.MaxCh));
      }
      f.MinTm = std::clamp(f.MinTm, 0, MaxSamplePoint);
      f.MaxTm = std::clamp(f.MaxTm, f.MinTm, MaxSamplePoint);
      f.Values = ReadLevels(*ini, u"Value", f.MaxTm - f.MinTm + 1);
    }
  } catch (Exception& e) {
    // One message naming the file; nothing on screen has changed.
    MessageBeep(MB_ICONEXCLAMATION);
    Application->MessageBox(u"ｸﾞﾗﾌﾃﾞｰﾀを読み込めません。\r\n" + FileName + u"\r\n" + e.Message(),
                            Application->Title(), MB_OK);
    return false;
  }
  ShowGraphFile(FileName, f);
  if (f.State == msFrequencyDomain) {
    for (int32_t c = f.MinCh; c <= f.MaxCh; ++c) {
      size_t i = static_cast<size_t>(c - f.MinCh);
      Levels[static_cast<size_t>(c)] = f.Values[i];
      Series1->SetYValue(c, f.Values[i]);
      Series1->SetValueColor(c, f.Values[i] >= AbVSlider1->Value() ? Colors.c1Over : Colors.c1Main);
      Peaks[static_cast<size_t>(c)] = f.Peaks[i];
      Series3->SetYValue(c, f.Peaks[i]);
    }
  } else if (f.State == msTimeDomain) {
    for (int32_t p = f.MinTm; p <= f.MaxTm; ++p) {
      int32_t level = f.Values[static_cast<size_t>(p - f.MinTm)];
      Samples[static_cast<size_t>(p)] = level;
      AreaSeries1->SetYValue(p, level);
      AreaSeries1->SetValueColor(p, level >= AbVSlider3->Value() ? Colors.c2Over : Colors.c2Main);
    }
  }
  // Written back normalised; a file that cannot be written keeps what it holds.
  try {
    ini->UpdateFile();
  } catch (Exception&) {
  }
  return true;
}

void TMainForm::ShowGraphFile(const String& FileName, const TGraphFile& F) {
  Edit5->SetText(ChangeFileExt(ExtractFileName(FileName), String()));
  Edit3->SetText(F.Text1);
  Edit4->SetText(F.Text2);
  ComboBox5->SetItemIndex(F.Number);
  auto titles = [&](TChart* Chart, const String& Line3) {
    SetTitleLine(Chart, 0, u"< Air monitor >   Model name: " + ComboBox5->Text() + u"    Filename: " + Edit5->Text() +
                               u"    Date: " + Edit4->Text());
    SetTitleLine(Chart, 1, u"User Memo: " + Edit3->Text());
    SetTitleLine(Chart, 2, Line3);
  };
  if (!F.HasMode) return;
  if (F.State == msFrequencyDomain) {
    Link.MonitorState = msFrequencyDomain;
    PageControl2->SetActivePage(TabSheet5);
    ResetFrequencyChart();
    AbColBitBtn15->SetChecked(false);
    Chart1->BottomAxis()->SetMaximum(1000);
    CurrentModel.MinCh = F.MinCh;
    CurrentModel.MaxCh = F.MaxCh;
    Chart1->BottomAxis()->SetMinimum(F.MinCh);
    Chart1->BottomAxis()->SetMaximum(F.MaxCh);
    for (int32_t c = 0; c <= F.MaxCh; ++c) {
      Series1->SetYValue(c, LevelFloor);
      Series3->SetYValue(c, LevelFloor);
    }
    ComboBox2->SetText(F.StartCh);
    ComboBox3->SetText(F.EndCh);
    ScanStart = StrToInt(F.StartCh);
    ScanEnd = StrToInt(F.EndCh);
    titles(Chart1, u"Channel:   ch  /  Freq.:      MHz  /  Level:   dBm");
  } else if (F.State == msTimeDomain) {
    Link.MonitorState = msTimeDomain;
    PageControl2->SetActivePage(TabSheet6);
    ResetTimeChart();
    AbColBitBtn1->SetChecked(false);
    for (int32_t p = 0; p <= MaxSamplePoint; ++p) AreaSeries1->SetYValue(p, LevelFloor);
    TimeMin = F.MinTm;
    TimeMax = F.MaxTm;
    Chart2->BottomAxis()->SetMinimum(TimeMin + 1);
    Chart2->BottomAxis()->SetMaximum(TimeMax);
    AbNumSpin3->SetValue(TimeMax);
    ComboBox4->SetText(F.Channel);
    String freq;
    ChannelFrequencyText(StrToIntDef(F.Channel, -1), freq);
    titles(Chart2, u"Channel: " + F.Channel + u"ch  /  Freq.: " + freq + u"MHz  /  Level:  dBm");
  }
}

void TMainForm::Savegraphdata2Click(TObject*) {
  SaveDialog1->SetTitle(String());
  SaveDialog1->SetFilter(GraphFilter(Link.MonitorState));
  SaveDialog1->SetFileName(Edit5->Text() + GraphExtension(Link.MonitorState));
  SaveDialog1->SetInitialDir(LastFolder);
  if (!SaveDialog1->Execute()) return;
  // A failure (read-only folder, full disk) reaches the application's handler; the file is
  // written beside the old one and renamed over it, so an old file stays whole.
  SaveGraphFile(SaveDialog1->FileName());
  LastFolder = ExtractFilePath(SaveDialog1->FileName());
}

void TMainForm::Loadgraphdata2Click(TObject*) {
  OpenDialog1->SetFileName(String());
  OpenDialog1->SetFilter(GraphFilter(Link.MonitorState));
  OpenDialog1->SetInitialDir(LastFolder);
  if (!OpenDialog1->Execute()) return;
  if (LoadGraphFile(OpenDialog1->FileName())) LastFolder = ExtractFilePath(OpenDialog1->FileName());
}

// ---- Pictures, clipboard and printer

TChart* TMainForm::PageChart() const { return PageControl2->ActivePage() == TabSheet5 ? Chart1 : Chart2; }

void TMainForm::Saveimagefile2Click(TObject*) {
  if (ImageSelectForm1->ShowModal() != mrOk) return;
  static const struct {
    const char16_t* Title;
    const char16_t* Extension;
    const char16_t* Filter;
  } types[] = {
      {u"Graph save as EMF", u".emf", u"AirMonitor EMF files (*.emf)|*.emf"},
      {u"Graph save as WMF", u".wmf", u"AirMonitor WMF files (*.wmf)|*.wmf"},
      {u"Graph save as BMP", u".bmp", u"AirMonitor BMP files (*.bmp)|*.bmp"},
      {u"Graph save as JPEG", u".jpg", u"AirMonitor JPEG files (*.jpg)|*.jpg"},
  };
  int type = ImageSelectForm1->RadioGroup1->ItemIndex();
  if (type < 0 || type > 3) return;
  SaveDialog1->SetTitle(types[type].Title);
  SaveDialog1->SetFileName(Edit5->Text() + types[type].Extension);
  SaveDialog1->SetFilter(types[type].Filter);
  SaveDialog1->SetInitialDir(LastFolder);
  bool chosen = SaveDialog1->Execute();
  // Confirmed or not, and also when the export fails: the folder of the dialog's name is kept
  // and the graph repainted.
  TScopeGuard finish([this] {
    LastFolder = ExtractFilePath(SaveDialog1->FileName());
    PageChart()->Repaint();
  });
  if (!chosen) return;
  TChart* chart = PageChart();
  const String& file = SaveDialog1->FileName();
  switch (type) {
    case 0: chart->SaveToMetafileEnh(file); break;
    case 1: chart->SaveToMetafile(file); break;
    case 2: chart->SaveToBitmapFile(file); break;
    // Drawn into a bitmap and encoded at quality 90, baseline: the clipboard is not touched.
    default: chart->SaveToJPEGFile(file, 90); break;
  }
}

void TMainForm::Copytoclipboard1Click(TObject*) {
  TChart* chart = ChartInFront();
  if (!chart) return;
  switch (OptionBoxForm->RadioGroup2->ItemIndex()) {
    case 0: chart->CopyToClipboardMetafile(true); break;
    case 1: chart->CopyToClipboardMetafile(false); break;
    case 2: chart->CopyToClipboardBitmap(); break;
    default: break;
  }
}

void TMainForm::Printgraph2Click(TObject*) {
  if (PrintDialog1->Execute()) PageChart()->Print();
}

// ---- Help folder

void TMainForm::KitOperationGuide1Click(TObject*) {
  // Not checked first: a missing folder opens nothing.
  String folder = ExtractFilePath(ExeName()) + u"Help";
  ShellExecute(Handle(), nullptr, folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
