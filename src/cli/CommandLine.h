#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "import/ImportLayout.h"

// Where the audit file of a run goes.
enum class AuditTarget {
  LogsFolder,      // a new file in the logs folder beside the executable
  Path,            // the file given, or a new file in the folder given
  StandardOutput,  // "-"
  None,            // "none"
};

// What the command line asks for.
struct ImportCommand {
  enum class Action { Import, Help, Version } action = Action::Import;
  QString file;
  QString login;
  QString year;                        // defaults to the current year
  std::optional<ImportLayout> layout;  // from the file's name when not given
  bool dryRun = false;
  bool bulk = false;
  AuditTarget audit = AuditTarget::LogsFolder;
  QString auditPath;
  bool quiet = false;
};

// The arguments after the program's name; throws UsageError for a command line that asks for
// nothing sensible. The file's existence is not checked here.
ImportCommand ParseCommandLine(const QStringList& arguments, const QString& currentYear);

struct UsageError {
  QString message;
};

// The text of --help.
QString HelpText();
