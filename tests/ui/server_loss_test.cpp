// The database server dies in the middle of an import: the run ends on its error path with the
// rows of its earlier commits kept, and once the server is back the same window searches and
// imports again, storing the rest once.
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "CampaignLines.h"
#include "Installation.h"
#include "LabelWatch.h"
#include "NumberedCandidates.h"
#include "OwnServer.h"
#include "QtPrinters.h"
#include "RunningProgram.h"
#include "data/UDM.h"
#include "firebird/Query.h"
#include "ui/HotTrackButton.h"
#include "ui/UTavrel.h"

using namespace tavrel::test;

namespace {

const QString kFailed =
    QStringLiteral("Erro ao importar os CNPJ dos Candidatos/Partidos Importado!\rErro: ");
const RecordingDialogs::Box kImported{dialogs::BoxKind::Information, "Information",
                                      "CNPJ dos Candidatos/Partidos Importado!"};

// What another attachment finds committed: rows, distinct CNPJs, lowest and highest code.
QStringList Committed(const OwnServer& server, const QString& database) {
  fb::Connection other;
  other.params.database = QString("localhost/%1:%2").arg(server.port).arg(database);
  other.params.user = "SYSDBA";
  other.params.password = TestServer::password("SYSDBA");
  fb::Query totals(other,
                   "SELECT COUNT(*), COUNT(DISTINCT CNPJ_CAM), MIN(COD_CAM), MAX(COD_CAM) "
                   "FROM GR_CONTRIB_CAMPANHA");
  totals.open();
  QStringList values;
  for (int column = 0; column < 4; ++column)
    values << QString::number(totals.statement().integer(column));
  return values;
}

TEST(ServerLoss, RunKeepsItsCommitsAndTheWindowWorksOnOnceTheServerIsBack) {
  OwnServer server;
  Installation install("SYSDBA", server.port);
  server.createDatabase(install.database);
  RunningProgram program;
  program.start({"tavrel", "operador"});
  TFTavrel& window = program.window();
  Tdm& module = program.module();
  std::vector<RecordingDialogs::Box>& boxes = program.boxes.boxes;
  ASSERT_TRUE(boxes.empty());
  QTemporaryDir files;
  const QString path = files.filePath("campanha.txt");
  WriteFile(path, NumberedCandidates(1, 3500));
  window.edtCaminhoCNPJ->setText(path);

  // Between the commit after line 1000 and the one after line 2000.
  LabelWatch count(window.LabCount);
  count.when("1500 de 3500", [&] { server.kill(); });
  window.btnImportar->click();

  // The run's error box, then the two failures to reach the server afterwards: reading the cache
  // again after the rollback, and the search.
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].kind, dialogs::BoxKind::Error);
  EXPECT_TRUE(boxes[0].text.startsWith(kFailed)) << boxes[0].text.toStdString();
  EXPECT_TRUE(boxes[0].text.contains("connection")) << boxes[0].text.toStdString();
  for (const RecordingDialogs::Box& box : {boxes[1], boxes[2]}) {
    EXPECT_EQ(box.kind, dialogs::BoxKind::Error);
    EXPECT_EQ(box.caption, "robust_import_tests");
    EXPECT_TRUE(box.text.startsWith("Unable to complete network request"))
        << box.text.toStdString();
  }
  EXPECT_FALSE(module.Conexao.inTransaction());
  // Not trusted, since it could not be read again: the next run reads it afresh.
  EXPECT_FALSE(module.cdsCAM.active());
  EXPECT_EQ(window.pb->value(), 1500);

  install.writeVoqIni(server.start());
  EXPECT_EQ(Committed(server, install.database), (QStringList{"1000", "1000", "1", "1000"}));

  // The next use attaches again, through voq.ini as it now reads.
  boxes.clear();
  window.btnPesquisar->click();
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(window.LabCount->text(), "1000 Registros.");

  window.btnImportar->click();
  EXPECT_EQ(boxes, std::vector{kImported});
  EXPECT_EQ(window.labImportou->text(), "(2500 Importados e 0 Alterados)");
  EXPECT_FALSE(module.Conexao.inTransaction());
  EXPECT_EQ(Committed(server, install.database), (QStringList{"3500", "3500", "1", "3500"}));
  EXPECT_EQ(window.LabCount->text(), "3500 Registros.");
}

TEST(ServerLoss, ASearchThatFindsTheServerGoneIsReportedAndTheNextOneAttachesAgain) {
  OwnServer server;
  Installation install("SYSDBA", server.port);
  server.createDatabase(install.database);
  RunningProgram program;
  program.start({"tavrel", "operador"});
  TFTavrel& window = program.window();
  std::vector<RecordingDialogs::Box>& boxes = program.boxes.boxes;
  ASSERT_TRUE(boxes.empty());
  EXPECT_EQ(window.LabCount->text(), "0 Registros.");

  server.kill();
  window.btnPesquisar->click();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].kind, dialogs::BoxKind::Error);
  EXPECT_EQ(boxes[0].caption, "robust_import_tests");
  EXPECT_TRUE(boxes[0].text.contains("connection")) << boxes[0].text.toStdString();

  install.writeVoqIni(server.start());
  boxes.clear();
  window.btnPesquisar->click();
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(window.LabCount->text(), "0 Registros.");
  EXPECT_FALSE(program.module().Conexao.lost());
}

}  // namespace
