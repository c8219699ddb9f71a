#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace tavrel::test {

// A private Firebird server of one test's own (scripts/fbserver.sh in a temporary folder), of the
// same version as the tests' server, which the test may kill and start again without harm to the
// others. A failing script throws
// TestServerError with the script's error output.
class OwnServer {
 public:
  OwnServer() { start(); }
  ~OwnServer();
  OwnServer(const OwnServer&) = delete;
  OwnServer& operator=(const OwnServer&) = delete;

  // Starts the server (again) and returns its port, usually another one after a kill.
  int start();
  // SIGKILL, as a crash or a pulled cable would end it.
  void kill();
  // Creates the program's database at path through scripts/mkdb.sh, owned by owner.
  void createDatabase(const QString& path, const QString& owner = "SYSDBA");

  int port = 0;
  QTemporaryDir dir;

 private:
  QByteArray script(const QString& name, const QStringList& arguments);
};

}  // namespace tavrel::test
