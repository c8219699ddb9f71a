#include "firebird/Error.h"

namespace fb {

Error::Error(const QString& message)
    : std::runtime_error(message.toStdString()), message_(message) {}

}  // namespace fb
