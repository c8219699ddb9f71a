#include <gtest/gtest.h>
#include <QProcess>
#include <QTemporaryDir>

#include "Installation.h"
#include "TestServer.h"
#include "data/UDM.h"
#include "firebird/Error.h"
#include "firebird/Query.h"

using tavrel::test::Installation;
using tavrel::test::TestServer;

namespace {

// A private server of this test's own, which it may kill without harm to the others.
class OwnServer {
 public:
  OwnServer() { start(); }
  ~OwnServer() { script("stop"); }

  int start() { return port = script("start").trimmed().split('\n').last().toInt(); }
  void kill() { script("stop"); }

  int port = 0;
  QTemporaryDir dir;

 private:
  QByteArray script(const QString& verb) {
    QProcess process;
    process.start("bash", {TestServer::sourceDir() + "/scripts/fbserver.sh", verb, dir.path()});
    process.waitForFinished(60000);
    if (process.exitCode() != 0) {
      throw tavrel::test::TestServerError(process.readAllStandardError().toStdString());
    }
    return process.readAllStandardOutput();
  }
};

int count(fb::Connection& connection) {
  fb::Query q(connection, "SELECT COUNT(*) FROM GR_CONTRIB_CAMPANHA");
  q.open();
  return static_cast<int>(q.statement().integer(0));
}

TEST(LostConnection, TheNextUseAttachesAgainOnceTheServerIsBack) {
  OwnServer server;
  Installation install("SYSDBA", server.port);
  QProcess mkdb;
  mkdb.start("bash", {TestServer::sourceDir() + "/scripts/mkdb.sh", QString::number(server.port),
                      install.database});
  ASSERT_TRUE(mkdb.waitForFinished(60000));
  ASSERT_EQ(mkdb.exitCode(), 0) << mkdb.readAllStandardError().toStdString();

  Tdm module;
  module.Conexao.startTransaction();
  fb::Query(module.Conexao, "INSERT INTO GR_CONTRIB_CAMPANHA (COD_CAM) VALUES (1)").execSQL();
  EXPECT_EQ(count(module.Conexao), 1);

  server.kill();
  try {
    count(module.Conexao);
    FAIL() << "the server is gone";
  } catch (const fb::Error& e) {
    EXPECT_TRUE(e.connectionLost()) << e.message().toStdString();
  }
  EXPECT_TRUE(module.Conexao.lost());
  EXPECT_FALSE(module.Conexao.inTransaction()) << "the server ended it";

  // The server comes back, on another port: the next use reads voq.ini again and attaches.
  install.writeVoqIni(server.start());
  EXPECT_EQ(count(module.Conexao), 0) << "the uncommitted insert died with the server";
  EXPECT_FALSE(module.Conexao.lost());
}

}  // namespace
