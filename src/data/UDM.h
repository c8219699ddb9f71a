#pragma once

#include <QDateTime>
#include <QString>

#include "data/DataSetProvider.h"
#include "data/SqlQuery.h"
#include "dataset/ClientDataSet.h"
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

  // The write path, through which the import inserts and rewrites rows.
  SqlQuery sqlCAM;
  DataSetProvider dspCAM;
  ClientDataSet cdsCAM;
  // The viewing path, which the search fills and the grid shows; nothing is written through it.
  SqlQuery sqlVis;
  DataSetProvider dspVis;
  ClientDataSet cdsVis;

  void DataModuleCreate();
  QString BuscaOwnerdoBanco(QString BaseDados);
  bool VerificaUsuQEBVOQ(QString BaseDados);
  void ConexaoBeforeConnect();
  void CloseSQLConnections();
  void DataModuleDestroy();
  bool Reconectar();

  // Opening the sets runs their queries and fetches every row.
  void OpenCAM(const QString& ANO);
  // Opens the write path again for the year it was last opened for, so that it holds what the
  // table holds (after a rollback).
  void ReloadCAM();
  // The year the write path was last opened for.
  const QString& camYear() const { return camYear_; }
  void OpenVis();
  // The code a new contributor row gets: one past the highest stored, 1 in an empty table.
  qint32 NextCode();
  // Sends the write path's pending changes; the number refused.
  int ApplyCAM();

  void dspCAMBeforeUpdateRecord(DataSetProvider& Sender, SqlQuery& SourceDS, PendingChange& DeltaDS,
                                ChangeKind UpdateKind, bool& Applied);
  void dspCAMGetTableName(DataSetProvider& Sender, SqlQuery& DataSet, QString& TableName);
  void dspCAMUpdateError(DataSetProvider& Sender, PendingChange& DataSet, const QString& E,
                         ChangeKind UpdateKind, ResolverResponse& Response);
  void cdsCAMReconcileError(ClientDataSet& DataSet, const QString& E, ChangeKind UpdateKind,
                            ReconcileAction& Action);

 private:
  void ConfigureConAUX(const QString& BaseDados);
  // Both resolvers share the write path's handlers.
  void WireProvider(DataSetProvider& provider);

  QString camYear_;
};

// The database server's current date and time, read on dm's main connection.
QDateTime DataBanco();

// The one data module of the program, set while it exists.
extern Tdm* dm;
