#include "data/UDM.h"

#include "common/TrataErros.h"
#include "common/Win1252.h"
#include "data/ContributorFields.h"
#include "firebird/Error.h"
#include "firebird/Query.h"

TTransactionDesc TD;
Tdm* dm = nullptr;

namespace {

const QString kDatabaseFile = QStringLiteral("VOQDADOS.FDB");
const QString kRoleName = QStringLiteral("RoleName");
const QString kCharSet = QStringLiteral("WIN1252");
constexpr int kDialect = 3;

const struct {
  const char* user;
  const char* password;
} kAccounts[] = {
    {"SYSDBA", "tulipvane"},
    {"QEBVOQ", "bromel"},
    {"QEBVOQ75", "3941@pod5$"},
};

const QString kContributorTable = QStringLiteral("GR_CONTRIB_CAMPANHA");
const QString kContributorsOfAYear =
    QStringLiteral("SELECT\r\n  *\r\nFROM\r\n  GR_CONTRIB_CAMPANHA\r\nWHERE\r\n  ANO_CAM = :ANO");
const QString kKeyField = QStringLiteral("COD_CAM");
const QStringList kRewriteStamps = {QStringLiteral("LOGIN_ALT_CAM"), QStringLiteral("DTA_ALT_CAM")};

// The fixed entries both connections share; the caller fills in account and database.
fb::AttachParams fixedParams() {
  fb::AttachParams p;
  p.role = kRoleName;
  p.charset = kCharSet;
  p.dialect = kDialect;
  return p;
}

}  // namespace

Tdm::Tdm()
    : sqlCAM(Conexao, kContributorsOfAYear),
      dspCAM(sqlCAM, kKeyField, kRewriteStamps),
      sqlVis(Conexao, kContributorsOfAYear),
      dspVis(sqlVis, kKeyField, kRewriteStamps) {
  dm = this;
  cdsCAM.setFields(ContributorFields(/*codCamRequired=*/true));
  cdsVis.setFields(ContributorFields(/*codCamRequired=*/false));
  WireProvider(dspCAM);
  WireProvider(dspVis);
  Conexao.beforeConnect = [this] { ConexaoBeforeConnect(); };
  DataModuleCreate();
}

Tdm::~Tdm() {
  DataModuleDestroy();
  if (dm == this) dm = nullptr;
}

void Tdm::DataModuleCreate() {
  TD.TransactionID = 99;
  TD.IsolationLevel = TTransactionDesc::TIsolationLevel::ReadCommitted;
  const QString BaseDados = CaminhoDB("B") + kDatabaseFile;
  UserBanco = BuscaOwnerdoBanco(BaseDados);
}

void Tdm::ConfigureConAUX(const QString& BaseDados) {
  ConAUX.close();
  ConAUX.params = fixedParams();
  ConAUX.params.libraryPath = CaminhoDB("DLLFB");
  ConAUX.params.user = QStringLiteral("QEBVOQ");
  ConAUX.params.password = QStringLiteral("bromel");
  ConAUX.params.database = BaseDados;
}

bool Tdm::VerificaUsuQEBVOQ(QString BaseDados) {
  try {
    ConfigureConAUX(BaseDados);
    ConAUX.open();
    ConAUX.close();
    return true;
  } catch (const std::exception&) {
    ConAUX.close();
    return false;
  }
}

QString Tdm::BuscaOwnerdoBanco(QString BaseDados) {
  if (!VerificaUsuQEBVOQ(BaseDados)) return QStringLiteral("SYSDBA");
  QString result;
  try {
    ConfigureConAUX(BaseDados);
    ConAUX.open();
    {
      fb::Query qrx(ConAUX,
                    " SELECT DISTINCT RDB$OWNER_NAME AS OWNER  FROM RDB$RELATIONS  WHERE "
                    "RDB$SYSTEM_FLAG=1 ");
      qrx.open();
      const QString OwnerBanco =
          qrx.eof() ? QString()
                    : qrx.statement().text(qrx.statement().columnIndex("OWNER")).trimmed();
      if (OwnerBanco == QLatin1String("QEBVOQ")) {
        qrx.close();
        qrx.setSQL("SELECT COUNT(*) TOT FROM RDB$ROLES WHERE RDB$ROLE_NAME = 'SYSDBA'");
        qrx.open();
        const qint64 TOT = qrx.statement().integer(qrx.statement().columnIndex("TOT"));
        qrx.close();
        if (TOT == 0) {
          qrx.setSQL(
              "INSERT INTO RDB$ROLES(RDB$ROLE_NAME, RDB$OWNER_NAME) VALUES ('SYSDBA','QEBVOQ') ");
          qrx.execSQL();
        }
      }
    }
    result = QStringLiteral("QEBVOQ");
  } catch (const std::exception&) {
    result = QStringLiteral("SYSDBA");
  }
  ConAUX.close();
  return result;
}

void Tdm::ConexaoBeforeConnect() {
  for (const auto& account : kAccounts) {
    if (UserBanco == QLatin1String(account.user)) {
      PassBanco = QString::fromLatin1(account.password);
      break;
    }
  }
  Conexao.params = fixedParams();
  Conexao.params.libraryPath = CaminhoDB("DLLFB");
  Conexao.params.user = UserBanco;
  Conexao.params.password = PassBanco;
  Conexao.params.database = CaminhoDB("B") + kDatabaseFile;
}

void Tdm::CloseSQLConnections() {
  Conexao.close();
  ConAUX.close();
}

void Tdm::DataModuleDestroy() {
  CloseSQLConnections();
}

bool Tdm::Reconectar() {
  try {
    Conexao.open();
  } catch (const std::exception&) {
    Conexao.close();
    return false;
  }
  return Conexao.connected();
}

void Tdm::WireProvider(DataSetProvider& provider) {
  using namespace std::placeholders;
  provider.BeforeUpdateRecord = std::bind(&Tdm::dspCAMBeforeUpdateRecord, this, _1, _2, _3, _4, _5);
  provider.GetTableName = std::bind(&Tdm::dspCAMGetTableName, this, _1, _2, _3);
  provider.UpdateError = std::bind(&Tdm::dspCAMUpdateError, this, _1, _2, _3, _4, _5);
  provider.ReconcileError = std::bind(&Tdm::cdsCAMReconcileError, this, _1, _2, _3, _4);
}

void Tdm::OpenCAM(const QString& ANO) {
  sqlCAM.Params[QStringLiteral("ANO")] = ANO;
  dspCAM.Open(cdsCAM);
  camYear_ = ANO;
}

void Tdm::ReloadCAM() {
  cdsCAM.close();
  OpenCAM(camYear_);
}

qint32 Tdm::NextCode() {
  qint32 codigo = 0;
  Conexao.withTransaction([&](fb::Transaction& transaction) {
    fb::Statement& qrz = Conexao.prepared(
        QStringLiteral("SELECT Coalesce(MAX(COD_CAM)+1, 1) as qtd FROM GR_CONTRIB_CAMPANHA"));
    qrz.executeSingleton(transaction);
    codigo = static_cast<qint32>(qrz.integer(qrz.columnIndex(QStringLiteral("qtd"))));
  });
  return codigo;
}

void Tdm::OpenVis() {
  dspVis.Open(cdsVis);
}

int Tdm::ApplyCAM() {
  return dspCAM.ApplyUpdates(cdsCAM);
}

void Tdm::dspCAMBeforeUpdateRecord(DataSetProvider&, SqlQuery&, PendingChange& DeltaDS,
                                   ChangeKind UpdateKind, bool&) {
  using namespace contributor;
  const auto stamp = [&](Column login, Column when) {
    // The login goes in as any text of its column would: Windows-1252, cut to the width.
    DeltaDS.current[login] = FitToField(cdsCAM.fields()[login], win1252::encode(VOQ_Usuario));
    DeltaDS.current[when] = DataBanco();
  };
  if (UpdateKind == ChangeKind::Insert)
    stamp(LOGIN_INC_CAM, DTA_INC_CAM);
  else
    stamp(LOGIN_ALT_CAM, DTA_ALT_CAM);
}

void Tdm::dspCAMGetTableName(DataSetProvider&, SqlQuery&, QString& TableName) {
  TableName = kContributorTable;
}

void Tdm::dspCAMUpdateError(DataSetProvider&, PendingChange&, const QString& E, ChangeKind,
                            ResolverResponse&) {
  Tratar_Erro(E);
}

void Tdm::cdsCAMReconcileError(ClientDataSet&, const QString&, ChangeKind,
                               ReconcileAction& Action) {
  // No deletes are ever made; a refused insert or rewrite stays pending as posted.
  Action = ReconcileAction::Correct;
}

QDateTime DataBanco() {
  QDateTime now;
  fb::Connection& connection = dm->Conexao;
  connection.withTransaction([&](fb::Transaction& transaction) {
    fb::Statement& qrx = connection.prepared(
        QStringLiteral("SELECT CURRENT_TIMESTAMP AS DATABANCO FROM RDB$DATABASE"));
    qrx.executeSingleton(transaction);
    now = qrx.timestamp(qrx.columnIndex(QStringLiteral("DATABANCO")));
  });
  return now;
}
