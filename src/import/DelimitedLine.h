#pragma once

#include "import/LineValues.h"

#include <QByteArray>
#include <QString>

#include <optional>

// One line of the ';'-delimited layout (Windows-1252); empty when the line is passed over.
// VOQ_Exercicio is the year a party line is stored under. Throws ListIndexError when an
// accepted line has fewer fields than its type reads.
std::optional<LineValues> readDelimitedLine(const QByteArray& Linha, const QString& VOQ_Exercicio);
