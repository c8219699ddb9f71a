#pragma once

#include <QElapsedTimer>
#include <QString>
#include <cstdio>

#include "app/ImportProgress.h"
#include "common/Dialogs.h"

// The terminal as a run's window: the boxes become messages and the progress a bar, both on
// standard error. On a terminal the bar is redrawn in place with lines per second and the time
// left; otherwise a progress line is written every few seconds. Quiet, only errors are shown.
class ConsolePanel : public dialogs::Dialogs, public ImportProgress {
 public:
  ConsolePanel(std::FILE* out, bool quiet);

  void message(dialogs::BoxKind kind, const QString& caption, const QString& text) override;
  bool confirm(const QString& caption, const QString& text) override;
  dialogs::FileChoice openFile(const QString& initialDir, const QStringList& filters,
                               int filterIndex) override;

  void started() override;
  void counted(qint64 lines) override;
  void lineRead(const QByteArray&) override {}
  void merged(int, int) override {}
  void lineDone(qint64 read, qint64 lines) override;
  void finished() override;
  void failed() override;
  bool stopRequested() override;

  // A line of its own, after the bar.
  void say(const QString& text);

 private:
  void showProgress();
  void clearBar();

  std::FILE* out_;
  bool quiet_;
  bool terminal_;
  bool barShown_ = false;
  qint64 read_ = 0, lines_ = 0;
  QElapsedTimer run_;
  qint64 shownAt_ = 0;  // milliseconds of the run when progress was last shown
};
