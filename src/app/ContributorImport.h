#pragma once

#include "app/ImportRun.h"

class ImportJournal;
class ImportProgress;
class Tdm;

// Merges the campaign file into the contributor table through the module's write path: every
// accepted line inserted or rewritten, in one transaction committed every 1000 accepted lines
// and at the end, rolled back on error or when progress asks to stop. The cache is opened for
// the request's year when it is closed. Every line is recorded in the journal as it is done.
// Boxes go through the dialogs seam (none for a stop); it throws nothing.
ImportResult ImportContributors(Tdm& module, const ImportRequest& request, ImportProgress& progress,
                                ImportJournal& journal);
