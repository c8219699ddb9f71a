#pragma once

#include <QByteArrayView>

#include <array>
#include <memory>
#include <vector>

#include "dataset/PagedArray.h"

// The texts of a column, each reached by a 32-bit offset: its length (one byte below 255, else
// 255 and four bytes), then its bytes, in one piece. Texts are added in pages (see PagedArray);
// one that does not fit in what is left of the last page starts the next one, and one longer
// than a page gets pages of its own, side by side. A short text met a moment ago is not stored
// again: columns such as a type, a code or a login repeat a few values over every row.
class TextHeap {
 public:
  // Whether a text of this many bytes can still be added without its offset passing 32 bits.
  bool canAdd(qsizetype bytes) const;
  // The offset of the text; throws std::length_error where canAdd says no. Texts are never
  // changed in place, since one may stand for several cells.
  quint32 add(QByteArrayView bytes);
  QByteArrayView at(quint32 offset) const;

 private:
  static constexpr quint64 kPage = kStorePageBytes;
  static constexpr qsizetype kShortText = 32;

  const unsigned char* address(quint64 offset) const {
    return pages_[offset / kPage] + offset % kPage;
  }

  std::vector<unsigned char*> pages_;  // by page number, into blocks_
  std::vector<std::unique_ptr<unsigned char[]>> blocks_;
  quint64 end_ = 0;  // where the next text goes in the last page
  // Short texts added lately, by a hash of their bytes; 0 where none (offset 0 is a long text's
  // or the first text's, found again or not at no loss).
  std::array<quint32, 256> recent_{};
};
