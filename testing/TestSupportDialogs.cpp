// Test support: answering the common file and print dialogs and message boxes through their own
// controls, with keys handed to Qt where the window system hands them.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPrintDialog>
#include <QWindow>

#include "platform/win/QtBridge_p.h"
#include "testing/TestSupport.h"

QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_handleKeyEvent(QWindow* window, QEvent::Type type, int key, Qt::KeyboardModifiers mods,
                                    const QString& text, bool autorep, ushort count);
QT_END_NAMESPACE

namespace {

// The modal window, once the window system has made it the active window (as it does for
// a window that has just come up), so that the keys reach it.
template <typename T>
T* ActiveModal(const char16_t* What) {
  auto* w = qobject_cast<T*>(QApplication::activeModalWidget());
  if (w == nullptr || !w->isVisible()) throw EInvalidOperation(String(u"No ") + What + u" is up");
  if (QApplication::activeWindow() != w) w->activateWindow();
  for (int i = 0; i < 100 && QApplication::activeWindow() != w; ++i) QApplication::processEvents();
  return w;
}

// A key stroke to the window holding Widget, after Widget took the focus as a Tab or a click
// into it gives it.
void Stroke(QWidget* Widget, int Key, Qt::KeyboardModifiers Mods = Qt::NoModifier, const QString& Text = QString()) {
  if (!Widget->hasFocus()) Widget->setFocus(Qt::TabFocusReason);
  QWindow* window = Widget->window()->windowHandle();
  if (window == nullptr) throw EInvalidOperation(u"The dialog has no window on the screen");
  qt_handleKeyEvent(window, QEvent::KeyPress, Key, Mods, Text, false, 1);
  qt_handleKeyEvent(window, QEvent::KeyRelease, Key, Mods, Text, false, 1);
}

// Replaces the line's text by typing: select all, then one key per character.
void TypeInto(QLineEdit* Edit, const String& Text) {
  Stroke(Edit, Qt::Key_A, Qt::ControlModifier);
  for (Char ch : Text) {
    int key = ch >= 0x20 && ch < 0x7F ? (ch >= u'a' && ch <= u'z' ? Qt::Key_A + (ch - u'a') : ch) : 0;
    Stroke(Edit, key, Qt::NoModifier, QString(QChar(static_cast<char16_t>(ch))));
  }
}

// Enter in a line whose completion list may be open: Escape closes the list first, as a
// user would, so that Enter reaches the dialog's default button.
void Confirm(QLineEdit* Edit) {
  if (QApplication::activePopupWidget() != nullptr) Stroke(Edit, Qt::Key_Escape, Qt::NoModifier, QString(QChar(0x1B)));
  Stroke(Edit, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
}

QLineEdit* NameField(QFileDialog* D) {
  auto* edit = D->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  if (edit == nullptr) throw EInvalidOperation(u"The file dialog has no name field");
  return edit;
}

}  // namespace

TFileDialogView ActiveFileDialog() {
  auto* d = ActiveModal<QFileDialog>(u"file dialog");
  return {FromQString(d->windowTitle()), FromQString(d->directory().absolutePath()),
          FromQString(d->selectedNameFilter()), FromQString(NameField(d)->text())};
}

void AnswerFileDialog(const String& Name) {
  auto* d = ActiveModal<QFileDialog>(u"file dialog");
  QLineEdit* edit = NameField(d);
  TypeInto(edit, Name);
  Confirm(edit);
}

void PressModalButton(const String& Caption) {
  QWidget* w = ActiveModal<QWidget>(u"modal window");
  for (QAbstractButton* b : w->findChildren<QAbstractButton*>()) {
    if (!b->isVisible() || FromQString(b->text().remove(QLatin1Char('&'))) != Caption) continue;
    Stroke(b, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    return;
  }
  throw EInvalidOperation(u"The modal window has no button " + Caption);
}

void AnswerPrintDialogToPdf(const String& FileName) {
  auto* d = ActiveModal<QPrintDialog>(u"print dialog");
  auto* printers = d->findChild<QComboBox*>(QStringLiteral("printers"));
  auto* name = d->findChild<QLineEdit*>(QStringLiteral("filename"));
  if (printers == nullptr || name == nullptr) throw EInvalidOperation(u"The print dialog has no printer list");
  int pdf = printers->findText(QStringLiteral("PDF"), Qt::MatchContains);
  if (pdf < 0) throw EInvalidOperation(u"The print dialog offers no PDF file");
  // Arrow keys walk the printer list to the file entry.
  for (int guard = 0; printers->currentIndex() != pdf && guard < 100; ++guard)
    Stroke(printers, printers->currentIndex() < pdf ? Qt::Key_Down : Qt::Key_Up);
  TypeInto(name, FileName);
  Confirm(name);
}
