#include "LinuxTool.h"

#include "TestServer.h"

#ifdef Q_OS_WIN
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#endif

namespace tavrel::test {

#ifdef Q_OS_WIN
namespace {

// timeout(1) ends a program that outlives its time, as the Windows side cannot. In a subshell,
// so that the shell's own word on a killed program stays out of the program's error output.
constexpr char kRunner[] = R"(in=$1 out=$2 err=$3 status=$4 seconds=$5
shift 5
exec 2>/dev/null
if [ "$err" = - ]; then
  (timeout -s KILL "$seconds" "$@" <"$in" >"$out" 2>&1)
else
  (timeout -s KILL "$seconds" "$@" <"$in" >"$out" 2>"$err")
fi
echo $? >"$status.part" && mv "$status.part" "$status"
)";
// For the shell's start and its last writes after timeout(1) gave up.
constexpr int kGraceMs = 10'000;
constexpr unsigned long kPollMs = 5;

QByteArray readFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    throw TestServerError(QString("cannot read %1").arg(path).toStdString());
  return file.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
    throw TestServerError(QString("cannot write %1").arg(path).toStdString());
}

}  // namespace

LinuxToolResult runLinuxTool(const QString& program, const QStringList& arguments,
                             const QByteArray& input, QProcess::ProcessChannelMode channels,
                             const QProcessEnvironment& environment, int timeoutMs) {
  const QString parent = TestServer::folder() + "/tools";
  if (!QDir().mkpath(parent))
    throw TestServerError(QString("cannot create %1").arg(parent).toStdString());
  QTemporaryDir dir(parent + "/run-XXXXXX");
  if (!dir.isValid())
    throw TestServerError(QString("cannot create a folder in %1").arg(parent).toStdString());
  const bool merged = channels == QProcess::MergedChannels;
  writeFile(dir.filePath("runner.sh"), kRunner);
  writeFile(dir.filePath("in"), input);
  const QString linuxDir = TestServer::serverPath(dir.path());

  // Wine hands the Linux side's environment on, and with it the 32-bit library that 32-bit Wine
  // preloads under emulation (scripts/windows-env.sh): a 64-bit tool's loader would complain of
  // it into the output the tests read.
  QProcessEnvironment toolEnvironment = environment;
  toolEnvironment.remove("LD_PRELOAD");
  QProcess process;
  process.setProcessEnvironment(toolEnvironment);
  process.setProgram("/bin/sh");
  process.setArguments(QStringList{linuxDir + "/runner.sh", linuxDir + "/in", linuxDir + "/out",
                                   merged ? QString("-") : linuxDir + "/err", linuxDir + "/status",
                                   QString::number((timeoutMs + 999) / 1000), program} +
                       arguments);
  if (!process.startDetached())
    throw TestServerError(
        QString("cannot start %1: %2").arg(program, process.errorString()).toStdString());

  const QString status = dir.filePath("status");
  const QDeadlineTimer deadline(timeoutMs + kGraceMs);
  while (!QFile::exists(status)) {
    if (deadline.hasExpired())
      throw TestServerError(QString("%1 did not finish within %2 s")
                                .arg(program)
                                .arg(timeoutMs / 1000)
                                .toStdString());
    QThread::msleep(kPollMs);
  }
  LinuxToolResult result;
  bool ok = false;
  const int code = QString::fromLatin1(readFile(status)).trimmed().toInt(&ok);
  // The shell reports a program ended by a signal as 128 + the signal.
  result.exitCode = ok && code < 128 ? code : -1;
  result.output = readFile(dir.filePath("out"));
  if (!merged) result.errors = readFile(dir.filePath("err"));
  return result;
}

#else

LinuxToolResult runLinuxTool(const QString& program, const QStringList& arguments,
                             const QByteArray& input, QProcess::ProcessChannelMode channels,
                             const QProcessEnvironment& environment, int timeoutMs) {
  QProcess process;
  process.setProcessChannelMode(channels);
  process.setProcessEnvironment(environment);
  process.start(program, arguments);
  if (!process.waitForStarted(timeoutMs))
    throw TestServerError(
        QString("cannot start %1: %2").arg(program, process.errorString()).toStdString());
  process.write(input);
  process.closeWriteChannel();
  if (!process.waitForFinished(timeoutMs)) {
    process.kill();
    process.waitForFinished();
    throw TestServerError(
        QString("%1 did not finish within %2 s").arg(program).arg(timeoutMs / 1000).toStdString());
  }
  LinuxToolResult result;
  result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  result.output = process.readAllStandardOutput();
  result.errors = process.readAllStandardError();
  return result;
}

#endif

}  // namespace tavrel::test
