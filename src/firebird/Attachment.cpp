#include "firebird/Attachment.h"

#include "common/Win1252.h"
#include "firebird/ParameterBlock.h"
#include "firebird/Status.h"

namespace fb {

namespace {

// Firebird 4 and later answer CURRENT_TIMESTAMP as a TIMESTAMP WITH TIME ZONE, which older
// clients cannot describe, and some sums as INT128 or DECFLOAT. Asked at attach, the server gives
// them as Firebird 3 does: a plain timestamp in the session's time zone, which is the server's
// own. Older servers skip the item; the number is Firebird 4's isc_dpb_set_bind, which older
// headers lack.
constexpr char kDpbSetBind = 93;
const QByteArray kLegacyBindings = "TIME ZONE TO LEGACY; INT128 TO LEGACY; DECFLOAT TO LEGACY";

}  // namespace

Attachment::Attachment(const AttachParams& params)
    : client_(Client::load(params.libraryPath)), dialect_(params.dialect) {
  ParameterBlock dpb(isc_dpb_version1);
  dpb.add(isc_dpb_user_name, win1252::encode(params.user));
  dpb.add(isc_dpb_password, win1252::encode(params.password));
  if (!params.role.isEmpty()) dpb.add(isc_dpb_sql_role_name, win1252::encode(params.role));
  dpb.add(isc_dpb_lc_ctype, win1252::encode(params.charset));
  dpb.add(isc_dpb_sql_dialect, params.dialect);
  dpb.add(kDpbSetBind, kLegacyBindings);
  const QByteArray database = win1252::encode(params.database);
  Status status(client_);
  client_.api().attachDatabase(status, 0, database.constData(), &handle_, dpb.size(), dpb.data());
  status.check();
}

Attachment::~Attachment() {
  Status status(client_);
  client_.api().detachDatabase(status, &handle_);
  // A lost server cannot be detached from cleanly; nothing more can be done for it.
}

void Attachment::checkAlive() {
  // A round trip every server answers. fb_ping would do no more, and a Firebird 3 client
  // drops the attachment when a server older than 3 refuses it.
  const char items[] = {isc_info_ods_version, isc_info_end};
  char answer[32];
  Status status(client_, this);
  client_.api().databaseInfo(status, &handle_, sizeof items, items, sizeof answer, answer);
  status.check();
}

}  // namespace fb
