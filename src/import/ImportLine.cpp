#include "import/ImportLine.h"

#include "import/DelimitedLine.h"
#include "import/FixedColumnLine.h"

std::optional<LineValues> readImportLine(const QByteArray& Linha, ImportLayout layout,
                                         const QString& VOQ_Exercicio) {
  return layout == ImportLayout::Delimited ? readDelimitedLine(Linha, VOQ_Exercicio)
                                           : readFixedColumnLine(Linha, VOQ_Exercicio);
}
