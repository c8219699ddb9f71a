#pragma once

#include <firebird/Interface.h>

#include "firebird/Client.h"
#include "firebird/Error.h"
#include "firebird/LossSink.h"

namespace fb {

// A status wrapper for the OO API calls that throws fb::Error with the library's own text.
// Given a sink (the attachment the call works on), it reports there a failure that says the
// connection is gone.
class Status : public Firebird::BaseStatusWrapper<Status> {
 public:
  explicit Status(const Client& client, LossSink* watched = nullptr)
      : BaseStatusWrapper(client.master()->getStatus()), client_(client), watched_(watched) {}
  ~Status() { dispose(); }
  Status(const Status&) = delete;
  Status& operator=(const Status&) = delete;

  static void checkException(Status* status);

  // A failure that carries this code is an answer of the server, not an error: it is noted
  // instead of thrown, without the cost of formatting its text.
  void expect(long code) { expected_ = code; }
  bool gotExpected() const { return gotExpected_; }

 private:
  const Client& client_;
  LossSink* watched_;
  long expected_ = 0;
  bool gotExpected_ = false;
};

}  // namespace fb
