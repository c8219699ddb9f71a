#pragma once

#include <optional>
#include <vector>

#include "dataset/RowStore.h"

struct SortField {
  int field;
  bool descending;
};

// The order of a set's rows: by one field, nulls first (last when descending), equal values in
// row id order, which is the order in which the rows were fetched or posted; by row id alone
// when no field is given.
//
// Texts are ranked byte by byte through a fixed table that folds case and the accents of
// Portuguese (Á, Ã, Ç, ...) onto the plain capital letter, so "água" sits among the A's;
// texts equal under that table are ranked by their bytes. A sort builds each row's key once:
// a number, or the first ranked bytes of its text after the prefix that all texts share, so
// most comparisons are of two integers.
class RowOrder {
 public:
  RowOrder(const RowStore& rows, std::optional<SortField> by);

  // A strict total order: whether row a comes before row b.
  bool operator()(RowId a, RowId b) const;
  void sort(std::vector<RowId>& order) const;

 private:
  struct Key {
    quint64 head[2];  // ranked text bytes from a shared offset, big-endian; or a number
    const char* text;
    quint32 size;
    RowId row;
  };

  int compareField(RowId a, RowId b) const;
  // skip: how many leading ranked bytes every compared text shares.
  Key keyOf(RowId row, qsizetype skip) const;
  int compareKeys(const Key& a, const Key& b, qsizetype skip) const;
  qsizetype sharedPrefix(const std::vector<RowId>& rows) const;

  const RowStore& rows_;
  std::optional<SortField> by_;
  bool text_ = false;
};
