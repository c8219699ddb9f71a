#pragma once

#include "import/LineValues.h"

#include <QByteArray>
#include <QString>

#include <optional>

// One line of the fixed-column layout (UTF-8); empty when the line is passed over.
// VOQ_Exercicio is the year a party line is stored under.
std::optional<LineValues> readFixedColumnLine(const QByteArray& Linha,
                                              const QString& VOQ_Exercicio);
