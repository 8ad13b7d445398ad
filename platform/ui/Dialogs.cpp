#include "platform/ui/Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <exception>

#include "platform/rtl/SysUtils.h"
#include "platform/win/QtBridge_p.h"

namespace {

std::vector<String> Split(const String& s, Char sep) {
  std::vector<String> out;
  size_t start = 0;
  for (;;) {
    size_t p = s.find(sep, start);
    out.push_back(s.substr(start, p == String::npos ? String::npos : p - start));
    if (p == String::npos) break;
    start = p + 1;
  }
  return out;
}

// Runs a handler from inside Qt's modal loop; an exception is kept and the dialog closed,
// so it can be raised again once the loop has returned.
template <typename F>
void Guarded(QDialog& dialog, std::exception_ptr& error, F&& f) {
  if (error) return;
  try {
    f();
  } catch (...) {
    error = std::current_exception();
    dialog.reject();
  }
}

}  // namespace

std::vector<TFileFilter> ParseFileFilter(const String& Filter) {
  std::vector<TFileFilter> out;
  if (Filter.empty()) return out;
  std::vector<String> parts = Split(Filter, u'|');
  for (size_t i = 0; i < parts.size(); i += 2) {
    TFileFilter f;
    f.Description = parts[i];
    if (i + 1 < parts.size())
      for (const String& p : Split(parts[i + 1], u';')) {
        String t = Trim(p);
        if (!t.empty()) f.Patterns.push_back(t);
      }
    if (f.Patterns.empty()) f.Patterns.push_back(u"*");
    if (f.Description.empty() && i + 1 >= parts.size()) break;  // a trailing '|'
    out.push_back(std::move(f));
  }
  return out;
}

std::vector<String> FileFilterToNameFilters(const String& Filter) {
  std::vector<String> out;
  for (const TFileFilter& f : ParseFileFilter(Filter)) {
    String s = f.Description + u" (";
    for (size_t i = 0; i < f.Patterns.size(); ++i) {
      if (i) s += u' ';
      s += f.Patterns[i] == u"*.*" ? String(u"*") : f.Patterns[i];
    }
    s += u')';
    out.push_back(s);
  }
  return out;
}

// ---------------------------------------------------------------------------

TOpenDialog::TOpenDialog(TComponent* AOwner) : TCommonDialog(AOwner), FFiles(std::make_unique<TStringList>()) {}

TOpenDialog::~TOpenDialog() = default;

bool TOpenDialog::Execute() {
  QFileDialog dlg(QApplication::activeWindow());
  const bool save = IsSaveDialog();
  dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  if (save)
    dlg.setFileMode(QFileDialog::AnyFile);
  else if (FOptions.Contains(ofAllowMultiSelect))
    dlg.setFileMode(QFileDialog::ExistingFiles);
  else
    dlg.setFileMode(FOptions.Contains(ofFileMustExist) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dlg.setOption(QFileDialog::DontConfirmOverwrite, !FOptions.Contains(ofOverwritePrompt));
  // The descriptions already name their patterns, as the user wrote them.
  dlg.setOption(QFileDialog::HideNameFilterDetails, true);
  if (FOptions.Contains(ofForceShowHidden)) dlg.setFilter(dlg.filter() | QDir::Hidden);
  if (!FTitle.empty()) dlg.setWindowTitle(ToQString(FTitle));

  QStringList filters, descriptions;
  for (const String& f : FileFilterToNameFilters(FFilter)) filters << ToQString(f);
  for (const TFileFilter& f : ParseFileFilter(FFilter)) descriptions << ToQString(f.Description).trimmed();
  // The dialog reports a filter by its full text or, with details hidden, by its description.
  auto filterNumber = [&](const QString& f) {
    qsizetype i = filters.indexOf(f);
    if (i < 0) i = descriptions.indexOf(f.trimmed());
    return int(i) + 1;
  };
  if (!filters.isEmpty()) {
    dlg.setNameFilters(filters);
    int index = FFilterIndex < 1 ? 1 : (FFilterIndex > filters.size() ? int(filters.size()) : FFilterIndex);
    dlg.selectNameFilter(filters[index - 1]);
  }
  if (!FDefaultExt.empty()) dlg.setDefaultSuffix(ToQString(FDefaultExt));

  // Start folder: InitialDir, else the folder of a proposed full name, else the working folder.
  const QString name = ToQString(FFileName);
  QFileInfo proposed(name);
  QString dir = ToQString(FInitialDir);
  if (dir.isEmpty() && !name.isEmpty() && name.contains(QLatin1Char('/'))) dir = proposed.absolutePath();
  if (dir.isEmpty()) dir = QDir::currentPath();
  dlg.setDirectory(dir);
  if (!name.isEmpty()) dlg.selectFile(name.contains(QLatin1Char('/')) ? proposed.fileName() : name);

  std::exception_ptr error;
  QObject::connect(&dlg, &QFileDialog::filterSelected, [&](const QString& f) {
    Guarded(dlg, error, [&] {
      if (int n = filterNumber(f)) FFilterIndex = n;
      if (OnTypeChange) OnTypeChange(this);
    });
  });

  DoShow();
  const bool ok = dlg.exec() == QDialog::Accepted && !dlg.selectedFiles().isEmpty();
  DoClose();
  if (error) std::rethrow_exception(error);
  if (ok) {
    const QStringList chosen = dlg.selectedFiles();
    FFiles->Clear();
    for (const QString& f : chosen) FFiles->Add(FromQString(QDir::cleanPath(f)));
    FFileName = FFiles->Get(0);
    if (!filters.isEmpty()) {
      if (int n = filterNumber(dlg.selectedNameFilter())) FFilterIndex = n;
    }
  }
  return ok;
}

static const char16_t* const kPictureFilter =
    u"All (*.bmp;*.jpg;*.jpeg;*.ico;*.emf;*.wmf)|*.bmp;*.jpg;*.jpeg;*.ico;*.emf;*.wmf|"
    u"Bitmaps (*.bmp)|*.bmp|JPEG Image File (*.jpg;*.jpeg)|*.jpg;*.jpeg|Icons (*.ico)|*.ico|"
    u"Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf";

TOpenPictureDialog::TOpenPictureDialog(TComponent* AOwner) : TOpenDialog(AOwner) { SetFilter(kPictureFilter); }

TSavePictureDialog::TSavePictureDialog(TComponent* AOwner) : TSaveDialog(AOwner) { SetFilter(kPictureFilter); }
