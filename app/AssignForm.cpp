#include "app/AssignForm.h"

#include "app/FormBuilder.h"
#include "app/KeyForm.h"

TAssignForm1* AssignForm1 = nullptr;
String AssignedCommand;
int32_t AssignedLength = 0;

namespace {
TTrackBar* CodeTrackBar(TForm* Form, const String& Name, int Top, int Position) {
  auto* bar = Make<TTrackBar>(Form, Form, Name, 16, Top, 260, 32);
  bar->SetMax(255);
  bar->SetFrequency(16);
  bar->SetPageSize(16);
  bar->SetPosition(Position);
  return bar;
}

TLabel* ValueLabel(TForm* Form, const String& Name, int Left, int Top) {
  auto* label = Make<TLabel>(Form, Form, Name, Left, Top, 48, 20);
  label->SetAutoSize(false);
  label->Font()->SetHeight(-15);
  return label;
}
}  // namespace

TAssignForm1::TAssignForm1(TComponent* AOwner) : TForm(AOwner) {
  BeginLoading();
  SetName(u"AssignForm1");
  SetCaption(u" 送信ｺﾏﾝﾄﾞ自動作成");
  SetBorderStyle(bsSingle);
  SetPosition(poScreenCenter);
  SetClientWidth(400);
  SetClientHeight(260);
  OnCreate = [this](TObject* s) { FormCreate(s); };

  auto* sizeCaption = Make<TLabel>(this, this, u"Label5", 16, 8, 200, 16);
  sizeCaption->SetCaption(u"ﾃﾞｰﾀｻｲｽﾞ");
  TrackBar1 = CodeTrackBar(this, u"TrackBar1", 26, 10);
  Label1 = ValueLabel(this, u"Label1", 288, 32);
  Label2 = ValueLabel(this, u"Label2", 340, 32);
  TrackBar1->OnChange = [this](TObject* s) { TrackBar1Change(s); };

  auto* charCaption = Make<TLabel>(this, this, u"Label6", 16, 66, 200, 16);
  charCaption->SetCaption(u"文字");
  TrackBar2 = CodeTrackBar(this, u"TrackBar2", 84, 80);
  Label3 = ValueLabel(this, u"Label3", 288, 90);
  Label4 = ValueLabel(this, u"Label4", 340, 90);
  TrackBar2->OnChange = [this](TObject* s) { TrackBar2Change(s); };

  VrDemoButton1 = Make<TVrDemoButton>(this, this, u"VrDemoButton1", 16, 128, 180, 30);
  VrDemoButton1->SetCaption(u"文字設定（同一文字）");
  VrDemoButton1->OnClick = [this](TObject* s) { VrDemoButton1Click(s); };
  VrDemoButton2 = Make<TVrDemoButton>(this, this, u"VrDemoButton2", 204, 128, 180, 30);
  VrDemoButton2->SetCaption(u"文字設定（ﾗﾝﾀﾞﾑ文字）");
  VrDemoButton2->OnClick = [this](TObject* s) { VrDemoButton2Click(s); };

  LabeledEdit1 = Make<TAdvEdit>(this, this, u"LabeledEdit1", 84, 182, 300, 24);
  LabeledEdit1->SetReadOnly(true);
  LabeledEdit1->SetEditAlign(eaCenter);
  LabeledEdit1->SetLabelCaption(u"送信ｺﾏﾝﾄﾞ");
  LabeledEdit1->SetLabelPosition(lpLeftCenter);
  LabeledEdit1->SetLabelMargin(6);
  VrDemoButton3 = Make<TVrDemoButton>(this, this, u"VrDemoButton3", 284, 220, 100, 30);
  VrDemoButton3->SetCaption(u"OK");
  VrDemoButton3->OnClick = [this](TObject* s) { VrDemoButton3Click(s); };
  TrackBar1Change(TrackBar1);
  TrackBar2Change(TrackBar2);
  EndLoading();
}

TAssignForm1::~TAssignForm1() { Destroying(); }

void TAssignForm1::FormCreate(TObject*) { SetCommand(0, String()); }

void TAssignForm1::SetCommand(int32_t Size, const String& Text) {
  CommandSize = Size;
  CommandText = IntToHex(Size, 2) + Text;
  LabeledEdit1->SetText(CommandText);
}

void TAssignForm1::TrackBar1Change(TObject*) {
  int v = TrackBar1->Position();
  Label1->SetCaption(IntToHex(v, 2));
  Label2->SetCaption(IntToStr(v));
}

void TAssignForm1::TrackBar2Change(TObject*) {
  int v = TrackBar2->Position();
  Label3->SetCaption(String(1, static_cast<Char>(v)));
  Label4->SetCaption(IntToHex(v, 2));
}

void TAssignForm1::VrDemoButton1Click(TObject*) {
  int size = TrackBar1->Position();
  SetCommand(size, String(size, static_cast<Char>(TrackBar2->Position())));
}

void TAssignForm1::VrDemoButton2Click(TObject*) {
  int size = TrackBar1->Position();
  std::uniform_int_distribution<int> printable(33, 125);
  String text;
  for (int i = 0; i < size; ++i) text.push_back(static_cast<Char>(printable(FRandom)));
  SetCommand(size, text);
}

void TAssignForm1::VrDemoButton3Click(TObject*) {
  AssignedCommand = CommandText;
  AssignedLength = CommandSize;
  CloseWithResult(this, mrOk);
}
