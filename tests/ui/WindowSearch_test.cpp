// The search of the running window: the statement built from the filters, the rows found, the
// refusals and a failure that the database reports.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include <gtest/gtest.h>

#include "ContributorRows.h"
#include "Installation.h"
#include "RunningProgram.h"
#include "data/UDM.h"
#include "dataset/DataSetModel.h"
#include "ui/UTavrel.h"

using tavrel::test::Installation;
using tavrel::test::RunningProgram;

namespace {

const QString kSelect =
    QStringLiteral("SELECT   * FROM   GR_CONTRIB_CAMPANHA WHERE   ANO_CAM = '2019'");
const QString kOrder = QStringLiteral(" ORDER BY 1, 2");

class WindowSearch : public ::testing::Test {
 protected:
  void SetUp() override {
    tavrel::test::InsertContributors(
        install.database,
        {
            {1, "CANDIDATO", "33300000000101", "JOAO DA SILVA", 2019, "4090", "8411600",
             "2018-08-15 10:00"},
            {2, "PARTIDO", "11100000000102", "PARTIDO VERDE", 2019, "3220", "9492800",
             "2018-08-05 00:00"},
            {3, "CANDIDATO", "44400000000103", "MARIA D'AVILA", 2019, "4090", "8411600",
             "2018-08-15 00:00"},
            // 5/8 read month first: a pattern built in that order would find this row.
            {4, "PARTIDO", "22200000000104", "PARTIDO DA SILVA", 2019, "3220", "9492800",
             "2018-05-08 00:00"},
            {5, "CANDIDATO", "33300000000105", "ANA SOUZA", 2018, "2062", "4711301",
             "2018-08-15 09:00"},
        });
    program.start({"tavrel", "joao"});
    ASSERT_TRUE(program.boxes.boxes.empty());
  }

  TFTavrel& window() { return program.window(); }

  void setFilters(const QString& year, const QString& tipo, const QString& column,
                  const QString& text) {
    window().edtExercicio->setText(year);
    window().cboTipo->setCurrentText(tipo);
    window().cboColuna->setCurrentText(column);
    window().cboColunaChange();
    window().edtCampo->setText(text);
  }

  Installation install;
  RunningProgram program;
};

TEST_F(WindowSearch, FiltersBuildTheStatementAndFindTheirRows) {
  const struct {
    QString tipo, column, text;
    QString filtros;
    QStringList codes;
    QString count;
  } cases[] = {
      {"TODOS", "NENHUM", "", "", {"1", "2", "3", "4"}, "4 Registros."},
      {"CANDIDATO", "NENHUM", "", " AND TIPO_CAM = 'CANDIDATO'", {"1", "3"}, "2 Registros."},
      {"PARTIDO", "NENHUM", "", " AND TIPO_CAM = 'PARTIDO'", {"2", "4"}, "2 Registros."},
      {"TODOS", "CNPJ", "444", " AND CNPJ_CAM LIKE '%444%'", {"3"}, "1 Registros."},
      {"TODOS", "NOME", "SILVA", " AND NOME_CAM LIKE '%SILVA%'", {"1", "4"}, "2 Registros."},
      {"TODOS", "NAT JURID", "3220", " AND NATJUR_CAM LIKE '%3220%'", {"2", "4"}, "2 Registros."},
      {"TODOS", "CNAE", "84116", " AND CNAE_CAM LIKE '%84116%'", {"1", "3"}, "2 Registros."},
      {"TODOS", "NOME", "D'AVILA", " AND NOME_CAM LIKE '%D''AVILA%'", {"3"}, "1 Registros."},
      {"TODOS", "NOME", "   ", "", {"1", "2", "3", "4"}, "4 Registros."},
      {"TODOS", "CNPJ", "999", " AND CNPJ_CAM LIKE '%999%'", {}, "0 Registros."},
      {"PARTIDO",
       "NOME",
       "SILVA",
       " AND TIPO_CAM = 'PARTIDO' AND NOME_CAM LIKE '%SILVA%'",
       {"4"},
       "1 Registros."},
      {"TODOS",
       "DATA",
       "15/08/2018",
       " AND SUBSTRING(DATACNPJ_CAM FROM 1 FOR 10) LIKE '%2018-08-15%'",
       {"1", "3"},
       "2 Registros."},
      {"TODOS",
       "DATA",
       "5/8/2018",
       " AND SUBSTRING(DATACNPJ_CAM FROM 1 FOR 10) LIKE '%2018-08-05%'",
       {"2"},
       "1 Registros."},
      {"TODOS",
       "DATA",
       "15/08/2018 10:00",
       " AND SUBSTRING(DATACNPJ_CAM FROM 1 FOR 10) LIKE '%2018-08-15%'",
       {"1", "3"},
       "2 Registros."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE((c.tipo + " / " + c.column + " / " + c.text).toStdString());
    setFilters("2019", c.tipo, c.column, c.text);
    window().btnPesquisar->click();
    EXPECT_TRUE(program.boxes.boxes.empty());
    EXPECT_EQ(program.module().sqlVis.SQL, kSelect + c.filtros + kOrder);
    EXPECT_EQ(program.columnTexts(0), c.codes);
    EXPECT_EQ(window().LabCount->text(), c.count);
  }
}

TEST_F(WindowSearch, TheYearFieldChoosesTheYear) {
  setFilters("2018", "TODOS", "NENHUM", "");
  window().btnPesquisar->click();
  EXPECT_EQ(program.module().sqlVis.SQL,
            "SELECT   * FROM   GR_CONTRIB_CAMPANHA WHERE   ANO_CAM = '2018' ORDER BY 1, 2");
  EXPECT_EQ(program.columnTexts(0), QStringList{"5"});
  // The import's year stays the one of today.
  EXPECT_EQ(program.module().VOQ_Exercicio, "2019");
}

TEST_F(WindowSearch, RefusedFiltersWarnAndLeaveTheGridAndCountAsTheyWere) {
  program.activate();
  const struct {
    QString year, column, text;
    QString warning;
    QWidget* focusBefore;
    QWidget* focusAfter;
  } cases[] = {
      {"", "NENHUM", "", "O Exercicio é Obrigatório!", window().DBGrid1, window().edtExercicio},
      {"    ", "NOME", "SILVA", "O Exercicio é Obrigatório!", window().edtCampo,
       window().edtExercicio},
      {"2019", "DATA", "31/02/2018", "Data Invalida!", window().edtCampo, window().edtCampo},
      {"2019", "DATA", "15/13/2018", "Data Invalida!", window().DBGrid1, window().DBGrid1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE((c.year + " / " + c.column + " / " + c.text).toStdString());
    setFilters("2019", "CANDIDATO", "NENHUM", "");
    window().btnPesquisar->click();
    const QString statement = program.module().sqlVis.SQL;
    ASSERT_EQ(program.columnTexts(0), (QStringList{"1", "3"}));

    setFilters(c.year, "TODOS", c.column, c.text);
    c.focusBefore->setFocus();
    window().btnPesquisar->click();
    EXPECT_EQ(
        program.boxes.boxes,
        (std::vector<RecordingDialogs::Box>{{dialogs::BoxKind::Warning, "Warning", c.warning}}));
    EXPECT_EQ(QApplication::focusWidget(), c.focusAfter);
    EXPECT_TRUE(program.module().cdsVis.active());
    EXPECT_EQ(program.module().sqlVis.SQL, statement);
    EXPECT_EQ(program.columnTexts(0), (QStringList{"1", "3"}));
    EXPECT_EQ(window().LabCount->text(), "2 Registros.");
    program.boxes.boxes.clear();
  }
}

TEST_F(WindowSearch, AFailedSearchGoesToTheDefaultReportAndLeavesTheSetClosed) {
  ASSERT_EQ(window().LabCount->text(), "4 Registros.");
  setFilters("abc", "TODOS", "NENHUM", "");
  window().btnPesquisar->click();
  ASSERT_EQ(program.boxes.boxes.size(), 1u);
  const RecordingDialogs::Box& box = program.boxes.boxes.front();
  EXPECT_EQ(box.kind, dialogs::BoxKind::Error);
  // The application's title: the executable's name, its first letter as it is, the rest small.
  EXPECT_EQ(box.caption, "window_tests");
  // The database's text as it is: its last character, a double quote, takes no full stop.
  EXPECT_EQ(box.text, "conversion error from string \"abc\"") << box.text.toStdString();
  EXPECT_FALSE(program.module().cdsVis.active());
  EXPECT_EQ(program.gridModel().rowCount(), 0);
  EXPECT_EQ(window().LabCount->text(), "4 Registros.");

  // The operator can search again.
  program.boxes.boxes.clear();
  setFilters("2019", "TODOS", "NENHUM", "");
  window().btnPesquisar->click();
  EXPECT_TRUE(program.boxes.boxes.empty());
  EXPECT_EQ(program.columnTexts(0), (QStringList{"1", "2", "3", "4"}));
}

}  // namespace
