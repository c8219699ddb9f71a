#include "dataset/TextHeap.h"

#include <cstring>
#include <limits>
#include <stdexcept>

namespace {

constexpr quint64 kOffsets = quint64{std::numeric_limits<quint32>::max()} + 1;

}  // namespace

bool TextHeap::canAdd(qsizetype bytes) const {
  // The worst case: a new page, then the text.
  return pages_.size() * kPage + static_cast<quint64>(bytes) <= kOffsets;
}

quint32 TextHeap::add(QByteArrayView bytes) {
  if (!canAdd(bytes.size())) throw std::length_error("text heap full");
  const auto size = static_cast<quint64>(bytes.size());
  if (size == 0) return 0;
  if (size > pages_.size() * kPage - end_) {
    const quint64 count = (size + kPage - 1) / kPage;
    auto block = std::make_unique_for_overwrite<char[]>(count * kPage);
    end_ = pages_.size() * kPage;
    for (quint64 i = 0; i < count; ++i) pages_.push_back(block.get() + i * kPage);
    blocks_.push_back(std::move(block));
  }
  const auto offset = static_cast<quint32>(end_);
  std::memcpy(at(offset), bytes.data(), size);
  end_ += size;
  return offset;
}
