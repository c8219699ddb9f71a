#include "firebird/Connection.h"

#include "firebird/Error.h"

namespace fb {

Connection::~Connection() {
  close();
}

void Connection::open() {
  if (lost()) {
    if (holdsTransaction()) throw attachment_->lossError();
    // A lost attachment is given up, so the next use attaches again instead of failing on.
    close();
  }
  if (connected()) return;
  if (beforeConnect) beforeConnect();
  attachment_ = std::make_unique<Attachment>(params);
}

void Connection::close() {
  prepared_.clear();
  transaction_.reset();
  attachment_.reset();
}

void Connection::withTransaction(const std::function<void(Transaction&)>& work) {
  if (Transaction* current = transaction()) {
    work(*current);
    return;
  }
  Transaction own(attachment());
  work(own);
  own.commit();
}

Statement& Connection::prepared(const QString& sql) {
  auto found = prepared_.find(sql);
  if (found == prepared_.end()) {
    // Preparing needs a transaction; any will do, the statement runs later in others.
    std::shared_ptr<Statement> statement;
    withTransaction(
        [&](Transaction& t) { statement = std::make_shared<Statement>(attachment(), t, sql); });
    found = prepared_.insert(sql, std::move(statement));
  }
  return **found;
}

Attachment& Connection::attachment() {
  open();
  return *attachment_;
}

void Connection::startTransaction(const QByteArray& protectedTable) {
  if (inTransaction()) throw Error(QStringLiteral("Transaction is already active"));
  transaction_ = std::make_unique<Transaction>(attachment(), protectedTable);
}

void Connection::checkReachable() {
  if (!connected()) return;
  if (!lost()) {
    try {
      attachment_->checkAlive();
    } catch (const Error&) {
      // Only a loss answers here; it is thrown below.
    }
  }
  if (lost()) throw attachment_->lossError();
}

Transaction& Connection::explicitTransaction() {
  if (holdsTransaction() && lost()) throw attachment_->lossError();
  if (!inTransaction()) throw Error(QStringLiteral("No transaction is active"));
  return *transaction_;
}

void Connection::commit() {
  explicitTransaction().commit();
  transaction_.reset();
}

void Connection::commitRetaining() {
  explicitTransaction().commitRetaining();
}

void Connection::rollback() {
  if (holdsTransaction() && lost()) {
    // The server has rolled it back already; only the handles are left to give up.
    close();
    return;
  }
  if (!inTransaction()) throw Error(QStringLiteral("No transaction is active"));
  std::unique_ptr<Transaction> ending = std::move(transaction_);
  ending->rollback();
}

}  // namespace fb
