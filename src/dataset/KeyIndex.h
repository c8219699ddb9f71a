#pragma once

#include <compare>
#include <optional>
#include <vector>

#include "dataset/RowStore.h"

// Finds rows by the value of one integer field without scanning them, in 8 bytes a row. Keys
// need not be unique: a refused insert may leave two rows with one key; the earliest row is the
// one found.
class KeyIndex {
 public:
  KeyIndex(const RowStore& rows, int field, const std::vector<RowId>& liveRows);

  int field() const { return field_; }
  void add(const FieldValue& key, RowId row);
  void remove(const FieldValue& key, RowId row);
  std::optional<RowId> find(qint32 key) const;

 private:
  struct Entry {
    qint32 key;
    RowId row;
    auto operator<=>(const Entry&) const = default;
  };

  int field_;
  std::vector<Entry> entries_;  // by key, then row
};
