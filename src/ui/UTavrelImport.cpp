// The import run as the window starts and follows it, and the choice of its file.
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScopeGuard>
#include <optional>

#include "app/AuditFile.h"
#include "app/ContributorImport.h"
#include "app/ImportProgress.h"
#include "common/Clock.h"
#include "common/Dialogs.h"
#include "common/IniFile.h"
#include "common/InstallDir.h"
#include "common/RegionalForms.h"
#include "common/Win1252.h"
#include "ui/HotTrackButton.h"
#include "ui/PaintPacer.h"
#include "ui/UTavrel.h"

namespace {

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

// A run as the window shows it: its times, its line, its counts and the bar, with the window's
// events let run after every line.
class RunPanel : public ImportProgress {
 public:
  explicit RunPanel(TFTavrel& window) : window_(window) {}

  void started() override {
    Show(window_.labImpINI, "Inicio da Importação dos CNPJ: " + DateTimeToStr(Now()));
    QCoreApplication::processEvents();
  }
  void counted(qint64 lines) override {
    // A bar without range would show an endless busy animation instead of an empty bar.
    progressMax_ = static_cast<int>(std::clamp<qint64>(lines, 1, INT_MAX));
    ofTotal_ = " de " + QString::number(lines);
    window_.pb->setMaximum(progressMax_);
    window_.pb->setValue(0);
    QCoreApplication::processEvents();
    // Every line sets the texts and the bar; the panel shows them at the screen's pace.
    pacer_.emplace(window_.Panel4);
  }
  void lineRead(const QByteArray& line) override {
    // No more than the label can show: laying out a huge line would freeze the window.
    window_.LabCNPJ->setText(win1252::decode(line.left(1000)));
  }
  void merged(int imported, int rewritten) override {
    window_.labImportou->setText(u'(' + QString::number(imported) + " Importados e " +
                                 QString::number(rewritten) + " Alterados)");
  }
  void lineDone(qint64 read, qint64) override {
    window_.pb->setValue(static_cast<int>(std::min<qint64>(read, progressMax_)));
    window_.LabCount->setText(QString::number(read) + ofTotal_);
    pacer_->changed();
    QCoreApplication::processEvents();
  }
  void finished() override {
    window_.pb->setValue(window_.pb->maximum());
    pacer_.reset();
    window_.labImpFIM->setText("Final da Importação dos CNPJ: " + DateTimeToStr(Now()));
  }
  void failed() override { pacer_.reset(); }

 private:
  TFTavrel& window_;
  int progressMax_ = 1;
  QString ofTotal_;  // " de " and the run's count of lines
  std::optional<PaintPacer> pacer_;
};

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
  const ImportRequest request{
      .path = path, .year = edtExercicio->text(), .layout = layoutForFile(path)};
  // The clerk is told once that the run goes unrecorded, and is not held up by it.
  const auto unrecorded = [](const QString& reason) {
    dialogs::ShowWarning("Não foi possível gravar o arquivo de auditoria desta importação (" +
                         reason + "). A importação continua sem ele.");
  };
  QString error;
  std::unique_ptr<ImportJournal> journal = AuditFile::createIn(
      InstallDir() + "logs", AuditHeadFor(*module_, request, "janela"), unrecorded, &error);
  if (!journal) {
    unrecorded(error);
    journal = std::make_unique<NoJournal>();
  }
  RunPanel panel(*this);
  if (ImportContributors(*module_, request, panel, *journal).outcome == ImportOutcome::NoYear) {
    edtExercicio->setFocus();
    return;
  }
  btnPesquisar->click();
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
