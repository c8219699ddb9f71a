// What the benchmarks share: the program's set-up, boxes answered by printing them, and the
// peak memory.
#pragma once

#include <QFile>
#include <cstdio>

#include "common/Dialogs.h"
#include "common/MemoryPolicy.h"

namespace bench {

// Before the QApplication of a benchmark of the window: the program's own memory policy, and
// the offscreen platform.
inline void PrepareOffscreenProgram() {
  ReturnLargeBlocksToTheSystem();
  qputenv("QT_QPA_PLATFORM", "offscreen");
}

// Prints every box and answers it at once, so no run waits for an operator.
class PrintedDialogs : public dialogs::Dialogs {
 public:
  void message(dialogs::BoxKind, const QString& caption, const QString& text) override {
    std::printf("[%s] %s\n", qPrintable(caption), qPrintable(text));
  }
  dialogs::FileChoice openFile(const QString&, const QStringList&, int) override { return {}; }
};

// The process's peak resident memory in kB, -1 when unknown.
inline long peakRssKb() {
  QFile status("/proc/self/status");
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').first().toLong();
  }
  return -1;
}

}  // namespace bench
