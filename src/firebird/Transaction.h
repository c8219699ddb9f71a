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
  bool active() const { return handle_ != 0; }

  Attachment& attachment() const { return attachment_; }
  isc_tr_handle* handle() { return &handle_; }

 private:
  Attachment& attachment_;
  isc_tr_handle handle_ = 0;
};

}  // namespace fb
