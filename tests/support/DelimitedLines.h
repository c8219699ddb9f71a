#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tavrel::test {

// A candidate line of the delimited layout: type, CNPJ, the name field with the year, legal
// nature 4090, CNAE 8411600, date.
QString CandidateCsvLine(const QString& cnpj, const QString& name, const QString& date,
                         const QString& year = "2019");

// A party line of the delimited layout: type, CNPJ, name, a field nothing reads, legal nature
// 3220, CNAE 9492800, date.
QString PartyCsvLine(const QString& cnpj, const QString& name, const QString& date);

QByteArray Windows1252(const QString& text);

// The lines of a delimited file as it is written on Windows: each ended by CR LF, in
// Windows-1252.
QByteArray CsvFile(const QStringList& lines);

}  // namespace tavrel::test
