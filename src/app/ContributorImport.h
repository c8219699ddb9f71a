#pragma once

#include <QString>

class ImportProgress;
class Tdm;

// How an import run ended.
enum class ImportOutcome {
  Imported,
  Failed,  // the run's error box was shown; the transaction is rolled back
  NoYear,  // the write path's cache was closed and no year was given; nothing was done
};

// Merges the campaign file at path into the contributor table through the module's write path:
// every accepted line inserted or rewritten, in one transaction committed every 1000 accepted
// lines and at the end, rolled back on error. The cache is opened for year when it is closed.
// Boxes go through the dialogs seam; it throws nothing.
ImportOutcome ImportContributors(Tdm& module, const QString& path, const QString& year,
                                 ImportProgress& progress);
