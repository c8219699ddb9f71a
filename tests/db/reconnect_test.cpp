#include <gtest/gtest.h>

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

TEST(LostConnection, TheNextUseAttachesAgainOnceTheServerIsBack) {
  OwnServer server;
  Installation install("SYSDBA", server.port);
  server.createDatabase(install.database);

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
