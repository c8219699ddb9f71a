#include "data/SqlQuery.h"

#include "common/AppError.h"

QString SqlQuery::positionalSql(QStringList* values) const {
  QString sql;
  QChar quote;  // the quote character of the literal or identifier being copied, if any
  for (qsizetype i = 0; i < SQL.size(); ++i) {
    const QChar c = SQL.at(i);
    if (!quote.isNull()) {
      if (c == quote) quote = QChar();
    } else if (c == u'\'' || c == u'"') {
      quote = c;
    } else if (c == u':' && i + 1 < SQL.size() &&
               (SQL.at(i + 1).isLetter() || SQL.at(i + 1) == u'_')) {
      qsizetype end = i + 1;
      while (end < SQL.size() && (SQL.at(end).isLetterOrNumber() || SQL.at(end) == u'_')) ++end;
      const QString name = SQL.mid(i + 1, end - i - 1);
      const auto found = Params.constFind(name);
      if (found == Params.constEnd())
        throw AppError(QStringLiteral("Parameter '%1' not found").arg(name));
      values->append(*found);
      sql += u'?';
      i = end - 1;
      continue;
    }
    sql += c;
  }
  return sql;
}
