#pragma once

#include <map>

#include "app/ImportJournal.h"

// Passes every record on to the run's journal and counts the lines by what became of them, for
// the summary printed at the end.
class RunTally : public ImportJournal {
 public:
  explicit RunTally(ImportJournal& journal) : journal_(journal) {}

  void record(const LineRecord& line) override {
    ++counts_[line.fate];
    journal_.record(line);
  }
  void committed() override { journal_.committed(); }
  void ended(const ImportResult& result) override { journal_.ended(result); }

  qint64 count(LineFate fate) const {
    const auto found = counts_.find(fate);
    return found == counts_.end() ? 0 : found->second;
  }

 private:
  ImportJournal& journal_;
  std::map<LineFate, qint64> counts_;
};
