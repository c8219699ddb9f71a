#include "data/DataSetProvider.h"

#include <QScopeGuard>

#include <algorithm>

#include "common/AppError.h"
#include "data/UpdateStatements.h"
#include "firebird/Query.h"

namespace {

bool fits(FieldType type, fb::Statement::ColumnKind kind) {
  switch (type) {
    case FieldType::Integer:
      return kind == fb::Statement::ColumnKind::Integer;
    case FieldType::String:
    case FieldType::Blob:
      return kind == fb::Statement::ColumnKind::Text;
    case FieldType::DateTime:
      return kind == fb::Statement::ColumnKind::Timestamp;
  }
  return false;
}

// A column of the fetched row as the set keeps it; a text cut to the field's width.
RowStore::Cell read(const fb::Statement& row, int column, const FieldDef& field) {
  if (row.isNull(column)) return {};
  switch (field.type) {
    case FieldType::Integer:
      return qint64{static_cast<qint32>(row.integer(column))};
    case FieldType::DateTime:
      return row.wallClockMSecs(column);
    case FieldType::String:
    case FieldType::Blob:
      break;
  }
  const QByteArrayView text = row.bytesView(column);
  return field.size > 0 ? text.first(std::min<qsizetype>(text.size(), field.size)) : text;
}

void bind(fb::Statement& statement, int index, const FieldValue& value) {
  if (const auto* n = std::get_if<qint32>(&value)) {
    statement.setInteger(index, *n);
  } else if (const auto* text = std::get_if<QByteArray>(&value)) {
    statement.setBytes(index, *text);
  } else if (const auto* when = std::get_if<QDateTime>(&value)) {
    statement.setTimestamp(index, *when);
  } else {
    statement.setNull(index);
  }
}

bool sameNames(const std::vector<FieldDef>& a, const std::vector<FieldDef>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const FieldDef& x, const FieldDef& y) { return x.name == y.name; });
}

QString messageOf(const std::exception& e) {
  return QString::fromUtf8(e.what());
}

}  // namespace

void DataSetProvider::Open(ClientDataSet& into) {
  QStringList values;
  fb::Query query(query_.connection(), query_.positionalSql(&values));
  fb::Statement& statement = query.statement();
  for (int i = 0; i < values.size(); ++i) statement.setText(i, values[i]);
  query.open();

  const std::vector<FieldDef>& fields = into.fields();
  std::vector<int> columns;
  for (const FieldDef& field : fields) {
    const int column = statement.columnIndex(field.name);
    if (!fits(field.type, statement.columnKind(column))) {
      throw AppError(QStringLiteral("Type mismatch for field '%1'").arg(field.name));
    }
    columns.push_back(column);
  }

  RowStore rows(fields);
  std::vector<RowStore::Cell> row(fields.size());
  for (; !query.eof(); query.next()) {
    for (std::size_t f = 0; f < fields.size(); ++f) row[f] = read(statement, columns[f], fields[f]);
    rows.append(row);
  }
  query.close();
  into.open(std::move(rows));
}

void DataSetProvider::Send(const PendingChange& delta, const std::vector<FieldDef>& fields) {
  QString table;
  if (GetTableName) GetTableName(*this, query_, table);
  fb::Connection& connection = query_.connection();
  const auto prepared = [&](const QString& sql, const std::vector<FieldValue>& params) {
    fb::Statement* statement = &connection.prepared(sql);
    for (std::size_t i = 0; i < params.size(); ++i)
      bind(*statement, static_cast<int>(i), params[i]);
    return statement;
  };
  fb::Statement* statement = nullptr;
  if (delta.kind == ChangeKind::Insert) {
    // Every insert of the same fields into the same table has the same text.
    if (insertSql_.isEmpty() || table != insertTable_ || !sameNames(fields, insertFields_)) {
      insertSql_ = InsertSql(table, fields);
      insertTable_ = table;
      insertFields_ = fields;
    }
    statement = prepared(insertSql_, delta.current);
  } else {
    const UpdateStatement update =
        ModifyStatement(table, fields, delta.original, delta.current, alwaysWritten_, keyField_);
    statement = prepared(update.sql, update.params);
  }
  statement->execute(*connection.transaction());
  // An insert that raised no error has stored its one row; asking would cost a round trip.
  if (delta.kind == ChangeKind::Insert) return;
  const unsigned affected = statement->affectedRows();
  if (affected == 0) throw AppError(QStringLiteral("Record not found or changed by another user"));
  if (affected > 1) {
    if (connection.inTransaction()) connection.rollback();
    throw AppError(QStringLiteral("Update affected more than 1 record."));
  }
}

int DataSetProvider::ApplyUpdates(ClientDataSet& set) {
  set.checkBrowseMode();
  if (set.changeCount() == 0) return 0;

  fb::Connection& connection = query_.connection();
  // Inside a caller's transaction, never in one of its own: what the caller undoes must be all
  // that was written.
  const bool ownTransaction = !connection.holdsTransaction();
  auto endOwnOnFailure = qScopeGuard([&] {
    if (!ownTransaction || !connection.holdsTransaction()) return;
    try {
      connection.rollback();
    } catch (const std::exception&) {
      // The failure already on its way to the caller is the one to tell.
    }
  });
  struct Refusal {
    RowId row;
    ChangeKind kind;
    QString message;
  };
  std::vector<RowId> accepted;
  std::vector<Refusal> refused;

  // A copy: the handlers' boxes let events run while the log is walked.
  const std::vector<PendingChange> changes = set.pendingChanges();
  for (const PendingChange& change : changes) {
    PendingChange delta = change;
    if (ownTransaction) {
      if (!connection.inTransaction()) connection.startTransaction();
    } else {
      connection.explicitTransaction();
    }
    try {
      bool Applied = false;
      if (BeforeUpdateRecord) BeforeUpdateRecord(*this, query_, delta, change.kind, Applied);
      if (!Applied) Send(delta, set.fields());
      accepted.push_back(change.row);
    } catch (const std::exception& e) {
      // A lost connection is no refusal of the change: the apply ends with the loss.
      connection.checkReachable();
      ResolverResponse response = ResolverResponse::Skip;
      if (UpdateError) UpdateError(*this, delta, messageOf(e), change.kind, response);
      refused.push_back({change.row, change.kind, messageOf(e)});
    }
  }
  if (ownTransaction && connection.inTransaction()) connection.commit();
  endOwnOnFailure.dismiss();

  for (RowId row : accepted) set.acceptChange(row);
  for (const Refusal& r : refused) {
    ReconcileAction action = ReconcileAction::Correct;
    if (ReconcileError) ReconcileError(set, r.message, r.kind, action);
    set.refuseChange(r.row, action);
  }
  return static_cast<int>(refused.size());
}
