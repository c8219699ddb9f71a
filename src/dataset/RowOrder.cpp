#include "dataset/RowOrder.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// Windows-1252 byte -> rank: letters by their unaccented capital, everything else by its byte.
constexpr std::array<unsigned char, 256> makeRanks() {
  std::array<unsigned char, 256> ranks{};
  for (int b = 0; b < 256; ++b) ranks[b] = static_cast<unsigned char>(b);
  for (int b = 'a'; b <= 'z'; ++b) ranks[b] = static_cast<unsigned char>(b - 'a' + 'A');
  const auto fold = [&ranks](std::initializer_list<int> bytes, char letter) {
    for (const int b : bytes) {
      ranks[b] = static_cast<unsigned char>(letter);
      ranks[b + 0x20] = static_cast<unsigned char>(letter);  // the small letter of each capital
    }
  };
  fold({0xC0, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5}, 'A');
  fold({0xC7}, 'C');
  fold({0xC8, 0xC9, 0xCA, 0xCB}, 'E');
  fold({0xCC, 0xCD, 0xCE, 0xCF}, 'I');
  fold({0xD1}, 'N');
  fold({0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD8}, 'O');
  fold({0xD9, 0xDA, 0xDB, 0xDC}, 'U');
  fold({0xDD}, 'Y');
  ranks[0x8A] = ranks[0x9A] = 'S';  // Š š
  ranks[0x8E] = ranks[0x9E] = 'Z';  // Ž ž
  ranks[0x9F] = ranks[0xFF] = 'Y';  // Ÿ ÿ
  return ranks;
}

constexpr std::array<unsigned char, 256> kRanks = makeRanks();

template <typename T>
int threeWay(T a, T b) {
  return a < b ? -1 : b < a ? 1 : 0;
}

// The ranked bytes before `from` are known to be equal.
int compareText(QByteArrayView a, QByteArrayView b, qsizetype from) {
  const auto* pa = reinterpret_cast<const unsigned char*>(a.data());
  const auto* pb = reinterpret_cast<const unsigned char*>(b.data());
  const qsizetype common = std::min(a.size(), b.size());
  for (qsizetype i = std::min(from, common); i < common; ++i) {
    if (kRanks[pa[i]] != kRanks[pb[i]]) return kRanks[pa[i]] < kRanks[pb[i]] ? -1 : 1;
  }
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  return common == 0 ? 0 : threeWay(std::memcmp(pa, pb, common), 0);
}

constexpr qsizetype kHeadBytes = 16;

}  // namespace

RowOrder::RowOrder(const RowStore& rows, std::optional<SortField> by)
    : rows_(rows), by_(by), text_(by && RowStore::holdsText(rows.type(by->field))) {}

void RowOrder::sort(std::vector<RowId>& order) const {
  // Fetch order first, in linear time: nulls and equal values keep it.
  std::vector<bool> present(rows_.rowCount());
  for (const RowId row : order) present[row] = true;
  std::vector<RowId> nulls;
  std::vector<RowId> values;
  values.reserve(order.size());
  for (RowId row = 0; row < present.size(); ++row) {
    if (!present[row]) continue;
    if (by_ && rows_.isNull(row, by_->field)) {
      nulls.push_back(row);
    } else {
      values.push_back(row);
    }
  }
  order.clear();
  if (!by_) {
    order = std::move(values);
    return;
  }
  const qsizetype skip = sharedPrefix(values);
  std::vector<Key> keys;
  keys.reserve(values.size());
  for (const RowId row : values) keys.push_back(keyOf(row, skip));
  values = {};
  const bool descending = by_->descending;
  std::sort(keys.begin(), keys.end(), [this, skip, descending](const Key& a, const Key& b) {
    const int field = compareKeys(a, b, skip);
    if (field != 0) return descending ? field > 0 : field < 0;
    return a.row < b.row;
  });
  if (!descending) order = std::move(nulls);
  for (const Key& key : keys) order.push_back(key.row);
  if (descending) order.insert(order.end(), nulls.begin(), nulls.end());
}

bool RowOrder::operator()(RowId a, RowId b) const {
  if (by_) {
    const int field = compareField(a, b);
    if (field != 0) return by_->descending ? field > 0 : field < 0;
  }
  return a < b;
}

int RowOrder::compareField(RowId a, RowId b) const {
  const bool nullA = rows_.isNull(a, by_->field);
  const bool nullB = rows_.isNull(b, by_->field);
  if (nullA || nullB) return nullA == nullB ? 0 : nullA ? -1 : 1;
  return compareKeys(keyOf(a, 0), keyOf(b, 0), 0);
}

RowOrder::Key RowOrder::keyOf(RowId row, qsizetype skip) const {
  if (!text_) {
    // Offset binary, so unsigned order is signed order.
    const auto number = static_cast<quint64>(rows_.number(row, by_->field)) ^ (quint64{1} << 63);
    return Key{{number, 0}, nullptr, 0, row};
  }
  const QByteArrayView text = rows_.text(row, by_->field);
  Key key{{0, 0}, text.data(), static_cast<quint32>(text.size()), row};
  for (qsizetype i = 0; i < kHeadBytes && skip + i < text.size(); ++i) {
    const quint64 rank = kRanks[static_cast<unsigned char>(text[skip + i])];
    key.head[i / 8] |= rank << (56 - 8 * (i % 8));
  }
  return key;
}

int RowOrder::compareKeys(const Key& a, const Key& b, qsizetype skip) const {
  if (a.head[0] != b.head[0]) return a.head[0] < b.head[0] ? -1 : 1;
  if (a.head[1] != b.head[1]) return a.head[1] < b.head[1] ? -1 : 1;
  if (!text_) return 0;
  return compareText(QByteArrayView(a.text, a.size), QByteArrayView(b.text, b.size),
                     skip + kHeadBytes);
}

qsizetype RowOrder::sharedPrefix(const std::vector<RowId>& rows) const {
  if (!text_ || rows.empty()) return 0;
  const QByteArrayView first = rows_.text(rows.front(), by_->field);
  qsizetype shared = first.size();
  for (const RowId row : rows) {
    const QByteArrayView text = rows_.text(row, by_->field);
    qsizetype i = 0;
    const qsizetype limit = std::min(shared, text.size());
    while (i < limit && kRanks[static_cast<unsigned char>(text[i])] ==
                            kRanks[static_cast<unsigned char>(first[i])]) {
      ++i;
    }
    shared = i;
    if (shared == 0) break;
  }
  return shared;
}
