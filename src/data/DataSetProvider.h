#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "data/SqlQuery.h"
#include "dataset/ClientDataSet.h"

enum class ResolverResponse { Skip };

// Fills an in-memory set from its query, and sends the set's posted changes to the table as
// INSERT and UPDATE statements keyed on one field.
class DataSetProvider {
 public:
  DataSetProvider(SqlQuery& query, QString keyField, QStringList alwaysWritten)
      : query_(query), keyField_(std::move(keyField)), alwaysWritten_(std::move(alwaysWritten)) {}

  std::function<void(DataSetProvider& Sender, SqlQuery& SourceDS, PendingChange& DeltaDS,
                     ChangeKind UpdateKind, bool& Applied)>
      BeforeUpdateRecord;
  std::function<void(DataSetProvider& Sender, SqlQuery& DataSet, QString& TableName)> GetTableName;
  std::function<void(DataSetProvider& Sender, PendingChange& DataSet, const QString& E,
                     ChangeKind UpdateKind, ResolverResponse& Response)>
      UpdateError;
  // The set's choice of what to do with each refused change.
  std::function<void(ClientDataSet& DataSet, const QString& E, ChangeKind UpdateKind,
                     ReconcileAction& Action)>
      ReconcileError;

  // Runs the query and opens the set with all its rows. Throws when the query fails or lacks
  // one of the set's fields, or delivers it with a type of another kind.
  void Open(ClientDataSet& into);

  // Sends every pending change of the set, each as its own statement, in the connection's open
  // transaction (or in one of its own, committed at the end). Returns the number refused; a
  // refused change stays in the log. Never throws for a refused change; a lost connection, or a
  // caller's transaction that has ended, is no refusal: the apply stops and throws, with every
  // change left pending.
  int ApplyUpdates(ClientDataSet& set);

 private:
  void Send(const PendingChange& delta, const std::vector<FieldDef>& fields);

  SqlQuery& query_;
  QString keyField_;
  QStringList alwaysWritten_;
  // The text of the last insert sent, kept for the next ones of the same fields and table.
  QString insertTable_;
  std::vector<FieldDef> insertFields_;
  QString insertSql_;
};
