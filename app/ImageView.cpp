#include "app/ImageView.h"

#include "app/FormBuilder.h"
#include "app/Main.h"
#include "platform/rtl/SysUtils.h"
#include "platform/ui/Clipbrd.h"

TImageViewForm1* ImageViewForm1 = nullptr;

namespace {

// The tool bar's three images, 16 x 16, drawn on white (transparent): an open folder,
// an exit mark and two pages.
void AddToolImages(TImageList* List) {
  TBitmap strip(48, 16);
  TCanvas* c = strip.Canvas();
  c->Brush()->SetColor(clWhite);
  c->FillRect(TRect(0, 0, 48, 16));
  c->Pen()->SetColor(clBlack);
  // 0: folder
  c->Brush()->SetColor(0x00C0FF);
  c->Polygon({TPoint(1, 4), TPoint(6, 4), TPoint(8, 6), TPoint(14, 6), TPoint(14, 13), TPoint(1, 13)});
  // 1: exit
  c->Pen()->SetColor(clRed);
  c->Pen()->SetWidth(2);
  c->MoveTo(19, 3);
  c->LineTo(29, 13);
  c->MoveTo(29, 3);
  c->LineTo(19, 13);
  // 2: copy
  c->Pen()->SetWidth(1);
  c->Pen()->SetColor(clBlack);
  c->Brush()->SetColor(0xF0F0F0);
  c->Rectangle(TRect(33, 1, 42, 12));
  c->Rectangle(TRect(37, 4, 46, 15));
  List->AddMasked(&strip, clWhite);
}

TToolButton* MakeToolButton(TComponent* Owner, TToolBar* Bar, const String& Name, int Left, int Image,
                            const String& Hint) {
  auto* b = Make<TToolButton>(Owner, Bar, Name, Left, 0, 80, 30);
  b->SetImageIndex(Image);
  WithHint(b, Hint);
  return b;
}

}  // namespace

TImageViewForm1::TImageViewForm1(TComponent* AOwner) : TForm(AOwner) {
  BeginLoading();
  SetName(u"ImageViewForm1");
  SetCaption(u"Air monitor image viewer");
  SetBorderStyle(bsSizeToolWin);
  SetFormStyle(fsStayOnTop);
  SetPosition(poOwnerFormCenter);
  SetScaled(false);
  SetClientWidth(446);
  SetClientHeight(262);
  Constraints()->SetMinWidth(446);
  Constraints()->SetMinHeight(262);
  OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };

  ImageList1 = MakeComponent<TImageList>(this, u"ImageList1");
  AddToolImages(ImageList1);
  PopupMenu1 = MakeComponent<TPopupMenu>(this, u"PopupMenu1");
  CopytoclipBoard1 = MakeComponent<TMenuItem>(this, u"CopytoclipBoard1");
  CopytoclipBoard1->SetCaption(u"ｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰ");
  CopytoclipBoard1->SetShortCut(ShortCut('C', {ssCtrl}));
  CopytoclipBoard1->OnClick = [this](TObject* s) { CopytoclipBoard1Click(s); };
  PopupMenu1->Items()->Add(CopytoclipBoard1);
  SetPopupMenu(PopupMenu1);

  Panel1 = Make<TPanel>(this, this, u"Panel1", 0, 0, 446, 262);
  Panel1->SetAlign(alClient);
  Panel1->SetBevelInner(bvLowered);
  Panel1->SetBevelOuter(bvLowered);
  Panel1->SetCaption(String());

  ToolBar2 = Make<TToolBar>(this, Panel1, u"ToolBar2", 0, 0, 446, 32);
  ToolBar2->SetAlign(alTop);
  ToolBar2->SetButtonWidth(80);
  ToolBar2->SetButtonHeight(30);
  ToolBar2->SetImages(ImageList1);
  ToolButton3 = MakeToolButton(this, ToolBar2, u"ToolButton3", 0, 1, u"Exit");
  ToolButton3->OnClick = [this](TObject* s) { ToolButton3Click(s); };
  ToolButton4 = Make<TToolButton>(this, ToolBar2, u"ToolButton4", 80, 0, 8, 30);
  ToolButton4->SetStyle(tbsSeparator);
  ToolButton1 = MakeToolButton(this, ToolBar2, u"ToolButton1", 88, 0, u"Open folder");
  ToolButton1->OnClick = [this](TObject* s) { ToolButton1Click(s); };
  ToolButton2 = MakeToolButton(this, ToolBar2, u"ToolButton2", 168, 2, u"Copy to clipboard  Ctrl+C");
  ToolButton2->OnClick = [this](TObject* s) { CopytoclipBoard1Click(s); };

  Image1 = Make<TImage>(this, Panel1, u"Image1", 0, 32, 446, 230);
  Image1->SetAlign(alClient);
  Image1->SetCenter(true);
  Image1->SetProportional(true);
  Image1->SetStretch(true);
  WithHint(Image1, u"Click screen for select image");
  Image1->OnClick = [this](TObject* s) { ToolButton1Click(s); };
  EndLoading();
}

TImageViewForm1::~TImageViewForm1() { Destroying(); }

void TImageViewForm1::ToolButton1Click(TObject*) {
  if (MainForm == nullptr) return;
  TOpenPictureDialog* dialog = MainForm->OpenPictureDialog1;
  dialog->SetFileName(String());
  dialog->SetFilter(u"Imagefiles (*.emf, *.wmf, *.bmp, *.jpg)|*.emf;*.wmf;*.bmp;*.jpg");
  dialog->SetInitialDir(MainForm->LastFolder);
  if (!dialog->Execute()) return;
  ShowPicture(dialog->FileName());
}

void TImageViewForm1::ShowPicture(const String& FileName) {
  Show();
  SetCaption(ExtractFileName(FileName));
  Image1->Picture()->LoadFromFile(FileName);
}

void TImageViewForm1::CopytoclipBoard1Click(TObject*) {
  // With no picture shown there is nothing to copy.
  TGraphic* g = Image1->Picture()->Graphic();
  if (g == nullptr || g->Empty()) return;
  Clipboard()->Assign(Image1->Picture());
}

void TImageViewForm1::ToolButton3Click(TObject*) { Close(); }
void TImageViewForm1::Close1Click(TObject*) { Close(); }

void TImageViewForm1::FormClose(TObject*, TCloseAction&) { Image1->Picture()->Assign(nullptr); }
