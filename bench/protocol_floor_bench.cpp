// The floor under the import: the statements the import sends for each line of a campaign
// file, in a bare loop with no window and no in-memory set. Each accepted line is looked up by
// its CNPJ; a new one takes the next code, the server's clock and an INSERT; a stored one with a
// later date the clock, an UPDATE and its row count. Statements are prepared once, lines read and
// converted as the import reads them, one transaction committed every 1000 accepted lines.
//
//   protocol_floor_bench DATABASE FILE YEAR   (DATABASE as host/port:path, its table empty)
#include <QCoreApplication>
#include <cstdio>

#include "TenthsClock.h"
#include "common/RegionalForms.h"
#include "common/Win1252.h"
#include "firebird/Attachment.h"
#include "firebird/Statement.h"
#include "firebird/Transaction.h"
#include "import/ImportLayout.h"
#include "import/ImportLine.h"
#include "import/LineCount.h"
#include "import/LineReader.h"
#include "import/UpdateDecision.h"

namespace {

constexpr int kLinesPerCommit = 1000;

// The columns a line gives, bound from the first parameter on: TIPO, CNPJ, NOME, ANO, NATJUR,
// CNAE, DATACNPJ.
void BindLine(fb::Statement& statement, int first, const LineValues& line) {
  statement.setBytes(first, win1252::encode(line.Tipo));
  statement.setBytes(first + 1, win1252::encode(line.CNPJ));
  statement.setBytes(first + 2, win1252::encode(line.Nome));
  statement.setInteger(first + 3, line.Ano.toInt());
  statement.setBytes(first + 4, win1252::encode(line.NatJur));
  statement.setBytes(first + 5, win1252::encode(line.Cnae));
  statement.setTimestamp(first + 6, StrToDateTime(line.DataCNPJ));
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication application(argc, argv);
  if (argc != 4) {
    std::fprintf(stderr, "usage: protocol_floor_bench DATABASE FILE YEAR\n");
    return 2;
  }
  const QString path = QString::fromLocal8Bit(argv[2]);
  const QString year = QString::fromLocal8Bit(argv[3]);
  try {
    fb::AttachParams params;
    params.database = QString::fromLocal8Bit(argv[1]);
    // The private server's account that the program itself works under.
    params.user = QStringLiteral("QEBVOQ");
    params.password = QStringLiteral("bromel");
    fb::Attachment attachment(params);
    auto transaction = std::make_unique<fb::Transaction>(attachment);
    fb::Statement lookup(attachment, *transaction,
                         "SELECT FIRST 1 COD_CAM, CNPJ_CAM, DATACNPJ_CAM FROM GR_CONTRIB_CAMPANHA "
                         "WHERE CNPJ_CAM = ?");
    fb::Statement nextCode(attachment, *transaction,
                           "SELECT Coalesce(MAX(COD_CAM)+1, 1) as qtd FROM GR_CONTRIB_CAMPANHA");
    fb::Statement clock(attachment, *transaction,
                        "SELECT CURRENT_TIMESTAMP AS DATABANCO FROM RDB$DATABASE");
    fb::Statement insert(attachment, *transaction,
                         "INSERT INTO GR_CONTRIB_CAMPANHA (COD_CAM, TIPO_CAM, CNPJ_CAM, NOME_CAM, "
                         "ANO_CAM, NATJUR_CAM, CNAE_CAM, DATACNPJ_CAM, COD_TOM_CAM, "
                         "LOGIN_INC_CAM, DTA_INC_CAM, LOGIN_ALT_CAM, DTA_ALT_CAM) "
                         "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    fb::Statement update(attachment, *transaction,
                         "UPDATE GR_CONTRIB_CAMPANHA SET TIPO_CAM = ?, CNPJ_CAM = ?, "
                         "NOME_CAM = ?, ANO_CAM = ?, NATJUR_CAM = ?, CNAE_CAM = ?, "
                         "DATACNPJ_CAM = ?, LOGIN_ALT_CAM = ?, DTA_ALT_CAM = ? WHERE COD_CAM = ?");
    const QByteArray login = "bench";

    const ImportLayout layout = layoutForFile(path);
    const qint64 lines = countLines(path);
    bench::TenthsClock timer;
    timer.start();
    LineReader file(path);
    qint64 read = 0;
    int uncommitted = 0;
    while (const std::optional<QByteArray> raw = file.readLine()) {
      if (const std::optional<LineValues> line = readImportLine(*raw, layout, year)) {
        ++uncommitted;
        lookup.setBytes(0, win1252::encode(line->CNPJ));
        if (!lookup.executeSingleton(*transaction)) {
          nextCode.executeSingleton(*transaction);
          clock.executeSingleton(*transaction);
          insert.setInteger(0, nextCode.integer(0));
          BindLine(insert, 1, *line);
          insert.setNull(8);
          insert.setBytes(9, login);
          insert.setTimestamp(10, clock.timestamp(0));
          insert.setNull(11);
          insert.setNull(12);
          insert.execute(*transaction);
        } else if (RewritesStoredRow(lookup.timestamp(2), line->DataCNPJ)) {
          clock.executeSingleton(*transaction);
          BindLine(update, 0, *line);
          update.setBytes(7, login);
          update.setTimestamp(8, clock.timestamp(0));
          update.setInteger(9, lookup.integer(0));
          update.execute(*transaction);
          // The import must know that a rewrite touched its one row.
          if (update.affectedRows() != 1) throw std::runtime_error("the rewrite lost its row");
        }
      }
      if (uncommitted == kLinesPerCommit) {
        uncommitted = 0;
        transaction->commit();
        transaction = std::make_unique<fb::Transaction>(attachment);
      }
      timer.lineDone(++read, lines);
    }
    transaction->commit();
    timer.report(read);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "protocol_floor_bench: %s\n", e.what());
    return 1;
  }
  return 0;
}
