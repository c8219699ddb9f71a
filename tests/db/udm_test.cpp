#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QFile>

#include "Installation.h"
#include "NoDialogs.h"
#include "TestServer.h"
#include "common/InstallDir.h"
#include "data/UDM.h"
#include "firebird/Error.h"
#include "firebird/Query.h"

using tavrel::test::Installation;
using tavrel::test::TestServer;

namespace {

// Sets QEBVOQ's password for the life of the object, so that the account cannot log in.
class QebvoqLockedOut {
 public:
  QebvoqLockedOut() { TestServer::setPassword("QEBVOQ", "trancado"); }
  ~QebvoqLockedOut() { TestServer::setPassword("QEBVOQ", TestServer::password("QEBVOQ")); }
};

// The selection and the connections show nothing: any box fails the test.
class AccountSelection : public ::testing::Test {
  NoDialogs silent_;
};
using ConAUX = AccountSelection;
using Conexao = AccountSelection;

QString single(fb::Connection& connection, const QString& sql) {
  fb::Query q(connection, sql);
  q.open();
  EXPECT_FALSE(q.eof()) << sql.toStdString();
  return q.statement().text(0).trimmed();
}

TEST_F(AccountSelection, QebvoqOnADatabaseOwnedBySomeoneElseIsChosenWithoutRoleWork) {
  Installation install("SYSDBA");
  Tdm module;
  EXPECT_EQ(module.UserBanco, "QEBVOQ");
  EXPECT_FALSE(module.ConAUX.connected());
  EXPECT_FALSE(module.Conexao.connected());
  EXPECT_EQ(TestServer::values(install.database,
                               "SELECT COUNT(*) FROM RDB$ROLES WHERE RDB$ROLE_NAME = 'SYSDBA'"),
            QStringList{"0"});
}

// Firebird 3 and later refuse a direct insert into a system table.
bool serverTakesTheRoleRow() {
  return TestServer::serverVersion() < QVersionNumber(3);
}

TEST_F(AccountSelection, RefusedRoleInsertOnADatabaseOwnedByQebvoqFallsBackToSysdba) {
  if (serverTakesTheRoleRow())
    GTEST_SKIP() << "Firebird " << TestServer::serverVersion().toString().toStdString()
                 << " accepts the direct INSERT INTO RDB$ROLES (see RoleRow)";
  Installation install("QEBVOQ");
  Tdm module;
  EXPECT_EQ(module.UserBanco, "SYSDBA");
  EXPECT_FALSE(module.ConAUX.connected());
}

// Firebird 2.x takes the role row the selection inserts into a database QEBVOQ owns: a role
// named SYSDBA, after which SYSDBA cannot attach to that database at all. It is what keeps
// SYSDBA out; the database is then read as QEBVOQ.
class RoleRow : public AccountSelection {
 protected:
  void SetUp() override {
    if (!serverTakesTheRoleRow())
      GTEST_SKIP() << "Firebird " << TestServer::serverVersion().toString().toStdString()
                   << " refuses the direct INSERT INTO RDB$ROLES";
    install = std::make_unique<Installation>("QEBVOQ");
  }

  QStringList roleRows() {
    return TestServer::values(install->database,
                              "SELECT TRIM(RDB$ROLE_NAME) || ' ' || TRIM(RDB$OWNER_NAME) "
                              "FROM RDB$ROLES WHERE RDB$ROLE_NAME = 'SYSDBA'",
                              "QEBVOQ");
  }

  std::unique_ptr<Installation> install;
};

const char kSysdbaIsARole[] = "Your login SYSDBA is same as one of the SQL role name";

TEST_F(RoleRow, IsInsertedOwnedByQebvoqAndTheAccountIsQebvoq) {
  ASSERT_EQ(roleRows(), QStringList{}) << "before the selection";
  Tdm module;
  EXPECT_EQ(module.UserBanco, "QEBVOQ");
  EXPECT_FALSE(module.ConAUX.connected());
  EXPECT_EQ(roleRows(), QStringList{"SYSDBA QEBVOQ"});
  EXPECT_EQ(single(module.Conexao, "SELECT CURRENT_USER FROM RDB$DATABASE"), "QEBVOQ");
}

TEST_F(RoleRow, KeepsSysdbaOutOfTheDatabase) {
  { Tdm module; }
  // Through isql-fb and through the client library under test alike.
  const auto isql = TestServer::runIsql(install->database, "SELECT 1 FROM RDB$DATABASE;\n");
  EXPECT_TRUE(isql.output.contains(kSysdbaIsARole)) << isql.output.toStdString();
  fb::Connection sysdba;
  sysdba.params.libraryPath = TestServer::clientLibrary();
  sysdba.params.database = TestServer::connectString(install->database);
  sysdba.params.user = "SYSDBA";
  sysdba.params.password = TestServer::password("SYSDBA");
  try {
    sysdba.open();
    FAIL() << "SYSDBA attached";
  } catch (const fb::Error& e) {
    EXPECT_TRUE(e.message().contains(kSysdbaIsARole)) << e.what();
  }
  EXPECT_FALSE(sysdba.connected());
}

// A second insert of the same role name would fail and give SYSDBA.
TEST_F(RoleRow, NextStartFindsTheRowAndInsertsNothing) {
  { Tdm first; }
  Tdm next;
  EXPECT_EQ(next.UserBanco, "QEBVOQ");
  EXPECT_EQ(roleRows(), QStringList{"SYSDBA QEBVOQ"});
}

TEST_F(AccountSelection, NoSettingsFileTriesTheDefaultsAndGivesSysdba) {
  Installation install("SYSDBA");
  ASSERT_TRUE(QFile::remove(InstallDir() + "voq.ini"));
  Tdm module;
  EXPECT_EQ(module.UserBanco, "SYSDBA");
  EXPECT_FALSE(module.ConAUX.connected());
  EXPECT_EQ(module.ConAUX.params.database, "localhost/3050:SGB_DADOS\\VOQDADOS.FDB");
  EXPECT_EQ(module.ConAUX.params.libraryPath,
            "C:\\Arquivos de programas\\Firebird\\Firebird_2_1\\bin\\fbclient.dll");
  EXPECT_EQ(module.ConAUX.params.user, "QEBVOQ");
}

TEST_F(AccountSelection, QebvoqUnableToLogInGivesSysdbaAndConexaoAttachesAsSysdba) {
  Installation install("SYSDBA");
  std::unique_ptr<Tdm> module;
  {
    QebvoqLockedOut lockedOut;
    module = std::make_unique<Tdm>();
  }
  EXPECT_EQ(module->UserBanco, "SYSDBA");
  EXPECT_FALSE(module->ConAUX.connected());
  EXPECT_EQ(single(module->Conexao, "SELECT CURRENT_USER FROM RDB$DATABASE"), "SYSDBA");
  EXPECT_EQ(module->PassBanco, "tulipvane");
}

TEST_F(AccountSelection, UnreachableServerGivesSysdbaSilentlyAndAtOnce) {
  Installation install("SYSDBA", /*a port nothing listens on*/ 1);
  QElapsedTimer timer;
  timer.start();
  Tdm module;
  EXPECT_EQ(module.UserBanco, "SYSDBA");
  EXPECT_FALSE(module.ConAUX.connected());
  // A refused connection fails at once; this only guards against a retry loop or a hang.
  EXPECT_LT(timer.elapsed(), 20000);
}

// What the server says of the connection: its user, role and character set, then 1/2, which
// dialect 3 divides as integers (0) and dialect 1 would not (0.5).
QString AttachedAs(fb::Connection& connection) {
  return single(connection,
                "SELECT TRIM(CURRENT_USER) || ' ' || TRIM(CURRENT_ROLE) || ' ' || "
                "TRIM(C.RDB$CHARACTER_SET_NAME) || ' ' || (1/2) FROM MON$ATTACHMENTS A "
                "JOIN RDB$CHARACTER_SETS C ON C.RDB$CHARACTER_SET_ID = A.MON$CHARACTER_SET_ID "
                "WHERE A.MON$ATTACHMENT_ID = CURRENT_CONNECTION");
}

TEST_F(Conexao, AttachesOnFirstUseWithRoleCharsetAndDialect) {
  Installation install("SYSDBA");
  TestServer::isql(install.database, "CREATE ROLE ROLENAME; GRANT ROLENAME TO QEBVOQ;");
  Tdm module;
  ASSERT_EQ(module.UserBanco, "QEBVOQ");
  EXPECT_FALSE(module.Conexao.connected());
  EXPECT_TRUE(module.PassBanco.isEmpty());

  EXPECT_EQ(AttachedAs(module.Conexao), "QEBVOQ ROLENAME WIN1252 0");
  EXPECT_TRUE(module.Conexao.connected());
  EXPECT_EQ(module.PassBanco, "bromel");
}

// ConAUX keeps what the selection gave it; attached again, the server shows the role, the
// character set and the dialect it asks for.
TEST_F(ConAUX, AttachesAsQebvoqWithRoleCharsetAndDialect) {
  Installation install("SYSDBA");
  TestServer::isql(install.database, "CREATE ROLE ROLENAME; GRANT ROLENAME TO QEBVOQ;");
  Tdm module;
  ASSERT_EQ(module.UserBanco, "QEBVOQ");
  ASSERT_FALSE(module.ConAUX.connected());

  EXPECT_EQ(AttachedAs(module.ConAUX), "QEBVOQ ROLENAME WIN1252 0");
  EXPECT_FALSE(module.Conexao.connected());
  module.ConAUX.close();
}

TEST_F(Conexao, AttachesThroughTheClientLibraryThatVoqIniNames) {
  if (TestServer::serverVersion() < QVersionNumber(3))
    GTEST_SKIP() << "Firebird " << TestServer::serverVersion().toString().toStdString()
                 << " has no MON$CLIENT_VERSION to tell the client library by";
  Installation install("SYSDBA");
  Tdm module;
  if (TestServer::clientRelease() < QVersionNumber(3)) {
    // A Firebird 2.x client tells no version and logs in only the legacy way, which the default
    // client, Firebird 3's, never does here (Srp).
    EXPECT_EQ(
        single(
            module.Conexao,
            "SELECT COALESCE(NULLIF(MON$CLIENT_VERSION, ''), '-') || ' ' || TRIM(MON$AUTH_METHOD) "
            "FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION"),
        "- Legacy_Auth");
    return;
  }
  // The client library tells the server its version at attach.
  const QString attachedThrough = single(module.Conexao,
                                         "SELECT MON$CLIENT_VERSION FROM MON$ATTACHMENTS "
                                         "WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION");
  const QString client = TestServer::clientVersion();
  // Past the first blank: the product and its version; the library's own version number before
  // it starts with InterBase's 6.3.
  EXPECT_EQ(attachedThrough.section(' ', 1).toStdString(), client.section(' ', 1).toStdString());
}

TEST_F(Conexao, RoundTripsAccentedTextThroughAWin1252Column) {
  Installation install("SYSDBA");
  Tdm module;
  fb::Query insert(module.Conexao,
                   "INSERT INTO GR_CONTRIB_CAMPANHA (COD_CAM, NOME_CAM) VALUES (1, ?)");
  insert.statement().setText(0, QString::fromUtf8("AÇÃO ÉÍÓ"));
  insert.execSQL();
  EXPECT_EQ(single(module.Conexao, "SELECT NOME_CAM FROM GR_CONTRIB_CAMPANHA"),
            QString::fromUtf8("AÇÃO ÉÍÓ"));
  EXPECT_EQ(TestServer::values(install.database,
                               "SELECT OCTET_LENGTH(NOME_CAM) FROM GR_CONTRIB_CAMPANHA"),
            QStringList{"8"});
}

TEST_F(Conexao, PicksUpAChangedSettingsFileWhenOpenedAgain) {
  Installation first("SYSDBA");
  Tdm module;
  single(module.Conexao, "SELECT 1 FROM RDB$DATABASE");
  module.Conexao.close();

  // The same voq.ini now names a server where nothing listens.
  first.writeVoqIni(1);
  EXPECT_FALSE(module.Reconectar());
  EXPECT_FALSE(module.Conexao.connected());

  first.writeVoqIni(TestServer::port());
  EXPECT_TRUE(module.Reconectar());
  EXPECT_TRUE(module.Conexao.connected());
  EXPECT_TRUE(module.Reconectar()) << "already open";
}

TEST_F(Conexao, DestroyingTheModuleClosesBothConnections) {
  Installation install("SYSDBA");
  const QString countMine =
      "SELECT COUNT(*) FROM MON$ATTACHMENTS WHERE MON$USER = 'QEBVOQ' "
      "AND MON$ATTACHMENT_ID <> CURRENT_CONNECTION";
  {
    Tdm module;
    single(module.Conexao, "SELECT 1 FROM RDB$DATABASE");
    EXPECT_EQ(TestServer::values(install.database, countMine), QStringList{"1"});
  }
  EXPECT_EQ(TestServer::values(install.database, countMine), QStringList{"0"});
  EXPECT_EQ(dm, nullptr);
}

}  // namespace
