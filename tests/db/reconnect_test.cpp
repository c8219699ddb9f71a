#include <gtest/gtest.h>

#include <functional>

#include "Installation.h"
#include "OwnServer.h"
#include "data/UDM.h"
#include "firebird/Error.h"
#include "firebird/Query.h"

using tavrel::test::Installation;
using tavrel::test::OwnServer;

namespace {

int count(fb::Connection& connection) {
  fb::Query q(connection, "SELECT COUNT(*) FROM GR_CONTRIB_CAMPANHA");
  q.open();
  return static_cast<int>(q.statement().integer(0));
}

// What kills the server: a use of the connection that meets it finds the connection lost.
void ExpectLoss(const std::function<void()>& use) {
  try {
    use();
    FAIL() << "the server is gone";
  } catch (const fb::Error& e) {
    EXPECT_TRUE(e.connectionLost()) << e.message().toStdString();
  }
}

TEST(LostConnection, TheNextUseAttachesAgainOnceTheServerIsBack) {
  OwnServer server;
  Installation install("SYSDBA", server.port);
  server.createDatabase(install.database);

  Tdm module;
  EXPECT_EQ(count(module.Conexao), 0);
  server.kill();
  ExpectLoss([&] { count(module.Conexao); });
  EXPECT_TRUE(module.Conexao.lost());

  // The server comes back, on another port: the next use reads voq.ini again and attaches.
  install.writeVoqIni(server.start());
  EXPECT_EQ(count(module.Conexao), 0);
  EXPECT_FALSE(module.Conexao.lost());
}

// Work its holder believes inside a transaction must not go on outside it: until the holder
// rolls the lost transaction back, every use fails with the loss, also once the server is back.
TEST(LostConnection, ATransactionLostWithTheServerHoldsTheConnectionUntilRolledBack) {
  OwnServer server;
  Installation install("SYSDBA", server.port);
  server.createDatabase(install.database);

  Tdm module;
  module.Conexao.startTransaction();
  fb::Query(module.Conexao, "INSERT INTO GR_CONTRIB_CAMPANHA (COD_CAM) VALUES (1)").execSQL();
  EXPECT_EQ(count(module.Conexao), 1);

  server.kill();
  ExpectLoss([&] { count(module.Conexao); });
  EXPECT_TRUE(module.Conexao.lost());
  EXPECT_FALSE(module.Conexao.inTransaction()) << "the server ended it";
  EXPECT_TRUE(module.Conexao.holdsTransaction());

  install.writeVoqIni(server.start());
  ExpectLoss([&] { count(module.Conexao); });
  ExpectLoss([&] {
    fb::Query(module.Conexao, "INSERT INTO GR_CONTRIB_CAMPANHA (COD_CAM) VALUES (2)").execSQL();
  });
  ExpectLoss([&] { module.Conexao.startTransaction(); });
  ExpectLoss([&] { module.Conexao.commit(); });
  EXPECT_TRUE(module.Conexao.holdsTransaction());

  module.Conexao.rollback();
  EXPECT_FALSE(module.Conexao.holdsTransaction());
  EXPECT_EQ(count(module.Conexao), 0) << "the uncommitted insert died with the server";
  EXPECT_FALSE(module.Conexao.lost());
}

}  // namespace
