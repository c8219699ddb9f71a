#pragma once

#include <QByteArrayView>

#include <memory>
#include <vector>

#include "dataset/PagedArray.h"

// The bytes of a column's texts, each text in one piece, reached by a 32-bit offset. Texts are
// added in pages (see PagedArray); a text that does not fit in what is left of the last page
// starts the next one, and one longer than a page gets pages of its own, side by side.
class TextHeap {
 public:
  // Whether a text of this many bytes can still be added without its offset passing 32 bits.
  bool canAdd(qsizetype bytes) const;
  // The offset of the copy; throws std::length_error where canAdd says no.
  quint32 add(QByteArrayView bytes);
  char* at(quint32 offset) { return pages_[offset / kPage] + offset % kPage; }
  const char* at(quint32 offset) const { return pages_[offset / kPage] + offset % kPage; }

 private:
  static constexpr quint64 kPage = kStorePageBytes;

  std::vector<char*> pages_;  // by page number, into blocks_
  std::vector<std::unique_ptr<char[]>> blocks_;
  quint64 end_ = 0;  // where the next text goes in the last page
};
