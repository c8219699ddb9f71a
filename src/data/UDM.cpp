#include "data/UDM.h"

#include "common/TrataErros.h"
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

// The fixed entries both connections share; the caller fills in account and database.
fb::AttachParams fixedParams() {
  fb::AttachParams p;
  p.role = kRoleName;
  p.charset = kCharSet;
  p.dialect = kDialect;
  return p;
}

}  // namespace

Tdm::Tdm() {
  dm = this;
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

void Tdm::DataModuleDestroy() { CloseSQLConnections(); }

bool Tdm::Reconectar() {
  try {
    Conexao.open();
  } catch (const std::exception&) {
    Conexao.close();
    return false;
  }
  return Conexao.connected();
}
