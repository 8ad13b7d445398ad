// The print, colour and font dialogs.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QPrintDialog>
#include <QPushButton>
#include <exception>

#include "platform/rtl/SysUtils.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Printers_p.h"
#include "platform/win/QtBridge_p.h"
#include "platform/win/Gdi_p.h"

// ---------------------------------------------------------------------------
// Print dialog

bool TPrintDialog::Execute() {
  TPrinter* printer = Printer();
  if (printer->Printing()) throw EPrinter(u"Printing in progress");
  QPrinter& device = TPrinterAccess::Device(printer);
  device.setCopyCount(FCopies);
  device.setCollateCopies(FCollate);

  QPrintDialog dlg(&device, QApplication::activeWindow());
  QAbstractPrintDialog::PrintDialogOptions options =
      QAbstractPrintDialog::PrintShowPageSize | QAbstractPrintDialog::PrintCollateCopies;
  if (!FOptions.Contains(poDisablePrintToFile)) options |= QAbstractPrintDialog::PrintToFile;
  if (FOptions.Contains(poPageNums)) options |= QAbstractPrintDialog::PrintPageRange;
  if (FOptions.Contains(poSelection)) options |= QAbstractPrintDialog::PrintSelection;
  dlg.setOptions(options);
  if (FMaxPage > 0) dlg.setMinMax(FMinPage, FMaxPage);
  if (FOptions.Contains(poPageNums) && FFromPage > 0 && FToPage >= FFromPage) device.setFromTo(FFromPage, FToPage);
  switch (FPrintRange) {
    case prAllPages: dlg.setPrintRange(QAbstractPrintDialog::AllPages); break;
    case prSelection: dlg.setPrintRange(QAbstractPrintDialog::Selection); break;
    case prPageNums: dlg.setPrintRange(QAbstractPrintDialog::PageRange); break;
  }

  DoShow();
  const bool ok = dlg.exec() == QDialog::Accepted;
  DoClose();
  if (!ok) return false;
  TPrinterAccess::TakeSettings(printer);
  FCopies = printer->Copies();
  FCollate = device.collateCopies();
  FPrintToFile = device.outputFormat() == QPrinter::PdfFormat;
  switch (dlg.printRange()) {
    case QAbstractPrintDialog::Selection: FPrintRange = prSelection; break;
    case QAbstractPrintDialog::PageRange:
      FPrintRange = prPageNums;
      FFromPage = device.fromPage();
      FToPage = device.toPage();
      break;
    default: FPrintRange = prAllPages; break;
  }
  return true;
}

// ---------------------------------------------------------------------------
// Colour dialog

namespace {

constexpr int kCustomColors = 16;

// "ColorA".."ColorP" -> 0..15, else -1.
int CustomColorIndex(const String& name) {
  String n = UpperCase(name);
  if (n.size() != 6 || n.compare(0, 5, u"COLOR") != 0) return -1;
  int i = n[5] - u'A';
  return i >= 0 && i < kCustomColors ? i : -1;
}

}  // namespace

TColorDialog::TColorDialog(TComponent* AOwner)
    : TCommonDialog(AOwner), FCustomColors(std::make_unique<TStringList>()) {}

TColorDialog::~TColorDialog() = default;

bool TColorDialog::Execute() {
  // The custom colours not listed are white.
  for (int i = 0; i < kCustomColors; ++i) QColorDialog::setCustomColor(i, QColor(Qt::white));
  for (int i = 0; i < FCustomColors->Count(); ++i) {
    int index = CustomColorIndex(FCustomColors->Names(i));
    int64_t value = 0;
    if (index >= 0 && TryStrToInt64(u"$" + FCustomColors->ValueFromIndex(i), value) && value >= 0 &&
        value <= 0xFFFFFF)
      QColorDialog::setCustomColor(index, ToQColor(TColor(value)));
  }

  QColorDialog dlg(QApplication::activeWindow());
  dlg.setOption(QColorDialog::DontUseNativeDialog);
  dlg.setCurrentColor(ToQColor(ColorToRGB(FColor)));
  // Without the full form the user picks from the basic and custom colours only.
  if (FOptions.Contains(cdPreventFullOpen) && !FOptions.Contains(cdFullOpen)) {
    for (QWidget* w : dlg.findChildren<QWidget*>()) {
      QByteArray cls = w->metaObject()->className();
      auto* button = qobject_cast<QPushButton*>(w);
      if (cls.endsWith("QColorPicker") || cls.endsWith("QColorLuminancePicker") || cls.endsWith("QColorShower") ||
          (button && button->text().contains(QStringLiteral("Custom"))))
        w->hide();
    }
  }

  DoShow();
  const bool ok = dlg.exec() == QDialog::Accepted;
  DoClose();
  if (!ok) return false;
  FColor = TColor(FromQColor(dlg.selectedColor()));
  FCustomColors->Clear();
  for (int i = 0; i < kCustomColors; ++i) {
    TColor c = TColor(FromQColor(QColorDialog::customColor(i)));
    FCustomColors->Add(u"Color" + String(1, Char(u'A' + i)) + u"=" + IntToHex(c, 6));
  }
  return true;
}

// ---------------------------------------------------------------------------
// Font dialog

namespace {

// The Qt font of a class-library font, sized in points as the dialog shows it, with the
// installed style that matches its weight and slant named (the dialog goes by style names).
QFont ToDialogFont(TFont* f) {
  QFont q = ToQFont(f->Handle()->logFont);
  q.setPointSize(std::max(f->Size(), 1));
  const QString family = QFontInfo(q).family();
  QString best;
  int bestScore = 0;
  for (const QString& style : QFontDatabase::styles(family)) {
    QFont c = QFontDatabase::font(family, style, q.pointSize());
    int stretch = c.stretch() > 0 ? c.stretch() : 100;
    int score = 100000 - std::abs(c.weight() - q.weight()) - 10 * std::abs(stretch - 100) -
                (c.italic() != q.italic() ? 5000 : 0);
    if (score > bestScore) {
      bestScore = score;
      best = style;
    }
  }
  if (!best.isEmpty()) {
    q.setFamily(family);
    q.setStyleName(best);
  }
  return q;
}

}  // namespace

TFontDialog::TFontDialog(TComponent* AOwner) : TCommonDialog(AOwner), FFont(std::make_unique<TFont>()) {}

TFontDialog::~TFontDialog() = default;

void TFontDialog::SetFont(TFont* Value) { FFont->Assign(Value); }

bool TFontDialog::Execute() {
  QFontDialog dlg(QApplication::activeWindow());
  dlg.setOption(QFontDialog::DontUseNativeDialog);
  if (FOptions.Contains(fdFixedPitchOnly)) dlg.setOption(QFontDialog::MonospacedFonts);
  if (FOptions.Contains(fdScalableOnly) || FOptions.Contains(fdTrueTypeOnly)) dlg.setOption(QFontDialog::ScalableFonts);
  dlg.setCurrentFont(ToDialogFont(FFont.get()));
  // The family the dialog settled on for our font name: kept as our name when the user leaves it.
  const QString shownFamily = dlg.currentFont().family();
  if (!FOptions.Contains(fdEffects)) {
    for (QGroupBox* g : dlg.findChildren<QGroupBox*>())
      if (!g->findChildren<QCheckBox*>().isEmpty()) g->hide();  // underline and strike-out
  }

  // Takes the dialog's font in one change (OnChange fires once).
  auto take = [&](const QFont& q) {
    TFont f;
    f.Assign(FFont.get());
    if (q.family() != shownFamily) f.SetName(FromQString(q.family()));
    int size = q.pointSize() > 0 ? q.pointSize() : 0;
    if (FOptions.Contains(fdLimitSize) && size > 0) {
      if (FMinFontSize > 0) size = std::max(size, FMinFontSize);
      if (FMaxFontSize > 0) size = std::min(size, FMaxFontSize);
    }
    if (size > 0)
      f.SetSize(size);
    else if (q.pixelSize() > 0)
      f.SetHeight(-q.pixelSize());
    TFontStyles style;
    if (q.bold()) style += fsBold;
    if (q.italic()) style += fsItalic;
    if (FOptions.Contains(fdEffects)) {
      if (q.underline()) style += fsUnderline;
      if (q.strikeOut()) style += fsStrikeOut;
    } else {
      style += FFont->Style() * TFontStyles{fsUnderline, fsStrikeOut};
    }
    f.SetStyle(style);
    FFont->Assign(&f);
  };

  // Exceptions from OnApply cannot pass through Qt's modal loop: kept, the dialog closed,
  // and raised again once Execute is back.
  std::exception_ptr error;
  if (FOptions.Contains(fdApplyButton)) {
    if (auto* box = dlg.findChild<QDialogButtonBox*>()) {
      QPushButton* apply = box->addButton(QDialogButtonBox::Apply);
      QObject::connect(apply, &QPushButton::clicked, [&] {
        if (error) return;
        try {
          take(dlg.currentFont());
          if (OnApply) OnApply(this, nullptr);
        } catch (...) {
          error = std::current_exception();
          dlg.reject();
        }
      });
    }
  }

  DoShow();
  const bool ok = dlg.exec() == QDialog::Accepted;
  DoClose();
  if (error) std::rethrow_exception(error);
  if (ok) take(dlg.selectedFont());
  return ok;
}
