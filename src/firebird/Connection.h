#pragma once

#include <QHash>
#include <functional>
#include <memory>

#include "firebird/Attachment.h"
#include "firebird/Statement.h"
#include "firebird/Transaction.h"

namespace fb {

// A database connection that attaches on first use and stays attached until closed, with at
// most one explicit transaction. Work done outside the explicit transaction runs in a
// transaction of its own that is committed as soon as that work ends.
class Connection {
 public:
  Connection() = default;
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Runs just before every attach; fills in params.
  std::function<void()> beforeConnect;
  AttachParams params;

  void open();
  void close();  // rolls back an explicit transaction still open
  bool connected() const { return attachment_ != nullptr; }
  bool lost() const { return connected() && attachment_->lost(); }
  Attachment& attachment();  // attaching first when needed
  // A statement prepared once on this attachment and kept for executing again, for work that
  // repeats the same text many times (every line of an import). Released when detaching.
  Statement& prepared(const QString& sql);

  // protectedTable: see Transaction.
  void startTransaction(const QByteArray& protectedTable = {});
  // False once the attachment is lost: the server has ended its transactions.
  bool inTransaction() const {
    return transaction_ != nullptr && transaction_->active() && !lost();
  }
  // Started and not yet ended by its holder, even when the server has ended it with a lost
  // attachment. While such a lost transaction is held, every use of the connection fails with the
  // loss, so that nothing its holder believes inside it is done outside it; rolling it back ends
  // it and the next use attaches again.
  bool holdsTransaction() const { return transaction_ != nullptr && transaction_->active(); }
  // Throws the loss when the server is no longer there. A failure met as the connection went can
  // carry the text and codes of the failure before it, so a failure alone does not tell.
  void checkReachable();
  // The explicit transaction; throws when none is open, with the loss when it was lost.
  Transaction& explicitTransaction();
  void commit();
  void commitRetaining();
  void rollback();
  // Runs work in the explicit transaction, or in one of its own committed when work returns
  // (rolled back when it throws).
  void withTransaction(const std::function<void(Transaction&)>& work);
  // The explicit transaction, or nullptr when none is open.
  Transaction* transaction() const { return inTransaction() ? transaction_.get() : nullptr; }

 private:
  std::unique_ptr<Attachment> attachment_;
  std::unique_ptr<Transaction> transaction_;
  QHash<QString, std::shared_ptr<Statement>> prepared_;
};

}  // namespace fb
