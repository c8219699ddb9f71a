#pragma once

#include <QDateTime>
#include <QString>

// Conversions of a text into a column's type that fail the way the operator is told about them:
// an AppError "'<text>' is not a valid ...".

// A whole decimal number within 32 bits; blanks before it are allowed.
qint32 StrToInt(const QString& text);

// A date in the regional order, optionally followed by a time (see StrToDateTime).
QDateTime StrToDateTimeChecked(const QString& text);
