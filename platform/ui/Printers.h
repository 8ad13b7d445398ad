#pragma once
// The printer: a print job drawn on a canvas page by page, on one of the system's printers or
// into a PDF file.

#include <memory>

#include "platform/rtl/Classes.h"
#include "platform/rtl/System.h"
#include "platform/ui/Graphics.h"

enum TPrinterOrientation : uint8_t { poPortrait, poLandscape };

RTL_EXCEPTION(EPrinter, Exception);

class TPrinter : public TObject {
public:
  TPrinter();
  ~TPrinter() override;
  String ClassName() const override { return u"TPrinter"; }

  // Starts a job on page 1. Raises EPrinter when a job is running, when the PDF entry is
  // chosen without a file name, or when the printer or file cannot be opened.
  void BeginDoc();
  // Finishes the job and sends it to the printer (or closes the file).
  void EndDoc();
  void NewPage();
  // Drops the job; a partly written PDF file is removed.
  void Abort();
  bool Printing() const { return FPrinting; }
  // True after Abort until the next BeginDoc.
  bool Aborted() const { return FAborted; }
  int PageNumber() const { return FPageNumber; }

  // The page's canvas in device pixels; its font sizes are points at the printer's resolution.
  // Drawing outside a job raises EPrinter.
  TCanvas* Canvas();
  // The printable area in device pixels, in the current orientation.
  int PageWidth();
  int PageHeight();

  // The settings below raise EPrinter while a job is running.
  TPrinterOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TPrinterOrientation Value);
  // The job's name in the print queue.
  const String& Title() const { return FTitle; }
  void SetTitle(const String& Value);
  int Copies() const { return FCopies; }
  void SetCopies(int Value);

  // The system's printers by name, followed by the entry PdfPrinterName.
  TStrings* Printers();
  // Index into Printers; -1 chooses the system's default printer (the PDF entry when there is none).
  int PrinterIndex();
  void SetPrinterIndex(int Value);
  // The output file used while the PDF entry is chosen.
  const String& FileName() const { return FFileName; }
  void SetFileName(const String& Value);
  static const char16_t* const PdfPrinterName;

private:
  friend struct TPrinterAccess;
  class TPrinterCanvas;
  struct Device;
  void CheckNotPrinting(const char16_t* What) const;
  void ApplySettings();
  bool PdfChosen();

  std::unique_ptr<Device> FDevice;
  std::unique_ptr<TPrinterCanvas> FCanvas;
  std::unique_ptr<TStringList> FPrinters;
  bool FPrinting = false;
  bool FAborted = false;
  int FPageNumber = 0;
  TPrinterOrientation FOrientation = poPortrait;
  String FTitle;
  int FCopies = 1;
  int FPrinterIndex = -2;  // -2: not chosen yet
  String FFileName;
};

// The application's printer.
TPrinter* Printer();
