#pragma once

#include <QByteArray>
#include <QtGlobal>

// What an import run tells of its progress, in the order it happens. The window shows it; the
// call after every line is where pending window events run.
class ImportProgress {
 public:
  virtual ~ImportProgress() = default;
  virtual void started() = 0;
  virtual void counted(qint64 lines) = 0;
  virtual void lineRead(const QByteArray& line) = 0;
  virtual void merged(int imported, int rewritten) = 0;
  virtual void lineDone(qint64 read, qint64 lines) = 0;
  // Before the closing box.
  virtual void finished() = 0;
  // Before the error box of a run that stopped.
  virtual void failed() = 0;
  // Asked after every line: true stops the run there, rolled back to its last commit.
  virtual bool stopRequested() { return false; }
};
