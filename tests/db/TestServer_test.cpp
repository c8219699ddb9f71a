#include "TestServer.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

using tavrel::test::TestServer;
using tavrel::test::TestServerError;

namespace {

const char kSystemTableOwners[] =
    "SELECT DISTINCT RDB$OWNER_NAME FROM RDB$RELATIONS WHERE RDB$SYSTEM_FLAG = 1";

}  // namespace

TEST(TestServer, DatabaseCreatedBySysdbaHasSysdbaAsOwnerOfItsSystemTables) {
  const QString path = TestServer::createFreshDatabase("SYSDBA");
  EXPECT_EQ(TestServer::values(path, kSystemTableOwners), QStringList{"SYSDBA"});
}

TEST(TestServer, DatabaseCreatedByQebvoqHasQebvoqAsOwnerOfItsSystemTables) {
  const QString path = TestServer::createFreshDatabase("QEBVOQ");
  EXPECT_EQ(TestServer::values(path, kSystemTableOwners, "QEBVOQ"), QStringList{"QEBVOQ"});
  EXPECT_EQ(TestServer::values(path, kSystemTableOwners, "SYSDBA"), QStringList{"QEBVOQ"});
}

TEST(TestServer, ServerIsOfTheVersionItsFolderTells) {
  const QString path = TestServer::createFreshDatabase();
  const QString version =
      TestServer::values(path,
                         "SELECT RDB$GET_CONTEXT('SYSTEM', 'ENGINE_VERSION') FROM RDB$DATABASE")
          .value(0);
  EXPECT_TRUE(version.startsWith(TestServer::serverVersion().toString() + "."))
      << version.toStdString();
}

TEST(TestServer, DefaultCharacterSetIsWin1252) {
  const QString path = TestServer::createFreshDatabase();
  EXPECT_EQ(TestServer::values(path, "SELECT RDB$CHARACTER_SET_NAME FROM RDB$DATABASE"),
            QStringList{"WIN1252"});
}

TEST(TestServer, ContributorTableHasItsColumnsInTableOrder) {
  const QString path = TestServer::createFreshDatabase();
  const QStringList columns = TestServer::values(
      path,
      "SELECT TRIM(RDB$FIELD_NAME) FROM RDB$RELATION_FIELDS "
      "WHERE RDB$RELATION_NAME = 'GR_CONTRIB_CAMPANHA' ORDER BY RDB$FIELD_POSITION");
  const QStringList expected = {"COD_CAM",      "TIPO_CAM",      "CNPJ_CAM",    "NOME_CAM",
                                "ANO_CAM",      "COD_TOM_CAM",   "NATJUR_CAM",  "CNAE_CAM",
                                "DATACNPJ_CAM", "LOGIN_INC_CAM", "DTA_INC_CAM", "LOGIN_ALT_CAM",
                                "DTA_ALT_CAM"};
  EXPECT_EQ(columns, expected);
}

TEST(TestServer, ContributorTableHasNamedKeyAndIndexesOnCnpjAndDescendingCode) {
  const QString path = TestServer::createFreshDatabase();
  // One row per index: constraint type (or none), field, descending flag. Joined here: Firebird
  // 2.1 fails COALESCE over a null system text under a UTF8 connection (string truncation).
  const QStringList values = TestServer::values(
      path,
      "SELECT C.RDB$CONSTRAINT_TYPE, TRIM(I.RDB$INDEX_NAME), TRIM(S.RDB$FIELD_NAME), "
      "COALESCE(I.RDB$INDEX_TYPE, 0) "
      "FROM RDB$INDICES I "
      "JOIN RDB$INDEX_SEGMENTS S ON S.RDB$INDEX_NAME = I.RDB$INDEX_NAME "
      "LEFT JOIN RDB$RELATION_CONSTRAINTS C ON C.RDB$INDEX_NAME = I.RDB$INDEX_NAME "
      "WHERE I.RDB$RELATION_NAME = 'GR_CONTRIB_CAMPANHA'");
  QStringList rows;
  for (qsizetype i = 0; i + 3 < values.size(); i += 4) {
    const QString constraint = values[i] == "<null>" ? QString("-") : values[i];
    rows << QStringList{constraint, values[i + 1], values[i + 2], values[i + 3]}.join(' ');
  }
  ASSERT_EQ(values.size(), 4 * rows.size()) << values.join('\n').toStdString();
  ASSERT_EQ(rows.size(), 3) << rows.join('\n').toStdString();
  EXPECT_TRUE(rows.contains("PRIMARY KEY PK_GR_CONTRIB_CAMPANHA COD_CAM 0"))
      << rows.join('\n').toStdString();
  EXPECT_EQ(rows.filter(QRegularExpression("^- \\S+ CNPJ_CAM 0$")).size(), 1)
      << rows.join('\n').toStdString();
  EXPECT_EQ(rows.filter(QRegularExpression("^- \\S+ COD_CAM 1$")).size(), 1)
      << rows.join('\n').toStdString();
}

TEST(TestServer, CompanyTableKeysOnCode) {
  const QString path = TestServer::createFreshDatabase();
  TestServer::isql(path,
                   "INSERT INTO GR_CAD_EMPRESA (COD_EMP, NOME_EMP) VALUES (1, 'Prefeitura');\n"
                   "COMMIT;\n");
  EXPECT_EQ(TestServer::values(path, "SELECT NOME_EMP FROM GR_CAD_EMPRESA WHERE COD_EMP = 1"),
            QStringList{"Prefeitura"});
  const auto duplicate = TestServer::runIsql(
      path, "INSERT INTO GR_CAD_EMPRESA (COD_EMP, NOME_EMP) VALUES (1, 'Outra');\n");
  EXPECT_TRUE(duplicate.output.contains("PK_GR_CAD_EMPRESA")) << duplicate.output.toStdString();
}

TEST(TestServer, IsqlUnderUtf8ShowsTheStoredWin1252Text) {
  const QString path = TestServer::createFreshDatabase();
  TestServer::isql(path, QString::fromUtf8("INSERT INTO GR_CONTRIB_CAMPANHA (COD_CAM, NOME_CAM) "
                                           "VALUES (1, 'Ação São João');\nCOMMIT;\n"));
  // One byte a letter once stored as Windows-1252.
  EXPECT_EQ(TestServer::values(path,
                               "SELECT OCTET_LENGTH(NOME_CAM), CHAR_LENGTH(NOME_CAM) "
                               "FROM GR_CONTRIB_CAMPANHA WHERE COD_CAM = 1"),
            (QStringList{"13", "13"}));
  EXPECT_EQ(TestServer::values(path, "SELECT NOME_CAM FROM GR_CONTRIB_CAMPANHA WHERE COD_CAM = 1"),
            QStringList{QString::fromUtf8("Ação São João")});
}

TEST(TestServer, ValuesReadsEveryColumnOfEveryRowWithNulls) {
  const QString path = TestServer::createFreshDatabase();
  TestServer::isql(path,
                   "INSERT INTO GR_CONTRIB_CAMPANHA (COD_CAM, CNPJ_CAM) VALUES (2, ' 12 ');\n"
                   "INSERT INTO GR_CONTRIB_CAMPANHA (COD_CAM, CNPJ_CAM) VALUES (3, NULL);\n"
                   "COMMIT;\n");
  EXPECT_EQ(TestServer::values(
                path, "SELECT COD_CAM, CNPJ_CAM FROM GR_CONTRIB_CAMPANHA ORDER BY COD_CAM"),
            (QStringList{"2", " 12", "3", "<null>"}));
}

TEST(TestServer, FreshPathsAreNewAndNamedAfterTheTest) {
  const QString first = TestServer::freshDatabasePath();
  const QString second = TestServer::freshDatabasePath();
  EXPECT_NE(first, second);
  for (const QString& path : {first, second}) {
    EXPECT_FALSE(QFileInfo::exists(path)) << path.toStdString();
    EXPECT_EQ(TestServer::serverPath(QFileInfo(path).absolutePath()),
              TestServer::folder() + "/dbs");
    EXPECT_TRUE(
        QFileInfo(path).fileName().startsWith("TestServer.FreshPathsAreNewAndNamedAfterTheTest-"))
        << path.toStdString();
  }
}

TEST(TestServer, ScriptFailureCarriesTheScriptOutput) {
  const QString path = TestServer::createFreshDatabase();
  try {
    TestServer::createDatabase(path);
    FAIL() << "creating over an existing file succeeded";
  } catch (const TestServerError& e) {
    EXPECT_NE(std::string(e.what()).find("already exists"), std::string::npos) << e.what();
  }
}

TEST(TestServer, FailedStatementThrowsWithTheServerMessage) {
  const QString path = TestServer::createFreshDatabase();
  try {
    TestServer::isql(path, "SELECT X FROM NO_SUCH_TABLE;\n");
    FAIL() << "a failed statement went unnoticed";
  } catch (const TestServerError& e) {
    EXPECT_NE(std::string(e.what()).find("NO_SUCH_TABLE"), std::string::npos) << e.what();
  }
}
