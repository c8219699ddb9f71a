#pragma once

#include "firebird/Attachment.h"

namespace fb {

// A read-committed (record versions) write transaction that waits on lock conflicts.
// Rolled back when destroyed while still active.
class Transaction {
 public:
  explicit Transaction(Attachment& attachment);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  void commit();
  void rollback();
  bool active() const { return handle_ != nullptr; }

  Attachment& attachment() const { return attachment_; }
  Firebird::ITransaction* handle() const { return handle_; }

 private:
  Attachment& attachment_;
  Firebird::ITransaction* handle_ = nullptr;
};

}  // namespace fb
