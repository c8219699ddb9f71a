#pragma once

#include "import/ImportLayout.h"
#include "import/LineValues.h"

#include <QByteArray>
#include <QString>

#include <optional>

// One raw line of a campaign file (its break removed) in the file's layout; empty when the
// line is passed over. Throws ListIndexError for a short accepted delimited line.
std::optional<LineValues> readImportLine(const QByteArray& Linha, ImportLayout layout,
                                         const QString& VOQ_Exercicio);
