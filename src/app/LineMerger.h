#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "app/ImportJournal.h"
#include "import/LineValues.h"

// How the lines of an import run reach the table: one at a time, or in blocks. Every line given
// comes back as a record through the run's `done`, in the order given, now or by a later call;
// a line whose handling fails comes back as Failed before the failure is thrown.
class LineMerger {
 public:
  using Done = std::function<void(const LineRecord&)>;
  virtual ~LineMerger() = default;

  // What the run needs before its lines are counted.
  virtual void prepare(const QString& year) = 0;
  // Starts the run's transaction.
  virtual void begin() = 0;
  // One line of the file, with its values when it is a contributor line.
  virtual void merge(qint64 number, const std::optional<LineValues>& line) = 0;
  // Every line given so far is done.
  virtual void flush() = 0;
  // Every line given so far is done and stored for good; the run goes on in a transaction.
  virtual void commit() = 0;
};
