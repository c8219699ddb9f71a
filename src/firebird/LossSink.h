#pragma once

#include "firebird/Error.h"

namespace fb {

// Where a call's status reports a failure that says the connection is gone, so that the
// attachment it was made on is known lost without the status knowing attachments.
class LossSink {
 public:
  virtual void markLost(const Error& error) = 0;

 protected:
  ~LossSink() = default;
};

}  // namespace fb
