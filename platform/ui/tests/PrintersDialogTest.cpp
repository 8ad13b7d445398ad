// The print dialog choosing the application's printer: a PDF file and the number of copies.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPrintDialog>
#include <QSpinBox>
#include <QTemporaryDir>

#include "testing/ModalDriver.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Printers.h"

namespace {

// Chooses the dialog's print-to-file entry, the file and the copies, then confirms or cancels.
void FillIn(QWidget* w, const QString& file, int copies, bool confirm) {
  auto* pd = qobject_cast<QPrintDialog*>(w);
  ASSERT_NE(pd, nullptr);
  auto* printers = pd->findChild<QComboBox*>(QStringLiteral("printers"));
  auto* name = pd->findChild<QLineEdit*>(QStringLiteral("filename"));
  auto* count = pd->findChild<QSpinBox*>(QStringLiteral("copies"));
  ASSERT_TRUE(printers && name && count);
  int pdf = printers->findText(QStringLiteral("PDF"), Qt::MatchContains);
  ASSERT_GE(pdf, 0);
  printers->setCurrentIndex(pdf);
  name->setText(file);
  count->setValue(copies);
  if (confirm)
    pd->accept();
  else
    pd->reject();
}

}  // namespace

TEST(PrintDialog, ChoosesAPdfFileAndCopiesForThePrinter) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("graph.pdf"));
  TPrintDialog dlg(nullptr);
  int shown = 0;
  dlg.OnShow = [&](TObject*) { ++shown; };

  auto ran = WhenModal([&](QWidget* w) { FillIn(w, file, 3, true); });
  ASSERT_TRUE(dlg.Execute());
  EXPECT_TRUE(*ran);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(dlg.Copies(), 3);
  EXPECT_TRUE(dlg.PrintToFile());
  TPrinter* p = Printer();
  EXPECT_EQ(p->Printers()->Get(p->PrinterIndex()), TPrinter::PdfPrinterName);
  EXPECT_EQ(StringToUTF8(p->FileName()), file.toStdString());
  EXPECT_EQ(p->Copies(), 3);

  // The next job goes where the dialog said.
  p->BeginDoc();
  p->Canvas()->Rectangle(10, 10, 100, 100);
  p->EndDoc();
  EXPECT_TRUE(QFile::exists(file));

  // Cancelling changes nothing.
  auto cancelled = WhenModal([&](QWidget* w) { FillIn(w, dir.filePath(QStringLiteral("other.pdf")), 5, false); });
  EXPECT_FALSE(dlg.Execute());
  EXPECT_TRUE(*cancelled);
  EXPECT_EQ(dlg.Copies(), 3);
  EXPECT_EQ(StringToUTF8(p->FileName()), file.toStdString());
  EXPECT_EQ(p->Copies(), 3);
}
