// The air monitor: the frequency scan and the time-domain sampling (start, stop, timer steps,
// channel checks, the rebuild for a model), and the two graphs (threshold, centre and analysis
// lines, clicks on bars and points, marker, zoom, view, colours, memo and date in the titles).
#include <algorithm>

#include "app/Main.h"
#include "platform/rtl/SysUtils.h"

namespace {

const String StartChannelText = u"ｽﾀｰﾄﾁｬﾝﾈﾙはｴﾝﾄﾞﾁｬﾝﾈﾙよりも小さい番号を入れて下さい｡";
const String EndChannelText = u"ｴﾝﾄﾞﾁｬﾝﾈﾙはｽﾀｰﾄﾁｬﾝﾈﾙよりも大きい番号を入れて下さい｡";
const String EmptyTitleLine3 = u"Channel:   ch  /  Freq.:      MHz  /  Level:   dBm";

void FocusIfShown(TWinControl* Control) {
  if (Control->CanFocus()) Control->SetFocus();
}

// A measurement refused before it started: its button goes back off, then the message.
void Refuse(TAbColBitBtn* Button, const String& Text) {
  Button->SetChecked(false);
  TMainForm::Warn(Text);
}

// Index From..To clipped to the slots 0..Count-1 (empty when they do not meet).
struct TSlotRange {
  int First, Last;
};
TSlotRange Clip(int32_t From, int32_t To, int Count) { return {std::max(From, 0), std::min(To, Count - 1)}; }

size_t At(int Index) { return static_cast<size_t>(Index); }

// The stop of either measurement: a line waiting for its transmit-empty event goes free, the
// control page comes back and the step timer stops.
void StopMeasurement(TMainForm* F, TVrTimer* Timer) {
  F->Link.TxEmptyFlag = true;
  F->EnableControls(2, true);
  Timer->SetEnabled(false);
}

// A channel box's number; text that is none turns the measurement's button back off and raises.
int32_t ChannelOfBox(TComboBox* Box, TAbColBitBtn* Button) {
  try {
    return StrToInt(Box->Text());
  } catch (Exception&) {
    Button->SetChecked(false);
    throw;
  }
}

}  // namespace

// ---- Helpers

String TMainForm::ChannelCommandText(int32_t Channel) {
  if (Channel >= 1 && Channel <= 9) return u"F" + IntToStr(Channel);
  if (Channel == 10) return u"FA";
  return String();
}

String TMainForm::LevelText(double Level) { return CurrToStr(Level); }

void TMainForm::SetTitleLine(TChart* Chart, int Line, const String& Text) {
  TStrings* t = Chart->Title()->Text();
  while (t->Count() <= Line) t->Add(String());
  t->Put(Line, Text);
}

String TMainForm::TimeChannelTitle(const String& LevelPart) {
  String freq;
  ChannelFrequencyText(StrToIntDef(ComboBox4->Text(), -1), freq);
  return u"Channel: " + ComboBox4->Text() + u"ch  /  Freq.: " + freq + u"MHz  /  " + LevelPart;
}

int32_t TMainForm::PointCount() const { return std::clamp(AbNumSpin3->ValueAsInt(), 0, SampleSlots - 1); }

TChart* TMainForm::ChartInFront() const {
  if (Link.MonitorState == msFrequencyDomain) return Chart1;
  if (Link.MonitorState == msTimeDomain) return Chart2;
  return nullptr;
}

bool TMainForm::ChannelFrequencyText(int32_t Channel, String& Text) {
  return ChannelFrequency(ComboBox5->ItemIndex(), Channel, Text);
}

bool TMainForm::ChannelInModel(int32_t Channel) const {
  return Channel >= CurrentModel.MinCh && Channel <= CurrentModel.MaxCh && Channel >= 0 && Channel < ChannelSlots;
}

String TMainForm::TimeChannelRefusal() const {
  return u"測定ﾁｬﾝﾈﾙは" + IntToStr(std::max(CurrentModel.MinCh, 0)) + u"から" +
         IntToStr(std::min(CurrentModel.MaxCh, ChannelSlots - 1)) + u"までの番号を入れて下さい｡";
}

void TMainForm::ColourBar(int Channel) {
  Series1->SetValueColor(Channel, Levels[At(Channel)] >= AbVSlider1->Value() ? Colors.c1Over : Colors.c1Main);
}

void TMainForm::ColourPoint(int Point) {
  AreaSeries1->SetValueColor(Point, Samples[At(Point)] >= AbVSlider3->Value() ? Colors.c2Over : Colors.c2Main);
}

// ---- Frequency scan

void TMainForm::AbColBitBtn15StatusChanged(TObject*) {
  if (!AbColBitBtn15->Checked()) return StopMeasurement(this, VrTimer2);
  // The range is read and checked before anything changes: a bad box starts nothing.
  const int32_t start = ChannelOfBox(ComboBox2, AbColBitBtn15), end = ChannelOfBox(ComboBox3, AbColBitBtn15);
  if (!ChannelInModel(start) || start > end) return Refuse(AbColBitBtn15, StartChannelText);
  if (!ChannelInModel(end)) return Refuse(AbColBitBtn15, EndChannelText);
  StartScan(start, end);
}

void TMainForm::StartScan(int32_t Start, int32_t End) {
  Link.SendEnabled = true;
  AnalysisSeries = 0;
  FocusIfShown(Chart1);
  Chart1->SetHint(String());
  // The bars of the last range go back to the floor; the peaks stay.
  TSlotRange old = Clip(0, ScanEnd, ChannelSlots);
  for (int ch = old.First; ch <= old.Last; ++ch) {
    Levels[At(ch)] = LevelFloor;
    Series1->SetYValue(ch, LevelFloor);
  }
  ScanStart = Start;
  ScanEnd = End;
  ScanChannel = static_cast<uint8_t>(Start);
  // The first slot must not take a level heard before the scan.
  Link.LastLevel = LevelFloor;
  EnableControls(2, false);
  CommandOut(2, u"RS", u"CH " + ChannelCommandText(ScanChannel));
  VrTimer2->SetEnabled(true);
}

void TMainForm::VrTimer2Timer(TObject*) {
  if (!AbColBitBtn15->Checked() || Link.MonitorState != msFrequencyDomain) return;
  // The level that arrived during the slot belongs to its channel; a silent slot keeps the
  // level held before.
  const int32_t level = Link.LastLevel;
  if (ScanChannel < ChannelSlots) {
    Levels[At(ScanChannel)] = level;
    if (Peaks[At(ScanChannel)] <= level) Peaks[At(ScanChannel)] = level;
  }
  int next = ScanChannel + 1;
  if (next > ScanEnd || next >= ChannelSlots) {
    RedrawSweep();
    next = ScanStart;
  }
  ScanChannel = static_cast<uint8_t>(std::clamp(next, 0, ChannelSlots - 1));
  CommandOut(2, u"RS", u"CH " + ChannelCommandText(ScanChannel));
}

void TMainForm::RedrawSweep() {
  const bool peaks = CheckBox3->Checked();
  TSlotRange r = Clip(ScanStart, ScanEnd, ChannelSlots);
  for (int ch = r.First; ch <= r.Last; ++ch) {
    Link.LastLevel = Levels[At(ch)];
    Series1->SetYValue(ch, Levels[At(ch)]);
    ColourBar(ch);
    if (peaks) Series3->SetYValue(ch, Peaks[At(ch)]);
  }
}

void TMainForm::ComboBox2Change(TObject*) {
  AbColBitBtn15->SetChecked(false);
  int32_t start = StrToInt(ComboBox2->Text()), end = StrToInt(ComboBox3->Text());
  if (!ChannelInModel(start) || start > end) Warn(StartChannelText);
  else if (!ChannelInModel(end)) Warn(EndChannelText);
}

void TMainForm::ComboBox3Change(TObject*) {
  AbColBitBtn15->SetChecked(false);
  int32_t start = StrToInt(ComboBox2->Text()), end = StrToInt(ComboBox3->Text());
  if (!ChannelInModel(end) || start > end) Warn(EndChannelText);
  else if (!ChannelInModel(start)) Warn(StartChannelText);
}

void TMainForm::SpeedButton17Click(TObject*) {
  TSlotRange r = Clip(CurrentModel.MinCh, CurrentModel.MaxCh, ChannelSlots);
  for (int ch = r.First; ch <= r.Last; ++ch) {
    Peaks[At(ch)] = LevelFloor;
    Series3->SetYValue(ch, LevelFloor);
  }
}

void TMainForm::CheckBox3Click(TObject*) {
  const bool show = CheckBox3->Checked();
  TSlotRange r = Clip(CurrentModel.MinCh, CurrentModel.MaxCh, ChannelSlots);
  for (int ch = r.First; ch <= r.Last; ++ch) Series3->SetYValue(ch, show ? Peaks[At(ch)] : LevelFloor);
}

// ---- Time-domain sampling

void TMainForm::AbColBitBtn1StatusChanged(TObject*) {
  if (!AbColBitBtn1->Checked()) return StopMeasurement(this, VrTimer3);
  const int32_t channel = ChannelOfBox(ComboBox4, AbColBitBtn1);
  if (!ChannelInModel(channel)) return Refuse(AbColBitBtn1, TimeChannelRefusal());
  StartSampling(channel);
}

void TMainForm::StartSampling(int32_t Channel) {
  SamplePoint = 1;
  Link.LastLevel = LevelFloor;
  AnalysisSeries = 0;
  FocusIfShown(Chart2);
  Chart2->SetHint(String());
  const int32_t count = PointCount();
  for (int p = 0; p <= count; ++p) {
    Samples[At(p)] = LevelFloor;
    AreaSeries1->SetYValue(p, LevelFloor);
  }
  ScanChannel = static_cast<uint8_t>(Channel);
  EnableControls(2, false);
  VrTimer3->SetInterval(static_cast<uint32_t>(AbNumSpin2->ValueAsInt()));
  CommandOut(2, u"RS", u"CH " + ChannelCommandText(ScanChannel));
  VrTimer3->SetEnabled(true);
}

void TMainForm::VrTimer3Timer(TObject*) {
  if (AbColBitBtn1->Checked() && Link.MonitorState == msTimeDomain && SamplePoint >= 0 &&
      SamplePoint < SampleSlots) {
    const int32_t level = Link.LastLevel;
    AreaSeries1->SetYValue(SamplePoint, level);
    Samples[At(SamplePoint)] = level;
    StatusBar1->Panels()->Items(4)->SetText(u"Point : " + IntToStr(SamplePoint));
    ColourPoint(SamplePoint);
    DrawMarker(SamplePoint);
  }
  // Off the time page the receiver is still asked and the points still count.
  CommandOut(1, u"RS");
  ++SamplePoint;
  Link.LastLevel = LevelFloor;
  if (SamplePoint >= PointCount() + 1) {
    SamplePoint = 1;
    if (RadioGroup4->ItemIndex() == 1) AbColBitBtn1->SetChecked(false);
  }
}

void TMainForm::DrawMarker(int Point) {
  Chart2->Repaint();
  const int x = Chart2->BottomAxis()->CalcXPosValue(Point);
  const int y = Chart2->LeftAxis()->CalcYPosValue(Samples[At(Point)]);
  TCanvas* c = Chart2->Canvas();
  c->Pen()->SetStyle(psSolid);
  c->Pen()->SetWidth(1);
  c->Pen()->SetColor(clBlack);
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(clRed);
  c->MoveTo(x, y + 10);
  c->LineTo(x, y - 14);
  c->MoveTo(x + 10, y - 1);
  c->LineTo(x - 12, y - 1);
  c->Ellipse(x - 5, y - 6, x + 5, y + 4);
}

void TMainForm::ComboBox4Change(TObject*) {
  AbColBitBtn1->SetChecked(false);
  const int32_t point = std::clamp(AnalysisPoint, 0, SampleSlots - 1);
  SetTitleLine(Chart2, 2, TimeChannelTitle(u"Level:  " + LevelText(Samples[At(point)]) + u"dBm"));
  // A number outside the model's channels is refused at once; other text when the sampling starts.
  int32_t channel = 0;
  if (TryStrToInt(ComboBox4->Text(), channel) && !ChannelInModel(channel)) Warn(TimeChannelRefusal());
}

void TMainForm::AbNumSpin3ValueChanged(TObject*) {
  Chart2->UndoZoom();
  for (int p = 0; p < SampleSlots; ++p) AreaSeries1->SetYValue(p, LevelFloor);
  AbColBitBtn1->SetChecked(false);
  Chart2->Repaint();
  const int32_t count = PointCount();
  for (int p = 0; p <= count; ++p) AreaSeries1->SetYValue(p, LevelFloor);
  Chart2->BottomAxis()->SetMaximum(count);
  Chart2->BottomAxis()->SetMinimum(1);
}

void TMainForm::AbNumSpin2ValueChanged(TObject*) {
  VrTimer3->SetInterval(static_cast<uint32_t>(AbNumSpin2->ValueAsInt()));
}

void TMainForm::RadioGroup4Click(TObject*) {
  AbColBitBtn1->SetEnabled(true);
  AbColBitBtn1->SetChecked(false);
  SamplePoint = 1;
  for (int p = 0; p < SampleSlots; ++p) AreaSeries1->SetYValue(p, LevelFloor);
}

// ---- Pages and models

void TMainForm::PageControl2Changing(TObject*, bool&) {
  AbColBitBtn15->SetChecked(false);
  AbColBitBtn1->SetChecked(false);
}

void TMainForm::PageControl2Change(TObject*) {
  if (PageControl2->ActivePage() == TabSheet5) {
    Link.MonitorState = msFrequencyDomain;
    AbVSlider1->SetValue(-100);
    StatusBar1->Panels()->Items(4)->SetText(String());
  } else {
    Link.MonitorState = msTimeDomain;
    AbVSlider3->SetValue(-100);
  }
}

namespace {
// A graph's title as a model choice leaves it.
void ResetTitle(TChart* Chart) {
  TStrings* t = Chart->Title()->Text();
  t->Clear();
  t->Add(TMainForm::GraphTitle1);
  t->Add(u"User Memo: ");
  t->Add(EmptyTitleLine3);
}
}  // namespace

void TMainForm::ResetFrequencyChart() {
  ResetTitle(Chart1);
  Chart1->BottomAxis()->SetMaximum(1000);
  SelectModel(ComboBox5->ItemIndex());
  Chart1->BottomAxis()->SetMinimum(CurrentModel.MinCh);
  Chart1->BottomAxis()->SetMaximum(CurrentModel.MaxCh);
  ScanStart = CurrentModel.MinCh;
  ScanEnd = CurrentModel.MaxCh;
  TSlotRange r = Clip(0, CurrentModel.MaxCh, ChannelSlots);
  for (int ch = r.First; ch <= r.Last; ++ch) {
    Series1->SetYValue(ch, LevelFloor);
    Series3->SetYValue(ch, LevelFloor);
  }
  ComboBox2->Items()->Clear();
  ComboBox3->Items()->Clear();
  for (int ch = CurrentModel.MinCh; ch <= CurrentModel.MaxCh; ++ch) {
    ComboBox2->Items()->Add(IntToStr(ch));
    ComboBox3->Items()->Add(IntToStr(ch));
  }
  ComboBox2->SetText(IntToStr(CurrentModel.MinCh));
  ComboBox3->SetText(IntToStr(CurrentModel.MaxCh));
  Series1->SetBarWidthPercent(CurrentModel.GWidth);
  Series3->SetBarWidthPercent(CurrentModel.GWidth);
}

void TMainForm::ResetTimeChart() {
  ResetTitle(Chart2);
  SelectModel(ComboBox5->ItemIndex());
  for (int p = 0; p < SampleSlots; ++p) AreaSeries1->SetYValue(p, LevelFloor);
  ComboBox4->Items()->Clear();
  for (int ch = CurrentModel.MinCh; ch <= CurrentModel.MaxCh; ++ch) ComboBox4->Items()->Add(IntToStr(ch));
  ComboBox4->SetText(IntToStr(CurrentModel.MinCh));
  AbNumSpin3->SetValue(30);
  // The value may have been 30 already, which runs no handler: the axis follows it here too.
  Chart2->BottomAxis()->SetMinimum(1);
  Chart2->BottomAxis()->SetMaximum(PointCount());
}

// ---- Colours

void TMainForm::setColor() {
  Memo1->SetColor(Colors.Back);
  Memo1->Font()->SetColor(Colors.Font);
  Series3->SetSeriesColor(Colors.c1Peak);
  TSlotRange r = Clip(ScanStart, ScanEnd, ChannelSlots);
  for (int ch = r.First; ch <= r.Last; ++ch) {
    Series1->SetYValue(ch, Levels[At(ch)]);
    ColourBar(ch);
  }
  Chart1->Gradient()->SetEndColor(Colors.c1End);
  Chart1->Gradient()->SetStartColor(Colors.c1Start);
  const int32_t count = PointCount();
  for (int p = 0; p <= count; ++p) {
    AreaSeries1->SetYValue(p, Samples[At(p)]);
    ColourPoint(p);
  }
  Chart2->Gradient()->SetEndColor(Colors.c2End);
  Chart2->Gradient()->SetStartColor(Colors.c2Start);
  AreaSeries1->Pointer()->Brush()->SetColor(Colors.c2Point);
  AreaSeries1->AreaLinesPen()->SetColor(Colors.c2AreaLine);
}

// ---- Drawing after each repaint

namespace {
// The chart's canvas with a solid one-pixel pen in Color.
TCanvas* SolidPen(TChart* Chart, TColor Color) {
  TCanvas* c = Chart->Canvas();
  c->Pen()->SetStyle(psSolid);
  c->Pen()->SetWidth(1);
  c->Pen()->SetMode(pmCopy);
  c->Pen()->SetColor(Color);
  return c;
}
}  // namespace

void TMainForm::AfterDraw(TChart* Chart, double Threshold, TColor ThreLine, TColor CenterLine) {
  TCanvas* c = SolidPen(Chart, ThreLine);
  const TRect r = Chart->ChartRect();
  // Threshold: bars compare with the slider's fractional value, the line sits at its integer.
  const int y = Chart->LeftAxis()->CalcYPosValue(static_cast<double>(Round(Threshold)));
  c->MoveTo(r.Left, y);
  c->LineTo(r.Right, y);
  const int xc = (r.Left + r.Right) / 2;
  c->Pen()->SetColor(CenterLine);
  if (Centerline1->Checked()) {
    c->MoveTo(xc, r.Top);
    c->LineTo(xc, r.Bottom);
  } else {
    // Two arrow heads pointing into the plot, at its top and bottom edges.
    c->MoveTo(xc + 3, r.Top);
    c->LineTo(xc, r.Top + 8);
    c->MoveTo(xc - 3, r.Top);
    c->LineTo(xc, r.Top + 8);
    c->MoveTo(xc + 3, r.Bottom);
    c->LineTo(xc, r.Bottom - 8);
    c->MoveTo(xc - 3, r.Bottom);
    c->LineTo(xc, r.Bottom - 8);
  }
}

void TMainForm::DrawAnalysisLines(TChart* Chart, int X, int Y, TColor Color) {
  TCanvas* c = SolidPen(Chart, Color);
  const TRect r = Chart->ChartRect();
  c->MoveTo(X, r.Top);
  c->LineTo(X, r.Bottom);
  c->MoveTo(r.Left, Y);
  c->LineTo(r.Right, Y);
}

void TMainForm::Chart1AfterDraw(TObject*) {
  AfterDraw(Chart1, AbVSlider1->Value(), Colors.c1ThreLine, Colors.c1CenterLine);
  if (!Analizeline1->Checked()) return;
  TBarSeries* series = AnalysisSeries == 1 ? Series1 : AnalysisSeries == 3 ? Series3 : nullptr;
  if (!series || AnalysisIndex < 0 || AnalysisIndex >= series->Count()) return;
  DrawAnalysisLines(Chart1, series->CalcXPos(AnalysisIndex), series->CalcYPos(AnalysisIndex),
                    series == Series1 ? Colors.c1AnaLine1 : Colors.c1AnaLine2);
}

void TMainForm::Chart2AfterDraw(TObject*) {
  AfterDraw(Chart2, AbVSlider3->Value(), Colors.c2ThreLine, Colors.c2CenterLine);
  if (!Analizeline1->Checked() || AnalysisSeries != 1) return;
  if (AnalysisPoint < 0 || AnalysisPoint >= AreaSeries1->Count()) return;
  DrawAnalysisLines(Chart2, AreaSeries1->CalcXPos(AnalysisPoint), AreaSeries1->CalcYPos(AnalysisPoint),
                    Colors.c2AnaLine);
}

// ---- Thresholds

void TMainForm::AbVSlider1ValueChange(TObject*) {
  FocusIfShown(AbVSlider1);
  Chart1->Repaint();  // the threshold line at once
  TSlotRange r = Clip(ScanStart, ScanEnd, ChannelSlots);
  for (int ch = r.First; ch <= r.Last; ++ch) {
    Series1->SetYValue(ch, Levels[At(ch)]);
    ColourBar(ch);
  }
}

void TMainForm::AbVSlider3ValueChange(TObject*) {
  FocusIfShown(AbVSlider3);
  Chart2->Repaint();
  const int32_t count = PointCount();
  for (int p = 0; p <= count; ++p) {
    AreaSeries1->SetYValue(p, Samples[At(p)]);
    ColourPoint(p);
  }
}

// ---- Clicks on bars and points

void TMainForm::BarClicked(TBarSeries* Series, int32_t Kind, int ValueIndex, TColor LineColor) {
  AnalysisSeries = Kind;
  AnalysisIndex = ValueIndex;
  const int x = Series->CalcXPos(ValueIndex), y = Series->CalcYPos(ValueIndex);
  AbColBitBtn15->SetChecked(false);
  if (Analizeline1->Checked()) {
    Chart1->Repaint();
    DrawAnalysisLines(Chart1, x, y, LineColor);
  }
  int32_t start = 0;
  if (TryStrToInt(ComboBox2->Text(), start)) ScanStart = start;
  String freq;
  ChannelFrequencyText(ValueIndex, freq);
  const String level = LevelText(Series->YValue(ValueIndex));
  Chart1->SetHint(IntToStr(ValueIndex) + u"ch  " + freq + u"MHz" + u"  " + level + u"dBm");
  SetTitleLine(Chart1, 2,
               u"Channel: " + IntToStr(ValueIndex) + u"ch  / Freq.: " + freq + u"MHz   /   Level: " + level + u"dBm");
}

void TMainForm::Series1Click(TChartSeries*, int ValueIndex, TMouseButton, TShiftState, int, int) {
  BarClicked(Series1, 1, ValueIndex, Colors.c1AnaLine1);
}

void TMainForm::Series3Click(TChartSeries*, int ValueIndex, TMouseButton, TShiftState, int, int) {
  BarClicked(Series3, 3, ValueIndex, Colors.c1AnaLine2);
}

void TMainForm::AreaSeries1Click(TChartSeries*, int ValueIndex, TMouseButton, TShiftState, int, int) {
  AnalysisSeries = 1;
  AnalysisPoint = ValueIndex;
  const int x = AreaSeries1->CalcXPos(ValueIndex), y = AreaSeries1->CalcYPos(ValueIndex);
  AbColBitBtn1->SetChecked(false);
  if (Analizeline1->Checked()) {
    Chart2->Repaint();
    DrawAnalysisLines(Chart2, x, y, Colors.c2AnaLine);
  }
  const String level = LevelText(AreaSeries1->YValue(ValueIndex));
  Chart2->SetHint(level);
  SetTitleLine(Chart2, 2, TimeChannelTitle(u"Level: " + level + u"dBm"));
}

void TMainForm::Chart1Click(TObject*) { FocusIfShown(Chart1); }
void TMainForm::Chart2Click(TObject*) { FocusIfShown(Chart2); }

// ---- Zoom and view: zooming moves the bottom axis only; the level axis stays fixed.

void TMainForm::Chart1Zoom(TObject*) {
  Chart1->LeftAxis()->SetMaximum(LevelCeiling);
  Chart1->LeftAxis()->SetMinimum(LevelFloor);
}
void TMainForm::Chart1UndoZoom(TObject* Sender) { Chart1Zoom(Sender); }
void TMainForm::Chart2Zoom(TObject*) {
  Chart2->LeftAxis()->SetMaximum(LevelCeiling);
  Chart2->LeftAxis()->SetMinimum(LevelFloor);
}
void TMainForm::Chart2UndoZoom(TObject* Sender) { Chart2Zoom(Sender); }

void TMainForm::Zoom2Click(TObject*) {
  if (TChart* chart = ChartInFront()) chart->ZoomPercent(125);
}
void TMainForm::Zoomout1Click(TObject*) {
  if (TChart* chart = ChartInFront()) chart->ZoomPercent(75);
}
void TMainForm::Zoom1Click(TObject*) {
  if (TChart* chart = ChartInFront()) chart->UndoZoom();
}

void TMainForm::N3D1Click(TObject*) {
  Chart1->SetView3D(true);
  Chart2->SetView3D(true);
}
void TMainForm::Normal1Click(TObject*) {
  Chart1->SetView3D(false);
  Chart2->SetView3D(false);
}

void TMainForm::Centerline1Click(TObject*) {
  Centerline1->SetChecked(!Centerline1->Checked());
  Chart1->Repaint();
  Chart2->Repaint();
}
void TMainForm::Analizeline1Click(TObject*) {
  Analizeline1->SetChecked(!Analizeline1->Checked());
  Chart1->Repaint();
  Chart2->Repaint();
}

void TMainForm::CheckBox1Click(TObject*) { AreaSeries1->Pointer()->SetVisible(CheckBox1->Checked()); }
void TMainForm::CheckBox2Click(TObject*) { AreaSeries1->AreaLinesPen()->SetVisible(CheckBox2->Checked()); }

// ---- Memo, date and file name fields

void TMainForm::SpeedButton6Click(TObject*) {
  TChart* chart = ChartInFront();
  if (!chart) return;
  SetTitleLine(chart, 0,
               u"< Air monitor >   Model name: " + ComboBox5->Text() + u"    File name: " + Edit5->Text() +
                   u"    Date: " + Edit4->Text());
  SetTitleLine(chart, 1, u"User Memo: " + Edit3->Text());
  FocusIfShown(chart);
}

void TMainForm::SpeedButton8Click(TObject*) {
  TDateTime now = Now();
  Edit4->SetText(DateToStr(now) + u" " + TimeToStr(now));
}
void TMainForm::Edit4Click(TObject* Sender) { SpeedButton8Click(Sender); }

void TMainForm::Edit3DblClick(TObject*) { Edit3->SetText(String()); }
void TMainForm::Edit4DblClick(TObject*) { Edit4->SetText(String()); }
void TMainForm::Edit5DblClick(TObject*) { Edit5->SetText(String()); }

void TMainForm::SpeedButton3Click(TObject*) {
  Edit3->SetText(String());
  FocusIfShown(Edit3);
}
void TMainForm::SpeedButton5Click(TObject*) {
  Edit5->SetText(String());
  FocusIfShown(Edit5);
}
