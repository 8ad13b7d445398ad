// The main window's stored description: its components with their names, captions, hints,
// positions, settings and handler bindings, in the order they are read.
#include "app/Main.h"
#include "app/FormBuilder.h"

#include "platform/rtl/SysUtils.h"

namespace {

const String PGothic = u"ＭＳ Ｐゴシック";
const String Gothic = u"ＭＳ ゴシック";

TTabSheet* MakePage(TComponent* Owner, TPageControl* Pages, const String& Name, const String& Caption) {
  auto* page = MakeComponent<TTabSheet>(Owner, Name);
  page->SetPageControl(Pages);
  page->SetCaption(Caption);
  return page;
}

// The two-state start/stop button of a measurement.
void MeasureButton(TAbColBitBtn* B) {
  B->SetMode(mSwitch);
  B->SetTextOff(u"スタート");
  B->SetTextColOff(clBlue);
  B->SetTextOn(u"ストップ");
  B->SetTextColOn(clRed);
  WithHint(B, u"測定を開始します。");
}

// A threshold slider from -140 to -40 dBm.
void ThresholdSlider(TAbVSlider* S) {
  S->SignalSettings()->SetValueFrom(-140);
  S->SignalSettings()->SetValueTo(-40);
  S->SignalSettings()->SetValueUnit(u"dBm");
  S->SignalSettings()->SetValueFormat(u"###0");
  S->SignalSettings()->SetName1(String());
  S->SignalSettings()->SetName2(String());
  S->ScaleSettings()->Font()->SetSize(7);  // "-140" whole on both sides of the track
  S->SetOptions({opBevelOuter, opValue, opScaleText});
  S->SetValue(-100);
  S->SetChangeLarge(5);
  S->SetEnabledKeys({_VK_DOWN, _VK_UP});
  WithHint(S, u"閾値調整");
}

// A cross drawn on a small bitmap: the face of the clear buttons.
void ClearGlyph(TSpeedButton* B) {
  TBitmap glyph;
  glyph.SetSize(12, 12);
  TCanvas* c = glyph.Canvas();
  c->Brush()->SetColor(clOlive);
  c->FillRect(Rect(0, 0, 12, 12));
  c->Pen()->SetColor(clRed);
  c->Pen()->SetWidth(2);
  c->MoveTo(2, 2);
  c->LineTo(10, 10);
  c->MoveTo(10, 2);
  c->LineTo(2, 10);
  B->SetGlyph(&glyph);
}

// Command buttons show their caption in the window's font, bold, red under the mouse, and
// are tab stops, so the keyboard reaches them (Space or Enter presses the focused one).
void CommandFont(TVrDemoButton* B) {
  B->SetTabStop(true);
  for (TFont* f : {B->FontEnter(), B->FontLeave()}) {
    f->SetName(PGothic);
    f->SetCharset(SHIFTJIS_CHARSET);
    f->SetHeight(-12);
  }
}

TMenuItem* Item(TComponent* Owner, TMenuItem* Parent, const String& Name, const String& Caption,
                TShortCut Key = scNone, TNotifyEvent OnClick = nullptr) {
  auto* item = MakeComponent<TMenuItem>(Owner, Name);
  item->SetCaption(Caption);
  item->SetShortCut(Key);
  item->OnClick = std::move(OnClick);
  Parent->Add(item);
  return item;
}

TShortCut Key(Word K, TShiftState Shift = {}) { return ShortCut(K, Shift); }

}  // namespace

void TMainForm::CreateComponents() {
  SetName(u"MainForm");
  SetCaption(u"TRM910X/RCV910X　セッティング　ツール");
  SetBorderStyle(bsSingle);
  SetPosition(poDesigned);
  SetBounds(69, 150, 840, 700);
  Constraints()->SetMinWidth(408);
  Constraints()->SetMaxWidth(1024);
  Constraints()->SetMinHeight(650);
  Constraints()->SetMaxHeight(736);
  Font()->SetName(PGothic);
  Font()->SetCharset(SHIFTJIS_CHARSET);
  Font()->SetHeight(-12);
  SetShowHint(true);
  SetEnabled(false);
  OnCreate = [this](TObject* s) { FormCreate(s); };
  OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };

  ComPort1 = MakeComponent<TComPort>(this, u"ComPort1");
  ComPort1->SetBaudRate(br19200);
  ComPort1->SetDataBits(dbEight);
  ComPort1->SetStopBits(sbOneStopBit);
  ComPort1->Parity()->SetBits(prNone);
  ComPort1->FlowControl()->SetOutCTSFlow(true);
  ComPort1->FlowControl()->SetControlDTR(dtrEnable);
  ComPort1->FlowControl()->SetControlRTS(rtsHandshake);
  ComPort1->Buffer()->SetInputSize(256);
  ComPort1->Buffer()->SetOutputSize(256);
  ComPort1->Timeouts()->SetReadTotalConstant(3000);
  ComPort1->Timeouts()->SetWriteTotalConstant(3000);
  ComPort1->SetEvents({evRxChar, evTxEmpty, evCTS, evDSR, evError});
  ComPort1->SetSyncMethod(smWindowSync);
  ComPort1->SetStoredProps({spBasic});
  ComPort1->OnRxChar = [this](TObject* s, int n) { ComPort1RxChar(s, n); };
  ComPort1->OnTxEmpty = [this](TObject* s) { ComPort1TxEmpty(s); };
  ComPort1->OnDSRChange = [this](TObject* s, bool on) { ComPort1DSRChange(s, on); };
  ComPort1->OnCTSChange = [this](TObject* s, bool on) { ComPort1CTSChange(s, on); };
  ComPort1->OnError = [this](TObject* s, TComErrors e) { ComPort1Error(s, e); };

  TcpClient1 = MakeComponent<TTcpClient>(this, u"TcpClient1");
  TcpClient1->SetRemotePort(u"30704");
  TcpClient1->OnConnect = [this](TObject* s) { TcpClient1Connect(s); };
  TcpClient1->OnReceive = [this](TObject* s, char* b, int& n) { TcpClient1Receive(s, b, n); };
  TcpClient1->OnDisconnect = [this](TObject* s) { TcpClient1Disconnect(s); };
  TcpClient1->OnError = [this](TObject* s, int e) { TcpClient1Error(s, e); };

  ApplicationEvents1 = MakeComponent<TApplicationEvents>(this, u"ApplicationEvents1");
  ApplicationEvents1->OnIdle = [this](TObject* s, bool& done) { ApplicationEvents1Idle(s, done); };
  ApplicationEvents1->OnException = [this](TObject* s, Exception& e) { ApplicationEvents1Exception(s, e); };

  FontDialog1 = MakeComponent<TFontDialog>(this, u"FontDialog1");
  FontDialog1->SetOptions({fdEffects, fdApplyButton});
  FontDialog1->OnApply = [this](TObject* s, HWND w) { FontDialog1Apply(s, w); };
  ColorDialog1 = MakeComponent<TColorDialog>(this, u"ColorDialog1");
  ColorDialog1->SetOptions({cdFullOpen, cdSolidColor});
  OpenPictureDialog1 = MakeComponent<TOpenPictureDialog>(this, u"OpenPictureDialog1");
  SaveDialog1 = MakeComponent<TSaveDialog>(this, u"SaveDialog1");
  SaveDialog1->SetOptions({ofOverwritePrompt, ofHideReadOnly, ofEnableSizing, ofDontAddToRecent});
  OpenDialog1 = MakeComponent<TOpenDialog>(this, u"OpenDialog1");
  OpenDialog1->SetOptions({ofHideReadOnly, ofEnableSizing});
  PrintDialog1 = MakeComponent<TPrintDialog>(this, u"PrintDialog1");

  CreateMenus();
  CreateTopBar();

  StatusBar1 = Make<TStatusBar>(this, this, u"StatusBar1", 0, 0, 840, 19);
  StatusBar1->SetAlign(alBottom);
  for (int width : {220, 50, 50, 50, 150, 220}) StatusBar1->Panels()->Add()->SetWidth(width);
  StatusBar1->Panels()->Items(5)->SetAlignment(taRightJustify);
  StatusBar1->Panels()->Items(5)->SetText(u"RCV910X - Setting tool ");

  PageControl1 = Make<TPageControl>(this, this, u"PageControl1", 0, 40, 832, 560);
  PageControl1->SetAlign(alClient);
  PageControl1->SetVisible(false);
  PageControl1->OnChange = [this](TObject* s) { PageControl1Change(s); };
  CreateControlPage();
  CreateAirMonitorPage();
  SetPopupMenu(PopupMenu2);
}

void TMainForm::CreateMenus() {
  PopupMenu2 = MakeComponent<TPopupMenu>(this, u"PopupMenu2");
  TMenuItem* m = PopupMenu2->Items();
  N15 = Item(this, m, u"N15", u"ｽｸﾘｰﾝの文字を全て選択", Key(VK_F3), [this](TObject* s) { N15Click(s); });
  N14 = Item(this, m, u"N14", u"ｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰ", Key(VK_F4), [this](TObject* s) { N14Click(s); });
  Clearmonitor1 = Item(this, m, u"Clearmonitor1", u"ｽｸﾘｰﾝ消去", Key(VK_F7), [this](TObject* s) { Clearmonitor1Click(s); });
  N10 = Item(this, m, u"N10", u"ｲﾝﾌﾟﾄﾗｲﾝ1送信", Key(VK_F8), [this](TObject* s) { SpeedButton1Click(s); });
  Clearcommandline1 = Item(this, m, u"Clearcommandline1", u"ｲﾝﾌﾟｯﾄﾗｲﾝ1消去", Key(VK_F8, {ssShift}),
                           [this](TObject* s) { SpeedButton7Click(s); });
  N11 = Item(this, m, u"N11", u"ｲﾝﾌﾟﾄﾗｲﾝ2送信", Key(VK_F9));
  N12 = Item(this, m, u"N12", u"ｲﾝﾌﾟｯﾄﾗｲﾝ2消去", Key(VK_F9, {ssShift}));
  N16 = Item(this, m, u"N16", u"-----------------------------");
  Font1 = Item(this, m, u"Font1", u"ﾌｫﾝﾄ設定", scNone, [this](TObject* s) { Font1Click(s); });
  N13 = Item(this, m, u"N13", u"ｽｸﾘｰﾝｶﾗｰ", scNone, [this](TObject* s) { N13Click(s); });
  N18 = Item(this, m, u"N18", u"拡張機能開く", Key(VK_F5));
  N18->SetVisible(false);
  N19 = Item(this, m, u"N19", u"拡張機能閉じる", Key(VK_F5, {ssShift}));
  N20 = Item(this, m, u"N20", u"-----------------------------");
  N17 = Item(this, m, u"N17", u"キャレットを最後に移動", Key(VK_F7, {ssShift}), [this](TObject* s) { N17Click(s); });

  PopupMenu1 = MakeComponent<TPopupMenu>(this, u"PopupMenu1");
  m = PopupMenu1->Items();
  Option2 = Item(this, m, u"Option2", u"ｵﾌﾟｼｮﾝ", Key('O', {ssCtrl}), [this](TObject* s) { Option1Click(s); });
  N1 = Item(this, m, u"N1", u"-----------------------------");
  SaveImage1 = Item(this, m, u"SaveImage1", u"ｸﾞﾗﾌを画像ﾌｧｲﾙとして保存", Key('G', {ssCtrl}),
                    [this](TObject* s) { Saveimagefile2Click(s); });
  ImageViewer2 = Item(this, m, u"ImageViewer2", u"ｲﾒｰｼﾞﾋﾞｭｰｱ", Key('I', {ssCtrl}),
                      [this](TObject* s) { ImageViewer1Click(s); });
  CopyClipboard1 = Item(this, m, u"CopyClipboard1", u"ｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰ", Key('C', {ssCtrl}),
                        [this](TObject* s) { Copytoclipboard1Click(s); });
  N2 = Item(this, m, u"N2", u"-----------------------------");
  SaveGraph1 = Item(this, m, u"SaveGraph1", u"ｸﾞﾗﾌﾃﾞｰﾀ保存", Key('S', {ssCtrl}),
                    [this](TObject* s) { Savegraphdata2Click(s); });
  LoadGraph1 = Item(this, m, u"LoadGraph1", u"ｸﾞﾗﾌﾃﾞｰﾀ読込", Key('L', {ssCtrl}),
                    [this](TObject* s) { Loadgraphdata2Click(s); });
  N3 = Item(this, m, u"N3", u"-----------------------------");
  Print1 = Item(this, m, u"Print1", u"ｸﾞﾗﾌ印刷", Key('P', {ssCtrl}), [this](TObject* s) { Printgraph2Click(s); });
  N4 = Item(this, m, u"N4", u"-----------------------------");
  Zoomout1 = Item(this, m, u"Zoomout1", u"ｽﾞｰﾑｱｳﾄ", Key(VK_F10), [this](TObject* s) { Zoomout1Click(s); });
  Zoom2 = Item(this, m, u"Zoom2", u"ｽﾞｰﾑｲﾝ", Key(VK_F11), [this](TObject* s) { Zoom2Click(s); });
  Zoom1 = Item(this, m, u"Zoom1", u"ｽﾞｰﾑ取消", Key(VK_F12), [this](TObject* s) { Zoom1Click(s); });
  N5 = Item(this, m, u"N5", u"-----------------------------");
  Appearance1 = Item(this, m, u"Appearance1", u"ｸﾞﾗﾌ外観");
  N3D1 = Item(this, Appearance1, u"N3D1", u"3D", Key(VK_F3), [this](TObject* s) { N3D1Click(s); });
  Normal1 = Item(this, Appearance1, u"Normal1", u"ﾉｰﾏﾙ", Key(VK_F4), [this](TObject* s) { Normal1Click(s); });
  Normal1->SetChecked(true);
  Normal1->SetDefault(true);
  Centerline1 = Item(this, m, u"Centerline1", u"ｾﾝﾀｰﾗｲﾝ表示", Key(VK_F7), [this](TObject* s) { Centerline1Click(s); });
  Centerline1->SetChecked(true);
  Analizeline1 =
      Item(this, m, u"Analizeline1", u"ｱﾅﾗｲｽﾞﾗｲﾝ表示", Key(VK_F8), [this](TObject* s) { Analizeline1Click(s); });
  Analizeline1->SetChecked(true);

  MainMenu1 = MakeComponent<TMainMenu>(this, u"MainMenu1");
  m = MainMenu1->Items();
  File1 = Item(this, m, u"File1", u"ﾌｧｲﾙ");
  ImageViewer1 = Item(this, File1, u"ImageViewer1", u"ｲﾒｰｼﾞﾋﾞｭｰｱ", Key('I', {ssCtrl}),
                      [this](TObject* s) { ImageViewer1Click(s); });
  N6 = Item(this, File1, u"N6", u"-----------------------------");
  Closet1 = Item(this, File1, u"Closet1", u"閉じる", Key('Q', {ssCtrl}), [this](TObject* s) { Closet1Click(s); });
  Setting1 = Item(this, m, u"Setting1", u"ｾｯﾃｨﾝｸﾞ");
  SetCom = Item(this, Setting1, u"SetCom", u"COMﾎﾟｰﾄ", Key(VK_F2), [this](TObject* s) { VrDemoButton2Click(s); });
  Option1 = Item(this, Setting1, u"Option1", u"ｵﾌﾟｼｮﾝ", Key('O', {ssCtrl}), [this](TObject* s) { Option1Click(s); });
  Help1 = Item(this, m, u"Help1", u"ﾍﾙﾌﾟ");
  HelpFolder1 = Item(this, Help1, u"HelpFolder1", u"ﾍﾙﾌﾟﾌｫﾙﾀﾞｰを開く", scNone,
                     [this](TObject* s) { KitOperationGuide1Click(s); });
  N7 = Item(this, Help1, u"N7", u"-----------------------------");
  Version1 = Item(this, Help1, u"Version1", u"ﾊﾞｰｼﾞｮﾝ", scNone, [this](TObject* s) { Version1Click(s); });
  SetFormMenu(this, MainMenu1);
}

void TMainForm::CreateTopBar() {
  Panel9 = Make<TPanel>(this, this, u"Panel9", 0, 0, 832, 40);
  Panel9->SetAlign(alTop);
  Panel9->SetCaption(String());

  AbOpHourCounter1 = Make<TAbOpHourCounter>(this, Panel9, u"AbOpHourCounter1", 4, 4, 132, 32);
  AbOpHourCounter1->SetIndicate(oiHourMinSec);
  AbOpHourCounter1->SetSeparatorHour(u"h");
  AbOpHourCounter1->SetSeparatorMin(u"m");
  AbOpHourCounter1->SetSeparatorSec(u"s");
  AbOpHourCounter1->SetSeparatorChar(u":");
  AbOpHourCounter1->Font()->SetColor(0xFFFF00);
  AbOpHourCounter1->SetCount(true);
  WithHint(AbOpHourCounter1, u"ｶｳﾝﾀｰ：　ｸﾘｯｸすると停止します。");
  AbOpHourCounter1->OnClick = [this](TObject* s) { AbOpHourCounter1Click(s); };

  AbColBitBtn14 = Make<TAbColBitBtn>(this, Panel9, u"AbColBitBtn14", 140, 7, 26, 26);
  AbColBitBtn14->SetMode(mSwitch);
  AbColBitBtn14->SetCaption(String());
  AbColBitBtn14->SetTextOn(String());
  AbColBitBtn14->SetTextOff(String());
  AbColBitBtn14->SetTextColOn(clRed);
  AbColBitBtn14->SetTextColOff(clBlue);
  AbColBitBtn14->SetChecked(true);
  WithHint(AbColBitBtn14, u"時間測定を開始/停止します。");
  AbColBitBtn14->OnClick = [this](TObject* s) { AbColBitBtn14Click(s); };

  AbLED1 = Make<TAbLED>(this, Panel9, u"AbLED1", 172, 10, 22, 20);
  AbLED1->SetCaption(String());
  AbLED1->LED()->SetShape(sRectangle);
  AbLED1->LED()->SetColorOff(clMoneyGreen);
  AbLED1->LED()->SetWidth(18);
  AbLED1->LED()->SetHeight(14);
  WithHint(AbLED1, u"COMﾎﾟｰﾄがｵｰﾌﾟﾝしている時に点灯します。");
  AbLED1->OnStatusChanged = [this](TObject* s) { AbLED1StatusChanged(s); };

  ComboBox5 = Make<TComboBox>(this, Panel9, u"ComboBox5", 198, 9, 160, 22);
  ComboBox5->SetDropDownCount(10);
  ComboBox5->SetPopupMenu(PopupMenu2);
  WithHint(ComboBox5, u"使用しているﾓﾃﾞﾙを選んだ後にCOMﾎﾟｰﾄを開いて下さい｡");
  ComboBox5->OnChange = [this](TObject* s) { ComboBox5Change(s); };

  VrDemoButton1 = Make<TVrDemoButton>(this, Panel9, u"VrDemoButton1", 362, 6, 68, 28);
  VrDemoButton1->SetCaption(u"Hex変換");
  CommandFont(VrDemoButton1);
  WithHint(VrDemoButton1, u"16進-10進変換を行なう事ができます。");
  VrDemoButton1->OnClick = [this](TObject* s) { VrDemoButton1Click(s); };

  struct Lamp {
    TVrPowerButton** Field;
    const char16_t* Name;
    const char16_t* Caption;
    const char16_t* HintText;
  };
  const Lamp lamps[] = {{&VrPowerButton5, u"VrPowerButton5", u"DSR", u"DSR信号線の状態"},
                        {&VrPowerButton6, u"VrPowerButton6", u"CTS", u"CTS信号線の状態"},
                        {&VrPowerButton7, u"VrPowerButton7", u"DTR", u"DTR信号線の状態"}};
  int left = 434;
  for (const Lamp& l : lamps) {
    TVrPowerButton* b = *l.Field = Make<TVrPowerButton>(this, Panel9, l.Name, left, 6, 54, 28);
    b->SetCaption(l.Caption);
    b->Palette()->SetLow(clSilver);
    b->Palette()->SetHigh(clRed);
    WithHint(b, l.HintText);
    left += 56;
  }

  VrDemoButton3 = Make<TVrDemoButton>(this, Panel9, u"VrDemoButton3", 604, 6, 108, 28);
  VrDemoButton3->SetCaption(u"COMポート");
  CommandFont(VrDemoButton3);
  VrDemoButton3->SetEnabled(false);
  WithHint(VrDemoButton3, u"COMﾎﾟｰﾄ　ｵｰﾌﾟﾝ / ｸﾛｰｽﾞ　ﾎﾞﾀﾝ");
  VrDemoButton3->OnClick = [this](TObject* s) { VrDemoButton3Click(s); };

  VrDemoButton2 = Make<TVrDemoButton>(this, Panel9, u"VrDemoButton2", 716, 6, 112, 28);
  VrDemoButton2->SetCaption(u"COM 設定 / ﾘｽﾀｰﾄ");
  CommandFont(VrDemoButton2);
  WithHint(VrDemoButton2, u"COMﾎﾟｰﾄﾊﾟﾗﾒｰﾀを設定します｡");
  VrDemoButton2->OnClick = [this](TObject* s) { VrDemoButton2Click(s); };
}

void TMainForm::CreateControlPage() {
  TabSheet4 = MakePage(this, PageControl1, u"TabSheet4", u" ｺﾝﾄﾛｰﾙ&&ﾃｽﾄ   ");

  // Left half: the monitor, its counters and the command line.
  Memo1 = Make<TMemo>(this, TabSheet4, u"Memo1", 4, 4, 404, 400);
  Memo1->Font()->SetName(Gothic);
  Memo1->Font()->SetCharset(SHIFTJIS_CHARSET);
  Memo1->Font()->SetHeight(-13);
  Memo1->SetScrollBars(ssVertical);
  Memo1->SetHideSelection(false);
  Memo1->SetText(String());
  WithHint(Memo1, u"ｺﾏﾝﾄﾞやﾚｼｰﾌﾞﾚｽﾎﾟﾝｽを表示します。ｺﾋﾟｰや印刷ができます。");
  Memo1->OnChange = [this](TObject* s) { Memo1Change(s); };
  Memo1->OnDblClick = [this](TObject* s) { N17Click(s); };

  LabeledEdit2 = Make<TLabeledEdit>(this, TabSheet4, u"LabeledEdit2", 4, 424, 64, 21);
  LabeledEdit2->EditLabel()->SetCaption(u"ﾃﾞｰﾀ数");
  LabeledEdit2->SetReadOnly(true);
  LabeledEdit2->SetText(u"0");
  LabeledEdit1 = Make<TLabeledEdit>(this, TabSheet4, u"LabeledEdit1", 74, 424, 52, 21);
  LabeledEdit1->EditLabel()->SetCaption(u"ﾗｲﾝ数");
  LabeledEdit1->SetReadOnly(true);
  LabeledEdit1->SetText(u"0");

  RadioGroup3 = Make<TRadioGroup>(this, TabSheet4, u"RadioGroup3", 132, 406, 116, 42);
  RadioGroup3->SetCaption(u" ｽｸﾘｰﾝﾓｰﾄﾞ  ");
  RadioGroup3->SetColumns(2);
  RadioGroup3->Items()->AddStrings({u"Text", u"Hex"});
  RadioGroup3->SetItemIndex(0);

  VrDemoButton48 = Make<TVrDemoButton>(this, TabSheet4, u"VrDemoButton48", 254, 414, 74, 32);
  VrDemoButton48->SetCaption(u"ｺｰﾄﾞ表示");
  CommandFont(VrDemoButton48);
  WithHint(VrDemoButton48, u"ﾎﾞﾀﾝを押している間、ｽｸﾘｰﾝに表示されているｷｬﾗｸﾀｰをｺｰﾄﾞ表示します。");
  VrDemoButton48->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    VrDemoButton48MouseDown(s, b, sh, x, y);
  };
  VrDemoButton48->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    VrDemoButton48MouseUp(s, b, sh, x, y);
  };

  SpeedButton4 = Make<TSpeedButton>(this, TabSheet4, u"SpeedButton4", 334, 414, 74, 32);
  SpeedButton4->SetCaption(u"消去(F7)");
  WithHint(SpeedButton4, u"ｽｸﾘｰﾝを消去します。");
  SpeedButton4->OnClick = [this](TObject* s) { SpeedButton4Click(s); };

  Panel1 = Make<TPanel>(this, TabSheet4, u"Panel1", 4, 452, 404, 104);
  Panel1->SetCaption(String());
  Panel1->SetBevelOuter(bvLowered);

  LabeledEdit3 = Make<TLabeledEdit>(this, Panel1, u"LabeledEdit3", 6, 22, 46, 21);
  LabeledEdit3->EditLabel()->SetCaption(u"ﾃﾞｰﾀ数");
  LabeledEdit3->SetReadOnly(true);
  WithHint(LabeledEdit3, u"ﾃﾞｰﾀ入力ﾗｲﾝ1のﾃﾞｰﾀ数を表示します｡");

  CommandBox1 = Make<ZIviDovevUvi>(this, Panel1, u"CommandBox1", 58, 4, 250, 98);
  CommandBox1->SetStyle(csSimple);
  CommandBox1->SetText(u"MD");
  CommandBox1->Font()->SetName(Gothic);
  CommandBox1->Font()->SetCharset(SHIFTJIS_CHARSET);
  CommandBox1->Font()->SetHeight(-15);
  CommandBox1->SetButtonWidth(18);
  CommandBox1->SetLabelMargin(0);
  CommandBox1->SetParentColor(true);
  WithHint(CommandBox1, u"ﾃﾞｰﾀ入力ﾗｲﾝ1：　発行するｺﾏﾝﾄﾞを入力、表示します。");
  CommandBox1->OnChange = [this](TObject* s) { CommandBox1Change(s); };
  CommandBox1->OnEnter = [this](TObject* s) { CommandBox1Enter(s); };
  CommandBox1->OnKeyDown = [this](TObject* s, Word& k, TShiftState sh) { CommandBox1KeyDown(s, k, sh); };
  CommandBox1->OnDblClick = [this](TObject* s) { CommandBox1DblClick(s); };

  SpeedButton7 = Make<TSpeedButton>(this, Panel1, u"SpeedButton7", 314, 4, 26, 24);
  ClearGlyph(SpeedButton7);
  WithHint(SpeedButton7, u"ﾃﾞｰﾀ入力ﾗｲﾝを消去します｡");
  SpeedButton7->OnClick = [this](TObject* s) { SpeedButton7Click(s); };

  SpeedButton1 = Make<TSpeedButton>(this, Panel1, u"SpeedButton1", 314, 34, 84, 32);
  SpeedButton1->SetCaption(u" 送信1");
  SpeedButton1->SetEnabled(false);
  WithHint(SpeedButton1, u"ﾃﾞｰﾀ送信ﾎﾞﾀﾝ1：　ﾃﾞｰﾀ入力ﾗｲﾝの内容でｺﾏﾝﾄﾞやﾃﾞｰﾀを送信します。");
  SpeedButton1->OnClick = [this](TObject* s) { SpeedButton1Click(s); };

  // Right half: the receiver's functions and the note.
  PageControl5 = Make<TPageControl>(this, TabSheet4, u"PageControl5", 414, 4, 404, 400);
  TabSheet15 = MakePage(this, PageControl5, u"TabSheet15", u"各種機能");
  TabSheet3 = MakePage(this, PageControl5, u"TabSheet3", u"ID管理");

  auto eeprom = [this](TWinControl* Parent, const String& Name) {
    auto* r = Make<TRadioGroup>(this, Parent, Name, 176, 14, 110, 62);
    r->SetCaption(u"EEPROM記憶");
    r->Items()->AddStrings({u"無し", u"有り"});
    r->SetItemIndex(0);
    return r;
  };
  auto command = [this](TWinControl* Parent, const String& Name, const String& Caption, int Left, int Top,
                        int Width, void (TMainForm::*Handler)(TObject*)) {
    auto* b = Make<TVrDemoButton>(this, Parent, Name, Left, Top, Width, 30);
    b->SetCaption(Caption);
    CommandFont(b);
    b->OnClick = [this, Handler](TObject* s) { (this->*Handler)(s); };
    return b;
  };

  GroupBox1 = Make<TGroupBox>(this, TabSheet15, u"GroupBox1", 8, 8, 382, 88);
  GroupBox1->SetCaption(u"出力動作モード");
  ComboBox6 = Make<TComboBox>(this, GroupBox1, u"ComboBox6", 12, 32, 150, 22);
  ComboBox6->Items()->AddStrings({u"ワンショット", u"トグル", u"スイッチング", u"モメンタリ"});
  ComboBox6->SetItemIndex(0);
  ComboBox6->OnChange = [this](TObject* s) { ComboBox2Change(s); };
  RadioGroup1 = eeprom(GroupBox1, u"RadioGroup1");
  VrDemoButton5 = command(GroupBox1, u"VrDemoButton5", u"確認", 296, 14, 74, &TMainForm::VrDemoButton5Click);
  VrDemoButton12 = command(GroupBox1, u"VrDemoButton12", u"設定", 296, 48, 74, &TMainForm::VrDemoButton12Click);

  GroupBox2 = Make<TGroupBox>(this, TabSheet15, u"GroupBox2", 8, 104, 382, 88);
  GroupBox2->SetCaption(u"チャンネル");
  ComboBox7 = Make<TComboBox>(this, GroupBox2, u"ComboBox7", 12, 32, 150, 22);
  ComboBox7->Items()->AddStrings({u"1", u"3", u"6", u"10"});
  ComboBox7->SetItemIndex(0);
  RadioGroup2 = eeprom(GroupBox2, u"RadioGroup2");
  VrDemoButton4 = command(GroupBox2, u"VrDemoButton4", u"確認", 296, 14, 74, &TMainForm::VrDemoButton4Click);
  VrDemoButton13 = command(GroupBox2, u"VrDemoButton13", u"設定", 296, 48, 74, &TMainForm::VrDemoButton13Click);

  VrDemoButton46 = command(TabSheet15, u"VrDemoButton46", u"RSSI　確認", 8, 206, 186, &TMainForm::VrDemoButton46Click);
  VrDemoButton47 =
      command(TabSheet15, u"VrDemoButton47", u"全 ID 　確認", 204, 206, 186, &TMainForm::VrDemoButton47Click);
  VrDemoButton11 = command(TabSheet15, u"VrDemoButton11", u"ファームウェアバージョン", 8, 246, 186,
                           &TMainForm::VrDemoButton11Click);
  VrDemoButton14 =
      command(TabSheet15, u"VrDemoButton14", u"チャンネル確認", 204, 246, 186, &TMainForm::VrDemoButton4Click);

  GroupBox3 = Make<TGroupBox>(this, TabSheet3, u"GroupBox3", 8, 8, 382, 76);
  GroupBox3->SetCaption(u"IDコード指定　登録/消去");
  AbNumSpin1 = Make<TAbNumSpin>(this, GroupBox3, u"AbNumSpin1", 12, 32, 150, 24);
  AbNumSpin1->SetEditBase(ebInt);
  AbNumSpin1->SetFormatStr(u"#0.#");
  AbNumSpin1->SetMinValue(1);
  AbNumSpin1->SetMaxValue(9999999);
  AbNumSpin1->SetOptions({eoLimitMin});
  AbNumSpin1->SetValue(1200000);
  AbNumSpin1->SetInterval(100);
  AbNumSpin1->SetStartDelay(300);
  WithHint(AbNumSpin1, u"IDコード入力可能　ダブルクリック+入力+Enter key");
  VrDemoButton6 = command(GroupBox3, u"VrDemoButton6", u"登録", 200, 28, 80, &TMainForm::VrDemoButton6Click);
  VrDemoButton9 = command(GroupBox3, u"VrDemoButton9", u"消去", 290, 28, 80, &TMainForm::VrDemoButton9Click);

  GroupBox4 = Make<TGroupBox>(this, TabSheet3, u"GroupBox4", 8, 92, 382, 76);
  GroupBox4->SetCaption(u"登録アドレス指定ID消去");
  ComboBox1 = Make<TComboBox>(this, GroupBox4, u"ComboBox1", 12, 32, 100, 22);
  for (int a = 0; a <= 100; ++a) ComboBox1->Items()->Add(IntToStr(a));
  ComboBox1->SetText(u"0");
  ComboBox1->OnChange = [this](TObject* s) { ComboBox2Change(s); };
  VrDemoButton7 = command(GroupBox4, u"VrDemoButton7", u"消去", 290, 28, 80, &TMainForm::VrDemoButton7Click);

  GroupBox5 = Make<TGroupBox>(this, TabSheet3, u"GroupBox5", 8, 176, 382, 76);
  GroupBox5->SetCaption(u"IDコード全消去");
  VrDemoButton8 = command(GroupBox5, u"VrDemoButton8", u"全消去", 290, 28, 80, &TMainForm::VrDemoButton8Click);
  WithHint(VrDemoButton8, u"ご注意!!　全IDコードが消去されます");

  VrDemoButton10 = command(TabSheet3, u"VrDemoButton10", u"全　ID　確認", 8, 266, 186, &TMainForm::VrDemoButton47Click);

  Memo3 = Make<TMemo>(this, TabSheet4, u"Memo3", 414, 410, 404, 146);
  Memo3->SetReadOnly(true);
  Memo3->Font()->SetHeight(-10);  // each line of the note fits the width
  Memo3->SetText(String(u"\r\n") + u"IDコードはリモコン送信機TRM910Xの裏面にある8桁の製品シリアルナンバーです。\r\n" +
                 u"IDコード登録時は下7桁の数値を入力してください。\r\n" + u"\r\n" +
                 u"※本ツールを使用するためには、RCV910Xのシリアル通信モードを、機能1に設定し\r\n" + u"てください。");
}

void TMainForm::CreateAirMonitorPage() {
  TabSheet1 = MakePage(this, PageControl1, u"TabSheet1", u" ｴｱｰﾓﾆﾀ  ");

  PageControl2 = Make<TPageControl>(this, TabSheet1, u"PageControl2", 4, 4, 816, 410);
  PageControl2->SetTabPosition(tpRight);
  PageControl2->OnChanging = [this](TObject* s, bool& allow) { PageControl2Changing(s, allow); };
  PageControl2->OnChange = [this](TObject* s) { PageControl2Change(s); };
  TabSheet5 = MakePage(this, PageControl2, u"TabSheet5", u"    周波数領域測定    ");
  TabSheet6 = MakePage(this, PageControl2, u"TabSheet6", u"    時間領域測定    ");

  auto chart = [this](TWinControl* Parent, const String& Name, const String& BottomTitle, const String& HintText) {
    TChart* c = Make<TChart>(this, Parent, Name, 0, 0, 600, 400);
    c->SetView3D(false);
    c->Legend()->SetVisible(false);
    c->RightAxis()->SetVisible(false);
    c->Gradient()->SetVisible(true);
    c->LeftAxis()->SetAutomatic(false);
    c->LeftAxis()->SetMinMax(-140, -40);
    c->LeftAxis()->SetMinorTickCount(4);
    c->LeftAxis()->Title()->SetCaption(u"受信ﾚﾍﾞﾙ[dBm]");
    c->BottomAxis()->SetAutomatic(false);
    c->BottomAxis()->Title()->SetCaption(BottomTitle);
    WithHint(c, HintText);
    return c;
  };
  auto label = [this](TWinControl* Parent, const String& Name, const String& Caption, int Left, int Top) {
    auto* l = Make<TLabel>(this, Parent, Name, Left, Top, 80, 14);
    l->SetCaption(Caption);
    return l;
  };

  // Frequency domain.
  Chart1 = chart(TabSheet5, u"Chart1", u"ﾁｬﾝﾈﾙ",
                 u"ｴｱｰﾓﾆﾀｽｸﾘｰﾝ：　周波数領域測定　マウスの右クリックでｵﾌﾟｼｮﾝ設定ができます｡");
  Chart1->BottomAxis()->SetMinMax(0, ChannelSlots - 1);
  Chart1->OnAfterDraw = [this](TObject* s) { Chart1AfterDraw(s); };
  Chart1->OnClick = [this](TObject* s) { Chart1Click(s); };
  Chart1->OnZoom = [this](TObject* s) { Chart1Zoom(s); };
  Chart1->OnUndoZoom = [this](TObject* s) { Chart1UndoZoom(s); };
  Series3 = MakeComponent<TBarSeries>(this, u"Series3");
  Series3->SetParentChart(Chart1);
  Series3->BarPen()->SetVisible(false);
  Series1 = MakeComponent<TBarSeries>(this, u"Series1");
  Series1->SetParentChart(Chart1);
  for (TBarSeries* s : {Series3, Series1}) {
    s->SetUseYOrigin(false);
    s->Marks()->SetVisible(false);
    s->SetBarWidthPercent(100);
  }
  Series1->OnClick = [this](TChartSeries* s, int i, TMouseButton b, TShiftState sh, int x, int y) {
    Series1Click(s, i, b, sh, x, y);
  };
  Series3->OnClick = [this](TChartSeries* s, int i, TMouseButton b, TShiftState sh, int x, int y) {
    Series3Click(s, i, b, sh, x, y);
  };
  AbColBitBtn15 = Make<TAbColBitBtn>(this, TabSheet5, u"AbColBitBtn15", 606, 6, 90, 32);
  MeasureButton(AbColBitBtn15);
  AbColBitBtn15->OnStatusChanged = [this](TObject* s) { AbColBitBtn15StatusChanged(s); };
  Label2 = label(TabSheet5, u"Label2", u"開始ﾁｬﾝﾈﾙ", 606, 48);
  ComboBox2 = Make<TComboBox>(this, TabSheet5, u"ComboBox2", 606, 64, 80, 22);
  WithHint(ComboBox2, u"開始ﾁｬﾝﾈﾙを設定して下さい｡");
  ComboBox2->OnChange = [this](TObject* s) { ComboBox2Change(s); };
  Label3 = label(TabSheet5, u"Label3", u"終了ﾁｬﾝﾈﾙ", 606, 94);
  ComboBox3 = Make<TComboBox>(this, TabSheet5, u"ComboBox3", 606, 110, 80, 22);
  WithHint(ComboBox3, u"終了ﾁｬﾝﾈﾙを設定して下さい｡");
  ComboBox3->OnChange = [this](TObject* s) { ComboBox3Change(s); };
  CheckBox3 = Make<TCheckBox>(this, TabSheet5, u"CheckBox3", 606, 144, 96, 18);
  CheckBox3->SetCaption(u"ﾋﾟｰｸ値表示");
  CheckBox3->OnClick = [this](TObject* s) { CheckBox3Click(s); };
  SpeedButton17 = Make<TSpeedButton>(this, TabSheet5, u"SpeedButton17", 606, 170, 80, 26);
  SpeedButton17->SetCaption(u"ﾋﾟｰｸ消去");
  SpeedButton17->OnClick = [this](TObject* s) { SpeedButton17Click(s); };
  AbVSlider1 = Make<TAbVSlider>(this, TabSheet5, u"AbVSlider1", 702, 2, 78, 396);
  ThresholdSlider(AbVSlider1);
  AbVSlider1->OnValueChange = [this](TObject* s) { AbVSlider1ValueChange(s); };
  VrTimer2 = MakeComponent<TVrTimer>(this, u"VrTimer2");
  VrTimer2->SetEnabled(false);
  VrTimer2->SetTimerType(ttSystem);
  VrTimer2->SetInterval(150);
  VrTimer2->OnTimer = [this](TObject* s) { VrTimer2Timer(s); };

  // Time domain.
  Chart2 = chart(TabSheet6, u"Chart2", u"ｻﾝﾌﾟﾘﾝｸﾞﾎﾟｲﾝﾄ",
                 u"ｴｱｰﾓﾆﾀｽｸﾘｰﾝ：　ﾀｲﾑﾄﾞﾒｲﾝ　マウスの右クリックでｵﾌﾟｼｮﾝ設定が可能です｡");
  Chart2->BottomAxis()->SetMinMax(1, SampleSlots - 1);
  Chart2->OnAfterDraw = [this](TObject* s) { Chart2AfterDraw(s); };
  Chart2->OnClick = [this](TObject* s) { Chart2Click(s); };
  Chart2->OnZoom = [this](TObject* s) { Chart2Zoom(s); };
  Chart2->OnUndoZoom = [this](TObject* s) { Chart2UndoZoom(s); };
  AreaSeries1 = MakeComponent<TAreaSeries>(this, u"AreaSeries1");
  AreaSeries1->SetParentChart(Chart2);
  AreaSeries1->Marks()->SetVisible(false);
  AreaSeries1->Pointer()->SetVisible(true);
  AreaSeries1->Pointer()->SetStyle(psCircle);
  AreaSeries1->Pointer()->SetHorizSize(3);
  AreaSeries1->Pointer()->SetVertSize(3);
  AreaSeries1->AreaLinesPen()->SetVisible(false);
  AreaSeries1->OnClick = [this](TChartSeries* s, int i, TMouseButton b, TShiftState sh, int x, int y) {
    AreaSeries1Click(s, i, b, sh, x, y);
  };
  AbColBitBtn1 = Make<TAbColBitBtn>(this, TabSheet6, u"AbColBitBtn1", 606, 6, 90, 32);
  MeasureButton(AbColBitBtn1);
  AbColBitBtn1->OnStatusChanged = [this](TObject* s) { AbColBitBtn1StatusChanged(s); };
  Label4 = label(TabSheet6, u"Label4", u"測定ﾁｬﾝﾈﾙ", 606, 44);
  ComboBox4 = Make<TComboBox>(this, TabSheet6, u"ComboBox4", 606, 60, 80, 22);
  WithHint(ComboBox4, u"測定するﾁｬﾝﾈﾙを選んで下さい｡");
  ComboBox4->OnChange = [this](TObject* s) { ComboBox4Change(s); };
  Label5 = label(TabSheet6, u"Label5", u"ｻﾝﾌﾟﾘﾝｸﾞ数", 606, 88);
  AbNumSpin3 = Make<TAbNumSpin>(this, TabSheet6, u"AbNumSpin3", 606, 104, 80, 24);
  AbNumSpin3->SetEditBase(ebInt);
  AbNumSpin3->SetMinValue(10);
  AbNumSpin3->SetMaxValue(5000);
  AbNumSpin3->SetOptions({eoLimitMin, eoLimitMax});
  AbNumSpin3->SetIncrement(10);
  AbNumSpin3->SetValue(5000);
  WithHint(AbNumSpin3, u"ｻﾝﾌﾟﾘﾝｸﾞﾎﾟｲﾝﾄ数を最小10、最大5000");
  AbNumSpin3->OnValueChanged = [this](TObject* s) { AbNumSpin3ValueChanged(s); };
  Label6 = label(TabSheet6, u"Label6", u"ｻﾝﾌﾟﾘﾝｸﾞ時間", 606, 134);
  AbNumSpin2 = Make<TAbNumSpin>(this, TabSheet6, u"AbNumSpin2", 606, 150, 66, 24);
  AbNumSpin2->SetEditBase(ebInt);
  AbNumSpin2->SetMinValue(100);
  AbNumSpin2->SetOptions({eoLimitMin});
  AbNumSpin2->SetIncrement(10);
  AbNumSpin2->SetValue(200);
  WithHint(AbNumSpin2, u"ｻﾝﾌﾟﾘﾝｸﾞ時間を設定します｡最小100ms");
  AbNumSpin2->OnValueChanged = [this](TObject* s) { AbNumSpin2ValueChanged(s); };
  Label7 = label(TabSheet6, u"Label7", u" ms ", 674, 154);
  RadioGroup4 = Make<TRadioGroup>(this, TabSheet6, u"RadioGroup4", 606, 182, 92, 60);
  RadioGroup4->SetCaption(u" 測定ﾓｰﾄﾞ ");
  RadioGroup4->Items()->AddStrings({u"ﾘﾋﾟｰﾄ", u"ﾜﾝｼｮｯﾄ"});
  RadioGroup4->SetItemIndex(0);
  RadioGroup4->OnClick = [this](TObject* s) { RadioGroup4Click(s); };
  CheckBox1 = Make<TCheckBox>(this, TabSheet6, u"CheckBox1", 606, 250, 80, 18);
  CheckBox1->SetCaption(u"ﾎﾟｲﾝﾄ");
  CheckBox1->SetChecked(true);
  CheckBox1->OnClick = [this](TObject* s) { CheckBox1Click(s); };
  CheckBox2 = Make<TCheckBox>(this, TabSheet6, u"CheckBox2", 606, 272, 80, 18);
  CheckBox2->SetCaption(u"ﾗｲﾝ");
  CheckBox2->OnClick = [this](TObject* s) { CheckBox2Click(s); };
  AbVSlider3 = Make<TAbVSlider>(this, TabSheet6, u"AbVSlider3", 702, 2, 78, 396);
  ThresholdSlider(AbVSlider3);
  AbVSlider3->OnValueChange = [this](TObject* s) { AbVSlider3ValueChange(s); };
  VrTimer3 = MakeComponent<TVrTimer>(this, u"VrTimer3");
  VrTimer3->SetEnabled(false);
  VrTimer3->SetTimerType(ttSystem);
  VrTimer3->SetInterval(200);
  VrTimer3->OnTimer = [this](TObject* s) { VrTimer3Timer(s); };

  // Below the graphs: the command monitor, the note and the memo fields.
  Memo2 = Make<TMemo>(this, TabSheet1, u"Memo2", 4, 420, 400, 116);
  Memo2->SetScrollBars(ssVertical);
  Memo2->SetText(String());
  SpeedButton2 = Make<TSpeedButton>(this, TabSheet1, u"SpeedButton2", 408, 420, 26, 24);
  ClearGlyph(SpeedButton2);
  SpeedButton2->OnClick = [this](TObject* s) { SpeedButton2Click(s); };
  Label1 = Make<TLabel>(this, TabSheet1, u"Label1", 4, 540, 500, 14);
  Label1->SetCaption(u"※メモ　RCV910Xの周波数チャンネル：　1CH, 3CH, 6CH, 10CH");

  auto field = [this](const String& Name, const String& Text, int Top) {
    auto* e = Make<TEdit>(this, TabSheet1, Name, 450, Top, 240, 21);
    e->SetText(Text);
    e->SetVisible(false);
    return e;
  };
  auto fieldButton = [this](const String& Name, int Top, int Width) {
    auto* b = Make<TSpeedButton>(this, TabSheet1, Name, 694, Top, Width, 21);
    b->SetVisible(false);
    return b;
  };
  Edit5 = field(u"Edit5", u"ﾌｧｲﾙ名", 420);
  WithHint(Edit5, u"ﾃﾞｰﾀ保存のためのﾌｧｲﾙ名を入力して下さい｡");
  Edit5->OnDblClick = [this](TObject* s) { Edit5DblClick(s); };
  SpeedButton5 = fieldButton(u"SpeedButton5", 420, 26);
  ClearGlyph(SpeedButton5);
  SpeedButton5->OnClick = [this](TObject* s) { SpeedButton5Click(s); };
  Edit4 = field(u"Edit4", u"日付・時間", 446);
  WithHint(Edit4, u"ｸﾘｯｸすると日付と時間が表示されます｡");
  Edit4->OnClick = [this](TObject* s) { Edit4Click(s); };
  Edit4->OnDblClick = [this](TObject* s) { Edit4DblClick(s); };
  SpeedButton8 = fieldButton(u"SpeedButton8", 446, 110);
  SpeedButton8->SetCaption(u"日付・時間取得");
  SpeedButton8->OnClick = [this](TObject* s) { SpeedButton8Click(s); };
  Edit3 = field(u"Edit3", u"ﾕｰｻﾞｰﾒﾓ", 472);
  WithHint(Edit3, u"ﾀﾞﾌﾞﾙｸﾘｯｸでﾃﾞｰﾀを消去します｡");
  Edit3->OnDblClick = [this](TObject* s) { Edit3DblClick(s); };
  SpeedButton3 = fieldButton(u"SpeedButton3", 472, 26);
  ClearGlyph(SpeedButton3);
  SpeedButton3->OnClick = [this](TObject* s) { SpeedButton3Click(s); };
  SpeedButton6 = fieldButton(u"SpeedButton6", 500, 110);
  SpeedButton6->SetLeft(450);
  SpeedButton6->SetHeight(28);
  SpeedButton6->SetCaption(u"書込み");
  WithHint(SpeedButton6, u"設定したﾒﾓをｸﾞﾗﾌ内に書き込みます。");
  SpeedButton6->OnClick = [this](TObject* s) { SpeedButton6Click(s); };
}
