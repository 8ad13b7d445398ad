#include "app/Main.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

#include "app/COMname.h"
#include "app/Caution.h"
#include "app/ComSetDialog.h"
#include "app/OtherForms.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Resources.h"
#include "platform/win/WinUser.h"

TMainForm* MainForm = nullptr;

namespace {

const String CRLF = u"\r\n";
const String AppErrorText = u"     ｱﾌﾟﾘｹｰｼｮﾝｴﾗｰが発生しました。ﾘｽﾀｰﾄﾎﾞﾀﾝを押してください。";

// Code of a text among four names: "00", "01", "10", "11"; empty for any other text.
String CodeOf(const String& Text, const char16_t* const (&Names)[4]) {
  static const char16_t* const codes[] = {u"00", u"01", u"10", u"11"};
  for (int i = 0; i < 4; ++i)
    if (Text == Names[i]) return codes[i];
  return String();
}

const char16_t* const ModeNames[4] = {u"ワンショット", u"トグル", u"スイッチング", u"モメンタリ"};
const char16_t* const ChannelNames[4] = {u"1", u"3", u"6", u"10"};

String ByteLine(uint8_t B) { return IntToHex(static_cast<int32_t>(B), 2) + u"  " + IntToStr(static_cast<int32_t>(B)); }

}  // namespace

void TMainForm::Warn(const String& Text) {
  MessageBeep(MB_ICONEXCLAMATION);
  Application->MessageBox(Text, Application->Title(), MB_OK);
}

TMainForm::TMainForm(TComponent* AOwner) : TForm(AOwner) {
  BeginLoading();
  CreateComponents();
  EndLoading();

  Link.AppendMemo1 = [this](const String& s) { AppendMemo(Memo1, s); };
  Link.AppendMemo2 = [this](const String& s) { AppendMemo(Memo2, s); };
  Link.HexMode = [this] { return RadioGroup3->ItemIndex() == 1; };
  Link.WriteLine = [this](const String& s) { ComPort1->WriteStr(s); };
  Link.ClearPortBuffers = [this] { ComPort1->ClearBuffer(true, true); };
  Link.WriteFailed = [this] { WriteFailed(); };
}

TMainForm::~TMainForm() {
  Destroying();
  // FormDestroy uses this window's own state: it runs before that state goes.
  DoDestroy();
}

// ---- Start-up and shut-down

void TMainForm::FormCreate(TObject*) {
  SetWidth(840);
  SetHeight(700);
  PageControl1->SetActivePage(TabSheet4);
  PageControl5->SetActivePage(TabSheet15);
  PageControl2->SetActivePage(TabSheet5);
  // Cursors 1 to 5 from the program's resources; one that is missing shows the default cursor.
  static const Char* const cursorNames[] = {u"QX4_1", u"QX4_2", u"QX4_3", u"QX4_4", u"QX4_5"};
  for (int i = 0; i < 5; ++i) Screen->SetCursors(i + 1, LoadCursor(HInstance, cursorNames[i]));
  VrDemoButton3->SetCursor(4);
  PageControl1->SetCursor(5);
  PageControl2->SetCursor(5);
  SpeedButton1->SetCursor(2);
  AbColBitBtn15->SetCursor(3);
  AbColBitBtn1->SetCursor(3);

  LastFolder = ExtractFilePath(ExeName());
  SettingsPath = SettingsFilePath();
  try {
    ComPort1->LoadSettings(stIniFile, SettingsPath);
  } catch (Exception&) {
    // An unreadable settings file keeps the port's stored defaults; creation goes on.
  }
  Randomize();
  Memo1->Perform(EM_LIMITTEXT, 20000000, 0);
  Memo2->Perform(EM_LIMITTEXT, 20000000, 0);

  AbLED1->SetChecked(false);
  VrPowerButton5->SetActive(false);
  VrPowerButton6->SetActive(false);
  VrPowerButton7->SetActive(false);

  Link.Reset();

  Chart2->BottomAxis()->SetMaximum(AbNumSpin3->ValueAsInt());
  CurrentModel.MinCh = 0;
  CurrentModel.MaxCh = ChannelSlots - 1;
  TimeMin = 0;
  TimeMax = SampleSlots - 1;
  Series1->Clear();
  Series3->Clear();
  for (int ch = 0; ch < ChannelSlots; ++ch) {
    Series1->AddXY(ch, LevelFloor);
    Levels[static_cast<size_t>(ch)] = LevelFloor;
  }
  for (int ch = 0; ch < ChannelSlots; ++ch) {
    Series3->AddXY(ch, LevelFloor);
    Peaks[static_cast<size_t>(ch)] = LevelFloor;
  }
  AreaSeries1->Clear();
  for (int p = 0; p < SampleSlots; ++p) {
    AreaSeries1->AddXY(p, LevelFloor);
    Samples[static_cast<size_t>(p)] = LevelFloor;
  }

  // A settings file that cannot be written back is no error here: the values read are used.
  Settings = LoadAppSettings(SettingsPath);
  Colors = Settings.Colors;
  Destination = Settings.Destination;
  FormCaptionText = Settings.FormCaption;
  Application->SetTitle(Settings.AppTitle);
  Link.CPUpower = Settings.CPUpower;
  setColor();
  LoadAppIcon();

  ComboBox5->Items()->Clear();
  ComboBox5->SetText(u"ﾓﾃﾞﾙ名を選んで下さい。");
  CurrentModel.GWidth = 100;
  FillModelList(Destination, ComboBox5->Items());
  VrDemoButton3->SetCaption(PortCaption());
  TDateTime now = Now();
  Edit4->SetText(DateToStr(now) + u" " + TimeToStr(now));
  for (TChart* chart : {Chart1, Chart2}) {
    TStrings* t = chart->Title()->Text();
    t->Clear();
    t->Add(GraphTitle1);
    t->Add(u"User Memo:");
    t->Add(u"Channel:       ch  / Freq.:        MHz   /   Level:       dBm");
  }
  Application->SetHintHidePause(5000);
}

void TMainForm::LoadAppIcon() {
  // A missing or broken icon keeps the default icon; creation goes on.
  String path = ExtractFilePath(ExeName()) + Settings.AppIcon;
  if (!FileExists(path)) return;
  try {
    TIcon icon;
    icon.LoadFromFile(path);
    if (icon.Empty()) return;
    Application->SetIcon(&icon);
    SetIcon(&icon);
  } catch (Exception&) {
  }
}

void TMainForm::FormClose(TObject*, TCloseAction&) { DSRWatch = false; }

void TMainForm::FormDestroy(TObject*) {
  ComPort1->Close();
  if (LinkMode == u"TCP/IP") TcpClient1->Disconnect();
}

void TMainForm::Closet1Click(TObject*) { Application->Terminate(); }

void TMainForm::ApplicationEvents1Exception(TObject*, Exception&) {
  MessageBeep(MB_ICONEXCLAMATION);
  Application->MessageBox(AppErrorText, Application->Title(), MB_OK);
}

bool TMainForm::WaitTime(int Milliseconds) {
  // A monotonic deadline: changing the clock neither stretches nor cuts the wait.
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(Milliseconds);
  while (std::chrono::steady_clock::now() < deadline) {
    Application->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

void TMainForm::EnableControls(int Group, bool Enabled) {
  switch (Group) {
    case 1:
      AbColBitBtn15->SetEnabled(Enabled);
      AbColBitBtn1->SetEnabled(Enabled);
      SpeedButton1->SetEnabled(Enabled);
      AbVSlider1->SetEnabled(Enabled);
      AbVSlider3->SetEnabled(Enabled);
      break;
    case 2: TabSheet4->SetEnabled(Enabled); break;
    case 3:
      VrDemoButton3->SetEnabled(Enabled);
      VrDemoButton2->SetEnabled(Enabled);
      break;
    case 4:
      VrDemoButton3->SetEnabled(Enabled);
      VrDemoButton2->SetEnabled(Enabled);
      SetCom->SetEnabled(Enabled);
      break;
    default: break;
  }
}

// ---- Command link

void TMainForm::AppendMemo(TMemo* Memo, const String& S) {
  if (Memo == Memo1 && CodeShown) {
    // The code display is up: the text joins the saved text and shows as codes meanwhile.
    SavedMonitorText += S;
    Memo->SetSelText(CodeText(S));
    return;
  }
  Memo->SetSelText(S);
}

void TMainForm::ApplicationEvents1Idle(TObject*, bool& Done) { Link.Idle(Done); }

void TMainForm::ComPort1RxChar(TObject*, int Count) {
  String s;
  ComPort1->ReadStr(s, Count);
  Link.ReceiveChars(s);
}

void TMainForm::ComPort1TxEmpty(TObject*) { Link.TxEmpty(); }

void TMainForm::WriteFailed() { Warn(u"受信中にｴﾗｰが発生しました。ﾘｽﾀｰﾄﾎﾞﾀﾝを押してください。"); }

// ---- Line events

void TMainForm::ComPort1DSRChange(TObject*, bool OnOff) {
  if (OnOff) {
    VrPowerButton5->SetActive(true);
  } else if (DSRWatch) {
    VrPowerButton5->SetActive(false);
    MessageBeep(MB_ICONEXCLAMATION);
    AppendMemo(Memo1, u"DSR信号エラーです。接続を確認して下さい。" + CRLF);
  }
}

void TMainForm::ComPort1CTSChange(TObject*, bool OnOff) { VrPowerButton6->SetActive(OnOff); }

void TMainForm::ComPort1Error(TObject*, TComErrors Errors) {
  static const struct {
    TComError Error;
    const char16_t* Text;
  } lines[] = {
      {ceFrame, u"ﾌﾚｰﾐﾝｸﾞｴﾗｰが発生しました。"},
      {ceRxParity, u"ﾊﾟﾘﾃｨｴﾗｰが発生しました。"},
      {ceOverrun, u"ｵｰﾊﾞｰﾗﾝｴﾗｰが発生しました。"},
      {ceBreak, u"ﾊｰﾄﾞｳｪｱがﾌﾞﾚｰｸ状態を検知しました。"},
      {ceIO, u"I/O ｴﾗｰが発生しました。"},
      {ceMode, u"要求したﾓｰﾄﾞはｻﾎﾟｰﾄしていません。"},
      {ceRxOver, u"入力ﾊﾞｯﾌｧがｵｰﾊﾞｰﾌﾛｰしました。"},
      {ceTxFull, u"出力ﾊﾞｯﾌｧが一杯です。"},
  };
  MessageBeep(MB_ICONEXCLAMATION);
  for (const auto& l : lines)
    if (Errors.Contains(l.Error)) AppendMemo(Memo1, String(l.Text) + CRLF);
}

// ---- Adapter connection of a network model

void TMainForm::SetControlLine(bool On) {
  if (LinkMode == u"TCP/IP") {
    const uint8_t cmd[9] = {0x1B, 0x02, 0, 0, 0, static_cast<uint8_t>(On ? 2 : 0), 0, 0, 0};
    TcpClient1->SendBuf(cmd, 9, 0);
    DrainAdapter(5);
    AddAdapterLines(5);
  } else {
    ComPort1->SetDTR(On);
  }
}

void TMainForm::DrainAdapter(int Chunk) {
  // Reads while the adapter keeps sending within 500 ms of the last chunk; one that never
  // falls silent is cut off after 2 s. A failed call ends the drain (its error is reported).
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(2000);
  while (!AdapterFailed) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    if (left <= 0 || !TcpClient1->WaitForData(static_cast<int>(std::min<int64_t>(500, left)))) break;
    if (TcpClient1->ReceiveBuf(AdapterReply.data(), Chunk, 0) <= 0) break;
  }
  // An adapter that closed the connection is a network error like any other.
  if (!AdapterFailed && !TcpClient1->Connected()) TcpClient1Error(TcpClient1, ECONNRESET);
}

void TMainForm::AddAdapterLines(int Count) {
  for (int i = 0; i < Count; ++i) Memo1->Lines()->Add(ByteLine(AdapterReply[static_cast<size_t>(i)]));
}

void TMainForm::TcpClient1Connect(TObject*) {
  Memo1->Lines()->Add(u"XPortが接続されました");
  DrainAdapter(10);
  AddAdapterLines(10);
}

void TMainForm::TcpClient1Receive(TObject*, char*, int&) { Memo1->Lines()->Add(u"XPortからデータを受信しました"); }

void TMainForm::TcpClient1Disconnect(TObject*) { Memo1->Lines()->Add(u"XPort切断されました"); }

void TMainForm::TcpClient1Error(TObject*, int) {
  AdapterFailed = true;
  Caution2Form->Label1->SetCaption(u" ﾈｯﾄﾜｰｸｴﾗｰが発生しました!! ");
  Caution2Form->Label2->SetCaption(u" ｱﾌﾟﾘｹｰｼｮﾝを終了します｡ ");
  Caution2Form->Show();
  MessageBeep(MB_ICONEXCLAMATION);
  WaitTime(250);
  Application->Terminate();
}

// ---- Model choice and port connection

void TMainForm::ComboBox5Change(TObject*) {
  ResetFrequencyChart();
  ResetTimeChart();
  AbColBitBtn15->SetChecked(false);
  AbColBitBtn1->SetChecked(false);
  VrDemoButton3->SetEnabled(true);
  VrDemoButton2->SetEnabled(true);
  int row = ComboBox5->ItemIndex();
  String name = row >= 0 ? ComboBox5->Items()->Strings(row) : ComboBox5->Text();
  if (name.find(u"LAN") != String::npos) {
    LinkMode = u"TCP/IP";
    SetCaption(FormCaptionText + u" for " + name + u" ( Uses TCP/IP )");
  } else {
    LinkMode = u"Normal";
    SetCaption(FormCaptionText);
  }
}

void TMainForm::VrDemoButton3Click(TObject*) {
  if (ComboBox5->ItemIndex() == -1) {
    Caution1Form->Show();
    return;
  }
  AbColBitBtn15->SetChecked(false);
  if (ComPort1->Connected()) {
    DSRWatch = false;
    ComboBox5->SetItemIndex(SavedModelIndex);
    // A device that has gone (unplugged, its far end closed) refuses the control line and the
    // purge; the port is closed all the same, so that a later open starts afresh.
    try {
      SetControlLine(false);
    } catch (Exception&) {
    }
    VrPowerButton7->SetActive(false);
    try {
      ComPort1->AbortAllAsync();
      ComPort1->ClearBuffer(true, true);
    } catch (Exception&) {
    }
    ComPort1->Close();
    Link.Reset();
    StatusBar1->Panels()->Items(0)->SetText(String());
    AbLED1->SetChecked(false);
    EnableControls(1, false);
    ComboBox5->SetEnabled(true);
    PageControl1->SetVisible(false);
    if (LinkMode == u"TCP/IP") TcpClient1->Disconnect();
  } else {
    try {
      if (LinkMode == u"TCP/IP" && !TcpClient1->Connected()) {
        if (IPSettingForm1->ShowModal() != mrOk) return;
        TcpClient1->SetRemoteHost(UTF8ToString(StringToUTF8(IPSettingForm1->RemoteAddress)));
        TcpClient1->SetRemotePort(UTF8ToString(StringToUTF8(IPSettingForm1->RemotePort)));
        AdapterFailed = false;
        TcpClient1->SetActive(true);
        TcpClient1->Connect();
      }
      Caution2Form->Close();
      ComPort1->Open();
      WaitTime(200);
    } catch (Exception&) {
      Warn(u"COMﾎﾟｰﾄを開く事が出来ません。ﾊﾟﾗﾒｰﾀをﾁｪｯｸして下さい。");
      return;
    }
    DSRWatch = true;
    ComPort1->ClearBuffer(true, true);
    // A fresh connection starts on the control page with a free line: a write error or a
    // line in flight before the last close must not stall it.
    Link.Reset();
    SetControlLine(false);
    SavedModelIndex = ComboBox5->ItemIndex();
    VrPowerButton7->SetActive(false);
    AbLED1->SetChecked(true);
    PageControl1->SetActivePage(TabSheet4);
    PageControl1->SetVisible(true);
    SetPopupMenu(PopupMenu2);
    if (!CurrentModel.flgSGcommand) CommandOut(1, u"ID ALL /R");
    EnableControls(3, true);
    TabSheet1->SetTabVisible(CurrentModel.UnitKind != Tx);
    StatusBar1->Panels()->Items(0)->SetText(u"Port: " + ComPort1->Port() + u" / Rate: " +
                                            BaudRateToStr(ComPort1->BaudRate()) + u" bps");
    ComboBox5->SetEnabled(false);
    EnableControls(1, true);
  }
  ShowCommandLength();
}

void TMainForm::VrDemoButton2Click(TObject*) {
  ComSetDlg->Memo1->Clear();
  ListSerialPorts();
  ComSetDlg->Memo1->SetText(PortListText);
  DSRWatch = false;
  ComPort1->Close();
  StatusBar1->Panels()->Items(0)->SetText(String());
  AbLED1->SetChecked(false);
  VrPowerButton7->SetActive(false);
  ComPort1->SetCustomBaudRate(9600);
  PageControl1->SetVisible(false);
  TComComboBox* ports = ComSetDlg->ComComboBox1;
  ports->Items()->Clear();
  EnumComPorts(ports->Items());
  ListConfiguredPort(ports->Items(), ComPort1->Port());
  ports->UpdateSettings();
  if (ports->ItemIndex() >= 0) ComPort1->SetPort(ports->Items()->Strings(ports->ItemIndex()));
  if (ComSetDlg->ShowModal() == mrOk) {
    ComboBox5->SetEnabled(true);
    VrDemoButton3->SetCaption(PortCaption());
  }
}

String TMainForm::PortCaption() const { return PortDeviceName(ComPort1->Port()) + u" ﾎﾟｰﾄ"; }

void TMainForm::AbLED1StatusChanged(TObject*) { VrDemoButton3->SetCursor(AbLED1->Checked() ? 1 : 4); }

// ---- Receiver commands

void TMainForm::QueueQuery(int32_t Kind, const String& Line) {
  if (Kind != qkNone) Link.QueryKind = Kind;
  CommandOut(1, Line);
}

void TMainForm::VrDemoButton5Click(TObject*) { QueueQuery(qkOutputMode, u"MD"); }
void TMainForm::VrDemoButton12Click(TObject*) {
  QueueQuery(qkNone, u"MD " + CodeOf(ComboBox6->Text(), ModeNames) + (RadioGroup1->ItemIndex() == 1 ? u"/W" : u""));
}
void TMainForm::VrDemoButton4Click(TObject*) { QueueQuery(qkChannel, u"CH"); }
void TMainForm::VrDemoButton13Click(TObject*) {
  QueueQuery(qkNone, u"CH " + CodeOf(ComboBox7->Text(), ChannelNames) + (RadioGroup2->ItemIndex() == 1 ? u"/W" : u""));
}
void TMainForm::VrDemoButton46Click(TObject*) { QueueQuery(qkSignalStrength, u"RS"); }
void TMainForm::VrDemoButton11Click(TObject*) { QueueQuery(qkNone, u"VE"); }
void TMainForm::VrDemoButton6Click(TObject*) { QueueQuery(qkNone, u"ID " + AbNumSpin1->Text() + u"/W"); }
void TMainForm::VrDemoButton9Click(TObject*) { QueueQuery(qkNone, u"ID " + AbNumSpin1->Text() + u"/D"); }
void TMainForm::VrDemoButton7Click(TObject*) { QueueQuery(qkNone, u"ID " + ComboBox1->Text() + u"/E"); }
void TMainForm::VrDemoButton8Click(TObject*) { QueueQuery(qkNone, u"ID ALL /E"); }
void TMainForm::VrDemoButton47Click(TObject*) { QueueQuery(qkNone, u"ID ALL /R"); }

void TMainForm::SpeedButton1Click(TObject*) {
  String text = CommandBox1->Text();
  if (text != HistoryLast) {
    CommandBox1->Items()->Add(text);
    HistoryLast = text;
  }
  CommandOut(1, text);
}

void TMainForm::CommandBox1KeyDown(TObject*, Word& Key, TShiftState) {
  if (Key == VK_RETURN) SpeedButton1Click(SpeedButton1);
}

void TMainForm::ShowCommandLength() {
  LabeledEdit3->SetText(IntToStr(static_cast<int32_t>(CommandBox1->Text().size())));
}

void TMainForm::CommandBox1Change(TObject*) { ShowCommandLength(); }
void TMainForm::CommandBox1Enter(TObject*) { ShowCommandLength(); }
void TMainForm::CommandBox1DblClick(TObject*) { CommandBox1->SetText(String()); }
void TMainForm::SpeedButton7Click(TObject*) { CommandBox1->SetText(String()); }

// ---- Pages and monitors

void TMainForm::PageControl1Change(TObject*) {
  for (TMenuItem* m : {SetCom, SaveGraph1, LoadGraph1, Print1, SaveImage1}) m->SetEnabled(false);
  Link.SetParserSelect(rmControlPage);
  bool air = PageControl1->ActivePage() == TabSheet1;
  for (TControl* c : {static_cast<TControl*>(Edit3), static_cast<TControl*>(Edit4), static_cast<TControl*>(Edit5),
                      static_cast<TControl*>(SpeedButton3), static_cast<TControl*>(SpeedButton5),
                      static_cast<TControl*>(SpeedButton6), static_cast<TControl*>(SpeedButton8)})
    c->SetVisible(air);
  if (!air) {
    VrDemoButton3->SetEnabled(true);
    VrDemoButton2->SetEnabled(true);
    SetCom->SetEnabled(true);
    Link.MonitorState = msControlPage;
    SetPopupMenu(PopupMenu2);
    return;
  }
  Link.SetParserSelect(rmAirMonitor);
  SetTitleLine(Chart2, 2, TimeChannelTitle(u"Level:  " + LevelText(Samples[static_cast<size_t>(
                                                               std::clamp(AnalysisPoint, 0, SampleSlots - 1))]) +
                                             u"dBm"));
  SetPopupMenu(PopupMenu1);
  SetWidth(840);
  VrDemoButton3->SetEnabled(false);
  VrDemoButton2->SetEnabled(false);
  for (TMenuItem* m : {SaveGraph1, LoadGraph1, Print1, SaveImage1}) m->SetEnabled(true);
  PageControl2Change(PageControl2);
}

void TMainForm::Memo1Change(TObject*) {
  // Count and length come from the memo's own bookkeeping, without a copy of its text.
  int lines = Memo1->Lines()->Count();
  int32_t length = static_cast<int32_t>(Memo1->Perform(WM_GETTEXTLENGTH, 0, 0));
  LabeledEdit1->SetText(IntToStr(lines));
  LabeledEdit2->SetText(IntToStr(length));
  VrDemoButton48->SetEnabled(lines <= 30);
  if (length > 30000) Memo1->Clear();
}

void TMainForm::SpeedButton4Click(TObject*) {
  EndCodeDisplay();
  Memo1->Clear();
  Memo1Change(Memo1);
  VrDemoButton48->SetEnabled(true);
}

void TMainForm::VrDemoButton48MouseDown(TObject*, TMouseButton Button, TShiftState, int, int) {
  // The left button holds the code display; another button's release may never reach here.
  if (Button != mbLeft || CodeShown) return;
  Memo1->SetSelStart(0);
  Memo1->SelectAll();
  SavedMonitorText = Memo1->SelText();
  Memo1->Clear();
  Memo1->SetSelText(CodeText(SavedMonitorText));
  CodeShown = true;
}

void TMainForm::VrDemoButton48MouseUp(TObject*, TMouseButton Button, TShiftState, int, int) {
  if (Button != mbLeft || !CodeShown) return;
  CodeShown = false;
  Memo1->Clear();
  Memo1->SetSelText(SavedMonitorText);
  SavedMonitorText.clear();
}

void TMainForm::EndCodeDisplay() {
  // A clear while the code display is up empties the monitor for good: the text is not put back.
  CodeShown = false;
  SavedMonitorText.clear();
}

void TMainForm::N15Click(TObject*) { Memo1->SelectAll(); }
void TMainForm::N14Click(TObject*) { Memo1->CopyToClipboard(); }
void TMainForm::Clearmonitor1Click(TObject*) {
  EndCodeDisplay();
  Memo1->Clear();
}

void TMainForm::N17Click(TObject*) {
  Memo1->SelectAll();
  Memo1->SetSelStart(Memo1->SelLength());
}

void TMainForm::Font1Click(TObject*) {
  if (FontDialog1->Execute()) FontDialog1Apply(FontDialog1, nullptr);
}

void TMainForm::FontDialog1Apply(TObject*, HWND) {
  TWinControl* c = Screen->ActiveControl();
  if (dynamic_cast<TCustomMemo*>(c) != nullptr || dynamic_cast<TEdit*>(c) != nullptr)
    c->Font()->Assign(FontDialog1->Font());
}

void TMainForm::N13Click(TObject*) {
  ColorDialog1->SetColor(Memo1->Color());
  if (ColorDialog1->Execute()) Memo1->SetColor(ColorDialog1->Color());
}

void TMainForm::SpeedButton2Click(TObject*) { Memo2->Clear(); }

void TMainForm::AbColBitBtn14Click(TObject*) {
  if (AbColBitBtn14->Checked()) {
    AbOpHourCounter1->SetCount(false);
    AbOpHourCounter1->Font()->SetColor(0xFFFF00);
    AbOpHourCounter1->SetTime(0, 0, 0);
    AbOpHourCounter1->SetCount(true);
  } else {
    AbOpHourCounter1->Font()->SetColor(0x0000FF);
    AbOpHourCounter1->SetCount(false);
  }
}

void TMainForm::AbOpHourCounter1Click(TObject*) {
  AbOpHourCounter1->Font()->SetColor(0x0000FF);
  AbOpHourCounter1->SetCount(false);
  AbColBitBtn14->SetChecked(false);
}

void TMainForm::VrDemoButton1Click(TObject*) { ConversionForm1->ShowModal(); }
void TMainForm::Option1Click(TObject*) { OptionBoxForm->Show(); }

void TMainForm::ImageViewer1Click(TObject*) {
  ImageViewForm1->SetWidth(892);
  ImageViewForm1->SetHeight(525);
  ImageViewForm1->Show();
}
void TMainForm::Version1Click(TObject*) { VerBoxForm->Show(); }
