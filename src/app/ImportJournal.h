#pragma once

#include <QDateTime>
#include <QString>

#include "app/ImportRun.h"

// What became of one line of a campaign file.
enum class LineFate {
  Inserted,        // a new row, with its code
  Rewritten,       // the stored row, with its code and the date it replaced
  NotOlder,        // passed over: the stored date is not older than the line's
  OtherYear,       // passed over: the CNPJ is stored in a row of a year the run does not rewrite
  Refused,         // the database refused the row, with its explanation
  NotContributor,  // passed over before any lookup
  Failed,          // the error that stopped the run came on this line
};

struct LineRecord {
  qint64 number = 0;  // 1-based
  LineFate fate = LineFate::NotContributor;
  QString CNPJ;
  QString Nome;
  qint32 code = 0;      // the row's code; 0 when there is none
  QDateTime replaced;   // Rewritten: the date that was stored; invalid when none was
  QString explanation;  // Refused, Failed
};

// Where a run records what it did, line by line, as it goes.
class ImportJournal {
 public:
  virtual ~ImportJournal() = default;
  virtual void record(const LineRecord& line) = 0;
  // Every line recorded so far is stored for good.
  virtual void committed() = 0;
  // The last call. Unless the run was imported for good, the lines recorded since the last
  // commit were undone (in a dry run, every line was).
  virtual void ended(const ImportResult& result) = 0;
};

// For a run that keeps no record.
class NoJournal final : public ImportJournal {
 public:
  void record(const LineRecord&) override {}
  void committed() override {}
  void ended(const ImportResult&) override {}
};
