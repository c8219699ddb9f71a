#include "firebird/Error.h"

#include <ibase.h>

#include <algorithm>

namespace fb {

Error::Error(const QString& message, std::vector<long> codes)
    : std::runtime_error(message.toStdString()), message_(message), codes_(std::move(codes)) {}

bool Error::has(long code) const {
  return std::find(codes_.begin(), codes_.end(), code) != codes_.end();
}

}  // namespace fb

namespace fb {

bool Error::connectionLost() const {
  for (const long code : {isc_network_error, isc_net_read_err, isc_net_write_err,
                          isc_lost_db_connection, isc_att_shutdown, isc_conn_lost, isc_shutdown}) {
    if (has(code)) return true;
  }
  return false;
}

}  // namespace fb
