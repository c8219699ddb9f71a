#include "app/BulkMerger.h"

#include <QSet>

#include "common/Conversions.h"
#include "common/TrataErros.h"
#include "common/Win1252.h"
#include "data/ContributorFields.h"
#include "data/UDM.h"
#include "dataset/ClientDataSet.h"
#include "import/UpdateDecision.h"

namespace {

constexpr int kLinesPerFlush = 500;      // contributor lines decided together
constexpr qsizetype kQueueLimit = 5000;  // lines held, passed-over ones included
constexpr int kLookupKeys = 250;         // CNPJs one lookup asks for
constexpr int kRowsPerBlock = 40;        // keeps a block's text within what Firebird 2.5 takes

const QByteArray kTable = QByteArrayLiteral("GR_CONTRIB_CAMPANHA");

// Every column named, as the window's insert names them, so that no column's default applies.
const QString kInsertColumns = QStringLiteral(
    "COD_CAM, TIPO_CAM, CNPJ_CAM, NOME_CAM, ANO_CAM, COD_TOM_CAM, NATJUR_CAM, CNAE_CAM, "
    "DATACNPJ_CAM, LOGIN_INC_CAM, DTA_INC_CAM, LOGIN_ALT_CAM, DTA_ALT_CAM");
// 'NOW' is read again at every row, where CURRENT_TIMESTAMP would stand still for the block.
const QString kClock = QStringLiteral("CAST('NOW' AS TIMESTAMP)");

QString LookupSql() {
  QStringList places;
  for (int i = 0; i < kLookupKeys; ++i) places << QStringLiteral("?");
  return "SELECT COD_CAM, CNPJ_CAM, DATACNPJ_CAM, ANO_CAM FROM GR_CONTRIB_CAMPANHA "
         "WHERE CNPJ_CAM IN (" +
         places.join(", ") + ')';
}

// The statement that writes `rows` rows: each an insert or a rewrite as its K parameter says.
QString BlockSql(int rows) {
  QString parameters = QStringLiteral("L VARCHAR(30) CHARACTER SET WIN1252 = ?");
  QString body;
  for (int i = 0; i < rows; ++i) {
    parameters += QStringLiteral(
                      ", K%1 SMALLINT = ?, C%1 INTEGER = ?, T%1 VARCHAR(20) CHARACTER SET "
                      "WIN1252 = ?, J%1 VARCHAR(20) CHARACTER SET WIN1252 = ?, N%1 VARCHAR(250) "
                      "CHARACTER SET WIN1252 = ?, A%1 INTEGER = ?, NJ%1 VARCHAR(6) CHARACTER SET "
                      "WIN1252 = ?, CN%1 VARCHAR(10) CHARACTER SET WIN1252 = ?, D%1 TIMESTAMP = ?")
                      .arg(i);
    body += QStringLiteral(
                "IF (K%1 = 1) THEN INSERT INTO GR_CONTRIB_CAMPANHA (%2) VALUES (:C%1, :T%1, "
                ":J%1, :N%1, :A%1, NULL, :NJ%1, :CN%1, :D%1, :L, %3, NULL, NULL);\n"
                "ELSE UPDATE GR_CONTRIB_CAMPANHA SET TIPO_CAM = :T%1, CNPJ_CAM = :J%1, "
                "NOME_CAM = :N%1, ANO_CAM = :A%1, NATJUR_CAM = :NJ%1, CNAE_CAM = :CN%1, "
                "DATACNPJ_CAM = :D%1, LOGIN_ALT_CAM = :L, DTA_ALT_CAM = %3 WHERE COD_CAM = :C%1;\n")
                .arg(i)
                .arg(kInsertColumns, kClock);
  }
  return "EXECUTE BLOCK (" + parameters + ")\nAS\nBEGIN\n" + body + "END";
}

const QString kInsertSql = "INSERT INTO GR_CONTRIB_CAMPANHA (" + kInsertColumns +
                           ") VALUES (?, ?, ?, ?, ?, NULL, ?, ?, ?, ?, " + kClock + ", NULL, NULL)";
const QString kUpdateSql =
    "UPDATE GR_CONTRIB_CAMPANHA SET TIPO_CAM = ?, CNPJ_CAM = ?, NOME_CAM = ?, ANO_CAM = ?, "
    "NATJUR_CAM = ?, CNAE_CAM = ?, DATACNPJ_CAM = ?, LOGIN_ALT_CAM = ?, DTA_ALT_CAM = " +
    kClock + " WHERE COD_CAM = ?";

// Text compared as SQL compares it: trailing blanks do not count.
QByteArray WithoutTrailingBlanks(QByteArray text) {
  while (text.endsWith(' ')) text.chop(1);
  return text;
}

}  // namespace

BulkMerger::BulkMerger(Tdm& module, const ImportRequest& request, Done done)
    : module_(module),
      request_(request),
      done_(std::move(done)),
      fields_(ContributorFields(false)) {}

void BulkMerger::prepare(const QString& year) {
  year_ = StrToInt(year);
}

void BulkMerger::begin() {
  module_.Conexao.startTransaction(kTable);
  // Nobody else writes to the table until the run ends: the codes go on from this one.
  nextCode_ = module_.NextCode();
  login_ = fitted(contributor::LOGIN_INC_CAM, module_.VOQ_Usuario);
}

void BulkMerger::merge(qint64 number, const std::optional<LineValues>& line) {
  queue_.push_back({number, line});
  if (line) ++queuedLines_;
  if (queuedLines_ >= kLinesPerFlush || qsizetype(queue_.size()) >= kQueueLimit) flush();
}

void BulkMerger::flush() {
  if (queue_.empty()) return;
  lookUp();
  std::vector<Decision> block;
  Undo undo{{}, nextCode_};
  int writes = 0;
  for (const Queued& queued : queue_) {
    std::optional<Decision> decision;
    try {
      decision = decide(queued);
    } catch (const std::exception& e) {
      // The lines before it count as done, and are undone with it when the run rolls back.
      for (const Decision& before : block) done_(before.record);
      fail(queued, e);
    }
    apply(*decision, &undo);
    if (decision->write) ++writes;
    block.push_back(std::move(*decision));
    if (writes == kRowsPerBlock) {
      sendBlock(block, undo);
      block.clear();
      undo = {{}, nextCode_};
      writes = 0;
    }
  }
  sendBlock(block, undo);
  queue_.clear();
  queuedLines_ = 0;
}

void BulkMerger::commit() {
  flush();
  module_.Conexao.commitRetaining();
}

QByteArray BulkMerger::fitted(int column, const QString& text) const {
  return std::get<QByteArray>(FitToField(fields_[column], win1252::encode(text)));
}

QByteArray BulkMerger::keyOf(const LineValues& line) const {
  return WithoutTrailingBlanks(fitted(contributor::CNPJ_CAM, line.CNPJ));
}

void BulkMerger::lookUp() {
  QList<QByteArray> keys;
  QSet<QByteArray> asked;
  for (const Queued& queued : queue_) {
    if (!queued.line) continue;
    const QByteArray key = keyOf(*queued.line);
    if (!known_.contains(key) && !asked.contains(key)) {
      asked.insert(key);
      keys << key;
    }
  }
  fb::Transaction& run = module_.Conexao.explicitTransaction();
  fb::Statement& lookup = module_.Conexao.prepared(LookupSql());
  for (qsizetype first = 0; first < keys.size(); first += kLookupKeys) {
    const QList<QByteArray> chunk = keys.mid(first, kLookupKeys);
    // Places past the chunk ask again for its first CNPJ.
    for (int i = 0; i < kLookupKeys; ++i) lookup.setBytes(i, chunk.value(i, chunk.front()));
    lookup.open(run);
    while (lookup.fetch()) {
      // The first row of a CNPJ is the one the line-by-line lookup takes.
      const QByteArray key = WithoutTrailingBlanks(lookup.bytes(1));
      if (known_.contains(key)) continue;
      known_.insert(key, Stored{static_cast<qint32>(lookup.integer(0)), lookup.timestamp(2),
                                !lookup.isNull(3) && lookup.integer(3) == year_});
    }
    lookup.close();
    for (const QByteArray& key : chunk)
      if (!known_.contains(key)) known_.insert(key, std::nullopt);
  }
}

BulkMerger::Decision BulkMerger::decide(const Queued& queued) const {
  using namespace contributor;
  Decision decision{.queued = &queued, .record = {.number = queued.number}};
  if (!queued.line) return decision;
  const LineValues& line = *queued.line;
  LineRecord& record = decision.record;
  record.CNPJ = line.CNPJ;
  record.Nome = line.Nome;
  decision.key = keyOf(line);
  const std::optional<Stored> stored = known_.value(decision.key);
  if (stored) {
    record.code = stored->code;
    if (!RewritesStoredRow(stored->date, line.DataCNPJ)) {
      record.fate = LineFate::NotOlder;
      return decision;
    }
    if (!stored->rewritable) {
      record.fate = LineFate::OtherYear;
      return decision;
    }
    record.replaced = stored->date;
  }
  // Converted in the order the write path sets the columns, so the same value fails first.
  Write write{.insert = !stored, .code = stored ? stored->code : nextCode_};
  write.tipo = fitted(TIPO_CAM, line.Tipo);
  write.cnpj = fitted(CNPJ_CAM, line.CNPJ);
  write.nome = fitted(NOME_CAM, line.Nome);
  write.ano = StrToInt(line.Ano);
  write.natjur = fitted(NATJUR_CAM, line.NatJur);
  write.cnae = fitted(CNAE_CAM, line.Cnae);
  write.date = StrToDateTimeChecked(line.DataCNPJ);
  record.code = write.code;
  record.fate = write.insert ? LineFate::Inserted : LineFate::Rewritten;
  decision.after = Stored{write.code, write.date, true};
  decision.write = write;
  return decision;
}

void BulkMerger::apply(const Decision& decision, Undo* undo) {
  if (!decision.after) return;
  if (undo) undo->known.emplace_back(decision.key, known_.value(decision.key));
  known_.insert(decision.key, decision.after);
  if (decision.write->insert) ++nextCode_;
}

void BulkMerger::sendBlock(std::vector<Decision>& decisions, Undo& undo) {
  std::vector<const Write*> writes;
  for (const Decision& decision : decisions)
    if (decision.write) writes.push_back(&*decision.write);
  if (!writes.empty()) {
    try {
      fb::Statement& block = module_.Conexao.prepared(BlockSql(int(writes.size())));
      int place = 0;
      block.setBytes(place++, login_);
      for (const Write* write : writes) {
        block.setInteger(place++, write->insert ? 1 : 0);
        block.setInteger(place++, write->code);
        block.setBytes(place++, write->tipo);
        block.setBytes(place++, write->cnpj);
        block.setBytes(place++, write->nome);
        block.setInteger(place++, write->ano);
        block.setBytes(place++, write->natjur);
        block.setBytes(place++, write->cnae);
        block.setTimestamp(place++, write->date);
      }
      block.execute(module_.Conexao.explicitTransaction());
    } catch (const std::exception&) {
      // A lost server ends the run; anything else is a row the database refused.
      module_.Conexao.checkReachable();
      for (auto it = undo.known.rbegin(); it != undo.known.rend(); ++it)
        known_.insert(it->first, it->second);
      nextCode_ = undo.nextCode;
      sendOneByOne(decisions);
      return;
    }
  }
  for (const Decision& decision : decisions) done_(decision.record);
}

void BulkMerger::sendOneByOne(const std::vector<Decision>& refused) {
  for (const Decision& earlier : refused) {
    std::optional<Decision> decision;
    try {
      // Decided again: an earlier line's row may be the one refused.
      decision = decide(*earlier.queued);
    } catch (const std::exception& e) {
      fail(*earlier.queued, e);
    }
    if (decision->write) {
      try {
        send(*decision->write);
      } catch (const std::exception& e) {
        module_.Conexao.checkReachable();
        decision->record.fate = LineFate::Refused;
        decision->record.explanation = QString::fromUtf8(e.what());
        Tratar_Erro(decision->record.explanation);
        done_(decision->record);
        continue;
      }
    }
    apply(*decision, nullptr);
    done_(decision->record);
  }
}

void BulkMerger::send(const Write& write) {
  fb::Statement& statement = module_.Conexao.prepared(write.insert ? kInsertSql : kUpdateSql);
  int place = 0;
  if (write.insert) statement.setInteger(place++, write.code);
  statement.setBytes(place++, write.tipo);
  statement.setBytes(place++, write.cnpj);
  statement.setBytes(place++, write.nome);
  statement.setInteger(place++, write.ano);
  statement.setBytes(place++, write.natjur);
  statement.setBytes(place++, write.cnae);
  statement.setTimestamp(place++, write.date);
  statement.setBytes(place++, login_);
  if (!write.insert) statement.setInteger(place++, write.code);
  statement.execute(module_.Conexao.explicitTransaction());
}

void BulkMerger::fail(const Queued& queued, const std::exception& error) {
  LineRecord record{.number = queued.number, .fate = LineFate::Failed};
  if (queued.line) {
    record.CNPJ = queued.line->CNPJ;
    record.Nome = queued.line->Nome;
  }
  record.explanation = QString::fromUtf8(error.what());
  done_(record);
  throw;
}
