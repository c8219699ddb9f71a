#pragma once

#include <ibase.h>

#include <memory>

namespace fb {

// An extended SQL descriptor area with room for a given number of variables, owned.
class Sqlda {
 public:
  explicit Sqlda(int room = 0) { resize(room); }

  // Room for room variables, all zero, none described yet.
  void resize(int room) {
    const int n = room > 0 ? room : 1;
    storage_ = std::make_unique<std::max_align_t[]>(
        (XSQLDA_LENGTH(n) + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t));
    get()->version = SQLDA_VERSION1;
    get()->sqln = static_cast<ISC_SHORT>(n);
    get()->sqld = static_cast<ISC_SHORT>(room);
  }
  XSQLDA* get() const { return reinterpret_cast<XSQLDA*>(storage_.get()); }
  int room() const { return get()->sqln; }
  int count() const { return get()->sqld; }  // as described, or as set
  XSQLVAR& operator[](int i) const { return get()->sqlvar[i]; }

 private:
  std::unique_ptr<std::max_align_t[]> storage_;
};

}  // namespace fb
