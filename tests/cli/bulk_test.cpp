// The bulk way against the line-by-line one, and a second workstation while it runs.
#include <gtest/gtest.h>
#include <QThread>
#include <atomic>
#include <thread>

#include "CampaignLines.h"
#include "CommandLineRun.h"
#include "NumberedCandidates.h"
#include "QtPrinters.h"
#include "TestServer.h"
#include "firebird/Connection.h"
#include "firebird/Query.h"

namespace tavrel::test {
namespace {

// Rows some earlier import left, and a constraint that refuses two CNPJs: every outcome a line
// can have comes up.
QString EarlierRows() {
  QString sql;
  const auto row = [&](int code, int n, int year, const char* date) {
    sql += QString(
               "INSERT INTO GR_CONTRIB_CAMPANHA (COD_CAM, TIPO_CAM, CNPJ_CAM, NOME_CAM, ANO_CAM, "
               "DATACNPJ_CAM, LOGIN_INC_CAM) VALUES (%1, 'CANDIDATO', '%2', 'ANTES', %3, '%4', "
               "'antes');\n")
               .arg(code)
               .arg(NumberedCnpj(n))
               .arg(year)
               .arg(date);
  };
  row(1, 10, 2019, "2017-05-01 08:00");  // older: rewritten
  row(2, 20, 2019, "2021-05-01 08:00");  // newer: kept
  row(3, 30, 2015, "2017-05-01 08:00");  // another year: kept
  row(4, 40, 2019, "2017-05-01 08:00");  // rewritten twice by the file
  sql += QString(
             "ALTER TABLE GR_CONTRIB_CAMPANHA ADD CONSTRAINT CK_REFUSED CHECK (CNPJ_CAM NOT IN "
             "('%1', '%2'));\nCOMMIT;\n")
             .arg(NumberedCnpj(777), NumberedCnpj(1901));
  return sql;
}

// 2600 lines, over three commits and many blocks: new CNPJs, lines that are no contributors,
// stored rows to rewrite and to keep, a CNPJ twice with a later date, a refused CNPJ twice.
QByteArray MixedFile() {
  QByteArray bytes = "1CABECALHO DO ARQUIVO\n";
  for (int n = 100; n < 2600; ++n) {
    bytes += NumberedCandidate(n) + "\n";
    if (n % 97 == 0) bytes += "9RODAPE\n";
    if (n == 300 || n == 1500) bytes += NumberedCandidates({10, 20, 30, 777});
    if (n == 1200)
      bytes += FixedColumnLine("02", NumberedCnpj(40), CandidateNameField("2019", "PRIMEIRA"),
                               "4090", "8411600", "010120191000") +
               "\n";
    if (n == 2400)
      bytes += FixedColumnLine("02", NumberedCnpj(40), CandidateNameField("2019", "SEGUNDA"),
                               "4090", "8411600", "010120201000") +
               "\n" +
               FixedColumnLine("02", NumberedCnpj(150), CandidateNameField("2019", "DE NOVO"),
                               "4090", "8411600", "010120201000") +
               "\n";
  }
  return bytes;
}

// Every column but the times of the stamps, which only say when each run wrote.
const QString kCompared =
    "COD_CAM, TIPO_CAM, CNPJ_CAM, NOME_CAM, ANO_CAM, COD_TOM_CAM, NATJUR_CAM, CNAE_CAM, "
    "DATACNPJ_CAM, LOGIN_INC_CAM, LOGIN_ALT_CAM, "
    "CASE WHEN DTA_INC_CAM IS NULL THEN 'sem' ELSE 'com' END, "
    "CASE WHEN DTA_ALT_CAM IS NULL THEN 'sem' ELSE 'com' END";

// The run's report on standard error, without its progress and the path of its audit file.
QString Report(const CommandResult& result) {
  QStringList lines = result.err.split('\n');
  lines.removeIf([](const QString& line) {
    return line.contains("linhas/s") || line.startsWith("Auditoria:");
  });
  return lines.join('\n');
}

TEST(Bulk, MergesTheSameRowsCountsAndOutcomesAsLineByLine) {
  InstalledCommand lineByLine, bulk;
  CampaignFiles files;
  for (const InstalledCommand* command : {&lineByLine, &bulk})
    TestServer::isql(command->install.database, EarlierRows());
  const QString path = files.write("misturado.txt", MixedFile());
  const QString lineAudit = files.write("linha.csv", "");
  const QString bulkAudit = files.write("bloco.csv", "");

  const auto serverNow = [&] {
    return bulk.values("SELECT " + TestServer::localTimestamp() + " FROM RDB$DATABASE").value(0);
  };
  const std::string before = serverNow().toStdString();
  const CommandResult byLine =
      lineByLine.run({"--login=ana", "--year=2019", "--log=" + lineAudit, path});
  const CommandResult inBlocks =
      bulk.run({"--bulk", "--login=ana", "--year=2019", "--log=" + bulkAudit, path});
  const std::string after = serverNow().toStdString();

  ASSERT_EQ(byLine.status, 0) << byLine.err.toStdString();
  ASSERT_EQ(inBlocks.status, 0) << inBlocks.err.toStdString();
  EXPECT_EQ(Report(inBlocks), Report(byLine));
  EXPECT_TRUE(Report(byLine).contains("(2498 Importados e 4 Alterados)"))
      << Report(byLine).toStdString();
  EXPECT_EQ(bulk.rows(kCompared), lineByLine.rows(kCompared));
  const QList<QStringList> outcomes = AuditRows(lineAudit);
  EXPECT_EQ(AuditRows(bulkAudit), outcomes);
  for (const char* count : {"Importados", "Alterados", "Mantidos", "Recusados pelo banco"})
    EXPECT_EQ(AuditFooter(bulkAudit, count), AuditFooter(lineAudit, count)) << count;
  EXPECT_EQ(AuditFooter(bulkAudit, "Recusados pelo banco"), "4");

  // Each row stamped by the server's clock as it was written, not once for the run.
  const QStringList stamps = bulk.values(
      "SELECT MIN(DTA_INC_CAM), MAX(DTA_INC_CAM) FROM GR_CONTRIB_CAMPANHA "
      "WHERE LOGIN_INC_CAM = 'ana'");
  ASSERT_EQ(stamps.size(), 2);
  const std::string first = stamps[0].toStdString(), last = stamps[1].toStdString();
  EXPECT_LT(first, last);
  EXPECT_GE(first, before);
  EXPECT_LE(last, after);
  EXPECT_EQ(bulk.values("SELECT COUNT(*) FROM GR_CONTRIB_CAMPANHA "
                        "WHERE DTA_ALT_CAM IS NOT NULL AND LOGIN_ALT_CAM = 'ana'"),
            QStringList{"3"});
}

TEST(Bulk, KeepsOtherWritersWaitingUntilItEndsWhileTheyRead) {
  constexpr int kLines = 60000;
  InstalledCommand command;
  CampaignFiles files;
  const QString path = files.write("grande.txt", NumberedCandidates(1, kLines));
  const auto process =
      command.start({"--bulk", "--quiet", "--log=none", "--login=ana", "--year=2019", path});
  // Another workstation reads what the run has committed so far.
  int seen = 0;
  while ((seen = command.rowCount()) == 0 && process->state() == QProcess::Running)
    QThread::msleep(20);
  ASSERT_EQ(process->state(), QProcess::Running) << "the run ended before it could be watched";
  EXPECT_GT(seen, 0);
  EXPECT_LT(seen, kLines);

  // And tries to write a row of its own.
  std::atomic<bool> written = false;
  std::string failure;
  std::thread other([&] {
    try {
      fb::Connection connection;
      connection.params.libraryPath = TestServer::clientLibrary();
      connection.params.database = TestServer::connectString(command.install.database);
      connection.params.user = "SYSDBA";
      connection.params.password = TestServer::password("SYSDBA");
      connection.startTransaction();
      fb::Query(connection,
                "INSERT INTO GR_CONTRIB_CAMPANHA (COD_CAM, CNPJ_CAM, ANO_CAM) "
                "VALUES (900000, '99999999000199', 2019)")
          .execSQL();
      connection.commit();
      written = true;
    } catch (const std::exception& e) {
      failure = e.what();
    }
  });
  QThread::msleep(1500);
  const bool runningMeanwhile = process->state() == QProcess::Running;
  const bool writtenMeanwhile = written;
  const CommandResult result = InstalledCommand::finish(*process);
  other.join();

  ASSERT_TRUE(runningMeanwhile) << "the run ended before the other write could be seen waiting";
  EXPECT_FALSE(writtenMeanwhile);
  EXPECT_EQ(result.status, 0) << result.err.toStdString();
  EXPECT_TRUE(written) << failure;
  EXPECT_EQ(command.rowCount(), kLines + 1);
  EXPECT_EQ(command.values("SELECT MAX(COD_CAM) FROM GR_CONTRIB_CAMPANHA WHERE COD_CAM < 900000"),
            QStringList{QString::number(kLines)});
}

}  // namespace
}  // namespace tavrel::test
