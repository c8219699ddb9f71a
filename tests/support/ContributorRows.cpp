#include "ContributorRows.h"

#include "TestServer.h"

namespace tavrel::test {
namespace {

QString literal(const QString& text) {
  if (text.isEmpty()) return "NULL";
  QString quoted = text;
  quoted.replace("'", "''");
  return "'" + quoted + "'";
}

}  // namespace

void InsertContributors(const QString& database, const std::vector<ContributorRow>& rows) {
  QString sql;
  for (const ContributorRow& r : rows) {
    // One arg() call: a value holding "%n" must not be taken for a later place-holder.
    sql +=
        QString(
            "INSERT INTO GR_CONTRIB_CAMPANHA (COD_CAM, TIPO_CAM, CNPJ_CAM, NOME_CAM, ANO_CAM, "
            "NATJUR_CAM, CNAE_CAM, DATACNPJ_CAM) VALUES (%1, %2, %3, %4, %5, %6, %7, %8);\n")
            .arg(QString::number(r.cod), literal(r.tipo), literal(r.cnpj), literal(r.nome),
                 QString::number(r.ano), literal(r.natjur), literal(r.cnae), literal(r.datacnpj));
  }
  TestServer::isql(database, sql + "COMMIT;\n");
}

void InsertLicensee(const QString& database, const QString& name) {
  TestServer::isql(database,
                   QString("INSERT INTO GR_CAD_EMPRESA (COD_EMP, NOME_EMP) VALUES (1, %1);\n"
                           "COMMIT;\n")
                       .arg(literal(name)));
}

}  // namespace tavrel::test
