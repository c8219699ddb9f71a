#include "dataset/TextHeap.h"

#include <QHashFunctions>

#include <cstring>
#include <limits>
#include <stdexcept>

namespace {

constexpr quint64 kOffsets = quint64{std::numeric_limits<quint32>::max()} + 1;
constexpr unsigned char kLongLength = 255;

quint64 lengthBytes(quint64 size) {
  return size < kLongLength ? 1 : 5;
}

}  // namespace

bool TextHeap::canAdd(qsizetype bytes) const {
  // The worst case: a new page, then the text.
  const auto size = static_cast<quint64>(bytes);
  return pages_.size() * kPage + lengthBytes(size) + size <= kOffsets;
}

quint32 TextHeap::add(QByteArrayView bytes) {
  if (!canAdd(bytes.size())) throw std::length_error("text heap full");
  quint32* recent = nullptr;
  if (bytes.size() <= kShortText) {
    recent = &recent_[qHash(bytes) % recent_.size()];
    if (*recent != 0 && at(*recent) == bytes) return *recent;
  }
  const auto size = static_cast<quint64>(bytes.size());
  const quint64 record = lengthBytes(size) + size;
  if (record > pages_.size() * kPage - end_) {
    const quint64 count = (record + kPage - 1) / kPage;
    auto block = std::make_unique_for_overwrite<unsigned char[]>(count * kPage);
    end_ = pages_.size() * kPage;
    for (quint64 i = 0; i < count; ++i) pages_.push_back(block.get() + i * kPage);
    blocks_.push_back(std::move(block));
  }
  const auto offset = static_cast<quint32>(end_);
  unsigned char* to = pages_[end_ / kPage] + end_ % kPage;
  if (size < kLongLength) {
    *to++ = static_cast<unsigned char>(size);
  } else {
    *to++ = kLongLength;
    const auto length = static_cast<quint32>(size);
    std::memcpy(to, &length, sizeof length);
    to += sizeof length;
  }
  if (size > 0) std::memcpy(to, bytes.data(), size);
  end_ += record;
  if (recent != nullptr) *recent = offset;
  return offset;
}

QByteArrayView TextHeap::at(quint32 offset) const {
  const unsigned char* from = address(offset);
  quint32 size = *from++;
  if (size == kLongLength) {
    std::memcpy(&size, from, sizeof size);
    from += sizeof size;
  }
  return QByteArrayView(reinterpret_cast<const char*>(from), size);
}
