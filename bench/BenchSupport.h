// What the benchmarks of the window share: the program's set-up, offscreen, with boxes answered
// by printing them, and the peak memory.
#pragma once

#include <QFile>
#include <QProgressBar>
#include <QString>
#include <cstdio>
#include <functional>
#include <memory>

#include "common/Dialogs.h"
#include "common/InstallDir.h"
#include "common/MemoryPolicy.h"
#include "data/UDM.h"
#include "ui/Program.h"

namespace bench {

// Before the QApplication: the program's own memory policy, and the offscreen platform.
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
  bool confirm(const QString& caption, const QString& text) override {
    std::printf("[%s] %s OK\n", qPrintable(caption), qPrintable(text));
    return true;
  }
  dialogs::FileChoice openFile(const QString&, const QStringList&, int) override { return {}; }
};

// Where the program finds its boxes and its installation, for as long as it runs.
class BenchSetting {
 public:
  BenchSetting(dialogs::Dialogs& boxes, const QString& installDir) {
    dialogs::install(&boxes);
    SetInstallDir(installDir + "/");
  }
  ~BenchSetting() {
    dialogs::install(nullptr);
    SetInstallDir(QString());
  }
  BenchSetting(const BenchSetting&) = delete;
  BenchSetting& operator=(const BenchSetting&) = delete;
};

// The program as its entry starts it, on the installation in installDir (whose voq.ini names
// the database), with its boxes printed; not yet shown.
class BenchProgram {
 public:
  explicit BenchProgram(const QString& installDir)
      : setting_(boxes_, installDir), program_(QStringList{"tavrel", "bench"}) {}

  TFTavrel& window() { return program_.window(); }

 private:
  PrintedDialogs boxes_;
  BenchSetting setting_;
  Program program_;
};

// Tells passed(1) to passed(10) as the bar, moving one step a line, passes each tenth of its
// range: at the moment it moves, so no tenth is missed.
inline void WatchTenths(QProgressBar* bar, std::function<void(int)> passed) {
  auto tenths = std::make_shared<int>(0);
  QObject::connect(bar, &QProgressBar::valueChanged, [bar, tenths, passed](int value) {
    const qint64 max = bar->maximum();
    while (max > 0 && *tenths < 10 && value >= max * (*tenths + 1) / 10) passed(++*tenths);
  });
}

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
