#include "platform/ui/Printers.h"

#include <QCoreApplication>
#include <QFile>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

#include "platform/ui/Printers_p.h"
#include "platform/win/QtBridge_p.h"
#include "platform/win/Gdi_p.h"

const char16_t* const TPrinter::PdfPrinterName = u"PDF file";

struct TPrinter::Device {
  QPrinter printer{QPrinter::HighResolution};
  HDC dc = nullptr;
};

// The page's canvas: its device context exists only while a job runs.
class TPrinter::TPrinterCanvas : public TCanvas {
public:
  explicit TPrinterCanvas(TPrinter* Owner) : FPrinter(Owner) {}
  String ClassName() const override { return u"TPrinterCanvas"; }

protected:
  void CreateHandle() override {
    if (!FPrinter->Printing()) throw EPrinter(u"Printer is not printing");
  }

private:
  TPrinter* FPrinter;
};

TPrinter::TPrinter() : FCanvas(std::make_unique<TPrinterCanvas>(this)) {}

TPrinter::~TPrinter() {
  if (FPrinting) {
    FCanvas->SetHandle(nullptr);
    DeleteDeviceDC(FDevice->dc);
  }
}

void TPrinter::CheckNotPrinting(const char16_t* What) const {
  if (FPrinting) throw EPrinter(String(u"Cannot change the ") + What + u" while printing");
}

TStrings* TPrinter::Printers() {
  if (!FPrinters) {
    FPrinters = std::make_unique<TStringList>();
    for (const QString& name : QPrinterInfo::availablePrinterNames()) FPrinters->Add(FromQString(name));
    FPrinters->Add(PdfPrinterName);
  }
  return FPrinters.get();
}

int TPrinter::PrinterIndex() {
  TStrings* list = Printers();
  if (FPrinterIndex >= 0 && FPrinterIndex < list->Count()) return FPrinterIndex;
  int def = list->IndexOf(FromQString(QPrinterInfo::defaultPrinterName()));
  return def >= 0 && def < list->Count() - 1 ? def : list->Count() - 1;
}

void TPrinter::SetPrinterIndex(int Value) {
  CheckNotPrinting(u"printer");
  if (Value < -1 || Value >= Printers()->Count()) throw EPrinter(u"Printer index out of range");
  FPrinterIndex = Value;
}

bool TPrinter::PdfChosen() { return PrinterIndex() == Printers()->Count() - 1; }

void TPrinter::SetFileName(const String& Value) {
  CheckNotPrinting(u"output file");
  FFileName = Value;
}

void TPrinter::SetOrientation(TPrinterOrientation Value) {
  CheckNotPrinting(u"orientation");
  FOrientation = Value;
}

void TPrinter::SetTitle(const String& Value) {
  CheckNotPrinting(u"title");
  FTitle = Value;
}

void TPrinter::SetCopies(int Value) {
  CheckNotPrinting(u"number of copies");
  FCopies = Value < 1 ? 1 : Value;
}

void TPrinter::ApplySettings() {
  if (!FDevice) FDevice = std::make_unique<Device>();
  if (FPrinting) return;
  QPrinter& p = FDevice->printer;
  if (PdfChosen()) {
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(ToQString(FFileName));
    // An empty name switches Qt back to the system printer; the PDF entry stays chosen.
    if (FFileName.empty()) p.setOutputFormat(QPrinter::PdfFormat);
  } else {
    p.setOutputFileName(QString());
    p.setOutputFormat(QPrinter::NativeFormat);
    p.setPrinterName(ToQString(Printers()->Get(PrinterIndex())));
  }
  p.setPageOrientation(FOrientation == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  p.setCopyCount(FCopies);
  p.setDocName(ToQString(FTitle));
}

int TPrinter::PageWidth() {
  ApplySettings();
  return FDevice->printer.width();
}

int TPrinter::PageHeight() {
  ApplySettings();
  return FDevice->printer.height();
}

TCanvas* TPrinter::Canvas() { return FCanvas.get(); }

void TPrinter::BeginDoc() {
  if (FPrinting) throw EPrinter(u"Printing in progress");
  const bool pdf = PdfChosen();
  if (pdf && FFileName.empty()) throw EPrinter(u"No file chosen to print into");
  ApplySettings();
  HDC dc = CreateDeviceDC(&FDevice->printer);
  if (!DCPainter(dc)) {
    DeleteDeviceDC(dc);
    if (pdf) throw EPrinter(u"Cannot write the file " + FFileName);
    throw EPrinter(u"Cannot print on " + Printers()->Get(PrinterIndex()));
  }
  FDevice->dc = dc;
  FPrinting = true;
  FAborted = false;
  FPageNumber = 1;
  // Font sizes stay in points, now at the printer's resolution.
  TFont* font = FCanvas->Font();
  int size = font->Size();
  font->SetPixelsPerInch(GetDeviceCaps(dc, LOGPIXELSY));
  font->SetSize(size);
  FCanvas->SetHandle(dc);
  FCanvas->Refresh();
}

void TPrinter::NewPage() {
  if (!FPrinting) throw EPrinter(u"Printer is not printing");
  if (!FDevice->printer.newPage()) throw EPrinter(u"Cannot start a new page");
  ++FPageNumber;
  FCanvas->Refresh();
}

void TPrinter::EndDoc() {
  if (!FPrinting) throw EPrinter(u"Printer is not printing");
  FCanvas->SetHandle(nullptr);
  QPainter* painter = DCPainter(FDevice->dc);
  bool ok = painter && painter->end();
  DeleteDeviceDC(FDevice->dc);
  FDevice->dc = nullptr;
  FPrinting = false;
  if (!ok) throw EPrinter(u"Printing failed");
}

void TPrinter::Abort() {
  if (!FPrinting) throw EPrinter(u"Printer is not printing");
  QPrinter& p = FDevice->printer;
  // Print engines that cannot withdraw a job send what was drawn when the painter ends.
  p.abort();
  FCanvas->SetHandle(nullptr);
  DeleteDeviceDC(FDevice->dc);
  FDevice->dc = nullptr;
  FPrinting = false;
  FAborted = true;
  if (p.outputFormat() == QPrinter::PdfFormat && !p.outputFileName().isEmpty()) QFile::remove(p.outputFileName());
}

// ---------------------------------------------------------------------------

QPrinter& TPrinterAccess::Device(TPrinter* P) {
  P->ApplySettings();
  return P->FDevice->printer;
}

void TPrinterAccess::TakeSettings(TPrinter* P) {
  if (!P->FDevice) return;
  QPrinter& p = P->FDevice->printer;
  P->FPrinters.reset();  // the dialog may have seen printers that came since
  TStrings* list = P->Printers();
  if (p.outputFormat() == QPrinter::PdfFormat) {
    P->FPrinterIndex = list->Count() - 1;
    P->FFileName = FromQString(p.outputFileName());
  } else {
    int i = list->IndexOf(FromQString(p.printerName()));
    P->FPrinterIndex = i >= 0 ? i : -1;
  }
  P->FCopies = p.copyCount() < 1 ? 1 : p.copyCount();
  P->FOrientation = p.pageLayout().orientation() == QPageLayout::Landscape ? poLandscape : poPortrait;
}

namespace {
std::unique_ptr<TPrinter>& GlobalPrinter() {
  static std::unique_ptr<TPrinter> p;
  return p;
}
}  // namespace

TPrinter* Printer() {
  auto& p = GlobalPrinter();
  if (!p) {
    p = std::make_unique<TPrinter>();
    // The Qt print device must go before Qt's print support is unloaded.
    qAddPostRoutine([] { GlobalPrinter().reset(); });
  }
  return p.get();
}
