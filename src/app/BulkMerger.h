#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <vector>

#include "app/ImportRun.h"
#include "app/LineMerger.h"
#include "dataset/FieldDef.h"

class Tdm;

// The same decisions and rows as LineByLineMerger, with a fraction of the round trips: the
// lookups of a few hundred lines in one statement, the codes counted on from one read, and the
// inserts and rewrites sent fifty to an EXECUTE BLOCK, each row stamped with the server's clock
// as it is written.
//
// The codes can be counted on because the run's transaction reserves the table from its start
// to the run's end (commits keep it): other workstations read the table meanwhile, and their
// writes to it wait until the run has ended.
//
// A block the database refuses is undone by the server as a whole; its lines are then sent
// again one at a time, so each refusal is reported and recorded for its own line, as the
// line-by-line run does (but a refused row is not offered again with later lines).
class BulkMerger : public LineMerger {
 public:
  BulkMerger(Tdm& module, const ImportRequest& request, Done done);

  void prepare(const QString& year) override;
  void begin() override;
  void merge(qint64 number, const std::optional<LineValues>& line) override;
  void flush() override;
  void commit() override;

 private:
  // A stored row with a CNPJ, as this run knows it.
  struct Stored {
    qint32 code;
    QDateTime date;
    bool rewritable;  // of the run's year, or written by the run
  };
  struct Queued {
    qint64 number;
    std::optional<LineValues> line;
  };
  // A row to insert or rewrite, its values as the columns take them.
  struct Write {
    bool insert;
    qint32 code;
    QByteArray tipo, cnpj, nome;
    qint32 ano;
    QByteArray natjur, cnae;
    QDateTime date;
  };
  // What a line does, and what this run knows of its CNPJ's row afterwards.
  struct Decision {
    const Queued* queued;
    LineRecord record;
    QByteArray key;
    std::optional<Write> write;
    std::optional<Stored> after;
  };
  // What to put back when a block is refused.
  struct Undo {
    std::vector<std::pair<QByteArray, std::optional<Stored>>> known;
    qint32 nextCode;
  };

  QByteArray fitted(int column, const QString& text) const;
  QByteArray keyOf(const LineValues& line) const;
  void lookUp();
  // Throws the error of a value its column cannot take, as the write path would.
  Decision decide(const Queued& queued) const;
  void apply(const Decision& decision, Undo* undo);
  // Sends the writes of the decisions in one block; the decisions are done once it is taken.
  void sendBlock(std::vector<Decision>& decisions, Undo& undo);
  void sendOneByOne(const std::vector<Decision>& refused);
  void send(const Write& write);
  // Records the line that failed and throws on.
  [[noreturn]] void fail(const Queued& queued, const std::exception& error);

  Tdm& module_;
  const ImportRequest& request_;
  Done done_;
  std::vector<FieldDef> fields_;
  QByteArray login_;
  qint32 year_ = 0;
  qint32 nextCode_ = 1;
  // Every CNPJ the run has looked up, with its first stored row, if any.
  QHash<QByteArray, std::optional<Stored>> known_;
  std::vector<Queued> queue_;
  int queuedLines_ = 0;  // contributor lines in the queue
};
