#pragma once

#include <QString>
#include <QtGlobal>

#include "import/ImportLayout.h"

// What an import run is asked to do.
struct ImportRequest {
  QString path;
  QString year;  // the year of the write path's cache when the run opens it
  ImportLayout layout = ImportLayout::FixedColumn;
  // Everything done in one transaction that is rolled back at the end.
  bool dryRun = false;
  // The lines merged in blocks, with few round trips (see BulkMerger).
  bool bulk = false;
  // Whether a refused change that is sent again with every later row is reported again each
  // time, as the window's boxes do, or only the first time.
  bool reportEveryRetry = true;
};

// How an import run ended.
enum class ImportOutcome {
  Imported,
  Failed,     // the run's error was reported; the transaction is rolled back
  NoYear,     // the write path's cache was closed and no year was given; nothing was done
  Cancelled,  // stopped on request; the transaction is rolled back
};

struct ImportResult {
  ImportOutcome outcome = ImportOutcome::Imported;
  qint64 lines = 0;  // of the file, counted before reading
  qint64 linesRead = 0;
  qint64 linesCommitted = 0;  // read before the last commit: their work stays
  int imported = 0;           // rows inserted, as the window counts them
  int rewritten = 0;
  int importedCommitted = 0;  // of those, the ones before the last commit
  int rewrittenCommitted = 0;
  QString error;  // Failed: the run's error text
};
