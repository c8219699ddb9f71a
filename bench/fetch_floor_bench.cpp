// The floor under the listing: the search of a year's contributors, as the window composes it,
// fetched row by row through src/firebird with nothing done with the rows. What the listing
// cannot beat without fetching less.
//
//   fetch_floor_bench DATABASE YEAR   (DATABASE as host/port:path)
#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

#include "app/ContributorSearch.h"
#include "firebird/Connection.h"
#include "firebird/Query.h"

int main(int argc, char* argv[]) {
  QCoreApplication application(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: fetch_floor_bench DATABASE YEAR\n");
    return 2;
  }
  try {
    fb::Connection connection;
    connection.params.database = QString::fromLocal8Bit(argv[1]);
    // The private server's account that the program itself works under.
    connection.params.user = QStringLiteral("QEBVOQ");
    connection.params.password = QStringLiteral("bromel");
    const SearchStatement search =
        ComposeSearch({QString::fromLocal8Bit(argv[2]), "TODOS", "NENHUM", QString()});
    QElapsedTimer clock;
    clock.start();
    fb::Query query(connection, search.sql);
    long rows = 0;
    for (query.open(); !query.eof(); query.next()) ++rows;
    query.close();
    std::printf("fetched: %ld rows  seconds: %.3f\n", rows, clock.nsecsElapsed() / 1e9);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "fetch_floor_bench: %s\n", e.what());
    return 1;
  }
  return 0;
}
