#pragma once

#include <QByteArrayView>

#include <variant>
#include <vector>

#include "dataset/FieldDef.h"
#include "dataset/FieldValue.h"
#include "dataset/PagedArray.h"
#include "dataset/TextHeap.h"

using RowId = quint32;

// The rows of an in-memory set, column by column: integers in 32 bits, timestamps as 64-bit
// milliseconds, texts as offsets into a heap of texts per column, all in pages that never move. A
// row keeps its id for as long as the store lives; orders over the rows are kept elsewhere.
class RowStore {
 public:
  RowStore() = default;
  explicit RowStore(const std::vector<FieldDef>& fields);

  // Same field names and kinds, in the same order.
  bool fits(const std::vector<FieldDef>& fields) const;
  int fieldCount() const { return static_cast<int>(columns_.size()); }
  FieldType type(int field) const { return columns_[field].type; }
  RowId rowCount() const { return rowCount_; }

  // A value as a column keeps it: a number for an Integer (its 32 bits) or a DateTime (its
  // wall clock as milliseconds since 1970, read as UTC), the bytes of a text. Rows read from a
  // database are stored from cells, without building values.
  using Cell = std::variant<std::monostate, qint64, QByteArrayView>;

  // Throws AppError when a value's kind does not suit its field; a text is stored as given.
  void check(int field, const FieldValue& value) const;
  RowId append(const std::vector<FieldValue>& values);
  RowId append(const std::vector<Cell>& cells);
  void set(RowId row, int field, const FieldValue& value);
  void setRow(RowId row, const std::vector<FieldValue>& values);

  static bool holdsText(FieldType type) {
    return type == FieldType::String || type == FieldType::Blob;
  }

  FieldValue value(RowId row, int field) const;
  std::vector<FieldValue> row(RowId row) const;

  // Raw cells, for comparisons that must not build values.
  bool isNull(RowId row, int field) const { return columns_[field].nulls[row]; }
  qint64 number(RowId row, int field) const {
    const Column& column = columns_[field];
    return column.type == FieldType::Integer ? column.integers[row] : column.stamps[row];
  }
  QByteArrayView text(RowId row, int field) const {
    const Column& column = columns_[field];
    return column.nulls[row] ? QByteArrayView("", 0) : column.heap.at(column.texts[row]);
  }

 private:
  struct Column {
    QString name;
    FieldType type;
    PagedArray<qint32> integers;  // Integer
    PagedArray<qint64> stamps;    // DateTime
    PagedArray<quint32> texts;    // String and Blob: offsets into the heap
    TextHeap heap;
    std::vector<bool> nulls;
  };

  void checkCount(std::size_t values) const;
  void checkCell(int field, const Cell& cell) const;
  void store(RowId row, int field, const Cell& cell);

  std::vector<Column> columns_;
  RowId rowCount_ = 0;
};
