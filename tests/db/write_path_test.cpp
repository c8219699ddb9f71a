// The write path of the contributor table: statements built from posted changes, the audit
// stamps, texts cut to their columns, refused changes and the transaction an apply runs in.
#include <QRegularExpression>

#include <gtest/gtest.h>

#include "Installation.h"
#include "QtPrinters.h"
#include "RecordingDialogs.h"
#include "TestServer.h"
#include "common/AppError.h"
#include "common/Clock.h"
#include "data/ContributorFields.h"
#include "data/UDM.h"
#include "data/UpdateStatements.h"

using tavrel::test::Installation;
using tavrel::test::TestServer;

namespace {

const QString kAllColumns = QStringLiteral(
    "COD_CAM, TIPO_CAM, CNPJ_CAM, NOME_CAM, ANO_CAM, COD_TOM_CAM, NATJUR_CAM, CNAE_CAM, "
    "DATACNPJ_CAM, LOGIN_INC_CAM, DTA_INC_CAM, LOGIN_ALT_CAM, DTA_ALT_CAM");

const QString kDuplicateKeyText = QString::fromUtf8(
    "Atenção!!! \r\rViolação de Chave Primária! Registro já Existe...\r\rA Operação será "
    "cancelada.");
const QString kRowGone = QStringLiteral("Record not found or changed by another user");

// The words, names, marks and punctuation of a statement: where blanks and line breaks fall is
// the statement builder's own business.
QStringList tokens(const QString& sql) {
  static const QRegularExpression token(QStringLiteral(R"("[^"]*"|\?|[(),=]|[A-Za-z_]+)"));
  QStringList result;
  for (const QRegularExpressionMatch& m : token.globalMatch(sql)) result << m.captured();
  return result;
}

QStringList quotedNames(const QString& names) {
  QStringList result;
  for (const QString& name : names.split(QStringLiteral(", "))) result << '"' + name + '"';
  return result;
}

QStringList joinedWithCommas(const QStringList& items) {
  QStringList result;
  for (const QString& item : items) {
    if (!result.isEmpty()) result << QStringLiteral(",");
    result << item;
  }
  return result;
}

QDateTime when(int year, int month, int day, int hour = 0, int minute = 0) {
  return QDateTime(QDate(year, month, day), QTime(hour, minute), Qt::UTC);
}

TEST(ContributorFields, EachColumnPositionNamesItsField) {
  using namespace contributor;
  const std::vector<FieldDef> fields = ContributorFields(true);
  const std::pair<Column, const char*> positions[] = {
      {COD_CAM, "COD_CAM"},           {TIPO_CAM, "TIPO_CAM"},
      {CNPJ_CAM, "CNPJ_CAM"},         {NOME_CAM, "NOME_CAM"},
      {ANO_CAM, "ANO_CAM"},           {COD_TOM_CAM, "COD_TOM_CAM"},
      {NATJUR_CAM, "NATJUR_CAM"},     {CNAE_CAM, "CNAE_CAM"},
      {DATACNPJ_CAM, "DATACNPJ_CAM"}, {LOGIN_INC_CAM, "LOGIN_INC_CAM"},
      {DTA_INC_CAM, "DTA_INC_CAM"},   {LOGIN_ALT_CAM, "LOGIN_ALT_CAM"},
      {DTA_ALT_CAM, "DTA_ALT_CAM"},
  };
  ASSERT_EQ(fields.size(), std::size(positions));
  for (const auto& [column, name] : positions) EXPECT_EQ(fields.at(column).name, name) << name;
}

TEST(UpdateStatements, InsertNamesEveryColumnInTableOrderWithOneParameterEach) {
  const QString sql = InsertSql("GR_CONTRIB_CAMPANHA", ContributorFields(true));

  const QStringList marks(13, QStringLiteral("?"));
  const QStringList expected = QStringList{"insert", "into", "\"GR_CONTRIB_CAMPANHA\"", "("} +
                               joinedWithCommas(quotedNames(kAllColumns)) +
                               QStringList{")", "values", "("} + joinedWithCommas(marks) +
                               QStringList{")"};
  EXPECT_EQ(tokens(sql), expected);
}

TEST(UpdateStatements, RewriteSetsTheChangedColumnsAndTheStampsKeyedOnTheFetchedCode) {
  const std::vector<FieldDef> fields = ContributorFields(true);
  const int cod = 0, nome = 3, cnae = 7, loginAlt = 11, dtaAlt = 12;
  std::vector<FieldValue> fetched(fields.size());
  fetched[cod] = qint32(5);
  fetched[nome] = QByteArray("ANTIGO");
  fetched[cnae] = QByteArray("8411600");
  fetched[loginAlt] = QByteArray("outro");
  fetched[dtaAlt] = when(2017, 1, 1);
  const FieldValue login = QByteArray("operador");
  const FieldValue stamp = when(2019, 3, 15, 10);

  const struct {
    const char* name;
    std::vector<std::pair<int, FieldValue>> changes;  // besides the two stamps
    QStringList setList;
    std::vector<FieldValue> params;
  } cases[] = {
      {"one column",
       {{nome, QByteArray("NOVO")}},
       {"NOME_CAM", "LOGIN_ALT_CAM", "DTA_ALT_CAM"},
       {QByteArray("NOVO"), login, stamp, qint32(5)}},
      {"a column set to null",
       {{cnae, FieldValue{}}},
       {"CNAE_CAM", "LOGIN_ALT_CAM", "DTA_ALT_CAM"},
       {FieldValue{}, login, stamp, qint32(5)}},
      {"nothing but the stamps", {}, {"LOGIN_ALT_CAM", "DTA_ALT_CAM"}, {login, stamp, qint32(5)}},
      {"the key itself, still found by its fetched value",
       {{cod, qint32(9)}, {nome, QByteArray("NOVO")}},
       {"COD_CAM", "NOME_CAM", "LOGIN_ALT_CAM", "DTA_ALT_CAM"},
       {qint32(9), QByteArray("NOVO"), login, stamp, qint32(5)}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<FieldValue> posted = fetched;
    for (const auto& [field, value] : c.changes) posted[field] = value;
    posted[loginAlt] = login;
    posted[dtaAlt] = stamp;

    const UpdateStatement statement =
        ModifyStatement("GR_CONTRIB_CAMPANHA", fields, fetched, posted,
                        {"LOGIN_ALT_CAM", "DTA_ALT_CAM"}, "COD_CAM");

    QStringList assignments;
    for (const QString& name : c.setList) assignments << '"' + name + '"' + " = ?";
    QStringList expected{"update", "\"GR_CONTRIB_CAMPANHA\"", "set"};
    expected += tokens(assignments.join(QStringLiteral(", ")));
    expected += QStringList{"where", "\"COD_CAM\"", "=", "?"};
    EXPECT_EQ(tokens(statement.sql), expected);
    EXPECT_EQ(statement.params, c.params);
  }
}

// A data module on a fresh installation, its write path open for 2018, the operator's login
// set, and boxes recorded instead of shown.
class WritePath : public ::testing::Test {
 protected:
  void SetUp() override {
    // A workstation clock far from the server's, so a stamp taken from it would show.
    SetNow(when(2001, 1, 1));
    module.VOQ_Usuario = "operador";
    module.OpenCAM("2018");
  }
  void TearDown() override { SetNow(std::nullopt); }

  ClientDataSet& cds() { return module.cdsCAM; }

  QStringList stored(int cod) {
    return TestServer::values(
        install.database,
        QString("SELECT %1 FROM GR_CONTRIB_CAMPANHA WHERE COD_CAM = %2").arg(kAllColumns).arg(cod));
  }

  QString serverNow() {
    // The server's local time; CURRENT_TIMESTAMP of Firebird 4 and later carries a time zone,
    // which isql-fb cannot show.
    return TestServer::values(install.database,
                              "SELECT " + TestServer::localTimestamp() + " FROM RDB$DATABASE")
        .value(0);
  }

  // Whether the stored timestamp column of row cod lies between the two server readings.
  bool storedBetween(int cod, const QString& column, const QString& from, const QString& to) {
    return TestServer::values(install.database,
                              QString("SELECT COUNT(*) FROM GR_CONTRIB_CAMPANHA WHERE COD_CAM = %1 "
                                      "AND %2 BETWEEN '%3' AND '%4'")
                                  .arg(cod)
                                  .arg(column, from, to)) == QStringList{"1"};
  }

  void postNew(int cod, const QString& cnpj = "12345678000190") {
    cds().beginInsert();
    cds().setInteger("COD_CAM", cod);
    cds().setText("TIPO_CAM", "CANDIDATO");
    cds().setText("CNPJ_CAM", cnpj);
    cds().setText("NOME_CAM", QString::fromUtf8("JOSÉ DA CONCEIÇÃO"));
    cds().setInteger("ANO_CAM", 2018);
    cds().setNull("COD_TOM_CAM");
    cds().setText("NATJUR_CAM", "4090");
    cds().setText("CNAE_CAM", "8411600");
    cds().setValue("DATACNPJ_CAM", when(2018, 9, 26, 14, 30));
    cds().post();
  }

  void storeRow(int cod, int year = 2018) {
    TestServer::isql(install.database,
                     QString("INSERT INTO GR_CONTRIB_CAMPANHA (%1) VALUES (%2, 'PARTIDO', "
                             "'11111111000111', 'PARTIDO ANTIGO', %3, 77, '3220', '9492800', "
                             "'2018-08-05 10:00', 'inclusor', '2018-08-06 11:00', 'alterador', "
                             "'2018-08-07 12:00'); COMMIT;")
                         .arg(kAllColumns)
                         .arg(cod)
                         .arg(year));
  }

  std::vector<RecordingDialogs::Box> erroBoxes(const QString& text, int count) {
    return std::vector<RecordingDialogs::Box>(count, {dialogs::BoxKind::Error, "Erro", text});
  }

  Installation install;
  RecordingDialogs boxes;
  Tdm module;
};

TEST_F(WritePath, NewRowIsInsertedWithItsValuesTheLoginAndTheServerClock) {
  postNew(1);
  const QString before = serverNow();
  EXPECT_EQ(module.ApplyCAM(), 0);
  const QString after = serverNow();

  const QStringList row = stored(1);
  EXPECT_EQ(
      row.mid(0, 10),
      (QStringList{"1", "CANDIDATO", "12345678000190", QString::fromUtf8("JOSÉ DA CONCEIÇÃO"),
                   "2018", "<null>", "4090", "8411600", "2018-09-26 14:30:00.0000", "operador"}));
  EXPECT_TRUE(storedBetween(1, "DTA_INC_CAM", before, after))
      << row.value(10).toStdString() << " not within " << before.toStdString() << " .. "
      << after.toStdString();
  EXPECT_EQ(row.mid(11), (QStringList{"<null>", "<null>"}));
  EXPECT_TRUE(boxes.boxes.empty());

  // The stamps went into the statement only.
  ASSERT_TRUE(cds().locate("COD_CAM", 1));
  EXPECT_EQ(cds().changeCount(), 0);
  for (const char* audit : {"LOGIN_INC_CAM", "DTA_INC_CAM", "LOGIN_ALT_CAM", "DTA_ALT_CAM"})
    EXPECT_TRUE(isNull(cds().value(audit))) << audit;
}

TEST_F(WritePath, RewriteOfOneColumnTouchesOnlyItAndTheRewriteStamps) {
  storeRow(5);
  module.OpenCAM("2018");
  // Another user changes columns of the row after it was fetched; a rewrite that does not name
  // them leaves their new values in place.
  TestServer::isql(install.database,
                   "UPDATE GR_CONTRIB_CAMPANHA SET CNAE_CAM = '7777777', LOGIN_INC_CAM = 'outro', "
                   "COD_TOM_CAM = 88 WHERE COD_CAM = 5; COMMIT;");
  const QStringList others = stored(5);

  ASSERT_TRUE(cds().locate("COD_CAM", 5));
  cds().beginEdit();
  cds().setText("NOME_CAM", "PARTIDO NOVO");
  cds().post();
  const QString before = serverNow();
  EXPECT_EQ(module.ApplyCAM(), 0);
  const QString after = serverNow();

  QStringList expected = others;
  expected[3] = "PARTIDO NOVO";
  expected[11] = "operador";
  EXPECT_EQ(stored(5).mid(0, 12), expected.mid(0, 12));
  EXPECT_TRUE(storedBetween(5, "DTA_ALT_CAM", before, after));
  // The cache keeps the stamps it fetched.
  ASSERT_TRUE(cds().locate("COD_CAM", 5));
  EXPECT_EQ(cds().value("LOGIN_ALT_CAM"), FieldValue(QByteArray("alterador")));
  EXPECT_EQ(cds().value("DTA_ALT_CAM"), FieldValue(when(2018, 8, 7, 12)));
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(WritePath, TextsAreCutToTheirColumnWidths) {
  const QString longName = QString(249, u'N') + QString::fromUtf8("ÇXXXXXXXXXX");
  const struct {
    const char* column;
    QString text;
    QString stored;
  } cases[] = {
      {"TIPO_CAM", QString("CANDI") + QChar(0) + "DATO", "CANDI"},
      {"CNPJ_CAM", "1234567890123456789012345", "12345678901234567890"},
      {"NOME_CAM", longName, longName.left(250)},
      {"NATJUR_CAM", "1234567", "123456"},
      {"CNAE_CAM", "12345678901", "1234567890"},
  };
  module.VOQ_Usuario = QString(30, u'L') + "MNOPQ";

  cds().beginInsert();
  cds().setInteger("COD_CAM", 1);
  for (const auto& c : cases) cds().setText(c.column, c.text);
  cds().post();
  ASSERT_EQ(module.ApplyCAM(), 0);

  for (const auto& c : cases) {
    EXPECT_EQ(TestServer::values(
                  install.database,
                  QString("SELECT %1 FROM GR_CONTRIB_CAMPANHA WHERE COD_CAM = 1").arg(c.column)),
              QStringList{c.stored})
        << c.column;
  }
  EXPECT_EQ(TestServer::values(install.database,
                               "SELECT OCTET_LENGTH(NOME_CAM) FROM GR_CONTRIB_CAMPANHA"),
            QStringList{"250"});

  // The login is cut alike when it stamps a rewrite.
  ASSERT_TRUE(cds().locate("COD_CAM", 1));
  cds().beginEdit();
  cds().setText("NOME_CAM", "OUTRO");
  cds().post();
  ASSERT_EQ(module.ApplyCAM(), 0);
  EXPECT_EQ(TestServer::values(install.database,
                               "SELECT LOGIN_INC_CAM, LOGIN_ALT_CAM FROM GR_CONTRIB_CAMPANHA"),
            (QStringList{QString(30, u'L'), QString(30, u'L')}));
}

TEST_F(WritePath, ApplyWithNothingPendingSendsNothing) {
  module.Conexao.close();

  EXPECT_EQ(module.ApplyCAM(), 0);
  EXPECT_FALSE(module.Conexao.connected());

  // A row begun and never filled is dropped, not sent.
  cds().beginInsert();
  EXPECT_EQ(module.ApplyCAM(), 0);
  EXPECT_FALSE(module.Conexao.connected());
  EXPECT_EQ(cds().state(), DataSetState::Browse);
  EXPECT_EQ(cds().changeCount(), 0);
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(WritePath, InsertRefusedForADuplicateKeyIsReportedAtEveryLaterApply) {
  postNew(5, "11111111111111");
  // Another user stores the same code first.
  TestServer::isql(install.database,
                   "INSERT INTO GR_CONTRIB_CAMPANHA (COD_CAM, CNPJ_CAM) VALUES (5, 'ALHEIO'); "
                   "COMMIT;");

  EXPECT_EQ(module.ApplyCAM(), 1);
  EXPECT_EQ(boxes.boxes, erroBoxes(kDuplicateKeyText, 1));
  EXPECT_EQ(cds().changeCount(), 1);

  // The next row's apply sends it again, beside the new row, which the database takes.
  postNew(6, "22222222222222");
  EXPECT_EQ(module.ApplyCAM(), 1);
  EXPECT_EQ(boxes.boxes, erroBoxes(kDuplicateKeyText, 2));
  EXPECT_EQ(cds().changeCount(), 1);

  EXPECT_EQ(module.ApplyCAM(), 1);
  EXPECT_EQ(boxes.boxes, erroBoxes(kDuplicateKeyText, 3));
  EXPECT_EQ(TestServer::values(install.database,
                               "SELECT COD_CAM, CNPJ_CAM FROM GR_CONTRIB_CAMPANHA ORDER BY 1"),
            (QStringList{"5", "ALHEIO", "6", "22222222222222"}));
}

TEST_F(WritePath, RewriteOfARowDeletedElsewhereIsReportedAtEveryLaterApply) {
  storeRow(5);
  module.OpenCAM("2018");
  TestServer::isql(install.database, "DELETE FROM GR_CONTRIB_CAMPANHA; COMMIT;");

  ASSERT_TRUE(cds().locate("COD_CAM", 5));
  cds().beginEdit();
  cds().setText("NOME_CAM", "PARTIDO NOVO");
  cds().post();
  EXPECT_EQ(module.ApplyCAM(), 1);
  EXPECT_EQ(boxes.boxes, erroBoxes(kRowGone, 1));

  EXPECT_EQ(module.ApplyCAM(), 1);
  postNew(6);
  EXPECT_EQ(module.ApplyCAM(), 1);
  EXPECT_EQ(boxes.boxes, erroBoxes(kRowGone, 3));
  EXPECT_EQ(TestServer::values(install.database, "SELECT COD_CAM FROM GR_CONTRIB_CAMPANHA"),
            QStringList{"6"});
}

TEST_F(WritePath, PostingARowWithoutItsCodeFailsAndKeepsItStarted) {
  cds().beginInsert();
  cds().setText("NOME_CAM", "SEM CODIGO");
  try {
    cds().post();
    FAIL() << "posted a row without COD_CAM";
  } catch (const AppError& e) {
    EXPECT_EQ(e.message(), "Field 'COD_CAM' must have a value");
  }
  EXPECT_EQ(cds().state(), DataSetState::Insert);
  EXPECT_EQ(cds().changeCount(), 0);
}

TEST_F(WritePath, ApplyWithoutATransactionCommitsOneOfItsOwn) {
  ASSERT_FALSE(module.Conexao.inTransaction());
  postNew(1);
  EXPECT_EQ(module.ApplyCAM(), 0);
  EXPECT_FALSE(module.Conexao.inTransaction());
  // Another attachment sees it: it was committed.
  EXPECT_EQ(TestServer::values(install.database, "SELECT COD_CAM FROM GR_CONTRIB_CAMPANHA"),
            QStringList{"1"});
}

TEST_F(WritePath, ApplyInsideTheCallersTransactionLeavesItToTheCaller) {
  module.Conexao.startTransaction();
  postNew(1);
  EXPECT_EQ(module.ApplyCAM(), 0);
  EXPECT_TRUE(module.Conexao.inTransaction());

  module.Conexao.rollback();
  EXPECT_EQ(TestServer::values(install.database, "SELECT COUNT(*) FROM GR_CONTRIB_CAMPANHA"),
            QStringList{"0"});
  // The cache still shows the row as stored, with nothing pending.
  EXPECT_TRUE(cds().locate("COD_CAM", 1));
  EXPECT_EQ(cds().changeCount(), 0);
}

}  // namespace
