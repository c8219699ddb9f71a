#include "firebird/Status.h"

#include <vector>

namespace fb {

bool Status::check() {
  if (vector_[0] != isc_arg_gds || vector_[1] == 0) return true;
  std::vector<long> codes;
  for (const ISC_STATUS* v = vector_; *v != isc_arg_end && *v != isc_arg_warning;) {
    if (v[0] == isc_arg_gds) codes.push_back(static_cast<long>(v[1]));
    v += *v == isc_arg_cstring ? 3 : 2;
  }
  for (const long code : codes) {
    if (expected_ != 0 && code == expected_) return false;
  }
  Error error(client_.formatStatus(vector_), std::move(codes));
  if (watched_ != nullptr && error.connectionLost()) watched_->markLost(error);
  throw error;
}

}  // namespace fb
