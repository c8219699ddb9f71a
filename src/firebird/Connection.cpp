#include "firebird/Connection.h"

#include "firebird/Error.h"

namespace fb {

Connection::~Connection() {
  close();
}

void Connection::open() {
  if (connected()) return;
  if (beforeConnect) beforeConnect();
  attachment_ = std::make_unique<Attachment>(params);
}

void Connection::close() {
  transaction_.reset();
  attachment_.reset();
}

Attachment& Connection::attachment() {
  open();
  return *attachment_;
}

void Connection::startTransaction() {
  if (inTransaction()) throw Error(QStringLiteral("Transaction is already active"));
  transaction_ = std::make_unique<Transaction>(attachment());
}

void Connection::commit() {
  if (!inTransaction()) throw Error(QStringLiteral("No transaction is active"));
  transaction_->commit();
  transaction_.reset();
}

void Connection::rollback() {
  if (!inTransaction()) throw Error(QStringLiteral("No transaction is active"));
  std::unique_ptr<Transaction> ending = std::move(transaction_);
  ending->rollback();
}

}  // namespace fb
