#pragma once

#include "common/AppError.h"

// A delimited line too short for the columns its type reads. The text is the one the
// original program's string list gave, with the index counted from 0.
class ListIndexError : public AppError {
 public:
  explicit ListIndexError(qsizetype index);

  qsizetype index() const noexcept { return index_; }

 private:
  qsizetype index_;
};
