#include "CommandLineRun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "CampaignLines.h"
#include "TestServer.h"

namespace tavrel::test {

namespace {

constexpr int kRunLimitMs = 10 * 60 * 1000;

// The fields of the CSV rows in text: ';' between fields, quoted fields with quotes doubled,
// rows ended by CR LF (a line break inside quotes belongs to the field).
QList<QStringList> ReadCsv(const QString& text) {
  QList<QStringList> rows;
  QStringList row;
  QString field;
  bool quoted = false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (quoted) {
      if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
        field += u'"';
        ++i;
      } else if (c == u'"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c == u'"') {
      quoted = true;
    } else if (c == u';') {
      row << field;
      field.clear();
    } else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
      row << field;
      rows << row;
      row.clear();
      field.clear();
      ++i;
    } else {
      field += c;
    }
  }
  if (!field.isEmpty() || !row.isEmpty()) rows << (row << field);
  return rows;
}

QList<QStringList> ReadAudit(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) throw TestServerError("cannot read " + path.toStdString());
  QString text = QString::fromUtf8(file.readAll());
  if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
  return ReadCsv(text);
}

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

QList<QStringList> AuditRows(const QString& path) {
  const QList<QStringList> all = ReadAudit(path);
  QList<QStringList> table;
  qsizetype i = 0;
  while (i < all.size() && all[i].value(0) != "Linha") ++i;
  for (++i; i < all.size() && all[i].size() > 1; ++i) table << all[i];
  return table;
}

QString AuditFooter(const QString& path, const QString& name) {
  const QList<QStringList> all = ReadAudit(path);
  // The last row of that name: the head and the end both have a "Término".
  for (auto row = all.rbegin(); row != all.rend(); ++row)
    if (row->value(0) == name) return row->value(1);
  return "(absent)";
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
