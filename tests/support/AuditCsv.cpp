#include "AuditCsv.h"

#include <QFile>

#include "TestServer.h"

namespace tavrel::test {

namespace {

// The fields of the CSV rows in text: ';' between fields, quoted fields with quotes doubled,
// rows ended by CR LF (a line break inside quotes belongs to the field).
QList<QStringList> ReadCsv(const QString& text) {
  QList<QStringList> rows;
  QStringList row;
  QString field;
  bool quoted = false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (quoted) {
      if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
        field += u'"';
        ++i;
      } else if (c == u'"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c == u'"') {
      quoted = true;
    } else if (c == u';') {
      row << field;
      field.clear();
    } else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
      row << field;
      rows << row;
      row.clear();
      field.clear();
      ++i;
    } else {
      field += c;
    }
  }
  if (!field.isEmpty() || !row.isEmpty()) rows << (row << field);
  return rows;
}

QList<QStringList> ReadAudit(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) throw TestServerError("cannot read " + path.toStdString());
  QString text = QString::fromUtf8(file.readAll());
  if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
  return ReadCsv(text);
}

}  // namespace

QList<QStringList> AuditRows(const QString& path) {
  const QList<QStringList> all = ReadAudit(path);
  QList<QStringList> table;
  qsizetype i = 0;
  while (i < all.size() && all[i].value(0) != "Linha") ++i;
  for (++i; i < all.size() && all[i].size() > 1; ++i) table << all[i];
  return table;
}

QString AuditFooter(const QString& path, const QString& name) {
  const QList<QStringList> all = ReadAudit(path);
  // The last row of that name: the head and the end both have a "Término".
  for (auto row = all.rbegin(); row != all.rend(); ++row)
    if (row->value(0) == name) return row->value(1);
  return "(absent)";
}

}  // namespace tavrel::test
