#include "OwnServer.h"

#include <QFile>

#include "LinuxTool.h"
#include "TestServer.h"

namespace tavrel::test {

namespace {
constexpr int kScriptTimeoutMs = 60'000;

// scripts/fbserver.sh names a server by its major version from Firebird 3 on, by major and minor
// before.
QString serverChoice(const QVersionNumber& version) {
  if (version.majorVersion() >= 3) return QString::number(version.majorVersion());
  return QString("%1%2").arg(version.majorVersion()).arg(version.minorVersion());
}
}  // namespace

OwnServer::~OwnServer() {
  try {
    kill();
  } catch (const TestServerError&) {
    // A destructor cannot report; the folder goes with the object either way.
  }
}

int OwnServer::start() {
  return port = script("fbserver.sh", {"start", dir.path()}).trimmed().split('\n').last().toInt();
}

void OwnServer::kill() {
  // The script ends Firebird 2.x with SIGTERM, which lets it close its attachments; a crash does
  // not. The server is a process of the Linux machine, also for a test built for Windows.
  QFile pidFile(dir.path() + "/pid");
  if (pidFile.open(QIODevice::ReadOnly)) {
    bool ok = false;
    const int pid = QString::fromLatin1(pidFile.readAll()).trimmed().toInt(&ok);
    if (ok && pid > 0) {
      runLinuxTool("/bin/kill", {"-KILL", QString::number(pid)}, QByteArray(),
                   QProcess::MergedChannels, TestServer::toolEnvironment(), kScriptTimeoutMs);
    }
  }
  script("fbserver.sh", {"stop", dir.path()});
}

void OwnServer::createDatabase(const QString& path, const QString& owner) {
  script("mkdb.sh", {QString::number(port), path, owner});
}

QByteArray OwnServer::script(const QString& name, const QStringList& arguments) {
  QProcessEnvironment environment = TestServer::toolEnvironment();
  environment.insert("TAVREL_FB_SERVER", serverChoice(TestServer::serverVersion()));
  const LinuxToolResult run =
      runLinuxTool("bash", QStringList{TestServer::sourceDir() + "/scripts/" + name} + arguments,
                   QByteArray(), QProcess::SeparateChannels, environment, kScriptTimeoutMs);
  if (run.exitCode != 0) {
    throw TestServerError(QString("%1 %2 failed:\n%3")
                              .arg(name, arguments.join(' '), QString::fromUtf8(run.errors))
                              .toStdString());
  }
  return run.output;
}

}  // namespace tavrel::test
