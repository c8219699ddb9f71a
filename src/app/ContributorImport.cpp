#include "app/ContributorImport.h"

#include <optional>

#include "app/ImportProgress.h"
#include "common/Dialogs.h"
#include "common/ErrorReport.h"
#include "common/Win1252.h"
#include "common/funcoes.h"
#include "data/ContributorFields.h"
#include "data/UDM.h"
#include "import/ImportLayout.h"
#include "import/ImportLine.h"
#include "import/LineCount.h"
#include "import/LineReader.h"
#include "import/UpdateDecision.h"

namespace {

constexpr int kLinesPerCommit = 1000;

enum class MergeResult { Inserted, Rewritten, Unchanged };

// Posts the started row and applies it at once; false when the database refused it, which is
// reported by its message and never counted.
bool PostAndApply(Tdm& module) {
  ClientDataSet& cds = module.cdsCAM;
  cds.post();
  const RowId posted = cds.currentRowId();
  module.ApplyCAM();
  return !cds.isPending(posted);
}

MergeResult MergeLine(Tdm& module, const LineValues& line) {
  using namespace contributor;
  ClientDataSet& cds = module.cdsCAM;
  // Everything a line does happens in the run's transaction, or not at all: once that is gone
  // (a lost server), the run ends instead of working on outside it.
  fb::Transaction& run = module.Conexao.explicitTransaction();
  // The first stored row with the line's CNPJ (its code and its date, columns 0 and 2),
  // prepared once for the run.
  fb::Statement& qrCAM = module.Conexao.prepared(
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
  if (!code) {
    const qint32 codigo = module.NextCode();
    cds.beginInsert();
    cds.setInteger(COD_CAM, codigo);
    setLineValues();
    cds.setNull(COD_TOM_CAM);
    cds.setText(NATJUR_CAM, line.NatJur);
    cds.setText(CNAE_CAM, line.Cnae);
    cds.setText(DATACNPJ_CAM, line.DataCNPJ);
    return PostAndApply(module) ? MergeResult::Inserted : MergeResult::Unchanged;
  }

  if (!RewritesStoredRow(stored, line.DataCNPJ) || !cds.locate("COD_CAM", *code)) {
    return MergeResult::Unchanged;
  }
  cds.beginEdit();
  setLineValues();
  cds.setText(NATJUR_CAM, line.NatJur);
  cds.setText(CNAE_CAM, line.Cnae);
  cds.setText(DATACNPJ_CAM, line.DataCNPJ);
  return PostAndApply(module) ? MergeResult::Rewritten : MergeResult::Unchanged;
}

void RollBackRun(Tdm& module) {
  try {
    module.Conexao.rollback();
    // The cache would otherwise hold rows the table no longer has.
    module.ReloadCAM();
  } catch (const std::exception& e) {
    // Closed, the cache is read afresh by the next run instead of being trusted.
    module.cdsCAM.close();
    ReportFailure(QString::fromUtf8(e.what()));
  }
}

}  // namespace

ImportOutcome ImportContributors(Tdm& module, const QString& path, const QString& year,
                                 ImportProgress& progress) {
  try {
    const ImportLayout layout = layoutForFile(path);
    progress.started();

    if (!module.cdsCAM.active()) {
      if (Empty(year)) {
        dialogs::ShowWarning("O Exercicio é Obrigatório!");
        return ImportOutcome::NoYear;
      }
      module.OpenCAM(year);
    }

    const qint64 totLin = countLines(path);
    progress.counted(totLin);

    int ncommit = 0;
    if (!module.Conexao.inTransaction()) module.Conexao.startTransaction();

    LineReader file(path);
    qint64 qtdLin = 0;
    int qtdImp = 0;
    int qtdAlt = 0;
    while (const std::optional<QByteArray> Linha = file.readLine()) {
      progress.lineRead(*Linha);
      if (const std::optional<LineValues> line =
              readImportLine(*Linha, layout, module.VOQ_Exercicio)) {
        ++ncommit;
        switch (MergeLine(module, *line)) {
          case MergeResult::Inserted:
            ++qtdImp;
            break;
          case MergeResult::Rewritten:
            ++qtdAlt;
            break;
          case MergeResult::Unchanged:
            break;
        }
        progress.merged(qtdImp, qtdAlt);
      }
      if (ncommit == kLinesPerCommit) {
        ncommit = 0;
        module.Conexao.commit();
        if (!module.Conexao.inTransaction()) module.Conexao.startTransaction();
      }
      ++qtdLin;
      progress.lineDone(qtdLin, totLin);
    }
    module.Conexao.commit();
    progress.finished();
    dialogs::ShowInformation("CNPJ dos Candidatos/Partidos Importado!");
    return ImportOutcome::Imported;
  } catch (const std::exception& e) {
    // A row left half filled must never reach the table with a later apply.
    module.cdsCAM.cancel();
    progress.failed();
    dialogs::ShowError("Erro ao importar os CNPJ dos Candidatos/Partidos Importado!\rErro: " +
                       QString::fromUtf8(e.what()));
    if (module.Conexao.holdsTransaction()) RollBackRun(module);
    return ImportOutcome::Failed;
  }
}
