// Times a real import of a campaign file against the private server: lines per second overall
// and for each tenth of the file, the peak memory of the process and its processor time.
//
//   import_bench window INSTALL_DIR FILE   the window's import, offscreen, as the operator runs it
//   import_bench part INSTALL_DIR FILE     the import part alone, on the data module, no window
//
// INSTALL_DIR holds a voq.ini naming the database. The two differ by what the window costs.
#include <QApplication>
#include <QLineEdit>
#include <cstdio>

#include "BenchSupport.h"
#include "app/ContributorImport.h"
#include "app/ImportJournal.h"
#include "app/ImportProgress.h"
#include "common/Clock.h"
#include "common/RegionalForms.h"
#include "ui/HotTrackButton.h"

namespace {

// Tells the clock of every line, and nothing else.
class ClockedProgress : public ImportProgress {
 public:
  explicit ClockedProgress(bench::TenthsClock& clock) : clock_(clock) {}
  void started() override {}
  void counted(qint64 lines) override { lines_ = lines; }
  void lineRead(const QByteArray&) override {}
  void merged(int, int) override {}
  void lineDone(qint64 read, qint64 lines) override { clock_.lineDone(read, lines); }
  void finished() override {}
  void failed() override {}

  qint64 lines() const { return lines_; }

 private:
  bench::TenthsClock& clock_;
  qint64 lines_ = 0;
};

void TimeWindow(const QString& installDir, const QString& file) {
  bench::BenchProgram program(installDir);
  TFTavrel& window = program.window();
  window.show();
  window.edtCaminhoCNPJ->setText(file);
  bench::TenthsClock clock;
  bench::FollowBar(window.pb, clock);
  clock.start();
  window.btnImportar->click();
  clock.report(window.pb->maximum());
}

void TimePart(const QString& installDir, const QString& file) {
  bench::PrintedDialogs boxes;
  bench::BenchSetting setting(boxes, installDir);
  Tdm module;
  // What the window's start gives the module: the login and this year.
  module.VOQ_Usuario = QStringLiteral("bench");
  module.VOQ_Exercicio = DateToStr(Today()).mid(6, 4);
  bench::TenthsClock clock;
  ClockedProgress progress(clock);
  clock.start();
  NoJournal journal;
  ImportContributors(module,
                     {.path = file, .year = module.VOQ_Exercicio, .layout = layoutForFile(file)},
                     progress, journal);
  clock.report(progress.lines());
}

}  // namespace

int main(int argc, char* argv[]) {
  bench::PrepareOffscreenProgram();
  QApplication application(argc, argv);
  const QByteArray mode = argc == 4 ? argv[1] : "";
  if (mode != "window" && mode != "part") {
    std::fprintf(stderr, "usage: import_bench window|part INSTALL_DIR FILE\n");
    return 2;
  }
  const QString installDir = QString::fromLocal8Bit(argv[2]);
  const QString file = QString::fromLocal8Bit(argv[3]);
  if (mode == "window") {
    TimeWindow(installDir, file);
  } else {
    TimePart(installDir, file);
  }
  return 0;
}
