#include "firebird/Transaction.h"

#include "firebird/Holders.h"
#include "firebird/Status.h"

namespace fb {

Transaction::Transaction(Attachment& attachment) : attachment_(attachment) {
  Client& client = attachment.client();
  Status status(client, &attachment);
  const Disposable<Firebird::IXpbBuilder> tpb(
      client.util()->getXpbBuilder(&status, Firebird::IXpbBuilder::TPB, nullptr, 0));
  tpb->insertTag(&status, isc_tpb_read_committed);
  tpb->insertTag(&status, isc_tpb_rec_version);
  tpb->insertTag(&status, isc_tpb_wait);
  tpb->insertTag(&status, isc_tpb_write);
  handle_ = attachment.handle()->startTransaction(&status, tpb->getBufferLength(&status),
                                                  tpb->getBuffer(&status));
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
  handle_->commit(&status);  // releases the handle on success
  handle_ = nullptr;
}

void Transaction::rollback() {
  Status status(attachment_.client(), &attachment_);
  Firebird::ITransaction* handle = handle_;
  handle_ = nullptr;
  try {
    handle->rollback(&status);
  } catch (const Error&) {
    handle->release();
    throw;
  }
}

}  // namespace fb
