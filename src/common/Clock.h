#pragma once

#include <QDateTime>
#include <optional>

// The workstation's clock, which tests may stop at a moment of their choosing.
QDateTime Now();
QDate Today();
void SetNow(std::optional<QDateTime> fixed);
