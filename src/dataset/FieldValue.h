#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QtGlobal>

#include <variant>

// One cell of an in-memory set: null, a 32-bit integer, 8-bit text (Windows-1252 bytes) or a
// timestamp. Timestamps carry Qt::UTC only so that they behave as naive wall-clock times:
// the database keeps no zone with them.
using FieldValue = std::variant<std::monostate, qint32, QByteArray, QDateTime>;

// An invalid timestamp is no time at all, so it counts as null.
inline bool isNull(const FieldValue& value) {
  const auto* timestamp = std::get_if<QDateTime>(&value);
  return std::holds_alternative<std::monostate>(value) ||
         (timestamp != nullptr && !timestamp->isValid());
}
