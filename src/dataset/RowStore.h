#pragma once

#include <QByteArrayView>

#include <vector>

#include "dataset/FieldDef.h"
#include "dataset/FieldValue.h"

using RowId = quint32;

// The rows of an in-memory set, column by column: integers and timestamps as 64-bit numbers,
// texts as slices of one byte buffer per column. A row keeps its id for as long as the store
// lives; orders over the rows are kept elsewhere.
class RowStore {
 public:
  RowStore() = default;
  explicit RowStore(const std::vector<FieldDef>& fields);

  // Same field names and kinds, in the same order.
  bool fits(const std::vector<FieldDef>& fields) const;
  int fieldCount() const { return static_cast<int>(columns_.size()); }
  FieldType type(int field) const { return columns_[field].type; }
  RowId rowCount() const { return rowCount_; }
  void reserve(RowId rows);

  // Throws AppError when a value's kind does not suit its field; a text is stored as given.
  void check(int field, const FieldValue& value) const;
  RowId append(const std::vector<FieldValue>& values);
  void set(RowId row, int field, const FieldValue& value);
  void setRow(RowId row, const std::vector<FieldValue>& values);

  static bool holdsText(FieldType type) {
    return type == FieldType::String || type == FieldType::Blob;
  }

  FieldValue value(RowId row, int field) const;
  std::vector<FieldValue> row(RowId row) const;

  // Raw cells, for comparisons that must not build values.
  bool isNull(RowId row, int field) const { return columns_[field].nulls[row]; }
  qint64 number(RowId row, int field) const { return columns_[field].numbers[row]; }
  QByteArrayView text(RowId row, int field) const {
    const Column& column = columns_[field];
    const TextSlice& slice = column.texts[row];
    return QByteArrayView(column.bytes.data() + slice.offset, slice.size);
  }

 private:
  struct TextSlice {
    quint32 offset;
    quint32 size;
  };
  struct Column {
    QString name;
    FieldType type;
    std::vector<qint64> numbers;   // Integer and DateTime
    std::vector<TextSlice> texts;  // String and Blob
    std::vector<char> bytes;
    std::vector<bool> nulls;
  };

  void store(RowId row, int field, const FieldValue& value);

  std::vector<Column> columns_;
  RowId rowCount_ = 0;
};
