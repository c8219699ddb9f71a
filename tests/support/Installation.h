#pragma once

#include <QString>
#include <QTemporaryDir>

#include "TestServer.h"

namespace tavrel::test {

// An installation folder whose voq.ini points at VOQDADOS.FDB on the private server, created
// fresh with the program's tables and owned by owner, and names the tests' client library. While
// the object lives InstallDir() answers this folder, so a data module created meanwhile finds the
// database. With a port other than the server's no database is created: the settings name a server
// that is not there. The folder lies beside the server's databases, where a test built for Windows
// and the server name the same file.
class Installation {
 public:
  explicit Installation(const QString& owner = "SYSDBA", int port = TestServer::port());
  ~Installation();
  Installation(const Installation&) = delete;
  Installation& operator=(const Installation&) = delete;

  // Rewrites voq.ini to name the server on port.
  void writeVoqIni(int port);

  QString folder() const { return dir_.path(); }

  QString database;

 private:
  static QString folderTemplate();

  QTemporaryDir dir_{folderTemplate()};
};

}  // namespace tavrel::test
