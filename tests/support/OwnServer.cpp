#include "OwnServer.h"

#include "LinuxTool.h"
#include "TestServer.h"

namespace tavrel::test {

namespace {
constexpr int kScriptTimeoutMs = 60'000;
}

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
  script("fbserver.sh", {"stop", dir.path()});
}

void OwnServer::createDatabase(const QString& path, const QString& owner) {
  script("mkdb.sh", {QString::number(port), path, owner});
}

QByteArray OwnServer::script(const QString& name, const QStringList& arguments) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("TAVREL_FB_SERVER", QString::number(TestServer::serverVersion()));
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
