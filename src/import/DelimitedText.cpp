#include "import/DelimitedText.h"

namespace {

const QChar kDelimiter = u';';
const QChar kQuote = u'"';

// Reads the quoted part of a field starting at its opening quote; leaves `at` after the
// closing quote, or at the end of the text when there is none.
QString readQuoted(const QString& text, qsizetype& at) {
  QString value;
  ++at;
  while (at < text.size()) {
    const QChar c = text.at(at++);
    if (c != kQuote) {
      value.append(c);
    } else if (at < text.size() && text.at(at) == kQuote) {
      value.append(kQuote);
      ++at;
    } else {
      break;
    }
  }
  return value;
}

}  // namespace

QStringList splitDelimitedText(const QString& text) {
  QStringList fields;
  if (text.isEmpty()) return fields;
  qsizetype at = 0;
  while (true) {
    QString field;
    if (at < text.size() && text.at(at) == kQuote) field = readQuoted(text, at);
    const qsizetype delimiter = text.indexOf(kDelimiter, at);
    const qsizetype end = delimiter < 0 ? text.size() : delimiter;
    field.append(QStringView(text).mid(at, end - at));
    fields.append(field);
    if (delimiter < 0) return fields;
    at = delimiter + 1;
  }
}
