// The import run and the choice of its file.
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScopeGuard>
#include <optional>

#include "common/AppError.h"
#include "common/Clock.h"
#include "common/Dialogs.h"
#include "common/IniFile.h"
#include "common/InstallDir.h"
#include "common/RegionalForms.h"
#include "common/Win1252.h"
#include "common/funcoes.h"
#include "data/UDM.h"
#include "import/ImportLayout.h"
#include "import/ImportLine.h"
#include "import/LineCount.h"
#include "import/LineReader.h"
#include "import/UpdateDecision.h"
#include "ui/HotTrackButton.h"
#include "ui/PaintPacer.h"
#include "ui/UTavrel.h"

namespace {

constexpr int kLinesPerCommit = 1000;

// Repaints a label at once, before the long work that follows would let it paint.
void Show(QLabel* label, const QString& text) {
  label->setText(text);
  label->repaint();
}

// The folder of a file, without a final separator but for a root ("C:\\", "/"), which keeps it.
QString FolderOf(const QString& path) {
  const qsizetype slash = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
  if (slash < 0) return QString();
  const QString folder = path.left(slash);
  const bool root = folder.isEmpty() || (folder.size() == 2 && folder.at(1) == u':');
  return root ? path.left(slash + 1) : folder;
}

}  // namespace

void TFTavrel::btnImportarClick() {
  // Pending window events run during a run, and a second press must not start another.
  if (importing_) return;
  const QString path = edtCaminhoCNPJ->text();
  if (!QFileInfo(path).isFile()) {
    dialogs::ShowWarning(
        "Necessário informar o arquivo contendo os CNPJ dos Candidatos ou Partidos.");
    edtCaminhoCNPJ->setFocus();
    return;
  }
  importing_ = true;
  const auto done = qScopeGuard([this] { importing_ = false; });

  try {
    const ImportLayout layout = layoutForFile(path);
    Show(labImpINI, "Inicio da Importação dos CNPJ: " + DateTimeToStr(Now()));
    QCoreApplication::processEvents();

    if (!dm->cdsCAM.active()) {
      if (Empty(edtExercicio->text())) {
        dialogs::ShowWarning("O Exercicio é Obrigatório!");
        edtExercicio->setFocus();
        return;
      }
      dm->OpenCAM(edtExercicio->text());
    }

    const qint64 totLin = countLines(path);
    // A bar without range would show an endless busy animation instead of an empty bar.
    const int progressMax = static_cast<int>(std::clamp<qint64>(totLin, 1, INT_MAX));
    pb->setMaximum(progressMax);
    pb->setValue(0);
    QCoreApplication::processEvents();

    int ncommit = 0;
    if (!dm->Conexao.inTransaction()) dm->Conexao.startTransaction();

    LineReader file(path);
    qint64 qtdLin = 0;
    int qtdImp = 0;
    int qtdAlt = 0;
    // Every line sets the texts and the bar; the panel shows them at the screen's pace.
    std::optional<PaintPacer> progressPanel(std::in_place, Panel4);
    while (const std::optional<QByteArray> Linha = file.readLine()) {
      // No more than the label can show: laying out a huge line would freeze the window.
      LabCNPJ->setText(win1252::decode(Linha->left(1000)));
      if (const std::optional<LineValues> line =
              readImportLine(*Linha, layout, dm->VOQ_Exercicio)) {
        ++ncommit;
        switch (MergeLine(*line)) {
          case MergeResult::Inserted:
            ++qtdImp;
            break;
          case MergeResult::Rewritten:
            ++qtdAlt;
            break;
          case MergeResult::Unchanged:
            break;
        }
        labImportou->setText(
            QStringLiteral("(%1 Importados e %2 Alterados)").arg(qtdImp).arg(qtdAlt));
      }
      if (ncommit == kLinesPerCommit) {
        ncommit = 0;
        dm->Conexao.commit();
        if (!dm->Conexao.inTransaction()) dm->Conexao.startTransaction();
      }
      ++qtdLin;
      pb->setValue(static_cast<int>(std::min<qint64>(qtdLin, progressMax)));
      LabCount->setText(QString::number(qtdLin) + " de " + QString::number(totLin));
      progressPanel->changed();
      QCoreApplication::processEvents();
    }
    dm->Conexao.commit();
    pb->setValue(pb->maximum());
    progressPanel.reset();
    labImpFIM->setText("Final da Importação dos CNPJ: " + DateTimeToStr(Now()));
    dialogs::ShowInformation("CNPJ dos Candidatos/Partidos Importado!");
  } catch (const std::exception& e) {
    // A row left half filled must never reach the table with a later apply.
    dm->cdsCAM.cancel();
    dialogs::ShowError("Erro ao importar os CNPJ dos Candidatos/Partidos Importado!\rErro: " +
                       QString::fromUtf8(e.what()));
    if (dm->Conexao.holdsTransaction()) RollBackRun();
  }
  btnPesquisar->click();
}

void TFTavrel::RollBackRun() {
  try {
    dm->Conexao.rollback();
    // The cache would otherwise hold rows the table no longer has.
    dm->ReloadCAM();
  } catch (const std::exception& e) {
    // Closed, the cache is read afresh by the next run instead of being trusted.
    dm->cdsCAM.close();
    ReportFailure(QString::fromUtf8(e.what()));
  }
}

TFTavrel::MergeResult TFTavrel::MergeLine(const LineValues& line) {
  ClientDataSet& cds = dm->cdsCAM;
  // Everything a line does happens in the run's transaction, or not at all: once that is gone
  // (a lost server), the run ends instead of working on outside it.
  fb::Transaction& run = dm->Conexao.explicitTransaction();
  // The first stored row with the line's CNPJ, prepared once for the run.
  fb::Statement& qrCAM = dm->Conexao.prepared(
      "SELECT FIRST 1 COD_CAM, CNPJ_CAM, DATACNPJ_CAM FROM GR_CONTRIB_CAMPANHA "
      "WHERE CNPJ_CAM = ?");
  // Looked up as it would be stored (cut at a NUL and to the column's width), so a line
  // imported again finds the row it stored the first time.
  qrCAM.setBytes(0, std::get<QByteArray>(FitToField(cds.fields()[cds.fieldIndex("CNPJ_CAM")],
                                                    win1252::encode(line.CNPJ))));
  std::optional<qint32> code;
  QDateTime stored;
  if (qrCAM.executeSingleton(run)) {
    code = static_cast<qint32>(qrCAM.integer(qrCAM.columnIndex("COD_CAM")));
    stored = qrCAM.timestamp(qrCAM.columnIndex("DATACNPJ_CAM"));
  }
  const bool found = code.has_value();

  const auto setLineValues = [&] {
    cds.setText("TIPO_CAM", line.Tipo);
    cds.setText("CNPJ_CAM", line.CNPJ);
    cds.setText("NOME_CAM", line.Nome);
    cds.setText("ANO_CAM", line.Ano);
  };
  if (!found) {
    const qint32 codigo = dm->NextCode();
    cds.beginInsert();
    cds.setInteger("COD_CAM", codigo);
    setLineValues();
    cds.setNull("COD_TOM_CAM");
    cds.setText("NATJUR_CAM", line.NatJur);
    cds.setText("CNAE_CAM", line.Cnae);
    cds.setText("DATACNPJ_CAM", line.DataCNPJ);
    return PostAndApply() ? MergeResult::Inserted : MergeResult::Unchanged;
  }

  if (!RewritesStoredRow(stored, line.DataCNPJ) || !cds.locate("COD_CAM", *code)) {
    return MergeResult::Unchanged;
  }
  cds.beginEdit();
  setLineValues();
  cds.setText("NATJUR_CAM", line.NatJur);
  cds.setText("CNAE_CAM", line.Cnae);
  cds.setText("DATACNPJ_CAM", line.DataCNPJ);
  return PostAndApply() ? MergeResult::Rewritten : MergeResult::Unchanged;
}

bool TFTavrel::PostAndApply() {
  ClientDataSet& cds = dm->cdsCAM;
  cds.post();
  const RowId posted = cds.currentRowId();
  dm->ApplyCAM();
  // A row the database refused is reported by its message, never counted as imported.
  return !cds.isPending(posted);
}

void TFTavrel::btnProcuraCNPJClick() {
  const QString PathINI = InstallDir() + "tavrel.ini";
  const QString section = QStringLiteral("IMPORTACNPJ");
  QString initialDir;
  int filterIndex = 1;
  {
    IniFile ArqIni(PathINI);
    initialDir = ArqIni.readString(section, "PATH_ARQ_CNPJ", "C:\\");
    filterIndex = ArqIni.readInteger(section, "EXTENSAO_ARQ", 1);
  }
  const dialogs::FileChoice choice =
      dialogs::current().openFile(initialDir, {"TXT", "*.txt", "CSV", "*.csv"}, filterIndex);
  if (!choice.confirmed) return;
  edtCaminhoCNPJ->setText(choice.path);
  IniFile ArqIni(PathINI);
  ArqIni.writeString(section, "PATH_ARQ_CNPJ", FolderOf(edtCaminhoCNPJ->text()));
  ArqIni.writeInteger(section, "EXTENSAO_ARQ", choice.filterIndex);
}
