#include "CommandLineRun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "CampaignLines.h"
#include "TestServer.h"

namespace tavrel::test {

namespace {

constexpr int kRunLimitMs = 10 * 60 * 1000;

}  // namespace

InstalledCommand::InstalledCommand(const QString& owner) : install(owner) {
  program_ = install.folder() + "/" + QFileInfo(TAVREL_IMPORT_EXE).fileName();
  QFile::remove(program_);
  if (!QFile::copy(TAVREL_IMPORT_EXE, program_))
    throw TestServerError("cannot copy the command line's program into the installation");
}

std::unique_ptr<QProcess> InstalledCommand::start(const QStringList& arguments) const {
  auto process = std::make_unique<QProcess>();
  process->setProgram(program_);
  process->setArguments(arguments);
  process->start();
  if (!process->waitForStarted()) throw TestServerError("the command line's program did not start");
  return process;
}

CommandResult InstalledCommand::finish(QProcess& process) {
  if (!process.waitForFinished(kRunLimitMs)) {
    process.kill();
    process.waitForFinished();
    throw TestServerError("the command line's program did not end");
  }
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromUtf8(process.readAllStandardOutput()),
          QString::fromUtf8(process.readAllStandardError())};
}

CommandResult InstalledCommand::run(const QStringList& arguments) const {
  return finish(*start(arguments));
}

QStringList InstalledCommand::rows(const QString& columns, const QString& where) const {
  return TestServer::values(
      install.database,
      QString("SELECT %1 FROM GR_CONTRIB_CAMPANHA WHERE %2 ORDER BY COD_CAM").arg(columns, where));
}

int InstalledCommand::rowCount() const {
  return values("SELECT COUNT(*) FROM GR_CONTRIB_CAMPANHA").value(0).toInt();
}

QStringList InstalledCommand::values(const QString& select) const {
  return TestServer::values(install.database, select);
}

QStringList LogsFolder(const InstalledCommand& command) {
  const QDir logs(command.install.folder() + "/logs");
  QStringList paths;
  for (const QString& name : logs.entryList({"*.csv"}, QDir::Files)) paths << logs.filePath(name);
  return paths;
}

QString CampaignFiles::write(const QString& name, const QByteArray& bytes) {
  const QString path = dir_.filePath(name);
  WriteFile(path, bytes);
  return path;
}

}  // namespace tavrel::test
