#include "firebird/Error.h"

#include <algorithm>

namespace fb {

Error::Error(const QString& message, std::vector<long> codes)
    : std::runtime_error(message.toStdString()), message_(message), codes_(std::move(codes)) {}

bool Error::has(long code) const {
  return std::find(codes_.begin(), codes_.end(), code) != codes_.end();
}

}  // namespace fb
