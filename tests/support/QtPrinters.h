#pragma once

#include <QByteArray>
#include <QString>

#include <ostream>

// Failure messages show Qt texts as text rather than as bytes. Found by argument-dependent
// lookup, so including this header is enough.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QByteArray& bytes, std::ostream* out) {
  *out << '"' << bytes.toStdString() << '"';
}
