#pragma once

#include <QString>
#include <optional>

#include "firebird/Client.h"
#include "firebird/Error.h"
#include "firebird/LossSink.h"

namespace fb {

struct AttachParams {
  QString libraryPath;  // empty or missing file: the platform's default client library
  QString database;     // connect string host/port:path
  QString user;
  QString password;
  QString role;
  QString charset = QStringLiteral("WIN1252");
  int dialect = 3;
};

// One attachment to a database; detached when destroyed.
class Attachment : public LossSink {
 public:
  explicit Attachment(const AttachParams& params);
  ~Attachment();
  Attachment(const Attachment&) = delete;
  Attachment& operator=(const Attachment&) = delete;

  Client& client() const { return client_; }
  isc_db_handle* handle() { return &handle_; }
  int dialect() const { return dialect_; }
  // Set when a call on it found the connection gone.
  bool lost() const { return lossError_.has_value(); }
  void markLost(const Error& error) override { lossError_ = error; }
  // The failure that found it gone, for every later use that must fail the same way.
  const Error& lossError() const { return *lossError_; }
  // Asks the server whether it is still there; marks the attachment lost when it is not.
  void checkAlive();

 private:
  Client& client_;
  isc_db_handle handle_ = 0;
  int dialect_;
  std::optional<Error> lossError_;
};

}  // namespace fb
