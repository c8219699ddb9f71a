#include "firebird/Status.h"

#include "firebird/Attachment.h"

namespace fb {

void Status::checkException(Status* status) {
  if (!status->dirty || !(status->getState() & Firebird::IStatus::STATE_ERRORS)) return;
  const QString text = status->client_.formatStatus(status->status);
  std::vector<long> codes;
  for (const intptr_t* v = status->status->getErrors(); *v != isc_arg_end; v += 2) {
    if (v[0] == isc_arg_gds) codes.push_back(static_cast<long>(v[1]));
  }
  status->clearException();
  Error error(text, std::move(codes));
  if (status->watched_ != nullptr && error.connectionLost()) status->watched_->markLost();
  throw error;
}

}  // namespace fb
