#pragma once

#include <QString>
#include <stdexcept>
#include <vector>

namespace fb {

// Every failure of the database layer: the text is the client library's own formatted message.
class Error : public std::runtime_error {
 public:
  // codes: the library's error codes (isc_...), most general first; none for our own errors.
  explicit Error(const QString& message, std::vector<long> codes = {});
  const QString& message() const { return message_; }
  bool has(long code) const;
  // The server or the network went away: the attachment is of no further use.
  bool connectionLost() const;

 private:
  QString message_;
  std::vector<long> codes_;
};

}  // namespace fb
