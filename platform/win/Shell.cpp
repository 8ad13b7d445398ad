#include "platform/win/Shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QUrl>

#include "platform/win/QtBridge_p.h"

namespace {

QString FromNullable(const Char* s) {
  return s ? ToQString(String(s)) : QString();
}

// "scheme:..." with a scheme of two or more characters (one letter would be a drive).
bool LooksLikeUrl(const QString& s) {
  static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
  return scheme.match(s).hasMatch();
}

}  // namespace

HINSTANCE ShellExecute(HWND, const Char* Operation, const Char* File, const Char*, const Char* Directory, int) {
  const QString verb = FromNullable(Operation).toLower();
  if (!verb.isEmpty() && verb != QLatin1String("open") && verb != QLatin1String("explore"))
    return SE_ERR_NOASSOC;
  const QString file = FromNullable(File).trimmed();
  if (file.isEmpty()) return SE_ERR_FNF;

  QUrl url;
  if (LooksLikeUrl(file)) {
    url = QUrl(file, QUrl::TolerantMode);
    if (!url.isValid()) return SE_ERR_FNF;
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) return SE_ERR_FNF;
  } else {
    QString path = file;
    const QString dir = FromNullable(Directory);
    if (QDir::isRelativePath(path) && !dir.isEmpty()) path = QDir(dir).filePath(path);
    QFileInfo info(path);
    if (!info.exists()) return info.dir().exists() ? SE_ERR_FNF : SE_ERR_PNF;
    url = QUrl::fromLocalFile(info.absoluteFilePath());
  }
  if (QDesktopServices::openUrl(url)) return SE_ERR_OK;
  // Platforms without desktop services (offscreen, bare window managers): the freedesktop opener.
  const QString target = url.isLocalFile() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded);
  return QProcess::startDetached(QStringLiteral("xdg-open"), {target}) ? SE_ERR_OK : SE_ERR_NOASSOC;
}
