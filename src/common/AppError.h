#pragma once

#include <QString>

#include <stdexcept>

// A failure whose text is meant for the operator: the window's error report shows it as it is.
class AppError : public std::runtime_error {
 public:
  explicit AppError(const QString& message)
      : std::runtime_error(message.toStdString()), message_(message) {}

  const QString& message() const noexcept { return message_; }

 private:
  QString message_;
};
