#include "app/LineByLineMerger.h"

#include <QScopeGuard>

#include "common/Win1252.h"
#include "data/ContributorFields.h"
#include "data/UDM.h"
#include "import/UpdateDecision.h"

void LineByLineMerger::prepare(const QString& year) {
  if (!module_.cdsCAM.active()) module_.OpenCAM(year);
}

void LineByLineMerger::begin() {
  if (!module_.Conexao.inTransaction()) module_.Conexao.startTransaction();
}

void LineByLineMerger::merge(qint64 number, const std::optional<LineValues>& line) {
  LineRecord record{.number = number};
  if (line) {
    record.CNPJ = line->CNPJ;
    record.Nome = line->Nome;
    try {
      mergeLine(*line, record);
    } catch (const std::exception& e) {
      record.fate = LineFate::Failed;
      record.explanation = QString::fromUtf8(e.what());
      done_(record);
      throw;
    }
  }
  done_(record);
}

void LineByLineMerger::commit() {
  module_.Conexao.commit();
  if (!module_.Conexao.inTransaction()) module_.Conexao.startTransaction();
}

std::optional<QString> LineByLineMerger::postAndApply() {
  ClientDataSet& cds = module_.cdsCAM;
  cds.post();
  const RowId posted = cds.currentRowId();
  QString explanation;
  auto report = module_.dspCAM.UpdateError;
  module_.dspCAM.UpdateError = [&](DataSetProvider& sender, PendingChange& change, const QString& E,
                                   ChangeKind kind, ResolverResponse& response) {
    const bool own = change.row == posted;
    if (own) explanation = E;
    if (own || request_.reportEveryRetry) report(sender, change, E, kind, response);
  };
  const auto restore = qScopeGuard([&] { module_.dspCAM.UpdateError = std::move(report); });
  module_.ApplyCAM();
  if (!cds.isPending(posted)) return std::nullopt;
  return explanation;
}

void LineByLineMerger::mergeLine(const LineValues& line, LineRecord& record) {
  using namespace contributor;
  ClientDataSet& cds = module_.cdsCAM;
  // Everything a line does happens in the run's transaction, or not at all: once that is gone
  // (a lost server), the run ends instead of working on outside it.
  fb::Transaction& run = module_.Conexao.explicitTransaction();
  // The first stored row with the line's CNPJ (its code and its date, columns 0 and 2),
  // prepared once for the run.
  fb::Statement& qrCAM = module_.Conexao.prepared(
      "SELECT FIRST 1 COD_CAM, CNPJ_CAM, DATACNPJ_CAM FROM GR_CONTRIB_CAMPANHA "
      "WHERE CNPJ_CAM = ?");
  // Looked up as it would be stored (cut at a NUL and to the column's width), so a line
  // imported again finds the row it stored the first time.
  qrCAM.setBytes(
      0, std::get<QByteArray>(FitToField(cds.fields()[CNPJ_CAM], win1252::encode(line.CNPJ))));
  std::optional<qint32> code;
  QDateTime stored;
  if (qrCAM.executeSingleton(run)) {
    code = static_cast<qint32>(qrCAM.integer(0));
    stored = qrCAM.timestamp(2);
  }

  const auto setLineValues = [&] {
    cds.setText(TIPO_CAM, line.Tipo);
    cds.setText(CNPJ_CAM, line.CNPJ);
    cds.setText(NOME_CAM, line.Nome);
    cds.setText(ANO_CAM, line.Ano);
  };
  const auto applied = [&](LineFate fate) {
    const std::optional<QString> refusal = postAndApply();
    record.fate = refusal ? LineFate::Refused : fate;
    record.explanation = refusal.value_or(QString());
  };
  if (!code) {
    record.code = module_.NextCode();
    cds.beginInsert();
    cds.setInteger(COD_CAM, record.code);
    setLineValues();
    cds.setNull(COD_TOM_CAM);
    cds.setText(NATJUR_CAM, line.NatJur);
    cds.setText(CNAE_CAM, line.Cnae);
    cds.setText(DATACNPJ_CAM, line.DataCNPJ);
    applied(LineFate::Inserted);
    return;
  }

  record.code = *code;
  if (!RewritesStoredRow(stored, line.DataCNPJ)) {
    record.fate = LineFate::NotOlder;
    return;
  }
  if (!cds.locate("COD_CAM", *code)) {
    record.fate = LineFate::OtherYear;
    return;
  }
  record.replaced = stored;
  cds.beginEdit();
  setLineValues();
  cds.setText(NATJUR_CAM, line.NatJur);
  cds.setText(CNAE_CAM, line.Cnae);
  cds.setText(DATACNPJ_CAM, line.DataCNPJ);
  applied(LineFate::Rewritten);
}
