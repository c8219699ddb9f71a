#include "dataset/KeyIndex.h"

KeyIndex::KeyIndex(const RowStore& rows, int field, const std::vector<RowId>& liveRows)
    : field_(field) {
  rows_.reserve(liveRows.size());
  for (const RowId row : liveRows) {
    if (!rows.isNull(row, field)) rows_.emplace(static_cast<qint32>(rows.number(row, field)), row);
  }
}

void KeyIndex::add(const FieldValue& key, RowId row) {
  if (const auto* value = std::get_if<qint32>(&key)) rows_.emplace(*value, row);
}

void KeyIndex::remove(const FieldValue& key, RowId row) {
  const auto* value = std::get_if<qint32>(&key);
  if (value == nullptr) return;
  const auto [begin, end] = rows_.equal_range(*value);
  for (auto it = begin; it != end; ++it) {
    if (it->second == row) {
      rows_.erase(it);
      return;
    }
  }
}

std::optional<RowId> KeyIndex::find(qint32 key) const {
  std::optional<RowId> earliest;
  const auto [begin, end] = rows_.equal_range(key);
  for (auto it = begin; it != end; ++it) {
    if (!earliest || it->second < *earliest) earliest = it->second;
  }
  return earliest;
}
