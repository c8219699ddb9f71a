#include "firebird/Query.h"

#include "firebird/Error.h"

namespace fb {

Query::Query(Connection& connection, const QString& sql) : connection_(connection), sql_(sql) {}

Query::~Query() {
  try {
    close();
  } catch (const Error&) {
    // Destroyed on an error path already being reported.
  }
}

void Query::setSQL(const QString& sql) {
  close();
  statement_.reset();
  sql_ = sql;
}

Statement& Query::statement() {
  if (statement_ == nullptr) {
    Transaction* explicitOne = connection_.transaction();
    Transaction& transaction = explicitOne != nullptr ? *explicitOne : beginWork();
    statement_ = std::make_unique<Statement>(connection_.attachment(), transaction, sql_);
  }
  return *statement_;
}

Transaction& Query::beginWork() {
  if (Transaction* explicitOne = connection_.transaction()) return *explicitOne;
  if (own_ == nullptr) own_ = std::make_unique<Transaction>(connection_.attachment());
  return *own_;
}

void Query::endWork() {
  if (own_ == nullptr) return;
  std::unique_ptr<Transaction> ending = std::move(own_);
  ending->commit();
}

void Query::open() {
  close();
  Statement& s = statement();
  s.open(beginWork());
  eof_ = !s.fetch();
}

void Query::next() {
  if (!isOpen()) throw Error(QStringLiteral("Query is not open"));
  eof_ = !statement_->fetch();
}

void Query::close() {
  eof_ = true;
  if (statement_ != nullptr) statement_->close();
  endWork();
}

unsigned Query::execSQL() {
  close();
  Statement& s = statement();
  try {
    s.execute(beginWork());
    const unsigned affected = s.affectedRows();
    endWork();
    return affected;
  } catch (...) {
    own_.reset();  // rolled back
    throw;
  }
}

}  // namespace fb
