// The demo's "Print" menu: the channel table printed into a PDF file or on a printer, a preview
// window that pages through the printout, and the print settings saved to and loaded from an
// ini file.
#include <memory>

#include "grid/demo/GridDemo.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Printers.h"

namespace {

// A page of the printout at its real size, with buttons to the previous and next page.
class TPrintPreviewForm : public TForm {
public:
  TPrintPreviewForm(TComponent* AOwner, DEreDuzeroVaro* Grid) : TForm(AOwner), FGrid(Grid) {
    SetCaption(u"Print preview");
    SetBounds(120, 60, 560, 820);
    FPrev = new TButton(this);
    FPrev->SetParent(this);
    FPrev->SetCaption(u"< Previous");
    FPrev->SetBounds(8, 8, 100, 26);
    FPrev->OnClick = [this](TObject*) { ShowPage(FPage - 1); };
    FNext = new TButton(this);
    FNext->SetParent(this);
    FNext->SetCaption(u"Next >");
    FNext->SetBounds(116, 8, 100, 26);
    FNext->OnClick = [this](TObject*) { ShowPage(FPage + 1); };
    FInfo = new TLabel(this);
    FInfo->SetParent(this);
    FInfo->SetBounds(232, 13, 200, 20);
    FImage = new TImage(this);
    FImage->SetParent(this);
    FImage->SetBounds(8, 42, 530, 750);
    ShowPage(1);
  }
  int Page() const { return FPage; }
  void ShowPage(int Page) {
    if (Page < 1 || (FPages > 0 && Page > FPages)) return;
    FPage = Page;
    TBitmap page(FImage->Width(), FImage->Height());
    page.Canvas()->Brush()->SetColor(clWhite);
    page.Canvas()->FillRect(TRect(0, 0, page.Width(), page.Height()));
    FGrid->SetPreviewPage(Page);
    FGrid->PrintPreview(page.Canvas(), TRect(0, 0, page.Width(), page.Height()));
    FPages = FGrid->PrintNrOfPages();
    FImage->Picture()->Assign(&page);
    FInfo->SetCaption(u"Page " + IntToStr(FPage) + u" of " + IntToStr(FPages));
  }

private:
  DEreDuzeroVaro* FGrid;
  TButton *FPrev, *FNext;
  TLabel* FInfo;
  TImage* FImage;
  int FPage = 1, FPages = 0;
};

void Report(const String& What, DEreDuzeroVaro* Grid) {
  ShowMessage(What + u": " + IntToStr(Grid->PrintNrOfPages()) + u" page(s)");
}

}  // namespace

void AddGridDemoPrint(TGridDemoForm& Form) {
  TPrintSettings* ps = Form.Grid()->PrintSettings();
  ps->SetJobName(u"Receiver channels");
  ps->SetTitle(ppTopLeft);
  ps->SetTitleText(u"Receiver channels");
  ps->SetDate(ppTopRight);
  ps->SetPageNr(ppBottomCenter);
  ps->SetRepeatFixedRows(true);
  ps->SetBorders(pbSingle);

  TMenuItem* menu = Form.DemoMenu(u"&Print");
  Form.AddDemoItem(menu, u"Print to P&DF...", [&Form] {
    TSaveDialog dialog(&Form);
    dialog.SetFilter(u"PDF files (*.pdf)|*.pdf");
    dialog.SetDefaultExt(u"pdf");
    if (!dialog.Execute()) return;
    TPrinter* printer = Printer();
    printer->SetPrinterIndex(printer->Printers()->Count() - 1);
    printer->SetFileName(dialog.FileName());
    try {
      Form.Grid()->Print();
      Report(u"Printed into " + dialog.FileName(), Form.Grid());
    } catch (const Exception& e) {
      ShowMessage(e.Message());
    }
  });
  Form.AddDemoItem(menu, u"&Print...", [&Form] {
    TPrintDialog dialog(&Form);
    if (!dialog.Execute()) return;
    try {
      Form.Grid()->Print();
      Report(u"Printed", Form.Grid());
    } catch (const Exception& e) {
      ShowMessage(e.Message());
    }
  });
  Form.AddDemoItem(menu, u"Pre&view", [&Form] {
    auto* preview = new TPrintPreviewForm(&Form, Form.Grid());
    preview->Show();
  });
  Form.AddDemoItem(menu, u"&Save print settings...", [&Form] {
    TSaveDialog dialog(&Form);
    dialog.SetFilter(u"Settings (*.ini)|*.ini");
    dialog.SetDefaultExt(u"ini");
    if (!dialog.Execute()) return;
    try {
      Form.Grid()->SavePrintSettings(dialog.FileName(), u"Print");
    } catch (const Exception& e) {
      ShowMessage(e.Message());
    }
  });
  Form.AddDemoItem(menu, u"&Load print settings...", [&Form] {
    TOpenDialog dialog(&Form);
    dialog.SetFilter(u"Settings (*.ini)|*.ini");
    if (!dialog.Execute()) return;
    try {
      Form.Grid()->LoadPrintSettings(dialog.FileName(), u"Print");
    } catch (const Exception& e) {
      ShowMessage(e.Message());
    }
  });
}
