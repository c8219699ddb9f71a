#include "firebird/Attachment.h"

#include "common/Win1252.h"
#include "firebird/Holders.h"
#include "firebird/Status.h"

namespace fb {

namespace {

// Firebird 4 and later answer CURRENT_TIMESTAMP as a TIMESTAMP WITH TIME ZONE, which a Firebird 3
// client library cannot describe, and some sums as INT128 or DECFLOAT. Asked at attach, the server
// gives them as Firebird 3 does: a plain timestamp in the session's time zone, which is the
// server's own. A Firebird 3 server ignores the item and its client library passes it on unread;
// the number is Firebird 4's isc_dpb_set_bind, which Firebird 3's headers lack.
constexpr unsigned char kDpbSetBind = 93;
const QString kLegacyBindings =
    QStringLiteral("TIME ZONE TO LEGACY; INT128 TO LEGACY; DECFLOAT TO LEGACY");

void insertText(Status& status, const Disposable<Firebird::IXpbBuilder>& builder, unsigned char tag,
                const QString& value) {
  builder->insertString(&status, tag, win1252::encode(value).constData());
}

}  // namespace

Attachment::Attachment(const AttachParams& params)
    : client_(Client::load(params.libraryPath)), dialect_(params.dialect) {
  Status status(client_);
  const Disposable<Firebird::IXpbBuilder> dpb(
      client_.util()->getXpbBuilder(&status, Firebird::IXpbBuilder::DPB, nullptr, 0));
  insertText(status, dpb, isc_dpb_user_name, params.user);
  insertText(status, dpb, isc_dpb_password, params.password);
  if (!params.role.isEmpty()) insertText(status, dpb, isc_dpb_sql_role_name, params.role);
  insertText(status, dpb, isc_dpb_lc_ctype, params.charset);
  dpb->insertInt(&status, isc_dpb_sql_dialect, params.dialect);
  insertText(status, dpb, kDpbSetBind, kLegacyBindings);
  const QByteArray database = win1252::encode(params.database);
  handle_ = client_.provider()->attachDatabase(
      &status, database.constData(), dpb->getBufferLength(&status), dpb->getBuffer(&status));
}

Attachment::~Attachment() {
  if (lost()) {
    handle_->release();
    return;
  }
  Status status(client_);
  try {
    handle_->detach(&status);
  } catch (const Error&) {
    // A lost server cannot be detached from cleanly; the handle is released all the same.
    handle_->release();
  }
}

void Attachment::ping() {
  Status status(client_, this);
  handle_->ping(&status);
}

}  // namespace fb
