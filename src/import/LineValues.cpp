#include "import/LineValues.h"

bool acceptsTipo(const QString& Tipo) {
  return !Tipo.isEmpty() && QStringLiteral("PARTIDO,CANDIDATO").contains(Tipo);
}
