#include "dataset/KeyIndex.h"

#include <algorithm>

KeyIndex::KeyIndex(const RowStore& rows, int field, const std::vector<RowId>& liveRows)
    : field_(field) {
  entries_.reserve(liveRows.size());
  for (const RowId row : liveRows) {
    if (!rows.isNull(row, field))
      entries_.push_back({static_cast<qint32>(rows.number(row, field)), row});
  }
  std::sort(entries_.begin(), entries_.end());
}

void KeyIndex::add(const FieldValue& key, RowId row) {
  const auto* value = std::get_if<qint32>(&key);
  if (value == nullptr) return;
  const Entry entry{*value, row};
  // New rows mostly come with the highest key and the highest id: at the end.
  if (entries_.empty() || entries_.back() < entry) {
    entries_.push_back(entry);
  } else {
    entries_.insert(std::upper_bound(entries_.begin(), entries_.end(), entry), entry);
  }
}

void KeyIndex::remove(const FieldValue& key, RowId row) {
  const auto* value = std::get_if<qint32>(&key);
  if (value == nullptr) return;
  const Entry entry{*value, row};
  const auto found = std::lower_bound(entries_.begin(), entries_.end(), entry);
  if (found != entries_.end() && *found == entry) entries_.erase(found);
}

std::optional<RowId> KeyIndex::find(qint32 key) const {
  // Entries of one key stand in row order, so the first is the earliest row.
  const auto found = std::lower_bound(entries_.begin(), entries_.end(), Entry{key, 0});
  if (found == entries_.end() || found->key != key) return std::nullopt;
  return found->row;
}
