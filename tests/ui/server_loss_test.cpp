// The database server dies in the middle of an import, between two lines or inside one chosen
// write (the insert of a new row, the rewrite of a known one, the clock reading that stamps a
// row, a 1000-line commit), or before a search. Whether the server is back before the operator
// answers the run's error box or still down, the run ends there, the table holds exactly what was
// committed before, nothing is written outside the run's transaction, and the same window
// searches and imports again, storing the rest once.
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <thread>

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

fb::AttachParams Sysdba(const OwnServer& server, const QString& database) {
  fb::AttachParams params;
  params.database = QString("localhost/%1:%2").arg(server.port).arg(database);
  params.user = "SYSDBA";
  params.password = TestServer::password("SYSDBA");
  return params;
}

void Execute(const OwnServer& server, const QString& database, const QStringList& statements) {
  fb::Connection connection;
  connection.params = Sysdba(server, database);
  for (const QString& sql : statements) fb::Query(connection, sql).execSQL();
}

// What another attachment finds committed: rows, distinct CNPJs, lowest and highest code.
QStringList Committed(const OwnServer& server, const QString& database) {
  fb::Connection other;
  other.params = Sysdba(server, database);
  fb::Query totals(other,
                   "SELECT COUNT(*), COUNT(DISTINCT CNPJ_CAM), MIN(COD_CAM), MAX(COD_CAM) "
                   "FROM GR_CONTRIB_CAMPANHA");
  totals.open();
  QStringList values;
  for (int column = 0; column < 4; ++column)
    values << QString::number(totals.statement().integer(column));
  return values;
}

// The program, shown, on a database of a server of the test's own.
class ServerLoss : public ::testing::Test {
 protected:
  void SetUp() override {
    server.createDatabase(install.database);
    program.start({"tavrel", "operador"});
  }

  OwnServer server;
  Installation install{"SYSDBA", server.port};
  RunningProgram program;
};

TEST_F(ServerLoss, RunKeepsItsCommitsAndTheWindowWorksOnOnceTheServerIsBack) {
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

TEST_F(ServerLoss, ASearchThatFindsTheServerGoneIsReportedAndTheNextOneAttachesAgain) {
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

// Makes the program's write of a chosen CNPJ wait inside the server, and kills the server while it
// waits. A trigger holds the write (the insert or the rewrite of that CNPJ, or the commit of a
// transaction that wrote it) on a row this object keeps locked, after marking the write in a
// table through a transaction of its own; a thread watching that table sees the mark and kills
// the server.
class WriteHold {
 public:
  WriteHold(OwnServer& server, const QString& database) : server_(server) {
    Execute(server, database,
            {"CREATE TABLE LOSS_HOLD (ID INTEGER, N INTEGER)",
             "CREATE TABLE LOSS_POINT (STEP VARCHAR(10), CNPJ VARCHAR(20))",
             "CREATE TABLE LOSS_MARK (STEP VARCHAR(10))", "INSERT INTO LOSS_HOLD VALUES (1, 0)",
             "GRANT ALL ON LOSS_HOLD TO PUBLIC", "GRANT ALL ON LOSS_POINT TO PUBLIC",
             "GRANT ALL ON LOSS_MARK TO PUBLIC",
             "CREATE TRIGGER LOSS_IN_WRITE FOR GR_CONTRIB_CAMPANHA BEFORE INSERT OR UPDATE AS "
             "DECLARE R INTEGER; BEGIN "
             "  IF (EXISTS (SELECT 1 FROM LOSS_POINT WHERE CNPJ = NEW.CNPJ_CAM "
             "              AND STEP = IIF(INSERTING, 'INSERT', 'UPDATE'))) THEN BEGIN "
             "    IN AUTONOMOUS TRANSACTION DO INSERT INTO LOSS_MARK VALUES ('write'); "
             "    UPDATE LOSS_HOLD SET N = N + 1 WHERE ID = 1; "
             "  END "
             "  IF (EXISTS (SELECT 1 FROM LOSS_POINT WHERE CNPJ = NEW.CNPJ_CAM "
             "              AND STEP = 'COMMIT')) THEN "
             "    R = RDB$SET_CONTEXT('USER_TRANSACTION', 'LOSS_AT_COMMIT', '1'); "
             "END",
             "CREATE TRIGGER LOSS_IN_COMMIT ON TRANSACTION COMMIT AS "
             "BEGIN "
             "  IF (RDB$GET_CONTEXT('USER_TRANSACTION', 'LOSS_AT_COMMIT') = '1') THEN BEGIN "
             "    IN AUTONOMOUS TRANSACTION DO INSERT INTO LOSS_MARK VALUES ('commit'); "
             "    UPDATE LOSS_HOLD SET N = N + 1 WHERE ID = 1; "
             "  END "
             "END"});
    holder_.params = watcher_.params = Sysdba(server, database);
  }
  ~WriteHold() {
    if (watching_.joinable()) watching_.join();
  }

  // From now on the step ("INSERT", "UPDATE" or "COMMIT") of cnpj is where the server dies.
  void arm(const QString& step, const QString& cnpj) {
    fb::Query(holder_, QString("INSERT INTO LOSS_POINT VALUES ('%1', '%2')").arg(step, cnpj))
        .execSQL();
    holder_.startTransaction();
    fb::Query(holder_, "UPDATE LOSS_HOLD SET N = N + 1 WHERE ID = 1").execSQL();
    watcher_.attachment();  // attached here: the client library is loaded by this thread
    const int pid = QString::fromLatin1(readPid()).trimmed().toInt();
    watching_ = std::thread([this, pid] { watch(pid); });
  }

  // Once the server is back: no write is held any more.
  void disarm(const QString& database) {
    if (watching_.joinable()) watching_.join();
    Execute(server_, database, {"DELETE FROM LOSS_POINT"});
  }

  // The server was killed while the write was held, not because the hold never came.
  bool killedInside() const { return killedInside_; }

 private:
  QByteArray readPid() const {
    QFile file(server_.dir.filePath("pid"));
    file.open(QIODevice::ReadOnly);
    return file.readAll();
  }

  void watch(int pid) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
      fb::Query marks(watcher_, "SELECT COUNT(*) FROM LOSS_MARK");
      marks.open();
      if (marks.statement().integer(0) > 0) {
        killedInside_ = true;
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    // Killed also when the hold never came, so that a write waiting unseen cannot hang the test.
    ::kill(pid, SIGKILL);
  }

  OwnServer& server_;
  fb::Connection holder_;
  fb::Connection watcher_;
  std::thread watching_;
  std::atomic<bool> killedInside_ = false;
};

// The rows of the table by code: code and CNPJ of each.
QStringList CodesAndCnpjs(const OwnServer& server, const QString& database) {
  fb::Connection connection;
  connection.params = Sysdba(server, database);
  fb::Query rows(connection, "SELECT COD_CAM, CNPJ_CAM FROM GR_CONTRIB_CAMPANHA ORDER BY COD_CAM");
  QStringList values;
  for (rows.open(); !rows.eof(); rows.next()) {
    values << QString("%1 %2")
                  .arg(rows.statement().integer(0))
                  .arg(QString::fromLatin1(rows.statement().bytes(1)));
  }
  return values;
}

int RowsWithLaterDates(const OwnServer& server, const QString& database) {
  fb::Connection connection;
  connection.params = Sysdba(server, database);
  fb::Query later(
      connection,
      "SELECT COUNT(*) FROM GR_CONTRIB_CAMPANHA WHERE DATACNPJ_CAM > '2018-09-26 14:30'");
  later.open();
  return static_cast<int>(later.statement().integer(0));
}

// Candidates first to first + count - 1, each with its code equal to its number.
QStringList Numbered(int first, int count) {
  QStringList values;
  for (int n = first; n < first + count; ++n)
    values << QString("%1 %2").arg(n).arg(NumberedCnpj(n));
  return values;
}

// Candidate n again, a day later: a line that rewrites the stored row.
QByteArray LaterCandidate(int n) {
  return FixedColumnLine("02", NumberedCnpj(n), CandidateNameField("2019", NumberedName(n)), "4090",
                         "8411600", "270920181430");
}

enum class Step { Insert, Update, Clock, Commit };

struct LossCase {
  const char* name;
  Step step;
  bool backBeforeTheAnswer;
};

std::ostream& operator<<(std::ostream& out, const LossCase& c) {
  return out << c.name;
}

class WriteLoss : public ::testing::TestWithParam<LossCase> {};

TEST_P(WriteLoss, EndsTheRunWithItsCommitsKeptAndTheSameFileImportsAgainWhole) {
  if (TestServer::serverVersion() < QVersionNumber(2, 5))
    GTEST_SKIP() << "Firebird " << TestServer::serverVersion().toString().toStdString()
                 << " has no autonomous transactions, which mark the write the server dies in";
  const LossCase& loss = GetParam();
  OwnServer server;
  Installation install("SYSDBA", server.port);
  server.createDatabase(install.database);
  WriteHold hold(server, install.database);

  // Per step: the file, the line in whose work the server dies, and what the whole file gives.
  QByteArray file;
  int lossLine = 0;
  int newRows = 0;
  int rewrites = 0;
  switch (loss.step) {
    case Step::Insert:
      file = NumberedCandidates(1, 1500);
      lossLine = 1200;
      hold.arm("INSERT", NumberedCnpj(1200));
      newRows = 1500;
      break;
    case Step::Update:
      file = NumberedCandidates(1, 1200);
      for (int n = 1; n <= 100; ++n) file += LaterCandidate(n) + "\n";
      lossLine = 1250;
      hold.arm("UPDATE", NumberedCnpj(50));
      newRows = 1200;
      rewrites = 100;
      break;
    case Step::Clock:
      // Line 1200 is refused; its insert is sent again, with its box again, before line 1201's
      // own change is stamped. The server dies while that second box is up, so the clock reading
      // of line 1201 is the first thing to find it gone.
      file = NumberedCandidates(1, 1500);
      lossLine = 1201;
      Execute(server, install.database,
              {QString("ALTER TABLE GR_CONTRIB_CAMPANHA ADD CONSTRAINT REFUSED_CNPJ "
                       "CHECK (CNPJ_CAM <> '%1')")
                   .arg(NumberedCnpj(1200))});
      newRows = 1500;
      break;
    case Step::Commit:
      file = NumberedCandidates(1, 2100);
      lossLine = 2000;
      hold.arm("COMMIT", NumberedCnpj(1500));
      newRows = 2100;
      break;
  }
  QTemporaryDir files;
  const QString path = files.filePath("campanha.txt");
  WriteFile(path, file);

  RunningProgram program;
  program.start({"tavrel", "operador"});
  TFTavrel& window = program.window();
  Tdm& module = program.module();
  std::vector<RecordingDialogs::Box>& boxes = program.boxes.boxes;
  ASSERT_TRUE(boxes.empty());
  int refusals = 0;
  program.boxes.onBox = [&](const RecordingDialogs::Box& box) {
    if (box.caption == "Erro" && ++refusals == 2) server.kill();
    if (box.text.startsWith(kFailed) && loss.backBeforeTheAnswer)
      install.writeVoqIni(server.start());
  };
  window.edtCaminhoCNPJ->setText(path);
  window.btnImportar->click();
  program.boxes.onBox = nullptr;

  if (loss.step != Step::Clock) EXPECT_TRUE(hold.killedInside());
  // The run's box with the loss's text, after the refused line's two boxes in the clock case.
  const std::size_t first = loss.step == Step::Clock ? 2 : 0;
  ASSERT_GT(boxes.size(), first);
  if (loss.step == Step::Clock) {
    EXPECT_EQ(boxes[0].caption, "Erro");
    EXPECT_EQ(boxes[1], boxes[0]);
  }
  EXPECT_EQ(boxes[first].kind, dialogs::BoxKind::Error);
  EXPECT_TRUE(boxes[first].text.startsWith(kFailed)) << boxes[first].text.toStdString();
  EXPECT_TRUE(boxes[first].text.contains("connection")) << boxes[first].text.toStdString();
  if (loss.backBeforeTheAnswer) {
    // The cache was read again and the search found the committed rows.
    EXPECT_EQ(boxes.size(), first + 1);
    ASSERT_TRUE(module.cdsCAM.active());
    EXPECT_EQ(module.cdsCAM.recordCount(), 1000);
    EXPECT_EQ(window.LabCount->text(), "1000 Registros.");
  } else {
    // Neither the cache nor the search could reach the server: each says so. A server still
    // dying as the attach comes can take the connection and drop it at once.
    ASSERT_EQ(boxes.size(), first + 3);
    for (const RecordingDialogs::Box& box : {boxes[first + 1], boxes[first + 2]}) {
      EXPECT_EQ(box.kind, dialogs::BoxKind::Error);
      EXPECT_TRUE(box.text.startsWith("Unable to complete network request") ||
                  box.text.startsWith("connection rejected by remote interface"))
          << box.text.toStdString();
    }
    EXPECT_FALSE(module.cdsCAM.active()) << "read afresh by the next run";
    install.writeVoqIni(server.start());
  }
  // No line was read after the one whose work met the loss.
  EXPECT_EQ(window.LabCNPJ->text(), QString::fromLatin1(file.split('\n')[lossLine - 1]));
  EXPECT_EQ(window.pb->value(), lossLine - 1);
  EXPECT_FALSE(module.Conexao.holdsTransaction());
  EXPECT_EQ(CodesAndCnpjs(server, install.database), Numbered(1, 1000));
  EXPECT_EQ(RowsWithLaterDates(server, install.database), 0);

  hold.disarm(install.database);
  if (loss.step == Step::Clock) {
    Execute(server, install.database,
            {"ALTER TABLE GR_CONTRIB_CAMPANHA DROP CONSTRAINT REFUSED_CNPJ"});
  }
  boxes.clear();
  window.btnImportar->click();
  EXPECT_EQ(boxes, std::vector{kImported});
  EXPECT_EQ(window.labImportou->text(),
            QString("(%1 Importados e %2 Alterados)").arg(newRows - 1000).arg(rewrites));
  EXPECT_FALSE(module.Conexao.holdsTransaction());
  EXPECT_EQ(CodesAndCnpjs(server, install.database), Numbered(1, newRows));
  EXPECT_EQ(RowsWithLaterDates(server, install.database), rewrites);
}

INSTANTIATE_TEST_SUITE_P(InsideEachWrite, WriteLoss,
                         ::testing::Values(LossCase{"InsertServerBack", Step::Insert, true},
                                           LossCase{"InsertServerDown", Step::Insert, false},
                                           LossCase{"UpdateServerBack", Step::Update, true},
                                           LossCase{"UpdateServerDown", Step::Update, false},
                                           LossCase{"ClockServerBack", Step::Clock, true},
                                           LossCase{"ClockServerDown", Step::Clock, false},
                                           LossCase{"CommitServerBack", Step::Commit, true},
                                           LossCase{"CommitServerDown", Step::Commit, false}),
                         [](const ::testing::TestParamInfo<LossCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
