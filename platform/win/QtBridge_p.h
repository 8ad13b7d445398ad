#pragma once
// Private to platform/: conversions between the runtime library's types and Qt's.

#include <QString>

#include "platform/rtl/System.h"

inline QString ToQString(const String& s) {
  return QString(reinterpret_cast<const QChar*>(s.data()), static_cast<qsizetype>(s.size()));
}

inline String FromQString(const QString& s) {
  return String(reinterpret_cast<const Char*>(s.utf16()), static_cast<size_t>(s.size()));
}
