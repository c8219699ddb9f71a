#include "import/UpdateDecision.h"

#include "common/RegionalForms.h"

bool RewritesStoredRow(const QDateTime& stored, const QString& DataCNPJ) {
  bool ok = false;
  const QDateTime incoming = StrToDateTime(DataCNPJ, &ok);
  // A date that does not convert is rewritten, so that its error comes where the column is set,
  // and only for a row the run can rewrite.
  return !stored.isValid() || !ok || incoming > stored;
}
