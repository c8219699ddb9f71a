#pragma once

#include <cstddef>
#include <memory>
#include <vector>

// Pages large enough that the C library takes each straight from the system and gives it back
// when freed (see MemoryPolicy).
inline constexpr std::size_t kStorePageBytes = 256 * 1024;

// A growing array kept in fixed pages: appending never moves what is stored, so filling it
// touches each byte once and never holds an old and a new copy at once, as a vector that doubles
// does while it grows.
template <typename T>
class PagedArray {
 public:
  std::size_t size() const { return size_; }

  void push_back(const T& value) {
    if (size_ % kPerPage == 0) pages_.push_back(std::make_unique_for_overwrite<T[]>(kPerPage));
    pages_[size_ / kPerPage][size_ % kPerPage] = value;
    ++size_;
  }

  T& operator[](std::size_t index) { return pages_[index / kPerPage][index % kPerPage]; }
  const T& operator[](std::size_t index) const {
    return pages_[index / kPerPage][index % kPerPage];
  }

 private:
  static constexpr std::size_t kPerPage = kStorePageBytes / sizeof(T);

  std::vector<std::unique_ptr<T[]>> pages_;
  std::size_t size_ = 0;
};
