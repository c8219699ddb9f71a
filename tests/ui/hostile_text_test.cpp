// Text that looks like SQL, in the filter of a search and in the values of an imported file: it
// is searched for or stored as written (cut to its column), and the table stays whole.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include "CampaignLines.h"
#include "ContributorRows.h"
#include "DelimitedLines.h"
#include "ImportSession.h"
#include "QtPrinters.h"
#include "data/UDM.h"
#include "ui/UTavrel.h"

using namespace tavrel::test;

namespace {

const QString kEveryColumn =
    "COD_CAM, TIPO_CAM, CNPJ_CAM, NOME_CAM, ANO_CAM, COD_TOM_CAM, NATJUR_CAM, CNAE_CAM, "
    "DATACNPJ_CAM, LOGIN_INC_CAM, DTA_INC_CAM, LOGIN_ALT_CAM, DTA_ALT_CAM";
const QString kInjection = "' OR '1'='1";

using HostileText = ImportSession;

TEST_F(HostileText, SearchTextIsMatchedAsWrittenAndChangesNothing) {
  InsertContributors(
      install.database,
      {
          {1, "CANDIDATO", "11111111000111", "MARIA D'AVILA", 2019, "4090", "8411600",
           "2018-08-15 10:00"},
          {2, "CANDIDATO", "22222222000122", "A--B", 2019, "'--;", "8411600", "2018-08-15 10:00"},
          {3, "PARTIDO", "33333333000133", "X;Y", 2019, "3220", "94'928", "2018-08-15 10:00"},
          {4, "CANDIDATO", "44444444000144", "100% LIVRE", 2019, "4090", "8411600",
           "2018-08-15 10:00"},
          {5, "CANDIDATO", "55555555000155", "A_B", 2019, "4090", "8411600", "2018-08-15 10:00"},
          {6, "CANDIDATO", "66666666000166", "AXB", 2019, "4090", "8411600", "2018-08-15 10:00"},
          {7, "CANDIDATO", kInjection, "CNPJ ESTRANHO", 2019, "4090", "8411600",
           "2018-08-15 10:00"},
          {8, "PARTIDO", "88888888000188", kInjection, 2019, "3220", "9492800", "2018-08-15 10:00"},
          {9, "PARTIDO", "99999999000199", "DE OUTRO ANO'", 2018, "3220", "9492800",
           "2018-08-15 10:00"},
      });
  const QStringList before = rows(kEveryColumn);
  const struct {
    QString column, text;
    QStringList codes;
  } cases[] = {
      {"NOME", "'", {"1", "8"}},
      {"NOME", kInjection, {"8"}},
      {"NOME", "''", {}},
      {"NOME", "--", {"2"}},
      {"NOME", ";", {"3"}},
      {"NOME", "100%", {"4"}},
      // LIKE's own wildcards keep their meaning: "_" stands for any one character.
      {"NOME", "A_B", {"5", "6"}},
      {"NOME", "%", {"1", "2", "3", "4", "5", "6", "7", "8"}},
      {"CNPJ", kInjection, {"7"}},
      {"CNPJ", "'; DELETE FROM GR_CONTRIB_CAMPANHA; --", {}},
      {"NAT JURID", "'--;", {"2"}},
      {"CNAE", "'", {"3"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE((c.column + " / " + c.text).toStdString());
    window().cboColuna->setCurrentText(c.column);
    window().cboColunaChange();
    window().edtCampo->setText(c.text);
    window().btnPesquisar->click();
    EXPECT_TRUE(program.boxes.boxes.empty());
    EXPECT_EQ(program.columnTexts(0), c.codes);
    EXPECT_EQ(window().LabCount->text(), QString("%1 Registros.").arg(c.codes.size()));
  }
  EXPECT_EQ(rows(kEveryColumn), before);
}

TEST_F(HostileText, YearOrDateThatLooksLikeSqlIsRefused) {
  InsertContributors(install.database, {{1, "CANDIDATO", "11111111000111", "MARIA", 2019, "4090",
                                         "8411600", "2018-08-15 10:00"}});
  const QStringList before = rows(kEveryColumn);
  const struct {
    QString year, column, text;
    RecordingDialogs::Box box;
  } cases[] = {
      // The database compares the whole text with the year, and cannot read it as a number.
      {"2019" + kInjection,
       "NENHUM",
       "",
       {dialogs::BoxKind::Error, "robust_import_tests",
        "conversion error from string \"2019' OR '1'='1\""}},
      {"2019", "DATA", kInjection, {dialogs::BoxKind::Warning, "Warning", "Data Invalida!"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE((c.year + " / " + c.column + " / " + c.text).toStdString());
    program.boxes.boxes.clear();
    window().edtExercicio->setText(c.year);
    window().cboColuna->setCurrentText(c.column);
    window().cboColunaChange();
    window().edtCampo->setText(c.text);
    window().btnPesquisar->click();
    EXPECT_EQ(program.boxes.boxes, std::vector{c.box});
  }
  EXPECT_EQ(rows(kEveryColumn), before);
}

TEST_F(HostileText, ImportedValuesAreStoredAsWrittenAndFoundAgain) {
  InsertContributors(install.database, {{1, "CANDIDATO", "11111111000111", "JA ESTAVA", 2018,
                                         "4090", "8411600", "2018-08-15 10:00"}});
  const QStringList bystander = rows(kEveryColumn);
  const QString fixed =
      file("aspas.txt",
           FixedColumnLine("02", kInjection, CandidateNameField("2019", "O'NEIL -- DROP; 100% A_B"),
                           "'--;", "%_' OR", "260920181430") +
               "\n" +
               FixedColumnLine("01", "';--%_\"", "'; DELETE FROM GR_CONTRIB_CAMPANHA; --", "3220",
                               "9492800", "020820181000") +
               "\n");
  const QString delimited =
      file("aspas.csv",
           CsvFile({PartyCsvLine("12.345.678/0001-90", "\"X;Y \"\"Z\"\" " + kInjection + "\"",
                                 "26/09/2018 14:30"),
                    // Longer than the column: the first 250 quotes are stored.
                    PartyCsvLine("98765432000198", QString(260, u'\''), "26/09/2018 14:30"),
                    "CANDIDATO;11.111.111/0001-22;\"ABCDEFGH2019 D'AVILA; --%_\";4090;8411600;"
                    "26/09/2018"}));
  const QString stored =
      "CNPJ_CAM, OCTET_LENGTH(CNPJ_CAM), NOME_CAM, OCTET_LENGTH(NOME_CAM), NATJUR_CAM, CNAE_CAM";
  const QStringList expected = {
      kInjection,
      "14",
      "O'NEIL -- DROP; 100% A_B",
      "24",
      "'--;",
      "%_' OR",  //
      "';--%_\"",
      "14",
      "'; DELETE FROM GR_CONTRIB_CAMPANHA; --",
      "38",
      "3220",
      "9492800",  //
      "12345678000190",
      "14",
      "X;Y \"Z\" " + kInjection,
      "19",
      "3220",
      "9492800",  //
      "98765432000198",
      "14",
      QString(250, u'\''),
      "250",
      "3220",
      "9492800",  //
      "11111111000122",
      "14",
      "D'AVILA; --%_",
      "13",
      "4090",
      "8411600",
  };

  for (const QString& path : {fixed, delimited}) run(path);
  EXPECT_EQ(program.boxes.boxes.size(), 2u);
  EXPECT_EQ(window().labImportou->text(), "(3 Importados e 0 Alterados)");
  EXPECT_EQ(rows(stored, "COD_CAM > 1"), expected);

  // Looked up by those values, every line finds its row again.
  for (const QString& path : {fixed, delimited}) run(path);
  EXPECT_EQ(window().labImportou->text(), "(0 Importados e 0 Alterados)");
  EXPECT_EQ(rows(stored, "COD_CAM > 1"), expected);
  EXPECT_EQ(rows(kEveryColumn, "COD_CAM = 1"), bystander);
  for (const RecordingDialogs::Box& box : program.boxes.boxes) {
    EXPECT_EQ(box.kind, dialogs::BoxKind::Information) << box.text.toStdString();
  }
}

}  // namespace
