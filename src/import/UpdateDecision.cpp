#include "import/UpdateDecision.h"

#include "common/Conversions.h"

bool RewritesStoredRow(const QDateTime& stored, const QString& DataCNPJ) {
  const QDateTime incoming = StrToDateTimeChecked(DataCNPJ);
  return !stored.isValid() || incoming > stored;
}
