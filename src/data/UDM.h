#pragma once

#include <QString>

#include "firebird/Connection.h"

// The descriptor of the program's one explicit transaction on Tdm::Conexao.
struct TTransactionDesc {
  enum class TIsolationLevel { ReadCommitted };
  quint32 TransactionID = 0;
  TIsolationLevel IsolationLevel = TIsolationLevel::ReadCommitted;
};
extern TTransactionDesc TD;

// The data module: the connections to the suite's database, the account the program works
// under, and the datasets of the contributor table.
class Tdm {
 public:
  Tdm();   // runs DataModuleCreate; the database is contacted through ConAUX
  ~Tdm();  // runs DataModuleDestroy
  Tdm(const Tdm&) = delete;
  Tdm& operator=(const Tdm&) = delete;

  fb::Connection Conexao;  // everything the program reads and writes; attaches on first use
  fb::Connection ConAUX;   // the account probe only; never left open
  QString UserBanco;
  QString PassBanco;
  QString VOQ_Exercicio;
  QString VOQ_Usuario;

  void DataModuleCreate();
  QString BuscaOwnerdoBanco(QString BaseDados);
  bool VerificaUsuQEBVOQ(QString BaseDados);
  void ConexaoBeforeConnect();
  void CloseSQLConnections();
  void DataModuleDestroy();
  bool Reconectar();

 private:
  void ConfigureConAUX(const QString& BaseDados);
};

// The one data module of the program, set while it exists.
extern Tdm* dm;
