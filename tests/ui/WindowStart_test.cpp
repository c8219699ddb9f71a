// The window as the suite starts it, against a database on the private server.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "ContributorRows.h"
#include "Installation.h"
#include "RunningProgram.h"
#include "data/UDM.h"
#include "dataset/DataSetModel.h"
#include "ui/UTavrel.h"

using tavrel::test::ContributorRow;
using tavrel::test::Installation;
using tavrel::test::RunningProgram;
using tavrel::test::TestServer;

namespace {

const QString kNoLogin =
    QStringLiteral("Este importador somente poderá ser executado a partir do módulo Mobiliário!");

class WindowStart : public ::testing::Test {
 protected:
  Installation install;
};

TEST_F(WindowStart, WithoutALoginTheErrorBoxShowsTheWindowClosesAndConexaoNeverAttaches) {
  const struct {
    const char* name;
    QStringList arguments;
  } cases[] = {
      {"no argument", {"tavrel"}},
      {"empty", {"tavrel", ""}},
      {"blanks", {"tavrel", "   "}},
      {"blank first, login second", {"tavrel", " ", "joao"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RunningProgram run;
    run.start(c.arguments);
    EXPECT_EQ(run.boxes.boxes,
              (std::vector<RecordingDialogs::Box>{{dialogs::BoxKind::Error, "Error", kNoLogin}}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !run.window().isVisible(); }));
    EXPECT_FALSE(run.module().Conexao.connected());
    // The password is filled in just before Conexao attaches, never before.
    EXPECT_TRUE(run.module().PassBanco.isEmpty());
    EXPECT_EQ(TestServer::values(install.database,
                                 "SELECT COUNT(*) FROM MON$ATTACHMENTS WHERE MON$USER = 'QEBVOQ'"),
              QStringList{"0"});
    EXPECT_TRUE(run.module().VOQ_Usuario.isEmpty());
    EXPECT_EQ(run.window().windowTitle(), TFTavrel::kCaption);
    EXPECT_EQ(run.window().edtExercicio->text(), "2018");
    EXPECT_FALSE(run.module().cdsVis.active());
  }
}

TEST_F(WindowStart, TheFirstArgumentIsStoredUnchangedAndTheOthersAreIgnored) {
  const struct {
    QStringList arguments;
    QString stored;
  } cases[] = {
      {{"tavrel", "  joao  "}, "  joao  "},
      {{"tavrel", "maria", "outro", "  "}, "maria"},
      {{"tavrel", "MARIA.SOUZA", ""}, "MARIA.SOUZA"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments.join('|').toStdString());
    RunningProgram run;
    run.start(c.arguments);
    EXPECT_TRUE(run.boxes.boxes.empty());
    EXPECT_EQ(run.module().VOQ_Usuario, c.stored);
    EXPECT_TRUE(run.module().Conexao.connected());
    EXPECT_TRUE(run.window().isVisible());
  }
}

TEST_F(WindowStart, TheTitleEndsWithTheLicenseeName) {
  tavrel::test::InsertLicensee(install.database,
                               QStringLiteral("PREFEITURA MUNICIPAL DE SÃO JOÃO DAS ÁGUAS"));
  RunningProgram program;
  program.start({"tavrel", "joao"});
  EXPECT_EQ(program.window().windowTitle(),
            QStringLiteral("Importador de CNPJ dos Permissionários - PREFEITURA MUNICIPAL DE SÃO "
                           "JOÃO DAS ÁGUAS"));
}

TEST_F(WindowStart, WithoutTheLicenseeRowTheTitleEndsWithTheSeparator) {
  TestServer::isql(install.database,
                   "INSERT INTO GR_CAD_EMPRESA (COD_EMP, NOME_EMP) VALUES (2, 'OUTRA'); COMMIT;");
  RunningProgram program;
  program.start({"tavrel", "joao"});
  EXPECT_EQ(program.window().windowTitle(),
            QStringLiteral("Importador de CNPJ dos Permissionários - "));
  EXPECT_TRUE(program.boxes.boxes.empty());
}

TEST_F(WindowStart, TheYearComesFromTodayAndTheFirstSearchListsThatYear) {
  tavrel::test::InsertContributors(
      install.database,
      {
          {1, "CANDIDATO", "11111111000101", "JOAO DA SILVA", 2018, "4090", "8411600", ""},
          {2, "PARTIDO", "22222222000102", "PARTIDO VERDE", 2019, "3220", "9492800", ""},
          {3, "CANDIDATO", "33333333000103", "ANA SOUZA", 2019, "4090", "8411600", ""},
          {4, "CANDIDATO", "44444444000104", "JOSE LIMA", 2020, "4090", "8411600", ""},
      });
  const struct {
    QDateTime now;
    QString year;
    QStringList codes;
    QString count;
  } cases[] = {
      {{QDate(2019, 3, 15), QTime(10, 0), Qt::UTC}, "2019", {"2", "3"}, "2 Registros."},
      {{QDate(2018, 12, 31), QTime(23, 59), Qt::UTC}, "2018", {"1"}, "1 Registros."},
      {{QDate(2021, 1, 1), QTime(0, 0), Qt::UTC}, "2021", {}, "0 Registros."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.year.toStdString());
    RunningProgram run;
    run.start({"tavrel", "joao"}, c.now);
    EXPECT_TRUE(run.boxes.boxes.empty());
    EXPECT_EQ(run.module().VOQ_Exercicio, c.year);
    EXPECT_EQ(run.window().edtExercicio->text(), c.year);
    EXPECT_EQ(run.module().sqlVis.SQL, "SELECT   * FROM   GR_CONTRIB_CAMPANHA WHERE   ANO_CAM = '" +
                                           c.year + "' ORDER BY 1, 2");
    EXPECT_EQ(run.columnTexts(0), c.codes);
    EXPECT_EQ(run.window().LabCount->text(), c.count);
  }
}

// The server cannot be reached when the window is shown: the default report, and the window as
// it was before the licensee's name was read; once the server answers, a search works.
TEST_F(WindowStart, WithTheServerUnreachableTheWindowStaysUsableAndASearchWorksLater) {
  tavrel::test::InsertContributors(
      install.database,
      {{1, "CANDIDATO", "11111111000101", "JOAO DA SILVA", 2019, "4090", "8411600", ""},
       {2, "PARTIDO", "22222222000102", "PARTIDO VERDE", 2018, "3220", "9492800", ""}});
  install.writeVoqIni(/*a port nothing listens on*/ 1);
  RunningProgram program;
  program.start({"tavrel", "joao"});

  ASSERT_EQ(program.boxes.boxes.size(), 1u);
  const RecordingDialogs::Box report = program.boxes.boxes[0];
  EXPECT_EQ(report.kind, dialogs::BoxKind::Error);
  EXPECT_EQ(report.caption, "window_tests");
  EXPECT_TRUE(report.text.endsWith('.')) << report.text.toStdString();
  EXPECT_EQ(program.window().windowTitle(), TFTavrel::kCaption);
  EXPECT_EQ(program.window().edtExercicio->text(), "2018");
  EXPECT_FALSE(program.module().cdsVis.active());
  EXPECT_EQ(program.gridModel().rowCount(), 0);
  EXPECT_EQ(program.module().VOQ_Usuario, "joao");
  EXPECT_FALSE(program.module().Conexao.connected());
  EXPECT_TRUE(program.window().isVisible());

  // A title click on the empty grid does nothing; a search reports the same failure again.
  program.boxes.boxes.clear();
  program.window().DBGrid1TitleClick(2);
  EXPECT_TRUE(program.boxes.boxes.empty());
  program.window().btnPesquisar->click();
  ASSERT_EQ(program.boxes.boxes.size(), 1u);
  EXPECT_EQ(program.boxes.boxes[0].kind, dialogs::BoxKind::Error);

  // The server answers again: the next search lists the year typed, as any search would.
  program.boxes.boxes.clear();
  install.writeVoqIni(TestServer::port());
  program.window().edtExercicio->setText("2019");
  program.window().btnPesquisar->click();
  EXPECT_TRUE(program.boxes.boxes.empty());
  EXPECT_TRUE(program.module().Conexao.connected());
  EXPECT_EQ(program.columnTexts(0), QStringList{"1"});
  EXPECT_EQ(program.window().LabCount->text(), "1 Registros.");
  EXPECT_EQ(program.window().windowTitle(), TFTavrel::kCaption);
  EXPECT_EQ(program.module().VOQ_Usuario, "joao");
}

}  // namespace
