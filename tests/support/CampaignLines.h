#pragma once

#include <QByteArray>
#include <QString>

namespace tavrel::test {

// A detail line of the fixed-column layout, UTF-8 encoded, 200 characters long: the record kind
// "2", the type code ("01" a party), the CNPJ, the 150-character name column, legal nature,
// CNAE, ten characters nothing reads, and the date as DDMMYYYYHHMM. Each part is padded with
// blanks or cut to its width, counted in characters.
QByteArray FixedColumnLine(const QString& typeCode, const QString& cnpj, const QString& nameColumn,
                           const QString& natjur, const QString& cnae, const QString& date);

// A candidate's name field as both layouts carry it: eight characters nothing reads, the
// election year, a blank, the name.
QString CandidateNameField(const QString& year, const QString& name);

// Writes bytes as the whole content of the file at path; throws when it cannot.
void WriteFile(const QString& path, const QByteArray& bytes);

}  // namespace tavrel::test
