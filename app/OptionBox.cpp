#include "app/OptionBox.h"

#include "app/AppSettings.h"
#include "app/FormBuilder.h"
#include "app/Main.h"

TOptionBoxForm* OptionBoxForm = nullptr;

namespace {

enum TSwatchGroup { sgMonitor, sgFrequency, sgTime };

// One swatch: its control, caption, the colour setting it shows and its built-in colour.
struct TSwatch {
  TAbLED* TOptionBoxForm::*Field;
  const char16_t* Name;
  const char16_t* Caption;
  int32_t TColorSettings::*Setting;
  TSwatchGroup Group;
  int32_t BuiltIn;
};

constexpr int32_t ButtonHighlight = static_cast<int32_t>(0xFF000014);

// Each group in the order its swatches are placed.
const TSwatch Swatches[] = {
    {&TOptionBoxForm::AbLED12, u"AbLED12", u"背景の色", &TColorSettings::Back, sgMonitor, 0},
    {&TOptionBoxForm::AbLED11, u"AbLED11", u"ﾌｫﾝﾄの色", &TColorSettings::Font, sgMonitor, 0},
    {&TOptionBoxForm::AbLED2, u"AbLED2", u"ｸﾞﾗﾃﾞｰｼｮﾝ開始", &TColorSettings::c1Start, sgFrequency, ButtonHighlight},
    {&TOptionBoxForm::AbLED1, u"AbLED1", u"ｸﾞﾗﾃﾞｰｼｮﾝ終了", &TColorSettings::c1End, sgFrequency, ButtonHighlight},
    {&TOptionBoxForm::AbLED3, u"AbLED3", u"ﾒｲﾝﾊﾞｰ　ﾉｰﾏﾙ", &TColorSettings::c1Main, sgFrequency, 0xF0CAA6},
    {&TOptionBoxForm::AbLED4, u"AbLED4", u"ﾒｲﾝﾊﾞｰ　ｵｰﾊﾞｰ", &TColorSettings::c1Over, sgFrequency, 0xFF0000},
    {&TOptionBoxForm::AbLED5, u"AbLED5", u"ﾋﾟｰｸﾊﾞｰ　ﾉｰﾏﾙ", &TColorSettings::c1Peak, sgFrequency, 0xC0C0C0},
    {&TOptionBoxForm::AbLED10, u"AbLED10", u"閾値線", &TColorSettings::c1ThreLine, sgFrequency, 0xFF0000},
    {&TOptionBoxForm::AbLED13, u"AbLED13", u"ﾒｲﾝﾊﾞｰ　ｱﾅﾗｲｽﾞ線", &TColorSettings::c1AnaLine1, sgFrequency, 0x0000FF},
    {&TOptionBoxForm::AbLED14, u"AbLED14", u"ﾋﾟｰｸﾊﾞｰ　ｱﾅﾗｲｽﾞ線", &TColorSettings::c1AnaLine2, sgFrequency, 0x808000},
    {&TOptionBoxForm::AbLED19, u"AbLED19", u"ｾﾝﾀｰ線", &TColorSettings::c1CenterLine, sgFrequency, 0x808080},
    {&TOptionBoxForm::AbLED7, u"AbLED7", u"ｸﾞﾗﾃﾞｰｼｮﾝ開始", &TColorSettings::c2Start, sgTime, ButtonHighlight},
    {&TOptionBoxForm::AbLED6, u"AbLED6", u"ｸﾞﾗﾃﾞｰｼｮﾝ終了", &TColorSettings::c2End, sgTime, ButtonHighlight},
    {&TOptionBoxForm::AbLED8, u"AbLED8", u"ﾒｲﾝﾊﾞｰ　ﾉｰﾏﾙ", &TColorSettings::c2Main, sgTime, 0xF0CAA6},
    {&TOptionBoxForm::AbLED9, u"AbLED9", u"ﾒｲﾝﾊﾞｰ　ｵｰﾊﾞｰ", &TColorSettings::c2Over, sgTime, 0xFF0000},
    {&TOptionBoxForm::AbLED15, u"AbLED15", u"閾値線", &TColorSettings::c2ThreLine, sgTime, 0xFF0000},
    {&TOptionBoxForm::AbLED16, u"AbLED16", u"ﾒｲﾝﾊﾞｰ　ｱﾅﾗｲｽﾞ線", &TColorSettings::c2AnaLine, sgTime, 0x0000FF},
    {&TOptionBoxForm::AbLED17, u"AbLED17", u"ｾﾝﾀｰ線", &TColorSettings::c2CenterLine, sgTime, 0x808080},
    {&TOptionBoxForm::AbLED18, u"AbLED18", u"ﾎﾟｲﾝﾄ", &TColorSettings::c2Point, sgTime, 0xFFFF00},
    {&TOptionBoxForm::AbLED20, u"AbLED20", u"境界線", &TColorSettings::c2AreaLine, sgTime, 0x000000},
};

// The colours the window edits: the main window's.
TColorSettings* Colors() {
  static TColorSettings alone;  // only while no main window exists
  return MainForm != nullptr ? &MainForm->Colors : &alone;
}

void ApplyColors() {
  if (MainForm != nullptr) MainForm->setColor();
}

// The lamp is never lit: both of its colours are the setting's.
void ShowColor(TAbLED* Swatch, TColor Color) {
  Swatch->LED()->SetColorOff(Color);
  Swatch->LED()->SetColorOn(Color);
}

TGroupBox* MakeGroup(TComponent* Owner, TWinControl* Parent, const String& Name, const String& Caption, int Top,
                     int Height) {
  auto* g = Make<TGroupBox>(Owner, Parent, Name, 8, Top, 436, Height);
  g->SetCaption(Caption);
  return g;
}

TSpeedButton* MakeButton(TComponent* Owner, TWinControl* Parent, const String& Name, const String& Caption, int Left,
                         int Top, int Width) {
  auto* b = Make<TSpeedButton>(Owner, Parent, Name, Left, Top, Width, 30);
  b->SetCaption(Caption);
  return b;
}

}  // namespace

TOptionBoxForm::TOptionBoxForm(TComponent* AOwner) : TForm(AOwner) {
  BeginLoading();
  SetName(u"OptionBoxForm");
  SetCaption(u"Option");
  SetBorderStyle(bsDialog);
  SetFormStyle(fsStayOnTop);
  SetPosition(poMainFormCenter);
  SetClientWidth(483);
  SetClientHeight(562);
  SetKeyPreview(true);
  SetColor(cl3DLight);
  Font()->SetName(u"ＭＳ Ｐゴシック");
  Font()->SetHeight(-12);
  OnCreate = [this](TObject* s) { FormCreate(s); };
  OnKeyDown = [this](TObject* s, Word& k, TShiftState sh) { FormKeyDown(s, k, sh); };

  PageControl1 = Make<TPageControl>(this, this, u"PageControl1", 8, 8, 467, 500);
  TabSheet1 = MakeComponent<TTabSheet>(this, u"TabSheet1");
  TabSheet1->SetPageControl(PageControl1);
  TabSheet1->SetCaption(u"ｺﾝﾄﾛｰﾙｳｨﾝﾄﾞｳ");
  TabSheet2 = MakeComponent<TTabSheet>(this, u"TabSheet2");
  TabSheet2->SetPageControl(PageControl1);
  TabSheet2->SetCaption(u"ｴｱｰﾓﾆﾀ");

  GroupBox1 = MakeGroup(this, TabSheet1, u"GroupBox1", u" ｽｸﾘｰﾝの色 ", 8, 72);
  GroupBox2 = MakeGroup(this, TabSheet2, u"GroupBox2", u" ｸﾞﾗﾌの色 <周波数領域測定> ", 8, 168);
  GroupBox3 = MakeGroup(this, TabSheet2, u"GroupBox3", u" ｸﾞﾗﾌの色 <時間領域測定> ", 184, 168);
  TGroupBox* parents[] = {GroupBox1, GroupBox2, GroupBox3};
  int placed[3] = {0, 0, 0};
  // Three columns of swatches in each group.
  for (const TSwatch& s : Swatches) {
    int n = placed[s.Group]++;
    TAbLED* led = this->*s.Field =
        Make<TAbLED>(this, parents[s.Group], s.Name, 12 + (n % 3) * 140, 24 + (n / 3) * 32, 136, 24);
    led->SetCaption(s.Caption);
    led->SetMode(mButton);
    led->SetCursor(crHandPoint);
    led->LED()->SetShape(sRectangle);
    led->LED()->SetWidth(30);
    led->LED()->SetHeight(15);
    led->OnClick = [this](TObject* sender) { SwatchClick(sender); };
  }
  SpeedButton3 = MakeButton(this, GroupBox2, u"SpeedButton3", u"初期値", 336, 126, 88);
  SpeedButton3->OnClick = [this](TObject* s) { SpeedButton3Click(s); };
  SpeedButton4 = MakeButton(this, GroupBox3, u"SpeedButton4", u"初期値", 336, 126, 88);
  SpeedButton4->OnClick = [this](TObject* s) { SpeedButton4Click(s); };

  RadioGroup2 = Make<TRadioGroup>(this, TabSheet2, u"RadioGroup2", 8, 360, 436, 56);
  RadioGroup2->SetCaption(u" ｸﾘｯﾌﾟﾎﾞｰﾄﾞのｲﾒｰｼﾞﾀｲﾌﾟ ");
  RadioGroup2->SetColumns(3);
  for (const char16_t* item : {u"EMF", u"WMF", u"BMP"}) RadioGroup2->Items()->Add(item);

  SpeedButton1 = MakeButton(this, this, u"SpeedButton1", u"設定の保存", 8, 520, 120);
  WithHint(SpeedButton1, u"設定値を保存する事ができます。");
  SpeedButton1->OnClick = [this](TObject* s) { SpeedButton1Click(s); };
  SpeedButton2 = MakeButton(this, this, u"SpeedButton2", u"OK", 355, 520, 120);
  SpeedButton2->OnClick = [this](TObject* s) { SpeedButton2Click(s); };
  PageControl1->SetActivePage(TabSheet1);
  EndLoading();
}

TOptionBoxForm::~TOptionBoxForm() { Destroying(); }

void TOptionBoxForm::FormCreate(TObject*) {
  TSettingsStore store = OpenSettings(SettingsFilePath());
  int type = store.Ini->ReadInteger(u"Graph setting", u"ClipBoardImageType", 0);
  // A file that cannot be written back is no error at creation: the value read is used.
  WriteBackSettings(store);
  ShowColor(AbLED11, Colors()->Font);
  ShowColor(AbLED12, Colors()->Back);
  ShowColors();
  // A type the window does not offer is read as its default, EMF.
  RadioGroup2->SetItemIndex(type >= 0 && type <= 2 ? type : 0);
}

void TOptionBoxForm::ShowColors() {
  for (const TSwatch& s : Swatches)
    if (s.Group != sgMonitor) ShowColor(this->*s.Field, Colors()->*s.Setting);
}

void TOptionBoxForm::SwatchClick(TObject* Sender) {
  for (const TSwatch& s : Swatches) {
    if (this->*s.Field != Sender) continue;
    if (MainForm != nullptr && MainForm->ColorDialog1->Execute()) {
      TColor chosen = MainForm->ColorDialog1->Color();
      Colors()->*s.Setting = chosen;
      ShowColor(this->*s.Field, chosen);
    }
    break;
  }
  ApplyColors();
}

void TOptionBoxForm::ResetGroup(int Group) {
  for (const TSwatch& s : Swatches)
    if (s.Group == Group) Colors()->*s.Setting = s.BuiltIn;
  ShowColors();
  ApplyColors();
}

void TOptionBoxForm::SpeedButton3Click(TObject*) { ResetGroup(sgFrequency); }
void TOptionBoxForm::SpeedButton4Click(TObject*) { ResetGroup(sgTime); }

void TOptionBoxForm::SpeedButton1Click(TObject*) {
  TSettingsStore store = OpenSettings(SettingsFilePath());
  WriteColorSettings(*store.Ini, *Colors());
  store.Ini->WriteInteger(u"Graph setting", u"ClipBoardImageType", RadioGroup2->ItemIndex());
  SaveSettings(store);
  Close();
}

void TOptionBoxForm::SpeedButton2Click(TObject*) { Close(); }

void TOptionBoxForm::FormKeyDown(TObject*, Word& Key, TShiftState) {
  if (Key == 27) Close();
}
