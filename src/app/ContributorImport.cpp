#include "app/ContributorImport.h"

#include <memory>
#include <optional>

#include "app/BulkMerger.h"
#include "app/ImportJournal.h"
#include "app/ImportProgress.h"
#include "app/LineByLineMerger.h"
#include "common/Dialogs.h"
#include "common/ErrorReport.h"
#include "common/funcoes.h"
#include "data/UDM.h"
#include "import/ImportLine.h"
#include "import/LineCount.h"
#include "import/LineReader.h"

namespace {

constexpr int kLinesPerCommit = 1000;

// Thrown out of the loop when progress asks the run to stop.
struct StopRequested {};

void RollBackRun(Tdm& module) {
  try {
    module.Conexao.rollback();
    // The cache would otherwise hold rows the table no longer has.
    if (module.cdsCAM.active()) module.ReloadCAM();
  } catch (const std::exception& e) {
    // Closed, the cache is read afresh by the next run instead of being trusted.
    module.cdsCAM.close();
    ReportFailure(QString::fromUtf8(e.what()));
  }
}

}  // namespace

ImportResult ImportContributors(Tdm& module, const ImportRequest& request, ImportProgress& progress,
                                ImportJournal& journal) {
  ImportResult result;
  const auto done = [&](const LineRecord& line) {
    if (line.fate == LineFate::Inserted) ++result.imported;
    if (line.fate == LineFate::Rewritten) ++result.rewritten;
    if (line.fate != LineFate::NotContributor && line.fate != LineFate::Failed)
      progress.merged(result.imported, result.rewritten);
    journal.record(line);
  };
  std::unique_ptr<LineMerger> merger;
  if (request.bulk)
    merger = std::make_unique<BulkMerger>(module, request, done);
  else
    merger = std::make_unique<LineByLineMerger>(module, request, done);
  const auto end = [&](ImportOutcome outcome) {
    result.outcome = outcome;
    journal.ended(result);
    return result;
  };
  try {
    progress.started();

    if (!module.cdsCAM.active() && Empty(request.year)) {
      dialogs::ShowWarning("O Exercicio é Obrigatório!");
      return end(ImportOutcome::NoYear);
    }
    merger->prepare(request.year);

    result.lines = countLines(request.path);
    progress.counted(result.lines);

    int ncommit = 0;
    merger->begin();
    qint64 linesGiven = 0;
    const auto committed = [&] {
      result.linesCommitted = linesGiven;
      result.importedCommitted = result.imported;
      result.rewrittenCommitted = result.rewritten;
      journal.committed();
    };

    LineReader file(request.path);
    while (const std::optional<QByteArray> Linha = file.readLine()) {
      progress.lineRead(*Linha);
      const std::optional<LineValues> line =
          readImportLine(*Linha, request.layout, module.VOQ_Exercicio);
      if (line) ++ncommit;
      merger->merge(++linesGiven, line);
      if (ncommit == kLinesPerCommit && !request.dryRun) {
        ncommit = 0;
        merger->commit();
        committed();
      }
      result.linesRead = linesGiven;
      progress.lineDone(result.linesRead, result.lines);
      if (progress.stopRequested()) {
        // What was read is done before the run stops, so that every line read is recorded.
        merger->flush();
        throw StopRequested();
      }
    }
    merger->flush();
    if (request.dryRun) {
      module.Conexao.rollback();
      // The cache must not keep rows that were never stored.
      module.cdsCAM.close();
    } else {
      module.Conexao.commit();
      committed();
    }
    progress.finished();
    dialogs::ShowInformation("CNPJ dos Candidatos/Partidos Importado!");
    return end(ImportOutcome::Imported);
  } catch (const StopRequested&) {
    progress.failed();
    if (module.Conexao.holdsTransaction()) RollBackRun(module);
    return end(ImportOutcome::Cancelled);
  } catch (const std::exception& e) {
    // A row left half filled must never reach the table with a later apply.
    module.cdsCAM.cancel();
    result.error = QString::fromUtf8(e.what());
    progress.failed();
    dialogs::ShowError("Erro ao importar os CNPJ dos Candidatos/Partidos Importado!\rErro: " +
                       result.error);
    if (module.Conexao.holdsTransaction()) RollBackRun(module);
    return end(ImportOutcome::Failed);
  }
}
