#pragma once

#include <memory>

#include "firebird/Connection.h"
#include "firebird/Statement.h"

namespace fb {

// A statement on a connection, run in its explicit transaction when one is open and in a
// transaction of its own otherwise (committed when the statement has run or its rows are
// closed). Opening it attaches the connection first when needed. A query serves one operation:
// it must not outlive a close of its connection.
class Query {
 public:
  explicit Query(Connection& connection, const QString& sql = QString());
  ~Query();
  Query(const Query&) = delete;
  Query& operator=(const Query&) = delete;

  void setSQL(const QString& sql);  // closes and prepares anew on the next run
  const QString& sql() const { return sql_; }
  // Prepared on first use; its parameters are set through it, 0-based.
  Statement& statement();

  void open();  // positions on the first row
  bool eof() const { return eof_; }
  void next();
  void close();
  bool isOpen() const { return statement_ != nullptr && statement_->isOpen(); }

  unsigned execSQL();  // rows affected

 private:
  Transaction& beginWork();
  void endWork();

  Connection& connection_;
  QString sql_;
  std::unique_ptr<Transaction> own_;
  std::unique_ptr<Statement> statement_;
  bool eof_ = true;
};

}  // namespace fb
