#include "app/VerBox.h"

#include "app/AppSettings.h"
#include "app/FormBuilder.h"
#include "app/GetVersion2.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Resources.h"
#include "platform/win/Shell.h"

TVerBoxForm* VerBoxForm = nullptr;

namespace {

const String FormFont = u"ＭＳ Ｐゴシック";
const String Section = u"HelpResource";
constexpr TColor LinkColor = static_cast<TColor>(0xFF0000);
constexpr TColor LinkHoverColor = static_cast<TColor>(0xFF00FF);

TLabel* CentredLabel(TForm* Form, TWinControl* Parent, const String& Name, const String& Caption, int Left, int Top,
                     int Width, int Height, int FontHeight) {
  auto* label = Make<TLabel>(Form, Parent, Name, Left, Top, Width, Height);
  label->SetAutoSize(false);
  label->SetAlignment(taCenter);
  label->SetTransparent(true);
  label->Font()->SetHeight(-FontHeight);
  label->SetCaption(Caption);
  return label;
}

// The bitmap resource Name into Picture; a missing or unreadable one leaves it empty.
void LoadBitmapResource(TPicture* Picture, const Char* Name) {
  HRSRC res = FindResource(HInstance, Name, RT_BITMAP);
  if (!res) return;
  TMemoryStream stream;
  stream.Write(LockResource(LoadResource(HInstance, res)), static_cast<int32_t>(SizeofResource(HInstance, res)));
  stream.Seek(0, soBeginning);
  try {
    TBitmap bitmap;
    bitmap.LoadFromStream(&stream);
    Picture->Assign(&bitmap);
  } catch (Exception&) {
  }
}

}  // namespace

TVerBoxForm::TVerBoxForm(TComponent* AOwner) : TForm(AOwner) {
  BeginLoading();
  SetName(u"VerBoxForm");
  SetCaption(u" Version Box");
  SetBorderStyle(bsDialog);
  SetFormStyle(fsStayOnTop);
  SetKeyPreview(true);
  SetPosition(poOwnerFormCenter);
  SetScaled(false);
  SetClientWidth(625);
  SetClientHeight(322);
  SetColor(cl3DLight);
  Font()->SetName(FormFont);
  Font()->SetHeight(-12);
  OnCreate = [this](TObject* s) { FormCreate(s); };
  OnKeyDown = [this](TObject* s, Word& k, TShiftState sh) { FormKeyDown(s, k, sh); };

  GroupBox1 = MakeComponent<TGroupBox>(this, u"GroupBox1");
  GroupBox1->SetParent(this);
  GroupBox1->SetAlign(alClient);
  GroupBox1->SetColor(clBtnFace);
  GroupBox1->SetCaption(String());

  Image1 = Make<TImage>(this, GroupBox1, u"Image1", 16, 18, 130, 130);
  Image1->SetCenter(true);
  Image1->SetProportional(true);
  LoadBitmapResource(Image1->Picture(), u"VERBOXIMAGE");

  Panel1 = Make<TPanel>(this, GroupBox1, u"Panel1", 160, 18, 449, 130);
  Panel1->SetBevelInner(bvLowered);
  Panel1->SetBevelOuter(bvLowered);
  Panel1->SetParentBackground(false);
  Panel1->SetColor(static_cast<TColor>(15790320));
  Panel1->SetCaption(String());
  HelpImage1 = Make<TImage>(this, Panel1, u"HelpImage1", 10, 13, 104, 104);
  HelpImage1->SetCenter(true);
  HelpImage1->SetProportional(true);
  HelpLabel1 = CentredLabel(this, Panel1, u"HelpLabel1", u"リモコン送信機", 120, 26, 150, 20, 15);
  HelpLabel2 = CentredLabel(this, Panel1, u"HelpLabel2", u"TRM910X", 120, 56, 150, 30, 24);
  HelpLabel3 = CentredLabel(this, Panel1, u"HelpLabel3", u"/", 270, 56, 24, 30, 24);
  HelpLabel4 = CentredLabel(this, Panel1, u"HelpLabel4", u"制御受信機", 294, 26, 150, 20, 15);
  HelpLabel5 = CentredLabel(this, Panel1, u"HelpLabel5", u"RCV910X", 294, 56, 150, 30, 24);

  HelpLabel6 = CentredLabel(this, GroupBox1, u"HelpLabel6", u"426MHz帯テレコントロールシステム", 16, 158, 593, 26, 20);
  HelpLabel7 = CentredLabel(this, GroupBox1, u"HelpLabel7", u"セッティング　ツール", 16, 186, 593, 26, 20);
  HelpLabel8 = CentredLabel(this, GroupBox1, u"HelpLabel8", u"(C) 2026 RCV910X setting tool project", 16, 218, 593, 18, 12);
  HelpLabel9 = CentredLabel(this, GroupBox1, u"HelpLabel9", u"Version 1.00", 16, 238, 593, 18, 12);
  HelpURL = CentredLabel(this, GroupBox1, u"HelpURL", String(), 16, 258, 593, 18, 12);
  HelpURL->SetCursor(crHandPoint);
  HelpURL->Font()->SetColor(LinkColor);
  HelpURL->Font()->SetStyle({fsUnderline});
  WithHint(HelpURL, u"弊社ﾎｰﾑﾍﾟｰｼﾞにｼﾞｬﾝﾌﾟします。");
  HelpURL->OnMouseEnter = [this](TObject* s) { HelpURLMouseEnter(s); };
  HelpURL->OnMouseLeave = [this](TObject* s) { HelpURLMouseLeave(s); };
  HelpURL->OnClick = [this](TObject* s) { HelpURLClick(s); };

  AbColBitBtn1 = Make<TAbColBitBtn>(this, GroupBox1, u"AbColBitBtn1", 267, 282, 90, 28);
  AbColBitBtn1->SetMode(mButton);
  AbColBitBtn1->SetCaption(u"OK");
  AbColBitBtn1->SetTextOff(u"OK");
  AbColBitBtn1->SetTextOn(u"OK");
  AbColBitBtn1->OnClick = [this](TObject* s) { AbColBitBtn1Click(s); };
  EndLoading();
}

TVerBoxForm::~TVerBoxForm() { Destroying(); }

void TVerBoxForm::FormCreate(TObject*) {
  TSettingsStore store = OpenSettings(SettingsFilePath());
  TMemIniFile& ini = *store.Ini;
  LinkAddress = ini.ReadString(Section, u"URL", u"ini file error");
  const String picture = ini.ReadString(Section, u"HelpImage1", u"Error !!");
  // A missing or unreadable picture leaves the frame empty; the texts and the version still show.
  try {
    HelpImage1->Picture()->LoadFromFile(ExtractFilePath(ExeName()) + picture);
  } catch (Exception&) {
    HelpImage1->Picture()->Assign(nullptr);
  }
  TLabel* labels[] = {HelpLabel1, HelpLabel2, HelpLabel3, HelpLabel4, HelpLabel5, HelpLabel6, HelpLabel7, HelpLabel8};
  for (int i = 0; i < 8; ++i)
    labels[i]->SetCaption(ini.ReadString(Section, u"HelpLabel" + IntToStr(i + 1), u"Error !!"));
  // A file that cannot be written back is no error here: the values read are used.
  WriteBackSettings(store);
  HelpURL->SetCaption(LinkAddress);

  TEXEVersionData version;
  ReadVersionData(ExeName(), version);
  HelpLabel9->SetCaption(u"Ver. " + version.FileVersion);
}

void TVerBoxForm::FormKeyDown(TObject*, Word& Key, TShiftState) {
  if (Key == 27) Close();
}

void TVerBoxForm::HelpURLMouseEnter(TObject*) { HelpURL->Font()->SetColor(LinkHoverColor); }

void TVerBoxForm::HelpURLMouseLeave(TObject*) { HelpURL->Font()->SetColor(LinkColor); }

void TVerBoxForm::HelpURLClick(TObject*) { ShellExecuteW(Handle(), nullptr, LinkAddress.c_str(), nullptr, nullptr, SW_SHOWNORMAL); }

void TVerBoxForm::AbColBitBtn1Click(TObject*) { Close(); }
