#pragma once

#include <QString>
#include <stdexcept>

namespace fb {

// Every failure of the database layer: the text is the client library's own formatted message.
class Error : public std::runtime_error {
 public:
  explicit Error(const QString& message);
  const QString& message() const { return message_; }

 private:
  QString message_;
};

}  // namespace fb
