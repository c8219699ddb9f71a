// The floor under the import's inserts: one prepared INSERT of all thirteen columns of the
// contributor table, executed N times in one transaction with values made up here, so that
// only the client library, the loopback and the server are timed.
//
//   bare_insert_bench DATABASE N   (DATABASE as host/port:path, its contributor table empty)
#include <QDateTime>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>

#include "firebird/Attachment.h"
#include "firebird/Statement.h"
#include "firebird/Transaction.h"

int main(int argc, char* argv[]) {
  const long lines = argc == 3 ? std::atol(argv[2]) : 0;
  if (lines <= 0) {
    std::fprintf(stderr, "usage: bare_insert_bench DATABASE N\n");
    return 2;
  }
  try {
    fb::AttachParams params;
    params.database = QString::fromLocal8Bit(argv[1]);
    // The private server's account that the program itself works under.
    params.user = QStringLiteral("QEBVOQ");
    params.password = QStringLiteral("bromel");
    fb::Attachment attachment(params);
    fb::Transaction transaction(attachment);
    fb::Statement insert(attachment, transaction,
                         "INSERT INTO GR_CONTRIB_CAMPANHA (COD_CAM, TIPO_CAM, CNPJ_CAM, NOME_CAM, "
                         "ANO_CAM, COD_TOM_CAM, NATJUR_CAM, CNAE_CAM, DATACNPJ_CAM, LOGIN_INC_CAM, "
                         "DTA_INC_CAM, LOGIN_ALT_CAM, DTA_ALT_CAM) "
                         "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    const int year = QDate::currentDate().year();
    const QDateTime firstDate(QDate(year, 8, 16), QTime(8, 0));

    QElapsedTimer clock;
    clock.start();
    for (long i = 0; i < lines; ++i) {
      const bool party = i % 10 == 9;
      insert.setInteger(0, i + 1);
      insert.setText(1, party ? QStringLiteral("PARTIDO") : QStringLiteral("CANDIDATO"));
      insert.setText(2, QString::number(10'000'000'000'000LL + i * 4099));
      insert.setText(3, QStringLiteral("CONTRIBUINTE DE CAMPANHA NÚMERO %1 DE SÃO JOÃO").arg(i));
      insert.setInteger(4, year);
      insert.setNull(5);
      insert.setText(6, party ? QStringLiteral("3050") : QStringLiteral("4090"));
      insert.setText(7, QStringLiteral("9492800"));
      insert.setTimestamp(8, firstDate.addSecs(i % 3'888'000));
      insert.setText(9, QStringLiteral("bench"));
      insert.setTimestamp(10, QDateTime::currentDateTime());
      insert.setNull(11);
      insert.setNull(12);
      insert.execute(transaction);
    }
    transaction.commit();
    const double seconds = clock.nsecsElapsed() / 1e9;
    std::printf("lines: %ld  seconds: %.2f  lines/s: %.0f\n", lines, seconds, lines / seconds);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bare_insert_bench: %s\n", e.what());
    return 1;
  }
  return 0;
}
