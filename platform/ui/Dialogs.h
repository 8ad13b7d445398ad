#pragma once
// Common dialogs: open and save file, open and save picture, print set-up, colour and font.
// Each Execute shows the dialog modally over the active window and returns True when the
// user confirmed it; the dialog's properties then hold the choice.

#include <memory>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/System.h"
#include "platform/win/Windows.h"

using TColor = int32_t;  // as in Graphics.h
class TFont;

class TCommonDialog : public TComponent {
public:
  explicit TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}
  String ClassName() const override { return u"TCommonDialog"; }

  virtual bool Execute() = 0;
  // The parent window is always the active window; the argument is accepted for callers that pass one.
  bool Execute(HWND) { return Execute(); }

  // Fired just before the dialog appears and just after it has gone.
  TNotifyEvent OnShow;
  TNotifyEvent OnClose;

protected:
  void DoShow() { if (OnShow) OnShow(this); }
  void DoClose() { if (OnClose) OnClose(this); }
};

// ---------------------------------------------------------------------------
// File dialogs

enum TOpenOption : uint8_t {
  ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate,
  ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt,
  ofShareAware, ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames,
  ofOldStyleDialog, ofNoDereferenceLinks, ofEnableIncludeNotify, ofEnableSizing,
  ofDontAddToRecent, ofForceShowHidden
};
using TOpenOptions = Set<TOpenOption>;

// One entry of a filter "description|patterns|description|patterns", patterns split at ';'.
struct TFileFilter {
  String Description;
  std::vector<String> Patterns;
};
// Splits a filter text into its entries; a trailing description without patterns matches everything.
std::vector<TFileFilter> ParseFileFilter(const String& Filter);
// The filter entries in the form "Description (pat1 pat2)"; "*.*" becomes "*" (every file).
std::vector<String> FileFilterToNameFilters(const String& Filter);

class TOpenDialog : public TCommonDialog {
public:
  explicit TOpenDialog(TComponent* AOwner);
  ~TOpenDialog() override;
  String ClassName() const override { return u"TOpenDialog"; }

  bool Execute() override;
  using TCommonDialog::Execute;

  // The chosen file (full path after a confirmed Execute); also the name the dialog proposes.
  const String& FileName() const { return FFileName; }
  void SetFileName(const String& Value) { FFileName = Value; }
  // Every chosen file (one unless ofAllowMultiSelect).
  TStrings* Files() const { return FFiles.get(); }
  const String& Filter() const { return FFilter; }
  void SetFilter(const String& Value) { FFilter = Value; }
  // 1-based index of the filter shown first; after Execute, the one the user had chosen.
  int FilterIndex() const { return FFilterIndex; }
  void SetFilterIndex(int Value) { FFilterIndex = Value; }
  const String& InitialDir() const { return FInitialDir; }
  void SetInitialDir(const String& Value) { FInitialDir = Value; }
  // Extension (without the dot) added to a typed name that has none.
  const String& DefaultExt() const { return FDefaultExt; }
  void SetDefaultExt(const String& Value) { FDefaultExt = Value; }
  const String& Title() const { return FTitle; }
  void SetTitle(const String& Value) { FTitle = Value; }
  const TOpenOptions& Options() const { return FOptions; }
  void SetOptions(const TOpenOptions& Value) { FOptions = Value; }

  TNotifyEvent OnTypeChange;  // the user picked another filter

protected:
  virtual bool IsSaveDialog() const { return false; }

private:
  String FFileName;
  std::unique_ptr<TStringList> FFiles;
  String FFilter;
  int FFilterIndex = 1;
  String FInitialDir;
  String FDefaultExt;
  String FTitle;
  TOpenOptions FOptions{ofHideReadOnly, ofEnableSizing};
};

class TSaveDialog : public TOpenDialog {
public:
  explicit TSaveDialog(TComponent* AOwner) : TOpenDialog(AOwner) {}
  String ClassName() const override { return u"TSaveDialog"; }

protected:
  bool IsSaveDialog() const override { return true; }
};

// Open and save dialogs whose filter starts as the picture formats the library reads and writes.
class TOpenPictureDialog : public TOpenDialog {
public:
  explicit TOpenPictureDialog(TComponent* AOwner);
  String ClassName() const override { return u"TOpenPictureDialog"; }
};

class TSavePictureDialog : public TSaveDialog {
public:
  explicit TSavePictureDialog(TComponent* AOwner);
  String ClassName() const override { return u"TSavePictureDialog"; }
};

// ---------------------------------------------------------------------------
// Print dialog: chooses the printer (or a PDF file) of the global Printer() and the copies.

enum TPrintRange : uint8_t { prAllPages, prSelection, prPageNums };
enum TPrintDialogOption : uint8_t {
  poPrintToFile, poPageNums, poSelection, poWarning, poHelp, poDisablePrintToFile
};
using TPrintDialogOptions = Set<TPrintDialogOption>;

class TPrintDialog : public TCommonDialog {
public:
  explicit TPrintDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}
  String ClassName() const override { return u"TPrintDialog"; }

  bool Execute() override;
  using TCommonDialog::Execute;

  int Copies() const { return FCopies; }
  void SetCopies(int Value) { FCopies = Value < 1 ? 1 : Value; }
  bool Collate() const { return FCollate; }
  void SetCollate(bool Value) { FCollate = Value; }
  int FromPage() const { return FFromPage; }
  void SetFromPage(int Value) { FFromPage = Value; }
  int ToPage() const { return FToPage; }
  void SetToPage(int Value) { FToPage = Value; }
  int MinPage() const { return FMinPage; }
  void SetMinPage(int Value) { FMinPage = Value; }
  int MaxPage() const { return FMaxPage; }
  void SetMaxPage(int Value) { FMaxPage = Value; }
  TPrintRange PrintRange() const { return FPrintRange; }
  void SetPrintRange(TPrintRange Value) { FPrintRange = Value; }
  bool PrintToFile() const { return FPrintToFile; }
  void SetPrintToFile(bool Value) { FPrintToFile = Value; }
  const TPrintDialogOptions& Options() const { return FOptions; }
  void SetOptions(const TPrintDialogOptions& Value) { FOptions = Value; }

private:
  int FCopies = 1;
  bool FCollate = false;
  int FFromPage = 0;
  int FToPage = 0;
  int FMinPage = 0;
  int FMaxPage = 0;
  TPrintRange FPrintRange = prAllPages;
  bool FPrintToFile = false;
  TPrintDialogOptions FOptions;
};

// ---------------------------------------------------------------------------
// Colour dialog

enum TColorDialogOption : uint8_t { cdFullOpen, cdPreventFullOpen, cdShowHelp, cdSolidColor, cdAnyColor };
using TColorDialogOptions = Set<TColorDialogOption>;

class TColorDialog : public TCommonDialog {
public:
  explicit TColorDialog(TComponent* AOwner);
  ~TColorDialog() override;
  String ClassName() const override { return u"TColorDialog"; }

  bool Execute() override;
  using TCommonDialog::Execute;

  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { FColor = Value; }
  // Up to 16 entries "ColorA=RRGGBB" .. "ColorP=RRGGBB" (hexadecimal of the colour value
  // 0xBBGGRR); the user's custom colours are stored back after a confirmed Execute.
  TStrings* CustomColors() const { return FCustomColors.get(); }
  const TColorDialogOptions& Options() const { return FOptions; }
  void SetOptions(const TColorDialogOptions& Value) { FOptions = Value; }

private:
  TColor FColor = 0;  // black
  std::unique_ptr<TStringList> FCustomColors;
  TColorDialogOptions FOptions;
};

// ---------------------------------------------------------------------------
// Font dialog

enum TFontDialogOption : uint8_t {
  fdAnsiOnly, fdTrueTypeOnly, fdEffects, fdFixedPitchOnly, fdForceFontExist, fdNoFaceSel,
  fdNoOEMFonts, fdNoSimulations, fdNoSizeSel, fdNoStyleSel, fdNoVectorFonts, fdShowHelp,
  fdWysiwyg, fdLimitSize, fdScalableOnly, fdApplyButton
};
using TFontDialogOptions = Set<TFontDialogOption>;

using TFDApplyEvent = std::function<void(TObject* Sender, HWND Wnd)>;

class TFontDialog : public TCommonDialog {
public:
  explicit TFontDialog(TComponent* AOwner);
  ~TFontDialog() override;
  String ClassName() const override { return u"TFontDialog"; }

  bool Execute() override;
  using TCommonDialog::Execute;

  // The font shown first and, after a confirmed Execute or an Apply, the chosen one.
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value);
  const TFontDialogOptions& Options() const { return FOptions; }
  void SetOptions(const TFontDialogOptions& Value) { FOptions = Value; }
  int MinFontSize() const { return FMinFontSize; }
  void SetMinFontSize(int Value) { FMinFontSize = Value; }
  int MaxFontSize() const { return FMaxFontSize; }
  void SetMaxFontSize(int Value) { FMaxFontSize = Value; }

  // Fired by the dialog's Apply button (shown with fdApplyButton) while the dialog stays open;
  // Font already holds the choice. Wnd is the dialog's window (null here).
  TFDApplyEvent OnApply;

private:
  std::unique_ptr<TFont> FFont;
  TFontDialogOptions FOptions{fdEffects};
  int FMinFontSize = 0;
  int FMaxFontSize = 0;
};
