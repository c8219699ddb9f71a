#include "firebird/Transaction.h"

#include "firebird/ParameterBlock.h"
#include "firebird/Status.h"

namespace fb {

Transaction::Transaction(Attachment& attachment, const QByteArray& protectedTable)
    : attachment_(attachment) {
  ParameterBlock tpb(isc_tpb_version3);
  tpb.add(isc_tpb_read_committed);
  tpb.add(isc_tpb_rec_version);
  tpb.add(isc_tpb_wait);
  tpb.add(isc_tpb_write);
  if (!protectedTable.isEmpty()) {
    tpb.add(isc_tpb_lock_write, protectedTable);
    tpb.add(isc_tpb_protected);
  }
  Status status(attachment.client(), &attachment);
  attachment.client().api().startTransaction(status, &handle_, 1, attachment.handle(),
                                             int(tpb.size()), tpb.data());
  status.check();
}

Transaction::~Transaction() {
  if (!active()) return;
  try {
    rollback();
  } catch (const Error&) {
    // Nothing to report from a destructor; the server rolls back a lost transaction itself.
  }
}

void Transaction::commit() {
  Status status(attachment_.client(), &attachment_);
  attachment_.client().api().commitTransaction(status, &handle_);
  status.check();
  handle_ = 0;
}

void Transaction::commitRetaining() {
  Status status(attachment_.client(), &attachment_);
  attachment_.client().api().commitRetaining(status, &handle_);
  status.check();
}

void Transaction::rollback() {
  Status status(attachment_.client(), &attachment_);
  attachment_.client().api().rollbackTransaction(status, &handle_);
  // Ended either way: a failed rollback leaves nothing the program could still end.
  handle_ = 0;
  status.check();
}

}  // namespace fb
