// The import run of the real window against a database on the private server: progress,
// counters, the update decision, periodic commits and the error path, refusals, presses and a
// close during a run, and what both layouts store.
#include <QApplication>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "CampaignLines.h"
#include "ContributorRows.h"
#include "DelimitedLines.h"
#include "ImportSession.h"
#include "LabelWatch.h"
#include "NumberedCandidates.h"
#include "QtPrinters.h"
#include "data/UDM.h"
#include "firebird/Query.h"
#include "ui/HotTrackButton.h"
#include "ui/UTavrel.h"

using tavrel::test::CandidateCsvLine;
using tavrel::test::CandidateNameField;
using tavrel::test::CsvFile;
using tavrel::test::FixedColumnLine;
using tavrel::test::ImportSession;
using tavrel::test::LabelWatch;
using tavrel::test::NumberedCandidate;
using tavrel::test::PartyCsvLine;
using tavrel::test::TestServer;
using tavrel::test::Windows1252;

namespace {

const QString kStarted = QString::fromUtf8("Inicio da Importação dos CNPJ: 15/03/2019 10:00:00");
const QString kFinished = QString::fromUtf8("Final da Importação dos CNPJ: 15/03/2019 10:00:00");
const QString kImported = QStringLiteral("CNPJ dos Candidatos/Partidos Importado!");
const QString kFailed =
    QStringLiteral("Erro ao importar os CNPJ dos Candidatos/Partidos Importado!\rErro: ");
const QString kNoFile =
    QString::fromUtf8("Necessário informar o arquivo contendo os CNPJ dos Candidatos ou Partidos.");
const QString kNoYear = QString::fromUtf8("O Exercicio é Obrigatório!");
const QString kDuplicateKeyText = QString::fromUtf8(
    "Atenção!!! \r\rViolação de Chave Primária! Registro já Existe...\r\rA Operação será "
    "cancelada.");
constexpr int kCnpjColumn = 2;

const RecordingDialogs::Box kImportedBox{dialogs::BoxKind::Information, "Information", kImported};

// Candidates numbered from 1 (see NumberedCandidate). Line number cutAt ends before its date,
// which then reads "// :"; after every otherEvery-th a line of another record kind follows,
// which is passed over.
QByteArray candidateLines(int count, int cutAt = 0, int otherEvery = 0) {
  QByteArray content;
  for (int n = 1; n <= count; ++n) {
    QByteArray line = NumberedCandidate(n);
    if (n == cutAt) line.truncate(180);
    content += line + "\n";
    if (otherEvery > 0 && n % otherEvery == 0) content += "9" + line.mid(1) + "\n";
  }
  return content;
}

class Import : public ImportSession {
 protected:
  QString csv(const QString& name, const QStringList& lines) { return file(name, CsvFile(lines)); }

  QStringList totals(const QString& aggregates) {
    return TestServer::values(install.database,
                              QString("SELECT %1 FROM GR_CONTRIB_CAMPANHA").arg(aggregates));
  }

  RecordingDialogs& dialogs = program.boxes;
};

TEST_F(Import, ShowsEveryLineAndItsCountThenTheSearchOfTheYear) {
  const QStringList lines = {
      "TIPO;CNPJ;NOME;NATJUR;CNAE;DATA",
      CandidateCsvLine("33.300.000/0001-01", "MARIA SOUZA", "26/09/2018 14:30"),
      PartyCsvLine("11100000000102", "PARTIDO VERDE", "05/08/2018"),
      CandidateCsvLine("44400000000103", "JOAO DA SILVA", "15/08/2018 10:00"),
  };
  const QString path = csv("campanha.csv", lines);
  LabelWatch count(window().LabCount);
  LabelWatch line(window().LabCNPJ);
  struct {
    QString count, imported, finished, countOnScreen, lineOnScreen;
    int progress = -1, maximum = -1;
  } atTheEnd;
  dialogs.onBox = [&](const RecordingDialogs::Box&) {
    atTheEnd = {window().LabCount->text(),
                window().labImportou->text(),
                window().labImpFIM->text(),
                count.painted.value(count.painted.size() - 1),
                line.painted.value(line.painted.size() - 1),
                window().pb->value(),
                window().pb->maximum()};
  };

  run(path);

  EXPECT_EQ(dialogs.boxes, std::vector{kImportedBox});
  EXPECT_EQ(line.shown, lines);
  EXPECT_EQ(count.shown.filter(" de "), (QStringList{"1 de 4", "2 de 4", "3 de 4", "4 de 4"}));
  EXPECT_EQ(atTheEnd.count, "4 de 4");
  // Painted at the screen's pace, but what stays behind the box is the end of the run.
  EXPECT_EQ(atTheEnd.countOnScreen, "4 de 4");
  EXPECT_EQ(atTheEnd.lineOnScreen, lines.last());
  EXPECT_EQ(atTheEnd.imported, "(3 Importados e 0 Alterados)");
  EXPECT_EQ(atTheEnd.finished, kFinished);
  EXPECT_EQ(atTheEnd.progress, 4);
  EXPECT_EQ(atTheEnd.maximum, 4);
  EXPECT_EQ(window().labImpINI->text(), kStarted);

  // The search at the end lists the year's new rows.
  EXPECT_EQ(window().LabCount->text(), "3 Registros.");
  EXPECT_EQ(program.columnTexts(kCnpjColumn),
            (QStringList{"33300000000101", "11100000000102", "44400000000103"}));
  EXPECT_FALSE(module().Conexao.inTransaction());
  EXPECT_EQ(
      rows("COD_CAM, TIPO_CAM, ANO_CAM, NATJUR_CAM, CNAE_CAM, DATACNPJ_CAM, LOGIN_INC_CAM"),
      (QStringList{"1",        "CANDIDATO", "2019", "4090", "8411600", "2018-09-26 14:30:00.0000",
                   "operador",  //
                   "2",        "PARTIDO",   "2019", "3220", "9492800", "2018-08-05 00:00:00.0000",
                   "operador",  //
                   "3",        "CANDIDATO", "2019", "4090", "8411600", "2018-08-15 10:00:00.0000",
                   "operador"}));
}

TEST_F(Import, EmptyFileCommitsNothingAndKeepsTheCounts) {
  window().labImportou->setText("(7 Importados e 1 Alterados)");

  run(file("vazio.csv", QByteArray()));

  EXPECT_EQ(dialogs.boxes, std::vector{kImportedBox});
  EXPECT_EQ(window().labImportou->text(), "(7 Importados e 1 Alterados)");
  EXPECT_EQ(window().labImpFIM->text(), kFinished);
  EXPECT_FALSE(module().Conexao.inTransaction());
  EXPECT_EQ(totals("COUNT(*)").value(0), "0");
  // Full, not the busy animation a bar without range shows.
  EXPECT_GT(window().pb->maximum(), window().pb->minimum());
  EXPECT_EQ(window().pb->value(), window().pb->maximum());
}

// Pairs of lines of one CNPJ: the second rewrites the row the first inserted only when its
// date is later.
const QStringList kPairs = {
    CandidateCsvLine("11111111000111", "PRIMEIRO A", "26/09/2018 14:30"),
    CandidateCsvLine("11111111000111", "SEGUNDO A", "26/09/2018 14:31"),
    CandidateCsvLine("22222222000122", "PRIMEIRO B", "26/09/2018 14:30"),
    CandidateCsvLine("22222222000122", "SEGUNDO B", "26/09/2018 14:30"),
    CandidateCsvLine("33333333000133", "PRIMEIRO C", "26/09/2018 14:30"),
    CandidateCsvLine("33333333000133", "SEGUNDO C", "25/09/2018 23:59"),
};

TEST_F(Import, SameCnpjTwiceIsInsertedThenRewrittenOnlyByALaterDate) {
  run(csv("pares.csv", kPairs));

  EXPECT_EQ(dialogs.boxes, std::vector{kImportedBox});
  EXPECT_EQ(window().labImportou->text(), "(3 Importados e 1 Alterados)");
  const struct {
    const char* cnpj;
    QStringList stored;  // name, date, login of the rewrite
  } cases[] = {
      {"11111111000111", {"SEGUNDO A", "2018-09-26 14:31:00.0000", "operador"}},
      {"22222222000122", {"PRIMEIRO B", "2018-09-26 14:30:00.0000", "<null>"}},
      {"33333333000133", {"PRIMEIRO C", "2018-09-26 14:30:00.0000", "<null>"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(rows("NOME_CAM, DATACNPJ_CAM, LOGIN_ALT_CAM", QString("CNPJ_CAM = '%1'").arg(c.cnpj)),
              c.stored)
        << c.cnpj;
  }
}

TEST_F(Import, ImportingTheSameFileAgainChangesNothing) {
  const QString path = csv("pares.csv", kPairs);
  run(path);
  const QString everything =
      "COD_CAM, TIPO_CAM, CNPJ_CAM, NOME_CAM, ANO_CAM, COD_TOM_CAM, "
      "NATJUR_CAM, CNAE_CAM, DATACNPJ_CAM, LOGIN_INC_CAM, DTA_INC_CAM, "
      "LOGIN_ALT_CAM, DTA_ALT_CAM";
  const QStringList before = rows(everything);
  ASSERT_EQ(before.size(), 3 * 13);

  run(path);

  EXPECT_EQ(dialogs.boxes, (std::vector{kImportedBox, kImportedBox}));
  EXPECT_EQ(window().labImportou->text(), "(0 Importados e 0 Alterados)");
  EXPECT_EQ(rows(everything), before);
}

TEST_F(Import, CnpjStoredUnderAnotherYearIsLeftAlone) {
  // No date stored: only the missing cached row keeps it from being rewritten.
  tavrel::test::InsertContributors(
      install.database,
      {{1, "CANDIDATO", "55555555000155", "DE OUTRO ANO", 2015, "4090", "8411600", ""}});

  run(csv("outro_ano.csv", {CandidateCsvLine("55555555000155", "NOVO NOME", "26/09/2018 14:30"),
                            CandidateCsvLine("66666666000166", "NOVO CNPJ", "26/09/2018 14:30")}));

  EXPECT_EQ(dialogs.boxes, std::vector{kImportedBox});
  EXPECT_EQ(window().labImportou->text(), "(1 Importados e 0 Alterados)");
  EXPECT_EQ(rows("COD_CAM, CNPJ_CAM, NOME_CAM, ANO_CAM, DATACNPJ_CAM"),
            (QStringList{"1", "55555555000155", "DE OUTRO ANO", "2015", "<null>",  //
                         "2", "66666666000166", "NOVO CNPJ", "2019", "2018-09-26 14:30:00.0000"}));
}

// The update decision answers for any date; a date that does not convert fails only where it
// would be stored, on a row of the cached year.
TEST_F(Import, AnUnreadableDateStopsTheRunOnlyForARowItWouldRewrite) {
  tavrel::test::InsertContributors(
      install.database, {{1, "CANDIDATO", "55555555000155", "DE OUTRO ANO", 2015, "4090", "8411600",
                          "2018-09-26 14:30"},
                         {2, "CANDIDATO", "77777777000177", "DESTE ANO", 2019, "4090", "8411600",
                          "2018-09-26 14:30"}});
  const QStringList lines{CandidateCsvLine("55555555000155", "OUTRO ANO", "99/99/9999"),
                          CandidateCsvLine("66666666000166", "NOVO CNPJ", "26/09/2018 14:30"),
                          CandidateCsvLine("77777777000177", "ESTE ANO", "99/99/9999"),
                          CandidateCsvLine("88888888000188", "NAO LIDO", "26/09/2018 14:30")};

  run(csv("datas.csv", lines));

  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].text, kFailed + "'99/99/9999' is not a valid date and time");
  EXPECT_EQ(window().LabCNPJ->text().trimmed(), lines[2]);
  EXPECT_EQ(window().pb->value(), 2);
  EXPECT_EQ(rows("COD_CAM, CNPJ_CAM, NOME_CAM"), (QStringList{"1", "55555555000155", "DE OUTRO ANO",
                                                              "2", "77777777000177", "DESTE ANO"}));
}

TEST_F(Import, CommitsAfterEveryThousandAcceptedLines) {
  const QString path = file("mil.txt", candidateLines(1001));
  QStringList committed;  // as another attachment counts the rows at two moments
  LabelWatch count(window().LabCount);
  for (const QString moment : {"999 de 1001", "1000 de 1001"})
    count.when(moment, [&] { committed << totals("COUNT(*)"); });

  run(path);

  EXPECT_EQ(committed, (QStringList{"0", "1000"}));
  EXPECT_EQ(dialogs.boxes, std::vector{kImportedBox});
  EXPECT_EQ(window().labImportou->text(), "(1001 Importados e 0 Alterados)");
  EXPECT_EQ(totals("COUNT(*), MAX(COD_CAM)"), (QStringList{"1001", "1001"}));
}

TEST_F(Import, ErrorRollsBackToTheLastThousandAndReloadsTheCache) {
  // Passed-over lines, one after every fifth accepted one, bring no commit nearer.
  const QString path = file("grande.txt", candidateLines(2500, /*cutAt=*/2300, /*otherEvery=*/5));
  window().labImpFIM->setText("anterior");

  run(path);

  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].kind, dialogs::BoxKind::Error);
  EXPECT_EQ(dialogs.boxes[0].caption, "Error");
  EXPECT_TRUE(dialogs.boxes[0].text.startsWith(kFailed)) << dialogs.boxes[0].text.toStdString();
  EXPECT_TRUE(dialogs.boxes[0].text.contains("// :")) << dialogs.boxes[0].text.toStdString();

  EXPECT_EQ(totals("COUNT(*), MIN(COD_CAM), MAX(COD_CAM), MAX(CNPJ_CAM)"),
            (QStringList{"2000", "1", "2000", "00000000002000"}));
  EXPECT_FALSE(module().Conexao.inTransaction());
  // Read before the failing line: 2299 accepted lines and 459 passed over.
  EXPECT_EQ(window().pb->value(), 2299 + 459);
  EXPECT_EQ(window().labImpFIM->text(), "anterior");
  EXPECT_EQ(window().LabCount->text(), "2000 Registros.");

  // The cache holds what the table holds for its year, and no row left half filled.
  ClientDataSet& cache = module().cdsCAM;
  EXPECT_EQ(cache.state(), DataSetState::Browse);
  EXPECT_EQ(cache.changeCount(), 0);
  EXPECT_EQ(cache.recordCount(), 2000);
  EXPECT_FALSE(cache.locate("COD_CAM", 2001));
}

TEST_F(Import, RefusesToStartWithoutAFileOrAYear) {
  const QString good = csv("um.csv", {CandidateCsvLine("11111111000111", "UM", "26/09/2018")});
  program.activate();
  const struct {
    const char* name;
    QString path;
    QString year;
    QString warning;
    QLineEdit* focus;
    QString started;
  } cases[] = {
      {"no path", "", "2019", kNoFile, window().edtCaminhoCNPJ, ""},
      {"no such file", files.filePath("nenhum.csv"), "2019", kNoFile, window().edtCaminhoCNPJ, ""},
      {"a folder", files.path(), "2019", kNoFile, window().edtCaminhoCNPJ, ""},
      {"blank year", good, "   ", kNoYear, window().edtExercicio, kStarted},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    dialogs.boxes.clear();
    window().labImpINI->clear();
    window().LabCount->setText("antes");
    window().edtExercicio->setText(c.year);
    window().btnPesquisar->setFocus();

    run(c.path);

    // One box only: the search, which would rewrite LabCount or warn again, did not run.
    EXPECT_EQ(
        dialogs.boxes,
        (std::vector<RecordingDialogs::Box>{{dialogs::BoxKind::Warning, "Warning", c.warning}}));
    EXPECT_EQ(QApplication::focusWidget(), c.focus);
    EXPECT_EQ(window().labImpINI->text(), c.started);
    EXPECT_EQ(window().LabCount->text(), "antes");
    EXPECT_FALSE(module().cdsCAM.active());
  }
  EXPECT_EQ(totals("COUNT(*)").value(0), "0");
}

TEST_F(Import, PressDuringARunDoesNothing) {
  const QString path = csv("tres.csv", {CandidateCsvLine("11111111000111", "UM", "26/09/2018"),
                                        CandidateCsvLine("22222222000122", "DOIS", "26/09/2018"),
                                        CandidateCsvLine("33333333000133", "TRES", "26/09/2018")});
  bool pressed = false;
  // Runs while the run lets pending window events run.
  QTimer::singleShot(0, &window(), [&] {
    pressed = true;
    window().btnImportar->click();
  });

  run(path);

  EXPECT_TRUE(pressed);
  EXPECT_EQ(dialogs.boxes, std::vector{kImportedBox});
  EXPECT_EQ(window().labImportou->text(), "(3 Importados e 0 Alterados)");
  EXPECT_EQ(totals("COUNT(*)").value(0), "3");

  // Once the run has ended, a press starts the next.
  run(path);
  EXPECT_EQ(dialogs.boxes, (std::vector{kImportedBox, kImportedBox}));
  EXPECT_EQ(window().labImportou->text(), "(0 Importados e 0 Alterados)");
}

TEST_F(Import, ClosingTheWindowDuringARunLetsTheRunEnd) {
  const QString path = csv("tres.csv", {CandidateCsvLine("11111111000111", "UM", "26/09/2018"),
                                        CandidateCsvLine("22222222000122", "DOIS", "26/09/2018"),
                                        CandidateCsvLine("33333333000133", "TRES", "26/09/2018")});
  QTimer::singleShot(0, &window(), [&] { window().close(); });

  run(path);

  EXPECT_FALSE(window().isVisible());
  EXPECT_EQ(dialogs.boxes, std::vector{kImportedBox});
  EXPECT_FALSE(module().Conexao.inTransaction());
  EXPECT_EQ(totals("COUNT(*)").value(0), "3");
}

TEST_F(Import, RowRefusedByTheDatabaseIsReportedButNotCounted) {
  const QString path = csv("tres.csv", {CandidateCsvLine("11111111000111", "UM", "26/09/2018"),
                                        CandidateCsvLine("22222222000122", "DOIS", "26/09/2018"),
                                        CandidateCsvLine("33333333000133", "TRES", "26/09/2018")});
  // Another clerk inserts the next free code and commits it only while the run's insert of the
  // same code waits for it: the run could not have seen it coming.
  fb::Connection other;
  other.params.database = TestServer::connectString(install.database);
  other.params.user = "SYSDBA";
  other.params.password = TestServer::password("SYSDBA");
  std::thread committer;
  LabelWatch count(window().LabCount);
  count.when("1 de 3", [&] {
    other.startTransaction();
    fb::Query(other,
              "INSERT INTO GR_CONTRIB_CAMPANHA (COD_CAM, CNPJ_CAM, ANO_CAM) "
              "VALUES (2, '99999999000199', 2019)")
        .execSQL();
    committer = std::thread([&other] {
      std::this_thread::sleep_for(std::chrono::milliseconds(500));
      other.commit();
    });
  });

  run(path);
  if (committer.joinable()) committer.join();

  // The refused row comes back, with its message, at the next row's apply.
  EXPECT_EQ(dialogs.boxes, (std::vector<RecordingDialogs::Box>{
                               {dialogs::BoxKind::Error, "Erro", kDuplicateKeyText},
                               {dialogs::BoxKind::Error, "Erro", kDuplicateKeyText},
                               kImportedBox}));
  EXPECT_EQ(window().labImportou->text(), "(2 Importados e 0 Alterados)");
  EXPECT_EQ(rows("COD_CAM, CNPJ_CAM"),
            (QStringList{"1", "11111111000111", "2", "99999999000199", "3", "33333333000133"}));
  EXPECT_FALSE(module().Conexao.inTransaction());
}

// A line the database refuses is reported and not counted, and the run goes on to the end of
// the file. The refused row stays pending, so every later apply reports it again.
TEST_F(Import, LineRefusedByACheckConstraintIsReportedAndTheRestOfTheFileIsStored) {
  constexpr int kLines = 12, kRefused = 5;
  TestServer::isql(install.database,
                   QString("ALTER TABLE GR_CONTRIB_CAMPANHA ADD CONSTRAINT CK_NOT_THE_FIFTH "
                           "CHECK (CNPJ_CAM <> '%1');\nCOMMIT;\n")
                       .arg(tavrel::test::NumberedCnpj(kRefused)));
  // The line in work when each box came, and the count of lines done.
  QStringList lineAtEachBox, countAtEachBox;
  dialogs.onBox = [&](const RecordingDialogs::Box&) {
    lineAtEachBox << window().LabCNPJ->text().trimmed();
    countAtEachBox << window().LabCount->text();
  };

  run(file("doze.txt", tavrel::test::NumberedCandidates(1, kLines)));

  ASSERT_EQ(dialogs.boxes.size(), std::size_t{kLines - kRefused + 2})
      << ::testing::PrintToString(dialogs.boxes);
  const RecordingDialogs::Box refusal = dialogs.boxes.front();
  EXPECT_EQ(refusal.kind, dialogs::BoxKind::Error);
  EXPECT_EQ(refusal.caption, "Erro");
  EXPECT_TRUE(refusal.text.contains("CK_NOT_THE_FIFTH")) << refusal.text.toStdString();
  EXPECT_EQ(lineAtEachBox.front(), QString(tavrel::test::NumberedCandidate(kRefused)).trimmed());
  EXPECT_EQ(countAtEachBox.front(), "4 de 12");
  for (std::size_t i = 1; i + 1 < dialogs.boxes.size(); ++i) EXPECT_EQ(dialogs.boxes[i], refusal);
  EXPECT_EQ(dialogs.boxes.back(), kImportedBox);
  EXPECT_EQ(countAtEachBox.back(), "12 de 12");
  EXPECT_EQ(window().labImportou->text(), "(11 Importados e 0 Alterados)");

  QStringList kept;
  for (int n = 1; n <= kLines; ++n)
    if (n != kRefused) kept << tavrel::test::NumberedCnpj(n);
  EXPECT_EQ(rows("CNPJ_CAM"), kept);
  EXPECT_FALSE(module().Conexao.inTransaction());
}

TEST_F(Import, BothLayoutsStoreAccentedNames) {
  const struct {
    const char* name;
    QString file;
    QByteArray content;
    QStringList stored;  // CNPJ, name, its length in bytes, year, legal nature, CNAE, date
  } cases[] = {
      {"delimited, Windows-1252",
       "partidos.csv",
       Windows1252(PartyCsvLine("11.111.111/0001-11", QString::fromUtf8("PARTIDO DA AÇÃO"),
                                "26/09/2018 14:30") +
                   "\r\n" +
                   CandidateCsvLine("22222222000122", QString::fromUtf8("JOSÉ CONCEIÇÃO"),
                                    "27/09/2018", "2018") +
                   "\r\n"),
       {"11111111000111", QString::fromUtf8("PARTIDO DA AÇÃO"), "15", "2019", "3220", "9492800",
        "2018-09-26 14:30:00.0000",  //
        "22222222000122", QString::fromUtf8("JOSÉ CONCEIÇÃO"), "14", "2018", "4090", "8411600",
        "2018-09-27 00:00:00.0000"}},
      {"fixed columns, UTF-8",
       "candidatos.txt",
       FixedColumnLine("02", "33333333000133",
                       CandidateNameField("2018", QString::fromUtf8("ANTÔNIO GONÇALVES")), "2062",
                       "4711301", "010820180915") +
           "\n" +
           FixedColumnLine("01", "44444444000144", QString::fromUtf8("PARTIDO DEMOCRÁTICO"), "3220",
                           "9492800", "020820181000") +
           "\n",
       {"33333333000133", QString::fromUtf8("ANTÔNIO GONÇALVES"), "17", "2018", "2062", "4711301",
        "2018-08-01 09:15:00.0000",  //
        "44444444000144", QString::fromUtf8("PARTIDO DEMOCRÁTICO"), "19", "2019", "3220", "9492800",
        "2018-08-02 10:00:00.0000"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QStringList cnpjs = {c.stored[0], c.stored[7]};
    run(file(c.file, c.content));
    EXPECT_EQ(dialogs.boxes.back(), kImportedBox);
    EXPECT_EQ(rows("CNPJ_CAM, NOME_CAM, OCTET_LENGTH(NOME_CAM), ANO_CAM, NATJUR_CAM, CNAE_CAM, "
                   "DATACNPJ_CAM",
                   QString("CNPJ_CAM IN ('%1')").arg(cnpjs.join("', '"))),
              c.stored);
  }
}

}  // namespace
