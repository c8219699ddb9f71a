#pragma once

#include <firebird/Interface.h>

#include "firebird/Client.h"
#include "firebird/Error.h"

namespace fb {

// A status wrapper for the OO API calls that throws fb::Error with the library's own text.
class Status : public Firebird::BaseStatusWrapper<Status> {
 public:
  explicit Status(const Client& client)
      : BaseStatusWrapper(client.master()->getStatus()), client_(client) {}
  ~Status() { dispose(); }
  Status(const Status&) = delete;
  Status& operator=(const Status&) = delete;

  static void checkException(Status* status) {
    if (status->dirty && (status->getState() & Firebird::IStatus::STATE_ERRORS)) {
      const QString text = status->client_.formatStatus(status->status);
      std::vector<long> codes;
      for (const intptr_t* v = status->status->getErrors(); *v != isc_arg_end; v += 2) {
        if (v[0] == isc_arg_gds) codes.push_back(static_cast<long>(v[1]));
      }
      status->clearException();
      throw Error(text, std::move(codes));
    }
  }

 private:
  const Client& client_;
};

}  // namespace fb
