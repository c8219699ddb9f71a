#pragma once

#include "firebird/Attachment.h"

namespace fb {

// A read-committed (record versions) write transaction that waits on lock conflicts.
// Rolled back when destroyed while still active.
class Transaction {
 public:
  // With a table named, the transaction reserves it from its start: others may read it, and
  // whoever else writes to it waits until this transaction ends.
  explicit Transaction(Attachment& attachment, const QByteArray& protectedTable = {});
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  void commit();
  // Makes the work so far permanent and goes on as the same transaction, reservation and all.
  void commitRetaining();
  void rollback();
  bool active() const { return handle_ != 0; }

  Attachment& attachment() const { return attachment_; }
  isc_tr_handle* handle() { return &handle_; }

 private:
  Attachment& attachment_;
  isc_tr_handle handle_ = 0;
};

}  // namespace fb
