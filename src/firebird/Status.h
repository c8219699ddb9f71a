#pragma once

#include "firebird/Client.h"
#include "firebird/Error.h"
#include "firebird/LossSink.h"

namespace fb {

// The status vector of one call of the classic API; check() throws fb::Error with the library's
// own text when the call failed. Given a sink (the attachment the call works on), it reports
// there a failure that says the connection is gone.
class Status {
 public:
  explicit Status(const Client& client, LossSink* watched = nullptr)
      : client_(client), watched_(watched) {}
  Status(const Status&) = delete;
  Status& operator=(const Status&) = delete;

  // For passing to the call.
  operator ISC_STATUS*() { return vector_; }

  // A failure that carries this code is an answer of the server, not an error: check() then
  // returns false instead of throwing, without the cost of formatting its text.
  void expect(ISC_STATUS code) { expected_ = code; }
  // True when the call succeeded; throws its failure otherwise.
  bool check();

 private:
  const Client& client_;
  LossSink* watched_;
  ISC_STATUS vector_[ISC_STATUS_LENGTH] = {};
  ISC_STATUS expected_ = 0;
};

}  // namespace fb
