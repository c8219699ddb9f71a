#include "common/funcoes.h"

namespace {
const QChar kBlank = u' ';
}

QString RTrim(QString InString) {
  const qsizetype Tamanho = InString.size();
  qsizetype Contador = 1;
  while (Contador < Tamanho && InString.back() == kBlank) {
    InString.chop(1);
    ++Contador;
  }
  return InString;
}

bool Empty(QString InString) {
  // The original scan used an 8-bit position counter that wraps after 255, so only the
  // first 255 characters can ever make a text non-blank.
  const qsizetype scanned = std::min<qsizetype>(InString.size(), 255);
  for (qsizetype i = 0; i < scanned; ++i) {
    if (InString.at(i) != kBlank) return false;
  }
  return true;
}

QString InverteData(QString data) {
  return data.mid(3, 3) + data.mid(0, 3) + data.mid(6, 4);
}

bool IsDigit(QString Campo) {
  return !Campo.isEmpty() && QStringLiteral("0123456789").contains(Campo);
}

QString OnlyDigit(QString InString) {
  QString result;
  result.reserve(InString.size());
  for (const QChar c : InString) {
    if (IsDigit(QString(c))) result.append(c);
  }
  return result;
}

QString asciiUpper(QString text) {
  for (QChar& c : text) {
    if (c >= u'a' && c <= u'z') c = QChar(c.unicode() - u'a' + u'A');
  }
  return text;
}

QString QuotedStr(const QString& text) {
  QString doubled = text;
  doubled.replace(u'\'', QStringLiteral("''"));
  return u'\'' + doubled + u'\'';
}
