#pragma once

#include <QDateTime>
#include <QString>

// Whether a line rewrites the row already stored for its CNPJ: when the stored date is unknown
// or the line's is later, so importing the same file again changes nothing. A DataCNPJ that is
// not a date answers yes; storing it is what fails.
bool RewritesStoredRow(const QDateTime& stored, const QString& DataCNPJ);
