#include "dataset/RowStore.h"

#include <limits>

#include "common/AppError.h"

namespace {

qint64 wallClockMSecs(const QDateTime& value) {
  return QDateTime(value.date(), value.time(), Qt::UTC).toMSecsSinceEpoch();
}

}  // namespace

RowStore::RowStore(const std::vector<FieldDef>& fields) {
  columns_.reserve(fields.size());
  for (const FieldDef& field : fields)
    columns_.push_back(Column{field.name, field.type, {}, {}, {}, {}});
}

bool RowStore::fits(const std::vector<FieldDef>& fields) const {
  if (fields.size() != columns_.size()) return false;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (fields[i].name != columns_[i].name || fields[i].type != columns_[i].type) return false;
  }
  return true;
}

void RowStore::reserve(RowId rows) {
  for (Column& column : columns_) {
    if (holdsText(column.type)) {
      column.texts.reserve(rows);
    } else {
      column.numbers.reserve(rows);
    }
    column.nulls.reserve(rows);
  }
}

RowId RowStore::append(const std::vector<FieldValue>& values) {
  if (values.size() != columns_.size()) {
    throw AppError(
        QStringLiteral("A row needs %1 values, not %2").arg(columns_.size()).arg(values.size()));
  }
  if (rowCount_ == std::numeric_limits<RowId>::max())
    throw AppError(QStringLiteral("Too many rows"));
  for (int field = 0; field < fieldCount(); ++field) check(field, values[field]);
  for (Column& column : columns_) {
    if (holdsText(column.type)) {
      column.texts.push_back({0, 0});
    } else {
      column.numbers.push_back(0);
    }
    column.nulls.push_back(true);
  }
  const RowId row = rowCount_++;
  for (int field = 0; field < fieldCount(); ++field) store(row, field, values[field]);
  return row;
}

void RowStore::set(RowId row, int field, const FieldValue& value) {
  check(field, value);
  store(row, field, value);
}

void RowStore::setRow(RowId row, const std::vector<FieldValue>& values) {
  for (int field = 0; field < fieldCount(); ++field) check(field, values[field]);
  for (int field = 0; field < fieldCount(); ++field) store(row, field, values[field]);
}

FieldValue RowStore::value(RowId row, int field) const {
  if (isNull(row, field)) return {};
  switch (columns_[field].type) {
    case FieldType::Integer:
      return static_cast<qint32>(number(row, field));
    case FieldType::DateTime:
      return QDateTime::fromMSecsSinceEpoch(number(row, field), Qt::UTC);
    case FieldType::String:
    case FieldType::Blob:
      return text(row, field).toByteArray();
  }
  return {};
}

std::vector<FieldValue> RowStore::row(RowId row) const {
  std::vector<FieldValue> values;
  values.reserve(columns_.size());
  for (int field = 0; field < fieldCount(); ++field) values.push_back(value(row, field));
  return values;
}

void RowStore::check(int field, const FieldValue& value) const {
  const FieldType type = columns_[field].type;
  const bool fits = ::isNull(value) ||
                    (type == FieldType::Integer && std::holds_alternative<qint32>(value)) ||
                    (type == FieldType::DateTime && std::holds_alternative<QDateTime>(value)) ||
                    (holdsText(type) && std::holds_alternative<QByteArray>(value));
  if (!fits) {
    throw AppError(
        QStringLiteral("Field '%1' cannot hold a value of this kind").arg(columns_[field].name));
  }
  if (const auto* bytes = std::get_if<QByteArray>(&value);
      bytes != nullptr &&
      columns_[field].bytes.size() + bytes->size() > std::numeric_limits<quint32>::max()) {
    throw AppError(QStringLiteral("Field '%1' holds too much text").arg(columns_[field].name));
  }
}

void RowStore::store(RowId row, int field, const FieldValue& value) {
  Column& column = columns_[field];
  column.nulls[row] = ::isNull(value);
  if (::isNull(value)) return;
  if (const auto* integer = std::get_if<qint32>(&value)) {
    column.numbers[row] = *integer;
  } else if (const auto* timestamp = std::get_if<QDateTime>(&value)) {
    column.numbers[row] = wallClockMSecs(*timestamp);
  } else {
    const QByteArray& bytes = std::get<QByteArray>(value);
    TextSlice& slice = column.texts[row];
    // A text no longer than the one it replaces takes its place, so edits do not grow the buffer.
    if (static_cast<quint32>(bytes.size()) > slice.size) {
      slice.offset = static_cast<quint32>(column.bytes.size());
      column.bytes.insert(column.bytes.end(), bytes.begin(), bytes.end());
    } else {
      std::copy(bytes.begin(), bytes.end(), column.bytes.begin() + slice.offset);
    }
    slice.size = static_cast<quint32>(bytes.size());
  }
}
