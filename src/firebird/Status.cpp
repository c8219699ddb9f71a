#include "firebird/Status.h"

#include <algorithm>

namespace fb {

void Status::checkException(Status* status) {
  if (!status->dirty || !(status->getState() & Firebird::IStatus::STATE_ERRORS)) return;
  std::vector<long> codes;
  for (const intptr_t* v = status->status->getErrors(); *v != isc_arg_end; v += 2) {
    if (v[0] == isc_arg_gds) codes.push_back(static_cast<long>(v[1]));
  }
  if (status->expected_ != 0 &&
      std::find(codes.begin(), codes.end(), status->expected_) != codes.end()) {
    status->gotExpected_ = true;
    status->clearException();
    return;
  }
  const QString text = status->client_.formatStatus(status->status);
  status->clearException();
  Error error(text, std::move(codes));
  if (status->watched_ != nullptr && error.connectionLost()) status->watched_->markLost(error);
  throw error;
}

}  // namespace fb
