#include "app/ContributorSearch.h"

#include <QDate>

#include "common/RegionalForms.h"
#include "common/funcoes.h"
#include "data/UDM.h"
#include "firebird/Query.h"

namespace {

// The condition for a text looked for in a column other than the date; empty for none.
QString ColumnCondition(const QString& column, const QString& t) {
  const struct {
    const char* choice;
    const char* condition;
  } conditions[] = {
      {"CNPJ", " AND CNPJ_CAM LIKE "},
      {"NOME", " AND NOME_CAM LIKE "},
      {"NAT JURID", " AND NATJUR_CAM LIKE "},
      {"CNAE", " AND CNAE_CAM LIKE "},
  };
  for (const auto& c : conditions) {
    if (column == QLatin1String(c.choice)) {
      return QLatin1String(c.condition) + QuotedStr(u'%' + t + u'%');
    }
  }
  return QString();
}

}  // namespace

SearchStatement ComposeSearch(const SearchFilter& filter) {
  if (Empty(filter.year)) return {SearchStatement::Refusal::NoYear, {}};
  QString filtros;
  if (filter.type != QLatin1String("TODOS")) filtros += " AND TIPO_CAM = " + QuotedStr(filter.type);
  const QString& t = filter.text;
  if (!Empty(t)) {
    if (filter.column == QLatin1String("DATA")) {
      bool valid = false;
      const QDate date = StrToDate(t.left(10), &valid);
      if (!valid) return {SearchStatement::Refusal::InvalidDate, {}};
      // The database's text form of a timestamp begins with YYYY-MM-DD.
      filtros += " AND SUBSTRING(DATACNPJ_CAM FROM 1 FOR 10) LIKE " +
                 QuotedStr(u'%' + date.toString(QStringLiteral("yyyy-MM-dd")) + u'%');
    } else {
      filtros += ColumnCondition(filter.column, t);
    }
  }
  return {SearchStatement::Refusal::None,
          "SELECT   * FROM   GR_CONTRIB_CAMPANHA WHERE   ANO_CAM = " + QuotedStr(filter.year) +
              filtros + " " + "ORDER BY 1, 2"};
}

qsizetype ListContributors(Tdm& module, const QString& sql) {
  module.cdsVis.close();
  module.sqlVis.SQL = sql;
  module.OpenVis();
  return module.cdsVis.recordCount();
}

QString LicenseeName(Tdm& module) {
  fb::Query qrx(module.Conexao, "select NOME_EMP from GR_CAD_EMPRESA where COD_EMP = 1");
  qrx.open();
  return qrx.eof() ? QString() : qrx.statement().text(0);
}
