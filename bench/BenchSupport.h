// What the benchmarks of the program share: its set-up, offscreen, with boxes answered by
// printing them, and the clock that follows the window's bar.
#pragma once

#include <QProgressBar>
#include <QString>
#include <cstdio>

#include "PeakMemory.h"
#include "TenthsClock.h"
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

// The clock follows the bar, which moves one step a line: at the moment it moves, so no tenth
// is missed.
inline void FollowBar(QProgressBar* bar, TenthsClock& clock) {
  QObject::connect(bar, &QProgressBar::valueChanged,
                   [bar, &clock](int value) { clock.lineDone(value, bar->maximum()); });
}

}  // namespace bench
