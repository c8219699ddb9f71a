#include "firebird/Attachment.h"

#include "common/Win1252.h"
#include "firebird/Holders.h"
#include "firebird/Status.h"

namespace fb {

namespace {

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
