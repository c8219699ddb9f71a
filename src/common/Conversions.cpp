#include "common/Conversions.h"

#include "common/AppError.h"
#include "common/RegionalForms.h"

qint32 StrToInt(const QString& text) {
  qsizetype start = 0;
  while (start < text.size() && text.at(start) == u' ') ++start;
  bool ok = false;
  const qint32 value = QStringView(text).mid(start).toInt(&ok, 10);
  if (!ok) throw AppError(QStringLiteral("'%1' is not a valid integer value").arg(text));
  return value;
}

QDateTime StrToDateTimeChecked(const QString& text) {
  bool ok = false;
  const QDateTime value = StrToDateTime(text, &ok);
  if (!ok) throw AppError(QStringLiteral("'%1' is not a valid date and time").arg(text));
  return value;
}
