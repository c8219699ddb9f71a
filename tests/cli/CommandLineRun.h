#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include <gtest/gtest.h>

#include "AuditCsv.h"
#include "Installation.h"

namespace tavrel::test {

// What a run of the command line left behind.
struct CommandResult {
  int status = -1;
  QString out;
  QString err;
};

// The command-line program installed beside the executable's copy in an installation folder (see
// Installation.h), whose voq.ini names a fresh database on the private server.
class InstalledCommand {
 public:
  explicit InstalledCommand(const QString& owner = "SYSDBA");

  // Runs it to its end.
  CommandResult run(const QStringList& arguments) const;
  // Starts it; the test waits for it and reads its outputs.
  std::unique_ptr<QProcess> start(const QStringList& arguments) const;
  static CommandResult finish(QProcess& process);

  // Columns of the table's rows ordered by COD_CAM; see TestServer::values.
  QStringList rows(const QString& columns, const QString& where = "1 = 1") const;
  int rowCount() const;
  // The values of any query on the database; see TestServer::values.
  QStringList values(const QString& select) const;

  Installation install;

 private:
  QString program_;
};

// The audit files in the installation's logs folder.
QStringList LogsFolder(const InstalledCommand& command);

// A folder for campaign files.
class CampaignFiles {
 public:
  QString write(const QString& name, const QByteArray& bytes);

 private:
  QTemporaryDir dir_;
};

}  // namespace tavrel::test
