// Edges of the import run against a database on the private server: a stored row without a
// date, a write cache that cannot be opened, and later runs after the year field changed.
#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

#include "ContributorRows.h"
#include "DelimitedLines.h"
#include "ImportSession.h"
#include "QtPrinters.h"
#include "data/UDM.h"
#include "ui/UTavrel.h"

using namespace tavrel::test;

namespace {

const QString kImported = QStringLiteral("CNPJ dos Candidatos/Partidos Importado!");
const QString kFailed =
    QStringLiteral("Erro ao importar os CNPJ dos Candidatos/Partidos Importado!\rErro: ");
const RecordingDialogs::Box kImportedBox{dialogs::BoxKind::Information, "Information", kImported};

using ImportRunEdges = ImportSession;

TEST_F(ImportRunEdges, ACachedRowWithoutADateIsRewrittenOnceByTheLine) {
  InsertContributors(install.database,
                     {{7, "CANDIDATO", "11111111000111", "SEM DATA", 2019, "4090", "8411600", ""}});
  const QString path =
      file("sem_data.csv",
           CsvFile({CandidateCsvLine("11111111000111", "COM DATA", "26/09/2018 14:30")}));
  const QString stored =
      "COD_CAM, NOME_CAM, DATACNPJ_CAM, LOGIN_ALT_CAM, "
      "CASE WHEN DTA_ALT_CAM IS NULL THEN 'sem' ELSE 'com' END";
  const struct {
    const char* run;
    QString counts;
  } runs[] = {
      {"first: the stored date is unknown", "(0 Importados e 1 Alterados)"},
      {"again: the same date changes nothing", "(0 Importados e 0 Alterados)"},
  };
  for (const auto& r : runs) {
    SCOPED_TRACE(r.run);
    program.boxes.boxes.clear();
    run(path);
    EXPECT_EQ(program.boxes.boxes, std::vector{kImportedBox});
    EXPECT_EQ(window().labImportou->text(), r.counts);
    EXPECT_EQ(rows(stored),
              (QStringList{"7", "COM DATA", "2018-09-26 14:30:00.0000", "operador", "com"}));
  }
}

TEST_F(ImportRunEdges, ACacheThatCannotBeOpenedFailsTheRunAndStaysClosed) {
  const QString path =
      file("um.csv", CsvFile({CandidateCsvLine("11111111000111", "UM", "26/09/2018 14:30")}));
  window().edtExercicio->setText("abc");

  run(path);

  // The run's error box; the search of its end finds no row to compare with 'abc'.
  ASSERT_EQ(program.boxes.boxes.size(), 1u);
  EXPECT_EQ(program.boxes.boxes[0].kind, dialogs::BoxKind::Error);
  EXPECT_EQ(program.boxes.boxes[0].caption, "Error");
  EXPECT_TRUE(program.boxes.boxes[0].text.startsWith(kFailed))
      << program.boxes.boxes[0].text.toStdString();
  EXPECT_EQ(module().sqlVis.SQL,
            "SELECT   * FROM   GR_CONTRIB_CAMPANHA WHERE   ANO_CAM = 'abc' ORDER BY 1, 2");
  EXPECT_EQ(window().LabCount->text(), "0 Registros.");
  EXPECT_FALSE(module().cdsCAM.active());
  EXPECT_FALSE(module().Conexao.inTransaction());
  EXPECT_EQ(TestServer::values(install.database, "SELECT COUNT(*) FROM GR_CONTRIB_CAMPANHA"),
            QStringList{"0"});

  // A year that is one opens the cache at the next run.
  program.boxes.boxes.clear();
  window().edtExercicio->setText("2019");
  run(path);
  EXPECT_EQ(program.boxes.boxes, std::vector{kImportedBox});
  EXPECT_TRUE(module().cdsCAM.active());
  EXPECT_EQ(rows("CNPJ_CAM, NOME_CAM"), (QStringList{"11111111000111", "UM"}));
  EXPECT_EQ(window().LabCount->text(), "1 Registros.");
}

TEST_F(ImportRunEdges, LaterRunsKeepTheCachesYearWhateverTheYearFieldSays) {
  run(file("primeiro.csv",
           CsvFile({CandidateCsvLine("11111111000111", "PRIMEIRO", "26/09/2018 14:30")})));
  ASSERT_EQ(program.boxes.boxes, std::vector{kImportedBox});

  const RecordingDialogs::Box noYear{dialogs::BoxKind::Warning, "Warning",
                                     QString::fromUtf8("O Exercicio é Obrigatório!")};
  const struct {
    const char* name;
    QString year;
    QString date;  // later than the stored one, so the cached 2019 row is rewritten
    std::vector<RecordingDialogs::Box> boxes;
    QString count;
  } cases[] = {
      {"changed", "2020", "27/09/2018 14:30", {kImportedBox}, "0 Registros."},
      // The search warns and leaves the run's count.
      {"blanked", "  ", "28/09/2018 14:30", {kImportedBox, noYear}, "1 de 1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    program.boxes.boxes.clear();
    window().edtExercicio->setText(c.year);
    run(file(QString(c.name) + ".csv",
             CsvFile({CandidateCsvLine("11111111000111", c.name, c.date)})));
    EXPECT_EQ(program.boxes.boxes, c.boxes);
    EXPECT_EQ(window().labImportou->text(), "(0 Importados e 1 Alterados)");
    EXPECT_EQ(rows("COD_CAM, NOME_CAM, ANO_CAM"), (QStringList{"1", c.name, "2019"}));
    EXPECT_EQ(window().LabCount->text(), c.count);
  }
}

}  // namespace
