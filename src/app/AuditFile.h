#pragma once

#include <QDateTime>
#include <QIODevice>
#include <QString>
#include <functional>
#include <memory>
#include <variant>
#include <vector>

#include "app/ImportJournal.h"

class Tdm;

// Who ran an import, on what, and how: the head of its audit file.
struct AuditHead {
  QString file;
  ImportLayout layout = ImportLayout::FixedColumn;
  QString year;
  QString login;
  QString workstation;
  QString database;
  QString mode;  // how the lines reached the table: "janela", "linha a linha", "em bloco"
  bool dryRun = false;
  QDateTime start;
};

// The head of a run of request by module's login on its database, from now on.
AuditHead AuditHeadFor(const Tdm& module, const ImportRequest& request, const QString& mode);

// The audit file of one import run: a CSV file (UTF-8 with a BOM, fields separated by ';') that
// a Brazilian spreadsheet opens as it is. A head, a row for every line of the campaign file, and
// the counts at the end. Rows since the last commit are held back until the next one, so those a
// failed run undid are written as undone; memory holds at most the lines between two commits,
// with runs of passed-over lines kept as ranges.
//
// A failure to write is told once through onFailure; the rest of the run is not recorded.
class AuditFile : public ImportJournal {
 public:
  // Writes into out, which must be open for writing.
  AuditFile(std::unique_ptr<QIODevice> out, const AuditHead& head,
            std::function<void(const QString&)> onFailure);
  ~AuditFile() override;

  // A new file named after the run's start in folder, made when missing; nullptr and *error
  // when it cannot be created.
  static std::unique_ptr<AuditFile> createIn(const QString& folder, const AuditHead& head,
                                             std::function<void(const QString&)> onFailure,
                                             QString* error);
  // The file at path, written afresh; nullptr and *error when it cannot be.
  static std::unique_ptr<AuditFile> createAt(const QString& path, const AuditHead& head,
                                             std::function<void(const QString&)> onFailure,
                                             QString* error);
  // Standard output.
  static std::unique_ptr<AuditFile> toStandardOutput(const AuditHead& head,
                                                     std::function<void(const QString&)> onFailure);

  // The file's path; empty for standard output.
  QString path() const;

  void record(const LineRecord& line) override;
  void committed() override;
  void ended(const ImportResult& result) override;

 private:
  // Consecutive passed-over lines, first to last.
  struct PassedOver {
    qint64 first, last;
  };
  using Held = std::variant<LineRecord, PassedOver>;

  void writeHeld(bool undone);
  void writeRow(const LineRecord& line, bool undone);
  void write(const QString& text);
  void flush();
  void fail(const QString& reason);

  std::unique_ptr<QIODevice> out_;
  AuditHead head_;
  std::function<void(const QString&)> onFailure_;
  bool failed_ = false;
  qint64 endFieldOffset_ = -1;  // where the head's end time goes, on a file that can seek
  std::vector<Held> held_;
  qint64 refused_ = 0, passedOver_ = 0, notContributor_ = 0, undone_ = 0;
};
