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
#include "ui/UTavrel.h"

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

// The window and then its data module, as the program starts them, on the installation in
// installDir (whose voq.ini names the database); not yet shown.
class Program {
 public:
  explicit Program(const QString& installDir) {
    dialogs::install(&boxes_);
    SetInstallDir(installDir + "/");
    window_ = std::make_unique<TFTavrel>();
    window_->Arguments = {"tavrel", "bench"};
    module_ = std::make_unique<Tdm>();
  }
  ~Program() {
    module_.reset();
    window_.reset();
    dialogs::install(nullptr);
    SetInstallDir(QString());
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  TFTavrel& window() { return *window_; }

 private:
  PrintedDialogs boxes_;
  std::unique_ptr<TFTavrel> window_;
  std::unique_ptr<Tdm> module_;
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
