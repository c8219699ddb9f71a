#pragma once

#include "app/ImportRun.h"
#include "app/LineMerger.h"

class Tdm;

// The window's way: each line looked up on its own and its row posted to the module's write
// path and applied at once, stamped by the server's clock read for it.
class LineByLineMerger : public LineMerger {
 public:
  LineByLineMerger(Tdm& module, const ImportRequest& request, Done done)
      : module_(module), request_(request), done_(std::move(done)) {}

  void prepare(const QString& year) override;
  void begin() override;
  void merge(qint64 number, const std::optional<LineValues>& line) override;
  void flush() override {}
  void commit() override;

 private:
  // Looks the line's CNPJ up and inserts or rewrites its row; what became of it goes into record.
  void mergeLine(const LineValues& line, LineRecord& record);
  // The database's explanation when it refused the posted row; nothing when it took it.
  std::optional<QString> postAndApply();

  Tdm& module_;
  const ImportRequest& request_;
  Done done_;
};
