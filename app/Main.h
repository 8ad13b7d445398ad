#pragma once
// The main window: top bar, status bar, the control-and-test page with its monitor and
// receiver commands, the air monitor page, the context and main menus, the serial port
// and the command link.

#include <array>
#include <cstdint>

#include "app/AppSettings.h"
#include "app/CHPlan.h"
#include "app/CommandLink.h"
#include "controls/AdvCombo.h"
#include "instruments/AbCBitBt.h"
#include "instruments/AbLED.h"
#include "instruments/AbNumEdit.h"
#include "instruments/AbOpHour.h"
#include "instruments/AbVSlide.h"
#include "instruments/VrButtons.h"
#include "instruments/VrThreads.h"
#include "platform/chart/Chart.h"
#include "platform/ui/AppEvnts.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Sockets.h"
#include "platform/ui/StdCtrls.h"
#include "serial/CPort.h"

struct TGraphFile;  // what a graph data file holds

class TMainForm : public TForm {
public:
  explicit TMainForm(TComponent* AOwner);
  ~TMainForm() override;
  String ClassName() const override { return u"TMainForm"; }

  // ---- Components
  TPanel* Panel9;
  TAbOpHourCounter* AbOpHourCounter1;
  TAbColBitBtn* AbColBitBtn14;
  TAbLED* AbLED1;
  TComboBox* ComboBox5;
  TVrDemoButton* VrDemoButton1;
  TVrPowerButton *VrPowerButton5, *VrPowerButton6, *VrPowerButton7;
  TVrDemoButton *VrDemoButton3, *VrDemoButton2;
  TStatusBar* StatusBar1;
  TPageControl* PageControl1;
  TTabSheet* TabSheet4;
  TMemo* Memo1;
  TLabeledEdit *LabeledEdit2, *LabeledEdit1, *LabeledEdit3;
  TRadioGroup* RadioGroup3;
  TVrDemoButton* VrDemoButton48;
  TSpeedButton* SpeedButton4;
  TPanel* Panel1;
  ZIviDovevUvi* CommandBox1;  // the styled combo box in simple style: the command line and its history
  TSpeedButton *SpeedButton7, *SpeedButton1;
  TPageControl* PageControl5;
  TTabSheet *TabSheet15, *TabSheet3;
  TGroupBox *GroupBox1, *GroupBox2, *GroupBox3, *GroupBox4, *GroupBox5;
  TComboBox *ComboBox6, *ComboBox7, *ComboBox1;
  TRadioGroup *RadioGroup1, *RadioGroup2;
  TVrDemoButton *VrDemoButton5, *VrDemoButton12, *VrDemoButton4, *VrDemoButton13, *VrDemoButton46,
      *VrDemoButton47, *VrDemoButton11, *VrDemoButton14, *VrDemoButton6, *VrDemoButton9, *VrDemoButton7,
      *VrDemoButton8, *VrDemoButton10;
  TAbNumSpin* AbNumSpin1;
  TMemo* Memo3;
  TTabSheet* TabSheet1;
  TPageControl* PageControl2;
  TTabSheet *TabSheet5, *TabSheet6;
  TChart* Chart1;
  TBarSeries *Series3, *Series1;
  TAbColBitBtn* AbColBitBtn15;
  TLabel *Label2, *Label3;
  TComboBox *ComboBox2, *ComboBox3;
  TCheckBox* CheckBox3;
  TSpeedButton* SpeedButton17;
  TAbVSlider* AbVSlider1;
  TVrTimer* VrTimer2;
  TChart* Chart2;
  TAreaSeries* AreaSeries1;
  TAbColBitBtn* AbColBitBtn1;
  TLabel *Label4, *Label5, *Label6, *Label7;
  TComboBox* ComboBox4;
  TAbNumSpin *AbNumSpin3, *AbNumSpin2;
  TRadioGroup* RadioGroup4;
  TAbVSlider* AbVSlider3;
  TVrTimer* VrTimer3;
  TCheckBox *CheckBox1, *CheckBox2;
  TMemo* Memo2;
  TSpeedButton* SpeedButton2;
  TLabel* Label1;
  TEdit *Edit3, *Edit4, *Edit5;
  TSpeedButton *SpeedButton3, *SpeedButton5, *SpeedButton6, *SpeedButton8;
  TPopupMenu *PopupMenu2, *PopupMenu1;
  TMenuItem *N15, *N14, *Clearmonitor1, *N10, *Clearcommandline1, *N11, *N12, *N16, *Font1, *N13, *N18, *N19,
      *N20, *N17;
  TMenuItem *Option2, *N1, *SaveImage1, *ImageViewer2, *CopyClipboard1, *N2, *SaveGraph1, *LoadGraph1, *N3,
      *Print1, *N4, *Zoomout1, *Zoom2, *Zoom1, *N5, *Appearance1, *N3D1, *Normal1, *Centerline1, *Analizeline1;
  TMainMenu* MainMenu1;
  TMenuItem *File1, *ImageViewer1, *N6, *Closet1, *Setting1, *SetCom, *Option1, *Help1, *HelpFolder1, *N7,
      *Version1;
  TComPort* ComPort1;
  TTcpClient* TcpClient1;
  TApplicationEvents* ApplicationEvents1;
  TFontDialog* FontDialog1;
  TColorDialog* ColorDialog1;
  TOpenPictureDialog* OpenPictureDialog1;  // the image viewer's

  // ---- Operations other windows call
  // Waits Milliseconds on a monotonic clock while handling messages; returns True.
  static bool WaitTime(int Milliseconds);
  void EnableControls(int Group, bool Enabled);
  void ClearRingBuf() { Link.ClearRingBuf(); }
  void CommandOut(int32_t Count, const String& S1 = String(), const String& S2 = String(),
                  const String& S3 = String(), const String& S4 = String(), const String& S5 = String(),
                  const String& S6 = String(), const String& S7 = String(), const String& S8 = String()) {
    Link.CommandOut(Count, S1, S2, S3, S4, S5, S6, S7, S8);
  }
  void setColor();
  void SetControlLine(bool On);
  bool ChannelFrequencyText(int32_t Channel, String& Text);
  void ResetFrequencyChart();
  void ResetTimeChart();

  // ---- Handlers
  void FormCreate(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormDestroy(TObject* Sender);
  void Closet1Click(TObject* Sender);
  void ApplicationEvents1Exception(TObject* Sender, Exception& E);
  void ApplicationEvents1Idle(TObject* Sender, bool& Done);
  void ComPort1RxChar(TObject* Sender, int Count);
  void ComPort1TxEmpty(TObject* Sender);
  void ComPort1DSRChange(TObject* Sender, bool OnOff);
  void ComPort1CTSChange(TObject* Sender, bool OnOff);
  void ComPort1Error(TObject* Sender, TComErrors Errors);
  void TcpClient1Connect(TObject* Sender);
  void TcpClient1Receive(TObject* Sender, char* Buf, int& DataLen);
  void TcpClient1Disconnect(TObject* Sender);
  void TcpClient1Error(TObject* Sender, int SocketError);
  void ComboBox5Change(TObject* Sender);
  void VrDemoButton3Click(TObject* Sender);
  void VrDemoButton2Click(TObject* Sender);
  void SpeedButton1Click(TObject* Sender);
  void CommandBox1KeyDown(TObject* Sender, Word& Key, TShiftState Shift);
  void CommandBox1Change(TObject* Sender);
  void CommandBox1Enter(TObject* Sender);
  void CommandBox1DblClick(TObject* Sender);
  void SpeedButton7Click(TObject* Sender);
  void AbLED1StatusChanged(TObject* Sender);
  void VrDemoButton5Click(TObject* Sender);
  void VrDemoButton12Click(TObject* Sender);
  void VrDemoButton4Click(TObject* Sender);
  void VrDemoButton13Click(TObject* Sender);
  void VrDemoButton46Click(TObject* Sender);
  void VrDemoButton11Click(TObject* Sender);
  void VrDemoButton6Click(TObject* Sender);
  void VrDemoButton9Click(TObject* Sender);
  void VrDemoButton7Click(TObject* Sender);
  void VrDemoButton8Click(TObject* Sender);
  void VrDemoButton47Click(TObject* Sender);
  void PageControl1Change(TObject* Sender);
  void PageControl2Changing(TObject* Sender, bool& AllowChange);
  void PageControl2Change(TObject* Sender);
  void Memo1Change(TObject* Sender);
  void SpeedButton4Click(TObject* Sender);
  void VrDemoButton48MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void VrDemoButton48MouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void N15Click(TObject* Sender);
  void N14Click(TObject* Sender);
  void Clearmonitor1Click(TObject* Sender);
  void N17Click(TObject* Sender);
  void Font1Click(TObject* Sender);
  void FontDialog1Apply(TObject* Sender, HWND Wnd);
  void N13Click(TObject* Sender);
  void SpeedButton2Click(TObject* Sender);
  void AbColBitBtn14Click(TObject* Sender);
  void AbOpHourCounter1Click(TObject* Sender);
  void VrDemoButton1Click(TObject* Sender);
  void Option1Click(TObject* Sender);
  void ImageViewer1Click(TObject* Sender);
  void Version1Click(TObject* Sender);

  // ---- Air monitor: measurements
  void AbColBitBtn15StatusChanged(TObject* Sender);
  void VrTimer2Timer(TObject* Sender);
  void AbColBitBtn1StatusChanged(TObject* Sender);
  void VrTimer3Timer(TObject* Sender);
  void ComboBox2Change(TObject* Sender);
  void ComboBox3Change(TObject* Sender);
  void ComboBox4Change(TObject* Sender);
  void AbNumSpin3ValueChanged(TObject* Sender);
  void AbNumSpin2ValueChanged(TObject* Sender);
  void RadioGroup4Click(TObject* Sender);
  void SpeedButton17Click(TObject* Sender);
  void CheckBox3Click(TObject* Sender);

  // ---- Air monitor: graphs, their menu and the memo fields
  void Chart1AfterDraw(TObject* Sender);
  void Chart2AfterDraw(TObject* Sender);
  void AbVSlider1ValueChange(TObject* Sender);
  void AbVSlider3ValueChange(TObject* Sender);
  void Series1Click(TChartSeries* Sender, int ValueIndex, TMouseButton Button, TShiftState Shift, int X, int Y);
  void Series3Click(TChartSeries* Sender, int ValueIndex, TMouseButton Button, TShiftState Shift, int X, int Y);
  void AreaSeries1Click(TChartSeries* Sender, int ValueIndex, TMouseButton Button, TShiftState Shift, int X, int Y);
  void Chart1Click(TObject* Sender);
  void Chart2Click(TObject* Sender);
  void Chart1Zoom(TObject* Sender);
  void Chart1UndoZoom(TObject* Sender);
  void Chart2Zoom(TObject* Sender);
  void Chart2UndoZoom(TObject* Sender);
  void Zoom2Click(TObject* Sender);
  void Zoomout1Click(TObject* Sender);
  void Zoom1Click(TObject* Sender);
  void N3D1Click(TObject* Sender);
  void Normal1Click(TObject* Sender);
  void Centerline1Click(TObject* Sender);
  void Analizeline1Click(TObject* Sender);
  void CheckBox1Click(TObject* Sender);
  void CheckBox2Click(TObject* Sender);
  void SpeedButton6Click(TObject* Sender);
  void SpeedButton8Click(TObject* Sender);
  void Edit4Click(TObject* Sender);
  void Edit3DblClick(TObject* Sender);
  void Edit4DblClick(TObject* Sender);
  void Edit5DblClick(TObject* Sender);
  void SpeedButton3Click(TObject* Sender);
  void SpeedButton5Click(TObject* Sender);

  // ---- Air monitor helpers
  // Title line 1 of a graph before any memo or file is written into it.
  static constexpr const char16_t* GraphTitle1 = u"< Air monitor >   Model name:     File name:     Date: ";
  // A channel's command text: "F1".."F9" for 1 to 9, "FA" for 10, else empty.
  static String ChannelCommandText(int32_t Channel);
  // A level as the graphs write it: -95 gives "-95".
  static String LevelText(double Level);
  // The time graph's title line 3 for its channel, ending in LevelPart ("Level: -95dBm").
  String TimeChannelTitle(const String& LevelPart);
  // Sets line Line (0 to 2) of a graph's title.
  static void SetTitleLine(TChart* Chart, int Line, const String& Text);
  // The time graph's point count (its spinner's value, within the sample slots).
  int32_t PointCount() const;
  // The graph of the measurement page in front (Chart1 or Chart2), or null off the air monitor.
  TChart* ChartInFront() const;

  // ---- Air monitor: graph files, pictures, clipboard, printing and the help folder
  void Savegraphdata2Click(TObject* Sender);
  void Loadgraphdata2Click(TObject* Sender);
  void Saveimagefile2Click(TObject* Sender);
  void Copytoclipboard1Click(TObject* Sender);
  void Printgraph2Click(TObject* Sender);
  void KitOperationGuide1Click(TObject* Sender);
  // Writes the graph of the page in front (MonitorState) into the file, keeping the file's
  // other sections and keys. Raises EFCreateError or EFOpenError; an old file then stays whole.
  void SaveGraphFile(const String& FileName);
  // Reads and checks the whole file first, then shows it and writes it back normalised. A file
  // that cannot be used gives one message naming it, changes nothing and returns False.
  bool LoadGraphFile(const String& FileName);
  TSaveDialog* SaveDialog1;
  TOpenDialog* OpenDialog1;
  TPrintDialog* PrintDialog1;

  // ---- Module state
  TCommandLink Link;
  String SettingsPath;
  String LastFolder;
  bool DSRWatch = false;
  String LinkMode;
  int32_t SavedModelIndex = 0;
  String HistoryLast;
  String SavedMonitorText;
  bool CodeShown = false;  // the code display button is held
  std::array<int32_t, ChannelSlots> Levels{};
  std::array<int32_t, ChannelSlots> Peaks{};
  std::array<int32_t, SampleSlots> Samples{};
  int32_t TimeMin = 0, TimeMax = 5000;
  int32_t ScanStart = 0, ScanEnd = 0;
  uint8_t ScanChannel = 0;
  int32_t SamplePoint = 1;
  int32_t AnalysisSeries = 0, AnalysisIndex = 0, AnalysisPoint = 0;
  std::array<uint8_t, 10> AdapterReply{};
  bool AdapterFailed = false;  // a socket call failed: the application is ending
  TColorSettings Colors;
  TAppSettings Settings;
  String Destination;
  String FormCaptionText;

  // A warning beep and a message box with Text.
  static void Warn(const String& Text);

private:
  // The window's stored description: every component with its settings and bindings.
  void CreateComponents();
  void CreateTopBar();
  void CreateControlPage();
  void CreateAirMonitorPage();
  void CreateMenus();
  void AppendMemo(TMemo* Memo, const String& S);
  void EndCodeDisplay();
  // The port button's caption: the device's name and " ﾎﾟｰﾄ".
  String PortCaption() const;
  void QueueQuery(int32_t Kind, const String& Line);
  void ShowCommandLength();
  void WriteFailed();
  void DrainAdapter(int Chunk);
  void AddAdapterLines(int Count);
  void LoadAppIcon();
  // Graph files and pictures.
  void ShowGraphFile(const String& FileName, const TGraphFile& F);
  TChart* PageChart() const;  // the graph of the measurement page in front
  // Air monitor.
  void RedrawSweep();
  void ColourBar(int Channel);
  void ColourPoint(int Point);
  // A channel of the chosen model that the graphs have a slot for.
  bool ChannelInModel(int32_t Channel) const;
  void StartScan(int32_t Start, int32_t End);
  void StartSampling(int32_t Channel);
  void BarClicked(TBarSeries* Series, int32_t Kind, int ValueIndex, TColor LineColor);
  String TimeChannelRefusal() const;
  void DrawMarker(int Point);
  void DrawAnalysisLines(TChart* Chart, int X, int Y, TColor Color);
  void AfterDraw(TChart* Chart, double Threshold, TColor ThreLine, TColor CenterLine);
};

extern TMainForm* MainForm;
