// Two workstations import into the same table at once: this window, and another program started
// as a separate process on the same installation. Each holds its run's transaction open, so
// neither sees the other's new rows, and both take the same next free code.
#include <QLabel>
#include <QProcess>
#include <QSet>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "ImportSession.h"
#include "LabelWatch.h"
#include "NumberedCandidates.h"
#include "QtPrinters.h"
#include "common/InstallDir.h"
#include "data/UDM.h"
#include "firebird/Query.h"
#include "ui/UTavrel.h"

using namespace tavrel::test;

namespace {

const QString kDuplicateKey = QString::fromUtf8(
    "box 2|Erro|Atenção!!! \\r\\rViolação de Chave Primária! Registro já Existe...\\r\\rA "
    "Operação será cancelada.");
const QString kImported = "box 1|Information|CNPJ dos Candidatos/Partidos Importado!";

// True once the process with this id runs an insert that does not end: one that waits for
// another transaction's lock. Asked of the server's monitoring tables, afresh every 50 ms.
bool WaitsOnALock(const QString& database, qint64 pid) {
  fb::Connection monitor;
  monitor.params.database = TestServer::connectString(database);
  monitor.params.user = "SYSDBA";
  monitor.params.password = TestServer::password("SYSDBA");
  const QString sql = QString(
                          "SELECT COUNT(*) FROM MON$STATEMENTS s JOIN MON$ATTACHMENTS a "
                          "ON a.MON$ATTACHMENT_ID = s.MON$ATTACHMENT_ID "
                          "WHERE a.MON$REMOTE_PID = %1 AND s.MON$STATE = 1 "
                          "AND s.MON$SQL_TEXT CONTAINING 'insert into'")
                          .arg(pid);
  for (int attempt = 0; attempt < 600; ++attempt) {
    fb::Query running(monitor, sql);
    running.open();
    if (running.statement().integer(0) > 0) return true;
    running.close();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

using TwoWorkstations = ImportSession;

TEST_F(TwoWorkstations, TheSecondWaitsForTheFirstsCommitAndIsRefusedTheCodeBothTook) {
  // 900 is in both files; 200, the other one's first line, is new to both.
  const QString mine = file("estacao_a.txt", NumberedCandidates({101, 900, 102, 103, 104}));
  const QString theirs = file("estacao_b.txt", NumberedCandidates({200, 900, 201, 202}));
  QString installDir = InstallDir();
  installDir.chop(1);

  QProcess other;
  bool otherWaited = false;
  bool otherRanOnToMyCommit = false;
  QByteArray otherToldBeforeMyCommit;
  LabelWatch count(window().LabCount);
  // This run has stored 101 and 900 as codes 1 and 2, not yet committed.
  count.when("2 de 5", [&] {
    other.start(TAVREL_IMPORT_WORKSTATION, {installDir, theirs, "estacaoB"});
    ASSERT_TRUE(other.waitForStarted());
    otherWaited = WaitsOnALock(install.database, other.processId());
  });
  // The last line is stored; the commit comes next.
  count.when("5 de 5", [&] {
    other.waitForReadyRead(200);
    otherToldBeforeMyCommit = other.readAllStandardOutput();
    otherRanOnToMyCommit = other.state() == QProcess::Running;
  });

  run(mine);
  ASSERT_TRUE(other.waitForFinished(120'000));
  const QString told = QString::fromUtf8(otherToldBeforeMyCommit + other.readAllStandardOutput());
  SCOPED_TRACE("the other workstation told:\n" + told.toStdString());

  // The other one's first insert, code 1 again, waited on this run's lock until the commit.
  EXPECT_TRUE(otherWaited);
  EXPECT_TRUE(otherRanOnToMyCommit);
  EXPECT_EQ(otherToldBeforeMyCommit, QByteArray());
  EXPECT_EQ(program.boxes.boxes,
            (std::vector<RecordingDialogs::Box>{{dialogs::BoxKind::Information, "Information",
                                                 "CNPJ dos Candidatos/Partidos Importado!"}}));
  EXPECT_EQ(window().labImportou->text(), "(5 Importados e 0 Alterados)");
  EXPECT_FALSE(module().Conexao.inTransaction());

  // Then it was refused code 1, by now committed here, for its 200: reported, not counted, not
  // stored, and pending in its cache, so it comes back with its message at each later apply (not
  // after 900, which it found committed and left alone). Its other rows took the codes after
  // this run's.
  EXPECT_EQ(
      told.split('\n', Qt::SkipEmptyParts),
      (QStringList{kDuplicateKey, "count 1 de 4", "count 2 de 4", kDuplicateKey, "count 3 de 4",
                   kDuplicateKey, "count 4 de 4", kImported,
                   "imported (2 Importados e 0 Alterados)", "pending 1", "transaction none"}));
  EXPECT_EQ(rows("COD_CAM, CNPJ_CAM, LOGIN_INC_CAM"),
            (QStringList{"1", NumberedCnpj(101), "operador", "2", NumberedCnpj(900), "operador",
                         "3", NumberedCnpj(102), "operador", "4", NumberedCnpj(103), "operador",
                         "5", NumberedCnpj(104), "operador", "6", NumberedCnpj(201), "estacaoB",
                         "7", NumberedCnpj(202), "estacaoB"}));
  const QStringList cnpjs = rows("CNPJ_CAM");
  EXPECT_EQ(QSet<QString>(cnpjs.begin(), cnpjs.end()).size(), cnpjs.size());
}

}  // namespace
