#include "dataset/RowStore.h"

#include <limits>

#include "common/AppError.h"

namespace {

qint64 wallClockMSecs(const QDateTime& value) {
  return QDateTime(value.date(), value.time(), Qt::UTC).toMSecsSinceEpoch();
}

RowStore::Cell cellOf(const FieldValue& value) {
  if (::isNull(value)) return {};
  if (const auto* integer = std::get_if<qint32>(&value)) return qint64{*integer};
  if (const auto* timestamp = std::get_if<QDateTime>(&value)) return wallClockMSecs(*timestamp);
  if (const auto* bytes = std::get_if<QByteArray>(&value)) return QByteArrayView(*bytes);
  return {};
}

std::vector<RowStore::Cell> cellsOf(const std::vector<FieldValue>& values) {
  std::vector<RowStore::Cell> cells;
  cells.reserve(values.size());
  for (const FieldValue& value : values) cells.push_back(cellOf(value));
  return cells;
}

}  // namespace

RowStore::RowStore(const std::vector<FieldDef>& fields) {
  columns_.reserve(fields.size());
  for (const FieldDef& field : fields)
    columns_.push_back(Column{field.name, field.type, {}, {}, {}, {}, {}});
}

bool RowStore::fits(const std::vector<FieldDef>& fields) const {
  if (fields.size() != columns_.size()) return false;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (fields[i].name != columns_[i].name || fields[i].type != columns_[i].type) return false;
  }
  return true;
}

RowId RowStore::append(const std::vector<FieldValue>& values) {
  checkCount(values.size());
  for (int field = 0; field < fieldCount(); ++field) check(field, values[field]);
  return append(cellsOf(values));
}

RowId RowStore::append(const std::vector<Cell>& cells) {
  checkCount(cells.size());
  if (rowCount_ == std::numeric_limits<RowId>::max())
    throw AppError(QStringLiteral("Too many rows"));
  for (int field = 0; field < fieldCount(); ++field) checkCell(field, cells[field]);
  for (Column& column : columns_) {
    switch (column.type) {
      case FieldType::Integer:
        column.integers.push_back(0);
        break;
      case FieldType::DateTime:
        column.stamps.push_back(0);
        break;
      case FieldType::String:
      case FieldType::Blob:
        column.texts.push_back(0);
        break;
    }
    column.nulls.push_back(true);
  }
  const RowId row = rowCount_++;
  for (int field = 0; field < fieldCount(); ++field) store(row, field, cells[field]);
  return row;
}

void RowStore::set(RowId row, int field, const FieldValue& value) {
  check(field, value);
  store(row, field, cellOf(value));
}

void RowStore::setRow(RowId row, const std::vector<FieldValue>& values) {
  checkCount(values.size());
  for (int field = 0; field < fieldCount(); ++field) check(field, values[field]);
  for (int field = 0; field < fieldCount(); ++field) store(row, field, cellOf(values[field]));
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

void RowStore::checkCount(std::size_t values) const {
  if (values != columns_.size()) {
    throw AppError(
        QStringLiteral("A row needs %1 values, not %2").arg(columns_.size()).arg(values));
  }
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
  checkCell(field, cellOf(value));
}

void RowStore::checkCell(int field, const Cell& cell) const {
  const Column& column = columns_[field];
  const bool fits = std::holds_alternative<std::monostate>(cell) ||
                    (holdsText(column.type) ? std::holds_alternative<QByteArrayView>(cell)
                                            : std::holds_alternative<qint64>(cell));
  if (!fits) {
    throw AppError(QStringLiteral("Field '%1' cannot hold a value of this kind").arg(column.name));
  }
  if (const auto* bytes = std::get_if<QByteArrayView>(&cell);
      bytes != nullptr && !column.heap.canAdd(bytes->size())) {
    throw AppError(QStringLiteral("Field '%1' holds too much text").arg(column.name));
  }
}

void RowStore::store(RowId row, int field, const Cell& cell) {
  Column& column = columns_[field];
  column.nulls[row] = std::holds_alternative<std::monostate>(cell);
  if (const auto* number = std::get_if<qint64>(&cell)) {
    if (column.type == FieldType::Integer) {
      column.integers[row] = static_cast<qint32>(*number);
    } else {
      column.stamps[row] = *number;
    }
  } else if (const auto* bytes = std::get_if<QByteArrayView>(&cell)) {
    column.texts[row] = column.heap.add(*bytes);
  }
}
