#pragma once

#include <QString>

#include <vector>

namespace tavrel::test {

// One row of GR_CONTRIB_CAMPANHA; empty texts go in as nulls. The date is
// a timestamp literal as the database reads it ("2018-08-15 10:00").
struct ContributorRow {
  int cod;
  QString tipo;
  QString cnpj;
  QString nome;
  int ano;
  QString natjur;
  QString cnae;
  QString datacnpj;
};

// Inserts the rows through isql-fb (UTF8 connection, so accented names arrive intact).
void InsertContributors(const QString& database, const std::vector<ContributorRow>& rows);

// Sets the licensee's name, the row COD_EMP = 1 of GR_CAD_EMPRESA.
void InsertLicensee(const QString& database, const QString& name);

}  // namespace tavrel::test
